// The table of the ten best results and its file "highscore.sav": defaults,
// ranking, insertion, and all-or-nothing loading and saving.
#pragma once

#include "highscores/chighscoreentry.h"
#include "platform/framework.h"

class CdxScreen;

class CHighscores
{
public:
    static constexpr int PLACES = 10;
    // Places 1 to 10, then the working slot that Insert uses.
    static constexpr int SLOTS = PLACES + 1;

    CHighscores();
    virtual ~CHighscores() = default;
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

    // Borrowed; only used to make the warning of a failed save visible.
    CdxScreen* m_pScreen = nullptr;
    CHighscoreEntry m_Entries[SLOTS];

private:
    void WarnNotSaved();
};
