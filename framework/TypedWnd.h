// TypedWnd.h: AfxTypedWnd, typed non-owning views of control windows.
//
// Control classes hand out windows that the control itself makes (a list's
// header, a label's edit box, a sheet's tab control) typed as the framework
// class of that control. The view is the object that owns the window when it is
// of that class; otherwise a temporary object of the class that only borrows
// the handle: it is kept in the thread's handle map of its type and freed at
// the thread's next idle time with the other temporaries
// (AfxDeleteTempGdiObjects), so callers must not keep the pointer. A temporary
// never destroys the window.
#pragma once

#include "HandleMap.h"
#include "Wnd.h"

#include <memory>

// One borrowed handle wrapped in a T; the handle is dropped before T's
// destructor runs, so the window outlives the view.
template <class T> class CTempWndView {
public:
    explicit CTempWndView(HWND hWnd) { m_wnd.m_hWnd = hWnd; }
    virtual ~CTempWndView() { m_wnd.m_hWnd = nullptr; }
    T* Get() { return &m_wnd; }

    CTempWndView(const CTempWndView&) = delete;
    CTempWndView& operator=(const CTempWndView&) = delete;

private:
    T m_wnd;
};

// The T that owns hWnd on this thread, else a temporary T view; null for null.
template <class T> T* AfxTypedWnd(HWND hWnd) {
    if (hWnd == nullptr)
        return nullptr;
    if (T* pOwner = dynamic_cast<T*>(CWnd::FromHandlePermanent(hWnd)))
        return pOwner;
    using Map = CHandleMap<CTempWndView<T>, HWND>;
    Map* pMap = Map::ForThisThread();
    if (pMap == nullptr)
        return nullptr; // the thread is ending: no views any more
    if (CTempWndView<T>* pView = pMap->LookupTemporary(hWnd))
        return pView->Get();
    return pMap->AddTemporary(hWnd, std::make_unique<CTempWndView<T>>(hWnd))->Get();
}
