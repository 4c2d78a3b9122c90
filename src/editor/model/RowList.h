// The row list: one item per screen row, each holding the row's Shift-JIS
// bytes and, packed beside them, how the row ends and the state in which the
// colouring parser starts on it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/Events.h"
#include "base/Strings.h"

namespace kelu {

// How a row ends.
enum TRowAttribute : std::uint8_t {
  raBreak = 0,  // a line break (CR LF) follows the row
  raWrap = 1,   // the logical line goes on in the next row
  raEnd = 2,    // the last row of a text without a final line break
  raNone = 3,   // no such row
};

const char* RowAttributeName(TRowAttribute attribute);

// The colouring parser's state at the start of a row.
struct TRowAttributeData {
  std::uint8_t RowAttribute = raBreak;
  std::uint8_t PrevRowAttribute = 0;
  std::int32_t BracketIndex = -1;  // -1 outside brackets, 0..13 inside, -2 not computed
  std::int32_t ExtIndex = 0;
  std::int32_t Remain = 0;
  std::int32_t ExtValue = 0;
  std::uint8_t WrappedToken = 0;
  std::uint8_t ExtByte = 0;
  std::string ExtText;

  // Equal in every field the parser carries (RowAttribute aside).
  bool SameCarriedState(const TRowAttributeData& other) const;
  bool operator==(const TRowAttributeData&) const = default;
};

// The state of the first row of a text with the given own attribute.
TRowAttributeData FirstRowState(TRowAttribute rowAttribute);

// One item of the list. The text is an owned heap block (len bytes and a NUL)
// or null when empty; the data string is rare and kept out of line.
struct TheStringItem {
  char* text;
  std::uint32_t length;
  std::int32_t data;
  std::uint32_t attributes;
  std::uint32_t attributes2;
  std::string* dataString;
};

// A string list whose items also carry a data string, an integer and two
// attribute words, with change notification. The items live in one
// contiguous array.
class TheStringList : public TStrings {
 public:
  KELU_CLASS_NAME(TheStringList)

  TheStringList() = default;
  ~TheStringList() override;
  TheStringList(const TheStringList&) = delete;
  TheStringList& operator=(const TheStringList&) = delete;

  std::string Get(int index) const override;
  // The text of an item without copying it; valid until the item changes.
  std::string_view View(int index) const;
  int GetCount() const override { return count_; }
  int GetCapacity() const override { return capacity_; }
  // Reallocates the array to `capacity` items (no check against the count).
  void SetCapacity(int capacity) override;
  void Put(int index, std::string_view s) override;
  void Insert(int index, std::string_view s) override;
  int Add(std::string_view s) override;
  void Delete(int index) override;
  void Clear() override;
  void Exchange(int index1, int index2) override;
  void SetUpdateState(bool updating) override;

  std::int32_t Datas(int index) const;
  void SetDatas(int index, std::int32_t value);
  std::string DataStrings(int index) const;
  void SetDataStrings(int index, std::string_view value);
  std::uint32_t Attributes(int index) const;
  void SetAttributes(int index, std::uint32_t value);
  std::uint32_t Attributes2(int index) const;
  void SetAttributes2(int index, std::uint32_t value);

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

  int OwnUpdateCount() const { return updateCount_; }

  // Replaces the content with the lines of `text` split as SplitLines does
  // (each item's fields zero), sizing the array once.
  void AssignSplitLines(std::string_view text);

  // Bulk operations for the row lists built on this one; they check no index
  // and send no notification.
  // Opens `n` empty items before `index` (0 <= index <= count).
  void InsertItems(int index, int n);
  // Removes `n` items starting at `index`.
  void DeleteItems(int index, int n);
  // Replaces item `index` by the item `srcIndex` of `src`, whose item is left
  // empty (text and data string move, the numbers are copied).
  void TakeItem(int index, TheStringList& src, int srcIndex);
  // Exchanges the whole content of two lists (not their events).
  void SwapItems(TheStringList& other);

 protected:
  void Changing();
  void Changed();
  void CheckIndex(int index) const;

  void SetText(int index, std::string_view s);
  TheStringItem& Item(int index) { return items_[index]; }
  const TheStringItem& Item(int index) const { return items_[index]; }

 private:
  void Grow();
  void Reserve(int needed);
  static void ReleaseItem(TheStringItem& item);

  TheStringItem* items_ = nullptr;
  int count_ = 0;
  int capacity_ = 0;
  int updateCount_ = 0;
};

// Typed access to the packed row state of each item.
class TRowAttributeStringList : public TheStringList {
 public:
  KELU_CLASS_NAME(TRowAttributeStringList)

  TRowAttribute RowAttributes(int index) const;
  void SetRowAttributes(int index, TRowAttribute value);
  TRowAttribute PrevRowAttributes(int index) const;
  void SetPrevRowAttributes(int index, TRowAttribute value);
  std::int32_t BracketIndexes(int index) const;
  void SetBracketIndexes(int index, std::int32_t value);
  std::int32_t ExtIndexes(int index) const;
  void SetExtIndexes(int index, std::int32_t value);
  std::int32_t Remains(int index) const;
  void SetRemains(int index, std::int32_t value);
  std::int32_t ExtValues(int index) const;
  void SetExtValues(int index, std::int32_t value);
  std::uint8_t WrappedTokens(int index) const;
  void SetWrappedTokens(int index, std::uint8_t value);
  std::uint8_t ExtBytes(int index) const;
  void SetExtBytes(int index, std::uint8_t value);
  std::uint16_t RowMarks(int index) const;
  void SetRowMarks(int index, std::uint16_t value);

  // The whole parser state of a row, and storing it (the row's own
  // RowAttribute is kept; the marks are untouched).
  TRowAttributeData RowState(int index) const;
  void SetRowState(int index, const TRowAttributeData& state);
};

// The base of the editor's shared row list and of every temporary row list.
class TEditorStringList : public TRowAttributeStringList {
 public:
  KELU_CLASS_NAME(TEditorStringList)
};

}  // namespace kelu
