// Tests of CCallScoreFormsSettingsDlg, "Call Score Forms Settings": the stored
// locations shown as the dialog opens, a specified location that must be
// browsed for again, the folder browser's choice with its trailing backslash,
// OK that refuses a specified location without a folder, Cancel that changes
// nothing, and Enter and Escape that end nothing. The dialog runs modally,
// driven by scripts.
#include "native/gtest.h"

#include "CallScoreFormsSettingsDlg.h"
#include "ScoreFormsRes.h"

#include "tests/app/SmallDialogsTestKit.h"
#include "tests/support/AnsweringApp.h"
#include "tests/support/Canvas.h"
#include "tests/support/UiScript.h"

#include "Common/Settings.h"
#include "framework/Ole.h"

#include <shlobj.h>

#include <string>
#include <vector>

namespace {

// Keeps the icon of every message box beside its prompt.
class CIconAnsweringApp : public CAnsweringApp {
public:
    int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt) override {
        m_icons.push_back(nType & MB_ICONMASK);
        return CAnsweringApp::DoMessageBox(lpszPrompt, nType, nIDPrompt);
    }
    std::vector<UINT> m_icons;
};

CIconAnsweringApp theApp;

using smalldlg::WindowText;

struct SGroupView {
    int nChecked = -1; // 0, 1, 2: the checked button of the group; -1 none
    std::string strFolder;
    bool bFolderEnabled = false;
    bool bBrowseEnabled = false;
};

SGroupView ReadGroup(HWND hWndDlg, int nFirstRadio, int nFolder, int nBrowse) {
    SGroupView view;
    for (int i = 0; i < 3; ++i) {
        if (::IsDlgButtonChecked(hWndDlg, nFirstRadio + i) == BST_CHECKED)
            view.nChecked = view.nChecked == -1 ? i : 99; // two checked: a fault
    }
    view.strFolder = WindowText(::GetDlgItem(hWndDlg, nFolder));
    view.bFolderEnabled = ::IsWindowEnabled(::GetDlgItem(hWndDlg, nFolder)) != FALSE;
    view.bBrowseEnabled = ::IsWindowEnabled(::GetDlgItem(hWndDlg, nBrowse)) != FALSE;
    return view;
}

SGroupView ReadForms(HWND hWndDlg) {
    return ReadGroup(hWndDlg, IDC_FORMS_LOCATION_USER, IDC_FORMS_LOCATION_FOLDER,
                     IDC_FORMS_LOCATION_BROWSE);
}

SGroupView ReadScores(HWND hWndDlg) {
    return ReadGroup(hWndDlg, IDC_SCORES_LOCATION_USER, IDC_SCORES_LOCATION_FOLDER,
                     IDC_SCORES_LOCATION_BROWSE);
}

void Click(HWND hWndDlg, int nID) {
    ::SendMessageA(::GetDlgItem(hWndDlg, nID), BM_CLICK, 0, 0);
}

LocationSetting Location(int nMode, const char* pszFolder) {
    LocationSetting location;
    location.Mode = nMode;
    location.Folder = pszFolder;
    return location;
}

void SaveDialogPng(HWND hWndDlg, const char* pszName) {
    smalldlg::PumpTranslated(300);
    CRect rcDlg;
    ::GetWindowRect(hWndDlg, &rcDlg);
    rcDlg.InflateRect(0, 0, 6, 6); // with the shadow
    SaveScreenPng(rcDlg, pszName);
}

class CallScoreFormsSettingsDlgTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(AfxOleInit()); }
    void SetUp() override {
        theApp.m_answers.clear();
        theApp.m_prompts.clear();
        theApp.m_icons.clear();
    }
    void TearDown() override {
        // The settings object outlives each test: back to its start values.
        Store(Location(LocationSetting::MODE_ALL_USERS, ""),
              Location(LocationSetting::MODE_ALL_USERS, ""));
    }
    static void Store(const LocationSetting& forms, const LocationSetting& scores) {
        CSettings::GetInstance()->SetCallScoreFormLocation(forms);
        CSettings::GetInstance()->SetCallScoreLocation(scores);
    }
    static LocationSetting StoredForms() {
        LocationSetting location;
        CSettings::GetInstance()->GetCallScoreFormLocation(location);
        return location;
    }
    static LocationSetting StoredScores() {
        LocationSetting location;
        CSettings::GetInstance()->GetCallScoreLocation(location);
        return location;
    }
};

