// Tests of COXSHBListCtrl's items, views, painting and scrolling: the item
// layout of both views, the item rectangles and hit tests, the view and
// scrollable extents, scrolling by Scroll, by the scroll buttons and by
// hovering, the hot, pressed and selected items with the owner's vetoes, the
// bookkeeping of inserts and deletes, the list-view messages the list answers
// itself, its settings on its own and inside a bar, tooltips and the painted
// item frames. Lists on their own live in a CShortcutBarOwner that records the
// notifications; lists in a bar are the bar's own group lists. Tests named
// Input send real clicks and moves; Screen tests read the screen.
#include "native/gtest.h"

#include "toolkit/OXSHBListCtrl.h"
#include "toolkit/OXShortcutBar.h"
#include "toolkit/OXShortcutBarSkin.h"
#include "toolkit/OXSkinnedApp.h"

#include "tests/support/Canvas.h"
#include "tests/support/GeometryPrint.h"
#include "tests/support/SyntheticInput.h"
#include "tests/support/TraceCapture.h"
#include "tests/support/UiScript.h"
#include "tests/toolkit/ShortcutBarOwner.h"

#include "framework/ImageList.h"
#include "framework/Ole.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

COXSkinnedApp theApp;

const UINT kListID = 41;
const CRect kOwnerRect(100, 100, 420, 520);

// A list window style that keeps the test's image lists alive.
const DWORD kListStyle = WS_CHILD | WS_VISIBLE | LVS_SHAREIMAGELISTS | LVS_SINGLESEL;

// Square images of one colour each, cx by cx pixels.
void FillImages(CImageList& images, int cx, const std::vector<COLORREF>& colors) {
    ASSERT_TRUE(images.Create(cx, cx, ILC_COLOR24 | ILC_MASK, 0, 4));
    HDC hScreen = ::GetDC(nullptr);
    for (COLORREF color : colors) {
        HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreen, cx, cx);
        HDC hDC = ::CreateCompatibleDC(hScreen);
        HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
        HBRUSH hBrush = ::CreateSolidBrush(color);
        RECT rect = {0, 0, cx, cx};
        ::FillRect(hDC, &rect, hBrush);
        ::DeleteObject(hBrush);
        ::SelectObject(hDC, hOld);
        ::DeleteDC(hDC);
        ASSERT_NE(ImageList_AddMasked(images.GetSafeHandle(), hBitmap, RGB(255, 0, 255)), -1);
        ::DeleteObject(hBitmap);
    }
    ::ReleaseDC(nullptr, hScreen);
}

CRect ItemRect(const COXSHBListCtrl& list, int nItem, int nCode) {
    CRect rect(-1, -1, -1, -1);
    EXPECT_TRUE(list.GetItemRect(nItem, &rect, static_cast<UINT>(nCode)));
    return rect;
}

// The list as its message interface answers.
BOOL ItemRectByMessage(const COXSHBListCtrl& list, int nItem, int nCode, CRect& rect) {
    rect.SetRect(nCode, 0, 0, 0);
    return static_cast<BOOL>(
        ::SendMessageA(list.m_hWnd, LVM_GETITEMRECT, nItem, reinterpret_cast<LPARAM>(&rect)));
}

int HitFlags(const COXSHBListCtrl& list, CPoint point, int* pnItem = nullptr,
             BOOL bIgnoreButtons = FALSE) {
    UINT nFlags = 0;
    const int nItem = list.HitTest(point, &nFlags, bIgnoreButtons);
    if (pnItem != nullptr)
        *pnItem = nItem;
    return static_cast<int>(nFlags);
}

[[maybe_unused]] void Pump(int nMilliseconds) {
    const DWORD dwEnd = ::GetTickCount() + static_cast<DWORD>(nMilliseconds);
    while (static_cast<int>(dwEnd - ::GetTickCount()) > 0) {
        PumpPending();
        ::Sleep(10);
    }
}

// A list on its own, child of an owner that records its notifications.
class SHBListAlone : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(AfxOleInit());
        ASSERT_TRUE(m_owner.Make(kOwnerRect));
        FillImages(m_large, 32, {RGB(200, 0, 0), RGB(0, 160, 0), RGB(0, 0, 200)});
        FillImages(m_small, 16, {RGB(200, 0, 0), RGB(0, 160, 0), RGB(0, 0, 200)});
        LOGFONT logFont = {};
        logFont.lfHeight = -11;
        lstrcpyA(logFont.lfFaceName, "Tahoma");
        ASSERT_TRUE(m_font.CreateFontIndirect(&logFont));
    }
    void TearDown() override {
        if (m_list.m_hWnd != nullptr)
            m_list.DestroyWindow();
        m_owner.DestroyWindow();
    }

    void MakeList(const CRect& rect = CRect(0, 0, 200, 300), DWORD dwStyle = kListStyle,
                  DWORD dwExStyle = 0) {
        ASSERT_TRUE(m_list.Create(dwStyle, rect, &m_owner, kListID));
        if (dwExStyle != 0)
            m_list.ModifyStyleEx(0, dwExStyle);
        m_list.SetFont(&m_font);
        m_list.SetImageList(&m_large, LVSIL_NORMAL);
        m_list.SetImageList(&m_small, LVSIL_SMALL);
    }
    // Items "Item 0", "Item 1", ... with images 0, 1, 2, 0, ...
    void AddItems(int nCount) {
        for (int i = 0; i < nCount; i++) {
            const std::string sText = "Item " + std::to_string(i);
            const int nCount = m_list.GetItemCount();
            ASSERT_EQ(m_list.InsertItem(nCount, sText.c_str(), i % 3), nCount);
        }
    }
    // Scrolls down by whole items until the origin reaches nTop.
    void ScrollToItem(int nItem) {
        CRect rectItem = ItemRect(m_list, nItem, SHBLC_ENTIREITEM);
        m_list.Scroll(CSize(0, rectItem.top - 2));
    }

    CShortcutBarOwner m_owner;
    COXSHBListCtrl m_list;
    CImageList m_large;
    CImageList m_small;
    CFont m_font;
};

// ---- Layout.

TEST_F(SHBListAlone, LargeIconsAreCentredAndStackedSixPixelsApart) {
    MakeList();
    AddItems(2);
    for (int nItem = 0; nItem < 2; nItem++) {
        const CRect rectImage = ItemRect(m_list, nItem, LVIR_ICON);
        EXPECT_EQ(rectImage.Width(), 38) << nItem;
        EXPECT_EQ(rectImage.Height(), 38) << nItem;
        EXPECT_EQ(rectImage.left, 81) << nItem;
        const CRect rectItem = ItemRect(m_list, nItem, SHBLC_ENTIREITEM);
        EXPECT_EQ(rectItem.left, 0);
        EXPECT_EQ(rectItem.right, 200);
        EXPECT_EQ(rectImage.top, rectItem.top);
        // The text lies below the image, centred, and ends the item.
        const CRect rectText = ItemRect(m_list, nItem, LVIR_LABEL);
        EXPECT_EQ(rectText.top, rectImage.bottom);
        EXPECT_EQ(rectText.bottom, rectItem.bottom);
        EXPECT_LE(std::abs((rectText.left - 0) - (200 - rectText.right)), 1);
        CRect rectBounds;
        rectBounds.UnionRect(&rectImage, &rectText);
        EXPECT_EQ(ItemRect(m_list, nItem, LVIR_BOUNDS), rectBounds);
    }
    EXPECT_EQ(ItemRect(m_list, 0, SHBLC_ENTIREITEM).top, 2);
    EXPECT_EQ(ItemRect(m_list, 1, SHBLC_ENTIREITEM).top,
              ItemRect(m_list, 0, SHBLC_ENTIREITEM).bottom + 6);
}

TEST_F(SHBListAlone, SmallIconsStandBesideTheirTextAndTheTallerOneSetsTheHeight) {
    MakeList(CRect(0, 0, 200, 300), kListStyle | LVS_SMALLICON);
    ASSERT_EQ(m_list.GetView(), SHB_SMALLICON);
    AddItems(2);
    const CRect rectItem = ItemRect(m_list, 0, SHBLC_ENTIREITEM);
    const CRect rectImage = ItemRect(m_list, 0, LVIR_ICON);
    const CRect rectText = ItemRect(m_list, 0, LVIR_LABEL);
    EXPECT_EQ(rectImage.Size(), CSize(22, 22));
    EXPECT_EQ(rectImage.left, 0);
    EXPECT_EQ(rectText.left, rectImage.right);
    EXPECT_EQ(rectItem.Height(), std::max(rectImage.Height(), rectText.Height()));
    // The lower of the two is centred against the taller.
    if (rectText.Height() < rectImage.Height()) {
        EXPECT_EQ(rectText.top - rectImage.top, (rectImage.Height() - rectText.Height()) / 2);
    } else {
        EXPECT_EQ(rectImage.top - rectText.top, (rectText.Height() - rectImage.Height()) / 2);
    }
    EXPECT_EQ(ItemRect(m_list, 1, SHBLC_ENTIREITEM).top, rectItem.bottom + 6);
}

TEST_F(SHBListAlone, AnItemWithoutTextHasOnlyItsImage) {
    MakeList();
    ASSERT_EQ(m_list.InsertItem(0, "", 1), 0);
    const CRect rectText = ItemRect(m_list, 0, LVIR_LABEL);
    const CRect rectImage = ItemRect(m_list, 0, LVIR_ICON);
    EXPECT_TRUE(rectText.IsRectEmpty());
    EXPECT_EQ(ItemRect(m_list, 0, SHBLC_ENTIREITEM).Height(), 38);
    EXPECT_EQ(ItemRect(m_list, 0, LVIR_BOUNDS), rectImage);

    int nItem = -1;
    EXPECT_EQ(HitFlags(m_list, rectImage.CenterPoint(), &nItem), LVHT_ONITEMICON);
    EXPECT_EQ(nItem, 0);
    // Beside the image, within the item's row: the item, but outside its box,
    // which does not make it hot.
    EXPECT_EQ(HitFlags(m_list, CPoint(10, rectImage.CenterPoint().y), &nItem), SHBLC_ONITEMOUTSIDE);
    EXPECT_EQ(nItem, 0);
}

