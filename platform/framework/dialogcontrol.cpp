// A dialog control's text, place and, for an edit field, caret and scroll.
#include "platform/framework/dialogcontrol.h"

#include "platform/gdi/textrenderer.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>

namespace platform
{

namespace
{

constexpr int kEditBorder = 2; // the sunken frame
constexpr int kEditMargin = 2; // between the frame and the text

} // namespace

DialogControl::DialogControl(CWnd* dialog, const DialogItemTemplate& item, const RECT& rect)
    : m_Kind(item.kind), m_rcClient(rect)
{
    CreateHandle(dialog, item.id, item.text.c_str(), item.style);
}

bool DialogControl::CanFocus() const
{
    return IsWindowVisible() && (IsButton() || (IsEdit() && (m_dwStyle & WS_TABSTOP) != 0));
}

char DialogControl::Mnemonic() const
{
    const CString text = GetWindowText();
    const std::string_view label(text, static_cast<std::size_t>(text.GetLength()));
    for (std::size_t i = 0; i + 1 < label.size(); ++i)
    {
        if (label[i] != '&')
            continue;
        if (label[i + 1] != '&')
            return static_cast<char>(std::toupper(static_cast<unsigned char>(label[i + 1])));
        ++i; // "&&" is a plain '&'
    }
    return 0;
}

RECT DialogControl::Inside() const
{
    const int border = (m_dwStyle & WS_BORDER) != 0 ? kEditBorder : 0;
    return {m_rcClient.left + border, m_rcClient.top + border, m_rcClient.right - border,
            m_rcClient.bottom - border};
}

RECT DialogControl::TextArea() const
{
    const RECT inside = Inside();
    return {inside.left + kEditMargin, inside.top, inside.right - kEditMargin, inside.bottom};
}

int DialogControl::TextWidth(std::size_t length) const
{
    const CString text = GetWindowText();
    return TextRenderer::Instance().Width(
        TextFace::Dialog, std::string_view(text, std::min<std::size_t>(length, text.GetLength())));
}

int DialogControl::CaretX() const
{
    return TextWidth(m_nCaret) - m_nScrollX;
}

void DialogControl::SetText(const std::string& text, std::size_t caret)
{
    CWnd::DefWindowProc(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    m_nCaret = caret;
    KeepCaretVisible();
}

void DialogControl::KeepCaretVisible()
{
    const RECT area = TextArea();
    const int visible = std::max(1, static_cast<int>(area.right - area.left) - 1);
    const int caret = TextWidth(m_nCaret);
    if (caret - m_nScrollX > visible)
        m_nScrollX = caret - visible;
    if (caret < m_nScrollX)
        m_nScrollX = caret;
    // No blank space right of the text while some of it is scrolled away.
    m_nScrollX = std::max(0, std::min(m_nScrollX, TextWidth(std::string::npos) - visible));
}

void DialogControl::Type(std::string_view typed)
{
    std::string insert;
    for (const char c : typed)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F)
            insert += c;
    if (insert.empty())
        return;
    std::string text(GetWindowText());
    const std::size_t caret = std::min(m_nCaret, text.size());
    text.insert(caret, insert);
    if ((m_dwStyle & ES_AUTOHSCROLL) == 0)
    {
        const RECT area = TextArea();
        if (TextRenderer::Instance().Width(TextFace::Dialog, text) > area.right - area.left - 1)
            return;
    }
    SetText(text, caret + insert.size());
}

bool DialogControl::EditKey(UINT key)
{
    std::string text(GetWindowText());
    const std::size_t caret = std::min(m_nCaret, text.size());
    switch (key)
    {
    case VK_BACK:
        if (caret > 0)
            SetText(text.erase(caret - 1, 1), caret - 1);
        return true;
    case VK_DELETE:
        if (caret < text.size())
            SetText(text.erase(caret, 1), caret);
        return true;
    case VK_HOME:
        m_nCaret = 0;
        break;
    case VK_END:
        m_nCaret = text.size();
        break;
    case VK_LEFT:
        m_nCaret = caret > 0 ? caret - 1 : 0;
        break;
    case VK_RIGHT:
        m_nCaret = std::min(caret + 1, text.size());
        break;
    default:
        return false;
    }
    KeepCaretVisible();
    return true;
}

void DialogControl::PlaceCaret(int x)
{
    const std::size_t length = static_cast<std::size_t>(GetWindowText().GetLength());
    const int target = x + m_nScrollX;
    std::size_t best = 0;
    for (std::size_t i = 1; i <= length; ++i)
        if (std::abs(TextWidth(i) - target) < std::abs(TextWidth(best) - target))
            best = i;
    m_nCaret = best;
    KeepCaretVisible();
}

LRESULT DialogControl::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CWnd::DefWindowProc(message, wParam, lParam);
    if (message == WM_SETTEXT)
    {
        m_nCaret = 0;
        m_nScrollX = 0;
    }
    return result;
}

} // namespace platform
