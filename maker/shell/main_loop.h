#pragma once
// The main event loop of quillop-maker and the commands it dispatches.
#include <string>

#include "toolkit/events.h"

// The widget of the widget event being handled.
extern int g_last_event_widget;
// The name the last add command's constructor returned.
extern std::string g_new_resource_name;

// Handles one event of the main window (or the Debug window).
void handle_main_event(const tk::Event& event);
// Takes and handles events for the rest of the program's life.
[[noreturn]] void main_event_loop();

// Runs a menu item, shortcut or toolbar command of the main window.
void run_menu_command(int item);

// Asks "Unsaved changes will be lost. Exit from Quillop Game Maker?" when the
// project is modified, else "Exit from Quillop Game Maker?" when
// pref_confirm_exit is 1. On no it returns 0; otherwise it deletes the
// working folder, writes preferences.dat and ends the program with exit
// code 0.
int confirm_exit();
