// Tests of COXShellNamespaceNavigator over Wine's own shell: identifier lists,
// paths and folders, the enumeration of a temporary folder tree (hidden
// folders, attributes, icons), the shell's order in a real tree control,
// renames, context menus and the default command, and objects whose names are
// not ASCII or that vanish while their records live.
#include "native/gtest.h"

#include "toolkit/OXShellNamespaceNavigator.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TraceCapture.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

const DWORD ENUM_ALL = SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN; // 0xE0

// An identifier list of made-up items: one item per payload size, each filled
// with its own index, then the terminator.
std::vector<BYTE> MakeList(const std::vector<int>& payloads) {
    std::vector<BYTE> bytes;
    for (size_t i = 0; i < payloads.size(); ++i) {
        const USHORT cb = static_cast<USHORT>(sizeof(USHORT) + payloads[i]);
        bytes.push_back(static_cast<BYTE>(cb & 0xFF));
        bytes.push_back(static_cast<BYTE>(cb >> 8));
        bytes.insert(bytes.end(), payloads[i], static_cast<BYTE>(i + 1));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

LPCITEMIDLIST AsList(const std::vector<BYTE>& bytes) {
    return reinterpret_cast<LPCITEMIDLIST>(bytes.data());
}

std::vector<BYTE> BytesOf(const COXShellNamespaceNavigator& nav, LPCITEMIDLIST pidl) {
    const BYTE* p = reinterpret_cast<const BYTE*>(pidl);
    return std::vector<BYTE>(p, p + nav.GetPIDLSize(pidl));
}

std::string PathOf(LPCITEMIDLIST pidl) {
    char szPath[MAX_PATH] = "";
    return SHGetPathFromIDListA(pidl, szPath) ? std::string(szPath) : std::string();
}

// UTF-16 text for the wide Win32 calls. std::wstring would reach the C
// library's 4-byte wide-string functions, which our 2-byte wchar_t must not.
using WideText = std::u16string;

LPCWSTR AsWide(const WideText& text) {
    return reinterpret_cast<LPCWSTR>(text.c_str());
}

WideText Wide(const std::string& text) {
    WCHAR wsz[MAX_PATH * 2] = L"";
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wsz, MAX_PATH * 2);
    return WideText(reinterpret_cast<const char16_t*>(wsz));
}

std::string Ansi(const WideText& text) {
    char sz[MAX_PATH * 2] = "";
    WideCharToMultiByte(CP_ACP, 0, AsWide(text), -1, sz, sizeof sz, nullptr, nullptr);
    return sz;
}

// The desktop's own list is empty; every other folder has items.
bool IsDesktop(IShellFolder* pFolder) {
    IPersistFolder2* pPersist = nullptr;
    if (FAILED(pFolder->QueryInterface(IID_IPersistFolder2, reinterpret_cast<void**>(&pPersist))))
        return false;
    LPITEMIDLIST pidl = nullptr;
    const bool bDesktop =
        SUCCEEDED(pPersist->GetCurFolder(&pidl)) && pidl != nullptr && pidl->mkid.cb == 0;
    CoTaskMemFree(pidl);
    pPersist->Release();
    return bDesktop;
}

std::string FolderPathOf(IShellFolder* pFolder) {
    IPersistFolder2* pPersist = nullptr;
    if (FAILED(pFolder->QueryInterface(IID_IPersistFolder2, reinterpret_cast<void**>(&pPersist))))
        return std::string();
    LPITEMIDLIST pidl = nullptr;
    std::string path;
    if (SUCCEEDED(pPersist->GetCurFolder(&pidl)))
        path = PathOf(pidl);
    CoTaskMemFree(pidl);
    pPersist->Release();
    return path;
}

TEST(OXShellNamespaceNavigatorLists, ListOperationsWalkCountCopyAndJoin) {
    COXShellNamespaceNavigator nav;
    const std::vector<BYTE> parent = MakeList({3, 5});
    const std::vector<BYTE> relative = MakeList({4});
    const std::vector<BYTE> terminator = MakeList({});

    EXPECT_EQ(0u, nav.GetPIDLSize(nullptr));
    EXPECT_EQ(2u, nav.GetPIDLSize(AsList(terminator)));
    EXPECT_EQ(2u + 5 + 7, nav.GetPIDLSize(AsList(parent)));

    LPITEMIDLIST pidlSecond = nav.GetNextItemID(AsList(parent));
    ASSERT_NE(nullptr, pidlSecond);
    EXPECT_EQ(7, pidlSecond->mkid.cb);
    EXPECT_EQ(nullptr, nav.GetNextItemID(pidlSecond)); // the next one is the terminator
    EXPECT_EQ(nullptr, nav.GetNextItemID(AsList(terminator)));
    EXPECT_EQ(nullptr, nav.GetNextItemID(nullptr));

    LPITEMIDLIST pidlJoined = nav.ConcatenatePIDLs(AsList(parent), AsList(relative));
    ASSERT_NE(nullptr, pidlJoined);
    EXPECT_EQ(nav.GetPIDLSize(AsList(parent)) + nav.GetPIDLSize(AsList(relative)) - 2,
              nav.GetPIDLSize(pidlJoined));
    int nItems = 1;
    for (LPITEMIDLIST p = pidlJoined; (p = nav.GetNextItemID(p)) != nullptr;)
        ++nItems;
    EXPECT_EQ(3, nItems);
    std::vector<BYTE> expected(parent.begin(), parent.end() - 2);
    expected.insert(expected.end(), relative.begin(), relative.end());
    EXPECT_EQ(expected, BytesOf(nav, pidlJoined));
    nav.FreeShellMemory(pidlJoined);

    // With one side missing the result is a copy of the other; with both, none.
    EXPECT_EQ(nullptr, nav.ConcatenatePIDLs(nullptr, nullptr));
    EXPECT_EQ(nullptr, nav.CopyPIDL(nullptr));
    for (LPITEMIDLIST pidl :
         {nav.ConcatenatePIDLs(nullptr, AsList(relative)),
          nav.ConcatenatePIDLs(AsList(relative), nullptr), nav.CopyPIDL(AsList(relative))}) {
        ASSERT_NE(nullptr, pidl);
        EXPECT_NE(AsList(relative), pidl);
        EXPECT_EQ(relative, BytesOf(nav, pidl));
        nav.FreeShellMemory(pidl);
    }
    nav.FreeShellMemory(nullptr);
}

// COM for the thread, as the application's user-interface thread has it. The
// records made by a test are freed before COM goes.
class OXShellNamespaceNavigatorTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override {
        for (SHELLOBJECTINFO* pInfo : m_records)
            m_nav.FreeShellObjectInfo(pInfo);
        m_records.clear();
        CoUninitialize();
    }

    std::string Root() const {
        std::string path = m_tmp.Path();
        path.pop_back();
        return path;
    }
    void MakeFolder(const std::string& name, DWORD dwAttributes = 0) {
        ASSERT_TRUE(CreateDirectoryA(m_tmp.File(name).c_str(), nullptr)) << name;
        if (dwAttributes != 0) {
            ASSERT_TRUE(SetFileAttributesA(m_tmp.File(name).c_str(), dwAttributes));
        }
    }
    void MakeFile(const std::string& name) { ASSERT_TRUE(WriteWholeFile(m_tmp.File(name), "x")); }

    // The records of a folder's objects in the shell's enumeration order; they
    // live until the end of the test.
    std::vector<SHELLOBJECTINFO*> Enumerate(const std::string& path, DWORD dwFlags) {
        std::vector<SHELLOBJECTINFO*> records;
        IShellFolder* pFolder = m_nav.GetShellFolderFromPath(path.c_str());
        LPITEMIDLIST pidl = nullptr;
        EXPECT_TRUE(m_nav.GetPIDLFromPath(path.c_str(), &pidl));
        EXPECT_TRUE(m_nav.InitObjectsEnumerator(pFolder, pidl, dwFlags));
        for (BOOL bEnd = FALSE; !bEnd;) {
            SHELLOBJECTINFO* pInfo = m_nav.GetNextEnumeratedObject(bEnd);
            if (pInfo != nullptr)
                records.push_back(pInfo);
        }
        EXPECT_TRUE(m_nav.ReleaseObjectsEnumerator());
        m_nav.FreeShellMemory(pidl);
        pFolder->Release(); // each record holds its own reference
        m_records.insert(m_records.end(), records.begin(), records.end());
        return records;
    }
    static std::vector<std::string> SortedNames(const std::vector<SHELLOBJECTINFO*>& records) {
        std::vector<std::string> names;
        for (const SHELLOBJECTINFO* pInfo : records)
            names.push_back(pInfo->szDisplayName);
        std::sort(names.begin(), names.end());
        return names;
    }
    static SHELLOBJECTINFO* Find(const std::vector<SHELLOBJECTINFO*>& records,
                                 const std::string& name) {
        for (SHELLOBJECTINFO* pInfo : records)
            if (name == pInfo->szDisplayName)
                return pInfo;
        return nullptr;
    }

    CTempFolder m_tmp;
    COXShellNamespaceNavigator m_nav;
    std::vector<SHELLOBJECTINFO*> m_records;
};

