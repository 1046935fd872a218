// PredefinedQuestionDlgs.h: the two dialogs that show the question repository
// as a tree.
//   CEditPredefinedQuestionsDlg   edits the repository: OK saves
//                                 "questions.xml", Cancel drops every change
//   CSelectPredefinedQuestionDlg  picks one question for a score form
//
// Whichever opens first in a run loads "questions.xml"; the repository then
// outlives both.
#pragma once

#include "BaseDialog.h"
#include "QuestionsTree.h"

class CQuestion;

class CEditPredefinedQuestionsDlg : public CBaseShadowedDialog {
public:
    explicit CEditPredefinedQuestionsDlg(CWnd* pParent = nullptr);
    ~CEditPredefinedQuestionsDlg() override;

    BOOL OnInitDialog() override;
    // Saves the repository to "questions.xml" first; when that fails with
    // questions to save, says so and stays open.
    void OnOK() override;
    // Throws the changes away: the repository is read again from its file.
    void OnCancel() override;
    BOOL ContinueModal() override;

    CQuestionsTreeWithToolbar& GetQuestionsWindow() { return m_wndQuestions; }

private:
    CQuestionsTreeWithToolbar m_wndQuestions;
};

class CSelectPredefinedQuestionDlg : public CBaseShadowedDialog {
public:
    explicit CSelectPredefinedQuestionDlg(CWnd* pParent = nullptr);
    ~CSelectPredefinedQuestionDlg() override;

    // After OK: the chosen question, held by the repository (copy it). Never
    // null after OK.
    CQuestion* GetSelectedQuestion() const;

    BOOL OnInitDialog() override;
    // Closes only with a question chosen.
    void OnOK() override;

    CQuestionsTree& GetTree() { return m_wndTree; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    afx_msg void OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnTreeDblClick(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    // The question of the tree's current item (null for a group); OK follows it.
    void TakeSelection();

    CQuestionsTree m_wndTree;
    CQuestion* m_pSelected = nullptr; // the repository's, not owned
};
