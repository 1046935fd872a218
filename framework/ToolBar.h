// ToolBar.h: CToolBar, a bar of command buttons over the common toolbar
// control, dockable and floatable in a frame.
//
// Classes: CToolBar.
//
// Buttons: SetButtons takes one command id per button, ID_SEPARATOR (0) for a
// gap; the buttons take the images of the bitmap (LoadBitmap) in order,
// separators skipped. LoadToolBar reads a TOOLBAR resource (image size and
// ids) and the bitmap of the same id. Pressing a button sends WM_COMMAND with
// its id to the frame the bar was made in, wherever the bar docks or floats.
//
// Size: docked on the top or bottom (or straight in the frame) the buttons
// form one row; on the left or right one column (every button wraps). A bar
// with CBRS_SIZE_DYNAMIC wraps its buttons into rows of the width asked for
// while it floats (CalcDynamicLayout with a length; LM_LENGTHY asks for a
// height instead), and keeps the last committed width (LM_COMMIT) for
// LM_MRUWIDTH. Measuring another layout leaves the buttons as they are.
// The CBRS_BORDER_* bits are a non-client border around the buttons.
//
// Idle time: each button takes its enable and check state from the owner
// frame's ON_UPDATE_COMMAND_UI handlers; a command nobody handles is disabled.
//
// Mouse: a press on a button presses it; a press elsewhere on the bar drags
// the bar (CControlBar), a double click there docks or floats it.
//
// Status: no gripper, tooltips, drop-down buttons or customisation.
#pragma once

#include "ControlBar.h"

#include <commctrl.h>

#include <vector>

#ifndef ID_SEPARATOR
#define ID_SEPARATOR 0
#endif

class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar();
    ~CToolBar() override;

    // Makes the bar as child nID of pParentWnd with the toolbar control style
    // dwCtrlStyle (TBSTYLE_*); FALSE when the window fails.
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                        UINT nID = AFX_IDW_TOOLBAR);
    virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = TBSTYLE_FLAT,
                          DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP,
                          UINT nID = AFX_IDW_TOOLBAR);

    // Button and image sizes; the button must be at least the image plus 7
    // by 6 pixels.
    void SetSizes(SIZE sizeButton, SIZE sizeImage);
    // The button images, side by side in one bitmap resource.
    BOOL LoadBitmap(LPCTSTR lpszResourceName);
    BOOL LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCE(nIDResource)); }
    // Sizes, bitmap and buttons of a TOOLBAR resource.
    BOOL LoadToolBar(LPCTSTR lpszResourceName);
    BOOL LoadToolBar(UINT nIDResource) { return LoadToolBar(MAKEINTRESOURCE(nIDResource)); }
    // Replaces the buttons; lpIDArray null makes nIDCount separators.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);

    int GetCount() const;
    // The index of the first button with id nIDFind, else -1.
    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    // The button's rectangle in the bar's client area; empty for a bad index.
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    // The button's TBSTATE_* bits; 0 for a bad index.
    UINT GetButtonState(int nIndex) const;
    void SetButtonState(int nIndex, UINT nState);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD nMode) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

    int m_nMRUWidth; // floating width of a CBRS_SIZE_DYNAMIC bar (32767: one row)

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();

    DECLARE_MESSAGE_MAP()

private:
    // The size of the buttons laid out with the given wraps (true: a row ends
    // after that button), border included; the wraps stay applied.
    CSize SizeWithWraps(const std::vector<bool>& wraps);
    // Wraps that fit the buttons into rows at most nWidth wide.
    std::vector<bool> WrapsForWidth(int nWidth);
    // The layout for nMode and nLength; applied for good when it is the one
    // the bar shows now or bCommit, else only measured.
    CSize CalcLayout(int nLength, DWORD nMode);
    std::vector<bool> CurrentWraps() const;
    // The layout mode of the place the bar is in now (as its dock bar asks).
    DWORD ModeOfPlace() const;
    // The width and height of the bar's border bits.
    CSize BorderSize() const;
    // The button under point (client coordinates), -1 on a gap or nothing.
    int HitButton(CPoint point) const;

    DWORD m_dwCtrlStyle;    // TBSTYLE_* of the control
    CSize m_sizeImage;      // one button image
    HBITMAP m_hbmImageWell; // owned: the bitmap the buttons' images came from
};
