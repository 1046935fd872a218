// Tests of the MDI frame and its children: the window menu, menu switching,
// activation, command routing through the active child, the Window commands,
// titles and layout.
#include "DocTemplate.h"
#include "Document.h"
#include "MDIFrameWnd.h"
#include "View.h"
#include "WinApp.h"

#include "native/gtest.h"
#include "tests/support/MdiScaffold.h"

#include <string>
#include <vector>

namespace {

const UINT kMainResource = 610;
const UINT kDocResource = 600;

// Commands and who handles them.
const UINT kCmdAll = 32000;     // view, document, child frame, main frame, application
const UINT kCmdChildUp = 32001; // child frame, main frame, application
const UINT kCmdMainUp = 32002;  // main frame, application
const UINT kCmdApp = 32003;     // application only

std::vector<std::string> g_log;

class CTestApp : public CWinApp {
public:
    void OnCmd() { g_log.push_back("app"); }
    int DoMessageBox(LPCTSTR, UINT, UINT) override { return IDNO; }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_COMMAND(kCmdAll, &CTestApp::OnCmd)
    ON_COMMAND(kCmdChildUp, &CTestApp::OnCmd)
    ON_COMMAND(kCmdMainUp, &CTestApp::OnCmd)
    ON_COMMAND(kCmdApp, &CTestApp::OnCmd)
END_MESSAGE_MAP()
// clang-format on

CTestApp theApp;

class CListDoc : public CDocument {
    DECLARE_DYNCREATE(CListDoc)
public:
    void OnCmd() { g_log.push_back("doc"); }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CListDoc, CDocument)

// clang-format off
BEGIN_MESSAGE_MAP(CListDoc, CDocument)
    ON_COMMAND(kCmdAll, &CListDoc::OnCmd)
END_MESSAGE_MAP()
// clang-format on

class CCallView : public CView {
    DECLARE_DYNCREATE(CCallView)
public:
    void OnDraw(CDC*) override {}
    void OnCmd() { g_log.push_back("view"); }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CCallView, CView)

// clang-format off
BEGIN_MESSAGE_MAP(CCallView, CView)
    ON_COMMAND(kCmdAll, &CCallView::OnCmd)
END_MESSAGE_MAP()
// clang-format on

int g_childrenDeleted = 0;

class CChildFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CChildFrame)
public:
    ~CChildFrame() override { ++g_childrenDeleted; }
    void OnCmd() { g_log.push_back("child"); }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CChildFrame, CMDIChildWnd)

// clang-format off
BEGIN_MESSAGE_MAP(CChildFrame, CMDIChildWnd)
    ON_COMMAND(kCmdAll, &CChildFrame::OnCmd)
    ON_COMMAND(kCmdChildUp, &CChildFrame::OnCmd)
END_MESSAGE_MAP()
// clang-format on

// The application's kind of child: created visible and maximised.
class CMaximizedChild : public CChildFrame {
    DECLARE_DYNCREATE(CMaximizedChild)
protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override {
        if (!CChildFrame::PreCreateWindow(cs))
            return FALSE;
        cs.style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE | WS_MAXIMIZE;
        return TRUE;
    }
};

IMPLEMENT_DYNCREATE(CMaximizedChild, CChildFrame)

class CMainFrame : public CMDIFrameWnd {
public:
    void OnCmd() { g_log.push_back("main"); }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CMainFrame, CMDIFrameWnd)
    ON_COMMAND(kCmdAll, &CMainFrame::OnCmd)
    ON_COMMAND(kCmdChildUp, &CMainFrame::OnCmd)
    ON_COMMAND(kCmdMainUp, &CMainFrame::OnCmd)
END_MESSAGE_MAP()
// clang-format on

