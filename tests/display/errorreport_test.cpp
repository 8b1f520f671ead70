// The DirectDraw failure box and its name table. Where the display reports a
// refused mode or refused surfaces is seen in the scenario tests of the start.
#include "display/errorreport.h"

#include "platform/testing/testing.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

TEST(ErrorReport, BoxNamesTheFailureThenTheProgramIsAskedToQuit)
{
    const std::string longPath(5000, 'd');
    ReportDirectDrawError(DDERR_INVALIDMODE, nullptr, "display/cdxscreen.cpp", 366);
    MSG msg{};
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message == WM_QUIT &&
                msg.wParam == 0);
    ReportDirectDrawError(0, nullptr, longPath.c_str(), 1);

    const auto boxes = platform::testing::TakeModalBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].text,
              "DirectDraw Error DDERR_INVALIDMODE\nFILE: display/cdxscreen.cpp\nLINE: 366");
    EXPECT_EQ(boxes[1].text, "DirectDraw Error Unknown Error\nFILE: " + longPath + "\nLINE: 1");
}

TEST(ErrorReport, NameTableHoldsEachCodeOnceUnderDirectDrawsNames)
{
    // The generic COM codes under DirectDraw's names, not the sound layer's.
    const std::pair<std::uint32_t, const char*> named[] = {{0x80004005u, "DDERR_GENERIC"},
                                                           {0x80070057u, "DDERR_INVALIDPARAMS"},
                                                           {0x800401F0u, "DDERR_NOTINITIALIZED"},
                                                           {0x887601C2u, "DDERR_SURFACELOST"}};
    for (auto [code, name] : named)
        EXPECT_STREQ(DirectDrawErrorName(static_cast<HRESULT>(code)), name);

    // 95 of the 100 names are DirectDraw's own codes, each a different one.
    int count = 0;
    for (DWORD code = 0; code <= 0xFFFF; ++code)
        count += std::string(DirectDrawErrorName(MakeDdHResult(code))) != "Unknown Error";
    EXPECT_EQ(count, 95);

    // Published codes that are not in the table, and a code of the sound device.
    for (HRESULT other :
         {S_OK, MakeDdHResult(181), E_NOINTERFACE, static_cast<HRESULT>(0x88780096u)})
        EXPECT_STREQ(DirectDrawErrorName(other), "Unknown Error");
}

} // namespace
