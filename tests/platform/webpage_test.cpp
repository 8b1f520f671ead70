// The browser's back end's plain parts, checked on the desktop: its random
// numbers are the desktop C library's, seed for seed, so a seeded field is
// the same field in both; and its keys map as the desktop's do, letters by
// the player's layout, digits and named keys by their place.
#include "platform/web/glibcrandom.h"
#include "platform/web/webkeys.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace
{

TEST(WebRandom, GivesTheDesktopLibrarysNumbersForEverySeed)
{
    // 0 (which the library takes as 1), small, the golden game's, the
    // largest, and a clock's.
    for (const unsigned seed : {0u, 1u, 7u, 42u, 4294967295u, 1765120000u})
    {
        std::srand(seed);
        platform::GlibcRandom random(seed);
        for (int i = 0; i < 2000; ++i)
            ASSERT_EQ(random.Next(), std::rand()) << "seed " << seed << ", number " << i;
    }
    // Seeding again starts over.
    platform::GlibcRandom random(7);
    const int first = random.Next();
    random.Next();
    random.Seed(7);
    EXPECT_EQ(random.Next(), first);
}

TEST(WebKeys, MapLettersByLayoutAndTheRestByPlace)
{
    using platform::WebVirtualKey;
    // A German layout types z on the key where an English one types y.
    EXPECT_EQ(WebVirtualKey("KeyY", "z"), UINT{'Z'});
    EXPECT_EQ(WebVirtualKey("KeyA", "A"), UINT{'A'});
    // Shift turns 1 into !, the key is still the 1.
    EXPECT_EQ(WebVirtualKey("Digit1", "!"), UINT{'1'});
    EXPECT_EQ(WebVirtualKey("Digit0", "="), UINT{'0'});
    EXPECT_EQ(WebVirtualKey("Enter", "Enter"), UINT{VK_RETURN});
    EXPECT_EQ(WebVirtualKey("NumpadEnter", "Enter"), UINT{VK_RETURN});
    EXPECT_EQ(WebVirtualKey("Space", " "), UINT{VK_SPACE});
    EXPECT_EQ(WebVirtualKey("ArrowLeft", "ArrowLeft"), UINT{VK_LEFT});
    EXPECT_EQ(WebVirtualKey("ShiftRight", "Shift"), UINT{VK_SHIFT});
    EXPECT_EQ(WebVirtualKey("F1", "F1"), UINT{VK_F1});
    // What the game does not know: an umlaut, a function key the browser keeps.
    EXPECT_EQ(WebVirtualKey("Semicolon", "\xC3\xB6"), 0u);
    EXPECT_EQ(WebVirtualKey("F5", "F5"), 0u);
    EXPECT_EQ(WebVirtualKey("", ""), 0u);
}

} // namespace
