// Tests of the question tree and its window with a toolbar: filling lazily
// and ExpandAll, the item pictures, adding groups and questions (where they
// go, their IDs, no item twice below a parent never expanded), editing a
// question and the label that follows its prompt, renaming, deleting marked
// items with the entries below them, the context menu's states and the item
// its commands act on, the toolbar's states, export and import with their
// messages, and with real input Shift and Ctrl clicks, the read-only mode, a
// double click and the context menu. Every test has configuration folders and
// an emptied repository of its own (QuestionsTreeFixture.h); message boxes
// are answered and kept. Screenshots: questions-toolbar.png, questions-menu.png.
#include "native/gtest.h"

#include "QuestionsRes.h"
#include "QuestionsTree.h"
#include "ScoringRes.h"
#include "resource.h"
#include "tests/app/QuestionsTreeFixture.h"

#include "tests/support/AnsweringApp.h"
#include "tests/support/Canvas.h"
#include "tests/support/SyntheticInput.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UiScript.h"

#include "framework/Edit.h"
#include "framework/Menu.h"

#include <string>
#include <vector>

namespace {

// Keeps the icon of every message box beside its text.
class CIconAnsweringApp : public CAnsweringApp {
public:
    int DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT nIDPrompt) override {
        m_icons.push_back(nType & MB_ICONMASK);
        return CAnsweringApp::DoMessageBox(lpszPrompt, nType, nIDPrompt);
    }
    std::vector<UINT> m_icons;
};

CIconAnsweringApp theApp;

const DWORD kTreeStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES |
                         TVS_LINESATROOT | TVS_SHOWSELALWAYS;

class CQuestionsTreeProbe : public CQuestionsTree {
public:
    using CQuestionsTree::BuildContextMenu;
    using CQuestionsTree::RunContextCommand;
};

class QuestionsTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_host.Make(CRect(100, 100, 420, 560)));
        CQuestionsTestFolders::FillSample();
        ASSERT_TRUE(m_tree.Create(kTreeStyle, CRect(0, 0, 300, 440), &m_host, 3000));
        ASSERT_EQ(1, m_tree.InitTree());
        theApp.m_prompts.clear();
        theApp.m_answers.clear();
        theApp.m_icons.clear();
    }
    void TearDown() override {
        if (m_tree.m_hWnd != nullptr)
            m_tree.DestroyWindow();
        m_host.Unmake();
    }

    HTREEITEM Item(const char* pszText) { return FindQuestionItem(m_tree, pszText); }
    void Mark(std::initializer_list<const char*> names) {
        m_tree.DeselectAll();
        for (const char* pszName : names)
            m_tree.SetItemSelected(Item(pszName), TRUE);
    }
    std::string Marked() {
        std::string names;
        for (HTREEITEM h = m_tree.GetRootItem(); h != nullptr; h = m_tree.GetNextTreeItem(h)) {
            if (m_tree.IsItemSelected(h))
                names += (names.empty() ? "" : ",") + std::string(m_tree.GetItemText(h));
        }
        return names;
    }
    const CQuestionRepository::QUESTION_ENTRY* Entry(LONG nID) {
        return CQuestionRepository::GetInstance()->Find(nID);
    }

    CQuestionsTestFolders m_folders;
    CQuestionsHostWnd m_host;
    CQuestionsTreeProbe m_tree;
};

// ---------------------------------------------------------------------------
// Filling

TEST_F(QuestionsTreeTest, FillsTheTopLevelFirstAndExpandAllFillsTheRest) {
    EXPECT_EQ("Call Quality,Other", TreeOutline(m_tree));
    EXPECT_TRUE(m_tree.ItemHasChildren(Item("Call Quality")));
    EXPECT_FALSE(m_tree.ItemHasChildren(Item("Other")));
    m_tree.ExpandAll();
    EXPECT_EQ("Call Quality(Greeting,Sales(Offer,Closing)),Other", TreeOutline(m_tree));
    const struct {
        const char* pszItem;
        DWORD_PTR nID;
        int nImage;
    } cases[] = {
        {"Call Quality", 0, CQuestionsTree::IMAGE_GROUP},
        {"Greeting", 1, CQuestionsTree::IMAGE_YESNO},
        {"Sales", 2, CQuestionsTree::IMAGE_GROUP},
        {"Offer", 3, CQuestionsTree::IMAGE_SCALE},
        {"Closing", 4, CQuestionsTree::IMAGE_YESNO},
    };
    for (const auto& c : cases) {
        int nImage = -1, nSelected = -1;
        ASSERT_TRUE(m_tree.GetItemImage(Item(c.pszItem), nImage, nSelected)) << c.pszItem;
        EXPECT_EQ(c.nImage, nImage) << c.pszItem;
        EXPECT_EQ(c.nImage, nSelected) << c.pszItem;
        EXPECT_EQ(c.nID, m_tree.GetItemData(Item(c.pszItem))) << c.pszItem;
    }
    // The stored question itself, not a copy; none for a group.
    EXPECT_EQ(&CQuestionRepository::GetInstance()->Find(3)->Question,
              m_tree.GetItemQuestion(Item("Offer")));
    EXPECT_EQ(nullptr, m_tree.GetItemQuestion(Item("Sales")));
    EXPECT_EQ(nullptr, m_tree.GetItemQuestion(nullptr));
}

