#include "PropertySheet.h"

#include "AfxResource.h"
#include "Exception.h"
#include "TabCtrl.h"
#include "TypedWnd.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)
IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

namespace {

// The sheet that DoModal or Create is making on this thread, until its
// PSCB_INITIALIZED callback binds it.
thread_local CPropertySheet* t_pSheetInit = nullptr;

// The module holding a template: the resource module, else the program.
HINSTANCE ModuleWithTemplate(LPCSTR lpszTemplate) {
    HINSTANCE hResource = AfxGetResourceHandle();
    if (::FindResourceA(hResource, lpszTemplate, MAKEINTRESOURCEA(5) /* RT_DIALOG */) != nullptr)
        return hResource;
    return ::GetModuleHandleA(nullptr);
}

} // namespace

// ---------------------------------------------------------------------------
// CPropertyPage

CPropertyPage::CPropertyPage() : m_psp() {}

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption) : CDialog(nIDTemplate), m_psp() {
    if (nIDCaption != 0 && !m_strCaption.LoadString(nIDCaption))
        TRACE("CPropertyPage: caption string %u not found.\n", nIDCaption);
    m_psp.dwSize = sizeof(m_psp);
    m_psp.pszTemplate = m_lpszTemplateName;
    m_psp.pfnDlgProc = PageDialogProc;
}

// The sheet destroys the page window when it closes; a page object that goes
// first is unbound from its window by CWnd's destructor.
CPropertyPage::~CPropertyPage() = default;

void CPropertyPage::PrepareRecord() {
    m_psp.dwSize = sizeof(m_psp);
    m_psp.pszTemplate = m_lpszTemplateName;
    m_psp.pfnDlgProc = PageDialogProc;
    m_psp.lParam = reinterpret_cast<LPARAM>(this);
    m_psp.hInstance = ModuleWithTemplate(m_lpszTemplateName);
    if (!m_strCaption.IsEmpty()) {
        m_psp.dwFlags |= PSP_USETITLE;
        m_psp.pszTitle = m_strCaption;
    }
    // A page whose map handles ID_HELP gets the sheet's Help button.
    AFX_CMDHANDLERINFO info = {};
    if (OnCmdMsg(ID_HELP, CN_COMMAND, nullptr, &info))
        m_psp.dwFlags |= PSP_HASHELP;
}

INT_PTR CALLBACK CPropertyPage::PageDialogProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG)
        return FALSE;
    auto* pRecord = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
    auto* pPage = pRecord != nullptr ? reinterpret_cast<CPropertyPage*>(pRecord->lParam) : nullptr;
    return HandleInitDialog(pPage, hWnd);
}

HWND CPropertyPage::SheetHwnd() const {
    return m_hWnd != nullptr ? ::GetParent(m_hWnd) : nullptr;
}

void CPropertyPage::SetModified(BOOL bChanged) {
    HWND hSheet = SheetHwnd();
    if (hSheet != nullptr)
        ::SendMessageA(hSheet, bChanged ? PSM_CHANGED : PSM_UNCHANGED, (WPARAM)m_hWnd, 0);
}

void CPropertyPage::CancelToClose() {
    HWND hSheet = SheetHwnd();
    if (hSheet != nullptr)
        ::SendMessageA(hSheet, PSM_CANCELTOCLOSE, 0, 0);
}

LRESULT CPropertyPage::QuerySiblings(WPARAM wParam, LPARAM lParam) {
    HWND hSheet = SheetHwnd();
    return hSheet != nullptr ? ::SendMessageA(hSheet, PSM_QUERYSIBLINGS, wParam, lParam) : 0;
}

