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
// Texts: SetButtonText labels a button from a pool of strings added to the
// control once each (a button keeps an index into that pool, so deleting and
// re-inserting it keeps its text); the button size grows to fit the texts.
//
// Drop-down buttons (SetButtonStyle with TBSTYLE_DROPDOWN) send TBN_DROPDOWN to
// the frame, which the frame may reflect to the bar; with CBRS_TOOLTIPS
// (EnableToolTips) a button shows the part of its command string after the
// first newline as its tooltip. CBRS_GRIPPER keeps a gripper's space at the
// start of a docked bar, drawn as two raised lines.
//
// Delayed layout: changing buttons, texts or sizes sets m_bDelayedButtonLayout;
// the next WM_WINDOWPOSCHANGING (or one after the bar moved to another kind of
// place) commits the layout of its place through the virtual
// CalcDynamicLayout(-1, mode | LM_COMMIT), so derived bars lay out themselves.
//
// Status: no customisation.
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
    // The same with the bar's inside borders (left, top, right, bottom).
    virtual BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders,
                          UINT nID = AFX_IDW_TOOLBAR);
    // Space inside the bar's border bits around the buttons (0 by default).
    void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
    void SetBorders(LPCRECT lpRect) {
        SetBorders(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    }

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
    // The button's TBSTYLE_* bits; 0 for a bad index.
    UINT GetButtonStyle(int nIndex) const;
    void SetButtonStyle(int nIndex, UINT nStyle);
    // Labels the button (an empty text removes its label); FALSE for a bad index
    // or when the control refuses the string.
    BOOL SetButtonText(int nIndex, LPCTSTR lpszText);
    // The button's label; empty when it has none.
    CString GetButtonText(int nIndex) const;

    // The button under point (command id) with its tooltip text (malloc'ed,
    // empty for a command without a string); -1 on a separator or off the buttons.
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;
    // Called by derived bars when the bar style changed: recomputes the
    // non-client area when border or gripper bits changed, and asks for a
    // delayed layout.
    virtual void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle);
    void CalcInsideRect(CRect& rect, BOOL bHorz) const override;

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD nMode) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

    int m_nMRUWidth;             // floating width of a CBRS_SIZE_DYNAMIC bar (32767: one row)
    CSize m_sizeButton;          // the control's button size after the last change
    CSize m_sizeImage;           // one button image
    BOOL m_bDelayedButtonLayout; // the layout is to be committed at the next move

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Commits the layout of the bar's place (see the file comment).
    void Layout();

    afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
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
    HBITMAP m_hbmImageWell; // owned: the bitmap the buttons' images came from
    int m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder;
    DWORD m_dwLastLayoutMode; // ModeOfPlace at the last committed layout
    // The strings added to the control, with the index the control gave each.
    struct SPooledString {
        CString strText;
        int nIndex;
    };
    std::vector<SPooledString> m_stringPool;
};
