// Tests of the menu skins of the three families: the item layout, item drawing
// read back at pixels whose colours the skins fix, the shadow of popup windows
// (recorded once, replayed on repaint), and owner-drawn popups shown on the
// screen in each family, kept as PNG files.
#include "native/gtest.h"

#include "BitmapMenuFixture.h"

#include "toolkit/OXBitmapMenu.h"
#include "toolkit/OXMenuSkin.h"
#include "toolkit/OXSkinnedApp.h"
#include "toolkit/OXShdWnd.h"
#include "toolkit/OXSkins.h"

#include "framework/Dc.h"
#include "framework/FrameWnd.h"
#include "framework/WinApp.h"

#include "tests/support/ColorCheck.h"
#include "tests/support/Canvas.h"
#include "tests/support/UiScript.h"

#include <windows.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

COXSkinnedApp theApp;

COXMenuSkin* UseSkin(const char* pszName) {
    EXPECT_TRUE(theApp.SetCurrentSkin(pszName)) << pszName;
    return COXBitmapMenu::GetMenuSkin();
}

std::string FileName(const char* pszPrefix, const char* pszSkin) {
    std::string name = pszPrefix;
    for (const char* p = pszSkin; *p; ++p)
        name += (*p == ' ') ? '_' : *p;
    return name + ".png";
}

COLORREF Sys(int nIndex) {
    return ::GetSysColor(nIndex);
}

const COLORREF kUnpainted = RGB(1, 2, 3); // a colour no skin draws

// ---------------------------------------------------------------------------
// Metrics and layout

struct MetricsCase {
    const char* pszSkin;
    OXMENUMETRICS metrics;
};

class MenuMetricsTest : public ::testing::TestWithParam<MetricsCase> {};

TEST_P(MenuMetricsTest, FamilyHasItsMetrics) {
    const MetricsCase& c = GetParam();
    const OXMENUMETRICS* p = UseSkin(c.pszSkin)->GetMenuMetrics();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->LeftMargin, c.metrics.LeftMargin);
    EXPECT_EQ(p->ImageTextGap, c.metrics.ImageTextGap);
    EXPECT_EQ(p->TextShortcutGap, c.metrics.TextShortcutGap);
    EXPECT_EQ(p->RightMargin, c.metrics.RightMargin);
    EXPECT_EQ(p->TextPadding, c.metrics.TextPadding);
    EXPECT_EQ(p->ImagePadding, c.metrics.ImagePadding);
    EXPECT_EQ(p->SeparatorHeight, c.metrics.SeparatorHeight);
    EXPECT_EQ(p->MinImageWidth, c.metrics.MinImageWidth);
    EXPECT_EQ(p->BarItemExtra, c.metrics.BarItemExtra);
    if (c.metrics.MarginExtra != 0) {
        EXPECT_EQ(p->MarginExtra, c.metrics.MarginExtra);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Families, MenuMetricsTest,
    ::testing::Values(MetricsCase{"Classic", {2, 0, 8, 2, 3, 4, 3, 8, 0, 12}},
                      MetricsCase{"Office XP", {3, 5, 15, 12, 6, 10, 4, 3, 16, 16}},
                      MetricsCase{"Office 2003", {3, 5, 15, 12, 6, 10, 4, 3, 16, 16}}));

// The item rectangle every layout case uses: Wine's popups start their items
// 3 pixels into the client area.
const CRect kItem(3, 3, 203, 26);

struct LayoutCase {
    const char* pszSkin;
    bool bDefaultImage;
    int nLeftMargin, nImageTextGap, nRightMargin;
    bool bFlatColumn; // the XP column: from the item's left, W + 5 wide
};

class CalcItemRectsTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(CalcItemRectsTest, LaysOutColumnTextAndShortcut) {
    const LayoutCase& c = GetParam();
    COXMenuSkin* pSkin = UseSkin(c.pszSkin);
    CBitmapMenuFixture f;
    f.Add(1001, "&Open\tCtrl+O", c.bDefaultImage ? &f.m_imageDefault : &f.m_imagePlain);
    f.Add(1002, "Long item text", &f.m_imagePlain);
    f.m_pMenu->CalcExtents();
    COXBitmapMenu* pMenu = f.m_pMenu.get();
    const int W = pMenu->GetImageWidth();
    const int TW = pMenu->GetTextWidth();
    const int SW = pMenu->GetShortcutWidth();
    const int TH = pMenu->GetTextHeight();
    ASSERT_GT(TW, 0);
    ASSERT_GT(SW, 0);

