// GeometryPrint.h: how GoogleTest prints the framework's rectangles, points
// and sizes in failure messages (as numbers rather than bytes).
#pragma once

#include "framework/Geometry.h"

#include <ostream>

inline void PrintTo(const CRect& r, std::ostream* os) {
    *os << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}
inline void PrintTo(const CPoint& pt, std::ostream* os) {
    *os << "(" << pt.x << "," << pt.y << ")";
}
inline void PrintTo(const CSize& size, std::ostream* os) {
    *os << size.cx << "x" << size.cy;
}
