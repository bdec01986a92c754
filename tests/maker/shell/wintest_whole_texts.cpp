// Every window of quillop-maker shows each of its texts whole at the
// desktop's own font: the main window, each resource's properties dialog,
// the project, preferences and extension dialogs, the small windows and the
// code windows. (The sprite and scene editors have their own sweep.)
#include "maker/codewindows/code_windows.h"
#include "maker/shell/extensions_dialog.h"
#include "maker/shell/preferences_dialog.h"
#include "maker/shell/project_dialogs.h"
#include "maker/shell/small_windows.h"
#include "shell_fixture.h"

TEST_F(ShellTest, EveryWindowShowsItsTextsWhole) {
  std::string clipped = tk::test::describe_clipped_texts(kMainWindow);

  for (const ResourceKind& kind : resource_kinds()) {
    if (!kind.edit) continue;
    tk::test::look_then_leave(clipped, {"Done", " Done "});
    tk::test::choose_menu_item(kind.add_item);
    run_loop();
  }
  // An object's event of the kind with the most to show.
  const std::string object = new_object(), other = new_object();
  tk::test::look_then_leave(clipped, {"Cancel"});
  open_event_code_editor(add_event_script(object, "Collision", other));
  // Each dialog below and the button that leaves it.
  const struct {
    const char* leave_by;
    void (*open)();
  } dialogs[] = {{"Cancel", edit_custom_functions},
                 {"Cancel", edit_global_variables},
                 {"Cancel", [] { preferences_dialog(); }},
                 {"Cancel", installed_extensions_dialog},
                 {"Cancel", [] { open_project_dialog(); }},
                 {"Cancel", [] { ask_project_name(); }},
                 {"OK", edit_game_comments}};
  for (const auto& dialog : dialogs) {
    tk::test::look_then_leave(clipped, {dialog.leave_by});
    dialog.open();
  }
  tk::test::when_idle([&clipped] {
    clipped += tk::test::describe_clipped_texts();
    for (int w : tk::test::widgets_of_window(kDialogWindow))
      if (tk::widget_kind(w) == tk::WidgetKind::ImageView) return tk::test::click(w);
  });
  show_about_window();

  EXPECT_EQ(tk::test::idle_actions_left(), 0);
  EXPECT_EQ(clipped, "");
}
