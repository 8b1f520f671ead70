// The frame window's screens and input: drawing a frame, the keyboard, the
// mouse, the main menu's actions, the back action and the dialogs over the
// full-screen display.
#include "app/caboutdlg.h"
#include "app/cmainframe.h"
#include "display/cdxscreen.h"
#include "display/cdxsurface.h"
#include "display/screensize.h"
#include "game/cfield.h"
#include "platform/win32/messagequeue.h"
#include "ui/cbuttonmenu.h"
#include "ui/cdialogscope.h"
#include "ui/cmessagedlg.h"

#include <algorithm>
#include <utility>

namespace
{

// The game screen's very dark green; every other screen is black.
constexpr DWORD GAME_BACKGROUND = 0x0100;

} // namespace

void CMainFrame::DrawFrame()
{
    if (!HasDisplay())
        return;
    ComposeFrame();
    m_Scene.Flipped(m_pScreen, m_pScreen->Flip(1));
}

void CMainFrame::ComposeFrame()
{
    POINT cursor{};
    GetCursorPos(&cursor);
    // A lost chain takes nothing, not even text, and nothing moves, until the
    // flip has restored it; the next frame then draws everything again.
    if (m_pScreen->m_pBackSurface->m_pSurface->IsLost() == DDERR_SURFACELOST)
        return;
    m_Scene.Compose(m_pScreen, ScreenName(), [this, cursor] { DrawScreen(cursor); });
    m_Scene.Overlaid(DrawCrosshair(cursor));
}

const char* CMainFrame::ScreenName() const
{
    switch (m_nState)
    {
    case STATE_GAME:
        return "game";
    case STATE_CREDITS:
        return "credits";
    case STATE_HIGHSCORES:
        return "high scores";
    default:
        return "main menu";
    }
}

// Each screen is drawn by its one function below, once a frame, while the
// back buffer records what it draws instead of drawing it. The rule: a screen
// draws only into the back buffer and only through CdxScreen and CdxSurface
// (fills, blits, GetDC, PrintText, ReleaseDC), beginning with a fill of the
// whole buffer. Those calls, with the pixels of every image they copy, are
// then all the screen's pixels follow from: the recording is the scene's key,
// and it is played into the back buffer whenever the kept scene cannot be
// mended into the new one. What a screen draws any other way is in no key and
// goes stale; the check of mended frames, on in tests, says where.
void CMainFrame::DrawScreen(const POINT& cursor)
{
    switch (m_nState)
    {
    case STATE_MENU:
        DrawMenu(cursor);
        break;
    case STATE_GAME:
        DrawGame(cursor);
        break;
    case STATE_CREDITS:
        DrawCredits();
        break;
    case STATE_HIGHSCORES:
        DrawHighscores();
        break;
    default:
        break;
    }
}

void CMainFrame::DrawMenu(const POINT& cursor)
{
    m_pScreen->Fill(0);
    // Hover selects and the selection wraps; then the buttons, the highlight
    // included, are drawn.
    if (m_pMainMenu)
        m_pMainMenu->Update(cursor.x, cursor.y, m_pScreen);
    if (m_pLogo)
        m_pLogo->DrawFastKeyed(20, 5, m_pScreen->m_pBackSurface);
}

void CMainFrame::DrawGame(const POINT& cursor)
{
    m_pScreen->Fill(GAME_BACKGROUND);
    if (HasStoneImages())
    {
        // One step of the fall in every frame of a game.
        m_pField->CollapseStep();
        m_pField->Draw(m_pScreen);
    }
    DrawScore();
    if (m_pGameMenu)
        m_pGameMenu->Update(cursor.x, cursor.y, m_pScreen);
    m_Comment.Draw(m_pScreen);
}

void CMainFrame::DrawCredits()
{
    m_pScreen->Fill(0);
    if (m_pCreditsImage)
        m_pCreditsImage->DrawFastKeyed(100, 100, m_pScreen->m_pBackSurface);
}

void CMainFrame::DrawHighscores()
{
    m_pScreen->Fill(0);
    m_Highscores.Draw();
}

RECT CMainFrame::DrawCrosshair(const POINT& cursor)
{
    if (!m_pCrosshair)
        return {};
    // Centred on the cursor and clipped, since it reaches the screen's edges.
    RECT clip{0, 0, SCREEN_WIDTH, SCREEN_HEIGHT};
    const int left = cursor.x - m_pCrosshair->m_nWidth / 2;
    const int top = cursor.y - m_pCrosshair->m_nHeight / 2;
    m_pCrosshair->DrawFastKeyedClipped(left, top, m_pScreen->m_pBackSurface, &clip);
    return {std::max(left, 0), std::max(top, 0),
            std::min(left + m_pCrosshair->m_nWidth, SCREEN_WIDTH),
            std::min(top + m_pCrosshair->m_nHeight, SCREEN_HEIGHT)};
}

