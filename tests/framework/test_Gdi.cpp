// Tests of Gdi.h: the GDI object wrappers, their ownership and the handle maps.
#include "native/gtest.h"
#include "tests/support/Misuse.h"

#include "framework/AfxResource.h"
#include "framework/Dc.h"
#include "framework/Exception.h"
#include "framework/Gdi.h"
#include "framework/HandleMap.h"

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);

// A memory context over a 32-bit bitmap of w by h pixels, filled white.
class CCanvas {
public:
    CCanvas(int w, int h) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* pBits = nullptr;
        m_bitmap.Attach(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pBits, nullptr, 0));
        dc.CreateCompatibleDC(nullptr);
        m_pOldBitmap = dc.SelectObject(&m_bitmap);
        dc.FillSolidRect(0, 0, w, h, kWhite);
    }
    ~CCanvas() { dc.SelectObject(m_pOldBitmap); }

    CDC dc;

private:
    CBitmap m_bitmap;
    CBitmap* m_pOldBitmap;
};

// Runs f and tells whether it threw a CResourceException (which it deletes).
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

// The maps of the test's thread start empty for every test.
class GdiTest : public ::testing::Test {
protected:
    void TearDown() override { AfxDeleteTempGdiObjects(); }
};

} // namespace

// ---- ownership ------------------------------------------------------------------

