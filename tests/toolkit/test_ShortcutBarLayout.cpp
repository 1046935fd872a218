// Tests of COXShortcutBar's layout, painting and expansion: the colour
// functions at their boundaries; the header and content rectangles of the
// split layout ("Classic", "Office XP") and the bottom layout ("Office 2003")
// as a table, with bars too short for their headers; resizing; the
// notifications and vetoes of an expansion; the sliding steps of the animated
// expansion, read from the layout each paint sees; the owner drawing a header
// itself; which headers a paint draws; the painted pixels of headers and
// background; and the bar's own group lists placed like content windows, with
// screenshots kept as artefacts.
//
// Apart from that last test the groups' content windows are plain child
// windows of the bar, so that the layout is seen apart from the group lists. The owner is a popup
// that records every notification and answers the ones a test chooses. Screen tests read the
// painted bar back from the screen.
#include "native/gtest.h"

#include "toolkit/OXSHBListCtrl.h"
#include "toolkit/OXShortcutBar.h"
#include "toolkit/OXShortcutBarSkin.h"
#include "toolkit/OXSkinnedApp.h"
#include "toolkit/OXSkins.h"

#include "tests/support/ColorCheck.h"
#include "tests/support/Canvas.h"
#include "tests/support/GeometryPrint.h"
#include "tests/support/TraceCapture.h"
#include "tests/support/UiScript.h"

#include "framework/Dc.h"
#include "framework/ImageList.h"
#include "framework/Wnd.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

COXSkinnedApp theApp;

const UINT kBarID = 7565;
const int kBarWidth = 200;
const COLORREF kOwnerDrawn = RGB(12, 200, 34); // what the owner paints a header with

void UseSkin(const char* pszSkin) {
    theApp.m_pMainWnd = nullptr; // nothing to re-lay out: each test sizes its own bar
    ASSERT_TRUE(theApp.SetCurrentSkin(pszSkin)) << pszSkin;
}

// ---------------------------------------------------------------------------
// Colour functions

struct SimilarCase {
    COLORREF clr1, clr2;
    int nTolerance;
    BOOL bSimilar;
};

TEST(ShortcutBarColour, IsSimilarColorComparesTheWholeNumberMean) {
    const SimilarCase cases[] = {
        // Channel-difference sums around three times the tolerance: the mean
        // is taken in whole numbers, so 193 and 194 still count as 64.
        {RGB(0, 0, 0), RGB(64, 64, 64), 64, TRUE},      // 192
        {RGB(0, 0, 0), RGB(65, 64, 64), 64, TRUE},      // 193
        {RGB(100, 0, 0), RGB(35, 0, 128), 64, TRUE},    // 65 + 129 = 194
        {RGB(0, 0, 0), RGB(65, 65, 65), 64, FALSE},     // 195
        {RGB(255, 255, 255), RGB(0, 0, 60), 64, FALSE}, // differences in both directions
        {RGB(10, 20, 30), RGB(10, 20, 30), 0, TRUE},
        {RGB(10, 20, 30), RGB(11, 21, 30), 0, TRUE}, // 2 / 3 = 0
        {RGB(10, 20, 30), RGB(11, 21, 31), 0, FALSE},
        {RGB(10, 20, 30), RGB(10, 20, 30), -1, FALSE}, // nothing is closer than equal
        {RGB(0, 0, 0), RGB(255, 255, 255), 255, TRUE},
    };
    for (const SimilarCase& c : cases) {
        EXPECT_EQ(c.bSimilar, IsSimilarColor(c.clr1, c.clr2, c.nTolerance))
            << Hex(c.clr1) << " " << Hex(c.clr2) << " within " << c.nTolerance;
        EXPECT_EQ(c.bSimilar, IsSimilarColor(c.clr2, c.clr1, c.nTolerance)) << "swapped";
    }
}

TEST(ShortcutBarColour, InvertColorComplementsEachChannel) {
    const struct {
        COLORREF clr, inverted;
    } cases[] = {
        {RGB(0, 0, 0), RGB(255, 255, 255)},
        {RGB(255, 255, 255), RGB(0, 0, 0)},
        {RGB(10, 128, 255), RGB(245, 127, 0)},
        {RGB(1, 2, 3) | 0x02000000, RGB(254, 253, 252)}, // a palette flag is dropped
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.inverted, InvertColor(c.clr)) << Hex(c.clr);
        EXPECT_EQ(c.clr & 0xFFFFFF, InvertColor(InvertColor(c.clr))) << Hex(c.clr);
    }
}

