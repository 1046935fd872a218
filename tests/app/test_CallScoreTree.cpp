// Tests of the call-score tree and its window with a toolbar: filling from the
// store with the pictures by place, scored calls filed below form title and
// scorer (one link per recording, groups for empty titles and names, forms
// since deleted), the context menu's entries and states, delete, validate,
// play and recording lists through the main window, the toolbar's buttons
// and keys, and with real input a double click on a group and on a link.
// Every test has a store, forms and recordings of its own; message boxes are
// answered and kept by CAnsweringApp. Screenshot: callscore-toolbar.png.
#include "native/gtest.h"

#include "CallScore.h"
#include "CallScoreTree.h"
#include "CallScoreTreeRes.h"
#include "ScoredFileListEntry.h"
#include "ScoringRes.h"
#include "Scoring/ScoreFormManager.h"
#include "resource.h"
#include "tests/app/HotListsTreeFixture.h"

#include "Common/PlaybackManager.h"

#include "tests/support/AnsweringApp.h"
#include "tests/support/AudioCapture.h"
#include "tests/support/Canvas.h"
#include "tests/support/SyntheticInput.h"
#include "tests/support/UiScript.h"

#include "framework/CmdUI.h"
#include "framework/FrameWnd.h"
#include "framework/Menu.h"
#include "framework/Ole.h"

#include <functional>
#include <string>
#include <vector>

namespace {

CAnsweringApp theApp;

const DWORD kTreeStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES |
                         TVS_LINESATROOT | TVS_SHOWSELALWAYS;
const char kRoot[] = "Links to Scored Recordings...";

class CCallScoreTreeProbe : public CCallScoreTree {
public:
    using CCallScoreTree::BuildContextMenu;
    using CCallScoreTree::RunContextCommand;
};

void AddCallScoreRecord(int nID, int nParentID, const char* pszName, const std::string& target,
                        int nIsGroup = -1) {
    CTreeStore::ENTRY entry{};
    entry.ID = nID;
    entry.ParentID = nParentID;
    entry.Name = pszName;
    entry.Target = target.c_str();
    entry.IsGroup = nIsGroup >= 0 ? nIsGroup : (target.empty() ? 1 : 0);
    CCallScore::GetInstance()->AddEntry(entry);
}

std::string CallScoreOutline(int nParentID = -1) {
    return StoreOutlineOf(*CCallScore::GetInstance(), nParentID);
}

// The forms the tests score against.
enum { FORM_SALES = 10, FORM_SERVICE = 11, FORM_UNTITLED = 12, FORM_SALES_AGAIN = 13 };

// The test's configuration folders, score forms, a call-score store and a
// "calls" folder of recordings. The sample store, in store order (groups *):
//   0 *Links to Scored Recordings...
//   1   *Sales Form
//   2     *alice
//   3       a.zel
//   4       b.zel
//   5     *bob
//   6       c.zel
//   7   *Service
class CCallScoreTestFiles {
public:
    CCallScoreTestFiles() : m_config("callscore") {
        m_calls = m_temp.File("calls\\");
        ::CreateDirectoryA(m_calls.c_str(), nullptr);
        const struct {
            LONG nID;
            const char* pszTitle;
        } forms[] = {{FORM_SALES, "Sales Form"},
                     {FORM_SERVICE, "Service"},
                     {FORM_UNTITLED, ""},
                     {FORM_SALES_AGAIN, "Sales Form"}};
        for (const auto& f : forms) {
            CScoreFormEntry form(f.nID);
            form.SetTitle(f.pszTitle);
            CScoreFormManager::GetInstance()->AddForm(form);
        }
    }
    ~CCallScoreTestFiles() {
        delete CCallScore::GetInstance();
        CScoreFormManager::GetInstance()->Clear();
    }

    std::string Call(const char* pszName, bool bCreate = true) const {
        const std::string path = m_calls + pszName;
        if (bCreate)
            WriteWholeFile(path, RecordingBytes());
        return path;
    }
    std::string File(const char* pszName) const { return m_temp.File(pszName); }