TEST_F(QuestionsTreeTest, InitTreeWithoutAWindowDoesNothing) {
    CQuestionsTree tree;
    EXPECT_EQ(0, tree.InitTree());
    // Refilling a filled tree starts it again from the top level.
    m_tree.ExpandAll();
    EXPECT_EQ(1, m_tree.InitTree());
    EXPECT_EQ("Call Quality,Other", TreeOutline(m_tree));
}

TEST_F(QuestionsTreeTest, ALabelHoldsAtMostAHundredCharactersOfThePrompt) {
    const std::string hundred(100, 'a');
    EXPECT_STREQ("", CQuestionsTree::LabelForPrompt(""));
    EXPECT_STREQ(hundred.c_str(), CQuestionsTree::LabelForPrompt(hundred.c_str()));
    EXPECT_STREQ((hundred + "...").c_str(),
                 CQuestionsTree::LabelForPrompt((hundred + "b").c_str()));
}

// ---------------------------------------------------------------------------
// Adding

TEST_F(QuestionsTreeTest, AddGroupGoesBelowTheGroupOfTheItemOrToTheTopLevel) {
    const struct {
        const char* pszParent; // null: none
        bool bExpandFirst;
        const char* pszName;
        LONG nID;
        LONG nStoredID;
        LONG nParentID;
        const char* pszTree;
    } cases[] = {
        {nullptr, true, "", 6, 6, -1,
         "Call Quality(Greeting,Sales(Offer,Closing)),Other,New Group"},
        {"Sales", true, "Team", 10, 10, 2,
         "Call Quality(Greeting,Sales(Offer,Closing,Team)),Other"},
        {"Greeting", true, "Manners", 11, 11, 0,
         "Call Quality(Greeting,Sales(Offer,Closing),Manners),Other"},
        // Below a group never expanded: its stored children come first, once.
        {"Call Quality", false, "Late", 12, 12, 0,
         "Call Quality(Greeting,Sales(Offer,Closing),Late),Other"},
        {"Other", true, "", 13, 13, 5,
         "Call Quality(Greeting,Sales(Offer,Closing)),Other(New Group)"},
    };
    for (const auto& c : cases) {
        CQuestionRepository::GetInstance()->Clear();
        CQuestionsTestFolders::FillSample();
        m_tree.InitTree();
        if (c.bExpandFirst)
            m_tree.ExpandAll();
        HTREEITEM hItem =
            m_tree.AddGroup(c.pszParent ? Item(c.pszParent) : nullptr, c.pszName, c.nID, FALSE);
        ASSERT_NE(nullptr, hItem) << c.pszTree;
        m_tree.ExpandAll();
        EXPECT_EQ(c.pszTree, TreeOutline(m_tree));
        const auto* pEntry = Entry(c.nStoredID);
        ASSERT_NE(nullptr, pEntry) << c.pszTree;
        EXPECT_EQ(1, pEntry->IsGroup);
        EXPECT_EQ(c.nParentID, pEntry->ParentID) << c.pszTree;
        EXPECT_EQ(c.nStoredID, static_cast<LONG>(m_tree.GetItemData(hItem)));
        EXPECT_FALSE(m_tree.IsEditing());
    }
}

TEST_F(QuestionsTreeTest, AGroupOfIdMinusOneGetsZeroAndAnIdHeldAlreadyAddsNothing) {
    CQuestionRepository::GetInstance()->Clear();
    m_tree.InitTree();
    ASSERT_NE(nullptr, m_tree.AddGroup(nullptr, "First", -1, FALSE));
    ASSERT_NE(nullptr, Entry(0));
    EXPECT_STREQ("First", Entry(0)->GroupName);
    EXPECT_EQ(nullptr, m_tree.AddGroup(nullptr, "Twin", 0, FALSE));
    EXPECT_EQ("First", TreeOutline(m_tree));
    EXPECT_EQ(1, CQuestionRepository::GetInstance()->GetCount());
}

TEST_F(QuestionsTreeTest, AddQuestionStoresACopyBelowTheGroupOfTheItem) {
    m_tree.ExpandAll();
    CQuestion question(20);
    question.SetPrompt("Was the call closed?");
    question.SetType(CQuestion::TYPE_YESNO);
    question.SetBias(15.0);
    const struct {
        const char* pszParent;
        LONG nParentID;
        const char* pszTree;
    } cases[] = {
        {"Closing", 2, "Call Quality(Greeting,Sales(Offer,Closing,Q)),Other"},
        {"Other", 5, "Call Quality(Greeting,Sales(Offer,Closing)),Other(Q)"},
    };
    for (const auto& c : cases) {
        CQuestionRepository::GetInstance()->Clear();
        CQuestionsTestFolders::FillSample();
        m_tree.InitTree();
        m_tree.ExpandAll();
        HTREEITEM hItem = m_tree.AddQuestion(Item(c.pszParent), question, "Q", FALSE);
        ASSERT_NE(nullptr, hItem);
        m_tree.ExpandAll();
        EXPECT_EQ(c.pszTree, TreeOutline(m_tree));
        EXPECT_EQ(hItem, m_tree.GetSelectedItem());
        const auto* pEntry = Entry(20);
        ASSERT_NE(nullptr, pEntry);
        EXPECT_EQ(0, pEntry->IsGroup);
        EXPECT_EQ(c.nParentID, pEntry->ParentID);
        EXPECT_STREQ("Was the call closed?", pEntry->Question.GetPrompt());
        EXPECT_EQ(CQuestion::TYPE_YESNO, pEntry->Question.GetType());
        EXPECT_EQ(15.0, pEntry->Question.GetBias());
        int nImage = -1, nSelected = -1;
        m_tree.GetItemImage(hItem, nImage, nSelected);
        EXPECT_EQ(CQuestionsTree::IMAGE_YESNO, nImage);
    }
    // Nothing without a parent, and nothing for an ID held already.
    EXPECT_EQ(nullptr, m_tree.AddQuestion(nullptr, CQuestion(30), "None", FALSE));
    EXPECT_EQ(nullptr, m_tree.AddQuestion(Item("Other"), CQuestion(3), "Twin", FALSE));
    EXPECT_EQ(nullptr, Entry(30));
    EXPECT_STREQ("Offer", Entry(3)->GroupName);
}

