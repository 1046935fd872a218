#include "DataExchange.h"

#include "Exception.h"
#include "WinApp.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

// ---------------------------------------------------------------------------
// CDataExchange

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {
    ASSERT(pDlgWnd != nullptr);
}

HWND CDataExchange::PrepareCtrl(int nIDC) {
    HWND hWndCtrl = nullptr;
    if (m_pDlgWnd != nullptr && m_pDlgWnd->m_hWnd != nullptr)
        hWndCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    if (hWndCtrl == nullptr) {
        TRACE("CDataExchange::PrepareCtrl: no control %d in the dialog.\n", nIDC);
        ASSERT(FALSE);
        return nullptr;
    }
    m_idLastControl = (UINT)nIDC;
    m_bEditLastControl = FALSE;
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
    HWND hWndCtrl = PrepareCtrl(nIDC);
    if (hWndCtrl != nullptr)
        m_bEditLastControl = TRUE;
    return hWndCtrl;
}

void CDataExchange::Fail() {
    // Loading never validates: a Fail then is a programming error, but the
    // exception still ends the exchange so UpdateData reports it.
    ASSERT(m_bSaveAndValidate);
    HWND hWndCtrl = nullptr;
    if (m_idLastControl != 0 && m_pDlgWnd != nullptr && m_pDlgWnd->m_hWnd != nullptr)
        hWndCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, (int)m_idLastControl);
    if (hWndCtrl != nullptr) {
        // WM_NEXTDLGCTL moves the focus as the dialog manager does, default
        // button included.
        ::SendMessage(m_pDlgWnd->m_hWnd, WM_NEXTDLGCTL, (WPARAM)hWndCtrl, TRUE);
        if (m_bEditLastControl)
            ::SendMessage(hWndCtrl, EM_SETSEL, 0, -1);
    }
    AfxThrowUserException();
}

// ---------------------------------------------------------------------------
// CWnd::UpdateData, which drives the exchange

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
        return TRUE;
    } catch (CUserException* e) {
        // A validation failure: the user has been told and the control focused.
        e->Delete();
    } catch (CException* e) {
        char szMessage[256] = "";
        e->GetErrorMessage(szMessage, sizeof szMessage);
        TRACE("CWnd::UpdateData: exception during the exchange: %s\n", szMessage);
        e->Delete();
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// Helpers

namespace {

// Tells the user why the value cannot be taken, then fails the exchange. The
// box is owned by the dialog's top-level window, so the dialog is active again
// when the box closes and Fail can put the focus on the control.
[[noreturn]] void FailWithMessage(CDataExchange* pDX, LPCSTR pszMessage) {
    HWND hWndOwner = pDX->m_pDlgWnd != nullptr ? pDX->m_pDlgWnd->m_hWnd : nullptr;
    if (hWndOwner != nullptr)
        hWndOwner = ::GetAncestor(hWndOwner, GA_ROOT);
    ::MessageBoxA(hWndOwner, pszMessage, AfxGetAppName(), MB_ICONEXCLAMATION | MB_OK);
    pDX->Fail();
}

CString GetWindowTextOf(HWND hWnd) {
    CString strText;
    int nLength = ::GetWindowTextLengthA(hWnd);
    char* pBuffer = strText.GetBuffer(nLength);
    int nCopied = ::GetWindowTextA(hWnd, pBuffer, nLength + 1);
    strText.ReleaseBuffer(nCopied);
    return strText;
}

// Sets the text only when it differs, so loading does not move the caret or
// send EN_CHANGE for a value that did not change.
void SetWindowTextIfChanged(HWND hWnd, LPCSTR pszText) {
    if (GetWindowTextOf(hWnd).Compare(pszText) != 0)
        ::SetWindowTextA(hWnd, pszText);
}

bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
}

// True when only blanks follow pEnd and something was read before it.
bool OnlyBlanksAfter(const char* pBegin, const char* pEnd) {
    if (pEnd == pBegin)
        return false;
    while (IsBlank(*pEnd))
        ++pEnd;
    return *pEnd == '\0';
}

// Parses one signed decimal number within [minVal, maxVal].
bool ParseSigned(const CString& strText, long long minVal, long long maxVal, long long& value) {
    const char* pBegin = strText.GetString();
    while (IsBlank(*pBegin))
        ++pBegin;
    char* pEnd = nullptr;
    errno = 0;
    long long parsed = std::strtoll(pBegin, &pEnd, 10);
    if (errno == ERANGE || !OnlyBlanksAfter(pBegin, pEnd) || parsed < minVal || parsed > maxVal)
        return false;
    value = parsed;
    return true;
}

// Parses one unsigned decimal number up to maxVal; a minus sign is refused
// (strtoull would wrap it round).
bool ParseUnsigned(const CString& strText, unsigned long long maxVal, unsigned long long& value) {
    const char* pBegin = strText.GetString();
    while (IsBlank(*pBegin))
        ++pBegin;
    if (*pBegin == '-')
        return false;
    char* pEnd = nullptr;
    errno = 0;
    unsigned long long parsed = std::strtoull(pBegin, &pEnd, 10);
    if (errno == ERANGE || !OnlyBlanksAfter(pBegin, pEnd) || parsed > maxVal)
        return false;
    value = parsed;
    return true;
}

template <class T>
void ExchangeSigned(CDataExchange* pDX, int nIDC, T& value, long long minVal, long long maxVal) {
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (hWndCtrl == nullptr)
        return;
    if (pDX->m_bSaveAndValidate) {
        long long parsed = 0;
        if (!ParseSigned(GetWindowTextOf(hWndCtrl), minVal, maxVal, parsed))
            FailWithMessage(pDX, "Please enter an integer.");
        value = (T)parsed;
    } else {
        char szText[32];
        std::snprintf(szText, sizeof szText, "%lld", (long long)value);
        SetWindowTextIfChanged(hWndCtrl, szText);
    }
}

template <class T>
void ExchangeUnsigned(CDataExchange* pDX, int nIDC, T& value, unsigned long long maxVal) {
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (hWndCtrl == nullptr)
        return;
    if (pDX->m_bSaveAndValidate) {
        unsigned long long parsed = 0;
        if (!ParseUnsigned(GetWindowTextOf(hWndCtrl), maxVal, parsed))
            FailWithMessage(pDX, "Please enter a positive integer.");
        value = (T)parsed;
    } else {
        char szText[32];
        std::snprintf(szText, sizeof szText, "%llu", (unsigned long long)value);
        SetWindowTextIfChanged(hWndCtrl, szText);
    }
}

// The text of a list-box or combo item; empty for an index out of range.
CString GetItemTextOf(HWND hWnd, int nIndex, UINT msgLength, UINT msgText) {
    CString strText;
    int nLength = (int)::SendMessage(hWnd, msgLength, (WPARAM)nIndex, 0);
    if (nLength < 0)
        return strText;
    char* pBuffer = strText.GetBuffer(nLength);
    int nCopied = (int)::SendMessage(hWnd, msgText, (WPARAM)nIndex, (LPARAM)pBuffer);
    strText.ReleaseBuffer(nCopied < 0 ? 0 : nCopied);
    return strText;
}

} // namespace

