// NewShortcut.cpp: the dialog "New Shortcut".
#include "NewShortcut.h"

#include "resource.h"

#include "framework/DataExchange.h"

BEGIN_MESSAGE_MAP(CNewShortcut, CBaseShadowedDialog)
ON_EN_CHANGE(IDC_NEWSHORTCUT_NAME, &CNewShortcut::OnNameChange)
ON_NOTIFY(TVN_SELCHANGED, IDC_NEWSHORTCUT_TREE, &CNewShortcut::OnTreeSelChanged)
END_MESSAGE_MAP()

CNewShortcut::CNewShortcut(CWnd* pParent) : CBaseShadowedDialog(IDD_NEW_SHORTCUT, pParent) {}

void CNewShortcut::DoDataExchange(CDataExchange* pDX) {
    CBaseShadowedDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_NEWSHORTCUT_TREE, m_tree);
    DDX_Text(pDX, IDC_NEWSHORTCUT_NAME, m_strName);
}

BOOL CNewShortcut::OnInitDialog() {
    CBaseShadowedDialog::OnInitDialog();
    m_tree.InitTree();
    m_tree.ExpandAll();
    UpdateControls();
    return TRUE;
}

BOOL CNewShortcut::UpdateControls() {
    // Read directly rather than through UpdateData: EN_CHANGE also arrives
    // while the dialog's own data exchange sets the name box.
    GetDlgItemText(IDC_NEWSHORTCUT_NAME, m_strName);
    CTreeStore::ENTRY record{};
    HTREEITEM hCaret = m_tree.GetSafeHwnd() != nullptr ? m_tree.GetSelectedItem() : nullptr;
    const BOOL bHasRecord = m_tree.GetItemRecord(hCaret, record);
    m_nParentID = bHasRecord ? record.ID : -1;
    const BOOL bComplete = !m_strName.IsEmpty() && bHasRecord && record.IsGroup;
    CWnd* pOK = GetDlgItem(IDOK);
    if (pOK != nullptr)
        pOK->EnableWindow(bComplete);
    return bComplete;
}

void CNewShortcut::OnOK() {
    // Enter reaches OK even while it is disabled; a shortcut needs a name and
    // a group to hold it.
    if (!UpdateControls())
        return;
    CBaseShadowedDialog::OnOK();
}

void CNewShortcut::OnNameChange() {
    UpdateControls();
}

void CNewShortcut::OnTreeSelChanged(NMHDR*, LRESULT* pResult) {
    UpdateControls();
    *pResult = 0;
}
