// The general structure window driven offscreen: its components, Calculate through
// Bcap, edits, Load and Save through replaced dialogs.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <sys/stat.h>

#include "command_run.h"
#include "electrostatics/structure_capacitance.h"
#include "electrostatics/structure_session.h"
#include "numerics/file_write.h"
#include "platform/paint_box.h"
#include "platform/report_memo.h"
#include "ui/uaxis.h"
#include "numerics/library_namespaces.h"

namespace {

class StructureWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TFcacal>(report, breakdown);
    form->showError = [this](const QString& m) { errors.push_back(m.toStdString()); };
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  }
  std::vector<std::string> NewMessages(int from) {
    const std::vector<std::string> all = form->Mmsg->LinesUtf8();
    return {all.begin() + from, all.end()};
  }
  void SetDescription(const std::vector<std::string>& lines) {
    QStringList text;
    for (const std::string& l : lines) text << QString::fromStdString(l);
    form->Mlista->setPlainText(text.join(QLatin1Char('\n')));
  }
  int Count(Color c) {
    ImageCanvas& canvas = form->PBcacal->Canvas();
    int n = 0;
    for (int y = 0; y < canvas.Height(); ++y)
      for (int x = 0; x < canvas.Width(); ++x) n += canvas.Pixel(x, y) == c;
    return n;
  }
  VectorReport report;  // the main window's Report: this window never writes there
  BreakdownField breakdown;
  std::vector<std::string> errors;
  std::unique_ptr<TFcacal> form;
};

}  // namespace

TEST_F(StructureWindowTest, StartsWithTheSampleTheHelpAndIdlePlotControls) {
  EXPECT_EQ(form->windowTitle(), QStringLiteral("Electrostatic calculations"));
  EXPECT_EQ(form->MlistaLines(), StructureSampleLines());
  EXPECT_EQ(form->Mmsg->LinesUtf8(), StructureHelpLines());
  const std::pair<const char*, const char*> captions[] = {
      {"Bview", "View"}, {"Bcap", "Calculate"}, {"Bplotar", "Plot"}, {"Bstop", "Stop"}};
  for (const auto& [name, caption] : captions)
    EXPECT_EQ(form->findChild<QPushButton*>(name)->text(), QString::fromUtf8(caption)) << name;
  EXPECT_FALSE(form->Bplotar->isEnabled());
  EXPECT_FALSE(form->Bstop->isEnabled());
  EXPECT_TRUE(form->CBrapido->isChecked());
  EXPECT_FALSE(form->CBlistar->isChecked());
  EXPECT_FALSE(form->CBlegend->isChecked());
  EXPECT_EQ(form->Eemax->text(), QStringLiteral("1"));
  EXPECT_EQ(form->CBplotar->count(), 4);
  EXPECT_EQ(form->CBplotar->currentText(), QStringLiteral("Potential V"));
  EXPECT_EQ(form->PBcacal->size(), QSize(481, 481));
  for (const char* name : {"Bmais", "Bmenos", "Bleft", "Bright", "Button1", "Bdown", "StatusBar1",
                           "Label1", "Load1", "Save1"})
    EXPECT_NE(form->findChild<QObject*>(name), nullptr) << name;
  // The first paint parses the sample and draws it: red elements, grey mirror.
  QApplication::processEvents();
  EXPECT_TRUE(form->Parsed());
  EXPECT_GT(Count(kRed), 200);
  EXPECT_GT(Count(kGray), 200);
}

TEST_F(StructureWindowTest, CalculateAppendsTheCommandsLinesAndEnablesPlot) {
  const int before = form->Mmsg->LineCount();
  QTest::mouseClick(form->Bcap, Qt::LeftButton);
  EXPECT_EQ(NewMessages(before),
            command_run::LinesOf(StructureWindowFieldDefs(), &StructureCommand, {},
                                 command_run::WithBreakdown(breakdown.Emax)));
  EXPECT_EQ(form->Eemax->text(), QStringLiteral(" 3.2058"));
  EXPECT_TRUE(form->Bplotar->isEnabled());
  EXPECT_TRUE(report.lines.empty());
  EXPECT_GT(Count(kBlue), 100);  // the rings' cross-sections
  EXPECT_EQ(form->Results().rings.size(), 60u);

  // An edit makes the tables stale and the plot unavailable.
  form->Mlista->appendPlainText(QStringLiteral("Lplus extra 2 0 2 1 2"));
  EXPECT_FALSE(form->Parsed());
  EXPECT_FALSE(form->Bplotar->isEnabled());
  // A parse error is the only line: nothing is computed from a half-read table.
  SetDescription({"Ltop a 2 0 0 1 0", "Qbad"});
  const int again = form->Mmsg->LineCount();
  QTest::mouseClick(form->Bcap, Qt::LeftButton);
  EXPECT_EQ(NewMessages(again), std::vector<std::string>{"Unknown element: Qbad"});
  EXPECT_FALSE(form->Bplotar->isEnabled());
  EXPECT_TRUE(errors.empty());
}

