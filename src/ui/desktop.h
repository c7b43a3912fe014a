#pragma once
// The desktop conventions every window of quor follows: Enter in a field runs the
// window's command, Escape hides a secondary window, number fields show a typing error
// as it is typed, text areas grow with an enlarged window while drawing areas keep
// their pixels, and the Help menu.
#include <QMenu>
#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <vector>

#include "numerics/fields.h"
#include "numerics/library_namespaces.h"

class QAction;
class QLineEdit;
class QMenuBar;
class QPushButton;
class QWidget;

// Enter (Return or the keypad's Enter) in any edit field inside container clicks
// button, as the window's default command; a disabled button is not clicked.
void ConnectEnter(QWidget* container, QPushButton* button);
void ConnectEnter(const std::vector<QLineEdit*>& edits, QPushButton* button);

// Escape hides the window (a secondary window lives on, hidden, with its fields).
void AddEscapeHides(QWidget* form);

// Actions that stay enabled while a command of their window runs on a worker thread
// (hiding the window, the Help menu).
void KeepWhileBusy(QAction* action);
bool KeptWhileBusy(const QAction* action);

// The number fields of defs found in form show whether their text reads as a number,
// by the rule that refuses a malformed number when a command runs: while the text is
// neither empty nor one complete number (a whole number for a count) after trimming
// blanks, a red frame and the tooltip "Not a number: TEXT"; once fixed, the field's
// hint is back.
void WatchNumberFields(QWidget* form, const std::vector<FieldDef>& defs);
// Whether a watched field is marked.
bool MarkedInvalid(const QLineEdit* edit);

// Text areas that grow with their window and drawing areas that keep their size.
// Each widget added moves and grows by fractions of the window's growth over its
// smallest (designed) size: moveX/moveY of the extra width/height shift its corner,
// growX/growY widen and heighten it. A widget added with all four zero stays as it is.
class ElasticLayout : public QObject {
 public:
  // Watches the resizes of window; base is its designed (and smallest) size.
  ElasticLayout(QWidget* window, QSize base);
  void Add(QWidget* widget, double moveX, double moveY, double growX, double growY);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Item {
    QWidget* widget;
    QRect base;
    double moveX, moveY, growX, growY;
  };
  void Apply();

  QWidget* window_;
  QSize base_;
  std::vector<Item> items_;
};

// The Help menu: "User guide" opens the installed guide (or the one of the source
// tree the program was built from) with the desktop's viewer; "About quor" names the
// version and the libraries used with their licences.
class HelpMenu : public QMenu {
  Q_OBJECT
 public:
  explicit HelpMenu(QWidget* parent);

  QAction* Userguide1;
  QAction* Aboutquor1;

  // Opens a file with the desktop's program for it; tests replace it.
  std::function<bool(const QUrl&)> openUrl;
  // Shows a message (the About text, or that no guide was found); tests replace it.
  std::function<void(const QString& title, const QString& text)> showMessage;

  // The places a guide is looked for, in order.
  static QStringList GuideCandidates();
  // The About text.
  static QString AboutText();

 public slots:
  void UserguideClick();
  void AboutquorClick();
};

// Adds the Help menu to a window's menu bar.
HelpMenu* AddHelpMenu(QMenuBar* bar);
