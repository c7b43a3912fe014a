// The partial toroid and conical sheet windows driven through their components.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <string>
#include <vector>

#include "command_run.h"
#include "electrostatics/conical_sheet.h"
#include "electrostatics/partial_toroid.h"
#include "platform/paint_box.h"
#include "ui/udisk.h"
#include "ui/upartial.h"
#include "numerics/library_namespaces.h"

namespace {

void Type(QLineEdit* e, const char* text) {
  e->selectAll();
  QTest::keyClick(e, Qt::Key_Backspace);
  QTest::keyClicks(e, QString::fromUtf8(text));
}

int Count(PaintBox* box, Color c) {
  ImageCanvas& canvas = box->Canvas();
  int n = 0;
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x) n += canvas.Pixel(x, y) == c;
  return n;
}

std::vector<std::string> From(const VectorReport& r, std::size_t first) {
  return {r.lines.begin() + static_cast<std::ptrdiff_t>(first), r.lines.end()};
}

}  // namespace

TEST(PartialWindow, CalculateThenProbeUntilTheNextRepaint) {
  VectorReport report;
  BreakdownField breakdown;
  breakdown.Emax = 1500;
  TFpartial form(report, breakdown);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  EXPECT_EQ(form.PBpartial->size(), QSize(kPBpartialWidth, kPBpartialHeight));
  Type(form.Enrings, "30");
  QTest::mouseClick(form.Bpartial, Qt::LeftButton);

  // The window writes what the command writes, with the window's breakdown field,
  // and a click adds the probe's lines.
  CommandEnv env = command_run::WithBreakdown(breakdown.Emax);
  env.probes = {{400, 60}};
  const Result expected =
      command_run::Run(PartialFieldDefs(), &PartialCommand, {{"Enrings", "30"}}, env);
  const std::size_t calculated = report.lines.size();
  QTest::mouseClick(form.PBpartial, Qt::LeftButton, {}, QPoint(400, 60));
  EXPECT_EQ(report.lines, expected.lines);
  EXPECT_GT(report.lines.size(), calculated);
  EXPECT_GT(Count(form.PBpartial, kBlue), 100);  // the rings
  EXPECT_GT(Count(form.PBpartial, kRed), 100);   // the tube

  // A repaint reads the fields again: the probe is off until the next Calculate.
  form.PBpartial->Repaint();
  EXPECT_FALSE(form.State().PartialSolved);
  const std::size_t before = report.lines.size();
  QTest::mouseClick(form.PBpartial, Qt::LeftButton, {}, QPoint(400, 60));
  EXPECT_EQ(report.lines.size(), before);
}

TEST(PartialWindow, FaultsEndInAnErrorBoxAndBadCountsInALine) {
  VectorReport report;
  BreakdownField breakdown;
  TFpartial form(report, breakdown);
  QString shown;
  form.showError = [&](const QString& m) { shown = m; };
  Type(form.Enrings, "0");
  QTest::mouseClick(form.Bpartial, Qt::LeftButton);
  EXPECT_EQ(report.lines.back(), "The number of rings must be at least 1");
  EXPECT_TRUE(shown.isEmpty());

  // No tube at all: a line of its own, no error box.
  Type(form.Enrings, "20");
  Type(form.Epmajor, "0");
  Type(form.Epminor, "0");
  std::size_t before = report.lines.size();
  QTest::mouseClick(form.Bpartial, Qt::LeftButton);
  EXPECT_TRUE(shown.isEmpty());
  EXPECT_EQ(From(report, before),
            (std::vector<std::string>{"", "Partial 0.00x0.00 toroid decomposed in 20 thin rings:",
                                      "The diameters must be positive"}));

  // An angle beyond the number range overflows the angular step as the inputs are read.
  Type(form.Epmajor, "0.9");
  Type(form.Epminor, "0.3");
  Type(form.Efangle, "1e4932");
  before = report.lines.size();
  QTest::mouseClick(form.Bpartial, Qt::LeftButton);
  EXPECT_EQ(shown, QStringLiteral("Floating point overflow"));
  EXPECT_EQ(From(report, before), std::vector<std::string>{});
}

TEST(DiskWindow, CalculateWritesWhatTheCommandWritesAndDraws) {
  VectorReport report;
  TFdisk form(report);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  EXPECT_EQ(form.PBsheet->size(), QSize(kPBsheetWidth, kPBsheetHeight));
  form.CBlsheet->setChecked(true);
  Type(form.Eheight, "0.2");
  QTest::mouseClick(form.Bsheet, Qt::LeftButton);
  EXPECT_EQ(report.lines, command_run::LinesOf(SheetFieldDefs(), &SheetCommand,
                                                {{"CBlsheet", "1"}, {"Eheight", "0.2"}}));
  EXPECT_GT(Count(form.PBsheet, kBlue), 50);
  EXPECT_GT(Count(form.PBsheet, kRed), 100);
}
