// Shared by the scenario tests: the whole game started on the headless
// platform in a scratch working directory, driven pass by pass with injected
// input and scripted dialog answers, and looked at through a probe.
#pragma once

#include "app/cgameapp.h"
#include "app/cmainframe.h"
#include "display/cdxscreen.h"
#include "display/cdxsurface.h"
#include "game/cfield.h"
#include "platform/testing/testing.h"
#include "sound/cdxsoundbuffer.h"
#include "tests/sound/soundtest.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// The frame's insides, for looking at a game and crafting fields.
class CMainFrameProbe
{
public:
    explicit CMainFrameProbe(CMainFrame& frame) : m_Frame(frame) {}

    int State() const { return m_Frame.m_nState; }
    int& Score() { return m_Frame.m_nScore; }
    CField& Field() { return *m_Frame.m_pField; }
    CString Comment() const { return m_Frame.m_Comment.GetText(); }
    CHighscores& Highscores() { return m_Frame.m_Highscores; }
    CdxScreen* Screen() { return m_Frame.m_pScreen; }
    CdxSoundBuffer* Click() { return m_Frame.m_pClickSound; }
    CdxSoundBuffer* Bang() { return m_Frame.m_pBangSound; }
    CdxSoundBuffer* Music() { return m_Frame.m_pMusic; }

    // Every cell destroyed except the stones given, each with its own image.
    struct Stone
    {
        int column;
        int row;
        int colour;
    };
    void SetStones(const std::vector<Stone>& stones)
    {
        for (int column = 0; column < FIELD_COLUMNS; ++column)
            for (int row = 0; row < FIELD_ROWS; ++row)
                Field().GetStone(column, row)->SetColour(STONE_DESTROYED);
        for (const Stone& stone : stones)
        {
            CStone* cell = Field().GetStone(stone.column, stone.row);
            cell->SetColour(stone.colour);
            cell->SetSurface(stone.colour == STONE_BLACK   ? m_Frame.m_pBlackImage
                             : stone.colour == STONE_WHITE ? m_Frame.m_pWhiteImage
                                                           : m_Frame.m_pGreyImage);
        }
    }

private:
    CMainFrame& m_Frame;
};

namespace scenario
{

constexpr UINT ENTER = VK_RETURN;
constexpr UINT ESCAPE = VK_ESCAPE;

// The buttons the dialogs are answered with.
constexpr int JA = 1007;
constexpr int NEIN = 3;
constexpr int OK = 1006;
constexpr int NAME_OK = 1003;
constexpr int INFO_OK = 1000;

// Is the sound sounding (in the headless device: started and not stopped)?
inline bool Playing(CdxSoundBuffer* sound)
{
    if (!sound || sound->m_Buffers.empty() || !sound->m_Buffers[0])
        return false;
    DWORD status = 0;
    sound->m_Buffers[0]->GetStatus(&status);
    return (status & DSBSTATUS_PLAYING) != 0;
}

inline void Silence(CdxSoundBuffer* sound)
{
    if (sound)
        sound->Stop();
}

// The test runs in a scratch directory with the game's sounds in "Sounds".
struct WorkingDirectory : soundtest::ScratchDirectory
{
    WorkingDirectory()
    {
        std::filesystem::create_directory("Sounds");
        for (const char* name : {"Klick.wav", "Knall.wav", "Cascade.wav"})
            std::filesystem::copy_file(std::filesystem::path(TZ_SOUNDS_SOURCE) / name,
                                       std::filesystem::path("Sounds") / name);
    }
};

// Dialog answers in the order the dialogs come; the name dialog takes the
// name given with its answer. A dialog beyond the script fails the test.
struct Reply
{
    Reply(int answer, std::string typed = {}) : id(answer), name(std::move(typed)) {}
    int id;
    std::string name;
};
inline void Answer(std::deque<Reply> replies)
{
    auto script = std::make_shared<std::deque<Reply>>(std::move(replies));
    platform::testing::SetModalAnswerer(
        [script](platform::testing::ModalBox& box)
        {
            if (script->empty())
            {
                ADD_FAILURE() << "unexpected dialog: " << box.caption << ": " << box.text;
                return IDCANCEL;
            }
            const Reply reply = script->front();
            script->pop_front();
            if (box.hasEdit)
                box.editText = reply.name;
            return reply.id;
        });
}

// The whole game, started as the framework starts it, driven one loop pass
// at a time.
class Game
{
public:
    Game() : m_bStarted(m_App.InitInstance() != FALSE) {}
    ~Game()
    {
        if (CWnd* window = m_App.GetMainWnd())
            window->DestroyWindow();
        // The next game of the same test starts with an empty queue.
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT)
        {
        }
    }

