// Tests of the shortcut tree over a small store (ShortCutTreeFixture.h):
// filling, the folder-path rule and the names of new shortcuts, the context
// menu's enabling (computed, and once through a real right click), recording
// lists, moves, removal, label editing, the accelerators, groups that were
// never expanded, and drags within the tree with the real mouse, whose drop
// arrives through the OLE drop target or as WM_DROPFILES. Screenshots:
// shortcut-tree.png, shortcut-tree-menu.png, shortcut-tree-drag.png.
#include "native/gtest.h"

#include "ShortCutTreeFixture.h"
#include "resource.h"

#include "DropFileList.h"
#include "FilenameEdit.h"

#include "tests/support/AnsweringApp.h"
#include "tests/support/Canvas.h"
#include "tests/support/MouseDrag.h"
#include "tests/support/SyntheticInput.h"
#include "tests/support/TraceCapture.h"
#include "tests/support/UiScript.h"

#include "framework/Edit.h"
#include "framework/Menu.h"
#include "framework/Ole.h"

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

CAnsweringApp theApp;

namespace {

const DWORD kTreeStyle =
    WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT;

const char kFull[] =
    "Shortcuts to Sources..(Sales(North,South,Archive(2008)),Support(Calls),Empty)";

// The commands of the context menu, with the short names the tables use.
const struct {
    UINT nCmd;
    const char* pszName;
} kCommands[] = {
    {ID_SHORTCUT_CREATE_LIST, "List"},   {ID_SHORTCUT_EXPLORE, "Explore"},
    {ID_SHORTCUT_SELECT_ALL, "SelAll"},  {ID_SHORTCUT_NEW_GROUP, "NewGroup"},
    {ID_SHORTCUT_NEW_SHORTCUT, "NewSc"}, {ID_SHORTCUT_RENAME, "Rename"},
    {ID_SHORTCUT_CLEAR, "Clear"},        {ID_SHORTCUT_REMOVE, "Remove"},
};

CPoint ScreenCentre(const CTreeCtrl& tree, HTREEITEM hItem) {
    CRect rect;
    tree.GetItemRect(hItem, rect, TRUE);
    CPoint point = rect.CenterPoint();
    tree.ClientToScreen(&point);
    return point;
}

CUiScript::Step Wait(int nTicks) {
    auto pCount = std::make_shared<int>(0);
    return [pCount, nTicks] { return ++*pCount >= nTicks; };
}

std::vector<int> StoredIDs() {
    std::vector<int> ids;
    for (int id = 0; id < 100; ++id) {
        if (CShortCuts::GetInstance()->Contains(id))
            ids.push_back(id);
    }
    return ids;
}

class ShortCutTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(AfxOleInit());
        FillSampleStore();
        ASSERT_TRUE(m_host.Make(CRect(100, 100, 420, 500)));
        theApp.m_pMainWnd = &m_host;
        ASSERT_TRUE(m_tree.Create(kTreeStyle, CRect(0, 0, 320, 400), &m_host, 3001));
        ASSERT_TRUE(m_tree.InitTree());
    }
    void TearDown() override {
        PumpPending();
        theApp.m_pMainWnd = nullptr;
        m_tree.DestroyWindow();
        m_host.DestroyWindow();
        delete CShortCuts::GetInstance();
    }

    HTREEITEM Item(const char* pszText) const { return FindItem(m_tree, pszText); }
    int ID(const char* pszText) const {
        return static_cast<int>(m_tree.GetItemData(Item(pszText)));
    }
    // Exactly these items selected.
    // The first is the caret item, as a click would make it: a tree with no
    // caret item makes its first item the caret when it takes the focus.
    void Select(const std::vector<const char*>& names) {
        m_tree.SelectItem(Item(names.front()));
        m_tree.DeselectAll();
        for (const char* pszName : names)
            m_tree.SetItemSelected(Item(pszName), TRUE);
    }
    // The commands the menu offers enabled for a click on pszClicked.
    std::string EnabledCommands(const char* pszClicked) const {
        std::string names;
        for (const auto& command : kCommands) {
            if (m_tree.IsContextCommandEnabled(command.nCmd, Item(pszClicked)))
                names += std::string(names.empty() ? "" : " ") + command.pszName;
        }
        return names;
    }
    LRESULT Notify(UINT nCode) {
        NMHDR header = {m_tree.GetSafeHwnd(), 3001, nCode};
        return m_host.SendMessage(WM_NOTIFY, 3001, reinterpret_cast<LPARAM>(&header));
    }

    CListHostWnd m_host;
    CShortCutTree m_tree;
};

