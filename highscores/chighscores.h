// The table of the ten best results and its file "highscore.sav": defaults,
// ranking, insertion, and all-or-nothing loading and saving. The same object
// is the high-score screen: the table drawn, RESET and BACK.
#pragma once

#include "highscores/chighscoreentry.h"
#include "platform/framework/framework.h"

class CButtonMenu;
class CdxScreen;
class CdxSurface;

class CHighscores
{
public:
    static constexpr int PLACES = 10;
    // Places 1 to 10, then the working slot that Insert uses.
    static constexpr int SLOTS = PLACES + 1;

    CHighscores();
    // Deletes the button menu, which releases the two button images.
    virtual ~CHighscores();
    CHighscores(const CHighscores&) = delete;
    CHighscores& operator=(const CHighscores&) = delete;

    void SetDefaults();
    // The place, 1 to 10, that the score would take, or -1.
    int GetRank(int score) const;
    // Callers insert only after GetRank gave a place.
    void Insert(const CString& name, int score);
    void Sort();

    // On any failure the whole default table, without a message.
    void Load(const char* fileName);
    // Replaces the file only when everything was written; on any failure the
    // old file stays as it was and the player is warned.
    void Save(const char* fileName);
    void Serialize(CArchive& archive);

    // The screen. The title image is borrowed from the main menu.
    void SetTitle(CdxSurface* title);
    // Loads and keys the two button images and builds their menu. A failed
    // image raises CdxError to the caller and leaves the screen without
    // buttons.
    void Init(CdxScreen* screen);
    // Into the screen's back buffer.
    void Draw();
    // false when BACK was clicked (the caller leaves the screen); true when the
    // click was dealt with here, RESET's question included.
    bool OnClick(int x, int y);

    CdxSurface* m_pTitle = nullptr;
    // Borrowed; the drawing target, and the display to flip for a dialog.
    CdxScreen* m_pScreen = nullptr;
    // Both held by the menu, which releases them.
    CdxSurface* m_pBackImage = nullptr;
    CdxSurface* m_pResetImage = nullptr;
    CButtonMenu* m_pMenu = nullptr;
    CHighscoreEntry m_Entries[SLOTS];

private:
    void WarnNotSaved();
};
