// Tests of Dc.h: device-context wrappers, selections, drawing read back at pixels.
#include "native/gtest.h"
#include "tests/support/Misuse.h"

#include "tests/support/Canvas.h"

#include "framework/Dc.h"
#include "framework/Exception.h"
#include "framework/Gdi.h"
#include "framework/HandleMap.h"
#include "framework/Wnd.h"

#include <string>
#include <vector>

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);

// An icon of w by h pixels in one colour, fully opaque.
HICON MakeIcon(int w, int h, COLORREF color) {
    CCanvas colour(w, h);
    colour.dc.FillSolidRect(0, 0, w, h, color);
    CBitmap image, mask;
    image.Attach(MakeDib(w, h));
    mask.CreateBitmap(w, h, 1, 1, nullptr);
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* pOld = dc.SelectObject(&image);
    dc.BitBlt(0, 0, w, h, &colour.dc, 0, 0, SRCCOPY);
    dc.SelectObject(&mask);
    dc.PatBlt(0, 0, w, h, BLACKNESS); // mask 0: the image shows everywhere
    dc.SelectObject(pOld);
    ICONINFO info = {TRUE, 0, 0, mask, image};
    return ::CreateIconIndirect(&info);
}

class DcTest : public ::testing::Test {
protected:
    void TearDown() override { AfxDeleteTempGdiObjects(); }
};

} // namespace

// ---- ownership ------------------------------------------------------------------

TEST_F(DcTest, CreatedAndAttachedContextsAreDeletedWithTheirWrapper) {
    HDC hCreated = nullptr;
    {
        CDC dc;
        ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
        hCreated = dc.m_hDC;
        EXPECT_EQ(hCreated, dc.m_hAttribDC);
        EXPECT_EQ(&dc, CDC::FromHandle(hCreated));
        EXPECT_MISUSE_REFUSED(dc.CreateCompatibleDC(nullptr)); // would lose the first context
    }
    EXPECT_EQ(0u, ::GetObjectType(hCreated));

    HDC hLoose = ::CreateCompatibleDC(nullptr);
    {
        CDC dc;
        ASSERT_TRUE(dc.Attach(hLoose));
        EXPECT_EQ(hLoose, dc.Detach());
        EXPECT_EQ(nullptr, dc.m_hAttribDC);
    }
    EXPECT_EQ(static_cast<DWORD>(OBJ_MEMDC), ::GetObjectType(hLoose));

    // A temporary view answers until the next clean-up and never deletes.
    CDC* pView = CDC::FromHandle(hLoose);
    ASSERT_NE(nullptr, pView);
    EXPECT_EQ(hLoose, pView->GetSafeHdc());
    EXPECT_EQ(pView, CDC::FromHandle(hLoose));
    AfxDeleteTempGdiObjects();
    EXPECT_EQ(static_cast<DWORD>(OBJ_MEMDC), ::GetObjectType(hLoose));
    ::DeleteDC(hLoose);
}

TEST_F(DcTest, AttachAndFromHandleRefuseWhatIsNoContextOrOwnedElsewhere) {
    CDC owner;
    ASSERT_TRUE(owner.CreateCompatibleDC(nullptr));
    CDC second;
    EXPECT_FALSE(second.Attach(owner.m_hDC));
    CPen pen(PS_SOLID, 1, kBlack);
    EXPECT_FALSE(second.Attach(reinterpret_cast<HDC>(pen.m_hObject)));
    EXPECT_FALSE(second.Attach(nullptr));
    EXPECT_EQ(nullptr, CDC::FromHandle(reinterpret_cast<HDC>(pen.m_hObject)));
    EXPECT_EQ(nullptr, CDC::FromHandle(nullptr));
    CDC other;
    EXPECT_FALSE(other.CreateCompatibleDC(&second)); // a source without a context
}

