// The bracket around a dialog over the full-screen display: the desktop
// surface made visible and the system cursor shown while the scope lasts, the
// cursor hidden again when it ends.
#pragma once

class CdxScreen;

class CDialogScope
{
public:
    // Which opening step comes first; each caller keeps the order it always had.
    enum class Order
    {
        FlipFirst,
        CursorFirst,
    };

    // A screen without a DirectDraw object is not flipped.
    CDialogScope(CdxScreen* screen, Order order);
    ~CDialogScope();
    CDialogScope(const CDialogScope&) = delete;
    CDialogScope& operator=(const CDialogScope&) = delete;
};
