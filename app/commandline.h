// The player's command line: what the game is asked to do and how it starts,
// and the texts it answers --help, --version and a wrong option with.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct CommandLine
{
    enum class Action
    {
        Play,
        Help,
        Version,
        Usage, // an argument the game does not know
    };

    Action action = Action::Play;
    // --window or --fullscreen, the last one given; none: as last time.
    std::optional<bool> window;
    // --silent: no sound device at all.
    bool silent = false;
    // The argument that made the action Usage.
    std::string wrong;

    static CommandLine Parse(const std::vector<std::string>& arguments);
};

// The options and the keys, for --help.
std::string HelpText();
// The short form, for standard error after a wrong option.
std::string UsageText();
std::string VersionText();
