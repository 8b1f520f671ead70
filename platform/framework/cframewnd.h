// The framework's frame window: the program's one top-level window. It is
// made from a resource set (title string and icon of that number), receives
// the keyboard and the mouse, and deletes itself when its window is destroyed.
#pragma once

#include "platform/framework/cwnd.h"

struct CCreateContext;

class CFrameWnd : public CWnd
{
public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Creates the window from resource set nIDResource (title string and icon;
    // its menu has no items) with that style, and sends WM_CREATE before it
    // returns. FALSE when the window could not be made or OnCreate failed; the
    // frame object is then deleted already.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_POPUP,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);

    // Only removing the menu (null) is possible: the frame has no menu to show.
    BOOL SetMenu(CMenu* pMenu);

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    void OnDestroy() override;
    // The framework owns the frame object: it goes with its window.
    void PostNcDestroy() override;
    // The frame is the one real window: its icon is the window's icon, and
    // Alt+Enter switches it between full screen and a window.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
