// Buttons, pictures, labels, text inputs, check boxes, options, sliders,
// scroll areas and containers.
#include <cmath>
#include <cstring>

#include "toolkit/internal.h"

namespace tk {

using namespace detail;

namespace {

void on_clicked(GtkWidget*, gpointer data) { push_widget_event(GPOINTER_TO_INT(data), kLeftClick); }
void on_changed(gpointer, gpointer data) { push_widget_event(GPOINTER_TO_INT(data), kChange); }
gboolean on_focus_in(GtkWidget*, GdkEventFocus*, gpointer data) {
  push_widget_event(GPOINTER_TO_INT(data), kFocus);
  return FALSE;
}
gboolean on_focus_out(GtkWidget*, GdkEventFocus*, gpointer data) {
  push_widget_event(GPOINTER_TO_INT(data), kLostFocus);
  return FALSE;
}

void connect_focus(GtkWidget* w, int number) {
  g_signal_connect(w, "focus-in-event", G_CALLBACK(on_focus_in), GINT_TO_POINTER(number));
  g_signal_connect(w, "focus-out-event", G_CALLBACK(on_focus_out), GINT_TO_POINTER(number));
}

int clicked_widget(WidgetRec* rec) {
  if (!rec) return -1;
  g_signal_connect(rec->main, "clicked", G_CALLBACK(on_clicked), GINT_TO_POINTER(rec->number));
  return rec->number;
}

void show_image(WidgetRec& rec, int image) {
  rec.image = image;
  GtkWidget* img = rec.kind == WidgetKind::ImageView ? gtk_bin_get_child(GTK_BIN(rec.main))
                                                     : gtk_button_get_image(GTK_BUTTON(rec.main));
  if (!img) return;
  imaging::Image* source = imaging::image_ptr(image);
  GdkPixbuf* pb = source ? make_pixbuf(*source) : nullptr;
  if (pb) {
    gtk_image_set_from_pixbuf(GTK_IMAGE(img), pb);
    g_object_unref(pb);
  } else {
    gtk_image_clear(GTK_IMAGE(img));
  }
}

// Picture clicks count on release; the press only tells a double press.
gboolean on_view_press(GtkWidget*, GdkEventButton* e, gpointer data) {
  WidgetRec* rec = find_widget(GPOINTER_TO_INT(data));
  if (!rec || e->button > 3) return FALSE;
  if (e->type == GDK_BUTTON_PRESS) rec->double_press[e->button] = false;
  if (e->type == GDK_2BUTTON_PRESS) rec->double_press[e->button] = true;
  return TRUE;
}

gboolean on_view_release(GtkWidget*, GdkEventButton* e, gpointer data) {
  WidgetRec* rec = find_widget(GPOINTER_TO_INT(data));
  if (!rec || (e->button != 1 && e->button != 3)) return FALSE;
  bool twice = rec->double_press[e->button];
  rec->double_press[e->button] = false;
  int subtype = e->button == 1 ? (twice ? kLeftDoubleClick : kLeftClick)
                               : (twice ? kRightDoubleClick : kRightClick);
  push_widget_event(rec->number, subtype);
  return TRUE;
}

// Digits-only inputs keep the digits of what is typed or pasted.
void on_insert_digits(GtkEditable* editable, gchar* text, gint length, gint* position,
                      gpointer data) {
  if (quiet_depth > 0) return;
  std::string in(text, length < 0 ? std::strlen(text) : size_t(length));
  std::string digits;
  for (char c : in)
    if (c >= '0' && c <= '9') digits += c;
  if (digits.size() == in.size()) return;
  g_signal_handlers_block_by_func(editable, gpointer(on_insert_digits), data);
  if (!digits.empty()) gtk_editable_insert_text(editable, digits.c_str(), gint(digits.size()), position);
  g_signal_handlers_unblock_by_func(editable, gpointer(on_insert_digits), data);
  g_signal_stop_emission_by_name(editable, "insert-text");
}

// GtkLayout resets its scroll steps on every allocation.
void on_scroll_allocate(GtkWidget* layout, GtkAllocation*, gpointer data) {
  WidgetRec* rec = find_widget(GPOINTER_TO_INT(data), WidgetKind::ScrollArea);
  if (!rec) return;
  for (GtkAdjustment* a : {gtk_layout_get_hadjustment(GTK_LAYOUT(layout)),
                           gtk_layout_get_vadjustment(GTK_LAYOUT(layout))})
    if (a) a->step_increment = rec->step;
}

GtkTextBuffer* buffer_of(WidgetRec& rec) {
  return gtk_text_view_get_buffer(GTK_TEXT_VIEW(rec.main));
}

}  // namespace

int button(int number, int x, int y, int width, int height, const std::string& text) {
  GtkWidget* b = gtk_button_new_with_label(text.c_str());
  return clicked_widget(add_widget(number, WidgetKind::Button, b, b, x, y, width, height));
}

int image_button(int number, int x, int y, int width, int height, int image, unsigned flags) {
  GtkWidget* b = flags & kImageButtonToggle ? gtk_toggle_button_new() : gtk_button_new();
  gtk_button_set_image(GTK_BUTTON(b), gtk_image_new());
  // Show the picture even where the desktop hides button images.
  g_object_set(gtk_widget_get_settings(b), "gtk-button-images", TRUE, nullptr);
  WidgetRec* rec = add_widget(number, WidgetKind::ImageButton, b, b, x, y, width, height, flags);
  if (!rec) return -1;
  show_image(*rec, image);
  return clicked_widget(rec);
}

int image_view(int number, int x, int y, int width, int height, int image, unsigned flags) {
  GtkWidget* box = gtk_event_box_new();
  GtkWidget* img = gtk_image_new();
  gtk_misc_set_alignment(GTK_MISC(img), 0, 0);
  gtk_container_add(GTK_CONTAINER(box), img);
  gtk_widget_add_events(box, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK);
  GtkWidget* outer = box;
  if (flags & kImageViewSunken) {
    outer = gtk_frame_new(nullptr);
    gtk_frame_set_shadow_type(GTK_FRAME(outer), GTK_SHADOW_IN);
    gtk_container_add(GTK_CONTAINER(outer), box);
  }
  WidgetRec* rec = add_widget(number, WidgetKind::ImageView, outer, box, x, y, width, height, flags);
  if (!rec) return -1;
  show_image(*rec, image);
  gpointer data = GINT_TO_POINTER(rec->number);
  g_signal_connect(box, "button-press-event", G_CALLBACK(on_view_press), data);
  g_signal_connect(box, "button-release-event", G_CALLBACK(on_view_release), data);
  return rec->number;
}

void set_image(int widget, int image) {
  WidgetRec* rec = find_widget(widget);
  if (rec && (rec->kind == WidgetKind::ImageView || rec->kind == WidgetKind::ImageButton))
    show_image(*rec, image);
}

int widget_image(int widget) {
  WidgetRec* rec = find_widget(widget);
  return rec ? rec->image : -1;
}

int label(int number, int x, int y, int width, int height, const std::string& text,
          unsigned flags) {
  GtkWidget* box = gtk_event_box_new();
  GtkWidget* l = gtk_label_new(text.c_str());
  gtk_misc_set_alignment(GTK_MISC(l), flags & kLabelCentre ? 0.5f : flags & kLabelRight ? 1.0f : 0.0f,
                         0);
  gtk_label_set_justify(GTK_LABEL(l), flags & kLabelCentre  ? GTK_JUSTIFY_CENTER
                                      : flags & kLabelRight ? GTK_JUSTIFY_RIGHT
                                                            : GTK_JUSTIFY_LEFT);
  gtk_container_add(GTK_CONTAINER(box), l);
  WidgetRec* rec = add_widget(number, WidgetKind::Label, box, l, x, y, width, height, flags);
  return rec ? rec->number : -1;
}

int input(int number, int x, int y, int width, int height, const std::string& text,
          unsigned flags) {
  GtkWidget* e = gtk_entry_new();
  {
    Quiet quiet;
    gtk_entry_set_text(GTK_ENTRY(e), text.c_str());
  }
  if (flags & kInputReadOnly) gtk_editable_set_editable(GTK_EDITABLE(e), FALSE);
  if (flags & kInputBorderless) gtk_entry_set_has_frame(GTK_ENTRY(e), FALSE);
  WidgetRec* rec = add_widget(number, WidgetKind::Input, e, e, x, y, width, height, flags);
  if (!rec) return -1;
  gpointer data = GINT_TO_POINTER(rec->number);
  if (flags & kInputDigits) g_signal_connect(e, "insert-text", G_CALLBACK(on_insert_digits), data);
  g_signal_connect(e, "changed", G_CALLBACK(on_changed), data);
  connect_focus(e, rec->number);
  return rec->number;
}

int text_area(int number, int x, int y, int width, int height, unsigned flags) {
  GtkWidget* scroll = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroll), GTK_POLICY_AUTOMATIC,
                                 GTK_POLICY_AUTOMATIC);
  gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scroll), GTK_SHADOW_IN);
  GtkWidget* view = gtk_text_view_new();
  if (flags & kTextReadOnly) gtk_text_view_set_editable(GTK_TEXT_VIEW(view), FALSE);
  gtk_container_add(GTK_CONTAINER(scroll), view);
  WidgetRec* rec = add_widget(number, WidgetKind::TextArea, scroll, view, x, y, width, height, flags);
  if (!rec) return -1;
  g_signal_connect(buffer_of(*rec), "changed", G_CALLBACK(on_changed), GINT_TO_POINTER(rec->number));
  connect_focus(view, rec->number);
  return rec->number;
}

