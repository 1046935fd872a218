// Tests of COXBitmapMenu: its extents and measuring (per skin family), the
// placement of a popup dropped from a bar button against given monitor and
// work-area rectangles, the checker brush, the command-UI update and the text
// of owner-drawn items, the popup-menu class, the paint pump before a drop, the
// shared Classic skin, rarely used items of a shortened menu, and a popup
// dropped from a cool toolbar's button in each family (kept as PNG files).
#include "native/gtest.h"

#include "BitmapMenuFixture.h"

#include "toolkit/OXBitmapMenu.h"
#include "toolkit/OXBitmapMenuOrganizer.h"
#include "toolkit/OXCoolToolBar.h"
#include "toolkit/OXMenuSkin.h"
#include "toolkit/OXSkinnedApp.h"
#include "toolkit/OXSkins.h"

#include "framework/ControlBar.h"
#include "framework/Dc.h"
#include "framework/FrameWnd.h"
#include "framework/WinApp.h"

#include "tests/support/Canvas.h"
#include "tests/support/UiScript.h"

#include <windows.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

COXSkinnedApp theApp;

COXMenuSkin* UseSkin(const char* pszName) {
    EXPECT_TRUE(theApp.SetCurrentSkin(pszName)) << pszName;
    return COXBitmapMenu::GetMenuSkin();
}

// The menu font as the bitmap menu measures with it, plain or bold.
int MenuTextWidth(const char* pszText, bool bBold) {
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = 340;
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &ncm, 0);
    if (bBold)
        ncm.lfMenuFont.lfWeight = FW_BOLD;
    HFONT hFont = ::CreateFontIndirectA(&ncm.lfMenuFont);
    HDC hDC = ::GetDC(nullptr);
    HGDIOBJ hOld = ::SelectObject(hDC, hFont);
    RECT rect = {0, 0, 0, 0};
    ::DrawTextA(hDC, pszText, -1, &rect, DT_CALCRECT | DT_SINGLELINE);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(nullptr, hDC);
    ::DeleteObject(hFont);
    return rect.right - rect.left;
}

// ---------------------------------------------------------------------------
// Extents and measuring

struct ExtentsCase {
    const char* pszSkin;
    bool bShortcut; // one item has a shortcut text
    bool bSubmenu;  // one item opens a submenu (without a shortcut)
    int nLeftMargin, nImageTextGap, nTextShortcutGap, nRightMargin;
};

class ExtentsTest : public ::testing::TestWithParam<ExtentsCase> {};

TEST_P(ExtentsTest, WidthCountsTheShortcutColumnOnlyWhenThereIsOne) {
    const ExtentsCase& c = GetParam();
    UseSkin(c.pszSkin);
    CBitmapMenuFixture f;
    f.Add(1001, "&Open", &f.m_imagePlain);
    f.Add(1002, c.bShortcut ? "&Print\tCtrl+P" : "&Print", &f.m_imagePlain);
    HMENU hSubmenu = ::CreatePopupMenu();
    ::AppendMenuA(hSubmenu, MF_STRING, 1101, "Inner");
    if (c.bSubmenu)
        f.Add(0, "&More", &f.m_imageDefault, hSubmenu);
    else
        ::DestroyMenu(hSubmenu);
    f.m_pMenu->CalcExtents();
    COXBitmapMenu* pMenu = f.m_pMenu.get();

    EXPECT_EQ(pMenu->GetTextWidth(),
              std::max(MenuTextWidth("&Open", false), MenuTextWidth("&Print", false)));
    int nShortcut = 0;
    if (c.bShortcut)
        nShortcut = MenuTextWidth("Ctrl+P", false);
    if (c.bSubmenu)
        nShortcut = std::max(nShortcut, MenuTextWidth("W", false));
    EXPECT_EQ(pMenu->GetShortcutWidth(), nShortcut);
    EXPECT_EQ(pMenu->GetImageWidth(), 16);
    EXPECT_GT(pMenu->GetTextHeight(), 0);

    const MEASUREITEMSTRUCT mis = f.Measure(0);
    const int nExpected = c.nLeftMargin + 16 + c.nImageTextGap + pMenu->GetTextWidth() +
                          (nShortcut != 0 ? c.nTextShortcutGap : 0) + nShortcut + c.nRightMargin;
    EXPECT_EQ(static_cast<int>(mis.itemWidth), nExpected);
    // Every item of the menu is as wide.
    EXPECT_EQ(f.Measure(1).itemWidth, mis.itemWidth);
}

