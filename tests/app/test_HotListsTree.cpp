// Tests of the hot-lists tree and its window with a toolbar: filling from the
// store, the context menu's entries and their states, the commands on hot
// lists (select all, clear, remove duplicates, validate, delete, new hot
// list), call links added without duplicates, playing and recording lists
// through the main window, the toolbar's buttons, and with real input a Shift
// range, a double click that plays and the context menu. Every test has a
// store and recordings of its own (HotListsTreeFixture.h); message boxes are
// answered and kept by CAnsweringApp. Screenshots: hotlists-toolbar.png,
// hotlists-menu.png.
#include "native/gtest.h"

#include "HotListsTreeWithToolbar.h"
#include "resource.h"
#include "tests/app/HotListsTreeFixture.h"

#include "Common/PlaybackManager.h"

#include "tests/support/AnsweringApp.h"
#include "tests/support/AudioCapture.h"
#include "tests/support/Canvas.h"
#include "tests/support/SyntheticInput.h"
#include "tests/support/TraceCapture.h"
#include "tests/support/UiScript.h"

#include "framework/CmdUI.h"
#include "framework/Edit.h"
#include "framework/FrameWnd.h"
#include "framework/Menu.h"
#include "framework/Ole.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

CAnsweringApp theApp;

const DWORD kTreeStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES |
                         TVS_LINESATROOT | TVS_SHOWSELALWAYS;

class CHotListsTreeProbe : public CHotListsTree {
public:
    using CHotListsTree::BuildContextMenu;
    using CHotListsTree::RunContextCommand;
};

// The context menu's commands in menu order, with short names for the tables.
const struct {
    UINT nCmd;
    const char* pszName;
} kCommands[] = {
    {ID_HOTLIST_PLAY, "Play"},
    {ID_HOTLIST_SELECT_ALL, "SelectAll"},
    {ID_HOTLIST_COPY, "Copy"},
    {ID_HOTLIST_PASTE, "Paste"},
    {ID_HOTLIST_DELETE, "Delete"},
    {ID_HOTLIST_NEW, "New"},
    {ID_HOTLIST_RENAME, "Rename"},
    {ID_HOTLIST_CLEAR, "Clear"},
    {ID_HOTLIST_REMOVE_DUPLICATES, "Duplicates"},
    {ID_HOTLIST_EXPLORE, "Explore"},
    {ID_HOTLIST_CREATE_LIST, "CreateList"},
    {ID_HOTLIST_VALIDATE, "Validate"},
};

class HotListsTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(AfxOleInit());
        ASSERT_TRUE(m_host.Make(CRect(100, 100, 420, 600)));
        m_files.FillSampleStore();
        ASSERT_TRUE(m_tree.Create(kTreeStyle, CRect(0, 0, 300, 480), &m_host, 3000));
        ASSERT_TRUE(m_tree.InitTree());
        m_tree.ExpandAll();
        theApp.m_prompts.clear();
        theApp.m_answers.clear();
    }
    void TearDown() override {
        CPlaybackManager::GetInstance()->Unload();
        if (m_tree.m_hWnd != nullptr)
            m_tree.DestroyWindow();
        m_host.Unmake();
    }

    HTREEITEM Item(const char* pszText) { return FindItem(m_tree, pszText); }
    // Only these items selected.
    void Select(std::initializer_list<const char*> names) {
        m_tree.DeselectAll();
        for (const char* pszName : names)
            m_tree.SetItemSelected(Item(pszName), TRUE);
    }
    // The names of the selected items, in tree order.
    std::string Selected() {
        std::string names;
        for (HTREEITEM h = m_tree.GetRootItem(); h != nullptr; h = m_tree.GetNextTreeItem(h)) {
            if (m_tree.IsItemSelected(h))
                names += (names.empty() ? "" : ",") + std::string(m_tree.GetItemText(h));
        }
        return names;
    }
    // The commands enabled for a right click on pszClicked, by their names.
    std::string Enabled(const char* pszClicked, bool bWithPaste) {
        std::string names;
        for (const auto& command : kCommands) {
            if (!bWithPaste && command.nCmd == ID_HOTLIST_PASTE)
                continue;
            if (m_tree.IsContextCommandEnabled(command.nCmd, Item(pszClicked)))
                names += (names.empty() ? "" : ",") + std::string(command.pszName);
        }
        return names;
    }
    // The records below the group, in store order: "name=target" for links.
    std::vector<std::string> Children(int nGroupID) {
        std::vector<std::string> children;
        CHotLists* pStore = CHotLists::GetInstance();
        for (CTreeStore::ENTRY* p = pStore->FindFirst(nGroupID, CTreeStore::FIND_BY_PARENT); p;
             p = pStore->FindNext(nGroupID, CTreeStore::FIND_BY_PARENT))
            children.push_back(std::string(p->Name) +
                               (p->IsGroup ? "" : "=" + std::string(p->Target)));
        return children;
    }

    CHotListsTestFiles m_files;
    CHostWnd m_host;
    CHotListsTreeProbe m_tree;
};

// ---------------------------------------------------------------------------
// Filling

