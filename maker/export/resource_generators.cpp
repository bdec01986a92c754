// Each generator visits its list once and finds what belongs to a record
// (frames of a sprite, scripts of an object, tiles and instances of a scene)
// through an index built once per call, so the time grows with the number of
// records and not with their product.
#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "imaging/image.h"
#include "maker/export/generators.h"
#include "maker/export/js_text.h"
#include "maker/project/jobs.h"
#include "maker/project/state.h"

namespace {

using js::kNewLine;
using js::put;

// The scenes go out in at most this many parts, each a job of its own.
constexpr size_t kMaxParts = 16;
// Slices of the tile and object lists grouped side by side.
constexpr size_t kMaxSlices = 4;

// Equality of short keys, compared inline eight bytes at a time: a call to
// memcmp for each of a hundred thousand records costs more than the
// comparison itself.
bool same(int a, int b) { return a == b; }
[[gnu::always_inline]] inline bool same(std::string_view a, std::string_view b) {
  const size_t n = a.size();
  if (n != b.size()) return false;
  auto word = [](std::string_view s, size_t at) {
    uint64_t w;
    std::memcpy(&w, s.data() + at, sizeof w);
    return w;
  };
  if (n < 8) {
    for (size_t i = 0; i < n; ++i)
      if (a[i] != b[i]) return false;
    return true;
  }
  for (size_t i = 0; i + 8 < n; i += 8)
    if (word(a, i) != word(b, i)) return false;
  return word(a, n - 8) == word(b, n - 8);  // the last eight, overlapping
}

using Groups = std::unordered_map<std::string_view, std::vector<int>>;

// Positions of the records of slice k of `slices` of `list`, grouped by the
// name `key` gives them, each group in list order.
template <class T, class Key>
Groups group_slice(const RecordList<T>& list, Key key, size_t k = 0, size_t slices = 1) {
  Groups groups;
  const size_t n = size_t(list.count());
  std::vector<int>* last = nullptr;
  std::string_view last_key;
  for (size_t i = n * k / slices; i < n * (k + 1) / slices; ++i) {
    // Records of one owner usually follow each other: look up only on change.
    std::string_view name = key(list[int(i)]);
    if (!last || !same(name, last_key)) last = &groups[name], last_key = name;
    last->push_back(int(i));
  }
  return groups;
}

// The groups of consecutive slices joined, keeping list order.
Groups join_slices(std::vector<Groups>& parts) {
  Groups groups = std::move(parts[0]);
  for (size_t k = 1; k < parts.size(); ++k)
    for (auto& [name, positions] : parts[k]) {
      std::vector<int>& all = groups[name];
      all.insert(all.end(), positions.begin(), positions.end());
    }
  return groups;
}

const std::vector<int>& group_of(const Groups& groups, const std::string& name) {
  static const std::vector<int> none;
  auto it = groups.find(name);
  return it == groups.end() ? none : it->second;
}

void open_constructor(std::string& out, const std::string& name) {
  put(out, "function __", name, "() { ", kNewLine);
}

void close_constructor(std::string& out, const std::string& name) {
  put(out, "}; var ", name, " = new __", name, "();", kNewLine, kNewLine);
}

template <class Audio>
void append_audio_js(std::string& out, const RecordList<Audio>& list) {
  out.reserve(out.size() + size_t(list.count()) * 160);
  for (const Audio& a : list) {
    if (a.wav_file.empty() && a.mp3_file.empty() && a.ogg_file.empty()) continue;
    open_constructor(out, a.name);
    put(out, "__audio_init__(this, ", a.name, ", '", a.wav_file, "', '", a.mp3_file, "', '",
        a.ogg_file, "');", kNewLine);
    close_constructor(out, a.name);
  }
}

struct EventKind {
  std::string_view type, handler, opening, closing;
};

constexpr std::array<EventKind, 9> kEvents = {{
    {"Creation", "on_creation", "", ""},
    {"Destroy", "on_destroy", "", ""},
    {"Step", "on_step", "", ""},
    {"End step", "on_end_step", "", ""},
    {"Collision", "on_collision", "", ""},
    {"Room start", "on_roomstart", "", ""},
    {"Room end", "on_roomend", "", ""},
    {"Animation end", "on_animationend",
     "if(this.image_index >= this.image_number - 1) {\r\n", "}\r\n"},
    {"Draw", "on_draw", "if (this.visible == 1) {\r\n__handle_sprite__(this);\r\n", "}\r\n"},
}};
constexpr size_t kCollision = 4;

// The scripts of each object by event, in script-list order.
using ScriptsByEvent = std::array<std::vector<int>, kEvents.size()>;

std::unordered_map<std::string_view, ScriptsByEvent> index_scripts() {
  std::unordered_map<std::string_view, size_t> event_of;
  for (size_t e = 0; e < kEvents.size(); ++e) event_of[kEvents[e].type] = e;
  std::unordered_map<std::string_view, ScriptsByEvent> index;
  for (int i = 0; i < g_scripts.count(); ++i) {
    auto e = event_of.find(g_scripts[i].event_type);
    if (e != event_of.end()) index[g_scripts[i].owner_object][e->second].push_back(i);
  }
  return index;
}

void put_event_body(std::string& out, size_t event, const std::vector<int>& scripts) {
  for (int i : scripts) {
    const Script& s = g_scripts[i];
    if (event != kCollision) {
      put(out, s.code, kNewLine);
    } else if (!s.parameter.empty()) {
      put(out, "this.other = this.place_meeting(this.x, this.y, ", s.parameter, ");", kNewLine,
          "if(this.other != null) {", kNewLine, s.code, kNewLine, "}", kNewLine);
    }
  }
}

// Numbers 0, 1, 2 ... for distinct keys in the order they first come. A
// scene has few depths and backgrounds, so a short list is searched first.
template <class Key>
class FirstAppearance {
 public:
  int rank(const Key& key) {
    if (index_.empty()) {
      for (size_t r = 0; r < keys_.size(); ++r)
        if (same(keys_[r], key)) return int(r);
      keys_.push_back(key);
      if (keys_.size() > 16)
        for (size_t r = 0; r < keys_.size(); ++r) index_.emplace(keys_[r], int(r));
      return int(keys_.size()) - 1;
    }
    auto [it, added] = index_.try_emplace(key, int(keys_.size()));
    if (added) keys_.push_back(key);
    return it->second;
  }
  size_t size() const { return keys_.size(); }

