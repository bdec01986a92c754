#include <string>

#include "codeeditor/code_editor.h"
#include "extmaker/extmaker.h"

using namespace codeeditor;

namespace {

constexpr int rgb(int r, int g, int b) { return r + 256 * g + 65536 * b; }

// The editor's colours never change: this program keeps no settings.
constexpr int kTextColour = rgb(0, 0, 0);
constexpr int kSelectionBack = rgb(0, 0, 64);
constexpr int kSelectionFore = rgb(255, 255, 255);
constexpr int kCurrentLine = rgb(255, 240, 240);

constexpr int kStyleCommand = 2, kStyleComment = 3, kStyleString = 4, kStyleNumber = 5,
              kStyleFunction = 6, kStyleError = 11;

struct StyleColour {
  int style;
  int colour;
};
// In the order they are set; styles 7 to 10 get colours though no word of
// this editor uses them.
constexpr StyleColour kStyleColours[] = {
    {kStyleCommand, rgb(54, 45, 227)},
    {kStyleComment, rgb(160, 160, 160)},
    {8, rgb(32, 106, 34)},     // engine function
    {9, rgb(81, 80, 19)},      // engine variable
    {10, rgb(60, 60, 60)},     // constant
    {7, rgb(49, 170, 187)},    // resource
    {kStyleString, rgb(198, 0, 198)},
    {kStyleNumber, rgb(208, 64, 64)},
    {kStyleFunction, rgb(35, 163, 35)},
    {kStyleError, rgb(255, 0, 0)},
};

constexpr const char* kJavaScriptWords =
    "break case catch continue debugger default delete do else finally for function if in "
    "instanceof new return switch this throw try typeof var void while with true false null "
    "undefined";

}  // namespace

void setup_extmaker_javascript_editor(int widget) {
  if (!code_editor_of(widget)) return;
  editor_set_color(widget, 2, kTextColour);
  editor_set_color(widget, 3, kSelectionBack);
  editor_set_color(widget, 4, kSelectionFore);
  editor_set_color(widget, 7, kCurrentLine);
  editor_set_font(widget, "Consolas", 11, -1);
  editor_set_tabs(widget, 4, 0);
  editor_set_margin_width(widget, 2, 24);
  for (const StyleColour& s : kStyleColours) {
    if (s.style == kStyleComment) editor_set_style_font(widget, s.style, "", -1, 2);  // italic
    if (s.style == kStyleError) editor_set_style_font(widget, s.style, "", -1, 1);    // bold
    editor_set_style_colors(widget, s.style, s.colour, -1);
  }
  editor_add_delimiters(widget, "\"", "\"", kWordDelimited, kStyleString);
  editor_add_delimiters(widget, "'", "'", kWordDelimited, kStyleString);
  editor_add_delimiters(widget, "(", "", kWordSuffix, kStyleFunction);
  editor_add_delimiters(widget, ")", "", 0, kStyleFunction);
  editor_add_keywords(widget, kJavaScriptWords, kStyleCommand, kWordKeyword, 1);
  editor_add_keywords(widget, "{", kStyleCommand, kWordFoldOpen, 0);
  editor_add_keywords(widget, "}", kStyleCommand, kWordFoldClose, 0);
  // Unlike quillop-maker's editors, "|", "&" and ";" are no separators here.
  editor_set_operator_chars(widget, 1, std::string("=+-*/%()[],."));
  editor_set_operator_chars(widget, 2, kStyleNumber);
  editor_set_style_options(widget, 0x27);
  editor_set_line_styler(widget, javascript_lexer);
}
