// The regular-expression library (Oniguruma), bound at run time. The editor
// works without it: then RegexAvailable() is false, every search finds
// nothing and RegexUnavailableText() says why.
#pragma once

#include <string>

namespace kelu {

// The file the library is loaded from, unless the environment variable
// KELU_REGEX_LIBRARY names another when the library is first bound (tests
// point it at a missing file).
inline constexpr const char* kRegexLibraryFile = "libonig.so.5";
inline constexpr const char* kRegexLibraryVariable = "KELU_REGEX_LIBRARY";

// True when the library is loaded, its symbols found and it is initialised
// for Shift-JIS. The first call of any function of the search binds the
// library, once per process.
bool RegexAvailable();

// Why the library cannot be used (Japanese); empty when it can.
std::string RegexUnavailableText();

// The library's version and copyright texts; empty without the library.
std::string RegexLibraryVersion();
std::string RegexLibraryInfo();

// Binds the library from another file (a missing one, for instance) for the
// searches compiled from now on; patterns compiled before keep the library
// they were compiled with. A library once loaded is never unloaded. For
// tests only.
void BindRegexLibraryForTesting(const std::string& libraryFile);

}  // namespace kelu
