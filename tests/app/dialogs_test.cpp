// The name dialog answered headless: the cut of the name. The message
// buttons are answered in the game scenarios (a button not shown throws).
#include "app/cnamedlg.h"
#include "platform/testing/testing.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

using platform::testing::ModalBox;

TEST(NameDlgTest, OkCutsTheNameToTenAndEscapeLeavesItEmpty)
{
    const struct
    {
        const char* typed;
        int press, result;
        const char* name;
    } cases[] = {
        {"Abcdefghijk", 1003, IDOK, "Abcdefghij"},
        {"Ren\xE9 Gro\xDF", 1003, IDOK, "Ren\xE9 Gro\xDF"},
        {"Abcdefghijk", IDCANCEL, IDCANCEL, ""},
    };
    for (const auto& k : cases)
    {
        platform::testing::SetModalAnswerer(
            [&](ModalBox& box)
            {
                EXPECT_TRUE(box.hasEdit);
                box.editText = k.typed;
                return k.press;
            });
        CNameDlg dialog;
        EXPECT_EQ(dialog.DoModal(), k.result) << k.typed;
        EXPECT_EQ(std::string(dialog.GetName()), k.name) << k.typed;
    }
}

} // namespace
