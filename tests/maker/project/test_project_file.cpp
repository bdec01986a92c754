#include "maker/project/project_file.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <climits>
#include <tuple>

#include "records_fixture.h"

namespace {

using ::testing::ElementsAreArray;
using Bytes = std::vector<uint8_t>;

// Builds a project file value by value.
struct FileBuilder {
  Bytes bytes;
  FileBuilder& num(int v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(uint32_t(v) >> (8 * i)));
    return *this;
  }
  FileBuilder& text(const std::string& t) {
    bytes.insert(bytes.end(), t.begin(), t.end());
    bytes.push_back('\n');
    return *this;
  }
};

int read_into_lists(const Bytes& bytes) {
  clear_resource_lists();
  ProjectFile file(bytes);
  return read_project_records(file);
}

// The stored fields of each record, for comparing records read back.
auto stored(const Sprite& s) {
  return std::tie(s.name, s.origin_x, s.origin_y, s.collision_shape, s.collision_radius,
                  s.collision_left, s.collision_right, s.collision_top, s.collision_bottom);
}
auto stored(const Frame& f) { return std::tie(f.file_counter, f.sprite_name); }
auto stored(const Sound& s) { return std::tie(s.wav_file, s.name, s.mp3_file, s.ogg_file); }
auto stored(const Music& s) { return std::tie(s.wav_file, s.name, s.mp3_file, s.ogg_file); }
auto stored(const Background& b) {
  return std::tie(b.image_file, b.name, b.use_as_tileset, b.tile_height, b.tile_width,
                  b.tile_offset_x, b.tile_space_x, b.tile_offset_y, b.tile_space_y);
}
auto stored(const Font& f) { return std::tie(f.bold, f.family, f.italic, f.name, f.size); }
auto stored(const GameObject& o) {
  return std::tie(o.name, o.template_name, o.is_prototype, o.scene_name, o.sprite_name, o.x, o.y,
                  o.visible, o.depth, o.collision, o.parent_name);
}
auto stored(const Script& s) {
  return std::tie(s.code, s.name, s.parameter, s.owner_object, s.event_type);
}
auto stored(const Scene& s) {
  return std::tie(s.back_blue, s.background_name, s.stretch, s.tile_horizontal, s.tile_vertical,
                  s.code, s.back_green, s.height, s.name, s.back_red, s.speed, s.view_height,
                  s.view_width, s.width, s.follow_object, s.follow_border_x, s.follow_border_y);
}
auto stored(const Layer& l) { return std::tie(l.name, l.scene_name, l.depth); }
auto stored(const Tile& t) {
  return std::tie(t.background_name, t.depth, t.height, t.source_left, t.name, t.scene_name,
                  t.source_top, t.width, t.x, t.y);
}

template <class R>
std::vector<R> copy_of(const RecordList<R>& list) {
  return std::vector<R>(list.begin(), list.end());
}

template <class R>
void expect_same_records(const std::vector<R>& before, const RecordList<R>& after,
                         const char* what) {
  ASSERT_EQ(int(before.size()), after.count()) << what;
  for (size_t i = 0; i < before.size(); ++i)
    EXPECT_TRUE(stored(before[i]) == stored(after[int(i)])) << what << " " << i;
  EXPECT_TRUE(stored(after[after.count()]) == stored(R{})) << what << ": spare record";
}

// Every list keeps its spare record: a fresh one at index count.
void expect_valid_lists() {
  expect_same_records(copy_of(g_sprites), g_sprites, "sprites");
  expect_same_records(copy_of(g_frames), g_frames, "frames");
  expect_same_records(copy_of(g_sounds), g_sounds, "sounds");
  expect_same_records(copy_of(g_musics), g_musics, "musics");
  expect_same_records(copy_of(g_backgrounds), g_backgrounds, "backgrounds");
  expect_same_records(copy_of(g_fonts), g_fonts, "fonts");
  expect_same_records(copy_of(g_objects), g_objects, "objects");
  expect_same_records(copy_of(g_scripts), g_scripts, "scripts");
  expect_same_records(copy_of(g_scenes), g_scenes, "scenes");
  expect_same_records(copy_of(g_layers), g_layers, "layers");
  expect_same_records(copy_of(g_tiles), g_tiles, "tiles");
}

