// Turning the game's file names into paths and opening them.
#include "platform/win32/gamepath.h"

#include <algorithm>
#include <string>

std::FILE* OpenGameFile(const char* name, const char* mode)
{
    if (name == nullptr || mode == nullptr)
        return nullptr;
    std::string path = name;
    std::replace(path.begin(), path.end(), '\\', '/');
    return std::fopen(path.c_str(), mode);
}
