// tintor's window: its layout, clicks in the curve boxes, and Ler / Salvar.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QWindow>

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
  // Under the menu bar, the boxes keep their columns and sizes: they are scales.
  struct Row {
    const char* name;
    QRect geometry;
  } rows[] = {
      {"PBred", {56, 14, 64, 256}},    {"PBgreen", {128, 14, 64, 256}},
      {"PBblue", {200, 14, 64, 256}},  {"PBpal", {272, 14, 64, 256}},
      {"Bler", {176, 278, 75, 25}},    {"Salvar", {264, 278, 75, 25}},
  };
  for (const Row& r : rows) {
    auto* w = form.findChild<QWidget*>(r.name);
    ASSERT_NE(w, nullptr) << r.name;
    EXPECT_EQ(w->parentWidget(), form.Panel) << r.name;
    EXPECT_EQ(w->geometry(), r.geometry) << r.name;
  }
  EXPECT_EQ(form.findChild<QPushButton*>("Bler")->text(), QStringLiteral("Ler"));
  EXPECT_EQ(form.findChild<QPushButton*>("Salvar")->text(), QStringLiteral("Salvar"));
  auto* l1 = form.findChild<QLabel*>("Label1");
  auto* l2 = form.findChild<QLabel*>("Label2");
  EXPECT_EQ(l1->text(), QStringLiteral("Mínimo"));
  EXPECT_EQ(l2->text(), QStringLiteral("Máximo"));
  EXPECT_EQ(l1->pos(), QPoint(8, 14));  // level with the top row of the boxes
  EXPECT_EQ(l2->pos(), QPoint(8, 254));  // and with the bottom rows

  // A small letter over each curve box, centred on it and clear of it.
  const struct {
    const char* label;
    const char* text;
    const char* box;
  } letters[] = {{"Lred", "R", "PBred"}, {"Lgreen", "G", "PBgreen"}, {"Lblue", "B", "PBblue"}};
  for (const auto& l : letters) {
    auto* label = form.findChild<QLabel*>(l.label);
    ASSERT_NE(label, nullptr) << l.label;
    EXPECT_EQ(label->text(), QString::fromLatin1(l.text));
    EXPECT_LT(label->font().pixelSize(), form.font().pixelSize()) << l.label;
    const QRect box = form.findChild<QWidget*>(l.box)->geometry();
    const QRect glyph = label->fontMetrics().boundingRect(label->text());
    EXPECT_EQ(label->geometry().center().x(), box.center().x()) << l.label;
    EXPECT_LE(label->geometry().bottom(), box.top()) << l.label;
    EXPECT_GE(label->height(), glyph.height()) << l.label;
  }

  // Nothing on the panel overlaps anything else, and everything lies on it.
  const QList<QWidget*> parts = form.Panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  EXPECT_EQ(parts.size(), 11);
  for (QWidget* a : parts) {
    EXPECT_TRUE(form.Panel->rect().contains(a->geometry())) << a->objectName().toStdString();
    for (QWidget* b : parts) {
      if (a != b) {
        EXPECT_FALSE(a->geometry().intersects(b->geometry()))
            << a->objectName().toStdString() << " and " << b->objectName().toStdString();
      }
    }
  }
}

// 371 x 349 is the size of the window with its frame: the inside is what the window
// manager's frame leaves, as long as the menu bar and the panel fit.
TEST(TintorWindow, TheFrameIs371By349) {
  TFpal form;
  const int menu = form.MainMenu->sizeHint().height();
  const int needed = menu + TFpal::kPanelHeight;
  const struct {
    QMargins frame;  // left, top, right, bottom
    QSize inside;
  } rows[] = {
      {{0, 0, 0, 0}, {371, 349}},                  // no window manager
      {{2, 2, 2, 2}, {367, 345}},                  // Qt's offscreen frame
      {{1, 20, 1, 1}, {369, 328}},                 // a thin title bar and 1-pixel borders
      {{4, 349 - needed - 4, 4, 4}, {363, needed}}, // the tallest frame that still fits
      {{4, 40, 4, 4}, {363, needed}},              // taller: the contents win
      {{20, 20, 20, 20}, {TFpal::kPanelWidth, needed}},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(form.InsideSizeFor(r.frame), r.inside)
        << r.frame.left() << "," << r.frame.top() << "," << r.frame.right() << "," << r.frame.bottom();
  }
  // Under a thin title bar the panel, buttons included, is inside the window.
  EXPECT_LE(needed, 328);

  // Shown offscreen (a frame of 2 pixels on each side) it keeps to the outer size.
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  QCoreApplication::processEvents();
  const QMargins frame = form.windowHandle()->frameMargins();
  EXPECT_EQ(form.frameGeometry().size(), QSize(371, 349))
      << "frame " << frame.left() << "," << frame.top() << "," << frame.right() << "," << frame.bottom();
  EXPECT_EQ(form.size(), form.InsideSizeFor(frame));
  EXPECT_EQ(form.Panel->geometry(), QRect(0, form.MainMenu->height(), 347, 307));
  EXPECT_TRUE(form.rect().contains(form.Panel->geometry()));
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

// Presets: a menu of the menu bar; each item puts its curves in the boxes and its
// colours in the bar, and the curves can then be edited as usual.
TEST(TintorWindow, PresetsMenuStartsAPaletteToEdit) {
  Shown w;
  ASSERT_EQ(w.form.MainMenu->actions().size(), 1);
  EXPECT_EQ(w.form.MainMenu->actions()[0]->menu(), w.form.Presets);
  EXPECT_EQ(w.form.Presets->title(), QStringLiteral("Presets"));
  const QList<QAction*> items = w.form.Presets->actions();
  ASSERT_EQ(items.size(), 3);

  items[1]->trigger();
  const PaletteModel& m = w.form.Model();
  QImage bar = w.Grab("PBpal");
  EXPECT_EQ(bar.pixelColor(30, 0), QColor(0, 0, 252));  // lowest value: blue
  EXPECT_EQ(bar.pixelColor(30, 128), QColor(0, 252, 0));
  EXPECT_EQ(bar.pixelColor(30, 255), QColor(252, 0, 0));  // highest: red

  // A click moves a preset point like any other: red's point on row 128 to column 40.
  QTest::mouseClick(w.form.PBred, Qt::LeftButton, {}, QPoint(40, 128));
  EXPECT_EQ(m.X[0][2], 40);
  bar = w.Grab("PBpal");
  for (int y = 0; y < 256; ++y) ASSERT_EQ(bar.pixelColor(30, y), Rgb(m, y)) << y;
  EXPECT_EQ(bar.pixelColor(30, 128), QColor(160, 252, 0));  // 4 x 40 red on the green

  items[0]->trigger();  // back to grey: every curve replaced, the click's too
  bar = w.Grab("PBpal");
  EXPECT_EQ(bar.pixelColor(30, 100), QColor(100, 100, 100));
  EXPECT_EQ(bar.pixelColor(30, 255), QColor(252, 252, 252));
}
