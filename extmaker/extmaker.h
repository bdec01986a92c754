#pragma once
// quillop-extmaker: one window with the fields of an extension package, a
// JavaScript code editor and a File menu, and its own event loop.
#include <string>

#include "extmaker/package.h"
#include "toolkit/events.h"

constexpr int kExtmakerWindow = 0;
constexpr int kNameField = 7;
constexpr int kAuthorField = 8;
constexpr int kDescriptionField = 9;
constexpr int kHelpField = 10;
constexpr int kCodeEditor = 11;

constexpr int kFileMenu = 1;
constexpr int kItemNew = 2;
constexpr int kItemOpen = 3;
constexpr int kItemSave = 4;
constexpr int kItemSaveAs = 5;
constexpr int kItemExit = 6;

constexpr int kFirstIcon = 12;  // new, open, save, save as, exit: 12 to 16

extern const char* const kExtmakerTitle;  // "Quillop Extension Maker"

// The base name of the package file; "" until Open or Save as sets it.
extern std::string g_package_name;

// The program: start-up, the window, the loop; returns the exit status.
int extmaker_main(int argc, char** argv);

// Start-up after the toolkit is up: the "Extensions" folder, fonts, icons,
// the window with its widgets, menu and shortcuts.
void build_extmaker_window();

// Handles one event of the loop; false once the user has agreed to exit.
bool handle_extmaker_event(const tk::Event& event);

// The JavaScript set-up of the program's code editor, with its own fixed
// colours.
void setup_extmaker_javascript_editor(int widget);

// The five icons of the File menu, drawn into images 12 to 16.
void make_extmaker_icons();

// The window's fields / putting texts into them; the editor keeps its undo
// history unless empty_undo is 1.
ExtensionFields window_fields();
void show_fields(const ExtensionFields& fields, int empty_undo);

// File > New (after the question), Open, Save and Save as.
void clear_extension();
void open_extension_package();
void save_extension_package();
void save_extension();
void save_extension_as();
