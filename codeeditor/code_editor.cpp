// The code editor record, its creation and release, the word table and the
// colour, font, tab, margin and text settings.
#include "codeeditor/code_editor.h"

#include <glib.h>

#include <algorithm>
#include <new>

#include "codeeditor/internal.h"
#include "codeeditor/scintilla_widget.h"
#include "toolkit/gtk_access.h"
#include "toolkit/widgets.h"

namespace codeeditor {

using namespace detail;

namespace {

GQuark record_quark() {
  static const GQuark quark = g_quark_from_static_string("quillop-code-editor");
  return quark;
}

void delete_record(gpointer data) { delete static_cast<CodeEditor*>(data); }

CodeEditor* record_of_gtk(GtkWidget* sci) {
  return static_cast<CodeEditor*>(g_object_get_qdata(G_OBJECT(sci), record_quark()));
}

// Notifications reach the record through the GTK widget, and count only while
// the widget still holds its number (a freed editor's number may already name
// a new one).
void on_notify(GtkWidget* sci, gint, SCNotification* notification, gpointer) {
  CodeEditor* e = record_of_gtk(sci);
  if (!e || code_editor_of(e->widget) != e) return;
  editor_notify(e->widget, notification);
}

struct Marker {
  int number, symbol, fore, back;
};
constexpr int kNoColour = -1;
constexpr Marker kFoldMarkers[] = {
    {SC_MARKNUM_FOLDEROPEN, SC_MARK_BOXMINUS, 0xFFFFFF, 0},
    {SC_MARKNUM_FOLDER, SC_MARK_BOXPLUS, 0xFFFFFF, 0},
    {SC_MARKNUM_FOLDERSUB, SC_MARK_VLINE, kNoColour, 0},
    {SC_MARKNUM_FOLDERTAIL, SC_MARK_LCORNER, kNoColour, 0},
    {SC_MARKNUM_FOLDEREND, SC_MARK_BOXPLUSCONNECTED, 0xFFFFFF, 0},
    {SC_MARKNUM_FOLDEROPENMID, SC_MARK_BOXMINUSCONNECTED, 0xFFFFFF, 0},
    {SC_MARKNUM_FOLDERMIDTAIL, SC_MARK_TCORNER, kNoColour, 0},
};

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim_blanks(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

// The code of a one-character text below 256, or -1.
int single_char_code(std::string_view text) {
  if (text.size() == 1) return static_cast<unsigned char>(text[0]);
  if (text.size() != 2 || !g_utf8_validate(text.data(), 2, nullptr)) return -1;
  gunichar c = g_utf8_get_char(text.data());
  return c < 256 ? int(c) : -1;
}

unsigned fold_case(const CodeEditor& e, unsigned code) {
  return (e.flags & kEditorCaseSensitive) ? code : unsigned(g_unichar_tolower(code));
}

void rebuild_separator_table(CodeEditor& e) {
  std::fill(std::begin(e.separator_char), std::end(e.separator_char), false);
  const std::string& s = e.separators;
  if (g_utf8_validate(s.data(), gssize(s.size()), nullptr)) {
    for (const char* p = s.data(); p < s.data() + s.size(); p = g_utf8_next_char(p)) {
      gunichar c = g_utf8_get_char(p);
      if (c < 256) e.separator_char[c] = true;
    }
  } else {
    for (unsigned char c : s) e.separator_char[c] = true;
  }
}

}  // namespace

namespace detail {

void word_key_into(const CodeEditor& e, std::string_view word, std::string& out) {
  out.assign(word);
  if (e.flags & kEditorCaseSensitive) return;
  bool ascii = true;
  for (char& c : out) {
    if (static_cast<unsigned char>(c) >= 0x80) ascii = false;
    else if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  }
  if (!ascii && g_utf8_validate(out.data(), gssize(out.size()), nullptr)) {
    gchar* down = g_utf8_strdown(out.data(), gssize(out.size()));
    out = down;
    g_free(down);
  }
}

EditorWord* find_word(const CodeEditor& e, const std::string& key) {
  auto it = e.word_map.find(key);
  return it == e.word_map.end() ? nullptr : it->second;
}

EditorWord* single_char_word(const CodeEditor& e, unsigned code) {
  if (code >= 256) return nullptr;
  unsigned folded = fold_case(e, code);
  return folded < 256 ? e.single_char[folded] : nullptr;
}

unsigned first_code_point(std::string_view text) {
  if (text.empty()) return 0;
  unsigned char b = static_cast<unsigned char>(text[0]);
  if (b < 0x80) return b;
  gunichar c = g_utf8_get_char_validated(text.data(), gssize(text.size()));
  return c < 0x110000 ? c : b;
}

void restyle_all(CodeEditor& e) { editor_restyle(e.widget, 0, -1, -1); }

}  // namespace detail

CodeEditor* code_editor_of(int widget) {
  if (tk::widget_kind(widget) != tk::WidgetKind::Foreign) return nullptr;
  GtkWidget* w = tk::gtk_widget_of(widget);
  if (!w || !IS_SCINTILLA(w)) return nullptr;
  return record_of_gtk(w);
}

sptr_t editor_send(int widget, unsigned int message, uptr_t wparam, sptr_t lparam) {
  CodeEditor* e = code_editor_of(widget);
  return e ? send(*e, message, wparam, lparam) : 0;
}

std::string editor_word_key(const CodeEditor& editor, std::string_view word) {
  std::string key;
  word_key_into(editor, word, key);
  return key;
}

int create_code_editor(int widget, int x, int y, int width, int height, NotifyCallback notify,
                       int flags) {
  auto* e = new (std::nothrow) CodeEditor;
  if (!e) return 0;
  GtkWidget* sci = new_scintilla_widget();
  g_signal_connect(sci, SCINTILLA_NOTIFY, G_CALLBACK(on_notify), nullptr);
  int number = tk::adopt_widget(widget < 0 ? tk::kAny : widget, sci, x, y, width, height);
  if (number < 0) {
    delete e;
    return 0;
  }
  e->widget = number;
  e->notify_callback = notify;
  e->flags = flags;
  e->options = kOptionColouring | 0x4;
  e->direct_function =
      reinterpret_cast<SciFnDirect>(scintilla_send(sci, SCI_GETDIRECTFUNCTION));
  e->direct_pointer = scintilla_send(sci, SCI_GETDIRECTPOINTER);

  send(*e, SCI_SETCODEPAGE, SC_CP_UTF8);
  send(*e, SCI_SETILEXER, 0, 0);  // the container styles
  send(*e, SCI_SETMARGINWIDTHN, 1, 0);
  send(*e, SCI_SETMARGINSENSITIVEN, 2, 1);
  send(*e, SCI_SETMARGINMASKN, 2, sptr_t(SC_MASK_FOLDERS));
  for (const Marker& m : kFoldMarkers) {
    send(*e, SCI_MARKERDEFINE, m.number, m.symbol);
    if (m.fore != kNoColour) send(*e, SCI_MARKERSETFORE, m.number, m.fore);
    send(*e, SCI_MARKERSETBACK, m.number, m.back);
  }
  send(*e, SCI_STYLECLEARALL);
  // Only insertions and deletions matter to the handler; the styler's own
  // writes (a style change per token) must not come back as notifications.
  send(*e, SCI_SETMODEVENTMASK, SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT);
  // The record is hung on the widget now so that the margin can be sized
  // through the ordinary entry; GTK frees it with the widget.
  g_object_set_qdata_full(G_OBJECT(sci), record_quark(), e, delete_record);
  editor_update_line_number_margin(number);
  send(*e, SCI_AUTOCSETIGNORECASE, (flags & kEditorCaseSensitive) ? 0 : 1);
  e->calltip_position = e->calltip_line = e->calltip_word = -1;
  send(*e, SCI_CALLTIPUSESTYLE, 0);
  send(*e, SCI_SETMARGINMASKN, 1, 1);
  send(*e, SCI_MARKERDEFINE, 0, SC_MARK_SHORTARROW);
  return number;
}

void free_code_editor(int widget) {
  if (!code_editor_of(widget)) return;
  g_object_set_qdata(G_OBJECT(tk::gtk_widget_of(widget)), record_quark(), nullptr);
  tk::free_widget(widget);
}

// ---- words ----

int editor_add_words(int widget, const std::string& words, int style, int flags) {
  CodeEditor* e = code_editor_of(widget);
  std::string_view list = trim_blanks(words);
  if (!e || list.empty()) return 0;
  int count = 0;
  std::string key;
  for (size_t start = 0;;) {
    size_t space = list.find(' ', start);
    std::string_view field = list.substr(start, space == std::string_view::npos ? space : space - start);
    word_key_into(*e, field, key);
    EditorWord* w = find_word(*e, key);
    if (!w) {
      auto at = e->words.empty() ? e->words.end() : std::next(e->words.begin());
      auto it = e->words.insert(at, EditorWord{});
      w = &*it;
      w->key = key;
      e->word_map.emplace(key, w);
      int code = single_char_code(key);
      if (code >= 0) e->single_char[code] = w;
    }
    w->word.assign(field);
    if (style != -1) w->style = style;
    w->flags |= flags;
    ++count;
    if (space == std::string_view::npos) break;
    start = space + 1;
  }
  return count;
}

void editor_sort_words(int widget) {
  CodeEditor* e = code_editor_of(widget);
  if (!e) return;
  if (e->flags & kEditorCaseSensitive)
    e->words.sort([](const EditorWord& a, const EditorWord& b) { return a.word < b.word; });
  else
    e->words.sort([](const EditorWord& a, const EditorWord& b) { return a.key < b.key; });
}

int editor_add_keywords(int widget, const std::string& words, int style, int flags, int sort) {
  CodeEditor* e = code_editor_of(widget);
  if (!e) return 0;
  if (editor_add_words(widget, words, style, flags) > 0) {
    if (sort) editor_sort_words(widget);
    restyle_all(*e);
  }
  return 0;
}

int editor_add_delimiters(int widget, const std::string& open, const std::string& close, int flags,
                          int style) {
  CodeEditor* e = code_editor_of(widget);
  if (!e || open.empty() || ((flags & kWordDelimited) && close.empty())) return 0;
  if (editor_add_words(widget, open, style, flags) > 0) {
    if (flags & kWordDelimited) {
      if (EditorWord* w = editor_word_style(widget, open))
        w->close_char = static_cast<unsigned char>(first_code_point(close) & 0xFF);
    }
    restyle_all(*e);
  }
  return 0;
}

EditorWord* editor_word_style(int widget, const std::string& word) {
  CodeEditor* e = code_editor_of(widget);
  if (!e) return nullptr;
  std::string key;
  word_key_into(*e, trim_blanks(word), key);
  return find_word(*e, key);
}

// ---- appearance ----

void editor_update_line_number_margin(int widget) {
  CodeEditor* e = code_editor_of(widget);
  if (!e || !(e->flags & kEditorLineNumbers)) return;
  std::string nines(std::to_string(send(*e, SCI_GETLINECOUNT)).size(), '9');
  sptr_t width = send_text(*e, SCI_TEXTWIDTH, kStyleLineNumber, nines.c_str());
  send(*e, SCI_SETMARGINWIDTHN, 0, width + 10);
}

void editor_set_color(int widget, int role, int colour) {
  CodeEditor* e = code_editor_of(widget);
  if (!e) return;
  static constexpr int kAllFoldMarkers[] = {31, 30, 29, 28, 25, 26, 27};
  static constexpr int kBoxFoldMarkers[] = {31, 30, 25, 26};
  switch (role) {
    case 1:
      send(*e, SCI_STYLESETBACK, kStyleDefault, colour);
      send(*e, SCI_STYLECLEARALL);
      break;
    case 2:
      send(*e, SCI_STYLESETFORE, kStyleDefault, colour);
      send(*e, SCI_STYLECLEARALL);
      break;
    case 3: send(*e, SCI_SETSELBACK, 1, colour); break;
    case 4: send(*e, SCI_SETSELFORE, 1, colour); break;
    case 5: send(*e, SCI_STYLESETBACK, kStyleLineNumber, colour); break;
    case 6: send(*e, SCI_STYLESETFORE, kStyleLineNumber, colour); break;
    case 7:
      if (colour == -1) {
        send(*e, SCI_SETCARETLINEVISIBLE, 0);
      } else {
        send(*e, SCI_SETCARETLINEBACK, colour);
        send(*e, SCI_SETCARETLINEVISIBLE, 1);
      }
      break;
    case 8: send(*e, SCI_SETCARETFORE, colour); break;
    case 9: send(*e, SCI_STYLESETBACK, kStyleCallTip, colour); break;
    case 10: send(*e, SCI_STYLESETFORE, kStyleCallTip, colour); break;
    case 11: send(*e, SCI_CALLTIPSETFOREHLT, colour); break;
    case 12: send(*e, SCI_MARKERSETBACK, 0, colour); break;
    case 13: send(*e, SCI_MARKERSETFORE, 0, colour); break;
    case 14: send(*e, SCI_SETFOLDMARGINCOLOUR, 1, colour); break;
    case 15: send(*e, SCI_SETFOLDMARGINHICOLOUR, 1, colour); break;
    case 16:
      for (int m : kAllFoldMarkers) send(*e, SCI_MARKERSETBACK, m, colour);
      break;
    case 17:
      for (int m : kBoxFoldMarkers) send(*e, SCI_MARKERSETFORE, m, colour);
      break;
    default: break;
  }
}

void editor_set_style_font(int widget, int style, const std::string& family, int size,
                           int font_flags) {
  CodeEditor* e = code_editor_of(widget);
  if (!e) return;
  if (!family.empty()) send_text(*e, SCI_STYLESETFONT, style, family.c_str());
  if (size != -1) send(*e, SCI_STYLESETSIZE, style, size);
  if (font_flags != -1) {
    send(*e, SCI_STYLESETBOLD, style, font_flags & 1);
    send(*e, SCI_STYLESETITALIC, style, (font_flags >> 1) & 1);
    send(*e, SCI_STYLESETUNDERLINE, style, 0);
  }
  if (style == kStyleLineNumber) editor_update_line_number_margin(widget);
}

void editor_set_font(int widget, const std::string& family, int size, int font_flags) {
  CodeEditor* e = code_editor_of(widget);
  if (!e) return;
  editor_set_style_font(widget, kStyleDefault, family, size, font_flags);
  send(*e, SCI_STYLECLEARALL);
  editor_update_line_number_margin(widget);
}

void editor_set_style_colors(int widget, int style, int foreground, int background) {
  CodeEditor* e = code_editor_of(widget);
  if (!e) return;
  if (foreground != -1) send(*e, SCI_STYLESETFORE, style, foreground);
  if (background != -1) send(*e, SCI_STYLESETBACK, style, background);
}

void editor_set_operator_chars(int widget, int which, const std::string& value) {
  CodeEditor* e = code_editor_of(widget);
  if (!e || which != 1 || e->separators == value) return;
  e->separators = value;
  rebuild_separator_table(*e);
  restyle_all(*e);
}

void editor_set_operator_chars(int widget, int which, int value) {
  CodeEditor* e = code_editor_of(widget);
  if (!e || which != 2 || e->number_style == value) return;
  e->number_style = value;
  restyle_all(*e);
}

void editor_set_style_options(int widget, int options) {
  CodeEditor* e = code_editor_of(widget);
  if (!e) return;
  int changed = e->options ^ options;
  e->options = options;
  if (changed & (kOptionColouring | kOptionFolding)) restyle_all(*e);
}

LineStyler editor_set_line_styler(int widget, LineStyler styler) {
  CodeEditor* e = code_editor_of(widget);
  if (!e) return nullptr;
  LineStyler previous = e->line_styler;
  e->line_styler = styler;
  restyle_all(*e);
  return previous;
}

void editor_set_margin_width(int widget, int margin, int width) {
  CodeEditor* e = code_editor_of(widget);
  if (!e) return;
  if (margin == 0 && (e->flags & kEditorLineNumbers)) return;
  send(*e, SCI_SETMARGINWIDTHN, margin, std::max(0, width));
}

void editor_set_tabs(int widget, int tab_width, int spaces) {
  CodeEditor* e = code_editor_of(widget);
  if (!e) return;
  send(*e, SCI_SETTABWIDTH, tab_width);
  send(*e, SCI_SETUSETABS, 1 - spaces);
}

// ---- text ----

void editor_set_text(int widget, const std::string& text, int empty_undo) {
  CodeEditor* e = code_editor_of(widget);
  if (!e) return;
  send_text(*e, SCI_SETTEXT, 0, text.c_str());
  if (empty_undo) send(*e, SCI_EMPTYUNDOBUFFER);
  restyle_all(*e);
}

std::string editor_get_text(int widget) {
  CodeEditor* e = code_editor_of(widget);
  if (!e) return "";
  try {
    std::string text(size_t(send(*e, SCI_GETTEXTLENGTH)) + 1, '\0');
    send_text(*e, SCI_GETTEXT, text.size(), text.data());
    text.pop_back();
    return text;
  } catch (const std::bad_alloc&) {
    return "";
  }
}

std::string editor_get_line(int widget, int line) {
  CodeEditor* e = code_editor_of(widget);
  if (!e || line < 0 || line >= send(*e, SCI_GETLINECOUNT)) return "";
  try {
    std::string text(size_t(send(*e, SCI_LINELENGTH, line)), '\0');
    send_text(*e, SCI_GETLINE, line, text.data());
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
    return text;
  } catch (const std::bad_alloc&) {
    return "";
  }
}

int editor_get_line_state(int widget, int line) {
  CodeEditor* e = code_editor_of(widget);
  if (!e || line < 0 || line >= send(*e, SCI_GETLINECOUNT)) return 0;
  return int(send(*e, SCI_GETLINESTATE, line));
}

int editor_set_line_state(int widget, int line, int state) {
  CodeEditor* e = code_editor_of(widget);
  if (!e || line < 0 || line >= send(*e, SCI_GETLINECOUNT)) return 0;
  int previous = int(send(*e, SCI_GETLINESTATE, line));
  send(*e, SCI_SETLINESTATE, line, state);
  return previous;
}

}  // namespace codeeditor