TEST_F(HotListsTreeTest, ShowsTheStoreWithGroupAndLinkImages) {
    EXPECT_EQ(TreeOutline(m_tree), StoreOutline());
    EXPECT_EQ(TreeOutline(m_tree), "Links to Recordings...(Important Calls(a.zel,b.zel),Won "
                                   "Sales(Region(c.zel)),Lost Sales,Personal)");
    const struct {
        const char* pszItem;
        int nImage;
        BOOL bChildren;
    } cases[] = {{"Important Calls", 1, TRUE}, {"a.zel", 3, FALSE}, {"Personal", 1, FALSE}};
    for (const auto& c : cases) {
        int nImage = -1, nSelected = -1;
        m_tree.GetItemImage(Item(c.pszItem), nImage, nSelected);
        EXPECT_EQ(nImage, c.nImage) << c.pszItem;
        EXPECT_EQ(nSelected, c.nImage) << c.pszItem;
        EXPECT_EQ(m_tree.ItemHasChildren(Item(c.pszItem)), c.bChildren) << c.pszItem;
    }
    // A reload shows the top level with only the first item expanded.
    m_tree.ReloadTree();
    EXPECT_EQ(TreeOutline(m_tree),
              "Links to Recordings...(Important Calls,Won Sales,Lost Sales,Personal)");
}

// ---------------------------------------------------------------------------
// The context menu

TEST_F(HotListsTreeTest, TheContextMenuEnablesByClickedItemAndSelection) {
    const struct {
        const char* pszClicked;
        std::initializer_list<const char*> selection;
        const char* pszEnabled; // Paste aside: it follows the clipboard
    } cases[] = {
        {"a.zel", {"a.zel"}, "Play,Copy,Delete,Explore,CreateList,Validate"},
        {"Important Calls",
         {"Important Calls"},
         "Play,SelectAll,Copy,Delete,New,Rename,Clear,Duplicates,CreateList,Validate"},
        {"Links to Recordings...",
         {"Links to Recordings..."},
         "Play,SelectAll,Copy,New,Clear,Duplicates,CreateList,Validate"},
        {"a.zel", {"a.zel", "b.zel"}, "Copy,Delete,CreateList,Validate"},
        {"Won Sales", {"Won Sales", "c.zel"}, "Copy,Delete,CreateList,Validate"},
        {"Links to Recordings...", {"Links to Recordings...", "a.zel"}, "Copy,CreateList,Validate"},
    };
    for (const auto& c : cases) {
        Select(c.selection);
        EXPECT_EQ(Enabled(c.pszClicked, false), c.pszEnabled) << c.pszClicked;
    }
}

TEST_F(HotListsTreeTest, PasteIsOfferedWhenTheClipboardHoldsFiles) {
    Select({"Personal"});
    EXPECT_TRUE(WithinTenTries([&] {
        return PutFilesOnClipboard(m_host.m_hWnd, {m_files.Call("a.zel")}) &&
               m_tree.IsContextCommandEnabled(ID_HOTLIST_PASTE, Item("Personal"));
    }));
    EXPECT_TRUE(WithinTenTries([&] {
        return PutTextOnClipboard(m_host.m_hWnd, "no files") &&
               !m_tree.IsContextCommandEnabled(ID_HOTLIST_PASTE, Item("Personal"));
    }));
}

TEST_F(HotListsTreeTest, TheMenuHoldsTheEntriesInOrderGreyedAsTheirCommands) {
    Select({"b.zel"});
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    m_tree.BuildContextMenu(menu, Item("b.zel"));
    const char* const kTexts[] = {"Play",
                                  "",
                                  "Select All",
                                  "Copy",
                                  "Paste",
                                  "Delete",
                                  "",
                                  "New Calls for Review",
                                  "Rename Calls for Review",
                                  "Clear Calls for Review",
                                  "Remove Duplicates",
                                  "",
                                  "Explore",
                                  "Create Recording List...",
                                  "Validate Calls for Review"};
    ASSERT_EQ(menu.GetMenuItemCount(), 15);
    for (int i = 0; i < 15; ++i) {
        CString strText;
        menu.GetMenuString(i, strText, MF_BYPOSITION);
        EXPECT_EQ(std::string(strText), kTexts[i]) << i;
        const UINT nCmd = menu.GetMenuItemID(i);
        if (kTexts[i][0] == '\0') {
            EXPECT_EQ(nCmd, 0u) << i;
            continue;
        }
        const bool bGreyed = (menu.GetMenuState(i, MF_BYPOSITION) & MF_GRAYED) != 0;
        EXPECT_EQ(bGreyed, !m_tree.IsContextCommandEnabled(nCmd, Item("b.zel"))) << kTexts[i];
    }
}

// ---------------------------------------------------------------------------
// Commands on hot lists

