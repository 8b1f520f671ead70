// One frame of the game screen as the display layer composes it: the fill,
// 600 keyed stones, a line of text and the clipped crosshair, without
// presenting; and the present path on its own, with an unchanged picture
// (skipped upload) and with a changed one. Headless, on a virtual clock.
#include "display/cdxscreen.h"
#include "display/cdxsurface.h"
#include "platform/testing/testing.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace
{

CdxScreen& Screen()
{
    static CdxScreen* screen = []
    {
        platform::testing::UseHeadless();
        platform::testing::UseVirtualClock();
        auto* made = new CdxScreen;
        made->CreateFullScreen(nullptr, 640, 480, 16, 0);
        return made;
    }();
    return *screen;
}

std::unique_ptr<CdxSurface> KeyedImage(const char* name)
{
    auto image = std::make_unique<CdxSurface>(&Screen(), name, 2);
    image->SetColourKey(0);
    return image;
}

void BM_GameFrame(benchmark::State& state)
{
    CdxScreen& screen = Screen();
    std::unique_ptr<CdxSurface> stones[3] = {KeyedImage("BMP_BLACK"), KeyedImage("BMP_WHITE"),
                                             KeyedImage("BMP_GREY")};
    std::unique_ptr<CdxSurface> cross = KeyedImage("BMP_FADENKREUZ");
    if (!cross->m_pSurface || !stones[0]->m_pSurface || !stones[1]->m_pSurface ||
        !stones[2]->m_pSurface)
    {
        state.SkipWithError("the stone or crosshair images are missing");
        return;
    }
    RECT clip{0, 0, 640, 480};
    CdxSurface* back = screen.m_pBackSurface;
    for (auto _ : state)
    {
        screen.Fill(256);
        for (int col = 0; col < 30; ++col)
            for (int row = 0; row < 20; ++row)
                stones[(col * 7 + row * 3) % 3]->DrawFastKeyed(20 * col, 80 + 20 * row, back);
        back->GetDC();
        back->PrintText(180, 5, 255, "Punkte: 123456");
        back->ReleaseDC();
        cross->DrawFastKeyedClipped(630 - cross->m_nWidth / 2, 470 - cross->m_nHeight / 2, back,
                                    &clip);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_GameFrame)->Unit(benchmark::kMicrosecond);

// Arg 0: the picture equals the one on screen; 1: it differs at every flip.
void BM_Present(benchmark::State& state)
{
    CdxScreen& screen = Screen();
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