TEST(ShortcutBarColour, AdjustColorAddsToEachChannelAndClamps) {
    const struct {
        COLORREF clr;
        int nDelta;
        COLORREF adjusted;
    } cases[] = {
        {RGB(250, 10, 128), 64, RGB(255, 74, 192)},
        {RGB(250, 10, 128), -128, RGB(122, 0, 0)},
        {RGB(250, 10, 128), 0, RGB(250, 10, 128)},
        {RGB(0, 0, 0), 255, RGB(255, 255, 255)},
        {RGB(255, 255, 255), -255, RGB(0, 0, 0)},
        {RGB(1, 2, 3), 100000, RGB(255, 255, 255)},
        {RGB(254, 253, 252), -100000, RGB(0, 0, 0)},
        {RGB(192, 192, 192), 64, RGB(255, 255, 255)}, // button face lightened: L of the frames
        {RGB(192, 192, 192), -128, RGB(64, 64, 64)},  // and darkened: D
    };
    for (const auto& c : cases)
        EXPECT_EQ(Hex(c.adjusted), Hex(AdjustColor(c.clr, c.nDelta)))
            << Hex(c.clr) << " by " << c.nDelta;
}

// ---------------------------------------------------------------------------
// The bar, its owner and its content windows

// The layout one paint of the bar saw.
struct PaintSeen {
    CRect rectChild;
    std::vector<CRect> headers; // by order
};

// A bar that records the layout at each paint and the headers it draws.
class CRecordingBar : public COXShortcutBar {
public:
    void FillBackground(CDC* pDC) override {
        PaintSeen seen;
        seen.rectChild = m_rectChild;
        for (int nOrder = 0; nOrder < GetGroupCount(); ++nOrder) {
            auto it = m_headerRects.find(FindGroupByOrder(nOrder));
            seen.headers.push_back(it != m_headerRects.end() ? it->second : CRect());
        }
        m_paints.push_back(seen);
        COXShortcutBar::FillBackground(pDC);
    }
    LRESULT DrawHeader(LPDRAWITEMSTRUCT pDrawItemStruct) override {
        m_drawn.push_back(
            {reinterpret_cast<HSHBGROUP>(static_cast<UINT_PTR>(pDrawItemStruct->itemID)),
             CRect(pDrawItemStruct->rcItem)});
        return COXShortcutBar::DrawHeader(pDrawItemStruct);
    }

    struct Drawn {
        HSHBGROUP hGroup;
        CRect rcItem;
    };
    std::vector<PaintSeen> m_paints;
    std::vector<Drawn> m_drawn;
};

