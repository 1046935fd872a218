// CmdTarget.h: CCmdTarget, the message-map structures and macros, and CWaitCursor.
//
// A message map is a static table per class, chained to the base class's table.
// Each entry names what it answers (a window message, a registered message, a
// command, a control notification, a WM_NOTIFY code, or one of their reflected
// forms) and a small dispatch function that the entry macro generates: it
// unpacks the message arguments and calls one typed handler of the class. A
// handler whose signature does not fit its entry does not compile.
//
// Lookup: the most derived table first, then its bases; the first matching entry
// decides. Its dispatch answers whether the message counts as handled: always
// for the plain entries; the handler's BOOL for the *_EX entries; a non-null
// brush for ON_WM_CTLCOLOR_REFLECT; for ON_UPDATE_COMMAND_UI, unless the handler
// asked CCmdUI::ContinueRouting.
//
// Writing a map, in the class:
//     DECLARE_MESSAGE_MAP()
// and in its source file, grouped as window messages, then control
// notifications, then commands:
//     BEGIN_MESSAGE_MAP(CMyWnd, CWnd)
//         ON_WM_CREATE()
//         ON_NOTIFY_REFLECT(TCN_SELCHANGE, &CMyWnd::OnSelChange)
//         ON_COMMAND(ID_FILE_OPEN, &CMyWnd::OnFileOpen)
//     END_MESSAGE_MAP()
// Handlers are named by pointer to member (&CClass::OnX); the ON_WM_* entries
// call the handler of the fixed name (OnCreate, OnSize, ...) visible in the class.
#pragma once

#include "CmdUI.h"
#include "Geometry.h"
#include "Object.h"

#include <commctrl.h>
#include <windows.h>

class CCmdTarget;
class CWnd;
class CDC;
class CMenu;

// Codes of OnCmdMsg beside the control notification codes.
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))

// Reflected messages: a parent hands a child's notification back to the child
// as WM_REFLECT_BASE + the message, before handling it itself.
#define WM_REFLECT_BASE 0xBC00
// WM_CTLCOLORMSGBOX .. WM_CTLCOLORSTATIC are looked up in maps as this one message.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

// Marks an ON_REGISTERED_MESSAGE entry: the message number is read from a variable.
#define AFX_REGISTERED_MESSAGE_ENTRY 0xC002

// One call of a handler through its entry: the arguments going in and the
// window-procedure result coming out.
struct AFX_MSGCALL {
    UINT message; // window message; 0 for commands
    WPARAM wParam;
    LPARAM lParam;
    UINT nID;     // command or control id (commands and notifications)
    int nCode;    // the notification or command code (commands and notifications)
    void* pExtra; // CCmdUI* for CN_UPDATE_COMMAND_UI, AFX_NOTIFY* for WM_NOTIFY
    LRESULT lResult;
};

// The dispatch function of one entry: TRUE when the message counts as handled.
typedef BOOL (*AFX_PMSGHANDLER)(CCmdTarget* pTarget, AFX_MSGCALL& call);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;                   // 0 ends the table
    UINT nCode;                      // control or notification code (low word compared)
    UINT nID;                        // first control or command id
    UINT nLastID;                    // last id of a range; nID otherwise
    const UINT* pnRegisteredMessage; // ON_REGISTERED_MESSAGE: the message's variable
    AFX_PMSGHANDLER pfnHandler;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)(); // null for the root (CCmdTarget)
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// What OnCmdMsg hands a WM_NOTIFY handler.
struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// What a parent hands a child's ON_WM_CTLCOLOR_REFLECT handler (through lParam).
struct AFX_CTLCOLOR {
    HWND hWnd;
    HDC hDC;
    UINT nCtlType; // CTLCOLOR_BTN, CTLCOLOR_EDIT, ...
};

