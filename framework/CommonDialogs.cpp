#include "CommonDialogs.h"

#include "Exception.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)
IMPLEMENT_DYNAMIC(CFileDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CColorDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CPrintDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CFindReplaceDialog, CCommonDialog)

namespace {

// Copies pszSource into a fixed buffer, cutting it to fit.
void CopyCut(char* pDest, size_t nSize, LPCSTR pszSource) {
    if (nSize == 0)
        return;
    size_t nLength = pszSource != nullptr ? std::strlen(pszSource) : 0;
    if (nLength >= nSize)
        nLength = nSize - 1;
    if (nLength > 0)
        std::memcpy(pDest, pszSource, nLength);
    pDest[nLength] = '\0';
}

} // namespace

// ---------------------------------------------------------------------------
// CCommonDialog

// The platform's dialogs are gone when DoModal returns; CWnd's destructor
// handles a modeless one still open.
CCommonDialog::~CCommonDialog() = default;

void CCommonDialog::OnOK() {
    Default();
}

void CCommonDialog::OnCancel() {
    Default();
}

HWND CCommonDialog::OwnerHwnd() const {
    return OwnerFor(m_pParentWnd);
}

void CCommonDialog::LogFailure(LPCSTR pszWho) {
    DWORD dwError = ::CommDlgExtendedError();
    if (dwError != 0)
        TRACE("%s: the dialog failed (CommDlgExtendedError 0x%lx).\n", pszWho,
              (unsigned long)dwError);
}

// ---------------------------------------------------------------------------
// CFileDialog

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName,
                         DWORD dwFlags, LPCTSTR lpszFilter, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_ofn(), m_bOpenFileDialog(bOpenFileDialog),
      m_strDefExt(lpszDefExt), m_szFileName(), m_szFileTitle() {
    CopyCut(m_szFileName, sizeof m_szFileName, lpszFileName);
    // "Desc|*.ext|Desc2|*.x2||" becomes "Desc\0*.ext\0Desc2\0*.x2\0\0"; a filter
    // without the closing "||" gets its double NUL all the same.
    if (lpszFilter != nullptr && *lpszFilter != '\0') {
        for (const char* p = lpszFilter; *p != '\0'; ++p)
            m_filter.push_back(*p == '|' ? '\0' : *p);
        m_filter.push_back('\0');
        m_filter.push_back('\0');
    }
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.Flags = dwFlags | OFN_EXPLORER;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = sizeof m_szFileName;
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = sizeof m_szFileTitle;
    m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.data();
    m_ofn.nFilterIndex = m_filter.empty() ? 0 : 1;
    m_ofn.lpstrDefExt = m_strDefExt.IsEmpty() ? nullptr : m_strDefExt.GetString();
}

CFileDialog::~CFileDialog() = default;

INT_PTR CFileDialog::DoModal() {
    m_ofn.hwndOwner = OwnerHwnd();
    // The buffers are members: a caller that replaced them keeps its own.
    BOOL bOk = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    if (bOk)
        return IDOK;
    LogFailure("CFileDialog::DoModal");
    return IDCANCEL;
}

CString CFileDialog::GetPathName() const {
    return m_ofn.lpstrFile != nullptr ? CString(m_ofn.lpstrFile) : CString();
}

CString CFileDialog::GetFileName() const {
    CString strPath = GetPathName();
    // nFileOffset is set by the dialog; before it ran, the name follows the
    // last separator.
    if (m_ofn.nFileOffset > 0 && m_ofn.nFileOffset < strPath.GetLength())
        return strPath.Mid(m_ofn.nFileOffset);
    int nSlash = std::max(strPath.ReverseFind('\\'), strPath.ReverseFind('/'));
    return strPath.Mid(nSlash + 1);
}

CString CFileDialog::GetFileExt() const {
    CString strName = GetFileName();
    int nDot = strName.ReverseFind('.');
    return nDot < 0 ? CString() : strName.Mid(nDot + 1);
}

CString CFileDialog::GetFileTitle() const {
    CString strName = GetFileName();
    int nDot = strName.ReverseFind('.');
    return nDot < 0 ? strName : strName.Left(nDot);
}

// ---------------------------------------------------------------------------
// CColorDialog

COLORREF CColorDialog::s_customColors[16] = {
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
    RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255)};

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_cc() {
    m_cc.lStructSize = sizeof(m_cc);
    m_cc.lpCustColors = s_customColors;
    m_cc.Flags = dwFlags;
    m_cc.rgbResult = clrInit;
    if (clrInit != 0)
        m_cc.Flags |= CC_RGBINIT;
}

CColorDialog::~CColorDialog() = default;

INT_PTR CColorDialog::DoModal() {
    m_cc.hwndOwner = OwnerHwnd();
    if (::ChooseColorA(&m_cc))
        return IDOK;
    LogFailure("CColorDialog::DoModal");
    return IDCANCEL;
}

// ---------------------------------------------------------------------------
// CPrintDialog

CPrintDialog::CPrintDialog(BOOL bPrintSetupOnly, DWORD dwFlags, CWnd* pParentWnd)
    : CCommonDialog(pParentWnd), m_pd() {
    UNUSED_ALWAYS(bPrintSetupOnly);
    m_pd.lStructSize = sizeof(m_pd);
    m_pd.Flags = dwFlags | PD_RETURNDC;
    m_pd.nCopies = 1;
    m_pd.nFromPage = 1;
    m_pd.nToPage = 0xFFFF;
    m_pd.nMinPage = 1;
    m_pd.nMaxPage = 0xFFFF;
}