// Each stored mode checks its own button; only a specified location shows
// its folder and lets the user browse.
TEST_F(CallScoreFormsSettingsDlgTest, OpensWithTheStoredLocationsScreen) {
    struct SCase {
        int nFormMode;
        const char* pszFormFolder;
        int nScoreMode;
        const char* pszScoreFolder;
        const char* pszPng;
    };
    const SCase cases[] = {
        {1, "", 1, "", "CallScoreFormsSettings_allusers.png"},
        {0, "", 2, "D:\\Call scores\\", "CallScoreFormsSettings_user_custom.png"},
        {2, "E:\\Forms & more\\", 0, "", nullptr},
        // A mode the dialog never writes reads as all users.
        {7, "", 5, "", nullptr},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.nFormMode * 10 + c.nScoreMode);
        Store(Location(c.nFormMode, c.pszFormFolder), Location(c.nScoreMode, c.pszScoreFolder));
        CCallScoreFormsSettingsDlg dlg;
        HWND hWndDlg = nullptr;
        SGroupView forms, scores;
        std::string strCaption;
        CUiScript script([&] { ::PostMessageA(hWndDlg, WM_COMMAND, IDCANCEL, 0); },
                         {[&] { return (hWndDlg = FindThreadDialog()) != nullptr; },
                          [&] {
                              strCaption = WindowText(hWndDlg);
                              forms = ReadForms(hWndDlg);
                              scores = ReadScores(hWndDlg);
                              if (c.pszPng != nullptr)
                                  SaveDialogPng(hWndDlg, c.pszPng);
                              ::PostMessageA(hWndDlg, WM_COMMAND, IDCANCEL, 0);
                              return true;
                          }});
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(strCaption, "Call Score Forms Settings");
        const int nFormButton = c.nFormMode <= 2 ? c.nFormMode : 1;
        const int nScoreButton = c.nScoreMode <= 2 ? c.nScoreMode : 1;
        EXPECT_EQ(forms.nChecked, nFormButton);
        EXPECT_EQ(forms.strFolder, nFormButton == 2 ? c.pszFormFolder : "");
        EXPECT_EQ(forms.bFolderEnabled, nFormButton == 2);
        EXPECT_EQ(forms.bBrowseEnabled, nFormButton == 2);
        EXPECT_EQ(scores.nChecked, nScoreButton);
        EXPECT_EQ(scores.strFolder, nScoreButton == 2 ? c.pszScoreFolder : "");
        EXPECT_EQ(scores.bFolderEnabled, nScoreButton == 2);
        EXPECT_EQ(scores.bBrowseEnabled, nScoreButton == 2);
    }
}

// The browse buttons carry the browse icon, drawn darker while the mouse is
// elsewhere, and say what they choose.
TEST_F(CallScoreFormsSettingsDlgTest, BrowseButtonsHaveIconsAndTips) {
    CCallScoreFormsSettingsDlg dlg;
    HWND hWndDlg = nullptr;
    CButtonST* pButtons[2] = {nullptr, nullptr};
    CUiScript script(
        [&] { ::PostMessageA(hWndDlg, WM_COMMAND, IDCANCEL, 0); },
        {[&] { return (hWndDlg = FindThreadDialog()) != nullptr; },
         [&] {
             const int ids[2] = {IDC_FORMS_LOCATION_BROWSE, IDC_SCORES_LOCATION_BROWSE};
             for (int i = 0; i < 2; ++i)
                 pButtons[i] = dynamic_cast<CButtonST*>(
                     CWnd::FromHandlePermanent(::GetDlgItem(hWndDlg, ids[i])));
             ::PostMessageA(hWndDlg, WM_COMMAND, IDCANCEL, 0);
             return true;
         }});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    for (CButtonST* pButton : pButtons) {
        ASSERT_NE(pButton, nullptr);
        EXPECT_NE(pButton->GetIconIn(), nullptr);
        EXPECT_NE(pButton->GetIconOut(), nullptr);
        EXPECT_NE(pButton->GetIconOut(), pButton->GetIconIn());
        EXPECT_TRUE(pButton->IsTransparent());
    }
    CString strTip;
    EXPECT_TRUE(strTip.LoadString(IDS_FORMS_LOCATION_BROWSE_TIP));
    EXPECT_EQ(std::string(strTip), "Select the location the score forms are to be stored");
    EXPECT_TRUE(strTip.LoadString(IDS_SCORES_LOCATION_BROWSE_TIP));
    EXPECT_EQ(std::string(strTip), "Select the location the score details are to be stored");
}