TEST_F(DcTest, AnEmptyWrapperFailsEveryCallWithoutTouchingAnything) {
    CDC dc;
    RECT rect = {0, 0, 5, 5};
    CBrush brush(kRed);
    CPen pen(PS_SOLID, 1, kRed);
    EXPECT_EQ(nullptr, dc.SelectObject(&pen));
    EXPECT_EQ(nullptr, dc.SelectStockObject(BLACK_PEN));
    EXPECT_EQ(0, dc.SaveDC());
    EXPECT_FALSE(dc.RestoreDC(-1));
    EXPECT_EQ(CLR_INVALID, dc.SetTextColor(kRed));
    EXPECT_EQ(CLR_INVALID, dc.GetPixel(0, 0));
    EXPECT_FALSE(dc.Rectangle(&rect));
    EXPECT_FALSE(dc.LineTo(3, 3));
    EXPECT_FALSE(dc.BitBlt(0, 0, 1, 1, nullptr, 0, 0, BLACKNESS));
    EXPECT_EQ(0, dc.DrawText("text", -1, &rect, 0));
    EXPECT_FALSE(dc.TextOut(0, 0, "text", -1));
    EXPECT_EQ(0, dc.GetTextExtent("text", -1).cx);
    EXPECT_EQ(ERROR, dc.GetClipBox(&rect));
    EXPECT_EQ(ERROR, dc.IntersectClipRect(&rect));
    EXPECT_EQ(0, dc.GetDeviceCaps(LOGPIXELSX));
    dc.FillSolidRect(&rect, kRed);
    dc.FillRect(&rect, &brush);
    dc.Draw3dRect(&rect, kRed, kBlue);
    EXPECT_EQ(nullptr, dc.m_hDC);
}

// ---- selections -----------------------------------------------------------------

TEST_F(DcTest, SelectObjectAnswersThePreviousObjectForRestoring) {
    CCanvas canvas(4, 4);
    CDC& dc = canvas.dc;
    HGDIOBJ hDefaultPen = ::GetCurrentObject(dc, OBJ_PEN);
    CPen red(PS_SOLID, 1, kRed), blue(PS_SOLID, 1, kBlue);

    CPen* pDefault = dc.SelectObject(&red);
    ASSERT_NE(nullptr, pDefault);
    EXPECT_EQ(hDefaultPen, pDefault->m_hObject);
    // An owned previous object comes back as its owner.
    EXPECT_EQ(&red, dc.SelectObject(&blue));
    EXPECT_EQ(&blue, dc.SelectObject(pDefault));
    EXPECT_EQ(hDefaultPen, ::GetCurrentObject(dc, OBJ_PEN));

    CBrush brush(kGreen);
    CBrush* pOldBrush = dc.SelectObject(&brush);
    ASSERT_NE(nullptr, pOldBrush);
    EXPECT_EQ(brush.m_hObject, ::GetCurrentObject(dc, OBJ_BRUSH));
    EXPECT_EQ(&brush, dc.SelectObject(pOldBrush));

    CFont font;
    ASSERT_TRUE(font.CreatePointFont(100, "Arial"));
    CFont* pOldFont = dc.SelectObject(&font);
    ASSERT_NE(nullptr, pOldFont);
    EXPECT_EQ(&font, dc.SelectObject(pOldFont));

    CGdiObject* pStock = dc.SelectStockObject(NULL_BRUSH);
    ASSERT_NE(nullptr, pStock);
    EXPECT_EQ(::GetStockObject(NULL_BRUSH), ::GetCurrentObject(dc, OBJ_BRUSH));
    dc.SelectObject(pStock);

    // Nothing to select: no answer, no change.
    CPen empty;
    EXPECT_EQ(nullptr, dc.SelectObject(&empty));
    EXPECT_EQ(nullptr, dc.SelectObject(static_cast<CPen*>(nullptr)));
    EXPECT_EQ(hDefaultPen, ::GetCurrentObject(dc, OBJ_PEN));
}

TEST_F(DcTest, BitmapsGoToTheOutputContextOnlyAndCannotBeInTwoContexts) {
    CCanvas canvas(2, 2);
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&canvas.dc, 2, 2));
    CDC first, second;
    ASSERT_TRUE(first.CreateCompatibleDC(&canvas.dc));
    ASSERT_TRUE(second.CreateCompatibleDC(&canvas.dc));
    CBitmap* pOld = first.SelectObject(&bitmap);
    ASSERT_NE(nullptr, pOld);
    EXPECT_EQ(nullptr, second.SelectObject(&bitmap));
    first.SelectObject(pOld);
    EXPECT_NE(nullptr, second.SelectObject(&bitmap));
}

