// TEditor: keyboard and input method. A key event goes through the key
// layer (KeyLayer.h) as key and character messages to SendKeyMessage, the
// same way a key macro plays its records back: the hook sees each message
// first, then the popup menu's shortcuts, the key table (cursor and scroll
// keys, Delete) and the character table (Backspace, Tab, Enter, printable
// bytes, a double-byte character as a lead byte followed by its trail byte)
// act. Modifiers come from the message only.
//
// The input method's composition is drawn over the text at the caret, in a
// small view of its own, outside the text and the undo history; its result
// is inserted once (one undo step) and shown to the hook as one WM_IME_CHAR
// message per character, so a recording replays it through WM_IME_CHAR.
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QTextCharFormat>
#include <algorithm>
#include <climits>
#include <functional>
#include <vector>

#include "base/Sjis.h"
#include "editor/control/Editor.h"
#include "editor/control/EditorGlyphs.h"
#include "editor/control/EditorPopupMenu.h"
#include "editor/control/KeyLayer.h"
#include "editor/control/UnicodeText.h"
#include "editor/fountain/Fountain.h"

namespace kelu {

namespace {

constexpr std::string_view kCrLf = "\r\n";

// Draws the input method's composition over the text.
class TPreeditView : public QWidget {
 public:
  TPreeditView(QWidget* parent, std::function<void(QPainter&)> paint)
      : QWidget(parent), paint_(std::move(paint)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    hide();
  }

 protected:
  void paintEvent(QPaintEvent* /*event*/) override {
    QPainter painter(this);
    paint_(painter);
  }

 private:
  std::function<void(QPainter&)> paint_;
};

// One character of the composition: its Shift-JIS form ("?" when it has
// none), the cells it takes and where it starts in the string.
struct TPreeditChar {
  std::string sjis;
  int cells = 1;
  int index = 0;  // UTF-16 index
};

std::vector<TPreeditChar> PreeditChars(const QString& text, TTextCodec& codec) {
  std::vector<TPreeditChar> chars;
  int i = 0;
  while (i < text.size()) {
    const int n = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    std::size_t lossy = 0;
    std::string sjis = FromQString(codec, text.mid(i, n), &lossy);
    int cells = static_cast<int>(sjis.size());
    if (lossy || sjis.empty()) {
      sjis = "?";
      cells = 1;
    }
    chars.push_back({std::move(sjis), std::max(cells, 1), i});
    i += n;
  }
  return chars;
}

}  // namespace

// ----------------------------------------------------------- construction

void TEditor::InitEditing() {
  setAttribute(Qt::WA_InputMethodEnabled, true);
  popupMenu_ = CreatePopupMenu();
}

TEditorPopupMenu* TEditor::CreatePopupMenu() {
  return new TEditorPopupMenu(this, this);
}

QMenu* TEditor::PopupMenu() const {
  return popupMenu_;
}

void TEditor::SetPopupMenu(QMenu* menu) {
  popupMenu_ = menu;
}

// ------------------------------------------------------------- Qt events

bool TEditor::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::ShortcutOverride:
      // The keys of the popup menu's shortcuts come as key presses, so that
      // they pass the key message hook.
      if (popupMenu_ && FindMenuShortcut(*popupMenu_, *static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
      }
      break;
    case QEvent::FocusOut:
      // The input method commits a composition before the focus goes; one
      // still shown is dropped.
      if (composing_) {
        preedit_.clear();
        preeditAttributes_.clear();
        composing_ = false;
        CaretEndUpdate();
        UpdatePreeditView();
      }
      break;
    case QEvent::KeyPress: {
      // With WantTabs the control takes Tab instead of the focus chain.
      auto* key = static_cast<QKeyEvent*>(event);
      if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && wantTabs_ &&
          !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        keyPressEvent(key);
        return true;
      }
      break;
    }
    default:
      break;
  }
  return QAbstractScrollArea::event(event);
}

void TEditor::keyPressEvent(QKeyEvent* event) {
  // Without WantReturns Enter is left to the dialog (its default button).
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !wantReturns_) {
    event->ignore();
    return;
  }
  if (SendKeyEvent(*this, *event, &Codec())) {
    event->accept();
  } else {
    event->ignore();
  }
}

void TEditor::keyReleaseEvent(QKeyEvent* event) {
  SendKeyEvent(*this, *event, &Codec());
  event->accept();
}

