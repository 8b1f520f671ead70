// The high-score table and its file.
#include "highscores/chighscores.h"

#include "display/cdxscreen.h"

#include <utility>

namespace
{

constexpr int DEFAULT_TOP_SCORE = 37000;
constexpr int DEFAULT_SCORE_STEP = 2000;
constexpr int SORT_PASSES = 12;

} // namespace

CHighscores::CHighscores()
{
    SetDefaults();
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
    // The records go to a new file beside the old one, which is replaced only
    // when every byte is on the medium, so a failure never leaves a broken table.
    CString tempName = fileName;
    tempName += ".tmp";
    CFile file;
    bool created = false;
    try
    {
        CFileException error;
        if (!file.Open(tempName, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive,
                       &error))
            throw error;
        created = true;
        CArchive archive(&file, CArchive::store);
        Serialize(archive);
        archive.Close();
        file.Flush();
        file.Close();
        CFile::Rename(tempName, fileName);
    }
    catch (...)
    {
        if (created)
        {
            file.Abort();
            try
            {
                CFile::Remove(tempName);
            }
            catch (const CFileException&)
            {
                // The warning below is all the player can act on.
            }
        }
        WarnNotSaved();
    }
}

void CHighscores::WarnNotSaved()
{
    ShowCursor(TRUE);
    if (m_pScreen && m_pScreen->m_pDirectDraw)
        m_pScreen->m_pDirectDraw->FlipToGDISurface();
    MessageBoxA(nullptr,
                "Die Highscores konnten nicht gespeichert werden.\nDer Datentr\xE4ger oder die "
                "Datei ist schreibgesch\xFCtzt.",
                "Warnung", MB_OK);
    ShowCursor(FALSE);
}
