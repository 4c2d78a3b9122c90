#include "app/config/Associations.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "base/Cp932.h"
#include "base/Exceptions.h"
#include "base/Files.h"
#include "base/LineSplit.h"
#include "settings/IniFile.h"
#include "settings/SettingsPaths.h"

extern char** environ;

namespace kelu {

namespace {

constexpr const char* kEntrySection = "Desktop Entry";
constexpr const char* kRecordKey = "X-Kelu-Extensions";
constexpr const char* kDefaults = "Default Applications";
constexpr const char* kAdded = "Added Associations";
constexpr int kToolTimeoutMs = 30000;

std::string Lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

std::vector<std::string> SplitList(std::string_view value) {
  std::vector<std::string> items;
  while (!value.empty()) {
    std::size_t semi = value.find(';');
    std::string_view item = value.substr(0, semi);
    if (!item.empty()) items.emplace_back(item);
    if (semi == std::string_view::npos) break;
    value.remove_prefix(semi + 1);
  }
  return items;
}

std::string JoinList(const std::vector<std::string>& items) {
  std::string value;
  for (const std::string& item : items) value += item + ";";
  return value;
}

std::string XmlEscape(std::string_view s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// The extension as part of a MIME type and a file name: lower-case ASCII
// letters, digits, "+", "-" and "."; other bytes as "_" and two hex digits.
std::string TypeSafe(const std::string& ext) {
  static const char hex[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : Lower(ext)) {
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.') {
      out += static_cast<char>(c);
    } else {
      out += '_';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

std::string ReadIfExists(const std::string& file) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return {};
  return ReadFileBytes(file);
}

void WriteFile(const std::string& file, const std::string& text) {
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(file).parent_path(), ec);
  if (ec) {
    throw EFileError("フォルダ「" + std::filesystem::path(file).parent_path().string() +
                     "」を作れませんでした: " + SystemErrorText(ec.value()));
  }
  WriteFileAtomically(file, text);
}

void RemoveFile(const std::string& file) {
  std::error_code ec;
  std::filesystem::remove(file, ec);
  if (ec) {
    throw EFileError("ファイル「" + file + "」を削除できませんでした: " +
                     SystemErrorText(ec.value()));
  }
}

// Runs an update tool on a folder when it is installed; raises with the
// tool's own words when it fails.
void UpdateDatabase(const std::string& tool, const std::string& dir) {
  if (!ToolInstalled(tool)) return;
  std::string errors;
  const int status = RunTool(tool, {dir}, kToolTimeoutMs, &errors);
  if (status == 0) return;
  std::string reason = "「" + tool + "」が失敗しました（";
  reason += status == -2 ? std::string("時間切れ") : "終了コード " + std::to_string(status);
  reason += "）";
  std::string first;
  ForEachLine(errors, [&](std::string_view line) {
    if (first.empty() && !line.empty()) first = line;
  });
  if (!first.empty()) reason += ": " + first;
  throw EInvalidOperation(reason);
}

std::vector<std::string> Globs2Texts(const TXdgPlaces& places) {
  std::vector<std::string> texts;
  std::vector<std::string> dirs{places.dataHome};
  dirs.insert(dirs.end(), places.dataDirs.begin(), places.dataDirs.end());
  for (const std::string& dir : dirs) {
    try {
      texts.push_back(ReadIfExists(dir + "/mime/globs2"));
    } catch (const Exception&) {
      // An unreadable database knows nothing.
    }
  }
  return texts;
}

// The types of `extensions`, each once.
std::vector<std::string> TypesOf(const TExtensionTypes& extensions) {
  std::vector<std::string> types;
  for (const auto& [ext, type] : extensions) {
    if (std::find(types.begin(), types.end(), type) == types.end()) types.push_back(type);
  }
  return types;
}

// Removes `id` from a ";" list value; an empty list removes the key.
void RemoveFromList(TIniFile& ini, const char* section, const std::string& key,
                    const std::string& id) {
  auto value = ini.Read(section, key);
  if (!value) return;
  std::vector<std::string> items = SplitList(*value);
  std::erase(items, id);
  if (items.empty()) {
    ini.DeleteKey(section, key);
  } else {
    ini.WriteString(section, key, JoinList(items));
  }
}

void PutFirstInList(TIniFile& ini, const char* section, const std::string& key,
                    const std::string& id) {
  std::vector<std::string> items = SplitList(ini.Read(section, key).value_or(""));
  std::erase(items, id);
  items.insert(items.begin(), id);
  ini.WriteString(section, key, JoinList(items));
}

template <class F>
TAssociationResult Attempt(F&& f) {
  try {
    f();
    return {};
  } catch (const Exception& e) {
    return {false, e.Message()};
  } catch (const std::exception& e) {
    return {false, e.what()};
  }
}

}  // namespace

// ---------------------------------------------------------------- places

TXdgPlaces TXdgPlaces::FromEnvironment() {
  TXdgPlaces places;
  places.dataHome = XdgDataHome();
  places.configHome = XdgConfigHome();
  const char* dirs = std::getenv("XDG_DATA_DIRS");
  std::string list = dirs && *dirs ? dirs : "/usr/local/share:/usr/share";
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t colon = list.find(':', start);
    std::string dir = list.substr(start, colon == std::string::npos ? std::string::npos
                                                                     : colon - start);
    if (!dir.empty() && dir.front() == '/') places.dataDirs.push_back(dir);
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  return places;
}

std::string TXdgPlaces::DesktopFile() const {
  return dataHome + "/applications/" + kDesktopId;
}

std::string TXdgPlaces::MimeAppsList() const {
  return configHome + "/mimeapps.list";
}

std::string TXdgPlaces::MimePackagesDir() const {
  return dataHome + "/mime/packages";
}

std::string TXdgPlaces::PackageFile(const std::string& ext) const {
  return MimePackagesDir() + "/kelu-editor-vetra-" + TypeSafe(ext) + ".xml";
}

// ----------------------------------------------------------------- texts

std::string ExtensionProblem(const std::string& ext) {
  if (ext.empty()) return "拡張子が空です。";
  if (!cp932::IsWellFormedUtf8(ext)) return "拡張子「" + ext + "」の文字を読めません。";
  for (unsigned char c : ext) {
    const bool ok = c >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                    (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '+' || c == '-';
    if (!ok) return "拡張子「" + ext + "」には使えない文字が含まれています。";
  }
  return {};
}

std::string OwnMimeType(const std::string& ext) {
  return kOwnMimeTypePrefix + TypeSafe(ext);
}

std::optional<std::string> KnownMimeType(const std::vector<std::string>& globs2Texts,
                                         const std::string& ext) {
  const std::string pattern = "*." + ext;
  std::optional<std::string> best;
  int bestWeight = -1;
  for (const std::string& text : globs2Texts) {
    ForEachLine(text, [&](std::string_view line) {
      if (line.empty() || line.front() == '#') return;
      std::size_t c1 = line.find(':');
      std::size_t c2 = c1 == std::string_view::npos ? c1 : line.find(':', c1 + 1);
      if (c2 == std::string_view::npos) return;
      const std::string_view type = line.substr(c1 + 1, c2 - c1 - 1);
      std::string_view glob = line.substr(c2 + 1);
      std::string_view flags;
      if (std::size_t c3 = glob.find(':'); c3 != std::string_view::npos) {
        flags = glob.substr(c3 + 1);
        glob = glob.substr(0, c3);
      }
      const bool caseSensitive = flags.find("cs") != std::string_view::npos;
      const bool match =
          caseSensitive ? glob == pattern : Lower(std::string(glob)) == Lower(pattern);
      if (!match || type.starts_with(kOwnMimeTypePrefix)) return;
      const int weight = std::atoi(std::string(line.substr(0, c1)).c_str());
      if (weight > bestWeight) {
        bestWeight = weight;
        best = std::string(type);
      }
    });
  }
  return best;
}

std::string DesktopExecArgument(const std::string& path) {
  static const std::string reserved = " \t\n\"'\\><~|&;$*?#()`";
  std::string arg;
  for (char c : path) {
    if (c == '%') {
      arg += "%%";
    } else {
      arg += c;
    }
  }
  if (arg.find_first_of(reserved) != std::string::npos) {
    std::string quoted = "\"";
    for (char c : arg) {
      if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
      quoted += c;
    }
    arg = quoted + "\"";
  }
  // The value is a string: its own escapes come last.
  std::string value;
  for (char c : arg) {
    switch (c) {
      case '\\': value += "\\\\"; break;
      case '\n': value += "\\n"; break;
      case '\t': value += "\\t"; break;
      case '\r': value += "\\r"; break;
      default: value += c;
    }
  }
  return value;
}

TExtensionTypes RegisteredExtensions(const std::string& desktopEntryText) {
  TExtensionTypes extensions;
  const TIniFile entry = TIniFile::FromText(desktopEntryText);
  for (const std::string& item : SplitList(entry.ReadString(kEntrySection, kRecordKey, ""))) {
    std::size_t colon = item.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == item.size()) continue;
    extensions[item.substr(0, colon)] = item.substr(colon + 1);
  }
  return extensions;
}

std::string DesktopEntryText(const std::string& exe, const TExtensionTypes& extensions) {
  std::vector<std::string> record;
  for (const auto& [ext, type] : extensions) record.push_back(ext + ":" + type);
  std::string text =
      "[Desktop Entry]\n"
      "Type=Application\n"
      "Version=1.0\n"
      "Name=KeluエディタVetra\n"
      "GenericName=Text Editor\n"
      "GenericName[ja]=テキストエディタ\n"
      "Comment=Edit Japanese plain text\n"
      "Comment[ja]=日本語のテキストファイルを編集します\n"
      "Exec=" +
      DesktopExecArgument(exe) +
      " %F\n"
      "Icon=accessories-text-editor\n"
      "Terminal=false\n"
      "Categories=Utility;TextEditor;\n"
      "MimeType=" +
      JoinList(TypesOf(extensions)) + "\n";
  text += std::string(kRecordKey) + "=" + JoinList(record) + "\n";
  return text;
}

std::string MimeAppsListText(const std::string& existing, const std::vector<std::string>& add,
                             const std::vector<std::string>& remove) {
  TIniFile ini = TIniFile::FromText(existing);
  for (const char* section : {kDefaults, kAdded}) {
    const bool hadKeys = !ini.Keys(section).empty();
    for (const std::string& type : remove) RemoveFromList(ini, section, type, kDesktopId);
    // A section that only we used goes with our last key.
    if (hadKeys && ini.Keys(section).empty()) ini.EraseSection(section);
  }
  for (const std::string& type : add) {
    PutFirstInList(ini, kAdded, type, kDesktopId);
    PutFirstInList(ini, kDefaults, type, kDesktopId);
  }
  return ini.Text();
}

std::string MimePackageText(const std::string& ext, const std::string& description) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
         "  <mime-type type=\"" +
         OwnMimeType(ext) +
         "\">\n"
         "    <comment>" +
         XmlEscape(description + " (." + ext + ")") +
         "</comment>\n"
         "    <sub-class-of type=\"text/plain\"/>\n"
         "    <glob pattern=\"" +
         XmlEscape("*." + ext) +
         "\"/>\n"
         "  </mime-type>\n"
         "</mime-info>\n";
}

// ------------------------------------------------------------ operations

TAssociationResult RegisterFileExt(const TXdgPlaces& places, const std::string& exe,
                                   const std::string& ext, const std::string& description) {
  if (std::string problem = ExtensionProblem(ext); !problem.empty()) return {false, problem};
  if (exe.empty() || exe.front() != '/' || !cp932::IsWellFormedUtf8(exe)) {
    return {false, "プログラムのパス「" + exe + "」を関連付けに使えません。"};
  }
  return Attempt([&] {
    TExtensionTypes extensions = RegisteredExtensions(ReadIfExists(places.DesktopFile()));
    std::string type;
    if (auto known = KnownMimeType(Globs2Texts(places), ext)) {
      type = *known;
    } else {
      type = OwnMimeType(ext);
      WriteFile(places.PackageFile(ext), MimePackageText(ext, description));
      UpdateDatabase("update-mime-database", places.dataHome + "/mime");
    }
    extensions[ext] = type;
    WriteFile(places.DesktopFile(), DesktopEntryText(exe, extensions));
    UpdateDatabase("update-desktop-database", places.dataHome + "/applications");
    WriteFile(places.MimeAppsList(),
              MimeAppsListText(ReadIfExists(places.MimeAppsList()), {type}, {}));
  });
}

TAssociationResult UnregisterFileExt(const TXdgPlaces& places, const std::string& ext) {
  return Attempt([&] {
    const std::string entryText = ReadIfExists(places.DesktopFile());
    TExtensionTypes extensions = RegisteredExtensions(entryText);
    auto it = extensions.find(ext);
    std::error_code ec;
    const bool ownPackage = std::filesystem::exists(places.PackageFile(ext), ec);
    if (it == extensions.end() && !ownPackage) return;
    const std::string type = it != extensions.end() ? it->second : OwnMimeType(ext);
    if (it != extensions.end()) extensions.erase(it);

    std::vector<std::string> stillUsed = TypesOf(extensions);
    const bool typeFree = std::find(stillUsed.begin(), stillUsed.end(), type) == stillUsed.end();
    if (typeFree) {
      WriteFile(places.MimeAppsList(),
                MimeAppsListText(ReadIfExists(places.MimeAppsList()), {}, {type}));
    }
    if (ownPackage && typeFree) {
      RemoveFile(places.PackageFile(ext));
      UpdateDatabase("update-mime-database", places.dataHome + "/mime");
    }
    if (!entryText.empty()) {
      if (extensions.empty()) {
        RemoveFile(places.DesktopFile());
      } else {
        // The rest of the entry (the program path) stays as it is.
        TIniFile rewritten = TIniFile::FromText(entryText);
        rewritten.WriteString(kEntrySection, "MimeType", JoinList(TypesOf(extensions)));
        std::vector<std::string> record;
        for (const auto& [e, t] : extensions) record.push_back(e + ":" + t);
        rewritten.WriteString(kEntrySection, kRecordKey, JoinList(record));
        WriteFile(places.DesktopFile(), rewritten.Text());
      }
      UpdateDatabase("update-desktop-database", places.dataHome + "/applications");
    }
  });
}

// ----------------------------------------------------------------- tools

bool ToolInstalled(const std::string& program) {
  if (program.find('/') != std::string::npos) return access(program.c_str(), X_OK) == 0;
  const char* path = std::getenv("PATH");
  std::string list = path ? path : "/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t colon = list.find(':', start);
    std::string dir = list.substr(start, colon == std::string::npos ? std::string::npos
                                                                     : colon - start);
    if (dir.empty()) dir = ".";
    if (access((dir + "/" + program).c_str(), X_OK) == 0) return true;
    if (colon == std::string::npos) break;
    start = colon + 1;
  }
  return false;
}

