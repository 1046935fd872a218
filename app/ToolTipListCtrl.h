// ToolTipListCtrl.h: CToolTipListCtrl, a list control that shows a tooltip
// text of its own for each cell, and CCoolToolTipListCtrl, the base of the
// call-details list, which answers the tooltip's requests from buffers of
// its own.
//
// Texts are keyed by the decimal text of row * 100 + column, so columns 0 to
// 99 have keys of their own (a column of 100 or more would share its key
// with a cell of the next row). The owner fills the texts as it fills the
// cells and deletes rows through DeleteItem and DeleteAllItems, so that the
// texts follow the rows: a deleted row takes its texts with it and the rows
// below it move up with theirs.
//
// Tooltips: the framework's tooltip support (EnableToolTips, turned on when
// the window is bound) asks OnToolHitTest for the tool under the mouse. A
// cell is a tool only where a sub-item hit test reports the label, so
// nothing shows over empty space; its id is its key, so the tip changes from
// cell to cell. The text is asked for on demand and wraps at 320 pixels.
#pragma once

#include "framework/ListCtrl.h"
#include "framework/PtrCollections.h"

#include <vector>

class CToolTipListCtrl : public CListCtrl {
public:
    CToolTipListCtrl();
    ~CToolTipListCtrl() override;

    // Deletes all rows and, when that worked, all texts; the list's result.
    virtual BOOL DeleteAllItems();
    // Deletes the row and, when that worked, its texts; the texts of later
    // rows move up one row with them. The list's result.
    virtual BOOL DeleteItem(int nItem);
    virtual void DeleteAllToolTips();
    // Stores the text of the cell, replacing an earlier one; TRUE.
    virtual BOOL SetItemToolTipText(int nItem, int nSubItem, LPCTSTR lpszToolTipText);
    // The stored text of the cell, or an empty text.
    virtual CString GetItemToolTipText(int nItem, int nSubItem);

    INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const override;

    // The id of a cell as a tool, and the key of its text.
    static int CellKey(int nItem, int nSubItem) { return nItem * 100 + nSubItem; }

protected:
    void PreSubclassWindow() override;

    // The tooltip's text requests (narrow and wide); always reported as not
    // handled, so that others may look at them too.
    virtual BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
    // The work of OnToolTipText, with the buffers that hold the text handed
    // to the tooltip until its next request.
    BOOL AnswerToolTipText(NMHDR* pNMHDR, LRESULT* pResult, CString& strNarrow,
                           std::vector<WCHAR>& wide);

    BOOL OnToolTipTextEntry(UINT nID, NMHDR* pNMHDR, LRESULT* pResult) {
        return OnToolTipText(nID, pNMHDR, pResult);
    }
    DECLARE_MESSAGE_MAP()

    CMapStringToString m_mapToolTips; // key: CellKey in decimal; value: the cell's text
    DWORD m_dwHitMask;                // LVHT_* flags of a sub-item hit test that show a tip

private:
    // Shared by every control of this class; freed at exit.
    static CString s_strNarrowText;
    static std::vector<WCHAR> s_wideText;
};

class CCoolToolTipListCtrl : public CToolTipListCtrl {
protected:
    BOOL OnToolTipText(UINT nID, NMHDR* pNMHDR, LRESULT* pResult) override;

private:
    // Shared by every control of this class; freed at exit.
    static CString s_strNarrowText;
    static std::vector<WCHAR> s_wideText;
};