TEST_F(DcTest, ScopedSelectPutsThePreviousObjectBack) {
    CCanvas canvas(4, 4);
    HGDIOBJ hDefaultBrush = ::GetCurrentObject(canvas.dc, OBJ_BRUSH);
    CBrush brush(kRed);
    {
        CScopedSelect select(canvas.dc, &brush);
        EXPECT_TRUE(select.IsSelected());
        EXPECT_EQ(brush.m_hObject, ::GetCurrentObject(canvas.dc, OBJ_BRUSH));
        CScopedSelect nothing(canvas.dc, static_cast<CGdiObject*>(nullptr));
        EXPECT_FALSE(nothing.IsSelected());
    }
    EXPECT_EQ(hDefaultBrush, ::GetCurrentObject(canvas.dc, OBJ_BRUSH));
}

TEST_F(DcTest, SettersReachBothContextsAndQueriesTheAttributeContext) {
    // The arrangement of a double-buffering context: output and attribute apart.
    CCanvas output(2, 2), attrib(2, 2);
    CDCHandle dc(output.dc);
    dc.m_hAttribDC = attrib.dc;
    dc.SetTextColor(kRed);
    dc.SetBkMode(TRANSPARENT);
    EXPECT_EQ(kRed, ::GetTextColor(output.dc));
    EXPECT_EQ(kRed, ::GetTextColor(attrib.dc));
    EXPECT_EQ(TRANSPARENT, ::GetBkMode(output.dc));
    ::SetTextColor(attrib.dc, kBlue);
    EXPECT_EQ(kBlue, dc.GetTextColor());
}

TEST_F(DcTest, SaveAndRestoreBringBackTheState) {
    CCanvas canvas(4, 4);
    CPen pen(PS_SOLID, 1, kRed);
    canvas.dc.SetTextColor(kGreen);
    int nSaved = canvas.dc.SaveDC();
    ASSERT_NE(0, nSaved);
    canvas.dc.SelectObject(&pen);
    canvas.dc.SetTextColor(kBlue);
    canvas.dc.IntersectClipRect(0, 0, 1, 1);
    EXPECT_TRUE(canvas.dc.RestoreDC(nSaved));
    EXPECT_EQ(kGreen, canvas.dc.GetTextColor());
    EXPECT_NE(pen.m_hObject, ::GetCurrentObject(canvas.dc, OBJ_PEN));
    RECT box = {};
    canvas.dc.GetClipBox(&box);
    EXPECT_EQ(4, box.right);
    EXPECT_FALSE(canvas.dc.RestoreDC(nSaved)); // already restored
}

// ---- drawing --------------------------------------------------------------------

