// OXSkinnedTabCtrl.h: the toolkit's tab control and its scroll arrows, both
// painted by the current tab skin:
//   COXSkinnedTabCtrl   a tab control whose WM_PAINT is the tab skin's
//                       DrawTabControl; base of the dock-bar tabs and the MDI
//                       tab workspace;
//   COXSkinnedSpinCtrl  the up-down control ("msctls_updown32") that the
//                       system tab control shows when its tabs do not fit;
//                       the tab skin subclasses it with the tab control's
//                       member at the first paint that finds it.
//
// Skins: the current skin's tab skin while the application object is a
// COXSkinnedApp with a skin selected; otherwise each control makes a Classic
// tab skin of its own at first need and deletes it with itself.
//
// Hover: the arrows show a raised edge under the cursor. One WH_MOUSE hook on
// the thread, shared by all subclassed arrows and counted per control, tells
// the arrows the mouse has left so that they repaint without the edge; it is
// removed when the last of them goes.
//
// Status: implemented as described; WM_PRINTCLIENT is not painted by the skin.
#pragma once

#include "framework/SpinButtonCtrl.h"
#include "framework/TabCtrl.h"

class COXTabSkin;

class COXSkinnedSpinCtrl : public CSpinButtonCtrl {
    DECLARE_DYNCREATE(COXSkinnedSpinCtrl)
public:
    COXSkinnedSpinCtrl();
    // Deletes the own Classic skin; gives up a hook count still held.
    ~COXSkinnedSpinCtrl() override;

    COXTabSkin* GetTabSkin();

protected:
    // Counts this control as a user of the hover hook.
    void PreSubclassWindow() override;

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnDestroy();

    DECLARE_MESSAGE_MAP()

private:
    void ReleaseHook();

    COXTabSkin* m_pOwnTabSkin; // owned Classic skin; made on first need without a skinned app
    BOOL m_bHookUser;          // this control holds one count of the hover hook
};

class COXSkinnedTabCtrl : public CTabCtrl {
    DECLARE_DYNAMIC(COXSkinnedTabCtrl)
public:
    COXSkinnedTabCtrl();
    // Deletes the own Classic skin, then the arrows' object (and its window,
    // if the tab control's has not taken it along).
    ~COXSkinnedTabCtrl() override;

    COXTabSkin* GetTabSkin();

    // Without a window until the tab skin finds the system's arrows.
    COXSkinnedSpinCtrl m_spin;

protected:
    afx_msg void OnPaint();

    DECLARE_MESSAGE_MAP()

private:
    COXTabSkin* m_pOwnTabSkin; // owned Classic skin; made on first need without a skinned app
};
