// The frame window's side of a game: starting it, the per-frame tick with the
// end test, the shot, the score display and the end of the game.
#include "app/cmainframe.h"
#include "app/cnamedlg.h"
#include "display/cdxscreen.h"
#include "display/cdxsurface.h"
#include "game/cfield.h"
#include "game/fieldgeometry.h"
#include "game/score.h"
#include "sound/cdxsoundbuffer.h"
#include "ui/cbuttonmenu.h"
#include "ui/cdialogscope.h"
#include "ui/cmessagedlg.h"

#include <algorithm>

namespace
{

constexpr COLORREF TEXT_COLOUR = 255;

constexpr const char* NEW_GAME_QUESTION = "Wollen Sie Ihr aktuelles Spiel beenden?";
constexpr const char* LEAVE_GAME_QUESTION = "Wollen Sie Ihr aktuelles Spiel verlassen?";
// By design: the doubled question mark with a blank before it.
constexpr const char* ANOTHER_GAME_QUESTION = "Noch ein Spiel ??";
constexpr const char* CLEARED_MESSAGE =
    "Super!!! Alles ratzekahl niedergemacht!!\nDas gibt 1500 Extrapunkte!!";
constexpr const char* PLACE_MESSAGE = "Sehr gut! %d Punkte reichen f\xFCr den %d. Platz!";
// By design: no blank in "lassen.Beim"; the game's text as it always was.
constexpr const char* NO_PLACE_MESSAGE = "%d Punkte reichen leider nicht aus um\nsich eintragen "
                                         "zu lassen.Beim n\xE4"
                                         "chsten Mal\nwird es besser!";
// By design: "schiessen" with ss, as the game has always written it.
constexpr const char* OUTSIDE_COMMENT = "Ins Feld musste schiessen!";
constexpr const char* MISS_COMMENT = "Du Blindfisch ! Kannste nicht zielen!";

} // namespace

void CMainFrame::NewGame(bool noConfirm)
{
    if (!noConfirm && Ask(NEW_GAME_QUESTION) != IDYES)
        return;
    if (m_pMusic)
        m_pMusic->Stop();
    SetState(STATE_GAME);
    m_pField->Fill();
    m_nScore = 0;
    // A blank clears the line without choosing a taunt.
    m_Comment.Set(0, " ");
}

void CMainFrame::Tick()
{
    DrawFrame();
    if (m_nState != STATE_GAME || !m_pField->NoMovesLeft())
        return;

    // Stones may still be falling: let them settle, two steps per frame, and
    // look again.
    const int stones = m_pField->CountStones();
    for (int i = 0; i < stones; ++i)
    {
        m_pField->CollapseStep();
        DrawFrame();
    }
    if (m_pField->NoMovesLeft())
        GameOver();
}

void CMainFrame::GameOver()
{
    // One showing of the cursor for all the dialogs of the end.
    const CDialogScope scope(m_pScreen);
    if (m_pField->IsCleared())
    {
        CMessageDlg cleared;
        cleared.Show(CLEARED_MESSAGE, "Gratulation", CMessageDlg::MODE_NOTICE);
        m_nScore += SCORE_CLEARED_BONUS;
    }

    const int place = m_Highscores.GetRank(m_nScore);
    if (place != -1)
    {
        CString text;
        text.Format(PLACE_MESSAGE, m_nScore, place);
        CMessageDlg congratulation;
        congratulation.Show(text, "Gratulation", CMessageDlg::MODE_NOTICE);
        // However the dialog was closed: an unconfirmed name is empty and
        // entered all the same.
        CNameDlg name;
        name.DoModal();
        m_Highscores.Insert(name.GetName(), m_nScore);
    }
    else
    {
        CString text;
        text.Format(NO_PLACE_MESSAGE, m_nScore);
        CMessageDlg regret;
        regret.Show(text, "Schlechte Nachricht", CMessageDlg::MODE_NOTICE);
    }

    m_bHighscoresAfterGame = true;
    SetState(STATE_HIGHSCORES);
}

void CMainFrame::DrawScore()
{
    CdxSurface* back = m_pScreen->m_pBackSurface;
    CString text;
    text.Format("%d", m_nScore);
    back->GetDC();
    back->PrintText(590, 10, TEXT_COLOUR, text);
    back->ReleaseDC();
    if (m_pMoneyImage)
        m_pMoneyImage->DrawFastKeyed(585 - m_pMoneyImage->m_nWidth, 5, back);
}

void CMainFrame::Shoot(int x, int y)
{
    // The new-game button lies above the field and is tested first.
    if (m_pGameMenu && m_pGameMenu->HitTest(x, y) != -1)
    {
        PlayOnce(m_pClickSound);
        NewGame(false);
        return;
    }
    if (!HasStoneImages())
        return;

    const int tileWidth = m_pBlackImage->m_nWidth;
    const int tileHeight = m_pBlackImage->m_nHeight;
    if (x > FieldRight(tileWidth) || y < FieldTop(tileHeight))
    {
        m_Comment.Set(0, OUTSIDE_COMMENT);
        PlayOnce(m_pClickSound);
        return;
    }

    const int stones = m_pField->Shoot(x, y);
    if (stones == 0)
    {
        PlayOnce(m_pClickSound);
        m_Comment.Set(stones, MISS_COMMENT);
        return;
    }
    m_nScore += ShotScore(stones);
    PlayOnce(m_pBangSound);
    m_Comment.Set(stones, "");
    // The stones above the hole start falling in the frame of the shot.
    DrawFrame();
}

void CMainFrame::MoveCrosshair(int columns, int rows)
{
    if (!HasStoneImages())
        return;
    const int tileWidth = m_pBlackImage->m_nWidth;
    const int tileHeight = m_pBlackImage->m_nHeight;
    const int fieldTop = FieldTop(tileHeight);
    POINT cursor{};
    GetCursorPos(&cursor);
    // A border belongs to the cell right of it or below it, as for a shot;
    // outside the field the nearest cell is the start.
    const int column = std::clamp((cursor.x - FIELD_LEFT) / tileWidth, 0, FIELD_COLUMNS - 1);
    const int row = std::clamp((cursor.y - fieldTop) / tileHeight, 0, FIELD_ROWS - 1);
    const int toColumn = std::clamp(column + columns, 0, FIELD_COLUMNS - 1);
    const int toRow = std::clamp(row + rows, 0, FIELD_ROWS - 1);
    SetCursorPos(FIELD_LEFT + toColumn * tileWidth + tileWidth / 2,
                 fieldTop + toRow * tileHeight + tileHeight / 2);
}

void CMainFrame::LeaveGame()
{
    // Abandoned without an entry; field and score stay until the next game.
    if (Ask(LEAVE_GAME_QUESTION) == IDYES)
    {
        SetState(STATE_MENU);
        PlayMusic();
    }
}

void CMainFrame::LeaveHighscoresAfterGame()
{
    if (Ask(ANOTHER_GAME_QUESTION) == IDYES)
        NewGame(true);
    else
    {
        SetState(STATE_MENU);
        PlayMusic();
    }
}