// Filled by OnCmdMsg when a caller only asks whether a handler exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
    const AFX_MSGMAP_ENTRY* pEntry;
};

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    ~CCmdTarget() override = default;

    // Routes a command, a command-UI update or a notification: nCode is CN_COMMAND,
    // CN_UPDATE_COMMAND_UI, a control notification code, or MAKELONG(code, WM_NOTIFY)
    // (and the reflected forms). This base searches the object's own maps; classes
    // that route further (frames to views, views to documents) override it. With
    // pHandlerInfo the handler is only found, not called.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The application's wait cursor (counted; CWinApp::DoWaitCursor).
    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // The entry that answers a window message (WM_CTLCOLOR* as WM_CTLCOLOR), most
    // derived first; null when no table has one.
    const AFX_MSGMAP_ENTRY* FindWindowMessageEntry(UINT message) const;
};

// Shows the wait cursor for the lifetime of the object.
class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    // Shows it again after something (a message box) changed the cursor.
    void Restore();
};

// ---------------------------------------------------------------------------
// Declaring and defining a map.

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    virtual const AFX_MSGMAP* GetMessageMap() const;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                            \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                              \
        typedef theClass ThisClass;                                                                \
        typedef baseClass TheBaseClass;                                                            \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

// For a class template of one parameter: BEGIN_TEMPLATE_MESSAGE_MAP(CFoo, T, T).
#define BEGIN_TEMPLATE_MESSAGE_MAP(theClass, type_name, baseClass)                                 \
    template <typename type_name> const AFX_MSGMAP* theClass<type_name>::GetMessageMap() const {   \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    template <typename type_name> const AFX_MSGMAP* theClass<type_name>::GetThisMessageMap() {     \
        typedef theClass<type_name> ThisClass;                                                     \
        typedef baseClass TheBaseClass;                                                            \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

// The closing of the table, kept as written.
// clang-format off
#define END_MESSAGE_MAP()                                                                          \
            {0, 0, 0, 0, nullptr, nullptr}};                                                       \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap,                    \
                                              &_messageEntries[0]};                                \
        return &messageMap;                                                                        \
    }
// clang-format on

// ---------------------------------------------------------------------------
// Building blocks of the entry macros (not for direct use).

// A dispatch function; pThis is the object as the map's class, call the AFX_MSGCALL.
#define ZM_MSG_DISPATCH(...)                                                                       \
    [](CCmdTarget* pZmTarget, AFX_MSGCALL& call) -> BOOL {                                         \
        ThisClass* pThis = static_cast<ThisClass*>(pZmTarget);                                     \
        (void)pThis;                                                                               \
        (void)call;                                                                                \
        __VA_ARGS__                                                                                \
    }
// A window-message entry whose handler always counts as handling the message.
// clang-format off
#define ZM_ON_WM(msg, ...) {msg, 0, 0, 0, nullptr, ZM_MSG_DISPATCH(__VA_ARGS__ return TRUE;)},
// clang-format on
// The handler's member pointer, checked against the signature the entry calls.
#define ZM_PMF(signature, ...) static_cast<signature>(__VA_ARGS__)
#define ZM_POINT(lParam)                                                                           \
    CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)))
#define ZM_WND(h) CWnd::FromHandle(reinterpret_cast<HWND>(h))
#define ZM_MENU(h) CMenu::FromHandle(reinterpret_cast<HMENU>(h))

// ---------------------------------------------------------------------------
// Window messages, each calling the handler of the fixed name.

#define ON_WM_CREATE()                                                                             \
    ZM_ON_WM(WM_CREATE,                                                                            \
             call.lResult = pThis->OnCreate(reinterpret_cast<LPCREATESTRUCT>(call.lParam));)
#define ON_WM_NCCREATE()                                                                           \
    ZM_ON_WM(WM_NCCREATE,                                                                          \
             call.lResult = pThis->OnNcCreate(reinterpret_cast<LPCREATESTRUCT>(call.lParam));)
#define ON_WM_DESTROY() ZM_ON_WM(WM_DESTROY, pThis->OnDestroy();)
#define ON_WM_NCDESTROY() ZM_ON_WM(WM_NCDESTROY, pThis->OnNcDestroy();)
#define ON_WM_CLOSE() ZM_ON_WM(WM_CLOSE, pThis->OnClose();)
#define ON_WM_PAINT() ZM_ON_WM(WM_PAINT, pThis->OnPaint();)
#define ON_WM_NCPAINT() ZM_ON_WM(WM_NCPAINT, pThis->OnNcPaint();)
#define ON_WM_ERASEBKGND()                                                                         \
    ZM_ON_WM(WM_ERASEBKGND, call.lResult = pThis->OnEraseBkgnd(                                    \
                                CDC::FromHandle(reinterpret_cast<HDC>(call.wParam)));)
