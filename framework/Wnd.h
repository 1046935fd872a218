// Wnd.h: CWnd, the framework's window object, the window procedure AfxWndProc and
// AfxCallWndProc, the layout record AFX_SIZEPARENTPARAMS of RepositionBars, and
// the framework's private window messages.
//
// One CWnd owns at most one HWND (m_hWnd). Each thread keeps a map from its
// windows' handles to their objects:
// - permanent entries: objects that own a window, entered by Create/CreateEx,
//   Attach and SubclassWindow, removed by Detach, UnsubclassWindow and the
//   window's WM_NCDESTROY. FromHandlePermanent answers only these.
// - temporary objects: plain CWnd wrappers that FromHandle makes for handles no
//   object owns (windows of other threads, of the system, of raw Win32 code).
//   They never destroy their window and are freed at the thread's next idle
//   time (AfxDeleteTempGdiObjects, HandleMap.h); never keep such a pointer.
//
// Creation: CreateEx runs PreCreateWindow, then installs a creation hook for
// the one CreateWindowEx call; the hook binds the object to the new handle and
// puts AfxWndProc in front of the class's procedure before the first message
// (WM_GETMINMAXINFO or WM_NCCREATE), so the object sees every message of its
// window. A window class registered with AfxRegisterWndClass has AfxWndProc as
// its own procedure and needs no subclassing.
//
// Messages: AfxWndProc -> AfxCallWndProc (records the message for Default,
// catches every exception) -> WindowProc -> OnWndMsg, which answers WM_COMMAND
// through OnCommand, WM_NOTIFY through OnNotify and everything else through the
// message maps; an unhandled message goes to DefWindowProc: the procedure that
// was subclassed, else ::DefWindowProcA.
//
// Teardown: WM_NCDESTROY runs OnNcDestroy, which passes the message on, takes
// AfxWndProc out of the chain, removes the map entry and then calls
// PostNcDestroy, the last call the object gets for its window. A class whose
// heap objects delete themselves does `delete this` there and nowhere else.
#pragma once

#include "AfxString.h"
#include "CmdTarget.h"
#include "Dc.h"
#include "Geometry.h"
#include "Menu.h"
#include "Object.h"

#include <windows.h>

// Win32 names that the system headers define as macros but CWnd has as members.
#undef GetNextWindow
#undef SubclassWindow

class CFrameWnd;
class CDataExchange;
struct CCreateContext;

// The framework's private window messages (0x0360 to 0x037F).
#define WM_SIZEPARENT 0x0361       // lParam: AFX_SIZEPARENTPARAMS*, sent by RepositionBars
#define WM_SETMESSAGESTRING 0x0362 // wParam: string id, or lParam: text, to a frame
#define WM_IDLEUPDATECMDUI 0x0363  // wParam: TRUE to disable commands without a handler
#define WM_KICKIDLE 0x036A         // to a modal window at idle time, lParam: idle count

// How CalcWindowRect grows a client rectangle.
enum { adjustBorder = 0, adjustOutside = 1 };

// Modes of RepositionBars.
enum { reposDefault = 0, reposQuery = 1, reposExtra = 2 };

// Flags of RunModalLoop.
#define MLF_NOIDLEMSG 0x0001  // no WM_ENTERIDLE to the parent
#define MLF_NOKICKIDLE 0x0002 // no WM_KICKIDLE to the window
#define MLF_SHOWONIDLE 0x0004 // show the window at the first idle time

// The layout that RepositionBars hands each bar with WM_SIZEPARENT: a bar takes
// its space out of rect (and adds it to sizeTotal) and, unless hDWP is null (a
// query), moves itself through AfxRepositionWindow.
struct AFX_SIZEPARENTPARAMS {
    HDWP hDWP;      // null in query mode
    RECT rect;      // the space still free, in the parent's client coordinates
    SIZE sizeTotal; // the space taken so far
    BOOL bStretch;  // bars stretch across the whole free side
};