TEST_F(GdiTest, EveryCreateCallMakesAnOwnedHandleThatDiesWithTheWrapper) {
    CBitmap pattern;
    ASSERT_TRUE(pattern.CreateBitmap(8, 8, 1, 1, nullptr));
    CCanvas canvas(4, 4);
    LOGPEN logPen = {PS_DASH, {1, 0}, RGB(1, 2, 3)};
    LOGBRUSH logBrush = {BS_SOLID, RGB(4, 5, 6), 0};
    LOGFONT logFont = {};
    logFont.lfHeight = -12;
    lstrcpy(logFont.lfFaceName, "Arial");
    BITMAP bitmapInfo = {0, 4, 4, 4, 1, 1, nullptr};
    const POINT triangle[] = {{0, 0}, {10, 0}, {0, 10}};
    struct {
        const char* name;
        DWORD kind;
        // Makes a wrapper, notes its handle's kind, answers the handle and destroys it.
        std::function<HGDIOBJ(DWORD&)> create;
    } cases[] = {
        {"pen", OBJ_PEN,
         [](DWORD& k) {
             CPen o;
             o.CreatePen(PS_SOLID, 2, kBlack);
             k = o.GetObjectType();
             return o.m_hObject;
         }},
        {"pen indirect", OBJ_PEN,
         [&](DWORD& k) {
             CPen o;
             o.CreatePenIndirect(&logPen);
             k = o.GetObjectType();
             return o.m_hObject;
         }},
        {"pen constructor", OBJ_PEN,
         [](DWORD& k) {
             CPen o(PS_SOLID, 1, kWhite);
             k = o.GetObjectType();
             return o.m_hObject;
         }},
        {"solid brush", OBJ_BRUSH,
         [](DWORD& k) {
             CBrush o;
             o.CreateSolidBrush(kBlack);
             k = o.GetObjectType();
             return o.m_hObject;
         }},
        {"hatch brush", OBJ_BRUSH,
         [](DWORD& k) {
             CBrush o;
             o.CreateHatchBrush(HS_CROSS, kBlack);
             k = o.GetObjectType();
             return o.m_hObject;
         }},
        {"pattern brush", OBJ_BRUSH,
         [&](DWORD& k) {
             CBrush o(&pattern);
             k = o.GetObjectType();
             return o.m_hObject;
         }},
        {"brush indirect", OBJ_BRUSH,
         [&](DWORD& k) {
             CBrush o;
             o.CreateBrushIndirect(&logBrush);
             k = o.GetObjectType();
             return o.m_hObject;
         }},
        {"font indirect", OBJ_FONT,
         [&](DWORD& k) {
             CFont o;
             o.CreateFontIndirect(&logFont);
             k = o.GetObjectType();
             return o.m_hObject;
         }},
        {"font", OBJ_FONT,
         [](DWORD& k) {
             CFont o;
             o.CreateFont(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "Tahoma");
             k = o.GetObjectType();
             return o.m_hObject;
         }},
        {"point font", OBJ_FONT,
         [](DWORD& k) {
             CFont o;
             o.CreatePointFont(80, "Marlett");
             k = o.GetObjectType();
             return o.m_hObject;
         }},
        {"bitmap", OBJ_BITMAP,
         [](DWORD& k) {
             CBitmap o;
             o.CreateBitmap(3, 3, 1, 32, nullptr);
             k = o.GetObjectType();
             return o.m_hObject;
         }},
        {"bitmap indirect", OBJ_BITMAP,
         [&](DWORD& k) {
             CBitmap o;
             o.CreateBitmapIndirect(&bitmapInfo);
             k = o.GetObjectType();
             return o.m_hObject;
         }},
        {"compatible bitmap", OBJ_BITMAP,
         [&](DWORD& k) {
             CBitmap o;
             o.CreateCompatibleBitmap(&canvas.dc, 5, 5);
             k = o.GetObjectType();
             return o.m_hObject;
         }},
        {"rect region", OBJ_REGION,
         [](DWORD& k) {
             CRgn o;
             o.CreateRectRgn(0, 0, 5, 5);
             k = o.GetObjectType();
             return o.m_hObject;
         }},
        {"round region", OBJ_REGION,
         [](DWORD& k) {
             CRgn o;
             o.CreateRoundRectRgn(0, 0, 9, 9, 4, 4);
             k = o.GetObjectType();
             return o.m_hObject;
         }},
        {"elliptic region", OBJ_REGION,
         [](DWORD& k) {
             CRgn o;
             o.CreateEllipticRgn(0, 0, 9, 9);
             k = o.GetObjectType();
             return o.m_hObject;
         }},
        {"polygon region", OBJ_REGION,
         [&](DWORD& k) {
             CRgn o;
             o.CreatePolygonRgn(triangle, 3, ALTERNATE);
             k = o.GetObjectType();
             return o.m_hObject;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DWORD kindWhileAlive = 0;
        HGDIOBJ h = c.create(kindWhileAlive);
        ASSERT_NE(nullptr, h);
        EXPECT_EQ(c.kind, kindWhileAlive);
        EXPECT_EQ(0u, ::GetObjectType(h));
    }
}

TEST_F(GdiTest, AttachOwnsDetachGivesBackAndDeleteObjectDeletesNow) {
    HBRUSH hKept = ::CreateSolidBrush(kBlack);
    {
        CBrush brush;
        ASSERT_TRUE(brush.Attach(hKept));
        EXPECT_EQ(hKept, brush.Detach());
        EXPECT_EQ(nullptr, brush.m_hObject);
    }
    EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), ::GetObjectType(hKept));

    HBRUSH hOwned = ::CreateSolidBrush(kBlack);
    {
        CBrush brush;
        ASSERT_TRUE(brush.Attach(hOwned));
    }
    EXPECT_EQ(0u, ::GetObjectType(hOwned));

    CBrush brush;
    ASSERT_TRUE(brush.Attach(hKept));
    EXPECT_TRUE(brush.DeleteObject());
    EXPECT_EQ(0u, ::GetObjectType(hKept));
    EXPECT_FALSE(brush.DeleteObject());
}

TEST_F(GdiTest, CreateAndAttachRefuseAHandleTheyCannotOwn) {
    CPen pen(PS_SOLID, 1, kBlack);
    HGDIOBJ hFirst = pen.m_hObject;
    // Creating again would lose the first handle.
    EXPECT_MISUSE_REFUSED(pen.CreatePen(PS_SOLID, 3, kWhite));
    EXPECT_EQ(hFirst, pen.m_hObject);

    // A second owner would delete the pen twice.
    CPen other;
    EXPECT_FALSE(other.Attach(hFirst));
    EXPECT_EQ(nullptr, other.m_hObject);

    // A wrapper takes only its own kind of object.
    CFont font;
    EXPECT_FALSE(font.Attach(hFirst));
    HBRUSH hBrush = ::CreateSolidBrush(kBlack);
    CPen penForBrush;
    EXPECT_FALSE(penForBrush.Attach(hBrush));
    EXPECT_FALSE(penForBrush.Attach(nullptr));
    EXPECT_FALSE(penForBrush.Attach(reinterpret_cast<HGDIOBJ>(static_cast<ULONG_PTR>(0x12345678))));
    ::DeleteObject(hBrush);

    // Stock objects and system-colour brushes are never really deleted, so any
    // number of wrappers may hold them.
    CBrush stock1, stock2, sys1, sys2;
    EXPECT_TRUE(stock1.Attach(::GetStockObject(GRAY_BRUSH)));
    EXPECT_TRUE(stock2.Attach(::GetStockObject(GRAY_BRUSH)));
    EXPECT_TRUE(sys1.CreateSysColorBrush(COLOR_WINDOW));
    EXPECT_TRUE(sys2.CreateSysColorBrush(COLOR_WINDOW));
}

