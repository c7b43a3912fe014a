// The secondary resonance window driven through its components: it reads the main
// window's coils, writes what the command writes and draws mode 1.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "platform/paint_box.h"
#include "ui/application.h"

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

}  // namespace

TEST(ResonatorWindow, CalculatesTheMainWindowsSecondary) {
  QuorApplication app;
  TForm1& main = app.Form1();
  TFresonator& form = app.Fresonator();
  main.Secondaryresonance1->trigger();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

  // The top load's fields follow the kind chosen.
  EXPECT_FALSE(form.Etmajor->isEnabled());
  EXPECT_FALSE(form.Etheight->isEnabled());
  QTest::mouseClick(form.findChild<QRadioButton*>(QStringLiteral("RGtoploadItem1")), Qt::LeftButton,
                    {}, QPoint(5, 9));
  EXPECT_EQ(form.RGtoploadIndex(), 1);
  EXPECT_TRUE(form.Etmajor->isEnabled() && form.Etheight->isEnabled());
  EXPECT_FALSE(form.Esphere->isEnabled());

  Type(main.En2, "900");  // the main window's text, not saved anywhere else
  Type(form.Esections, "40");
  const std::size_t before = main.Memo1->LinesUtf8().size();
  QTest::mouseClick(form.Bcalc, Qt::LeftButton);
  const std::vector<std::string> all = main.Memo1->LinesUtf8();
  const std::vector<std::string> written(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
  CommandEnv env;
  const Result expected = RunCommand(ResonatorFieldDefs(), &ResonatorCommand,
                                     {{"En2", "900"}, {"Esections", "40"}, {"RGtopload", "1"}}, env);
  EXPECT_EQ(written, expected.lines);
  ASSERT_TRUE(form.Outcome().computed);
  EXPECT_EQ(form.Outcome().model.inductances.turns, 900);
  EXPECT_GT(Count(form.PBresonator, kBlue), 40);   // the voltage along the winding
  EXPECT_GT(Count(form.PBresonator, kGreen), 40);  // the current
  EXPECT_GT(Count(form.PBresonator, kRed), 40);    // the winding

  // A refused input: its line, and no mode drawn any more.
  Type(form.Esections, "0");
  QTest::mouseClick(form.Bcalc, Qt::LeftButton);
  EXPECT_EQ(main.Memo1->LinesUtf8().back(), "Too large or invalid number of sections (max=400)");
  EXPECT_EQ(Count(form.PBresonator, kBlue), 0);
}
