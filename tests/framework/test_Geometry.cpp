// Tests of Geometry.h: CSize, CPoint and CRect.
#include "native/gtest.h"

#include "framework/Geometry.h"

#include <vector>

namespace {
::testing::AssertionResult SameRect(const RECT& expected, const RECT& actual) {
    if (EqualRect(&expected, &actual))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "expected {" << expected.left << "," << expected.top << "," << expected.right << ","
           << expected.bottom << "} got {" << actual.left << "," << actual.top << ","
           << actual.right << "," << actual.bottom << "}";
}
} // namespace

TEST(CSize, ConstructionAndArithmetic) {
    CSize zero;
    EXPECT_EQ(0, zero.cx);
    EXPECT_EQ(0, zero.cy);
    CSize s(3, 4);
    SIZE raw = {1, 2};
    EXPECT_TRUE(CSize(raw) == raw);
    EXPECT_TRUE(s != raw);
    EXPECT_TRUE(CSize(4, 6) == s + raw);
    EXPECT_TRUE(CSize(2, 2) == s - raw);
    EXPECT_TRUE(CSize(-3, -4) == -s);
    s += raw;
    EXPECT_TRUE(CSize(4, 6) == s);
    s -= raw;
    EXPECT_TRUE(CSize(3, 4) == s);
    EXPECT_TRUE(CSize(0xFFFF0002u) == CSize(2, -1));
    POINT p = {10, 20};
    EXPECT_TRUE(CPoint(13, 24) == s + p);
    EXPECT_TRUE(CPoint(-7, -16) == s - p);
    RECT r = {0, 0, 10, 10};
    EXPECT_TRUE(CRect(3, 4, 13, 14) == s + &r);
    s.SetSize(7, 8);
    EXPECT_EQ(7, s.cx);
    EXPECT_EQ(sizeof(SIZE), sizeof(CSize));
}

TEST(CPoint, ConstructionAndArithmetic) {
    CPoint zero;
    EXPECT_EQ(0, zero.x);
    CPoint p(5, 6);
    EXPECT_TRUE(CPoint(MAKELPARAM(-3 & 0xFFFF, 7)) == CPoint(-3, 7));
    EXPECT_TRUE(CPoint(CSize(1, 2)) == CPoint(1, 2));
    p.Offset(1, 1);
    EXPECT_TRUE(p == CPoint(6, 7));
    p.Offset(CPoint(1, 1));
    p.Offset(CSize(-2, -2));
    EXPECT_TRUE(p == CPoint(5, 6));
    p += CSize(1, 1);
    p -= CPoint(2, 2);
    EXPECT_TRUE(p == CPoint(4, 5));
    EXPECT_TRUE(p + CSize(1, 1) == CPoint(5, 6));
    EXPECT_TRUE(p - CSize(1, 1) == CPoint(3, 4));
    EXPECT_TRUE(p + CPoint(1, 1) == CPoint(5, 6));
    CSize d = p - CPoint(1, 1); // a point less a point is a size
    EXPECT_TRUE(d == CSize(3, 4));
    EXPECT_TRUE(-p == CPoint(-4, -5));
    CRect r(0, 0, 2, 2);
    EXPECT_TRUE(p + &r == CRect(4, 5, 6, 7));
    EXPECT_TRUE(p - &r == CRect(-4, -5, -2, -3));
    p.SetPoint(9, 9);
    EXPECT_TRUE(p != CPoint(9, 8));
}

TEST(CRect, AccessorsAndCorners) {
    CRect r(10, 20, 110, 70);
    EXPECT_EQ(100, r.Width());
    EXPECT_EQ(50, r.Height());
    EXPECT_TRUE(r.Size() == CSize(100, 50));
    EXPECT_TRUE(r.TopLeft() == CPoint(10, 20));
    EXPECT_TRUE(r.BottomRight() == CPoint(110, 70));
    EXPECT_TRUE(r.CenterPoint() == CPoint(60, 45));
    r.TopLeft() = CPoint(0, 0); // the corners alias the fields
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(0, r.top);
    r.BottomRight().x = 5;
    EXPECT_EQ(5, r.right);
    EXPECT_TRUE(CRect(CPoint(1, 2), CSize(3, 4)) == CRect(1, 2, 4, 6));
    EXPECT_TRUE(CRect(CPoint(1, 2), CPoint(3, 4)) == CRect(1, 2, 3, 4));
    RECT raw = {1, 2, 3, 4};
    EXPECT_TRUE(CRect(raw) == raw);
    EXPECT_TRUE(CRect(&raw) == raw);
    LPRECT p = r;
    LPCRECT cp = static_cast<const CRect&>(r);
    EXPECT_EQ(static_cast<RECT*>(&r), p);
    EXPECT_EQ(static_cast<const RECT*>(&r), cp);
    EXPECT_EQ(sizeof(RECT), sizeof(CRect));
}

TEST(CRect, EmptyNullAndPtInRect) {
    EXPECT_TRUE(CRect().IsRectEmpty());
    EXPECT_TRUE(CRect().IsRectNull());
    EXPECT_TRUE(CRect(5, 5, 5, 10).IsRectEmpty());
    EXPECT_TRUE(CRect(5, 5, 4, 10).IsRectEmpty());
    EXPECT_FALSE(CRect(5, 5, 4, 10).IsRectNull());
    EXPECT_FALSE(CRect(0, 0, 1, 1).IsRectEmpty());
    CRect r(0, 0, 10, 10);
    EXPECT_TRUE(r.PtInRect(CPoint(0, 0)));
    EXPECT_TRUE(r.PtInRect(CPoint(9, 9)));
    EXPECT_FALSE(r.PtInRect(CPoint(10, 5)));
    EXPECT_FALSE(r.PtInRect(CPoint(5, 10)));
    EXPECT_FALSE(r.PtInRect(CPoint(-1, 5)));
}

