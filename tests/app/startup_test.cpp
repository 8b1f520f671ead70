// The start from the player's side: the choice of window or full screen kept
// across starts whatever state its file is in, and --silent playing with no
// sound device at all.
#include "app/settings.h"
#include "platform/win32/screenmode.h"
#include "tests/app/scenario.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

using namespace scenario;

namespace
{

using platform::ScreenMode;

// Sets an environment variable for one scope (null: unset) and restores it.
struct Environment
{
    Environment(const char* name, const char* value) : name(name)
    {
        if (const char* old = std::getenv(name))
            saved = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~Environment() { saved ? setenv(name, saved->c_str(), 1) : unsetenv(name); }
    const char* name;
    std::optional<std::string> saved;
};

TEST(SettingsTest, TheFileFollowsXdgConfigHomeOnlyWhenItIsAbsolute)
{
    // XDG_CONFIG_HOME, HOME (null: unset), and the file.
    const char* const cases[][3] = {
        {"/x/config", "/home/p", "/x/config/tamzelon/settings"},
        {"relative/config", "/home/p", "/home/p/.config/tamzelon/settings"},
        {"", "/home/p", "/home/p/.config/tamzelon/settings"},
        {nullptr, "/home/p", "/home/p/.config/tamzelon/settings"},
        {nullptr, nullptr, ""},
    };
    for (const auto& [config, home, file] : cases)
    {
        Environment configHome("XDG_CONFIG_HOME", config), homeFolder("HOME", home);
        EXPECT_EQ(Settings::File(), std::filesystem::path(file))
            << (config ? config : "(unset)") << " " << (home ? home : "(unset)");
    }
}

TEST(SettingsTest, WhatAFileSaysAndWhatADamagedOrUnwritableOneCosts)
{
    ScratchDirectory directory;
    // What the file holds, whether it asks for a window, whether it is complained about.
    const std::tuple<std::string, bool, bool> cases[] = {
        {"screen=window\n", true, false},
        {"# a comment\n\n  screen = fullscreen \r\n", false, false},
        {"screen=window", true, false},
        {"screen=fullscreen\nscreen=window\n", true, false},
        {"screen=windowed\n", false, true},
        {"screen\n", false, true},
        {std::string("\x00\xff\x01screen=window", 15), false, true},
        {"screen=window\n" + std::string(5000, '#'), false, true},
        {"colour=blue\nscreen=window\n", true, true},
    };
    for (const auto& [content, window, complaint] : cases)
    {
        std::ofstream("settings", std::ios::binary | std::ios::trunc) << content;
        std::ostringstream errors;
        EXPECT_EQ(Settings::Load("settings", errors).window, window) << content;
        EXPECT_EQ(!errors.str().empty(), complaint) << content << ": " << errors.str();
    }

    std::ostringstream errors;
    EXPECT_FALSE(Settings::Load("missing", errors).window);
    EXPECT_TRUE(errors.str().empty()) << "a first start is no fault";
    std::filesystem::create_directory("folder");
    EXPECT_FALSE(Settings::Load("folder", errors).window);
    EXPECT_NE(errors.str().find("folder"), std::string::npos);
    // A pipe is not opened: nobody writes to it, so the game would wait forever.
    ASSERT_EQ(mkfifo("pipe", 0600), 0);
    EXPECT_FALSE(Settings::Load("pipe", errors).window);
    EXPECT_NE(errors.str().find("pipe"), std::string::npos);

    // Unwritable: a file where the folder should be, a folder where the file
    // should be. Told, and nothing left behind.
    std::ofstream("blocked") << "mine";
    EXPECT_FALSE(Settings{true}.Save("blocked/tamzelon/settings", errors));
    EXPECT_NE(errors.str().find("blocked/tamzelon/settings"), std::string::npos);
    EXPECT_FALSE(Settings{true}.Save("folder", errors));
    EXPECT_TRUE(std::filesystem::is_directory("folder"));
    EXPECT_FALSE(std::filesystem::exists("folder.tmp"));
}

class StartUp : public ::testing::Test
{
protected:
    WorkingDirectory m_Directory;
    std::filesystem::path m_Config = std::filesystem::current_path() / "config";
    Environment m_ConfigHome{"XDG_CONFIG_HOME", m_Config.c_str()};
    std::filesystem::path m_File = m_Config / "tamzelon" / "settings";
};

TEST_F(StartUp, TheLastChoiceOfWindowOrFullScreenIsRemembered)
{
    const auto start = [](std::vector<std::string> arguments)
    {
        Game game(std::move(arguments));
        EXPECT_TRUE(game.Started());
        return platform::GetScreenMode();
    };
    EXPECT_EQ(start({}), ScreenMode::FullScreen) << "the first start";
    EXPECT_FALSE(std::filesystem::exists(m_File));
    EXPECT_EQ(start({"--window"}), ScreenMode::Window);
    EXPECT_EQ(start({}), ScreenMode::Window);
    EXPECT_EQ(start({"--window", "--fullscreen"}), ScreenMode::FullScreen) << "the last counts";
    EXPECT_EQ(start({}), ScreenMode::FullScreen);

    // A damaged file is told about, and the game starts all the same.
    std::ofstream(m_File, std::ios::trunc) << "screen=\xff\n";
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(start({}), ScreenMode::FullScreen);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find(m_File.string()), std::string::npos);
    EXPECT_EQ(start({"--window"}), ScreenMode::Window);
    EXPECT_NE(FileBytes(m_File).find("screen=window"), std::string::npos);

    // A choice changed while the game runs is remembered at its end.
    {
        Game game;
        platform::SetScreenMode(ScreenMode::FullScreen);
        EXPECT_TRUE(game.Pass());
        game.ExitCode();
    }
    EXPECT_NE(FileBytes(m_File).find("screen=fullscreen"), std::string::npos);
}

TEST_F(StartUp, SilentPlaysWithoutASoundDeviceAndWithoutItsMessages)
{
    // Without --silent, the end-to-end sound faults tell of the missing device.
    platform::testing::RefuseSoundDevice(true);
    Game game({"--silent"});
    EXPECT_TRUE(MessageTexts().empty());
    // The frame's title and its icons, the big one set by the frame, the small one by the game.
    CWnd* frame = AfxGetApp()->GetMainWnd();
    const HICON icon = LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(128));
    EXPECT_EQ(frame->GetWindowText(), "TamZelon");
    EXPECT_TRUE(icon && frame->GetIcon(TRUE) == icon && frame->GetIcon(FALSE) == icon);
    auto probe = game.Probe();
    ASSERT_TRUE(game.Click(250, 170)); // "Neues Spiel"
    ASSERT_EQ(probe.State(), STATE_GAME);
    probe.SetStones(
        {{0, 19, STONE_BLACK}, {1, 19, STONE_BLACK}, {10, 19, STONE_GREY}, {11, 19, STONE_GREY}});
    ASSERT_TRUE(game.Click(10, 470));
    EXPECT_EQ(probe.Score(), 4);
    EXPECT_EQ(game.PassesToEnd(), -1) << "the game goes on";
}

} // namespace
