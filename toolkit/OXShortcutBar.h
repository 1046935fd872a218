// OXShortcutBar.h: COXShortcutBar, a vertical stack of group headers of which
// exactly one is expanded; the expanded group's content window (a
// COXSHBListCtrl the bar owns, or a child window of the application) fills the
// space the headers leave free.
//
// The implementation is split by concern:
// - OXShortcutBar.cpp: creation, the group table, the checks, notifications,
//   the message map and destruction;
// - OXShortcutBarLayout.cpp: layout, painting, expansion and its animation,
//   and the colour functions;
// - OXShortcutBarMouse.cpp: hot and pressed headers, timers, header drags,
//   hovering, tooltips, OLE drags over the bar and command routing;
// - OXShortcutBarMenu.cpp: the context menu, its commands and header editing.
#pragma once

#include "OXSHBDropTarget.h"
#include "OXSHBEdit.h"
#include "OXShortcutBarDefs.h"
#include "framework/Gdi.h"
#include "framework/Wnd.h"

#include <map>
#include <set>

class CImageList;
class COXSHBListCtrl;
class COXShortcutBarSkin;

typedef int(CALLBACK* PFNSHBCOMPARE)(HSHBGROUP hGroup1, HSHBGROUP hGroup2, LPARAM lParamSort);

// HitTest codes of the bar.
#define SHB_ONHEADER 1
#define SHB_ONCHILD 2
#define SHB_NOWHERE 3

// Timers of the bar.
#define SHB_IDTPRESSDELAY 2
#define SHB_IDTAUTOEXPAND 3
#define SHB_IDTHOTCHECK 4

class COXShortcutBar : public CWnd {
    DECLARE_DYNCREATE(COXShortcutBar)
public:
    // Makes the default font; throws the framework's memory exception when it
    // cannot.
    COXShortcutBar();
    // Deletes every group (telling the owner) while the window exists, then
    // frees what the bar owns.
    ~COXShortcutBar() override;

    // --- Creation and set-up
    BOOL Create(CWnd* pParentWnd, const RECT& rect, DWORD dwBarStyle = 0, UINT nID = 0xFFFF,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE, DWORD dwExStyle = 0);
    BOOL InitShortcutBar();
    DWORD GetBarStyle() const { return m_dwBarStyle; }
    BOOL SetBarStyle(DWORD dwBarStyle);
    CImageList* GetGroupImageList() const { return m_pImageList; }
    CImageList* SetGroupImageList(CImageList* pImageList);

    // --- Groups
    HSHBGROUP InsertGroup(const SHB_GROUPINFO* pInfo);
    BOOL DeleteGroup(HSHBGROUP hGroup);
    BOOL DeleteAllGroups();
    BOOL SetGroupInfo(HSHBGROUP hGroup, const SHB_GROUPINFO* pInfo, BOOL bReplace = FALSE);
    BOOL SetGroupText(HSHBGROUP hGroup, LPCTSTR pszText);
    BOOL SetGroupImage(HSHBGROUP hGroup, int nImage);
    BOOL SetGroupImageExpanded(HSHBGROUP hGroup, int nImage);
    BOOL SetGroupOrder(HSHBGROUP hGroup, int nOrder);
    // A null group applies the value to every group in turn.
    BOOL SetGroupView(HSHBGROUP hGroup, int nView);
    BOOL SetGroupDescriptor(HSHBGROUP hGroup, const SHB_DESCRIPTOR* pDescriptor);
    BOOL SetGroupBkColor(HSHBGROUP hGroup, COLORREF clr);
    BOOL SetGroupTextColor(HSHBGROUP hGroup, COLORREF clr);

    CString GetGroupText(HSHBGROUP hGroup) const;
    int GetGroupImage(HSHBGROUP hGroup) const;
    int GetGroupImageExpanded(HSHBGROUP hGroup) const;
    int GetGroupOrder(HSHBGROUP hGroup) const;
    int GetGroupView(HSHBGROUP hGroup) const;
    LPARAM GetGroupData(HSHBGROUP hGroup) const;
    HWND GetGroupChildWnd(HSHBGROUP hGroup) const;
    COXSHBListCtrl* GetGroupListCtrl(HSHBGROUP hGroup) const;
    HWND GetGroupChildWndHandle(HSHBGROUP hGroup) const;
    COLORREF GetGroupBkColor(HSHBGROUP hGroup) const;
    COLORREF GetGroupTextColor(HSHBGROUP hGroup) const;
    COLORREF GetGroupHeaderBkColor(HSHBGROUP hGroup) const;
    COLORREF GetGroupHeaderTextColor(HSHBGROUP hGroup) const;
    UINT GetGroupHeaderTextFormat(HSHBGROUP hGroup) const;
    int GetGroupHeaderHeight(HSHBGROUP hGroup) const;
    BOOL HasGroupBkColor(HSHBGROUP hGroup) const;
    // The font of the group's list items, or of its header, copied into
    // *pLogFont; FALSE for an unknown group (and, for the item font, when
    // neither the content window nor the bar has a font).
    BOOL GetGroupTextFont(HSHBGROUP hGroup, LOGFONT* pLogFont) const;
    BOOL GetGroupHeaderTextFont(HSHBGROUP hGroup, LOGFONT* pLogFont) const;

