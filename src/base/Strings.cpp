#include "base/Strings.h"

#include <algorithm>

#include "base/Exceptions.h"
#include "base/Files.h"
#include "base/LineSplit.h"
#include "base/Sjis.h"

namespace kelu {

namespace {

unsigned char FoldAscii(unsigned char c) {
  return (c >= 'a' && c <= 'z') ? c - 32 : c;
}

}  // namespace

int CompareTextSjis(std::string_view a, std::string_view b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    std::size_t na = sjis::CharLength(a, i), nb = sjis::CharLength(b, j);
    unsigned char ca = static_cast<unsigned char>(a[i]);
    unsigned char cb = static_cast<unsigned char>(b[j]);
    if (na == 1) ca = FoldAscii(ca);
    if (nb == 1) cb = FoldAscii(cb);
    if (ca != cb) return ca < cb ? -1 : 1;
    if (na == 2 && nb == 2) {
      unsigned char ta = static_cast<unsigned char>(a[i + 1]);
      unsigned char tb = static_cast<unsigned char>(b[j + 1]);
      if (ta != tb) return ta < tb ? -1 : 1;
    } else if (na != nb) {
      return na < nb ? -1 : 1;
    }
    i += na;
    j += nb;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

bool SameTextSjis(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareTextSjis(a, b) == 0;
}

// ---------------------------------------------------------------- TStrings

void TStrings::Put(int index, std::string_view s) {
  BeginUpdate();
  try {
    Delete(index);
    Insert(index, s);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

int TStrings::Add(std::string_view s) {
  int index = GetCount();
  Insert(index, s);
  return index;
}

void TStrings::Exchange(int index1, int index2) {
  BeginUpdate();
  try {
    std::string a = Get(index1);
    std::string b = Get(index2);
    Put(index1, b);
    Put(index2, a);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

int TStrings::CompareStrings(std::string_view a, std::string_view b) const {
  return CompareTextSjis(a, b);
}

int TStrings::IndexOf(std::string_view s) const {
  int n = GetCount();
  for (int i = 0; i < n; ++i) {
    if (CompareStrings(Get(i), s) == 0) return i;
  }
  return -1;
}

std::string TStrings::GetTextStr() const {
  int n = GetCount();
  std::vector<std::string> lines;
  lines.reserve(n);
  std::size_t size = 0;
  for (int i = 0; i < n; ++i) {
    lines.push_back(Get(i));
    size += lines.back().size() + kLineBreak.size();
  }
  std::string text;
  text.reserve(size);
  for (const std::string& line : lines) {
    text += line;
    text += kLineBreak;
  }
  return text;
}

void TStrings::SetTextStr(std::string_view text) {
  BeginUpdate();
  try {
    Clear();
    std::size_t end = text.find('\0');
    if (end != std::string_view::npos) text = text.substr(0, end);
    ForEachLine(text, [this](std::string_view line) { Add(line); });
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::BeginUpdate() {
  if (updateCount_ == 0) SetUpdateState(true);
  ++updateCount_;
}

void TStrings::EndUpdate() {
  if (--updateCount_ == 0) SetUpdateState(false);
}

void TStrings::AddStrings(const TStrings& strings) {
  BeginUpdate();
  try {
    int n = strings.GetCount();
    for (int i = 0; i < n; ++i) Add(strings.Get(i));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Assign(const TPersistent& source) {
  if (auto* src = dynamic_cast<const TStrings*>(&source)) {
    if (src == this) return;
    BeginUpdate();
    try {
      Clear();
      AddStrings(*src);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  TPersistent::Assign(source);
}

bool TStrings::Equals(const TStrings& other) const {
  int n = GetCount();
  if (n != other.GetCount()) return false;
  for (int i = 0; i < n; ++i) {
    if (Get(i) != other.Get(i)) return false;
  }
  return true;
}

void TStrings::LoadFromFile(const std::string& fileName) {
  SetTextStr(ReadFileBytes(fileName));
}

void TStrings::SaveToFile(const std::string& fileName) const {
  WriteFileAtomically(fileName, GetTextStr());
}

// ------------------------------------------------------------- TStringList

TStringList TStringList::SortedIgnoringDuplicates() {
  TStringList list;
  list.sorted_ = true;
  list.duplicates_ = TDuplicates::dupIgnore;
  return list;
}

void TStringList::CheckIndex(int index) const {
  if (index < 0 || index >= GetCount()) ThrowListIndexError(index);
}

std::string TStringList::Get(int index) const {
  return At(index);
}

const std::string& TStringList::At(int index) const {
  CheckIndex(index);
  return items_[index];
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::SetUpdateState(bool updating) {
  if (updating) {
    Changing();
  } else {
    Changed();
  }
}

void TStringList::Put(int index, std::string_view s) {
  if (sorted_) throw EListError("ソートされたリストには使えない操作です");
  CheckIndex(index);
  Changing();
  items_[index] = s;
  Changed();
}

int TStringList::Add(std::string_view s) {
  int index;
  if (!sorted_) {
    index = GetCount();
  } else if (Find(s, index)) {
    switch (duplicates_) {
      case TDuplicates::dupIgnore:
        return index;
      case TDuplicates::dupError:
        throw EListError("リストに重複した文字列は追加できません");
      case TDuplicates::dupAccept:
        break;
    }
  }
  InsertItem(index, s);
  return index;
}

void TStringList::Insert(int index, std::string_view s) {
  if (sorted_) throw EListError("ソートされたリストには使えない操作です");
  if (index < 0 || index > GetCount()) ThrowListIndexError(index);
  InsertItem(index, s);
}

void TStringList::InsertItem(int index, std::string_view s) {
  Changing();
  items_.insert(items_.begin() + index, std::string(s));
  Changed();
}

void TStringList::Delete(int index) {
  CheckIndex(index);
  Changing();
  items_.erase(items_.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  items_.clear();
  items_.shrink_to_fit();
  Changed();
}

void TStringList::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  Changing();
  std::swap(items_[index1], items_[index2]);
  Changed();
}

void TStringList::SetCapacity(int capacity) {
  if (capacity > GetCount()) items_.reserve(capacity);
}

int TStringList::CompareStrings(std::string_view a, std::string_view b) const {
  if (caseSensitive_) return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
  return CompareTextSjis(a, b);
}

bool TStringList::Find(std::string_view s, int& index) const {
  int lo = 0, hi = GetCount() - 1;
  bool found = false;
  while (lo <= hi) {
    int mid = (lo + hi) / 2;
    int c = CompareStrings(items_[mid], s);
    if (c < 0) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (c == 0) {
        found = true;
        if (duplicates_ != TDuplicates::dupAccept) lo = mid;
      }
    }
  }
  index = lo;
  return found;
}

int TStringList::IndexOf(std::string_view s) const {
  if (!sorted_) {
    for (int i = 0; i < GetCount(); ++i) {
      if (CompareStrings(items_[i], s) == 0) return i;
    }
    return -1;
  }
  int index;
  return Find(s, index) ? index : -1;
}

void TStringList::Sort() {
  Changing();
  std::stable_sort(
      items_.begin(), items_.end(),
      [this](const std::string& a, const std::string& b) { return CompareStrings(a, b) < 0; });
  Changed();
}

void TStringList::SetSorted(bool value) {
  if (sorted_ == value) return;
  if (value) Sort();
  sorted_ = value;
}

void TStringList::SetCaseSensitive(bool value) {
  if (caseSensitive_ == value) return;
  caseSensitive_ = value;
  if (sorted_) Sort();
}

}  // namespace kelu
