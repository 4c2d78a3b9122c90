#include "editor/model/RowList.h"

#include <gtest/gtest.h>

#include "base/Exceptions.h"

namespace kelu {
namespace {

struct Counter {
  int changes = 0, changings = 0;
  void Change(TObject*) { ++changes; }
  void Changing(TObject*) { ++changings; }
};

class RowListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    list.OnChange = TNotifyEvent::Of<&Counter::Change>(&counter);
    list.OnChanging = TNotifyEvent::Of<&Counter::Changing>(&counter);
  }
  TEditorStringList list;
  Counter counter;
};

TEST_F(RowListTest, ClearOnEmptyListFiresNothing) {
  list.Clear();
  EXPECT_EQ(counter.changes, 0);
  EXPECT_EQ(counter.changings, 0);
  list.Add("x");
  list.Clear();
  EXPECT_EQ(counter.changes, 2);
  EXPECT_EQ(list.GetCapacity(), 0);
}

TEST_F(RowListTest, InsertAtCountAppendsBeyondRaises) {
  list.Add("a");
  list.Insert(1, "b");
  EXPECT_EQ(list.Get(1), "b");
  try {
    list.Insert(3, "c");
    FAIL();
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "リストのインデックスが範囲を超えています");
  }
  EXPECT_EQ(list.Count(), 2);
  EXPECT_THROW(list.Exchange(0, 2), EListError);
  EXPECT_THROW(list.SetAttributes(2, 1), EListError);
  EXPECT_THROW(list.RowMarks(-1), EListError);
}

TEST_F(RowListTest, PutKeepsTheOtherFieldsExchangeMovesAllFive) {
  list.Add("a");
  list.Add("b");
  list.SetDataStrings(0, "ext");
  list.SetDatas(0, 42);
  list.SetAttributes(0, 0x12345678);
  list.SetAttributes2(0, 0x9ABCDEF0);
  list.Put(0, "new text");
  EXPECT_EQ(list.Get(0), "new text");
  EXPECT_EQ(list.DataStrings(0), "ext");
  EXPECT_EQ(list.Datas(0), 42);
  EXPECT_EQ(list.Attributes(0), 0x12345678u);
  EXPECT_EQ(list.Attributes2(0), 0x9ABCDEF0u);
  list.Exchange(0, 1);
  EXPECT_EQ(list.Get(1), "new text");
  EXPECT_EQ(list.DataStrings(1), "ext");
  EXPECT_EQ(list.Datas(1), 42);
  EXPECT_EQ(list.Attributes(1), 0x12345678u);
  EXPECT_EQ(list.Attributes2(1), 0x9ABCDEF0u);
  EXPECT_EQ(list.Attributes(0), 0u);
  EXPECT_EQ(list.DataStrings(0), "");
}

TEST_F(RowListTest, PackedFieldsReadBackAndLeaveNeighboursAlone) {
  list.Add("row");
  // A fresh row reads as "not computed", everything else zero.
  TRowAttributeData fresh = list.RowState(0);
  EXPECT_EQ(fresh.BracketIndex, -2);
  EXPECT_EQ(fresh.RowAttribute, raBreak);
  EXPECT_EQ(fresh.Remain, 0);
  struct Case {
    int value;
    std::uint32_t stored;
  };
  for (Case c : {Case{-2, 0}, Case{-1, 1}, Case{0, 2}, Case{13, 15}}) {
    list.SetBracketIndexes(0, c.value);
    EXPECT_EQ((list.Attributes(0) >> 4) & 0xF, c.stored);
    EXPECT_EQ(list.BracketIndexes(0), c.value);
  }
  list.SetAttributes2(0, 0x0000ABCD);
  list.SetRowMarks(0, 0x8001);
  EXPECT_EQ(list.Attributes2(0), 0x8001ABCDu);
  list.SetWrappedTokens(0, 0x7F);
  EXPECT_EQ(list.RowMarks(0), 0x8001);
  EXPECT_EQ(list.ExtBytes(0), 0xAB);
  list.SetRowAttributes(0, raEnd);
  list.SetPrevRowAttributes(0, raWrap);
  list.SetExtIndexes(0, 200);
  list.SetRemains(0, 255);
  list.SetExtValues(0, 1);
  EXPECT_EQ(list.RowAttributes(0), raEnd);
  EXPECT_EQ(list.PrevRowAttributes(0), raWrap);
  EXPECT_EQ(list.BracketIndexes(0), 13);
  EXPECT_EQ(list.ExtIndexes(0), 200);
  EXPECT_EQ(list.Remains(0), 255);
  EXPECT_EQ(list.ExtValues(0), 1);
  EXPECT_EQ(list.Attributes(0), 0x01FFC8F6u);
}

TEST_F(RowListTest, IndexedPropertiesSendNoNotification) {
  list.Add("a");
  int before = counter.changes;
  list.SetDatas(0, 1);
  list.SetDataStrings(0, "x");
  list.SetAttributes(0, 5);
  list.SetRowMarks(0, 3);
  EXPECT_EQ(counter.changes, before);
}

TEST_F(RowListTest, RowStateRoundTripKeepsOwnAttributeAndMarks) {
  list.Add("a");
  list.SetRowAttributes(0, raWrap);
  list.SetRowMarks(0, 0x0204);
  TRowAttributeData s;
  s.RowAttribute = raEnd;  // ignored: the row keeps its own
  s.PrevRowAttribute = raBreak;
  s.BracketIndex = 3;
  s.Remain = 2;
  s.WrappedToken = 7;
  s.ExtText = "carried";
  list.SetRowState(0, s);
  TRowAttributeData back = list.RowState(0);
  EXPECT_TRUE(back.SameCarriedState(s));
  EXPECT_EQ(back.RowAttribute, raWrap);
  EXPECT_EQ(list.RowMarks(0), 0x0204);
}

TEST_F(RowListTest, GrowthFollowsTheStatedSteps) {
  std::vector<int> capacities;
  for (int i = 0; i < 100; ++i) {
    list.Add("x");
    if (capacities.empty() || capacities.back() != list.GetCapacity()) {
      capacities.push_back(list.GetCapacity());
    }
  }
  EXPECT_EQ(capacities, (std::vector<int>{4, 8, 12, 28, 44, 60, 76, 95, 118}));
}

TEST_F(RowListTest, UpdateBracketGivesOneChangingAndOneChange) {
  list.BeginUpdate();
  list.Add("a");
  list.Add("b");
  list.Delete(0);
  list.EndUpdate();
  EXPECT_EQ(counter.changings, 1);
  EXPECT_EQ(counter.changes, 1);
}

TEST_F(RowListTest, ViewsAndLongTexts) {
  std::string big(100000, 'z');
  list.Add(big);
  list.Add("");
  EXPECT_EQ(list.View(0), big);
  EXPECT_TRUE(list.View(1).empty());
  list.Put(0, list.View(0).substr(10, 5));
  EXPECT_EQ(list.Get(0), "zzzzz");
}

}  // namespace
}  // namespace kelu