TEST_F(QuestionsTreeTest, AQuestionBelowAGroupNeverExpandedIsShownOnce) {
    // The new item becomes current, which expands its parent; the parent's
    // stored children come first and the new one is not inserted twice.
    HTREEITEM hItem = m_tree.AddQuestion(Item("Call Quality"), CQuestion(40), "Fresh", FALSE);
    ASSERT_NE(nullptr, hItem);
    m_tree.ExpandAll();
    EXPECT_EQ("Call Quality(Greeting,Sales(Offer,Closing),Fresh),Other", TreeOutline(m_tree));
    EXPECT_EQ("Call Quality(Greeting,Sales(Offer,Closing),Fresh),Other", RepositoryOutline());
}

TEST_F(QuestionsTreeTest, NewGroupWithNoCurrentItemIsATopLevelGroupBeingRenamed) {
    m_tree.SelectItem(nullptr);
    m_tree.NewGroup(m_tree.GetSelectedItem());
    EXPECT_TRUE(m_tree.IsEditing());
    ASSERT_NE(nullptr, m_tree.GetEditControl());
    m_tree.GetEditControl()->SetWindowText("Compliance");
    m_tree.EndEditLabelNow(FALSE);
    EXPECT_FALSE(m_tree.IsEditing());
    ASSERT_NE(nullptr, Entry(6));
    EXPECT_EQ(-1, Entry(6)->ParentID);
    EXPECT_STREQ("Compliance", Entry(6)->GroupName);
    EXPECT_EQ("Call Quality(Greeting,Sales(Offer,Closing)),Other,Compliance", RepositoryOutline());
    // Label editing is on for that one edit only.
    EXPECT_EQ(0u, m_tree.GetStyle() & TVS_EDITLABELS);
}

TEST_F(QuestionsTreeTest, NewQuestionRunsTheEditorAndTheLabelFollowsThePrompt) {
    const std::string hundred(100, 'p');
    const struct {
        std::string prompt;
        int nType; // the radio button clicked
        UINT nButton;
        std::string label;
        int nImage;
    } cases[] = {
        {hundred, IDC_QUESTION_TYPE_SCALE, IDOK, hundred, CQuestionsTree::IMAGE_SCALE},
        {hundred + "q", IDC_QUESTION_TYPE_YESNO, IDOK, hundred + "...",
         CQuestionsTree::IMAGE_YESNO},
        // Cancel: the question stays as made, labelled "New Question".
        {"ignored", IDC_QUESTION_TYPE_YESNO, IDCANCEL, "New Question", CQuestionsTree::IMAGE_SCALE},
    };
    m_tree.ExpandAll();
    for (const auto& c : cases) {
        const std::string& prompt = c.prompt;
        const LONG nID = CQuestionRepository::GetInstance()->GetNextID();
        m_tree.SelectItem(Item("Offer"));
        WithDialog(
            IDC_QUESTION_BIAS,
            [&](HWND hDlg) {
                ::SendDlgItemMessageA(hDlg, c.nType, BM_CLICK, 0, 0);
                ::SetDlgItemTextA(hDlg, IDC_QUESTION_PROMPT, prompt.c_str());
                ::SetDlgItemTextA(hDlg, IDC_QUESTION_BIAS, "30");
                ::PostMessageA(hDlg, WM_COMMAND, c.nButton, 0);
            },
            [&] { m_tree.NewQuestion(m_tree.GetSelectedItem()); });
        const auto* pEntry = Entry(nID);
        ASSERT_NE(nullptr, pEntry) << c.label;
        EXPECT_EQ(2, pEntry->ParentID);
        EXPECT_EQ(nID, pEntry->Question.GetID());
        HTREEITEM hItem = m_tree.GetSelectedItem();
        EXPECT_EQ(c.label, std::string(m_tree.GetItemText(hItem)));
        EXPECT_EQ(c.label, std::string(pEntry->GroupName));
        int nImage = -1, nSelected = -1;
        m_tree.GetItemImage(hItem, nImage, nSelected);
        EXPECT_EQ(c.nImage, nImage) << c.label;
        if (c.nButton == IDOK) {
            EXPECT_EQ(prompt, std::string(pEntry->Question.GetPrompt()));
        }
    }
}

