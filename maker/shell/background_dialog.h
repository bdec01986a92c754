#pragma once
// The background properties dialog: name, image file and tile-set settings
// of one background, with a preview redrawn by a timer.
#include <string>

// Modal dialog in window 63 for the first background of that name; without
// one it only rebuilds the resource browser. Ends on a successful "Done" or
// a confirmed "Delete"; the close box does nothing. A chosen image renews
// the thumbnail and the tiles at once; "Done" copies it into the working
// folder.
void open_background_properties(const std::string& name);
