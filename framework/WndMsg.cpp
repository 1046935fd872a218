// WndMsg.cpp: CWnd's message dispatch (WindowProc, OnWndMsg, Default), command and
// notification routing with reflection to controls, command-UI updates of
// controls, modal loops, and the default message handlers.
#include "Wnd.h"

#include "CmdUI.h"
#include "Dc.h"
#include "Menu.h"
#include "WinThread.h"

// CWnd's own entries: the teardown at WM_NCDESTROY, and the requests a parent
// hands to the control concerned (owner drawing, colours).
// clang-format off
BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_NCDESTROY()
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
    ON_WM_COMPAREITEM()
    ON_WM_DELETEITEM()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()
// clang-format on

// ---------------------------------------------------------------------------
// Dispatch.

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT lResult = 0;
    BOOL bHandled = FALSE;
    if (message == WM_COMMAND) {
        bHandled = OnCommand(wParam, lParam);
        lResult = 1;
    } else if (message == WM_NOTIFY) {
        const NMHDR* pNMHDR = reinterpret_cast<const NMHDR*>(lParam);
        bHandled =
            pNMHDR != nullptr && pNMHDR->hwndFrom != nullptr && OnNotify(wParam, lParam, &lResult);
    } else if (const AFX_MSGMAP_ENTRY* pEntry = FindWindowMessageEntry(message)) {
        AFX_MSGCALL call = {message, wParam, lParam, 0, 0, nullptr, 0};
        // The handler may destroy and delete this object; nothing touches it after.
        bHandled = pEntry->pfnHandler(this, call);
        lResult = call.lResult;
    }
    if (bHandled && pResult != nullptr)
        *pResult = lResult;
    return bHandled;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper != nullptr)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    if (message >= WM_APP && message < 0xC000)
        TRACE("CWnd::DefWindowProc: private message 0x%04X to %p has no handler.\n", message,
              m_hWnd);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    if (msg.hwnd != m_hWnd) {
        // Called outside a message of this window: there is nothing to default.
        TRACE("CWnd::Default: no current message for %p.\n", m_hWnd);
        return 0;
    }
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

const MSG* PASCAL CWnd::GetCurrentMessage() {
    MSG* pMsg = &AfxGetThreadState()->m_lastSentMsg;
    pMsg->time = static_cast<DWORD>(::GetMessageTime());
    DWORD dwPos = ::GetMessagePos();
    pMsg->pt.x = static_cast<short>(LOWORD(dwPos));
    pMsg->pt.y = static_cast<short>(HIWORD(dwPos));
    return pMsg;
}

BOOL CWnd::PreTranslateMessage(MSG* pMsg) {
    if (m_nFlags & WF_TOOLTIPS)
        FilterToolTipMessage(pMsg);
    return FALSE;
}

