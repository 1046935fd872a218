#include "native/gtest.h"

#include "toolkit/OXLayoutManager.h"

#include <windows.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace {

// --- Resolution over a table of control rectangles -----------------------------

// Current control rectangles in container client coordinates, by dialog id.
typedef std::map<UINT, RECT> RectTable;

BOOL ReadFromTable(void* pContext, UINT nID, RECT* pRect) {
    const RectTable* table = static_cast<const RectTable*>(pContext);
    const RectTable::const_iterator it = table->find(nID);
    if (it == table->end())
        return FALSE;
    *pRect = it->second;
    return TRUE;
}

// The resolved rectangle of a control after a layout.
RECT ResolvedRect(const COXLayoutManager& manager, UINT nID) {
    const COXWndConstraint* pRecord = manager.GetConstraint(nID);
    if (pRecord == NULL)
        return RECT{-1, -1, -1, -1};
    return RECT{pRecord->sc[OX_LMSI_LEFT].nPos, pRecord->sc[OX_LMSI_TOP].nPos,
                pRecord->sc[OX_LMSI_RIGHT].nPos, pRecord->sc[OX_LMSI_BOTTOM].nPos};
}

std::string RectText(const RECT& rc) {
    char text[64];
    wsprintfA(text, "(%d,%d)-(%d,%d)", static_cast<int>(rc.left), static_cast<int>(rc.top),
              static_cast<int>(rc.right), static_cast<int>(rc.bottom));
    return text;
}

struct Tie {
    UINT nID;
    int nSides;
    int nType;
    int nOffset;
    UINT nBase;
};

struct LayoutCase {
    const char* name;
    std::vector<Tie> ties;
    int cx, cy;      // container size
    UINT nID;        // the control whose resolved rectangle is checked
    BOOL bOk;        // whether the layout succeeds
    RECT rcExpected; // checked only when it does
};

// Control 10 is 100 by 30 at (20, 30); control 11 is 50 by 40 at (0, 0);
// control 12 spans 0 to 101 horizontally. Id 99 has no window.
const RectTable kControls = {
    {10, RECT{20, 30, 120, 60}},
    {11, RECT{0, 0, 50, 40}},
    {12, RECT{0, 200, 101, 220}},
};

