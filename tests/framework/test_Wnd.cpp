// Tests of CWnd: creation and teardown seen from the window procedure, self-deleting
// windows, exceptions at the window-procedure boundary, subclass chains, the
// per-thread handle map, command and notification routing with reflection,
// command-UI updates of controls, bar layout and tooltip hit tests.
#include "native/gtest.h"

#include "framework/CmdUI.h"
#include "framework/Exception.h"
#include "framework/WinThread.h"
#include "framework/Wnd.h"

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const RECT kRect = {10, 10, 210, 110};

// Keeps every message its window procedure sees, in order.
class CRecordingWnd : public CWnd {
public:
    std::vector<UINT> m_messages;
    int m_nPostNcDestroy = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        m_messages.push_back(message);
        return CWnd::WindowProc(message, wParam, lParam);
    }
    void PostNcDestroy() override { ++m_nPostNcDestroy; }
};

// Messages Wine may add to a sequence when a window is (de)activated or an
// input method is around; not part of what the framework promises.
std::vector<UINT> WithoutNoise(const std::vector<UINT>& messages) {
    std::vector<UINT> result;
    for (UINT message : messages) {
        if (message != WM_GETICON && message != WM_IME_SETCONTEXT && message != WM_IME_NOTIFY)
            result.push_back(message);
    }
    return result;
}

TEST(WndCreate, ObjectSeesEveryMessageFromTheFirst) {
    struct SCase {
        const char* name;
        DWORD dwStyle;
        const char* pszClass; // null: the framework's default class
        std::vector<UINT> expected;
    };
    // Win32's creation order for hidden windows: size limits (for windows with a
    // sizing border or overlapped ones), non-client creation and size, creation,
    // then the first WM_SIZE and WM_MOVE, which an overlapped window gets only
    // when it is first shown.
    const std::vector<SCase> cases = {
        {"popup", WS_POPUP, nullptr, {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}},
        {"sizing popup",
         WS_POPUP | WS_THICKFRAME,
         nullptr,
         {WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}},
        {"overlapped",
         WS_OVERLAPPED | WS_CAPTION,
         nullptr,
         {WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE}},
        {"system class",
         WS_POPUP,
         "STATIC",
         {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.name);
        CRecordingWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, c.pszClass, "t", c.dwStyle, kRect, nullptr, 0));
        EXPECT_EQ(c.expected, WithoutNoise(wnd.m_messages));
        EXPECT_EQ(&wnd, CWnd::FromHandlePermanent(wnd.m_hWnd));
        EXPECT_TRUE(wnd.DestroyWindow());
    }
}

TEST(WndCreate, ChildSequenceAndTeardown) {
    CRecordingWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_POPUP, kRect, nullptr, 0));
    CRecordingWnd child;
    ASSERT_TRUE(child.Create(nullptr, "child", WS_CHILD, CRect(0, 0, 50, 20), &parent, 7));
    EXPECT_EQ((std::vector<UINT>{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE}),
              WithoutNoise(child.m_messages));
    EXPECT_EQ(7, child.GetDlgCtrlID());
    EXPECT_EQ(&child, parent.GetDlgItem(7));

    HWND hWndChild = child.m_hWnd;
    child.m_messages.clear();
    parent.m_messages.clear();
    ASSERT_TRUE(child.DestroyWindow());
    EXPECT_EQ((std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}), WithoutNoise(child.m_messages));
    // The parent hears of it, before the child's own teardown messages.
    EXPECT_EQ((std::vector<UINT>{WM_PARENTNOTIFY}), WithoutNoise(parent.m_messages));
    EXPECT_EQ(nullptr, child.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWndChild));
    EXPECT_EQ(1, child.m_nPostNcDestroy);
    parent.DestroyWindow();
}

TEST(WndCreate, RefusesASecondWindowAndBadClasses) {
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "once", WS_POPUP, kRect, nullptr, 0));
    HWND hWnd = wnd.m_hWnd;
    EXPECT_FALSE(wnd.CreateEx(0, nullptr, "twice", WS_POPUP, kRect, nullptr, 0));
    EXPECT_EQ(hWnd, wnd.m_hWnd);
    wnd.DestroyWindow();

    CRecordingWnd bad;
    EXPECT_FALSE(bad.CreateEx(0, "NoSuchClassAnywhere", "", WS_POPUP, kRect, nullptr, 0));
    EXPECT_EQ(nullptr, bad.m_hWnd);
    EXPECT_EQ(1, bad.m_nPostNcDestroy); // the object's last call, as for any window
}

