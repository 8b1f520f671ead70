// Sharp scaling: where the picture stands with its bars; the pointer's way
// between area and picture; the scaler against the definition (whole factors
// pure nearest neighbour, every picture pixel equally wide); and that what
// reaches a back end in pieces adds up to the picture sent whole, by either
// way of sending, so a changed rectangle is redrawn wherever it shows.
#include "platform/present/headlessbackend.h"
#include "platform/present/picturesender.h"
#include "platform/present/sharpscale.h"
#include "platform/present/shownpicture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <utility>
#include <vector>

namespace
{

using platform::AreaToPicture;
using platform::FitView;
using platform::PictureToArea;
using platform::PixelBuffer;

TEST(SharpScaleTest, PlacesThePictureWithBarsAtTheLargestWholeMultiple)
{
    struct Case
    {
        int windowWidth, windowHeight;
        platform::View expected;
    };
    const Case cases[] = {
        {1920, 1080, {240, 0, 1440, 1080, 2}}, // bars left and right, 2.25
        {1366, 768, {171, 0, 1024, 768, 1}},   // 1.6
        {1280, 960, {0, 0, 1280, 960, 2}},     // exactly twice
        {800, 1000, {0, 200, 800, 600, 1}},    // bars above and below
        {320, 240, {0, 0, 320, 240, 1}},       // smaller than the picture
    };
    for (const Case& c : cases)
    {
        const platform::View fit = FitView(640, 480, c.windowWidth, c.windowHeight);
        SCOPED_TRACE(testing::Message() << c.windowWidth << "x" << c.windowHeight);
        EXPECT_EQ(fit.x, c.expected.x);
        EXPECT_EQ(fit.y, c.expected.y);
        EXPECT_EQ(fit.width, c.expected.width);
        EXPECT_EQ(fit.height, c.expected.height);
        EXPECT_EQ(fit.whole, c.expected.whole);
    }
}

// Bars and beyond go to the nearest edge of the picture, and a picture pixel
// taken to the area comes back as itself, at every scale from 1 up.
TEST(SharpScaleTest, AreaAndPicturePixelsMapBothWays)
{
    const platform::View wide = FitView(640, 480, 1920, 1080); // bars of 240, 2.25
    const std::pair<POINT, POINT> cases[] = {
        {{240, 0}, {0, 0}},         {{960, 540}, {320, 240}}, {{1679, 1079}, {639, 479}},
        {{239, 540}, {0, 240}},     {{1680, 0}, {639, 0}},    {{-50, -50}, {0, 0}},
        {{5000, 5000}, {639, 479}},
    };
    for (const auto& [area, picture] : cases)
    {
        const POINT p = AreaToPicture(wide, 640, 480, area.x, area.y);
        EXPECT_TRUE(p.x == picture.x && p.y == picture.y) << area.x << "," << area.y;
    }
    const POINT none = AreaToPicture(platform::View{}, 640, 480, 700, -5);
    EXPECT_TRUE(none.x == 639 && none.y == 0) << "no area: one to one, clamped";
    for (const auto& [width, height] :
         {std::pair{640, 480}, {1024, 768}, {1280, 960}, {1920, 1080}, {997, 701}, {700, 1500}})
    {
        const platform::View view = FitView(640, 480, width, height);
        for (LONG x = 0; x < 640; ++x)
        {
            const POINT picture{x, x * 479 / 639};
            const POINT area = PictureToArea(view, 640, 480, picture);
            const POINT back = AreaToPicture(view, 640, 480, area.x, area.y);
            ASSERT_TRUE(back.x == picture.x && back.y == picture.y)
                << width << "x" << height << " at " << x;
        }
    }
}

// An area of memory: lent to be scaled into, or, for a back end that scales
// itself, the uploaded picture.
class MemoryBackEnd final : public platform::HeadlessBackEnd
{
public:
    MemoryBackEnd(int width, int height, bool scalesItself)
        : pixels(static_cast<std::size_t>(width) * height), m_nWidth(width), m_nHeight(height),
          m_bScales(scalesItself)
    {
    }
    std::vector<std::uint32_t> pixels;

