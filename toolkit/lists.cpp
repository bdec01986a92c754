// Widgets holding items: drop-down lists, lists with columns, tabbed panels.
#include <algorithm>

#include "toolkit/internal.h"

namespace tk {

using namespace detail;

namespace {

// Drop-down store: picture, text, data.
constexpr int kDropPicture = 0, kDropText = 1, kDropData = 2;
// List store: check, picture, data, then one text per column.
constexpr int kListCheck = 0, kListPicture = 1, kListData = 2, kListFirstText = 3;
constexpr int kMaxListColumns = 16;

GdkPixbuf* picture(int image) {
  imaging::Image* img = imaging::image_ptr(image);
  return img ? make_pixbuf(*img) : nullptr;
}

// A drop-down row shows its picture as an icon: a larger picture (a sprite's
// frame) is scaled down into kDropIconSide x kDropIconSide, keeping its shape,
// so that the row's text stays in view.
constexpr int kDropIconSide = 16;
GdkPixbuf* icon(int image) {
  GdkPixbuf* pb = picture(image);
  if (!pb) return nullptr;
  const int w = gdk_pixbuf_get_width(pb), h = gdk_pixbuf_get_height(pb);
  if (w <= kDropIconSide && h <= kDropIconSide) return pb;
  const int longer = std::max(w, h);
  GdkPixbuf* scaled = gdk_pixbuf_scale_simple(pb, std::max(1, w * kDropIconSide / longer),
                                              std::max(1, h * kDropIconSide / longer), GDK_INTERP_BILINEAR);
  g_object_unref(pb);
  return scaled;
}

bool nth_row(WidgetRec& rec, int item, GtkTreeIter* it) {
  return item >= 0 &&
         gtk_tree_model_iter_nth_child(GTK_TREE_MODEL(rec.store), it, nullptr, item);
}

int row_count(WidgetRec& rec) {
  return gtk_tree_model_iter_n_children(GTK_TREE_MODEL(rec.store), nullptr);
}

void on_changed(gpointer, gpointer data) { push_widget_event(GPOINTER_TO_INT(data), kChange); }
void on_switch_page(GtkNotebook*, gpointer, guint, gpointer data) {
  push_widget_event(GPOINTER_TO_INT(data), kChange);
}

std::vector<std::string> split_columns(const std::string& text) {
  std::vector<std::string> out(1);
  for (char c : text) {
    if (c == '\n')
      out.emplace_back();
    else
      out.back() += c;
  }
  return out;
}

// ---- lists: clicks on press, double clicks, check boxes ----
gboolean on_list_press(GtkWidget*, GdkEventButton* e, gpointer data) {
  WidgetRec* rec = find_widget(GPOINTER_TO_INT(data), WidgetKind::ListView);
  if (!rec) return FALSE;
  if (e->button == 3) {
    if (e->type == GDK_BUTTON_PRESS) push_widget_event(rec->number, kRightClick);
    if (e->type == GDK_2BUTTON_PRESS) push_widget_event(rec->number, kRightDoubleClick);
    return TRUE;  // a right click leaves the selection alone
  }
  if (e->button == 1 && e->type == GDK_2BUTTON_PRESS) {
    rec->double_press[1] = true;
    push_widget_event(rec->number, kLeftDoubleClick);
  }
  return FALSE;
}

gboolean on_list_release(GtkWidget*, GdkEventButton* e, gpointer data) {
  WidgetRec* rec = find_widget(GPOINTER_TO_INT(data), WidgetKind::ListView);
  if (!rec || e->button != 1) return FALSE;
  if (!rec->double_press[1]) push_widget_event(rec->number, kLeftClick);
  rec->double_press[1] = false;
  return FALSE;
}

void on_list_toggled(GtkCellRendererToggle*, gchar* path, gpointer data) {
  WidgetRec* rec = find_widget(GPOINTER_TO_INT(data), WidgetKind::ListView);
  if (!rec) return;
  GtkTreeIter it;
  if (!gtk_tree_model_get_iter_from_string(GTK_TREE_MODEL(rec->store), &it, path)) return;
  gboolean on = FALSE;
  gtk_tree_model_get(GTK_TREE_MODEL(rec->store), &it, kListCheck, &on, -1);
  gtk_list_store_set(rec->store, &it, kListCheck, !on, -1);
  push_widget_event(rec->number, kChange);
}

GtkTreeView* tree(WidgetRec& rec) { return GTK_TREE_VIEW(rec.main); }

// How the closed box of a drop-down shows an item: its text at a size that
// fits (*font, nullptr for the widget's own) and its picture (false when even
// the smallest size leaves the text no room beside it). The open list is as
// wide as its items and shows them as they are.
bool closed_box_fit(GtkCellLayout* layout, GtkTreeModel* model, GtkTreeIter* it, gpointer data,
                    PangoFontDescription** font) {
  *font = nullptr;
  WidgetRec* rec = find_widget(GPOINTER_TO_INT(data), WidgetKind::DropDown);
  GtkWidget* shown = rec ? gtk_bin_get_child(GTK_BIN(rec->main)) : nullptr;
  if (!shown || GTK_WIDGET(layout) != shown || shown->allocation.width <= 1) return true;
  gchar* text = nullptr;
  GdkPixbuf* pb = nullptr;
  gtk_tree_model_get(model, it, kDropText, &text, kDropPicture, &pb, -1);
  // Each cell keeps its padding on both sides.
  GList* cells = gtk_cell_layout_get_cells(GTK_CELL_LAYOUT(rec->main));
  int room = shown->allocation.width, picture = 0;
  for (GList* c = cells; c; c = c->next) {
    auto* cell = GTK_CELL_RENDERER(c->data);
    room -= 2 * int(cell->xpad);
    if (GTK_IS_CELL_RENDERER_PIXBUF(cell) && pb) picture = gdk_pixbuf_get_width(pb) + 2 * int(cell->xpad);
  }
  g_list_free(cells);
  if (pb) g_object_unref(pb);
  const char* t = text ? text : "";
  const PangoFontDescription* own = shown->style->font_desc;
  PangoFontDescription* want = fitted_font(shown, t, own, room - picture);
  const bool with_picture = text_width(shown, t, want) <= room - picture;
  if (!with_picture) {
    pango_font_description_free(want);
    want = fitted_font(shown, t, own, room);
  }
  if (pango_font_description_equal(want, own))
    pango_font_description_free(want);
  else
    *font = want;
  g_free(text);
  return with_picture;
}

void fit_drop_text(GtkCellLayout* layout, GtkCellRenderer* cell, GtkTreeModel* model, GtkTreeIter* it,
                   gpointer data) {
  PangoFontDescription* font = nullptr;
  closed_box_fit(layout, model, it, data, &font);
  g_object_set(cell, "font-desc", font, nullptr);
  if (font) pango_font_description_free(font);
}

void fit_drop_picture(GtkCellLayout* layout, GtkCellRenderer* cell, GtkTreeModel* model, GtkTreeIter* it,
                      gpointer data) {
  PangoFontDescription* font = nullptr;
  g_object_set(cell, "visible", closed_box_fit(layout, model, it, data, &font), nullptr);
  if (font) pango_font_description_free(font);
}

void append_list_column(WidgetRec& rec, int position, const std::string& title, int width) {
  if (rec.columns >= kMaxListColumns) return;
  int text_column = kListFirstText + rec.columns;
  GtkTreeViewColumn* col = gtk_tree_view_column_new();
  gtk_tree_view_column_set_title(col, title.c_str());
  // A header label of our own, so that its text can be fitted to the column.
  GtkWidget* header_label = gtk_label_new(title.c_str());
  gtk_widget_show(header_label);
  gtk_tree_view_column_set_widget(col, header_label);
  gtk_tree_view_column_set_sizing(col, GTK_TREE_VIEW_COLUMN_FIXED);
  gtk_tree_view_column_set_fixed_width(col, std::max(1, width));
  gtk_tree_view_column_set_resizable(col, TRUE);
  const bool checks = rec.flags & kListCheckBoxes;
  if (rec.columns == 0) {
    if (checks) {
      // The box has a column of its own: in a shared column GTK toggles it on
      // a click anywhere in the row, so selecting a row would flip its box.
      GtkTreeViewColumn* box = gtk_tree_view_column_new();
      GtkCellRenderer* toggle = gtk_cell_renderer_toggle_new();
      gtk_tree_view_column_pack_start(box, toggle, FALSE);
      gtk_tree_view_column_add_attribute(box, toggle, "active", kListCheck);
      g_signal_connect(toggle, "toggled", G_CALLBACK(on_list_toggled), GINT_TO_POINTER(rec.number));
      gtk_tree_view_insert_column(tree(rec), box, 0);
    }
    GtkCellRenderer* pic = gtk_cell_renderer_pixbuf_new();
    gtk_tree_view_column_pack_start(col, pic, FALSE);
    gtk_tree_view_column_add_attribute(col, pic, "pixbuf", kListPicture);
  }
  GtkCellRenderer* txt = gtk_cell_renderer_text_new();
  gtk_tree_view_column_pack_start(col, txt, TRUE);
  gtk_tree_view_column_add_attribute(col, txt, "text", text_column);
  ++rec.columns;
  gtk_tree_view_insert_column(tree(rec), col, position >= 0 && checks ? position + 1 : position);
  if (GtkWidget* header = gtk_widget_get_ancestor(header_label, GTK_TYPE_BUTTON)) keep_label_whole(header);
}

// ---- panels ----
GtkNotebook* notebook(WidgetRec& rec) { return GTK_NOTEBOOK(rec.main); }

int page_count(WidgetRec& rec) { return int(rec.pages.size()); }

// Notebook size minus page size: measured once GTK has laid the panel out.
void panel_margins(WidgetRec& rec, int* dw, int* dh) {
  if (!rec.pages.empty()) {
    GtkAllocation nb = rec.main->allocation, pg = rec.pages[0]->allocation;
    if (GTK_WIDGET_REALIZED(rec.main) && nb.width > 1 && pg.width > 1 && pg.height > 1) {
      rec.page_dw = nb.width - pg.width;
      rec.page_dh = nb.height - pg.height;
    }
  }
  if (rec.page_dw >= 0) {
    *dw = rec.page_dw;
    *dh = rec.page_dh;
    return;
  }
  GtkStyle* style = rec.main->style;
  int border = int(gtk_container_get_border_width(GTK_CONTAINER(rec.main)));
  int tab_h = 0;
  for (GtkWidget* l : rec.tab_labels) {
    GtkRequisition r;
    gtk_widget_size_request(l, &r);
    tab_h = std::max(tab_h, r.height);
  }
  *dw = 2 * (border + style->xthickness);
  *dh = 2 * (border + style->ythickness) + tab_h + 2 * style->ythickness + 6;
}

}  // namespace

int drop_down(int number, int x, int y, int width, int height, unsigned flags) {
  GtkListStore* store = gtk_list_store_new(3, GDK_TYPE_PIXBUF, G_TYPE_STRING, G_TYPE_INT);
  GtkWidget* combo = gtk_combo_box_new_with_model(GTK_TREE_MODEL(store));
  GtkCellRenderer* pic = nullptr;
  if (flags & kDropDownImages) {
    pic = gtk_cell_renderer_pixbuf_new();
    gtk_cell_layout_pack_start(GTK_CELL_LAYOUT(combo), pic, FALSE);
    gtk_cell_layout_add_attribute(GTK_CELL_LAYOUT(combo), pic, "pixbuf", kDropPicture);
  }
  GtkCellRenderer* txt = gtk_cell_renderer_text_new();
  gtk_cell_layout_pack_start(GTK_CELL_LAYOUT(combo), txt, TRUE);
  gtk_cell_layout_add_attribute(GTK_CELL_LAYOUT(combo), txt, "text", kDropText);
  WidgetRec* rec = add_widget(number, WidgetKind::DropDown, combo, combo, x, y, width, height, flags);
  if (!rec) {
    g_object_unref(store);
    return -1;
  }
  rec->store = store;
  gpointer data = GINT_TO_POINTER(rec->number);
  gtk_cell_layout_set_cell_data_func(GTK_CELL_LAYOUT(combo), txt, fit_drop_text, data, nullptr);
  if (pic) gtk_cell_layout_set_cell_data_func(GTK_CELL_LAYOUT(combo), pic, fit_drop_picture, data, nullptr);
  g_signal_connect(combo, "changed", G_CALLBACK(on_changed), data);
  return rec->number;
}

int list_view(int number, int x, int y, int width, int height, const std::string& title,
              int column_width, unsigned flags) {
  GType types[kListFirstText + kMaxListColumns];
  types[kListCheck] = G_TYPE_BOOLEAN;
  types[kListPicture] = GDK_TYPE_PIXBUF;
  types[kListData] = G_TYPE_INT;
  for (int i = 0; i < kMaxListColumns; ++i) types[kListFirstText + i] = G_TYPE_STRING;
  GtkListStore* store = gtk_list_store_newv(kListFirstText + kMaxListColumns, types);
  GtkWidget* scroll = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroll), GTK_POLICY_AUTOMATIC,
                                 GTK_POLICY_AUTOMATIC);
  gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scroll), GTK_SHADOW_IN);
  GtkWidget* view = gtk_tree_view_new_with_model(GTK_TREE_MODEL(store));
  gtk_tree_view_set_headers_visible(GTK_TREE_VIEW(view), !(flags & kListNoHeaders));
  gtk_tree_selection_set_mode(gtk_tree_view_get_selection(GTK_TREE_VIEW(view)), GTK_SELECTION_SINGLE);
  gtk_container_add(GTK_CONTAINER(scroll), view);
  WidgetRec* rec = add_widget(number, WidgetKind::ListView, scroll, view, x, y, width, height, flags);
  if (!rec) {
    g_object_unref(store);
    return -1;
  }
  rec->store = store;
  rec->columns = 0;
  append_list_column(*rec, -1, title, column_width);
  gpointer data = GINT_TO_POINTER(rec->number);
  g_signal_connect(gtk_tree_view_get_selection(GTK_TREE_VIEW(view)), "changed",
                   G_CALLBACK(on_changed), data);
  g_signal_connect(view, "button-press-event", G_CALLBACK(on_list_press), data);
  g_signal_connect(view, "button-release-event", G_CALLBACK(on_list_release), data);
  return rec->number;
}