TEST_F(GdiTest, ConstructorsThatCreateThrowWhenThePlatformRefuses) {
    CBitmap empty;
    EXPECT_TRUE(ThrowsResourceException([&] { CBrush brush(&empty); }));
    EXPECT_TRUE(
        ThrowsResourceException([] { CBrush brush(static_cast<const CBitmap*>(nullptr)); }));
    EXPECT_FALSE(ThrowsResourceException([] { CBrush brush(RGB(1, 2, 3)); }));
}

// ---- FromHandle and temporaries -------------------------------------------------

TEST_F(GdiTest, FromHandleAnswersTheOwnerElseAKeptTemporaryThatNeverDeletes) {
    CFont owned;
    ASSERT_TRUE(owned.CreatePointFont(90, "Arial"));
    EXPECT_EQ(&owned, CFont::FromHandle(owned));
    EXPECT_EQ(&owned, CGdiObject::FromHandle(owned.m_hObject));

    HPEN hLoose = ::CreatePen(PS_SOLID, 1, kBlack);
    CPen* pView = CPen::FromHandle(hLoose);
    ASSERT_NE(nullptr, pView);
    EXPECT_EQ(hLoose, pView->m_hObject);
    EXPECT_EQ(pView, CPen::FromHandle(hLoose));
    // The generic lookup finds the same temporary, of the pen kind.
    CGdiObject* pGeneric = CGdiObject::FromHandle(hLoose);
    EXPECT_EQ(pView, pGeneric);
    EXPECT_TRUE(pGeneric->IsKindOf(RUNTIME_CLASS(CPen)));

    AfxDeleteTempGdiObjects();
    EXPECT_EQ(static_cast<DWORD>(OBJ_PEN), ::GetObjectType(hLoose));
    EXPECT_EQ(&owned, CFont::FromHandle(owned)); // owners are not temporaries
    ::DeleteObject(hLoose);
}

TEST_F(GdiTest, FromHandleOfAnotherKindOrNoObjectIsNull) {
    CPen pen(PS_SOLID, 1, kBlack);
    EXPECT_EQ(nullptr, CBrush::FromHandle(reinterpret_cast<HBRUSH>(pen.m_hObject)));
    EXPECT_EQ(nullptr, CFont::FromHandle(nullptr));
    EXPECT_EQ(nullptr,
              CGdiObject::FromHandle(reinterpret_cast<HGDIOBJ>(static_cast<ULONG_PTR>(0x7654321))));
    // An owner of the base class is not handed out as a pen; a pen view is.
    CGdiObject base;
    HPEN hPen = ::CreatePen(PS_SOLID, 1, kBlack);
    ASSERT_TRUE(base.Attach(hPen));
    CPen* pPen = CPen::FromHandle(hPen);
    ASSERT_NE(nullptr, pPen);
    EXPECT_NE(static_cast<CGdiObject*>(pPen), &base);
    EXPECT_EQ(&base, CGdiObject::FromHandle(hPen));
}

TEST_F(GdiTest, ViewsBorrowAndADetachedOwnerIsNoLongerFound) {
    HBRUSH hBrush = ::CreateSolidBrush(kBlack);
    {
        CBrushHandle view(hBrush);
        EXPECT_EQ(hBrush, static_cast<HBRUSH>(view));
    }
    EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), ::GetObjectType(hBrush));

    CBrush owner;
    ASSERT_TRUE(owner.Attach(hBrush));
    EXPECT_EQ(&owner, CBrush::FromHandle(hBrush));
    owner.Detach();
    CBrush* pAfter = CBrush::FromHandle(hBrush);
    EXPECT_NE(&owner, pAfter);
    EXPECT_EQ(hBrush, pAfter->m_hObject);
    ::DeleteObject(hBrush);
}

