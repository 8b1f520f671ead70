// The comment line: the taunt of each count, and what a line costs of the
// random numbers.
#include "game/ccomment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>

namespace
{

// The line is the next random number modulo the size of the count's group.
TEST(CommentTest, EachCountGetsTheLinesOfItsGroup)
{
    // Each group's smallest and largest count, its size and first line, "#" for the count.
    const struct
    {
        int low, high;
        std::size_t size;
        const char* first;
    } groups[] = {
        {2, 2, 3, "# nur !? Da ist ja meine Oma besser!!"},
        {3, 5, 3, "Na ja ... # nur."},
        {6, 10, 3, "Ja , ja ... das geht eigentlich , #."},
        {11, 20, 5,
         "Das \xFC"
         "berrascht aber , dass du # schaffst!"},
        {21, 30, 3, "# ! Du wirst besser !!"},
        {31, 600, 3, "# . Ich hab mich in dir get\xE4uscht !!"},
    };
    CComment comment;
    for (const auto& group : groups)
        for (const int count : {group.low, group.high})
        {
            std::map<std::size_t, std::string> lines; // by random number modulo the size
            for (unsigned seed = 1; seed <= 40; ++seed)
            {
                std::srand(seed);
                const std::size_t index = static_cast<std::size_t>(std::rand()) % group.size;
                std::srand(seed);
                comment.Set(count, "");
                std::string text(comment.GetText());
                for (std::size_t at; (at = text.find(std::to_string(count))) != std::string::npos;)
                    text.replace(at, std::to_string(count).size(), "#");
                EXPECT_EQ(lines.emplace(index, text).first->second, text) << count << "," << seed;
            }
            EXPECT_EQ(lines.size(), group.size) << count;
            EXPECT_EQ(lines[0], group.first) << count;
        }
}

TEST(CommentTest, ASetTextDrawsNoRandomNumber)
{
    std::srand(5);
    const int first = std::rand();
    std::srand(5);
    CComment comment;
    comment.Set(7, "Du Blindfisch ! Kannste nicht zielen!");
    comment.Set(0, " ");
    EXPECT_EQ(std::string(comment.GetText()), " ");
    EXPECT_EQ(std::rand(), first);
}

} // namespace
