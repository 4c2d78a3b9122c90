// Temporary folders and files for the settings tests.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/Cp932.h"
#include "base/Files.h"

namespace kelu::test {

// Makes a folder read-only, for root too (the immutable attribute, where
// the file system has it); false when it stays writable all the same.
inline bool MakeReadOnly(const std::string& dir) {
  chmod(dir.c_str(), 0500);
  if (geteuid() == 0) {
    const std::string command = "chattr +i '" + dir + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) return false;
  }
  const std::string probe = dir + "/.probe";
  FILE* f = std::fopen(probe.c_str(), "w");
  if (!f) return true;
  std::fclose(f);
  std::remove(probe.c_str());
  return false;
}

inline void MakeWritable(const std::string& dir) {
  if (geteuid() == 0) {
    const std::string command = "chattr -i '" + dir + "' 2>/dev/null";
    [[maybe_unused]] int rc = std::system(command.c_str());
  }
  chmod(dir.c_str(), 0700);
}

// A folder of its own, removed with everything in it at the end.
class TTempDir {
 public:
  TTempDir() {
    std::string tmpl = std::filesystem::temp_directory_path().string() + "/kelu-settings-XXXXXX";
    path_ = mkdtemp(tmpl.data());
  }
  ~TTempDir() {
    std::error_code ec;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ec)) {
      if (entry.is_directory(ec)) MakeWritable(entry.path().string());
    }
    MakeWritable(path_);
    std::filesystem::remove_all(path_, ec);
  }
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

inline std::string ReadText(const std::string& file) {
  return ReadFileBytes(file);
}

inline void WriteText(const std::string& file, const std::string& text) {
  WriteFileAtomically(file, text);
}

// A UTF-8 literal as Shift-JIS.
inline std::string Sjis(const std::string& utf8) {
  return cp932::FromUtf8(utf8);
}

}  // namespace kelu::test
