// The resource browser on the real main window: grid positions, entries,
// cards, right clicks, double clicks and the popup commands.
#include "imaging/image.h"
#include "maker/shell/small_windows.h"
#include "shell_fixture.h"

namespace {

int columns_for(int page_width) { return (page_width - 160) / 160 + 1; }

// Widgets of the main window showing `image`.
int widgets_showing(int image) {
  int n = 0;
  for (int w : tk::test::widgets_of_window(kMainWindow))
    if (tk::widget_kind(w) == tk::WidgetKind::ImageView && tk::widget_image(w) == image) ++n;
  return n;
}

// The n-th widget of that kind in the property dialog, in creation order.
int dialog_widget(tk::WidgetKind kind, int n = 0) {
  for (int w : tk::test::widgets_of_window(kDialogWindow))
    if (tk::widget_kind(w) == kind && n-- == 0) return w;
  return -1;
}

void press(const char* button) { tk::test::click(tk::test::find_widget(kDialogWindow, button)); }

// "Done" is button 65 in every first-level dialog.
constexpr int kDoneButton = 65;

}  // namespace

// Opens the editor of a card the two ways a user does: a double-click on
// it, and "Edit" (`edit_item`) in its popup menu.
class CardEditorTest : public ShellTest {
 protected:
  static constexpr const char* kWays[] = {"double-click", "popup Edit"};
  static void open_card(const char* way, const std::string& name, int edit_item) {
    int card = shown(card_of(name));
    if (way == kWays[0]) {
      tk::test::double_click_at(card, 20, 20);
    } else {
      tk::test::right_click(card);
      run_loop();
      tk::post_event(tk::kEventMenu, kMainWindow, edit_item);
    }
    run_loop();
  }
};

TEST_F(ShellTest, EmptyProjectShowsOnlyBannerAndCreateCardInEveryTab) {
  int page = tk::panel_page_width(kResourcePanel);
  rebuild_resource_panel();  // a second rebuild must not leave the first one's widgets
  for (int k = 0; k < 7; ++k) {
    const ResourceKind& kind = resource_kinds()[size_t(k)];
    std::vector<ResourceEntry> entries = entries_of(kind.kind);
    ASSERT_EQ(entries.size(), 1u) << kind.kind;
    int card = entries[0].widget;
    EXPECT_EQ(card, kind.create_card);
    EXPECT_EQ(entries[0].name, "");
    EXPECT_EQ(entries[0].popup_menu, -1);
    EXPECT_EQ(tk::widget_x(card), 10);
    EXPECT_EQ(tk::widget_y(card), 60);
    EXPECT_EQ(tk::widget_width(card), 150);
    EXPECT_EQ(tk::widget_height(card), 100);
    EXPECT_EQ(tk::widget_image(card), kCreateCardPicture);
    EXPECT_EQ(tk::scroll_inner_width(kind.scroll_area), page);
    EXPECT_EQ(tk::scroll_inner_height(kind.scroll_area), 190);
    EXPECT_EQ(tk::widget_x(kind.scroll_area), 0) << "moved back after the rebuild";
    EXPECT_EQ(widgets_showing(kind.banner), 1) << kind.kind;
  }
  EXPECT_EQ(widgets_showing(kCreateCardPicture), 7);
}

