// The command line and the remembered settings from the player's side:
// --help, --version and wrong options answered without a window, the choice
// of window or full screen kept across starts whatever state its file is in,
// and --silent playing with no sound device at all.
#include "app/commandline.h"
#include "app/settings.h"
#include "platform/win32/screenmode.h"
#include "tests/app/scenario.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace scenario;

namespace
{

using Arguments = std::vector<std::string>;
using platform::ScreenMode;

TEST(CommandLineTest, OptionsAndWhatWins)
{
    using Action = CommandLine::Action;
    struct Case
    {
        Arguments arguments;
        Action action;
        std::optional<bool> window;
        bool silent;
    };
    const Case cases[] = {
        {{}, Action::Play, std::nullopt, false},
        {{"--window"}, Action::Play, true, false},
        {{"--window", "--fullscreen"}, Action::Play, false, false},
        {{"--fullscreen", "--silent", "--window"}, Action::Play, true, true},
        {{"--version"}, Action::Version, std::nullopt, false},
        {{"--version", "--help"}, Action::Help, std::nullopt, false},
        {{"--help", "--version"}, Action::Help, std::nullopt, false},
        {{"--help", "--windowed"}, Action::Usage, std::nullopt, false},
        {{"window"}, Action::Usage, std::nullopt, false},
        {{"--silent=yes"}, Action::Usage, std::nullopt, true},
        {{""}, Action::Usage, std::nullopt, false},
    };
    for (const Case& c : cases)
    {
        const CommandLine line = CommandLine::Parse(c.arguments);
        const std::string what = ::testing::PrintToString(c.arguments);
        EXPECT_EQ(line.action, c.action) << what;
        if (c.action == Action::Usage)
        {
            EXPECT_EQ(line.wrong, c.arguments.back()) << what;
            continue;
        }
        EXPECT_EQ(line.window, c.window) << what;
        EXPECT_EQ(line.silent, c.silent) << what;
    }
}

// Sets an environment variable for one scope (null: unset) and restores it.
class Environment
{
public:
    Environment(const char* name, const char* value) : m_Name(name)
    {
        if (const char* old = std::getenv(name))
            m_Old = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~Environment() { m_Old ? setenv(m_Name, m_Old->c_str(), 1) : unsetenv(m_Name); }
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;

private:
    const char* m_Name;
    std::optional<std::string> m_Old;
};

TEST(SettingsTest, TheFileFollowsXdgConfigHomeOnlyWhenItIsAbsolute)
{
    struct Case
    {
        const char* config;
        const char* home;
        const char* file;
    };
    const Case cases[] = {
        {"/x/config", "/home/p", "/x/config/tamzelon/settings"},
        {"relative/config", "/home/p", "/home/p/.config/tamzelon/settings"},
        {"", "/home/p", "/home/p/.config/tamzelon/settings"},
        {nullptr, "/home/p", "/home/p/.config/tamzelon/settings"},
        {nullptr, nullptr, ""},
    };
    for (const Case& c : cases)
    {
        Environment config("XDG_CONFIG_HOME", c.config);
        Environment home("HOME", c.home);
        EXPECT_EQ(Settings::File(), std::filesystem::path(c.file))
            << (c.config ? c.config : "(unset)") << " " << (c.home ? c.home : "(unset)");
    }
}

TEST(SettingsTest, WhatAFileSaysAndWhatADamagedOneLeavesAtTheDefault)
{
    ScratchDirectory directory;
    struct Case
    {
        std::string content;
        bool window;
        bool complaint;
    };
    const Case cases[] = {
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
    for (const Case& c : cases)
    {
        std::ofstream("settings", std::ios::binary | std::ios::trunc) << c.content;
        std::ostringstream errors;
        EXPECT_EQ(Settings::Load("settings", errors).window, c.window) << c.content;
        EXPECT_EQ(!errors.str().empty(), c.complaint) << c.content << ": " << errors.str();
    }

    std::ostringstream errors;
    EXPECT_FALSE(Settings::Load("missing", errors).window);
    EXPECT_TRUE(errors.str().empty()) << "a first start is no fault";
    std::filesystem::create_directory("folder");
    EXPECT_FALSE(Settings::Load("folder", errors).window);
    EXPECT_NE(errors.str().find("folder"), std::string::npos);
}

TEST(SettingsTest, SavingMakesTheFolderAndFailsWithAWordAndNoTrace)
{
    ScratchDirectory directory;
    std::ostringstream errors;
    const std::filesystem::path file = "config/tamzelon/settings";
    EXPECT_TRUE(Settings{true}.Save(file, errors));
    EXPECT_TRUE(Settings::Load(file, errors).window);
    EXPECT_TRUE(Settings{false}.Save(file, errors));
    EXPECT_FALSE(Settings::Load(file, errors).window);
    EXPECT_TRUE(errors.str().empty()) << errors.str();

    // A file where the folder should be.
    std::ofstream("blocked") << "mine";
    EXPECT_FALSE(Settings{true}.Save("blocked/tamzelon/settings", errors));
    EXPECT_NE(errors.str().find("blocked/tamzelon/settings"), std::string::npos);
    // A folder where the file should be: it stays, and no temporary is left.
    std::filesystem::create_directories("taken/settings");
    EXPECT_FALSE(Settings{true}.Save("taken/settings", errors));
    EXPECT_TRUE(std::filesystem::is_directory("taken/settings"));
    EXPECT_FALSE(std::filesystem::exists("taken/settings.tmp"));
}

class StartUp : public ::testing::Test
{
protected:
    std::string Remembered()
    {
        std::ifstream in(m_File);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    WorkingDirectory m_Directory;
    std::filesystem::path m_Config = std::filesystem::current_path() / "config";
    Environment m_ConfigHome{"XDG_CONFIG_HOME", m_Config.c_str()};
    std::filesystem::path m_File = m_Config / "tamzelon" / "settings";
};

TEST_F(StartUp, HelpVersionAndWrongOptionsAnswerWithoutAWindow)
{
    struct Case
    {
        Arguments arguments;
        int exitCode;
        const char* out;
        const char* error;
    };
    const Case cases[] = {
        {{"--help"}, 0, "--fullscreen", ""},
        {{"--version"}, 0, "tamzelon " TZ_VERSION "\n", ""},
        {{"--window", "--bogus"}, 2, "", "--bogus"},
    };
    for (const Case& c : cases)
    {
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        Game game(c.arguments);
        const std::string out = ::testing::internal::GetCapturedStdout();
        const std::string error = ::testing::internal::GetCapturedStderr();
        EXPECT_FALSE(game.Started());
        EXPECT_FALSE(game.WindowExists());
        EXPECT_EQ(game.ExitCode(), c.exitCode);
        EXPECT_NE(out.find(c.out), std::string::npos) << out;
        EXPECT_EQ(out.empty(), c.out[0] == '\0') << out;
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
        if (c.exitCode == 2)
            EXPECT_NE(error.find(UsageText()), std::string::npos) << error;
        else
            EXPECT_TRUE(error.empty()) << error;
    }
    EXPECT_NE(HelpText().find("Space"), std::string::npos) << "the keys are part of the help";
    EXPECT_TRUE(MessageTexts().empty());
    EXPECT_FALSE(std::filesystem::exists(m_File)) << "answering is not choosing";
}

TEST_F(StartUp, TheLastChoiceOfWindowOrFullScreenIsRemembered)
{
    const auto start = [](Arguments arguments)
    {
        Game game(std::move(arguments));
        EXPECT_TRUE(game.Started());
        return platform::GetScreenMode();
    };
    EXPECT_EQ(start({}), ScreenMode::FullScreen) << "the first start";
    EXPECT_FALSE(std::filesystem::exists(m_File));
    EXPECT_EQ(start({"--window"}), ScreenMode::Window);
    EXPECT_EQ(start({}), ScreenMode::Window);
    EXPECT_EQ(start({"--fullscreen"}), ScreenMode::FullScreen);
    EXPECT_EQ(start({}), ScreenMode::FullScreen);

    // A damaged file is told about, and the game starts all the same.
    std::ofstream(m_File, std::ios::trunc) << "screen=\xff\n";
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(start({}), ScreenMode::FullScreen);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find(m_File.string()), std::string::npos);
    EXPECT_EQ(start({"--window"}), ScreenMode::Window);
    EXPECT_NE(Remembered().find("screen=window"), std::string::npos) << Remembered();

    // A choice changed while the game runs is remembered at its end.
    {
        Game game;
        platform::SetScreenMode(ScreenMode::FullScreen);
        EXPECT_TRUE(game.Pass());
        game.ExitCode();
    }
    EXPECT_NE(Remembered().find("screen=fullscreen"), std::string::npos) << Remembered();
}

TEST_F(StartUp, SilentPlaysWithoutASoundDeviceAndWithoutItsMessages)
{
    platform::testing::RefuseSoundDevice(true);
    {
        Game game;
        EXPECT_FALSE(MessageTexts().empty()) << "without --silent a missing device is told";
        EXPECT_EQ(game.PassesToEnd(), 1);
    }
    Game game({"--silent"});
    EXPECT_TRUE(MessageTexts().empty());
    auto probe = game.Probe();
    EXPECT_EQ(probe.Click(), nullptr);
    EXPECT_EQ(probe.Music(), nullptr);
    ASSERT_TRUE(game.Click(250, 170)); // "Neues Spiel"
    ASSERT_EQ(probe.State(), STATE_GAME);
    probe.SetStones(
        {{0, 19, STONE_BLACK}, {1, 19, STONE_BLACK}, {10, 19, STONE_GREY}, {11, 19, STONE_GREY}});
    ASSERT_TRUE(game.Click(10, 470));
    EXPECT_EQ(probe.Score(), 4);
    EXPECT_EQ(game.PassesToEnd(), -1) << "the game goes on";
}

} // namespace
