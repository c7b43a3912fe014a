// tintor's window: its layout, clicks in the curve boxes, and Ler / Salvar.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "palette_builder/paint_area.h"
#include "palette_builder/pal.h"
#include "palette_builder/xpl_file.h"

namespace {

// The window shown and painted once, as at start.
struct Shown {
  TFpal form;
  Shown() {
    form.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
    QCoreApplication::processEvents();
  }
  QImage Grab(const char* box) {
    QCoreApplication::processEvents();
    return form.findChild<QWidget*>(box)->grab().toImage();
  }
};

QColor Rgb(const PaletteModel& m, int y) {
  return QColor(m.palette[0][y], m.palette[1][y], m.palette[2][y]);
}

QString TempPath(const QString& name) {
  const QString dir = QDir::tempPath() + QStringLiteral("/tintor_window_test");
  QDir().mkpath(dir);
  QFile::remove(dir + "/" + name);
  return dir + "/" + name;
}

}  // namespace

TEST(TintorWindow, LayoutAndTexts) {
  TFpal form;
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Construtor de Paletas de Cores"));
  EXPECT_EQ(form.size(), QSize(371, 349));
  struct Row {
    const char* name;
    QRect geometry;
  } rows[] = {
      {"PBred", {56, 8, 64, 256}},     {"PBgreen", {128, 8, 64, 256}},
      {"PBblue", {200, 8, 64, 256}},   {"PBpal", {272, 8, 64, 256}},
      {"Bler", {176, 272, 75, 25}},    {"Salvar", {264, 272, 75, 25}},
  };
  for (const Row& r : rows) {
    auto* w = form.findChild<QWidget*>(r.name);
    ASSERT_NE(w, nullptr) << r.name;
    EXPECT_EQ(w->geometry(), r.geometry) << r.name;
  }
  EXPECT_EQ(form.findChild<QPushButton*>("Bler")->text(), QStringLiteral("Ler"));
  EXPECT_EQ(form.findChild<QPushButton*>("Salvar")->text(), QStringLiteral("Salvar"));
  auto* l1 = form.findChild<QLabel*>("Label1");
  auto* l2 = form.findChild<QLabel*>("Label2");
  EXPECT_EQ(l1->text(), QStringLiteral("Mínimo"));
  EXPECT_EQ(l2->text(), QStringLiteral("Máximo"));
  EXPECT_EQ(l1->pos(), QPoint(8, 8));
  EXPECT_EQ(l2->pos(), QPoint(8, 248));
}

TEST(TintorWindow, ClicksBendTheCurvesAndTheColourBarFollows) {
  Shown w;
  // The first paint bent the top segment of every channel.
  EXPECT_EQ(w.form.Model().palette[0][193], 192);
  EXPECT_EQ(w.form.Model().palette[2][255], 252);

  QTest::mouseClick(w.form.PBred, Qt::LeftButton, {}, QPoint(20, 70));
  QTest::mouseClick(w.form.PBgreen, Qt::RightButton, {}, QPoint(10, 250));  // any button
  const PaletteModel& m = w.form.Model();
  EXPECT_EQ(m.X[0][1], 20);
  EXPECT_EQ(m.Y[0][1], 70);
  EXPECT_EQ(m.X[1][4], 10);
  EXPECT_EQ(m.Y[1][4], 255);
  EXPECT_EQ(m.palette[0][70], 80);

  const QImage red = w.Grab("PBred");
  EXPECT_EQ(red.pixelColor(60, 70), QColor(80, 0, 0));  // the row's colour, right of the curve
  EXPECT_EQ(red.pixelColor(60, 200), QColor(m.palette[0][200], 0, 0));
  EXPECT_EQ(red.pixelColor(16, 70), QColor(Qt::white));  // left side of the point's square
  EXPECT_EQ(red.pixelColor(16, 64), QColor(m.palette[0][64], 0, 0));  // no square left at 64
  const QImage green = w.Grab("PBgreen");
  EXPECT_EQ(green.pixelColor(60, 250), QColor(0, m.palette[1][250], 0));

  const QImage bar = w.Grab("PBpal");
  for (int y = 0; y < 256; ++y) ASSERT_EQ(bar.pixelColor(30, y), Rgb(m, y)) << y;
  EXPECT_NE(Rgb(m, 250), QColor(250, 250, 250));  // the bar really changed
}

