#include "native/gtest.h"

#include "toolkit/OXSkinnedApp.h"
#include "toolkit/OXSkins.h"
#include "framework/Wnd.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

COXSkinnedApp theApp;

std::string CurrentSkinName() {
    COXSkin* pSkin = theApp.GetCurrentSkin();
    return pSkin ? std::string(static_cast<LPCTSTR>(pSkin->GetName())) : std::string("(none)");
}

// What the constructor selected, before any test changed it.
const std::string g_initialSkin = CurrentSkinName();

struct LoggedMessage {
    HWND hWnd;
    UINT nMsg;
    LPARAM lParam;
};
std::vector<LoggedMessage> g_log;

LRESULT CALLBACK LoggingWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg == WM_SIZE || nMsg == WM_NCCALCSIZE || nMsg == WM_PAINT)
        g_log.push_back({hWnd, nMsg, lParam});
    return DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

const char kLoggingClass[] = "ZMSkinnedAppTestWnd";

void PumpPending() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The windows that got nMsg, in the order they got it.
std::vector<HWND> Receivers(UINT nMsg) {
    std::vector<HWND> windows;
    for (const LoggedMessage& m : g_log)
        if (m.nMsg == nMsg)
            windows.push_back(m.hWnd);
    return windows;
}

LPARAM ClientSizeParam(HWND hWnd) {
    RECT rect;
    GetClientRect(hWnd, &rect);
    return MAKELPARAM(rect.right, rect.bottom);
}

TEST(OXSkinnedApp, ItStartsWithOfficeXP) {
    EXPECT_EQ("Office XP", g_initialSkin);
}

TEST(OXSkinnedApp, SetCurrentSkinTakesOnlyTheExactNameAndClearsTheSkinOtherwise) {
    struct Case {
        const char* name;
        BOOL bFound;
        int type;
    } cases[] = {
        {"Office 2003", TRUE, OX_SKIN_XP},
        {"office 2003", FALSE, 0},
        {"Classic", TRUE, OX_SKIN_CLASSIC},
        {"OFFICE XP", FALSE, 0},
        {"Office XP ", FALSE, 0},
        {"", FALSE, 0},
        {nullptr, FALSE, 0},
        {"Office XP", TRUE, OX_SKIN_XP},
    };
    for (const Case& c : cases) {
        std::string name = c.name ? c.name : "(null)";
        EXPECT_EQ(c.bFound, theApp.SetCurrentSkin(c.name)) << name;
        if (c.bFound) {
            ASSERT_NE(nullptr, theApp.GetCurrentSkin()) << name;
            EXPECT_EQ(name, CurrentSkinName());
            EXPECT_EQ(c.type, theApp.GetCurrentSkin()->GetSkinType());
        } else {
            EXPECT_EQ(nullptr, theApp.GetCurrentSkin()) << name;
        }
    }
}

// A small frame with two children, the first with a child of its own.
class SkinnedFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = LoggingWndProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kLoggingClass;
        RegisterClassA(&wc);
        m_hMain = CreateWindowA(kLoggingClass, "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20,
                                300, 200, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, m_hMain);
        m_hChild1 = MakeChild(m_hMain, 0);
        m_hGrandchild = MakeChild(m_hChild1, 5);
        m_hChild2 = MakeChild(m_hMain, 120);
        ASSERT_TRUE(m_wndMain.Attach(m_hMain));
        PumpPending();
        g_log.clear();
    }
    void TearDown() override {
        theApp.m_pMainWnd = nullptr;
        m_wndMain.Detach();
        DestroyWindow(m_hMain);
        g_log.clear();
    }
    static HWND MakeChild(HWND hParent, int x) {
        return CreateWindowA(kLoggingClass, "", WS_CHILD | WS_VISIBLE | WS_BORDER, x, 5, 100, 60,
                             hParent, nullptr, nullptr, nullptr);
    }

    HWND m_hMain = nullptr, m_hChild1 = nullptr, m_hGrandchild = nullptr, m_hChild2 = nullptr;
    CWnd m_wndMain;
};

TEST_F(SkinnedFrameTest, BeforeTheMainWindowExistsSelectingOnlyRecordsTheSkin) {
    ASSERT_EQ(nullptr, theApp.m_pMainWnd);
    EXPECT_TRUE(theApp.SetCurrentSkin("Office 2003"));
    PumpPending();
    EXPECT_EQ("Office 2003", CurrentSkinName());
    EXPECT_TRUE(g_log.empty());
}

TEST_F(SkinnedFrameTest, SelectingASkinReLaysOutAndRedrawsTheMainWindowDepthFirst) {
    theApp.m_pMainWnd = &m_wndMain;
    EXPECT_TRUE(theApp.SetCurrentSkin("Office 2003"));
    const std::vector<HWND> depthFirst = {m_hMain, m_hChild1, m_hGrandchild, m_hChild2};
    EXPECT_EQ(depthFirst, Receivers(WM_SIZE));
    EXPECT_EQ(depthFirst, Receivers(WM_NCCALCSIZE));
    for (const LoggedMessage& m : g_log) {
        if (m.nMsg == WM_SIZE) {
            EXPECT_EQ(ClientSizeParam(m.hWnd), m.lParam);
        }
    }
    std::vector<HWND> painted = Receivers(WM_PAINT);
    for (HWND hWnd : depthFirst)
        EXPECT_NE(painted.end(), std::find(painted.begin(), painted.end(), hWnd));
}

TEST_F(SkinnedFrameTest, AMaximisedMainWindowGetsNoSizeMessageButIsStillRedrawn) {
    ShowWindow(m_hMain, SW_MAXIMIZE);
    PumpPending();
    ASSERT_TRUE(GetWindowLongA(m_hMain, GWL_STYLE) & WS_MAXIMIZE);
    g_log.clear();
    theApp.m_pMainWnd = &m_wndMain;
    EXPECT_TRUE(theApp.SetCurrentSkin("Classic"));
    EXPECT_EQ((std::vector<HWND>{m_hChild1, m_hGrandchild, m_hChild2}), Receivers(WM_SIZE));
    EXPECT_EQ((std::vector<HWND>{m_hMain, m_hChild1, m_hGrandchild, m_hChild2}),
              Receivers(WM_NCCALCSIZE));
    std::vector<HWND> painted = Receivers(WM_PAINT);
    EXPECT_NE(painted.end(), std::find(painted.begin(), painted.end(), m_hMain));
}

TEST_F(SkinnedFrameTest, AnUnknownNameClearsTheSkinAndRedrawsNothing) {
    theApp.m_pMainWnd = &m_wndMain;
    EXPECT_FALSE(theApp.SetCurrentSkin("office xp"));
    PumpPending();
    EXPECT_EQ(nullptr, theApp.GetCurrentSkin());
    EXPECT_TRUE(g_log.empty());
    // A known name afterwards selects and redraws again.
    EXPECT_TRUE(theApp.SetCurrentSkin("Office XP"));
    EXPECT_EQ(4u, Receivers(WM_SIZE).size());
}

} // namespace
