#pragma once
// The JavaScript of each section of game.js, generated from the program-wide
// records. Each returns its whole text and changes nothing. Lines end in
// CR LF; names go in as bare identifiers, file names and font families in
// single quotes, nothing escaped.
#include <functional>
#include <string>
#include <vector>

// "v" and the three digits of the file version joined by ".": 127 gives v1.2.7.
std::string gen_version_js();
// The code of every enabled installed extension under a comment naming it,
// and one CR LF per installed extension, enabled or not.
std::string gen_extensions_js();
// The game settings' code, unchanged.
std::string gen_global_variables_js();
std::string gen_global_functions_js();

std::string gen_sprites_js();
std::string gen_sounds_js();
std::string gen_musics_js();
std::string gen_backgrounds_js();
std::string gen_fonts_js();
std::string gen_objects_js();  // object definitions only
std::string gen_scenes_js();   // scenes with their tiles and placed instances

// The same texts appended to `out`, for callers that reuse one buffer.
void append_extensions_js(std::string& out);
void append_sprites_js(std::string& out);
void append_sounds_js(std::string& out);
void append_musics_js(std::string& out);
void append_backgrounds_js(std::string& out);
void append_fonts_js(std::string& out);
void append_objects_js(std::string& out);
void append_scenes_js(std::string& out);
// The scenes section as consecutive pieces, reusing the strings given. The
// `beside` jobs run first, on the same threads as the scenes' parts.
void append_scenes_js_pieces(std::vector<std::string>& pieces,
                             const std::vector<std::function<void()>>& beside = {});

// 1 when the script list holds a script of `object_name` for `event_type`, else 0.
int object_has_event(const std::string& object_name, const std::string& event_type);