// A bar along the top, as the layout protocol expects one.
class CTopBar : public CWnd {
public:
    LRESULT OnSizeParent(WPARAM, LPARAM lParam) {
        auto* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
        CRect rect = pLayout->rect;
        rect.bottom = rect.top + 25;
        pLayout->rect.top += 25;
        AfxRepositionWindow(pLayout, m_hWnd, &rect);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CTopBar, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, &CTopBar::OnSizeParent)
END_MESSAGE_MAP()
// clang-format on

std::string WindowText(HWND hWnd) {
    char text[256] = "";
    ::GetWindowTextA(hWnd, text, sizeof text);
    return text;
}

bool IsGrayed(HMENU hMenu, UINT nID) {
    return (::GetMenuState(hMenu, nID, MF_BYCOMMAND) & MF_GRAYED) != 0;
}

class MDIFrameWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        m_pFrame = new CMainFrame;
        ASSERT_TRUE(m_mdi.SetUp(new CDocManager, kDocResource, RUNTIME_CLASS(CListDoc),
                                RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(CCallView), m_pFrame,
                                kMainResource, CSize(800, 600)));
    }
    void TearDown() override { m_mdi.TearDown(); }

    CMDIChildWnd* OpenChild() {
        CDocument* pDoc = m_mdi.m_pTemplate->OpenDocumentFile(nullptr);
        if (pDoc == nullptr)
            return nullptr;
        POSITION pos = pDoc->GetFirstViewPosition();
        return dynamic_cast<CMDIChildWnd*>(pDoc->GetNextView(pos)->GetParentFrame());
    }

    CMdiScaffold m_mdi;
    CMainFrame* m_pFrame = nullptr;
};

} // namespace

TEST_F(MDIFrameWndTest, WindowMenuIsThePopupWithTheWindowCommands) {
    HMENU hMenu = m_pFrame->m_hMenuDefault;
    ASSERT_NE(nullptr, hMenu);
    EXPECT_EQ(::GetSubMenu(hMenu, 1), m_pFrame->GetWindowMenuPopup(hMenu));
    EXPECT_EQ(::GetSubMenu(m_mdi.m_pTemplate->m_hMenuShared, 2),
              m_pFrame->GetWindowMenuPopup(m_mdi.m_pTemplate->m_hMenuShared));

    HMENU hNoWindow = ::CreateMenu();
    HMENU hPopup = ::CreatePopupMenu();
    ::AppendMenuA(hPopup, MF_STRING, 57600, "New");
    ::AppendMenuA(hNoWindow, MF_POPUP, reinterpret_cast<UINT_PTR>(hPopup), "File");
    EXPECT_EQ(nullptr, m_pFrame->GetWindowMenuPopup(hNoWindow));
    EXPECT_EQ(nullptr, m_pFrame->GetWindowMenuPopup(nullptr));
    ::DestroyMenu(hNoWindow);
}

TEST_F(MDIFrameWndTest, ActiveChildShowsItsMenuAndTheLastOneGivesTheFrameItsOwnBack) {
    EXPECT_EQ(m_pFrame->m_hMenuDefault, ::GetMenu(m_mdi.m_hFrame));
    CMDIChildWnd* pFirst = OpenChild();
    ASSERT_NE(nullptr, pFirst);
    EXPECT_EQ(m_mdi.m_pTemplate->m_hMenuShared, ::GetMenu(m_mdi.m_hFrame));
    CMDIChildWnd* pSecond = OpenChild();
    ASSERT_NE(nullptr, pSecond);
    EXPECT_EQ(m_mdi.m_pTemplate->m_hMenuShared, ::GetMenu(m_mdi.m_hFrame));

    pSecond->SendMessage(WM_CLOSE);
    EXPECT_EQ(m_mdi.m_pTemplate->m_hMenuShared, ::GetMenu(m_mdi.m_hFrame));
    pFirst->SendMessage(WM_CLOSE);
    EXPECT_EQ(m_pFrame->m_hMenuDefault, ::GetMenu(m_mdi.m_hFrame));
    EXPECT_EQ(nullptr, m_pFrame->MDIGetActive());
    EXPECT_TRUE(::IsMenu(m_mdi.m_pTemplate->m_hMenuShared)); // still the template's
}

