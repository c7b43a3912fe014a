#pragma once
// A read-only multi-line text area that is also a Report sink.
//
// A calculation may append millions of lines without letting the window breathe (the
// ring-by-ring sum of a conical coil of 2000 turns writes 4 million). A text document
// spends some 200 bytes on each line's block and takes minutes to insert them, so the
// lines themselves are kept in a ReportBuffer, about 40 bytes a line, bounded at
// kKeptBytes (the oldest lines go first), and the text area shows the newest
// kShownLines of them. The shown text catches up with the buffer in one insertion: on a
// zero-delay timer (the first chance the event loop gets), whenever the long loops
// pump events, and before anything reads the text. Reading the lines, and copying a
// selection of the whole text area, gives every kept line in the order of the Append
// calls.
//
// Its context menu, and the File menu of its window, offer "Clear Report" and "Save
// Report as..." (every kept line, as plain UTF-8 text).
#include <QPlainTextEdit>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "numerics/report.h"
#include "numerics/report_buffer.h"
#include "numerics/library_namespaces.h"

class QAction;
class QContextMenuEvent;
class QMimeData;

class ReportMemo : public QPlainTextEdit, public ReportSink {
  Q_OBJECT
 public:
  // The newest lines the text area shows (some 20 MB of text document).
  static constexpr int kShownLines = 100000;
  // The text kept for reading and copying: one whole listing of the longest ring sum
  // (160 MB) with room to spare; past it the oldest lines go.
  static constexpr std::size_t kKeptBytes = std::size_t{192} << 20;

  explicit ReportMemo(QWidget* parent = nullptr);

  // Keeps one line (the caller, ReportLine, has cut it to 255 characters).
  void Append(std::string_view line) override;
  // Brings the shown text up to date and scrolls to the last line.
  void Flush();

  // All kept lines. An empty memo has no lines.
  QStringList Lines();
  std::vector<std::string> LinesUtf8();
  // The kept lines joined by '\n', UTF-8: what Copy of the whole text area gives.
  std::string TextUtf8() const { return buffer_.Text(); }
  int LineCount();
  // Replaces the whole text (the memo's initial text, a loaded file).
  void SetLines(const QStringList& lines);
  void Clear();

  // Writes every kept line, each ended by a line feed, in UTF-8, to the file at path
  // (replaced whole or not at all). Throws FileError.
  void SaveTo(const std::string& path);

  // "Clear Report" and "Save Report as...", in the context menu; a window's File menu
  // adds the same actions.
  QAction* ClearAction() const { return clearAction_; }
  QAction* SaveAction() const { return saveAction_; }
  // The file dialog of Save Report as: given the proposed name, the chosen one, or an
  // empty text when cancelled. Tests replace it.
  std::function<QString(const QString& initialName)> chooseSaveFile;
  // Shows the message of a file error of Save Report as (an error box). Tests replace
  // it.
  std::function<void(const QString&)> showError;

 public slots:
  void ClearReportClick();
  void SaveReportClick();

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  // A selection of the whole text area copies every kept line, also those above the
  // shown ones.
  QMimeData* createMimeDataFromSelection() const override;

 private:
  ReportBuffer buffer_{kKeptBytes};
  std::int64_t shown_ = 0;  // lines appended (kept or dropped) when the text was last shown
  bool hasLines_ = false;   // the document's single empty block is "no lines" until set
  QTimer flushTimer_;
  QAction* clearAction_;
  QAction* saveAction_;
  QString saveName_ = QStringLiteral("report.txt");
};
