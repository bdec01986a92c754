#pragma once
// The "Installed extensions" dialog: the project ticks the packages of the
// Extensions folder that go into its game.

// Rescans the packages and shows them ticked as the project's extensions.dat
// says; "OK" rewrites that file with the ticked base names, "Cancel" writes
// nothing, the close box does nothing. An unnamed project gets a message
// instead, since the list lives in the project folder.
void installed_extensions_dialog();