TEST_F(OXShellNamespaceNavigatorTest, PathsBecomeListsAndFoldersWithTheDesktopAsFallback) {
    MakeFolder("Calls");
    MakeFile("note.txt");
    const std::string folder = m_tmp.File("Calls");

    LPITEMIDLIST pidl = reinterpret_cast<LPITEMIDLIST>(1);
    EXPECT_TRUE(m_nav.GetPIDLFromPath("", &pidl));
    EXPECT_EQ(nullptr, pidl);
    ASSERT_TRUE(m_nav.GetPIDLFromPath(folder.c_str(), &pidl));
    EXPECT_EQ(folder, PathOf(pidl));
    m_nav.FreeShellMemory(pidl);
    EXPECT_FALSE(m_nav.GetPIDLFromPath(m_tmp.File("Missing\\Deeper").c_str(), &pidl));
    EXPECT_EQ(nullptr, pidl);

    struct Case {
        std::string path;
        bool bDesktop;
    };
    const Case cases[] = {
        {"", true},
        {m_tmp.File("Missing"), true},
        {m_tmp.File("note.txt"), true}, // a file is no folder
        {folder, false},
    };
    for (const Case& c : cases) {
        IShellFolder* pFolder = m_nav.GetShellFolderFromPath(c.path.c_str());
        ASSERT_NE(nullptr, pFolder) << c.path;
        EXPECT_EQ(c.bDesktop, IsDesktop(pFolder)) << c.path;
        if (!c.bDesktop) {
            EXPECT_EQ(c.path, FolderPathOf(pFolder));
        }
        pFolder->Release();
    }
    CTraceCapture trace;
    m_nav.GetShellFolderFromPath(m_tmp.File("Missing").c_str())->Release();
    EXPECT_TRUE(trace.Holds("cannot be bound; the desktop folder is returned"));
    EXPECT_NE(nullptr, m_nav.GetSystemImageList(TRUE));
    EXPECT_NE(nullptr, m_nav.GetSystemImageList(FALSE));
}

