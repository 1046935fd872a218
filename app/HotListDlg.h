// HotListDlg.h: CHotListDlg, "Calls for Review", in which the user picks a hot
// list (a group of the hot-list store) for the call the player has loaded.
//
// The tree shows groups only, never call links; a group's subgroups are put
// in when it is first expanded, and every group is expanded when the dialog
// opens. The dialog changes no record: its caller adds the call link.
//
// OK closes the dialog even when no item is the caret item; GetSelectedID is
// then -1, which names no group. A caller must refuse that answer (tell the
// user, add nothing) rather than add a record with the parent -1: that would
// put a call link at the top level of the store, beside the tree's root,
// outside every hot list.
#pragma once

#include "OXShadowedWnd.h"

#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "framework/ImageList.h"
#include "framework/TreeCtrl.h"

class CHotListDlg : public COXShadowedWnd<CDialog> {
public:
    // The player passes no parent: the dialog is then owned by the main window.
    explicit CHotListDlg(CWnd* pParent = nullptr);

    // After OK: the ID of the chosen group, or -1 when no item was chosen.
    int GetSelectedID() const { return m_nSelectedID; }

    BOOL OnInitDialog() override;
    void OnOK() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    // Rebuilds the images and the items; false when the dialog has no window.
    BOOL InitTree();
    // Appends an item per group record below nParentID, in store order.
    void InsertGroupItems(HTREEITEM hParent, int nParentID);
    // Expands every item with children, in tree order, which fills them.
    void ExpandAll();

    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnDestroy();
    afx_msg void OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

    CBrush m_brushWhite; // made when the dialog opens, deleted with its window
    CImageList m_images;
    CTreeCtrl m_tree; // control IDC_HOTLIST_TREE
    int m_nSelectedID;
};
