// Tests of how call links enter and leave the hot-lists tree: the drop filter,
// files dropped from outside (as WM_DROPFILES with a block made by
// CDropFileList, and through the tree's OLE drop target), pasting a data
// object or the clipboard, copying to the real clipboard, the tree's own drag
// between hot lists (its drop as a table), and with real input a drag of
// recordings from another window onto a hot list and a drag of a link inside
// the tree. The tree takes .zel files only, as in the Access Panel. Each test
// has a store and recordings of its own (HotListsTreeFixture.h).
#include "native/gtest.h"

#include "tests/app/HotListsTreeFixture.h"

#include "tests/support/MouseDrag.h"
#include "tests/support/AnsweringApp.h"
#include "tests/support/SyntheticInput.h"
#include "tests/support/UiScript.h"

#include "framework/Ole.h"
#include "framework/OleData.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

CAnsweringApp theApp;

const DWORD kTreeStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES |
                         TVS_LINESATROOT | TVS_SHOWSELALWAYS;

class HotListsTreeDropTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(AfxOleInit());
        ASSERT_TRUE(m_host.Make(CRect(100, 100, 420, 560)));
        m_files.FillSampleStore();
        ASSERT_TRUE(m_tree.Create(kTreeStyle, CRect(0, 0, 300, 440), &m_host, 3000));
        ASSERT_TRUE(m_tree.InitTree());
        m_tree.ExpandAll();
        m_tree.SetDropFilter(CHotListsTree::DROP_FILES | CHotListsTree::DROP_EXTENSION, ".zel");
        // Files from outside the calls folder, as the shell offers them.
        m_zel = m_files.File("new.zel");
        m_wav = m_files.File("b.wav");
        WriteWholeFile(m_zel, RecordingBytes());
        WriteWholeFile(m_wav, "RIFF");
    }
    void TearDown() override {
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
    // Files dropped from outside on an item, as WM_DROPFILES.
    void DropFromOutside(const char* pszOn, const std::vector<std::string>& paths) {
        m_tree.SelectItem(Item(pszOn));
        m_tree.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDropBlock(paths)));
    }
    // The tree's own drag of the selection, dropped on an item.
    void DragSelectionOnto(const char* pszOn) {
        CDropFileList fileList;
        ASSERT_TRUE(m_tree.BuildDropFileList(fileList));
        std::vector<std::string> paths;
        for (INT_PTR i = 0; i < fileList.GetSize(); ++i)
            paths.push_back(static_cast<LPCTSTR>(fileList[i]));
        m_tree.SelectItem(Item(pszOn));
        m_tree.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDropBlock(paths)));
    }
    // The ID of the record with this name, or -1.
    int IdOf(const char* pszName) {
        HTREEITEM hItem = Item(pszName);
        return hItem != nullptr ? static_cast<int>(m_tree.GetItemData(hItem)) : -1;
    }

    CHotListsTestFiles m_files;
    CHostWnd m_host;
    CHotListsTree m_tree;
    std::string m_zel;
    std::string m_wav;
};

// ---------------------------------------------------------------------------
// The filter

TEST_F(HotListsTreeDropTest, TheFilterTakesExistingPathsOfTheKindsAsked) {
    const std::string folder = m_files.File("dir.zel");
    ::CreateDirectoryA(folder.c_str(), nullptr);
    const std::string upper = m_files.File("LOUD.ZEL");
    WriteWholeFile(upper, "x");
    const std::string twice = m_files.File("x.zel.bak");
    WriteWholeFile(twice, "x");
    const std::string bare = m_files.File("noext");
    WriteWholeFile(bare, "x");
    const std::string missing = m_files.File("missing.zel");
    const struct {
        DWORD dwFlags;
        const char* pszExtension;
        std::string path;
        BOOL bMatches;
    } cases[] = {
        {0x03, "", m_wav, TRUE},        {0x03, "", folder, TRUE},     {0x03, "", missing, FALSE},
        {0x11, ".zel", m_zel, TRUE},    {0x11, ".zel", upper, TRUE},  {0x11, ".zel", m_wav, FALSE},
        {0x11, ".zel", folder, FALSE},  {0x11, ".zel", twice, FALSE}, {0x11, ".zel", bare, FALSE},
        {0x11, ".zel", missing, FALSE}, {0x02, "", m_zel, FALSE},     {0x02, "", folder, TRUE},
        {0x01, "", folder, FALSE},      {0x13, ".zel", folder, TRUE},
    };
    CHotListsTree tree; // a new tree takes files and folders alike
    EXPECT_EQ(tree.GetDropFilterFlags(), 0x03u);
    for (const auto& c : cases) {
        tree.SetDropFilter(c.dwFlags, c.pszExtension);
        EXPECT_EQ(tree.MatchesDropFilter(c.path.c_str()), c.bMatches)
            << std::hex << c.dwFlags << " " << c.path;
    }
}