void TEditor::contextMenuEvent(QContextMenuEvent* event) {
  if (!popupMenu_) {
    event->ignore();
    return;
  }
  QPoint pos = event->globalPos();
  if (event->reason() == QContextMenuEvent::Keyboard) {
    pos = viewport()->mapToGlobal(QPoint(ColX(col_), RowTop(row_) + rowHeight_));
  }
  popupMenu_->popup(pos);
  event->accept();
}

// --------------------------------------------------------- key messages

int TEditor::SendKeyMessage(const TKeyMessage& message) {
  CallKeyMessageHook(message);
  switch (message.Msg) {
    case CN_KEYDOWN:
    case WM_KEYDOWN:
      return KeyDown(message) ? 1 : 0;
    case CN_SYSKEYDOWN:
    case WM_SYSKEYDOWN: {
      // Only the popup menu's shortcuts with Alt.
      pendingLead_ = -1;
      if (!popupMenu_) return 0;
      QAction* item = FindMenuShortcut(*popupMenu_, message);
      if (!item) return 0;
      if (auto* own = qobject_cast<TEditorPopupMenu*>(popupMenu_.data())) own->PopupUpdate();
      if (!item->isEnabled()) return 0;
      item->trigger();
      return 1;
    }
    case CN_CHAR:
    case WM_CHAR:
      return KeyChar(message) ? 1 : 0;
    case WM_IME_CHAR: {
      const std::uint16_t code = message.CharCode;
      if (code < 0x20 || readOnly_) return 0;
      std::string s;
      if (code >= 0x100) s += static_cast<char>(code >> 8);
      s += static_cast<char>(code & 0xFF);
      InsertChars(s);
      return 1;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP:
      KeyUp(message);
      return 0;
    default:
      return 0;
  }
}

void TEditor::KeyUp(const TKeyMessage& /*message*/) {
  keyRepeating_ = false;
  if (compositionMovePending_) MoveCompositionWindow();
}

bool TEditor::KeyDown(const TKeyMessage& message) {
  keyRepeating_ = message.AutoRepeat();
  // A lead byte waits for the character message right after it, not for
  // one after another key.
  pendingLead_ = -1;
  if (popupMenu_) {
    if (QAction* item = FindMenuShortcut(*popupMenu_, message)) {
      if (auto* own = qobject_cast<TEditorPopupMenu*>(popupMenu_.data())) own->PopupUpdate();
      if (item->isEnabled()) {
        item->trigger();
        return true;
      }
    }
  }
  const std::uint16_t vk = message.CharCode;
  const bool shift = message.ShiftDown();
  const bool ctrl = message.CtrlDown();
  if (vk == VK_DELETE) {
    if (!readOnly_) {
      if (Selected()) {
        DeleteSelection();
      } else {
        if (selectionState_ == stHit) CleanSelection();
        DeleteKey();
      }
    }
    return true;
  }
  if (vk < VK_PRIOR || vk > VK_DOWN) return false;

  // Movement keys: Shift extends the selection from an anchor; without it
  // a selection (or a shown hit) goes.
  if (shift && selectionState_ != stSelected) {
    StartSelection();
  } else if ((selectionState_ == stSelected && !shift) || selectionState_ == stHit) {
    CleanSelection();
  }
  const int count = RowCount();
  auto rowIsEof = [&](int r) { return r >= 0 && r < count && rows_->RowAttributes(r) == raEnd; };
  auto rowIsWrapped = [&](int r) {
    return r >= 0 && r < count && rows_->RowAttributes(r) == raWrap;
  };
  switch (vk) {
    case VK_PRIOR:
    case VK_NEXT: {
      const int range = keyRepeating_ ? speed_->PageVerticalRangeAc() : speed_->PageVerticalRange();
      const int n = (visibleRows_ - 1) / 2 * range;
      ScrollRows(vk == VK_PRIOR ? -n : n);
      break;
    }
    case VK_END:
      if (ctrl) SetRow(count);
      if (row_ == count) {
        SetCol(0);
      } else {
        SetCol(RowEndCol(row_));
      }
      break;
    case VK_HOME:
      if (ctrl) SetRow(0);
      SetCol(0);
      break;
    case VK_LEFT:
      if (ctrl) {
        TRowCol place;
        if (NextTokenPos(row_, col_, false, place)) SetRowCol(place.Row, place.Col);
      } else if (col_ > 0) {
        SetCol(col_ - 1);
      } else if (row_ > 0 && (caret_->NextLine() || rowIsWrapped(row_ - 1))) {
        SetRowCol(row_ - 1, RowEndCol(row_ - 1));
      }
      break;
    case VK_RIGHT:
      if (ctrl) {
        TRowCol place;
        if (NextTokenPos(row_, col_, true, place)) SetRowCol(place.Row, place.Col);
      } else {
        const int old = col_;
        SetCol(col_ + 1);
        if (col_ == old && row_ < count && !rowIsEof(row_) &&
            (caret_->NextLine() || rowIsWrapped(row_))) {
          SetRowCol(row_ + 1, 0);
        }
      }
      break;
    case VK_UP: {
      const int s = keyRepeating_ && row_ == topRow_ ? speed_->CaretVerticalAc() : 1;
      if (row_ > 0) {
        if (ctrl) {
          SetTopRow(topRow_ - s);
          if (row_ > topRow_ + visibleRows_ - 1) SetRow(row_ - s);
        } else {
          SetRow(row_ - s);
        }
      }
      break;
    }
    case VK_DOWN: {
      const int s =
          keyRepeating_ && row_ == topRow_ + visibleRows_ - 1 ? speed_->CaretVerticalAc() : 1;
      if (ctrl) {
        SetTopRow(topRow_ + s);
        if (row_ < topRow_) SetRow(row_ + s);
      } else if (!rowIsEof(row_) && row_ < count) {
        SetRow(row_ + s);
      }
      break;
    }
    default:
      break;
  }
  if (shift) UpdateSelection();
  return true;
}

void TEditor::ScrollRows(int n) {
  if (topRow_ == 0 && n < 0) {
    SetRow(0);
    return;
  }
  if (n > 0 && topRow_ < RowCount() && rows_->RowAttributes(topRow_) == raEnd) return;
  CaretBeginUpdate();
  const int old = topRow_;
  SetTopRow(std::clamp(topRow_ + n, 0, RowCount()));
  SetRow(row_ + topRow_ - old);
  CaretEndUpdate();
}

bool TEditor::KeyChar(const TKeyMessage& message) {
  const unsigned code = message.CharCode & 0xFFu;
  if (pendingLead_ >= 0) {
    const char lead = static_cast<char>(pendingLead_);
    pendingLead_ = -1;
    if (code >= 0x40) {
      const char two[2] = {lead, static_cast<char>(code)};
      if (!readOnly_) InsertChars(std::string_view(two, 2));
      return true;
    }
    // A lead byte without a fitting trail is dropped.
  }
  switch (code) {
    case 0x08:
      if (readOnly_) return false;
      BackSpaceKey();
      return true;
    case 0x09:
      if (message.ShiftDown() || message.CtrlDown() || readOnly_ || !wantTabs_) return false;
      TabKey();
      return true;
    case 0x0D:
      if (readOnly_) return false;
      ReturnKey(message.ShiftDown());
      return true;
    default:
      break;
  }
  if (sjis::IsLeadByte(static_cast<unsigned char>(code))) {
    pendingLead_ = static_cast<int>(code);
    return true;
  }
  if ((code >= 0x20 && code <= 0x7E) || code >= 0xA0) {
    if (readOnly_) return false;
    if (compositionMovePending_) MoveCompositionWindow();
    const char one = static_cast<char>(code);
    InsertChars(std::string_view(&one, 1));
    return true;
  }
  return false;
}

// ----------------------------------------------------------- Delete key

void TEditor::DeleteKey() {
  const int count = RowCount();
  if (row_ < 0 || row_ >= count) return;
  std::string_view t = RowText(row_);
  const int len = static_cast<int>(t.size());
  const int b = CaretByte();
  const std::string_view end = rows_->RowAttributes(row_) == raBreak ? kCrLf : std::string_view();
  if (col_ < RowEndCol(row_) && b < len) {
    // The character at the caret: both bytes of a double-byte character,
    // never beyond the row.
    const std::size_t n = sjis::CharLength(t, static_cast<std::size_t>(b));
    std::string text(t.substr(0, static_cast<std::size_t>(b)));
    text += t.substr(static_cast<std::size_t>(b) + n);
    text += end;
    ReplaceAndPlace(row_, 1, text, static_cast<std::size_t>(b));
    return;
  }
  // At or beyond the row's end: the next row joins this one.
  const TRowAttribute attribute = rows_->RowAttributes(row_);
  if (attribute == raEnd) return;
  std::string text(t);
  const int width = RowEndCol(row_);
  if (caret_->FreeCaret() && col_ > width) text.append(static_cast<std::size_t>(col_ - width), ' ');
  const std::size_t caret = text.size();
  if (row_ + 1 < count) {
    text += RowText(row_ + 1);
    if (rows_->RowAttributes(row_ + 1) == raBreak) text += kCrLf;
    ReplaceAndPlace(row_, 2, text, caret);
  } else {
    ReplaceAndPlace(row_, 1, text, caret);
  }
}

// --------------------------------------------------------- Backspace key

void TEditor::BackSpaceKey() {
  const int count = RowCount();
  if (count == 0) return;
  if (Selected()) {
    DeleteSelection();
    return;
  }
  if (selectionState_ == stHit) CleanSelection();

  if (col_ == 0 || row_ >= count) {
    // At the start of the row: the line break before it goes, or the last
    // character of the wrapped row before it.
    if (row_ == 0) return;
    const int prev = row_ - 1;
    std::string_view p = RowText(prev);
    if (rows_->RowAttributes(prev) == raWrap && !p.empty()) {
      const std::size_t last = sjis::CharStart(p, p.size() - 1);
      ReplaceAndPlace(prev, 1, p.substr(0, last), last);
      return;
    }
    std::string text(p);
    const std::size_t caret = text.size();
    if (row_ < count) {
      text += RowText(row_);
      if (rows_->RowAttributes(row_) == raBreak) text += kCrLf;
      ReplaceAndPlace(prev, 2, text, caret);
    } else {
      ReplaceAndPlace(prev, 1, text, caret);
    }
    return;
  }

  std::string_view t = RowText(row_);
  const std::string map = ColumnMap(t);
  const int width = static_cast<int>(map.size());
  const int indent = IndentWidth(t);
  const bool blanksOnly = BlankOnly(t);
  if (caret_->BackSpaceUnIndent() && (t.empty() || blanksOnly || col_ == indent)) {
    UnIndentBack(t, map);
    return;
  }
  if (col_ > width) {
    // A free caret beyond the row's end only moves.
    SetCol(col_ - 1);
    return;
  }
  // The character left of the caret, whole: a double-byte character, or
  // the tab whose blanks the caret stands in or after.
  auto at = [&](int c) { return c >= 0 && c < width ? map[static_cast<std::size_t>(c)] : '\0'; };
  int c = col_ - 1;
  if (at(c) == '5') --c;
  while (c > 0 && at(c) == '3') --c;
  const int b = ColumnToByte(map, c, static_cast<int>(t.size()));
  const std::size_t n = sjis::CharLength(t, static_cast<std::size_t>(b));
  std::string text(t.substr(0, static_cast<std::size_t>(b)));
  text += t.substr(std::min(t.size(), static_cast<std::size_t>(b) + n));
  if (rows_->RowAttributes(row_) == raBreak) text += kCrLf;
  ReplaceAndPlace(row_, 1, text, static_cast<std::size_t>(b));
}

bool TEditor::BlankOnly(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ' ' || text[i] == '\t') continue;
    if (i + 1 < text.size() && static_cast<unsigned char>(text[i]) == 0x81 &&
        static_cast<unsigned char>(text[i + 1]) == 0x40) {
      ++i;
      continue;
    }
    return false;
  }
  return true;
}

