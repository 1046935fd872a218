// CallScoreFormsSettingsDlg.cpp: the storage locations of the call scoring.
#include "CallScoreFormsSettingsDlg.h"

#include "DirDialog.h"
#include "ScoreFormsRes.h"
#include "ScoringRes.h"
#include "resource.h"

#include "framework/DataExchange.h"

// clang-format off
BEGIN_MESSAGE_MAP(CCallScoreFormsSettingsDlg, CDialog)
    ON_BN_CLICKED(IDC_FORMS_LOCATION_USER, &CCallScoreFormsSettingsDlg::OnFormsUser)
    ON_BN_CLICKED(IDC_FORMS_LOCATION_ALL, &CCallScoreFormsSettingsDlg::OnFormsAll)
    ON_BN_CLICKED(IDC_FORMS_LOCATION_CUSTOM, &CCallScoreFormsSettingsDlg::OnFormsCustom)
    ON_BN_CLICKED(IDC_SCORES_LOCATION_USER, &CCallScoreFormsSettingsDlg::OnScoresUser)
    ON_BN_CLICKED(IDC_SCORES_LOCATION_ALL, &CCallScoreFormsSettingsDlg::OnScoresAll)
    ON_BN_CLICKED(IDC_SCORES_LOCATION_CUSTOM, &CCallScoreFormsSettingsDlg::OnScoresCustom)
    ON_BN_CLICKED(IDC_FORMS_LOCATION_BROWSE, &CCallScoreFormsSettingsDlg::OnBrowseForms)
    ON_BN_CLICKED(IDC_SCORES_LOCATION_BROWSE, &CCallScoreFormsSettingsDlg::OnBrowseScores)
    ON_WM_CTLCOLOR()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()
// clang-format on

CCallScoreFormsSettingsDlg::CCallScoreFormsSettingsDlg(CWnd* pParent)
    : COXShadowedWnd<CDialog>(IDD_CALL_SCORE_SETTINGS), m_nBrowsing(0) {
    if (pParent != nullptr)
        m_pParentWnd = pParent;
    m_scoreLocation.Mode = LocationSetting::MODE_ALL_USERS;
    m_formLocation.Mode = LocationSetting::MODE_ALL_USERS;
}

CCallScoreFormsSettingsDlg::~CCallScoreFormsSettingsDlg() = default;

void CCallScoreFormsSettingsDlg::DoDataExchange(CDataExchange* pDX) {
    COXShadowedWnd<CDialog>::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FORMS_LOCATION_BROWSE, m_btnFormsBrowse);
    DDX_Control(pDX, IDC_SCORES_LOCATION_BROWSE, m_btnScoresBrowse);
}

BOOL CCallScoreFormsSettingsDlg::OnInitDialog() {
    COXShadowedWnd<CDialog>::OnInitDialog();
    m_brush.DeleteObject();
    m_brush.CreateSolidBrush(RGB(255, 255, 255));
    struct {
        CButtonST* pButton;
        int nTip;
    } browse[] = {{&m_btnFormsBrowse, IDS_FORMS_LOCATION_BROWSE_TIP},
                  {&m_btnScoresBrowse, IDS_SCORES_LOCATION_BROWSE_TIP}};
    for (auto& button : browse) {
        button.pButton->SetIcon(IDI_BROWSE_FOLDER, CButtonST::BTNST_AUTO_DARKER);
        button.pButton->SetTooltipText(button.nTip);
        button.pButton->DrawTransparent();
    }
    ShowLocations();
    return TRUE;
}

void CCallScoreFormsSettingsDlg::ShowLocations() {
    CSettings* pSettings = CSettings::GetInstance();
    pSettings->GetCallScoreFormLocation(m_formLocation);
    pSettings->GetCallScoreLocation(m_scoreLocation);
    switch (m_formLocation.Mode) {
    case LocationSetting::MODE_USER:
        OnFormsUser();
        break;
    case LocationSetting::MODE_CUSTOM:
        SetFormsCustom(m_formLocation.Folder);
        break;
    default:
        OnFormsAll();
        break;
    }
    switch (m_scoreLocation.Mode) {
    case LocationSetting::MODE_USER:
        OnScoresUser();
        break;
    case LocationSetting::MODE_CUSTOM:
        SetScoresCustom(m_scoreLocation.Folder);
        break;
    default:
        OnScoresAll();
        break;
    }
}

void CCallScoreFormsSettingsDlg::ShowMembers() {
    SetDlgItemText(IDC_FORMS_LOCATION_FOLDER, m_formLocation.Folder);
    SetDlgItemText(IDC_SCORES_LOCATION_FOLDER, m_scoreLocation.Folder);
}

void CCallScoreFormsSettingsDlg::CheckFormsMode(int nMode) {
    CheckRadioButton(IDC_FORMS_LOCATION_USER, IDC_FORMS_LOCATION_CUSTOM,
                     IDC_FORMS_LOCATION_USER + nMode);
    const BOOL bCustom = nMode == LocationSetting::MODE_CUSTOM;
    GetDlgItem(IDC_FORMS_LOCATION_FOLDER)->EnableWindow(bCustom);
    m_btnFormsBrowse.EnableWindow(bCustom);
}