namespace {

struct SThreadProbe {
    HPEN hPen;
    CPen* pMainView;
    CPen* pThreadView;
    HGDIOBJ hThreadViewHandle;
};

DWORD WINAPI ProbeFromOtherThread(LPVOID pParam) {
    auto* pProbe = static_cast<SThreadProbe*>(pParam);
    pProbe->pThreadView = CPen::FromHandle(pProbe->hPen);
    pProbe->hThreadViewHandle = pProbe->pThreadView->m_hObject;
    // The thread ends with its temporary still in its map.
    return 0;
}

} // namespace

TEST_F(GdiTest, EachThreadKeepsItsOwnTemporariesAndDropsThemWhenItEnds) {
    SThreadProbe probe = {::CreatePen(PS_SOLID, 1, kBlack), nullptr, nullptr, nullptr};
    probe.pMainView = CPen::FromHandle(probe.hPen);
    HANDLE hThread = ::CreateThread(nullptr, 0, &ProbeFromOtherThread, &probe, 0, nullptr);
    ASSERT_NE(nullptr, hThread);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(hThread, 10000));
    ::CloseHandle(hThread);
    EXPECT_NE(probe.pMainView, probe.pThreadView);
    EXPECT_EQ(probe.hPen, probe.hThreadViewHandle);
    EXPECT_EQ(probe.pMainView, CPen::FromHandle(probe.hPen));
    EXPECT_EQ(static_cast<DWORD>(OBJ_PEN), ::GetObjectType(probe.hPen));
    ::DeleteObject(probe.hPen);
}

// ---- the kinds ------------------------------------------------------------------

TEST_F(GdiTest, LogicalRecordsReadBackWhatWasCreated) {
    CPen pen(PS_DOT, 1, RGB(10, 20, 30));
    LOGPEN logPen = {};
    ASSERT_EQ(static_cast<int>(sizeof(LOGPEN)), pen.GetLogPen(&logPen));
    EXPECT_EQ(static_cast<UINT>(PS_DOT), logPen.lopnStyle);
    EXPECT_EQ(RGB(10, 20, 30), logPen.lopnColor);

    CBrush brush(HS_DIAGCROSS, RGB(1, 2, 3));
    LOGBRUSH logBrush = {};
    ASSERT_NE(0, brush.GetLogBrush(&logBrush));
    EXPECT_EQ(static_cast<UINT>(BS_HATCHED), logBrush.lbStyle);
    EXPECT_EQ(static_cast<ULONG_PTR>(HS_DIAGCROSS), logBrush.lbHatch);

    CFont font;
    ASSERT_TRUE(font.CreateFont(-15, 0, 900, 900, FW_BOLD, TRUE, FALSE, FALSE, DEFAULT_CHARSET, 0,
                                0, 0, FF_SWISS, "Tahoma BOLD"));
    LOGFONT logFont = {};
    ASSERT_NE(0, font.GetLogFont(&logFont));
    EXPECT_EQ(-15, logFont.lfHeight);
    EXPECT_EQ(900, logFont.lfEscapement);
    EXPECT_EQ(FW_BOLD, logFont.lfWeight);
    EXPECT_TRUE(logFont.lfItalic);
    EXPECT_STREQ("Tahoma BOLD", logFont.lfFaceName);

    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmap(7, 5, 1, 1, nullptr));
    BITMAP info = {};
    ASSERT_NE(0, bitmap.GetBitmap(&info));
    EXPECT_EQ(7, info.bmWidth);
    EXPECT_EQ(5, info.bmHeight);
    EXPECT_EQ(1, info.bmBitsPixel);

    CBitmap empty;
    EXPECT_EQ(0, empty.GetBitmap(&info));
    EXPECT_EQ(0u, empty.GetObjectType());
}

