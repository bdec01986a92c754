// Notifications: completion while typing, auto-indent, fold-margin clicks,
// showing folded lines, call-tip cancelling, and the keyword at the caret.
#include "tests/codeeditor/editor_fixture.h"

namespace editor_test {
namespace {

class NotifyTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    add_named(g_sprites, "PlayerShip");
    add_named(g_sprites, "Planet");
    javascript();
  }
  // A notification as Scintilla would send it.
  void notify(unsigned code, sptr_t position, int margin = 0, sptr_t length = 0) {
    SCNotification n{};
    n.nmhdr.code = code;
    n.position = position;
    n.margin = margin;
    n.length = length;
    editor_notify(ed, &n);
  }
  sptr_t line_start(int line) { return send(SCI_POSITIONFROMLINE, line); }
};

TEST_F(NotifyTest, CompletionListAfterThreeLetters) {
  type("fu");
  EXPECT_FALSE(list_shown());
  type("n");
  ASSERT_TRUE(list_shown());
  EXPECT_EQ(list_current(), "function");
  // The only match equals the typed word: the list closes.
  type("ction");
  EXPECT_FALSE(list_shown());
  EXPECT_EQ(editor_get_text(ed), "function");
}

TEST_F(NotifyTest, CompletionKeepsTheCaseOfTheWord) {
  type("PLA");
  ASSERT_TRUE(list_shown());
  EXPECT_EQ(editor_completion_list(*code_editor_of(ed), "PLA"), "Planet PlayerShip");
  EXPECT_EQ(editor_completion_list(*code_editor_of(ed), "playe"), "PlayerShip");
}

// Words that differ from the typed prefix only in case are offered in their
// own case beyond ASCII too, and choosing one replaces what was typed.
TEST_F(NotifyTest, CompletionFoldsCaseBeyondAscii) {
  add_named(g_sprites, "Élan");
  add_named(g_sprites, "Öl_ÜBER");
  javascript();
  struct Case {
    std::vector<guint> keys;
    const char* offered;
    const char* after_return;
  };
  const Case cases[] = {
      {{GDK_eacute, 'l', 'a'}, "Élan", "Élan"},
      {{GDK_Eacute, 'L', 'A'}, "Élan", "Élan"},
      {{GDK_eacute, 'l', 'a', 'n'}, nullptr, "élan\n"},  // the whole word typed: no list
      {{GDK_odiaeresis, 'l', '_', GDK_udiaeresis}, "Öl_ÜBER", "Öl_ÜBER"},
      {{'p', 'l', 'a'}, "Planet", "Planet"},  // within ASCII, as before
  };
  for (const Case& c : cases) {
    set("");
    for (guint k : c.keys) key(k);
    if (!c.offered) {
      EXPECT_FALSE(list_shown());
    } else {
      ASSERT_TRUE(list_shown()) << c.offered;
      EXPECT_EQ(list_current(), c.offered);
    }
    key(GDK_Return);
    EXPECT_EQ(editor_get_text(ed), c.after_return);
    EXPECT_FALSE(list_shown());
  }
}

TEST_F(NotifyTest, CompletionOffersOnlyKeywordsInListOrder) {
  editor_add_words(ed, "plain", 1, 0);  // known, but not offered
  editor_sort_words(ed);
  EXPECT_EQ(editor_completion_list(*code_editor_of(ed), "pl"), "Planet PlayerShip");
  EXPECT_EQ(editor_completion_list(*code_editor_of(ed), "in"), "in instanceof");
  EXPECT_EQ(editor_completion_list(*code_editor_of(ed), "xyz"), "");
}

TEST_F(NotifyTest, CompletionForTheWordAtTheCaretMidLine) {
  set("x = 1;  y");
  caret_to(7);
  type("ret");
  ASSERT_TRUE(list_shown());
  EXPECT_EQ(list_current(), "return");
}

TEST_F(NotifyTest, DeletingInsideAWordRerunsCompletion) {
  type("funx");
  EXPECT_FALSE(list_shown());
  key(GDK_BackSpace);
  ASSERT_TRUE(list_shown());
  EXPECT_EQ(list_current(), "function");
}

TEST_F(NotifyTest, NoCompletionWhenTheOptionIsOff) {
  editor_set_style_options(ed, 0x25);
  type("fun");
  EXPECT_FALSE(list_shown());
}

TEST_F(NotifyTest, AutoIndentFollowsThePreviousLine) {
  set("\tif (a) {");
  caret_to(send(SCI_GETLENGTH));
  type("\n");
  EXPECT_EQ(send(SCI_GETLINEINDENTATION, 1), 4);
  EXPECT_EQ(send(SCI_GETCURRENTPOS), send(SCI_GETLINEINDENTPOSITION, 1));
  EXPECT_EQ(editor_get_text(ed), "\tif (a) {\n\t");
  EXPECT_FALSE(list_shown());

  set("plain");
  caret_to(send(SCI_GETLENGTH));
  type("\n");
  EXPECT_EQ(send(SCI_GETLINEINDENTATION, 1), 0);
  EXPECT_EQ(send(SCI_GETCURRENTPOS), line_start(1));
}

