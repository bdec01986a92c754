#pragma once
// The code editor component: one Scintilla widget (a toolkit widget under a
// number) whose colouring, folding and line state the component computes
// itself from a word table, answering Scintilla's style-needed notifications.
//
// Every operation takes the editor's widget number first; on a number that is
// not a code editor it does nothing and returns 0 or "".
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>

#include <Scintilla.h>

namespace codeeditor {

// Word flags.
constexpr int kWordDelimited = 0x1;        // runs from this character to close_char
constexpr int kWordToLineEnd = 0x2;
constexpr int kWordPrefix = 0x4;           // hands its style on to the next token
constexpr int kWordPrefixAdjacent = 0x8;   // ... when that token follows without a blank
constexpr int kWordSuffix = 0x10;          // a word followed by it takes its style
constexpr int kWordSuffixAdjacent = 0x20;  // ... only when directly adjacent
constexpr int kWordSeparatorBits = 0xFFFFF;
constexpr int kWordNotSeparator = 0x10000;
constexpr int kWordFoldOpen = 0x100000;
constexpr int kWordFoldOpenFirst = 0x200000;  // counts only while the line's delta is 0
constexpr int kWordFoldClose = 0x400000;
constexpr int kWordKeyword = 0x800000;        // offered by the completion list

// Editor flags.
constexpr int kEditorLineNumbers = 1;
constexpr int kEditorCaseSensitive = 2;

// Editing options.
constexpr int kOptionColouring = 0x1;
constexpr int kOptionCompletion = 0x2;
constexpr int kOptionFolding = 0xc;
constexpr int kOptionFoldAnyLine = 0x8;
constexpr int kOptionCallTips = 0x10;
constexpr int kOptionAutoIndent = 0x20;

// Styles the component uses itself.
constexpr int kStyleDefault = 32;
constexpr int kStyleLineNumber = 33;
constexpr int kStyleCallTip = 38;
constexpr int kStyleMask = 0x1f;

constexpr int kFoldBase = 0x400;
constexpr int kFoldHeader = 0x2000;

struct EditorWord {
  std::string word;  // as last added, in its own case
  int style = 0;
  int flags = 0;
  unsigned char close_char = 0;
  // Call-tip texts: nothing fills them.
  std::string calltip_name, calltip_parameters, calltip_help;
  std::string key;  // the word-map key (lower-cased unless case-sensitive)
};

struct CodeEditor;
// Called with (widget, notification) after the component's own handling.
using NotifyCallback = void (*)(int widget, SCNotification* notification);
// A language styler: styles one line; returns 1 when the following lines
// must be restyled too.
using LineStyler = int (*)(int widget, const char* bytes, int length, int line, int from_line,
                           int to_line);

struct CodeEditor {
  int widget = 0;
  NotifyCallback notify_callback = nullptr;
  int flags = 0;
  int options = 0;
  LineStyler line_styler = nullptr;
  std::string separators;
  int number_style = kStyleDefault;
  std::list<EditorWord> words;  // stable addresses: the map points into it
  std::unordered_map<std::string, EditorWord*> word_map;
  int fold_delta = 0;
  int fold_level = kFoldBase;
  int pending_style = kStyleDefault;
  const char* token_end = nullptr;
  int completion_min_length = 3;
  // Bytes of typed word that the choice from a completion list shown without
  // Scintilla's filter replaces; 0 while Scintilla's own list is shown.
  int completion_replaces = 0;
  int calltip_position = -1, calltip_line = -1, calltip_word = -1;

  // Lookup tables derived from separators and the one-character words, so
  // that the per-byte separator test needs no hashing.
  bool separator_char[256] = {};
  EditorWord* single_char[256] = {};
  // Scintilla's direct call, faster than the signal-free message route.
  SciFnDirect direct_function = nullptr;
  sptr_t direct_pointer = 0;
};

// ---- creation ----
int create_code_editor(int widget, int x, int y, int width, int height, NotifyCallback notify,
                       int flags);
void free_code_editor(int widget);
// The record of a code editor, nullptr when the number names none.
CodeEditor* code_editor_of(int widget);

// ---- words ----
int editor_add_words(int widget, const std::string& words, int style, int flags);
int editor_add_keywords(int widget, const std::string& words, int style, int flags, int sort);
int editor_add_delimiters(int widget, const std::string& open, const std::string& close, int flags,
                          int style);
EditorWord* editor_word_style(int widget, const std::string& word);
// Sorts the words list by word text (without regard to case unless the
// editor is case-sensitive).
void editor_sort_words(int widget);

// ---- appearance ----
void editor_update_line_number_margin(int widget);
void editor_set_color(int widget, int role, int colour);
void editor_set_font(int widget, const std::string& family, int size, int font_flags);
void editor_set_style_font(int widget, int style, const std::string& family, int size,
                           int font_flags);
void editor_set_style_colors(int widget, int style, int foreground, int background);
void editor_set_operator_chars(int widget, int which, const std::string& value);
void editor_set_operator_chars(int widget, int which, int value);
void editor_set_style_options(int widget, int options);
LineStyler editor_set_line_styler(int widget, LineStyler styler);
void editor_set_margin_width(int widget, int margin, int width);
void editor_set_tabs(int widget, int tab_width, int spaces);

// ---- text ----
void editor_set_text(int widget, const std::string& text, int empty_undo);
std::string editor_get_text(int widget);
std::string editor_get_line(int widget, int line);
int editor_get_line_state(int widget, int line);
int editor_set_line_state(int widget, int line, int state);

// ---- styling ----
int editor_restyle(int widget, int from_line, int to_line, sptr_t end_position);
int editor_style_range(int widget, const char* bytes, int length);
// flags_out: bit 0 the token is blanks, bit 1 a delimited range was closed.
int editor_style_text(CodeEditor* editor, const char* bytes, int length, int measure_only,
                      EditorWord** word_out, int* flags_out);
int editor_style_token(int widget, const char* bytes, int length);
int editor_scan_number(CodeEditor* editor, const char* bytes, int length, int* digits_out);
int editor_is_separator(CodeEditor* editor, unsigned char byte, EditorWord** word_out);
int javascript_lexer(int widget, const char* bytes, int length, int line, int from_line,
                     int to_line);
int javascript_block_comment(int widget, const char* bytes, int length, int* state);

// ---- JavaScript ----
// The look of a JavaScript editor: colours as red + 256 green + 65536 blue.
struct JavaScriptLook {
  int text, selection_back, selection_fore, caret_line;
  std::string font_family;
  int font_size;
  int command, comment, engine_function, engine_variable, constant, resource, string, number,
      function;
};
// Colours, font, tabs, line-number margin, the styles, strings, calls, the
// JavaScript keywords and the folding braces.
void editor_setup_javascript(int widget, const JavaScriptLook& look);
// The separators, the number style, the options and the JavaScript styler:
// the last steps, after any further words.
void editor_finish_javascript(int widget, const std::string& separators);

// ---- notifications ----
int editor_notify(int widget, SCNotification* notification);
void editor_autocomplete(CodeEditor* editor);
// The completion list for a typed word: the keywords beginning with it,
// separated by single spaces, in words-list order.
std::string editor_completion_list(const CodeEditor& editor, const std::string& typed);

// ---- sending messages ----
sptr_t editor_send(int widget, unsigned int message, uptr_t wparam = 0, sptr_t lparam = 0);
// The word-map key of a text.
std::string editor_word_key(const CodeEditor& editor, std::string_view word);

}  // namespace codeeditor
