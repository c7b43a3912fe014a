#pragma once
// A read-only multi-line text area that is also a Report sink.
//
// A calculation may append a million lines without letting the window breathe, and
// inserting them one by one into the text document would take minutes. Appended lines
// are therefore kept in a buffer and moved into the document in one insertion: on a
// zero-delay timer (the first chance the event loop gets), whenever the long loops pump
// events, and before anything reads the text. The order of the lines is the order of
// the Append calls; reading the lines always sees all of them.
#include <QPlainTextEdit>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <string>
#include <vector>

#include "numerics/report.h"

class ReportMemo : public QPlainTextEdit, public ReportSink {
  Q_OBJECT
 public:
  explicit ReportMemo(QWidget* parent = nullptr);

  // Buffers one line (the caller, ReportLine, has cut it to 255 characters).
  void Append(std::string_view line) override;
  // Moves the buffered lines into the document and scrolls to the last one.
  void Flush();

  // All lines, buffered ones included. An empty memo has no lines.
  QStringList Lines();
  std::vector<std::string> LinesUtf8();
  int LineCount();
  // Replaces the whole text (the memo's initial text, a loaded file).
  void SetLines(const QStringList& lines);
  void Clear();

 private:
  std::string pending_;  // buffered lines joined by '\n'
  int pendingCount_ = 0;
  bool hasLines_ = false;  // the document's single empty block is "no lines" until set
  int lineCount_ = 0;
  QTimer flushTimer_;
};