TEST_F(StructureWindowTest, SaveAndLoadThroughTheDialogs) {
  const QString path = QString::fromStdString(::testing::TempDir()) + "window_test.cap";
  QString offered;
  form->chooseSaveFile = [&](const QString& initial) {
    offered = initial;
    return path;
  };
  form->chooseOpenFile = [&](const QString&) { return path; };
  SetDescription({"* two lines", "Ltop a 3 0 1 1 1", "Lbottom b 3 0 0 1 0 "});
  const int before = form->Mmsg->LineCount();
  form->Save1->trigger();
  EXPECT_EQ(offered, QStringLiteral("test.cap"));
  EXPECT_EQ(ReadWholeFile(path.toStdString()), "* two lines\r\nLtop a 3 0 1 1 1\r\nLbottom b 3 0 0 1 0 \r\n");

  SetDescription({"Lother x 1 0 0 1 0"});
  QTest::mouseClick(form->Bcap, Qt::LeftButton);
  ASSERT_TRUE(form->Bplotar->isEnabled());
  const int loaded = form->Mmsg->LineCount();
  form->Load1->trigger();
  EXPECT_EQ(form->MlistaLines(),
            (std::vector<std::string>{"* two lines", "Ltop a 3 0 1 1 1", "Lbottom b 3 0 0 1 0 "}));
  EXPECT_FALSE(form->Bplotar->isEnabled());
  EXPECT_TRUE(form->Parsed());  // parsed at once for the view
  EXPECT_EQ(form->View().ZMax, 1);
  const std::vector<std::string> messages = NewMessages(before);
  EXPECT_EQ(messages.front(), "Description saved in file " + path.toStdString());
  EXPECT_EQ(NewMessages(loaded),
            std::vector<std::string>{"Loading description from file " + path.toStdString()});

  // A file that cannot be read: an error box, the description unchanged.
  form->chooseOpenFile = [&](const QString&) { return path + ".missing"; };
  form->Load1->trigger();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("window_test.cap.missing"), std::string::npos);
  EXPECT_EQ(form->MlistaLines().size(), 3u);
  // Cancelled dialogs do nothing.
  form->chooseOpenFile = [](const QString&) { return QString(); };
  const int count = form->Mmsg->LineCount();
  form->Load1->trigger();
  EXPECT_EQ(form->Mmsg->LineCount(), count);
}

// The window reads files with the same line reader as quor-cli, and a file that is no
// description (an endless device, a pipe with no writer) is refused by name at once,
// without touching the unsaved text.
TEST_F(StructureWindowTest, LoadReadsAnyLineEndsAndRefusesWhatIsNoFile) {
  std::string dir = ::testing::TempDir() + "quor_window_files_XXXXXX";
  ASSERT_NE(::mkdtemp(dir.data()), nullptr);
  const std::string cr = dir + "/cr.cap", fifo = dir + "/pipe.cap";
  WriteFileAtomically(cr, "\xEF\xBB\xBF* two plates\rLa a 2 0 1 1 1\rLb b 2 0 0 1 0\r");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  QString chosen;
  form->chooseOpenFile = [&](const QString&) { return chosen; };
  chosen = QString::fromStdString(cr);
  form->Load1->trigger();
  const std::vector<std::string> lines = {"* two plates", "La a 2 0 1 1 1", "Lb b 2 0 0 1 0"};
  EXPECT_EQ(form->MlistaLines(), lines);
  EXPECT_TRUE(form->Parsed());

  SetDescription({"* unsaved work", "Lx x 1 0 0 1 0"});
  for (const std::string& path : {std::string("/dev/zero"), fifo}) {
    errors.clear();
    chosen = QString::fromStdString(path);
    form->Load1->trigger();
    ASSERT_EQ(errors.size(), 1u) << path;
    EXPECT_NE(errors[0].find("Cannot read file " + path + ": a "), std::string::npos) << errors[0];
    EXPECT_EQ(form->MlistaLines(), (std::vector<std::string>{"* unsaved work", "Lx x 1 0 0 1 0"}));
  }
}

TEST_F(StructureWindowTest, PlotControlsTakeTheirOwnPlaceInTheWindow) {
  EXPECT_EQ(form->CBcontours->text(), QStringLiteral("Contours"));
  EXPECT_EQ(form->CBaxes->text(), QStringLiteral("Axes"));
  EXPECT_EQ(form->Bsaveplot->text(), QStringLiteral("Save plot..."));
  EXPECT_FALSE(form->CBcontours->isChecked());
  EXPECT_FALSE(form->CBaxes->isChecked());
  EXPECT_TRUE(form->Bsaveplot->isEnabled());
  // No two controls of the window cover each other, and all lie inside it.
  std::vector<QWidget*> controls;
  for (QWidget* w : form->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
    if (w->isVisible()) controls.push_back(w);
  ASSERT_GT(controls.size(), 20u);
  for (std::size_t i = 0; i < controls.size(); ++i) {
    EXPECT_TRUE(form->rect().contains(controls[i]->geometry())) << controls[i]->objectName().toStdString();
    for (std::size_t j = i + 1; j < controls.size(); ++j)
      EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
          << controls[i]->objectName().toStdString() << " " << controls[j]->objectName().toStdString();
  }
}