// A path longer than the shell's 260 units is refused whole: cut to fit it
// would name the file that its first 259 characters spell.
TEST_F(OXShellNamespaceNavigatorTest, APathTooLongForTheShellIsRefusedNotCut) {
    const std::string base = m_tmp.Path();
    const std::string file = base + std::string(MAX_PATH - 1 - base.size(), 'f');
    ASSERT_EQ(size_t(MAX_PATH - 1), file.size());
    ASSERT_TRUE(WriteWholeFile(file, "x"));
    LPITEMIDLIST pidl = nullptr;
    ASSERT_TRUE(m_nav.GetPIDLFromPath(file.c_str(), &pidl)); // it fits exactly
    m_nav.FreeShellMemory(pidl);

    const std::string longer = file + "\\x";
    CTraceCapture trace;
    EXPECT_FALSE(m_nav.GetPIDLFromPath(longer.c_str(), &pidl));
    EXPECT_EQ(nullptr, pidl);
    IShellFolder* pFolder = m_nav.GetShellFolderFromPath(longer.c_str());
    ASSERT_NE(nullptr, pFolder);
    EXPECT_TRUE(IsDesktop(pFolder));
    pFolder->Release();
    EXPECT_TRUE(trace.Holds("the text does not fit 260 UTF-16 units"));
}