int check_box(int number, int x, int y, int width, int height, const std::string& text) {
  GtkWidget* c = gtk_check_button_new_with_label(text.c_str());
  return clicked_widget(add_widget(number, WidgetKind::CheckBox, c, c, x, y, width, height));
}

int option(int number, int x, int y, int width, int height, const std::string& text) {
  // Join the group of the option created just before in the same place.
  int window = -1;
  GtkWidget* area = current_area(&window);
  GSList* group = nullptr;
  if (WidgetRec* prev = find_widget(last_created.widget, WidgetKind::Option);
      prev && area && last_created.area == area)
    group = gtk_radio_button_get_group(GTK_RADIO_BUTTON(prev->main));
  GtkWidget* o = gtk_radio_button_new_with_label(group, text.c_str());
  return clicked_widget(add_widget(number, WidgetKind::Option, o, o, x, y, width, height));
}

int slider(int number, int x, int y, int width, int height, int minimum, int maximum) {
  if (maximum < minimum) std::swap(minimum, maximum);
  GtkWidget* s = gtk_hscale_new_with_range(minimum, maximum == minimum ? minimum + 1 : maximum, 1);
  gtk_scale_set_draw_value(GTK_SCALE(s), FALSE);
  gtk_range_set_increments(GTK_RANGE(s), 1, std::max(1, (maximum - minimum) / 10));
  WidgetRec* rec = add_widget(number, WidgetKind::Slider, s, s, x, y, width, height);
  if (!rec) return -1;
  g_signal_connect(s, "value-changed", G_CALLBACK(on_changed), GINT_TO_POINTER(rec->number));
  return rec->number;
}