TEST_F(ShellTest, CardsFillRowsOfTheGridAndTheCreateCardTakesTheNextCell) {
  int page = tk::panel_page_width(kResourcePanel);
  int columns = columns_for(page);
  ASSERT_GE(columns, 1);
  for (int n : {1, columns - 1, columns, columns + 1, 2 * columns + 1}) {
    if (n < 1) continue;
    clear_resource_lists();
    for (int i = 0; i < n; ++i) new_font();
    rebuild_resource_panel();
    std::vector<ResourceEntry> entries = entries_of("Fonts");
    ASSERT_EQ(entries.size(), size_t(2 * n + 1));
    for (int i = 0; i < n; ++i) {
      const ResourceEntry& card = entries[size_t(2 * i)];
      const ResourceEntry& label = entries[size_t(2 * i + 1)];
      int x = 10 + 160 * (i % columns), row = i / columns;
      EXPECT_EQ(card.name, g_fonts[i].name);
      EXPECT_EQ(card.popup_menu, 45);
      EXPECT_EQ(tk::widget_x(card.widget), x);
      EXPECT_EQ(tk::widget_y(card.widget), 60 + 130 * row);
      EXPECT_EQ(tk::widget_image(card.widget), 95);
      EXPECT_EQ(label.name, "");
      EXPECT_EQ(label.popup_menu, -1);
      EXPECT_EQ(tk::widget_kind(label.widget), tk::WidgetKind::Label);
      EXPECT_EQ(tk::text(label.widget), g_fonts[i].name);
      EXPECT_EQ(tk::widget_x(label.widget), x);
      EXPECT_EQ(tk::widget_y(label.widget), 165 + 130 * row);
      EXPECT_EQ(tk::widget_width(label.widget), 150);
      EXPECT_EQ(tk::widget_height(label.widget), 20);
      EXPECT_EQ(tk::widget_font(label.widget), kFontBold);
      EXPECT_EQ(tk::colour(label.widget, tk::ColourRole::Back), rgb(200, 200, 200));
    }
    const ResourceEntry& create = entries.back();
    EXPECT_EQ(create.widget, 119);
    EXPECT_EQ(tk::widget_x(create.widget), 10 + 160 * (n % columns)) << n;
    EXPECT_EQ(tk::widget_y(create.widget), 60 + 130 * (n / columns)) << n;
    EXPECT_EQ(tk::scroll_inner_height(87), 10 + 180 * (n / columns + 1)) << n;
  }
  // Every placed widget knows its entry.
  for (int i = 0; i < g_resource_entries.count(); ++i)
    EXPECT_EQ(tk::widget_data(g_resource_entries[i].widget), i);
}

TEST_F(ShellTest, WithAPage780WideTheFifthCardStartsTheSecondRow) {
  // Window width chosen so that the page is close to 780 (four columns).
  tk::resize_window(kMainWindow, tk::kKeep, tk::kKeep, 800, 600);
  tk::post_event(tk::kEventSizeWindow, kMainWindow, kMainWindow);
  run_loop();
  int page = tk::panel_page_width(kResourcePanel);
  if (page < 640 || page >= 800) GTEST_SKIP() << "page width " << page << " holds no four columns";
  for (int i = 0; i < 5; ++i) new_sprite();
  rebuild_resource_panel();
  int fifth = card_of(g_sprites[4].name);
  EXPECT_EQ(tk::widget_x(fifth), 10);
  EXPECT_EQ(tk::widget_y(fifth), 190);
  std::vector<ResourceEntry> sprites = entries_of("Sprites");
  EXPECT_EQ(tk::widget_y(sprites[9].widget), 295);
  EXPECT_EQ(tk::widget_x(card_of(g_sprites[3].name)), 490);
  EXPECT_EQ(tk::scroll_inner_height(83), 370);
}

TEST_F(ShellTest, CardPicturesComeFromThumbnailsOrTheQuestionMark) {
  std::string plain = new_sprite();  // no thumbnail
  std::string pictured = new_sprite();
  int thumb = imaging::create_image(imaging::kAnyImage, 150, 100);
  g_sprites[1].thumbnail_image = thumb;
  std::string with_picture = new_object();
  g_objects[0].sprite_name = pictured;
  std::string without_picture = new_object();
  g_objects[1].sprite_name = plain;
  std::string no_sprite = new_object();
  std::string missing_sprite = new_object();
  g_objects[3].sprite_name = "nothing_of_that_name";
  // An instance placed in a scene never gets a card.
  GameObject instance = g_objects[0];
  instance.is_prototype = 0;
  instance.name = "SceneObject9";
  g_objects.append(instance);
  std::string background = new_background();
  std::string scene = new_scene();
  new_sound();
  new_music();
  rebuild_resource_panel();

  EXPECT_EQ(tk::widget_image(card_of(plain)), kNoImageCard);
  EXPECT_EQ(tk::widget_image(card_of(pictured)), thumb);
  EXPECT_EQ(tk::widget_image(card_of(with_picture)), thumb);
  EXPECT_EQ(tk::widget_image(card_of(without_picture)), kNoImageCard);
  EXPECT_EQ(tk::widget_image(card_of(no_sprite)), kNoImageCard);
  EXPECT_EQ(tk::widget_image(card_of(missing_sprite)), kNoImageCard);
  EXPECT_EQ(card_of("SceneObject9"), -1);
  EXPECT_EQ(entries_of("Objects").size(), 4u * 2 + 1);
  EXPECT_EQ(tk::widget_image(card_of(background)), kNoImageCard);
  EXPECT_EQ(tk::widget_image(card_of(scene)), kNoImageCard);
  EXPECT_EQ(tk::widget_image(card_of(g_sounds[0].name)), 93);
  EXPECT_EQ(tk::widget_image(card_of(g_musics[0].name)), 94);
}