TEST_F(QuestionsTreeTest, EditingWithAnEmptyPromptKeepsTheLabelAndChangesTheImage) {
    m_tree.ExpandAll();
    WithDialog(
        IDC_QUESTION_BIAS,
        [&](HWND hDlg) {
            ::SendDlgItemMessageA(hDlg, IDC_QUESTION_TYPE_YESNO, BM_CLICK, 0, 0);
            ::SetDlgItemTextA(hDlg, IDC_QUESTION_PROMPT, "");
            ::PostMessageA(hDlg, WM_COMMAND, IDOK, 0);
        },
        [&] { m_tree.EditQuestion(Item("Offer")); });
    EXPECT_STREQ("Offer", Entry(3)->GroupName);
    EXPECT_EQ(CQuestion::TYPE_YESNO, Entry(3)->Question.GetType());
    int nImage = -1, nSelected = -1;
    m_tree.GetItemImage(Item("Offer"), nImage, nSelected);
    EXPECT_EQ(CQuestionsTree::IMAGE_YESNO, nImage);
    EXPECT_EQ(CQuestionsTree::IMAGE_YESNO, nSelected);
}

// ---------------------------------------------------------------------------
// Renaming

TEST_F(QuestionsTreeTest, RenamingChangesLabelAndNameButNeverThePrompt) {
    m_tree.ExpandAll();
    const struct {
        const char* pszNew;
        BOOL bCancel;
        const char* pszLabel;
    } cases[] = {
        {"Offer & <price>", FALSE, "Offer & <price>"},
        {"", FALSE, "Offer & <price>"},       // an empty label is refused
        {"Dropped", TRUE, "Offer & <price>"}, // a cancelled edit changes nothing
    };
    for (const auto& c : cases) {
        m_tree.EditItemLabel(Item(Entry(3)->GroupName));
        ASSERT_NE(nullptr, m_tree.GetEditControl()) << c.pszNew;
        m_tree.GetEditControl()->SetWindowText(c.pszNew);
        m_tree.EndEditLabelNow(c.bCancel);
        PumpPending();
        EXPECT_STREQ(c.pszLabel, Entry(3)->GroupName) << c.pszNew;
        EXPECT_EQ(std::string(c.pszLabel), std::string(m_tree.GetItemText(Item(c.pszLabel))));
        EXPECT_FALSE(m_tree.IsEditing());
    }
    EXPECT_STREQ("Offer?", Entry(3)->Question.GetPrompt());
}

TEST_F(QuestionsTreeTest, AReadOnlyTreeRefusesEveryEdit) {
    m_tree.Editable = FALSE;
    m_tree.InitTree();
    m_tree.ExpandAll();
    const std::string before = RepositoryOutline();
    m_tree.SelectItem(Item("Sales"));
    m_tree.EditItemLabel(Item("Sales"));
    EXPECT_EQ(nullptr, m_tree.GetEditControl());
    // Even a label edit started past the tree's own command is refused.
    m_tree.ModifyStyle(0, TVS_EDITLABELS);
    m_tree.EditLabel(Item("Sales"));
    EXPECT_EQ(nullptr, m_tree.GetEditControl());
    EXPECT_FALSE(m_tree.IsEditing());
    m_tree.SendMessage(WM_COMMAND, ID_EDIT_NAME);
    EXPECT_EQ(nullptr, m_tree.GetEditControl());
    Mark({"Offer"});
    m_tree.SendMessage(WM_COMMAND, ID_DELETE_SELECTED);
    m_tree.NewGroup(Item("Sales"));
    m_tree.NewQuestion(Item("Sales"));
    m_tree.EditQuestion(Item("Offer")); // would hang on its dialog if it ran
    EXPECT_EQ(before, RepositoryOutline());
    EXPECT_TRUE(theApp.m_prompts.empty());
}

// ---------------------------------------------------------------------------
// Deleting

TEST_F(QuestionsTreeTest, DeleteRemovesTheMarkedItemsAndTheEntriesBelowThemAfterAsking) {
    const struct {
        std::vector<const char*> marks;
        int nAnswer;
        bool bAsked;
        const char* pszRepository;
        const char* pszTree;
    } cases[] = {
        {{},
         IDYES,
         false,
         "Call Quality(Greeting,Sales(Offer,Closing)),Other",
         "Call Quality(Greeting,Sales(Offer,Closing)),Other"},
        {{"Offer"},
         IDNO,
         true,
         "Call Quality(Greeting,Sales(Offer,Closing)),Other",
         "Call Quality(Greeting,Sales(Offer,Closing)),Other"},
        {{"Offer"},
         IDYES,
         true,
         "Call Quality(Greeting,Sales(Closing)),Other",
         "Call Quality(Greeting,Sales(Closing)),Other"},
        {{"Sales"}, IDYES, true, "Call Quality(Greeting),Other", "Call Quality(Greeting),Other"},
        // The root can be marked but is never removed.
        {{"Call Quality", "Other"},
         IDYES,
         true,
         "Call Quality(Greeting,Sales(Offer,Closing))",
         "Call Quality(Greeting,Sales(Offer,Closing))"},
        // A marked item below a marked group goes with the group.
        {{"Sales", "Closing", "Greeting"}, IDYES, true, "Call Quality,Other", "Call Quality,Other"},
    };
    for (const auto& c : cases) {
        CQuestionRepository::GetInstance()->Clear();
        CQuestionsTestFolders::FillSample();
        m_tree.InitTree();
        m_tree.ExpandAll();
        m_tree.DeselectAll();
        for (const char* pszMark : c.marks)
            m_tree.SetItemSelected(Item(pszMark), TRUE);
        theApp.m_prompts.clear();
        theApp.m_icons.clear();
        theApp.m_answers = {c.nAnswer};
        m_tree.OnDeleteSelected();
        EXPECT_EQ(c.pszRepository, RepositoryOutline()) << c.pszTree;
        EXPECT_EQ(c.pszTree, TreeOutline(m_tree));
        ASSERT_EQ(c.bAsked ? 1u : 0u, theApp.m_prompts.size()) << c.pszTree;
        if (c.bAsked) {
            EXPECT_EQ("Are you sure you want to remove selected item(s)?", theApp.m_prompts[0]);
            EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), theApp.m_icons[0]);
        }
    }
    // The entries below a removed group are gone too, not only its items.
    EXPECT_EQ(2, CQuestionRepository::GetInstance()->GetCount());
    // A group left without entries below loses its expand button.
    EXPECT_FALSE(m_tree.ItemHasChildren(Item("Call Quality")));
}

