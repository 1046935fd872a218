// Tests of the dialog "New Shortcut" over the small shortcut store of
// ShortCutTreeFixture.h: its tree shows the whole store, OK is enabled only
// for a name and a group, the chosen group and name come back after OK, and
// the dialog changes no record. Screenshot: new-shortcut.png.
#include "native/gtest.h"

#include "NewShortcut.h"
#include "ShortCutTreeFixture.h"
#include "resource.h"

#include "tests/support/AnsweringApp.h"
#include "tests/support/Canvas.h"
#include "tests/support/UiScript.h"

#include <string>
#include <vector>

CAnsweringApp theApp;

namespace {

const char kFull[] =
    "Shortcuts to Sources..(Sales(North,South,Archive(2008)),Support(Calls),Empty)";

class NewShortcutTest : public ::testing::Test {
protected:
    void SetUp() override {
        FillSampleStore();
        ASSERT_TRUE(m_host.Make(CRect(40, 40, 200, 200)));
        theApp.m_pMainWnd = &m_host;
    }
    void TearDown() override {
        theApp.m_pMainWnd = nullptr;
        m_host.DestroyWindow();
        delete CShortCuts::GetInstance();
    }

    // Runs the dialog with the steps; the dialog is cancelled when they stall.
    INT_PTR Run(std::vector<CUiScript::Step> steps) {
        std::vector<CUiScript::Step> all = {[this] {
            m_hDlg = m_dlg.GetSafeHwnd();
            return m_hDlg != nullptr && ::IsWindowVisible(m_hDlg);
        }};
        all.insert(all.end(), steps.begin(), steps.end());
        CUiScript script([this] { ::PostMessage(m_hDlg, WM_COMMAND, IDCANCEL, 0); }, all);
        const INT_PTR nResult = m_dlg.DoModal();
        EXPECT_TRUE(script.Finished());
        return nResult;
    }
    BOOL IsOKEnabled() const { return ::IsWindowEnabled(::GetDlgItem(m_hDlg, IDOK)); }
    void Choose(const char* pszItem) {
        CShortCutTree& tree = m_dlg.GetTree();
        tree.SelectItem(pszItem != nullptr ? FindItem(tree, pszItem) : nullptr);
    }

    CListHostWnd m_host;
    CNewShortcut m_dlg{&m_host};
    HWND m_hDlg = nullptr;
};

TEST_F(NewShortcutTest, OKIsEnabledOnlyForANameAndAGroup) {
    const struct {
        const char* pszItem; // the caret item; null for none
        const char* pszName;
        BOOL bEnabled;
        int nParentID;
    } kCases[] = {
        {"Sales", "", FALSE, 1},     {"Sales", "2009", TRUE, 1},
        {"North", "2009", FALSE, 2}, {nullptr, "2009", FALSE, -1},
        {"Empty", "2009", TRUE, 8},  {"Shortcuts to Sources..", "2009", TRUE, 0},
        {"Archive", "", FALSE, 4},
    };
    std::vector<std::string> seen;
    std::vector<CUiScript::Step> steps;
    for (const auto& c : kCases) {
        steps.push_back([&, c] {
            Choose(c.pszItem);
            ::SetDlgItemTextA(m_hDlg, IDC_NEWSHORTCUT_NAME, c.pszName);
            seen.push_back(std::string(c.pszItem ? c.pszItem : "(none)") + "/" + c.pszName + ": " +
                           (IsOKEnabled() ? "on " : "off ") + std::to_string(m_dlg.GetParentID()));
            return true;
        });
    }
    steps.push_back([this] {
        ::PostMessage(m_hDlg, WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    EXPECT_EQ(IDCANCEL, Run(steps));

    std::vector<std::string> expected;
    for (const auto& c : kCases)
        expected.push_back(std::string(c.pszItem ? c.pszItem : "(none)") + "/" + c.pszName + ": " +
                           (c.bEnabled ? "on " : "off ") + std::to_string(c.nParentID));
    EXPECT_EQ(expected, seen);
}

TEST_F(NewShortcutTest, OKGivesTheChosenGroupAndNameAndChangesNoRecord) {
    m_dlg.SetName("2009");
    std::string sShownName;
    std::string sOutline;
    EXPECT_EQ(IDOK, Run({
                        [&] {
                            char szName[64] = "";
                            ::GetDlgItemTextA(m_hDlg, IDC_NEWSHORTCUT_NAME, szName, sizeof(szName));
                            sShownName = szName;
                            sOutline = TreeOutline(m_dlg.GetTree());
                            Choose("Support");
                            ::SetDlgItemTextA(m_hDlg, IDC_NEWSHORTCUT_NAME, "Team North");
                            Settle(300);
                            CRect rect;
                            ::GetWindowRect(m_hDlg, rect);
                            rect.InflateRect(0, 0, 6, 6); // the shadow
                            SaveScreenPng(rect, "new-shortcut.png");
                            ::PostMessage(m_hDlg, WM_COMMAND, IDOK, 0);
                            return true;
                        },
                    }));
    EXPECT_EQ("2009", sShownName);
    EXPECT_EQ(kFull, sOutline);
    EXPECT_STREQ("Team North", m_dlg.GetName());
    EXPECT_EQ(6, m_dlg.GetParentID());
    EXPECT_EQ(kFull, StoreOutline());
}

TEST_F(NewShortcutTest, OKWithAShortcutChosenDoesNotCloseTheDialog) {
    bool bOpenAfterOK = false;
    EXPECT_EQ(IDCANCEL, Run({
                            [&] {
                                Choose("North");
                                ::SetDlgItemTextA(m_hDlg, IDC_NEWSHORTCUT_NAME, "2009");
                                // As Enter sends it, whatever the button's state.
                                ::SendMessage(m_hDlg, WM_COMMAND, IDOK, 0);
                                bOpenAfterOK = ::IsWindowVisible(m_hDlg) != FALSE;
                                ::PostMessage(m_hDlg, WM_COMMAND, IDCANCEL, 0);
                                return true;
                            },
                        }));
    EXPECT_TRUE(bOpenAfterOK);
    EXPECT_EQ(kFull, StoreOutline());
}

} // namespace
