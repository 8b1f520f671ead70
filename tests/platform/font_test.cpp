// The baked fonts against pictures the SDL_ttf rasterizer drew before the
// glyphs were baked: umlauts and sharp s, kerned pairs, a kerning that
// reaches across a soft hyphen, the caption face; and the edges of a line:
// nothing, a NUL, a very long name.
#include "platform/font/fontrasterizer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using platform::TextFace;
using platform::TextMask;
namespace font = platform::font;

// The mask as rows of '#' (ink) and '.', every run kept inside its cell.
std::vector<std::string> Picture(const TextMask& mask)
{
    std::vector<std::string> rows(mask.height, std::string(mask.width, '.'));
    for (const TextMask::Run& run : mask.runs)
    {
        EXPECT_TRUE(run.y >= 0 && run.y < mask.height && run.x >= 0 && run.length > 0 &&
                    run.x + run.length <= mask.width)
            << "a run outside the cell";
        if (run.y >= 0 && run.y < mask.height && run.x >= 0 && run.x + run.length <= mask.width)
            rows[run.y].replace(run.x, run.length, run.length, '#');
    }
    return rows;
}

TEST(BakedFonts, DrawWhatTheTrueTypeRasterizerDrew)
{
    EXPECT_EQ(Picture(font::Rasterize(TextFace::Dialog, "W\xE4\xF6\xFC\xDF")),
              (std::vector<std::string>{
                  "...................................",
                  "...................................",
                  "#....#...#.#..#...#.#..#..#...###..",
                  "#...##...#...................#...#.",
                  ".#..##..#..####..####..#..#..#..#..",
                  ".#..##..#.....#..#..#..#..#..#..#..",
                  ".#.#..#.#..####.#....#.#..#..#..#..",
                  ".#.#..#.#..#..#.#....#.#..#..#...#.",
                  "..##..##..##..#..#..#..#..#..#....#",
                  "..#....#...#####.####..####..#.###.",
                  "...................................",
                  "...................................",
              }));
    // Kerned: the V's arm reaches over the A's foot.
    EXPECT_EQ(Picture(font::Rasterize(TextFace::System, "AV")), (std::vector<std::string>{
                                                                    "................",
                                                                    "................",
                                                                    "................",
                                                                    "...###.##.....##",
                                                                    "...###..##...##.",
                                                                    "...#.#..##...##.",
                                                                    "..##.##.##...##.",
                                                                    "..##.##.##...##.",
                                                                    "..##.##..##.##..",
                                                                    "..#####..##.##..",
                                                                    ".#######.##.##..",
                                                                    ".##...##..#.#...",
                                                                    ".##...##..###...",
                                                                    "###...###.###...",
                                                                    "................",
                                                                    "................",
                                                                    "................",
                                                                }));
    EXPECT_EQ(Picture(font::Rasterize(TextFace::DialogBold, "Info")), (std::vector<std::string>{
                                                                          ".....................",
                                                                          ".....................",
                                                                          ".##........###.......",
                                                                          ".##........##........",
                                                                          ".##.#.###.####..####.",
                                                                          ".##.##.##..##..##.##.",
                                                                          ".##.##..##.##..#...##",
                                                                          ".##.#...##.##.##...##",
                                                                          ".##.#...##.##..#...##",
                                                                          ".##.#...##.##..##.##.",
                                                                          ".##.#...##.##...###..",
                                                                          ".....................",
                                                                          ".....................",
                                                                          ".....................",
                                                                      }));
    // The hidden soft hyphen leaves the Y and the comma kerned.
    const TextMask hyphenated = font::Rasterize(TextFace::System, "Y\xAD,");
    EXPECT_EQ(Picture(hyphenated), Picture(font::Rasterize(TextFace::System, "Y,")));
    EXPECT_EQ(hyphenated.width, 12);
    EXPECT_LT(font::Rasterize(TextFace::System, "Y,").width,
              font::Rasterize(TextFace::System, "Y").width +
                  font::Rasterize(TextFace::System, ",").width);
}

TEST(BakedFonts, FacesKeepTheirLineHeightAndAscent)
{
    EXPECT_EQ(font::LineHeight(TextFace::System), 17);
    EXPECT_EQ(font::Ascent(TextFace::System), 14);
    EXPECT_EQ(font::LineHeight(TextFace::Dialog), 12);
    EXPECT_EQ(font::Ascent(TextFace::Dialog), 10);
    EXPECT_EQ(font::LineHeight(TextFace::DialogBold), 14);
    EXPECT_EQ(font::Ascent(TextFace::DialogBold), 11);
}

TEST(BakedFonts, LinesEndAtNothingAtANulAndFarAway)
{
    const TextMask empty = font::Rasterize(TextFace::Dialog, "");
    EXPECT_EQ(empty.width, 0);
    EXPECT_EQ(empty.height, font::LineHeight(TextFace::Dialog));
    EXPECT_TRUE(empty.runs.empty());

    // The game's strings are C strings.
    EXPECT_EQ(Picture(font::Rasterize(TextFace::System, std::string("ab\0cd", 5))),
              Picture(font::Rasterize(TextFace::System, "ab")));
    EXPECT_EQ(font::Rasterize(TextFace::System, std::string(1, '\0')).width, 0);

    // A name from an edited file: every W at its own 13 pixels, no drift, no
    // overflow, and the last one as whole as the first.
    const TextMask wide = font::Rasterize(TextFace::System, std::string(3000, 'W'));
    EXPECT_EQ(wide.width, 39000);
    EXPECT_EQ(wide.height, 17);
    const std::vector<std::string> rows = Picture(wide);
    const std::vector<std::string> one = Picture(font::Rasterize(TextFace::System, "W"));
    for (std::size_t y = 0; y < rows.size(); ++y)
    {
        EXPECT_EQ(rows[y].substr(0, one[y].size()), one[y]);
        EXPECT_EQ(rows[y].substr(39000 - 13, 13), rows[y].substr(0, 13));
    }
}

} // namespace
