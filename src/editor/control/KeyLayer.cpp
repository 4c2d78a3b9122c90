#include "editor/control/KeyLayer.h"

#include <QKeyCombination>
#include <QKeyEvent>
#include <string>

#include "base/Cp932.h"
#include "base/TextCodec.h"

namespace kelu {

namespace {

struct KeyPair {
  int key;
  std::uint16_t vk;
};

// Keys whose code does not follow from the key's character.
constexpr KeyPair kSpecialKeys[] = {
    {Qt::Key_Backspace, VK_BACK},
    {Qt::Key_Tab, VK_TAB},
    {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Clear, VK_CLEAR},
    {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL},
    {Qt::Key_Alt, VK_MENU},
    {Qt::Key_AltGr, VK_MENU},
    {Qt::Key_Pause, VK_PAUSE},
    {Qt::Key_CapsLock, VK_CAPITAL},
    {Qt::Key_Kanji, VK_KANJI},
    {Qt::Key_Zenkaku_Hankaku, VK_KANJI},
    {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Henkan, VK_CONVERT},
    {Qt::Key_Muhenkan, VK_NONCONVERT},
    {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},
    {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},
    {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Print, VK_SNAPSHOT},
    {Qt::Key_SysReq, VK_SNAPSHOT},
    {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},
    {Qt::Key_Help, VK_HELP},
    {Qt::Key_Meta, VK_LWIN},
    {Qt::Key_Super_L, VK_LWIN},
    {Qt::Key_Super_R, VK_RWIN},
    {Qt::Key_Menu, VK_APPS},
    {Qt::Key_NumLock, VK_NUMLOCK},
    {Qt::Key_ScrollLock, VK_SCROLL},
};

// The operator keys of the keypad.
constexpr KeyPair kKeypadKeys[] = {
    {Qt::Key_Asterisk, VK_MULTIPLY}, {Qt::Key_Plus, VK_ADD},      {Qt::Key_Minus, VK_SUBTRACT},
    {Qt::Key_Period, VK_DECIMAL},    {Qt::Key_Comma, VK_DECIMAL}, {Qt::Key_Slash, VK_DIVIDE},
};

// Punctuation keys by either of their characters, as on the Japanese (JIS)
// keyboard; the shifted digits give the digit keys.
// clang-format off
constexpr KeyPair kPunctuationKeys[] = {
    {Qt::Key_Minus, VK_OEM_MINUS},    {Qt::Key_Equal, VK_OEM_MINUS},
    {Qt::Key_AsciiCircum, VK_OEM_7},  {Qt::Key_AsciiTilde, VK_OEM_7},
    {Qt::Key_At, VK_OEM_3},           {Qt::Key_QuoteLeft, VK_OEM_3},
    {Qt::Key_BracketLeft, VK_OEM_4},  {Qt::Key_BraceLeft, VK_OEM_4},
    {Qt::Key_Semicolon, VK_OEM_PLUS}, {Qt::Key_Plus, VK_OEM_PLUS},
    {Qt::Key_Colon, VK_OEM_1},        {Qt::Key_Asterisk, VK_OEM_1},
    {Qt::Key_BracketRight, VK_OEM_6}, {Qt::Key_BraceRight, VK_OEM_6},
    {Qt::Key_Comma, VK_OEM_COMMA},    {Qt::Key_Less, VK_OEM_COMMA},
    {Qt::Key_Period, VK_OEM_PERIOD},  {Qt::Key_Greater, VK_OEM_PERIOD},
    {Qt::Key_Slash, VK_OEM_2},        {Qt::Key_Question, VK_OEM_2},
    {Qt::Key_Backslash, VK_OEM_102},  {Qt::Key_Underscore, VK_OEM_102},
    {Qt::Key_yen, VK_OEM_5},          {Qt::Key_Bar, VK_OEM_5},
    {Qt::Key_Exclam, '1'},            {Qt::Key_QuoteDbl, '2'},
    {Qt::Key_NumberSign, '3'},        {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'},           {Qt::Key_Ampersand, '6'},
    {Qt::Key_Apostrophe, '7'},        {Qt::Key_ParenLeft, '8'},
    {Qt::Key_ParenRight, '9'},
};
// clang-format on

template <std::size_t N>
std::uint16_t Lookup(const KeyPair (&table)[N], int key) {
  for (const KeyPair& p : table) {
    if (p.key == key) return p.vk;
  }
  return 0;
}

// The scan code (set 1) of a native scan code. On X11 and Wayland the native
// code is the evdev code + 8; evdev codes up to 88 are the set-1 codes.
std::uint32_t ScanCodeOf(quint32 native) {
  if (native <= 8) return 0;
  const quint32 evdev = native - 8;
  if (evdev == 85) return 0x29;  // Zenkaku/Hankaku
  if (evdev <= 88) return evdev;
  static constexpr std::pair<quint32, std::uint32_t> kExtended[] = {
      {89, 0x73},  {92, 0x79},  {93, 0x70},  {94, 0x7B},  {96, 0x1C},  {97, 0x1D},
      {98, 0x35},  {99, 0x37},  {100, 0x38}, {102, 0x47}, {103, 0x48}, {104, 0x49},
      {105, 0x4B}, {106, 0x4D}, {107, 0x4F}, {108, 0x50}, {109, 0x51}, {110, 0x52},
      {111, 0x53}, {119, 0x45}, {124, 0x7D}, {125, 0x5B}, {126, 0x5C}, {127, 0x5D},
  };
  for (const auto& [code, scan] : kExtended) {
    if (code == evdev) return scan;
  }
  return 0;
}

// Keys of the extended block: the editing and cursor keys outside the keypad
// and the keypad's Enter and divide keys.
bool IsExtendedKey(int key, std::uint16_t vk, bool keypad) {
  if (key == Qt::Key_Enter || vk == VK_DIVIDE) return true;
  switch (vk) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_INSERT:
    case VK_DELETE:
      return !keypad;
    case VK_LWIN:
    case VK_RWIN:
    case VK_APPS:
    case VK_NUMLOCK:
    case VK_SNAPSHOT:
      return true;
    default:
      return false;
  }
}

// The control character Ctrl gives with a key, -1 for none.
int ControlCharOf(std::uint16_t vk) {
  if (vk >= 'A' && vk <= 'Z') return vk - 'A' + 1;
  switch (vk) {
    case VK_OEM_4:
      return 0x1B;
    case VK_OEM_5:
    case VK_OEM_102:
      return 0x1C;
    case VK_OEM_6:
      return 0x1D;
    case VK_RETURN:
      return 0x0A;
    case VK_BACK:
      return 0x7F;
    case VK_ESCAPE:
      return 0x1B;
    case VK_SPACE:
      return 0x20;
    default:
      return -1;
  }
}

// The character of a key that is not taken from the event's text, -1 for
// none.
int KeyCharOf(std::uint16_t vk) {
  switch (vk) {
    case VK_BACK:
      return 0x08;
    case VK_TAB:
      return 0x09;
    case VK_RETURN:
      return 0x0D;
    case VK_ESCAPE:
      return 0x1B;
    default:
      return -1;
  }
}

// The Shift-JIS form of one character, through the document's codec when
// there is one; empty (and counted) when it has none.
std::string SjisOf(char32_t c, std::size_t* lossy, TTextCodec* codec) {
  std::size_t lost = 0;
  std::string sjis;
  if (codec) {
    sjis = codec->FromUtf32(std::u32string_view(&c, 1), &lost);
  } else {
    const QByteArray utf8 = QString::fromUcs4(&c, 1).toUtf8();
    sjis = cp932::FromUtf8(std::string_view(utf8.constData(), utf8.size()), &lost);
  }
  if (lost != 0 || sjis.empty()) {
    if (lossy) ++*lossy;
    return {};
  }
  return sjis;
}

std::uint8_t StateByte(bool down) {
  return down ? kKeyDown : 0;
}

}  // namespace

std::uint16_t VirtualKeyOf(int key, Qt::KeyboardModifiers modifiers) {
  const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
  if (key >= Qt::Key_0 && key <= Qt::Key_9) {
    return static_cast<std::uint16_t>(keypad ? VK_NUMPAD0 + (key - Qt::Key_0) : key);
  }
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<std::uint16_t>(key);
  if (key >= 'a' && key <= 'z') return static_cast<std::uint16_t>(key - 'a' + 'A');
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
    return static_cast<std::uint16_t>(VK_F1 + (key - Qt::Key_F1));
  }
  if (std::uint16_t vk = Lookup(kSpecialKeys, key)) return vk;
  if (keypad) {
    if (std::uint16_t vk = Lookup(kKeypadKeys, key)) return vk;
  }
  return Lookup(kPunctuationKeys, key);
}