// ---------------------------------------------------------------------------
// Paths and names

TEST(ShortCutTreePathTest, AFolderPathHasASeparatorAfterItsLastPoint) {
    const struct {
        const char* pszPath;
        BOOL bFolder;
    } kCases[] = {
        {"C:\\Rec\\Sales", TRUE}, {"C:/Rec/Sales", TRUE},       {"C:\\Rec.2009\\Sales", TRUE},
        {"C:\\Rec\\", TRUE},      {"C:\\Rec\\call.zel", FALSE}, {"D:\\Calls\\2009.Q1", FALSE},
        {"Sales", FALSE},         {"call.zel", FALSE},          {"", FALSE},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(c.bFolder, CShortCutTree::IsFolderPath(c.pszPath)) << c.pszPath;
}

TEST(ShortCutTreePathTest, ANewShortcutIsNamedByTheFoldersLastComponentWithoutExtension) {
    const struct {
        const char* pszPath;
        const char* pszName;
    } kCases[] = {
        {"D:\\Calls\\2009.Q1", "2009"},  {"C:\\Rec\\Sales", "Sales"}, {"C:\\Rec\\Sales\\", "Sales"},
        {"C:\\Rec.old\\Sales", "Sales"}, {"D:\\a.b.c", "a.b"},        {"D:/Calls/May", "May"},
    };
    for (const auto& c : kCases)
        EXPECT_STREQ(c.pszName, CShortCutTree::MakeShortcutName(c.pszPath)) << c.pszPath;
}

// ---------------------------------------------------------------------------
// Filling

TEST_F(ShortCutTreeTest, InitTreeShowsTheTopLevelAndExpandingFillsEachLevelOnce) {
    EXPECT_EQ("Shortcuts to Sources..", TreeOutline(m_tree));
    HTREEITEM hRoot = m_tree.GetRootItem();
    EXPECT_TRUE(m_tree.ItemHasChildren(hRoot));
    m_tree.Expand(hRoot, TVE_EXPAND);
    EXPECT_EQ("Shortcuts to Sources..(Sales,Support,Empty)", TreeOutline(m_tree));
    EXPECT_FALSE(m_tree.ItemHasChildren(Item("Empty")));
    // Collapsing and expanding again does not fill twice.
    m_tree.Expand(hRoot, TVE_COLLAPSE);
    m_tree.Expand(hRoot, TVE_EXPAND);
    EXPECT_EQ("Shortcuts to Sources..(Sales,Support,Empty)", TreeOutline(m_tree));

    m_tree.ExpandAll();
    EXPECT_EQ(kFull, TreeOutline(m_tree));
    int nImage = -1, nSelected = -1;
    m_tree.GetItemImage(Item("Archive"), nImage, nSelected);
    EXPECT_EQ(0, nImage);
    EXPECT_EQ(0, nSelected);
    m_tree.GetItemImage(Item("2008"), nImage, nSelected);
    EXPECT_EQ(2, nImage);
    EXPECT_EQ(2, nSelected);
    EXPECT_EQ(5u, m_tree.GetItemData(Item("2008")));
    EXPECT_STREQ("C:\\Rec\\Archive\\2008", m_tree.GetItemTarget(Item("2008")));

    Settle(200);
    CRect rect;
    m_host.GetWindowRect(rect);
    EXPECT_TRUE(SaveScreenPng(rect, "shortcut-tree.png"));
}

TEST_F(ShortCutTreeTest, ReloadTreeRefillsTheTopLevelAndExpandsOnlyTheFirstItem) {
    m_tree.ExpandAll();
    AddRecord(9, -1, "Second top", "");
    AddRecord(10, 9, "Below", "C:\\Rec\\Below");
    m_tree.ReloadTree();
    EXPECT_EQ("Shortcuts to Sources..(Sales,Support,Empty),Second top", TreeOutline(m_tree));
    EXPECT_TRUE(m_tree.ItemHasChildren(Item("Second top")));
}

// ---------------------------------------------------------------------------
// Context menu

TEST_F(ShortCutTreeTest, TheContextMenuEnablesItsCommandsByTheClickedItemAndTheSelection) {
    m_tree.ExpandAll();
    const struct {
        const char* pszClicked;
        std::vector<const char*> selection;
        const char* pszEnabled;
    } kCases[] = {
        // A shortcut to a folder.
        {"North", {"North"}, "List Explore Rename Remove"},
        // A shortcut to a file: no folder to explore, but a list of itself.
        {"Calls", {"Calls"}, "List Rename Remove"},
        // Groups with and without shortcuts below.
        {"Sales", {"Sales"}, "List SelAll NewGroup NewSc Rename Clear Remove"},
        {"Empty", {"Empty"}, "SelAll NewGroup NewSc Rename Clear Remove"},
        // The root is neither renamed nor removed.
        {"Shortcuts to Sources..", {"Shortcuts to Sources.."}, "List SelAll NewGroup NewSc Clear"},
        // Two selected: only a list and removal.
        {"North", {"North", "Support"}, "List Remove"},
        {"Empty", {"Empty", "Support"}, "Remove"},
        {"Shortcuts to Sources..", {"Shortcuts to Sources..", "North"}, "List"},
    };
    for (const auto& c : kCases) {
        Select(c.selection);
        EXPECT_EQ(c.pszEnabled, EnabledCommands(c.pszClicked)) << c.pszClicked;
    }
}

TEST_F(ShortCutTreeTest, ARealRightClickSelectsTheItemAndShowsTheMenuGreyedAsComputedInput) {
    m_tree.ExpandAll();
    Select({"Sales", "Support"});
    Settle(200);
    // The states read from the menu while it is shown, by command.
    std::vector<std::pair<UINT, bool>> shown;
    std::vector<std::string> texts;
    int nSelectedWhileShown = -1;
    const CPoint ptNorth = ScreenCentre(m_tree, Item("North"));
    std::vector<CUiScript::Step> steps = {
        [=] {
            SendMouseMove(ptNorth);
            return true;
        },
        Wait(3),
        [] {
            SendMouseButton(MOUSEEVENTF_RIGHTDOWN);
            return true;
        },
        Wait(3),
        [] {
            SendMouseButton(MOUSEEVENTF_RIGHTUP);
            return true;
        },
        [] { return CMenu::GetTrackingMenu() != nullptr; },
        Wait(10),
        [&] {
            HMENU hMenu = CMenu::GetTrackingMenu();
            for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i) {
                const UINT nID = ::GetMenuItemID(hMenu, i);
                char szText[64] = "";
                ::GetMenuStringA(hMenu, i, szText, sizeof(szText), MF_BYPOSITION);
                texts.push_back(szText);
                if (nID != 0)
                    shown.push_back(
                        {nID, (::GetMenuState(hMenu, i, MF_BYPOSITION) & MF_GRAYED) == 0});
            }
            nSelectedWhileShown = m_tree.CountSelected();
            CRect rect;
            m_host.GetWindowRect(rect);
            rect.right += 260;
            SaveScreenPng(rect, "shortcut-tree-menu.png");
            ::EndMenu();
            return true;
        },
    };
    CUiScript script([] { ::EndMenu(); }, steps);
    ASSERT_TRUE(PumpUntil([&] { return script.Finished() || script.Stalled(); }));
    ASSERT_FALSE(script.Stalled());
    Settle(100);

    // The click took North alone as the selection, so the shown states are
    // those of a click on North with North selected.
    EXPECT_EQ(1, nSelectedWhileShown);
    const std::vector<std::string> kTexts = {"Create Recording List...",
                                             "Explore",
                                             "",
                                             "Select All",
                                             "New Group",
                                             "New Shortcut",
                                             "Rename\tF2,Ins",
                                             "Clear Shortcuts",
                                             "",
                                             "Remove\tDel"};
    EXPECT_EQ(kTexts, texts);
    ASSERT_EQ(8u, shown.size());
    for (const auto& state : shown)
        EXPECT_EQ(m_tree.IsContextCommandEnabled(state.first, Item("North")) != FALSE, state.second)
            << state.first;
    EXPECT_EQ("List Explore Rename Remove", EnabledCommands("North"));
    EXPECT_EQ(nullptr, CWnd::GetCapture());
    EXPECT_EQ(kFull, TreeOutline(m_tree));
}

