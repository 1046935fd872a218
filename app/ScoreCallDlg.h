// ScoreCallDlg.h: CScoreCallDlg, the dialog in which a user scores one
// recording against every score form (one tab per form, a row per question,
// the running total), and CMarkButton (MarkButton.h), the star-rating radio
// button of a scaled question.
//
// The call list opens the dialog for each selected recording in turn; the
// main window and the player stay usable while it is open, so the list the
// recording came from may be closed or refilled meanwhile. The dialog
// therefore scores a copy of the entry it is given and never touches the
// given entry again. Save writes the copy's score file first; only when that
// succeeded is the recording marked important (file header and every open
// list's entry of that path, whose scores are read again from the file) and
// the main window told (WM_CALL_SCORED with the copy). A failed write is
// reported and the dialog stays open.
//
// Only forms the user answered are recorded: leaving a form's tab (Next, a
// tab change, Save) records its score when at least one of its answers is not
// "unanswered"; a form merely looked at keeps whatever score the entry held.
// The forms are remembered by ID and looked up in the form store each time,
// since the forms manager may change the store while the dialog is open.
#pragma once

#include "BaseDialog.h"
#include "MarkButton.h"
#include "ScoredFileListEntry.h"

#include "framework/Button.h"
#include "framework/Static.h"
#include "framework/TabCtrl.h"

#include <set>
#include <vector>

class CScoreFormEntry;
class CToolTipCtrl;

class CScoreCallDlg : public CBaseShadowedDialog {
public:
    enum { ROW_COUNT = 10 };

    explicit CScoreCallDlg(CWnd* pParent = nullptr);
    ~CScoreCallDlg() override;

    // The recording to score; required before DoModal. The dialog takes a
    // copy: on OK every open list's entry of that path holds the scores that
    // were saved (and its important flag); on Cancel nothing has changed.
    void SetRecording(CScoredFileListEntry* pEntry);
    // The copy being scored: after OK, the scores as saved.
    const CScoredFileListEntry& GetScoredEntry() const { return m_entry; }

    // The answer code of a row: the mark of a checked mark button, -1 N/A,
    // 10 Yes, 0 No, -2 nothing checked or a row outside 0 to 9.
    int GetAnswer(int row) const;
    // Checks the row's buttons for an answer code of a question type.
    void ShowAnswer(int row, int code, int type);
    BOOL IsCurrentFormComplete() const;
    // The form of a tab; null when the tab or its form is gone.
    CScoreFormEntry* GetTabForm(int tab) const;
    int GetCurrentTab() const { return m_current; }

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;

    // Writes the rows' answers into the form and records its score in the
    // entry when at least one answer is given; remembers whether the form was
    // left answered but incomplete.
    void StoreAnswers(CScoredFileListEntry* pEntry, CScoreFormEntry* pForm);
    void ShowForm(CScoreFormEntry* pForm, BOOL last);
    void UpdateTotal();
    void SelectTab(int tab);

    afx_msg void OnAnswerClicked(UINT nID);
    afx_msg void OnTabChange(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnSave();
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    void SetRowTip(int row, const CString& text);
    void RefreshRowTips(CScoreFormEntry* pForm);
    // True when the save may go on: every visited form answered in full, or
    // the user said so.
    bool ConfirmIncompleteForms();
    // Marks the saved recording important in its header and in every open
    // list, and brings those lists' entries up to date from the score file.
    void PublishSavedScores();

    CScoredFileListEntry m_entry; // the private copy being scored
    bool m_hasEntry;
    std::vector<LONG> m_formIds; // one per tab, in store order
    int m_current;
    std::set<LONG> m_incomplete; // visited forms left answered but incomplete

    CString m_path;       // 1118
    CString m_dateLength; // 1119
    CString m_scorer;     // 1112
    CString m_total;      // 1171

    CStatic m_userIcon;  // 1093
    CStatic m_totalIcon; // 1094
    CTabCtrl m_tabs;     // 1256
    CStatic m_rowText[ROW_COUNT];
    CButton m_rowNA[ROW_COUNT];
    CMarkButton m_rowMark[ROW_COUNT];
    CButton m_rowYes[ROW_COUNT];
    CButton m_rowNo[ROW_COUNT];
    CString m_rowTip[ROW_COUNT];
    bool m_rowTipAdded[ROW_COUNT];

    CToolTipCtrl* m_pToolTip; // owned
    HICON m_hUserIcon;        // owned
    HICON m_hTotalIcon;       // owned
};
