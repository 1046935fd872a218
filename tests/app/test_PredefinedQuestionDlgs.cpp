// Tests of the two dialogs over the question repository: the editor shows the
// editable tree under its toolbar, OK writes "questions.xml" (a failed write
// keeps it open), Cancel brings back what the file holds; the picker shows
// the read-only tree, enables OK only for a question, hands out the stored
// question itself and closes on a double click of a question only; whichever
// opens first loads the file once. Each test runs the dialog modally, driven
// by a script from a timer. Screenshots: predefined-editor.png,
// predefined-picker.png.
#include "native/gtest.h"

#include "PredefinedQuestionDlgs.h"
#include "QuestionsRes.h"
#include "ScoringRes.h"
#include "tests/app/QuestionsTreeFixture.h"

#include "tests/support/AnsweringApp.h"
#include "tests/support/Canvas.h"
#include "tests/support/SyntheticInput.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UiScript.h"

#include <string>

namespace {

CAnsweringApp theApp;

class PredefinedQuestionDlgsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_host.Make(CRect(40, 40, 500, 560)));
        theApp.m_prompts.clear();
        theApp.m_answers.clear();
    }
    void TearDown() override { m_host.Unmake(); }

    // The sample written to "questions.xml", and the repository emptied and
    // not loaded, as at the start of a run.
    void WriteSampleFile() {
        CQuestionRepository* pRepository = CQuestionRepository::GetInstance();
        CQuestionsTestFolders::FillSample();
        ASSERT_TRUE(pRepository->Save(CQuestionsTestFolders::QuestionsFile().c_str()));
        pRepository->Clear();
    }
    template <class TDlg> INT_PTR Run(TDlg& dlg, const std::function<void(TDlg&)>& atOpen) {
        INT_PTR nResult = -2;
        WithDialog(
            IDC_PREDEFINED_TREE, [&](HWND) { atOpen(dlg); }, [&] { nResult = dlg.DoModal(); });
        return nResult;
    }

    CQuestionsTestFolders m_folders;
    CQuestionsHostWnd m_host;
};

TEST_F(PredefinedQuestionDlgsTest, TheEditorShowsTheWholeRepositoryUnderItsToolbarScreen) {
    WriteSampleFile();
    CEditPredefinedQuestionsDlg dlg(&m_host);
    std::string outline;
    int nButtons = 0;
    bool bPlaceholderHidden = false;
    EXPECT_EQ(IDCANCEL, Run<CEditPredefinedQuestionsDlg>(dlg, [&](CEditPredefinedQuestionsDlg& d) {
                  CQuestionsTree& tree = d.GetQuestionsWindow().GetQuestionsTree();
                  outline = TreeOutline(tree);
                  nButtons = static_cast<int>(
                      d.GetQuestionsWindow().GetToolbar().SendMessage(TB_BUTTONCOUNT));
                  bPlaceholderHidden = !d.GetDlgItem(IDC_PREDEFINED_TREE)->IsWindowVisible();
                  // The buttons follow the marks at each pass of the modal loop.
                  tree.SelectItem(FindQuestionItem(tree, "Offer"));
                  tree.DeselectAll();
                  tree.SetItemSelected(FindQuestionItem(tree, "Offer"), TRUE);
                  EXPECT_TRUE(d.ContinueModal());
                  Settle(300);
                  EXPECT_TRUE(d.GetQuestionsWindow().GetToolbar().SendMessage(TB_ISBUTTONENABLED,
                                                                              ID_EDIT_QUESTION));
                  CRect rect;
                  d.GetWindowRect(&rect);
                  EXPECT_TRUE(SaveScreenPng(rect, "predefined-editor.png"));
                  tree.DeselectAll();
                  d.ContinueModal();
                  EXPECT_FALSE(d.GetQuestionsWindow().GetToolbar().SendMessage(TB_ISBUTTONENABLED,
                                                                               ID_EDIT_QUESTION));
                  d.PostMessage(WM_COMMAND, IDCANCEL);
              }));
    EXPECT_EQ("Call Quality(Greeting,Sales(Offer,Closing)),Other", outline);
    EXPECT_EQ(9, nButtons);
    EXPECT_TRUE(bPlaceholderHidden);
}

