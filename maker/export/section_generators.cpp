#include <string>

#include "maker/export/generators.h"
#include "maker/export/js_text.h"
#include "maker/project/state.h"

std::string gen_version_js() {
  const std::string digits = std::to_string(g_file_version);
  std::string out = "v";
  for (size_t i = 0; i < 3; ++i) {
    if (i > 0) out += '.';
    if (i < digits.size()) out += digits[i];
  }
  return out;
}

void append_extensions_js(std::string& out) {
  size_t size = 0;
  for (const ExtensionInfo& e : g_installed_extensions)
    if (e.enabled) size += e.title.size() + e.author.size() + e.code.size() + 16;
  out.reserve(out.size() + size + 2 * size_t(g_installed_extensions.count()));
  for (const ExtensionInfo& e : g_installed_extensions) {
    if (e.enabled) js::put(out, "/* ", e.title, " by ", e.author, " */", js::kNewLine, e.code);
    js::put(out, js::kNewLine);
  }
}

std::string gen_extensions_js() {
  std::string out;
  append_extensions_js(out);
  return out;
}

std::string gen_global_variables_js() { return g_game_settings[0].global_variables; }
std::string gen_global_functions_js() { return g_game_settings[0].global_functions; }