int RunTool(const std::string& program, const std::vector<std::string>& args, int timeoutMs,
            std::string* errors) {
  if (!ToolInstalled(program)) return -1;
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
  std::vector<std::string> argv{program};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> cargs;
  for (std::string& a : argv) cargs.push_back(a.data());
  cargs.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, program.c_str(), &actions, nullptr, cargs.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  if (spawned != 0) {
    close(pipeFds[0]);
    return -1;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  std::string output;
  bool open = true;
  int status = 0;
  while (true) {
    if (open) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                            deadline - std::chrono::steady_clock::now())
                            .count();
      pollfd p{pipeFds[0], POLLIN, 0};
      if (poll(&p, 1, static_cast<int>(std::max<long long>(0, std::min<long long>(left, 100)))) >
          0) {
        char buf[4096];
        ssize_t n = read(pipeFds[0], buf, sizeof buf);
        if (n > 0) {
          if (output.size() < 65536) output.append(buf, static_cast<std::size_t>(n));
        } else {
          open = false;
        }
      }
    } else {
      usleep(10000);
    }
    pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid && !open) break;
    if (done == pid) {
      // Read what is left, then stop.
      char buf[4096];
      ssize_t n;
      while ((n = read(pipeFds[0], buf, sizeof buf)) > 0) {
        if (output.size() < 65536) output.append(buf, static_cast<std::size_t>(n));
      }
      break;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      close(pipeFds[0]);
      if (errors) *errors = output;
      return -2;
    }
  }
  close(pipeFds[0]);
  if (errors) *errors = output;
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

}  // namespace kelu