BOOL PASCAL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
    for (HWND hWnd = pMsg->hwnd; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
        if (CWnd* pWnd = FromHandlePermanent(hWnd)) {
            if (pWnd->PreTranslateMessage(pMsg))
                return TRUE;
        }
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// Commands and notifications.

namespace {

// Asks whether a command is enabled without showing anything.
class CProbeCmdUI : public CCmdUI {
public:
    explicit CProbeCmdUI(UINT nID) : m_bEnabled(TRUE) { m_nID = nID; }
    void Enable(BOOL bOn) override {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCTSTR) override {}

    BOOL m_bEnabled;
};

// Commands of menus and toolbars (as opposed to control ids and system commands)
// also go to the owners of the window that received them.
bool IsRoutedToOwners(UINT nID, int nCode) {
    return nID >= 0x8000 && nID < 0xF000 &&
           (nCode == CN_COMMAND || nCode == static_cast<int>(CN_UPDATE_COMMAND_UI));
}

// Owner chains are short; SetOwner could still make a cycle.
const int kMaxOwnerDepth = 64;

} // namespace

BOOL CWnd::RouteCommand(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (!IsRoutedToOwners(nID, nCode))
        return FALSE;
    int nDepth = 0;
    for (CWnd* pOwner = GetOwner(); pOwner != nullptr && nDepth < kMaxOwnerDepth;
         pOwner = pOwner->GetOwner(), ++nDepth) {
        if (pOwner->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
    }
    return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    UINT nID = LOWORD(wParam);
    int nCode = HIWORD(wParam);
    HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    if (hWndCtrl == nullptr) {
        // A menu command or an accelerator.
        if (nID == 0)
            return FALSE;
        // Its state may have changed since the menu was shown; an accelerator
        // reaches commands whose buttons are disabled.
        CProbeCmdUI probe(nID);
        RouteCommand(nID, static_cast<int>(CN_UPDATE_COMMAND_UI), &probe, nullptr);
        if (!probe.m_bEnabled) {
            TRACE("CWnd::OnCommand: command %u is disabled; dropped.\n", nID);
            return TRUE;
        }
        nCode = CN_COMMAND;
    } else {
        // The control's own reflected handler first.
        CWnd* pChild = FromHandlePermanent(hWndCtrl);
        if (pChild != nullptr && pChild != this &&
            pChild->OnChildNotify(WM_COMMAND, wParam, lParam, nullptr))
            return TRUE;
        if (nID == 0)
            return FALSE;
    }
    return RouteCommand(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    HWND hWndCtrl = pNMHDR->hwndFrom;
    CWnd* pChild = FromHandlePermanent(hWndCtrl);
    if (pChild != nullptr && pChild != this &&
        pChild->OnChildNotify(WM_NOTIFY, wParam, lParam, pResult))
        return TRUE;
    // The id is the sender's control id (a tooltip control's is 0), as the
    // handlers' id ranges expect.
    UINT nID = static_cast<UINT>(::GetDlgCtrlID(hWndCtrl));
    AFX_NOTIFY notify = {pResult, pNMHDR};
    return OnCmdMsg(nID, MAKELONG(pNMHDR->code, WM_NOTIFY), &notify, nullptr);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT lUnused = 0;
    if (pResult == nullptr)
        pResult = &lUnused;
    switch (message) {
    case WM_COMMAND:
        // Only this object's own maps: a reflected notification is not routed on.
        if (CCmdTarget::OnCmdMsg(0, MAKELONG(HIWORD(wParam), WM_REFLECT_BASE + WM_COMMAND), nullptr,
                                 nullptr)) {
            *pResult = 1;
            return TRUE;
        }
        return FALSE;
    case WM_NOTIFY: {
        NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
        AFX_NOTIFY notify = {pResult, pNMHDR};
        return CCmdTarget::OnCmdMsg(0, MAKELONG(pNMHDR->code, WM_REFLECT_BASE + WM_NOTIFY), &notify,
                                    nullptr);
    }
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
        return OnWndMsg(WM_REFLECT_BASE + message, wParam, lParam, pResult);
    default:
        if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
            AFX_CTLCOLOR ctl = {m_hWnd, reinterpret_cast<HDC>(wParam), message - WM_CTLCOLORMSGBOX};
            return OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, 0, reinterpret_cast<LPARAM>(&ctl),
                            pResult);
        }
        return FALSE;
    }
}

BOOL PASCAL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult) {
    CWnd* pChild = FromHandlePermanent(hWndChild);
    return pChild != nullptr && pChild->SendChildNotifyLastMsg(pResult);
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult) {
    const MSG& msg = AfxGetThreadState()->m_lastSentMsg;
    return OnChildNotify(msg.message, msg.wParam, msg.lParam, pResult);
}

// ---------------------------------------------------------------------------
// Descendants and command-UI updates of controls.

