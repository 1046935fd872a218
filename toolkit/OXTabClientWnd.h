// OXTabClientWnd.h: the tabs over an MDI frame's client area, one tab per
// document window:
//   COXTabClientWnd            takes over (subclasses) the frame's MDI client,
//                              watches the MDI messages that create, activate
//                              and destroy children, and places the tab
//                              control under the client in the frame's layout;
//   COXTabWorkspace            the tab control (a COXSkinnedTabCtrl) whose tabs
//                              mirror the children: titles, small icons and the
//                              active one; a click activates, a double click
//                              maximises or restores;
//   COXTabWorkspaceDropTarget  activates the child of a tab that an OLE drag
//                              passes over, so that the drop lands in it; the
//                              tab strip never accepts a drop itself;
//   _tagTAB_ITEM_ENTRY         what the workspace keeps per tab.
//
// Synchronisation: a timer of the tab control (id 333, every 500 ms) runs
// SyncTabs, and the MDI messages post that timer message at once. Tabs of
// children that are hidden, destroyed or replaced go; visible children without
// a tab get one after the existing tabs; titles and the selection follow.
// Children created between two synchronisations get their tabs in reverse Z
// order (all at the same position).
//
// Children are kept by window handle together with their class name, so a
// child destroyed behind the tabs' back (without WM_MDIDESTROY) leaves no
// pointer behind: its tab goes at the next synchronisation, and a handle the
// system has reused for a window of another class does not match.
//
// Layout: while attached, the frame's layout places the MDI client through
// COXTabClientWnd::CalcWindowRect: the tab control takes the rectangle, the
// client its display area (widened by the tab skin), so the tab strip shows
// around the client.
//
// Texts: a child answers WM_OX_GETTABTEXT with a pointer to a zero-terminated
// label (or a string resource id below 0x10000) to show other than its
// caption. Every '&' of a label is doubled in the tab, so it shows literally.
//
// Diagnostics go to the trace log.
#pragma once

#include "OXSkinnedTabCtrl.h"

#include "framework/AfxString.h"
#include "framework/Collections.h"
#include "framework/ImageList.h"
#include "framework/OleDragDrop.h"

class CMDIFrameWnd;
class COXTabClientWnd;
class COXTabSkin;

// Sent to an MDI child for its tab label (wParam 0, lParam 0); 0 for none.
#define WM_OX_GETTABTEXT 0x80A0

// The synchronisation timer of the tab control.
const UINT_PTR IDT_OXTABCLIENT_SYNC = 333;
const UINT OXTABCLIENT_SYNC_PERIOD = 500;
// Control id of the tab control, a child of the frame.
const UINT IDC_OXTABWORKSPACE = 1000;

struct _tagTAB_ITEM_ENTRY {
    CString sText;     // the label as last read from the child, '&' not doubled
    CString sWndClass; // the child's class name when the tab was made
    HWND hWnd;         // the child; may no longer exist (see FindTab)
    BOOL bFound;       // TRUE once the entry is made
};

class COXTabWorkspaceDropTarget : public COleDropTarget {
public:
    COXTabWorkspaceDropTarget() : m_nOldItem(-1) {}

    // Activates the child of the tab under the point, once per tab and drag;
    // always DROPEFFECT_NONE.
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                          CPoint point) override;
    void OnDragLeave(CWnd* pWnd) override;

    int m_nOldItem; // the tab the drag activated last; -1 when none
};

class COXTabWorkspace : public COXSkinnedTabCtrl {
    DECLARE_DYNAMIC(COXTabWorkspace)
public:
    COXTabWorkspace();
    ~COXTabWorkspace() override;