const LayoutCase kLayoutCases[] = {
    {"RightEdgeKeepsDistanceAndWidth",
     {{10, OX_LMS_RIGHT, OX_LMT_SAME, -10, 0}},
     400,
     300,
     10,
     TRUE,
     {290, 30, 390, 60}},
    {"BottomEdgeKeepsDistanceAndHeight",
     {{10, OX_LMS_BOTTOM, OX_LMT_SAME, -20, 0}},
     400,
     300,
     10,
     TRUE,
     {20, 250, 120, 280}},
    {"BothHorizontalSidesStretch",
     {{10, OX_LMS_LEFT, OX_LMT_SAME, 10, 0}, {10, OX_LMS_RIGHT, OX_LMT_SAME, -10, 0}},
     400,
     300,
     10,
     TRUE,
     {10, 30, 390, 60}},
    {"OneCallTiesSeveralSides",
     {{10, OX_LMS_ANY, OX_LMT_SAME, 5, 0}},
     400,
     300,
     10,
     TRUE,
     {5, 5, 405, 305}},
    {"TopBelowBaseBottom",
     {{10, OX_LMS_TOP, OX_LMT_OPPOSITE, 5, 11}},
     400,
     300,
     10,
     TRUE,
     {20, 45, 120, 75}},
    {"TopFollowsMovedBase",
     {{11, OX_LMS_BOTTOM, OX_LMT_SAME, -100, 0}, {10, OX_LMS_TOP, OX_LMT_OPPOSITE, 5, 11}},
     400,
     300,
     10,
     TRUE,
     {20, 205, 120, 235}},
    {"BaseNamedBeforeItIsConstrained",
     {{10, OX_LMS_TOP, OX_LMT_OPPOSITE, 5, 11}, {11, OX_LMS_BOTTOM, OX_LMT_SAME, -100, 0}},
     400,
     300,
     10,
     TRUE,
     {20, 205, 120, 235}},
    {"LeftSameAsBaseLeft",
     {{10, OX_LMS_LEFT, OX_LMT_SAME, 7, 12}},
     400,
     300,
     10,
     TRUE,
     {7, 30, 107, 60}},
    {"RightOppositeIsBaseLeft",
     {{10, OX_LMS_RIGHT, OX_LMT_OPPOSITE, -4, 11}},
     400,
     300,
     10,
     TRUE,
     {-104, 30, -4, 60}},
    {"RightOfLabelFollowsLeftOfValue",
     {{11, OX_LMS_RIGHT, OX_LMT_SAME, -10, 0}, {10, OX_LMS_RIGHT, OX_LMT_OPPOSITE, -5, 11}},
     400,
     300,
     10,
     TRUE,
     {235, 30, 335, 60}},
    {"BottomOppositeOfContainerIsItsTop",
     {{10, OX_LMS_BOTTOM, OX_LMT_OPPOSITE, 50, 0}},
     400,
     300,
     10,
     TRUE,
     {20, 20, 120, 50}},
    {"ProportionOfContainer",
     {{10, OX_LMS_LEFT, OX_LMT_PROPORTIONAL, 50, 0}},
     400,
     300,
     10,
     TRUE,
     {200, 30, 300, 60}},
    {"ProportionTruncates",
     {{10, OX_LMS_LEFT, OX_LMT_PROPORTIONAL, 50, 12}},
     400,
     300,
     10,
     TRUE,
     {50, 30, 150, 60}},
    {"NegativeProportionTruncatesTowardZero",
     {{10, OX_LMS_LEFT, OX_LMT_PROPORTIONAL, -50, 12}},
     400,
     300,
     10,
     TRUE,
     {-50, 30, 50, 60}},
    {"OtherKindIsNearSidePlusOffset",
     {{10, OX_LMS_BOTTOM, 7, 15, 0}},
     400,
     300,
     10,
     TRUE,
     {20, -15, 120, 15}},
    {"OtherKindOnBaseControl",
     {{10, OX_LMS_RIGHT, 0, 15, 12}},
     400,
     300,
     10,
     TRUE,
     {-85, 30, 15, 60}},
    {"TwoControlsInACircle",
     {{10, OX_LMS_LEFT, OX_LMT_OPPOSITE, 0, 11}, {11, OX_LMS_LEFT, OX_LMT_OPPOSITE, 0, 10}},
     400,
     300,
     10,
     FALSE,
     {}},
    {"SideTiedToItsOwnControl", {{10, OX_LMS_LEFT, OX_LMT_SAME, 0, 10}}, 400, 300, 10, FALSE, {}},
    {"OppositeSidesTiedToEachOther",
     {{10, OX_LMS_LEFT, OX_LMT_OPPOSITE, 0, 10}, {10, OX_LMS_RIGHT, OX_LMT_OPPOSITE, 0, 10}},
     400,
     300,
     10,
     FALSE,
     {}},
    {"ManagedControlWithoutWindow",
     {{99, OX_LMS_LEFT, OX_LMT_SAME, 0, 0}},
     400,
     300,
     99,
     FALSE,
     {}},
    {"BaseWithoutWindow", {{10, OX_LMS_TOP, OX_LMT_OPPOSITE, 5, 99}}, 400, 300, 10, FALSE, {}},
    {"OffsetBeyondAnyCoordinate",
     {{10, OX_LMS_LEFT, OX_LMT_SAME, 0x7FFFFFFF, 11}},
     400,
     300,
     10,
     FALSE,
     {}},
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << c.name;
}