TEST_F(SHBListAlone, AnItemWithoutImageInLargeIconsIsItsTextAlone) {
    MakeList();
    ASSERT_EQ(m_list.InsertItem(0, "no image", -1), 0);
    EXPECT_EQ(m_list.GetItemImage(0), -1);
    EXPECT_TRUE(ItemRect(m_list, 0, LVIR_ICON).IsRectEmpty());
    EXPECT_EQ(ItemRect(m_list, 0, LVIR_LABEL).top, 2);
    EXPECT_EQ(ItemRect(m_list, 0, SHBLC_ENTIREITEM).Height(),
              ItemRect(m_list, 0, LVIR_LABEL).Height());
}

TEST_F(SHBListAlone, ALongTextWrapsWithinTheWidth) {
    MakeList(CRect(0, 0, 120, 300));
    ASSERT_EQ(m_list.InsertItem(0, "calls of the first week of the month", 0), 0);
    ASSERT_EQ(m_list.InsertItem(1, "short", 0), 1);
    const CRect rectLong = ItemRect(m_list, 0, LVIR_LABEL);
    const CRect rectShort = ItemRect(m_list, 1, LVIR_LABEL);
    EXPECT_LE(rectLong.Width(), 120);
    EXPECT_GE(rectLong.left, 0);
    EXPECT_GT(rectLong.Height(), rectShort.Height());
}

TEST_F(SHBListAlone, AnEmptyClientGivesEveryItemAnEmptyRectangle) {
    MakeList(CRect(0, 0, 0, 0));
    AddItems(2);
    for (int nCode : {SHBLC_ENTIREITEM, LVIR_ICON, LVIR_LABEL})
        EXPECT_TRUE(ItemRect(m_list, 1, nCode).IsRectEmpty()) << nCode;
    EXPECT_FALSE(m_list.Scroll(CSize(0, 10)));
    // Growing the window lays the items out again.
    m_list.MoveWindow(CRect(0, 0, 200, 300));
    EXPECT_EQ(ItemRect(m_list, 0, LVIR_ICON).left, 81);
}

// ---- Item rectangles and hit tests.

TEST_F(SHBListAlone, TheItemRectangleMessageAnswersKnownCodesAndIndexesOnly) {
    MakeList();
    AddItems(2);
    struct Case {
        int nItem;
        int nCode;
        BOOL bExpected;
    };
    const Case cases[] = {
        {0, SHBLC_ENTIREITEM, TRUE}, {1, LVIR_BOUNDS, TRUE},        {1, LVIR_ICON, TRUE},
        {1, LVIR_LABEL, TRUE},       {1, LVIR_SELECTBOUNDS, FALSE}, {0, 7, FALSE},
        {2, LVIR_BOUNDS, FALSE},     {-1, LVIR_BOUNDS, FALSE},
    };
    for (const Case& c : cases) {
        CRect rect;
        EXPECT_EQ(ItemRectByMessage(m_list, c.nItem, c.nCode, rect), c.bExpected)
            << c.nItem << " " << c.nCode;
        if (c.bExpected) {
            EXPECT_EQ(rect, ItemRect(m_list, c.nItem, c.nCode));
        }
    }
    POINT point = {-1, -1};
    EXPECT_TRUE(m_list.GetItemPosition(1, &point));
    EXPECT_EQ(CPoint(point), ItemRect(m_list, 1, SHBLC_ENTIREITEM).TopLeft());
    EXPECT_FALSE(m_list.GetItemPosition(5, &point));
}

TEST_F(SHBListAlone, HitTestsNameThePartOfTheItemAndTheGapHitsNothing) {
    MakeList();
    // Texts wider than the images, so that the box of both has corners of its own.
    ASSERT_EQ(m_list.InsertItem(0, "Calls of today", 0), 0);
    ASSERT_EQ(m_list.InsertItem(1, "Calls of yesterday", 1), 1);
    const CRect rectImage = ItemRect(m_list, 1, LVIR_ICON);
    const CRect rectText = ItemRect(m_list, 1, LVIR_LABEL);
    const int nGapY = ItemRect(m_list, 0, SHBLC_ENTIREITEM).bottom + 3;
    CRect rectView;
    m_list.GetViewRect(&rectView, FALSE);
    struct Case {
        CPoint point;
        int nFlags;
        int nItem;
    };
    const Case cases[] = {
        {rectImage.CenterPoint(), LVHT_ONITEMICON, 1},
        {rectText.CenterPoint(), LVHT_ONITEMLABEL, 1},
        // Beside the image, above the text's ends: in the box of both.
        {CPoint(rectText.left + 1, rectImage.top + 1), SHBLC_ONITEMBOUNDS, 1},
        {CPoint(2, rectImage.top + 1), SHBLC_ONITEMOUTSIDE, 1},
        {CPoint(100, nGapY), LVHT_NOWHERE, -1},
        {CPoint(100, rectView.bottom + 5), LVHT_BELOW, -1},
        {CPoint(100, 0), LVHT_ABOVE, -1},
        {CPoint(-5, 50), LVHT_TOLEFT, -1},
        {CPoint(250, 350), LVHT_TORIGHT | LVHT_BELOW, -1},
    };
    for (const Case& c : cases) {
        int nItem = -2;
        EXPECT_EQ(HitFlags(m_list, c.point, &nItem), c.nFlags) << c.point.x << "," << c.point.y;
        EXPECT_EQ(nItem, c.nItem) << c.point.x << "," << c.point.y;
    }
    // The message form fills the record.
    LVHITTESTINFO info = {};
    info.pt = rectText.CenterPoint();
    EXPECT_EQ(m_list.CListCtrl::HitTest(&info), 1);
    EXPECT_EQ(info.iItem, 1);
    EXPECT_EQ(info.flags, static_cast<UINT>(LVHT_ONITEMLABEL));
}

TEST_F(SHBListAlone, FindingTheNearestItemLooksOnlyInItsDirection) {
    MakeList();
    AddItems(4);
    const CRect rect0 = ItemRect(m_list, 0, SHBLC_ENTIREITEM);
    const CRect rect2 = ItemRect(m_list, 2, SHBLC_ENTIREITEM);
    const int nGap = rect0.bottom + 3; // between items 0 and 1
    struct Case {
        int y;
        UINT vk;
        UINT flags;
        int nStart;
        int nExpected;
    };
    const Case cases[] = {
        {nGap, VK_DOWN, LVFI_NEARESTXY, -1, 1},
        {nGap, VK_UP, LVFI_NEARESTXY, -1, 0},
        {nGap, VK_LEFT, LVFI_NEARESTXY, -1, -1},
        {rect2.top + 1, VK_DOWN, LVFI_NEARESTXY, -1, 2},
        // From after item 2 on: item 2 itself is only found by wrapping.
        {rect2.top + 1, VK_LEFT, LVFI_NEARESTXY, 2, -1},
        {rect2.top + 1, VK_LEFT, LVFI_NEARESTXY | LVFI_WRAP, 2, 2},
        {nGap, VK_UP, LVFI_NEARESTXY, 0, -1},
    };
    for (const Case& c : cases) {
        LVFINDINFO info = {};
        info.flags = c.flags;
        info.pt.x = 50;
        info.pt.y = c.y;
        info.vkDirection = c.vk;
        EXPECT_EQ(m_list.FindItem(&info, c.nStart), c.nExpected) << c.y << " " << c.vk;
        // The message goes the same way.
        EXPECT_EQ(m_list.CListCtrl::FindItem(&info, c.nStart), c.nExpected);
    }
    EXPECT_EQ(m_list.GetTopIndex(), 0);
}

// ---- Extents and scrolling.

// A list that shows about two and a half of its six items.
class SHBListScrolling : public SHBListAlone {
protected:
    void SetUp() override {
        SHBListAlone::SetUp();
        MakeList(CRect(0, 0, 200, 150));
        AddItems(6);
        m_nPitch = ItemRect(m_list, 1, SHBLC_ENTIREITEM).top - 2;
    }
    int m_nPitch = 0; // from one item's top to the next one's
};

TEST_F(SHBListAlone, AListWhoseItemsAllFitShowsNoScrollButtons) {
    MakeList();
    AddItems(2);
    EXPECT_TRUE(m_list.GetUpButtonRect().IsRectEmpty());
    EXPECT_TRUE(m_list.GetDownButtonRect().IsRectEmpty());
    EXPECT_FALSE(m_list.Scroll(CSize(0, 20)));
    EXPECT_EQ(m_list.GetOrigin(), CPoint(0, 0));
}

TEST_F(SHBListScrolling, ScrollingDownOneItemShowsTheUpButtonAtTheTopRight) {
    EXPECT_TRUE(m_list.GetUpButtonRect().IsRectEmpty());
    EXPECT_EQ(m_list.GetDownButtonRect(), CRect(184, 132, 200, 148));
    EXPECT_TRUE(m_list.Scroll(CSize(0, m_nPitch)));
    EXPECT_EQ(m_list.GetOrigin(), CPoint(0, m_nPitch));
    EXPECT_EQ(m_list.GetUpButtonRect(), CRect(184, 2, 200, 18));
    EXPECT_EQ(m_list.GetTopIndex(), 1);
    EXPECT_EQ(ItemRect(m_list, 1, SHBLC_ENTIREITEM).top, 2);
    POINT point = {};
    EXPECT_TRUE(m_list.CListCtrl::GetOrigin(&point));
    EXPECT_EQ(CPoint(point), CPoint(0, m_nPitch));
    // The buttons are hit before the items under them.
    int nItem = 0;
    EXPECT_EQ(HitFlags(m_list, CPoint(190, 10), &nItem), SHBLC_ONUPBUTTON);
    EXPECT_EQ(nItem, -1);
    EXPECT_EQ(HitFlags(m_list, CPoint(190, 140), &nItem), SHBLC_ONDOWNBUTTON);
    EXPECT_NE(HitFlags(m_list, CPoint(190, 140), &nItem, TRUE), SHBLC_ONDOWNBUTTON);
}

TEST_F(SHBListScrolling, ScrollingUpAtTheStartChangesNothing) {
    EXPECT_FALSE(m_list.Scroll(CSize(0, -10)));
    EXPECT_EQ(m_list.GetOrigin(), CPoint(0, 0));
    // Sideways there is nothing to scroll either.
    EXPECT_FALSE(m_list.Scroll(CSize(15, 0)));
    EXPECT_EQ(m_list.GetOrigin(), CPoint(0, 0));
}

