// The button menu: an empty one, key selection with its wrap, and hover. Which
// item a point hits, borders and gaps included, is clicked on the high-score
// screen's buttons; where the buttons land and how they are drawn plain is in
// the golden images; that shared and distinct images are freed once, in the
// sanitizer build's scenarios.
#include "display/cdxscreen.h"
#include "display/cdxsurface.h"
#include "ui/cbuttonmenu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace
{

// Images that note when they are drawn.
std::vector<const CdxSurface*> drawn;
struct NotingImage : CdxSurface
{
    NotingImage() { m_nWidth = 300, m_nHeight = 50; }
    HRESULT DrawFastKeyed(int, int, CdxSurface*) override
    {
        drawn.push_back(this);
        return DD_OK;
    }
};

TEST(ButtonMenuTest, SelectionWrapsOnceAtUpdateAndHoverStays)
{
    CdxScreen screen;
    CButtonMenu menu;
    menu.Update(0, 0, &screen);
    EXPECT_TRUE(menu.HitTest(100, 150) == -1 && menu.GetSelected() == -1) << "an empty menu";
    // The main menu: five 300 x 50 buttons from (100, 150), 60 apart.
    std::vector<CdxSurface*> hot;
    for (int i = 0; i < 5; ++i)
        menu.AddItem(new NotingImage, hot.emplace_back(new NotingImage));
    menu.SetOrigin(100, 150);
    menu.SetSpacing(60);
    // Key presses between two frames, and the item the next frame draws hot;
    // none selected becomes the last.
    const int steps[][2] = {{0, 4}, {+1, 0}, {-1, 4}, {-1, 3}, {+3, 0}, {-2, 4}};
    for (const auto& [moves, selected] : steps)
    {
        for (int i = 0; i < std::abs(moves); ++i)
            moves > 0 ? menu.SelectNext() : menu.SelectPrevious();
        drawn.clear();
        menu.Update(0, 0, &screen);
        EXPECT_EQ(menu.GetSelected(), selected);
        EXPECT_NE(std::ranges::find(drawn, hot[selected]), drawn.end()) << selected;
    }
    menu.Update(250, 280, &screen);
    menu.Update(600, 10, &screen);
    EXPECT_EQ(menu.GetSelected(), 2) << "the hovered item stays after the cursor left";
}

} // namespace
