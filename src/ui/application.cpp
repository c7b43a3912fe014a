#include "ui/application.h"

#include <QAction>
#include <QFileInfo>
#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

template <class Form>
std::unique_ptr<Form> QuorApplication::Create() {
  std::unique_ptr<Form> form;
  if constexpr (std::is_constructible_v<Form, ReportSink&, BreakdownField&>)
    form = std::make_unique<Form>(form1_->Report(), breakdown_);
  else
    form = std::make_unique<Form>(form1_->Report());
  windows_.push_back(form.get());
  return form;
}

QuorApplication::QuorApplication() {
  QCoreApplication::setApplicationName(QStringLiteral("quor"));

  form1_ = std::make_unique<TForm1>();
  windows_.push_back(form1_.get());
  form2_ = Create<TForm2>();
  fstraight_ = Create<TFstraight>();
  ftoroid_ = Create<TFtoroid>();
  fpartial_ = Create<TFpartial>();
  fdisk_ = Create<TFdisk>();
  fcacal_ = Create<TFcacal>();
  fesferas_ = Create<TFesferas>();
  fparametros_ = Create<TFparametros>();
  // The secondary resonance reads the coils from the main window's fields.
  fresonator_ = std::make_unique<TFresonator>(form1_->Report(), [this] { return form1_->Fields(); });
  windows_.push_back(fresonator_.get());

  ConnectMenu();
  // Exit and closing the main window end the program, whatever else is open.
  form1_->onTerminate = [this] {
    for (QWidget* w : windows_) w->hide();
    QCoreApplication::quit();
  };
}

// The secondary windows go first: they write into the main window's Report.
QuorApplication::~QuorApplication() {
  fresonator_.reset();
  fparametros_.reset();
  fesferas_.reset();
  fcacal_.reset();
  fdisk_.reset();
  fpartial_.reset();
  ftoroid_.reset();
  fstraight_.reset();
  form2_.reset();
  form1_.reset();
}

void QuorApplication::ConnectMenu() {
  TForm1& f = *form1_;
  auto shows = [&f](QAction* item, QWidget* form) {
    QObject::connect(item, &QAction::triggered, &f, [form] { ShowForm(form); });
  };
  shows(f.Testellipticfunctions1, form2_.get());
  shows(f.Straightwires1, fstraight_.get());
  shows(f.Parameters1, fparametros_.get());
  shows(f.Toroidcapacitance2, ftoroid_.get());
  shows(f.Electricfieldbetweenspheres1, fesferas_.get());
  shows(f.Partialtoroidcapacitance2, fpartial_.get());
  shows(f.Circularsheetcapacitance2, fdisk_.get());
  shows(f.Generalcasewithaxialsymmetry1, fcacal_.get());
  shows(f.Secondaryresonance1, fresonator_.get());
  // Exit of the structure window ends the program as the main window's does.
  QObject::connect(fcacal_->Exit1, &QAction::triggered, &f, &TForm1::Exit1Click);
  // The unit conversion of the main menu converts these windows' fields too.
  f.SetUnitWindow("straight", fstraight_.get());
  f.SetUnitWindow("toroid", ftoroid_.get());
  f.SetUnitWindow("partial", fpartial_.get());
  f.SetUnitWindow("sheet", fdisk_.get());
}

void QuorApplication::Start() {
  TForm1& f = *form1_;
  f.show();
  // Centred on the screen, frame included (known once the window is shown).
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = f.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    f.move(frame.topLeft());
  }
}

void QuorApplication::OpenFiles(const QStringList& paths) {
  for (const QString& path : paths) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("cap")) {
      ShowForm(fcacal_.get());
      fcacal_->LoadFile(path);
    } else if (suffix == QLatin1String("trd")) {
      ShowForm(form1_.get());
      form1_->LoadFile(path);
    } else if (form1_->showFault) {
      form1_->showFault(QStringLiteral("Cannot open file %1: quor opens transformer descriptions "
                                       "(.trd) and structure descriptions (.cap)")
                            .arg(path));
    }
  }
}
