// Breaking text into lines for static text and message boxes: at every '\n'
// and at blanks, as the system does for text drawn into a box.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform
{

enum class LongWord
{
    Cut,   // stands alone on its line and is cut at the edge when drawn
    Break, // is broken between characters
};

// Lines no wider than width as measured, save a word that alone is wider. A
// '\r' ending a line is dropped; a word keeps the blanks before it, except
// where it starts a wrapped line.
std::vector<std::string> WrapWords(std::string_view text, int width,
                                   const std::function<int(std::string_view)>& measure,
                                   LongWord longWord);

} // namespace platform
