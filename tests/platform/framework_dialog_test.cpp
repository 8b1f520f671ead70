#include "events.h"

#include "platform/framework/classicpainter.h"
#include "platform/framework/dialogtemplate.h"
#include "platform/framework/dialogwindow.h"
#include "platform/framework/framework.h"
#include "platform/testing/testing.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <vector>

namespace
{

using platform::DialogItemTemplate;
using platform::DialogTemplate;
using namespace events;
using Item = DialogItemTemplate::Kind;

// A dialog window on its own, fed with input as the modal loop would.
class Host : public CWnd
{
public:
    Host() { CreateHandle(nullptr, 0, "Frage", WS_POPUP); }
    RECT Rect(const platform::DialogWindow& window, int id)
    {
        return window.PictureRect(*static_cast<platform::DialogControl*>(GetDlgItem(id)));
    }
};

std::optional<int> Click(platform::DialogWindow& window, POINT down, POINT up)
{
    window.HandleEvent(Mouse(Kind::MouseDown, down));
    window.HandleEvent(Mouse(Kind::MouseMove, up));
    return window.HandleEvent(Mouse(Kind::MouseUp, up)).command;
}

} // namespace

// The game's dialogs are measured on screen in the end-to-end tests and
// answered in the scenario tests; here what their templates must carry besides.
TEST(DialogTemplates, TemplatesCarryCodePageTextsAndEditStyles)
{
    const auto name = DialogTemplate::Load(131);
    ASSERT_TRUE(name);
    EXPECT_EQ(name->items.at(1).text, "Ihr &Name(max. 10 Stellen):");
    const DWORD editStyle = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | WS_VISIBLE;
    EXPECT_EQ(name->items.at(2).style & editStyle, editStyle);
    EXPECT_EQ(DialogTemplate::Load(130)->caption, "Info \xFC"
                                                  "ber Tamzelon");
    EXPECT_FALSE(DialogTemplate::Load(999));
}

TEST(DialogTemplates, DamagedTemplatesAreRefusedNamingTheLine)
{
    const std::string head = "7 DIALOG 0, 0, 100, 50\nFONT 8, \"x\"\nBEGIN\n";
    EXPECT_EQ(
        DialogTemplate::Parse(head + "  LTEXT \"a \\\"b\\\"\", 5, 1, 2, 3, 4\nEND\n").items[0].text,
        "a \"b\"");
    for (const std::string& bad :
         {head + "  SLIDER \"a\", 1, 1, 1, 1, 1\nEND\n", head + "  LTEXT \"a\", 1, 1, 1, 1\nEND\n",
          head + "  LTEXT \"a, 1, 1, 1, 1, 1\nEND\n", head + "  LTEXT \"a\", x, 1, 1, 1, 1\nEND\n",
          head + "  LTEXT \"a\", 1, 1, 1, 1, 1, WS_BOGUS\nEND\n",
          head + "  LTEXT \"a\", 1, 1, 1, 1, 1\n",
          std::string("7 DIALOG 0, 0, 100, 50\nFONT 10, \"x\"\nBEGIN\nEND\n"), std::string("")})
    {
        try
        {
            DialogTemplate::Parse(bad);
            ADD_FAILURE() << "accepted: " << bad;
        }
        catch (const std::runtime_error& error)
        {
            EXPECT_EQ(std::string(error.what()).rfind("line ", 0), 0u) << error.what();
        }
    }
}

// The game's own dialogs are answered in the app tests; here what no dialog
// of the game shows.
TEST(Dialog, WithoutAnAnswererItIsCancelledWithoutATemplateNothingIsShown)
{
    platform::testing::SetModalAnswerer(nullptr);
    EXPECT_EQ(CDialog(155).DoModal(), IDCANCEL);
    EXPECT_EQ(CDialog(999).DoModal(), -1);
    EXPECT_EQ(platform::testing::TakeModalBoxes().size(), 1u);
}

