// Tests of the drops on CShellFolderTree: recordings dropped on a folder
// (WM_DROPFILES with a block of CDropFileList) are copied into it after a
// question, under the Access Panel's filter; a copy never goes onto the file
// itself, asks before it replaces another file, leaves no half file when it
// fails and stops at the first failure; a drop on an item without a
// file-system path is refused. With real input: recordings dragged from
// another window onto a folder of the tree (the OLE road), and the tree's
// own folders dragged out onto another window. Screenshot: shell-tree-drag.png.
#include "ShellFolderTreeFixture.h"

#include "tests/app/DropBlock.h"

#include "tests/support/Canvas.h"
#include "tests/support/MouseDrag.h"
#include "tests/support/SyntheticInput.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

CAnsweringApp theApp;

// The paths of a CF_HDROP block.
std::vector<std::string> PathsOfBlock(HGLOBAL hBlock) {
    std::vector<std::string> paths;
    HDROP hDrop = static_cast<HDROP>(hBlock);
    const UINT nFiles = ::DragQueryFileA(hDrop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < nFiles; ++i) {
        char szPath[MAX_PATH] = "";
        ::DragQueryFileA(hDrop, i, szPath, MAX_PATH);
        paths.push_back(szPath);
    }
    return paths;
}

// The names in a folder, sorted.
std::vector<std::string> NamesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE hFind = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (strcmp(found.cFileName, ".") != 0 && strcmp(found.cFileName, "..") != 0)
            names.push_back(found.cFileName);
    } while (::FindNextFileA(hFind, &found));
    ::FindClose(hFind);
    std::sort(names.begin(), names.end());
    return names;
}

std::string Question(const std::string& folder, int nFiles) {
    return "Are you sure want to copy recordings(s) to " + folder + "?\n" + std::to_string(nFiles) +
           " recordings";
}

class ShellFolderTreeDropTest : public ShellFolderTreeTest {
protected:
    void SetUp() override {
        ShellFolderTreeTest::SetUp();
        // The Access Panel's filter: recordings only.
        CShellFolderTree::DROPFILTER filter;
        filter.dwFlags = CShellFolderTree::DROP_FILES | CShellFolderTree::DROP_MATCH_EXTENSION;
        filter.strExtension = ".zel";
        m_tree.SetDropFilter(filter);
        ASSERT_TRUE(::CreateDirectoryA(Path("Source").c_str(), nullptr));
    }

    // A file of the source folder with bytes of its own; its full path.
    std::string Source(const char* pszName) {
        const std::string path = Path("Source\\") + pszName;
        EXPECT_TRUE(WriteWholeFile(path, RecordingBytes(pszName)));
        return path;
    }
    // The paths dropped as WM_DROPFILES on the tree, with the folder as the caret item.
    void DropOn(const char* pszFolder, const std::vector<std::string>& paths) {
        if (pszFolder != nullptr) {
            ASSERT_TRUE(m_tree.SelectItem(Find(pszFolder)));
        }
        m_tree.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDropBlock(paths)), 0);
    }
    void Answer(std::vector<int> answers) {
        App().m_answers.assign(answers.begin(), answers.end());
        App().m_prompts.clear();
    }
};

TEST_F(ShellFolderTreeDropTest, RecordingsAreCopiedUnderTheirBaseNamesAfterTheQuestion) {
    const std::vector<std::string> sources = {Source("First.ZEL"), Source("second.zel"),
                                              Source("third.wav")};
    struct Case {
        const char* pszFolder;
        std::vector<std::string> dropped;
        int nAnswer;
        std::vector<std::string> names; // in the folder afterwards
    };
    const Case cases[] = {
        {"Empty", sources, IDYES, {"First.zel", "second.zel"}},
        {"Calls.old", sources, IDNO, {}},
        {"Hidden", {Path("Calls"), Path("Calls.old")}, IDYES, {}}, // folders are not taken
    };
    for (const Case& c : cases) {
        Answer({c.nAnswer});
        DropOn(c.pszFolder, c.dropped);
        EXPECT_EQ(std::vector<std::string>{Question(Path(c.pszFolder), int(c.dropped.size()))},
                  App().m_prompts)
            << c.pszFolder;
        EXPECT_EQ(c.names, NamesIn(Path(c.pszFolder))) << c.pszFolder;
    }
    EXPECT_EQ(RecordingBytes("First.ZEL"), ReadWholeFile(Path("Empty\\First.zel")));
    EXPECT_EQ(RecordingBytes("second.zel"), ReadWholeFile(Path("Empty\\second.zel")));
    for (const std::string& source : sources)
        EXPECT_TRUE(FileExists(source)) << source; // a copy, not a move
}

