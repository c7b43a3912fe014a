// The main window as built: components, texts, hints, geometry, menu, option rules.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QTest>
#include <memory>

#include "command_run.h"
#include "transformer/driver.h"

#include "quor_version.h"
#include "ui/quoru.h"
#include "numerics/library_namespaces.h"

namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { form = std::make_unique<TForm1>(); }
  template <class T>
  T* Child(const char* name) {
    T* w = form->findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QLabel* LabelOf(QLineEdit* edit) {
    for (QLabel* l : form->findChildren<QLabel*>())
      if (l->buddy() == edit) return l;
    return nullptr;
  }
  bool Enabled(std::initializer_list<const char*> names, bool want) {
    bool all = true;
    for (const char* n : names) {
      QWidget* w = Child<QWidget>(n);
      all = all && w && w->isEnabled() == want;
    }
    return all;
  }
  std::unique_ptr<TForm1> form;
};

const std::initializer_list<const char*> kSegments = {"Ens1", "Ens2", "Ensm", "Lseg1", "Lseg2"};
const std::initializer_list<const char*> kFixedByParallel = {"CBel", "CBML1", "CBML2", "CBm",
                                                             "CBjvj"};

}  // namespace

TEST_F(MainWindowTest, CaptionSizeAndFont) {
  EXPECT_EQ(form->windowTitle(), QStringLiteral("quor"));
  EXPECT_EQ(form->size(), QSize(734, 533));
  EXPECT_EQ(form->font().pointSize(), 8);
  EXPECT_EQ(form->metaObject()->className(), std::string("TForm1"));
}

TEST_F(MainWindowTest, CoilFieldsWithLabelsDefaultsAndHints) {
  struct Row {
    const char* name;
    const char* group;
    const char* label;
    const char* text;
    const char* hint;
  };
  const Row rows[] = {
      {"En1", "GroupBox1", "Number of turns 1", "12", "Usually integer, but can be noninteger"},
      {"Eh1", "GroupBox1", "Height 1", "0.1", "All distances in meters"},
      {"Er1", "GroupBox1", "Min. radius 1", "0.1", "All distances between wire centers"},
      {"Es1", "GroupBox1", "Max. radius 1", "0.1", "This is the primary coil"},
      {"Eb1", "GroupBox1", "Base elevation 1", "0",
       "Height of the bottom turn from the base of the transformer"},
      {"Ewd1", "GroupBox1", "Wire diameter 1", "0.001", "In meters too"},
      {"En2", "GroupBox2", "Number of turns 2", "1152", "Can be noninteger too"},
      {"Eh2", "GroupBox2", "Height 2", "0.32", "This is the secondary coil"},
      {"Er2", "GroupBox2", "Min. radius 2", "0.044", "This is the secondary coil"},
      {"Es2", "GroupBox2", "Max. radius 2", "0.044", "This is the secondary coil"},
      {"Eb2", "GroupBox2", "Base elevation 2", "0", "Usually one of the base elevations is zero"},
      {"Ewd2", "GroupBox2", "Wire diameter 2", "0.0002",
       "The program tests if the wire fits the coil"},
  };
  int previousY[3] = {-1, -1, -1};
  for (const Row& r : rows) {
    QLineEdit* e = Child<QLineEdit>(r.name);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->text(), QString::fromUtf8(r.text)) << r.name;
    EXPECT_EQ(e->toolTip(), QString::fromUtf8(r.hint)) << r.name;
    EXPECT_TRUE(e->isEnabled()) << r.name;
    EXPECT_EQ(e->parentWidget()->objectName(), QString::fromUtf8(r.group)) << r.name;
    QLabel* l = LabelOf(e);
    ASSERT_NE(l, nullptr) << r.name;
    EXPECT_EQ(l->text(), QString::fromUtf8(r.label));
    // Coil 1 is the blue coil, coil 2 the red one, in labels as in the drawing.
    const QColor want = r.group[8] == '1' ? QColor(Qt::blue) : QColor(Qt::red);
    EXPECT_EQ(l->palette().color(QPalette::WindowText), want) << r.name;
    // The fields stand one under the other in the order of the table.
    const int g = r.group[8] - '1';
    EXPECT_GT(e->y(), previousY[g]) << r.name;
    previousY[g] = e->y();
  }
}

