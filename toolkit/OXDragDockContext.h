// OXDragDockContext.h: COXDragDockContext, the dock context of sizeable bars:
// the framework's drag, with probe rectangles made from the bar's three sizes
// (floating, horizontal, vertical), a docked target shown as the bar's share
// of the row it would join, only Ctrl counting during the drag, and the row
// refitted around the bar after it docks into a sizeable dock bar.
//
// Classes: COXDragDockContext.
//
// The loop ends as the framework's does: the left button's release finishes,
// the right button or Escape cancels, WM_QUIT is posted again and cancels.
// The capture, the desktop lock and the desktop's device context are held
// only while the loop runs; a drag that cannot start takes none of them.
#pragma once

#include "framework/DockContext.h"

class CDockBar;

class COXDragDockContext : public CDockContext {
public:
    explicit COXDragDockContext(CControlBar* pBar)
        : CDockContext(pBar), m_pTargetDockBar(nullptr) {}

    void StartDrag(CPoint pt) override;
    void ToggleDocking() override;

    // ---- Steps of the drag.
    BOOL RunDragLoop();
    void MoveDrag(CPoint pt);
    void OnDragKey(UINT nChar, BOOL bDown);
    void SetForceFloat(BOOL bForce);
    DWORD FindDockTarget();
    CDockBar* GetTargetDockBar(DWORD dwOverDockStyle);
    void DrawDragFrame(BOOL bRemove);
    void FinishDrag();
    void EndDragLoop();

    CRect m_rectTarget;   // shown and used where the bar would dock
    CRect m_rectHorzDock; // probe for the top and bottom sides
    CRect m_rectVertDock; // probe for the left and right sides
    CDockBar* m_pTargetDockBar;
    CPoint m_ptStart; // where the drag began (screen)
};