    void FillSampleStore() const {
        AddCallScoreRecord(0, -1, kRoot, "");
        AddCallScoreRecord(1, 0, "Sales Form", "");
        AddCallScoreRecord(2, 1, "alice", "", 2);
        AddCallScoreRecord(3, 2, "a.zel", Call("a.zel"));
        AddCallScoreRecord(4, 2, "b.zel", Call("b.zel"));
        AddCallScoreRecord(5, 1, "bob", "", 2);
        AddCallScoreRecord(6, 5, "c.zel", Call("c.zel"));
        AddCallScoreRecord(7, 0, "Service", "");
    }

private:
    CStoreTestFolders m_config;
    CTempFolder m_temp;
    std::string m_calls;
};

// A scored recording: one score per (form, scorer) pair.
struct ScoredCall {
    std::string path;
    std::vector<std::pair<LONG, const char*>> scores;
};

class CallScoreTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(AfxOleInit());
        ASSERT_TRUE(m_host.Make(CRect(100, 100, 420, 600)));
        m_files.FillSampleStore();
        ASSERT_TRUE(m_tree.Create(kTreeStyle, CRect(0, 0, 300, 480), &m_host, 3003));
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
    void Select(std::initializer_list<const char*> names) {
        m_tree.DeselectAll();
        for (const char* pszName : names)
            m_tree.SetItemSelected(Item(pszName), TRUE);
    }
    void Score(const ScoredCall& call) {
        CScoredFileListEntry entry;
        entry.SetPath(call.path.c_str());
        for (const auto& score : call.scores)
            entry.SetScore(score.first, score.second, 50.0);
        ASSERT_EQ(entry.GetScoreCount(), static_cast<int>(call.scores.size()));
        m_tree.AddScoredCall(&entry);
    }
    // Whether the tree shows exactly the store's records, each once.
    bool TreeMatchesStore() {
        int nItems = 0;
        for (HTREEITEM h = m_tree.GetRootItem(); h != nullptr; h = m_tree.GetNextTreeItem(h))
            ++nItems;
        return TreeOutline(m_tree) == CallScoreOutline() &&
               nItems == CCallScore::GetInstance()->GetCount();
    }

    CCallScoreTestFiles m_files;
    CHostWnd m_host;
    CCallScoreTreeProbe m_tree;
};

// ---------------------------------------------------------------------------
// Filling

TEST_F(CallScoreTreeTest, ShowsTheStoreWithThePictureOfEachPlace) {
    EXPECT_TRUE(TreeMatchesStore());
    EXPECT_EQ(TreeOutline(m_tree),
              std::string(kRoot) + "(Sales Form(alice(a.zel,b.zel),bob(c.zel)),Service)");
    const struct {
        const char* pszItem;
        int nImage;
        BOOL bChildren;
    } cases[] = {{kRoot, CCallScoreTree::IMAGE_ROOT, TRUE},
                 {"Sales Form", CCallScoreTree::IMAGE_FORM, TRUE},
                 {"Service", CCallScoreTree::IMAGE_FORM, FALSE},
                 {"alice", CCallScoreTree::IMAGE_SCORER, TRUE},
                 {"c.zel", CCallScoreTree::IMAGE_CALL, FALSE}};
    for (const auto& c : cases) {
        int nImage = -1, nSelected = -1;
        m_tree.GetItemImage(Item(c.pszItem), nImage, nSelected);
        EXPECT_EQ(nImage, c.nImage) << c.pszItem;
        EXPECT_EQ(nSelected, c.nImage) << c.pszItem;
        EXPECT_EQ(m_tree.ItemHasChildren(Item(c.pszItem)), c.bChildren) << c.pszItem;
    }
    // Labels are never edited.
    EXPECT_FALSE(m_tree.GetStyle() & TVS_EDITLABELS);
}

// ---------------------------------------------------------------------------
// Filing scored calls

