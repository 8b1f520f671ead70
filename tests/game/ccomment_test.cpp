// The comment line: the taunts of each count's group.
#include "game/ccomment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

namespace
{

// The lines a count gets over many seeds, each naming the count, without
// their digits, so that lines compare across counts.
std::set<std::string> Lines(int count)
{
    std::set<std::string> lines;
    CComment comment;
    for (unsigned seed = 1; seed <= 40; ++seed)
    {
        std::srand(seed);
        comment.Set(count, "");
        std::string line(comment.GetText());
        EXPECT_NE(line.find(std::to_string(count)), std::string::npos) << line;
        std::erase_if(line, [](char c) { return c >= '0' && c <= '9'; });
        lines.insert(line);
    }
    return lines;
}

TEST(CommentTest, EachCountGetsTheLinesOfItsGroup)
{
    // Each group's smallest and largest count and its number of lines.
    const int groups[][3] = {{2, 2, 3},   {3, 5, 3},   {6, 10, 3},
                             {11, 20, 5}, {21, 30, 3}, {31, 600, 3}};
    std::set<std::string> previous;
    for (const auto& [low, high, size] : groups)
    {
        const std::set<std::string> lines = Lines(low);
        EXPECT_EQ(lines.size(), static_cast<std::size_t>(size)) << low;
        EXPECT_EQ(Lines(high), lines) << high;
        EXPECT_NE(lines, previous) << low;
        previous = lines;
    }
}

} // namespace
