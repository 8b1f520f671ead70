// The name dialog answered headless: the cut of the name. The message
// buttons are answered in the game scenarios (a button not shown throws).
#include "app/cnamedlg.h"
#include "platform/testing/testing.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

TEST(NameDlgTest, OkCutsTheNameToTenAndEscapeLeavesItEmpty)
{
    for (const int press : {1003, IDCANCEL})
    {
        platform::testing::SetModalAnswerer(
            [press](platform::testing::ModalBox& box)
            {
                box.editText = "Ren\xE9 Gro\xDFxy"; // 11 characters of code page 1252
                return press;
            });
        CNameDlg dialog;
        EXPECT_EQ(dialog.DoModal(), press == 1003 ? IDOK : IDCANCEL);
        EXPECT_EQ(std::string(dialog.GetName()), press == 1003 ? "Ren\xE9 Gro\xDFx" : "");
    }
}

} // namespace