    COXImageInfo* pImage = c.bDefaultImage ? &f.m_imageDefault : &f.m_imagePlain;
    const CSize sizeImage = pImage->GetImageSize();
    CRect rectButton, rectImage, rectText, rectShortcut;
    pSkin->CalcItemRects(0, pImage, kItem, rectButton, rectImage, rectText, rectShortcut, pMenu);

    CRect expectImage(kItem.TopLeft(), sizeImage);
    expectImage.OffsetRect(c.nLeftMargin, (kItem.Height() - sizeImage.cy) / 2);
    CRect expectButton;
    if (c.bFlatColumn) {
        expectButton.SetRect(kItem.left + 1, kItem.top + 1, kItem.left + W + 5, kItem.bottom - 1);
        if (c.bDefaultImage)
            expectImage.OffsetRect((expectButton.Width() - sizeImage.cx) / 2 - 1, 0);
    } else {
        expectButton = expectImage;
        expectButton.InflateRect(2, 2);
    }
    EXPECT_EQ(rectImage, expectImage);
    EXPECT_EQ(rectButton, expectButton);

    const int nInset = (kItem.Height() - TH) / 2;
    const CRect expectText(kItem.left + c.nLeftMargin + W + c.nImageTextGap, kItem.top + nInset,
                           kItem.left + c.nLeftMargin + W + c.nImageTextGap + TW,
                           kItem.bottom - nInset);
    EXPECT_EQ(rectText, expectText);
    const int nRight = kItem.right - c.nRightMargin;
    const int nShift = (nRight - SW - expectText.right) / 2;
    EXPECT_EQ(rectShortcut,
              CRect(nRight - SW - nShift, expectText.top, nRight - nShift, expectText.bottom));
}

INSTANTIATE_TEST_SUITE_P(Families, CalcItemRectsTest,
                         ::testing::Values(LayoutCase{"Classic", false, 2, 8, 3, false},
                                           LayoutCase{"Classic", true, 2, 8, 3, false},
                                           LayoutCase{"Office XP", false, 3, 15, 6, true},
                                           LayoutCase{"Office XP", true, 3, 15, 6, true},
                                           LayoutCase{"Office 2003", true, 3, 15, 6, true}));

TEST(MenuSkinTest, NoImageRecordLeavesTheColumnEmpty) {
    for (const char* pszSkin : {"Classic", "Office XP"}) {
        COXMenuSkin* pSkin = UseSkin(pszSkin);
        CBitmapMenuFixture f;
        f.Add(1001, "Text", &f.m_imagePlain);
        f.m_pMenu->CalcExtents();
        CRect rectButton(1, 1, 2, 2), rectImage(1, 1, 2, 2), rectText, rectShortcut;
        pSkin->CalcItemRects(0, nullptr, kItem, rectButton, rectImage, rectText, rectShortcut,
                             f.m_pMenu.get());
        EXPECT_TRUE(rectButton.IsRectEmpty()) << pszSkin;
        EXPECT_TRUE(rectImage.IsRectEmpty()) << pszSkin;
        EXPECT_FALSE(rectText.IsRectEmpty()) << pszSkin;
    }
}

// ---------------------------------------------------------------------------
// Item drawing

