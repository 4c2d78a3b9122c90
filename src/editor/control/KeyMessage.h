// Key messages: the form in which the editor control receives keyboard input
// and the key macro recorder stores it. A key press arrives as a key-down
// message carrying the virtual-key code, followed by one character message
// per Shift-JIS byte of the text it produces; a character delivered by the
// input method arrives as one message carrying both bytes of the character.
//
// A control offers TKeyMessageTarget. It calls its hook, when one is set, for
// every key message it receives, before it handles it; the key macro recorder
// records through that hook. Free of any window system.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace kelu {

// Message numbers.
inline constexpr std::uint32_t WM_KEYDOWN = 0x0100;
inline constexpr std::uint32_t WM_KEYUP = 0x0101;
inline constexpr std::uint32_t WM_CHAR = 0x0102;
inline constexpr std::uint32_t WM_SYSKEYDOWN = 0x0104;  // a key pressed with Alt (or F10)
inline constexpr std::uint32_t WM_SYSKEYUP = 0x0105;
inline constexpr std::uint32_t WM_SYSCHAR = 0x0106;
inline constexpr std::uint32_t WM_IME_CHAR = 0x0286;
// The notification forms: the control sees CN_BASE + the message first and
// answers 0 when it leaves the key to the plain message.
inline constexpr std::uint32_t CN_BASE = 0xBC00;
inline constexpr std::uint32_t CN_KEYDOWN = CN_BASE + WM_KEYDOWN;  // 0xBD00
inline constexpr std::uint32_t CN_CHAR = CN_BASE + WM_CHAR;        // 0xBD02
inline constexpr std::uint32_t CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
inline constexpr std::uint32_t CN_SYSCHAR = CN_BASE + WM_SYSCHAR;

// Virtual-key codes. Digits and letters are their upper-case ASCII codes
// ('0'..'9', 'A'..'Z').
inline constexpr std::uint16_t VK_BACK = 0x08;
inline constexpr std::uint16_t VK_TAB = 0x09;
inline constexpr std::uint16_t VK_CLEAR = 0x0C;
inline constexpr std::uint16_t VK_RETURN = 0x0D;
inline constexpr std::uint16_t VK_SHIFT = 0x10;
inline constexpr std::uint16_t VK_CONTROL = 0x11;
inline constexpr std::uint16_t VK_MENU = 0x12;  // Alt
inline constexpr std::uint16_t VK_PAUSE = 0x13;
inline constexpr std::uint16_t VK_CAPITAL = 0x14;
inline constexpr std::uint16_t VK_KANJI = 0x19;
inline constexpr std::uint16_t VK_ESCAPE = 0x1B;
inline constexpr std::uint16_t VK_CONVERT = 0x1C;
inline constexpr std::uint16_t VK_NONCONVERT = 0x1D;
inline constexpr std::uint16_t VK_SPACE = 0x20;
inline constexpr std::uint16_t VK_PRIOR = 0x21;  // Page Up
inline constexpr std::uint16_t VK_NEXT = 0x22;   // Page Down
inline constexpr std::uint16_t VK_END = 0x23;
inline constexpr std::uint16_t VK_HOME = 0x24;
inline constexpr std::uint16_t VK_LEFT = 0x25;
inline constexpr std::uint16_t VK_UP = 0x26;
inline constexpr std::uint16_t VK_RIGHT = 0x27;
inline constexpr std::uint16_t VK_DOWN = 0x28;
inline constexpr std::uint16_t VK_SNAPSHOT = 0x2C;
inline constexpr std::uint16_t VK_INSERT = 0x2D;
inline constexpr std::uint16_t VK_DELETE = 0x2E;
inline constexpr std::uint16_t VK_HELP = 0x2F;
inline constexpr std::uint16_t VK_LWIN = 0x5B;
inline constexpr std::uint16_t VK_RWIN = 0x5C;
inline constexpr std::uint16_t VK_APPS = 0x5D;
inline constexpr std::uint16_t VK_NUMPAD0 = 0x60;  // ..VK_NUMPAD9 = 0x69
inline constexpr std::uint16_t VK_MULTIPLY = 0x6A;
inline constexpr std::uint16_t VK_ADD = 0x6B;
inline constexpr std::uint16_t VK_SEPARATOR = 0x6C;
inline constexpr std::uint16_t VK_SUBTRACT = 0x6D;
inline constexpr std::uint16_t VK_DECIMAL = 0x6E;
inline constexpr std::uint16_t VK_DIVIDE = 0x6F;
inline constexpr std::uint16_t VK_F1 = 0x70;  // ..VK_F24 = 0x87
inline constexpr std::uint16_t VK_F10 = 0x79;
inline constexpr std::uint16_t VK_F24 = 0x87;
inline constexpr std::uint16_t VK_NUMLOCK = 0x90;
inline constexpr std::uint16_t VK_SCROLL = 0x91;
// The punctuation keys as on the Japanese (JIS) keyboard.
inline constexpr std::uint16_t VK_OEM_1 = 0xBA;       // : *
inline constexpr std::uint16_t VK_OEM_PLUS = 0xBB;    // ; +
inline constexpr std::uint16_t VK_OEM_COMMA = 0xBC;   // , <
inline constexpr std::uint16_t VK_OEM_MINUS = 0xBD;   // - =
inline constexpr std::uint16_t VK_OEM_PERIOD = 0xBE;  // . >
inline constexpr std::uint16_t VK_OEM_2 = 0xBF;       // / ?
inline constexpr std::uint16_t VK_OEM_3 = 0xC0;       // @ `
inline constexpr std::uint16_t VK_OEM_4 = 0xDB;       // [ {
inline constexpr std::uint16_t VK_OEM_5 = 0xDC;       // yen |
inline constexpr std::uint16_t VK_OEM_6 = 0xDD;       // ] }
inline constexpr std::uint16_t VK_OEM_7 = 0xDE;       // ^ ~
inline constexpr std::uint16_t VK_OEM_102 = 0xE2;     // backslash _