TEST_F(MainWindowTest, SegmentFieldsAndTheirTwoLabels) {
  struct Row {
    const char* name;
    const char* text;
    const char* hint;
  };
  const Row rows[] = {{"Ens1", "20", "Used in the numerical calculation of M"},
                      {"Ens2", "20", "Use more for greater precision"},
                      {"Ensm", "2000", "Used by Maxwell L, with true spiral coils"}};
  for (const Row& r : rows) {
    QLineEdit* e = Child<QLineEdit>(r.name);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->text(), QString::fromUtf8(r.text));
    EXPECT_EQ(e->toolTip(), QString::fromUtf8(r.hint));
  }
  QLabel* lseg1 = Child<QLabel>("Lseg1");
  QLabel* lseg2 = Child<QLabel>("Lseg2");
  ASSERT_TRUE(lseg1 && lseg2);
  EXPECT_EQ(lseg1->text(), QStringLiteral("Segments/turn for M"));
  EXPECT_EQ(lseg2->text(), QStringLiteral("Segs./turn for L"));
  // Lseg1 stands above both Ens1 and Ens2, Lseg2 above Ensm.
  EXPECT_LT(lseg1->y(), form->Ens1->y());
  EXPECT_EQ(form->Ens1->y(), form->Ens2->y());
  EXPECT_LT(form->Ens1->x(), form->Ens2->x());
  EXPECT_LT(lseg2->y(), form->Ensm->y());
  EXPECT_GT(lseg2->y(), form->Ens1->y());
  EXPECT_TRUE(Enabled(kSegments, true));  // enabled at start although CBel is checked
}

TEST_F(MainWindowTest, OptionBoxesCaptionsStatesAndHints) {
  struct Row {
    const char* name;
    const char* caption;
    bool checked;
    const char* hint;
  };
  const Row rows[] = {
      {"CBm", "Calculate M and k", true, "Uncheck if you just want the inductances"},
      {"CBOudin", "Oudin coil", false, "Secondary connected to one end of the primary"},
      {"CBML1", "Maxwell L1", true,
       "L is M between two coils separated by the g.m.d. of the wire section"},
      {"CBML2", "Maxwell L2", true, "Method described in Maxwell's book"},
      {"CBjvj", "J.V.Jones M", false,
       "Exact for a solenoidal primary and a secondary composed of closed circular loops"},
      {"CBel", "Circular turns", true, "Uses closed formulas with elliptic functions"},
      {"CBparalelo", "Primary turns in //", false, "A trick to reduce the primary inductance"},
  };
  for (const Row& r : rows) {
    QCheckBox* b = Child<QCheckBox>(r.name);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->text(), QString::fromUtf8(r.caption)) << r.name;
    EXPECT_EQ(b->isChecked(), r.checked) << r.name;
    EXPECT_EQ(b->toolTip(), QString::fromUtf8(r.hint)) << r.name;
    EXPECT_TRUE(b->isEnabled()) << r.name;
    EXPECT_EQ(b->parentWidget()->objectName(), QStringLiteral("GroupBox3")) << r.name;
  }
}

TEST_F(MainWindowTest, ButtonsReportAndDrawingArea) {
  QPushButton* view = Child<QPushButton>("Bview");
  QPushButton* calc = Child<QPushButton>("Bcalc");
  ASSERT_TRUE(view && calc);
  EXPECT_EQ(view->text(), QStringLiteral("View"));
  EXPECT_EQ(view->toolTip(), QStringLiteral("Show structure"));
  EXPECT_EQ(calc->text(), QStringLiteral("Calculate"));
  // Both at the bottom of the options group, below every option box.
  for (QPushButton* b : {view, calc}) {
    EXPECT_EQ(b->parentWidget(), form->GroupBox3);
    EXPECT_GT(b->y(), form->CBparalelo->y());
    EXPECT_LE(b->geometry().bottom(), form->GroupBox3->height());
  }

  ReportMemo* memo = Child<ReportMemo>("Memo1");
  PaintBox* box = Child<PaintBox>("PaintBox1");
  ASSERT_TRUE(memo && box);
  EXPECT_EQ(memo->size(), QSize(393, 297));
  EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_TRUE(memo->isReadOnly());
  EXPECT_EQ(box->size(), QSize(297, 297));
  EXPECT_EQ(box->Canvas().Width(), 297);
  EXPECT_EQ(box->toolTip(), QStringLiteral("Arrangement of the coils, in scale"));
}

