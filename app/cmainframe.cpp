// The frame window's creation and teardown: the set-up of the display, the
// images, the button menus, the sounds, the field and the high scores.
#include "app/cmainframe.h"

#include "app/cintro.h"
#include "display/cdxerror.h"
#include "display/cdxscreen.h"
#include "display/cdxsurface.h"
#include "display/screensize.h"
#include "game/cfield.h"
#include "sound/cdxsound.h"
#include "sound/cdxsoundbuffer.h"
#include "ui/cbuttonmenu.h"

#include <array>
#include <exception>
#include <memory>

namespace
{

constexpr const char* VIDEO_MODE_MESSAGE =
    "Ihre Grafikkarte unterst\xFCtzt den gebrauchten\nVideomodus nicht!";
constexpr const char* IMAGE_MESSAGE =
    "Der Haupt- oder Videospeicher ist ausgelastet:\nBilddatei konnte nicht geladen werden.";
constexpr const char* SOUND_DEVICE_MESSAGE = "Soundobjekt konnte nicht erstellt werden.";
constexpr const char* CLICK_MESSAGE = "Konnte \"Klick.wav\" nicht LADEN!";
// By design: the bang's message ends without the click's "!".
constexpr const char* BANG_MESSAGE = "Konnte \"Knall.wav\" nicht LADEN";
// By design: "abgespiel" is the game's own spelling.
constexpr const char* MUSIC_MESSAGE = "Lied konnte nicht geladen / abgespiel werden!";

constexpr int MUSIC_VOLUME = -500;

// Normal and hot image of each main-menu item, in item order.
constexpr std::array<const char*, 10> MENU_BUTTONS = {
    "BMP_NEWGAME", "BMP_NEWGAMEHOT", "BMP_HIGHSCORES", "BMP_HIGHSCORESHOT", "BMP_INFO",
    "BMP_INFOHOT", "BMP_CREDITS",    "BMP_CREDITSHOT", "BMP_BEENDEN",       "BMP_BEENDENHOT",
};

// A sound whose set-up step failed is given up whole, so nothing plays or
// stops it later.
void DropSound(CdxSoundBuffer*& sound)
{
    sound->Release();
    delete sound;
    sound = nullptr;
}

} // namespace

CMainFrame::CMainFrame(bool silent) : m_bSilent(silent) {}

CMainFrame::~CMainFrame()
{
    // The display goes first; images and sound buffers keep their devices
    // alive until they are released themselves.
    delete m_pScreen;
    delete m_pCrosshair;
    delete m_pBlackImage;
    delete m_pGreyImage;
    delete m_pWhiteImage;
    delete m_pMainMenu;
    delete m_pSound;
    delete m_pField;
    delete m_pGameMenu;
    delete m_pMoneyImage;
    delete m_pCreditsImage;
    delete m_pLogo;
    for (CdxSoundBuffer* sound : {m_pClickSound, m_pBangSound, m_pMusic})
    {
        if (sound)
            sound->Release();
        delete sound;
    }
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;

    // A failed step requests the end, and the set-up goes on regardless.
    InitDisplay();
    InitMenus();
    InitSound();

    m_pField = new CField;
    m_pField->SetSurfaces(m_pBlackImage, m_pWhiteImage, m_pGreyImage);

    try
    {
        m_Highscores.Init(m_pScreen);
    }
    catch (const CdxError&)
    {
        ReportSetUpFailure(IMAGE_MESSAGE);
    }
    m_Highscores.Load("highscore.sav");

    // The crosshair stands in for the cursor from here on.
    ShowCursor(FALSE);

    CIntro intro;
    intro.SetScreen(HasDisplay() ? m_pScreen : nullptr);
    intro.Run();

    m_Comment.SetPosition(180, 5);
    SetState(STATE_MENU);
    return 0;
}

void CMainFrame::ReportSetUpFailure(const char* message)
{
    MessageBox(message, nullptr, MB_OK);
    PostQuitMessage(0);
}

void CMainFrame::InitDisplay()
{
    m_pScreen = new CdxScreen;
    try
    {
        m_pScreen->CreateFullScreen(m_hWnd, SCREEN_WIDTH, SCREEN_HEIGHT, SCREEN_BITS_PER_PIXEL, 0);
    }
    catch (const CdxError&)
    {
        try
        {
            m_pScreen->CreateFullScreen(m_hWnd, SCREEN_WIDTH, SCREEN_HEIGHT,
                                        SCREEN_FALLBACK_BITS_PER_PIXEL, 0);
        }
        catch (const CdxError&)
        {
            ReportSetUpFailure(VIDEO_MODE_MESSAGE);
            return;
        }
    }

    try
    {
        m_pCrosshair = LoadKeyedImage("BMP_FADENKREUZ");
        m_pBlackImage = LoadKeyedImage("BMP_BLACK");
        m_pWhiteImage = LoadKeyedImage("BMP_WHITE");
        m_pGreyImage = LoadKeyedImage("BMP_GREY");
        m_pMoneyImage = LoadKeyedImage("BMP_MONEY");
        m_pCreditsImage = LoadKeyedImage("BMP_CREDITSWND");
        m_pLogo = LoadKeyedImage("BMP_TAMZELON");
    }
    catch (const CdxError&)
    {
        ReportSetUpFailure(IMAGE_MESSAGE);
    }
}