std::vector<TKeyMessage> KeyEventMessages(const QKeyEvent& event, std::size_t* lossy,
                                          TTextCodec* codec) {
  std::vector<TKeyMessage> out;
  const bool press = event.type() == QEvent::KeyPress;
  if (!press && event.type() != QEvent::KeyRelease) return out;
  if (!press && event.isAutoRepeat()) return out;

  const int key = event.key();
  const Qt::KeyboardModifiers mods = event.modifiers();
  const std::uint16_t vk = VirtualKeyOf(key, mods);
  const QString text = event.text();
  if (vk == 0 && (!press || text.isEmpty())) return out;

  // The modifier keys themselves count as down while pressed.
  bool shift = mods.testFlag(Qt::ShiftModifier);
  bool ctrl = mods.testFlag(Qt::ControlModifier);
  bool alt = mods.testFlag(Qt::AltModifier);
  const bool altHeld = alt || vk == VK_MENU;
  const bool ctrlHeld = ctrl || vk == VK_CONTROL;
  if (vk == VK_SHIFT) shift = press;
  if (vk == VK_CONTROL) ctrl = press;
  if (vk == VK_MENU) alt = press;
  const bool system = (altHeld && !ctrlHeld) || vk == VK_F10;

  std::uint32_t keyData = 1;
  keyData |= ScanCodeOf(event.nativeScanCode()) << 16;
  if (IsExtendedKey(key, vk, mods.testFlag(Qt::KeypadModifier))) keyData |= kKeyDataExtended;
  if (altHeld && !ctrlHeld) keyData |= kKeyDataAltDown;
  if (!press) {
    keyData |= kKeyDataPreviousDown | kKeyDataReleased;
  } else if (event.isAutoRepeat()) {
    keyData |= kKeyDataPreviousDown;
  }

  TKeyMessage m;
  m.KeyData = keyData;
  m.Shift = StateByte(shift);
  m.Ctrl = StateByte(ctrl);
  m.Alt = StateByte(alt);

  if (!press) {
    m.Msg = system ? WM_SYSKEYUP : WM_KEYUP;
    m.CharCode = vk;
    out.push_back(m);
    return out;
  }

  m.Msg = system ? CN_SYSKEYDOWN : CN_KEYDOWN;
  m.CharCode = vk;
  out.push_back(m);

  m.Msg = system ? CN_SYSCHAR : CN_CHAR;
  auto addChar = [&](unsigned char byte) {
    m.CharCode = byte;
    out.push_back(m);
  };
  if (ctrlHeld && !altHeld) {
    // Ctrl gives control characters only.
    if (int c = ControlCharOf(vk); c >= 0) addChar(static_cast<unsigned char>(c));
    return out;
  }
  if (int c = KeyCharOf(vk); c >= 0) {
    addChar(static_cast<unsigned char>(c));
    return out;
  }
  for (char32_t c : text.toUcs4()) {
    if (c < 0x20 || c == 0x7F) continue;  // control characters come from the key alone
    for (char byte : SjisOf(c, lossy, codec)) addChar(static_cast<unsigned char>(byte));
  }
  return out;
}

