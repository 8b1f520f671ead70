// Loads arbitrary bytes as "highscore.sav". The table must come out either
// exactly as a plain reading of the records says, or as the whole default table.
#include "highscores/chighscores.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

std::string g_folder;
std::string g_path;

void RemoveFolder()
{
    std::remove(g_path.c_str());
    rmdir(g_folder.c_str());
}

struct Record
{
    int score;
    bool wide; // UTF-16: only the length is checked, not the converted text
    std::string name;
};

// A second, independent reading of the format.
class Reader
{
public:
    Reader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    std::optional<std::vector<Record>> Records()
    {
        std::vector<Record> records;
        for (int i = 0; i < CHighscores::PLACES; ++i)
        {
            Record record{};
            std::uint64_t score, length;
            if (!Take(4, score) || !Length(record.wide, length))
                return std::nullopt;
            const std::uint64_t bytes = record.wide ? 2 * length : length;
            if (bytes > m_size - m_pos)
                return std::nullopt;
            record.score = static_cast<int>(static_cast<std::uint32_t>(score));
            record.name.assign(reinterpret_cast<const char*>(m_data + m_pos), bytes);
            m_pos += bytes;
            records.push_back(record);
        }
        return records;
    }

private:
    bool Take(int count, std::uint64_t& value)
    {
        if (m_size - m_pos < static_cast<std::size_t>(count))
            return false;
        value = 0;
        for (int i = 0; i < count; ++i)
            value |= static_cast<std::uint64_t>(m_data[m_pos++]) << (8 * i);
        return true;
    }

    bool Length(bool& wide, std::uint64_t& length)
    {
        wide = false;
        if (!Take(1, length))
            return false;
        if (length < 0xFF)
            return true;
        if (!Take(2, length))
            return false;
        if (length == 0xFFFE)
        {
            wide = true;
            if (!Take(1, length))
                return false;
            if (length < 0xFF)
                return true;
            if (!Take(2, length))
                return false;
        }
        return length < 0xFFFF || Take(4, length);
    }

    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

bool IsDefaultTable(const CHighscores& table)
{
    const CHighscores defaults;
    for (int i = 0; i < CHighscores::PLACES; ++i)
        if (!(table.m_Entries[i].m_Name == defaults.m_Entries[i].m_Name) ||
            table.m_Entries[i].m_nScore != defaults.m_Entries[i].m_nScore)
            return false;
    return true;
}

bool Matches(const CHighscores& table, const std::vector<Record>& records)
{
    for (int i = 0; i < CHighscores::PLACES; ++i)
    {
        const CHighscoreEntry& entry = table.m_Entries[i];
        const Record& record = records[i];
        if (entry.m_nScore != record.score)
            return false;
        const std::size_t length = static_cast<std::size_t>(entry.m_Name.GetLength());
        if (record.wide ? length > record.name.size() / 2
                        : !(entry.m_Name ==
                            CString(record.name.data(), static_cast<int>(record.name.size()))))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // A memory file system where there is one: rewriting a file on disk is slow.
    std::string pattern =
        access("/dev/shm", W_OK) == 0 ? "/dev/shm/tz-fuzz-XXXXXX" : "/tmp/tz-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data()))
        std::abort();
    g_folder = pattern;
    g_path = g_folder + "/highscore.sav";
    std::atexit(RemoveFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::FILE* file = std::fopen(g_path.c_str(), "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
        std::abort();

    CHighscores table;
    table.Insert("Fuzz", 40000); // so that a kept old table would show
    table.Load(g_path.c_str());

    const auto records = Reader(data, size).Records();
    if (records ? !Matches(table, *records) : !IsDefaultTable(table))
        std::abort();
    return 0;
}
