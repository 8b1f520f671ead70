// "highscore.sav" on disk: the exact bytes, every load failure giving the
// whole default table, and saves that either replace the file whole or leave
// it untouched and warn the player.
#include "highscores/chighscores.h"
#include "platform/testing/testing.h"
#include "tests/support/scratchdirectory.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <iterator>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

std::string Record(int score, const std::string& name)
{
    std::string bytes;
    for (int shift = 0; shift < 32; shift += 8)
        bytes += static_cast<char>((static_cast<unsigned>(score) >> shift) & 0xFF);
    return bytes + static_cast<char>(name.size()) + name;
}

// "P1" to "P10"; appended, as g++ 12 warns falsely about "P" + a string.
std::string NameP(int number)
{
    std::string name = "P";
    return name.append(std::to_string(number));
}

// Ten records "P1" to "P10" with rising scores, not in table order.
std::string RisingRecords()
{
    std::string bytes;
    for (int i = 1; i <= 10; ++i)
        bytes += Record(100 * i, NameP(i));
    return bytes;
}

// The ordinary user that root plays in the tests, where permission bits count.
constexpr uid_t kPlayer = 65534;

// Runs body in a child process as an ordinary user (the test's own user when
// that is no root); the child's exit status, or -1.
int AsPlayer(const std::function<int()>& body)
{
    const pid_t child = fork();
    if (child == 0)
    {
        if (geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(kPlayer) != 0 || setuid(kPlayer) != 0))
            _exit(100);
        _exit(body());
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

void ExpectDefaults(const CHighscores& table)
{
    for (int i = 0; i < CHighscores::PLACES; ++i)
    {
        EXPECT_EQ(table.m_Entries[i].m_Name, "CPU") << "place " << i + 1;
        EXPECT_EQ(table.m_Entries[i].m_nScore, 37000 - 2000 * i) << "place " << i + 1;
    }
}

class HighscoreFileTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        if (m_mounted)
            umount2(m_folder.c_str(), MNT_DETACH);
        chmod(m_folder.c_str(), 0700);
    }

    static void Put(const std::string& bytes)
    {
        std::ofstream(kFile, std::ios::binary | std::ios::trunc) << bytes;
    }

    static std::string Get()
    {
        std::ifstream in(kFile, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    // Only the target is left in the folder: no temporary file stays behind.
    void ExpectOnlyTheTableFile() const
    {
        for (const auto& entry : std::filesystem::directory_iterator(m_folder))
            EXPECT_EQ(entry.path().filename(), kFile);
    }

    // A save that fails keeps the old file whole and warns the player once.
    void ExpectSaveRefused(CHighscores& table, const std::string& old) const
    {
        table.Save(kFile);
        EXPECT_EQ(Get(), old);
        ExpectOnlyTheTableFile();
        ExpectWarnedOnce();
    }

    static void ExpectWarnedOnce()
    {
        const auto boxes = platform::testing::TakeModalBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, "Warnung");
        EXPECT_EQ(boxes[0].text,
                  "Die Highscores konnten nicht gespeichert werden.\nDer Datentr\xE4ger oder die "
                  "Datei ist schreibgesch\xFCtzt.");
    }

    ScratchDirectory m_Directory;
    const std::string m_folder = std::filesystem::current_path();
    bool m_mounted = false;
};

} // namespace

TEST_F(HighscoreFileTest, LoadKeepsFileOrderAndSaveWritesExactBytesWithNoOldTail)
{
    // An eleventh record and more bytes, all ignored; the saves below must
    // not leave them as a tail.
    Put(RisingRecords() + Record(99999, "Elf") + std::string(100, 'z'));
    CHighscores loaded;
    loaded.Load(kFile);
    for (int i = 0; i < CHighscores::PLACES; ++i)
    {
        EXPECT_EQ(std::string(loaded.m_Entries[i].m_Name), NameP(i + 1));
        EXPECT_EQ(loaded.m_Entries[i].m_nScore, 100 * (i + 1));
    }

    CHighscores table;
    table.Save(kFile);
    EXPECT_EQ(Get(), kDefaultBytes);
    table.m_Entries[9].m_Name = "";
    table.Save(kFile);
    EXPECT_EQ(Get(), kDefaultBytes.substr(0, 76) + '\0');
    loaded.Load(kFile);
    EXPECT_TRUE(loaded.m_Entries[9].m_Name.IsEmpty());
    EXPECT_EQ(loaded.m_Entries[9].m_nScore, 19000);

    EXPECT_TRUE(platform::testing::TakeModalBoxes().empty());
    ExpectOnlyTheTableFile();
}