// Moves hWnd to lpRect within layout (deferred, or at once without hDWP).
void AFXAPI AfxRepositionWindow(AFX_SIZEPARENTPARAMS* lpLayout, HWND hWnd, LPCRECT lpRect);

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// Runs pWnd's WindowProc for one message as AfxWndProc does: records it as the
// current message and turns an exception into a result (see the definition).
LRESULT AFXAPI AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd();
    // Teardown of a window the object still owns, in this order: remove the map
    // entry (so messages sent during the destruction cannot reach derived parts
    // that are already gone), take AfxWndProc out of the chain while the handle
    // is valid, then DestroyWindow. PostNcDestroy is not called from here.
    ~CWnd() override;

    HWND m_hWnd;

    operator HWND() const { return GetSafeHwnd(); }
    // Null for a null object too, as callers pass optional windows through it.
    HWND GetSafeHwnd() const;

    // Special insert-after windows of SetWindowPos.
    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;

    // ---- The handle map (per thread).
    // The object owning hWnd on this thread, else a temporary wrapper; null for null.
    static CWnd* PASCAL FromHandle(HWND hWnd);
    // The object owning hWnd on this thread, else null.
    static CWnd* PASCAL FromHandlePermanent(HWND hWnd);
    // Frees this thread's temporary wrappers (of every kind, AfxDeleteTempGdiObjects).
    static void PASCAL DeleteTempMap();
    // Makes this object the owner of hWndNew without subclassing it. FALSE when
    // the object has a window already, hWndNew is not a window, or another
    // object owns it.
    BOOL Attach(HWND hWndNew);
    // Gives the window up (taking AfxWndProc out when the object had subclassed
    // it) without destroying it; null when there was none.
    HWND Detach();

    // ---- Creation and destruction.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                        const RECT& rect, CWnd* pParentWnd, UINT nID,
                        CCreateContext* pContext = nullptr);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                          DWORD dwStyle, int x, int y, int nWidth, int nHeight, HWND hWndParent,
                          HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                          DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                          LPVOID lpParam = nullptr);
    virtual BOOL DestroyWindow();
    // May change the creation record; FALSE cancels the creation. Fills in a
    // default class (AfxRegisterWndClass(CS_DBLCLKS), arrow cursor) when none is given.
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    // Called once the object owns its window, before it is subclassed; during
    // creation AfxGetThreadState()->m_pWndInit is this object, otherwise null.
    virtual void PreSubclassWindow();
    // The last call for the window (see the file comment); does nothing here.
    virtual void PostNcDestroy();
    virtual void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder);

    // ---- Subclassing an existing window (a dialog control, a system window).
    // FALSE when the object has a window, hWnd is not a window of this thread,
    // another object owns it, or an earlier framework subclass of it is buried
    // under a foreign one.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    // Detaches the object; when a foreign subclass sits above AfxWndProc, AfxWndProc
    // stays in the chain and passes every message through. Null when none.
    HWND UnsubclassWindow();

    // ---- Messages.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL SendNotifyMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
        return ::SendNotifyMessageA(m_hWnd, message, wParam, lParam);
    }
    // To every child (and their children with bDeep); with bOnlyPerm only to
    // windows that have an object, whose WindowProc is called directly.
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                                  BOOL bDeep = TRUE, BOOL bOnlyPerm = FALSE);
    // The message the innermost window procedure of this thread is handling.
    static const MSG* PASCAL GetCurrentMessage();
    // Default processing of the current message (DefWindowProc with its arguments).
    LRESULT Default();
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Called by the message loop for messages to this window or its descendants;
    // TRUE when the message is used up. Runs the tooltip relay when enabled.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // PreTranslateMessage of every window from pMsg->hwnd up to hWndStop.
    static BOOL PASCAL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);

    // ---- Commands, notifications and their reflection.
    // WM_COMMAND: the control's own reflected handler first, then OnCmdMsg of this
    // window, then (for menu-range commands) OnCmdMsg of each owner up the chain.
    // A menu command or accelerator whose update handler disables it is dropped.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY: the control's reflected handler first, then this window's maps.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A parent hands a child's notification back to it; TRUE when the child took it.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Hands the current message to the child's OnChildNotify; FALSE without an object.
    static BOOL PASCAL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = nullptr);
    BOOL SendChildNotifyLastMsg(LRESULT* pResult = nullptr);
    // A command-UI update of every child control against pTarget's routing.
    void UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

    // ---- Modal loops (dialogs, progress windows).
    // Pumps messages until EndModalLoop; the result given to it, -1 on WM_QUIT
    // (which is posted again for the outer loop).
    int RunModalLoop(DWORD dwFlags = 0);
    virtual BOOL ContinueModal();
    virtual void EndModalLoop(int nResult);

    // ---- Family.
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* SetParent(CWnd* pWndNewParent) {
        return FromHandle(::SetParent(m_hWnd, pWndNewParent->GetSafeHwnd()));
    }
    // The owner given by SetOwner, else the parent.
    CWnd* GetOwner() const;
    // The window that command routing and notifications treat as the owner.
    void SetOwner(CWnd* pOwnerWnd) { m_hWndOwner = pOwnerWnd->GetSafeHwnd(); }
    CWnd* GetTopLevelParent() const;
    CWnd* GetTopLevelOwner() const;
    // Frame classes answer themselves; the first parent doing so is the parent frame.
    virtual CFrameWnd* AsFrameWnd() { return nullptr; }
    BOOL IsFrameWnd() const { return const_cast<CWnd*>(this)->AsFrameWnd() != nullptr; }
    CFrameWnd* GetParentFrame() const;
    CFrameWnd* GetTopLevelFrame() const;
    CWnd* GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
    void GetDlgItem(int nID, HWND* phWnd) const { *phWnd = ::GetDlgItem(m_hWnd, nID); }
    // The first descendant (depth first) with the id; with bOnlyPerm one with an object.
    CWnd* GetDescendantWindow(int nID, BOOL bOnlyPerm = FALSE) const;
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    int SetDlgCtrlID(int nID) {
        return static_cast<int>(::SetWindowLongPtrA(m_hWnd, GWLP_ID, nID));
    }
    CWnd* GetWindow(UINT nCmd) const { return FromHandle(::GetWindow(m_hWnd, nCmd)); }
    CWnd* GetTopWindow() const { return FromHandle(::GetTopWindow(m_hWnd)); }
    CWnd* GetNextWindow(UINT nFlag = GW_HWNDNEXT) const {
        return FromHandle(::GetWindow(m_hWnd, nFlag));
    }
    CWnd* GetLastActivePopup() const { return FromHandle(::GetLastActivePopup(m_hWnd)); }
    BOOL IsChild(const CWnd* pWnd) const { return ::IsChild(m_hWnd, pWnd->GetSafeHwnd()); }
    CWnd* ChildWindowFromPoint(POINT point) const {
        return FromHandle(::ChildWindowFromPoint(m_hWnd, point));
    }
    static CWnd* PASCAL WindowFromPoint(POINT point) {
        return FromHandle(::WindowFromPoint(point));
    }
    static CWnd* PASCAL GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }
    // The window to own a message box or dialog: pParent's (or the main window's)
    // top-level window's last active popup; *pWndTop gets the top-level window.
    static CWnd* PASCAL GetSafeOwner(CWnd* pParent = nullptr, HWND* pWndTop = nullptr);

    // ---- Activation, focus, capture.
    static CWnd* PASCAL GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
    CWnd* SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
    static CWnd* PASCAL GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
    static CWnd* PASCAL GetFocus() { return FromHandle(::GetFocus()); }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* PASCAL GetCapture() { return FromHandle(::GetCapture()); }
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }

    // ---- State and styles.
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_EXSTYLE)); }
    // Removes, then adds style bits; with nFlags, SetWindowPos(nFlags) makes the
    // change show (SWP_FRAMECHANGED, ...). FALSE when nothing changed.
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0) {
        return ModifyStyle(m_hWnd, dwRemove, dwAdd, nFlags);
    }
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0) {
        return ModifyStyleEx(m_hWnd, dwRemove, dwAdd, nFlags);
    }
    static BOOL PASCAL ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);
    static BOOL PASCAL ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags);

    // ---- Size and position.
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE) {
        ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
    }
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE) {
        MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left,
                   lpRect->bottom - lpRect->top, bRepaint);
    }
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
        HWND hWndInsertAfter =
            pWndInsertAfter != nullptr ? pWndInsertAfter->GetSafeHwnd() : nullptr;
        return ::SetWindowPos(m_hWnd, hWndInsertAfter, x, y, cx, cy, nFlags);
    }
    void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
    void ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
    void ScreenToClient(LPRECT lpRect) const {
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(lpRect), 2);
    }
    void ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
    void ClientToScreen(LPRECT lpRect) const {
        ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(lpRect), 2);
    }
    void MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const {
        ::MapWindowPoints(m_hWnd, pwndTo->GetSafeHwnd(), lpPoint, nCount);
    }
    void MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const {
        ::MapWindowPoints(m_hWnd, pwndTo->GetSafeHwnd(), reinterpret_cast<LPPOINT>(lpRect), 2);
    }
    BOOL GetWindowPlacement(WINDOWPLACEMENT* lpwndpl) const {
        return ::GetWindowPlacement(m_hWnd, lpwndpl);
    }
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* lpwndpl) {
        return ::SetWindowPlacement(m_hWnd, lpwndpl);
    }
    // Centres the window over its owner (or pAlternateOwner), kept on its monitor's work area.
    void CenterWindow(CWnd* pAlternateOwner = nullptr);
    // Lays out the children with ids nIDFirst..nIDLast (bars) through WM_SIZEPARENT
    // and gives what is left to the child nIDLeftOver; reposQuery only measures
    // into lpRectParam, reposExtra first shrinks the leftover by lpRectParam's sides.
    void RepositionBars(UINT nIDFirst, UINT nIDLast, UINT nIDLeftOver, UINT nFlags = reposDefault,
                        LPRECT lpRectParam = nullptr, LPCRECT lpRectClient = nullptr,
                        BOOL bStretch = TRUE);

    // ---- Painting.
    void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE) {
        ::InvalidateRect(m_hWnd, lpRect, bErase);
    }
    void InvalidateRgn(CRgn* pRgn, BOOL bErase = TRUE);
    void ValidateRect(LPCRECT lpRect) { ::ValidateRect(m_hWnd, lpRect); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL GetUpdateRect(LPRECT lpRect, BOOL bErase = FALSE) {
        return ::GetUpdateRect(m_hWnd, lpRect, bErase);
    }
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, CRgn* prgnUpdate = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    void SetRedraw(BOOL bRedraw = TRUE) { ::SendMessageA(m_hWnd, WM_SETREDRAW, bRedraw, 0); }
    BOOL LockWindowUpdate() { return ::LockWindowUpdate(m_hWnd); }
    void UnlockWindowUpdate() { ::LockWindowUpdate(nullptr); }
    // Temporary views of the window's contexts; give each back with ReleaseDC.
    CDC* GetDC();
    CDC* GetWindowDC();
    CDC* GetDCEx(CRgn* prgnClip, DWORD flags);
    int ReleaseDC(CDC* pDC);
    int SetWindowRgn(HRGN hRgn, BOOL bRedraw) { return ::SetWindowRgn(m_hWnd, hRgn, bRedraw); }

    // ---- Text and dialog items.
    // Sets the text only when it differs, so idle-time updates do not repaint.
    void SetWindowText(LPCTSTR lpszString);
    int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const {
        return ::GetWindowTextA(m_hWnd, lpszStringBuf, nMaxCount);
    }
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
    void SetDlgItemText(int nID, LPCTSTR lpszString) { ::SetDlgItemTextA(m_hWnd, nID, lpszString); }
    int GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const {
        return static_cast<int>(::GetDlgItemTextA(m_hWnd, nID, lpStr, nMaxCount));
    }
    int GetDlgItemText(int nID, CString& rString) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE) {
        ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned);
    }
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const {
        return ::GetDlgItemInt(m_hWnd, nID, lpTrans, bSigned);
    }
    void CheckDlgButton(int nIDButton, UINT nCheck) { ::CheckDlgButton(m_hWnd, nIDButton, nCheck); }
    UINT IsDlgButtonChecked(int nIDButton) const { return ::IsDlgButtonChecked(m_hWnd, nIDButton); }
    void CheckRadioButton(int nIDFirst, int nIDLast, int nIDCheck) {
        ::CheckRadioButton(m_hWnd, nIDFirst, nIDLast, nIDCheck);
    }
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendDlgItemMessageA(m_hWnd, nID, message, wParam, lParam);
    }
    CWnd* GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const {
        return FromHandle(::GetNextDlgTabItem(m_hWnd, pWndCtl->GetSafeHwnd(), bPrevious));
    }
    // Fills the dialog's controls from its members (FALSE) or back (TRUE); FALSE
    // when a validation failed. Defined beside CDataExchange, which it builds.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    // The exchange of the window's controls and members; nothing here.
    virtual void DoDataExchange(CDataExchange* pDX);

    // ---- Fonts, menus, icons.
    void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
    // The control's font (a temporary view unless owned); null for the system font.
    CFont* GetFont() const;
    virtual CMenu* GetMenu() const;
    virtual BOOL SetMenu(CMenu* pMenu);
    void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }
    CMenu* GetSystemMenu(BOOL bRevert) const;
    HICON SetIcon(HICON hIcon, BOOL bBigIcon) {
        return reinterpret_cast<HICON>(::SendMessageA(
            m_hWnd, WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
    }
    HICON GetIcon(BOOL bBigIcon) const {
        return reinterpret_cast<HICON>(
            ::SendMessageA(m_hWnd, WM_GETICON, bBigIcon ? ICON_BIG : ICON_SMALL, 0));
    }

    // ---- Timers, scroll bars, misc.
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr) {
        return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
    }
    BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }
    BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
    BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE) {
        return ::SetScrollInfo(m_hWnd, nBar, lpScrollInfo, bRedraw);
    }
    int GetScrollPos(int nBar) const { return ::GetScrollPos(m_hWnd, nBar); }
    int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE) {
        return ::SetScrollPos(m_hWnd, nBar, nPos, bRedraw);
    }
    void ShowScrollBar(UINT nBar, BOOL bShow = TRUE) { ::ShowScrollBar(m_hWnd, nBar, bShow); }
    void DragAcceptFiles(BOOL bAccept = TRUE);
    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = nullptr, UINT nType = MB_OK) {
        return ::MessageBoxA(m_hWnd, lpszText, lpszCaption, nType);
    }
    BOOL FlashWindow(BOOL bInvert) { return ::FlashWindow(m_hWnd, bInvert); }

    // ---- Tooltips of the framework (one tooltip control per thread).
    // Makes PreTranslateMessage relay mouse messages to the thread's tooltip
    // control, with tools found by OnToolHitTest.
    BOOL EnableToolTips(BOOL bEnable = TRUE);
    // The tool under point (client coordinates): its id, or -1 for none. When
    // pTI is given, fills hwnd, uId, uFlags (and rect for area tools) and
    // lpszText: LPSTR_TEXTCALLBACK, or a malloc'ed text that the caller frees.
    // This base finds the child control (WS_VISIBLE) under the point.
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const;
    // Hides the thread's tooltip; with bKeys, also while keys are pressed.
    static void PASCAL CancelToolTips(BOOL bKeys = FALSE);
    void FilterToolTipMessage(MSG* pMsg);