// One item drawn at kItem on a canvas, with the rectangles its skin gave it.
class DrawnItem {
public:
    DrawnItem(const char* pszSkin, const char* pszText, bool bDefaultImage, UINT nState,
              UINT nMenuState = MF_ENABLED)
        : canvas(240, 40, kUnpainted) {
        COXMenuSkin* pSkin = UseSkin(pszSkin);
        f.Add(1001, pszText, bDefaultImage ? &f.m_imageDefault : &f.m_imagePlain);
        f.Add(1002, "A wider second item", &f.m_imagePlain);
        f.m_pMenu->EnableMenuItem(1001, nMenuState);
        f.m_pMenu->CalcExtents();
        pSkin->CalcItemRects(nState, f.InfoAt(0)->GetImageInfo(), kItem, rectButton, rectImage,
                             rectText, rectShortcut, f.m_pMenu.get());
        f.Draw(canvas.dc, 0, kItem, nState);
    }
    COLORREF At(int x, int y) { return canvas.dc.GetPixel(x, y); }
    int Count(COLORREF color, const CRect& rect) { return canvas.Count(color, rect); }

    CBitmapMenuFixture f;
    CCanvas canvas;
    CRect rectButton, rectImage, rectText, rectShortcut;
};

TEST(MenuSkinDrawTest, ClassicSelectedTextTurnsToHighlightText) {
    DrawnItem item("Classic", "Selected", false, ODS_SELECTED);
    EXPECT_GT(item.Count(Sys(COLOR_HIGHLIGHTTEXT), item.rectText), 0);
    EXPECT_EQ(item.Count(Sys(COLOR_MENUTEXT), item.rectText), 0);
    // The text part lies on the highlight, one row short of the item's bottom.
    EXPECT_EQ(item.At(kItem.right - 2, kItem.top), Sys(COLOR_HIGHLIGHT));
    EXPECT_EQ(item.At(kItem.right - 2, kItem.bottom - 1), kUnpainted);
}

TEST(MenuSkinDrawTest, XPSelectedTextKeepsMenuTextOnTheHotColour) {
    for (const char* pszSkin : {"Office XP", "Office 2003"}) {
        DrawnItem item(pszSkin, "Selected", false, ODS_SELECTED);
        COXSkinXP* pSkin = dynamic_cast<COXSkinXP*>(theApp.GetCurrentSkin());
        ASSERT_NE(pSkin, nullptr);
        EXPECT_GT(item.Count(Sys(COLOR_MENUTEXT), item.rectText), 0) << pszSkin;
        EXPECT_EQ(item.Count(Sys(COLOR_HIGHLIGHTTEXT), item.rectText), 0) << pszSkin;
        // A hot rectangle framed in the border colour.
        EXPECT_EQ(item.At(kItem.left, kItem.top + 5), pSkin->GetBorderColor()) << pszSkin;
        EXPECT_EQ(item.At(kItem.right - 2, kItem.top + 2), pSkin->GetHotColor()) << pszSkin;
    }
}

TEST(MenuSkinDrawTest, DisabledTextColourPerFamily) {
    DrawnItem classic("Classic", "Disabled", false, ODS_DISABLED | ODS_GRAYED, MF_GRAYED);
    // Embossed: no plain menu-text pixels.
    EXPECT_EQ(classic.Count(Sys(COLOR_MENUTEXT), classic.rectText), 0);
    DrawnItem xp("Office XP", "Disabled", false, ODS_DISABLED | ODS_GRAYED, MF_GRAYED);
    COXSkinXP* pSkin = dynamic_cast<COXSkinXP*>(theApp.GetCurrentSkin());
    ASSERT_NE(pSkin, nullptr);
    EXPECT_GT(xp.Count(pSkin->GetMenuDisabledTextColor(), xp.rectText), 0);
    EXPECT_EQ(xp.Count(Sys(COLOR_MENUTEXT), xp.rectText), 0);
}

