#include "events.h"

#include "platform/framework/classicpainter.h"
#include "platform/framework/messageboxwindow.h"

#include <gtest/gtest.h>

using namespace events;
using platform::ClassicPainter;
using platform::MessageBoxWindow;
using platform::PixelBuffer;

namespace
{

bool Click(MessageBoxWindow& box, POINT down, POINT up)
{
    EXPECT_FALSE(box.HandleEvent(Mouse(Kind::MouseDown, down)));
    return box.HandleEvent(Mouse(Kind::MouseUp, up));
}

bool Inside(const RECT& r, int width, int height)
{
    return r.left >= 0 && r.top >= 0 && r.right <= width && r.bottom <= height;
}

} // namespace

TEST(MessageBox, HeadlessBoxIsRecordedAndAnswered)
{
    EXPECT_EQ(MessageBoxA(nullptr, "DirectDraw Error DDERR_GENERIC", nullptr, MB_OK), IDOK);
    std::vector<std::string> seen;
    platform::testing::SetModalAnswerer(
        [&seen](const platform::testing::ModalBox& box)
        {
            seen.push_back(box.caption + "|" + box.text);
            return IDCANCEL;
        });
    EXPECT_EQ(MessageBoxA(nullptr, "Zweite\nZeile", "Frage", MB_OK), IDCANCEL);

    const auto boxes = platform::testing::TakeModalBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption + "|" + boxes[0].text, "Error|DirectDraw Error DDERR_GENERIC");
    EXPECT_EQ(seen, std::vector<std::string>{"Frage|Zweite\nZeile"});
}

TEST(MessageBox, LayoutIsCentredAndKeepsLongTextsOnThePicture)
{
    MessageBoxWindow small("Error", "DirectDraw Error DDERR_INVALIDMODE\nFILE: x\nLINE: 366", 640,
                           480);
    EXPECT_EQ(small.Lines().size(), 3u);
    EXPECT_TRUE(CentredIn(small.WindowRect(), 640, 480));
    EXPECT_LE(std::abs(small.OkButtonRect().left + small.OkButtonRect().right -
                       (small.WindowRect().left + small.WindowRect().right)),
              1);
    EXPECT_GT(small.OkButtonRect().top, small.WindowRect().top + 40);

    // One long paragraph, one endless word and many lines: wrapped or cut.
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "Wollen Sie Ihre hart erarbeiteten Rekorde l\xF6schen? ";
    text += "\n" + std::string(300, 'W') + "\n";
    for (int i = 0; i < 60; ++i)
        text += "Zeile\n";
    MessageBoxWindow big("Frage", text, 640, 480);
    EXPECT_TRUE(Inside(big.WindowRect(), 640, 480));
    const RECT client = ClassicPainter::ClientRect(big.WindowRect());
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

    const POINT ok = Centre(box.OkButtonRect()), outside{5, 5};
    const POINT close = Centre(ClassicPainter::CloseBoxRect(box.WindowRect()));
    EXPECT_TRUE(Click(box, ok, ok));
    EXPECT_TRUE(Click(box, close, close));
    EXPECT_FALSE(Click(box, ok, outside)); // let go elsewhere
    EXPECT_FALSE(Click(box, outside, ok)); // pressed elsewhere
    EXPECT_FALSE(Click(box, close, ok));   // the press belongs to the close box
    EXPECT_FALSE(Click(box, Centre(box.WindowRect()), Centre(box.WindowRect())));
}

// The caption bar and its text are found on screen by the end-to-end tests.
TEST(MessageBox, PaintsTheClassicLookAndNothingOutside)
{
    PixelBuffer picture(640, 480, 16);
    for (int i = 0; i < 640 * 480; ++i)
        picture.Set(i % 640, i / 640, 0x0100);
    MessageBoxWindow box("Gratulation", "Sehr gut!", 640, 480);
    box.Paint(picture);

    const RECT &w = box.WindowRect(), &ok = box.OkButtonRect();
    const RECT client = ClassicPainter::ClientRect(w);
    const std::uint32_t white = picture.FromRgb({255, 255, 255}),
                        black = picture.FromRgb({0, 0, 0});
    const std::pair<POINT, std::uint32_t> pixels[] = {
        {{w.left - 1, w.top}, 0x0100},
        {{w.right, w.bottom - 1}, 0x0100},
        {{w.right - 1, w.bottom - 1}, black}, // outer shadow
        {{w.left + 1, w.top + 1}, white},     // inner light
        {{client.left + 2, client.bottom - 2}, picture.FromRgb({192, 192, 192})},
        {{ok.left, ok.top}, black}, // the default button's frame
        {{ok.right - 1, ok.bottom - 1}, black},
    };
    for (const auto& [p, want] : pixels)
        EXPECT_EQ(picture.Get(p.x, p.y), want) << p.x << "," << p.y;
    int text = 0; // the message in black
    for (int y = client.top; y < ok.top; ++y)
        for (int x = client.left; x < client.right; ++x)
            text += picture.Get(x, y) == black;
    EXPECT_GT(text, 30);

    // A window reaching past the picture's edges paints only what is on it.
    PixelBuffer tiny(50, 40, 8);
    ClassicPainter painter(tiny);
    painter.DrawWindow({-20, -10, 60, 70}, "Abgeschnitten");
    painter.DrawButton({30, 30, 120, 60}, "&Nein", {true, true, true});
}