TEST_F(HotListsTreeTest, SelectAllReplacesTheGroupByItsLinksAndKeepsTheRest) {
    AddHotListRecord(20, 4, "d.zel", m_files.Call("d.zel"));
    m_tree.ReloadTree(); // Won Sales never expanded: its items are filled first
    Select({"Won Sales", "Important Calls"});
    m_tree.RunContextCommand(ID_HOTLIST_SELECT_ALL, Item("Won Sales"));
    EXPECT_EQ(Selected(), "Important Calls,d.zel");
    // A group without records below it changes nothing.
    m_tree.SelectAllCalls(Item("Personal"));
    EXPECT_EQ(Selected(), "Important Calls,d.zel");
}

TEST_F(HotListsTreeTest, ClearingRemovesTheDirectLinksOnlyAndTheFlagWithTheLast) {
    AddHotListRecord(20, 4, "d.zel", m_files.Call("d.zel"));
    m_tree.ReloadTree();
    m_tree.RunContextCommand(ID_HOTLIST_CLEAR, Item("Won Sales"));
    EXPECT_EQ(Children(4), (std::vector<std::string>{"Region"}));
    EXPECT_TRUE(m_tree.ItemHasChildren(Item("Won Sales")));

    m_tree.RunContextCommand(ID_HOTLIST_CLEAR, Item("Important Calls"));
    EXPECT_TRUE(Children(1).empty());
    EXPECT_FALSE(m_tree.ItemHasChildren(Item("Important Calls")));
    EXPECT_EQ(m_tree.GetChildItem(Item("Important Calls")), nullptr);
    EXPECT_TRUE(theApp.m_prompts.empty());
}

// Duplicates are told apart by recording (paths without regard to case),
// groups by name. Each case fills the hot list "Personal" (ID 8).
TEST_F(HotListsTreeTest, RemovingDuplicatesKeepsOneOfEachRecording) {
    const std::string a = m_files.Call("A.zel");
    const std::string b = m_files.Call("B.zel");
    const std::string c = m_files.Call("C.zel");
    const std::string other = m_files.File("call.zel");
    WriteWholeFile(other, RecordingBytes());
    struct Child {
        const char* pszName;
        std::string target; // empty: a group
        int nBelow;         // links put below a group
    };
    const struct {
        const char* pszCase;
        std::vector<Child> children;
        const char* pszPrompt; // null: none
        std::vector<std::string> kept;
    } cases[] = {
        {"A,B,A,C,C",
         {{"A.zel", a, 0}, {"B.zel", b, 0}, {"A.zel", a, 0}, {"C.zel", c, 0}, {"C.zel", c, 0}},
         "2 entries removed as duplicates.",
         {"A.zel=" + a, "B.zel=" + b, "C.zel=" + c}},
        {"A,B",
         {{"A.zel", a, 0}, {"B.zel", b, 0}},
         "No duplicates found.",
         {"A.zel=" + a, "B.zel=" + b}},
        {"one child", {{"A.zel", a, 0}}, "No duplicates found.", {"A.zel=" + a}},
        {"no child", {}, nullptr, {}},
        {"one file name, two recordings",
         {{"call.zel", m_files.Call("call.zel"), 0}, {"call.zel", other, 0}},
         "No duplicates found.",
         {"call.zel=" + m_files.Call("call.zel", false), "call.zel=" + other}},
        {"one recording, other case",
         {{"A.zel", a, 0}, {"a.zel", m_files.CallsFolder() + "a.ZEL", 0}},
         "1 entries removed as duplicates.",
         {"A.zel=" + a}},
        {"empty groups",
         {{"G", "", 0}, {"G", "", 0}, {"H", "", 0}},
         "1 entries removed as duplicates.",
         {"G", "H"}},
        {"a group with links stays",
         {{"G", "", 0}, {"G", "", 1}, {"G", "", 0}},
         "1 entries removed as duplicates.",
         {"G", "G"}},
    };
    for (const auto& k : cases) {
        m_tree.ClearCalls(Item("Personal"));
        for (const std::string& child : Children(8))
            m_tree.RemoveItem(FindItem(m_tree, child.c_str()));
        int nID = 100;
        for (const Child& child : k.children) {
            const int nChildID = nID++;
            AddHotListRecord(nChildID, 8, child.pszName, child.target);
            for (int i = 0; i < child.nBelow; ++i)
                AddHotListRecord(nID++, nChildID, "b.zel", b);
        }
        m_tree.ReloadTree(); // Personal never expanded: filled before the walk
        theApp.m_prompts.clear();
        m_tree.RunContextCommand(ID_HOTLIST_REMOVE_DUPLICATES, Item("Personal"));
        if (k.pszPrompt == nullptr)
            EXPECT_TRUE(theApp.m_prompts.empty()) << k.pszCase;
        else
            EXPECT_EQ(theApp.m_prompts, (std::vector<std::string>{k.pszPrompt})) << k.pszCase;
        EXPECT_EQ(Children(8), k.kept) << k.pszCase;
        EXPECT_EQ(TreeOutline(m_tree, m_tree.GetChildItem(Item("Personal"))), [&] {
            std::string outline;
            for (const std::string& kept : k.kept)
                outline += (outline.empty() ? "" : ",") + kept.substr(0, kept.find('='));
            return outline;
        }()) << k.pszCase;
        // Nothing removed left a record behind without its parent.
        for (int nChild = 100; nChild < nID; ++nChild) {
            CTreeStore::ENTRY entry;
            if (CHotLists::GetInstance()->GetEntryCopy(nChild, entry)) {
                EXPECT_TRUE(CHotLists::GetInstance()->Contains(entry.ParentID)) << k.pszCase;
            }
        }
    }
}