void TEditor::UnIndentBack(std::string_view t, const std::string& map) {
  // The indentation of the nearest row above that is indented less than
  // the caret; in the caret's own line a row without indentation does not
  // count.
  const int lineStart = rows_->RowStart(std::min(row_, RowCount() - 1));
  int target = 0;
  for (int r = std::min(row_, RowCount()) - 1; r >= 0; --r) {
    const int indent = IndentWidth(RowText(r));
    if (indent < 0 || indent >= col_) continue;
    if (indent == 0 && r >= lineStart) continue;
    target = indent;
    break;
  }
  const int width = static_cast<int>(map.size());
  if (target >= width) {
    SetCol(target);
    return;
  }
  auto at = [&](int c) { return c >= 0 && c < width ? map[static_cast<std::size_t>(c)] : '\0'; };
  const int len = static_cast<int>(t.size());
  // Left part: the characters wholly left of the target; one that the
  // target column cuts becomes blanks up to it.
  int startCol = target;
  if (at(startCol) == '5') --startCol;
  while (startCol > 0 && at(startCol) == '3') --startCol;
  std::string text(t.substr(0, static_cast<std::size_t>(ColumnToByte(map, startCol, len))));
  text.append(static_cast<std::size_t>(target - startCol), ' ');
  const std::size_t caret = text.size();
  // Right part: from the caret; the rest of a tab that holds the caret
  // stays as blanks.
  const int caretCol = std::min(col_, width);
  if (caretCol < width) {
    int c = caretCol;
    if (at(c) == '5') --c;  // not expected: the caret stands on characters
    int tabEnd = c;
    if (at(c) == '3') {
      while (tabEnd < width && at(tabEnd) == '3') ++tabEnd;
      text.append(static_cast<std::size_t>(tabEnd - c), ' ');
      c = tabEnd;
    }
    if (c < width) text += t.substr(static_cast<std::size_t>(ColumnToByte(map, c, len)));
  }
  if (rows_->RowAttributes(row_) == raBreak) text += kCrLf;
  ReplaceAndPlace(row_, 1, text, caret);
}

