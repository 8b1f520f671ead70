// The state behind platform/testing.h, read by the platform's own code where
// a seam changes its behaviour. Default values mean "behave for real".
#pragma once

#include "platform/testing/testing.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace platform
{

struct TestSeams
{
    bool headless = false;
    bool virtualClock = false;
    std::uint64_t virtualMilliseconds = 0;

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

    static TestSeams& Get();
};

} // namespace platform
