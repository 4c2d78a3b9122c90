#include "editor/model/RowList.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "base/Exceptions.h"
#include "base/LineSplit.h"

namespace kelu {

const char* RowAttributeName(TRowAttribute attribute) {
  switch (attribute) {
    case raBreak:
      return "raBreak";
    case raWrap:
      return "raWrap";
    case raEnd:
      return "raEnd";
    default:
      return "raNone";
  }
}

bool TRowAttributeData::SameCarriedState(const TRowAttributeData& o) const {
  return PrevRowAttribute == o.PrevRowAttribute && BracketIndex == o.BracketIndex &&
         ExtIndex == o.ExtIndex && Remain == o.Remain && ExtValue == o.ExtValue &&
         WrappedToken == o.WrappedToken && ExtByte == o.ExtByte && ExtText == o.ExtText;
}

TRowAttributeData FirstRowState(TRowAttribute rowAttribute) {
  TRowAttributeData d;
  d.RowAttribute = rowAttribute;
  return d;
}

namespace {

char* NewText(std::string_view s) {
  if (s.empty()) return nullptr;
  char* p = static_cast<char*>(std::malloc(s.size() + 1));
  if (!p) throw std::bad_alloc();
  std::memcpy(p, s.data(), s.size());
  p[s.size()] = '\0';
  return p;
}

constexpr TheStringItem kEmptyItem{nullptr, 0, 0, 0, 0, nullptr};

}  // namespace

// ------------------------------------------------------------ TheStringList

TheStringList::~TheStringList() {
  OnChange = {};
  OnChanging = {};
  for (int i = 0; i < count_; ++i) ReleaseItem(items_[i]);
  std::free(items_);
}

void TheStringList::ReleaseItem(TheStringItem& item) {
  std::free(item.text);
  delete item.dataString;
  item = kEmptyItem;
}

void TheStringList::CheckIndex(int index) const {
  if (index < 0 || index >= count_) ThrowListIndexError(index);
}

void TheStringList::Changing() {
  if (updateCount_ == 0 && OnChanging) OnChanging(this);
}

void TheStringList::Changed() {
  if (updateCount_ == 0 && OnChange) OnChange(this);
}

std::string TheStringList::Get(int index) const {
  return std::string(View(index));
}

std::string_view TheStringList::View(int index) const {
  CheckIndex(index);
  const TheStringItem& item = items_[index];
  return item.text ? std::string_view(item.text, item.length) : std::string_view();
}

void TheStringList::SetCapacity(int capacity) {
  if (capacity < count_) capacity = count_;
  if (capacity == 0) {
    std::free(items_);
    items_ = nullptr;
    capacity_ = 0;
    return;
  }
  auto* p = static_cast<TheStringItem*>(std::realloc(items_, sizeof(TheStringItem) * capacity));
  if (!p) throw std::bad_alloc();
  items_ = p;
  capacity_ = capacity;
}

void TheStringList::Grow() {
  int delta = capacity_ > 64 ? capacity_ / 4 : (capacity_ > 8 ? 16 : 4);
  SetCapacity(capacity_ + delta);
}

void TheStringList::Reserve(int needed) {
  if (needed <= capacity_) return;
  int target = capacity_;
  while (target < needed) target += target > 64 ? target / 4 : (target > 8 ? 16 : 4);
  SetCapacity(target);
}

void TheStringList::SetText(int index, std::string_view s) {
  TheStringItem& item = items_[index];
  if (item.text && s.size() <= item.length && s.size() > 0) {
    // Reuse the block when the new text fits.
    std::memmove(item.text, s.data(), s.size());
    item.text[s.size()] = '\0';
    item.length = static_cast<std::uint32_t>(s.size());
    return;
  }
  char* p = NewText(s);
  std::free(item.text);
  item.text = p;
  item.length = static_cast<std::uint32_t>(s.size());
}

void TheStringList::Put(int index, std::string_view s) {
  CheckIndex(index);
  Changing();
  SetText(index, s);
  Changed();
}

void TheStringList::Insert(int index, std::string_view s) {
  if (index < 0 || index > count_) ThrowListIndexError(index);
  Changing();
  char* text = NewText(s);
  if (count_ == capacity_) {
    try {
      Grow();
    } catch (...) {
      std::free(text);
      throw;
    }
  }
  if (index < count_) {
    std::memmove(items_ + index + 1, items_ + index, sizeof(TheStringItem) * (count_ - index));
  }
  items_[index] = kEmptyItem;
  items_[index].text = text;
  items_[index].length = static_cast<std::uint32_t>(s.size());
  ++count_;
  Changed();
}

int TheStringList::Add(std::string_view s) {
  int index = count_;
  Insert(index, s);
  return index;
}

void TheStringList::Delete(int index) {
  CheckIndex(index);
  Changing();
  ReleaseItem(items_[index]);
  --count_;
  if (index < count_) {
    std::memmove(items_ + index, items_ + index + 1, sizeof(TheStringItem) * (count_ - index));
  }
  Changed();
}

void TheStringList::Clear() {
  if (count_ == 0) return;
  Changing();
  for (int i = 0; i < count_; ++i) ReleaseItem(items_[i]);
  count_ = 0;
  SetCapacity(0);
  Changed();
}

void TheStringList::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  Changing();
  std::swap(items_[index1], items_[index2]);
  Changed();
}

