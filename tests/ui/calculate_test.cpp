// Calculate, View and the drawing, driven through the main window's components.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "command_run.h"
#include "transformer/driver.h"
#include "ui/quoru.h"
#include "numerics/library_namespaces.h"

namespace {

class CalculateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm1>();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  }
  // Types a new text into a field as the user would.
  void Type(QLineEdit* e, const char* text) {
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClicks(e, QString::fromUtf8(text));
  }
  // The Report lines written after the first `from` lines.
  std::vector<std::string> LinesFrom(int from) {
    const std::vector<std::string> all = form->Memo1->LinesUtf8();
    return {all.begin() + from, all.end()};
  }
  int Count(Color c) {
    ImageCanvas& canvas = form->PaintBox1->Canvas();
    int n = 0;
    for (int y = 0; y < canvas.Height(); ++y)
      for (int x = 0; x < canvas.Width(); ++x) n += canvas.Pixel(x, y) == c;
    return n;
  }
  std::unique_ptr<TForm1> form;
};

}  // namespace

TEST_F(CalculateTest, InputErrorsAreReportedThroughTheWindow) {
  struct Row {
    std::vector<std::pair<const char*, const char*>> typed;
    const char* message;
  };
  const Row rows[] = {
      {{{"Eh1", "-0.1"}}, "The dimensions must be positive"},
      {{{"Es2", "-1e-3"}}, "The dimensions must be positive"},
      {{{"Er2", "0.1"}, {"Es2", "0.1"}}, "The coils can't intercept"},
      {{{"Ewd1", "0.02"}}, "The primary wire is too thick (max=~0.01667)"},
      {{{"Ewd2", "0.001"}}, "The secondary wire is too thick (max=~0.00056)"},
      {{{"En1", "0"}}, "Too small turns number for the numbers of segments"},
      {{{"Ens1", ""}}, "Too large or invalid number of segments (max=10000)"},
      {{{"Ensm", "10001"}}, "Too large or invalid number of segments (max=10000)"},
  };
  for (const Row& r : rows) {
    form = std::make_unique<TForm1>();
    for (const auto& [name, text] : r.typed)
      Type(form->findChild<QLineEdit*>(QString::fromUtf8(name)), text);
    const int before = form->Memo1->LineCount();
    QTest::mouseClick(form->Bcalc, Qt::LeftButton);
    EXPECT_EQ(LinesFrom(before), (std::vector<std::string>{"", r.message})) << r.message;
    EXPECT_EQ(form->Bcalc->text(), QStringLiteral("Calculate"));
  }
}

// A decimal comma typed in a field: Calculate writes the one refusal line and nothing
// else, View leaves the drawing, both name the field by its label.
TEST_F(CalculateTest, MalformedNumberIsRefusedByCalculateAndView) {
  QApplication::processEvents();  // the first paint
  const QImage before = form->PaintBox1->Canvas().Image().copy();
  Type(form->Er2, "0,08");
  const std::string refusal =
      "Invalid number in \"Min. radius 2\": 0,08 (use \".\" as the decimal point)";
  int from = form->Memo1->LineCount();
  QTest::mouseClick(form->Bcalc, Qt::LeftButton);
  EXPECT_EQ(LinesFrom(from), std::vector<std::string>{refusal});
  EXPECT_EQ(form->Bcalc->text(), QStringLiteral("Calculate"));
  EXPECT_EQ(form->PaintBox1->Canvas().Image(), before);  // nothing drawn, nothing summed

  from = form->Memo1->LineCount();
  QTest::mouseClick(form->Bview, Qt::LeftButton);
  EXPECT_EQ(LinesFrom(from), std::vector<std::string>{refusal});
  EXPECT_EQ(form->Coils().rmin2, 0.044L);  // as read before the typing
  EXPECT_EQ(form->PaintBox1->Canvas().Image(), before);

  // Corrected, it computes (a secondary of 100 turns, for speed).
  Type(form->Er2, "0.08");
  Type(form->En2, "100");
  from = form->Memo1->LineCount();
  QTest::mouseClick(form->Bcalc, Qt::LeftButton);
  const std::vector<std::string> lines = LinesFrom(from);
  ASSERT_GT(lines.size(), 10u);
  EXPECT_EQ(lines.back().rfind("Mode: ", 0), 0u);
}