TEST_F(CallScoreTreeTest, ScoredCallsAreFiledBelowFormAndScorerOncePerRecording) {
    const std::string a = m_files.Call("a.zel", false);
    const std::string d = m_files.Call("d.zel");
    // A recording of another folder with the file name of a.zel.
    const std::string otherA = m_files.File("a.zel");
    const std::string upperA = a.substr(0, a.size() - 5) + "A.ZEL";
    const std::string head = std::string(kRoot) + "(Sales Form(alice(a.zel,b.zel),bob(c.zel)";
    const struct {
        const char* pszCase;
        ScoredCall call;
        std::string outline; // of the store and the tree after the call
    } steps[] = {
        {"scored again by the same scorer", {a, {{FORM_SALES, "alice"}}}, head + "),Service)"},
        {"the same path in other letters", {upperA, {{FORM_SALES, "alice"}}}, head + "),Service)"},
        {"another scorer", {a, {{FORM_SALES, "carol"}}}, head + ",carol(a.zel)),Service)"},
        {"two forms, one of them with the title of another",
         {d, {{FORM_SERVICE, "alice"}, {FORM_SALES_AGAIN, "bob"}}},
         head.substr(0, head.size() - 1) + ",d.zel),carol(a.zel)),Service(alice(d.zel)))"},
        {"another recording with the same file name",
         {otherA, {{FORM_SALES, "alice"}}},
         std::string(kRoot) + "(Sales Form(alice(a.zel,b.zel,a.zel),bob(c.zel,d.zel),carol("
                              "a.zel)),Service(alice(d.zel)))"},
        {"no title, no scorer",
         {d, {{FORM_UNTITLED, ""}}},
         std::string(kRoot) + "(Sales Form(alice(a.zel,b.zel,a.zel),bob(c.zel,d.zel),carol("
                              "a.zel)),Service(alice(d.zel)),Untitled Form(Unknown User(d.zel)))"},
    };
    for (const auto& step : steps) {
        Score(step.call);
        EXPECT_EQ(CallScoreOutline(), step.outline) << step.pszCase;
        EXPECT_TRUE(TreeMatchesStore()) << step.pszCase;
    }
    // The groups made: form groups 1, scorer groups 2; the last link made is
    // the caret item and shows.
    const struct {
        const char* pszName;
        int nParentID;
        int nIsGroup;
        int nImage;
    } made[] = {{"Untitled Form", 0, 1, CCallScoreTree::IMAGE_FORM},
                {"carol", 1, 2, CCallScoreTree::IMAGE_SCORER}};
    for (const auto& m : made) {
        const CTreeStore::ENTRY* pGroup = nullptr;
        for (int nID = 0; nID < 40 && pGroup == nullptr; ++nID) {
            const CTreeStore::ENTRY* p = CCallScore::GetInstance()->GetEntry(nID);
            if (p != nullptr && p->Name == m.pszName)
                pGroup = p;
        }
        ASSERT_NE(pGroup, nullptr) << m.pszName;
        EXPECT_EQ(pGroup->ParentID, m.nParentID) << m.pszName;
        EXPECT_EQ(pGroup->IsGroup, m.nIsGroup) << m.pszName;
        int nImage = -1, nSelected = -1;
        m_tree.GetItemImage(Item(m.pszName), nImage, nSelected);
        EXPECT_EQ(nImage, m.nImage) << m.pszName;
    }
    const HTREEITEM hCaret = m_tree.GetSelectedItem();
    EXPECT_EQ(m_tree.GetItemText(m_tree.GetParentItem(hCaret)), "Unknown User");
    EXPECT_EQ(m_tree.GetItemTarget(hCaret), CString(d.c_str()));
    EXPECT_TRUE(m_tree.GetItemState(Item("Untitled Form"), TVIS_EXPANDED) & TVIS_EXPANDED);
}

TEST_F(CallScoreTreeTest, NothingIsFiledWithoutAnEntryOrAFormThatStillExists) {
    const std::string before = CallScoreOutline();
    m_tree.AddScoredCall(nullptr);
    EXPECT_EQ(CallScoreOutline(), before);

    CScoredFileListEntry entry;
    entry.SetPath(m_files.Call("e.zel").c_str());
    entry.SetScore(FORM_SERVICE, "alice", 80.0);
    entry.SetScore(FORM_SALES, "dave", 70.0);
    CScoreFormManager::GetInstance()->RemoveForm(FORM_SERVICE);
    m_tree.AddScoredCall(&entry);
    EXPECT_EQ(CallScoreOutline(),
              std::string(kRoot) +
                  "(Sales Form(alice(a.zel,b.zel),bob(c.zel),dave(e.zel)),Service)");
    EXPECT_TRUE(TreeMatchesStore());
}

// A group filed below a form group whose items were never filled (a store
// edited by someone else) shows its stored siblings once.
TEST_F(CallScoreTreeTest, FilingBelowAGroupNeverExpandedShowsItsLinksOnce) {
    m_tree.DestroyWindow();
    ASSERT_TRUE(m_tree.Create(kTreeStyle, CRect(0, 0, 300, 480), &m_host, 3003));
    ASSERT_TRUE(m_tree.InitTree()); // the top level only
    EXPECT_EQ(TreeOutline(m_tree), kRoot);
    Score({m_files.Call("f.zel"), {{FORM_SALES, "bob"}}});
    m_tree.ExpandAll();
    EXPECT_EQ(CallScoreOutline(),
              std::string(kRoot) + "(Sales Form(alice(a.zel,b.zel),bob(c.zel,f.zel)),Service)");
    EXPECT_TRUE(TreeMatchesStore());
}

