// DockingFrameSetUp.h: the frame that the docking tests set up, as the
// application's main frame has it: sizeable dock bars on all four sides, a
// pane for what they leave, and a floating-frame class.
//
// Classes: none; CreateDockingFrame, DestroyDockingFrame.
#pragma once

#include "toolkit/OXSizeDockBar.h"

#include "framework/FrameWnd.h"
#include "framework/WinApp.h"

#include "tests/support/UiScript.h"

// Creates pFrame visible at rect, makes it the main window, gives it a pane
// (a window of lpszPaneClass, null for the framework's default class) unless
// pPane is null, and sizeable dock bars on all four sides. Bars float in
// pFloatingFrameClass, or in the framework's own frame when it is null.
inline BOOL CreateDockingFrame(CFrameWnd* pFrame, const CRect& rect, CWnd* pPane,
                               LPCTSTR lpszPaneClass, CRuntimeClass* pFloatingFrameClass) {
    if (!pFrame->Create(nullptr, "Docking", WS_OVERLAPPEDWINDOW | WS_VISIBLE, rect))
        return FALSE;
    AfxGetApp()->m_pMainWnd = pFrame;
    if (pPane != nullptr && !pPane->CreateEx(0, lpszPaneClass, nullptr, WS_CHILD | WS_VISIBLE,
                                             CRect(0, 0, 1, 1), pFrame, AFX_IDW_PANE_FIRST))
        return FALSE;
    pFrame->EnableDocking(CBRS_ALIGN_ANY, RUNTIME_CLASS(COXSizeDockBar));
    if (pFloatingFrameClass != nullptr)
        pFrame->m_pFloatingFrameClass = pFloatingFrameClass;
    return TRUE;
}

// Ends a test's frame (and a drag's capture) and leaves no main window.
inline void DestroyDockingFrame(CFrameWnd* pFrame, HWND hFrame) {
    if (::GetCapture() != nullptr)
        ::ReleaseCapture();
    if (::IsWindow(hFrame))
        pFrame->DestroyWindow();
    AfxGetApp()->m_pMainWnd = nullptr;
}
