// Which preference of preferences.dat colours which part of a JavaScript
// editor: every key gets a colour of its own, and each style and colour role
// is read back from the editor.
#include <string>

#include "maker/project/preferences.h"
#include "tests/codeeditor/editor_fixture.h"

namespace editor_test {
namespace {

using LookTest = EditorTest;

// What the editor shows for one key's value.
enum class Shown { StyleFore, SelectionBack, SelectionText, CaretLine };

TEST_F(LookTest, EachPreferenceKeyColoursItsOwnStyleOrRole) {
  struct Case {
    const char* key;
    Shown shown;
    int style;  // for Shown::StyleFore
  } cases[] = {
      {"sci_color_fore", Shown::StyleFore, kStyleDefault},
      {"sci_color_selection_back", Shown::SelectionBack, 0},
      {"sci_color_selection_fore", Shown::SelectionText, 0},
      {"sci_color_caret", Shown::CaretLine, 0},
      {"sci_color_command", Shown::StyleFore, 2},
      {"sci_color_comment", Shown::StyleFore, 3},
      {"sci_color_string", Shown::StyleFore, 4},
      {"sci_color_number", Shown::StyleFore, 5},
      {"sci_color_function", Shown::StyleFore, 6},
      {"sci_color_resource", Shown::StyleFore, 7},
      {"sci_color_qp_function", Shown::StyleFore, 8},
      {"sci_color_qp_variable", Shown::StyleFore, 9},
      {"sci_color_qp_constant", Shown::StyleFore, 10},
  };
  // Colours unlike each other and unlike any default: 0x0A0B01, 0x0A0B02, ...
  auto colour_of = [](size_t i) { return 0x0A0B00 + int(i) + 1; };
  std::string file = "[Code editor]\n";
  for (size_t i = 0; i < std::size(cases); ++i)
    file += std::string(cases[i].key) + " = " + std::to_string(colour_of(i)) + "\n";
  file += "sci_font_family = DejaVu Sans Mono\nsci_font_size = 13\n";
  read_preferences_from(file);
  javascript();

  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    sptr_t got = -1;
    switch (c.shown) {
      case Shown::StyleFore: got = send(SCI_STYLEGETFORE, uptr_t(c.style)); break;
      case Shown::SelectionBack: got = send(SCI_GETELEMENTCOLOUR, SC_ELEMENT_SELECTION_BACK); break;
      case Shown::SelectionText: got = send(SCI_GETELEMENTCOLOUR, SC_ELEMENT_SELECTION_TEXT); break;
      case Shown::CaretLine: got = send(SCI_GETCARETLINEBACK); break;
    }
    EXPECT_EQ(got & 0xFFFFFF, colour_of(i)) << c.key;
  }
  EXPECT_TRUE(send(SCI_GETCARETLINEVISIBLE));

  // The font of the text, and the two styles whose looks are fixed.
  std::string family(size_t(send(SCI_STYLEGETFONT, kStyleDefault)), '\0');
  send(SCI_STYLEGETFONT, kStyleDefault, reinterpret_cast<sptr_t>(family.data()));
  EXPECT_EQ(family, "DejaVu Sans Mono");
  EXPECT_EQ(send(SCI_STYLEGETSIZE, kStyleDefault), 13);
  EXPECT_TRUE(send(SCI_STYLEGETITALIC, 3));
  EXPECT_FALSE(send(SCI_STYLEGETBOLD, 3));
  for (int style = 4; style <= 10; ++style) {
    EXPECT_FALSE(send(SCI_STYLEGETITALIC, uptr_t(style))) << style;
    EXPECT_FALSE(send(SCI_STYLEGETBOLD, uptr_t(style))) << style;
  }
  EXPECT_TRUE(send(SCI_STYLEGETBOLD, 11));
  EXPECT_EQ(send(SCI_STYLEGETFORE, 11) & 0xFFFFFF, 0x0000FF);  // red
}

}  // namespace
}  // namespace editor_test
