// SearchDlg.cpp: the dialog "Search for specific calls".
#include "SearchDlg.h"

#include "resource.h"

#include "framework/DataExchange.h"

namespace {

// In the order of the kIn... and kDirection... indexes.
const char* const kSearchInItems[] = {"User ID", "Caller ID", "Comment", "All"};
const char* const kDirectionItems[] = {"Both", "Incoming", "Outgoing"};

} // namespace

BEGIN_MESSAGE_MAP(CSearchDlg, CDialog)
ON_WM_CTLCOLOR()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CSearchDlg::CSearchDlg()
    : COXShadowedWnd<CDialog>(IDD_SEARCH), m_nSearchIn(kInAll), m_nDirection(kDirectionBoth) {}

CString CSearchDlg::GetSearchText() {
    m_strSearchFor.MakeUpper();
    return m_strSearchFor;
}

void CSearchDlg::DoDataExchange(CDataExchange* pDX) {
    COXShadowedWnd<CDialog>::DoDataExchange(pDX);
    DDX_CBIndex(pDX, IDC_SEARCH_IN, m_nSearchIn);
    DDX_Text(pDX, IDC_SEARCH_FOR, m_strSearchFor);
    DDX_CBIndex(pDX, IDC_SEARCH_DIRECTION, m_nDirection);
}

BOOL CSearchDlg::OnInitDialog() {
    // The lists are filled before the base initialisation selects in them.
    for (const char* pszItem : kSearchInItems)
        SendDlgItemMessage(IDC_SEARCH_IN, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(pszItem));
    for (const char* pszItem : kDirectionItems)
        SendDlgItemMessage(IDC_SEARCH_DIRECTION, CB_ADDSTRING, 0,
                           reinterpret_cast<LPARAM>(pszItem));
    COXShadowedWnd<CDialog>::OnInitDialog();
    SendDlgItemMessage(IDC_SEARCH_FOR, EM_LIMITTEXT, kMaxSearchText);
    SendDlgItemMessage(IDC_SEARCH_IN, CB_SETCURSEL, kInAll);
    SendDlgItemMessage(IDC_SEARCH_DIRECTION, CB_SETCURSEL, kDirectionBoth);
    if (m_brushBackground.GetSafeHandle() == nullptr)
        m_brushBackground.CreateSolidBrush(RGB(255, 255, 255));
    return TRUE;
}

HBRUSH CSearchDlg::OnCtlColor(CDC*, CWnd*, UINT) {
    return static_cast<HBRUSH>(m_brushBackground.GetSafeHandle());
}

// The brush goes with the window, not before: the dialog still paints while
// it closes.
void CSearchDlg::OnDestroy() {
    COXShadowedWnd<CDialog>::OnDestroy();
    m_brushBackground.DeleteObject();
}
