// OXSplitterRect.h: COXSplitterRect, one splitter of a sizeable dock bar: an
// 8-pixel strip between two sizeable bars of a row or between two rows.
//
// Classes: COXSplitterRect.
//
// Type 1 is a vertical strip, moved sideways; type 2 a horizontal strip, moved
// up and down. On a horizontal dock bar type 1 lies within a row and type 2
// between rows; on a vertical dock bar the reverse. The dock bar makes its
// splitters anew in every layout and owns them.
#pragma once

#include "framework/Geometry.h"
#include "framework/Object.h"

#define OX_SPLITTER_VERT 1 // a vertical strip
#define OX_SPLITTER_HORZ 2 // a horizontal strip

class COXSplitterRect : public CObject {
public:
    COXSplitterRect(int nType, const CRect& rect)
        : m_rectSplitter(rect), m_nSplitterType(static_cast<signed char>(nType)), m_nBarIndex(0) {}

    CRect m_rectSplitter;        // dock-bar client coordinates
    signed char m_nSplitterType; // OX_SPLITTER_VERT or OX_SPLITTER_HORZ
    // Index in the dock bar's array where it was made: the bar after an
    // in-row splitter; the first bar of the row after a row splitter on a
    // right or bottom dock bar; the first bar of the next row, or the last row
    // end, on a left or top dock bar.
    int m_nBarIndex;
};
