// The key macro recorder: records the key messages that reach one control
// (through the control's key message hook) and plays them back into it. A
// recording can be written as text lines and read back.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "base/Notify.h"
#include "editor/control/KeyMessage.h"

namespace kelu {

enum TKeyMacroState : std::uint8_t {
  msEmpty = 0,      // nothing recorded
  msRecording = 1,  // the control's key messages are being recorded
  msRecorded = 2,   // a recording exists and can be played
  msPlaying = 3,    // playback runs
};

// One recorded message: Msg, CharCode, KeyData and the Shift, Ctrl and Alt
// state bytes.
using TKeyMacroData = TKeyMessage;
using TKeyMacroDataList = std::vector<TKeyMacroData>;

enum TKeyMacroMessageKind { mkInformation, mkError };

// Shows a message to the user (a message box with an OK button).
using TKeyMacroMessageProc =
    std::function<void(const std::string& text, TKeyMacroMessageKind kind)>;
// True for a key message that is one of the application's own shortcuts.
using TKeyMacroShortcutFilter = std::function<bool(const TKeyMessage& message)>;

class TKeyMacro : public TComponent, private TKeyMessageHook {
 public:
  KELU_CLASS_NAME(TKeyMacro)

  // The texts shown on cancelled playback and on rejected loaded data; the
  // component's name follows them.
  static constexpr const char* kCancelText = "Cancel Execute ";
  static constexpr const char* kInvalidDataText = "Invalid data loaded.";

  explicit TKeyMacro(TComponent* owner = nullptr);
  ~TKeyMacro() override;

  // The control recorded from and played into. Changing it while recording
  // moves the recording to the new control; setting none cancels it. It
  // becomes none when the control is destroyed.
  TKeyMessageTarget* Control() const { return control_; }
  void SetControl(TKeyMessageTarget* value);

  // Whether messages are shown (through MessageProc) on cancelled playback
  // and on rejected loaded data.
  bool ShowDialog() const { return showDialog_; }
  void SetShowDialog(bool value) { showDialog_ = value; }

  TKeyMacroState State() const { return state_; }
  const TKeyMacroDataList& Items() const { return items_; }
  int Count() const { return static_cast<int>(items_.size()); }

  // Fired at every state change.
  TNotifyEvent OnChange;
  // Shows the messages of ShowDialog; without one nothing is shown.
  TKeyMacroMessageProc MessageProc;
  // Key-down messages it accepts are not recorded, nor the characters of the
  // same key: the keys that record, stop and play macros and the
  // application's other shortcuts.
  TKeyMacroShortcutFilter ShortcutFilter;

  // Nothing without a control or while recording or playing; otherwise
  // clears the recording and records.
  void StartRecording();
  // Only while recording: keeps the recording.
  void StopRecording();
  // Only while recording: drops the recording.
  void CancelRecording();
  // Only when a recording exists and a control is set: sends every record to
  // the control, with its own modifier bytes, until the end or until the
  // state leaves playing (StopPlaying, Clear, a new recording).
  void Play();
  // Only while playing: the running playback stops after the current record.
  void StopPlaying();
  // Stops recording or playing and drops the recording.
  void Clear();

  // The text form: one line per record, each line ending CR LF.
  void SaveToStream(std::ostream& stream) const;
  // Replaces the file only after a complete write; raises EFileError.
  void SaveToFile(const std::string& fileName) const;
  // Reads the text form. Every non-empty line must be a whole record of a
  // recorded kind; otherwise the result is false, the recording is left as
  // it was, and with ShowDialog the invalid-data message is shown. An empty
  // text leaves the macro empty.
  bool LoadFromStream(std::istream& stream);
  // As LoadFromStream; a file that cannot be read raises EFileError.
  bool LoadFromFile(const std::string& fileName);

  // The text line of one record (without the line end).
  static std::string RecordText(const TKeyMacroData& data);
  // Parses one line of the text form; false when it is not a whole record.
  static bool ParseRecord(std::string_view line, TKeyMacroData& data);

 protected:
  virtual void HookControl();
  virtual void UnhookControl();
  virtual void SetState(TKeyMacroState value);
  virtual void DoChange();

 private:
  void KeyMessage(const TKeyMessage& message) override;
  void KeyMessageTargetDestroyed(TKeyMessageTarget* target) override;
  void AddRecord(const TKeyMessage& message);
  std::string Text() const;
  bool LoadFromText(std::string_view text);
  void ShowMessage(const std::string& text, TKeyMacroMessageKind kind) const;

  TKeyMessageTarget* control_ = nullptr;
  TKeyMessageHook* previousHook_ = nullptr;
  bool hooked_ = false;
  bool showDialog_ = false;
  TKeyMacroState state_ = msEmpty;
  TKeyMacroDataList items_;
  // Input-method characters whose character message is still to come.
  int pendingImeChars_ = 0;
  // The last key-down was an application shortcut: its characters are not
  // recorded either.
  bool inShortcut_ = false;
};

}  // namespace kelu
