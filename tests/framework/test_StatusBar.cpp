// Tests of CStatusBar and the frame's message line: panes from indicator ids
// and their strings, the stretching message pane, pane texts, the bar's place
// at the bottom of the frame, WM_SETMESSAGESTRING and the idle updates of
// the panes.
#include "CmdUI.h"
#include "FrameWnd.h"
#include "StatusBar.h"

#include "native/gtest.h"

#include <commctrl.h>

#include <string>

namespace {

const UINT kIndicatorCaps = 0xE701; // "CAPS"
const UINT kIndicatorNum = 0xE702;  // "NUM"
const UINT kIndicatorOvr = 40011;   // "OVERWRITE", updated by the frame
const UINT kCmdOpen = 40010;        // "Opens a recording\nOpen"
const UINT kIndicators[] = {ID_SEPARATOR, kIndicatorOvr, kIndicatorCaps, kIndicatorNum};

class CStatusFrame : public CFrameWnd {
public:
    bool m_bUpdateOvr = false;
    BOOL m_bOvrEnabled = TRUE;
    const char* m_pszOvrText = nullptr;

protected:
    void OnUpdateOvr(CCmdUI* pCmdUI) {
        if (!m_bUpdateOvr) {
            pCmdUI->ContinueRouting();
            return;
        }
        pCmdUI->Enable(m_bOvrEnabled);
        if (m_pszOvrText != nullptr)
            pCmdUI->SetText(m_pszOvrText);
    }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CStatusFrame, CFrameWnd)
    ON_UPDATE_COMMAND_UI(kIndicatorOvr, &CStatusFrame::OnUpdateOvr)
END_MESSAGE_MAP()
// clang-format on

// The text the control shows in a pane.
std::string ShownText(CStatusBar& bar, int nIndex) {
    char szText[256] = "";
    bar.SendMessage(SB_GETTEXTA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(szText));
    return szText;
}

CRect PaneRect(CStatusBar& bar, int nIndex) {
    CRect rect;
    bar.GetItemRect(nIndex, &rect);
    return rect;
}

class StatusBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pFrame = new CStatusFrame;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "Status", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                     CRect(20, 20, 660, 500)));
        m_hFrame = m_pFrame->m_hWnd;
        ASSERT_TRUE(m_pane.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1),
                                  m_pFrame, AFX_IDW_PANE_FIRST));
        ASSERT_TRUE(m_bar.Create(m_pFrame));
        ASSERT_TRUE(m_bar.SetIndicators(kIndicators, 4));
        m_pFrame->RecalcLayout();
        m_pFrame->GetClientRect(&m_rectClient);
    }
    void TearDown() override {
        if (::IsWindow(m_hFrame))
            m_pFrame->DestroyWindow();
    }
    void IdleUpdate() { m_bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE); }

    CStatusFrame* m_pFrame = nullptr;
    HWND m_hFrame = nullptr;
    CWnd m_pane;
    CStatusBar m_bar;
    CRect m_rectClient;
};

TEST_F(StatusBarTest, IndicatorsTakeTheirStringsAndTheSeparatorStretches) {
    ASSERT_EQ(m_bar.GetCount(), 4);
    EXPECT_EQ(m_bar.GetDlgCtrlID(), AFX_IDW_STATUS_BAR);
    const char* kTexts[] = {"", "OVERWRITE", "CAPS", "NUM"};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(m_bar.GetItemID(i), kIndicators[i]);
        EXPECT_STREQ(m_bar.GetPaneText(i), kTexts[i]);
        EXPECT_EQ(ShownText(m_bar, i), kTexts[i]);
        EXPECT_EQ(m_bar.CommandToIndex(kIndicators[i]), i);
    }
    EXPECT_EQ(m_bar.CommandToIndex(12345), -1);
    EXPECT_TRUE(m_bar.GetPaneStyle(0) & SBPS_STRETCH);
    EXPECT_EQ(m_bar.SendMessage(SB_GETPARTS), 4);
    // Each indicator is as wide as its text needs, the message pane takes
    // the rest of the bar, and the panes follow each other to the bar's end.
    EXPECT_GT(PaneRect(m_bar, 1).Width(), PaneRect(m_bar, 2).Width());
    EXPECT_GT(PaneRect(m_bar, 2).Width(), PaneRect(m_bar, 3).Width());
    CRect rectBar;
    m_bar.GetClientRect(&rectBar);
    EXPECT_GT(PaneRect(m_bar, 0).Width(), rectBar.Width() / 2);
    EXPECT_GE(PaneRect(m_bar, 3).right, rectBar.right - 8);
    // Wider, the bar gives the room to the message pane alone.
    const int nOvrWidth = PaneRect(m_bar, 1).Width();
    const int nMessageWidth = PaneRect(m_bar, 0).Width();
    m_pFrame->SetWindowPos(nullptr, 0, 0, 740, 480, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(PaneRect(m_bar, 1).Width(), nOvrWidth);
    EXPECT_EQ(PaneRect(m_bar, 0).Width(), nMessageWidth + 100);
}

