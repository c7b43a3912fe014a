// File > Save and Load of transformer descriptions, and the unit conversion of the
// main menu over the five windows, driven through the menus with the file dialogs
// replaced.
#include <gtest/gtest.h>

#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "transformer/trd_file.h"
#include "transformer/unit_conversion.h"
#include "ui/application.h"
#include "numerics/library_namespaces.h"

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

class TrdWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TForm1>();
    form->showFault = [this](const QString& m) { faults.push_back(m.toStdString()); };
    form->chooseSaveFile = [this](const QString& initial) {
      proposed.push_back(initial.toStdString());
      return Q(chosen);
    };
    form->chooseOpenFile = form->chooseSaveFile;
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  }
  void TearDown() override { std::remove(path.c_str()); }
  QLineEdit* Edit(const std::string& name) { return form->findChild<QLineEdit*>(Q(name)); }

  const std::string path = ::testing::TempDir() + "quor_window_test.trd";
  std::string chosen = path;
  std::vector<std::string> proposed, faults;
  std::unique_ptr<TForm1> form;
};

}  // namespace

// Save then Load restores every text exactly; Save proposes "test" first and the
// loaded file's name afterwards.
TEST_F(TrdWindowTest, SaveThenLoadRestoresEveryText) {
  const char* const texts[] = {"12.5", "0,1", " 1e-3", "", "0", "1152",
                               "abc", "0.044", "0.045", "-0", "0.001", "2E-4"};
  for (std::size_t i = 0; i < 12; ++i) Edit(TrdFieldNames()[i])->setText(texts[i]);
  form->Ens1->setText(QStringLiteral("33"));
  form->Save1->trigger();
  for (const std::string& name : TrdFieldNames()) Edit(name)->setText(QStringLiteral("9"));
  form->Ens1->setText(QStringLiteral("44"));
  form->Load1->trigger();
  for (std::size_t i = 0; i < 12; ++i) EXPECT_EQ(Edit(TrdFieldNames()[i])->text(), texts[i]);
  EXPECT_EQ(form->Ens1->text(), QStringLiteral("44"));  // segment counts are not stored
  form->Save1->trigger();
  EXPECT_EQ(proposed, (std::vector<std::string>{"test", "test", path}));
  EXPECT_TRUE(faults.empty());
}

// Load counts as metres: Calculate and both conversions enabled, the inputs read and
// the arrangement drawn anew. A ten-line file keeps the wires.
TEST_F(TrdWindowTest, LoadEnablesCalculateReadsAndRedraws) {
  std::ofstream(path, std::ios::binary)
      << "12\r\n0.1\r\n0.05\r\n0.05\r\n0\r\n900\r\n0.3\r\n0.02\r\n0.02\r\n0.01\r\n";
  form->Meterstoinches1->trigger();
  ASSERT_FALSE(form->Bcalc->isEnabled());
  const QString wire1 = form->Ewd1->text();
  const QImage before = form->PaintBox1->Canvas().Image().copy();
  form->Load1->trigger();
  EXPECT_TRUE(form->Bcalc->isEnabled());
  EXPECT_TRUE(form->Inchestometers1->isEnabled());
  EXPECT_TRUE(form->Meterstoinches1->isEnabled());
  EXPECT_EQ(form->Ewd1->text(), wire1);
  EXPECT_EQ(form->Coils().N2, 900);
  EXPECT_EQ(form->Coils().rmin1, 0.05L);
  EXPECT_NE(form->PaintBox1->Canvas().Image(), before);
  EXPECT_TRUE(faults.empty());
}

// Cancelled dialogs change nothing; a file that cannot be read or written ends the
// command with an error box naming it.
TEST_F(TrdWindowTest, CancelAndFileErrors) {
  chosen = "";
  form->Load1->trigger();
  form->Save1->trigger();
  EXPECT_EQ(form->En1->text(), QStringLiteral("12"));
  EXPECT_TRUE(faults.empty());

  chosen = ::testing::TempDir() + "missing dir/a.trd";
  form->Save1->trigger();
  form->Load1->trigger();
  ASSERT_EQ(faults.size(), 2u);
  for (const std::string& f : faults) EXPECT_NE(f.find("missing dir/a.trd"), std::string::npos);
  EXPECT_EQ(form->En1->text(), QStringLiteral("12"));
}

TEST_F(TrdWindowTest, DialogsFilterTrdFilesAndSaveAsksBeforeOverwriting) {
  QFileDialog save, open;
  TForm1::ConfigureTrdDialog(save, true);
  TForm1::ConfigureTrdDialog(open, false);
  EXPECT_EQ(save.acceptMode(), QFileDialog::AcceptSave);
  EXPECT_EQ(save.defaultSuffix(), QStringLiteral("trd"));
  EXPECT_FALSE(save.testOption(QFileDialog::DontConfirmOverwrite));
  EXPECT_EQ(save.nameFilters(), QStringList{"transformer descriptions (.trd) (*.trd)"});
  EXPECT_EQ(open.acceptMode(), QFileDialog::AcceptOpen);
  EXPECT_EQ(open.nameFilters(), QStringList{"transformer descriptions (*.trd)"});
}

