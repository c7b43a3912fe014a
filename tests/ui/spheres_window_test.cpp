// The Two spheres window: its fields, Calculate with the program-wide breakdown field,
// and the error box of a fault.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "command_run.h"
#include "electrostatics/spheres.h"
#include "ui/uesferas.h"
#include "numerics/library_namespaces.h"

TEST(SpheresWindow, CalculateWritesTheCommandLinesWithTheCurrentSetting) {
  VectorReport report;
  BreakdownField breakdown;
  TFesferas form(report, breakdown);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  const std::vector<FieldDef>& defs = SpheresFieldDefs();
  for (std::size_t i = 0; i < defs.size(); ++i) {
    QLineEdit* e = form.findChild<QLineEdit*>(QString::fromStdString(defs[i].name));
    ASSERT_NE(e, nullptr) << defs[i].name;
    EXPECT_EQ(e->text().toStdString(), defs[i].defaultText);
    QLabel* l = form.findChild<QLabel*>(QStringLiteral("Label%1").arg(i + 1));
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(l->text().toStdString(), defs[i].label);
  }

  // The user types V2 = 0 and changes the breakdown field in the meantime.
  form.Ev2->selectAll();
  QTest::keyClicks(form.Ev2, QStringLiteral("0"));
  breakdown.Emax = 1500;
  QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("Bspheres")), Qt::LeftButton);
  FieldValues fields = DefaultValues(defs);
  fields["Ev2"] = "0";
  EXPECT_EQ(report.lines, command_run::LinesOf(SpheresFieldDefs(), &SpheresCommand, fields,
                                                command_run::WithBreakdown(1500)));
  EXPECT_EQ(report.lines[7], "Vbreakdown:  19.24 kV");

  // A field beyond the range of the numbers ends Calculate with the error box.
  QString shown;
  form.showError = [&](const QString& m) { shown = m; };
  form.Ev1->setText(QStringLiteral("1e4932"));
  form.Bspheres->click();
  EXPECT_EQ(shown, QStringLiteral("Floating point overflow"));
  EXPECT_EQ(report.lines.back().substr(0, 4), "ra: ");
}