TEST(MenuSkinDrawTest, ClassicDefaultImageShowsOnlyWhenCheckedInASunkenEdge) {
    DrawnItem unchecked("Classic", "Plain", true, 0);
    EXPECT_EQ(unchecked.Count(Sys(COLOR_MENUTEXT), unchecked.rectImage), 0);
    EXPECT_EQ(unchecked.At(unchecked.rectButton.left, unchecked.rectButton.top), Sys(COLOR_MENU));

    DrawnItem checked("Classic", "Checked", true, ODS_CHECKED);
    EXPECT_GT(checked.Count(RGB(0, 0, 0), checked.rectImage), 0) << "no check mark";
    const CRect& b = checked.rectButton;
    EXPECT_EQ(checked.At(b.left, b.top + 3), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(checked.At(b.left + 3, b.top), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(checked.At(b.right - 1, b.top + 3), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(checked.At(b.left + 3, b.bottom - 1), Sys(COLOR_BTNHIGHLIGHT));
}

TEST(MenuSkinDrawTest, SelectedItemShowsTheHotImage) {
    for (const char* pszSkin : {"Classic", "Office 2003"}) {
        DrawnItem normal(pszSkin, "Image", false, 0);
        // The plain record has no hot image; the open one has.
        EXPECT_GT(normal.Count(kImageColor, normal.rectImage), 0) << pszSkin;
        CCanvas canvas(240, 40, kUnpainted);
        CBitmapMenuFixture f;
        f.Add(1001, "Hot", &f.m_imageOpen);
        f.m_pMenu->CalcExtents();
        f.Draw(canvas.dc, 0, kItem, ODS_SELECTED);
        EXPECT_GT(canvas.Count(kHotImageColor, kItem), 0) << pszSkin;
        EXPECT_EQ(canvas.Count(kImageColor, kItem), 0) << pszSkin;
    }
}

TEST(MenuSkinDrawTest, XPImageStripAndRarelyUsedStrip) {
    DrawnItem item("Office XP", "Normal", false, 0);
    COXSkinXP* pSkin = dynamic_cast<COXSkinXP*>(theApp.GetCurrentSkin());
    ASSERT_NE(pSkin, nullptr);
    const int nStripRight = kItem.left + 3 + item.f.m_pMenu->GetImageWidth() + 5;
    EXPECT_EQ(item.At(kItem.left, kItem.top + 1), pSkin->GetBarColor());
    EXPECT_EQ(item.At(nStripRight - 1, kItem.top + 1), pSkin->GetBarColor());
    EXPECT_EQ(item.At(nStripRight, kItem.top + 1), pSkin->GetMenuColor());

    DrawnItem rare("Office XP", "Rare", false, OXODS_HIDDEN);
    EXPECT_EQ(rare.At(kItem.left, kItem.top + 1),
              COXSkinXP::ShiftColor(Sys(COLOR_BTNFACE), -8, -8, -8));
}

TEST(MenuSkinDrawTest, Office2003StripIsAGradientFromLightToDark) {
    DrawnItem item("Office 2003", "Normal", false, 0);
    COXSkin2003* pSkin = dynamic_cast<COXSkin2003*>(theApp.GetCurrentSkin());
    ASSERT_NE(pSkin, nullptr);
    const int nStripRight = kItem.left + 3 + item.f.m_pMenu->GetImageWidth() + 5;
    const COLORREF crLight = pSkin->GetMenuLightColor();
    const COLORREF crDark = pSkin->GetMenuDarkColor();
    // From 2 pixels left of the item.
    EXPECT_TRUE(Near(item.At(kItem.left - 2, kItem.top + 1), crLight, 2));
    EXPECT_EQ(item.At(kItem.left - 3, kItem.top + 1), kUnpainted);
    EXPECT_TRUE(Near(item.At(nStripRight - 1, kItem.top + 1), crDark, 16));
    EXPECT_NE(item.At(kItem.left - 2, kItem.top + 1), item.At(nStripRight - 1, kItem.top + 1));
}

TEST(MenuSkinDrawTest, SeparatorsPerFamily) {
    CBitmapMenuFixture f;
    f.Add(1001, "Item", &f.m_imagePlain);
    f.AddSeparator();
    f.m_pMenu->CalcExtents();
    {
        UseSkin("Classic");
        CCanvas canvas(240, 40, kUnpainted);
        const CRect rect(3, 3, 203, 11);
        f.Draw(canvas.dc, 1, rect, 0);
        const int y = rect.top + rect.Height() / 2 - 1;
        EXPECT_EQ(canvas.dc.GetPixel(rect.left + 10, y), Sys(COLOR_BTNSHADOW));
        EXPECT_EQ(canvas.dc.GetPixel(rect.left + 10, y + 1), Sys(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(canvas.dc.GetPixel(rect.left + 1, y), kUnpainted);
    }
    {
        UseSkin("Office XP");
        COXSkinXP* pSkin = dynamic_cast<COXSkinXP*>(theApp.GetCurrentSkin());
        CCanvas canvas(240, 40, kUnpainted);
        const CRect rect(3, 3, 203, 6);
        f.Draw(canvas.dc, 1, rect, 0);
        const int xLine = rect.left + 3 + f.m_pMenu->GetImageWidth() + 15;
        EXPECT_EQ(canvas.dc.GetPixel(xLine, rect.top + 1), pSkin->GetSeparatorColor());
        EXPECT_EQ(canvas.dc.GetPixel(xLine - 1, rect.top + 1), pSkin->GetMenuColor());
        EXPECT_EQ(canvas.dc.GetPixel(rect.left, rect.top + 1), pSkin->GetBarColor());
    }
}

TEST(MenuSkinTest, ShowAllItemHeightPerFamily) {
    for (const char* pszSkin : {"Classic", "Office XP", "Office 2003"}) {
        COXMenuSkin* pSkin = UseSkin(pszSkin);
        CBitmapMenuFixture f;
        int nHeight = 27;
        pSkin->MeasureShowAllItem(nHeight, f.m_pMenu.get());
        EXPECT_EQ(nHeight, std::string(pszSkin) == "Classic" ? 27 : 27 / 2 + 1) << pszSkin;
    }
}

// ---------------------------------------------------------------------------
// Shadows

// Replaying a record writes its pixels back in drawing order, as far as the
// record goes, without reading the screen.
TEST(MenuShadowTest, RecordOfTheSameSizeAndKindIsReplayedInOrder) {
    const int cx = 40, cy = 30;
    const int nPixels = 4 * cy + 4 * (cx - 4);
    OXPOPUPWND record(nullptr);
    record.sizeRecorded = CSize(cx, cy);
    record.nShadowKind = 0;
    for (int i = 0; i < nPixels; ++i)
        record.arrPixels.Add(RGB(i % 256, i / 256, 7));
    CCanvas canvas(cx, cy, kUnpainted);
    COXMenuSkinXP::DrawMenuShadow(&canvas.dc, CRect(2000, 2000, 2000 + cx, 2000 + cy),
                                  CRect(0, 0, 0, 0), &record, 0);
    // The outermost column first, top to bottom, then the bottom row first.
    EXPECT_EQ(canvas.dc.GetPixel(cx - 1, 0), RGB(0, 0, 7));
    EXPECT_EQ(canvas.dc.GetPixel(cx - 1, 5), RGB(5, 0, 7));
    EXPECT_EQ(canvas.dc.GetPixel(cx - 2, 0), RGB(cy % 256, cy / 256, 7));
    EXPECT_EQ(canvas.dc.GetPixel(0, cy - 1), RGB((4 * cy) % 256, (4 * cy) / 256, 7));
    EXPECT_EQ(canvas.dc.GetPixel(0, cy - 2),
              RGB((4 * cy + cx - 4) % 256, (4 * cy + cx - 4) / 256, 7));
    EXPECT_EQ(canvas.dc.GetPixel(cx - 5, cy - 5), kUnpainted);
    EXPECT_EQ(record.arrPixels.GetSize(), nPixels);
}

// A window of one colour whose screen area a shadow is drawn from.
class ShadowBackdrop {
public:
    explicit ShadowBackdrop(COLORREF color) : m_brush(::CreateSolidBrush(color)) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ::DefWindowProcA;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "MenuShadowBackdrop";
        ::RegisterClassA(&wc);
        m_hWnd = ::CreateWindowExA(WS_EX_TOOLWINDOW, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE,
                                   rect.left, rect.top, rect.Width(), rect.Height(), nullptr,
                                   nullptr, wc.hInstance, nullptr);
        Paint(color);
    }
    ~ShadowBackdrop() {
        ::DestroyWindow(m_hWnd);
        ::DeleteObject(m_brush);
    }
    void Paint(COLORREF color) {
        HDC hDC = ::GetDC(m_hWnd);
        CDCHandle dc(hDC);
        dc.FillSolidRect(0, 0, rect.Width(), rect.Height(), color);
        ::ReleaseDC(m_hWnd, hDC);
        Settle(150);
    }
    const CRect rect = CRect(300, 300, 380, 360);
    HWND m_hWnd;
    HBRUSH m_brush;
};

TEST(MenuShadowTest, ScreenShadowIsRecordedOnceAndRecordedAnewForAnotherSizeOrKind) {
    const COLORREF crBack = RGB(0, 128, 250);
    ShadowBackdrop backdrop(crBack);
    const CRect rectWindow = backdrop.rect;
    const int cx = rectWindow.Width(), cy = rectWindow.Height();
    OXPOPUPWND record(nullptr);

    CCanvas first(cx, cy, kUnpainted);
    COXMenuSkinXP::DrawMenuShadow(&first.dc, rectWindow, CRect(0, 0, 0, 0), &record, 0);
    EXPECT_EQ(record.arrPixels.GetSize(), 4 * cy + 4 * (cx - 4));
    EXPECT_EQ(record.sizeRecorded, CSize(cx, cy));
    // Rows 0 to 3 of the right strip unchanged, then the fade and full darkness.
    EXPECT_EQ(first.dc.GetPixel(cx - 1, 2), crBack);
    EXPECT_EQ(first.dc.GetPixel(cx - 4, 5), DarkenColor(3 * 4 * 2, crBack));
    EXPECT_EQ(first.dc.GetPixel(cx - 4, 20), DarkenColor(60, crBack));
    EXPECT_EQ(first.dc.GetPixel(cx - 1, 20), DarkenColor(15, crBack));
    EXPECT_EQ(first.dc.GetPixel(20, cy - 4), DarkenColor(60, crBack));
    EXPECT_EQ(first.dc.GetPixel(2, cy - 4), crBack);

    // The screen changes; the same size and kind replay the first pixels.
    backdrop.Paint(RGB(250, 250, 0));
    CCanvas second(cx, cy, kUnpainted);
    COXMenuSkinXP::DrawMenuShadow(&second.dc, rectWindow, CRect(0, 0, 0, 0), &record, 0);
    EXPECT_EQ(second.dc.GetPixel(cx - 4, 20), DarkenColor(60, crBack));

    // Another kind is recorded anew from the screen, with its spared pixels.
    CCanvas third(cx, cy, kUnpainted);
    const CRect rectDropFrom(cx - 4, 10, cx + 40, 30);
    COXMenuSkinXP::DrawMenuShadow(&third.dc, rectWindow, rectDropFrom, &record, 2);
    EXPECT_EQ(record.nShadowKind, 2);
    EXPECT_EQ(third.dc.GetPixel(cx - 4, 20), RGB(250, 250, 0)) << "beside the button";
    EXPECT_EQ(third.dc.GetPixel(cx - 4, 40), DarkenColor(60, RGB(250, 250, 0)));

    // Another size as well: the record takes the new size and pixel count.
    const CRect rectSmaller(rectWindow.left, rectWindow.top, rectWindow.right - 10,
                            rectWindow.bottom - 10);
    CCanvas fourth(cx, cy, kUnpainted);
    COXMenuSkinXP::DrawMenuShadow(&fourth.dc, rectSmaller, CRect(0, 0, 0, 0), &record, 0);
    EXPECT_EQ(record.sizeRecorded, rectSmaller.Size());
    EXPECT_EQ(record.arrPixels.GetSize(), 4 * (cy - 10) + 4 * (cx - 14));
    EXPECT_EQ(fourth.dc.GetPixel(cx - 14, 20), DarkenColor(60, RGB(250, 250, 0)));
}

std::vector<UINT> s_messages;

LRESULT CALLBACK RecordingProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    s_messages.push_back(nMsg);
    return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

TEST(MenuSkinTest, PopupProcPassesEverythingOnWithoutATrackedBitmapMenu) {
    WNDPROC pfnRecorder = RecordingProc;
    HWND hWnd = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    for (const char* pszSkin : {"Classic", "Office XP", "Office 2003"}) {
        COXMenuSkin* pSkin = UseSkin(pszSkin);
        s_messages.clear();
        WINDOWPOS pos = {};
        pos.cx = 50;
        pos.cy = 40;
        pSkin->PopupMenuProc(pfnRecorder, hWnd, WM_WINDOWPOSCHANGING, 0,
                             reinterpret_cast<LPARAM>(&pos));
        pSkin->PopupMenuProc(pfnRecorder, hWnd, WM_ERASEBKGND, 0, 0);
        EXPECT_EQ(s_messages, (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_ERASEBKGND})) << pszSkin;
        EXPECT_EQ(pos.cx, 50) << pszSkin;
    }
    ::DestroyWindow(hWnd);
}

// ---------------------------------------------------------------------------
// Popups on the screen

// A frame that a popup is tracked over. A thread timer runs one step per tick
// once the popup shows (the menu's own loop must see the keys a step posts, so
// steps never pump messages), then closes the popup.
class PopupScreenTest : public ::testing::TestWithParam<const char*> {
protected:
    using Step = std::function<void(HWND)>;

    void SetUp() override {
        UseSkin(GetParam());
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "Menus", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                     CRect(0, 0, 480, 360)));
        m_hFrame = m_pFrame->m_hWnd;
        // The commands have no handlers; they are shown enabled all the same.
        m_pFrame->m_bAutoMenuEnable = FALSE;
        theApp.m_pMainWnd = m_pFrame;
        Settle();
    }
    void TearDown() override {
        if (::IsWindow(m_hFrame))
            m_pFrame->DestroyWindow();
        theApp.m_pMainWnd = nullptr;
        PumpPending();
    }

    // Tracks the fixture's menu at (x, y) and runs the steps on its popup.
    void TrackWith(CBitmapMenuFixture& fixture, int x, int y, const std::vector<Step>& steps) {
        s_pSteps = &steps;
        s_nNext = 0;
        s_nTicks = 0;
        UINT_PTR nTimer = ::SetTimer(nullptr, 0, 150, OnTick);
        fixture.m_pMenu->TrackPopupMenu(TPM_LEFTALIGN, x, y, m_pFrame);
        ::KillTimer(nullptr, nTimer);
        s_pSteps = nullptr;
        EXPECT_EQ(s_nNext, steps.size()) << "the popup did not stay open for every step";
    }

    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
        if (s_pSteps == nullptr)
            return;
        HWND hPopup = ::FindWindowA("#32768", nullptr);
        if (++s_nTicks > 60 || s_nNext >= s_pSteps->size()) {
            ::EndMenu();
            return;
        }
        if (hPopup != nullptr && ::IsWindowVisible(hPopup))
            (*s_pSteps)[s_nNext++](hPopup);
    }

    CFrameWnd* m_pFrame = nullptr;
    HWND m_hFrame = nullptr;
    static const std::vector<Step>* s_pSteps;
    static size_t s_nNext;
    static int s_nTicks;
};

