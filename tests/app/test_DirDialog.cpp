// Tests of CDirDialog, the folder picker over the shell's folder browser. The
// browser is modal and needs a user: the tests drive it from a script that
// runs inside its loop (reading what it shows, pressing its buttons), and
// call the browser's callback directly with a window that keeps what it is
// sent.
#include "native/gtest.h"

#include "DirDialog.h"

#include "tests/app/SmallDialogsTestKit.h"
#include "tests/support/AnsweringApp.h"
#include "tests/support/UiScript.h"

#include "framework/Ole.h"

#include <shlobj.h>

#include <string>
#include <vector>

namespace {

CAnsweringApp theApp;

using smalldlg::FindChildWithText;

// Script ticks (10 ms each, longer on a busy machine) that the browser's
// choice must hold before OK.
const int kSteadyTicks = 30;
// Script ticks after which a selection not reached is asked for again.
const int kReselectTicks = 100;

// A window that keeps the messages of the browser's callback.
class CRecordingWnd : public CWnd {
public:
    struct SMessage {
        UINT message;
        WPARAM wParam;
        std::string strPath;
    };
    std::vector<SMessage> m_messages;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message >= WM_USER && message < WM_USER + 0x100) {
            m_messages.push_back(
                {message, wParam, lParam != 0 ? reinterpret_cast<const char*>(lParam) : ""});
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class DirDialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(AfxOleInit()); }

    // Runs DoBrowse while a script does what inBrowser says with the
    // browser's window, once it is there and shows pszSelected (the last
    // name of m_strInitDir) as its choice, when given; the script cancels a
    // browser that it never saw finish.
    int BrowseWith(CDirDialog& dlg, const std::function<void(HWND)>& inBrowser,
                   const char* pszSelected = nullptr) {
        HWND hWndBrowser = nullptr;
        int nSteadyTicks = 0, nWaitTicks = 0;
        CUiScript script(
            [&] {
                if (hWndBrowser == nullptr)
                    return;
                HWND hWndEdit = ::FindWindowExA(hWndBrowser, nullptr, "Edit", nullptr);
                ADD_FAILURE() << "the browser shows \"" << smalldlg::SelectedTreeText(hWndBrowser)
                              << "\" in its tree and \"" << smalldlg::WindowText(hWndEdit)
                              << "\" in its edit box";
                ::PostMessageA(hWndBrowser, WM_COMMAND, IDCANCEL, 0);
            },
            {[&] { return (hWndBrowser = FindThreadDialog()) != nullptr; },
             // Wine's browser fills its tree in the background: on a busy
             // machine the selection that the callback asks for at the start
             // may stop at an ancestor, and moves on its way for a while. The
             // script asks again (as the callback did) after about a second,
             // and waits until the choice holds still.
             [&] {
                 if (pszSelected == nullptr)
                     return true;
                 if (smalldlg::BrowserShows(hWndBrowser, pszSelected))
                     return ++nSteadyTicks >= kSteadyTicks;
                 nSteadyTicks = 0;
                 if (++nWaitTicks % kReselectTicks == 0)
                     ::SendMessageA(hWndBrowser, BFFM_SETSELECTIONA, TRUE,
                                    reinterpret_cast<LPARAM>(dlg.m_strInitDir.GetString()));
                 return false;
             },
             [&] {
                 inBrowser(hWndBrowser);
                 return true;
             }});
        const int nResult = dlg.DoBrowse();
        EXPECT_TRUE(script.Finished());
        EXPECT_FALSE(script.Stalled());
        return nResult;
    }
};

TEST_F(DirDialogTest, TheTitleAboveTheTreeIsOpenWhenNoneIsSet) {
    struct Case {
        const char* pszTitle;
        const char* pszShown;
    } const cases[] = {
        {"", "Open"},
        {"Select directory to add to the recording list.",
         "Select directory to add to the recording list."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszShown);
        CDirDialog dlg;
        dlg.m_strTitle = c.pszTitle;
        bool bShown = false;
        const int nResult = BrowseWith(dlg, [&](HWND hWndBrowser) {
            bShown = FindChildWithText(hWndBrowser, c.pszShown) != nullptr;
            ::PostMessageA(hWndBrowser, WM_COMMAND, IDCANCEL, 0);
        });
        EXPECT_TRUE(bShown);
        EXPECT_EQ(nResult, 0);
        EXPECT_EQ(std::string(dlg.m_strSelDir), "");
    }
}