TEST_F(SHBListScrolling, ScrollingStopsWhenTheLastPageStartsWithItsFirstItem) {
    EXPECT_TRUE(m_list.Scroll(CSize(0, 100000)));
    const CPoint ptEnd = m_list.GetOrigin();
    EXPECT_GT(ptEnd.y, 0);
    EXPECT_TRUE(m_list.GetDownButtonRect().IsRectEmpty());
    EXPECT_FALSE(m_list.Scroll(CSize(0, 1)));
    // The last item is entirely visible; going back up by more than there is
    // stops at the start.
    CRect rectVisible;
    m_list.GetViewRect(&rectVisible, TRUE);
    rectVisible.OffsetRect(0, -ptEnd.y);
    const CRect rectLast = ItemRect(m_list, 5, SHBLC_ENTIREITEM);
    EXPECT_LE(rectLast.bottom, rectVisible.bottom);
    EXPECT_TRUE(m_list.Scroll(CSize(0, -100000)));
    EXPECT_EQ(m_list.GetOrigin(), CPoint(0, 0));
}

TEST_F(SHBListScrolling, TheViewRectanglesCoverAllItemsOrTheVisiblePart) {
    CRect rectView;
    ASSERT_TRUE(m_list.GetViewRect(&rectView, FALSE));
    EXPECT_EQ(rectView, CRect(0, 2, 200, ItemRect(m_list, 5, SHBLC_ENTIREITEM).bottom));
    CRect rectMessage;
    EXPECT_TRUE(m_list.CListCtrl::GetViewRect(&rectMessage));
    EXPECT_EQ(rectMessage, rectView);
    CRect rectVisible;
    m_list.GetViewRect(&rectVisible, TRUE);
    EXPECT_EQ(rectVisible, CRect(0, 2, 200, 148));
    m_list.Scroll(CSize(0, m_nPitch));
    m_list.GetViewRect(&rectVisible, TRUE);
    EXPECT_EQ(rectVisible, CRect(0, 2 + m_nPitch, 200, 148 + m_nPitch));
}

TEST_F(SHBListScrolling, CountingAndEnsuringVisibilityFollowTheVisibleView) {
    // 146 visible pixels hold two whole items and the top of a third.
    EXPECT_EQ(m_list.GetCountPerPage(), 3);
    EXPECT_EQ(m_list.CListCtrl::GetCountPerPage(), 3);
    EXPECT_FALSE(m_list.EnsureVisible(6, FALSE));
    EXPECT_FALSE(m_list.EnsureVisible(-1, TRUE));
    // Partly visible is enough when allowed, without scrolling.
    EXPECT_TRUE(m_list.EnsureVisible(2, TRUE));
    EXPECT_EQ(m_list.GetOrigin(), CPoint(0, 0));
    // Below the view: scrolled until its bottom is in.
    EXPECT_TRUE(m_list.EnsureVisible(4, FALSE));
    CRect rect = ItemRect(m_list, 4, SHBLC_ENTIREITEM);
    EXPECT_EQ(rect.bottom, 148);
    // Above the view: scrolled until its top is in, through the message too.
    EXPECT_TRUE(m_list.CListCtrl::EnsureVisible(0, FALSE));
    EXPECT_EQ(m_list.GetOrigin(), CPoint(0, 0));
}

TEST_F(SHBListScrolling, AnItemTallerThanTheViewIsVisibleOnlyInPart) {
    m_list.MoveWindow(CRect(0, 0, 200, 40));
    EXPECT_FALSE(m_list.EnsureVisible(3, FALSE));
    EXPECT_TRUE(m_list.EnsureVisible(3, TRUE));
    CRect rect = ItemRect(m_list, 3, SHBLC_ENTIREITEM);
    EXPECT_LT(rect.top, 38);
    EXPECT_GT(rect.bottom, 2);
}

TEST_F(SHBListScrolling, TheScrollButtonsStepByWholeItemsAndStopWithTheTimer) {
    m_list.StartScrolling(FALSE);
    EXPECT_EQ(m_list.GetTopIndex(), 1);
    EXPECT_EQ(ItemRect(m_list, 1, SHBLC_ENTIREITEM).top, 2);
    m_list.StopScrolling();
    m_list.StartScrolling(FALSE);
    EXPECT_EQ(m_list.GetTopIndex(), 2);
    m_list.StartScrolling(TRUE);
    EXPECT_EQ(m_list.GetTopIndex(), 1);
    EXPECT_EQ(ItemRect(m_list, 1, SHBLC_ENTIREITEM).top, 2);
    m_list.StopScrolling();
    // The timer is gone with the scrolling.
    EXPECT_FALSE(m_list.KillTimer(SHBLC_IDTSCROLL));
    // The message forms scroll as the operation does.
    EXPECT_TRUE(m_list.CListCtrl::Scroll(CSize(0, -m_nPitch)));
    EXPECT_EQ(m_list.GetOrigin(), CPoint(0, 0));
}

TEST_F(SHBListScrolling, AResizeMovesTheButtonsAndANewWidthCentresTheItemsAgain) {
    const CRect rectBefore = ItemRect(m_list, 5, SHBLC_ENTIREITEM);
    m_list.MoveWindow(CRect(0, 0, 200, 400));
    EXPECT_EQ(ItemRect(m_list, 5, SHBLC_ENTIREITEM), rectBefore);
    EXPECT_TRUE(m_list.GetDownButtonRect().IsRectEmpty());
    m_list.MoveWindow(CRect(0, 0, 200, 100));
    EXPECT_EQ(m_list.GetDownButtonRect(), CRect(184, 82, 200, 98));
    m_list.MoveWindow(CRect(0, 0, 300, 100));
    EXPECT_EQ(ItemRect(m_list, 5, LVIR_ICON).left, 131);
    EXPECT_EQ(m_list.GetDownButtonRect(), CRect(284, 82, 300, 98));
}

TEST_F(SHBListScrolling, ADeleteThatLeavesNothingAtTheTopScrollsBackToTheStart) {
    ASSERT_TRUE(m_list.Scroll(CSize(0, 100000)));
    for (int nItem = 5; nItem >= 1; nItem--)
        ASSERT_TRUE(m_list.DeleteItem(nItem));
    EXPECT_EQ(m_list.GetOrigin(), CPoint(0, 0));
    EXPECT_EQ(m_list.GetTopIndex(), 0);
    EXPECT_TRUE(m_list.GetUpButtonRect().IsRectEmpty());
}

TEST_F(SHBListScrolling, AChangeOfViewScrollsBackToTheStart) {
    ASSERT_TRUE(m_list.Scroll(CSize(0, m_nPitch)));
    m_list.SendMessage(SHBM_SHBINFOCHANGED, 0, SHBIF_VIEW);
    EXPECT_EQ(m_list.GetOrigin(), CPoint(0, 0));
    EXPECT_TRUE(m_list.GetUpButtonRect().IsRectEmpty());
}

// ---- Hot, pressed and selected items.

int CALLBACK CompareNothing(LPARAM, LPARAM, LPARAM) {
    return 0;
}

TEST_F(SHBListAlone, EachItemStateAsksTheOwnerAndAVetoKeepsTheOldValue) {
    MakeList();
    AddItems(3);
    struct Case {
        UINT nCode;
        int (*pfnSet)(COXSHBListCtrl&, int);
        int (*pfnGet)(const COXSHBListCtrl&);
    };
    const Case cases[] = {
        {SHBN_HOTITEM, [](COXSHBListCtrl& l, int n) { return l.SetHotItem(n); },
         [](const COXSHBListCtrl& l) { return l.GetHotItem(); }},
        {SHBN_PRESSITEM, [](COXSHBListCtrl& l, int n) { return l.SetPressedItem(n); },
         [](const COXSHBListCtrl& l) { return l.GetPressedItem(); }},
        {SHBN_SELECTITEM, [](COXSHBListCtrl& l, int n) { return l.SelectItem(n); },
         [](const COXSHBListCtrl& l) { return l.GetSelectedItem(); }},
    };
    for (const Case& c : cases) {
        m_owner.Clear();
        EXPECT_EQ(c.pfnSet(m_list, 1), -1) << c.nCode;
        EXPECT_EQ(c.pfnGet(m_list), 1);
        ASSERT_EQ(m_owner.Count(c.nCode), 1);
        const CShortcutBarOwner::Seen* pSeen = m_owner.Last(c.nCode);
        EXPECT_EQ(pSeen->hwndFrom, m_list.m_hWnd);
        EXPECT_EQ(pSeen->idFrom, kListID);
        EXPECT_EQ(pSeen->hGroup, nullptr);
        EXPECT_EQ(pSeen->nItem, 1);
        // The same value again asks nothing.
        EXPECT_EQ(c.pfnSet(m_list, 1), 1);
        EXPECT_EQ(m_owner.Count(c.nCode), 1);
        // A veto keeps the value and answers it.
        m_owner.Answer(c.nCode, 1);
        EXPECT_EQ(c.pfnSet(m_list, 2), 1);
        EXPECT_EQ(c.pfnGet(m_list), 1);
        m_owner.Answer(c.nCode, 0);
        EXPECT_EQ(c.pfnSet(m_list, -1), 1);
        EXPECT_EQ(c.pfnGet(m_list), -1);
        EXPECT_EQ(m_owner.Last(c.nCode)->nItem, -1);
    }
    // The hot item remembers the one before; the message forms agree.
    EXPECT_EQ(m_list.SetHotItem(2), -1);
    EXPECT_EQ(m_list.SetHotItem(0), 2);
    EXPECT_EQ(m_list.GetLastHotItem(), 2);
    EXPECT_EQ(m_list.CListCtrl::GetHotItem(), 0);
    EXPECT_EQ(m_list.CListCtrl::SetHotItem(1), 0);
    EXPECT_EQ(m_list.GetHotItem(), 1);
}