TEST_F(DcTest, ShapesDrawWithTheSelectedPenAndBrush) {
    struct {
        const char* name;
        void (*draw)(CDC&);
        POINT edge;    // a pixel of the outline, in the pen's colour
        POINT inside;  // a pixel of the fill, in the brush's colour
        POINT outside; // a pixel left white
    } cases[] = {
        {"rectangle", [](CDC& dc) { dc.Rectangle(2, 2, 12, 12); }, {2, 5}, {6, 6}, {12, 12}},
        {"rectangle rect",
         [](CDC& dc) {
             RECT r = {2, 2, 12, 12};
             dc.Rectangle(&r);
         },
         {11, 5},
         {6, 6},
         {1, 1}},
        {"ellipse", [](CDC& dc) { dc.Ellipse(0, 0, 16, 16); }, {0, 8}, {8, 8}, {1, 1}},
        {"round rect",
         [](CDC& dc) {
             RECT r = {0, 0, 16, 16};
             dc.RoundRect(&r, POINT{8, 8});
         },
         {8, 0},
         {8, 8},
         {0, 0}},
        {"polygon",
         [](CDC& dc) {
             const POINT p[] = {{0, 0}, {15, 0}, {0, 15}};
             dc.Polygon(p, 3);
         },
         {7, 0},
         {3, 3},
         {14, 14}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CCanvas canvas(16, 16);
        CPen pen(PS_SOLID, 1, kRed);
        CBrush brush(kBlue);
        CScopedSelect selectPen(canvas.dc, &pen);
        CScopedSelect selectBrush(canvas.dc, &brush);
        c.draw(canvas.dc);
        EXPECT_EQ(kRed, canvas.dc.GetPixel(c.edge));
        EXPECT_EQ(kBlue, canvas.dc.GetPixel(c.inside));
        EXPECT_EQ(kWhite, canvas.dc.GetPixel(c.outside));
    }
}

TEST_F(DcTest, LinesFollowTheCurrentPosition) {
    CCanvas canvas(10, 10);
    CPen pen(PS_SOLID, 1, kGreen);
    CScopedSelect select(canvas.dc, &pen);
    canvas.dc.MoveTo(1, 1);
    CPoint previous = canvas.dc.MoveTo(POINT{1, 5});
    EXPECT_EQ(1, previous.x);
    EXPECT_EQ(1, previous.y);
    EXPECT_TRUE(canvas.dc.LineTo(8, 5)); // the end point is not drawn
    EXPECT_EQ(kGreen, canvas.dc.GetPixel(1, 5));
    EXPECT_EQ(kGreen, canvas.dc.GetPixel(7, 5));
    EXPECT_EQ(kWhite, canvas.dc.GetPixel(8, 5));
    const POINT zigzag[] = {{0, 0}, {0, 3}, {3, 3}};
    EXPECT_TRUE(canvas.dc.Polyline(zigzag, 3));
    EXPECT_EQ(kGreen, canvas.dc.GetPixel(0, 2));
    EXPECT_EQ(kGreen, canvas.dc.GetPixel(2, 3));
    EXPECT_FALSE(canvas.dc.Polyline(zigzag, 1));
    EXPECT_FALSE(canvas.dc.Polygon(nullptr, 3));
}

TEST_F(DcTest, FillSolidRectLeavesTheBackgroundColourAlone) {
    CCanvas canvas(10, 10);
    canvas.dc.SetBkColor(kGreen);
    canvas.dc.FillSolidRect(2, 2, 3, 3, kRed);
    EXPECT_EQ(kGreen, canvas.dc.GetBkColor());
    RECT filled = {2, 2, 5, 5};
    EXPECT_EQ(9, canvas.Count(kRed, filled));
    EXPECT_EQ(0, canvas.Count(kRed, filled, false));
    // Negative extents reach to the left and upwards.
    canvas.dc.FillSolidRect(9, 9, -2, -1, kBlue);
    EXPECT_EQ(kBlue, canvas.dc.GetPixel(7, 8));
    EXPECT_EQ(kBlue, canvas.dc.GetPixel(8, 8));
    EXPECT_EQ(kWhite, canvas.dc.GetPixel(9, 9));
}

TEST_F(DcTest, Draw3dRectGivesTheOffCornersToTheBottomRightColour) {
    CCanvas canvas(8, 8);
    RECT rect = {1, 1, 6, 5};
    canvas.dc.Draw3dRect(&rect, kRed, kBlue);
    struct {
        int x, y;
        COLORREF expected;
    } pixels[] = {
        {1, 1, kRed},   {4, 1, kRed},   {1, 3, kRed},  // top and left edges
        {5, 1, kBlue},  {1, 4, kBlue},                 // top-right and bottom-left corners
        {5, 4, kBlue},  {5, 2, kBlue},  {3, 4, kBlue}, // right and bottom edges
        {3, 2, kWhite}, {6, 1, kWhite}, {1, 5, kWhite},
    };
    for (const auto& p : pixels) {
        SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
        EXPECT_EQ(p.expected, canvas.dc.GetPixel(p.x, p.y));
    }
    RECT empty = {3, 3, 3, 6};
    canvas.dc.Draw3dRect(&empty, kGreen, kGreen);
    EXPECT_EQ(0, canvas.Count(kGreen, RECT{0, 0, 8, 8}));
}

TEST_F(DcTest, FrameFillEdgeAndFocusRectangles) {
    CCanvas canvas(12, 12);
    CBrush red(kRed), blue(kBlue);
    RECT rect = {1, 1, 11, 11};
    canvas.dc.FillRect(&rect, &blue);
    canvas.dc.FrameRect(&rect, &red);
    EXPECT_EQ(kRed, canvas.dc.GetPixel(1, 1));
    EXPECT_EQ(kRed, canvas.dc.GetPixel(10, 6));
    EXPECT_EQ(kBlue, canvas.dc.GetPixel(2, 2));
    EXPECT_EQ(kWhite, canvas.dc.GetPixel(11, 11));

    // A sunken outer edge: shadow at top-left, highlight at bottom-right.
    CCanvas edge(12, 12);
    RECT edgeRect = {0, 0, 12, 12};
    EXPECT_TRUE(edge.dc.DrawEdge(&edgeRect, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST));
    EXPECT_EQ(::GetSysColor(COLOR_BTNSHADOW), edge.dc.GetPixel(0, 5));
    EXPECT_EQ(::GetSysColor(COLOR_BTNHIGHLIGHT), edge.dc.GetPixel(11, 5));
    EXPECT_EQ(1, edgeRect.left); // BF_ADJUST shrinks the rectangle

    CCanvas focus(12, 12);
    focus.dc.DrawFocusRect(&rect);
    EXPECT_GT(12 * 12 - focus.Count(kWhite, RECT{0, 0, 12, 12}), 0);
    focus.dc.DrawFocusRect(&rect); // drawing twice takes it away again
    EXPECT_EQ(12 * 12, focus.Count(kWhite, RECT{0, 0, 12, 12}));
}

TEST_F(DcTest, BlockTransfersCopyStretchAndPaint) {
    CCanvas source(2, 2);
    source.dc.SetPixel(0, 0, kRed);
    source.dc.SetPixel(1, 1, kBlue);
    CCanvas target(6, 6);
    EXPECT_TRUE(target.dc.BitBlt(1, 1, 2, 2, &source.dc, 0, 0, SRCCOPY));
    EXPECT_EQ(kRed, target.dc.GetPixel(1, 1));
    EXPECT_EQ(kBlue, target.dc.GetPixel(2, 2));
    EXPECT_FALSE(target.dc.BitBlt(0, 0, 1, 1, nullptr, 0, 0, SRCCOPY)); // needs a source

    CCanvas stretched(4, 4);
    EXPECT_TRUE(stretched.dc.StretchBlt(0, 0, 4, 4, &source.dc, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(kRed, stretched.dc.GetPixel(1, 1));
    EXPECT_EQ(kBlue, stretched.dc.GetPixel(3, 2));

    CBrush green(kGreen);
    CScopedSelect select(target.dc, &green);
    EXPECT_TRUE(target.dc.PatBlt(4, 4, 2, 2, PATCOPY));
    EXPECT_EQ(kGreen, target.dc.GetPixel(5, 5));
    EXPECT_TRUE(target.dc.PatBlt(0, 0, 1, 1, BLACKNESS));
    EXPECT_EQ(kBlack, target.dc.GetPixel(0, 0));

    EXPECT_EQ(kRed, target.dc.SetPixel(0, 5, kRed)); // the colour it was given
    EXPECT_TRUE(target.dc.SetPixelV(POINT{1, 5}, kBlue));
    EXPECT_EQ(kBlue, target.dc.GetPixel(POINT{1, 5}));
}

TEST_F(DcTest, ClippingLimitsDrawing) {
    RECT all = {0, 0, 10, 10};
    struct {
        const char* name;
        void (*clip)(CDC&);
        RECT painted; // what a fill of everything reaches
    } cases[] = {
        {"intersect", [](CDC& dc) { dc.IntersectClipRect(2, 2, 6, 6); }, {2, 2, 6, 6}},
        {"intersect rect",
         [](CDC& dc) {
             RECT r = {0, 0, 3, 10};
             dc.IntersectClipRect(&r);
         },
         {0, 0, 3, 10}},
        {"region",
         [](CDC& dc) {
             CRgn r;
             r.CreateRectRgn(5, 0, 10, 4);
             dc.SelectClipRgn(&r);
         },
         {5, 0, 10, 4}},
        {"region as object",
         [](CDC& dc) {
             CRgn r;
             r.CreateRectRgn(1, 1, 2, 2);
             dc.SelectObject(&r);
         },
         {1, 1, 2, 2}},
        {"region then none",
         [](CDC& dc) {
             CRgn r;
             r.CreateRectRgn(0, 0, 1, 1);
             dc.SelectClipRgn(&r);
             dc.SelectClipRgn(nullptr);
         },
         {0, 0, 10, 10}},
        {"region and",
         [](CDC& dc) {
             dc.IntersectClipRect(0, 0, 5, 5);
             CRgn r;
             r.CreateRectRgn(3, 3, 10, 10);
             dc.SelectClipRgn(&r, RGN_AND);
         },
         {3, 3, 5, 5}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CCanvas canvas(10, 10);
        c.clip(canvas.dc);
        RECT box = {};
        EXPECT_NE(ERROR, canvas.dc.GetClipBox(&box));
        EXPECT_TRUE(::EqualRect(&box, &c.painted));
        canvas.dc.FillSolidRect(&all, kRed);
        const int area = (c.painted.right - c.painted.left) * (c.painted.bottom - c.painted.top);
        EXPECT_EQ(area, canvas.Count(kRed, c.painted));
        EXPECT_EQ(0, canvas.Count(kRed, c.painted, false));
        EXPECT_EQ(!!canvas.dc.PtVisible(c.painted.left, c.painted.top), true);
    }
    CCanvas excluded(10, 10);
    excluded.dc.ExcludeClipRect(0, 0, 5, 10);
    excluded.dc.FillSolidRect(&all, kRed);
    EXPECT_EQ(kWhite, excluded.dc.GetPixel(4, 4));
    EXPECT_EQ(kRed, excluded.dc.GetPixel(5, 4));
    RECT hidden = {0, 0, 4, 4};
    EXPECT_FALSE(excluded.dc.RectVisible(&hidden));
    CRgn empty;
    EXPECT_EQ(ERROR, excluded.dc.SelectClipRgn(&empty)); // an empty wrapper is no region
}

TEST_F(DcTest, AnisotropicMappingScalesLogicalUnits) {
    CCanvas canvas(40, 40);
    canvas.dc.SetMapMode(MM_ANISOTROPIC);
    canvas.dc.SetWindowExt(100, 100);
    CSize previous = canvas.dc.SetViewportExt(CSize(200, 200));
    EXPECT_EQ(1, previous.cx);
    EXPECT_EQ(MM_ANISOTROPIC, canvas.dc.GetMapMode());
    POINT pt = {10, 15};
    canvas.dc.LPtoDP(&pt);
    EXPECT_EQ(20, pt.x);
    EXPECT_EQ(30, pt.y);
    RECT rect = {20, 20, 30, 30};
    canvas.dc.DPtoLP(&rect);
    EXPECT_EQ(10, rect.left);
    EXPECT_EQ(15, rect.bottom);

    canvas.dc.SetViewportOrg(4, 0);
    EXPECT_EQ(4, canvas.dc.GetViewportOrg().x);
    canvas.dc.FillSolidRect(0, 0, 5, 5, kRed); // device (4, 0) to (14, 10)
    // Pixels are read back in device units.
    canvas.dc.SetMapMode(MM_TEXT);
    canvas.dc.SetViewportOrg(0, 0);
    EXPECT_EQ(kRed, canvas.dc.GetPixel(4, 0));
    EXPECT_EQ(kRed, canvas.dc.GetPixel(13, 9));
    EXPECT_EQ(kWhite, canvas.dc.GetPixel(14, 9));
    EXPECT_EQ(kWhite, canvas.dc.GetPixel(3, 0));
}

// ---- text -----------------------------------------------------------------------

TEST_F(DcTest, TextIsMeasuredAndDrawnInItsRectangle) {
    CCanvas canvas(120, 40);
    CFont font;
    ASSERT_TRUE(font.CreateFont(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0,
                                NONANTIALIASED_QUALITY, 0, "Arial"));
    CScopedSelect select(canvas.dc, &font);
    canvas.dc.SetTextColor(kBlack);
    canvas.dc.SetBkMode(TRANSPARENT);

    CSize extent = canvas.dc.GetTextExtent(CString("Call list"));
    EXPECT_GT(extent.cx, 20);
    EXPECT_EQ(extent.cx, canvas.dc.GetTextExtent("Call list", -1).cx);
    EXPECT_LT(canvas.dc.GetTextExtent("Call list", 4).cx, extent.cx);
    RECT measured = {0, 0, 0, 0};
    canvas.dc.DrawText(CString("Call list"), &measured, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(extent.cx, measured.right);
    EXPECT_EQ(extent.cy, measured.bottom);
    TEXTMETRIC metrics = {};
    ASSERT_TRUE(canvas.dc.GetTextMetrics(&metrics));
    EXPECT_EQ(extent.cy, metrics.tmHeight);

    RECT box = {10, 10, 110, 30};
    EXPECT_GT(canvas.dc.DrawText("Call list", -1, &box, DT_SINGLELINE | DT_VCENTER), 0);
    EXPECT_GT(canvas.Count(kBlack, box), 10);
    EXPECT_EQ(0, canvas.Count(kBlack, box, false));

    CCanvas out(120, 40);
    CScopedSelect selectOut(out.dc, &font);
    EXPECT_TRUE(out.dc.TextOut(5, 5, CString("Trim")));
    EXPECT_GT(out.Count(kBlack, RECT{5, 5, 60, 30}), 5);
    RECT opaque = {0, 0, 120, 4};
    out.dc.SetBkColor(kBlue);
    EXPECT_TRUE(out.dc.ExtTextOut(0, 0, ETO_OPAQUE, &opaque, nullptr, 0, nullptr));
    EXPECT_EQ(kBlue, out.dc.GetPixel(100, 2));
    CSize tabbed = out.dc.TabbedTextOut(5, 20, "a\tb", -1, 0, nullptr, 0);
    EXPECT_GT(tabbed.cx, out.dc.GetTextExtent("ab", 2).cx);
}

TEST_F(DcTest, StateDrawingOfTextAndIcons) {
    CCanvas canvas(60, 30);
    canvas.dc.SetTextColor(kBlack);
    EXPECT_TRUE(canvas.dc.DrawState(CPoint(2, 2), CSize(0, 0), "&Open", DSS_NORMAL));
    EXPECT_GT(canvas.Count(kBlack, RECT{0, 0, 60, 30}), 5);
    EXPECT_FALSE(
        canvas.dc.DrawState(CPoint(0, 0), CSize(0, 0), static_cast<LPCTSTR>(nullptr), DSS_NORMAL));

    HICON hIcon = MakeIcon(8, 8, kRed);
    ASSERT_NE(nullptr, hIcon);
    CCanvas icons(80, 40);
    // DrawIcon stretches to the system's icon size.
    EXPECT_TRUE(icons.dc.DrawIcon(CPoint(1, 1), hIcon));
    EXPECT_EQ(kRed, icons.dc.GetPixel(1 + ::GetSystemMetrics(SM_CXICON) - 1, 4));
    // A monochrome state image takes the brush's colour; the caller's kind flag is
    // replaced by the overload's.
    CBrush green(kGreen);
    EXPECT_TRUE(icons.dc.DrawState(CPoint(50, 1), CSize(8, 8), hIcon, DST_ICON | DSS_MONO, &green));
    EXPECT_EQ(kGreen, icons.dc.GetPixel(54, 4));
    EXPECT_EQ(kWhite, icons.dc.GetPixel(60, 4));
    EXPECT_FALSE(icons.dc.DrawIcon(0, 0, nullptr));
    ::DestroyIcon(hIcon);
}

namespace {

// A context that sends all text elsewhere, as a double-buffering one does: the
// framework's text calls must reach its overrides.
class CCountingDC : public CDC {
public:
    int textOuts = 0;
    int drawTexts = 0;
    int extTextOuts = 0;
    BOOL TextOut(int, int, LPCTSTR, int) override { return ++textOuts, TRUE; }
    int DrawText(LPCTSTR, int, LPRECT, UINT) override { return ++drawTexts; }
    BOOL ExtTextOut(int, int, UINT, LPCRECT, LPCTSTR, UINT, LPINT) override {
        return ++extTextOuts, TRUE;
    }
    using CDC::DrawText;
    using CDC::ExtTextOut;
    using CDC::TextOut;
};

} // namespace

TEST_F(DcTest, StringOverloadsGoThroughTheVirtualTextCalls) {
    CCountingDC dc;
    CString text("Score");
    RECT rect = {0, 0, 10, 10};
    CDC& base = dc;
    base.TextOut(0, 0, text);
    base.DrawText(text, &rect, 0);
    base.ExtTextOut(0, 0, 0, &rect, text, nullptr);
    EXPECT_EQ(1, dc.textOuts);
    EXPECT_EQ(1, dc.drawTexts);
    EXPECT_EQ(1, dc.extTextOuts);
}

// ---- window contexts ------------------------------------------------------------

namespace {

RECT g_paintedRect = {};
bool g_paintFoundItsWrapper = false;

LRESULT CALLBACK PaintingProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        CPaintDC dc(CWnd::FromHandle(hWnd));
        g_paintedRect = dc.m_ps.rcPaint;
        g_paintFoundItsWrapper = CDC::FromHandle(dc.m_hDC) == &dc;
        dc.FillSolidRect(&dc.m_ps.rcPaint, kRed);
        return 0;
    }
    return ::DefWindowProc(hWnd, message, wParam, lParam);
}

// A visible top-level window of the class, with a caption and a border.
HWND MakeWindow(const char* className, UINT classStyle) {
    WNDCLASS wc = {};
    wc.style = classStyle;
    wc.lpfnWndProc = &PaintingProc;
    wc.hInstance = ::GetModuleHandle(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = className;
    ::RegisterClass(&wc);
    return ::CreateWindow(className, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 120, 100,
                          nullptr, nullptr, wc.hInstance, nullptr);
}

template <class F> bool ThrowsResourceException(F f) {
    try {
        f();
    } catch (CException* e) {
        bool ok = e->IsKindOf(RUNTIME_CLASS(CResourceException));
        e->Delete();
        return ok;
    }
    return false;
}

} // namespace

TEST_F(DcTest, PaintContextBeginsAndEndsPainting) {
    HWND hWnd = MakeWindow("ZmDcTestPaint", 0);
    ASSERT_NE(nullptr, hWnd);
    ::InvalidateRect(hWnd, nullptr, TRUE);
    ::UpdateWindow(hWnd);
    RECT client;
    ::GetClientRect(hWnd, &client);
    EXPECT_TRUE(::EqualRect(&client, &g_paintedRect));
    EXPECT_TRUE(g_paintFoundItsWrapper);
    // EndPaint validated the window, and the painting reached it.
    EXPECT_FALSE(::GetUpdateRect(hWnd, nullptr, FALSE));
    CClientDC check(CWnd::FromHandle(hWnd));
    EXPECT_EQ(kRed, check.GetPixel(client.right / 2, client.bottom / 2));
    ::DestroyWindow(hWnd);
}

TEST_F(DcTest, ClientAndWindowContextsCoverTheirAreas) {
    HWND hWnd = MakeWindow("ZmDcTestAreas", 0);
    ASSERT_NE(nullptr, hWnd);
    ::UpdateWindow(hWnd);
    RECT client, window, box;
    ::GetClientRect(hWnd, &client);
    ::GetWindowRect(hWnd, &window);
    HDC hClient = nullptr;
    {
        CClientDC dc(CWnd::FromHandle(hWnd));
        hClient = dc.m_hDC;
        EXPECT_EQ(hWnd, ::WindowFromDC(dc));
        EXPECT_EQ(&dc, CDC::FromHandle(dc.m_hDC));
        dc.GetClipBox(&box);
        EXPECT_EQ(client.right, box.right - box.left);
        EXPECT_EQ(client.bottom, box.bottom - box.top);
    }
    EXPECT_NE(nullptr, hClient);
    {
        CWindowDC dc(CWnd::FromHandle(hWnd));
        dc.GetClipBox(&box);
        EXPECT_EQ(window.right - window.left, box.right - box.left);
        EXPECT_EQ(window.bottom - window.top, box.bottom - box.top);
    }
    // No window: the screen.
    CClientDC screen(nullptr);
    EXPECT_EQ(::GetSystemMetrics(SM_CXSCREEN), screen.GetDeviceCaps(HORZRES));
    ::DestroyWindow(hWnd);
}

TEST_F(DcTest, WindowContextsOfOneOwnDcWindowShareItsContext) {
    HWND hWnd = MakeWindow("ZmDcTestOwnDc", CS_OWNDC);
    ASSERT_NE(nullptr, hWnd);
    CClientDC first(CWnd::FromHandle(hWnd));
    CClientDC second(CWnd::FromHandle(hWnd));
    EXPECT_EQ(first.m_hDC, second.m_hDC);
    // A plain owner would delete the window's own context: refused.
    CDC plain;
    EXPECT_FALSE(plain.Attach(first.m_hDC));
    ::DestroyWindow(hWnd);
}

TEST_F(DcTest, WindowContextsWithoutAWindowThrow) {
    EXPECT_TRUE(ThrowsResourceException([] { CPaintDC dc(nullptr); }));
    CWnd noWindow;
    EXPECT_TRUE(ThrowsResourceException([&] { CPaintDC dc(&noWindow); }));
    EXPECT_TRUE(ThrowsResourceException([&] { CClientDC dc(&noWindow); }));
    EXPECT_TRUE(ThrowsResourceException([&] { CWindowDC dc(&noWindow); }));
}
