// Tests of CPropertySheet and CPropertyPage: a wizard stepped with Next, Back and
// Finish by a thread timer while the sheet's own loop runs, a tabbed sheet closed
// with OK and Cancel, and a modeless sheet. Pages and strings: test_PropertySheet.rc.
#include "native/gtest.h"

#include "framework/DataExchange.h"
#include "framework/PropertySheet.h"
#include "framework/TabCtrl.h"

#include "test_PropertySheet_res.h"
#include "tests/support/UiScript.h"

#include <functional>
#include <string>
#include <vector>

namespace {

// A stalled script presses the sheet's Cancel, so a broken sheet fails instead
// of hanging.
std::function<void()> PressCancelOnStall(HWND& hWndSheet) {
    return [&hWndSheet]() {
        if (hWndSheet != nullptr)
            ::PostMessageA(hWndSheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    };
}

class CTestPage : public CPropertyPage {
public:
    CTestPage(UINT nIDTemplate, const char* pszName, std::vector<std::string>& log,
              UINT nIDCaption = 0)
        : CPropertyPage(nIDTemplate, nIDCaption), m_pszName(pszName), m_log(log) {}

    BOOL OnSetActive() override {
        m_log.push_back(std::string(m_pszName) + ":set");
        if (m_bRefuseActivation)
            return FALSE;
        if (m_pSheet != nullptr && m_pSheet->IsWizard())
            m_pSheet->SetWizardButtons(m_dwButtons);
        return CPropertyPage::OnSetActive();
    }
    BOOL OnKillActive() override {
        ++m_nKillCalls;
        if (m_nRefuseKills > 0) {
            --m_nRefuseKills;
            return FALSE;
        }
        return CPropertyPage::OnKillActive();
    }
    BOOL OnWizardFinish() override {
        m_log.push_back(std::string(m_pszName) + ":finish");
        return CPropertyPage::OnWizardFinish();
    }
    BOOL OnApply() override {
        m_log.push_back(std::string(m_pszName) + ":apply");
        return CPropertyPage::OnApply();
    }
    void OnReset() override { m_log.push_back(std::string(m_pszName) + ":reset"); }
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_VALUE, m_strValue); }

    CPropertySheet* m_pSheet = nullptr;
    DWORD m_dwButtons = PSWIZB_NEXT;
    bool m_bRefuseActivation = false;
    int m_nRefuseKills = 0;
    int m_nKillCalls = 0;
    CString m_strValue;

private:
    const char* m_pszName;
    std::vector<std::string>& m_log;
};

bool ButtonEnabled(HWND hWndSheet, int nID) {
    HWND hButton = ::GetDlgItem(hWndSheet, nID);
    return hButton != nullptr && ::IsWindowVisible(hButton) && ::IsWindowEnabled(hButton);
}

TEST(PropertySheetTest, WizardStepsNextBackAndFinish) {
    std::vector<std::string> log;
    CPropertySheet sheet("Quarrit Job Wizard");
    CTestPage first(IDD_PAGE_FIRST, "first", log), second(IDD_PAGE_SECOND, "second", log),
        third(IDD_PAGE_THIRD, "third", log);
    for (CTestPage* p : {&first, &second, &third}) {
        p->m_pSheet = &sheet;
        sheet.AddPage(p);
    }
    second.m_dwButtons = PSWIZB_BACK | PSWIZB_NEXT;
    third.m_dwButtons = PSWIZB_BACK | PSWIZB_FINISH;
    second.m_nRefuseKills = 1; // the first Next on the second page is refused
    sheet.SetWizardMode();
    EXPECT_TRUE(sheet.IsWizard());

    HWND hSheet = nullptr;
    bool bBackOnFirst = true, bFinishOnThird = false;
    CUiScript script(PressCancelOnStall(hSheet),
                     {[&]() {
                          hSheet = sheet.m_hWnd;
                          if (hSheet == nullptr || sheet.GetActiveIndex() != 0 ||
                              !ButtonEnabled(hSheet, ID_WIZNEXT))
                              return false;
                          bBackOnFirst = ButtonEnabled(hSheet, ID_WIZBACK);
                          ::SetDlgItemTextA(first.m_hWnd, IDC_VALUE, "zero");
                          sheet.PressButton(PSBTN_NEXT);
                          return true;
                      },
                      [&]() {
                          if (sheet.GetActiveIndex() != 1)
                              return false;
                          sheet.PressButton(PSBTN_NEXT); // refused by OnKillActive
                          return true;
                      },
                      [&]() {
                          if (second.m_nKillCalls < 1)
                              return false;
                          EXPECT_EQ(1, sheet.GetActiveIndex());
                          sheet.PressButton(PSBTN_NEXT);
                          return true;
                      },
                      [&]() {
                          if (sheet.GetActiveIndex() != 2 || !ButtonEnabled(hSheet, ID_WIZFINISH))
                              return false;
                          bFinishOnThird = true;
                          sheet.PressButton(PSBTN_BACK);
                          return true;
                      },
                      [&]() {
                          if (sheet.GetActiveIndex() != 1)
                              return false;
                          sheet.PressButton(PSBTN_NEXT);
                          return true;
                      },
                      [&]() {
                          if (sheet.GetActiveIndex() != 2 || !ButtonEnabled(hSheet, ID_WIZFINISH))
                              return false;
                          sheet.PressButton(PSBTN_FINISH);
                          return true;
                      }});

    EXPECT_EQ(ID_WIZFINISH, sheet.DoModal());
    EXPECT_TRUE(script.Finished());
    EXPECT_FALSE(bBackOnFirst);
    EXPECT_TRUE(bFinishOnThird);
    EXPECT_EQ((std::vector<std::string>{"first:set", "second:set", "third:set", "second:set",
                                        "third:set", "third:finish"}),
              log);
    EXPECT_STREQ("zero", first.m_strValue); // saved by the data exchange on leaving
    EXPECT_EQ(nullptr, sheet.m_hWnd);
    for (CTestPage* p : {&first, &second, &third})
        EXPECT_EQ(nullptr, p->m_hWnd);
}

