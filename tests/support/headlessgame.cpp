// The headless game, its probe and the scenes that pictures of the game show.
#include "tests/support/headlessgame.h"

#include "platform/testing/testing.h"

#include <cstdlib>
#include <filesystem>

namespace
{

using Kind = platform::InputEvent::Kind;

void Inject(Kind kind, int x, int y, UINT key = 0)
{
    platform::InputEvent event;
    event.kind = kind, event.x = x, event.y = y, event.key = key, event.keyId = key;
    platform::testing::InjectEvent(event);
}

} // namespace

void CMainFrameProbe::SetStones(const std::vector<Stone>& stones)
{
    for (int column = 0; column < FIELD_COLUMNS; ++column)
        for (int row = 0; row < FIELD_ROWS; ++row)
            Field().GetStone(column, row)->SetColour(STONE_DESTROYED);
    for (const Stone& stone : stones)
    {
        CStone* cell = Field().GetStone(stone.column, stone.row);
        cell->SetColour(stone.colour);
        cell->SetSurface(stone.colour == STONE_BLACK   ? m_Frame.m_pBlackImage
                         : stone.colour == STONE_WHITE ? m_Frame.m_pWhiteImage
                                                       : m_Frame.m_pGreyImage);
    }
}

GameFolder::GameFolder()
{
    std::filesystem::create_directory("Sounds");
    for (const char* name : {"Klick.wav", "Knall.wav", "Cascade.wav"})
        std::filesystem::copy_file(std::filesystem::path(TZ_SOUNDS_SOURCE) / name,
                                   std::filesystem::path("Sounds") / name);
}

// The seams are switched on before anything of the platform runs; the tests'
// main has done so already, the tools and benchmarks have not.
HeadlessGame::HeadlessGame(std::vector<std::string> arguments)
{
    platform::testing::UseHeadless();
    platform::testing::UseVirtualClock();
    m_App.m_Arguments = std::move(arguments);
    m_bStarted = m_App.InitInstance() != FALSE;
}

HeadlessGame::~HeadlessGame()
{
    if (CWnd* window = m_App.GetMainWnd())
        window->DestroyWindow();
    // The next game of the same process starts with an empty queue.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT)
    {
    }
}

CMainFrameProbe HeadlessGame::Probe()
{
    return CMainFrameProbe(*static_cast<CMainFrame*>(m_App.GetMainWnd()));
}

bool HeadlessGame::Press(UINT key)
{
    Inject(Kind::KeyDown, 0, 0, key);
    return Pass();
}

bool HeadlessGame::MoveTo(int x, int y)
{
    Inject(Kind::MouseMove, x, y);
    return Pass();
}

bool HeadlessGame::Click(int x, int y)
{
    for (const Kind kind : {Kind::MouseMove, Kind::MouseDown, Kind::MouseUp})
        Inject(kind, x, y);
    return Pass();
}

int HeadlessGame::PassesToEnd(int limit)
{
    for (int passes = 1; passes <= limit; ++passes)
        if (!Pass())
            return passes;
    return -1;
}

bool ShowScene(HeadlessGame& game, Scene scene)
{
    if (!game.Started() || !game.Pass())
        return false;
    switch (scene)
    {
    case Scene::Menu: // the crosshair over the Info button
        return game.MoveTo(345, 290);
    case Scene::Game:
        // The field is filled by the click on "Neues Spiel", from the generator
        // seeded here; each shot hits a group of it.
        std::srand(7);
        if (!game.Click(150, 170) || !game.Click(30, 470) || !game.Click(250, 300) ||
            !game.Click(450, 150))
            return false;
        // Stones fall and columns close up one step per frame; the holes
        // settle in fewer frames than this.
        for (int pass = 0; pass < 60; ++pass)
            if (!game.Pass())
                return false;
        return game.MoveTo(305, 245); // over the field
    case Scene::Highscores:
        return game.Click(150, 230) && game.MoveTo(420, 330); // beside the table
    }
    return false;
}
