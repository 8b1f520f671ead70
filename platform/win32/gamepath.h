// Opening a file by the game's own name for it: a backslash in the name is a
// folder separator ("Sounds\Klick.wav" opens "Sounds/Klick.wav").
#pragma once

#include <cstdio>

// As fopen; null when the file cannot be opened.
std::FILE* OpenGameFile(const char* name, const char* mode);