namespace {
void SendToDescendants(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                       BOOL bOnlyPerm) {
    for (HWND hChild = ::GetTopWindow(hWnd); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        if (!bOnlyPerm)
            ::SendMessageA(hChild, message, wParam, lParam);
        else if (CWnd* pChild = CWnd::FromHandlePermanent(hChild))
            AfxCallWndProc(pChild, hChild, message, wParam, lParam);
        if (bDeep && ::GetTopWindow(hChild) != nullptr)
            SendToDescendants(hChild, message, wParam, lParam, bDeep, bOnlyPerm);
    }
}
} // namespace

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep,
                                    BOOL bOnlyPerm) {
    if (m_hWnd != nullptr)
        SendToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
    CCmdUI state;
    for (HWND hChild = ::GetTopWindow(m_hWnd); hChild != nullptr;
         hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        state.m_pOther = FromHandle(hChild);
        state.m_nID = static_cast<UINT>(::GetDlgCtrlID(hChild));
        // Check boxes and radio buttons that check themselves work without a handler.
        BOOL bDisable = bDisableIfNoHndler;
        if (::SendMessageA(hChild, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON) {
            UINT nType = static_cast<UINT>(::GetWindowLongA(hChild, GWL_STYLE)) & BS_TYPEMASK;
            if (nType == BS_AUTOCHECKBOX || nType == BS_AUTO3STATE || nType == BS_AUTORADIOBUTTON ||
                nType == BS_GROUPBOX)
                bDisable = FALSE;
        }
        state.DoUpdate(pTarget, bDisable);
    }
}

// ---------------------------------------------------------------------------
// Modal loops.

int CWnd::RunModalLoop(DWORD dwFlags) {
    if (m_nFlags & WF_MODALLOOP) {
        TRACE("CWnd::RunModalLoop: a modal loop runs on %p already.\n", m_hWnd);
        return -1;
    }
    bool bIdle = true;
    LONG lIdleCount = 0;
    bool bShowIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    HWND hWndParent = ::GetParent(m_hWnd);
    m_nFlags |= WF_MODALLOOP | WF_CONTINUEMODAL;
    MSG msg;
    for (;;) {
        while (bIdle && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (bShowIdle) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                bShowIdle = false;
            }
            if (!(dwFlags & MLF_NOIDLEMSG) && hWndParent != nullptr && lIdleCount == 0)
                ::SendMessageA(hWndParent, WM_ENTERIDLE, MSGF_DIALOGBOX,
                               reinterpret_cast<LPARAM>(m_hWnd));
            if ((dwFlags & MLF_NOKICKIDLE) ||
                !::SendMessageA(m_hWnd, WM_KICKIDLE, MSGF_DIALOGBOX, lIdleCount++))
                bIdle = false;
        }
        do {
            if (!ContinueModal())
                goto done;
            if (!AfxPumpMessage()) {
                m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
                return -1;
            }
            if (!ContinueModal())
                goto done;
            CWinThread* pThread = AfxGetThread();
            if (pThread == nullptr || pThread->IsIdleMessage(&AfxGetThreadState()->m_msgCur)) {
                bIdle = true;
                lIdleCount = 0;
            }
        } while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    }
done:
    m_nFlags &= ~WF_MODALLOOP;
    return m_nModalResult;
}

BOOL CWnd::ContinueModal() {
    return (m_nFlags & WF_CONTINUEMODAL) != 0;
}

void CWnd::EndModalLoop(int nResult) {
    m_nModalResult = nResult;
    if (m_nFlags & WF_CONTINUEMODAL) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0); // wakes a loop waiting in GetMessage
    }
}

// ---------------------------------------------------------------------------
// Owner drawing and colours: the menu or control concerned answers first.

namespace {
// The permanent wrapper of the menu that holds item nID (a submenu's item is
// identified by the submenu's handle), searched depth first; null when none.
CMenu* FindMenuOfItem(HMENU hMenu, UINT_PTR nID) {
    int nCount = hMenu != nullptr ? ::GetMenuItemCount(hMenu) : 0;
    for (int i = 0; i < nCount; ++i) {
        HMENU hSub = ::GetSubMenu(hMenu, i);
        if (hSub != nullptr) {
            if (reinterpret_cast<UINT_PTR>(hSub) == nID)
                return CMenu::FromHandlePermanent(hMenu);
            if (CMenu* pFound = FindMenuOfItem(hSub, nID))
                return pFound;
        } else if (::GetMenuItemID(hMenu, i) == nID) {
            return CMenu::FromHandlePermanent(hMenu);
        }
    }
    return nullptr;
}
} // namespace

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (lpDrawItemStruct->CtlType == ODT_MENU) {
        HMENU hMenu = reinterpret_cast<HMENU>(lpDrawItemStruct->hwndItem);
        if (CMenu* pMenu = CMenu::FromHandlePermanent(hMenu)) {
            pMenu->DrawItem(lpDrawItemStruct);
            return;
        }
    } else if (ReflectLastMsg(lpDrawItemStruct->hwndItem)) {
        return;
    }
    Default();
}

void CWnd::OnMeasureItem(int, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    if (lpMeasureItemStruct->CtlType == ODT_MENU) {
        HMENU hSearch =
            CMenu::GetTrackingWindow() == m_hWnd ? CMenu::GetTrackingMenu() : ::GetMenu(m_hWnd);
        if (CMenu* pMenu = FindMenuOfItem(hSearch, lpMeasureItemStruct->itemID)) {
            pMenu->MeasureItem(lpMeasureItemStruct);
            return;
        }
    } else {
        CWnd* pChild = GetDescendantWindow(static_cast<int>(lpMeasureItemStruct->CtlID), TRUE);
        if (pChild != nullptr && pChild->SendChildNotifyLastMsg())
            return;
    }
    Default();
}