    int GetGroupCount() const { return (int)m_groups.size(); }
    HSHBGROUP FindGroup(const SHB_GROUPINFO* pPattern) const;
    HSHBGROUP FindGroupByOrder(int nOrder) const;
    BOOL GetGroupHeaderRect(HSHBGROUP hGroup, LPRECT pRect) const;
    // The group under a client point; *pnFlags gets SHB_ONHEADER, SHB_ONCHILD
    // (the expanded group) or SHB_NOWHERE (null).
    HSHBGROUP HitTest(CPoint point, UINT* pnFlags = nullptr) const;
    BOOL SortGroups(PFNSHBCOMPARE pfnCompare, LPARAM lParamSort, int nDirection);
    BOOL SortGroupsByText(int nDirection);

    BOOL DeleteLCItem(HSHBGROUP hGroup, int nItem);
    COXSHBEdit* EditLCItem(HSHBGROUP hGroup, int nItem);

    // --- Layout and expansion
    HSHBGROUP ExpandGroup(HSHBGROUP hGroup);
    HSHBGROUP GetExpandedGroup() const { return m_hExpandedGroup; }
    void ShowChildWnd(HSHBGROUP hGroup, BOOL bRedraw = TRUE);
    void HideChildWnd(HSHBGROUP hGroup);
    void UpdateBar();
    BOOL UpdateHeader(HSHBGROUP hGroup);
    CRect GetChildWndRect() const { return m_rectChild; }
    CRect GetMargins() const { return m_rectMargins; }

    // --- Editing
    COXSHBEdit* EditGroupHeader(HSHBGROUP hGroup);
    COXSHBEdit* GetEditControl() { return &m_edit; }

    // --- State the skins and lists read
    HSHBGROUP GetEditGroup() const { return m_hEditGroup; }
    HSHBGROUP GetContextMenuGroup() const { return m_hContextMenuGroup; }
    HSHBGROUP GetDragGroup() const { return m_hDragGroup; }
    HSHBGROUP GetDropTargetGroup() const { return m_hDropTargetGroup; }
    HSHBGROUP GetPressedGroup() const { return m_hPressedGroup; }
    HSHBGROUP GetHotGroup() const { return m_hHotGroup; }
    BOOL IsDrawingDragImage() const { return m_bDrawingDragImage; }
    int GetSortDirection() const { return m_nSortDirection; }
    CSize GetScrollButtonSize() const { return m_sizeScrollButton; }
    UINT GetScrollingDelay() const { return m_nScrollingDelay; }
    UINT GetAutoScrollingDelay() const { return m_nAutoScrollingDelay; }
    UINT GetAutoExpandDelay() const { return m_nAutoExpandDelay; }

    void SetHotGroup(HSHBGROUP hGroup);
    HSHBGROUP SetDragGroup(HSHBGROUP hGroup);
    HSHBGROUP SetDropTargetGroup(HSHBGROUP hGroup);

    // The skin of the current skinned application, else the bar's own Classic.
    COXShortcutBarSkin* GetShortcutBarSkin();

    // Sends WM_NOTIFY to the owner after filling the record's header with the
    // bar's window and identifier; 0 without an owner.
    LRESULT SendSHBNotification(LPNMSHORTCUTBAR pNMSHB) const;
    // Zeroes a record, fills code, group, item and data, and sends it.
    LRESULT SendSHBNotification(UINT nCode, HSHBGROUP hGroup, int nItem, LPARAM lParam) const;

    // --- Checks; each traces its reason on FALSE
    BOOL VerifyMask(UINT nMask) const;
    BOOL VerifyChildWnd(HWND hWnd) const;
    BOOL VerifyOrder(int nOrder) const;
    BOOL VerifyView(int nView) const;
    BOOL VerifyBarStyle(DWORD dwBarStyle) const;
    BOOL VerifyImage(int nImage) const;
    BOOL VerifyGroupInfo(const SHB_GROUPINFO* pInfo) const;

    // --- Virtual operations
    virtual CImageList* CreateGroupDragImage(HSHBGROUP hGroup);
    virtual LRESULT DrawHeader(LPDRAWITEMSTRUCT pDrawItemStruct);
    virtual void FillBackground(CDC* pDC);
    virtual BOOL CreateEditControl();
    virtual BOOL CreateListControl(HSHBGROUP hGroup);
    virtual COXSHBListCtrl* NewListControl();
    virtual void CalculateBoundRects();
    virtual HSHBGROUP GetUniqueGroupHandle();
    virtual BOOL CompareGroups(const SHB_GROUPINFO* pPattern, const SHB_GROUPINFO* pInfo) const;
    virtual COleDropTarget* GetDropTarget();
    virtual LRESULT OnDragOver(SHBDROPTARGETACTION* pAction);
    virtual LRESULT OnDragLeave(SHBDROPTARGETACTION* pAction);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

protected:
    void PreSubclassWindow() override;

