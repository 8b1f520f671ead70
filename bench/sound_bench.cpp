// Mixing what the audio device asks for at a time (2048 stereo frames) while
// the music plays at the menu, through the game's own sound buffers on the
// headless platform: the work behind every wake of the audio thread.
#include "platform/testing/testing.h"
#include "tests/support/headlessgame.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

namespace
{

void BM_MixMusic(benchmark::State& state)
{
    GameFolder folder;
    HeadlessGame game;
    if (!game.Started() || !game.Pass())
    {
        state.SkipWithError("the game did not reach its menu");
        return;
    }
    std::vector<std::int16_t> out(2 * 2048);
    for (auto _ : state)
    {
        platform::testing::MixAudio(out.data(), 2048);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_MixMusic)->Unit(benchmark::kMicrosecond);

} // namespace
