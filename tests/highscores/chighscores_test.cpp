// The table of ten: the rank at its bounds, insertion below equal scores, and
// "highscore.sav" on disk: the exact bytes, a table read in any order, every
// load failure giving the whole default table, and saves that replace the file
// whole (through links, keeping mode and owner) or leave it untouched and warn
// the player.
#include "highscores/chighscores.h"
#include "platform/testing/testing.h"
#include "tests/support/scratchdirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace
{

const char* const kFile = "highscore.sav";

// The ten "CPU" lines from 37000 down to 19000.
const std::string kDefaultBytes("\x88\x90\x00\x00\x03\x43\x50\x55\xB8\x88\x00\x00\x03\x43\x50\x55"
                                "\xE8\x80\x00\x00\x03\x43\x50\x55\x18\x79\x00\x00\x03\x43\x50\x55"
                                "\x48\x71\x00\x00\x03\x43\x50\x55\x78\x69\x00\x00\x03\x43\x50\x55"
                                "\xA8\x61\x00\x00\x03\x43\x50\x55\xD8\x59\x00\x00\x03\x43\x50\x55"
                                "\x08\x52\x00\x00\x03\x43\x50\x55\x38\x4A\x00\x00\x03\x43\x50\x55",
                                80);

// Ten records "P1" (100) to "P10" (1000): rising, so not in table order.
std::string RisingRecords()
{
    std::string bytes;
    for (int i = 1; i <= 10; ++i)
        bytes +=
            std::string{char(i * 100 & 0xFF), char(i * 100 >> 8), 0, 0, char(i < 10 ? 2 : 3), 'P'} +
            std::to_string(i);
    return bytes;
}

void Put(const std::string& bytes)
{
    std::ofstream(kFile, std::ios::binary | std::ios::trunc) << bytes;
}

// Saves the default table; the number of warnings the player saw.
int Save()
{
    CHighscores().Save(kFile);
    const auto boxes = platform::testing::TakeModalBoxes();
    for (const auto& box : boxes)
        EXPECT_EQ(box.caption + ": " + box.text,
                  "Warnung: Die Highscores konnten nicht gespeichert werden.\nDer Datentr\xE4ger "
                  "oder die Datei ist schreibgesch\xFCtzt.");
    return static_cast<int>(boxes.size());
}

struct HighscoreFileTest : ::testing::Test
{
    void TearDown() override
    {
        if (mounted)
            umount2(folder.c_str(), MNT_DETACH);
        chmod(folder.c_str(), 0700);
    }

    bool Lock(mode_t mode) const { return chmod(folder.c_str(), mode) == 0; }

    // No temporary file stays behind.
    void ExpectOnlyTheTableFile() const
    {
        for (const auto& entry : fs::directory_iterator(folder))
            EXPECT_EQ(entry.path().filename(), kFile);
    }

    ScratchDirectory directory;
    const std::string folder = fs::current_path();
    bool mounted = false;
};

TEST_F(HighscoreFileTest, LoadKeepsFileOrderAndSaveWritesExactBytesWithNoOldTail)
{
    Put(RisingRecords() + std::string("\x9F\x86\1\0\3Elf", 8) + std::string(100, 'z'));
    CHighscores table;
    table.Load(kFile);
    EXPECT_TRUE(table.m_Entries[0].m_Name == "P1" && table.m_Entries[9].m_Name == "P10" &&
                table.m_Entries[9].m_nScore == 1000);
    // Ranked as read: the first place from the top that holds a lower score.
    EXPECT_TRUE(table.GetRank(150) == 1 && table.GetRank(50) == -1);
    table.Insert("Neu", 550); // sorts all eleven lines
    EXPECT_TRUE(
        std::ranges::is_sorted(table.m_Entries, std::greater{}, &CHighscoreEntry::m_nScore) &&
        table.m_Entries[5].m_Name == "Neu");
    EXPECT_EQ(Save(), 0);
    EXPECT_EQ(FileBytes(kFile), kDefaultBytes);
    CHighscores unnamed;
    unnamed.m_Entries[9].m_Name = "";
    unnamed.Save(kFile);
    EXPECT_EQ(FileBytes(kFile), kDefaultBytes.substr(0, 76) + '\0');
    table.Load(kFile);
    EXPECT_TRUE(table.m_Entries[9].m_Name.IsEmpty() && table.m_Entries[9].m_nScore == 19000);
    ExpectOnlyTheTableFile();
}

TEST_F(HighscoreFileTest, EveryLoadFailureGivesTheWholeDefaultTable)
{
    std::string forged = RisingRecords();
    forged.replace(3 * 7 + 4, 1, std::string(7, '\xFF')); // 4 GiB name in record 4
    // Six and a half records, a forged length, an empty file, no file.
    for (const std::string& bytes :
         {RisingRecords().substr(0, 48), forged, std::string(), std::string("-")})
    {
        SCOPED_TRACE(bytes.size());
        bytes == "-" ? void(fs::remove(kFile)) : Put(bytes);
        CHighscores table;
        table.Insert("Anna", 40000);
        table.Load(kFile);
        for (int i = 0; i < CHighscores::PLACES; ++i)
            EXPECT_TRUE(table.m_Entries[i].m_Name == "CPU" &&
                        table.m_Entries[i].m_nScore == 37000 - 2000 * i)
                << "place " << i + 1;
    }
    EXPECT_TRUE(platform::testing::TakeModalBoxes().empty());
}

// What was there stays whole (same file, bytes and mode), nothing is left
// beside it, and the player is warned once; a write-protected file and a FIFO
// are refused so in the end-to-end faults. A player's file in a folder the
// player may not write is written in place, so a write that stops half way must
// put back what it overwrote.
TEST_F(HighscoreFileTest, RefusedSavesKeepWhatWasThereAndWarnOnce)
{
    using Fixture = HighscoreFileTest;
    const auto none = [](Fixture&) { return true; };
    const auto failWrite = [] { platform::testing::FailFileWritesAfter(40); };
    const auto failClose = [] { platform::testing::FailNextFileClose(); };
    const auto playersFile = [](Fixture& t)
    { return (geteuid() != 0 || chown(kFile, kPlayer, kPlayer) == 0) && t.Lock(0555); };
    // What is refused, the file's type, its preparation (false: not possible
    // here), the fault, and whether the player saves.
    const std::tuple<const char*, mode_t, bool (*)(Fixture&), void (*)(), bool> cases[] = {
        {"write fails", S_IFREG, none, failWrite, false},
        {"close fails", S_IFREG, none, failClose, false},
        {"folder", S_IFDIR, [](Fixture&) { return fs::remove(kFile) && mkdir(kFile, 0755) == 0; },
         [] {}, false},
        {"player's file, write fails", S_IFREG, playersFile, failWrite, true},
        {"player's file, close fails", S_IFREG, playersFile, failClose, true},
        // The player can make no file the player may not write, root can.
        {"someone else's file", S_IFREG, [](Fixture& t) { return geteuid() == 0 && t.Lock(0777); },
         [] {}, true},
        // Last: the folder stays read-only. Only root can bind-mount it so.
        {"read-only medium", S_IFREG,
         [](Fixture& t)
         {
             t.mounted = mount(t.folder.c_str(), t.folder.c_str(), nullptr, MS_BIND, nullptr) == 0;
             fs::current_path(t.folder); // step onto the mounted view
             return t.mounted && mount(nullptr, t.folder.c_str(), nullptr,
                                       MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
         },
         [] {}, false},
    };
    const std::string old = RisingRecords() + std::string(200, 'z');
    for (const auto& [what, type, prepare, fault, player] : cases)
    {
        SCOPED_TRACE(what);
        chmod(folder.c_str(), 0700);
        Put(old);
        struct stat before, after;
        ASSERT_EQ(stat(kFile, &before), 0);
        if (!prepare(*this))
        {
            std::printf("skipped %s: %s\n", what, std::strerror(errno));
            continue;
        }
        CHighscores table;
        table.Load(kFile);
        EXPECT_EQ(table.m_Entries[9].m_Name, type == S_IFREG ? "P10" : "CPU");
        EXPECT_EQ(
            player ? AsPlayer([fault = fault] { return fault(), Save(); }) : (fault(), Save()), 1);
        ExpectOnlyTheTableFile();
        ASSERT_EQ(lstat(kFile, &after), 0);
        EXPECT_EQ(after.st_mode & S_IFMT, type);
        EXPECT_TRUE(type != S_IFREG || (FileBytes(kFile) == old && after.st_ino == before.st_ino));
        std::error_code ignored; // a read-only medium keeps it
        fs::remove(kFile, ignored);
    }
}

TEST_F(HighscoreFileTest, SavesFollowLinksKeepModeAndOwnerAndIgnorePlantedFiles)
{
    // A link stays a link; the file it points to, through a chain or not yet
    // there, takes the table, and nothing is left beside it.
    fs::create_directory("data");
    const std::string absolute = folder + "/data/abs.sav";
    // What highscore.sav points to, a link on the way or null, and whether
    // the file at the end is there yet.
    const std::tuple<const char*, const char*, bool> links[] = {{absolute.c_str(), nullptr, true},
                                                                {"hop.sav", "data/chain.sav", true},
                                                                {"data/new.sav", nullptr, false}};
    for (const auto& [link, second, there] : links)
    {
        SCOPED_TRACE(link);
        const char* target = second ? second : link;
        if (there)
            std::ofstream(target, std::ios::binary) << RisingRecords();
        if (second)
            fs::create_symlink(second, link);
        fs::create_symlink(link, kFile);
        EXPECT_EQ(Save(), 0);
        EXPECT_TRUE(fs::read_symlink(kFile) == link && FileBytes(target) == kDefaultBytes);
        for (const auto& entry : fs::directory_iterator("data"))
            EXPECT_TRUE(fs::equivalent(entry.path(), target)) << entry.path();
        for (const char* name : {kFile, target, link})
            fs::remove(name);
    }
    fs::remove("data");

    // Links planted where a temporary file might go are neither followed nor
    // stop the save; the new file keeps the old one's mode and owner, or is
    // written in place where the player may not write the folder.
    const std::string victim = folder + "/victim";
    std::ofstream(victim) << "keep";
    const char* const planted[] = {"highscore.sav.tmp", "highscore.sav.XXXXXX", ".highscore.sav",
                                   "highscore.sav~", "highscore.tmp"};
    for (const char* name : planted)
        fs::create_symlink(victim, name);
    fs::create_directory("sub");
    ASSERT_EQ(mkfifo("sub/highscore.sav.tmp", 0644), 0);
    const uid_t owner = geteuid() == 0 ? kPlayer : geteuid();
    for (const mode_t mode : {0600, 0664, 0644})
    {
        SCOPED_TRACE(mode);
        const bool inPlace = mode == 0644;
        Put(RisingRecords() + std::string(200, 'z'));
        ASSERT_EQ(chmod(kFile, mode), 0);
        ASSERT_TRUE(geteuid() != 0 || chown(kFile, kPlayer, kPlayer) == 0);
        struct stat before, after;
        ASSERT_EQ(stat(kFile, &before), 0);
        ASSERT_TRUE(!inPlace || Lock(0555));
        EXPECT_EQ(inPlace ? AsPlayer(Save) : Save(), 0);
        chmod(folder.c_str(), 0700);
        EXPECT_EQ(FileBytes(kFile), kDefaultBytes);
        ASSERT_EQ(stat(kFile, &after), 0);
        EXPECT_TRUE((after.st_mode & 07777) == mode && after.st_uid == owner &&
                    (!inPlace || after.st_ino == before.st_ino));
    }
    EXPECT_EQ(FileBytes(victim), "keep");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()),
              std::ssize(planted) + 3);
    for (const char* name : planted)
        EXPECT_EQ(fs::read_symlink(name), victim) << name;

    fs::remove(kFile);
    const mode_t mask = umask(027);
    EXPECT_EQ(Save(), 0);
    umask(mask);
    struct stat info;
    ASSERT_EQ(stat(kFile, &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u) << "a first file as the umask says";
}

// Where the table cannot be replaced by a new file (a hard link would split,
// a sticky shared folder keeps another user's file from being replaced) the
// file is written where it is, or, when that write fails, keeps its old bytes.
TEST_F(HighscoreFileTest, TablesThatCannotBeReplacedAreWrittenInPlace)
{
    const std::string old = RisingRecords() + std::string(200, 'z');
    const auto hardLink = [] { return link(kFile, "backup.sav") == 0; };
    // Root makes the folder sticky and the file someone else's that the player may write.
    const auto sticky = [this]
    {
        return geteuid() == 0 && chown(kFile, kPlayer - 1, kPlayer - 1) == 0 &&
               chmod(kFile, 0666) == 0 && Lock(01777);
    };
    const std::tuple<const char*, bool (*)(), std::function<bool()>, bool> cases[] = {
        {"hard link", [] { return true; }, hardLink, false},
        {"hard link, write fails", [] { return platform::testing::FailFileWritesAfter(40), true; },
         hardLink, false},
        {"sticky folder", [] { return true; }, sticky, true},
        // The new table is written beside first, then over the file.
        {"sticky folder, write fails",
         [] { return platform::testing::FailFileWritesAfter(120), true; }, sticky, true},
    };
    for (const auto& [what, fault, prepare, player] : cases)
    {
        SCOPED_TRACE(what);
        Lock(0700);
        Put(old);
        if (!prepare())
        {
            std::printf("skipped %s: %s\n", what, std::strerror(errno));
            continue;
        }
        struct stat before, after;
        ASSERT_EQ(stat(kFile, &before), 0);
        const auto save = [fault = fault] { return fault(), Save(); };
        const bool fails = std::string(what).ends_with("fails");
        EXPECT_EQ(player ? AsPlayer(save) : save(), fails ? 1 : 0);
        ASSERT_EQ(stat(kFile, &after), 0);
        EXPECT_EQ(FileBytes(kFile), fails ? old : kDefaultBytes);
        EXPECT_TRUE(after.st_ino == before.st_ino && after.st_nlink == before.st_nlink &&
                    after.st_uid == before.st_uid &&
                    (after.st_mode & 07777) == (before.st_mode & 07777));
        for (const auto& entry : fs::directory_iterator(folder))
            EXPECT_TRUE(fs::equivalent(entry.path(), kFile)) << entry.path();
        fs::remove("backup.sav");
        fs::remove(kFile);
    }
}

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
