#include "maker/graphics/image_effects.h"

// Placeholder bodies until the dialogs land.
int effect_grayscale(int, const std::string&, int) { return 0; }
int effect_colorize(int, const std::string&, int) { return 0; }
int effect_color_balance(int, const std::string&, int) { return 0; }
int effect_swap_channels(int, const std::string&, int) { return 0; }
int effect_invert(int, const std::string&, int) { return 0; }
int effect_brightness(int, const std::string&, int) { return 0; }
int effect_opacity(int, const std::string&, int) { return 0; }
int effect_posterize(int, const std::string&, int) { return 0; }
int effect_noise(int, const std::string&, int) { return 0; }
int effect_erase_color(int, const std::string&, int) { return 0; }
int effect_make_opaque(int, const std::string&, int) { return 0; }
int effect_shift(int, const std::string&, int) { return 0; }
int effect_mirror(int, const std::string&, int) { return 0; }
int effect_rotate(int, const std::string&, int) { return 0; }
int effect_scale(int, const std::string&, int) { return 0; }
