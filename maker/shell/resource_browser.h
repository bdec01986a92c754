#pragma once
// The resource browser: one tab of cards per resource kind in panel 14, the
// entry list that ties each card to its resource, and the commands of the
// cards' popup menus.
#include <span>
#include <string>

// Everything the browser and the main loop know about one resource kind,
// in tab order.
struct ResourceKind {
  const char* kind;        // "Sprites" ...
  const char* noun;        // "sprite", as in the delete question
  const char* tab_text;    // " Sprites "
  int tab_picture;
  int scroll_area;
  int banner;
  int popup_menu;
  int create_card;         // fixed widget number of the tab's create card
  int add_item;            // the menu item that adds one
  std::string (*create)();                 // the constructor
  int (*remove)(const std::string& name);  // the delete with its cascades
  // The editor of the kind: main sets it, so the browser includes no editor.
  void (*edit)(const std::string& name);
};
std::span<const ResourceKind> resource_kinds();
// Sets the editor of the kind named `kind` ("Sprites" ...).
void set_resource_editor(const std::string& kind, void (*edit)(const std::string& name));
const ResourceKind* resource_kind_of_create_card(int widget);
const ResourceKind* resource_kind_of_add_item(int item);

constexpr int kCreateCardPicture = 96;
constexpr int kNoImageCard = 92;
constexpr int kCardWidth = 150;
constexpr int kCardHeight = 100;

void rebuild_resource_panel();
void add_resource_entry(const std::string& kind, const std::string& name, int widget,
                        int popup_menu);
void open_resource_entry(int widget);
void show_entry_popup_menu(int widget);
int find_menu_target_entry();
void move_scene_up(const std::string& name);
void move_scene_down(const std::string& name);

// Runs popup item 40 to 62 on the marked entry; false for other items.
bool run_popup_command(int item);
