#include "maker/project/extensions.h"

#include <gdk/gdk.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "toolkit/files.h"

#include "toolkit/widgets.h"
#include "toolkit/window.h"

namespace fs = std::filesystem;

namespace {

constexpr int kScanPicture = 137;

// The whole file, or "" when it is missing, unreadable, not a plain file or
// larger than kMaxExtensionFileBytes.
std::string file_or_empty(const fs::path& path) {
  std::string bytes;
  if (tk::read_small_file(path.string(), kMaxExtensionFileBytes, bytes) != tk::FileRead::Read) return "";
  return bytes;
}

// Copies well-formed UTF-8 sequences and puts U+FFFD for every byte that does
// not start one.
std::string valid_utf8(std::string_view in) {
  std::string out;
  out.reserve(in.size());
  size_t i = 0;
  while (i < in.size()) {
    unsigned char c = in[i];
    size_t length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    bool ok = length > 0 && i + length <= in.size();
    for (size_t k = 1; ok && k < length; ++k) ok = (static_cast<unsigned char>(in[i + k]) >> 6) == 2;
    if (ok && length > 1) {
      unsigned char d = in[i + 1];
      // Overlong forms, UTF-16 surrogates and values above U+10FFFF.
      ok = !(c < 0xC2 || (c == 0xE0 && d < 0xA0) || (c == 0xED && d > 0x9F) ||
             (c == 0xF0 && d < 0x90) || c > 0xF4 || (c == 0xF4 && d > 0x8F));
    }
    if (ok) {
      out.append(in.substr(i, length));
      i += length;
    } else {
      out.append("\xEF\xBF\xBD");
      ++i;
    }
  }
  return out;
}

// The file name with every ".qex" taken out, left to right in one pass.
std::string without_qex(const std::string& file) {
  std::string out;
  size_t from = 0;
  for (size_t at; (at = file.find(".qex", from)) != std::string::npos; from = at + 4)
    out.append(file, from, at - from);
  out.append(file, from);
  return out;
}

fs::path project_extension_list_path() {
  return fs::path("Projects") / g_project_name / "extensions.dat";
}

}  // namespace

std::vector<std::string> split_text_lines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
  }
  return lines;
}

ExtensionInfo parse_extension_package(std::string_view bytes) {
  ExtensionInfo info;
  struct Section {
    std::string_view header;
    std::string ExtensionInfo::*text;
    bool line_per_cr;
  };
  const Section sections[] = {
      {"[EXTENSION]", &ExtensionInfo::title, false},
      {"[AUTHOR]", &ExtensionInfo::author, false},
      {"[DESCRIPTION]", &ExtensionInfo::description, true},
      {"[HELP]", &ExtensionInfo::help, true},
      {"[CODE]", &ExtensionInfo::code, true},
  };
  const Section* current = nullptr;
  for (const std::string& line : split_text_lines(valid_utf8(bytes))) {
    auto header = std::find_if(std::begin(sections), std::end(sections),
                               [&](const Section& s) { return s.header == line; });
    if (header != std::end(sections)) current = header;
    if (!current) continue;
    std::string& text = info.*(current->text);
    if (header == std::end(sections)) text += line;
    if (current->line_per_cr) text += '\r';
  }
  return info;
}

int load_project_extension_list() {
  g_project_extension_names.clear();
  if (g_project_name.empty()) return 0;
  for (std::string& name : split_text_lines(valid_utf8(file_or_empty(project_extension_list_path()))))
    g_project_extension_names.append(std::move(name));
  return 0;
}

int save_project_extension_list(const std::vector<std::string>& base_names) {
  if (g_project_name.empty()) return 0;
  fs::path path = project_extension_list_path();
  std::error_code error;
  fs::remove(path, error);
  std::ofstream out(path, std::ios::binary);
  for (const std::string& name : base_names) out << name << '\n';
  return 0;
}

int open_wait_window(int picture) {
  // Without a display (unit tests, benchmarks) there is nothing to show.
  if (gdk_display_get_default() == nullptr) return -1;
  int window = tk::open_window(tk::kAny, 0, 0, 400, 160, "Please wait...",
                               tk::kWindowBorderless | tk::kWindowCentred);
  tk::image_view(tk::kAny, 0, 0, 400, 160, picture);
  return window;
}

int scan_installed_extensions() {
  int wait = open_wait_window(kScanPicture);
  load_project_extension_list();
  g_installed_extensions.clear();

  std::vector<fs::path> packages;
  std::error_code error;
  for (fs::directory_iterator it("Extensions", error), end; !error && it != end; it.increment(error)) {
    std::string file = it->path().filename().string();
    if (file.size() >= 4 && file.ends_with(".qex") && it->is_regular_file(error))
      packages.push_back(it->path());
  }
  std::sort(packages.begin(), packages.end());

  for (const fs::path& path : packages) {
    ExtensionInfo info = parse_extension_package(file_or_empty(path));
    info.base_name = without_qex(path.filename().string());
    for (const std::string& name : g_project_extension_names)
      if (name == info.base_name) info.enabled = 1;
    g_installed_extensions.append(std::move(info));
  }

  tk::close_window(wait);
  return 0;
}
