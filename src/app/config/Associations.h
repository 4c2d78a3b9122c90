// File associations through the desktop's shared databases (XDG) for the
// current user:
//  - the desktop entry "kelu-editor-vetra.desktop" in
//    $XDG_DATA_HOME/applications names the program and lists the MIME types
//    it opens; it also records which extension was registered with which
//    type (key X-Kelu-Extensions), so that each can be taken back alone;
//  - an extension that shared-mime-info already knows (txt is text/plain)
//    keeps its type; any other gets a type of our own, defined by a glob in
//    $XDG_DATA_HOME/mime/packages;
//  - our entry becomes the default for each type in
//    $XDG_CONFIG_HOME/mimeapps.list, whose other lines stay as they were;
//  - update-mime-database and update-desktop-database are run on the
//    user's folders when they are installed.
//
// The texts of the three files are made by pure functions, which the tests
// check line by line; RegisterFileExt and UnregisterFileExt put them in
// place and run the tools.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kelu {

inline constexpr const char* kDesktopId = "kelu-editor-vetra.desktop";
inline constexpr const char* kOwnMimeTypePrefix = "application/x-kelu-editor-vetra-";

// The user's XDG folders.
struct TXdgPlaces {
  std::string dataHome;
  std::string configHome;
  std::vector<std::string> dataDirs;  // $XDG_DATA_DIRS

  static TXdgPlaces FromEnvironment();
  std::string DesktopFile() const;
  std::string MimeAppsList() const;
  std::string MimePackagesDir() const;
  // The package file of an extension's own type.
  std::string PackageFile(const std::string& ext) const;
};

// Why an extension cannot be registered (Japanese), or empty when it can:
// an extension is a name without "/" or blanks, made of letters, digits,
// ".", "_", "+", "-" and characters beyond ASCII.
std::string ExtensionProblem(const std::string& ext);

// The MIME type of our own for an extension.
std::string OwnMimeType(const std::string& ext);
// The type shared-mime-info gives "*.ext", from the text of globs2 files
// (weight:type:glob[:flags] lines), our own types left out; the heaviest
// glob wins.
std::optional<std::string> KnownMimeType(const std::vector<std::string>& globs2Texts,
                                         const std::string& ext);

// The Exec argument of a program path as the desktop entry specification
// wants it: quoted (with \ " ` $ escaped) when it holds a reserved
// character, "%" doubled, then escaped as a string value.
std::string DesktopExecArgument(const std::string& path);

// The registered extensions and their types, as the entry records them.
using TExtensionTypes = std::map<std::string, std::string>;
TExtensionTypes RegisteredExtensions(const std::string& desktopEntryText);

// The desktop entry of the program at `exe` for these extensions.
std::string DesktopEntryText(const std::string& exe, const TExtensionTypes& extensions);
// mimeapps.list with our entry first among the defaults (and the added
// associations) of `add`, and gone from those of `remove`.
std::string MimeAppsListText(const std::string& existing, const std::vector<std::string>& add,
                             const std::vector<std::string>& remove);
// The package that defines an extension's own type.
std::string MimePackageText(const std::string& ext, const std::string& description);

struct TAssociationResult {
  bool ok = true;
  std::string reason;  // Japanese, when !ok
};

// Associates `ext` with the program at `exe` (an absolute path).
// `description` names the files of our own type.
TAssociationResult RegisterFileExt(const TXdgPlaces& places, const std::string& exe,
                                   const std::string& ext, const std::string& description);
// Takes back the association of `ext` only; the other registered
// extensions stay associated. Taking back what is not registered succeeds.
TAssociationResult UnregisterFileExt(const TXdgPlaces& places, const std::string& ext);

// Runs a program found on PATH with `args` and waits at most `timeoutMs`:
// its exit status, -1 when it is not installed, -2 when it did not end in
// time (it is killed). Its standard error goes to `errors`.
int RunTool(const std::string& program, const std::vector<std::string>& args, int timeoutMs,
            std::string* errors = nullptr);
// Whether a program is on PATH.
bool ToolInstalled(const std::string& program);

}  // namespace kelu
