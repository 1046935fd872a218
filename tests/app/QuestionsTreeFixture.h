// QuestionsTreeFixture.h: what the tests of the question tree, the question
// editor and the predefined-question dialogs share: configuration folders of
// the test's own with an emptied question repository, a sample repository,
// the repository written out as one line, the host window and a helper that
// runs a modal dialog under a script.
//
// The sample repository, in repository order (groups marked *, questions
// with their type: S scaled, Y yes/no):
//   0 *Call Quality           top level, the root item
//   1   Greeting (Y)
//   2   *Sales
//   3     Offer (S)
//   4     Closing (Y)
//   5 *Other                  top level, empty
#pragma once

#include "Scoring/QuestionRepository.h"

#include "tests/app/StoreTestFolders.h"
#include "tests/app/TreeOutline.h"
#include "tests/support/UiScript.h"

#include "framework/WinApp.h"
#include "framework/Wnd.h"

#include <functional>
#include <string>
#include <vector>

inline void AddQuestionEntry(LONG nID, LONG nParentID, const char* pszName, LONG nType) {
    CQuestionRepository::QUESTION_ENTRY entry;
    entry.ID = nID;
    entry.ParentID = nParentID;
    entry.GroupName = pszName;
    entry.IsGroup = nType == 0 ? 1 : 0;
    entry.Question.SetID(nID);
    entry.Question.SetType(nType == 0 ? CQuestion::TYPE_SCALE : nType);
    if (nType != 0) {
        entry.Question.SetPrompt((std::string(pszName) + "?").c_str());
        entry.Question.SetBias(10.0 * (nID + 1));
    }
    CQuestionRepository::GetInstance()->Add(entry);
}

// Configuration folders of the test's own; the repository starts empty and
// not loaded, and is emptied again at the end.
class CQuestionsTestFolders {
public:
    CQuestionsTestFolders() : m_config("questions") { CQuestionRepository::GetInstance()->Clear(); }
    ~CQuestionsTestFolders() { CQuestionRepository::GetInstance()->Clear(); }

    static void FillSample() {
        AddQuestionEntry(0, -1, "Call Quality", 0);
        AddQuestionEntry(1, 0, "Greeting", CQuestion::TYPE_YESNO);
        AddQuestionEntry(2, 0, "Sales", 0);
        AddQuestionEntry(3, 2, "Offer", CQuestion::TYPE_SCALE);
        AddQuestionEntry(4, 2, "Closing", CQuestion::TYPE_YESNO);
        AddQuestionEntry(5, -1, "Other", 0);
    }
    static std::string QuestionsFile() { return CStoreTestFolders::File("questions.xml"); }
    std::string TempFile(const char* pszName) const { return m_temp.File(pszName); }

private:
    CStoreTestFolders m_config;
    CTempFolder m_temp;
};

// The entries below nParentID in repository order, "Name(child,...)".
inline std::string RepositoryOutline(LONG nParentID = -1) {
    CQuestionRepository* pRepository = CQuestionRepository::GetInstance();
    std::vector<CQuestionRepository::QUESTION_ENTRY> children;
    for (auto* p = pRepository->FindFirst(nParentID, CQuestionRepository::FIND_BY_PARENT); p;
         p = pRepository->FindNext(nParentID, CQuestionRepository::FIND_BY_PARENT))
        children.push_back(*p);
    std::string outline;
    for (const auto& entry : children) {
        if (!outline.empty())
            outline += ",";
        outline += static_cast<const char*>(entry.GroupName);
        if (pRepository->HasChildren(entry.ID))
            outline += "(" + RepositoryOutline(entry.ID) + ")";
    }
    return outline;
}

// The item with this label, in tree order; null when there is none.
inline HTREEITEM FindQuestionItem(const CTreeCtrl& tree, const char* pszText) {
    for (HTREEITEM h = tree.GetRootItem(); h != nullptr;) {
        if (tree.GetItemText(h) == pszText)
            return h;
        HTREEITEM hNext = tree.GetChildItem(h);
        for (HTREEITEM hUp = h; hNext == nullptr && hUp != nullptr; hUp = tree.GetParentItem(hUp))
            hNext = tree.GetNextSiblingItem(hUp);
        h = hNext;
    }
    return nullptr;
}

// The test program's main window.
class CQuestionsHostWnd : public CWnd {
public:
    BOOL Make(const CRect& rect) {
        if (!CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, nullptr, ::GetSysColorBrush(COLOR_WINDOW)),
                      "questions test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, rect.left,
                      rect.top, rect.Width(), rect.Height(), nullptr, nullptr))
            return FALSE;
        AfxGetApp()->m_pMainWnd = this;
        return TRUE;
    }
    void Unmake() {
        if (AfxGetApp()->m_pMainWnd == this)
            AfxGetApp()->m_pMainWnd = nullptr;
        if (m_hWnd != nullptr)
            DestroyWindow();
    }
};

// The dialog-class window of this thread that is not hExclude and has a
// control nID; null when there is none.
inline HWND FindDialogWith(int nID, HWND hExclude = nullptr) {
    HWND hDlg = FindThreadDialog(hExclude);
    return hDlg != nullptr && ::GetDlgItem(hDlg, nID) != nullptr ? hDlg : nullptr;
}

// Runs run() (which opens a modal dialog) while a script waits for a dialog
// with control nID and hands it to atOpen, which must end it. A dialog that
// never appears or is not ended fails the test instead of hanging it.
inline void WithDialog(int nID, const std::function<void(HWND)>& atOpen,
                       const std::function<void()>& run) {
    bool bSeen = false;
    CUiScript script(
        [] {
            if (HWND hDlg = FindThreadDialog())
                ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
        },
        {[&] {
            HWND hDlg = FindDialogWith(nID);
            if (hDlg == nullptr)
                return false;
            Settle(100);
            bSeen = true;
            atOpen(hDlg);
            return true;
        }});
    run();
    EXPECT_TRUE(bSeen) << "no dialog with control " << nID;
    EXPECT_FALSE(script.Stalled());
}
