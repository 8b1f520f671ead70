// One frame of the game screen as the frame window composes it, through its
// own code on the headless platform: the fill, 600 stones, the score, the
// comment line and the clipped crosshair, without presenting; a frame in which
// only the crosshair moved, shown; and the present path on its own, with an
// unchanged picture (skipped upload) and with a changed one. Virtual clock.
#include "display/cdxscreen.h"
#include "tests/support/headlessgame.h"

#include <benchmark/benchmark.h>

namespace
{

// A game after the scene's shots, in a folder of its own, with the field
// refilled: all 600 stones, with the shots' score and comment. Not ready
// (and the benchmark skipped) when the game could not be brought there.
struct BenchedGame
{
    explicit BenchedGame(benchmark::State& state) : ready(ShowScene(game, Scene::Game))
    {
        if (ready)
            game.Probe().Field().Fill();
        else
            state.SkipWithError("the game did not reach a game screen");
    }

    GameFolder folder;
    HeadlessGame game;
    bool ready;
};

void BM_GameFrame(benchmark::State& state)
{
    BenchedGame benched(state);
    if (!benched.ready)
        return;
    CMainFrameProbe probe = benched.game.Probe();
    for (auto _ : state)
    {
        probe.ComposeFrame();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_GameFrame)->Unit(benchmark::kMicrosecond);

// Most frames of a game: the pointer moved over a field that stands still, so
// the kept scene is mended under the crosshair; flipped and presented.
void BM_CrosshairFrame(benchmark::State& state)
{
    BenchedGame benched(state);
    if (!benched.ready)
        return;
    CMainFrameProbe probe = benched.game.Probe();
    int frame = 0;
    for (auto _ : state)
    {
        SetCursorPos(300 + 20 * (++frame % 2), 240);
        probe.DrawFrame();
    }
}
BENCHMARK(BM_CrosshairFrame)->Unit(benchmark::kMicrosecond);

// Arg 0: the picture equals the one on screen; 1: it differs at every flip.
void BM_Present(benchmark::State& state)
{
    BenchedGame benched(state);
    if (!benched.ready)
        return;
    CdxScreen& screen = *benched.game.Probe().Screen();
    const bool changed = state.range(0) != 0;
    screen.Fill(0);
    screen.Flip(1);
    screen.Fill(changed ? 256 : 0);
    for (auto _ : state)
        screen.Flip(1);
    state.SetLabel(changed ? "changed picture" : "identical picture");
}
BENCHMARK(BM_Present)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace
