#include "codeeditor/scintilla_widget.h"

namespace codeeditor {

GtkWidget* new_scintilla_widget() { return scintilla_new(); }

sptr_t scintilla_send(GtkWidget* editor, unsigned int message, uptr_t wparam, sptr_t lparam) {
  return scintilla_send_message(SCINTILLA(editor), message, wparam, lparam);
}

}  // namespace codeeditor
