// The Report text area: buffered appends that are never lost or reordered.
#include <gtest/gtest.h>

#include <QApplication>
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
