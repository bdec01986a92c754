#include "maker/shell/resource_browser.h"

#include <utility>
#include <vector>

#include "maker/project/confirm.h"
#include "maker/project/records.h"
#include "maker/shell/main_window.h"
#include "toolkit/toolkit.h"

namespace {

enum Kind { kSprites, kSounds, kMusics, kBackgrounds, kFonts, kObjects, kScenes };

ResourceKind g_kinds[] = {
    {"Sprites", "sprite", " Sprites ", 147, 83, 98, 39, 115, kItemAddSprite, new_sprite,
     delete_sprite, nullptr},
    {"Sounds", "sound", " Sounds ", 148, 84, 99, 52, 116, kItemAddSound, new_sound, delete_sound,
     nullptr},
    {"Musics", "music", " Musics ", 149, 85, 100, 55, 117, kItemAddMusic, new_music, delete_music,
     nullptr},
    {"Backgrounds", "background", " Backgrounds ", 151, 86, 101, 42, 118, kItemAddBackground,
     new_background, delete_background, nullptr},
    {"Fonts", "font", " Fonts ", 150, 87, 102, 45, 119, kItemAddFont, new_font, delete_font,
     nullptr},
    {"Objects", "object", " Objects ", 152, 88, 103, 48, 120, kItemAddObject, new_object,
     delete_object, nullptr},
    {"Scenes", "scene", " Scenes ", 153, 89, 104, 58, 121, kItemAddScene, new_scene, delete_scene,
     nullptr},
};

enum class Command { Edit, Delete, Duplicate, MoveBackward, MoveForward };
struct PopupCommand {
  int item;
  Kind kind;
  Command command;
};
constexpr PopupCommand kPopupCommands[] = {
    {40, kSprites, Command::Edit},         {41, kSprites, Command::Delete},
    {43, kBackgrounds, Command::Edit},     {44, kBackgrounds, Command::Delete},
    {46, kFonts, Command::Edit},           {47, kFonts, Command::Delete},
    {49, kObjects, Command::Edit},         {50, kObjects, Command::Duplicate},
    {51, kObjects, Command::Delete},       {53, kSounds, Command::Edit},
    {54, kSounds, Command::Delete},        {56, kMusics, Command::Edit},
    {57, kMusics, Command::Delete},        {59, kScenes, Command::Edit},
    {60, kScenes, Command::Delete},        {61, kScenes, Command::MoveBackward},
    {62, kScenes, Command::MoveForward},
};

constexpr int kFirstBanner = 98;
constexpr int kLabelBackground = rgb(200, 200, 200);
constexpr int kOutOfSight = -5000;

// The banner of each tab, kept from one rebuild to the next.
int g_banners[7] = {-1, -1, -1, -1, -1, -1, -1};

int thumbnail_or_question_mark(int thumbnail) { return thumbnail >= 0 ? thumbnail : kNoImageCard; }

int object_card_picture(const GameObject& object) {
  if (object.sprite_name.empty()) return kNoImageCard;
  for (const Sprite& s : g_sprites)
    if (s.name == object.sprite_name && s.thumbnail_image >= 0) return s.thumbnail_image;
  return kNoImageCard;
}

// (name, card picture) of every resource the tab of `kind` shows, in list order.
std::vector<std::pair<std::string, int>> cards_of(int kind) {
  std::vector<std::pair<std::string, int>> cards;
  auto add_all = [&](const auto& list, auto picture) {
    for (const auto& r : list) cards.emplace_back(r.name, picture(r));
  };
  auto fixed = [](int picture) { return [picture](const auto&) { return picture; }; };
  auto thumbnail = [](const auto& r) { return thumbnail_or_question_mark(r.thumbnail_image); };
  switch (kind) {
    case kSprites: add_all(g_sprites, thumbnail); break;
    case kSounds: add_all(g_sounds, fixed(93)); break;
    case kMusics: add_all(g_musics, fixed(94)); break;
    case kBackgrounds: add_all(g_backgrounds, thumbnail); break;
    case kFonts: add_all(g_fonts, fixed(95)); break;
    case kObjects:
      for (const GameObject& o : g_objects)
        if (o.is_prototype == 1) cards.emplace_back(o.name, object_card_picture(o));
      break;
    case kScenes: add_all(g_scenes, thumbnail); break;
  }
  return cards;
}

// The widgets a rebuild places in one tab. The previous rebuild's widgets
// are moved into place and given their new picture or text rather than made
// again: the rebuild runs on every resize and GTK widgets are slow to make.
struct TabWidgets {
  std::vector<int> cards, labels;
};

bool is_browser_widget(int widget, tk::WidgetKind kind) {
  return tk::widget_kind(widget) == kind && tk::widget_window(widget) == kMainWindow;
}

int kind_index(const std::string& kind) {
  for (int k = kSprites; k <= kScenes; ++k)
    if (kind == g_kinds[k].kind) return k;
  return -1;
}

// Takes the widgets out of the entry list, which is left empty.
std::vector<TabWidgets> take_previous_widgets() {
  std::vector<TabWidgets> tabs(7);
  for (const ResourceEntry& e : g_resource_entries) {
    int k = kind_index(e.kind);
    if (k < 0 || e.widget == g_kinds[k].create_card) continue;
    if (e.popup_menu != -1 && is_browser_widget(e.widget, tk::WidgetKind::ImageView))
      tabs[size_t(k)].cards.push_back(e.widget);
    else if (e.popup_menu == -1 && is_browser_widget(e.widget, tk::WidgetKind::Label))
      tabs[size_t(k)].labels.push_back(e.widget);
  }
  g_resource_entries.clear();
  return tabs;
}

int place_card(std::vector<int>& previous, size_t i, int x, int y, int picture) {
  if (i >= previous.size()) return tk::image_view(tk::kAny, x, y, kCardWidth, kCardHeight, picture);
  tk::resize_widget(previous[i], x, y, tk::kKeep, tk::kKeep);
  tk::set_image(previous[i], picture);
  return previous[i];
}

int place_label(std::vector<int>& previous, size_t i, int x, int y, const std::string& text) {
  if (i < previous.size()) {
    tk::resize_widget(previous[i], x, y, tk::kKeep, tk::kKeep);
    tk::set_text(previous[i], text);
    return previous[i];
  }
  int label = tk::label(tk::kAny, x, y, kCardWidth, 20, text, tk::kLabelCentre);
  tk::set_font(label, kFontBold);
  tk::set_colour(label, tk::ColourRole::Back, kLabelBackground);
  return label;
}

void free_unused(const std::vector<int>& previous, size_t used) {
  for (size_t i = used; i < previous.size(); ++i) tk::free_widget(previous[i]);
}

void place_banner(int kind) {
  int& banner = g_banners[kind];
  if (is_browser_widget(banner, tk::WidgetKind::ImageView) &&
      tk::widget_image(banner) == kFirstBanner + kind)
    return;
  banner = tk::image_view(tk::kAny, 0, 0, 2880, 50, kFirstBanner + kind);
}

void fill_tab(int kind, int page_width, TabWidgets& previous) {
  const ResourceKind& k = g_kinds[kind];
  tk::set_scroll_inner_size(k.scroll_area, page_width, tk::scroll_inner_height(k.scroll_area));
  tk::use_container(k.scroll_area);
  place_banner(kind);
  int column = 0, row = 0, inner_height = 10;
  size_t i = 0;
  for (const auto& [name, picture] : cards_of(kind)) {
    int x = 10 + 160 * column;
    int card = place_card(previous.cards, i, x, 60 + 130 * row, picture);
    add_resource_entry(k.kind, name, card, k.popup_menu);
    int label = place_label(previous.labels, i, x, 165 + 130 * row, name);
    add_resource_entry(k.kind, "", label, -1);
    ++i;
    column += 1;
    if (160 * column > page_width - 160) {
      column = 0;
      row += 1;
      inner_height += 180;
    }
  }
  free_unused(previous.cards, i);
  free_unused(previous.labels, i);
  int x = 10 + 160 * column, y = 60 + 130 * row;
  if (is_browser_widget(k.create_card, tk::WidgetKind::ImageView))
    tk::resize_widget(k.create_card, x, y, tk::kKeep, tk::kKeep);
  else
    tk::image_view(k.create_card, x, y, kCardWidth, kCardHeight, kCreateCardPicture);
  add_resource_entry(k.kind, "", k.create_card, -1);
  inner_height += 180;
  tk::close_container();
  tk::set_scroll_inner_size(k.scroll_area, page_width, inner_height);
}

// The card entry of `widget` (labels and create cards have no popup menu),
// marked after every mark is cleared; -1 when there is none.
int mark_card_entry(int widget) {
  for (ResourceEntry& e : g_resource_entries) e.menu_target = 0;
  for (int i = 0; i < g_resource_entries.count(); ++i) {
    ResourceEntry& e = g_resource_entries[i];
    if (e.widget == widget && e.popup_menu != -1) {
      e.menu_target = 1;
      return i;
    }
  }
  return -1;
}

void open_editor(const ResourceKind& kind, const std::string& name) {
  if (kind.edit) kind.edit(name);
}

// Exchanges scene `index` with the one after it.
void swap_scenes(int index) {
  Scene temporary = g_scenes[index];
  g_scenes[index] = g_scenes[index + 1];
  g_scenes[index + 1] = temporary;
  rebuild_resource_panel();
}

int scene_index(const std::string& name) {
  for (int i = 0; i < g_scenes.count(); ++i)
    if (g_scenes[i].name == name) return i;
  return -1;
}

}  // namespace