TEST(WndCreate, DestructorDestroysAnOwnedWindowOnly) {
    HWND hWnd;
    {
        CWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, kRect, nullptr, 0));
        hWnd = wnd.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));

    // A temporary wrapper never destroys its window.
    HWND hWndRaw = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     nullptr, nullptr);
    ASSERT_NE(nullptr, hWndRaw);
    CWnd* pTemp = CWnd::FromHandle(hWndRaw);
    ASSERT_NE(nullptr, pTemp);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWndRaw));
    EXPECT_EQ(pTemp, CWnd::FromHandle(hWndRaw));
    CWnd::DeleteTempMap();
    EXPECT_TRUE(::IsWindow(hWndRaw));
    ::DestroyWindow(hWndRaw);
}

// ---------------------------------------------------------------------------
// Windows that delete themselves.

int g_nSelfDeleted = 0;

class CSelfDeletingWnd : public CWnd {
public:
    explicit CSelfDeletingWnd(bool bFailCreate = false) : m_bFailCreate(bFailCreate) {}
    ~CSelfDeletingWnd() override { ++g_nSelfDeleted; }

protected:
    // A heap object of this class deletes itself here, after its window is gone.
    void PostNcDestroy() override { delete this; }
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
        return m_bFailCreate ? -1 : CWnd::OnCreate(lpCreateStruct);
    }

    bool m_bFailCreate;
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CSelfDeletingWnd, CWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()
// clang-format on

TEST(WndSelfDelete, DeletedExactlyOnceWhateverEndsIt) {
    struct SCase {
        const char* name;
        bool bCreated;
        void (*pfnEnd)(CSelfDeletingWnd* pWnd, CWnd* pParent);
    };
    const SCase cases[] = {
        {"DestroyWindow", true, [](CSelfDeletingWnd* pWnd, CWnd*) { pWnd->DestroyWindow(); }},
        {"parent destroyed", true,
         [](CSelfDeletingWnd*, CWnd* pParent) { pParent->DestroyWindow(); }},
        {"WM_CLOSE's default", true,
         [](CSelfDeletingWnd* pWnd, CWnd*) { pWnd->SendMessage(WM_CLOSE); }},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.name);
        g_nSelfDeleted = 0;
        CWnd parent;
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP, kRect, nullptr, 0));
        CSelfDeletingWnd* pWnd = new CSelfDeletingWnd;
        ASSERT_TRUE(pWnd->Create(nullptr, "", WS_CHILD, CRect(0, 0, 5, 5), &parent, 1));
        c.pfnEnd(pWnd, &parent);
        EXPECT_EQ(1, g_nSelfDeleted);
        parent.DestroyWindow();
        EXPECT_EQ(1, g_nSelfDeleted);
    }
}

TEST(WndSelfDelete, FailedCreationDeletesOnce) {
    g_nSelfDeleted = 0;
    CSelfDeletingWnd* pFailing = new CSelfDeletingWnd(true);
    EXPECT_FALSE(pFailing->CreateEx(0, nullptr, "", WS_POPUP, kRect, nullptr, 0));
    EXPECT_EQ(1, g_nSelfDeleted);

    g_nSelfDeleted = 0;
    CSelfDeletingWnd* pBadClass = new CSelfDeletingWnd;
    EXPECT_FALSE(pBadClass->CreateEx(0, "NoSuchClassAnywhere", "", WS_POPUP, kRect, nullptr, 0));
    EXPECT_EQ(1, g_nSelfDeleted);
}

// ---------------------------------------------------------------------------
// Exceptions stop at the window procedure.

const UINT WM_TEST_THROW_STD = WM_APP + 1;
const UINT WM_TEST_THROW_AFX = WM_APP + 2;
const UINT WM_TEST_PING = WM_APP + 3;

class CThrowingWnd : public CWnd {
public:
    bool m_bThrowOnCreate = false;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct) {
        if (m_bThrowOnCreate)
            AfxThrowResourceException();
        return CWnd::OnCreate(lpCreateStruct);
    }
    afx_msg LRESULT OnThrowStd(WPARAM, LPARAM) { throw std::runtime_error("handler failed"); }
    afx_msg LRESULT OnThrowAfx(WPARAM, LPARAM) { AfxThrowNotSupportedException(); }
    afx_msg LRESULT OnPing(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam) + 1; }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CThrowingWnd, CWnd)
    ON_WM_CREATE()
    ON_MESSAGE(WM_TEST_THROW_STD, &CThrowingWnd::OnThrowStd)
    ON_MESSAGE(WM_TEST_THROW_AFX, &CThrowingWnd::OnThrowAfx)
    ON_MESSAGE(WM_TEST_PING, &CThrowingWnd::OnPing)
END_MESSAGE_MAP()
// clang-format on