#define ON_WM_SIZE()                                                                               \
    ZM_ON_WM(WM_SIZE, pThis->OnSize(static_cast<UINT>(call.wParam), LOWORD(call.lParam),           \
                                    HIWORD(call.lParam));)
#define ON_WM_MOVE()                                                                               \
    ZM_ON_WM(WM_MOVE, pThis->OnMove(static_cast<short>(LOWORD(call.lParam)),                       \
                                    static_cast<short>(HIWORD(call.lParam)));)
#define ON_WM_SHOWWINDOW()                                                                         \
    ZM_ON_WM(WM_SHOWWINDOW,                                                                        \
             pThis->OnShowWindow(static_cast<BOOL>(call.wParam), static_cast<UINT>(call.lParam));)
#define ON_WM_ENABLE() ZM_ON_WM(WM_ENABLE, pThis->OnEnable(static_cast<BOOL>(call.wParam));)
#define ON_WM_TIMER() ZM_ON_WM(WM_TIMER, pThis->OnTimer(static_cast<UINT_PTR>(call.wParam));)
#define ON_WM_WINDOWPOSCHANGING()                                                                  \
    ZM_ON_WM(WM_WINDOWPOSCHANGING,                                                                 \
             pThis->OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(call.lParam));)
#define ON_WM_WINDOWPOSCHANGED()                                                                   \
    ZM_ON_WM(WM_WINDOWPOSCHANGED,                                                                  \
             pThis->OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(call.lParam));)
#define ON_WM_GETMINMAXINFO()                                                                      \
    ZM_ON_WM(WM_GETMINMAXINFO, pThis->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(call.lParam));)
#define ON_WM_SETTINGCHANGE()                                                                      \
    ZM_ON_WM(WM_SETTINGCHANGE, pThis->OnSettingChange(static_cast<UINT>(call.wParam),              \
                                                      reinterpret_cast<LPCTSTR>(call.lParam));)
#define ON_WM_SYSCOLORCHANGE() ZM_ON_WM(WM_SYSCOLORCHANGE, pThis->OnSysColorChange();)
#define ON_WM_CANCELMODE() ZM_ON_WM(WM_CANCELMODE, pThis->OnCancelMode();)
#define ON_WM_CAPTURECHANGED()                                                                     \
    ZM_ON_WM(WM_CAPTURECHANGED, pThis->OnCaptureChanged(ZM_WND(call.lParam));)
#define ON_WM_SETFOCUS() ZM_ON_WM(WM_SETFOCUS, pThis->OnSetFocus(ZM_WND(call.wParam));)
#define ON_WM_KILLFOCUS() ZM_ON_WM(WM_KILLFOCUS, pThis->OnKillFocus(ZM_WND(call.wParam));)
#define ON_WM_ACTIVATE()                                                                           \
    ZM_ON_WM(WM_ACTIVATE, pThis->OnActivate(LOWORD(call.wParam), ZM_WND(call.lParam),              \
                                            static_cast<BOOL>(HIWORD(call.wParam)));)
#define ON_WM_MOUSEACTIVATE()                                                                      \
    ZM_ON_WM(WM_MOUSEACTIVATE,                                                                     \
             call.lResult = pThis->OnMouseActivate(ZM_WND(call.wParam), LOWORD(call.lParam),       \
                                                   HIWORD(call.lParam));)
#define ON_WM_NCACTIVATE()                                                                         \
    ZM_ON_WM(WM_NCACTIVATE, call.lResult = pThis->OnNcActivate(static_cast<BOOL>(call.wParam));)
#define ON_WM_NCCALCSIZE()                                                                         \
    ZM_ON_WM(WM_NCCALCSIZE,                                                                        \
             pThis->OnNcCalcSize(static_cast<BOOL>(call.wParam),                                   \
                                 reinterpret_cast<NCCALCSIZE_PARAMS*>(call.lParam));)
