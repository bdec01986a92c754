#pragma once
// Appending pieces of generated JavaScript to one growing text, without the
// temporaries that `a + b + c` would build for every record.
#include <charconv>
#include <string>
#include <string_view>

namespace js {

inline constexpr std::string_view kNewLine = "\r\n";

inline void put_one(std::string& out, std::string_view text) { out.append(text); }

inline void put_one(std::string& out, int number) {
  char digits[16];
  auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
  out.append(digits, size_t(end - digits));
}

// put(out, a, b, c) appends a, then b, then c; numbers in decimal.
template <class... Parts>
void put(std::string& out, const Parts&... parts) {
  (put_one(out, parts), ...);
}

// A name written as a bare identifier, or null when it is empty.
inline std::string_view name_or_null(const std::string& name) {
  return name.empty() ? std::string_view("null") : std::string_view(name);
}

}  // namespace js
