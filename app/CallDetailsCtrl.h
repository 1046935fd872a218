// CallDetailsCtrl.h: CCallDetailsCtrl, the call list of a call-list view: a
// virtual report list whose cells the view supplies, with sort arrows on the
// header, one editable cell kind, recordings and folders dropped from the
// shell and the selected recordings dragged out. It decides nothing itself:
// it tells its parent view by the private view messages below.
#pragma once

#include "ToolTipListCtrl.h"

#include "framework/OleDragDrop.h"

#include <list>
#include <set>
#include <utility>

// Private view messages, all sent to the list's parent view.
#define WM_LIST_SORT 0xA711           // wParam column, lParam sort flag
#define WM_LIST_ADD_RECORDING 0xA712  // lParam a heap CScoredFileListEntry (receiver's)
#define WM_LIST_RESORT 0xA713         // end of a drop
#define WM_LIST_BEGIN_DRAG 0xA714     // the user drags rows out
#define WM_LIST_SEARCH_FOLDERS 0xA715 // lParam a heap CKWArray<CKWString> (receiver's)
#define WM_LIST_WATCHER_CHANGE 0xA716 // from the folder watcher's thread
#define WM_LIST_CELL_EDITED 0x83FD    // lParam the NMLVDISPINFO of an accepted edit

struct CELL_IDENTIFIER {
    int row;
    int column;
};

class CCallDetailsCtrl;
typedef void (*FileDropCallback)(CCallDetailsCtrl* pCtrl, const char* path, int kind);

struct FileDropFilter {
    enum {
        kFiles = 1,
        kFolders = 2,
        kMatchExtension = 0x10,
        kCallback = 0x20,
        kFoundFolder = 64,
        kFoundFile = 128
    };
    UINT flags = kFiles | kFolders;
    CString extension; // with the dot: ".zel"
    FileDropCallback callback = nullptr;
};

class CCallDetailsCtrl : public CCoolToolTipListCtrl {
public:
    CCallDetailsCtrl();
    ~CCallDetailsCtrl() override;

    int SetDropFilter(const FileDropFilter& filter);
    void SetCellReadOnly(int row, int column, int flag);
    int IsCellReadOnly(int row, int column) const;
    void SetEditMaxLength(int length) { m_editMaxLength = length; }
    void SetSortArrow(int column, int flag);
    // The target of a shell link, empty when it cannot be read.
    static CString ResolveShortcut(const CString& path);
    // Handles a list of dropped paths as a drop from the shell does.
    void DropPaths(const std::list<CString>& paths);

    // The header's sort marks as shown: the column and flag of the arrow, -1
    // and 0 before the first one.
    int GetSortArrowColumn() const { return m_arrowColumn; }
    int GetSortArrowFlag() const { return m_arrowFlag; }

protected:
    void PreSubclassWindow() override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg LRESULT OnScroll(WPARAM wParam, LPARAM lParam);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnDropFiles(HDROP hDropInfo);
    afx_msg void OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnEditorReport(UINT nID, NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    // Takes a CF_HDROP drag from another program: Wine hands a drag to the
    // registered target only, never as a dropped-files message of its own.
    class CDropTarget : public COleDropTarget {
    public:
        DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                               CPoint point) override;
        DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState,
                              CPoint point) override;
    };

    // Drop files and register the drop target; once per window.
    void AcceptDrops();
    // The row and column under a point of the client area; false off the cells.
    bool CellFromPoint(CPoint point, int& row, int& column);
    // Opens the cell editor over the cell, scrolling the column into view.
    void EditCell(int row, int column);
    // What the filter makes of a path: FileDropFilter::kFoundFolder or
    // kFoundFile when it accepts it, 0 otherwise.
    int CheckDropItem(const CString& path) const;

    std::set<std::pair<int, int>> m_readOnlyCells; // (row, column)
    CString m_editChars;
    DWORD m_editStyle;
    int m_editMaxLength = 0;
    int m_editMode;
    int m_sortColumn;
    int m_sortFlag;
    FileDropFilter m_dropFilter;
    // The open edit: its cell and its text when it began, so that only an
    // accepted change of that text is reported.
    int m_editRow;
    int m_editColumn;
    CString m_editInitialText;
    CDropTarget m_dropTarget;
    bool m_acceptsDrops;
    HBITMAP m_sortBitmap; // the arrow bitmap shown by older common controls; owned
    int m_arrowColumn;
    int m_arrowFlag;
};
