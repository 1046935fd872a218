#include "ProgressCtrl.h"

IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)

// The HWND, if any, is destroyed by CWnd's destructor.
CProgressCtrl::~CProgressCtrl() = default;

void CProgressCtrl::GetRange(int& nLower, int& nUpper) const {
    PBRANGE range = {0, 0};
    ::SendMessage(m_hWnd, PBM_GETRANGE, TRUE, (LPARAM)&range);
    nLower = range.iLow;
    nUpper = range.iHigh;
}