TEST(PropertySheetTest, WizardSkipsAPageThatRefusesActivation) {
    std::vector<std::string> log;
    CPropertySheet sheet("Wizard");
    CTestPage first(IDD_PAGE_FIRST, "first", log), second(IDD_PAGE_SECOND, "second", log),
        third(IDD_PAGE_THIRD, "third", log);
    for (CTestPage* p : {&first, &second, &third}) {
        p->m_pSheet = &sheet;
        sheet.AddPage(p);
    }
    second.m_bRefuseActivation = true;
    third.m_dwButtons = PSWIZB_FINISH;
    sheet.SetWizardMode();
    HWND hSheet = nullptr;
    CUiScript script(PressCancelOnStall(hSheet),
                     {[&]() {
                          hSheet = sheet.m_hWnd;
                          if (hSheet == nullptr || sheet.GetActiveIndex() != 0)
                              return false;
                          sheet.PressButton(PSBTN_NEXT);
                          return true;
                      },
                      [&]() {
                          if (sheet.GetActiveIndex() != 2)
                              return false;
                          sheet.PressButton(PSBTN_FINISH);
                          return true;
                      }});
    EXPECT_EQ(ID_WIZFINISH, sheet.DoModal());
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ((std::vector<std::string>{"first:set", "second:set", "third:set", "third:finish"}),
              log);
}

TEST(PropertySheetTest, TabbedSheetStartsOnTheChosenPageAndAppliesOrResets) {
    for (int nButton : {PSBTN_OK, PSBTN_CANCEL}) {
        std::vector<std::string> log;
        CPropertySheet sheet(IDS_SHEET_TITLE);
        CTestPage first(IDD_PAGE_FIRST, "first", log, IDS_CAPTION_FIRST),
            second(IDD_PAGE_SECOND, "second", log);
        sheet.AddPage(&first);
        sheet.AddPage(&second);
        EXPECT_TRUE(sheet.SetActivePage(1));
        EXPECT_FALSE(sheet.SetActivePage(5));
        HWND hSheet = nullptr;
        std::string title, firstTab;
        bool bApplyEnabled = false;
        int nStartIndex = -1;
        CUiScript script(PressCancelOnStall(hSheet), {[&]() {
                             hSheet = sheet.m_hWnd;
                             if (hSheet == nullptr || sheet.GetActivePage() == nullptr)
                                 return false;
                             nStartIndex = sheet.GetActiveIndex();
                             char szTitle[64] = "";
                             ::GetWindowTextA(hSheet, szTitle, sizeof szTitle);
                             title = szTitle;
                             CTabCtrl* pTabs = sheet.GetTabControl();
                             char szTab[32] = "";
                             TCITEMA item = {};
                             item.mask = TCIF_TEXT;
                             item.pszText = szTab;
                             item.cchTextMax = sizeof szTab;
                             if (pTabs != nullptr && pTabs->GetItem(0, &item))
                                 firstTab = szTab;
                             second.SetModified(TRUE);
                             bApplyEnabled =
                                 ::IsWindowEnabled(::GetDlgItem(hSheet, 0x3021)) != FALSE;
                             ::SetDlgItemTextA(second.m_hWnd, IDC_VALUE, "typed");
                             sheet.PressButton(nButton);
                             return true;
                         }});
        INT_PTR nResult = sheet.DoModal();
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(1, nStartIndex);
        EXPECT_EQ("Quarrit Settings and Logs", title);
        EXPECT_EQ("Schedule", firstTab); // the tab caption from the string table
        EXPECT_TRUE(bApplyEnabled);
        if (nButton == PSBTN_OK) {
            EXPECT_EQ(IDOK, nResult);
            EXPECT_EQ((std::vector<std::string>{"second:set", "second:apply"}), log);
            EXPECT_STREQ("typed", second.m_strValue);
        } else {
            EXPECT_EQ(IDCANCEL, nResult);
            EXPECT_EQ((std::vector<std::string>{"second:set", "second:reset"}), log);
            EXPECT_STREQ("", second.m_strValue);
        }
    }
}

