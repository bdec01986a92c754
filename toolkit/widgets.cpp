// The widget table, placing, and the operations every kind of widget shares.
#include "toolkit/widgets.h"

#include <algorithm>

#include "toolkit/gtk_access.h"
#include "toolkit/internal.h"

namespace tk {
namespace detail {

std::map<int, std::unique_ptr<WidgetRec>> widgets;
LastCreated last_created;

namespace {
unsigned long next_serial = 1;
int next_widget = kFirstDynamicNumber;
}

WidgetRec::~WidgetRec() {
  if (store) g_object_unref(store);
}

WidgetRec* find_widget(int number) {
  auto it = widgets.find(number);
  return it == widgets.end() ? nullptr : it->second.get();
}

WidgetRec* find_widget(int number, WidgetKind kind) {
  WidgetRec* rec = find_widget(number);
  return rec && rec->kind == kind ? rec : nullptr;
}

GtkWidget* current_area(int* window) {
  while (!places.empty()) {
    Place& p = places.back();
    WindowRec* w = find_window(p.window);
    if (!w) {
      places.pop_back();
      continue;
    }
    if (p.widget < 0) {
      *window = p.window;
      return w->area;
    }
    WidgetRec* rec = find_widget(p.widget);
    if (!rec || rec->serial != p.serial) {
      places.pop_back();
      continue;
    }
    *window = p.window;
    if (rec->kind == WidgetKind::Panel) {
      if (p.tab >= 0 && p.tab < int(rec->pages.size())) return rec->pages[size_t(p.tab)];
      return nullptr;  // a panel with no tab yet takes no widgets
    }
    return rec->area;
  }
  return nullptr;
}

namespace {

void on_destroy(GtkWidget* outer, gpointer data) {
  auto it = widgets.find(GPOINTER_TO_INT(data));
  if (it != widgets.end() && it->second->outer == outer) widgets.erase(it);
}

}  // namespace

WidgetRec* add_widget(int number, WidgetKind kind, GtkWidget* outer, GtkWidget* main, int x, int y,
                      int w, int h, unsigned flags) {
  int window = -1;
  GtkWidget* area = current_area(&window);
  if (!area) {
    g_object_ref_sink(outer);
    gtk_widget_destroy(outer);
    g_object_unref(outer);
    return nullptr;
  }
  if (number == kAny) number = allocate_number(widgets, next_widget);
  free_widget(number);
  // Freeing may have removed the place we were going to use.
  area = current_area(&window);
  if (!area) {
    g_object_ref_sink(outer);
    gtk_widget_destroy(outer);
    g_object_unref(outer);
    return nullptr;
  }
  auto rec = std::make_unique<WidgetRec>();
  rec->number = number;
  rec->serial = next_serial++;
  rec->kind = kind;
  rec->window = window;
  rec->outer = outer;
  rec->main = main;
  rec->parent_area = area;
  rec->flags = flags;
  rec->x = x;
  rec->y = y;
  rec->w = w;
  rec->h = h;
  WidgetRec* r = rec.get();
  widgets[number] = std::move(rec);
  gtk_widget_set_size_request(outer, std::max(0, w), std::max(0, h));
  gtk_layout_put(GTK_LAYOUT(area), outer, x, y);
  g_signal_connect(outer, "destroy", G_CALLBACK(on_destroy), GINT_TO_POINTER(number));
  gtk_widget_show_all(outer);
  if (shows_text(kind)) keep_label_whole(outer, number);
  last_created = LastCreated{area, number};
  return r;
}

GdkPixbuf* make_pixbuf(const imaging::Image& image) {
  if (image.width <= 0 || image.height <= 0) return nullptr;
  GdkPixbuf* pb = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, image.width, image.height);
  if (!pb) return nullptr;
  int stride = gdk_pixbuf_get_rowstride(pb);
  guchar* dst = gdk_pixbuf_get_pixels(pb);
  for (int y = 0; y < image.height; ++y)
    std::copy_n(image.at(0, y), size_t(image.width) * 4, dst + size_t(y) * size_t(stride));
  return pb;
}

GdkColor gdk_colour(int colour) {
  GdkColor c;
  c.pixel = 0;
  c.red = guint16((colour & 0xff) * 257);
  c.green = guint16(((colour >> 8) & 0xff) * 257);
  c.blue = guint16(((colour >> 16) & 0xff) * 257);
  return c;
}

}  // namespace detail