std::vector<TKeyMessage> InputMethodMessages(const QString& commit, Qt::KeyboardModifiers modifiers,
                                             std::size_t* lossy, TTextCodec* codec) {
  std::vector<TKeyMessage> out;
  TKeyMessage m;
  m.Msg = WM_IME_CHAR;
  m.KeyData = 1;
  m.Shift = StateByte(modifiers.testFlag(Qt::ShiftModifier));
  m.Ctrl = StateByte(modifiers.testFlag(Qt::ControlModifier));
  m.Alt = StateByte(modifiers.testFlag(Qt::AltModifier));
  for (char32_t c : commit.toUcs4()) {
    const std::string sjis = SjisOf(c, lossy, codec);
    if (sjis.empty()) continue;
    std::uint16_t code = static_cast<unsigned char>(sjis[0]);
    if (sjis.size() == 2)
      code = static_cast<std::uint16_t>(code << 8 | static_cast<unsigned char>(sjis[1]));
    m.CharCode = code;
    out.push_back(m);
  }
  return out;
}

bool SendKeyEvent(TKeyMessageTarget& target, const QKeyEvent& event, TTextCodec* codec) {
  bool handled = false;
  for (const TKeyMessage& m : KeyEventMessages(event, nullptr, codec)) {
    if (DeliverKeyMessage(target, m) != 0) handled = true;
  }
  return handled;
}

std::function<bool(const TKeyMessage&)> ShortcutFilter(const QList<QKeySequence>& shortcuts) {
  struct Combination {
    std::uint16_t vk;
    bool shift, ctrl, alt;
  };
  std::vector<Combination> combinations;
  for (const QKeySequence& s : shortcuts) {
    if (s.isEmpty()) continue;
    const QKeyCombination c = s[0];
    const Qt::KeyboardModifiers mods = c.keyboardModifiers();
    const std::uint16_t vk = VirtualKeyOf(c.key(), mods);
    if (vk == 0) continue;
    combinations.push_back({vk, mods.testFlag(Qt::ShiftModifier),
                            mods.testFlag(Qt::ControlModifier), mods.testFlag(Qt::AltModifier)});
  }
  return [combinations](const TKeyMessage& m) {
    if (m.Msg != CN_KEYDOWN && m.Msg != CN_SYSKEYDOWN) return false;
    for (const Combination& c : combinations) {
      if (c.vk == m.CharCode && c.shift == m.ShiftDown() && c.ctrl == m.CtrlDown() &&
          c.alt == m.AltDown()) {
        return true;
      }
    }
    return false;
  };
}

}  // namespace kelu
