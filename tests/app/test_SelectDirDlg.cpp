// Tests of CSelectDirDlg, the dialog "Select Directory": its controls on
// white, and the browse that fills the path box, during which OK, Cancel and
// a second browse do nothing (the folder browser has no owner, so the dialog
// stays usable under it). The dialogs run modally, driven by scripts.
#include "native/gtest.h"

#include "SelectDirDlg.h"
#include "resource.h"

#include "tests/app/SmallDialogsTestKit.h"
#include "tests/support/AnsweringApp.h"
#include "tests/support/Canvas.h"
#include "tests/support/ColorCheck.h"
#include "tests/support/UiScript.h"

#include "framework/Ole.h"

#include <shlobj.h>

#include <string>

namespace {

CAnsweringApp theApp;

using smalldlg::FindChildWithText;
using smalldlg::WindowText;

const char kBrowseTitle[] = "Select directory to add to the recording list.";

BOOL CALLBACK CountDialogProc(HWND hWnd, LPARAM lParam) {
    char szClass[16] = "";
    ::GetClassNameA(hWnd, szClass, sizeof szClass);
    if (std::string(szClass) == "#32770" && ::IsWindowVisible(hWnd))
        ++*reinterpret_cast<int*>(lParam);
    return TRUE;
}

int CountThreadDialogs() {
    int nCount = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountDialogProc, reinterpret_cast<LPARAM>(&nCount));
    return nCount;
}

const char kFolderName[] = "Recordings of the sales department for the whole of November";

class SelectDirDlgTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(AfxOleInit()); }
};

TEST_F(SelectDirDlgTest, TheDialogShowsItsControlsOnWhiteScreen) {
    CSelectDirDlg dlg;
    HWND hWndDlg = nullptr;
    CFilenameEdit* pBox = nullptr;
    CButtonST* pBrowse = nullptr;
    COLORREF crBackground = 0, crGroupInside = 0;
    std::string strCaption;
    CUiScript script(
        [&] { ::PostMessageA(hWndDlg, WM_COMMAND, IDCANCEL, 0); },
        {[&] { return (hWndDlg = FindThreadDialog()) != nullptr; },
         [&] {
             smalldlg::PumpTranslated(300);
             strCaption = WindowText(hWndDlg);
             pBox = dynamic_cast<CFilenameEdit*>(
                 CWnd::FromHandlePermanent(::GetDlgItem(hWndDlg, IDC_SELECTDIR_PATH)));
             pBrowse = dynamic_cast<CButtonST*>(
                 CWnd::FromHandlePermanent(::GetDlgItem(hWndDlg, IDC_SELECTDIR_BROWSE)));
             CRect rcDlg, rcClient;
             ::GetWindowRect(hWndDlg, &rcDlg);
             ::GetClientRect(hWndDlg, &rcClient);
             ::MapWindowPoints(hWndDlg, nullptr, reinterpret_cast<POINT*>(&rcClient), 2);
             CCanvas canvas(rcDlg.Width(), rcDlg.Height());
             CaptureScreen(canvas, rcDlg);
             // A point of the dialog's own area below the group
             // box, and one inside the group box.
             const CPoint ptBelow(rcClient.left + 4 - rcDlg.left, rcClient.bottom - 4 - rcDlg.top);
             crBackground = ::GetPixel(canvas.dc.GetSafeHdc(), ptBelow.x, ptBelow.y);
             CRect rcPath;
             ::GetWindowRect(::GetDlgItem(hWndDlg, IDC_SELECTDIR_PATH), &rcPath);
             crGroupInside = ::GetPixel(canvas.dc.GetSafeHdc(), rcPath.left - 2 - rcDlg.left,
                                        rcPath.bottom + 6 - rcDlg.top);
             rcDlg.InflateRect(0, 0, 6, 6); // with the shadow
             SaveScreenPng(rcDlg, "SelectDirDlg.png");
             ::PostMessageA(hWndDlg, WM_COMMAND, IDCANCEL, 0);
             return true;
         }});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_FALSE(script.Stalled());
    EXPECT_EQ(strCaption, "Select Directory");
    EXPECT_NE(pBox, nullptr);
    ASSERT_NE(pBrowse, nullptr);
    EXPECT_NE(pBrowse->GetIconIn(), nullptr);
    EXPECT_NE(pBrowse->GetIconOut(), nullptr);
    EXPECT_TRUE(pBrowse->IsTransparent());
    EXPECT_EQ(Hex(crBackground), Hex(RGB(255, 255, 255)));
    EXPECT_EQ(Hex(crGroupInside), Hex(RGB(255, 255, 255)));
    EXPECT_EQ(std::string(dlg.GetPath()), "");
}

