// Tests of CFrameWnd: layout of control bars and the pane, command routing,
// command-UI at popup time, titles, loading from resources, failed creation.
#include "Document.h"
#include "FrameWnd.h"
#include "View.h"
#include "WinApp.h"

#include "native/gtest.h"

#include <string>
#include <vector>

namespace {

// Commands and who handles them: view, document, frame, application.
const UINT kCmdAll = 32000;     // all four
const UINT kCmdDocUp = 32001;   // document, frame, application
const UINT kCmdFrameUp = 32002; // frame, application
const UINT kCmdApp = 32003;     // application only
const UINT kCmdNone = 32004;    // nobody
const UINT kCmdUpdated = 32005; // the document decides its state: disabled and checked
const UINT kCmdSystem = 0xF120; // a system command without a handler
const UINT kFrameResource = 300;
const UINT kMissingResource = 999;

std::vector<std::string> g_log;

class CTestApp : public CWinApp {
public:
    void OnAll() { g_log.push_back("app"); }
    void OnDocUp() { g_log.push_back("app"); }
    void OnFrameUp() { g_log.push_back("app"); }
    void OnApp() { g_log.push_back("app"); }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
    ON_COMMAND(kCmdAll, &CTestApp::OnAll)
    ON_COMMAND(kCmdDocUp, &CTestApp::OnDocUp)
    ON_COMMAND(kCmdFrameUp, &CTestApp::OnFrameUp)
    ON_COMMAND(kCmdApp, &CTestApp::OnApp)
END_MESSAGE_MAP()
// clang-format on

CTestApp theApp;

int g_docsDeleted = 0;

class CTestDoc : public CDocument {
public:
    ~CTestDoc() override { ++g_docsDeleted; }
    void OnAll() { g_log.push_back("doc"); }
    void OnDocUp() { g_log.push_back("doc"); }
    void OnUpdateUpdated(CCmdUI* pCmdUI) {
        pCmdUI->Enable(FALSE);
        pCmdUI->SetCheck(1);
    }
    void OnUpdated() {}
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CTestDoc, CDocument)
    ON_COMMAND(kCmdAll, &CTestDoc::OnAll)
    ON_COMMAND(kCmdDocUp, &CTestDoc::OnDocUp)
    ON_COMMAND(kCmdUpdated, &CTestDoc::OnUpdated)
    ON_UPDATE_COMMAND_UI(kCmdUpdated, &CTestDoc::OnUpdateUpdated)
END_MESSAGE_MAP()
// clang-format on

class CTestView : public CView {
    DECLARE_DYNCREATE(CTestView)
public:
    void OnDraw(CDC*) override {}
    void OnActivateView(BOOL bActivate, CView* pActivate, CView* pDeactive) override {
        g_log.push_back(std::string(bActivate ? "activate " : "deactivate ") + m_name);
        CView::OnActivateView(bActivate, pActivate, pDeactive);
    }
    void OnAll() { g_log.push_back("view"); }
    std::string m_name = "view";
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CTestView, CView)

// clang-format off
BEGIN_MESSAGE_MAP(CTestView, CView)
    ON_COMMAND(kCmdAll, &CTestView::OnAll)
END_MESSAGE_MAP()
// clang-format on

class CTestFrame : public CFrameWnd {
public:
    void OnAll() { g_log.push_back("frame"); }
    void OnDocUp() { g_log.push_back("frame"); }
    void OnFrameUp() { g_log.push_back("frame"); }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
    ON_COMMAND(kCmdAll, &CTestFrame::OnAll)
    ON_COMMAND(kCmdDocUp, &CTestFrame::OnDocUp)
    ON_COMMAND(kCmdFrameUp, &CTestFrame::OnFrameUp)
END_MESSAGE_MAP()
// clang-format on

// A control bar as the layout protocol expects one: it takes m_size pixels from
// its side of the free space and moves itself there.
class CTestBar : public CWnd {
public:
    enum Side { top, left };
    CTestBar(Side side, int size) : m_side(side), m_size(size) {}
    LRESULT OnSizeParent(WPARAM, LPARAM lParam) {
        ++m_nAsked;
        auto* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
        CRect rect = pLayout->rect;
        if (m_side == top) {
            rect.bottom = rect.top + m_size;
            pLayout->rect.top += m_size;
            pLayout->sizeTotal.cy += m_size;
        } else {
            rect.right = rect.left + m_size;
            pLayout->rect.left += m_size;
            pLayout->sizeTotal.cx += m_size;
        }
        AfxRepositionWindow(pLayout, m_hWnd, &rect);
        return 0;
    }
    Side m_side;
    int m_size;
    int m_nAsked = 0;
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CTestBar, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, &CTestBar::OnSizeParent)
END_MESSAGE_MAP()
// clang-format on

int g_failingFramesDeleted = 0;

// A frame whose client cannot be made, so its creation fails in WM_CREATE.
class CFailingFrame : public CFrameWnd {
public:
    ~CFailingFrame() override { ++g_failingFramesDeleted; }

protected:
    BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext*) override { return FALSE; }
};

CRect ChildRect(CWnd* pWnd) {
    CRect rect;
    pWnd->GetWindowRect(&rect);
    pWnd->GetParent()->ScreenToClient(&rect);
    return rect;
}

class FrameWndTest : public ::testing::Test {
protected:
    void SetUp() override { g_log.clear(); }
    void TearDown() override {
        if (m_pFrame != nullptr && ::IsWindow(m_hFrame))
            m_pFrame->DestroyWindow();
    }

