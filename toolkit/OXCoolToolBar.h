// OXCoolToolBar.h: the toolkit's toolbar.
//
// Classes:
//   CMFCToolBar          a thin step over the framework toolbar (not the class of
//                        that name of other libraries): creation always with top
//                        alignment, and SetBarStyle that follows CBRS_TOOLTIPS;
//   COXCoolToolBar       lays its buttons out itself, draws everything through
//                        the current toolbar skin, labels buttons from command
//                        strings or the frame's menu, shows drop-down arrows and
//                        a small icon, and drags itself to float or dock when
//                        pressed off its buttons;
//   COXCoolToolBarCmdUI  the command-UI state object of its idle update.
//
// The buttons stay in the common control. The layout reads them all into a
// temporary array (GetButton, which inverts TBSTATE_ENABLED so that a set bit
// means "disabled"), wraps and measures that array, and on LM_COMMIT writes
// back (SetButton) only buttons that changed.
//
// Skins: every paint asks GetToolbarSkin anew (the current skin's toolbar skin,
// else a Classic skin the bar owns), so a skin change shows at the next paint.
//
// Status: no customisation (no adjustable style, no customisation menu, no
// saved bar state, no button dragging within the bar). Drop targets of OLE
// drags are accepted only by bars customisable in the advanced sense (the menu
// bar); a plain bar refuses every drag.
//
// Layout files: OXCoolToolBar.cpp (creation, state, texts, command UI),
// OXCoolToolBarLayout.cpp (sizes and wraps), OXCoolToolBarPaint.cpp (drawing),
// OXCoolToolBarMsg.cpp (mouse, docking, control messages, notifications).
#pragma once

#include "OXSHBDropTarget.h"

#include "framework/CmdUI.h"
#include "framework/ToolBar.h"

class COXToolbarSkin;

// Pending idle work of a cool toolbar (m_nPendingUpdates).
#define OX_TB_PENDING_REDRAW 0x1       // RedrawToolBar(TRUE, TRUE)
#define OX_TB_PENDING_PLACEWINDOWS 0x2 // place the child windows of placeholders again

// What SetButtonTextFromID puts on the buttons.
#define OX_TB_TEXT_STRING 0  // the command string up to its first newline
#define OX_TB_TEXT_TOOLTIP 1 // the command string after its first newline
#define OX_TB_TEXT_MENU 2    // the frame menu's item text up to its first tab
#define OX_TB_TEXT_NONE 3    // no text; nothing is changed
#define OX_TB_TEXT_EMPTY 4   // empty texts

// The last floating state before the bar was first placed.
#define OX_TB_FLOATSTATE_UNKNOWN 3

// A colour of the bar's colour set that leaves the colour to the skin.
#define OX_TB_SKIN_COLOR 0xFF000000

// The common-controls version 4.71, the first with drop-down arrows of its own.
#define OX_COMCTL_VERSION_471 0x00040047

// The version of a library from its DllGetVersion: 4.0 for a library without
// that export. E_INVALIDARG for unusable pointers, E_FAIL when the library
// cannot be loaded, the export's failure when it fails.
HRESULT OXGetDllVersion(LPCSTR lpszDll, DWORD* pdwMajor, DWORD* pdwMinor);

class CMFCToolBar : public CToolBar {
    DECLARE_DYNAMIC(CMFCToolBar)
public:
    // The bar style passed on always has CBRS_ALIGN_TOP and no other alignment.
    using CToolBar::CreateEx;
    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders,
                  UINT nID = AFX_IDW_TOOLBAR) override;
    // Tooltips exactly when dwStyle has CBRS_TOOLTIPS; a changed style is stored
    // and OnBarStyleChange runs.
    void SetBarStyle(DWORD dwStyle);
};

class COXCoolToolBar : public CMFCToolBar {
    DECLARE_DYNAMIC(COXCoolToolBar)
public:
    COXCoolToolBar();
    // Deletes the fallback skin.
    ~COXCoolToolBar() override;

    // ---- Creation and styles.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                UINT nID = AFX_IDW_TOOLBAR) override;
    // Stores the dock style, makes the dock context when missing, makes the
    // parent the owner when none is set; bByFrame marks docking enabled by the
    // menu-bar frame.
    void EnableDocking(DWORD dwDockStyle, BOOL bByFrame = FALSE);

    // The process-wide common-controls version, (major << 16) | minor, read
    // once from comctl32's DllGetVersion; 4.0 without that export or on failure.
    static DWORD GetComCtlVersion();

    void SetDropDownArrow(BOOL bDropDownArrow);
    BOOL IsDropDownArrow() const;
    int GetDropDownArrowWidth() const { return m_nDropDownArrowWidth; }
    BOOL IsFlat() const;
    void SetFlat(BOOL bFlat = TRUE);
    BOOL IsList() const;
    BOOL IsGripper() const { return (m_dwStyle & CBRS_GRIPPER) != 0; }
    BOOL IsCool() const { return m_bCool; }
    BOOL IsSeparator() const { return m_bSeparator; }
    // The control's button size.
    CSize GetButtonsSize() const;
    int GetCustomizedButton() const { return m_nCustomizedButton; }
    int GetTextKind() const { return m_nTextKind; }