TEST(WndExceptions, CaughtAtTheWindowProcedure) {
    CThrowingWnd failing;
    failing.m_bThrowOnCreate = true;
    EXPECT_FALSE(failing.CreateEx(0, nullptr, "", WS_POPUP, kRect, nullptr, 0));
    EXPECT_EQ(nullptr, failing.m_hWnd);

    CThrowingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, kRect, nullptr, 0));
    EXPECT_EQ(0, wnd.SendMessage(WM_TEST_THROW_STD));
    EXPECT_EQ(0, wnd.SendMessage(WM_TEST_THROW_AFX));
    // The window goes on working, and Default finds the right current message.
    EXPECT_EQ(42, wnd.SendMessage(WM_TEST_PING, 41));
    wnd.SetWindowText("still here");
    CString strText;
    wnd.GetWindowText(strText);
    EXPECT_STREQ("still here", strText);
    wnd.DestroyWindow();
}

// ---------------------------------------------------------------------------
// Subclass chains.

const UINT WM_TEST_PROBE = WM_APP + 10;
std::string g_chain;

LRESULT CALLBACK RawClassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TEST_PROBE)
        g_chain += "class";
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

WNDPROC g_pfnBelowForeign = nullptr;

LRESULT CALLBACK ForeignSubclassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TEST_PROBE)
        g_chain += "foreign,";
    return ::CallWindowProcA(g_pfnBelowForeign, hWnd, message, wParam, lParam);
}

class CProbeWnd : public CWnd {
public:
    explicit CProbeWnd(const char* pszName) : m_pszName(pszName) {}

protected:
    afx_msg LRESULT OnProbe(WPARAM, LPARAM) {
        g_chain += m_pszName;
        g_chain += ",";
        return Default();
    }
    const char* m_pszName;
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CProbeWnd, CWnd)
    ON_MESSAGE(WM_TEST_PROBE, &CProbeWnd::OnProbe)
END_MESSAGE_MAP()
// clang-format on

class WndSubclass : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = RawClassProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "ZmRawProbeClass";
        ::RegisterClassA(&wc);
        m_hWnd = ::CreateWindowExA(0, "ZmRawProbeClass", "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                   nullptr, wc.hInstance, nullptr);
        ASSERT_NE(nullptr, m_hWnd);
    }
    void TearDown() override { ::DestroyWindow(m_hWnd); }

    std::string Probe() {
        g_chain.clear();
        ::SendMessageA(m_hWnd, WM_TEST_PROBE, 0, 0);
        return g_chain;
    }
    WNDPROC CurrentProc() const {
        return reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC));
    }
    void PushForeign() {
        g_pfnBelowForeign = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
            m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignSubclassProc)));
    }
    void PopForeign() {
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_pfnBelowForeign));
    }

    HWND m_hWnd = nullptr;
};

TEST_F(WndSubclass, InOrderUnsubclassRestoresTheProcedure) {
    WNDPROC pfnOriginal = CurrentProc();
    CProbeWnd a("A");
    ASSERT_TRUE(a.SubclassWindow(m_hWnd));
    EXPECT_EQ("A,class", Probe());
    EXPECT_EQ(&a, CWnd::FromHandlePermanent(m_hWnd));

    // A second object cannot take a window that has one.
    CProbeWnd b("B");
    EXPECT_FALSE(b.SubclassWindow(m_hWnd));
    EXPECT_EQ("A,class", Probe());

    EXPECT_EQ(m_hWnd, a.UnsubclassWindow());
    EXPECT_EQ(pfnOriginal, CurrentProc());
    EXPECT_EQ(nullptr, a.m_hWnd);
    EXPECT_EQ("class", Probe());
}

TEST_F(WndSubclass, OutOfOrderUnsubclassKeepsTheChainWhole) {
    WNDPROC pfnOriginal = CurrentProc();
    CProbeWnd a("A");
    CProbeWnd c("C");
    struct SStep {
        const char* name;
        std::function<bool()> act;
        bool bActResult;
        const char* expectedChain;
    };
    const SStep steps[] = {
        {"A subclasses", [&] { return !!a.SubclassWindow(m_hWnd); }, true, "A,class"},
        {"a foreign subclass on top",
         [&] {
             PushForeign();
             return true;
         },
         true, "foreign,A,class"},
        {"A leaves from under it", [&] { return a.UnsubclassWindow() == m_hWnd; }, true,
         "foreign,class"},
        {"C is refused while A's place is buried", [&] { return !!c.SubclassWindow(m_hWnd); },
         false, "foreign,class"},
        {"the foreign subclass leaves",
         [&] {
             PopForeign();
             return true;
         },
         true, "class"},
        {"C takes A's place", [&] { return !!c.SubclassWindow(m_hWnd); }, true, "C,class"},
        {"C leaves", [&] { return c.UnsubclassWindow() == m_hWnd; }, true, "class"},
    };
    for (const SStep& step : steps) {
        SCOPED_TRACE(step.name);
        EXPECT_EQ(step.bActResult, step.act());
        EXPECT_EQ(step.expectedChain, Probe());
    }
    EXPECT_EQ(pfnOriginal, CurrentProc());
}

