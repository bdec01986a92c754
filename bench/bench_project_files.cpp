// Saving and opening the large project, the share of PNG work in them, and
// the project file's own writing and reading against one write() / read()
// of as many bytes.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <malloc.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "bench/large_project.h"
#include "imaging/codec.h"
#include "maker/project/new_project.h"
#include "maker/project/project_file.h"
#include "maker/project/records.h"
#include "maker/project/save_project.h"
#include "maker/shell/open_project.h"
#include "toolkit/files.h"
#include "toolkit/system.h"

namespace {

namespace fs = std::filesystem;

// A working directory holding the large project saved as "large", with its
// background pictures and small sound and music files in the working folder.
struct Setup {
  fs::path dir;
  size_t file_bytes = 0;
  Setup() {
    char tmpl[] = "/tmp/quillop-bench-XXXXXX";
    dir = mkdtemp(tmpl);
    fs::current_path(dir);
    tk::set_instant_pause(true);
    LargeProjectOptions options;
    options.tile_images = false;  // not saved; opening cuts them anew
    LargeProject project = build_large_project(options);
    g_project_folder = "_temp_000000";
    fs::create_directories(g_project_folder);
    fs::create_directories("Projects");
    for (int i = 0; i < g_backgrounds.count(); ++i)
      imaging::save_image_png(project.background_images[size_t(i)],
                              g_project_folder + "/" + g_backgrounds[i].image_file);
    for (const Sound& s : g_sounds)
      for (const std::string* f : {&s.wav_file, &s.mp3_file, &s.ogg_file})
        std::ofstream(g_project_folder + "/" + *f) << std::string(1024, 's');
    for (const Music& m : g_musics)
      for (const std::string* f : {&m.wav_file, &m.mp3_file, &m.ogg_file})
        std::ofstream(g_project_folder + "/" + *f) << std::string(1024, 'm');
    g_project_name = "large";
    file_bytes = project_file_bytes().size();
  }
  ~Setup() {
    fs::current_path("/");
    std::error_code ignored;
    fs::remove_all(dir, ignored);
  }
};

Setup& setup() {
  static Setup s;
  return s;
}

void BM_SaveProject(benchmark::State& state) {
  setup();
  for (auto _ : state) save_project();
  state.counters["file_MB"] = double(setup().file_bytes) / 1e6;
}
BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_EncodeFramePngs(benchmark::State& state) {
  setup();
  for (auto _ : state)
    for (const Frame& f : g_frames) benchmark::DoNotOptimize(imaging::encode_png(*imaging::image_ptr(f.image)));
}
BENCHMARK(BM_EncodeFramePngs)->Unit(benchmark::kMillisecond)->Iterations(2);

// Resident memory of the process in bytes: now, and at its peak since the
// peak was last reset.
size_t status_bytes(const char* key) {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(key, 0) == 0) return size_t(std::atoll(line.c_str() + std::strlen(key))) * 1024;
  return 0;
}

size_t owned_pixel_bytes() {
  size_t bytes = 0;
  auto add = [&](int image) {
    if (const imaging::Image* p = imaging::image_ptr(image)) bytes += p->pixels.size();
  };
  for (const Frame& f : g_frames) add(f.image);
  for (const Tile& t : g_tiles) add(t.image);
  for (const Sprite& s : g_sprites) add(s.thumbnail_image);
  for (const Background& b : g_backgrounds) add(b.thumbnail_image);
  return bytes;
}

void BM_OpenProject(benchmark::State& state) {
  setup();
  save_project();
  // Peak memory of one opening into an empty project, beyond the pixels of
  // the pictures it makes, over the project file's size.
  clear_resource_lists();
  malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
  size_t before = status_bytes("VmRSS:");
  open_project_file("large");
  size_t peak = status_bytes("VmHWM:");
  double beyond = double(peak - before) - double(owned_pixel_bytes());
  state.counters["peak_over_file"] = beyond / double(setup().file_bytes);
  for (auto _ : state) open_project_file("large");
  state.counters["tiles"] = g_tiles.count();
}
BENCHMARK(BM_OpenProject)->Unit(benchmark::kMillisecond)->Iterations(2);

// What opening decodes: every frame picture and each background picture
// (twice: for its tiles and for its thumbnail).
void BM_DecodeOpenedPngs(benchmark::State& state) {
  setup();
  save_project();
  for (auto _ : state) {
    for (const Frame& f : g_frames)
      benchmark::DoNotOptimize(imaging::decode_image_file(
          "Projects/large/" + frame_file_name(f.sprite_name, f.file_counter)));
    for (int k = 0; k < 2; ++k)
      for (const Background& b : g_backgrounds)
        benchmark::DoNotOptimize(imaging::decode_image_file(g_project_folder + "/" + b.image_file));
  }
}
BENCHMARK(BM_DecodeOpenedPngs)->Unit(benchmark::kMillisecond)->Iterations(2);

// The project file alone: its bytes made and written as a save writes them.
void BM_ProjectFileWrite(benchmark::State& state) {
  setup();
  for (auto _ : state) write_project_file("Projects/large.qgp", state.range(0) == 1);
}
BENCHMARK(BM_ProjectFileWrite)->Arg(0)->Arg(1)->ArgName("flush")->Unit(benchmark::kMillisecond);

// The floor: as many bytes with one write(), with and without fsync().
void BM_OneWrite(benchmark::State& state) {
  std::vector<uint8_t> bytes(setup().file_bytes, 'x');
  for (auto _ : state) {
    int fd = open("floor.bin", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    benchmark::DoNotOptimize(write(fd, bytes.data(), bytes.size()));
    if (state.range(0) == 1) fsync(fd);
    close(fd);
  }
}
BENCHMARK(BM_OneWrite)->Arg(0)->Arg(1)->ArgName("flush")->Unit(benchmark::kMillisecond);

// The project file alone read as opening reads it: the bytes read, checked
// and turned into records.
void BM_ProjectFileRead(benchmark::State& state) {
  setup();
  save_project();
  for (auto _ : state) {
    std::string bytes;
    tk::read_small_file("Projects/large.qgp", size_t(1) << 30, bytes);
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    ProjectFileIndex index;
    benchmark::DoNotOptimize(project_file_intact(data, bytes.size(), &index));
    state.PauseTiming();
    clear_resource_lists();
    state.ResumeTiming();
    ProjectFile file(data, bytes.size());
    read_project_records(file, {}, &index);
  }
}
BENCHMARK(BM_ProjectFileRead)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_OneRead(benchmark::State& state) {
  std::vector<uint8_t> bytes(setup().file_bytes);
  {
    std::ofstream("floor.bin", std::ios::binary).write(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  for (auto _ : state) {
    int fd = open("floor.bin", O_RDONLY);
    benchmark::DoNotOptimize(read(fd, bytes.data(), bytes.size()));
    close(fd);
  }
}
BENCHMARK(BM_OneRead)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
