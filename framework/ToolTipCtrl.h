// ToolTipCtrl.h: CToolTipCtrl, the framework's wrapper of the tooltip common
// control (TOOLTIPS_CLASS).
//
// Status: a stateless wrapper, one message per method. Tools are described with
// the version-2 TOOLINFO size, which every comctl32 from 4.70 on (Wine's 5.81
// included) accepts. Implemented: creating, adding, removing and updating
// tools, relaying mouse messages, activation, delays, the maximum width,
// popping. Not wrapped: balloon titles, tracking tools, margins and colours.
#pragma once

#include "Wnd.h"

#include <commctrl.h>

class CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)

public:
    CToolTipCtrl() = default;
    ~CToolTipCtrl() override;

    // A topmost popup owned by pParentWnd with dwStyle (TTS_*) added.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);

    // A tool for pWnd: with nIDTool 0 the whole window (TTF_IDISHWND), else the
    // rectangle lpRectTool of it. lpszText may be LPSTR_TEXTCALLBACK, in which
    // case pWnd answers TTN_NEEDTEXT.
    BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText = LPSTR_TEXTCALLBACKA, LPCRECT lpRectTool = nullptr,
                 UINT_PTR nIDTool = 0);
    // The text is the string resource nIDText of the resource module.
    BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
    void UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect);
    BOOL GetToolInfo(TOOLINFOA& toolInfo, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    void SetToolInfo(TOOLINFOA* pToolInfo) {
        ::SendMessage(m_hWnd, TTM_SETTOOLINFOA, 0, (LPARAM)pToolInfo);
    }
    int GetToolCount() const { return (int)::SendMessage(m_hWnd, TTM_GETTOOLCOUNT, 0, 0); }

    // Hands a mouse message of a tool window to the tooltip.
    void RelayEvent(LPMSG lpMsg) { ::SendMessage(m_hWnd, TTM_RELAYEVENT, 0, (LPARAM)lpMsg); }
    void Activate(BOOL bActivate) { ::SendMessage(m_hWnd, TTM_ACTIVATE, (WPARAM)bActivate, 0); }
    // dwDuration TTDT_AUTOPOP, TTDT_INITIAL, TTDT_RESHOW or TTDT_AUTOMATIC.
    void SetDelayTime(DWORD dwDuration, int iTime) {
        ::SendMessage(m_hWnd, TTM_SETDELAYTIME, dwDuration, MAKELPARAM(iTime, 0));
    }
    int GetDelayTime(DWORD dwDuration) const {
        return (int)::SendMessage(m_hWnd, TTM_GETDELAYTIME, dwDuration, 0);
    }
    // Texts wider than iWidth pixels wrap; answers the previous width (-1: none).
    int SetMaxTipWidth(int iWidth) {
        return (int)::SendMessage(m_hWnd, TTM_SETMAXTIPWIDTH, 0, (LPARAM)iWidth);
    }
    int GetMaxTipWidth() const { return (int)::SendMessage(m_hWnd, TTM_GETMAXTIPWIDTH, 0, 0); }
    void Pop() { ::SendMessage(m_hWnd, TTM_POP, 0, 0); }
    void Update() { ::SendMessage(m_hWnd, TTM_UPDATE, 0, 0); }

private:
    // A TOOLINFO naming the tool (pWnd, nIDTool) with the flags that say how.
    static TOOLINFOA MakeToolInfo(CWnd* pWnd, UINT_PTR nIDTool);
};