TEST_F(CalculateTest, DefaultCalculationWritesWhatTheCommandWrites) {
  const int before = form->Memo1->LineCount();
  QTest::mouseClick(form->Bcalc, Qt::LeftButton);
  const std::vector<std::string> lines = LinesFrom(before);
  EXPECT_EQ(lines, command_run::LinesOf(TransformerFieldDefs(), &TransformerCommand,
                                        TransformerDefaults()));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back().rfind("Mode: ", 0), 0u) << lines.back();
  EXPECT_EQ(form->Bcalc->text(), QStringLiteral("Calculate"));

  // A second run appends after the first; the Report is never cleared.
  QTest::mouseClick(form->Bcalc, Qt::LeftButton);
  EXPECT_EQ(form->Memo1->LineCount(), before + 2 * static_cast<int>(lines.size()));
}

TEST_F(CalculateTest, TheArrangementLandsOnTheImage) {
  QApplication::processEvents();  // the first paint reads the fields
  EXPECT_TRUE(form->Coils().InputsRead);
  EXPECT_GT(Count(kBlue), 50);  // primary
  EXPECT_GT(Count(kRed), 50);   // secondary
  // The dotted grey base line of the default coils lies on row 252.
  ImageCanvas& canvas = form->PaintBox1->Canvas();
  int grey = 0;
  for (int x = 0; x < canvas.Width(); ++x) grey += canvas.Pixel(x, 252) == kGray;
  EXPECT_GT(grey, 50);
  EXPECT_EQ(canvas.Pixel(0, 0), kBlack);  // the frame
  // What is on the screen is that image.
  const QImage shown = form->PaintBox1->grab().toImage();
  EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32),
            canvas.Image().convertToFormat(QImage::Format_RGB32));
}

TEST_F(CalculateTest, ViewRereadsTheFieldsAndRepaintsAtOnce) {
  QApplication::processEvents();
  const QImage before = form->PaintBox1->Canvas().Image().copy();
  Type(form->Er1, "0.2");
  Type(form->Es1, "0.15");
  QTest::mouseClick(form->Bview, Qt::LeftButton);
  EXPECT_EQ(form->Coils().rmin1, 0.2L);
  EXPECT_EQ(form->Coils().rmax1, 0.15L);
  EXPECT_NE(form->PaintBox1->Canvas().Image(), before);
  EXPECT_GT(Count(kBlue), 50);
}

TEST_F(CalculateTest, CalculateDrawsTheTurnsItSums) {
  QApplication::processEvents();
  const QImage outline = form->PaintBox1->Canvas().Image().copy();
  QTest::mouseClick(form->Bcalc, Qt::LeftButton);
  // The inductance routines draw over the outline they were given.
  EXPECT_NE(form->PaintBox1->Canvas().Image(), outline);
}

// A click on the button while it reads "Stop" ends a true-spiral sum: the lines so far
// stay, "Interrupted" is the last one, and the button reads "Calculate" again.
TEST_F(CalculateTest, StopDuringATrueSpiralSum) {
  form->CBel->click();  // true spirals: the Maxwell sums pump events and can be stopped
  ASSERT_FALSE(form->CBel->isChecked());
  // A conical primary: its true-spiral sum has (12 * 10000)^2 terms, far too many to
  // end before the click arrives.
  Type(form->Es1, "0.12");
  Type(form->Ensm, "10000");
  bool sawStop = false;
  QTimer clicker;
  clicker.setInterval(5);
  QObject::connect(&clicker, &QTimer::timeout, [&] {
    if (form->Bcalc->text() == QStringLiteral("Stop")) {
      sawStop = true;
      clicker.stop();
      QTest::mouseClick(form->Bcalc, Qt::LeftButton);
    }
  });
  clicker.start();
  const int before = form->Memo1->LineCount();
  QTest::mouseClick(form->Bcalc, Qt::LeftButton);  // returns when the command has ended
  clicker.stop();

  EXPECT_TRUE(sawStop);
  const std::vector<std::string> lines = LinesFrom(before);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "Interrupted");
  for (const std::string& l : lines) {
    EXPECT_EQ(l.find("Maxwell primary inductance: L1: "), std::string::npos) << l;
    EXPECT_EQ(l.find("secondary"), std::string::npos) << l;
  }
  EXPECT_EQ(form->Bcalc->text(), QStringLiteral("Calculate"));
  EXPECT_FALSE(form->Running());

  // The window is usable again: a calculation with circular turns runs to its end.
  form->CBel->click();
  const int again = form->Memo1->LineCount();
  QTest::mouseClick(form->Bcalc, Qt::LeftButton);
  EXPECT_EQ(LinesFrom(again).back().rfind("Mode: ", 0), 0u);
}

