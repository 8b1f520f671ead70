// Sharp scaling: where the picture stands with its bars, that every picture
// pixel gets the same share of the view, that a whole factor stays pure
// nearest neighbour, and that a changed rectangle is redrawn wherever it shows.
#include "platform/present/sharpscale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace
{

using platform::FitView;
using platform::SharpSpan;
using platform::SharpTap;
using platform::SharpTaps;

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

// The least and the most of the view (in 256ths of a view pixel) that any
// picture pixel covers.
std::pair<int, int> CoverageRange(const std::vector<SharpTap>& taps, int size)
{
    std::vector<int> covered(static_cast<std::size_t>(size));
    for (const SharpTap& tap : taps)
    {
        EXPECT_TRUE(tap.first >= 0 && tap.first + (tap.weight > 0) < size);
        covered[tap.first] += 256 - tap.weight;
        if (tap.weight > 0)
            covered[tap.first + 1] += tap.weight;
    }
    const auto [least, most] = std::minmax_element(covered.begin(), covered.end());
    return {*least, *most};
}

TEST(SharpScaleTest, EveryPicturePixelIsEquallyWideAndWholeFactorsStayNearest)
{
    // Nearest neighbour alone would make pixels 2 or 3 wide at 2.25 (512 or
    // 768), 1 or 2 at 1.6 (256 or 512).
    const auto [least225, most225] = CoverageRange(SharpTaps(640, 2, 1440), 640);
    EXPECT_TRUE(least225 >= 560 && most225 <= 592) << least225 << ".." << most225;
    const auto [least16, most16] = CoverageRange(SharpTaps(480, 1, 768), 480);
    EXPECT_TRUE(least16 >= 376 && most16 <= 440) << least16 << ".." << most16;

    const std::vector<SharpTap> twice = SharpTaps(640, 2, 1280);
    for (int x = 0; x < 1280; ++x)
    {
        ASSERT_EQ(twice[x].first, x / 2) << x;
        ASSERT_EQ(twice[x].weight, 0) << x;
    }
}

TEST(SharpScaleTest, AChangedRectangleReachesEveryViewPixelThatShowsIt)
{
    for (const int view : {1440, 1024, 640, 400})
    {
        const platform::View fit = FitView(640, 480, view, 1080);
        const std::vector<SharpTap> taps = SharpTaps(640, fit.whole, view);
        for (const auto& [from, to] : {std::pair{0, 1}, {13, 14}, {100, 140}, {639, 640}})
        {
            const auto [first, last] = SharpSpan(taps, from, to);
            for (int x = 0; x < view; ++x)
            {
                const SharpTap tap = taps[x];
                const bool shows = (tap.first >= from && tap.first < to) ||
                                   (tap.weight > 0 && tap.first + 1 >= from && tap.first + 1 < to);
                ASSERT_EQ(shows, x >= first && x < last)
                    << "view " << view << ", pixels " << from << ".." << to << ", at " << x;
            }
        }
    }
}

} // namespace