TEST_F(CallScoreTreeTest, AGroupIsFoundByItsExactNameAndALinkByItsPath) {
    const struct {
        const char* pszParent;
        const char* pszName;
        const char* pszFound; // null: none
    } finds[] = {{kRoot, "Sales Form", "Sales Form"},
                 {kRoot, "sales form", nullptr},
                 {"Service", "Service", nullptr},
                 {"alice", "b.zel", "b.zel"}};
    for (const auto& f : finds) {
        const HTREEITEM hFound = m_tree.FindChildByName(Item(f.pszParent), f.pszName);
        EXPECT_EQ(hFound, f.pszFound != nullptr ? Item(f.pszFound) : nullptr) << f.pszName;
    }
    // No link without a path or a parent; none twice below one scorer, at
    // any depth below the group given.
    EXPECT_EQ(m_tree.AddCallLink(Item("bob"), "", "x.zel"), nullptr);
    EXPECT_EQ(m_tree.AddCallLink(nullptr, m_files.Call("x.zel").c_str(), "x.zel"), nullptr);
    EXPECT_EQ(m_tree.AddCallLink(Item("Sales Form"), m_files.Call("c.zel", false).c_str(), "c"),
              nullptr);
    // A group with an ID in use adds nothing.
    EXPECT_EQ(m_tree.AddGroup(Item("Service"), "eve", 3), nullptr);
    EXPECT_EQ(CallScoreOutline(),
              std::string(kRoot) + "(Sales Form(alice(a.zel,b.zel),bob(c.zel)),Service)");
}

// ---------------------------------------------------------------------------
// The context menu

TEST_F(CallScoreTreeTest, TheMenuHoldsItsEntriesGreyedByClickedItemAndSelection) {
    const struct {
        const char* pszClicked;
        std::initializer_list<const char*> selection;
        const char* pszEnabled; // positions 0, 1, 3, 5, 6 as P, L, D, M, V
    } cases[] = {
        {"a.zel", {"a.zel"}, "PDMV"},
        {"a.zel", {"a.zel", "b.zel", "c.zel"}, "DMV"},
        {"alice", {"alice"}, "LDMV"},
        {kRoot, {kRoot}, "LMV"},
    };
    const char* const kTexts[] = {"Play\tCtrl+P",
                                  "Create Recording List...",
                                  "",
                                  "Delete\tDel",
                                  "",
                                  "Manage Call Score Forms",
                                  "Validate Links"};
    const char kLetters[] = "PL?D?MV";
    for (const auto& c : cases) {
        Select(c.selection);
        CMenu menu;
        ASSERT_TRUE(menu.CreatePopupMenu());
        m_tree.BuildContextMenu(menu, Item(c.pszClicked));
        ASSERT_EQ(menu.GetMenuItemCount(), 7);
        std::string enabled;
        for (int i = 0; i < 7; ++i) {
            CString strText;
            menu.GetMenuString(i, strText, MF_BYPOSITION);
            EXPECT_EQ(std::string(strText), kTexts[i]) << i;
            if (kTexts[i][0] == '\0') {
                EXPECT_EQ(menu.GetMenuItemID(i), 0u) << i;
                continue;
            }
            if (!(menu.GetMenuState(i, MF_BYPOSITION) & MF_GRAYED))
                enabled += kLetters[i];
        }
        EXPECT_EQ(enabled, c.pszEnabled) << c.pszClicked << " of " << c.selection.size();
        menu.DestroyMenu();
    }
}

// ---------------------------------------------------------------------------
// Commands

TEST_F(CallScoreTreeTest, DeleteRemovesTheSelectionWithTheRecordsBelowButNeverTheRoot) {
    const struct {
        const char* pszCase;
        std::initializer_list<const char*> selection;
        std::string outline;
    } cases[] = {
        {"a link and a scorer with its link",
         {"a.zel", "bob", "c.zel", kRoot},
         std::string(kRoot) + "(Sales Form(alice(b.zel)),Service)"},
        {"a form whose links are not selected", {"Sales Form"}, std::string(kRoot) + "(Service)"},
        {"the root alone", {kRoot}, std::string(kRoot) + "(Service)"},
    };
    for (const auto& c : cases) {
        Select(c.selection);
        m_tree.RunContextCommand(ID_DELETE_SELECTED, Item(c.selection.begin()[0]));
        EXPECT_EQ(CallScoreOutline(), c.outline) << c.pszCase;
        EXPECT_TRUE(TreeMatchesStore()) << c.pszCase;
    }
    EXPECT_TRUE(theApp.m_prompts.empty());
}

