#include "maker/graphics/frame_editor.h"

// Until the editor window exists there is no strip to rebuild.
int refresh_sprite_frame_strip(const std::string&, int) { return 0; }
