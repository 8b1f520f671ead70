// The program from the player's side outside a game: the choice of window or
// full screen kept across starts whatever state its file is in, --silent
// playing with no sound device at all, the credits and the regular end, the
// high-score screen, the info dialog, and failures at start. The intro, the
// menu's highlight, keys and hover are played in the end-to-end menu test,
// closing the window in its faults.
#include "app/printable.h"
#include "app/settings.h"
#include "platform/win32/screenmode.h"
#include "tests/app/scenario.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <tuple>

using namespace scenario;

namespace
{

using platform::ScreenMode;

constexpr const char* SAVE_FILE = "highscore.sav";
constexpr const char* IMAGE_MESSAGE =
    "Der Haupt- oder Videospeicher ist ausgelastet:\nBilddatei konnte nicht geladen werden.";

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
        {std::string(3000, '\n').replace(0, 3000, 1000, '\x1b').append(1000, '\n'), false, true},
    };
    for (const auto& [content, window, complaint] : cases)
    {
        std::ofstream("settings", std::ios::binary | std::ios::trunc) << content;
        std::ostringstream errors;
        EXPECT_EQ(Settings::Load("settings", errors).window, window) << content;
        // However much noise, one line.
        EXPECT_EQ(std::ranges::count(errors.str(), '\n'), complaint ? 1 : 0)
            << content << ": " << errors.str();
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

    // Saved as the table is: a link planted at a temporary name is neither
    // followed nor in the way, a link stays a link with its target's mode, and
    // a write-protected file is refused and told.
    std::ofstream("victim") << "keep";
    std::filesystem::create_symlink("victim", "linked.tmp");
    std::ofstream("target") << "screen=fullscreen\n";
    ASSERT_EQ(chmod("target", 0600), 0);
    std::filesystem::create_symlink("target", "linked");
    EXPECT_TRUE(Settings{true}.Save("linked", errors));
    struct stat info;
    EXPECT_TRUE(std::filesystem::is_symlink("linked") && FileBytes("victim") == "keep" &&
                stat("target", &info) == 0 && (info.st_mode & 0777) == 0600);
    EXPECT_TRUE(Settings::Load("target", errors).window);
    ASSERT_EQ(chmod("target", 0444), 0);
    std::ostringstream refused;
    EXPECT_FALSE(Settings{false}.Save("linked", refused));
    EXPECT_NE(refused.str().find("linked"), std::string::npos);
    EXPECT_TRUE(Settings::Load("target", errors).window);
    const std::set<std::string> left = {"blocked", "folder",   "linked", "linked.tmp",
                                        "pipe",    "settings", "target", "victim"};
    for (const auto& entry : std::filesystem::directory_iterator("."))
        EXPECT_TRUE(left.contains(entry.path().filename())) << entry.path() << " left behind";
}

TEST(PrintableTest, WhatWouldSteerATerminalIsEscaped)
{
    EXPECT_EQ(Printable("--bo\x1b[31mgus\a\r\n"), "--bo\\x1B[31mgus\\x07\\x0D\\x0A");
    EXPECT_EQ(Printable("Gr\xC3\xBC\xC3\x9F\xE2\x82\xAC \\"), "Gr\xC3\xBC\xC3\x9F\xE2\x82\xAC \\");
    // The C1 control CSI, a byte that starts nothing, a cut-off character, a zero.
    EXPECT_EQ(Printable(std::string("\xC2\x9B"
                                    "2J\xFF\x00\xC3",
                                    7)),
              "\\xC2\\x9B2J\\xFF\\x00\\xC3");
}

class StartUp : public ::testing::Test
{
protected:
    WorkingDirectory m_Directory;
    std::filesystem::path m_Config = std::filesystem::current_path() / "config";
    Environment m_ConfigHome{"XDG_CONFIG_HOME", m_Config.c_str()};
    std::filesystem::path m_File = m_Config / "tamzelon" / "settings";
};