BOOL CPropertyPage::OnSetActive() {
    // The first showing was loaded by OnInitDialog already.
    if (m_bFirstSetActive)
        m_bFirstSetActive = false;
    else
        UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() {
    return UpdateData(TRUE);
}

BOOL CPropertyPage::OnApply() {
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset() {
    OnCancel();
}

BOOL CPropertyPage::OnQueryCancel() {
    return TRUE;
}

LRESULT CPropertyPage::OnWizardBack() {
    return 0;
}

LRESULT CPropertyPage::OnWizardNext() {
    return 0;
}

BOOL CPropertyPage::OnWizardFinish() {
    return TRUE;
}

void CPropertyPage::OnOK() {}

void CPropertyPage::OnCancel() {}

BOOL CPropertyPage::PreTranslateMessage(MSG* pMsg) {
    // The sheet gives its pages their keyboard (PSM_ISDIALOGMESSAGE); a page
    // doing it too would keep Enter and Esc away from the sheet's buttons.
    return CWnd::PreTranslateMessage(pMsg);
}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    auto* pHeader = reinterpret_cast<NMHDR*>(lParam);
    if (pHeader == nullptr || pHeader->hwndFrom != SheetHwnd() || pHeader->code > PSN_FIRST ||
        pHeader->code < PSN_LAST)
        return CDialog::OnNotify(wParam, lParam, pResult);

    LRESULT lResult = 0;
    switch (pHeader->code) {
    case PSN_SETACTIVE:
        lResult = OnSetActive() ? 0 : -1;
        break;
    case PSN_KILLACTIVE:
        lResult = OnKillActive() ? FALSE : TRUE;
        break;
    case PSN_APPLY:
        lResult = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        break;
    case PSN_RESET:
        OnReset();
        break;
    case PSN_QUERYCANCEL:
        lResult = OnQueryCancel() ? FALSE : TRUE;
        break;
    case PSN_WIZBACK:
        lResult = OnWizardBack();
        break;
    case PSN_WIZNEXT:
        lResult = OnWizardNext();
        break;
    case PSN_WIZFINISH:
        lResult = OnWizardFinish() ? FALSE : TRUE;
        break;
    case PSN_HELP:
        ::SendMessageA(m_hWnd, WM_COMMAND, ID_HELP, 0);
        break;
    default:
        return CDialog::OnNotify(wParam, lParam, pResult);
    }
    // The sheet reads the answer as the message result; a dialog's answer also
    // lives in DWLP_MSGRESULT, which some paths of the platform read instead.
    ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, lResult);
    if (pResult != nullptr)
        *pResult = lResult;
    return TRUE;
}

// ---------------------------------------------------------------------------
// CPropertySheet

CPropertySheet::CPropertySheet() : m_psh() {
    CommonConstruct(nullptr, 0);
}

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage) : m_psh() {
    CommonConstruct(pParentWnd, iSelectPage);
    if (!m_strCaption.LoadString(nIDCaption))
        TRACE("CPropertySheet: caption string %u not found.\n", nIDCaption);
}

CPropertySheet::CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage) : m_psh() {
    CommonConstruct(pParentWnd, iSelectPage);
    m_strCaption = pszCaption;
}

// A modeless sheet still open is destroyed by CWnd's destructor; its pages'
// windows go with it, after which the page objects hold no window.
CPropertySheet::~CPropertySheet() = default;

void CPropertySheet::CommonConstruct(CWnd* pParentWnd, UINT iSelectPage) {
    m_psh.dwSize = sizeof(m_psh);
    m_psh.dwFlags = PSH_DEFAULT;
    m_pParentWnd = pParentWnd;
    m_nStartPage = iSelectPage;
}

void CPropertySheet::AddPage(CPropertyPage* pPage) {
    ASSERT(pPage != nullptr);
    if (pPage == nullptr)
        return;
    m_pages.push_back(pPage);
    if (m_hWnd == nullptr)
        return;
    // An open sheet makes the page at once.
    pPage->PrepareRecord();
    HPROPSHEETPAGE hPage = ::CreatePropertySheetPageA(&pPage->m_psp);
    if (hPage == nullptr || !::SendMessageA(m_hWnd, PSM_ADDPAGE, 0, (LPARAM)hPage)) {
        TRACE("CPropertySheet::AddPage: the page could not be added.\n");
        if (hPage != nullptr)
            ::DestroyPropertySheetPage(hPage);
        m_pages.pop_back();
    }
}