// ---------------------------------------------------------------------------
// Drops from outside

TEST_F(HotListsTreeDropTest, DroppedRecordingsBecomeLinksOnceAndOnlyOnHotLists) {
    const std::string sameName = m_files.File("a.zel"); // not the a.zel of the calls folder
    WriteWholeFile(sameName, RecordingBytes());
    const std::string folder = m_files.File("folder");
    ::CreateDirectoryA(folder.c_str(), nullptr);
    const std::string onRoot = m_files.File("root.zel");
    WriteWholeFile(onRoot, RecordingBytes());
    const struct {
        const char* pszCase;
        const char* pszOn;
        std::vector<std::string> paths;
        int nHotList;         // whose records are checked
        const char* pszAfter; // its records then
    } cases[] = {
        {"a .zel and a .wav", "Personal", {m_zel, m_wav}, 8, "new.zel"},
        {"the same recording again", "Personal", {m_zel}, 8, "new.zel"},
        {"twice in one drop", "Lost Sales", {m_zel, m_zel}, 7, "new.zel"},
        {"on a link", "a.zel", {m_zel}, 2, ""},
        {"a folder and a missing file",
         "Important Calls",
         {folder, m_files.File("missing.zel")},
         1,
         "a.zel,b.zel"},
        {"another recording of a name there",
         "Important Calls",
         {sameName},
         1,
         "a.zel,b.zel,a.zel"},
        // Below the root every hot list counts: a recording linked in one
        // of them is not linked again.
        {"on the root",
         "Links to Recordings...",
         {m_zel, onRoot},
         0,
         "Important Calls(a.zel,b.zel,a.zel),Won Sales(Region(c.zel)),Lost Sales(new.zel),"
         "Personal(new.zel),root.zel"},
    };
    for (const auto& c : cases) {
        DropFromOutside(c.pszOn, c.paths);
        EXPECT_EQ(StoreOutline(c.nHotList), c.pszAfter) << c.pszCase;
        EXPECT_EQ(TreeOutline(m_tree), "Links to Recordings...(" + StoreOutline(0) + ")")
            << c.pszCase;
    }
    // A new link is the caret item, with the lens image, below a hot list
    // that now shows it has children.
    HTREEITEM hCaret = m_tree.GetSelectedItem();
    EXPECT_EQ(m_tree.GetItemText(hCaret), "root.zel");
    EXPECT_EQ(m_tree.GetParentItem(hCaret), m_tree.GetRootItem());
    EXPECT_TRUE(m_tree.ItemHasChildren(Item("Personal")));
    int nImage = -1, nSelected = -1;
    m_tree.GetItemImage(m_tree.GetChildItem(Item("Personal")), nImage, nSelected);
    EXPECT_EQ(nImage, 3);
    EXPECT_TRUE(theApp.m_prompts.empty());
}

TEST_F(HotListsTreeDropTest, ADropOnAHotListNeverShownKeepsItsLinksOnce) {
    AddHotListRecord(20, 8, "new.zel", m_zel);
    AddHotListRecord(21, 8, "old.zel", m_files.Call("old.zel"));
    m_tree.ReloadTree(); // Personal's links were never shown
    DropFromOutside("Personal", {m_zel, m_files.Call("more.zel")});
    m_tree.Expand(Item("Personal"), TVE_EXPAND);
    EXPECT_EQ(StoreOutline(8), "new.zel,old.zel,more.zel");
    EXPECT_EQ(TreeOutline(m_tree, m_tree.GetChildItem(Item("Personal"))),
              "new.zel,old.zel,more.zel");
}