TEST_F(ShellTest, RightClickMarksOnlyACardAndShowsItsPopupMenu) {
  new_scene();
  std::string second = new_scene();
  rebuild_resource_panel();
  tk::test::right_click(shown(card_of(second)));
  run_loop();
  EXPECT_EQ(tk::last_popup_menu(), 58);
  ASSERT_EQ(marked_entries(), 1);
  EXPECT_EQ(g_resource_entries[find_menu_target_entry()].name, second);

  // A label (it raises no clicks of its own) marks nothing and clears the mark.
  show_entry_popup_menu(entries_of("Scenes")[1].widget);
  EXPECT_EQ(marked_entries(), 0);

  // A rebuild starts with no entry marked.
  tk::test::right_click(shown(card_of(second)));
  run_loop();
  rebuild_resource_panel();
  EXPECT_EQ(marked_entries(), 0);
}

TEST_F(ShellTest, DoubleClickMarksTheCardButNotALabel) {
  std::string name = new_font();
  rebuild_resource_panel();
  int marked = -1;
  std::string target;
  tk::test::when_idle([&] {
    marked = marked_entries();
    target = g_resource_entries[find_menu_target_entry()].name;
    tk::test::click(kDoneButton);
  });
  tk::test::double_click_at(shown(card_of(name)), 20, 20);
  run_loop();
  EXPECT_EQ(marked, 1);
  EXPECT_EQ(target, name);
  // A label has no entry of its own: nothing is marked and nothing opens.
  open_resource_entry(entries_of("Fonts")[1].widget);
  EXPECT_EQ(marked_entries(), 0);
  EXPECT_FALSE(tk::window_exists(kDialogWindow));
  EXPECT_EQ(g_fonts.count(), 1);
}

TEST_F(ShellTest, PopupDeleteAsksAndDeletesOnlyOnYesWithoutModifying) {
  struct Case {
    int kind, item;
    const char* question;
  } cases[] = {
      {0, 41, "Do you really want to delete this sprite?"},
      {1, 54, "Do you really want to delete this sound?"},
      {2, 57, "Do you really want to delete this music?"},
      {3, 44, "Do you really want to delete this background?"},
      {4, 47, "Do you really want to delete this font?"},
      {5, 51, "Do you really want to delete this object?"},
      {6, 60, "Do you really want to delete this scene?"},
  };
  for (const Case& c : cases) {
    const ResourceKind& kind = resource_kinds()[size_t(c.kind)];
    std::string keep = kind.create();
    std::string target = kind.create();
    rebuild_resource_panel();
    set_project_modified(0);
    for (int yes : {0, 1}) {
      size_t asked = ask_->asked.size();
      ask_->answer_yes_no(yes);
      tk::test::right_click(shown(card_of(target)));
      run_loop();
      EXPECT_EQ(tk::last_popup_menu(), kind.popup_menu);
      tk::post_event(tk::kEventMenu, kMainWindow, c.item);
      run_loop();
      ASSERT_EQ(ask_->asked.size(), asked + 1);
      EXPECT_EQ(ask_->asked.back().title, "Confirm");
      EXPECT_EQ(ask_->asked.back().text, c.question);
      EXPECT_EQ(card_of(target) != -1, !yes) << kind.kind << " answer " << yes;
      EXPECT_NE(card_of(keep), -1) << kind.kind;
    }
    EXPECT_EQ(g_project_modified, 0) << kind.kind;
    EXPECT_EQ(entries_of(kind.kind).size(), 3u);
  }
}

