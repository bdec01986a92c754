#pragma once
// Reading the small settings files of the working directory, refusing what
// is not a plain file of a sensible size instead of hanging or filling memory.
#include <cstddef>
#include <string>

enum class FileRead { Missing, Read, Unreadable };

// Missing: nothing of that name. Unreadable: a folder, a device or pipe, a
// file that cannot be opened or read, or one larger than `limit` bytes.
// `bytes` holds the content only for Read.
FileRead read_small_file(const std::string& path, size_t limit, std::string& bytes);
