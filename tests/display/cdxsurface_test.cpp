// Drawing on the back buffer: every operation of the surface table, drawn
// and recorded, missing and refused objects, lost surfaces, and the failure
// box. Where the display reports a refused mode or refused surfaces, by name,
// is seen in the scenario tests of the start.
#include "displaytest.h"

#include "display/errorreport.h"

#include <functional>
#include <string>

namespace
{

using namespace displaytest;
namespace testing = platform::testing;

// 32 x 32, every pixel tells its own position; (1, 1) is black. Channels
// after the third are ignored.
std::uint8_t PatternChannel(int x, int y, int c)
{
    return x == 1 && y == 1 ? 0 : std::uint8_t(c == 0 ? 8 * x : c == 1 ? 8 * y : c == 2 ? 200 : 99);
}

std::uint32_t PatternAt(int x, int y)
{
    return platform::PixelBuffer::FromRgb(
        {PatternChannel(x, y, 0), PatternChannel(x, y, 1), PatternChannel(x, y, 2)}, 16);
}

class SurfaceTest : public DisplayTest
{
protected:
    std::unique_ptr<CdxSurface> Pattern()
    {
        auto image = LoadPsd({.channels = 24,
                              .height = 32,
                              .width = 32,
                              .data = Planar(32, 32, 24, PatternChannel)});
        image->SetColourKey(0);
        return image;
    }
};

// Each operation of the table, drawn directly and recorded then played, on a
// green back buffer: the rectangle the 32 x 32 pattern lands in, stretched to
// it (the screen shows what lies on it), keyed or not, the destination
// rectangle the operation leaves, and for the mirrors the pattern's own
// pixels. The crosshair's clipping at the screen's edges is one of them.
TEST_F(SurfaceTest, EveryOperationOfTheTableDrawsWhereAndWhatItShould)
{
    RECT screen{0, 0, 640, 480};
    const RECT untouched{0, 0, 32, 32}, nowhere{};
    struct Operation
    {
        const char* name;
        std::function<HRESULT(CdxSurface&)> draw;
        RECT into;
        bool keyed;
        RECT dest;                                            // the image's m_rcDest afterwards
        std::function<POINT(int, int)> imagePixels = nullptr; // where each of its pixels came from
    };
    const Operation operations[] = {
        {"Draw (1), stretched twice as wide",
         [&](CdxSurface& image)
         {
             image.m_rcDest = {100, 50, 164, 82};
             return image.Draw(Back());
         },
         {100, 50, 164, 82},
         false,
         {100, 50, 164, 82}},
        {"DrawFast (2)",
         [&](CdxSurface& image) { return image.DrawFast(10, 20, Back()); },
         {10, 20, 42, 52},
         false,
         untouched},
        {"DrawFastKeyed (3)",
         [&](CdxSurface& image) { return image.DrawFastKeyed(10, 20, Back()); },
         {10, 20, 42, 52},
         true,
         untouched},
        {"DrawFastKeyedClipped (4), the crosshair at (3, 5)",
         [&](CdxSurface& image) { return image.DrawFastKeyedClipped(-13, -11, Back(), &screen); },
         {-13, -11, 19, 21},
         true,
         untouched},
        {"DrawFastKeyedClipped (4), the crosshair at (639, 479)",
         [&](CdxSurface& image) { return image.DrawFastKeyedClipped(623, 463, Back(), &screen); },
         {623, 463, 655, 495},
         true,
         untouched},
        {"DrawFastKeyedClipped (4), nothing left",
         [&](CdxSurface& image) { return image.DrawFastKeyedClipped(684, 584, Back(), &screen); },
         nowhere, true, untouched},
        {"DrawToWindow (5), the window's whole client area",
         [&](CdxSurface& image) { return image.DrawToWindow(Back()); }, screen, false, untouched},
        {"DrawZoomed (6), three by two",
         [&](CdxSurface& image) { return image.DrawZoomed(50, 60, 3, 2, Back()); },
         {50, 60, 146, 124},
         true,
         {50, 60, 146, 124}},
        {"DrawScaled (7), by 1.5",
         [&](CdxSurface& image) { return image.DrawScaled(70, 80, 1.5f, Back()); },
         {70, 80, 118, 128},
         true,
         {70, 80, 118, 128}},
        {"MirrorHorizontal (8)", [](CdxSurface& image) { return image.MirrorHorizontal(1, 2, 3); },
         nowhere, false, untouched,
         [](int x, int y) {
             return POINT{31 - x, y};
         }},
        {"MirrorVertical (9)", [](CdxSurface& image) { return image.MirrorVertical(1, 2, 3); },
         nowhere, false, untouched,
         [](int x, int y) {
             return POINT{x, 31 - y};
         }},
        {"Placeholder (10)",
         [](CdxSurface& image)
         {
             image.Placeholder(1, 2, 3, 4, 5);
             return DD_OK;
         },
         nowhere, false, untouched,
         [](int x, int y) {
             return POINT{x, y};
         }},
    };
    for (const Operation& operation : operations)
        for (const bool recorded : {false, true})
        {
            SCOPED_TRACE(std::string(operation.name) + (recorded ? ", recorded" : ""));
            auto image = Pattern();
            m_pScreen->Fill(GREEN);
            CSceneRecording recording;
            recording.Begin();
            Back()->RecordInto(recorded ? &recording : nullptr);
            operation.draw(*image);
            Back()->RecordInto(nullptr);
            EXPECT_TRUE(!recorded || BackPixel(40, 40) == GREEN) << "drawn while recorded";
            recording.Play(Back());
            const RECT& r = operation.into;
            for (int y = 0; y < 480; ++y)
                for (int x = 0; x < 640; ++x)
                {
                    const bool in = r.left <= x && x < r.right && r.top <= y && y < r.bottom;
                    const std::uint32_t source =
                        in ? PatternAt((x - r.left) * 32 / (r.right - r.left),
                                       (y - r.top) * 32 / (r.bottom - r.top))
                           : GREEN;
                    ASSERT_EQ(BackPixel(x, y), operation.keyed && source == 0 ? GREEN : source)
                        << x << "," << y;
                }
            const RECT& dest = image->m_rcDest;
            EXPECT_TRUE(dest.left == operation.dest.left && dest.top == operation.dest.top &&
                        dest.right == operation.dest.right && dest.bottom == operation.dest.bottom);
            for (int y = 0; operation.imagePixels && y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                {
                    const POINT p = operation.imagePixels(x, y);
                    ASSERT_EQ(testing::ReadPixel(image->m_pSurface, x, y), PatternAt(p.x, p.y))
                        << x << "," << y;
                }
        }
}

// Refused surfaces are reported in the scenario of a display without them.
TEST_F(SurfaceTest, MissingObjectsRaiseAndAnEmptySourceDrawsNothing)
{
    auto image = Pattern();
    CdxSurface empty;
    EXPECT_THROW(empty.GetDC(), CdxError);
    EXPECT_THROW(image->DrawFastKeyed(0, 0, nullptr), CdxError);

    m_pScreen->Fill(GREEN);
    EXPECT_FALSE(Back()->PrintText(0, 0, 255, "x")); // no device context taken
    EXPECT_TRUE(FAILED(empty.DrawFastKeyed(0, 0, Back())));
    EXPECT_EQ(BackPixel(0, 0), GREEN);
}

// Images from resources are reloaded after a loss: the scenario and the
// end-to-end games go on drawing them.
TEST_F(SurfaceTest, ALostPhotoshopImageHasNothingToReloadFrom)
{
    auto pattern = Pattern();
    testing::LoseAllSurfaces();
    EXPECT_EQ(pattern->DrawFastKeyed(80, 40, Back()), DDERR_SURFACELOST);
    // The next frame draws again, with the image restored empty.
    EXPECT_EQ(m_pScreen->Flip(1), DDERR_SURFACELOST);
    EXPECT_EQ(pattern->DrawFastKeyed(80, 40, Back()), DD_OK);
    EXPECT_EQ(testing::ReadPixel(pattern->m_pSurface, 5, 5), 0u);
}

TEST(ErrorReport, AnUnknownFailureIsNamedWholeThenTheProgramIsAskedToQuit)
{
    const std::string longPath(5000, 'd');
    ReportDirectDrawError(0, nullptr, longPath.c_str(), 1);
    const auto boxes = platform::testing::TakeModalBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption + ": " + boxes[0].text,
              "Error: DirectDraw Error Unknown Error\nFILE: " + longPath + "\nLINE: 1");
    MSG msg{};
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message == WM_QUIT);
}

} // namespace