TEST_F(MainWindowTest, LayoutGroupsAcrossTheTopReportAndDrawingBelow) {
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  QWidget* client = form->centralWidget();
  const QRect g1 = form->GroupBox1->geometry(), g2 = form->GroupBox2->geometry(),
              g3 = form->GroupBox3->geometry();
  EXPECT_EQ(g1.top(), g2.top());
  EXPECT_EQ(g2.top(), g3.top());
  EXPECT_LT(g1.right(), g2.left());
  EXPECT_LT(g2.right(), g3.left());
  const QRect memo = form->Memo1->geometry(), box = form->PaintBox1->geometry();
  EXPECT_GT(memo.top(), g1.bottom());
  EXPECT_GT(box.top(), g3.bottom());
  EXPECT_LT(memo.right(), box.left());
  // Everything fits in the window below the menu bar.
  for (const QRect& r : {g1, g2, g3, memo, box}) {
    EXPECT_TRUE(client->rect().contains(r)) << r.x() << "," << r.y() << " in " << client->width()
                                            << "x" << client->height();
  }
  // Every label and field fits inside its group.
  for (QWidget* w : form->findChildren<QWidget*>()) {
    auto* group = qobject_cast<QGroupBox*>(w->parentWidget());
    if (group && (qobject_cast<QLabel*>(w) || qobject_cast<QLineEdit*>(w) ||
                  qobject_cast<QCheckBox*>(w))) {
      EXPECT_TRUE(group->rect().contains(w->geometry())) << w->objectName().toStdString();
    }
  }
}

TEST_F(MainWindowTest, InitialReportText) {
  const char* const expected[] = {
      "quor - air-core transformer and electrostatics calculator",
      "Version " QUOR_VERSION,  // the project version set in CMake
      "",
      "The main function of this program is to compute inductances and mutual",
      "inductances in an air-core transformer with single layer coaxial solenoidal,",
      "flat, or conical coils of round wire, with uniform currents in the wires.",
      "In the default setting, inductances and mutual inductances are calculated",
      "by Maxwell's method, assuming circular turns, from precise expressions using",
      "elliptic integrals.",
      "Calculations from several approximate formulas are also listed.",
      "The calculations can also be done by direct numerical integration assuming",
      "true spirals with noninteger numbers of turns if the use of circular turns",
      "is turned off, but the calculations are slow.",
      "The mutual inductance can be calculated by Jones' method, that considers",
      "the primary coil as a true solenoid, possibly with noninteger number of turns.",
      "1 turn primary coils with several wire loops in parallel can be analyzed too.",
      "The program calculates the operating mode, that is the ratio of the two",
      "resonances in a tuned Tesla transformer.",
      "The same can be calculated for Oudin coils, that have the primary and",
      "secondary coils interconnected, as an autotransformer.",
      "All dimensions in meters, wire center to wire center. It's possible to enter",
      "the sizes in inches and the wire diameters in AWG, and convert to meters",
      "before the calculation.",
      "Other calculations implemented in the program:",
      "- Elliptic functions.",
      "- Inductances and mutual inductances of straight wires.",
      "- Inductance of square spiral coil.",
      "- Optimum coupling coefficients for Tesla coils.",
      "Several electrostatic calculations are also implemented:",
      "- Exact capacitance of a toroid in free space and exact maximum electric field.",
      "- Exact capacitances of sphere, disk, hollow hemisphere, closed",
      "  hemisphere, two spheres in contact, prolate spheroid, and oblate",
      "  spheroid.",
      "- Approximate capacitances of some geometrical figures.",
      "- Approximate capacitances of some combinations of spheres.",
      "- Exact maximum electric field between two spheres, their",
      "  capacitance matrix, and several capacitances.",
      "- Approximate capacitance of a partial toroid decomposed in thin rings,",
      "  and electric fields at the surface.",
      "- Approximate capacitance of a conical sheet decomposed in thin rings.",
      "- Approximate capacitance matrix of a set of objects described by lines",
      "  and curves with axial symmetry, charges, forces, and electric fields at the",
      "  surfaces.",
      "- Color plots of potential and electric field for this case.",
  };
  const QStringList lines = form->Memo1->Lines();
  ASSERT_EQ(lines.size(), 44);  // title, version, an empty line and 41 lines of text
  for (int i = 0; i < lines.size(); ++i)
    EXPECT_EQ(lines[i], QString::fromUtf8(expected[i])) << "line " << i + 1;
}

