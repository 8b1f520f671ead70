// The table of ten: the rank at its bounds and insertion below equal scores.
// A table read in any order is ranked and sorted in the file tests.
#include "highscores/chighscores.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

// All eleven lines: the eleventh is the one pushed out.
std::vector<int> Scores(const CHighscores& table)
{
    std::vector<int> scores;
    for (const CHighscoreEntry& entry : table.m_Entries)
        scores.push_back(entry.m_nScore);
    return scores;
}

TEST(CHighscoresTest, RankAndInsertGoBelowEqualScores)
{
    CHighscores table;
    const int ranks[][2] = {{19000, -1}, {19001, 10}, {35001, 2}, {37000, 2}, {37001, 1}};
    for (const auto& [score, rank] : ranks)
        EXPECT_EQ(table.GetRank(score), rank) << score;
    table.Insert("Anna", 37000);
    table.Insert("Bert", 30000);
    table.Insert("Cleo", 30000);
    EXPECT_EQ(Scores(table), (std::vector<int>{37000, 37000, 35000, 33000, 31000, 30000, 30000,
                                               29000, 27000, 25000, 23000}));
    EXPECT_TRUE(table.m_Entries[0].m_Name == "CPU" && table.m_Entries[1].m_Name == "Anna" &&
                table.m_Entries[5].m_Name == "Bert" && table.m_Entries[6].m_Name == "Cleo");
    EXPECT_EQ(table.GetRank(30000), 8);
}

} // namespace