void CMainFrame::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    switch (nChar)
    {
    case VK_RETURN:
        if (m_nState == STATE_MENU)
        {
            PlayOnce(m_pClickSound);
            MenuAction(m_pMainMenu ? m_pMainMenu->GetSelected() : -1);
        }
        else if (m_nState == STATE_GAME)
            NewGame(false);
        else
            Leave();
        break;
    case VK_ESCAPE:
        Leave();
        break;
    case VK_UP:
        // Wrapped into range by the next frame.
        if (m_nState == STATE_MENU && m_pMainMenu)
            m_pMainMenu->SelectPrevious();
        else if (m_nState == STATE_GAME)
            MoveCrosshair(0, -1);
        break;
    case VK_DOWN:
        if (m_nState == STATE_MENU && m_pMainMenu)
            m_pMainMenu->SelectNext();
        else if (m_nState == STATE_GAME)
            MoveCrosshair(0, 1);
        break;
    case VK_LEFT:
    case VK_RIGHT:
        if (m_nState == STATE_GAME)
            MoveCrosshair(nChar == VK_LEFT ? -1 : 1, 0);
        break;
    case VK_SPACE:
        // Without a mouse: a shot where the crosshair stands, as a click there.
        if (m_nState == STATE_GAME)
        {
            POINT cursor{};
            GetCursorPos(&cursor);
            Shoot(cursor.x, cursor.y);
        }
        break;
    case VK_F1:
        ShowAbout();
        break;
    default:
        break;
    }
    CFrameWnd::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CMainFrame::OnLButtonDown(UINT nFlags, CPoint point)
{
    // By design: the cursor is read, the message's point ignored, as the game
    // always did; the pointer moves as the input is taken, so the two agree.
    POINT cursor{};
    GetCursorPos(&cursor);
    switch (m_nState)
    {
    case STATE_MENU:
    {
        const int index = m_pMainMenu ? m_pMainMenu->HitTest(cursor.x, cursor.y) : -1;
        // Also beside the buttons.
        PlayOnce(m_pClickSound);
        MenuAction(index);
        break;
    }
    case STATE_GAME:
        Shoot(cursor.x, cursor.y);
        break;
    case STATE_CREDITS:
        Leave();
        break;
    case STATE_HIGHSCORES:
        if (!m_Highscores.OnClick(cursor.x, cursor.y))
            Leave();
        break;
    default:
        break;
    }
    CFrameWnd::OnLButtonDown(nFlags, point);
}

void CMainFrame::MenuAction(int index)
{
    // By design: compared unsigned, so -1 (no button) and anything past the last
    // item do nothing.
    switch (static_cast<unsigned>(index))
    {
    case MENU_NEWGAME:
        NewGame(true);
        break;
    case MENU_HIGHSCORES:
        m_bHighscoresAfterGame = false;
        SetState(STATE_HIGHSCORES);
        break;
    case MENU_INFO:
        ShowAbout();
        break;
    case MENU_CREDITS:
        SetState(STATE_CREDITS);
        m_bQuitAfterCredits = false;
        // Drawn at once, without waiting for the loop.
        Tick();
        break;
    case MENU_QUIT:
        Leave();
        break;
    default:
        break;
    }
}

void CMainFrame::Leave()
{
    switch (m_nState)
    {
    case STATE_MENU:
        // The credits come last, then the end.
        SetState(STATE_CREDITS);
        m_bQuitAfterCredits = true;
        Tick();
        break;
    case STATE_GAME:
        LeaveGame();
        break;
    case STATE_CREDITS:
        if (m_bQuitAfterCredits)
            SaveAndQuit();
        else
            SetState(STATE_MENU);
        break;
    case STATE_HIGHSCORES:
        if (m_bHighscoresAfterGame)
            LeaveHighscoresAfterGame();
        else
            SetState(STATE_MENU); // the music has been playing all along
        break;
    default:
        break;
    }
}

void CMainFrame::SetState(int state)
{
    m_nState = state;
    platform::NewInputContext();
}

void CMainFrame::SaveAndQuit()
{
    // A close request that ends the warning of a failed save asks for nothing more.
    if (std::exchange(m_bEnding, true))
        return;
    m_Highscores.Save("highscore.sav");
    PostQuitMessage(0);
}

void CMainFrame::OnClose()
{
    // By design: the window closed from outside saves the table too; a score
    // the player earned is not lost with it.
    SaveAndQuit();
}

void CMainFrame::ShowAbout()
{
    const CDialogScope scope(m_pScreen);
    CAboutDlg about;
    about.DoModal();
}

int CMainFrame::Ask(const char* question)
{
    const CDialogScope scope(m_pScreen);
    CMessageDlg dialog;
    return dialog.Show(question, "Frage", CMessageDlg::MODE_QUESTION);
}
