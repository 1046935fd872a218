// Tests of the MDI tabs: COXTabClientWnd attached to an MDI frame, its tab
// workspace and drop target. Attaching and its refusals with their trace
// texts; the synchronisation of tabs with the children as a table of steps
// (open, close, retitle with '&', hide and show, two created between
// synchronisations, destroyed behind the tabs' back); labels asked of the
// children; icons; the spare tab of a single wide tab; the layout of the tab
// control and the MDI client per skin; clicks, double clicks and drags over
// the tabs; and the look of the MDI tabs in "Office 2003".
#include "native/gtest.h"

#include "toolkit/OXSkinnedApp.h"
#include "toolkit/OXTabClientWnd.h"
#include "toolkit/OXTabSkin.h"

#include "Common/TraceLog.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/MDIFrameWnd.h"
#include "framework/View.h"
#include "tests/support/Canvas.h"
#include "tests/support/MdiScaffold.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UiScript.h"

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

COXSkinnedApp theApp;

const UINT kMainResource = 610;
const UINT kDocResource = 600;
const UINT kLabelResource = 620;

class CTextDoc : public CDocument {
    DECLARE_DYNCREATE(CTextDoc)
};
IMPLEMENT_DYNCREATE(CTextDoc, CDocument)

class CTextView : public CView {
    DECLARE_DYNCREATE(CTextView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CTextView, CView)

class CTextChild : public CMDIChildWnd {
    DECLARE_DYNCREATE(CTextChild)
};
IMPLEMENT_DYNCREATE(CTextChild, CMDIChildWnd)

// A child that answers WM_OX_GETTABTEXT with m_lLabel.
class CLabelChild : public CMDIChildWnd {
public:
    LRESULT OnGetTabText(WPARAM, LPARAM) { return m_lLabel; }
    LRESULT m_lLabel = 0;
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CLabelChild, CMDIChildWnd)
    ON_MESSAGE(WM_OX_GETTABTEXT, &CLabelChild::OnGetTabText)
END_MESSAGE_MAP()
// clang-format on

class CMainFrame : public CMDIFrameWnd {};

// Makes the creation of every tab control fail while installed: the new
// window answers WM_NCCREATE with FALSE, so the system takes it down again
// with its WM_NCDESTROY.
class CNoTabControls {
public:
    CNoTabControls() {
        s_hHook = ::SetWindowsHookExA(WH_CBT, Hook, nullptr, ::GetCurrentThreadId());
    }
    ~CNoTabControls() { ::UnhookWindowsHookEx(s_hHook); }

private:
    static LRESULT CALLBACK Hook(int nCode, WPARAM wParam, LPARAM lParam) {
        if (nCode == HCBT_CREATEWND) {
            auto hWnd = reinterpret_cast<HWND>(wParam);
            char szClass[64] = "";
            ::GetClassNameA(hWnd, szClass, sizeof(szClass));
            if (lstrcmpiA(szClass, WC_TABCONTROLA) == 0)
                s_lPrevious =
                    ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Refuse));
        }
        return ::CallNextHookEx(s_hHook, nCode, wParam, lParam);
    }
    static LRESULT CALLBACK Refuse(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE)
            return FALSE;
        return ::CallWindowProcA(reinterpret_cast<WNDPROC>(s_lPrevious), hWnd, message, wParam,
                                 lParam);
    }
    static HHOOK s_hHook;
    static LONG_PTR s_lPrevious; // the procedure Refuse passes on to
};
LONG_PTR CNoTabControls::s_lPrevious = 0;
HHOOK CNoTabControls::s_hHook = nullptr;

std::string WindowText(HWND hWnd) {
    char szText[256] = "";
    ::GetWindowTextA(hWnd, szText, sizeof(szText));
    return szText;
}

CRect ChildRectIn(HWND hWnd, HWND hParent) {
    CRect rect;
    ::GetWindowRect(hWnd, &rect);
    ::MapWindowPoints(nullptr, hParent, reinterpret_cast<LPPOINT>(&rect), 2);
    return rect;
}

class TabClientWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_TraceLog.SetPath(m_log.c_str(), m_folder.File("trace.bak").c_str());
        g_TraceLog.SetLevel(CTraceLog::LEVEL_ALL);
        ASSERT_TRUE(theApp.SetCurrentSkin("Classic"));
        m_pFrame = new CMainFrame;
        ASSERT_TRUE(m_mdi.SetUp(new CDocManager, kDocResource, RUNTIME_CLASS(CTextDoc),
                                RUNTIME_CLASS(CTextChild), RUNTIME_CLASS(CTextView), m_pFrame,
                                kMainResource, CSize(800, 600)));
    }
    void TearDown() override {
        m_mdi.TearDown();
        PumpPending();
        g_TraceLog.SetLevel(CTraceLog::LEVEL_OFF);
        g_TraceLog.SetPath("", "");
    }

    void Attach(DWORD dwStyle = TCS_HOTTRACK) {
        ASSERT_TRUE(m_client.Attach(m_pFrame, dwStyle));
        ASSERT_TRUE(m_client.IsAttached());
    }
    // A visible child (unless bVisible is false) titled lpszTitle.
    HWND Open(const char* lpszTitle, CMDIChildWnd* pChild = nullptr, bool bVisible = true) {
        if (pChild == nullptr)
            pChild = new CMDIChildWnd;
        const DWORD dwStyle = WS_CHILD | WS_OVERLAPPEDWINDOW | (bVisible ? WS_VISIBLE : 0);
        EXPECT_TRUE(pChild->Create(nullptr, lpszTitle, dwStyle, CFrameWnd::rectDefault, m_pFrame));
        return pChild->m_hWnd;
    }
    // Two passes: the first gives a new child its tab, the second selects the
    // active child's tab, which the first cannot find yet.
    void Sync() {
        m_client.m_tab.SyncTabs(TRUE, FALSE);
        m_client.m_tab.SyncTabs(TRUE, FALSE);
    }
    std::vector<std::string> Tabs() {
        std::vector<std::string> tabs;
        for (int i = 0; i < m_client.m_tab.GetItemCount(); ++i) {
            char szText[256] = "";
            TCITEMA item = {};
            item.mask = TCIF_TEXT;
            item.pszText = szText;
            item.cchTextMax = sizeof(szText);
            m_client.m_tab.GetItem(i, &item);
            tabs.push_back(szText);
        }
        return tabs;
    }
    std::string LogText() const { return ReadWholeFile(m_log); }
    CPoint TabCentre(int nTab) {
        CRect rect;
        m_client.m_tab.GetItemRect(nTab, &rect);
        return rect.CenterPoint();
    }
    HWND Active() {
        CMDIChildWnd* pActive = m_pFrame->MDIGetActive();
        return pActive != nullptr ? pActive->m_hWnd : nullptr;
    }
    HWND Client() const { return m_pFrame->m_hWndMDIClient; }

    CTempFolder m_folder;
    std::string m_log = m_folder.File("trace.log");
    CMdiScaffold m_mdi;
    CMainFrame* m_pFrame = nullptr;
    COXTabClientWnd m_client;
};

} // namespace