TEST_F(PredefinedQuestionDlgsTest, CancelBringsBackTheFileAndOkWritesTheChanges) {
    const std::string importFile = m_folders.TempFile("more.xml");
    AddQuestionEntry(20, -1, "Imported", 0);
    ASSERT_TRUE(CQuestionRepository::GetInstance()->Save(importFile.c_str()));
    CQuestionRepository::GetInstance()->Clear();
    WriteSampleFile();
    const char* kChanged = "Call Quality(Greeting,Sales(Offer,Closing)),Other(Team),Imported";
    for (UINT nButton : {IDCANCEL, IDOK}) {
        CEditPredefinedQuestionsDlg dlg(&m_host);
        EXPECT_EQ(nButton,
                  Run<CEditPredefinedQuestionsDlg>(dlg, [&](CEditPredefinedQuestionsDlg& d) {
                      CQuestionsTree& tree = d.GetQuestionsWindow().GetQuestionsTree();
                      tree.AddGroup(FindQuestionItem(tree, "Other"), "Team", 30, FALSE);
                      tree.ImportRepositoryFrom(importFile.c_str());
                      EXPECT_EQ(kChanged, RepositoryOutline());
                      d.PostMessage(WM_COMMAND, nButton);
                  }));
        EXPECT_EQ(nButton == IDOK ? kChanged : "Call Quality(Greeting,Sales(Offer,Closing)),Other",
                  RepositoryOutline());
    }
    // What OK wrote is what the file gives back.
    CQuestionRepository::GetInstance()->Clear();
    ASSERT_TRUE(
        CQuestionRepository::GetInstance()->Load(CQuestionsTestFolders::QuestionsFile().c_str()));
    EXPECT_EQ(kChanged, RepositoryOutline());
}

TEST_F(PredefinedQuestionDlgsTest, AnOkThatCannotWriteTheFileSaysSoAndStaysOpen) {
    WriteSampleFile();
    CEditPredefinedQuestionsDlg dlg(&m_host);
    bool bStillOpen = false;
    EXPECT_EQ(IDCANCEL, Run<CEditPredefinedQuestionsDlg>(dlg, [&](CEditPredefinedQuestionsDlg& d) {
                  // A folder where the file should be: it cannot be replaced.
                  const std::string file = CQuestionsTestFolders::QuestionsFile();
                  ::DeleteFileA(file.c_str());
                  ::CreateDirectoryA(file.c_str(), nullptr);
                  d.SendMessage(WM_COMMAND, IDOK);
                  bStillOpen = d.IsWindowVisible() != FALSE;
                  ::RemoveDirectoryA(file.c_str());
                  d.PostMessage(WM_COMMAND, IDCANCEL);
              }));
    EXPECT_TRUE(bStillOpen);
    ASSERT_EQ(1u, theApp.m_prompts.size());
    EXPECT_EQ("Failed to save questions repository into the file: " +
                  CQuestionsTestFolders::QuestionsFile(),
              theApp.m_prompts[0]);
}

