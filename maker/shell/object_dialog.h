#pragma once
// The object properties dialog: name, sprite, visibility, depth, collision
// flag and parent of one object definition, and the list of its event
// scripts, from which the event-code window opens.
#include <string>

// Modal dialog in window 63 for the first object of that name; without one it
// only rebuilds the resource browser. Ends on a successful "Done" or a
// confirmed "Delete"; the close box does nothing. Scripts are added and
// deleted at once, the object's own fields only by "Done".
void object_properties_dialog(const std::string& name);