#define ON_WM_NCHITTEST()                                                                          \
    ZM_ON_WM(WM_NCHITTEST, call.lResult = pThis->OnNcHitTest(ZM_POINT(call.lParam));)
#define ON_WM_SETCURSOR()                                                                          \
    ZM_ON_WM(WM_SETCURSOR, call.lResult = pThis->OnSetCursor(                                      \
                               ZM_WND(call.wParam), LOWORD(call.lParam), HIWORD(call.lParam));)
#define ON_WM_CONTEXTMENU()                                                                        \
    ZM_ON_WM(WM_CONTEXTMENU, pThis->OnContextMenu(ZM_WND(call.wParam), ZM_POINT(call.lParam));)
#define ON_WM_SYSCOMMAND()                                                                         \
    ZM_ON_WM(WM_SYSCOMMAND, pThis->OnSysCommand(static_cast<UINT>(call.wParam), call.lParam);)
#define ON_WM_GETDLGCODE() ZM_ON_WM(WM_GETDLGCODE, call.lResult = pThis->OnGetDlgCode();)
#define ON_WM_DROPFILES()                                                                          \
    ZM_ON_WM(WM_DROPFILES, pThis->OnDropFiles(reinterpret_cast<HDROP>(call.wParam));)
#define ON_WM_COPYDATA()                                                                           \
    ZM_ON_WM(WM_COPYDATA,                                                                          \
             call.lResult = pThis->OnCopyData(ZM_WND(call.wParam),                                 \
                                              reinterpret_cast<COPYDATASTRUCT*>(call.lParam));)

// Keyboard: (virtual key or character, repeat count, flags).
#define ZM_ON_WM_KEY(msg, handler)                                                                 \
    ZM_ON_WM(msg, pThis->handler(static_cast<UINT>(call.wParam), LOWORD(call.lParam),              \
                                 HIWORD(call.lParam));)
#define ON_WM_KEYDOWN() ZM_ON_WM_KEY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() ZM_ON_WM_KEY(WM_KEYUP, OnKeyUp)
#define ON_WM_CHAR() ZM_ON_WM_KEY(WM_CHAR, OnChar)
#define ON_WM_SYSKEYDOWN() ZM_ON_WM_KEY(WM_SYSKEYDOWN, OnSysKeyDown)

// Client-area mouse: (key flags, client point).
#define ZM_ON_WM_MOUSE(msg, handler)                                                               \
    ZM_ON_WM(msg, pThis->handler(static_cast<UINT>(call.wParam), ZM_POINT(call.lParam));)
#define ON_WM_MOUSEMOVE() ZM_ON_WM_MOUSE(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() ZM_ON_WM_MOUSE(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() ZM_ON_WM_MOUSE(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() ZM_ON_WM_MOUSE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() ZM_ON_WM_MOUSE(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() ZM_ON_WM_MOUSE(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() ZM_ON_WM_MOUSE(WM_RBUTTONDBLCLK, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() ZM_ON_WM_MOUSE(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MBUTTONUP() ZM_ON_WM_MOUSE(WM_MBUTTONUP, OnMButtonUp)
#define ON_WM_MBUTTONDBLCLK() ZM_ON_WM_MOUSE(WM_MBUTTONDBLCLK, OnMButtonDblClk)
#define ON_WM_MOUSELEAVE() ZM_ON_WM(WM_MOUSELEAVE, pThis->OnMouseLeave();)
#define ON_WM_MOUSEWHEEL()                                                                         \
    ZM_ON_WM(WM_MOUSEWHEEL, call.lResult = pThis->OnMouseWheel(                                    \
                                GET_KEYSTATE_WPARAM(call.wParam),                                  \
                                GET_WHEEL_DELTA_WPARAM(call.wParam), ZM_POINT(call.lParam));)