INSTANTIATE_TEST_SUITE_P(Families, ExtentsTest,
                         ::testing::Values(ExtentsCase{"Classic", false, false, 2, 8, 2, 3},
                                           ExtentsCase{"Classic", true, false, 2, 8, 2, 3},
                                           ExtentsCase{"Classic", false, true, 2, 8, 2, 3},
                                           ExtentsCase{"Office XP", false, false, 3, 15, 12, 6},
                                           ExtentsCase{"Office XP", true, false, 3, 15, 12, 6},
                                           ExtentsCase{"Office 2003", false, true, 3, 15, 12, 6}));

TEST(BitmapMenuTest, DefaultItemIsMeasuredBold) {
    UseSkin("Office XP");
    CBitmapMenuFixture f;
    f.Add(1001, "Wide default item", &f.m_imagePlain);
    f.Add(1002, "Short", &f.m_imagePlain);
    f.m_pMenu->CalcExtents();
    const int nPlain = f.m_pMenu->GetTextWidth();
    EXPECT_EQ(nPlain, MenuTextWidth("Wide default item", false));
    f.m_pMenu->SetDefaultItem(0, TRUE);
    f.m_pMenu->CalcExtents();
    EXPECT_EQ(f.m_pMenu->GetTextWidth(), MenuTextWidth("Wide default item", true));
    EXPECT_GT(f.m_pMenu->GetTextWidth(), nPlain);
}

TEST(BitmapMenuTest, ImageColumnIsAtLeastTheFamilysMinimum) {
    const int nCheck = ::GetSystemMetrics(SM_CXMENUCHECK);
    ASSERT_LT(nCheck, 16);
    for (const char* pszSkin : {"Classic", "Office XP"}) {
        UseSkin(pszSkin);
        CBitmapMenuFixture f;
        f.Add(1001, "Only check marks", &f.m_imageDefault);
        f.m_pMenu->CalcExtents();
        EXPECT_EQ(f.m_pMenu->GetImageWidth(), std::string(pszSkin) == "Classic" ? nCheck : 16)
            << pszSkin;
    }
}

struct HeightCase {
    const char* pszSkin;
    int nTextPadding, nImagePadding, nSeparatorHeight;
    bool bHalvedShowAll;
};

class MeasureHeightTest : public ::testing::TestWithParam<HeightCase> {};

TEST_P(MeasureHeightTest, ItemHeightsPerKind) {
    const HeightCase& c = GetParam();
    UseSkin(c.pszSkin);
    CBitmapMenuFixture f;
    f.Add(1001, "Image item", &f.m_imagePlain);
    f.AddSeparator();
    f.Add(ID_OX_SHOWALLITEMS, "", &f.m_imageDefault);
    HMENU hSubmenu = ::CreatePopupMenu();
    ::AppendMenuA(hSubmenu, MF_STRING, 1101, "Inner");
    f.m_pMenu->AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(hSubmenu), "Plain submenu");
    f.m_pMenu->AppendMenu(MF_STRING, 1003, "Plain item");
    f.m_pMenu->CalcExtents();
    const int TH = f.m_pMenu->GetTextHeight();
    const int nItem = std::max(16 + 2 + c.nImagePadding, TH + c.nTextPadding);

    EXPECT_EQ(static_cast<int>(f.Measure(0).itemHeight), nItem);
    EXPECT_EQ(static_cast<int>(f.Measure(1).itemHeight), c.nSeparatorHeight);
    const int nCheckBase =
        std::max(::GetSystemMetrics(SM_CYMENUCHECK) + 2 + c.nImagePadding, TH + c.nTextPadding);
    EXPECT_EQ(static_cast<int>(f.Measure(2).itemHeight),
              c.bHalvedShowAll ? nCheckBase / 2 + 1 : nCheckBase);
    // Without item data: a submenu item gets the text height, another item
    // keeps what it was given.
    EXPECT_EQ(static_cast<int>(f.Measure(3).itemHeight), TH + c.nTextPadding);
    EXPECT_EQ(f.Measure(4).itemHeight, 0u);
}

