// Tests of the common dialog wrappers: the records they build, the parts of a
// chosen path, and the platform's dialogs driven by a thread timer (file save,
// colour, print, and the modeless find dialog with its registered message).
#include "native/gtest.h"

#include "framework/CommonDialogs.h"
#include "tests/support/UiScript.h"

#include <functional>
#include <string>
#include <vector>

namespace {

TEST(FileDialog, FilterBecomesNulSeparatedWithDoubleNulEnd) {
    struct Case {
        const char* pszFilter;
        std::string expected; // up to and including the double NUL
    };
    const Case cases[] = {
        {"ZEL Recording List (*.reclist)|*.reclist||",
         std::string("ZEL Recording List (*.reclist)\0*.reclist\0\0", 42)},
        {"CSV (*.csv)|", std::string("CSV (*.csv)\0\0", 13)},
        {"A|*.a|B|*.b", std::string("A\0*.a\0B\0*.b\0\0", 14)},
    };
    for (const Case& c : cases) {
        CFileDialog dlg(FALSE, "zip", "Archive.zip", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                        c.pszFilter);
        ASSERT_NE(nullptr, dlg.m_ofn.lpstrFilter) << c.pszFilter;
        EXPECT_EQ(c.expected, std::string(dlg.m_ofn.lpstrFilter, c.expected.size())) << c.pszFilter;
        EXPECT_EQ(1u, dlg.m_ofn.nFilterIndex);
        EXPECT_STREQ("zip", dlg.m_ofn.lpstrDefExt);
        EXPECT_STREQ("Archive.zip", dlg.m_ofn.lpstrFile);
        EXPECT_EQ((DWORD)(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER), dlg.m_ofn.Flags);
    }
    CFileDialog none(TRUE);
    EXPECT_EQ(nullptr, none.m_ofn.lpstrFilter);
    EXPECT_EQ(nullptr, none.m_ofn.lpstrDefExt);
    // A suggested name longer than the buffer is cut, never overrun.
    std::string huge(10000, 'n');
    CFileDialog cut(TRUE, nullptr, huge.c_str());
    EXPECT_EQ(cut.m_ofn.nMaxFile - 1, strlen(cut.m_ofn.lpstrFile));
}

TEST(FileDialog, PartsOfThePath) {
    struct Case {
        const char* pszPath;
        const char* pszName;
        const char* pszExt;
        const char* pszTitle;
    };
    const Case cases[] = {
        {"C:\\Docs\\call.wav", "call.wav", "wav", "call"},
        {"C:\\Docs\\noext", "noext", "", "noext"},
        {"C:\\a.b\\c", "c", "", "c"},
        {"C:\\Docs\\two.dots.zel", "two.dots.zel", "zel", "two.dots"},
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        CFileDialog dlg(TRUE, nullptr, c.pszPath);
        EXPECT_STREQ(c.pszPath, dlg.GetPathName());
        EXPECT_STREQ(c.pszName, dlg.GetFileName()) << c.pszPath;
        EXPECT_STREQ(c.pszExt, dlg.GetFileExt()) << c.pszPath;
        EXPECT_STREQ(c.pszTitle, dlg.GetFileTitle()) << c.pszPath;
    }
}

TEST(FileDialog, SaveDialogAddsTheDefaultExtensionOrCancels) {
    for (int nButton : {IDOK, IDCANCEL}) {
        CFileDialog dlg(FALSE, "wav", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                        "WAV (*.wav)|*.wav||");
        CUiScript script({[&]() {
            HWND hDlg = FindThreadDialog();
            if (hDlg == nullptr || ::GetDlgItem(hDlg, IDOK) == nullptr)
                return false;
            // The file name box of the Explorer-style dialog (cmb13, or edt1).
            HWND hName = ::GetDlgItem(hDlg, 0x47C);
            if (hName == nullptr)
                hName = ::GetDlgItem(hDlg, 0x480);
            ::SetWindowTextA(hName, "C:\\windows\\temp\\zm_dialog_test");
            ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nButton, BN_CLICKED),
                           (LPARAM)::GetDlgItem(hDlg, nButton));
            return true;
        }});
        INT_PTR nResult = dlg.DoModal();
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(nButton, nResult);
        if (nButton == IDOK) {
            EXPECT_STREQ("C:\\windows\\temp\\zm_dialog_test.wav", dlg.GetPathName());
            EXPECT_STREQ("zm_dialog_test.wav", dlg.GetFileName());
            EXPECT_STREQ("wav", dlg.GetFileExt());
        }
    }
}

