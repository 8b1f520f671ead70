// The main of every test program: the platform headless on a virtual clock,
// every seam reset before each test, and every mended frame checked against
// the same frame drawn whole.
#include "platform/testing/testing.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{

class ResetPlatform : public ::testing::EmptyTestEventListener
{
    void OnTestStart(const ::testing::TestInfo&) override { platform::testing::Reset(); }
};

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    setenv("TZ_CHECK_MENDED_FRAMES", "1", 0);
    platform::testing::UseHeadless();
    platform::testing::UseVirtualClock();
    ::testing::UnitTest::GetInstance()->listeners().Append(new ResetPlatform);
    return RUN_ALL_TESTS();
}
