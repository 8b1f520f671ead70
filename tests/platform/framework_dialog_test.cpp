// The dialog window and the message box drawn by the game itself: keys,
// clicks, the edit field, and long texts kept on the picture. The game's own
// dialogs are answered in the app tests, and found and clicked on screen in
// the end-to-end tests; here what those do not press.
#include "events.h"

#include "platform/framework/classicpainter.h"
#include "platform/framework/dialogtemplate.h"
#include "platform/framework/dialogwindow.h"
#include "platform/framework/framework.h"
#include "platform/framework/messageboxwindow.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

namespace
{

using platform::DialogTemplate;
using namespace events;

// A dialog window on its own, fed with input as the modal loop would.
struct Host : CWnd
{
    explicit Host(int id)
        : window((CreateHandle(nullptr, 0, "Frage", WS_POPUP), *this), *DialogTemplate::Load(id))
    {
        window.Layout(640, 480);
    }
    POINT At(int id)
    {
        return Centre(window.PictureRect(*static_cast<platform::DialogControl*>(GetDlgItem(id))));
    }
    std::optional<int> Send(const InputEvent& e) { return window.HandleEvent(e).command; }
    int FocusId() { return window.Focus()->GetDlgCtrlID(); }
    platform::DialogWindow window;
};

} // namespace

TEST(DialogWindow, KeysAndClicksMoveTheFocusPastAHiddenButtonAndPressButtons)
{
    Host host(155);
    host.GetDlgItem(1006)->ShowWindow(SW_HIDE);
    EXPECT_EQ(host.FocusId(), 1007) << "the hidden OK hands the focus to Ja";
    // A button acts only when the mouse is let go over it; the press takes the focus.
    const POINT no = host.At(3), beside{no.x, no.y + 100}, yes = host.At(1007);
    const POINT close = Centre(platform::ClassicPainter::CloseBoxRect(host.window.WindowRect()));
    // The input, the command it gives, and the focus after it (0: not looked at).
    const std::tuple<InputEvent, std::optional<int>, int> steps[] = {
        {Mouse(Kind::MouseDown, no), {}, 3},
        {Mouse(Kind::MouseUp, beside), {}, 3},
        {Mouse(Kind::MouseDown, yes), {}, 1007},
        {Mouse(Kind::MouseUp, yes), 1007, 1007},
        {Key(VK_RETURN), 1007, 1007},
        {Key(VK_TAB), {}, 3},
        {Key(VK_SPACE), 3, 3},
        {Key(VK_TAB), {}, 1007},
        {Key(VK_TAB, true), {}, 3},
        {Key('J'), 1007, 0},
        {Key('O'), {}, 0}, // OK's letter, but OK is hidden
        {Key(VK_ESCAPE), IDCANCEL, 0},
        {Event(Kind::Close), IDCANCEL, 0},
        {Mouse(Kind::MouseDown, close), {}, 0},
        {Mouse(Kind::MouseUp, close), IDCANCEL, 0},
    };
    int step = 0;
    for (const auto& [event, command, focus] : steps)
    {
        SCOPED_TRACE(testing::Message() << "step " << step++);
        EXPECT_EQ(host.Send(event), command);
        EXPECT_TRUE(focus == 0 || host.FocusId() == focus) << host.FocusId();
    }
}

TEST(DialogWindow, TheEditFieldTypesAndEdits)
{
    Host host(131);
    platform::DialogControl* edit = host.window.Focus();
    ASSERT_TRUE(edit != nullptr && edit->IsEdit());
    auto type = [&](const std::string& text)
    {
        InputEvent typed = Event(Kind::Text);
        typed.text = text;
        host.Send(typed);
    };

    type("Hans\x01");
    // A letter in the edit field is no mnemonic.
    for (UINT key :
         {UINT('N'), UINT(VK_HOME), UINT(VK_DELETE), UINT(VK_END), UINT(VK_BACK), UINT(VK_LEFT)})
        host.Send(Key(key));
    type("\xE4");
    EXPECT_EQ(edit->GetWindowText(), "a\xE4n");
    EXPECT_EQ(edit->Caret(), 2u);

    EXPECT_EQ(host.Send(Key(VK_RETURN)), 1003);

    // Away from the field, the label's mnemonic brings the focus back.
    host.Send(Key(VK_TAB));
    EXPECT_EQ(host.FocusId(), 1003);
    host.Send(Key('N'));
    EXPECT_EQ(host.window.Focus(), edit);
}

TEST(MessageBox, LongTextsAreWrappedOrCutToStayOnThePicture)
{
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "Wollen Sie Ihre hart erarbeiteten Rekorde l\xF6schen? ";
    text += "\n" + std::string(300, 'W') + "\n";
    for (int i = 0; i < 60; ++i)
        text += "Zeile\n";
    platform::MessageBoxWindow big("Frage", text, 640, 480);
    const RECT& w = big.WindowRect();
    EXPECT_TRUE(w.left >= 0 && w.top >= 0 && w.right <= 640 && w.bottom <= 480);
    const RECT client = platform::ClassicPainter::ClientRect(w);
    for (const std::string& line : big.Lines())
        EXPECT_LE(platform::TextRenderer::Instance().Width(platform::TextFace::Dialog, line),
                  client.right - client.left);
    EXPECT_EQ(big.Lines()[0].rfind("Wollen Sie", 0), 0u);

    // Under the address sanitizer a write outside the buffer fails the test.
    platform::PixelBuffer tiny(50, 40, 8);
    platform::ClassicPainter painter(tiny);
    painter.DrawWindow({-20, -10, 60, 70}, "Abgeschnitten");
    painter.DrawButton({30, 30, 120, 60}, "&Nein", {true, true, true});
}

TEST(MessageBox, ClosesOnEnterEscapeSpaceAndOnAClickOnOkOrTheCloseBox)
{
    platform::MessageBoxWindow box("Gratulation", "Super!!!", 640, 480);
    for (UINT key : {VK_RETURN, VK_ESCAPE, VK_SPACE, VK_F1, UINT('A')})
        EXPECT_EQ(box.HandleEvent(Key(key)),
                  key == VK_RETURN || key == VK_ESCAPE || key == VK_SPACE)
            << key;

    const POINT ok = Centre(box.OkButtonRect()), outside{5, 5}, body = Centre(box.WindowRect()),
                close = Centre(platform::ClassicPainter::CloseBoxRect(box.WindowRect()));
    // Only a press and a release on the same button count: where each is, and
    // whether the box closes.
    const std::tuple<POINT, POINT, bool> clicks[] = {{ok, ok, true},       {close, close, true},
                                                     {ok, outside, false}, {outside, ok, false},
                                                     {close, ok, false},   {body, body, false}};
    for (const auto& [down, up, closes] : clicks)
    {
        EXPECT_FALSE(box.HandleEvent(Mouse(Kind::MouseDown, down)));
        EXPECT_EQ(box.HandleEvent(Mouse(Kind::MouseUp, up)), closes)
            << down.x << "," << down.y << " to " << up.x << "," << up.y;
    }
}