TEST_F(QuestionsTreeTest, DeletingAGroupNeverExpandedRemovesItsStoredEntries) {
    AddQuestionEntry(6, -1, "Second", 0);
    AddQuestionEntry(7, 6, "Inner", 0);
    AddQuestionEntry(8, 7, "Deep", CQuestion::TYPE_SCALE);
    m_tree.InitTree();
    Mark({"Second"});
    theApp.m_answers = {IDYES};
    m_tree.OnDeleteSelected();
    EXPECT_EQ(nullptr, Entry(7));
    EXPECT_EQ(nullptr, Entry(8));
    EXPECT_EQ("Call Quality(Greeting,Sales(Offer,Closing)),Other", RepositoryOutline());
    EXPECT_EQ("Call Quality,Other", TreeOutline(m_tree));
}

// ---------------------------------------------------------------------------
// Marks, the context menu and the toolbar

TEST_F(QuestionsTreeTest, CountAndCollectTheMarksInTreeOrder) {
    m_tree.ExpandAll();
    Mark({"Closing", "Call Quality", "Offer"});
    EXPECT_EQ(3, m_tree.CountSelected());
    CKWArray<CQuestionsTree::QUESTIONSTREEITEM> items(0, 10);
    m_tree.CollectSelected(items, m_tree.GetRootItem());
    ASSERT_EQ(3, items.GetSize());
    const char* expected[] = {"Call Quality", "Offer", "Closing"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_STREQ(expected[i], items.GetAt(i).Text);
        EXPECT_EQ(Item(expected[i]), items.GetAt(i).Item);
        EXPECT_EQ(CQuestionRepository::GetInstance()->Find(
                      static_cast<LONG>(m_tree.GetItemData(Item(expected[i])))),
                  items.GetAt(i).Entry);
    }
    EXPECT_EQ(1, items.GetAt(0).IsGroup);
    EXPECT_EQ(0, items.GetAt(1).IsGroup);
    // A range runs in tree order whichever end comes first.
    m_tree.DeselectAll();
    HTREEITEM hFirst = m_tree.FindFirstOf(Item("Closing"), Item("Greeting"));
    EXPECT_EQ(Item("Greeting"), hFirst);
    m_tree.SelectRange(hFirst, Item("Closing"));
    EXPECT_EQ("Greeting,Sales,Offer,Closing", Marked());
    EXPECT_EQ(nullptr, m_tree.FindFirstOf(nullptr, Item("Offer")));
}

TEST_F(QuestionsTreeTest, TheContextMenuGraysByTheClickedItemAndTheMarks) {
    m_tree.ExpandAll();
    const UINT kCommands[] = {ID_NEW_QUESTION_GROUP, ID_NEW_QUESTION, ID_EDIT_NAME,
                              ID_EDIT_QUESTION, ID_DELETE_SELECTED};
    const struct {
        const char* pszClicked;
        std::vector<const char*> marks;
        const char* pszEnabled; // one letter per command: G N R Q D
    } cases[] = {
        {"Offer", {"Offer"}, "GNRQD"},
        {"Sales", {"Sales"}, "GNR-D"},
        {"Call Quality", {"Call Quality"}, "GNR--"},
        {"Offer", {"Offer", "Closing"}, "----D"},
        {"Call Quality", {"Offer", "Call Quality"}, "-----"},
    };
    for (const auto& c : cases) {
        m_tree.DeselectAll();
        for (const char* pszMark : c.marks)
            m_tree.SetItemSelected(Item(pszMark), TRUE);
        CMenu menu;
        ASSERT_TRUE(menu.CreatePopupMenu());
        m_tree.BuildContextMenu(menu, Item(c.pszClicked));
        ASSERT_EQ(7, ::GetMenuItemCount(menu.m_hMenu));
        std::string enabled;
        for (int i = 0; i < 5; ++i) {
            const UINT nState = ::GetMenuState(menu.m_hMenu, kCommands[i], MF_BYCOMMAND);
            enabled += (nState & MF_GRAYED) ? '-' : "GNRQD"[i];
        }
        EXPECT_EQ(c.pszEnabled, enabled) << c.pszClicked;
        char szText[64] = "";
        ::GetMenuStringA(menu.m_hMenu, 3, szText, sizeof szText, MF_BYPOSITION);
        EXPECT_STREQ("Edit Name\tF2,Ins", szText);
        ::GetMenuStringA(menu.m_hMenu, 6, szText, sizeof szText, MF_BYPOSITION);
        EXPECT_STREQ("Delete\tDel", szText);
        EXPECT_EQ(static_cast<UINT>(MF_SEPARATOR),
                  ::GetMenuState(menu.m_hMenu, 2, MF_BYPOSITION) & MF_SEPARATOR);
        menu.DestroyMenu();
    }
}