TEST_F(HotListsTreeTest, ValidationRemovesLinksToMissingFilesEvenInUnexpandedGroups) {
    EXPECT_TRUE(::DeleteFileA(m_files.Call("c.zel", false).c_str()));
    AddHotListRecord(20, 8, "gone.zel", m_files.Call("gone.zel", false));
    m_tree.ReloadTree(); // nothing below the root's children was ever shown
    m_tree.RunContextCommand(ID_HOTLIST_VALIDATE, m_tree.GetRootItem());
    EXPECT_EQ(theApp.m_prompts,
              (std::vector<std::string>{
                  "The 2 invalid links to calls ware removed from Hotlists tree."}));
    EXPECT_TRUE(Children(5).empty());
    EXPECT_TRUE(Children(8).empty());
    EXPECT_EQ(Children(1), (std::vector<std::string>{"a.zel=" + m_files.Call("a.zel", false),
                                                     "b.zel=" + m_files.Call("b.zel", false)}));

    theApp.m_prompts.clear();
    m_tree.ValidateLinks();
    EXPECT_EQ(theApp.m_prompts, (std::vector<std::string>{"All links to calls are valid."}));
}

TEST_F(HotListsTreeTest, DeleteRemovesTheSelectionButTheRootWithTheRecordsBelow) {
    m_tree.ReloadTree(); // Won Sales with Region and c.zel never shown
    Select({"Links to Recordings...", "Won Sales", "Personal"});
    m_tree.RunContextCommand(ID_HOTLIST_DELETE, Item("Won Sales"));
    EXPECT_EQ(TreeOutline(m_tree), "Links to Recordings...(Important Calls,Lost Sales)");
    EXPECT_EQ(StoreOutline(), "Links to Recordings...(Important Calls(a.zel,b.zel),Lost Sales)");
    for (int nID : {4, 5, 6, 8})
        EXPECT_FALSE(CHotLists::GetInstance()->Contains(nID)) << nID;

    // The Delete key goes the same way.
    m_tree.ExpandAll();
    Select({"a.zel", "b.zel"});
    m_tree.SendMessage(WM_COMMAND, ID_DELETE_SELECTED);
    EXPECT_TRUE(Children(1).empty());
    EXPECT_FALSE(m_tree.ItemHasChildren(Item("Important Calls")));
}

TEST_F(HotListsTreeTest, ANewHotListStartsEditingAndAnEmptyLabelKeepsItsName) {
    Select({"Important Calls"});
    m_tree.RunContextCommand(ID_HOTLIST_NEW, Item("Important Calls"));
    HTREEITEM hNew = m_tree.GetSelectedItem();
    ASSERT_NE(hNew, nullptr);
    EXPECT_EQ(m_tree.GetItemText(hNew), "New Hotlist");
    EXPECT_EQ(m_tree.GetParentItem(hNew), Item("Important Calls"));
    EXPECT_TRUE(m_tree.IsEditing());
    CEdit* pEdit = m_tree.GetEditControl();
    ASSERT_NE(pEdit, nullptr);
    pEdit->SetWindowText("");
    m_tree.EndEditLabelNow(FALSE);
    EXPECT_FALSE(m_tree.IsEditing());
    EXPECT_EQ(m_tree.GetItemText(hNew), "New Hotlist");
    EXPECT_EQ(Children(1).back(), "New Hotlist");
    int nImage = -1, nSelected = -1;
    m_tree.GetItemImage(hNew, nImage, nSelected);
    EXPECT_EQ(nImage, 1);
}

TEST_F(HotListsTreeTest, AHotListAddedBelowAnUnexpandedGroupShowsItsSiblingsOnce) {
    m_tree.ReloadTree();
    ASSERT_NE(m_tree.AddHotList(Item("Won Sales"), "Q3", 30, FALSE), nullptr);
    m_tree.Expand(Item("Won Sales"), TVE_EXPAND);
    EXPECT_EQ(TreeOutline(m_tree, m_tree.GetChildItem(Item("Won Sales"))), "Region,Q3");
    EXPECT_EQ(Children(4), (std::vector<std::string>{"Region", "Q3"}));
}

// ---------------------------------------------------------------------------
// Call links