// The folder that the callback selects at the start is what OK takes.
TEST_F(DirDialogTest, TheInitialSelectionIsChosenWithOk) {
    const std::string strFolder = smalldlg::QuietFolder("Calls of Monday");
    CDirDialog dlg;
    dlg.m_strInitDir = strFolder.c_str();
    dlg.m_nImage = -7;
    const int nResult = BrowseWith(
        dlg, [](HWND hWndBrowser) { ::PostMessageA(hWndBrowser, WM_COMMAND, IDOK, 0); },
        "Calls of Monday");
    EXPECT_EQ(nResult, 1);
    EXPECT_EQ(std::string(dlg.m_strSelDir), strFolder);
    EXPECT_GE(dlg.m_nImage, 0);
}

// A root the shell cannot parse ends the browse before anything is shown.
TEST_F(DirDialogTest, AnUnparsableRootFailsWithoutABrowser) {
    CDirDialog dlg;
    dlg.m_strRoot = "C:\\ZelMoxel folder browser tests\\no such folder\\below";
    bool bBrowserSeen = false;
    CUiScript script(
        [&] {
            if (HWND hWnd = FindThreadDialog()) {
                bBrowserSeen = true;
                ::PostMessageA(hWnd, WM_COMMAND, IDCANCEL, 0);
            }
        },
        {[&] { return FindThreadDialog() != nullptr; }});
    EXPECT_EQ(dlg.DoBrowse(), 0);
    EXPECT_FALSE(bBrowserSeen);
    EXPECT_FALSE(script.Finished());
}

TEST_F(DirDialogTest, TheCallbackSelectsTheInitialFolderWhenTheBrowserStarts) {
    CRecordingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "callback", WS_POPUP, CRect(0, 0, 10, 10),
                             nullptr, 0));
    struct Case {
        const char* pszCase;
        const char* pszInitDir;
        UINT uMsg;
        size_t nSent;
    } const cases[] = {
        {"start with a folder", "C:\\Calls", BFFM_INITIALIZED, 1},
        {"start without a folder", "", BFFM_INITIALIZED, 0},
        {"a selection change", "C:\\Calls", BFFM_SELCHANGED, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszCase);
        wnd.m_messages.clear();
        CDirDialog dlg;
        dlg.m_strInitDir = c.pszInitDir;
        EXPECT_EQ(
            CDirDialog::BrowseCallbackProc(wnd.m_hWnd, c.uMsg, 0, reinterpret_cast<LPARAM>(&dlg)),
            0);
        ASSERT_EQ(wnd.m_messages.size(), c.nSent);
        if (c.nSent == 0)
            continue;
        EXPECT_EQ(wnd.m_messages[0].message, static_cast<UINT>(BFFM_SETSELECTIONA));
        EXPECT_EQ(wnd.m_messages[0].wParam, static_cast<WPARAM>(TRUE));
        EXPECT_EQ(wnd.m_messages[0].strPath, c.pszInitDir);
    }
}

// Rooted at a folder, the browser offers what lies below it.
TEST_F(DirDialogTest, ARootedBrowserChoosesBelowItsRoot) {
    const std::string strRoot = smalldlg::QuietFolder("Rooted");
    const std::string strSub = smalldlg::QuietFolder("Rooted\\Sub");
    CDirDialog dlg;
    dlg.m_strRoot = strRoot.c_str();
    dlg.m_strInitDir = strSub.c_str();
    const int nResult = BrowseWith(
        dlg, [](HWND hWndBrowser) { ::PostMessageA(hWndBrowser, WM_COMMAND, IDOK, 0); }, "Sub");
    EXPECT_EQ(nResult, 1);
    EXPECT_EQ(std::string(dlg.m_strSelDir), strSub);
}

} // namespace
