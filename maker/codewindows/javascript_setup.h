#pragma once
// quillop-maker's JavaScript configuration of a code editor, and the keyword
// whose help the code windows show.

// Colours and font from the editor preferences, the JavaScript words, the
// project's resource names and the keyword table, and the JavaScript styler.
void setup_javascript_editor(int widget);

// The index in g_keywords of the keyword under or right of the caret (the
// first word of the line when the caret is not on a word), or -1. Entries
// with an empty first help line are never found.
int editor_keyword_at_caret(int widget);
