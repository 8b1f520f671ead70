// One line of the high-score table.
#include "highscores/chighscoreentry.h"

CHighscoreEntry::CHighscoreEntry(const CString& name, int score) : m_Name(name), m_nScore(score) {}
