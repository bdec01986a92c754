#pragma once
// The export: the engine template filled with the generated sections,
// written as game.js (and index.html) into the project folder.
#include <array>
#include <string>
#include <string_view>
#include <vector>

// The eleven section markers of the engine template, in replacement order.
extern const std::array<std::string, 11> kSectionMarkers;

// Reads "export.js" of the working directory (created empty when missing) one
// byte per character: bytes 128 to 255 become U+0080 to U+00FF. Returns the
// text as UTF-8; the caller keeps it as g_engine_template.
std::string load_engine_template();

// Replaces, marker by marker in kSectionMarkers order, every occurrence of the
// marker in the text so far by sections[marker index]. A later marker that an
// earlier section brought in is replaced too.
std::string replace_section_markers(std::string text, const std::array<std::string, 11>& sections);

// The same result as pieces of `text` and of the sections, in order, for
// writing without building the whole text; each section may come in pieces.
// Valid while the text and the sections live.
std::vector<std::string_view> replace_markers_in_pieces(
    std::string_view text, const std::array<std::vector<std::string_view>, 11>& sections);

// The engine template with every section generated from the current project.
std::string fill_engine_template(const std::string& engine_template);

// Rescans the extensions, then writes Projects/<name>/game.js (and index.html
// when pref_generate_index_html is 1) between its two wait windows; warns when
// the project has no scene. Does nothing for an unnamed project. Returns 0.
int export_game();
