#include "extmaker/package.h"

#include <fcntl.h>
#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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

bool write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(size_t(n));
  }
  return true;
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
  bytes.clear();
  // Non-blocking, so that a pipe of that name cannot stall the open.
  int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? PackageRead::Missing : PackageRead::Unreadable;
  struct stat st;
  PackageRead result = PackageRead::Read;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    result = PackageRead::Unreadable;
  } else if (size_t(st.st_size) > kMaxPackageBytes) {
    result = PackageRead::TooLarge;
  } else {
    // One byte more than the size, to tell a file that grows while read.
    bytes.resize(size_t(st.st_size) + 1);
    size_t got = 0;
    while (got < bytes.size()) {
      ssize_t n = read(fd, bytes.data() + got, bytes.size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      got += size_t(n);
    }
    if (got != size_t(st.st_size)) result = PackageRead::Unreadable;
    bytes.resize(got);
  }
  close(fd);
  if (result != PackageRead::Read) bytes.clear();
  return result;
}

bool replace_package_file(const std::string& path, std::string_view bytes) {
  const std::string part = path + ".part";
  int fd = open(part.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) return false;
  bool ok = write_all(fd, bytes) && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  ok = ok && rename(part.c_str(), path.c_str()) == 0;
  if (!ok) unlink(part.c_str());
  return ok;
}
