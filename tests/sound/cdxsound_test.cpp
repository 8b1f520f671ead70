// The sound device: what the game is told when it may not have the device to
// itself.
#include "sound/cdxsound.h"

#include "platform/testing/testing.h"

#include <gtest/gtest.h>

namespace
{

// A refused device is played through in the end-to-end sound faults.
TEST(CdxSound, ARefusedCooperativeLevelIsOnlyReported)
{
    platform::testing::RefuseSoundCooperativeLevel(true);
    CdxSound shared;
    EXPECT_TRUE(shared.Create(nullptr));
    EXPECT_NE(shared.GetDS(), nullptr);

    const auto boxes = platform::testing::TakeModalBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].text, "DirectSound Error DSERR_ALLOCATED");
}

} // namespace
