// OXBitmapMenu.h: COXBitmapMenu, a popup menu whose items are owner-drawn
// through the menu skin of the current skin, with the records it draws from and
// the small windows and objects around it.
//
// Classes:
//   COXImageInfo        the image of one command (owned by the organizer);
//   COXItemInfo         one owner-drawn item: its image record and text (owned
//                       by its bitmap menu, stored as the item's data);
//   OXPOPUPWND          the shadow record of one popup window while a bitmap
//                       menu is tracked, and COXPopupWndStack, their list;
//   COXBitmapMenu       the menu: extents, measuring, drawing, the drop from a
//                       bar button and its placement, the popup-menu class;
//   COXShadowedItemWnd  the window that stands over a bar button while the
//                       popup it dropped is open;
//   CBitmapMenuCmdUI    the command-UI object that sets an owner-drawn item's
//                       text.
//
// Ownership: a COXBitmapMenu owns its item records, its shadow records and the
// popup menu whose handle it took over (the organizer lets go of the handle
// before deleting a restored menu). Image records and image lists belong to the
// organizer and outlive every item that points at them.
//
// The menu skin: each drawing step goes to GetMenuSkin(), the current skin's
// menu skin or, without a skinned application, one Classic menu skin that lives
// as long as the process (a skin deleted with some menu could still be drawing
// another menu's popup).
//
// Status:
// - Implemented: extents, measuring and drawing of items (rarely used items of a
//   shortened menu included), the drop from a bar button with its item window,
//   the placement of a dropped popup, the application-local popup-menu class, the
//   command-UI update and CreateCheckerBrush.
// - Not implemented: customisation (drag and drop of items, the customisation
//   context menu and the insert mark). The mode is stored as the organizer hands
//   it; the drop target is never registered.
// - Differences: before a drop, only paint messages waiting in the queue are
//   dispatched (not every message), and a WM_QUIT found there is posted again.
//   An owner-drawn item that also shows a radio check keeps its owner drawing
//   when a handler sets its text. A popup dropped from the menu bar's MDI child
//   icon (no button) gets no item window and no bar button rectangle, so its
//   border has no opening. The item window paints what lay under it from a
//   capture taken just before it was made (Wine shows no window transparently).
#pragma once

#include "framework/CmdUI.h"
#include "framework/Collections.h"
#include "framework/Gdi.h"
#include "framework/Geometry.h"
#include "framework/ImageList.h"
#include "framework/Menu.h"
#include "framework/PtrCollections.h"
#include "framework/Wnd.h"

#include "OXSHBDropTarget.h"

#include <windows.h>

class CBrush;
class CFrameWnd;
class COXCoolToolBar;
class COXMenuSkin;

// The command of the show-all entry of a shortened menu.
#ifndef ID_OX_SHOWALLITEMS
#define ID_OX_SHOWALLITEMS 0xFF56
#endif

// Item states of the drawing steps, beside the platform's ODS_* bits: the item
// is rarely used (shown only because its menu was expanded), and the item above
// or below it is a recently used one.
enum { OXODS_HIDDEN = 0x1000, OXODS_HIDDENFIRST = 0x2000, OXODS_HIDDENLAST = 0x4000 };

// Sides a dropped popup opens to, as CalcPopupPosition answers them.
enum { OX_POPUP_BELOW = 1, OX_POPUP_RIGHT = 2, OX_POPUP_LEFT = 4, OX_POPUP_ABOVE = 8 };

// The image of one command: an image in a list the organizer owns.
class COXImageInfo {
public:
    COXImageInfo(CImageList* pImageList, int nIndex, BOOL bDefaultImage = FALSE, int nHotIndex = -1)
        : m_pImageList(pImageList), m_nIndex(nIndex), m_bDefaultImage(bDefaultImage),
          m_nHotIndex(nHotIndex) {}

    CImageList* GetImageList() const { return m_pImageList; }
    void SetImageList(CImageList* pImageList) { m_pImageList = pImageList; }
    int GetIndex() const { return m_nIndex; }
    void SetIndex(int nIndex) { m_nIndex = nIndex; }
    // TRUE when the item has no image of its own (the default check mark list).
    BOOL IsDefaultImage() const { return m_bDefaultImage; }
    void SetDefaultImage(BOOL bDefaultImage) { m_bDefaultImage = bDefaultImage; }
    // -1 when the command has no hot image.
    int GetHotIndex() const { return m_nHotIndex; }
    void SetHotIndex(int nHotIndex) { m_nHotIndex = nHotIndex; }

    // The size of the image, (0, 0) without a list or image.
    CSize GetImageSize() const;

private:
    CImageList* m_pImageList; // not owned: the organizer's
    int m_nIndex;
    BOOL m_bDefaultImage;
    int m_nHotIndex;
};

// One owner-drawn item; its bitmap menu owns it.
class COXItemInfo {
public:
    COXItemInfo(COXImageInfo* pImageInfo, LPCTSTR lpszText)
        : m_pImageInfo(pImageInfo), m_strText(lpszText) {}

