// OXDockTabCtrl.h: COXDockTabCtrl, the tab strip along the bottom of a sizeable
// dock bar for bars that share one place: only the bar of the selected tab is
// shown; dragging a tab reorders the tabs or pulls its bar out into a live
// caption drag.
//
// Classes: COXDockTabCtrl.
//
// Each tab carries its bar's window text and the bar as item data. The dock
// bar keeps the strip over the bottom 28 pixels of its client area while it
// holds a tab, 0 pixels high otherwise (COXSizeDockBar::GetTabStripHeight).
//
// Painted by the current tab skin (COXSkinnedTabCtrl); it reports its base's
// runtime class.
#pragma once

#include "OXSkinnedTabCtrl.h"

#include "framework/Gdi.h"

class COXSizeControlBar;
class COXSizeDockBar;
class CControlBar;

class COXDockTabCtrl : public COXSkinnedTabCtrl {
public:
    explicit COXDockTabCtrl(COXSizeDockBar* pOwnerDockBar);
    ~COXDockTabCtrl() override;

    CControlBar* GetBar(int nIndex) const;
    int FindBar(CControlBar* pBar) const;
    // -1 unless the point lies in the bottom 48 pixels of the dock bar's
    // window; then the tab under it, or 0 on no tab.
    int HitTestBar(CPoint ptScreen, CControlBar* pBar) const;
    void InsertBar(CControlBar* pBar, int nIndex, BOOL bActivate);
    void RemoveBar(CControlBar* pBar);
    void MoveTab(int nFrom, int nTo, CPoint ptScreen);
    void ShowCurrentBar();

    CFont m_fontTabs;                  // "MS Sans Serif", 8 points
    COXSizeControlBar* m_pLastHorzBar; // not owned
    COXSizeDockBar* m_pOwnerDockBar;   // not owned: the dock bar holding the strip
    CPoint m_ptPress;                  // client point of the last left press

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnSelChange(NMHDR* pNMHDR, LRESULT* pResult);

    DECLARE_MESSAGE_MAP()
};
