// OXShadowedWnd.h: COXShadowedWnd<T>, which gives a dialog class T a drop
// shadow (a COXShdWnd 4 pixels right of and below the dialog, directly behind
// it) and a thin flat frame in place of the three-dimensional one.
//
// Status:
// - Implemented: the shadow follows the dialog's moves, sizes, Z order,
//   showing and hiding, and goes with the dialog's window; it turns
//   transparent to painting order while the dialog is dragged.
// - Differences: our CDialog binds its object only when the dialog manager
//   sends WM_INITDIALOG, so WM_CREATE never reaches WindowProc; the shadow is
//   made when the object is bound (PreSubclassWindow), which is still before
//   the dialog is first shown. Showing and hiding through SetWindowPos (which
//   sends no WM_SHOWWINDOW, as a modal dialog's end does) is followed too.
// - A dialog whose shadow window cannot be made works without a shadow.
#pragma once

#include "OXShdWnd.h"
#include "WinApp.h"
#include "Wnd.h"

#include <windows.h>

template <class T> class COXShadowedWnd : public T {
public:
    explicit COXShadowedWnd(UINT nIDTemplate) : T(nIDTemplate, nullptr) {}
    // Members go first: the shadow window is destroyed before T's destructor
    // destroys a dialog window that is still open.
    ~COXShadowedWnd() override = default;

protected:
    void PreSubclassWindow() override {
        T::PreSubclassWindow();
        CreateShadow();
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_WINDOWPOSCHANGED:
            FollowDialog(reinterpret_cast<const WINDOWPOS*>(lParam)->flags);
            break;
        case WM_WINDOWPOSCHANGING:
            if (ShadowExists() && IsLeftButtonDown())
                m_wndShadow.ModifyStyleEx(0, WS_EX_TRANSPARENT);
            break;
        case WM_NCMOUSEMOVE:
            if (ShadowExists() && !IsLeftButtonDown())
                m_wndShadow.ModifyStyleEx(WS_EX_TRANSPARENT, 0);
            break;
        case WM_SHOWWINDOW:
            if (ShadowExists())
                m_wndShadow.ShowWindow(wParam ? SW_SHOW : SW_HIDE);
            break;
        case WM_DESTROY:
            if (ShadowExists())
                m_wndShadow.DestroyWindow();
            break;
        case WM_NCPAINT: {
            const LRESULT lResult = T::WindowProc(message, wParam, lParam);
            DrawFlatFrame();
            return lResult;
        }
        }
        return T::WindowProc(message, wParam, lParam);
    }

    // The shadow window; its window exists from the dialog's binding to its
    // WM_DESTROY, the object as long as the dialog object.
    COXShdWnd m_wndShadow;

private:
    bool ShadowExists() const { return ::IsWindow(m_wndShadow.m_hWnd) != FALSE; }
    static bool IsLeftButtonDown() { return (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0; }

    void CreateShadow() {
        CRect rect;
        this->GetWindowRect(&rect);
        rect.OffsetRect(OX_SHADOW_SIZE, OX_SHADOW_SIZE);
        LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS);
        if (lpszClass == nullptr ||
            !m_wndShadow.CreateEx(0, lpszClass, "", WS_POPUP | WS_VISIBLE | WS_DISABLED, rect,
                                  AfxGetMainWnd(), 0))
            TRACE("COXShadowedWnd: no shadow window, error %lu; the dialog goes without.\n",
                  static_cast<unsigned long>(::GetLastError()));
        m_wndShadow.SetShadowedWnd(this);
        this->ModifyStyleEx(WS_EX_WINDOWEDGE, 0);
    }

    // Keeps the shadow directly behind the dialog at its offset, and shown or
    // hidden with it when SetWindowPos showed or hid the dialog.
    void FollowDialog(UINT nDialogFlags) {
        if (!ShadowExists())
            return;
        CRect rect;
        this->GetWindowRect(&rect);
        UINT nFlags = SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOCOPYBITS;
        if (nDialogFlags & SWP_SHOWWINDOW)
            nFlags |= SWP_SHOWWINDOW;
        else if (nDialogFlags & SWP_HIDEWINDOW)
            nFlags |= SWP_HIDEWINDOW;
        ::SetWindowPos(m_wndShadow.m_hWnd, this->m_hWnd, rect.left + OX_SHADOW_SIZE,
                       rect.top + OX_SHADOW_SIZE, rect.Width(), rect.Height(), nFlags);
        // Wine raises a window above the one it is asked to go behind when it
        // lies directly behind that window already (seen with Wine 8 when the
        // dialog moves without a change of Z order); a second, Z-only call puts
        // it back.
        if (::GetWindow(this->m_hWnd, GW_HWNDNEXT) != m_wndShadow.m_hWnd)
            ::SetWindowPos(m_wndShadow.m_hWnd, this->m_hWnd, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }

    // Over the frame that the default painting drew: a one-pixel sunken line
    // and inside it a one-pixel raised line, both flat.
    void DrawFlatFrame() {
        HDC hDC = ::GetWindowDC(this->m_hWnd);
        if (hDC == nullptr)
            return;
        CRect rect;
        this->GetWindowRect(&rect);
        rect.OffsetRect(-rect.left, -rect.top);
        ::DrawEdge(hDC, &rect, BDR_SUNKENOUTER, BF_RECT | BF_FLAT);
        rect.DeflateRect(1, 1);
        ::DrawEdge(hDC, &rect, BDR_RAISEDINNER, BF_RECT | BF_FLAT);
        ::ReleaseDC(this->m_hWnd, hDC);
    }
};
