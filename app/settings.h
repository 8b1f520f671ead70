// What the game remembers between starts: whether it was shown in a window
// or full screen. A small text file in $XDG_CONFIG_HOME/tamzelon/ (or
// ~/.config/tamzelon/); a missing or damaged one gives the defaults and never
// stops the game.
#pragma once

#include <filesystem>
#include <ostream>

struct Settings
{
    bool window = false; // the first start is full screen

    // The file, or an empty path when neither XDG_CONFIG_HOME (absolute) nor
    // HOME says where it goes.
    static std::filesystem::path File();

    // What the file says; anything unreadable there is told on errors and
    // left at its default.
    static Settings Load(const std::filesystem::path& file, std::ostream& errors);
    // Replaces the file whole or not at all, as the table is replaced (a
    // write-protected file is refused); false (told on errors) if not.
    bool Save(const std::filesystem::path& file, std::ostream& errors) const;
};
