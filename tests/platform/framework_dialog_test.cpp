#include "platform/framework/classicpainter.h"
#include "platform/framework/dialogtemplate.h"
#include "platform/framework/dialogwindow.h"
#include "platform/framework/framework.h"
#include "platform/testing/testing.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <tuple>
#include <vector>

namespace
{

using platform::DialogItemTemplate;
using platform::DialogTemplate;
using platform::InputEvent;
using Kind = DialogItemTemplate::Kind;

// kind, id, x, y, cx, cy
using Row = std::tuple<Kind, int, int, int, int, int>;

std::vector<Row> Rows(const DialogTemplate& t)
{
    std::vector<Row> rows;
    for (const DialogItemTemplate& item : t.items)
        rows.emplace_back(item.kind, item.id, item.x, item.y, item.cx, item.cy);
    return rows;
}

// A dialog window on its own, fed with input as the modal loop would.
class Host : public CWnd
{
public:
    Host() { CreateHandle(nullptr, 0, "Frage", WS_POPUP); }
};

InputEvent Key(UINT key, bool shift = false)
{
    InputEvent e;
    e.kind = InputEvent::Kind::KeyDown;
    e.key = key;
    e.shift = shift;
    return e;
}

InputEvent Mouse(InputEvent::Kind kind, POINT p)
{
    InputEvent e;
    e.kind = kind;
    e.x = p.x;
    e.y = p.y;
    return e;
}

POINT Centre(const RECT& r)
{
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

} // namespace

// One template read in full; the sizes of all four are measured on screen in
// the end-to-end tests, their buttons pressed in the scenario tests.
TEST(DialogTemplates, TheNameDialogHoldsItsControlsInDialogUnits)
{
    const auto name = DialogTemplate::Load(131);
    ASSERT_TRUE(name);
    EXPECT_EQ(name->caption, "Geben Sie Ihren Namen ein");
    EXPECT_EQ(name->style, DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(Rows(*name), (std::vector<Row>{{Kind::Icon, -1, 6, 7, 21, 20},
                                             {Kind::Text, -1, 39, 7, 126, 8},
                                             {Kind::Edit, 1002, 39, 18, 153, 14},
                                             {Kind::DefPushButton, 1003, 75, 42, 50, 14}}));
    EXPECT_EQ(name->items[1].text, "Ihr &Name(max. 10 Stellen):");
    const DWORD editStyle = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL | WS_VISIBLE;
    EXPECT_EQ(name->items[2].style & editStyle, editStyle);
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

    // The hidden OK hands the focus to Ja; Enter presses the focused button.
    EXPECT_EQ(window.Focus()->GetDlgCtrlID(), 1007);
    EXPECT_EQ(window.HandleEvent(Key(VK_RETURN)).command, 1007);
    window.HandleEvent(Key(VK_TAB));
    EXPECT_EQ(window.Focus()->GetDlgCtrlID(), 3);
    EXPECT_EQ(window.HandleEvent(Key(VK_SPACE)).command, 3);
    window.HandleEvent(Key(VK_TAB));
    EXPECT_EQ(window.Focus()->GetDlgCtrlID(), 1007); // around, past the hidden OK
    window.HandleEvent(Key(VK_TAB, true));
    EXPECT_EQ(window.Focus()->GetDlgCtrlID(), 3);
    EXPECT_EQ(window.HandleEvent(Key('J')).command, 1007);
    EXPECT_FALSE(window.HandleEvent(Key('O')).command); // OK's letter, but OK is hidden
    EXPECT_EQ(window.HandleEvent(Key(VK_ESCAPE)).command, IDCANCEL);
}

TEST(DialogWindow, TheEditFieldTypesEditsAndScrollsToTheCaret)
{
    Host host;
    platform::DialogWindow window(host, *DialogTemplate::Load(131));
    platform::DialogControl* edit = window.Focus();
    ASSERT_TRUE(edit != nullptr && edit->IsEdit());

    InputEvent typed;
    typed.kind = InputEvent::Kind::Text;
    typed.text = "Hans\x01";
    window.HandleEvent(typed);
    window.HandleEvent(Key('N')); // a letter in the edit field is no mnemonic
    window.HandleEvent(Key(VK_HOME));
    window.HandleEvent(Key(VK_DELETE));
    window.HandleEvent(Key(VK_END));
    window.HandleEvent(Key(VK_BACK));
    window.HandleEvent(Key(VK_LEFT));
    typed.text = "\xE4";
    window.HandleEvent(typed);
    EXPECT_EQ(edit->GetWindowText(), "a\xE4n");
    EXPECT_EQ(edit->Caret(), 2u);

    // Far more than fits: the view follows the caret both ways.
    typed.text = std::string(80, 'W');
    window.HandleEvent(typed);
    const RECT area = edit->TextArea();
    EXPECT_GT(edit->ScrollX(), 0);
    EXPECT_LT(edit->CaretX(), area.right - area.left);
    EXPECT_GE(edit->CaretX(), 0);
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
    const POINT ok =
        Centre(window.PictureRect(*static_cast<platform::DialogControl*>(host.GetDlgItem(1000))));
    const POINT more =
        Centre(window.PictureRect(*static_cast<platform::DialogControl*>(host.GetDlgItem(1005))));

    window.HandleEvent(Mouse(InputEvent::Kind::MouseDown, more));
    EXPECT_EQ(window.Focus()->GetDlgCtrlID(), 1005);
    window.HandleEvent(Mouse(InputEvent::Kind::MouseMove, {more.x, more.y + 100}));
    EXPECT_FALSE(
        window.HandleEvent(Mouse(InputEvent::Kind::MouseUp, {more.x, more.y + 100})).command);
    window.HandleEvent(Mouse(InputEvent::Kind::MouseDown, ok));
    EXPECT_EQ(window.HandleEvent(Mouse(InputEvent::Kind::MouseUp, ok)).command, 1000);

    const POINT close = Centre(platform::ClassicPainter::CloseBoxRect(window.WindowRect()));
    window.HandleEvent(Mouse(InputEvent::Kind::MouseDown, close));
    EXPECT_EQ(window.HandleEvent(Mouse(InputEvent::Kind::MouseUp, close)).command, IDCANCEL);
    InputEvent windowClosed;
    windowClosed.kind = InputEvent::Kind::Close;
    EXPECT_EQ(window.HandleEvent(windowClosed).command, IDCANCEL);
}

TEST(DialogWindow, IsCentredAndDrawsOnlyVisibleControls)
{
    Host host;
    platform::DialogWindow window(host, *DialogTemplate::Load(155));
    window.Layout(640, 480);
    const RECT& w = window.WindowRect();
    EXPECT_LE(std::abs((w.left + w.right) - 640), 1);
    EXPECT_LE(std::abs((w.top + w.bottom) - 480), 1);
    EXPECT_EQ(w.right - w.left,
              platform::ClassicPainter::WindowWidth(platform::ClassicPainter::DialogUnitsX(264)));

    host.GetDlgItem(3)->ShowWindow(SW_HIDE);
    platform::PixelBuffer picture(640, 480, 16);
    window.Paint(picture);
    auto pixel = [&](LONG x, LONG y) { return picture.Get(x, y); };
    const std::uint32_t face = picture.FromRgb(platform::classic::kFace);
    const RECT ok =
        window.PictureRect(*static_cast<platform::DialogControl*>(host.GetDlgItem(1006)));
    const RECT no = window.PictureRect(*static_cast<platform::DialogControl*>(host.GetDlgItem(3)));
    EXPECT_NE(pixel(ok.right - 1, ok.bottom - 1), face); // the button's dark edge
    EXPECT_EQ(pixel(no.right - 1, no.bottom - 1), face); // hidden: nothing there
    EXPECT_EQ(pixel(w.left + 10, w.top + 8), picture.FromRgb(platform::classic::kCaption));
}
