// MdiScaffold.h: the document/view set-up that the MDI tests share: a
// document manager with one multi-document template, and a main frame loaded
// from its resource and made the application's main window.
//
// Classes: CMdiScaffold.
//
// Header only: the test support library does not link the framework.
#pragma once

#include "DocTemplate.h"
#include "MDIFrameWnd.h"
#include "WinApp.h"

struct CMdiScaffold {
    // Installs pDocManager with a template of the three classes under
    // nDocResource, then loads pFrame from nMainResource; a non-empty
    // sizeShown sizes the frame and shows it. FALSE when the frame fails.
    BOOL SetUp(CDocManager* pDocManager, UINT nDocResource, CRuntimeClass* pDocClass,
               CRuntimeClass* pChildClass, CRuntimeClass* pViewClass, CMDIFrameWnd* pFrame,
               UINT nMainResource, CSize sizeShown = CSize(0, 0)) {
        m_pDocManager = pDocManager;
        AfxSetDocManager(m_pDocManager);
        m_pTemplate = new CMultiDocTemplate(nDocResource, pDocClass, pChildClass, pViewClass);
        m_pDocManager->AddDocTemplate(m_pTemplate);
        m_pFrame = pFrame;
        if (!m_pFrame->LoadFrame(nMainResource))
            return FALSE;
        m_hFrame = m_pFrame->m_hWnd;
        if (sizeShown.cx != 0 && sizeShown.cy != 0) {
            ::SetWindowPos(m_hFrame, nullptr, 0, 0, sizeShown.cx, sizeShown.cy, SWP_NOZORDER);
            m_pFrame->ShowWindow(SW_SHOW);
        }
        AfxGetApp()->m_pMainWnd = m_pFrame;
        return TRUE;
    }
    // Closes every document, destroys the frame, and leaves no main window,
    // no document manager and no quit request (a closing frame may post one).
    void TearDown() {
        if (m_pDocManager != nullptr)
            m_pDocManager->CloseAllDocuments(TRUE);
        if (::IsWindow(m_hFrame))
            m_pFrame->DestroyWindow();
        AfxGetApp()->m_pMainWnd = nullptr;
        AfxSetDocManager(nullptr);
        MSG msg;
        ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }

    CDocManager* m_pDocManager = nullptr;     // installed in the application
    CMultiDocTemplate* m_pTemplate = nullptr; // owned by the document manager
    CMDIFrameWnd* m_pFrame = nullptr;         // deletes itself with its window
    HWND m_hFrame = nullptr;
};
