// MessageBoxA: the box is drawn in the game's own window over its picture.
#include "platform/display.h"
#include "platform/messageboxwindow.h"
#include "platform/modaloverlay.h"
#include "platform/testseams.h"
#include "platform/win32.h"

int MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT)
{
    using namespace platform;
    // A box without a caption is titled "Error", as the system does it.
    testing::ModalBox box{caption ? caption : "Error", text ? text : ""};
    TestSeams& seams = TestSeams::Get();
    seams.modalBoxes.push_back(box);
    if (seams.modalAnswerer)
        return seams.modalAnswerer(box);
    if (Display::Instance().IsHeadless())
        return IDOK;

    ModalOverlay overlay;
    MessageBoxWindow window(box.caption, box.text, overlay.Width(), overlay.Height());
    return window.RunModal(overlay);
}
