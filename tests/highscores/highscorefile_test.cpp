// "highscore.sav" on disk: the exact bytes, every load failure giving the
// whole default table, and saves that either replace the file whole or leave
// it untouched and warn the player.
#include "highscores/chighscores.h"
#include "platform/testing/testing.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
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

// Ten records "P1" to "P10" with rising scores, not in table order.
std::string RisingRecords()
{
    std::string bytes;
    for (int i = 1; i <= 10; ++i)
        bytes += Record(100 * i, "P" + std::to_string(i));
    return bytes;
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
    void SetUp() override
    {
        char pattern[] = "/tmp/tz-highscores-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_folder = pattern;
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_folder);
    }

    void TearDown() override
    {
        std::filesystem::current_path(m_previous);
        if (m_mounted)
            umount2(m_folder.c_str(), MNT_DETACH);
        chmod(m_folder.c_str(), 0700);
        std::filesystem::remove_all(m_folder);
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
        const auto boxes = platform::testing::TakeModalBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, "Warnung");
        EXPECT_EQ(boxes[0].text,
                  "Die Highscores konnten nicht gespeichert werden.\nDer Datentr\xE4ger oder die "
                  "Datei ist schreibgesch\xFCtzt.");
    }

    std::string m_folder;
    std::filesystem::path m_previous;
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
        EXPECT_EQ(std::string(loaded.m_Entries[i].m_Name), "P" + std::to_string(i + 1));
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

TEST_F(HighscoreFileTest, WriteProtectedFolderKeepsTheFileAndWarns)
{
    Put(RisingRecords());
    if (geteuid() != 0)
    {
        ASSERT_EQ(chmod(m_folder.c_str(), 0555), 0);
    }
    else
    {
        // Permissions do not stop root; a read-only view of the folder does.
        if (mount(m_folder.c_str(), m_folder.c_str(), nullptr, MS_BIND, nullptr) != 0)
            GTEST_SKIP() << "cannot bind-mount a read-only folder here: " << std::strerror(errno);
        m_mounted = true;
        ASSERT_EQ(
            mount(nullptr, m_folder.c_str(), nullptr, MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr), 0)
            << std::strerror(errno);
        std::filesystem::current_path(m_folder); // step onto the mounted view
    }

    CHighscores table;
    ExpectSaveRefused(table, RisingRecords());
}