 private:
  std::vector<Key> keys_;
  std::unordered_map<Key, int> index_;
};

// `separator`, then "[" + left + "," + top + "," + width + "," + height + "," +
// x + "," + y + "]", in one append.
void put_tile(std::string& out, std::string_view separator, const Tile& t) {
  char line[112];
  char* p = std::copy(separator.begin(), separator.end(), line);
  *p++ = '[';
  for (int v : {t.source_left, t.source_top, t.width, t.height, t.x, t.y}) {
    p = std::to_chars(p, line + sizeof line, v).ptr;
    *p++ = ',';
  }
  p[-1] = ']';
  out.append(line, size_t(p - line));
}

// The tile groups of one scene: a group per depth, in the order the depths
// first appear, holding a group per background, in the order the backgrounds
// first appear in the scene, holding the tiles in list order.
void put_tile_groups(std::string& out, const std::vector<int>& tiles) {
  if (tiles.empty()) return;
  FirstAppearance<int> depths;
  FirstAppearance<std::string_view> backgrounds;
  std::vector<std::pair<int, int>> ranks;  // (depth rank, background rank) per tile
  ranks.reserve(tiles.size());
  for (int i : tiles)
    ranks.emplace_back(depths.rank(g_tiles[i].depth), backgrounds.rank(g_tiles[i].background_name));

  // Tiles in group order, each group keeping list order: a counting sort over
  // (depth, background) when that table is small, else a stable sort.
  const uint64_t per_depth = backgrounds.size();
  auto group = [&](size_t k) { return uint64_t(ranks[k].first) * per_depth + uint64_t(ranks[k].second); };
  std::vector<size_t> order(tiles.size());
  const uint64_t groups = depths.size() * per_depth;
  if (groups <= 4 * tiles.size() + 64) {
    std::vector<size_t> start(size_t(groups) + 1, 0);
    for (size_t k = 0; k < tiles.size(); ++k) ++start[group(k) + 1];
    for (size_t g = 1; g < start.size(); ++g) start[g] += start[g - 1];
    for (size_t k = 0; k < tiles.size(); ++k) order[start[group(k)]++] = k;
  } else {
    for (size_t k = 0; k < order.size(); ++k) order[k] = k;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return group(a) < group(b); });
  }

  for (size_t n = 0; n < order.size(); ++n) {
    const size_t k = order[n];
    const Tile& t = g_tiles[tiles[k]];
    const bool new_depth = n == 0 || ranks[k].first != ranks[order[n - 1]].first;
    const bool new_background = new_depth || ranks[k].second != ranks[order[n - 1]].second;
    if (new_depth) {
      if (n > 0) put(out, "]],", kNewLine);
      put(out, "[", t.depth, ",", kNewLine);
    }
    if (new_background) {
      if (!new_depth) put(out, "],", kNewLine);
      put(out, "[", t.background_name, ",");
    }
    put_tile(out, new_background ? "\r\n" : ",\r\n", t);
  }
  put(out, "]]");
}

}  // namespace