INSTANTIATE_TEST_SUITE_P(Families, MeasureHeightTest,
                         ::testing::Values(HeightCase{"Classic", 4, 3, 8, false},
                                           HeightCase{"Office XP", 10, 4, 3, true},
                                           HeightCase{"Office 2003", 10, 4, 3, true}));

// ---------------------------------------------------------------------------
// Placement

struct PlacementCase {
    const char* pszName;
    CRect rectButton;
    CSize sizeMenu;
    DWORD dwBarStyle;
    CRect rectMonitor, rectWork;
    CPoint ptExpected;
    UINT nFlagsExpected;
    int nSideExpected;
};

class PlacementTest : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(PlacementTest, PopupOpensAsTheBarAndTheScreenAllow) {
    const PlacementCase& c = GetParam();
    CPoint pt(-99, -99);
    UINT nFlags = 0xDEAD;
    int nSide = 0;
    COXBitmapMenu::CalcPopupPlacement(c.rectButton, c.sizeMenu, c.dwBarStyle, c.rectMonitor,
                                      c.rectWork, pt, nFlags, nSide);
    EXPECT_EQ(pt, c.ptExpected) << c.pszName;
    EXPECT_EQ(nFlags, c.nFlagsExpected) << c.pszName;
    EXPECT_EQ(nSide, c.nSideExpected) << c.pszName;
}

const CRect kScreen(0, 0, 1280, 1024);
const CRect kWork(0, 0, 1280, 994); // a task bar along the bottom

INSTANTIATE_TEST_SUITE_P(
    Table, PlacementTest,
    ::testing::Values(
        PlacementCase{"below", CRect(100, 20, 140, 42), CSize(150, 200), CBRS_ALIGN_TOP, kScreen,
                      kWork, CPoint(100, 41), 0u, OX_POPUP_BELOW},
        PlacementCase{"bottom bar, room below", CRect(100, 20, 140, 42), CSize(150, 200),
                      CBRS_ALIGN_BOTTOM, kScreen, kWork, CPoint(100, 41), 0u, OX_POPUP_BELOW},
        PlacementCase{"left of the monitor", CRect(-30, 20, 10, 42), CSize(150, 200),
                      CBRS_ALIGN_TOP, kScreen, kWork, CPoint(0, 41), 0u, OX_POPUP_BELOW},
        PlacementCase{"past the monitor's right edge", CRect(1200, 20, 1240, 42), CSize(150, 200),
                      CBRS_ALIGN_TOP, kScreen, kWork, CPoint(1279, 41), 0u, OX_POPUP_BELOW},
        PlacementCase{"at the work area's right edge", CRect(1130, 20, 1170, 42), CSize(150, 200),
                      CBRS_ALIGN_TOP, kScreen, CRect(0, 0, 1200, 994), CPoint(1280, 41), 0u,
                      OX_POPUP_BELOW},
        PlacementCase{"near the bottom opens above", CRect(100, 900, 140, 922), CSize(150, 200),
                      CBRS_ALIGN_TOP, kScreen, kWork, CPoint(100, 901), (UINT)TPM_BOTTOMALIGN,
                      OX_POPUP_ABOVE},
        PlacementCase{"vertical bar opens right", CRect(0, 300, 24, 340), CSize(150, 200),
                      CBRS_ALIGN_LEFT, kScreen, kWork, CPoint(24, 301), 0u, OX_POPUP_RIGHT},
        PlacementCase{"vertical bar at the right opens left", CRect(1250, 300, 1274, 340),
                      CSize(150, 200), CBRS_ALIGN_RIGHT, kScreen, kWork, CPoint(1250, 301),
                      (UINT)TPM_RIGHTALIGN, OX_POPUP_LEFT},
        PlacementCase{"vertical bar, work area's right edge", CRect(1100, 300, 1124, 340),
                      CSize(150, 200), CBRS_ALIGN_LEFT, kScreen, CRect(0, 0, 1200, 994),
                      CPoint(1274, 301), 0u, OX_POPUP_RIGHT},
        PlacementCase{"vertical bar, clamped to the work area's bottom", CRect(0, 900, 24, 940),
                      CSize(150, 200), CBRS_ALIGN_LEFT, kScreen, kWork, CPoint(24, 794), 0u,
                      OX_POPUP_RIGHT},
        PlacementCase{"vertical bar, clamped to the work area's top", CRect(0, 10, 24, 40),
                      CSize(150, 200), CBRS_ALIGN_LEFT, kScreen, CRect(0, 30, 1280, 994),
                      CPoint(24, 30), 0u, OX_POPUP_RIGHT},
        PlacementCase{"left monitor, x would be 0", CRect(-150, 20, -110, 42), CSize(150, 200),
                      CBRS_ALIGN_TOP, CRect(-1280, 0, 0, 1024), CRect(-1280, 0, 0, 994),
                      CPoint(-1, 41), 0u, OX_POPUP_BELOW}));

