// The styler and folding on a real Scintilla widget in the JavaScript set-up:
// the style of every byte and the fold level of every line.
#include "tests/codeeditor/editor_fixture.h"

namespace editor_test {
namespace {

struct StyleCase {
  const char* what;
  std::vector<std::string> lines;   // joined with LF
  std::vector<std::string> styles;  // per line, the LF's style included
};

std::string join(const std::vector<std::string>& parts, bool with_line_ends) {
  std::string s;
  for (size_t i = 0; i < parts.size(); ++i) {
    s += parts[i];
    if (with_line_ends && i + 1 < parts.size()) s += '\n';
  }
  return s;
}

const StyleCase kStyleCases[] = {
    {"statement with a line comment", {"var x = 1.5; // note"}, {"222.....555..3333333"}},
    {"two slashes glued to a word", {"a//b"}, {"...."}},
    {"two slashes after an open bracket", {"(//x"}, {"6..."}},
    {"two slashes after a semicolon", {"x;//c"}, {"..333"}},
    {"block comment in the middle", {"a /*b*/ c"}, {"..33333.."}},
    {"block comment over lines",
     {"x /* start", "still", "end */ y", "z"},
     {"..33333333.", "33333.", "333333...", "."}},
    {"no escape character in strings", {"s = \"a\\\"b\""}, {"....4444.4"}},
    {"single quotes", {"'it' + \"x\""}, {"4444...444"}},
    {"unterminated string stops at the line end", {"x = \"abc", "y = 1"}, {"....4444.", "....5"}},
    {"comment marks inside strings", {"\"/* x\" // c", "z"}, {"444444.33333", "."}},
    {"quotes inside comments", {"// it's", "'a'"}, {"33333333", "444"}},
    {"call with a blank before the bracket", {"foo (1)"}, {"6666656"}},
    {"call without a blank", {"foo(x)"}, {"6666.6"}},
    {"a word alone stays default", {"foo"}, {"..."}},
    {"numbers and what is not one", {"12 3.5 .5 1e5 0x1F"}, {"55.555.55........."}},
    {"braces", {"{return", "}"}, {"........", "2"}},
    {"keywords without regard to case", {"Return TRUE"}, {"222222.2222"}},
    {"delimited range closes at the first quote", {"\"\"x"}, {"44."}},
};

class StylerTest : public EditorTest {};

// A font saved as typed in the Preferences that nobody could read (size 0,
// no family, a size beyond what the editor can measure) shows the editor at
// the start values; the Preferences keep it.
TEST_F(StylerTest, UnreadableFontPreferencesGiveWayToTheStartValues) {
  struct Case {
    const char* family;
    int size;
    const char* shown_family;
    int shown_size;
  };
  const Case cases[] = {
      {"Monospace", 14, "Monospace", 14}, {"Monospace", 6, "Monospace", 6}, {"Monospace", 5, "Monospace", 11},
      {"Monospace", 0, "Monospace", 11},  {"Monospace", -3, "Monospace", 11}, {"", 14, "Consolas", 14},
      {"", 0, "Consolas", 11},
      // Beyond the largest size: a few letters fill the window; 110 is a slip for 11.
      {"Monospace", 72, "Monospace", 72}, {"Monospace", 73, "Monospace", 11},
      {"Monospace", 110, "Monospace", 11}, {"Monospace", 2147483647, "Monospace", 11},
  };
  for (const Case& c : cases) {
    pref_font_family = c.family;
    pref_font_size = c.size;
    javascript();
    char family[128] = {};
    send(SCI_STYLEGETFONT, kStyleDefault, sptr_t(family));
    EXPECT_STREQ(family, c.shown_family) << c.family << " " << c.size;
    EXPECT_EQ(send(SCI_STYLEGETSIZE, kStyleDefault), c.shown_size) << c.family << " " << c.size;
    // What the user sees: lines of a readable height.
    EXPECT_GE(send(SCI_TEXTHEIGHT, 0), 8) << c.family << " " << c.size;
    EXPECT_LE(send(SCI_TEXTHEIGHT, 0), 120) << c.family << " " << c.size;
    EXPECT_EQ(pref_font_family, c.family);
    EXPECT_EQ(pref_font_size, c.size);
  }
}

TEST_F(StylerTest, StylesEveryByte) {
  javascript();
  for (const StyleCase& c : kStyleCases) {
    SCOPED_TRACE(c.what);
    set(join(c.lines, true));
    EXPECT_EQ(styles(), join(c.styles, false));
  }
}

TEST_F(StylerTest, EngineWordsAndResourcesTakeTheirStyles) {
  add_keyword("draw_text", "Fn", "draw_text(x, y, text)", "Draws a text.");
  add_keyword("score", "Var", "score", "The score.");
  add_keyword("c_red", "Cons", "", "");
  add_keyword("ignored", "Other", "x", "y");
  add_named(g_sprites, "spr_hero");
  add_object("obj_wall", 1);
  add_object("inst_1", 0);
  javascript();
  set("score c_red spr_hero obj_wall inst_1 ignored draw_text");
  EXPECT_EQ(styles(), "99999.aaaaa.77777777.77777777" + std::string(16, '.') + "888888888");
}

TEST_F(StylerTest, LaterAdditionsDecideTheStyleOfAWord) {
  add_named(g_sprites, "Score");
  add_named(g_sounds, "while");  // a resource named like a keyword
  add_keyword("score", "Var", "score", "");
  javascript();
  set("SCORE while");
  EXPECT_EQ(styles(), "99999.77777");
}

TEST_F(StylerTest, ColouringOffStylesEverythingDefaultAndStillFolds) {
  javascript();
  editor_set_style_options(ed, 0x26);
  set("if (a) { // x\n\t\"s\" /* c */\n}");
  EXPECT_EQ(styles(), std::string(send(SCI_GETLENGTH), '.'));
  EXPECT_EQ(fold_levels(), (std::vector<int>{0x2400, 0x401, 0x401}));
}

struct FoldCase {
  const char* what;
  const char* text;
  std::vector<int> levels;
};

const FoldCase kFoldCases[] = {
    {"nested blocks",
     "function f() {\n\tif (x) {\n\t\ty();\n\t}\n}\n",
     {0x2400, 0x2401, 0x402, 0x402, 0x401, 0x400}},
    {"braces on one line", "a { b } c\nd", {0x400, 0x400}},
    {"brace glued to a word opens nothing", "{return\n}\nx", {0x400, 0x400, 0x400}},
    {"closing brace never goes below the base", "}\n}\n{\nx", {0x400, 0x400, 0x2400, 0x401}},
    {"braces in comments and strings", "// {\n\"{\" /* { */\nx", {0x400, 0x400, 0x400}},
    {"two openers on a line", "{ {\n}\n}\nx", {0x2400, 0x402, 0x401, 0x400}},
};

TEST_F(StylerTest, FoldLevels) {
  javascript();
  for (const FoldCase& c : kFoldCases) {
    SCOPED_TRACE(c.what);
    set(c.text);
    EXPECT_EQ(fold_levels(), c.levels);
  }
}

TEST_F(StylerTest, FoldingOffGivesLevelZero) {
  javascript();
  editor_set_style_options(ed, 0x23);
  set("{\nx\n}");
  EXPECT_EQ(fold_levels(), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(styles(), "2...2");
}

TEST_F(StylerTest, OpeningAndRemovingABlockCommentRestylesTheLinesAfter) {
  javascript();
  set("x = 1;\ny = 2;\nz = 3;");
  EXPECT_EQ(styles(), "....5......5......5.");
  EXPECT_EQ(line_states(), (std::vector<int>{0, 0, 0}));

  // Typing "/*" on the first line (an edit, then styling on request).
  send(SCI_INSERTTEXT, 0, reinterpret_cast<sptr_t>("/*"));
  colourise();
  EXPECT_EQ(styles(), "33333333.333333.333333");
  EXPECT_EQ(line_states(), (std::vector<int>{1, 1, 1}));

  send(SCI_DELETERANGE, 0, 2);
  colourise();
  EXPECT_EQ(styles(), "....5......5......5.");
  EXPECT_EQ(line_states(), (std::vector<int>{0, 0, 0}));
}

TEST_F(StylerTest, ClosingACommentEndsItOnThatLine) {
  javascript();
  set("/* a\nb */ c\nd");
  EXPECT_EQ(styles(), "3333.3333....");
  EXPECT_EQ(line_states(), (std::vector<int>{1, 0, 0}));
}

TEST_F(StylerTest, RestyleStopsAtTheEndPositionButSetsFoldLevels) {
  javascript();
  set("{\n{\n}\n}");
  send(SCI_CLEARDOCUMENTSTYLE);
  editor_restyle(ed, 0, -1, 2);  // the first line and its line end only
  EXPECT_EQ(styles(), "2.00000");
  EXPECT_EQ(fold_levels(), (std::vector<int>{0x2400, 0x401, 0x401, 0x401}));
}

TEST_F(StylerTest, BuiltInStylerWithoutLanguageStyler) {
  // The token styler alone: no comments, prefixes and suffixes from the table.
  editor_add_words(ed, "$", 5, kWordPrefixAdjacent);
  editor_add_words(ed, "@", 6, kWordPrefix);
  editor_add_words(ed, ":", 7, kWordSuffixAdjacent);
  editor_add_words(ed, "#", 8, kWordToLineEnd);
  editor_add_delimiters(ed, "[", "]", kWordDelimited, 9);
  editor_set_operator_chars(ed, 1, std::string("#"));
  editor_set_operator_chars(ed, 2, 5);
  set("$a @ b c: d : [x [y] z] # rest\n1");
  EXPECT_EQ(styles(), "55.666.77...7.999999999.888888.5");
}

}  // namespace
}  // namespace editor_test
