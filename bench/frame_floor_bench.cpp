// The memory floor of one game frame: the fill of the 640 x 480 16-bit back
// buffer and the 600 stone tiles copied row by row, done with plain memset
// and memcpy. A frame drawn through the game's own code should cost little
// more than this.
#include "game/cfield.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace
{

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr int kTile = 20;
// The field's rows end at the bottom edge of the screen.
constexpr int kFieldTop = kScreenHeight - FIELD_ROWS * kTile;

void BM_FrameFloor(benchmark::State& state)
{
    std::vector<std::uint16_t> screen(kScreenWidth * kScreenHeight);
    // Three tiles, one per stone colour.
    std::vector<std::uint16_t> tiles(3 * kTile * kTile, 0x8410);
    for (auto _ : state)
    {
        std::memset(screen.data(), 1, screen.size() * sizeof(std::uint16_t));
        for (int col = 0; col < FIELD_COLUMNS; ++col)
            for (int row = 0; row < FIELD_ROWS; ++row)
            {
                const std::uint16_t* tile = &tiles[(col * 7 + row * 3) % 3 * kTile * kTile];
                std::uint16_t* at = &screen[(kFieldTop + row * kTile) * kScreenWidth + col * kTile];
                for (int y = 0; y < kTile; ++y)
                    std::memcpy(at + y * kScreenWidth, tile + y * kTile,
                                kTile * sizeof(std::uint16_t));
            }
        benchmark::DoNotOptimize(screen.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FrameFloor)->Unit(benchmark::kMicrosecond);

} // namespace
