// OXMenuBar.h: COXMenuBar, a frame's menu shown as a cool toolbar: one
// drop-down button per top-level item, labelled in the system menu font; the
// maximised MDI child's icon at its start and minimise, restore and close
// buttons at its end; popups opened by a press, by a mnemonic or by the
// keyboard (surfing mode); and the saved state of each menu in the profile.
//
// Classes: COXMenuBar.
//
// Files: OXMenuBar.cpp (creation, buttons, metrics, layout, the MDI child's
// icon and buttons, the mouse), OXMenuBarPopup.cpp (popups, chaining, surfing,
// the keyboard), OXMenuBarProfile.cpp (the saved state in the profile),
// OXMenuBarState.cpp (that state as bytes) and OXMenuBarKeys.cpp (the keyboard
// rules as plain functions).
//
// Who calls what. The menu-bar frame (OXMenuBarFrame.h) creates the bar
// (Create with style 0x50402804 and id 0xE810), hands it every menu (SetMenu),
// refreshes it (RefreshButtons), enables its docking (COXCoolToolBar::
// EnableDocking), gives the MDI client its window menu (GetWindowMenu), and
// routes the keyboard (HandleMenuKey) and the mouse over the bar while a popup
// is open (IsPopupOpen, HitTest, SetNextOpenItem, SetJustClosedItem and the
// posted mouse press that closes the open popup); it reopens the pending item
// with WM_OX_MENUBAR_REOPENPENDING and reports a changed menu with
// MarkMenuChanged. The toolbar skin reads GetOpenItem, GetMenuItemText, the
// MDI button rectangles, GetPressedMDIButton and GetFrame.
//
// Item indices: 0 to n-1 for a menu of n top-level items; n stands for the
// MDI child's icon (its system menu) and exists only while the icon is shown.
// The button of item i has the command id i + 1.
//
// Process-wide: one mouse hook for all menu bars (counted per bar, so it stays
// until the last bar goes), and the window that had the focus before surfing.
//
// Status: the "advanced" customisation answers TRUE only so that the saved
// menu state is loaded and OLE drags over the bar are refused with effect 0;
// nothing customises the bar. SaveBarState has no caller in this program.
//
// Differences from the plain reading of its design, each for a fault:
// - "&&" in an item text is a literal ampersand, never a mnemonic.
// - WM_EXITMENULOOP goes to the frame only when a popup of the bar was open
//   (or surfing ends), never between the WM_ENTERMENULOOP of an opening popup
//   and its tracking.
// - A saved state is read with every count, id, text and nesting level checked
//   and built aside; only a whole, well-formed state replaces the menu's items
//   (OXMenuBarState.h). Owner-drawn and bitmap items come back as text items.
// - A changed menu whose template has no open document any more is saved under
//   the name its state was loaded with, not over "Menu_Default".
// - The mouse hook counts its bars; a WM_QUIT met while dropping queued open
//   messages is put back.
#pragma once

#include "OXCoolToolBar.h"
#include "OXMouseHook.h"

#include <map>
#include <set>
#include <vector>

class CDocTemplate;
class CMDIChildWnd;
class CMDIFrameWnd;
class COXMenuSkin;

// Between the menu bar, the bitmap menu organizer and the frame: wParam the
// menu, lParam the profile section name (LPCTSTR, valid during the send).
#ifndef WM_OX_SAVEMENUSTATE
#define WM_OX_SAVEMENUSTATE 0x8073
#endif
#ifndef WM_OX_LOADMENUSTATE
#define WM_OX_LOADMENUSTATE 0x8074
#endif
// From the organizer to the frame: a menu's state changed (the frame calls
// MarkMenuChanged).
#ifndef WM_OX_MENUSTATECHANGED
#define WM_OX_MENUSTATECHANGED 0x8075
#endif
// Posted to the bar: open the popup of item wParam (only the last one queued
// counts).
#define WM_OX_MENUBAR_OPENITEM 0x808D
// Posted to the bar by the frame when the show-all entry of a shortened popup
// was chosen: open the pending item again, now whole.
#define WM_OX_MENUBAR_REOPENPENDING 0x80B7

