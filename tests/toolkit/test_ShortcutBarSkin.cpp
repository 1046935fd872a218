// Tests of the shortcut-bar skins of the three families: their default
// colours, the frames of list items, the backgrounds of the bar and its lists,
// the group headers in their states with the drop marker of a header drag,
// and the 2003 title band. Drawing goes into memory bitmaps and is read back
// pixel by pixel; the bar's state (expanded, hot, pressed, dragged and
// drop-target groups) is set directly by a test bar, so each state is drawn
// exactly as the table names it. One test paints a whole bar on the screen
// and keeps it as a picture.
#include "native/gtest.h"

#include "toolkit/OXSHBListCtrl.h"
#include "toolkit/OXShortcutBar.h"
#include "toolkit/OXShortcutBarSkin.h"
#include "toolkit/OXSkinnedApp.h"
#include "toolkit/OXSkins.h"
#include "tests/support/ColorCheck.h"
#include "tests/support/Canvas.h"
#include "tests/support/UiScript.h"
#include "framework/ImageList.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

COXSkinnedApp theApp;

const COLORREF kUnpainted = RGB(1, 2, 3); // a colour no skin draws here
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kImageMask = RGB(255, 0, 255);
const COLORREF kImage0 = RGB(0, 160, 0);
const COLORREF kImage1 = RGB(160, 0, 160);

// A header colour of the tests and its tints and complement, worked out by hand:
// light +64 and dark -128 per channel, clamped.
const COLORREF kHeader = RGB(100, 150, 200);
const COLORREF kHeaderLight = RGB(164, 214, 255);
const COLORREF kHeaderDark = RGB(0, 22, 72);
const COLORREF kHeaderInverted = RGB(155, 105, 55);
const COLORREF kInvertedLight = RGB(219, 169, 119);
const COLORREF kInvertedDark = RGB(27, 0, 0);

const int kBarWidth = 200;
const int kBarHeight = 300;
const int kClassicHeader = 18;
const int k2003Header = 32;
const UINT kBarID = 7565;

COLORREF Sys(int nIndex) {
    return ::GetSysColor(nIndex);
}

COXSkin* UseSkin(const char* pszName) {
    EXPECT_TRUE(theApp.SetCurrentSkin(pszName)) << pszName;
    return theApp.GetCurrentSkin();
}

COXShortcutBarSkin* BarSkin(const char* pszName) {
    return UseSkin(pszName)->GetShortcutBarSkin();
}

COXSkin2003* Skin2003() {
    return dynamic_cast<COXSkin2003*>(UseSkin("Office 2003"));
}

// Pixels of one colour in a canvas region.
int CountColor(CCanvas& canvas, COLORREF color, const CRect& rect) {
    return canvas.Count(color, rect);
}

// The pixels of rect in two canvases that differ.
int CountDifferences(CCanvas& a, CCanvas& b, const CRect& rect) {
    int n = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (a.dc.GetPixel(x, y) != b.dc.GetPixel(x, y))
                ++n;
    return n;
}

// The first row (from the top) of rect that holds a pixel of color; -1 when none.
int FirstRowOf(CCanvas& canvas, COLORREF color, const CRect& rect) {
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (canvas.dc.GetPixel(x, y) == color)
                return y;
    return -1;
}

// The first column (from the left) of rect that holds a pixel of color; -1 when none.
int FirstColumnOf(CCanvas& canvas, COLORREF color, const CRect& rect) {
    for (int x = rect.left; x < rect.right; ++x)
        for (int y = rect.top; y < rect.bottom; ++y)
            if (canvas.dc.GetPixel(x, y) == color)
                return x;
    return -1;
}

// The parent of the bars: a plain popup that answers every notification with 0.
class CHostWnd : public CWnd {
public:
    BOOL Make(BOOL bVisible) {
        return CreateEx(0, AfxRegisterWndClass(0), "host",
                        WS_POPUP | WS_CLIPCHILDREN | (bVisible ? WS_VISIBLE : 0), 40, 40,
                        kBarWidth + 40, kBarHeight + 40, nullptr, nullptr);
    }
};

// A bar whose drawing state a test sets directly.
class CSkinTestBar : public COXShortcutBar {
public:
    void SetExpanded(HSHBGROUP hGroup) { m_hExpandedGroup = hGroup; }
    void SetHot(HSHBGROUP hGroup) { m_hHotGroup = hGroup; }
    void SetPressed(HSHBGROUP hGroup) { m_hPressedGroup = hGroup; }
    void SetDragged(HSHBGROUP hGroup) { m_hDragGroup = hGroup; }
    void SetDropTarget(HSHBGROUP hGroup) { m_hDropTargetGroup = hGroup; }
    void SetDrawingDragImage(BOOL bDrawing) { m_bDrawingDragImage = bDrawing; }
};

// Two 16x16 images: 0 green, 1 purple.
BOOL MakeHeaderImages(CImageList& images) {
    if (!images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 0))
        return FALSE;
    CCanvas strip(32, 16, kImage0);
    strip.dc.FillSolidRect(16, 0, 16, 16, kImage1);
    strip.Release();
    return images.Add(&strip.bitmap, kImageMask) == 0;
}

// A bar of three groups "Mail", "Calendar", "Contacts" (orders 0, 1, 2) whose
// contents are plain child windows, with the two header images.
class ShortcutBarSkinTest : public ::testing::Test {
protected:
    void SetUp() override { Build(FALSE); }
    void TearDown() override {
        m_pBar.reset();
        if (m_host.GetSafeHwnd() != nullptr)
            m_host.DestroyWindow();
        theApp.SetCurrentSkin("Office XP");
        PumpPending();
    }

