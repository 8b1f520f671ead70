// Breaking text into lines that fit a width.
#include "platform/gdi/wordwrap.h"

namespace platform
{

namespace
{

// Moves the longest head of line that fits (at least one character) into lines.
void BreakOff(std::string& line, int width, const std::function<int(std::string_view)>& measure,
              std::vector<std::string>& lines)
{
    std::size_t fits = 1, tooLong = line.size();
    while (tooLong - fits > 1)
    {
        const std::size_t middle = (fits + tooLong) / 2;
        if (measure(std::string_view(line).substr(0, middle)) > width)
            tooLong = middle;
        else
            fits = middle;
    }
    lines.push_back(line.substr(0, fits));
    line.erase(0, fits);
}

} // namespace

std::vector<std::string> WrapWords(std::string_view text, int width,
                                   const std::function<int(std::string_view)>& measure,
                                   LongWord longWord)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true)
    {
        const std::size_t newline = text.find('\n', start);
        std::string_view paragraph = text.substr(start, newline - start);
        if (!paragraph.empty() && paragraph.back() == '\r')
            paragraph.remove_suffix(1);

        std::string line;
        std::size_t pos = 0;
        while (pos < paragraph.size())
        {
            std::size_t end = paragraph.find_first_not_of(' ', pos);
            end = end == std::string_view::npos ? paragraph.size() : paragraph.find(' ', end);
            if (end == std::string_view::npos)
                end = paragraph.size();
            std::string_view word = paragraph.substr(pos, end - pos);
            pos = end;
            if (!line.empty() && measure(line + std::string(word)) > width)
            {
                lines.push_back(line);
                line.clear();
                const std::size_t first = word.find_first_not_of(' ');
                word.remove_prefix(first == std::string_view::npos ? word.size() : first);
            }
            line += word;
            if (longWord == LongWord::Break)
                while (line.size() > 1 && measure(line) > width)
                    BreakOff(line, width, measure, lines);
        }
        lines.push_back(line);
        if (newline == std::string_view::npos)
            return lines;
        start = newline + 1;
    }
}

} // namespace platform
