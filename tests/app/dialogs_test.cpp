// The dialogs answered headless: the buttons each mode shows, what each
// button returns, and the cut of the name. The controls dialog over the info
// dialog is opened in the end-to-end menu test.
#include "app/cnamedlg.h"
#include "platform/testing/testing.h"
#include "ui/cmessagedlg.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace
{

using platform::testing::ModalBox;

std::string buttons; // those of the last message, as "id label ..."

// Shows a message and presses `press`.
int ShowMessage(int mode, int press)
{
    buttons.clear();
    platform::testing::SetModalAnswerer(
        [press](ModalBox& box)
        {
            EXPECT_EQ(box.caption + ": " + box.text, "Frage: Zeile eins\nZeile zwei");
            EXPECT_EQ(box.dialogTemplate, 155);
            for (const auto& button : box.buttons)
                buttons += std::to_string(button.id) + " " + button.label + " ";
            return press;
        });
    return CMessageDlg().Show("Zeile eins\nZeile zwei", "Frage", mode);
}

TEST(MessageDlgTest, ModeZeroShowsOkAloneAnyOtherModeJaAndNeinEscapeCancels)
{
    const struct
    {
        int mode, press, result;
        const char* buttons;
    } cases[] = {
        {0, 1006, IDOK, "1006 &OK "},          {4, 1007, IDYES, "1007 &Ja 3 &Nein "},
        {1, 1007, IDYES, "1007 &Ja 3 &Nein "}, {-1, 1007, IDYES, "1007 &Ja 3 &Nein "},
        {4, 3, IDNO, "1007 &Ja 3 &Nein "},     {4, IDCANCEL, IDCANCEL, "1007 &Ja 3 &Nein "},
        {0, IDCANCEL, IDCANCEL, "1006 &OK "},
    };
    for (const auto& k : cases)
    {
        EXPECT_EQ(ShowMessage(k.mode, k.press), k.result) << k.mode << "," << k.press;
        EXPECT_EQ(buttons, k.buttons) << k.mode;
    }
    // A button the player cannot see cannot be pressed.
    EXPECT_THROW(ShowMessage(4, 1006), std::invalid_argument);
    EXPECT_THROW(ShowMessage(0, 1007), std::invalid_argument);
}

TEST(NameDlgTest, OkCutsTheNameToTenAndEscapeLeavesItEmpty)
{
    const struct
    {
        const char* typed;
        int press, result;
        const char* name;
    } cases[] = {
        {"Abcdefghijk", 1003, IDOK, "Abcdefghij"},
        {"Abcdefghij", 1003, IDOK, "Abcdefghij"},
        {"", 1003, IDOK, ""},
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
