// Tests of CToolBar: buttons from a TOOLBAR resource, its sizes docked along
// each side and floating, the wrapping of a bar that sizes itself, commands
// reaching the owner frame, idle updates of the buttons through CCmdUI, and
// the drag of the bar from a gap between its buttons.
#include "CmdUI.h"
#include "DockBar.h"
#include "DockContext.h"
#include "FrameWnd.h"
#include "MiniFrameWnd.h"
#include "ToolBar.h"

#include "native/gtest.h"
#include "tests/support/UiScript.h"

#include <commctrl.h>

#include <vector>

namespace {

const UINT kToolBarResource = 200;
const UINT kCmdOpen = 40001;  // handled by the frame
const UINT kCmdPrint = 40002; // updated by the frame
const UINT kCmdSave = 40003;  // nobody handles it
const UINT kIDs[] = {kCmdOpen, kCmdPrint, ID_SEPARATOR, kCmdSave};

class CToolFrame : public CFrameWnd {
public:
    int m_nOpens = 0;
    BOOL m_bPrintEnabled = FALSE;
    int m_nPrintCheck = 1;

protected:
    void OnOpen() { ++m_nOpens; }
    void OnUpdatePrint(CCmdUI* pCmdUI) {
        pCmdUI->Enable(m_bPrintEnabled);
        pCmdUI->SetCheck(m_nPrintCheck);
    }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CToolFrame, CFrameWnd)
    ON_COMMAND(kCmdOpen, &CToolFrame::OnOpen)
    ON_UPDATE_COMMAND_UI(kCmdPrint, &CToolFrame::OnUpdatePrint)
END_MESSAGE_MAP()
// clang-format on

CRect ItemRect(CToolBar& bar, int nIndex) {
    CRect rect;
    bar.GetItemRect(nIndex, &rect);
    return rect;
}

CSize WindowSize(CWnd* pWnd) {
    CRect rect;
    pWnd->GetWindowRect(&rect);
    return rect.Size();
}

class ToolBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pFrame = new CToolFrame;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "Tools", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                     CRect(20, 20, 660, 500)));
        m_hFrame = m_pFrame->m_hWnd;
        ASSERT_TRUE(m_pane.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1),
                                  m_pFrame, AFX_IDW_PANE_FIRST));
        m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
    }
    void TearDown() override {
        if (::GetCapture() != nullptr)
            ::ReleaseCapture();
        if (::IsWindow(m_hFrame))
            m_pFrame->DestroyWindow();
        PumpPending();
    }
    // The toolbar from the resource, docked on the top.
    void MakeBar(DWORD dwExtraStyle = 0) {
        ASSERT_TRUE(m_bar.CreateEx(m_pFrame, TBSTYLE_FLAT,
                                   WS_CHILD | WS_VISIBLE | CBRS_TOP | dwExtraStyle));
        ASSERT_TRUE(m_bar.LoadToolBar(kToolBarResource));
        m_bar.EnableDocking(CBRS_ALIGN_ANY);
        m_pFrame->DockControlBar(&m_bar, AFX_IDW_DOCKBAR_TOP);
        m_pFrame->RecalcLayout();
    }
    // The rows the buttons lie in, from the tops of their rectangles.
    int RowCount() {
        std::vector<int> tops;
        for (int i = 0; i < m_bar.GetCount(); ++i) {
            int nTop = ItemRect(m_bar, i).top;
            if (std::find(tops.begin(), tops.end(), nTop) == tops.end())
                tops.push_back(nTop);
        }
        return static_cast<int>(tops.size());
    }
    void Click(int nIndex) {
        CPoint pt = ItemRect(m_bar, nIndex).CenterPoint();
        m_bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        m_bar.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
        PumpPending();
    }
    void IdleUpdate() {
        ::SendMessage(m_hFrame, WM_IDLEUPDATECMDUI, TRUE, 0);
        m_pFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        if (m_bar.IsFloating())
            m_bar.GetDockingFrame()->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE,
                                                              TRUE);
    }

    CToolFrame* m_pFrame = nullptr;
    HWND m_hFrame = nullptr;
    CWnd m_pane;
    CToolBar m_bar;
};