TEST(ColorDialog, OkAnswersTheInitialColour) {
    CColorDialog dlg(RGB(10, 20, 30));
    EXPECT_TRUE(dlg.m_cc.Flags & CC_RGBINIT);
    CUiScript script({[&]() {
        HWND hDlg = FindThreadDialog();
        if (hDlg == nullptr)
            return false;
        ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                       (LPARAM)::GetDlgItem(hDlg, IDOK));
        return true;
    }});
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(RGB(10, 20, 30), dlg.GetColor());
}

TEST(PrintDialog, CancelOrNoPrinterLeavesNoDeviceContext) {
    CPrintDialog dlg(FALSE, PD_NOSELECTION | PD_PAGENUMS);
    dlg.m_pd.nFromPage = 1;
    dlg.m_pd.nToPage = 3;
    dlg.m_pd.nMaxPage = 3;
    CUiScript script({[&]() {
        HWND hDlg = FindThreadDialog();
        if (hDlg == nullptr)
            return false;
        ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return true;
    }});
    // Without a printer the platform refuses at once; either way: Cancel.
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(nullptr, dlg.GetPrinterDC());
}

// The owner of a find dialog: keeps what each FINDMSGSTRING said.
class CFindOwner : public CWnd {
public:
    std::vector<std::string> m_events;

protected:
    LRESULT OnFindMessage(WPARAM, LPARAM lParam) {
        CFindReplaceDialog* pDialog = CFindReplaceDialog::GetNotifier(lParam);
        if (pDialog == nullptr)
            m_events.push_back("unknown");
        else if (pDialog->IsTerminating())
            m_events.push_back("closing");
        else if (pDialog->FindNext())
            m_events.push_back(std::string("next:") + pDialog->GetFindString().GetString() +
                               (pDialog->SearchDown() ? ":down" : ":up") +
                               (pDialog->MatchCase() ? ":case" : ""));
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

const UINT g_nFindMessage = ::RegisterWindowMessageA(FINDMSGSTRINGA);

BEGIN_MESSAGE_MAP(CFindOwner, CWnd)
ON_REGISTERED_MESSAGE(g_nFindMessage, &CFindOwner::OnFindMessage)
END_MESSAGE_MAP()

class CCountedFindDialog : public CFindReplaceDialog {
public:
    explicit CCountedFindDialog(bool* pbDeleted) : m_pbDeleted(pbDeleted) {}
    ~CCountedFindDialog() override { *m_pbDeleted = true; }

private:
    bool* m_pbDeleted;
};

TEST(FindReplaceDialog, ReportsSearchesAndDeletesItselfWhenClosed) {
    CFindOwner owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                               0, 0, 300, 200, nullptr, nullptr));
    bool bDeleted = false;
    auto* pDialog = new CCountedFindDialog(&bDeleted);
    ASSERT_TRUE(pDialog->Create(TRUE, "first", nullptr, FR_DOWN | FR_MATCHCASE, &owner));
    HWND hDlg = pDialog->m_hWnd;
    ASSERT_NE(nullptr, hDlg);
    EXPECT_EQ(pDialog, CWnd::FromHandlePermanent(hDlg));

    ::SetDlgItemTextA(hDlg, 0x480 /* edt1 */, "caller");
    ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   (LPARAM)::GetDlgItem(hDlg, IDOK));
    ASSERT_TRUE(PumpUntil([&]() { return !owner.m_events.empty(); }));
    EXPECT_EQ("next:caller:down:case", owner.m_events[0]);

    ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                   (LPARAM)::GetDlgItem(hDlg, IDCANCEL));
    ASSERT_TRUE(PumpUntil([&]() { return bDeleted; }));
    EXPECT_EQ((std::vector<std::string>{"next:caller:down:case", "closing"}), owner.m_events);
    EXPECT_FALSE(::IsWindow(hDlg));
    // A record that no framework dialog made has no notifier.
    FINDREPLACEA foreign = {};
    EXPECT_EQ(nullptr, CFindReplaceDialog::GetNotifier(reinterpret_cast<LPARAM>(&foreign)));
    owner.DestroyWindow();
}

} // namespace
