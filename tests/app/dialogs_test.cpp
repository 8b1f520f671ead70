// The dialogs answered headless: which buttons each mode shows, what each
// button returns, and the cut of the name. The controls dialog over the info
// dialog is opened in the end-to-end menu test.
#include "app/cnamedlg.h"
#include "platform/testing/testing.h"
#include "ui/cmessagedlg.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace
{

using platform::testing::ModalBox;
using platform::testing::ModalButton;

std::vector<std::pair<int, std::string>> Buttons(const ModalBox& box)
{
    std::vector<std::pair<int, std::string>> out;
    for (const ModalButton& button : box.buttons)
        out.emplace_back(button.id, button.label);
    return out;
}

// Shows a message and presses `press`; the box the player saw comes back.
int ShowMessage(int mode, int press, ModalBox* seen)
{
    platform::testing::SetModalAnswerer(
        [&](ModalBox& box)
        {
            *seen = box;
            return press;
        });
    CMessageDlg dialog;
    return dialog.Show("Zeile eins\nZeile zwei", "Frage", mode);
}

} // namespace

TEST(MessageDlgTest, ModeZeroShowsOkAloneAnyOtherModeJaAndNeinEscapeCancels)
{
    ModalBox seen;
    EXPECT_EQ(ShowMessage(0, 1006, &seen), IDOK);
    EXPECT_EQ(seen.dialogTemplate, 155);
    EXPECT_EQ(seen.caption, "Frage");
    EXPECT_EQ(seen.text, "Zeile eins\nZeile zwei");
    EXPECT_EQ(Buttons(seen), (std::vector<std::pair<int, std::string>>{{1006, "&OK"}}));

    for (int mode : {4, 1, -1})
    {
        EXPECT_EQ(ShowMessage(mode, 1007, &seen), IDYES) << mode;
        EXPECT_EQ(Buttons(seen),
                  (std::vector<std::pair<int, std::string>>{{1007, "&Ja"}, {3, "&Nein"}}))
            << mode;
    }
    EXPECT_EQ(ShowMessage(4, 3, &seen), IDNO);
    EXPECT_EQ(ShowMessage(4, IDCANCEL, &seen), IDCANCEL);
    EXPECT_EQ(ShowMessage(0, IDCANCEL, &seen), IDCANCEL);
    // A button the player cannot see cannot be pressed.
    EXPECT_THROW(ShowMessage(4, 1006, &seen), std::invalid_argument);
    EXPECT_THROW(ShowMessage(0, 1007, &seen), std::invalid_argument);
}

TEST(NameDlgTest, OkCutsTheNameToTenAndEscapeLeavesItEmpty)
{
    struct Case
    {
        const char* typed;
        int press;
        int result;
        const char* name;
    };
    const Case cases[] = {
        {"Abcdefghijk", 1003, IDOK, "Abcdefghij"},
        {"Abcdefghij", 1003, IDOK, "Abcdefghij"},
        {"", 1003, IDOK, ""},
        {"Ren\xE9 Gro\xDF", 1003, IDOK, "Ren\xE9 Gro\xDF"},
        {"Abcdefghijk", IDCANCEL, IDCANCEL, ""},
    };
    for (const Case& k : cases)
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
