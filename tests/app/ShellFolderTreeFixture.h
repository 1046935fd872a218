// ShellFolderTreeFixture.h: the shell folder tree in a test window, started at
// a temporary folder tree, and the helpers its two test programs share.
//
// The start folder holds:
//   Calls\        A\, B\ and the recording c.zel
//   Calls.old\    a folder whose path is not taken for a folder's
//   Empty\        an empty folder
//   Hidden\       hidden
//   note.zel      a file, which the tree does not show
//
// The test window is the program's main window: it keeps the folders of
// every recording list posted to it (freeing each list as the main frame
// does) and counts the shortcut reloads.
#pragma once

#include "AppMessages.h"
#include "ShellFolderTree.h"

#include "KWArray.h"
#include "KWString.h"

#include "tests/support/AnsweringApp.h"
#include "tests/support/RecordingFixtures.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UiScript.h"

#include "framework/Ole.h"
#include "framework/Wnd.h"

#include "native/gtest.h"

#include <string>
#include <vector>

class CTreeHostWnd : public CWnd {
public:
    BOOL Make(const CRect& rect) {
        return CreateEx(0,
                        AfxRegisterWndClass(CS_DBLCLKS, nullptr, ::GetSysColorBrush(COLOR_WINDOW)),
                        "shell folder tree test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                        rect.left, rect.top, rect.Width(), rect.Height(), nullptr, nullptr);
    }

    std::vector<std::vector<std::string>> m_lists;
    int m_nReloads = 0;

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
    LRESULT OnReloadShortcuts(WPARAM, LPARAM) {
        ++m_nReloads;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTreeHostWnd, CWnd)
ON_MESSAGE(WM_CREATE_RECORDING_LIST, &CTreeHostWnd::OnCreateRecordingList)
ON_MESSAGE(WM_RELOAD_SHORTCUTS, &CTreeHostWnd::OnReloadShortcuts)
END_MESSAGE_MAP()

// A recording of a few seconds' header and some bytes after it, unique to tag.
inline std::string RecordingBytes(const std::string& tag) {
    RecordingFields fields;
    fields.callerId = tag;
    fields.duration = 12;
    return MakeHeaderV2to4(4, 1440, fields) + std::string(64, 'a') + tag;
}

class ShellFolderTreeTest : public ::testing::Test {
protected:
    static CAnsweringApp& App() { return *static_cast<CAnsweringApp*>(AfxGetApp()); }

    void SetUp() override {
        ASSERT_TRUE(AfxOleInit());
        m_root = m_tmp.Path().substr(0, m_tmp.Path().size() - 1);
        for (const char* folder : {"Calls", "Calls\\A", "Calls\\B", "Calls.old", "Empty", "Hidden"})
            ASSERT_TRUE(::CreateDirectoryA(m_tmp.File(folder).c_str(), nullptr)) << folder;
        ASSERT_TRUE(::SetFileAttributesA(m_tmp.File("Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN));
        ASSERT_TRUE(WriteWholeFile(m_tmp.File("Calls\\c.zel"), RecordingBytes("c")));
        ASSERT_TRUE(WriteWholeFile(m_tmp.File("note.zel"), RecordingBytes("note")));
        ASSERT_TRUE(m_host.Make(CRect(40, 40, 400, 520)));
        AfxGetApp()->m_pMainWnd = &m_host;
        ASSERT_TRUE(m_tree.Create(WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES |
                                      TVS_LINESATROOT | TVS_EDITLABELS | TVS_SHOWSELALWAYS,
                                  CRect(0, 0, 360, 480), &m_host, 3002));
        ASSERT_TRUE(m_tree.Initialize(m_root.c_str()));
        App().m_answers.clear();
        App().m_prompts.clear();
    }
    void TearDown() override {
        if (m_tree.m_hWnd != nullptr)
            m_tree.DestroyWindow();
        // The main window's destruction would end the program's message loop.
        AfxGetApp()->m_pMainWnd = nullptr;
        m_host.DestroyWindow();
        PumpPending();
        App().m_answers.clear();
        App().m_prompts.clear();
    }

    // The child of hParent with this label; null when there is none.
    HTREEITEM Find(const char* pszText, HTREEITEM hParent = TVI_ROOT) const {
        HTREEITEM h = hParent == TVI_ROOT ? m_tree.GetRootItem() : m_tree.GetChildItem(hParent);
        for (; h != nullptr; h = m_tree.GetNextSiblingItem(h))
            if (m_tree.GetItemText(h) == pszText)
                return h;
        return nullptr;
    }
    std::vector<std::string> Labels(HTREEITEM hParent = TVI_ROOT) const {
        std::vector<std::string> labels;
        HTREEITEM h = hParent == TVI_ROOT ? m_tree.GetRootItem() : m_tree.GetChildItem(hParent);
        for (; h != nullptr; h = m_tree.GetNextSiblingItem(h))
            labels.push_back(static_cast<LPCTSTR>(m_tree.GetItemText(h)));
        return labels;
    }
    // The middle of the item's label, in the tree's client coordinates.
    CPoint ItemPoint(HTREEITEM hItem) const {
        CRect rect;
        EXPECT_TRUE(m_tree.GetItemRect(hItem, &rect, TRUE));
        return rect.CenterPoint();
    }
    CPoint ItemScreenPoint(HTREEITEM hItem) const {
        CPoint point = ItemPoint(hItem);
        m_tree.ClientToScreen(&point);
        return point;
    }
    std::string Path(const char* pszRelative) const { return m_tmp.File(pszRelative); }

    CTempFolder m_tmp;
    std::string m_root; // the start folder, without a trailing backslash
    CTreeHostWnd m_host;
    CShellFolderTree m_tree;
};
