// SpinButtonCtrl.h: CSpinButtonCtrl, the framework's wrapper of the up-down
// control (UPDOWN_CLASS).
//
// Status: a stateless wrapper, one message per method; positions and ranges use
// the 32-bit messages (UDM_SETRANGE32, UDM_GETPOS32), so ranges such as 1 to
// 99,999 work. Not wrapped: accelerators (UDM_SETACCEL) and the number base.
#pragma once

#include "Wnd.h"

#include <commctrl.h>

class CSpinButtonCtrl : public CWnd {
    DECLARE_DYNAMIC(CSpinButtonCtrl)

public:
    CSpinButtonCtrl() = default;
    ~CSpinButtonCtrl() override;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
        return CWnd::Create(UPDOWN_CLASSA, nullptr, dwStyle, rect, pParentWnd, nID);
    }

    void SetRange(int nLower, int nUpper) { SetRange32(nLower, nUpper); }
    void SetRange32(int nLower, int nUpper) {
        ::SendMessage(m_hWnd, UDM_SETRANGE32, (WPARAM)nLower, (LPARAM)nUpper);
    }
    void GetRange(int& nLower, int& nUpper) const { GetRange32(nLower, nUpper); }
    void GetRange32(int& nLower, int& nUpper) const {
        ::SendMessage(m_hWnd, UDM_GETRANGE32, (WPARAM)&nLower, (LPARAM)&nUpper);
    }
    // Answers the previous position.
    int SetPos(int nPos) { return SetPos32(nPos); }
    int SetPos32(int nPos) { return (int)::SendMessage(m_hWnd, UDM_SETPOS32, 0, (LPARAM)nPos); }
    // The position; with the buddy's text out of range pbError (if given) is set.
    int GetPos() const { return GetPos32(); }
    int GetPos32(LPBOOL pbError = nullptr) const {
        return (int)::SendMessage(m_hWnd, UDM_GETPOS32, 0, (LPARAM)pbError);
    }
    // The buddy window is borrowed; answers the previous one.
    HWND SetBuddy(CWnd* pWndBuddy) {
        return (HWND)::SendMessage(m_hWnd, UDM_SETBUDDY,
                                   (WPARAM)(pWndBuddy ? pWndBuddy->m_hWnd : nullptr), 0);
    }
    HWND GetBuddy() const { return (HWND)::SendMessage(m_hWnd, UDM_GETBUDDY, 0, 0); }
};
