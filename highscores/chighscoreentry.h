// One line of the high-score table: a name and its score.
#pragma once

#include "platform/framework/framework.h"

class CHighscoreEntry
{
public:
    CHighscoreEntry() = default;
    CHighscoreEntry(const CString& name, int score);
    virtual ~CHighscoreEntry() = default;
    CHighscoreEntry(const CHighscoreEntry&) = default;
    CHighscoreEntry& operator=(const CHighscoreEntry&) = default;

    CString m_Name;
    int m_nScore = 0;
};