TEST_F(CallScoreTreeTest, TheDeleteKeyRemovesTheSelection) {
    Select({"b.zel"});
    MSG msg = {m_tree.m_hWnd, WM_KEYDOWN, VK_DELETE, 0x00530001, 0, {0, 0}};
    EXPECT_TRUE(m_tree.PreTranslateMessage(&msg));
    EXPECT_EQ(CallScoreOutline(2), "a.zel");
    // Keys the tree does not take reach the tree's parent as usual.
    MSG other = {m_tree.m_hWnd, WM_KEYDOWN, VK_F2, 0x003C0001, 0, {0, 0}};
    EXPECT_FALSE(m_tree.PreTranslateMessage(&other));
}

TEST_F(CallScoreTreeTest, ValidationRemovesLinksToMissingFilesAndSaysHowMany) {
    ASSERT_TRUE(::DeleteFileA(m_files.Call("a.zel", false).c_str()));
    ASSERT_TRUE(::DeleteFileA(m_files.Call("c.zel", false).c_str()));
    m_tree.RunContextCommand(ID_VALIDATE_LINKS, Item(kRoot));
    EXPECT_EQ(theApp.m_prompts,
              (std::vector<std::string>{
                  "The 2 invalid links to calls ware removed from CallScore tree."}));
    EXPECT_EQ(CallScoreOutline(), std::string(kRoot) + "(Sales Form(alice(b.zel),bob),Service)");
    EXPECT_TRUE(TreeMatchesStore());
    // The scorer that lost its last link loses its expand button.
    EXPECT_FALSE(m_tree.ItemHasChildren(Item("bob")));
    theApp.m_prompts.clear();
    m_tree.ValidateLinks();
    EXPECT_EQ(theApp.m_prompts, (std::vector<std::string>{"All links to calls are valid."}));
}

TEST_F(CallScoreTreeTest, PlayingLoadsTheLinkOrTheGroupsFirstAndTellsThePlayer) {
    CAudioCapture capture;
    CPlaybackManager* pEngine = CPlaybackManager::GetInstance();
    const struct {
        const char* pszItem;
        std::string loaded;
    } cases[] = {
        {"b.zel", m_files.Call("b.zel", false)},
        {"alice", m_files.Call("a.zel", false)},
    };
    for (const auto& c : cases) {
        const int nPlays = m_host.m_nPlays;
        m_tree.RunContextCommand(ID_CALLSCORE_PLAY, Item(c.pszItem));
        EXPECT_TRUE(pEngine->IsLoaded()) << c.pszItem;
        EXPECT_EQ(std::string(pEngine->GetRecordFile()->GetPath()), c.loaded) << c.pszItem;
        EXPECT_EQ(m_host.m_nPlays, nPlays + 1) << c.pszItem;
        pEngine->Unload();
    }
    // The command plays each selected item in tree order, never the root:
    // the last one is left playing.
    Select({kRoot, "c.zel", "a.zel"});
    const int nPlays = m_host.m_nPlays;
    m_tree.SendMessage(WM_COMMAND, ID_CALLSCORE_PLAY);
    EXPECT_EQ(m_host.m_nPlays, nPlays + 2);
    ASSERT_TRUE(pEngine->IsLoaded());
    EXPECT_EQ(std::string(pEngine->GetRecordFile()->GetPath()), m_files.Call("c.zel", false));
    EXPECT_TRUE(theApp.m_prompts.empty());
}

TEST_F(CallScoreTreeTest, NothingToPlayIsSaidAndNothingPlays) {
    ASSERT_TRUE(::DeleteFileA(m_files.Call("b.zel", false).c_str()));
    // b.zel is gone, Service holds nothing, Sales Form's first child is a group.
    for (const char* pszItem : {"b.zel", "Service", "Sales Form"}) {
        theApp.m_prompts.clear();
        m_tree.PlayItem(Item(pszItem));
        EXPECT_EQ(theApp.m_prompts,
                  (std::vector<std::string>{"No files have been selected to play."}))
            << pszItem;
    }
    EXPECT_EQ(m_host.m_nPlays, 0);
    EXPECT_FALSE(CPlaybackManager::GetInstance()->IsLoaded());
}

