#include "ui/quoru.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

#include "numerics/arithmetic_fault.h"
#include "numerics/file_write.h"
#include "platform/qt_event_pump.h"
#include "quor_version.h"
#include "transformer/drawing.h"
#include "transformer/couplings.h"
#include "transformer/driver.h"
#include "transformer/self_capacitance.h"
#include "transformer/trd_file.h"
#include "ui/background_command.h"
#include "ui/desktop.h"
#include "ui/form.h"
#include "numerics/library_namespaces.h"

const char* const TForm1::kTitleLine = "quor - air-core transformer and electrostatics calculator";
const char* const TForm1::kVersionLine = "Version " QUOR_VERSION;

namespace {

// What the Report says at start, after the title and version lines.
const char* const kIntroduction[] = {
    "",
    "The main function of this program is to compute inductances and mutual",
    "inductances in an air-core transformer with single layer coaxial solenoidal,",
    "flat, or conical coils of round wire, with uniform currents in the wires.",
    "In the default setting, inductances and mutual inductances are calculated",
    "by Maxwell's method, assuming circular turns, from precise expressions using",
    "elliptic integrals.",
    "Calculations from several approximate formulas are also listed.",
    "The calculations can also be done by direct numerical integration assuming",
    "true spirals with noninteger numbers of turns if the use of circular turns",
    "is turned off, but the calculations are slow.",
    "The mutual inductance can be calculated by Jones' method, that considers",
    "the primary coil as a true solenoid, possibly with noninteger number of turns.",
    "1 turn primary coils with several wire loops in parallel can be analyzed too.",
    "The program calculates the operating mode, that is the ratio of the two",
    "resonances in a tuned Tesla transformer.",
    "The same can be calculated for Oudin coils, that have the primary and",
    "secondary coils interconnected, as an autotransformer.",
    "All dimensions in meters, wire center to wire center. It's possible to enter",
    "the sizes in inches and the wire diameters in AWG, and convert to meters",
    "before the calculation.",
    "Other calculations implemented in the program:",
    "- Elliptic functions.",
    "- Inductances and mutual inductances of straight wires.",
    "- Inductance of square spiral coil.",
    "- Optimum coupling coefficients for Tesla coils.",
    "Several electrostatic calculations are also implemented:",
    "- Exact capacitance of a toroid in free space and exact maximum electric field.",
    "- Exact capacitances of sphere, disk, hollow hemisphere, closed",
    "  hemisphere, two spheres in contact, prolate spheroid, and oblate",
    "  spheroid.",
    "- Approximate capacitances of some geometrical figures.",
    "- Approximate capacitances of some combinations of spheres.",
    "- Exact maximum electric field between two spheres, their",
    "  capacitance matrix, and several capacitances.",
    "- Approximate capacitance of a partial toroid decomposed in thin rings,",
    "  and electric fields at the surface.",
    "- Approximate capacitance of a conical sheet decomposed in thin rings.",
    "- Approximate capacitance matrix of a set of objects described by lines",
    "  and curves with axial symmetry, charges, forces, and electric fields at the",
    "  surfaces.",
    "- Color plots of potential and electric field for this case.",
};

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Form geometry, in pixels of the client area below the menu bar.
constexpr int kGroupTop = 2;
constexpr int kGroupHeight = 204;
constexpr int kCoilGroupWidth = 224;
constexpr int kOptionsGroupLeft = 460;
constexpr int kOptionsGroupWidth = 270;
constexpr int kBottomTop = 210;  // Report and drawing
constexpr int kMemoWidth = 393;
constexpr int kMemoHeight = 297;
constexpr int kFieldRowTop = 20;
constexpr int kFieldRowStep = 30;
constexpr int kLabelLeft = 8;
constexpr int kEditLeft = 118;
constexpr int kEditWidth = 96;
constexpr int kEditHeight = 21;
constexpr int kSegLeft = 150;  // segment counts, beside the option boxes

void SetTextColor(QWidget* w, Qt::GlobalColor c) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::WindowText, c);
  w->setPalette(pal);
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("quor"));
  setFont(FormFont());

  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("Form1Client"));
  setCentralWidget(central);

  BuildInputs(central);

  Memo1 = new ReportMemo(central);
  Memo1->setObjectName(QStringLiteral("Memo1"));
  Memo1->setGeometry(4, kBottomTop, kMemoWidth, kMemoHeight);
  // The Report in the narrower faces of the classic 8-point sans-serif metrics where
  // one is installed: its lines of labels and numbers (up to some 70 characters) then
  // fit the width of the area instead of breaking in the middle of a value.
  QFont reportFont = font();
  reportFont.setFamilies({QStringLiteral("Arial"), QStringLiteral("Helvetica"),
                          QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"),
                          reportFont.family()});
  Memo1->setFont(reportFont);
  QStringList intro{QString::fromUtf8(kTitleLine), QString::fromUtf8(kVersionLine)};
  for (const char* line : kIntroduction) intro << QString::fromUtf8(line);
  Memo1->SetLines(intro);

  PaintBox1 = new PaintBox(kArrangementSize, kArrangementSize, central);
  PaintBox1->setObjectName(QStringLiteral("PaintBox1"));
  PaintBox1->move(kWidth - 4 - kArrangementSize, kBottomTop);
  PaintBox1->setToolTip(QStringLiteral("Arrangement of the coils, in scale"));
  PaintBox1->onPaint = [this](Canvas& canvas) { PaintBox1Paint(canvas); };

  pumpNow_ = [this, pump = QtEventPump()] {
    // Whatever the events run meanwhile (a repaint, another window) is no fault of
    // the calculation in progress.
    const FaultFlagsKeeper keepFlags;
    Memo1->Flush();  // the lines so far become visible
    pump();
  };
  showFault = [this](const QString& message) {
    QMessageBox::critical(this, QStringLiteral("quor"), message);
  };
  chooseOpenFile = [this](const QString& initial) {
    QFileDialog dialog(this, QStringLiteral("Load"));
    ConfigureTrdDialog(dialog, false);
    dialog.selectFile(initial);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
  };
  chooseSaveFile = [this](const QString& initial) {
    QFileDialog dialog(this, QStringLiteral("Save"));
    ConfigureTrdDialog(dialog, true);
    dialog.selectFile(initial);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
  };
  unitWindows_["transformer"] = this;

  BuildMenu();
  resize(kWidth, kHeight);

  // An enlarged window gives the Report the room; the arrangement keeps its pixels (its
  // scale is made for them) and stays at the Report's top right.
  auto* layout = new ElasticLayout(this, QSize(kWidth, kHeight));
  layout->Add(Memo1, 0, 0, 1, 1);
  layout->Add(PaintBox1, 1, 0, 0, 0);

  // Enter in a field calculates; not while a sum runs, when the button means Stop.
  for (QLineEdit* edit : central->findChildren<QLineEdit*>())
    connect(edit, &QLineEdit::returnPressed, this, [this] {
      if (!running_ && Bcalc->isEnabled()) Bcalc->click();
    });
  WatchNumberFields(this, TransformerFieldDefs());

  background_ = new BackgroundCommand(this);
  // What stays at hand while Calculate runs off the thread: the other windows, the
  // Report's own actions, the end of the program.
  for (QAction* a : {Testellipticfunctions1, Straightwires1, Secondaryresonance1, Parameters1,
                     Toroidcapacitance2, Electricfieldbetweenspheres1, Partialtoroidcapacitance2,
                     Circularsheetcapacitance2, Generalcasewithaxialsymmetry1, Exit1,
                     Memo1->ClearAction(), Memo1->SaveAction()})
    KeepWhileBusy(a);
}