// ------------------------------------------------------------ Tab, Enter

void TEditor::TabKey() {
  const int t = std::max(caret_->TabSpaceCount(), 1);
  int n = t - col_ % t;
  if (rows_->WordWrap()) {
    const int w = std::max(rows_->WrapOption().WrapByte(), 1);
    n = std::min(n, w - col_ % w);
  }
  if (caret_->SoftTab()) {
    InsertChars(std::string(static_cast<std::size_t>(n), ' '));
  } else {
    InsertChars("\t");
  }
}

void TEditor::ReturnKey(bool shift) {
  if (Selected() && shift) return;
  if (selectionState_ == stHit) CleanSelection();
  const int count = RowCount();
  if (!Selected() && row_ >= count) {
    ReplaceAndPlace(count, 0, kCrLf, kCrLf.size());
    return;
  }
  // The edit as a splice: with a selection, its text goes in the same
  // change and the line is split where it started.
  const TEditSplice sp = EditSplice(false);
  if (sp.rowCount == 0) {
    ReplaceAndPlace(sp.firstRow, 0, kCrLf, kCrLf.size());
    return;
  }
  const int caretRow = sp.firstRow;
  const int first = rows_->RowStart(caretRow);
  const std::string caretRowText = sp.before + sp.after.substr(0, sp.rowRest);
  const int col = Selected() ? sp.col : col_;

  int indent = 0;
  if (caret_->AutoIndent()) {
    const std::string firstText = first == caretRow ? caretRowText : std::string(RowText(first));
    const int c = IndentWidth(firstText);
    if (c < 1) {
      if (caret_->PrevSpaceIndent() && first == caretRow && firstText.empty()) {
        // The indentation of the nearest line above that is not empty.
        for (int r = first - 1; r >= 0; --r) {
          const int lineStart = rows_->RowStart(r);
          const int w = IndentWidth(RowText(lineStart));
          if (w >= 0) {
            indent = w;
            break;
          }
          r = lineStart;
        }
      }
    } else {
      indent = first == caretRow && col < c ? col : c;
    }
  }
  std::string indentText;
  if (caret_->TabIndent()) {
    const int t = std::max(caret_->TabSpaceCount(), 1);
    indentText.assign(static_cast<std::size_t>(indent / t), '\t');
    indentText.append(static_cast<std::size_t>(indent % t), ' ');
  } else {
    indentText.assign(static_cast<std::size_t>(indent), ' ');
  }

  if (shift) {
    // A new line above, indented, the caret at the end of its indentation.
    std::string text = indentText;
    text += kCrLf;
    ReplaceAndPlace(first, 0, text, indentText.size());
    return;
  }
  std::string text = sp.before;
  text += kCrLf;
  text += indentText;
  const std::size_t caret = text.size();
  text += sp.after;
  ReplaceAndPlace(sp.firstRow, sp.rowCount, text, caret);
}