using namespace detail;

WidgetKind widget_kind(int widget) {
  WidgetRec* rec = find_widget(widget);
  return rec ? rec->kind : WidgetKind::NoWidget;
}

bool widget_exists(int widget) { return find_widget(widget) != nullptr; }

int widget_window(int widget) {
  WidgetRec* rec = find_widget(widget);
  return rec ? rec->window : -1;
}

void free_widget(int widget) {
  WidgetRec* rec = find_widget(widget);
  if (!rec) return;
  gtk_widget_destroy(rec->outer);  // the destroy handler drops the records
}

void resize_widget(int widget, int x, int y, int width, int height) {
  WidgetRec* rec = find_widget(widget);
  if (!rec) return;
  if (x != kKeep) rec->x = x;
  if (y != kKeep) rec->y = y;
  if (width != kKeep) rec->w = width;
  if (height != kKeep) rec->h = height;
  gtk_layout_move(GTK_LAYOUT(rec->parent_area), rec->outer, rec->x, rec->y);
  gtk_widget_set_size_request(rec->outer, std::max(0, rec->w), std::max(0, rec->h));
  if (rec->kind == WidgetKind::Canvas) resize_canvas_image(*rec);
  refit_labels(*rec);
}

int widget_x(int widget) {
  WidgetRec* rec = find_widget(widget);
  return rec ? rec->x : 0;
}
int widget_y(int widget) {
  WidgetRec* rec = find_widget(widget);
  return rec ? rec->y : 0;
}
int widget_width(int widget) {
  WidgetRec* rec = find_widget(widget);
  return rec ? rec->w : 0;
}
int widget_height(int widget) {
  WidgetRec* rec = find_widget(widget);
  return rec ? rec->h : 0;
}

void hide_widget(int widget, bool hidden) {
  WidgetRec* rec = find_widget(widget);
  if (!rec) return;
  rec->hidden = hidden;
  if (hidden)
    gtk_widget_hide(rec->outer);
  else
    gtk_widget_show(rec->outer);
  refit_labels(*rec);
}

bool widget_hidden(int widget) {
  WidgetRec* rec = find_widget(widget);
  return rec && rec->hidden;
}

void disable_widget(int widget, bool disabled) {
  if (WidgetRec* rec = find_widget(widget)) gtk_widget_set_sensitive(rec->outer, !disabled);
}

bool widget_disabled(int widget) {
  WidgetRec* rec = find_widget(widget);
  return rec && !GTK_WIDGET_SENSITIVE(rec->outer);
}

void focus_widget(int widget) {
  if (WidgetRec* rec = find_widget(widget)) gtk_widget_grab_focus(rec->main);
}

bool widget_focused(int widget) {
  WidgetRec* rec = find_widget(widget);
  return rec && gtk_widget_is_focus(rec->main);
}

void set_widget_data(int widget, int data) {
  if (WidgetRec* rec = find_widget(widget)) rec->data = data;
}

int widget_data(int widget) {
  WidgetRec* rec = find_widget(widget);
  return rec ? rec->data : 0;
}

void set_tooltip(int widget, const std::string& text) {
  WidgetRec* rec = find_widget(widget);
  if (!rec) return;
  rec->tooltip = text;
  gtk_widget_set_tooltip_text(rec->outer, text.c_str());
}

std::string tooltip(int widget) {
  WidgetRec* rec = find_widget(widget);
  return rec ? rec->tooltip : "";
}