TEST(DialogWindow, KeyboardMovesTheFocusAndPressesButtons)
{
    Host host;
    platform::DialogWindow window(host, *DialogTemplate::Load(155));
    host.GetDlgItem(1006)->ShowWindow(SW_HIDE);
    auto focus = [&] { return window.Focus()->GetDlgCtrlID(); };

    // The hidden OK hands the focus to Ja; Enter and Space press the focused button.
    EXPECT_EQ(focus(), 1007);
    EXPECT_EQ(window.HandleEvent(Key(VK_RETURN)).command, 1007);
    window.HandleEvent(Key(VK_TAB));
    EXPECT_EQ(window.HandleEvent(Key(VK_SPACE)).command, 3);
    window.HandleEvent(Key(VK_TAB));
    EXPECT_EQ(focus(), 1007); // around, past the hidden OK
    window.HandleEvent(Key(VK_TAB, true));
    EXPECT_EQ(focus(), 3);
    EXPECT_EQ(window.HandleEvent(Key('J')).command, 1007);
    EXPECT_FALSE(window.HandleEvent(Key('O')).command); // OK's letter, but OK is hidden
    EXPECT_EQ(window.HandleEvent(Key(VK_ESCAPE)).command, IDCANCEL);
    EXPECT_EQ(window.HandleEvent(Event(Kind::Close)).command, IDCANCEL);
}

TEST(DialogWindow, TheEditFieldTypesEditsAndScrollsToTheCaret)
{
    Host host;
    platform::DialogWindow window(host, *DialogTemplate::Load(131));
    platform::DialogControl* edit = window.Focus();
    ASSERT_TRUE(edit != nullptr && edit->IsEdit());
    auto type = [&](const std::string& text)
    {
        InputEvent typed = Event(Kind::Text);
        typed.text = text;
        window.HandleEvent(typed);
    };

    type("Hans\x01");
    // A letter in the edit field is no mnemonic.
    for (UINT key :
         {UINT('N'), UINT(VK_HOME), UINT(VK_DELETE), UINT(VK_END), UINT(VK_BACK), UINT(VK_LEFT)})
        window.HandleEvent(Key(key));
    type("\xE4");
    EXPECT_EQ(edit->GetWindowText(), "a\xE4n");
    EXPECT_EQ(edit->Caret(), 2u);

    // Far more than fits: the view follows the caret both ways.
    type(std::string(80, 'W'));
    EXPECT_GT(edit->ScrollX(), 0);
    EXPECT_GE(edit->CaretX(), 0);
    EXPECT_LT(edit->CaretX(), edit->TextArea().right - edit->TextArea().left);
    window.HandleEvent(Key(VK_HOME));
    EXPECT_EQ(edit->ScrollX(), 0);
    EXPECT_EQ(window.HandleEvent(Key(VK_RETURN)).command, 1003);

    // Away from the field, the label's mnemonic brings the focus back.
    window.HandleEvent(Key(VK_TAB));
    EXPECT_EQ(window.Focus()->GetDlgCtrlID(), 1003);
    window.HandleEvent(Key('N'));
    EXPECT_EQ(window.Focus(), edit);
}

TEST(DialogWindow, AButtonActsWhenReleasedOverIt)
{
    Host host;
    platform::DialogWindow window(host, *DialogTemplate::Load(130));
    window.Layout(640, 480);
    const POINT ok = Centre(host.Rect(window, 1000)), more = Centre(host.Rect(window, 1005));
    const POINT close = Centre(platform::ClassicPainter::CloseBoxRect(window.WindowRect()));

    EXPECT_FALSE(Click(window, more, {more.x, more.y + 100}));
    EXPECT_EQ(window.Focus()->GetDlgCtrlID(), 1005); // the press took the focus
    EXPECT_EQ(Click(window, ok, ok), 1000);
    EXPECT_EQ(Click(window, close, close), IDCANCEL);
}

TEST(DialogWindow, IsCentredAndDrawsOnlyVisibleControls)
{
    Host host;
    platform::DialogWindow window(host, *DialogTemplate::Load(155));
    window.Layout(640, 480);
    const RECT& w = window.WindowRect();
    EXPECT_TRUE(CentredIn(w, 640, 480));

    host.GetDlgItem(3)->ShowWindow(SW_HIDE);
    platform::PixelBuffer picture(640, 480, 16);
    window.Paint(picture);
    const std::uint32_t face = picture.FromRgb(platform::classic::kFace);
    const RECT ok = host.Rect(window, 1006), no = host.Rect(window, 3);
    EXPECT_NE(picture.Get(ok.right - 1, ok.bottom - 1), face); // the button's dark edge
    EXPECT_EQ(picture.Get(no.right - 1, no.bottom - 1), face); // hidden: nothing there
    EXPECT_EQ(picture.Get(w.left + 10, w.top + 8), picture.FromRgb(platform::classic::kCaption));
}
