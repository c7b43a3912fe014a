// Plots, probe clicks and the view buttons of the structure window driven offscreen,
// and quor-cli's PNG of the same plot.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
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
#include "electrostatics/structure_probe.h"
#include "platform/paint_box.h"
#include "platform/png_render.h"
#include "platform/report_memo.h"
#include "ui/uaxis.h"

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

  // 48 rows of 5 pixels painted, the lower ones as they were but for the legend; the
  // buttons as before the plot.
  EXPECT_EQ(Pixel(240, 100), kWhite);  // inside the terminal, at 1 V
  const QImage after = form->PBcacal->Canvas().Image();
  for (int y = 240; y < 441; ++y)
    for (int x = 0; x < 481; ++x) ASSERT_EQ(after.pixel(x, y), before.pixel(x, y)) << x << " " << y;
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
  Plot(QStringLiteral("Total electric field |E|"));
  const std::string path = ::testing::TempDir() + "structure_plot.png";
  std::ostringstream out, err;
  CliHooks hooks;
  hooks.renderPng = &RenderPng;
  ASSERT_EQ(RunCli({"structure", "--plot", path, "CBplotar=Total electric field |E|", "CBlegend=1",
                    "--probe", "300,100"},
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
