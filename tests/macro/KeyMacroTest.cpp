#include "macro/KeyMacro.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/Exceptions.h"

namespace kelu {
namespace {

using Messages = std::vector<TKeyMessage>;

TKeyMessage Msg(std::uint32_t msg, std::uint16_t code, std::uint8_t shift = 0,
                std::uint8_t ctrl = 0, std::uint8_t alt = 0) {
  TKeyMessage m;
  m.Msg = msg;
  m.CharCode = code;
  m.KeyData = 1;
  m.Shift = shift;
  m.Ctrl = ctrl;
  m.Alt = alt;
  return m;
}
TKeyMessage KeyDown(std::uint16_t vk, std::uint8_t shift = 0, std::uint8_t ctrl = 0) {
  return Msg(CN_KEYDOWN, vk, shift, ctrl);
}
TKeyMessage Char(std::uint16_t byte, std::uint8_t shift = 0, std::uint8_t ctrl = 0) {
  return Msg(CN_CHAR, byte, shift, ctrl);
}
TKeyMessage Ime(std::uint16_t code) {
  return Msg(WM_IME_CHAR, code);
}
TKeyMessage KeyUp(std::uint16_t vk) {
  TKeyMessage m = Msg(WM_KEYUP, vk);
  m.KeyData |= kKeyDataPreviousDown | kKeyDataReleased;
  return m;
}

// A control that keeps every message it receives and answers as told.
class FakeControl : public TKeyMessageTarget {
 public:
  int SendKeyMessage(const TKeyMessage& m) override {
    CallKeyMessageHook(m);
    received.push_back(m);
    if (onMessage) onMessage(m);
    return answer ? answer(m) : 0;
  }
  // Input from the keyboard: each message as the window system delivers it.
  void Type(const Messages& messages) {
    for (const TKeyMessage& m : messages) DeliverKeyMessage(*this, m);
  }

  Messages received;
  std::function<int(const TKeyMessage&)> answer;
  std::function<void(const TKeyMessage&)> onMessage;
};

class CountingHook : public TKeyMessageHook {
 public:
  void KeyMessage(const TKeyMessage&) override { ++count; }
  int count = 0;
};

class KeyMacroTest : public ::testing::Test {
 protected:
  KeyMacroTest() {
    macro.SetName("KeyMacro");
    macro.SetShowDialog(true);
    macro.MessageProc = [this](const std::string& text, TKeyMacroMessageKind kind) {
      shown.push_back({text, kind});
    };
    macro.OnChange = TNotifyEvent::Of<&KeyMacroTest::Changed>(this);
  }
  void Changed(TObject*) { states.push_back(macro.State()); }

  void Record(const Messages& input) {
    macro.SetControl(&control);
    macro.StartRecording();
    control.Type(input);
    macro.StopRecording();
  }

