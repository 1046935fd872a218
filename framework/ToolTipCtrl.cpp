#include "ToolTipCtrl.h"

#include "AfxResource.h"

IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

// The HWND, if any, is destroyed by CWnd's destructor.
CToolTipCtrl::~CToolTipCtrl() = default;

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) {
    return CWnd::CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | dwStyle,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                          pParentWnd->GetSafeHwnd(), nullptr);
}

TOOLINFOA CToolTipCtrl::MakeToolInfo(CWnd* pWnd, UINT_PTR nIDTool) {
    TOOLINFOA info = {};
    info.cbSize = TTTOOLINFOA_V2_SIZE;
    info.hwnd = pWnd->GetSafeHwnd();
    if (nIDTool == 0) {
        // The whole window is the tool: its handle is the id.
        info.uFlags = TTF_IDISHWND;
        info.uId = (UINT_PTR)info.hwnd;
    } else {
        info.uId = nIDTool;
    }
    return info;
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
    ASSERT(pWnd != nullptr && (lpRectTool != nullptr || nIDTool == 0));
    if (pWnd == nullptr)
        return FALSE;
    TOOLINFOA info = MakeToolInfo(pWnd, nIDTool);
    if (lpRectTool != nullptr)
        info.rect = *lpRectTool;
    else if (nIDTool != 0)
        ::GetClientRect(info.hwnd, &info.rect);
    info.lpszText = const_cast<LPSTR>(lpszText);
    return (BOOL)::SendMessage(m_hWnd, TTM_ADDTOOLA, 0, (LPARAM)&info);
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
    ASSERT(pWnd != nullptr);
    if (pWnd == nullptr)
        return FALSE;
    TOOLINFOA info = MakeToolInfo(pWnd, nIDTool);
    if (lpRectTool != nullptr)
        info.rect = *lpRectTool;
    else if (nIDTool != 0)
        ::GetClientRect(info.hwnd, &info.rect);
    info.hinst = AfxGetResourceHandle();
    info.lpszText = MAKEINTRESOURCEA(nIDText);
    return (BOOL)::SendMessage(m_hWnd, TTM_ADDTOOLA, 0, (LPARAM)&info);
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool) {
    TOOLINFOA info = MakeToolInfo(pWnd, nIDTool);
    ::SendMessage(m_hWnd, TTM_DELTOOLA, 0, (LPARAM)&info);
}

void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool) {
    TOOLINFOA info = MakeToolInfo(pWnd, nIDTool);
    info.lpszText = const_cast<LPSTR>(lpszText);
    ::SendMessage(m_hWnd, TTM_UPDATETIPTEXTA, 0, (LPARAM)&info);
}

void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect) {
    TOOLINFOA info = MakeToolInfo(pWnd, nIDTool);
    if (lpRect != nullptr)
        info.rect = *lpRect;
    ::SendMessage(m_hWnd, TTM_NEWTOOLRECTA, 0, (LPARAM)&info);
}

BOOL CToolTipCtrl::GetToolInfo(TOOLINFOA& toolInfo, CWnd* pWnd, UINT_PTR nIDTool) const {
    toolInfo = MakeToolInfo(pWnd, nIDTool);
    // The text is not asked for: its length is unknown.
    toolInfo.lpszText = nullptr;
    return (BOOL)::SendMessage(m_hWnd, TTM_GETTOOLINFOA, 0, (LPARAM)&toolInfo);
}