    void Build(BOOL bVisible, DWORD dwBarStyle = 0) {
        theApp.m_pMainWnd = nullptr; // skin switches redraw nothing
        ASSERT_TRUE(m_host.Make(bVisible));
        m_pBar = std::make_unique<CSkinTestBar>();
        ASSERT_TRUE(
            m_pBar->Create(&m_host, CRect(0, 0, kBarWidth, kBarHeight), dwBarStyle, kBarID));
        ASSERT_TRUE(MakeHeaderImages(m_images));
        m_pBar->SetGroupImageList(&m_images);
        const char* texts[] = {"Mail", "Calendar", "Contacts"};
        for (const char* pszText : texts) {
            m_children.emplace_back(std::make_unique<CWnd>());
            ASSERT_TRUE(m_children.back()->Create("STATIC", "", WS_CHILD, CRect(0, 0, 10, 10),
                                                  m_pBar.get(), 100 + (UINT)m_groups.size()));
            SHB_GROUPINFO info;
            info.nMask = SHBIF_TEXT | SHBIF_CHILDWND;
            info.pszText = const_cast<LPTSTR>(pszText);
            info.nTextMax = (int)strlen(pszText);
            info.hwndChild = m_children.back()->GetSafeHwnd();
            HSHBGROUP hGroup = m_pBar->InsertGroup(&info);
            ASSERT_NE(nullptr, hGroup) << pszText;
            m_groups.push_back(hGroup);
        }
    }

    void SetHeaderColor(HSHBGROUP hGroup, COLORREF clr) {
        SHB_DESCRIPTOR descriptor;
        descriptor.nMask = SHBDM_CLRHEADERBACK;
        descriptor.clrHeaderBackground = clr;
        ASSERT_TRUE(m_pBar->SetGroupDescriptor(hGroup, &descriptor));
    }

    // The record the bar paints a header with: a bitmap of the header's size.
    DRAWITEMSTRUCT ItemFor(HSHBGROUP hGroup, CCanvas& canvas, int nWidth, int nHeight) {
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = 0;
        dis.CtlID = kBarID;
        dis.itemID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(hGroup));
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = ODS_DEFAULT;
        dis.hwndItem = m_pBar->GetSafeHwnd();
        dis.hDC = canvas.dc.GetSafeHdc();
        dis.rcItem = CRect(0, 0, nWidth, nHeight);
        dis.itemData = reinterpret_cast<ULONG_PTR>(hGroup);
        return dis;
    }
    void DrawHeader(COXShortcutBarSkin* pSkin, HSHBGROUP hGroup, CCanvas& canvas, int nWidth,
                    int nHeight) {
        DRAWITEMSTRUCT dis = ItemFor(hGroup, canvas, nWidth, nHeight);
        pSkin->DrawGroupHeader(&dis, m_pBar.get());
    }

    // The header font of a group, raised to bold as the skins raise it.
    CFont* MakeHeaderFont(HSHBGROUP hGroup, BOOL bBold, CFont& font) {
        LOGFONT lf;
        EXPECT_TRUE(m_pBar->GetGroupHeaderTextFont(hGroup, &lf));
        if (bBold)
            lf.lfWeight = std::min((lf.lfWeight == 0 ? 400 : (int)lf.lfWeight) + 300, 1000);
        EXPECT_TRUE(font.CreateFontIndirect(&lf));
        return &font;
    }

    CHostWnd m_host;
    std::unique_ptr<CSkinTestBar> m_pBar;
    CImageList m_images;
    std::vector<std::unique_ptr<CWnd>> m_children; // owned by the test, children of the bar
    std::vector<HSHBGROUP> m_groups;
};

// ---- default colours and the colour shift

TEST(ShortcutBarSkinColors, DefaultColorsOfEachFamily) {
    COXSkinXP* pXP = dynamic_cast<COXSkinXP*>(UseSkin("Office XP"));
    ASSERT_NE(nullptr, pXP);
    struct Case {
        const char* pszSkin;
        COLORREF background, text;
    } cases[] = {
        {"Classic", Sys(COLOR_BTNSHADOW), Sys(COLOR_CAPTIONTEXT)},
        {"Office XP", pXP->GetBarColor(), Sys(COLOR_WINDOWTEXT)},
        {"Office 2003", Skin2003()->GetBarColor(), Sys(COLOR_WINDOWTEXT)},
    };
    for (const Case& c : cases) {
        COXShortcutBarSkin* pSkin = BarSkin(c.pszSkin);
        EXPECT_EQ(Hex(c.background), Hex(pSkin->GetBackgroundColor(nullptr))) << c.pszSkin;
        EXPECT_EQ(Hex(c.text), Hex(pSkin->GetTextColor(nullptr))) << c.pszSkin;
    }
    // The Classic element skin a bar makes for itself outside a skinned
    // application answers the same.
    COXShortcutBarSkinClassic classic;
    EXPECT_EQ(Hex(Sys(COLOR_BTNSHADOW)), Hex(classic.GetBackgroundColor(nullptr)));
}