int scroll_area(int number, int x, int y, int width, int height, int inner_width,
                int inner_height, int scroll_step, unsigned flags) {
  GtkWidget* scroll = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroll), GTK_POLICY_AUTOMATIC,
                                 GTK_POLICY_AUTOMATIC);
  gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scroll),
                                      flags & kScrollEtched   ? GTK_SHADOW_ETCHED_IN
                                      : flags & kScrollRaised ? GTK_SHADOW_OUT
                                                              : GTK_SHADOW_NONE);
  GtkWidget* layout = gtk_layout_new(nullptr, nullptr);
  gtk_container_add(GTK_CONTAINER(scroll), layout);
  WidgetRec* rec = add_widget(number, WidgetKind::ScrollArea, scroll, scroll, x, y, width, height, flags);
  if (!rec) return -1;
  rec->area = layout;
  rec->step = std::max(1, scroll_step);
  set_scroll_inner_size(rec->number, inner_width, inner_height);
  g_signal_connect_after(layout, "size-allocate", G_CALLBACK(on_scroll_allocate),
                         GINT_TO_POINTER(rec->number));
  use_container(rec->number);
  return rec->number;
}

void set_scroll_inner_size(int scroll_area, int inner_width, int inner_height) {
  WidgetRec* rec = find_widget(scroll_area, WidgetKind::ScrollArea);
  if (!rec) return;
  rec->inner_w = std::max(0, inner_width);
  rec->inner_h = std::max(0, inner_height);
  gtk_layout_set_size(GTK_LAYOUT(rec->area), guint(rec->inner_w), guint(rec->inner_h));
}

int scroll_inner_width(int scroll_area) {
  WidgetRec* rec = find_widget(scroll_area, WidgetKind::ScrollArea);
  return rec ? rec->inner_w : 0;
}

int scroll_inner_height(int scroll_area) {
  WidgetRec* rec = find_widget(scroll_area, WidgetKind::ScrollArea);
  return rec ? rec->inner_h : 0;
}

int scroll_x(int scroll_area) {
  WidgetRec* rec = find_widget(scroll_area, WidgetKind::ScrollArea);
  GtkAdjustment* a = rec ? gtk_layout_get_hadjustment(GTK_LAYOUT(rec->area)) : nullptr;
  return a ? int(std::lround(gtk_adjustment_get_value(a))) : 0;
}

int scroll_y(int scroll_area) {
  WidgetRec* rec = find_widget(scroll_area, WidgetKind::ScrollArea);
  GtkAdjustment* a = rec ? gtk_layout_get_vadjustment(GTK_LAYOUT(rec->area)) : nullptr;
  return a ? int(std::lround(gtk_adjustment_get_value(a))) : 0;
}

void set_scroll_position(int scroll_area, int x, int y) {
  WidgetRec* rec = find_widget(scroll_area, WidgetKind::ScrollArea);
  if (!rec) return;
  if (GtkAdjustment* a = gtk_layout_get_hadjustment(GTK_LAYOUT(rec->area))) gtk_adjustment_set_value(a, x);
  if (GtkAdjustment* a = gtk_layout_get_vadjustment(GTK_LAYOUT(rec->area))) gtk_adjustment_set_value(a, y);
}

