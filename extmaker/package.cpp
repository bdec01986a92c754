#include "extmaker/package.h"

#include <glib.h>

namespace {

struct Section {
  std::string_view header;
  std::string ExtensionFields::*text;
  bool keeps_lines;  // each line ends in CR LF; otherwise lines are joined
};

constexpr Section kSections[] = {
    {"[EXTENSION]", &ExtensionFields::name, false},
    {"[AUTHOR]", &ExtensionFields::author, false},
    {"[DESCRIPTION]", &ExtensionFields::description, true},
    {"[HELP]", &ExtensionFields::help, true},
    {"[CODE]", &ExtensionFields::code, true},
};

const Section* section_of_header(std::string_view line) {
  for (const Section& s : kSections)
    if (s.header == line) return &s;
  return nullptr;
}

}  // namespace

std::string valid_utf8_text(std::string_view bytes) {
  gchar* valid = g_utf8_make_valid(bytes.data(), gssize(bytes.size()));
  std::string out(valid);
  g_free(valid);
  return out;
}

std::string extension_package_bytes(const ExtensionFields& fields) {
  std::string out;
  for (const Section& s : kSections) {
    out += s.header;
    out += '\n';
    out += fields.*s.text;
    out += "\n\n";
  }
  return out;
}

ExtensionFields read_extension_package(std::string_view bytes) {
  const std::string text = valid_utf8_text(bytes);
  ExtensionFields fields;
  const Section* current = nullptr;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find_first_of("\r\n", at);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + at, end - at);
    at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    if (const Section* header = section_of_header(line)) {
      current = header;
      continue;  // the header itself counts as an empty line
    }
    if (!current || line.empty()) continue;
    std::string& field = fields.*current->text;
    field += line;
    if (current->keeps_lines) field += "\r\n";
  }
  return fields;
}

std::string package_path(const std::string& package_name) {
  return "Extensions/" + package_name + ".qex";
}

std::string package_name_of_path(const std::string& path) {
  const std::string file = path.substr(path.rfind('/') + 1);
  std::string name;
  size_t from = 0;
  for (size_t at; (at = file.find(".qex", from)) != std::string::npos; from = at + 4)
    name.append(file, from, at - from);
  return valid_utf8_text(name.append(file, from));
}

PackageRead read_package_file(const std::string& path, std::string& bytes) {
  return tk::read_small_file(path, kMaxPackageBytes, bytes);
}

bool replace_package_file(const std::string& path, std::string_view bytes) {
  return tk::replace_file(path, bytes.data(), bytes.size(), true);
}