TEST_F(MainWindowTest, MenuBarItemsInOrder) {
  struct Menu {
    const char* name;
    const char* caption;
    std::vector<std::pair<const char*, const char*>> items;
  };
  const Menu menus[] = {
      // The empty pairs are the separators.
      {"File1",
       "File",
       {{"Save1", "Save"},
        {"Load1", "Load"},
        {"", ""},
        {"ClearReport1", "Clear Report"},
        {"SaveReport1", "Save Report as..."},
        {"", ""},
        {"Exit1", "Exit"}}},
      {"Tests1",
       "Other calculations",
       {{"Testellipticfunctions1", "Test elliptic integrals"},
        {"Straightwires1", "Straight wires, square inductors"},
        {"OptimalTeslacoilcouplings1", "Optimal Tesla coil couplings"},
        {"Medhurstcapacitances1", "Self capacitance and resonance"},
        {"Secondaryresonance1", "Secondary resonance..."}}},
      {"Capacitances1",
       "Electrostatic calculations",
       {{"Parameters1", "Parameters"},
        {"Toroidcapacitance2", "Toroid, etc."},
        {"Electricfieldbetweenspheres1", "Two spheres"},
        {"Partialtoroidcapacitance2", "Partial toroid"},
        {"Circularsheetcapacitance2", "Conical sheet"},
        {"Generalcasewithaxialsymmetry1", "General case with axial symmetry"}}},
      {"Units",
       "Unit conversion",
       {{"Inchestometers1", "Inches/AWG to meters"}, {"Meterstoinches1", "Meters to inches/AWG"}}},
      {"Help1", "Help", {{"Userguide1", "User guide"}, {"Aboutquor1", "About quor"}}},
  };
  const QList<QAction*> bar = form->menuBar()->actions();
  ASSERT_EQ(bar.size(), 5);
  for (int m = 0; m < 5; ++m) {
    QMenu* menu = bar[m]->menu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->objectName(), QString::fromUtf8(menus[m].name));
    EXPECT_EQ(menu->title(), QString::fromUtf8(menus[m].caption));
    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), static_cast<qsizetype>(menus[m].items.size())) << menus[m].name;
    for (int i = 0; i < items.size(); ++i) {
      EXPECT_EQ(items[i]->objectName(), QString::fromUtf8(menus[m].items[i].first));
      EXPECT_EQ(items[i]->text(), QString::fromUtf8(menus[m].items[i].second));
      if (*menus[m].items[i].first) {
        EXPECT_EQ(form->findChild<QAction*>(QString::fromUtf8(menus[m].items[i].first)),
                  items[i]);
      }
    }
  }
}

TEST_F(MainWindowTest, CircularTurnsDisablesTheSegmentFieldsFromTheFirstChange) {
  form->CBel->click();  // unchecked by the user
  EXPECT_FALSE(form->CBel->isChecked());
  EXPECT_TRUE(Enabled(kSegments, true));
  form->CBel->click();  // checked again
  EXPECT_TRUE(Enabled(kSegments, false));
  form->CBel->click();
  EXPECT_TRUE(Enabled(kSegments, true));
}

