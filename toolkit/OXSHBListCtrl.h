// OXSHBListCtrl.h: COXSHBListCtrl, the list of icon items of a shortcut-bar
// group that has no content window of its own. The list-view control keeps
// the items (text, image, data); this class lays them out one per row, paints,
// hit-tests and scrolls them itself, with two scroll buttons at its right edge
// instead of scroll bars. Inside a bar it takes its style, colours, fonts,
// view and skin from the bar and its group; on its own it derives them from
// its window styles.
//
// The implementation is split by concern:
// - OXSHBListCtrl.cpp: creation, settings, item state, the message map and
//   the list-view messages it answers itself;
// - OXSHBListCtrlLayout.cpp: item layout, geometry, hit testing, scrolling,
//   mouse tracking and painting;
// - OXSHBListCtrlDrag.cpp: item editing, the item commands, OLE drag and drop
//   of items, the insertion mark and the clipboard block.
#pragma once

#include "OXSHBDropTarget.h"
#include "OXSHBEdit.h"
#include "OXShortcutBarDefs.h"
#include "framework/ImageList.h"
#include "framework/ListCtrl.h"

#include <vector>

class COXShortcutBar;
class COXShortcutBarSkin;

// HitTest codes beside the list-view's own LVHT_* bits.
#define SHBLC_ONUPBUTTON (-3)
#define SHBLC_ONDOWNBUTTON (-4)
#define SHBLC_ONITEMBOUNDS (-2)
#define SHBLC_ONITEMOUTSIDE (-1)

// GetItemRect code of the whole item rectangle, beside LVIR_*.
#define SHBLC_ENTIREITEM (-1)

// Timers of the list.
#define SHBLC_IDTSCROLL 1
#define SHBLC_IDTCHECKMOUSE 275

class COXSHBListCtrl : public CListCtrl {
    DECLARE_DYNCREATE(COXSHBListCtrl)
public:
    COXSHBListCtrl();
    ~COXSHBListCtrl() override;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    BOOL InitListControl();

    // --- Settings: from the bar and group inside a bar, else from the window
    COXShortcutBar* GetShortcutBar() const { return m_pShortcutBar; }
    HSHBGROUP GetShbGroup() const { return m_hGroup; }
    DWORD GetBarStyle() const;
    int GetView() const;
    COLORREF GetBkColor() const;
    COLORREF GetTextColor() const;
    // The item font into *pLogFont; FALSE when there is none.
    BOOL GetItemFont(LOGFONT* pLogFont) const;
    CSize GetScrollButtonSize() const;
    UINT GetScrollingDelay() const;
    UINT GetAutoScrollingDelay() const;
    // The bar's skin; null on its own.
    COXShortcutBarSkin* GetShortcutBarSkin() const;
    // Through the bar inside one, else to the list's own owner.
    LRESULT SendSHBNotification(UINT nCode, int nItem, LPARAM lParam) const;
    // A record the caller filled (the owner may write to it, e.g. a drop source
    // or target in lParam): the group and the sender are filled in here.
    LRESULT SendSHBNotification(LPNMSHORTCUTBAR pNMSHB) const;
    // The common-controls version, major * 65536 + minor, read once per process.
    static DWORD GetComCtlVersion();

    // --- Item state; each returns the previous value
    int GetHotItem() const { return m_nHotItem; }
    int GetLastHotItem() const { return m_nLastHotItem; }
    int GetPressedItem() const { return m_nPressedItem; }
    int GetSelectedItem() const { return m_nSelectedItem; }
    int GetDragItem() const { return m_nDragItem; }
    int GetEditItem() const { return m_nEditItem; }
    int GetInsertPosition() const { return m_nInsertItem; }
    COXSHBEdit* GetEditControl() { return &m_edit; }
    CPoint GetOrigin() const { return m_ptOrigin; }
    int SetHotItem(int nItem);
    int SelectItem(int nItem);

    // --- Geometry (client coordinates unless stated)
    int HitTest(CPoint point, UINT* pnFlags, BOOL bIgnoreScrollButtons = FALSE) const;
    BOOL GetItemRect(int nItem, LPRECT pRect, UINT nCode) const;
    BOOL GetViewRect(LPRECT pRect, BOOL bVisibleOnly) const;
    BOOL GetScrollableRect(LPRECT pRect, int nTopItem = -1) const;
    int FindItem(const LVFINDINFO* pFindInfo, int nStart = -1) const;
    int GetTopIndex() const;
    int GetCountPerPage() const;
    BOOL EnsureVisible(int nItem, BOOL bPartialOK);
    BOOL Scroll(CSize size);
    BOOL UpdateItem(int nItem);
    BOOL RedrawItems(int nFirst, int nLast);
    int GetItemImage(int nItem) const;
    CRect GetUpButtonRect() const { return m_rectUp; }
    CRect GetDownButtonRect() const { return m_rectDown; }

    // --- Scrolling and mouse tracking
    void StartScrolling(BOOL bUp);
    void StopScrolling();
    BOOL CheckMousePosition();
    void UpdateHotItem();

    // --- Editing and drag and drop
    COXSHBEdit* EditLabel(int nItem);
    int SetDragItem(int nItem);
    CImageList* CreateItemDragImage(int nItem);
    CRect GetInsertMarkRect(int nPosition) const;
    // An image stream of one image of pImageList; the caller frees it with
    // delete[]. Null on failure.
    BYTE* WriteImage(CImageList* pImageList, int nImage, DWORD* pnLength);
    // Adds the stream's image to pImageList (made when it has no list yet);
    // the new index, or -1 for a stream that cannot be read.
    int ReadImage(CImageList* pImageList, const BYTE* pData, DWORD nLength);