    // ---- Colours of button states; OX_TB_SKIN_COLOR leaves them to the skin.
    void SetDefaultTextColor(COLORREF crColor) { m_crDefaultText = crColor; }
    COLORREF GetDefaultTextColor() const { return m_crDefaultText; }
    COLORREF GetHotTextColor() const { return m_crHotText; }
    COLORREF GetSelectedTextColor() const { return m_crSelectedText; }
    COLORREF GetCheckedTextColor() const { return m_crCheckedText; }
    COLORREF GetDefaultBkColor() const { return m_crDefaultBk; }
    COLORREF GetHotBkColor() const { return m_crHotBk; }
    COLORREF GetSelectedBkColor() const { return m_crSelectedBk; }
    COLORREF GetCheckedBkColor() const { return m_crCheckedBk; }
    COLORREF GetDefaultBorderColor() const { return m_crDefaultBorder; }
    COLORREF GetHotBorderColor() const { return m_crHotBorder; }
    COLORREF GetSelectedBorderColor() const { return m_crSelectedBorder; }
    COLORREF GetCheckedBorderColor() const { return m_crCheckedBorder; }

    // ---- Icon at the bar's start (not owned).
    void SetIcon(HICON hIcon, BOOL bRedraw = TRUE);
    HICON GetIcon() const { return m_hIcon; }
    // Where the icon was drawn last, in window coordinates; empty until drawn.
    CRect GetIconRect() const { return m_rectIcon; }

    // ---- State read by skins, menus and frames.
    // The command whose drop-down arrow was pressed last; -1 for none.
    int GetDropDownCommand() const { return m_nDropDownCommand; }
    void SetDropDownCommand(int nCommand) { m_nDropDownCommand = nCommand; }
    BOOL IsDragDropOperation() const { return m_bDragDropOperation; }
    BOOL IsDockedByFrame() const { return m_bDockedByFrame; }
    void SetDragAnywhere(BOOL bDragAnywhere) { m_bDragAnywhere = bDragAnywhere; }
    BOOL IsDragAnywhere() const { return m_bDragAnywhere; }
    BOOL IsDragging() const { return m_bDragging; }
    // Starts the bar's own drag as if pressed at ptOffset (relative to the
    // window's top-left corner): captures the mouse, size-all cursor.
    void StartBarDrag(CPoint ptOffset);

    // The current skin's toolbar skin, else the bar's own Classic skin.
    COXToolbarSkin* GetToolbarSkin();
    COXSHBDropTarget* GetDropTarget() { return &m_dropTarget; }

    // ---- Button texts.
    // Labels the buttons with commands nFirstID..nLastID by nKind (OX_TB_TEXT_*).
    void SetButtonTextFromID(UINT nFirstID, UINT nLastID, int nKind);
    void SetAllButtonsTextFromID(int nKind) { SetButtonTextFromID(0, 0xFFFF, nKind); }

    // ---- Redrawing.
    void RedrawToolBar(BOOL bRecalcLayout = TRUE, BOOL bRefreshFrame = FALSE);
    void RedrawButton(int nIndex);

    // ---- Buttons as the layout sees them (TBSTATE_ENABLED inverted).
    void GetButton(int nIndex, TBBUTTON* pButton) const;
    void SetButton(int nIndex, TBBUTTON* pButton);

    // ---- Framework overrides.
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    CSize CalcDynamicLayout(int nLength, DWORD nMode) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    // The framework's inside rectangle, then the icon's space and the reserved
    // borders (CalcReservedBorders of an empty rectangle).
    void CalcInsideRect(CRect& rect, BOOL bHorz) const override;
    // One-pixel borders of the CBRS_BORDER_* bits; shrinks rect by them.
    virtual void DrawBorders(CDC* pDC, CRect& rect);