// The bar's owner: records the notifications (the header drawing only
// counted) and answers those a test gives a result for. Answering
// SHBN_DRAWHEADER it fills the header with kOwnerDrawn.
class COwnerWnd : public CWnd {
public:
    BOOL Make() {
        return CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS), "owner",
                        WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 60, 60, 400, 500, nullptr,
                        nullptr);
    }
    std::vector<UINT> m_codes;
    std::vector<HSHBGROUP> m_groups;
    std::map<UINT, LRESULT> m_answers;
    int m_nDrawHeader = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_NOTIFY) {
            const NMSHORTCUTBAR* pNotify = reinterpret_cast<const NMSHORTCUTBAR*>(lParam);
            const UINT nCode = pNotify->hdr.code;
            if (nCode == SHBN_DRAWHEADER) {
                ++m_nDrawHeader;
            } else {
                m_codes.push_back(nCode);
                m_groups.push_back(pNotify->hGroup);
            }
            auto it = m_answers.find(nCode);
            if (it == m_answers.end())
                return 0;
            if (nCode == SHBN_DRAWHEADER) {
                const DRAWITEMSTRUCT* pDraw =
                    reinterpret_cast<const DRAWITEMSTRUCT*>(pNotify->lParam);
                CDCHandle dc(pDraw->hDC);
                dc.FillSolidRect(&pDraw->rcItem, kOwnerDrawn);
            }
            return it->second;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class ShortcutBarLayoutTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_owner.Make()); }
    void TearDown() override {
        m_pBar.reset();
        m_contents.clear();
        m_groups.clear();
        m_owner.DestroyWindow();
        PumpPending();
    }

    // A bar of kBarWidth by nHeight under the skin, with nGroups groups
    // "Group 0", "Group 1", ... whose content windows are plain children.
    void Build(const char* pszSkin, int nHeight, int nGroups, DWORD dwBarStyle = 0) {
        UseSkin(pszSkin);
        m_pBar = std::make_unique<CRecordingBar>();
        ASSERT_TRUE(m_pBar->Create(&m_owner, CRect(0, 0, kBarWidth, nHeight), dwBarStyle, kBarID));
        for (int i = 0; i < nGroups; ++i) {
            auto pContent = std::make_unique<CWnd>();
            ASSERT_TRUE(pContent->CreateEx(
                0, AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)), "",
                WS_CHILD, CRect(0, 0, 10, 10), m_pBar.get(), 100 + i));
            std::string sText = "Group " + std::to_string(i);
            SHB_GROUPINFO info;
            info.nMask = SHBIF_TEXT | SHBIF_CHILDWND;
            info.pszText = &sText[0];
            info.nTextMax = static_cast<int>(sText.size());
            info.hwndChild = pContent->m_hWnd;
            HSHBGROUP hGroup = m_pBar->InsertGroup(&info);
            ASSERT_NE(hGroup, nullptr);
            m_groups.push_back(hGroup);
            m_contents.push_back(std::move(pContent));
        }
        PumpPending();
    }

    CRect Header(int nOrder) {
        CRect rect;
        EXPECT_TRUE(m_pBar->GetGroupHeaderRect(m_pBar->FindGroupByOrder(nOrder), &rect));
        return rect;
    }
    // Where a content window sits in the bar's client area.
    CRect ContentRect(int nGroup) {
        CRect rect;
        ::GetWindowRect(m_contents[nGroup]->m_hWnd, &rect);
        ::MapWindowPoints(nullptr, m_pBar->m_hWnd, reinterpret_cast<LPPOINT>(&rect), 2);
        return rect;
    }
    BOOL Shown(int nGroup) { return ::IsWindowVisible(m_contents[nGroup]->m_hWnd); }
    CRect ScreenRect() {
        CRect rect;
        m_pBar->GetWindowRect(&rect);
        return rect;
    }

    COwnerWnd m_owner;
    std::unique_ptr<CRecordingBar> m_pBar;
    std::vector<std::unique_ptr<CWnd>> m_contents;
    std::vector<HSHBGROUP> m_groups;
};

// ---------------------------------------------------------------------------
// Layout

struct LayoutCase {
    const char* pszName;
    const char* pszSkin;
    int nHeight;
    int nExpanded;                            // group expanded, -1 none
    std::vector<std::pair<int, int>> headers; // top and bottom by order
    CRect rectChild;
};

TEST_F(ShortcutBarLayoutTest, HeadersAndContentFollowTheSkinsLayout) {
    const int r = kBarWidth - 5;
    const LayoutCase cases[] = {
        // Split: the headers down to the expanded one at the top, the rest at
        // the bottom, the content between them less the margins.
        {"split, middle", "Classic", 300, 1, {{0, 18}, {18, 36}, {282, 300}}, {5, 41, r, 277}},
        {"split, first", "Classic", 300, 0, {{0, 18}, {264, 282}, {282, 300}}, {5, 23, r, 259}},
        {"split, last", "Classic", 300, 2, {{0, 18}, {18, 36}, {36, 54}}, {5, 59, r, 295}},
        {"split, XP", "Office XP", 300, 1, {{0, 18}, {18, 36}, {282, 300}}, {5, 41, r, 277}},
        {"split, none", "Classic", 300, -1, {{0, 18}, {18, 36}, {36, 54}}, {}},
        // Bottom: all headers at the bottom, the content under the title band.
        {"bottom", "Office 2003", 300, 1, {{204, 236}, {236, 268}, {268, 300}}, {5, 30, r, 199}},
        {"bottom, first",
         "Office 2003",
         300,
         0,
         {{204, 236}, {236, 268}, {268, 300}},
         {5, 30, r, 199}},
        // The margins swallow a content area of ten pixels or less.
        {"split, no room", "Classic", 64, 1, {{0, 18}, {18, 36}, {46, 64}}, {}},
        {"bottom, no room", "Office 2003", 131, 1, {{35, 67}, {67, 99}, {99, 131}}, {}},
        // Shorter than the headers: split pulls the later headers up to the
        // bottom edge, bottom keeps them stacked from the top.
        {"split, short", "Classic", 40, 1, {{0, 18}, {18, 36}, {22, 40}}, {}},
        {"split, short, first", "Classic", 40, 0, {{0, 18}, {4, 22}, {22, 40}}, {}},
        {"bottom, short", "Office 2003", 80, 1, {{0, 32}, {32, 64}, {64, 96}}, {}},
        {"bottom, exact", "Office 2003", 96, 1, {{0, 32}, {32, 64}, {64, 96}}, {}},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        Build(c.pszSkin, c.nHeight, 3);
        m_pBar->ExpandGroup(c.nExpanded >= 0 ? m_groups[c.nExpanded] : nullptr);
        for (int nOrder = 0; nOrder < 3; ++nOrder)
            EXPECT_EQ(CRect(0, c.headers[nOrder].first, kBarWidth, c.headers[nOrder].second),
                      Header(nOrder))
                << "order " << nOrder;
        EXPECT_EQ(c.rectChild, m_pBar->GetChildWndRect());
        if (c.nExpanded >= 0) {
            // The content window sits in the child rectangle, or is hidden
            // when there is none; the other groups' windows stay hidden.
            EXPECT_EQ(!c.rectChild.IsRectEmpty(), Shown(c.nExpanded));
            if (!c.rectChild.IsRectEmpty()) {
                EXPECT_EQ(c.rectChild, ContentRect(c.nExpanded));
            }
        }
        for (int i = 0; i < 3; ++i) {
            if (i != c.nExpanded) {
                EXPECT_FALSE(Shown(i)) << "group " << i;
            }
        }
        TearDown();
        SetUp();
    }
}

