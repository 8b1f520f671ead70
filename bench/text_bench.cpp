// Drawing a line of text that is not cached yet: the game's comment line in
// its bold face and a dialog's line, laid out from the baked glyphs into runs
// of ink. Every later frame takes the line from the text cache.
#include "platform/font/fontrasterizer.h"

#include <benchmark/benchmark.h>

namespace
{

void BM_RasterizeLine(benchmark::State& state)
{
    const bool dialog = state.range(0) != 0;
    const auto face = dialog ? platform::TextFace::Dialog : platform::TextFace::System;
    const char* text = dialog ? "- Mit den Pfeiltasten navigieren Sie durch das Men\xFC"
                              : "Nicht schlecht !! 361 . Aber das geht auch besser oder ?";
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::font::Rasterize(face, text));
    state.SetLabel(dialog ? "dialog line" : "comment line");
}
BENCHMARK(BM_RasterizeLine)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