TEST_F(ToolBarTest, LoadToolBarMakesTheButtonsImagesAndSizesOfTheResource) {
    MakeBar();
    ASSERT_EQ(m_bar.GetCount(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(m_bar.GetItemID(i), kIDs[i]) << i;
    EXPECT_EQ(m_bar.CommandToIndex(kCmdSave), 3);
    EXPECT_EQ(m_bar.CommandToIndex(12345), -1);
    EXPECT_EQ(m_bar.CommandToIndex(ID_SEPARATOR), -1);
    // Image 16 by 15, so buttons of 23 by 22; three images for three buttons.
    EXPECT_EQ(ItemRect(m_bar, 0).Size(), CSize(23, 22));
    auto hImages = reinterpret_cast<HIMAGELIST>(m_bar.SendMessage(TB_GETIMAGELIST));
    ASSERT_NE(hImages, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(hImages), 3);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(hImages, &cx, &cy);
    EXPECT_EQ(CSize(cx, cy), CSize(16, 15));
    EXPECT_FALSE(m_bar.LoadToolBar(kToolBarResource + 1));
}

TEST_F(ToolBarTest, SetButtonsReplacesTheButtonsAndSeparatorsTakeNoImage) {
    MakeBar();
    const UINT ids[] = {kCmdSave, ID_SEPARATOR, ID_SEPARATOR, kCmdOpen};
    ASSERT_TRUE(m_bar.SetButtons(ids, 4));
    ASSERT_EQ(m_bar.GetCount(), 4);
    TBBUTTON button = {};
    m_bar.SendMessage(TB_GETBUTTON, 3, reinterpret_cast<LPARAM>(&button));
    EXPECT_EQ(button.idCommand, static_cast<int>(kCmdOpen));
    EXPECT_EQ(button.iBitmap, 1); // the second image: separators skip none
    EXPECT_LT(ItemRect(m_bar, 1).Width(), ItemRect(m_bar, 0).Width());
    ASSERT_TRUE(m_bar.SetButtons(nullptr, 2));
    EXPECT_EQ(m_bar.GetCount(), 2);
    EXPECT_EQ(m_bar.GetItemID(0), static_cast<UINT>(ID_SEPARATOR));
}

TEST_F(ToolBarTest, DockedHorizontallyOneRowVerticallyOneColumn) {
    MakeBar();
    const CSize sizeHorz = m_bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK);
    const CSize sizeVert = m_bar.CalcDynamicLayout(-1, LM_VERTDOCK);
    // Measuring the column left the docked row alone.
    EXPECT_EQ(RowCount(), 1);
    const CRect rectLast = ItemRect(m_bar, 3);
    // The row ends with the last button; the bar's border sits below it.
    const int B2Y = AfxGetAuxData().cyBorder2;
    EXPECT_EQ(sizeHorz, CSize(rectLast.right, rectLast.bottom + B2Y));
    EXPECT_EQ(WindowSize(&m_bar), sizeHorz);
    EXPECT_GT(sizeVert.cy, sizeVert.cx);
    EXPECT_EQ(m_bar.CalcFixedLayout(FALSE, TRUE), sizeHorz);
    EXPECT_EQ(m_bar.CalcFixedLayout(FALSE, FALSE), sizeVert);
    EXPECT_EQ(m_bar.CalcFixedLayout(TRUE, TRUE).cx, 32767);

    m_pFrame->DockControlBar(&m_bar, AFX_IDW_DOCKBAR_LEFT);
    m_pFrame->RecalcLayout();
    EXPECT_EQ(RowCount(), 4);
    EXPECT_EQ(ItemRect(m_bar, 0).left, ItemRect(m_bar, 3).left);
    EXPECT_EQ(WindowSize(&m_bar), sizeVert);
    EXPECT_LT(ItemRect(m_bar, 0).bottom, ItemRect(m_bar, 3).top);
}

TEST_F(ToolBarTest, ASizingBarWrapsToTheWidthOrHeightAskedAndKeepsTheCommittedWidth) {
    MakeBar(CBRS_SIZE_DYNAMIC);
    const CSize sizeRow = m_bar.CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK);
    const int nButton = ItemRect(m_bar, 0).Width();
    struct Case {
        const char* name;
        int nLength;
        DWORD nMode;
        int nRows;
    };
    const Case cases[] = {
        {"room for all", 1000, LM_HORZ, 1},
        {"two buttons wide", 2 * nButton + 2, LM_HORZ, 2},
        {"one button wide", nButton, LM_HORZ, 4},
        {"as high as one row", sizeRow.cy, LM_HORZ | LM_LENGTHY, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSize size = m_bar.CalcDynamicLayout(c.nLength, c.nMode | LM_COMMIT);
        EXPECT_EQ(RowCount(), c.nRows);
        if ((c.nMode & LM_LENGTHY) == 0 && c.nRows > 1) {
            EXPECT_LE(size.cx, c.nLength);
        }
        EXPECT_EQ(m_bar.m_nMRUWidth, size.cx);
        EXPECT_EQ(m_bar.CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH), size);
    }
    // Asked for the height of two rows: the narrowest layout that fits.
    const CSize sizeTwoRows = m_bar.CalcDynamicLayout(2 * nButton + 2, LM_HORZ);
    const CSize sizeByHeight = m_bar.CalcDynamicLayout(sizeTwoRows.cy, LM_HORZ | LM_LENGTHY);
    EXPECT_LE(sizeByHeight.cy, sizeTwoRows.cy);
    EXPECT_LE(sizeByHeight.cx, sizeTwoRows.cx);

    // Floating, the bar keeps its committed width.
    m_bar.CalcDynamicLayout(2 * nButton + 2, LM_HORZ | LM_COMMIT);
    m_pFrame->FloatControlBar(&m_bar, CPoint(300, 300), CBRS_ALIGN_TOP);
    EXPECT_EQ(RowCount(), 2);
    EXPECT_EQ(WindowSize(&m_bar), m_bar.CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH));
}