TEST_F(TabClientWndTest, AttachSubclassesTheClientAndMakesTheTabControl) {
    Attach();
    EXPECT_EQ(CWnd::FromHandlePermanent(Client()), &m_client);
    EXPECT_EQ(m_client.m_pParentFrame, m_pFrame);
    EXPECT_EQ(m_client.m_tab.m_pTabClientWnd, &m_client);
    ASSERT_NE(m_client.m_tab.m_hWnd, nullptr);
    EXPECT_EQ(::GetParent(m_client.m_tab.m_hWnd), m_pFrame->m_hWnd);
    EXPECT_EQ(m_client.m_tab.GetDlgCtrlID(), static_cast<int>(IDC_OXTABWORKSPACE));
    const DWORD dwStyle = WS_CHILD | WS_VISIBLE | TCS_FOCUSNEVER | TCS_HOTTRACK;
    EXPECT_EQ(m_client.m_tab.GetStyle() & dwStyle, dwStyle);
    EXPECT_EQ(m_client.m_tab.GetStyle() & (TCS_BOTTOM | TCS_BUTTONS | TCS_VERTICAL), 0u);
    EXPECT_EQ(reinterpret_cast<HFONT>(m_client.m_tab.SendMessage(WM_GETFONT)),
              static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
    EXPECT_EQ(m_client.m_tab.GetImageList()->m_hImageList, m_client.m_tab.m_imageList.m_hImageList);
    EXPECT_EQ(m_client.m_tab.m_nOffset, 1);
    EXPECT_TRUE(m_client.m_tab.m_bAcceptDraggedObject);
    // No OLE in this program: the tabs work without drag activation.
    EXPECT_NE(LogText().find("COXTabWorkspace::OnCreate: failed to register the control with "
                             "COleDropTarget"),
              std::string::npos);
    EXPECT_NE(LogText().find("you've probably forgot to initialize OLE libraries using AfxOleInit "
                             "function"),
              std::string::npos);

    EXPECT_TRUE(m_client.Detach());
    EXPECT_FALSE(m_client.IsAttached());
    EXPECT_EQ(CWnd::FromHandlePermanent(Client()), nullptr);
    EXPECT_EQ(m_client.m_tab.m_hWnd, nullptr);
    EXPECT_EQ(m_client.m_tab.m_pTabClientWnd, nullptr);
    // The client has the frame's whole pane again.
    m_pFrame->RecalcLayout();
    CRect rectPane;
    m_pFrame->GetClientRect(&rectPane);
    EXPECT_EQ(ChildRectIn(Client(), m_pFrame->m_hWnd), rectPane);
}

TEST_F(TabClientWndTest, AttachAndDetachRefusalsAreTracedAndChangeNothing) {
    CFrameWnd plainFrame;
    CMDIFrameWnd frameWithoutWindow;
    COXTabClientWnd second;
    struct Case {
        const char* name;
        std::function<BOOL()> call;
        const char* trace;
        bool bAttachedAfter; // m_client
    } cases[] = {
        {"detach before attach", [&] { return m_client.Detach(); },
         "COXTabClientWnd::Attach: there is nothing to detach! Window hasn't been attached!",
         false},
        {"no frame", [&] { return m_client.Attach(nullptr, 0); },
         "COXTabClientWnd::Attach: specified frame window is not of CMDIFrameWnd class (or "
         "derived)!",
         false},
        {"not an MDI frame", [&] { return m_client.Attach(&plainFrame, 0); },
         "COXTabClientWnd::Attach: specified frame window is not of CMDIFrameWnd class (or "
         "derived)!",
         false},
        {"frame without an MDI client", [&] { return m_client.Attach(&frameWithoutWindow, 0); },
         "COXTabClientWnd::Attach: failed to subclass MDI Client window", false},
        {"tab control refused",
         [&] {
             CNoTabControls refuse;
             return m_client.Attach(m_pFrame, 0);
         },
         "COXTabClientWnd::Attach: failed to create tab control", false},
        {"attach", [&] { return !m_client.Attach(m_pFrame, TCS_HOTTRACK); }, nullptr, true},
        {"second attach", [&] { return m_client.Attach(m_pFrame, 0); },
         "COXTabClientWnd::Attach: window has already been attached. Call Detach() function "
         "before!",
         true},
        {"client subclassed by another", [&] { return second.Attach(m_pFrame, 0); },
         "COXTabClientWnd::Attach: MDIClient window has already been subclassed", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const size_t nLogBefore = LogText().size();
        EXPECT_FALSE(c.call());
        const std::string sAdded = LogText().substr(nLogBefore);
        if (c.trace != nullptr) {
            EXPECT_NE(sAdded.find(c.trace), std::string::npos) << sAdded;
        }
        EXPECT_EQ(m_client.IsAttached() != FALSE, c.bAttachedAfter);
        EXPECT_FALSE(second.IsAttached());
        // Whatever failed, the client is ours only while attached.
        EXPECT_EQ(CWnd::FromHandlePermanent(Client()),
                  c.bAttachedAfter ? static_cast<CWnd*>(&m_client) : nullptr);
    }
    EXPECT_TRUE(m_client.Detach());
}

TEST_F(TabClientWndTest, TabsFollowTheChildren) {
    Attach();
    struct Step {
        const char* name;
        std::function<void()> act;
        std::vector<std::string> tabs;
        const char* selected; // title of the active child's tab
    };
    HWND hA = nullptr, hB = nullptr, hC = nullptr, hD = nullptr;
    const std::vector<Step> steps = {
        {"nothing open", [] {}, {}, nullptr},
        {"open A", [&] { hA = Open("A"); }, {"A"}, "A"},
        {"open B", [&] { hB = Open("B"); }, {"A", "B"}, "B"},
        // An '&' shows literally: the tab holds it doubled.
        {"retitle B",
         [&] { ::SetWindowTextA(hB, "Save & Exit"); },
         {"A", "Save && Exit"},
         "Save & Exit"},
        {"hide A", [&] { ::ShowWindow(hA, SW_HIDE); }, {"Save && Exit"}, "Save & Exit"},
        {"show A again: at the end",
         [&] { ::ShowWindow(hA, SW_SHOWNA); },
         {"Save && Exit", "A"},
         "Save & Exit"},
        {"activate A",
         [&] { m_pFrame->MDIActivate(CWnd::FromHandle(hA)); },
         {"Save && Exit", "A"},
         "A"},
        {"close B", [&] { CWnd::FromHandle(hB)->SendMessage(WM_CLOSE); }, {"A"}, "A"},
        // Both new in one pass: inserted at the same place, so the one lower
        // in Z order comes first.
        {"open C and D between syncs",
         [&] {
             hC = Open("C");
             hD = Open("D");
         },
         {"A", "C", "D"},
         "D"},
        {"destroy C without WM_MDIDESTROY", [&] { ::DestroyWindow(hC); }, {"A", "D"}, "D"},
        {"open R&D: doubled from the start", [&] { Open("R&D"); }, {"A", "D", "R&&D"}, "R&D"},
        // A hidden frame hides no child of its own.
        {"hide the frame", [&] { m_pFrame->ShowWindow(SW_HIDE); }, {"A", "D", "R&&D"}, "R&D"},
        {"show the frame", [&] { m_pFrame->ShowWindow(SW_SHOW); }, {"A", "D", "R&&D"}, "R&D"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        Sync();
        EXPECT_EQ(Tabs(), step.tabs);
        EXPECT_EQ(m_client.m_tab.m_arrTab.GetSize(), static_cast<INT_PTR>(step.tabs.size()));
        const int nSelected = m_client.m_tab.GetCurSel();
        if (step.selected == nullptr) {
            EXPECT_EQ(Active(), nullptr);
        } else {
            ASSERT_GE(nSelected, 0);
            EXPECT_EQ(m_client.m_tab.m_arrTab[nSelected].hWnd, Active());
            EXPECT_EQ(std::string(m_client.m_tab.m_arrTab[nSelected].sText), step.selected);
        }
        // Every tab's entry names its child by handle and class.
        for (int i = 0; i < m_client.m_tab.m_arrTab.GetSize(); ++i) {
            const _tagTAB_ITEM_ENTRY& entry = m_client.m_tab.m_arrTab[i];
            EXPECT_EQ(m_client.m_tab.FindTab(entry.hWnd), i);
            EXPECT_EQ(std::string(entry.sText), WindowText(entry.hWnd));
            EXPECT_TRUE(entry.bFound);
        }
    }
    EXPECT_EQ(m_client.m_tab.FindTab(hC), -1);
    EXPECT_EQ(m_client.m_tab.FindTab(nullptr), -1);
}

TEST_F(TabClientWndTest, MDIMessagesUpdateTheTabsAtOnce) {
    Attach();
    HWND hA = Open("A");
    HWND hB = Open("B");
    Sync();
    ASSERT_EQ(Tabs(), (std::vector<std::string>{"A", "B"}));
    // Activation through the client selects the tab before any sync.
    m_pFrame->MDIActivate(CWnd::FromHandle(hA));
    EXPECT_EQ(m_client.m_tab.GetCurSel(), 0);
    // WM_MDIDESTROY removes the tab before the child goes.
    ::SendMessageA(Client(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(hB), 0);
    EXPECT_EQ(Tabs(), (std::vector<std::string>{"A"}));
    EXPECT_FALSE(::IsWindow(hB));
    // WM_MDICREATE posts the sync: the tab comes with the next messages.
    MDICREATESTRUCTA mcs = {};
    mcs.szClass = "MDIChildOfTabs";
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefMDIChildProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = mcs.szClass;
    ::RegisterClassA(&wc);
    mcs.szTitle = "Made by message";
    mcs.hOwner = wc.hInstance;
    mcs.x = mcs.y = mcs.cx = mcs.cy = CW_USEDEFAULT;
    mcs.style = WS_VISIBLE;
    HWND hMade = reinterpret_cast<HWND>(
        ::SendMessageA(Client(), WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    ASSERT_NE(hMade, nullptr);
    EXPECT_EQ(m_client.m_tab.GetCurSel(), -1);
    EXPECT_TRUE(PumpUntil([&] { return m_client.m_tab.FindTab(hMade) != -1; }));
    ::SendMessageA(Client(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(hMade), 0);
}

TEST_F(TabClientWndTest, LabelsComeFromTheChildsAnswerElseItsCaption) {
    Attach();
    static char szLabel[] = "Label of the child";
    static char szEmpty[] = "";
    struct Case {
        const char* name;
        LRESULT lAnswer;
        std::string tab;
    } cases[] = {
        {"no answer", 0, "Caption"},
        {"a text", reinterpret_cast<LRESULT>(szLabel), szLabel},
        {"an empty text", reinterpret_cast<LRESULT>(szEmpty), "Caption"},
        {"a string resource", static_cast<LRESULT>(kLabelResource), "Label from the resources"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* pChild = new CLabelChild;
        pChild->m_lLabel = c.lAnswer;
        HWND hChild = Open("Caption", pChild);
        EXPECT_EQ(std::string(m_client.m_tab.GetTabText(hChild)), c.tab);
        Sync();
        const int nTab = m_client.m_tab.FindTab(hChild);
        ASSERT_NE(nTab, -1);
        EXPECT_EQ(Tabs()[nTab], c.tab);
        pChild->MDIDestroy();
    }
}

TEST_F(TabClientWndTest, ChildIconsShareOneImageEach) {
    Attach();
    HICON hIcon = ::LoadIconA(nullptr, MAKEINTRESOURCEA(32516)); // IDI_INFORMATION
    HWND hA = Open("A");
    HWND hB = Open("B");
    ::SendMessageA(hA, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hIcon));
    ::SendMessageA(hB, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hIcon));
    EXPECT_EQ(COXTabWorkspace::GetWindowSmallIcon(hA), hIcon);
    m_client.m_tab.SyncTabs(TRUE, TRUE);
    for (HWND hChild : {hA, hB}) {
        TCITEMA item = {};
        item.mask = TCIF_IMAGE;
        m_client.m_tab.GetItem(m_client.m_tab.FindTab(hChild), &item);
        EXPECT_EQ(item.iImage, m_client.m_tab.AddTabIcon(hIcon));
    }
    EXPECT_EQ(m_client.m_tab.m_arrImage.GetSize(), m_client.m_tab.m_imageList.GetImageCount());
}

TEST_F(TabClientWndTest, LayoutPutsTheClientOverTheTabsDisplayArea) {
    struct Case {
        const char* skin;
        DWORD dwStyle;
        CRect grow; // what the skin adds on each side
    } cases[] = {
        {"Classic", TCS_HOTTRACK, CRect(0, 0, 0, 0)},
        {"Office XP", TCS_HOTTRACK, CRect(5, 0, 5, 5)},
        {"Office 2003", TCS_BOTTOM, CRect(5, 5, 5, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.skin);
        ASSERT_TRUE(theApp.SetCurrentSkin(c.skin));
        Attach(c.dwStyle);
        Open("Document");
        Sync();
        m_pFrame->RecalcLayout();
        CRect rectPane;
        m_pFrame->GetClientRect(&rectPane);
        EXPECT_EQ(ChildRectIn(m_client.m_tab.m_hWnd, m_pFrame->m_hWnd), rectPane);
        CRect rectDisplay;
        m_client.m_tab.GetClientRect(&rectDisplay);
        m_client.m_tab.AdjustRect(FALSE, &rectDisplay);
        m_client.m_tab.MapWindowPoints(m_pFrame, &rectDisplay);
        rectDisplay.InflateRect(c.grow);
        EXPECT_EQ(ChildRectIn(Client(), m_pFrame->m_hWnd), rectDisplay);
        // The strip stays visible beside the client.
        CRect rectTab;
        m_client.m_tab.GetItemRect(0, &rectTab);
        m_client.m_tab.MapWindowPoints(m_pFrame, &rectTab);
        CRect rectOverlap;
        EXPECT_FALSE(rectOverlap.IntersectRect(rectTab, ChildRectIn(Client(), m_pFrame->m_hWnd)));
        m_pFrame->MDIGetActive()->MDIDestroy();
        m_client.Detach();
    }
}

TEST_F(TabClientWndTest, ButtonStylesKeepTheButtonsBesideTheClient) {
    struct Case {
        const char* name;
        DWORD dwStyle;
    } cases[] = {
        {"buttons at the bottom", TCS_BUTTONS | TCS_BOTTOM},
        {"buttons on the left", TCS_BUTTONS | TCS_VERTICAL | TCS_MULTILINE},
        {"buttons on the right", TCS_BUTTONS | TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Attach(c.dwStyle);
        Open("Document");
        Sync();
        m_pFrame->RecalcLayout();
        // The measurement leaves the style as it was.
        EXPECT_EQ(m_client.m_tab.GetStyle() & (TCS_BUTTONS | TCS_BOTTOM | TCS_VERTICAL),
                  c.dwStyle & (TCS_BUTTONS | TCS_BOTTOM | TCS_VERTICAL));
        const CRect rectTabs = ChildRectIn(m_client.m_tab.m_hWnd, m_pFrame->m_hWnd);
        const CRect rectClient = ChildRectIn(Client(), m_pFrame->m_hWnd);
        CRect rectButton;
        m_client.m_tab.GetItemRect(0, &rectButton);
        m_client.m_tab.MapWindowPoints(m_pFrame, &rectButton);
        CRect rectInside;
        EXPECT_TRUE(rectInside.IntersectRect(rectTabs, rectClient));
        EXPECT_EQ(rectInside, rectClient);
        CRect rectOverlap;
        EXPECT_FALSE(rectOverlap.IntersectRect(rectButton, rectClient))
            << rectButton.left << "," << rectButton.top << " " << rectClient.left << ","
            << rectClient.top << "," << rectClient.right << "," << rectClient.bottom;
        if ((c.dwStyle & TCS_VERTICAL) == 0) {
            // Measured as if at the top, then moved back to the top.
            EXPECT_EQ(rectClient.top, rectTabs.top + m_client.m_tab.m_nOffset);
        }
        m_pFrame->MDIGetActive()->MDIDestroy();
        m_client.Detach();
    }
}

TEST_F(TabClientWndTest, DestroyingTheFrameLeavesNothingAttached) {
    Attach();
    Open("Document");
    Sync();
    m_pFrame->DestroyWindow();
    EXPECT_FALSE(m_client.IsAttached());
    EXPECT_EQ(m_client.m_tab.m_pTabClientWnd, nullptr);
    EXPECT_EQ(m_client.m_tab.m_hWnd, nullptr);
    EXPECT_EQ(m_client.m_tab.m_arrTab.GetSize(), 0);
    EXPECT_FALSE(m_client.Detach());
}

TEST_F(TabClientWndTest, ATooThinAreaLeavesTheClientEmpty) {
    for (const char* pszSkin : {"Classic", "Office XP"}) {
        SCOPED_TRACE(pszSkin);
        ASSERT_TRUE(theApp.SetCurrentSkin(pszSkin));
        Attach();
        CRect rect(10, 10, 300, 12); // twice the border offset high
        m_client.CalcWindowRect(&rect);
        EXPECT_TRUE(rect.IsRectEmpty());
        EXPECT_EQ(ChildRectIn(Client(), m_pFrame->m_hWnd).Height(), 0);
        m_client.Detach();
    }
}

TEST_F(TabClientWndTest, ASingleTabTooWideGetsASpareTabUntilItFits) {
    Attach();
    HWND hDoc = Open("A document title long enough to need most of a narrow frame's width");
    Sync();
    CRect rectTab;
    m_client.m_tab.GetItemRect(0, &rectTab);
    struct Step {
        const char* name;
        int nFrameWidth;
        bool bSpare;
    } steps[] = {
        {"wide frame", rectTab.Width() + 200, false},
        {"narrow frame", rectTab.Width() + 30, true},
        {"narrow again", rectTab.Width() + 20, true},
        {"wide again", rectTab.Width() + 200, false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        ::SetWindowPos(m_pFrame->m_hWnd, nullptr, 0, 0, step.nFrameWidth, 400,
                       SWP_NOMOVE | SWP_NOZORDER);
        m_pFrame->RecalcLayout();
        ASSERT_EQ(m_client.m_tab.GetItemCount(), step.bSpare ? 2 : 1);
        EXPECT_EQ(m_client.m_bHasSpareTab != FALSE, step.bSpare);
        EXPECT_EQ(m_client.m_tab.GetSpareTabIndex(), step.bSpare ? 1 : -1);
        if (step.bSpare) {
            EXPECT_EQ(Tabs()[1], "");
        }
        // The client never covers the tab strip.
        CRect rectClient = ChildRectIn(Client(), m_pFrame->m_hWnd);
        CRect rectTabs = ChildRectIn(m_client.m_tab.m_hWnd, m_pFrame->m_hWnd);
        EXPECT_GT(rectClient.top, rectTabs.top + 10);
    }
    // The spare tab has no child: a click on it activates nothing.
    ::SetWindowPos(m_pFrame->m_hWnd, nullptr, 0, 0, rectTab.Width() + 30, 400,
                   SWP_NOMOVE | SWP_NOZORDER);
    m_pFrame->RecalcLayout();
    EXPECT_EQ(m_client.m_tab.GetTabWindow(1), nullptr);
    Sync();
    EXPECT_EQ(m_client.m_tab.GetItemCount(), 2); // the sync leaves it alone
    // Without a document no spare tab remains.
    CWnd::FromHandle(hDoc)->SendMessage(WM_CLOSE);
    m_pFrame->RecalcLayout();
    EXPECT_EQ(m_client.m_tab.GetItemCount(), 0);
}

TEST_F(TabClientWndTest, ClickActivatesAndDoubleClickMaximisesOrRestores) {
    Attach();
    HWND hA = Open("A");
    HWND hB = Open("B");
    Sync();
    m_pFrame->RecalcLayout();
    ASSERT_EQ(Active(), hB);

    // A click on A's tab selects it; the selection change activates A.
    const CPoint ptA = TabCentre(0);
    m_client.m_tab.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptA.x, ptA.y));
    m_client.m_tab.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptA.x, ptA.y));
    EXPECT_EQ(Active(), hA);

    // Each double click: the tab, whose child then is (or is not) maximised.
    struct Step {
        const char* name;
        int nTab;
        bool bMaximised;
    } steps[] = {
        {"the active A maximises", 0, true},
        {"the maximised active A restores", 0, false},
        {"A maximises again", 0, true},
        {"B, not the active one, maximises", 1, true},
    };
    const HWND hChildren[] = {hA, hB};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        // Selected without a selection change, as the first click of a double
        // click over the selected tab leaves it.
        m_client.m_tab.SetCurSel(step.nTab);
        const CPoint pt = TabCentre(step.nTab);
        m_client.m_tab.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        EXPECT_EQ(::IsZoomed(hChildren[step.nTab]) != FALSE, step.bMaximised);
    }
}

TEST_F(TabClientWndTest, TabsOfChildrenGoneBehindTheirBackAreSkipped) {
    Attach();
    HWND hA = Open("A");
    Open("B");
    Sync();
    m_pFrame->RecalcLayout();
    ASSERT_EQ(m_client.m_tab.GetTabWindow(0), hA);
    ::DestroyWindow(hA);
    // Until the next sync the tab stays, but nothing reaches its child.
    EXPECT_EQ(m_client.m_tab.GetTabWindow(0), nullptr);
    m_client.m_tab.SetCurSel(0);
    const CPoint pt = TabCentre(0);
    m_client.m_tab.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    COleDataObject data;
    EXPECT_EQ(m_client.m_tab.m_dropTarget.OnDragOver(&m_client.m_tab, &data, 0, pt),
              DROPEFFECT_NONE);
    NMHDR nm = {m_client.m_tab.m_hWnd, IDC_OXTABWORKSPACE, static_cast<UINT>(TCN_SELCHANGE)};
    m_pFrame->SendMessage(WM_NOTIFY, IDC_OXTABWORKSPACE, reinterpret_cast<LPARAM>(&nm));
    ASSERT_NE(Active(), nullptr);
    EXPECT_EQ(WindowText(Active()), "B");
}

TEST_F(TabClientWndTest, DraggingOverATabActivatesItsChildOncePerTab) {
    Attach();
    HWND hA = Open("A");
    HWND hB = Open("B");
    Sync();
    m_pFrame->RecalcLayout();
    COXTabWorkspaceDropTarget& target = m_client.m_tab.m_dropTarget;
    COleDataObject data;
    CRect rectStrip;
    m_client.m_tab.GetClientRect(&rectStrip);
    struct Step {
        const char* name;
        std::function<void()> before;
        CPoint pt;
        HWND* phActive;
    } steps[] = {
        {"over A's tab", [] {}, TabCentre(0), &hA},
        {"B activated, still over A's tab", [&] { m_pFrame->MDIActivate(CWnd::FromHandle(hB)); },
         CPoint(TabCentre(0).x + 2, TabCentre(0).y), &hB},
        {"over B's tab", [] {}, TabCentre(1), &hB},
        {"back over A's tab", [] {}, TabCentre(0), &hA},
        {"left and over A's tab again",
         [&] {
             target.OnDragLeave(&m_client.m_tab);
             m_pFrame->MDIActivate(CWnd::FromHandle(hB));
         },
         TabCentre(0), &hA},
        {"off the tabs",
         [&] {
             target.OnDragLeave(&m_client.m_tab);
             m_pFrame->MDIActivate(CWnd::FromHandle(hB));
         },
         CPoint(rectStrip.right - 2, rectStrip.bottom - 2), &hB},
        {"activation by drags off", [&] { m_client.m_tab.m_bAcceptDraggedObject = FALSE; },
         TabCentre(0), &hB},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.before();
        EXPECT_EQ(target.OnDragOver(&m_client.m_tab, &data, 0, step.pt), DROPEFFECT_NONE);
        EXPECT_EQ(Active(), *step.phActive);
    }
    target.OnDragLeave(&m_client.m_tab);
    EXPECT_EQ(target.m_nOldItem, -1);
}

TEST_F(TabClientWndTest, HidingTheClientHidesTheTabs) {
    Attach();
    ::ShowWindow(Client(), SW_HIDE);
    EXPECT_EQ(m_client.m_tab.GetStyle() & WS_VISIBLE, 0u);
    ::ShowWindow(Client(), SW_SHOW);
    EXPECT_NE(m_client.m_tab.GetStyle() & WS_VISIBLE, 0u);
}

TEST_F(TabClientWndTest, Office2003TabsAndTheClientsEdgeScreen) {
    ASSERT_TRUE(theApp.SetCurrentSkin("Office 2003"));
    auto* pSkinOutline = dynamic_cast<COXSkinXP*>(theApp.GetCurrentSkin());
    ASSERT_NE(pSkinOutline, nullptr);
    Attach();
    Open("Calls of Monday");
    Open("R&D review");
    HWND hLast = Open("Scores");
    ::ShowWindow(hLast, SW_SHOWNORMAL);
    Sync();
    m_pFrame->RecalcLayout();
    m_pFrame->RedrawWindow(
        nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Settle();
    CRect rectFrame;
    m_pFrame->GetWindowRect(&rectFrame);
    EXPECT_TRUE(SaveScreenPng(rectFrame, "OXTabClientWnd_Office2003.png"));

    // The client's edge: a face-coloured frame with a dark shadow frame inside.
    CWindowDC dc(CWnd::FromHandle(Client()));
    CRect rectClient = ChildRectIn(Client(), Client());
    EXPECT_EQ(dc.GetPixel(0, 20), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(dc.GetPixel(1, 20), ::GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(dc.GetPixel(rectClient.Width() - 2, 20), ::GetSysColor(COLOR_3DDKSHADOW));
    // The tab control's border: the outline colour on every side.
    CWindowDC dcBorder(&m_client.m_tab);
    CRect rectTabs = ChildRectIn(m_client.m_tab.m_hWnd, m_client.m_tab.m_hWnd);
    EXPECT_EQ(dcBorder.GetPixel(0, 5), pSkinOutline->GetOutlineColor());
    EXPECT_EQ(dcBorder.GetPixel(rectTabs.Width() / 2, 0), pSkinOutline->GetOutlineColor());
    EXPECT_EQ(dcBorder.GetPixel(rectTabs.Width() - 1, 5), pSkinOutline->GetOutlineColor());
    // A tab in the background has the skin's gradient, dark at its top.
    auto* pSkin = dynamic_cast<COXSkin2003*>(theApp.GetCurrentSkin());
    ASSERT_NE(pSkin, nullptr);
    CClientDC dcTabs(&m_client.m_tab);
    CRect rectTab;
    m_client.m_tab.GetItemRect(0, &rectTab);
    ASSERT_NE(m_client.m_tab.GetCurSel(), 0);
    const COLORREF crTop = dcTabs.GetPixel(rectTab.left + 2, rectTab.top + 1);
    const COLORREF crDark = pSkin->GetTabDarkColor();
    EXPECT_LE(std::abs(GetGValue(crTop) - GetGValue(crDark)), 12)
        << std::hex << crTop << " " << crDark;
}
