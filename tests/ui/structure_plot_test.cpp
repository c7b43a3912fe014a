// Plots, probe clicks and the view buttons of the structure window driven offscreen,
// and quor-cli's PNG of the same plot.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "cli/cli.h"
#include "electrostatics/plot_overlays.h"
#include "electrostatics/ring_kernel.h"
#include "electrostatics/structure_probe.h"
#include "numerics/file_write.h"
#include "platform/paint_box.h"
#include "platform/png_render.h"
#include "platform/report_memo.h"
#include "ui/uaxis.h"
#include "numerics/library_namespaces.h"

namespace {

class StructurePlotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TFcacal>(report, breakdown);
    form->showError = [this](const QString& m) { errors.push_back(m.toStdString()); };
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  }
  void Calculate(const QStringList& description = {}) {
    if (!description.isEmpty()) form->Mlista->setPlainText(description.join(QLatin1Char('\n')));
    QTest::mouseClick(form->Bcap, Qt::LeftButton);
    ASSERT_TRUE(form->Bplotar->isEnabled());
  }
  void Plot(const QString& quantity) {
    form->CBplotar->setCurrentText(quantity);
    QTest::mouseClick(form->Bplotar, Qt::LeftButton);
  }
  Color Pixel(int x, int y) { return form->PBcacal->Canvas().Pixel(x, y); }
  std::string LastMessage() { return form->Mmsg->LinesUtf8().back(); }

  VectorReport report;
  BreakdownField breakdown;
  std::vector<std::string> errors;
  std::unique_ptr<TFcacal> form;
};

// A ring exactly on the fast plot's point of block (245, 235), where k = 1: the
// vertical segment far right makes 64 pixels a metre about the centre.
const QStringList kRingOnAPoint = {"Lp a 1 0.0703125 0.0703125 0.1015625 0.0703125",
                                   "Lq b 1 3.4453125 -1 3.4453125 1"};

}  // namespace

TEST_F(StructurePlotTest, StopHalfwayWithTheOtherCommandsBlockedMeanwhile) {
  Calculate();
  form->CBlegend->setChecked(true);
  const QImage before = form->PBcacal->Canvas().Image().copy();
  const QString text = form->Mlista->toPlainText();
  std::vector<bool> blocked;
  form->afterPlotRow = [&](int row) {
    if (row == 0) {
      for (QWidget* w : std::initializer_list<QWidget*>{form->Bcap, form->Bview, form->Bplotar,
                                                         form->Bmais, form->Bdown})
        blocked.push_back(!w->isEnabled());
      blocked.push_back(!form->Load1->isEnabled());
      blocked.push_back(form->Bstop->isEnabled());
      QTest::keyClicks(form->Mlista, QStringLiteral("Lx"));
      QTest::mouseClick(form->PBcacal, Qt::LeftButton, {}, QPoint(300, 100));  // no probe
    }
    if (row == 47) QTest::mouseClick(form->Bstop, Qt::LeftButton);
  };
  const int messages = form->Mmsg->LineCount();
  Plot(QStringLiteral("Potential V"));
  EXPECT_EQ(blocked, std::vector<bool>(7, true));
  EXPECT_EQ(form->Mlista->toPlainText(), text);
  EXPECT_EQ(form->Mmsg->LineCount(), messages);

  // 48 rows of 5 pixels painted, the lower ones as they were but for the legend and
  // the conductors' outlines drawn over the whole area; the buttons as before the plot.
  EXPECT_EQ(Pixel(240, 100), kWhite);  // inside the terminal, at 1 V
  const QImage after = form->PBcacal->Canvas().Image();
  ImageCanvas outlines(481, 481);  // the outlines' pixels, on a colour of neither part
  outlines.SetBrushColor(0x123456);
  outlines.FillRect(0, 0, 481, 481);
  DrawOutlines(outlines, form->ViewTransform(), form->Description().elements);
  int kept = 0;
  for (int y = 240; y < 441; ++y)
    for (int x = 0; x < 481; ++x) {
      if (outlines.Pixel(x, y) != 0x123456) continue;
      ASSERT_EQ(after.pixel(x, y), before.pixel(x, y)) << x << " " << y;
      ++kept;
    }
  EXPECT_GT(kept, 201 * 481 * 9 / 10);
  EXPECT_EQ(Pixel(113, 450), kBlack);
  EXPECT_EQ(Pixel(368, 450), kWhite);
  EXPECT_TRUE(form->Bplotar->isEnabled());
  EXPECT_FALSE(form->Bstop->isEnabled());
  EXPECT_TRUE(form->Bcap->isEnabled() && form->Load1->isEnabled());
  EXPECT_FALSE(form->Mlista->isReadOnly());

  // Zoom in redraws the structure smaller than it was zoomed out again.
  QTest::mouseClick(form->Bmais, Qt::LeftButton);
  QTest::mouseClick(form->Bmenos, Qt::LeftButton);
  EXPECT_EQ(form->View().RMax, 1.40625L);
  QTest::mouseMove(form->PBcacal, QPoint(300, 100));
  EXPECT_EQ(form->StatusBar1->currentMessage().toStdString(),
            CoordinateText(form->ViewTransform(), 300, 100));
}

