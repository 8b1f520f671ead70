// The high-score table, its file and its screen.
#include "highscores/chighscores.h"

#include "display/cdxscreen.h"
#include "display/cdxsurface.h"
#include "display/screensize.h"
#include "ui/cbuttonmenu.h"
#include "ui/cdialogscope.h"
#include "ui/cmessagedlg.h"

#include <memory>
#include <utility>

namespace
{

constexpr int DEFAULT_TOP_SCORE = 37000;
constexpr int DEFAULT_SCORE_STEP = 2000;
// By design: a fixed twelve passes, more than eleven slots need, and no early stop.
constexpr int SORT_PASSES = 12;

constexpr int TITLE_Y = 25;
constexpr int BUTTONS_X = 500;
constexpr int BUTTONS_Y = 240;
constexpr int ITEM_RESET = 0;
constexpr int ITEM_BACK = 1;
constexpr int ROWS_Y = 175;
constexpr int ROW_HEIGHT = 25;
constexpr int PLACE_X = 25;
constexpr int NAME_X = 125;
constexpr int SCORE_X = 225;
constexpr COLORREF TEXT_RED = 255;

} // namespace

CHighscores::CHighscores()
{
    SetDefaults();
}

CHighscores::~CHighscores()
{
    delete m_pMenu;
}

void CHighscores::SetDefaults()
{
    for (int i = 0; i < PLACES; ++i)
    {
        m_Entries[i].m_Name = "CPU";
        m_Entries[i].m_nScore = DEFAULT_TOP_SCORE - DEFAULT_SCORE_STEP * i;
    }
}

int CHighscores::GetRank(int score) const
{
    // First place from the top with a lower score, so equal scores queue behind.
    for (int i = 0; i < PLACES; ++i)
        if (score > m_Entries[i].m_nScore)
            return i + 1;
    return -1;
}

void CHighscores::Insert(const CString& name, int score)
{
    m_Entries[PLACES].m_Name = name;
    m_Entries[PLACES].m_nScore = score;
    Sort();
}

void CHighscores::Sort()
{
    // Only a strictly higher score moves up, which keeps equal scores in order.
    for (int pass = 0; pass < SORT_PASSES; ++pass)
        for (int i = SLOTS - 1; i > 0; --i)
            if (m_Entries[i].m_nScore > m_Entries[i - 1].m_nScore)
                std::swap(m_Entries[i], m_Entries[i - 1]);
}

void CHighscores::Serialize(CArchive& archive)
{
    for (int i = 0; i < PLACES; ++i)
    {
        if (archive.IsStoring())
            archive << m_Entries[i].m_nScore << m_Entries[i].m_Name;
        else
            archive >> m_Entries[i].m_nScore >> m_Entries[i].m_Name;
    }
}

void CHighscores::Load(const char* fileName)
{
    try
    {
        CFile file;
        CFileException error;
        if (!file.Open(fileName, CFile::modeRead | CFile::shareExclusive, &error))
            throw error;
        CArchive archive(&file, CArchive::load);
        Serialize(archive);
        archive.Close();
        file.Close();
    }
    catch (...)
    {
        // Half a table is worse than none: the records read so far go too.
        SetDefaults();
    }
}

void CHighscores::Save(const char* fileName)
{
    // The file takes the whole new table or keeps its old one, so a failure
    // never leaves a broken table behind.
    CReplaceFile file;
    try
    {
        CFileException error;
        if (!file.Open(fileName, &error))
            throw error;
        CArchive archive(&file, CArchive::store);
        Serialize(archive);
        archive.Close();
        file.Commit();
    }
    catch (...)
    {
        file.Rollback();
        WarnNotSaved();
    }
}

void CHighscores::WarnNotSaved()
{
    const CDialogScope scope(m_pScreen);
    MessageBoxA(nullptr,
                "Die Highscores konnten nicht gespeichert werden.\nDer Datentr\xE4ger oder die "
                "Datei ist schreibgesch\xFCtzt.",
                "Warnung", MB_OK);
}

void CHighscores::SetTitle(CdxSurface* title)
{
    m_pTitle = title;
}

void CHighscores::Init(CdxScreen* screen)
{
    m_pScreen = screen;
    auto reset = std::make_unique<CdxSurface>(screen, "BMP_RESET", PLACEMENT_DISPLAY_CHOOSES);
    auto back = std::make_unique<CdxSurface>(screen, "BMP_BACK", PLACEMENT_DISPLAY_CHOOSES);
    // Keying an image that did not load raises; then neither button exists,
    // so nothing missing is drawn or hit.
    reset->SetColourKey(0);
    back->SetColourKey(0);
    m_pResetImage = reset.release();
    m_pBackImage = back.release();
    m_pMenu = new CButtonMenu;
    m_pMenu->AddItem(m_pResetImage, m_pResetImage);
    m_pMenu->AddItem(m_pBackImage, m_pBackImage);
    m_pMenu->SetOrigin(BUTTONS_X, BUTTONS_Y);
}

void CHighscores::Draw()
{
    if (!m_pScreen)
        return;
    CdxSurface* back = m_pScreen->m_pBackSurface;
    if (m_pTitle && m_pTitle->m_pSurface)
        m_pTitle->DrawFastKeyed((SCREEN_WIDTH - m_pTitle->m_nWidth) / 2, TITLE_Y, back);
    if (m_pMenu)
        m_pMenu->Render(m_pScreen);
    for (int place = 1; place <= PLACES; ++place)
    {
        // A lost back buffer gives no device context; the row waits for the
        // next frame.
        if (FAILED(back->GetDC()))
            continue;
        const CHighscoreEntry& entry = m_Entries[place - 1];
        const int y = ROWS_Y + ROW_HEIGHT * (place - 1);
        CString text;
        text.Format("%d.", place);
        back->PrintText(PLACE_X, y, TEXT_RED, text);
        back->PrintText(NAME_X, y, TEXT_RED, entry.m_Name);
        text.Format("%d", entry.m_nScore);
        back->PrintText(SCORE_X, y, TEXT_RED, text);
        back->ReleaseDC();
    }
}

bool CHighscores::OnClick(int x, int y)
{
    const int item = m_pMenu ? m_pMenu->HitTest(x, y) : -1;
    if (item == ITEM_BACK)
        return false;
    if (item == ITEM_RESET)
    {
        const CDialogScope scope(m_pScreen);
        CMessageDlg question;
        if (question.Show("Wollen Sie Ihre hart erarbeiteten Rekorde\nl\xF6schen?", "Frage",
                          CMessageDlg::MODE_QUESTION) == IDYES)
            SetDefaults();
    }
    return true;
}
