#include "maker/graphics/canvas_size.h"

// Placeholder bodies until the dialogs land.
int resize_sprite_canvas(int, const std::string&, int) { return 0; }
int stretch_sprite_images(int, const std::string&, int) { return 0; }
