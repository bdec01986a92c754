// Scintilla is built outside the project; these check that the widget we link
// works under GTK+ 2: text goes in and out unchanged, and with no lexer the
// container is asked to style what gets drawn.
#include <SciLexer.h>
#include <gtest/gtest.h>

#include <string>

#include "codeeditor/scintilla_widget.h"

namespace {

using codeeditor::scintilla_send;

struct Editor {
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWidget* sci = codeeditor::new_scintilla_widget();
  Editor() {
    gtk_window_set_default_size(GTK_WINDOW(window), 300, 200);
    gtk_container_add(GTK_CONTAINER(window), sci);
  }
  ~Editor() { gtk_widget_destroy(window); }

  std::string text() {
    std::string s(scintilla_send(sci, SCI_GETTEXTLENGTH) + 1, '\0');
    scintilla_send(sci, SCI_GETTEXT, s.size(), reinterpret_cast<sptr_t>(s.data()));
    s.pop_back();
    return s;
  }
};

TEST(ScintillaSmoke, TextRoundTrips) {
  Editor e;
  scintilla_send(e.sci, SCI_SETCODEPAGE, SC_CP_UTF8);
  for (const std::string text : {"", "a", "Procedure Main()\r\n\tx = 1 ; \xc3\xa9t\xc3\xa9\nEndProcedure\n"}) {
    scintilla_send(e.sci, SCI_SETTEXT, 0, reinterpret_cast<sptr_t>(text.c_str()));
    EXPECT_EQ(e.text(), text);
    EXPECT_EQ(scintilla_send(e.sci, SCI_GETLENGTH), sptr_t(text.size()));
  }
}

struct StyleRequests {
  int count = 0;
  sptr_t up_to = -1;
};

void on_notify(GtkWidget* sci, gint, SCNotification* n, StyleRequests* seen) {
  if (n->nmhdr.code != SCN_STYLENEEDED) return;
  ++seen->count;
  seen->up_to = n->position;
  // Style what was asked for, as the code editor will, so drawing can go on.
  sptr_t start = scintilla_send(sci, SCI_GETENDSTYLED);
  scintilla_send(sci, SCI_STARTSTYLING, start);
  scintilla_send(sci, SCI_SETSTYLING, n->position - start, 3);
}

TEST(ScintillaSmoke, ContainerIsAskedToStyle) {
  Editor e;
  StyleRequests seen;
  g_signal_connect(e.sci, SCINTILLA_NOTIFY, G_CALLBACK(on_notify), &seen);
  scintilla_send(e.sci, SCI_SETILEXER, 0, 0);
  EXPECT_EQ(scintilla_send(e.sci, SCI_GETLEXER), SCLEX_CONTAINER);
  const std::string text = "Global a\nGlobal b\n";
  scintilla_send(e.sci, SCI_SETTEXT, 0, reinterpret_cast<sptr_t>(text.c_str()));

  gtk_widget_show_all(e.window);
  gint64 deadline = g_get_monotonic_time() + 5 * G_USEC_PER_SEC;
  while (seen.count == 0 && g_get_monotonic_time() < deadline) gtk_main_iteration_do(FALSE);

  ASSERT_GT(seen.count, 0) << "no SCN_STYLENEEDED after showing the editor";
  EXPECT_EQ(seen.up_to, sptr_t(text.size()));
  EXPECT_EQ(scintilla_send(e.sci, SCI_GETSTYLEAT, 0), 3);
  EXPECT_EQ(scintilla_send(e.sci, SCI_GETENDSTYLED), sptr_t(text.size()));
}

}  // namespace