TForm1::~TForm1() = default;

void TForm1::BuildInputs(QWidget* central) {
  GroupBox1 = new QGroupBox(QStringLiteral("Coil 1: primary"), central);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  GroupBox1->setGeometry(4, kGroupTop, kCoilGroupWidth, kGroupHeight);
  GroupBox2 = new QGroupBox(QStringLiteral("Coil 2: secondary"), central);
  GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
  GroupBox2->setGeometry(8 + kCoilGroupWidth, kGroupTop, kCoilGroupWidth, kGroupHeight);
  GroupBox3 = new QGroupBox(QStringLiteral("Options"), central);
  GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
  GroupBox3->setGeometry(kOptionsGroupLeft, kGroupTop, kOptionsGroupWidth, kGroupHeight);

  // Labels, defaults and hints come from the coil pair's field table; the geometry is
  // the form's own.
  int coilRow[2] = {0, 0};
  int labelNumber = 0;
  int boxRow = 0;
  for (const FieldDef& def : TransformerFieldDefs()) {
    const QString name = Q(def.name);
    if (def.isCheckBox) {
      auto* box = new QCheckBox(Q(def.label), GroupBox3);
      box->setObjectName(name);
      box->setChecked(def.defaultText == "1");
      box->setToolTip(Q(def.hint));
      box->setGeometry(8, 18 + boxRow * 20, 134, 17);
      ++boxRow;
      continue;
    }
    auto* edit = new QLineEdit(Q(def.defaultText));
    edit->setObjectName(name);
    edit->setToolTip(Q(def.hint));
    const char last = def.name.back();
    if (def.name == "Ens1" || def.name == "Ens2" || def.name == "Ensm") {
      // Segment counts: Lseg1 above Ens1 and Ens2 side by side, Lseg2 above Ensm.
      edit->setParent(GroupBox3);
      if (def.name == "Ens1") {
        Lseg1 = new QLabel(Q(def.label), GroupBox3);
        Lseg1->setObjectName(QStringLiteral("Lseg1"));
        Lseg1->setGeometry(kSegLeft, 18, 116, 16);
        edit->setGeometry(kSegLeft, 36, 50, kEditHeight);
      } else if (def.name == "Ens2") {
        edit->setGeometry(kSegLeft + 56, 36, 50, kEditHeight);
      } else {
        Lseg2 = new QLabel(Q(def.label), GroupBox3);
        Lseg2->setObjectName(QStringLiteral("Lseg2"));
        Lseg2->setGeometry(kSegLeft, 66, 116, 16);
        edit->setGeometry(kSegLeft, 84, 60, kEditHeight);
      }
      continue;
    }
    // Coil fields: the name ends in the coil number.
    const int coil = last == '1' ? 0 : 1;
    QGroupBox* group = coil == 0 ? GroupBox1 : GroupBox2;
    const int y = kFieldRowTop + coilRow[coil] * kFieldRowStep;
    ++coilRow[coil];
    auto* label = new QLabel(Q(def.label), group);
    label->setObjectName(QStringLiteral("Label%1").arg(++labelNumber));
    label->setGeometry(kLabelLeft, y + 3, kEditLeft - kLabelLeft - 2, 16);
    SetTextColor(label, coil == 0 ? Qt::blue : Qt::red);
    label->setBuddy(edit);
    edit->setParent(group);
    edit->setGeometry(kEditLeft, y, kEditWidth, kEditHeight);
  }

  En1 = EditNamed("En1");
  Eh1 = EditNamed("Eh1");
  Er1 = EditNamed("Er1");
  Es1 = EditNamed("Es1");
  Eb1 = EditNamed("Eb1");
  Ewd1 = EditNamed("Ewd1");
  En2 = EditNamed("En2");
  Eh2 = EditNamed("Eh2");
  Er2 = EditNamed("Er2");
  Es2 = EditNamed("Es2");
  Eb2 = EditNamed("Eb2");
  Ewd2 = EditNamed("Ewd2");
  Ens1 = EditNamed("Ens1");
  Ens2 = EditNamed("Ens2");
  Ensm = EditNamed("Ensm");
  auto box = [this](const char* name) { return findChild<QCheckBox*>(QString::fromUtf8(name)); };
  CBm = box("CBm");
  CBOudin = box("CBOudin");
  CBML1 = box("CBML1");
  CBML2 = box("CBML2");
  CBjvj = box("CBjvj");
  CBel = box("CBel");
  CBparalelo = box("CBparalelo");

  Bview = new QPushButton(QStringLiteral("View"), GroupBox3);
  Bview->setObjectName(QStringLiteral("Bview"));
  Bview->setToolTip(QStringLiteral("Show structure"));
  Bview->setGeometry(8, 172, 75, 25);
  Bcalc = new QPushButton(QStringLiteral("Calculate"), GroupBox3);
  Bcalc->setObjectName(QStringLiteral("Bcalc"));
  Bcalc->setGeometry(90, 172, 75, 25);

  // The state changes, by the user or by the program, run the option rules.
  connect(CBel, &QCheckBox::toggled, this, &TForm1::CBelClick);
  connect(CBparalelo, &QCheckBox::toggled, this, &TForm1::CBparaleloClick);
  connect(Bview, &QPushButton::clicked, this, &TForm1::BviewClick);
  connect(Bcalc, &QPushButton::clicked, this, &TForm1::BcalcClick);
}

