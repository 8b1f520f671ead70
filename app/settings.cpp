// Reading and writing the remembered settings: a line of key=value each.
#include "app/settings.h"

#include "app/printable.h"
#include "platform/framework/creplacefile.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

namespace
{

// Far more than the game ever writes: a larger file is not ours.
constexpr std::streamsize MAX_FILE_SIZE = 4096;

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

} // namespace

std::filesystem::path Settings::File()
{
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the XDG rules say.
    std::filesystem::path folder;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/')
        folder = config;
    else if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        folder = std::filesystem::path(home) / ".config";
    else
        return {};
    return folder / "tamzelon" / "settings";
}

Settings Settings::Load(const std::filesystem::path& file, std::ostream& errors)
{
    Settings settings;
    // Missing is the first start; anything else is worth a word. Only a plain
    // file is opened: a pipe there would wait for a writer forever.
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file, error);
    if (!std::filesystem::exists(status))
        return settings;
    std::ifstream in;
    if (std::filesystem::is_regular_file(status))
        in.open(file, std::ios::binary);
    if (!in.is_open())
    {
        errors << "tamzelon: cannot read " << Printable(file.string()) << "; using the defaults\n";
        return settings;
    }
    std::string text(static_cast<std::size_t>(MAX_FILE_SIZE) + 1, '\0');
    in.read(text.data(), MAX_FILE_SIZE + 1);
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad() || text.size() > static_cast<std::size_t>(MAX_FILE_SIZE))
    {
        errors << "tamzelon: " << Printable(file.string())
               << " is not a settings file; using the defaults\n";
        return settings;
    }

    // However much noise the file holds, the terminal gets one line about it.
    int firstWrong = 0;
    int wrongLines = 0;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number)
    {
        line = Trimmed(line);
        if (line.empty() || line[0] == '#')
            continue;
        const auto equals = line.find('=');
        const std::string key = Trimmed(line.substr(0, equals));
        const std::string value =
            equals == std::string::npos ? "" : Trimmed(line.substr(equals + 1));
        if (key == "screen" && (value == "window" || value == "fullscreen"))
            settings.window = value == "window";
        else if (wrongLines++ == 0)
            firstWrong = number;
    }
    if (wrongLines == 1)
        errors << "tamzelon: " << Printable(file.string()) << ", line " << firstWrong
               << ": not understood, ignored\n";
    else if (wrongLines > 1)
        errors << "tamzelon: " << Printable(file.string()) << ": " << wrongLines
               << " lines not understood (the first is line " << firstWrong << "), ignored\n";
    return settings;
}

bool Settings::Save(const std::filesystem::path& file, std::ostream& errors) const
{
    if (file.empty())
        return false;
    std::error_code ignored; // a folder that cannot be made fails the open below
    std::filesystem::create_directories(file.parent_path(), ignored);
    const std::string text =
        std::string("# Tamzelon remembers here how it was shown last: window or fullscreen.\n") +
        "screen=" + (window ? "window" : "fullscreen") + "\n";
    // Saved as the high scores are: whole or not at all, links and modes kept,
    // a write-protected file left alone.
    CReplaceFile out;
    try
    {
        CFileException error;
        if (!out.OpenPath(file.string(), &error))
            throw error;
        out.Write(text.data(), static_cast<UINT>(text.size()));
        out.Commit();
        return true;
    }
    catch (const CFileException& failure)
    {
        out.Rollback();
        errors << "tamzelon: cannot write " << Printable(file.string()) << " ("
               << std::strerror(static_cast<int>(failure.m_lOsError))
               << "); the choice of window or full screen is not remembered\n";
        return false;
    }
}
