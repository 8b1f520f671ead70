#include "sound/cdxsound.h"

#include "platform/testing.h"
#include "sound/cdxsounderror.h"

#include <gtest/gtest.h>

namespace
{

TEST(CdxSound, ARefusedDeviceIsReportedThenRaised)
{
    platform::testing::RefuseSoundDevice(true);
    CdxSound sound;
    EXPECT_THROW(sound.Create(nullptr), CdxSoundError);
    EXPECT_EQ(sound.GetDS(), nullptr);

    const auto boxes = platform::testing::TakeModalBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].text, "DirectSound Error DSERR_NODRIVER");
}

TEST(CdxSound, ARefusedCooperativeLevelIsOnlyReported)
{
    platform::testing::RefuseSoundCooperativeLevel(true);
    CdxSound sound;
    EXPECT_TRUE(sound.Create(nullptr));
    EXPECT_NE(sound.GetDS(), nullptr);

    const auto boxes = platform::testing::TakeModalBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "DirectSound Error DSERR_ALLOCATED");
}

} // namespace
