// The word table, the editor's settings and text access.
#include <SciLexer.h>

#include "tests/codeeditor/editor_fixture.h"

namespace editor_test {
namespace {

class WordsTest : public EditorTest {
 protected:
  std::vector<std::string> word_texts() {
    std::vector<std::string> texts;
    for (const EditorWord& w : code_editor_of(ed)->words) texts.push_back(w.word);
    return texts;
  }
  sptr_t text_width(const char* text) {
    return send(SCI_TEXTWIDTH, kStyleLineNumber, reinterpret_cast<sptr_t>(text));
  }
};

TEST_F(WordsTest, AddingAgainUpdatesTheStyleAndAccumulatesFlags) {
  EXPECT_EQ(editor_add_words(ed, "alpha beta", 7, kWordKeyword), 2);
  EXPECT_EQ(editor_add_words(ed, "alpha beta", 9, kWordFoldOpen), 2);
  ASSERT_EQ(word_texts().size(), 2u);
  for (const char* word : {"alpha", "beta"}) {
    EditorWord* w = editor_word_style(ed, word);
    ASSERT_NE(w, nullptr) << word;
    EXPECT_EQ(w->style, 9);
    EXPECT_EQ(w->flags, kWordKeyword | kWordFoldOpen);
  }
  // Style -1 keeps the style; flags are never cleared.
  editor_add_words(ed, "alpha", -1, 0);
  EXPECT_EQ(editor_word_style(ed, "alpha")->style, 9);
  EXPECT_EQ(editor_word_style(ed, "alpha")->flags, kWordKeyword | kWordFoldOpen);
}

TEST_F(WordsTest, ListIsTrimmedAndSplitAtSingleSpaces) {
  EXPECT_EQ(editor_add_words(ed, "  gamma delta  ", 1, 0), 2);
  EXPECT_EQ(editor_word_style(ed, ""), nullptr);
  EXPECT_NE(editor_word_style(ed, "gamma"), nullptr);
  EXPECT_NE(editor_word_style(ed, " delta "), nullptr);  // lookups trim too
  EXPECT_EQ(editor_add_words(ed, "   ", 1, 0), 0);
  // Two spaces in a row give an empty word.
  EXPECT_EQ(editor_add_words(ed, "a  b", 1, 0), 3);
  EXPECT_NE(code_editor_of(ed)->word_map.count(""), 0u);
}

TEST_F(WordsTest, WordsWithoutRegardToCase) {
  editor_add_words(ed, "Hello", 4, 0);
  editor_add_words(ed, "HELLO", 5, 0);
  EXPECT_EQ(word_texts(), (std::vector<std::string>{"HELLO"}));
  ASSERT_NE(editor_word_style(ed, "hello"), nullptr);
  EXPECT_EQ(editor_word_style(ed, "hElLo")->style, 5);
  // Non-ASCII letters fold too.
  editor_add_words(ed, "\xc3\x89t\xc3\xa9", 6, 0);  // "Été"
  EXPECT_NE(editor_word_style(ed, "\xc3\xa9t\xc3\xa9"), nullptr);
}

TEST_F(WordsTest, CaseSensitiveEditorKeepsCasesApart) {
  int cs = create_code_editor(tk::kAny, 0, 0, 100, 100, nullptr, kEditorCaseSensitive);
  editor_add_words(cs, "Hello hello", 4, 0);
  EXPECT_EQ(code_editor_of(cs)->words.size(), 2u);
  EXPECT_EQ(editor_word_style(cs, "HELLO"), nullptr);
  EXPECT_EQ(editor_send(cs, SCI_AUTOCGETIGNORECASE), 0);
  EXPECT_EQ(send(SCI_AUTOCGETIGNORECASE), 1);
}

TEST_F(WordsTest, NewWordsGoAfterTheFirstUntilSorted) {
  editor_add_words(ed, "m", 1, 0);
  editor_add_words(ed, "z", 1, 0);
  editor_add_words(ed, "b", 1, 0);
  EXPECT_EQ(word_texts(), (std::vector<std::string>{"m", "b", "z"}));
  editor_add_keywords(ed, "Alpha", 1, kWordKeyword, 1);
  EXPECT_EQ(word_texts(), (std::vector<std::string>{"Alpha", "b", "m", "z"}));
  editor_add_keywords(ed, "c", 1, kWordKeyword, 0);
  EXPECT_EQ(word_texts(), (std::vector<std::string>{"Alpha", "c", "b", "m", "z"}));
}

TEST_F(WordsTest, Delimiters) {
  editor_add_delimiters(ed, "<", "", kWordDelimited, 4);
  EXPECT_EQ(editor_word_style(ed, "<"), nullptr);
  editor_add_delimiters(ed, "", ">", kWordDelimited, 4);
  EXPECT_TRUE(code_editor_of(ed)->words.empty());
  editor_add_delimiters(ed, "<", ">>", kWordDelimited, 4);
  ASSERT_NE(editor_word_style(ed, "<"), nullptr);
  EXPECT_EQ(editor_word_style(ed, "<")->close_char, '>');
  EXPECT_EQ(editor_word_style(ed, "<")->style, 4);
  editor_add_delimiters(ed, "(", "", kWordSuffix, 6);
  EXPECT_EQ(editor_word_style(ed, "(")->close_char, 0);
}

TEST_F(WordsTest, LineNumberMarginFitsTheLineCount) {
  std::string text;
  for (int i = 0; i < 99; ++i) text += "x\n";
  set(text);  // 100 lines
  EXPECT_EQ(send(SCI_GETLINECOUNT), 100);
  editor_update_line_number_margin(ed);
  EXPECT_EQ(send(SCI_GETMARGINWIDTHN, 0), text_width("999") + 10);
  // Margin 0 is sized by the line count only.
  editor_set_margin_width(ed, 0, 5);
  EXPECT_EQ(send(SCI_GETMARGINWIDTHN, 0), text_width("999") + 10);
  editor_set_margin_width(ed, 2, -4);
  EXPECT_EQ(send(SCI_GETMARGINWIDTHN, 2), 0);
  // Without line numbers the margin is left to the caller.
  int plain = create_code_editor(tk::kAny, 0, 0, 100, 100, nullptr, 0);
  editor_set_margin_width(plain, 0, 5);
  editor_update_line_number_margin(plain);
  EXPECT_EQ(editor_send(plain, SCI_GETMARGINWIDTHN, 0), 5);
}

TEST_F(WordsTest, CreationSetsUpTheWidget) {
  EXPECT_EQ(send(SCI_GETCODEPAGE), SC_CP_UTF8);
  EXPECT_EQ(send(SCI_GETLEXER), SCLEX_CONTAINER);
  EXPECT_EQ(send(SCI_GETMARGINWIDTHN, 1), 0);
  EXPECT_EQ(send(SCI_GETMARGINSENSITIVEN, 2), 1);
  EXPECT_EQ(uint32_t(send(SCI_GETMARGINMASKN, 2)), 0xFE000000u);
  EXPECT_EQ(send(SCI_GETMARGINMASKN, 1), 1);
  const std::pair<int, int> markers[] = {{31, SC_MARK_BOXMINUS}, {30, SC_MARK_BOXPLUS},
                                         {29, SC_MARK_VLINE},    {28, SC_MARK_LCORNER},
                                         {25, SC_MARK_BOXPLUSCONNECTED},
                                         {26, SC_MARK_BOXMINUSCONNECTED},
                                         {27, SC_MARK_TCORNER},  {0, SC_MARK_SHORTARROW}};
  for (auto [marker, symbol] : markers) EXPECT_EQ(send(SCI_MARKERSYMBOLDEFINED, marker), symbol);
  const CodeEditor& e = *code_editor_of(ed);
  EXPECT_EQ(e.options, 5);
  EXPECT_EQ(e.number_style, 32);
  EXPECT_EQ(e.completion_min_length, 3);
  EXPECT_EQ(e.calltip_line, -1);
}

TEST_F(WordsTest, Colours) {
  editor_set_color(ed, 7, 0x102030);
  EXPECT_EQ(send(SCI_GETCARETLINEVISIBLE), 1);
  EXPECT_EQ(send(SCI_GETCARETLINEBACK), 0x102030);
  editor_set_color(ed, 7, -1);
  EXPECT_EQ(send(SCI_GETCARETLINEVISIBLE), 0);
  editor_set_color(ed, 2, 0x00ff00);
  EXPECT_EQ(send(SCI_STYLEGETFORE, 5), 0x00ff00);  // copied to every style
  editor_set_color(ed, 6, 0x0000ff);
  EXPECT_EQ(send(SCI_STYLEGETFORE, kStyleLineNumber), 0x0000ff);
  editor_set_color(ed, 99, 0x123456);  // no such role: nothing
  editor_set_style_colors(ed, 4, 0x111111, -1);
  EXPECT_EQ(send(SCI_STYLEGETFORE, 4), 0x111111);
  editor_set_style_font(ed, 3, "", -1, 2);
  EXPECT_EQ(send(SCI_STYLEGETITALIC, 3), 1);
  EXPECT_EQ(send(SCI_STYLEGETBOLD, 3), 0);
  editor_set_tabs(ed, 4, 0);
  EXPECT_EQ(send(SCI_GETTABWIDTH), 4);
  EXPECT_EQ(send(SCI_GETUSETABS), 1);
}

TEST_F(WordsTest, TextAccess) {
  set("first\r\nsecond\nthird");
  EXPECT_EQ(editor_get_text(ed), "first\r\nsecond\nthird");
  EXPECT_EQ(editor_get_line(ed, 0), "first");
  EXPECT_EQ(editor_get_line(ed, 1), "second");
  EXPECT_EQ(editor_get_line(ed, 2), "third");
  EXPECT_EQ(editor_get_line(ed, 3), "");
  EXPECT_EQ(editor_get_line(ed, -1), "");
  EXPECT_EQ(send(SCI_CANUNDO), 0);
  editor_set_text(ed, "kept", 0);
  EXPECT_EQ(send(SCI_CANUNDO), 1);
  set("");
  EXPECT_EQ(editor_get_text(ed), "");

  set("a\nb");
  EXPECT_EQ(editor_set_line_state(ed, 1, 7), 0);
  EXPECT_EQ(editor_set_line_state(ed, 1, 8), 7);
  EXPECT_EQ(editor_get_line_state(ed, 1), 8);
  EXPECT_EQ(editor_set_line_state(ed, 5, 1), 0);
  EXPECT_EQ(editor_get_line_state(ed, 5), 0);
}

TEST_F(WordsTest, NumbersThatAreNoCodeEditorDoNothing) {
  int label = tk::label(tk::kAny, 0, 0, 10, 10, "x");
  int foreign = tk::adopt_widget(tk::kAny, gtk_label_new("y"), 0, 0, 10, 10);
  for (int number : {label, foreign, 0, -1, 987654}) {
    EXPECT_EQ(code_editor_of(number), nullptr);
    EXPECT_EQ(editor_add_words(number, "a", 1, 0), 0);
    EXPECT_EQ(editor_get_text(number), "");
    EXPECT_EQ(editor_get_line_state(number, 0), 0);
    EXPECT_EQ(editor_style_token(number, "abc", 3), 0);
    editor_set_text(number, "x", 1);
    editor_restyle(number, 0, -1, -1);
    free_code_editor(number);
  }
  EXPECT_EQ(tk::text(label), "x");
}

TEST_F(WordsTest, FreeingRemovesWidgetAndRecord) {
  int other = create_code_editor(tk::kAny, 0, 0, 100, 100, nullptr, 1);
  ASSERT_NE(code_editor_of(other), nullptr);
  free_code_editor(other);
  EXPECT_FALSE(tk::widget_exists(other));
  EXPECT_EQ(code_editor_of(other), nullptr);
  // A fixed number can be made again after freeing.
  EXPECT_EQ(create_code_editor(128, 0, 0, 100, 100, nullptr, 1), 128);
  free_code_editor(128);
  EXPECT_EQ(create_code_editor(128, 0, 0, 100, 100, nullptr, 1), 128);
  editor_set_text(128, "x", 1);
  EXPECT_EQ(editor_get_text(128), "x");
}

TEST(CodeEditorNoWindow, CreationNeedsAWindow) {
  tk::close_all_windows();
  EXPECT_EQ(create_code_editor(tk::kAny, 0, 0, 10, 10, nullptr, 1), 0);
}

}  // namespace
}  // namespace editor_test
