#include "DateTimeCtrl.h"

IMPLEMENT_DYNAMIC(CDateTimeCtrl, CWnd)

// The HWND, if any, is destroyed by CWnd's destructor.
CDateTimeCtrl::~CDateTimeCtrl() = default;

BOOL CDateTimeCtrl::SetTime(const SYSTEMTIME* pTimeNew) {
    if (pTimeNew != nullptr)
        return (BOOL)::SendMessage(m_hWnd, DTM_SETSYSTEMTIME, GDT_VALID, (LPARAM)pTimeNew);
    // GDT_NONE ignores the time, but Wine's picker refuses a null one.
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return (BOOL)::SendMessage(m_hWnd, DTM_SETSYSTEMTIME, GDT_NONE, (LPARAM)&now);
}

BOOL CDateTimeCtrl::SetRange(const SYSTEMTIME* pMinRange, const SYSTEMTIME* pMaxRange) {
    SYSTEMTIME range[2] = {};
    WPARAM flags = 0;
    if (pMinRange != nullptr) {
        range[0] = *pMinRange;
        flags |= GDTR_MIN;
    }
    if (pMaxRange != nullptr) {
        range[1] = *pMaxRange;
        flags |= GDTR_MAX;
    }
    return (BOOL)::SendMessage(m_hWnd, DTM_SETRANGE, flags, (LPARAM)range);
}

DWORD CDateTimeCtrl::GetRange(LPSYSTEMTIME pMinRange, LPSYSTEMTIME pMaxRange) const {
    SYSTEMTIME range[2] = {};
    DWORD flags = (DWORD)::SendMessage(m_hWnd, DTM_GETRANGE, 0, (LPARAM)range);
    if (pMinRange != nullptr)
        *pMinRange = range[0];
    if (pMaxRange != nullptr)
        *pMaxRange = range[1];
    return flags;
}
