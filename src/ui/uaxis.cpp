#include "ui/uaxis.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStringDecoder>
#include <QTimer>

#include "electrostatics/structure_plot.h"
#include "electrostatics/structure_probe.h"
#include "electrostatics/structure_view.h"
#include "numerics/arithmetic_fault.h"
#include "numerics/file_write.h"
#include "platform/paint_box.h"
#include "platform/png_render.h"
#include "platform/qt_event_pump.h"
#include "platform/report_memo.h"
#include "numerics/library_namespaces.h"

namespace {

constexpr const char* kFilter = "Structure files (*.cap)";

QString Q(const std::string& s) { return QString::fromStdString(s); }

// A description file in UTF-8, or else in a single-byte character set.
QString DecodeLine(const std::string& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString s = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  if (utf8.hasError()) s = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
  return s;
}

QPushButton* Button(QWidget* parent, const QString& caption, const char* name, int x, int y,
                    int w) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(QString::fromUtf8(name));
  b->setGeometry(x, y, w, 25);
  return b;
}

QCheckBox* Box(QWidget* parent, const QString& caption, const char* name, int x, int y, int w,
               bool checked) {
  auto* b = new QCheckBox(caption, parent);
  b->setObjectName(QString::fromUtf8(name));
  b->setGeometry(x, y, w, 21);
  b->setChecked(checked);
  return b;
}

}  // namespace

