// Tests of CAboutDlg, "About Zel Moxel": the version line from the program's
// version resource (and empty for a file without one), the eight links with
// their targets and colours, the white controls, and Enter and Esc leaving
// the box open.
#include "native/gtest.h"

#include "AboutDlg.h"
#include "ListDialogsRes.h"
#include "resource.h"

#include "tests/app/SmallDialogsTestKit.h"
#include "tests/support/AnsweringApp.h"
#include "tests/support/Canvas.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UiScript.h"

#include <string>

namespace {

CAnsweringApp theApp;

using smalldlg::CHostWnd;
using smalldlg::WindowText;

const int kLinkIds[] = {IDC_ABOUT_LINK1, IDC_ABOUT_LINK2, IDC_ABOUT_LINK3, IDC_ABOUT_LINK4,
                        IDC_ABOUT_LINK5, IDC_ABOUT_LINK6, IDC_ABOUT_LINK7, IDC_ABOUT_LINK8};

// The box with the file whose version it shows chosen by the test; an empty
// path keeps the program's own.
class CTestAboutDlg : public CAboutDlg {
public:
    std::string m_strProgram;

protected:
    CString GetProgramPath() const override {
        return m_strProgram.empty() ? CAboutDlg::GetProgramPath() : CString(m_strProgram.c_str());
    }
};

class AboutDlgTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_host.Make("About host", CRect(20, 20, 700, 600))); }

    void Open(CTestAboutDlg& dlg) {
        ASSERT_TRUE(dlg.Create(IDD_ABOUTBOX, &m_host));
        dlg.ShowWindow(SW_SHOW);
    }
    static CXHyperLink* Link(const CAboutDlg& dlg, int nID) {
        return dynamic_cast<CXHyperLink*>(CWnd::FromHandlePermanent(::GetDlgItem(dlg.m_hWnd, nID)));
    }

    CHostWnd m_host;
};

TEST_F(AboutDlgTest, VersionLineComesFromTheProgramsVersionResource) {
    CTestAboutDlg dlg;
    Open(dlg);
    EXPECT_EQ(WindowText(dlg.m_hWnd), "About Zel Moxel");
    EXPECT_EQ(WindowText(::GetDlgItem(dlg.m_hWnd, IDC_ABOUT_VERSION)),
              std::string("Version: ") + ZM_VERSION_TEXT);
    EXPECT_STREQ(dlg.GetVersionText(), "Version: " ZM_VERSION_TEXT);
}

TEST_F(AboutDlgTest, FileWithoutVersionShowsAnEmptyLine) {
    CTempFolder folder;
    const std::string strPlain = folder.File("plain.exe");
    ASSERT_TRUE(WriteWholeFile(strPlain, "not a program"));
    for (const std::string& strPath : {strPlain, folder.File("missing.exe")}) {
        CTestAboutDlg dlg;
        dlg.m_strProgram = strPath;
        Open(dlg);
        EXPECT_EQ(WindowText(::GetDlgItem(dlg.m_hWnd, IDC_ABOUT_VERSION)), "") << strPath;
        EXPECT_STREQ(dlg.GetVersionText(), "") << strPath;
    }
}

// The first five links go to the targets of the string table, the others to
// their own texts; all of them on white.
TEST_F(AboutDlgTest, LinksTakeTheirTargets) {
    CTestAboutDlg dlg;
    Open(dlg);
    for (int i = 0; i < 8; ++i) {
        CXHyperLink* pLink = Link(dlg, kLinkIds[i]);
        ASSERT_NE(pLink, nullptr) << kLinkIds[i];
        CString strExpected;
        if (i < 5)
            ASSERT_TRUE(strExpected.LoadString(IDS_ABOUT_LINK1 + i));
        else
            pLink->GetWindowText(strExpected);
        EXPECT_FALSE(strExpected.IsEmpty()) << kLinkIds[i];
        EXPECT_STREQ(pLink->GetURL(), strExpected) << kLinkIds[i];
        EXPECT_EQ(pLink->GetBackgroundColor(), RGB(255, 255, 255)) << kLinkIds[i];
    }
}

// Links are drawn in the link blue on a transparent background; every
// control gets the white brush.
TEST_F(AboutDlgTest, ControlsAreWhiteAndLinksBlue) {
    CTestAboutDlg dlg;
    Open(dlg);
    HDC hDC = ::CreateCompatibleDC(nullptr);
    const struct {
        HWND hWnd;
        bool bLink;
    } cases[] = {
        {::GetDlgItem(dlg.m_hWnd, IDC_ABOUT_LINK3), true},
        {::GetDlgItem(dlg.m_hWnd, IDC_ABOUT_LINK8), true},
        {::GetDlgItem(dlg.m_hWnd, IDC_ABOUT_VERSION), false},
        {::GetDlgItem(dlg.m_hWnd, IDOK), false},
    };
    for (const auto& c : cases) {
        ::SetTextColor(hDC, RGB(1, 2, 3));
        ::SetBkMode(hDC, OPAQUE);
        const HBRUSH hBrush = reinterpret_cast<HBRUSH>(
            ::SendMessageA(dlg.m_hWnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC),
                           reinterpret_cast<LPARAM>(c.hWnd)));
        LOGBRUSH brush = {};
        ASSERT_EQ(::GetObjectA(hBrush, sizeof brush, &brush), static_cast<int>(sizeof brush));
        EXPECT_EQ(brush.lbStyle, static_cast<UINT>(BS_SOLID));
        EXPECT_EQ(brush.lbColor, RGB(255, 255, 255));
        EXPECT_EQ(::GetTextColor(hDC), c.bLink ? RGB(0, 0, 238) : RGB(1, 2, 3));
        EXPECT_EQ(::GetBkMode(hDC), c.bLink ? TRANSPARENT : OPAQUE);
    }
    ::DeleteDC(hDC);
}

// Enter and Esc leave the box open; Close ends it.
TEST_F(AboutDlgTest, EnterAndEscKeepItOpen) {
    CTestAboutDlg dlg;
    bool bOpenAfterKeys = false;
    HWND hWndDlg = nullptr;
    int nTicks = 0;
    CUiScript script([] { ::PostMessageA(FindThreadDialog(), WM_CLOSE, 0, 0); },
                     {
                         [&] {
                             hWndDlg = FindThreadDialog(m_host.m_hWnd);
                             if (hWndDlg == nullptr)
                                 return false;
                             const HWND hWndClose = ::GetDlgItem(hWndDlg, IDOK);
                             ::SetFocus(hWndClose);
                             ::PostMessageA(hWndClose, WM_KEYDOWN, VK_RETURN, 1);
                             ::PostMessageA(hWndClose, WM_KEYDOWN, VK_ESCAPE, 1);
                             return true;
                         },
                         [&] {
                             if (++nTicks < 5)
                                 return false;
                             bOpenAfterKeys = ::IsWindowVisible(hWndDlg) != FALSE;
                             ::PostMessageA(::GetDlgItem(hWndDlg, IDOK), BM_CLICK, 0, 0);
                             return true;
                         },
                     });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(bOpenAfterKeys);
}

TEST_F(AboutDlgTest, ScreenShowsTheBox) {
    CTestAboutDlg dlg;
    Open(dlg);
    Settle();
    CRect rect;
    dlg.GetWindowRect(&rect);
    rect.InflateRect(0, 0, 4, 4);
    EXPECT_TRUE(SaveScreenPng(rect, "AboutDlg.png"));
}

} // namespace
