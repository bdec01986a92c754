#include <string>

#include "codeeditor/code_editor.h"

namespace codeeditor {

namespace {

constexpr const char* kJavaScriptKeywords =
    "break case catch continue debugger default delete do else finally for function if in "
    "instanceof new return switch this throw try typeof var void while with true false null "
    "undefined";

constexpr int kStyleCommand = 2, kStyleComment = 3, kStyleString = 4, kStyleNumber = 5,
              kStyleFunction = 6, kStyleResource = 7, kStyleEngineFunction = 8,
              kStyleEngineVariable = 9, kStyleConstant = 10, kStyleError = 11;
constexpr int kRed = 255;

}  // namespace

void editor_setup_javascript(int widget, const JavaScriptLook& look) {
  editor_set_color(widget, 2, look.text);
  editor_set_color(widget, 3, look.selection_back);
  editor_set_color(widget, 4, look.selection_fore);
  editor_set_color(widget, 7, look.caret_line);
  editor_set_font(widget, look.font_family, look.font_size, -1);
  editor_set_tabs(widget, 4, 0);
  editor_set_margin_width(widget, 2, 24);

  editor_set_style_colors(widget, kStyleCommand, look.command, -1);
  editor_set_style_font(widget, kStyleComment, "", -1, 2);  // italic
  editor_set_style_colors(widget, kStyleComment, look.comment, -1);
  editor_set_style_colors(widget, kStyleEngineFunction, look.engine_function, -1);
  editor_set_style_colors(widget, kStyleEngineVariable, look.engine_variable, -1);
  editor_set_style_colors(widget, kStyleConstant, look.constant, -1);
  editor_set_style_colors(widget, kStyleResource, look.resource, -1);
  editor_set_style_colors(widget, kStyleString, look.string, -1);
  editor_set_style_colors(widget, kStyleNumber, look.number, -1);
  editor_set_style_colors(widget, kStyleFunction, look.function, -1);
  editor_set_style_font(widget, kStyleError, "", -1, 1);  // bold
  editor_set_style_colors(widget, kStyleError, kRed, -1);

  editor_add_delimiters(widget, "\"", "\"", kWordDelimited, kStyleString);
  editor_add_delimiters(widget, "'", "'", kWordDelimited, kStyleString);
  editor_add_delimiters(widget, "(", "", kWordSuffix, kStyleFunction);
  editor_add_delimiters(widget, ")", "", 0, kStyleFunction);
  editor_add_keywords(widget, kJavaScriptKeywords, kStyleCommand, kWordKeyword, 1);
  editor_add_keywords(widget, "{", kStyleCommand, kWordFoldOpen, 0);
  editor_add_keywords(widget, "}", kStyleCommand, kWordFoldClose, 0);
}

void editor_finish_javascript(int widget, const std::string& separators) {
  editor_set_operator_chars(widget, 1, separators);
  editor_set_operator_chars(widget, 2, kStyleNumber);
  editor_set_style_options(widget, 0x27);
  editor_set_line_styler(widget, javascript_lexer);
}

}  // namespace codeeditor