TEST_F(StructurePlotTest, FaultsAndSingularitiesLeaveTheWindowUsable) {
  Calculate(kRingOnAPoint);
  Plot(QStringLiteral("Axial electric field Ez"));
  EXPECT_EQ(errors, std::vector<std::string>{"Invalid floating point operation"});
  EXPECT_TRUE(form->Bplotar->isEnabled());
  EXPECT_FALSE(form->Bstop->isEnabled());
  EXPECT_TRUE(form->Bcap->isEnabled());

  Plot(QStringLiteral("Radial electric field Er"));
  EXPECT_EQ(form->StatusBar1->currentMessage(),
            QStringLiteral("Singularity at position r=0.0859, z=0.0703"));
  EXPECT_EQ(errors.size(), 1u);

  // The probe: on the ring an error box; elsewhere the line of the point.
  QTest::mouseClick(form->PBcacal, Qt::RightButton, {}, QPoint(246, 236));
  EXPECT_EQ(errors.size(), 2u);
  QTest::mouseClick(form->PBcacal, Qt::LeftButton, {}, QPoint(300, 100));
  EXPECT_EQ(LastMessage(),
            ProbeLine(form->Results().rings, form->Results().eps0, form->ViewTransform(), 300, 100));

  // Texts the plot cannot take: a message, no plot.
  Plot(QStringLiteral("Xtra"));
  EXPECT_EQ(LastMessage(), "Unknown plot quantity: Xtra (the first letter chooses: P, R, A or T)");
  form->Eemax->setText(QStringLiteral("0"));
  Plot(QStringLiteral("Total electric field |E|"));
  EXPECT_EQ(LastMessage(), "Invalid field scale Emax: 0 (a positive field in V/m)");
  EXPECT_TRUE(form->Bplotar->isEnabled());
}

TEST_F(StructurePlotTest, QuorCliWritesTheWindowsPicture) {
  Calculate();
  form->CBlegend->setChecked(true);
  form->CBcontours->setChecked(true);
  form->CBaxes->setChecked(true);
  Plot(QStringLiteral("Total electric field |E|"));
  QTest::mouseClick(form->PBcacal, Qt::LeftButton, {}, QPoint(300, 100));
  const std::string path = ::testing::TempDir() + "structure_plot.png";
  std::ostringstream out, err;
  CliHooks hooks;
  hooks.renderPng = &RenderPng;
  ASSERT_EQ(RunCli({"structure", "--plot", path, "CBplotar=Total electric field |E|", "CBlegend=1",
                    "CBcontours=1", "CBaxes=1", "--probe", "300,100"},
                   out, err, hooks),
            0)
      << err.str();
  EXPECT_NE(out.str().find(ProbeLine(form->Results().rings, form->Results().eps0,
                                     form->ViewTransform(), 300, 100) + "\n"),
            std::string::npos);
  const QImage png(QString::fromStdString(path));
  ASSERT_EQ(png.size(), QSize(481, 481));
  const QImage window = form->PBcacal->Canvas().Image();
  for (int y = 0; y < 481; ++y)
    for (int x = 0; x < 481; ++x)
      ASSERT_EQ(png.pixel(x, y) & 0xFFFFFF, window.pixel(x, y) & 0xFFFFFF) << x << " " << y;
}

