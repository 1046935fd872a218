// Tests of CCallDetailsCtrl: files and folders dropped on the list (through the
// dropped-files message, and with the real mouse through OLE) reach its parent
// as the private view messages, under the drop filter; shell links are
// followed; header clicks sort with the right flag and mark the header; the
// read-only cells refuse an edit; Ctrl+A and the drag start; the text of an
// empty list; and, with real input, the cell edit that reports one accepted
// change and nothing for Esc. Screenshot: call-details-empty.png.
#include "native/gtest.h"

#include "CallDetailsCtrl.h"
#include "InPlaceEdit.h"
#include "ScoredFileListEntry.h"

#include "Common/KWArray.h"
#include "Common/KWString.h"

#include "framework/Ole.h"

#include "tests/app/DropBlock.h"
#include "tests/app/SmallDialogsTestKit.h"
#include "tests/support/AnsweringApp.h"
#include "tests/support/Canvas.h"
#include "tests/support/MouseDrag.h"
#include "tests/support/RecordingFixtures.h"
#include "tests/support/SyntheticInput.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UiScript.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

CAnsweringApp theApp;

using smalldlg::CHostWnd;
using smalldlg::PumpTranslated;
using smalldlg::PumpTranslatedUntil;

const UINT kListId = 1013;
const int kCallerIdColumn = 3;
const int kColumnCount = 6;

// The parent view of the list: answers its cells as the call-list view does
// (only the Caller ID editable) and keeps every private message it receives.
class CRecordingHost : public CHostWnd {
public:
    std::vector<std::string> m_callerIds; // one per row
    std::vector<std::pair<int, int>> m_sorts;
    std::vector<std::string> m_added; // path | Caller ID of each added entry
    std::vector<std::vector<std::string>> m_folderDrops;
    std::vector<std::string> m_edits; // "row,column:text"
    int m_resorts = 0;
    int m_dragStarts = 0;
    bool m_blank = false; // every cell empty
    CCallDetailsCtrl* m_pList = nullptr;

protected:
    afx_msg void OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult) {
        NMLVDISPINFOA* pInfo = reinterpret_cast<NMLVDISPINFOA*>(pNMHDR);
        const int row = pInfo->item.iItem;
        const int column = pInfo->item.iSubItem;
        *pResult = 0;
        if (row < 0 || row >= static_cast<int>(m_callerIds.size()))
            return;
        std::string text = column == kCallerIdColumn ? m_callerIds[static_cast<size_t>(row)]
                           : m_blank                 ? std::string()
                                                     : "cell " + std::to_string(column);
        m_pList->SetCellReadOnly(row, column, column == kCallerIdColumn ? 0 : 1);
        if (column == kCallerIdColumn)
            m_pList->SetEditMaxLength(100);
        if ((pInfo->item.mask & LVIF_TEXT) != 0 && pInfo->item.pszText != nullptr)
            lstrcpynA(pInfo->item.pszText, text.c_str(), pInfo->item.cchTextMax);
    }
    afx_msg LRESULT OnSort(WPARAM wParam, LPARAM lParam) {
        m_sorts.emplace_back(static_cast<int>(wParam), static_cast<int>(lParam));
        return 0;
    }
    afx_msg LRESULT OnAdd(WPARAM, LPARAM lParam) {
        CScoredFileListEntry* pEntry = reinterpret_cast<CScoredFileListEntry*>(lParam);
        m_added.push_back(std::string(pEntry->GetPath()) + "|" + pEntry->GetCallerId());
        delete pEntry;
        return 1;
    }
    afx_msg LRESULT OnResort(WPARAM, LPARAM) {
        ++m_resorts;
        return 1;
    }
    afx_msg LRESULT OnBeginDrag(WPARAM, LPARAM) {
        ++m_dragStarts;
        return 1;
    }
    afx_msg LRESULT OnSearchFolders(WPARAM, LPARAM lParam) {
        CKWArray<CKWString>* pFolders = reinterpret_cast<CKWArray<CKWString>*>(lParam);
        std::vector<std::string> folders;
        for (int i = 0; i < pFolders->GetSize(); ++i)
            folders.push_back(static_cast<const char*>(pFolders->GetAt(i)));
        m_folderDrops.push_back(folders);
        delete pFolders;
        return 1;
    }
    afx_msg LRESULT OnCellEdited(WPARAM, LPARAM lParam) {
        const NMLVDISPINFOA* pInfo = reinterpret_cast<const NMLVDISPINFOA*>(lParam);
        m_edits.push_back(std::to_string(pInfo->item.iItem) + "," +
                          std::to_string(pInfo->item.iSubItem) + ":" + pInfo->item.pszText);
        return 1;
    }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CRecordingHost, CHostWnd)
    ON_NOTIFY(LVN_GETDISPINFOA, kListId, &CRecordingHost::OnGetDispInfo)
    ON_MESSAGE(WM_LIST_SORT, &CRecordingHost::OnSort)
    ON_MESSAGE(WM_LIST_ADD_RECORDING, &CRecordingHost::OnAdd)
    ON_MESSAGE(WM_LIST_RESORT, &CRecordingHost::OnResort)
    ON_MESSAGE(WM_LIST_BEGIN_DRAG, &CRecordingHost::OnBeginDrag)
    ON_MESSAGE(WM_LIST_SEARCH_FOLDERS, &CRecordingHost::OnSearchFolders)
    ON_MESSAGE(WM_LIST_CELL_EDITED, &CRecordingHost::OnCellEdited)
