#pragma once
// Extension packages as quillop-extmaker writes and reads them: the file
// Extensions/<package name>.qex, UTF-8 text in five sections. No window is
// needed here, so unit tests and the fuzzer use these directly.
#include <cstddef>
#include <string>
#include <string_view>

#include "toolkit/files.h"

// The texts a package carries, as the window's fields hold them.
struct ExtensionFields {
  std::string name, author, description, help, code;
  bool operator==(const ExtensionFields&) const = default;
};

// A package larger than this is refused when opened rather than read into
// the window; the same bound as quillop-maker's scan of the folder.
constexpr size_t kMaxPackageBytes = 16 << 20;

// The fifteen lines of a package: each header, its text and an empty line,
// every line ended by LF. Texts go out as they are, line ends and all.
std::string extension_package_bytes(const ExtensionFields& fields);

// The texts of a package. Lines end at LF, CR or CR LF; invalid UTF-8 and
// NUL bytes become U+FFFD. A header line starts its section; lines before
// the first header and empty lines are dropped; name and author lines are
// joined, description, help and code lines each get CR LF.
ExtensionFields read_extension_package(std::string_view bytes);

// The text with U+FFFD for every byte that starts no well-formed UTF-8
// sequence, NUL included: what GTK widgets and message boxes can show.
std::string valid_utf8_text(std::string_view bytes);

// "Extensions/" + package name + ".qex".
std::string package_path(const std::string& package_name);

// The package name of a chosen file: its name after the last "/", with
// every ".qex" taken out, as valid UTF-8 (file names are any bytes).
std::string package_name_of_path(const std::string& path);

using PackageRead = tk::FileRead;

// The whole file into `bytes` (cleared unless Read). Unreadable: a folder,
// a device or pipe, or a file that cannot be opened or read; TooLarge: over
// kMaxPackageBytes.
PackageRead read_package_file(const std::string& path, std::string& bytes);

// Writes `bytes` beside `path`, flushes them and renames the copy over it,
// so that a failed save leaves the previous package as it was. True when
// `path` then holds the new bytes.
bool replace_package_file(const std::string& path, std::string_view bytes);