// ------------------------------------------------- word-wise movement

bool TEditor::NextTokenPos(int row, int col, bool forward, TRowCol& place) {
  const int count = RowCount();
  if (count == 0 || row < 0) return false;
  if (row >= count) {
    if (forward) return false;
    place = {count - 1, RowEndCol(count - 1)};
    return true;
  }
  struct TToken {
    int start, end, kind;
  };
  // The tokens of a row, in columns (tabs expanded), cut by the active
  // fountain from the row's stored state.
  auto tokens = [&](int r) {
    std::vector<TToken> out;
    EnsureRowState(r);
    TRowAttributeData state = rows_->RowState(r);
    state.RowAttribute = rows_->RowAttributes(r);
    const std::string line = ExpandTabs(RowText(r));
    std::string text = line;
    // A wrapped row is parsed with the next one, so that a token cut by the
    // wrap is recognised.
    if (state.RowAttribute == raWrap && r + 1 < count) text += ExpandTabs(RowText(r + 1));
    std::unique_ptr<TFountainParser> parser = ActiveFountain().CreateParser();
    parser->Start(text, state);
    const int width = static_cast<int>(line.size());
    for (int kind = parser->NextToken(); kind != ttEnd; kind = parser->NextToken()) {
      const int start = parser->TokenStart();
      if (start >= width) break;
      out.push_back({start, std::min(start + parser->TokenLength(), width), kind});
    }
    return out;
  };
  const bool endStop = caret_->TokenEndStop();

  if (forward) {
    if (col >= RowEndCol(row)) {
      if (row + 1 >= count) {
        if (rows_->RowAttributes(row) != raBreak) return false;
        place = {count, 0};
        return true;
      }
      ++row;
      col = -1;
    }
    int best = INT_MAX;
    for (const TToken& t : tokens(row)) {
      if (t.start > col && (endStop || t.kind != ttSymbol)) best = std::min(best, t.start);
      if (endStop && t.start <= col && col < t.end) best = std::min(best, t.end);
    }
    if (best != INT_MAX) {
      place = {row, best};
    } else if (rows_->RowAttributes(row) == raWrap) {
      place = {row + 1, 0};
    } else {
      place = {row, RowEndCol(row)};
    }
    return true;
  }

  if (col <= 0) {
    if (row == 0) return false;
    place = {row - 1, RowEndCol(row - 1)};
    if (rows_->RowAttributes(row - 1) != raWrap) return true;
    --row;
    col = RowEndCol(row);
  }
  int best = -1;
  for (const TToken& t : tokens(row)) {
    if (t.start < col && (endStop || t.kind != ttSymbol)) best = std::max(best, t.start);
    if (endStop && t.end < col) best = std::max(best, t.end);
  }
  if (best >= 0) {
    place = {row, best};
  } else if (row == 0) {
    place = {0, 0};
  } else {
    place = {row - 1, RowEndCol(row - 1)};
  }
  return true;
}

