#include "macro/KeyMacro.h"

#include <istream>
#include <iterator>
#include <ostream>

#include "base/Files.h"
#include "base/LineSplit.h"

namespace kelu {

namespace {

struct Kind {
  std::string_view prefix;
  std::uint32_t msg;
};

constexpr Kind kKinds[] = {
    {"WM_IME_CHAR: ", WM_IME_CHAR},
    {"CN_KEYDOWN: ", CN_KEYDOWN},
    {"CN_CHAR: ", CN_CHAR},
};

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

// A cursor over one line of the text form.
class LineReader {
 public:
  explicit LineReader(std::string_view s) : s_(s) {}

  void SkipBlanks() {
    while (!s_.empty() && IsBlank(s_.front())) s_.remove_prefix(1);
  }
  bool Take(std::string_view word) {
    SkipBlanks();
    if (!s_.starts_with(word)) return false;
    s_.remove_prefix(word.size());
    return true;
  }
  // A decimal number no larger than `max`.
  bool Number(std::uint64_t max, std::uint64_t& value) {
    SkipBlanks();
    std::size_t n = 0;
    value = 0;
    while (n < s_.size() && s_[n] >= '0' && s_[n] <= '9') {
      value = value * 10 + static_cast<unsigned>(s_[n] - '0');
      if (value > max) return false;
      ++n;
    }
    s_.remove_prefix(n);
    return n > 0;
  }
  // ", <label>: <number>"
  bool Field(std::string_view label, std::uint64_t max, std::uint64_t& value) {
    return Take(",") && Take(label) && Take(":") && Number(max, value);
  }
  // Nothing more but blanks or a " // " comment.
  bool AtEnd() {
    SkipBlanks();
    return s_.empty() || s_.starts_with("//");
  }