TEST(BitmapMenuTest, EstimatedSizeMeasuresBitmapItemsAndCountsPlainOnes) {
    UseSkin("Office XP");
    CBitmapMenuFixture f;
    f.Add(1001, "One", &f.m_imagePlain);
    f.Add(1002, "Two", &f.m_imagePlain);
    f.m_pMenu->CalcExtents();
    const MEASUREITEMSTRUCT mis = f.Measure(0);
    EXPECT_EQ(
        COXBitmapMenu::EstimateMenuSize(f.m_pMenu.get()),
        CSize(static_cast<int>(mis.itemWidth) + 18, 2 * static_cast<int>(mis.itemHeight) + 6));

    CMenu plain;
    plain.CreatePopupMenu();
    plain.AppendMenu(MF_STRING, 1, "One");
    plain.AppendMenu(MF_SEPARATOR);
    plain.AppendMenu(MF_STRING, 2, "Two");
    EXPECT_EQ(COXBitmapMenu::EstimateMenuSize(&plain), CSize(18, 17 + 8 + 17 + 6));
}

// ---------------------------------------------------------------------------
// Brush, command UI, class, pump, shared skin

TEST(BitmapMenuTest, CheckerBrushAlternatesItsColoursPixelByPixel) {
    const COLORREF cr1 = RGB(10, 20, 200), cr2 = RGB(240, 230, 10);
    HBRUSH hBrush = COXBitmapMenu::CreateCheckerBrush(cr1, cr2);
    ASSERT_NE(hBrush, nullptr);
    CCanvas canvas(16, 16, RGB(0, 0, 0));
    RECT rect = {0, 0, 16, 16};
    ::FillRect(canvas.dc, &rect, hBrush);
    ::DeleteObject(hBrush);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(canvas.dc.GetPixel(x, y), (x + y) % 2 == 0 ? cr1 : cr2) << x << "," << y;
}

