#include "Dialog.h"

#include "AfxResource.h"
#include "Exception.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog() = default;

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEA(nIDTemplate)), m_nIDHelp(nIDTemplate),
      m_pParentWnd(pParentWnd) {}

// A named template is kept by pointer: the caller's text must outlive the
// object (a literal, as every caller passes).
CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd) {}

// A modeless dialog still open is destroyed by CWnd's destructor (map entry
// removed first, then the subclass, then DestroyWindow).
CDialog::~CDialog() = default;

LPCDLGTEMPLATE CDialog::FindTemplate(LPCTSTR lpszTemplateName, HINSTANCE& hInstFound) {
    hInstFound = nullptr;
    if (lpszTemplateName == nullptr)
        return nullptr;
    // The resource library first (it may replace the program's dialogs), then
    // the program itself.
    HINSTANCE candidates[2] = {AfxGetResourceHandle(), ::GetModuleHandleA(nullptr)};
    for (HINSTANCE hInst : candidates) {
        HRSRC hResource =
            ::FindResourceA(hInst, lpszTemplateName, MAKEINTRESOURCEA(5) /* RT_DIALOG */);
        if (hResource == nullptr)
            continue;
        HGLOBAL hGlobal = ::LoadResource(hInst, hResource);
        auto pTemplate = static_cast<LPCDLGTEMPLATE>(hGlobal ? ::LockResource(hGlobal) : nullptr);
        if (pTemplate != nullptr) {
            hInstFound = hInst;
            return pTemplate;
        }
    }
    if (IS_INTRESOURCE(lpszTemplateName))
        TRACE("CDialog: dialog template %u not found.\n", (UINT)(UINT_PTR)lpszTemplateName);
    else
        TRACE("CDialog: dialog template \"%s\" not found.\n", lpszTemplateName);
    return nullptr;
}

HWND CDialog::OwnerFor(CWnd* pParentWnd) {
    HWND hWndTop = nullptr;
    CWnd* pOwner = CWnd::GetSafeOwner(pParentWnd, &hWndTop);
    HWND hWnd = pOwner != nullptr ? pOwner->m_hWnd : nullptr;
    // A child parent (a view, a page) cannot own a popup: its top-level window
    // does, and that is the window to disable while the dialog runs.
    while (hWnd != nullptr && (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD))
        hWnd = ::GetParent(hWnd);
    return hWnd;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG)
        return FALSE; // the dialog manager's default processing
    return HandleInitDialog(reinterpret_cast<CDialog*>(lParam), hWnd);
}

INT_PTR CDialog::HandleInitDialog(CDialog* pDialog, HWND hWnd) {
    if (pDialog == nullptr)
        return TRUE;
    // No exception may leave a dialog procedure: one from binding or from
    // OnInitDialog ends a modal dialog with -1 and leaves a modeless one as it is.
    try {
        if (pDialog->m_hWnd == nullptr && !pDialog->SubclassWindow(hWnd)) {
            TRACE("CDialog: the dialog window could not be bound to its object.\n");
            ASSERT(FALSE);
            return TRUE;
        }
        return pDialog->OnInitDialog();
    } catch (CException* e) {
        char szMessage[256] = "";
        e->GetErrorMessage(szMessage, sizeof szMessage);
        TRACE("CDialog::OnInitDialog: exception: %s\n", szMessage);
        e->Delete();
    } catch (...) {
        TRACE("CDialog::OnInitDialog: unknown exception.\n");
    }
    if (pDialog->m_nFlags & WF_CONTINUEMODAL)
        pDialog->EndModalLoop(-1);
    return TRUE;
}

