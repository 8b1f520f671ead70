// Opening the game's files: only regular files and never a wait, and the
// claim on the working folder. The game's "Sounds\\"
// paths are opened in every scenario test.
#include "platform/framework/cfile.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/gamepath.h"
#include "tests/support/scratchdirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

class CFileTest : public ::testing::Test
{
    ScratchDirectory m_Directory;
};

} // namespace

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
}
