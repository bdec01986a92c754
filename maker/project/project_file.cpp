#include "maker/project/project_file.h"

#include <glib.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <span>

#include "maker/project/jobs.h"
#include "toolkit/files.h"
#include "toolkit/toolkit.h"

const char* const kLogSeparator = "-----------------------------------------";

namespace {

constexpr const char* kMarker = "*<NL>*";
constexpr size_t kMarkerSize = 6;

// ---- the table of the file ----

enum class Kind { Number, Text, Code };

// One value of a record. `from` is the first file version that holds it;
// older files give `missing` (numbers) or an empty text.
template <class R>
struct Field {
  Kind kind;
  const char* label;
  int R::*number = nullptr;
  std::string R::*text = nullptr;
  int from = 0;
  int missing = 0;
  bool file = false;  // a file name of the working folder
};

template <class R>
constexpr Field<R> num(const char* label, int R::*m, int from = 0, int missing = 0) {
  return {Kind::Number, label, m, nullptr, from, missing};
}
template <class R>
constexpr Field<R> txt(const char* label, std::string R::*m, int from = 0) {
  return {Kind::Text, label, nullptr, m, from};
}
template <class R>
constexpr Field<R> code(const char* label, std::string R::*m) {
  return {Kind::Code, label, nullptr, m};
}
template <class R>
constexpr Field<R> file(const char* label, std::string R::*m, int from = 0) {
  return {Kind::Text, label, nullptr, m, from, 0, true};
}

const Field<Sprite> kSpriteFields[] = {
    txt("Sprite name", &Sprite::name),
    num("Sprite center X", &Sprite::origin_x),
    num("Sprite center Y", &Sprite::origin_y),
    txt("Sprite collision shape", &Sprite::collision_shape),
    num("Sprite collision radius", &Sprite::collision_radius),
    num("Sprite collision left", &Sprite::collision_left),
    num("Sprite collision right", &Sprite::collision_right),
    num("Sprite collision top", &Sprite::collision_top),
    num("Sprite collision bottom", &Sprite::collision_bottom),
};
const Field<Frame> kFrameFields[] = {
    txt("Frame file counter", &Frame::file_counter),
    txt("Frame connected to this sprite", &Frame::sprite_name),
};
const Field<Sound> kSoundFields[] = {
    file("Sound file (WAV)", &Sound::wav_file),
    txt("Sound Name", &Sound::name),
    file("Sound file (MP3)", &Sound::mp3_file, 122),
    file("Sound file (OGG)", &Sound::ogg_file, 122),
};
const Field<Music> kMusicFields[] = {
    file("Music file (WAV)", &Music::wav_file),
    txt("Music name", &Music::name),
    file("Music file (MP3)", &Music::mp3_file, 122),
    file("Music file (OGG)", &Music::ogg_file, 122),
};
const Field<Background> kBackgroundFields[] = {
    file("Background file", &Background::image_file),
    txt("Background name", &Background::name),
    num("Used as tile", &Background::use_as_tileset, 120),
    num("Tile height", &Background::tile_height, 120, 32),
    num("Tile width", &Background::tile_width, 120, 32),
    num("Tile X Offset", &Background::tile_offset_x, 120),
    num("Tile X Space", &Background::tile_space_x, 120),
    num("Tile Y Offset", &Background::tile_offset_y, 120),
    num("Tile Y Space", &Background::tile_space_y, 120),
};
const Field<Font> kFontFields[] = {
    num("Font bold", &Font::bold),
    txt("Font family", &Font::family),
    num("Font italic", &Font::italic),
    txt("Font name", &Font::name),
    num("Font size", &Font::size),
};
const Field<GameObject> kObjectFields[] = {
    txt("Object name", &GameObject::name),
    txt("Object template", &GameObject::template_name),
    num("Object is prototype", &GameObject::is_prototype),
    txt("Object is on this scene", &GameObject::scene_name),
    txt("Object sprite", &GameObject::sprite_name),
    num("Object X", &GameObject::x),
    num("Object Y", &GameObject::y),
    num("Object visible", &GameObject::visible),
    num("Object depth", &GameObject::depth),
    num("Object has collision", &GameObject::collision, 102, 1),
    txt("Object parent", &GameObject::parent_name, 105),
};
const Field<Script> kScriptFields[] = {
    code("Script code", &Script::code),
    txt("Script name", &Script::name),
    txt("Script parameter", &Script::parameter),
    txt("Script is connected to object", &Script::owner_object),
    txt("Script event type", &Script::event_type),
};
const Field<Scene> kSceneFields[] = {
    num("Background color Blue component", &Scene::back_blue),
    txt("Background image", &Scene::background_name),
    num("Background stretch tiled", &Scene::stretch),
    num("Background tiled horizonally", &Scene::tile_horizontal),
    num("Background tiled vertically", &Scene::tile_vertical),
    code("Scene code", &Scene::code),
    num("Background color Green component", &Scene::back_green),
    num("Scene height", &Scene::height),
    txt("Scene name", &Scene::name),
    num("Background color Red component", &Scene::back_red),
    num("Scene speed", &Scene::speed),
    num("Viewport height", &Scene::view_height),
    num("Viewport width", &Scene::view_width),
    num("Scene width", &Scene::width),
    txt("Viewport object", &Scene::follow_object),
    num("Viewport object horizontal border", &Scene::follow_border_x),
    num("Viewport object vertical border", &Scene::follow_border_y),
};
const Field<Layer> kLayerFields[] = {
    txt("Layer name", &Layer::name),
    txt("Layer on this scene", &Layer::scene_name),
    num("Layer value", &Layer::depth),
};
const Field<Tile> kTileFields[] = {
    txt("Background used as tile", &Tile::background_name),
    num("Tile depth", &Tile::depth),
    num("Tile height", &Tile::height),
    num("Tile left", &Tile::source_left),
    txt("Tile name", &Tile::name),
    txt("Tile on this scene", &Tile::scene_name),
    num("Tile top", &Tile::source_top),
    num("Tile width", &Tile::width),
    num("Tile X", &Tile::x),
    num("Tile Y", &Tile::y),
};

template <class R>
struct Section {
  RecordList<R>& list;
  const char* count_label;
  const char* heading;  // of each record in the load log
  int from;
  std::span<const Field<R>> fields;
};

// Calls visit with each section, in file order.
template <class Visit>
bool for_each_section(Visit&& visit) {
  return visit(Section<Sprite>{g_sprites, "Number of sprites", "SPRITE", 0, kSpriteFields}) &&
         visit(Section<Frame>{g_frames, "Number of frames", "FRAME", 0, kFrameFields}) &&
         visit(Section<Sound>{g_sounds, "Number of sounds", "SOUND", 0, kSoundFields}) &&
         visit(Section<Music>{g_musics, "Number of musics", "MUSIC", 0, kMusicFields}) &&
         visit(Section<Background>{g_backgrounds, "Number of backgrounds", "BACKGROUND", 0,
                                   kBackgroundFields}) &&
         visit(Section<Font>{g_fonts, "Number of fonts", "FONT", 0, kFontFields}) &&
         visit(Section<GameObject>{g_objects, "Number of objects", "OBJECT", 0, kObjectFields}) &&
         visit(Section<Script>{g_scripts, "Number of scripts", "SCRIPT", 0, kScriptFields}) &&
         visit(Section<Scene>{g_scenes, "Number of scenes", "SCENE", 0, kSceneFields}) &&
         visit(Section<Layer>{g_layers, "Number of layers", "LAYER", 120, kLayerFields}) &&
         visit(Section<Tile>{g_tiles, "Number of tiles", "TILE", 120, kTileFields});
}

// The fewest bytes one record of the section takes in a file of `version`.
template <class R>
size_t min_record_bytes(const Section<R>& s, int version) {
  size_t n = 0;
  for (const Field<R>& f : s.fields)
    if (version >= f.from) n += f.kind == Kind::Number ? 4 : 1;
  return n;
}

bool count_fits(int count, size_t bytes_left, size_t record_bytes) {
  return count >= 0 && size_t(count) <= bytes_left / record_bytes;
}

// ---- raw values ----

// 8 bytes of the file, in any order: only the set of byte values matters.
uint64_t load8(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

// The high bit of each of the 8 bytes that is below 14, which takes in every
// byte that ends a TEXT (LF, CR and NUL); the bytes are added to without a
// carry into their neighbours, so the mask is exact.
uint64_t low_bytes(uint64_t v) {
  constexpr uint64_t kHigh = 0x8080808080808080ull;
  return ~(((v & ~kHigh) + 0x7272727272727272ull) | v) & kHigh;
}

bool ends_text(uint8_t c) { return c <= '\r' && (c == '\n' || c == '\r' || c == 0); }

// The first LF, CR or NUL in [p, end), or end.
template <class P>
P find_text_end(P p, P end) {
  for (; end - p >= 8; p += 8)
    for (uint64_t low = low_bytes(load8(p)); low != 0; low &= low - 1)
      if (P q = p + std::countr_zero(low) / 8; ends_text(*q)) return q;
  while (p != end && !ends_text(*p)) ++p;
  return p;
}

// Whether [p, p + n) holds a LF, CR or NUL: a word at a time, the last word
// overlapping the one before.
bool holds_text_end(const uint8_t* p, size_t n) {
  if (n < 8) return std::any_of(p, p + n, ends_text);
  constexpr uint64_t kOnes = 0x0101010101010101ull;
  auto has_end = [](uint64_t v) {
    auto has_zero = [](uint64_t x) { return ((x - kOnes) & ~x & (kOnes << 7)) != 0; };
    return has_zero(v) || has_zero(v ^ ('\n' * kOnes)) || has_zero(v ^ ('\r' * kOnes));
  };
  for (size_t i = 0; i + 8 < n; i += 8)
    if (has_end(load8(p + i))) return true;
  return has_end(load8(p + n - 8));
}

bool is_ascii(const uint8_t* p, const uint8_t* end) {
  uint64_t high = 0;
  for (; end - p >= 8; p += 8) high |= load8(p);
  for (; p != end; ++p) high |= *p;
  return (high & 0x8080808080808080ull) == 0;
}

// Where the TEXT at file.pos ends (exclusive) and where the next value starts.
std::pair<size_t, size_t> text_extent(const ProjectFile& file) {
  const uint8_t* end = file.data + file.size;
  const uint8_t* q = find_text_end(file.data + file.pos, end);
  size_t stop = size_t(q - file.data);
  size_t next = stop;
  if (q != end) {
    next = stop + 1;
    if (*q == '\r' && q + 1 != end && q[1] == '\n') ++next;
  }
  return {stop, next};
}

void skip_text(ProjectFile& file) { file.pos = text_extent(file).second; }

// The first CR or LF in [p, end), or end.
const uint8_t* find_line_break(const uint8_t* p, const uint8_t* end) {
  while ((p = find_text_end(p, end)) != end && *p == 0) ++p;
  return p;
}

// Hands `put` the code piece by piece, each CR LF, lone LF and lone CR as
// the marker.
template <class Put>
void escape_code(const std::string& code, Put&& put) {
  const auto* from = reinterpret_cast<const uint8_t*>(code.data());
  const uint8_t* end = from + code.size();
  for (;;) {
    const uint8_t* q = find_line_break(from, end);
    put(from, size_t(q - from));
    if (q == end) return;
    put(reinterpret_cast<const uint8_t*>(kMarker), kMarkerSize);
    from = q + 1;
    if (*q == '\r' && from != end && *from == '\n') ++from;
  }
}

// ---- writing ----

// The bytes of a project file as they are made: written through a pointer
// into room made ahead, so that each value costs a copy and no more. With a
// `drain`, the bytes made go to it in pieces of about kPiece, between values,
// and the room is used again.
class Writer {
 public:
  using Drain = std::function<bool(const uint8_t* data, size_t size)>;
  static constexpr size_t kPiece = size_t(1) << 20;

  // `room`, when given, is memory to write the pieces into, kept by the
  // caller from one file to the next: fresh memory costs a page fault for
  // each page it touches.
  explicit Writer(size_t estimate, Drain drain = {}, std::vector<uint8_t> room = {})
      : bytes_(std::move(room)), drain_(std::move(drain)) {
    bytes_.resize(std::max(bytes_.size(), drain_ ? kPiece + 4096 : estimate));
  }

  void number(int value) {
    next_value();
    uint32_t v = uint32_t(value);
    uint8_t* p = room(4);
    p[0] = uint8_t(v), p[1] = uint8_t(v >> 8), p[2] = uint8_t(v >> 16), p[3] = uint8_t(v >> 24);
    used_ += 4;
  }

  void text(const std::string& text) {
    next_value();
    const size_t n = text.size();
    const auto* from = reinterpret_cast<const uint8_t*>(text.data());
    uint8_t* p = room(n + 1);
    if (n) std::memcpy(p, from, n);
    if (!holds_text_end(from, n)) {
      p[n] = '\n';
      used_ += n + 1;
      return;
    }
    const size_t at = used_;
    used_ += n;
    end_text(at);
  }

  void code(const std::string& code) {
    next_value();
    size_t at = used_;
    escape_code(code, [this](const uint8_t* p, size_t n) { append(p, n); });
    end_text(at);
  }

  std::vector<uint8_t> take() {
    bytes_.resize(used_);
    return std::move(bytes_);
  }

  // Hands the last bytes to the drain; false when it refused any piece.
  bool finish() {
    drained_ = drained_ && drain_(bytes_.data(), used_);
    used_ = 0;
    return drained_;
  }

  // The memory written into, for the next file.
  std::vector<uint8_t> take_room() && { return std::move(bytes_); }

 private:
  void next_value() {
    if (!drain_ || used_ < kPiece) return;
    drained_ = drained_ && drain_(bytes_.data(), used_);
    used_ = 0;
  }
  uint8_t* room(size_t n) {
    if (bytes_.size() - used_ < n) bytes_.resize(std::max(bytes_.size() * 2, used_ + n));
    return bytes_.data() + used_;
  }
  void append(const uint8_t* p, size_t n) {
    if (n) std::memcpy(room(n), p, n);
    used_ += n;
  }
  // A TEXT may not hold what ends one; a blank stands in for it, the same in
  // every record, so that references by name still match.
  void end_text(size_t at) {
    uint8_t* end = bytes_.data() + used_;
    for (uint8_t* q = bytes_.data() + at; (q = find_text_end(q, end)) != end; ++q)
      *q = ' ';
    *room(1) = '\n';
    ++used_;
  }

  std::vector<uint8_t> bytes_;
  size_t used_ = 0;
  Drain drain_;
  bool drained_ = true;
};

template <class R>
void put_field(Writer& out, const Field<R>& f, const R& r) {
  switch (f.kind) {
    case Kind::Number: out.number(r.*f.number); break;
    case Kind::Text: out.text(r.*f.text); break;
    case Kind::Code: out.code(r.*f.text); break;
  }
}

// ---- the service window ----

std::string service_window(const std::string& label, const std::string& value, bool number) {
  constexpr int W = 800, H = 600;
  int window = tk::open_window(tk::kAny, 0, 0, W, H, "Service mode", tk::kWindowCentred);
  tk::disable_window(15, true);
  tk::keep_window_above(window, true);
  int heading = tk::label(tk::kAny, 10, 15, W - 20, 25, label);
  tk::set_font(heading, 122);
  tk::label(tk::kAny, 10, 45, W / 2 - 10, 25, "Loaded value");
  tk::label(tk::kAny, W / 2, 45, W / 2 - 10, 25, "Modified value");
  int modified;
  if (number) {
    tk::input(tk::kAny, 10, 75, W / 2 - 20, 25, value);
    modified = tk::input(tk::kAny, W / 2, 75, W / 2 - 20, 25, value);
  } else {
    tk::set_text(tk::text_area(tk::kAny, 10, 75, W / 2 - 20, 430), value);
    modified = tk::text_area(tk::kAny, W / 2, 75, W / 2 - 10, 430);
    tk::set_text(modified, value);
  }
  int next = tk::button(tk::kAny, W - 75, H - 75, 65, 65, "NEXT");
  for (;;) {
    tk::Event e = tk::wait_event();
    if (e.type == tk::kEventWidget && e.object == next && e.subtype == tk::kLeftClick) break;
  }
  std::string result = tk::text(modified);
  tk::disable_window(15, false);
  tk::close_window(window);
  return result;
}

int service_number(const std::string& label, int value) {
  if (g_service_mode != 1) return value;
  return parse_typed_integer(service_window(label, std::to_string(value), true));
}

std::string service_text(const std::string& label, std::string value) {
  if (g_service_mode != 1) return value;
  return service_window(label, value, false);
}

// ---- reading ----

// `plain`: no service window and no debug log take part, so the values are
// read as they stand.
template <class R>
void read_field(ProjectFile& file, const Field<R>& f, R& r, bool plain) {
  switch (f.kind) {
    case Kind::Number:
      r.*f.number = plain ? read_file_number(file) : read_project_number_value(file, f.label);
      break;
    case Kind::Text:
      r.*f.text = plain ? read_file_text(file) : read_project_string_value(file, f.label);
      break;
    case Kind::Code:
      r.*f.text = plain ? unescape_code_newlines(read_file_text(file))
                        : read_project_code_value(file, f.label);
      break;
  }
}

// What a record gets besides its stored values.
void finish_record(Frame& f) { f.image = -1; }
void finish_record(Background& b) { b.thumbnail_image = -1; }
void finish_record(GameObject& o) { o.sprite_image = -1; }
void finish_record(Scene& s) { s.thumbnail_image = 91; }
void finish_record(Tile& t) { t.image = -1; }
void finish_record(Sprite& s) { s.thumbnail_image = -1; }
template <class R>
void finish_record(R&) {}

template <class R>
void read_record(ProjectFile& file, int version, const Section<R>& s, R& r, bool plain) {
  for (const Field<R>& f : s.fields) {
    if (version < f.from) {
      if (f.number) r.*f.number = f.missing;
      continue;
    }
    read_field(file, f, r, plain);
  }
  finish_record(r);
}

template <class R>
bool names_files(const Section<R>& s) {
  return std::ranges::any_of(s.fields, [](const Field<R>& f) { return f.file; });
}

template <class R>
void name_files(const Section<R>& s, const R& r, const ProjectReadHooks& hooks) {
  if (!hooks.file_named) return;
  for (const Field<R>& f : s.fields)
    if (f.file && !(r.*f.text).empty()) hooks.file_named(r.*f.text);
}

template <class R>
void read_section(ProjectFile& file, int version, const Section<R>& s,
                  const ProjectReadHooks& hooks) {
  int count = read_project_number_value(file, s.count_label);
  debug_log_line(kLogSeparator);
  size_t record_bytes = min_record_bytes(s, version);
  if (!count_fits(count, file.left(), record_bytes))
    count = count < 0 ? 0 : int(file.left() / record_bytes);
  const bool plain = g_service_mode != 1 && g_debug_log != 1;
  // A service-mode change cannot make the records more than the bytes hold.
  s.list.reserve(s.list.count() + count);
  for (int i = 0; i < count; ++i) {
    if (g_debug_log == 1) debug_log_line(std::string(s.heading) + " " + std::to_string(i) + " ->");
    R& r = s.list[s.list.grow()];
    read_record(file, version, s, r, plain);
    name_files(s, r, hooks);
    if (g_debug_log == 1) debug_log_line(kLogSeparator);
  }
  debug_log_line("");
  debug_log_line(kLogSeparator);
}

// The sections' records, made on this thread and filled in by jobs of
// kChunk records each from the starts in the index.
void read_indexed_sections(const ProjectFile& file, int version, const ProjectFileIndex& index,
                           const ProjectReadHooks& hooks) {
  std::vector<std::function<void()>> jobs;
  std::vector<std::function<void()>> name_all;
  size_t k = 0;
  for_each_section([&](const auto& s) {
    if (version < s.from) return true;
    const ProjectFileIndex::Section& part = index.sections[k++];
    const int first = s.list.count();
    s.list.reserve(first + part.count);
    for (int i = 0; i < part.count; ++i) s.list.grow();
    for (size_t c = 0; c < part.chunk_starts.size(); ++c)
      jobs.push_back([&file, version, s, first, c, &part] {
        ProjectFile at(file.data, file.size);
        at.pos = std::min(part.chunk_starts[c], file.size);
        const int from = int(c) * ProjectFileIndex::kChunk;
        const int to = std::min(part.count, from + ProjectFileIndex::kChunk);
        for (int i = from; i < to; ++i) read_record(at, version, s, s.list[first + i], true);
      });
    if (hooks.file_named && names_files(s))
      name_all.push_back([s, first, &hooks] {
        for (int i = first; i < s.list.count(); ++i) name_files(s, s.list[i], hooks);
      });
    return true;
  });
  // Each job fills records of its own; no list changes size meanwhile.
  run_jobs(jobs.size(), [&](size_t j) { jobs[j](); });
  for (const auto& name : name_all) name();
}

template <class R>
bool check_section(ProjectFile& file, int version, const Section<R>& s,
                   ProjectFileIndex::Section* part) {
  int count = read_file_number(file);
  if (!count_fits(count, file.left(), min_record_bytes(s, version))) return false;
  if (part) part->count = count;
  for (int i = 0; i < count; ++i) {
    if (part && i % ProjectFileIndex::kChunk == 0) part->chunk_starts.push_back(file.pos);
    for (const Field<R>& f : s.fields) {
      if (version < f.from) continue;
      if (f.kind == Kind::Number)
        read_file_number(file);
      else
        skip_text(file);
    }
  }
  return true;
}

}  // namespace

std::string escape_code_newlines(const std::string& code) {
  std::string out;
  out.reserve(code.size() + code.size() / 8);
  escape_code(code, [&](const uint8_t* p, size_t n) { out.append(reinterpret_cast<const char*>(p), n); });
  return out;
}

std::string unescape_code_newlines(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  size_t from = 0;
  for (size_t at; (at = text.find(kMarker, from)) != std::string::npos; from = at + kMarkerSize) {
    out.append(text, from, at - from);
    out += "\r\n";
  }
  out.append(text, from);
  return out;
}

int read_file_number(ProjectFile& file) {
  if (file.left() < 4) {
    file.pos = file.size;
    return 0;
  }
  const uint8_t* p = file.data + file.pos;
  file.pos += 4;
  return int(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

std::string read_file_text(ProjectFile& file) {
  auto [stop, next] = text_extent(file);
  const char* start = reinterpret_cast<const char*>(file.data + file.pos);
  size_t size = stop - file.pos;
  file.pos = next;
  const auto* bytes = reinterpret_cast<const uint8_t*>(start);
  if (is_ascii(bytes, bytes + size) || g_utf8_validate(start, gssize(size), nullptr))
    return std::string(start, size);
  gchar* valid = g_utf8_make_valid(start, gssize(size));
  std::string text(valid);
  g_free(valid);
  return text;
}

int read_project_number_value(ProjectFile& file, const std::string& label) {
  int value = service_number(label, read_file_number(file));
  debug_log_line(label + ": " + std::to_string(value));
  return value;
}

std::string read_project_string_value(ProjectFile& file, const std::string& label) {
  std::string value = service_text(label, read_file_text(file));
  debug_log_line(label + ": " + value);
  return value;
}

std::string read_project_code_value(ProjectFile& file, const std::string& label) {
  std::string value = service_text(label, unescape_code_newlines(read_file_text(file)));
  debug_log_line("<<<<<<<<<<< CODE START >>>>>>>>>>>");
  debug_log_line(label + ": " + value);
  debug_log_line("<<<<<<<<<<< CODE END >>>>>>>>>>>");
  return value;
}

void debug_log_line(const std::string& text) {
  if (g_debug_log != 1) return;
  tk::set_text(13, tk::text(13) + "\r\n" + text);
}

namespace {

// Room at once for records of usual sizes, so that the bytes move seldom.
size_t estimated_file_bytes() {
  size_t estimate = 4096;
  for_each_section([&](const auto& s) {
    size_t record = 0;
    for (const auto& f : s.fields) record += f.kind == Kind::Number ? 4 : 16;
    estimate += size_t(s.list.count()) * record;
    return true;
  });
  for (const Script& s : g_scripts) estimate += s.code.size() + s.code.size() / 8;
  return estimate;
}

void write_values(Writer& out) {
  const GameSettings& g = g_game_settings[0];
  out.number(g_file_version);
  out.number(g_project_uid);
  out.code(g.global_functions);
  out.code(g.global_variables);
  out.text(g.title);
  out.number(g.advanced_mode);
  out.code(g.comments);
  for_each_section([&](const auto& s) {
    out.number(s.list.count());
    for (const auto& r : s.list)
      for (const auto& f : s.fields) put_field(out, f, r);
    return true;
  });
}

}  // namespace

std::vector<uint8_t> project_file_bytes() {
  Writer out(estimated_file_bytes());
  write_values(out);
  return out.take();
}

bool write_project_file(const std::string& path, bool flush) {
  static thread_local std::vector<uint8_t> room;
  return tk::replace_file_with(path, flush, [](int fd) {
    Writer out(0, [fd](const uint8_t* data, size_t size) { return tk::write_all(fd, data, size); },
               std::move(room));
    write_values(out);
    const bool written = out.finish();
    room = std::move(out).take_room();
    return written;
  });
}

bool project_file_intact(const uint8_t* data, size_t size, ProjectFileIndex* index) {
  ProjectFile file(data, size);
  int version = read_file_number(file);
  read_file_number(file);  // UID
  skip_text(file);         // global functions, global variables, title
  skip_text(file);
  skip_text(file);
  if (version >= 105) read_file_number(file);
  if (version >= 106) skip_text(file);
  ProjectFileIndex found;
  bool intact = for_each_section([&](const auto& s) {
    if (version < s.from) return true;
    ProjectFileIndex::Section* part = index ? &found.sections.emplace_back() : nullptr;
    return check_section(file, version, s, part);
  });
  if (intact && index) {
    found.end = file.pos;
    *index = std::move(found);
  }
  return intact;
}

int read_project_records(ProjectFile& file, const ProjectReadHooks& hooks,
                         const ProjectFileIndex* index) {
  GameSettings& g = g_game_settings[0];
  int version = read_project_number_value(file, "File version");
  g_project_uid = read_project_number_value(file, "UID");
  debug_log_line(kLogSeparator);
  g.global_functions = read_project_code_value(file, "Global functions");
  debug_log_line(kLogSeparator);
  g.global_variables = read_project_code_value(file, "Global variables");
  debug_log_line(kLogSeparator);
  g.title = read_project_string_value(file, "Game title");
  g.advanced_mode = version >= 105 ? read_project_number_value(file, "Advanced script mode") : 0;
  g.comments = version >= 106 ? read_project_code_value(file, "Game comments") : "";
  debug_log_line(kLogSeparator);
  debug_log_line("");
  debug_log_line(kLogSeparator);
  size_t sections = 0;
  for_each_section([&](const auto& s) {
    sections += version >= s.from;
    return true;
  });
  if (index && index->sections.size() == sections && g_service_mode != 1 && g_debug_log != 1) {
    read_indexed_sections(file, version, *index, hooks);
    file.pos = std::min(index->end, file.size);
    return version;
  }
  for_each_section([&](const auto& s) {
    if (version >= s.from) read_section(file, version, s, hooks);
    return true;
  });
  return version;
}

long long parse_typed_number(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') base = 16, ++i;
  else if (i < text.size() && text[i] == '%') base = 2, ++i;
  constexpr unsigned long long kLimit = LLONG_MAX;
  unsigned long long value = 0;
  for (; i < text.size(); ++i) {
    const int digit = g_ascii_xdigit_value(text[i]);
    if (digit < 0 || digit >= base) break;
    value = value > (kLimit - unsigned(digit)) / unsigned(base) ? kLimit : value * unsigned(base) + unsigned(digit);
  }
  return negative ? -(long long)value : (long long)value;
}

int parse_typed_integer(const std::string& text) {
  return int(std::clamp<long long>(parse_typed_number(text), INT_MIN, INT_MAX));
}