END_MESSAGE_MAP()
// clang-format on

// A shell link at linkPath to target; false when it could not be written.
bool MakeShellLink(const std::string& target, const std::string& linkPath) {
    IShellLinkA* pLink = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&pLink))))
        return false;
    bool saved = false;
    IPersistFile* pFile = nullptr;
    if (SUCCEEDED(pLink->SetPath(target.c_str())) &&
        SUCCEEDED(pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pFile)))) {
        WCHAR wide[MAX_PATH] = {};
        ::MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, MAX_PATH);
        saved = SUCCEEDED(pFile->Save(wide, TRUE));
        pFile->Release();
    }
    pLink->Release();
    return saved;
}

std::string RecordingBytes(const std::string& callerId) {
    RecordingFields fields;
    fields.callerId = callerId;
    fields.userId = "agent";
    fields.duration = 1;
    fields.format = 7;
    return MakeHeaderV2to4(4, 1440, fields) + std::string(8000, '\x7f');
}

class CallDetailsCtrlTest : public ::testing::Test {
protected:
    void SetUp() override {
        theApp.m_prompts.clear();
        ASSERT_TRUE(m_host.Make("CallDetailsCtrl", CRect(40, 40, 700, 420)));
        m_host.m_pList = &m_list;
        ASSERT_TRUE(m_list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT |
                                      LVS_OWNERDATA | LVS_EDITLABELS | LVS_SHOWSELALWAYS,
                                  CRect(10, 10, 640, 340), &m_host, kListId));
        for (int i = 0; i < kColumnCount; ++i)
            m_list.InsertColumn(i, ("Column " + std::to_string(i)).c_str(), LVCFMT_LEFT, 100);
        FileDropFilter filter;
        filter.flags =
            FileDropFilter::kFiles | FileDropFilter::kFolders | FileDropFilter::kMatchExtension;
        filter.extension = ".zel";
        ASSERT_EQ(m_list.SetDropFilter(filter), 1);
    }
    void TearDown() override {
        if (::IsWindow(m_host.m_hWnd))
            m_host.DestroyWindow();
    }

    void SetRows(const std::vector<std::string>& callerIds) {
        m_host.m_callerIds = callerIds;
        m_list.SetItemCount(static_cast<int>(callerIds.size()));
    }

    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = m_folder.File(name);
        EXPECT_TRUE(WriteWholeFile(path, bytes));
        return path;
    }
    std::string MakeFolder(const std::string& name) {
        const std::string path = m_folder.File(name);
        EXPECT_TRUE(::CreateDirectoryA(path.c_str(), nullptr));
        return path;
    }

    void DropFiles(const std::vector<std::string>& paths) {
        m_list.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDropBlock(paths)), 0);
    }

    // The list's reflected notification, as the list control sends it.
    LRESULT Notify(UINT code, int row, int column) {
        NMLVDISPINFOA info = {};
        info.hdr.hwndFrom = m_list.m_hWnd;
        info.hdr.idFrom = kListId;
        info.hdr.code = code;
        info.item.iItem = row;
        info.item.iSubItem = column;
        return m_host.SendMessage(WM_NOTIFY, kListId, reinterpret_cast<LPARAM>(&info));
    }
    void ClickHeader(int column) {
        NMLISTVIEW info = {};
        info.hdr.hwndFrom = m_list.m_hWnd;
        info.hdr.idFrom = kListId;
        info.hdr.code = LVN_COLUMNCLICK;
        info.iItem = -1;
        info.iSubItem = column;
        m_host.SendMessage(WM_NOTIFY, kListId, reinterpret_cast<LPARAM>(&info));
    }

    CTempFolder m_folder;
    CRecordingHost m_host;
    CCallDetailsCtrl m_list;
};