TEST(ShortcutBarSkinColors, ShiftColorAddsToEachChannelAndClamps) {
    struct Case {
        COLORREF color;
        int nAmount;
        COLORREF expected;
    } cases[] = {
        {RGB(250, 10, 128), 64, RGB(255, 74, 192)},
        {RGB(250, 10, 128), -128, RGB(122, 0, 0)},
        {RGB(0, 0, 0), 64, RGB(64, 64, 64)},
        {RGB(255, 255, 255), -128, RGB(127, 127, 127)},
        {RGB(191, 192, 255), 64, RGB(255, 255, 255)},
        {RGB(7, 8, 9), 0, RGB(7, 8, 9)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Hex(c.expected), Hex(COXShortcutBarSkinClassic::ShiftColor(c.color, c.nAmount)))
            << Hex(c.color) << " by " << c.nAmount;
}

// ---- item frames

TEST(ShortcutBarSkinItemFrame, ClassicFramesAreTintedFromTheListBackground) {
    COXShortcutBarSkin* pSkin = BarSkin("Classic");
    // A list on its own with a background colour of its own, and no list at
    // all (the skin's default background).
    CHostWnd host;
    ASSERT_TRUE(host.Make(FALSE));
    COXSHBListCtrl list;
    ASSERT_TRUE(list.Create(WS_CHILD | LVS_ICON, CRect(0, 0, 100, 100), &host, 1));
    list.SetBkColor(kHeader);
    const COLORREF shadow = Sys(COLOR_BTNSHADOW);
    struct Tints {
        COXSHBListCtrl* pList;
        COLORREF light, dark;
    } tints[] = {
        {&list, kHeaderLight, kHeaderDark},
        {nullptr, COXShortcutBarSkinClassic::ShiftColor(shadow, 64),
         COXShortcutBarSkinClassic::ShiftColor(shadow, -128)},
    };
    struct Case {
        BOOL bHot, bPressed;
        int nLook; // 0 nothing, 1 raised, 2 sunken
    } cases[] = {
        {FALSE, FALSE, 0},
        {TRUE, FALSE, 1},
        {TRUE, TRUE, 2},
        {FALSE, TRUE, 2},
    };
    const CRect rect(10, 10, 50, 40);
    for (const Tints& t : tints)
        for (const Case& c : cases) {
            CCanvas canvas(60, 50, kUnpainted);
            pSkin->DrawItemFrame(&canvas.dc, rect, c.bHot, c.bPressed, t.pList);
            const COLORREF topLeft = canvas.dc.GetPixel(20, 10);
            const COLORREF bottomRight = canvas.dc.GetPixel(20, 39);
            SCOPED_TRACE(testing::Message() << "hot " << c.bHot << " pressed " << c.bPressed
                                            << " list " << (t.pList != nullptr));
            if (c.nLook == 0) {
                EXPECT_EQ(60 * 50, CountColor(canvas, kUnpainted, CRect(0, 0, 60, 50)));
                continue;
            }
            EXPECT_EQ(Hex(c.nLook == 1 ? t.light : t.dark), Hex(topLeft));
            EXPECT_EQ(Hex(c.nLook == 1 ? t.dark : t.light), Hex(bottomRight));
            EXPECT_EQ(Hex(canvas.dc.GetPixel(10, 20)), Hex(topLeft));     // left edge
            EXPECT_EQ(Hex(canvas.dc.GetPixel(49, 20)), Hex(bottomRight)); // right edge
            // Only the frame: the inside and the outside stay.
            EXPECT_EQ(Hex(kUnpainted), Hex(canvas.dc.GetPixel(20, 20)));
            EXPECT_EQ(Hex(kUnpainted), Hex(canvas.dc.GetPixel(5, 5)));
        }
}

TEST(ShortcutBarSkinItemFrame, FlatFamiliesFrameInTheBorderColorAndFillByState) {
    const char* skins[] = {"Office XP", "Office 2003"};
    for (const char* pszSkin : skins) {
        COXSkinXP* pXP = dynamic_cast<COXSkinXP*>(UseSkin(pszSkin));
        ASSERT_NE(nullptr, pXP);
        COXShortcutBarSkin* pSkin = pXP->GetShortcutBarSkin();
        const COLORREF current = RGB(9, 99, 199); // the brush the context holds already
        struct Case {
            BOOL bHot, bPressed;
            COLORREF fill;
        } cases[] = {
            {TRUE, TRUE, pXP->GetPressedColor()},
            {TRUE, FALSE, pXP->GetHotColor()},
            {FALSE, TRUE, pXP->GetCheckedColor()},
            {FALSE, FALSE, current},
        };
        for (const Case& c : cases) {
            CCanvas canvas(60, 50, kUnpainted);
            CBrush brush;
            ASSERT_TRUE(brush.CreateSolidBrush(current));
            CScopedSelect selectBrush(canvas.dc, &brush);
            pSkin->DrawItemFrame(&canvas.dc, CRect(10, 10, 50, 40), c.bHot, c.bPressed, nullptr);
            SCOPED_TRACE(testing::Message()
                         << pszSkin << " hot " << c.bHot << " pressed " << c.bPressed);
            const COLORREF border = pXP->GetBorderColor();
            EXPECT_EQ(Hex(border), Hex(canvas.dc.GetPixel(20, 10)));
            EXPECT_EQ(Hex(border), Hex(canvas.dc.GetPixel(10, 20)));
            EXPECT_EQ(Hex(border), Hex(canvas.dc.GetPixel(49, 20)));
            EXPECT_EQ(Hex(border), Hex(canvas.dc.GetPixel(20, 39)));
            EXPECT_EQ(Hex(c.fill), Hex(canvas.dc.GetPixel(30, 25)));
            EXPECT_EQ(Hex(kUnpainted), Hex(canvas.dc.GetPixel(50, 40)));
            // The context keeps its own brush afterwards.
            EXPECT_EQ(brush.GetSafeHandle(), ::GetCurrentObject(canvas.dc, OBJ_BRUSH));
        }
    }
}

// ---- backgrounds

TEST(ShortcutBarSkinBackground, ClassicAndXPFillListsFromTheirOriginAndOtherWindowsInPlace) {
    COXSHBListCtrl list; // no window: only its class counts
    CWnd other;
    const CRect rect(20, 10, 50, 30);
    struct Case {
        const char* pszSkin;
        CWnd* pWnd;
        BOOL bUseColor;
        CRect filled;
    } cases[] = {
        {"Classic", &list, FALSE, CRect(0, 0, 30, 20)},
        {"Classic", &other, FALSE, rect},
        {"Classic", nullptr, TRUE, rect},
        {"Office XP", &list, TRUE, CRect(0, 0, 30, 20)},
        {"Office XP", nullptr, FALSE, rect},
    };
    const COLORREF given = RGB(12, 34, 56);
    for (const Case& c : cases) {
        COXShortcutBarSkin* pSkin = BarSkin(c.pszSkin);
        const COLORREF expected = c.bUseColor ? given : pSkin->GetBackgroundColor(c.pWnd);
        CCanvas canvas(80, 60, kUnpainted);
        pSkin->FillBackground(&canvas.dc, rect, c.pWnd, c.bUseColor, given);
        SCOPED_TRACE(testing::Message()
                     << c.pszSkin << " window " << c.pWnd << " use colour " << c.bUseColor);
        EXPECT_EQ(c.filled.Width() * c.filled.Height(), CountColor(canvas, expected, c.filled));
        EXPECT_EQ(80 * 60 - c.filled.Width() * c.filled.Height(),
                  CountColor(canvas, kUnpainted, CRect(0, 0, 80, 60)));
    }
}

TEST(ShortcutBarSkinBackground, Office2003FillsOtherWindowsWithTheCornerGradient) {
    COXSkin2003* pSkin = Skin2003();
    COXShortcutBarSkin* pBarSkin = pSkin->GetShortcutBarSkin();
    const CRect rect(10, 5, 150, 205);
    const COLORREF light = pSkin->GetShortcutBarLightColor();
    const COLORREF dark = pSkin->GetShortcutBarDarkColor();

    CCanvas actual(160, 210, kUnpainted);
    pBarSkin->FillBackground(&actual.dc, rect, nullptr, FALSE, 0);
    // Light at the top-left corner, dark at the three others.
    CCanvas expected(160, 210, kUnpainted);
    pSkin->FillCornerGradient(&expected.dc, rect, light, dark, dark, dark);
    EXPECT_EQ(0, CountDifferences(actual, expected, CRect(0, 0, 160, 210)));
    EXPECT_TRUE(Near(actual.dc.GetPixel(10, 5), light, 8)) << Hex(actual.dc.GetPixel(10, 5));
    EXPECT_TRUE(Near(actual.dc.GetPixel(149, 204), dark, 8)) << Hex(actual.dc.GetPixel(149, 204));
    EXPECT_EQ(Hex(kUnpainted), Hex(actual.dc.GetPixel(5, 2)));

    // The given colour instead, over the rectangle alone.
    CCanvas solid(160, 210, kUnpainted);
    pBarSkin->FillBackground(&solid.dc, rect, nullptr, TRUE, RGB(12, 34, 56));
    EXPECT_EQ(rect.Width() * rect.Height(), CountColor(solid, RGB(12, 34, 56), rect));
}

// A list of the bar: the bar's own gradient, seen through the list's window,
// continues into the list and into each item bitmap the list paints.
TEST_F(ShortcutBarSkinTest, Office2003ListBackgroundContinuesTheBarGradient) {
    COXSkin2003* pSkin = Skin2003();
    COXShortcutBarSkin* pBarSkin = pSkin->GetShortcutBarSkin();
    SHB_GROUPINFO info;
    info.nMask = SHBIF_TEXT;
    info.pszText = const_cast<LPTSTR>("Lists");
    info.nTextMax = 5;
    const HSHBGROUP hGroup = m_pBar->InsertGroup(&info);
    ASSERT_NE(nullptr, hGroup);
    COXSHBListCtrl* pList = m_pBar->GetGroupListCtrl(hGroup);
    ASSERT_NE(nullptr, pList);
    ASSERT_EQ(m_pBar.get(), pList->GetShortcutBar());
    const CRect rectList(5, 30, 195, 180);
    ASSERT_TRUE(::MoveWindow(pList->GetSafeHwnd(), rectList.left, rectList.top, rectList.Width(),
                             rectList.Height(), FALSE));

    CCanvas bar(kBarWidth, kBarHeight, kUnpainted);
    pBarSkin->FillBackground(&bar.dc, CRect(0, 0, kBarWidth, kBarHeight), m_pBar.get(), FALSE, 0);
    // The whole list, and one item of it painted into a bitmap of its own.
    struct Case {
        CRect rect; // list client coordinates
    } cases[] = {{CRect(0, 0, rectList.Width(), rectList.Height())}, {CRect(10, 20, 60, 50)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "rect " << c.rect.left << "," << c.rect.top);
        CCanvas list(c.rect.Width(), c.rect.Height(), kUnpainted);
        pBarSkin->FillBackground(&list.dc, c.rect, pList, FALSE, 0);
        EXPECT_EQ(0, CountColor(list, kUnpainted, CRect(0, 0, c.rect.Width(), c.rect.Height())));
        int nFar = 0;
        for (int y = 0; y < c.rect.Height(); y += 7)
            for (int x = 0; x < c.rect.Width(); x += 7) {
                const COLORREF inBar =
                    bar.dc.GetPixel(rectList.left + c.rect.left + x, rectList.top + c.rect.top + y);
                if (!Near(list.dc.GetPixel(x, y), inBar, 2))
                    ++nFar;
            }
        EXPECT_EQ(0, nFar);
    }
    // The bar's gradient really changes across the list.
    EXPECT_FALSE(Near(bar.dc.GetPixel(rectList.left, rectList.top),
                      bar.dc.GetPixel(rectList.right - 1, rectList.bottom - 1), 4));

    // With a colour of the group's own, the item bitmap is that colour.
    CCanvas solid(50, 30, kUnpainted);
    pBarSkin->FillBackground(&solid.dc, CRect(10, 20, 60, 50), pList, TRUE, RGB(12, 34, 56));
    EXPECT_EQ(50 * 30, CountColor(solid, RGB(12, 34, 56), CRect(0, 0, 50, 30)));
}

// ---- headers: Classic and Office XP

struct FrameCase {
    const char* pszName;
    DWORD dwStyle;
    int nHot, nPressed, nDragged; // group positions, -1 for none
    BOOL bDragImage;
    COLORREF outerTopLeft, outerBottomRight, innerTopLeft, innerBottomRight, fill;
};

TEST_F(ShortcutBarSkinTest, ClassicAndXPHeaderFramesFollowTheState) {
    const COLORREF C = kHeader, L = kHeaderLight, D = kHeaderDark;
    const DWORD kButtons = SHBS_BUTTONHEADERS;
    const FrameCase cases[] = {
        {"double raised without button headers", 0, -1, -1, -1, FALSE, L, D, L, D, C},
        {"hot without button headers", 0, 0, -1, -1, FALSE, L, D, L, D, C},
        {"pressed without button headers", 0, 0, 0, -1, FALSE, L, D, L, D, C},
        {"normal", kButtons, -1, -1, -1, FALSE, L, D, C, C, C},
        {"hot: raised, one flat ring", kButtons, 0, -1, -1, FALSE, L, D, C, D, C},
        {"pressed and hot: sunken", kButtons, 0, 0, -1, FALSE, D, C, D, L, C},
        {"pressed, mouse elsewhere", kButtons, 1, 0, -1, FALSE, L, D, C, D, C},
        {"hot while another is pressed", kButtons, 0, 1, -1, FALSE, L, D, C, C, C},
        {"drawn as drag image", kButtons, 0, -1, -1, TRUE, L, D, C, C, C},
        {"dragged: complemented and flat", kButtons, 0, -1, 0, FALSE, kInvertedLight, kInvertedDark,
         kHeaderInverted, kHeaderInverted, kHeaderInverted},
        {"dragged without button headers", 0, -1, -1, 0, FALSE, kInvertedLight, kInvertedDark,
         kInvertedLight, kInvertedDark, kHeaderInverted},
    };
    const HSHBGROUP hGroup = m_groups[0];
    SetHeaderColor(hGroup, kHeader);
    auto at = [this](int n) { return n < 0 ? nullptr : m_groups[n]; };
    const char* skins[] = {"Classic", "Office XP"};
    for (const char* pszSkin : skins) {
        COXShortcutBarSkin* pSkin = BarSkin(pszSkin);
        for (const FrameCase& c : cases) {
            SCOPED_TRACE(testing::Message() << pszSkin << ": " << c.pszName);
            ASSERT_TRUE(m_pBar->SetBarStyle(c.dwStyle));
            m_pBar->SetHot(at(c.nHot));
            m_pBar->SetPressed(at(c.nPressed));
            m_pBar->SetDragged(at(c.nDragged));
            m_pBar->SetDrawingDragImage(c.bDragImage);
            CCanvas canvas(kBarWidth, kClassicHeader, kUnpainted);
            DrawHeader(pSkin, hGroup, canvas, kBarWidth, kClassicHeader);
            const int h = kClassicHeader;
            EXPECT_EQ(Hex(c.outerTopLeft), Hex(canvas.dc.GetPixel(10, 0)));
            EXPECT_EQ(Hex(c.outerTopLeft), Hex(canvas.dc.GetPixel(0, 8)));
            EXPECT_EQ(Hex(c.outerBottomRight), Hex(canvas.dc.GetPixel(10, h - 1)));
            EXPECT_EQ(Hex(c.outerBottomRight), Hex(canvas.dc.GetPixel(kBarWidth - 1, 8)));
            EXPECT_EQ(Hex(c.innerTopLeft), Hex(canvas.dc.GetPixel(10, 1)));
            EXPECT_EQ(Hex(c.innerTopLeft), Hex(canvas.dc.GetPixel(1, 8)));
            EXPECT_EQ(Hex(c.innerBottomRight), Hex(canvas.dc.GetPixel(10, h - 2)));
            EXPECT_EQ(Hex(c.innerBottomRight), Hex(canvas.dc.GetPixel(kBarWidth - 2, 8)));
            EXPECT_EQ(Hex(c.fill), Hex(canvas.dc.GetPixel(10, h / 2)));
            EXPECT_EQ(0, CountColor(canvas, kUnpainted, CRect(0, 0, kBarWidth, h)));
        }
    }
}

TEST_F(ShortcutBarSkinTest, DraggedHeaderShowsComplementedTextAndNoDropMarker) {
    COXShortcutBarSkin* pSkin = BarSkin("Classic");
    SetHeaderColor(m_groups[1], kHeader);
    m_pBar->SetDragged(m_groups[1]);
    m_pBar->SetDropTarget(m_groups[1]);
    CCanvas canvas(kBarWidth, kClassicHeader, kUnpainted);
    DrawHeader(pSkin, m_groups[1], canvas, kBarWidth, kClassicHeader);
    const CRect all(0, 0, kBarWidth, kClassicHeader);
    EXPECT_EQ(0, CountColor(canvas, kRed, all));
    EXPECT_EQ(0, CountColor(canvas, kBlue, all));
    const COLORREF text = m_pBar->GetGroupHeaderTextColor(m_groups[1]);
    const COLORREF inverted =
        RGB(255 - GetRValue(text), 255 - GetGValue(text), 255 - GetBValue(text));
    EXPECT_GT(CountColor(canvas, inverted, all), 10) << Hex(inverted);
    EXPECT_EQ(0, CountColor(canvas, text, all)) << Hex(text);
}

TEST_F(ShortcutBarSkinTest, DropMarkerIsRedUnlessTheHeaderIsCloseToRed) {
    // The mean channel difference from red in whole numbers: 194 / 3 is 64
    // (close), 195 / 3 is 65 (not close).
    // Group 1 keeps the button face; group 2 gets each colour in turn.
    struct Case {
        int nTarget;
        COLORREF header;
        COLORREF marker;
    } cases[] = {
        {1, 0, kRed},
        {2, kHeader, kRed},
        {2, RGB(200, 40, 40), kBlue},
        {2, RGB(61, 0, 0), kBlue},
        {2, RGB(60, 0, 0), kRed},
        {2, RGB(255, 0, 0), kBlue},
    };
    const char* skins[] = {"Classic", "Office XP", "Office 2003"};
    for (const char* pszSkin : skins) {
        COXShortcutBarSkin* pSkin = BarSkin(pszSkin);
        const int h = pSkin->GetSkinType() == OX_SKIN_2003 ? k2003Header : kClassicHeader;
        for (const Case& c : cases) {
            const HSHBGROUP hTarget = m_groups[c.nTarget];
            SCOPED_TRACE(testing::Message() << pszSkin << " header " << Hex(c.header));
            if (c.nTarget == 2)
                SetHeaderColor(hTarget, c.header);
            m_pBar->SetDragged(m_groups[0]);
            m_pBar->SetDropTarget(hTarget);
            CCanvas canvas(kBarWidth, h, kUnpainted);
            DrawHeader(pSkin, hTarget, canvas, kBarWidth, h);
            // The frame round the whole header.
            EXPECT_EQ(Hex(c.marker), Hex(canvas.dc.GetPixel(30, 0)));
            EXPECT_EQ(Hex(c.marker), Hex(canvas.dc.GetPixel(0, h / 2)));
            EXPECT_EQ(Hex(c.marker), Hex(canvas.dc.GetPixel(kBarWidth - 1, h / 2)));
            EXPECT_EQ(Hex(c.marker), Hex(canvas.dc.GetPixel(30, h - 1)));
            // No marker without a dragged header.
            m_pBar->SetDragged(nullptr);
            CCanvas plain(kBarWidth, h, kUnpainted);
            DrawHeader(pSkin, hTarget, plain, kBarWidth, h);
            EXPECT_NE(Hex(c.marker), Hex(plain.dc.GetPixel(30, 0)));
        }
    }
}

TEST_F(ShortcutBarSkinTest, DropMarkerArrowsPointTheWayTheHeaderMoves) {
    SetHeaderColor(m_groups[1], kHeader);
    // The arrow box is the header less 4 pixels; each arrow's tip is 3 pixels
    // in from its corner, its head 7 pixels wide 3 rows from the tip.
    const int w = kBarWidth, h = kClassicHeader;
    const int left = 4, right = w - 4, top = 4, bottom = h - 4;
    struct Case {
        int nDragged;
        BOOL bUp;
    } cases[] = {
        {2, TRUE},  // dragged upwards over group 1
        {0, FALSE}, // dragged downwards over group 1
    };
    COXShortcutBarSkin* pSkin = BarSkin("Classic");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bUp ? "up" : "down");
        m_pBar->SetDragged(m_groups[c.nDragged]);
        m_pBar->SetDropTarget(m_groups[1]);
        CCanvas canvas(w, h, kUnpainted);
        DrawHeader(pSkin, m_groups[1], canvas, w, h);
        const int tipRow = c.bUp ? top : bottom;
        const int otherRow = c.bUp ? bottom : top;
        const int headRow = c.bUp ? top + 3 : bottom - 3;
        const int stemRow = c.bUp ? top + 8 : bottom - 8;
        // Both tips, mirrored about the box's right edge.
        EXPECT_EQ(Hex(kRed), Hex(canvas.dc.GetPixel(left + 3, tipRow)));
        EXPECT_EQ(Hex(kRed), Hex(canvas.dc.GetPixel(right - 3, tipRow)));
        EXPECT_EQ(Hex(kHeader), Hex(canvas.dc.GetPixel(left + 4, tipRow)));
        EXPECT_EQ(Hex(kHeader), Hex(canvas.dc.GetPixel(left + 3, otherRow)));
        EXPECT_EQ(Hex(kHeader), Hex(canvas.dc.GetPixel(right - 3, otherRow)));
        // The head's widest row, seven pixels on each side.
        EXPECT_EQ(7, CountColor(canvas, kRed, CRect(left - 1, headRow, left + 9, headRow + 1)));
        EXPECT_EQ(7, CountColor(canvas, kRed, CRect(right - 8, headRow, right + 2, headRow + 1)));
        // The stem: three pixels wide.
        EXPECT_EQ(3, CountColor(canvas, kRed, CRect(left, stemRow, left + 8, stemRow + 1)));
        EXPECT_EQ(3, CountColor(canvas, kRed, CRect(right - 7, stemRow, right + 1, stemRow + 1)));
    }
}

