// The sound device: a refused device is raised, a refused cooperative level
// only reported.
#include "sound/cdxsound.h"

#include "platform/testing/testing.h"
#include "sound/cdxsounderror.h"

#include <gtest/gtest.h>

TEST(CdxSound, ARefusedDeviceIsRaisedARefusedCooperativeLevelOnlyReported)
{
    platform::testing::RefuseSoundDevice(true);
    CdxSound refused;
    EXPECT_THROW(refused.Create(nullptr), CdxSoundError);
    platform::testing::RefuseSoundDevice(false);

    platform::testing::RefuseSoundCooperativeLevel(true);
    CdxSound shared;
    EXPECT_TRUE(shared.Create(nullptr) && shared.GetDS() != nullptr);
    const auto boxes = platform::testing::TakeModalBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "DirectSound Error DSERR_NODRIVER");
    EXPECT_EQ(boxes[1].text, "DirectSound Error DSERR_ALLOCATED");
}
