// HotListsTreeFixture.h: what the tests of the hot-lists tree, its drops and
// the hot-list dialog share: a hot-list store of the test's own with real
// recording files behind its call links, the test program's main window
// standing in for the main frame (it keeps what the tree asks it to play and
// open), and outlines of the tree and the store to compare.
//
// The sample store, in store order (groups marked *; each link's Target is a
// file of the test's "calls" folder, named as its label):
//   0 *Links to Recordings...        top level, the root item
//   1   *Important Calls
//   2     a.zel
//   3     b.zel
//   4   *Won Sales
//   5     *Region
//   6       c.zel
//   7   *Lost Sales
//   8   *Personal
#pragma once

#include "TreeOutline.h"
#include "CallListHost.h"
#include "HotLists.h"
#include "HotListsTree.h"

#include "tests/app/DropBlock.h"
#include "tests/app/StoreTestFolders.h"
#include "tests/support/RecordingFixtures.h"
#include "tests/support/TempFolder.h"

#include "Common/DropFileList.h"

#include "framework/WinApp.h"
#include "framework/Wnd.h"

#include <shellapi.h>

#include <cstring>
#include <string>
#include <vector>

inline void AddHotListRecord(int nID, int nParentID, const char* pszName,
                             const std::string& target) {
    CTreeStore::ENTRY entry{};
    entry.ID = nID;
    entry.ParentID = nParentID;
    entry.Name = pszName;
    entry.Target = target.c_str();
    entry.IsGroup = target.empty() ? 1 : 0;
    CHotLists::GetInstance()->AddEntry(entry);
}

// A recording the playback engine can load: a version 4 header and one
// second of mu-law silence.
inline std::string RecordingBytes() {
    RecordingFields fields;
    fields.format = 7; // mu-law
    fields.duration = 1;
    return MakeHeaderV2to4(4, 1440, fields) + std::string(8000, '\xFF');
}

// The test's folders and files: configuration folders of its own, and a
// "calls" folder of recordings.
class CHotListsTestFiles {
public:
    CHotListsTestFiles() : m_config("hotlists") {
        m_calls = m_temp.File("calls\\");
        ::CreateDirectoryA(m_calls.c_str(), nullptr);
    }
    ~CHotListsTestFiles() { delete CHotLists::GetInstance(); }

    // A path in the calls folder; with bCreate the recording file is made.
    std::string Call(const char* pszName, bool bCreate = true) const {
        const std::string path = m_calls + pszName;
        if (bCreate)
            WriteWholeFile(path, RecordingBytes());
        return path;
    }
    const std::string& CallsFolder() const { return m_calls; }
    std::string File(const char* pszName) const { return m_temp.File(pszName); }

    void FillSampleStore() const {
        AddHotListRecord(0, -1, "Links to Recordings...", "");
        AddHotListRecord(1, 0, "Important Calls", "");
        AddHotListRecord(2, 1, "a.zel", Call("a.zel"));
        AddHotListRecord(3, 1, "b.zel", Call("b.zel"));
        AddHotListRecord(4, 0, "Won Sales", "");
        AddHotListRecord(5, 4, "Region", "");
        AddHotListRecord(6, 5, "c.zel", Call("c.zel"));
        AddHotListRecord(7, 0, "Lost Sales", "");
        AddHotListRecord(8, 0, "Personal", "");
    }

private:
    CStoreTestFolders m_config;
    CTempFolder m_temp;
    std::string m_calls;
};

// The records below nParentID, in store order (TreeOutline.h).
inline std::string StoreOutline(int nParentID = -1) {
    return StoreOutlineOf(*CHotLists::GetInstance(), nParentID);
}

// The item with this label, in tree order; null when there is none.
inline HTREEITEM FindItem(const CTreeCtrl& tree, const char* pszText) {
    HTREEITEM h = tree.GetRootItem();
    while (h != nullptr) {
        if (tree.GetItemText(h) == pszText)
            return h;
        HTREEITEM hNext = tree.GetChildItem(h);
        for (HTREEITEM hUp = h; hNext == nullptr && hUp != nullptr; hUp = tree.GetParentItem(hUp))
            hNext = tree.GetNextSiblingItem(hUp);
        h = hNext;
    }
    return nullptr;
}

