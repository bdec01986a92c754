// The pixel rules of the image-effect dialog on one 1024 x 1024 frame: what
// each change of a parameter costs the preview, and what "OK" costs a frame.
#include <benchmark/benchmark.h>

#include "maker/graphics/pixel_rules.h"

namespace {

imaging::Image frame(int w, int h) {
  imaging::Image img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      imaging::set_pixel(img, x, y, imaging::rgba(x * 7 & 255, y * 3 & 255, (x + y) & 255, x * 255 / (w - 1)));
  return img;
}

const imaging::Image& big_frame() {
  static const imaging::Image f = frame(1024, 1024);
  return f;
}

void BM_ReadChannels1024(benchmark::State& state) {
  effects::Channels c;
  for (auto _ : state) {
    effects::read_channels(big_frame(), c);
    benchmark::DoNotOptimize(c.a.data());
  }
  state.SetItemsProcessed(state.iterations() * 1024 * 1024);
}
BENCHMARK(BM_ReadChannels1024)->Unit(benchmark::kMillisecond);

void BM_Brightness1024(benchmark::State& state) {
  effects::Channels c;
  effects::read_channels(big_frame(), c);
  for (auto _ : state) {
    imaging::Image out = effects::map_colours(c, [](effects::Pixel p, int, int) { return effects::brightness(p, 40); });
    benchmark::DoNotOptimize(out.pixels.data());
  }
  state.SetItemsProcessed(state.iterations() * 1024 * 1024);
}
BENCHMARK(BM_Brightness1024)->Unit(benchmark::kMillisecond);

// A free angle: every result pixel looks up its source. The quarter turns
// walk the source along rows or columns instead; beside BM_ReadChannels1024.
void BM_Rotate1024(benchmark::State& state) {
  effects::Channels c;
  effects::read_channels(big_frame(), c);
  for (auto _ : state) {
    imaging::Image out = effects::rotated(c, int(state.range(0)));
    benchmark::DoNotOptimize(out.pixels.data());
  }
  state.SetItemsProcessed(state.iterations() * 1024 * 1024);
}
BENCHMARK(BM_Rotate1024)->Arg(37)->Arg(90)->Arg(180)->Arg(270)->Unit(benchmark::kMillisecond);

// 1 horizontally, 2 vertically, 3 both.
void BM_Mirror1024(benchmark::State& state) {
  effects::Channels c;
  effects::read_channels(big_frame(), c);
  const int boxes = int(state.range(0));
  for (auto _ : state) {
    imaging::Image out = effects::mirrored(c, boxes & 1, boxes & 2);
    benchmark::DoNotOptimize(out.pixels.data());
  }
  state.SetItemsProcessed(state.iterations() * 1024 * 1024);
}
BENCHMARK(BM_Mirror1024)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
