#pragma once
// Start-up of quillop-maker: program-wide values, switches, the Debug
// window, fonts and pictures, the splash, the main window and a new project.
#include <string>
#include <vector>

constexpr int kDebugWindow = 12;
constexpr int kDebugText = 13;
constexpr int kSplashPicture = 114;

// "-s" and "-d", each only as the first or second parameter, exactly.
void read_command_line_switches(const std::vector<std::string>& parameters);

// The Debug window 12 with its text area 13, near the right edge of the
// first monitor.
void open_debug_window();

// Everything before the main event loop. False when there is no display.
bool start_up(int argc, char** argv);

// start_up, then the main event loop; returns only when there is no display.
int main_program(int argc, char** argv);