void TForm1::BuildMenu() {
  QMenuBar* bar = menuBar();
  auto menu = [bar](const char* caption, const char* name) {
    QMenu* m = bar->addMenu(QString::fromUtf8(caption));
    m->setObjectName(QString::fromUtf8(name));
    m->menuAction()->setObjectName(QString::fromUtf8(name) + QStringLiteral("Item"));
    return m;
  };
  auto item = [this](QMenu* m, const char* caption, const char* name, auto slot) {
    QAction* a = m->addAction(QString::fromUtf8(caption));
    a->setObjectName(QString::fromUtf8(name));
    if (slot) connect(a, &QAction::triggered, this, slot);
    return a;
  };
  using Slot = void (TForm1::*)();
  constexpr Slot none = nullptr;

  File1 = menu("File", "File1");
  Save1 = item(File1, "Save", "Save1", &TForm1::Save1Click);
  Load1 = item(File1, "Load", "Load1", &TForm1::Load1Click);
  File1->addSeparator();
  File1->addAction(Memo1->ClearAction());
  File1->addAction(Memo1->SaveAction());
  File1->addSeparator();
  Exit1 = item(File1, "Exit", "Exit1", &TForm1::Exit1Click);
  Save1->setShortcut(QKeySequence::Save);
  Load1->setShortcut(QKeySequence::Open);
  Exit1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

  // Items that show a window are connected by the application frame, which owns them.
  Tests1 = menu("Other calculations", "Tests1");
  Testellipticfunctions1 = item(Tests1, "Test elliptic integrals", "Testellipticfunctions1", none);
  Straightwires1 = item(Tests1, "Straight wires, square inductors", "Straightwires1", none);
  OptimalTeslacoilcouplings1 = item(Tests1, "Optimal Tesla coil couplings",
                                    "OptimalTeslacoilcouplings1",
                                    &TForm1::OptimalTeslacoilcouplings1Click);
  Medhurstcapacitances1 = item(Tests1, "Self capacitance and resonance", "Medhurstcapacitances1",
                               &TForm1::Medhurstcapacitances1Click);
  Secondaryresonance1 = item(Tests1, "Secondary resonance...", "Secondaryresonance1", none);

  Capacitances1 = menu("Electrostatic calculations", "Capacitances1");
  Parameters1 = item(Capacitances1, "Parameters", "Parameters1", none);
  Toroidcapacitance2 = item(Capacitances1, "Toroid, etc.", "Toroidcapacitance2", none);
  Electricfieldbetweenspheres1 =
      item(Capacitances1, "Two spheres", "Electricfieldbetweenspheres1", none);
  Partialtoroidcapacitance2 =
      item(Capacitances1, "Partial toroid", "Partialtoroidcapacitance2", none);
  Circularsheetcapacitance2 =
      item(Capacitances1, "Conical sheet", "Circularsheetcapacitance2", none);
  Generalcasewithaxialsymmetry1 = item(Capacitances1, "General case with axial symmetry",
                                       "Generalcasewithaxialsymmetry1", none);

  Units = menu("Unit conversion", "Units");
  Inchestometers1 =
      item(Units, "Inches/AWG to meters", "Inchestometers1", &TForm1::Inchestometers1Click);
  Meterstoinches1 =
      item(Units, "Meters to inches/AWG", "Meterstoinches1", &TForm1::Meterstoinches1Click);

  Help1 = AddHelpMenu(bar);
}