// A project with every kind of record and no two equal values in a record.
void fill_project() {
  g_project_uid = 4321;
  GameSettings& g = g_game_settings[0];
  g.global_functions = "function f() {\r\n  return 1;\r\n}";
  g.global_variables = "var a = 1;\r\nvar b = 2;\r\n";
  g.title = "Quest for the Crown \xc3\xa9";
  g.advanced_mode = 1;
  g.comments = "first line\r\nsecond line";

  g_sprites.append({"hero", 7, "Circle", 11, -2, 30, -4, 40, 5, 6});
  g_sprites.append({"enemy", 8, "Box", 1, 2, 3, 4, 5, 6, 7});
  g_frames.append({"1", "hero", 100});
  g_frames.append({"1", "enemy", 101});
  g_frames.append({"2", "hero", 102});
  g_sounds.append({"jump", "jump.wav", "jump.mp3", "jump.ogg"});
  g_sounds.append({"silent", "", "", ""});
  g_musics.append({"theme", "theme.wav", "", "theme.ogg"});
  g_backgrounds.append({"sky", "sky.png", 9, 1, 16, 24, 3, 4, 5, 6});
  g_fonts.append({"big", "Courier New", 36, 1, 0});
  g_fonts.append({"small", "Arial", 8, 0, 1});
  GameObject def{1, "", "player", "hero", "", 0, 0, 1, 55, 64, 64, 1, 5, 0, "base"};
  GameObject inst{0, "player", "SceneObject9", "hero", "level1", 120, -35, 0, -1, 0, 0, 0, 7, 1,
                  ""};
  g_objects.append(def);
  g_objects.append(inst);
  g_scripts.append({"scr_1", "player", "Collision", "enemy", "x += 1;\r\ny -= 2;\r\n"});
  g_scripts.append({"scr_2", "player", "Step", "", ""});
  g_scenes.append({"level1", 91, 1280, 960, 640, 480, 10, 20, 30, "start();\r\n", 60, "sky", 1, 0,
                   1, "player", 70, 80});
  g_layers.append({"layer_1", 1000000, "level1"});
  g_tiles.append({"tile_1", "sky", 32, 64, 16, 24, 100, 200, 1000000, "level1", 103, 1});
}

using ProjectFileFormat = EmptyProject;

TEST_F(ProjectFileFormat, EmptyProjectIsSixtyBytes) {
  g_project_uid = 1;
  Bytes expected = {0x7F, 0, 0, 0, 1, 0, 0, 0, 0x0A, 0x0A, 0x0A, 0, 0, 0, 0, 0x0A};
  expected.resize(60, 0);
  EXPECT_THAT(project_file_bytes(), ElementsAreArray(expected));
}

TEST_F(ProjectFileFormat, CodeLineBreaksBecomeOneLine) {
  struct Case { std::string code, stored; };
  const Case cases[] = {
      {"a\r\nb\r\nc", "a*<NL>*b*<NL>*c"},
      {"", ""},
      {"a\nb", "a*<NL>*b"},                // the code widget's own line breaks
      {"a\rb", "a*<NL>*b"},
      {"a\r\r\nb\n\n", "a*<NL>**<NL>*b*<NL>**<NL>*"},
  };
  for (const Case& c : cases) EXPECT_EQ(escape_code_newlines(c.code), c.stored) << c.code;

  g_scripts.append({"s", "o", "Step", "", "a\r\nb\r\nc"});
  Bytes bytes = project_file_bytes();
  const Bytes code_bytes = {0x61, 0x2A, 0x3C, 0x4E, 0x4C, 0x3E, 0x2A, 0x62,
                            0x2A, 0x3C, 0x4E, 0x4C, 0x3E, 0x2A, 0x63, 0x0A};
  EXPECT_NE(std::search(bytes.begin(), bytes.end(), code_bytes.begin(), code_bytes.end()),
            bytes.end());
}