// The conversions wait while a true-spiral sum runs (it read its coils when it
// started): their items are disabled and convert nothing, Stop stays usable. Once the
// sum ends they are there again, and a conversion to inches disables Calculate.
TEST_F(TrdWindowTest, ConversionsWaitWhileASumRuns) {
  form->RunningChanged(true);
  EXPECT_FALSE(form->Meterstoinches1->isEnabled());
  EXPECT_FALSE(form->Inchestometers1->isEnabled());
  form->Meterstoinches1Click();
  EXPECT_EQ(form->Eh1->text(), QStringLiteral("0.1"));
  EXPECT_TRUE(form->Bcalc->isEnabled());
  form->RunningChanged(false);
  EXPECT_TRUE(form->Meterstoinches1->isEnabled());
  form->Meterstoinches1->trigger();
  EXPECT_NE(form->Eh1->text(), QStringLiteral("0.1"));
  EXPECT_FALSE(form->Bcalc->isEnabled());
  EXPECT_FALSE(form->Meterstoinches1->isEnabled());
  EXPECT_TRUE(form->Inchestometers1->isEnabled());
}

// One conversion converts the five windows in place, sets their Calculate buttons and
// the two menu items; the way back restores the default texts.
TEST(UnitConversionFrame, ConvertsTheFiveWindows) {
  QuorApplication app;
  TForm1& f = app.Form1();
  QWidget* const windows[] = {&f, &app.Fstraight(), &app.Ftoroid(), &app.Fpartial(),
                              &app.Fdisk()};
  const auto& sets = UnitFieldSets();
  ASSERT_EQ(sets.size(), 5u);
  std::map<std::string, QString> defaults;
  for (std::size_t w = 0; w < 5; ++w)
    for (const auto* names : {&sets[w].lengths, &sets[w].wires})
      for (const std::string& name : *names) {
        auto* edit = windows[w]->findChild<QLineEdit*>(Q(name));
        ASSERT_NE(edit, nullptr) << name;
        defaults[name] = edit->text();
      }
  const int linesBefore = f.Memo1->LineCount();

  f.Meterstoinches1->trigger();
  for (std::size_t w = 0; w < 5; ++w) {
    EXPECT_FALSE(windows[w]->findChild<QPushButton*>(Q(sets[w].button))->isEnabled());
    VectorReport ignored;
    for (const std::string& name : sets[w].lengths)
      EXPECT_EQ(windows[w]->findChild<QLineEdit*>(Q(name))->text().toStdString(),
                MeterToInchText(defaults[name].toStdString(), ignored))
          << name;
  }
  EXPECT_EQ(f.Ewd2->text(), QStringLiteral("32.0831691659837"));
  EXPECT_EQ(f.En1->text(), QStringLiteral("12"));
  EXPECT_FALSE(f.Meterstoinches1->isEnabled());
  EXPECT_TRUE(f.Inchestometers1->isEnabled());
  EXPECT_EQ(f.Memo1->LineCount(), linesBefore);  // no negative gauge among the defaults
  QTest::mouseClick(f.Bcalc, Qt::LeftButton);     // disabled: nothing happens
  EXPECT_EQ(f.Memo1->LineCount(), linesBefore);

  f.Inchestometers1->trigger();
  for (std::size_t w = 0; w < 5; ++w) {
    EXPECT_TRUE(windows[w]->findChild<QPushButton*>(Q(sets[w].button))->isEnabled());
    for (const auto* names : {&sets[w].lengths, &sets[w].wires})
      for (const std::string& name : *names)
        EXPECT_EQ(windows[w]->findChild<QLineEdit*>(Q(name))->text(), defaults[name]) << name;
  }
  EXPECT_TRUE(f.Meterstoinches1->isEnabled());
  EXPECT_FALSE(f.Inchestometers1->isEnabled());

  // Load enables the main window's Calculate, not the others'.
  f.Meterstoinches1->trigger();
  const std::string path = ::testing::TempDir() + "quor_frame_test.trd";
  SaveTrdFile(path, f.Fields());
  f.chooseOpenFile = [&](const QString&) { return Q(path); };
  f.Load1->trigger();
  std::remove(path.c_str());
  EXPECT_TRUE(f.Bcalc->isEnabled());
  EXPECT_FALSE(app.Fstraight().Bcalculate->isEnabled());
}
