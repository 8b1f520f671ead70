// What a running dialog looks like and how it answers input: the controls of
// its template placed in pixels, the window centred on the picture, the focus,
// the button being pressed, and the painting in the classic grey look. The
// CDialog runs the loop and carries out the commands this class reports.
#pragma once

#include "platform/framework/dialogcontrol.h"
#include "platform/framework/dialogtemplate.h"
#include "platform/win32/inputevent.h"
#include "platform/win32/pixelbuffer.h"
#include "platform/win32/testseams.h"

#include <memory>
#include <optional>
#include <vector>

class CWnd;

namespace platform
{

class DialogWindow
{
public:
    // Creates the controls as child windows of the dialog.
    DialogWindow(CWnd& dialog, const DialogTemplate& dialogTemplate);
    ~DialogWindow();
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // Centres the window on a picture of that size.
    void Layout(int pictureWidth, int pictureHeight);
    const RECT& WindowRect() const { return m_rcWindow; }
    // A control's rectangle on the picture.
    RECT PictureRect(const DialogControl& control) const;
    DialogControl* Focus();

    void Paint(PixelBuffer& picture);

    struct Outcome
    {
        bool repaint = false;
        std::optional<int> command; // the id of the control pressed; IDCANCEL for Escape
    };
    Outcome HandleEvent(const InputEvent& event);

    // The dialog as a test's answerer sees it, and its answer taken back.
    testing::ModalBox Describe(int templateId) const;
    bool HasVisibleButton(int id) const;
    void SetEditText(const std::string& text);

private:
    enum class Tracking
    {
        None,
        Button,
        CloseBox,
    };

    void EnsureFocus();
    void MoveFocus(bool backward);
    void SetFocus(const DialogControl* control);
    DialogControl* DefaultButton();
    std::optional<int> Mnemonic(char key);
    Outcome HandleKey(const InputEvent& event);
    Outcome HandleMouse(const InputEvent& event);
    RECT TrackedRect() const;

    CWnd& m_Dialog;
    std::vector<std::unique_ptr<DialogControl>> m_Controls; // template order
    int m_nClientWidth;
    int m_nClientHeight;
    RECT m_rcWindow{};
    int m_nFocus = -1;
    Tracking m_Tracking = Tracking::None;
    DialogControl* m_pTracked = nullptr;
    bool m_bPressed = false;  // the tracked button shows pressed (the mouse is over it)
    bool m_bSkipText = false; // the text of an Alt+letter that was a mnemonic
};

} // namespace platform
