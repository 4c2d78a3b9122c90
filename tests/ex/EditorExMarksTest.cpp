// The settings objects of the page editor's drawing layer: the extended
// marks and the guide lines, and what they report.
#include "editor/ex/EditorExMarks.h"

#include <gtest/gtest.h>

#include "base/Properties.h"

namespace kelu {
namespace {

// Counts the notifications of one object.
struct Counter {
  int count = 0;
  void Changed(TObject*) { ++count; }
  TNotifyEvent Event() { return TNotifyEvent::Of<&Counter::Changed>(this); }
};

TEST(EditorExMarksTest, EverySubObjectReportsThroughTheMarks) {
  TEditorExMarks marks;
  Counter counter;
  marks.OnChange = counter.Event();
  EXPECT_FALSE(marks.Indicated());
  int expected = 0;
  auto marksOf = [&]() -> std::vector<TEditorMark*> {
    return {&marks.DBSpaceMark(), &marks.SpaceMark(),   &marks.TabMark(),   &marks.FindMark(),
            &marks.ParenMark(),   &marks.CurrentLine(), &marks.DigitLine(), &marks.ImageLine(),
            &marks.Img0Line(),    &marks.Img1Line(),    &marks.Img2Line(),  &marks.Img3Line(),
            &marks.Img4Line(),    &marks.Img5Line(),    &marks.EvenLine()};
  };
  for (TEditorMark* mark : marksOf()) {
    mark->SetVisible(true);
    EXPECT_TRUE(marks.Indicated());
    EXPECT_EQ(counter.count, ++expected);
    mark->SetVisible(false);
    EXPECT_FALSE(marks.Indicated());
    mark->SetColor(clRed);
    expected += 2;
    EXPECT_EQ(counter.count, expected);
  }
  marks.Hit().SetBkColor(clYellow);
  EXPECT_EQ(counter.count, ++expected);
  EXPECT_FALSE(marks.Indicated());  // the hit colours are no mark
}

TEST(EditorExMarksTest, AssignCopiesAllAndReportsOnce) {
  TEditorExMarks source;
  source.Img3Line().SetVisible(true);
  source.Img3Line().SetColor(clLime);
  source.EvenLine().SetColor(clAqua);
  source.Hit().SetStyle(StyleBit(fsBold));
  source.FindMark().SetVisible(true);

  TEditorExMarks marks;
  Counter counter;
  marks.OnChange = counter.Event();
  marks.Assign(source);
  EXPECT_EQ(counter.count, 1);
  EXPECT_TRUE(marks.Img3Line().Visible());
  EXPECT_EQ(marks.Img3Line().Color(), clLime);
  EXPECT_EQ(marks.EvenLine().Color(), clAqua);
  EXPECT_EQ(marks.Hit().Style(), StyleBit(fsBold));
  EXPECT_TRUE(marks.FindMark().Visible());
  EXPECT_FALSE(marks.Img2Line().Visible());
}

TEST(EditorExMarksTest, PublishedInOrderWithIndicatedReadOnly) {
  TEditorExMarks marks;
  std::vector<std::string> names;
  for (const TPropInfo* p : marks.ClassInfo()->AllProps()) names.push_back(p->Name);
  EXPECT_EQ(names, (std::vector<std::string>{
                       "Indicated", "DBSpaceMark", "SpaceMark", "TabMark", "FindMark", "Hit",
                       "ParenMark", "CurrentLine", "DigitLine", "ImageLine", "Img0Line", "Img1Line",
                       "Img2Line", "Img3Line", "Img4Line", "Img5Line", "EvenLine"}));
  const TPropInfo* indicated = marks.ClassInfo()->Find("Indicated");
  ASSERT_TRUE(indicated);
  EXPECT_FALSE(indicated->SetOrd);
  marks.TabMark().SetVisible(true);
  EXPECT_EQ(indicated->GetOrd(marks), 1);
}

TEST(VerticalLinesTest, PositionIsAColumnUpTo1000) {
  TVerticalLines lines(nullptr);
  TVerticalLine& line = *lines.Add();
  EXPECT_EQ(line.Position(), 0);
  EXPECT_EQ(line.Color(), clBlack);
  EXPECT_TRUE(line.Visible());
  Counter counter;
  lines.OnChange = counter.Event();
  line.SetPosition(80);
  line.SetPosition(80);    // unchanged: no report
  line.SetPosition(1001);  // refused
  line.SetPosition(-1);    // refused
  EXPECT_EQ(line.Position(), 80);
  EXPECT_EQ(counter.count, 1);
  line.SetPosition(1000);
  EXPECT_EQ(line.Position(), 1000);
  line.SetColor(clRed);
  line.SetVisible(false);
  EXPECT_EQ(counter.count, 4);

  // Published values go through the same setter.
  const TPropInfo* position = line.ClassInfo()->Find("Position");
  ASSERT_TRUE(position);
  position->SetOrd(line, 5000);
  EXPECT_EQ(line.Position(), 1000);
}

TEST(VerticalLinesTest, AssignAndItemChangesReportToTheOwner) {
  TVerticalLines source(nullptr);
  source.Add()->SetPosition(8);
  TVerticalLine* second = source.Add();
  second->SetPosition(72);
  second->SetColor(clBlue);
  second->SetVisible(false);

  TVerticalLines lines(nullptr);
  Counter counter;
  lines.OnChange = counter.Event();
  lines.Assign(source);
  EXPECT_EQ(counter.count, 1);
  ASSERT_EQ(lines.Count(), 2);
  EXPECT_EQ(lines.Item(0).Position(), 8);
  EXPECT_EQ(lines.Item(1).Position(), 72);
  EXPECT_EQ(lines.Item(1).Color(), clBlue);
  EXPECT_FALSE(lines.Item(1).Visible());

  lines.Add();
  EXPECT_EQ(counter.count, 2);
  lines.Delete(0);
  EXPECT_EQ(counter.count, 3);
}

}  // namespace
}  // namespace kelu