// Non-client mouse: (hit-test code, screen point).
#define ON_WM_NCMOUSEMOVE() ZM_ON_WM_MOUSE(WM_NCMOUSEMOVE, OnNcMouseMove)
#define ON_WM_NCLBUTTONDOWN() ZM_ON_WM_MOUSE(WM_NCLBUTTONDOWN, OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP() ZM_ON_WM_MOUSE(WM_NCLBUTTONUP, OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK() ZM_ON_WM_MOUSE(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClk)
#define ON_WM_NCRBUTTONDOWN() ZM_ON_WM_MOUSE(WM_NCRBUTTONDOWN, OnNcRButtonDown)
#define ON_WM_NCRBUTTONUP() ZM_ON_WM_MOUSE(WM_NCRBUTTONUP, OnNcRButtonUp)
#define ON_WM_NCRBUTTONDBLCLK() ZM_ON_WM_MOUSE(WM_NCRBUTTONDBLCLK, OnNcRButtonDblClk)
#define ON_WM_NCMBUTTONDOWN() ZM_ON_WM_MOUSE(WM_NCMBUTTONDOWN, OnNcMButtonDown)
#define ON_WM_NCMBUTTONDBLCLK() ZM_ON_WM_MOUSE(WM_NCMBUTTONDBLCLK, OnNcMButtonDblClk)

// Menus.
#define ON_WM_INITMENU() ZM_ON_WM(WM_INITMENU, pThis->OnInitMenu(ZM_MENU(call.wParam));)
#define ON_WM_INITMENUPOPUP()                                                                      \
    ZM_ON_WM(WM_INITMENUPOPUP, pThis->OnInitMenuPopup(ZM_MENU(call.wParam), LOWORD(call.lParam),   \
                                                      static_cast<BOOL>(HIWORD(call.lParam)));)
#define ON_WM_MENUSELECT()                                                                         \
    ZM_ON_WM(WM_MENUSELECT, pThis->OnMenuSelect(LOWORD(call.wParam), HIWORD(call.wParam),          \
                                                reinterpret_cast<HMENU>(call.lParam));)
#define ON_WM_MENUCHAR()                                                                           \
    ZM_ON_WM(WM_MENUCHAR, call.lResult = pThis->OnMenuChar(                                        \
                              LOWORD(call.wParam), HIWORD(call.wParam), ZM_MENU(call.lParam));)
#define ON_WM_ENTERMENULOOP()                                                                      \
    ZM_ON_WM(WM_ENTERMENULOOP, pThis->OnEnterMenuLoop(static_cast<BOOL>(call.wParam));)
#define ON_WM_EXITMENULOOP()                                                                       \
    ZM_ON_WM(WM_EXITMENULOOP, pThis->OnExitMenuLoop(static_cast<BOOL>(call.wParam));)

// Owner drawing; both answer TRUE.
#define ON_WM_MEASUREITEM()                                                                        \
    ZM_ON_WM(WM_MEASUREITEM,                                                                       \
             pThis->OnMeasureItem(static_cast<int>(call.wParam),                                   \
                                  reinterpret_cast<LPMEASUREITEMSTRUCT>(call.lParam));             \
             call.lResult = TRUE;)
#define ON_WM_DRAWITEM()                                                                           \
    ZM_ON_WM(WM_DRAWITEM, pThis->OnDrawItem(static_cast<int>(call.wParam),                         \
                                            reinterpret_cast<LPDRAWITEMSTRUCT>(call.lParam));      \
             call.lResult = TRUE;)

// Sorted and deleted items of owner-drawn list and combo boxes; compare answers
// the order (-1, 0, 1).
#define ON_WM_COMPAREITEM()                                                                        \
    ZM_ON_WM(WM_COMPAREITEM, call.lResult = pThis->OnCompareItem(                                  \
                                 static_cast<int>(call.wParam),                                    \
                                 reinterpret_cast<LPCOMPAREITEMSTRUCT>(call.lParam));)
#define ON_WM_DELETEITEM()                                                                         \
    ZM_ON_WM(WM_DELETEITEM,                                                                        \
             pThis->OnDeleteItem(static_cast<int>(call.wParam),                                    \
                                 reinterpret_cast<LPDELETEITEMSTRUCT>(call.lParam));               \
             call.lResult = TRUE;)

// Control colours: every WM_CTLCOLOR* message; (dc, control, CTLCOLOR_* kind).
#define ON_WM_CTLCOLOR()                                                                           \
    ZM_ON_WM(WM_CTLCOLOR, call.lResult = reinterpret_cast<LRESULT>(pThis->OnCtlColor(              \
                              CDC::FromHandle(reinterpret_cast<HDC>(call.wParam)),                 \
                              ZM_WND(call.lParam), call.message - WM_CTLCOLORMSGBOX));)