// Frames in which only the crosshair or a highlight moved are mended from the
// kept scene; each is checked against the same frame drawn whole (on in every
// test), and a stale one is told with its part. Every part must mend:
// hovering and keys in the menu, a focus loss there, screens left and come
// back to, the info over the menu and over a game, shots with falling stones,
// a miss beside the field that changes the comment line alone, aiming by keys
// and Space, the screen's edges, a game left and a new one, and the end of a
// game with its final collapse, its message, the table and the next game. Each
// change comes while the scene it changes is kept.
TEST_F(StartUp, FramesMendedUnderTheCrosshairShowWhatFramesDrawnWholeShow)
{
    Game game;
    CMainFrameProbe probe = game.Probe();
    Answer({INFO_OK, INFO_OK, JA, OK, JA});
    std::srand(7);
    const char* part = "";
    // The input, then passes without input until that many frames are shown.
    const auto step = [&](const std::function<bool()>& input, int frames = 3)
    {
        for (int pass = 0; pass < frames; ++pass)
            try
            {
                ASSERT_TRUE(pass == 0 ? input() : game.Pass()) << "the game ended";
            }
            catch (const CSceneCache::Stale& stale)
            {
                ADD_FAILURE() << part << ": " << stale.what();
            }
    };
    const auto click = [&](int x, int y) { step([&] { return game.Click(x, y); }); };
    const auto press = [&](UINT key) { step([&] { return game.Press(key); }); };
    // Long enough for stones to settle.
    const auto still = [&] { step([&] { return game.Pass(); }, 40); };
    // A pointer moved every frame.
    const auto sweep = [&](int x, int y, int direction = 1)
    {
        for (int move = 0; move < 6; ++move)
            step([&] { return game.MoveTo(x + 13 * direction * move, y + 29 * direction * move); },
                 1);
    };
    // Each part must mend some of its frames, or it proves nothing.
    const auto play = [&](const char* what, const std::function<void()>& input)
    {
        const int mended = probe.MendedFrames();
        part = what;
        input();
        EXPECT_GT(probe.MendedFrames(), mended) << what;
    };

    play("the menu",
         [&]
         {
             // The highlight down the buttons and back, and by key away from
             // the pointer.
             sweep(250, 150);
             sweep(315, 295, -1);
             for (const UINT key : {VK_DOWN, VK_DOWN, VK_UP})
                 press(key);
         });
    play("a focus loss in the menu",
         [&] { platform::testing::LoseAllSurfaces(), still(), sweep(450, 60); });
    play("the credits and back", [&] { click(250, 350), sweep(80, 90), press(ENTER); });
    play("the high scores and back",
         [&] { sweep(250, 150), click(250, 230), sweep(470, 170), press(ESCAPE); });
    play("the info over the menu", [&] { sweep(250, 150), press(VK_F1), sweep(250, 150); });
    play("shots",
         [&]
         {
             click(150, 170);
             for (const POINT at : {POINT{30, 470}, POINT{250, 300}, POINT{450, 150}})
                 sweep(at.x - 40, at.y - 60), click(at.x, at.y), still();
         });
    play("a miss beside the field", [&] { sweep(300, 100), click(620, 300), sweep(300, 100); });
    play("aiming by keys and Space",
         [&]
         {
             for (const UINT key : {VK_LEFT, VK_DOWN, VK_DOWN, VK_RIGHT, VK_SPACE, VK_UP})
                 press(key);
             still();
         });
    play("the info over a game", [&] { sweep(320, 240), press(VK_F1), sweep(320, 240); });
    play("the screen's edges",
         [&]
         {
             for (const POINT at : {POINT{2, 478}, POINT{638, 1}, POINT{320, 240}})
                 step([&] { return game.MoveTo(at.x, at.y); });
         });
    play("a game left and a new one",
         [&] { press(ESCAPE), sweep(250, 150), click(250, 170), sweep(300, 200); });
    play("the end of a game and the next",
         [&]
         {
             // The pair shot, the final collapse brings the other two
             // together unequal: the end, no place, the table, another game.
             const int B = STONE_BLACK, W = STONE_WHITE, G = STONE_GREY;
             probe.SetStones({{0, 19, B}, {1, 19, B}, {3, 19, W}, {6, 19, G}});
             sweep(300, 200);
             click(10, 470);
             EXPECT_EQ(probe.State(), STATE_HIGHSCORES);
             sweep(420, 170);
             press(ESCAPE);
             EXPECT_EQ(probe.State(), STATE_GAME);
             sweep(300, 200);
         });
}

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

