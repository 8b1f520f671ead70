// The comment line: the taunts of each count's group.
#include "game/ccomment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

namespace
{

// The lines a count gets over many seeds, the count written "#".
std::set<std::string> Lines(int count)
{
    std::set<std::string> lines;
    const std::string number = std::to_string(count);
    CComment comment;
    for (unsigned seed = 1; seed <= 40; ++seed)
    {
        std::srand(seed);
        comment.Set(count, "");
        // The count stands as "#", so that lines compare across counts.
        const std::string text(comment.GetText());
        std::string line;
        for (std::size_t at = 0;;)
        {
            const std::size_t found = text.find(number, at);
            line.append(text, at, found == std::string::npos ? std::string::npos : found - at);
            if (found == std::string::npos)
                break;
            line += '#';
            at = found + number.size();
        }
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
