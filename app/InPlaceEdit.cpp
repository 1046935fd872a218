// InPlaceEdit.cpp: the in-place cell editor.
#include "InPlaceEdit.h"

#include <commctrl.h>

#include <cstring>

namespace {

const UINT kCtrlC = 3;
const UINT kBackspace = 8;
const UINT kCtrlV = 22;
const UINT kCtrlX = 24;

// Digits of the largest number mode 1 takes: a longer run of digits is larger
// whatever it holds, and would not fit a 64-bit reading either.
const int kMaxNumberDigits = 10;

} // namespace

CInPlaceEdit* CInPlaceEdit::s_pInstance = nullptr;

BEGIN_MESSAGE_MAP(CInPlaceEdit, CEdit)
ON_WM_CREATE()
ON_WM_CHAR()
ON_WM_KILLFOCUS()
ON_MESSAGE(WM_PASTE, &CInPlaceEdit::OnPaste)
END_MESSAGE_MAP()

CInPlaceEdit* CInPlaceEdit::GetInstance() {
    if (s_pInstance == nullptr)
        s_pInstance = new CInPlaceEdit;
    return s_pInstance;
}

void CInPlaceEdit::DeleteInstance() {
    delete s_pInstance;
    s_pInstance = nullptr;
}

CInPlaceEdit::CInPlaceEdit()
    : m_nRow(-1), m_nColumn(-1), m_nMaxLength(0), m_bCancelled(FALSE), m_nMode(0),
      m_dwLastValidSel(0) {}

CInPlaceEdit::~CInPlaceEdit() = default;

BOOL CInPlaceEdit::ShowEditor(DWORD dwStyle, const RECT& rcCell, CWnd* pParent, UINT nID, int nRow,
                              int nColumn, LPCTSTR lpszAllowedChars, LPCTSTR lpszInitialText,
                              int nMaxLength, int nMode) {
    m_nRow = nRow;
    m_nColumn = nColumn;
    m_strAllowedChars = lpszAllowedChars != nullptr ? lpszAllowedChars : "";
    m_strInitialText = lpszInitialText != nullptr ? lpszInitialText : "";
    m_nMaxLength = nMaxLength;
    m_nMode = nMode;
    m_bCancelled = FALSE;
    if (::IsWindow(m_hWnd))
        return TRUE;
    return Create(dwStyle, rcCell, pParent, nID);
}

int CInPlaceEdit::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CEdit::OnCreate(lpCreateStruct) == -1)
        return -1;
    CWnd* pParent = GetParent();
    if (pParent != nullptr)
        SetFont(pParent->GetFont());
    ShowWindow(SW_SHOW);
    SetWindowText(m_strInitialText);
    SetSel(0, -1);
    SetFocus();
    m_strLastValid = m_strInitialText;
    m_dwLastValidSel = GetSel();
    return 0;
}

BOOL CInPlaceEdit::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE)) {
        if (pMsg->wParam == VK_ESCAPE)
            m_bCancelled = TRUE;
        CWnd* pParent = GetParent();
        if (pParent != nullptr)
            pParent->SetFocus();
        return TRUE;
    }
    return CEdit::PreTranslateMessage(pMsg);
}

bool CInPlaceEdit::IsAllowed(UINT nChar) const {
    return nChar != 0 && nChar < 256 &&
           strchr(m_strAllowedChars, static_cast<char>(static_cast<unsigned char>(nChar))) !=
               nullptr;
}

void CInPlaceEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (!IsAllowed(nChar) && nChar != kCtrlC && nChar != kBackspace && nChar != kCtrlV &&
        nChar != kCtrlX)
        return;
    if (GetWindowTextLength() >= m_nMaxLength && nChar != kBackspace && nChar != kCtrlX)
        return;
    if (nChar == kCtrlV) {
        // Through the filter rather than the control's own paste, which would
        // take the clipboard whole.
        if (PasteFiltered())
            NotifyParent();
        return;
    }
    CEdit::OnChar(nChar, nRepCnt, nFlags);
    if (KeepOrRevert())
        NotifyParent();
}

LRESULT CInPlaceEdit::OnPaste(WPARAM, LPARAM) {
    if (PasteFiltered())
        NotifyParent();
    return 0;
}

bool CInPlaceEdit::PasteFiltered() {
    if (!::IsClipboardFormatAvailable(CF_TEXT) || !::OpenClipboard(m_hWnd))
        return false;
    CString strPasted;
    HANDLE hData = ::GetClipboardData(CF_TEXT);
    const char* pszData =
        hData != nullptr ? static_cast<const char*>(::GlobalLock(hData)) : nullptr;
    if (pszData != nullptr) {
        // The handle's size bounds the text when its terminator is missing.
        const SIZE_T nSize = ::GlobalSize(hData);
        for (SIZE_T i = 0; i < nSize && pszData[i] != '\0'; ++i)
            if (IsAllowed(static_cast<unsigned char>(pszData[i])))
                strPasted += pszData[i];
        ::GlobalUnlock(hData);
    }
    ::CloseClipboard();

    int nStart = 0, nEnd = 0;
    GetSel(nStart, nEnd);
    const int nRoom = m_nMaxLength - (GetWindowTextLength() - (nEnd - nStart));
    if (nRoom <= 0 || strPasted.IsEmpty())
        return false;
    ReplaceSel(strPasted.Left(nRoom), TRUE);
    return KeepOrRevert();
}

bool CInPlaceEdit::IsValidText(const CString& strText) const {
    if (m_nMode != kModeNumber)
        return true;
    int nDigits = 0;
    unsigned long long nValue = 0;
    for (const char* p = strText; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9')
            return false;
        // Leading zeros add no digit of value.
        if (nValue == 0 && *p == '0')
            continue;
        if (++nDigits > kMaxNumberDigits)
            return false;
        nValue = nValue * 10 + static_cast<unsigned long long>(*p - '0');
    }
    return nValue <= kMaxNumber;
}

bool CInPlaceEdit::KeepOrRevert() {
    CString strText;
    GetWindowText(strText);
    if (IsValidText(strText)) {
        m_strLastValid = strText;
        m_dwLastValidSel = GetSel();
        return true;
    }
    SetWindowText(m_strLastValid);
    SetSel(m_dwLastValidSel);
    return false;
}

void CInPlaceEdit::OnKillFocus(CWnd* pNewWnd) {
    CEdit::OnKillFocus(pNewWnd);
    NotifyParent();
    PostMessage(WM_CLOSE);
}

void CInPlaceEdit::NotifyParent() {
    CWnd* pParent = GetParent();
    if (pParent == nullptr)
        return;
    CString strText;
    if (m_bCancelled)
        strText = m_strInitialText;
    else
        GetWindowText(strText);

    NMLVDISPINFOA dispInfo = {};
    dispInfo.hdr.hwndFrom = pParent->m_hWnd;
    dispInfo.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    dispInfo.hdr.code = LVN_ENDLABELEDITA;
    dispInfo.item.mask = LVIF_TEXT;
    dispInfo.item.iItem = m_nRow;
    dispInfo.item.iSubItem = m_nColumn;
    dispInfo.item.pszText = const_cast<LPSTR>(strText.GetString());
    dispInfo.item.cchTextMax = strText.GetLength();
    pParent->SendMessage(WM_NOTIFY, static_cast<WPARAM>(pParent->GetDlgCtrlID()),
                         reinterpret_cast<LPARAM>(&dispInfo));
}