// The credits and the high-score screen come back by Enter or Escape without
// writing; the quit item or Escape goes the same way through the credits to the
// end, which writes the table. F1 shows the info in every screen and changes
// nothing (the game's in the game tests). The end-to-end menu test clicks.
TEST_F(StartUp, ScreensComeBackWithoutWritingAndTheEndWritesTheTable)
{
    for (const UINT way : {ENTER, ESCAPE})
    {
        SCOPED_TRACE(way);
        Game game;
        auto probe = game.Probe();
        const int hidden = CursorShowCount(); // each game of the process hides it once more
        auto info = [&]
        {
            const int state = probe.State();
            Answer({INFO_OK});
            ASSERT_TRUE(game.Press(VK_F1));
            EXPECT_TRUE(MessageTexts().size() == 1 && probe.State() == state &&
                        CursorShowCount() == hidden);
        };
        for (const int item : {350, 230}) // "Credits", "Highscores"
        {
            ASSERT_TRUE(game.Click(250, item));
            EXPECT_EQ(probe.State(), item == 350 ? STATE_CREDITS : STATE_HIGHSCORES);
            info();
            ASSERT_TRUE(game.Press(way));
            EXPECT_EQ(probe.State(), STATE_MENU);
        }
        info();
        EXPECT_TRUE(Playing(probe.Music()) && !std::filesystem::exists(SAVE_FILE));

        // Enter on the quit item under the pointer.
        ASSERT_TRUE((way == ESCAPE || game.MoveTo(250, 400)) && game.Press(way));
        EXPECT_EQ(probe.State(), STATE_CREDITS);
        ASSERT_TRUE(game.Press(way));
        EXPECT_FALSE(game.Pass()) << "the quit message ends the loop";
        EXPECT_EQ(FileBytes(SAVE_FILE).size(), 80u) << "the default table";
        std::filesystem::remove(SAVE_FILE);
    }
}

// One close request ends the game from a dialog: the dialog ends unanswered,
// then the frame saves the table as the regular end does. From the warning of
// a save that failed at the regular end, it ends the game without a second try.
TEST_F(StartUp, OneCloseRequestEndsTheGameFromADialogAndSavesTheTable)
{
    const auto pressThenClose = [](UINT key)
    {
        for (const auto kind :
             {platform::InputEvent::Kind::KeyDown, platform::InputEvent::Kind::Close})
        {
            platform::InputEvent event;
            event.kind = kind, event.key = key;
            platform::testing::InjectEvent(event);
        }
    };
    for (const UINT key : {UINT(VK_F1), ENTER})
    {
        Game game;
        if (key == ENTER)
        {
            ASSERT_TRUE(game.Press(ESCAPE)) << "the credits, the end next";
            platform::testing::FailFileWritesAfter(0);
        }
        Answer({});
        pressThenClose(key);
        EXPECT_EQ(game.PassesToEnd(), 3);
        EXPECT_EQ(MessageTexts().size(), key == VK_F1 ? 0u : 1u) << "the warning only, once";
        // The default table, or nothing after the one failed try.
        EXPECT_EQ(std::filesystem::exists(SAVE_FILE) ? FileBytes(SAVE_FILE).size() : 0u,
                  key == VK_F1 ? 80u : 0u);
        std::filesystem::remove(SAVE_FILE);
    }
}

