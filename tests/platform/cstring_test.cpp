// The framework string: formatting of any length, cutting, and every byte kept.
#include "platform/framework/cstring.h"

#include <gtest/gtest.h>

#include <string>

TEST(CStringTest, FormatFitsAnyLength)
{
    CString line;
    line.Format("Was f\xFCr ne mickrige Zahl %d ! Peh , %d!", 15, 15);
    EXPECT_STREQ(line, "Was f\xFCr ne mickrige Zahl 15 ! Peh , 15!");

    // Far beyond any fixed buffer, and over its own old contents.
    const std::string wide(5000, 'x');
    line.Format("%s|%s", wide.c_str(), static_cast<const char*>(line));
    EXPECT_EQ(std::string(line), wide + "|Was f\xFCr ne mickrige Zahl 15 ! Peh , 15!");
}

TEST(CStringTest, LeftAndComparisonKeepEveryByte)
{
    const CString name("Maximilian");
    EXPECT_EQ(name.Left(3), "Max");
    EXPECT_EQ(name.Left(50), name);
    EXPECT_TRUE(name.Left(-1).IsEmpty());

    const CString withZero("A\0B", 3);
    EXPECT_EQ(withZero.GetLength(), 3);
    EXPECT_FALSE(withZero == CString("A"));
    EXPECT_EQ(withZero.Left(2), CString("A\0", 2));
}