TEST_F(ShortcutBarLayoutTest, HeaderHeightOfADescriptorTakesItsPlace) {
    Build("Classic", 300, 3);
    SHB_DESCRIPTOR descriptor;
    descriptor.nMask = SHBDM_HEADERHEIGHT;
    descriptor.nHeaderHeight = 40;
    ASSERT_TRUE(m_pBar->SetGroupDescriptor(m_groups[1], &descriptor));
    m_pBar->ExpandGroup(m_groups[0]);
    EXPECT_EQ(CRect(0, 0, kBarWidth, 18), Header(0));
    EXPECT_EQ(CRect(0, 242, kBarWidth, 282), Header(1));
    EXPECT_EQ(CRect(0, 282, kBarWidth, 300), Header(2));
    EXPECT_EQ(CRect(5, 23, kBarWidth - 5, 237), m_pBar->GetChildWndRect());
}

TEST_F(ShortcutBarLayoutTest, ResizingLaysOutAgainAndMovesTheContent) {
    Build("Classic", 300, 3);
    m_pBar->ExpandGroup(m_groups[1]);
    ASSERT_EQ(CRect(5, 41, kBarWidth - 5, 277), ContentRect(1));

    m_pBar->SetWindowPos(nullptr, 0, 0, kBarWidth + 50, 400, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(CRect(0, 382, kBarWidth + 50, 400), Header(2));
    EXPECT_EQ(CRect(5, 41, kBarWidth + 45, 377), m_pBar->GetChildWndRect());
    EXPECT_EQ(CRect(5, 41, kBarWidth + 45, 377), ContentRect(1));
    EXPECT_TRUE(Shown(1));

    // Too short for any content: the window is hidden, not squeezed.
    m_pBar->SetWindowPos(nullptr, 0, 0, kBarWidth, 50, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(m_pBar->GetChildWndRect().IsRectEmpty());
    EXPECT_FALSE(Shown(1));
    EXPECT_EQ(CRect(0, 32, kBarWidth, 50), Header(2));
}

TEST_F(ShortcutBarLayoutTest, LayoutWithoutGroupsOrWindowIsEmpty) {
    Build("Classic", 300, 0);
    m_pBar->CalculateBoundRects();
    EXPECT_TRUE(m_pBar->GetChildWndRect().IsRectEmpty());
    EXPECT_FALSE(m_pBar->UpdateHeader(nullptr));

    // A bar object without a window lays out nothing and paints nothing.
    CRecordingBar unmade;
    unmade.CalculateBoundRects();
    unmade.UpdateBar();
    EXPECT_TRUE(unmade.GetChildWndRect().IsRectEmpty());
    EXPECT_TRUE(unmade.m_paints.empty());
}

// ---------------------------------------------------------------------------
// Expansion

struct ExpandCase {
    const char* pszName;
    int nTarget;              // group to expand; 3 an unknown handle, -1 null
    LRESULT lExpandingAnswer; // the owner's answer to SHBN_GROUPEXPANDING
    std::vector<UINT> codes;  // notifications, in order
    int nResult;              // group returned; -1 null
    int nExpandedAfter;       // -1 none
};

TEST_F(ShortcutBarLayoutTest, ExpandingNotifiesAndTheOwnerCanRefuse) {
    const ExpandCase cases[] = {
        {"another group", 2, 0, {SHBN_GROUPEXPANDING, SHBN_GROUPEXPANDED}, 0, 2},
        {"refused", 2, 1, {SHBN_GROUPEXPANDING}, 0, 0},
        {"already expanded", 0, 0, {}, 0, 0},
        {"unknown handle", 3, 0, {}, 0, 0},
        {"none", -1, 0, {SHBN_GROUPEXPANDING, SHBN_GROUPEXPANDED}, 0, -1},
    };
    for (const ExpandCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        Build("Classic", 300, 3);
        m_pBar->ExpandGroup(m_groups[0]);
        m_owner.m_codes.clear();
        m_owner.m_groups.clear();
        m_owner.m_answers[SHBN_GROUPEXPANDING] = c.lExpandingAnswer;

        HSHBGROUP hTarget = c.nTarget == 3   ? reinterpret_cast<HSHBGROUP>(1000)
                            : c.nTarget >= 0 ? m_groups[c.nTarget]
                                             : nullptr;
        CTraceCapture trace;
        HSHBGROUP hResult = m_pBar->ExpandGroup(hTarget);

        EXPECT_EQ(c.codes, m_owner.m_codes);
        for (HSHBGROUP hGroup : m_owner.m_groups)
            EXPECT_EQ(hTarget, hGroup);
        EXPECT_EQ(c.nResult >= 0 ? m_groups[c.nResult] : nullptr, hResult);
        HSHBGROUP hExpanded = c.nExpandedAfter >= 0 ? m_groups[c.nExpandedAfter] : nullptr;
        EXPECT_EQ(hExpanded, m_pBar->GetExpandedGroup());
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(i == c.nExpandedAfter, Shown(i)) << "group " << i;
        if (c.nExpandedAfter >= 0) {
            EXPECT_EQ(m_pBar->GetChildWndRect(), ContentRect(c.nExpandedAfter));
        }
        if (c.nTarget == 3) {
            EXPECT_TRUE(trace.Holds("COXShortcutBar::ExpandGroup: group wasn't created"));
        }
        m_owner.m_answers.clear();
        TearDown();
        SetUp();
    }
}

struct AnimationCase {
    const char* pszName;
    const char* pszSkin;
    DWORD dwBarStyle;
    int nChildHeight; // of the child rectangle before the expansion
    int nFrom, nTo;
    std::vector<int> steps; // signed movement of the moving headers, step by step
};

// The steps are read from the layout each paint of the expansion sees: the
// moving headers' tops and the shrinking child rectangle; the last paint
// shows the final layout.
TEST_F(ShortcutBarLayoutTest, AnimatedExpansionSlidesTheHeadersInSteps) {
    const std::vector<int> up15 = {-20, -20, -20, -20, -20, -20, -20, -20, -40, -40, -40};
    std::vector<int> down15;
    for (int nStep : up15)
        down15.push_back(-nStep);
    const AnimationCase cases[] = {
        {"300 pixels, down the bar", "Classic", SHBS_ANIMATEEXPAND, 300, 0, 2, up15},
        {"300 pixels, up the bar", "Classic", SHBS_ANIMATEEXPAND, 300, 2, 0, down15},
        {"Office XP", "Office XP", SHBS_ANIMATEEXPAND, 300, 0, 2, up15},
        {"100 pixels", "Classic", SHBS_ANIMATEEXPAND, 100, 0, 1, {-20, -20, -20, -40}},
        {"40 pixels", "Classic", SHBS_ANIMATEEXPAND, 40, 0, 1, {-20}},
        {"39 pixels", "Classic", SHBS_ANIMATEEXPAND, 39, 0, 1, {}},
        {"without the style", "Classic", 0, 300, 0, 2, {}},
        {"Office 2003", "Office 2003", SHBS_ANIMATEEXPAND, 300, 0, 2, {}},
    };
    for (const AnimationCase& c : cases) {
        SCOPED_TRACE(c.pszName);
        const BOOL bBottom = strcmp(c.pszSkin, "Office 2003") == 0;
        // The bottom layout gives the content the height less the title band.
        const int nHeight = 3 * (bBottom ? 32 : 18) + c.nChildHeight + 10 + (bBottom ? 25 : 0);
        Build(c.pszSkin, nHeight, 3, c.dwBarStyle);
        m_pBar->ExpandGroup(m_groups[c.nFrom]);
        const CRect rectBefore = m_pBar->GetChildWndRect();
        ASSERT_EQ(c.nChildHeight, rectBefore.Height());
        // The first moving header is the one after the upper of the two groups.
        const int nWatched = std::min(c.nFrom, c.nTo) + 1;
        int nTop = Header(nWatched).top;
        PumpPending();
        m_pBar->m_paints.clear();

        m_pBar->ExpandGroup(m_groups[c.nTo]);

        ASSERT_EQ(c.steps.size() + 1, m_pBar->m_paints.size());
        CRect rectShrinking = rectBefore;
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const PaintSeen& seen = m_pBar->m_paints[i];
            EXPECT_EQ(c.steps[i], seen.headers[nWatched].top - nTop) << "step " << i;
            nTop = seen.headers[nWatched].top;
            // The previous content shrinks by each step on the side the
            // headers come from; the headers that do not move stay.
            if (c.steps[i] < 0)
                rectShrinking.bottom += c.steps[i];
            else
                rectShrinking.top += c.steps[i];
            EXPECT_EQ(rectShrinking, seen.rectChild) << "step " << i;
            EXPECT_EQ(CRect(0, 0, kBarWidth, 18), seen.headers[0]) << "step " << i;
        }
        const PaintSeen& last = m_pBar->m_paints.back();
        EXPECT_EQ(m_pBar->GetChildWndRect(), last.rectChild);
        for (int nOrder = 0; nOrder < 3; ++nOrder)
            EXPECT_EQ(Header(nOrder), last.headers[nOrder]) << "order " << nOrder;
        EXPECT_TRUE(Shown(c.nTo));
        EXPECT_FALSE(Shown(c.nFrom));
        TearDown();
        SetUp();
    }
}

// ---------------------------------------------------------------------------
// Painting

TEST_F(ShortcutBarLayoutTest, OwnerDrawingAHeaderKeepsTheSkinOut) {
    Build("Classic", 300, 3);
    m_pBar->ExpandGroup(m_groups[0]);
    for (LRESULT lAnswer : {LRESULT(0), LRESULT(7)}) {
        SCOPED_TRACE(lAnswer);
        m_owner.m_answers.clear();
        if (lAnswer != 0)
            m_owner.m_answers[SHBN_DRAWHEADER] = lAnswer;
        CCanvas canvas(kBarWidth, 18, RGB(1, 2, 3));
        DRAWITEMSTRUCT dis = {};
        dis.CtlID = kBarID;
        dis.itemID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(m_groups[1]));
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = ODS_DEFAULT;
        dis.hwndItem = m_pBar->m_hWnd;
        dis.hDC = canvas.dc.GetSafeHdc();
        dis.rcItem = CRect(0, 0, kBarWidth, 18);
        const int nBefore = m_owner.m_nDrawHeader;

        const LRESULT lResult = m_pBar->DrawHeader(&dis);

        EXPECT_EQ(nBefore + 1, m_owner.m_nDrawHeader);
        const int nOwnerPixels = canvas.Count(kOwnerDrawn, CRect(0, 0, kBarWidth, 18));
        if (lAnswer != 0) {
            EXPECT_EQ(lAnswer, lResult);
            EXPECT_EQ(kBarWidth * 18, nOwnerPixels);
        } else {
            // The Classic skin frames the header in tints of the button face.
            EXPECT_EQ(0, nOwnerPixels);
            EXPECT_EQ(Hex(AdjustColor(::GetSysColor(COLOR_BTNFACE), 64)),
                      Hex(canvas.dc.GetPixel(0, 0)));
            EXPECT_EQ(Hex(AdjustColor(::GetSysColor(COLOR_BTNFACE), -128)),
                      Hex(canvas.dc.GetPixel(kBarWidth - 1, 17)));
        }
    }
}

