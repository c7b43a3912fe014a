// quor-screenshots DIR: the pictures of the user guide. Starts quor's windows as a
// user would see them after pressing each window's Calculate with its default fields
// (and Plot in the structure window), and tintor's window with a palette shaped by
// clicks, and writes each window to a PNG in DIR (and a field marked as not a number,
// and the elliptic window busy with a long table), together with that palette as
// DIR/quor.xpl (the colours of the guide's plots). scripts/docs runs it under a
// virtual X display; it is no part of the installed programs.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdio>

#include "palette_builder/paint_area.h"
#include "palette_builder/pal.h"
#include "palette_builder/xpl_file.h"
#include "ui/application.h"

namespace {

// Shows the window, lets it paint, and saves what it shows.
bool Shoot(QWidget* w, const QString& path) {
  ShowForm(w);
  if (!QTest::qWaitForWindowExposed(w)) return false;
  // No text cursor in the picture.
  if (QWidget* focus = w->focusWidget()) focus->clearFocus();
  for (int i = 0; i < 5; ++i) {
    QCoreApplication::processEvents();
    QTest::qWait(20);
  }
  const bool saved = w->grab().save(path);
  std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
  return saved;
}

// A blue - green - yellow - red scale: the blue curve high at the top (entry 0, the
// lowest value), green in the middle, red towards the bottom (the highest).
void ShapePalette(TFpal& pal) {
  const struct {
    PaintArea* box;
    int x[5];
  } curves[] = {{pal.PBred, {0, 0, 20, 63, 63}},
                {pal.PBgreen, {0, 30, 63, 55, 0}},
                {pal.PBblue, {24, 63, 20, 0, 0}}};
  const int rows[5] = {0, 64, 128, 192, 255};
  for (const auto& c : curves)
    for (int i = 0; i < 5; ++i) QTest::mouseClick(c.box, Qt::LeftButton, {}, QPoint(c.x[i], rows[i]));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication qapp(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: quor-screenshots DIR\n");
    return 2;
  }
  const QDir dir(QString::fromLocal8Bit(argv[1]));
  const auto at = [&dir](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
  bool ok = true;

  // tintor first: its palette colours the structure window's plot below.
  {
    TFpal pal;
    ShapePalette(pal);
    SaveXplFile(at("quor.xpl").toStdString(), pal.Model());
    ok &= Shoot(&pal, at("tintor.png"));
  }
  QDir::setCurrent(dir.path());  // quor reads quor.xpl from its current directory

  QuorApplication quor;
  quor.Start();
  struct Shot {
    QWidget* form;
    std::vector<QPushButton*> clicks;  // the commands run before the picture
    const char* file;
  };
  const Shot shots[] = {
      {&quor.Fparametros(), {quor.Fparametros().Bapply}, "parameters.png"},
      {&quor.Form2(), {quor.Form2().Button1}, "elliptic.png"},
      {&quor.Fstraight(),
       {quor.Fstraight().Bcalculate, quor.Fstraight().Calculate}, "straight.png"},
      {&quor.Ftoroid(), {quor.Ftoroid().Btoroid}, "toroid.png"},
      {&quor.Fpartial(), {quor.Fpartial().Bpartial}, "partial.png"},
      {&quor.Fdisk(), {quor.Fdisk().Bsheet}, "sheet.png"},
      {&quor.Fesferas(), {quor.Fesferas().Bspheres}, "spheres.png"},
      {&quor.Fcacal(), {quor.Fcacal().Bcap, quor.Fcacal().Bplotar}, "structure.png"},
      // Its Report holds the lines of the commands above after its own.
      {&quor.Form1(), {quor.Form1().Bcalc}, "main.png"},
      // After the main window's picture, whose Report it would lengthen.
      {&quor.Fresonator(), {quor.Fresonator().Bcalc}, "resonator.png"},
  };
  // The plot with its colour scale, lines of equal potential and length scales.
  quor.Fcacal().CBlegend->setChecked(true);
  quor.Fcacal().CBcontours->setChecked(true);
  quor.Fcacal().CBaxes->setChecked(true);
  quor.Fresonator().SetRGtoploadIndex(1);    // the secondary with its toroid
  for (const Shot& s : shots) {
    ShowForm(s.form);
    for (QPushButton* b : s.clicks) b->click();
    ok &= Shoot(s.form, at(s.file));
    if (s.form != &quor.Form1()) s.form->hide();
  }

  // After the main window's picture, which they would change: a field marked while
  // its text is not a number, and a long table running with the window waiting.
  {
    TForm1& f = quor.Form1();
    const QString kept = f.Er2->text();
    f.Er2->setText(QStringLiteral("0,08"));
    QCoreApplication::processEvents();
    const QString path = at("marked-field.png");
    const bool saved = f.GroupBox2->grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    ok &= saved;
    f.Er2->setText(kept);
  }
  {
    TForm2& f = quor.Form2();
    ShowForm(&f);
    f.CBSimpson->setChecked(true);
    f.Enk->setText(QStringLiteral("500"));
    f.Background().whileRunning = [&] {
      ok &= Shoot(&f, at("elliptic-busy.png"));
      f.Background().StopButton()->click();
    };
    f.Button1->click();
    f.Background().whileRunning = nullptr;
    f.hide();
  }
  return ok ? 0 : 1;
}