// Dropped onto its own folder, a recording is its own destination, however
// its path is spelled: it is left as it is (copied onto itself it would be
// emptied), and the others are copied.
TEST_F(ShellFolderTreeDropTest, ARecordingIsNeverCopiedOntoItself) {
    const std::string original = ReadWholeFile(Path("Calls\\c.zel"));
    const std::string spellings[] = {
        Path("Calls\\c.zel"),
        Path("Calls\\C.ZEL"),
        Path("Calls\\A\\..\\c.zel"),
        Path("Calls/c.zel"),
    };
    for (const std::string& spelling : spellings) {
        Answer({IDYES, IDYES});
        DropOn("Calls", {spelling, Source("new.zel")});
        EXPECT_EQ(std::vector<std::string>{Question(Path("Calls"), 2)}, App().m_prompts)
            << spelling; // no question about replacing
        EXPECT_EQ(original, ReadWholeFile(Path("Calls\\c.zel"))) << spelling;
        EXPECT_EQ((std::vector<std::string>{"A", "B", "c.zel", "new.zel"}), NamesIn(Path("Calls")))
            << spelling;
        ASSERT_TRUE(::DeleteFileA(Path("Calls\\new.zel").c_str()));
    }
}

TEST_F(ShellFolderTreeDropTest, ADifferentFileOfTheSameNameIsReplacedOnlyOnYes) {
    const std::string kept = RecordingBytes("kept");
    struct Case {
        int nAnswer;
        std::string expected;
    };
    const Case cases[] = {{IDNO, kept}, {IDYES, RecordingBytes("c.ZEL")}};
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteWholeFile(Path("Calls\\c.zel"), kept));
        Answer({IDYES, c.nAnswer});
        DropOn("Calls", {Source("c.ZEL"), Source("after.zel")});
        ASSERT_EQ(2u, App().m_prompts.size());
        EXPECT_EQ("The file " + Path("Calls\\c.zel") +
                      " already exists.\nDo you want to replace "
                      "it with " +
                      Path("Source\\c.ZEL") + "?",
                  App().m_prompts[1]);
        EXPECT_EQ(c.expected, ReadWholeFile(Path("Calls\\c.zel"))) << c.nAnswer;
        // The files after it are copied either way.
        EXPECT_EQ((std::vector<std::string>{"A", "B", "after.zel", "c.zel"}),
                  NamesIn(Path("Calls")))
            << c.nAnswer;
        ASSERT_TRUE(::DeleteFileA(Path("Calls\\after.zel").c_str()));
    }
}

