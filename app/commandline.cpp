// The player's options and the texts of --help, --version and the usage.
#include "app/commandline.h"

CommandLine CommandLine::Parse(const std::vector<std::string>& arguments)
{
    CommandLine line;
    for (const std::string& argument : arguments)
    {
        if (argument == "--help")
            line.action = Action::Help;
        else if (argument == "--version")
        {
            if (line.action != Action::Help)
                line.action = Action::Version;
        }
        else if (argument == "--window" || argument == "--fullscreen")
            line.window = argument == "--window";
        else if (argument == "--silent")
            line.silent = true;
        else
        {
            // A wrong argument wins over everything else, --help included.
            line.action = Action::Usage;
            line.wrong = argument;
            break;
        }
    }
    return line;
}

std::string UsageText()
{
    return "Usage: tamzelon [--window | --fullscreen] [--silent]\n"
           "       tamzelon --help | --version\n";
}

std::string HelpText()
{
    return "Tamzelon: shoot groups of two or more equal stones and clear the field.\n\n" +
           UsageText() +
           "\nOptions:\n"
           "  --window       start in a window\n"
           "  --fullscreen   start full screen\n"
           "                 (without either: as last time; the first start is full screen)\n"
           "  --silent       play without sound, with no sound device at all\n"
           "  --help         print this help and exit\n"
           "  --version      print the version and exit\n"
           "\nKeys in the menu:\n"
           "  mouse          point at a button; a left click chooses it\n"
           "  Up, Down       move the highlight\n"
           "  Enter          choose the highlighted button\n"
           "  Escape         show the credits; Enter, Escape or a click there ends the game\n"
           "\nKeys in a game:\n"
           "  click, Space   shoot the stone under the crosshair, with its group\n"
           "  arrow keys     move the crosshair one stone\n"
           "  Enter          ask, then start a new game\n"
           "  Escape         ask, then leave the game for the menu\n"
           "\nEverywhere:\n"
           "  F1             the info dialog (Steuerung... lists the keys)\n"
           "  Alt+Enter      switch between a window and full screen (not in a dialog)\n"
           "\nGame controller:\n"
           "  D-pad          the highlight in the menu, the crosshair by a stone in a game\n"
           "  left stick     move the crosshair smoothly\n"
           "  A              shoot\n"
           "  Start          as Enter\n"
           "  B              as Escape\n";
}

std::string VersionText()
{
    return "tamzelon " TZ_VERSION "\n";
}