// ---- headers: Office 2003

TEST_F(ShortcutBarSkinTest, Office2003HeaderGradientsByState) {
    COXSkin2003* pSkin = Skin2003();
    COXShortcutBarSkin* pBarSkin = pSkin->GetShortcutBarSkin();
    const COLORREF light = pSkin->GetShortcutBarLightColor();
    const COLORREF dark = pSkin->GetShortcutBarDarkColor();
    struct Case {
        const char* pszName;
        BOOL bExpanded, bHot;
        COLORREF top, bottom;
    } cases[] = {
        {"expanded and hot", TRUE, TRUE, RGB(238, 149, 21), light},
        {"expanded", TRUE, FALSE, light, RGB(238, 149, 21)},
        {"hot", FALSE, TRUE, light, RGB(247, 192, 91)},
        {"other", FALSE, FALSE, light, dark},
    };
    const int w = kBarWidth, h = k2003Header;
    // Right of the text, which the header starts at the left.
    const CRect band(w - 40, 0, w, h - 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        m_pBar->SetExpanded(c.bExpanded ? m_groups[0] : m_groups[1]);
        m_pBar->SetHot(c.bHot ? m_groups[0] : nullptr);
        CCanvas actual(w, h, kUnpainted);
        DrawHeader(pBarSkin, m_groups[0], actual, w, h);
        CCanvas expected(w, h, kUnpainted);
        pSkin->FillCornerGradient(&expected.dc, CRect(0, 0, w, h), c.top, c.top, c.bottom,
                                  c.bottom);
        EXPECT_EQ(0, CountDifferences(actual, expected, band));
        EXPECT_TRUE(Near(actual.dc.GetPixel(w - 5, 0), c.top, 8))
            << Hex(actual.dc.GetPixel(w - 5, 0));
        EXPECT_TRUE(Near(actual.dc.GetPixel(w - 5, h - 2), c.bottom, 16))
            << Hex(actual.dc.GetPixel(w - 5, h - 2));
        // The bottom line across the whole width.
        EXPECT_EQ(w, CountColor(actual, RGB(0, 45, 150), CRect(0, h - 1, w, h)));
    }
}