    COXImageInfo* GetImageInfo() const { return m_pImageInfo; }
    void SetImageInfo(COXImageInfo* pImageInfo) { m_pImageInfo = pImageInfo; }
    // As the item had it: the shortcut after a tab.
    CString GetText() const { return m_strText; }
    void SetText(LPCTSTR lpszText) { m_strText = lpszText; }

private:
    COXImageInfo* m_pImageInfo; // not owned: the organizer's image record
    CString m_strText;
};

// The shadow of one popup window, recorded at its first non-client paint and
// replayed by later ones, so that a repaint never darkens the screen's pixels
// twice. A record made for another window size or shadow kind is not replayed.
struct OXPOPUPWND {
    HWND hWnd;
    CArray<COLORREF, COLORREF> arrPixels; // in drawing order; empty until recorded
    CSize sizeRecorded;                   // window size when recorded
    int nShadowKind;                      // kind when recorded

    explicit OXPOPUPWND(HWND hWndPopup) : hWnd(hWndPopup), sizeRecorded(0, 0), nShadowKind(-1) {
        arrPixels.SetSize(0, 1024);
    }
};

// The records of the popup windows open while one bitmap menu is tracked,
// newest first. The bitmap menu owns the records; the menu skin adds and
// removes them.
class COXPopupWndStack : public CTypedPtrList<CPtrList, OXPOPUPWND*> {
public:
    // The record of that window, else null.
    OXPOPUPWND* Find(HWND hWnd) const;
    // Removes and deletes the record of that window; FALSE when there is none.
    BOOL RemoveWnd(HWND hWnd);
    // Deletes every record.
    void DeleteAll();
};

class COXBitmapMenu : public CMenu {
    DECLARE_DYNAMIC(COXBitmapMenu)
public:
    typedef CMap<TCHAR, TCHAR, int, int> CMapMnemonics;

    // Registers the application-local popup-menu class on first use.
    COXBitmapMenu();
    // Deletes the item and shadow records and revokes the drop target; the menu
    // itself goes with CMenu (the organizer detaches it first when it must live).
    ~COXBitmapMenu() override;
    COXBitmapMenu(const COXBitmapMenu&) = delete;
    COXBitmapMenu& operator=(const COXBitmapMenu&) = delete;

    // The current skin's menu skin, else the process-lifetime Classic one.
    static COXMenuSkin* PASCAL GetMenuSkin();

    // Lower-case mnemonic character to item position; the organizer fills it.
    CMapMnemonics& GetMnemonicTable() { return m_mapMnemonics; }
    // Takes ownership of the record.
    void AddItemInfo(COXItemInfo* pItemInfo);
    // The record that nItemData points at when this menu owns it, else null
    // (items that are not converted may carry data of their own).
    COXItemInfo* FindItemInfo(ULONG_PTR nItemData) const;
    // Recomputes the four extents from the items as they are now.
    void CalcExtents();
    int GetImageWidth() const { return m_nImageWidth; }
    int GetTextHeight() const { return m_nTextHeight; }
    int GetShortcutWidth() const { return m_nShortcutWidth; }
    int GetTextWidth() const { return m_nTextWidth; }

    // The customisation mode and the window told of its changes, as the
    // organizer hands them.
    void SetCustomizationMode(BOOL bActive, HWND hWndNotify) {
        m_bCustomizationActive = bActive;
        m_hWndCustomizeNotify = hWndNotify;
    }
    BOOL IsInCustomizationMode() const { return m_bCustomizationActive; }
    COXSHBDropTarget* GetDropTarget() { return &m_dropTarget; }

    // The screen rectangle of the bar button this popup drops from while it is
    // shown, else empty.
    CRect GetBarButtonRect() const { return m_rectBarButton; }
    COXPopupWndStack& GetPopupWndStack() { return m_popupWndStack; }

    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    // The drawing steps; each hands the work to the menu skin with this menu.
    virtual void CalcItemRects(UINT nState, COXImageInfo* pImageInfo, const CRect& rectItem,
                               CRect& rectButton, CRect& rectImage, CRect& rectText,
                               CRect& rectShortcut);
    virtual void DrawItemBackground(CDC* pDC, UINT nState, COXImageInfo* pImageInfo,
                                    const CRect& rectItem, const CRect& rectButton);
    virtual void DrawImageFrame(CDC* pDC, UINT nState, COXImageInfo* pImageInfo,
                                const CRect& rectButton);
    virtual void DrawItemImage(CDC* pDC, UINT nState, COXImageInfo* pImageInfo,
                               const CRect& rectImage);
    virtual void DrawItemText(CDC* pDC, UINT nState, const CString& strText, const CRect& rectText,
                              const CRect& rectShortcut);
    virtual void DrawItemSeparator(CDC* pDC, const CRect& rectItem);
    virtual void DrawSubmenuItem(CDC* pDC, UINT nState, const CString& strText,
                                 COXImageInfo* pImageInfo, const CRect& rectItem,
                                 const CRect& rectButton, const CRect& rectText,
                                 const CRect& rectShortcut);
    virtual void DrawShowAllItem(CDC* pDC, const CRect& rectItem, UINT nState);

