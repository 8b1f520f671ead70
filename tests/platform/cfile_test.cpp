// The file class on real files: folder separators and the failures of opening.
#include "platform/framework/cfile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

TEST(CFileTest, OpensGamePathsAndReportsWhyOpeningFailed)
{
    char pattern[] = "/tmp/tz-cfile-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string folder = pattern;
    std::filesystem::create_directory(folder + "/Sounds");
    std::ofstream(folder + "/Sounds/Klick.wav") << "RIFF";

    CFile file;
    ASSERT_TRUE(file.Open((folder + "/Sounds\\Klick.wav").c_str(), CFile::modeRead));
    char bytes[8] = {};
    EXPECT_EQ(file.Read(bytes, sizeof bytes), 4u);
    EXPECT_EQ(std::string(bytes, 4), "RIFF");
    EXPECT_EQ(file.Read(bytes, sizeof bytes), 0u);
    file.Close();

    CFileException error;
    EXPECT_FALSE(file.Open((folder + "/missing.sav").c_str(), CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_FALSE(file.Open(folder.c_str(), CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::accessDenied);

    const std::string shared = folder + "/a.sav";
    CFile holder;
    ASSERT_TRUE(
        holder.Open(shared.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive));
    EXPECT_FALSE(file.Open(shared.c_str(), CFile::modeRead | CFile::shareExclusive, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
    holder.Close();
    EXPECT_TRUE(file.Open(shared.c_str(), CFile::modeRead | CFile::shareExclusive));
    file.Close();

    std::filesystem::remove_all(folder);
}