TEST_F(OXShellNamespaceNavigatorTest, EnumerationFollowsTheFlagsAndTakesHiddenFolders) {
    MakeFolder("Alpha");
    MakeFolder("Alpha\\Inner");
    MakeFolder("beta");
    MakeFolder("Hidden", FILE_ATTRIBUTE_HIDDEN);
    MakeFile("a.txt");
    MakeFile("c.dat");

    struct Case {
        DWORD dwFlags;
        std::vector<std::string> names; // sorted
    };
    const Case cases[] = {
        {ENUM_ALL, {"Alpha", "Hidden", "a.txt", "beta", "c.dat"}},
        {SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, {"Alpha", "a.txt", "beta", "c.dat"}},
        {SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN, {"Alpha", "Hidden", "beta"}},
        {SHCONTF_FOLDERS, {"Alpha", "beta"}},
        {SHCONTF_NONFOLDERS, {"a.txt", "c.dat"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.names, SortedNames(Enumerate(Root(), c.dwFlags))) << std::hex << c.dwFlags;

    // Each record stands on its own: its folder, both lists, attributes and icons.
    IShellFolder* pFolder = m_nav.GetShellFolderFromPath(Root().c_str());
    LPITEMIDLIST pidlFolder = nullptr;
    ASSERT_TRUE(m_nav.GetPIDLFromPath(Root().c_str(), &pidlFolder));
    const int nIcons = ImageList_GetImageCount(m_nav.GetSystemImageList(TRUE));
    for (SHELLOBJECTINFO* pInfo : Enumerate(Root(), ENUM_ALL)) {
        const std::string name = pInfo->szDisplayName;
        EXPECT_EQ(m_tmp.File(name), PathOf(pInfo->pidlFull));
        LPITEMIDLIST pidlJoined = m_nav.ConcatenatePIDLs(pidlFolder, pInfo->pidlRelative);
        EXPECT_EQ(BytesOf(m_nav, pidlJoined), BytesOf(m_nav, pInfo->pidlFull)) << name;
        m_nav.FreeShellMemory(pidlJoined);
        EXPECT_EQ(name,
                  std::string(m_nav.GetDisplayName(pInfo->pParentFolder, pInfo->pidlRelative)));
        const bool bFolder = name.find('.') == std::string::npos;
        EXPECT_EQ(bFolder, (pInfo->dwAttributes & SFGAO_FOLDER) != 0) << name;
        EXPECT_NE(0u, pInfo->dwAttributes & SFGAO_FILESYSTEM) << name;
        EXPECT_NE(0u, pInfo->dwAttributes & SFGAO_CANRENAME) << name;
        for (int nIcon :
             {pInfo->nLargeIcon, pInfo->nLargeOpenIcon, pInfo->nSmallIcon, pInfo->nSmallOpenIcon}) {
            EXPECT_GE(nIcon, 0) << name;
            EXPECT_LT(nIcon, nIcons) << name;
        }
    }
    EXPECT_NE(0u, Find(m_records, "Alpha")->dwAttributes & SFGAO_HASSUBFOLDER);
    m_nav.FreeShellMemory(pidlFolder);
    pFolder->Release();
}

TEST_F(OXShellNamespaceNavigatorTest, OneEnumerationRunsAtATime) {
    MakeFolder("One");
    MakeFile("two.txt");
    IShellFolder* pFolder = m_nav.GetShellFolderFromPath(Root().c_str());
    LPITEMIDLIST pidl = nullptr;
    ASSERT_TRUE(m_nav.GetPIDLFromPath(Root().c_str(), &pidl));

    CTraceCapture trace;
    EXPECT_FALSE(m_nav.ReleaseObjectsEnumerator());
    EXPECT_TRUE(trace.Holds("COXShellNamespaceNavigator::ReleaseObjectsEnumerator: there is "
                            "nothing to release."));
    BOOL bEnd = FALSE;
    EXPECT_EQ(nullptr, m_nav.GetNextEnumeratedObject(bEnd));
    EXPECT_TRUE(bEnd);

    ASSERT_TRUE(m_nav.InitObjectsEnumerator(pFolder, pidl, ENUM_ALL));
    SHELLOBJECTINFO* pFirst = m_nav.GetNextEnumeratedObject(bEnd);
    ASSERT_NE(nullptr, pFirst);
    m_records.push_back(pFirst);
    EXPECT_FALSE(m_nav.InitObjectsEnumerator(pFolder, pidl, SHCONTF_FOLDERS));
    EXPECT_TRUE(trace.Holds("COXShellNamespaceNavigator::InitObjectsEnumerator: folder items "
                            "enumerator has already been initialized."));
    EXPECT_TRUE(trace.Holds("call COXShellNamespaceNavigator::ReleaseObjectsEnumerator() before."));
    // The first enumeration goes on with its own flags: the file is still to come.
    std::vector<std::string> names = {pFirst->szDisplayName};
    while (!bEnd) {
        SHELLOBJECTINFO* pInfo = m_nav.GetNextEnumeratedObject(bEnd);
        if (pInfo != nullptr) {
            m_records.push_back(pInfo);
            names.push_back(pInfo->szDisplayName);
        }
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{"One", "two.txt"}), names);
    EXPECT_TRUE(m_nav.ReleaseObjectsEnumerator());
    EXPECT_TRUE(m_nav.InitObjectsEnumerator(pFolder, pidl, ENUM_ALL)); // idle again
    EXPECT_TRUE(m_nav.ReleaseObjectsEnumerator());
    m_nav.FreeShellMemory(pidl);
    pFolder->Release();
}

TEST_F(OXShellNamespaceNavigatorTest, AnEmptyFolderEndsAtOnce) {
    MakeFolder("Empty");
    IShellFolder* pFolder = m_nav.GetShellFolderFromPath(m_tmp.File("Empty").c_str());
    LPITEMIDLIST pidl = nullptr;
    ASSERT_TRUE(m_nav.GetPIDLFromPath(m_tmp.File("Empty").c_str(), &pidl));
    ASSERT_TRUE(m_nav.InitObjectsEnumerator(pFolder, pidl, ENUM_ALL));
    BOOL bEnd = FALSE;
    EXPECT_EQ(nullptr, m_nav.GetNextEnumeratedObject(bEnd));
    EXPECT_TRUE(bEnd);
    EXPECT_EQ(nullptr, m_nav.GetNextEnumeratedObject(bEnd));
    EXPECT_TRUE(bEnd);
    EXPECT_TRUE(m_nav.ReleaseObjectsEnumerator());
    m_nav.FreeShellMemory(pidl);
    pFolder->Release();
}

// A tree control sorted with the callback shows the shell's own order:
// folders first, then files, each by name without regard to case.
TEST_F(OXShellNamespaceNavigatorTest, TreeSortGivesTheShellsOrder) {
    for (const char* folder : {"b", "Hidden", "A", "C"})
        MakeFolder(folder, std::string(folder) == "Hidden" ? FILE_ATTRIBUTE_HIDDEN : 0);
    for (const char* file : {"c.txt", "a.txt", "B.dat"})
        MakeFile(file);
    std::vector<SHELLOBJECTINFO*> records = Enumerate(Root(), ENUM_ALL);
    ASSERT_EQ(7u, records.size());

    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TREEVIEW_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&icc));
    HWND hTree = CreateWindowExA(0, WC_TREEVIEWA, "", WS_POPUP, 0, 0, 200, 300, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(nullptr, hTree);
    for (SHELLOBJECTINFO* pInfo : records) {
        TVINSERTSTRUCTA tvis = {};
        tvis.hParent = TVI_ROOT;
        tvis.hInsertAfter = TVI_LAST;
        tvis.item.mask = TVIF_TEXT | TVIF_PARAM;
        tvis.item.pszText = pInfo->szDisplayName;
        tvis.item.lParam = reinterpret_cast<LPARAM>(pInfo);
        ASSERT_NE(0, SendMessageA(hTree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&tvis)));
    }
    TVSORTCB sort = {TVI_ROOT, &COXShellNamespaceNavigator::CompareObjectsProc, 0};
    ASSERT_TRUE(SendMessageA(hTree, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort)));
    std::vector<std::string> order;
    for (HTREEITEM hItem = TreeView_GetRoot(hTree); hItem != nullptr;
         hItem = TreeView_GetNextSibling(hTree, hItem)) {
        char szText[MAX_PATH] = "";
        TVITEMA item = {};
        item.mask = TVIF_TEXT;
        item.hItem = hItem;
        item.pszText = szText;
        item.cchTextMax = MAX_PATH;
        SendMessageA(hTree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        order.push_back(szText);
    }
    DestroyWindow(hTree);
    EXPECT_EQ((std::vector<std::string>{"A", "b", "C", "Hidden", "a.txt", "B.dat", "c.txt"}),
              order);

    for (SHELLOBJECTINFO* p1 : records)
        for (SHELLOBJECTINFO* p2 : records) {
            const int n12 =
                COXShellNamespaceNavigator::CompareObjectsProc(LPARAM(p1), LPARAM(p2), 0);
            const int n21 =
                COXShellNamespaceNavigator::CompareObjectsProc(LPARAM(p2), LPARAM(p1), 0);
            EXPECT_EQ(p1 == p2, n12 == 0) << p1->szDisplayName << " " << p2->szDisplayName;
            EXPECT_EQ(n12<0, n21> 0) << p1->szDisplayName << " " << p2->szDisplayName;
        }
    EXPECT_EQ(0, COXShellNamespaceNavigator::CompareObjectsProc(0, LPARAM(records[0]), 0));
}