int object_has_event(const std::string& object_name, const std::string& event_type) {
  for (const Script& s : g_scripts)
    if (s.owner_object == object_name && s.event_type == event_type) return 1;
  return 0;
}

void append_sprites_js(std::string& out) {
  auto frames = group_slice(g_frames, [](const Frame& f) -> std::string_view { return f.sprite_name; });
  out.reserve(out.size() + size_t(g_sprites.count()) * 200 + size_t(g_frames.count()) * 32);
  for (const Sprite& s : g_sprites) {
    const std::vector<int>& own = group_of(frames, s.name);
    int width = 0, height = 0;
    if (const imaging::Image* last = own.empty() ? nullptr : imaging::image_ptr(g_frames[own.back()].image))
      width = last->width, height = last->height;
    open_constructor(out, s.name);
    put(out, "__sprite_init__(this, ", s.name, ", ", width, ", ", height, ", ", s.origin_x, ", ",
        s.origin_y, ", '", s.collision_shape, "', ", s.collision_radius, ", ", s.collision_left,
        ", ", s.collision_right, ", ", s.collision_top, ", ", s.collision_bottom, ", [");
    for (size_t k = 0; k < own.size(); ++k) {
      const Frame& f = g_frames[own[k]];
      put(out, k ? ",'" : "'", f.sprite_name, "_", f.file_counter, ".png'");
    }
    put(out, "]);", kNewLine);
    close_constructor(out, s.name);
  }
}

void append_sounds_js(std::string& out) { append_audio_js(out, g_sounds); }
void append_musics_js(std::string& out) { append_audio_js(out, g_musics); }

void append_backgrounds_js(std::string& out) {
  out.reserve(out.size() + size_t(g_backgrounds.count()) * 120);
  for (const Background& b : g_backgrounds) {
    if (b.image_file.empty()) continue;
    open_constructor(out, b.name);
    put(out, "__background_init__(this, ", b.name, ", '", b.image_file, "')");
    close_constructor(out, b.name);
  }
}

void append_fonts_js(std::string& out) {
  out.reserve(out.size() + size_t(g_fonts.count()) * 120);
  for (const Font& f : g_fonts) {
    open_constructor(out, f.name);
    put(out, "__font_init__(this, ", f.name, ", '", f.family, "', ", f.size, ", ", f.bold, ", ",
        f.italic, ")");
    close_constructor(out, f.name);
  }
}

void append_objects_js(std::string& out) {
  const bool with_this = g_game_settings[0].advanced_mode == 0;
  const auto scripts = index_scripts();
  size_t size = 0;
  for (const Script& s : g_scripts) size += s.code.size() + s.parameter.size() + 96;
  out.reserve(out.size() + size + size_t(g_objects.count()) * 400);
  for (int position = 0; position < g_objects.count(); ++position) {
    const GameObject& o = g_objects[position];
    if (o.is_prototype != 1) continue;
    auto own = scripts.find(o.name);
    put(out, "function __", o.name, "() {", kNewLine, "__instance_init__(this, ", o.name, ", ",
        js::name_or_null(o.parent_name), ", ", o.visible, ", ", o.depth, ", ",
        js::name_or_null(o.sprite_name), ", ", o.collision, ", ", position, ");", kNewLine);
    for (size_t e = 0; e < kEvents.size(); ++e) {
      const EventKind& event = kEvents[e];
      if (own == scripts.end() || own->second[e].empty()) {
        put(out, "this.", event.handler, " = ", event.handler, "_i;", kNewLine);
        continue;
      }
      put(out, "this.", event.handler, " = function() {", kNewLine, event.opening);
      if (with_this) put(out, "with(this) {", kNewLine);
      put_event_body(out, e, own->second[e]);
      if (with_this) put(out, "}", kNewLine);
      put(out, event.closing, "};", kNewLine);
    }
    close_constructor(out, o.name);
  }
}