void add_column(int list, int position, const std::string& title, int width) {
  if (WidgetRec* rec = find_widget(list, WidgetKind::ListView))
    append_list_column(*rec, position, title, width);
}

int column_count(int list) {
  WidgetRec* rec = find_widget(list, WidgetKind::ListView);
  return rec ? rec->columns : 0;
}

int panel(int number, int x, int y, int width, int height) {
  GtkWidget* nb = gtk_notebook_new();
  gtk_notebook_set_scrollable(GTK_NOTEBOOK(nb), TRUE);
  WidgetRec* rec = add_widget(number, WidgetKind::Panel, nb, nb, x, y, width, height);
  if (!rec) return -1;
  g_signal_connect_after(nb, "switch-page", G_CALLBACK(on_switch_page), GINT_TO_POINTER(rec->number));
  places.push_back(Place{rec->window, rec->number, rec->serial, -1});
  return rec->number;
}

int add_tab(int panel, const std::string& text, int image) {
  WidgetRec* rec = find_widget(panel, WidgetKind::Panel);
  if (!rec) return -1;
  GtkWidget* page = gtk_layout_new(nullptr, nullptr);
  GtkWidget* box = gtk_hbox_new(FALSE, 4);
  if (GdkPixbuf* pb = picture(image)) {
    gtk_box_pack_start(GTK_BOX(box), gtk_image_new_from_pixbuf(pb), FALSE, FALSE, 0);
    g_object_unref(pb);
  }
  GtkWidget* l = gtk_label_new(text.c_str());
  gtk_box_pack_start(GTK_BOX(box), l, FALSE, FALSE, 0);
  gtk_widget_show_all(box);
  gtk_widget_show(page);
  rec->pages.push_back(page);
  rec->tab_labels.push_back(l);
  rec->tab_texts.push_back(text);
  {
    Quiet quiet;
    gtk_notebook_append_page(notebook(*rec), page, box);
  }
  apply_font(*rec);
  int tab = page_count(*rec) - 1;
  // Widgets created next go into the new tab: replace the panel's place, or add one.
  if (!places.empty() && places.back().widget == panel && places.back().serial == rec->serial)
    places.back().tab = tab;
  else
    places.push_back(Place{rec->window, panel, rec->serial, tab});
  return tab;
}

