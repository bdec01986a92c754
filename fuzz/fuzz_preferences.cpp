// preferences.dat as a person or a damaged disk may leave it: reading never
// fails, what the rewrite writes reads back as the values it wrote, and a
// rewritten file rewrites to itself.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "maker/project/preferences.h"
#include "maker/project/state.h"

namespace {

std::string numbers() {
  std::string s;
  for (int v : {pref_color_text, pref_color_selection_back, pref_color_selection_fore,
                pref_color_command, pref_color_comment, pref_color_function, pref_color_number,
                pref_color_resource, pref_color_string, pref_color_constant,
                pref_color_engine_function, pref_color_engine_variable, pref_color_caret,
                pref_font_size, pref_code_window_x, pref_code_window_y, pref_code_window_width,
                pref_code_window_height, pref_code_window_maximized, pref_add_file_protocol,
                pref_check_version_at_startup, pref_generate_index_html, pref_confirm_exit})
    s += std::to_string(v) + " ";
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  read_preferences_from(bytes);
  const std::string read = numbers();
  const std::string written = rewrite_preferences(bytes);
  if (written.compare(0, 4, "\xEF\xBB\xBF\n") != 0) std::abort();
  read_preferences_from(written);
  if (numbers() != read) std::abort();
  if (rewrite_preferences(written) != written) std::abort();
  return 0;
}