TEST_F(QuestionsTreeTest, TheMenuCommandsActOnTheClickedItemNotTheCurrentOne) {
    m_tree.ExpandAll();
    m_tree.SelectItem(Item("Greeting"));
    Mark({"Other"});
    m_tree.RunContextCommand(ID_NEW_QUESTION_GROUP, Item("Other"));
    ASSERT_TRUE(m_tree.IsEditing());
    m_tree.EndEditLabelNow(TRUE);
    EXPECT_EQ("Call Quality(Greeting,Sales(Offer,Closing)),Other(New Group)", RepositoryOutline());
    m_tree.RunContextCommand(ID_EDIT_NAME, Item("Sales"));
    ASSERT_NE(nullptr, m_tree.GetEditControl());
    m_tree.GetEditControl()->SetWindowText("Selling");
    m_tree.EndEditLabelNow(FALSE);
    EXPECT_STREQ("Selling", Entry(2)->GroupName);
    EXPECT_STREQ("Greeting", Entry(1)->GroupName);
}

class QuestionsToolbarTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_host.Make(CRect(100, 100, 420, 560)));
        CQuestionsTestFolders::FillSample();
        ASSERT_TRUE(m_wnd.Create(WS_CHILD, CRect(0, 0, 320, 460), &m_host, 3000));
        m_wnd.ShowWindow(SW_SHOW);
        ASSERT_EQ(1, Tree().InitTree());
        Tree().ExpandAll();
    }
    void TearDown() override {
        if (m_wnd.m_hWnd != nullptr)
            m_wnd.DestroyWindow();
        m_host.Unmake();
    }
    CQuestionsTree& Tree() { return m_wnd.GetQuestionsTree(); }
    std::string EnabledButtons() {
        const struct {
            UINT nID;
            const char* pszName;
        } buttons[] = {
            {ID_EXPORT_QUESTIONS, "Export"},  {ID_IMPORT_QUESTIONS, "Import"},
            {ID_NEW_QUESTION_GROUP, "Group"}, {ID_NEW_QUESTION, "Question"},
            {ID_EDIT_QUESTION, "Edit"},       {ID_DELETE_SELECTED, "Delete"},
        };
        m_wnd.UpdateToolbarButtons();
        std::string names;
        for (const auto& b : buttons) {
            const bool bEnabled = m_wnd.GetToolbar().SendMessage(TB_ISBUTTONENABLED, b.nID) != 0;
            EXPECT_EQ(m_wnd.IsToolbarCommandEnabled(b.nID) != FALSE, bEnabled) << b.pszName;
            if (bEnabled)
                names += (names.empty() ? "" : ",") + std::string(b.pszName);
        }
        return names;
    }

    CQuestionsTestFolders m_folders;
    CQuestionsHostWnd m_host;
    CQuestionsTreeWithToolbar m_wnd;
};

TEST_F(QuestionsToolbarTest, TheButtonsFollowTheMarksAndTheCurrentItemScreen) {
    EXPECT_EQ(3000 + 1000, m_wnd.GetDlgCtrlID());
    EXPECT_EQ(3000, Tree().GetDlgCtrlID());
    EXPECT_EQ(9, m_wnd.GetToolbar().SendMessage(TB_BUTTONCOUNT));
    const struct {
        const char* pszCurrent;
        std::vector<const char*> marks;
        const char* pszEnabled;
    } cases[] = {
        {nullptr, {}, "Export,Import,Group"},
        {"Offer", {"Offer"}, "Export,Import,Group,Question,Edit,Delete"},
        {"Sales", {"Sales"}, "Export,Import,Group,Question,Delete"},
        {"Call Quality", {"Call Quality"}, "Export,Import,Group,Question"},
        {"Offer", {"Offer", "Greeting"}, "Export,Import,Group,Delete"},
    };
    for (const auto& c : cases) {
        Tree().SelectItem(c.pszCurrent ? FindQuestionItem(Tree(), c.pszCurrent) : nullptr);
        Tree().DeselectAll();
        for (const char* pszMark : c.marks)
            Tree().SetItemSelected(FindQuestionItem(Tree(), pszMark), TRUE);
        EXPECT_EQ(c.pszEnabled, EnabledButtons()) << (c.pszCurrent ? c.pszCurrent : "none");
    }
    Settle(300);
    CRect rcWnd;
    m_wnd.GetWindowRect(&rcWnd);
    EXPECT_TRUE(SaveScreenPng(rcWnd, "questions-toolbar.png"));
    // The pictures show: the item rows are not plain white left of the labels.
    CRect rcItem;
    Tree().GetItemRect(FindQuestionItem(Tree(), "Offer"), &rcItem, TRUE);
    Tree().ClientToScreen(&rcItem);
    CCanvas canvas(18, rcItem.Height());
    CaptureScreen(canvas, CRect(rcItem.left - 18, rcItem.top, rcItem.left, rcItem.bottom));
    EXPECT_LT(canvas.Count(RGB(255, 255, 255), CRect(0, 0, 18, rcItem.Height())),
              18 * rcItem.Height() - 30);
}