void TheStringList::SetUpdateState(bool updating) {
  if (updating) {
    Changing();
    ++updateCount_;
  } else {
    --updateCount_;
    Changed();
  }
}

std::int32_t TheStringList::Datas(int index) const {
  CheckIndex(index);
  return items_[index].data;
}

void TheStringList::SetDatas(int index, std::int32_t value) {
  CheckIndex(index);
  items_[index].data = value;
}

std::string TheStringList::DataStrings(int index) const {
  CheckIndex(index);
  return items_[index].dataString ? *items_[index].dataString : std::string();
}

void TheStringList::SetDataStrings(int index, std::string_view value) {
  CheckIndex(index);
  TheStringItem& item = items_[index];
  if (value.empty()) {
    delete item.dataString;
    item.dataString = nullptr;
  } else if (item.dataString) {
    item.dataString->assign(value);
  } else {
    item.dataString = new std::string(value);
  }
}

std::uint32_t TheStringList::Attributes(int index) const {
  CheckIndex(index);
  return items_[index].attributes;
}

void TheStringList::SetAttributes(int index, std::uint32_t value) {
  CheckIndex(index);
  items_[index].attributes = value;
}

std::uint32_t TheStringList::Attributes2(int index) const {
  CheckIndex(index);
  return items_[index].attributes2;
}

void TheStringList::SetAttributes2(int index, std::uint32_t value) {
  CheckIndex(index);
  items_[index].attributes2 = value;
}

void TheStringList::InsertItems(int index, int n) {
  if (n <= 0) return;
  Reserve(count_ + n);
  if (index < count_) {
    std::memmove(items_ + index + n, items_ + index, sizeof(TheStringItem) * (count_ - index));
  }
  for (int i = 0; i < n; ++i) items_[index + i] = kEmptyItem;
  count_ += n;
}

void TheStringList::DeleteItems(int index, int n) {
  if (n <= 0) return;
  for (int i = 0; i < n; ++i) ReleaseItem(items_[index + i]);
  if (index + n < count_) {
    std::memmove(items_ + index, items_ + index + n, sizeof(TheStringItem) * (count_ - index - n));
  }
  count_ -= n;
}

void TheStringList::TakeItem(int index, TheStringList& src, int srcIndex) {
  TheStringItem& dst = items_[index];
  TheStringItem& from = src.items_[srcIndex];
  std::free(dst.text);
  delete dst.dataString;
  dst = from;
  from.text = nullptr;
  from.length = 0;
  from.dataString = nullptr;
}

void TheStringList::SwapItems(TheStringList& other) {
  std::swap(items_, other.items_);
  std::swap(count_, other.count_);
  std::swap(capacity_, other.capacity_);
}

