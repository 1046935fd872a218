// Tests of CDecryptionDlg, "Decryption": the passphrase trimmed on the way in
// and out, the masked edit and the remember box showing the preset values,
// OK taking what was typed, and Cancel leaving the caller's values.
#include "native/gtest.h"

#include "DecryptionDlg.h"
#include "resource.h"

#include "tests/app/SmallDialogsTestKit.h"
#include "tests/support/AnsweringApp.h"
#include "tests/support/Canvas.h"
#include "tests/support/UiScript.h"

#include <string>

namespace {

CAnsweringApp theApp;

using smalldlg::CHostWnd;
using smalldlg::WindowText;

class DecryptionDlgTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_host.Make("Decryption host", CRect(20, 20, 600, 400))); }

    void Open(CDecryptionDlg& dlg) {
        ASSERT_TRUE(dlg.Create(IDD_DECRYPTION, &m_host));
        dlg.ShowWindow(SW_SHOW);
    }
    static HWND Item(const CDecryptionDlg& dlg, int nID) { return ::GetDlgItem(dlg.m_hWnd, nID); }

    CHostWnd m_host;
};

TEST(DecryptionDlgTrim, PassphraseLosesTheBlanksAroundIt) {
    const struct {
        const char* pszGiven;
        const char* pszKept;
    } cases[] = {
        {"  secret  ", "secret"},   {"", ""},         {"     ", ""},
        {"two words", "two words"}, {" a b ", "a b"}, {"x", "x"},
    };
    for (const auto& c : cases) {
        CDecryptionDlg dlg;
        dlg.SetPassphrase(c.pszGiven);
        EXPECT_STREQ(dlg.GetPassphrase(), c.pszKept) << '"' << c.pszGiven << '"';
    }
}

TEST_F(DecryptionDlgTest, ShowsThePresetValuesMasked) {
    for (const BOOL bSave : {TRUE, FALSE}) {
        CDecryptionDlg dlg;
        dlg.SetPassphrase("  moxel  ");
        dlg.SetSavePassphrase(bSave);
        Open(dlg);
        EXPECT_EQ(WindowText(dlg.m_hWnd), "Decryption");
        const HWND hWndEdit = Item(dlg, IDC_PASSPHRASE);
        EXPECT_EQ(WindowText(hWndEdit), "moxel");
        EXPECT_TRUE(::GetWindowLongA(hWndEdit, GWL_STYLE) & ES_PASSWORD);
        EXPECT_NE(::SendMessageA(hWndEdit, EM_GETPASSWORDCHAR, 0, 0), 0);
        EXPECT_EQ(::SendMessageA(Item(dlg, IDC_SAVE_PASSPHRASE), BM_GETCHECK, 0, 0) == BST_CHECKED,
                  bSave != FALSE);
        EXPECT_EQ(WindowText(Item(dlg, IDC_SAVE_PASSPHRASE)), "Remember this Passphrase on my PC.");
    }
}

TEST_F(DecryptionDlgTest, OkTakesWhatWasTypedTrimmed) {
    CDecryptionDlg dlg;
    dlg.SetPassphrase("old");
    Open(dlg);
    ::SetWindowTextA(Item(dlg, IDC_PASSPHRASE), "   new pass phrase ");
    ::SendMessageA(Item(dlg, IDC_SAVE_PASSPHRASE), BM_CLICK, 0, 0);
    ::SendMessageA(Item(dlg, IDOK), BM_CLICK, 0, 0);
    EXPECT_STREQ(dlg.GetPassphrase(), "new pass phrase");
    EXPECT_TRUE(dlg.GetSavePassphrase());
}

TEST_F(DecryptionDlgTest, CancelLeavesThePresetValues) {
    CDecryptionDlg dlg;
    dlg.SetPassphrase("kept");
    dlg.SetSavePassphrase(FALSE);
    CUiScript script({
        [&] {
            const HWND hWndDlg = FindThreadDialog(m_host.m_hWnd);
            if (hWndDlg == nullptr)
                return false;
            ::SetWindowTextA(::GetDlgItem(hWndDlg, IDC_PASSPHRASE), "typed");
            ::SendMessageA(::GetDlgItem(hWndDlg, IDC_SAVE_PASSPHRASE), BM_CLICK, 0, 0);
            ::PostMessageA(::GetDlgItem(hWndDlg, IDCANCEL), BM_CLICK, 0, 0);
            return true;
        },
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(script.Finished());
    EXPECT_STREQ(dlg.GetPassphrase(), "kept");
    EXPECT_FALSE(dlg.GetSavePassphrase());
}

TEST_F(DecryptionDlgTest, ScreenShowsTheMaskedPassphrase) {
    CDecryptionDlg dlg;
    dlg.SetPassphrase("moxel-sample");
    dlg.SetSavePassphrase(TRUE);
    Open(dlg);
    Settle();
    CRect rect;
    dlg.GetWindowRect(&rect);
    rect.InflateRect(0, 0, 4, 4);
    EXPECT_TRUE(SaveScreenPng(rect, "DecryptionDlg.png"));
}

} // namespace