TEST_F(MDIFrameWndTest, ActivationMovesBetweenChildren) {
    CMDIChildWnd* pFirst = OpenChild();
    CMDIChildWnd* pSecond = OpenChild();
    ASSERT_NE(nullptr, pFirst);
    ASSERT_NE(nullptr, pSecond);
    EXPECT_EQ(pSecond, m_pFrame->MDIGetActive());
    EXPECT_EQ(pSecond, m_pFrame->GetActiveFrame());
    EXPECT_EQ(m_pFrame, pFirst->GetMDIFrame());

    m_pFrame->MDINext();
    EXPECT_EQ(pFirst, m_pFrame->MDIGetActive());
    m_pFrame->MDIActivate(pSecond);
    EXPECT_EQ(pSecond, m_pFrame->MDIGetActive());
    pFirst->MDIActivate();
    EXPECT_EQ(pFirst, m_pFrame->MDIGetActive());

    // Destroying the active child activates the other one.
    int deleted = g_childrenDeleted;
    pFirst->MDIDestroy();
    EXPECT_EQ(deleted + 1, g_childrenDeleted);
    EXPECT_EQ(pSecond, m_pFrame->MDIGetActive());
}

TEST_F(MDIFrameWndTest, CommandsGoToTheActiveChildFirst) {
    struct Case {
        UINT nID;
        bool bWithChild;
        const char* handler;
    };
    const Case cases[] = {
        {kCmdAll, true, "view"}, {kCmdChildUp, true, "child"}, {kCmdMainUp, true, "main"},
        {kCmdApp, true, "app"},  {kCmdAll, false, "main"},     {kCmdApp, false, "app"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.nID) + (c.bWithChild ? " with child" : " alone"));
        if (c.bWithChild && m_pFrame->MDIGetActive() == nullptr) {
            ASSERT_NE(nullptr, OpenChild());
        }
        if (!c.bWithChild)
            m_mdi.m_pDocManager->CloseAllDocuments(FALSE);
        g_log.clear();
        m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(c.nID, 0), 0);
        EXPECT_EQ(std::vector<std::string>{c.handler}, g_log);
    }
}

TEST_F(MDIFrameWndTest, WindowCommandsNeedAChild) {
    HMENU hWindow = m_pFrame->GetWindowMenuPopup(m_pFrame->m_hMenuDefault);
    m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hWindow), 1);
    EXPECT_TRUE(IsGrayed(hWindow, ID_WINDOW_CASCADE));
    EXPECT_TRUE(IsGrayed(hWindow, ID_WINDOW_TILE_HORZ));

    CMDIChildWnd* pChild = OpenChild();
    ASSERT_NE(nullptr, pChild);
    hWindow = m_pFrame->GetWindowMenuPopup(::GetMenu(m_mdi.m_hFrame));
    m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hWindow), 2);
    EXPECT_FALSE(IsGrayed(hWindow, ID_WINDOW_CASCADE));
    EXPECT_FALSE(IsGrayed(hWindow, ID_WINDOW_TILE_HORZ));

    // Cascade arranges normal windows: a maximised child comes back to its size.
    pChild->MDIMaximize();
    ASSERT_TRUE(pChild->IsZoomed());
    m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_WINDOW_CASCADE, 0), 0);
    EXPECT_FALSE(pChild->IsZoomed());
}

TEST_F(MDIFrameWndTest, TitlesNameTheActiveDocument) {
    CMDIChildWnd* pChild = OpenChild();
    ASSERT_NE(nullptr, pChild);
    pChild->MDIRestore();
    m_pFrame->OnUpdateFrameTitle(TRUE);
    EXPECT_EQ("List1", WindowText(pChild->m_hWnd));
    EXPECT_EQ("List1 - MDI App", WindowText(m_mdi.m_hFrame));

    pChild->GetActiveDocument()->SetTitle("Calls");
    EXPECT_EQ("Calls", WindowText(pChild->m_hWnd));
    EXPECT_EQ("Calls - MDI App", WindowText(m_mdi.m_hFrame));

    // Maximised, the system shows the child's title beside the frame's own.
    pChild->MDIMaximize();
    m_pFrame->OnUpdateFrameTitle(TRUE);
    EXPECT_EQ("MDI App - [Calls]", WindowText(m_mdi.m_hFrame));

    pChild->SendMessage(WM_CLOSE);
    EXPECT_EQ("MDI App", WindowText(m_mdi.m_hFrame));
}

