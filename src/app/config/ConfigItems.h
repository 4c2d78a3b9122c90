// The settings dialog's items of the settings store and the texts of the
// dialog that its Qt-free parts use.
#pragma once

#include <string>
#include <vector>

#include "settings/RegMng.h"

namespace kelu {

// Store items: (name, section, ident).
inline constexpr const char* kEditorItem = "Keluエディタ";  // the property set
inline constexpr const char* kEditorSection = "エディタ設定値";
inline constexpr const char* kEditorIdent = "KeluEditorVetra";
inline constexpr const char* kFontItem = "フォント";  // the sample editor's font
inline constexpr const char* kFontSection = "フォント設定値";
inline constexpr const char* kFontIdent = "Font";
inline constexpr const char* kExtItem = "ファイル関連付け";  // the extension list
inline constexpr const char* kExtSection = "拡張子";
inline constexpr const char* kExtIdent = "Ext";

// Association names.
inline constexpr const char* kProgId = "Keluエディタ";
inline constexpr const char* kFileTypeDescription = "Keluエディタファイル";

// Adds the three items to `manager` (rtIni).
void DefineConfigItems(TRegManager& manager);

// The message that some settings of `iniFileName` were reset, naming the
// items (Japanese).
std::string SettingsResetMessage(const std::string& iniFileName,
                                 const std::vector<std::string>& items);

// What "追加" does with the edit's text: empty when it may be added, else
// the message to show ("ピリオドなしの拡張子を入力してください。" for a
// text that starts with "." or is not longer than one character).
std::string ExtensionEntryProblem(const std::string& text);

}  // namespace kelu
