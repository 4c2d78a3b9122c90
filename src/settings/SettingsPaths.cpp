#include "settings/SettingsPaths.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>

namespace kelu {

namespace {

// An XDG base directory: the variable when it holds an absolute path, else
// $HOME followed by `fallback`.
std::string XdgDir(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  if (value && value[0] == '/') return value;
  const char* home = std::getenv("HOME");
  return std::string(home && home[0] ? home : "/tmp") + fallback;
}

std::string Absolute(const std::string& path) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(path, ec);
  return ec ? path : p.lexically_normal().string();
}

}  // namespace

std::string XdgConfigHome() {
  return XdgDir("XDG_CONFIG_HOME", "/.config");
}

std::string XdgDataHome() {
  return XdgDir("XDG_DATA_HOME", "/.local/share");
}

std::string DefaultIniPath(const std::string& programFile) {
  const std::string dir = std::filesystem::path(programFile).parent_path().string();
  if (!dir.empty() && access(dir.c_str(), W_OK) == 0) return dir + "/" + kIniFileName;
  return XdgConfigHome() + "/" + kSettingsDirName + "/" + kIniFileName;
}

TSettingsLocation ResolveSettingsLocation(const std::string& programFile,
                                          const std::vector<std::string>& args) {
  TSettingsLocation location;
  std::string chosen;
  bool options = true;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (options && arg == "--") {
      options = false;
    } else if (options && arg == "--ini") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        location.error = "--ini の後に設定ファイルの名前を指定してください。";
      } else {
        chosen = args[++i];
      }
    } else if (options && arg.starts_with("--ini=")) {
      chosen = std::string(arg.substr(6));
      if (chosen.empty()) location.error = "--ini= の後に設定ファイルの名前を指定してください。";
    } else {
      location.files.push_back(args[i]);
    }
  }
  location.iniPath = chosen.empty() ? DefaultIniPath(programFile) : Absolute(chosen);
  return location;
}

}  // namespace kelu
