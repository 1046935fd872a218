// Tests of COXMenuBar in an MDI main frame: the buttons a menu makes, SetMenu
// with the same menu and with none, button widths per skin, the maximised MDI
// child's icon and buttons (rectangles, reserved space, hit tests, the press
// that follows the cursor), popups opened by the posted open message and
// closed by a posted Esc with their menu-loop messages, chaining to the next
// item by the keyboard, top-level command items, keyboard surfing, and the
// saved menu state in the profile.
#include "native/gtest.h"

#include "toolkit/OXBitmapMenu.h"
#include "toolkit/OXBitmapMenuOrganizer.h"
#include "toolkit/OXMenuBar.h"
#include "toolkit/OXMenuBarState.h"
#include "toolkit/OXMenuSkin.h"
#include "toolkit/OXSizableMiniDockFrameWnd.h"
#include "toolkit/OXSkinnedApp.h"
#include "toolkit/OXToolbarSkin.h"

#include "Common/TraceLog.h"
#include "framework/Dc.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/MDIFrameWnd.h"
#include "framework/View.h"

#include "tests/support/Canvas.h"
#include "tests/support/MdiScaffold.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UiScript.h"

#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

const UINT kMainResource = 610;
const UINT kDocResource = 600;
const UINT kScoreCommand = 32300; // the top-level command item of the document menu
const DWORD kBarStyle = 0x50402804;
const UINT kBarID = 0xE810;

COXSkinnedApp theApp("ZmMenuBarTest");

std::vector<std::string> g_log; // what the frame was sent

class CCallDoc : public CDocument {
    DECLARE_DYNCREATE(CCallDoc)
};
IMPLEMENT_DYNCREATE(CCallDoc, CDocument)

class CCallView : public CView {
    DECLARE_DYNCREATE(CCallView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CCallView, CView)

// Children open maximised, as the application's do.
class CMaximizedChild : public CMDIChildWnd {
    DECLARE_DYNCREATE(CMaximizedChild)
protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override {
        if (!CMDIChildWnd::PreCreateWindow(cs))
            return FALSE;
        cs.style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE | WS_MAXIMIZE;
        return TRUE;
    }
};
IMPLEMENT_DYNCREATE(CMaximizedChild, CMDIChildWnd)

// Records the menu-loop messages, commands and state notices the bar sends.
class CRecordingFrame : public CMDIFrameWnd {
public:
    void OnEnterMenuLoop(BOOL bTrack) { g_log.push_back("enter " + std::to_string(bTrack)); }
    void OnExitMenuLoop(BOOL bTrack) { g_log.push_back("exit " + std::to_string(bTrack)); }
    void OnInitMenu(CMenu*) { g_log.push_back("init"); }
    void OnMenuSelect(UINT nItem, UINT nFlags, HMENU) {
        std::ostringstream out;
        out << "select " << nItem << " 0x" << std::hex << nFlags;
        g_log.push_back(out.str());
    }
    void OnScore() {
        g_log.push_back("command " + std::to_string(kScoreCommand));
        if (m_pBar != nullptr)
            m_bPressedDuringCommand =
                m_pBar->SendMessage(TB_ISBUTTONPRESSED, m_pBar->GetOpenItem() + 1) != 0;
    }
    LRESULT OnSaveState(WPARAM, LPARAM lParam) {
        g_log.push_back(std::string("save ") + reinterpret_cast<LPCSTR>(lParam));
        return 0;
    }
    LRESULT OnLoadState(WPARAM, LPARAM lParam) {
        g_log.push_back(std::string("load ") + reinterpret_cast<LPCSTR>(lParam));
        return 0;
    }