// ---------------------------------------------------------------------------
// Recording lists

TEST_F(ShortCutTreeTest, ADoubleClickOnAGroupPostsOneListOfItsShortcutsFolders) {
    m_tree.ExpandAll();
    Select({"Sales"});
    // Handled: the group neither collapses nor expands.
    EXPECT_EQ(1, Notify(NM_DBLCLK));
    PumpPending();
    ASSERT_EQ(1u, m_host.m_lists.size());
    const std::vector<std::string> kFolders = {"C:\\Rec\\Sales\\North", "C:\\Rec\\Sales\\South",
                                               "C:\\Rec\\Archive\\2008"};
    EXPECT_EQ(kFolders, m_host.m_lists[0]);

    m_host.m_lists.clear();
    Select({"Empty"});
    Notify(NM_DBLCLK);
    PumpPending();
    EXPECT_TRUE(m_host.m_lists.empty());
}

TEST_F(ShortCutTreeTest, ARecordingListTakesTheSelectionInTreeOrderWithoutRemovingRepeats) {
    m_tree.ReloadTree(); // Sales and Support never expanded
    Select({"Support", "Sales"});
    m_tree.CreateRecordingList();
    PumpPending();
    ASSERT_EQ(1u, m_host.m_lists.size());
    const std::vector<std::string> kFolders = {"C:\\Rec\\Sales\\North", "C:\\Rec\\Sales\\South",
                                               "C:\\Rec\\Archive\\2008", "C:\\Rec\\call.zel"};
    EXPECT_EQ(kFolders, m_host.m_lists[0]);

    m_host.m_lists.clear();
    // The group, then the shortcut within it: North twice.
    Select({"North", "Sales"});
    m_tree.CreateRecordingList();
    PumpPending();
    ASSERT_EQ(1u, m_host.m_lists.size());
    const std::vector<std::string> kRepeated = {"C:\\Rec\\Sales\\North", "C:\\Rec\\Sales\\South",
                                                "C:\\Rec\\Archive\\2008", "C:\\Rec\\Sales\\North"};
    EXPECT_EQ(kRepeated, m_host.m_lists[0]);
}

