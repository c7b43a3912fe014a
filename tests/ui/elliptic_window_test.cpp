// The elliptic-integrals window and the main window's couplings and self-capacitance
// items, driven through their components.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <memory>

#include "command_run.h"
#include "elliptic_test/elliptic_tables.h"
#include "transformer/couplings.h"
#include "transformer/self_capacitance.h"
#include "ui/quor2.h"
#include "ui/quoru.h"
#include "numerics/library_namespaces.h"

namespace {

void Type(QLineEdit* e, const char* text) {
  e->selectAll();
  QTest::keyClick(e, Qt::Key_Backspace);
  QTest::keyClicks(e, QString::fromUtf8(text));
}

std::vector<std::string> TableOf(CommandFunction command, const FieldValues& f) {
  const std::vector<FieldDef>& defs = command == &CompleteIntegralsCommand
                                          ? CompleteIntegralsFieldDefs()
                                          : IncompleteIntegralsFieldDefs();
  return command_run::LinesOf(defs, command, f);
}

}  // namespace

TEST(EllipticWindow, ComponentsAndTheSeriesOnlyForKAndE) {
  VectorReport report;
  TForm2 form(report);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Elliptic integrals"));
  // Every field of both tables has its component, default and label.
  for (const auto* defs : {&CompleteIntegralsFieldDefs(), &IncompleteIntegralsFieldDefs()})
    for (const FieldDef& d : *defs) {
      const QString name = QString::fromStdString(d.name);
      if (d.name == "RG123") continue;
      if (d.isCheckBox) {
        auto* box = form.findChild<QCheckBox*>(name);
        ASSERT_NE(box, nullptr) << d.name;
        EXPECT_EQ(box->text().toStdString(), d.label);
        EXPECT_EQ(box->isChecked(), d.defaultText == "1") << d.name;
      } else {
        auto* edit = form.findChild<QLineEdit*>(name);
        ASSERT_NE(edit, nullptr) << d.name;
        EXPECT_EQ(edit->text().toStdString(), d.defaultText);
        auto* label = form.findChild<QLabel*>(QStringLiteral("L") + name);
        ASSERT_NE(label, nullptr) << d.name;
        EXPECT_EQ(label->text().toStdString(), d.label);
      }
    }
  EXPECT_EQ(form.CBk2c2->text(), QStringLiteral("Consider k\u00b2 and c\u00b2 instead of k and c"));
  EXPECT_EQ(form.RG123->title(), QStringLiteral("Compute"));
  EXPECT_EQ(form.Button1->text(), QStringLiteral("Compute complete integrals"));
  EXPECT_EQ(form.Button2->text(), QStringLiteral("Compute incomplete integrals"));

  EXPECT_EQ(form.RG123Index(), 0);
  EXPECT_TRUE(form.CBserie->isEnabled());
  const bool enabled[] = {true, false, false, true};
  const int items[] = {0, 1, 2, 0};
  for (int i = 0; i < 4; ++i) {
    form.findChild<QRadioButton*>(QStringLiteral("RG123Item%1").arg(items[i]))->click();
    EXPECT_EQ(form.RG123Index(), items[i]);
    EXPECT_EQ(form.CBserie->isEnabled(), enabled[i]) << items[i];
  }
}

TEST(EllipticWindow, ButtonsWriteTheTablesOfTheFieldsToTheReport) {
  VectorReport report;
  TForm2 form(report);
  QTest::mouseClick(form.Button1, Qt::LeftButton);
  EXPECT_EQ(report.lines, TableOf(CompleteIntegralsCommand, {}));

  report.lines.clear();
  Type(form.Ek1, "0.25");
  Type(form.Enk, "1");
  form.CBk2c2->click();
  form.CBSimpson->click();
  form.SetRG123Index(1);
  QTest::mouseClick(form.Button1, Qt::LeftButton);
  const std::vector<std::string> expected = TableOf(
      CompleteIntegralsCommand,
      {{"Ek1", "0.25"}, {"Enk", "1"}, {"CBk2c2", "1"}, {"CBSimpson", "1"}, {"RG123", "1"}});
  EXPECT_EQ(report.lines, expected);
  EXPECT_EQ(report.lines.size(), 1u + 3 * 5);

  report.lines.clear();
  Type(form.Ephi2, "90");
  QTest::mouseClick(form.Button2, Qt::LeftButton);
  EXPECT_EQ(report.lines, (std::vector<std::string>{
                              "Testing incomplete elliptic integrals (numerical integration):",
                              "The angles must be smaller than 90 degrees"}));
  report.lines.clear();
  Type(form.Ephi2, "45");
  form.CBh->click();
  QTest::mouseClick(form.Button2, Qt::LeftButton);
  EXPECT_EQ(report.lines, TableOf(IncompleteIntegralsCommand, {{"Ephi2", "45"}, {"CBh", "0"}}));
}

TEST(MainWindowMenu, CouplingsAndSelfCapacitanceWriteToTheReport) {
  TForm1 form;
  std::vector<QString> faults;
  form.showFault = [&](const QString& m) { faults.push_back(m); };
  auto linesFrom = [&](int from) {
    const std::vector<std::string> all = form.Memo1->LinesUtf8();
    return std::vector<std::string>(all.begin() + from, all.end());
  };

  int before = form.Memo1->LineCount();
  form.OptimalTeslacoilcouplings1->trigger();
  EXPECT_EQ(linesFrom(before), command_run::LinesOf(CouplingsFieldDefs(), &CouplingsCommand));

  Type(form.Eh1, "0");
  before = form.Memo1->LineCount();
  form.Medhurstcapacitances1->trigger();
  const std::vector<std::string> lines = linesFrom(before);
  EXPECT_EQ(lines,
            command_run::LinesOf(TransformerFieldDefs(), &SelfCapacitanceCommand, form.Fields()));
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[2], "The coil must be solenoidal.");

  // A negative radius: refused under its heading, no error box.
  Type(form.Er2, "-0.044");
  Type(form.Es2, "-0.044");
  before = form.Memo1->LineCount();
  form.Medhurstcapacitances1->trigger();
  EXPECT_TRUE(faults.empty());
  EXPECT_EQ(linesFrom(before).back(), "The dimensions must be positive");
  // A height beyond the number range: an arithmetic fault, shown as Calculate shows one.
  Type(form.Er2, "0.044");
  Type(form.Es2, "0.044");
  Type(form.Eh2, "1e4932");
  before = form.Memo1->LineCount();
  form.Medhurstcapacitances1->trigger();
  EXPECT_EQ(faults, (std::vector<QString>{QStringLiteral("Floating point division by zero")}));
  EXPECT_EQ(linesFrom(before).back(), "Secondary:");
  EXPECT_EQ(form.Bcalc->text(), QStringLiteral("Calculate"));
}