TEST_F(ShortcutBarLayoutTest, PaintDrawsEachVisibleHeaderOnce) {
    Build("Classic", 300, 3);
    m_pBar->ExpandGroup(m_groups[1]);
    PumpPending();

    // A full repaint draws every header once, each into a bitmap of its own
    // size, and asks the owner first for each.
    m_pBar->m_drawn.clear();
    const int nAskedBefore = m_owner.m_nDrawHeader;
    m_pBar->UpdateBar();
    ASSERT_EQ(3u, m_pBar->m_drawn.size());
    for (int nOrder = 0; nOrder < 3; ++nOrder) {
        EXPECT_EQ(m_pBar->FindGroupByOrder(nOrder), m_pBar->m_drawn[nOrder].hGroup);
        EXPECT_EQ(CRect(0, 0, kBarWidth, 18), m_pBar->m_drawn[nOrder].rcItem);
    }
    EXPECT_EQ(nAskedBefore + 3, m_owner.m_nDrawHeader);

    // One header's update draws only that header.
    m_pBar->m_drawn.clear();
    EXPECT_TRUE(m_pBar->UpdateHeader(m_groups[2]));
    ASSERT_EQ(1u, m_pBar->m_drawn.size());
    EXPECT_EQ(m_groups[2], m_pBar->m_drawn[0].hGroup);

    // A paint of the content's margin alone draws no header.
    m_pBar->m_drawn.clear();
    m_pBar->m_paints.clear();
    m_pBar->RedrawWindow(CRect(0, 100, 3, 110), nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(1u, m_pBar->m_paints.size());
    EXPECT_TRUE(m_pBar->m_drawn.empty());
}

TEST_F(ShortcutBarLayoutTest, BarPaintsEverythingInWmPaint) {
    Build("Classic", 300, 3);
    // Erasing leaves the pixels alone (the paint covers them); the whole
    // client area answers as client.
    CCanvas canvas(20, 20, RGB(1, 2, 3));
    EXPECT_EQ(1,
              m_pBar->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc.GetSafeHdc())));
    EXPECT_EQ(400, canvas.Count(RGB(1, 2, 3), CRect(0, 0, 20, 20)));
    CRect rectScreen = ScreenRect();
    for (CPoint pt : {rectScreen.TopLeft(), rectScreen.CenterPoint(),
                      CPoint(rectScreen.right - 1, rectScreen.bottom - 1)})
        EXPECT_EQ(HTCLIENT, m_pBar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)));
}

