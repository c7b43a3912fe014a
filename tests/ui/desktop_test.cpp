// The desktop conventions of the windows: Enter, Escape, the Report's Clear and Save
// as, fields marked while malformed, enlarged windows, the Help menu, and a long
// command computed off the window's thread.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "command_run.h"
#include "electrostatics/conical_sheet.h"
#include "electrostatics/spheres.h"
#include "electrostatics/toroid_command.h"
#include "elliptic_test/elliptic_tables.h"
#include "numerics/fields.h"
#include "quor_version.h"
#include "transformer/couplings.h"
#include "transformer/coil_pair.h"
#include "transformer/driver.h"
#include "transformer/drawing.h"
#include "platform/image_canvas.h"
#include "ui/application.h"
#include "ui/desktop.h"
#include "numerics/library_namespaces.h"

namespace {

void Type(QLineEdit* e, const QString& text) {
  e->selectAll();
  QTest::keyClick(e, Qt::Key_Backspace);
  QTest::keyClicks(e, text);
}

// The lines a Report gained since it held `before` lines.
std::vector<std::string> LinesSince(const std::vector<std::string>& all, std::size_t before) {
  return {all.begin() + static_cast<std::ptrdiff_t>(std::min(before, all.size())), all.end()};
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class Desktop : public ::testing::Test {
 protected:
  void SetUp() override {
    app = std::make_unique<QuorApplication>();
    memo = app->Form1().Memo1;
    for (QWidget* w : app->Windows())
      if (auto* f = dynamic_cast<SecondaryForm*>(w))
        f->showError = [this](const QString& m) { errors << m; };
  }
  std::vector<std::string> Lines() { return memo->LinesUtf8(); }

  std::unique_ptr<QuorApplication> app;
  ReportMemo* memo = nullptr;
  QStringList errors;
};

}  // namespace

// Enter in a field runs the command of the field's window (of its panel, where a window
// has two): the Report gains exactly the lines the command gives for the fields shown.
TEST_F(Desktop, EnterRunsTheWindowsCommandOnItsFields) {
  struct Row {
    QWidget* form;
    const char* field;
    const std::vector<FieldDef>& defs;
    CommandFunction command;
    std::function<FieldValues()> fields;
  };
  const Row rows[] = {
      {&app->Form1(), "Eh2", TransformerFieldDefs(), &TransformerCommand,
       [this] { return app->Form1().Fields(); }},
      {&app->Form2(), "Enk", CompleteIntegralsFieldDefs(), &CompleteIntegralsCommand,
       [this] { return app->Form2().Fields(); }},
      {&app->Form2(), "Ephi2", IncompleteIntegralsFieldDefs(), &IncompleteIntegralsCommand,
       [this] { return app->Form2().Fields(); }},
      {&app->Ftoroid(), "Eminor", ToroidFieldDefs(), &ToroidCommand,
       [this] { return app->Ftoroid().Fields(); }},
      {&app->Fdisk(), "Ensheet", SheetFieldDefs(), &SheetCommand,
       [this] { return app->Fdisk().Fields(); }},
      {&app->Fesferas(), "Edistance", SpheresFieldDefs(), &SpheresCommand,
       [this] { return app->Fesferas().Fields(); }},
  };
  for (const Row& row : rows) {
    auto* edit = row.form->findChild<QLineEdit*>(QString::fromUtf8(row.field));
    ASSERT_NE(edit, nullptr) << row.field;
    const std::size_t before = Lines().size();
    QTest::keyClick(edit, Qt::Key_Return);
    const std::vector<std::string> expected = command_run::LinesOf(
        row.defs, row.command, row.fields(), command_run::WithBreakdown(3000));
    ASSERT_FALSE(expected.empty()) << row.field;
    EXPECT_EQ(LinesSince(Lines(), before), expected) << row.field;
  }
  EXPECT_TRUE(errors.isEmpty());
}

// A command that may not run now stays so: fields in inches leave Calculate disabled,
// and Enter does nothing either.
TEST_F(Desktop, EnterLeavesADisabledCommandAlone) {
  app->Form1().Meterstoinches1->trigger();
  ASSERT_FALSE(app->Form1().Bcalc->isEnabled());
  const std::size_t before = Lines().size();
  QTest::keyClick(app->Form1().En1, Qt::Key_Enter);
  EXPECT_EQ(Lines().size(), before);
}

TEST_F(Desktop, EscapeHidesASecondaryWindowWithItsFields) {
  TFtoroid& form = app->Ftoroid();
  ShowForm(&form);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  Type(form.Emajor, QStringLiteral("1.5"));
  QTest::keyClick(form.Emajor, Qt::Key_Escape);
  EXPECT_FALSE(form.isVisible());
  ShowForm(&form);
  EXPECT_EQ(form.Emajor->text(), QStringLiteral("1.5"));
}

// Save Report as writes every kept line, in UTF-8, each ended by a line feed; Clear
// empties the Report, which then takes new lines as before.
TEST_F(Desktop, SaveReportAsWritesTheLinesAndClearEmptiesIt) {
  const std::string path =
      (std::filesystem::temp_directory_path() / "quor_desktop_report.txt").string();
  ReportLine(*memo, "Capacity 12.5 \xC2\xB5" "F, \xCE\xB5r=1");  // µ and ε, two bytes each
  const std::vector<std::string> lines = Lines();
  ASSERT_GT(lines.size(), 40u);  // the title, the version and the introduction first
  std::string expected;
  for (const std::string& line : lines) expected += line + "\n";

  QString proposed;
  memo->chooseSaveFile = [&](const QString& initial) {
    proposed = initial;
    return QString::fromStdString(path);
  };
  app->Form1().findChild<QAction*>(QStringLiteral("SaveReport1"))->trigger();
  EXPECT_EQ(proposed, QStringLiteral("report.txt"));
  EXPECT_EQ(ReadFile(path), expected);

  // A file that cannot be written: the error box, the Report untouched.
  QStringList memoErrors;
  memo->showError = [&](const QString& m) { memoErrors << m; };
  memo->chooseSaveFile = [](const QString&) { return QStringLiteral("/nonexistent/dir/r.txt"); };
  memo->SaveAction()->trigger();
  ASSERT_EQ(memoErrors.size(), 1);
  EXPECT_TRUE(memoErrors[0].startsWith(QStringLiteral("Cannot write file")));
  EXPECT_EQ(Lines(), lines);

  app->Form1().findChild<QAction*>(QStringLiteral("ClearReport1"))->trigger();
  EXPECT_EQ(memo->LineCount(), 0);
  EXPECT_TRUE(memo->toPlainText().isEmpty());
  app->Form1().OptimalTeslacoilcouplings1->trigger();
  EXPECT_EQ(Lines(), command_run::LinesOf(CouplingsFieldDefs(), &CouplingsCommand));
  std::filesystem::remove(path);
}

// A field is marked exactly when the command would refuse its text, and the mark
// goes when the text is fixed: the tooltip then is the field's hint again.
TEST_F(Desktop, MalformedNumberFieldsAreMarkedWhileTyped) {
  TForm1& form = app->Form1();
  const std::string hint = form.Ewd1->toolTip().toStdString();
  const struct {
    QLineEdit* edit;
    const char* text;
    bool marked;
  } rows[] = {
      {form.Ewd1, "0,08", true},  {form.Ewd1, "0.08", false}, {form.Ewd1, " 0.08 ", false},
      {form.Ewd1, "", false},     {form.Ewd1, "1e", true},    {form.Ewd1, "8e-2", false},
      {form.Ewd1, "0.0.8", true}, {form.Ewd1, "0.08", false}, {form.Ens1, "2.5", true},
      {form.Ens1, "25", false},
  };
  for (const auto& row : rows) {
    Type(row.edit, QString::fromUtf8(row.text));
    EXPECT_EQ(MarkedInvalid(row.edit), row.marked) << row.text;
    // The same rule as the refusal of a command.
    EXPECT_EQ(InvalidNumberLine(TransformerFieldDefs(), form.Fields()).has_value(), row.marked)
        << row.text;
    if (row.marked)
      EXPECT_EQ(row.edit->toolTip(),
                QStringLiteral("Not a number: ") + QString::fromUtf8(row.text));
    else
      EXPECT_FALSE(row.edit->toolTip().startsWith(QStringLiteral("Not a number")));
  }
  Type(form.Ewd1, QStringLiteral("0,08"));
  EXPECT_NE(form.Ewd1->styleSheet(), QString());  // the red frame
  Type(form.Ewd1, QStringLiteral("0.08"));
  EXPECT_EQ(form.Ewd1->toolTip().toStdString(), hint);
  EXPECT_EQ(form.Ewd1->styleSheet(), QString());

  // A text set by the program (a load, a conversion) counts as typed.
  TFtoroid& toroid = app->Ftoroid();
  toroid.Emajor->setText(QStringLiteral("1,2"));
  EXPECT_TRUE(MarkedInvalid(toroid.Emajor));
  toroid.Emajor->setText(QStringLiteral("1.2"));
  EXPECT_FALSE(MarkedInvalid(toroid.Emajor));
}

// An enlarged window: the text areas take the growth, the drawing areas keep their
// pixels (and their images); no window gets smaller than designed.
TEST_F(Desktop, EnlargedWindowsGrowTheirTextAreasOnly) {
  TForm1& form = app->Form1();
  form.show();
  const QSize memo0 = form.Memo1->size();
  const QRect paint0 = form.PaintBox1->geometry();
  form.resize(TForm1::kWidth + 200, TForm1::kHeight + 120);
  EXPECT_EQ(form.Memo1->size(), memo0 + QSize(200, 120));
  EXPECT_EQ(form.PaintBox1->size(), paint0.size());
  EXPECT_EQ(form.PaintBox1->Canvas().Image().size(), paint0.size());
  EXPECT_EQ(form.PaintBox1->y(), paint0.y());
  // Still beside the Report, not over it.
  EXPECT_GT(form.PaintBox1->x(), form.Memo1->geometry().right());
  form.resize(100, 100);
  EXPECT_EQ(form.size(), QSize(TForm1::kWidth, TForm1::kHeight));
  EXPECT_EQ(form.Memo1->size(), memo0);

  TFcacal& cacal = app->Fcacal();
  cacal.show();
  const QSize list0 = cacal.Mlista->size(), msg0 = cacal.Mmsg->size();
  const QRect area0 = cacal.PBcacal->geometry();
  cacal.resize(TFcacal::kWidth + 100, TFcacal::kHeight + 200);
  EXPECT_EQ(cacal.Mlista->size(), list0 + QSize(100, 100));
  EXPECT_EQ(cacal.Mmsg->size(), msg0 + QSize(100, 100));
  EXPECT_EQ(cacal.Mmsg->geometry().bottom(), cacal.height() - 1 - 4);
  EXPECT_EQ(cacal.PBcacal->size(), area0.size());
  EXPECT_EQ(cacal.Bcap->y(), cacal.Mlista->geometry().bottom() + 1 + 6);
  EXPECT_EQ(cacal.StatusBar1->x(), cacal.PBcacal->x());
  EXPECT_EQ(cacal.minimumSize(), QSize(TFcacal::kWidth, TFcacal::kHeight));
}

// A long table of elliptic integrals by Simpson's rule runs on a worker thread: while
// it runs the window's commands are disabled and show that it is busy, a click on them
// is dropped, and the Report receives the same lines, in the same order, as the command
// run on its own.
TEST_F(Desktop, ALongEllipticTableRunsOffTheWindowsThread) {
  TForm2& form = app->Form2();
  form.CBSimpson->setChecked(true);
  Type(form.Enk, QStringLiteral("40"));
  const FieldValues fields = form.Fields();
  const std::vector<std::string> expected =
      command_run::LinesOf(CompleteIntegralsFieldDefs(), &CompleteIntegralsCommand, fields);
  ASSERT_GT(expected.size(), 100u);  // three lines a row

  bool looked = false;
  form.Background().whileRunning = [&] {
    looked = true;
    EXPECT_TRUE(form.Background().Busy());
    for (QWidget* w : std::initializer_list<QWidget*>{form.Button1, form.Button2, form.Enk,
                                                      form.CBSimpson, form.Eask1})
      EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(form.Background().BusyBar()->isVisibleTo(&form));
    EXPECT_TRUE(form.Background().StopButton()->isVisibleTo(&form));
    EXPECT_TRUE(form.Background().StopButton()->isEnabled());
    EXPECT_EQ(form.cursor().shape(), Qt::BusyCursor);
    form.Button1->click();  // dropped, and not run afterwards
    QTest::keyClick(form.Ek1, Qt::Key_Return);
  };
  const std::size_t before = Lines().size();
  form.Button1->click();
  EXPECT_TRUE(looked);
  EXPECT_EQ(LinesSince(Lines(), before), expected);
  EXPECT_FALSE(form.Background().Busy());
  for (QWidget* w : std::initializer_list<QWidget*>{form.Button1, form.Button2, form.Enk})
    EXPECT_TRUE(w->isEnabled());
  EXPECT_FALSE(form.Background().BusyBar()->isVisibleTo(&form));
  EXPECT_NE(form.cursor().shape(), Qt::BusyCursor);
  // The series box keeps the state the radio group gives it.
  EXPECT_TRUE(form.CBserie->isEnabled());
}

// Stop ends the table between two rows: the lines so far are the table's first
// ones, and "Interrupted" follows them.
TEST_F(Desktop, StopEndsALongTableBetweenRows) {
  TForm2& form = app->Form2();
  form.CBSimpson->setChecked(true);
  Type(form.Enk, QStringLiteral("200"));
  const std::vector<std::string> full = command_run::LinesOf(
      CompleteIntegralsFieldDefs(), &CompleteIntegralsCommand, form.Fields());
  form.Background().whileRunning = [&] { form.Background().StopButton()->click(); };
  const std::size_t before = Lines().size();
  form.Button1->click();
  const std::vector<std::string> got = LinesSince(Lines(), before);
  ASSERT_GE(got.size(), 2u);
  EXPECT_LT(got.size(), full.size());
  EXPECT_EQ(got.back(), "Interrupted");
  EXPECT_TRUE(std::equal(got.begin(), got.end() - 1, full.begin()));
  EXPECT_TRUE(form.Button1->isEnabled());
}

// The structure window's Calculate runs off its thread too: same messages, the same
// drawing on its area, the plot enabled after it.
TEST_F(Desktop, StructureCalculateOffTheThreadGivesTheSameMessagesAndDrawing) {
  TFcacal& form = app->Fcacal();
  form.show();
  form.PBcacal->EnsurePainted();
  // The reference: the same session calculated here, drawing over the view shown.
  ImageCanvas canvas(TFcacal::kAreaSize, TFcacal::kAreaSize);
  canvas.SetImage(form.PBcacal->Canvas().Image());
  CommandEnv env = command_run::WithBreakdown(3000);
  env.canvas = &canvas;
  StructureSession session;
  session.SetDescription(form.MlistaLines());
  const Result direct = RunCommand(
      StructureFieldDefs(),
      [&](const FieldValues&, CommandEnv& e) { return session.Calculate(false, e); }, {}, env);
  ASSERT_TRUE(direct.Ok());

  bool busy = false;
  form.Background().whileRunning = [&] {
    busy = !form.Bcap->isEnabled() && !form.Bview->isEnabled() && form.Mlista->isReadOnly() &&
           !form.Load1->isEnabled() && form.Exit1->isEnabled() &&
           form.Mmsg->SaveAction()->isEnabled();
  };
  const std::size_t before = form.Mmsg->LinesUtf8().size();
  form.Bcap->click();
  EXPECT_TRUE(busy);
  EXPECT_EQ(LinesSince(form.Mmsg->LinesUtf8(), before), direct.lines);
  EXPECT_EQ(form.PBcacal->Canvas().Image(), canvas.Image());
  EXPECT_TRUE(form.Bplotar->isEnabled());
  EXPECT_TRUE(form.Bcap->isEnabled());
  EXPECT_FALSE(form.Mlista->isReadOnly());
}

TEST_F(Desktop, HelpOpensTheGuideAndNamesVersionAndLicences) {
  HelpMenu* help = app->Form1().Help1;
  QUrl opened;
  help->openUrl = [&](const QUrl& url) {
    opened = url;
    return true;
  };
  QString title, text;
  help->showMessage = [&](const QString& t, const QString& m) { title = t, text = m; };
  help->Userguide1->trigger();
  // The guide beside the build when none is installed; the file it opens exists.
  ASSERT_TRUE(opened.isLocalFile()) << text.toStdString();
  EXPECT_TRUE(opened.toLocalFile().endsWith(QStringLiteral("docs/guide.md")));
  EXPECT_TRUE(std::filesystem::is_regular_file(opened.toLocalFile().toStdString()));

  help->Aboutquor1->trigger();
  EXPECT_EQ(title, QStringLiteral("About quor"));
  const std::string about = text.toStdString();
  for (const char* part : {"quor " QUOR_VERSION, "LGPL", "Mozilla Public License 2.0",
                           "Boost Software License 1.0"})
    EXPECT_NE(about.find(part), std::string::npos) << part;
  EXPECT_NE(app->Fcacal().Help1, nullptr);  // the structure window has the same menu
}

// Ctrl+O loads, Ctrl+S saves and Ctrl+Q ends the program, in the main window and in the
// structure window, each with its own files.
TEST_F(Desktop, FileKeysOfTheMainAndTheStructureWindow) {
  QStringList asked;
  TForm1& main = app->Form1();
  TFcacal& cacal = app->Fcacal();
  main.chooseOpenFile = [&](const QString&) { return asked << "main open", QString(); };
  main.chooseSaveFile = [&](const QString&) { return asked << "main save", QString(); };
  cacal.chooseOpenFile = [&](const QString&) { return asked << "cacal open", QString(); };
  cacal.chooseSaveFile = [&](const QString&) { return asked << "cacal save", QString(); };
  int ended = 0;
  main.onTerminate = [&] { ++ended; };
  for (QWidget* w : std::initializer_list<QWidget*>{&main, &cacal}) {
    ShowForm(w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    QTest::keyClick(w, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(w, Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(w, Qt::Key_Q, Qt::ControlModifier);
  }
  EXPECT_EQ(asked, (QStringList{"main open", "main save", "cacal open", "cacal save"}));
  EXPECT_EQ(ended, 2);
}

// Calculate of a conical secondary with circular turns (listed ring pair by ring pair)
// runs off the main window's thread: the same lines as the command run on its own, and
// the same picture as the command drawing over the arrangement on the window's thread.
TEST_F(Desktop, MainWindowCalculateOffTheThreadListsAndDrawsAsOnIt) {
  TForm1& form = app->Form1();
  form.show();
  Type(form.En2, QStringLiteral("60"));
  Type(form.Es2, QStringLiteral("0.2"));
  form.Bview->click();
  const FieldValues fields = form.Fields();

  // The reference: the arrangement painted and the command drawing over it, here.
  ImageCanvas canvas(kArrangementSize, kArrangementSize);
  ScreenMapping mapping;
  CoilPair coils;
  ReadTransformerInputs(fields, coils);
  PaintArrangement(canvas, coils, mapping);
  CommandEnv env;
  env.canvas = &canvas;
  env.mapping = &mapping;
  const Result direct = RunCommand(TransformerFieldDefs(), &TransformerCommand, fields, env);
  ASSERT_GT(direct.lines.size(), 3600u);  // 60 x 60 ring pairs of L2

  bool busy = false;
  form.Background().whileRunning = [&] {
    busy = !form.Bcalc->isEnabled() && !form.Bview->isEnabled() && !form.Load1->isEnabled() &&
           !form.En1->isEnabled() && form.Exit1->isEnabled() &&
           form.Generalcasewithaxialsymmetry1->isEnabled() &&
           form.Background().StopButton()->isVisibleTo(&form);
  };
  const std::size_t before = Lines().size();
  form.Bcalc->click();
  EXPECT_TRUE(busy);
  EXPECT_EQ(LinesSince(Lines(), before), direct.lines);
  EXPECT_EQ(form.PaintBox1->Canvas().Image(), canvas.Image());
  EXPECT_TRUE(form.Bcalc->isEnabled());
  EXPECT_TRUE(form.Load1->isEnabled());
}

// Stop ends a toroid table between two rows: the values listed so far stay, followed by
// "Interrupted", and no table file is written (an unfinished table is no table).
TEST_F(Desktop, StopEndsAToroidTableWithoutAFile) {
  TFtoroid& form = app->Ftoroid();
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / "quor_desktop_toroid_table";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  form.tableDirectory = dir.string();
  form.CBtabela->setChecked(true);
  Type(form.Emajorto, QStringLiteral("2"));
  Type(form.Eminorto, QStringLiteral("0.5"));
  Type(form.En1, QStringLiteral("300"));
  Type(form.En2, QStringLiteral("300"));
  CommandEnv env = command_run::WithBreakdown(3000);
  env.directory = dir.string();
  const std::vector<std::string> full =
      command_run::LinesOf(ToroidFieldDefs(), &ToroidCommand, form.Fields(), env);
  ASSERT_EQ(full.back(), "Table saved in file toroid.dat");
  std::filesystem::remove(dir / "toroid.dat");

  form.Background().whileRunning = [&] { form.Background().StopButton()->click(); };
  const std::size_t before = Lines().size();
  form.Btoroid->click();
  const std::vector<std::string> got = LinesSince(Lines(), before);
  ASSERT_GE(got.size(), 2u);
  EXPECT_EQ(got.back(), "Interrupted");
  EXPECT_TRUE(std::equal(got.begin(), got.end() - 1, full.begin()));
  EXPECT_FALSE(std::filesystem::exists(dir / "toroid.dat"));
  EXPECT_TRUE(form.Btoroid->isEnabled());
  std::filesystem::remove_all(dir);
}

// Stop ends the ring-by-ring sums of a conical secondary between two rows: the lines
// so far are the command's first ones, "Interrupted" follows, and no L2, M or k.
TEST_F(Desktop, StopEndsTheMainWindowsRingSumsBetweenRows) {
  TForm1& form = app->Form1();
  Type(form.En2, QStringLiteral("600"));
  Type(form.Es2, QStringLiteral("0.2"));
  const std::vector<std::string> full =
      command_run::LinesOf(TransformerFieldDefs(), &TransformerCommand, form.Fields());
  form.Background().whileRunning = [&] { form.Background().StopButton()->click(); };
  const std::size_t before = Lines().size();
  form.Bcalc->click();
  const std::vector<std::string> got = LinesSince(Lines(), before);
  ASSERT_GE(got.size(), 2u);
  EXPECT_LT(got.size(), full.size());
  EXPECT_EQ(got.back(), "Interrupted");
  EXPECT_TRUE(std::equal(got.begin(), got.end() - 1, full.begin()));
  EXPECT_TRUE(form.Bcalc->isEnabled());
}

// A unit conversion while a window's command runs converts its fields and leaves its
// Calculate as the conversion says once the command ends (disabled in inches).
TEST_F(Desktop, AConversionDuringARunDecidesCalculateAfterIt) {
  TForm2& elliptic = app->Form2();
  TFtoroid& toroid = app->Ftoroid();
  toroid.CBdetails->setChecked(true);
  // The toroid's own run, with the conversion to inches clicked meanwhile.
  toroid.Background().whileRunning = [&] { app->Form1().Meterstoinches1->trigger(); };
  toroid.Btoroid->click();
  EXPECT_FALSE(toroid.Btoroid->isEnabled());
  EXPECT_NE(toroid.Emajor->text(), QStringLiteral("0.9"));  // converted to inches
  EXPECT_TRUE(toroid.Emajorto->isEnabled() == toroid.CBtabela->isChecked());
  toroid.Background().whileRunning = nullptr;
  // Back to metres while another window runs: the toroid's Calculate at once.
  elliptic.Background().whileRunning = [&] { app->Form1().Inchestometers1->trigger(); };
  elliptic.Button1->click();
  EXPECT_TRUE(toroid.Btoroid->isEnabled());
  EXPECT_TRUE(elliptic.Button1->isEnabled());
}
