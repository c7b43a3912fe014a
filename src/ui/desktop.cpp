#include "ui/desktop.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>
#include <QtGlobal>

#include "numerics/number_reading.h"
#include "quor_version.h"
#include "numerics/library_namespaces.h"

namespace {

const char* const kKeepWhileBusy = "quorKeepWhileBusy";
const char* const kHint = "quorHint";
const char* const kInvalid = "quorInvalidNumber";

}  // namespace

void ConnectEnter(const std::vector<QLineEdit*>& edits, QPushButton* button) {
  for (QLineEdit* edit : edits) {
    // A disabled button ignores click(): a command that may not run now stays so.
    QObject::connect(edit, &QLineEdit::returnPressed, button, [button] {
      if (button->isEnabled()) button->click();
    });
  }
}

void ConnectEnter(QWidget* container, QPushButton* button) {
  const QList<QLineEdit*> found = container->findChildren<QLineEdit*>();
  ConnectEnter(std::vector<QLineEdit*>(found.begin(), found.end()), button);
}

void KeepWhileBusy(QAction* action) { action->setProperty(kKeepWhileBusy, true); }

bool KeptWhileBusy(const QAction* action) { return action->property(kKeepWhileBusy).toBool(); }

void AddEscapeHides(QWidget* form) {
  auto* hide = new QAction(form);
  hide->setObjectName(QStringLiteral("HideWindow"));
  hide->setShortcut(QKeySequence(Qt::Key_Escape));
  hide->setShortcutContext(Qt::WindowShortcut);
  QObject::connect(hide, &QAction::triggered, form, &QWidget::hide);
  form->addAction(hide);
  KeepWhileBusy(hide);
}

namespace {

void ShowNumberState(QLineEdit* edit, bool count) {
  const QString text = edit->text();
  const std::string utf8 = text.toStdString();
  const bool ok = count ? IsIntegerText(utf8) : IsNumberText(utf8);
  if (ok == !edit->property(kInvalid).toBool()) {
    // The state stands; a marked field's tooltip follows the text.
    if (!ok) edit->setToolTip(QStringLiteral("Not a number: ") + text);
    return;
  }
  edit->setProperty(kInvalid, !ok);
  if (ok) {
    edit->setStyleSheet(QString());
    edit->setToolTip(edit->property(kHint).toString());
  } else {
    edit->setStyleSheet(QStringLiteral("QLineEdit { border: 2px solid red; }"));
    edit->setToolTip(QStringLiteral("Not a number: ") + text);
  }
}

}  // namespace

void WatchNumberFields(QWidget* form, const std::vector<FieldDef>& defs) {
  for (const FieldDef& def : defs) {
    const FieldKind kind = def.Kind();
    if (kind != FieldKind::Number && kind != FieldKind::Count) continue;
    auto* edit = form->findChild<QLineEdit*>(QString::fromStdString(def.name));
    if (!edit || edit->property(kHint).isValid()) continue;  // absent, or watched already
    edit->setProperty(kHint, edit->toolTip());
    edit->setProperty(kInvalid, false);
    const bool count = kind == FieldKind::Count;
    // Every change, typed or set by the program (a load, a unit conversion).
    QObject::connect(edit, &QLineEdit::textChanged, edit,
                     [edit, count] { ShowNumberState(edit, count); });
    ShowNumberState(edit, count);
  }
}

bool MarkedInvalid(const QLineEdit* edit) { return edit->property(kInvalid).toBool(); }

ElasticLayout::ElasticLayout(QWidget* window, QSize base)
    : QObject(window), window_(window), base_(base) {
  window->setMinimumSize(base);
  window->installEventFilter(this);
}

void ElasticLayout::Add(QWidget* widget, double moveX, double moveY, double growX,
                        double growY) {
  items_.push_back({widget, widget->geometry(), moveX, moveY, growX, growY});
  Apply();
}

bool ElasticLayout::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window_ && event->type() == QEvent::Resize) Apply();
  return QObject::eventFilter(watched, event);
}

void ElasticLayout::Apply() {
  const int dw = std::max(0, window_->width() - base_.width());
  const int dh = std::max(0, window_->height() - base_.height());
  for (const Item& item : items_) {
    const QRect& r = item.base;
    item.widget->setGeometry(r.x() + qRound(item.moveX * dw), r.y() + qRound(item.moveY * dh),
                             r.width() + qRound(item.growX * dw),
                             r.height() + qRound(item.growY * dh));
  }
}

HelpMenu::HelpMenu(QWidget* parent) : QMenu(QStringLiteral("Help"), parent) {
  setObjectName(QStringLiteral("Help1"));
  menuAction()->setObjectName(QStringLiteral("Help1Item"));
  Userguide1 = addAction(QStringLiteral("User guide"));
  Userguide1->setObjectName(QStringLiteral("Userguide1"));
  Userguide1->setShortcut(QKeySequence(Qt::Key_F1));
  Aboutquor1 = addAction(QStringLiteral("About quor"));
  Aboutquor1->setObjectName(QStringLiteral("Aboutquor1"));
  KeepWhileBusy(menuAction());
  KeepWhileBusy(Userguide1);
  KeepWhileBusy(Aboutquor1);
  connect(Userguide1, &QAction::triggered, this, &HelpMenu::UserguideClick);
  connect(Aboutquor1, &QAction::triggered, this, &HelpMenu::AboutquorClick);
  openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  showMessage = [this](const QString& title, const QString& text) {
    QMessageBox::about(parentWidget(), title, text);
  };
}

QStringList HelpMenu::GuideCandidates() {
  // Installed beside the program (bin/../share/doc/quor), as the package installs it,
  // then the source tree of this build.
  const QString installed = QStringLiteral("/share/doc/quor/docs/guide.md");
  QStringList places;
  places << QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/..") +
                            installed)
         << QStringLiteral("/usr") + installed;
#ifdef QUOR_SOURCE_DIR
  places << QStringLiteral(QUOR_SOURCE_DIR "/docs/guide.md");
#endif
  places.removeDuplicates();
  return places;
}

QString HelpMenu::AboutText() {
  return QStringLiteral(
             "quor %1\n"
             "Calculator for air-core transformers (Tesla coils) and axially symmetric "
             "electrostatic structures.\n\n"
             "Libraries used:\n"
             "Qt %2, GNU LGPL version 3\n"
             "Eigen 3, Mozilla Public License 2.0\n"
             "In the tests: GoogleTest, BSD 3-Clause; Boost.Math, Boost Software License "
             "1.0")
      .arg(QString::fromUtf8(kQuorVersion), QString::fromUtf8(qVersion()));
}

void HelpMenu::UserguideClick() {
  for (const QString& path : GuideCandidates()) {
    if (QFileInfo(path).isFile()) {
      if (openUrl) openUrl(QUrl::fromLocalFile(path));
      return;
    }
  }
  if (showMessage)
    showMessage(QStringLiteral("User guide"),
                QStringLiteral("The user guide is not installed. It was looked for in:\n") +
                    GuideCandidates().join(QLatin1Char('\n')));
}

void HelpMenu::AboutquorClick() {
  if (showMessage) showMessage(QStringLiteral("About quor"), AboutText());
}

HelpMenu* AddHelpMenu(QMenuBar* bar) {
  auto* help = new HelpMenu(bar->parentWidget());
  bar->addMenu(help);
  return help;
}