std::span<const ResourceKind> resource_kinds() { return g_kinds; }

void set_resource_editor(const std::string& kind, void (*edit)(const std::string& name)) {
  if (int k = kind_index(kind); k >= 0) g_kinds[k].edit = edit;
}

const ResourceKind* resource_kind_of_create_card(int widget) {
  for (const ResourceKind& k : g_kinds)
    if (k.create_card == widget) return &k;
  return nullptr;
}

const ResourceKind* resource_kind_of_add_item(int item) {
  for (const ResourceKind& k : g_kinds)
    if (k.add_item == item) return &k;
  return nullptr;
}

void rebuild_resource_panel() {
  for (const ResourceKind& k : g_kinds)
    tk::resize_widget(k.scroll_area, kOutOfSight, kOutOfSight, tk::kKeep, tk::kKeep);
  update_main_window_title();
  int page_width = tk::panel_page_width(kResourcePanel);
  std::vector<TabWidgets> previous = take_previous_widgets();
  for (int kind = kSprites; kind <= kScenes; ++kind) fill_tab(kind, page_width, previous[size_t(kind)]);
  tk::set_state(kAdvancedModeCheckBox, g_game_settings[0].advanced_mode);
  for (const ResourceKind& k : g_kinds) tk::resize_widget(k.scroll_area, 0, 0, tk::kKeep, tk::kKeep);
}

