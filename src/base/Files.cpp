#include "base/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "base/Exceptions.h"

namespace kelu {

namespace {

[[noreturn]] void SaveFailed(const std::string& fileName, int errnum) {
  throw EFileError("ファイル「" + fileName +
                   "」を保存できませんでした: " + SystemErrorText(errnum));
}

// The file that a save replaces: the target of a symbolic link, so that the
// link itself stays.
std::string SaveTarget(const std::string& fileName) {
  struct stat st;
  if (lstat(fileName.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    char buf[PATH_MAX];
    if (realpath(fileName.c_str(), buf)) return buf;
  }
  return fileName;
}

}  // namespace

void WriteFileAtomically(const std::string& fileName, std::string_view bytes) {
  const std::string target = SaveTarget(fileName);
  std::string dir = ".";
  std::string base = target;
  if (auto slash = target.rfind('/'); slash != std::string::npos) {
    dir = slash == 0 ? "/" : target.substr(0, slash);
    base = target.substr(slash + 1);
  }
  struct stat old;
  bool existed = stat(target.c_str(), &old) == 0;
  if (existed && S_ISDIR(old.st_mode)) SaveFailed(fileName, EISDIR);

  std::string tmpl = dir + "/." + base + ".kelu-XXXXXX";
  std::unique_ptr<char[]> tmp(new char[tmpl.size() + 1]);
  std::memcpy(tmp.get(), tmpl.c_str(), tmpl.size() + 1);
  int fd = mkstemp(tmp.get());
  if (fd < 0) SaveFailed(fileName, errno);
  auto fail = [&](int errnum) {
    close(fd);
    unlink(tmp.get());
    SaveFailed(fileName, errnum);
  };

  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(errno);
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  mode_t mode;
  if (existed) {
    mode = old.st_mode & 07777;
  } else {
    mode_t mask = umask(0);
    umask(mask);
    mode = 0666 & ~mask;
  }
  if (fchmod(fd, mode) != 0) fail(errno);
  if (fsync(fd) != 0) fail(errno);
  if (close(fd) != 0) {
    int e = errno;
    unlink(tmp.get());
    SaveFailed(fileName, e);
  }
  if (rename(tmp.get(), target.c_str()) != 0) {
    int e = errno;
    unlink(tmp.get());
    SaveFailed(fileName, e);
  }
}

std::string ReadFileBytes(const std::string& fileName) {
  int fd = open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    throw EFileError("ファイル「" + fileName + "」を開けません: " + SystemErrorText(errno));
  }
  std::string data;
  struct stat st;
  if (fstat(fd, &st) == 0) {
    if (S_ISDIR(st.st_mode)) {
      close(fd);
      throw EFileError("ファイル「" + fileName + "」を開けません: " + SystemErrorText(EISDIR));
    }
    if (S_ISREG(st.st_mode)) data.reserve(static_cast<std::size_t>(st.st_size));
  }
  char buf[1 << 16];
  while (true) {
    ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      int e = errno;
      close(fd);
      throw EFileError("ファイル「" + fileName + "」を読めません: " + SystemErrorText(e));
    }
    if (n == 0) break;
    data.append(buf, static_cast<std::size_t>(n));
  }
  close(fd);
  return data;
}

std::string ResolveShortcut(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char buf[PATH_MAX];
  if (!realpath(path.c_str(), buf)) return path;
  if (stat(buf, &st) != 0) return path;
  return buf;
}

}  // namespace kelu
