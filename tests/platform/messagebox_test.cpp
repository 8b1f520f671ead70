// The message box drawn by the game itself: long texts kept on the picture,
// and the keys and clicks that close it. Its look is found on screen by the
// end-to-end tests.
#include "events.h"

#include "platform/framework/classicpainter.h"
#include "platform/framework/messageboxwindow.h"

#include <gtest/gtest.h>

using namespace events;
using platform::ClassicPainter;
using platform::MessageBoxWindow;

TEST(MessageBox, LongTextsAreWrappedOrCutToStayOnThePicture)
{
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "Wollen Sie Ihre hart erarbeiteten Rekorde l\xF6schen? ";
    text += "\n" + std::string(300, 'W') + "\n";
    for (int i = 0; i < 60; ++i)
        text += "Zeile\n";
    MessageBoxWindow big("Frage", text, 640, 480);
    const RECT& w = big.WindowRect();
    EXPECT_TRUE(w.left >= 0 && w.top >= 0 && w.right <= 640 && w.bottom <= 480);
    const RECT client = ClassicPainter::ClientRect(w);
    for (const std::string& line : big.Lines())
        EXPECT_LE(platform::TextRenderer::Instance().Width(platform::TextFace::Dialog, line),
                  client.right - client.left);
    EXPECT_EQ(big.Lines()[0].rfind("Wollen Sie", 0), 0u);

    // Under the address sanitizer a write outside the buffer fails the test.
    platform::PixelBuffer tiny(50, 40, 8);
    ClassicPainter painter(tiny);
    painter.DrawWindow({-20, -10, 60, 70}, "Abgeschnitten");
    painter.DrawButton({30, 30, 120, 60}, "&Nein", {true, true, true});
}

TEST(MessageBox, ClosesOnEnterEscapeSpaceAndOnAClickOnOkOrTheCloseBox)
{
    MessageBoxWindow box("Gratulation", "Super!!!", 640, 480);
    for (UINT key : {VK_RETURN, VK_ESCAPE, VK_SPACE, VK_F1, UINT('A')})
        EXPECT_EQ(box.HandleEvent(Key(key)),
                  key == VK_RETURN || key == VK_ESCAPE || key == VK_SPACE)
            << key;

    const POINT ok = Centre(box.OkButtonRect()), outside{5, 5}, body = Centre(box.WindowRect()),
                close = Centre(ClassicPainter::CloseBoxRect(box.WindowRect()));
    struct Click
    {
        POINT down, up;
        bool closes;
    };
    // Only a press and a release on the same button count.
    for (const Click& c : {Click{ok, ok, true},
                           {close, close, true},
                           {ok, outside, false},
                           {outside, ok, false},
                           {close, ok, false},
                           {body, body, false}})
    {
        EXPECT_FALSE(box.HandleEvent(Mouse(Kind::MouseDown, c.down)));
        EXPECT_EQ(box.HandleEvent(Mouse(Kind::MouseUp, c.up)), c.closes)
            << c.down.x << "," << c.down.y << " to " << c.up.x << "," << c.up.y;
    }
}
