// The frame window: the program's one window and the owner of every object of
// the game. It sets everything up while it is created, draws one frame per
// tick, and carries the four screens, the input and the course of a game.
#pragma once

#include "display/cscenecache.h"
#include "game/ccomment.h"
#include "highscores/chighscores.h"
#include "platform/framework/framework.h"

class CButtonMenu;
class CdxScreen;
class CdxSound;
class CdxSoundBuffer;
class CdxSurface;
class CField;

// The screens.
constexpr int STATE_GAME = 0;
constexpr int STATE_MENU = 1;
constexpr int STATE_CREDITS = 2;
constexpr int STATE_HIGHSCORES = 3;

// The main menu's items.
constexpr int MENU_NEWGAME = 0;
constexpr int MENU_HIGHSCORES = 1;
constexpr int MENU_INFO = 2;
constexpr int MENU_CREDITS = 3;
constexpr int MENU_QUIT = 4;

class CMainFrame : public CFrameWnd
{
    // Lets the tests, the render tool and the benchmarks look at the game,
    // craft fields and compose frames.
    friend class CMainFrameProbe;

public:
    // Silent: no sound device at all, so none can be missing.
    explicit CMainFrame(bool silent = false);
    ~CMainFrame() override;

    // One frame of the current screen; in a game also the end test.
    void Tick();

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void OnLButtonDown(UINT nFlags, CPoint point) override;
    // A close request from the window system, wherever it comes: the end.
    void OnClose() override;

private:
    // Set-up, in the order OnCreate runs it. A failed step shows its message,
    // requests the end and leaves the objects that failed null.
    void InitDisplay();
    void InitMenus();
    void InitSound();
    CdxSurface* LoadKeyedImage(const char* name);
    void ReportSetUpFailure(const char* message);

    // Screens and input.
    void DrawFrame();
    // The frame in the back buffer, not yet shown; the display must exist.
    void ComposeFrame();
    // For the check of mended frames.
    const char* ScreenName() const;
    // The current screen's scene, below the crosshair.
    void DrawScreen(const POINT& cursor);
    void DrawMenu(const POINT& cursor);
    void DrawGame(const POINT& cursor);
    void DrawCredits();
    void DrawHighscores();
    // Returns the part of the screen it drew on.
    RECT DrawCrosshair(const POINT& cursor);
    // Another screen: a key held down into it acts there only once pressed anew.
    void SetState(int state);
    void MenuAction(int index);
    void Leave();
    // The end, once: the table written, then the end of the program requested.
    void SaveAndQuit();
    void ShowAbout();
    int Ask(const char* question);

    // The game.
    void NewGame(bool noConfirm);
    void GameOver();
    void DrawScore();
    void Shoot(int x, int y);
    // Puts the pointer on the centre of the next cell that way, starting from
    // the cell under it or the nearest one.
    void MoveCrosshair(int columns, int rows);
    void LeaveGame();
    void LeaveHighscoresAfterGame();

    // What a failed set-up step leaves missing must not be drawn or used.
    bool HasDisplay() const;
    bool HasStoneImages() const;
    static void PlayOnce(CdxSoundBuffer* sound);
    void PlayMusic();

    CdxSurface* m_pCreditsImage = nullptr;
    CdxScreen* m_pScreen = nullptr;
    CdxSurface* m_pCrosshair = nullptr;
    CdxSurface* m_pBlackImage = nullptr;
    CdxSurface* m_pGreyImage = nullptr;
    CdxSurface* m_pWhiteImage = nullptr;
    CField* m_pField = nullptr;
    CButtonMenu* m_pMainMenu = nullptr;
    bool m_bHighscoresAfterGame = false;
    CHighscores m_Highscores;
    CdxSurface* m_pLogo = nullptr;
    bool m_bQuitAfterCredits = false;
    CComment m_Comment;
    CButtonMenu* m_pGameMenu = nullptr;
    CdxSurface* m_pMoneyImage = nullptr;
    int m_nScore = 0;
    CdxSound* m_pSound = nullptr;
    CdxSoundBuffer* m_pClickSound = nullptr;
    CdxSoundBuffer* m_pBangSound = nullptr;
    CdxSoundBuffer* m_pMusic = nullptr;
    int m_nState = STATE_MENU;
    bool m_bSilent = false;
    bool m_bEnding = false; // SaveAndQuit has run
    CSceneCache m_Scene;
};