    COXMenuBar* m_pBar = nullptr;
    BOOL m_bPressedDuringCommand = FALSE;

    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CRecordingFrame, CMDIFrameWnd)
    ON_WM_ENTERMENULOOP()
    ON_WM_EXITMENULOOP()
    ON_WM_INITMENU()
    ON_WM_MENUSELECT()
    ON_MESSAGE(WM_OX_SAVEMENUSTATE, &CRecordingFrame::OnSaveState)
    ON_MESSAGE(WM_OX_LOADMENUSTATE, &CRecordingFrame::OnLoadState)
    ON_COMMAND(kScoreCommand, &CRecordingFrame::OnScore)
END_MESSAGE_MAP()
// clang-format on

class MenuBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_log.clear();
        m_strCompany = "ZmMenuBarTest-" + std::to_string(::GetCurrentProcessId());
        theApp.SetRegistryKey(m_strCompany.c_str());
        theApp.SetCurrentSkin("Office 2003");
        m_pFrame = new CRecordingFrame;
        ASSERT_TRUE(m_mdi.SetUp(new CDocManager, kDocResource, RUNTIME_CLASS(CCallDoc),
                                RUNTIME_CLASS(CMaximizedChild), RUNTIME_CLASS(CCallView), m_pFrame,
                                kMainResource, CSize(800, 500)));
        // The frame's own window menu goes; the bar shows the menus instead.
        m_hFrameMenu = ::GetMenu(m_mdi.m_hFrame);
        ::SetMenu(m_mdi.m_hFrame, nullptr);
        m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
        m_pBar = new COXMenuBar;
        ASSERT_TRUE(m_pBar->Create(m_pFrame, kBarStyle, kBarID));
        m_pBar->EnableDocking(CBRS_ALIGN_ANY, TRUE);
        m_pFrame->DockControlBar(m_pBar);
        m_pFrame->m_pBar = m_pBar;
        m_pFrame->RecalcLayout();
    }
    void TearDown() override {
        m_mdi.TearDown();
        delete m_pBar;
        if (m_hFrameMenu != nullptr)
            ::DestroyMenu(m_hFrameMenu);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + m_strCompany).c_str());
    }

    CMDIChildWnd* OpenChild() {
        CDocument* pDoc = m_mdi.m_pTemplate->OpenDocumentFile(nullptr);
        if (pDoc == nullptr)
            return nullptr;
        POSITION pos = pDoc->GetFirstViewPosition();
        return dynamic_cast<CMDIChildWnd*>(pDoc->GetNextView(pos)->GetParentFrame());
    }
    // The document menu on the bar, with a maximised child.
    CMDIChildWnd* ShowDocumentMenu() {
        CMDIChildWnd* pChild = OpenChild();
        if (pChild == nullptr)
            return nullptr;
        ::SetMenu(m_mdi.m_hFrame, nullptr);
        m_pBar->SetMenu(m_mdi.m_pTemplate->m_hMenuShared);
        m_pBar->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
        m_pFrame->RecalcLayout();
        return pChild;
    }
    HMENU DocumentMenu() const { return m_mdi.m_pTemplate->m_hMenuShared; }

    CMdiScaffold m_mdi;
    CRecordingFrame* m_pFrame = nullptr;
    COXMenuBar* m_pBar = nullptr;
    HMENU m_hFrameMenu = nullptr;
    std::string m_strCompany;
};

LPARAM Point(CPoint pt) {
    return MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y));
}

} // namespace

TEST_F(MenuBarTest, EachTopLevelItemGetsADropDownButtonAndMnemonicsFollowTheTexts) {
    ASSERT_TRUE(m_pBar->SetMenu(DocumentMenu()));
    const int nCount = ::GetMenuItemCount(DocumentMenu());
    ASSERT_EQ(m_pBar->GetCount(), nCount);
    for (int i = 0; i < nCount; ++i) {
        TBBUTTON button = {};
        m_pBar->SendMessage(TB_GETBUTTON, static_cast<WPARAM>(i),
                            reinterpret_cast<LPARAM>(&button));
        EXPECT_EQ(button.idCommand, i + 1);
        EXPECT_EQ(button.fsStyle & (TBSTYLE_DROPDOWN | TBSTYLE_AUTOSIZE),
                  TBSTYLE_DROPDOWN | TBSTYLE_AUTOSIZE);
        EXPECT_EQ(button.dwData, static_cast<DWORD_PTR>(i));
    }
    EXPECT_STREQ(m_pBar->GetMenuItemText(3), "Save && Exit");
    EXPECT_EQ(m_pBar->GetDefaultTextColor(), ::GetSysColor(COLOR_MENUTEXT));
    EXPECT_STREQ(m_pBar->GetMenuItemText(nCount), "");

    // Mnemonics reach the bar's keys: 'E' for "&Edit"; "Save && Exit" has none,
    // so 'S' is "&Score", a command item, which opens nothing while not surfing.
    struct Case {
        UINT nKey;
        BOOL bConsumed;
    };
    const Case cases[] = {{'S', TRUE}, {'Q', FALSE}};
    for (const Case& c : cases) {
        g_log.clear();
        EXPECT_EQ(m_pBar->HandleMenuKey(c.nKey), c.bConsumed) << static_cast<char>(c.nKey);
        EXPECT_EQ(m_pBar->GetOpenItem(), -1);
        EXPECT_EQ(g_log, std::vector<std::string>{});
    }
}

TEST_F(MenuBarTest, SetMenuWithTheShownMenuDoesNothingAndWithNoneHidesTheBar) {
    ASSERT_TRUE(m_pBar->SetMenu(DocumentMenu()));
    m_pFrame->RecalcLayout();
    EXPECT_TRUE(m_pBar->IsWindowVisible());
    // A marker button survives a SetMenu that does nothing.
    TBBUTTON marker = {-1, 999, TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, -1};
    m_pBar->SendMessage(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&marker));
    const int nCount = m_pBar->GetCount();
    EXPECT_TRUE(m_pBar->SetMenu(DocumentMenu()));
    EXPECT_EQ(m_pBar->GetCount(), nCount);

    EXPECT_TRUE(m_pBar->SetMenu(nullptr));
    m_pFrame->RecalcLayout();
    EXPECT_EQ(m_pBar->GetMenuHandle(), nullptr);
    EXPECT_EQ(m_pBar->GetCount(), 0);
    EXPECT_FALSE(m_pBar->IsWindowVisible());

    EXPECT_TRUE(m_pBar->SetMenu(m_hFrameMenu));
    m_pFrame->RecalcLayout();
    EXPECT_TRUE(m_pBar->IsWindowVisible());
    EXPECT_EQ(m_pBar->GetCount(), ::GetMenuItemCount(m_hFrameMenu));
}

