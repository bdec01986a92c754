// An extension package of any bytes as quillop-extmaker opens it: the texts
// are valid UTF-8 without NUL, name and author are one line, the other texts
// are lines each ended by CR LF with no empty one, and what was read is
// saved and opened again unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include <glib.h>

#include "extmaker/package.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

bool is_header(const std::string& text) {
  for (std::string_view h : {"[EXTENSION]", "[AUTHOR]", "[DESCRIPTION]", "[HELP]", "[CODE]"})
    if (text == h) return true;
  return false;
}

// Lines each ended by CR LF, none empty, no other CR or LF.
bool crlf_lines(const std::string& text) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos || end == start || text.compare(end, 2, "\r\n") != 0) return false;
    start = end + 2;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const ExtensionFields f = read_extension_package(bytes);
  for (const std::string* text : {&f.name, &f.author, &f.description, &f.help, &f.code}) {
    check(g_utf8_validate(text->data(), gssize(text->size()), nullptr));
    // Three bytes of U+FFFD at most per input byte, and a CR LF per line end.
    check(text->size() <= 3 * size + 2);
  }
  for (const std::string* text : {&f.name, &f.author})
    check(text->find_first_of("\r\n") == std::string::npos);
  for (const std::string* text : {&f.description, &f.help, &f.code}) check(crlf_lines(*text));
  // Joined name or author lines can spell a header, which saving cannot keep.
  if (!is_header(f.name) && !is_header(f.author))
    check(read_extension_package(extension_package_bytes(f)) == f);
  return 0;
}