namespace {

// The label inside a button-like widget, nullptr when it has none.
GtkWidget* child_label(GtkWidget* w) {
  if (!GTK_IS_BIN(w)) return nullptr;
  GtkWidget* child = gtk_bin_get_child(GTK_BIN(w));
  return child && GTK_IS_LABEL(child) ? child : nullptr;
}

void colour_widget(GtkWidget* w, ColourRole role, int colour, bool text_kind) {
  GdkColor c = gdk_colour(colour);
  GdkColor* cp = colour < 0 ? nullptr : &c;
  for (GtkStateType s : {GTK_STATE_NORMAL, GTK_STATE_ACTIVE, GTK_STATE_PRELIGHT,
                         GTK_STATE_SELECTED, GTK_STATE_INSENSITIVE}) {
    if (role == ColourRole::Front) {
      if (s == GTK_STATE_SELECTED) continue;
      if (text_kind)
        gtk_widget_modify_text(w, s, cp);
      else
        gtk_widget_modify_fg(w, s, cp);
    } else {
      if (text_kind) {
        if (s == GTK_STATE_SELECTED) continue;
        gtk_widget_modify_base(w, s, cp);
      } else if (s == GTK_STATE_NORMAL || s == GTK_STATE_INSENSITIVE) {
        gtk_widget_modify_bg(w, s, cp);
      }
    }
  }
}

}  // namespace

void set_colour(int widget, ColourRole role, int colour) {
  WidgetRec* rec = find_widget(widget);
  if (!rec) return;
  (role == ColourRole::Front ? rec->front : rec->back) = colour;
  switch (rec->kind) {
    case WidgetKind::Input:
    case WidgetKind::TextArea:
    case WidgetKind::ListView:
      colour_widget(rec->main, role, colour, true);
      break;
    case WidgetKind::Label:
      if (role == ColourRole::Back) {
        gtk_event_box_set_visible_window(GTK_EVENT_BOX(rec->outer), TRUE);
        colour_widget(rec->outer, role, colour, false);
      } else {
        colour_widget(rec->main, role, colour, false);
      }
      break;
    case WidgetKind::ScrollArea:
    case WidgetKind::Container:
      colour_widget(role == ColourRole::Back ? rec->area : rec->main, role, colour, false);
      break;
    default:
      if (GtkWidget* l = child_label(rec->main); l && role == ColourRole::Front)
        colour_widget(l, role, colour, false);
      else
        colour_widget(rec->main, role, colour, false);
  }
}

int colour(int widget, ColourRole role) {
  WidgetRec* rec = find_widget(widget);
  if (!rec) return -1;
  return role == ColourRole::Front ? rec->front : rec->back;
}

// ---- texts shown whole ----
// A text wider than the room its widget gives it is drawn at a smaller size
// of the same font, and condensed where that is not enough, so that the user
// reads all of it; below the smallest size it would stop being legible, so it
// stays there.
namespace {

// 6.5 points: 8.7 pixels at the usual 96 dots an inch (pixels for a font sized in pixels).
constexpr int kSmallestSize = 13 * PANGO_SCALE / 2;
// The font a widget's text is meant to have (its own, or none for the default).
constexpr const char* kWholeTextFont = "quillop-whole-text-font";

GtkWidget* first_label(GtkWidget* w) {
  if (GTK_IS_LABEL(w)) return w;
  if (!GTK_IS_CONTAINER(w)) return nullptr;
  GtkWidget* found = nullptr;
  GList* children = gtk_container_get_children(GTK_CONTAINER(w));
  for (GList* c = children; c && !found; c = c->next) found = first_label(GTK_WIDGET(c->data));
  g_list_free(children);
  return found;
}

// The width of the widget's rectangle up to the first widget beside it that
// starts inside it and so covers the rest.
int uncovered_width(const WidgetRec& rec) {
  int width = rec.w;
  for (auto& [n, other] : widgets)
    if (other.get() != &rec && other->parent_area == rec.parent_area && !other->hidden &&
        other->x > rec.x && other->x < rec.x + width && other->y < rec.y + rec.h &&
        rec.y < other->y + other->h)
      width = other->x - rec.x;
  return width;
}

// data: the widget's number, or -1 for a part of a widget (a list header).
void fit_label(GtkWidget* outer, GtkAllocation*, gpointer data) {
  GtkWidget* label = first_label(outer);
  if (!label || outer->allocation.width <= 1) return;
  auto* own = static_cast<PangoFontDescription*>(g_object_get_data(G_OBJECT(outer), kWholeTextFont));
  int width = outer->allocation.width;
  if (WidgetRec* rec = find_widget(GPOINTER_TO_INT(data)); rec && rec->outer == outer)
    width = std::min(width, uncovered_width(*rec));
  // What the widget draws beside its text, from the sizes it asks for itself.
  int beside = outer->requisition.width - label->requisition.width;
  int room = width - beside - 2 * GTK_MISC(label)->xpad;
  PangoFontDescription* want = fitted_font(label, gtk_label_get_text(GTK_LABEL(label)),
                                           own ? own : gtk_widget_get_default_style()->font_desc, room);
  // Setting the font lays the widget out again, which lands here with nothing to change.
  if (!pango_font_description_equal(want, label->style->font_desc)) gtk_widget_modify_font(label, want);
  pango_font_description_free(want);
}

}  // namespace

