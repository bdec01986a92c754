// The notification handler of every code editor: call-tip cancelling,
// styling on request, folding, the line-number margin, auto-indent and the
// completion list.
#include <algorithm>
#include <string>

#include <glib.h>

#include "codeeditor/code_editor.h"
#include "codeeditor/internal.h"

namespace codeeditor {

using namespace detail;

namespace {

void reset_calltip(CodeEditor& e) { e.calltip_position = e.calltip_line = e.calltip_word = -1; }

void check_calltip(CodeEditor& e) {
  if (!send(e, SCI_CALLTIPACTIVE)) {
    reset_calltip(e);
    return;
  }
  int caret_line = int(send(e, SCI_LINEFROMPOSITION, send(e, SCI_GETCURRENTPOS)));
  if (e.calltip_line != -1 && e.calltip_line != caret_line) {
    reset_calltip(e);
    send(e, SCI_CALLTIPCANCEL);
  }
}

void show_needed_lines(CodeEditor& e, const SCNotification& n) {
  int first = int(send(e, SCI_LINEFROMPOSITION, n.position));
  int last = int(send(e, SCI_LINEFROMPOSITION, n.position + n.length));
  for (int line = first; line <= last; ++line) send(e, SCI_ENSUREVISIBLE, line);
  int level = int(send(e, SCI_GETFOLDLEVEL, last));
  if ((level & kFoldHeader) &&
      (int(send(e, SCI_GETFOLDLEVEL, last + 1)) & 0xFFF) > (level & 0xFFF))
    send(e, SCI_ENSUREVISIBLE, last + 1);
}

void margin_click(CodeEditor& e, const SCNotification& n) {
  if (n.margin != 2) return;
  int line = int(send(e, SCI_LINEFROMPOSITION, n.position));
  if ((e.options & kOptionFoldAnyLine) || (send(e, SCI_GETFOLDLEVEL, line) & kFoldHeader))
    send(e, SCI_TOGGLEFOLD, line);
}

void style_needed(CodeEditor& e, const SCNotification& n) {
  int start_line = int(send(e, SCI_LINEFROMPOSITION, send(e, SCI_GETENDSTYLED)));
  // The document line of the position: a visible-line number would fall
  // short of it below folded blocks and leave those lines unstyled.
  int end_line = int(send(e, SCI_LINEFROMPOSITION, n.position));
  if (end_line < start_line) {
    int former_start = start_line;
    start_line = end_line;
    end_line = former_start + 1;
  }
  editor_restyle(e.widget, start_line, end_line, n.position);
}

// A word chosen from a list shown without Scintilla's filter: it replaces the
// typed word that comes before the position where the list was shown.
void complete_unfiltered(CodeEditor& e, const SCNotification& n) {
  if (e.completion_replaces <= 0 || !n.text) return;
  const std::string chosen = n.text;
  const sptr_t start = std::max<sptr_t>(0, n.position - e.completion_replaces);
  e.completion_replaces = 0;
  send(e, SCI_AUTOCCANCEL);  // Scintilla inserts nothing itself
  send(e, SCI_SETTARGETRANGE, uptr_t(start), send(e, SCI_GETCURRENTPOS));
  send_text(e, SCI_REPLACETARGET, chosen.size(), chosen.c_str());
  send(e, SCI_GOTOPOS, uptr_t(start + sptr_t(chosen.size())));
}

void auto_indent(CodeEditor& e) {
  int caret_line = int(send(e, SCI_LINEFROMPOSITION, send(e, SCI_GETCURRENTPOS)));
  int indentation = int(send(e, SCI_GETLINEINDENTATION, caret_line - 1));
  if (indentation <= 0) return;
  send(e, SCI_SETLINEINDENTATION, caret_line, indentation);
  send(e, SCI_GOTOPOS, send(e, SCI_GETLINEINDENTPOSITION, caret_line));
}

}  // namespace

std::string editor_completion_list(const CodeEditor& e, const std::string& typed) {
  std::string key = editor_word_key(e, typed);
  std::string list;
  for (const EditorWord& w : e.words) {
    if (!(w.flags & kWordKeyword)) continue;
    const std::string& text = (e.flags & kEditorCaseSensitive) ? w.word : w.key;
    if (text.compare(0, key.size(), key) != 0) continue;
    if (!list.empty()) list += ' ';
    list += w.word;
  }
  return list;
}

void editor_autocomplete(CodeEditor* e) {
  if (!e) return;
  sptr_t size = send(*e, SCI_GETCURLINE);
  if (size > 0) {
    std::string line(size_t(size) + 1, '\0');
    int caret = int(send_text(*e, SCI_GETCURLINE, uptr_t(size), line.data()));
    line.resize(size_t(size));
    // The typed word: the first token reaching the caret.
    int offset = 0, token = 0;
    while (offset < int(line.size())) {
      token = editor_style_text(e, line.data() + offset, int(line.size()) - offset, 1, nullptr,
                                nullptr);
      if (token <= 0 || offset + token >= caret) break;
      offset += token;
    }
    std::string typed = line.substr(size_t(offset), size_t(std::max(token, 0)));
    bool shown = false;
    if ((e->options & kOptionCompletion) &&
        g_utf8_strlen(typed.data(), gssize(typed.size())) >= e->completion_min_length) {
      std::string list = editor_completion_list(*e, typed);
      if (!list.empty() && editor_word_key(*e, list) != editor_word_key(*e, typed)) {
        send_text(*e, SCI_AUTOCSHOW, typed.size(), list.c_str());
        e->completion_replaces = 0;
        // Scintilla matches the typed word folding only ASCII letters and
        // hides a list whose words differ from it beyond them ("Élan" for
        // "éla"). Shown without its filter, the choice replaces the typed
        // word here.
        if (!send(*e, SCI_AUTOCACTIVE)) {
          send_text(*e, SCI_AUTOCSHOW, 0, list.c_str());
          e->completion_replaces = int(typed.size());
        }
        shown = true;
      }
    }
    if (!shown) {
      e->completion_replaces = 0;
      if (send(*e, SCI_AUTOCACTIVE)) send(*e, SCI_AUTOCCANCEL);
    }
  }
  // No word of the system carries call-tip texts, so no call tip is open.
  reset_calltip(*e);
  send(*e, SCI_CALLTIPCANCEL);
}

int editor_notify(int widget, SCNotification* notification) {
  CodeEditor* e = code_editor_of(widget);
  if (!e || !notification) return 0;
  const SCNotification& n = *notification;
  check_calltip(*e);
  switch (n.nmhdr.code) {
    case SCN_NEEDSHOWN: show_needed_lines(*e, n); break;
    case SCN_MARGINCLICK: margin_click(*e, n); break;
    case SCN_MODIFIED:
      if (n.linesAdded != 0) editor_update_line_number_margin(widget);
      if ((n.modificationType & SC_MOD_DELETETEXT) &&
          (e->options & (kOptionCompletion | kOptionCallTips)))
        editor_autocomplete(e);
      break;
    case SCN_STYLENEEDED: style_needed(*e, n); break;
    case SCN_AUTOCSELECTION: complete_unfiltered(*e, n); break;
    case SCN_CHARADDED:
      if (n.ch == '\n' && (e->options & kOptionAutoIndent))
        auto_indent(*e);
      else if (e->options & (kOptionCompletion | kOptionCallTips))
        editor_autocomplete(e);
      break;
    default: break;
  }
  if (e->notify_callback) e->notify_callback(widget, notification);
  return 0;
}

}  // namespace codeeditor
