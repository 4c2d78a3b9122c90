#include "editor/control/KeyLayer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>
#include <string>
#include <vector>

#include "macro/KeyMacro.h"
#include "macro/KeyMacroDialog.h"

namespace kelu {
namespace {

using Messages = std::vector<TKeyMessage>;

constexpr std::uint32_t kRepeat = kKeyDataPreviousDown;
constexpr std::uint32_t kUp = kKeyDataPreviousDown | kKeyDataReleased;
constexpr std::uint32_t kExt = kKeyDataExtended;
constexpr std::uint32_t kAlt = kKeyDataAltDown;
constexpr std::uint8_t D = kKeyDown;

// A message with the modifier bytes given as "SCA" letters (e.g. "S", "C").
TKeyMessage M(std::uint32_t msg, std::uint16_t code, std::uint32_t keyData = 1,
              const char* mods = "") {
  TKeyMessage m;
  m.Msg = msg;
  m.CharCode = code;
  m.KeyData = keyData | 1;
  for (const char* p = mods; *p; ++p) {
    if (*p == 'S') m.Shift = D;
    if (*p == 'C') m.Ctrl = D;
    if (*p == 'A') m.Alt = D;
  }
  return m;
}

// A key event to build.
struct Key {
  QEvent::Type type;
  int key;
  Qt::KeyboardModifiers modifiers;
  QString text;
  bool autoRepeat = false;
};
Key Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {}) {
  return {QEvent::KeyPress, key, modifiers, text};
}
Key Repeat(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {}) {
  return {QEvent::KeyPress, key, modifiers, text, true};
}
Key Release(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool autoRepeat = false) {
  return {QEvent::KeyRelease, key, modifiers, {}, autoRepeat};
}

struct KeyCase {
  const char* name;
  Key event;
  Messages expected;
};

TEST(KeyLayer, KeyEventsGiveTheMessagesOfAShiftJisWindow) {
  const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
  const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
  const Qt::KeyboardModifiers alt = Qt::AltModifier;
  const Qt::KeyboardModifiers keypad = Qt::KeypadModifier;
  const Qt::KeyboardModifiers none = Qt::NoModifier;
  // clang-format off
  const KeyCase cases[] = {
      {"a", Press(Qt::Key_A, none, "a"), {M(CN_KEYDOWN, 'A'), M(CN_CHAR, 'a')}},
      {"Shift+a", Press(Qt::Key_A, shift, "A"),
       {M(CN_KEYDOWN, 'A', 1, "S"), M(CN_CHAR, 'A', 1, "S")}},
      {"Ctrl+a as the window system reports it", Press(Qt::Key_A, ctrl, "\x01"),
       {M(CN_KEYDOWN, 'A', 1, "C"), M(CN_CHAR, 1, 1, "C")}},
      {"Ctrl+Shift+z without text", Press(Qt::Key_Z, ctrl | shift),
       {M(CN_KEYDOWN, 'Z', 1, "SC"), M(CN_CHAR, 26, 1, "SC")}},
      {"Ctrl+1 gives no character", Press(Qt::Key_1, ctrl, "1"), {M(CN_KEYDOWN, '1', 1, "C")}},
      {"Left", Press(Qt::Key_Left), {M(CN_KEYDOWN, VK_LEFT, kExt)}},
      {"Shift+End", Press(Qt::Key_End, shift), {M(CN_KEYDOWN, VK_END, kExt, "S")}},
      {"keypad Home is not extended", Press(Qt::Key_Home, keypad), {M(CN_KEYDOWN, VK_HOME)}},
      {"Enter", Press(Qt::Key_Return, none, "\r"), {M(CN_KEYDOWN, VK_RETURN), M(CN_CHAR, 13)}},
      {"keypad Enter", Press(Qt::Key_Enter, keypad, "\r"),
       {M(CN_KEYDOWN, VK_RETURN, kExt), M(CN_CHAR, 13, kExt)}},
      {"Ctrl+Enter", Press(Qt::Key_Return, ctrl, "\r"),
       {M(CN_KEYDOWN, VK_RETURN, 1, "C"), M(CN_CHAR, 10, 1, "C")}},
      {"Tab", Press(Qt::Key_Tab, none, "\t"), {M(CN_KEYDOWN, VK_TAB), M(CN_CHAR, 9)}},
      {"Shift+Tab", Press(Qt::Key_Backtab, shift),
       {M(CN_KEYDOWN, VK_TAB, 1, "S"), M(CN_CHAR, 9, 1, "S")}},
      {"Backspace", Press(Qt::Key_Backspace, none, "\b"), {M(CN_KEYDOWN, VK_BACK), M(CN_CHAR, 8)}},
      {"Escape", Press(Qt::Key_Escape, none, "\x1b"), {M(CN_KEYDOWN, VK_ESCAPE), M(CN_CHAR, 27)}},
      {"Delete gives no character", Press(Qt::Key_Delete, none, "\x7f"),
       {M(CN_KEYDOWN, VK_DELETE, kExt)}},
      {"keypad 5", Press(Qt::Key_5, keypad, "5"), {M(CN_KEYDOWN, VK_NUMPAD0 + 5), M(CN_CHAR, '5')}},
      {"a double-byte character", Press(Qt::Key_unknown, none, "日"),
       {M(CN_KEYDOWN, 0), M(CN_CHAR, 0x93), M(CN_CHAR, 0xFA)}},
      {"a half-width katakana", Press(Qt::Key_unknown, none, "ｱ"),
       {M(CN_KEYDOWN, 0), M(CN_CHAR, 0xB1)}},
      {"auto-repeat", Repeat(Qt::Key_Down, shift), {M(CN_KEYDOWN, VK_DOWN, kExt | kRepeat, "S")}},
      {"auto-repeated character", Repeat(Qt::Key_X, none, "x"),
       {M(CN_KEYDOWN, 'X', kRepeat), M(CN_CHAR, 'x', kRepeat)}},
      {"release", Release(Qt::Key_A), {M(WM_KEYUP, 'A', kUp)}},
      {"auto-repeated release gives nothing", Release(Qt::Key_A, none, true), {}},
      {"the Ctrl key counts as down while pressed", Press(Qt::Key_Control),
       {M(CN_KEYDOWN, VK_CONTROL, 1, "C")}},
      {"and as up when released", Release(Qt::Key_Control, ctrl), {M(WM_KEYUP, VK_CONTROL, kUp)}},
      {"Shift key", Press(Qt::Key_Shift), {M(CN_KEYDOWN, VK_SHIFT, 1, "S")}},
      {"Alt+f is a system key", Press(Qt::Key_F, alt, "f"),
       {M(CN_SYSKEYDOWN, 'F', kAlt, "A"), M(CN_SYSCHAR, 'f', kAlt, "A")}},
      {"Alt release", Release(Qt::Key_Alt, alt), {M(WM_SYSKEYUP, VK_MENU, kAlt | kUp)}},
      {"Ctrl+Alt types the text", Press(Qt::Key_Q, ctrl | alt, "@"),
       {M(CN_KEYDOWN, 'Q', 1, "CA"), M(CN_CHAR, '@', 1, "CA")}},
      {"F10 is a system key", Press(Qt::Key_F10), {M(CN_SYSKEYDOWN, VK_F10)}},
      {"an unknown key without text gives nothing", Press(Qt::Key_unknown), {}},
  };
  // clang-format on
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.name);
    const Key& k = c.event;
    QKeyEvent event(k.type, k.key, k.modifiers, k.text, k.autoRepeat);
    std::size_t lossy = 0;
    EXPECT_EQ(KeyEventMessages(event, &lossy), c.expected);
    EXPECT_EQ(lossy, 0u);
  }
}

