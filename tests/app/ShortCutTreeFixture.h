// ShortCutTreeFixture.h: a small shortcut store for the tests of the shortcut
// tree and the new-shortcut dialog, the test program's main window that keeps
// the recording lists the tree posts to it, and outlines of the tree and the
// store to compare.
//
// The store, in store order (groups marked *):
//   0 *Shortcuts to Sources..        top level, the root item
//   1   *Sales
//   2     North   C:\Rec\Sales\North
//   3     South   C:\Rec\Sales\South
//   4     *Archive
//   5       2008  C:\Rec\Archive\2008
//   6   *Support
//   7     Calls   C:\Rec\call.zel      (a file, no folder)
//   8   *Empty
#pragma once

#include "TreeOutline.h"
#include "AppMessages.h"
#include "ShortCutTree.h"
#include "ShortCuts.h"

#include "KWArray.h"
#include "KWString.h"

#include "framework/Wnd.h"

#include <string>
#include <vector>

inline void AddRecord(int nID, int nParentID, const char* pszName, const char* pszTarget) {
    CTreeStore::ENTRY entry{};
    entry.ID = nID;
    entry.ParentID = nParentID;
    entry.Name = pszName;
    entry.Target = pszTarget;
    entry.IsGroup = pszTarget[0] == '\0';
    CShortCuts::GetInstance()->AddEntry(entry);
}

inline void FillSampleStore() {
    AddRecord(0, -1, "Shortcuts to Sources..", "");
    AddRecord(1, 0, "Sales", "");
    AddRecord(2, 1, "North", "C:\\Rec\\Sales\\North");
    AddRecord(3, 1, "South", "C:\\Rec\\Sales\\South");
    AddRecord(4, 1, "Archive", "");
    AddRecord(5, 4, "2008", "C:\\Rec\\Archive\\2008");
    AddRecord(6, 0, "Support", "");
    AddRecord(7, 6, "Calls", "C:\\Rec\\call.zel");
    AddRecord(8, 0, "Empty", "");
}

// The records below nParentID, in store order (TreeOutline.h).
inline std::string StoreOutline(int nParentID = -1) {
    return StoreOutlineOf(*CShortCuts::GetInstance(), nParentID);
}

// The item with this label, in tree order; null when there is none.
inline HTREEITEM FindItem(const CStoreTreeCtrl& tree, const char* pszText) {
    for (HTREEITEM h = tree.GetRootItem(); h != nullptr; h = tree.GetNextTreeItem(h)) {
        if (tree.GetItemText(h) == pszText)
            return h;
    }
    return nullptr;
}

// The test program's main window: keeps the folders of every recording list
// posted to it, and frees the lists as the main frame does.
class CListHostWnd : public CWnd {
public:
    BOOL Make(const CRect& rect) {
        return CreateEx(0,
                        AfxRegisterWndClass(CS_DBLCLKS, nullptr, ::GetSysColorBrush(COLOR_WINDOW)),
                        "shortcut tree test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, rect.left,
                        rect.top, rect.Width(), rect.Height(), nullptr, nullptr);
    }

    std::vector<std::vector<std::string>> m_lists;

protected:
    LRESULT OnCreateRecordingList(WPARAM wParam, LPARAM) {
        CKWArray<CKWString>* pFolders = reinterpret_cast<CKWArray<CKWString>*>(wParam);
        std::vector<std::string> folders;
        for (int i = 0; i < pFolders->GetSize(); ++i)
            folders.push_back(static_cast<const char*>(pFolders->GetAt(i)));
        m_lists.push_back(folders);
        delete pFolders;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CListHostWnd, CWnd)
ON_MESSAGE(WM_CREATE_RECORDING_LIST, &CListHostWnd::OnCreateRecordingList)
END_MESSAGE_MAP()