void CCallScoreFormsSettingsDlg::CheckScoresMode(int nMode) {
    CheckRadioButton(IDC_SCORES_LOCATION_USER, IDC_SCORES_LOCATION_CUSTOM,
                     IDC_SCORES_LOCATION_USER + nMode);
    const BOOL bCustom = nMode == LocationSetting::MODE_CUSTOM;
    GetDlgItem(IDC_SCORES_LOCATION_FOLDER)->EnableWindow(bCustom);
    m_btnScoresBrowse.EnableWindow(bCustom);
}

void CCallScoreFormsSettingsDlg::SetFormsCustom(const CString& strFolder) {
    CheckFormsMode(LocationSetting::MODE_CUSTOM);
    m_formLocation.Mode = LocationSetting::MODE_CUSTOM;
    m_formLocation.Folder = strFolder;
    ShowMembers();
}

void CCallScoreFormsSettingsDlg::SetScoresCustom(const CString& strFolder) {
    CheckScoresMode(LocationSetting::MODE_CUSTOM);
    m_scoreLocation.Mode = LocationSetting::MODE_CUSTOM;
    m_scoreLocation.Folder = strFolder;
    ShowMembers();
}

void CCallScoreFormsSettingsDlg::OnFormsUser() {
    CheckFormsMode(LocationSetting::MODE_USER);
    m_formLocation.Mode = LocationSetting::MODE_USER;
    m_formLocation.Folder.Empty();
    ShowMembers();
}

void CCallScoreFormsSettingsDlg::OnFormsAll() {
    CheckFormsMode(LocationSetting::MODE_ALL_USERS);
    m_formLocation.Mode = LocationSetting::MODE_ALL_USERS;
    m_formLocation.Folder.Empty();
    ShowMembers();
}

void CCallScoreFormsSettingsDlg::OnFormsCustom() {
    SetFormsCustom(CString());
}

void CCallScoreFormsSettingsDlg::OnScoresUser() {
    CheckScoresMode(LocationSetting::MODE_USER);
    m_scoreLocation.Mode = LocationSetting::MODE_USER;
    m_scoreLocation.Folder.Empty();
    ShowMembers();
}

void CCallScoreFormsSettingsDlg::OnScoresAll() {
    CheckScoresMode(LocationSetting::MODE_ALL_USERS);
    m_scoreLocation.Mode = LocationSetting::MODE_ALL_USERS;
    m_scoreLocation.Folder.Empty();
    ShowMembers();
}

void CCallScoreFormsSettingsDlg::OnScoresCustom() {
    SetScoresCustom(CString());
}

void CCallScoreFormsSettingsDlg::Browse(CString& strFolder) {
    if (m_nBrowsing)
        return;
    m_nBrowsing = 1;
    CDirDialog dlg;
    if (dlg.DoBrowse()) {
        strFolder = dlg.m_strSelDir;
        if (!strFolder.IsEmpty() && strFolder.Right(1) != "\\")
            strFolder += "\\";
        ShowMembers();
    }
    m_nBrowsing = 0;
}

void CCallScoreFormsSettingsDlg::OnBrowseForms() {
    Browse(m_formLocation.Folder);
}

void CCallScoreFormsSettingsDlg::OnBrowseScores() {
    Browse(m_scoreLocation.Folder);
}

void CCallScoreFormsSettingsDlg::OnOK() {
    // The browser returns into this dialog: it must still be there then.
    if (m_nBrowsing)
        return;
    const bool bFormsMissing =
        m_formLocation.Mode == LocationSetting::MODE_CUSTOM && m_formLocation.Folder.IsEmpty();
    const bool bScoresMissing =
        m_scoreLocation.Mode == LocationSetting::MODE_CUSTOM && m_scoreLocation.Folder.IsEmpty();
    if (bFormsMissing || bScoresMissing) {
        AfxMessageBox("Please select the folder first.", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    CSettings* pSettings = CSettings::GetInstance();
    pSettings->SetCallScoreFormLocation(m_formLocation);
    pSettings->SetCallScoreLocation(m_scoreLocation);
    EndDialog(IDOK);
}

void CCallScoreFormsSettingsDlg::OnCancel() {
    if (m_nBrowsing)
        return;
    COXShadowedWnd<CDialog>::OnCancel();
}

BOOL CCallScoreFormsSettingsDlg::PreTranslateMessage(MSG* pMsg) {
    // Neither key ends the dialog: they reach it as a key press of no key.
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE))
        pMsg->wParam = 0;
    return COXShadowedWnd<CDialog>::PreTranslateMessage(pMsg);
}

HBRUSH CCallScoreFormsSettingsDlg::OnCtlColor(CDC*, CWnd*, UINT) {
    return static_cast<HBRUSH>(m_brush.GetSafeHandle());
}

BOOL CCallScoreFormsSettingsDlg::OnEraseBkgnd(CDC* pDC) {
    CRect rcClient;
    GetClientRect(&rcClient);
    ::FillRect(pDC->GetSafeHdc(), &rcClient, static_cast<HBRUSH>(m_brush.GetSafeHandle()));
    return TRUE;
}
