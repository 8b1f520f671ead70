// The message box: caption, lines of text and one default OK button in a
// classic grey window centred over the game's picture, with its own modal
// loop. Enter, Escape, Space, a click on OK or on the close box end it.
#pragma once

#include "platform/win32/inputevent.h"
#include "platform/win32/pixelbuffer.h"

#include <string>
#include <string_view>
#include <vector>

namespace platform
{

class ModalOverlay;

class MessageBoxWindow
{
public:
    // Lays the box out for a picture of that size; long lines are wrapped.
    MessageBoxWindow(std::string_view caption, std::string_view text, int pictureWidth,
                     int pictureHeight);

    const RECT& WindowRect() const { return m_rcWindow; }
    const RECT& OkButtonRect() const { return m_rcOkButton; }
    const std::vector<std::string>& Lines() const { return m_Lines; }

    void Paint(PixelBuffer& picture) const;
    // Feeds one input event; true once the box is done.
    bool HandleEvent(const InputEvent& event);

    // Shows the box on the overlay until it is done; IDOK.
    int RunModal(ModalOverlay& overlay);

private:
    enum class Tracking
    {
        None,
        OkButton,
        CloseBox,
    };
    RECT TrackedRect() const;

    std::string m_Caption;
    std::vector<std::string> m_Lines;
    RECT m_rcWindow{};
    RECT m_rcText{};
    RECT m_rcOkButton{};
    Tracking m_Tracking = Tracking::None;
    bool m_bPressed = false; // the tracked control shows pressed (the mouse is over it)
};

} // namespace platform
