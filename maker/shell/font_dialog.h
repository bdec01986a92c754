#pragma once
// The font properties dialog: name, family, size, bold and italic of one font.
#include <string>

// Modal dialog in window 63 for the first font of that name; without one it
// only rebuilds the resource browser. Ends on a successful "Done" or a
// confirmed "Delete"; the close box does nothing.
void open_font_properties(const std::string& name);