TEST_F(ShortcutBarSkinTest, Office2003HeaderTextIsBoldAtTheTopSixPixelsAfterTheImage) {
    COXShortcutBarSkin* pSkin = BarSkin("Office 2003");
    const HSHBGROUP hGroup = m_groups[0];
    ASSERT_TRUE(m_pBar->SetGroupImage(hGroup, 0));
    m_pBar->SetExpanded(m_groups[1]);
    const int w = kBarWidth, h = k2003Header;
    CCanvas actual(w, h, kUnpainted);
    DrawHeader(pSkin, hGroup, actual, w, h);
    const COLORREF text = m_pBar->GetGroupHeaderTextColor(hGroup);

    // The image at (6, 6), 16 pixels wide.
    EXPECT_EQ(16 * 16, CountColor(actual, kImage0, CRect(6, 6, 22, 22)));
    EXPECT_EQ(16 * 16, CountColor(actual, kImage0, CRect(0, 0, w, h)));

    // The text: from x = 6 + 16 + 6, top-aligned at y = 6, bold; drawn again
    // alone with each font, only the bold one leaves the same ink.
    auto reference = [&](BOOL bBold, UINT nFormat, CCanvas& canvas) {
        CFont font;
        CScopedSelect selectFont(canvas.dc, MakeHeaderFont(hGroup, bBold, font));
        canvas.dc.SetBkMode(TRANSPARENT);
        canvas.dc.SetTextColor(text);
        CRect rect(28, 6, w + 6, h + 6);
        canvas.dc.DrawText(CString("Mail"), &rect, nFormat);
    };
    // On white, so that the edges the font smooths never count as ink.
    CCanvas bold(w, h, kWhite), normal(w, h, kWhite), centred(w, h, kWhite);
    reference(TRUE, DT_VCENTER, bold);
    reference(FALSE, DT_VCENTER, normal);
    reference(TRUE, DT_VCENTER | DT_SINGLELINE, centred);
    const CRect textArea(22, 0, w, h - 1);
    const int nInk = CountColor(bold, text, textArea);
    ASSERT_GT(nInk, 20);
    EXPECT_EQ(nInk, CountColor(actual, text, textArea));
    EXPECT_EQ(FirstColumnOf(bold, text, textArea), FirstColumnOf(actual, text, textArea));
    EXPECT_EQ(FirstRowOf(bold, text, textArea), FirstRowOf(actual, text, textArea));
    EXPECT_LT(CountColor(normal, text, textArea), nInk);
    EXPECT_GE(FirstColumnOf(actual, text, textArea), 28);
    // Not centred: a centred line would start lower.
    EXPECT_LT(FirstRowOf(actual, text, textArea), FirstRowOf(centred, text, textArea));
}