// ---------------------------------------------------------------------------
// Records and items

TEST_F(ShortCutTreeTest, AddingUnderAGroupNeverExpandedShowsItsStoredChildrenToo) {
    m_tree.ReloadTree();
    HTREEITEM hSales = Item("Sales");
    ASSERT_NE(nullptr, hSales);
    ASSERT_EQ(nullptr, m_tree.GetChildItem(hSales));
    HTREEITEM hNew = m_tree.AddShortcut(hSales, CShortCuts::GetInstance()->GetNextID(), "West",
                                        "C:\\Rec\\Sales\\West");
    ASSERT_NE(nullptr, hNew);
    EXPECT_EQ("Shortcuts to Sources..(Sales(North,South,Archive,West),Support,Empty)",
              TreeOutline(m_tree));
    m_tree.Expand(hSales, TVE_COLLAPSE);
    m_tree.Expand(hSales, TVE_EXPAND);
    EXPECT_EQ("Shortcuts to Sources..(Sales(North,South,Archive,West),Support,Empty)",
              TreeOutline(m_tree));

    HTREEITEM hGroup = m_tree.AddGroup(Item("Support"), 20, "Team");
    ASSERT_NE(nullptr, hGroup);
    m_tree.ExpandAll();
    EXPECT_EQ(
        "Shortcuts to Sources..(Sales(North,South,Archive(2008),West),Support(Calls,Team),Empty)",
        TreeOutline(m_tree));
    EXPECT_EQ(TreeOutline(m_tree), StoreOutline());
    CTreeStore::ENTRY team{};
    ASSERT_TRUE(CShortCuts::GetInstance()->GetEntryCopy(20, team));
    EXPECT_EQ(6, team.ParentID);
    EXPECT_EQ(1, team.IsGroup);
    EXPECT_STREQ("", team.Target);
}

TEST_F(ShortCutTreeTest, AShortcutWithoutATargetIsNotAdded) {
    m_tree.ExpandAll();
    EXPECT_EQ(nullptr, m_tree.AddShortcut(Item("Empty"), 30, "Nowhere", ""));
    EXPECT_FALSE(CShortCuts::GetInstance()->Contains(30));
    EXPECT_EQ(kFull, TreeOutline(m_tree));
}