  FakeControl control;
  TKeyMacro macro;
  std::vector<std::pair<std::string, TKeyMacroMessageKind>> shown;
  std::vector<TKeyMacroState> states;
};

TEST_F(KeyMacroTest, RecordsThroughTheHookWhileRecordingOnly) {
  CountingHook other;
  control.SetKeyMessageHook(&other);
  macro.SetControl(&control);
  control.Type({KeyDown('X'), Char('x')});  // before recording
  macro.StartRecording();
  EXPECT_NE(control.KeyMessageHook(), nullptr);
  EXPECT_NE(control.KeyMessageHook(), &other);
  control.Type({KeyDown('A', kKeyDown), Char('A', kKeyDown), KeyUp('A')});
  macro.StopRecording();
  control.Type({KeyDown('Y'), Char('y')});  // after recording

  // Only the notification forms are kept; the plain fallbacks and the
  // key-up reach the control but are not recorded.
  EXPECT_EQ(macro.Items(), (Messages{KeyDown('A', kKeyDown), Char('A', kKeyDown)}));
  EXPECT_EQ(macro.State(), msRecorded);
  EXPECT_EQ(states, (std::vector<TKeyMacroState>{msRecording, msRecorded}));
  // The previous hook saw every message meanwhile and is back in place.
  EXPECT_EQ(control.KeyMessageHook(), &other);
  EXPECT_EQ(other.count, static_cast<int>(control.received.size()));
}

struct RecordingCase {
  const char* name;
  Messages input;
  Messages recorded;
};

TEST_F(KeyMacroTest, RecordingRules) {
  const std::uint16_t kNichi = 0x93FA, kHon = 0x967B;  // 日 本
  macro.ShortcutFilter = [](const TKeyMessage& m) { return m.CharCode == 'M' && m.CtrlDown(); };
  const RecordingCase cases[] = {
      {"the character message of an input-method character is not recorded again",
       {Ime(kNichi), Char(0x93), KeyDown('B'), Char('b')},
       {Ime(kNichi), KeyDown('B'), Char('b')}},
      {"one character message is skipped per input-method character",
       {Ime(kNichi), Ime(kHon), Char(0x93), Char(0x96), Char('c')},
       {Ime(kNichi), Ime(kHon), Char('c')}},
      {"an input-method character without a character message does not swallow typed ones",
       {Ime(kNichi), Ime(kHon), KeyDown('B'), Char('b'), KeyDown('C'), Char('c')},
       {Ime(kNichi), Ime(kHon), KeyDown('B'), Char('b'), KeyDown('C'), Char('c')}},
      {"an application shortcut and its character are not recorded",
       {KeyDown(VK_CONTROL, 0, kKeyDown), KeyDown('M', 0, kKeyDown), Char(13, 0, kKeyDown),
        KeyUp('M'), KeyDown('A'), Char('a')},
       {KeyDown(VK_CONTROL, 0, kKeyDown), KeyDown('A'), Char('a')}},
      {"the same letter without Ctrl is recorded",
       {KeyDown('M', kKeyDown), Char('M', kKeyDown)},
       {KeyDown('M', kKeyDown), Char('M', kKeyDown)}},
      {"keys pressed with Alt are not among the recorded kinds",
       {Msg(CN_SYSKEYDOWN, 'F', 0, 0, kKeyDown), Msg(CN_SYSCHAR, 'f', 0, 0, kKeyDown),
        KeyDown(VK_LEFT)},
       {KeyDown(VK_LEFT)}},
  };
  for (const RecordingCase& c : cases) {
    SCOPED_TRACE(c.name);
    Record(c.input);
    EXPECT_EQ(macro.Items(), c.recorded);
  }
}

TEST_F(KeyMacroTest, ChangingTheControlWhileRecordingMovesTheRecording) {
  FakeControl second;
  Record({});
  macro.StartRecording();
  control.Type({KeyDown('A'), Char('a')});
  macro.SetControl(&second);
  EXPECT_EQ(control.KeyMessageHook(), nullptr);
  EXPECT_NE(second.KeyMessageHook(), nullptr);
  control.Type({KeyDown('X'), Char('x')});  // the old control is no longer recorded
  second.Type({KeyDown('B'), Char('b')});
  macro.StopRecording();
  EXPECT_EQ(macro.Items(), (Messages{KeyDown('A'), Char('a'), KeyDown('B'), Char('b')}));
  EXPECT_EQ(second.KeyMessageHook(), nullptr);

  // Setting no control while recording cancels the recording.
  macro.StartRecording();
  second.Type({KeyDown('C')});
  macro.SetControl(nullptr);
  EXPECT_EQ(macro.State(), msEmpty);
  EXPECT_EQ(macro.Count(), 0);
  EXPECT_EQ(second.KeyMessageHook(), nullptr);
}

TEST_F(KeyMacroTest, ADestroyedControlIsForgotten) {
  auto doomed = std::make_unique<FakeControl>();
  macro.SetControl(doomed.get());
  macro.StartRecording();
  doomed->Type({KeyDown('A')});
  doomed.reset();
  EXPECT_EQ(macro.Control(), nullptr);
  EXPECT_EQ(macro.State(), msEmpty);

  doomed = std::make_unique<FakeControl>();
  macro.SetControl(doomed.get());
  macro.StartRecording();
  doomed->Type({KeyDown('A')});
  macro.StopRecording();
  doomed.reset();
  EXPECT_EQ(macro.Control(), nullptr);
  EXPECT_EQ(macro.State(), msRecorded);
  macro.Play();  // nothing to play into
  EXPECT_EQ(macro.State(), msRecorded);
}

TEST_F(KeyMacroTest, StartRecordingNeedsAControlAndAnIdleMacro) {
  macro.StartRecording();
  EXPECT_EQ(macro.State(), msEmpty);
  EXPECT_TRUE(states.empty());

  Record({KeyDown('A'), Char('a')});
  control.onMessage = [this](const TKeyMessage&) { macro.StartRecording(); };
  macro.Play();
  EXPECT_EQ(macro.State(), msRecorded);
  EXPECT_EQ(macro.Items(), (Messages{KeyDown('A'), Char('a')}));
  EXPECT_EQ(control.KeyMessageHook(), nullptr);
}

TEST_F(KeyMacroTest, PlaybackSendsTheRecordsInOrderWithTheirModifiers) {
  const TKeyMessage shiftLeft = KeyDown(VK_LEFT, kKeyDown);
  Record({KeyDown('A', kKeyDown), Char('A', kKeyDown), Ime(0x93FA), shiftLeft});
  control.received.clear();
  states.clear();

  // Unhandled notification forms are followed by the plain messages.
  macro.Play();
  auto plain = [](TKeyMessage m) {
    m.Msg -= CN_BASE;
    return m;
  };
  EXPECT_EQ(control.received,
            (Messages{KeyDown('A', kKeyDown), plain(KeyDown('A', kKeyDown)), Char('A', kKeyDown),
                      plain(Char('A', kKeyDown)), Ime(0x93FA), shiftLeft, plain(shiftLeft)}));
  EXPECT_EQ(states, (std::vector<TKeyMacroState>{msPlaying, msRecorded}));
  EXPECT_TRUE(shown.empty());

  // A handled notification form is not followed by the plain message.
  control.received.clear();
  control.answer = [](const TKeyMessage& m) { return m.Msg == CN_KEYDOWN ? 1 : 0; };
  macro.Play();
  EXPECT_EQ(control.received, (Messages{KeyDown('A', kKeyDown), Char('A', kKeyDown),
                                        plain(Char('A', kKeyDown)), Ime(0x93FA), shiftLeft}));
}

TEST_F(KeyMacroTest, StopPlayingEndsThePlaybackAfterTheCurrentRecord) {
  Record({KeyDown('A'), KeyDown('B'), KeyDown('C')});
  control.answer = [](const TKeyMessage&) { return 1; };
  for (bool showDialog : {true, false}) {
    SCOPED_TRACE(showDialog);
    macro.SetShowDialog(showDialog);
    shown.clear();
    control.received.clear();
    control.onMessage = [this](const TKeyMessage& m) {
      if (m.CharCode == 'B') macro.StopPlaying();
    };
    macro.Play();
    EXPECT_EQ(control.received, (Messages{KeyDown('A'), KeyDown('B')}));
    EXPECT_EQ(macro.State(), msRecorded);
    if (showDialog) {
      ASSERT_EQ(shown.size(), 1u);
      EXPECT_EQ(shown[0].first, "Cancel Execute KeyMacro");
      EXPECT_EQ(shown[0].second, mkInformation);
    } else {
      EXPECT_TRUE(shown.empty());
    }
  }
}

struct ReplayedActionCase {
  const char* name;
  std::function<void(TKeyMacro&)> action;
  TKeyMacroState state;
  Messages items;
};

TEST_F(KeyMacroTest, AReplayedKeyCannotChangeTheRecordsBeingPlayed) {
  const ReplayedActionCase cases[] = {
      {"it clears the macro", [](TKeyMacro& m) { m.Clear(); }, msEmpty, {}},
      {"it clears the macro and records anew",
       [](TKeyMacro& m) {
         m.Clear();
         m.StartRecording();
       },
       msRecording,
       {}},
      {"it loads another macro",
       [](TKeyMacro& m) {
         std::istringstream in(
             "CN_KEYDOWN: 48384, CharCode: 90, KeyData: 1, Shift: 0, Ctrl: 0, Alt: 0\r\n");
         m.LoadFromStream(in);
       },
       msRecorded,
       {KeyDown('Z')}},
  };
  macro.SetShowDialog(false);
  for (const ReplayedActionCase& c : cases) {
    SCOPED_TRACE(c.name);
    control.onMessage = nullptr;
    macro.Clear();
    Record({KeyDown('A'), KeyDown('B'), KeyDown('C'), KeyDown('D')});
    control.received.clear();
    // The control acts on B's notification form; the plain form that follows
    // is made from the record being played.
    control.onMessage = [&](const TKeyMessage& m) {
      if (m.Msg == CN_KEYDOWN && m.CharCode == 'B' && macro.State() == msPlaying) c.action(macro);
    };
    macro.Play();
    EXPECT_EQ(control.received,
              (Messages{KeyDown('A'), Msg(WM_KEYDOWN, 'A'), KeyDown('B'), Msg(WM_KEYDOWN, 'B')}));
    EXPECT_EQ(macro.State(), c.state);
    EXPECT_EQ(macro.Items(), c.items);
    if (c.state == msRecording) {
      // The new recording goes on after the playback.
      control.Type({KeyDown('E')});
      EXPECT_EQ(macro.Items(), (Messages{KeyDown('E')}));
    }
  }
}

TEST_F(KeyMacroTest, PlaybackAfterAnErrorLeavesTheMacroRecorded) {
  Record({KeyDown('A'), KeyDown('B')});
  control.onMessage = [](const TKeyMessage&) { throw std::runtime_error("boom"); };
  EXPECT_THROW(macro.Play(), std::runtime_error);
  EXPECT_EQ(macro.State(), msRecorded);
}

TEST_F(KeyMacroTest, ClearStopsRecordingAndEmpties) {
  macro.SetControl(&control);
  macro.StartRecording();
  control.Type({KeyDown('A')});
  macro.Clear();
  EXPECT_EQ(macro.State(), msEmpty);
  EXPECT_EQ(macro.Count(), 0);
  EXPECT_EQ(control.KeyMessageHook(), nullptr);

  macro.StartRecording();
  control.Type({KeyDown('A')});
  macro.CancelRecording();
  EXPECT_EQ(macro.State(), msEmpty);
  EXPECT_EQ(macro.Count(), 0);
  EXPECT_EQ(control.KeyMessageHook(), nullptr);
}

// The text form of a recording with a double-byte input-method character, a
// control character, a digit and a half-width katakana.
const Messages kSample = {
    KeyDown('A', kKeyDown),
    Char('A', kKeyDown),
    Ime(0x93FA),  // 日
    KeyDown(VK_RETURN),
    Char(13),
    Char('5'),
    Ime(0xB1),  // ｱ
};
const std::string kSampleText =
    "CN_KEYDOWN: 48384, CharCode: 65, KeyData: 1, Shift: 128, Ctrl: 0, Alt: 0\r\n"
    "CN_CHAR: 48386, CharCode: 65, KeyData: 1, Shift: 128, Ctrl: 0, Alt: 0 // A\r\n"
    "WM_IME_CHAR: 646, CharCode: 37882, KeyData: 1, Shift: 0, Ctrl: 0, Alt: 0 // \x93\xfa\r\n"
    "CN_KEYDOWN: 48384, CharCode: 13, KeyData: 1, Shift: 0, Ctrl: 0, Alt: 0\r\n"
    "CN_CHAR: 48386, CharCode: 13, KeyData: 1, Shift: 0, Ctrl: 0, Alt: 0 // #13\r\n"
    "CN_CHAR: 48386, CharCode: 53, KeyData: 1, Shift: 0, Ctrl: 0, Alt: 0 // 5\r\n"
    "WM_IME_CHAR: 646, CharCode: 177, KeyData: 1, Shift: 0, Ctrl: 0, Alt: 0 // \xb1\r\n";

TEST_F(KeyMacroTest, TextFormIsExactAndRoundTrips) {
  Record(kSample);
  ASSERT_EQ(macro.Items(), kSample);
  std::ostringstream out;
  macro.SaveToStream(out);
  EXPECT_EQ(out.str(), kSampleText);

  const auto dir = std::filesystem::temp_directory_path();
  const std::string first = (dir / "kelu_key_macro_1.txt").string();
  const std::string second = (dir / "kelu_key_macro_2.txt").string();
  macro.SaveToFile(first);
  TKeyMacro loaded;
  ASSERT_TRUE(loaded.LoadFromFile(first));
  EXPECT_EQ(loaded.State(), msRecorded);
  EXPECT_EQ(loaded.Items(), kSample);
  loaded.SaveToFile(second);
  auto bytes = [](const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  EXPECT_EQ(bytes(second), bytes(first));
  EXPECT_EQ(bytes(first), kSampleText);
  std::remove(first.c_str());
  std::remove(second.c_str());
}

TEST_F(KeyMacroTest, LoadAcceptsBlankLinesAndLineFeeds) {
  std::istringstream in(
      "\r\nCN_KEYDOWN: 48384, CharCode: 65, KeyData: 1, Shift: 128, Ctrl: 0, Alt: 0\n"
      "  \n"
      "CN_CHAR:48386,CharCode:65,KeyData:1,Shift:128,Ctrl:0,Alt:0");
  ASSERT_TRUE(macro.LoadFromStream(in));
  EXPECT_EQ(macro.Items(), (Messages{KeyDown('A', kKeyDown), Char('A', kKeyDown)}));
  EXPECT_TRUE(shown.empty());

  std::istringstream empty("\r\n");
  ASSERT_TRUE(macro.LoadFromStream(empty));
  EXPECT_EQ(macro.State(), msEmpty);
  EXPECT_EQ(macro.Count(), 0);
}

TEST_F(KeyMacroTest, InvalidDataIsRejectedAndTheRecordingKept) {
  const char* const kValid =
      "CN_KEYDOWN: 48384, CharCode: 65, KeyData: 1, Shift: 0, Ctrl: 0, Alt: 0\r\n";
  const std::string bad[] = {
      "WM_KEYDOWN: 256, CharCode: 65, KeyData: 1, Shift: 0, Ctrl: 0, Alt: 0",
      "CN_KEYDOWN: 48384, CharCode: 65, KeyData: 1, Shift: 0, Ctrl: 0",
      "CN_CHAR: 48384, CharCode: 65, KeyData: 1, Shift: 0, Ctrl: 0, Alt: 0 // A",
      "CN_CHAR: 48386, CharCode: 65, KeyData: 1, Shift: 256, Ctrl: 0, Alt: 0 // A",
      "CN_CHAR: 48386, CharCode: 65536, KeyData: 1, Shift: 0, Ctrl: 0, Alt: 0",
      "CN_KEYDOWN: 48384, CharCode: 65, KeyData: -1, Shift: 0, Ctrl: 0, Alt: 0",
      "CN_KEYDOWN: 48384, CharCode: 65, Shift: 0, KeyData: 1, Ctrl: 0, Alt: 0",
      "CN_KEYDOWN: 48384, CharCode: 65, KeyData: 1, Shift: 0, Ctrl: 0, Alt: 0 0",
      "48384, 65, 1, 0, 0, 0",
      std::string(kValid) + "CN_KEYDOWN: 48384",
  };
  Record({KeyDown('Z'), Char('z')});
  states.clear();
  for (const std::string& text : bad) {
    SCOPED_TRACE(text);
    shown.clear();
    std::istringstream in(text);
    EXPECT_FALSE(macro.LoadFromStream(in));
    EXPECT_EQ(macro.State(), msRecorded);
    EXPECT_EQ(macro.Items(), (Messages{KeyDown('Z'), Char('z')}));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].first, "Invalid data loaded.KeyMacro");
    EXPECT_EQ(shown[0].second, mkError);
  }
  EXPECT_TRUE(states.empty());

