#include "ComboBox.h"

IMPLEMENT_DYNAMIC(CComboBox, CWnd)

// The HWND, if any, is destroyed by CWnd's destructor.
CComboBox::~CComboBox() = default;

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("COMBOBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}

void CComboBox::GetLBText(int nIndex, CString& rString) const {
    rString.Empty();
    int nLength = GetLBTextLen(nIndex);
    if (nLength == CB_ERR)
        return;
    char* pBuffer = rString.GetBuffer(nLength);
    int nCopied = GetLBText(nIndex, pBuffer);
    rString.ReleaseBuffer(nCopied == CB_ERR ? 0 : nCopied);
}