int panel_page_width(int panel) {
  WidgetRec* rec = find_widget(panel, WidgetKind::Panel);
  if (!rec) return 0;
  int dw = 0, dh = 0;
  panel_margins(*rec, &dw, &dh);
  return std::max(0, rec->w - dw);
}

int panel_page_height(int panel) {
  WidgetRec* rec = find_widget(panel, WidgetKind::Panel);
  if (!rec) return 0;
  int dw = 0, dh = 0;
  panel_margins(*rec, &dw, &dh);
  return std::max(0, rec->h - dh);
}

int add_item(int widget, int position, const std::string& text, int image) {
  WidgetRec* rec = find_widget(widget);
  if (!rec) return -1;
  if (rec->kind == WidgetKind::Panel) return add_tab(widget, text, image);
  if (rec->kind != WidgetKind::DropDown && rec->kind != WidgetKind::ListView) return -1;
  int count = row_count(*rec);
  if (position < 0 || position > count) position = count;
  Quiet quiet;
  GtkTreeIter it;
  gtk_list_store_insert(rec->store, &it, position);
  GdkPixbuf* pb = rec->kind == WidgetKind::DropDown ? icon(image) : picture(image);
  if (rec->kind == WidgetKind::DropDown) {
    gtk_list_store_set(rec->store, &it, kDropPicture, pb, kDropText, text.c_str(), kDropData, 0, -1);
  } else {
    gtk_list_store_set(rec->store, &it, kListCheck, FALSE, kListPicture, pb, kListData, 0, -1);
    auto cols = split_columns(text);
    for (size_t c = 0; c < cols.size() && c < size_t(kMaxListColumns); ++c)
      gtk_list_store_set(rec->store, &it, kListFirstText + int(c), cols[c].c_str(), -1);
  }
  if (pb) g_object_unref(pb);
  return position;
}