  // A recording in progress goes on as well.
  macro.StartRecording();
  std::istringstream in(bad[0]);
  EXPECT_FALSE(macro.LoadFromStream(in));
  EXPECT_EQ(macro.State(), msRecording);
  EXPECT_NE(control.KeyMessageHook(), nullptr);
}

TEST_F(KeyMacroTest, LoadingWhileRecordingEndsTheRecording) {
  macro.SetControl(&control);
  macro.StartRecording();
  std::istringstream in(kSampleText);
  ASSERT_TRUE(macro.LoadFromStream(in));
  EXPECT_EQ(macro.State(), msRecorded);
  EXPECT_EQ(control.KeyMessageHook(), nullptr);
  control.Type({KeyDown('Q')});
  EXPECT_EQ(macro.Items(), kSample);
}

TEST_F(KeyMacroTest, LoadFromAMissingFileRaises) {
  EXPECT_THROW(macro.LoadFromFile("/nonexistent/kelu/macro.txt"), EFileError);
}

TEST_F(KeyMacroTest, DestroyingTheMacroWhileRecordingRestoresTheHook) {
  CountingHook other;
  control.SetKeyMessageHook(&other);
  {
    TKeyMacro temporary;
    temporary.SetControl(&control);
    temporary.StartRecording();
    EXPECT_NE(control.KeyMessageHook(), &other);
  }
  EXPECT_EQ(control.KeyMessageHook(), &other);
  control.Type({KeyDown('A')});  // the macro's watch is gone too
}

}  // namespace
}  // namespace kelu
