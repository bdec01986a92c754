#include "maker/shell/resource_browser.h"

#include <utility>
#include <vector>

#include "maker/project/confirm.h"
#include "maker/project/records.h"
#include "maker/shell/main_window.h"
#include "toolkit/toolkit.h"

namespace {

enum Kind { kSprites, kSounds, kMusics, kBackgrounds, kFonts, kObjects, kScenes };

const ResourceKind kKinds[] = {
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

// The banners of the last rebuild; the entry list holds everything else.
std::vector<int> g_banners;

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

void free_browser_widgets() {
  for (const ResourceEntry& e : g_resource_entries) tk::free_widget(e.widget);
  for (int banner : g_banners) tk::free_widget(banner);
  g_banners.clear();
  g_resource_entries.clear();
}

void fill_tab(int kind, int page_width) {
  const ResourceKind& k = kKinds[kind];
  tk::set_scroll_inner_size(k.scroll_area, page_width, tk::scroll_inner_height(k.scroll_area));
  tk::use_container(k.scroll_area);
  g_banners.push_back(tk::image_view(tk::kAny, 0, 0, 2880, 50, kFirstBanner + kind));
  int column = 0, row = 0, inner_height = 10;
  for (const auto& [name, picture] : cards_of(kind)) {
    int x = 10 + 160 * column;
    int card = tk::image_view(tk::kAny, x, 60 + 130 * row, kCardWidth, kCardHeight, picture);
    add_resource_entry(k.kind, name, card, k.popup_menu);
    int label = tk::label(tk::kAny, x, 165 + 130 * row, kCardWidth, 20, name, tk::kLabelCentre);
    tk::set_font(label, kFontBold);
    tk::set_colour(label, tk::ColourRole::Back, kLabelBackground);
    add_resource_entry(k.kind, "", label, -1);
    column += 1;
    if (160 * column > page_width - 160) {
      column = 0;
      row += 1;
      inner_height += 180;
    }
  }
  tk::image_view(k.create_card, 10 + 160 * column, 60 + 130 * row, kCardWidth, kCardHeight,
                 kCreateCardPicture);
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

const ResourceKind* kind_named(const std::string& kind) {
  for (const ResourceKind& k : kKinds)
    if (kind == k.kind) return &k;
  return nullptr;
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

std::span<const ResourceKind> resource_kinds() { return kKinds; }

const ResourceKind* resource_kind_of_create_card(int widget) {
  for (const ResourceKind& k : kKinds)
    if (k.create_card == widget) return &k;
  return nullptr;
}

const ResourceKind* resource_kind_of_add_item(int item) {
  for (const ResourceKind& k : kKinds)
    if (k.add_item == item) return &k;
  return nullptr;
}

void rebuild_resource_panel() {
  for (const ResourceKind& k : kKinds)
    tk::resize_widget(k.scroll_area, kOutOfSight, kOutOfSight, tk::kKeep, tk::kKeep);
  update_main_window_title();
  int page_width = tk::panel_page_width(kResourcePanel);
  free_browser_widgets();
  for (int kind = kSprites; kind <= kScenes; ++kind) fill_tab(kind, page_width);
  tk::set_state(kAdvancedModeCheckBox, g_game_settings[0].advanced_mode);
  for (const ResourceKind& k : kKinds) tk::resize_widget(k.scroll_area, 0, 0, tk::kKeep, tk::kKeep);
}

void add_resource_entry(const std::string& kind, const std::string& name, int widget,
                        int popup_menu) {
  int index = g_resource_entries.append(ResourceEntry{kind, name, widget, popup_menu, 0});
  tk::set_widget_data(widget, index);
}

void open_resource_entry(int widget) {
  int index = mark_card_entry(widget);
  if (index < 0) return;
  const ResourceEntry& e = g_resource_entries[index];
  if (const ResourceKind* kind = kind_named(e.kind)) open_editor(*kind, e.name);
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
    const ResourceKind& kind = kKinds[c.kind];
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