namespace detail {

int text_width(GtkWidget* w, const char* text, const PangoFontDescription* desc) {
  PangoLayout* layout = gtk_widget_create_pango_layout(w, text);
  pango_layout_set_font_description(layout, desc);
  int width = 0;
  pango_layout_get_pixel_size(layout, &width, nullptr);
  g_object_unref(layout);
  return width;
}

bool shows_text(WidgetKind kind) {
  return kind == WidgetKind::Label || kind == WidgetKind::Button || kind == WidgetKind::CheckBox ||
         kind == WidgetKind::Option;
}

PangoFontDescription* fitted_font(GtkWidget* w, const char* text, const PangoFontDescription* base,
                                  int room) {
  PangoFontDescription* desc = pango_font_description_copy(base);
  const int size = pango_font_description_get_size(base);
  if (room <= 0 || size <= kSmallestSize || text_width(w, text, desc) <= room) return desc;
  auto set_size = [&](int s) {
    if (pango_font_description_get_size_is_absolute(base))
      pango_font_description_set_absolute_size(desc, s);
    else
      pango_font_description_set_size(desc, s);
  };
  // Smaller first; only where that is not enough, the family's condensed face too.
  for (PangoStretch stretch : {pango_font_description_get_stretch(base), PANGO_STRETCH_CONDENSED}) {
    pango_font_description_set_stretch(desc, stretch);
    set_size(size);
    // Widths grow about in step with the size: start from that guess, then step down.
    constexpr int kStep = PANGO_SCALE / 4;
    int s = std::clamp(int(gint64(size) * room / std::max(1, text_width(w, text, desc))) / kStep * kStep,
                       kSmallestSize, size);
    for (;; s -= kStep) {
      set_size(std::max(s, kSmallestSize));
      if (text_width(w, text, desc) <= room) return desc;
      if (s <= kSmallestSize) break;
    }
  }
  return desc;
}

void keep_label_whole(GtkWidget* outer, int widget) {
  g_signal_connect_after(outer, "size-allocate", G_CALLBACK(fit_label), GINT_TO_POINTER(widget));
}

void refit_labels(const WidgetRec& moved) {
  for (auto& [n, rec] : widgets)
    if (rec->parent_area == moved.parent_area && shows_text(rec->kind) && rec.get() != &moved)
      gtk_widget_queue_resize(rec->outer);
}

}  // namespace detail

