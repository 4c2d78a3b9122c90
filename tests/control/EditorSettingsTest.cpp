#include "editor/control/settings/EditorSettings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/Exceptions.h"

namespace kelu {
namespace {

struct Counter {
  int count = 0;
  TObject* sender = nullptr;
  void Hit(TObject* s) {
    ++count;
    sender = s;
  }
  TNotifyEvent Event() { return TNotifyEvent::Of<&Counter::Hit>(this); }
};

// Every settings class with a factory and its ordinal properties that are
// plain fields (written without notification).
struct SettingsClass {
  const char* name;
  std::function<std::unique_ptr<TPersistent>()> make;
  std::set<std::string> plain;
};

template <class C>
std::function<std::unique_ptr<TPersistent>()> Factory() {
  return [] { return std::make_unique<C>(); };
}

const std::vector<SettingsClass>& Classes() {
  static const std::vector<SettingsClass> classes = {
      {"TEditorCursors", Factory<TEditorCursors>(), {}},
      {"TEditorCaret",
       Factory<TEditorCaret>(),
       {"AutoCursor", "AutoIndent", "BackSpaceUnIndent", "FreeCaret", "FreeRow", "InTab",
        "KeepCaret", "LockScroll", "NextLine", "PrevSpaceIndent", "RowSelect", "SelDragMode",
        "SelMove", "SoftTab", "TabIndent", "TokenEndStop"}},
      {"TEditorMargin", Factory<TEditorMargin>(), {}},
      {"TEditorMark", Factory<TEditorMark>(), {}},
      {"TEditorMarks", Factory<TEditorMarks>(), {}},
      {"TEditorRuler", Factory<TEditorRuler>(), {}},
      {"TEditorLeftbar", Factory<TEditorLeftbar>(), {}},
      {"TEditorImagebar", Factory<TEditorImagebar>(), {}},
      {"TEditorSpeed",
       Factory<TEditorSpeed>(),
       {"CaretVerticalAc", "InitBracketsFull", "PageVerticalRange", "PageVerticalRangeAc"}},
  };
  return classes;
}

bool IsOrdinal(const TPropInfo& p) {
  return p.Kind() == TTypeKind::tkInteger || p.Kind() == TTypeKind::tkEnumeration;
}

// A value other than the property's current one that its setter keeps.
std::int64_t OtherValue(const TPersistent& obj, const TPropInfo& p) {
  std::int64_t v = p.GetOrd(obj);
  if (p.Kind() == TTypeKind::tkEnumeration) {
    return (v + 1) % static_cast<std::int64_t>(p.Type->Names.size());
  }
  // Every clamped range has room below or above the default.
  if (p.Name == "TabSpaceCount" || p.Name == "GaugeRange") return v - 2;
  if (v == 4 || v == 100) return v - 1;  // upper ends of Column, the speeds and the margins
  return v + 1;
}

// Changes every ordinal property, nested objects included, away from its
// current value.
void ChangeEverything(TPersistent& obj) {
  EnumProperties(obj, tkProperties, [](TPersistent& o, const TPropInfo& p) {
    if (IsOrdinal(p)) p.SetOrd(o, OtherValue(o, p));
  });
}

// Every ordinal value of the object, nested objects included, in published
// order, with the name of the property.
std::vector<std::pair<std::string, std::int64_t>> Snapshot(TPersistent& obj) {
  std::vector<std::pair<std::string, std::int64_t>> values;
  EnumProperties(obj, tkProperties, [&](TPersistent& o, const TPropInfo& p) {
    if (IsOrdinal(p)) values.emplace_back(p.Name, p.GetOrd(o));
  });
  return values;
}

// Copies every published property of `src` into `dest` through the
// description only, as the settings store does.
void CopyThroughDescription(TPersistent& src, TPersistent& dest) {
  ASSERT_EQ(src.ClassInfo(), dest.ClassInfo());
  for (const TPropInfo* p : src.ClassInfo()->AllProps()) {
    if (IsOrdinal(*p)) {
      p->SetOrd(dest, p->GetOrd(src));
    } else if (p->Kind() == TTypeKind::tkClass) {
      CopyThroughDescription(*p->GetObj(src), *p->GetObj(dest));
    } else {
      ADD_FAILURE() << "unexpected property kind of " << p->Name;
    }
  }
}

// ------------------------------------------------------------ descriptions

struct Expected {
  const char* name;
  const char* type;
  std::optional<std::int64_t> def;
};

TEST(EditorSettingsDescription, NamesTypesDefaultsInPublishedOrder) {
  const std::vector<std::pair<const char*, std::vector<Expected>>> table = {
      {"TEditorCursors",
       {{"DefaultCursor", "TCursor", -4},
        {"DragSelCursor", "TCursor", -12},
        {"DragSelCopyCursor", "TCursor", 1959},
        {"InSelCursor", "TCursor", 0},
        {"LeftMarginCursor", "TCursor", 1958},
        {"TopMarginCursor", "TCursor", 0}}},
      {"TEditorCaret",
       {{"AutoCursor", "Boolean", 1},
        {"AutoIndent", "Boolean", 1},
        {"BackSpaceUnIndent", "Boolean", 1},
        {"Cursors", "TEditorCursors", std::nullopt},
        {"FreeCaret", "Boolean", 1},
        {"FreeRow", "Boolean", 0},
        {"InTab", "Boolean", 0},
        {"KeepCaret", "Boolean", 0},
        {"LockScroll", "Boolean", 0},
        {"NextLine", "Boolean", 0},
        {"PrevSpaceIndent", "Boolean", 0},
        {"RowSelect", "Boolean", 1},
        {"SelDragMode", "TDragMode", dmAutomatic},
        {"SelMove", "Boolean", 1},
        {"SoftTab", "Boolean", 0},
        {"Style", "TEditorCaretStyle", csDefault},
        {"TabIndent", "Boolean", 0},
        {"TabSpaceCount", "Integer", 8},
        {"TokenEndStop", "Boolean", 0}}},
      {"TEditorMargin",
       {{"Character", "Integer", 0},
        {"Left", "Integer", 19},
        {"Line", "Integer", 0},
        {"Top", "Integer", 2}}},
      {"TEditorMark", {{"Color", "TColor", clGray}, {"Visible", "Boolean", 0}}},
      {"TEditorMarks",
       {{"EofMark", "TEditorMark", std::nullopt},
        {"RetMark", "TEditorMark", std::nullopt},
        {"WrapMark", "TEditorMark", std::nullopt},
        {"HideMark", "TEditorMark", std::nullopt},
        {"Underline", "TEditorMark", std::nullopt}}},
      {"TEditorRuler",
       {{"BkColor", "TColor", clSilver},
        {"Color", "TColor", clBlack},
        {"Edge", "Boolean", 1},
        {"GaugeRange", "Integer", 10},
        {"MarkColor", "TColor", clBlack},
        {"Visible", "Boolean", 0}}},
      {"TEditorLeftbar",
       {{"BkColor", "TColor", clSilver},
        {"Color", "TColor", clBlack},
        {"Column", "Integer", 4},
        {"Edge", "Boolean", 1},
        {"LeftMargin", "Integer", 8},
        {"RightMargin", "Integer", 4},
        {"ShowNumber", "Boolean", 1},
        {"ShowNumberMode", "TEditorShowNumberMode", nmRow},
        {"Visible", "Boolean", 0},
        {"ZeroBase", "Boolean", 0},
        {"ZeroLead", "Boolean", 0}}},
      {"TEditorImagebar",
       {{"DigitWidth", "Integer", 8},
        {"LeftMargin", "Integer", 2},
        {"MarkWidth", "Integer", 0},
        {"RightMargin", "Integer", 2},
        {"Visible", "Boolean", 1}}},
      {"TEditorSpeed",
       {{"CaretVerticalAc", "TEditorSpeedRange", 2},
        {"InitBracketsFull", "Boolean", 0},
        {"PageVerticalRange", "TEditorSpeedRange", 2},
        {"PageVerticalRangeAc", "TEditorSpeedRange", 2}}},
  };
  ASSERT_EQ(table.size(), Classes().size());
  for (std::size_t c = 0; c < table.size(); ++c) {
    auto obj = Classes()[c].make();
    SCOPED_TRACE(table[c].first);
    EXPECT_STREQ(obj->ClassName(), table[c].first);
    const TClassInfo* info = obj->ClassInfo();
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->Name, table[c].first);
    std::vector<const TPropInfo*> props = info->AllProps();
    ASSERT_EQ(props.size(), table[c].second.size());
    for (std::size_t i = 0; i < props.size(); ++i) {
      const Expected& e = table[c].second[i];
      const TPropInfo& p = *props[i];
      SCOPED_TRACE(e.name);
      EXPECT_EQ(p.Name, e.name);
      EXPECT_EQ(p.Type->Name, e.type);
      EXPECT_EQ(p.Default, e.def);
      if (IsOrdinal(p)) {
        // A new object holds the published default.
        EXPECT_EQ(p.GetOrd(*obj), *e.def);
        EXPECT_TRUE(p.IsDefault(*obj));
      } else {
        ASSERT_EQ(p.Kind(), TTypeKind::tkClass);
        TPersistent* sub = p.GetObj(*obj);
        ASSERT_NE(sub, nullptr);
        EXPECT_EQ(sub->ClassName(), p.Type->Name);
      }
    }
  }
}

TEST(EditorSettingsDescription, EnumerationValueNames) {
  const std::vector<std::pair<const TTypeInfo*, std::vector<std::string>>> table = {
      {&TypeEditorCaretStyle(), {"csDefault", "csBrief"}},
      {&TypeDragMode(), {"dmManual", "dmAutomatic"}},
      {&TypeEditorShowNumberMode(), {"nmRow", "nmLine"}},
      {&TypeEditorHitStyle(), {"hsSelect", "hsDraw", "hsCaret"}},
      {&TypeScrollStyle(), {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}},
      {&TypeEditorSelectionMode(), {"smNormal", "smBox"}},
  };
  for (const auto& [type, names] : table) {
    SCOPED_TRACE(type->Name);
    EXPECT_EQ(type->Kind, TTypeKind::tkEnumeration);
    EXPECT_EQ(type->Names, names);
  }
  EXPECT_EQ(TypeEditorCaretStyle().ValueOf("csBrief"), csBrief);
  EXPECT_EQ(TypeDragMode().ValueOf("dmAutomatic"), dmAutomatic);
  EXPECT_EQ(TypeEditorHitStyle().ValueOf("hsCaret"), hsCaret);
  EXPECT_EQ(TypeScrollStyle().ValueOf("ssBoth"), ssBoth);
  EXPECT_EQ(TypeEditorSelectionMode().ValueOf("smBox"), smBox);
  EXPECT_EQ(TypeEditorShowNumberMode().ValueOf("nmLine"), nmLine);
}

// Writing every property of a changed object into a new one through the
// description alone reproduces it, nested objects included.
TEST(EditorSettingsDescription, RoundTripThroughAccessors) {
  for (const SettingsClass& c : Classes()) {
    SCOPED_TRACE(c.name);
    auto src = c.make();
    auto fresh = c.make();
    auto before = Snapshot(*src);
    ChangeEverything(*src);
    auto changed = Snapshot(*src);
    ASSERT_EQ(changed.size(), before.size());
    for (std::size_t i = 0; i < changed.size(); ++i) {
      EXPECT_NE(changed[i].second, before[i].second) << changed[i].first << " did not change";
    }
    auto dest = c.make();
    CopyThroughDescription(*src, *dest);
    EXPECT_EQ(Snapshot(*dest), changed);
    EXPECT_EQ(Snapshot(*fresh), before);
  }
}

// ----------------------------------------------------------------- clamping

struct ClampCase {
  const char* cls;
  const char* prop;
  std::int64_t value;
  std::int64_t stored;
};

TEST(EditorSettingsClamping, SettersLimitValues) {
  const ClampCase cases[] = {
      {"TEditorCaret", "TabSpaceCount", 5, 4},
      {"TEditorCaret", "TabSpaceCount", 0, 2},
      {"TEditorCaret", "TabSpaceCount", 1, 2},
      {"TEditorCaret", "TabSpaceCount", 3, 2},
      {"TEditorCaret", "TabSpaceCount", 6, 6},
      {"TEditorCaret", "TabSpaceCount", 7, 6},
      {"TEditorCaret", "TabSpaceCount", 9, 8},
      {"TEditorCaret", "TabSpaceCount", 100, 8},
      {"TEditorCaret", "TabSpaceCount", -5, 2},
      {"TEditorRuler", "GaugeRange", 9, 8},
      {"TEditorRuler", "GaugeRange", 12, 10},
      {"TEditorRuler", "GaugeRange", 0, 8},
      {"TEditorRuler", "GaugeRange", 8, 8},
      {"TEditorLeftbar", "Column", 0, 1},
      {"TEditorLeftbar", "Column", 20, 8},
      {"TEditorLeftbar", "Column", 5, 5},
      {"TEditorLeftbar", "LeftMargin", -1, 0},
      {"TEditorLeftbar", "RightMargin", 101, 100},
      {"TEditorMargin", "Character", -7, 0},
      {"TEditorMargin", "Left", 100, 100},
      {"TEditorMargin", "Line", 101, 100},
      {"TEditorMargin", "Top", 55, 55},
      {"TEditorImagebar", "DigitWidth", 250, 100},
      {"TEditorImagebar", "LeftMargin", -1, 0},
      {"TEditorImagebar", "MarkWidth", 16, 16},
      {"TEditorImagebar", "RightMargin", 1000, 100},
      {"TEditorSpeed", "CaretVerticalAc", 0, 1},
      {"TEditorSpeed", "PageVerticalRange", 5, 4},
      {"TEditorSpeed", "PageVerticalRangeAc", 3, 3},
      // Numbers beyond 32 bits are still clamped, not wrapped into range.
      {"TEditorMargin", "Left", (std::int64_t{1} << 32) + 5, 100},
      {"TEditorCaret", "TabSpaceCount", -(std::int64_t{1} << 33), 2},
      {"TEditorCursors", "DefaultCursor", 40000, 32767},
      // An ordinal that names no value of the enumeration is ignored.
      {"TEditorCaret", "Style", 7, csDefault},
      {"TEditorLeftbar", "ShowNumberMode", -1, nmRow},
  };
  for (const ClampCase& k : cases) {
    SCOPED_TRACE(std::string(k.cls) + "." + k.prop + " := " + std::to_string(k.value));
    std::unique_ptr<TPersistent> obj;
    for (const SettingsClass& c : Classes()) {
      if (std::string(c.name) == k.cls) obj = c.make();
    }
    ASSERT_NE(obj, nullptr);
    const TPropInfo* p = obj->ClassInfo()->Find(k.prop);
    ASSERT_NE(p, nullptr);
    p->SetOrd(*obj, k.value);
    EXPECT_EQ(p->GetOrd(*obj), k.stored);
  }
}

TEST(EditorSettingsClamping, TypedSettersMatchTheDescription) {
  TEditorCaret caret;
  caret.SetTabSpaceCount(5);
  EXPECT_EQ(caret.TabSpaceCount(), 4);
  TEditorRuler ruler;
  ruler.SetGaugeRange(9);
  EXPECT_EQ(ruler.GaugeRange(), 8);
  TEditorLeftbar leftbar;
  leftbar.SetColumn(0);
  EXPECT_EQ(leftbar.Column(), 1);
  TEditorSpeed speed;
  speed.SetCaretVerticalAc(9);
  EXPECT_EQ(speed.CaretVerticalAc(), 4);
}

// ------------------------------------------------------------ notification

// A changing write through a notifying setter reports once with the object as
// sender; writing the stored value again reports nothing; plain fields never
// report.
TEST(EditorSettingsNotification, NotifyingAndPlainSetters) {
  for (const SettingsClass& c : Classes()) {
    auto obj = c.make();
    auto* notifying = dynamic_cast<TNotifyPersistent*>(obj.get());
    Counter counter;
    if (notifying) notifying->OnChange = counter.Event();
    for (const TPropInfo* p : obj->ClassInfo()->AllProps()) {
      if (!IsOrdinal(*p)) continue;
      SCOPED_TRACE(std::string(c.name) + "." + p->Name);
      const bool plain = c.plain.count(p->Name) > 0;
      ASSERT_TRUE(notifying || plain);
      const std::int64_t other = OtherValue(*obj, *p);
      counter = {};
      p->SetOrd(*obj, other);
      EXPECT_EQ(p->GetOrd(*obj), other);
      EXPECT_EQ(counter.count, plain ? 0 : 1);
      if (!plain) {
        EXPECT_EQ(counter.sender, obj.get());
      }
      counter = {};
      p->SetOrd(*obj, other);
      EXPECT_EQ(counter.count, 0);
    }
  }
}

TEST(EditorSettingsNotification, MarksReportChangesOfTheirMarks) {
  TEditorMarks marks;
  Counter counter;
  marks.OnChange = counter.Event();
  TEditorMark* all[] = {&marks.EofMark(), &marks.RetMark(), &marks.WrapMark(), &marks.HideMark(),
                        &marks.Underline()};
  for (TEditorMark* mark : all) {
    counter = {};
    mark->SetVisible(true);
    mark->SetColor(clRed);
    EXPECT_EQ(counter.count, 2);
    EXPECT_EQ(counter.sender, &marks);  // the marks object, not the mark
  }
  // The property setters copy into the owned mark.
  TEditorMark blue;
  blue.SetColor(clBlue);
  counter = {};
  marks.SetRetMark(blue);
  EXPECT_EQ(marks.RetMark().Color(), clBlue);
  EXPECT_FALSE(marks.RetMark().Visible());
  EXPECT_EQ(counter.count, 1);
  EXPECT_EQ(marks.EofMark().Color(), clRed);
}

TEST(EditorSettingsNotification, CaretDoesNotListenToItsCursors) {
  TEditorCaret caret;
  Counter counter;
  caret.OnChange = counter.Event();
  caret.Cursors().SetDefaultCursor(crDefault);
  TEditorCursors cursors;
  cursors.SetInSelCursor(crDrag);
  caret.SetCursors(cursors);
  EXPECT_EQ(caret.Cursors().InSelCursor(), crDrag);
  EXPECT_EQ(counter.count, 0);
}

// ------------------------------------------------------------------- Assign

// Assign copies every field, nested objects included, and reports once;
// the source is left as it was.
TEST(EditorSettingsAssign, CopiesEverythingWithOneNotification) {
  for (const SettingsClass& c : Classes()) {
    SCOPED_TRACE(c.name);
    auto src = c.make();
    ChangeEverything(*src);
    auto expected = Snapshot(*src);
    auto dest = c.make();
    Counter counter;
    auto* notifying = dynamic_cast<TNotifyPersistent*>(dest.get());
    if (notifying) notifying->OnChange = counter.Event();
    dest->Assign(*src);
    EXPECT_EQ(Snapshot(*dest), expected);
    EXPECT_EQ(Snapshot(*src), expected);
    EXPECT_EQ(counter.count, notifying ? 1 : 0);
    if (notifying) {
      EXPECT_EQ(notifying->UpdateCount(), 0);
    }
    // Assigning equal values still reports once.
    counter = {};
    dest->Assign(*src);
    EXPECT_EQ(counter.count, notifying ? 1 : 0);
  }
}

TEST(EditorSettingsAssign, MarginCopiesTheUnderlineGap) {
  TEditorMargin src, dest;
  src.SetUnderlineGap(1);
  Counter counter;
  dest.OnChange = counter.Event();
  dest.Assign(src);
  EXPECT_EQ(dest.UnderlineGap(), 1);
  EXPECT_EQ(counter.count, 1);
  // The gap is the control's business: setting it reports nothing and it is
  // not published.
  counter = {};
  dest.SetUnderlineGap(0);
  EXPECT_EQ(counter.count, 0);
  EXPECT_EQ(dest.ClassInfo()->AllProps().size(), 4u);
}

TEST(EditorSettingsAssign, ForeignClassRaisesAndLeavesTargetUnchanged) {
  TEditorMark mark;
  mark.SetColor(clRed);
  TEditorRuler ruler;
  TEditorSpeed speed;
  for (const SettingsClass& c : Classes()) {
    SCOPED_TRACE(c.name);
    auto dest = c.make();
    ChangeEverything(*dest);
    auto before = Snapshot(*dest);
    Counter counter;
    if (auto* n = dynamic_cast<TNotifyPersistent*>(dest.get())) n->OnChange = counter.Event();
    const TPersistent& foreign =
        std::string(c.name) == "TEditorMark" ? static_cast<const TPersistent&>(ruler) : mark;
    EXPECT_THROW(dest->Assign(foreign), EConvertError);
    if (std::string(c.name) != "TEditorSpeed") {
      EXPECT_THROW(dest->Assign(speed), EConvertError);
    }
    EXPECT_EQ(Snapshot(*dest), before);
    EXPECT_EQ(counter.count, 0);
    if (auto* n = dynamic_cast<TNotifyPersistent*>(dest.get())) {
      EXPECT_EQ(n->UpdateCount(), 0);
    }
  }
}

TEST(EditorSettingsAssign, AcceptsADescendantAsSource) {
  class TMyRuler : public TEditorRuler {
   public:
    KELU_CLASS_NAME(TMyRuler)
  };
  TMyRuler src;
  src.SetVisible(true);
  TEditorRuler dest;
  dest.Assign(src);
  EXPECT_TRUE(dest.Visible());
}

}  // namespace
}  // namespace kelu