TEST_F(ShortCutTreeTest, RemovingAGroupRemovesTheRecordsBelowItEvenWhenNeverExpanded) {
    m_tree.ReloadTree();
    ASSERT_TRUE(m_tree.RemoveItem(Item("Sales")));
    EXPECT_EQ("Shortcuts to Sources..(Support,Empty)", TreeOutline(m_tree));
    EXPECT_EQ((std::vector<int>{0, 6, 7, 8}), StoredIDs());

    m_tree.ExpandAll();
    ASSERT_TRUE(m_tree.RemoveItem(Item("Calls")));
    // The emptied group loses its expand button.
    EXPECT_FALSE(m_tree.ItemHasChildren(Item("Support")));
    EXPECT_EQ((std::vector<int>{0, 6, 8}), StoredIDs());
}

TEST_F(ShortCutTreeTest, DeleteRemovesTheSelectionButNeverTheRoot) {
    m_tree.ExpandAll();
    Select({"Shortcuts to Sources..", "North", "Archive", "2008"});
    // The accelerator table turns the Delete key into the command.
    MSG msg = {};
    msg.hwnd = m_tree.GetSafeHwnd();
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_DELETE;
    msg.lParam = 0x01530001;
    EXPECT_TRUE(m_tree.PreTranslateMessage(&msg));
    EXPECT_EQ("Shortcuts to Sources..(Sales(South),Support(Calls),Empty)", TreeOutline(m_tree));
    EXPECT_EQ(TreeOutline(m_tree), StoreOutline());

    Select({"Shortcuts to Sources.."});
    m_tree.SendMessage(WM_COMMAND, ID_DELETE_SELECTED);
    EXPECT_EQ("Shortcuts to Sources..(Sales(South),Support(Calls),Empty)", TreeOutline(m_tree));
}

TEST_F(ShortCutTreeTest, SelectAllAndClearShortcutsActOnTheGroupsDirectShortcuts) {
    m_tree.ReloadTree();
    Select({"Sales", "Support"});
    m_tree.SelectAllShortcuts(Item("Sales"));
    EXPECT_FALSE(m_tree.IsItemSelected(Item("Sales")));
    EXPECT_TRUE(m_tree.IsItemSelected(Item("North")));
    EXPECT_TRUE(m_tree.IsItemSelected(Item("South")));
    EXPECT_FALSE(m_tree.IsItemSelected(Item("Archive")));
    EXPECT_TRUE(m_tree.IsItemSelected(Item("Support")));

    m_tree.ClearShortcuts(Item("Sales"));
    m_tree.ExpandAll();
    EXPECT_EQ("Shortcuts to Sources..(Sales(Archive(2008)),Support(Calls),Empty)",
              TreeOutline(m_tree));
    EXPECT_EQ(TreeOutline(m_tree), StoreOutline());
    m_tree.ClearShortcuts(Item("Support"));
    EXPECT_FALSE(m_tree.ItemHasChildren(Item("Support")));
}

TEST_F(ShortCutTreeTest, TheNewShortcutCommandNamesTheShortcutAfterTheChosenFolder) {
    m_tree.ExpandAll();
    const struct {
        const char* pszPath; // null: the dialog is cancelled
        const char* pszOutlineOfEmpty;
    } kCases[] = {
        {nullptr, "Empty"},
        {"D:\\Calls\\2009.Q1", "Empty(2009)"},
    };
    for (const auto& c : kCases) {
        CUiScript script([] { ::PostMessage(FindThreadDialog(), WM_COMMAND, IDCANCEL, 0); },
                         {
                             [] { return FindThreadDialog() != nullptr; },
                             [&] {
                                 HWND hDlg = FindThreadDialog();
                                 CFilenameEdit* pPath =
                                     dynamic_cast<CFilenameEdit*>(CWnd::FromHandlePermanent(
                                         ::GetDlgItem(hDlg, IDC_SELECTDIR_PATH)));
                                 if (pPath == nullptr)
                                     return false;
                                 if (c.pszPath != nullptr)
                                     pPath->SetPath(c.pszPath);
                                 ::PostMessage(hDlg, WM_COMMAND, c.pszPath ? IDOK : IDCANCEL, 0);
                                 return true;
                             },
                         });
        m_tree.NewShortcut(Item("Empty"));
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ(c.pszOutlineOfEmpty, TreeOutline(m_tree, Item("Empty")));
    }
    HTREEITEM hNew = Item("2009");
    ASSERT_NE(nullptr, hNew);
    EXPECT_EQ(hNew, m_tree.GetSelectedItem());
    CTreeStore::ENTRY record{};
    ASSERT_TRUE(CShortCuts::GetInstance()->GetEntryCopy(ID("2009"), record));
    EXPECT_STREQ("D:\\Calls\\2009.Q1", record.Target);
    EXPECT_EQ(8, record.ParentID);
    EXPECT_EQ(9, record.ID);
    EXPECT_EQ(0, record.IsGroup);
}