TEST_F(OXShellNamespaceNavigatorTest, RenameGivesTheNewListAndRenamesOnDisk) {
    const std::string cafe = Ansi(u"Caf\u00e9");
    struct Case {
        std::string oldName;
        std::string newName;
        bool bFolder;
    };
    const Case cases[] = {
        {"Old", "New", true},
        {"old.txt", "renamed.txt", false},
        {"plain", cafe, true},
    };
    for (const Case& c : cases)
        c.bFolder ? MakeFolder(c.oldName) : MakeFile(c.oldName);
    std::vector<SHELLOBJECTINFO*> records = Enumerate(Root(), ENUM_ALL);
    for (const Case& c : cases) {
        SHELLOBJECTINFO* pInfo = Find(records, c.oldName);
        ASSERT_NE(nullptr, pInfo) << c.oldName;
        LPITEMIDLIST pidlNew = nullptr;
        ASSERT_TRUE(m_nav.RenameShellObject(pInfo->pParentFolder, pInfo->pidlRelative, &pidlNew,
                                            c.newName.c_str()))
            << c.newName;
        ASSERT_NE(nullptr, pidlNew);
        EXPECT_EQ(c.newName, std::string(m_nav.GetDisplayName(pInfo->pParentFolder, pidlNew)));
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(AsWide(Wide(m_tmp.File(c.oldName)))));
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(AsWide(Wide(m_tmp.File(c.newName)))));
        m_nav.FreeShellMemory(pidlNew);
    }
}

