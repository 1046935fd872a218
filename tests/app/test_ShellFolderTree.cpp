// Tests of CShellFolderTree over Wine's shell, started at a temporary folder
// tree: filling and the first-expansion-only reading of children, the freeing
// of the items' shell records (watched through the shell allocator), the
// folder-path and drop-filter rules, the context menu with its greying and
// its commands (the new-shortcut dialog driven by a script), renaming real
// folders, the double click and Ctrl+Enter with real input. The drops are in
// test_ShellFolderTreeDrop.cpp. Screenshots: shell-tree.png, shell-tree-menu*.png.
#include "ShellFolderTreeFixture.h"

#include "NewShortcut.h"
#include "ShortCuts.h"
#include "resource.h"

#include "tests/app/StoreTestFolders.h"
#include "tests/support/Canvas.h"
#include "tests/support/SyntheticInput.h"

#include "framework/Edit.h"
#include "framework/Menu.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

CAnsweringApp theApp;

CUiScript::Step Wait(int nTicks) {
    auto pCount = std::make_shared<int>(0);
    return [pCount, nTicks] { return ++*pCount >= nTicks; };
}

// The window's rectangle on the screen, for screenshots.
CRect ScreenRect(const CWnd& wnd) {
    CRect rect;
    wnd.GetWindowRect(&rect);
    return rect;
}

// Runs the messages as the application's loop does, through the windows'
// PreTranslateMessage, for nMilliseconds.
void PumpTranslated(DWORD nMilliseconds) {
    const DWORD nStart = ::GetTickCount();
    do {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!AfxGetApp()->PreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
        ::Sleep(10);
    } while (::GetTickCount() - nStart < nMilliseconds);
}

// ---------------------------------------------------------------------------
// Filling

TEST_F(ShellFolderTreeTest, TheTopLevelHoldsTheStartFoldersSubFoldersInTheShellsOrder) {
    // Files are not shown, hidden folders are, sorted as the shell sorts.
    EXPECT_EQ((std::vector<std::string>{"Calls", "Calls.old", "Empty", "Hidden"}), Labels());
    CImageList* pImages = m_tree.GetImageList(TVSIL_NORMAL);
    ASSERT_NE(nullptr, pImages);
    const int nImages = pImages->GetImageCount();
    EXPECT_GE(nImages, 2); // the "shell32.dll" icon and at least the folder's
    for (HTREEITEM h = m_tree.GetRootItem(); h != nullptr; h = m_tree.GetNextSiblingItem(h)) {
        const std::string label = static_cast<LPCTSTR>(m_tree.GetItemText(h));
        const SHELLOBJECTINFO* pInfo = m_tree.GetItemObject(h);
        ASSERT_NE(nullptr, pInfo) << label;
        EXPECT_NE(0u, pInfo->dwAttributes & SFGAO_FOLDER) << label;
        EXPECT_EQ(Path(label.c_str()), std::string(m_tree.GetItemPath(h)));
        int nImage = -1;
        int nSelected = -1;
        ASSERT_TRUE(m_tree.GetItemImage(h, nImage, nSelected));
        EXPECT_GE(nImage, 1) << label; // image 0 is the list's own first icon
        EXPECT_LT(nImage, nImages) << label;
        EXPECT_GE(nSelected, 1) << label;
        EXPECT_LT(nSelected, nImages) << label;
        EXPECT_EQ(nullptr, m_tree.GetChildItem(h)) << label; // nothing read yet
    }
    EXPECT_TRUE(m_tree.ItemHasChildren(Find("Calls")));
    EXPECT_EQ("", std::string(m_tree.GetItemPath(nullptr)));
    Settle(200);
    EXPECT_TRUE(SaveScreenPng(ScreenRect(m_host), "shell-tree.png"));
}

