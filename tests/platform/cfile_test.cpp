// Opening the game's files: folder separators, the failures of opening, only
// regular files and never a wait, and the claim on the working folder.
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
#include <sys/wait.h>
#include <unistd.h>

namespace
{

class CFileTest : public ::testing::Test
{
protected:
    ScratchDirectory m_Directory;
};

// The exit status of body run in a child process started in this folder.
int InChild(const std::function<bool()>& body)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(body() ? 0 : 1);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

} // namespace

TEST_F(CFileTest, OpensGamePathsAndReportsWhyOpeningFailed)
{
    std::filesystem::create_directory("Sounds");
    std::ofstream("Sounds/Klick.wav") << "RIFF";

    CFile file;
    ASSERT_TRUE(file.Open("Sounds\\Klick.wav", CFile::modeRead));
    char bytes[8] = {};
    EXPECT_EQ(file.Read(bytes, sizeof bytes), 4u);
    EXPECT_EQ(std::string(bytes, 4), "RIFF");
    EXPECT_EQ(file.Read(bytes, sizeof bytes), 0u);
    file.Close();

    CFileException error;
    EXPECT_FALSE(file.Open("missing.sav", CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);

    CFile holder;
    ASSERT_TRUE(holder.Open("a.sav", CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive));
    EXPECT_FALSE(file.Open("a.sav", CFile::modeRead | CFile::shareExclusive, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
    holder.Close();
    EXPECT_TRUE(file.Open("a.sav", CFile::modeRead | CFile::shareExclusive));
    file.Close();
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
            if (file)
                std::fclose(file);
            return file != nullptr;
        },
        [](const char* name)
        {
            HANDLE bitmap = LoadImageA(nullptr, name, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
            if (bitmap)
                DeleteObject(bitmap);
            return bitmap != nullptr;
        },
    };
    for (const char* name : {"fifo", "folder", "device"})
        for (std::size_t i = 0; i < std::size(openers); ++i)
            EXPECT_FALSE(openers[i](name)) << name << " with opener " << i;
    alarm(0);

    CFileException error;
    EXPECT_FALSE(CFile().Open("folder", CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::accessDenied);
    struct stat info;
    ASSERT_EQ(stat("fifo", &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST_F(CFileTest, OneProcessAtATimeClaimsAWorkingFolder)
{
    // A claim that ends with its process is free again.
    EXPECT_EQ(InChild(ClaimWorkingFolder), 0);
    ASSERT_TRUE(ClaimWorkingFolder());
    EXPECT_TRUE(ClaimWorkingFolder()) << "claimed again by its holder";
    EXPECT_EQ(InChild(ClaimWorkingFolder), 1) << "a second process in the same folder";
    EXPECT_EQ(InChild(
                  []
                  {
                      std::filesystem::create_directory("other");
                      std::filesystem::current_path("other");
                      return ClaimWorkingFolder();
                  }),
              0)
        << "another folder is free";
}