TEST_F(ShellTest, PopupDuplicateCopiesTheObjectWithoutAQuestion) {
  std::string name = new_object();
  rebuild_resource_panel();
  set_project_modified(0);
  tk::test::right_click(shown(card_of(name)));
  run_loop();
  tk::post_event(tk::kEventMenu, kMainWindow, 50);
  run_loop();
  EXPECT_TRUE(ask_->asked.empty());
  EXPECT_NE(card_of(name + "_dup"), -1);
  EXPECT_EQ(g_project_modified, 0);
}

TEST_F(ShellTest, SceneMovesExchangeWholeRecordsAndStopAtTheEnds) {
  std::string a = new_scene(), b = new_scene(), c = new_scene();
  g_scenes[2].thumbnail_image = imaging::create_image(imaging::kAnyImage, 150, 100);
  g_scenes[2].width = 999;
  rebuild_resource_panel();
  set_project_modified(0);
  auto order = [] {
    std::vector<std::string> names;
    for (const Scene& s : g_scenes) names.push_back(s.name);
    return names;
  };
  auto popup = [&](const std::string& name, int item) {
    tk::test::right_click(shown(card_of(name)));
    run_loop();
    tk::post_event(tk::kEventMenu, kMainWindow, item);
    run_loop();
  };
  int thumb = g_scenes[2].thumbnail_image;
  popup(c, 61);  // Move backward
  EXPECT_EQ(order(), (std::vector<std::string>{a, c, b}));
  EXPECT_EQ(g_scenes[1].thumbnail_image, thumb);
  EXPECT_EQ(g_scenes[1].width, 999);
  EXPECT_EQ(tk::widget_image(card_of(c)), thumb);
  EXPECT_EQ(tk::widget_x(card_of(c)), 170) << "rebuilt in the new order";
  popup(a, 62);  // Move forward
  EXPECT_EQ(order(), (std::vector<std::string>{c, a, b}));

  // At the ends nothing moves and the browser is not rebuilt (a rebuild
  // would size the scroll area again).
  tk::set_scroll_inner_size(89, 1, 1);
  popup(c, 61);
  popup(b, 62);
  EXPECT_EQ(order(), (std::vector<std::string>{c, a, b}));
  EXPECT_EQ(tk::scroll_inner_width(89), 1);
  popup(a, 62);
  EXPECT_EQ(order(), (std::vector<std::string>{c, b, a}));
  EXPECT_EQ(g_project_modified, 0);
}

TEST_F(ShellTest, RebuildShowsChangedListsWithNoWidgetLeftOver) {
  for (int i = 0; i < 5; ++i) new_sprite();
  rebuild_resource_panel();
  EXPECT_EQ(widgets_showing(kNoImageCard), 5);
  // Fewer sprites, one renamed, one with a thumbnail now.
  delete_sprite(g_sprites[0].name);
  delete_sprite(g_sprites[0].name);
  g_sprites[0].name = "renamed";
  int thumb = imaging::create_image(imaging::kAnyImage, 150, 100);
  g_sprites[1].thumbnail_image = thumb;
  rebuild_resource_panel();
  EXPECT_EQ(widgets_showing(kNoImageCard), 2);
  EXPECT_EQ(widgets_showing(thumb), 1);
  std::vector<ResourceEntry> sprites = entries_of("Sprites");
  ASSERT_EQ(sprites.size(), 7u);
  EXPECT_EQ(sprites[0].name, "renamed");
  EXPECT_EQ(tk::text(sprites[1].widget), "renamed");
  EXPECT_EQ(tk::widget_x(sprites[6].widget), 10 + 160 * 3);
  int labels = 0;
  for (int w : tk::test::widgets_of_window(kMainWindow))
    labels += tk::widget_kind(w) == tk::WidgetKind::Label;
  EXPECT_EQ(labels, 3);
  // New frees the browser's widgets; the next rebuild makes them again.
  set_project_modified(0);
  new_project();
  rebuild_resource_panel();
  EXPECT_EQ(widgets_showing(kNoImageCard), 0);
  EXPECT_EQ(widgets_showing(kCreateCardPicture), 7);
  for (int k = 0; k < 7; ++k) EXPECT_EQ(widgets_showing(98 + k), 1);
}