TEST_F(GdiTest, PointFontsConvertTenthsOfAPointThroughTheContext) {
    CCanvas canvas(1, 1);
    const int dpi = canvas.dc.GetDeviceCaps(LOGPIXELSY);
    ASSERT_GT(dpi, 0);
    struct {
        int tenths;
        int mapMode;
        int expectedHeight;
    } cases[] = {
        {80, MM_TEXT, -::MulDiv(dpi, 80, 720)},
        {100, MM_TEXT, -::MulDiv(dpi, 100, 720)},
        {85, MM_TEXT, -::MulDiv(dpi, 85, 720)},
        // Twips: 1440 logical units per inch, from the rounded device height.
        {100, MM_TWIPS, -::MulDiv(::MulDiv(dpi, 100, 720), 1440, dpi)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.tenths << " in map mode " << c.mapMode);
        canvas.dc.SetMapMode(c.mapMode);
        CFont font;
        ASSERT_TRUE(font.CreatePointFont(c.tenths, "Arial", &canvas.dc));
        LOGFONT logFont = {};
        font.GetLogFont(&logFont);
        EXPECT_NEAR(c.expectedHeight, logFont.lfHeight, 1);
        EXPECT_STREQ("Arial", logFont.lfFaceName);
    }
    canvas.dc.SetMapMode(MM_TEXT);
    CFont screenFont;
    ASSERT_TRUE(screenFont.CreatePointFont(100, "Arial"));
    LOGFONT logFont = {};
    screenFont.GetLogFont(&logFont);
    EXPECT_LT(logFont.lfHeight, 0);
}

TEST_F(GdiTest, RegionsCombineAndAnswerHitTests) {
    // Two overlapping squares: a (0,0)-(10,10) and b (5,5)-(15,15). Probe points:
    // only in a, in both, only in b, in neither.
    const POINT onlyA = {2, 2}, both = {7, 7}, onlyB = {12, 12}, neither = {20, 20};
    struct {
        int mode;
        bool inOnlyA, inBoth, inOnlyB;
    } cases[] = {
        {RGN_AND, false, true, false},  {RGN_OR, true, true, true},    {RGN_XOR, true, false, true},
        {RGN_DIFF, true, false, false}, {RGN_COPY, true, true, false},
    };
    CRgn a, b;
    ASSERT_TRUE(a.CreateRectRgn(0, 0, 10, 10));
    ASSERT_TRUE(b.CreateRectRgn(5, 5, 15, 15));
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode);
        CRgn result;
        ASSERT_TRUE(result.CreateRectRgn(0, 0, 0, 0));
        EXPECT_NE(ERROR, result.CombineRgn(&a, c.mode == RGN_COPY ? nullptr : &b, c.mode));
        EXPECT_EQ(c.inOnlyA, !!result.PtInRegion(onlyA));
        EXPECT_EQ(c.inBoth, !!result.PtInRegion(both));
        EXPECT_EQ(c.inOnlyB, !!result.PtInRegion(onlyB));
        EXPECT_FALSE(result.PtInRegion(neither));
    }

    CRgn none;
    EXPECT_EQ(ERROR, none.CombineRgn(&a, &b, RGN_OR)); // the target must exist
    CRgn target;
    ASSERT_TRUE(target.CreateRectRgn(0, 0, 1, 1));
    EXPECT_EQ(ERROR, target.CombineRgn(nullptr, &b, RGN_OR));
    EXPECT_EQ(ERROR, target.CombineRgn(&a, nullptr, RGN_OR));
    EXPECT_EQ(ERROR, target.CombineRgn(&a, &none, RGN_AND));
    EXPECT_FALSE(none.PtInRegion(0, 0));
    EXPECT_EQ(ERROR, none.OffsetRgn(1, 1));
}