// A start that failed and said so ends with status 1; a missing bang is no
// failure. A copy refused in a folder that another copy holds writes nothing.
TEST_F(StartUp, FailedStartsEndWithStatusOneAndARefusedCopyWritesNothing)
{
    // The fault, whether the game starts its loop, whether it says why, its status.
    const std::tuple<const char*, void (*)(), bool, bool, int> cases[] = {
        {"no window", [] { platform::testing::RefuseFrameCreation(true); }, false, false, 1},
        {"display mode", [] { platform::testing::RefuseDisplayMode(true); }, true, true, 1},
        {"sound device", [] { platform::testing::RefuseSoundDevice(true); }, true, true, 1},
        {"no bang", [] { std::filesystem::remove("Sounds/Knall.wav"); }, true, false, 0},
    };
    for (const auto& [what, fault, loops, told, status] : cases)
    {
        SCOPED_TRACE(what);
        fault();
        Game game;
        EXPECT_EQ(game.Started(), loops);
        EXPECT_EQ(!MessageTexts().empty(), told);
        EXPECT_EQ(loops ? game.PassesToEnd() : 1, status ? 1 : -1) << "ends at once, or plays on";
        EXPECT_EQ(game.ExitCode(), status);
        platform::testing::Reset();
    }

    Game first({"--window"});
    const std::string settings = FileBytes(m_File);
    const auto second = []
    {
        Game game({"--fullscreen"});
        return game.Started() ? 100 : game.ExitCode();
    };
    EXPECT_EQ(InChild(second), 1);
    EXPECT_EQ(FileBytes(m_File), settings);
    EXPECT_NE(settings.find("screen=window"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(SAVE_FILE));
}

TEST_F(StartUp, ADisplayWithoutSurfacesIsNeverDrawnOn)
{
    platform::testing::RefuseSurfaceCreation(true);
    Game game;
    const auto texts = MessageTexts();
    // 16 bits, 8 bits, then the mode and each image.
    ASSERT_GE(texts.size(), 4u);
    EXPECT_EQ(texts[2], "Ihre Grafikkarte unterst\xFCtzt den gebrauchten\nVideomodus nicht!");
    EXPECT_EQ(texts.back(), IMAGE_MESSAGE);
    // Input waiting before the end is still handled, and draws nothing.
    EXPECT_TRUE(game.Press(ENTER) && game.Click(250, 170));
    EXPECT_TRUE(game.PassesToEnd() == 1 && platform::testing::ShownPicture() == nullptr);
}

TEST_F(StartUp, AMissingImageIsReportedAndNeverDrawn)
{
    // A damaged file of an image's name hides the built-in image; a key
    // waiting before the end gets its frame.
    for (const std::string name : {"BMP_TAMZELON", "BMP_INFOHOT"})
    {
        std::ofstream(name, std::ios::binary) << "8BPS\x00\x02";
        Game game;
        auto probe = game.Probe();
        EXPECT_EQ(MessageTexts(), std::vector<std::string>{IMAGE_MESSAGE});
        ASSERT_TRUE(game.Press(VK_DOWN));
        const bool logo = name == "BMP_TAMZELON";
        EXPECT_TRUE(logo ? Plain(20, 5, 300, 100, 0) : Plain(100, 150, 301, 291, 0))
            << "nothing drawn of the menu that lost " << name;
        EXPECT_FALSE(logo ? Plain(100, 150, 300, 50, 0) : Plain(20, 5, 300, 100, 0))
            << "the rest is drawn";
        ASSERT_TRUE(logo || game.Press(ENTER));
        EXPECT_EQ(probe.State(), STATE_MENU) << "nothing to choose";
        EXPECT_EQ(game.PassesToEnd(), 1);
        std::filesystem::remove(name);
    }
}

} // namespace