TEST_F(HotListsTreeTest, ACallLinkIsAddedOncePerRecordingAtAnyDepth) {
    const std::string sameName = m_files.File("c.zel"); // another recording named c.zel
    WriteWholeFile(sameName, RecordingBytes());
    m_tree.ReloadTree();
    const struct {
        const char* pszParent;
        std::string target;
        bool bAdded;
    } cases[] = {
        {"Won Sales", m_files.Call("c.zel", false), false},    // below Region, never shown
        {"Won Sales", m_files.CallsFolder() + "C.ZEL", false}, // the same file
        {"Won Sales", sameName, true},                         // same label, other file
        {"Won Sales", "", false},
        {"Personal", m_files.Call("c.zel", false), true},
    };
    for (const auto& c : cases) {
        HTREEITEM hParent = Item(c.pszParent);
        HTREEITEM hLink = m_tree.AddCallLink(hParent, c.target.c_str(),
                                             CHotListsTree::MakeLinkName(c.target.c_str()));
        EXPECT_EQ(hLink != nullptr, c.bAdded) << c.pszParent << " " << c.target;
        if (hLink != nullptr) {
            EXPECT_EQ(m_tree.GetSelectedItem(), hLink);
            EXPECT_EQ(m_tree.GetItemText(hLink), "c.zel");
            EXPECT_TRUE(m_tree.ItemHasChildren(hParent));
        }
    }
    EXPECT_EQ(StoreOutline(4), "Region(c.zel),c.zel");
    EXPECT_EQ(TreeOutline(m_tree, m_tree.GetChildItem(Item("Won Sales"))), "Region(c.zel),c.zel");
    EXPECT_EQ(StoreOutline(8), "c.zel");
    EXPECT_EQ(m_tree.AddCallLink(nullptr, sameName.c_str(), "c.zel"), nullptr);
}

