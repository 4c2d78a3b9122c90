// Exceptions raised by the editor's building blocks. Every failure carries a
// message meant for the user (Japanese where the user sees it).
#pragma once

#include <stdexcept>
#include <string>

namespace kelu {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

// Index out of range in a string list or row list.
class EListError : public Exception {
 public:
  using Exception::Exception;
};

// Assigning an object from an object of an unrelated class.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// Opening, creating, reading or writing a file failed.
class EFileError : public Exception {
 public:
  using Exception::Exception;
};

// Any other failure of an editor operation.
class EInvalidOperation : public Exception {
 public:
  using Exception::Exception;
};

// The message of the list index error. It takes no placeholder: the index is
// not shown.
inline constexpr const char* kListIndexError = "リストのインデックスが範囲を超えています";

[[noreturn]] void ThrowListIndexError(int index);

// "<reason>" for the current errno, in Japanese where a common case has a
// Japanese wording, otherwise the system's text.
std::string SystemErrorText(int errnum);

}  // namespace kelu
