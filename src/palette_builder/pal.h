#pragma once
// The window of tintor: three curve boxes (red, green, blue intensity against palette
// entry, entry 0 at the top) edited with the mouse, the colour bar of the palette
// beside them, the buttons that read and save .xpl files, and a menu of ready-made
// palettes to start from.
#include <QMargins>
#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>

#include "palette_builder/palette_model.h"

class QLabel;
class QMenu;
class QMenuBar;
class QPainter;
class QPushButton;
class PaintArea;

inline constexpr const char* kTintorTitle = "tintor";

class TFpal : public QWidget {
  Q_OBJECT
 public:
  explicit TFpal(QWidget* parent = nullptr);

  // The window's outer size, frame and title bar included. The inside is what is
  // left once the window manager's frame is known, but never less than the contents.
  static constexpr int kWidth = 371;
  static constexpr int kHeight = 349;
  // The panel under the menu bar that holds the boxes, their labels and the buttons.
  static constexpr int kPanelWidth = 347;
  static constexpr int kPanelHeight = 307;

  QMenuBar* MainMenu;
  QMenu* Presets;  // one item per ready-made palette
  QWidget* Panel;
  QLabel* Label1;
  QLabel* Label2;
  QLabel* Lred;  // "R", "G", "B" over the three curve boxes
  QLabel* Lgreen;
  QLabel* Lblue;
  PaintArea* PBred;
  PaintArea* PBgreen;
  PaintArea* PBblue;
  PaintArea* PBpal;
  QPushButton* Bler;
  QPushButton* Salvar;

  // The file dialogs ("Paletas de cores", *.xpl): each returns the chosen file name,
  // empty when cancelled. Tests replace them to hand over names without a modal dialog.
  std::function<QString()> OpenDialog1;
  std::function<QString()> SaveDialog1;
  // Shows the message of a save or an opening that failed; the toolkit's error box.
  // Tests replace it.
  std::function<void(const QString&)> showError;

  const PaletteModel& Model() const { return model_; }

  // Recomputes channel a from its control points and draws it on its box: the colour
  // of each entry as a row, then the broken line in white with a square at each point.
  void DrawChannel(int a, QPainter& box);
  // A click at (x, y) of channel a's box moves the nearest control point there.
  void EditChannel(int a, int x, int y);

  void PBredPaint(QPainter& box);
  void PBgreenPaint(QPainter& box);
  void PBbluePaint(QPainter& box);
  void PBpalPaint(QPainter& box);
  void PBredMouseDown(int x, int y);
  void PBgreenMouseDown(int x, int y);
  void PBblueMouseDown(int x, int y);

  // Loads a palette file as Ler does once a name is chosen; also how tintor opens the
  // .xpl file named on its command line. A file that cannot be read leaves the palette
  // as it was and, unlike Ler, says so in the error box: the user asked for that file.
  bool OpenFile(const QString& name);

  // Replaces the three curves by those of a ready-made palette (Presets menu).
  void PresetClick(int index);

  // The inside size that makes the framed window kWidth x kHeight, given the margins
  // of the window manager's frame; never smaller than the menu bar and the panel.
  QSize InsideSizeFor(const QMargins& frame) const;

 public slots:
  void BlerClick();
  void SalvarClick();

 protected:
  // Fits the inside to the frame once the window manager has framed the window (its
  // margins are known from the first move after it is shown), and again whenever the
  // frame changes.
  bool event(QEvent* e) override;

 private:
  void FitFrame();
  PaintArea* ChannelBox(int a) const;
  void RepaintAll();
  void FormCreate();

  PaletteModel model_;
};