// While the folder browser is open, OK, Cancel and the browse button do
// nothing; the chosen folder then fills the path box and OK takes it.
TEST_F(SelectDirDlgTest, OkAndCancelWaitForTheFolderBrowser) {
    const std::string strFolder = smalldlg::QuietFolder(kFolderName);
    CSelectDirDlg dlg;
    HWND hWndDlg = nullptr, hWndBrowser = nullptr;
    bool bTitleShown = false, bOpenAfterOk = false, bOpenAfterCancel = false;
    int nDialogsAfterSecondBrowse = 0, nWaitTicks = 0;
    std::string strShown;
    CUiScript script(
        [&] {
            if (hWndBrowser != nullptr && ::IsWindow(hWndBrowser))
                ::PostMessageA(hWndBrowser, WM_COMMAND, IDCANCEL, 0);
            ::PostMessageA(hWndDlg, WM_COMMAND, IDCANCEL, 0);
        },
        {[&] { return (hWndDlg = FindThreadDialog()) != nullptr; },
         [&] {
             ::PostMessageA(hWndDlg, WM_COMMAND, MAKEWPARAM(IDC_SELECTDIR_BROWSE, BN_CLICKED),
                            reinterpret_cast<LPARAM>(::GetDlgItem(hWndDlg, IDC_SELECTDIR_BROWSE)));
             return true;
         },
         [&] { return (hWndBrowser = FindThreadDialog(hWndDlg)) != nullptr; },
         [&] {
             bTitleShown = FindChildWithText(hWndBrowser, kBrowseTitle) != nullptr;
             ::SendMessageA(hWndDlg, WM_COMMAND, IDOK, 0);
             bOpenAfterOk = ::IsWindowVisible(hWndDlg) != FALSE;
             ::SendMessageA(hWndDlg, WM_COMMAND, IDCANCEL, 0);
             bOpenAfterCancel = ::IsWindowVisible(hWndDlg) != FALSE;
             ::SendMessageA(hWndDlg, WM_COMMAND, MAKEWPARAM(IDC_SELECTDIR_BROWSE, BN_CLICKED),
                            reinterpret_cast<LPARAM>(::GetDlgItem(hWndDlg, IDC_SELECTDIR_BROWSE)));
             nDialogsAfterSecondBrowse = CountThreadDialogs();
             ::SendMessageA(hWndBrowser, BFFM_SETSELECTIONA, TRUE,
                            reinterpret_cast<LPARAM>(strFolder.c_str()));
             return true;
         },
         // The browser selects the folder a little later, and now and then
         // not at all while its tree is still filling: asked again until it has.
         [&] {
             if (smalldlg::BrowserShows(hWndBrowser, kFolderName))
                 return true;
             if (++nWaitTicks % 20 == 0)
                 ::SendMessageA(hWndBrowser, BFFM_SETSELECTIONA, TRUE,
                                reinterpret_cast<LPARAM>(strFolder.c_str()));
             return false;
         },
         [&] {
             ::PostMessageA(hWndBrowser, WM_COMMAND, IDOK, 0);
             return true;
         },
         [&] {
             strShown = WindowText(::GetDlgItem(hWndDlg, IDC_SELECTDIR_PATH));
             return !::IsWindow(hWndBrowser) && !strShown.empty();
         },
         [&] {
             smalldlg::PumpTranslated(200);
             CRect rcDlg;
             ::GetWindowRect(hWndDlg, &rcDlg);
             rcDlg.InflateRect(0, 0, 6, 6);
             SaveScreenPng(rcDlg, "SelectDirDlg_chosen.png");
             ::PostMessageA(hWndDlg, WM_COMMAND, IDOK, 0);
             return true;
         }});
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(bTitleShown);
    EXPECT_TRUE(bOpenAfterOk);
    EXPECT_TRUE(bOpenAfterCancel);
    EXPECT_EQ(nDialogsAfterSecondBrowse, 2);
    EXPECT_EQ(std::string(dlg.GetPath()), strFolder);
    // The box shows the path compacted to its width.
    EXPECT_NE(strShown.find("..."), std::string::npos) << strShown;
}

} // namespace