TEST_F(WndSubclass, WindowDestroyedUnderAForeignSubclass) {
    CProbeWnd a("A");
    ASSERT_TRUE(a.SubclassWindow(m_hWnd));
    PushForeign();
    ::DestroyWindow(m_hWnd);
    EXPECT_EQ(nullptr, a.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(m_hWnd));
}

// ---------------------------------------------------------------------------
// The handle map is per thread.

struct SCrossThreadLook {
    HWND hWnd;
    CWnd* pPermanent;
    CWnd* pFromHandle;
    HWND hWndOfWrapper;
    bool bStableWrapper;
};

DWORD WINAPI LookFromAnotherThread(LPVOID pParam) {
    SCrossThreadLook* pLook = static_cast<SCrossThreadLook*>(pParam);
    pLook->pPermanent = CWnd::FromHandlePermanent(pLook->hWnd);
    pLook->pFromHandle = CWnd::FromHandle(pLook->hWnd);
    pLook->hWndOfWrapper = pLook->pFromHandle != nullptr ? pLook->pFromHandle->m_hWnd : nullptr;
    pLook->bStableWrapper = CWnd::FromHandle(pLook->hWnd) == pLook->pFromHandle;
    return 0;
}

TEST(WndHandleMap, AnotherThreadGetsATemporaryObject) {
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, kRect, nullptr, 0));
    SCrossThreadLook look = {wnd.m_hWnd, &wnd, nullptr, nullptr, false};
    HANDLE hThread = ::CreateThread(nullptr, 0, LookFromAnotherThread, &look, 0, nullptr);
    ASSERT_NE(nullptr, hThread);
    ::WaitForSingleObject(hThread, INFINITE);
    ::CloseHandle(hThread);

    EXPECT_EQ(nullptr, look.pPermanent);
    EXPECT_NE(nullptr, look.pFromHandle);
    EXPECT_NE(&wnd, look.pFromHandle);
    EXPECT_EQ(wnd.m_hWnd, look.hWndOfWrapper);
    EXPECT_TRUE(look.bStableWrapper);
    // The window outlived the other thread's wrapper, and this thread still maps it.
    EXPECT_TRUE(::IsWindow(wnd.m_hWnd));
    EXPECT_EQ(&wnd, CWnd::FromHandle(wnd.m_hWnd));
    wnd.DestroyWindow();
}

TEST(WndHandleMap, AttachDetach) {
    HWND hWnd = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(nullptr, hWnd);
    CWnd a, b;
    EXPECT_FALSE(a.Attach(nullptr));
    EXPECT_TRUE(a.Attach(hWnd));
    EXPECT_FALSE(b.Attach(hWnd)); // one object per window
    EXPECT_FALSE(a.Attach(hWnd)); // one window per object
    EXPECT_EQ(&a, CWnd::FromHandlePermanent(hWnd));
    EXPECT_EQ(hWnd, a.Detach());
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
    EXPECT_TRUE(::IsWindow(hWnd));
    // An attached window destroyed through its object leaves no stale entry.
    ASSERT_TRUE(b.Attach(hWnd));
    EXPECT_TRUE(b.DestroyWindow());
    EXPECT_EQ(nullptr, b.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
}

// ---------------------------------------------------------------------------
// Command and notification routing.

const UINT IDC_CHILD = 101;
const UINT IDC_OTHER = 102;
const UINT ID_TEST_COMMAND = 0x8001;
const UINT ID_TEST_DISABLED = 0x8002;
const UINT ID_TEST_RANGE_FIRST = 0x8010;
const UINT ID_TEST_RANGE_LAST = 0x801F;
std::string g_route;
UINT g_nRegisteredMessage = ::RegisterWindowMessageA("ZmTestRegisteredMessage");

class CRouteChild : public CWnd {
public:
    BOOL m_bKeepClick = FALSE;
    HBRUSH m_hbrReflect = nullptr;

protected:
    afx_msg BOOL OnReflectClicked() {
        g_route += "child-click,";
        return m_bKeepClick;
    }
    afx_msg void OnReflectNmClick(NMHDR*, LRESULT* pResult) {
        g_route += "child-nmclick,";
        *pResult = 5;
    }
    afx_msg HBRUSH CtlColor(CDC*, UINT nCtlColor) {
        g_route += nCtlColor == CTLCOLOR_STATIC ? "child-color," : "child-color?,";
        return m_hbrReflect;
    }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CRouteChild, CWnd)
    ON_WM_CTLCOLOR_REFLECT()
    ON_CONTROL_REFLECT_EX(BN_CLICKED, &CRouteChild::OnReflectClicked)
    ON_NOTIFY_REFLECT(NM_CLICK, &CRouteChild::OnReflectNmClick)
END_MESSAGE_MAP()
// clang-format on

class CRouteParent : public CWnd {
protected:
    afx_msg void OnChildClicked() { g_route += "parent-click,"; }
    afx_msg void OnOtherClicked() { g_route += "parent-other,"; }
    afx_msg void OnChildNmClick(NMHDR*, LRESULT*) { g_route += "parent-nmclick,"; }
    afx_msg void OnCommand1() { g_route += "parent-cmd,"; }
    afx_msg void OnDisabled() { g_route += "parent-disabled-ran,"; }
    afx_msg void OnUpdateDisabled(CCmdUI* pCmdUI) {
        g_route += "parent-update,";
        pCmdUI->Enable(FALSE);
    }
    afx_msg void OnRange(UINT nID) {
        g_route += "parent-range-" + std::to_string(nID - ID_TEST_RANGE_FIRST) + ",";
    }
    afx_msg LRESULT OnRegistered(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam) * 2; }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CRouteParent, CWnd)
    ON_REGISTERED_MESSAGE(g_nRegisteredMessage, &CRouteParent::OnRegistered)
    ON_BN_CLICKED(IDC_CHILD, &CRouteParent::OnChildClicked)
    ON_BN_CLICKED(IDC_OTHER, &CRouteParent::OnOtherClicked)
    ON_NOTIFY(NM_CLICK, IDC_CHILD, &CRouteParent::OnChildNmClick)
    ON_COMMAND(ID_TEST_COMMAND, &CRouteParent::OnCommand1)
    ON_COMMAND(ID_TEST_DISABLED, &CRouteParent::OnDisabled)
    ON_UPDATE_COMMAND_UI(ID_TEST_DISABLED, &CRouteParent::OnUpdateDisabled)
    ON_COMMAND_RANGE(ID_TEST_RANGE_FIRST, ID_TEST_RANGE_LAST, &CRouteParent::OnRange)