 private:
  std::string_view s_;
};

}  // namespace

TKeyMacro::TKeyMacro(TComponent* owner) : TComponent(owner) {}

TKeyMacro::~TKeyMacro() {
  MarkDestroying();
  if (state_ == msRecording) StopRecording();
  if (state_ == msPlaying) StopPlaying();
  if (control_) control_->RemoveFreeNotification(this);
}

void TKeyMacro::SetControl(TKeyMessageTarget* value) {
  if (value == control_) return;
  const bool recording = state_ == msRecording;
  if (recording) UnhookControl();
  if (control_) control_->RemoveFreeNotification(this);
  control_ = value;
  if (control_) control_->FreeNotification(this);
  if (recording) {
    if (control_) {
      HookControl();
    } else {
      CancelRecording();
    }
  }
}

void TKeyMacro::HookControl() {
  if (!control_ || hooked_) return;
  previousHook_ = control_->KeyMessageHook();
  control_->SetKeyMessageHook(this);
  hooked_ = true;
}

void TKeyMacro::UnhookControl() {
  if (!hooked_) return;
  if (control_ && control_->KeyMessageHook() == this) control_->SetKeyMessageHook(previousHook_);
  previousHook_ = nullptr;
  hooked_ = false;
}

void TKeyMacro::SetState(TKeyMacroState value) {
  state_ = value;
  if (!Destroying()) DoChange();
}

void TKeyMacro::DoChange() {
  OnChange(this);
}

void TKeyMacro::StartRecording() {
  if (!control_ || state_ == msRecording || state_ == msPlaying) return;
  items_.clear();
  pendingImeChars_ = 0;
  inShortcut_ = false;
  SetState(msRecording);
  HookControl();
}

void TKeyMacro::StopRecording() {
  if (state_ != msRecording) return;
  SetState(msRecorded);
  UnhookControl();
}

void TKeyMacro::CancelRecording() {
  if (state_ != msRecording) return;
  StopRecording();
  items_.clear();
  SetState(msEmpty);
}

void TKeyMacro::Play() {
  if (state_ != msRecorded || !control_ || items_.empty()) return;
  // A replayed key may clear the macro or start a new recording: play a copy.
  const TKeyMacroDataList records = items_;
  SetState(msPlaying);
  try {
    for (const TKeyMacroData& record : records) {
      if (!control_) break;  // the control went away
      DeliverKeyMessage(*control_, record);
      if (state_ != msPlaying) {
        if (showDialog_) ShowMessage(kCancelText + Name(), mkInformation);
        break;
      }
    }
  } catch (...) {
    if (state_ == msPlaying) SetState(msRecorded);
    throw;
  }
  // A state set meanwhile (a new recording, an empty macro) stays.
  if (state_ == msPlaying) SetState(msRecorded);
}

void TKeyMacro::StopPlaying() {
  if (state_ == msPlaying) SetState(msRecorded);
}

void TKeyMacro::Clear() {
  if (state_ == msRecording) StopRecording();
  if (state_ == msPlaying) StopPlaying();
  SetState(msEmpty);
  items_.clear();
}

void TKeyMacro::KeyMessage(const TKeyMessage& message) {
  TKeyMessageHook* next = previousHook_;
  if (state_ == msRecording) AddRecord(message);
  if (next) next->KeyMessage(message);
}

void TKeyMacro::KeyMessageTargetDestroyed(TKeyMessageTarget* target) {
  if (target != control_) return;
  // The target has dropped its hook already and must not be called.
  hooked_ = false;
  previousHook_ = nullptr;
  control_ = nullptr;
  CancelRecording();
}

void TKeyMacro::AddRecord(const TKeyMessage& message) {
  switch (message.Msg) {
    case CN_KEYDOWN:
      // The character messages of an input-method character come before the
      // next key; none that is still owed will come.
      pendingImeChars_ = 0;
      inShortcut_ = ShortcutFilter && ShortcutFilter(message);
      if (!inShortcut_) items_.push_back(message);
      break;
    case WM_IME_CHAR:
      inShortcut_ = false;
      ++pendingImeChars_;
      items_.push_back(message);
      break;
    case CN_CHAR:
      if (pendingImeChars_ > 0) {
        --pendingImeChars_;  // the character message of an input-method character
      } else if (!inShortcut_) {
        items_.push_back(message);
      }
      break;
    case CN_SYSKEYDOWN:
      pendingImeChars_ = 0;
      inShortcut_ = false;
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      inShortcut_ = false;
      break;
    default:
      break;
  }
}

void TKeyMacro::ShowMessage(const std::string& text, TKeyMacroMessageKind kind) const {
  if (MessageProc) MessageProc(text, kind);
}

std::string TKeyMacro::RecordText(const TKeyMacroData& data) {
  std::string s;
  for (const Kind& k : kKinds) {
    if (k.msg == data.Msg) s = k.prefix;
  }
  s += std::to_string(data.Msg);
  s += ", CharCode: " + std::to_string(data.CharCode);
  s += ", KeyData: " + std::to_string(data.KeyData);
  s += ", Shift: " + std::to_string(data.Shift);
  s += ", Ctrl: " + std::to_string(data.Ctrl);
  s += ", Alt: " + std::to_string(data.Alt);
  if (data.Msg == WM_IME_CHAR || data.Msg == CN_CHAR) {
    s += " // ";
    if (data.CharCode >= 256) {
      s += static_cast<char>(data.CharCode >> 8);
      s += static_cast<char>(data.CharCode & 0xFF);
    } else if (data.CharCode < 32) {
      s += "#" + std::to_string(data.CharCode);
    } else {
      s += static_cast<char>(data.CharCode);
    }
  }
  return s;
}

bool TKeyMacro::ParseRecord(std::string_view line, TKeyMacroData& data) {
  LineReader r(line);
  const Kind* kind = nullptr;
  for (const Kind& k : kKinds) {
    // The prefix without its blank: blanks are skipped anyway.
    if (r.Take(k.prefix.substr(0, k.prefix.size() - 1))) {
      kind = &k;
      break;
    }
  }
  if (!kind) return false;
  std::uint64_t msg, charCode, keyData, shift, ctrl, alt;
  if (!r.Number(0xFFFFFFFF, msg) || msg != kind->msg) return false;
  if (!r.Field("CharCode", 0xFFFF, charCode) || !r.Field("KeyData", 0xFFFFFFFF, keyData) ||
      !r.Field("Shift", 0xFF, shift) || !r.Field("Ctrl", 0xFF, ctrl) ||
      !r.Field("Alt", 0xFF, alt) || !r.AtEnd()) {
    return false;
  }
  data.Msg = static_cast<std::uint32_t>(msg);
  data.CharCode = static_cast<std::uint16_t>(charCode);
  data.KeyData = static_cast<std::uint32_t>(keyData);
  data.Shift = static_cast<std::uint8_t>(shift);
  data.Ctrl = static_cast<std::uint8_t>(ctrl);
  data.Alt = static_cast<std::uint8_t>(alt);
  return true;
}

std::string TKeyMacro::Text() const {
  std::string text;
  for (const TKeyMacroData& data : items_) {
    text += RecordText(data);
    text += kLineBreak;
  }
  return text;
}

void TKeyMacro::SaveToStream(std::ostream& stream) const {
  const std::string text = Text();
  stream.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void TKeyMacro::SaveToFile(const std::string& fileName) const {
  WriteFileAtomically(fileName, Text());
}

bool TKeyMacro::LoadFromStream(std::istream& stream) {
  const std::string text{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
  return LoadFromText(text);
}

bool TKeyMacro::LoadFromText(std::string_view text) {
  TKeyMacroDataList records;
  bool valid = true;
  ForEachLine(text, [&](std::string_view line) {
    if (!valid) return;
    bool blank = true;
    for (char c : line) blank = blank && IsBlank(c);
    if (blank) return;
    TKeyMacroData data;
    valid = ParseRecord(line, data);
    records.push_back(data);
  });
  if (!valid) {
    if (showDialog_) ShowMessage(kInvalidDataText + Name(), mkError);
    return false;
  }
  Clear();
  if (records.empty()) return true;
  items_ = std::move(records);
  SetState(msRecorded);
  return true;
}

bool TKeyMacro::LoadFromFile(const std::string& fileName) {
  return LoadFromText(ReadFileBytes(fileName));
}

}  // namespace kelu