QLineEdit* TForm1::EditNamed(const std::string& name) const {
  return findChild<QLineEdit*>(Q(name));
}

FieldValues TForm1::Fields() const {
  FieldValues fields;
  for (const FieldDef& def : TransformerFieldDefs()) {
    if (def.isCheckBox) {
      const auto* box = findChild<QCheckBox*>(Q(def.name));
      fields[def.name] = std::string(1, box->isChecked() ? '1' : '0');
    } else {
      fields[def.name] = EditNamed(def.name)->text().toStdString();
    }
  }
  return fields;
}

CommandEnv TForm1::DrawingEnv() {
  CommandEnv env;
  env.report = Memo1;
  env.collectLines = false;  // the Report keeps them
  env.canvas = &PaintBox1->Canvas();
  env.mapping = &map_;
  return env;
}

namespace {

// A fault's message in the error box; the lines written before it stay.
void ShowFault(const Result& result, ReportMemo& memo,
               const std::function<void(const QString&)>& showFault) {
  if (result.status != CommandStatus::Fault) return;
  memo.Flush();
  if (showFault) showFault(QString::fromStdString(result.message));
}

}  // namespace

// Calculate, and Stop while a true-spiral sum runs: a click arriving while the long
// routine pumps events comes back here and only asks the sum to stop.
// An arithmetic fault ends the command with the toolkit's error box; the lines written
// before it stay in the Report.
void TForm1::BcalcClick() {
  if (running_) {
    stopRequested_ = true;
    return;
  }
  stopRequested_ = false;
  CommandEnv env = DrawingEnv();
  if (CBel->isChecked()) {
    // Circular turns: sums of seconds for a conical coil of a thousand turns ring by
    // ring, stopped between two rows. They run off the window's thread, drawing their
    // turns on a copy of the arrangement, with a mapping of their own.
    ScreenMapping mapping = map_;
    env.mapping = &mapping;
    env.canvas = nullptr;
    BackgroundCommand::Job job{TransformerFieldDefs(), &TransformerCommand, Fields(), env,
                               PaintBox1, true};
    const Result result = background_->Run(std::move(job));
    map_ = mapping;
    ShowFault(result, *Memo1, showFault);
    return;
  }
  // The true-spiral sums call the pump once per outer segment, millions of times; the
  // window is served every 10 ms, which keeps it live and a Stop click prompt at a
  // small fraction of the cost of processing events on every call.
  env.pumpNow = pumpNow_;
  env.pump = ThrottledPump(pumpNow_);
  env.stopRequested = [this] { return stopRequested_; };
  env.onRunningChanged = [this](bool running) { RunningChanged(running); };
  ShowFault(RunCommand(TransformerFieldDefs(), &TransformerCommand, Fields(), env), *Memo1,
            showFault);
}

