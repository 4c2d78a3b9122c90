#include "settings/qt/PlatformStore.h"

#include <QSettings>
#include <QString>

#include "base/Exceptions.h"
#include "settings/SettingsPaths.h"

namespace kelu {

namespace {

QString KeyOf(std::string_view section, std::string_view ident) {
  return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) + '/' +
         QString::fromUtf8(ident.data(), static_cast<qsizetype>(ident.size()));
}

class TQSettingsStore : public TSettingsStore {
 public:
  explicit TQSettingsStore(const std::string& fileName)
      : fileName_(fileName), settings_(QString::fromStdString(fileName), QSettings::NativeFormat) {}

  std::optional<std::string> Read(std::string_view section, std::string_view ident) override {
    const QString key = KeyOf(section, ident);
    if (!settings_.contains(key)) return std::nullopt;
    return settings_.value(key).toString().toStdString();
  }
  void Write(std::string_view section, std::string_view ident, std::string_view value) override {
    settings_.setValue(KeyOf(section, ident),
                       QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
  }
  void DeleteKey(std::string_view section, std::string_view ident) override {
    settings_.remove(KeyOf(section, ident));
  }
  std::optional<std::string> ReadBinary(std::string_view section,
                                        std::string_view ident) override {
    const QString key = KeyOf(section, ident);
    if (!settings_.contains(key)) return std::nullopt;
    return settings_.value(key).toByteArray().toStdString();
  }
  void WriteBinary(std::string_view section, std::string_view ident,
                   std::string_view bytes) override {
    settings_.setValue(KeyOf(section, ident),
                       QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
  }
  void Commit() override {
    settings_.sync();
    if (settings_.status() != QSettings::NoError) {
      throw EFileError("設定「" + fileName_ + "」を保存できませんでした。");
    }
  }

 private:
  std::string fileName_;
  QSettings settings_;
};

}  // namespace

std::string TPlatformRegManager::RegistryFileName(const std::string& regDir) {
  std::string path;
  std::string part;
  auto flush = [&]() -> bool {
    if (part == "..") return false;
    if (!part.empty() && part != ".") path += "/" + part;
    part.clear();
    return true;
  };
  for (char c : regDir) {
    if (c == '\\' || c == '/') {
      if (!flush()) return {};
    } else {
      part += c;
    }
  }
  if (!flush() || path.empty()) return {};
  return XdgConfigHome() + path + ".conf";
}

std::unique_ptr<TSettingsStore> TPlatformRegManager::CreateRegistryStore(
    const std::string& regDir) {
  const std::string fileName = RegistryFileName(regDir);
  if (fileName.empty()) return nullptr;
  return std::make_unique<TQSettingsStore>(fileName);
}

}  // namespace kelu
