#pragma once
// The synthetic large project shared by the benchmarks and load tests, built
// in code into the program-wide lists (which it empties first):
// - 1,000 sprites, each with 4 frames of 64 x 64 pixels;
// - 200 sounds and 100 musics with three file names each; 50 fonts;
// - 100 backgrounds used as tile sets, each with a 512 x 512 picture;
// - 500 object definitions, each with 2 scripts for each of the 9 events
//   (9,000 scripts of 10 lines);
// - 50 scenes, each with 4 layers, 200 placed instances (10,000 in all) and
//   2,000 tiles over the 4 layer depths and 5 backgrounds (100,000 in all).
#include <string>
#include <vector>

struct LargeProjectOptions {
  bool frame_images = true;  // the 4,000 frame pictures
  bool tile_images = true;   // each tile's own 32 x 32 copy (about 400 MB)
};

struct LargeProject {
  // A background keeps its picture as a file in the working folder
  // (image_file); these are those pictures, in background order, for a
  // benchmark to write or draw from. The caller may free them.
  std::vector<int> background_images;
};

LargeProject build_large_project(const LargeProjectOptions& options = {});

// The 512 x 512 picture of background i (a pattern of 32 x 32 cells).
int make_large_background_image(int i);

// Makes scene 0 of the large project (built with frame pictures) a 4000 x
// 3000 scene of 10,000 instances and 10,000 tiles of 32 x 32 over its 4
// layers, each tile with its picture cut from its background; its
// background is tiled over the whole scene.
void build_large_scene(const LargeProject& project);
