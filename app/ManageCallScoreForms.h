// ManageCallScoreForms.h: CManageCallScoreForms, "Manage Call Score Forms",
// the modal dialog in which the user creates, renames and deletes score forms,
// fills each with up to ten questions whose biases add up to 100 percent,
// exports and imports the forms and chooses where forms and scores are kept.
// It edits the stored forms in place: Save Changes writes them to the
// score-forms file, Cancel reloads them from it.
//
// Save Changes (and Enter) stays closed while the shown form's biases are not
// exactly 100; when another form's are not, that form is shown instead of
// saving. A save that fails is reported and the dialog stays open, so the
// edits are not lost with it.
#pragma once

#include "BaseDialog.h"
#include "BaseWndWithToolbar.h"
#include "ToolTipListCtrl.h"

#include "framework/ImageList.h"
#include "framework/Static.h"
#include "framework/TreeCtrl.h"

class CQuestion;
class CScoreFormEntry;

class CManageCallScoreForms : public CBaseShadowedDialog {
public:
    explicit CManageCallScoreForms(CWnd* pParent = nullptr);
    ~CManageCallScoreForms() override;

    BOOL OnInitDialog() override;
    // Keeps both toolbars' buttons current on every pass of the modal loop.
    BOOL ContinueModal() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;

    void CreateToolbar(CDialogToolbar& bar, UINT nIDResource, UINT nID, int x);
    void ClearFormsTree();
    // Every form of the store as a top-level item; no form shown.
    void FillFormsTree();
    // Shows the form (null: none) in the name text, the list and the labels.
    void ShowForm(CScoreFormEntry* pForm);
    void SelectFirstForm();
    void AddQuestionRow(CQuestion* pQuestion);
    void UpdateQuestionRow(int nRow, CQuestion* pQuestion);
    void UpdateTotalBias();
    // 10000, or one more than the form's highest question ID from 10000 up.
    static LONG GetNextQuestionID(const CScoreFormEntry* pForm);
    // A form may take one more question; says so when it may not.
    BOOL CanAddQuestion();
    // The question of the selected row, or null; nRow receives the row.
    CQuestion* GetSelectedQuestion(int& nRow) const;
    void EditQuestionAt(int nRow);
    // The first form whose biases do not add up to 100, or null.
    static CScoreFormEntry* FindUnbalancedForm();
    HTREEITEM FindFormItem(const CScoreFormEntry* pForm) const;
    void ReclaimActivation();

    afx_msg void OnExportForms();
    afx_msg void OnImportForms();
    afx_msg void OnNewForm();
    afx_msg void OnSetLocation();
    afx_msg void OnDeleteForm();
    afx_msg void OnAddPredefinedQuestion();
    afx_msg void OnNewQuestion();
    afx_msg void OnEditQuestion();
    afx_msg void OnDeleteQuestion();
    afx_msg void OnUpdateNeedsForm(CCmdUI* pCmdUI);
    afx_msg void OnUpdateNeedsQuestion(CCmdUI* pCmdUI);
    afx_msg void OnEditPredefinedQuestions();
    afx_msg void OnFormSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnQuestionDblClk(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

    CTreeCtrl m_treeForms;
    CImageList m_imageList;
    CCoolToolTipListCtrl m_listQuestions;
    CDialogToolbar m_barForms;
    CDialogToolbar m_barQuestions;
    CStatic m_iconUser; // icons shared with the program's module, never destroyed
    CStatic m_iconBias;
    int m_nLabelEdit;         // 1 while a tree label is being edited
    bool m_bCancellingEdit;   // while Cancel ends a label edit
    CScoreFormEntry* m_pForm; // the form shown: held by the store, not owned
};
