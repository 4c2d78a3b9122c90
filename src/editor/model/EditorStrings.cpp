#include "editor/model/EditorStrings.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "base/Exceptions.h"
#include "editor/model/ScreenStrings.h"
#include "editor/model/TextUtils.h"

namespace kelu {

namespace {
constexpr std::string_view kCrLf = "\r\n";
}

void TEditorStrings::CheckIndex(int index, int limit) const {
  if (index < 0 || index >= limit) ThrowListIndexError(index);
}

template <class F>
void TEditorStrings::Edit(F&& f) {
  TScreenEditor& editor = Editor();
  editor.CleanSelection();
  editor.CaretBeginUpdate();
  try {
    f();
  } catch (...) {
    editor.CaretEndUpdate();
    throw;
  }
  editor.CaretEndUpdate();
}

int TEditorStrings::LineToRow(int index) const {
  return Rows().LineToRow(index);
}

int TEditorStrings::GetCount() const {
  return Rows().LineCount();
}

void TEditorStrings::GetInto(int index, std::string& out) const {
  TEditorScreenStrings& rows = Rows();
  out.clear();
  if (!rows.WordWrap()) {
    out.assign(rows.View(index));
    return;
  }
  int count = rows.LineCount();
  if (index == count) return;
  CheckIndex(index, count);
  int r = rows.LineToRow(index);
  int end = rows.RowEnd(r);
  for (; r <= end; ++r) out += rows.View(r);
}

std::string TEditorStrings::Get(int index) const {
  std::string s;
  GetInto(index, s);
  return s;
}

void TEditorStrings::SetCaretOffset(int refRow, std::size_t offset) {
  TEditorScreenStrings& rows = Rows();
  TColumnMapSettings settings = rows.MapSettings();
  const int total = rows.GetCount();
  int r = std::max(refRow, 0);
  std::size_t remaining = offset;
  while (r < total) {
    TRowAttribute a = rows.RowAttributes(r);
    std::size_t len = rows.View(r).size() + (a == raBreak ? 2 : a == raEnd ? 1 : 0);
    if (remaining < len || a == raEnd) break;
    remaining -= len;
    ++r;
  }
  if (r >= total) {
    if (total > 0 && rows.RowAttributes(total - 1) == raEnd) {
      r = total - 1;
      Editor().SetCaretRowCol(
          r, ByteToColumn(rows.View(r), static_cast<int>(rows.View(r).size()), settings));
    } else {
      Editor().SetCaretRowCol(total, 0);
    }
    return;
  }
  std::string_view row = rows.View(r);
  Editor().SetCaretRowCol(
      r, ByteToColumn(row, static_cast<int>(std::min(remaining, row.size())), settings));
}

void TEditorStrings::Put(int index, std::string_view s) {
  CheckIndex(index, GetCount());
  Edit([&] {
    TEditorScreenStrings& rows = Rows();
    int r = rows.LineToRow(index);
    int e = rows.RowEnd(r);
    std::string text(s);
    if (rows.RowAttributes(e) == raBreak) text += kCrLf;
    rows.ReplaceRows(r, e - r + 1, text);
    SetCaretOffset(r, text.size());
  });
}

void TEditorStrings::Insert(int index, std::string_view s) {
  if (index < 0 || index > GetCount()) ThrowListIndexError(index);
  TEditorScreenStrings& rows = Rows();
  int r = rows.LineToRow(index);
  if (r >= rows.GetCount()) {
    Add(s);
    return;
  }
  Edit([&] {
    std::string text(s);
    text += kCrLf;
    rows.ReplaceRows(r, 0, text);
    SetCaretOffset(r, text.size());
  });
}

int TEditorStrings::Add(std::string_view s) {
  int result = GetCount();
  Edit([&] {
    TEditorScreenStrings& rows = Rows();
    int a = rows.GetCount();
    if (a > 0 && rows.RowAttributes(a - 1) != raBreak) {
      std::string text(rows.View(a - 1));
      text += kCrLf;
      text += s;
      rows.ReplaceRows(a - 1, 1, text);
      SetCaretOffset(a - 1, text.size());
    } else {
      std::string text(s);
      text += kCrLf;
      rows.ReplaceRows(a, 0, text);
      SetCaretOffset(a, text.size());
    }
  });
  return result;
}

void TEditorStrings::Delete(int index) {
  CheckIndex(index, GetCount());
  Edit([&] {
    TEditorScreenStrings& rows = Rows();
    int r = rows.LineToRow(index);
    int start = rows.RowStart(r);
    int end = rows.RowEnd(r);
    rows.ReplaceRows(start, end - start + 1, {});
    SetCaretOffset(r, 0);
  });
}

void TEditorStrings::Clear() {
  Rows().Clear();
}

std::string TEditorStrings::GetTextStr() const {
  TEditorScreenStrings& rows = Rows();
  const int total = rows.GetCount();
  std::size_t size = 0;
  for (int r = 0; r < total; ++r) size += rows.View(r).size() + 2;
  std::string text;
  text.reserve(size);
  for (int r = 0; r < total; ++r) {
    text += rows.View(r);
    if (rows.RowAttributes(r) == raBreak) text += kCrLf;
  }
  return text;
}

void TEditorStrings::SetTextStr(std::string_view value) {
  if (std::size_t nul = value.find('\0'); nul != std::string_view::npos) {
    value = value.substr(0, nul);
  }
  BeginUpdate();
  try {
    TEditorScreenStrings& rows = Rows();
    rows.Clear();
    rows.AssignSplitLines(value);
    rows.InvalidateLineIndex();
    if (!value.empty() && value.back() != '\n' && value.back() != '\r') {
      rows.SetRowAttributes(rows.GetCount() - 1, raEnd);
    }
    if (rows.WordWrap()) rows.RewrapAll();
    rows.ReparseAll();
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TEditorStrings::LoadFromFile(const std::string& fileName) {
  BeginUpdate();
  try {
    TEditorScreenStrings& rows = Rows();
    rows.Clear();
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(fileName.c_str(), "rb"),
                                                      &std::fclose);
    if (!f) {
      throw EFileError("ファイル「" + fileName + "」を開けません: " + SystemErrorText(errno));
    }
    // Lines end at CR, LF or CR LF, also across chunk boundaries; a NUL ends
    // the scan of its chunk; the end-of-file mark 1A ends the text.
    constexpr std::size_t kChunk = 8192;
    char buf[kChunk];
    std::string pending;
    bool lastWasCr = false;
    bool ended = false;
    rows.BeginUpdate();
    try {
      std::size_t n;
      while (!ended && (n = std::fread(buf, 1, kChunk, f.get())) > 0) {
        std::size_t len = strnlen(buf, n);
        for (std::size_t i = 0; i < len; ++i) {
          char c = buf[i];
          if (c == '\x1A') {
            ended = true;
            break;
          }
          if (c == '\n' && lastWasCr) {
            lastWasCr = false;
            continue;
          }
          lastWasCr = c == '\r';
          if (c == '\r' || c == '\n') {
            rows.Add(pending);
            pending.clear();
          } else {
            pending.push_back(c);
          }
        }
      }
      if (std::ferror(f.get())) {
        throw EFileError("ファイル「" + fileName + "」を読めません: " + SystemErrorText(errno));
      }
      if (!pending.empty()) {
        int index = rows.Add(pending);
        rows.SetRowAttributes(index, raEnd);
      }
    } catch (...) {
      rows.EndUpdate();
      throw;
    }
    rows.EndUpdate();
    rows.InvalidateLineIndex();
    if (rows.WordWrap()) rows.RewrapAll();
    rows.ReparseAll();
    rows.RepaintEditors();
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TEditorStrings::Assign(const TPersistent& source) {
  if (auto* src = dynamic_cast<const TStrings*>(&source)) {
    SetTextStr(src->GetTextStr());
    TEditorScreenStrings& rows = Rows();
    Editor().SetCaretRowCol(rows.GetCount(), 0);
    return;
  }
  TStrings::Assign(source);
}

void TEditorStrings::SetUpdateState(bool updating) {
  TEditorScreenStrings& rows = Rows();
  TScreenEditor& editor = Editor();
  if (updating) {
    ++updateCount_;
    editor.SetRedraw(false);
    rows.BeginUpdate();
    editor.CaretBeginUpdate();
    editor.HideUnderline();
    editor.SetLinesUpdating(true);
  } else {
    --updateCount_;
    rows.EndUpdate();
    editor.ShowUnderline();
    editor.CaretEndUpdate();
    editor.SetLinesUpdating(false);
    editor.UpdateCaret();
    editor.SetRedraw(true);
    rows.RepaintEditors();
  }
}

}  // namespace kelu