class OXLayoutTable : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(OXLayoutTable, ResolvesToExpectedRect) {
    const LayoutCase& c = GetParam();
    COXLayoutManager manager;
    for (const Tie& tie : c.ties)
        ASSERT_TRUE(manager.SetConstraint(tie.nID, tie.nSides, tie.nType, tie.nOffset, tie.nBase));
    RectTable controls = kControls;
    EXPECT_EQ(c.bOk, manager.CalcLayout(c.cx, c.cy, ReadFromTable, &controls));
    if (c.bOk) {
        EXPECT_EQ(RectText(c.rcExpected), RectText(ResolvedRect(manager, c.nID)));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, OXLayoutTable, ::testing::ValuesIn(kLayoutCases),
                         [](const ::testing::TestParamInfo<LayoutCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(OXLayoutResolution, ResizeMovesOnlyConstrainedAxes) {
    COXLayoutManager manager;
    RectTable controls = kControls;
    ASSERT_TRUE(manager.SetConstraint(10, OX_LMS_RIGHT, OX_LMT_SAME, -10, 0));
    ASSERT_TRUE(manager.CalcLayout(400, 300, ReadFromTable, &controls));
    EXPECT_EQ(RectText({290, 30, 390, 60}), RectText(ResolvedRect(manager, 10)));

    // The program moves and widens the control; the vertical axis, never
    // constrained, stays where the first layout read it, while the free left
    // side takes the new width.
    controls[10] = RECT{0, 100, 150, 140};
    ASSERT_TRUE(manager.CalcLayout(500, 300, ReadFromTable, &controls));
    EXPECT_EQ(RectText({340, 30, 490, 60}), RectText(ResolvedRect(manager, 10)));
}

TEST(OXLayoutResolution, FailedLayoutRetriesFromClearedCaches) {
    COXLayoutManager manager;
    RectTable controls = kControls;
    ASSERT_TRUE(manager.SetConstraint(10, OX_LMS_LEFT, OX_LMT_OPPOSITE, 0, 11));
    ASSERT_TRUE(manager.SetConstraint(11, OX_LMS_LEFT, OX_LMT_OPPOSITE, 0, 10));
    EXPECT_FALSE(manager.CalcLayout(400, 300, ReadFromTable, &controls));

    // Breaking the circle lets the next layout succeed: no side is left
    // marked as being resolved.
    ASSERT_TRUE(manager.RemoveConstraint(11, OX_LMS_LEFT));
    ASSERT_TRUE(manager.CalcLayout(400, 300, ReadFromTable, &controls));
    EXPECT_EQ(RectText({50, 30, 150, 60}), RectText(ResolvedRect(manager, 10)));
}

// --- Records ------------------------------------------------------------------

TEST(OXLayoutRecords, SetConstraintManagesBaseFirst) {
    COXLayoutManager manager;
    EXPECT_EQ(-1, manager.FindChild(10));
    ASSERT_TRUE(manager.SetConstraint(10, OX_LMS_TOP, OX_LMT_OPPOSITE, 5, 11));
    EXPECT_EQ(0, manager.FindChild(11));
    EXPECT_EQ(1, manager.FindChild(10));
    EXPECT_EQ(1, manager.AddChild(10));
    EXPECT_EQ(2, manager.AddChild(12));

    // The base is managed with every side unset.
    const COXWndConstraint* pBase = manager.GetConstraint(11);
    ASSERT_NE(nullptr, pBase);
    for (const OXSideConstraint& side : pBase->sc)
        EXPECT_FALSE(side.IsSet());
}

TEST(OXLayoutRecords, InvalidIdsAreRefused) {
    COXLayoutManager manager;
    EXPECT_EQ(-1, manager.AddChild(0));
    EXPECT_FALSE(manager.SetConstraint(0, OX_LMS_TOP, OX_LMT_SAME, 5, 0));
    EXPECT_FALSE(manager.RemoveConstraint(10, OX_LMS_ANY));
    EXPECT_EQ(nullptr, manager.GetConstraint(10));
    // Without records a layout has nothing to do.
    EXPECT_TRUE(manager.OnSize(400, 300));
}

TEST(OXLayoutRecords, RemoveConstraintResetsOnlyNamedSides) {
    COXLayoutManager manager;
    ASSERT_TRUE(manager.SetConstraint(10, OX_LMS_ANY, OX_LMT_SAME, 5, 11));
    ASSERT_TRUE(manager.RemoveConstraint(10, OX_LMS_TOP | OX_LMS_RIGHT));
    const COXWndConstraint* pRecord = manager.GetConstraint(10);
    ASSERT_NE(nullptr, pRecord);
    EXPECT_FALSE(pRecord->sc[OX_LMSI_TOP].IsSet());
    EXPECT_EQ(0u, pRecord->sc[OX_LMSI_TOP].nBaseWnd);
    EXPECT_FALSE(pRecord->sc[OX_LMSI_RIGHT].IsSet());
    EXPECT_TRUE(pRecord->sc[OX_LMSI_BOTTOM].IsSet());
    EXPECT_EQ(11u, pRecord->sc[OX_LMSI_LEFT].nBaseWnd);
}

// --- Real containers ----------------------------------------------------------

// A private message the container answers itself, to see results pass through.
const UINT kQueryMsg = WM_APP + 1;
const LRESULT kQueryAnswer = 1234;

// A framework window that records what its own procedure sees: the number of
// WM_SIZE messages and where the watched control stood when the last one came.
class CRecordingContainer : public CWnd {
public:
    CRecordingContainer() : m_nSizes(0), m_nWatchedID(0), m_rcAtSize{}, m_pDetachOnDestroy(NULL) {}

    BOOL Make(int cx, int cy) {
        return CreateEx(0, NULL, "layout", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, cx, cy,
                        NULL, NULL);
    }
    HWND AddControl(UINT nID, const RECT& rc) {
        return ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, rc.left, rc.top,
                                 rc.right - rc.left, rc.bottom - rc.top, m_hWnd,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), NULL, NULL);
    }
    RECT ControlRect(UINT nID) const {
        RECT rc = {-1, -1, -1, -1};
        HWND hChild = ::GetDlgItem(m_hWnd, static_cast<int>(nID));
        if (hChild != NULL && ::GetWindowRect(hChild, &rc))
            ::MapWindowPoints(HWND_DESKTOP, m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
    void Resize(int cx, int cy) {
        ::SetWindowPos(m_hWnd, NULL, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    int m_nSizes;
    UINT m_nWatchedID;
    RECT m_rcAtSize;
    COXLayoutManager* m_pDetachOnDestroy; // not owned

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_SIZE:
            m_nSizes++;
            m_rcAtSize = ControlRect(m_nWatchedID);
            break;
        case WM_DESTROY:
            // As a form view does: the manager lets go while the window dies.
            if (m_pDetachOnDestroy != NULL)
                m_pDetachOnDestroy->Detach();
            break;
        case kQueryMsg:
            return kQueryAnswer;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

WNDPROC CurrentProc(HWND hWnd) {
    return reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
}

const RECT kLabel = {20, 30, 120, 60};
const RECT kButton = {10, 10, 60, 40};

TEST(OXLayoutWindow, LaysOutBeforeContainerSeesSize) {
    CRecordingContainer container;
    ASSERT_TRUE(container.Make(400, 300));
    ASSERT_NE(nullptr, container.AddControl(10, kLabel));
    container.m_nWatchedID = 10;
    COXLayoutManager manager(&container);
    ASSERT_TRUE(manager.SetConstraint(10, OX_LMS_RIGHT, OX_LMT_SAME, -10, 0));
    ASSERT_TRUE(manager.RedrawLayout());
    EXPECT_EQ(RectText({290, 30, 390, 60}), RectText(container.ControlRect(10)));

    const int nSizes = container.m_nSizes;
    container.Resize(500, 200);
    EXPECT_EQ(nSizes + 1, container.m_nSizes);
    EXPECT_EQ(RectText({390, 30, 490, 60}), RectText(container.m_rcAtSize));
    EXPECT_EQ(RectText({390, 30, 490, 60}), RectText(container.ControlRect(10)));
    EXPECT_EQ(kQueryAnswer, container.SendMessage(kQueryMsg));
}

// The call-list view's arrangement: a list 10 pixels from the left and right
// edges, its top 5 below a button and its bottom 20 above the form's bottom,
// and a counter whose top stays 3 below the list.
TEST(OXLayoutWindow, ControlsFollowTheirBases) {
    CRecordingContainer container;
    ASSERT_TRUE(container.Make(400, 300));
    ASSERT_NE(nullptr, container.AddControl(1, kButton));
    ASSERT_NE(nullptr, container.AddControl(2, RECT{0, 0, 50, 50}));
    ASSERT_NE(nullptr, container.AddControl(3, RECT{10, 260, 80, 275}));
    COXLayoutManager manager;
    ASSERT_TRUE(manager.Attach(&container));
    ASSERT_TRUE(manager.SetConstraint(2, OX_LMS_LEFT, OX_LMT_SAME, 10, 0));
    ASSERT_TRUE(manager.SetConstraint(2, OX_LMS_RIGHT, OX_LMT_SAME, -10, 0));
    ASSERT_TRUE(manager.SetConstraint(2, OX_LMS_TOP, OX_LMT_OPPOSITE, 5, 1));
    ASSERT_TRUE(manager.SetConstraint(2, OX_LMS_BOTTOM, OX_LMT_SAME, -20, 0));
    ASSERT_TRUE(manager.SetConstraint(3, OX_LMS_TOP, OX_LMT_OPPOSITE, 3, 2));
    ASSERT_TRUE(manager.RedrawLayout());
    EXPECT_EQ(RectText({10, 45, 390, 280}), RectText(container.ControlRect(2)));
    EXPECT_EQ(RectText({10, 283, 80, 298}), RectText(container.ControlRect(3)));

    container.Resize(600, 500);
    EXPECT_EQ(RectText(kButton), RectText(container.ControlRect(1)));
    EXPECT_EQ(RectText({10, 45, 590, 480}), RectText(container.ControlRect(2)));
    EXPECT_EQ(RectText({10, 483, 80, 498}), RectText(container.ControlRect(3)));
}

TEST(OXLayoutWindow, FreeAxisReturnsToFirstReadPosition) {
    CRecordingContainer container;
    ASSERT_TRUE(container.Make(400, 300));
    HWND hLabel = container.AddControl(10, kLabel);
    ASSERT_NE(nullptr, hLabel);
    COXLayoutManager manager(&container);
    ASSERT_TRUE(manager.SetConstraint(10, OX_LMS_RIGHT, OX_LMT_SAME, -10, 0));
    ASSERT_TRUE(manager.RedrawLayout());

    ::SetWindowPos(hLabel, NULL, 0, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    container.Resize(450, 300);
    EXPECT_EQ(RectText({340, 30, 440, 60}), RectText(container.ControlRect(10)));
}

TEST(OXLayoutWindow, RemovedConstraintKeepsLastLayoutPosition) {
    CRecordingContainer container;
    ASSERT_TRUE(container.Make(400, 300));
    ASSERT_NE(nullptr, container.AddControl(10, kLabel));
    COXLayoutManager manager(&container);
    ASSERT_TRUE(manager.SetConstraint(10, OX_LMS_RIGHT, OX_LMT_SAME, -10, 0));
    ASSERT_TRUE(manager.RedrawLayout());
    ASSERT_TRUE(manager.RemoveConstraint(10, OX_LMS_RIGHT));

    container.Resize(600, 300);
    container.Resize(650, 300);
    EXPECT_EQ(RectText({290, 30, 390, 60}), RectText(container.ControlRect(10)));
}

TEST(OXLayoutWindow, ZeroSizeMovesNothing) {
    CRecordingContainer container;
    ASSERT_TRUE(container.Make(400, 300));
    ASSERT_NE(nullptr, container.AddControl(10, kLabel));
    COXLayoutManager manager(&container);
    ASSERT_TRUE(manager.SetConstraint(10, OX_LMS_LEFT, OX_LMT_PROPORTIONAL, 50, 0));
    ASSERT_TRUE(manager.RedrawLayout());

    const int nSizes = container.m_nSizes;
    container.SendMessage(WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
    EXPECT_EQ(nSizes + 1, container.m_nSizes);
    EXPECT_TRUE(manager.OnSize(0, 300));
    EXPECT_TRUE(manager.OnSize(400, 0));
    EXPECT_EQ(RectText({200, 30, 300, 60}), RectText(container.ControlRect(10)));
}

TEST(OXLayoutWindow, CircleMovesNoControl) {
    CRecordingContainer container;
    ASSERT_TRUE(container.Make(400, 300));
    ASSERT_NE(nullptr, container.AddControl(1, kButton));
    ASSERT_NE(nullptr, container.AddControl(10, kLabel));
    ASSERT_NE(nullptr, container.AddControl(11, RECT{0, 100, 50, 140}));
    COXLayoutManager manager(&container);
    ASSERT_TRUE(manager.SetConstraint(1, OX_LMS_RIGHT, OX_LMT_SAME, -10, 0));
    ASSERT_TRUE(manager.SetConstraint(10, OX_LMS_LEFT, OX_LMT_OPPOSITE, 0, 11));
    ASSERT_TRUE(manager.SetConstraint(11, OX_LMS_LEFT, OX_LMT_OPPOSITE, 0, 10));

    EXPECT_FALSE(manager.RedrawLayout());
    container.Resize(500, 300);
    EXPECT_EQ(RectText(kButton), RectText(container.ControlRect(1)));
    EXPECT_EQ(RectText(kLabel), RectText(container.ControlRect(10)));
    EXPECT_EQ(RectText({0, 100, 50, 140}), RectText(container.ControlRect(11)));
}

TEST(OXLayoutWindow, TieChildKeepsCurrentDistances) {
    CRecordingContainer container;
    ASSERT_TRUE(container.Make(400, 300));
    ASSERT_NE(nullptr, container.AddControl(10, RECT{300, 250, 380, 280}));
    COXLayoutManager manager(&container);
    ASSERT_TRUE(manager.TieChild(10, OX_LMS_RIGHT | OX_LMS_BOTTOM));
    EXPECT_FALSE(manager.TieChild(99, OX_LMS_RIGHT));

    container.Resize(500, 350);
    EXPECT_EQ(RectText({400, 300, 480, 330}), RectText(container.ControlRect(10)));
}

TEST(OXLayoutWindow, DetachRestoresProcedure) {
    CRecordingContainer container;
    ASSERT_TRUE(container.Make(400, 300));
    ASSERT_NE(nullptr, container.AddControl(10, kLabel));
    const WNDPROC pfnBefore = CurrentProc(container.m_hWnd);
    COXLayoutManager manager(&container);
    EXPECT_NE(pfnBefore, CurrentProc(container.m_hWnd));
    ASSERT_TRUE(manager.SetConstraint(10, OX_LMS_RIGHT, OX_LMT_SAME, -10, 0));
    ASSERT_TRUE(manager.RedrawLayout());

    manager.Detach();
    EXPECT_EQ(pfnBefore, CurrentProc(container.m_hWnd));
    EXPECT_EQ(-1, manager.FindChild(10));
    EXPECT_FALSE(manager.RedrawLayout());
    container.Resize(600, 300);
    EXPECT_EQ(RectText({290, 30, 390, 60}), RectText(container.ControlRect(10)));
    EXPECT_EQ(kQueryAnswer, container.SendMessage(kQueryMsg));
}

TEST(OXLayoutWindow, DetachWhileContainerIsDestroyed) {
    COXLayoutManager manager;
    {
        CRecordingContainer container;
        ASSERT_TRUE(container.Make(400, 300));
        ASSERT_NE(nullptr, container.AddControl(10, kLabel));
        ASSERT_TRUE(manager.Attach(&container));
        ASSERT_TRUE(manager.SetConstraint(10, OX_LMS_RIGHT, OX_LMT_SAME, -10, 0));
        container.m_pDetachOnDestroy = &manager;
        EXPECT_TRUE(container.DestroyWindow());
    }
    EXPECT_EQ(-1, manager.FindChild(10));
    EXPECT_FALSE(manager.RedrawLayout());
}

// A container destroyed with the manager still attached: the manager lets go
// of the window and can serve another one.
TEST(OXLayoutWindow, ContainerDestroyedWhileSubclassed) {
    COXLayoutManager manager;
    {
        CRecordingContainer container;
        ASSERT_TRUE(container.Make(400, 300));
        ASSERT_TRUE(manager.Attach(&container));
    }
    EXPECT_FALSE(manager.RedrawLayout());

    CRecordingContainer next;
    ASSERT_TRUE(next.Make(400, 300));
    ASSERT_NE(nullptr, next.AddControl(10, kLabel));
    ASSERT_TRUE(manager.Attach(&next));
    ASSERT_TRUE(manager.SetConstraint(10, OX_LMS_RIGHT, OX_LMT_SAME, -10, 0));
    next.Resize(500, 300);
    EXPECT_EQ(RectText({390, 30, 490, 60}), RectText(next.ControlRect(10)));
}

TEST(OXLayoutWindow, AttachRules) {
    CRecordingContainer first, second;
    ASSERT_TRUE(first.Make(400, 300));
    ASSERT_TRUE(second.Make(400, 300));
    COXLayoutManager manager;
    EXPECT_FALSE(manager.Attach(NULL));
    CWnd empty; // an object without a window
    EXPECT_FALSE(manager.Attach(&empty));
    ASSERT_TRUE(manager.Attach(&first));
    ASSERT_TRUE(manager.SetConstraint(10, OX_LMS_TOP, OX_LMT_SAME, 5, 0));

    // Attaching again starts from no records; the window stays subclassed once.
    EXPECT_TRUE(manager.Attach(&first));
    EXPECT_EQ(-1, manager.FindChild(10));
    EXPECT_FALSE(manager.Attach(&second));
    EXPECT_EQ(kQueryAnswer, first.SendMessage(kQueryMsg));
}

TEST(OXLayoutWindow, TwoContainersAtOnce) {
    CRecordingContainer first, second;
    ASSERT_TRUE(first.Make(400, 300));
    ASSERT_TRUE(second.Make(400, 300));
    ASSERT_NE(nullptr, first.AddControl(10, kLabel));
    ASSERT_NE(nullptr, second.AddControl(10, kLabel));
    COXLayoutManager firstManager(&first), secondManager(&second);
    ASSERT_TRUE(firstManager.SetConstraint(10, OX_LMS_RIGHT, OX_LMT_SAME, -10, 0));
    ASSERT_TRUE(secondManager.SetConstraint(10, OX_LMS_BOTTOM, OX_LMT_SAME, -10, 0));

    first.Resize(500, 250);
    second.Resize(300, 400);
    EXPECT_EQ(RectText({390, 30, 490, 60}), RectText(first.ControlRect(10)));
    EXPECT_EQ(RectText({20, 360, 120, 390}), RectText(second.ControlRect(10)));

    // A second manager on a window that has one is refused; the first keeps
    // working and messages still reach the container once.
    COXLayoutManager intruder;
    EXPECT_FALSE(intruder.Attach(&first));
    const int nSizes = first.m_nSizes;
    first.Resize(450, 250);
    EXPECT_EQ(nSizes + 1, first.m_nSizes);
    EXPECT_EQ(RectText({340, 30, 440, 60}), RectText(first.ControlRect(10)));

    firstManager.Detach();
    second.Resize(300, 450);
    EXPECT_EQ(RectText({20, 410, 120, 440}), RectText(second.ControlRect(10)));
    EXPECT_EQ(kQueryAnswer, first.SendMessage(kQueryMsg));
    EXPECT_EQ(kQueryAnswer, second.SendMessage(kQueryMsg));
}

} // namespace