TEST_F(OXShellNamespaceNavigatorTest, RenameRefusesBadNamesAndChangesNothing) {
    MakeFolder("Keep");
    MakeFolder("Other");
    SHELLOBJECTINFO* pInfo = Find(Enumerate(Root(), ENUM_ALL), "Keep");
    ASSERT_NE(nullptr, pInfo);
    const std::string tooLong(MAX_PATH + 10, 'n');
    const char* names[] = {nullptr, "", "Other", "Other\\Inside", tooLong.c_str()};
    for (const char* name : names) {
        CTraceCapture trace;
        LPITEMIDLIST pidlNew = reinterpret_cast<LPITEMIDLIST>(1);
        EXPECT_FALSE(
            m_nav.RenameShellObject(pInfo->pParentFolder, pInfo->pidlRelative, &pidlNew, name));
        EXPECT_EQ(nullptr, pidlNew);
        EXPECT_TRUE(trace.Holds("COXShellNamespaceNavigator::RenameShellObject: failed to set new "
                                "name for the specified object"));
    }
    EXPECT_TRUE(FileExists(m_tmp.File("Keep")));
    EXPECT_FALSE(FileExists(m_tmp.File("Other\\Inside")));
    EXPECT_EQ((std::vector<std::string>{"Keep", "Other"}),
              SortedNames(Enumerate(Root(), ENUM_ALL)));
}