    // --- Copying records (nFlags: SHB_CPYINFO_*)
    BOOL CopyGroupInfo(SHB_GROUPINFO* pDest, const SHB_GROUPINFO* pSource, UINT nFlags);
    SHB_DESCRIPTOR* AddDescriptor();
    BOOL CopyDescriptor(SHB_DESCRIPTOR* pDest, const SHB_DESCRIPTOR* pSource, UINT nFlags) const;
    void ShiftGroupOrders(int nFrom, int nTo, int nDelta);
    static int CALLBACK CompareGroupText(HSHBGROUP hGroup1, HSHBGROUP hGroup2, LPARAM lParamSort);
    const SHB_GROUPINFO* GetGroupInfo(HSHBGROUP hGroup) const;

    // --- Message handlers (OXShortcutBar.cpp: OnDestroy; OXShortcutBarLayout.cpp:
    // OnSize, OnPaint, OnEraseBkgnd, OnNcHitTest; OXShortcutBarMouse.cpp: the
    // mouse, timers, tooltips and drop-target messages; OXShortcutBarMenu.cpp:
    // the context menu, the commands and the edit's end)
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg LRESULT OnDropTargetDragOver(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnDropTargetDragLeave(WPARAM wParam, LPARAM lParam);
    afx_msg void OnLargeIcon();
    afx_msg void OnSmallIcon();
    afx_msg void OnAddGroup();
    afx_msg void OnRemoveGroup();
    afx_msg void OnRenameGroup();
    afx_msg void OnRemoveItem();
    afx_msg void OnRenameItem();
    afx_msg void OnUpdateLargeIcon(CCmdUI* pCmdUI);
    afx_msg void OnUpdateSmallIcon(CCmdUI* pCmdUI);
    afx_msg void OnFinishEdit(NMHDR* pNotifyStruct, LRESULT* pResult);
    afx_msg BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);

    DECLARE_MESSAGE_MAP()

    // --- Helpers of the split files
    // Ends a stale pressed state when the left button is up (every timer and
    // mouse move runs it first).
    void CheckPressedState();
    // Paints one header into a memory bitmap and copies it to pDC at rcDest
    // (painting and the drag image); FALSE when a DC or bitmap cannot be made.
    BOOL PaintHeader(CDC* pDC, HSHBGROUP hGroup, const CRect& rcDest);
    void KillBarTimer(UINT_PTR nIDEvent);
    void StopAutoExpand();
    // Hovering over group hGroup with the point on its header or not: (a) and
    // (b) of auto-expansion, with timer 3 at nDelay.
    void TrackAutoExpand(HSHBGROUP hGroup, BOOL bOnHeader, UINT nDelay);
    void EndHeaderDrag(CPoint point);
    // Ends without a drop a header drag whose mouse capture was taken away.
    void CancelLostHeaderDrag(CPoint point);
    void RedrawRect(const CRect& rect);
    // The sliding steps of ExpandGroup from the previous group's order to the
    // new one's, before the final layout.
    void AnimateExpand(HSHBGROUP hPrevious, int nPreviousOrder, int nNewOrder);

    // --- State
    CImageList* m_pImageList; // not owned
    HSHBGROUP m_hExpandedGroup;
    HSHBGROUP m_hEditGroup;
    HSHBGROUP m_hContextMenuGroup;
    HSHBGROUP m_hDragGroup;
    HSHBGROUP m_hDropTargetGroup;
    HSHBGROUP m_hPressedGroup;
    HSHBGROUP m_hHotGroup;
    int m_nSortDirection;
    DWORD m_dwBarStyle;
    COXSHBEdit m_edit;

    std::map<HSHBGROUP, SHB_GROUPINFO*> m_groups; // owns the records
    std::set<SHB_DESCRIPTOR*> m_descriptors;      // owns them
    std::map<HSHBGROUP, COXSHBListCtrl*> m_lists; // owns the lists
    std::map<HSHBGROUP, CRect> m_headerRects;     // client coordinates

    CRect m_rectChild;
    CRect m_rectMargins;
    CSize m_sizeScrollButton;
    UINT m_nScrollingDelay;
    UINT m_nAutoScrollingDelay;
    UINT m_nAutoExpandDelay;
    COXSHBDropTarget m_dropTarget;
    BOOL m_bDrawingDragImage;
    UINT_PTR m_nHandleCounter;
    CFont m_font;
    CImageList* m_pDragImage; // owned
    CPoint m_ptDragOffset;    // press point relative to the header's top-left
    UINT_PTR m_nPressTimer;
    UINT_PTR m_nAutoExpandTimer;
    UINT_PTR m_nHotCheckTimer;
    HSHBGROUP m_hPendingPressGroup;
    HSHBGROUP m_hPendingExpandGroup;
    COXShortcutBarSkin* m_pOwnSkin; // owned; made on first need
};

// CopyGroupInfo and CopyDescriptor flags.
#define SHB_CPYINFO_CLEAR 0x01
#define SHB_CPYINFO_NEW 0x02
#define SHB_CPYINFO_COPYSOURCEMASK 0x04