TEST(PropertySheetTest, ModelessSheetSwitchesAndAddsPages) {
    std::vector<std::string> log;
    CPropertySheet sheet("Modeless");
    CTestPage first(IDD_PAGE_FIRST, "first", log), second(IDD_PAGE_SECOND, "second", log),
        third(IDD_PAGE_THIRD, "third", log);
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    ASSERT_TRUE(sheet.Create());
    EXPECT_EQ(&sheet, CWnd::FromHandlePermanent(sheet.m_hWnd));
    EXPECT_EQ(0, sheet.GetActiveIndex());
    EXPECT_TRUE(sheet.SetActivePage(&second));
    EXPECT_EQ(1, sheet.GetActiveIndex());
    EXPECT_EQ(&second, sheet.GetActivePage());
    sheet.AddPage(&third);
    EXPECT_EQ(3, sheet.GetPageCount());
    EXPECT_TRUE(sheet.SetActivePage(2));
    EXPECT_EQ(&third, sheet.GetActivePage());
    EXPECT_NE(nullptr, third.m_hWnd);
    EXPECT_EQ((std::vector<std::string>{"first:set", "second:set", "third:set"}), log);
    sheet.DestroyWindow();
    EXPECT_EQ(nullptr, sheet.m_hWnd);
    EXPECT_EQ(nullptr, third.m_hWnd);
}

// A page that handles the help command gets the sheet's Help button.
class CHelpPage : public CPropertyPage {
public:
    CHelpPage() : CPropertyPage(IDD_PAGE_FIRST) {}
    int m_nHelpCalls = 0;

protected:
    void OnHelp() { ++m_nHelpCalls; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHelpPage, CPropertyPage)
ON_COMMAND(ID_HELP, &CHelpPage::OnHelp)
END_MESSAGE_MAP()

TEST(PropertySheetTest, HelpButtonReachesThePageThatHandlesHelp) {
    CPropertySheet sheet("Help");
    CHelpPage page;
    sheet.AddPage(&page);
    HWND hSheet = nullptr;
    bool bHelpShown = false;
    CUiScript script(PressCancelOnStall(hSheet),
                     {[&]() {
                          hSheet = sheet.m_hWnd;
                          if (hSheet == nullptr || page.m_hWnd == nullptr)
                              return false;
                          bHelpShown = ButtonEnabled(hSheet, IDHELP);
                          sheet.PressButton(PSBTN_HELP);
                          return true;
                      },
                      [&]() {
                          if (page.m_nHelpCalls == 0)
                              return false;
                          sheet.PressButton(PSBTN_CANCEL);
                          return true;
                      }});
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    EXPECT_TRUE(script.Finished());
    EXPECT_TRUE(bHelpShown);
    EXPECT_EQ(1, page.m_nHelpCalls);
}

TEST(PropertySheetTest, SheetWithoutPagesOrTemplatesFailsCleanly) {
    CPropertySheet empty("Empty");
    EXPECT_EQ(-1, empty.DoModal());
    EXPECT_FALSE(empty.Create());
    EXPECT_EQ(nullptr, empty.GetPage(0));
    EXPECT_EQ(-1, empty.GetPageIndex(nullptr));
}

} // namespace
