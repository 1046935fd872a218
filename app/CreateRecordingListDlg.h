// CreateRecordingListDlg.h: CCreateRecordingListDlg, the modal dialog "Create
// Recording List", which collects the criteria of a new recording list: the
// source folders, the sub-folders flag, the file-name and Caller-ID masks, the
// date kind and range, and the minimum length.
//
// The sources list never holds the same folder twice, and with sub-folders on
// never a folder inside another listed one: folders are compared by whole
// path components and without regard to case, as Windows compares paths
// ("C:\Rec" does not hold "C:\Records"; "C:\REC\" is "C:\Rec").
//
// Enter and Esc do not close the dialog: only "Compile", "Cancel" and the
// caption's close box do. After OK the caller copies GetCriteria.
#pragma once

#include "OXShadowedWnd.h"
#include "SearchCriteria.h"

#include "Common/KWArray.h"
#include "Common/KWString.h"

#include "framework/DateTimeCtrl.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "framework/ListBox.h"

class CCreateRecordingListDlg : public COXShadowedWnd<CDialog> {
public:
    // The most minutes the up-down control reaches.
    static constexpr UINT kMaxMinutes = 300;

    CCreateRecordingListDlg();
    ~CCreateRecordingListDlg() override;

    // Folders listed when the dialog opens: kept sorted, each folder once.
    void SetInitialFolders(const CKWArray<CKWString>& folders);
    const CKWArray<CKWString>& GetInitialFolders() const { return m_initialFolders; }
    // Valid after the dialog ended with OK; the caller copies them.
    const SearchCriteria* GetCriteria() const { return &m_criteria; }

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    // The folder picker of Add...: TRUE with the chosen folder, FALSE on
    // cancel. A test puts its own choice here.
    virtual BOOL ChooseFolder(CString& strFolder);

    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnDestroy();
    afx_msg void OnAddSource();
    afx_msg void OnRemoveSource();
    afx_msg void OnSubFolders();
    afx_msg void OnDateKind(UINT nID);
    afx_msg void OnAllCalls();
    afx_msg void OnLargerThan();
    afx_msg void OnMinutesSpin(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnCompile();
    DECLARE_MESSAGE_MAP()

private:
    // Appends the folder, enables "Compile" and "Remove", selects the last entry.
    void AppendSource(const CString& strFolder);
    // Deletes the entries flagged in marks, highest index first.
    void DeleteMarked(const CKWArray<int>& marks);
    void EnableSourceButtons(BOOL bEnable);
    CString SourceAt(int nIndex) const;
    void ShowRangeControls(BOOL bShow);
    void EnableMinutes(BOOL bEnable);
    // Seconds since 1970 of the picker's date at the given local time of day;
    // today's date when the picker has none.
    LONG PickerTime(const CDateTimeCtrl& picker, WORD wHour, WORD wMinute, WORD wSecond) const;

    BOOL m_bAdding; // Add... is running: the folder picker leaves this dialog usable
    CBrush m_brushBackground;
    CListBox m_listSources;
    CString m_strFileNameMask;
    int m_bSubFolders;
    CString m_strCallerIdMask;
    int m_nDateKind;
    CDateTimeCtrl m_dateBefore;
    CDateTimeCtrl m_dateAfter;
    int m_bLimitLength;
    UINT m_nMinutes;
    SearchCriteria m_criteria;
    CKWArray<CKWString> m_initialFolders;
};