TEST_F(ProjectFileFormat, CodeReadsBackWithCrLf) {
  struct Case { std::string stored, code; };
  const Case cases[] = {
      {"a*<NL>*b", "a\r\nb"},
      {"*<NL>**<NL>*", "\r\n\r\n"},
      {"*<NL*<NL>*>*", "*<NL\r\n>*"},  // no overlaps
      {"*<nl>*", "*<nl>*"},            // case counts
  };
  for (const Case& c : cases) EXPECT_EQ(unescape_code_newlines(c.stored), c.code) << c.stored;

  // A marker typed into the code itself comes back as a line break.
  g_scripts.append({"s", "o", "Step", "", "x\nwrite('*<NL>*');\ry"});
  Bytes bytes = project_file_bytes();
  read_into_lists(bytes);
  EXPECT_EQ(g_scripts[0].code, "x\r\nwrite('\r\n');\r\ny");
}

TEST_F(ProjectFileFormat, TextsEndAtLineBreaksAndNul) {
  struct Case { std::string bytes; std::vector<std::string> texts; };
  const Case cases[] = {
      {"ab\ncd\n", {"ab", "cd"}},
      {"ab\r\ncd\r", {"ab", "cd", ""}},
      {"ab\rcd\n", {"ab", "cd"}},
      {"ab\r\rcd", {"ab", "", "cd"}},
      {std::string("ab\0cd", 5), {"ab", "cd"}},
      {"ab", {"ab", ""}},
      {"\xff" "a\xc3", {"\xef\xbf\xbd" "a\xef\xbf\xbd"}},  // not UTF-8
  };
  for (const Case& c : cases) {
    Bytes bytes(c.bytes.begin(), c.bytes.end());
    ProjectFile file(bytes);
    for (const std::string& t : c.texts) EXPECT_EQ(read_file_text(file), t) << c.bytes;
  }
  Bytes three = {1, 2, 3};
  ProjectFile file(three);
  EXPECT_EQ(read_file_number(file), 0);
  EXPECT_EQ(file.left(), 0u);
}

TEST_F(ProjectFileFormat, BackgroundStoresHeightBeforeWidthAndXBeforeY) {
  g_backgrounds.append({"b", "", -1, 1, 10, 20, 30, 40, 50, 60});
  Bytes bytes = project_file_bytes();
  FileBuilder expected;
  expected.num(1).text("").text("b").num(1).num(20).num(10).num(30).num(50).num(40).num(60);
  EXPECT_NE(std::search(bytes.begin(), bytes.end(), expected.bytes.begin(), expected.bytes.end()),
            bytes.end());
}

// Read as opening reads it (checked, then on every core with the index the
// check made) and as an unchecked file is read: the same records either way.
TEST_F(ProjectFileFormat, FullProjectReadsBackEqual) {
  fill_project();
  // Tiles over more than two jobs' share, so that records meet at the joins.
  for (int i = 0; i < 2 * ProjectFileIndex::kChunk + 1; ++i) {
    Tile t = g_tiles[0];
    t.name = "tile_" + std::to_string(i + 2);
    t.x = i;
    g_tiles.append(t);
  }
  const GameSettings settings = g_game_settings[0];
  auto sprites = copy_of(g_sprites);
  auto frames = copy_of(g_frames);
  auto sounds = copy_of(g_sounds);
  auto musics = copy_of(g_musics);
  auto backgrounds = copy_of(g_backgrounds);
  auto fonts = copy_of(g_fonts);
  auto objects = copy_of(g_objects);
  auto scripts = copy_of(g_scripts);
  auto scenes = copy_of(g_scenes);
  auto layers = copy_of(g_layers);
  auto tiles = copy_of(g_tiles);

  Bytes bytes = project_file_bytes();
  ProjectFileIndex index;
  ASSERT_TRUE(project_file_intact(bytes.data(), bytes.size(), &index));
  for (bool indexed : {false, true}) {
    SCOPED_TRACE(indexed ? "indexed" : "one by one");
    g_project_uid = 1;
    std::vector<std::string> named;
    clear_resource_lists();
    ProjectFile file(bytes);
    ProjectReadHooks hooks;
    hooks.file_named = [&](const std::string& f) { named.push_back(f); };
    EXPECT_EQ(read_project_records(file, hooks, indexed ? &index : nullptr), 127);
    EXPECT_EQ(file.left(), 0u);

    EXPECT_EQ(g_project_uid, 4321);
    const GameSettings& g = g_game_settings[0];
    EXPECT_EQ(std::tie(g.title, g.global_variables, g.global_functions, g.advanced_mode, g.comments),
              std::tie(settings.title, settings.global_variables, settings.global_functions,
                       settings.advanced_mode, settings.comments));
    expect_same_records(sprites, g_sprites, "sprites");
    expect_same_records(frames, g_frames, "frames");
    expect_same_records(sounds, g_sounds, "sounds");
    expect_same_records(musics, g_musics, "musics");
    expect_same_records(backgrounds, g_backgrounds, "backgrounds");
    expect_same_records(fonts, g_fonts, "fonts");
    expect_same_records(objects, g_objects, "objects");
    expect_same_records(scripts, g_scripts, "scripts");
    expect_same_records(scenes, g_scenes, "scenes");
    expect_same_records(layers, g_layers, "layers");
    expect_same_records(tiles, g_tiles, "tiles");

    // What the file does not hold.
    EXPECT_EQ(g_frames[0].image, -1);
    EXPECT_EQ(g_backgrounds[0].thumbnail_image, -1);
    EXPECT_EQ(std::tie(g_objects[0].sprite_image, g_objects[0].selected, g_objects[0].image_width),
              std::make_tuple(-1, 0, 0));
    EXPECT_EQ(g_scenes[0].thumbnail_image, 91);
    EXPECT_EQ(std::tie(g_tiles[0].image, g_tiles[0].selected), std::make_tuple(-1, 0));
    EXPECT_EQ(g_tiles[g_tiles.count() - 1].image, -1);

    EXPECT_EQ(named, (std::vector<std::string>{"jump.wav", "jump.mp3", "jump.ogg", "theme.wav",
                                               "theme.ogg", "sky.png"}));
  }
}

