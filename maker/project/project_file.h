#pragma once
// The project file: a flat sequence of NUMBER (int32 little-endian), TEXT
// (UTF-8 ended by LF) and CODE (a TEXT with its line breaks as "*<NL>*")
// values without keys. One table of the values drives the writer, the check
// of a file before it is opened and the reader.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "maker/project/state.h"

// A reading position in the bytes of a project file, which the caller keeps.
struct ProjectFile {
  explicit ProjectFile(const std::vector<uint8_t>& bytes)
      : data(bytes.data()), size(bytes.size()) {}
  ProjectFile(const uint8_t* data, size_t size) : data(data), size(size) {}
  const uint8_t* data;
  size_t size;
  size_t pos = 0;
  size_t left() const { return size - pos; }
};

// Every CR LF, lone LF and lone CR becomes "*<NL>*", so that a code text
// always stays one TEXT value.
std::string escape_code_newlines(const std::string& code);
// Every "*<NL>*" becomes CR LF.
std::string unescape_code_newlines(const std::string& text);

// One value as it stands in the file: past the end a NUMBER reads 0 and a
// TEXT empty. A TEXT ends at LF, CR (with the LF of a CR LF), NUL or the end,
// and bytes that are not UTF-8 come out as U+FFFD.
int read_file_number(ProjectFile& file);
std::string read_file_text(ProjectFile& file);

// One value of the project being opened: read, then shown in the service
// window (g_service_mode 1), which may change it, then logged (g_debug_log 1).
int read_project_number_value(ProjectFile& file, const std::string& label);
std::string read_project_string_value(ProjectFile& file, const std::string& label);
std::string read_project_code_value(ProjectFile& file, const std::string& label);

// Appends CR LF and the text to the Debug window's text area (widget 13)
// when g_debug_log is 1.
void debug_log_line(const std::string& text);
extern const char* const kLogSeparator;

// The project in memory as the bytes of its project file (version
// g_file_version, every record of every list).
std::vector<uint8_t> project_file_bytes();
// The same bytes made and written in pieces as tk::replace_file writes a
// file. False when not written.
bool write_project_file(const std::string& path, bool flush);

// Where the records of a checked file start, noted while checking it, so
// that reading can share the records out over the cores.
struct ProjectFileIndex {
  static constexpr int kChunk = 512;  // records read by one job
  struct Section {
    int count = 0;
    std::vector<size_t> chunk_starts;  // of records 0, kChunk, 2 * kChunk, ...
  };
  std::vector<Section> sections;  // those of the file's version, in file order
  size_t end = 0;
};

// False when the file is damaged: a count of records that is negative or
// larger than the bytes after it could hold. Reads with the file's own
// version gates and touches nothing but `index`, which it fills for an
// intact file.
bool project_file_intact(const uint8_t* data, size_t size, ProjectFileIndex* index = nullptr);

// What opening does besides filling the lists.
struct ProjectReadHooks {
  // After each file name of a sound, music or background (not empty).
  std::function<void(const std::string& file_name)> file_named;
};

// Reads the whole file from its first value into g_game_settings record 0,
// g_project_uid and the lists, which the caller has emptied. Records get the
// values the file's version does not hold as defaults. A count that does not
// fit the bytes left (only a service-mode change makes one in a checked
// file) is cut to what they could hold. Returns the file version read.
// With the index of the same bytes, and no service window or debug log
// taking part, the records are read on every core.
int read_project_records(ProjectFile& file, const ProjectReadHooks& hooks = {},
                         const ProjectFileIndex* index = nullptr);

// Integer typed into a text input: blanks and tabs skipped, a sign, then
// decimal digits, "$" hexadecimal or "%" base 2, up to the first other
// character; no digits give 0. A number too large for 64 bits stops at the
// largest one.
long long parse_typed_number(const std::string& text);
// The same, held to the range of int.
int parse_typed_integer(const std::string& text);