// ---- image and text of a header

TEST_F(ShortcutBarSkinTest, HeaderImageIsTheExpandedImageWhileExpanded) {
    COXShortcutBarSkin* pSkin = BarSkin("Classic");
    const HSHBGROUP hGroup = m_groups[0];
    ASSERT_TRUE(m_pBar->SetGroupImage(hGroup, 0));
    ASSERT_TRUE(m_pBar->SetGroupImageExpanded(hGroup, 1));
    ASSERT_TRUE(m_pBar->SetGroupImage(m_groups[1], 1)); // no expanded image: falls back
    struct Case {
        HSHBGROUP hGroup;
        BOOL bExpanded;
        COLORREF image;
    } cases[] = {
        {m_groups[0], FALSE, kImage0},
        {m_groups[0], TRUE, kImage1},
        {m_groups[1], TRUE, kImage1},
    };
    for (const Case& c : cases) {
        m_pBar->SetExpanded(c.bExpanded ? c.hGroup : nullptr);
        CCanvas canvas(40, 40, kUnpainted);
        EXPECT_EQ(16, pSkin->DrawHeaderImage(c.hGroup, m_pBar.get(), &canvas.dc, 3, 5));
        EXPECT_EQ(16 * 16, CountColor(canvas, c.image, CRect(3, 5, 19, 21))) << Hex(c.image);
        EXPECT_EQ(40 * 40 - 16 * 16, CountColor(canvas, kUnpainted, CRect(0, 0, 40, 40)));
    }

    // No image, or no image list: nothing drawn, no room taken.
    CCanvas canvas(40, 40, kUnpainted);
    EXPECT_EQ(0, pSkin->DrawHeaderImage(m_groups[2], m_pBar.get(), &canvas.dc, 3, 5));
    m_pBar->SetGroupImageList(nullptr);
    EXPECT_EQ(0, pSkin->DrawHeaderImage(m_groups[0], m_pBar.get(), &canvas.dc, 3, 5));
    EXPECT_EQ(40 * 40, CountColor(canvas, kUnpainted, CRect(0, 0, 40, 40)));
}