TEST_F(HighscoreFileTest, EveryLoadFailureGivesTheWholeDefaultTable)
{
    const std::string sixAndAHalf = RisingRecords().substr(0, 6 * 7 + 4 + 2);
    std::string forged = RisingRecords();
    forged.replace(3 * 7 + 4, 1, std::string(7, '\xFF')); // 4 GiB name in record 4
    const std::string empty;
    const std::string* const cases[] = {&sixAndAHalf, &forged, &empty, nullptr}; // null: no file
    for (const std::string* bytes : cases)
    {
        SCOPED_TRACE(bytes ? bytes->size() : -1);
        if (bytes)
            Put(*bytes);
        else
            std::filesystem::remove(kFile);
        CHighscores table;
        table.Insert("Anna", 40000);
        table.Load(kFile);
        ExpectDefaults(table);
    }
    EXPECT_TRUE(platform::testing::TakeModalBoxes().empty());
}

TEST_F(HighscoreFileTest, AFifoOrAFolderAsTheTableNeitherBlocksNorIsReplaced)
{
    alarm(10); // a blocking open ends the test here instead of hanging it
    for (const bool fifo : {true, false})
    {
        SCOPED_TRACE(fifo ? "FIFO" : "folder");
        ASSERT_EQ(fifo ? mkfifo(kFile, 0644) : mkdir(kFile, 0755), 0);
        CHighscores table;
        table.Insert("Anna", 40000);
        table.Load(kFile);
        ExpectDefaults(table);
        table.Save(kFile);
        ExpectWarnedOnce();
        ExpectOnlyTheTableFile();
        struct stat info;
        ASSERT_EQ(lstat(kFile, &info), 0);
        EXPECT_TRUE(fifo ? S_ISFIFO(info.st_mode) : S_ISDIR(info.st_mode));
        std::filesystem::remove(kFile);
    }
    alarm(0);
}

TEST_F(HighscoreFileTest, WriteProtectedFileIsReadButKeptAndWarns)
{
    const std::string old = RisingRecords();
    Put(old);
    ASSERT_EQ(chmod(kFile, 0444), 0);

    CHighscores table;
    table.Load(kFile);
    EXPECT_EQ(table.m_Entries[9].m_Name, "P10");
    table.Insert("Anna", 5000);
    ExpectSaveRefused(table, old);
    EXPECT_EQ(table.m_Entries[0].m_Name, "Anna") << "the table in memory stays";
}

TEST_F(HighscoreFileTest, FailureWhileWritingOrClosingKeepsTheOldFile)
{
    const std::string old = RisingRecords();
    Put(old);
    CHighscores table;

    platform::testing::FailFileWritesAfter(40);
    ExpectSaveRefused(table, old);
    platform::testing::FailNextFileClose();
    ExpectSaveRefused(table, old);

    table.Save(kFile);
    EXPECT_EQ(Get(), kDefaultBytes);
    EXPECT_TRUE(platform::testing::TakeModalBoxes().empty());
}

TEST_F(HighscoreFileTest, AReadOnlyMediumKeepsTheFileAndWarns)
{
    Put(RisingRecords());
    // Only root can give the folder a read-only view of itself.
    if (mount(m_folder.c_str(), m_folder.c_str(), nullptr, MS_BIND, nullptr) != 0)
        GTEST_SKIP() << "cannot bind-mount a read-only folder here: " << std::strerror(errno);
    m_mounted = true;
    ASSERT_EQ(mount(nullptr, m_folder.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr),
              0)
        << std::strerror(errno);
    std::filesystem::current_path(m_folder); // step onto the mounted view

    CHighscores table;
    ExpectSaveRefused(table, RisingRecords());
}

TEST_F(HighscoreFileTest, ALinkStaysALinkAndTheFileItPointsToTakesTheTable)
{
    std::filesystem::create_directory("data");
    struct Case
    {
        const char* link;   // what highscore.sav points to
        const char* second; // a link on the way, or null
        const char* target; // the file that takes the table
        bool exists;
    };
    const std::string absolute = m_folder + "/data/abs.sav";
    const Case cases[] = {
        {"data/real.sav", nullptr, "data/real.sav", true},
        {absolute.c_str(), nullptr, absolute.c_str(), true},
        {"hop.sav", "data/chain.sav", "data/chain.sav", true},
        {"data/new.sav", nullptr, "data/new.sav", false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.link);
        if (c.exists)
            std::ofstream(c.target, std::ios::binary) << RisingRecords();
        if (c.second)
            std::filesystem::create_symlink(c.second, c.link);
        std::filesystem::create_symlink(c.link, kFile);

        CHighscores table;
        table.Save(kFile);
        EXPECT_TRUE(platform::testing::TakeModalBoxes().empty());
        ASSERT_TRUE(std::filesystem::is_symlink(kFile));
        EXPECT_EQ(std::filesystem::read_symlink(kFile), c.link);
        EXPECT_EQ(Get(), kDefaultBytes);
        std::ifstream in(c.target, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), kDefaultBytes);
        // Nothing but the target is left beside it.
        for (const auto& entry : std::filesystem::directory_iterator("data"))
            EXPECT_TRUE(std::filesystem::equivalent(entry.path(), c.target)) << entry.path();

        std::filesystem::remove(kFile);
        std::filesystem::remove(c.target);
        if (c.second)
            std::filesystem::remove(c.link);
    }
}