TEST_F(GdiTest, RegionGeometryOperations) {
    CRgn rgn;
    RECT rect = {2, 3, 12, 8};
    ASSERT_TRUE(rgn.CreateRectRgnIndirect(&rect));
    RECT box = {};
    EXPECT_EQ(SIMPLEREGION, rgn.GetRgnBox(&box));
    EXPECT_TRUE(::EqualRect(&rect, &box));

    EXPECT_EQ(SIMPLEREGION, rgn.OffsetRgn(POINT{10, 1}));
    rgn.GetRgnBox(&box);
    EXPECT_EQ(12, box.left);
    EXPECT_EQ(4, box.top);
    RECT inside = {13, 5, 14, 6}, outside = {0, 0, 3, 3};
    EXPECT_TRUE(rgn.RectInRegion(&inside));
    EXPECT_FALSE(rgn.RectInRegion(&outside));

    CRgn copy;
    ASSERT_TRUE(copy.CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(SIMPLEREGION, copy.CopyRgn(&rgn));
    EXPECT_TRUE(copy.EqualRgn(&rgn));
    EXPECT_TRUE(copy.SetRectRgn(0, 0, 1, 1));
    EXPECT_FALSE(copy.EqualRgn(&rgn));

    // A rounded rectangle leaves its corners out.
    CRgn round;
    ASSERT_TRUE(round.CreateRoundRectRgn(0, 0, 20, 20, 10, 10));
    EXPECT_FALSE(round.PtInRegion(0, 0));
    EXPECT_TRUE(round.PtInRegion(10, 10));
    EXPECT_TRUE(round.PtInRegion(10, 0));
}

TEST_F(GdiTest, PatternBrushRepeatsItsBitmap) {
    // A 2 by 2 checker of black and white; a monochrome pattern paints 0 bits in
    // the text colour and 1 bits in the background colour.
    const BYTE rows[] = {0x40, 0, 0x80, 0}; // word-aligned rows: 01, 10
    CBitmap checker;
    ASSERT_TRUE(checker.CreateBitmap(2, 2, 1, 1, rows));
    CBrush brush(&checker);
    CCanvas canvas(4, 4);
    canvas.dc.SetTextColor(kBlack);
    canvas.dc.SetBkColor(kWhite);
    RECT all = {0, 0, 4, 4};
    canvas.dc.FillRect(&all, &brush);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            SCOPED_TRACE(testing::Message() << x << "," << y);
            EXPECT_EQ((x + y) % 2 == 0 ? kBlack : kWhite, canvas.dc.GetPixel(x, y));
        }
}

TEST_F(GdiTest, PalettesReportTheirEntries) {
    struct {
        WORD version;
        WORD count;
        PALETTEENTRY entries[3];
    } palette = {0x300, 3, {{255, 0, 0, 0}, {0, 255, 0, 0}, {0, 0, 255, 0}}};
    CPalette owned;
    ASSERT_TRUE(owned.CreatePalette(reinterpret_cast<LOGPALETTE*>(&palette)));
    EXPECT_EQ(3, owned.GetEntryCount());
    CPalette* pDefault =
        CPalette::FromHandle(static_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE)));
    ASSERT_NE(nullptr, pDefault);
    EXPECT_GT(pDefault->GetEntryCount(), 0);
    EXPECT_FALSE(owned.CreatePalette(nullptr));
}

TEST_F(GdiTest, BitmapsLoadFromTheResourceHandle) {
    // Resource 101 of this program: 4 by 2 pixels, top row red, green, blue, white.
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadBitmap(101));
    BITMAP info = {};
    bitmap.GetBitmap(&info);
    EXPECT_EQ(4, info.bmWidth);
    EXPECT_EQ(2, info.bmHeight);
    CCanvas canvas(4, 2);
    CDC source;
    ASSERT_TRUE(source.CreateCompatibleDC(&canvas.dc));
    CBitmap* pOld = source.SelectObject(&bitmap);
    canvas.dc.BitBlt(0, 0, 4, 2, &source, 0, 0, SRCCOPY);
    source.SelectObject(pOld);
    EXPECT_EQ(RGB(255, 0, 0), canvas.dc.GetPixel(0, 0));
    EXPECT_EQ(RGB(0, 255, 0), canvas.dc.GetPixel(1, 0));
    EXPECT_EQ(RGB(0, 0, 255), canvas.dc.GetPixel(2, 0));
    EXPECT_EQ(kBlack, canvas.dc.GetPixel(0, 1));

    CBitmap missing;
    EXPECT_FALSE(missing.LoadBitmap(999));
    EXPECT_EQ(nullptr, missing.m_hObject);
    EXPECT_FALSE(missing.LoadBitmap(static_cast<LPCTSTR>(nullptr)));

    // A resource library without the bitmap: loading follows the handle.
    HMODULE hUser32 = ::GetModuleHandle("user32.dll");
    AfxSetResourceHandle(hUser32);
    EXPECT_FALSE(missing.LoadBitmap(101));
    AfxSetResourceHandle(nullptr);
    EXPECT_TRUE(missing.LoadBitmap(101));
}
