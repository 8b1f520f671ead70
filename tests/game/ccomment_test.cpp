// The comment line: which taunts a count can get, their exact texts, and how
// many random numbers a line costs.
#include "game/ccomment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

namespace
{

using Lines = std::set<std::string>;

// Every line a count can produce, over enough seeds to meet each one.
Lines LinesFor(int count)
{
    Lines lines;
    CComment comment;
    for (unsigned seed = 1; seed <= 300; ++seed)
    {
        std::srand(seed);
        comment.Set(count, "");
        lines.insert(static_cast<const char*>(comment.GetText()));
    }
    return lines;
}

// The groups at their bounds; the line of a group is the random value modulo
// its size, checked in full for the group of 11 to 20.
TEST(CommentTest, EachCountGetsTheLinesOfItsGroup)
{
    EXPECT_EQ(LinesFor(2), (Lines{"2 nur !? Da ist ja meine Oma besser!!", "2 mickrige Steine!!",
                                  "Sogar nen Schimpanse kriegt mehr als 2!!"}));
    EXPECT_EQ(LinesFor(5),
              (Lines{"Na ja ... 5 nur.", "Also , mehr als 5 h\xE4tten es aber sein k\xF6nnen!!",
                     "Mach mal was Anst\xE4ndiges ! Nicht 5 , du!"}));
    EXPECT_EQ(LinesFor(6).count("Mehr ! Viel mehr als nur 6."), 1u);
    EXPECT_EQ(LinesFor(10), (Lines{"Ja , ja ... das geht eigentlich , 10.",
                                   "10 ! Das h\xE4tte ich gar nicht von dir erwartet !",
                                   "Mehr ! Viel mehr als nur 10."}));
    EXPECT_EQ(LinesFor(11).count("Nicht schlecht , nicht schlecht deine 11."), 1u);
    EXPECT_EQ(LinesFor(21), (Lines{"21 ! Du wirst besser !!", "Ich will mehr als 21 !!",
                                   "Was !! 21 !! Mensch !! Du?!"}));
    EXPECT_EQ(LinesFor(30).count("Ich will mehr als 30 !!"), 1u);
    EXPECT_EQ(LinesFor(31), (Lines{"31 . Ich hab mich in dir get\xE4uscht !!",
                                   "Wenn du schon 31 schaffst , dann mach noch mehr !!",
                                   "Nicht schlecht !! 31 . Aber das geht auch besser oder ?"}));

    const char* const lines[] = {("Das \xFC"
                                  "berrascht aber , dass du 20 schaffst!"),
                                 "Nicht schlecht , nicht schlecht deine 20.",
                                 "Was f\xFCr ne mickrige Zahl 20 ! Peh , 20!",
                                 "Ja . Knall die Steine alle ab !! Nicht nur 20",
                                 "Du wirst doch wohl mehr als 20 schaffen ?!"};
    CComment comment;
    std::set<int> seen;
    for (unsigned seed = 1; seed <= 40; ++seed)
    {
        std::srand(seed);
        const int index = std::rand() % 5;
        std::srand(seed);
        comment.Set(20, "");
        EXPECT_EQ(comment.GetText(), lines[index]) << seed;
        seen.insert(index);
    }
    EXPECT_EQ(seen.size(), 5u);
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
    EXPECT_EQ(comment.GetText(), " ");
    EXPECT_EQ(std::rand(), first);

    std::srand(5);
    comment.Set(7, "");
    EXPECT_EQ(std::rand(), second);
}

} // namespace
