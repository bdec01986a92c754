#include "maker/export/export.h"

#include <string.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string_view>
#include <system_error>
#include <vector>

#include "maker/export/generators.h"
#include "maker/export/run_game.h"
#include "maker/project/extensions.h"
#include "maker/project/jobs.h"
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

using Generator = void (*)(std::string&);
void append_version_js(std::string& out) { out += gen_version_js(); }
void append_global_variables_js(std::string& out) { out += gen_global_variables_js(); }
void append_global_functions_js(std::string& out) { out += gen_global_functions_js(); }
constexpr Generator kGenerators[] = {
    append_version_js, append_extensions_js, append_global_variables_js,
    append_global_functions_js, append_sprites_js, append_sounds_js, append_musics_js,
    append_backgrounds_js, append_fonts_js, append_objects_js,
};
static_assert(std::size(kGenerators) == 10, "the scenes, last, come in pieces");
constexpr size_t kObjects = 9;

// Writes are lost without a message when the file cannot be created.
void write_file(const fs::path& path, const std::vector<std::string_view>& pieces) {
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    for (std::string_view piece : pieces) std::fwrite(piece.data(), 1, piece.size(), f);
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

namespace {

// The beginning every marker shares.
constexpr std::string_view kMarkerStart = "//QUILLOP_";
// Sections are searched for it in slices of this size, side by side.
constexpr size_t kSliceBytes = 256 << 10;

// For each piece of sections 0 to 9, whether it lacks kMarkerStart and so
// holds no whole marker. The last section comes in by the last pass and is
// never searched.
std::array<std::vector<char>, 11> pieces_without_markers(
    const std::array<std::vector<std::string_view>, 11>& sections) {
  struct Slice {
    size_t m, k;
    std::string_view text;
  };
  std::vector<Slice> slices;
  std::array<std::vector<char>, 11> clean;
  for (size_t m = 0; m < sections.size(); ++m) {
    clean[m].assign(sections[m].size(), m + 1 < sections.size());
    if (m + 1 == sections.size()) break;
    for (size_t k = 0; k < sections[m].size(); ++k)
      for (size_t from = 0; from + kMarkerStart.size() <= sections[m][k].size(); from += kSliceBytes)
        slices.push_back({m, k, sections[m][k].substr(from, kSliceBytes + kMarkerStart.size() - 1)});
  }
  std::vector<char> found(slices.size());
  run_jobs_side_by_side(slices.size(), [&](size_t j) {
    const std::string_view text = slices[j].text;
    found[j] = memmem(text.data(), text.size(), kMarkerStart.data(), kMarkerStart.size()) != nullptr;
  });
  for (size_t j = 0; j < slices.size(); ++j)
    if (found[j]) clean[slices[j].m][slices[j].k] = false;
  return clean;
}

}  // namespace

std::vector<std::string_view> replace_markers_in_pieces(
    std::string_view text, const std::array<std::vector<std::string_view>, 11>& sections) {
  // The working text is kept as pieces of the template and of the sections,
  // so a pass copies no text. A marker may start in one piece and end in a
  // later one (an earlier section can complete it), which the search allows.
  // A piece known to hold no whole marker is searched only at its end.
  struct Piece {
    std::string_view text;
    bool clean;
  };
  const std::array<std::vector<char>, 11> clean = pieces_without_markers(sections);
  std::vector<Piece> pieces;
  if (!text.empty()) pieces.push_back({text, false});
  for (size_t m = 0; m < kSectionMarkers.size(); ++m) {
    const std::string_view marker = kSectionMarkers[m];
    // Whether the marker starts at offset `at` of piece `i`; on a match,
    // (i, at) becomes the position just after it.
    auto matches_at = [&](size_t& i, size_t& at) {
      size_t pi = i, pat = at;
      for (char c : marker) {
        while (pi < pieces.size() && pat == pieces[pi].text.size()) ++pi, pat = 0;
        if (pi == pieces.size() || pieces[pi].text[pat] != c) return false;
        ++pat;
      }
      i = pi, at = pat;
      return true;
    };
    std::vector<Piece> out;
    bool found = false;
    size_t i = 0, at = 0;      // search position
    size_t ci = 0, cat = 0;    // start of the text not yet copied to out
    auto copy_until = [&](size_t end_i, size_t end_at) {
      for (; ci < end_i; ++ci, cat = 0)
        if (cat < pieces[ci].text.size()) out.push_back({pieces[ci].text.substr(cat), pieces[ci].clean});
      if (ci < pieces.size() && end_at > cat)
        out.push_back({pieces[ci].text.substr(cat, end_at - cat), pieces[ci].clean});
      cat = end_at;
    };
    while (i < pieces.size()) {
      std::string_view piece = pieces[i].text;
      const void* hit = !pieces[i].clean && at + marker.size() <= piece.size()
                            ? memmem(piece.data() + at, piece.size() - at, marker.data(), marker.size())
                            : nullptr;
      size_t start_i = i, start_at;
      if (hit) {
        start_at = size_t(static_cast<const char*>(hit) - piece.data());
        at = start_at + marker.size();
      } else {
        // Only a marker running on into the next pieces is left here.
        start_at = std::max(at, piece.size() >= marker.size() ? piece.size() - marker.size() + 1 : 0);
        bool spans = false;
        for (; start_at < piece.size() && !spans; ++start_at) {
          size_t ei = i, eat = start_at;
          if (matches_at(ei, eat)) spans = true, i = ei, at = eat;
        }
        if (!spans) {
          ++i, at = 0;
          continue;
        }
        --start_at;
      }
      found = true;
      copy_until(start_i, start_at);
      for (size_t k = 0; k < sections[m].size(); ++k)
        if (!sections[m][k].empty()) out.push_back({sections[m][k], bool(clean[m][k])});
      ci = i, cat = at;
    }
    if (!found) continue;
    copy_until(pieces.size(), 0);
    pieces = std::move(out);
  }
  std::vector<std::string_view> texts;
  texts.reserve(pieces.size());
  for (const Piece& piece : pieces) texts.push_back(piece.text);
  return texts;
}

namespace {

std::string joined(const std::vector<std::string_view>& pieces) {
  std::string out;
  for (std::string_view piece : pieces) out.append(piece);
  return out;
}

}  // namespace

std::string replace_section_markers(std::string text, const std::array<std::string, 11>& sections) {
  std::array<std::vector<std::string_view>, 11> views;
  for (size_t m = 0; m < sections.size(); ++m) views[m] = {sections[m]};
  return joined(replace_markers_in_pieces(text, views));
}

namespace {

// The generated sections; the scenes, by far the largest, in pieces.
struct Sections {
  std::array<std::string, 10> text;
  std::vector<std::string> scenes;

  std::array<std::vector<std::string_view>, 11> views() const {
    std::array<std::vector<std::string_view>, 11> out;
    for (size_t m = 0; m < text.size(); ++m) out[m] = {text[m]};
    out[10].assign(scenes.begin(), scenes.end());
    return out;
  }
};

// The other sections are generated beside the scenes' parts, the objects,
// the largest, first. Each into a string of its own: neighbouring headers
// share a cache line, which every append would bounce around.
void generate_sections(Sections& sections) {
  std::vector<std::function<void()>> beside;
  for (size_t k = 0; k < std::size(kGenerators); ++k) {
    const size_t m = (kObjects + k) % std::size(kGenerators);
    beside.push_back([&text = sections.text[m], m] {
      std::string out;
      out.swap(text);
      out.clear();
      kGenerators[m](out);
      text.swap(out);
    });
  }
  append_scenes_js_pieces(sections.scenes, beside);
}

}  // namespace

std::string fill_engine_template(const std::string& engine_template) {
  Sections sections;
  generate_sections(sections);
  return joined(replace_markers_in_pieces(engine_template, sections.views()));
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
    write_file(folder / "index.html", {index_html_text()});
  }
  // Kept from one export to the next: the large sections then reuse memory
  // the program already has instead of faulting in fresh pages each time.
  static Sections sections;
  generate_sections(sections);
  write_file(folder / "game.js", replace_markers_in_pieces(g_engine_template, sections.views()));
  tk::pause(1000);
  tk::close_window(wait);
  show_wait_window(kSavedPicture);
  if (g_scenes.count() == 0)
    tk::message_box("Warning", "There is no scene added.", tk::MessageKind::Warning);
  return 0;
}