TEST_F(ShortCutTreeTest, TheNewGroupCommandAddsANewGroupAndEditsItsName) {
    m_tree.ReloadTree();
    m_tree.NewGroup(Item("Support"));
    HTREEITEM hNew = Item("New Group");
    ASSERT_NE(nullptr, hNew);
    EXPECT_EQ(hNew, m_tree.GetSelectedItem());
    EXPECT_TRUE(m_tree.IsEditing());
    CEdit* pEdit = m_tree.GetEditControl();
    ASSERT_NE(nullptr, pEdit);
    pEdit->SetWindowText("Team");
    m_tree.EndEditLabelNow(FALSE);
    EXPECT_EQ("Support(Calls,Team),Empty", TreeOutline(m_tree, Item("Support")));
    CTreeStore::ENTRY record{};
    ASSERT_TRUE(CShortCuts::GetInstance()->GetEntryCopy(9, record));
    EXPECT_STREQ("Team", record.Name);
    EXPECT_EQ(1, record.IsGroup);
    EXPECT_EQ(6, record.ParentID);
}

// ---------------------------------------------------------------------------
// Label editing

TEST_F(ShortCutTreeTest, AClearedOrCancelledLabelKeepsTheNameAndANewOneRenamesTheRecord) {
    m_tree.ExpandAll();
    const struct {
        const char* pszTyped;
        BOOL bCancel;
        const char* pszName;
    } kCases[] = {
        {"", FALSE, "North"},
        {"Elsewhere", TRUE, "North"},
        {"North & East", FALSE, "North & East"},
    };
    for (const auto& c : kCases) {
        HTREEITEM hItem = m_tree.GetChildItem(Item("Sales")); // North, whatever its name
        ASSERT_NE(nullptr, hItem);
        m_tree.SelectItem(hItem);
        m_tree.SendMessage(WM_COMMAND, ID_EDIT_NAME);
        CEdit* pEdit = m_tree.GetEditControl();
        ASSERT_NE(nullptr, pEdit) << c.pszTyped;
        EXPECT_TRUE(m_tree.IsEditing());
        EXPECT_TRUE(m_tree.GetStyle() & TVS_EDITLABELS);
        pEdit->SetWindowText(c.pszTyped);
        m_tree.EndEditLabelNow(c.bCancel);
        EXPECT_FALSE(m_tree.IsEditing());
        EXPECT_FALSE(m_tree.GetStyle() & TVS_EDITLABELS);
        CTreeStore::ENTRY record{};
        ASSERT_TRUE(CShortCuts::GetInstance()->GetEntryCopy(2, record));
        EXPECT_STREQ(c.pszName, record.Name) << c.pszTyped;
        EXPECT_STREQ(c.pszName, m_tree.GetItemText(hItem)) << c.pszTyped;
    }
}

// ---------------------------------------------------------------------------
// Moves

TEST_F(ShortCutTreeTest, MovesGoIntoTheTargetsGroupAndNeverPutAGroupBelowItself) {
    const struct {
        const char* pszSource;
        const char* pszTarget;
        BOOL bMoved;
        const char* pszOutline;
    } kCases[] = {
        {"North", "Support", TRUE,
         "Shortcuts to Sources..(Sales(South,Archive(2008)),Support(Calls,North),Empty)"},
        // Onto a shortcut: into its group.
        {"North", "Calls", TRUE,
         "Shortcuts to Sources..(Sales(South,Archive(2008)),Support(Calls,North),Empty)"},
        {"Archive", "Empty", TRUE,
         "Shortcuts to Sources..(Sales(North,South),Support(Calls),Empty(Archive(2008)))"},
        {"Sales", "Archive", FALSE, kFull},
        {"Sales", "2008", FALSE, kFull},
        {"Sales", "Sales", FALSE, kFull},
        {"Sales", "North", FALSE, kFull},
        {"North", "Sales", FALSE, kFull},
        {"North", "South", FALSE, kFull},
    };
    for (const auto& c : kCases) {
        delete CShortCuts::GetInstance();
        FillSampleStore();
        m_tree.InitTree();
        m_tree.ExpandAll();
        const std::string sCase = std::string(c.pszSource) + " onto " + c.pszTarget;
        EXPECT_EQ(c.bMoved, m_tree.MoveItem(Item(c.pszSource), Item(c.pszTarget))) << sCase;
        m_tree.ExpandAll();
        EXPECT_EQ(c.pszOutline, TreeOutline(m_tree)) << sCase;
        EXPECT_EQ(c.pszOutline, StoreOutline()) << sCase;
    }
}