// The state byte of a modifier key.
inline constexpr std::uint8_t kKeyDown = 0x80;
inline constexpr std::uint8_t kKeyToggled = 0x01;

// The bits of KeyData besides the repeat count (bits 0-15) and the scan code
// (bits 16-23).
inline constexpr std::uint32_t kKeyDataExtended = 1u << 24;      // a key of the extended block
inline constexpr std::uint32_t kKeyDataAltDown = 1u << 29;       // Alt held (system keys)
inline constexpr std::uint32_t kKeyDataPreviousDown = 1u << 30;  // already down: auto-repeat
inline constexpr std::uint32_t kKeyDataReleased = 1u << 31;      // the key goes up

struct TKeyMessage {
  std::uint32_t Msg = 0;
  // The virtual-key code of a key message; the byte of a character message;
  // both bytes (lead byte high) of a double-byte WM_IME_CHAR.
  std::uint16_t CharCode = 0;
  std::uint32_t KeyData = 0;
  // The state bytes of Shift, Ctrl and Alt when the message was made.
  std::uint8_t Shift = 0;
  std::uint8_t Ctrl = 0;
  std::uint8_t Alt = 0;

  bool ShiftDown() const { return (Shift & kKeyDown) != 0; }
  bool CtrlDown() const { return (Ctrl & kKeyDown) != 0; }
  bool AltDown() const { return (Alt & kKeyDown) != 0; }
  bool AutoRepeat() const { return (KeyData & kKeyDataPreviousDown) != 0; }

  bool operator==(const TKeyMessage&) const = default;
};

class TKeyMessageTarget;

// Sees the key messages of a target before the target handles them.
class TKeyMessageHook {
 public:
  virtual void KeyMessage(const TKeyMessage& message) = 0;
  // The target is going away (asked for with FreeNotification). It has
  // already forgotten this hook; nothing may be called on it any more.
  virtual void KeyMessageTargetDestroyed(TKeyMessageTarget* /*target*/) {}

 protected:
  ~TKeyMessageHook() = default;
};

// What a control that takes key messages offers.
class TKeyMessageTarget {
 public:
  TKeyMessageTarget() = default;
  TKeyMessageTarget(const TKeyMessageTarget&) = delete;
  TKeyMessageTarget& operator=(const TKeyMessageTarget&) = delete;
  virtual ~TKeyMessageTarget() {
    hook_ = nullptr;
    std::vector<TKeyMessageHook*> watchers;
    watchers.swap(watchers_);
    for (TKeyMessageHook* w : watchers) w->KeyMessageTargetDestroyed(this);
  }

  // Handles one key message; the result is 0 when the control did not handle
  // it. An implementation calls CallKeyMessageHook(message) first.
  virtual int SendKeyMessage(const TKeyMessage& message) = 0;

  // The hook called for every key message; nullptr for none. Whoever sets a
  // hook keeps the previous one and puts it back when done.
  virtual void SetKeyMessageHook(TKeyMessageHook* hook) { hook_ = hook; }
  virtual TKeyMessageHook* KeyMessageHook() const { return hook_; }

  // `watcher` is told (KeyMessageTargetDestroyed) when this target goes away.
  void FreeNotification(TKeyMessageHook* watcher) {
    if (watcher && std::find(watchers_.begin(), watchers_.end(), watcher) == watchers_.end()) {
      watchers_.push_back(watcher);
    }
  }
  void RemoveFreeNotification(TKeyMessageHook* watcher) {
    watchers_.erase(std::remove(watchers_.begin(), watchers_.end(), watcher), watchers_.end());
  }

 protected:
  void CallKeyMessageHook(const TKeyMessage& message) {
    if (TKeyMessageHook* hook = KeyMessageHook()) hook->KeyMessage(message);
  }

 private:
  TKeyMessageHook* hook_ = nullptr;
  std::vector<TKeyMessageHook*> watchers_;
};

// True for the notification forms that fall back to the plain message.
constexpr bool IsNotificationKeyMessage(std::uint32_t msg) {
  return msg == CN_KEYDOWN || msg == CN_CHAR || msg == CN_SYSKEYDOWN || msg == CN_SYSCHAR;
}

// Delivers one message as the window system would: a notification form
// first, and when the target answers 0, the plain message (Msg - CN_BASE)
// with the same parameters. Every other message is sent as it is. Returns
// the target's last answer.
inline int DeliverKeyMessage(TKeyMessageTarget& target, const TKeyMessage& message) {
  int result = target.SendKeyMessage(message);
  if (result == 0 && IsNotificationKeyMessage(message.Msg)) {
    TKeyMessage plain = message;
    plain.Msg -= CN_BASE;
    result = target.SendKeyMessage(plain);
  }
  return result;
}

}  // namespace kelu