// A running true-spiral sum owns the coils it started with: View, Load, the unit
// conversions and the self-capacitance wait, disabled, while Stop stays; a changed
// field read by none of them leaves the lines exactly those of the coils at the start.
TEST_F(CalculateTest, CommandsThatReadTheFieldsWaitWhileASumRuns) {
  form->showFault = [](const QString&) {};  // a Load that did run would report its file
  form->CBel->click();
  Type(form->Es1, "0.12");  // a conical primary: a pair sum that pumps events
  Type(form->Ensm, "200");
  const FieldValues atStart = form->Fields();
  QAction* const waiting[] = {form->Load1, form->Inchestometers1, form->Meterstoinches1,
                              form->Medhurstcapacitances1};
  struct Seen {
    bool running = false, view = true, stop = false, waitingEnabled = true, loaded = true;
  } seen;
  QTimer during;
  during.setInterval(1);
  QObject::connect(&during, &QTimer::timeout, [&] {
    if (!form->Running() || seen.running) return;
    seen.running = true;
    seen.view = form->Bview->isEnabled();
    seen.stop = form->Bcalc->isEnabled() && form->Bcalc->text() == QStringLiteral("Stop");
    seen.waitingEnabled = false;
    for (QAction* a : waiting) seen.waitingEnabled = seen.waitingEnabled || a->isEnabled();
    // What a user might still try: other coils typed in, View by its slot, a file.
    Type(form->En1, "6");
    form->BviewClick();
    seen.loaded = form->LoadFile(QStringLiteral("/nonexistent/coil.trd"));
  });
  during.start();
  const int before = form->Memo1->LineCount();
  QTest::mouseClick(form->Bcalc, Qt::LeftButton);
  during.stop();

  ASSERT_TRUE(seen.running);
  EXPECT_FALSE(seen.view);
  EXPECT_TRUE(seen.stop);
  EXPECT_FALSE(seen.waitingEnabled);
  EXPECT_FALSE(seen.loaded);
  EXPECT_EQ(form->Coils().N1, 12);  // View did not read the 6 turns
  EXPECT_EQ(LinesFrom(before),
            command_run::LinesOf(TransformerFieldDefs(), &TransformerCommand, atStart));
  // Ended: everything is there again, the conversions as before the sum.
  EXPECT_TRUE(form->Bview->isEnabled());
  for (QAction* a : waiting) EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
}

TEST_F(CalculateTest, ArithmeticFaultShowsItsMessageAndKeepsTheLinesSoFar) {
  std::vector<QString> shown;
  form->showFault = [&](const QString& m) { shown.push_back(m); };
  Type(form->Er1, "0");
  Type(form->Es1, "0");
  const int before = form->Memo1->LineCount();
  QTest::mouseClick(form->Bcalc, Qt::LeftButton);
  EXPECT_EQ(shown, (std::vector<QString>{QStringLiteral("Invalid floating point operation")}));
  const std::vector<std::string> lines = LinesFrom(before);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[3].rfind("Lundin    primary inductance L1:", 0), 0u) << lines[3];
  EXPECT_EQ(form->Bcalc->text(), QStringLiteral("Calculate"));
}
