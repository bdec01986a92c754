#pragma once
// The page that loads game.js, and opening it in the web browser.
#include <functional>
#include <string>

// The nine lines of index.html, each ended by LF.
const std::string& index_html_text();

// Needs a named project (else says "Please save your game."): calls
// `save_project` (the save command of the shell), exports, and starts
// "x-www-browser" with the full path of Projects/<name>/index.html
// (after "file://" when pref_add_file_protocol is 1), or says the page is
// missing when it is not a file of at least one byte. Returns 0.
int run_game_in_browser(const std::function<void()>& save_project);
