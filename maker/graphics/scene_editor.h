#pragma once
// The scene editor: the modal window in which one scene's settings, tile
// layers, tiles and placed instances are edited.
#include <string>

// Runs the editor in window 63 for the scene of that name until a "Done"
// without errors; the close box does nothing. Without such a scene only the
// resource browser is rebuilt.
void edit_scene(const std::string& scene_name);

// Fills the combo box with the depths of the scene's layers, in list order,
// and selects entry 0.
void fill_layer_combo(const std::string& scene_name, int combo);

// 1 when no scene other than the one at own_index has exactly that name.
int scene_name_is_free(const std::string& name, int own_index);
