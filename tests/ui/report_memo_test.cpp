// The Report text area: buffered appends that are never lost or reordered, and a
// bounded text document however long the Report grows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QScrollBar>
#include <QTextDocument>
#include <string>

#include "platform/report_memo.h"

namespace {
QStringList Q(std::initializer_list<const char*> lines) {
  QStringList out;
  for (const char* s : lines) out << QString::fromUtf8(s);
  return out;
}
}  // namespace

TEST(ReportMemo, KeepsEveryLineInOrderAcrossFlushes) {
  ReportMemo memo;
  QStringList expected;
  for (int i = 0; i < 3000; ++i) {
    const std::string line = i % 7 == 0 ? std::string() : "line " + std::to_string(i);
    memo.Append(line);
    expected << QString::fromStdString(line);
    if (i % 1000 == 500) memo.Flush();           // explicit flushes in between
    if (i % 1000 == 900) QApplication::processEvents();  // and the timer's
  }
  EXPECT_EQ(memo.Lines(), expected);
  EXPECT_EQ(memo.LineCount(), 3000);
  EXPECT_EQ(memo.document()->blockCount(), 3000);
}

TEST(ReportMemo, EmptyAndLeadingLinesAreLinesToo) {
  ReportMemo memo;
  EXPECT_TRUE(memo.Lines().isEmpty());
  memo.Append("");
  EXPECT_EQ(memo.Lines(), QStringList{QString()});
  memo.Append("after");
  EXPECT_EQ(memo.Lines(), Q({"", "after"}));

  memo.SetLines(Q({"title", "version"}));
  memo.Append("");
  memo.Append("x");
  EXPECT_EQ(memo.Lines(), Q({"title", "version", "", "x"}));

  memo.Clear();
  EXPECT_EQ(memo.LineCount(), 0);
  memo.Append("first");
  EXPECT_EQ(memo.Lines(), Q({"first"}));
}

TEST(ReportMemo, TheEventLoopMovesBufferedLinesIntoTheWidget) {
  ReportMemo memo;
  memo.SetLines(Q({"a"}));
  ReportLine(memo, "b");
  ReportLine(memo, std::string(300, 'c'));  // cut to 255 on the way in
  EXPECT_EQ(memo.toPlainText(), QStringLiteral("a"));  // still buffered
  QApplication::processEvents();
  const QStringList shown = memo.toPlainText().split(QLatin1Char('\n'));
  ASSERT_EQ(shown.size(), 3);
  EXPECT_EQ(shown[1], QStringLiteral("b"));
  EXPECT_EQ(shown[2], QString(255, QLatin1Char('c')));
}

TEST(ReportMemo, IsReadOnlyAndScrollsToTheNewestLine) {
  ReportMemo memo;
  memo.resize(200, 120);
  memo.show();
  for (int i = 0; i < 200; ++i) memo.Append("row " + std::to_string(i));
  memo.Flush();
  QApplication::processEvents();
  EXPECT_TRUE(memo.isReadOnly());
  EXPECT_EQ(memo.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  QScrollBar* bar = memo.verticalScrollBar();
  EXPECT_GT(bar->maximum(), 0);
  EXPECT_EQ(bar->value(), bar->maximum());
}

// A Report longer than the text area shows: the area holds the newest lines only, while
// reading the lines and copying the whole area give every one.
TEST(ReportMemo, ShowsTheNewestLinesAndKeepsThemAll) {
  ReportMemo memo;
  const int total = ReportMemo::kShownLines + 5000;
  QStringList expected;
  for (int i = 0; i < total; ++i) {
    const std::string line = "Termo=" + std::to_string(i);
    memo.Append(line);
    expected << QString::fromStdString(line);
  }
  memo.Flush();
  QTextDocument* doc = memo.document();
  EXPECT_EQ(doc->blockCount(), ReportMemo::kShownLines);
  EXPECT_EQ(doc->firstBlock().text(), expected[5000]);
  EXPECT_EQ(doc->lastBlock().text(), expected.back());
  EXPECT_EQ(memo.LineCount(), total);
  EXPECT_EQ(memo.Lines(), expected);

  // A few more lines push as many shown ones out at the top.
  for (int i = 0; i < 10; ++i) {
    memo.Append("more " + std::to_string(i));
    expected << QStringLiteral("more %1").arg(i);
  }
  memo.Flush();
  EXPECT_EQ(doc->blockCount(), ReportMemo::kShownLines);
  EXPECT_EQ(doc->firstBlock().text(), expected[5010]);
  EXPECT_EQ(doc->lastBlock().text(), QStringLiteral("more 9"));

  // Select all and copy: every line; a part of the area: that part as shown.
  memo.selectAll();
  memo.copy();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), expected.join(QLatin1Char('\n')));
  QTextCursor part(doc->lastBlock());
  part.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  memo.setTextCursor(part);
  memo.copy();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("more 9"));
  EXPECT_EQ(QString::fromStdString(memo.TextUtf8()), expected.join(QLatin1Char('\n')));

  // Replacing the text shows the newest of the new lines the same way.
  memo.SetLines(expected);
  EXPECT_EQ(doc->blockCount(), ReportMemo::kShownLines);
  EXPECT_EQ(memo.Lines(), expected);
}
