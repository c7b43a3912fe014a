// The toroid window as built: components, defaults, the table switch's rules, and
// Calculate writing the command's lines, its table, or an error box.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "command_run.h"
#include "electrostatics/toroid_command.h"
#include "ui/utoroid.h"
#include "numerics/library_namespaces.h"

namespace {

struct ToroidWindow {
  VectorReport report;
  BreakdownField breakdown;
  TFtoroid form{report, breakdown};
  QStringList errors;
  ToroidWindow() {
    form.showError = [this](const QString& m) { errors << m; };
  }
};

}  // namespace

TEST(ToroidWindow, ComponentsCaptionsAndDefaults) {
  ToroidWindow w;
  TFtoroid& f = w.form;
  EXPECT_EQ(f.windowTitle(), QStringLiteral("Toroid capacitance, etc."));
  const std::pair<const char*, const char*> edits[] = {
      {"Emajor", "0.9"}, {"Eminor", "0.3"}, {"Emajorto", "0.9"},
      {"Eminorto", "0.3"}, {"En1", "1"},     {"En2", "1"}};
  for (const auto& [name, text] : edits) {
    auto* e = f.findChild<QLineEdit*>(QString::fromUtf8(name));
    ASSERT_NE(e, nullptr) << name;
    EXPECT_EQ(e->text(), QString::fromUtf8(text)) << name;
  }
  auto labelOf = [&](QLineEdit* e) {
    for (QLabel* l : f.findChildren<QLabel*>())
      if (l->buddy() == e) return l->text();
    return QString();
  };
  EXPECT_EQ(labelOf(f.Emajor), QStringLiteral("Major diameter:"));
  EXPECT_EQ(labelOf(f.Eminor), QStringLiteral("Minor diameter:"));
  EXPECT_EQ(labelOf(f.Eminorto), QStringLiteral("to"));
  EXPECT_EQ(labelOf(f.En2), QStringLiteral("Values"));
  const std::pair<const char*, const char*> boxes[] = {
      {"CBdetails", "List details"}, {"CBtabela", "Save a table"},
      {"CBvolt", "List breakdown voltage"}};
  for (const auto& [name, caption] : boxes) {
    auto* b = f.findChild<QCheckBox*>(QString::fromUtf8(name));
    ASSERT_NE(b, nullptr) << name;
    EXPECT_EQ(b->text(), QString::fromUtf8(caption));
    EXPECT_FALSE(b->isChecked());
  }
  EXPECT_EQ(f.findChild<QPushButton*>(QStringLiteral("Btoroid"))->text(),
            QStringLiteral("Calculate"));
  // Every component inside the client area.
  for (QWidget* c : f.findChildren<QWidget*>())
    EXPECT_TRUE(f.rect().contains(c->geometry())) << c->objectName().toStdString();
}

TEST(ToroidWindow, TableSwitchEnablesTheRangesAndTakesTheDetails) {
  ToroidWindow w;
  TFtoroid& f = w.form;
  auto ranges = [&](bool enabled) {
    return f.Emajorto->isEnabled() == enabled && f.Eminorto->isEnabled() == enabled &&
           f.En1->isEnabled() == enabled && f.En2->isEnabled() == enabled;
  };
  EXPECT_TRUE(ranges(false));
  EXPECT_TRUE(f.CBdetails->isEnabled());
  f.CBdetails->setChecked(true);
  QTest::mouseClick(f.CBtabela, Qt::LeftButton, {}, QPoint(5, 8));
  EXPECT_TRUE(f.CBtabela->isChecked());
  EXPECT_TRUE(ranges(true));
  EXPECT_FALSE(f.CBdetails->isEnabled());
  EXPECT_FALSE(f.CBdetails->isChecked());
  f.CBtabela->setChecked(false);  // set by the program: the same rule
  EXPECT_TRUE(ranges(false));
  EXPECT_TRUE(f.CBdetails->isEnabled());
  EXPECT_FALSE(f.CBdetails->isChecked());
}

TEST(ToroidWindow, CalculateWritesTheCommandsLinesWithTheCurrentEmax) {
  ToroidWindow w;
  w.form.Emajor->setText(QStringLiteral("1.2"));
  w.breakdown.Emax = 1500;  // Apply in the Parameters window after the window was built
  w.form.Btoroid->click();
  EXPECT_EQ(w.report.lines, command_run::LinesOf(ToroidFieldDefs(), &ToroidCommand,
                                                  {{"Emajor", "1.2"}},
                                                  command_run::WithBreakdown(1500)));
  EXPECT_EQ(w.report.lines.size(), 27u);
  EXPECT_TRUE(w.errors.isEmpty());
}

TEST(ToroidWindow, TableModeSavesTheFileOrShowsTheError) {
  ToroidWindow w;
  std::string templ = ::testing::TempDir() + "toroid_window_XXXXXX";
  const std::string dir = ::mkdtemp(templ.data());
  w.form.tableDirectory = dir;
  w.form.CBtabela->setChecked(true);
  w.form.En1->setText(QStringLiteral("3"));
  w.form.Btoroid->click();
  EXPECT_TRUE(w.errors.isEmpty());
  EXPECT_EQ(w.report.lines.back(), "Table saved in file toroid.dat");
  const std::string file = dir + "/toroid.dat";
  EXPECT_EQ(::access(file.c_str(), R_OK), 0);

  w.form.tableDirectory = dir + "/missing";
  w.report.lines.clear();
  w.form.Btoroid->click();
  ASSERT_EQ(w.errors.size(), 1);
  EXPECT_TRUE(w.errors[0].startsWith(QStringLiteral("Cannot write file ")));
  EXPECT_TRUE(w.errors[0].contains(QStringLiteral("toroid.dat")));
  EXPECT_EQ(w.report.lines.size(), 6u);  // the three values computed stay
  std::remove(file.c_str());
  ::rmdir(dir.c_str());
}