TEST_F(SHBListAlone, InsertsAndDeletesKeepThePressedAndSelectedItems) {
    MakeList();
    struct Case {
        const char* pszName;
        int nSelected;
        BOOL bInsert; // else delete
        int nIndex;
        int nExpected;
    };
    const Case cases[] = {
        {"delete the selected item", 2, FALSE, 2, -1},
        {"delete an item before it", 2, FALSE, 0, 1},
        {"delete an item after it", 2, FALSE, 3, 2},
        {"insert before it", 2, TRUE, 1, 3},
        {"insert at it", 2, TRUE, 2, 3},
        {"insert after it", 2, TRUE, 3, 2},
    };
    for (const Case& c : cases) {
        m_list.DeleteAllItems();
        AddItems(4);
        m_list.SelectItem(c.nSelected);
        m_list.SetPressedItem(c.nSelected);
        m_owner.Clear();
        if (c.bInsert) {
            EXPECT_EQ(m_list.InsertItem(c.nIndex, "new", 0), c.nIndex) << c.pszName;
            ASSERT_EQ(m_owner.Count(SHBN_INSERTITEM), 1) << c.pszName;
            EXPECT_EQ(m_owner.Last(SHBN_INSERTITEM)->nItem, c.nIndex);
            EXPECT_NE(m_owner.Last(SHBN_INSERTITEM)->lParam, 0);
        } else {
            EXPECT_TRUE(m_list.DeleteItem(c.nIndex)) << c.pszName;
            ASSERT_EQ(m_owner.Count(SHBN_DELETEITEM), 1) << c.pszName;
            EXPECT_EQ(m_owner.Last(SHBN_DELETEITEM)->nItem, c.nIndex);
        }
        EXPECT_EQ(m_list.GetSelectedItem(), c.nExpected) << c.pszName;
        EXPECT_EQ(m_list.GetPressedItem(), c.nExpected) << c.pszName;
    }
    // Deleting everything or sorting forgets both.
    m_list.SelectItem(1);
    m_owner.Clear();
    EXPECT_TRUE(m_list.DeleteAllItems());
    EXPECT_EQ(m_owner.Count(SHBN_DELETEALLITEMS), 1);
    EXPECT_EQ(m_list.GetSelectedItem(), -1);
    AddItems(3);
    m_list.SelectItem(1);
    m_list.SetPressedItem(1);
    EXPECT_TRUE(m_list.SortItems(&CompareNothing, 0));
    EXPECT_EQ(m_list.GetSelectedItem(), -1);
    EXPECT_EQ(m_list.GetPressedItem(), -1);
}

TEST_F(SHBListAlone, ANewTextLaysTheItemsOutAgain) {
    MakeList();
    AddItems(2);
    const int nTop = ItemRect(m_list, 1, SHBLC_ENTIREITEM).top;
    ASSERT_TRUE(m_list.SetItemText(0, 0, "a text long enough to need a second and a third line"));
    EXPECT_GT(ItemRect(m_list, 1, SHBLC_ENTIREITEM).top, nTop);
    ASSERT_TRUE(m_list.SetItem(0, 0, LVIF_TEXT, "short", 0, 0, 0, 0));
    EXPECT_EQ(ItemRect(m_list, 1, SHBLC_ENTIREITEM).top, nTop);
}

TEST_F(SHBListAlone, RepaintingItemsNeedsItemsThatExist) {
    MakeList();
    AddItems(3);
    EXPECT_TRUE(m_list.UpdateItem(2));
    EXPECT_FALSE(m_list.UpdateItem(3));
    EXPECT_FALSE(m_list.UpdateItem(-1));
    EXPECT_TRUE(m_list.RedrawItems(0, 2));
    EXPECT_FALSE(m_list.RedrawItems(1, 3));
    EXPECT_TRUE(m_list.CListCtrl::RedrawItems(0, 1));
    EXPECT_TRUE(m_list.Update(1));
    EXPECT_FALSE(m_list.Update(9));
}

TEST_F(SHBListAlone, TheDragImageAndLabelEditMessagesAreTheListsOwn) {
    MakeList(CRect(0, 0, 200, 300), kListStyle | LVS_EDITLABELS);
    ASSERT_EQ(m_list.InsertItem(0, "Calls of today", 0), 0);
    POINT point = {-1, -1};
    HIMAGELIST hImageList = reinterpret_cast<HIMAGELIST>(
        m_list.SendMessage(LVM_CREATEDRAGIMAGE, 0, reinterpret_cast<LPARAM>(&point)));
    ASSERT_NE(hImageList, nullptr);
    const CRect rectBounds = ItemRect(m_list, 0, LVIR_BOUNDS);
    EXPECT_EQ(CPoint(point), rectBounds.TopLeft());
    int cx = 0, cy = 0;
    EXPECT_TRUE(ImageList_GetIconSize(hImageList, &cx, &cy));
    EXPECT_EQ(CSize(cx, cy), rectBounds.Size());
    EXPECT_TRUE(ImageList_Destroy(hImageList));
    EXPECT_EQ(m_list.SendMessage(LVM_CREATEDRAGIMAGE, 5, 0), 0);

    HWND hWndEdit = reinterpret_cast<HWND>(m_list.SendMessage(LVM_EDITLABELA, 0));
    ASSERT_EQ(hWndEdit, m_list.GetEditControl()->m_hWnd);
    EXPECT_TRUE(::IsWindowVisible(hWndEdit));
    EXPECT_EQ(m_list.GetEditItem(), 0);
    m_list.GetEditControl()->FinishEdit(FALSE);
    EXPECT_EQ(m_list.GetEditItem(), -1);
}

// ---- Settings of a list on its own.

TEST_F(SHBListAlone, ItsBarStyleComesFromItsWindowStyles) {
    struct Case {
        DWORD dwStyle;
        DWORD dwExStyle;
        DWORD dwExpected;
    };
    const Case cases[] = {
        {0, 0, 0},
        {LVS_NOSCROLL, 0, SHBS_NOSCROLL},
        {LVS_EDITLABELS, 0, SHBS_EDITITEMS},
        {LVS_SHOWSELALWAYS, 0, SHBS_SHOWACTIVEALWAYS},
        {0, 0x0800, SHBS_UNDERLINEHOTITEM},
        {0, 0x0400, SHBS_INFOTIP},
        {LVS_NOSCROLL | LVS_EDITLABELS, 0x0C00,
         SHBS_NOSCROLL | SHBS_EDITITEMS | SHBS_UNDERLINEHOTITEM | SHBS_INFOTIP},
    };
    for (const Case& c : cases) {
        COXSHBListCtrl list;
        ASSERT_TRUE(list.Create(WS_CHILD | c.dwStyle, CRect(0, 0, 100, 100), &m_owner, 7));
        if (c.dwExStyle != 0)
            list.ModifyStyleEx(0, c.dwExStyle);
        EXPECT_EQ(list.GetBarStyle(), c.dwExpected) << std::hex << c.dwStyle << " " << c.dwExStyle;
        EXPECT_EQ(list.GetShortcutBar(), nullptr);
        EXPECT_EQ(list.GetShortcutBarSkin(), nullptr);
    }
}

TEST_F(SHBListAlone, ItsViewColoursAndDelaysAreItsOwn) {
    MakeList(CRect(0, 0, 200, 300), kListStyle | LVS_SMALLICON);
    EXPECT_EQ(m_list.GetView(), SHB_SMALLICON);
    // The control itself stays in icon view without scroll bars of its own.
    EXPECT_EQ(m_list.GetStyle() & LVS_TYPEMASK, static_cast<DWORD>(LVS_ICON));
    EXPECT_TRUE(m_list.GetStyle() & LVS_NOSCROLL);
    EXPECT_EQ(m_list.GetBarStyle() & SHBS_NOSCROLL, 0u);
    EXPECT_TRUE(m_list.CListCtrl::SetBkColor(RGB(10, 20, 30)));
    EXPECT_EQ(m_list.GetBkColor(), RGB(10, 20, 30));
    EXPECT_TRUE(m_list.CListCtrl::SetTextColor(RGB(1, 2, 3)));
    EXPECT_EQ(m_list.GetTextColor(), RGB(1, 2, 3));
    EXPECT_TRUE(m_list.SetTextBkColor(RGB(4, 5, 6)));
    EXPECT_EQ(m_list.GetTextBkColor(), RGB(4, 5, 6));
    EXPECT_EQ(m_list.GetScrollButtonSize(), CSize(16, 16));
    EXPECT_EQ(m_list.GetScrollingDelay(), 200u);
    EXPECT_EQ(m_list.GetAutoScrollingDelay(), 400u);
    LOGFONT logFont = {};
    ASSERT_TRUE(m_list.GetItemFont(&logFont));
    EXPECT_STREQ(logFont.lfFaceName, "Tahoma");
    EXPECT_GE(COXSHBListCtrl::GetComCtlVersion(), 0x00040000u);
    // The in-place editor exists, hidden, from the start.
    ASSERT_NE(m_list.GetEditControl()->m_hWnd, nullptr);
    EXPECT_FALSE(m_list.GetEditControl()->IsWindowVisible());
    EXPECT_EQ(m_list.GetEditControl()->GetDlgCtrlID(), SHB_IDCEDIT);
    EXPECT_EQ(reinterpret_cast<HWND>(m_list.SendMessage(LVM_GETEDITCONTROL)),
              m_list.GetEditControl()->m_hWnd);
}

TEST_F(SHBListAlone, AnAttachedControlIsInitialisedAndKeepsItsStyles) {
    HWND hWnd = ::CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | LVS_SMALLICON | LVS_EDITLABELS, 0,
                                  0, 150, 150, m_owner.m_hWnd, nullptr, nullptr, nullptr);
    ASSERT_NE(hWnd, nullptr);
    ASSERT_TRUE(m_list.SubclassWindow(hWnd));
    EXPECT_EQ(m_list.GetView(), SHB_SMALLICON);
    EXPECT_EQ(m_list.GetBarStyle(), static_cast<DWORD>(SHBS_EDITITEMS));
    EXPECT_EQ(m_list.GetStyle() & LVS_TYPEMASK, static_cast<DWORD>(LVS_ICON));
    ASSERT_NE(m_list.GetEditControl()->m_hWnd, nullptr);
    EXPECT_EQ(::GetParent(m_list.GetEditControl()->m_hWnd), hWnd);
}

TEST_F(SHBListAlone, WithoutScrollButtonsTheirPlacesHoldItems) {
    MakeList(CRect(0, 0, 200, 150), kListStyle | LVS_NOSCROLL);
    AddItems(6);
    ASSERT_TRUE(m_list.Scroll(CSize(0, 10)));
    int nItem = -1;
    EXPECT_NE(HitFlags(m_list, CPoint(190, 140), &nItem), SHBLC_ONDOWNBUTTON);
    CTraceCapture trace;
    CClientDC dc(&m_list);
    m_list.DrawScrollButtons(&dc);
    EXPECT_TRUE(trace.Holds("COXSHBListCtrl::DrawScrollButtons: scroll buttons won't be displayed "
                            "- SHBS_NOSCROLL style is set"));
}

// A list whose editor or drop target cannot be had.
class CFailingList : public COXSHBListCtrl {
public:
    BOOL m_bFailEdit = FALSE;
    BOOL CreateEditControl() override {
        return m_bFailEdit ? FALSE : COXSHBListCtrl::CreateEditControl();
    }
    COleDropTarget* GetDropTarget() override { return nullptr; }
};