    // A frame with a CTestView on a new CTestDoc.
    void CreateFrameWithView(DWORD dwStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE) {
        m_pDoc = new CTestDoc;
        m_pDoc->SetTitle("Report");
        CCreateContext context;
        context.m_pNewViewClass = RUNTIME_CLASS(CTestView);
        context.m_pCurrentDoc = m_pDoc;
        CreateFrame(new CTestFrame, dwStyle, &context);
        m_pFrame->InitialUpdateFrame(m_pDoc, TRUE);
    }
    void CreateFrame(CFrameWnd* pFrame, DWORD dwStyle, CCreateContext* pContext) {
        m_pFrame = pFrame;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "App", dwStyle, CRect(0, 0, 400, 300), nullptr,
                                     nullptr, 0, pContext));
        m_hFrame = m_pFrame->m_hWnd;
    }

    CFrameWnd* m_pFrame = nullptr;
    HWND m_hFrame = nullptr;
    CTestDoc* m_pDoc = nullptr;
};

} // namespace

TEST_F(FrameWndTest, BarsTakeTheirSidesInZOrderAndThePaneGetsTheRest) {
    struct Case {
        bool bTopBarFirst;
        CRect rectTop, rectLeft;
    };
    // Client 400 x 300 less the frame's borders: the expectations are relative.
    const Case cases[] = {
        {true, CRect(0, 0, -1, 20), CRect(0, 20, 30, -1)},
        {false, CRect(30, 0, -1, 20), CRect(0, 0, 30, -1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bTopBarFirst ? "top bar first" : "left bar first");
        CreateFrame(new CFrameWnd, WS_OVERLAPPEDWINDOW, nullptr);
        CRect client;
        m_pFrame->GetClientRect(&client);
        auto* pTop = new CTestBar(CTestBar::top, 20);
        auto* pLeft = new CTestBar(CTestBar::left, 30);
        auto* pOther = new CTestBar(CTestBar::top, 50); // outside the bar range
        CWnd pane;
        ASSERT_TRUE(pTop->Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 1, 1), m_pFrame,
                                 AFX_IDW_CONTROLBAR_FIRST + 1));
        ASSERT_TRUE(pLeft->Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 1, 1), m_pFrame,
                                  AFX_IDW_CONTROLBAR_FIRST + 2));
        ASSERT_TRUE(pOther->Create(nullptr, nullptr, WS_VISIBLE, CRect(1, 2, 3, 4), m_pFrame, 100));
        ASSERT_TRUE(pane.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 1, 1), m_pFrame,
                                AFX_IDW_PANE_FIRST));
        CTestBar* pFirst = c.bTopBarFirst ? pTop : pLeft;
        pFirst->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

        m_pFrame->RecalcLayout();

        auto resolve = [&](CRect r) {
            if (r.right == -1)
                r.right = client.right;
            if (r.bottom == -1)
                r.bottom = client.bottom;
            return r;
        };
        EXPECT_EQ(resolve(c.rectTop), ChildRect(pTop));
        EXPECT_EQ(resolve(c.rectLeft), ChildRect(pLeft));
        EXPECT_EQ(CRect(30, 20, client.right, client.bottom), ChildRect(&pane));
        EXPECT_EQ(0, pOther->m_nAsked);
        EXPECT_EQ(CRect(1, 2, 3, 4), ChildRect(pOther));

        // A new size lays the frame out again by itself.
        ::SetWindowPos(m_pFrame->m_hWnd, nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
        m_pFrame->GetClientRect(&client);
        EXPECT_EQ(CRect(30, 20, client.right, client.bottom), ChildRect(&pane));

        m_pFrame->DestroyWindow(); // takes the children along
        delete pTop;
        delete pLeft;
        delete pOther;
    }
}