TEST_F(ShortcutBarSkinTest, HeaderTextBoldForTheExpandedGroupWithTheStyleAndSkippedWhenEmpty) {
    COXShortcutBarSkin* pSkin = BarSkin("Classic");
    const HSHBGROUP hGroup = m_groups[1];
    const COLORREF text = m_pBar->GetGroupHeaderTextColor(hGroup);
    const CRect rect(0, 0, 150, 20);
    const UINT nFormat = DT_LEFT | DT_TOP | DT_SINGLELINE;
    auto ink = [&](BOOL bBold) {
        CCanvas canvas(150, 20, kWhite); // smoothed edges are never the text colour
        pSkin->DrawHeaderText(hGroup, m_pBar.get(), &canvas.dc, rect, nFormat, bBold);
        return CountColor(canvas, text, rect);
    };
    m_pBar->SetExpanded(hGroup);
    ASSERT_TRUE(m_pBar->SetBarStyle(0));
    const int nNormal = ink(FALSE);
    const int nBold = ink(TRUE);
    ASSERT_GT(nNormal, 10);
    EXPECT_GT(nBold, nNormal);
    ASSERT_TRUE(m_pBar->SetBarStyle(SHBS_BOLDEXPANDEDGROUP));
    EXPECT_EQ(nBold, ink(FALSE));
    m_pBar->SetExpanded(m_groups[0]);
    EXPECT_EQ(nNormal, ink(FALSE));

    // An empty rectangle or text draws nothing.
    CCanvas canvas(150, 20, kUnpainted);
    pSkin->DrawHeaderText(hGroup, m_pBar.get(), &canvas.dc, CRect(50, 0, 50, 20), nFormat, FALSE);
    ASSERT_TRUE(m_pBar->SetGroupText(m_groups[2], ""));
    pSkin->DrawHeaderText(m_groups[2], m_pBar.get(), &canvas.dc, rect, nFormat, FALSE);
    EXPECT_EQ(150 * 20, CountColor(canvas, kUnpainted, rect));
}

// ---- the 2003 title band

