// Tests of CManageCallScoreForms, "Manage Call Score Forms": the forms of the
// score-forms file shown as a tree with the questions of the shown form,
// new forms, renaming by label edit, the bias total that decides whether
// Save Changes may save, questions added (new ones with local IDs, predefined
// ones once each, never more than ten), edited and deleted, export and
// import, a changed storage location, and Save Changes / Cancel writing or
// reloading the file. The dialog runs modally, driven by scripts; each test
// has configuration folders of its own.
#include "native/gtest.h"

#include "AppPaths.h"
#include "ManageCallScoreForms.h"
#include "QuestionsRes.h"
#include "ScoreFormsRes.h"
#include "ScoringRes.h"
#include "StoreTestFolders.h"
#include "ToolTipListCtrl.h"
#include "resource.h"

#include "Scoring/QuestionRepository.h"
#include "Scoring/ScoreFormManager.h"

#include "tests/app/SmallDialogsTestKit.h"
#include "tests/support/AnsweringApp.h"
#include "tests/support/Canvas.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UiScript.h"

#include <commctrl.h>

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
using Rows = std::vector<std::vector<std::string>>;

CQuestion MakeQuestion(LONG id, const char* prompt, LONG type, double bias) {
    CQuestion question(id);
    question.SetPrompt(prompt);
    question.SetType(type);
    question.SetBias(bias);
    return question;
}

CScoreFormEntry MakeForm(LONG id, const char* title, const std::vector<double>& biases,
                         LONG firstQuestionId = 100) {
    CScoreFormEntry form(id);
    form.SetTitle(title);
    form.SetOwner("jdoe");
    form.SetTime(1700000000); // 2023-11-14
    for (size_t i = 0; i < biases.size(); ++i) {
        const std::string prompt = "Q" + std::to_string(i + 1);
        form.AddQuestion(MakeQuestion(firstQuestionId + static_cast<LONG>(i), prompt.c_str(),
                                      CQuestion::TYPE_SCALE, biases[i]));
    }
    return form;
}

std::string LogonName() {
    char szName[1000] = "";
    DWORD nSize = sizeof szName;
    ::GetUserNameA(szName, &nSize);
    return szName;
}

LONG Now() {
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER ticks;
    ticks.LowPart = now.dwLowDateTime;
    ticks.HighPart = now.dwHighDateTime;
    return static_cast<LONG>(ticks.QuadPart / 10000000ULL - 11644473600ULL);
}

std::string ReadWholeFile(const std::string& path) {
    std::string content;
    HANDLE hFile = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return content;
    char buffer[4096];
    DWORD nRead = 0;
    while (::ReadFile(hFile, buffer, sizeof buffer, &nRead, nullptr) && nRead > 0)
        content.append(buffer, nRead);
    ::CloseHandle(hFile);
    return content;
}

// --- Reading the dialog.

