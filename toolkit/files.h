#pragma once
// Reading small files without hanging on a pipe or filling memory, and
// replacing files so that they are always either the old or the new one.
#include <cstddef>
#include <functional>
#include <string>

namespace tk {

enum class FileRead { Missing, Read, Unreadable, TooLarge };

// Missing: nothing of that name. Unreadable: a folder, a device or pipe, or
// a file that cannot be opened or read. TooLarge: more than `limit` bytes.
// `bytes` holds the content only for Read.
FileRead read_small_file(const std::string& path, size_t limit, std::string& bytes);

// Writes the file anew through a new file beside it (path + ".part") that
// takes its place only when complete, so that the file is always either
// the old one or the new one, whole. With `flush` the new content is on the
// disk before it takes the old one's place. False when not written; the old
// file is then untouched.
bool replace_file(const std::string& path, const void* data, size_t size, bool flush);
// The same with what `fill` writes to the new file (`fd`); false from `fill`
// leaves the old file untouched.
bool replace_file_with(const std::string& path, bool flush,
                       const std::function<bool(int fd)>& fill);
// Writes all the bytes, again after an interruption; false on an error.
bool write_all(int fd, const void* data, size_t size);
// The same with the content of another file; false when it cannot be read.
bool copy_file_over(const std::string& from, const std::string& to);
// A copy under a name not taken yet (as in a folder just made), written
// straight under that name: quicker where many files are made at once.
// False, leaving nothing under `to`, when the name is taken, `from` is not
// a regular file or the copy fails.
bool copy_file_new(const std::string& from, const std::string& to);
// The longest file name, in bytes, that replace_file and copy_file_over can
// write: the file systems take 255, and the new file beside it has ".part" more.
inline constexpr size_t kLongestFileName = 255 - 5;

}  // namespace tk
