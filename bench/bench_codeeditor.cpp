// The code editor's hot paths on a real Scintilla widget: a full restyle of
// a large JavaScript file, the styling asked for after one typed character,
// and the JavaScript set-up with the large project's names.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/large_project.h"
#include "codeeditor/code_editor.h"
#include "maker/codewindows/javascript_setup.h"
#include "maker/project/keywords.h"
#include "maker/project/records.h"
#include "maker/project/state.h"
#include "toolkit/toolkit.h"

using namespace codeeditor;

namespace {

constexpr int kLines = 10000;

// kLines lines of ordinary JavaScript: blocks, calls, strings, numbers and
// both kinds of comment.
std::string large_javascript() {
  static const char* const kBlock[] = {
      "// update the player {%d}",
      "function update_%d(dx, dy) {",
      "\tvar speed = 4.5 * dx + obj_player.x; /* scaled */",
      "\tif (speed > 100 && keyboard_check(vk_left)) {",
      "\t\tdraw_text(10, 20, \"score: \" + score + 'pts');",
      "\t}",
      "\t/* several lines",
      "\t   of comment */ return speed;",
      "}",
      "",
  };
  std::string text;
  char line[160];
  for (int i = 0; i < kLines; ++i) {
    std::snprintf(line, sizeof line, kBlock[i % 10], i);
    text += line;
    if (i + 1 < kLines) text += '\n';
  }
  return text;
}

void fill_keywords() {
  g_keywords.clear();
  char word[32];
  for (int i = 0; i < 300; ++i) {
    std::snprintf(word, sizeof word, "engine_word_%d", i);
    add_keyword(word, i % 3 == 0 ? "Fn" : i % 3 == 1 ? "Var" : "Cons", "help", "more help");
  }
  add_keyword("draw_text", "Fn", "draw_text(x, y, text)", "Draws a text.");
  add_keyword("keyboard_check", "Fn", "keyboard_check(key)", "Is the key down?");
  add_keyword("score", "Var", "score", "The score.");
  for (const char* k : {"vk_left", "vk_right", "vk_up", "vk_down"}) add_keyword(k, "Cons", "", "");
}

struct Editor {
  int window = tk::open_window(tk::kAny, 0, 0, 800, 600, "bench");
  int ed = create_code_editor(tk::kAny, 0, 0, 800, 600, nullptr, kEditorLineNumbers);
  Editor() {
    setup_javascript_editor(ed);
    tk::process_pending();
  }
  ~Editor() { tk::close_window(window); }
};

void BM_FullRestyle(benchmark::State& state) {
  fill_keywords();
  Editor e;
  editor_set_text(e.ed, large_javascript(), 1);
  for (auto _ : state) {
    // From unstyled text, so that every style written is a change.
    state.PauseTiming();
    editor_send(e.ed, SCI_CLEARDOCUMENTSTYLE);
    state.ResumeTiming();
    editor_restyle(e.ed, 0, -1, -1);
  }
  state.counters["lines"] = kLines;
}
BENCHMARK(BM_FullRestyle)->Unit(benchmark::kMillisecond);

// One character typed in the middle of the file, outside comments; timed is
// only the style-needed notification Scintilla sends for the visible lines.
void BM_TypedCharacter(benchmark::State& state) {
  fill_keywords();
  Editor e;
  editor_set_text(e.ed, large_javascript(), 1);
  const int line = kLines / 2 + 2;  // "\tvar speed = ..."
  editor_send(e.ed, SCI_SETFIRSTVISIBLELINE, line - 10);
  const sptr_t at = editor_send(e.ed, SCI_POSITIONFROMLINE, line) + 5;
  const int last_visible = line - 10 + int(editor_send(e.ed, SCI_LINESONSCREEN)) + 1;
  for (auto _ : state) {
    state.PauseTiming();
    editor_send(e.ed, SCI_INSERTTEXT, uptr_t(at), reinterpret_cast<sptr_t>("x"));
    SCNotification n{};
    n.nmhdr.code = SCN_STYLENEEDED;
    n.position = editor_send(e.ed, SCI_POSITIONFROMLINE, last_visible);
    state.ResumeTiming();
    editor_notify(e.ed, &n);
    state.PauseTiming();
    editor_send(e.ed, SCI_DELETERANGE, uptr_t(at), 1);
    editor_restyle(e.ed, 0, -1, -1);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_TypedCharacter)->Unit(benchmark::kMicrosecond);

void BM_SetupJavascriptEditor(benchmark::State& state) {
  LargeProjectOptions options;
  options.frame_images = false;
  options.tile_images = false;
  build_large_project(options);
  fill_keywords();
  int window = tk::open_window(tk::kAny, 0, 0, 800, 600, "bench");
  for (auto _ : state) {
    state.PauseTiming();
    int ed = create_code_editor(tk::kAny, 0, 0, 800, 600, nullptr, kEditorLineNumbers);
    state.ResumeTiming();
    setup_javascript_editor(ed);
    state.PauseTiming();
    state.counters["words"] = double(code_editor_of(ed)->words.size());
    free_code_editor(ed);
    state.ResumeTiming();
  }
  tk::close_window(window);
}
BENCHMARK(BM_SetupJavascriptEditor)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("DISPLAY") || !tk::init(argc, argv)) {
    std::printf("bench_codeeditor: no display, skipped\n");
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