    // Brings the tabs in line with the frame's MDI children (see the file
    // comment): new visible children get tabs when bAddNewWindows, tab images
    // follow the children's icons when bUpdateIcons.
    void SyncTabs(BOOL bAddNewWindows, BOOL bUpdateIcons);
    // A tab for the MDI child hWnd at nIndex; FALSE for a window that is no MDI
    // child, or (with bOnlyVisible) not visible.
    BOOL InsertTab(int nIndex, HWND hWnd, BOOL bRecalcLayout, BOOL bOnlyVisible);
    // FALSE when hWnd has no tab.
    BOOL RemoveTab(HWND hWnd, BOOL bRecalcLayout);
    // The tab of hWnd (same handle, same class name), or -1.
    int FindTab(HWND hWnd) const;
    // The icon's image index, adding the icon to the image list when new.
    int AddTabIcon(HICON hIcon);
    // The child's label: its answer to WM_OX_GETTABTEXT, else its caption.
    virtual CString GetTabText(HWND hWnd);
    // The window's small icon, else its class's, else the big ones; null if none.
    static HICON GetWindowSmallIcon(HWND hWnd);

    // The child of a tab; null for the spare tab or a child that is gone.
    HWND GetTabWindow(int nIndex) const;
    // The tab control's index of the empty tab the layout adds, or -1.
    int GetSpareTabIndex() const;

    CArray<_tagTAB_ITEM_ENTRY, const _tagTAB_ITEM_ENTRY&> m_arrTab; // one per real tab
    CArray<HICON, HICON> m_arrImage; // borrowed icons; position = image index
    CImageList m_imageList;          // small icons, owned
    COXTabWorkspaceDropTarget m_dropTarget;
    COXTabClientWnd* m_pTabClientWnd; // the owner while attached; not owned
    int m_nOffset;                    // pixels between the window edge and the client area
    BOOL m_bAcceptDraggedObject;      // OLE drags over a tab activate its child

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnDestroy();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnNcPaint();
    afx_msg void OnSelChange(NMHDR* pNMHDR, LRESULT* pResult);

    DECLARE_MESSAGE_MAP()

private:
    CMDIFrameWnd* GetFrame() const;
    // The frame's active MDI child, or null; *pbMaximized (when given) tells
    // whether it is maximised.
    HWND GetActiveChild(BOOL* pbMaximized) const;
    void RecalcFrameLayout() const;
};

class COXTabClientWnd : public CWnd {
public:
    COXTabClientWnd();
    // Deletes the own Classic tab skin.
    ~COXTabClientWnd() override;

    // Subclasses pParentFrame's MDI client and creates the tab control with
    // dwTabCtrlStyle (TCS_*) added to WS_CHILD | WS_VISIBLE | TCS_FOCUSNEVER.
    // FALSE, with a trace, when already attached, when the frame is no
    // CMDIFrameWnd, when its MDI client has a window object already, or when
    // subclassing or the tab control fails (then nothing stays attached).
    BOOL Attach(CWnd* pParentFrame, DWORD dwTabCtrlStyle);
    // Destroys the tab control and gives the MDI client back; FALSE, with a
    // trace, when not attached.
    BOOL Detach();
    BOOL IsAttached() const { return m_pParentFrame != nullptr; }

    // The current skin's tab skin, else the own Classic one.
    COXTabSkin* GetTabSkin();
    // The frame's layout: the tab control over the rectangle, the MDI client
    // over its display area.
    void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder) override;

    COXTabWorkspace m_tab;
    CMDIFrameWnd* m_pParentFrame; // the attached frame; null while not attached
    BOOL m_bForceToRecalc;        // recalculate the frame's layout at the next sync
    BOOL m_bHasSpareTab;          // the layout added an empty last tab

protected:
    // The client window is gone (with its frame): nothing stays attached, so
    // no pointer to the frame outlives it.
    void PostNcDestroy() override;

    afx_msg LRESULT OnMDICreate(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMDIDestroy(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMDIActivate(WPARAM wParam, LPARAM lParam);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnNcPaint();

    DECLARE_MESSAGE_MAP()

private:
    // Runs SyncTabs soon, through the tab control's queue.
    void PostSync();
    // The tab control's layout within lpRect (see CalcWindowRect); lpRect
    // becomes the client's rectangle.
    void LayoutTabs(HDWP& hDWP, LPRECT lpRect);
    void LayoutVerticalButtons(HDWP& hDWP, CRect& rect, DWORD dwStyle);
    void AdjustForTabs(CRect& rect, DWORD dwStyle);

    COXTabSkin* m_pOwnTabSkin; // owned Classic skin; made on first need without a skinned app
};