void TForm1::RunningChanged(bool running) {
  running_ = running;
  Bcalc->setText(running ? QStringLiteral("Stop") : QStringLiteral("Calculate"));
  SetCalcAllowed(calcAllowed_);
}

// The running sum took its coils when it started; what would read the fields anew,
// write them or draw over the arrangement waits, disabled, until it ends: View, Load,
// the unit conversions and the self-capacitance. Stop (the Calculate button) stays.
void TForm1::UpdateWaitingCommands() {
  const bool idle = !running_;
  Bview->setEnabled(idle);
  Load1->setEnabled(idle);
  Medhurstcapacitances1->setEnabled(idle);
  Inchestometers1->setEnabled(idle && toMetersAllowed_);
  Meterstoinches1->setEnabled(idle && toInchesAllowed_);
}

void TForm1::OptimalTeslacoilcouplings1Click() {
  CommandEnv env = DrawingEnv();
  RunCommand(CouplingsFieldDefs(), &CouplingsCommand, {}, env);
}

void TForm1::Medhurstcapacitances1Click() {
  // It waits while a true-spiral sum of Calculate runs (it would draw its turns over
  // the sum's); its coil variables are its own. The turns are drawn to the scale of the
  // arrangement's last paint.
  if (running_) return;
  CommandEnv env = DrawingEnv();
  ShowFault(RunCommand(TransformerFieldDefs(), &SelfCapacitanceCommand, Fields(), env), *Memo1,
            showFault);
}

void TForm1::ConfigureTrdDialog(QFileDialog& dialog, bool save) {
  // Both start in the current directory. The toolkit takes a filter's pattern from its
  // last parentheses, so the Save filter's own text "(.trd)" is followed by the pattern
  // and the pattern is kept out of sight.
  dialog.setDirectory(QDir::currentPath());
  if (save) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("transformer descriptions (.trd) (*.trd)"));
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setDefaultSuffix(QStringLiteral("trd"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QStringLiteral("transformer descriptions (*.trd)"));
  }
}

void TForm1::Save1Click() {
  const QString name = chooseSaveFile ? chooseSaveFile(saveFileName_) : QString();
  if (name.isEmpty()) return;
  saveFileName_ = name;
  try {
    SaveTrdFile(name.toStdString(), Fields());
  } catch (const FileError& error) {
    if (showFault) showFault(QString::fromStdString(error.what()));
  }
}

// A loaded file always counts as metres: Calculate and both conversions are enabled.
// The texts are loaded as they stand; a malformed number is refused (its line in the
// Report) before the drawing, and again by Calculate.
void TForm1::Load1Click() {
  if (running_) return;
  const QString name = chooseOpenFile ? chooseOpenFile(openFileName_) : QString();
  if (name.isEmpty()) return;
  LoadFile(name);
}