TEST_F(StatusBarTest, BarSitsAlongTheBottomAsHighAsItsFontNeeds) {
    const CSize size = m_bar.CalcFixedLayout(TRUE, TRUE);
    TEXTMETRICA tm = {};
    HDC hDC = ::GetDC(m_bar.m_hWnd);
    HGDIOBJ hOld = ::SelectObject(hDC, reinterpret_cast<HGDIOBJ>(m_bar.SendMessage(WM_GETFONT)));
    ::GetTextMetricsA(hDC, &tm);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(m_bar.m_hWnd, hDC);
    EXPECT_GT(size.cy, tm.tmHeight);
    EXPECT_LT(size.cy, tm.tmHeight + 16);
    CRect rectBar;
    m_bar.GetWindowRect(&rectBar);
    m_pFrame->ScreenToClient(&rectBar);
    EXPECT_EQ(rectBar,
              CRect(0, m_rectClient.bottom - size.cy, m_rectClient.right, m_rectClient.bottom));
    CRect rectPane;
    m_pane.GetWindowRect(&rectPane);
    m_pFrame->ScreenToClient(&rectPane);
    EXPECT_EQ(rectPane.bottom, rectBar.top);
}

TEST_F(StatusBarTest, PaneTextsAndTheWindowTextOfTheMessagePane) {
    EXPECT_TRUE(m_bar.SetPaneText(2, "caps on"));
    EXPECT_STREQ(m_bar.GetPaneText(2), "caps on");
    EXPECT_EQ(ShownText(m_bar, 2), "caps on");
    EXPECT_FALSE(m_bar.SetPaneText(4, "none"));
    EXPECT_FALSE(m_bar.SetPaneText(-1, "none"));
    EXPECT_STREQ(m_bar.GetPaneText(9), "");
    m_bar.SetWindowText("Playing");
    EXPECT_STREQ(m_bar.GetPaneText(0), "Playing");
    EXPECT_EQ(ShownText(m_bar, 0), "Playing");
    CString strWindow;
    m_bar.GetWindowText(strWindow);
    EXPECT_STREQ(strWindow, "Playing");
}

TEST_F(StatusBarTest, MessageStringsShowInTheFirstPaneAndTheIdleTextComesBack) {
    struct Step {
        const char* name;
        WPARAM wParam;
        const char* pszText; // lParam
        const char* pszExpected;
        LRESULT nExpectedLast;
    };
    const Step steps[] = {
        {"a command's prompt", kCmdOpen, nullptr, "Opens a recording", 0},
        {"a text", 0, "Loading 3 calls", "Loading 3 calls", kCmdOpen},
        {"the idle message", AFX_IDS_IDLEMESSAGE, nullptr, "Waiting for a call", 0},
        {"a string without a prompt part", kIndicatorOvr, nullptr, "OVERWRITE",
         AFX_IDS_IDLEMESSAGE},
        {"an id without a string", 12345, nullptr, "", kIndicatorOvr},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        LRESULT nLast = m_pFrame->SendMessage(WM_SETMESSAGESTRING, step.wParam,
                                              reinterpret_cast<LPARAM>(step.pszText));
        EXPECT_EQ(nLast, step.nExpectedLast);
        EXPECT_STREQ(m_bar.GetPaneText(0), step.pszExpected);
        EXPECT_EQ(ShownText(m_bar, 0), step.pszExpected);
        EXPECT_STREQ(m_bar.GetPaneText(1), "OVERWRITE"); // the others stay
    }
}

TEST_F(StatusBarTest, IdleUpdateSetsHandledPanesAndLeavesTheOthers) {
    m_bar.SetPaneText(0, "Recording");
    IdleUpdate();
    EXPECT_STREQ(m_bar.GetPaneText(1), "OVERWRITE") << "no handler answered";
    EXPECT_EQ(ShownText(m_bar, 1), "OVERWRITE");

    m_pFrame->m_bUpdateOvr = true;
    m_pFrame->m_pszOvrText = "OVR";
    IdleUpdate();
    EXPECT_STREQ(m_bar.GetPaneText(1), "OVR");
    EXPECT_EQ(ShownText(m_bar, 1), "OVR");

    // Disabled, the pane keeps its text but shows none.
    m_pFrame->m_bOvrEnabled = FALSE;
    IdleUpdate();
    EXPECT_TRUE(m_bar.GetPaneStyle(1) & SBPS_DISABLED);
    EXPECT_STREQ(m_bar.GetPaneText(1), "OVR");
    EXPECT_EQ(ShownText(m_bar, 1), "");
    m_pFrame->m_bOvrEnabled = TRUE;
    IdleUpdate();
    EXPECT_EQ(ShownText(m_bar, 1), "OVR");

    // Panes nobody updates, the message pane included, keep their texts.
    EXPECT_EQ(ShownText(m_bar, 0), "Recording");
    EXPECT_EQ(ShownText(m_bar, 2), "CAPS");
    EXPECT_TRUE(m_bar.GetPaneStyle(2) == SBPS_NORMAL);
}

TEST(StatusBarFrame, AFrameWithoutStatusBarIgnoresMessageStrings) {
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(nullptr, "Bare"));
    EXPECT_EQ(pFrame->SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE), 0);
    EXPECT_EQ(pFrame->SendMessage(WM_SETMESSAGESTRING, kCmdOpen), AFX_IDS_IDLEMESSAGE);
    pFrame->DestroyWindow();
}

} // namespace
