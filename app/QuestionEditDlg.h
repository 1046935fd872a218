// QuestionEditDlg.h: CQuestionEditDlg, "Edit question": the type, the bias (a
// whole percent from 0 to 100) and the prompt of one question, changed in
// place on OK.
#pragma once

#include "BaseDialog.h"

#include "framework/SpinButtonCtrl.h"

class CQuestion;

class CQuestionEditDlg : public CBaseShadowedDialog {
public:
    explicit CQuestionEditDlg(CWnd* pParent = nullptr);
    ~CQuestionEditDlg() override;

    // The question to edit (not owned); required before DoModal.
    void SetQuestion(CQuestion* pQuestion);

    BOOL OnInitDialog() override;
    // Without a question nothing happens; a bias that is not a whole number
    // from 0 to 100 is reported and the dialog stays open.
    void OnOK() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    afx_msg void OnTypeYesNo();
    afx_msg void OnTypeScale();
    afx_msg void OnBiasKillFocus();
    afx_msg void OnBiasDeltaPos(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    CSpinButtonCtrl m_wndSpin;
    CQuestion* m_pQuestion = nullptr;
    UINT m_nBias = 0; // percent
    CString m_strPrompt;
    LONG m_nType = 0;      // CQuestion::TYPE_SCALE or TYPE_YESNO; 0 before a choice
    int m_nTypeRadio = -1; // 0 "Yes/No", 1 "Scale", -1 none
};