TEST_F(SHBListAlone, WithoutADropTargetTheListStillWorksAndSaysWhy) {
    CTraceCapture trace;
    CFailingList list;
    ASSERT_TRUE(list.Create(kListStyle, CRect(0, 0, 100, 100), &m_owner, 5));
    EXPECT_TRUE(trace.Holds("COXSHBListCtrl::InitListControl: failed to register the control with "
                            "COleDropTarget"));
    EXPECT_TRUE(trace.Holds("COXSHBListCtrl: you've probably forgot to initialize OLE libraries "
                            "using AfxOleInit function"));
}

TEST_F(SHBListAlone, WithoutAnEditorCreationFailsAndLeavesNoWindow) {
    CTraceCapture trace;
    CFailingList list;
    list.m_bFailEdit = TRUE;
    EXPECT_FALSE(list.Create(kListStyle, CRect(0, 0, 100, 100), &m_owner, 5));
    EXPECT_EQ(list.m_hWnd, nullptr);
    EXPECT_EQ(::GetDlgItem(m_owner.m_hWnd, 5), nullptr);
    EXPECT_TRUE(trace.Holds("COXSHBListCtrl::InitListControl: failed to create edit control"));
    EXPECT_TRUE(trace.Holds("COXSHBListCtrl::Create: failed to initialize list control"));
}

// ---- Tooltips.

TEST_F(SHBListAlone, TooltipsNameTheItemUnderTheMouseWithInfoTipsOnly) {
    MakeList();
    ASSERT_EQ(m_list.InsertItem(0, "Calls of today", 0), 0);
    const CRect rectBounds = ItemRect(m_list, 0, LVIR_BOUNDS);
    TOOLINFO info = {};
    info.cbSize = sizeof(info);
    EXPECT_EQ(m_list.OnToolHitTest(rectBounds.CenterPoint(), &info), -1);
    m_list.ModifyStyleEx(0, 0x0400);
    EXPECT_EQ(m_list.OnToolHitTest(rectBounds.CenterPoint(), &info), 1);
    EXPECT_EQ(info.hwnd, m_list.m_hWnd);
    EXPECT_EQ(info.uId, 1u);
    EXPECT_EQ(CRect(info.rect), rectBounds);
    EXPECT_EQ(info.lpszText, LPSTR_TEXTCALLBACK);
    // Outside the box of image and text, or between items: no tool.
    EXPECT_EQ(m_list.OnToolHitTest(CPoint(2, rectBounds.top + 1), nullptr), -1);
    EXPECT_EQ(m_list.OnToolHitTest(CPoint(100, 250), nullptr), -1);
}

TEST_F(SHBListAlone, TheTooltipTextComesFromTheOwnerInBothCharacterSets) {
    MakeList();
    AddItems(2);
    m_owner.m_onNotify = [](NMSHORTCUTBAR& nmshb) -> LRESULT {
        if (nmshb.hdr.code != SHBN_GETITEMINFOTIP)
            return 0;
        SHBINFOTIP* pTip = reinterpret_cast<SHBINFOTIP*>(nmshb.lParam);
        lstrcpyA(pTip->szText, nmshb.nItem == 1 ? "second item" : "other");
        return 7;
    };
    // The requests come from a tooltip control, whose own id is 0.
    HWND hWndTip = ::CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP, 0, 0, 0, 0,
                                     m_owner.m_hWnd, nullptr, nullptr, nullptr);
    ASSERT_NE(hWndTip, nullptr);
    NMTTDISPINFOA infoA = {};
    infoA.hdr.hwndFrom = hWndTip;
    infoA.hdr.idFrom = 2;
    infoA.hdr.code = TTN_NEEDTEXTA;
    EXPECT_EQ(m_list.SendMessage(WM_NOTIFY, 2, reinterpret_cast<LPARAM>(&infoA)), 7);
    EXPECT_STREQ(infoA.lpszText, "second item");
    EXPECT_EQ(m_owner.Last(SHBN_GETITEMINFOTIP)->nItem, 1);

    // An owner that keeps its own text: a wide request gets a copy of it.
    static char szLong[200];
    memset(szLong, 'x', sizeof(szLong) - 1);
    szLong[sizeof(szLong) - 1] = '\0';
    m_owner.m_onNotify = [](NMSHORTCUTBAR& nmshb) -> LRESULT {
        if (nmshb.hdr.code == SHBN_GETITEMINFOTIP)
            reinterpret_cast<SHBINFOTIP*>(nmshb.lParam)->pszText = szLong;
        return 0;
    };
    NMTTDISPINFOW infoW = {};
    infoW.hdr.hwndFrom = hWndTip;
    infoW.hdr.idFrom = 1;
    infoW.hdr.code = TTN_NEEDTEXTW;
    m_list.SendMessage(WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&infoW));
    ASSERT_EQ(infoW.lpszText, infoW.szText);
    EXPECT_EQ(lstrlenW(infoW.szText), 79);
    EXPECT_EQ(infoW.szText[0], L'x');
    infoA = NMTTDISPINFOA();
    infoA.hdr.hwndFrom = hWndTip;
    infoA.hdr.idFrom = 1;
    infoA.hdr.code = TTN_NEEDTEXTA;
    m_list.SendMessage(WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&infoA));
    EXPECT_EQ(infoA.lpszText, szLong);
    ::DestroyWindow(hWndTip);
}

// ---- Painting.

// Draws one item as the list's painting does, into a canvas of the item's
// size filled with white.
void DrawItemOnCanvas(COXSHBListCtrl& list, int nItem, CCanvas& canvas) {
    const CRect rectItem = ItemRect(list, nItem, SHBLC_ENTIREITEM);
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_LISTVIEW;
    dis.itemID = static_cast<UINT>(nItem);
    dis.itemAction = ODA_DRAWENTIRE;
    dis.hwndItem = list.m_hWnd;
    dis.hDC = canvas.dc.GetSafeHdc();
    dis.rcItem = CRect(0, 0, rectItem.Width(), rectItem.Height());
    list.DrawItem(&dis);
}

const COLORREF kBack = RGB(100, 120, 140);
const COLORREF kLight = RGB(164, 184, 204); // the background shifted by +64
const COLORREF kDark = RGB(0, 0, 12);       // and by -128

class SHBListFrames : public SHBListAlone {
protected:
    void SetUp() override {
        SHBListAlone::SetUp();
        MakeList(CRect(0, 0, 200, 300), kListStyle | LVS_SHOWSELALWAYS);
        AddItems(2);
        m_list.CListCtrl::SetBkColor(kBack);
        // The frame lies one pixel inside the image rectangle.
        m_rectFrame = ItemRect(m_list, 0, LVIR_ICON);
        m_rectFrame.OffsetRect(-ItemRect(m_list, 0, SHBLC_ENTIREITEM).TopLeft());
        m_rectFrame.DeflateRect(1, 1);
    }
    // The colours of the frame's top-left and bottom-right corners.
    std::pair<COLORREF, COLORREF> Corners(int nItem) {
        const CRect rectItem = ItemRect(m_list, nItem, SHBLC_ENTIREITEM);
        CCanvas canvas(rectItem.Width(), rectItem.Height());
        DrawItemOnCanvas(m_list, nItem, canvas);
        return {canvas.dc.GetPixel(m_rectFrame.left, m_rectFrame.top),
                canvas.dc.GetPixel(m_rectFrame.right - 1, m_rectFrame.bottom - 1)};
    }
    CRect m_rectFrame;
};

TEST_F(SHBListFrames, AHotItemIsRaisedInTintsOfTheBackground) {
    ASSERT_EQ(AdjustColor(kBack, 64), kLight);
    ASSERT_EQ(AdjustColor(kBack, -128), kDark);
    m_list.SetHotItem(0);
    EXPECT_EQ(Corners(0), std::make_pair(kLight, kDark));
    // The image sits inside the frame, where it was laid out.
    const CRect rectItem = ItemRect(m_list, 0, SHBLC_ENTIREITEM);
    CCanvas canvas(rectItem.Width(), rectItem.Height());
    DrawItemOnCanvas(m_list, 0, canvas);
    EXPECT_EQ(canvas.dc.GetPixel(m_rectFrame.left + 2, m_rectFrame.top + 2), RGB(200, 0, 0));
    EXPECT_EQ(canvas.dc.GetPixel(m_rectFrame.right - 3, m_rectFrame.bottom - 3), RGB(200, 0, 0));
    EXPECT_EQ(canvas.dc.GetPixel(m_rectFrame.left + 1, m_rectFrame.top + 1), RGB(255, 255, 255));
}

TEST_F(SHBListFrames, TheSelectedItemIsSunkenOnlyWithShowSelectionAlways) {
    m_list.SelectItem(0);
    EXPECT_EQ(Corners(0), std::make_pair(kDark, kLight));
    // The hot look wins over the selected one.
    m_list.SetHotItem(0);
    EXPECT_EQ(Corners(0), std::make_pair(kLight, kDark));
    m_list.SetHotItem(-1);
    m_list.ModifyStyle(LVS_SHOWSELALWAYS, 0);
    EXPECT_EQ(Corners(0), std::make_pair(RGB(255, 255, 255), RGB(255, 255, 255)));
    // An item that is neither has no frame.
    EXPECT_EQ(Corners(1), std::make_pair(RGB(255, 255, 255), RGB(255, 255, 255)));
}

TEST_F(SHBListFrames, AnOwnerThatDrawsTheItemLeavesNothingToTheList) {
    m_list.SetHotItem(0);
    m_owner.Answer(SHBN_DRAWITEM, 1);
    const CRect rectItem = ItemRect(m_list, 0, SHBLC_ENTIREITEM);
    CCanvas canvas(rectItem.Width(), rectItem.Height());
    DrawItemOnCanvas(m_list, 0, canvas);
    const CShortcutBarOwner::Seen* pSeen = m_owner.Last(SHBN_DRAWITEM);
    ASSERT_NE(pSeen, nullptr);
    EXPECT_EQ(pSeen->nItem, 0);
    EXPECT_EQ(canvas.Count(RGB(255, 255, 255), CRect(0, 0, rectItem.Width(), rectItem.Height())),
              rectItem.Width() * rectItem.Height());
}