TEST_F(PredefinedQuestionDlgsTest, ThePickerEnablesOkForAQuestionAndHandsOutTheStoredOneScreen) {
    WriteSampleFile();
    CSelectPredefinedQuestionDlg dlg(&m_host);
    std::string caption, outline;
    bool bOkAtStart = true, bOkOnGroup = true, bOkOnQuestion = false;
    BOOL bEditable = TRUE;
    EXPECT_EQ(IDOK, Run<CSelectPredefinedQuestionDlg>(dlg, [&](CSelectPredefinedQuestionDlg& d) {
                  CQuestionsTree& tree = d.GetTree();
                  char szCaption[128] = "";
                  d.GetWindowText(szCaption, sizeof szCaption);
                  caption = szCaption;
                  outline = TreeOutline(tree);
                  bEditable = tree.Editable;
                  CWnd* pOK = d.GetDlgItem(IDOK);
                  bOkAtStart = pOK->IsWindowEnabled() != FALSE;
                  tree.SelectItem(FindQuestionItem(tree, "Sales"));
                  bOkOnGroup = pOK->IsWindowEnabled() != FALSE;
                  // OK with a group does nothing.
                  d.SendMessage(WM_COMMAND, IDOK);
                  EXPECT_TRUE(d.IsWindowVisible());
                  tree.SelectItem(FindQuestionItem(tree, "Closing"));
                  bOkOnQuestion = pOK->IsWindowEnabled() != FALSE;
                  Settle(200);
                  CRect rect;
                  d.GetWindowRect(&rect);
                  EXPECT_TRUE(SaveScreenPng(rect, "predefined-picker.png"));
                  d.PostMessage(WM_COMMAND, IDOK);
              }));
    EXPECT_EQ("Please select one of the predefined Question", caption);
    EXPECT_EQ("Call Quality(Greeting,Sales(Offer,Closing)),Other", outline);
    EXPECT_FALSE(bEditable);
    EXPECT_FALSE(bOkAtStart);
    EXPECT_FALSE(bOkOnGroup);
    EXPECT_TRUE(bOkOnQuestion);
    EXPECT_EQ(&CQuestionRepository::GetInstance()->Find(4)->Question, dlg.GetSelectedQuestion());
}

TEST_F(PredefinedQuestionDlgsTest, TheFileIsLoadedOnceByWhicheverDialogOpensFirst) {
    WriteSampleFile();
    CSelectPredefinedQuestionDlg picker(&m_host);
    Run<CSelectPredefinedQuestionDlg>(
        picker, [](CSelectPredefinedQuestionDlg& d) { d.PostMessage(WM_COMMAND, IDCANCEL); });
    EXPECT_TRUE(CQuestionRepository::GetInstance()->IsLoaded());
    // A change in memory stays: the editor does not read the file again.
    AddQuestionEntry(40, -1, "Memory only", 0);
    CEditPredefinedQuestionsDlg editor(&m_host);
    std::string outline;
    Run<CEditPredefinedQuestionsDlg>(editor, [&](CEditPredefinedQuestionsDlg& d) {
        outline = TreeOutline(d.GetQuestionsWindow().GetQuestionsTree());
        d.PostMessage(WM_COMMAND, IDOK);
    });
    EXPECT_EQ("Call Quality(Greeting,Sales(Offer,Closing)),Other,Memory only", outline);
}

class PredefinedQuestionDlgsInputTest : public PredefinedQuestionDlgsTest {};

TEST_F(PredefinedQuestionDlgsInputTest, APickerDoubleClickClosesOnAQuestionOnlyInput) {
    WriteSampleFile();
    CSelectPredefinedQuestionDlg dlg(&m_host);
    bool bOpenAfterGroup = false;
    CUiScript script(
        [&] {
            if (dlg.m_hWnd != nullptr)
                dlg.PostMessage(WM_COMMAND, IDCANCEL);
        },
        {[&] {
             if (dlg.m_hWnd == nullptr || !dlg.IsWindowVisible())
                 return false;
             Settle(200);
             CQuestionsTree& tree = dlg.GetTree();
             CRect rect;
             tree.GetItemRect(FindQuestionItem(tree, "Other"), &rect, TRUE);
             tree.ClientToScreen(&rect);
             SendMouseMove(rect.CenterPoint());
             Settle(50);
             SendLeftClick();
             SendLeftClick();
             return true;
         },
         [&] {
             Settle(600);
             bOpenAfterGroup = dlg.m_hWnd != nullptr && dlg.IsWindowVisible();
             CQuestionsTree& tree = dlg.GetTree();
             CRect rect;
             tree.GetItemRect(FindQuestionItem(tree, "Offer"), &rect, TRUE);
             tree.ClientToScreen(&rect);
             SendMouseMove(rect.CenterPoint());
             Settle(50);
             SendLeftClick();
             SendLeftClick();
             return true;
         }});
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(bOpenAfterGroup);
    EXPECT_FALSE(script.Stalled());
    EXPECT_EQ(&CQuestionRepository::GetInstance()->Find(3)->Question, dlg.GetSelectedQuestion());
}

} // namespace
