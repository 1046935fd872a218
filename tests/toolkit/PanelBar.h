// PanelBar.h: CPanelBar, a sizeable bar with a child window over its client
// area, as the application's panels host their forms; a stand-in for them in
// the docking tests. One test program includes it once.
#pragma once

#include "toolkit/OXSizeCtrlBar.h"

// A panel with a child window over its client area, as the real panels host
// their forms.
class CPanelBar : public COXSizeControlBar {
public:
    explicit CPanelBar(DWORD dwSizeBarStyle) : COXSizeControlBar(dwSizeBarStyle) {}
    BOOL CreatePanel(CWnd* pFrame, LPCTSTR lpszTitle, UINT nID, const CRect& rect) {
        if (!Create(pFrame, lpszTitle, nID, WS_CHILD | WS_VISIBLE | CBRS_TOP, rect))
            return FALSE;
        return m_content.CreateEx(WS_EX_CLIENTEDGE, "Static", lpszTitle, WS_CHILD | WS_VISIBLE,
                                  CRect(0, 0, 10, 10), this, 1);
    }
    CWnd m_content;

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy) {
        COXSizeControlBar::OnSize(nType, cx, cy);
        if (m_content.m_hWnd != nullptr)
            m_content.MoveWindow(0, 0, cx, cy);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPanelBar, COXSizeControlBar)
ON_WM_SIZE()
END_MESSAGE_MAP()