TEST_F(MainWindowTest, ParallelTurnsRightAfterStartLeavesSegmentFieldsEnabled) {
  form->CBparalelo->click();
  EXPECT_TRUE(Enabled(kFixedByParallel, false));
  for (const char* n : kFixedByParallel) EXPECT_TRUE(Child<QCheckBox>(n)->isChecked()) << n;
  // CBel did not change state, so its rule did not run.
  EXPECT_TRUE(Enabled(kSegments, true));
  form->CBparalelo->click();
  EXPECT_TRUE(Enabled(kFixedByParallel, true));
  for (const char* n : kFixedByParallel) EXPECT_TRUE(Child<QCheckBox>(n)->isChecked()) << n;
}

TEST_F(MainWindowTest, ParallelTurnsChecksTheFiveBoxesAndTheirRulesRun) {
  for (const char* n : {"CBel", "CBML1", "CBML2", "CBm"}) Child<QCheckBox>(n)->click();
  EXPECT_TRUE(Enabled(kSegments, true));
  form->CBparalelo->click();
  for (const char* n : kFixedByParallel) {
    EXPECT_TRUE(Child<QCheckBox>(n)->isChecked()) << n;
    EXPECT_FALSE(Child<QCheckBox>(n)->isEnabled()) << n;
  }
  EXPECT_TRUE(Enabled(kSegments, false));  // CBel went on: its rule disabled them
  EXPECT_FALSE(form->CBOudin->isChecked());  // not one of the five
  EXPECT_TRUE(form->CBOudin->isEnabled());
  form->CBparalelo->click();
  for (const char* n : kFixedByParallel) {
    EXPECT_TRUE(Child<QCheckBox>(n)->isChecked()) << n;
    EXPECT_TRUE(Child<QCheckBox>(n)->isEnabled()) << n;
  }
  EXPECT_TRUE(Enabled(kSegments, false));
}

TEST_F(MainWindowTest, FieldsCollectsTextsAndCheckStates) {
  form->En1->setText(QStringLiteral("12.5"));
  form->CBOudin->click();
  form->CBel->click();
  const FieldValues f = form->Fields();
  EXPECT_EQ(f.size(), 22u);
  EXPECT_EQ(f.at("En1"), "12.5");
  EXPECT_EQ(f.at("Ewd2"), "0.0002");
  EXPECT_EQ(f.at("Ensm"), "2000");
  EXPECT_EQ(f.at("CBOudin"), "1");
  EXPECT_EQ(f.at("CBel"), "0");
  EXPECT_EQ(f.at("CBm"), "1");
}

TEST_F(MainWindowTest, ReportLinesOfACalculationFitTheWidthOfTheArea) {
  // Lines of labels and numbers must not break in the middle of a value.
  const QFont font = form->Memo1->font();
  EXPECT_EQ(font.pointSize(), 8);
  const QStringList narrow = {QStringLiteral("Arial"), QStringLiteral("Helvetica"),
                               QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans")};
  bool installed = false;
  for (const QString& family : QFontDatabase::families())
    for (const QString& n : narrow) installed = installed || family.startsWith(n);
  if (!installed) GTEST_SKIP() << "no face of the narrow sans-serif metrics installed";
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  const int room = form->Memo1->viewport()->width() -
                   2 * static_cast<int>(form->Memo1->document()->documentMargin());
  const QFontMetrics metrics(font);
  FieldValues trueSpirals = TransformerDefaults();
  trueSpirals["CBel"] = "0";
  trueSpirals["Ensm"] = "50";
  for (const FieldValues& fields : {TransformerDefaults(), trueSpirals})
    for (const std::string& line :
         command_run::LinesOf(TransformerFieldDefs(), &TransformerCommand, fields))
      EXPECT_LE(metrics.horizontalAdvance(QString::fromStdString(line)), room) << line;
}