// Names outside the ANSI code page come back with replacement characters, but
// the records still lead to the right objects.
TEST_F(OXShellNamespaceNavigatorTest, NonAsciiNamesEnumerateAndLeadToTheirObjects) {
    const WideText names[] = {u"Caf\u00e9", u"\u010caj", u"\u65e5\u672c.txt"};
    const WideText root = Wide(m_tmp.Path());
    ASSERT_TRUE(CreateDirectoryW(AsWide(root + names[0]), nullptr));
    ASSERT_TRUE(CreateDirectoryW(AsWide(root + names[1]), nullptr));
    HANDLE hFile =
        CreateFileW(AsWide(root + names[2]), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, hFile);
    CloseHandle(hFile);

    std::vector<SHELLOBJECTINFO*> records = Enumerate(Root(), ENUM_ALL);
    ASSERT_EQ(3u, records.size());
    for (const WideText& name : names) {
        SHELLOBJECTINFO* pInfo = Find(records, Ansi(name));
        ASSERT_NE(nullptr, pInfo) << Ansi(name);
        WCHAR wszPath[MAX_PATH] = L"";
        ASSERT_TRUE(SHGetPathFromIDListW(pInfo->pidlFull, wszPath));
        EXPECT_TRUE(root + name == reinterpret_cast<const char16_t*>(wszPath)) << Ansi(name);
    }
}

// The records of a folder that is deleted behind the navigator's back stay
// safe to use: nothing is enumerated in it and nothing can be renamed.
TEST_F(OXShellNamespaceNavigatorTest, AFolderRemovedWhileShownIsHandledSafely) {
    MakeFolder("Gone");
    MakeFolder("Gone\\Inner");
    MakeFile("Gone\\inner.txt");
    MakeFolder("Stays");
    std::vector<SHELLOBJECTINFO*> records = Enumerate(Root(), ENUM_ALL);
    SHELLOBJECTINFO* pGone = Find(records, "Gone");
    ASSERT_NE(nullptr, pGone);
    IShellFolder* pBound = m_nav.GetShellFolder(pGone->pParentFolder, pGone->pidlRelative);
    ASSERT_NE(nullptr, pBound);

    RemoveFolderTree(m_tmp.File("Gone"));
    ASSERT_FALSE(FileExists(m_tmp.File("Gone")));

    if (m_nav.InitObjectsEnumerator(pBound, pGone->pidlFull, ENUM_ALL)) {
        BOOL bEnd = FALSE;
        EXPECT_EQ(nullptr, m_nav.GetNextEnumeratedObject(bEnd));
        EXPECT_TRUE(bEnd);
        EXPECT_TRUE(m_nav.ReleaseObjectsEnumerator());
    }
    pBound->Release();
    IShellFolder* pAgain = m_nav.GetShellFolder(pGone->pParentFolder, pGone->pidlRelative);
    if (pAgain != nullptr)
        pAgain->Release();

    LPITEMIDLIST pidlNew = nullptr;
    EXPECT_FALSE(
        m_nav.RenameShellObject(pGone->pParentFolder, pGone->pidlRelative, &pidlNew, "Back"));
    EXPECT_FALSE(FileExists(m_tmp.File("Back")));
    EXPECT_EQ(0, COXShellNamespaceNavigator::CompareObjectsProc(LPARAM(pGone), LPARAM(pGone), 0));
    HMENU hMenu = m_nav.GetObjectContextMenu(pGone->pParentFolder, pGone->pidlRelative, CMF_NORMAL);
    if (hMenu != nullptr)
        DestroyMenu(hMenu);
    IShellFolder* pFolder = m_nav.GetShellFolderFromPath(m_tmp.File("Gone").c_str());
    ASSERT_NE(nullptr, pFolder);
    EXPECT_TRUE(IsDesktop(pFolder));
    pFolder->Release();
    EXPECT_EQ((std::vector<std::string>{"Stays"}), SortedNames(Enumerate(Root(), ENUM_ALL)));
}