std::vector<std::string> TreeLabels(HWND hWndDlg) {
    std::vector<std::string> labels;
    HWND hWndTree = ::GetDlgItem(hWndDlg, IDC_FORMS_TREE);
    for (HTREEITEM hItem = TreeView_GetRoot(hWndTree); hItem != nullptr;
         hItem = TreeView_GetNextSibling(hWndTree, hItem)) {
        char szText[256] = "";
        TVITEMA item = {};
        item.mask = TVIF_TEXT;
        item.hItem = hItem;
        item.pszText = szText;
        item.cchTextMax = sizeof szText;
        ::SendMessageA(hWndTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        labels.push_back(szText);
    }
    return labels;
}

HTREEITEM TreeItem(HWND hWndDlg, int nIndex) {
    HWND hWndTree = ::GetDlgItem(hWndDlg, IDC_FORMS_TREE);
    HTREEITEM hItem = TreeView_GetRoot(hWndTree);
    while (hItem != nullptr && nIndex-- > 0)
        hItem = TreeView_GetNextSibling(hWndTree, hItem);
    return hItem;
}

int SelectedTreeIndex(HWND hWndDlg) {
    HWND hWndTree = ::GetDlgItem(hWndDlg, IDC_FORMS_TREE);
    HTREEITEM hSelected = TreeView_GetSelection(hWndTree);
    int nIndex = 0;
    for (HTREEITEM hItem = TreeView_GetRoot(hWndTree); hItem != nullptr;
         hItem = TreeView_GetNextSibling(hWndTree, hItem), ++nIndex) {
        if (hItem == hSelected)
            return nIndex;
    }
    return -1;
}

Rows ListRows(HWND hWndDlg) {
    Rows rows;
    HWND hWndList = ::GetDlgItem(hWndDlg, IDC_FORM_QUESTIONS);
    const int nCount = ListView_GetItemCount(hWndList);
    for (int nRow = 0; nRow < nCount; ++nRow) {
        std::vector<std::string> cells;
        for (int nColumn = 0; nColumn < 4; ++nColumn) {
            char szText[512] = "";
            LVITEMA item = {};
            item.iSubItem = nColumn;
            item.pszText = szText;
            item.cchTextMax = sizeof szText;
            ::SendMessageA(hWndList, LVM_GETITEMTEXTA, nRow, reinterpret_cast<LPARAM>(&item));
            cells.push_back(szText);
        }
        rows.push_back(cells);
    }
    return rows;
}

std::string CellTip(HWND hWndDlg, int nRow, int nColumn) {
    auto* pList = dynamic_cast<CToolTipListCtrl*>(
        CWnd::FromHandlePermanent(::GetDlgItem(hWndDlg, IDC_FORM_QUESTIONS)));
    return pList != nullptr ? std::string(pList->GetItemToolTipText(nRow, nColumn)) : "<none>";
}

std::string Text(HWND hWndDlg, int nID) {
    return WindowText(::GetDlgItem(hWndDlg, nID));
}

bool Visible(HWND hWndDlg, int nID) {
    return (::GetWindowLongA(::GetDlgItem(hWndDlg, nID), GWL_STYLE) & WS_VISIBLE) != 0;
}

bool Enabled(HWND hWndDlg, int nID) {
    return ::IsWindowEnabled(::GetDlgItem(hWndDlg, nID)) != FALSE;
}

struct SFindButton {
    UINT nCommand;
    int nState; // -1: no bar holds the command
};

BOOL CALLBACK FindButtonProc(HWND hWnd, LPARAM lParam) {
    auto* pFind = reinterpret_cast<SFindButton*>(lParam);
    char szClass[64] = "";
    ::GetClassNameA(hWnd, szClass, sizeof szClass);
    if (lstrcmpA(szClass, TOOLBARCLASSNAMEA) != 0)
        return TRUE;
    const LRESULT nState = ::SendMessageA(hWnd, TB_GETSTATE, pFind->nCommand, 0);
    if (nState == -1)
        return TRUE;
    pFind->nState = static_cast<int>(nState);
    return FALSE;
}

// The state of the toolbar button of the command: 1 enabled, 0 disabled, -1
// no such button.
int ButtonEnabled(HWND hWndDlg, UINT nCommand) {
    SFindButton find = {nCommand, -1};
    ::EnumChildWindows(hWndDlg, FindButtonProc, reinterpret_cast<LPARAM>(&find));
    return find.nState == -1 ? -1 : (find.nState & TBSTATE_ENABLED) != 0;
}

void SelectRow(HWND hWndDlg, int nRow) {
    HWND hWndList = ::GetDlgItem(hWndDlg, IDC_FORM_QUESTIONS);
    ListView_SetItemState(hWndList, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (nRow >= 0)
        ListView_SetItemState(hWndList, nRow, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
}

void Command(HWND hWndDlg, UINT nID) {
    ::SendMessageA(hWndDlg, WM_COMMAND, nID, 0);
}

// For a command that opens a dialog of its own: the script's step must
// return before that dialog's loop runs.
void PostCommand(HWND hWndDlg, UINT nID) {
    ::PostMessageA(hWndDlg, WM_COMMAND, nID, 0);
}

void SaveDialogPng(HWND hWnd, const char* pszName) {
    smalldlg::PumpTranslated(300);
    CRect rc;
    ::GetWindowRect(hWnd, &rc);
    rc.InflateRect(0, 0, 6, 6); // with the shadow
    SaveScreenPng(rc, pszName);
}

class ManageCallScoreFormsTest : public ::testing::Test {
protected:
    ManageCallScoreFormsTest()
        : m_folders("ScoreForms"), m_store(CScoreFormManager::GetInstance()) {}
    ~ManageCallScoreFormsTest() override {
        // Cleared first, so that the stores' exit saves have nothing to write.
        m_store->Clear();
        CScoreFormManager::DeleteInstance();
        CQuestionRepository::GetInstance()->Clear();
        CQuestionRepository::DeleteInstance();
        LocationSetting location;
        location.Mode = LocationSetting::MODE_ALL_USERS;
        CSettings::GetInstance()->SetCallScoreFormLocation(location);
        CSettings::GetInstance()->SetCallScoreLocation(location);
    }
    void SetUp() override {
        theApp.m_answers.clear();
        theApp.m_prompts.clear();
        theApp.m_icons.clear();
        m_store->Clear();
        // Both locations back at their start values: a case that chose another
        // location must not move the next case's files.
        const LocationSetting allUsers = {LocationSetting::MODE_ALL_USERS, CString()};
        CSettings::GetInstance()->SetCallScoreFormLocation(allUsers);
        CSettings::GetInstance()->SetCallScoreLocation(allUsers);
    }

    // Writes the forms as the score-forms file and leaves the store empty and
    // not loaded, as at start-up before the dialog opens.
    void WriteFormsFile(const std::vector<CScoreFormEntry>& forms,
                        const std::string& path = std::string(GetScoreFormsFilePath())) {
        m_store->Clear();
        for (const CScoreFormEntry& form : forms)
            ASSERT_TRUE(m_store->AddForm(form));
        ASSERT_TRUE(m_store->Save(path.c_str()));
        m_store->Clear();
    }
    std::vector<std::string> StoredTitles() const {
        std::vector<std::string> titles;
        for (int i = 0; i < m_store->GetFormCount(); ++i)
            titles.push_back(std::string(m_store->GetFormTitle(i)));
        return titles;
    }

    // Runs the dialog: the first step finds it, then the test's steps; a
    // stalled script cancels whatever dialog is on top.
    int Run(HWND& hWndDlg, std::vector<CUiScript::Step> steps) {
        CManageCallScoreForms dlg;
        steps.insert(steps.begin(), [&] { return (hWndDlg = FindThreadDialog()) != nullptr; });
        CUiScript script(
            [&] {
                HWND hWndTop = FindThreadDialog(hWndDlg);
                ::PostMessageA(hWndTop != nullptr ? hWndTop : hWndDlg, WM_COMMAND, IDCANCEL, 0);
                if (hWndTop != nullptr)
                    ::PostMessageA(hWndDlg, WM_COMMAND, IDCANCEL, 0);
            },
            steps);
        const int nResult = static_cast<int>(dlg.DoModal());
        EXPECT_TRUE(script.Finished());
        EXPECT_FALSE(script.Stalled());
        return nResult;
    }

    CStoreTestFolders m_folders;
    CScoreFormManager* m_store;
};

// The file's forms in file order; the first shown at once with its owner,
// creation time, ID, questions and bias total; another shown when chosen.
TEST_F(ManageCallScoreFormsTest, ShowsTheFormsOfTheFileScreen) {
    CScoreFormEntry sales = MakeForm(4, "Sales call", {});
    sales.AddQuestion(
        MakeQuestion(3, "Did the agent greet the caller?", CQuestion::TYPE_YESNO, 60));
    sales.AddQuestion(MakeQuestion(10000, "Rate the close", CQuestion::TYPE_SCALE, 40.9));
    CScoreFormEntry support = MakeForm(9, "Support & <care>", {100}, 5);
    WriteFormsFile({sales, support});

    HWND hWndDlg = nullptr;
    std::vector<std::string> labels;
    int nSelected = -1;
    Rows rows, rowsSecond;
    std::string strName, strUser, strBias, strTip, strUserSecond, strNameSecond;
    bool bWarning = true, bSaveVisible = false, bSaveEnabled = false;
    std::vector<int> buttons;
    const int nResult =
        Run(hWndDlg,
            {[&] {
                 labels = TreeLabels(hWndDlg);
                 nSelected = SelectedTreeIndex(hWndDlg);
                 rows = ListRows(hWndDlg);
                 strName = Text(hWndDlg, IDC_FORM_NAME);
                 strUser = Text(hWndDlg, IDC_FORM_USER);
                 strBias = Text(hWndDlg, IDC_FORM_BIAS);
                 strTip = CellTip(hWndDlg, 0, 2);
                 bWarning = Visible(hWndDlg, IDC_FORM_BIAS_WARNING);
                 bSaveVisible = Visible(hWndDlg, IDOK);
                 bSaveEnabled = Enabled(hWndDlg, IDOK);
                 for (UINT nCommand :
                      {ID_EXPORT_FORMS, ID_IMPORT_FORMS, ID_NEW_SCORE_FORM, ID_SET_SCORE_LOCATION,
                       ID_DELETE_SELECTED, ID_ADD_PREDEFINED_QUESTION, ID_NEW_QUESTION,
                       ID_EDIT_QUESTION, ID_DELETE_QUESTION})
                     buttons.push_back(ButtonEnabled(hWndDlg, nCommand));
                 SaveDialogPng(hWndDlg, "ManageCallScoreForms_first.png");
                 TreeView_SelectItem(::GetDlgItem(hWndDlg, IDC_FORMS_TREE), TreeItem(hWndDlg, 1));
                 return true;
             },
             [&] {
                 rowsSecond = ListRows(hWndDlg);
                 strNameSecond = Text(hWndDlg, IDC_FORM_NAME);
                 strUserSecond = Text(hWndDlg, IDC_FORM_USER);
                 SaveDialogPng(hWndDlg, "ManageCallScoreForms_second.png");
                 Command(hWndDlg, IDCANCEL);
                 return true;
             }});
    EXPECT_EQ(nResult, IDCANCEL);
    EXPECT_EQ(labels, (std::vector<std::string>{"Sales call", "Support & <care>"}));
    EXPECT_EQ(nSelected, 0);
    EXPECT_EQ(strName, "Sales call");
    EXPECT_EQ(rows, (Rows{{"1", "Yes/No", "Did the agent greet the caller?", "60%"},
                          {"2", "Scale", "Rate the close", "40%"}}));
    EXPECT_EQ(strTip, "Did the agent greet the caller?");
    EXPECT_EQ(strUser.rfind("User: jdoe - ", 0), 0u) << strUser;
    EXPECT_NE(strUser.find("2023"), std::string::npos) << strUser;
    EXPECT_EQ(strUser.substr(strUser.size() - 8), " | ID: 4") << strUser;
    // 60 + 40.9 is not 100: the label rounds, the check does not.
    EXPECT_EQ(strBias, "Total Bias: 101%");
    EXPECT_TRUE(bWarning);
    EXPECT_FALSE(bSaveVisible);
    EXPECT_FALSE(bSaveEnabled);
    // A row is selected (the last one added), so every button is on.
    EXPECT_EQ(buttons, std::vector<int>(9, 1));
    EXPECT_EQ(rowsSecond, (Rows{{"1", "Scale", "Q1", "100%"}}));
    EXPECT_EQ(strNameSecond, "Support & <care>");
    EXPECT_EQ(strUserSecond.substr(strUserSecond.size() - 8), " | ID: 9") << strUserSecond;
}

// A new store shows an empty tree and offers only the form commands; a new
// form is "New Form" with the next ID, the logon name and the current time,
// shown at once. Cancel leaves the store as the file holds it.
TEST_F(ManageCallScoreFormsTest, NewFormsInAnEmptyStore) {
    HWND hWndDlg = nullptr;
    std::vector<int> buttonsEmpty, buttonsNew;
    std::vector<std::string> labelsEmpty, labels;
    bool bNameEnabled = true, bListEnabled = true, bWarning = false, bSaveVisible = true,
         bSaveEnabled = true;
    std::string strUser, strBias, strName;
    int nSelected = -1;
    LONG nTime = 0, nBefore = Now();
    std::string strOwner;
    std::vector<LONG> ids;
    const std::vector<UINT> commands = {ID_NEW_SCORE_FORM,          ID_DELETE_SELECTED,
                                        ID_ADD_PREDEFINED_QUESTION, ID_NEW_QUESTION,
                                        ID_EDIT_QUESTION,           ID_DELETE_QUESTION};
    const int nResult =
        Run(hWndDlg, {[&] {
                          labelsEmpty = TreeLabels(hWndDlg);
                          bNameEnabled = Enabled(hWndDlg, IDC_FORM_NAME);
                          bListEnabled = Enabled(hWndDlg, IDC_FORM_QUESTIONS);
                          for (UINT nCommand : commands)
                              buttonsEmpty.push_back(ButtonEnabled(hWndDlg, nCommand));
                          Command(hWndDlg, ID_NEW_SCORE_FORM);
                          return true;
                      },
                      [&] {
                          labels = TreeLabels(hWndDlg);
                          nSelected = SelectedTreeIndex(hWndDlg);
                          strName = Text(hWndDlg, IDC_FORM_NAME);
                          strUser = Text(hWndDlg, IDC_FORM_USER);
                          strBias = Text(hWndDlg, IDC_FORM_BIAS);
                          bWarning = Visible(hWndDlg, IDC_FORM_BIAS_WARNING);
                          bSaveVisible = Visible(hWndDlg, IDOK);
                          bSaveEnabled = Enabled(hWndDlg, IDOK);
                          for (UINT nCommand : commands)
                              buttonsNew.push_back(ButtonEnabled(hWndDlg, nCommand));
                          const CScoreFormEntry* pForm = m_store->FindForm(0);
                          if (pForm != nullptr) {
                              nTime = pForm->GetTime();
                              strOwner = pForm->GetOwner();
                          }
                          SaveDialogPng(hWndDlg, "ManageCallScoreForms_new_form.png");
                          Command(hWndDlg, ID_NEW_SCORE_FORM);
                          for (int i = 0; i < m_store->GetFormCount(); ++i)
                              ids.push_back(m_store->GetFormId(i));
                          Command(hWndDlg, IDCANCEL);
                          return true;
                      }});
    EXPECT_EQ(nResult, IDCANCEL);
    EXPECT_TRUE(labelsEmpty.empty());
    EXPECT_FALSE(bNameEnabled);
    EXPECT_FALSE(bListEnabled);
    EXPECT_EQ(buttonsEmpty, (std::vector<int>{1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(labels, std::vector<std::string>{"New Form"});
    EXPECT_EQ(nSelected, 0);
    EXPECT_EQ(strName, "New Form");
    EXPECT_EQ(strOwner, LogonName());
    EXPECT_GE(nTime, nBefore);
    EXPECT_LE(nTime, Now());
    EXPECT_EQ(strUser.rfind("User: " + LogonName() + " - ", 0), 0u) << strUser;
    EXPECT_EQ(strUser.substr(strUser.size() - 8), " | ID: 0") << strUser;
    EXPECT_EQ(strBias, "Total Bias: 0%");
    EXPECT_TRUE(bWarning);
    EXPECT_FALSE(bSaveVisible);
    EXPECT_FALSE(bSaveEnabled);
    EXPECT_EQ(buttonsNew, (std::vector<int>{1, 1, 1, 1, 0, 0}));
    EXPECT_EQ(ids, (std::vector<LONG>{0, 1}));
    EXPECT_EQ(m_store->GetFormCount(), 0);
}

// A form kept without owner or creation time gets the logon name and the
// current time when it is shown, and keeps them.
TEST_F(ManageCallScoreFormsTest, FormWithoutTimeOrOwnerGetsThemWhenShown) {
    CScoreFormEntry form = MakeForm(2, "Old form", {100});
    form.SetTime(0);
    form.SetOwner("");
    WriteFormsFile({form});
    HWND hWndDlg = nullptr;
    LONG nTime = 0, nBefore = Now();
    std::string strOwner, strUser;
    const int nResult = Run(hWndDlg, {[&] {
                                const CScoreFormEntry* pForm = m_store->FindForm(2);
                                if (pForm != nullptr) {
                                    nTime = pForm->GetTime();
                                    strOwner = pForm->GetOwner();
                                }
                                strUser = Text(hWndDlg, IDC_FORM_USER);
                                Command(hWndDlg, IDOK);
                                return true;
                            }});
    EXPECT_EQ(nResult, IDOK);
    EXPECT_GE(nTime, nBefore);
    EXPECT_LE(nTime, Now());
    EXPECT_EQ(strOwner, LogonName());
    EXPECT_EQ(strUser.rfind("User: " + LogonName() + " - ", 0), 0u) << strUser;
    m_store->Clear();
    ASSERT_TRUE(m_store->Load(GetScoreFormsFilePath()));
    ASSERT_NE(m_store->FindForm(2), nullptr);
    EXPECT_EQ(m_store->FindForm(2)->GetTime(), nTime);
}

// The total of the shown form decides: exactly 100 shows Save Changes, which
// saves and closes; anything else shows the warning and hides and disables
// Save Changes, and Save Changes (as Enter sends it) leaves the dialog open.
TEST_F(ManageCallScoreFormsTest, BiasTotalDecidesWhetherSaveChangesSaves) {
    struct SCase {
        std::vector<double> biases;
        const char* pszLabel;
        bool bBalanced;
    };
    const SCase cases[] = {
        {{50, 40}, "Total Bias: 90%", false},         {{50, 50}, "Total Bias: 100%", true},
        {{25, 25, 25, 25}, "Total Bias: 100%", true}, {{33, 33, 33}, "Total Bias: 99%", false},
        {{100, 10}, "Total Bias: 110%", false},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.pszLabel);
        SetUp();
        WriteFormsFile({MakeForm(1, "Form", c.biases)});
        const std::string before = ReadWholeFile(std::string(GetScoreFormsFilePath()));
        HWND hWndDlg = nullptr;
        std::string strBias;
        bool bWarning = !c.bBalanced, bSaveVisible = c.bBalanced, bSaveEnabled = c.bBalanced,
             bOpenAfterSave = false;
        const int nResult = Run(hWndDlg, {[&] {
                                    strBias = Text(hWndDlg, IDC_FORM_BIAS);
                                    bWarning = Visible(hWndDlg, IDC_FORM_BIAS_WARNING);
                                    bSaveVisible = Visible(hWndDlg, IDOK);
                                    bSaveEnabled = Enabled(hWndDlg, IDOK);
                                    if (!c.bBalanced && c.biases.size() == 2 && c.biases[0] == 50)
                                        SaveDialogPng(hWndDlg, "ManageCallScoreForms_bias90.png");
                                    // Renamed, so that a save would change the file.
                                    m_store->FindForm(1)->SetTitle("Changed");
                                    Command(hWndDlg, IDOK);
                                    // A dialog that ends stays on screen until its
                                    // loop returns: only the one that must stay open
                                    // is looked at.
                                    if (!c.bBalanced) {
                                        smalldlg::PumpTranslated(100);
                                        bOpenAfterSave = ::IsWindowVisible(hWndDlg) != FALSE;
                                        Command(hWndDlg, IDCANCEL);
                                    }
                                    return true;
                                }});
        EXPECT_EQ(nResult, c.bBalanced ? IDOK : IDCANCEL);
        EXPECT_EQ(strBias, c.pszLabel);
        EXPECT_EQ(bWarning, !c.bBalanced);
        EXPECT_EQ(bSaveVisible, c.bBalanced);
        EXPECT_EQ(bSaveEnabled, c.bBalanced);
        if (!c.bBalanced) {
            EXPECT_TRUE(bOpenAfterSave);
        }
        const std::string after = ReadWholeFile(std::string(GetScoreFormsFilePath()));
        EXPECT_EQ(after == before, !c.bBalanced);
        EXPECT_EQ(after.find("<Title>Changed</Title>") != std::string::npos, c.bBalanced);
        EXPECT_TRUE(theApp.m_prompts.empty());
    }
}

// Save Changes looks at every form: one that does not add up to 100 is
// selected and shown instead, with its warning, and nothing is written.
TEST_F(ManageCallScoreFormsTest, SaveChangesShowsTheFormWhoseBiasesDoNotAddUp) {
    const std::vector<std::vector<double>> unbalanced = {{50, 40}, {}};
    for (const auto& biases : unbalanced) {
        SCOPED_TRACE(biases.size());
        SetUp();
        WriteFormsFile({MakeForm(1, "Balanced", {100}), MakeForm(2, "Balanced too", {60, 40}),
                        MakeForm(3, "Unbalanced", {10})});
        const std::string before = ReadWholeFile(std::string(GetScoreFormsFilePath()));
        HWND hWndDlg = nullptr;
        int nSelected = -1;
        std::string strName;
        bool bWarning = false, bOpen = false;
        Run(hWndDlg, {[&] {
                          // The third form as the test wants it: a form the
                          // file cannot hold (no questions) or 90 percent.
                          CScoreFormEntry* pForm = m_store->FindForm(3);
                          pForm->RemoveAllQuestions();
                          for (double bias : biases)
                              pForm->AddQuestion(MakeQuestion(7, "Q", CQuestion::TYPE_SCALE, bias));
                          Command(hWndDlg, IDOK);
                          return true;
                      },
                      [&] {
                          bOpen = ::IsWindowVisible(hWndDlg) != FALSE;
                          nSelected = SelectedTreeIndex(hWndDlg);
                          strName = Text(hWndDlg, IDC_FORM_NAME);
                          bWarning = Visible(hWndDlg, IDC_FORM_BIAS_WARNING);
                          Command(hWndDlg, IDCANCEL);
                          return true;
                      }});
        EXPECT_TRUE(bOpen);
        EXPECT_EQ(nSelected, 2);
        EXPECT_EQ(strName, "Unbalanced");
        EXPECT_TRUE(bWarning);
        EXPECT_EQ(ReadWholeFile(std::string(GetScoreFormsFilePath())), before);
    }
}

// A form is renamed by editing its tree label. Save Changes during the edit
// only ends it, keeping the text; an empty text changes nothing. Save
// Changes then writes the title; Cancel reloads the file's.
TEST_F(ManageCallScoreFormsTest, RenamingByLabelEditIsSavedOrCancelled) {
    struct SCase {
        const char* pszTyped;
        int nEnd;
        const char* pszTitle; // in the file afterwards
    };
    const SCase cases[] = {{"Renamed & <checked>", IDOK, "Renamed & <checked>"},
                           {"Renamed", IDCANCEL, "Sales call"},
                           {"", IDOK, "Sales call"}};
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.pszTyped);
        SetUp();
        WriteFormsFile({MakeForm(1, "Sales call", {100})});
        HWND hWndDlg = nullptr;
        bool bOpenAfterEnd = false;
        std::string strLabel, strName;
        const int nResult =
            Run(hWndDlg, {[&] {
                              HWND hWndTree = ::GetDlgItem(hWndDlg, IDC_FORMS_TREE);
                              ::SetFocus(hWndTree);
                              HWND hWndEdit = reinterpret_cast<HWND>(::SendMessageA(
                                  hWndTree, TVM_EDITLABELA, 0,
                                  reinterpret_cast<LPARAM>(TreeView_GetRoot(hWndTree))));
                              if (hWndEdit == nullptr)
                                  return false;
                              ::SetWindowTextA(hWndEdit, c.pszTyped);
                              // Ends the edit only: the text is kept.
                              Command(hWndDlg, IDOK);
                              bOpenAfterEnd = ::IsWindowVisible(hWndDlg) != FALSE;
                              return true;
                          },
                          [&] {
                              strLabel = TreeLabels(hWndDlg)[0];
                              strName = Text(hWndDlg, IDC_FORM_NAME);
                              Command(hWndDlg, c.nEnd);
                              return true;
                          }});
        EXPECT_EQ(nResult, c.nEnd);
        EXPECT_TRUE(bOpenAfterEnd);
        const std::string strShown = c.pszTyped[0] != '\0' ? c.pszTyped : "Sales call";
        EXPECT_EQ(strLabel, strShown);
        EXPECT_EQ(strName, strShown);
        EXPECT_EQ(StoredTitles(), std::vector<std::string>{c.pszTitle});
        m_store->Clear();
        ASSERT_TRUE(m_store->Load(GetScoreFormsFilePath()));
        EXPECT_EQ(StoredTitles(), std::vector<std::string>{c.pszTitle});
    }
}

// Escape while a label is edited cancels the edit, not the dialog.
TEST_F(ManageCallScoreFormsTest, CancelDuringLabelEditCancelsTheEditOnly) {
    WriteFormsFile({MakeForm(1, "Sales call", {100})});
    HWND hWndDlg = nullptr;
    bool bOpen = false;
    std::string strLabel;
    Run(hWndDlg, {[&] {
            HWND hWndTree = ::GetDlgItem(hWndDlg, IDC_FORMS_TREE);
            ::SetFocus(hWndTree);
            HWND hWndEdit = reinterpret_cast<HWND>(::SendMessageA(
                hWndTree, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(TreeView_GetRoot(hWndTree))));
            if (hWndEdit == nullptr)
                return false;
            ::SetWindowTextA(hWndEdit, "Not kept");
            Command(hWndDlg, IDCANCEL);
            bOpen = ::IsWindowVisible(hWndDlg) != FALSE;
            strLabel = TreeLabels(hWndDlg)[0];
            Command(hWndDlg, IDCANCEL);
            return true;
        }});
    EXPECT_TRUE(bOpen);
    EXPECT_EQ(strLabel, "Sales call");
}

// Deleting a form asks first; Yes removes it from the tree and the store.
TEST_F(ManageCallScoreFormsTest, DeletingAFormAsksFirst) {
    for (int nAnswer : {IDNO, IDYES}) {
        SCOPED_TRACE(nAnswer);
        SetUp();
        WriteFormsFile({MakeForm(1, "First", {100}), MakeForm(2, "Second", {100})});
        theApp.m_answers.push_back(nAnswer);
        HWND hWndDlg = nullptr;
        std::vector<std::string> labels;
        std::vector<std::string> titles;
        Run(hWndDlg, {[&] {
                Command(hWndDlg, ID_DELETE_SELECTED);
                labels = TreeLabels(hWndDlg);
                titles = StoredTitles();
                Command(hWndDlg, IDCANCEL);
                return true;
            }});
        ASSERT_EQ(theApp.m_prompts.size(), 1u);
        EXPECT_EQ(theApp.m_prompts[0], "Are you sure you want to remove selected item(s)?");
        EXPECT_EQ(theApp.m_icons[0], static_cast<UINT>(MB_ICONEXCLAMATION));
        const std::vector<std::string> expected = nAnswer == IDYES
                                                      ? std::vector<std::string>{"Second"}
                                                      : std::vector<std::string>{"First", "Second"};
        EXPECT_EQ(labels, expected);
        EXPECT_EQ(titles, expected);
    }
}

// Deleting question 2 of 4 asks first, then renumbers the rows below it;
// their tooltips move with them.
TEST_F(ManageCallScoreFormsTest, DeletingAQuestionRenumbersTheRows) {
    for (int nAnswer : {IDNO, IDYES}) {
        SCOPED_TRACE(nAnswer);
        SetUp();
        WriteFormsFile({MakeForm(1, "Form", {25, 25, 25, 25})});
        theApp.m_answers.push_back(nAnswer);
        HWND hWndDlg = nullptr;
        Rows rows;
        std::string strTip, strBias;
        int nQuestions = 0;
        Run(hWndDlg, {[&] {
                SelectRow(hWndDlg, 1);
                Command(hWndDlg, ID_DELETE_QUESTION);
                rows = ListRows(hWndDlg);
                strTip = CellTip(hWndDlg, 1, 2);
                strBias = Text(hWndDlg, IDC_FORM_BIAS);
                nQuestions = m_store->FindForm(1)->GetQuestionCount();
                Command(hWndDlg, IDCANCEL);
                return true;
            }});
        ASSERT_EQ(theApp.m_prompts.size(), 1u);
        EXPECT_EQ(theApp.m_prompts[0], "Are you sure you want to remove selected item(s)?");
        if (nAnswer == IDYES) {
            EXPECT_EQ(rows, (Rows{{"1", "Scale", "Q1", "25%"},
                                  {"2", "Scale", "Q3", "25%"},
                                  {"3", "Scale", "Q4", "25%"}}));
            EXPECT_EQ(strTip, "Q3");
            EXPECT_EQ(strBias, "Total Bias: 75%");
            EXPECT_EQ(nQuestions, 3);
        } else {
            EXPECT_EQ(rows.size(), 4u);
            EXPECT_EQ(strTip, "Q2");
            EXPECT_EQ(nQuestions, 4);
        }
    }
}

// The file dialog's name box (an edit, or the edit inside a combo box).
HWND FileNameBox(HWND hWndFileDlg) {
    for (int nID : {0x47c, 0x480}) {
        HWND hWnd = ::GetDlgItem(hWndFileDlg, nID);
        if (hWnd == nullptr)
            continue;
        HWND hWndEdit = ::FindWindowExA(hWnd, nullptr, "Edit", nullptr);
        return hWndEdit != nullptr ? hWndEdit : hWnd;
    }
    return nullptr;
}

// Steps that answer the file dialog the command opens with the path.
std::vector<CUiScript::Step> AnswerFileDialog(HWND& hWndDlg, HWND& hWndFileDlg,
                                              const std::string& strPath) {
    return {[&] { return (hWndFileDlg = FindThreadDialog(hWndDlg)) != nullptr; },
            [&, strPath] {
                HWND hWndName = FileNameBox(hWndFileDlg);
                if (hWndName == nullptr)
                    return false;
                ::SetWindowTextA(hWndName, strPath.c_str());
                ::PostMessageA(hWndFileDlg, WM_COMMAND, IDOK, 0);
                return true;
            },
            [&] { return !::IsWindow(hWndFileDlg) && theApp.m_prompts.size() == 1; }};
}

std::vector<CUiScript::Step> Join(std::vector<std::vector<CUiScript::Step>> parts) {
    std::vector<CUiScript::Step> steps;
    for (auto& part : parts)
        steps.insert(steps.end(), part.begin(), part.end());
    return steps;
}

// A form holds ten questions: the eleventh is refused with a message, before
// any dialog opens.
TEST_F(ManageCallScoreFormsTest, EleventhQuestionIsRefused) {
    for (UINT nCommand : {ID_NEW_QUESTION, ID_ADD_PREDEFINED_QUESTION}) {
        SCOPED_TRACE(nCommand);
        SetUp();
        WriteFormsFile({MakeForm(1, "Full", std::vector<double>(10, 10.0))});
        HWND hWndDlg = nullptr;
        HWND hWndOther = nullptr;
        size_t nRows = 0;
        Run(hWndDlg, {[&] {
                          PostCommand(hWndDlg, nCommand);
                          return true;
                      },
                      [&] {
                          if (theApp.m_prompts.empty())
                              return false;
                          smalldlg::PumpTranslated(200);
                          hWndOther = FindThreadDialog(hWndDlg);
                          nRows = ListRows(hWndDlg).size();
                          Command(hWndDlg, IDCANCEL);
                          return true;
                      }});
        ASSERT_EQ(theApp.m_prompts.size(), 1u);
        EXPECT_EQ(theApp.m_prompts[0], "Only 10 questions can be included in one form.");
        EXPECT_EQ(theApp.m_icons[0], static_cast<UINT>(MB_ICONEXCLAMATION));
        EXPECT_EQ(hWndOther, nullptr);
        EXPECT_EQ(nRows, 10u);
        EXPECT_EQ(m_store->GetFormCount(), 1);
        EXPECT_EQ(m_store->FindForm(1)->GetQuestionCount(), 10);
    }
}

// A new question is edited first; on OK it gets the form's next local ID:
// 10000, or one more than the highest ID from 10000 up. Cancel adds nothing.
TEST_F(ManageCallScoreFormsTest, NewQuestionsGetTheNextLocalID) {
    struct SCase {
        LONG nFirstId; // of the form's two questions
        int nEnd;
        LONG nExpected; // the new question's ID; -1 none added
    };
    const SCase cases[] = {
        {3, IDOK, 10000}, {10004, IDOK, 10006}, {9999, IDOK, 10001}, {3, IDCANCEL, -1}};
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.nFirstId);
        SetUp();
        WriteFormsFile({MakeForm(1, "Form", {30, 40}, c.nFirstId)});
        HWND hWndDlg = nullptr, hWndEditor = nullptr;
        Rows rows;
        std::string strBias;
        bool bSaveVisible = false;
        Run(hWndDlg, {[&] {
                          PostCommand(hWndDlg, ID_NEW_QUESTION);
                          return true;
                      },
                      [&] { return (hWndEditor = FindThreadDialog(hWndDlg)) != nullptr; },
                      [&] {
                          ::SetDlgItemTextA(hWndEditor, IDC_QUESTION_PROMPT,
                                            "Was the caller thanked?");
                          ::SetDlgItemTextA(hWndEditor, IDC_QUESTION_BIAS, "30");
                          ::PostMessageA(hWndEditor, WM_COMMAND, c.nEnd, 0);
                          return true;
                      },
                      [&] {
                          if (::IsWindow(hWndEditor))
                              return false;
                          rows = ListRows(hWndDlg);
                          strBias = Text(hWndDlg, IDC_FORM_BIAS);
                          bSaveVisible = Visible(hWndDlg, IDOK);
                          if (c.nExpected == 10006)
                              SaveDialogPng(hWndDlg, "ManageCallScoreForms_new_question.png");
                          // Without the new question the biases do not add up to 100,
                          // and Save Changes would keep the dialog open.
                          Command(hWndDlg, c.nExpected < 0 ? IDCANCEL : IDOK);
                          return true;
                      }});
        const CScoreFormEntry* pForm = m_store->FindForm(1);
        ASSERT_NE(pForm, nullptr);
        if (c.nExpected < 0) {
            EXPECT_EQ(rows.size(), 2u);
            EXPECT_EQ(pForm->GetQuestionCount(), 2);
            EXPECT_EQ(strBias, "Total Bias: 70%");
            continue;
        }
        ASSERT_EQ(rows.size(), 3u);
        EXPECT_EQ(rows[2],
                  (std::vector<std::string>{"3", "Scale", "Was the caller thanked?", "30%"}));
        EXPECT_EQ(strBias, "Total Bias: 100%");
        EXPECT_TRUE(bSaveVisible);
        ASSERT_EQ(pForm->GetQuestionCount(), 3);
        EXPECT_EQ(pForm->GetQuestion(2)->GetID(), c.nExpected);
    }
}

// A double click on a row edits its question in place; the row follows.
TEST_F(ManageCallScoreFormsTest, DoubleClickEditsTheQuestionOfTheRow) {
    WriteFormsFile({MakeForm(1, "Form", {50, 40})});
    HWND hWndDlg = nullptr, hWndEditor = nullptr;
    Rows rows;
    std::string strBias;
    Run(hWndDlg, {[&] {
                      NMITEMACTIVATE activate = {};
                      activate.hdr.hwndFrom = ::GetDlgItem(hWndDlg, IDC_FORM_QUESTIONS);
                      activate.hdr.idFrom = IDC_FORM_QUESTIONS;
                      activate.hdr.code = NM_DBLCLK;
                      activate.iItem = 1;
                      // Posted through a nested step: the editor's loop must
                      // not run inside this one.
                      static NMITEMACTIVATE s_activate;
                      s_activate = activate;
                      ::PostMessageA(hWndDlg, WM_NOTIFY, IDC_FORM_QUESTIONS,
                                     reinterpret_cast<LPARAM>(&s_activate));
                      return true;
                  },
                  [&] { return (hWndEditor = FindThreadDialog(hWndDlg)) != nullptr; },
                  [&] {
                      ::SetDlgItemTextA(hWndEditor, IDC_QUESTION_PROMPT, "Closed the sale?");
                      ::SetDlgItemTextA(hWndEditor, IDC_QUESTION_BIAS, "50");
                      ::SendMessageA(::GetDlgItem(hWndEditor, IDC_QUESTION_TYPE_YESNO), BM_CLICK, 0,
                                     0);
                      ::PostMessageA(hWndEditor, WM_COMMAND, IDOK, 0);
                      return true;
                  },
                  [&] {
                      if (::IsWindow(hWndEditor))
                          return false;
                      rows = ListRows(hWndDlg);
                      strBias = Text(hWndDlg, IDC_FORM_BIAS);
                      Command(hWndDlg, IDCANCEL);
                      return true;
                  }});
    EXPECT_EQ(rows,
              (Rows{{"1", "Scale", "Q1", "50%"}, {"2", "Yes/No", "Closed the sale?", "50%"}}));
    EXPECT_EQ(strBias, "Total Bias: 100%");
}

// A predefined question is copied with its repository ID, prompt, type and
// bias; a question the form holds already is refused.
TEST_F(ManageCallScoreFormsTest, PredefinedQuestionIsAddedOnce) {
    CQuestionRepository* pRepository = CQuestionRepository::GetInstance();
    pRepository->Clear();
    CQuestionRepository::QUESTION_ENTRY group;
    group.ID = 0;
    group.GroupName = "Courtesy";
    group.IsGroup = 1;
    ASSERT_TRUE(pRepository->Add(group));
    CQuestionRepository::QUESTION_ENTRY entry;
    entry.ID = 7;
    entry.ParentID = 0;
    entry.GroupName = "Was the caller verified?";
    entry.IsGroup = 0;
    entry.Question = MakeQuestion(7, "Was the caller verified?", CQuestion::TYPE_YESNO, 20);
    ASSERT_TRUE(pRepository->Add(entry));
    ASSERT_TRUE(pRepository->Save(GetQuestionsFilePath()));
    pRepository->Clear();
    WriteFormsFile({MakeForm(1, "Form", {80})});

    HWND hWndDlg = nullptr, hWndPicker = nullptr;
    Rows rowsOnce, rowsTwice;
    int nPicks = 0;
    std::vector<CUiScript::Step> pick = {
        [&] {
            PostCommand(hWndDlg, ID_ADD_PREDEFINED_QUESTION);
            return true;
        },
        [&] { return (hWndPicker = FindThreadDialog(hWndDlg)) != nullptr; },
        [&] {
            HWND hWndTree = ::GetDlgItem(hWndPicker, IDC_PREDEFINED_TREE);
            HTREEITEM hGroup = TreeView_GetRoot(hWndTree);
            HTREEITEM hQuestion = hGroup != nullptr ? TreeView_GetChild(hWndTree, hGroup) : nullptr;
            if (hQuestion == nullptr)
                return false;
            TreeView_SelectItem(hWndTree, hQuestion);
            ::PostMessageA(hWndPicker, WM_COMMAND, IDOK, 0);
            return true;
        },
        [&] {
            if (::IsWindow(hWndPicker))
                return false;
            (++nPicks == 1 ? rowsOnce : rowsTwice) = ListRows(hWndDlg);
            return true;
        }};
    std::vector<CUiScript::Step> steps = Join({pick, pick});
    steps.push_back([&] {
        Command(hWndDlg, IDCANCEL);
        return true;
    });
    Run(hWndDlg, steps);
    const Rows expected = {{"1", "Scale", "Q1", "80%"},
                           {"2", "Yes/No", "Was the caller verified?", "20%"}};
    EXPECT_EQ(rowsOnce, expected);
    EXPECT_EQ(rowsTwice, expected);
    ASSERT_EQ(theApp.m_prompts.size(), 1u);
    EXPECT_EQ(theApp.m_prompts[0], "This question is already in the form.");
    EXPECT_EQ(theApp.m_icons[0], static_cast<UINT>(MB_ICONEXCLAMATION));
}

// Export writes every form to the chosen file and says so; the file reads
// back as the same forms.
TEST_F(ManageCallScoreFormsTest, ExportWritesTheFormsToTheChosenFile) {
    CTempFolder folder;
    const std::string strPath = folder.File("Exported forms.xml");
    WriteFormsFile({MakeForm(1, "Sales & <support>", {100}), MakeForm(2, "Second", {50, 50})});
    HWND hWndDlg = nullptr, hWndFileDlg = nullptr;
    std::vector<CUiScript::Step> steps = Join({{[&] {
                                                   PostCommand(hWndDlg, ID_EXPORT_FORMS);
                                                   return true;
                                               }},
                                               AnswerFileDialog(hWndDlg, hWndFileDlg, strPath),
                                               {[&] {
                                                   Command(hWndDlg, IDCANCEL);
                                                   return true;
                                               }}});
    Run(hWndDlg, steps);
    ASSERT_EQ(theApp.m_prompts.size(), 1u);
    EXPECT_EQ(theApp.m_prompts[0],
              "Call Score Forms exports successfully into the file: " + strPath);
    EXPECT_EQ(theApp.m_icons[0], static_cast<UINT>(MB_ICONINFORMATION));
    m_store->Clear();
    ASSERT_TRUE(m_store->Load(strPath.c_str()));
    EXPECT_EQ(StoredTitles(), (std::vector<std::string>{"Sales & <support>", "Second"}));
}

// Import replaces the forms in memory only: Cancel brings back the file's.
// A file that does not parse is reported and costs none of the forms held,
// unsaved ones included.
TEST_F(ManageCallScoreFormsTest, ImportReplacesTheFormsOrKeepsThemOnFailure) {
    CTempFolder folder;
    const std::string strGood = folder.File("good.xml");
    const std::string strBad = folder.File("bad.xml");
    WriteFormsFile({MakeForm(5, "Imported one", {100}), MakeForm(6, "Imported two", {100})},
                   strGood);
    ASSERT_TRUE(WriteWholeFile(strBad, "<FormData GlobalID=3><Entry><ID>1</I"));
    struct SCase {
        std::string strPath;
        std::string strPrompt;
        UINT nIcon;
        std::vector<std::string> labels;
    };
    const SCase cases[] = {
        {strGood,
         "Call Score Forms imports successfully from the file: " + strGood,
         MB_ICONINFORMATION,
         {"Imported one", "Imported two"}},
        {strBad,
         "Failed to import forms from the file: " + strBad,
         MB_ICONEXCLAMATION,
         {"Held", "New Form"}},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(c.strPath);
        SetUp();
        WriteFormsFile({MakeForm(1, "Held", {100})});
        HWND hWndDlg = nullptr, hWndFileDlg = nullptr;
        std::vector<std::string> labels;
        std::vector<CUiScript::Step> steps =
            Join({{[&] {
                      Command(hWndDlg, ID_NEW_SCORE_FORM);
                      PostCommand(hWndDlg, ID_IMPORT_FORMS);
                      return true;
                  }},
                  AnswerFileDialog(hWndDlg, hWndFileDlg, c.strPath),
                  {[&] {
                      labels = TreeLabels(hWndDlg);
                      Command(hWndDlg, IDCANCEL);
                      return true;
                  }}});
        Run(hWndDlg, steps);
        ASSERT_EQ(theApp.m_prompts.size(), 1u);
        EXPECT_EQ(theApp.m_prompts[0], c.strPrompt);
        EXPECT_EQ(theApp.m_icons[0], c.nIcon);
        EXPECT_EQ(labels, c.labels);
        EXPECT_EQ(StoredTitles(), std::vector<std::string>{"Held"});
    }
}

// A new location from the settings dialog: the forms are read from there
// (none when it holds no file) and the scores go to its folder.
TEST_F(ManageCallScoreFormsTest, NewLocationReadsTheFormsKeptThere) {
    for (bool bFileThere : {true, false}) {
        SCOPED_TRACE(bFileThere);
        SetUp();
        WriteFormsFile({MakeForm(1, "Shared form", {100})});
        const std::string strUserFile =
            std::string(CSettings::GetConfigFilePath(FALSE, "scoreforms.xml"));
        ::DeleteFileA(strUserFile.c_str());
        if (bFileThere)
            WriteFormsFile({MakeForm(4, "Personal form", {100})}, strUserFile);
        HWND hWndDlg = nullptr, hWndSettings = nullptr;
        std::vector<std::string> labelsBefore, labels;
        std::string strName;
        int nSelected = -1;
        Run(hWndDlg, {[&] {
                          labelsBefore = TreeLabels(hWndDlg);
                          PostCommand(hWndDlg, ID_SET_SCORE_LOCATION);
                          return true;
                      },
                      [&] { return (hWndSettings = FindThreadDialog(hWndDlg)) != nullptr; },
                      [&] {
                          ::SendMessageA(::GetDlgItem(hWndSettings, IDC_FORMS_LOCATION_USER),
                                         BM_CLICK, 0, 0);
                          ::SendMessageA(::GetDlgItem(hWndSettings, IDC_SCORES_LOCATION_USER),
                                         BM_CLICK, 0, 0);
                          ::PostMessageA(hWndSettings, WM_COMMAND, IDOK, 0);
                          return true;
                      },
                      [&] {
                          if (::IsWindow(hWndSettings))
                              return false;
                          labels = TreeLabels(hWndDlg);
                          nSelected = SelectedTreeIndex(hWndDlg);
                          strName = Text(hWndDlg, IDC_FORM_NAME);
                          Command(hWndDlg, IDCANCEL);
                          return true;
                      }});
        EXPECT_EQ(labelsBefore, std::vector<std::string>{"Shared form"});
        EXPECT_EQ(std::string(m_store->GetFolder()),
                  std::string(CSettings::GetConfigFilePath(FALSE, "")));
        if (bFileThere) {
            EXPECT_EQ(labels, std::vector<std::string>{"Personal form"});
            EXPECT_EQ(nSelected, 0);
            EXPECT_EQ(strName, "Personal form");
        } else {
            EXPECT_TRUE(labels.empty());
            EXPECT_EQ(strName, "");
        }
    }
}

} // namespace
