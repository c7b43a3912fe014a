#include "platform/report_memo.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <memory>

#include "numerics/file_error.h"
#include "numerics/file_write.h"

namespace {

QString FromUtf8(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

ReportMemo::ReportMemo(QWidget* parent) : QPlainTextEdit(parent) {
  setReadOnly(true);
  setUndoRedoEnabled(false);
  // Lines inserted past the limit push the oldest shown blocks out.
  setMaximumBlockCount(kShownLines);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  flushTimer_.setSingleShot(true);
  flushTimer_.setInterval(0);
  connect(&flushTimer_, &QTimer::timeout, this, &ReportMemo::Flush);

  clearAction_ = new QAction(QStringLiteral("Clear Report"), this);
  clearAction_->setObjectName(QStringLiteral("ClearReport1"));
  saveAction_ = new QAction(QStringLiteral("Save Report as..."), this);
  saveAction_->setObjectName(QStringLiteral("SaveReport1"));
  connect(clearAction_, &QAction::triggered, this, &ReportMemo::ClearReportClick);
  connect(saveAction_, &QAction::triggered, this, &ReportMemo::SaveReportClick);
  chooseSaveFile = [this](const QString& initial) {
    QFileDialog dialog(window(), QStringLiteral("Save Report as"), QString(),
                       QStringLiteral("Text files (*.txt);;All files (*)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.selectFile(initial);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
  };
  showError = [this](const QString& message) {
    QMessageBox::critical(window(), QStringLiteral("quor"), message);
  };
}

void ReportMemo::SaveTo(const std::string& path) {
  std::string text = buffer_.Text();
  if (buffer_.LineCount() > 0) text += '\n';
  WriteFileAtomically(path, text);
}

void ReportMemo::ClearReportClick() { Clear(); }

void ReportMemo::SaveReportClick() {
  const QString name = chooseSaveFile ? chooseSaveFile(saveName_) : QString();
  if (name.isEmpty()) return;
  try {
    SaveTo(name.toStdString());
    saveName_ = name;
  } catch (const FileError& error) {
    if (showError) showError(QString::fromStdString(error.what()));
  }
}

void ReportMemo::contextMenuEvent(QContextMenuEvent* event) {
  // The text area's own items (copy, select all), then the Report's.
  std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
  menu->addSeparator();
  menu->addAction(clearAction_);
  menu->addAction(saveAction_);
  menu->exec(event->globalPos());
}

void ReportMemo::Append(std::string_view line) {
  buffer_.Append(line);
  if (!flushTimer_.isActive()) flushTimer_.start();
}

void ReportMemo::Flush() {
  flushTimer_.stop();
  const std::int64_t appended = buffer_.LineCount() + buffer_.DroppedCount();
  const std::int64_t fresh = appended - shown_;
  if (fresh == 0) return;
  shown_ = appended;
  const std::int64_t kept = buffer_.LineCount();
  if (!hasLines_ || fresh >= kShownLines) {
    // The text area shows the newest lines only: nothing older is inserted first.
    setPlainText(FromUtf8(buffer_.Text(kept - std::min<std::int64_t>(kept, kShownLines))));
    hasLines_ = true;
  } else {
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    // One insertion; each '\n' starts a new block.
    cursor.insertText(QLatin1Char('\n') + FromUtf8(buffer_.Text(kept - fresh)));
  }
  // Show the newest line, as a memo does when a line is added.
  moveCursor(QTextCursor::End);
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

QStringList ReportMemo::Lines() {
  Flush();
  QStringList lines;
  lines.reserve(static_cast<qsizetype>(buffer_.LineCount()));
  buffer_.ForEachLine(0, [&lines](std::string_view line) {
    lines << QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
  });
  return lines;
}

std::vector<std::string> ReportMemo::LinesUtf8() {
  Flush();
  std::vector<std::string> out;
  out.reserve(static_cast<std::size_t>(buffer_.LineCount()));
  buffer_.ForEachLine(0, [&out](std::string_view line) { out.emplace_back(line); });
  return out;
}

int ReportMemo::LineCount() {
  Flush();
  return static_cast<int>(buffer_.LineCount());
}

void ReportMemo::SetLines(const QStringList& lines) {
  flushTimer_.stop();
  buffer_.Clear();
  for (const QString& line : lines) buffer_.Append(line.toStdString());
  shown_ = buffer_.LineCount() + buffer_.DroppedCount();
  const std::int64_t kept = buffer_.LineCount();
  hasLines_ = kept > 0;
  setPlainText(FromUtf8(buffer_.Text(kept - std::min<std::int64_t>(kept, kShownLines))));
}

void ReportMemo::Clear() { SetLines({}); }

QMimeData* ReportMemo::createMimeDataFromSelection() const {
  const QTextCursor selection = textCursor();
  const bool whole = selection.selectionStart() == 0 &&
                     selection.selectionEnd() == document()->characterCount() - 1;
  if (!whole || buffer_.LineCount() <= document()->blockCount())
    return QPlainTextEdit::createMimeDataFromSelection();
  // Every kept line, the shown ones and those above them; text/plain in UTF-8 is half
  // the size of the same text as a QString.
  auto* data = new QMimeData;
  const std::string text = buffer_.Text();
  data->setData(QStringLiteral("text/plain"), QByteArray(text.data(), static_cast<qsizetype>(text.size())));
  return data;
}
