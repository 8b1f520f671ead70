// Shared by the scenario tests: the whole game started on the headless
// platform in a scratch working directory, driven pass by pass with injected
// input and scripted dialog answers, and looked at through a probe.
#pragma once

#include "display/cdxscreen.h"
#include "game/cfield.h"
#include "platform/testing/testing.h"
#include "sound/cdxsoundbuffer.h"
#include "tests/sound/soundtest.h"
#include "tests/support/headlessgame.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace scenario
{

constexpr UINT ENTER = VK_RETURN;
constexpr UINT ESCAPE = VK_ESCAPE;
// The buttons the dialogs are answered with.
constexpr int JA = 1007, NEIN = 3, OK = 1006, INFO_OK = 1000;

// Is the sound sounding (in the headless device: started and not stopped)?
inline bool Playing(CdxSoundBuffer* sound)
{
    DWORD status = 0;
    if (sound && !sound->m_Buffers.empty() && sound->m_Buffers[0])
        sound->m_Buffers[0]->GetStatus(&status);
    return (status & DSBSTATUS_PLAYING) != 0;
}

// The test runs in a scratch directory with the game's sounds in "Sounds".
using WorkingDirectory = GameFolder;

// Dialog answers (the control ids to press) in the order the dialogs come. A
// dialog beyond the script fails the test.
inline void Answer(std::deque<int> replies)
{
    auto script = std::make_shared<std::deque<int>>(std::move(replies));
    platform::testing::SetModalAnswerer(
        [script](const platform::testing::ModalBox& box)
        {
            if (script->empty())
            {
                ADD_FAILURE() << "unexpected dialog: " << box.caption << ": " << box.text;
                return IDCANCEL;
            }
            const int reply = script->front();
            script->pop_front();
            return reply;
        });
}

using Game = HeadlessGame;

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