TEST_F(MDIFrameWndTest, ClientTakesWhatTheBarsLeave) {
    CTopBar bar;
    ASSERT_TRUE(bar.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 1, 1), m_pFrame,
                           AFX_IDW_CONTROLBAR_FIRST));
    m_pFrame->RecalcLayout();
    CRect client, mdi;
    m_pFrame->GetClientRect(&client);
    ::GetWindowRect(m_pFrame->m_hWndMDIClient, &mdi);
    m_pFrame->ScreenToClient(&mdi);
    EXPECT_EQ(CRect(0, 25, client.right, client.bottom), mdi);
    EXPECT_EQ(AFX_IDW_PANE_FIRST, ::GetDlgCtrlID(m_pFrame->m_hWndMDIClient));
    bar.DestroyWindow();
}

TEST_F(MDIFrameWndTest, ChildWithoutAnMDIFrameFailsAndIsDeleted) {
    theApp.m_pMainWnd = nullptr;
    int deleted = g_childrenDeleted;
    auto* pChild = new CChildFrame;
    EXPECT_FALSE(pChild->Create(nullptr, "Orphan"));
    EXPECT_EQ(deleted + 1, g_childrenDeleted);
    theApp.m_pMainWnd = m_pFrame;
}

TEST_F(MDIFrameWndTest, ChildrenCreatedMaximisedOpenMaximisedOverEachOther) {
    auto* pTemplate =
        new CMultiDocTemplate(kDocResource, RUNTIME_CLASS(CListDoc), RUNTIME_CLASS(CMaximizedChild),
                              RUNTIME_CLASS(CCallView));
    m_mdi.m_pDocManager->AddDocTemplate(pTemplate);
    CDocument* pFirst = pTemplate->OpenDocumentFile(nullptr);
    CDocument* pSecond = pTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(nullptr, pFirst);
    ASSERT_NE(nullptr, pSecond);
    BOOL bMaximized = FALSE;
    CMDIChildWnd* pActive = m_pFrame->MDIGetActive(&bMaximized);
    ASSERT_NE(nullptr, pActive);
    EXPECT_TRUE(bMaximized);
    EXPECT_EQ(pSecond, pActive->GetActiveDocument());
    EXPECT_EQ(pTemplate->m_hMenuShared, ::GetMenu(m_mdi.m_hFrame));
    EXPECT_EQ("MDI App - [List2]", WindowText(m_mdi.m_hFrame));

    m_pFrame->MDINext();
    pActive = m_pFrame->MDIGetActive(&bMaximized);
    EXPECT_EQ(pFirst, pActive->GetActiveDocument());
    EXPECT_TRUE(bMaximized);
}

TEST_F(MDIFrameWndTest, AcceleratorsOfTheActiveChildAndOfTheFrameBecomeCommands) {
    CMDIChildWnd* pChild = OpenChild();
    ASSERT_NE(nullptr, pChild);
    struct Case {
        WPARAM vk;
        const char* handler; // null: not an accelerator
    };
    const Case cases[] = {{VK_F5, "view"}, {VK_F6, "main"}, {VK_F7, nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vk);
        g_log.clear();
        MSG msg = {};
        msg.hwnd = pChild->GetActiveView()->m_hWnd;
        msg.message = WM_KEYDOWN;
        msg.wParam = c.vk;
        EXPECT_EQ(c.handler != nullptr, m_pFrame->PreTranslateMessage(&msg) != FALSE);
        std::vector<std::string> expected;
        if (c.handler != nullptr)
            expected.push_back(c.handler);
        EXPECT_EQ(expected, g_log);
    }
}

TEST_F(MDIFrameWndTest, FrameDestroyedWithAnActiveChildLeavesTheSharedMenuAlive) {
    ASSERT_NE(nullptr, OpenChild());
    ASSERT_EQ(m_mdi.m_pTemplate->m_hMenuShared, ::GetMenu(m_mdi.m_hFrame));
    m_pFrame->DestroyWindow(); // the children, their views and documents go along
    EXPECT_FALSE(::IsWindow(m_mdi.m_hFrame));
    EXPECT_TRUE(::IsMenu(m_mdi.m_pTemplate->m_hMenuShared));
    EXPECT_EQ(0, m_mdi.m_pDocManager->GetOpenDocumentCount());
}
