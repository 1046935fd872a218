// OXDockAxis.h: COXDockAxis, the one place where the docking code turns
// "along a row" and "across the rows" into x and y.
//
// Classes: COXDockAxis.
//
// A dock bar on the top or bottom is horizontal: its rows run along x and
// stack downwards along y. On the left and right a row is a column: it runs
// along y and the columns stack rightwards along x. Code written once in
// along/across terms then serves all four sides.
#pragma once

#include "OXSplitterRect.h"

#include "framework/ControlBar.h"

class COXDockAxis {
public:
    explicit COXDockAxis(BOOL bHorz) : m_bHorz(bHorz != FALSE) {}
    // The axis of a bar or dock bar with this bar style.
    static COXDockAxis OfStyle(DWORD dwBarStyle) {
        return COXDockAxis((dwBarStyle & CBRS_ORIENT_HORZ) != 0);
    }

    bool IsHorz() const { return m_bHorz; }

    // ---- Components of points and sizes.
    LONG& Along(POINT& pt) const { return m_bHorz ? pt.x : pt.y; }
    LONG Along(const POINT& pt) const { return m_bHorz ? pt.x : pt.y; }
    LONG& Across(POINT& pt) const { return m_bHorz ? pt.y : pt.x; }
    LONG Across(const POINT& pt) const { return m_bHorz ? pt.y : pt.x; }
    LONG& Along(SIZE& size) const { return m_bHorz ? size.cx : size.cy; }
    LONG Along(const SIZE& size) const { return m_bHorz ? size.cx : size.cy; }
    LONG& Across(SIZE& size) const { return m_bHorz ? size.cy : size.cx; }
    LONG Across(const SIZE& size) const { return m_bHorz ? size.cy : size.cx; }
    CPoint Point(int nAlong, int nAcross) const {
        return m_bHorz ? CPoint(nAlong, nAcross) : CPoint(nAcross, nAlong);
    }
    CSize Size(int nAlong, int nAcross) const {
        return m_bHorz ? CSize(nAlong, nAcross) : CSize(nAcross, nAlong);
    }

    // ---- Edges and extents of rectangles.
    LONG& Start(RECT& rect) const { return m_bHorz ? rect.left : rect.top; }
    LONG Start(const RECT& rect) const { return m_bHorz ? rect.left : rect.top; }
    LONG& End(RECT& rect) const { return m_bHorz ? rect.right : rect.bottom; }
    LONG End(const RECT& rect) const { return m_bHorz ? rect.right : rect.bottom; }
    // The along-row extent; the across-row one is the thickness.
    int Length(const RECT& rect) const { return End(rect) - Start(rect); }
    int Thickness(const RECT& rect) const {
        return m_bHorz ? rect.bottom - rect.top : rect.right - rect.left;
    }
    // Moves rect along the row so that it starts at nAlong.
    void MoveAlongTo(CRect& rect, int nAlong) const {
        rect.OffsetRect(Point(nAlong - Start(rect), 0));
    }

    // ---- The framework's doubled window border, by which neighbours overlap.
    int BorderAlong() const {
        return m_bHorz ? AfxGetAuxData().cxBorder2 : AfxGetAuxData().cyBorder2;
    }
    int BorderAcross() const {
        return m_bHorz ? AfxGetAuxData().cyBorder2 : AfxGetAuxData().cxBorder2;
    }

    // ---- Splitters: one between bars of a row runs across it; one between
    // rows runs along them.
    int InRowSplitterType() const { return m_bHorz ? OX_SPLITTER_VERT : OX_SPLITTER_HORZ; }
    int RowSplitterType() const { return m_bHorz ? OX_SPLITTER_HORZ : OX_SPLITTER_VERT; }

    // The docked size a sizeable bar keeps for this axis (m_sizeHorzDock or
    // m_sizeVertDock).
    template <class TSizeBar> CSize& DockedSize(TSizeBar* pBar) const {
        return m_bHorz ? pBar->m_sizeHorzDock : pBar->m_sizeVertDock;
    }

private:
    bool m_bHorz;
};
