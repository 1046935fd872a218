// PlayerBar.h: CPlayerBar, the Player Panel: a sizeable docking bar that hosts
// the player form through a plain frame window of its own.
//
// Classes: CPlayerBar.
//
// A control bar cannot hold a view, so the bar's only child is a framework
// frame window, made from the bar's creation context, which makes the form
// named by the context's view class. The panel is never less than 650 pixels
// wide and always 220 high, the size of the form.
#pragma once

#include "OXSizeCtrlBar.h"

#include "framework/FrameWnd.h"

class CPlayerBar : public COXSizeControlBar {
public:
    static constexpr int kMinWidth = 650;
    static constexpr int kHeight = 220;

    CPlayerBar();
    // Deletes the host frame object only when its window was never tried:
    // once made, the frame window deletes itself with its window.
    ~CPlayerBar() override;

    // Copies pContext (or, without one, names the main window as the current
    // frame) with pViewClass as the view to make, and creates the bar without
    // a context menu of its own.
    virtual BOOL Create(CWnd* pParent, CRuntimeClass* pViewClass, CCreateContext* pContext,
                        LPCTSTR lpszTitle, DWORD dwStyle, UINT nID);
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;

    // The frame that holds the form; null before the bar's window was made
    // and after it failed or was destroyed.
    CFrameWnd* GetHostFrame() const;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    CFrameWnd* m_pHostFrame; // owned until its window is tried, then self-deleting
    HWND m_hHostFrame;       // the host frame's window, to tell whether it still lives
    bool m_bHostFrameTried;
    CCreateContext m_context; // handed to the host frame at its creation
};