// The control's own colours, asked by its parent first: HBRUSH CtlColor(CDC*, UINT).
// A null brush leaves the colours to the parent.
#define ON_WM_CTLCOLOR_REFLECT()                                                                   \
    {                                                                                              \
        WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0, nullptr,                                           \
            ZM_MSG_DISPATCH(                                                                       \
                const AFX_CTLCOLOR* pCtl = reinterpret_cast<AFX_CTLCOLOR*>(call.lParam);           \
                HBRUSH hbr = pThis->CtlColor(CDC::FromHandle(pCtl->hDC), pCtl->nCtlType);          \
                call.lResult = reinterpret_cast<LRESULT>(hbr); return hbr != nullptr;)             \
    }                                                                                              \
    ,

// MDI child activation: (activated, window activated, window deactivated).
#define ON_WM_MDIACTIVATE()                                                                        \
    ZM_ON_WM(WM_MDIACTIVATE,                                                                       \
             pThis->OnMDIActivate(call.lParam == reinterpret_cast<LPARAM>(pThis->GetSafeHwnd()),   \
                                  ZM_WND(call.lParam), ZM_WND(call.wParam));)

// ---------------------------------------------------------------------------
// Any message: LRESULT handler(WPARAM, LPARAM).

#define ON_MESSAGE(message, ...)                                                                   \
    {                                                                                              \
        message, 0, 0, 0, nullptr,                                                                 \
            ZM_MSG_DISPATCH(call.lResult =                                                         \
                                (pThis->*ZM_PMF(LRESULT(ThisClass::*)(WPARAM, LPARAM),             \
                                                __VA_ARGS__))(call.wParam, call.lParam);           \
                            return TRUE;)                                                          \
    }                                                                                              \
    ,
// A message registered at run time; nMessageVariable is a UINT holding its number.
#define ON_REGISTERED_MESSAGE(nMessageVariable, ...)                                               \
    {                                                                                              \
        AFX_REGISTERED_MESSAGE_ENTRY, 0, 0, 0, &(nMessageVariable),                                \
            ZM_MSG_DISPATCH(call.lResult =                                                         \
                                (pThis->*ZM_PMF(LRESULT(ThisClass::*)(WPARAM, LPARAM),             \
                                                __VA_ARGS__))(call.wParam, call.lParam);           \
                            return TRUE;)                                                          \
    }                                                                                              \
    ,

// ---------------------------------------------------------------------------
// Commands (menus, accelerators, toolbar buttons) and command-UI updates.

// void handler()
#define ON_COMMAND(id, ...)                                                                        \
    {                                                                                              \
        WM_COMMAND, CN_COMMAND, (id), (id), nullptr,                                               \
            ZM_MSG_DISPATCH((pThis->*ZM_PMF(void(ThisClass::*)(), __VA_ARGS__))(); return TRUE;)   \
    }                                                                                              \
    ,
// BOOL handler(UINT nID): FALSE lets the command go on to the next target.
#define ON_COMMAND_EX(id, ...) ON_COMMAND_EX_RANGE(id, id, __VA_ARGS__)
// void handler(UINT nID)
#define ON_COMMAND_RANGE(id, idLast, ...)                                                          \
    {                                                                                              \
        WM_COMMAND, CN_COMMAND, (id), (idLast), nullptr,                                           \
            ZM_MSG_DISPATCH((pThis->*ZM_PMF(void(ThisClass::*)(UINT), __VA_ARGS__))(call.nID);     \
                            return TRUE;)                                                          \
    }                                                                                              \
    ,
#define ON_COMMAND_EX_RANGE(id, idLast, ...)                                                       \
    {                                                                                              \
        WM_COMMAND, CN_COMMAND, (id), (idLast), nullptr,                                           \
            ZM_MSG_DISPATCH(                                                                       \
                return (pThis->*ZM_PMF(BOOL(ThisClass::*)(UINT), __VA_ARGS__))(call.nID);)         \
    }                                                                                              \
    ,