void CPropertySheet::RemovePage(int nPage) {
    if (nPage < 0 || nPage >= GetPageCount())
        return;
    if (m_hWnd != nullptr)
        ::SendMessageA(m_hWnd, PSM_REMOVEPAGE, (WPARAM)nPage, 0);
    m_pages.erase(m_pages.begin() + nPage);
}

void CPropertySheet::RemovePage(CPropertyPage* pPage) {
    RemovePage(GetPageIndex(pPage));
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const {
    return nPage >= 0 && nPage < GetPageCount() ? m_pages[(size_t)nPage] : nullptr;
}

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const {
    for (size_t i = 0; i < m_pages.size(); ++i)
        if (m_pages[i] == pPage)
            return (int)i;
    return -1;
}

BOOL CPropertySheet::SetActivePage(int nPage) {
    if (nPage < 0 || nPage >= GetPageCount())
        return FALSE;
    if (m_hWnd == nullptr) {
        m_nStartPage = (UINT)nPage;
        return TRUE;
    }
    return (BOOL)::SendMessageA(m_hWnd, PSM_SETCURSEL, (WPARAM)nPage, 0);
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* pPage) {
    return SetActivePage(GetPageIndex(pPage));
}

int CPropertySheet::GetActiveIndex() const {
    if (m_hWnd == nullptr)
        return (int)m_nStartPage;
    HWND hPage = (HWND)::SendMessageA(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0);
    for (size_t i = 0; i < m_pages.size(); ++i)
        if (hPage != nullptr && m_pages[i]->m_hWnd == hPage)
            return (int)i;
    return -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const {
    return GetPage(GetActiveIndex());
}

void CPropertySheet::SetTitle(LPCTSTR lpszText, UINT nStyle) {
    m_strCaption = lpszText;
    m_psh.dwFlags = (m_psh.dwFlags & ~(DWORD)PSH_PROPTITLE) | (nStyle & PSH_PROPTITLE);
    if (m_hWnd != nullptr)
        ::SendMessageA(m_hWnd, PSM_SETTITLEA, nStyle, (LPARAM)lpszText);
}

CTabCtrl* CPropertySheet::GetTabControl() const {
    if (m_hWnd == nullptr)
        return nullptr;
    return AfxTypedWnd<CTabCtrl>((HWND)::SendMessageA(m_hWnd, PSM_GETTABCONTROL, 0, 0));
}

void CPropertySheet::SetWizardMode() {
    m_psh.dwFlags |= PSH_WIZARD;
}

void CPropertySheet::SetWizardButtons(DWORD dwFlags) {
    if (m_hWnd != nullptr)
        ::PostMessageA(m_hWnd, PSM_SETWIZBUTTONS, 0, (LPARAM)dwFlags);
}

void CPropertySheet::SetFinishText(LPCTSTR lpszText) {
    if (m_hWnd != nullptr)
        ::SendMessageA(m_hWnd, PSM_SETFINISHTEXTA, 0, (LPARAM)lpszText);
}

void CPropertySheet::PressButton(int nButton) {
    if (m_hWnd != nullptr)
        ::PostMessageA(m_hWnd, PSM_PRESSBUTTON, (WPARAM)nButton, 0);
}

void CPropertySheet::BuildHeader(bool bModeless) {
    m_records.clear();
    for (CPropertyPage* pPage : m_pages) {
        pPage->PrepareRecord();
        m_records.push_back(pPage->m_psp);
        if (pPage->m_psp.dwFlags & PSP_HASHELP)
            m_psh.dwFlags |= PSH_HASHELP;
    }
    m_psh.dwSize = sizeof(m_psh);
    m_psh.dwFlags |= PSH_PROPSHEETPAGE | PSH_USECALLBACK;
    m_psh.dwFlags &= ~(DWORD)PSH_MODELESS;
    if (bModeless)
        m_psh.dwFlags |= PSH_MODELESS;
    m_psh.hInstance = AfxGetResourceHandle();
    m_psh.pszCaption = m_strCaption;
    m_psh.nPages = (UINT)m_records.size();
    m_psh.ppsp = m_records.data();
    m_psh.nStartPage = m_nStartPage < m_records.size() ? m_nStartPage : 0;
    m_psh.pfnCallback = SheetCallback;
}

int CALLBACK CPropertySheet::SheetCallback(HWND hWnd, UINT message, LPARAM) {
    if (message != PSCB_INITIALIZED || t_pSheetInit == nullptr)
        return 0;
    CPropertySheet* pSheet = t_pSheetInit;
    t_pSheetInit = nullptr;
    // A platform callback: nothing may be thrown through it.
    try {
        if (!pSheet->SubclassWindow(hWnd)) {
            TRACE("CPropertySheet: the sheet window could not be bound to its object.\n");
            ASSERT(FALSE);
        }
    } catch (CException* e) {
        TRACE("CPropertySheet: exception while binding the sheet window.\n");
        e->Delete();
    } catch (...) {
        TRACE("CPropertySheet: exception while binding the sheet window.\n");
    }
    return 0;
}

INT_PTR CPropertySheet::DoModal() {
    ASSERT(m_hWnd == nullptr);
    if (m_hWnd != nullptr || m_pages.empty())
        return -1;
    BuildHeader(false);
    m_psh.hwndParent = CDialog::OwnerFor(m_pParentWnd);

    // The platform's modal sheet disables and re-enables the owner itself.
    t_pSheetInit = this;
    INT_PTR nResult = ::PropertySheetA(&m_psh);
    t_pSheetInit = nullptr;
    if (m_hWnd != nullptr)
        DestroyWindow(); // normally gone already; never leave it bound
    if (nResult < 0)
        return -1;
    if (nResult == 0)
        return IDCANCEL;
    return IsWizard() ? ID_WIZFINISH : IDOK;
}

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle) {
    ASSERT(m_hWnd == nullptr);
    if (m_hWnd != nullptr || m_pages.empty())
        return FALSE;
    if (pParentWnd != nullptr)
        m_pParentWnd = pParentWnd;
    BuildHeader(true);
    m_psh.hwndParent = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr;
    t_pSheetInit = this;
    HWND hWnd = (HWND)::PropertySheetA(&m_psh);
    t_pSheetInit = nullptr;
    if (hWnd == nullptr || (INT_PTR)hWnd == -1 || m_hWnd != hWnd) {
        TRACE("CPropertySheet::Create: the sheet could not be made.\n");
        if (hWnd != nullptr && (INT_PTR)hWnd != -1 && m_hWnd == nullptr)
            ::DestroyWindow(hWnd);
        return FALSE;
    }
    if (dwStyle != (DWORD)-1)
        ::SetWindowLongA(m_hWnd, GWL_STYLE, (LONG)dwStyle);
    if (dwExStyle != 0)
        ::SetWindowLongA(m_hWnd, GWL_EXSTYLE, (LONG)(GetExStyle() | dwExStyle));
    return TRUE;
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg) {
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    if (m_hWnd == nullptr || (m_psh.dwFlags & PSH_MODELESS) == 0)
        return FALSE;
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd))
        return FALSE;
    BOOL bUsed = (BOOL)::SendMessageA(m_hWnd, PSM_ISDIALOGMESSAGE, 0, (LPARAM)pMsg);
    // OK and Cancel leave a modeless sheet without a current page: it is done.
    if (::SendMessageA(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0) == 0)
        DestroyWindow();
    return bUsed;
}
