// The button menu: hit test bounds, key selection with its wrap, and the
// release of the images. Hover and the hot images on screen are seen in the
// scenario tests of the main menu.
#include "display/cdxscreen.h"
#include "display/cdxsurface.h"
#include "ui/cbuttonmenu.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace
{

struct Drawn
{
    const CdxSurface* image;
    int x;
    int y;
    bool operator==(const Drawn&) const = default;
};

// An image that notes where it is drawn and when it is deleted.
class NotingImage : public CdxSurface
{
public:
    NotingImage(int width, int height, std::vector<Drawn>& drawn, int& deleted)
        : m_Drawn(drawn), m_nDeleted(deleted)
    {
        m_nWidth = width;
        m_nHeight = height;
    }
    ~NotingImage() override { ++m_nDeleted; }
    HRESULT DrawFastKeyed(int x, int y, CdxSurface*) override
    {
        m_Drawn.push_back({this, x, y});
        return DD_OK;
    }

private:
    std::vector<Drawn>& m_Drawn;
    int& m_nDeleted;
};

class ButtonMenuTest : public ::testing::Test
{
protected:
    // The main menu: five 300 x 50 buttons from (100, 150), 60 apart.
    void MakeMainMenu()
    {
        for (int i = 0; i < 5; ++i)
        {
            m_Normal.push_back(Image());
            m_Hot.push_back(Image());
            m_Menu.AddItem(m_Normal.back(), m_Hot.back());
        }
        m_Menu.SetOrigin(100, 150);
        m_Menu.SetSpacing(60);
    }
    NotingImage* Image() { return new NotingImage(300, 50, m_Drawn, m_nDeleted); }
    // Which item was drawn hot in the last frame, -1 for none.
    int HotItem() const
    {
        for (const Drawn& d : m_Drawn)
            for (std::size_t i = 0; i < m_Hot.size(); ++i)
                if (d.image == m_Hot[i])
                    return static_cast<int>(i);
        return -1;
    }
    void Update(int x, int y)
    {
        m_Drawn.clear();
        m_Menu.Update(x, y, &m_Screen);
    }

    std::vector<Drawn> m_Drawn;
    int m_nDeleted = 0;
    std::vector<CdxSurface*> m_Normal;
    std::vector<CdxSurface*> m_Hot;
    CdxScreen m_Screen;
    CButtonMenu m_Menu;
};

TEST_F(ButtonMenuTest, HitTestIsInclusiveAndTheFirstMatchWins)
{
    EXPECT_EQ(m_Menu.HitTest(100, 150), -1); // empty menu

    MakeMainMenu();
    const int cases[][3] = {{100, 150, 0},  {400, 200, 0},  {99, 175, -1},  {401, 175, -1},
                            {250, 149, -1}, {250, 201, -1}, {250, 209, -1}, {250, 210, 1},
                            {250, 260, 1},  {400, 440, 4},  {250, 441, -1}};
    for (const auto& k : cases)
        EXPECT_EQ(m_Menu.HitTest(k[0], k[1]), k[2]) << k[0] << "," << k[1];

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
    const struct
    {
        int moves;
        int selected;
    } steps[] = {{+1, 0}, {-1, 4}, {-1, 3}, {+3, 0}, {-2, 4}};
    for (const auto& step : steps)
    {
        for (int i = 0; i < std::abs(step.moves); ++i)
            step.moves > 0 ? m_Menu.SelectNext() : m_Menu.SelectPrevious();
        Update(0, 0);
        EXPECT_EQ(m_Menu.GetSelected(), step.selected);
        EXPECT_EQ(HotItem(), step.selected);
    }
    m_Menu.SelectNext();
    m_Menu.SelectNext();
    EXPECT_EQ(m_Menu.GetSelected(), 6); // unbounded until the update

    // A hovered item stays selected after the cursor has left the buttons.
    Update(250, 280);
    Update(600, 10);
    EXPECT_EQ(m_Menu.GetSelected(), 2);
}

TEST_F(ButtonMenuTest, RenderKeepsNoSelectionAndAnEmptyMenuDrawsNothing)
{
    Update(0, 0);
    EXPECT_TRUE(m_Drawn.empty());
    EXPECT_EQ(m_Menu.GetSelected(), -1);

    MakeMainMenu();
    m_Menu.Render(&m_Screen);
    m_Menu.Render(&m_Screen);
    EXPECT_EQ(m_Menu.GetSelected(), -1);
    EXPECT_EQ(HotItem(), -1);
    EXPECT_EQ(m_Drawn.size(), 10u);
}

TEST_F(ButtonMenuTest, EachDistinctImageIsDeletedOnce)
{
    {
        CButtonMenu menu;
        menu.AddItem(Image(), Image());
        auto* shared = Image();
        menu.AddItem(shared, shared);
        shared = Image();
        menu.AddItem(shared, shared);
    }
    EXPECT_EQ(m_nDeleted, 4);
}

} // namespace