TEST_F(ShortCutTreeTest, AMovedGroupKeepsItsSubtreeAndNamesUnderNewIDs) {
    m_tree.ExpandAll();
    ASSERT_TRUE(m_tree.MoveItem(Item("Sales"), Item("Empty")));
    m_tree.ExpandAll();
    const char* kMoved =
        "Shortcuts to Sources..(Support(Calls),Empty(Sales(North,South,Archive(2008))))";
    EXPECT_EQ(kMoved, TreeOutline(m_tree));
    EXPECT_EQ(kMoved, StoreOutline());
    for (int nOld : {1, 2, 3, 4, 5})
        EXPECT_FALSE(CShortCuts::GetInstance()->Contains(nOld)) << nOld;
    EXPECT_GT(ID("Sales"), 8);
    EXPECT_GT(ID("2008"), 8);
    EXPECT_STREQ("C:\\Rec\\Archive\\2008", m_tree.GetItemTarget(Item("2008")));
}

TEST_F(ShortCutTreeTest, AGroupNeverExpandedMovesWithItsStoredChildren) {
    m_tree.ReloadTree(); // Sales has no child items yet
    ASSERT_EQ(nullptr, m_tree.GetChildItem(Item("Sales")));
    ASSERT_TRUE(m_tree.MoveItem(Item("Sales"), Item("Empty")));
    const char* kMoved =
        "Shortcuts to Sources..(Support(Calls),Empty(Sales(North,South,Archive(2008))))";
    EXPECT_EQ(kMoved, StoreOutline());
    // No record is left below the removed group's ID.
    EXPECT_FALSE(CShortCuts::GetInstance()->HasChildren(1));
    EXPECT_FALSE(CShortCuts::GetInstance()->HasChildren(4));
    EXPECT_EQ(9u, StoredIDs().size());
    m_tree.ExpandAll();
    EXPECT_EQ(kMoved, TreeOutline(m_tree));
}

// ---------------------------------------------------------------------------
// Drops

TEST_F(ShortCutTreeTest, DropsFromOutsideTheTreeAreRefused) {
    m_tree.ExpandAll();
    CDropFileList files;
    files.Add("C:\\Rec\\Other");
    files.BuildBlock();
    HGLOBAL hBlock = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, files.GetBlockSize());
    memcpy(::GlobalLock(hBlock), files.GetBlock(), files.GetBlockSize());
    ::GlobalUnlock(hBlock);

    // Over the tree without a drag of its own: no effect, no files taken.
    COleDataSource source;
    HGLOBAL hOffered = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, files.GetBlockSize());
    memcpy(::GlobalLock(hOffered), files.GetBlock(), files.GetBlockSize());
    ::GlobalUnlock(hOffered);
    ASSERT_TRUE(source.CacheGlobalData(CF_HDROP, hOffered));
    COleDataObject data;
    data.Attach(source.GetDataObject());
    CRect rect;
    m_tree.GetItemRect(Item("Support"), rect, TRUE);
    EXPECT_EQ(DROPEFFECT_NONE,
              m_tree.GetDropTarget().OnDragOver(&m_tree, &data, 0, rect.CenterPoint()));
    EXPECT_FALSE(m_tree.GetExStyle() & WS_EX_ACCEPTFILES);
    EXPECT_FALSE(
        m_tree.GetDropTarget().OnDrop(&m_tree, &data, DROPEFFECT_COPY, rect.CenterPoint()));

    // A dropped-files message that no drag of the tree's own began moves nothing.
    m_tree.GetDropTarget().m_hDropItem = Item("Support");
    m_tree.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(hBlock));
    EXPECT_EQ(kFull, TreeOutline(m_tree));
    EXPECT_EQ(kFull, StoreOutline());
    EXPECT_EQ(nullptr, m_tree.GetDropTarget().m_hDropItem);
}