TEST_F(CallScoreTreeTest, ARecordingListHoldsTheLinksBelowTheClickedGroup) {
    const struct {
        const char* pszClicked;
        std::vector<std::string> list; // empty: none opened
    } cases[] = {
        {"Sales Form",
         {m_files.Call("a.zel", false), m_files.Call("b.zel", false),
          m_files.Call("c.zel", false)}},
        {"bob", {m_files.Call("c.zel", false)}},
        {"Service", {}},
    };
    for (const auto& c : cases) {
        m_host.m_lists.clear();
        m_tree.RunContextCommand(ID_CALLSCORE_CREATE_LIST, Item(c.pszClicked));
        if (c.list.empty()) {
            EXPECT_TRUE(m_host.m_lists.empty()) << c.pszClicked;
            continue;
        }
        ASSERT_EQ(m_host.m_lists.size(), 1u) << c.pszClicked;
        EXPECT_EQ(m_host.m_lists[0], c.list) << c.pszClicked;
    }
    // Without a main window to open it, nothing is opened.
    CKWArray<CCallScoreTree::HOTLISTTREEITEM> links(0, 10);
    m_tree.CollectCalls(links, m_tree.GetChildItem(Item("alice")));
    EXPECT_EQ(links.GetSize(), 2);
    AfxGetApp()->m_pMainWnd = nullptr;
    EXPECT_FALSE(m_tree.CreateRecordingList(links));
    AfxGetApp()->m_pMainWnd = &m_host;
    EXPECT_TRUE(m_host.m_lists.empty());
}

// ---------------------------------------------------------------------------
// The window with the toolbar

class CallScoreToolbarTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(AfxOleInit());
        ASSERT_TRUE(m_host.Make(CRect(500, 100, 600, 200)));
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(nullptr, "call scores",
                                     WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                     CRect(100, 100, 400, 520)));
        m_files.FillSampleStore();
        ASSERT_TRUE(m_wnd.Create(WS_CHILD, CRect(10, 10, 290, 410), m_pFrame, 3003));
        m_wnd.ShowWindow(SW_SHOW);
        Tree().InitTree();
        Tree().ExpandAll();
        theApp.m_prompts.clear();
        Settle(100);
    }
    void TearDown() override {
        CPlaybackManager::GetInstance()->Unload();
        m_wnd.DestroyWindow();
        if (m_pFrame != nullptr)
            m_pFrame->DestroyWindow();
        m_host.Unmake();
    }
    CCallScoreTree& Tree() { return m_wnd.GetCallScoreTree(); }
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
        } kButtons[] = {{ID_CALLSCORE_PLAY, "Play"},
                        {ID_DELETE_SELECTED, "Delete"},
                        {ID_CALLSCORE_MANAGE_FORMS, "Forms"},
                        {ID_VALIDATE_LINKS, "Validate"}};
        for (const auto& button : kButtons) {
            if (m_wnd.GetToolbar().SendMessage(TB_ISBUTTONENABLED, button.nID))
                names += (names.empty() ? "" : ",") + std::string(button.pszName);
        }
        return names;
    }

    CCallScoreTestFiles m_files;
    CHostWnd m_host;
    CFrameWnd* m_pFrame = nullptr; // deletes itself with its window
    CCallScoreTreeWithToolbar m_wnd;
};

