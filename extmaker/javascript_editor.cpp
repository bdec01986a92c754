#include <string>

#include "codeeditor/code_editor.h"
#include "extmaker/extmaker.h"

using namespace codeeditor;

namespace {

constexpr int rgb(int r, int g, int b) { return r + 256 * g + 65536 * b; }

// The editor's colours never change: this program keeps no settings.
const JavaScriptLook kLook = {
    rgb(0, 0, 0),        rgb(0, 0, 64),      rgb(255, 255, 255), rgb(255, 240, 240),
    "Consolas",          11,                 rgb(54, 45, 227),   rgb(160, 160, 160),
    rgb(32, 106, 34),    rgb(81, 80, 19),    rgb(60, 60, 60),    rgb(49, 170, 187),
    rgb(198, 0, 198),    rgb(208, 64, 64),   rgb(35, 163, 35),
};

}  // namespace

void setup_extmaker_javascript_editor(int widget) {
  if (!code_editor_of(widget)) return;
  editor_setup_javascript(widget, kLook);
  // Unlike quillop-maker's editors, "|", "&" and ";" are no separators here.
  editor_finish_javascript(widget, "=+-*/%()[],.");
}
