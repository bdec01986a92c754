#include "maker/resource_editors.h"

#include "maker/common/browser_refresh.h"
#include "maker/graphics/scene_editor.h"
#include "maker/graphics/sprite_dialog.h"
#include "maker/shell/background_dialog.h"
#include "maker/shell/font_dialog.h"
#include "maker/shell/object_dialog.h"
#include "maker/shell/resource_browser.h"
#include "maker/shell/sound_dialogs.h"

void connect_resource_editors() {
  set_resource_editor("Sprites", edit_sprite);
  set_resource_editor("Sounds", edit_sound);
  set_resource_editor("Musics", music_properties_dialog);
  set_resource_editor("Backgrounds", open_background_properties);
  set_resource_editor("Fonts", open_font_properties);
  set_resource_editor("Objects", object_properties_dialog);
  set_resource_editor("Scenes", edit_scene);
  set_resource_browser_rebuild(rebuild_resource_panel);
}
