#pragma once
// The yes/no question behind every confirmation of the program, and the
// error box of its windows.
#include <string>

// A modal box with the title, the text and the buttons Yes and No: 1 when
// Yes was chosen, 0 for No or a closed box.
int confirm_yes_no(const std::string& title, const std::string& text);

// A modal "Error" box with the text.
void show_error(const std::string& text);