CdxSurface* CMainFrame::LoadKeyedImage(const char* name)
{
    auto image = std::make_unique<CdxSurface>(m_pScreen, name, PLACEMENT_DISPLAY_CHOOSES);
    // Raises when the load left the surface without an image.
    image->SetColourKey(0);
    return image.release();
}

void CMainFrame::InitMenus()
{
    std::array<std::unique_ptr<CdxSurface>, MENU_BUTTONS.size()> buttons;
    std::unique_ptr<CdxSurface> miniButton;
    try
    {
        for (std::size_t i = 0; i < buttons.size(); ++i)
            buttons[i] =
                std::make_unique<CdxSurface>(m_pScreen, MENU_BUTTONS[i], PLACEMENT_DISPLAY_CHOOSES);
        m_pMainMenu = new CButtonMenu;
        m_pGameMenu = new CButtonMenu;
        miniButton =
            std::make_unique<CdxSurface>(m_pScreen, "BMP_NEWGAMEMINI", PLACEMENT_DISPLAY_CHOOSES);
        bool loaded = miniButton->m_pSurface != nullptr;
        for (const auto& button : buttons)
            loaded = loaded && button->m_pSurface != nullptr;
        if (!loaded)
            throw CdxError("A button image could not be loaded.");
        for (const auto& button : buttons)
            button->SetColourKey(0);
        miniButton->SetColourKey(0);
    }
    catch (const CdxError&)
    {
        // Without their images the menus are given up: no button is drawn,
        // hit or chosen by key.
        delete m_pMainMenu;
        m_pMainMenu = nullptr;
        delete m_pGameMenu;
        m_pGameMenu = nullptr;
        ReportSetUpFailure(IMAGE_MESSAGE);
        return;
    }

    CdxSurface* title = buttons[2].get();
    for (std::size_t i = 0; i < buttons.size(); i += 2)
        m_pMainMenu->AddItem(buttons[i].release(), buttons[i + 1].release());
    m_pMainMenu->SetOrigin(100, 150);
    m_pMainMenu->SetSpacing(60);

    CdxSurface* mini = miniButton.release();
    m_pGameMenu->AddItem(mini, mini);
    m_pGameMenu->SetOrigin(5, 5);

    // The main menu keeps owning the title.
    m_Highscores.SetTitle(title);
}

void CMainFrame::InitSound()
{
    // Without sounds everything that would play one finds none and goes on.
    if (m_bSilent)
        return;
    try
    {
        m_pSound = new CdxSound;
        m_pSound->Create(m_hWnd);
    }
    catch (const std::exception&)
    {
        // Every later load now fails for want of a device and says so.
        ReportSetUpFailure(SOUND_DEVICE_MESSAGE);
    }

    m_pClickSound = new CdxSoundBuffer;
    m_pBangSound = new CdxSoundBuffer;
    m_pMusic = new CdxSoundBuffer;

    // A missing click or bang only raises without a device; a sound that
    // merely failed to load stays silent.
    try
    {
        m_pClickSound->Load(m_pSound, "Sounds\\Klick.wav", 1);
    }
    catch (const std::exception&)
    {
        DropSound(m_pClickSound);
        ReportSetUpFailure(CLICK_MESSAGE);
    }
    try
    {
        m_pBangSound->Load(m_pSound, "Sounds\\Knall.wav", 1);
    }
    catch (const std::exception&)
    {
        DropSound(m_pBangSound);
        ReportSetUpFailure(BANG_MESSAGE);
    }
    try
    {
        // A music that failed to load has no copy, and setting its volume raises.
        m_pMusic->Load(m_pSound, "Sounds\\Cascade.wav", 1);
        m_pMusic->SetVolume(MUSIC_VOLUME);
        m_pMusic->Play(0, DSBPLAY_LOOPING);
    }
    catch (const std::exception&)
    {
        DropSound(m_pMusic);
        ReportSetUpFailure(MUSIC_MESSAGE);
    }
}

bool CMainFrame::HasDisplay() const
{
    return m_pScreen && m_pScreen->m_pFrontSurface && m_pScreen->m_pFrontSurface->m_pSurface &&
           m_pScreen->m_pBackSurface && m_pScreen->m_pBackSurface->m_pSurface;
}

bool CMainFrame::HasStoneImages() const
{
    return m_pBlackImage && m_pWhiteImage && m_pGreyImage;
}

void CMainFrame::PlayOnce(CdxSoundBuffer* sound)
{
    if (sound)
        sound->Play(0, 0);
}

void CMainFrame::PlayMusic()
{
    if (m_pMusic)
        m_pMusic->Play(0, DSBPLAY_LOOPING);
}
