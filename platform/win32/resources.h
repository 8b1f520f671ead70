// Resources compiled into the program: bitmaps, the icon, the dialog
// templates and the string table. The table itself is generated at build
// time (resources/).
#pragma once

#include <cstddef>
#include <string_view>

struct EmbeddedResource
{
    const char* type; // "BITMAP", "ICON", "DIALOG", ...
    const char* name; // "BMP_BLACK", "128", ...
    const unsigned char* data;
    std::size_t size;
};

// The resource of that type and name, or null when the program has none.
const EmbeddedResource* FindEmbeddedResource(std::string_view type, std::string_view name);
