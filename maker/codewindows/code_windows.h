#pragma once
#include <string>

// The modal windows of quillop-maker that edit one code text of the project
// in code editor 128. Each returns when its window has closed.

// Editor widget and help-line timer numbers shared by the code windows.
inline constexpr int kCodeEditorWidget = 128;
inline constexpr int kHelpLineTimer = 88;

// "Custom functions" and "Global variables": the game settings' global
// functions and global variables code, in window 63.
void edit_custom_functions();
void edit_global_variables();
// The code, event type and parameter of one Script record; opened from the
// object dialog (window 63).
void open_event_code_editor(int script_index);
// The code of one Scene record; opened from the scene editor (window 63).
void open_scene_code_editor(int scene_index);

// Re-lays out a code window for its current size and stores the size and the
// maximised state in the code-window preferences.
void layout_code_editor_window(int window, int editor, int ok_button, int cancel_button,
                               int help_line1, int help_line2);

// Text with every line break (CR LF, LF or CR) made CR LF, as code is kept.
std::string with_crlf_line_ends(const std::string& text);