TEST_F(ProjectFileFormat, TextsThatWouldBreakTheFileAreKeptOnOneLine) {
  g_sprites.append({"two\nlines", -1, "Box\r"});
  g_frames.append({"1", "two\nlines", -1});
  Bytes bytes = project_file_bytes();
  read_into_lists(bytes);
  ASSERT_EQ(g_sprites.count(), 1);
  EXPECT_EQ(g_sprites[0].name, "two lines");
  EXPECT_EQ(g_sprites[0].collision_shape, "Box ");
  ASSERT_EQ(g_frames.count(), 1);
  EXPECT_EQ(g_frames[0].sprite_name, g_sprites[0].name);

  // Texts are checked and read several bytes at a time: a break at any place
  // of a long name, and other control bytes, which stay.
  struct Case { std::string name, read; };
  const Case cases[] = {
      {"\nbcdefgh", " bcdefgh"},
      {"abcdefg\r", "abcdefg "},
      {"abcdefgh\n", "abcdefgh "},
      {"abcdefghi\rk", "abcdefghi k"},
      {std::string("abcdefghijklmn\0p", 16), "abcdefghijklmn p"},
      {"abcdefghijklmnopq\r\n", "abcdefghijklmnopq  "},
      {"tab\there\x0b\x0c\x01\x0e", "tab\there\x0b\x0c\x01\x0e"},
      {"abcdefgh\x7f\xc3\x8dij\n\xc3\x8a", "abcdefgh\x7f\xc3\x8dij \xc3\x8a"},  // 0x8D, 0x8A
  };
  for (const Case& c : cases) {
    clear_resource_lists();
    g_sprites.append({c.name, -1, "Box"});
    g_sprites.append({"next", -1, "Box"});
    Bytes written = project_file_bytes();
    read_into_lists(written);
    ASSERT_EQ(g_sprites.count(), 2) << c.read;
    EXPECT_EQ(g_sprites[0].name, c.read);
    EXPECT_EQ(g_sprites[1].name, "next");
  }
}