TEST_F(CardEditorTest, CardsOpenTheDialogOfTheirKindOnTheirOwnResource) {
  struct Case {
    int kind, edit_item;
    const char* title;
  } cases[] = {
      {0, 40, "Sprite properties - "},
      {1, 53, "Sound properties - "},
      {2, 56, "Music properties - "},
      {3, 43, "Background properties - "},
      {4, 46, "Font properties - "},
      {5, 49, "Object properties - "},
      {6, 59, "Scene properties - "},
  };
  for (const Case& c : cases) {
    const ResourceKind& kind = resource_kinds()[size_t(c.kind)];
    kind.create();
    std::string target = kind.create();  // not the first: the dialog must take the card's name
    rebuild_resource_panel();
    for (const char* way : kWays) {
      std::string title, name;
      tk::test::when_idle([&] {
        title = tk::window_title(kDialogWindow);
        name = tk::text(dialog_widget(tk::WidgetKind::Input));
        EXPECT_TRUE(tk::window_disabled(kMainWindow));
        tk::test::click(kDoneButton);
      });
      open_card(way, target, c.edit_item);
      EXPECT_EQ(tk::test::idle_actions_left(), 0) << kind.kind << " " << way << ": no dialog";
      tk::set_test_mode(true);  // drops an action no dialog took: the next case starts clean
      EXPECT_EQ(title, c.title + target) << way;
      EXPECT_EQ(name, target) << way;
      EXPECT_FALSE(tk::window_exists(kDialogWindow)) << kind.kind << " " << way;
      EXPECT_FALSE(tk::window_disabled(kMainWindow)) << kind.kind << " " << way;
      EXPECT_EQ(marked_entries(), 0) << "rebuilt by the dialog";
    }
  }
  EXPECT_TRUE(ask_->asked.empty());
}

TEST_F(CardEditorTest, FontCardDialogLeavesTheFontAsItsDoneOrDeleteDecided) {
  for (const char* way : kWays) {
    clear_resource_lists();
    std::string keep = new_font(), target = new_font();
    rebuild_resource_panel();
    set_project_modified(0);

    // "Done" with a new name, size and bold stores them on that font only.
    tk::test::when_idle([] {
      tk::set_text(dialog_widget(tk::WidgetKind::Input, 0), "Title font");
      tk::set_text(dialog_widget(tk::WidgetKind::Input, 2), "20");  // size
      tk::test::click(dialog_widget(tk::WidgetKind::CheckBox, 0));  // bold
      press("Done");
    });
    open_card(way, target, 46);
    ASSERT_EQ(g_fonts.count(), 2) << way;
    EXPECT_EQ(g_fonts[1].name, "Title font") << way;
    EXPECT_EQ(g_fonts[1].size, 20) << way;
    EXPECT_EQ(g_fonts[1].bold, 1) << way;
    EXPECT_EQ(g_fonts[1].italic, 0) << way;
    EXPECT_EQ(g_fonts[0].name, keep) << way;
    EXPECT_EQ(g_fonts[0].size, 12) << way;
    EXPECT_EQ(g_fonts[0].bold, 0) << way;
    EXPECT_EQ(g_project_modified, 1) << way;
    EXPECT_EQ(card_of(target), -1) << way << ": the browser shows the new name";
    ASSERT_NE(card_of("Title font"), -1) << way;

    // A refused "Done" keeps the dialog open; "Delete" then removes the font.
    set_project_modified(0);
    tk::test::when_idle([] {
      tk::set_text(dialog_widget(tk::WidgetKind::Input), "");
      press("Done");
    });
    tk::test::when_idle([] {
      EXPECT_TRUE(tk::window_exists(kDialogWindow));
      press("Delete");
    });
    ask_->answer_yes_no(1);
    open_card(way, "Title font", 46);
    EXPECT_EQ(tk::test::idle_actions_left(), 0) << way;
    EXPECT_EQ(ask_->messages(), std::vector<std::string>{"The font name is missing"}) << way;
    ask_->asked.clear();
    ASSERT_EQ(g_fonts.count(), 1) << way;
    EXPECT_EQ(g_fonts[0].name, keep) << way;
    EXPECT_EQ(card_of("Title font"), -1) << way;
    EXPECT_NE(card_of(keep), -1) << way;
    EXPECT_FALSE(tk::window_exists(kDialogWindow)) << way;
    EXPECT_FALSE(tk::window_disabled(kMainWindow)) << way;
  }
}
