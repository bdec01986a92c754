#pragma once
// Tables and helpers shared by the toolkit's own files; not for other layers.
#include <gtk/gtk.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "imaging/image.h"
#include "toolkit/events.h"
#include "toolkit/widgets.h"
#include "toolkit/window.h"

namespace tk::detail {

struct WindowRec {
  int number = -1;
  GtkWidget* window = nullptr;
  GtkWidget* vbox = nullptr;
  GtkWidget* area = nullptr;  // GtkLayout holding the widgets
  GtkWidget* menubar = nullptr;
  unsigned flags = 0;
  bool disabled = false;
  bool above = false;
  int width = 0, height = 0;  // inner size last asked for or reported
  bool appeared = false;      // shown at least once
  unsigned long opened = 0;   // order of opening, to find the window a new one belongs to
  guint first_focus = 0;      // GLib source placing the focus after the first showing
  GdkWindowState state = GdkWindowState(0);
  std::map<std::pair<int, int>, int> shortcuts;  // (modifiers, key) -> item
  std::map<int, guint> timers;                   // timer number -> GLib source (0: none)
};

struct WidgetRec {
  int number = -1;
  unsigned long serial = 0;  // tells a reused number from the widget it replaced
  WidgetKind kind = WidgetKind::NoWidget;
  int window = -1;
  GtkWidget* outer = nullptr;  // what is placed in the parent area
  GtkWidget* main = nullptr;   // the widget doing the work
  GtkWidget* area = nullptr;   // inner GtkLayout of a scroll area or container
  GtkWidget* parent_area = nullptr;
  unsigned flags = 0;
  int x = 0, y = 0, w = 0, h = 0;
  bool hidden = false;
  int data = 0;
  std::string tooltip;
  int font = -1;
  int front = -1, back = -1;
  int image = -1;
  // drop-downs and lists
  GtkListStore* store = nullptr;
  int columns = 1;
  // panels: one layout per tab
  std::vector<GtkWidget*> pages;
  std::vector<GtkWidget*> tab_labels;
  std::vector<std::string> tab_texts;
  int page_dw = -1, page_dh = -1;  // notebook size minus page size, once known
  // scroll areas
  int inner_w = 0, inner_h = 0, step = 1;
  // canvases
  imaging::Image canvas;
  CanvasPainter painter;
  // The parts of the canvas image the painter has not drawn since the last
  // invalidate_canvas; nullptr when none.
  std::unique_ptr<GdkRegion, void (*)(GdkRegion*)> out_of_date{nullptr, gdk_region_destroy};
  Event last_canvas_event;
  // image views: the press that will end in a double click on release
  bool double_press[4] = {false, false, false, false};

  ~WidgetRec();
};

extern std::map<int, WindowRec> windows;
extern std::map<int, std::unique_ptr<WidgetRec>> widgets;

WindowRec* find_window(int number);
WidgetRec* find_widget(int number);
WidgetRec* find_widget(int number, WidgetKind kind);
// Run-time numbers only grow, so a stale number never names a newer object.
int allocate_number(const auto& table, int& next) {
  if (next < kFirstDynamicNumber) next = kFirstDynamicNumber;
  while (table.count(next)) ++next;
  return next++;
}

// While a Quiet lives, signals raised by the program's own changes push nothing.
extern int quiet_depth;
struct Quiet {
  Quiet() { ++quiet_depth; }
  ~Quiet() { --quiet_depth; }
  Quiet(const Quiet&) = delete;
  Quiet& operator=(const Quiet&) = delete;
};
// Pushes an event unless quiet or its window is disabled (timers always pass).
void push(const Event& event);
void push_widget_event(int widget, int subtype);

// Where new widgets go: the top of the stack of places.
struct Place {
  int window = -1;
  int widget = -1;  // -1: the window's own area
  unsigned long serial = 0;
  int tab = -1;
};
extern std::vector<Place> places;
// The layout new widgets go into and its window; nullptr when none.
GtkWidget* current_area(int* window);
void forget_window_places(int window);

// Registers a new widget: frees a widget under the number, places `outer`,
// records it and connects its bookkeeping. Returns the record.
WidgetRec* add_widget(int number, WidgetKind kind, GtkWidget* outer, GtkWidget* main, int x, int y,
                      int w, int h, unsigned flags = 0);
// Kind of the widget created last in the place (for option groups).
struct LastCreated {
  GtkWidget* area = nullptr;
  int widget = -1;
};
extern LastCreated last_created;

GdkPixbuf* make_pixbuf(const imaging::Image& image);
GdkColor gdk_colour(int colour);
void apply_font(WidgetRec& rec);
// ---- texts shown whole (toolkit/widgets.cpp) ----
bool shows_text(WidgetKind kind);  // labels, buttons, check boxes, options
int text_width(GtkWidget* w, const char* text, const PangoFontDescription* desc);  // pixels
// `base` made smaller, then also condensed, until `text` is at most `room`
// pixels wide, or at the smallest legible size; `base` itself when it fits or
// room is unknown (0). The caller frees it.
PangoFontDescription* fitted_font(GtkWidget* w, const char* text, const PangoFontDescription* base,
                                  int room);
// Fits the first label inside `outer` to the room `outer` leaves it (and, for
// a widget of that number, that the widgets beside it leave), each time
// `outer` is laid out; refit_labels() lays out again the texts beside a widget
// that moved or was hidden or shown.
void keep_label_whole(GtkWidget* outer, int widget = -1);
void refit_labels(const WidgetRec& moved);

// Keeps a canvas's image the size of the canvas.
void resize_canvas_image(WidgetRec& rec);
// Text and state of drop-downs, lists and panels (toolkit/lists.cpp).
std::string item_widget_text(WidgetRec& rec);
void set_item_widget_text(WidgetRec& rec, const std::string& text);
int item_widget_state(WidgetRec& rec);
void set_item_widget_state(WidgetRec& rec, int state);

GtkWidget* menu_item_widget(int item);  // nullptr when none

// Test mode: the real pointer is left out (toolkit/testing.cpp).
void ignore_real_pointer(bool on);

int modifiers_of(guint state);
int buttons_of(guint state);
void process_pending_now();

}  // namespace tk::detail
