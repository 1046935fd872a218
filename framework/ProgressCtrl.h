// ProgressCtrl.h: CProgressCtrl, the framework's wrapper of the progress bar
// (PROGRESS_CLASS).
//
// Status: a stateless wrapper, one message per method, with 32-bit ranges. Not
// wrapped: marquee mode and bar states (comctl32 6 only).
#pragma once

#include "Wnd.h"

#include <commctrl.h>

class CProgressCtrl : public CWnd {
    DECLARE_DYNAMIC(CProgressCtrl)

public:
    CProgressCtrl() = default;
    ~CProgressCtrl() override;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
        return CWnd::Create(PROGRESS_CLASSA, nullptr, dwStyle, rect, pParentWnd, nID);
    }

    void SetRange(short nLower, short nUpper) { SetRange32(nLower, nUpper); }
    void SetRange32(int nLower, int nUpper) {
        ::SendMessage(m_hWnd, PBM_SETRANGE32, (WPARAM)nLower, (LPARAM)nUpper);
    }
    void GetRange(int& nLower, int& nUpper) const;
    // Each answers the previous position.
    int SetPos(int nPos) { return (int)::SendMessage(m_hWnd, PBM_SETPOS, (WPARAM)nPos, 0); }
    int GetPos() const { return (int)::SendMessage(m_hWnd, PBM_GETPOS, 0, 0); }
    int OffsetPos(int nPos) { return (int)::SendMessage(m_hWnd, PBM_DELTAPOS, (WPARAM)nPos, 0); }
    int SetStep(int nStep) { return (int)::SendMessage(m_hWnd, PBM_SETSTEP, (WPARAM)nStep, 0); }
    int StepIt() { return (int)::SendMessage(m_hWnd, PBM_STEPIT, 0, 0); }
    COLORREF SetBarColor(COLORREF clrBar) {
        return (COLORREF)::SendMessage(m_hWnd, PBM_SETBARCOLOR, 0, (LPARAM)clrBar);
    }
    COLORREF SetBkColor(COLORREF clrNew) {
        return (COLORREF)::SendMessage(m_hWnd, PBM_SETBKCOLOR, 0, (LPARAM)clrNew);
    }
};