TEST(KeyLayer, VirtualKeyCodes) {
  const std::pair<int, std::uint16_t> keys[] = {
      {Qt::Key_PageUp, VK_PRIOR},
      {Qt::Key_PageDown, VK_NEXT},
      {Qt::Key_End, VK_END},
      {Qt::Key_Home, VK_HOME},
      {Qt::Key_Left, VK_LEFT},
      {Qt::Key_Up, VK_UP},
      {Qt::Key_Right, VK_RIGHT},
      {Qt::Key_Down, VK_DOWN},
      {Qt::Key_Insert, VK_INSERT},
      {Qt::Key_Delete, VK_DELETE},
      {Qt::Key_Space, VK_SPACE},
      {Qt::Key_0, '0'},
      {Qt::Key_9, '9'},
      {Qt::Key_A, 'A'},
      {Qt::Key_Z, 'Z'},
      {Qt::Key_F1, VK_F1},
      {Qt::Key_F12, VK_F1 + 11},
      {Qt::Key_Exclam, '1'},
      {Qt::Key_Minus, VK_OEM_MINUS},
      {Qt::Key_Question, VK_OEM_2},
  };
  for (const auto& [key, vk] : keys) {
    SCOPED_TRACE(key);
    EXPECT_EQ(VirtualKeyOf(key), vk);
  }
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Minus, Qt::KeypadModifier), VK_SUBTRACT);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_0, Qt::KeypadModifier), VK_NUMPAD0);
}

TEST(KeyLayer, ScanCodeFromTheNativeCode) {
  // X11 key code 38 is evdev 30, the A key (scan code 1E); 113 is evdev 105,
  // the extended Left key (scan code 4B).
  QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 38, 0x61, 0, "a");
  const Messages am = KeyEventMessages(a);
  ASSERT_EQ(am.size(), 2u);
  EXPECT_EQ(am[0].KeyData, 0x1Eu << 16 | 1);
  EXPECT_EQ(am[1].KeyData, am[0].KeyData);
  QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier, 113, 0, 0);
  EXPECT_EQ(KeyEventMessages(left).at(0).KeyData, 0x4Bu << 16 | kExt | 1);
}

