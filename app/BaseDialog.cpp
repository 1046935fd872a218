// BaseDialog.cpp: the white dialog bases.
#include "BaseDialog.h"

BEGIN_MESSAGE_MAP(CBaseDialog, CDialog)
ON_WM_ERASEBKGND()
ON_WM_CTLCOLOR()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CBaseDialog::CBaseDialog(UINT nIDTemplate, CWnd* pParentWnd) : CDialog(nIDTemplate, pParentWnd) {}

BOOL CBaseDialog::OnInitDialog() {
    if (m_brushBackground.GetSafeHandle() == nullptr)
        m_brushBackground.CreateSolidBrush(RGB(255, 255, 255));
    return CDialog::OnInitDialog();
}

BOOL CBaseDialog::OnEraseBkgnd(CDC* pDC) {
    CRect rcClient;
    GetClientRect(&rcClient);
    ::FillRect(pDC->GetSafeHdc(), &rcClient,
               static_cast<HBRUSH>(m_brushBackground.GetSafeHandle()));
    return FALSE;
}

HBRUSH CBaseDialog::OnCtlColor(CDC*, CWnd* pWnd, UINT) {
    // A control that colours itself (a hyperlink, an image button) sets its
    // text colours and may answer a brush of its own; every other control is
    // drawn on white.
    LRESULT lResult = 0;
    if (pWnd != nullptr && pWnd->GetSafeHwnd() != m_hWnd &&
        ReflectLastMsg(pWnd->GetSafeHwnd(), &lResult) && lResult != 0)
        return reinterpret_cast<HBRUSH>(lResult);
    return static_cast<HBRUSH>(m_brushBackground.GetSafeHandle());
}

void CBaseDialog::OnDestroy() {
    CDialog::OnDestroy();
    m_brushBackground.DeleteObject();
}

CBaseShadowedDialog::CBaseShadowedDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : COXShadowedWnd<CBaseDialog>(nIDTemplate) {
    if (pParentWnd != nullptr)
        m_pParentWnd = pParentWnd;
}