TEST_F(ShellFolderTreeTest, InitializeReadsTheTreeAgainOrFailsLeavingItAsItWas) {
    struct Case {
        std::string path;
        BOOL bResult;
        std::vector<std::string> labels;
    };
    const Case cases[] = {
        {Path("Calls"), TRUE, {"A", "B"}},
        {Path("Missing\\Deeper"), FALSE, {"A", "B"}},
        {Path("Empty"), TRUE, {}},
        {m_root, TRUE, {"Calls", "Calls.old", "Empty", "Hidden"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.bResult, m_tree.Initialize(c.path.c_str())) << c.path;
        EXPECT_EQ(c.labels, Labels()) << c.path;
    }
    CShellFolderTree unmade;
    EXPECT_FALSE(unmade.Initialize(m_root.c_str()));
}

TEST_F(ShellFolderTreeTest, ChildrenAreReadAtTheFirstExpansionOnly) {
    const HTREEITEM hCalls = Find("Calls");
    ASSERT_TRUE(m_tree.Expand(hCalls, TVE_EXPAND));
    EXPECT_EQ((std::vector<std::string>{"A", "B"}), Labels(hCalls));
    EXPECT_EQ(Path("Calls\\A"), std::string(m_tree.GetItemPath(Find("A", hCalls))));

    ASSERT_TRUE(::CreateDirectoryA(Path("Calls\\C").c_str(), nullptr));
    m_tree.Expand(hCalls, TVE_COLLAPSE);
    m_tree.Expand(hCalls, TVE_EXPAND);
    EXPECT_EQ((std::vector<std::string>{"A", "B"}), Labels(hCalls));

    // A new reading of the tree sees the new folder.
    ASSERT_TRUE(m_tree.Initialize(m_root.c_str()));
    ASSERT_TRUE(m_tree.Expand(Find("Calls"), TVE_EXPAND));
    EXPECT_EQ((std::vector<std::string>{"A", "B", "C"}), Labels(Find("Calls")));
}

// ---------------------------------------------------------------------------
// The shell records of the items, watched through the shell's allocator

class CFreeWatch : public IMallocSpy {
public:
    std::set<void*> m_allocated; // blocks made while the watch is on, not freed yet
    std::set<void*> m_freed;     // blocks freed since it was last cleared (a freed
                                 // address may be made again meanwhile)

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMallocSpy)) {
            *ppv = static_cast<IMallocSpy*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T cbRequest) override { return cbRequest; }
    void* STDMETHODCALLTYPE PostAlloc(void* pActual) override {
        m_allocated.insert(pActual);
        return pActual;
    }
    void* STDMETHODCALLTYPE PreFree(void* pRequest, BOOL) override {
        if (m_allocated.erase(pRequest) != 0)
            m_freed.insert(pRequest);
        return pRequest;
    }
    void STDMETHODCALLTYPE PostFree(BOOL) override {}
    SIZE_T STDMETHODCALLTYPE PreRealloc(void* pRequest, SIZE_T cbRequest, void** ppNewRequest,
                                        BOOL) override {
        m_allocated.erase(pRequest);
        *ppNewRequest = pRequest;
        return cbRequest;
    }
    void* STDMETHODCALLTYPE PostRealloc(void* pActual, BOOL) override {
        m_allocated.insert(pActual);
        return pActual;
    }
    void* STDMETHODCALLTYPE PreGetSize(void* pRequest, BOOL) override { return pRequest; }
    SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T cbActual, BOOL) override { return cbActual; }
    void* STDMETHODCALLTYPE PreDidAlloc(void* pRequest, BOOL) override { return pRequest; }
    int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int fActual) override { return fActual; }
    void STDMETHODCALLTYPE PreHeapMinimize() override {}
    void STDMETHODCALLTYPE PostHeapMinimize() override {}
};

// Lives as long as the program: COM may keep a revoked watch until its last
// watched block is freed.
CFreeWatch g_watch;

// Rejects the folders whose names begin with 'H' and keeps their records.
class CFilteringTree : public CShellFolderTree {
public:
    BOOL IsObjectAccepted(const SHELLOBJECTINFO* pInfo) const override {
        if (pInfo->szDisplayName[0] != 'H')
            return TRUE;
        m_rejected.push_back(const_cast<SHELLOBJECTINFO*>(pInfo));
        return FALSE;
    }
    mutable std::vector<void*> m_rejected;
};

