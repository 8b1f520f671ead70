// The DirectSound failure box: its text and the quit request.
#include "sound/dsounderrorreport.h"

#include "platform/testing/testing.h"

#include <gtest/gtest.h>

TEST(DirectSoundErrorReport, BoxNamesTheFailureThenTheProgramIsAskedToQuit)
{
    ReportDirectSoundError(static_cast<HRESULT>(0x80004005u), nullptr);
    const auto boxes = platform::testing::TakeModalBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption + ": " + boxes[0].text, "Error: DirectSound Error DSERR_GENERIC");
    MSG msg{};
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message == WM_QUIT);
}