    // Drops this menu under (or beside) the bar's pressed button, with the item
    // window over the button while it is open; the result of TrackPopupMenu.
    BOOL TrackFromButton(COXCoolToolBar* pBar, CWnd* pOwner, LPCRECT lpExclude = nullptr);
    // Where a popup dropped from the button at rectButton (screen) opens: the
    // point and TrackPopupMenu flags to use and the side (OX_POPUP_*), on the
    // monitor nearest to the button.
    static void PASCAL CalcPopupPosition(CMenu* pMenu, const CRect& rectButton, DWORD dwBarStyle,
                                         CPoint& pt, UINT& nFlags, int& nSide);
    // The placement itself, for a menu of sizeMenu, given the monitor and its
    // work area.
    static void PASCAL CalcPopupPlacement(const CRect& rectButton, const CSize& sizeMenu,
                                          DWORD dwBarStyle, const CRect& rectMonitor,
                                          const CRect& rectWork, CPoint& pt, UINT& nFlags,
                                          int& nSide);
    // The size a popup of pMenu is expected to take, measured item by item.
    static CSize PASCAL EstimateMenuSize(CMenu* pMenu);

    // The command-UI update of a popup, with pTarget's routing; nothing for a
    // system menu.
    static void PASCAL UpdateMenuCmdUI(CMenu* pPopupMenu, CWnd* pTarget, UINT nIndex,
                                       BOOL bSysMenu);

    // An 8x8 brush of single pixels alternating between the two colours; null
    // on failure. The caller owns it.
    static HBRUSH PASCAL CreateCheckerBrush(COLORREF crColor1, COLORREF crColor2);

    // Dispatches the paint messages waiting in the thread's queue, so that the
    // screen is up to date before a popup shows or reads it. Other messages
    // stay queued; a WM_QUIT met is posted again.
    static void PASCAL DispatchPendingPaint();

protected:
    // The procedure of the application-local "#32768" class: every message goes
    // to the current menu skin with the platform's own procedure.
    static LRESULT CALLBACK PopupMenuClassProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    static void PASCAL RegisterPopupMenuClass();
    // The item's position, found from the centre of its rectangle by adding up
    // the items' measured heights; -1 when it lies below them.
    int FindItemFromRect(const CRect& rectItem);
    // The OXODS_HIDDEN* bits of the item at rectItem while the main window's
    // organizer shows a shortened menu expanded.
    UINT GetRarelyUsedState(const CRect& rectItem);

    CMapMnemonics m_mapMnemonics;
    int m_nImageWidth;    // widest image, at least the skin's MinImageWidth
    int m_nTextHeight;    // height of "A"
    int m_nShortcutWidth; // widest text after a tab
    int m_nTextWidth;     // widest text before a tab
    CList<COXItemInfo*, COXItemInfo*> m_listItemInfos; // owned
    BOOL m_bCustomizationActive;                       // from the organizer; stays FALSE
    HWND m_hWndCustomizeNotify;                        // from the organizer
    COXSHBDropSource m_dropSource;                     // customisation only
    COXSHBDropTarget m_dropTarget;                     // customisation only; never registered
    CRect m_rectBarButton;                             // screen; empty unless dropped from a bar
    COXPopupWndStack m_popupWndStack;                  // owns the records

    static WNDPROC s_pfnPopupMenuProc; // the platform class's procedure, once registered
};

// Stands over the bar button whose popup is open, so the skin can draw the
// button joined to its popup. Lives exactly as long as one TrackFromButton.
//
// Wine shows no window transparently: where the skin draws nothing, and where
// a shadow darkens what lies under the window, the window uses the screen as
// it was captured just before the window was made (its backdrop).
class COXShadowedItemWnd : public CWnd {
public:
    COXShadowedItemWnd(COXCoolToolBar* pBar, int nIndex, int nSide)
        : m_pBar(pBar), m_nIndex(nIndex), m_nSide(nSide) {}

    COXCoolToolBar* GetBar() const { return m_pBar; }
    int GetItemIndex() const { return m_nIndex; }
    // OX_POPUP_*.
    int GetSide() const { return m_nSide; }

    // Keeps the screen under rectScreen as the backdrop; FALSE when it cannot
    // be read (the window then reads the screen as it paints).
    BOOL CaptureBackdrop(const CRect& rectScreen);
    // The backdrop, null when none was captured.
    CBitmap* GetBackdrop() {
        return m_bitmapBackdrop.GetSafeHandle() != nullptr ? &m_bitmapBackdrop : nullptr;
    }
    // Copies the backdrop to pDC at (0, 0); nothing without one.
    void DrawBackdrop(CDC* pDC);

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    COXCoolToolBar* m_pBar; // not owned: the bar outlives the drop
    int m_nIndex;           // the button's index on the bar
    int m_nSide;
    CBitmap m_bitmapBackdrop; // the window's size; selected nowhere between uses
};

// Sets the text of an owner-drawn item in its record instead of the menu.
class CBitmapMenuCmdUI : public CCmdUI {
public:
    void SetText(LPCTSTR lpszText) override;
};
