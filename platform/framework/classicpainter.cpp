// Painting frames, captions, buttons and text in the classic grey look.
#include "platform/framework/classicpainter.h"

#include <algorithm>

namespace platform
{

using namespace classic;

namespace
{

RECT Inset(const RECT& r, int by)
{
    return {r.left + by, r.top + by, r.right - by, r.bottom - by};
}

int MulDivRound(int value, int numerator, int denominator)
{
    return static_cast<int>((static_cast<long long>(value) * numerator + denominator / 2) /
                            denominator);
}

} // namespace

void ClassicPainter::Plot(int x, int y, std::uint32_t raw)
{
    if (x >= 0 && y >= 0 && x < m_Target.Width() && y < m_Target.Height())
        m_Target.Set(x, y, raw);
}

void ClassicPainter::HorizontalLine(int x0, int x1, int y, Rgb colour)
{
    FillRect({x0, y, x1, y + 1}, colour);
}

void ClassicPainter::VerticalLine(int x, int y0, int y1, Rgb colour)
{
    FillRect({x, y0, x + 1, y1}, colour);
}

void ClassicPainter::FillRect(const RECT& rect, Rgb colour)
{
    const int left = std::max<int>(0, rect.left);
    const int top = std::max<int>(0, rect.top);
    const int right = std::min<int>(m_Target.Width(), rect.right);
    const int bottom = std::min<int>(m_Target.Height(), rect.bottom);
    const std::uint32_t raw = m_Target.FromRgb(colour);
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            m_Target.Set(x, y, raw);
}

void ClassicPainter::DrawEdge(const RECT& rect, Rgb topLeft, Rgb bottomRight)
{
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    HorizontalLine(rect.left, rect.right - 1, rect.top, topLeft);
    VerticalLine(rect.left, rect.top, rect.bottom - 1, topLeft);
    HorizontalLine(rect.left, rect.right, rect.bottom - 1, bottomRight);
    VerticalLine(rect.right - 1, rect.top, rect.bottom, bottomRight);
}

void ClassicPainter::DrawRaised(const RECT& rect)
{
    DrawEdge(rect, kHighlight, kDarkShadow);
    DrawEdge(Inset(rect, 1), kFace, kShadow);
}

void ClassicPainter::DrawSunken(const RECT& rect)
{
    DrawEdge(rect, kShadow, kHighlight);
    DrawEdge(Inset(rect, 1), kDarkShadow, kFace);
}

void ClassicPainter::DrawFocusRect(const RECT& rect)
{
    // Every other pixel, as the dotted pen draws it.
    const std::uint32_t raw = m_Target.FromRgb(kText);
    for (int x = rect.left; x < rect.right; x += 2)
    {
        Plot(x, rect.top, raw);
        Plot(x, rect.bottom - 1, raw);
    }
    for (int y = rect.top; y < rect.bottom; y += 2)
    {
        Plot(rect.left, y, raw);
        Plot(rect.right - 1, y, raw);
    }
}

RECT ClassicPainter::CaptionRect(const RECT& window)
{
    return {window.left + kFrameWidth, window.top + kFrameWidth, window.right - kFrameWidth,
            window.top + kFrameWidth + kCaptionHeight};
}

RECT ClassicPainter::CloseBoxRect(const RECT& window)
{
    const RECT caption = CaptionRect(window);
    const int top = caption.top + (kCaptionHeight - kCloseBoxHeight) / 2;
    return {caption.right - 2 - kCloseBoxWidth, top, caption.right - 2, top + kCloseBoxHeight};
}

RECT ClassicPainter::ClientRect(const RECT& window)
{
    return {window.left + kFrameWidth, CaptionRect(window).bottom + 1, window.right - kFrameWidth,
            window.bottom - kFrameWidth};
}

void ClassicPainter::DrawWindow(const RECT& window, std::string_view caption, bool closePressed)
{
    FillRect(window, kFace);
    DrawEdge(window, kFace, kDarkShadow);
    DrawEdge(Inset(window, 1), kHighlight, kShadow);

    const RECT bar = CaptionRect(window);
    FillRect(bar, kCaption);
    const RECT close = CloseBoxRect(window);
    const RECT textClip{bar.left, bar.top, close.left - 2, bar.bottom};
    auto& renderer = TextRenderer::Instance();
    const int textY = bar.top + (kCaptionHeight - renderer.LineHeight(TextFace::DialogBold)) / 2;
    DrawText(bar.left + 3, textY, caption, kCaptionText, TextFace::DialogBold, &textClip);

    FillRect(close, kFace);
    if (closePressed)
    {
        DrawEdge(close, kDarkShadow, kHighlight);
        DrawEdge(Inset(close, 1), kShadow, kFace);
    }
    else
    {
        DrawRaised(close);
    }
    // The cross: two strokes of two pixels, 8 wide and 7 high.
    const int shift = closePressed ? 1 : 0;
    const int x0 = close.left + (kCloseBoxWidth - 8) / 2 + shift;
    const int y0 = close.top + (kCloseBoxHeight - 7) / 2 + shift;
    const std::uint32_t ink = m_Target.FromRgb(kText);
    for (int i = 0; i < 7; ++i)
    {
        Plot(x0 + i, y0 + i, ink);
        Plot(x0 + i + 1, y0 + i, ink);
        Plot(x0 + 6 - i, y0 + i, ink);
        Plot(x0 + 7 - i, y0 + i, ink);
    }
}

void ClassicPainter::DrawButton(const RECT& rect, std::string_view label, const ButtonLook& look)
{
    FillRect(rect, kFace);
    RECT body = rect;
    if (look.isDefault || look.pressed)
    {
        DrawEdge(body, kDarkShadow, kDarkShadow);
        body = Inset(body, 1);
    }
    if (look.pressed)
        DrawEdge(body, kShadow, kShadow);
    else
        DrawRaised(body);

    auto& renderer = TextRenderer::Instance();
    const int shift = look.pressed ? 1 : 0;
    const int width = renderer.Width(TextFace::Dialog, StripMnemonic(label));
    const int height = renderer.LineHeight(TextFace::Dialog);
    const int x = rect.left + (rect.right - rect.left - width) / 2 + shift;
    const int y = rect.top + (rect.bottom - rect.top - height) / 2 + shift;
    const RECT inside = Inset(body, 2);
    DrawLabel(x, y, label, kText, TextFace::Dialog, &inside);
    if (look.focused)
        DrawFocusRect(Inset(rect, 4));
}

void ClassicPainter::DrawText(int x, int y, std::string_view text, Rgb colour, TextFace face,
                              const RECT* clip)
{
    TextRenderer::Instance().Draw(m_Target, x, y, face, text, m_Target.FromRgb(colour), clip);
}

std::string ClassicPainter::StripMnemonic(std::string_view label)
{
    std::string plain;
    for (std::size_t i = 0; i < label.size(); ++i)
    {
        if (label[i] == '&' && i + 1 < label.size())
            ++i;
        plain += label[i];
    }
    return plain;
}

void ClassicPainter::DrawLabel(int x, int y, std::string_view label, Rgb colour, TextFace face,
                               const RECT* clip)
{
    std::string plain;
    std::size_t mnemonic = std::string::npos;
    for (std::size_t i = 0; i < label.size(); ++i)
    {
        if (label[i] == '&' && i + 1 < label.size())
        {
            ++i;
            if (label[i] != '&' && mnemonic == std::string::npos)
                mnemonic = plain.size();
        }
        plain += label[i];
    }
    DrawText(x, y, plain, colour, face, clip);
    if (mnemonic == std::string::npos)
        return;

    auto& renderer = TextRenderer::Instance();
    const int from = x + renderer.Width(face, std::string_view(plain).substr(0, mnemonic));
    const int to = x + renderer.Width(face, std::string_view(plain).substr(0, mnemonic + 1));
    RECT underline{from, y + renderer.Ascent(face) + 1, to, y + renderer.Ascent(face) + 2};
    if (clip)
        underline = {std::max(underline.left, clip->left), std::max(underline.top, clip->top),
                     std::min(underline.right, clip->right),
                     std::min(underline.bottom, clip->bottom)};
    FillRect(underline, colour);
}

int ClassicPainter::DialogUnitsX(int units)
{
    return MulDivRound(units, TextRenderer::Instance().AverageCharWidth(TextFace::Dialog), 4);
}

int ClassicPainter::DialogUnitsY(int units)
{
    return MulDivRound(units, TextRenderer::Instance().LineHeight(TextFace::Dialog), 8);
}

} // namespace platform