    // ---- New virtual operations (the menu bar overrides those marked *).
    // * Plain: the window has CCS_ADJUSTABLE; advanced: the advanced flag.
    virtual BOOL IsCustomizable(BOOL bAdvanced) const;
    // * The bar keeps no state of its own: both do nothing and return TRUE.
    virtual BOOL SaveBarState();
    virtual BOOL LoadBarState();
    // * The size for an LM_* mode; nLength as CalcDynamicLayout's.
    virtual CSize CalcLayout(DWORD dwMode, int nLength = -1);
    // * The size of the buttons with their current wrap marks.
    virtual CSize CalcSize(TBBUTTON* pButtons, int nCount);
    // Marks wraps so that rows fit nWidth; returns the number of rows.
    virtual int WrapToolBar(TBBUTTON* pButtons, int nCount, int nWidth);
    // Wraps for a row length (horizontal) or a height (bVert).
    virtual void SizeToolBar(TBBUTTON* pButtons, int nCount, int nLength, BOOL bVert = FALSE);
    virtual void DrawGripper(CDC* pDC, CRect& rect);
    virtual void DrawSeparator(CDC* pDC, CRect& rect);
    // Draws the icon at the start of rect (window coordinates) and moves rect's
    // start past it.
    virtual void DrawIcon(CDC* pDC, CRect& rect);
    virtual void DrawCustomizedButton(CDC* pDC, CRect& rect);
    // * Space kept free of buttons on each side of rect; none for the plain bar.
    virtual void CalcReservedBorders(CRect& rect, BOOL bHorz);
    // * Draws into the reserved space; nothing for the plain bar.
    virtual void DrawReservedArea(CDC* pDC, CRect& rect);
    // * Called after the bar floated (TRUE) or docked (FALSE).
    virtual void OnFloatingDocking(BOOL bFloating);
    // * Called when a docked bar's side (CBRS_ALIGN_* bits) changed.
    virtual void OnChangeDockSide(DWORD dwDockSide);
    // The OLE drag notifications of the drop target: wParam 0, lParam a
    // SHBDROPTARGETACTION*. Non-zero: handled, the answer is in the record's
    // result. Plain bars answer 0 (the drop target's refusal).
    virtual LRESULT OnDragEnter(WPARAM wParam, LPARAM lParam);
    // * Menu bar: accepts nothing (effect 0) but handles the event.
    virtual LRESULT OnDragOver(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnDragLeave(WPARAM wParam, LPARAM lParam);
    // * Menu bar: drops nothing (effect 0).
    virtual LRESULT OnDrop(WPARAM wParam, LPARAM lParam);

protected:
    // The non-client paint through the skin, and the window DC of it.
    void PaintNonClient();
    // Moves each placeholder's child control onto its separator.
    void PlaceButtonWindows();
    // Ends the bar's own drag.
    void StopBarDrag();
    // Re-measures m_nDropDownArrowWidth.
    void MeasureDropDownArrow();
    // The button width of the layout (auto-size buttons from the control) plus
    // the drop-down widening.
    int ButtonAdvance(const TBBUTTON& button, int nIndex);
    // A separator's contribution to the row gap.
    int SeparatorHeight(const TBBUTTON& button) const;
    BOOL IsHorizontalStyle() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }
    // The control's own procedure, bypassing the bar's message map.
    LRESULT ControlProc(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    afx_msg void OnNcPaint();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg LRESULT OnInsertButton(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDeleteButton(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg BOOL OnTbnDropDown(NMHDR* pNMHDR, LRESULT* pResult);

    DECLARE_MESSAGE_MAP()

    // The process-wide common-controls version; 0 until first read.
    static DWORD s_dwComCtlVersion;

    int m_nDropDownArrowWidth; // the width of Marlett's '6' at the menu check height
    int m_nTextKind;           // OX_TB_TEXT_* last applied
    BOOL m_bCool;              // never set in this system
    BOOL m_bSeparator;         // skins draw separators of old flat bars themselves
    BOOL m_bDropDownArrow;     // the answer of IsDropDownArrow before 4.71
    COLORREF m_crDefaultText, m_crHotText, m_crSelectedText, m_crCheckedText;
    COLORREF m_crDefaultBk, m_crHotBk, m_crSelectedBk, m_crCheckedBk;
    COLORREF m_crDefaultBorder, m_crHotBorder, m_crSelectedBorder, m_crCheckedBorder;
    int m_nLastFloatingState; // OX_TB_FLOATSTATE_UNKNOWN, then 0 or 1
    DWORD m_dwLastDockSide;   // CBRS_ALIGN_* bits; (DWORD)-1 until first placed
    HICON m_hIcon;            // not owned
    CRect m_rectIcon;         // window coordinates; empty until drawn
    int m_nCustomizedButton;  // -1: never set in this system
    BOOL m_bAdvancedCustomizable;
    COXSHBDropTarget m_dropTarget; // registered for the bar at creation
    BOOL m_bDragDropOperation;     // an OLE drag is over the bar
    BOOL m_bDockedByFrame;         // EnableDocking(..., TRUE) by the menu-bar frame
    BOOL m_bDragging;              // the bar's own drag runs
    CPoint m_ptDragOffset;         // the press, from the window's top-left corner
    BOOL m_bInsideInsertDelete;    // the bar inserts or deletes buttons itself
    BOOL m_bInsideRecalcLayout;    // the frame re-lays out for RedrawToolBar
    int m_nPendingUpdates;         // OX_TB_PENDING_* for the next idle update
    BOOL m_bDragAnywhere;          // a press off the buttons drags the bar
    int m_nDropDownCommand;        // last drop-down command; -1 none
    COXToolbarSkin* m_pOwnSkin;    // owned Classic skin; made on first need without a skin
};

// The state object of COXCoolToolBar::OnUpdateCmdUI: writes a changed button
// state back by index.
class COXCoolToolBarCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn = TRUE) override;
    void SetCheck(int nCheck = 1) override;
};
