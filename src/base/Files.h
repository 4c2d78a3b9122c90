// Reading and writing whole files, with failures reported in Japanese
// naming the file and the reason.
#pragma once

#include <string>
#include <string_view>

namespace kelu {

// Reads a whole file; raises EFileError when it cannot be opened or read.
std::string ReadFileBytes(const std::string& fileName);

// Writes `bytes` to `fileName` through a temporary file beside it, renamed
// over the target only after a complete, flushed write, so a failed save
// leaves the old file as it was. Saving through a symbolic link replaces the
// link's target and keeps the link; an existing file keeps its permissions.
// Raises EFileError ("ファイル「…」を保存できませんでした: reason").
void WriteFileAtomically(const std::string& fileName, std::string_view bytes);

// The target of a symbolic link when that exists; anything else unchanged.
std::string ResolveShortcut(const std::string& path);

}  // namespace kelu
