// The failure boxes: their texts, the name tables, and where the display
// reports its failures.
#include "displaytest.h"

#include "display/errorreport.h"
#include "platform/dsound/dsound.h"

#include <string>
#include <utility>

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

    ReportDirectSoundError(E_FAIL, nullptr);
    EXPECT_EQ(OnlyBoxText(), "DirectSound Error DSERR_GENERIC");
    EXPECT_TRUE(QuitWasPosted());

    const std::string longPath(5000, 'd');
    ReportDirectDrawError(0, nullptr, longPath.c_str(), 1);
    EXPECT_EQ(OnlyBoxText(), "DirectDraw Error Unknown Error\nFILE: " + longPath + "\nLINE: 1");
}

#define NAMED(code) Named(code, #code)

TEST(ErrorReport, NameTablesFollowThePublishedCodes)
{
    // Against the platform's constants: the shared COM codes, the ends of the
    // table and neighbours that are easily mixed up.
    using Named = std::pair<HRESULT, const char*>;
    const Named directDraw[] = {
        NAMED(DDERR_GENERIC),       NAMED(DDERR_UNSUPPORTED),    NAMED(DDERR_OUTOFMEMORY),
        NAMED(DDERR_INVALIDPARAMS), NAMED(DDERR_NOTINITIALIZED), NAMED(DDERR_ALREADYINITIALIZED),
        NAMED(DDERR_HEIGHTALIGN),   NAMED(DDERR_INVALIDMODE),    NAMED(DDERR_SURFACELOST),
        NAMED(DDERR_CANTCREATEDC),  NAMED(DDERR_NOTPALETTIZED),  NAMED(DDERR_NOTPAGELOCKED)};
    const Named directSound[] = {
        NAMED(DSERR_ALLOCATED),   NAMED(DSERR_CONTROLUNAVAIL), NAMED(DSERR_PRIOLEVELNEEDED),
        NAMED(DSERR_INVALIDCALL), NAMED(DSERR_INVALIDPARAM),   NAMED(DSERR_ALREADYINITIALIZED),
        NAMED(DSERR_GENERIC),     NAMED(DSERR_OUTOFMEMORY),    NAMED(DSERR_NOAGGREGATION),
        NAMED(DSERR_NODRIVER),    NAMED(DSERR_BADFORMAT),      NAMED(DSERR_OTHERAPPHASPRIO),
        NAMED(DSERR_BUFFERLOST),  NAMED(DSERR_UNSUPPORTED),    NAMED(DSERR_UNINITIALIZED)};
    for (const auto& [code, name] : directDraw)
        EXPECT_STREQ(DirectDrawErrorName(code), name);
    for (const auto& [code, name] : directSound)
        EXPECT_STREQ(DirectSoundErrorName(code), name);

    // 95 of the 100 names are DirectDraw's own codes, each a different one.
    int named = 0;
    for (DWORD code = 0; code <= 0xFFFF; ++code)
        named += std::string(DirectDrawErrorName(MakeDdHResult(code))) != "Unknown Error";
    EXPECT_EQ(named, 95);

    // Published codes that are not in the tables, and codes of the other device.
    for (HRESULT other : {S_OK, MakeDdHResult(181), E_NOINTERFACE})
    {
        EXPECT_STREQ(DirectDrawErrorName(other), "Unknown Error");
        EXPECT_STREQ(DirectSoundErrorName(other), "Unknown Error");
    }
    EXPECT_STREQ(DirectSoundErrorName(DDERR_SURFACELOST), "Unknown Error");
    EXPECT_STREQ(DirectDrawErrorName(DSERR_BUFFERLOST), "Unknown Error");
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