END_MESSAGE_MAP()
// clang-format on

class WndRouting : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, "", WS_POPUP, kRect, nullptr, 0));
        ASSERT_TRUE(
            m_child.Create(nullptr, "", WS_CHILD, CRect(0, 0, 20, 20), &m_parent, IDC_CHILD));
        ASSERT_TRUE(
            m_other.Create(nullptr, "", WS_CHILD, CRect(0, 20, 20, 40), &m_parent, IDC_OTHER));
    }
    void TearDown() override { m_parent.DestroyWindow(); }

    CRouteParent m_parent;
    CRouteChild m_child;
    CWnd m_other; // a control without reflected handlers
};

TEST_F(WndRouting, CommandsAndNotificationsTable) {
    struct SCase {
        const char* name;
        BOOL bChildKeepsClick;
        CWnd* pTarget;
        UINT message;
        UINT nID;
        int nCode;
        CWnd* pFrom;
        const char* expected;
    };
    CWnd* const pParent = &m_parent;
    CWnd* const pChild = &m_child;
    CWnd* const pOther = &m_other;
    const SCase cases[] = {
        {"click reflected, then the parent", FALSE, pParent, WM_COMMAND, IDC_CHILD, BN_CLICKED,
         pChild, "child-click,parent-click,"},
        {"click kept by the control", TRUE, pParent, WM_COMMAND, IDC_CHILD, BN_CLICKED, pChild,
         "child-click,"},
        {"click of a control without reflection", FALSE, pParent, WM_COMMAND, IDC_OTHER, BN_CLICKED,
         pOther, "parent-other,"},
        {"notification kept by the control", FALSE, pParent, WM_NOTIFY, IDC_CHILD,
         static_cast<int>(NM_CLICK), pChild, "child-nmclick,"},
        {"menu command", FALSE, pParent, WM_COMMAND, ID_TEST_COMMAND, 0, nullptr, "parent-cmd,"},
        {"accelerator command", FALSE, pParent, WM_COMMAND, ID_TEST_COMMAND, 1, nullptr,
         "parent-cmd,"},
        {"menu command at a child goes to its owner", FALSE, pChild, WM_COMMAND, ID_TEST_COMMAND, 0,
         nullptr, "parent-cmd,"},
        {"a disabled command does not run", FALSE, pParent, WM_COMMAND, ID_TEST_DISABLED, 0,
         nullptr, "parent-update,"},
        {"command range", FALSE, pParent, WM_COMMAND, ID_TEST_RANGE_FIRST + 3, 0, nullptr,
         "parent-range-3,"},
        {"past the range", FALSE, pParent, WM_COMMAND, ID_TEST_RANGE_LAST + 1, 0, nullptr, ""},
        {"control ids are not passed to owners", FALSE, pChild, WM_COMMAND, IDC_OTHER, BN_CLICKED,
         pOther, ""},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.name);
        m_child.m_bKeepClick = c.bChildKeepsClick;
        g_route.clear();
        HWND hWndFrom = c.pFrom != nullptr ? c.pFrom->m_hWnd : nullptr;
        if (c.message == WM_COMMAND) {
            c.pTarget->SendMessage(WM_COMMAND, MAKEWPARAM(c.nID, c.nCode),
                                   reinterpret_cast<LPARAM>(hWndFrom));
        } else {
            NMHDR nmhdr = {hWndFrom, c.nID, static_cast<UINT>(c.nCode)};
            LRESULT lResult =
                c.pTarget->SendMessage(WM_NOTIFY, c.nID, reinterpret_cast<LPARAM>(&nmhdr));
            EXPECT_EQ(5, lResult);
        }
        EXPECT_EQ(c.expected, g_route);
    }
}