int CWnd::OnCompareItem(int, LPCOMPAREITEMSTRUCT lpCompareItemStruct) {
    LRESULT lResult = 0;
    if (ReflectLastMsg(lpCompareItemStruct->hwndItem, &lResult))
        return static_cast<int>(lResult);
    return static_cast<int>(Default());
}

void CWnd::OnDeleteItem(int, LPDELETEITEMSTRUCT lpDeleteItemStruct) {
    if (!ReflectLastMsg(lpDeleteItemStruct->hwndItem))
        Default();
}

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT) {
    LRESULT lResult = 0;
    if (pWnd != nullptr && pWnd->m_hWnd != m_hWnd && ReflectLastMsg(pWnd->m_hWnd, &lResult))
        return reinterpret_cast<HBRUSH>(lResult);
    return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::DoDataExchange(CDataExchange*) {}

// ---------------------------------------------------------------------------
// Default handlers: the default processing of the current message.

int CWnd::OnCreate(LPCREATESTRUCT) {
    return static_cast<int>(Default());
}
BOOL CWnd::OnNcCreate(LPCREATESTRUCT) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnDestroy() {
    Default();
}
void CWnd::OnClose() {
    Default();
}
void CWnd::OnPaint() {
    Default();
}
void CWnd::OnNcPaint() {
    Default();
}
BOOL CWnd::OnEraseBkgnd(CDC*) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnSize(UINT, int, int) {
    Default();
}
void CWnd::OnMove(int, int) {
    Default();
}
void CWnd::OnShowWindow(BOOL, UINT) {
    Default();
}
void CWnd::OnEnable(BOOL) {
    Default();
}
void CWnd::OnTimer(UINT_PTR) {
    Default();
}
void CWnd::OnWindowPosChanging(WINDOWPOS*) {
    Default();
}
void CWnd::OnWindowPosChanged(WINDOWPOS*) {
    Default();
}
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) {
    Default();
}
void CWnd::OnSettingChange(UINT, LPCTSTR) {
    Default();
}
void CWnd::OnSysColorChange() {
    Default();
}
void CWnd::OnCancelMode() {
    Default();
}
void CWnd::OnCaptureChanged(CWnd*) {
    Default();
}
void CWnd::OnSetFocus(CWnd*) {
    Default();
}
void CWnd::OnKillFocus(CWnd*) {
    Default();
}
void CWnd::OnActivate(UINT, CWnd*, BOOL) {
    Default();
}
int CWnd::OnMouseActivate(CWnd*, UINT, UINT) {
    return static_cast<int>(Default());
}
BOOL CWnd::OnNcActivate(BOOL) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) {
    Default();
}
LRESULT CWnd::OnNcHitTest(CPoint) {
    return Default();
}
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnContextMenu(CWnd*, CPoint) {
    Default();
}
void CWnd::OnSysCommand(UINT, LPARAM) {
    Default();
}
UINT CWnd::OnGetDlgCode() {
    return static_cast<UINT>(Default());
}
void CWnd::OnDropFiles(HDROP) {
    Default();
}
BOOL CWnd::OnCopyData(CWnd*, COPYDATASTRUCT*) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnKeyDown(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnKeyUp(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnChar(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnSysKeyDown(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnMouseMove(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnRButtonDblClk(UINT, CPoint) {
    Default();
}
void CWnd::OnMButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnMButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnMButtonDblClk(UINT, CPoint) {
    Default();
}
void CWnd::OnMouseLeave() {
    Default();
}
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnNcMouseMove(UINT, CPoint) {
    Default();
}
void CWnd::OnNcLButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnNcLButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnNcLButtonDblClk(UINT, CPoint) {
    Default();
}
void CWnd::OnNcRButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnNcRButtonUp(UINT, CPoint) {
    Default();
}
void CWnd::OnNcRButtonDblClk(UINT, CPoint) {
    Default();
}
void CWnd::OnNcMButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnNcMButtonDblClk(UINT, CPoint) {
    Default();
}
void CWnd::OnInitMenu(CMenu*) {
    Default();
}
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) {
    Default();
}
void CWnd::OnMenuSelect(UINT, UINT, HMENU) {
    Default();
}
LRESULT CWnd::OnMenuChar(UINT, UINT, CMenu*) {
    return Default();
}
void CWnd::OnEnterMenuLoop(BOOL) {
    Default();
}
void CWnd::OnExitMenuLoop(BOOL) {
    Default();
}
void CWnd::OnMDIActivate(BOOL, CWnd*, CWnd*) {
    Default();
}
