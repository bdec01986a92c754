#pragma once
// The Preferences dialog: the code editor's colours and font, and the
// Browser and Misc switches of preferences.dat.

// Modal window 63. "Save" stores the edits into the program-wide values and
// writes preferences.dat at once; "Cancel" drops them; the close box does
// nothing. Returns 0.
int preferences_dialog();