// Choosing the specified location again drops the stored folder; OK then
// refuses to store a location without a folder and the dialog stays open.
// Cancel afterwards leaves the settings as they were.
TEST_F(CallScoreFormsSettingsDlgTest, SpecifiedLocationWithoutFolderIsRefused) {
    struct SCase {
        int nCustomButton; // the specified-location button clicked
        int nFolder;
    };
    const SCase cases[] = {{IDC_FORMS_LOCATION_CUSTOM, IDC_FORMS_LOCATION_FOLDER},
                           {IDC_SCORES_LOCATION_CUSTOM, IDC_SCORES_LOCATION_FOLDER}};
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.nCustomButton);
        SetUp();
        Store(Location(2, "C:\\Forms\\"), Location(2, "C:\\Scores\\"));
        CCallScoreFormsSettingsDlg dlg;
        HWND hWndDlg = nullptr;
        std::string strAfterClick;
        bool bOpenAfterOk = false;
        CUiScript script([&] { ::PostMessageA(hWndDlg, WM_COMMAND, IDCANCEL, 0); },
                         {[&] { return (hWndDlg = FindThreadDialog()) != nullptr; },
                          [&] {
                              Click(hWndDlg, c.nCustomButton);
                              strAfterClick = WindowText(::GetDlgItem(hWndDlg, c.nFolder));
                              Click(hWndDlg, IDOK);
                              return true;
                          },
                          [&] {
                              smalldlg::PumpTranslated(100);
                              bOpenAfterOk = ::IsWindowVisible(hWndDlg) != FALSE;
                              Click(hWndDlg, IDCANCEL);
                              return true;
                          }});
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(strAfterClick, "");
        EXPECT_TRUE(bOpenAfterOk);
        ASSERT_EQ(theApp.m_prompts.size(), 1u);
        EXPECT_EQ(theApp.m_prompts[0], "Please select the folder first.");
        EXPECT_EQ(theApp.m_icons[0], static_cast<UINT>(MB_ICONEXCLAMATION));
        EXPECT_EQ(StoredForms().Mode, 2);
        EXPECT_EQ(std::string(StoredForms().Folder), "C:\\Forms\\");
        EXPECT_EQ(std::string(StoredScores().Folder), "C:\\Scores\\");
    }
}

// OK stores both groups' choices; Cancel after the same changes stores none.
TEST_F(CallScoreFormsSettingsDlgTest, OkStoresBothLocationsAndCancelNone) {
    for (int nEnd : {IDOK, IDCANCEL}) {
        SCOPED_TRACE(nEnd);
        Store(Location(1, ""), Location(2, "C:\\Scores\\"));
        CCallScoreFormsSettingsDlg dlg;
        HWND hWndDlg = nullptr;
        CUiScript script([&] { ::PostMessageA(hWndDlg, WM_COMMAND, IDCANCEL, 0); },
                         {[&] { return (hWndDlg = FindThreadDialog()) != nullptr; },
                          [&] {
                              Click(hWndDlg, IDC_FORMS_LOCATION_USER);
                              Click(hWndDlg, IDC_SCORES_LOCATION_ALL);
                              Click(hWndDlg, nEnd);
                              return true;
                          }});
        EXPECT_EQ(dlg.DoModal(), nEnd);
        EXPECT_TRUE(script.Finished());
        EXPECT_TRUE(theApp.m_prompts.empty());
        EXPECT_EQ(StoredForms().Mode, nEnd == IDOK ? 0 : 1);
        EXPECT_EQ(StoredScores().Mode, nEnd == IDOK ? 1 : 2);
        EXPECT_EQ(std::string(StoredScores().Folder), nEnd == IDOK ? "" : "C:\\Scores\\");
    }
}

// Key presses reach the dialog through its modal loop, as typed keys do;
// neither Enter nor Escape ends it, whichever button has the focus.
TEST_F(CallScoreFormsSettingsDlgTest, EnterAndEscapeLeaveTheDialogOpen) {
    const struct {
        int nFocus;
        WPARAM nKey;
    } cases[] = {{IDOK, VK_RETURN},
                 {IDCANCEL, VK_RETURN},
                 {IDOK, VK_ESCAPE},
                 {IDC_FORMS_LOCATION_ALL, VK_ESCAPE}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nFocus * 100 + static_cast<int>(c.nKey));
        CCallScoreFormsSettingsDlg dlg;
        HWND hWndDlg = nullptr;
        bool bOpen = false;
        CUiScript script([&] { ::PostMessageA(hWndDlg, WM_COMMAND, IDCANCEL, 0); },
                         {[&] { return (hWndDlg = FindThreadDialog()) != nullptr; },
                          [&] {
                              HWND hWndFocus = ::GetDlgItem(hWndDlg, c.nFocus);
                              ::SetFocus(hWndFocus);
                              ::PostMessageA(hWndFocus, WM_KEYDOWN, c.nKey, 1);
                              ::PostMessageA(hWndFocus, WM_KEYUP, c.nKey, 0xC0000001);
                              return true;
                          },
                          [&] {
                              smalldlg::PumpTranslated(200);
                              bOpen = ::IsWindowVisible(hWndDlg) != FALSE;
                              ::PostMessageA(hWndDlg, WM_COMMAND, IDCANCEL, 0);
                              return true;
                          }});
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_TRUE(script.Finished());
        EXPECT_TRUE(bOpen);
    }
}