// void handler(CCmdUI*)
#define ON_UPDATE_COMMAND_UI(id, ...) ON_UPDATE_COMMAND_UI_RANGE(id, id, __VA_ARGS__)
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, ...)                                                \
    {                                                                                              \
        WM_COMMAND, 0xFFFF, (id), (idLast), nullptr,                                               \
            ZM_MSG_DISPATCH(CCmdUI* pCmdUI = static_cast<CCmdUI*>(call.pExtra);                    \
                            pCmdUI->m_bContinueRouting = FALSE;                                    \
                            (pThis->*ZM_PMF(void(ThisClass::*)(CCmdUI*), __VA_ARGS__))(pCmdUI);    \
                            return !pCmdUI->m_bContinueRouting;)                                   \
    }                                                                                              \
    ,

// ---------------------------------------------------------------------------
// Control notifications through WM_COMMAND.

// void handler()
#define ON_CONTROL(wNotifyCode, id, ...)                                                           \
    {                                                                                              \
        WM_COMMAND, static_cast<WORD>(wNotifyCode), (id), (id), nullptr,                           \
            ZM_MSG_DISPATCH((pThis->*ZM_PMF(void(ThisClass::*)(), __VA_ARGS__))(); return TRUE;)   \
    }                                                                                              \
    ,
// void handler(UINT nID)
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, ...)                                             \
    {                                                                                              \
        WM_COMMAND, static_cast<WORD>(wNotifyCode), (id), (idLast), nullptr,                       \
            ZM_MSG_DISPATCH((pThis->*ZM_PMF(void(ThisClass::*)(UINT), __VA_ARGS__))(call.nID);     \
                            return TRUE;)                                                          \
    }                                                                                              \
    ,
#define ON_BN_CLICKED(id, ...) ON_CONTROL(BN_CLICKED, id, __VA_ARGS__)
#define ON_BN_DOUBLECLICKED(id, ...) ON_CONTROL(BN_DOUBLECLICKED, id, __VA_ARGS__)
#define ON_EN_CHANGE(id, ...) ON_CONTROL(EN_CHANGE, id, __VA_ARGS__)
#define ON_EN_UPDATE(id, ...) ON_CONTROL(EN_UPDATE, id, __VA_ARGS__)
#define ON_EN_SETFOCUS(id, ...) ON_CONTROL(EN_SETFOCUS, id, __VA_ARGS__)
#define ON_EN_KILLFOCUS(id, ...) ON_CONTROL(EN_KILLFOCUS, id, __VA_ARGS__)
#define ON_LBN_SELCHANGE(id, ...) ON_CONTROL(LBN_SELCHANGE, id, __VA_ARGS__)
#define ON_LBN_DBLCLK(id, ...) ON_CONTROL(LBN_DBLCLK, id, __VA_ARGS__)
#define ON_CBN_SELCHANGE(id, ...) ON_CONTROL(CBN_SELCHANGE, id, __VA_ARGS__)
#define ON_CBN_EDITCHANGE(id, ...) ON_CONTROL(CBN_EDITCHANGE, id, __VA_ARGS__)
#define ON_CBN_DROPDOWN(id, ...) ON_CONTROL(CBN_DROPDOWN, id, __VA_ARGS__)
#define ON_CBN_CLOSEUP(id, ...) ON_CONTROL(CBN_CLOSEUP, id, __VA_ARGS__)
#define ON_STN_CLICKED(id, ...) ON_CONTROL(STN_CLICKED, id, __VA_ARGS__)

// ---------------------------------------------------------------------------
// WM_NOTIFY notifications.

// void handler(NMHDR*, LRESULT*)
#define ON_NOTIFY(wNotifyCode, id, ...)                                                            \
    {                                                                                              \
        WM_NOTIFY, static_cast<WORD>(wNotifyCode), (id), (id), nullptr,                            \
            ZM_MSG_DISPATCH(AFX_NOTIFY* pNotify = static_cast<AFX_NOTIFY*>(call.pExtra);           \
                            (pThis->*ZM_PMF(void(ThisClass::*)(NMHDR*, LRESULT*), __VA_ARGS__))(   \
                                pNotify->pNMHDR, pNotify->pResult);                                \
                            return TRUE;)                                                          \
    }                                                                                              \
    ,