// One record of each kind as an old version wrote it.
Bytes old_file(int version) {
  FileBuilder b;
  b.num(version).num(77).text("gf").text("gv").text("Old game");
  if (version >= 105) b.num(1);
  if (version >= 106) b.text("c1*<NL>*c2");
  b.num(1).text("spr").num(1).num(2).text("Box").num(3).num(4).num(5).num(6).num(7);
  b.num(1).text("0").text("spr");
  b.num(1).text("s.wav").text("snd");
  if (version >= 122) b.text("s.mp3").text("s.ogg");
  b.num(1).text("m.wav").text("mus");
  if (version >= 122) b.text("").text("m.ogg");
  b.num(1).text("bg.png").text("bg");
  if (version >= 120) b.num(1).num(16).num(8).num(2).num(3).num(4).num(5);
  b.num(1).num(1).text("Arial").num(0).text("fnt").num(12);
  b.num(1).text("obj").text("").num(1).text("").text("spr").num(0).num(0).num(1).num(9);
  if (version >= 102) b.num(0);
  if (version >= 105) b.text("par");
  b.num(1).text("code*<NL>*x").text("scr_1").text("").text("obj").text("Step");
  b.num(1).num(3).text("bg").num(0).num(1).num(0).text("").num(2).num(480).text("room").num(1)
      .num(30).num(480).num(640).num(640).text("").num(50).num(50);
  if (version >= 120) {
    b.num(1).text("lay").text("room").num(1000000);
    b.num(1).text("bg").num(1000000).num(16).num(32).text("t").text("room").num(48).num(8)
        .num(10).num(20);
  }
  return b.bytes;
}