TEST_F(MenuBarTest, ButtonWidthIsTheTextWidthPlusTheSkinsBarItemExtra) {
    struct Case {
        const char* skin;
        int nExtra;
    };
    const Case cases[] = {{"Classic", 12}, {"Office XP", 16}, {"Office 2003", 16}};
    ASSERT_TRUE(m_pBar->SetMenu(DocumentMenu()));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.skin);
        ASSERT_TRUE(theApp.SetCurrentSkin(c.skin));
        EXPECT_EQ(m_pBar->GetMenuSkin()->GetMenuMetrics()->BarItemExtra, c.nExtra);
        m_pBar->CalcFixedLayout(TRUE, TRUE);
        CClientDC dc(m_pBar);
        CScopedSelect font(dc, m_pBar->GetFont()->GetSafeHandle());
        for (int i = 0; i < m_pBar->GetCount(); ++i) {
            CRect rectText(0, 0, 0, 0);
            dc.DrawText(m_pBar->GetMenuItemText(i), &rectText, DT_CALCRECT | DT_SINGLELINE);
            CRect rectButton;
            m_pBar->GetItemRect(i, &rectButton);
            EXPECT_EQ(rectButton.Width(), rectText.Width() + c.nExtra) << i;
        }
    }
}

TEST_F(MenuBarTest, MaximisedChildShowsItsIconAndTheButtonsTakeTheirSpace) {
    CMDIChildWnd* pChild = ShowDocumentMenu();
    ASSERT_NE(pChild, nullptr);
    EXPECT_NE(m_pBar->GetIcon(), nullptr);
    EXPECT_FALSE(m_pBar->GetCloseRect().IsRectEmpty());

    struct Case {
        int nHeight;
        DWORD dwBoxes; // WS_MINIMIZEBOX | WS_MAXIMIZEBOX kept on the child
        int nReserve;
        CRect rectClose; // relative to the window's right edge (x) and top (y)
        bool bRestore;
    };
    const Case cases[] = {
        {24, WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 2 + 3 * 18 + 6, {-20, 5, -4, 19}, true},
        {24, 0, 2 + 18 + 6, {-20, 5, -4, 19}, false},
        {18, WS_MAXIMIZEBOX, 2 + 3 * 18 + 6, {-20, 2, -4, 16}, true},
        {14, WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 2 + 3 * 14 + 6, {-16, 2, -4, 12}, true},
        {14, 0, 2 + 14 + 6, {-16, 2, -4, 12}, false},
    };
    const DWORD dwOriginal = pChild->GetStyle();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.nHeight) + " boxes " + std::to_string(c.dwBoxes));
        ::SetWindowLongA(
            pChild->m_hWnd, GWL_STYLE,
            static_cast<LONG>((dwOriginal & ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) | c.dwBoxes));
        m_pBar->SetWindowPos(nullptr, 0, 0, 300, c.nHeight,
                             SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        CRect rectReserve(0, 0, 0, 0);
        m_pBar->CalcReservedBorders(rectReserve, TRUE);
        EXPECT_EQ(rectReserve, CRect(0, 0, c.nReserve, 0));
        EXPECT_EQ(m_pBar->GetCloseRect(), CRect(300 + c.rectClose.left, c.rectClose.top,
                                                300 + c.rectClose.right, c.rectClose.bottom));
        if (c.bRestore) {
            CRect rectRestore = m_pBar->GetCloseRect();
            rectRestore.OffsetRect(-18, 0);
            EXPECT_EQ(m_pBar->GetRestoreRect(), rectRestore);
            rectRestore.OffsetRect(-16, 0);
            EXPECT_EQ(m_pBar->GetMinimizeRect(), rectRestore);
        } else {
            EXPECT_TRUE(m_pBar->GetRestoreRect().IsRectEmpty());
            EXPECT_TRUE(m_pBar->GetMinimizeRect().IsRectEmpty());
        }
        // Hit tests in window coordinates.
        EXPECT_EQ(m_pBar->HitTest(m_pBar->GetCloseRect().CenterPoint(), OX_MENUBAR_HT_WINDOW),
                  OX_MENUBAR_CLOSE);
        if (c.bRestore) {
            EXPECT_EQ(m_pBar->HitTest(m_pBar->GetRestoreRect().CenterPoint(), OX_MENUBAR_HT_WINDOW),
                      OX_MENUBAR_RESTORE);
            EXPECT_EQ(
                m_pBar->HitTest(m_pBar->GetMinimizeRect().CenterPoint(), OX_MENUBAR_HT_WINDOW),
                OX_MENUBAR_MINIMIZE);
        }
    }
    ::SetWindowLongA(pChild->m_hWnd, GWL_STYLE, static_cast<LONG>(dwOriginal));

    // Restored, the child has no icon or buttons on the bar.
    pChild->MDIRestore();
    m_pBar->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ(m_pBar->GetIcon(), nullptr);
    CRect rectReserve(0, 0, 0, 0);
    m_pBar->CalcReservedBorders(rectReserve, TRUE);
    EXPECT_TRUE(rectReserve.IsRectNull());
    EXPECT_TRUE(m_pBar->GetCloseRect().IsRectEmpty());
}

