// Splitting resource scripts into statements, words, numbers and texts.
#include "platform/win32/resourcescriptreader.h"

#include "platform/win32/codepage.h"

#include <charconv>
#include <stdexcept>

namespace platform
{

namespace
{

bool IsSeparator(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == ',' || c == '|';
}

} // namespace

ResourceScriptReader::ResourceScriptReader(std::string_view utf8) : m_Text(Utf8ToCp1252(utf8)) {}

bool ResourceScriptReader::NextLine(std::vector<Token>& tokens)
{
    tokens.clear();
    while (tokens.empty() && m_nPos < m_Text.size())
    {
        ++m_nLine;
        std::size_t end = m_Text.find('\n', m_nPos);
        if (end == std::string::npos)
            end = m_Text.size();
        const std::string_view line = std::string_view(m_Text).substr(m_nPos, end - m_nPos);
        m_nPos = end + 1;

        std::size_t i = 0;
        while (i < line.size())
        {
            if (IsSeparator(line[i]))
            {
                ++i;
                continue;
            }
            if (line[i] == '#' && tokens.empty())
                break;
            Token token;
            if (line[i] == '"')
            {
                token.quoted = true;
                for (++i;; ++i)
                {
                    if (i >= line.size())
                        Fail("text without its closing quote");
                    if (line[i] == '"')
                        break;
                    if (line[i] == '\\')
                    {
                        if (++i >= line.size())
                            Fail("text without its closing quote");
                        switch (line[i])
                        {
                        case 'n':
                            token.text += '\n';
                            break;
                        case 't':
                            token.text += '\t';
                            break;
                        case '"':
                        case '\\':
                            token.text += line[i];
                            break;
                        default:
                            Fail("unknown escape in a text");
                        }
                        continue;
                    }
                    token.text += line[i];
                }
                ++i;
            }
            else
            {
                while (i < line.size() && !IsSeparator(line[i]) && line[i] != '"')
                    token.text += line[i++];
            }
            tokens.push_back(std::move(token));
        }
    }
    return !tokens.empty();
}

void ResourceScriptReader::Fail(std::string_view what) const
{
    throw std::runtime_error("line " + std::to_string(m_nLine) + ": " + std::string(what));
}

int ResourceScriptReader::Number(const Token& token) const
{
    int value = 0;
    const char* first = token.text.data();
    const char* last = first + token.text.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (token.quoted || token.text.empty() || error != std::errc() || end != last)
        Fail("a number was expected, not \"" + token.text + "\"");
    return value;
}

} // namespace platform
