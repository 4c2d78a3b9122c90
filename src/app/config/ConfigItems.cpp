#include "app/config/ConfigItems.h"

#include "app/config/Associations.h"

namespace kelu {

void DefineConfigItems(TRegManager& manager) {
  manager.SetRegType(rtIni);
  TRegItems& items = manager.RegItems();
  if (!items.Find(kEditorItem)) items.Add(kEditorItem, kEditorSection, kEditorIdent);
  if (!items.Find(kFontItem)) items.Add(kFontItem, kFontSection, kFontIdent);
  if (!items.Find(kExtItem)) items.Add(kExtItem, kExtSection, kExtIdent);
}

std::string SettingsResetMessage(const std::string& iniFileName,
                                 const std::vector<std::string>& items) {
  std::string names;
  for (const std::string& item : items) {
    if (!names.empty()) names += "、";
    names += "「" + item + "」";
  }
  return "設定ファイル「" + iniFileName + "」の一部が読み取れなかったため、" + names +
         "の設定を既定値に戻しました。";
}

std::string ExtensionEntryProblem(const std::string& text) {
  // Characters, not bytes: "あ" is one.
  std::size_t chars = 0;
  for (unsigned char c : text) {
    if ((c & 0xC0) != 0x80) ++chars;
  }
  if (text.empty() || text.front() == '.' || chars <= 1) {
    return "ピリオドなしの拡張子を入力してください。";
  }
  return ExtensionProblem(text);
}

}  // namespace kelu