    bool ScalesItself() const override { return m_bScales; }
    bool Upload(const RECT& r, const std::uint32_t* from, int pitch) override
    {
        for (LONG y = r.top; y < r.bottom; ++y, from += pitch / 4)
            std::copy(from, from + (r.right - r.left), &pixels[y * m_nWidth + r.left]);
        return true;
    }
    bool ShowPicture(const platform::View&) override { return true; }
    bool LockArea(platform::AreaPixels& area) override
    {
        area = {reinterpret_cast<std::uint8_t*>(pixels.data()),
                4 * m_nWidth,
                m_nWidth,
                m_nHeight,
                {0xFF0000, 0xFF00, 0xFF, 0},
                !m_bLent};
        m_bLent = true;
        return true;
    }
    bool ShowArea(std::span<const RECT>) override { return true; }
    void AreaSize(int& width, int& height) override { width = m_nWidth, height = m_nHeight; }

private:
    int m_nWidth, m_nHeight;
    bool m_bScales;
    bool m_bLent = false;
};

PixelBuffer Noise(int width, int height, unsigned seed)
{
    PixelBuffer picture(width, height, 16);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.Set(x, y, random() & 0xFFFF);
    return picture;
}

// A channel (0 red, 1 green, 2 blue) at area pixel (x, y) by the definition:
// the picture at the whole multiple by nearest neighbour, sampled bilinearly
// at the pixel's centre.
double Reference(const PixelBuffer& picture, const platform::View& view, int x, int y, int channel)
{
    struct Sample
    {
        int first, next;
        double weight; // of next
    };
    const auto along = [&](int at, int size, int viewSize)
    {
        const int scaled = size * view.whole;
        const double position = std::max(0.0, (at + 0.5) * scaled / viewSize - 0.5);
        const int pixel = static_cast<int>(position);
        return Sample{pixel / view.whole, std::min(pixel + 1, scaled - 1) / view.whole,
                      position - pixel};
    };
    const Sample across = along(x - view.x, picture.Width(), view.width);
    const Sample down = along(y - view.y, picture.Height(), view.height);
    const auto value = [&](int px, int py)
    {
        const platform::Rgb c = picture.ToRgb(picture.Get(px, py));
        return static_cast<double>(channel == 0 ? c.r : channel == 1 ? c.g : c.b);
    };
    const auto row = [&](int py) {
        return value(across.first, py) * (1 - across.weight) +
               value(across.next, py) * across.weight;
    };
    return row(down.first) * (1 - down.weight) + row(down.next) * down.weight;
}

// Areas at 1, 2, 1.6 and 2.25 times a 40 x 30 picture, and odd ones with bars.
const std::pair<int, int> kAreas[] = {{40, 30}, {80, 60}, {64, 48}, {90, 68}, {97, 61}, {123, 45}};

TEST(SharpScalerTest, ScalesAsTheDefinitionSaysWithBlackBars)
{
    const PixelBuffer picture = Noise(40, 30, 1);
    for (const auto& [width, height] : kAreas)
    {
        MemoryBackEnd area(width, height, false);
        platform::PictureSender sender;
        sender.Place(area, 40, 30);
        ASSERT_TRUE(sender.Send(area, picture, {}));
        const platform::View view = sender.Placed();
        const bool whole = platform::IsWhole(view, 40, 30);
        double worst = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
            {
                const std::uint32_t pixel = area.pixels[y * width + x];
                const bool inside = x >= view.x && x < view.x + view.width && y >= view.y &&
                                    y < view.y + view.height;
                if (!inside)
                {
                    ASSERT_EQ(pixel, 0u) << "a bar at " << x << "," << y;
                    continue;
                }
                for (int channel = 0; channel < 3; ++channel)
                    worst = std::max(worst, std::abs(((pixel >> (16 - 8 * channel)) & 0xFF) -
                                                     Reference(picture, view, x, y, channel)));
            }
        EXPECT_LE(worst, whole ? 0.0 : 3.0) << width << "x" << height;
    }
}

// Changed rectangles sent one picture after another leave the back end with
// what the last picture sent whole gives: every area pixel that blends a
// changed picture pixel was drawn again.
TEST(SharpScalerTest, PiecesSentAddUpToThePictureSentWhole)
{
    for (const bool scalesItself : {false, true})
        for (const auto& [width, height] : kAreas)
        {
            SCOPED_TRACE(testing::Message()
                         << width << "x" << height << (scalesItself ? ", uploads" : ""));
            const int w = scalesItself ? 40 : width, h = scalesItself ? 30 : height;
            MemoryBackEnd pieces(w, h, scalesItself), whole(w, h, scalesItself);
            platform::PictureSender piecewise, wholly;
            piecewise.Place(pieces, 40, 30);
            wholly.Place(whole, 40, 30);
            PixelBuffer picture = Noise(40, 30, 2);
            platform::ShownPicture shown;
            std::mt19937 random(3);
            for (int step = 0; step < 30; ++step)
            {
                const platform::ShownPicture::Changes changes = shown.Take(picture, std::nullopt);
                ASSERT_TRUE(piecewise.Send(pieces, picture, changes.rects));
                const int x = random() % 40, y = random() % 30;
                for (int dy = 0; dy < 1 + step % 3 && y + dy < 30; ++dy)
                    for (int dx = 0; dx < 1 + step % 4 && x + dx < 40; ++dx)
                        picture.Set(x + dx, y + dy, random() & 0xFFFF);
            }
            ASSERT_TRUE(piecewise.Send(pieces, picture, shown.Take(picture, std::nullopt).rects));
            ASSERT_TRUE(wholly.Send(whole, picture, {}));
            EXPECT_TRUE(pieces.pixels == whole.pixels);
        }
}

} // namespace
