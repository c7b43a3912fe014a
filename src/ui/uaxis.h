#pragma once
// General conducting structures with axial symmetry described by lines and arcs:
// capacitance matrix, charges, forces, surface fields and colour plots. Unlike the
// other windows it writes into its own message area, Mmsg.
#include <QString>
#include <functional>

#include "electrostatics/breakdown_field.h"
#include "electrostatics/structure_capacitance.h"
#include "electrostatics/structure_description.h"
#include "electrostatics/structure_session.h"
#include "electrostatics/structure_view.h"
#include "numerics/screen_mapping.h"
#include "ui/form.h"
#include "numerics/library_namespaces.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class PaintBox;
class ReportMemo;

class TFcacal : public SecondaryForm {
  Q_OBJECT
 public:
  TFcacal(ReportSink& report, BreakdownField& breakdown, QWidget* parent = nullptr);

  static constexpr int kWidth = 900;
  static constexpr int kHeight = 640;
  static constexpr int kAreaSize = kStructureAreaSize;  // PBcacal, square

  // The file dialogs of Load and Save: given the initial file name, the chosen name,
  // or an empty text when cancelled. Tests replace them.
  std::function<QString(const QString& initialName)> chooseOpenFile;
  std::function<QString(const QString& initialName)> chooseSaveFile;
  // The file dialog of Save plot, the same way.
  std::function<QString(const QString& initialName)> choosePlotFile;

  // The lines of Mlista as the parse and Save take them.
  std::vector<std::string> MlistaLines() const;
  // The session: the tables and the view of the last parse, the results of the last
  // calculation.
  const StructureSession& Session() const { return session_; }
  const StructureDescription& Description() const { return session_.Description(); }
  bool Parsed() const { return session_.Parsed(); }
  const ViewWindow& View() const { return session_.Window(); }
  const StructureResults& Results() const { return session_.Results(); }
  // The transform of the last drawing of the structure view.
  const ScreenMapping& ViewTransform() const { return session_.ViewTransform(); }
  bool Plotting() const { return plotting_; }

  // Threads that compute the rows of a plot (0: on the window's thread).
  unsigned plotWorkers;
  // Called after every row of a plot, after the window's events; tests use it to
  // click Stop halfway.
  std::function<void(int row)> afterPlotRow;

  QMenuBar* MainMenu;
  QMenu* File1;
  QAction *Load1, *Save1, *Exit1;
  HelpMenu* Help1;
  QPlainTextEdit* Mlista;
  ReportMemo* Mmsg;
  QPushButton *Bview, *Bcap;
  QCheckBox* CBlistar;
  QComboBox* CBplotar;
  QPushButton *Bplotar, *Bstop;
  QCheckBox* CBrapido;
  QLabel* Label1;
  QLineEdit* Eemax;
  QPushButton *Bmais, *Bmenos, *Bleft, *Bright, *Button1, *Bdown;
  QCheckBox* CBlegend;
  QCheckBox *CBcontours, *CBaxes;
  QPushButton* Bsaveplot;
  PaintBox* PBcacal;
  QStatusBar* StatusBar1;

 public slots:
  void BviewClick();
  void BcapClick();
  void MlistaChange();
  void Load1Click();
  void Save1Click();
  void BplotarClick();
  void BstopClick();
  void BsaveplotClick();
  void BmaisClick();
  void BmenosClick();
  void BleftClick();
  void BrightClick();
  void Button1Click();
  void BdownClick();
  void PBcacalMouseDown(Qt::MouseButton button, int X, int Y);
  void PBcacalMouseMove(int X, int Y);

 public:
  // Loads a description file into Mlista, parses and draws it, as Load does once a
  // name is chosen; also how quor opens a .cap file named on its command line. False,
  // after the error box, when the file could not be read.
  bool LoadFile(const QString& name);

 private:
  void BuildControls();
  // Parses the description unless parsed (messages to Mmsg) and draws the view.
  void ViewStructure();
  void PBcacalPaint();
  void ChangeView(ViewChange change);
  // While a plot runs nothing may change what it reads: the commands that parse,
  // calculate, load, edit or move the view wait for its end.
  void SetPlotting(bool running);

  BreakdownField* breakdown_;  // the program-wide setting, read by Calculate
  StructureSession session_;   // the description of Mlista, its view and results
  bool plotting_ = false;
  bool stop_ = false;  // set by Stop, read after every row of a plot
  QString fileName_ = QStringLiteral("test.cap");
  QString plotFileName_ = QStringLiteral("plot.png");
};
