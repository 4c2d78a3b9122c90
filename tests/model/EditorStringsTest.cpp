#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "FakeEditor.h"
#include "base/Exceptions.h"

namespace kelu {
namespace {

using testing::FakeEditor;

TEST(Lines, TextRoundTripsByteForByte) {
  for (const std::string text :
       {"a", "a\r\n", "", "a\r\nb", "a\r\n\r\n", "\r\n", "x\r\n\r\ny\r\n"}) {
    FakeEditor e;
    e.lines.SetText(text);
    EXPECT_EQ(e.lines.Text(), text);
  }
  FakeEditor e;
  e.lines.SetText("a");
  EXPECT_EQ(e.Rows(), (std::vector<std::string>{"a|raEnd"}));
  e.lines.SetText("a\r\n");
  EXPECT_EQ(e.Rows(), (std::vector<std::string>{"a|raBreak"}));
  // Lone CR and LF end lines too and come back as CR LF; NUL ends the text.
  e.lines.SetText(std::string("a\rb\nc\0d", 7));
  EXPECT_EQ(e.lines.Text(), "a\r\nb\r\nc");
}

TEST(Lines, AddPutInsertDelete) {
  FakeEditor e;
  e.lines.Add("one");
  EXPECT_EQ(e.lines.Text(), "one\r\n");
  e.lines.SetText("x");
  EXPECT_EQ(e.lines.Add("y"), 1);
  EXPECT_EQ(e.lines.Text(), "x\r\ny");  // the old last line got the break
  e.lines.Put(1, "last");
  EXPECT_EQ(e.lines.Text(), "x\r\nlast");  // no break added to the final line
  e.lines.Insert(0, "top");
  EXPECT_EQ(e.lines.Text(), "top\r\nx\r\nlast");
  EXPECT_EQ(e.row, 1);  // at the start of the line that was at the index
  e.lines.Insert(3, "appended");
  EXPECT_EQ(e.lines.Text(), "top\r\nx\r\nlast\r\nappended");
  e.lines.Delete(1);
  EXPECT_EQ(e.lines.Text(), "top\r\nlast\r\nappended");
  EXPECT_THROW(e.lines.Delete(3), EListError);
  EXPECT_THROW(e.lines.Put(-1, "x"), EListError);
  EXPECT_THROW(e.lines.Insert(5, "x"), EListError);
}

TEST(Lines, WrappedLineCountsOnce) {
  FakeEditor e;
  e.rows.WrapOption().SetWrapByte(20);
  e.rows.SetWordWrap(true);
  std::string longLine(50, 'w');
  e.lines.SetText("top\r\n" + longLine + "\r\nend");
  EXPECT_EQ(e.rows.GetCount(), 5);
  EXPECT_EQ(e.lines.Count(), 3);
  EXPECT_EQ(e.lines[1], longLine);
  EXPECT_EQ(e.lines[3], "");  // one past the end reads as an empty line
  EXPECT_THROW(e.lines.Get(4), EListError);
  e.lines.Put(1, "short");
  EXPECT_EQ(e.lines.Text(), "top\r\nshort\r\nend");
}

TEST(Lines, LoadFromFileStopsAtTheEndOfFileMark) {
  std::string path = ::testing::TempDir() + "/kelu_lines_load.txt";
  {
    std::ofstream out(path, std::ios::binary);
    out << "one\r\ntwo\rthree\nfour\x1A"
        << "ignored\r\n";
  }
  FakeEditor e;
  e.lines.LoadFromFile(path);
  EXPECT_EQ(e.lines.Text(), "one\r\ntwo\r\nthree\r\nfour");
  std::remove(path.c_str());
  EXPECT_THROW(e.lines.LoadFromFile(path), EFileError);
  EXPECT_EQ(e.rows.GetCount(), 0);
}

TEST(Lines, AssignTakesTheTextAndPutsTheCaretAfterIt) {
  FakeEditor e;
  TStringList list;
  list.Add("a");
  list.Add("b");
  e.lines.Assign(list);
  EXPECT_EQ(e.lines.Text(), "a\r\nb\r\n");
  EXPECT_EQ(e.row, 2);
}

}  // namespace
}  // namespace kelu