void TheStringList::AssignSplitLines(std::string_view text) {
  BeginUpdate();
  try {
    Clear();
    SetCapacity(static_cast<int>(LineCountHint(text)));
    ForEachLine(text, [this](std::string_view line) {
      if (count_ == capacity_) Grow();
      items_[count_] = kEmptyItem;
      items_[count_].text = NewText(line);
      items_[count_].length = static_cast<std::uint32_t>(line.size());
      ++count_;
    });
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

// -------------------------------------------------- TRowAttributeStringList

namespace {

constexpr std::uint32_t Field(std::uint32_t word, int shift, std::uint32_t mask) {
  return (word >> shift) & mask;
}
constexpr std::uint32_t WithField(std::uint32_t word, int shift, std::uint32_t mask,
                                  std::uint32_t value) {
  return (word & ~(mask << shift)) | ((value & mask) << shift);
}

}  // namespace

TRowAttribute TRowAttributeStringList::RowAttributes(int index) const {
  return static_cast<TRowAttribute>(Field(Attributes(index), 0, 0x3));
}
void TRowAttributeStringList::SetRowAttributes(int index, TRowAttribute value) {
  SetAttributes(index, WithField(Attributes(index), 0, 0x3, value));
}
TRowAttribute TRowAttributeStringList::PrevRowAttributes(int index) const {
  return static_cast<TRowAttribute>(Field(Attributes(index), 2, 0x3));
}
void TRowAttributeStringList::SetPrevRowAttributes(int index, TRowAttribute value) {
  SetAttributes(index, WithField(Attributes(index), 2, 0x3, value));
}
std::int32_t TRowAttributeStringList::BracketIndexes(int index) const {
  return static_cast<std::int32_t>(Field(Attributes(index), 4, 0xF)) - 2;
}
void TRowAttributeStringList::SetBracketIndexes(int index, std::int32_t value) {
  SetAttributes(index, WithField(Attributes(index), 4, 0xF, static_cast<std::uint32_t>(value + 2)));
}
std::int32_t TRowAttributeStringList::ExtIndexes(int index) const {
  return static_cast<std::int32_t>(Field(Attributes(index), 8, 0xFF));
}
void TRowAttributeStringList::SetExtIndexes(int index, std::int32_t value) {
  SetAttributes(index, WithField(Attributes(index), 8, 0xFF, static_cast<std::uint32_t>(value)));
}
std::int32_t TRowAttributeStringList::Remains(int index) const {
  return static_cast<std::int32_t>(Field(Attributes(index), 16, 0xFF));
}
void TRowAttributeStringList::SetRemains(int index, std::int32_t value) {
  SetAttributes(index, WithField(Attributes(index), 16, 0xFF, static_cast<std::uint32_t>(value)));
}
std::int32_t TRowAttributeStringList::ExtValues(int index) const {
  return static_cast<std::int32_t>(Field(Attributes(index), 24, 0xFF));
}
void TRowAttributeStringList::SetExtValues(int index, std::int32_t value) {
  SetAttributes(index, WithField(Attributes(index), 24, 0xFF, static_cast<std::uint32_t>(value)));
}
std::uint8_t TRowAttributeStringList::WrappedTokens(int index) const {
  return static_cast<std::uint8_t>(Field(Attributes2(index), 0, 0xFF));
}
void TRowAttributeStringList::SetWrappedTokens(int index, std::uint8_t value) {
  SetAttributes2(index, WithField(Attributes2(index), 0, 0xFF, value));
}
std::uint8_t TRowAttributeStringList::ExtBytes(int index) const {
  return static_cast<std::uint8_t>(Field(Attributes2(index), 8, 0xFF));
}
void TRowAttributeStringList::SetExtBytes(int index, std::uint8_t value) {
  SetAttributes2(index, WithField(Attributes2(index), 8, 0xFF, value));
}
std::uint16_t TRowAttributeStringList::RowMarks(int index) const {
  return static_cast<std::uint16_t>(Field(Attributes2(index), 16, 0xFFFF));
}
void TRowAttributeStringList::SetRowMarks(int index, std::uint16_t value) {
  SetAttributes2(index, WithField(Attributes2(index), 16, 0xFFFF, value));
}

TRowAttributeData TRowAttributeStringList::RowState(int index) const {
  std::uint32_t a = Attributes(index);
  std::uint32_t b = Attributes2(index);
  TRowAttributeData d;
  d.RowAttribute = static_cast<std::uint8_t>(Field(a, 0, 0x3));
  d.PrevRowAttribute = static_cast<std::uint8_t>(Field(a, 2, 0x3));
  d.BracketIndex = static_cast<std::int32_t>(Field(a, 4, 0xF)) - 2;
  d.ExtIndex = static_cast<std::int32_t>(Field(a, 8, 0xFF));
  d.Remain = static_cast<std::int32_t>(Field(a, 16, 0xFF));
  d.ExtValue = static_cast<std::int32_t>(Field(a, 24, 0xFF));
  d.WrappedToken = static_cast<std::uint8_t>(Field(b, 0, 0xFF));
  d.ExtByte = static_cast<std::uint8_t>(Field(b, 8, 0xFF));
  const TheStringItem& item = Item(index);
  if (item.dataString) d.ExtText = *item.dataString;
  return d;
}

void TRowAttributeStringList::SetRowState(int index, const TRowAttributeData& d) {
  std::uint32_t a = Attributes(index) & 0x3;
  a |= (static_cast<std::uint32_t>(d.PrevRowAttribute) & 0x3) << 2;
  a |= (static_cast<std::uint32_t>(d.BracketIndex + 2) & 0xF) << 4;
  a |= (static_cast<std::uint32_t>(d.ExtIndex) & 0xFF) << 8;
  a |= (static_cast<std::uint32_t>(d.Remain) & 0xFF) << 16;
  a |= (static_cast<std::uint32_t>(d.ExtValue) & 0xFF) << 24;
  SetAttributes(index, a);
  std::uint32_t b = Attributes2(index) & 0xFFFF0000u;
  b |= d.WrappedToken | (static_cast<std::uint32_t>(d.ExtByte) << 8);
  SetAttributes2(index, b);
  if (d.ExtText.empty() != (Item(index).dataString == nullptr) || !d.ExtText.empty()) {
    SetDataStrings(index, d.ExtText);
  }
}

}  // namespace kelu