class ShellFolderTreeRecordsTest : public ShellFolderTreeTest {
protected:
    void SetUp() override {
        ShellFolderTreeTest::SetUp();
        ASSERT_EQ(S_OK, ::CoRegisterMallocSpy(&g_watch));
    }
    void TearDown() override {
        ::CoRevokeMallocSpy();
        g_watch.m_allocated.clear();
        g_watch.m_freed.clear();
        ShellFolderTreeTest::TearDown();
    }
    // The records of every item, in tree order.
    std::vector<void*> Records(const CShellFolderTree& tree, HTREEITEM hFirst) const {
        std::vector<void*> records;
        for (HTREEITEM h = hFirst; h != nullptr; h = tree.GetNextSiblingItem(h)) {
            records.push_back(const_cast<SHELLOBJECTINFO*>(tree.GetItemObject(h)));
            std::vector<void*> below = Records(tree, tree.GetChildItem(h));
            records.insert(records.end(), below.begin(), below.end());
        }
        return records;
    }
    static bool AllFreed(const std::vector<void*>& records) {
        return std::all_of(records.begin(), records.end(),
                           [](void* p) { return g_watch.m_freed.count(p) != 0; });
    }
};

TEST_F(ShellFolderTreeRecordsTest, EachItemsRecordIsFreedWithTheItem) {
    ASSERT_TRUE(m_tree.Initialize(m_root.c_str()));
    ASSERT_TRUE(m_tree.Expand(Find("Calls"), TVE_EXPAND));
    std::vector<void*> records = Records(m_tree, m_tree.GetRootItem());
    ASSERT_EQ(6u, records.size()); // four folders, two below Calls
    for (void* p : records)
        ASSERT_EQ(1u, g_watch.m_allocated.count(p)); // made by the shell's allocator

    // One deleted item, then a new reading, then the window's end.
    g_watch.m_freed.clear();
    const HTREEITEM hEmpty = Find("Empty");
    void* pEmpty = const_cast<SHELLOBJECTINFO*>(m_tree.GetItemObject(hEmpty));
    ASSERT_TRUE(m_tree.DeleteItem(hEmpty));
    EXPECT_TRUE(AllFreed({pEmpty}));
    ASSERT_TRUE(m_tree.Initialize(m_root.c_str()));
    EXPECT_TRUE(AllFreed(records));

    records = Records(m_tree, m_tree.GetRootItem());
    ASSERT_EQ(4u, records.size());
    g_watch.m_freed.clear();
    m_tree.DestroyWindow();
    EXPECT_TRUE(AllFreed(records));
}

TEST_F(ShellFolderTreeRecordsTest, RecordsTheFilterRejectsAreFreedAtOnce) {
    CFilteringTree tree;
    ASSERT_TRUE(tree.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 200), &m_host, 3003));
    ASSERT_TRUE(tree.Initialize(m_root.c_str()));
    EXPECT_EQ((std::vector<std::string>{"Calls", "Calls.old", "Empty"}), [&] {
        std::vector<std::string> labels;
        for (HTREEITEM h = tree.GetRootItem(); h; h = tree.GetNextSiblingItem(h))
            labels.push_back(static_cast<LPCTSTR>(tree.GetItemText(h)));
        return labels;
    }());
    ASSERT_EQ(1u, tree.m_rejected.size()); // Hidden
    EXPECT_TRUE(AllFreed(tree.m_rejected));
    tree.DestroyWindow();
}

// ---------------------------------------------------------------------------
// Rules