void remove_item(int widget, int item) {
  WidgetRec* rec = find_widget(widget);
  if (!rec) return;
  Quiet quiet;
  if (rec->kind == WidgetKind::Panel) {
    if (item < 0 || item >= page_count(*rec)) return;
    gtk_notebook_remove_page(notebook(*rec), item);
    rec->pages.erase(rec->pages.begin() + item);
    rec->tab_labels.erase(rec->tab_labels.begin() + item);
    rec->tab_texts.erase(rec->tab_texts.begin() + item);
    return;
  }
  GtkTreeIter it;
  if (rec->store && nth_row(*rec, item, &it)) gtk_list_store_remove(rec->store, &it);
}

void clear_items(int widget) {
  WidgetRec* rec = find_widget(widget);
  if (!rec) return;
  if (rec->kind == WidgetKind::Panel) {
    while (page_count(*rec) > 0) remove_item(widget, page_count(*rec) - 1);
    return;
  }
  Quiet quiet;
  if (rec->store) gtk_list_store_clear(rec->store);
}

int item_count(int widget) {
  WidgetRec* rec = find_widget(widget);
  if (!rec) return 0;
  if (rec->kind == WidgetKind::Panel) return page_count(*rec);
  return rec->store ? row_count(*rec) : 0;
}

std::string item_text(int widget, int item, int column) {
  WidgetRec* rec = find_widget(widget);
  if (!rec) return "";
  if (rec->kind == WidgetKind::Panel)
    return item >= 0 && item < page_count(*rec) ? rec->tab_texts[size_t(item)] : "";
  GtkTreeIter it;
  if (!rec->store || !nth_row(*rec, item, &it)) return "";
  int model_column = rec->kind == WidgetKind::DropDown ? kDropText : kListFirstText + column;
  if (column < 0 || (rec->kind == WidgetKind::DropDown && column > 0) ||
      (rec->kind == WidgetKind::ListView && column >= kMaxListColumns))
    return "";
  gchar* t = nullptr;
  gtk_tree_model_get(GTK_TREE_MODEL(rec->store), &it, model_column, &t, -1);
  std::string out = t ? t : "";
  g_free(t);
  return out;
}