// void handler(UINT nID, NMHDR*, LRESULT*)
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, ...)                                              \
    {                                                                                              \
        WM_NOTIFY, static_cast<WORD>(wNotifyCode), (id), (idLast), nullptr,                        \
            ZM_MSG_DISPATCH(                                                                       \
                AFX_NOTIFY* pNotify = static_cast<AFX_NOTIFY*>(call.pExtra);                       \
                (pThis->*ZM_PMF(void(ThisClass::*)(UINT, NMHDR*, LRESULT*), __VA_ARGS__))(         \
                    call.nID, pNotify->pNMHDR, pNotify->pResult);                                  \
                return TRUE;)                                                                      \
    }                                                                                              \
    ,
// BOOL handler(UINT nID, NMHDR*, LRESULT*): FALSE lets the notification go on.
#define ON_NOTIFY_EX(wNotifyCode, id, ...) ON_NOTIFY_EX_RANGE(wNotifyCode, id, id, __VA_ARGS__)
#define ON_NOTIFY_EX_RANGE(wNotifyCode, id, idLast, ...)                                           \
    {                                                                                              \
        WM_NOTIFY, static_cast<WORD>(wNotifyCode), (id), (idLast), nullptr,                        \
            ZM_MSG_DISPATCH(                                                                       \
                AFX_NOTIFY* pNotify = static_cast<AFX_NOTIFY*>(call.pExtra);                       \
                return (pThis->*ZM_PMF(BOOL(ThisClass::*)(UINT, NMHDR*, LRESULT*), __VA_ARGS__))(  \
                    call.nID, pNotify->pNMHDR, pNotify->pResult);)                                 \
    }                                                                                              \
    ,

// ---------------------------------------------------------------------------
// Reflected notifications: handled by the control that sent them, before its parent.

// void handler(NMHDR*, LRESULT*)
#define ON_NOTIFY_REFLECT(wNotifyCode, ...)                                                        \
    {                                                                                              \
        WM_REFLECT_BASE + WM_NOTIFY, static_cast<WORD>(wNotifyCode), 0, 0, nullptr,                \
            ZM_MSG_DISPATCH(AFX_NOTIFY* pNotify = static_cast<AFX_NOTIFY*>(call.pExtra);           \
                            (pThis->*ZM_PMF(void(ThisClass::*)(NMHDR*, LRESULT*), __VA_ARGS__))(   \
                                pNotify->pNMHDR, pNotify->pResult);                                \
                            return TRUE;)                                                          \
    }                                                                                              \
    ,
// BOOL handler(NMHDR*, LRESULT*): FALSE lets the parent handle it too.
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, ...)                                                     \
    {                                                                                              \
        WM_REFLECT_BASE + WM_NOTIFY, static_cast<WORD>(wNotifyCode), 0, 0, nullptr,                \
            ZM_MSG_DISPATCH(AFX_NOTIFY* pNotify = static_cast<AFX_NOTIFY*>(call.pExtra); return (  \
                                pThis->*ZM_PMF(BOOL(ThisClass::*)(NMHDR*, LRESULT*),               \
                                               __VA_ARGS__))(pNotify->pNMHDR, pNotify->pResult);)  \
    }                                                                                              \
    ,
// void handler()
#define ON_CONTROL_REFLECT(wNotifyCode, ...)                                                       \
    {                                                                                              \
        WM_REFLECT_BASE + WM_COMMAND, static_cast<WORD>(wNotifyCode), 0, 0, nullptr,               \
            ZM_MSG_DISPATCH((pThis->*ZM_PMF(void(ThisClass::*)(), __VA_ARGS__))(); return TRUE;)   \
    }                                                                                              \
    ,
// BOOL handler(): FALSE lets the parent handle it too.
#define ON_CONTROL_REFLECT_EX(wNotifyCode, ...)                                                    \
    {                                                                                              \
        WM_REFLECT_BASE + WM_COMMAND, static_cast<WORD>(wNotifyCode), 0, 0, nullptr,               \
            ZM_MSG_DISPATCH(return (pThis->*ZM_PMF(BOOL(ThisClass::*)(), __VA_ARGS__))();)         \
    }                                                                                              \
    ,
