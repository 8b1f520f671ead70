// MessageBoxA: the box is drawn in the game's own window over its picture.
#include "platform/framework/messageboxwindow.h"
#include "platform/framework/messagepump.h"
#include "platform/framework/modaloverlay.h"
#include "platform/present/display.h"
#include "platform/win32/codepage.h"
#include "platform/win32/testseams.h"
#include "platform/win32/win32.h"

#include <cstdio>

int MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT)
{
    using namespace platform;
    // A box without a caption is titled "Error", as the system does it.
    testing::ModalBox box{caption ? caption : "Error", text ? text : ""};
    TestSeams& seams = TestSeams::Get();
    seams.modalBoxes.push_back(box);
    const ModalInputScope input;
    if (seams.modalAnswerer)
        // A close request ends the box unanswered, as it does on screen.
        return CloseRequested() ? IDOK : seams.modalAnswerer(box);
    if (Display::Instance().IsHeadless())
    {
        // No window to draw the box in: the player started the game without a
        // display, so the message goes to the terminal instead.
        if (!seams.headless)
            std::fprintf(stderr, "%s: %s\n", Cp1252ToUtf8(box.caption).c_str(),
                         Cp1252ToUtf8(box.text).c_str());
        return IDOK;
    }

    ModalOverlay overlay;
    MessageBoxWindow window(box.caption, box.text, overlay.Width(), overlay.Height());
    return window.RunModal(overlay);
}
