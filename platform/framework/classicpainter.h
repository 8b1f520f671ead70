// Drawing of the classic grey three-dimensional window look: frames, caption
// bar with close box, push buttons, sunken fields, dialog text with mnemonic
// underlines. Message boxes and dialogs paint themselves with it into a
// picture that is then shown in the game's window. Everything is clipped to
// the picture.
#pragma once

#include "platform/gdi/textrenderer.h"
#include "platform/win32/pixelbuffer.h"
#include "platform/win32/win32.h"

#include <string>
#include <string_view>

namespace platform
{

namespace classic
{
constexpr Rgb kFace{192, 192, 192};
constexpr Rgb kHighlight{255, 255, 255};
constexpr Rgb kShadow{128, 128, 128};
constexpr Rgb kDarkShadow{0, 0, 0};
constexpr Rgb kCaption{0, 0, 128};
constexpr Rgb kCaptionText{255, 255, 255};
constexpr Rgb kText{0, 0, 0};
constexpr Rgb kGrayText{128, 128, 128};
constexpr Rgb kWindow{255, 255, 255};

constexpr int kFrameWidth = 3;     // the two bevel rings and one ring of face
constexpr int kCaptionHeight = 18; // the bar; one line of face follows it
constexpr int kCloseBoxWidth = 16;
constexpr int kCloseBoxHeight = 14;
} // namespace classic

struct ButtonLook
{
    bool isDefault = false; // the black outer frame of the button Enter presses
    bool pressed = false;
    bool focused = false; // the dotted focus rectangle around the label
};

class ClassicPainter
{
public:
    explicit ClassicPainter(PixelBuffer& target) : m_Target(target) {}

    void FillRect(const RECT& rect, Rgb colour);
    // A one-pixel ring: top and left in one colour, bottom and right in another.
    void DrawEdge(const RECT& rect, Rgb topLeft, Rgb bottomRight);
    void DrawRaised(const RECT& rect); // a button's outline
    void DrawSunken(const RECT& rect); // an edit field's outline
    void DrawFocusRect(const RECT& rect);

    // Frame, caption bar with its text and close box, face-coloured client.
    void DrawWindow(const RECT& window, std::string_view caption, bool closePressed = false);
    static RECT CaptionRect(const RECT& window);
    static RECT CloseBoxRect(const RECT& window);
    static RECT ClientRect(const RECT& window);
    // The window size that gives a client area of that size.
    static int WindowWidth(int clientWidth) { return clientWidth + 2 * classic::kFrameWidth; }
    static int WindowHeight(int clientHeight)
    {
        return clientHeight + 2 * classic::kFrameWidth + classic::kCaptionHeight + 1;
    }

    // A push button with its label centred; '&' marks the mnemonic.
    void DrawButton(const RECT& rect, std::string_view label, const ButtonLook& look);

    // Text in the dialog font with its top-left cell corner at (x, y).
    void DrawText(int x, int y, std::string_view text, Rgb colour, TextFace face = TextFace::Dialog,
                  const RECT* clip = nullptr);
    // A label with '&' mnemonics: the '&' disappears and the next character is
    // underlined ("&&" is a plain '&').
    void DrawLabel(int x, int y, std::string_view label, Rgb colour,
                   TextFace face = TextFace::Dialog, const RECT* clip = nullptr);
    static std::string StripMnemonic(std::string_view label);

    // Pixels of dialog units, from the dialog font's base units.
    static int DialogUnitsX(int units);
    static int DialogUnitsY(int units);

private:
    void HorizontalLine(int x0, int x1, int y, Rgb colour); // x1 exclusive
    void VerticalLine(int x, int y0, int y1, Rgb colour);   // y1 exclusive
    void Plot(int x, int y, std::uint32_t raw);

    PixelBuffer& m_Target;
};

} // namespace platform