TEST_F(StructurePlotTest, PaletteFileColoursThePlot) {
  // Blue for the lowest value through green to red for the highest; the file as the
  // palette editor writes it (control points after the colours, not read).
  const QString dir = QString::fromStdString(::testing::TempDir()) + "coloured_palette";
  QDir().mkpath(dir);
  std::string bytes(888, '\0');
  for (int i = 0; i < 256; ++i) {
    bytes[i] = static_cast<char>(i);
    bytes[256 + i] = static_cast<char>(255 - std::abs(2 * i - 255));
    bytes[512 + i] = static_cast<char>(255 - i);
  }
  std::ofstream((dir + "/quor.xpl").toStdString(), std::ios::binary) << bytes;
  const QString cwd = QDir::currentPath();
  QDir::setCurrent(dir);
  Calculate(QStringList{form->Mlista->toPlainText()});  // parsed again: the palette read
  QDir::setCurrent(cwd);
  Plot(QStringLiteral("Potential V"));
  EXPECT_EQ(Pixel(240, 100), 0x0000FFu);  // the terminal at 1 V: entry 255, red
  EXPECT_EQ(Pixel(240, 380), 0xFF0000u);  // the base at -1 V: entry 0, pure blue
}

TEST_F(StructurePlotTest, CliContoursCrossTheGapAtTenLevelsAndTheAxesTickEveryHalfMetre) {
  Calculate();  // the rings and charges, to measure the potential independently
  const std::string path = ::testing::TempDir() + "structure_contours.png";
  std::ostringstream out, err;
  CliHooks hooks;
  hooks.renderPng = &RenderPng;
  ASSERT_EQ(RunCli({"structure", "--plot", path, "CBcontours=1", "CBaxes=1"}, out, err, hooks), 0)
      << err.str();
  const QImage png(QString::fromStdString(path));
  ASSERT_EQ(png.size(), QSize(481, 481));
  auto at = [&](int x, int y) { return static_cast<Color>(FromQColor(QColor(png.pixel(x, y)))); };
  const ScreenMapping& v = form->ViewTransform();
  const StructureResults& res = form->Results();
  auto potential = [&](int x, int y) {
    const Extended r = (x - v.OX) / v.KX, z = (y - v.OY) / v.KY;
    Extended V = 0;
    for (const StructureRing& g : res.rings) V += RingPotential(g.R, g.Z, g.q, r, z, res.eps0);
    return V;
  };

  // Down the column at r = 0.34 m through the gap between the plates (z from 0.5 to
  // -0.5, rows 153 to 328), where the potential falls from 1 V to -1 V: ten magenta
  // lines (the colour farthest from the grey ramp), at 0.9, 0.7, ... -0.9 V measured
  // from the ring charges, within 0.03 V (two pixels of a field of 2 V over 176).
  const int x = 300;
  std::vector<Extended> crossings;
  for (int y = 155; y <= 326; ++y)
    if (at(x, y) == 0xFF00FFu && at(x, y - 1) != 0xFF00FFu) crossings.push_back(potential(x, y));
  ASSERT_EQ(crossings.size(), 10u);
  for (std::size_t i = 0; i < 10; ++i)
    EXPECT_NEAR(crossings[i], 0.9L - 0.2L * i, 0.03L) << i;

  // Ticks 0.5 m apart (the first 1-2-5 step of at least 60 pixels at 176.4 pixels a
  // metre): black on a white band, at r = -1 ... 1 on the bottom edge and z = -1 ... 1
  // on the left one, and nowhere else.
  auto ticksAlong = [&](bool bottom) {
    std::vector<int> ticks;
    for (int i = 1; i < 480; ++i) {
      const int px = bottom ? i : 3, py = bottom ? 479 : i;
      const int dx = bottom ? 1 : 0, dy = bottom ? 0 : 1;
      if (at(px, py) == kBlack && at(px - dx, py - dy) == kWhite && at(px + dx, py + dy) == kWhite)
        ticks.push_back(i);
    }
    return ticks;
  };
  std::vector<int> columns, rows;
  for (const Extended t : {-1.0L, -0.5L, 0.0L, 0.5L, 1.0L}) columns.push_back(ViewX(v, t));
  for (const Extended t : {1.0L, 0.5L, 0.0L, -0.5L, -1.0L}) rows.push_back(ViewY(v, t));
  EXPECT_EQ(ticksAlong(true), columns);
  EXPECT_EQ(ticksAlong(false), rows);
}

