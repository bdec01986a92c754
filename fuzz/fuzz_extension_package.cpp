// An extension package of any bytes: the texts are valid UTF-8, hold no line
// end but the CRs that separate lines, and stay within the input's size.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "maker/project/extensions.h"

namespace {

bool valid_utf8(const std::string& s) {
  for (size_t i = 0; i < s.size();) {
    unsigned char c = s[i];
    size_t n = c < 0x80 ? 1 : c >= 0xC2 && c < 0xE0 ? 2 : c >= 0xE0 && c < 0xF0 ? 3 : c >= 0xF0 && c < 0xF5 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return false;
    i += n;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  ExtensionInfo e = parse_extension_package(bytes);
  for (const std::string* text : {&e.title, &e.author, &e.description, &e.help, &e.code}) {
    if (!valid_utf8(*text) || text->find('\n') != std::string::npos) std::abort();
    // At most three bytes (U+FFFD) per input byte, plus a CR per line end.
    if (text->size() > 3 * size + 1) std::abort();
  }
  for (const std::string* text : {&e.title, &e.author})
    if (text->find('\r') != std::string::npos) std::abort();
  size_t lines = 0;
  for (const std::string& line : split_text_lines(bytes)) lines += line.size() + 1;
  if (lines > size + 1) std::abort();
  return 0;
}
