// Conversion between the game's 8-bit strings (code page 1252) and UTF-8, the
// encoding SDL speaks. Used only at the platform's edge.
#pragma once

#include <string>
#include <string_view>

namespace platform
{

// Appends one Unicode character (up to U+10FFFF) in UTF-8.
void AppendUtf8(std::string& out, char32_t c);

// Every byte has a character: the five bytes that code page 1252 leaves
// undefined become the control characters of the same value.
std::string Cp1252ToUtf8(std::string_view text);

// Characters the code page cannot hold become '?'; broken UTF-8 sequences too.
std::string Utf8ToCp1252(std::string_view text);

} // namespace platform
