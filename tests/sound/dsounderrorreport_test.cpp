// The DirectSound failure box: its text, the quit request, and the name table
// against published codes written out as numbers.
#include "sound/dsounderrorreport.h"

#include "platform/testing/testing.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

TEST(DirectSoundErrorReport, BoxNamesTheFailureThenTheProgramIsAskedToQuit)
{
    ReportDirectSoundError(static_cast<HRESULT>(0x80004005u), nullptr);
    const auto boxes = platform::testing::TakeModalBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].text, "DirectSound Error DSERR_GENERIC");
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
}

TEST(DirectSoundErrorReport, NameTableHoldsEachCodeOnceUnderDirectSoundsNames)
{
    // The generic COM codes under DirectSound's names, not the display's.
    EXPECT_STREQ(DirectSoundErrorName(static_cast<HRESULT>(0x80070057u)), "DSERR_INVALIDPARAM");
    EXPECT_STREQ(DirectSoundErrorName(static_cast<HRESULT>(0x80040110u)), "DSERR_NOAGGREGATION");
    EXPECT_STREQ(DirectSoundErrorName(static_cast<HRESULT>(0x88780096u)), "DSERR_BUFFERLOST");

    // 10 of the 15 names are DirectSound's own codes, each a different one.
    int named = 0;
    for (DWORD code = 0; code <= 0xFFFF; ++code)
        named += std::string(DirectSoundErrorName(MakeDsHResult(code))) != "Unknown Error";
    EXPECT_EQ(named, 10);

    // Codes not in the table, and a code of the display.
    for (HRESULT other :
         {S_OK, MakeDsHResult(11), E_NOINTERFACE, static_cast<HRESULT>(0x887601C2u)})
        EXPECT_STREQ(DirectSoundErrorName(other), "Unknown Error");
}

} // namespace