// Two lists side by side, large and small icons, on the screen.
TEST_F(SHBListAlone, BothViewsPaintTheirItemsOverTheBackgroundScreen) {
    MakeList(CRect(0, 0, 150, 160), kListStyle | LVS_SHOWSELALWAYS);
    COXSHBListCtrl listSmall;
    ASSERT_TRUE(listSmall.Create(kListStyle | LVS_SMALLICON, CRect(160, 0, 310, 160), &m_owner, 2));
    listSmall.SetFont(&m_font);
    listSmall.SetImageList(&m_large, LVSIL_NORMAL);
    listSmall.SetImageList(&m_small, LVSIL_SMALL);
    for (COXSHBListCtrl* pList : {&m_list, &listSmall}) {
        pList->CListCtrl::SetBkColor(kBack);
        pList->CListCtrl::SetTextColor(RGB(255, 255, 255));
        const char* texts[] = {"Inbound calls",  "Outbound calls",     "Missed calls",
                               "Recorded today", "Flagged for review", "Archived last week",
                               "Team leads"};
        for (int i = 0; i < 7; i++)
            pList->InsertItem(i, texts[i], i % 3);
    }
    m_list.SelectItem(1);
    listSmall.SelectItem(2);
    Settle();
    CRect rectOwner;
    m_owner.GetWindowRect(&rectOwner);
    const CRect rectShot(rectOwner.left, rectOwner.top, rectOwner.left + 310, rectOwner.top + 160);
    EXPECT_TRUE(SaveScreenPng(rectShot, "SHBListCtrl_views.png"));
    CCanvas canvas(310, 160);
    CaptureScreen(canvas, rectShot);
    for (COXSHBListCtrl* pList : {&m_list, &listSmall}) {
        CRect rectList;
        pList->GetWindowRect(&rectList);
        rectList.OffsetRect(-rectOwner.left, -rectOwner.top);
        // Above the first item, and between the first two, the background.
        EXPECT_EQ(canvas.dc.GetPixel(rectList.left + 5, rectList.top + 1), kBack);
        const CRect rectGap(0, ItemRect(*pList, 0, SHBLC_ENTIREITEM).bottom, 150,
                            ItemRect(*pList, 1, SHBLC_ENTIREITEM).top);
        EXPECT_EQ(canvas.dc.GetPixel(rectList.left + 5, rectList.top + rectGap.top + 2), kBack);
        // The third image in its own colour.
        const CPoint ptImage = ItemRect(*pList, 2, LVIR_ICON).CenterPoint() + rectList.TopLeft();
        EXPECT_EQ(canvas.dc.GetPixel(ptImage.x, ptImage.y), RGB(0, 0, 200));
        // The down button is there, drawn as a control, not as the background.
        const CRect rectDown = pList->GetDownButtonRect();
        ASSERT_FALSE(rectDown.IsRectEmpty());
        const CRect rectOnCanvas(rectDown.left + rectList.left, rectDown.top + rectList.top,
                                 rectDown.right + rectList.left, rectDown.bottom + rectList.top);
        EXPECT_EQ(canvas.Count(kBack, rectOnCanvas), 0);
    }
    // The selected item's sunken frame (where the list marks its selection).
    CRect rectList;
    m_list.GetWindowRect(&rectList);
    CRect rectFrame = ItemRect(m_list, 1, LVIR_ICON);
    rectFrame.OffsetRect(rectList.left - rectOwner.left, rectList.top - rectOwner.top);
    rectFrame.DeflateRect(1, 1);
    EXPECT_EQ(canvas.dc.GetPixel(rectFrame.left, rectFrame.top), kDark);
    EXPECT_EQ(canvas.dc.GetPixel(rectFrame.right - 1, rectFrame.bottom - 1), kLight);
}

// ---- Inside a bar.

const UINT kBarID = 7565;

class SHBListInBar : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(AfxOleInit());
        ASSERT_TRUE(theApp.SetCurrentSkin("Classic"));
        ASSERT_TRUE(m_owner.Make(kOwnerRect));
        ASSERT_TRUE(m_bar.Create(&m_owner, CRect(0, 0, 200, 300), 0, kBarID));
        FillImages(m_large, 32, {RGB(200, 0, 0), RGB(0, 160, 0), RGB(0, 0, 200)});
        FillImages(m_small, 16, {RGB(200, 0, 0), RGB(0, 160, 0), RGB(0, 0, 200)});
        m_hGroup = InsertGroup("Calls");
        ASSERT_NE(m_hGroup, nullptr);
        m_hOther = InsertGroup("Archive");
        ASSERT_NE(m_hOther, nullptr);
        m_pList = m_bar.GetGroupListCtrl(m_hGroup);
        ASSERT_NE(m_pList, nullptr);
        m_pList->SetImageList(&m_large, LVSIL_NORMAL);
        m_pList->SetImageList(&m_small, LVSIL_SMALL);
        m_bar.ExpandGroup(m_hGroup);
        m_owner.Clear();
    }
    void TearDown() override {
        m_bar.DestroyWindow();
        m_owner.DestroyWindow();
    }
    HSHBGROUP InsertGroup(const char* pszText) {
        SHB_GROUPINFO info;
        info.nMask = SHBIF_TEXT;
        info.pszText = const_cast<LPTSTR>(pszText);
        info.nTextMax = static_cast<int>(strlen(pszText));
        return m_bar.InsertGroup(&info);
    }
    void AddItems(int nCount) {
        for (int i = 0; i < nCount; i++) {
            const std::string sText = "Item " + std::to_string(i);
            const int nIndex = m_pList->GetItemCount();
            ASSERT_EQ(m_pList->InsertItem(nIndex, sText.c_str(), i % 3), nIndex);
        }
    }

    CShortcutBarOwner m_owner;
    COXShortcutBar m_bar;
    CImageList m_large;
    CImageList m_small;
    HSHBGROUP m_hGroup = nullptr;
    HSHBGROUP m_hOther = nullptr;
    COXSHBListCtrl* m_pList = nullptr;
};

TEST_F(SHBListInBar, AGroupListKnowsItsBarAndGroupAndFillsTheChildRectangle) {
    EXPECT_EQ(m_pList->GetShortcutBar(), &m_bar);
    EXPECT_EQ(m_pList->GetShbGroup(), m_hGroup);
    EXPECT_EQ(m_pList->GetShortcutBarSkin(), m_bar.GetShortcutBarSkin());
    CRect rectList;
    m_pList->GetWindowRect(&rectList);
    m_bar.ScreenToClient(&rectList);
    EXPECT_EQ(rectList, m_bar.GetChildWndRect());
    // A list whose parent is no bar stays on its own.
    COXSHBListCtrl lone;
    ASSERT_TRUE(lone.Create(WS_CHILD, CRect(0, 0, 50, 50), &m_owner, 9));
    lone.SendMessage(SHBM_SETSHBGROUP, 0, reinterpret_cast<LPARAM>(m_hGroup));
    EXPECT_EQ(lone.GetShortcutBar(), nullptr);
    EXPECT_EQ(lone.GetShbGroup(), nullptr);
}

TEST_F(SHBListInBar, ItsColoursAreTheGroupsAndItsTextIsNeverFilled) {
    const COLORREF clrDefault = m_bar.GetGroupBkColor(m_hGroup);
    EXPECT_EQ(m_pList->GetBkColor(), clrDefault);
    EXPECT_EQ(m_pList->GetTextBkColor(), clrDefault);
    EXPECT_EQ(m_pList->GetTextColor(), m_bar.GetGroupTextColor(m_hGroup));
    // Refused, and nothing changes.
    EXPECT_EQ(m_pList->SendMessage(LVM_SETTEXTBKCOLOR, 0, RGB(1, 2, 3)), 0);
    EXPECT_EQ(m_pList->GetTextBkColor(), clrDefault);
    EXPECT_FALSE(m_bar.HasGroupBkColor(m_hGroup));
    // The other colours go to the group.
    EXPECT_TRUE(m_pList->CListCtrl::SetBkColor(RGB(10, 20, 30)));
    EXPECT_TRUE(m_bar.HasGroupBkColor(m_hGroup));
    EXPECT_EQ(m_bar.GetGroupBkColor(m_hGroup), RGB(10, 20, 30));
    EXPECT_EQ(m_pList->GetBkColor(), RGB(10, 20, 30));
    EXPECT_EQ(m_pList->GetTextBkColor(), RGB(10, 20, 30));
    EXPECT_TRUE(m_pList->CListCtrl::SetTextColor(RGB(250, 240, 230)));
    EXPECT_EQ(m_bar.GetGroupTextColor(m_hGroup), RGB(250, 240, 230));
    EXPECT_EQ(m_pList->GetTextColor(), RGB(250, 240, 230));
    // The other group keeps its defaults.
    EXPECT_EQ(m_bar.GetGroupBkColor(m_hOther), clrDefault);
}

TEST_F(SHBListInBar, ItsStyleViewFontAndScrollingComeFromTheBar) {
    ASSERT_TRUE(m_bar.SetBarStyle(SHBS_EDITITEMS | SHBS_AUTOSCROLL | SHBS_INFOTIP));
    EXPECT_EQ(m_pList->GetBarStyle(),
              static_cast<DWORD>(SHBS_EDITITEMS | SHBS_AUTOSCROLL | SHBS_INFOTIP));
    EXPECT_EQ(m_pList->GetView(), SHB_LARGEICON);
    ASSERT_TRUE(m_bar.SetGroupView(m_hGroup, SHB_SMALLICON));
    EXPECT_EQ(m_pList->GetView(), SHB_SMALLICON);
    EXPECT_EQ(m_pList->GetScrollButtonSize(), m_bar.GetScrollButtonSize());
    EXPECT_EQ(m_pList->GetScrollingDelay(), m_bar.GetScrollingDelay());
    EXPECT_EQ(m_pList->GetAutoScrollingDelay(), m_bar.GetAutoScrollingDelay());
    // A font of the group's descriptor is the items' font.
    SHB_DESCRIPTOR descriptor;
    descriptor.nMask = SHBDM_TEXTFONT;
    descriptor.lfText.lfHeight = -20;
    lstrcpyA(descriptor.lfText.lfFaceName, "Courier New");
    ASSERT_TRUE(m_bar.SetGroupDescriptor(m_hGroup, &descriptor));
    LOGFONT logFont = {};
    ASSERT_TRUE(m_pList->GetItemFont(&logFont));
    EXPECT_EQ(logFont.lfHeight, -20);
    EXPECT_STREQ(logFont.lfFaceName, "Courier New");
}