TEST_F(ToolBarTest, InputButtonsSendTheirCommandsToTheFrameDockedOrFloating) {
    MakeBar();
    IdleUpdate();
    Click(0);
    EXPECT_EQ(m_pFrame->m_nOpens, 1);
    m_pFrame->FloatControlBar(&m_bar, CPoint(300, 300), CBRS_ALIGN_TOP);
    ASSERT_TRUE(m_bar.IsFloating());
    Click(0);
    EXPECT_EQ(m_pFrame->m_nOpens, 2);
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(ToolBarTest, IdleUpdateTakesTheButtonStatesFromTheOwnerFrame) {
    MakeBar();
    struct Step {
        const char* name;
        bool bFloat;
        BOOL bPrintEnabled;
        int nPrintCheck;
    };
    const Step steps[] = {
        {"docked, print off and checked", false, FALSE, 1},
        {"docked, print on", false, TRUE, 0},
        {"floating, print indeterminate", true, TRUE, 2},
        {"floating, print off", true, FALSE, 0},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        if (step.bFloat && !m_bar.IsFloating())
            m_pFrame->FloatControlBar(&m_bar, CPoint(300, 300), CBRS_ALIGN_TOP);
        m_pFrame->m_bPrintEnabled = step.bPrintEnabled;
        m_pFrame->m_nPrintCheck = step.nPrintCheck;
        IdleUpdate();
        EXPECT_TRUE(m_bar.GetButtonState(0) & TBSTATE_ENABLED) << "a handled command";
        EXPECT_FALSE(m_bar.GetButtonState(3) & TBSTATE_ENABLED) << "nobody handles it";
        const UINT nPrint = m_bar.GetButtonState(1);
        EXPECT_EQ((nPrint & TBSTATE_ENABLED) != 0, step.bPrintEnabled != FALSE);
        EXPECT_EQ((nPrint & TBSTATE_CHECKED) != 0, step.nPrintCheck == 1);
        EXPECT_EQ((nPrint & TBSTATE_INDETERMINATE) != 0, step.nPrintCheck == 2);
    }
}

TEST_F(ToolBarTest, InputPressOnAGapDragsTheBarButNotOnAButton) {
    MakeBar();
    CRect rectBar;
    m_bar.GetWindowRect(&rectBar);
    CRect rectClient;
    m_pFrame->GetClientRect(&rectClient);
    m_pFrame->ClientToScreen(&rectClient);
    const CPoint ptTo = rectClient.CenterPoint();

    // On the separator: the drag floats the bar over the pane.
    CPoint ptGap = ItemRect(m_bar, 2).CenterPoint();
    CPoint ptGapScreen = ptGap;
    m_bar.ClientToScreen(&ptGapScreen);
    ::SetCursorPos(ptGapScreen.x, ptGapScreen.y);
    PumpPending();
    CPoint ptToClient = ptTo;
    m_bar.ScreenToClient(&ptToClient);
    m_bar.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptToClient.x, ptToClient.y));
    m_bar.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptToClient.x, ptToClient.y));
    m_bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptGap.x, ptGap.y));
    EXPECT_TRUE(m_bar.IsFloating());
    EXPECT_EQ(m_pFrame->m_nOpens, 0);
    PumpPending();

    // On a button: the button is pressed, the bar stays.
    IdleUpdate();
    CWnd* pFloating = m_bar.GetDockingFrame();
    CRect rectFloating;
    pFloating->GetWindowRect(&rectFloating);
    Click(0);
    EXPECT_EQ(m_pFrame->m_nOpens, 1);
    CRect rectAfter;
    pFloating->GetWindowRect(&rectAfter);
    EXPECT_EQ(rectAfter, rectFloating);
    EXPECT_TRUE(m_bar.IsFloating());
}

} // namespace