void set_item_text(int widget, int item, const std::string& text, int column) {
  WidgetRec* rec = find_widget(widget);
  if (!rec) return;
  if (rec->kind == WidgetKind::Panel) {
    if (item < 0 || item >= page_count(*rec)) return;
    rec->tab_texts[size_t(item)] = text;
    gtk_label_set_text(GTK_LABEL(rec->tab_labels[size_t(item)]), text.c_str());
    return;
  }
  GtkTreeIter it;
  if (!rec->store || !nth_row(*rec, item, &it) || column < 0) return;
  Quiet quiet;
  if (rec->kind == WidgetKind::DropDown && column == 0)
    gtk_list_store_set(rec->store, &it, kDropText, text.c_str(), -1);
  else if (rec->kind == WidgetKind::ListView && column < kMaxListColumns)
    gtk_list_store_set(rec->store, &it, kListFirstText + column, text.c_str(), -1);
}

void set_item_data(int widget, int item, int data) {
  WidgetRec* rec = find_widget(widget);
  GtkTreeIter it;
  if (!rec || !rec->store || !nth_row(*rec, item, &it)) return;
  gtk_list_store_set(rec->store, &it, rec->kind == WidgetKind::DropDown ? kDropData : kListData,
                     data, -1);
}

int item_data(int widget, int item) {
  WidgetRec* rec = find_widget(widget);
  GtkTreeIter it;
  if (!rec || !rec->store || !nth_row(*rec, item, &it)) return 0;
  gint data = 0;
  gtk_tree_model_get(GTK_TREE_MODEL(rec->store), &it,
                     rec->kind == WidgetKind::DropDown ? kDropData : kListData, &data, -1);
  return data;
}