DWORD WINAPI CreateTreeWithoutOle(LPVOID) {
    CListHostWnd host;
    CShortCutTree tree;
    if (!host.Make(CRect(0, 0, 100, 100)) ||
        !tree.Create(kTreeStyle, CRect(0, 0, 100, 100), &host, 3001))
        return 1;
    tree.DestroyWindow();
    host.DestroyWindow();
    return 0;
}

TEST_F(ShortCutTreeTest, ATreeMadeWithoutOleTracesThatItTakesNoDrops) {
    // A thread of its own, where OLE was never initialised.
    CTraceCapture trace;
    HANDLE hThread = ::CreateThread(nullptr, 0, CreateTreeWithoutOle, nullptr, 0, nullptr);
    ASSERT_NE(nullptr, hThread);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(hThread, 20000));
    DWORD dwExit = 1;
    ::GetExitCodeThread(hThread, &dwExit);
    ::CloseHandle(hThread);
    EXPECT_EQ(0u, dwExit);
    EXPECT_TRUE(
        trace.Holds("CShortCutTree::OnCreate: failed to register the control with COleDropTarget"));
    EXPECT_TRUE(trace.Holds("you've probably forgot to initialize OLE libraries using AfxOleInit"));
}

// A drag with the real mouse from an item to an item of the tree: presses on
// the first, moves past the threshold, waits over the second until ready()
// holds, runs atDrop there and releases. The steps run from a timer, since the
// drag's own loop owns the thread meanwhile.
bool RunDrag(CPoint ptFrom, CPoint ptTo, std::function<bool()> ready,
             std::function<void()> atDrop) {
    return RunMouseDrag(ptFrom, {{ptTo, ready}}, false, atDrop);
}

TEST_F(ShortCutTreeTest, DraggingAShortcutOntoAGroupMovesItThereInput) {
    m_tree.ExpandAll();
    Settle(200);
    HTREEITEM hSupport = Item("Support");
    bool bSawDrag = false;
    ASSERT_TRUE(RunDrag(
        ScreenCentre(m_tree, Item("North")), ScreenCentre(m_tree, hSupport),
        [&] { return m_tree.GetDropTarget().m_hDropItem == hSupport; },
        [&] {
            bSawDrag = m_tree.GetDropTarget().m_hDragStart != nullptr &&
                       m_tree.GetDragItems().GetSize() == 1;
            CRect rect;
            m_host.GetWindowRect(rect);
            SaveScreenPng(rect, "shortcut-tree-drag.png");
        }));
    EXPECT_TRUE(bSawDrag);
    const char* kMoved =
        "Shortcuts to Sources..(Sales(South,Archive(2008)),Support(Calls,North),Empty)";
    EXPECT_EQ(kMoved, TreeOutline(m_tree));
    EXPECT_EQ(kMoved, StoreOutline());
    EXPECT_EQ(0, m_tree.CountSelected());
    EXPECT_EQ(nullptr, m_tree.GetDropTarget().m_hDragStart);
    EXPECT_FALSE(m_tree.GetExStyle() & WS_EX_ACCEPTFILES);
}

TEST_F(ShortCutTreeTest, ADroppedFilesMessageDuringTheTreesOwnDragMovesTheItemsOnceInput) {
    m_tree.ExpandAll();
    Settle(200);
    HTREEITEM hEmpty = Item("Empty");
    bool bAccepting = false;
    ASSERT_TRUE(RunDrag(
        ScreenCentre(m_tree, Item("Archive")), ScreenCentre(m_tree, hEmpty),
        [&] { return m_tree.GetDropTarget().m_hDropItem == hEmpty; },
        [&] {
            // The drop as the platform delivers it to a window that accepts
            // dropped files; the OLE drop that follows finds no drag left.
            bAccepting = (m_tree.GetExStyle() & WS_EX_ACCEPTFILES) != 0;
            CDropFileList files;
            files.Add("C:\\Rec\\Archive\\2008");
            files.BuildBlock();
            HGLOBAL hBlock = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, files.GetBlockSize());
            memcpy(::GlobalLock(hBlock), files.GetBlock(), files.GetBlockSize());
            ::GlobalUnlock(hBlock);
            m_tree.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(hBlock));
        }));
    EXPECT_TRUE(bAccepting);
    const char* kMoved =
        "Shortcuts to Sources..(Sales(North,South),Support(Calls),Empty(Archive(2008)))";
    m_tree.ExpandAll();
    EXPECT_EQ(kMoved, TreeOutline(m_tree));
    EXPECT_EQ(kMoved, StoreOutline());
}

} // namespace
