// CallScoreFormsSettingsDlg.h: CCallScoreFormsSettingsDlg, "Call Score Forms
// Settings": where the score forms ("scoreforms.xml") and the per-recording
// score files are kept, each the current user's configuration folder, the
// all-users one, or a folder the user browses for. It edits copies of the two
// locations and hands them to the settings object on OK only; it moves no
// file.
//
// - Choosing "specified location" empties that group's folder: a folder must
//   be browsed for again. OK refuses a specified location without a folder
//   ("Please select the folder first."), so that no file is ever kept in
//   whatever the process's current folder happens to be.
// - Enter and Escape do not end the dialog; only its buttons and close box do.
// - While a folder browser of the dialog is open (it has no owner, so the
//   dialog stays usable), a second browse, OK and Cancel do nothing.
#pragma once

#include "ButtonST.h"
#include "OXShadowedWnd.h"

#include "Common/Settings.h"
#include "framework/Dialog.h"
#include "framework/Gdi.h"

class CCallScoreFormsSettingsDlg : public COXShadowedWnd<CDialog> {
public:
    explicit CCallScoreFormsSettingsDlg(CWnd* pParent = nullptr);
    ~CCallScoreFormsSettingsDlg() override;

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;

    // The stored locations into the members and the controls.
    void ShowLocations();
    // The members into the two folder fields.
    void ShowMembers();
    // Checks the group's button of the mode and enables its folder controls
    // for a specified location.
    void CheckFormsMode(int nMode);
    void CheckScoresMode(int nMode);
    void SetFormsCustom(const CString& strFolder);
    void SetScoresCustom(const CString& strFolder);
    // Runs the folder browser for one group's folder.
    void Browse(CString& strFolder);

    afx_msg void OnFormsUser();
    afx_msg void OnFormsAll();
    afx_msg void OnFormsCustom();
    afx_msg void OnScoresUser();
    afx_msg void OnScoresAll();
    afx_msg void OnScoresCustom();
    afx_msg void OnBrowseForms();
    afx_msg void OnBrowseScores();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

    CBrush m_brush;  // white; made when the dialog opens
    int m_nBrowsing; // 1 while a folder browser of the dialog is open
    CButtonST m_btnFormsBrowse;
    CButtonST m_btnScoresBrowse;
    LocationSetting m_scoreLocation;
    LocationSetting m_formLocation;
};