// ---------------------------------------------------------- input method

void TEditor::inputMethodEvent(QInputMethodEvent* event) {
  const QString commit = event->commitString();
  if (!commit.isEmpty() && !readOnly_) {
    const std::string sjis = FromQString(Codec(), commit);
    // The hook sees the result as the input method's characters; they are
    // inserted once, here.
    if (KeyMessageHook()) {
      TKeyMessage m;
      m.Msg = WM_IME_CHAR;
      m.KeyData = 1;
      for (std::size_t i = 0; i < sjis.size();) {
        const std::size_t n = sjis::CharLength(sjis, i);
        std::uint16_t code = static_cast<unsigned char>(sjis[i]);
        if (n == 2)
          code = static_cast<std::uint16_t>(code << 8 | static_cast<unsigned char>(sjis[i + 1]));
        i += n;
        if (code < 0x20) continue;
        m.CharCode = code;
        CallKeyMessageHook(m);
      }
    }
    InsertChars(sjis);
  }
  preedit_ = event->preeditString();
  preeditCursor_ = static_cast<int>(preedit_.size());
  preeditCursorVisible_ = true;
  preeditAttributes_.clear();
  for (const QInputMethodEvent::Attribute& a : event->attributes()) {
    if (a.type == QInputMethodEvent::Cursor) {
      preeditCursor_ = std::clamp(a.start, 0, static_cast<int>(preedit_.size()));
      preeditCursorVisible_ = a.length != 0;
    } else if (a.type == QInputMethodEvent::TextFormat) {
      preeditAttributes_.push_back(a);
    }
  }
  // The control's caret is hidden while a composition is shown; the
  // composition draws its own.
  if (!preedit_.isEmpty() && !composing_) {
    composing_ = true;
    CaretBeginUpdate();
  } else if (preedit_.isEmpty() && composing_) {
    composing_ = false;
    CaretEndUpdate();
  }
  UpdatePreeditView();
  event->accept();
}