    bool Started() const { return m_bStarted; }
    bool WindowExists() { return m_App.GetMainWnd() != nullptr; }
    CMainFrameProbe Probe()
    {
        return CMainFrameProbe(*static_cast<CMainFrame*>(m_App.GetMainWnd()));
    }

    // One pass of the loop, after the input; false when it met the quit message.
    bool Pass() { return m_App.RunPass(); }
    bool Press(UINT key) { return Inject(Kind::KeyDown, 0, 0, key) && Pass(); }
    bool MoveTo(int x, int y) { return Inject(Kind::MouseMove, x, y) && Pass(); }
    bool Click(int x, int y)
    {
        return Inject(Kind::MouseMove, x, y) && Inject(Kind::MouseDown, x, y) &&
               Inject(Kind::MouseUp, x, y) && Pass();
    }
    bool CloseWindow() { return Inject(Kind::Close, 0, 0) && Pass(); }
    // Passes until the loop ends; how many it took, or -1 if it did not end.
    int PassesToEnd(int limit = 5)
    {
        for (int passes = 1; passes <= limit; ++passes)
            if (!Pass())
                return passes;
        return -1;
    }

private:
    using Kind = platform::InputEvent::Kind;
    static bool Inject(Kind kind, int x, int y, UINT key = 0)
    {
        platform::InputEvent event;
        event.kind = kind;
        event.x = x;
        event.y = y;
        event.key = key;
        platform::testing::InjectEvent(event);
        return true;
    }

    CGameApp m_App;
    bool m_bStarted;
};

// Does the picture on screen show the named image at (x, y), wherever the
// image is not transparent? The crosshair over it is looked past unless the
// crosshair itself is asked for.
inline bool Shows(CdxScreen* screen, const char* bitmap, int x, int y)
{
    const platform::PixelBuffer* shown = platform::testing::ShownPicture();
    CdxSurface image(screen, bitmap, 2);
    if (!shown || !image.m_pSurface)
        return false;
    POINT cursor{};
    GetCursorPos(&cursor);
    const bool crosshair = std::string(bitmap) == "BMP_FADENKREUZ";
    int compared = 0;
    for (int row = 0; row < image.m_nHeight; ++row)
        for (int column = 0; column < image.m_nWidth; ++column)
        {
            const std::uint32_t pixel = platform::testing::ReadPixel(image.m_pSurface, column, row);
            const bool underCrosshair =
                std::abs(x + column - cursor.x) <= 16 && std::abs(y + row - cursor.y) <= 16;
            if (pixel == 0 || (underCrosshair && !crosshair))
                continue;
            if (shown->Get(x + column, y + row) != pixel)
                return false;
            ++compared;
        }
    return compared > 0;
}

// Is the rectangle of the picture on screen all one raw value?
inline bool Plain(int x, int y, int width, int height, std::uint32_t value)
{
    const platform::PixelBuffer* shown = platform::testing::ShownPicture();
    for (int row = y; row < y + height; ++row)
        for (int column = x; column < x + width; ++column)
            if (!shown || shown->Get(column, row) != value)
                return false;
    return true;
}

// Frames flipped since the virtual clock read `since`: each flip waits for
// the next refresh of the 60 Hz display.
inline int FramesSince(std::uint64_t since)
{
    constexpr std::uint64_t period = 1000000 / 60;
    return static_cast<int>(platform::testing::VirtualMilliseconds() * 1000 / period -
                            since * 1000 / period);
}

// The cursor's show count (-1: hidden, as the game keeps it).
inline int CursorShowCount()
{
    const int count = ShowCursor(TRUE);
    ShowCursor(FALSE);
    return count - 1;
}

using soundtest::Mix;

inline std::vector<std::string> MessageTexts()
{
    std::vector<std::string> texts;
    for (const auto& box : platform::testing::TakeModalBoxes())
        texts.push_back(box.text);
    return texts;
}

} // namespace scenario