TEST_F(StructurePlotTest, ProbeMarksItsPointWithACross) {
  Calculate();
  const QImage before = form->PBcacal->Canvas().Image().copy();
  QTest::mouseClick(form->PBcacal, Qt::LeftButton, {}, QPoint(300, 100));
  for (int d = -4; d <= 4; ++d) {
    EXPECT_EQ(Pixel(300 + d, 100), kBlack) << d;
    EXPECT_EQ(Pixel(300, 100 + d), kBlack) << d;
  }
  EXPECT_EQ(Pixel(305, 100), kWhite);  // the band round the arms
  EXPECT_EQ(Pixel(301, 101), kWhite);
  EXPECT_EQ(form->PBcacal->Canvas().Image().pixel(297, 97), before.pixel(297, 97));

  // No measurement, no mark: after an edit the clicks do nothing.
  form->Mlista->appendPlainText(QStringLiteral("* edited"));
  const QImage edited = form->PBcacal->Canvas().Image().copy();
  QTest::mouseClick(form->PBcacal, Qt::LeftButton, {}, QPoint(200, 300));
  EXPECT_EQ(form->PBcacal->Canvas().Image(), edited);
}

TEST_F(StructurePlotTest, SavePlotWritesTheDrawingAreaAsPng) {
  Calculate();
  form->CBcontours->setChecked(true);
  Plot(QStringLiteral("Potential V"));
  const QString path = QString::fromStdString(::testing::TempDir()) + "saved_plot.png";
  QFile::remove(path);
  QString offered;
  form->choosePlotFile = [&](const QString& initial) {
    offered = initial;
    return path;
  };
  QTest::mouseClick(form->Bsaveplot, Qt::LeftButton);
  EXPECT_EQ(offered, QStringLiteral("plot.png"));
  EXPECT_EQ(LastMessage(), "Plot saved in file " + path.toStdString());
  const QImage saved(path);
  ASSERT_EQ(saved.size(), QSize(481, 481));
  const QImage shown = form->PBcacal->Canvas().Image();
  for (int y = 0; y < 481; ++y)
    for (int x = 0; x < 481; ++x)
      ASSERT_EQ(saved.pixel(x, y) & 0xFFFFFF, shown.pixel(x, y) & 0xFFFFFF) << x << " " << y;

  // The next dialog offers the name chosen; cancelled, nothing happens; a folder that
  // does not exist: an error box naming the file, no message, the old file intact.
  const int messages = form->Mmsg->LineCount();
  form->choosePlotFile = [&](const QString& initial) {
    offered = initial;
    return QString();
  };
  QTest::mouseClick(form->Bsaveplot, Qt::LeftButton);
  EXPECT_EQ(offered, path);
  EXPECT_EQ(form->Mmsg->LineCount(), messages);
  const QString nowhere = path + ".d/missing/plot.png";
  form->choosePlotFile = [&](const QString&) { return nowhere; };
  QTest::mouseClick(form->Bsaveplot, Qt::LeftButton);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find(nowhere.toStdString()), std::string::npos);
  EXPECT_EQ(form->Mmsg->LineCount(), messages);
  EXPECT_EQ(QImage(path).size(), QSize(481, 481));
}