TEST_F(QuestionsToolbarTest, ToolbarCommandsReachTheTree) {
    Tree().SelectItem(FindQuestionItem(Tree(), "Closing"));
    Tree().DeselectAll();
    Tree().SetItemSelected(FindQuestionItem(Tree(), "Closing"), TRUE);
    theApp.m_answers = {IDYES};
    m_wnd.SendMessage(WM_COMMAND, ID_DELETE_SELECTED);
    EXPECT_EQ("Call Quality(Greeting,Sales(Offer)),Other", RepositoryOutline());
    Tree().SelectItem(FindQuestionItem(Tree(), "Other"));
    m_wnd.SendMessage(WM_COMMAND, ID_NEW_QUESTION_GROUP);
    ASSERT_TRUE(Tree().IsEditing());
    Tree().EndEditLabelNow(TRUE);
    EXPECT_EQ("Call Quality(Greeting,Sales(Offer)),Other(New Group)", RepositoryOutline());
}

// ---------------------------------------------------------------------------
// Export and import

TEST_F(QuestionsTreeTest, ExportWritesTheRepositoryAndSaysWhere) {
    const std::string path = m_folders.TempFile("CallScorePredefinedQuestions.xml");
    EXPECT_TRUE(m_tree.ExportRepositoryTo(path.c_str()));
    ASSERT_EQ(1u, theApp.m_prompts.size());
    EXPECT_EQ("Call Score questions repository exports successfully into the file: " + path,
              theApp.m_prompts[0]);
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), theApp.m_icons[0]);
    EXPECT_NE(std::string::npos, ReadWholeFile(path).find("<GroupName>Closing</GroupName>"));
    // A folder that does not exist: the warning names the file.
    const std::string bad = m_folders.TempFile("missing\\out.xml");
    EXPECT_FALSE(m_tree.ExportRepositoryTo(bad.c_str()));
    ASSERT_EQ(2u, theApp.m_prompts.size());
    EXPECT_EQ("Failed to export questions repository into the file: " + bad, theApp.m_prompts[1]);
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), theApp.m_icons[1]);
}

TEST_F(QuestionsTreeTest, ImportAddsTheNewEntriesAndShowsTheWholeTreeOpen) {
    const std::string path = m_folders.TempFile("import.xml");
    // A file of another machine: entries 3 (held here) and 8, 9 (new).
    CQuestionRepository* pRepository = CQuestionRepository::GetInstance();
    pRepository->Clear();
    AddQuestionEntry(3, 2, "Their Offer", CQuestion::TYPE_YESNO);
    AddQuestionEntry(8, -1, "Imported", 0);
    AddQuestionEntry(9, 8, "Tone & <pace>", CQuestion::TYPE_SCALE);
    ASSERT_TRUE(pRepository->Save(path.c_str()));
    pRepository->Clear();
    CQuestionsTestFolders::FillSample();
    m_tree.InitTree();

    EXPECT_TRUE(m_tree.ImportRepositoryFrom(path.c_str()));
    EXPECT_EQ("Call Quality(Greeting,Sales(Offer,Closing)),Other,Imported(Tone & <pace>)",
              TreeOutline(m_tree));
    EXPECT_TRUE(m_tree.GetItemState(Item("Imported"), TVIS_EXPANDED) & TVIS_EXPANDED);
    ASSERT_EQ(1u, theApp.m_prompts.size());
    EXPECT_EQ("Call Score questions repository imports successfully from the file: " + path,
              theApp.m_prompts[0]);
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), theApp.m_icons[0]);
}

TEST_F(QuestionsTreeTest, AFailedImportKeepsTheRepositoryAsItWasInMemory) {
    // questions.xml still holds "Other", which was removed since it was saved.
    ASSERT_TRUE(
        CQuestionRepository::GetInstance()->Save(CQuestionsTestFolders::QuestionsFile().c_str()));
    Mark({"Other"});
    theApp.m_answers = {IDYES};
    m_tree.OnDeleteSelected();
    const std::string path = m_folders.TempFile("broken.xml");
    WriteWholeFile(path, "<QuestionRepositoryData><Entry><ID>50</ID>");
    theApp.m_prompts.clear();
    theApp.m_icons.clear();
    EXPECT_FALSE(m_tree.ImportRepositoryFrom(path.c_str()));
    EXPECT_EQ("Call Quality(Greeting,Sales(Offer,Closing))", RepositoryOutline());
    EXPECT_EQ("Call Quality(Greeting,Sales(Offer,Closing))", TreeOutline(m_tree));
    ASSERT_EQ(1u, theApp.m_prompts.size());
    EXPECT_EQ("Failed to import questions repository from the file: " + path, theApp.m_prompts[0]);
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), theApp.m_icons[0]);
}