void TEditor::UpdatePreeditView() {
  if (preedit_.isEmpty()) {
    if (preeditView_) preeditView_->hide();
    return;
  }
  if (!preeditView_) {
    preeditView_ = new TPreeditView(viewport(), [this](QPainter& p) { PaintPreedit(p); });
  }
  int cells = 0;
  for (const TPreeditChar& c : PreeditChars(preedit_, Codec())) cells += c.cells;
  // At the caret, over the rest of the row, which it shows moved to the
  // right of the composition.
  const int x = ColX(col_);
  const int width = std::max(cells * colWidth_ + 2, ClientRect().width() - x);
  preeditView_->setGeometry(x, RowTop(row_), width, fontHeight_);
  preeditView_->show();
  preeditView_->raise();
  preeditView_->update();
}

void TEditor::PaintPreedit(QPainter& p) {
  const QColor bk = BkColorOf(color_);
  const QColor fg = FgColorOf(font_.Color());
  p.fillRect(QRect(QPoint(0, 0), preeditView_->size()), bk);
  int x = 0;
  int cursorX = 0;
  for (const TPreeditChar& c : PreeditChars(preedit_, Codec())) {
    const int w = c.cells * colWidth_;
    // The format of the segment holding the character: the converted part
    // is shown highlighted.
    QColor back = bk, fore = fg;
    bool thick = false;
    for (const QInputMethodEvent::Attribute& a : preeditAttributes_) {
      if (c.index < a.start || c.index >= a.start + a.length) continue;
      const QTextCharFormat f = a.value.value<QTextFormat>().toCharFormat();
      if (f.background().style() != Qt::NoBrush) {
        back = f.background().color();
        thick = true;
      }
      if (f.foreground().style() != Qt::NoBrush) fore = f.foreground().color();
    }
    if (back != bk) p.fillRect(QRect(x, 0, w, fontHeight_), back);
    glyphs_->Draw(p, c.sjis, x, 0, font_.Style(), fore, Codec());
    p.fillRect(QRect(x + 1, fontHeight_ - (thick ? 2 : 1), std::max(w - 2, 1), thick ? 2 : 1),
               fore);
    if (c.index < preeditCursor_) cursorX = x + w;
    x += w;
  }
  // The rest of the caret's row, plain, after the composition.
  const std::string row = ExpandTabs(RowText(row_));
  if (col_ < static_cast<int>(row.size())) {
    glyphs_->Draw(p, std::string_view(row).substr(static_cast<std::size_t>(col_)), x, 0,
                  font_.Style(), fg, Codec());
  }
  if (preeditCursorVisible_) p.fillRect(QRect(cursorX, 0, 2, fontHeight_), fg);
}

QVariant TEditor::inputMethodQuery(Qt::InputMethodQuery query) const {
  switch (query) {
    case Qt::ImEnabled:
      return !readOnly_;
    case Qt::ImCursorRectangle: {
      // The caret, or the cursor within the composition: the input
      // method's candidate window opens there.
      int cells = 0;
      for (const TPreeditChar& c : PreeditChars(preedit_.left(preeditCursor_), Codec())) cells += c.cells;
      const QPoint at = viewport()->mapTo(this, QPoint(ColX(col_ + cells), RowTop(row_)));
      return QRect(at, QSize(2, fontHeight_));
    }
    case Qt::ImFont:
      return screenFont_;
    case Qt::ImHints:
      return static_cast<int>(Qt::ImhMultiLine);
    case Qt::ImSurroundingText:
      return ToQString(Codec(), RowText(row_));
    case Qt::ImCursorPosition:
      return static_cast<int>(ToQString(Codec(), RowText(row_).substr(0, CaretByte())).size());
    case Qt::ImAnchorPosition: {
      std::string_view t = RowText(row_);
      if (selectionState_ == stSelected && anchorRow_ == row_) {
        const auto b = std::min(static_cast<std::size_t>(std::max(anchorByte_, 0)), t.size());
        return static_cast<int>(ToQString(Codec(), t.substr(0, b)).size());
      }
      return static_cast<int>(ToQString(Codec(), t.substr(0, CaretByte())).size());
    }
    case Qt::ImCurrentSelection:
      return ToQString(Codec(), SelText());
    default:
      return QAbstractScrollArea::inputMethodQuery(query);
  }
}

}  // namespace kelu
