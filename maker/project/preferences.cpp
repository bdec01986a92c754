#include "maker/project/preferences.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "toolkit/files.h"
#include "maker/project/state.h"

namespace {

// Far beyond any real preferences file; a larger one is not read.
constexpr size_t kMaxPreferencesBytes = 1 << 20;
constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";

// One stored value: its group and key, the program-wide value it fills (a
// number or a text) and what the reader gives when the key is missing.
struct Preference {
  const char* group;
  const char* key;
  int* number;
  std::string* text;
  int missing_number;
  const char* missing_text;
};

const Preference kPreferences[] = {
    {"Code editor", "sci_color_fore", &pref_color_text, nullptr, rgb(255, 255, 255), nullptr},
    {"Code editor", "sci_color_selection_back", &pref_color_selection_back, nullptr, rgb(0, 0, 64), nullptr},
    {"Code editor", "sci_color_selection_fore", &pref_color_selection_fore, nullptr, rgb(255, 255, 255), nullptr},
    {"Code editor", "sci_color_command", &pref_color_command, nullptr, rgb(54, 45, 227), nullptr},
    {"Code editor", "sci_color_comment", &pref_color_comment, nullptr, rgb(160, 160, 160), nullptr},
    {"Code editor", "sci_color_function", &pref_color_function, nullptr, rgb(160, 160, 160), nullptr},
    {"Code editor", "sci_color_number", &pref_color_number, nullptr, rgb(208, 64, 64), nullptr},
    {"Code editor", "sci_color_resource", &pref_color_resource, nullptr, rgb(49, 170, 187), nullptr},
    {"Code editor", "sci_color_string", &pref_color_string, nullptr, rgb(198, 0, 198), nullptr},
    {"Code editor", "sci_color_qp_constant", &pref_color_constant, nullptr, rgb(60, 60, 60), nullptr},
    {"Code editor", "sci_color_qp_function", &pref_color_engine_function, nullptr, rgb(32, 106, 34), nullptr},
    {"Code editor", "sci_color_qp_variable", &pref_color_engine_variable, nullptr, rgb(81, 80, 19), nullptr},
    {"Code editor", "sci_color_caret", &pref_color_caret, nullptr, rgb(255, 240, 240), nullptr},
    {"Code editor", "sci_font_family", nullptr, &pref_font_family, 0, kStartFontFamily},
    {"Code editor", "sci_font_size", &pref_font_size, nullptr, kStartFontSize, nullptr},
    {"Code editor", "x", &pref_code_window_x, nullptr, -1, nullptr},
    {"Code editor", "y", &pref_code_window_y, nullptr, -1, nullptr},
    {"Code editor", "width", &pref_code_window_width, nullptr, -1, nullptr},
    {"Code editor", "height", &pref_code_window_height, nullptr, -1, nullptr},
    {"Code editor", "maximized", &pref_code_window_maximized, nullptr, -1, nullptr},
    {"Browser", "add_file_protocol", &pref_add_file_protocol, nullptr, 0, nullptr},
    {"Misc", "CheckProgramVersion", &pref_check_version_at_startup, nullptr, 1, nullptr},
    {"Misc", "GenerateIndexHTML", &pref_generate_index_html, nullptr, 1, nullptr},
    {"Misc", "ConfirmExit", &pref_confirm_exit, nullptr, 1, nullptr},
};

std::string_view trim(std::string_view s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string_view::npos) return {};
  size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

bool same_name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// The group a "[...]" line names; false for any other line.
bool group_line(std::string_view line, std::string_view& group) {
  line = trim(line);
  if (line.empty() || line[0] != '[') return false;
  size_t close = line.find(']');
  group = trim(line.substr(1, close == std::string_view::npos ? line.npos : close - 1));
  return true;
}

// The key and value of a "key = value" line; false for groups, comments and
// lines without "=".
bool key_line(std::string_view line, std::string_view& key, std::string_view& value) {
  std::string_view t = trim(line);
  if (t.empty() || t[0] == ';' || t[0] == '[') return false;
  size_t eq = t.find('=');
  if (eq == std::string_view::npos) return false;
  key = trim(t.substr(0, eq));
  value = trim(t.substr(eq + 1));
  return true;
}

// Signed decimal up to the first other character; no digits read 0. Values
// beyond the range of int stop at its ends.
int read_number(std::string_view s) {
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  long long n = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
    if (n <= INT_MAX) n = n * 10 + (s[i] - '0');
  if (negative) n = -n;
  if (n > INT_MAX) return INT_MAX;
  if (n < INT_MIN) return INT_MIN;
  return int(n);
}

// The file as lines, without the byte-order mark and the line ends.
class Document {
 public:
  explicit Document(std::string_view bytes) {
    bool mark = bytes.substr(0, 3) == kByteOrderMark;
    if (mark) bytes.remove_prefix(3);
    while (!bytes.empty()) {
      size_t lf = bytes.find('\n');
      std::string_view line = bytes.substr(0, lf);
      while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      lines_.emplace_back(line);
      bytes.remove_prefix(lf == bytes.npos ? bytes.size() : lf + 1);
    }
    // The line that holds only the mark is written again with it.
    if (mark && !lines_.empty() && lines_[0].empty()) lines_.erase(lines_.begin());
  }

