// The whole game on the headless platform, started as the framework starts it
// and driven one loop pass at a time with injected input, and a probe into its
// frame window. The scenario and golden-image tests, the render tool and the
// benchmarks all look at the game through this, so every picture they take
// is drawn by the game's own frame code.
#pragma once

#include "app/cgameapp.h"
#include "app/cmainframe.h"
#include "game/cfield.h"
#include "tests/support/scratchdirectory.h"

#include <string>
#include <vector>

class CdxScreen;
class CdxSoundBuffer;

// The frame's insides, for looking at a game, crafting fields and composing
// frames.
class CMainFrameProbe
{
public:
    explicit CMainFrameProbe(CMainFrame& frame) : m_Frame(frame) {}

    int State() const { return m_Frame.m_nState; }
    int& Score() { return m_Frame.m_nScore; }
    CField& Field() { return *m_Frame.m_pField; }
    CString Comment() const { return m_Frame.m_Comment.GetText(); }
    CHighscores& Highscores() { return m_Frame.m_Highscores; }
    CdxScreen* Screen() { return m_Frame.m_pScreen; }
    CdxSoundBuffer* Click() { return m_Frame.m_pClickSound; }
    CdxSoundBuffer* Bang() { return m_Frame.m_pBangSound; }
    CdxSoundBuffer* Music() { return m_Frame.m_pMusic; }
    // The current screen drawn into the back buffer, not shown.
    void ComposeFrame() { m_Frame.ComposeFrame(); }
    // The same, then shown.
    void DrawFrame() { m_Frame.DrawFrame(); }
    // The next frame is drawn whole, as if it were the first.
    void ForgetScene() { m_Frame.m_Scene.Forget(); }
    // Frames mended from a kept scene so far.
    int MendedFrames() const { return m_Frame.m_Scene.Mended(); }

    // Every cell destroyed except the stones given, each with its own image.
    struct Stone
    {
        int column, row, colour;
    };
    void SetStones(const std::vector<Stone>& stones);

private:
    CMainFrame& m_Frame;
};

// A scratch working directory holding the game's sounds, like the player's
// game folder; no table is read from or written to anywhere else.
class GameFolder : public ScratchDirectory
{
public:
    GameFolder();
};

// The game, started in the current working directory with no window, no
// sound device and a virtual clock.
class HeadlessGame
{
public:
    // Started with that command line (after the program's name).
    explicit HeadlessGame(std::vector<std::string> arguments = {});
    ~HeadlessGame();
    HeadlessGame(const HeadlessGame&) = delete;
    HeadlessGame& operator=(const HeadlessGame&) = delete;

    bool Started() const { return m_bStarted; }
    // What the program would end with now.
    int ExitCode() { return m_App.ExitInstance(); }
    CMainFrameProbe Probe();

    // One pass of the loop, after the input; false when it met the quit message.
    bool Pass() { return m_App.RunPass(); }
    bool Press(UINT key);
    bool MoveTo(int x, int y);
    bool Click(int x, int y);
    // Passes until the loop ends; how many it took, or -1 if it did not end.
    int PassesToEnd(int limit = 5);

private:
    CGameApp m_App;
    bool m_bStarted = false;
};

// The screens that pictures of the game show.
enum class Scene
{
    Menu,       // a button hot under the crosshair
    Game,       // a field from a fixed seed after a few shots, settled
    Highscores, // whatever table the game holds
};

// Takes a game fresh from its start to the scene by the player's own input,
// the same way every time, and shows it with the crosshair at a fixed place.
// False when the game ended on the way.
bool ShowScene(HeadlessGame& game, Scene scene);
