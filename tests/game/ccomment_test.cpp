// The comment line: the taunt of each count, and what a line costs of the
// random numbers.
#include "game/ccomment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace
{

// Each group's smallest and largest count and its lines, "#" for the count.
struct Group
{
    int low, high;
    std::vector<std::string> lines;
};
const Group GROUPS[] = {
    {2,
     2,
     {"# nur !? Da ist ja meine Oma besser!!", "# mickrige Steine!!",
      "Sogar nen Schimpanse kriegt mehr als #!!"}},
    {3,
     5,
     {"Na ja ... # nur.", "Also , mehr als # h\xE4tten es aber sein k\xF6nnen!!",
      "Mach mal was Anst\xE4ndiges ! Nicht # , du!"}},
    {6,
     10,
     {"Ja , ja ... das geht eigentlich , #.", "# ! Das h\xE4tte ich gar nicht von dir erwartet !",
      "Mehr ! Viel mehr als nur #."}},
    {11,
     20,
     {"Das \xFC"
      "berrascht aber , dass du # schaffst!",
      "Nicht schlecht , nicht schlecht deine #.", "Was f\xFCr ne mickrige Zahl # ! Peh , #!",
      "Ja . Knall die Steine alle ab !! Nicht nur #", "Du wirst doch wohl mehr als # schaffen ?!"}},
    {21, 30, {"# ! Du wirst besser !!", "Ich will mehr als # !!", "Was !! # !! Mensch !! Du?!"}},
    {31,
     600,
     {"# . Ich hab mich in dir get\xE4uscht !!",
      "Wenn du schon # schaffst , dann mach noch mehr !!",
      "Nicht schlecht !! # . Aber das geht auch besser oder ?"}},
};

std::string WithCount(std::string line, int count)
{
    for (std::size_t at; (at = line.find('#')) != std::string::npos;)
        line.replace(at, 1, std::to_string(count));
    return line;
}

// The line is the next random number modulo the size of the count's group.
TEST(CommentTest, EachCountGetsTheLinesOfItsGroup)
{
    CComment comment;
    for (const Group& group : GROUPS)
        for (const int count : {group.low, group.high})
        {
            std::set<std::size_t> seen;
            for (unsigned seed = 1; seed <= 40; ++seed)
            {
                std::srand(seed);
                const std::size_t index =
                    static_cast<std::size_t>(std::rand()) % group.lines.size();
                std::srand(seed);
                comment.Set(count, "");
                EXPECT_EQ(std::string(comment.GetText()), WithCount(group.lines[index], count))
                    << count << ", seed " << seed;
                seen.insert(index);
            }
            EXPECT_EQ(seen.size(), group.lines.size()) << count;
        }
}

TEST(CommentTest, OnlyAnEmptyTextDrawsARandomNumber)
{
    std::srand(5);
    const int first = std::rand();
    const int second = std::rand();
    CComment comment;
    std::srand(5);
    comment.Set(7, "Du Blindfisch ! Kannste nicht zielen!");
    comment.Set(0, " ");
    EXPECT_EQ(std::string(comment.GetText()), " ");
    EXPECT_EQ(std::rand(), first);
    std::srand(5);
    comment.Set(7, "");
    EXPECT_EQ(std::rand(), second);
}

} // namespace