// String resource: the caption of the floating bar ("Menu").
#define ID_OX_MENUBAR_CAPTION 26966

// HitTest answers beside item indices, and the pressed MDI button.
#define OX_MENUBAR_NONE (-1)
#define OX_MENUBAR_MINIMIZE (-2)
#define OX_MENUBAR_RESTORE (-3)
#define OX_MENUBAR_CLOSE (-4)
#define OX_MENUBAR_ICON (-5)

// Coordinates of the point given to HitTest.
#define OX_MENUBAR_HT_CLIENT 0
#define OX_MENUBAR_HT_SCREEN 1
#define OX_MENUBAR_HT_WINDOW 2

class COXMenuBar : public COXCoolToolBar {
    DECLARE_DYNAMIC(COXMenuBar)
public:
    // Throws CNotSupportedException (after a trace) with a common-controls
    // version before 4.71.
    COXMenuBar();
    // Destroys the popups made while loading saved states (those still alive,
    // last first) and the fallback menu skin.
    ~COXMenuBar() override;

    // Creates the bar as child nID of pParentWnd, which becomes its frame: it
    // gets the menu-loop messages, the commands and the state notices.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) override;

    // ---- the menu
    // Shows hMenu (null hides the bar); the same menu again does nothing and
    // answers TRUE. Saves the state of a replaced menu marked changed and loads
    // the saved state of a menu shown for the first time per document template.
    BOOL SetMenu(HMENU hMenu);
    HMENU GetMenuHandle() const { return m_hMenu; }
    // The popup that held the MDI window list when a saved state was loaded,
    // else null.
    HMENU GetWindowMenu() const { return m_hWindowMenu; }
    // One button per top-level item; FALSE when the buttons cannot be added.
    BOOL RebuildButtons(BOOL bRedraw);
    // RebuildButtons with redraw when the window exists.
    BOOL RefreshButtons();
    // The text of top-level item nIndex ("" for none).
    CString GetMenuItemText(int nIndex) const;
    // Re-creates the menu font from the system's metrics and sizes the buttons.
    void UpdateMenuMetrics(BOOL bRedraw);
    // Follows the maximised MDI child's icon.
    void UpdateMDIChildIcon(BOOL bRedraw);

    // ---- where things are
    // The item under point (nKind: OX_MENUBAR_HT_*), or one of OX_MENUBAR_ICON,
    // _CLOSE, _RESTORE, _MINIMIZE; OX_MENUBAR_NONE for nothing.
    int HitTest(CPoint point, int nKind) const;
    // Window coordinates of the bar; empty while not shown.
    CRect GetCloseRect() const { return m_rectClose; }
    CRect GetRestoreRect() const { return m_rectRestore; }
    CRect GetMinimizeRect() const { return m_rectMinimize; }
    // OX_MENUBAR_NONE, _MINIMIZE, _RESTORE, _CLOSE or _ICON.
    int GetPressedMDIButton() const { return m_nPressedMDIButton; }
    CWnd* GetFrame() const { return m_pFrame; }
    // The current skin's menu skin, else the bar's own Classic one.
    COXMenuSkin* GetMenuSkin();

