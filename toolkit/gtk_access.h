#pragma once
// The GTK side of numbered objects, for layers that place widgets of their
// own (the code editor) and for tests that need the real GTK object.
#include <gtk/gtk.h>

namespace tk {

// Places a GTK widget made elsewhere at (x, y, width, height) in the current
// window or container under a number (kAny allocates one); the toolkit then
// owns it like its own widgets. Returns the number, -1 when there is no
// current window. The widget raises no toolkit events of its own: its owner
// posts them with post_event.
int adopt_widget(int number, GtkWidget* widget, int x, int y, int width, int height);

GtkWidget* gtk_widget_of(int widget);  // the functional GTK widget, nullptr when none
GtkWidget* gtk_window_of(int window);  // the GtkWindow, nullptr when none

// Converts an image of the image table; nullptr when it does not exist.
// The caller owns the reference.
GdkPixbuf* pixbuf_of_image(int image);

}  // namespace tk
