#include "maker/export/export.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "maker/export/generators.h"
#include "maker/export/run_game.h"
#include "maker/project/extensions.h"
#include "maker/project/state.h"
#include "toolkit/requester.h"
#include "toolkit/system.h"
#include "toolkit/window.h"

namespace fs = std::filesystem;

namespace {

constexpr int kGeneratingPicture = 139;
constexpr int kSavedPicture = 140;
// The engine is a few hundred kilobytes; a larger file is not a template.
constexpr std::uintmax_t kMaxTemplateBytes = 64 << 20;

using Generator = std::string (*)();
constexpr Generator kGenerators[] = {
    gen_version_js, gen_extensions_js, gen_global_variables_js, gen_global_functions_js,
    gen_sprites_js, gen_sounds_js,     gen_musics_js,           gen_backgrounds_js,
    gen_fonts_js,   gen_objects_js,    gen_scenes_js,
};
static_assert(std::size(kGenerators) == 11);

// Writes are lost without a message when the file cannot be created.
void write_file(const fs::path& path, std::string_view text) {
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    if (!text.empty()) std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
  }
}

void show_wait_window(int picture) {
  int window = open_wait_window(picture);
  tk::pause(1000);
  tk::close_window(window);
}

}  // namespace

const std::array<std::string, 11> kSectionMarkers = {
    "//QUILLOP_VERSION",     "//QUILLOP_EXTENSIONS", "//QUILLOP_GLOBAL_VARIABLES",
    "//QUILLOP_GLOBAL_FUNCTIONS", "//QUILLOP_SPRITES", "//QUILLOP_SOUNDS",
    "//QUILLOP_MUSICS",      "//QUILLOP_BACKGROUNDS", "//QUILLOP_FONTS",
    "//QUILLOP_OBJECTS",     "//QUILLOP_SCENES",
};

std::string load_engine_template() {
  std::error_code error;
  if (!fs::exists("export.js", error)) {
    // Created empty, as a first start leaves it.
    if (FILE* f = std::fopen("export.js", "ab")) std::fclose(f);
    return "";
  }
  auto size = fs::is_regular_file("export.js", error) ? fs::file_size("export.js", error) : 0;
  if (error || size == 0 || size > kMaxTemplateBytes) return "";
  std::string bytes(size_t(size), '\0');
  if (FILE* f = std::fopen("export.js", "rb")) {
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
    std::fclose(f);
  } else {
    return "";
  }
  std::string text;
  text.reserve(bytes.size());
  for (unsigned char c : bytes) {
    if (c < 0x80) {
      text += char(c);
    } else {
      text += char(0xC0 | c >> 6);
      text += char(0x80 | (c & 0x3F));
    }
  }
  return text;
}

std::string replace_section_markers(std::string text, const std::array<std::string, 11>& sections) {
  for (size_t m = 0; m < kSectionMarkers.size(); ++m) {
    const std::string& marker = kSectionMarkers[m];
    size_t at = text.find(marker);
    if (at == std::string::npos) continue;
    std::string replaced;
    replaced.reserve(text.size() + sections[m].size());
    size_t from = 0;
    for (; at != std::string::npos; at = text.find(marker, from)) {
      replaced.append(text, from, at - from).append(sections[m]);
      from = at + marker.size();
    }
    replaced.append(text, from);
    text = std::move(replaced);
  }
  return text;
}

std::string fill_engine_template(const std::string& engine_template) {
  std::array<std::string, 11> sections;
  for (size_t m = 0; m < sections.size(); ++m) sections[m] = kGenerators[m]();
  return replace_section_markers(engine_template, sections);
}

int export_game() {
  int wait = open_wait_window(kGeneratingPicture);
  scan_installed_extensions();
  if (g_project_name.empty()) {
    tk::close_window(wait);
    return 0;
  }
  const fs::path folder = fs::path("Projects") / g_project_name;
  std::error_code error;
  fs::remove(folder / "game.js", error);
  if (pref_generate_index_html == 1) {
    fs::remove(folder / "index.html", error);
    write_file(folder / "index.html", index_html_text());
  }
  write_file(folder / "game.js", fill_engine_template(g_engine_template));
  tk::pause(1000);
  tk::close_window(wait);
  show_wait_window(kSavedPicture);
  if (g_scenes.count() == 0)
    tk::message_box("Warning", "There is no scene added.", tk::MessageKind::Warning);
  return 0;
}
