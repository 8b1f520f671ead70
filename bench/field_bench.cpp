// The field's per-shot and per-frame work: a shot that destroys all 600
// stones (the group search is quadratic in the group size), and the collapse
// steps that follow a shot.
#include "display/cdxsurface.h"
#include "game/cfield.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

namespace
{

struct Tiles
{
    Tiles()
    {
        for (CdxSurface* image : {&black, &white, &grey})
            image->m_nWidth = image->m_nHeight = 20;
    }
    CdxSurface black;
    CdxSurface white;
    CdxSurface grey;
};

void SetAll(CField& field, int colour)
{
    for (int c = 0; c < FIELD_COLUMNS; ++c)
        for (int r = 0; r < FIELD_ROWS; ++r)
            field.GetStone(c, r)->SetColour(colour);
}

std::vector<int> Colours(const CField& field)
{
    std::vector<int> colours;
    for (int c = 0; c < FIELD_COLUMNS; ++c)
        for (int r = 0; r < FIELD_ROWS; ++r)
            colours.push_back(field.GetStone(c, r)->GetColour());
    return colours;
}

// A random field with about a third of its stones shot away, whole columns
// among them, as after a run of shots.
void Riddle(CField& field)
{
    std::srand(2024);
    field.Fill();
    for (int c = 0; c < FIELD_COLUMNS; ++c)
        for (int r = 0; r < FIELD_ROWS; ++r)
            if (c % 7 == 3 || std::rand() % 3 == 0)
                field.GetStone(c, r)->SetColour(STONE_DESTROYED);
}

void BM_ShootWholeField(benchmark::State& state)
{
    Tiles tiles;
    CField field;
    field.SetSurfaces(&tiles.black, &tiles.white, &tiles.grey);
    field.Fill();
    for (auto _ : state)
    {
        state.PauseTiming();
        SetAll(field, STONE_GREY);
        state.ResumeTiming();
        benchmark::DoNotOptimize(field.Shoot(300, 280));
    }
}
BENCHMARK(BM_ShootWholeField)->Unit(benchmark::kMicrosecond);

void BM_FinalCollapse(benchmark::State& state)
{
    Tiles tiles;
    CField field;
    field.SetSurfaces(&tiles.black, &tiles.white, &tiles.grey);

    // How many steps the riddled field takes until a step changes nothing.
    Riddle(field);
    int steps = 0;
    for (std::vector<int> before; before != Colours(field); ++steps)
    {
        before = Colours(field);
        field.CollapseStep();
    }
    for (auto _ : state)
    {
        state.PauseTiming();
        Riddle(field);
        state.ResumeTiming();
        for (int i = 0; i < steps; ++i)
            field.CollapseStep();
    }
    state.counters["steps"] = steps;
}
BENCHMARK(BM_FinalCollapse)->Unit(benchmark::kMicrosecond);

void BM_CollapseStepSettled(benchmark::State& state)
{
    Tiles tiles;
    CField field;
    field.SetSurfaces(&tiles.black, &tiles.white, &tiles.grey);
    field.Fill();
    for (auto _ : state)
        field.CollapseStep();
}
BENCHMARK(BM_CollapseStepSettled);

} // namespace
