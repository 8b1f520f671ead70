// Renders one game screen on the headless display, the way the game composes
// it, and writes it as a PNG to look at: the dark green background, a random
// field from y = 80 after a few shots, the comment line, the score and the
// crosshair.
//
// usage: tz_render_field OUTPUT.png
#include "display/cdxscreen.h"
#include "display/cdxsurface.h"
#include "game/ccomment.h"
#include "game/cfield.h"
#include "platform/testing/testing.h"
#include "tools/pngwriter.h"

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace
{

std::unique_ptr<CdxSurface> LoadKeyed(CdxScreen& screen, const char* name)
{
    auto image = std::make_unique<CdxSurface>(&screen, name, 2);
    image->SetColourKey(0);
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    platform::testing::UseHeadless();
    platform::testing::UseVirtualClock();

    CdxScreen screen;
    screen.CreateFullScreen(nullptr, 640, 480, 16, 0);
    auto black = LoadKeyed(screen, "BMP_BLACK");
    auto white = LoadKeyed(screen, "BMP_WHITE");
    auto grey = LoadKeyed(screen, "BMP_GREY");
    auto money = LoadKeyed(screen, "BMP_MONEY");
    auto button = LoadKeyed(screen, "BMP_NEWGAMEMINI");
    auto crosshair = LoadKeyed(screen, "BMP_FADENKREUZ");

    CField field;
    field.SetSurfaces(black.get(), white.get(), grey.get());
    std::srand(7);
    field.Fill();
    int score = 0;
    int last = 0;
    for (int shot = 0; shot < 40; ++shot)
    {
        const int n = field.Shoot(std::rand() % 600, 80 + std::rand() % 400);
        score += n * n;
        last = n ? n : last;
        for (int step = 0; step < 3; ++step)
            field.CollapseStep();
    }
    CComment comment;
    comment.SetPosition(180, 5);
    comment.Set(last, "");

    screen.Fill(256);
    field.Draw(&screen);
    CdxSurface* back = screen.m_pBackSurface;
    char text[16];
    std::snprintf(text, sizeof text, "%d", score);
    back->GetDC();
    back->PrintText(590, 10, 255, text);
    back->ReleaseDC();
    money->DrawFastKeyed(585 - money->m_nWidth, 5, back);
    button->DrawFastKeyed(5, 5, back);
    comment.Draw(&screen);
    RECT clip{0, 0, 640, 480};
    crosshair->DrawFastKeyedClipped(300 - 16, 300 - 16, back, &clip);
    screen.Flip(1);

    const platform::PixelBuffer* picture = platform::testing::ShownPicture();
    if (picture == nullptr)
        return 1;
    std::vector<std::uint8_t> rgb;
    for (int y = 0; y < picture->Height(); ++y)
        for (int x = 0; x < picture->Width(); ++x)
        {
            const platform::Rgb c = picture->ToRgb(picture->Get(x, y));
            rgb.insert(rgb.end(), {c.r, c.g, c.b});
        }
    return WritePng(argv[1], picture->Width(), picture->Height(), rgb) ? 0 : 1;
}
