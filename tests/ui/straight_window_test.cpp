// The straight-wire window driven through its components: both panels' Calculate,
// the spiral's drawing and overlay, View, and a fault ending a command.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "command_run.h"
#include "straight/spiral.h"
#include "straight/straight_wires.h"
#include "ui/ustraight.h"
#include "numerics/library_namespaces.h"

namespace {

class StraightWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TFstraight>(report);
    form->showError = [this](const QString& m) { errors.push_back(m.toStdString()); };
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  }
  void Type(const char* name, const char* text) {
    auto* e = form->findChild<QLineEdit*>(QString::fromUtf8(name));
    ASSERT_NE(e, nullptr) << name;
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClicks(e, QString::fromUtf8(text));
  }
  int Count(Color c) {
    ImageCanvas& canvas = form->PaintBox1->Canvas();
    int n = 0;
    for (int y = 0; y < canvas.Height(); ++y)
      for (int x = 0; x < canvas.Width(); ++x) n += canvas.Pixel(x, y) == c;
    return n;
  }
  VectorReport report;
  std::vector<std::string> errors;
  std::unique_ptr<TFstraight> form;
};

}  // namespace

TEST_F(StraightWindowTest, ComponentsCarryTheirNamesAndDefaults) {
  for (const auto* defs : {&StraightFieldDefs(), &SpiralFieldDefs()})
    for (const FieldDef& d : *defs) {
      const QString name = QString::fromStdString(d.name);
      if (d.isCheckBox) {
        auto* box = form->findChild<QCheckBox*>(name);
        ASSERT_NE(box, nullptr) << d.name;
        EXPECT_EQ(box->text().toStdString(), d.label);
        EXPECT_FALSE(box->isChecked());
      } else {
        auto* edit = form->findChild<QLineEdit*>(name);
        ASSERT_NE(edit, nullptr) << d.name;
        EXPECT_EQ(edit->text().toStdString(), d.defaultText);
      }
    }
  EXPECT_EQ(form->Bcalculate->text(), QStringLiteral("Calculate"));
  EXPECT_EQ(form->Calculate->text(), QStringLiteral("Calculate"));
  EXPECT_EQ(form->Button1->text(), QStringLiteral("View"));
  EXPECT_EQ(form->GroupBox2->title(), QStringLiteral("Square spiral inductor (experimental)"));
  EXPECT_EQ(form->PaintBox1->size(), QSize(350, 350));
  EXPECT_EQ(form->Eoffset->toolTip(), QStringLiteral("The wires can't overlap"));
}

TEST_F(StraightWindowTest, BothPanelsWriteWhatTheirCommandsWrite) {
  Type("Elength2", "0.5");
  QTest::mouseClick(form->Bcalculate, Qt::LeftButton);
  EXPECT_EQ(report.lines,
            command_run::LinesOf(StraightFieldDefs(), &StraightCommand, {{"Elength2", "0.5"}}));

  report.lines.clear();
  Type("Esn", "4");
  QTest::mouseClick(form->CBdet, Qt::LeftButton);
  QTest::mouseClick(form->Calculate, Qt::LeftButton);
  EXPECT_EQ(report.lines, command_run::LinesOf(SpiralFieldDefs(), &SpiralCommand,
                                                {{"Esn", "4"}, {"CBdet", "1"}}));
  EXPECT_TRUE(errors.empty());
}

TEST_F(StraightWindowTest, CalculateDrawsTheCentreLineAndViewErasesIt) {
  form->PaintBox1->EnsurePainted();
  EXPECT_GT(Count(kLime), 1000);
  EXPECT_EQ(Count(kRed), 0);
  QTest::mouseClick(form->Calculate, Qt::LeftButton);
  EXPECT_GT(Count(kRed), 400);
  QTest::mouseClick(form->Button1, Qt::LeftButton);
  EXPECT_EQ(Count(kRed), 0);
  EXPECT_GT(Count(kLime), 1000);
  // A spiral without valid turns leaves the area blank.
  Type("Esinner", "0");
  QTest::mouseClick(form->Button1, Qt::LeftButton);
  EXPECT_EQ(Count(kLime), 0);
}

TEST_F(StraightWindowTest, AnOverflowEndsCalculateWithItsMessage) {
  // Wires of 1e3000 m: their squared lengths pass the range of the arithmetic, and the
  // infinities that follow make invalid operations. No line shows them.
  Type("Elength1", "1e3000");
  Type("Elength2", "1e3000");
  QTest::mouseClick(form->Bcalculate, Qt::LeftButton);
  EXPECT_EQ(report.lines, (std::vector<std::string>{"", "Inductances of round straight wires"}));
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "Invalid floating point operation");
}
