// Laying out, painting and driving a dialog's controls by keyboard and mouse.
#include "platform/framework/dialogwindow.h"

#include "platform/framework/classicpainter.h"
#include "platform/framework/cwnd.h"
#include "platform/gdi/iconimage.h"
#include "platform/gdi/textrenderer.h"
#include "platform/gdi/wordwrap.h"
#include "platform/win32/screenmode.h"

#include <algorithm>
#include <utility>

namespace platform
{

namespace
{

using Kind = DialogItemTemplate::Kind;

bool Inside(const RECT& r, int x, int y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

RECT Offset(const RECT& r, int dx, int dy)
{
    return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

// Static text is measured as drawn, without its mnemonic marks.
int LabelWidth(std::string_view label)
{
    return TextRenderer::Instance().Width(TextFace::Dialog, ClassicPainter::StripMnemonic(label));
}

} // namespace

DialogWindow::DialogWindow(CWnd& dialog, const DialogTemplate& dialogTemplate)
    : m_Dialog(dialog), m_nClientWidth(ClassicPainter::DialogUnitsX(dialogTemplate.cx)),
      m_nClientHeight(ClassicPainter::DialogUnitsY(dialogTemplate.cy))
{
    for (const DialogItemTemplate& item : dialogTemplate.items)
    {
        const int left = ClassicPainter::DialogUnitsX(item.x);
        const int top = ClassicPainter::DialogUnitsY(item.y);
        RECT rect{left, top, left + ClassicPainter::DialogUnitsX(item.cx),
                  top + ClassicPainter::DialogUnitsY(item.cy)};
        // An icon control takes the size of its icon.
        if (item.kind == Kind::Icon)
            if (const IconImage* icon = IconImage::Load(item.text))
                rect = {left, top, left + icon->Width(), top + icon->Height()};
        m_Controls.push_back(std::make_unique<DialogControl>(&dialog, item, rect));
    }
    // Laid out again on the picture it is shown over.
    Layout(kDesktopWidth, kDesktopHeight);
}

DialogWindow::~DialogWindow() = default;

void DialogWindow::Layout(int pictureWidth, int pictureHeight)
{
    const int width = ClassicPainter::WindowWidth(m_nClientWidth);
    const int height = ClassicPainter::WindowHeight(m_nClientHeight);
    const int left = (pictureWidth - width) / 2;
    const int top = (pictureHeight - height) / 2;
    m_rcWindow = {left, top, left + width, top + height};
}

RECT DialogWindow::PictureRect(const DialogControl& control) const
{
    const RECT client = ClassicPainter::ClientRect(m_rcWindow);
    return Offset(control.Rect(), client.left, client.top);
}

DialogControl* DialogWindow::Focus()
{
    EnsureFocus();
    return m_nFocus < 0 ? nullptr : m_Controls[static_cast<std::size_t>(m_nFocus)].get();
}

void DialogWindow::EnsureFocus()
{
    // A focused control that was hidden hands the focus on to the next one.
    const int count = static_cast<int>(m_Controls.size());
    const int start = std::max(m_nFocus, 0);
    for (int i = 0; i < count; ++i)
    {
        const int index = (start + i) % count;
        if (m_Controls[static_cast<std::size_t>(index)]->CanFocus())
        {
            m_nFocus = index;
            return;
        }
    }
    m_nFocus = -1;
}

void DialogWindow::MoveFocus(bool backward)
{
    EnsureFocus();
    const int count = static_cast<int>(m_Controls.size());
    if (m_nFocus < 0)
        return;
    for (int i = 1; i < count; ++i)
    {
        const int index = (m_nFocus + (backward ? count - i : i)) % count;
        if (m_Controls[static_cast<std::size_t>(index)]->CanFocus())
        {
            m_nFocus = index;
            return;
        }
    }
}

void DialogWindow::SetFocus(const DialogControl* control)
{
    for (std::size_t i = 0; i < m_Controls.size(); ++i)
        if (m_Controls[i].get() == control)
            m_nFocus = static_cast<int>(i);
}

DialogControl* DialogWindow::DefaultButton()
{
    // The focused button acts as the default; otherwise the template's.
    DialogControl* focus = Focus();
    if (focus != nullptr && focus->IsButton())
        return focus;
    for (const auto& control : m_Controls)
        if (control->GetKind() == Kind::DefPushButton && control->IsWindowVisible())
            return control.get();
    return nullptr;
}

std::optional<int> DialogWindow::Mnemonic(char key)
{
    for (std::size_t i = 0; i < m_Controls.size(); ++i)
    {
        DialogControl& control = *m_Controls[i];
        if (!control.IsWindowVisible() || control.Mnemonic() != key)
            continue;
        if (control.IsButton())
        {
            SetFocus(&control);
            return control.GetDlgCtrlID();
        }
        // A label's mnemonic moves the focus to the control after it.
        for (std::size_t next = i + 1; next < m_Controls.size(); ++next)
            if (m_Controls[next]->CanFocus())
            {
                SetFocus(m_Controls[next].get());
                return std::nullopt;
            }
    }
    return std::nullopt;
}

DialogWindow::Outcome DialogWindow::HandleEvent(const InputEvent& event)
{
    const bool skipText = std::exchange(m_bSkipText, false);
    switch (event.kind)
    {
    case InputEvent::Kind::KeyDown:
        return HandleKey(event);
    case InputEvent::Kind::Text:
    {
        DialogControl* focus = Focus();
        if (skipText || focus == nullptr || !focus->IsEdit())
            return {};
        focus->Type(event.text);
        return {true, std::nullopt};
    }
    case InputEvent::Kind::MouseDown:
    case InputEvent::Kind::MouseMove:
    case InputEvent::Kind::MouseUp:
        return HandleMouse(event);
    case InputEvent::Kind::Close:
        return {false, IDCANCEL};
    case InputEvent::Kind::FocusGained:
        return {true, std::nullopt};
    default:
        return {};
    }
}

DialogWindow::Outcome DialogWindow::HandleKey(const InputEvent& event)
{
    DialogControl* focus = Focus();
    const bool inEdit = focus != nullptr && focus->IsEdit();
    switch (event.key)
    {
    case VK_ESCAPE:
        return {false, IDCANCEL};
    case VK_RETURN:
    {
        const DialogControl* button = DefaultButton();
        return {false, button != nullptr ? button->GetDlgCtrlID() : IDOK};
    }
    case VK_TAB:
        MoveFocus(event.shift);
        return {true, std::nullopt};
    case VK_SPACE:
        if (focus != nullptr && focus->IsButton())
            return {true, focus->GetDlgCtrlID()};
        return {};
    default:
        break;
    }
    const bool letter =
        (event.key >= 'A' && event.key <= 'Z') || (event.key >= '0' && event.key <= '9');
    if (letter && (event.alt || !inEdit))
    {
        // With Alt held the letter may come as text too; it is not typed.
        m_bSkipText = event.alt;
        const std::optional<int> command = Mnemonic(static_cast<char>(event.key));
        return {true, command};
    }
    if (inEdit && focus->EditKey(event.key))
        return {true, std::nullopt};
    return {};
}

RECT DialogWindow::TrackedRect() const
{
    if (m_Tracking == Tracking::CloseBox)
        return ClassicPainter::CloseBoxRect(m_rcWindow);
    return m_pTracked != nullptr ? PictureRect(*m_pTracked) : RECT{};
}

DialogWindow::Outcome DialogWindow::HandleMouse(const InputEvent& event)
{
    const Tracking tracking = m_Tracking;
    const bool pressed = m_bPressed;
    if (event.kind == InputEvent::Kind::MouseDown)
    {
        m_Tracking = Tracking::None;
        m_pTracked = nullptr;
        if (Inside(ClassicPainter::CloseBoxRect(m_rcWindow), event.x, event.y))
            m_Tracking = Tracking::CloseBox;
        for (const auto& control : m_Controls)
        {
            const RECT rect = PictureRect(*control);
            if (!control->IsWindowVisible() || !Inside(rect, event.x, event.y))
                continue;
            if (control->IsButton())
            {
                // A button takes the focus when it is pressed, as classic buttons do.
                SetFocus(control.get());
                m_Tracking = Tracking::Button;
                m_pTracked = control.get();
            }
            else if (control->CanFocus())
            {
                SetFocus(control.get());
                control->PlaceCaret(event.x - control->TextArea().left -
                                    (rect.left - control->Rect().left));
                m_bPressed = false;
                return {true, std::nullopt};
            }
        }
        m_bPressed = m_Tracking != Tracking::None;
        return {true, std::nullopt};
    }
    if (m_Tracking == Tracking::None)
        return {};
    if (m_Tracking == Tracking::Button && (m_pTracked == nullptr || !m_pTracked->IsWindowVisible()))
        m_Tracking = Tracking::None;
    const bool over = m_Tracking != Tracking::None && Inside(TrackedRect(), event.x, event.y);
    if (event.kind == InputEvent::Kind::MouseMove)
    {
        m_bPressed = over;
        return {tracking != m_Tracking || pressed != m_bPressed, std::nullopt};
    }
    // The button acts when the mouse is let go over it.
    Outcome outcome{true, std::nullopt};
    if (over)
        outcome.command = m_Tracking == Tracking::CloseBox ? IDCANCEL : m_pTracked->GetDlgCtrlID();
    m_Tracking = Tracking::None;
    m_pTracked = nullptr;
    m_bPressed = false;
    return outcome;
}

void DialogWindow::Paint(PixelBuffer& picture)
{
    ClassicPainter painter(picture);
    painter.DrawWindow(m_rcWindow, std::string(m_Dialog.GetWindowText()),
                       m_Tracking == Tracking::CloseBox && m_bPressed);
    DialogControl* focus = Focus();
    const DialogControl* defaultButton = DefaultButton();
    auto& renderer = TextRenderer::Instance();
    const int lineHeight = renderer.LineHeight(TextFace::Dialog);

    for (const auto& control : m_Controls)
    {
        if (!control->IsWindowVisible())
            continue;
        const RECT rect = PictureRect(*control);
        const CString text = control->GetWindowText();
        switch (control->GetKind())
        {
        case Kind::Text:
        {
            int y = rect.top;
            // A word wider than the control is cut at its edge.
            for (const std::string& line : WrapWords(std::string_view(text), rect.right - rect.left,
                                                     LabelWidth, LongWord::Cut))
            {
                painter.DrawLabel(rect.left, y, line, classic::kText, TextFace::Dialog, &rect);
                y += lineHeight;
            }
            break;
        }
        case Kind::Icon:
            if (const IconImage* icon = IconImage::Load(std::string_view(text)))
                icon->Draw(picture, rect.left, rect.top);
            break;
        case Kind::PushButton:
        case Kind::DefPushButton:
        {
            ButtonLook look;
            look.isDefault = control.get() == defaultButton;
            look.focused = control.get() == focus;
            look.pressed =
                m_Tracking == Tracking::Button && m_pTracked == control.get() && m_bPressed;
            painter.DrawButton(rect, std::string_view(text), look);
            break;
        }
        case Kind::Edit:
        {
            if ((control->GetStyle() & WS_BORDER) != 0)
                painter.DrawSunken(rect);
            const int dx = rect.left - control->Rect().left;
            const int dy = rect.top - control->Rect().top;
            const RECT area = Offset(control->TextArea(), dx, dy);
            painter.FillRect(Offset(control->Inside(), dx, dy), classic::kWindow);
            const int textTop = area.top + (area.bottom - area.top - lineHeight) / 2;
            painter.DrawText(area.left - control->ScrollX(), textTop, std::string_view(text),
                             classic::kText, TextFace::Dialog, &area);
            if (control.get() == focus)
            {
                const int caretX = area.left + control->CaretX();
                painter.FillRect({caretX, textTop, caretX + 1, textTop + lineHeight},
                                 classic::kText);
            }
            break;
        }
        }
    }
}

testing::ModalBox DialogWindow::Describe(int templateId) const
{
    testing::ModalBox box;
    box.caption = std::string(m_Dialog.GetWindowText());
    box.dialogTemplate = templateId;
    for (const auto& control : m_Controls)
    {
        if (!control->IsWindowVisible())
            continue;
        const std::string text(control->GetWindowText());
        if (control->GetKind() == Kind::Text)
            box.text += (box.text.empty() ? "" : "\n") + text;
        else if (control->IsButton())
            box.buttons.push_back({control->GetDlgCtrlID(), text});
        else if (control->IsEdit() && !box.hasEdit)
        {
            box.hasEdit = true;
            box.editText = text;
        }
    }
    return box;
}

bool DialogWindow::HasVisibleButton(int id) const
{
    return std::any_of(m_Controls.begin(), m_Controls.end(),
                       [id](const auto& c) {
                           return c->IsButton() && c->IsWindowVisible() && c->GetDlgCtrlID() == id;
                       });
}

void DialogWindow::SetEditText(const std::string& text)
{
    for (const auto& control : m_Controls)
        if (control->IsEdit() && control->IsWindowVisible())
        {
            control->SetWindowText(text.c_str());
            return;
        }
}

} // namespace platform