// ---------------------------------------------------------------------------
// Drops

// Recordings become entries with their headers read; folders (a link's
// target too) go to the folder search in one array; whatever the filter does
// not take is passed over in silence. Every drop ends with one re-sort.
TEST_F(CallDetailsCtrlTest, DroppedItemsReachTheViewByTheirKind) {
    const std::string a = Write("A-1.ZEL", RecordingBytes("111"));
    const std::string b = Write("B-2.Zel", RecordingBytes("222"));
    const std::string c = Write("C-3.zel", RecordingBytes("333"));
    const std::string wav = Write("D-4.wav", RecordingBytes("444"));
    const std::string folder = MakeFolder("Calls");
    const std::string linked = MakeFolder("Linked");
    const std::string link = m_folder.File("Calls shortcut.lnk");
    ASSERT_TRUE(MakeShellLink(linked, link));
    const std::string missing = m_folder.File("gone.zel");

    struct Case {
        const char* name;
        std::vector<std::string> dropped;
        std::vector<std::string> added;
        std::vector<std::vector<std::string>> folders;
    };
    const Case cases[] = {
        {"three recordings in capitals and a WAV file",
         {a, b, wav, c},
         {a + "|111", b + "|222", c + "|333"},
         {}},
        {"a folder", {folder}, {}, {{folder}}},
        {"a shortcut to a folder", {link}, {}, {{linked}}},
        {"folders beside a recording", {folder, a, linked}, {a + "|111"}, {{folder, linked}}},
        {"a file that is gone", {missing}, {}, {}},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.name);
        m_host.m_added.clear();
        m_host.m_folderDrops.clear();
        m_host.m_resorts = 0;
        DropFiles(t.dropped);
        EXPECT_EQ(m_host.m_added, t.added);
        EXPECT_EQ(m_host.m_folderDrops, t.folders);
        EXPECT_EQ(m_host.m_resorts, 1);
    }
    EXPECT_TRUE(theApp.m_prompts.empty());
}