TEST(KeyLayer, CharactersWithoutShiftJisFormAreCounted) {
  QKeyEvent event(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, "é😀a");
  std::size_t lossy = 0;
  EXPECT_EQ(KeyEventMessages(event, &lossy), (Messages{M(CN_KEYDOWN, 0), M(CN_CHAR, 'a')}));
  EXPECT_EQ(lossy, 2u);
}

TEST(KeyLayer, InputMethodCommitGivesOneImeCharPerCharacter) {
  std::size_t lossy = 0;
  EXPECT_EQ(InputMethodMessages("日本語", Qt::NoModifier, &lossy),
            (Messages{M(WM_IME_CHAR, 0x93FA), M(WM_IME_CHAR, 0x967B), M(WM_IME_CHAR, 0x8CEA)}));
  EXPECT_EQ(lossy, 0u);
  EXPECT_EQ(InputMethodMessages("aｱ😀", Qt::ShiftModifier, &lossy),
            (Messages{M(WM_IME_CHAR, 'a', 1, "S"), M(WM_IME_CHAR, 0xB1, 1, "S")}));
  EXPECT_EQ(lossy, 1u);
}

TEST(KeyLayer, ShortcutFilterMatchesKeyDownsOfTheShortcuts) {
  const auto isShortcut =
      ShortcutFilter({QKeySequence("Ctrl+M"), QKeySequence("Ctrl+P"), QKeySequence("F3")});
  EXPECT_TRUE(isShortcut(M(CN_KEYDOWN, 'M', 1, "C")));
  EXPECT_TRUE(isShortcut(M(CN_KEYDOWN, VK_F1 + 2)));
  EXPECT_FALSE(isShortcut(M(CN_KEYDOWN, 'M')));
  EXPECT_FALSE(isShortcut(M(CN_KEYDOWN, 'M', 1, "SC")));
  EXPECT_FALSE(isShortcut(M(CN_CHAR, 'M', 1, "C")));
}

// A control that keeps what it receives; it leaves every notification form
// to the plain message.
class RecordingControl : public TKeyMessageTarget {
 public:
  int SendKeyMessage(const TKeyMessage& m) override {
    CallKeyMessageHook(m);
    received.push_back(m);
    return 0;
  }
  Messages received;
};

TEST(KeyLayer, TypedKeysAndCommitsPlayBackAsTheyWereReceived) {
  RecordingControl typed, played;
  TKeyMacro macro;
  macro.ShortcutFilter = ShortcutFilter({QKeySequence("Ctrl+M")});
  macro.SetControl(&typed);
  macro.StartRecording();
  auto press = [&](int key, Qt::KeyboardModifiers mods, const QString& text) {
    SendKeyEvent(typed, QKeyEvent(QEvent::KeyPress, key, mods, text));
    SendKeyEvent(typed, QKeyEvent(QEvent::KeyRelease, key, mods, text));
  };
  press(Qt::Key_A, Qt::ShiftModifier, "A");
  for (const TKeyMessage& m : InputMethodMessages("日本")) DeliverKeyMessage(typed, m);
  press(Qt::Key_Return, Qt::NoModifier, "\r");
  press(Qt::Key_M, Qt::ControlModifier, "\r");  // the stop key reaching the control
  macro.StopRecording();

  EXPECT_EQ(macro.Count(), 6);  // A, a, 日, 本, Enter, CR
  macro.SetControl(&played);
  macro.Play();
  // Everything but the key-ups and the shortcut (the only key with Ctrl)
  // comes again, in order; the CR after the input-method characters too.
  Messages expected;
  for (const TKeyMessage& m : typed.received) {
    if (m.Msg != WM_KEYUP && !m.CtrlDown()) expected.push_back(m);
  }
  EXPECT_EQ(played.received, expected);
}

TEST(KeyLayer, MacroMessagesAreShownInMessageBoxes) {
  struct Shown {
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
  };
  for (const auto& [kind, icon] : {std::pair{mkInformation, QMessageBox::Information},
                                   std::pair{mkError, QMessageBox::Critical}}) {
    Shown shown;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        shown = {box->text(), box->icon()};
        box->accept();
      }
    });
    poll.start(10);
    KeyMacroMessageBox(nullptr)("Cancel Execute KeyMacro", kind);
    EXPECT_EQ(shown.text, "Cancel Execute KeyMacro");
    EXPECT_EQ(shown.icon, icon);
  }
}

}  // namespace
}  // namespace kelu
