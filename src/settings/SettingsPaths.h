// Where the settings file lives: "KeluEditorVetra.ini" beside the program
// file when that directory is writable, else
// $XDG_CONFIG_HOME/KeluEditorVetra/KeluEditorVetra.ini ($HOME/.config when
// XDG_CONFIG_HOME is unset or not absolute); "--ini PATH" (or "--ini=PATH")
// on the command line names it instead.
#pragma once

#include <string>
#include <vector>

namespace kelu {

inline constexpr const char* kIniFileName = "KeluEditorVetra.ini";
inline constexpr const char* kSettingsDirName = "KeluEditorVetra";

struct TSettingsLocation {
  std::string iniPath;             // absolute
  std::vector<std::string> files;  // the arguments that are not the option
  std::string error;               // Japanese; set when --ini has no path
};

// `programFile`: the program's absolute path; `args`: the command-line
// arguments after the program name. Arguments after "--" are file names.
TSettingsLocation ResolveSettingsLocation(const std::string& programFile,
                                          const std::vector<std::string>& args);

// The settings file without a command-line choice.
std::string DefaultIniPath(const std::string& programFile);

// $XDG_CONFIG_HOME, or $HOME/.config.
std::string XdgConfigHome();
// $XDG_DATA_HOME, or $HOME/.local/share.
std::string XdgDataHome();

}  // namespace kelu