INT_PTR CDialog::DoModal() {
    ASSERT(m_hWnd == nullptr);
    if (m_hWnd != nullptr)
        return -1; // already open: a programming error
    HINSTANCE hInst = nullptr;
    LPCDLGTEMPLATE pTemplate = FindTemplate(m_lpszTemplateName, hInst);
    if (pTemplate == nullptr)
        return -1;

    HWND hWndOwner = OwnerFor(m_pParentWnd);
    bool bEnableOwner = hWndOwner != nullptr && ::IsWindowEnabled(hWndOwner);
    if (bEnableOwner)
        ::EnableWindow(hWndOwner, FALSE);

    // Set before the window exists, so that an EndDialog from OnInitDialog
    // already ends the loop that has not started yet.
    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;
    HWND hWnd = ::CreateDialogIndirectParamA(hInst, pTemplate, hWndOwner, DialogProc, (LPARAM)this);
    if (hWnd != nullptr && m_hWnd == hWnd) {
        if (m_nFlags & WF_CONTINUEMODAL) {
            ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
            RunModalLoop(0);
        }
    } else {
        TRACE("CDialog::DoModal: the dialog window could not be created.\n");
        if (hWnd != nullptr)
            ::DestroyWindow(hWnd);
        m_nModalResult = -1;
    }
    m_nFlags &= ~(UINT)WF_CONTINUEMODAL;

    // Hide first and give the owner back its activation before the window
    // goes, so the activation does not wander to another application.
    if (m_hWnd != nullptr)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    if (bEnableOwner)
        ::EnableWindow(hWndOwner, TRUE);
    if (hWndOwner != nullptr && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hWndOwner);
    if (m_hWnd != nullptr)
        DestroyWindow();
    return m_nModalResult;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    return Create(MAKEINTRESOURCEA(nIDTemplate), pParentWnd);
}

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd) {
    ASSERT(m_hWnd == nullptr);
    if (m_hWnd != nullptr)
        return FALSE;
    m_lpszTemplateName = lpszTemplateName;
    if (IS_INTRESOURCE(lpszTemplateName) && m_nIDHelp == 0)
        m_nIDHelp = (UINT)(UINT_PTR)lpszTemplateName;
    m_pParentWnd = pParentWnd;
    HINSTANCE hInst = nullptr;
    LPCDLGTEMPLATE pTemplate = FindTemplate(lpszTemplateName, hInst);
    if (pTemplate == nullptr)
        return FALSE;
    HWND hWndParent = pParentWnd != nullptr ? pParentWnd->m_hWnd : OwnerFor(nullptr);
    HWND hWnd =
        ::CreateDialogIndirectParamA(hInst, pTemplate, hWndParent, DialogProc, (LPARAM)this);
    if (hWnd == nullptr) {
        TRACE("CDialog::Create: the dialog window could not be created (error "
              "%lu).\n",
              (unsigned long)::GetLastError());
        return FALSE;
    }
    if (m_hWnd != hWnd) {
        ::DestroyWindow(hWnd); // not bound: nothing could reach the object
        return FALSE;
    }
    return TRUE;
}

void CDialog::EndDialog(int nResult) {
    ASSERT(m_hWnd != nullptr);
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL))
        EndModalLoop(nResult);
    else if (m_hWnd != nullptr)
        ::EndDialog(m_hWnd, nResult);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
    if (pWndCtrl != nullptr && pWndCtrl->m_hWnd != nullptr)
        ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, (WPARAM)pWndCtrl->m_hWnd, TRUE);
}

void CDialog::NextDlgCtrl() const {
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, FALSE);
}

void CDialog::PrevDlgCtrl() const {
    ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 1, FALSE);
}

void CDialog::SetDefID(UINT nID) {
    ::SendMessageA(m_hWnd, DM_SETDEFID, nID, 0);
}

DWORD CDialog::GetDefID() const {
    return (DWORD)::SendMessageA(m_hWnd, DM_GETDEFID, 0, 0);
}

void CDialog::MapDialogRect(LPRECT lpRect) const {
    ::MapDialogRect(m_hWnd, lpRect);
}

BOOL CDialog::OnInitDialog() {
    // A failed load (a missing control) has been asserted by the exchange; the
    // dialog still opens.
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return; // the exchange told the user and focused the control
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    // A child dialog (a page's panel) leaves the keys to its top-level dialog,
    // whose dialog manager walks into DS_CONTROL children itself; taking them
    // here would keep Tab, Enter and Esc inside the panel.
    if (m_hWnd == nullptr || (GetStyle() & WS_CHILD))
        return FALSE;
    // Keyboard and mouse input for the dialog or its controls gets the dialog
    // manager's handling: Tab, arrows, mnemonics, Enter and Esc.
    bool bInput = (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) ||
                  (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST);
    if (!bInput)
        return FALSE;
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd))
        return FALSE;
    return ::IsDialogMessageA(m_hWnd, pMsg);
}
