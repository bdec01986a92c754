#include "maker/codewindows/javascript_setup.h"

#include <string>
#include <string_view>

#include "codeeditor/code_editor.h"
#include "maker/project/state.h"

using namespace codeeditor;

namespace {

constexpr const char* kJavaScriptSeparators = "=+-*/%()[],.|&;";

constexpr int kStyleResource = 7, kStyleEngineFunction = 8, kStyleEngineVariable = 9,
              kStyleConstant = 10;

// Collects words for one addition. Adding one name at a time and sorting
// after each gives the same table as adding a run of names and sorting once
// (keys are unique, so the sort is total); this keeps the set-up linear.
struct WordBatch {
  std::string words;
  void add(std::string_view name) {
    while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) name.remove_prefix(1);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
    if (name.empty()) return;
    if (!words.empty()) words += ' ';
    words += name;
  }
  // Adds the batch; the number of words added.
  int flush(int widget, int style) {
    int n = editor_add_words(widget, words, style, kWordKeyword);
    words.clear();
    return n;
  }
};

template <class List>
void add_names(WordBatch& batch, const List& list) {
  for (const auto& record : list) batch.add(record.name);
}

int keyword_style(const std::string& kind) {
  if (kind == "Fn") return kStyleEngineFunction;
  if (kind == "Var") return kStyleEngineVariable;
  if (kind == "Cons") return kStyleConstant;
  return -1;
}

bool is_word_char(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }

}  // namespace

void setup_javascript_editor(int widget) {
  if (!code_editor_of(widget)) return;
  // The Preferences store what was typed; a font no one could read (lines a
  // few pixels high, or a few letters filling the window) gives way to the
  // start values here.
  const std::string family = pref_font_family.empty() ? kStartFontFamily : pref_font_family;
  const bool readable =
      pref_font_size >= kSmallestEditorFontSize && pref_font_size <= kLargestEditorFontSize;
  const int size = readable ? pref_font_size : kStartFontSize;
  editor_setup_javascript(
      widget, {pref_color_text, pref_color_selection_back, pref_color_selection_fore,
               pref_color_caret, family, size, pref_color_command,
               pref_color_comment, pref_color_engine_function, pref_color_engine_variable,
               pref_color_constant, pref_color_resource, pref_color_string, pref_color_number,
               pref_color_function});

  WordBatch batch;
  add_names(batch, g_sprites);
  add_names(batch, g_sounds);
  add_names(batch, g_musics);
  add_names(batch, g_backgrounds);
  add_names(batch, g_fonts);
  for (const GameObject& o : g_objects)
    if (o.is_prototype == 1) batch.add(o.name);
  add_names(batch, g_scenes);
  int added = batch.flush(widget, kStyleResource);

  // Runs of one kind keep the table's order, so the last addition of a word
  // still decides its style.
  int run_style = -1;
  for (const Keyword& k : g_keywords) {
    int style = keyword_style(k.kind);
    if (style == -1) continue;
    if (style != run_style) added += batch.flush(widget, run_style);
    run_style = style;
    batch.add(k.word);
  }
  added += batch.flush(widget, run_style);
  if (added > 0) {
    editor_sort_words(widget);
    editor_restyle(widget, 0, -1, -1);
  }

  editor_finish_javascript(widget, kJavaScriptSeparators);
}

int editor_keyword_at_caret(int widget) {
  if (!code_editor_of(widget)) return -1;
  sptr_t caret = editor_send(widget, SCI_GETCURRENTPOS);
  int line = int(editor_send(widget, SCI_LINEFROMPOSITION, caret));
  // The caret's offset in the line's bytes; word characters are ASCII, so a
  // byte scan finds the same words as a character scan.
  size_t offset = size_t(caret - editor_send(widget, SCI_POSITIONFROMLINE, line));
  std::string text = editor_get_line(widget, line);
  size_t start = 0;
  if (offset < text.size() && is_word_char(text[offset])) {
    start = offset;
    while (start > 0 && is_word_char(text[start - 1])) --start;
  }
  while (start < text.size() && !is_word_char(text[start])) ++start;
  size_t end = start;
  while (end < text.size() && is_word_char(text[end])) ++end;
  std::string word = text.substr(start, end - start);
  for (int i = 0; i < g_keywords.count(); ++i)
    if (g_keywords[i].word == word && !g_keywords[i].help_line1.empty()) return i;
  return -1;
}
