// The frame window and the application's message loop. A refused frame ends
// the game without a word: a scenario test of the start sees that.
#include "events.h"

#include "platform/framework/framework.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

using namespace events;

struct Log
{
    std::vector<UINT> keys;
    std::vector<CPoint> clicks;
    LONG createStyle = 0; // set inside OnCreate
    bool destroyed = false;
};

class TestFrame : public CFrameWnd
{
public:
    explicit TestFrame(Log& log) : m_Log(log) {}
    ~TestFrame() override { m_Log.destroyed = true; }

protected:
    int OnCreate(LPCREATESTRUCT cs) override
    {
        m_Log.createStyle = cs->style;
        return CFrameWnd::OnCreate(cs);
    }
    void OnKeyDown(UINT nChar, UINT, UINT) override { m_Log.keys.push_back(nChar); }
    void OnLButtonDown(UINT, CPoint point) override { m_Log.clicks.push_back(point); }

private:
    Log& m_Log;
};

class TestApp : public CWinApp
{
public:
    explicit TestApp(Log& log) : m_Log(log) {}
    BOOL InitInstance() override
    {
        TestFrame* frame = new TestFrame(m_Log);
        m_pMainWnd = frame;
        if (!frame->LoadFrame(128, WS_POPUP, nullptr, nullptr))
            return FALSE;
        SendMessageA(
            frame->m_hWnd, WM_SETICON, ICON_SMALL,
            reinterpret_cast<LPARAM>(LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(128))));
        frame->ShowWindow(SW_SHOW);
        return TRUE;
    }

private:
    Log& m_Log;
};

class FrameWindow : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(app.InitInstance()); }
    Log log;
    TestApp app{log};
};

} // namespace

TEST_F(FrameWindow, LoadFrameCreatesTheTitledWindowAndRunsOnCreateBeforeReturning)
{
    CWnd* frame = app.GetMainWnd();
    EXPECT_EQ(log.createStyle, static_cast<LONG>(WS_POPUP));
    EXPECT_EQ(frame->GetWindowText(), "TamZelon");
    EXPECT_STREQ(app.m_pszAppName, "TamZelon");
    EXPECT_NE(frame->GetIcon(TRUE), nullptr);
    EXPECT_EQ(frame->GetIcon(FALSE), LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(128)));
    EXPECT_EQ(LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(129)), nullptr);
    EXPECT_TRUE(frame->IsWindowVisible());
    EXPECT_EQ(CWnd::FromHandle(frame->m_hWnd), frame);

    // Its message boxes carry the application title.
    frame->MessageBox("Lied konnte nicht geladen / abgespiel werden!");
    EXPECT_EQ(platform::testing::TakeModalBoxes().at(0).caption, "TamZelon");
    frame->DestroyWindow();
}

TEST_F(FrameWindow, InputIsDispatchedOneMessageAtATimeUntilTheQuit)
{
    for (const InputEvent& e : {Key(VK_DOWN), Event(Kind::MouseDown, 250, 170), Key(VK_RETURN)})
        platform::testing::InjectEvent(e);
    ASSERT_TRUE(app.PumpMessage());
    EXPECT_TRUE(log.keys.size() == 1 && log.clicks.empty());
    ASSERT_TRUE(app.PumpMessage());
    EXPECT_EQ(log.clicks, std::vector<CPoint>{CPoint(250, 170)});
    ASSERT_TRUE(app.PumpMessage());
    EXPECT_EQ(log.keys, (std::vector<UINT>{VK_DOWN, VK_RETURN}));

    PostQuitMessage(3);
    EXPECT_FALSE(app.PumpMessage());
    EXPECT_EQ(app.ExitInstance(), 3);
    EXPECT_FALSE(log.destroyed); // the regular end leaves the window alone
    app.GetMainWnd()->DestroyWindow();
}

TEST_F(FrameWindow, ClosingTheWindowDeletesTheFrameAndEndsTheLoop)
{
    const HWND handle = app.GetMainWnd()->m_hWnd;
    platform::testing::InjectEvent(Event(Kind::Close));
    platform::testing::InjectEvent(Key(VK_ESCAPE)); // arrives after the window is gone
    ASSERT_TRUE(app.PumpMessage());
    EXPECT_TRUE(log.destroyed);
    EXPECT_EQ(app.GetMainWnd(), nullptr);
    EXPECT_EQ(CWnd::FromHandle(handle), nullptr);
    EXPECT_EQ(app.Run(), 0);
    EXPECT_TRUE(log.keys.empty());
}
