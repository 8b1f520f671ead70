// The DirectDraw failure box: its text, the name table, and where the display
// reports its failures.
#include "displaytest.h"

#include "display/errorreport.h"

#include <string>

namespace
{

using namespace displaytest;
namespace testing = platform::testing;

bool QuitWasPosted()
{
    MSG msg{};
    return PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message == WM_QUIT &&
           msg.wParam == 0;
}

std::string OnlyBoxText()
{
    std::vector<testing::ModalBox> boxes = testing::TakeModalBoxes();
    if (boxes.size() != 1)
        return "boxes: " + std::to_string(boxes.size());
    EXPECT_EQ(boxes[0].caption, "Error");
    return boxes[0].text;
}

TEST(ErrorReport, BoxNamesTheFailureThenTheProgramIsAskedToQuit)
{
    ReportDirectDrawError(DDERR_INVALIDMODE, nullptr, "display/cdxscreen.cpp", 366);
    EXPECT_EQ(OnlyBoxText(),
              "DirectDraw Error DDERR_INVALIDMODE\nFILE: display/cdxscreen.cpp\nLINE: 366");
    EXPECT_TRUE(QuitWasPosted());

    const std::string longPath(5000, 'd');
    ReportDirectDrawError(0, nullptr, longPath.c_str(), 1);
    EXPECT_EQ(OnlyBoxText(), "DirectDraw Error Unknown Error\nFILE: " + longPath + "\nLINE: 1");
}

TEST(ErrorReport, NameTableHoldsEachCodeOnceUnderDirectDrawsNames)
{
    // The generic COM codes under DirectDraw's names, not the sound layer's.
    EXPECT_STREQ(DirectDrawErrorName(static_cast<HRESULT>(0x80004005u)), "DDERR_GENERIC");
    EXPECT_STREQ(DirectDrawErrorName(static_cast<HRESULT>(0x80070057u)), "DDERR_INVALIDPARAMS");
    EXPECT_STREQ(DirectDrawErrorName(static_cast<HRESULT>(0x800401F0u)), "DDERR_NOTINITIALIZED");
    EXPECT_STREQ(DirectDrawErrorName(static_cast<HRESULT>(0x887601C2u)), "DDERR_SURFACELOST");

    // 95 of the 100 names are DirectDraw's own codes, each a different one.
    int named = 0;
    for (DWORD code = 0; code <= 0xFFFF; ++code)
        named += std::string(DirectDrawErrorName(MakeDdHResult(code))) != "Unknown Error";
    EXPECT_EQ(named, 95);

    // Published codes that are not in the table, and a code of the sound device.
    for (HRESULT other :
         {S_OK, MakeDdHResult(181), E_NOINTERFACE, static_cast<HRESULT>(0x88780096u)})
        EXPECT_STREQ(DirectDrawErrorName(other), "Unknown Error");
}

TEST(ScreenReports, FailuresOfTheDisplaySetUpAreReportedWithTheirPlace)
{
    // A refused display mode is reported in the scenario tests of the start.
    const std::string screenModule = "\nFILE: display/cdxscreen.cpp\nLINE: ";
    {
        testing::RefuseSurfaceCreation(true);
        CdxScreen screen;
        EXPECT_THROW(screen.CreateFullScreen(nullptr, 640, 480, 16, 0), CdxError);
        EXPECT_NE(OnlyBoxText().find(screenModule + "410"), std::string::npos);
        EXPECT_THROW(screen.Fill(0), CdxError);
        EXPECT_THROW(screen.Flip(1), CdxError);

        testing::RefuseSurfaceCreation(false);
        ASSERT_EQ(screen.CreateFullScreen(nullptr, 640, 480, 16, 0), 1);
        testing::RefuseSurfaceCreation(true);
        CdxSurface image;
        EXPECT_EQ(image.Create(&screen, 8, 8, 2), 0);
        EXPECT_EQ(image.m_pSurface, nullptr);
        EXPECT_NE(OnlyBoxText().find("\nFILE: display/cdxsurface.cpp\nLINE: 247"),
                  std::string::npos);
    }
}

} // namespace