  // Index of the line of `group`, -1 when the file lacks it.
  int find_group(std::string_view group) const {
    std::string_view name;
    for (size_t i = 0; i < lines_.size(); ++i)
      if (group_line(lines_[i], name) && same_name(name, group)) return int(i);
    return -1;
  }

  // One past the last line of the group that starts at `group_index`.
  int group_end(int group_index) const {
    std::string_view name;
    size_t i = size_t(group_index) + 1;
    while (i < lines_.size() && !group_line(lines_[i], name)) ++i;
    return int(i);
  }

  // Index of the line of `key` in that group, -1 when it lacks it.
  int find_key(int group_index, std::string_view key) const {
    if (group_index < 0) return -1;
    std::string_view k, v;
    for (int i = group_index + 1, end = group_end(group_index); i < end; ++i)
      if (key_line(lines_[size_t(i)], k, v) && same_name(k, key)) return i;
    return -1;
  }

  // False when the group or the key is missing.
  bool value(std::string_view group, std::string_view key, std::string_view& out) const {
    int line = find_key(find_group(group), key);
    std::string_view k;
    return line >= 0 && key_line(lines_[size_t(line)], k, out);
  }

  void write(std::string_view group, std::string_view key, const std::string& value) {
    int g = find_group(group);
    if (g < 0) {
      lines_.push_back("[" + std::string(group) + "]");
      g = int(lines_.size()) - 1;
    }
    int line = find_key(g, key);
    if (line >= 0) {
      std::string_view k, v;
      key_line(lines_[size_t(line)], k, v);
      // The key keeps the spelling the file gave it.
      lines_[size_t(line)] = std::string(k) + " = " + value;
    } else {
      lines_.insert(lines_.begin() + group_end(g), std::string(key) + " = " + value);
    }
  }

  std::string bytes() const {
    std::string out = std::string(kByteOrderMark) + "\n";
    for (const std::string& line : lines_) out += line + "\n";
    return out;
  }

 private:
  std::vector<std::string> lines_;
};

// Replaces preferences.dat by `bytes` through a temporary file in the same
// folder, so that the old file stays whole until the new one is complete.
void replace_preferences_file(const std::string& bytes) {
  std::string temp = std::string(kPreferencesFile) + ".XXXXXX";
  int fd = mkstemp(temp.data());
  if (fd < 0) return;
  struct stat old;
  mode_t mode = stat(kPreferencesFile, &old) == 0 ? old.st_mode & 07777 : 0644;
  bool ok = fchmod(fd, mode) == 0;
  for (size_t done = 0; ok && done < bytes.size();) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) ok = false;
    else done += size_t(n);
  }
  ok = close(fd) == 0 && ok;
  if (!ok || rename(temp.c_str(), kPreferencesFile) != 0) unlink(temp.c_str());
}

}  // namespace

void read_preferences_from(const std::string& bytes) {
  Document file(bytes);
  for (const Preference& p : kPreferences) {
    std::string_view value;
    bool present = file.value(p.group, p.key, value);
    if (p.number) *p.number = present ? read_number(value) : p.missing_number;
    else *p.text = present ? std::string(value) : p.missing_text;
  }
}

std::string rewrite_preferences(const std::string& bytes) {
  Document file(bytes);
  for (const Preference& p : kPreferences)
    file.write(p.group, p.key, p.number ? std::to_string(*p.number) : *p.text);
  return file.bytes();
}

void read_preferences() {
  std::string bytes;
  tk::read_small_file(kPreferencesFile, kMaxPreferencesBytes, bytes);
  read_preferences_from(bytes);
}

void save_preferences() {
  std::string bytes;
  const tk::FileRead read = tk::read_small_file(kPreferencesFile, kMaxPreferencesBytes, bytes);
  if (read == tk::FileRead::Unreadable || read == tk::FileRead::TooLarge) return;
  replace_preferences_file(rewrite_preferences(bytes));
}
