// MiniFrameWnd.h: CMiniFrameWnd, a small tool-window frame, and
// CMiniDockFrameWnd, the floating frame in which a control bar floats.
//
// Classes: CMiniFrameWnd, CMiniDockFrameWnd.
//
// A floating frame is a popup tool window owned by its dock site; it holds
// one floating CDockBar (m_wndDockBar, id AFX_IDW_DOCKBAR_FLOAT, embedded) and
// takes the size of that dock bar's rows. It is shown exactly while a bar in
// it is visible; closing it hides its bars (they can be shown again with
// ShowControlBar). Like every frame it deletes itself with its window. It is
// made by CFrameWnd::FloatControlBar and destroyed by its dock bar when the
// last bar leaves it.
//
// Status: no own caption painting, no hit testing of MFS_MOVEFRAME, no
// resizing through MFS_4THICKFRAME, no close handling beyond the system's, no
// drag of the floating bar (that comes with CDockContext).
#pragma once

#include "DockBar.h"
#include "FrameWnd.h"

// Mini-frame styles beside the window styles.
#define MFS_SYNCACTIVE 0x00000100L   // active with its owner
#define MFS_4THICKFRAME 0x00000200L  // sizes only at its four sides
#define MFS_THICKFRAME 0x00000400L   // a sizing border
#define MFS_MOVEFRAME 0x00000800L    // the whole frame moves
#define MFS_BLOCKSYSMENU 0x00001000L // no system menu

class CMiniFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMiniFrameWnd)
public:
    CMiniFrameWnd() = default;
    // A popup tool window owned by pParentWnd; MFS_THICKFRAME gives it a
    // sizing border. On failure the object has deleted itself.
    virtual BOOL Create(LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd = nullptr, UINT nID = 0);

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
};

class CMiniDockFrameWnd : public CMiniFrameWnd {
    DECLARE_DYNCREATE(CMiniDockFrameWnd)
public:
    CMiniDockFrameWnd();

    // Makes the frame, owned by pParent, and its dock bar with dwBarStyle's
    // side (CBRS_ALIGN_TOP or CBRS_ALIGN_LEFT) and CBRS_FLOAT_MULTI bit. On
    // failure the object has deleted itself.
    virtual BOOL Create(CWnd* pParent, DWORD dwBarStyle);
    // Lays the dock bar out, fits the frame around it, and shows the frame
    // while a bar in it is visible.
    void RecalcLayout(BOOL bNotify = TRUE) override;

    CDockBar m_wndDockBar; // the floating dock bar; its window is a child of ours

protected:
    afx_msg void OnClose();

    DECLARE_MESSAGE_MAP()
};
