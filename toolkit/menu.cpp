#include "toolkit/menu.h"

#include <gdk/gdkkeysyms.h>

#include "toolkit/internal.h"

namespace tk {

using namespace detail;

namespace {

struct MenuRec {
  int number = -1;
  GtkWidget* widget = nullptr;  // GtkMenuBar or GtkMenu
  bool bar = false;
  int window = -1;      // of a menu bar
  int shown_over = -1;  // of a popup menu
  GtkWidget* filling = nullptr;  // the GtkMenu items go into now
};

struct ItemRec {
  int menu = -1;
  GtkWidget* item = nullptr;
  std::string text;
};

std::map<int, MenuRec> menus;
std::map<int, ItemRec> items;
int building = -1;
int last_popup = -1;
int next_menu = kFirstDynamicNumber;

MenuRec* find_menu(int number) {
  auto it = menus.find(number);
  return it == menus.end() ? nullptr : &it->second;
}

void on_menu_destroy(GtkWidget* widget, gpointer data) {
  int number = GPOINTER_TO_INT(data);
  MenuRec* m = find_menu(number);
  if (!m || m->widget != widget) return;
  std::erase_if(items, [&](const auto& kv) { return kv.second.menu == number; });
  if (m->bar)
    if (WindowRec* w = find_window(m->window); w && w->menubar == widget) w->menubar = nullptr;
  menus.erase(number);
  if (building == number) building = -1;
  if (last_popup == number) last_popup = -1;
}

void on_item_destroy(GtkWidget* widget, gpointer data) {
  auto it = items.find(GPOINTER_TO_INT(data));
  if (it != items.end() && it->second.item == widget) items.erase(it);
}

void on_activate(GtkMenuItem* widget, gpointer data) {
  int item = GPOINTER_TO_INT(data);
  auto it = items.find(item);
  if (it == items.end() || it->second.item != GTK_WIDGET(widget)) return;
  MenuRec* m = find_menu(it->second.menu);
  if (!m) return;
  push(Event{kEventMenu, m->bar ? m->window : m->shown_over, item, 0});
}

MenuRec& new_menu(int number, GtkWidget* widget, bool bar) {
  MenuRec& m = menus[number];
  m.number = number;
  m.widget = widget;
  m.bar = bar;
  g_signal_connect(widget, "destroy", G_CALLBACK(on_menu_destroy), GINT_TO_POINTER(number));
  building = number;
  return m;
}

}  // namespace

int menu_bar(int number, int window) {
  WindowRec* w = find_window(window);
  if (!w) return -1;
  if (number == kAny) number = allocate_number(menus, next_menu);
  if (number < 0) return -1;
  free_menu(number);
  if (w->menubar) gtk_widget_destroy(w->menubar);
  GtkWidget* bar = gtk_menu_bar_new();
  gtk_box_pack_start(GTK_BOX(w->vbox), bar, FALSE, FALSE, 0);
  gtk_widget_show(bar);
  w->menubar = bar;
  MenuRec& m = new_menu(number, bar, true);
  m.window = window;
  return number;
}

int popup_menu(int number) {
  if (number == kAny) number = allocate_number(menus, next_menu);
  if (number < 0) return -1;
  free_menu(number);
  GtkWidget* menu = gtk_menu_new();
  g_object_ref_sink(menu);
  MenuRec& m = new_menu(number, menu, false);
  m.filling = menu;
  return number;
}

void free_menu(int menu) {
  MenuRec* m = find_menu(menu);
  if (!m) return;
  GtkWidget* widget = m->widget;
  bool popup = !m->bar;
  gtk_widget_destroy(widget);  // the destroy handler drops the records
  if (popup) g_object_unref(widget);
}

bool menu_exists(int menu) { return find_menu(menu) != nullptr; }

void menu_title(const std::string& title) {
  MenuRec* m = find_menu(building);
  if (!m || !m->bar) return;
  GtkWidget* head = gtk_menu_item_new_with_label(title.c_str());
  GtkWidget* sub = gtk_menu_new();
  gtk_menu_item_set_submenu(GTK_MENU_ITEM(head), sub);
  gtk_menu_shell_append(GTK_MENU_SHELL(m->widget), head);
  gtk_widget_show_all(head);
  m->filling = sub;
}

void menu_item(int item, const std::string& text, int image) {
  MenuRec* m = find_menu(building);
  if (!m || !m->filling || item < 0) return;
  if (auto old = items.find(item); old != items.end()) gtk_widget_destroy(old->second.item);
  size_t tab = text.find('\t');
  GtkWidget* w = gtk_image_menu_item_new();
  GtkWidget* box = gtk_hbox_new(FALSE, 16);
  GtkWidget* label = gtk_label_new(text.substr(0, tab).c_str());
  gtk_misc_set_alignment(GTK_MISC(label), 0, 0.5);
  gtk_box_pack_start(GTK_BOX(box), label, TRUE, TRUE, 0);
  if (tab != std::string::npos) {
    GtkWidget* keys = gtk_label_new(text.substr(tab + 1).c_str());
    gtk_misc_set_alignment(GTK_MISC(keys), 1, 0.5);
    gtk_box_pack_end(GTK_BOX(box), keys, FALSE, FALSE, 0);
  }
  gtk_container_add(GTK_CONTAINER(w), box);
  if (imaging::Image* img = imaging::image_ptr(image)) {
    if (GdkPixbuf* pb = make_pixbuf(*img)) {
      gtk_image_menu_item_set_image(GTK_IMAGE_MENU_ITEM(w), gtk_image_new_from_pixbuf(pb));
      gtk_image_menu_item_set_always_show_image(GTK_IMAGE_MENU_ITEM(w), TRUE);
      g_object_unref(pb);
    }
  }
  gtk_menu_shell_append(GTK_MENU_SHELL(m->filling), w);
  gtk_widget_show_all(w);
  items[item] = ItemRec{m->number, w, text};
  g_signal_connect(w, "activate", G_CALLBACK(on_activate), GINT_TO_POINTER(item));
  g_signal_connect(w, "destroy", G_CALLBACK(on_item_destroy), GINT_TO_POINTER(item));
}

void menu_separator() {
  MenuRec* m = find_menu(building);
  if (!m || !m->filling) return;
  GtkWidget* sep = gtk_separator_menu_item_new();
  gtk_menu_shell_append(GTK_MENU_SHELL(m->filling), sep);
  gtk_widget_show(sep);
}

namespace detail {
GtkWidget* menu_item_widget(int item) {
  auto it = items.find(item);
  return it == items.end() ? nullptr : it->second.item;
}
}  // namespace detail

bool menu_item_exists(int item) { return items.count(item) != 0; }

std::string menu_item_text(int item) {
  auto it = items.find(item);
  return it == items.end() ? "" : it->second.text;
}

int menu_item_menu(int item) {
  auto it = items.find(item);
  return it == items.end() ? -1 : it->second.menu;
}

void disable_menu_item(int item, bool disabled) {
  auto it = items.find(item);
  if (it != items.end()) gtk_widget_set_sensitive(it->second.item, !disabled);
}

void show_popup_menu(int menu, int window) {
  MenuRec* m = find_menu(menu);
  if (!m || m->bar || !find_window(window)) return;
  m->shown_over = window;
  last_popup = menu;
  // A real popup grabs pointer and keyboard, which would swallow the input
  // that tests synthesise; tests choose its items directly instead.
  if (!test_mode())
    gtk_menu_popup(GTK_MENU(m->widget), nullptr, nullptr, nullptr, nullptr, 0,
                   gtk_get_current_event_time());
}

int last_popup_menu() { return last_popup; }

// ---- shortcuts ----
void add_shortcut(int window, int modifiers, int key, int item) {
  if (WindowRec* w = find_window(window)) w->shortcuts[{modifiers, key}] = item;
}

void remove_shortcut(int window, int modifiers, int key) {
  if (WindowRec* w = find_window(window)) w->shortcuts.erase({modifiers, key});
}

void remove_all_shortcuts(int window) {
  if (WindowRec* w = find_window(window)) w->shortcuts.clear();
}

int shortcut_item(int window, int modifiers, int key) {
  WindowRec* w = find_window(window);
  if (!w) return -1;
  auto it = w->shortcuts.find({modifiers, key});
  return it == w->shortcuts.end() ? -1 : it->second;
}

int key_code_of_keyval(unsigned keyval) {
  if (keyval >= GDK_a && keyval <= GDK_z) return int('A' + (keyval - GDK_a));
  if (keyval >= GDK_A && keyval <= GDK_Z) return int('A' + (keyval - GDK_A));
  if (keyval >= GDK_0 && keyval <= GDK_9) return int('0' + (keyval - GDK_0));
  if (keyval >= GDK_F1 && keyval <= GDK_F12) return kKeyF1 + int(keyval - GDK_F1);
  static const std::pair<unsigned, int> named[] = {
      {GDK_BackSpace, kKeyBackspace}, {GDK_Tab, kKeyTab},         {GDK_ISO_Left_Tab, kKeyTab},
      {GDK_Return, kKeyReturn},       {GDK_KP_Enter, kKeyReturn}, {GDK_Escape, kKeyEscape},
      {GDK_space, kKeySpace},         {GDK_Page_Up, kKeyPageUp},  {GDK_Page_Down, kKeyPageDown},
      {GDK_End, kKeyEnd},             {GDK_Home, kKeyHome},       {GDK_Left, kKeyLeft},
      {GDK_Up, kKeyUp},               {GDK_Right, kKeyRight},     {GDK_Down, kKeyDown},
      {GDK_Insert, kKeyInsert},       {GDK_Delete, kKeyDelete},   {GDK_KP_Delete, kKeyDelete},
      {GDK_KP_Left, kKeyLeft},        {GDK_KP_Up, kKeyUp},        {GDK_KP_Right, kKeyRight},
      {GDK_KP_Down, kKeyDown},        {GDK_Shift_L, kKeyShift},   {GDK_Shift_R, kKeyShift},
      {GDK_Control_L, kKeyControl}, {GDK_Control_R, kKeyControl}, {GDK_Alt_L, kKeyAlt},
      {GDK_Alt_R, kKeyAlt},
  };
  for (auto [k, code] : named)
    if (k == keyval) return code;
  return 0;
}

}  // namespace tk