protected:
    // Handlers of CWnd's own map. A derived handler of WM_NCDESTROY must call
    // CWnd::OnNcDestroy; the others reflect owner-drawn items (drawing,
    // measuring, sorting, deleting) and colour requests to the control concerned
    // before the default processing.
    afx_msg void OnNcDestroy();
    afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    afx_msg int OnCompareItem(int nIDCtl, LPCOMPAREITEMSTRUCT lpCompareItemStruct);
    afx_msg void OnDeleteItem(int nIDCtl, LPDELETEITEMSTRUCT lpDeleteItemStruct);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    // Default handlers that derived handlers call as their base; each runs the
    // default processing of the current message (Default) and returns its result.
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnClose();
    afx_msg void OnPaint();
    afx_msg void OnNcPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnMove(int x, int y);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    afx_msg void OnSysColorChange();
    afx_msg void OnCancelMode();
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnDropFiles(HDROP hDropInfo);
    afx_msg BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonUp(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg void OnNcRButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcRButtonUp(UINT nHitTest, CPoint point);
    afx_msg void OnNcRButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg void OnNcMButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcMButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg void OnInitMenu(CMenu* pMenu);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);
    afx_msg LRESULT OnMenuChar(UINT nChar, UINT nFlags, CMenu* pMenu);
    afx_msg void OnEnterMenuLoop(BOOL bIsTrackPopupMenu);
    afx_msg void OnExitMenuLoop(BOOL bIsTrackPopupMenu);
    afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);

    // The procedure that AfxWndProc subclassed (null: ::DefWindowProcA).
    WNDPROC m_pfnSuper;
    // The owner set by SetOwner (null: the parent).
    HWND m_hWndOwner;
    // WF_* state bits below.
    UINT m_nFlags;
    int m_nModalResult;

    enum {
        WF_CONTINUEMODAL = 0x0001, // RunModalLoop goes on
        WF_MODALLOOP = 0x0002,     // RunModalLoop is running
        WF_TOOLTIPS = 0x0004,      // EnableToolTips(TRUE)
    };

    DECLARE_MESSAGE_MAP()

private:
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    explicit CWnd(HWND hWndSpecial); // the wndTop family

    // Own maps, then the owners' (menu-range commands only).
    BOOL RouteCommand(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);
    // Takes AfxWndProc out of the window's chain, or leaves it passing through.
    void ReleaseSubclass();
    // The teardown of WM_NCDESTROY after the message has been passed on.
    void FinishNcDestroy();

    // The creation hook: binds AfxGetThreadState()->m_pWndInit to the new window.
    static LRESULT CALLBACK CbtFilterHook(int nCode, WPARAM wParam, LPARAM lParam);

    friend LRESULT AFXAPI AfxCallWndProc(CWnd*, HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
};

// A window class for CreateEx with AfxWndProc as its procedure; the name is
// stable for the life of the process. Classes are registered once per set of
// arguments; null when registration fails.
LPCTSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr,
                                   HBRUSH hbrBackground = nullptr, HICON hIcon = nullptr);
// True when hWnd is hWndParent or below it through parents and owners.
BOOL AFXAPI AfxIsDescendant(HWND hWndParent, HWND hWndChild);