// The Classic bar on the screen: header frames in tints of the button face,
// the background in the button shadow, or in the expanded group's own colour.
TEST_F(ShortcutBarLayoutTest, ClassicBarPaintsHeadersAndBackgroundScreen) {
    Build("Classic", 300, 3);
    m_pBar->ExpandGroup(m_groups[1]);
    Settle();
    const CRect rectScreen = ScreenRect();
    CCanvas canvas(kBarWidth, 300);
    CaptureScreen(canvas, rectScreen);
    EXPECT_TRUE(SaveScreenPng(rectScreen, "shortcutbar_classic.png"));

    const COLORREF clrFace = ::GetSysColor(COLOR_BTNFACE);
    for (int nTop : {0, 18, 282}) {
        SCOPED_TRACE(nTop);
        EXPECT_EQ(Hex(AdjustColor(clrFace, 64)), Hex(canvas.dc.GetPixel(0, nTop)));
        EXPECT_EQ(Hex(AdjustColor(clrFace, -128)),
                  Hex(canvas.dc.GetPixel(kBarWidth - 1, nTop + 17)));
        EXPECT_EQ(Hex(clrFace), Hex(canvas.dc.GetPixel(3, nTop + 3)));
    }
    // The margins around the content show the background.
    const COLORREF clrShadow = ::GetSysColor(COLOR_BTNSHADOW);
    EXPECT_EQ(Hex(clrShadow), Hex(canvas.dc.GetPixel(2, 150)));
    EXPECT_EQ(Hex(clrShadow), Hex(canvas.dc.GetPixel(100, 38)));
    EXPECT_EQ(Hex(clrShadow), Hex(canvas.dc.GetPixel(100, 279)));

    ASSERT_TRUE(m_pBar->SetGroupBkColor(m_groups[1], RGB(200, 30, 90)));
    m_pBar->UpdateBar();
    Settle();
    CaptureScreen(canvas, rectScreen);
    EXPECT_EQ(Hex(RGB(200, 30, 90)), Hex(canvas.dc.GetPixel(2, 150)));
    EXPECT_EQ(Hex(RGB(200, 30, 90)), Hex(canvas.dc.GetPixel(100, 279)));
}