TEST_F(FrameWndTest, BorderSpaceIsKeptAroundThePane) {
    CreateFrame(new CFrameWnd, WS_OVERLAPPEDWINDOW, nullptr);
    CWnd pane;
    ASSERT_TRUE(
        pane.Create(nullptr, nullptr, WS_VISIBLE, CRect(0, 0, 1, 1), m_pFrame, AFX_IDW_PANE_FIRST));
    m_pFrame->m_rectBorder = CRect(1, 2, 3, 4);
    m_pFrame->RecalcLayout();
    CRect client;
    m_pFrame->GetClientRect(&client);
    EXPECT_EQ(CRect(1, 2, client.right - 3, client.bottom - 4), ChildRect(&pane));
}

TEST_F(FrameWndTest, CommandsGoToViewThenDocumentThenFrameThenApplication) {
    CreateFrameWithView();
    struct Case {
        UINT nID;
        const char* handler; // null: nobody
    };
    const Case cases[] = {
        {kCmdAll, "view"}, {kCmdDocUp, "doc"},  {kCmdFrameUp, "frame"},
        {kCmdApp, "app"},  {kCmdNone, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nID);
        g_log.clear();
        BOOL bHandled = m_pFrame->OnCmdMsg(c.nID, CN_COMMAND, nullptr, nullptr);
        EXPECT_EQ(c.handler != nullptr, bHandled != FALSE);
        std::vector<std::string> expected;
        if (c.handler != nullptr)
            expected.push_back(c.handler);
        EXPECT_EQ(expected, g_log);

        // The same through the window, as a menu command arrives.
        g_log.clear();
        m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(c.nID, 0), 0);
        EXPECT_EQ(expected, g_log);
    }
}

TEST_F(FrameWndTest, PopupItemsWithoutHandlerAreDisabledOnlyWithAutoMenuEnable) {
    CreateFrameWithView();
    for (BOOL bAuto : {TRUE, FALSE}) {
        SCOPED_TRACE(bAuto);
        m_pFrame->m_bAutoMenuEnable = bAuto;
        HMENU hSub = ::CreatePopupMenu();
        ::AppendMenuA(hSub, MF_STRING, kCmdNone, "Nobody");
        HMENU hPopup = ::CreatePopupMenu();
        ::AppendMenuA(hPopup, MF_STRING, kCmdAll, "All");
        ::AppendMenuA(hPopup, MF_STRING, kCmdNone, "Nobody");
        ::AppendMenuA(hPopup, MF_STRING, kCmdUpdated, "Updated");
        ::AppendMenuA(hPopup, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuA(hPopup, MF_STRING, kCmdSystem, "System");
        ::AppendMenuA(hPopup, MF_POPUP, reinterpret_cast<UINT_PTR>(hSub), "Sub");

        m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hPopup), MAKELPARAM(0, 0));

        auto state = [&](UINT uPos) { return ::GetMenuState(hPopup, uPos, MF_BYPOSITION); };
        EXPECT_EQ(0u, state(0) & MF_GRAYED);
        EXPECT_EQ(bAuto ? MF_GRAYED : 0u, state(1) & MF_GRAYED);
        EXPECT_EQ(MF_GRAYED, state(2) & MF_GRAYED); // its update handler decides
        EXPECT_EQ(MF_CHECKED, state(2) & MF_CHECKED);
        EXPECT_EQ(0u, state(4) & MF_GRAYED); // system commands are left alone
        EXPECT_EQ(0u, state(5) & MF_GRAYED); // submenus too
        ::DestroyMenu(hPopup);
    }
}

TEST_F(FrameWndTest, TitleShowsDocumentAndApplication) {
    struct Case {
        DWORD dwRemove;
        int nWindow;
        const char* docTitle;
        const char* expected;
    };
    const Case cases[] = {
        {0, 0, "Report", "Report - App"},
        {0, 2, "Report", "Report:2 - App"},
        {0, 0, "", "App"},
        {FWS_PREFIXTITLE, 0, "Report", "App - Report"},
        {FWS_ADDTOTITLE, 0, "Report", "App"},
    };
    CreateFrameWithView();
    DWORD dwStyle = m_pFrame->GetStyle();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        m_pFrame->SetWindowText("App");
        ::SetWindowLongA(m_hFrame, GWL_STYLE, static_cast<LONG>(dwStyle & ~c.dwRemove));
        m_pDoc->SetTitle(c.docTitle); // updates the frames of the document
        if (c.nWindow != 0) {
            // As when a second frame shows the document.
            m_pFrame->m_nWindow = c.nWindow;
            m_pFrame->OnUpdateFrameTitle(TRUE);
        }
        CString text;
        m_pFrame->GetWindowText(text);
        EXPECT_STREQ(c.expected, text);
    }
}