TEST_F(HotListsTreeDropTest, TheDropTargetTakesAFileDropItselfOnTheItemUnderTheCursor) {
    COleDataSource source;
    ASSERT_TRUE(source.CacheGlobalData(CF_HDROP, MakeDropBlock({m_zel, m_wav})));
    LPDATAOBJECT pData = source.GetDataObject();
    LPDROPTARGET pTarget = m_tree.GetDropTarget().GetDropTargetInterface();
    ASSERT_NE(pTarget, nullptr);
    CRect rcItem;
    m_tree.GetItemRect(Item("Lost Sales"), &rcItem, TRUE);
    CPoint point = rcItem.CenterPoint();
    m_tree.ClientToScreen(&point);
    const POINTL pt = {point.x, point.y};
    DWORD dwEffect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(pTarget->DragEnter(pData, MK_LBUTTON, pt, &dwEffect), S_OK);
    dwEffect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(pTarget->DragOver(MK_LBUTTON, pt, &dwEffect), S_OK);
    // Files from elsewhere are copied, never moved: a move would have the
    // source delete them.
    EXPECT_EQ(dwEffect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(m_tree.GetSelectedItem(), Item("Lost Sales"));
    dwEffect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(pTarget->Drop(pData, MK_LBUTTON, pt, &dwEffect), S_OK);
    EXPECT_EQ(StoreOutline(7), "new.zel");

    // Data without a file list is refused.
    COleDataSource text;
    HGLOBAL hText = ::GlobalAlloc(GMEM_MOVEABLE, 5);
    memcpy(::GlobalLock(hText), "text", 5);
    ::GlobalUnlock(hText);
    ASSERT_TRUE(text.CacheGlobalData(CF_TEXT, hText));
    LPDATAOBJECT pText = text.GetDataObject();
    dwEffect = DROPEFFECT_COPY;
    EXPECT_EQ(pTarget->DragEnter(pText, MK_LBUTTON, pt, &dwEffect), S_OK);
    EXPECT_EQ(dwEffect, static_cast<DWORD>(DROPEFFECT_NONE));
    pTarget->DragLeave();
    pText->Release();
    pData->Release();
    pTarget->Release();
}

// ---------------------------------------------------------------------------
// Pasting and copying

TEST_F(HotListsTreeDropTest, PastingTakesEveryFileUnfiltered) {
    const struct {
        const char* pszCase;
        const char* pszOn;
        std::vector<std::string> paths;
        BOOL bTaken;
        int nHotList;
        const char* pszAfter;
    } cases[] = {
        {"a .wav and a missing file",
         "Personal",
         {m_wav, m_files.File("gone.zel")},
         TRUE,
         8,
         "b.zel,gone.zel"},
        // Links below a link would be out of every walk: its hot list takes them.
        {"on a link", "a.zel", {m_zel}, TRUE, 1, "a.zel,b.zel,new.zel"},
        {"an empty list", "Lost Sales", {}, TRUE, 7, ""},
    };
    for (const auto& c : cases) {
        COleDataSource source;
        ASSERT_TRUE(source.CacheGlobalData(CF_HDROP, MakeDropBlock(c.paths)));
        COleDataObject data;
        data.Attach(source.GetDataObject(), TRUE);
        EXPECT_EQ(m_tree.PasteFromDataObject(&data, Item(c.pszOn)), c.bTaken) << c.pszCase;
        EXPECT_EQ(StoreOutline(c.nHotList), c.pszAfter) << c.pszCase;
    }
    COleDataSource text;
    HGLOBAL hText = ::GlobalAlloc(GMEM_MOVEABLE, 2);
    memcpy(::GlobalLock(hText), "x", 2);
    ::GlobalUnlock(hText);
    ASSERT_TRUE(text.CacheGlobalData(CF_TEXT, hText));
    COleDataObject data;
    data.Attach(text.GetDataObject(), TRUE);
    EXPECT_FALSE(m_tree.PasteFromDataObject(&data, Item("Lost Sales")));
    EXPECT_EQ(StoreOutline(7), "");
}

TEST_F(HotListsTreeDropTest, CopyPutsTheExistingRecordingsOfTheSelectionOnTheClipboard) {
    AddHotListRecord(20, 5, "gone.zel", m_files.Call("gone.zel", false));
    AddHotListRecord(21, 5, "b.zel", m_wav);
    m_tree.ReloadTree(); // Won Sales and Region never shown
    Select({"Won Sales"});
    std::vector<std::string> files;
    EXPECT_TRUE(WithinTenTries([&] {
        m_tree.CopyToClipboard();
        files = ClipboardFiles(m_host.m_hWnd);
        return files == std::vector<std::string>{m_files.Call("c.zel", false)};
    })) << files.size();
}

TEST_F(HotListsTreeDropTest, CopyWithNothingSelectedLeavesTheClipboard) {
    m_tree.DeselectAll();
    EXPECT_TRUE(WithinTenTries([&] {
        if (!PutTextOnClipboard(m_host.m_hWnd, "left alone"))
            return false;
        m_tree.CopyToClipboard();
        return ClipboardText(m_host.m_hWnd) == "left alone";
    }));
}

TEST_F(HotListsTreeDropTest, LinksCopiedAndPastedThroughTheClipboardKeepTheirRecordings) {
    EXPECT_TRUE(WithinTenTries([&] {
        Select({"Important Calls"});
        m_tree.CopyToClipboard();
        m_tree.PasteFromClipboard(Item("Personal"));
        return StoreOutline(8) == "a.zel,b.zel";
    }));
    std::vector<std::string> targets;
    for (HTREEITEM h = m_tree.GetChildItem(Item("Personal")); h; h = m_tree.GetNextSiblingItem(h))
        targets.push_back(static_cast<LPCTSTR>(m_tree.GetItemTarget(h)));
    EXPECT_EQ(targets, (std::vector<std::string>{m_files.Call("a.zel", false),
                                                 m_files.Call("b.zel", false)}));
}

// ---------------------------------------------------------------------------
// The tree's own drag

TEST_F(HotListsTreeDropTest, ADragCarriesTheRecordingsOfTheSelectionInTreeOrder) {
    Select({"Won Sales", "a.zel"});
    CDropFileList fileList;
    ASSERT_TRUE(m_tree.BuildDropFileList(fileList));
    ASSERT_EQ(fileList.GetSize(), 2);
    EXPECT_EQ(std::string(fileList[0]), m_files.Call("a.zel", false));
    EXPECT_EQ(std::string(fileList[1]), m_files.Call("c.zel", false));
    ASSERT_NE(fileList.GetBlock(), nullptr);
    std::vector<std::string> texts;
    for (int i = 0; i < m_tree.GetDragItems().GetSize(); ++i)
        texts.push_back(static_cast<LPCTSTR>(m_tree.GetDragItems().GetAt(i).Text));
    EXPECT_EQ(texts, (std::vector<std::string>{"a.zel", "Won Sales", "c.zel"}));

    m_tree.DeselectAll();
    CDropFileList none;
    EXPECT_FALSE(m_tree.BuildDropFileList(none));
    EXPECT_EQ(m_tree.GetDragItems().GetSize(), 0);
}

TEST_F(HotListsTreeDropTest, DraggingMovesLinksAndHotListsOntoHotListsOnly) {
    const std::string kStart = "Links to Recordings...(Important Calls(a.zel,b.zel),Won "
                               "Sales(Region(c.zel)),Lost Sales,Personal)";
    const struct {
        const char* pszCase;
        std::initializer_list<const char*> dragged;
        const char* pszOn;
        std::string after;
    } cases[] = {
        {"a link onto another hot list",
         {"a.zel"},
         "Personal",
         "Links to Recordings...(Important Calls(b.zel),Won Sales(Region(c.zel)),Lost "
         "Sales,Personal(a.zel))"},
        {"links onto the root", {"a.zel", "b.zel"}, "Links to Recordings...", kStart},
        {"a link onto a link", {"a.zel"}, "c.zel", kStart},
        {"a hot list onto itself", {"Won Sales"}, "Won Sales", kStart},
        {"a hot list onto its own item", {"Won Sales"}, "Region", kStart},
        {"a hot list onto its own link", {"Won Sales"}, "c.zel", kStart},
        {"a hot list onto another",
         {"Won Sales"},
         "Personal",
         "Links to Recordings...(Important Calls(a.zel,b.zel),Lost Sales,Personal(Won "
         "Sales(Region(c.zel))))"},
        {"a hot list with its own link",
         {"Won Sales", "c.zel"},
         "Lost Sales",
         "Links to Recordings...(Important Calls(a.zel,b.zel),Lost Sales(Won "
         "Sales(Region(c.zel))),Personal)"},
        {"two links and a hot list",
         {"a.zel", "Region", "b.zel"},
         "Lost Sales",
         "Links to Recordings...(Important Calls,Won Sales,Lost Sales(a.zel,b.zel,Region(c.zel)),"
         "Personal)"},
    };
    for (const auto& c : cases) {
        m_tree.DeleteAllItems();
        delete CHotLists::GetInstance();
        m_files.FillSampleStore();
        m_tree.InitTree();
        m_tree.ExpandAll();
        const int nWonSales = IdOf("Won Sales");
        Select(c.dragged);
        DragSelectionOnto(c.pszOn);
        m_tree.ExpandAll();
        EXPECT_EQ(StoreOutline(), c.after) << c.pszCase;
        EXPECT_EQ(TreeOutline(m_tree), c.after) << c.pszCase;
        EXPECT_EQ(m_tree.GetDragItems().GetSize(), 0) << c.pszCase;
        // A moved hot list keeps its ID; a moved link gets a new one.
        EXPECT_EQ(IdOf("Won Sales"), nWonSales) << c.pszCase;
        if (&c == &cases[0]) {
            EXPECT_NE(IdOf("a.zel"), 2);
        }
    }
}

TEST_F(HotListsTreeDropTest, ALinkDraggedOntoAHotListThatHasItsRecordingMergesIntoIt) {
    AddHotListRecord(20, 8, "a.zel", m_files.Call("a.zel", false));
    m_tree.ReloadTree();
    m_tree.ExpandAll();
    Select({"Important Calls"});
    m_tree.SelectAllCalls(Item("Important Calls"));
    m_tree.SetItemSelected(Item("b.zel"), FALSE);
    DragSelectionOnto("Personal");
    EXPECT_EQ(StoreOutline(), "Links to Recordings...(Important Calls(b.zel),Won "
                              "Sales(Region(c.zel)),Lost Sales,Personal(a.zel))");
    EXPECT_EQ(IdOf("a.zel"), 20);
}

TEST_F(HotListsTreeDropTest, AHotListDraggedOntoOneNeverShownAppearsOnceWithItsSiblings) {
    AddHotListRecord(20, 8, "old.zel", m_files.Call("old.zel"));
    m_tree.ReloadTree();
    m_tree.Expand(Item("Won Sales"), TVE_EXPAND);
    Select({"Region"});
    DragSelectionOnto("Personal");
    m_tree.ExpandAll();
    EXPECT_EQ(TreeOutline(m_tree, m_tree.GetChildItem(Item("Personal"))), "old.zel,Region(c.zel)");
    EXPECT_EQ(StoreOutline(8), "old.zel,Region(c.zel)");
    EXPECT_FALSE(m_tree.ItemHasChildren(Item("Won Sales")));
}

// ---------------------------------------------------------------------------
// Real input

// The other window recordings are dragged from: a press on it starts an OLE
// drag of its file list, as the shell or the call list offers it.
class CRecordingSource : public CWnd {
public:
    std::vector<std::string> m_paths;
    DROPEFFECT m_result = 0xFFFF;

protected:
    afx_msg void OnLButtonDown(UINT, CPoint) {
        COleDataSource source;
        source.CacheGlobalData(CF_HDROP, MakeDropBlock(m_paths));
        m_result = source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRecordingSource, CWnd)
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

// A drag with the real mouse from ptStart to ptEnd (screen points), released
// there once ready() holds. Whether the script ran to its end.
bool RunDrag(CPoint ptStart, CPoint ptEnd, const std::function<bool()>& ready) {
    return RunMouseDrag(ptStart, {{ptEnd, ready}});
}

class HotListsTreeDropInputTest : public HotListsTreeDropTest {
protected:
    void SetUp() override {
        HotListsTreeDropTest::SetUp();
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
};

TEST_F(HotListsTreeDropInputTest, RecordingsDraggedFromAnotherWindowBecomeLinksInput) {
    CRecordingSource source;
    ASSERT_TRUE(source.CreateEx(
        0, AfxRegisterWndClass(0, nullptr, ::GetSysColorBrush(COLOR_WINDOW)), "recordings",
        WS_POPUP | WS_VISIBLE | WS_BORDER, 500, 100, 200, 200, nullptr, nullptr));
    const std::string second = m_files.File("second.zel");
    WriteWholeFile(second, RecordingBytes());
    source.m_paths = {m_zel, m_wav, second};
    Settle(100);
    EXPECT_TRUE(RunDrag(CPoint(600, 200), OnLabel("Lost Sales"),
                        [&] { return m_tree.GetSelectedItem() == Item("Lost Sales"); }));
    EXPECT_EQ(StoreOutline(7), "new.zel,second.zel");
    EXPECT_EQ(source.m_result, static_cast<DROPEFFECT>(DROPEFFECT_COPY));
    // The files stay where they were.
    EXPECT_TRUE(FileExists(m_zel));
    EXPECT_TRUE(FileExists(m_wav));
    source.DestroyWindow();
}

TEST_F(HotListsTreeDropInputTest, ALinkDraggedInsideTheTreeMovesInput) {
    EXPECT_TRUE(RunDrag(OnLabel("a.zel"), OnLabel("Personal"),
                        [&] { return m_tree.GetSelectedItem() == Item("Personal"); }));
    EXPECT_EQ(StoreOutline(), "Links to Recordings...(Important Calls(b.zel),Won "
                              "Sales(Region(c.zel)),Lost Sales,Personal(a.zel))");
    EXPECT_EQ(m_tree.GetDragItems().GetSize(), 0);
    EXPECT_TRUE(FileExists(m_files.Call("a.zel", false)));
}

} // namespace