TEST_F(QuestionsTreeTest, ExportAndImportOfferTheRepositoryFileInTheirDialogs) {
    const std::string folder = m_folders.TempFile("");
    std::string offeredSave, offeredOpen;
    WithDialog(
        IDOK,
        [&](HWND hDlg) {
            HWND hName = ::GetDlgItem(hDlg, 0x47C);
            if (hName == nullptr)
                hName = ::GetDlgItem(hDlg, 0x480);
            char szName[MAX_PATH] = "";
            ::GetWindowTextA(hName, szName, sizeof szName);
            offeredSave = szName;
            ::SetWindowTextA(hName, (folder + "exported").c_str());
            ::PostMessageA(hDlg, WM_COMMAND, IDOK, (LPARAM)::GetDlgItem(hDlg, IDOK));
        },
        [&] { m_tree.ExportRepository(); });
    EXPECT_EQ("CallScorePredefinedQuestions.xml", offeredSave);
    ASSERT_TRUE(FileExists(folder + "exported.xml"));
    CQuestionRepository::GetInstance()->Clear();
    WithDialog(
        IDOK,
        [&](HWND hDlg) {
            HWND hName = ::GetDlgItem(hDlg, 0x47C);
            if (hName == nullptr)
                hName = ::GetDlgItem(hDlg, 0x480);
            char szName[MAX_PATH] = "";
            ::GetWindowTextA(hName, szName, sizeof szName);
            offeredOpen = szName;
            ::SetWindowTextA(hName, (folder + "exported.xml").c_str());
            ::PostMessageA(hDlg, WM_COMMAND, IDOK, (LPARAM)::GetDlgItem(hDlg, IDOK));
        },
        [&] { m_tree.ImportRepository(); });
    EXPECT_EQ("CallScorePredefinedQuestions.xml", offeredOpen);
    EXPECT_EQ("Call Quality(Greeting,Sales(Offer,Closing)),Other", TreeOutline(m_tree));
    // Neither dialog moved the process's current folder.
    char szCurrent[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, szCurrent);
    EXPECT_NE(folder, std::string(szCurrent) + "\\");
}

// ---------------------------------------------------------------------------
// Real input

class QuestionsTreeInputTest : public QuestionsTreeTest {
protected:
    void SetUp() override {
        QuestionsTreeTest::SetUp();
        m_tree.ExpandAll();
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

TEST_F(QuestionsTreeInputTest, ShiftMarksARangeAndCtrlAddsOneInput) {
    Click("Offer");
    EXPECT_EQ("Offer", Marked());
    EXPECT_EQ(Item("Offer"), m_tree.GetSelectedItem());
    Click("Greeting", VK_SHIFT);
    EXPECT_EQ("Greeting,Sales,Offer", Marked());
    Click("Other", VK_CONTROL);
    EXPECT_EQ("Greeting,Sales,Offer,Other", Marked());
    // Neither moved the current item.
    EXPECT_EQ(Item("Offer"), m_tree.GetSelectedItem());
    Click("Closing");
    EXPECT_EQ("Closing", Marked());
}

TEST_F(QuestionsTreeInputTest, AReadOnlyTreeMarksOnlyTheClickedItemInput) {
    m_tree.Editable = FALSE;
    m_tree.InitTree();
    m_tree.ExpandAll();
    Click("Offer");
    Click("Greeting", VK_SHIFT);
    EXPECT_EQ("Greeting", Marked());
    Click("Other", VK_CONTROL);
    EXPECT_EQ("Other", Marked());
    EXPECT_EQ(Item("Other"), m_tree.GetSelectedItem());
    // A slow second click on the label starts no edit, even where the
    // control would allow one.
    m_tree.ModifyStyle(0, TVS_EDITLABELS);
    Settle(700);
    Click("Other");
    Settle(700);
    EXPECT_EQ(nullptr, m_tree.GetEditControl());
    // No menu: the right button's release leaves nothing tracking.
    SendMouseMove(OnLabel("Offer"));
    SendMouseButton(MOUSEEVENTF_RIGHTDOWN);
    SendMouseButton(MOUSEEVENTF_RIGHTUP);
    Settle(300);
    EXPECT_EQ(nullptr, CMenu::GetTrackingMenu());
    EXPECT_EQ(nullptr, ::GetCapture());
}

TEST_F(QuestionsTreeInputTest, ADoubleClickEditsTheQuestionUnderTheCursorInput) {
    // The read-only tree leaves it to its parent: the picker's test.
    bool bEditorShown = false;
    WithDialog(
        IDC_QUESTION_BIAS,
        [&](HWND hDlg) {
            bEditorShown = true;
            ::PostMessageA(hDlg, WM_COMMAND, IDCANCEL, 0);
        },
        [&] {
            SendMouseMove(OnLabel("Offer"));
            Settle(50);
            SendLeftClick();
            SendLeftClick();
            PumpUntil([&] { return bEditorShown; });
        });
    EXPECT_TRUE(bEditorShown);
}

TEST_F(QuestionsTreeInputTest, ARightClickShowsTheMenuAndItsChoiceRunsInput) {
    // "Delete" (position 6) is clicked once the menu shows.
    HMENU hShown = nullptr;
    theApp.m_answers = {IDYES};
    CUiScript script([] { SendKeyTap(VK_ESCAPE); },
                     {[&] {
                          hShown = CMenu::GetTrackingMenu();
                          if (hShown == nullptr)
                              return false;
                          Settle(200);
                          CRect rcShot;
                          m_host.GetWindowRect(&rcShot);
                          rcShot.right += 200;
                          SaveScreenPng(rcShot, "questions-menu.png");
                          CRect rcItem;
                          if (!::GetMenuItemRect(nullptr, hShown, 6, &rcItem))
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
    SendMouseMove(OnLabel("Offer"));
    Settle(50);
    SendMouseButton(MOUSEEVENTF_RIGHTDOWN);
    Settle(50);
    SendMouseButton(MOUSEEVENTF_RIGHTUP);
    EXPECT_TRUE(PumpUntil([&] { return script.Finished() || script.Stalled(); }));
    Settle(100);
    EXPECT_NE(nullptr, hShown);
    EXPECT_FALSE(script.Stalled());
    EXPECT_EQ("Call Quality(Greeting,Sales(Closing)),Other", RepositoryOutline());
    EXPECT_EQ(nullptr, ::GetCapture());
}

} // namespace
