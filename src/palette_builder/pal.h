#pragma once
// The window of tintor: three curve boxes (red, green, blue intensity against palette
// entry, entry 0 at the top) edited with the mouse, the colour bar of the palette
// beside them, and the buttons that read and save .xpl files.
#include <QString>
#include <QWidget>
#include <functional>

#include "palette_builder/palette_model.h"

class QLabel;
class QPainter;
class QPushButton;
class PaintArea;

inline constexpr const char* kTintorTitle = "tintor";

class TFpal : public QWidget {
  Q_OBJECT
 public:
  explicit TFpal(QWidget* parent = nullptr);

  static constexpr int kWidth = 371;
  static constexpr int kHeight = 349;

  QLabel* Label1;
  QLabel* Label2;
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

 public slots:
  void BlerClick();
  void SalvarClick();

 private:
  PaintArea* ChannelBox(int a) const;
  void RepaintAll();
  void FormCreate();

  PaletteModel model_;
};