TEST_F(WndRouting, ColoursAskTheControlFirst) {
    HDC hDC = ::GetDC(m_parent.m_hWnd);
    HBRUSH hbrChild = static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH));
    m_child.m_hbrReflect = hbrChild;
    g_route.clear();
    EXPECT_EQ(reinterpret_cast<LRESULT>(hbrChild),
              m_parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC),
                                   reinterpret_cast<LPARAM>(m_child.m_hWnd)));
    EXPECT_EQ("child-color,", g_route);

    // A control that answers no brush leaves the colours to the default.
    m_child.m_hbrReflect = nullptr;
    g_route.clear();
    LRESULT lDefault =
        ::DefWindowProcA(m_parent.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC),
                         reinterpret_cast<LPARAM>(m_child.m_hWnd));
    EXPECT_EQ(lDefault, m_parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC),
                                             reinterpret_cast<LPARAM>(m_child.m_hWnd)));
    EXPECT_EQ("child-color,", g_route);
    ::ReleaseDC(m_parent.m_hWnd, hDC);
}

TEST_F(WndRouting, RegisteredMessage) {
    ASSERT_NE(0u, g_nRegisteredMessage);
    EXPECT_EQ(42, m_parent.SendMessage(g_nRegisteredMessage, 21));
    // Other windows know nothing of it.
    EXPECT_EQ(0, m_other.SendMessage(g_nRegisteredMessage, 21));
}

// ---------------------------------------------------------------------------
// Command-UI updates of a window's controls.

const UINT IDC_UPDATED_OFF = 201;
const UINT IDC_NO_HANDLER = 202;
const UINT IDC_AUTO_CHECK = 203;
const UINT IDC_COMMAND_ONLY = 204;
const UINT IDC_CHECKED = 205;

class CUpdateTarget : public CCmdTarget {
protected:
    afx_msg void OnUpdateOff(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    afx_msg void OnUpdateChecked(CCmdUI* pCmdUI) {
        pCmdUI->SetCheck(1);
        pCmdUI->SetText("checked");
    }
    afx_msg void OnCommandOnly() {}
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CUpdateTarget, CCmdTarget)
    ON_UPDATE_COMMAND_UI(IDC_UPDATED_OFF, &CUpdateTarget::OnUpdateOff)
    ON_UPDATE_COMMAND_UI(IDC_CHECKED, &CUpdateTarget::OnUpdateChecked)
    ON_COMMAND(IDC_COMMAND_ONLY, &CUpdateTarget::OnCommandOnly)
END_MESSAGE_MAP()
// clang-format on

TEST(WndUpdateControls, HandlersAndDefaultsDecide) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "", WS_POPUP, kRect, nullptr, 0));
    struct SControl {
        UINT nID;
        DWORD dwButtonStyle;
        BOOL bEnabledWithDisable;
        BOOL bEnabledWithoutDisable;
    };
    const SControl controls[] = {
        {IDC_UPDATED_OFF, BS_PUSHBUTTON, FALSE, FALSE},
        {IDC_NO_HANDLER, BS_PUSHBUTTON, FALSE, TRUE},
        {IDC_AUTO_CHECK, BS_AUTOCHECKBOX, TRUE, TRUE},
        {IDC_COMMAND_ONLY, BS_PUSHBUTTON, TRUE, TRUE},
        // An update handler that never calls Enable leaves the enable to the rule.
        {IDC_CHECKED, BS_CHECKBOX, FALSE, TRUE},
    };
    for (const SControl& c : controls) {
        ASSERT_NE(nullptr, ::CreateWindowExA(0, "BUTTON", "b", WS_CHILD | c.dwButtonStyle, 0, 0, 10,
                                             10, parent.m_hWnd,
                                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(c.nID)),
                                             nullptr, nullptr));
    }
    CUpdateTarget target;
    for (BOOL bDisable : {TRUE, FALSE}) {
        for (const SControl& c : controls)
            ::EnableWindow(::GetDlgItem(parent.m_hWnd, c.nID), TRUE);
        parent.UpdateDialogControls(&target, bDisable);
        for (const SControl& c : controls) {
            SCOPED_TRACE(testing::Message() << "control " << c.nID << " disable " << bDisable);
            EXPECT_EQ(bDisable ? c.bEnabledWithDisable : c.bEnabledWithoutDisable,
                      ::IsWindowEnabled(::GetDlgItem(parent.m_hWnd, c.nID)));
        }
    }
    EXPECT_EQ(static_cast<UINT>(BST_CHECKED), parent.IsDlgButtonChecked(IDC_CHECKED));
    CString strText;
    parent.GetDlgItemText(IDC_CHECKED, strText);
    EXPECT_STREQ("checked", strText);
    parent.DestroyWindow();
}