// ---- fonts ----
namespace {
struct FontRec {
  PangoFontDescription* desc = nullptr;
  ~FontRec() {
    if (desc) pango_font_description_free(desc);
  }
};
std::map<int, std::unique_ptr<FontRec>> fonts;
int next_font = kFirstDynamicNumber;

PangoFontDescription* font_desc(int font) {
  auto it = fonts.find(font);
  return it == fonts.end() ? nullptr : it->second->desc;
}

void font_on(GtkWidget* w, PangoFontDescription* desc) {
  gtk_widget_modify_font(w, desc);
  if (GtkWidget* l = child_label(w)) gtk_widget_modify_font(l, desc);
  // A button with a picture and a text keeps its label deeper down.
  if (GTK_IS_COMBO_BOX(w) || GTK_IS_BUTTON(w)) {
    if (GtkWidget* child = gtk_bin_get_child(GTK_BIN(w))) gtk_widget_modify_font(child, desc);
  }
}
}  // namespace

namespace detail {
void apply_font(WidgetRec& rec) {
  PangoFontDescription* desc = font_desc(rec.font);
  if (shows_text(rec.kind))
    g_object_set_data_full(G_OBJECT(rec.outer), kWholeTextFont,
                           desc ? pango_font_description_copy(desc) : nullptr,
                           GDestroyNotify(pango_font_description_free));
  if (rec.kind == WidgetKind::Panel) {
    for (GtkWidget* l : rec.tab_labels) gtk_widget_modify_font(l, desc);
    return;
  }
  if (rec.kind == WidgetKind::ScrollArea || rec.kind == WidgetKind::Container) return;
  font_on(rec.main, desc);
}
}  // namespace detail

int load_font(int number, const std::string& family, int size_points, unsigned style) {
  if (number == kAny) number = allocate_number(fonts, next_font);
  if (number < 0 || size_points <= 0 || size_points > 1000) return -1;
  auto f = std::make_unique<FontRec>();
  f->desc = pango_font_description_new();
  pango_font_description_set_family(f->desc, family.c_str());
  pango_font_description_set_size(f->desc, size_points * PANGO_SCALE);
  pango_font_description_set_weight(f->desc,
                                    style & kFontBold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(f->desc,
                                   style & kFontItalic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  fonts[number] = std::move(f);
  return number;
}

void free_font(int font) { fonts.erase(font); }
bool font_exists(int font) { return fonts.count(font) != 0; }

void set_font(int widget, int font) {
  WidgetRec* rec = find_widget(widget);
  if (!rec) return;
  rec->font = font_exists(font) ? font : -1;
  apply_font(*rec);
}

int widget_font(int widget) {
  WidgetRec* rec = find_widget(widget);
  return rec ? rec->font : -1;
}

// ---- places ----
void use_container(int container) {
  WidgetRec* rec = find_widget(container);
  if (!rec || !(rec->kind == WidgetKind::ScrollArea || rec->kind == WidgetKind::Container ||
                rec->kind == WidgetKind::Panel))
    return;
  places.push_back(Place{rec->window, container, rec->serial,
                         rec->kind == WidgetKind::Panel ? int(rec->pages.size()) - 1 : -1});
}

void use_tab(int panel, int tab) {
  WidgetRec* rec = find_widget(panel, WidgetKind::Panel);
  if (!rec || tab < 0 || tab >= int(rec->pages.size())) return;
  places.push_back(Place{rec->window, panel, rec->serial, tab});
}

void close_container() {
  if (places.size() > 1) places.pop_back();
}

// ---- foreign widgets ----
int adopt_widget(int number, GtkWidget* widget, int x, int y, int width, int height) {
  if (!widget) return -1;
  WidgetRec* rec = add_widget(number, WidgetKind::Foreign, widget, widget, x, y, width, height);
  return rec ? rec->number : -1;
}

GtkWidget* gtk_widget_of(int widget) {
  WidgetRec* rec = find_widget(widget);
  return rec ? rec->main : nullptr;
}

GdkPixbuf* pixbuf_of_image(int image) {
  imaging::Image* img = imaging::image_ptr(image);
  return img ? make_pixbuf(*img) : nullptr;
}

}  // namespace tk