// ---------------------------------------------------------------------------
// DDX_Text

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (hWndCtrl == nullptr)
        return;
    if (pDX->m_bSaveAndValidate)
        value = GetWindowTextOf(hWndCtrl);
    else
        SetWindowTextIfChanged(hWndCtrl, value);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    ExchangeSigned(pDX, nIDC, value, INT_MIN, INT_MAX);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, long& value) {
    ExchangeSigned(pDX, nIDC, value, LONG_MIN, LONG_MAX);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
    ExchangeUnsigned(pDX, nIDC, value, UINT_MAX);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, unsigned long& value) {
    ExchangeUnsigned(pDX, nIDC, value, ULONG_MAX);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, double& value) {
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (hWndCtrl == nullptr)
        return;
    if (pDX->m_bSaveAndValidate) {
        CString strText = GetWindowTextOf(hWndCtrl);
        const char* pBegin = strText.GetString();
        while (IsBlank(*pBegin))
            ++pBegin;
        char* pEnd = nullptr;
        double parsed = std::strtod(pBegin, &pEnd);
        if (!OnlyBlanksAfter(pBegin, pEnd) || !std::isfinite(parsed))
            FailWithMessage(pDX, "Please enter a number.");
        value = parsed;
    } else {
        // 15 significant digits: every double reads back as the text shows it.
        char szText[64];
        std::snprintf(szText, sizeof szText, "%.15g", value);
        SetWindowTextIfChanged(hWndCtrl, szText);
    }
}

// ---------------------------------------------------------------------------
// Buttons

void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (hWndCtrl == nullptr)
        return;
    if (pDX->m_bSaveAndValidate) {
        value = (int)::SendMessage(hWndCtrl, BM_GETCHECK, 0, 0);
    } else {
        // A value other than the three states is a programming error; shown
        // unchecked.
        ASSERT(value >= BST_UNCHECKED && value <= BST_INDETERMINATE);
        int nState = value >= BST_UNCHECKED && value <= BST_INDETERMINATE ? value : BST_UNCHECKED;
        ::SendMessage(hWndCtrl, BM_SETCHECK, (WPARAM)nState, 0);
    }
}

