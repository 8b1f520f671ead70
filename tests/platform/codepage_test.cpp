#include "platform/win32/codepage.h"

#include <gtest/gtest.h>

using platform::Cp1252ToUtf8;
using platform::Utf8ToCp1252;

TEST(CodePage, GermanAndSpecialCharactersBecomeUtf8)
{
    EXPECT_EQ(Cp1252ToUtf8("Men\xFC \xC4\xD6\xDC\xDF \x80 \x84\x93"),
              "Men\u00FC \u00C4\u00D6\u00DC\u00DF \u20AC \u201E\u201C");
    EXPECT_EQ(Cp1252ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(CodePage, EveryByteSurvivesTheRoundTrip)
{
    std::string all;
    for (int i = 1; i < 256; ++i)
        all += static_cast<char>(i);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(CodePage, UnknownAndBrokenUtf8BecomesQuestionMarks)
{
    EXPECT_EQ(Utf8ToCp1252("\u4E2D x \U0001F600"), "? x ?");
    EXPECT_EQ(Utf8ToCp1252("\xC3"), "?"); // cut short
    EXPECT_EQ(Utf8ToCp1252("\x9F"
                           "a"),
              "?a");                          // no lead byte
    EXPECT_EQ(Utf8ToCp1252("\xC3(z"), "?(z"); // lead without continuation
    EXPECT_EQ(Utf8ToCp1252("\xFF\xFE"), "??");
}