// ---------------------------------------------------------------------------
// Owner drawing: the menu or control that owns the item draws it.

std::string g_drawn;

class CDrawingMenu : public CMenu {
public:
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override {
        g_drawn += "menu-measure-" + std::to_string(lpMeasureItemStruct->itemID) + ",";
        lpMeasureItemStruct->itemHeight = 17;
    }
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override {
        g_drawn += "menu-draw-" + std::to_string(lpDrawItemStruct->itemID) + ",";
    }
};

class CDrawingControl : public CWnd {
protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
        switch (message) {
        case WM_DRAWITEM:
            g_drawn += "control-draw,";
            return TRUE;
        case WM_MEASUREITEM:
            g_drawn += "control-measure,";
            return TRUE;
        case WM_COMPAREITEM:
            g_drawn += "control-compare,";
            *pResult = -1;
            return TRUE;
        case WM_DELETEITEM:
            g_drawn += "control-delete,";
            return TRUE;
        }
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    }
};

TEST(WndOwnerDraw, MenusAndControlsDrawTheirOwnItems) {
    CWnd frame;
    ASSERT_TRUE(frame.CreateEx(0, nullptr, "", WS_OVERLAPPED | WS_CAPTION, kRect, nullptr, 0));
    CMenu bar;
    ASSERT_TRUE(bar.CreateMenu());
    CDrawingMenu popup;
    ASSERT_TRUE(popup.CreatePopupMenu());
    ASSERT_TRUE(popup.AppendMenu(MF_OWNERDRAW, 0x8500, nullptr));
    ASSERT_TRUE(bar.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(popup.m_hMenu), "&File"));
    ASSERT_TRUE(frame.SetMenu(&bar));
    CDrawingControl control;
    ASSERT_TRUE(control.Create(nullptr, "", WS_CHILD, CRect(0, 0, 10, 10), &frame, 600));

    g_drawn.clear();
    MEASUREITEMSTRUCT mis = {ODT_MENU, 0, 0x8500, 0, 0, 0};
    EXPECT_EQ(TRUE, frame.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)));
    EXPECT_EQ(17u, mis.itemHeight);
    DRAWITEMSTRUCT dis = {
        ODT_MENU,     0, 0x8500, ODA_DRAWENTIRE, 0, reinterpret_cast<HWND>(popup.m_hMenu), nullptr,
        {0, 0, 0, 0}, 0};
    frame.SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
    MEASUREITEMSTRUCT misControl = {ODT_BUTTON, 600, 0, 0, 0, 0};
    frame.SendMessage(WM_MEASUREITEM, 600, reinterpret_cast<LPARAM>(&misControl));
    DRAWITEMSTRUCT disControl = {ODT_BUTTON, 600,          0, ODA_DRAWENTIRE, 0, control.m_hWnd,
                                 nullptr,    {0, 0, 0, 0}, 0};
    frame.SendMessage(WM_DRAWITEM, 600, reinterpret_cast<LPARAM>(&disControl));
    COMPAREITEMSTRUCT cis = {ODT_LISTBOX, 600, control.m_hWnd, 0, 0, 1, 0, 0};
    EXPECT_EQ(-1, frame.SendMessage(WM_COMPAREITEM, 600, reinterpret_cast<LPARAM>(&cis)));
    DELETEITEMSTRUCT deis = {ODT_LISTBOX, 600, 0, control.m_hWnd, 0};
    frame.SendMessage(WM_DELETEITEM, 600, reinterpret_cast<LPARAM>(&deis));
    EXPECT_EQ("menu-measure-34048,menu-draw-34048,control-measure,control-draw,"
              "control-compare,control-delete,",
              g_drawn);

    // A menu without a permanent wrapper gets the default processing only.
    HMENU hPopup = popup.Detach();
    g_drawn.clear();
    frame.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    EXPECT_EQ("", g_drawn);
    popup.Attach(hPopup);
    frame.SetMenu(nullptr);
    bar.DestroyMenu(); // the popup goes with it
    popup.Detach();
    frame.DestroyWindow();
}

// ---------------------------------------------------------------------------
// Bar layout.

const UINT IDW_BAR_TOP = 0xE800;
const UINT IDW_BAR_LEFT = 0xE801;
const UINT IDW_PANE = 0xE900;

