// A dialog template of the program's resources: the dialog's size, style and
// caption and its controls, all in dialog units. Stored as UTF-8 text in the
// manner of a resource script (resources/dialogs/<id>.dlg):
//
//   130 DIALOG 0, 0, 250, 205
//   STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU
//   CAPTION "Info über Tamzelon"
//   FONT 8, "MS Sans Serif"
//   BEGIN
//       LTEXT "Tamzelon", -1, 6, 7, 79, 8
//       ICON 128, -1, 222, 7, 20, 20
//       DEFPUSHBUTTON "&OK", 1000, 101, 184, 58, 14
//       EDITTEXT 1002, 39, 18, 153, 14, ES_AUTOHSCROLL
//   END
//
// A control line is: kind, text (EDITTEXT has none; ICON names its icon), id
// (-1 for none), x, y, width, height, then styles added to the kind's own.
// Every font is drawn with the dialog face at 8 points, the only one there is.
#pragma once

#include "platform/win32/win32.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform
{

struct DialogItemTemplate
{
    enum class Kind
    {
        Text,          // LTEXT: left-aligned, word-wrapped
        Icon,          // ICON: text is the icon resource's name
        PushButton,    // PUSHBUTTON
        DefPushButton, // DEFPUSHBUTTON: Enter presses it
        Edit,          // EDITTEXT
    };

    Kind kind = Kind::Text;
    std::string text; // code page 1252
    int id = -1;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    DWORD style = 0; // WS_VISIBLE, WS_TABSTOP, WS_BORDER, ES_AUTOHSCROLL, ...
};

struct DialogTemplate
{
    int id = 0;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    DWORD style = 0;
    std::string caption; // code page 1252
    std::vector<DialogItemTemplate> items;

    // Raises std::runtime_error naming the line for a damaged template.
    static DialogTemplate Parse(std::string_view utf8);
    // The DIALOG resource of that number; none when the program has no such
    // template. A damaged one raises as Parse does.
    static std::optional<DialogTemplate> Load(UINT id);
};

} // namespace platform
