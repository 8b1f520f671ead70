// Reads the text resources of the program (dialog templates, the string
// table), written in the manner of resource scripts: one statement a line,
// words and numbers separated by blanks, commas or '|', texts in double
// quotes with \n, \t, \" and \\ escapes, '#' starting a comment line. The
// files are UTF-8; what comes out is code page 1252.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform
{

class ResourceScriptReader
{
public:
    struct Token
    {
        std::string text;
        bool quoted = false;
    };

    explicit ResourceScriptReader(std::string_view utf8);

    // The tokens of the next line that has any; false at the end.
    bool NextLine(std::vector<Token>& tokens);

    // Raise std::runtime_error naming the current line.
    [[noreturn]] void Fail(std::string_view what) const;
    int Number(const Token& token) const;

private:
    std::string m_Text; // code page 1252
    std::size_t m_nPos = 0;
    int m_nLine = 0;
};

} // namespace platform