TEST(ShellFolderTreeRules, AFolderPathHasASeparatorAfterItsLastDot) {
    const struct {
        const char* pszPath;
        BOOL bFolder;
    } cases[] = {
        {"C:\\Calls", TRUE},
        {"C:\\", TRUE},
        {"C:/Calls/2024", TRUE},
        {"C:\\Calls.old\\Inner", TRUE},
        {"C:\\Calls\\Calls.old", FALSE},
        {"C:\\Calls\\call.zel", FALSE},
        {"Calls", FALSE},
        {"", FALSE},
        {nullptr, FALSE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.bFolder, CShellFolderTree::IsFolderPath(c.pszPath))
            << (c.pszPath != nullptr ? c.pszPath : "(null)");
}

TEST_F(ShellFolderTreeTest, TheDropFilterTakesFilesFoldersAndExtensions) {
    ASSERT_TRUE(WriteWholeFile(Path("upper.ZEL"), "x"));
    ASSERT_TRUE(WriteWholeFile(Path("sound.wav"), "x"));
    ASSERT_TRUE(WriteWholeFile(Path("bare"), "x"));
    ASSERT_TRUE(::CreateDirectoryA(Path("folder.zel").c_str(), nullptr));
    const std::string paths[] = {Path("note.zel"),   Path("upper.ZEL"), Path("sound.wav"),
                                 Path("bare"),       Path("Calls"),     Path("folder.zel"),
                                 Path("missing.zel")};
    struct Case {
        DWORD dwFlags;
        const char* pszExtension;
        std::vector<BOOL> taken; // one per path above
    };
    const Case cases[] = {
        {0x03, "", {TRUE, TRUE, TRUE, TRUE, TRUE, TRUE, FALSE}},         // the default
        {0x11, ".zel", {TRUE, TRUE, FALSE, FALSE, FALSE, FALSE, FALSE}}, // the Access Panel's
        {0x01, ".zel", {TRUE, TRUE, TRUE, TRUE, FALSE, FALSE, FALSE}},
        {0x02, "", {FALSE, FALSE, FALSE, FALSE, TRUE, TRUE, FALSE}},
        {0x12, ".zel", {FALSE, FALSE, FALSE, FALSE, TRUE, TRUE, FALSE}},
        {0x00, "", {FALSE, FALSE, FALSE, FALSE, FALSE, FALSE, FALSE}},
    };
    EXPECT_EQ(0x03u, m_tree.GetDropFilter().dwFlags);
    for (const Case& c : cases) {
        CShellFolderTree::DROPFILTER filter;
        filter.dwFlags = c.dwFlags;
        filter.strExtension = c.pszExtension;
        m_tree.SetDropFilter(filter);
        for (size_t i = 0; i < c.taken.size(); ++i)
            EXPECT_EQ(c.taken[i], m_tree.IsDropAccepted(paths[i].c_str()))
                << std::hex << c.dwFlags << " " << paths[i];
    }
    EXPECT_FALSE(m_tree.IsDropAccepted(nullptr));
}

// ---------------------------------------------------------------------------
// Context menu and commands

struct MenuItemSeen {
    UINT nID;
    std::string text;
    bool bGrayed;
};

// The window of the open popup menu, or null.
HWND VisibleMenuWindow() {
    for (HWND hWnd = ::FindWindowExA(nullptr, nullptr, "#32768", nullptr); hWnd != nullptr;
         hWnd = ::FindWindowExA(nullptr, hWnd, "#32768", nullptr))
        if (::IsWindowVisible(hWnd))
            return hWnd;
    return nullptr;
}

// The keys that choose the menu's enabled entry of this index (the separator
// is skipped). Home first: a cursor left over the menu by an earlier program
// on the display may have highlighted an entry already.
std::vector<WORD> Choose(int nEnabledIndex) {
    std::vector<WORD> keys = {VK_HOME};
    keys.insert(keys.end(), nEnabledIndex, VK_DOWN);
    keys.push_back(VK_RETURN);
    return keys;
}

// What the tracked menu holds.
std::vector<MenuItemSeen> ReadTrackedMenu() {
    std::vector<MenuItemSeen> items;
    HMENU hMenu = CMenu::GetTrackingMenu();
    for (int i = 0; hMenu != nullptr && i < ::GetMenuItemCount(hMenu); ++i) {
        char szText[64] = "";
        ::GetMenuStringA(hMenu, static_cast<UINT>(i), szText, sizeof szText, MF_BYPOSITION);
        const UINT nState = ::GetMenuState(hMenu, static_cast<UINT>(i), MF_BYPOSITION);
        items.push_back({::GetMenuItemID(hMenu, i), szText, (nState & MF_GRAYED) != 0});
    }
    return items;
}

class ShellFolderTreeMenuTest : public ShellFolderTreeTest {
protected:
    void SetUp() override {
        m_pFolders.reset(new CStoreTestFolders("shelltree"));
        ShellFolderTreeTest::SetUp();
        // The store the new-shortcut dialog shows: one group.
        CTreeStore::ENTRY group{};
        group.ID = 0;
        group.ParentID = -1;
        group.Name = "Shortcuts to Sources..";
        group.IsGroup = 1;
        ASSERT_TRUE(CShortCuts::GetInstance()->AddEntry(group));
    }
    void TearDown() override {
        ShellFolderTreeTest::TearDown();
        delete CShortCuts::GetInstance();
        m_pFolders.reset();
    }

    // A right click on the item, with keys posted to the menu once it is
    // tracked (none: Escape). Keeps what the menu held. Extra steps follow,
    // for what the chosen command opens.
    std::vector<MenuItemSeen> RightClick(HTREEITEM hItem, std::vector<WORD> keys,
                                         std::vector<CUiScript::Step> extra = {},
                                         const char* pszScreenshot = nullptr) {
        std::vector<MenuItemSeen> seen;
        std::vector<CUiScript::Step> steps = {
            [] { return CMenu::GetTrackingMenu() != nullptr && VisibleMenuWindow() != nullptr; },
            Wait(pszScreenshot != nullptr ? 20 : 5),
            [&, keys, pszScreenshot] {
                seen = ReadTrackedMenu();
                if (pszScreenshot != nullptr) {
                    CRect rectMenu;
                    ::GetWindowRect(VisibleMenuWindow(), &rectMenu);
                    CRect rect;
                    rect.UnionRect(ScreenRect(m_host), rectMenu);
                    SaveScreenPng(rect, pszScreenshot);
                }
                HWND hOwner = CMenu::GetTrackingWindow();
                if (keys.empty())
                    ::PostMessageA(hOwner, WM_KEYDOWN, VK_ESCAPE, 0);
                for (WORD wVk : keys)
                    ::PostMessageA(hOwner, WM_KEYDOWN, wVk, 0);
                return true;
            },
        };
        steps.insert(steps.end(), extra.begin(), extra.end());
        CUiScript script([] { ::EndMenu(); }, steps);
        const CPoint point = ItemPoint(hItem);
        m_tree.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(point.x, point.y));
        m_tree.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(point.x, point.y));
        EXPECT_TRUE(PumpUntil([&] { return script.Finished() || script.Stalled(); }));
        EXPECT_FALSE(script.Stalled());
        PumpPending();
        return seen;
    }

    // Steps that pick the new-shortcut dialog's group and press a button of it.
    std::vector<CUiScript::Step> AnswerNewShortcut(UINT nButton, std::string* pName = nullptr) {
        auto phDlg = std::make_shared<HWND>(nullptr);
        return {
            [phDlg] { return (*phDlg = FindThreadDialog()) != nullptr; },
            Wait(5),
            [phDlg, pName] {
                HWND hTree = ::GetDlgItem(*phDlg, IDC_NEWSHORTCUT_TREE);
                ::SendMessageA(hTree, TVM_SELECTITEM, TVGN_CARET,
                               ::SendMessageA(hTree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
                if (pName != nullptr) {
                    char szName[MAX_PATH] = "";
                    ::GetDlgItemTextA(*phDlg, IDC_NEWSHORTCUT_NAME, szName, MAX_PATH);
                    *pName = szName;
                }
                return true;
            },
            Wait(5),
            [phDlg, nButton] {
                ::SendMessageA(::GetDlgItem(*phDlg, nButton), BM_CLICK, 0, 0);
                return true;
            },
            [phDlg] { return !::IsWindow(*phDlg); },
        };
    }

    // The shortcuts (not groups) of the store, as "name=target@parent".
    static std::vector<std::string> Shortcuts() {
        std::vector<std::string> shortcuts;
        CShortCuts* pStore = CShortCuts::GetInstance();
        for (int nID = 0; nID < pStore->GetNextID(); ++nID) {
            CTreeStore::ENTRY entry;
            if (pStore->GetEntryCopy(nID, entry) && !entry.IsGroup)
                shortcuts.push_back(std::string(entry.Name) + "=" + std::string(entry.Target) +
                                    "@" + std::to_string(entry.ParentID));
        }
        std::sort(shortcuts.begin(), shortcuts.end());
        return shortcuts;
    }

    std::unique_ptr<CStoreTestFolders> m_pFolders;
};

TEST_F(ShellFolderTreeMenuTest, TheFolderCommandsAreGreyedWithoutAFolderPath) {
    const std::vector<std::string> texts = {"Create Recording List...", "Create Shortcut List...",
                                            "", "Add to Shortcuts", "Explore"};
    const std::vector<UINT> ids = {ID_SHELLTREE_CREATE_RECORDING_LIST,
                                   ID_SHELLTREE_CREATE_SHORTCUT_LIST, 0,
                                   ID_SHELLTREE_ADD_TO_SHORTCUTS, ID_SHELLTREE_EXPLORE};
    struct Case {
        const char* pszItem;
        const char* pszStart; // null: the test's folder tree; "": the desktop
        bool bGreyed;
        const char* pszScreenshot;
    };
    const Case cases[] = {
        // The first item, which the focus makes the caret before the click
        // selects it. (The process's first menu is slow to reach the screen:
        // no picture of it.)
        {"Calls", nullptr, false, nullptr},
        {"Calls.old", nullptr, true, "shell-tree-menu-dotted.png"}, // not a folder's path
        {"Calls", nullptr, false, "shell-tree-menu.png"},
        {"My Computer", "", true, "shell-tree-menu-virtual.png"}, // no file-system path
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(m_tree.Initialize(c.pszStart != nullptr ? c.pszStart : m_root.c_str()));
        const HTREEITEM hItem = Find(c.pszItem);
        ASSERT_NE(nullptr, hItem) << c.pszItem;
        m_tree.SetItemState(Find(c.pszStart != nullptr ? "Documents" : "Empty"), TVIS_SELECTED,
                            TVIS_SELECTED);
        const std::vector<MenuItemSeen> seen = RightClick(hItem, {}, {}, c.pszScreenshot);
        ASSERT_EQ(5u, seen.size()) << c.pszItem;
        for (size_t i = 0; i < seen.size(); ++i) {
            EXPECT_EQ(ids[i], seen[i].nID) << c.pszItem << " " << i;
            EXPECT_EQ(texts[i], seen[i].text) << c.pszItem << " " << i;
            const bool bFolderCommand = i == 0 || i == 3 || i == 4;
            if (ids[i] != 0) { // Wine marks its separators disabled
                EXPECT_EQ(c.bGreyed && bFolderCommand, seen[i].bGrayed) << c.pszItem << " " << i;
            }
        }
        // The right click made the item the caret item and cleared other marks.
        EXPECT_EQ(hItem, m_tree.GetSelectedItem()) << c.pszItem;
        CKWArray<CShellFolderTree::FOLDERTREEITEM> marked(0, 10);
        m_tree.CollectSelected(marked);
        ASSERT_EQ(1, marked.GetSize()) << c.pszItem;
        EXPECT_EQ(hItem, marked.GetAt(0).hItem);
        EXPECT_EQ(std::string(c.pszItem), std::string(marked.GetAt(0).strText));
    }
    EXPECT_TRUE(m_host.m_lists.empty());
    EXPECT_EQ(0, m_host.m_nReloads);
}

TEST_F(ShellFolderTreeMenuTest, CreateRecordingListPostsTheFolderToTheMainWindow) {
    RightClick(Find("Empty"), Choose(0));
    ASSERT_EQ(1u, m_host.m_lists.size());
    EXPECT_EQ(std::vector<std::string>{Path("Empty")}, m_host.m_lists[0]);
}

TEST_F(ShellFolderTreeMenuTest, CreateShortcutListAddsOneShortcutPerSubFolder) {
    std::string name;
    RightClick(Find("Calls"), Choose(1), AnswerNewShortcut(IDOK, &name));
    EXPECT_EQ("Calls", name); // shown in the dialog, not used
    EXPECT_EQ(
        (std::vector<std::string>{"A=" + Path("Calls\\A") + "@0", "B=" + Path("Calls\\B") + "@0"}),
        Shortcuts());
    EXPECT_EQ(1, m_host.m_nReloads);
}

TEST_F(ShellFolderTreeMenuTest, CreateShortcutListOfAFolderWithoutSubFoldersOnlyReloads) {
    RightClick(Find("Empty"), Choose(1), AnswerNewShortcut(IDOK));
    EXPECT_TRUE(Shortcuts().empty());
    EXPECT_EQ(1, m_host.m_nReloads);

    // A path not taken for a folder's opens no dialog and changes nothing.
    RightClick(Find("Calls.old"), Choose(0)); // the first enabled entry
    EXPECT_EQ(nullptr, FindThreadDialog());
    EXPECT_TRUE(Shortcuts().empty());
    EXPECT_EQ(1, m_host.m_nReloads);
}

TEST_F(ShellFolderTreeMenuTest, AddToShortcutsAddsTheFolderUnderTheChosenGroupOrNothing) {
    // Cancel adds nothing.
    RightClick(Find("Calls"), Choose(2), AnswerNewShortcut(IDCANCEL));
    EXPECT_TRUE(Shortcuts().empty());
    EXPECT_EQ(0, m_host.m_nReloads);

    std::string name;
    RightClick(Find("Calls"), Choose(2), AnswerNewShortcut(IDOK, &name));
    EXPECT_EQ("Calls", name);
    EXPECT_EQ((std::vector<std::string>{"Calls=" + Path("Calls") + "@0"}), Shortcuts());
    EXPECT_EQ(1, m_host.m_nReloads);
}

// ---------------------------------------------------------------------------
// Renaming

TEST_F(ShellFolderTreeTest, ALabelEditRenamesTheFolderOrKeepsIt) {
    ASSERT_TRUE(m_tree.Expand(Find("Calls"), TVE_EXPAND)); // its children are read
    struct Case {
        const char* pszItem;
        const char* pszText;
        bool bRenamed;
    };
    const Case cases[] = {
        {"Calls", "Recordings", true},
        {"Calls.old", "", false},   // no name
        {"Empty", "Hidden", false}, // taken by another folder
        {"Empty", "a\\b", false},   // not a name
    };
    for (const Case& c : cases) {
        const HTREEITEM hItem = Find(c.pszItem);
        ASSERT_NE(nullptr, hItem) << c.pszItem;
        CEdit* pEdit = m_tree.EditLabel(hItem);
        ASSERT_NE(nullptr, pEdit) << c.pszItem;
        pEdit->SetWindowText(c.pszText);
        m_tree.EndEditLabelNow(FALSE);
        const std::string expected = c.bRenamed ? c.pszText : c.pszItem;
        EXPECT_EQ(expected, std::string(m_tree.GetItemText(hItem))) << c.pszText;
        EXPECT_EQ(Path(expected.c_str()), std::string(m_tree.GetItemPath(hItem))) << c.pszText;
        EXPECT_TRUE(FileExists(Path(expected.c_str()))) << c.pszText;
        EXPECT_EQ(!c.bRenamed, FileExists(Path(c.pszItem))) << c.pszText;
    }
    // The renamed folder's children are read again, from its new place.
    const HTREEITEM hRenamed = Find("Recordings");
    ASSERT_TRUE(m_tree.Expand(hRenamed, TVE_EXPAND));
    EXPECT_EQ((std::vector<std::string>{"A", "B"}), Labels(hRenamed));
    EXPECT_EQ(Path("Recordings\\B"), std::string(m_tree.GetItemPath(Find("B", hRenamed))));
}

// Escape is taken before the framework's own key handling, which in a frame or
// a dialog would use it up, and goes to the edit at once.
TEST_F(ShellFolderTreeTest, EscapeReachesARunningLabelEditAndCancelsIt) {
    const HTREEITEM hItem = Find("Empty");
    CEdit* pEdit = m_tree.EditLabel(hItem);
    ASSERT_NE(nullptr, pEdit);
    pEdit->SetWindowText("Changed");
    MSG escape = {pEdit->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    EXPECT_TRUE(m_tree.PreTranslateMessage(&escape));
    EXPECT_EQ(nullptr, m_tree.GetEditControl());
    EXPECT_EQ("Empty", std::string(m_tree.GetItemText(hItem)));
    EXPECT_TRUE(FileExists(Path("Empty")));
    EXPECT_FALSE(FileExists(Path("Changed")));

    // Other keys go on to the framework.
    MSG letter = {m_tree.m_hWnd, WM_KEYDOWN, 'A', 0, 0, {0, 0}};
    EXPECT_FALSE(m_tree.PreTranslateMessage(&letter));
}

// ---------------------------------------------------------------------------
// Real input: the double click and Ctrl+Enter

class ShellFolderTreeInputTest : public ShellFolderTreeTest {
protected:
    void SetUp() override {
        ShellFolderTreeTest::SetUp();
        m_host.SetForegroundWindow();
        m_tree.SetFocus();
        Settle(200);
    }
    void DoubleClick(CPoint ptScreen) {
        SendMouseMove(ptScreen);
        Settle(60);
        SendLeftClick();
        SendLeftClick();
        Settle(300);
    }
};

TEST_F(ShellFolderTreeInputTest, ADoubleClickOnAFolderPostsItsRecordingListInput) {
    const HTREEITEM hCalls = Find("Calls");
    DoubleClick(ItemScreenPoint(hCalls));
    ASSERT_EQ(1u, m_host.m_lists.size());
    EXPECT_EQ(std::vector<std::string>{Path("Calls")}, m_host.m_lists[0]);
    // Neither opened nor expanded.
    EXPECT_EQ(0u, m_tree.GetItemState(hCalls, TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_EQ(nullptr, m_tree.GetChildItem(hCalls));

    // A virtual folder is a folder too; its list carries an empty path.
    ASSERT_TRUE(m_tree.Initialize(""));
    const HTREEITEM hComputer = Find("My Computer");
    ASSERT_NE(nullptr, hComputer);
    m_tree.EnsureVisible(hComputer);
    Settle(100);
    DoubleClick(ItemScreenPoint(hComputer));
    ASSERT_EQ(2u, m_host.m_lists.size());
    EXPECT_EQ(std::vector<std::string>{""}, m_host.m_lists[1]);
    EXPECT_EQ(0u, m_tree.GetItemState(hComputer, TVIS_EXPANDED) & TVIS_EXPANDED);
}

TEST_F(ShellFolderTreeInputTest, CtrlEnterPostsTheSelectedFoldersRecordingListFocusInput) {
    m_tree.SelectItem(Find("Calls.old"));
    SendKey(VK_CONTROL, false);
    SendKeyTap(VK_RETURN);
    SendKey(VK_CONTROL, true);
    PumpTranslated(300);
    ASSERT_EQ(1u, m_host.m_lists.size());
    EXPECT_EQ(std::vector<std::string>{Path("Calls.old")}, m_host.m_lists[0]);

    // Enter alone makes none.
    SendKeyTap(VK_RETURN);
    PumpTranslated(200);
    EXPECT_EQ(1u, m_host.m_lists.size());
}

} // namespace