// The "Office 2003" bar on the screen: the title band across the top and the
// headers at the bottom with their dark bottom line.
TEST_F(ShortcutBarLayoutTest, Office2003BarPaintsTitleBandAndHeadersScreen) {
    Build("Office 2003", 300, 3, SHBS_ANIMATEEXPAND);
    m_pBar->ExpandGroup(m_groups[0]);
    Settle();
    const CRect rectScreen = ScreenRect();
    CCanvas canvas(kBarWidth, 300);
    CaptureScreen(canvas, rectScreen);
    EXPECT_TRUE(SaveScreenPng(rectScreen, "shortcutbar_2003.png"));

    EXPECT_TRUE(Near(canvas.dc.GetPixel(kBarWidth - 2, 0), RGB(85, 131, 211), 8))
        << Hex(canvas.dc.GetPixel(kBarWidth - 2, 0));
    EXPECT_TRUE(Near(canvas.dc.GetPixel(kBarWidth - 2, 24), RGB(3, 56, 147), 8))
        << Hex(canvas.dc.GetPixel(kBarWidth - 2, 24));
    for (int nBottom : {236, 268, 300})
        EXPECT_EQ(Hex(RGB(0, 45, 150)), Hex(canvas.dc.GetPixel(100, nBottom - 1))) << nBottom;
    // The title band and the headers are not background.
    EXPECT_NE(Hex(canvas.dc.GetPixel(kBarWidth - 2, 0)), Hex(canvas.dc.GetPixel(2, 100)));
}

