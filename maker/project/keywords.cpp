#include "maker/project/keywords.h"

#include <iterator>
#include <string_view>

#include "toolkit/files.h"
#include "maker/project/state.h"

namespace {

// The engine's word list is a few hundred records; anything far larger is
// not one and would only fill memory.
constexpr size_t kMaxKeywordsBytes = 4 << 20;

// The engine's key constants, in character order.
const char* const kKeyConstants[] = {
    "vk_0", "vk_1", "vk_2", "vk_3", "vk_4", "vk_5", "vk_6", "vk_7", "vk_8", "vk_9",
    "vk_a", "vk_add", "vk_alt", "vk_b", "vk_backspace", "vk_c", "vk_ctrl", "vk_d",
    "vk_decimal", "vk_delete", "vk_divide", "vk_down", "vk_e", "vk_end", "vk_enter",
    "vk_escape", "vk_f", "vk_f1", "vk_f10", "vk_f11", "vk_f12", "vk_f2", "vk_f3", "vk_f4",
    "vk_f5", "vk_f6", "vk_f7", "vk_f8", "vk_f9", "vk_g", "vk_h", "vk_home", "vk_i",
    "vk_insert", "vk_j", "vk_k", "vk_l", "vk_left", "vk_m", "vk_multiply", "vk_n",
    "vk_num0", "vk_num1", "vk_num2", "vk_num3", "vk_num4", "vk_num5", "vk_num6", "vk_num7",
    "vk_num8", "vk_num9", "vk_o", "vk_p", "vk_pagedown", "vk_pageup", "vk_pause", "vk_q",
    "vk_r", "vk_right", "vk_s", "vk_shift", "vk_space", "vk_subtract", "vk_t", "vk_tab",
    "vk_u", "vk_up", "vk_v", "vk_w", "vk_x", "vk_y", "vk_z",
};
static_assert(std::size(kKeyConstants) == 82);

// The next line of `rest` without its end (LF, CR or CR LF); "" at the end.
std::string next_line(std::string_view& rest) {
  size_t end = rest.find_first_of("\r\n");
  std::string line(rest.substr(0, end));
  if (end == rest.npos) {
    rest = {};
  } else {
    bool crlf = rest[end] == '\r' && end + 1 < rest.size() && rest[end + 1] == '\n';
    rest.remove_prefix(end + (crlf ? 2 : 1));
  }
  return line;
}

const char* kind_of_prefix(char prefix) {
  switch (prefix) {
    case '.': return "Var";
    case '!': return "Fn";
    case '#': return "Cons";
    default: return nullptr;
  }
}

}  // namespace

void add_keyword(const std::string& word, const std::string& kind,
                 const std::string& help_line1, const std::string& help_line2) {
  g_keywords.append({word, kind, help_line1, help_line2});
}

void add_keywords_from(const std::string& bytes) {
  std::string_view rest = bytes;
  while (!rest.empty()) {
    std::string first = next_line(rest);
    std::string help1 = next_line(rest);
    std::string help2 = next_line(rest);
    // A lone prefix names no word that code could contain.
    const char* kind = first.size() > 1 ? kind_of_prefix(first[0]) : nullptr;
    if (kind) add_keyword(first.substr(1), kind, help1, help2);
  }
}

void load_keywords_file() {
  std::string bytes;
  if (tk::read_small_file(kKeywordsFile, kMaxKeywordsBytes, bytes) == tk::FileRead::Read)
    add_keywords_from(bytes);
}

void fill_keyword_table() {
  load_keywords_file();
  for (const char* word : kKeyConstants) add_keyword(word, "Cons", "", "");
}