// The browser's choice fills the group's folder with one trailing backslash;
// while it is open, a second browse, OK and Cancel do nothing.
TEST_F(CallScoreFormsSettingsDlgTest, BrowsedFolderGetsOneTrailingBackslash) {
    const std::string strQuiet = smalldlg::QuietFolder("Score location");
    struct SCase {
        std::string strChoose; // what the browser selects
        std::string strName;   // its tree's label for it
        std::string strStored; // the folder stored on OK
    };
    const SCase cases[] = {{strQuiet, "Score location", strQuiet + "\\"}};
    for (const SCase& c : cases) {
        Store(Location(2, ""), Location(1, ""));
        CCallScoreFormsSettingsDlg dlg;
        HWND hWndDlg = nullptr, hWndBrowser = nullptr;
        bool bOpenAfterOk = false, bOpenAfterCancel = false;
        int nWaitTicks = 0;
        std::string strShown;
        CUiScript script(
            [&] {
                if (hWndBrowser != nullptr && ::IsWindow(hWndBrowser))
                    ::PostMessageA(hWndBrowser, WM_COMMAND, IDCANCEL, 0);
                ::PostMessageA(hWndDlg, WM_COMMAND, IDCANCEL, 0);
            },
            {[&] { return (hWndDlg = FindThreadDialog()) != nullptr; },
             [&] {
                 ::PostMessageA(
                     hWndDlg, WM_COMMAND, MAKEWPARAM(IDC_FORMS_LOCATION_BROWSE, BN_CLICKED),
                     reinterpret_cast<LPARAM>(::GetDlgItem(hWndDlg, IDC_FORMS_LOCATION_BROWSE)));
                 return true;
             },
             [&] { return (hWndBrowser = FindThreadDialog(hWndDlg)) != nullptr; },
             [&] {
                 ::SendMessageA(hWndDlg, WM_COMMAND, IDOK, 0);
                 bOpenAfterOk = ::IsWindowVisible(hWndDlg) != FALSE;
                 ::SendMessageA(hWndDlg, WM_COMMAND, IDCANCEL, 0);
                 bOpenAfterCancel = ::IsWindowVisible(hWndDlg) != FALSE;
                 ::SendMessageA(hWndBrowser, BFFM_SETSELECTIONA, TRUE,
                                reinterpret_cast<LPARAM>(c.strChoose.c_str()));
                 return true;
             },
             [&] {
                 if (smalldlg::BrowserShows(hWndBrowser, c.strName))
                     return true;
                 if (++nWaitTicks % 20 == 0)
                     ::SendMessageA(hWndBrowser, BFFM_SETSELECTIONA, TRUE,
                                    reinterpret_cast<LPARAM>(c.strChoose.c_str()));
                 return false;
             },
             [&] {
                 ::PostMessageA(hWndBrowser, WM_COMMAND, IDOK, 0);
                 return true;
             },
             [&] {
                 strShown = WindowText(::GetDlgItem(hWndDlg, IDC_FORMS_LOCATION_FOLDER));
                 return !::IsWindow(hWndBrowser) && !strShown.empty();
             },
             [&] {
                 SaveDialogPng(hWndDlg, "CallScoreFormsSettings_browsed.png");
                 Click(hWndDlg, IDOK);
                 return true;
             }});
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_TRUE(script.Finished());
        EXPECT_TRUE(bOpenAfterOk);
        EXPECT_TRUE(bOpenAfterCancel);
        EXPECT_EQ(strShown, c.strStored);
        EXPECT_EQ(StoredForms().Mode, 2);
        EXPECT_EQ(std::string(StoredForms().Folder), c.strStored);
        EXPECT_EQ(StoredScores().Mode, 1);
    }
}

} // namespace
