// DockContext.h: CDockContext, what a dockable bar remembers of its docked
// place.
//
// Classes: CDockContext.
//
// A bar makes its context in EnableDocking and owns it. The dock bar's layout
// records in it where the bar last sat docked (m_rectMRUDockPos, dock-bar
// client coordinates) and in which dock bar (m_uMRUDockID), so that a bar
// taken out can be put back there.
//
// Status: the place record only; the drag and the resize of bars, the float
// and dock toggle and the floating place are not implemented yet.
#pragma once

#include "Geometry.h"

class CControlBar;

class CDockContext {
public:
    explicit CDockContext(CControlBar* pBar) : m_pBar(pBar), m_uMRUDockID(0) {}
    virtual ~CDockContext() = default;
    CDockContext(const CDockContext&) = delete;
    CDockContext& operator=(const CDockContext&) = delete;

    CControlBar* m_pBar;    // not owned: the bar that owns this context
    CRect m_rectMRUDockPos; // last docked place, in the dock bar's client area
    UINT m_uMRUDockID;      // id of that dock bar (AFX_IDW_DOCKBAR_*), 0 before
};
