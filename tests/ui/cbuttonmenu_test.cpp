// The button menu: which item a point hits, key selection with its wrap, and
// the release of the images. The inclusive borders are clicked on the
// high-score screen's buttons; where the buttons land is in the golden images.
#include "display/cdxscreen.h"
#include "display/cdxsurface.h"
#include "ui/cbuttonmenu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace
{

// Images that note when they are drawn and when they are deleted.
std::vector<const CdxSurface*> drawn;
int deleted = 0;
struct NotingImage : CdxSurface
{
    NotingImage()
    {
        m_nWidth = 300;
        m_nHeight = 50;
    }
    ~NotingImage() override { ++deleted; }
    HRESULT DrawFastKeyed(int, int, CdxSurface*) override
    {
        drawn.push_back(this);
        return DD_OK;
    }
};

class ButtonMenuTest : public ::testing::Test
{
protected:
    ButtonMenuTest() { drawn.clear(), deleted = 0; }
    // The main menu: five 300 x 50 buttons from (100, 150), 60 apart.
    void MakeMainMenu()
    {
        for (int i = 0; i < 5; ++i)
            m_Menu.AddItem(Image(), m_Hot.emplace_back(Image()));
        m_Menu.SetOrigin(100, 150);
        m_Menu.SetSpacing(60);
    }
    static CdxSurface* Image() { return new NotingImage; }
    // The item drawn hot since the last update, -1 for none.
    int HotItem() const
    {
        for (std::size_t i = 0; i < m_Hot.size(); ++i)
            if (std::ranges::find(drawn, m_Hot[i]) != drawn.end())
                return static_cast<int>(i);
        return -1;
    }
    void Update(int x, int y)
    {
        drawn.clear();
        m_Menu.Update(x, y, &m_Screen);
    }

    std::vector<CdxSurface*> m_Hot;
    CdxScreen m_Screen;
    CButtonMenu m_Menu;
};

TEST_F(ButtonMenuTest, AnEmptyMenuHitsAndDrawsNothingAndTheFirstMatchWins)
{
    EXPECT_EQ(m_Menu.HitTest(100, 150), -1);
    Update(0, 0);
    EXPECT_TRUE(drawn.empty());
    EXPECT_EQ(m_Menu.GetSelected(), -1);
    MakeMainMenu();
    EXPECT_EQ(m_Menu.HitTest(250, 209), -1) << "between two items";
    m_Menu.SetSpacing(40); // items now overlap
    EXPECT_EQ(m_Menu.HitTest(250, 195), 0);
    EXPECT_EQ(m_Menu.HitTest(250, 201), 1);
}

TEST_F(ButtonMenuTest, SelectionWrapsOnceAtUpdateNotAsARemainder)
{
    MakeMainMenu();
    Update(0, 0);
    EXPECT_EQ(HotItem(), 4); // -1 becomes the last item
    // Key presses between two frames, and the selection the next frame shows.
    const int steps[][2] = {{+1, 0}, {-1, 4}, {-1, 3}, {+3, 0}, {-2, 4}};
    for (const auto& [moves, selected] : steps)
    {
        for (int i = 0; i < std::abs(moves); ++i)
            moves > 0 ? m_Menu.SelectNext() : m_Menu.SelectPrevious();
        Update(0, 0);
        EXPECT_EQ(m_Menu.GetSelected(), selected);
        EXPECT_EQ(HotItem(), selected);
    }
    m_Menu.SelectNext();
    m_Menu.SelectNext();
    EXPECT_EQ(m_Menu.GetSelected(), 6); // unbounded until the update
    // A hovered item stays selected after the cursor has left the buttons.
    Update(250, 280);
    Update(600, 10);
    EXPECT_EQ(m_Menu.GetSelected(), 2);
}

TEST_F(ButtonMenuTest, RenderDrawsEveryItemPlainAndKeepsNoSelection)
{
    MakeMainMenu();
    m_Menu.Render(&m_Screen);
    m_Menu.Render(&m_Screen);
    EXPECT_EQ(m_Menu.GetSelected(), -1);
    EXPECT_EQ(HotItem(), -1);
    EXPECT_EQ(drawn.size(), 10u);
}

TEST_F(ButtonMenuTest, EachDistinctImageIsDeletedOnce)
{
    {
        CButtonMenu menu;
        menu.AddItem(Image(), Image());
        for (CdxSurface* shared : {Image(), Image()})
            menu.AddItem(shared, shared);
    }
    EXPECT_EQ(deleted, 4);
}

} // namespace