// The second of three recordings cannot be read: one message, the first one
// copied, the third not, and nothing half-written left in the folder.
TEST_F(ShellFolderTreeDropTest, AFailedCopyStopsTheDropAndLeavesNoHalfFile) {
    const std::vector<std::string> sources = {Source("one.zel"), Source("two.zel"),
                                              Source("three.zel")};
    HANDLE hLocked =
        ::CreateFileA(sources[1].c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hLocked);
    Answer({IDYES, IDOK});
    DropOn("Empty", sources);
    ::CloseHandle(hLocked);
    EXPECT_EQ(
        (std::vector<std::string>{Question(Path("Empty"), 3), "Could not copy file " + sources[1] +
                                                                  " to " + Path("Empty\\two.zel")}),
        App().m_prompts);
    EXPECT_EQ(std::vector<std::string>{"one.zel"}, NamesIn(Path("Empty")));

    // A failed copy over an existing file leaves that file whole.
    const std::string kept = RecordingBytes("kept");
    ASSERT_TRUE(WriteWholeFile(Path("Empty\\two.zel"), kept));
    hLocked =
        ::CreateFileA(sources[1].c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    Answer({IDYES, IDYES, IDOK});
    DropOn("Empty", {sources[1]});
    ::CloseHandle(hLocked);
    EXPECT_EQ(3u, App().m_prompts.size());
    EXPECT_EQ(kept, ReadWholeFile(Path("Empty\\two.zel")));
    EXPECT_EQ((std::vector<std::string>{"one.zel", "two.zel"}), NamesIn(Path("Empty")));
}

// Without a folder of the file system under it, a drop would copy to the
// root of the current drive: it is refused before anything is asked.
TEST_F(ShellFolderTreeDropTest, ADropOnAnItemWithoutAFileSystemPathIsRefused) {
    const std::string source = Source("lost.zel");
    ASSERT_TRUE(m_tree.Initialize(""));
    const HTREEITEM hComputer = Find("My Computer");
    ASSERT_NE(nullptr, hComputer);
    ASSERT_EQ("", std::string(m_tree.GetItemPath(hComputer)));
    Answer({IDYES});
    DropOn("My Computer", {source});
    EXPECT_TRUE(App().m_prompts.empty());
    EXPECT_FALSE(FileExists("C:\\lost.zel"));
    EXPECT_FALSE(FileExists("Z:\\lost.zel"));

    // Nor with no caret item at all.
    m_tree.SelectItem(nullptr);
    DropOn(nullptr, {source});
    EXPECT_TRUE(App().m_prompts.empty());
}

// The drop target answers each step of a drag: the item under the cursor
// becomes the caret item, and a file list is taken (as a copy) only over a
// folder of the file system.
TEST_F(ShellFolderTreeDropTest, TheDropTargetFollowsTheCursorAndTakesFilesOnlyOverAFolder) {
    COleDataSource files;
    ASSERT_TRUE(files.CacheGlobalData(CF_HDROP, MakeDropBlock({Source("x.zel")})));
    COleDataSource text;
    HGLOBAL hText = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 8);
    ASSERT_TRUE(text.CacheGlobalData(CF_TEXT, hText));
    COleDataObject filesData;
    filesData.Attach(files.GetDataObject(), TRUE);
    COleDataObject textData;
    textData.Attach(text.GetDataObject(), TRUE);

    CShellFolderTreeDropTarget target(&m_tree);
    CRect rectClient;
    m_tree.GetClientRect(&rectClient);
    const HTREEITEM hCalls = Find("Calls");
    struct Case {
        const char* pszWhere;
        CPoint point;
        COleDataObject* pData;
        DROPEFFECT effect;
        HTREEITEM hCaret;
    };
    const Case cases[] = {
        {"over a folder", ItemPoint(hCalls), &filesData, DROPEFFECT_COPY, hCalls},
        {"with text", ItemPoint(Find("Empty")), &textData, DROPEFFECT_NONE, Find("Empty")},
        {"below the items", CPoint(20, rectClient.bottom - 5), &filesData, DROPEFFECT_NONE,
         Find("Empty")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.effect, target.OnDragOver(&m_tree, c.pData, MK_LBUTTON, c.point)) << c.pszWhere;
        EXPECT_EQ(c.hCaret, m_tree.GetSelectedItem()) << c.pszWhere;
    }
    ASSERT_TRUE(m_tree.Initialize(""));
    const HTREEITEM hComputer = Find("My Computer");
    ASSERT_NE(nullptr, hComputer);
    EXPECT_EQ(DROPEFFECT_NONE,
              target.OnDragOver(&m_tree, &filesData, MK_LBUTTON, ItemPoint(hComputer)));
    EXPECT_EQ(hComputer, m_tree.GetSelectedItem());
}

// ---------------------------------------------------------------------------
// Real input: OLE drags

