// One control of a dialog: a child window with its control id, its place in
// the dialog's client area in pixels, and for an edit field the caret and the
// horizontal scroll. No selection: the edit field is edited at the caret.
#pragma once

#include "platform/framework/cwnd.h"
#include "platform/framework/dialogtemplate.h"

#include <cstddef>
#include <string_view>

namespace platform
{

class DialogControl : public CWnd
{
public:
    using Kind = DialogItemTemplate::Kind;

    // rect: pixels in the dialog's client area.
    DialogControl(CWnd* dialog, const DialogItemTemplate& item, const RECT& rect);

    Kind GetKind() const { return m_Kind; }
    bool IsButton() const { return m_Kind == Kind::PushButton || m_Kind == Kind::DefPushButton; }
    bool IsEdit() const { return m_Kind == Kind::Edit; }
    // Reached with Tab: a visible button or a visible edit field with a tab stop.
    bool CanFocus() const;
    const RECT& Rect() const { return m_rcClient; }
    // The character after a single '&', in upper case; 0 for none.
    char Mnemonic() const;

    // The edit field: the white inside of its border, and the text area in it.
    RECT Inside() const;
    RECT TextArea() const;
    std::size_t Caret() const { return m_nCaret; }
    int ScrollX() const { return m_nScrollX; }
    // Pixels from the text area's left edge to the caret.
    int CaretX() const;
    // Typed characters at the caret; control characters are dropped. Without
    // horizontal auto-scroll, text that would not fit is refused.
    void Type(std::string_view text);
    // Backspace, Delete, Home, End, Left, Right; false for other keys.
    bool EditKey(UINT key);
    // The caret to the character boundary nearest to x (picture pixels relative
    // to the text area's left edge).
    void PlaceCaret(int x);

protected:
    // WM_SETTEXT puts the caret at the start, as edit fields do.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void SetText(const std::string& text, std::size_t caret);
    void KeepCaretVisible();
    int TextWidth(std::size_t length) const;

    Kind m_Kind;
    RECT m_rcClient;
    std::size_t m_nCaret = 0;
    int m_nScrollX = 0;
};

} // namespace platform