TFcacal::TFcacal(ReportSink& report, BreakdownField& breakdown, QWidget* parent)
    : SecondaryForm(report, QStringLiteral("Electrostatic calculations"), kWidth, kHeight, parent),
      plotWorkers(PlotWorkers()),
      breakdown_(&breakdown) {
  setObjectName(QStringLiteral("Fcacal"));
  BuildControls();

  chooseOpenFile = [this](const QString& initial) {
    QFileDialog dialog(this, QStringLiteral("Load"), QString(), QString::fromUtf8(kFilter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("cap"));
    dialog.selectFile(initial);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
  };
  chooseSaveFile = [this](const QString& initial) {
    // The dialog asks before an existing file is overwritten.
    QFileDialog dialog(this, QStringLiteral("Save"), QString(), QString::fromUtf8(kFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("cap"));
    dialog.selectFile(initial);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
  };
  choosePlotFile = [this](const QString& initial) {
    QFileDialog dialog(this, QStringLiteral("Save plot"), QString(),
                       QStringLiteral("PNG images (*.png)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("png"));
    dialog.selectFile(initial);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
  };
}

void TFcacal::BuildControls() {
  MainMenu = new QMenuBar(this);
  MainMenu->setObjectName(QStringLiteral("MainMenu1"));
  MainMenu->setGeometry(0, 0, kWidth, 22);
  File1 = MainMenu->addMenu(QStringLiteral("File"));
  File1->setObjectName(QStringLiteral("File1"));
  Load1 = File1->addAction(QStringLiteral("Load"));
  Load1->setObjectName(QStringLiteral("Load1"));
  Save1 = File1->addAction(QStringLiteral("Save"));
  Save1->setObjectName(QStringLiteral("Save1"));
  Load1->setShortcut(QKeySequence::Open);
  Save1->setShortcut(QKeySequence::Save);
  connect(Load1, &QAction::triggered, this, &TFcacal::Load1Click);
  connect(Save1, &QAction::triggered, this, &TFcacal::Save1Click);

  constexpr int left = 4, top = 26, columnWidth = 404;
  Mlista = new QPlainTextEdit(this);
  Mlista->setObjectName(QStringLiteral("Mlista"));
  Mlista->setGeometry(left, top, columnWidth, 180);
  Mlista->setLineWrapMode(QPlainTextEdit::NoWrap);
  QStringList sample;
  for (const std::string& line : StructureSampleLines()) sample << Q(line);
  Mlista->setPlainText(sample.join(QLatin1Char('\n')));
  session_.SetDescription(MlistaLines());
  connect(Mlista, &QPlainTextEdit::textChanged, this, &TFcacal::MlistaChange);

  int y = top + 186;
  Bview = Button(this, QStringLiteral("View"), "Bview", left, y, 75);
  Bview->setToolTip(QStringLiteral("Parse the description and draw the structure"));
  Bcap = Button(this, QStringLiteral("Calculate"), "Bcap", left + 80, y, 75);
  CBlistar = Box(this, Q(StructureFieldDefs().front().label), "CBlistar", left + 164, y + 2, 150,
                 false);
  CBlistar->setToolTip(Q(StructureFieldDefs().front().hint));
  connect(Bview, &QPushButton::clicked, this, &TFcacal::BviewClick);
  connect(Bcap, &QPushButton::clicked, this, &TFcacal::BcapClick);

  y += 30;
  CBplotar = new QComboBox(this);
  CBplotar->setObjectName(QStringLiteral("CBplotar"));
  CBplotar->setGeometry(left, y, 170, 24);
  CBplotar->addItems({QStringLiteral("Potential V"), QStringLiteral("Radial electric field Er"),
                      QStringLiteral("Axial electric field Ez"),
                      QStringLiteral("Total electric field |E|")});
  CBplotar->setEditable(true);
  CBplotar->setCurrentIndex(0);
  Bplotar = Button(this, QStringLiteral("Plot"), "Bplotar", left + 176, y, 60);
  Bplotar->setEnabled(false);
  CBrapido = Box(this, QStringLiteral("fast"), "CBrapido", left + 242, y + 2, 56, true);
  CBrapido->setToolTip(QStringLiteral("Blocks of 5 x 5 pixels instead of single pixels"));
  Bstop = Button(this, QStringLiteral("Stop"), "Bstop", left + 300, y, 60);
  Bstop->setEnabled(false);
  connect(Bplotar, &QPushButton::clicked, this, &TFcacal::BplotarClick);
  connect(Bstop, &QPushButton::clicked, this, &TFcacal::BstopClick);

  y += 30;
  Label1 = new QLabel(QStringLiteral("Emax"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(left, y + 4, 34, 16);
  Eemax = new QLineEdit(QStringLiteral("1"), this);
  Eemax->setObjectName(QStringLiteral("Eemax"));
  Eemax->setGeometry(left + 36, y, 70, 24);
  Eemax->setToolTip(QStringLiteral("Field scale of the plots, V/m"));
  CBlegend = Box(this, QStringLiteral("Scale"), "CBlegend", left + 112, y + 2, 60, false);
  const struct {
    QPushButton** button;
    const char* caption;
    const char* name;
    const char* hint;
    void (TFcacal::*click)();
  } zoom[] = {{&Bmais, "+", "Bmais", "Zoom in", &TFcacal::BmaisClick},
              {&Bmenos, "-", "Bmenos", "Zoom out", &TFcacal::BmenosClick},
              {&Bleft, "\u2190", "Bleft", "Move left", &TFcacal::BleftClick},
              {&Bright, "\u2192", "Bright", "Move right", &TFcacal::BrightClick},
              {&Button1, "\u2191", "Button1", "Move up", &TFcacal::Button1Click},
              {&Bdown, "\u2193", "Bdown", "Move down", &TFcacal::BdownClick}};
  int x = left + 176;
  for (const auto& z : zoom) {
    *z.button = Button(this, QString::fromUtf8(z.caption), z.name, x, y, 36);
    (*z.button)->setToolTip(QString::fromUtf8(z.hint));
    connect(*z.button, &QPushButton::clicked, this, z.click);
    x += 38;
  }
  QFont bold = Bmenos->font();
  bold.setBold(true);
  Bmenos->setFont(bold);

  y += 30;
  CBcontours = Box(this, QStringLiteral("Contours"), "CBcontours", left, y + 2, 90, false);
  CBaxes = Box(this, QStringLiteral("Axes"), "CBaxes", left + 112, y + 2, 60, false);
  for (const FieldDef& f : StructurePlotFieldDefs())
    for (QCheckBox* b : {CBcontours, CBaxes})
      if (b->objectName().toStdString() == f.name) b->setToolTip(Q(f.hint));
  Bsaveplot = Button(this, QStringLiteral("Save plot..."), "Bsaveplot", left + 176, y, 112);
  Bsaveplot->setToolTip(QStringLiteral("Write the drawing area as a PNG image"));
  connect(Bsaveplot, &QPushButton::clicked, this, &TFcacal::BsaveplotClick);

  y += 32;
  Mmsg = new ReportMemo(this);
  Mmsg->setObjectName(QStringLiteral("Mmsg"));
  Mmsg->setGeometry(left, y, columnWidth, kHeight - 4 - y);
  QStringList help;
  for (const std::string& line : StructureHelpLines()) help << Q(line);
  Mmsg->SetLines(help);
  // The message area's Clear and Save as, and the end of the program (the frame
  // connects Exit).
  File1->addSeparator();
  File1->addAction(Mmsg->ClearAction());
  File1->addAction(Mmsg->SaveAction());
  File1->addSeparator();
  Exit1 = File1->addAction(QStringLiteral("Exit"));
  Exit1->setObjectName(QStringLiteral("Exit1"));
  Exit1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  Help1 = AddHelpMenu(MainMenu);
  // At hand while Calculate runs off the window's thread, as in the main window.
  for (QAction* a : {Exit1, Mmsg->ClearAction(), Mmsg->SaveAction()}) KeepWhileBusy(a);

  PBcacal = new PaintBox(kAreaSize, kAreaSize, this);
  PBcacal->setObjectName(QStringLiteral("PBcacal"));
  PBcacal->move(left + columnWidth + 8, top);
  PBcacal->onPaint = [this](Canvas&) { PBcacalPaint(); };
  PBcacal->onMouseDown = [this](Qt::MouseButton b, int X, int Y) { PBcacalMouseDown(b, X, Y); };
  PBcacal->onMouseMove = [this](int X, int Y) { PBcacalMouseMove(X, Y); };

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(false);
  StatusBar1->setGeometry(left + columnWidth + 8, top + kAreaSize + 4, kAreaSize, 22);

  // An enlarged window: the description and the messages share the extra height and
  // take the extra width, the controls between them move down with the description's
  // bottom, and the drawing area keeps its pixels (the plots' scale is made for them)
  // at the right edge, its status line under it.
  ElasticLayout& layout = Layout();
  layout.Add(MainMenu, 0, 0, 1, 0);
  layout.Add(Mlista, 0, 0, 1, 0.5);
  for (QWidget* w : std::initializer_list<QWidget*>{
           Bview, Bcap, CBlistar, CBplotar, Bplotar, CBrapido, Bstop, Label1, Eemax, CBlegend,
           Bmais, Bmenos, Bleft, Bright, Button1, Bdown, CBcontours, CBaxes, Bsaveplot})
    layout.Add(w, 0, 0.5, 0, 0);
  layout.Add(Mmsg, 0, 0.5, 1, 0.5);
  layout.Add(PBcacal, 1, 0, 0, 0);
  layout.Add(StatusBar1, 1, 0, 0, 0);

  // The one field, the plot's scale, plots on Enter; so does the choice of the plot.
  ConnectEnter(this, Bplotar);
  WatchNumberFields(this, StructurePlotFieldDefs());
}

std::vector<std::string> TFcacal::MlistaLines() const {
  std::vector<std::string> lines;
  const QString text = Mlista->toPlainText();
  if (text.isEmpty()) return lines;
  for (const QString& line : text.split(QLatin1Char('\n'))) lines.push_back(line.toStdString());
  return lines;
}

void TFcacal::ViewStructure() {
  FaultCheckingReport msg(*Mmsg);
  // A short palette file ends the parse with an error: the tables stay as they were
  // and the next trigger tries again.
  session_.View(PBcacal->Canvas(), msg);
}

void TFcacal::PBcacalPaint() {
  // The first paint parses; an error box cannot open inside a paint, so it waits for
  // the event loop.
  const std::function<void(const QString&)> show = showError;
  showError = [this, show](const QString& message) {
    QTimer::singleShot(0, this, [show, message] {
      if (show) show(message);
    });
  };
  RunGuarded([this] { ViewStructure(); });
  showError = show;
}

void TFcacal::BviewClick() {
  RunGuarded([this] { ViewStructure(); });
  Mmsg->Flush();
}

// A structure of hundreds of rings takes seconds: it is computed off the window's
// thread, on a copy of the drawing, while the window's commands wait.
void TFcacal::BcapClick() {
  CommandEnv env;
  env.report = Mmsg;
  env.breakdown = *breakdown_;
  const FieldValues fields{{"CBlistar", CBlistar->isChecked() ? "1" : "0"}};
  const Result result = RunInBackground(
      StructureFieldDefs(),
      [this](const FieldValues& f, CommandEnv& e) {
        return session_.Calculate(FieldChecked(f, StructureFieldDefs(), "CBlistar"), e);
      },
      fields, env, PBcacal);
  if (result.Ok()) {
    Eemax->setText(Q(session_.Results().EemaxText));
    Bplotar->setEnabled(true);
  }
  Mmsg->Flush();
}

void TFcacal::MlistaChange() {
  session_.SetDescription(MlistaLines());
  Bplotar->setEnabled(false);
}

void TFcacal::Load1Click() {
  const QString name = chooseOpenFile ? chooseOpenFile(fileName_) : QString();
  if (name.isEmpty()) return;
  LoadFile(name);
}

bool TFcacal::LoadFile(const QString& name) {
  if (plotting_) return false;  // the plot reads the description it started with
  const bool loaded = RunGuarded([&] {
    ReportLine(*Mmsg, "Loading description from file " + name.toStdString());
    const std::vector<std::string> lines = LoadDescriptionFile(name.toStdString());
    QStringList text;
    for (const std::string& line : lines) text << DecodeLine(line);
    Mlista->setPlainText(text.join(QLatin1Char('\n')));
    fileName_ = name;
    MlistaChange();
    ViewStructure();
  });
  Mmsg->Flush();
  return loaded;
}

void TFcacal::Save1Click() {
  const QString name = chooseSaveFile ? chooseSaveFile(fileName_) : QString();
  if (name.isEmpty()) return;
  RunGuarded([&] {
    SaveDescriptionFile(name.toStdString(), MlistaLines());
    fileName_ = name;
    ReportLine(*Mmsg, "Description saved in file " + name.toStdString());
  });
  Mmsg->Flush();
}

void TFcacal::BplotarClick() {
  PlotRequest request =
      ReadPlotRequest(CBplotar->currentText().toStdString(), Eemax->text().toStdString(),
                      CBrapido->isChecked(), CBlegend->isChecked());
  request.contours = CBcontours->isChecked();
  request.axes = CBaxes->isChecked();
  if (!request.error.empty()) {
    ReportLine(*Mmsg, request.error);
    Mmsg->Flush();
    return;
  }
  // A first paint arriving during the plot would draw the structure view over the rows
  // painted before it, and the view transform the plot maps through comes from a paint.
  PBcacal->EnsurePainted();
  SetPlotting(true);
  RunGuarded([&] {
    PlotControl control;
    control.workers = plotWorkers;
    const EventPump events = QtEventPump();
    int row = 0;
    control.pump = [&] {
      events();
      if (afterPlotRow) afterPlotRow(row);
      ++row;
    };
    control.stopRequested = [this] { return stop_; };
    control.status = [this](const std::string& text) { StatusBar1->showMessage(Q(text)); };
    session_.Plot(request, PBcacal->Canvas(), control);
  });
  // Ended, stopped or broken off by a fault: the results are still those plotted.
  SetPlotting(false);
}

void TFcacal::BstopClick() {
  stop_ = true;
  Bstop->setEnabled(false);
}

void TFcacal::BsaveplotClick() {
  const QString name = choosePlotFile ? choosePlotFile(plotFileName_) : QString();
  if (name.isEmpty()) return;
  RunGuarded([&] {
    WriteFileAtomically(name.toStdString(), EncodePng(PBcacal->Canvas().Image()));
    plotFileName_ = name;
    ReportLine(*Mmsg, "Plot saved in file " + name.toStdString());
  });
  Mmsg->Flush();
}

void TFcacal::SetPlotting(bool running) {
  plotting_ = running;
  stop_ = false;
  Bplotar->setEnabled(!running);
  Bstop->setEnabled(running);
  for (QWidget* w : {static_cast<QWidget*>(Bcap), static_cast<QWidget*>(Bview),
                     static_cast<QWidget*>(Bmais), static_cast<QWidget*>(Bmenos),
                     static_cast<QWidget*>(Bleft), static_cast<QWidget*>(Bright),
                     static_cast<QWidget*>(Button1), static_cast<QWidget*>(Bdown)})
    w->setEnabled(!running);
  Load1->setEnabled(!running);
  Mlista->setReadOnly(running);
}

void TFcacal::ChangeView(ViewChange change) {
  RunGuarded([&] { session_.ChangeView(change, PBcacal->Canvas()); });
}

void TFcacal::BmaisClick() { ChangeView(ViewChange::ZoomIn); }
void TFcacal::BmenosClick() { ChangeView(ViewChange::ZoomOut); }
void TFcacal::BleftClick() { ChangeView(ViewChange::Left); }
void TFcacal::BrightClick() { ChangeView(ViewChange::Right); }
void TFcacal::Button1Click() { ChangeView(ViewChange::Up); }
void TFcacal::BdownClick() { ChangeView(ViewChange::Down); }

void TFcacal::PBcacalMouseDown(Qt::MouseButton, int X, int Y) {
  // Only with the results of a calculation of the description shown, and not while a
  // plot runs.
  if (!Bplotar->isEnabled()) return;
  RunGuarded([&] {
    FaultCheckingReport msg(*Mmsg);
    session_.Probe(X, Y, msg, &PBcacal->Canvas());
  });
  Mmsg->Flush();
}

void TFcacal::PBcacalMouseMove(int X, int Y) {
  if (Background().Busy()) return;  // the calculation is changing the view transform
  StatusBar1->showMessage(Q(CoordinateText(session_.ViewTransform(), X, Y)));
}