// Without folders in the filter a folder is passed over; with the callback
// flag every accepted item goes to the callback instead, with its kind; a
// callback flag without a callback is refused and the old filter stays.
TEST_F(CallDetailsCtrlTest, TheDropFilterDecidesWhatIsTaken) {
    const std::string zel = Write("A-1.zel", RecordingBytes("1"));
    const std::string folder = MakeFolder("Calls");
    static std::vector<std::string> s_called;
    s_called.clear();
    const FileDropCallback callback = [](CCallDetailsCtrl*, const char* path, int kind) {
        s_called.push_back(std::to_string(kind) + ":" + path);
    };

    FileDropFilter refused;
    refused.flags = FileDropFilter::kFiles | FileDropFilter::kCallback;
    EXPECT_EQ(m_list.SetDropFilter(refused), 0);
    DropFiles({zel, folder});
    EXPECT_EQ(m_host.m_added, std::vector<std::string>{zel + "|1"});
    EXPECT_EQ(m_host.m_folderDrops.size(), 1u);

    FileDropFilter filesOnly;
    filesOnly.flags = FileDropFilter::kFiles;
    ASSERT_EQ(m_list.SetDropFilter(filesOnly), 1);
    m_host.m_added.clear();
    m_host.m_folderDrops.clear();
    DropFiles({folder, zel});
    EXPECT_EQ(m_host.m_added, std::vector<std::string>{zel + "|1"});
    EXPECT_TRUE(m_host.m_folderDrops.empty());

    FileDropFilter handedOn;
    handedOn.flags = FileDropFilter::kFiles | FileDropFilter::kFolders | FileDropFilter::kCallback;
    handedOn.callback = callback;
    ASSERT_EQ(m_list.SetDropFilter(handedOn), 1);
    m_host.m_added.clear();
    DropFiles({zel, folder});
    EXPECT_EQ(s_called, (std::vector<std::string>{"128:" + zel, "64:" + folder}));
    EXPECT_TRUE(m_host.m_added.empty());
    EXPECT_TRUE(m_host.m_folderDrops.empty());
}

TEST_F(CallDetailsCtrlTest, AShortcutResolvesToItsTarget) {
    const std::string folder = MakeFolder("Target");
    const std::string file = Write("A-1.zel", RecordingBytes("1"));
    const std::string toFolder = m_folder.File("folder.lnk");
    const std::string toFile = m_folder.File("file.lnk");
    ASSERT_TRUE(MakeShellLink(folder, toFolder));
    ASSERT_TRUE(MakeShellLink(file, toFile));
    const std::string broken = Write("broken.lnk", "not a link at all");
    struct Case {
        std::string path;
        std::string target;
    } const cases[] = {{"", ""}, {toFolder, folder}, {toFile, file}, {file, ""}, {broken, ""}};
    for (const Case& c : cases)
        EXPECT_EQ(std::string(CCallDetailsCtrl::ResolveShortcut(c.path.c_str())), c.target)
            << c.path;
}

// ---------------------------------------------------------------------------
// Sorting