void set_item_state(int widget, int item, int state) {
  WidgetRec* rec = find_widget(widget, WidgetKind::ListView);
  GtkTreeIter it;
  if (!rec || !nth_row(*rec, item, &it)) return;
  gtk_list_store_set(rec->store, &it, kListCheck, state != 0, -1);
}

int item_state(int widget, int item) {
  WidgetRec* rec = find_widget(widget, WidgetKind::ListView);
  GtkTreeIter it;
  if (!rec || !nth_row(*rec, item, &it)) return 0;
  gboolean on = FALSE;
  gtk_tree_model_get(GTK_TREE_MODEL(rec->store), &it, kListCheck, &on, -1);
  return on ? 1 : 0;
}

namespace detail {

int item_widget_state(WidgetRec& rec) {
  switch (rec.kind) {
    case WidgetKind::DropDown:
      return gtk_combo_box_get_active(GTK_COMBO_BOX(rec.main));
    case WidgetKind::Panel:
      return page_count(rec) ? gtk_notebook_get_current_page(notebook(rec)) : -1;
    case WidgetKind::ListView: {
      GtkTreeIter it;
      if (!gtk_tree_selection_get_selected(gtk_tree_view_get_selection(tree(rec)), nullptr, &it))
        return -1;
      GtkTreePath* path = gtk_tree_model_get_path(GTK_TREE_MODEL(rec.store), &it);
      int row = gtk_tree_path_get_indices(path)[0];
      gtk_tree_path_free(path);
      return row;
    }
    default:
      return -1;
  }
}

void set_item_widget_state(WidgetRec& rec, int state) {
  switch (rec.kind) {
    case WidgetKind::DropDown:
      gtk_combo_box_set_active(GTK_COMBO_BOX(rec.main), state >= 0 && state < row_count(rec) ? state : -1);
      break;
    case WidgetKind::Panel:
      if (state >= 0 && state < page_count(rec)) gtk_notebook_set_current_page(notebook(rec), state);
      break;
    case WidgetKind::ListView: {
      GtkTreeSelection* sel = gtk_tree_view_get_selection(tree(rec));
      GtkTreeIter it;
      if (nth_row(rec, state, &it)) {
        gtk_tree_selection_select_iter(sel, &it);
        GtkTreePath* path = gtk_tree_model_get_path(GTK_TREE_MODEL(rec.store), &it);
        gtk_tree_view_set_cursor(tree(rec), path, nullptr, FALSE);
        gtk_tree_path_free(path);
      } else {
        gtk_tree_selection_unselect_all(sel);
      }
      break;
    }
    default:
      break;
  }
}

std::string item_widget_text(WidgetRec& rec) {
  int selected = item_widget_state(rec);
  return selected < 0 ? "" : item_text(rec.number, selected);
}

void set_item_widget_text(WidgetRec& rec, const std::string& text) {
  if (rec.kind == WidgetKind::Panel) {
    int tab = item_widget_state(rec);
    if (tab >= 0) set_item_text(rec.number, tab, text);
    return;
  }
  if (rec.kind != WidgetKind::DropDown) return;
  int found = -1;
  for (int i = 0, n = row_count(rec); i < n && found < 0; ++i)
    if (item_text(rec.number, i) == text) found = i;
  set_item_widget_state(rec, found);
}

}  // namespace detail
}  // namespace tk