TEST_F(MenuBarTest, HitTestAnswersButtonsInEveryKindOfCoordinates) {
    ASSERT_NE(ShowDocumentMenu(), nullptr);
    CRect rectButton;
    m_pBar->GetItemRect(1, &rectButton);
    CPoint ptClient = rectButton.CenterPoint();
    CPoint ptScreen = ptClient;
    m_pBar->ClientToScreen(&ptScreen);
    CRect rectWindow;
    m_pBar->GetWindowRect(&rectWindow);
    EXPECT_EQ(m_pBar->HitTest(ptClient, OX_MENUBAR_HT_CLIENT), 1);
    EXPECT_EQ(m_pBar->HitTest(ptScreen, OX_MENUBAR_HT_SCREEN), 1);
    EXPECT_EQ(m_pBar->HitTest(ptScreen - rectWindow.TopLeft(), OX_MENUBAR_HT_WINDOW), 1);
    EXPECT_EQ(m_pBar->HitTest(CPoint(-500, -500), OX_MENUBAR_HT_CLIENT), OX_MENUBAR_NONE);
    // The icon, once drawn, and its item rectangle.
    m_pBar->RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    const CRect rectIcon = m_pBar->GetIconRect();
    ASSERT_FALSE(rectIcon.IsRectEmpty());
    EXPECT_EQ(m_pBar->HitTest(rectIcon.CenterPoint(), OX_MENUBAR_HT_WINDOW), OX_MENUBAR_ICON);
    EXPECT_EQ(
        m_pBar->SendMessage(WM_NCHITTEST, 0, Point(rectIcon.CenterPoint() + rectWindow.TopLeft())),
        HTCAPTION);
    // A press on the icon asks for the child's system menu (item n).
    m_pBar->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION,
                        Point(rectIcon.CenterPoint() + rectWindow.TopLeft()));
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, m_pBar->m_hWnd, WM_OX_MENUBAR_OPENITEM, WM_OX_MENUBAR_OPENITEM,
                               PM_REMOVE));
    EXPECT_EQ(static_cast<int>(msg.wParam), m_pBar->GetCount());
    CRect rectItem;
    ASSERT_TRUE(m_pBar->GetMenuItemRect(m_pBar->GetCount(), &rectItem));
    m_pBar->ClientToScreen(&rectItem);
    EXPECT_EQ(rectItem, rectIcon + rectWindow.TopLeft());
}

TEST_F(MenuBarTest, OleDragsAreHandledAndRefused) {
    ASSERT_TRUE(m_pBar->SetMenu(DocumentMenu()));
    const UINT messages[] = {SHBDTM_DRAGENTER, SHBDTM_DRAGOVER, SHBDTM_DROP};
    for (UINT nMsg : messages) {
        SHBDROPTARGETACTION action;
        action.pWnd = m_pBar;
        action.result = DROPEFFECT_COPY;
        EXPECT_NE(m_pBar->SendMessage(nMsg, 0, reinterpret_cast<LPARAM>(&action)), 0) << nMsg;
        EXPECT_EQ(action.result, static_cast<DROPEFFECT>(DROPEFFECT_NONE)) << nMsg;
    }
    EXPECT_FALSE(m_pBar->IsDragDropOperation()); // the drop ended it
}

TEST_F(MenuBarTest, FloatingBarKeepsNoWindowCommandsAndItsCaption) {
    ASSERT_TRUE(m_pBar->SetMenu(DocumentMenu()));
    m_pFrame->m_pFloatingFrameClass = RUNTIME_CLASS(COXSizableMiniDockFrameWnd);
    m_pFrame->FloatControlBar(m_pBar, CPoint(200, 200), CBRS_ALIGN_TOP);
    ASSERT_TRUE(m_pBar->IsFloating());
    CFrameWnd* pMiniFrame = m_pBar->GetParentFrame();
    ASSERT_NE(pMiniFrame, nullptr);
    HMENU hSysMenu = ::GetSystemMenu(pMiniFrame->m_hWnd, FALSE);
    ASSERT_NE(hSysMenu, nullptr);
    EXPECT_EQ(::GetMenuItemCount(hSysMenu), 0);
    CString strCaption;
    m_pBar->GetWindowText(strCaption);
    EXPECT_STREQ(strCaption, "Menu");
}

TEST_F(MenuBarTest, PressingCloseAndReleasingOverRestoreRestoresTheChild) {
    CMDIChildWnd* pChild = ShowDocumentMenu();
    ASSERT_NE(pChild, nullptr);
    m_pBar->RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    CRect rectWindow;
    m_pBar->GetWindowRect(&rectWindow);
    const CPoint ptClose = m_pBar->GetCloseRect().CenterPoint() + rectWindow.TopLeft();
    m_pBar->SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, Point(ptClose));
    EXPECT_EQ(m_pBar->GetPressedMDIButton(), OX_MENUBAR_CLOSE);
    EXPECT_EQ(::GetCapture(), m_pBar->m_hWnd);

    // The pressed button follows the cursor (client coordinates of the bar).
    CPoint ptRestore = m_pBar->GetRestoreRect().CenterPoint() + rectWindow.TopLeft();
    m_pBar->ScreenToClient(&ptRestore);
    m_pBar->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, Point(ptRestore));
    EXPECT_EQ(m_pBar->GetPressedMDIButton(), OX_MENUBAR_RESTORE);
    m_pBar->SendMessage(WM_LBUTTONUP, 0, Point(ptRestore));
    EXPECT_EQ(m_pBar->GetPressedMDIButton(), OX_MENUBAR_NONE);
    EXPECT_EQ(::GetCapture(), nullptr);
    PumpPending();
    BOOL bMaximized = TRUE;
    EXPECT_EQ(m_pFrame->MDIGetActive(&bMaximized), pChild);
    EXPECT_FALSE(bMaximized);
}

