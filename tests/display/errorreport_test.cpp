// The DirectDraw failure box. Where the display reports a refused mode or
// refused surfaces, by name, is seen in the scenario tests of the start.
#include "display/errorreport.h"

#include "platform/testing/testing.h"

#include <gtest/gtest.h>

#include <string>

TEST(ErrorReport, AnUnknownFailureIsNamedWholeThenTheProgramIsAskedToQuit)
{
    const std::string longPath(5000, 'd');
    ReportDirectDrawError(0, nullptr, longPath.c_str(), 1);
    const auto boxes = platform::testing::TakeModalBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption + ": " + boxes[0].text,
              "Error: DirectDraw Error Unknown Error\nFILE: " + longPath + "\nLINE: 1");
    MSG msg{};
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message == WM_QUIT);
}
