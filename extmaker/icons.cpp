#include "extmaker/extmaker.h"
#include "imaging/image.h"

namespace {

// Each icon is 16 rows of 16 pixels, one character a pixel; '.' is clear.
using Art = const char* const[16];

constexpr Art kNew = {
    "..kkkkkkkk......", "..kwwwwwwkk.....", "..kwwwwwwklk....", "..kwwwwwwkllk...",
    "..kwwwwwwkkkkk..", "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..",
    "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..",
    "..kwwwwwwwwwwk..", "..kwwwwwwwwwwk..", "..kkkkkkkkkkkk..", "................"};
constexpr Art kOpen = {
    "................", "................", ".kkkkk..........", "kyyyyyk.........",
    "kyyyyyykkkkkkk..", "kyyyyyyyyyyyyk..", "kyyyykkkkkkkkkkk", "kyyykYYYYYYYYYYk",
    "kyyykYYYYYYYYYk.", "kyykYYYYYYYYYYk.", "kyykYYYYYYYYYk..", "kykYYYYYYYYYYk..",
    "kykYYYYYYYYYk...", "kkkkkkkkkkkkk...", "................", "................"};
constexpr Art kSave = {
    "kkkkkkkkkkkkkkk.", "kbbwwwwwwwwwbbk.", "kbbwwwwwwwwwbbk.", "kbbwwwwwwwwwbbk.",
    "kbbwwwwwwwwwbbk.", "kbbwwwwwwwwwbbk.", "kbbbbbbbbbbbbbk.", "kbbbbbbbbbbbbbk.",
    "kbbbllllllllbbk.", "kbbbllkkllllbbk.", "kbbbllkkllllbbk.", "kbbbllkkllllbbk.",
    "kbbbllllllllbbk.", "kkkkkkkkkkkkkkk.", "................", "................"};
constexpr Art kSaveAs = {
    "kkkkkkkkkkkkk...", "kbbwwwwwwwbbk...", "kbbwwwwwwwbbk...", "kbbwwwwwwwbbk...",
    "kbbwwwwwwwbbk...", "kbbbbbbbbbbbk...", "kbbbbbbbbbbbk..o", "kbbllllllbbk..oo",
    "kbbllkklllbk.ooo", "kbbllkklllkoooo.", "kbbllkkllkoooo..", "kkkkkkkkkoooo...",
    "........nooo....", ".......nnoo.....", ".......nn.......", "................"};
constexpr Art kExit = {
    "................", "..kkkkkkkk......", "..kggggggk......", "..kggggggk......",
    "..kggggggk...r..", "..kggggggk...rr.", "..kggggggrrrrrrr", "..kggggkgrrrrrrr",
    "..kggggggk...rr.", "..kggggggk...r..", "..kggggggk......", "..kggggggk......",
    "..kggggggk......", "..kkkkkkkk......", "................", "................"};

constexpr const Art* kIcons[] = {&kNew, &kOpen, &kSave, &kSaveAs, &kExit};

imaging::Colour colour_of(char key) {
  switch (key) {
    case 'k': return imaging::rgba(46, 52, 54);
    case 'w': return imaging::rgba(255, 255, 255);
    case 'l': return imaging::rgba(211, 215, 207);
    case 'g': return imaging::rgba(136, 138, 133);
    case 'b': return imaging::rgba(52, 101, 164);
    case 'y': return imaging::rgba(252, 233, 79);
    case 'Y': return imaging::rgba(196, 160, 0);
    case 'o': return imaging::rgba(245, 121, 0);
    case 'n': return imaging::rgba(143, 89, 2);
    case 'r': return imaging::rgba(204, 0, 0);
    default: return imaging::rgba(0, 0, 0, 0);
  }
}

}  // namespace

void make_extmaker_icons() {
  int number = kFirstIcon;
  for (const Art* art : kIcons) {
    imaging::create_image(number, 16, 16);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16 && (*art)[y][x]; ++x)
        imaging::set_image_pixel(number, x, y, colour_of((*art)[y][x]));
    ++number;
  }
}
