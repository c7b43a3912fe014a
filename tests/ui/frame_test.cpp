// The application frame: ten windows in their order, shown from the menu, hidden on
// close, and the end of the program.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <string>

#include "ui/application.h"

namespace {
int CountTopLevel(const char* className) {
  int n = 0;
  for (QWidget* w : QApplication::topLevelWidgets())
    n += w->isVisible() && std::string(w->metaObject()->className()) == className;
  return n;
}
}  // namespace

TEST(Frame, CreatesTheTenWindowsInOrder) {
  QuorApplication app;
  EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("quor"));
  struct Row {
    const char* className;
    const char* caption;
  };
  const Row rows[] = {
      {"TForm1", "quor"},
      {"TForm2", "Elliptic integrals"},
      {"TFstraight", "Inductances and mutual inductances of straight wires, flat square inductors"},
      {"TFtoroid", "Toroid capacitance, etc."},
      {"TFpartial", "Partial toroidal surface decomposed in thin rings"},
      {"TFdisk", "Circular sheet"},
      {"TFcacal", "Electrostatic calculations"},
      {"TFesferas", "Two spheres"},
      {"TFparametros", "Fparametros"},
      {"TFresonator", "Secondary resonance"},
  };
  const auto& windows = app.Windows();
  ASSERT_EQ(windows.size(), 10u);
  EXPECT_EQ(windows[0], &app.Form1());
  for (std::size_t i = 0; i < 10; ++i) {
    EXPECT_EQ(std::string(windows[i]->metaObject()->className()), rows[i].className);
    EXPECT_EQ(windows[i]->windowTitle(), QString::fromUtf8(rows[i].caption)) << rows[i].className;
    EXPECT_TRUE(windows[i]->isWindow());
    EXPECT_FALSE(windows[i]->isVisible());  // only the main window is shown, by Start
  }
}

TEST(Frame, MenuItemsShowTheirWindowOnce) {
  QuorApplication app;
  app.Start();
  TForm1& f = app.Form1();
  EXPECT_TRUE(f.isVisible());
  const QPoint screenCentre = QApplication::primaryScreen()->availableGeometry().center();
  EXPECT_EQ(f.frameGeometry().center(), screenCentre);
  struct Row {
    QAction* item;
    QWidget* form;
  };
  const Row rows[] = {
      {f.Testellipticfunctions1, &app.Form2()},
      {f.Straightwires1, &app.Fstraight()},
      {f.Parameters1, &app.Fparametros()},
      {f.Toroidcapacitance2, &app.Ftoroid()},
      {f.Electricfieldbetweenspheres1, &app.Fesferas()},
      {f.Partialtoroidcapacitance2, &app.Fpartial()},
      {f.Circularsheetcapacitance2, &app.Fdisk()},
      {f.Generalcasewithaxialsymmetry1, &app.Fcacal()},
      {f.Secondaryresonance1, &app.Fresonator()},
  };
  for (const Row& r : rows) {
    const std::string cls = r.form->metaObject()->className();
    r.item->trigger();
    EXPECT_TRUE(r.form->isVisible()) << cls;
    r.item->trigger();  // a second time: the same window, no second one
    QApplication::processEvents();
    EXPECT_TRUE(r.form->isVisible()) << cls;
    EXPECT_EQ(CountTopLevel(cls.c_str()), 1) << cls;
  }
}

TEST(Frame, ClosingASecondaryWindowHidesItAndKeepsItsFields) {
  QuorApplication app;
  app.Start();
  TFtoroid& toroid = app.Ftoroid();
  auto* field = toroid.findChild<QLineEdit*>();
  if (!field) field = new QLineEdit(&toroid);  // the window has no fields of its own yet
  field->setText(QStringLiteral("0.75"));
  app.Form1().Toroidcapacitance2->trigger();
  ASSERT_TRUE(toroid.isVisible());
  QPointer<QWidget> alive(&toroid);
  EXPECT_TRUE(toroid.close());
  QApplication::processEvents();
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_FALSE(alive.isNull());
  EXPECT_FALSE(toroid.isVisible());
  EXPECT_TRUE(app.Form1().isVisible());  // the program goes on
  app.Form1().Toroidcapacitance2->trigger();
  EXPECT_TRUE(toroid.isVisible());
  EXPECT_EQ(field->text(), QStringLiteral("0.75"));
}

// Exit and closing the main window leave the event loop at once, with secondary
// windows still open.
TEST(Frame, ExitAndClosingTheMainWindowEndTheProgram) {
  for (int way = 0; way < 2; ++way) {
    QuorApplication app;
    app.Start();
    app.Form1().Testellipticfunctions1->trigger();
    bool timedOut = false;
    QTimer::singleShot(0, [&] {
      if (way == 0)
        app.Form1().Exit1->trigger();
      else
        app.Form1().close();
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
      timedOut = true;
      QCoreApplication::quit();
    });
    guard.start(10000);
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(timedOut) << "way " << way;
    for (QWidget* w : app.Windows()) EXPECT_FALSE(w->isVisible()) << "way " << way;
  }
}

// The breakdown field is one setting of the whole program: Apply in the Parameters
// window changes what every electrostatic window reads, writes its Report line and
// hides the window; closing without Apply leaves the value alone.
TEST(Frame, ParametersApplySetsTheProgramWideBreakdownField) {
  QuorApplication app;
  app.Start();
  TFparametros& p = app.Fparametros();
  app.Form1().Parameters1->trigger();
  ASSERT_TRUE(p.isVisible());
  EXPECT_EQ(p.Label1->text(), QStringLiteral("Maximum electric field in air (kV/m)"));
  p.Eemax->setText(QStringLiteral("2500"));
  p.Bapply->click();
  EXPECT_FALSE(p.isVisible());
  EXPECT_EQ(app.Breakdown().Emax, 2500.0L);
  EXPECT_EQ(app.Form1().Memo1->LinesUtf8().back(), "Maximum electric field set to 2500.0 kV/m");
  app.Form1().Parameters1->trigger();
  p.Eemax->setText(QStringLiteral("1500"));
  p.close();
  EXPECT_EQ(app.Breakdown().Emax, 2500.0L);
  EXPECT_EQ(p.Eemax->text(), QStringLiteral("1500"));  // the field keeps what was typed

  // A decimal comma is refused: one line, the old setting kept, the window open to
  // correct it.
  app.Form1().Parameters1->trigger();
  p.Eemax->setText(QStringLiteral("2,5e3"));
  p.Bapply->click();
  EXPECT_TRUE(p.isVisible());
  EXPECT_EQ(app.Breakdown().Emax, 2500.0L);
  EXPECT_EQ(app.Form1().Memo1->LinesUtf8().back(),
            "Invalid number in \"Maximum electric field in air (kV/m)\": 2,5e3 (use \".\" as the "
            "decimal point)");
  // So is a field of zero or less, which would turn every breakdown voltage negative.
  for (const char* text : {"-5", "0"}) {
    p.Eemax->setText(QString::fromUtf8(text));
    p.Bapply->click();
    EXPECT_TRUE(p.isVisible()) << text;
    EXPECT_EQ(app.Breakdown().Emax, 2500.0L) << text;
    EXPECT_EQ(app.Form1().Memo1->LinesUtf8().back(),
              "The maximum electric field in air must be positive");
  }
}