TEST_F(NotifyTest, FoldMarginClicks) {
  set("if (a) {\n\tx;\n}\ny");
  // A body line with options 0x27: nothing.
  notify(SCN_MARGINCLICK, line_start(1), 2);
  EXPECT_EQ(send(SCI_GETFOLDEXPANDED, 0), 1);
  // Another margin: nothing.
  notify(SCN_MARGINCLICK, line_start(0), 0);
  EXPECT_EQ(send(SCI_GETFOLDEXPANDED, 0), 1);
  // The fold header.
  notify(SCN_MARGINCLICK, line_start(0), 2);
  EXPECT_EQ(send(SCI_GETFOLDEXPANDED, 0), 0);
  EXPECT_EQ(send(SCI_GETLINEVISIBLE, 1), 0);
  notify(SCN_MARGINCLICK, line_start(0), 2);
  EXPECT_EQ(send(SCI_GETFOLDEXPANDED, 0), 1);
  // With bit 3 any line toggles.
  editor_set_style_options(ed, 0x2f);
  notify(SCN_MARGINCLICK, line_start(1), 2);
  EXPECT_EQ(send(SCI_GETFOLDEXPANDED, 0), 0);
}

TEST_F(NotifyTest, NeededLinesAreShown) {
  set("if (a) {\n\tif (b) {\n\t\tx;\n\t}\n}\ny");
  send(SCI_FOLDLINE, 0, SC_FOLDACTION_CONTRACT);
  send(SCI_FOLDLINE, 1, SC_FOLDACTION_CONTRACT);
  ASSERT_EQ(send(SCI_GETLINEVISIBLE, 1), 0);
  // Showing the inner header shows the line after it too.
  notify(SCN_NEEDSHOWN, line_start(1), 0, 1);
  EXPECT_EQ(send(SCI_GETLINEVISIBLE, 1), 1);
  EXPECT_EQ(send(SCI_GETLINEVISIBLE, 2), 1);
}

TEST_F(NotifyTest, PastingLinesWidensTheLineNumberMargin) {
  set("a\nb");
  sptr_t narrow = send(SCI_GETMARGINWIDTHN, 0);
  std::string lines(150, '\n');
  send(SCI_INSERTTEXT, 0, reinterpret_cast<sptr_t>(lines.c_str()));
  sptr_t wide = send(SCI_TEXTWIDTH, kStyleLineNumber, reinterpret_cast<sptr_t>("999")) + 10;
  EXPECT_GT(wide, narrow);
  EXPECT_EQ(send(SCI_GETMARGINWIDTHN, 0), wide);
}

TEST_F(NotifyTest, CallTipOnAnotherLineIsCancelled) {
  set("a\nb");
  caret_to(0);
  send(SCI_CALLTIPSHOW, 0, reinterpret_cast<sptr_t>("tip"));
  ASSERT_EQ(send(SCI_CALLTIPACTIVE), 1);
  CodeEditor& e = *code_editor_of(ed);
  e.calltip_line = 0;
  e.calltip_position = 0;
  notify(SCN_UPDATEUI, 0);
  EXPECT_EQ(send(SCI_CALLTIPACTIVE), 1);  // same line: kept
  caret_to(line_start(1));
  notify(SCN_UPDATEUI, 0);
  EXPECT_EQ(send(SCI_CALLTIPACTIVE), 0);
  EXPECT_EQ(e.calltip_line, -1);
  EXPECT_EQ(e.calltip_position, -1);
}

int callback_widget = 0;
unsigned callback_code = 0;
void record_notification(int widget, SCNotification* n) {
  callback_widget = widget;
  callback_code = n->nmhdr.code;
}

TEST_F(NotifyTest, ApplicationProcedureFollowsTheComponent) {
  int other = create_code_editor(tk::kAny, 0, 0, 200, 100, record_notification, 1);
  callback_widget = 0;
  editor_set_text(other, "x", 1);  // raises modifications
  EXPECT_EQ(callback_widget, other);
  EXPECT_EQ(callback_code, unsigned(SCN_MODIFIED));
}

// ---- the keyword at the caret ----

struct CaretCase {
  const char* line;
  int caret;            // byte offset in the line
  const char* keyword;  // "" for none
};

const CaretCase kCaretCases[] = {
    {"score = draw_text(1)", 10, "draw_text"},     // inside a word followed by "("
    {"score = draw_text(1)", 20, "score"},         // at the end: the first word
    {"score + draw_text(", 17, "score"},           // right after a word: the first word
    {"x = vk_0", 6, "vk_"},                        // digits end the word
    {"  score", 0, "score"},                       // blanks before the first word
    {"c_red", 2, ""},                              // empty first help line
    {"SCORE", 1, ""},                              // case counts
    {"\t\tscore = draw_text", 3, "score"},         // tabs do not shift the scan
    {"", 0, ""},
};

TEST_F(NotifyTest, KeywordAtTheCaret) {
  add_keyword("c_red", "Cons", "", "");
  add_keyword("draw_text", "Fn", "", "never found");
  add_keyword("draw_text", "Fn", "draw_text(x, y, s)", "Draws a text.");
  add_keyword("score", "Var", "score", "The score.");
  add_keyword("vk_", "Var", "key prefix", "");
  for (const CaretCase& c : kCaretCases) {
    SCOPED_TRACE(std::string(c.line) + " @" + std::to_string(c.caret));
    set(std::string("first line\n") + c.line + "\nlast");
    caret_to(line_start(1) + c.caret);
    int k = editor_keyword_at_caret(ed);
    if (*c.keyword == 0) {
      EXPECT_EQ(k, -1);
    } else {
      ASSERT_NE(k, -1);
      EXPECT_EQ(g_keywords[k].word, c.keyword);
      EXPECT_FALSE(g_keywords[k].help_line1.empty());
    }
  }
  EXPECT_EQ(editor_keyword_at_caret(987654), -1);
}

}  // namespace
}  // namespace editor_test