TEST_F(SHBListInBar, AViewOrFontChangeOfTheGroupLaysTheItemsOutAgain) {
    AddItems(2);
    EXPECT_EQ(ItemRect(*m_pList, 0, LVIR_ICON).Size(), CSize(38, 38));
    const int nSmallTop = ItemRect(*m_pList, 1, SHBLC_ENTIREITEM).top;
    ASSERT_TRUE(m_bar.SetGroupView(m_hGroup, SHB_SMALLICON));
    EXPECT_EQ(ItemRect(*m_pList, 0, LVIR_ICON).Size(), CSize(22, 22));
    EXPECT_EQ(ItemRect(*m_pList, 0, LVIR_ICON).left, 0);
    EXPECT_LT(ItemRect(*m_pList, 1, SHBLC_ENTIREITEM).top, nSmallTop);
    const int nTextHeight = ItemRect(*m_pList, 1, LVIR_LABEL).Height();
    SHB_DESCRIPTOR descriptor;
    descriptor.nMask = SHBDM_TEXTFONT;
    descriptor.lfText.lfHeight = -40;
    lstrcpyA(descriptor.lfText.lfFaceName, "Tahoma");
    ASSERT_TRUE(m_bar.SetGroupDescriptor(m_hGroup, &descriptor));
    EXPECT_GT(ItemRect(*m_pList, 1, LVIR_LABEL).Height(), nTextHeight);
}

TEST_F(SHBListInBar, ItsNotificationsComeFromTheBarWithTheGroup) {
    AddItems(2);
    m_owner.Clear();
    m_pList->SetHotItem(1);
    m_pList->SelectItem(0);
    m_pList->DeleteItem(1);
    for (UINT nCode : {SHBN_HOTITEM, SHBN_SELECTITEM, SHBN_DELETEITEM}) {
        const CShortcutBarOwner::Seen* pSeen = m_owner.Last(nCode);
        ASSERT_NE(pSeen, nullptr) << std::hex << nCode;
        EXPECT_EQ(pSeen->hwndFrom, m_bar.m_hWnd);
        EXPECT_EQ(pSeen->idFrom, kBarID);
        EXPECT_EQ(pSeen->hGroup, m_hGroup);
    }
    EXPECT_EQ(m_owner.Last(SHBN_HOTITEM)->nItem, 1);
    EXPECT_EQ(m_owner.Last(SHBN_DELETEITEM)->nItem, 1);
}

TEST_F(SHBListInBar, AListInABarLaysOutHitTestsAndScrolls) {
    AddItems(8);
    CRect rectClient;
    m_pList->GetClientRect(&rectClient);
    const int nWidth = rectClient.Width();
    const CRect rectImage = ItemRect(*m_pList, 0, LVIR_ICON);
    EXPECT_EQ(rectImage.left, (nWidth - 38) / 2);
    int nItem = -1;
    EXPECT_EQ(HitFlags(*m_pList, ItemRect(*m_pList, 1, LVIR_LABEL).CenterPoint(), &nItem),
              LVHT_ONITEMLABEL);
    EXPECT_EQ(nItem, 1);
    // Eight items do not fit: the down button, and scrolling shows the up one.
    const CRect rectDown = m_pList->GetDownButtonRect();
    EXPECT_EQ(rectDown, CRect(nWidth - 16, rectClient.bottom - 18, nWidth, rectClient.bottom - 2));
    m_pList->StartScrolling(FALSE);
    m_pList->StopScrolling();
    EXPECT_EQ(m_pList->GetTopIndex(), 1);
    EXPECT_EQ(m_pList->GetUpButtonRect(), CRect(nWidth - 16, 2, nWidth, 18));
    // With SHBS_NOSCROLL the buttons are not hit (and the bar tells the list).
    ASSERT_TRUE(m_bar.SetBarStyle(SHBS_NOSCROLL));
    EXPECT_NE(HitFlags(*m_pList, CPoint(nWidth - 8, 10)), SHBLC_ONUPBUTTON);
}

// The frame of item 0 drawn as the list paints it: its top-left corner, the
// pixel inside that, and its bottom-right corner.
struct FramePixels {
    COLORREF clrTopLeft;
    COLORREF clrInside;
    COLORREF clrBottomRight;
};
FramePixels DrawnFrame(COXSHBListCtrl& list) {
    const CRect rectItem = ItemRect(list, 0, SHBLC_ENTIREITEM);
    CRect rectFrame = ItemRect(list, 0, LVIR_ICON);
    rectFrame.OffsetRect(-rectItem.TopLeft());
    rectFrame.DeflateRect(1, 1);
    CCanvas canvas(rectItem.Width(), rectItem.Height());
    DrawItemOnCanvas(list, 0, canvas);
    return {canvas.dc.GetPixel(rectFrame.left, rectFrame.top),
            canvas.dc.GetPixel(rectFrame.left + 1, rectFrame.top + 1),
            canvas.dc.GetPixel(rectFrame.right - 1, rectFrame.bottom - 1)};
}

TEST_F(SHBListInBar, UnderClassicTheSkinTintsTheFramesFromTheGroupsColour) {
    AddItems(2);
    ASSERT_TRUE(m_bar.SetBarStyle(SHBS_SHOWACTIVEALWAYS));
    ASSERT_TRUE(m_bar.SetGroupBkColor(m_hGroup, kBack));
    m_pList->SetHotItem(0);
    FramePixels pixels = DrawnFrame(*m_pList);
    EXPECT_EQ(pixels.clrTopLeft, kLight);
    EXPECT_EQ(pixels.clrBottomRight, kDark);
    m_pList->SetHotItem(-1);
    m_pList->SelectItem(0);
    pixels = DrawnFrame(*m_pList);
    EXPECT_EQ(pixels.clrTopLeft, kDark);
    EXPECT_EQ(pixels.clrBottomRight, kLight);
}

TEST_F(SHBListInBar, UnderOffice2003TheFramesAreFlatInTheSkinsColours) {
    ASSERT_TRUE(theApp.SetCurrentSkin("Office 2003"));
    const COXSkinXP* pSkin = dynamic_cast<const COXSkinXP*>(theApp.GetCurrentSkin());
    ASSERT_NE(pSkin, nullptr);
    AddItems(2);
    ASSERT_TRUE(m_bar.SetBarStyle(SHBS_SHOWACTIVEALWAYS));
    m_pList->SetHotItem(0);
    FramePixels pixels = DrawnFrame(*m_pList);
    EXPECT_EQ(pixels.clrTopLeft, pSkin->GetBorderColor());
    EXPECT_EQ(pixels.clrBottomRight, pSkin->GetBorderColor());
    EXPECT_EQ(pixels.clrInside, pSkin->GetHotColor());
    m_pList->SetHotItem(-1);
    m_pList->SelectItem(0);
    pixels = DrawnFrame(*m_pList);
    EXPECT_EQ(pixels.clrTopLeft, pSkin->GetBorderColor());
    EXPECT_EQ(pixels.clrInside, pSkin->GetCheckedColor());
    ASSERT_TRUE(theApp.SetCurrentSkin("Classic"));
}

TEST_F(SHBListInBar, TheGroupListPaintsUnderTheClassicSkinScreen) {
    AddItems(4);
    m_pList->CListCtrl::SetBkColor(kBack);
    m_pList->CListCtrl::SetTextColor(RGB(255, 255, 255));
    m_pList->SelectItem(0);
    m_bar.UpdateBar();
    Settle();
    CRect rectList;
    m_pList->GetWindowRect(&rectList);
    CRect rectBar;
    m_bar.GetWindowRect(&rectBar);
    EXPECT_TRUE(SaveScreenPng(rectBar, "SHBListCtrl_bar_classic.png"));
    CCanvas canvas(rectList.Width(), rectList.Height());
    CaptureScreen(canvas, rectList);
    EXPECT_EQ(canvas.dc.GetPixel(5, 1), kBack);
    const CPoint ptImage = ItemRect(*m_pList, 1, LVIR_ICON).CenterPoint();
    EXPECT_EQ(canvas.dc.GetPixel(ptImage.x, ptImage.y), RGB(0, 160, 0));
}

TEST_F(SHBListInBar, UnderOffice2003TheListContinuesTheBarsGradientScreen) {
    ASSERT_TRUE(theApp.SetCurrentSkin("Office 2003"));
    AddItems(3);
    // The 2003 layout: all headers at the bottom, the title band at the top.
    m_bar.CalculateBoundRects();
    m_bar.UpdateBar();
    Settle();
    CRect rectBar;
    m_bar.GetWindowRect(&rectBar);
    EXPECT_TRUE(SaveScreenPng(rectBar, "SHBListCtrl_bar_2003.png"));
    CRect rectList;
    m_pList->GetWindowRect(&rectList);
    CCanvas canvas(rectList.Width(), rectList.Height());
    CaptureScreen(canvas, rectList);
    // Light at the bar's top-left corner, dark towards the bottom.
    const COLORREF clrTop = canvas.dc.GetPixel(1, 1);
    const COLORREF clrBottom = canvas.dc.GetPixel(1, rectList.Height() - 2);
    EXPECT_NE(clrTop, clrBottom);
    EXPECT_GT(GetRValue(clrTop) + GetGValue(clrTop) + GetBValue(clrTop),
              GetRValue(clrBottom) + GetGValue(clrBottom) + GetBValue(clrBottom));
    const CPoint ptImage = ItemRect(*m_pList, 2, LVIR_ICON).CenterPoint();
    EXPECT_EQ(canvas.dc.GetPixel(ptImage.x, ptImage.y), RGB(0, 0, 200));
    ASSERT_TRUE(theApp.SetCurrentSkin("Classic"));
}

// ---- Real input.

CPoint OnScreen(const CWnd& wnd, CPoint point) {
    wnd.ClientToScreen(&point);
    return point;
}

void MoveTo(const CWnd& wnd, CPoint point) {
    SendMouseMove(OnScreen(wnd, point));
    Pump(100);
}

void Press(const CWnd& wnd, CPoint point) {
    MoveTo(wnd, point);
    SendMouseButton(MOUSEEVENTF_LEFTDOWN);
    Pump(100);
}

void Release() {
    SendMouseButton(MOUSEEVENTF_LEFTUP);
    Pump(100);
}

// A list on its own in an owner that also records the context menus it is asked for.
class CMenuRecordingOwner : public CShortcutBarOwner {
public:
    std::vector<std::pair<HWND, CPoint>> m_menus;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CONTEXTMENU) {
            m_menus.push_back(
                {reinterpret_cast<HWND>(wParam),
                 CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)))});
            return 0;
        }
        return CShortcutBarOwner::WindowProc(message, wParam, lParam);
    }
};

