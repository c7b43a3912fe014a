#pragma once
// The main window: the coil pair of an air-core transformer (primary in blue, secondary
// in red), the calculation options, the Report every window writes into, and the
// arrangement of the coils drawn to scale.
#include <QMainWindow>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/paint_box.h"
#include "platform/report_memo.h"
#include "transformer/coil_pair.h"
#include "transformer/context.h"
#include "transformer/unit_conversion.h"
#include "numerics/library_namespaces.h"

class BackgroundCommand;
class HelpMenu;
class QAction;
class QCheckBox;
class QFileDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  static constexpr int kWidth = 734;
  static constexpr int kHeight = 533;

  // The first two lines of the Report at start.
  static const char* const kTitleLine;
  static const char* const kVersionLine;

  // The texts of the fifteen edit fields and the states ("1"/"0") of the seven option
  // boxes, by component name.
  FieldValues Fields() const;
  // The coil pair as View, Load or the first paint last read it, and the mapping of
  // the arrangement's last drawing.
  const CoilPair& Coils() const { return coils_; }
  const ScreenMapping& Mapping() const { return map_; }
  // A true-spiral sum of Calculate is running: the button reads "Stop".
  bool Running() const { return running_; }
  ReportSink& Report() { return *Memo1; }
  // Runs Calculate with circular turns off the window's thread (see BackgroundCommand).
  BackgroundCommand& Background() { return *background_; }

  // What ends the program (Exit, closing this window); the frame sets it.
  std::function<void()> onTerminate;
  // Shows the message of an arithmetic fault that ended Calculate, or of a file error
  // that ended Save or Load (an error box). Tests replace it.
  std::function<void(const QString&)> showFault;
  // The file dialogs of Load and Save: given the file name they propose, the chosen
  // name, or an empty text when cancelled. Tests replace them.
  std::function<QString(const QString& initialName)> chooseOpenFile;
  std::function<QString(const QString& initialName)> chooseSaveFile;
  // Sets up a dialog as Load (save false) or Save uses it: the filter of .trd files,
  // the default extension, and for Save the question before a file is overwritten.
  static void ConfigureTrdDialog(QFileDialog& dialog, bool save);
  // Loads a .trd file into the twelve fields as Load does once a name is chosen; also
  // how quor opens a .trd file named on its command line. False, after the error box,
  // when the file could not be read.
  bool LoadFile(const QString& name);

  // The windows whose fields the unit conversion converts along with this one's, by
  // the quor-cli command name of each ("straight", "toroid", "partial", "sheet"); the
  // frame sets them. This window is "transformer".
  void SetUnitWindow(const std::string& window, QWidget* form);

  // Components, named as in the form.
  QGroupBox *GroupBox1, *GroupBox2, *GroupBox3;
  QLineEdit *En1, *Eh1, *Er1, *Es1, *Eb1, *Ewd1;
  QLineEdit *En2, *Eh2, *Er2, *Es2, *Eb2, *Ewd2;
  QLineEdit *Ens1, *Ens2, *Ensm;
  QLabel *Lseg1, *Lseg2;
  QCheckBox *CBm, *CBOudin, *CBML1, *CBML2, *CBjvj, *CBel, *CBparalelo;
  QPushButton *Bview, *Bcalc;
  ReportMemo* Memo1;
  PaintBox* PaintBox1;

  QMenu *File1, *Tests1, *Capacitances1, *Units;
  QAction *Save1, *Load1, *Exit1;
  QAction *Testellipticfunctions1, *Straightwires1, *OptimalTeslacoilcouplings1,
      *Medhurstcapacitances1, *Secondaryresonance1;
  QAction *Parameters1, *Toroidcapacitance2, *Electricfieldbetweenspheres1,
      *Partialtoroidcapacitance2, *Circularsheetcapacitance2, *Generalcasewithaxialsymmetry1;
  QAction *Inchestometers1, *Meterstoinches1;
  HelpMenu* Help1;

 public slots:
  void BcalcClick();
  void BviewClick();
  void CBelClick();
  void CBparaleloClick();
  void Exit1Click();
  // The table of optimal couplings, to the Report.
  void OptimalTeslacoilcouplings1Click();
  // Self-capacitance and self-resonance of each coil of the fields, to the Report.
  void Medhurstcapacitances1Click();
  // The twelve geometry texts to a .trd file, and back.
  void Save1Click();
  void Load1Click();
  // The length and wire fields of the unit windows converted in place; their
  // Calculate buttons enabled in metres and disabled in inches.
  void Inchestometers1Click() { ConvertUnits(UnitDirection::ToMeters); }
  void Meterstoinches1Click() { ConvertUnits(UnitDirection::ToInches); }
  // A stoppable sum started or ended: the button's caption, "Stop" or "Calculate".
  void RunningChanged(bool running);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildInputs(QWidget* central);
  void BuildMenu();
  void PaintBox1Paint(Canvas& canvas);
  QLineEdit* EditNamed(const std::string& name) const;
  void ConvertUnits(UnitDirection direction);
  // Calculate is allowed (fields in metres) or not; a running sum keeps the button
  // (Stop) enabled until it ends.
  void SetCalcAllowed(bool allowed);
  // The commands that wait while a stoppable sum runs, enabled again when it ends.
  void UpdateWaitingCommands();
  // The environment of the commands that draw on the arrangement: the Report, the
  // drawing and its mapping, the event pumps, the stop request.
  CommandEnv DrawingEnv();
  // View and Load: the coils read anew and drawn, unless a number field is malformed
  // (its line in the Report, the drawing left as it is).
  void ReadAndRepaint();

  CoilPair coils_;
  ScreenMapping map_;
  BackgroundCommand* background_;
  bool running_ = false;
  bool stopRequested_ = false;
  EventPump pumpNow_;
  std::map<std::string, QWidget*> unitWindows_;
  bool calcAllowed_ = true;
  // The conversion items as the last conversion or load left them (fields in metres:
  // to inches only).
  bool toMetersAllowed_ = true, toInchesAllowed_ = true;
  QString openFileName_ = QStringLiteral("test");
  QString saveFileName_ = QStringLiteral("test");
};
