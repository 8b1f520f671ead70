// Loads arbitrary bytes as "highscore.sav". The table must come out either as
// a plain reading of the ten records says, or as the whole default table.
#include "highscores/chighscores.h"
#include "tests/fuzz/memoryfile.h"

#include <algorithm>
#include <span>

namespace
{

bool IsDefault(const CHighscores& table)
{
    const CHighscores defaults;
    return std::equal(table.m_Entries, table.m_Entries + CHighscores::PLACES, defaults.m_Entries,
                      [](const CHighscoreEntry& a, const CHighscoreEntry& b)
                      { return a.m_nScore == b.m_nScore && a.m_Name == b.m_Name; });
}

// A second, independent reading of the format: the table must match it, or be
// the default table when a record is cut short.
bool AsReadPlainly(const CHighscores& table, const std::uint8_t* data, std::size_t size)
{
    std::size_t pos = 0;
    auto take = [&](std::size_t count, std::uint64_t& value)
    {
        if (size - pos < count)
            return false;
        value = 0;
        for (std::size_t i = 0; i < count; ++i)
            value |= std::uint64_t{data[pos++]} << (8 * i);
        return true;
    };
    // One byte, 0xFF and two bytes, 0xFFFF and four. The two bytes 0xFFFE mark
    // UTF-16; the real prefix follows, in which 0xFFFE is a plain length.
    auto length = [&](std::uint64_t& value, bool& wide)
    {
        wide = false;
        for (bool marked = false;; marked = true)
        {
            if (!take(1, value))
                return false;
            if (value != 0xFF)
                return true;
            if (!take(2, value))
                return false;
            if (value != 0xFFFE || marked)
                return value != 0xFFFF || take(4, value);
            wide = true;
        }
    };
    bool same = true;
    for (const CHighscoreEntry& entry : std::span(table.m_Entries, CHighscores::PLACES))
    {
        std::uint64_t score, chars;
        bool wide;
        if (!take(4, score) || !length(chars, wide) || (wide ? 2 * chars : chars) > size - pos)
            return IsDefault(table);
        const auto name = reinterpret_cast<const char*>(data + pos);
        pos += wide ? 2 * chars : chars;
        // Of a UTF-16 name only the length is checked, not the converted text.
        same = same && entry.m_nScore == static_cast<int>(static_cast<std::uint32_t>(score)) &&
               (wide ? static_cast<std::uint64_t>(entry.m_Name.GetLength()) <= chars
                     : entry.m_Name == CString(name, static_cast<int>(chars)));
    }
    return same;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CHighscores table;
    table.Insert("Fuzz", 40000); // so that a kept old table would show
    table.Load(InMemoryFile(data, size));
    if (!AsReadPlainly(table, data, size))
        std::abort();
    return 0;
}