TEST_F(MenuBarTest, ATopLevelCommandItemSendsItsCommandWithItsButtonPressed) {
    ASSERT_TRUE(m_pBar->SetMenu(DocumentMenu()));
    const int nScore = 2;
    ASSERT_EQ(::GetMenuItemID(DocumentMenu(), nScore), kScoreCommand);
    g_log.clear();
    NMTOOLBARA notify = {};
    notify.hdr.hwndFrom = m_pBar->m_hWnd;
    notify.hdr.idFrom = kBarID;
    notify.hdr.code = TBN_DROPDOWN;
    notify.iItem = nScore + 1;
    CWnd* pParent = m_pBar->GetParent();
    pParent->SendMessage(WM_NOTIFY, kBarID, reinterpret_cast<LPARAM>(&notify));
    EXPECT_EQ(g_log, (std::vector<std::string>{"command 32300", "exit 0"}));
    EXPECT_TRUE(m_pFrame->m_bPressedDuringCommand);
    EXPECT_EQ(m_pBar->SendMessage(TB_ISBUTTONPRESSED, nScore + 1), 0);
    EXPECT_EQ(m_pBar->GetOpenItem(), -1);
    EXPECT_EQ(m_pBar->GetJustClosedItem(), -1);

    // The press on the button whose popup it just closed opens nothing.
    m_pBar->SetJustClosedItem(0);
    notify.iItem = 1;
    pParent->SendMessage(WM_NOTIFY, kBarID, reinterpret_cast<LPARAM>(&notify));
    EXPECT_EQ(m_pBar->GetJustClosedItem(), -1);
    MSG msg;
    EXPECT_FALSE(::PeekMessageA(&msg, m_pBar->m_hWnd, WM_OX_MENUBAR_OPENITEM,
                                WM_OX_MENUBAR_OPENITEM, PM_NOREMOVE));
    // Any other press on a popup item posts the open message.
    pParent->SendMessage(WM_NOTIFY, kBarID, reinterpret_cast<LPARAM>(&notify));
    ASSERT_TRUE(::PeekMessageA(&msg, m_pBar->m_hWnd, WM_OX_MENUBAR_OPENITEM, WM_OX_MENUBAR_OPENITEM,
                               PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);
}

TEST_F(MenuBarTest, PostedOpenMessageOpensThePopupAndAPostedEscClosesFocus) {
    ASSERT_TRUE(m_pBar->SetMenu(DocumentMenu()));
    bool bSeenOpen = false, bSeenPressed = false;
    CUiScript script({
        [&] {
            bSeenOpen = m_pBar->GetOpenItem() == 1 && m_pBar->IsPopupOpen();
            bSeenPressed = m_pBar->SendMessage(TB_ISBUTTONPRESSED, 2) != 0;
            ::PostMessageA(m_pBar->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            return true;
        },
    });
    // Only the last queued open message counts.
    g_log.clear();
    m_pBar->PostMessage(WM_OX_MENUBAR_OPENITEM, 0);
    m_pBar->PostMessage(WM_OX_MENUBAR_OPENITEM, 1);
    PumpUntil([&] { return script.Finished() && !m_pBar->IsPopupOpen(); });
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(bSeenOpen);
    EXPECT_TRUE(bSeenPressed);
    EXPECT_EQ(m_pBar->GetOpenItem(), -1);
    EXPECT_EQ(m_pBar->SendMessage(TB_ISBUTTONPRESSED, 2), 0);
    // The bar's loop (wParam 0) around the platform's own popup loop (wParam 1).
    const std::vector<std::string> expected = {"enter 0", "init", "select 1 0x90", // the bar
                                               "enter 1", "init", "select 0 0xffff",
                                               "exit 1", // TrackPopupMenu
                                               "exit 0"};
    EXPECT_EQ(g_log, expected);
}

TEST_F(MenuBarTest, WithAnOrganizerThePopupIsTrackedAsABitmapMenuFocus) {
    // Made and destroyed while the frame lives, as the main frame's member is.
    std::unique_ptr<COXBitmapMenuOrganizer> pOrganizer(new COXBitmapMenuOrganizer);
    ASSERT_TRUE(pOrganizer->AttachFrameWnd(m_pFrame));
    ASSERT_TRUE(m_pBar->SetMenu(DocumentMenu()));
    HMENU hEdit = ::GetSubMenu(DocumentMenu(), 1);
    bool bBitmapMenu = false;
    CUiScript script({
        [&] {
            bBitmapMenu =
                dynamic_cast<COXBitmapMenu*>(CMenu::FromHandlePermanent(hEdit)) != nullptr;
            ::PostMessageA(m_pBar->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            return true;
        },
    });
    m_pBar->PostMessage(WM_OX_MENUBAR_OPENITEM, 1);
    PumpUntil([&] { return script.Finished() && !m_pBar->IsPopupOpen(); });
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(bBitmapMenu);
    EXPECT_EQ(m_pBar->GetOpenItem(), -1);
    pOrganizer.reset();
}

TEST_F(MenuBarTest, GrayedItemOpensNoPopup) {
    ASSERT_TRUE(m_pBar->SetMenu(DocumentMenu()));
    ::EnableMenuItem(DocumentMenu(), 4, MF_BYPOSITION | MF_GRAYED); // "&Disabled"
    g_log.clear();
    m_pBar->TrackItemPopup(4);
    EXPECT_EQ(m_pBar->GetOpenItem(), -1);
    EXPECT_EQ(m_pBar->GetPendingItem(), 4);
    EXPECT_EQ(g_log, std::vector<std::string>{});
}

TEST_F(MenuBarTest, SurfingCannotStartWhileAPopupIsOpenAndSaysSo) {
    CTempFolder folder;
    const std::string log = folder.File("trace.log");
    g_TraceLog.SetPath(log.c_str(), "");
    g_TraceLog.SetLevel(CTraceLog::LEVEL_ALL);
    ASSERT_TRUE(m_pBar->SetMenu(DocumentMenu()));
    m_pBar->SetOpenItem(0);
    EXPECT_FALSE(m_pBar->SetSurfingMode(TRUE, 0));
    EXPECT_FALSE(m_pBar->IsInSurfingMode());
    m_pBar->SetOpenItem(-1);
    g_TraceLog.SetLevel(CTraceLog::LEVEL_OFF);
    g_TraceLog.SetPath("", "");
    EXPECT_NE(
        ReadWholeFile(log).find("COXMenuBar::SetSurfingMode: Cannot be set in the surfing mode "
                                "while displaying popup menus"),
        std::string::npos);
}

TEST_F(MenuBarTest, AltAloneSurfsAndArrowsWrapFocus) {
    ASSERT_TRUE(m_pBar->SetMenu(DocumentMenu()));
    const int nCount = m_pBar->GetCount();
    g_log.clear();
    EXPECT_TRUE(m_pBar->HandleMenuKey(0));
    EXPECT_TRUE(m_pBar->IsInSurfingMode());
    EXPECT_EQ(m_pBar->SendMessage(TB_GETHOTITEM), 0);
    EXPECT_EQ(g_log, (std::vector<std::string>{"enter 0", "init", "select 0 0x90"}));

    struct Step {
        UINT nKey;
        int nHot;
    };
    const Step steps[] = {{VK_LEFT, nCount - 1}, {VK_RIGHT, 0}, {VK_RIGHT, 1}};
    for (const Step& s : steps) {
        EXPECT_TRUE(m_pBar->HandleMenuKey(s.nKey));
        EXPECT_EQ(m_pBar->SendMessage(TB_GETHOTITEM), s.nHot);
    }
    // A mnemonic with Ctrl held is not the bar's.
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    EXPECT_FALSE(m_pBar->HandleMenuKey('E'));
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);

    g_log.clear();
    EXPECT_TRUE(m_pBar->HandleMenuKey(0));
    EXPECT_FALSE(m_pBar->IsInSurfingMode());
    EXPECT_EQ(m_pBar->SendMessage(TB_GETHOTITEM), -1);
    EXPECT_EQ(g_log, std::vector<std::string>{"exit 0"});
}

TEST_F(MenuBarTest, WithTheChildsIconRightWrapsThroughTheIconFocus) {
    ASSERT_NE(ShowDocumentMenu(), nullptr);
    const int nCount = m_pBar->GetCount();
    ASSERT_TRUE(m_pBar->SetSurfingMode(TRUE, nCount - 1));
    EXPECT_EQ(m_pBar->GetNextItem(nCount - 1, TRUE), nCount); // the icon
    EXPECT_TRUE(m_pBar->HandleMenuKey(VK_RIGHT));
    EXPECT_EQ(m_pBar->SendMessage(TB_GETHOTITEM), -1); // the icon is no button
    EXPECT_TRUE(m_pBar->HandleMenuKey(VK_RIGHT));
    EXPECT_EQ(m_pBar->SendMessage(TB_GETHOTITEM), 0);
    EXPECT_TRUE(m_pBar->HandleMenuKey(VK_ESCAPE));
    EXPECT_FALSE(m_pBar->IsInSurfingMode());
}

TEST_F(MenuBarTest, EnterWhileSurfingOpensTheHotItemFocus) {
    ASSERT_TRUE(m_pBar->SetMenu(DocumentMenu()));
    ASSERT_TRUE(m_pBar->SetSurfingMode(TRUE, 1));
    int nOpened = -1;
    BOOL bSurfingWhileOpen = TRUE;
    CUiScript script({
        [&] {
            nOpened = m_pBar->GetOpenItem();
            bSurfingWhileOpen = m_pBar->IsInSurfingMode();
            ::PostMessageA(m_pBar->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            return true;
        },
    });
    EXPECT_TRUE(m_pBar->HandleMenuKey(VK_RETURN)); // returns once the popup has closed
    PumpUntil([&] { return script.Finished(); });
    EXPECT_EQ(nOpened, 1);
    EXPECT_FALSE(bSurfingWhileOpen);
    EXPECT_EQ(m_pBar->GetOpenItem(), -1);
}

TEST_F(MenuBarTest, RightInAnOpenPopupOpensTheNextItemsAndEscReturnsToSurfingFocus) {
    ASSERT_TRUE(m_pBar->SetMenu(DocumentMenu()));
    std::vector<int> opened;
    BOOL bRightUsed = FALSE, bEscUsed = TRUE;
    CUiScript script({
        [&] {
            opened.push_back(m_pBar->GetOpenItem());
            bRightUsed = m_pBar->HandleMenuKey(VK_RIGHT);
            return true;
        },
        [&] {
            if (m_pBar->GetOpenItem() != 1)
                return false;
            opened.push_back(1);
            bEscUsed = m_pBar->HandleMenuKey(VK_ESCAPE);
            ::PostMessageA(m_pBar->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            return true;
        },
    });
    m_pBar->PostMessage(WM_OX_MENUBAR_OPENITEM, 0);
    PumpUntil([&] { return script.Finished() && !m_pBar->IsPopupOpen(); });
    ASSERT_TRUE(script.Finished());
    EXPECT_EQ(opened, (std::vector<int>{0, 1}));
    EXPECT_TRUE(bRightUsed);
    EXPECT_FALSE(bEscUsed); // the popup closes itself
    EXPECT_TRUE(m_pBar->IsInSurfingMode());
    EXPECT_EQ(m_pBar->SendMessage(TB_GETHOTITEM), 1);
    m_pBar->SetSurfingMode(FALSE, -1);
}

// ---- saved menu state

TEST_F(MenuBarTest, AMenuSavedWithoutADocumentComesBackFromMenuDefault) {
    // What an earlier run saved: a menu whose Window popup held the MDI list.
    HMENU hSaved = ::CreateMenu();
    HMENU hFile = ::CreatePopupMenu();
    ::AppendMenuA(hFile, MF_STRING, 57600, "&New");
    ::AppendMenuA(hSaved, MF_POPUP, reinterpret_cast<UINT_PTR>(hFile), "&File");
    HMENU hWindow = ::CreatePopupMenu();
    ::AppendMenuA(hWindow, MF_STRING, 57650, "&Cascade");
    ::AppendMenuA(hWindow, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(hWindow, MF_STRING, 0xFF00, "&1 Call1");
    ::AppendMenuA(hSaved, MF_POPUP, reinterpret_cast<UINT_PTR>(hWindow), "&Window");
    std::vector<BYTE> bytes;
    ASSERT_TRUE(OXMenuItemsToBytes(hSaved, bytes));
    ::DestroyMenu(hSaved);
    ASSERT_TRUE(theApp.WriteProfileBinary("Menu_Default", "MenuItems", bytes.data(),
                                          static_cast<UINT>(bytes.size())));
    ASSERT_TRUE(
        theApp.WriteProfileInt("Menu_Default", "MenuDataSize", static_cast<int>(bytes.size())));

    HMENU hMenu = ::CreateMenu();
    ::AppendMenuA(hMenu, MF_STRING, 1, "&Only");
    ASSERT_TRUE(m_pBar->SetMenu(hMenu));
    EXPECT_EQ(g_log, std::vector<std::string>{"load Menu_Default"});
    ASSERT_EQ(::GetMenuItemCount(hMenu), 2);
    EXPECT_EQ(m_pBar->GetCount(), 2);
    EXPECT_STREQ(m_pBar->GetMenuItemText(1), "&Window");
    // Back without the window entries and the separator before them, and that
    // popup is the window menu for the frame.
    HMENU hLoadedWindow = ::GetSubMenu(hMenu, 1);
    EXPECT_EQ(::GetMenuItemCount(hLoadedWindow), 1);
    EXPECT_EQ(::GetMenuItemID(hLoadedWindow, 0), 57650u);
    EXPECT_EQ(m_pBar->GetWindowMenu(), hLoadedWindow);
    m_pBar->SetMenu(nullptr);
    ::DestroyMenu(hMenu);
}

TEST_F(MenuBarTest, DamagedProfileDataLeavesTheMenuAsItWas) {
    std::vector<BYTE> bytes;
    ASSERT_TRUE(OXMenuItemsToBytes(DocumentMenu(), bytes));
    struct Case {
        const char* what;
        UINT nBytes;
        int nRecorded;
    };
    const Case cases[] = {
        {"size recorded larger", static_cast<UINT>(bytes.size()),
         static_cast<int>(bytes.size()) + 1},
        {"cut short", static_cast<UINT>(bytes.size()) - 3, static_cast<int>(bytes.size()) - 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        theApp.WriteProfileBinary("Menu_Default", "MenuItems", bytes.data(), c.nBytes);
        theApp.WriteProfileInt("Menu_Default", "MenuDataSize", c.nRecorded);
        COXMenuBar bar;
        ASSERT_TRUE(bar.Create(m_pFrame, kBarStyle, kBarID + 1));
        g_log.clear();
        HMENU hMenu = ::CreateMenu();
        ::AppendMenuA(hMenu, MF_STRING, 1, "&Only");
        ASSERT_TRUE(bar.SetMenu(hMenu));
        EXPECT_EQ(::GetMenuItemCount(hMenu), 1);
        EXPECT_EQ(bar.GetCount(), 1);
        EXPECT_EQ(g_log, std::vector<std::string>{"load Menu_Default"});
        bar.DestroyWindow();
        ::DestroyMenu(hMenu);
    }
}

TEST_F(MenuBarTest, AChangedMenuIsSavedWhenReplacedAndLoadedOncePerTemplate) {
    ASSERT_NE(OpenChild(), nullptr);
    g_log.clear();
    ASSERT_TRUE(m_pBar->SetMenu(DocumentMenu()));
    EXPECT_EQ(g_log, std::vector<std::string>{"load Menu_CCallDoc"});
    m_pBar->MarkMenuChanged();
    g_log.clear();
    ASSERT_TRUE(m_pBar->SetMenu(m_hFrameMenu)); // the template's menu already loaded one
    EXPECT_EQ(g_log, std::vector<std::string>{"save Menu_CCallDoc"});
    EXPECT_GT(static_cast<int>(theApp.GetProfileInt("Menu_CCallDoc", "MenuDataSize", -1)), 0);
    g_log.clear();
    ASSERT_TRUE(m_pBar->SetMenu(DocumentMenu())); // loaded before: not again, not saved
    EXPECT_EQ(g_log, std::vector<std::string>{});

    // Replaced after its last document closed, the menu still saves under its
    // document's section, not over the default menu's.
    m_pBar->MarkMenuChanged();
    m_mdi.m_pDocManager->CloseAllDocuments(FALSE);
    g_log.clear();
    ASSERT_TRUE(m_pBar->SetMenu(m_hFrameMenu)); // first shown without a document: loads
    EXPECT_EQ(g_log, (std::vector<std::string>{"save Menu_CCallDoc", "load Menu_Default"}));
    EXPECT_EQ(static_cast<int>(theApp.GetProfileInt("Menu_Default", "MenuDataSize", -1)), -1);
}

// ---- how it looks

// The item of an open popup is drawn under the item window's light gradient:
// its text keeps the menu-text colour there instead of the highlight text.
TEST_F(MenuBarTest, TheOpenItemKeepsTheMenuTextColourInTheFlatSkins) {
    ASSERT_TRUE(m_pBar->SetMenu(DocumentMenu()));
    for (const char* pszSkin : {"Office XP", "Office 2003"}) {
        theApp.SetCurrentSkin(pszSkin);
        m_pBar->SetOpenItem(0);
        m_pBar->SendMessage(TB_PRESSBUTTON, 1, TRUE);
        TBBUTTON button = {};
        ASSERT_TRUE(m_pBar->SendMessage(TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&button)));
        CRect rect;
        m_pBar->SendMessage(TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rect));
        CCanvas canvas(rect.right + 4, rect.bottom + 4, RGB(128, 128, 128));
        auto* pSkin = dynamic_cast<COXToolbarSkinXP*>(m_pBar->GetToolbarSkin());
        ASSERT_NE(pSkin, nullptr) << pszSkin;
        pSkin->DrawButton(&canvas.dc, button, rect, m_pBar, FALSE);
        EXPECT_GT(canvas.Count(::GetSysColor(COLOR_MENUTEXT), rect), 0) << pszSkin;
        EXPECT_EQ(canvas.Count(::GetSysColor(COLOR_HIGHLIGHTTEXT), rect), 0) << pszSkin;
        m_pBar->SendMessage(TB_PRESSBUTTON, 1, FALSE);
        m_pBar->SetOpenItem(-1);
    }
}

TEST_F(MenuBarTest, MaximisedChildIconAndButtonsInOffice2003Screen) {
    ASSERT_TRUE(theApp.SetCurrentSkin("Office 2003"));
    ASSERT_NE(ShowDocumentMenu(), nullptr);
    m_pFrame->RedrawWindow(
        nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Settle();
    CRect rectBar;
    m_pBar->GetWindowRect(&rectBar);
    ASSERT_TRUE(SaveScreenPng(rectBar, "menubar_mdi_office2003.png"));
    CRect rectFrameTop;
    m_pFrame->GetWindowRect(&rectFrameTop);
    rectFrameTop.bottom = rectBar.bottom + 40;
    ASSERT_TRUE(SaveScreenPng(rectFrameTop, "menubar_mdi_office2003_frame.png"));
    // The close button shows its glyph: more than one colour in its square.
    const CRect rectClose = m_pBar->GetCloseRect();
    ASSERT_FALSE(rectClose.IsRectEmpty());
    CCanvas canvas(rectBar.Width(), rectBar.Height());
    CaptureScreen(canvas, rectBar);
    const COLORREF crCorner = canvas.dc.GetPixel(rectClose.left + 1, rectClose.top + 1);
    const int nCornerColour = canvas.Count(crCorner, rectClose);
    EXPECT_LT(nCornerColour, rectClose.Width() * rectClose.Height());
    // So does the icon.
    const CRect rectIcon = m_pBar->GetIconRect();
    ASSERT_FALSE(rectIcon.IsRectEmpty());
    const COLORREF crIconCorner = canvas.dc.GetPixel(rectIcon.left, rectIcon.top);
    EXPECT_LT(canvas.Count(crIconCorner, rectIcon), rectIcon.Width() * rectIcon.Height());
}
