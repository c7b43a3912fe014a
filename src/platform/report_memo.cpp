#include "platform/report_memo.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

ReportMemo::ReportMemo(QWidget* parent) : QPlainTextEdit(parent) {
  setReadOnly(true);
  setUndoRedoEnabled(false);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  flushTimer_.setSingleShot(true);
  flushTimer_.setInterval(0);
  connect(&flushTimer_, &QTimer::timeout, this, &ReportMemo::Flush);
}

void ReportMemo::Append(std::string_view line) {
  if (pendingCount_ > 0) pending_ += '\n';
  pending_.append(line);
  ++pendingCount_;
  if (!flushTimer_.isActive()) flushTimer_.start();
}

void ReportMemo::Flush() {
  flushTimer_.stop();
  if (pendingCount_ == 0) return;
  QString text;
  text.reserve(static_cast<qsizetype>(pending_.size()) + 1);
  if (hasLines_) text += QLatin1Char('\n');
  text += QString::fromUtf8(pending_.data(), static_cast<qsizetype>(pending_.size()));
  pending_.clear();
  pending_.shrink_to_fit();
  lineCount_ += pendingCount_;
  pendingCount_ = 0;
  hasLines_ = true;

  QTextCursor cursor(document());
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(text);  // one insertion; each '\n' starts a new block
  // Show the newest line, as a memo does when a line is added.
  moveCursor(QTextCursor::End);
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

QStringList ReportMemo::Lines() {
  Flush();
  if (!hasLines_) return {};
  QStringList lines;
  lines.reserve(lineCount_);
  for (QTextBlock b = document()->begin(); b.isValid(); b = b.next()) lines << b.text();
  return lines;
}

std::vector<std::string> ReportMemo::LinesUtf8() {
  std::vector<std::string> out;
  for (const QString& s : Lines()) out.push_back(s.toStdString());
  return out;
}

int ReportMemo::LineCount() {
  Flush();
  return lineCount_;
}

void ReportMemo::SetLines(const QStringList& lines) {
  flushTimer_.stop();
  pending_.clear();
  pendingCount_ = 0;
  hasLines_ = !lines.isEmpty();
  lineCount_ = static_cast<int>(lines.size());
  setPlainText(lines.join(QLatin1Char('\n')));
}

void ReportMemo::Clear() { SetLines({}); }