// Wine's folders add nothing to a default-only menu; the default command is
// then taken from the full menu. Wine's "Open" of a file has no effect of its
// own, so the test runs it on a file and checks the run is reported done.
TEST_F(OXShellNamespaceNavigatorTest, DefaultCommandRunsFromTheFullMenu) {
    MakeFile("doc.txt");
    SHELLOBJECTINFO* pInfo = Find(Enumerate(Root(), ENUM_ALL), "doc.txt");
    ASSERT_NE(nullptr, pInfo);

    HMENU hMenu = m_nav.GetObjectContextMenu(pInfo->pParentFolder, pInfo->pidlRelative, CMF_NORMAL);
    ASSERT_NE(nullptr, hMenu);
    const UINT nDefault = GetMenuDefaultItem(hMenu, FALSE, GMDI_GOINTOPOPUPS);
    EXPECT_GE(nDefault, 1u);
    EXPECT_LE(nDefault, 0x7FFFu);
    DestroyMenu(hMenu);

    CTraceCapture trace;
    EXPECT_TRUE(m_nav.InvokeDefaultCommand(pInfo->pParentFolder, pInfo->pidlRelative));
    EXPECT_FALSE(trace.Holds("COXShellNamespaceNavigator::InvokeDefaultCommand"));
    EXPECT_TRUE(FileExists(m_tmp.File("doc.txt")));
}

TEST_F(OXShellNamespaceNavigatorTest, CommandsWithoutAnObjectOrOutsideTheMenuFail) {
    MakeFile("doc.txt");
    SHELLOBJECTINFO* pInfo = Find(Enumerate(Root(), ENUM_ALL), "doc.txt");
    ASSERT_NE(nullptr, pInfo);
    CTraceCapture trace;
    EXPECT_EQ(nullptr, m_nav.GetObjectContextMenu(nullptr, pInfo->pidlRelative, CMF_NORMAL));
    EXPECT_EQ(nullptr, m_nav.GetObjectContextMenu(pInfo->pParentFolder, nullptr, CMF_NORMAL));
    EXPECT_FALSE(m_nav.InvokeDefaultCommand(pInfo->pParentFolder, nullptr));
    EXPECT_TRUE(trace.Holds("COXShellNamespaceNavigator::InvokeDefaultCommand: "
                            "GetObjectContextMenu() failed"));
    for (UINT nCmdID : {0u, 0x8000u})
        EXPECT_FALSE(
            m_nav.InvokeCommand(pInfo->pParentFolder, pInfo->pidlRelative, nCmdID, CMF_NORMAL));
    EXPECT_TRUE(trace.Holds("is not one of a context menu"));
    EXPECT_FALSE(m_nav.InvokeCommand(nullptr, pInfo->pidlRelative, 1, CMF_NORMAL));
}

} // namespace
