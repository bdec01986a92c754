#include <benchmark/benchmark.h>

#include "imaging/codec.h"
#include "imaging/draw.h"

using namespace imaging;

namespace {

// A picture with every alpha from 0 to 255 across each row and varied colour.
Image gradient(int w, int h) {
  Image img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      set_pixel(img, x, y, rgba(x * 7 & 255, y * 3 & 255, (x + y) & 255, x * 255 / (w - 1)));
  return img;
}

Image filled(int w, int h, Colour c) {
  Image img(w, h);
  Canvas canvas(img);
  canvas.set_colour(c);
  canvas.box(0, 0, w, h);
  return img;
}

// Onto an opaque backdrop, the common case (canvases, thumbnails on cards).
void BM_AlphaDraw1024(benchmark::State& state) {
  const Image src = gradient(1024, 1024);
  Image dst = filled(1024, 1024, rgba(40, 80, 120));
  Canvas canvas(dst);
  canvas.set_mode(Mode::Alpha);
  for (auto _ : state) {
    canvas.draw_image(src, 0, 0);
    benchmark::DoNotOptimize(dst.pixels.data());
  }
  state.SetItemsProcessed(state.iterations() * 1024 * 1024);
}
BENCHMARK(BM_AlphaDraw1024);

// Onto a half-transparent target, where every pixel takes the general formula.
void BM_AlphaDraw1024Translucent(benchmark::State& state) {
  const Image src = gradient(1024, 1024);
  const Image base = filled(1024, 1024, rgba(40, 80, 120, 128));
  Image dst = base;
  Canvas canvas(dst);
  canvas.set_mode(Mode::Alpha);
  for (auto _ : state) {
    state.PauseTiming();
    dst.pixels = base.pixels;
    state.ResumeTiming();
    canvas.draw_image(src, 0, 0);
    benchmark::DoNotOptimize(dst.pixels.data());
  }
  state.SetItemsProcessed(state.iterations() * 1024 * 1024);
}
BENCHMARK(BM_AlphaDraw1024Translucent);

void BM_Scale512To2048(benchmark::State& state) {
  const Image src = gradient(512, 512);
  const Filter filter = state.range(0) ? Filter::Bilinear : Filter::Nearest;
  for (auto _ : state) benchmark::DoNotOptimize(scaled(src, 2048, 2048, filter));
  state.SetItemsProcessed(state.iterations() * 2048 * 2048);
  state.SetLabel(state.range(0) ? "bilinear" : "nearest");
}
BENCHMARK(BM_Scale512To2048)->Arg(0)->Arg(1);

void BM_PngEncode256(benchmark::State& state) {
  const Image src = gradient(256, 256);
  for (auto _ : state) benchmark::DoNotOptimize(encode_png(src));
  state.SetItemsProcessed(state.iterations() * 256 * 256);
}
BENCHMARK(BM_PngEncode256);

void BM_PngDecode256(benchmark::State& state) {
  const auto bytes = encode_png(gradient(256, 256));
  if (!bytes) return state.SkipWithError("encode failed");
  for (auto _ : state) benchmark::DoNotOptimize(decode_image(bytes->data(), bytes->size()));
  state.SetItemsProcessed(state.iterations() * 256 * 256);
}
BENCHMARK(BM_PngDecode256);

}  // namespace

BENCHMARK_MAIN();
