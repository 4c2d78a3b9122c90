#include "base/Strings.h"

#include <gtest/gtest.h>

#include "base/Exceptions.h"

namespace kelu {
namespace {

struct ChangeCounter {
  int changes = 0;
  int changings = 0;
  void OnChange(TObject*) { ++changes; }
  void OnChanging(TObject*) { ++changings; }
};

TEST(TStringList, SortedIgnoresDuplicatesWithoutCase) {
  TStringList list = TStringList::SortedIgnoringDuplicates();
  list.Add(".txt");
  list.Add(".CPP");
  list.Add(".TXT");
  list.Add(".h");
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list[0], ".CPP");
  EXPECT_EQ(list[1], ".h");
  EXPECT_EQ(list[2], ".txt");
  EXPECT_EQ(list.IndexOf(".Txt"), 2);
  EXPECT_EQ(list.IndexOf(".c"), -1);
}

TEST(TStringList, CaseFoldingNeverTouchesTrailBytes) {
  // "ア" is 83 41 and "ツ" 83 63; folding the trail byte 'A' would make them
  // compare equal to "ャ" (83 61) and friends.
  EXPECT_NE(CompareTextSjis("\x83\x41", "\x83\x61"), 0);
  EXPECT_EQ(CompareTextSjis("Abc", "aBC"), 0);
  EXPECT_LT(CompareTextSjis("abc", "abd"), 0);
  EXPECT_GT(CompareTextSjis("abcd", "ABC"), 0);
  // A lead byte at the very end is a one-byte character.
  EXPECT_NE(CompareTextSjis("a\x83", "A\x83\x41"), 0);
}

TEST(TStringList, IndexErrorsCarryTheListMessage) {
  TStringList list;
  list.Add("a");
  try {
    list.Get(1);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "リストのインデックスが範囲を超えています");
  }
  EXPECT_THROW(list.Insert(2, "x"), EListError);
  EXPECT_THROW(list.Delete(-1), EListError);
  EXPECT_EQ(list.Count(), 1);
}

TEST(TStrings, TextSplitsAtEveryLineBreakAndStopsAtNul) {
  struct Case {
    std::string text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
      {"a\r\n\r\n", {"a", ""}},
      {std::string("ab\0cd", 5), {"ab"}},
      {"\n\n", {"", ""}},
  };
  for (const Case& c : cases) {
    TStringList list;
    list.SetText(c.text);
    ASSERT_EQ(list.Count(), static_cast<int>(c.lines.size())) << c.text;
    for (std::size_t i = 0; i < c.lines.size(); ++i) EXPECT_EQ(list[i], c.lines[i]);
  }
  TStringList list;
  list.SetText("x\ny");
  EXPECT_EQ(list.Text(), "x\r\ny\r\n");
}

TEST(TStringList, UpdateBracketsReportOnce) {
  TStringList list;
  ChangeCounter counter;
  list.OnChange = TNotifyEvent::Of<&ChangeCounter::OnChange>(&counter);
  list.OnChanging = TNotifyEvent::Of<&ChangeCounter::OnChanging>(&counter);
  list.BeginUpdate();
  list.Add("a");
  list.Add("b");
  list.Delete(0);
  list.EndUpdate();
  EXPECT_EQ(counter.changes, 1);
  EXPECT_EQ(counter.changings, 1);
  list.Add("c");
  EXPECT_EQ(counter.changes, 2);
}

TEST(TStrings, AssignAndAddStringsCopyEntries) {
  TStringList a, b;
  a.SetText("1\n2\n3");
  b.Add("old");
  b.Assign(a);
  EXPECT_TRUE(b.Equals(a));
  b.AddStrings(a);
  EXPECT_EQ(b.Count(), 6);
  TStringList sorted = TStringList::SortedIgnoringDuplicates();
  sorted.Assign(b);
  EXPECT_EQ(sorted.Count(), 3);
}

}  // namespace
}  // namespace kelu