    // ---- popups and surfing (OXMenuBarPopup.cpp)
    // The item whose popup is open, -1 none.
    int GetOpenItem() const { return m_nOpenItem; }
    void SetOpenItem(int nItem) { m_nOpenItem = nItem; }
    // The item to open as soon as the open popup has closed, -1 none.
    int GetNextOpenItem() const { return m_nNextItem; }
    void SetNextOpenItem(int nItem) { m_nNextItem = nItem; }
    // The item whose popup a press on its own button just closed, -1 none.
    int GetJustClosedItem() const { return m_nJustClosedItem; }
    void SetJustClosedItem(int nItem) { m_nJustClosedItem = nItem; }
    // The item last asked to open.
    int GetPendingItem() const { return m_nPendingItem; }
    // An item's popup (or the icon's system menu) is open.
    BOOL IsPopupOpen() const;
    BOOL IsInSurfingMode() const { return m_bSurfing; }
    // Keyboard surfing on nItem (the button count means none). Refused (FALSE,
    // traced) when turned on while a popup is open.
    BOOL SetSurfingMode(BOOL bOn, int nItem);
    // Opens the popup of nItem (n: the MDI child's system menu); a top-level
    // command item sends its command while surfing.
    void TrackItemPopup(int nItem);
    // A virtual-key code, 0 for Alt pressed and released alone; TRUE when used.
    BOOL HandleMenuKey(UINT nKey);
    // The item after or before nItem (-1: from the start), cycling through the
    // icon index n while the icon is shown; with bCheckVisible an item that
    // begins right of the client area answers n (icon) or 0.
    int GetNextItem(int nItem, BOOL bCheckVisible) const;
    int GetPrevItem(int nItem, BOOL bCheckVisible) const;

    // ---- saved menu state (OXMenuBarPopup.cpp)
    // The shown menu's state is to be saved when it is replaced.
    void MarkMenuChanged();
    // Section "Menu_" + lpszName ("Menu_Default" without a name). Save: FALSE
    // when the state cannot be written. Load: TRUE; data that is missing or
    // not well formed leaves the menu unchanged (traced when present but bad).
    BOOL SaveMenuState(HMENU hMenu, LPCTSTR lpszName);
    BOOL LoadMenuState(HMENU hMenu, LPCTSTR lpszName);

    // ---- the menu dock bar's layout
    // Set by the menu dock bar while it lays out a row this bar spans.
    void SetLayoutInProgress(BOOL bInProgress) { m_bLayoutInProgress = bInProgress; }
    BOOL IsLayoutInProgress() const { return m_bLayoutInProgress; }
    // The bar spans the whole frame extent when docked.
    BOOL IsFullWidth() const { return m_bFullWidth; }

    // ---- overrides of the cool toolbar
    BOOL IsCustomizable(BOOL bAdvanced) const override { return bAdvanced; }
    // Saves the state of every menu marked changed; TRUE when all were written.
    BOOL SaveBarState() override;
    // The state of a menu is loaded when it is first shown: nothing to do.
    BOOL LoadBarState() override { return TRUE; }
    CSize CalcLayout(DWORD dwMode, int nLength = -1) override;
    CSize CalcSize(TBBUTTON* pData, int nCount) override;
    void CalcReservedBorders(CRect& rect, BOOL bHorz) override;
    void DrawReservedArea(CDC* pDC, CRect& rect) override;
    void OnFloatingDocking(BOOL bFloating) override;
    void OnChangeDockSide(DWORD dwDockSide) override;

    // ---- new operations
    // Client rectangle of item nIndex's button; for the icon index the icon's.
    virtual BOOL GetMenuItemRect(int nIndex, LPRECT lpRect) const;
    // Hands the window device context and the bar to the toolbar skin.
    virtual void DrawMenuButtons(CDC* pDC);