// Takes a strip of one side of the free space, as a docked bar does.
class CStripBar : public CWnd {
public:
    CStripBar(bool bTop, int nThickness) : m_bTop(bTop), m_nThickness(nThickness) {}

protected:
    afx_msg LRESULT OnSizeParent(WPARAM, LPARAM lParam) {
        AFX_SIZEPARENTPARAMS* pLayout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
        RECT rc = pLayout->rect;
        if (m_bTop) {
            rc.bottom = rc.top + m_nThickness;
            pLayout->rect.top += m_nThickness;
            pLayout->sizeTotal.cy += m_nThickness;
        } else {
            rc.right = rc.left + m_nThickness;
            pLayout->rect.left += m_nThickness;
            pLayout->sizeTotal.cx += m_nThickness;
        }
        AfxRepositionWindow(pLayout, m_hWnd, &rc);
        return 0;
    }
    bool m_bTop;
    int m_nThickness;
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CStripBar, CWnd)
    ON_MESSAGE(WM_SIZEPARENT, &CStripBar::OnSizeParent)
END_MESSAGE_MAP()
// clang-format on

TEST(WndLayout, RepositionBarsGivesTheRestToThePane) {
    CWnd frame;
    ASSERT_TRUE(frame.CreateEx(0, nullptr, "", WS_POPUP, CRect(0, 0, 300, 200), nullptr, 0));
    CStripBar top(true, 20), left(false, 30);
    ASSERT_TRUE(top.Create(nullptr, "", WS_CHILD, CRect(0, 0, 1, 1), &frame, IDW_BAR_TOP));
    ASSERT_TRUE(left.Create(nullptr, "", WS_CHILD, CRect(0, 0, 1, 1), &frame, IDW_BAR_LEFT));
    CWnd pane;
    ASSERT_TRUE(pane.Create(nullptr, "", WS_CHILD, CRect(0, 0, 1, 1), &frame, IDW_PANE));

    CRect rcQuery;
    frame.RepositionBars(0, 0xFFFF, IDW_PANE, reposQuery, &rcQuery);
    EXPECT_EQ(CRect(30, 20, 300, 200), rcQuery);
    CRect rcPane;
    pane.GetWindowRect(&rcPane);
    EXPECT_EQ(CRect(0, 0, 1, 1), rcPane); // a query moves nothing

    frame.RepositionBars(0, 0xFFFF, IDW_PANE);
    pane.GetWindowRect(&rcPane);
    frame.ScreenToClient(&rcPane);
    EXPECT_EQ(CRect(30, 20, 300, 200), rcPane);
    CRect rcTop;
    top.GetWindowRect(&rcTop);
    frame.ScreenToClient(&rcTop);
    EXPECT_EQ(CRect(0, 0, 300, 20), rcTop);
    frame.DestroyWindow();
}

// ---------------------------------------------------------------------------
// Tooltips: the default hit test and the thread's tooltip control.

TEST(WndToolTips, HitTestAndToolRegistration) {
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "", WS_POPUP, CRect(0, 0, 200, 100), nullptr, 0));
    HWND hWndButton = ::CreateWindowExA(0, "BUTTON", "b", WS_CHILD | WS_VISIBLE, 10, 10, 50, 20,
                                        wnd.m_hWnd, reinterpret_cast<HMENU>(300), nullptr, nullptr);
    ASSERT_NE(nullptr, hWndButton);

    TOOLINFO ti = {};
    ti.cbSize = sizeof(ti);
    EXPECT_EQ(300, wnd.OnToolHitTest(CPoint(20, 15), &ti));
    EXPECT_EQ(wnd.m_hWnd, ti.hwnd);
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(hWndButton), ti.uId);
    EXPECT_TRUE(ti.uFlags & TTF_IDISHWND);
    EXPECT_EQ(-1, wnd.OnToolHitTest(CPoint(150, 80), nullptr));

    // Mouse moves relayed through PreTranslateMessage register the tool under
    // the mouse with the thread's tooltip control, and remove it off the tool.
    wnd.EnableToolTips(TRUE);
    MSG msg = {hWndButton, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5), 0, {0, 0}};
    POINT pt = {15, 15};
    ::ClientToScreen(wnd.m_hWnd, &pt);
    msg.pt = pt;
    EXPECT_FALSE(CWnd::WalkPreTranslateTree(wnd.m_hWnd, &msg));
    HWND hWndTip = ::FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr);
    ASSERT_NE(nullptr, hWndTip);
    EXPECT_EQ(1, ::SendMessageA(hWndTip, TTM_GETTOOLCOUNT, 0, 0));

    msg.hwnd = wnd.m_hWnd;
    pt = {150, 80};
    ::ClientToScreen(wnd.m_hWnd, &pt);
    msg.pt = pt;
    CWnd::WalkPreTranslateTree(wnd.m_hWnd, &msg);
    EXPECT_EQ(0, ::SendMessageA(hWndTip, TTM_GETTOOLCOUNT, 0, 0));
    wnd.DestroyWindow();
}

} // namespace