// A frame whose handlers change item texts and check one item.
class CCmdUIFrame : public CFrameWnd {
public:
    void OnUpdateRename(CCmdUI* pCmdUI) { pCmdUI->SetText("Renamed\tF2"); }
    void OnUpdateRadio(CCmdUI* pCmdUI) {
        pCmdUI->SetRadio(TRUE);
        pCmdUI->SetText("Radio renamed");
    }
    void OnUpdatePlain(CCmdUI* pCmdUI) { pCmdUI->SetText("Plain renamed"); }
    void OnRename() {}
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCmdUIFrame, CFrameWnd)
ON_UPDATE_COMMAND_UI(1001, &CCmdUIFrame::OnUpdateRename)
ON_UPDATE_COMMAND_UI(1002, &CCmdUIFrame::OnUpdateRadio)
ON_UPDATE_COMMAND_UI(1003, &CCmdUIFrame::OnUpdatePlain)
ON_COMMAND(1001, &CCmdUIFrame::OnRename)
END_MESSAGE_MAP()

UINT ItemType(CMenu* pMenu, int nPos) {
    MENUITEMINFOA mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE;
    ::GetMenuItemInfoA(pMenu->m_hMenu, nPos, TRUE, &mii);
    return mii.fType;
}

TEST(BitmapMenuTest, CommandUISetsOwnerDrawnTextsInTheirRecords) {
    UseSkin("Office XP");
    CCmdUIFrame* pFrame = new CCmdUIFrame;
    ASSERT_TRUE(pFrame->Create(nullptr, "Command UI", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
    CBitmapMenuFixture f;
    f.Add(1001, "&Rename", &f.m_imagePlain);
    f.Add(1002, "Radio", &f.m_imageDefault);
    f.m_pMenu->AppendMenu(MF_STRING, 1003, "Plain");
    f.m_pMenu->AppendMenu(MF_STRING, 1004, "No handler");

    COXBitmapMenu::UpdateMenuCmdUI(f.m_pMenu.get(), pFrame, 0, FALSE);

    EXPECT_STREQ(f.InfoAt(0)->GetText(), "Renamed\tF2");
    EXPECT_EQ(ItemType(f.m_pMenu.get(), 0), static_cast<UINT>(MFT_OWNERDRAW));
    // A radio check does not cost the item its owner drawing.
    EXPECT_STREQ(f.InfoAt(1)->GetText(), "Radio renamed");
    EXPECT_TRUE(ItemType(f.m_pMenu.get(), 1) & MFT_OWNERDRAW);
    EXPECT_TRUE(ItemType(f.m_pMenu.get(), 1) & MFT_RADIOCHECK);
    CString strPlain;
    f.m_pMenu->GetMenuString(2, strPlain, MF_BYPOSITION);
    EXPECT_STREQ(strPlain, "Plain renamed");
    // Commands without a handler are disabled while the frame enables menus.
    EXPECT_TRUE(f.m_pMenu->GetMenuState(1004, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(f.m_pMenu->GetMenuState(1001, MF_BYCOMMAND) & MF_GRAYED);

    // The next extents take the new text.
    f.m_pMenu->CalcExtents();
    EXPECT_GT(f.m_pMenu->GetShortcutWidth(), 0);
    pFrame->DestroyWindow();
}

TEST(BitmapMenuTest, SystemMenuIsNotUpdated) {
    CCmdUIFrame* pFrame = new CCmdUIFrame;
    ASSERT_TRUE(pFrame->Create(nullptr, "Command UI", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
    CBitmapMenuFixture f;
    f.Add(1001, "&Rename", &f.m_imagePlain);
    COXBitmapMenu::UpdateMenuCmdUI(f.m_pMenu.get(), pFrame, 0, TRUE);
    EXPECT_STREQ(f.InfoAt(0)->GetText(), "&Rename");
    pFrame->DestroyWindow();
}

TEST(BitmapMenuTest, PopupMenuClassIsRegisteredForTheApplication) {
    COXBitmapMenu menu;
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    ASSERT_TRUE(::GetClassInfoExA(AfxGetInstanceHandle(), "#32768", &wc));
    WNDCLASSEXA system = {};
    system.cbSize = sizeof(system);
    ASSERT_TRUE(::GetClassInfoExA(nullptr, "#32768", &system));
    EXPECT_NE(wc.lpfnWndProc, system.lpfnWndProc);
    EXPECT_EQ(wc.style & CS_DROPSHADOW, 0u);
    EXPECT_EQ(wc.style & CS_SAVEBITS, static_cast<UINT>(CS_SAVEBITS));
}

TEST(BitmapMenuTest, PendingPaintIsDispatchedAndAQuitMessageStays) {
    HWND hWnd = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20, nullptr,
                                  nullptr, ::GetModuleHandleA(nullptr), nullptr);
    PumpPending();
    ::InvalidateRect(hWnd, nullptr, TRUE);
    ::PostMessageA(hWnd, WM_USER + 5, 0, 0);
    ::PostQuitMessage(7);
    COXBitmapMenu::DispatchPendingPaint();
    EXPECT_FALSE(::GetUpdateRect(hWnd, nullptr, FALSE)) << "the paint was not dispatched";
    MSG msg;
    EXPECT_TRUE(::PeekMessageA(&msg, hWnd, WM_USER + 5, WM_USER + 5, PM_REMOVE))
        << "another message was taken";
    EXPECT_EQ(TakeQuitMessage(), 7);
    ::DestroyWindow(hWnd);
}

TEST(BitmapMenuTest, SharedClassicSkinOutlivesEveryBitmapMenu) {
    ASSERT_FALSE(theApp.SetCurrentSkin("No such skin"));
    COXMenuSkin* pShared = COXBitmapMenu::GetMenuSkin();
    ASSERT_NE(dynamic_cast<COXMenuSkinClassic*>(pShared), nullptr);
    {
        COXBitmapMenu menu;
        menu.CreatePopupMenu();
    }
    EXPECT_EQ(COXBitmapMenu::GetMenuSkin(), pShared);
    EXPECT_EQ(pShared->GetMenuMetrics()->SeparatorHeight, 8);
    UseSkin("Office XP");
}

TEST(BitmapMenuTest, ExpandedShortenedMenuMarksRarelyUsedItems) {
    UseSkin("Office XP");
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(nullptr, "Organizer", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
    theApp.m_pMainWnd = pFrame;
    {
        COXBitmapMenuOrganizer organizer;
        ASSERT_TRUE(organizer.AttachFrameWnd(pFrame));
        ASSERT_TRUE(organizer.AddHiddenCommand(1002));
        CBitmapMenuFixture f;
        f.Add(1001, "Used", &f.m_imagePlain);
        f.Add(1002, "Rarely used", &f.m_imagePlain);
        f.Add(1003, "Used", &f.m_imagePlain);
        f.m_pMenu->CalcExtents();
        const int nHeight = static_cast<int>(f.Measure(0).itemHeight);
        COXSkinXP* pSkin = dynamic_cast<COXSkinXP*>(theApp.GetCurrentSkin());
        ASSERT_NE(pSkin, nullptr);
        CCanvas canvas(240, 3 * nHeight, RGB(1, 2, 3));
        for (int i = 0; i < 3; ++i)
            f.Draw(canvas.dc, i, CRect(0, i * nHeight, 200, (i + 1) * nHeight), 0);
        const COLORREF crRare = COXSkinXP::ShiftColor(::GetSysColor(COLOR_BTNFACE), -8, -8, -8);
        EXPECT_EQ(canvas.dc.GetPixel(1, nHeight / 2), pSkin->GetBarColor());
        EXPECT_EQ(canvas.dc.GetPixel(1, nHeight + nHeight / 2), crRare);
        EXPECT_EQ(canvas.dc.GetPixel(1, 2 * nHeight + nHeight / 2), pSkin->GetBarColor());
    }
    pFrame->DestroyWindow();
    theApp.m_pMainWnd = nullptr;
}

TEST(BitmapMenuTest, DropWithoutABarOrAButtonFails) {
    UseSkin("Office XP");
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(nullptr, "No button", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
    COXCoolToolBar bar;
    ASSERT_TRUE(bar.Create(pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP));
    const UINT ids[] = {2001, 2002};
    ASSERT_TRUE(bar.SetButtons(ids, 2));
    CBitmapMenuFixture f;
    f.Add(1001, "Item", &f.m_imagePlain);
    f.m_pMenu->CalcExtents();
    EXPECT_FALSE(f.m_pMenu->TrackFromButton(nullptr, pFrame));
    // No button pressed and no drop-down arrow pressed last.
    EXPECT_FALSE(f.m_pMenu->TrackFromButton(&bar, pFrame));
    EXPECT_TRUE(f.m_pMenu->GetBarButtonRect().IsRectEmpty());
    pFrame->DestroyWindow();
}

// ---------------------------------------------------------------------------
// A popup dropped from a cool toolbar's button

// A frame with a cool toolbar of three text buttons along its top. A thread
// timer runs one step per tick while the popup is open (no step pumps
// messages: the menu's own loop must see them), then closes it.
class DropFromButtonScreenTest : public ::testing::TestWithParam<const char*> {
protected:
    using Step = std::function<void(HWND)>;

    void SetUp() override {
        UseSkin(GetParam());
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "Drop", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                     CRect(0, 0, 480, 360)));
        m_hFrame = m_pFrame->m_hWnd;
        m_pFrame->m_bAutoMenuEnable = FALSE;
        theApp.m_pMainWnd = m_pFrame;
        ASSERT_TRUE(m_bar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP));
        const UINT ids[] = {2001, 2002, 2003};
        ASSERT_TRUE(m_bar.SetButtons(ids, 3));
        const char* texts[] = {"File", "Edit", "View"};
        for (int i = 0; i < 3; ++i)
            m_bar.SetButtonText(i, texts[i]);
        m_pFrame->RecalcLayout();
        Settle();
    }
    void TearDown() override {
        if (::IsWindow(m_hFrame))
            m_pFrame->DestroyWindow();
        theApp.m_pMainWnd = nullptr;
        PumpPending();
    }

    // Drops the fixture's menu from the second button and runs the steps.
    BOOL DropWith(CBitmapMenuFixture& fixture, const std::vector<Step>& steps) {
        m_bar.SendMessage(TB_PRESSBUTTON, 2002, TRUE);
        s_pSteps = &steps;
        s_nNext = 0;
        s_nTicks = 0;
        UINT_PTR nTimer = ::SetTimer(nullptr, 0, 150, OnTick);
        const BOOL bResult = fixture.m_pMenu->TrackFromButton(&m_bar, m_pFrame);
        ::KillTimer(nullptr, nTimer);
        s_pSteps = nullptr;
        m_bar.SendMessage(TB_PRESSBUTTON, 2002, FALSE);
        EXPECT_EQ(s_nNext, steps.size()) << "the popup did not stay open for every step";
        return bResult;
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

    CRect ButtonOnScreen(int nIndex) {
        CRect rect;
        m_bar.GetItemRect(nIndex, rect);
        m_bar.ClientToScreen(rect);
        return rect;
    }

    CFrameWnd* m_pFrame = nullptr;
    HWND m_hFrame = nullptr;
    COXCoolToolBar m_bar;
    static const std::vector<Step>* s_pSteps;
    static size_t s_nNext;
    static int s_nTicks;
};

struct ItemWindowSearch {
    CRect rect;
    HWND hFound;
};

BOOL CALLBACK MatchItemWindow(HWND hWnd, LPARAM lParam) {
    ItemWindowSearch* pSearch = reinterpret_cast<ItemWindowSearch*>(lParam);
    CRect rect;
    ::GetWindowRect(hWnd, rect);
    if (::IsWindowVisible(hWnd) && (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD) &&
        rect == pSearch->rect)
        pSearch->hFound = hWnd;
    return pSearch->hFound == nullptr;
}

// The visible child of the desktop that covers rectButton and the shadow
// beside and below it, else null.
HWND FindItemWindow(const CRect& rectButton) {
    ItemWindowSearch search = {
        CRect(rectButton.left, rectButton.top, rectButton.right + 4, rectButton.bottom + 4),
        nullptr};
    ::EnumWindows(MatchItemWindow, reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

const std::vector<DropFromButtonScreenTest::Step>* DropFromButtonScreenTest::s_pSteps = nullptr;
size_t DropFromButtonScreenTest::s_nNext = 0;
int DropFromButtonScreenTest::s_nTicks = 0;

TEST_P(DropFromButtonScreenTest, ScreenShowsPopupUnderThePressedButtonWithItsItemWindow) {
    CBitmapMenuFixture f;
    f.Add(1001, "&Open...\tCtrl+O", &f.m_imageOpen);
    f.Add(1002, "&Save", &f.m_imagePlain);
    f.AddSeparator();
    f.Add(1003, "E&xit", &f.m_imageDefault);
    f.m_pMenu->CalcExtents();
    const std::string skin = GetParam();
    const CRect rectButton = ButtonOnScreen(1);
    std::string file = "menu_drop_";
    for (char ch : skin)
        file += ch == ' ' ? '_' : ch;
    file += ".png";

    CRect rectPopup, rectBarButton;
    HWND hOverButton = nullptr;
    COLORREF crOpening = 0, crBorder = 0;
    DropWith(f, {[&](HWND hPopup) {
                 ::GetWindowRect(hPopup, rectPopup);
                 rectBarButton = f.m_pMenu->GetBarButtonRect();
                 hOverButton = FindItemWindow(rectBarButton);
                 CRect rectShot = rectPopup;
                 rectShot.UnionRect(rectShot, rectButton);
                 rectShot.InflateRect(12, 12);
                 EXPECT_TRUE(SaveScreenPng(rectShot, file.c_str()));
                 CCanvas canvas(1, 1);
                 CaptureScreen(canvas, CRect(rectButton.left + 4, rectPopup.top,
                                             rectButton.left + 5, rectPopup.top + 1));
                 crOpening = canvas.dc.GetPixel(0, 0);
                 CaptureScreen(canvas, CRect(rectPopup.right - 8, rectPopup.top,
                                             rectPopup.right - 7, rectPopup.top + 1));
                 crBorder = canvas.dc.GetPixel(0, 0);
             }});

    // The popup opens under the button, one pixel into it.
    EXPECT_EQ(rectPopup.left, rectButton.left);
    EXPECT_EQ(rectPopup.top, rectButton.bottom - 1);
    // While open: the button's rectangle, one pixel shorter at both ends, and
    // the item window over it.
    EXPECT_EQ(rectBarButton,
              CRect(rectButton.left, rectButton.top + 1, rectButton.right, rectButton.bottom - 1));
    EXPECT_NE(hOverButton, nullptr);
    // Afterwards neither is left.
    EXPECT_TRUE(f.m_pMenu->GetBarButtonRect().IsRectEmpty());
    EXPECT_FALSE(::IsWindow(hOverButton));

    if (skin == "Classic")
        return;
    // The border is open under the button: the bar colour (XP) or the light end
    // of the menu-bar item gradient (2003) instead of the border line.
    COXSkinXP* pSkin = dynamic_cast<COXSkinXP*>(theApp.GetCurrentSkin());
    ASSERT_NE(pSkin, nullptr);
    EXPECT_EQ(crBorder, ::GetSysColor(COLOR_BTNSHADOW));
    if (skin == "Office XP") {
        EXPECT_EQ(crOpening, pSkin->GetBarColor());
    } else {
        COXSkin2003* p2003 = dynamic_cast<COXSkin2003*>(pSkin);
        ASSERT_NE(p2003, nullptr);
        EXPECT_EQ(crOpening, p2003->GetMenuBarItemLightColor());
    }
}

INSTANTIATE_TEST_SUITE_P(Families, DropFromButtonScreenTest,
                         ::testing::Values("Classic", "Office XP", "Office 2003"));

} // namespace