void add_resource_entry(const std::string& kind, const std::string& name, int widget,
                        int popup_menu) {
  int index = g_resource_entries.append(ResourceEntry{kind, name, widget, popup_menu, 0});
  tk::set_widget_data(widget, index);
}

void open_resource_entry(int widget) {
  int index = mark_card_entry(widget);
  if (index < 0) return;
  // Copied: the editor rebuilds the entry list.
  const ResourceEntry e = g_resource_entries[index];
  if (int k = kind_index(e.kind); k >= 0) open_editor(g_kinds[k], e.name);
}

void show_entry_popup_menu(int widget) {
  int index = mark_card_entry(widget);
  if (index >= 0) tk::show_popup_menu(g_resource_entries[index].popup_menu, kMainWindow);
}

int find_menu_target_entry() {
  for (int i = 0; i < g_resource_entries.count(); ++i)
    if (g_resource_entries[i].menu_target) return i;
  return 0;
}

void move_scene_up(const std::string& name) {
  int index = scene_index(name);
  if (index > 0) swap_scenes(index - 1);
}

void move_scene_down(const std::string& name) {
  int index = scene_index(name);
  if (index >= 0 && index < g_scenes.count() - 1) swap_scenes(index);
}

bool run_popup_command(int item) {
  for (const PopupCommand& c : kPopupCommands) {
    if (c.item != item) continue;
    const ResourceKind& kind = g_kinds[c.kind];
    // Copied: the commands rebuild the entry list.
    std::string name = g_resource_entries[find_menu_target_entry()].name;
    switch (c.command) {
      case Command::Edit: open_editor(kind, name); break;
      case Command::Delete:
        if (confirm_yes_no("Confirm",
                           std::string("Do you really want to delete this ") + kind.noun + "?")) {
          kind.remove(name);
          rebuild_resource_panel();
        }
        break;
      case Command::Duplicate:
        duplicate_object(name);
        rebuild_resource_panel();
        break;
      case Command::MoveBackward: move_scene_up(name); break;
      case Command::MoveForward: move_scene_down(name); break;
    }
    return true;
  }
  return false;
}