namespace {

void put_scene(std::string& out, const Scene& s, const std::vector<int>& tiles,
               const std::vector<int>& placed) {
  open_constructor(out, s.name);
  put(out, "this.tiles = [", kNewLine);
  put_tile_groups(out, tiles);
  put(out, "];", kNewLine, "this.objects = [", kNewLine);
  for (size_t k = 0; k < placed.size(); ++k) {
    const GameObject& o = g_objects[placed[k]];
    if (k) put(out, ",", kNewLine);
    put(out, "[", o.template_name, ",", o.x, ",", o.y, "]");
  }
  put(out, "];", kNewLine, "this.start = function() {", kNewLine);
  put(out, "__room_start__(this, ", s.name, ", ", s.width, ", ", s.height, ", ", s.speed, ", ",
      s.back_red, ", ", s.back_green, ", ", s.back_blue, ", ");
  if (s.background_name.empty())
    put(out, "null");
  else
    put(out, s.background_name, ".image");
  put(out, ", ", s.tile_horizontal, ", ", s.tile_vertical, ", ", s.stretch, ", ", s.view_width,
      ", ", s.view_height, ", ", js::name_or_null(s.follow_object), ", ", s.follow_border_x,
      ", ", s.follow_border_y, ");", kNewLine);
  if (!s.code.empty()) put(out, kNewLine, s.code, kNewLine);
  put(out, "};", kNewLine, "}", kNewLine, "var ", s.name, " = new __", s.name, "();", kNewLine,
      "qp_scenes.push(", s.name, ");", kNewLine);
}

}  // namespace

// Large games have tens of thousands of tiles: the scenes are written in
// parts side by side, each part a piece of its own, in scene order.
void append_scenes_js_pieces(std::vector<std::string>& pieces,
                             const std::vector<std::function<void()>>& beside) {
  const size_t records = size_t(g_tiles.count()) + size_t(g_objects.count());
  const size_t slices = std::clamp<size_t>(records / 8192, 1, kMaxSlices);
  std::vector<Groups> tile_parts(slices), object_parts(slices);
  run_jobs_side_by_side(slices, [&](size_t k) {
    tile_parts[k] = group_slice(g_tiles, [](const Tile& t) -> std::string_view { return t.scene_name; },
                                k, slices);
    object_parts[k] = group_slice(
        g_objects, [](const GameObject& o) -> std::string_view { return o.scene_name; }, k, slices);
  });
  const Groups tiles = join_slices(tile_parts), objects = join_slices(object_parts);

  // Parts of about the same size: part k holds scenes first[k] .. first[k + 1] - 1.
  const size_t scenes = size_t(g_scenes.count());
  std::vector<size_t> sizes(scenes);
  size_t total = 0;
  for (size_t i = 0; i < scenes; ++i) {
    const Scene& s = g_scenes[int(i)];
    sizes[i] = (group_of(tiles, s.name).size() + group_of(objects, s.name).size()) * 40 + s.code.size() + 400;
    total += sizes[i];
  }
  const size_t most = std::min(scenes, kMaxParts);
  std::vector<size_t> first = {0};
  for (size_t i = 0, so_far = 0; i + 1 < scenes; ++i) {
    so_far += sizes[i];
    if (first.size() < most && so_far >= total / most * first.size()) first.push_back(i + 1);
  }
  if (scenes > 0) first.push_back(scenes);
  const size_t parts = first.size() - 1;
  pieces.resize(parts + 1);

  run_jobs_side_by_side(beside.size() + parts, [&](size_t j) {
    if (j < beside.size()) return beside[j]();
    const size_t k = j - beside.size();
    // Each part appends to a string of its own and keeps the capacity of
    // the last call; the headers of neighbouring strings share a cache line,
    // which every append would bounce around.
    std::string part;
    part.swap(pieces[k]);
    part.clear();
    size_t size = 0;
    for (size_t i = first[k]; i < first[k + 1]; ++i) size += sizes[i];
    part.reserve(size);
    for (size_t i = first[k]; i < first[k + 1]; ++i) {
      const Scene& s = g_scenes[int(i)];
      put_scene(part, s, group_of(tiles, s.name), group_of(objects, s.name));
    }
    pieces[k].swap(part);
  });
  pieces[parts].clear();
  if (g_scenes.count() > 0) put(pieces[parts], "qp_room_to_go = ", g_scenes[0].name, ";", kNewLine);
}

void append_scenes_js(std::string& out) {
  std::vector<std::string> pieces;
  append_scenes_js_pieces(pieces);
  for (const std::string& piece : pieces) out.append(piece);
}

namespace {

std::string generated(void (*append)(std::string&)) {
  std::string out;
  append(out);
  return out;
}

}  // namespace

std::string gen_sprites_js() { return generated(append_sprites_js); }
std::string gen_sounds_js() { return generated(append_sounds_js); }
std::string gen_musics_js() { return generated(append_musics_js); }
std::string gen_backgrounds_js() { return generated(append_backgrounds_js); }
std::string gen_fonts_js() { return generated(append_fonts_js); }
std::string gen_objects_js() { return generated(append_objects_js); }
std::string gen_scenes_js() { return generated(append_scenes_js); }