// The paths of a file-drop list.
inline std::vector<std::string> DropPaths(HDROP hDrop) {
    std::vector<std::string> paths;
    const UINT nFiles = ::DragQueryFileA(hDrop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < nFiles; ++i) {
        char szPath[MAX_PATH] = {};
        ::DragQueryFileA(hDrop, i, szPath, MAX_PATH);
        paths.push_back(szPath);
    }
    return paths;
}

// The clipboard is shared with every program on the display: these wait for
// a clipboard that another program holds open, and the tests that use it try
// again when another program changed it under them.
inline bool OpenClipboardWaiting(HWND hOwner) {
    for (int nTry = 0; nTry < 100; ++nTry) {
        if (::OpenClipboard(hOwner))
            return true;
        ::Sleep(10);
    }
    return false;
}
// Puts the paths on the clipboard as a file-drop list.
inline bool PutFilesOnClipboard(HWND hOwner, const std::vector<std::string>& paths) {
    if (!OpenClipboardWaiting(hOwner))
        return false;
    ::EmptyClipboard();
    const bool bSet = ::SetClipboardData(CF_HDROP, MakeDropBlock(paths)) != nullptr;
    ::CloseClipboard();
    return bSet;
}
inline bool PutTextOnClipboard(HWND hOwner, const std::string& text) {
    if (!OpenClipboardWaiting(hOwner))
        return false;
    ::EmptyClipboard();
    HGLOBAL hGlobal = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(::GlobalLock(hGlobal), text.c_str(), text.size() + 1);
    ::GlobalUnlock(hGlobal);
    const bool bSet = ::SetClipboardData(CF_TEXT, hGlobal) != nullptr;
    ::CloseClipboard();
    return bSet;
}
// The clipboard's file-drop list; empty when it holds none.
inline std::vector<std::string> ClipboardFiles(HWND hOwner) {
    std::vector<std::string> paths;
    if (!OpenClipboardWaiting(hOwner))
        return paths;
    if (HANDLE hData = ::GetClipboardData(CF_HDROP))
        paths = DropPaths(static_cast<HDROP>(hData));
    ::CloseClipboard();
    return paths;
}
// The clipboard's text; empty when it holds none.
inline std::string ClipboardText(HWND hOwner) {
    std::string text;
    if (!OpenClipboardWaiting(hOwner))
        return text;
    if (HANDLE hData = ::GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(::GlobalLock(hData));
        ::GlobalUnlock(hData);
    }
    ::CloseClipboard();
    return text;
}
// Runs attempt until it answers true, at most ten times; whether it did.
template <class F> bool WithinTenTries(F attempt) {
    for (int nTry = 0; nTry < 10; ++nTry) {
        if (attempt())
            return true;
    }
    return false;
}

// The test program's main window, standing in for the main frame.
class CHostWnd : public CWnd, public ICallListHost {
public:
    BOOL Make(const CRect& rect) {
        if (!CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, nullptr, ::GetSysColorBrush(COLOR_WINDOW)),
                      "hot lists test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, rect.left,
                      rect.top, rect.Width(), rect.Height(), nullptr, nullptr))
            return FALSE;
        AfxGetApp()->m_pMainWnd = this;
        return TRUE;
    }
    // The main window's end would quit the test program's thread.
    void Unmake() {
        if (AfxGetApp()->m_pMainWnd == this)
            AfxGetApp()->m_pMainWnd = nullptr;
        if (m_hWnd != nullptr)
            DestroyWindow();
    }

    void PlayLoadedRecording() override { ++m_nPlays; }
    void OpenRecordingList(const CKWArray<CKWString>& paths) override {
        std::vector<std::string> list;
        for (int i = 0; i < paths.GetSize(); ++i)
            list.push_back(static_cast<const char*>(paths.GetAt(i)));
        m_lists.push_back(list);
    }

    int m_nPlays = 0;
    std::vector<std::vector<std::string>> m_lists;
};