TEST(CRect, SettersInflateDeflateOffsetMove) {
    CRect r;
    r.SetRect(1, 2, 3, 4);
    EXPECT_TRUE(r == CRect(1, 2, 3, 4));
    r.SetRect(CPoint(0, 0), CPoint(10, 10));
    r.InflateRect(1, 2);
    EXPECT_TRUE(r == CRect(-1, -2, 11, 12));
    r.DeflateRect(1, 2);
    r.InflateRect(CSize(1, 1));
    r.DeflateRect(CSize(1, 1));
    EXPECT_TRUE(r == CRect(0, 0, 10, 10));
    RECT edges = {1, 2, 3, 4};
    r.InflateRect(&edges);
    EXPECT_TRUE(r == CRect(-1, -2, 13, 14));
    r.DeflateRect(&edges);
    r.InflateRect(1, 2, 3, 4);
    EXPECT_TRUE(r == CRect(-1, -2, 13, 14));
    r.DeflateRect(1, 2, 3, 4);
    r.OffsetRect(5, 5);
    EXPECT_TRUE(r == CRect(5, 5, 15, 15));
    r.OffsetRect(CPoint(-5, 0));
    r.OffsetRect(CSize(0, -5));
    EXPECT_TRUE(r == CRect(0, 0, 10, 10));
    r.MoveToXY(20, 30);
    EXPECT_TRUE(r == CRect(20, 30, 30, 40));
    r.MoveToX(0);
    r.MoveToY(0);
    EXPECT_TRUE(r == CRect(0, 0, 10, 10));
    r.CopyRect(&edges);
    EXPECT_TRUE(r.EqualRect(&edges));
    EXPECT_FALSE(r.EqualRect(nullptr));
    r.SetRectEmpty();
    EXPECT_TRUE(r.IsRectNull());
    CRect n(10, 20, 0, 5);
    n.NormalizeRect();
    EXPECT_TRUE(n == CRect(0, 5, 10, 20));
    n.SwapLeftRight();
    EXPECT_TRUE(n == CRect(10, 5, 0, 20));
}

TEST(CRect, OperatorsOffsetInflateIntersectUnion) {
    CRect r(0, 0, 10, 10);
    EXPECT_TRUE(r + CPoint(1, 1) == CRect(1, 1, 11, 11));
    EXPECT_TRUE(r - CPoint(1, 1) == CRect(-1, -1, 9, 9));
    EXPECT_TRUE(r + CSize(2, 0) == CRect(2, 0, 12, 10));
    EXPECT_TRUE(r - CSize(0, 2) == CRect(0, -2, 10, 8));
    RECT one = {1, 1, 1, 1};
    EXPECT_TRUE(r + &one == CRect(-1, -1, 11, 11));
    EXPECT_TRUE(r - &one == CRect(1, 1, 9, 9));
    CRect other(5, 5, 20, 20);
    EXPECT_TRUE((r & other) == CRect(5, 5, 10, 10));
    EXPECT_TRUE((r | other) == CRect(0, 0, 20, 20));
    CRect t = r;
    t &= other;
    EXPECT_TRUE(t == CRect(5, 5, 10, 10));
    t = r;
    t |= other;
    EXPECT_TRUE(t == CRect(0, 0, 20, 20));
    t = r;
    t += CPoint(1, 1);
    t -= CPoint(1, 1);
    t += CSize(1, 1);
    t -= CSize(1, 1);
    t += &one;
    t -= &one;
    EXPECT_TRUE(t == r);
    EXPECT_TRUE(CRect(0, 0, 100, 50).MulDiv(3, 2) == CRect(0, 0, 150, 75));
}

TEST(CRect, IntersectUnionSubtractMatchUser32) {
    std::vector<RECT> rects = {
        {0, 0, 10, 10},   {5, 5, 15, 15}, {0, 0, 10, 5},    {0, 5, 10, 10}, {0, 0, 5, 10},
        {5, 0, 10, 10},   {2, 2, 8, 8},   {20, 20, 30, 30}, {0, 0, 0, 0},   {3, 3, 3, 9},
        {-5, -5, 20, 20}, {0, 0, 10, 20}, {10, 0, 20, 10},  {9, 9, 1, 1},   {0, 2, 10, 4},
    };
    for (const RECT& a : rects) {
        for (const RECT& b : rects) {
            RECT expected;
            CRect got(7, 7, 7, 7);
            BOOL e = ::IntersectRect(&expected, &a, &b);
            EXPECT_EQ(e, got.IntersectRect(&a, &b));
            EXPECT_TRUE(SameRect(expected, got));
            got.SetRect(7, 7, 7, 7);
            e = ::UnionRect(&expected, &a, &b);
            EXPECT_EQ(e, got.UnionRect(&a, &b));
            EXPECT_TRUE(SameRect(expected, got));
            got.SetRect(7, 7, 7, 7);
            e = ::SubtractRect(&expected, &a, &b);
            EXPECT_EQ(e, got.SubtractRect(&a, &b));
            EXPECT_TRUE(SameRect(expected, got));
        }
    }
    CRect self(0, 0, 10, 10);
    EXPECT_TRUE(self.IntersectRect(&self, CRect(5, 5, 20, 20)));
    EXPECT_TRUE(self == CRect(5, 5, 10, 10));
}
