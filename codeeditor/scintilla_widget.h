#pragma once
// The Scintilla editing widget, the base of the code editor.
#include <gtk/gtk.h>

#include <Scintilla.h>
#include <ScintillaWidget.h>

namespace codeeditor {

// A new Scintilla widget (floating reference, like any new GTK widget).
GtkWidget* new_scintilla_widget();

// Sends a message to a Scintilla widget.
sptr_t scintilla_send(GtkWidget* editor, unsigned int message, uptr_t wparam = 0, sptr_t lparam = 0);

}  // namespace codeeditor