// Groups without a content window of their own get the bar's lists, which
// are placed, shown and hidden like any content window; kept as a screenshot
// with items in both views.
TEST_F(ShortcutBarLayoutTest, GroupListsArePlacedLikeContentWindowsScreen) {
    UseSkin("Office 2003");
    m_pBar = std::make_unique<CRecordingBar>();
    ASSERT_TRUE(m_pBar->Create(&m_owner, CRect(0, 0, kBarWidth, 400), 0, kBarID));
    CImageList images;
    ASSERT_TRUE(images.Create(32, 32, ILC_COLOR32 | ILC_MASK, 2, 0));
    CImageList smallImages;
    ASSERT_TRUE(smallImages.Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 0));
    for (LPCSTR pszIcon : {IDI_INFORMATION, IDI_WARNING}) {
        images.Add(::LoadIconA(nullptr, pszIcon));
        smallImages.Add(::LoadIconA(nullptr, pszIcon));
    }
    const char* const kTexts[] = {"Shortcuts", "Hot Lists", "Folders"};
    for (const char* pszText : kTexts) {
        std::string sText = pszText;
        SHB_GROUPINFO info;
        info.nMask = SHBIF_TEXT | SHBIF_VIEW;
        info.pszText = &sText[0];
        info.nTextMax = static_cast<int>(sText.size());
        info.nView = m_groups.empty() ? SHB_LARGEICON : SHB_SMALLICON;
        HSHBGROUP hGroup = m_pBar->InsertGroup(&info);
        ASSERT_NE(hGroup, nullptr);
        m_groups.push_back(hGroup);
        COXSHBListCtrl* pList = m_pBar->GetGroupListCtrl(hGroup);
        ASSERT_NE(pList, nullptr);
        pList->SetImageList(&images, LVSIL_NORMAL);
        pList->SetImageList(&smallImages, LVSIL_SMALL);
        for (int i = 0; i < 4; ++i)
            pList->InsertItem(i, ("Item " + std::to_string(i)).c_str(), i % 2);
    }
    for (int nShown : {1, 0}) {
        SCOPED_TRACE(nShown);
        m_pBar->ExpandGroup(m_groups[nShown]);
        for (int i = 0; i < 3; ++i) {
            HWND hWndList = m_pBar->GetGroupChildWndHandle(m_groups[i]);
            EXPECT_EQ(i == nShown, ::IsWindowVisible(hWndList)) << "group " << i;
        }
        CRect rectList;
        ::GetWindowRect(m_pBar->GetGroupChildWndHandle(m_groups[nShown]), &rectList);
        ::MapWindowPoints(nullptr, m_pBar->m_hWnd, reinterpret_cast<LPPOINT>(&rectList), 2);
        EXPECT_EQ(CRect(5, 30, kBarWidth - 5, 299), rectList);
    }
    Settle();
    EXPECT_TRUE(SaveScreenPng(ScreenRect(), "shortcutbar_2003_lists.png"));
}

} // namespace