void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (hWndCtrl == nullptr)
        return;
    // The group starts at the given control; a WS_GROUP anywhere else ends it.
    ASSERT(::GetWindowLongA(hWndCtrl, GWL_STYLE) & WS_GROUP);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    int nButton = 0;
    HWND hWnd = hWndCtrl;
    do {
        if (::SendMessage(hWnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (pDX->m_bSaveAndValidate) {
                if (value == -1 && ::SendMessage(hWnd, BM_GETCHECK, 0, 0) == BST_CHECKED)
                    value = nButton;
            } else {
                ::SendMessage(hWnd, BM_SETCHECK, nButton == value ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            ++nButton;
        }
        hWnd = ::GetWindow(hWnd, GW_HWNDNEXT);
    } while (hWnd != nullptr && !(::GetWindowLongA(hWnd, GWL_STYLE) & WS_GROUP));
}

void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd != nullptr)
        return;
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (hWndCtrl == nullptr)
        return;
    // A control that another object holds already is a programming error.
    if (!rControl.SubclassWindow(hWndCtrl)) {
        TRACE("DDX_Control: control %d could not be subclassed.\n", nIDC);
        ASSERT(FALSE);
    }
}

// ---------------------------------------------------------------------------
// Combo and list boxes

void AFXAPI DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (hWndCtrl == nullptr)
        return;
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessage(hWndCtrl, CB_GETCURSEL, 0, 0);
    else
        ::SendMessage(hWndCtrl, CB_SETCURSEL, (WPARAM)index, 0);
}

void AFXAPI DDX_CBString(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (hWndCtrl == nullptr)
        return;
    bool bListOnly = (::GetWindowLongA(hWndCtrl, GWL_STYLE) & 0x3) == CBS_DROPDOWNLIST;
    if (pDX->m_bSaveAndValidate) {
        if (!bListOnly) {
            value = GetWindowTextOf(hWndCtrl);
        } else {
            int nIndex = (int)::SendMessage(hWndCtrl, CB_GETCURSEL, 0, 0);
            value = nIndex < 0 ? CString()
                               : GetItemTextOf(hWndCtrl, nIndex, CB_GETLBTEXTLEN, CB_GETLBTEXT);
        }
    } else {
        int nIndex =
            (int)::SendMessage(hWndCtrl, CB_SELECTSTRING, (WPARAM)-1, (LPARAM)value.GetString());
        if (nIndex == CB_ERR && !bListOnly)
            ::SetWindowTextA(hWndCtrl, value);
    }
}

void AFXAPI DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (hWndCtrl == nullptr)
        return;
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessage(hWndCtrl, LB_GETCURSEL, 0, 0);
    else
        ::SendMessage(hWndCtrl, LB_SETCURSEL, (WPARAM)index, 0);
}

void AFXAPI DDX_LBString(CDataExchange* pDX, int nIDC, CString& value) {
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (hWndCtrl == nullptr)
        return;
    if (pDX->m_bSaveAndValidate) {
        int nIndex = (int)::SendMessage(hWndCtrl, LB_GETCURSEL, 0, 0);
        value = nIndex < 0 ? CString() : GetItemTextOf(hWndCtrl, nIndex, LB_GETTEXTLEN, LB_GETTEXT);
    } else {
        // No match clears the selection, so a stale row never stays selected.
        if (::SendMessage(hWndCtrl, LB_SELECTSTRING, (WPARAM)-1, (LPARAM)value.GetString()) ==
            LB_ERR)
            ::SendMessage(hWndCtrl, LB_SETCURSEL, (WPARAM)-1, 0);
    }
}

// ---------------------------------------------------------------------------
// Validation

void AFXAPI DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
    ASSERT(minVal <= maxVal);
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    CString strMessage;
    strMessage.Format("Please enter an integer between %d and %d.", minVal, maxVal);
    FailWithMessage(pDX, strMessage);
}

void AFXAPI DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal) {
    ASSERT(minVal <= maxVal);
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    CString strMessage;
    strMessage.Format("Please enter an integer between %u and %u.", minVal, maxVal);
    FailWithMessage(pDX, strMessage);
}

void AFXAPI DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal) {
    ASSERT(minVal <= maxVal);
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    CString strMessage;
    strMessage.Format("Please enter an integer between %ld and %ld.", minVal, maxVal);
    FailWithMessage(pDX, strMessage);
}

void AFXAPI DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minVal,
                             double maxVal) {
    ASSERT(minVal <= maxVal);
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal))
        return;
    CString strMessage;
    strMessage.Format("Please enter a number between %g and %g.", minVal, maxVal);
    FailWithMessage(pDX, strMessage);
}

void AFXAPI DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
    ASSERT(nChars >= 1);
    if (!pDX->m_bSaveAndValidate) {
        // Loading limits the edit box, so the user cannot type more.
        if (pDX->m_idLastControl != 0 && pDX->m_bEditLastControl) {
            HWND hWndCtrl = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, (int)pDX->m_idLastControl);
            if (hWndCtrl != nullptr)
                ::SendMessage(hWndCtrl, EM_LIMITTEXT, (WPARAM)nChars, 0);
        }
        return;
    }
    if (value.GetLength() <= nChars)
        return;
    CString strMessage;
    strMessage.Format("Please enter no more than %d characters.", nChars);
    FailWithMessage(pDX, strMessage);
}
