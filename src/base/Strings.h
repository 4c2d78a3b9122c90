// String lists: the abstract TStrings (a list of byte strings with update
// brackets, whole-text access, loading and saving) and TStringList, the
// concrete list with optional sorting.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/Events.h"
#include "base/Object.h"

namespace kelu {

// The line break that TStrings writes after each entry.
inline constexpr std::string_view kLineBreak = "\r\n";

class TStrings : public TPersistent {
 public:
  KELU_CLASS_NAME(TStrings)

  // The primitives every list provides.
  virtual std::string Get(int index) const = 0;
  virtual int GetCount() const = 0;
  virtual void Insert(int index, std::string_view s) = 0;
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;

  // Operations with a default built on the primitives.
  virtual void Put(int index, std::string_view s);
  virtual int Add(std::string_view s);
  virtual void Exchange(int index1, int index2);
  virtual int IndexOf(std::string_view s) const;
  virtual int GetCapacity() const { return GetCount(); }
  virtual void SetCapacity(int /*capacity*/) {}
  // Every entry followed by CR LF.
  virtual std::string GetTextStr() const;
  // Replaces the entries with the lines of `text`: a line ends at CR, LF or
  // CR LF; a NUL byte ends the text; a final line break adds no empty line.
  virtual void SetTextStr(std::string_view text);
  // Called by the outermost BeginUpdate (true) and EndUpdate (false).
  virtual void SetUpdateState(bool /*updating*/) {}

  int Count() const { return GetCount(); }
  std::string operator[](int index) const { return Get(index); }
  std::string Text() const { return GetTextStr(); }
  void SetText(std::string_view text) { SetTextStr(text); }

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  void AddStrings(const TStrings& strings);
  void Assign(const TPersistent& source) override;
  bool Equals(const TStrings& other) const;

  // Raise EFileError with a Japanese message naming the file on failure.
  virtual void LoadFromFile(const std::string& fileName);
  virtual void SaveToFile(const std::string& fileName) const;

 protected:
  // Compares two entries as IndexOf does: without case.
  virtual int CompareStrings(std::string_view a, std::string_view b) const;

 private:
  int updateCount_ = 0;
};

enum class TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
 public:
  KELU_CLASS_NAME(TStringList)

  TStringList() = default;
  // A list kept sorted, duplicates ignored, compared without case: the form
  // used for extension and reserved-word lists.
  static TStringList SortedIgnoringDuplicates();

  std::string Get(int index) const override;
  const std::string& At(int index) const;
  int GetCount() const override { return static_cast<int>(items_.size()); }
  void Put(int index, std::string_view s) override;
  int Add(std::string_view s) override;
  void Insert(int index, std::string_view s) override;
  void Delete(int index) override;
  void Clear() override;
  void Exchange(int index1, int index2) override;
  int IndexOf(std::string_view s) const override;
  int GetCapacity() const override { return static_cast<int>(items_.capacity()); }
  void SetCapacity(int capacity) override;
  void SetUpdateState(bool updating) override;

  // Binary search of a sorted list: true when found; `index` is the place of
  // the entry, or where it would be inserted.
  bool Find(std::string_view s, int& index) const;
  void Sort();

  bool Sorted() const { return sorted_; }
  void SetSorted(bool value);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates value) { duplicates_ = value; }
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool value);

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  int CompareStrings(std::string_view a, std::string_view b) const override;
  void Changed();
  void Changing();

 private:
  void CheckIndex(int index) const;
  void InsertItem(int index, std::string_view s);

  std::vector<std::string> items_;
  bool sorted_ = false;
  bool caseSensitive_ = false;
  TDuplicates duplicates_ = TDuplicates::dupIgnore;
};

// Compares two Shift-JIS strings byte by byte with ASCII letters folded to one
// case; only single-byte characters are folded, never trail bytes.
int CompareTextSjis(std::string_view a, std::string_view b);
bool SameTextSjis(std::string_view a, std::string_view b);

}  // namespace kelu
