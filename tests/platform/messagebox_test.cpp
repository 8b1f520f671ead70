#include "platform/framework/classicpainter.h"
#include "platform/framework/messageboxwindow.h"
#include "platform/testing/testing.h"
#include "platform/win32/win32.h"

#include <gtest/gtest.h>

using platform::InputEvent;
using platform::MessageBoxWindow;
using platform::PixelBuffer;

namespace
{

InputEvent Key(UINT key)
{
    InputEvent e;
    e.kind = InputEvent::Kind::KeyDown;
    e.key = key;
    return e;
}

InputEvent Mouse(InputEvent::Kind kind, int x, int y)
{
    InputEvent e;
    e.kind = kind;
    e.x = x;
    e.y = y;
    return e;
}

POINT Centre(const RECT& r)
{
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool Click(MessageBoxWindow& box, POINT down, POINT up)
{
    EXPECT_FALSE(box.HandleEvent(Mouse(InputEvent::Kind::MouseDown, down.x, down.y)));
    return box.HandleEvent(Mouse(InputEvent::Kind::MouseUp, up.x, up.y));
}

} // namespace

TEST(MessageBox, HeadlessBoxIsRecordedAndAnswered)
{
    EXPECT_EQ(MessageBoxA(nullptr, "DirectDraw Error DDERR_GENERIC", "Error", MB_OK), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "ohne Titel", nullptr, MB_OK), IDOK);

    std::vector<platform::testing::ModalBox> seen;
    platform::testing::SetModalAnswerer(
        [&seen](const platform::testing::ModalBox& box)
        {
            seen.push_back(box);
            return IDCANCEL;
        });
    EXPECT_EQ(MessageBoxA(nullptr, "Zweite\nZeile", "Frage", MB_OK), IDCANCEL);

    const auto boxes = platform::testing::TakeModalBoxes();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].text, "DirectDraw Error DDERR_GENERIC");
    EXPECT_EQ(boxes[1].caption, "Error"); // no caption given
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Frage");
    EXPECT_EQ(seen[0].text, "Zweite\nZeile");
}

TEST(MessageBox, LayoutIsCentredAndKeepsLongTextsOnThePicture)
{
    MessageBoxWindow small(
        "Error", "DirectDraw Error DDERR_INVALIDMODE\nFILE: cdxscreen\nLINE: 366", 640, 480);
    ASSERT_EQ(small.Lines().size(), 3u);
    EXPECT_EQ(small.Lines()[2], "LINE: 366");
    const RECT& w = small.WindowRect();
    EXPECT_LE(std::abs((w.left + w.right) - 640), 1);
    EXPECT_LE(std::abs((w.top + w.bottom) - 480), 1);
    const RECT& ok = small.OkButtonRect();
    EXPECT_LE(std::abs((ok.left + ok.right) - (w.left + w.right)), 1);
    EXPECT_GT(ok.top, w.top + 40);

    // One long paragraph, one endless word and many lines: all wrapped or cut
    // so that the box stays on the picture.
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "Wollen Sie Ihre hart erarbeiteten Rekorde l\xF6schen? ";
    text += "\n" + std::string(300, 'W') + "\n";
    for (int i = 0; i < 60; ++i)
        text += "Zeile\n";
    MessageBoxWindow big("Frage", text, 640, 480);
    const RECT& b = big.WindowRect();
    EXPECT_GE(b.left, 0);
    EXPECT_GE(b.top, 0);
    EXPECT_LE(b.right, 640);
    EXPECT_LE(b.bottom, 480);
    const RECT client = platform::ClassicPainter::ClientRect(b);
    for (const std::string& line : big.Lines())
        EXPECT_LE(platform::TextRenderer::Instance().Width(platform::TextFace::Dialog, line),
                  client.right - client.left);
    EXPECT_EQ(big.Lines()[0].rfind("Wollen Sie", 0), 0u);
}

TEST(MessageBox, ClosesOnEnterEscapeSpaceAndOnAClickOnOkOrTheCloseBox)
{
    MessageBoxWindow box("Gratulation", "Super!!!", 640, 480);
    for (UINT key : {VK_RETURN, VK_ESCAPE, VK_SPACE})
        EXPECT_TRUE(box.HandleEvent(Key(key))) << key;
    EXPECT_FALSE(box.HandleEvent(Key(VK_F1)));
    EXPECT_FALSE(box.HandleEvent(Key('A')));

    const POINT ok = Centre(box.OkButtonRect());
    const POINT close = Centre(platform::ClassicPainter::CloseBoxRect(box.WindowRect()));
    const POINT outside{5, 5};
    EXPECT_TRUE(Click(box, ok, ok));
    EXPECT_TRUE(Click(box, close, close));
    EXPECT_FALSE(Click(box, ok, outside)); // let go elsewhere: nothing
    EXPECT_FALSE(Click(box, outside, ok)); // pressed elsewhere: nothing
    EXPECT_FALSE(Click(box, close, ok));   // the press belongs to the close box
    EXPECT_FALSE(Click(box, Centre(box.WindowRect()), Centre(box.WindowRect())));
}

TEST(MessageBox, PaintsTheClassicLookAndNothingOutside)
{
    PixelBuffer picture(640, 480, 16);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            picture.Set(x, y, 0x0100);
    MessageBoxWindow box("Gratulation", "Sehr gut!", 640, 480);
    box.Paint(picture);

    const RECT& w = box.WindowRect();
    const RECT caption = platform::ClassicPainter::CaptionRect(w);
    const RECT client = platform::ClassicPainter::ClientRect(w);
    const std::uint32_t blue = picture.FromRgb({0, 0, 128}),
                        white = picture.FromRgb({255, 255, 255}),
                        grey = picture.FromRgb({192, 192, 192}), black = picture.FromRgb({0, 0, 0});
    EXPECT_EQ(picture.Get(w.left - 1, w.top), 0x0100u);
    EXPECT_EQ(picture.Get(w.right, w.bottom - 1), 0x0100u);
    EXPECT_EQ(picture.Get(w.right - 1, w.bottom - 1), black); // outer shadow
    EXPECT_EQ(picture.Get(w.left + 1, w.top + 1), white);     // inner light
    EXPECT_EQ(picture.Get(client.left + 2, client.bottom - 2), grey);
    EXPECT_EQ(picture.Get(caption.right - 40, caption.top + 1), blue);
    int captionInk = 0, textInk = 0;
    for (int y = caption.top; y < caption.bottom; ++y)
        for (int x = caption.left; x < caption.left + 80; ++x)
            captionInk += picture.Get(x, y) == white;
    for (int y = client.top; y < box.OkButtonRect().top; ++y)
        for (int x = client.left; x < client.right; ++x)
            textInk += picture.Get(x, y) == black;
    EXPECT_GT(captionInk, 30);
    EXPECT_GT(textInk, 30);
    // The default button's black frame.
    const RECT& ok = box.OkButtonRect();
    EXPECT_EQ(picture.Get(ok.left, ok.top), black);
    EXPECT_EQ(picture.Get(ok.right - 1, ok.bottom - 1), black);

    // A window reaching past the picture's edges paints only what is on it.
    PixelBuffer tiny(50, 40, 8);
    platform::ClassicPainter painter(tiny);
    painter.DrawWindow({-20, -10, 60, 70}, "Abgeschnitten");
    painter.DrawButton({30, 30, 120, 60}, "&Nein", {true, true, true});
}