CPrintDialog::~CPrintDialog() {
    if (m_pd.hDC != nullptr)
        ::DeleteDC(m_pd.hDC);
    if (m_pd.hDevMode != nullptr)
        ::GlobalFree(m_pd.hDevMode);
    if (m_pd.hDevNames != nullptr)
        ::GlobalFree(m_pd.hDevNames);
}

INT_PTR CPrintDialog::DoModal() {
    // A DC of an earlier run would leak when the dialog makes a new one.
    if (m_pd.hDC != nullptr) {
        ::DeleteDC(m_pd.hDC);
        m_pd.hDC = nullptr;
    }
    m_pd.hwndOwner = OwnerHwnd();
    m_pd.Flags |= PD_RETURNDC;
    if (::PrintDlgA(&m_pd))
        return IDOK;
    LogFailure("CPrintDialog::DoModal");
    return IDCANCEL;
}

HDC CPrintDialog::CreatePrinterDC() {
    HDC hDC = m_pd.hDC;
    m_pd.hDC = nullptr;
    return hDC;
}

int CPrintDialog::GetFromPage() const {
    return PrintRange() ? m_pd.nFromPage : -1;
}

int CPrintDialog::GetToPage() const {
    return PrintRange() ? m_pd.nToPage : -1;
}

CString CPrintDialog::GetDeviceName() const {
    CString strName;
    if (m_pd.hDevNames == nullptr)
        return strName;
    auto* pNames = static_cast<const DEVNAMES*>(::GlobalLock(m_pd.hDevNames));
    if (pNames != nullptr) {
        strName = reinterpret_cast<const char*>(pNames) + pNames->wDeviceOffset;
        ::GlobalUnlock(m_pd.hDevNames);
    }
    return strName;
}

// ---------------------------------------------------------------------------
// CFindReplaceDialog

CFindReplaceDialog::CFindReplaceDialog()
    : CCommonDialog(nullptr), m_fr(), m_szFindWhat(), m_szReplaceWith() {
    m_fr.lStructSize = sizeof(m_fr);
    m_fr.lpstrFindWhat = m_szFindWhat;
    m_fr.wFindWhatLen = sizeof m_szFindWhat;
    m_fr.lpstrReplaceWith = m_szReplaceWith;
    m_fr.wReplaceWithLen = sizeof m_szReplaceWith;
}

// Reached from PostNcDestroy (delete this) or, for a dialog never shown, from
// its creator.
CFindReplaceDialog::~CFindReplaceDialog() = default;

BOOL CFindReplaceDialog::Create(BOOL bFindDialogOnly, LPCTSTR lpszFindWhat, LPCTSTR lpszReplaceWith,
                                DWORD dwFlags, CWnd* pParentWnd) {
    ASSERT(m_hWnd == nullptr);
    ASSERT(bFindDialogOnly);
    if (m_hWnd != nullptr || !bFindDialogOnly)
        return FALSE;
    CopyCut(m_szFindWhat, sizeof m_szFindWhat, lpszFindWhat);
    CopyCut(m_szReplaceWith, sizeof m_szReplaceWith, lpszReplaceWith);
    m_pParentWnd = pParentWnd;
    m_fr.hwndOwner = pParentWnd != nullptr ? pParentWnd->m_hWnd : OwnerHwnd();
    m_fr.Flags = dwFlags | FR_ENABLEHOOK;
    m_fr.lpfnHook = HookProc;
    m_fr.lCustData = reinterpret_cast<LPARAM>(this);
    HWND hWnd = ::FindTextA(&m_fr);
    if (hWnd == nullptr) {
        LogFailure("CFindReplaceDialog::Create");
        return FALSE;
    }
    return m_hWnd == hWnd;
}

CFindReplaceDialog* PASCAL CFindReplaceDialog::GetNotifier(LPARAM lParam) {
    auto* pRecord = reinterpret_cast<FINDREPLACEA*>(lParam);
    if (pRecord == nullptr || pRecord->lpfnHook != HookProc)
        return nullptr;
    return reinterpret_cast<CFindReplaceDialog*>(pRecord->lCustData);
}

UINT_PTR CALLBACK CFindReplaceDialog::HookProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_INITDIALOG)
        return FALSE;
    auto* pRecord = reinterpret_cast<FINDREPLACEA*>(lParam);
    auto* pDialog =
        pRecord != nullptr ? reinterpret_cast<CFindReplaceDialog*>(pRecord->lCustData) : nullptr;
    // A platform callback: nothing may be thrown through it.
    try {
        if (pDialog != nullptr && pDialog->m_hWnd == nullptr && !pDialog->SubclassWindow(hWnd)) {
            TRACE("CFindReplaceDialog: the dialog window could not be bound to its object.\n");
            ASSERT(FALSE);
        }
    } catch (CException* e) {
        TRACE("CFindReplaceDialog: exception while binding the dialog window.\n");
        e->Delete();
    } catch (...) {
        TRACE("CFindReplaceDialog: exception while binding the dialog window.\n");
    }
    return TRUE;
}

void CFindReplaceDialog::PostNcDestroy() {
    // The class comment's contract: the dialog lives on the heap and ends with
    // its window.
    delete this;
}
