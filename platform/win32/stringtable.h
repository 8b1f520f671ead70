// The program's string resources (the application title 57344 and the frame
// window's title 128), read from the embedded string table.
#pragma once

#include "platform/win32/win32.h"

#include <optional>
#include <string>

namespace platform
{

class StringTable
{
public:
    // The string with that number, code page 1252; none when the table lacks it.
    static std::optional<std::string> Load(UINT id);
};

} // namespace platform