const std::vector<PopupScreenTest::Step>* PopupScreenTest::s_pSteps = nullptr;
size_t PopupScreenTest::s_nNext = 0;
int PopupScreenTest::s_nTicks = 0;

void FillMenu(CBitmapMenuFixture& f) {
    f.Add(1001, "&Open...\tCtrl+O", &f.m_imageOpen);
    f.Add(1002, "&Save", &f.m_imagePlain);
    f.AddSeparator();
    f.Add(1003, "&Checked item", &f.m_imageDefault);
    f.Add(1004, "&Disabled item\tDel", &f.m_imagePlain);
    f.Add(1005, "&No image", &f.m_imageDefault);
    HMENU hSubmenu = ::CreatePopupMenu();
    ::AppendMenuA(hSubmenu, MF_STRING, 1101, "Inner");
    f.Add(0, "Sub&menu", &f.m_imageDefault, hSubmenu);
    f.m_pMenu->CheckMenuItem(1003, MF_CHECKED);
    f.m_pMenu->EnableMenuItem(1004, MF_GRAYED | MF_DISABLED);
    f.m_pMenu->CalcExtents();
}

// The popup's right shadow strip and bottom strip as the screen shows them.
std::vector<COLORREF> ReadShadow(HWND hPopup) {
    CRect rect;
    ::GetWindowRect(hPopup, rect);
    CCanvas canvas(rect.Width(), rect.Height());
    CaptureScreen(canvas, rect);
    std::vector<COLORREF> pixels;
    for (int x = rect.Width() - 4; x < rect.Width(); ++x)
        for (int y = 0; y < rect.Height(); ++y)
            pixels.push_back(canvas.dc.GetPixel(x, y));
    for (int y = rect.Height() - 4; y < rect.Height(); ++y)
        for (int x = 0; x < rect.Width() - 4; ++x)
            pixels.push_back(canvas.dc.GetPixel(x, y));
    return pixels;
}