    // OLE drags: handled, nothing accepted (effect 0).
    LRESULT OnDragOver(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnDrop(WPARAM wParam, LPARAM lParam) override;

protected:
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnDestroy();
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg void OnUpdateMenuItem(CCmdUI* pCmdUI);
    afx_msg void OnDropDown(NMHDR* pNotify, LRESULT* pResult);
    afx_msg LRESULT OnOpenItem(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnReopenPending(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    // Top-level items of the shown menu, 0 without one.
    int GetItemCount() const;
    // The icon index n exists (an icon is shown).
    BOOL HasIconItem() const { return GetIcon() != nullptr; }
    // The frame as a frame window, else null; and as an MDI frame.
    CFrameWnd* GetFrameWnd() const;
    CMDIFrameWnd* GetMDIFrame() const;
    // The MDI frame's active child when it is maximised, else null.
    CMDIChildWnd* GetMaximizedChild() const;
    // A horizontal bar: top or bottom alignment.
    BOOL IsHorzBar() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }
    // Sets the widths of the buttons from their texts.
    void UpdateButtonWidths();
    // The MDI button rectangles for the bar's window; the space they take.
    int LayoutMDIButtons();
    // Redraws the MDI buttons through the skin on the window device context.
    void RedrawMDIButtons();
    // Shows or hides the bar (through the frame when it is a frame window).
    void ShowBar(BOOL bShow);

    // Sends to the frame while its window exists; 0 otherwise.
    LRESULT SendToFrame(UINT nMsg, WPARAM wParam = 0, LPARAM lParam = 0);

    // Popups and surfing.
    void EndPopup();
    // The command id of top-level item nItem: -1 for a submenu, 0 for none.
    UINT GetItemCommand(int nItem) const;
    BOOL IsCommandItem(int nItem) const;
    // WM_MENUSELECT for nItem (the icon index: the system-menu form).
    void SendMenuSelect(int nItem);
    // A popup is open on a horizontal bar: Left or Right opens the neighbour's
    // popup instead; TRUE when the key is used.
    BOOL ChainPopup(BOOL bNext);
    // The bar's hot item, -1 none.
    int GetHotItem() const;
    void SetHotItem(int nItem);
    void PressItemButton(int nItem, BOOL bPress);
    // Loads the saved state of the shown menu the first time it is shown for
    // a document template; saves a replaced menu marked changed.
    void LoadStateOnShow();
    void SaveStateIfChanged(HMENU hMenu);
    CString GetSaveName(HMENU hMenu) const;

    static void OnHookMouseMoved(HWND hWndLast, HWND hWndNow);
    static LRESULT CALLBACK MouseHookProc(int nCode, WPARAM wParam, LPARAM lParam);

    HMENU m_hWindowMenu;   // not owned: a popup of a shown menu, or null
    HMENU m_hMenu;         // not owned: the frame's or the template's menu
    int m_nOpenItem;       // -1 none
    int m_nNextItem;       // -1 none
    int m_nJustClosedItem; // -1 none
    int m_nPendingItem;
    BOOL m_bStretch;                     // take the frame extent even floating (never set here)
    BOOL m_bBackToSurfing;               // Esc closed the popup: surf on after EndPopup
    BOOL m_bFullWidth;                   // take the frame extent when docked
    CWnd* m_pFrame;                      // not owned: the parent given to Create
    std::map<TCHAR, int> m_mapMnemonics; // upper-case key to item
    CRect m_rectClose;                   // window coordinates; empty when not shown
    CRect m_rectRestore;
    CRect m_rectMinimize;
    int m_nPressedMDIButton; // OX_MENUBAR_*
    BOOL m_bSurfing;
    CFont m_fontMenu; // the system menu font
    BOOL m_bMetricsInitialised;
    // A menu whose saved state was loaded: the document template it was shown
    // for (null without a document) and the name its section was read under.
    struct SLoadedMenu {
        CDocTemplate* pTemplate; // not owned
        CString strName;
    };
    std::map<HMENU, SLoadedMenu> m_mapLoadedMenus;
    std::set<HMENU> m_setChangedMenus;   // states to save
    std::vector<HMENU> m_arrBuiltPopups; // made by loads; see the destructor
    COXMenuSkin* m_pMenuSkin;            // owned: the Classic fallback, made on first use
    BOOL m_bLayoutInProgress;
    BOOL m_bHookUser; // this bar counts as a user of the shared mouse hook

    static HWND s_hWndFocusBeforeSurfing;
    // One mouse hook for all menu bars, counted per bar so that it stays until
    // the last bar is destroyed.
    static COXMouseHook s_mouseHook;
};
