// Canvases: an owned image shown on expose, with pointer and key events.
#include <algorithm>

#include "toolkit/internal.h"
#include "toolkit/menu.h"

namespace tk {

using namespace detail;

namespace {

// Largest canvas image kept, so a huge size asked for cannot eat the memory.
constexpr long long kMaxCanvasPixels = 64LL * 1024 * 1024;

}  // namespace

bool canvas_fits(int width, int height) {
  return width >= 0 && height >= 0 && width <= imaging::kMaxImageSide && height <= imaging::kMaxImageSide &&
         (long long)width * height <= kMaxCanvasPixels;
}

namespace {

imaging::Image image_for(int w, int h) {
  w = std::clamp(w, 0, imaging::kMaxImageSide);
  h = std::clamp(h, 0, imaging::kMaxImageSide);
  if (w > 0 && (long long)w * h > kMaxCanvasPixels) h = int(kMaxCanvasPixels / w);
  return imaging::Image(w, h);
}

void push_canvas(WidgetRec& rec, int subtype, int x, int y, int buttons, int key, int modifiers) {
  Event e{kEventWidget, rec.window, rec.number, subtype, x, y, buttons, key, modifiers};
  push(e);
}

WidgetRec* canvas_of(gpointer data) { return find_widget(GPOINTER_TO_INT(data), WidgetKind::Canvas); }

// Has the painter draw the out-of-date part of the canvas within `area`.
void paint_out_of_date(WidgetRec& rec, const GdkRegion* area) {
  if (!rec.out_of_date || !rec.painter) return;
  GdkRegion* due = gdk_region_copy(rec.out_of_date.get());
  if (area) gdk_region_intersect(due, area);
  GdkRectangle box;
  gdk_region_get_clipbox(due, &box);
  gdk_region_destroy(due);
  if (box.width <= 0 || box.height <= 0) return;
  GdkRegion* drawn = gdk_region_rectangle(&box);
  gdk_region_subtract(rec.out_of_date.get(), drawn);
  gdk_region_destroy(drawn);
  if (gdk_region_empty(rec.out_of_date.get())) rec.out_of_date.reset();
  // A copy: the painter may replace itself.
  CanvasPainter painter = rec.painter;
  painter(rec.canvas, box.x, box.y, box.width, box.height);
}

// Only the exposed part is converted for the screen, so a large canvas in a
// small scroll area costs what the user sees.
gboolean on_expose(GtkWidget* w, GdkEventExpose* e, gpointer data) {
  WidgetRec* rec = canvas_of(data);
  if (!rec) return FALSE;
  imaging::Image& image = rec->canvas;
  if (image.width <= 0 || image.height <= 0) return TRUE;
  paint_out_of_date(*rec, e->region);
  GdkRectangle whole{0, 0, image.width, image.height}, shown;
  cairo_t* cr = gdk_cairo_create(w->window);
  gdk_cairo_region(cr, e->region);
  cairo_clip(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  if (gdk_rectangle_intersect(&e->area, &whole, &shown)) {
    GdkPixbuf* all = gdk_pixbuf_new_from_data(image.pixels.data(), GDK_COLORSPACE_RGB, TRUE, 8, image.width,
                                              image.height, image.width * 4, nullptr, nullptr);
    GdkPixbuf* part = gdk_pixbuf_new_subpixbuf(all, shown.x, shown.y, shown.width, shown.height);
    gdk_cairo_set_source_pixbuf(cr, part, shown.x, shown.y);
    g_object_unref(part);
    g_object_unref(all);
  }
  cairo_paint(cr);
  cairo_destroy(cr);
  return TRUE;
}

gboolean on_motion(GtkWidget*, GdkEventMotion* e, gpointer data) {
  if (WidgetRec* rec = canvas_of(data))
    push_canvas(*rec, kCanvasMouseMove, int(e->x), int(e->y), buttons_of(e->state), 0,
                modifiers_of(e->state));
  return TRUE;
}

gboolean on_crossing(GtkWidget*, GdkEventCrossing* e, gpointer data) {
  WidgetRec* rec = canvas_of(data);
  if (!rec || e->mode != GDK_CROSSING_NORMAL) return FALSE;
  push_canvas(*rec, e->type == GDK_ENTER_NOTIFY ? kCanvasMouseEnter : kCanvasMouseLeave, int(e->x),
              int(e->y), buttons_of(e->state), 0, modifiers_of(e->state));
  return TRUE;
}

int button_bit(guint button) {
  return button == 1 ? kLeftButton : button == 3 ? kRightButton : button == 2 ? kMiddleButton : 0;
}

// Canvases report presses at once: the button-down event, then the click.
gboolean on_press(GtkWidget* w, GdkEventButton* e, gpointer data) {
  WidgetRec* rec = canvas_of(data);
  if (!rec || e->type != GDK_BUTTON_PRESS) return TRUE;
  gtk_widget_grab_focus(w);
  int held = buttons_of(e->state) | button_bit(e->button);
  int mods = modifiers_of(e->state);
  if (e->button == 1) {
    push_canvas(*rec, kCanvasLeftButtonDown, int(e->x), int(e->y), held, 0, mods);
    push_canvas(*rec, kLeftClick, int(e->x), int(e->y), held, 0, mods);
  } else if (e->button == 3) {
    push_canvas(*rec, kCanvasRightButtonDown, int(e->x), int(e->y), held, 0, mods);
    push_canvas(*rec, kRightClick, int(e->x), int(e->y), held, 0, mods);
  }
  return TRUE;
}

gboolean on_release(GtkWidget*, GdkEventButton* e, gpointer data) {
  WidgetRec* rec = canvas_of(data);
  if (!rec) return TRUE;
  int held = buttons_of(e->state) & ~button_bit(e->button);
  int mods = modifiers_of(e->state);
  if (e->button == 1) push_canvas(*rec, kCanvasLeftButtonUp, int(e->x), int(e->y), held, 0, mods);
  if (e->button == 3) push_canvas(*rec, kCanvasRightButtonUp, int(e->x), int(e->y), held, 0, mods);
  return TRUE;
}

gboolean on_key(GtkWidget* w, GdkEventKey* e, gpointer data) {
  WidgetRec* rec = canvas_of(data);
  if (!rec) return FALSE;
  int x = 0, y = 0;
  GdkModifierType state = GdkModifierType(0);
  gdk_window_get_pointer(w->window, &x, &y, &state);
  push_canvas(*rec, kCanvasKeyDown, x, y, buttons_of(state), key_code_of_keyval(e->keyval),
              modifiers_of(e->state));
  return TRUE;  // arrows and Tab stay with the canvas
}

}  // namespace

namespace detail {
void resize_canvas_image(WidgetRec& rec) {
  if (rec.canvas.width == rec.w && rec.canvas.height == rec.h) return;
  imaging::Image next = image_for(rec.w, rec.h);
  int cw = std::min(next.width, rec.canvas.width), ch = std::min(next.height, rec.canvas.height);
  // A side of 0 leaves the other side without pixels: nothing to copy.
  if (cw > 0)
    for (int y = 0; y < ch; ++y) std::copy_n(rec.canvas.at(0, y), size_t(cw) * 4, next.at(0, y));
  rec.canvas = std::move(next);
  if (rec.out_of_date) {
    GdkRectangle kept{0, 0, rec.canvas.width, rec.canvas.height};
    GdkRegion* inside = gdk_region_rectangle(&kept);
    gdk_region_intersect(rec.out_of_date.get(), inside);
    gdk_region_destroy(inside);
  }
  refresh_canvas(rec.number);
}
}  // namespace detail

int canvas(int number, int x, int y, int width, int height) {
  GtkWidget* area = gtk_drawing_area_new();
  GTK_WIDGET_SET_FLAGS(area, GTK_CAN_FOCUS);
  gtk_widget_add_events(area, GDK_EXPOSURE_MASK | GDK_POINTER_MOTION_MASK | GDK_BUTTON_PRESS_MASK |
                                  GDK_BUTTON_RELEASE_MASK | GDK_ENTER_NOTIFY_MASK |
                                  GDK_LEAVE_NOTIFY_MASK | GDK_KEY_PRESS_MASK | GDK_FOCUS_CHANGE_MASK);
  WidgetRec* rec = add_widget(number, WidgetKind::Canvas, area, area, x, y, width, height);
  if (!rec) return -1;
  rec->canvas = image_for(width, height);
  gpointer data = GINT_TO_POINTER(rec->number);
  g_signal_connect(area, "expose-event", G_CALLBACK(on_expose), data);
  g_signal_connect(area, "motion-notify-event", G_CALLBACK(on_motion), data);
  g_signal_connect(area, "enter-notify-event", G_CALLBACK(on_crossing), data);
  g_signal_connect(area, "leave-notify-event", G_CALLBACK(on_crossing), data);
  g_signal_connect(area, "button-press-event", G_CALLBACK(on_press), data);
  g_signal_connect(area, "button-release-event", G_CALLBACK(on_release), data);
  g_signal_connect(area, "key-press-event", G_CALLBACK(on_key), data);
  return rec->number;
}

imaging::Image* canvas_image(int canvas) {
  WidgetRec* rec = find_widget(canvas, WidgetKind::Canvas);
  if (!rec) return nullptr;
  paint_out_of_date(*rec, nullptr);
  return &rec->canvas;
}

void refresh_canvas(int canvas) {
  if (WidgetRec* rec = find_widget(canvas, WidgetKind::Canvas)) gtk_widget_queue_draw(rec->main);
}

void set_canvas_painter(int canvas, CanvasPainter painter) {
  WidgetRec* rec = find_widget(canvas, WidgetKind::Canvas);
  if (!rec) return;
  rec->painter = std::move(painter);
  if (!rec->painter) rec->out_of_date.reset();
}

void invalidate_canvas(int canvas) {
  WidgetRec* rec = find_widget(canvas, WidgetKind::Canvas);
  if (!rec || !rec->painter) return;
  GdkRectangle whole{0, 0, rec->canvas.width, rec->canvas.height};
  rec->out_of_date.reset(gdk_region_rectangle(&whole));
  gtk_widget_queue_draw(rec->main);
}

namespace {
const Event* last_event_of(int canvas) {
  WidgetRec* rec = find_widget(canvas, WidgetKind::Canvas);
  return rec ? &rec->last_canvas_event : nullptr;
}
}  // namespace

int canvas_mouse_x(int canvas) {
  const Event* e = last_event_of(canvas);
  return e ? e->x : 0;
}
int canvas_mouse_y(int canvas) {
  const Event* e = last_event_of(canvas);
  return e ? e->y : 0;
}
int canvas_buttons(int canvas) {
  const Event* e = last_event_of(canvas);
  return e ? e->buttons : 0;
}
int canvas_key(int canvas) {
  const Event* e = last_event_of(canvas);
  return e ? e->key : 0;
}
int canvas_modifiers(int canvas) {
  const Event* e = last_event_of(canvas);
  return e ? e->modifiers : 0;
}

}  // namespace tk