int container(int number, int x, int y, int width, int height, unsigned flags) {
  GtkWidget* frame = gtk_frame_new(nullptr);
  gtk_frame_set_shadow_type(GTK_FRAME(frame), flags & kContainerFlat     ? GTK_SHADOW_NONE
                                              : flags & kContainerRaised ? GTK_SHADOW_OUT
                                                                         : GTK_SHADOW_ETCHED_IN);
  GtkWidget* layout = gtk_layout_new(nullptr, nullptr);
  gtk_container_add(GTK_CONTAINER(frame), layout);
  WidgetRec* rec = add_widget(number, WidgetKind::Container, frame, frame, x, y, width, height, flags);
  if (!rec) return -1;
  rec->area = layout;
  use_container(rec->number);
  return rec->number;
}

void set_text(int widget, const std::string& text) {
  WidgetRec* rec = find_widget(widget);
  if (!rec) return;
  Quiet quiet;
  switch (rec->kind) {
    case WidgetKind::Button:
    case WidgetKind::CheckBox:
    case WidgetKind::Option:
      gtk_button_set_label(GTK_BUTTON(rec->main), text.c_str());
      apply_font(*rec);
      if (rec->front >= 0) set_colour(widget, ColourRole::Front, rec->front);
      break;
    case WidgetKind::Label:
      gtk_label_set_text(GTK_LABEL(rec->main), text.c_str());
      break;
    case WidgetKind::Input:
      gtk_entry_set_text(GTK_ENTRY(rec->main), text.c_str());
      // GTK leaves the caret at the start; where the user is typing, what
      // comes next goes after the text.
      if (gtk_widget_has_focus(rec->main)) gtk_editable_set_position(GTK_EDITABLE(rec->main), -1);
      break;
    case WidgetKind::TextArea:
      gtk_text_buffer_set_text(buffer_of(*rec), text.data(), gint(text.size()));
      break;
    case WidgetKind::DropDown:
    case WidgetKind::ListView:
    case WidgetKind::Panel:
      set_item_widget_text(*rec, text);
      break;
    default:
      break;
  }
}

std::string text(int widget) {
  WidgetRec* rec = find_widget(widget);
  if (!rec) return "";
  const char* t = nullptr;
  switch (rec->kind) {
    case WidgetKind::Button:
    case WidgetKind::CheckBox:
    case WidgetKind::Option:
      t = gtk_button_get_label(GTK_BUTTON(rec->main));
      break;
    case WidgetKind::Label:
      t = gtk_label_get_text(GTK_LABEL(rec->main));
      break;
    case WidgetKind::Input:
      t = gtk_entry_get_text(GTK_ENTRY(rec->main));
      break;
    case WidgetKind::TextArea: {
      GtkTextIter a, b;
      gtk_text_buffer_get_bounds(buffer_of(*rec), &a, &b);
      gchar* all = gtk_text_buffer_get_text(buffer_of(*rec), &a, &b, TRUE);
      std::string out = all ? all : "";
      g_free(all);
      return out;
    }
    case WidgetKind::DropDown:
    case WidgetKind::ListView:
    case WidgetKind::Panel:
      return item_widget_text(*rec);
    default:
      break;
  }
  return t ? t : "";
}

void set_state(int widget, int state) {
  WidgetRec* rec = find_widget(widget);
  if (!rec) return;
  Quiet quiet;
  switch (rec->kind) {
    case WidgetKind::CheckBox:
    case WidgetKind::Option:
      gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(rec->main), state != 0);
      break;
    case WidgetKind::ImageButton:
      if (GTK_IS_TOGGLE_BUTTON(rec->main))
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(rec->main), state != 0);
      break;
    case WidgetKind::Slider:
      gtk_range_set_value(GTK_RANGE(rec->main), state);
      break;
    case WidgetKind::DropDown:
    case WidgetKind::ListView:
    case WidgetKind::Panel:
      set_item_widget_state(*rec, state);
      break;
    default:
      break;
  }
}

int state(int widget) {
  WidgetRec* rec = find_widget(widget);
  if (!rec) return 0;
  switch (rec->kind) {
    case WidgetKind::CheckBox:
    case WidgetKind::Option:
      return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(rec->main)) ? 1 : 0;
    case WidgetKind::ImageButton:
      return GTK_IS_TOGGLE_BUTTON(rec->main) &&
                     gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(rec->main))
                 ? 1
                 : 0;
    case WidgetKind::Slider:
      return int(std::lround(gtk_range_get_value(GTK_RANGE(rec->main))));
    case WidgetKind::DropDown:
    case WidgetKind::ListView:
    case WidgetKind::Panel:
      return item_widget_state(*rec);
    default:
      return 0;
  }
}

}  // namespace tk