TEST_F(ShortcutBarSkinTest, Office2003TitleBandShowsTheExpandedGroupAtTheTopAndIsClippedOut) {
    COXSkin2003* pSkin = Skin2003();
    COXShortcutBarSkin* pBarSkin = pSkin->GetShortcutBarSkin();
    const HSHBGROUP hGroup = m_groups[1];
    m_pBar->SetExpanded(hGroup);
    const int w = kBarWidth, h = kBarHeight;
    const CRect band(0, 0, w, 25);

    CCanvas actual(w, h, kUnpainted);
    pBarSkin->DrawTitleBand(m_pBar.get(), &actual.dc);
    // Clipped out afterwards: a fill of everything leaves the band.
    actual.dc.FillSolidRect(0, 0, w, h, RGB(7, 7, 7));
    EXPECT_EQ(w * (h - 25), CountColor(actual, RGB(7, 7, 7), CRect(0, 25, w, h)));
    EXPECT_EQ(0, CountColor(actual, RGB(7, 7, 7), band));

    // The gradient from (85, 131, 211) to (3, 56, 147), the text in 22-pixel
    // bold white type from (6, 2), not centred.
    auto reference = [&](UINT nFormat, CCanvas& canvas) {
        pSkin->FillCornerGradient(&canvas.dc, band, RGB(85, 131, 211), RGB(85, 131, 211),
                                  RGB(3, 56, 147), RGB(3, 56, 147));
        LOGFONT lf;
        ASSERT_TRUE(m_pBar->GetGroupHeaderTextFont(hGroup, &lf));
        lf.lfHeight = 22;
        lf.lfWeight = 700;
        CFont font;
        ASSERT_TRUE(font.CreateFontIndirect(&lf));
        CScopedSelect selectFont(canvas.dc, &font);
        canvas.dc.SetBkMode(TRANSPARENT);
        canvas.dc.SetTextColor(kWhite);
        CRect rect(6, 2, w + 6, 27);
        canvas.dc.DrawText(CString("Calendar"), &rect, nFormat);
    };
    CCanvas expected(w, h, kUnpainted), centred(w, h, kUnpainted);
    reference(DT_VCENTER, expected);
    reference(DT_VCENTER | DT_SINGLELINE, centred);
    EXPECT_EQ(0, CountDifferences(actual, expected, band));
    EXPECT_GT(CountColor(actual, kWhite, band), 50);
    EXPECT_NE(0, CountDifferences(actual, centred, band));
    EXPECT_GE(FirstRowOf(actual, kWhite, band), 2);
    EXPECT_TRUE(Near(actual.dc.GetPixel(w - 3, 0), RGB(85, 131, 211), 8))
        << Hex(actual.dc.GetPixel(w - 3, 0));
    EXPECT_TRUE(Near(actual.dc.GetPixel(w - 3, 24), RGB(3, 56, 147), 8))
        << Hex(actual.dc.GetPixel(w - 3, 24));

    // Without an expanded group the band has no text.
    m_pBar->SetExpanded(nullptr);
    CCanvas empty(w, h, kUnpainted);
    pBarSkin->DrawTitleBand(m_pBar.get(), &empty.dc);
    EXPECT_EQ(0, CountColor(empty, kWhite, band));
    EXPECT_EQ(0, CountColor(empty, kUnpainted, band));

    // The other families draw no band and clip nothing.
    const char* skins[] = {"Classic", "Office XP"};
    for (const char* pszSkin : skins) {
        CCanvas none(w, h, kUnpainted);
        BarSkin(pszSkin)->DrawTitleBand(m_pBar.get(), &none.dc);
        none.dc.FillSolidRect(0, 0, w, h, RGB(7, 7, 7));
        EXPECT_EQ(w * h, CountColor(none, RGB(7, 7, 7), CRect(0, 0, w, h))) << pszSkin;
    }
}

// ---- a whole bar on the screen

// Three groups of lists under "Office 2003", the second expanded, painted by
// the bar itself and kept as a picture.
TEST_F(ShortcutBarSkinTest, Office2003BarWithThreeGroupsScreen) {
    m_pBar.reset();
    m_host.DestroyWindow();
    m_groups.clear();
    m_children.clear();
    UseSkin("Office 2003");
    ASSERT_TRUE(m_host.Make(TRUE));
    m_pBar = std::make_unique<CSkinTestBar>();
    ASSERT_TRUE(m_pBar->Create(&m_host, CRect(0, 0, kBarWidth, kBarHeight), 0, kBarID));
    m_pBar->SetGroupImageList(&m_images);
    const char* texts[] = {"Mail", "Calendar", "Contacts"};
    for (const char* pszText : texts) {
        SHB_GROUPINFO info;
        info.nMask = SHBIF_TEXT | SHBIF_IMAGE;
        info.pszText = const_cast<LPTSTR>(pszText);
        info.nTextMax = (int)strlen(pszText);
        info.nImage = (int)m_groups.size() % 2;
        m_groups.push_back(m_pBar->InsertGroup(&info));
        ASSERT_NE(nullptr, m_groups.back()) << pszText;
    }
    COXSHBListCtrl* pList = m_pBar->GetGroupListCtrl(m_groups[1]);
    ASSERT_NE(nullptr, pList);
    pList->InsertItem(0, "Today");
    pList->InsertItem(1, "This week");
    m_pBar->ExpandGroup(m_groups[1]);
    m_pBar->UpdateBar();
    Settle();

    CRect rectBar;
    m_pBar->GetWindowRect(&rectBar);
    EXPECT_TRUE(SaveScreenPng(rectBar, "ShortcutBarSkin_Office2003.png"));
    CCanvas screen(kBarWidth, kBarHeight, kUnpainted);
    CaptureScreen(screen, rectBar);

    // The title band at the top; the three headers stacked at the bottom,
    // each with its bottom line, the expanded one ending in orange.
    EXPECT_TRUE(Near(screen.dc.GetPixel(kBarWidth - 3, 0), RGB(85, 131, 211), 8))
        << Hex(screen.dc.GetPixel(kBarWidth - 3, 0));
    EXPECT_GT(CountColor(screen, kWhite, CRect(0, 0, kBarWidth, 25)), 50);
    const int nFirstHeader = kBarHeight - 3 * k2003Header;
    for (int i = 1; i <= 3; ++i) {
        const int y = nFirstHeader + i * k2003Header - 1;
        EXPECT_EQ(kBarWidth, CountColor(screen, RGB(0, 45, 150), CRect(0, y, kBarWidth, y + 1)))
            << "header " << i;
    }
    const COLORREF expandedBottom =
        screen.dc.GetPixel(kBarWidth - 5, nFirstHeader + 2 * k2003Header - 2);
    EXPECT_TRUE(Near(expandedBottom, RGB(238, 149, 21), 16)) << Hex(expandedBottom);
}

} // namespace