TEST_F(CallScoreToolbarTest, TheWindowHasTheTreeBelowItsFourButtons) {
    EXPECT_EQ(m_wnd.GetDlgCtrlID(), 4003);
    EXPECT_EQ(Tree().GetDlgCtrlID(), 3003);
    EXPECT_EQ(m_wnd.GetToolbarId(), static_cast<UINT>(IDR_CALLSCORE_TOOLBAR));
    const UINT kLayout[] = {ID_CALLSCORE_PLAY, 0, ID_DELETE_SELECTED, 0, ID_CALLSCORE_MANAGE_FORMS,
                            ID_VALIDATE_LINKS};
    ASSERT_EQ(m_wnd.GetToolbar().GetCount(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(m_wnd.GetToolbar().GetItemID(i), kLayout[i]) << i;
    // The tips are the commands' texts.
    const struct {
        UINT nID;
        const char* pszTip;
    } tips[] = {{ID_CALLSCORE_PLAY, "Play"},
                {ID_DELETE_SELECTED, "Delete selected items"},
                {ID_CALLSCORE_MANAGE_FORMS, "Manage Call Score Forms"},
                {ID_VALIDATE_LINKS, "Validate Links"}};
    for (const auto& t : tips) {
        CString strText;
        EXPECT_TRUE(strText.LoadString(t.nID)) << t.pszTip;
        EXPECT_EQ(std::string(strText), t.pszTip);
    }
    CRect rcBar, rcTree;
    m_wnd.GetToolbar().GetWindowRect(&rcBar);
    Tree().GetWindowRect(&rcTree);
    EXPECT_GT(rcBar.Height(), 15);
    EXPECT_EQ(rcTree.top, rcBar.bottom);
    const DWORD dwStyle = Tree().GetStyle();
    EXPECT_TRUE((dwStyle & (TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT)) ==
                (TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT));
    EXPECT_FALSE(dwStyle & TVS_EDITLABELS);
}

TEST_F(CallScoreToolbarTest, PlayAndDeleteNeedASelectionAndACaretOtherThanTheRoot) {
    const struct {
        std::initializer_list<const char*> selection;
        const char* pszCaret; // null: no caret item
        const char* pszEnabled;
    } cases[] = {
        {{}, "a.zel", "Forms,Validate"},
        {{"a.zel"}, "a.zel", "Play,Delete,Forms,Validate"},
        {{"a.zel", "bob"}, "bob", "Play,Delete,Forms,Validate"},
        {{kRoot}, kRoot, "Forms,Validate"},
        {{"b.zel"}, kRoot, "Forms,Validate"},
        {{"b.zel"}, nullptr, "Play,Delete,Forms,Validate"},
    };
    for (const auto& c : cases) {
        Tree().SelectItem(c.pszCaret != nullptr ? FindItem(Tree(), c.pszCaret) : nullptr);
        Select(c.selection);
        EXPECT_EQ(EnabledButtons(), c.pszEnabled) << (c.pszCaret ? c.pszCaret : "no caret");
    }
}

TEST_F(CallScoreToolbarTest, TheButtonsRunTheirCommands) {
    CAudioCapture capture;
    Tree().SelectItem(FindItem(Tree(), "c.zel"));
    Select({"c.zel"});
    m_wnd.SendMessage(WM_COMMAND, ID_CALLSCORE_PLAY);
    EXPECT_EQ(m_host.m_nPlays, 1);
    Tree().SelectItem(FindItem(Tree(), "alice"));
    Select({"alice"});
    m_wnd.SendMessage(WM_COMMAND, ID_DELETE_SELECTED);
    EXPECT_EQ(CallScoreOutline(), std::string(kRoot) + "(Sales Form(bob(c.zel)),Service)");
    CPlaybackManager::GetInstance()->Unload();
    ASSERT_TRUE(::DeleteFileA(m_files.Call("c.zel", false).c_str()));
    m_wnd.SendMessage(WM_COMMAND, ID_VALIDATE_LINKS);
    EXPECT_EQ(theApp.m_prompts,
              (std::vector<std::string>{
                  "The 1 invalid links to calls ware removed from CallScore tree."}));
    EXPECT_EQ(CallScoreOutline(), std::string(kRoot) + "(Sales Form(bob),Service)");
}

TEST_F(CallScoreToolbarTest, ManageCallScoreFormsOpensTheFormsDialogWithoutAParent) {
    const std::vector<std::string> before = {TreeOutline(Tree()), CallScoreOutline()};
    std::string caption;
    HWND hOwner = reinterpret_cast<HWND>(1);
    CUiScript script([] { ::EndMenu(); },
                     {[&] { return FindThreadDialog(m_pFrame->m_hWnd) != nullptr; },
                      [&] {
                          HWND hDlg = FindThreadDialog(m_pFrame->m_hWnd);
                          char szText[64] = {};
                          ::GetWindowTextA(hDlg, szText, sizeof(szText));
                          caption = szText;
                          hOwner = ::GetWindow(hDlg, GW_OWNER);
                          ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
                          return true;
                      }});
    m_wnd.SendMessage(WM_COMMAND, ID_CALLSCORE_MANAGE_FORMS);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(caption, "Manage Call Score Forms");
    EXPECT_NE(hOwner, m_wnd.m_hWnd);
    EXPECT_NE(hOwner, Tree().m_hWnd);
    // Nothing in the tree is refreshed afterwards.
    EXPECT_EQ((std::vector<std::string>{TreeOutline(Tree()), CallScoreOutline()}), before);
}

TEST_F(CallScoreToolbarTest, TheTreeWithItsToolbarScreen) {
    m_pFrame->SetForegroundWindow();
    Tree().SetFocus();
    Tree().SelectItem(FindItem(Tree(), "b.zel"));
    Select({"b.zel", "c.zel"});
    EXPECT_EQ(EnabledButtons(), "Play,Delete,Forms,Validate");
    m_pFrame->RedrawWindow(nullptr, nullptr,
                           RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Settle(300);
    CRect rcWnd;
    m_wnd.GetWindowRect(&rcWnd);
    EXPECT_TRUE(SaveScreenPng(rcWnd, "callscore-toolbar.png"));
    // Each place shows a picture left of its label.
    for (const char* pszItem : {kRoot, "Sales Form", "alice", "a.zel"}) {
        CRect rcItem;
        Tree().GetItemRect(FindItem(Tree(), pszItem), &rcItem, TRUE);
        Tree().ClientToScreen(&rcItem);
        CCanvas canvas(16, rcItem.Height());
        CaptureScreen(canvas, CRect(rcItem.left - 18, rcItem.top, rcItem.left - 2, rcItem.bottom));
        EXPECT_LT(canvas.Count(RGB(255, 255, 255), CRect(0, 0, 16, rcItem.Height())),
                  16 * rcItem.Height() - 20)
            << pszItem;
    }
}

// ---------------------------------------------------------------------------
// Real input

class CallScoreTreeInputTest : public CallScoreTreeTest {
protected:
    void SetUp() override {
        CallScoreTreeTest::SetUp();
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
    void DoubleClick(const char* pszItem) {
        SendMouseMove(OnLabel(pszItem));
        Settle(50);
        SendLeftClick();
        SendLeftClick();
        Settle(300);
    }
    // Pumps as the program's message loop does: windows translate their
    // keys first.
    bool PumpTranslatingUntil(const std::function<bool()>& done) {
        for (DWORD dwStart = ::GetTickCount(); ::GetTickCount() - dwStart < 5000;) {
            MSG msg;
            while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (!AfxGetApp()->PreTranslateMessage(&msg)) {
                    ::TranslateMessage(&msg);
                    ::DispatchMessageA(&msg);
                }
            }
            if (done())
                return true;
            ::Sleep(10);
        }
        return false;
    }
    bool IsExpanded(const char* pszItem) {
        return (m_tree.GetItemState(Item(pszItem), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
    }
};

TEST_F(CallScoreTreeInputTest, ADoubleClickOnAGroupOpensItsLinksOrTogglesItInput) {
    // A group without links below it: nothing opens, the control collapses it.
    AddCallScoreRecord(20, 0, "Empty", "");
    AddCallScoreRecord(21, 20, "nobody", "", 2);
    m_tree.InitTree();
    m_tree.ExpandAll();
    ASSERT_TRUE(IsExpanded("Empty"));
    DoubleClick("Empty");
    EXPECT_TRUE(m_host.m_lists.empty());
    EXPECT_FALSE(IsExpanded("Empty"));
    // A group with links: they open as a list and the group stays open.
    DoubleClick("bob");
    ASSERT_EQ(m_host.m_lists.size(), 1u);
    EXPECT_EQ(m_host.m_lists[0], (std::vector<std::string>{m_files.Call("c.zel", false)}));
    EXPECT_TRUE(IsExpanded("bob"));
    EXPECT_EQ(m_host.m_nPlays, 0);
}

TEST_F(CallScoreTreeInputTest, ADoubleClickOnALinkAndCtrlPPlayInput) {
    CAudioCapture capture;
    DoubleClick("b.zel");
    EXPECT_TRUE(PumpUntil([&] { return m_host.m_nPlays > 0; }));
    EXPECT_EQ(m_host.m_nPlays, 1);
    EXPECT_EQ(std::string(CPlaybackManager::GetInstance()->GetRecordFile()->GetPath()),
              m_files.Call("b.zel", false));
    // Ctrl+P plays the selection, Delete removes it.
    Select({"c.zel"});
    ASSERT_EQ(::GetFocus(), m_tree.m_hWnd);
    SendKey(VK_CONTROL, false);
    SendKeyTap('P');
    SendKey(VK_CONTROL, true);
    EXPECT_TRUE(PumpTranslatingUntil([&] { return m_host.m_nPlays > 1; }));
    EXPECT_EQ(std::string(CPlaybackManager::GetInstance()->GetRecordFile()->GetPath()),
              m_files.Call("c.zel", false));
    SendKeyTap(VK_DELETE);
    EXPECT_TRUE(PumpTranslatingUntil([&] { return CallScoreOutline(5).empty(); }));
}

} // namespace