bool TForm1::LoadFile(const QString& name) {
  if (running_) return false;
  openFileName_ = name;
  FieldValues loaded;
  try {
    loaded = LoadTrdFile(name.toStdString());
  } catch (const FileError& error) {
    if (showFault) showFault(QString::fromStdString(error.what()));
    return false;
  }
  for (const std::string& field : TrdFieldNames())
    if (auto it = loaded.find(field); it != loaded.end())
      EditNamed(field)->setText(Q(it->second));
  saveFileName_ = name;
  SetCalcAllowed(true);
  toMetersAllowed_ = toInchesAllowed_ = true;
  UpdateWaitingCommands();
  ReadAndRepaint();
  return true;
}

void TForm1::SetUnitWindow(const std::string& window, QWidget* form) {
  unitWindows_[window] = form;
}

void TForm1::ConvertUnits(UnitDirection direction) {
  if (running_) return;
  const bool toMeters = direction == UnitDirection::ToMeters;
  for (const UnitFieldSet& set : UnitFieldSets()) {
    const auto found = unitWindows_.find(set.window);
    if (found == unitWindows_.end() || !found->second) continue;
    QWidget* form = found->second;
    FieldValues fields;
    for (const auto* names : {&set.lengths, &set.wires})
      for (const std::string& name : *names)
        if (const auto* edit = form->findChild<QLineEdit*>(Q(name)))
          fields[name] = edit->text().toStdString();
    ConvertUnitFields(set, direction, fields, *Memo1);
    for (const auto& [name, text] : fields)
      form->findChild<QLineEdit*>(Q(name))->setText(Q(text));
    if (form == this)
      SetCalcAllowed(toMeters);
    else if (auto* button = form->findChild<QPushButton*>(Q(set.button)))
      BackgroundCommand::SetCommandEnabled(button, toMeters);  // after a run of its own
  }
  toMetersAllowed_ = !toMeters;
  toInchesAllowed_ = toMeters;
  UpdateWaitingCommands();
  Memo1->Flush();
}

void TForm1::SetCalcAllowed(bool allowed) {
  calcAllowed_ = allowed;
  Bcalc->setEnabled(allowed || running_);
  UpdateWaitingCommands();
}

void TForm1::ReadAndRepaint() {
  const FieldValues fields = Fields();
  if (const auto line = InvalidNumberLine(TransformerFieldDefs(), fields)) {
    ReportLine(*Memo1, *line);
    Memo1->Flush();
    return;
  }
  ReadTransformerInputs(fields, coils_);
  PaintBox1->Repaint();
}

void TForm1::BviewClick() {
  if (!running_) ReadAndRepaint();
}

// The first paint reads the fields (a malformed number leaves the coils unread: an
// empty arrangement until View).
void TForm1::PaintBox1Paint(Canvas& canvas) {
  if (!coils_.InputsRead) {
    const FieldValues fields = Fields();
    if (!InvalidNumberLine(TransformerFieldDefs(), fields)) ReadTransformerInputs(fields, coils_);
  }
  PaintArrangement(canvas, coils_, map_);
}

// Circular turns need no segment counts.
void TForm1::CBelClick() {
  const bool enable = !CBel->isChecked();
  for (QWidget* w : {static_cast<QWidget*>(Ens1), static_cast<QWidget*>(Ens2),
                     static_cast<QWidget*>(Ensm), static_cast<QWidget*>(Lseg1),
                     static_cast<QWidget*>(Lseg2)})
    w->setEnabled(enable);
}

// The turns-in-parallel calculation has fixed choices: circular turns, Maxwell L1 and
// L2, M and k. Setting a box fires its own rule, so CBel going on disables the
// segment fields.
void TForm1::CBparaleloClick() {
  QCheckBox* const fixed[] = {CBel, CBML1, CBML2, CBm, CBjvj};
  if (CBparalelo->isChecked()) {
    for (QCheckBox* b : fixed) b->setChecked(true);
    for (QCheckBox* b : fixed) b->setEnabled(false);
  } else {
    for (QCheckBox* b : fixed) b->setEnabled(true);
  }
}

void TForm1::Exit1Click() {
  stopRequested_ = true;  // a true-spiral sum in progress returns at its next step
  if (onTerminate) onTerminate();
}

void TForm1::closeEvent(QCloseEvent* event) {
  event->accept();
  Exit1Click();
}
