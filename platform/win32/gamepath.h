// Opening a file by the game's own name for it: a backslash in the name is a
// folder separator ("Sounds\Klick.wav" opens "Sounds/Klick.wav"). Only regular
// files are opened, and no open ever waits: a FIFO, a device or a folder in a
// file's place is a file that cannot be opened.
#pragma once

#include <cstdio>
#include <string>

std::string GamePath(const char* name);

// As open(2); -1 with errno set when it fails or the path names no regular
// file (EISDIR for a folder, EACCES for anything else).
int OpenRegularFile(const std::string& path, int flags);

// The file opened for reading in binary; null when it cannot be opened.
std::FILE* OpenGameFile(const char* name);
