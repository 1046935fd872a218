#include "Edit.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CEdit, CWnd)

// The HWND, if any, is destroyed by CWnd's destructor.
CEdit::~CEdit() = default;

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("EDIT", nullptr, dwStyle, rect, pParentWnd, nID);
}

void CEdit::SetSel(int nStartChar, int nEndChar, BOOL bNoScroll) {
    ::SendMessage(m_hWnd, EM_SETSEL, (WPARAM)nStartChar, (LPARAM)nEndChar);
    if (!bNoScroll)
        ::SendMessage(m_hWnd, EM_SCROLLCARET, 0, 0);
}

void CEdit::GetSel(int& nStartChar, int& nEndChar) const {
    DWORD dwStart = 0, dwEnd = 0;
    ::SendMessage(m_hWnd, EM_GETSEL, (WPARAM)&dwStart, (LPARAM)&dwEnd);
    nStartChar = (int)dwStart;
    nEndChar = (int)dwEnd;
}

int CEdit::GetLine(int nIndex, LPTSTR lpszBuffer, int nMaxLength) const {
    // EM_GETLINE reads the buffer size from the buffer's first WORD and does not
    // terminate the text.
    if (lpszBuffer == nullptr || nMaxLength < (int)sizeof(WORD))
        return 0;
    *reinterpret_cast<WORD*>(lpszBuffer) = (WORD)std::min(nMaxLength, 0xFFFF);
    int nCopied = (int)::SendMessage(m_hWnd, EM_GETLINE, (WPARAM)nIndex, (LPARAM)lpszBuffer);
    if (nCopied < nMaxLength)
        lpszBuffer[nCopied] = '\0';
    return nCopied;
}
