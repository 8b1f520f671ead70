// The game's files: the archive's byte layout (integers, the three length
// prefixes, the UTF-16 form, and data that ends too early or announces more
// than the file holds), opening only regular files and never waiting, and the
// claim on the working folder. The game's "Sounds\\" paths are opened in every
// scenario test.
#include "platform/framework/carchive.h"
#include "platform/framework/cfile.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/gamepath.h"
#include "platform/win32/workingfolder.h"
#include "tests/support/scratchdirectory.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <new>
#include <string>

namespace
{

// The largest single allocation while a test watches.
std::atomic<bool> g_watchAllocations{false};
std::atomic<std::size_t> g_largestAllocation{0};

} // namespace

// Out of line, so that no caller sees a new paired with free.
__attribute__((noinline)) void* operator new(std::size_t size)
{
    if (g_watchAllocations && size > g_largestAllocation)
        g_largestAllocation = size;
    if (void* memory = std::malloc(size ? size : 1))
        return memory;
    throw std::bad_alloc();
}
__attribute__((noinline)) void operator delete(void* memory) noexcept
{
    std::free(memory);
}
__attribute__((noinline)) void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

namespace
{

// Bytes as written, zeros included.
template <std::size_t N> std::string B(const char (&bytes)[N])
{
    return {bytes, N - 1};
}

std::string Stored(const CString& name, LONG value)
{
    CFile file;
    EXPECT_TRUE(file.Open("a.sav", CFile::modeCreate | CFile::modeWrite));
    CArchive archive(&file, CArchive::store);
    archive << value << name;
    archive.Close();
    file.Close();
    return FileBytes("a.sav");
}

CString LoadName(const std::string& bytes)
{
    std::ofstream("a.sav", std::ios::binary | std::ios::trunc) << bytes;
    CFile file;
    EXPECT_TRUE(file.Open("a.sav", CFile::modeRead));
    CArchive archive(&file, CArchive::load);
    CString name;
    archive >> name;
    return name;
}

class CArchiveTest : public ::testing::Test
{
    ScratchDirectory m_Directory;
};
using CFileTest = CArchiveTest;

} // namespace

TEST_F(CArchiveTest, IntegersAndLengthPrefixesAtTheirBounds)
{
    const std::pair<int, std::string> cases[] = {
        {0, B("\x00")},
        {254, "\xFE"},
        {255, B("\xFF\xFF\x00")},
        {65533, "\xFF\xFD\xFF"},
        {65534, B("\xFF\xFF\xFF\xFE\xFF\x00\x00")},
    };
    for (const auto& [length, prefix] : cases)
    {
        const CString name('n', length);
        const std::string bytes = Stored(name, -37000);
        EXPECT_EQ(bytes, "\x78\x6F\xFF\xFF" + prefix + std::string(length, 'n')) << length;
        EXPECT_EQ(LoadName(bytes.substr(4)), name) << length;
    }
    // "A", a-umlaut, the euro sign, a letter the code page lacks, a surrogate
    // pair and a lone surrogate; the count after the marker uses the 3-byte form.
    EXPECT_EQ(
        LoadName(B("\xFF\xFE\xFF\xFF\x07\000A\0\xE4\0\xAC\x20\x00\x01\x3D\xD8\x00\xDE\x00\xD8")),
        "A\xE4\x80???");
}

TEST_F(CArchiveTest, ShortOrForgedDataFailsWithoutBigAllocations)
{
    const std::string forged[] = {
        "\005abc",                                       // ends inside the name
        B("\xFF\x01"),                                   // ends inside the prefix
        B("\xFF\xFF\xFF\x00\x00\x00\100abc"),            // 1 GiB announced
        B("\xFF\xFF\xFF\xFF\xFF\xFF\377abc"),            // 4 GiB announced
        B("\xFF\xFE\xFF\xFF\xFF\xFF\x00\x00\x00\040ab"), // 512 M wide characters
    };
    for (const std::string& bytes : forged)
    {
        g_largestAllocation = 0;
        g_watchAllocations = true;
        try
        {
            LoadName(bytes);
            ADD_FAILURE() << "no failure reported";
        }
        catch (const CArchiveException& error)
        {
            EXPECT_EQ(error.m_cause, CArchiveException::endOfFile);
        }
        g_watchAllocations = false;
        EXPECT_LT(g_largestAllocation.load(), 65536u) << bytes.size();
    }
}

TEST_F(CFileTest, OnlyRegularFilesOpenAndNothingWaits)
{
    alarm(10); // a blocking open ends the test here instead of hanging it
    ASSERT_EQ(mkfifo("fifo", 0644), 0);
    std::filesystem::create_directory("folder");
    std::filesystem::create_symlink("/dev/null", "device");
    const std::function<bool(const char*)> openers[] = {
        [](const char* name) { return CFile().Open(name, CFile::modeRead) != FALSE; },
        [](const char* name)
        { return CFile().Open(name, CFile::modeCreate | CFile::modeWrite) != FALSE; },
        [](const char* name)
        {
            std::FILE* file = OpenGameFile(name);
            return file != nullptr && std::fclose(file) == 0;
        },
        [](const char* name)
        {
            HANDLE bitmap = LoadImageA(nullptr, name, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
            return bitmap != nullptr && DeleteObject(bitmap);
        },
    };
    for (const char* name : {"fifo", "folder", "device"})
        for (std::size_t i = 0; i < std::size(openers); ++i)
            EXPECT_FALSE(openers[i](name)) << name << " with opener " << i;
    alarm(0);

    struct stat info;
    EXPECT_TRUE(stat("fifo", &info) == 0 && S_ISFIFO(info.st_mode)) << "left as it was";
}

TEST_F(CFileTest, OneProcessAtATimeClaimsAWorkingFolder)
{
    const auto claim = [] { return int(!ClaimWorkingFolder()); };
    EXPECT_EQ(InChild(claim), 0) << "a claim that ends with its process";
    ASSERT_TRUE(ClaimWorkingFolder());
    EXPECT_TRUE(ClaimWorkingFolder()) << "claimed again by its holder";
    EXPECT_EQ(InChild(claim), 1) << "a second process in the same folder";
    auto elsewhere = []
    {
        std::filesystem::create_directory("other");
        std::filesystem::current_path("other");
        return int(!ClaimWorkingFolder());
    };
    EXPECT_EQ(InChild(elsewhere), 0) << "another folder is free";

    // A folder the player may write and enter but not read is claimed too.
    ASSERT_EQ(chmod(".", 0711), 0);
    std::filesystem::create_directory("locked");
    ASSERT_TRUE(geteuid() != 0 || chown("locked", kPlayer, kPlayer) == 0);
    ASSERT_EQ(chmod("locked", 0311), 0);
    const auto inLocked = []
    {
        if (chdir("locked") != 0 || open(".", O_RDONLY | O_DIRECTORY) >= 0)
            return 3;
        if (!ClaimWorkingFolder())
            return 1;
        return InChild([] { return int(ClaimWorkingFolder()); }) == 0 ? 0 : 2;
    };
    EXPECT_EQ(AsPlayer(inLocked), 0) << "1: not claimed, 2: claimed twice, 3: readable";
}