TEST(TintorWindow, SixtyThreeOnEveryPointPaintsANearWhiteBar) {
  Shown w;
  const int rows[] = {0, 64, 128, 192, 255};
  for (PaintArea* box : {w.form.PBred, w.form.PBgreen, w.form.PBblue})
    for (int y : rows) QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(63, y));
  const QImage bar = w.Grab("PBpal");
  for (int y = 0; y < 256; ++y) ASSERT_EQ(bar.pixelColor(10, y), QColor(252, 252, 252)) << y;
}

TEST(TintorWindow, SalvarAndLerGoThroughTheDialogs) {
  const QString path = TempPath(QStringLiteral("window.xpl"));
  QByteArray saved;
  {
    Shown w;
    QTest::mouseClick(w.form.PBblue, Qt::LeftButton, {}, QPoint(50, 100));
    w.form.SaveDialog1 = [] { return QString(); };  // cancelled: nothing written
    w.form.Salvar->click();
    EXPECT_FALSE(QFile::exists(path));
    w.form.SaveDialog1 = [&] { return path; };
    w.form.Salvar->click();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    saved = f.readAll();
    EXPECT_EQ(saved.toStdString(), XplBytes(w.form.Model()));
    EXPECT_EQ(saved.size(), 888);

    QString error;
    w.form.showError = [&](const QString& message) { error = message; };
    const QString bad = QDir::tempPath() + QStringLiteral("/no_such_dir_tintor/p.xpl");
    w.form.SaveDialog1 = [&] { return bad; };
    w.form.Salvar->click();
    EXPECT_TRUE(error.contains(bad)) << error.toStdString();
  }
  Shown w;
  w.form.OpenDialog1 = [] { return QStringLiteral("/no/such/palette.xpl"); };
  w.form.Bler->click();  // silently nothing
  EXPECT_EQ(w.form.Model().X[2][1], 16);
  w.form.OpenDialog1 = [&] { return path; };
  w.form.Bler->click();
  EXPECT_EQ(w.form.Model().X[2][2], 50);
  EXPECT_EQ(w.form.Model().Y[2][2], 100);
  const QImage bar = w.Grab("PBpal");
  for (int y = 0; y < 256; ++y) {
    const auto byte = [&](int k) { return static_cast<unsigned char>(saved[k]); };
    ASSERT_EQ(bar.pixelColor(30, y), QColor(byte(y), byte(256 + y), byte(512 + y))) << y;
  }
}

// tintor FILE.xpl (a double click in the file manager): the palette is loaded at start;
// a file that cannot be read says so and leaves the start palette.
TEST(TintorWindow, OpensThePaletteNamedOnTheCommandLine) {
  const QString path = TempPath(QStringLiteral("command_line.xpl"));
  PaletteModel edited = StartPalette();
  MoveControlPoint(edited, 0, 40, 70);  // point 1 (row 64 is nearest)
  for (int a = 0; a < kChannels; ++a) RecomputeChannel(edited, a);
  SaveXplFile(path.toStdString(), edited);

  Shown w;
  QStringList errors;
  w.form.showError = [&](const QString& message) { errors << message; };
  EXPECT_FALSE(w.form.OpenFile(QStringLiteral("/no/such/palette.xpl")));
  ASSERT_EQ(errors.size(), 1);
  EXPECT_TRUE(errors[0].contains(QStringLiteral("/no/such/palette.xpl")));
  EXPECT_EQ(w.form.Model().X[0][1], 16);

  EXPECT_TRUE(w.form.OpenFile(path));
  EXPECT_EQ(errors.size(), 1);
  EXPECT_EQ(w.form.Model().X[0][1], 40);
  EXPECT_EQ(w.form.Model().Y[0][1], 70);
  const QImage bar = w.Grab("PBpal");
  for (int y = 0; y < 256; ++y) ASSERT_EQ(bar.pixelColor(30, y), Rgb(edited, y)) << y;
}
