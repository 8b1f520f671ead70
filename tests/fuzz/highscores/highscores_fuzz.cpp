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

// A second, independent reading of the format; nothing if a record is cut short.
std::optional<std::vector<Record>> Records(const std::uint8_t* data, std::size_t size)
{
    std::size_t pos = 0;
    auto take = [&](int count, std::uint64_t& value)
    {
        if (size - pos < static_cast<std::size_t>(count))
            return false;
        value = 0;
        for (int i = 0; i < count; ++i)
            value |= static_cast<std::uint64_t>(data[pos++]) << (8 * i);
        return true;
    };
    // One byte, 0xFF and two bytes, 0xFFFF and four; 0xFFFE first marks UTF-16.
    auto length = [&](bool& wide, std::uint64_t& value)
    {
        wide = false;
        if (!take(1, value) || (value == 0xFF && !take(2, value)))
            return false;
        if (value == 0xFFFE)
        {
            wide = true;
            if (!take(1, value) || (value == 0xFF && !take(2, value)))
                return false;
        }
        return value != 0xFFFF || take(4, value);
    };
    std::vector<Record> records;
    for (int i = 0; i < CHighscores::PLACES; ++i)
    {
        Record record{};
        std::uint64_t score, chars;
        if (!take(4, score) || !length(record.wide, chars))
            return std::nullopt;
        const std::uint64_t bytes = record.wide ? 2 * chars : chars;
        if (bytes > size - pos)
            return std::nullopt;
        record.score = static_cast<int>(static_cast<std::uint32_t>(score));
        record.name.assign(reinterpret_cast<const char*>(data + pos), bytes);
        pos += bytes;
        records.push_back(record);
    }
    return records;
}

bool Matches(const CHighscores& table, const std::vector<Record>& records)
{
    for (int i = 0; i < CHighscores::PLACES; ++i)
    {
        const CHighscoreEntry& entry = table.m_Entries[i];
        const Record& record = records[i];
        const auto length = static_cast<std::size_t>(entry.m_Name.GetLength());
        if (entry.m_nScore != record.score ||
            (record.wide ? length > record.name.size() / 2
                         : !(entry.m_Name ==
                             CString(record.name.data(), static_cast<int>(record.name.size())))))
            return false;
    }
    return true;
}

std::vector<Record> DefaultTable()
{
    const CHighscores defaults;
    std::vector<Record> records;
    for (int i = 0; i < CHighscores::PLACES; ++i)
        records.push_back(
            {defaults.m_Entries[i].m_nScore, false, std::string(defaults.m_Entries[i].m_Name)});
    return records;
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

    const auto records = Records(data, size);
    if (!Matches(table, records ? *records : DefaultTable()))
        std::abort();
    return 0;
}