TEST(HotListsTreeNames, ALinkIsNamedByItsFileWithoutFolderAndExtension) {
    const struct {
        const char* pszPath;
        const char* pszName;
    } cases[] = {
        {"C:\\Calls\\a.zel", "a.zel"},
        {"C:\\Calls\\b.wav", "b.zel"},
        {"C:\\Calls\\2009.Q1.zel", "2009.Q1.zel"},
        {"D:/x/call", "call.zel"},
        {"C:\\Calls.old\\call", "call.zel"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::string(CHotListsTree::MakeLinkName(c.pszPath)), c.pszName) << c.pszPath;
}

// ---------------------------------------------------------------------------
// Playing and recording lists

TEST_F(HotListsTreeTest, PlayingLoadsTheLinkOrTheGroupsFirstAndTellsThePlayer) {
    CAudioCapture capture;
    CPlaybackManager* pEngine = CPlaybackManager::GetInstance();
    const struct {
        const char* pszItem;
        std::string loaded;
    } cases[] = {
        {"b.zel", m_files.Call("b.zel", false)},
        {"Important Calls", m_files.Call("a.zel", false)},
    };
    for (const auto& c : cases) {
        const int nPlays = m_host.m_nPlays;
        m_tree.RunContextCommand(ID_HOTLIST_PLAY, Item(c.pszItem));
        EXPECT_TRUE(pEngine->IsLoaded()) << c.pszItem;
        EXPECT_EQ(std::string(pEngine->GetRecordFile()->GetPath()), c.loaded) << c.pszItem;
        EXPECT_EQ(m_host.m_nPlays, nPlays + 1) << c.pszItem;
        pEngine->Unload();
    }
    EXPECT_TRUE(theApp.m_prompts.empty());
}

TEST_F(HotListsTreeTest, NothingToPlayIsSaidAndNothingPlays) {
    ASSERT_TRUE(::DeleteFileA(m_files.Call("b.zel", false).c_str()));
    AddHotListRecord(20, 8, "Sub", ""); // Personal's first child is a group
    m_tree.ReloadTree();
    for (const char* pszItem : {"b.zel", "Lost Sales", "Personal"}) {
        if (Item(pszItem) == nullptr)
            m_tree.ExpandAll();
        theApp.m_prompts.clear();
        m_tree.PlayItem(Item(pszItem));
        EXPECT_EQ(theApp.m_prompts,
                  (std::vector<std::string>{"No files have been selected to play."}))
            << pszItem;
    }
    EXPECT_EQ(m_host.m_nPlays, 0);
    EXPECT_FALSE(CPlaybackManager::GetInstance()->IsLoaded());
}

TEST_F(HotListsTreeTest, ARecordingListHoldsTheSelectedLinksInTreeOrder) {
    m_tree.ReloadTree(); // Won Sales never shown: its links still count
    Select({"Won Sales", "Links to Recordings..."});
    m_tree.ExpandAll();
    Select({"Won Sales", "b.zel"});
    m_tree.RunContextCommand(ID_HOTLIST_CREATE_LIST, Item("b.zel"));
    ASSERT_EQ(m_host.m_lists.size(), 1u);
    EXPECT_EQ(m_host.m_lists[0], (std::vector<std::string>{m_files.Call("b.zel", false),
                                                           m_files.Call("c.zel", false)}));

    // Hot lists without links open nothing.
    Select({"Lost Sales", "Personal"});
    m_tree.CreateRecordingList();
    EXPECT_EQ(m_host.m_lists.size(), 1u);
}

TEST_F(HotListsTreeTest, ARecordingListOfAGroupNeverShownHoldsItsLinks) {
    m_tree.ReloadTree();
    Select({"Won Sales"});
    m_tree.CreateRecordingList();
    ASSERT_EQ(m_host.m_lists.size(), 1u);
    EXPECT_EQ(m_host.m_lists[0], (std::vector<std::string>{m_files.Call("c.zel", false)}));
}

// A thread where OLE was not initialised cannot register the drop target:
// the tree says why and still takes dropped files as WM_DROPFILES.
TEST(HotListsTreeWithoutOle, TheTreeTracesTheMissingDropTargetAndStillTakesFiles) {
    CTraceCapture trace;
    BOOL bCreated = FALSE;
    BOOL bAcceptsFiles = FALSE;
    struct SThread {
        static DWORD WINAPI Proc(LPVOID pParam) {
            auto* pResults = static_cast<std::pair<BOOL*, BOOL*>*>(pParam);
            CHotListsTree tree;
            *pResults->first =
                tree.CreateEx(0, WC_TREEVIEWA, "", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0);
            if (*pResults->first) {
                *pResults->second = (tree.GetExStyle() & WS_EX_ACCEPTFILES) != 0;
                tree.DestroyWindow();
            }
            return 0;
        }
    };
    std::pair<BOOL*, BOOL*> results(&bCreated, &bAcceptsFiles);
    HANDLE hThread = ::CreateThread(nullptr, 0, &SThread::Proc, &results, 0, nullptr);
    ASSERT_NE(hThread, nullptr);
    ::WaitForSingleObject(hThread, INFINITE);
    ::CloseHandle(hThread);
    EXPECT_TRUE(bCreated);
    EXPECT_TRUE(bAcceptsFiles);
    EXPECT_TRUE(
        trace.Holds("CHotListsTree::OnCreate: failed to register the control with COleDropTarget"));
    EXPECT_TRUE(trace.Holds(
        "you've probably forgot to initialize OLE libraries using AfxOleInit function"));
}

// ---------------------------------------------------------------------------
// The window with the toolbar

class HotListsToolbarTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(AfxOleInit());
        ASSERT_TRUE(m_host.Make(CRect(500, 100, 600, 200)));
        // The bar asks the frame around it for its buttons' states, as it
        // does in the main frame.
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "hot lists", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                     CRect(100, 100, 400, 520)));
        m_files.FillSampleStore();
        ASSERT_TRUE(m_wnd.Create(WS_CHILD, CRect(10, 10, 290, 410), m_pFrame, 3000));
        m_wnd.ShowWindow(SW_SHOW);
        Tree().InitTree();
        Tree().ExpandAll();
        Settle(100);
    }
    void TearDown() override {
        m_wnd.DestroyWindow();
        if (m_pFrame != nullptr)
            m_pFrame->DestroyWindow();
        m_host.Unmake();
    }
    CHotListsTree& Tree() { return m_wnd.GetHotListsTree(); }
    void Select(std::initializer_list<const char*> names) {
        Tree().DeselectAll();
        for (const char* pszName : names)
            Tree().SetItemSelected(FindItem(Tree(), pszName), TRUE);
    }
    // The names of the enabled buttons after an idle update of the bar.
    std::string EnabledButtons() {
        m_wnd.GetToolbar().SendMessage(WM_IDLEUPDATECMDUI, TRUE);
        std::string names;
        const struct {
            UINT nID;
            const char* pszName;
        } kButtons[] = {{ID_EDIT_CUT, "Cut"},
                        {ID_EDIT_COPY, "Copy"},
                        {ID_EDIT_PASTE, "Paste"},
                        {ID_DELETE_SELECTED, "Delete"},
                        {ID_VALIDATE_LINKS, "Validate"}};
        for (const auto& button : kButtons) {
            if (m_wnd.GetToolbar().SendMessage(TB_ISBUTTONENABLED, button.nID))
                names += (names.empty() ? "" : ",") + std::string(button.pszName);
        }
        return names;
    }

    CHotListsTestFiles m_files;
    CHostWnd m_host;
    CFrameWnd* m_pFrame = nullptr; // deletes itself with its window
    CHotListsTreeWithToolbar m_wnd;
};

TEST_F(HotListsToolbarTest, TheWindowHasTheTreeBelowItsFiveButtons) {
    EXPECT_EQ(m_wnd.GetDlgCtrlID(), 4000);
    EXPECT_EQ(Tree().GetDlgCtrlID(), 3000);
    EXPECT_EQ(m_wnd.GetToolbarId(), static_cast<UINT>(IDR_HOTLISTS_TOOLBAR));
    const UINT kLayout[] = {ID_EDIT_CUT, ID_EDIT_COPY,     ID_EDIT_PASTE, 0, ID_DELETE_SELECTED,
                            0,           ID_VALIDATE_LINKS};
    ASSERT_EQ(m_wnd.GetToolbar().GetCount(), 7);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(m_wnd.GetToolbar().GetItemID(i), kLayout[i]) << i;
    CRect rcBar, rcTree;
    m_wnd.GetToolbar().GetWindowRect(&rcBar);
    Tree().GetWindowRect(&rcTree);
    EXPECT_GT(rcBar.Height(), 15);
    EXPECT_EQ(rcTree.top, rcBar.bottom);
    EXPECT_TRUE(Tree().GetStyle() & TVS_HASBUTTONS);
    EXPECT_TRUE(Tree().GetStyle() & TVS_LINESATROOT);
}

