// The table of ten: ranking at the bounds of the defaults, insertion and the
// stable sort.
#include "highscores/chighscores.h"

#include <gtest/gtest.h>

TEST(CHighscoresTest, RankAtTheBoundsOfTheDefaults)
{
    // The tenth place's bound is met in the scenario tests of a game's end.
    const CHighscores table;
    EXPECT_EQ(table.GetRank(18999), -1);
    EXPECT_EQ(table.GetRank(35001), 2);
    EXPECT_EQ(table.GetRank(37000), 2);
    EXPECT_EQ(table.GetRank(37001), 1);
}

TEST(CHighscoresTest, InsertGoesBelowEqualScoresAndPushesTheLastOut)
{
    CHighscores table;
    table.Insert("Anna", 37000);
    EXPECT_EQ(table.m_Entries[0].m_Name, "CPU");
    EXPECT_EQ(table.m_Entries[1].m_Name, "Anna");
    EXPECT_EQ(table.m_Entries[1].m_nScore, 37000);
    for (int place = 3; place <= 10; ++place)
        EXPECT_EQ(table.m_Entries[place - 1].m_nScore, 37000 - 2000 * (place - 2));
    EXPECT_EQ(table.m_Entries[10].m_nScore, 19000) << "the old tenth place leaves";

    table.Insert("Bert", 30000);
    table.Insert("Cleo", 30000);
    EXPECT_EQ(table.m_Entries[5].m_Name, "Bert");
    EXPECT_EQ(table.m_Entries[6].m_Name, "Cleo");
    EXPECT_EQ(table.m_Entries[7].m_nScore, 29000);
    EXPECT_EQ(table.GetRank(30000), 8);
}

TEST(CHighscoresTest, InsertSortsATableReadInAnyOrder)
{
    CHighscores table;
    for (int i = 0; i < CHighscores::PLACES; ++i)
        table.m_Entries[i].m_nScore = 1000 * (i + 1); // lowest first
    EXPECT_EQ(table.GetRank(500), -1);
    EXPECT_EQ(table.GetRank(1500), 1);

    table.Insert("Neu", 5500);
    const int expected[] = {10000, 9000, 8000, 7000, 6000, 5500, 5000, 4000, 3000, 2000};
    for (int i = 0; i < CHighscores::PLACES; ++i)
        EXPECT_EQ(table.m_Entries[i].m_nScore, expected[i]);
    EXPECT_EQ(table.m_Entries[5].m_Name, "Neu");
    EXPECT_EQ(table.m_Entries[10].m_nScore, 1000);
}