// The first click on "Date + Time" (5, the view's own order) asks for newest
// first (1); a second click on it reverses; another column starts with 0.
// The header shows one mark, on the clicked column, pointing the flag's way.
TEST_F(CallDetailsCtrlTest, HeaderClicksSortWithTheFlagAndMarkTheColumn) {
    DLLVERSIONINFO version = {};
    version.cbSize = sizeof(version);
    HMODULE hComCtl = ::GetModuleHandleA("comctl32.dll");
    typedef HRESULT(CALLBACK * DllGetVersionFn)(DLLVERSIONINFO*);
    DllGetVersionFn pfnVersion = reinterpret_cast<DllGetVersionFn>(
        reinterpret_cast<void*>(::GetProcAddress(hComCtl, "DllGetVersion")));
    ASSERT_NE(pfnVersion, nullptr);
    ASSERT_TRUE(SUCCEEDED(pfnVersion(&version)));
    const bool bMarks = version.dwMajorVersion == 6;

    struct Click {
        int column;
        int flag;
    } const clicks[] = {{5, 1}, {5, 0}, {5, 1}, {2, 0}, {2, 1}, {4, 0}, {5, 0}};
    for (const Click& click : clicks) {
        SCOPED_TRACE(std::to_string(click.column) + " " + std::to_string(click.flag));
        m_host.m_sorts.clear();
        ClickHeader(click.column);
        ASSERT_EQ(m_host.m_sorts.size(), 1u);
        EXPECT_EQ(m_host.m_sorts[0], std::make_pair(click.column, click.flag));
        EXPECT_EQ(m_list.GetSortArrowColumn(), click.column);
        EXPECT_EQ(m_list.GetSortArrowFlag(), click.flag);
        CHeaderCtrl* pHeader = m_list.GetHeaderCtrl();
        ASSERT_NE(pHeader, nullptr);
        for (int i = 0; i < kColumnCount; ++i) {
            HDITEMA item = {};
            item.mask = HDI_FORMAT | HDI_BITMAP;
            ASSERT_TRUE(pHeader->GetItem(i, &item));
            const bool bMarked = bMarks ? (item.fmt & (HDF_SORTUP | HDF_SORTDOWN)) != 0
                                        : (item.fmt & HDF_BITMAP) != 0 && item.hbm != nullptr;
            EXPECT_EQ(bMarked, i == click.column) << "column " << i;
            if (i != click.column)
                continue;
            if (bMarks) {
                EXPECT_EQ((item.fmt & HDF_SORTUP) != 0, click.flag == 1);
            } else {
                BITMAP bitmap = {};
                ASSERT_TRUE(::GetObjectA(item.hbm, sizeof(bitmap), &bitmap));
                EXPECT_EQ(bitmap.bmWidth, 9);
                EXPECT_NE(item.fmt & HDF_BITMAP_ON_RIGHT, 0);
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Cells, keys and drags

TEST_F(CallDetailsCtrlTest, ReadOnlyCellsRefuseTheListsOwnEdit) {
    SetRows({"1", "2"});
    m_list.SetCellReadOnly(1, 0, 1);
    m_list.SetCellReadOnly(1, 0, 1);
    m_list.SetCellReadOnly(1, 2, 1);
    m_list.SetCellReadOnly(1, 2, 0);
    EXPECT_EQ(m_list.IsCellReadOnly(1, 0), 1);
    EXPECT_EQ(m_list.IsCellReadOnly(1, 2), 0);
    EXPECT_EQ(Notify(LVN_BEGINLABELEDITA, 1, 0), 1);
    EXPECT_EQ(Notify(LVN_BEGINLABELEDITA, 1, 2), 0);
    // An end on a read-only cell changes nothing; the view hears of none.
    EXPECT_EQ(Notify(LVN_ENDLABELEDITA, 1, 0), 1);
    EXPECT_TRUE(m_host.m_edits.empty());
}

TEST_F(CallDetailsCtrlTest, CtrlASelectsEveryRowAndADragStartIsReported) {
    SetRows({"1", "2", "3", "4"});
    m_list.SendMessage(WM_CHAR, 1, 0);
    EXPECT_EQ(m_list.GetSelectedCount(), 4u);
    EXPECT_EQ(Notify(LVN_BEGINDRAG, 0, 0), 0);
    EXPECT_EQ(m_host.m_dragStarts, 1);
}

// The cell editor and OLE serve every list of the process: a list that goes
// leaves an editor open over another list's cell, and OLE, in place.
TEST_F(CallDetailsCtrlTest, AListThatGoesLeavesTheOthersEditorAndOle) {
    SetRows({"1"});
    CRect rectCell;
    ASSERT_TRUE(m_list.GetSubItemRect(0, kCallerIdColumn, LVIR_BOUNDS, rectCell));
    CInPlaceEdit* pEditor = CInPlaceEdit::GetInstance();
    ASSERT_TRUE(pEditor->ShowEditor(ES_AUTOHSCROLL, rectCell, &m_list, 0, 0, kCallerIdColumn,
                                    "0123456789", "1", 10, 0));
    const HWND hEditor = pEditor->m_hWnd;

    CCallDetailsCtrl* pOther = new CCallDetailsCtrl;
    ASSERT_TRUE(pOther->Create(WS_CHILD | LVS_REPORT | LVS_OWNERDATA, CRect(0, 0, 50, 50), &m_host,
                               kListId + 1));
    pOther->DestroyWindow();
    delete pOther;

    EXPECT_TRUE(::IsWindow(hEditor));
    EXPECT_EQ(CInPlaceEdit::GetInstance()->m_hWnd, hEditor);
    EXPECT_TRUE(AfxOleIsInitialized());
    m_list.SetFocus();
    PumpTranslatedUntil([&] { return !::IsWindow(hEditor); });
}

// ---------------------------------------------------------------------------
// Screen and real input

// Pixels of the window text colour in the list's client area below the
// header, and the first row that holds one (-1 when none).
int TextPixelsBelowHeader(CCallDetailsCtrl& list, int* pFirstRow, int* pHeaderBottom) {
    CRect rectClient;
    list.GetClientRect(&rectClient);
    CRect rectHeader;
    list.GetHeaderCtrl()->GetWindowRect(&rectHeader);
    list.ScreenToClient(&rectHeader);
    *pHeaderBottom = rectHeader.bottom;
    CRect rectScreen(0, rectHeader.bottom, rectClient.right, rectClient.bottom);
    list.ClientToScreen(&rectScreen);
    CCanvas canvas(rectScreen.Width(), rectScreen.Height());
    CaptureScreen(canvas, rectScreen);
    const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
    *pFirstRow = -1;
    int count = 0;
    for (int y = 0; y < rectScreen.Height(); ++y)
        for (int x = 0; x < rectScreen.Width(); ++x)
            if (::GetPixel(canvas.dc.m_hDC, x, y) == text) {
                ++count;
                if (*pFirstRow < 0)
                    *pFirstRow = rectHeader.bottom + y;
            }
    return count;
}

TEST_F(CallDetailsCtrlTest, AnEmptyListSaysSoBelowTheHeaderScreen) {
    m_host.SetForegroundWindow();
    m_list.Invalidate();
    Settle();
    int firstRow = 0;
    int headerBottom = 0;
    EXPECT_GT(TextPixelsBelowHeader(m_list, &firstRow, &headerBottom), 20);
    EXPECT_GE(firstRow, headerBottom + 10);
    CRect rectHost;
    m_host.GetWindowRect(&rectHost);
    EXPECT_TRUE(SaveScreenPng(rectHost, "call-details-empty.png"));

    // Rows of empty cells: nothing of the text is left.
    m_host.m_blank = true;
    SetRows({"", ""});
    Settle();
    EXPECT_EQ(TextPixelsBelowHeader(m_list, &firstRow, &headerBottom), 0);
}

class CallDetailsCtrlInputTest : public CallDetailsCtrlTest {
protected:
    void SetUp() override {
        CallDetailsCtrlTest::SetUp();
        SetRows({"100", "200", "300"});
        m_host.SetForegroundWindow();
        m_list.SetFocus();
        m_list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        Settle();
    }
    CPoint CellCenter(int row, int column) {
        CRect rect;
        EXPECT_TRUE(m_list.GetSubItemRect(row, column, LVIR_BOUNDS, rect));
        CPoint point(rect.left + 30, rect.CenterPoint().y);
        m_list.ClientToScreen(&point);
        return point;
    }
    static void Tap(WORD key) {
        SendKeyTap(key);
        PumpTranslated(60);
    }
    HWND Editor() {
        CInPlaceEdit* pEditor = CInPlaceEdit::GetInstance();
        return ::IsWindow(pEditor->m_hWnd) && ::IsWindowVisible(pEditor->m_hWnd) ? pEditor->m_hWnd
                                                                                 : nullptr;
    }
    // Clicks the cell and waits for the editor (or for its absence). The
    // click before lies a double-click time back, so this one stays single.
    bool ClickCell(int row, int column) {
        PumpTranslated(::GetDoubleClickTime() + 50);
        SendMouseMove(CellCenter(row, column));
        PumpTranslated(60);
        SendLeftClick();
        return PumpTranslatedUntil([&] { return Editor() != nullptr; }, 1500);
    }
};

// Keys typed into the editor each reach the list, but the view hears of the
// edit once, at its end, and only when Enter or the focus leaving accepted a
// changed text; Esc and an unchanged text tell it nothing.
TEST_F(CallDetailsCtrlInputTest, ACellEditIsReportedOnceWhenAcceptedInput) {
    struct Case {
        const char* name;
        const char* typed;
        WORD endKey; // 0: the focus leaves for the host
        std::vector<std::string> edits;
    } const cases[] = {
        {"typed and Enter", "9 A", VK_RETURN, {"1,3:9 a"}},
        {"typed and Esc", "55", VK_ESCAPE, {}},
        {"unchanged and Enter", "", VK_RETURN, {}},
        {"typed and the focus leaves", "7", 0, {"1,3:7"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_host.m_edits.clear();
        m_list.SetFocus();
        m_list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        PumpTranslated(100);
        ASSERT_TRUE(ClickCell(1, kCallerIdColumn));
        TypeLetters(c.typed, &Tap);
        if (c.endKey != 0)
            Tap(c.endKey);
        else
            m_host.SetFocus();
        PumpTranslatedUntil([&] { return Editor() == nullptr; }, 1500);
        EXPECT_EQ(m_host.m_edits, c.edits);
    }
}

TEST_F(CallDetailsCtrlInputTest, AReadOnlyCellOpensNoEditorInput) {
    EXPECT_FALSE(ClickCell(1, 2));
    EXPECT_TRUE(m_host.m_edits.empty());
}

TEST_F(CallDetailsCtrlInputTest, AClickOnTheHeaderSortsInput) {
    CRect rect;
    m_list.GetHeaderCtrl()->GetItemRect(2, &rect);
    CPoint point = rect.CenterPoint();
    m_list.GetHeaderCtrl()->ClientToScreen(&point);
    SendMouseMove(point);
    PumpTranslated(60);
    SendLeftClick();
    ASSERT_TRUE(PumpTranslatedUntil([&] { return !m_host.m_sorts.empty(); }));
    EXPECT_EQ(m_host.m_sorts[0], std::make_pair(2, 0));
}

// A file list dragged from another window with the real mouse arrives through
// the list's OLE drop target.
TEST_F(CallDetailsCtrlInputTest, FilesDraggedFromAnotherWindowAreDroppedInput) {
    const std::string zel = Write("A-1.zel", RecordingBytes("77"));
    class CSourceWnd : public CWnd {
    public:
        std::vector<std::string> m_files;
        DROPEFFECT m_effect = DROPEFFECT_NONE;
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
            if (message == WM_LBUTTONDOWN) {
                COleDataSource source;
                source.CacheGlobalData(CF_HDROP, MakeDropBlock(m_files));
                m_effect = source.DoDragDrop(DROPEFFECT_COPY);
                return 0;
            }
            return CWnd::WindowProc(message, wParam, lParam);
        }
    } source;
    source.m_files = {zel};
    CRect rectHost;
    m_host.GetWindowRect(&rectHost);
    const CRect rectSource(rectHost.right + 10, rectHost.top, rectHost.right + 130,
                           rectHost.top + 120);
    ASSERT_TRUE(source.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS), "source", WS_POPUP | WS_VISIBLE,
                                rectSource.left, rectSource.top, rectSource.Width(),
                                rectSource.Height(), nullptr, nullptr));
    Settle();
    CRect rectList;
    m_list.GetWindowRect(&rectList);
    const CPoint target = rectList.CenterPoint();
    EXPECT_TRUE(
        RunMouseDrag(rectSource.CenterPoint(), {{target, [] { return true; }}}, false, nullptr));
    PumpTranslatedUntil([&] { return !m_host.m_added.empty(); });
    EXPECT_EQ(m_host.m_added, std::vector<std::string>{zel + "|77"});
    EXPECT_EQ(source.m_effect, static_cast<DROPEFFECT>(DROPEFFECT_COPY));
    source.DestroyWindow();
}

} // namespace