TEST_F(HighscoreFileTest, FilesPlantedBesideTheTableAreNeitherFollowedNorStopTheSave)
{
    const std::string victim = m_folder + "/victim";
    std::ofstream(victim) << "keep";
    Put(RisingRecords());
    const char* const planted[] = {"highscore.sav.tmp", "highscore.sav.XXXXXX", ".highscore.sav",
                                   "highscore.sav~", "highscore.tmp"};
    std::filesystem::create_directory("sub");
    for (const char* name : planted)
        std::filesystem::create_symlink(victim, name);
    ASSERT_EQ(mkfifo("sub/highscore.sav.tmp", 0644), 0);

    CHighscores table;
    table.Save(kFile);
    EXPECT_TRUE(platform::testing::TakeModalBoxes().empty());
    EXPECT_EQ(Get(), kDefaultBytes);
    std::ifstream in(victim);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "keep");
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(m_folder))
        ++entries;
    EXPECT_EQ(entries, std::size(planted) + 3) << "the table, the victim and sub only";
    for (const char* name : planted)
        EXPECT_EQ(std::filesystem::read_symlink(name), victim) << name;
}

TEST_F(HighscoreFileTest, TheNewFileKeepsTheOldOnesModeAndOwner)
{
    for (const mode_t mode : {0600, 0640, 0664})
    {
        SCOPED_TRACE(mode);
        Put(RisingRecords());
        ASSERT_EQ(chmod(kFile, mode), 0);
        const bool root = geteuid() == 0;
        if (root)
        {
            ASSERT_EQ(chown(kFile, kPlayer, kPlayer), 0);
        }
        CHighscores table;
        table.Save(kFile);
        EXPECT_EQ(Get(), kDefaultBytes);
        struct stat info;
        ASSERT_EQ(stat(kFile, &info), 0);
        EXPECT_EQ(info.st_mode & 07777, mode);
        EXPECT_EQ(info.st_uid, root ? kPlayer : geteuid());
    }
    std::filesystem::remove(kFile);
    const mode_t mask = umask(027);
    CHighscores table;
    table.Save(kFile);
    umask(mask);
    struct stat info;
    ASSERT_EQ(stat(kFile, &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u) << "a first file as the umask says";
    EXPECT_TRUE(platform::testing::TakeModalBoxes().empty());
}

TEST_F(HighscoreFileTest, AsAPlayerAWritableTableInAFolderThatIsNotIsWrittenInPlace)
{
    // The old file is longer than the new table, so a write that stops half
    // way must put back more than it overwrote.
    const std::string old = RisingRecords() + std::string(200, 'z');
    const bool root = geteuid() == 0;
    struct Case
    {
        const char* what;
        mode_t folder;
        bool playersFile;
        void (*fault)();
        bool saved;
    };
    const Case cases[] = {
        {"in place", 0555, true, [] {}, true},
        {"write fails", 0555, true, [] { platform::testing::FailFileWritesAfter(40); }, false},
        {"close fails", 0555, true, [] { platform::testing::FailNextFileClose(); }, false},
        {"someone else's file", 0777, false, [] {}, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        if (!c.playersFile && !root)
            continue; // the test's user can make no file that it may not write
        ASSERT_EQ(chmod(m_folder.c_str(), 0755), 0);
        std::filesystem::remove(kFile);
        Put(old);
        ASSERT_EQ(chmod(kFile, 0644), 0);
        if (root && c.playersFile)
        {
            ASSERT_EQ(chown(kFile, kPlayer, kPlayer), 0);
        }
        struct stat before;
        ASSERT_EQ(stat(kFile, &before), 0);
        ASSERT_EQ(chmod(m_folder.c_str(), c.folder), 0);

        const int warnings = AsPlayer(
            [&c]
            {
                c.fault();
                CHighscores table;
                table.Save(kFile);
                return static_cast<int>(platform::testing::TakeModalBoxes().size());
            });
        EXPECT_EQ(warnings, c.saved ? 0 : 1);
        EXPECT_EQ(Get(), c.saved ? kDefaultBytes : old);
        struct stat after;
        ASSERT_EQ(stat(kFile, &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_mode, before.st_mode);
        ExpectOnlyTheTableFile();
    }
}
