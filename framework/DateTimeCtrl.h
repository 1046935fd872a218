// DateTimeCtrl.h: CDateTimeCtrl, the framework's wrapper of the date and time
// picker (DATETIMEPICK_CLASS).
//
// Status: a stateless wrapper, one message per method, on SYSTEMTIME values
// (the framework has no date class). Not wrapped: the month calendar's colours
// and font, and the drop-down calendar object.
#pragma once

#include "Wnd.h"

#include <commctrl.h>

class CDateTimeCtrl : public CWnd {
    DECLARE_DYNAMIC(CDateTimeCtrl)

public:
    CDateTimeCtrl() = default;
    ~CDateTimeCtrl() override;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
        return CWnd::Create(DATETIMEPICK_CLASSA, nullptr, dwStyle, rect, pParentWnd, nID);
    }

    // GDT_VALID with *pTimeDest filled, GDT_NONE when a DTS_SHOWNONE picker is
    // unchecked, GDT_ERROR on failure.
    DWORD GetTime(LPSYSTEMTIME pTimeDest) const {
        return (DWORD)::SendMessage(m_hWnd, DTM_GETSYSTEMTIME, 0, (LPARAM)pTimeDest);
    }
    // A null time unchecks a DTS_SHOWNONE picker.
    BOOL SetTime(const SYSTEMTIME* pTimeNew);
    // Display format such as "HH:mm"; null restores the style's format.
    BOOL SetFormat(LPCTSTR pstrFormat) {
        return (BOOL)::SendMessage(m_hWnd, DTM_SETFORMATA, 0, (LPARAM)pstrFormat);
    }
    // Limits: pMinRange and pMaxRange may each be null (no limit that side).
    BOOL SetRange(const SYSTEMTIME* pMinRange, const SYSTEMTIME* pMaxRange);
    DWORD GetRange(LPSYSTEMTIME pMinRange, LPSYSTEMTIME pMaxRange) const;
};