    // --- Virtual operations
    virtual void DrawItem(LPDRAWITEMSTRUCT pDrawItemStruct);
    virtual int SetPressedItem(int nItem);
    virtual void DrawScrollButtons(CDC* pDC);
    virtual void DrawInsertMark(CDC* pDC);
    virtual BOOL CreateEditControl();
    virtual void CalculateBoundRects();
    virtual void CalculateScrollRects();
    virtual COleDropSource* GetDropSource();
    virtual COleDropTarget* GetDropTarget();
    virtual LRESULT StartDragDrop(int nItem, COleDataSource* pDataSource);
    virtual LRESULT OnDragEnter(SHBDROPTARGETACTION* pAction);
    virtual LRESULT OnDragOver(SHBDROPTARGETACTION* pAction);
    virtual LRESULT OnDragLeave(SHBDROPTARGETACTION* pAction);
    virtual LRESULT OnDrop(SHBDROPTARGETACTION* pAction);

    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

protected:
    void PreSubclassWindow() override;

    // The text rectangle of a text beside or below an image rectangle in a
    // width of nWidth; may move rectImage vertically (view 2).
    CRect CalculateTextRect(const CString& sText, CRect& rectImage, int nWidth) const;
    // The same, measured on pDC with the item font already selected.
    CRect CalculateTextRect(CDC* pDC, const CString& sText, CRect& rectImage, int nWidth) const;
    // The client rectangle less 2 pixels at top and bottom.
    CRect GetContentRect() const;
    // Fills rect of pDC with the list's background (own colour, or the skin's).
    void FillListBackground(CDC* pDC, const CRect& rect);
    // Draws item nItem as painting does, at (0, 0) of pDC in an item of sizeItem.
    void DrawItemAt(CDC* pDC, int nItem, CSize sizeItem);
    // Repaints rect at once; a null rectangle repaints the whole list.
    void RedrawRect(const CRect& rect);
    // One step of the scroll buttons: the next item up (or down) to the top.
    void ScrollStep(BOOL bUp);
    // A tick of the scrolling timer.
    void OnScrollTimer();
    // Reads the dropped item's block and inserts the item at the insert
    // position; FALSE, with nothing changed, for a block that does not hold.
    BOOL InsertDroppedItem(COleDataObject* pDataObject);

    // --- Message handlers (OXSHBListCtrl.cpp and OXSHBListCtrlLayout.cpp;
    // the last group in OXSHBListCtrlDrag.cpp)
    afx_msg LRESULT OnListViewMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetShbGroup(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnShbInfoChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnShbStyleChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCheckMouse(WPARAM wParam, LPARAM lParam);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);

    afx_msg LRESULT OnPopulateContextMenu(WPARAM wParam, LPARAM lParam);
    afx_msg void OnChangeItemText(NMHDR* pNotifyStruct, LRESULT* pResult);
    afx_msg LRESULT OnStartDragDrop(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDropTargetDragEnter(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDropTargetDragOver(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDropTargetDragLeave(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDropTargetDrop(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

    // --- State
    COXShortcutBar* m_pShortcutBar; // not owned; null on its own
    HSHBGROUP m_hGroup;
    int m_nPressedItem;
    int m_nHotItem;
    int m_nLastHotItem;
    int m_nSelectedItem;
    int m_nDragItem;
    int m_nEditItem;
    COXSHBEdit m_edit;

    // Per item, by index: the item rectangle in view coordinates, and its image
    // and text rectangles relative to the item rectangle's top-left.
    std::vector<CRect> m_itemRects;
    std::vector<CRect> m_imageRects;
    std::vector<CRect> m_textRects;

    CRect m_rectUp; // empty when the button is not shown
    CRect m_rectDown;
    CPoint m_ptOrigin; // view = client + origin

    COXSHBDropSource m_dropSource;
    COXSHBDropTarget m_dropTarget;
    CImageList m_ilNormal; // images that arrived with dropped items
    CImageList m_ilSmall;

    BOOL m_bMouseInside;
    BOOL m_bScrollingUp;
    BOOL m_bScrollingDown;
    BOOL m_bAutoScrolling;
    BOOL m_bDrawingDragImage;
    BOOL m_bDragFromThisList;
    BOOL m_bOleDragOver;

    CImageList* m_pDragImage; // owned
    CPoint m_ptDragHotSpot;
    CPoint m_ptPress;
    int m_nDragCandidate;
    int m_nInsertItem;
    // The full item data of the item dragged from this list, which the
    // clipboard block carries in 32 bits only.
    LPARAM m_lDragItemData;

    UINT_PTR m_nScrollTimer;
    UINT_PTR m_nCheckMouseTimer;

    // The window style the list was made with or attached at. The window
    // itself is kept without view bits and with LVS_NOSCROLL, since the list
    // lays out and scrolls its items itself; a list on its own takes its view
    // and its scroll buttons from these bits of the style it was given.
    DWORD m_dwOwnStyle;
    // The width the item rectangles were laid out for; -1 when they hold no
    // layout. The layout depends on the width alone, so a change of height
    // only moves the scroll buttons.
    int m_nLayoutWidth;
};