TEST_F(ProjectFileFormat, OlderVersionsReadWithDefaults) {
  struct Case {
    int version;
    int advanced;
    std::string comments, mp3, ogg, parent;
    int collision, tileset, tile_height, tile_width, offset_x, layers, tiles;
  };
  // Each gate (102, 105, 106, 120, 122) at its version and one below.
  const Case cases[] = {
      {101, 0, "", "", "", "", 1, 0, 32, 32, 0, 0, 0},
      {102, 0, "", "", "", "", 0, 0, 32, 32, 0, 0, 0},
      {104, 0, "", "", "", "", 0, 0, 32, 32, 0, 0, 0},
      {105, 1, "", "", "", "par", 0, 0, 32, 32, 0, 0, 0},
      {106, 1, "c1\r\nc2", "", "", "par", 0, 0, 32, 32, 0, 0, 0},
      {119, 1, "c1\r\nc2", "", "", "par", 0, 0, 32, 32, 0, 0, 0},
      {120, 1, "c1\r\nc2", "", "", "par", 0, 1, 16, 8, 2, 1, 1},
      {121, 1, "c1\r\nc2", "", "", "par", 0, 1, 16, 8, 2, 1, 1},
      {122, 1, "c1\r\nc2", "s.mp3", "s.ogg", "par", 0, 1, 16, 8, 2, 1, 1},
      {127, 1, "c1\r\nc2", "s.mp3", "s.ogg", "par", 0, 1, 16, 8, 2, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    Bytes bytes = old_file(c.version);
    ASSERT_TRUE(project_file_intact(bytes.data(), bytes.size()));
    ProjectFile file(bytes);
    clear_resource_lists();
    EXPECT_EQ(read_project_records(file), c.version);
    EXPECT_EQ(file.left(), 0u);
    EXPECT_EQ(g_project_uid, 77);
    EXPECT_EQ(g_game_settings[0].title, "Old game");
    EXPECT_EQ(g_game_settings[0].advanced_mode, c.advanced);
    EXPECT_EQ(g_game_settings[0].comments, c.comments);
    ASSERT_EQ(g_sounds.count(), 1);
    EXPECT_EQ(std::tie(g_sounds[0].name, g_sounds[0].wav_file, g_sounds[0].mp3_file,
                       g_sounds[0].ogg_file),
              std::tie("snd", "s.wav", c.mp3, c.ogg));
    EXPECT_EQ(g_musics[0].ogg_file, c.ogg.empty() ? "" : "m.ogg");
    ASSERT_EQ(g_objects.count(), 1);
    EXPECT_EQ(g_objects[0].collision, c.collision);
    EXPECT_EQ(g_objects[0].parent_name, c.parent);
    EXPECT_EQ(g_objects[0].depth, 9);
    const Background& bg = g_backgrounds[0];
    EXPECT_EQ(std::tie(bg.use_as_tileset, bg.tile_height, bg.tile_width, bg.tile_offset_x),
              std::tie(c.tileset, c.tile_height, c.tile_width, c.offset_x));
    EXPECT_EQ(g_scripts[0].code, "code\r\nx");
    ASSERT_EQ(g_scenes.count(), 1);
    EXPECT_EQ(g_scenes[0].name, "room");
    EXPECT_EQ(g_scenes[0].back_blue, 3);
    EXPECT_EQ(g_layers.count(), c.layers);
    EXPECT_EQ(g_tiles.count(), c.tiles);
    if (c.tiles) {
      EXPECT_EQ(g_tiles[0].height, 16);
      EXPECT_EQ(g_tiles[0].width, 8);
    }
    expect_valid_lists();
  }
}

TEST_F(ProjectFileFormat, EmptyFileIsAnEmptyProject) {
  Bytes empty;
  EXPECT_TRUE(project_file_intact(empty.data(), 0));
  EXPECT_EQ(read_into_lists(empty), 0);
  EXPECT_EQ(g_project_uid, 0);
  EXPECT_EQ(g_sprites.count() + g_scenes.count() + g_tiles.count(), 0);
}

TEST_F(ProjectFileFormat, ImpossibleCountsAreDamage) {
  auto with_sprite_count = [](int count) {
    FileBuilder b;
    b.num(127).num(1).text("").text("").text("").num(0).text("");
    b.num(count).text("spr").num(0).num(0).text("Box").num(0).num(0).num(0).num(0).num(0);
    for (int i = 0; i < 10; ++i) b.num(0);
    return b.bytes;
  };
  struct Case { int count; bool intact; };
  const Case cases[] = {{1, true}, {3, false}, {-1, false}, {INT_MIN, false},
                        {INT_MAX, false}, {1 << 30, false}};
  for (const Case& c : cases) {
    Bytes bytes = with_sprite_count(c.count);
    EXPECT_EQ(project_file_intact(bytes.data(), bytes.size()), c.intact) << c.count;
    // Read unchecked, as after a count changed in the service window: the
    // lists stay valid and no larger than the bytes could hold.
    read_into_lists(bytes);
    EXPECT_LE(g_sprites.count(), int(bytes.size()));
    expect_valid_lists();
  }
}

TEST_F(ProjectFileFormat, TruncatedFilesNeverMakeInvalidLists) {
  fill_project();
  Bytes full = project_file_bytes();
  int refused = 0;
  for (size_t n = 0; n < full.size(); ++n) {
    Bytes cut(full.begin(), full.begin() + std::ptrdiff_t(n));
    ProjectFileIndex index;
    if (!project_file_intact(cut.data(), cut.size(), &index)) {
      ++refused;
      continue;
    }
    for (const ProjectFileIndex* with : {static_cast<ProjectFileIndex*>(nullptr), &index}) {
      ProjectFile file(cut);
      clear_resource_lists();
      read_project_records(file, {}, with);
      EXPECT_EQ(file.left(), 0u);
      expect_valid_lists();
    }
  }
  EXPECT_GT(refused, 0);
}

TEST(ParseTypedInteger, ReadsAsTyped) {
  struct Case { const char* text; int value; };
  const Case cases[] = {
      {"42", 42},      {"  \t-17x", -17}, {"+5", 5},       {"$ff", 255},   {"-$10", -16},
      {"%101", 5},     {"%102", 2},       {"", 0},         {"abc", 0},     {"- 5", 0},
      {"12 34", 12},   {"$fg", 15},       {"2147483647", 2147483647},      {"-2147483648", INT_MIN},
  };
  for (const Case& c : cases) EXPECT_EQ(parse_typed_integer(c.text), c.value) << c.text;
}

// A number beyond 32 bits (a font size of "99999999999") reads as the
// nearest value in range, never as what is left after wrapping.
TEST(ParseTypedInteger, BeyondTheRangeReadsTheNearestValue) {
  struct Case { const char* text; long long number; int value; };
  const Case cases[] = {
      {"99999999999", 99999999999LL, INT_MAX},
      {"-99999999999", -99999999999LL, INT_MIN},
      {"2147483648", 2147483648LL, INT_MAX},
      {"-2147483649", -2147483649LL, INT_MIN},
      {"$100000000", 4294967296LL, INT_MAX},
      {"4294967297", 4294967297LL, INT_MAX},  // wrapped, this read 1
      {"99999999999999999999999999", LLONG_MAX, INT_MAX},
      {"-99999999999999999999999999", -LLONG_MAX, INT_MIN},
      {"%11111111111111111111111111111111111", 34359738367LL, INT_MAX},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(parse_typed_number(c.text), c.number) << c.text;
    EXPECT_EQ(parse_typed_integer(c.text), c.value) << c.text;
  }
}

}  // namespace
