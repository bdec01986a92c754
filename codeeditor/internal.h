#pragma once
// Helpers shared by the code editor's own files.
#include <string>
#include <string_view>

#include "codeeditor/code_editor.h"

namespace codeeditor::detail {

inline sptr_t send(const CodeEditor& e, unsigned int message, uptr_t wparam = 0, sptr_t lparam = 0) {
  return e.direct_function(e.direct_pointer, message, wparam, lparam);
}
inline sptr_t send_text(const CodeEditor& e, unsigned int message, uptr_t wparam,
                        const char* text) {
  return send(e, message, wparam, reinterpret_cast<sptr_t>(text));
}

// The word-map key of a word, written into `out` (reused to avoid allocating).
void word_key_into(const CodeEditor& e, std::string_view word, std::string& out);
// The entry of a key, nullptr when none.
EditorWord* find_word(const CodeEditor& e, const std::string& key);
// The one-character word for a character code below 256, nullptr when none.
EditorWord* single_char_word(const CodeEditor& e, unsigned code);
// The first code point of UTF-8 text (the byte itself when not valid UTF-8).
unsigned first_code_point(std::string_view text);

void restyle_all(CodeEditor& e);

}  // namespace codeeditor::detail