// A window that starts an OLE drag of its files when the left button goes down.
class CDragSourceWnd : public CWnd {
public:
    BOOL Make(const CRect& rect) {
        return CreateEx(0,
                        AfxRegisterWndClass(CS_DBLCLKS, nullptr, ::GetSysColorBrush(COLOR_3DFACE)),
                        "recordings", WS_POPUP | WS_VISIBLE, rect.left, rect.top, rect.Width(),
                        rect.Height(), nullptr, nullptr);
    }
    std::vector<std::string> m_files;
    DROPEFFECT m_effect = DROPEFFECT_NONE;

protected:
    afx_msg void OnLButtonDown(UINT, CPoint) {
        COleDataSource source;
        source.CacheGlobalData(CF_HDROP, MakeDropBlock(m_files));
        m_effect = source.DoDragDrop(DROPEFFECT_COPY);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDragSourceWnd, CWnd)
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

// A window that takes dropped file lists and keeps the last.
class CFileListTarget : public COleDropTarget {
public:
    DROPEFFECT OnDragOver(CWnd*, COleDataObject* pData, DWORD, CPoint) override {
        return pData->IsDataAvailable(CF_HDROP) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    }
    BOOL OnDrop(CWnd*, COleDataObject* pData, DROPEFFECT, CPoint) override {
        HGLOBAL hBlock = pData->GetGlobalData(CF_HDROP);
        if (hBlock == nullptr)
            return FALSE;
        m_files = PathsOfBlock(hBlock);
        ::GlobalFree(hBlock);
        return TRUE;
    }
    std::vector<std::string> m_files;
};

using Waypoint = DragWaypoint;

// A drag with the real mouse from ptStart along the waypoints, released at the
// last one after atDrop ran. The steps run from a timer, since the drag's own
// loop owns the thread meanwhile. Answers whether the script ran to its end.
bool RunDrag(CPoint ptStart, const std::vector<Waypoint>& waypoints, std::function<void()> atDrop) {
    return RunMouseDrag(ptStart, waypoints, false, atDrop);
}

class ShellFolderTreeDragInputTest : public ShellFolderTreeDropTest {
protected:
    void SetUp() override {
        ShellFolderTreeDropTest::SetUp();
        ASSERT_TRUE(m_other.Make(CRect(460, 40, 700, 280)));
        m_host.SetForegroundWindow();
        Settle(200);
    }
    void TearDown() override {
        m_other.DestroyWindow();
        ShellFolderTreeDropTest::TearDown();
    }
    CPoint OtherScreenPoint() const {
        CRect rect;
        m_other.GetWindowRect(&rect);
        return rect.CenterPoint();
    }
    CDragSourceWnd m_other;
};

TEST_F(ShellFolderTreeDragInputTest, RecordingsDraggedOntoAFolderAreCopiedIntoItInput) {
    m_other.m_files = {Source("monday.zel"), Source("tuesday.ZEL"), Source("notes.txt")};
    const HTREEITEM hEmpty = Find("Empty");
    Answer({IDYES});
    // Over Calls first: the caret follows the cursor to the folder of the drop.
    ASSERT_TRUE(
        RunDrag(OtherScreenPoint(),
                {{ItemScreenPoint(Find("Calls")),
                  [&] { return m_tree.GetSelectedItem() == Find("Calls"); }},
                 {ItemScreenPoint(hEmpty), [&] { return m_tree.GetSelectedItem() == hEmpty; }}},
                [&] {
                    CRect rect;
                    rect.UnionRect(
                        [&] {
                            CRect r;
                            m_host.GetWindowRect(&r);
                            return r;
                        }(),
                        [&] {
                            CRect r;
                            m_other.GetWindowRect(&r);
                            return r;
                        }());
                    SaveScreenPng(rect, "shell-tree-drag.png");
                }));
    EXPECT_EQ(DROPEFFECT_COPY, m_other.m_effect);
    EXPECT_EQ(hEmpty, m_tree.GetSelectedItem());
    EXPECT_EQ(std::vector<std::string>{Question(Path("Empty"), 3)}, App().m_prompts);
    EXPECT_EQ((std::vector<std::string>{"monday.zel", "tuesday.zel"}), NamesIn(Path("Empty")));
    EXPECT_EQ(RecordingBytes("tuesday.ZEL"), ReadWholeFile(Path("Empty\\tuesday.zel")));
}

TEST_F(ShellFolderTreeDragInputTest, AFolderDraggedOutOffersItsPathAndIsNotDroppedBackInput) {
    CFileListTarget target;
    ASSERT_TRUE(target.Register(&m_other));
    const HTREEITEM hCalls = Find("Calls");
    Answer({IDYES});
    // Across the tree's own Empty folder, then out onto the other window.
    ASSERT_TRUE(RunDrag(ItemScreenPoint(hCalls),
                        {{ItemScreenPoint(Find("Empty")), [] { return true; }},
                         {OtherScreenPoint(), [] { return true; }}},
                        nullptr));
    EXPECT_EQ(std::vector<std::string>{Path("Calls")}, target.m_files);
    EXPECT_TRUE(App().m_prompts.empty());
    EXPECT_TRUE(FileExists(Path("Calls\\c.zel")));

    // Dropped back on the tree itself, the tree's own folder is ignored.
    ASSERT_TRUE(RunDrag(ItemScreenPoint(Find("Calls.old")),
                        {{ItemScreenPoint(Find("Empty")), [] { return true; }}}, nullptr));
    EXPECT_TRUE(App().m_prompts.empty());
    EXPECT_TRUE(NamesIn(Path("Empty")).empty());

    // Once the drag is over, files dropped on the tree are taken again.
    Answer({IDYES});
    DropOn("Empty", {Source("later.zel")});
    EXPECT_EQ(std::vector<std::string>{Question(Path("Empty"), 1)}, App().m_prompts);
    EXPECT_EQ(std::vector<std::string>{"later.zel"}, NamesIn(Path("Empty")));
    target.Revoke();
}

} // namespace
