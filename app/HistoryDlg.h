// HistoryDlg.h: CHistoryDlg, the player's "History": the calls played since
// start-up, each once, where lines can be played again, removed or cleared.
//
// The player fills the dialog with SetHistoryList, shows it modally and takes
// GetHistoryList back when it ended with OK (Close or Play); Escape leaves the
// player's list as it was. Play ends the dialog and hands the line's path to
// the player form, which loads it (telling the user when that fails) and
// plays it.
#pragma once

#include "OXShadowedWnd.h"

#include "Common/KWArray.h"
#include "Common/KWString.h"

#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "framework/ListBox.h"

class CPlayerForm;

class CHistoryDlg : public COXShadowedWnd<CDialog> {
public:
    // pPlayer plays what the user picks; without it Play only ends the dialog.
    explicit CHistoryDlg(CWnd* pParent = nullptr, CPlayerForm* pPlayer = nullptr);

    // Copies the paths, in the order shown.
    void SetHistoryList(const CKWArray<CKWString>& paths);
    // The paths as the user left them.
    void GetHistoryList(CKWArray<CKWString>& paths) const;

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    // Play and Remove follow the selection: Play for one line, Remove for any.
    void UpdateButtons();

    afx_msg void OnSelChange();
    afx_msg void OnDblClk();
    afx_msg void OnPlay();
    afx_msg void OnRemove();
    afx_msg void OnClear();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    CKWArray<CKWString> m_paths; // one per list line, same order
    CBrush m_brushWhite;         // made when the dialog opens, deleted with its window
    CListBox m_list;             // control IDC_HISTORY_LIST
    CPlayerForm* m_pPlayer;      // not owned
};