TEST_F(FrameWndTest, ActiveViewChangeTellsBothViews) {
    CreateFrameWithView();
    auto* pFirst = static_cast<CTestView*>(m_pFrame->GetActiveView());
    ASSERT_NE(nullptr, pFirst);
    pFirst->m_name = "first";
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CTestView);
    context.m_pCurrentDoc = m_pDoc;
    auto* pSecond = static_cast<CTestView*>(m_pFrame->CreateView(&context, AFX_IDW_PANE_FIRST + 1));
    ASSERT_NE(nullptr, pSecond);
    pSecond->m_name = "second";
    EXPECT_EQ(2, m_pDoc->GetViewCount());

    g_log.clear();
    m_pFrame->SetActiveView(pSecond);
    EXPECT_EQ((std::vector<std::string>{"deactivate first", "activate second"}), g_log);
    EXPECT_EQ(pSecond, m_pFrame->GetActiveView());
    EXPECT_EQ(m_pDoc, m_pFrame->GetActiveDocument());

    // A view that goes is no longer the active one; its document stays for the
    // other.
    int docsDeleted = g_docsDeleted;
    pSecond->DestroyWindow();
    EXPECT_EQ(nullptr, m_pFrame->GetActiveView());
    EXPECT_EQ(1, m_pDoc->GetViewCount());
    EXPECT_EQ(docsDeleted, g_docsDeleted);
}

TEST_F(FrameWndTest, LastViewTakesItsDocumentAlong) {
    CreateFrameWithView();
    int docsDeleted = g_docsDeleted;
    m_pFrame->DestroyWindow();
    EXPECT_EQ(docsDeleted + 1, g_docsDeleted);
}

TEST_F(FrameWndTest, LoadFrameTakesTitleMenuAndAcceleratorsFromTheResource) {
    m_pFrame = new CFrameWnd;
    ASSERT_TRUE(m_pFrame->LoadFrame(kFrameResource));
    m_hFrame = m_pFrame->m_hWnd;
    CString text;
    m_pFrame->GetWindowText(text);
    EXPECT_STREQ("Frame App", text);
    EXPECT_STREQ("Frame App", m_pFrame->GetTitle());
    EXPECT_NE(nullptr, m_pFrame->m_hMenuDefault);
    EXPECT_EQ(m_pFrame->m_hMenuDefault, ::GetMenu(m_hFrame));
    EXPECT_NE(nullptr, m_pFrame->m_hAccelTable);
    EXPECT_EQ(kFrameResource, m_pFrame->m_nIDHelp);
}

TEST_F(FrameWndTest, LoadFrameWithoutResourcesMakesAPlainFrame) {
    m_pFrame = new CFrameWnd;
    ASSERT_TRUE(m_pFrame->LoadFrame(kMissingResource));
    m_hFrame = m_pFrame->m_hWnd;
    EXPECT_EQ(nullptr, ::GetMenu(m_hFrame));
    EXPECT_EQ(nullptr, m_pFrame->m_hAccelTable);
    EXPECT_STREQ("", m_pFrame->GetTitle());
}

TEST_F(FrameWndTest, FailedCreationDeletesTheFrameOnce) {
    g_failingFramesDeleted = 0;
    auto* pFrame = new CFailingFrame;
    EXPECT_FALSE(pFrame->Create(nullptr, "Failing"));
    EXPECT_EQ(1, g_failingFramesDeleted);
}

TEST_F(FrameWndTest, MenuShownForADocumentSurvivesTheFrame) {
    m_pFrame = new CFrameWnd;
    ASSERT_TRUE(m_pFrame->LoadFrame(kFrameResource));
    m_hFrame = m_pFrame->m_hWnd;
    HMENU hShared = ::CreateMenu();
    ::AppendMenuA(hShared, MF_STRING, kCmdAll, "All");
    m_pFrame->OnUpdateFrameMenu(hShared);
    EXPECT_EQ(hShared, ::GetMenu(m_hFrame));
    m_pFrame->OnUpdateFrameMenu(nullptr); // no document: the frame's own
    EXPECT_EQ(m_pFrame->m_hMenuDefault, ::GetMenu(m_hFrame));

    m_pFrame->OnUpdateFrameMenu(hShared);
    m_pFrame->DestroyWindow();
    EXPECT_TRUE(::IsMenu(hShared));
    ::DestroyMenu(hShared);
}