TEST_P(PopupScreenTest, ScreenShowsOwnerDrawnPopupAndRepaintKeepsItsShadow) {
    CBitmapMenuFixture fixture;
    FillMenu(fixture);
    const std::string file = FileName("menu_popup_", GetParam());
    const bool bFlat = std::string(GetParam()) != "Classic";
    std::vector<COLORREF> before, after;
    TrackWith(fixture, 60, 60,
              {[](HWND hPopup) { ::PostMessageA(hPopup, WM_KEYDOWN, VK_DOWN, 0); },
               [&](HWND hPopup) {
                   CRect rect;
                   ::GetWindowRect(hPopup, rect);
                   rect.InflateRect(20, 20);
                   EXPECT_TRUE(SaveScreenPng(rect, file.c_str()));
                   before = ReadShadow(hPopup);
                   ::RedrawWindow(hPopup, nullptr, nullptr,
                                  RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
               },
               [&](HWND hPopup) { after = ReadShadow(hPopup); }});
    ASSERT_FALSE(before.empty());
    if (bFlat) {
        EXPECT_TRUE(before == after) << "the repaint changed the shadow";
    }
}

// The menu animation's request: the whole popup into a given context, border
// and margin strip included. A WM_QUIT waiting in the queue while the screen is
// brought up to date reaches the message loop all the same.
// Classic popups keep the platform's own painting: the flat families only.
class PopupPrintScreenTest : public PopupScreenTest {};

TEST_P(PopupPrintScreenTest, ScreenPrintOfAPopupDrawsItsBorderAndKeepsTheQuitMessage) {
    const std::string skin = GetParam();
    COXSkinXP* pSkin = dynamic_cast<COXSkinXP*>(theApp.GetCurrentSkin());
    ASSERT_NE(pSkin, nullptr);
    CBitmapMenuFixture fixture;
    FillMenu(fixture);
    COLORREF crFrame = 0, crStrip = 0;
    int nDark = 0;
    int nQuit = -1;
    TrackWith(fixture, 60, 60, {[&](HWND hPopup) {
                  CRect rect;
                  ::GetWindowRect(hPopup, rect);
                  CCanvas canvas(rect.Width(), rect.Height(), kUnpainted);
                  ::PostQuitMessage(23);
                  ::SendMessageA(hPopup, WM_PRINT, reinterpret_cast<WPARAM>(canvas.dc.GetSafeHdc()),
                                 PRF_CLIENT | PRF_NONCLIENT);
                  nQuit = TakeQuitMessage();
                  crFrame = canvas.dc.GetPixel(0, 0);
                  crStrip = canvas.dc.GetPixel(1, rect.Height() / 2);
                  nDark = canvas.Count(Sys(COLOR_MENUTEXT),
                                       CRect(3, 3, rect.Width() - 7, rect.Height() - 7));
              }});
    EXPECT_EQ(nQuit, 23);
    EXPECT_EQ(crFrame, Sys(COLOR_BTNSHADOW));
    if (skin == "Office XP") {
        EXPECT_EQ(crStrip, pSkin->GetBarColor());
    }
    EXPECT_GT(nDark, 0) << "the items were not printed";
}

INSTANTIATE_TEST_SUITE_P(Families, PopupScreenTest,
                         ::testing::Values("Classic", "Office XP", "Office 2003"));
INSTANTIATE_TEST_SUITE_P(FlatFamilies, PopupPrintScreenTest,
                         ::testing::Values("Office XP", "Office 2003"));

} // namespace