class SHBListInput : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(AfxOleInit());
        ASSERT_TRUE(m_owner.Make(kOwnerRect));
        FillImages(m_large, 32, {RGB(200, 0, 0), RGB(0, 160, 0), RGB(0, 0, 200)});
        FillImages(m_small, 16, {RGB(200, 0, 0), RGB(0, 160, 0), RGB(0, 0, 200)});
        // Start with the cursor and the button away from the lists.
        SendMouseMove(CPoint(kOwnerRect.right + 100, kOwnerRect.bottom + 100), MOUSEEVENTF_LEFTUP);
        Pump(100);
    }
    void TearDown() override {
        SendMouseMove(CPoint(kOwnerRect.right + 100, kOwnerRect.bottom + 100), MOUSEEVENTF_LEFTUP);
        Pump(100);
        m_list.DestroyWindow();
        m_owner.DestroyWindow();
    }
    void MakeList(DWORD dwStyle, const CRect& rect = CRect(0, 0, 200, 150)) {
        ASSERT_TRUE(m_list.Create(kListStyle | dwStyle, rect, &m_owner, kListID));
        m_list.SetImageList(&m_large, LVSIL_NORMAL);
        m_list.SetImageList(&m_small, LVSIL_SMALL);
        m_list.CListCtrl::SetBkColor(kBack);
        for (int i = 0; i < 12; i++) {
            const std::string sText = "Call list " + std::to_string(i);
            ASSERT_EQ(m_list.InsertItem(i, sText.c_str(), i % 3), i);
        }
        Settle(100);
    }
    // The colours of the frame corners of an item on the screen.
    std::pair<COLORREF, COLORREF> FrameOnScreen(int nItem) {
        CRect rectFrame = ItemRect(m_list, nItem, LVIR_ICON);
        rectFrame.DeflateRect(1, 1);
        m_list.ClientToScreen(&rectFrame);
        CCanvas canvas(rectFrame.Width(), rectFrame.Height());
        CaptureScreen(canvas, rectFrame);
        return {canvas.dc.GetPixel(0, 0),
                canvas.dc.GetPixel(rectFrame.Width() - 1, rectFrame.Height() - 1)};
    }

    CMenuRecordingOwner m_owner;
    COXSHBListCtrl m_list;
    CImageList m_large;
    CImageList m_small;
};

class SHBListInputViews : public SHBListInput, public ::testing::WithParamInterface<DWORD> {};

TEST_P(SHBListInputViews, HoldingAScrollButtonScrollsUntilItIsReleasedInput) {
    MakeList(GetParam());
    const CRect rectDown = m_list.GetDownButtonRect();
    ASSERT_FALSE(rectDown.IsRectEmpty());
    ASSERT_TRUE(m_list.GetUpButtonRect().IsRectEmpty());
    // One step at the press, then one every 200 ms while held.
    Press(m_list, rectDown.CenterPoint());
    EXPECT_EQ(m_list.GetTopIndex(), 1);
    Pump(700);
    const int nHeld = m_list.GetTopIndex();
    EXPECT_GE(nHeld, 3);
    Release();
    const int nReleased = m_list.GetTopIndex();
    Pump(500);
    EXPECT_EQ(m_list.GetTopIndex(), nReleased);
    EXPECT_FALSE(m_list.KillTimer(SHBLC_IDTSCROLL));
    // A click on the up button scrolls back by one item.
    const CRect rectUp = m_list.GetUpButtonRect();
    ASSERT_EQ(rectUp, CRect(184, 2, 200, 18));
    Press(m_list, rectUp.CenterPoint());
    Release();
    EXPECT_EQ(m_list.GetTopIndex(), nReleased - 1);
    EXPECT_EQ(ItemRect(m_list, nReleased - 1, SHBLC_ENTIREITEM).top, 2);
}

TEST_P(SHBListInputViews, APressedButtonLeftWithTheMousePausesAndReleasingOutsideEndsItInput) {
    MakeList(GetParam());
    Press(m_list, m_list.GetDownButtonRect().CenterPoint());
    const int nTop = m_list.GetTopIndex();
    // Off the button the scrolling waits.
    MoveTo(m_list, CPoint(60, 60));
    Pump(500);
    EXPECT_EQ(m_list.GetTopIndex(), nTop);
    // Released outside the list: the scrolling is over, even back on the button.
    MoveTo(m_owner, CPoint(300, 300));
    Release();
    MoveTo(m_list, m_list.GetDownButtonRect().CenterPoint());
    Pump(500);
    EXPECT_EQ(m_list.GetTopIndex(), nTop);
}

INSTANTIATE_TEST_SUITE_P(Views, SHBListInputViews, ::testing::Values(0u, DWORD(LVS_SMALLICON)),
                         [](const ::testing::TestParamInfo<DWORD>& info) {
                             return info.param == 0 ? std::string("LargeIcons")
                                                    : std::string("SmallIcons");
                         });

TEST_F(SHBListInput, TheItemUnderTheMouseIsHotThenPressedThenSelectedInput) {
    MakeList(0);
    const CPoint ptImage = ItemRect(m_list, 1, LVIR_ICON).CenterPoint();
    MoveTo(m_list, ptImage);
    EXPECT_EQ(m_list.GetHotItem(), 1);
    EXPECT_EQ(FrameOnScreen(1), std::make_pair(kLight, kDark));
    SendMouseButton(MOUSEEVENTF_LEFTDOWN);
    Pump(100);
    EXPECT_EQ(m_list.GetPressedItem(), 1);
    EXPECT_EQ(FrameOnScreen(1), std::make_pair(kDark, kLight));
    EXPECT_EQ(m_list.GetSelectedItem(), -1);
    Release();
    EXPECT_EQ(m_list.GetSelectedItem(), 1);
    EXPECT_EQ(m_owner.Last(SHBN_SELECTITEM)->nItem, 1);
    EXPECT_EQ(FrameOnScreen(1), std::make_pair(kLight, kDark));
    // Away from the list the hot item goes.
    MoveTo(m_owner, CPoint(300, 300));
    Pump(300);
    EXPECT_EQ(m_list.GetHotItem(), -1);
    EXPECT_EQ(FrameOnScreen(1), std::make_pair(kBack, kBack));
    EXPECT_FALSE(m_list.KillTimer(SHBLC_IDTCHECKMOUSE));
}

TEST_F(SHBListInput, OnlyAReleaseOverThePressedItemSelectsItInput) {
    MakeList(0);
    // Released over another item: no selection.
    Press(m_list, ItemRect(m_list, 0, LVIR_ICON).CenterPoint());
    MoveTo(m_list, ItemRect(m_list, 1, LVIR_LABEL).CenterPoint());
    Release();
    EXPECT_EQ(m_list.GetSelectedItem(), -1);
    // A small movement on the same item still selects it.
    const CPoint ptLabel = ItemRect(m_list, 1, LVIR_LABEL).CenterPoint();
    Press(m_list, ptLabel);
    MoveTo(m_list, ptLabel + CPoint(3, 1));
    Release();
    EXPECT_EQ(m_list.GetSelectedItem(), 1);
    // A press beside the image hits no part of the item and selects nothing.
    Press(m_list, CPoint(2, ItemRect(m_list, 0, LVIR_ICON).CenterPoint().y));
    Release();
    EXPECT_EQ(m_list.GetSelectedItem(), 1);
    EXPECT_EQ(m_list.GetHotItem(), -1);
}

TEST_F(SHBListInput, ARightClickAsksTheParentForItsContextMenuInput) {
    MakeList(0);
    const CPoint point = ItemRect(m_list, 0, LVIR_LABEL).CenterPoint();
    MoveTo(m_list, point);
    SendMouseButton(MOUSEEVENTF_RIGHTDOWN);
    SendMouseButton(MOUSEEVENTF_RIGHTUP);
    Pump(200);
    ASSERT_EQ(m_owner.m_menus.size(), 1u);
    EXPECT_EQ(m_owner.m_menus[0].first, m_list.m_hWnd);
    EXPECT_EQ(m_owner.m_menus[0].second, OnScreen(m_list, point));
    // The press itself neither pressed nor selected anything.
    EXPECT_EQ(m_list.GetPressedItem(), -1);
    EXPECT_EQ(m_list.GetSelectedItem(), -1);
}

// Hovering over a scroll button scrolls a list of a bar with SHBS_AUTOSCROLL.
class SHBListInBarInput : public SHBListInBar {
protected:
    void SetUp() override {
        SHBListInBar::SetUp();
        SendMouseMove(CPoint(kOwnerRect.right + 100, kOwnerRect.bottom + 100), MOUSEEVENTF_LEFTUP);
        AddItems(10);
        m_bar.UpdateBar();
        Pump(100);
    }
    void TearDown() override {
        SendMouseMove(CPoint(kOwnerRect.right + 100, kOwnerRect.bottom + 100), MOUSEEVENTF_LEFTUP);
        Pump(100);
        SHBListInBar::TearDown();
    }
};

TEST_F(SHBListInBarInput, HoveringOverAScrollButtonScrollsWithAutoScrollInput) {
    // Without the style hovering does nothing.
    const CPoint ptDown = m_pList->GetDownButtonRect().CenterPoint();
    MoveTo(*m_pList, ptDown);
    Pump(600);
    EXPECT_EQ(m_pList->GetTopIndex(), 0);
    MoveTo(*m_pList, CPoint(20, 20));

    ASSERT_TRUE(m_bar.SetBarStyle(SHBS_AUTOSCROLL));
    MoveTo(*m_pList, ptDown);
    EXPECT_EQ(m_pList->GetTopIndex(), 1);
    // Then a step every 400 ms.
    Pump(900);
    const int nTop = m_pList->GetTopIndex();
    EXPECT_GE(nTop, 2);
    EXPECT_LE(nTop, 4);
    // Leaving the button stops it.
    MoveTo(*m_pList, CPoint(20, 20));
    const int nLeft = m_pList->GetTopIndex();
    Pump(900);
    EXPECT_EQ(m_pList->GetTopIndex(), nLeft);
    // And the up button scrolls back.
    MoveTo(*m_pList, m_pList->GetUpButtonRect().CenterPoint());
    EXPECT_EQ(m_pList->GetTopIndex(), nLeft - 1);
}

} // namespace
