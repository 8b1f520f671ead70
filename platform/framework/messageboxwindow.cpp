// Laying out, painting and running a message box.
#include "platform/framework/messageboxwindow.h"

#include "platform/framework/messagepump.h"

#include "platform/framework/classicpainter.h"
#include "platform/framework/modaloverlay.h"
#include "platform/gdi/wordwrap.h"

#include <algorithm>

namespace platform
{

namespace
{

constexpr int kMargin = 12;    // left and right of the text, below the button
constexpr int kTextTop = 16;   // above the first line
constexpr int kButtonGap = 14; // between the last line and the button
constexpr int kMinClientWidth = 120;

bool Inside(const RECT& r, int x, int y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

int TextWidth(std::string_view text)
{
    return TextRenderer::Instance().Width(TextFace::Dialog, text);
}

} // namespace

MessageBoxWindow::MessageBoxWindow(std::string_view caption, std::string_view text,
                                   int pictureWidth, int pictureHeight)
    : m_Caption(caption)
{
    auto& renderer = TextRenderer::Instance();
    const int lineHeight = renderer.LineHeight(TextFace::Dialog);
    const int buttonWidth = ClassicPainter::DialogUnitsX(50);
    const int buttonHeight = ClassicPainter::DialogUnitsY(14);
    const int maxClientWidth = std::max(kMinClientWidth, pictureWidth - 2 * classic::kFrameWidth);
    // A word wider than the box is broken between characters.
    const int wrapWidth = std::max(1, std::min(pictureWidth * 5 / 8, maxClientWidth - 2 * kMargin));
    m_Lines = WrapWords(text, wrapWidth, TextWidth, LongWord::Break);

    // Lines that do not fit on the picture are left out.
    const int fixedHeight =
        ClassicPainter::WindowHeight(kTextTop + kButtonGap + buttonHeight + kMargin);
    const auto maxLines = static_cast<std::size_t>(
        std::max(1, (pictureHeight - fixedHeight) / std::max(1, lineHeight)));
    if (m_Lines.size() > maxLines)
        m_Lines.resize(maxLines);

    int textWidth = 0;
    for (const std::string& line : m_Lines)
        textWidth = std::max(textWidth, TextWidth(line));
    const int captionWidth =
        renderer.Width(TextFace::DialogBold, m_Caption) + 3 + classic::kCloseBoxWidth + 2 * kMargin;
    const int clientWidth =
        std::min(maxClientWidth, std::max({kMinClientWidth, textWidth + 2 * kMargin,
                                           buttonWidth + 2 * kMargin, captionWidth}));
    const int clientHeight = kTextTop + static_cast<int>(m_Lines.size()) * lineHeight + kButtonGap +
                             buttonHeight + kMargin;

    const int width = ClassicPainter::WindowWidth(clientWidth);
    const int height = ClassicPainter::WindowHeight(clientHeight);
    const int left = (pictureWidth - width) / 2;
    const int top = (pictureHeight - height) / 2;
    m_rcWindow = {left, top, left + width, top + height};

    const RECT client = ClassicPainter::ClientRect(m_rcWindow);
    m_rcText = {client.left + kMargin, client.top + kTextTop, client.right - kMargin,
                client.top + kTextTop + static_cast<int>(m_Lines.size()) * lineHeight};
    const int buttonLeft = client.left + (clientWidth - buttonWidth) / 2;
    const int buttonTop = client.bottom - kMargin - buttonHeight;
    m_rcOkButton = {buttonLeft, buttonTop, buttonLeft + buttonWidth, buttonTop + buttonHeight};
}

RECT MessageBoxWindow::TrackedRect() const
{
    return m_Tracking == Tracking::CloseBox ? ClassicPainter::CloseBoxRect(m_rcWindow)
                                            : m_rcOkButton;
}

void MessageBoxWindow::Paint(PixelBuffer& picture) const
{
    ClassicPainter painter(picture);
    painter.DrawWindow(m_rcWindow, m_Caption, m_Tracking == Tracking::CloseBox && m_bPressed);
    const int lineHeight = TextRenderer::Instance().LineHeight(TextFace::Dialog);
    for (std::size_t i = 0; i < m_Lines.size(); ++i)
        painter.DrawText(m_rcText.left, m_rcText.top + static_cast<int>(i) * lineHeight, m_Lines[i],
                         classic::kText, TextFace::Dialog, &m_rcText);
    ButtonLook look;
    look.isDefault = true;
    look.focused = true;
    look.pressed = m_Tracking == Tracking::OkButton && m_bPressed;
    painter.DrawButton(m_rcOkButton, "OK", look);
}

bool MessageBoxWindow::HandleEvent(const InputEvent& event)
{
    switch (event.kind)
    {
    case InputEvent::Kind::KeyDown:
        return event.key == VK_RETURN || event.key == VK_ESCAPE || event.key == VK_SPACE;
    case InputEvent::Kind::MouseDown:
        if (Inside(m_rcOkButton, event.x, event.y))
            m_Tracking = Tracking::OkButton;
        else if (Inside(ClassicPainter::CloseBoxRect(m_rcWindow), event.x, event.y))
            m_Tracking = Tracking::CloseBox;
        m_bPressed = m_Tracking != Tracking::None;
        return false;
    case InputEvent::Kind::MouseMove:
        if (m_Tracking != Tracking::None)
            m_bPressed = Inside(TrackedRect(), event.x, event.y);
        return false;
    case InputEvent::Kind::MouseUp:
    {
        // A button acts when the mouse is let go over it, as classic buttons do.
        const bool done = m_Tracking != Tracking::None && Inside(TrackedRect(), event.x, event.y);
        m_Tracking = Tracking::None;
        m_bPressed = false;
        return done;
    }
    case InputEvent::Kind::Close:
        return true;
    default:
        return false;
    }
}

int MessageBoxWindow::RunModal(ModalOverlay& overlay)
{
    auto paint = [&]
    {
        PixelBuffer picture = overlay.Canvas();
        Paint(picture);
        overlay.Show(picture);
    };
    paint();
    while (true)
    {
        const InputEvent event = TakeInput(kWaitForever);
        if (event.kind == InputEvent::Kind::None)
            continue;
        const Tracking tracking = m_Tracking;
        const bool pressed = m_bPressed;
        if (HandleEvent(event))
            return IDOK;
        if (tracking != m_Tracking || pressed != m_bPressed ||
            event.kind == InputEvent::Kind::FocusGained)
            paint();
    }
}

} // namespace platform
