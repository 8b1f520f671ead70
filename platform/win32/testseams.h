// The state behind platform/testing/testing.h, read by the platform's own code where
// a seam changes its behaviour. Default values mean "behave for real".
#pragma once

#include "platform/win32/inputevent.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace platform::testing
{

// What a test sees of a modal box or dialog, and may answer.
struct ModalButton
{
    int id;
    std::string label; // with its '&'
};
struct ModalBox
{
    std::string caption;
    std::string text; // a dialog: its visible static texts, one per line
    // Dialogs only; 0 for a message box.
    int dialogTemplate = 0;
    std::vector<ModalButton> buttons{}; // the visible push buttons, in template order
    bool hasEdit = false;               // a visible edit field, whose text the answerer may change
    std::string editText{};
};
// The headless mixer's rate.
constexpr int kMixRate = 44100;

} // namespace platform::testing

namespace platform
{

struct TestSeams
{
    bool headless = false;
    bool virtualClock = false;
    std::uint64_t virtualMilliseconds = 0;

    // Fills and copies take the general per-pixel path, which the fast paths
    // must match.
    bool generalBlitsOnly = false;

    bool refuseDisplayMode = false;
    bool refuseSurfaceCreation = false;
    bool refuseFrameCreation = false;

    // Bytes CFile may still write before it fails once; -1 for no limit.
    std::int64_t fileWriteBudget = -1;
    bool failNextFileClose = false;

    bool refuseSoundDevice = false;
    bool refuseSoundCooperativeLevel = false;
    bool refuseSoundBuffer = false;
    bool refuseSoundDuplicate = false;

    std::function<int(testing::ModalBox&)> modalAnswerer;
    std::vector<testing::ModalBox> modalBoxes;
    std::vector<std::string> debugOutput;
    std::deque<InputEvent> injectedEvents;

    // The one set of seams; all of them say "behave for real" until a test
    // changes them. Inline: blits ask it for every copy.
    static TestSeams& Get()
    {
        static TestSeams seams;
        return seams;
    }
};

} // namespace platform