TEST_F(HotListsToolbarTest, TheButtonsFollowTheSelectionAndTheClipboard) {
    const struct {
        std::initializer_list<const char*> selection;
        const char* pszCaret;
        bool bFilesOnClipboard;
        const char* pszEnabled;
    } cases[] = {
        {{}, "a.zel", true, "Validate"},
        {{"a.zel"}, "a.zel", true, "Cut,Copy,Paste,Delete,Validate"},
        {{"a.zel"}, "a.zel", false, "Cut,Copy,Delete,Validate"},
        {{"a.zel", "b.zel"}, "b.zel", true, "Cut,Copy,Delete,Validate"},
        {{"Links to Recordings..."}, "Links to Recordings...", true, "Copy,Paste,Validate"},
    };
    for (const auto& c : cases) {
        Tree().SelectItem(FindItem(Tree(), c.pszCaret));
        Select(c.selection);
        std::string sEnabled;
        EXPECT_TRUE(WithinTenTries([&] {
            const bool bPut = c.bFilesOnClipboard
                                  ? PutFilesOnClipboard(m_host.m_hWnd, {m_files.Call("a.zel")})
                                  : PutTextOnClipboard(m_host.m_hWnd, "text");
            sEnabled = EnabledButtons();
            return bPut && sEnabled == c.pszEnabled;
        })) << c.pszEnabled
            << " got " << sEnabled;
    }
}

TEST_F(HotListsToolbarTest, TheButtonsRunTheirCommands) {
    // Copy: the selection's recordings.
    EXPECT_TRUE(WithinTenTries([&] {
        PutTextOnClipboard(m_host.m_hWnd, "before");
        Tree().SelectItem(FindItem(Tree(), "Won Sales"));
        Select({"Won Sales", "a.zel"});
        m_wnd.SendMessage(WM_COMMAND, ID_EDIT_COPY);
        return ClipboardFiles(m_host.m_hWnd) ==
               std::vector<std::string>{m_files.Call("a.zel", false), m_files.Call("c.zel", false)};
    }));
    // Cut: copied, then gone.
    EXPECT_TRUE(WithinTenTries([&] {
        if (FindItem(Tree(), "a.zel") == nullptr)
            return false;
        Tree().SelectItem(FindItem(Tree(), "a.zel"));
        Select({"a.zel", "b.zel"});
        m_wnd.SendMessage(WM_COMMAND, ID_EDIT_CUT);
        return ClipboardFiles(m_host.m_hWnd) ==
               std::vector<std::string>{m_files.Call("a.zel", false), m_files.Call("b.zel", false)};
    }));
    EXPECT_EQ(StoreOutline(1), "");
    // Paste: below the caret item.
    EXPECT_TRUE(WithinTenTries([&] {
        PutFilesOnClipboard(m_host.m_hWnd,
                            {m_files.Call("a.zel", false), m_files.Call("b.zel", false)});
        Tree().SelectItem(FindItem(Tree(), "Personal"));
        Select({"Personal"});
        m_wnd.SendMessage(WM_COMMAND, ID_EDIT_PASTE);
        return StoreOutline(8) == "a.zel,b.zel";
    }));
    // Delete: the selection; Validate: links to missing files.
    Select({"Lost Sales"});
    Tree().SelectItem(FindItem(Tree(), "Lost Sales"));
    m_wnd.SendMessage(WM_COMMAND, ID_DELETE_SELECTED);
    EXPECT_EQ(FindItem(Tree(), "Lost Sales"), nullptr);
    ASSERT_TRUE(::DeleteFileA(m_files.Call("c.zel", false).c_str()));
    theApp.m_prompts.clear();
    m_wnd.SendMessage(WM_COMMAND, ID_VALIDATE_LINKS);
    EXPECT_EQ(theApp.m_prompts,
              (std::vector<std::string>{
                  "The 1 invalid links to calls ware removed from Hotlists tree."}));
    EXPECT_EQ(StoreOutline(),
              "Links to Recordings...(Important Calls,Won Sales(Region),Personal(a.zel,b.zel))");
}

TEST_F(HotListsToolbarTest, TheTreeWithItsToolbarScreen) {
    m_pFrame->SetForegroundWindow();
    Tree().SetFocus();
    Tree().SelectItem(FindItem(Tree(), "b.zel"));
    Select({"b.zel"});
    // Paste greyed: the clipboard holds no files.
    EXPECT_TRUE(WithinTenTries([&] {
        return PutTextOnClipboard(m_host.m_hWnd, "text") &&
               EnabledButtons() == "Cut,Copy,Delete,Validate";
    }));
    m_pFrame->RedrawWindow(nullptr, nullptr,
                           RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Settle(300);
    CRect rcWnd;
    m_wnd.GetWindowRect(&rcWnd);
    EXPECT_TRUE(SaveScreenPng(rcWnd, "hotlists-toolbar.png"));
    // The orange folder of the groups and the yellow lens of the links show.
    CRect rcItem;
    Tree().GetItemRect(FindItem(Tree(), "Personal"), &rcItem, TRUE);
    Tree().ClientToScreen(&rcItem);
    CCanvas canvas(20, rcItem.Height());
    CaptureScreen(canvas, CRect(rcItem.left - 20, rcItem.top, rcItem.left, rcItem.bottom));
    EXPECT_LT(canvas.Count(RGB(255, 255, 255), CRect(0, 0, 20, rcItem.Height())),
              20 * rcItem.Height() - 40);
}

// ---------------------------------------------------------------------------
// Real input

class HotListsTreeInputTest : public HotListsTreeTest {
protected:
    void SetUp() override {
        HotListsTreeTest::SetUp();
        m_host.SetForegroundWindow();
        Settle(200);
    }
    CPoint OnLabel(const char* pszItem) {
        CRect rect;
        m_tree.GetItemRect(Item(pszItem), &rect, TRUE);
        CPoint point = rect.CenterPoint();
        m_tree.ClientToScreen(&point);
        return point;
    }
    void Click(const char* pszItem, WORD wModifier = 0) {
        SendMouseMove(OnLabel(pszItem));
        Settle(50);
        if (wModifier != 0)
            SendKey(wModifier, false);
        SendLeftClick();
        Settle(100);
        if (wModifier != 0)
            SendKey(wModifier, true);
        Settle(100);
    }
};

TEST_F(HotListsTreeInputTest, AShiftClickAboveTheAnchorSelectsTheRangeInput) {
    Click("b.zel");
    EXPECT_EQ(Selected(), "b.zel");
    Click("Important Calls", VK_SHIFT);
    EXPECT_EQ(Selected(), "Important Calls,a.zel,b.zel");
    Click("Region", VK_CONTROL);
    EXPECT_EQ(Selected(), "Important Calls,a.zel,b.zel,Region");
    Click("Personal");
    EXPECT_EQ(Selected(), "Personal");
}

TEST_F(HotListsTreeInputTest, EditNameRenamesTheHotListLastClickedButNoLinkInput) {
    Click("a.zel");
    m_tree.SendMessage(WM_COMMAND, ID_EDIT_NAME);
    EXPECT_FALSE(m_tree.IsEditing());
    EXPECT_EQ(m_tree.GetEditControl(), nullptr);
    Click("Personal");
    m_tree.SendMessage(WM_COMMAND, ID_EDIT_NAME);
    EXPECT_TRUE(m_tree.IsEditing());
    CEdit* pEdit = m_tree.GetEditControl();
    ASSERT_NE(pEdit, nullptr);
    pEdit->SetWindowText("Coaching");
    m_tree.EndEditLabelNow(FALSE);
    EXPECT_EQ(m_tree.GetItemText(Item("Coaching")), "Coaching");
    EXPECT_EQ(StoreOutline(0), "Important Calls(a.zel,b.zel),Won Sales(Region(c.zel)),Lost "
                               "Sales,Coaching");
}

TEST_F(HotListsTreeInputTest, ADoubleClickOnALinkPlaysItInput) {
    CAudioCapture capture;
    SendMouseMove(OnLabel("b.zel"));
    Settle(50);
    SendLeftClick();
    SendLeftClick();
    PumpUntil([&] { return m_host.m_nPlays > 0; });
    EXPECT_EQ(m_host.m_nPlays, 1);
    EXPECT_EQ(std::string(CPlaybackManager::GetInstance()->GetRecordFile()->GetPath()),
              m_files.Call("b.zel", false));
}

TEST_F(HotListsTreeInputTest, ARightClickShowsTheMenuAndItsChoiceRunsInput) {
    // The menu's "Delete" (position 5) is clicked once the menu shows.
    HMENU hShown = nullptr;
    CUiScript script([] { SendKeyTap(VK_ESCAPE); },
                     {[&] {
                          hShown = CMenu::GetTrackingMenu();
                          if (hShown == nullptr)
                              return false;
                          Settle(200);
                          CRect rcShot;
                          m_host.GetWindowRect(&rcShot);
                          rcShot.right += 220;
                          SaveScreenPng(rcShot, "hotlists-menu.png");
                          CRect rcItem;
                          if (!::GetMenuItemRect(nullptr, hShown, 5, &rcItem))
                              return false;
                          SendMouseMove(rcItem.CenterPoint());
                          return true;
                      },
                      [] {
                          Settle(100);
                          SendLeftClick();
                          return true;
                      },
                      [&] { return CMenu::GetTrackingMenu() == nullptr; }});
    SendMouseMove(OnLabel("b.zel"));
    Settle(50);
    SendMouseButton(MOUSEEVENTF_RIGHTDOWN);
    Settle(50);
    SendMouseButton(MOUSEEVENTF_RIGHTUP);
    EXPECT_TRUE(PumpUntil([&] { return script.Finished() || script.Stalled(); }));
    Settle(100);
    EXPECT_NE(hShown, nullptr);
    EXPECT_FALSE(script.Stalled());
    EXPECT_EQ(StoreOutline(1), "a.zel");
    EXPECT_EQ(::GetCapture(), nullptr);
}

} // namespace
