#include "native/gtest.h"

#include "framework/Ole.h"
#include "framework/Wnd.h"

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Helpers

// A CF_HDROP block as the application's lists build it: the 20-byte header, each
// ANSI path with its NUL, one more NUL, zero padding to a multiple of 32.
HGLOBAL MakeDropBlock(const std::vector<std::string>& paths) {
    SIZE_T nSize = sizeof(DROPFILES) + 1;
    for (const std::string& path : paths)
        nSize += path.size() + 1;
    nSize = (nSize / 32 + 1) * 32;
    HGLOBAL hBlock = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, nSize);
    BYTE* pBlock = static_cast<BYTE*>(GlobalLock(hBlock));
    reinterpret_cast<DROPFILES*>(pBlock)->pFiles = sizeof(DROPFILES);
    SIZE_T nPos = sizeof(DROPFILES);
    for (const std::string& path : paths) {
        memcpy(pBlock + nPos, path.c_str(), path.size() + 1);
        nPos += path.size() + 1;
    }
    GlobalUnlock(hBlock);
    return hBlock;
}

HGLOBAL MakeGlobal(const std::string& bytes) {
    HGLOBAL hGlobal = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    memcpy(GlobalLock(hGlobal), bytes.data(), bytes.size());
    GlobalUnlock(hGlobal);
    return hGlobal;
}

std::string GlobalBytes(HGLOBAL hGlobal) {
    const char* p = static_cast<const char*>(GlobalLock(hGlobal));
    std::string bytes(p, GlobalSize(hGlobal));
    GlobalUnlock(hGlobal);
    return bytes;
}

std::vector<std::string> DropFileNames(HDROP hDrop) {
    std::vector<std::string> names;
    const UINT nFiles = DragQueryFileA(hDrop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < nFiles; ++i) {
        char name[MAX_PATH] = {};
        DragQueryFileA(hDrop, i, name, MAX_PATH);
        names.push_back(name);
    }
    return names;
}

std::vector<std::string> DataFileNames(COleDataObject* pData) {
    HGLOBAL hDrop = pData->GetGlobalData(CF_HDROP);
    if (hDrop == nullptr)
        return {};
    std::vector<std::string> names = DropFileNames(static_cast<HDROP>(hDrop));
    GlobalFree(hDrop);
    return names;
}

const std::vector<std::string> kFiles = {"C:\\Calls\\one.zel", "C:\\Calls\\two.zel"};

// A data source offering kFiles as CF_HDROP.
LPDATAOBJECT MakeFileData(COleDataSource& source, const std::vector<std::string>& files = kFiles) {
    EXPECT_TRUE(source.CacheGlobalData(CF_HDROP, MakeDropBlock(files)));
    return source.GetDataObject();
}

// What a window saw of WM_DROPFILES.
struct SDroppedFiles {
    int nMessages = 0;
    std::vector<std::string> names;
    POINT point = {-1, -1};
};

LRESULT CALLBACK TestWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DROPFILES) {
        auto* pDropped = reinterpret_cast<SDroppedFiles*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
        HDROP hDrop = reinterpret_cast<HDROP>(wParam);
        if (pDropped != nullptr) {
            ++pDropped->nMessages;
            pDropped->names = DropFileNames(hDrop);
            DragQueryPoint(hDrop, &pDropped->point);
        }
        DragFinish(hDrop);
        return 0;
    }
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

// A borderless top-level window (client origin = window origin), hidden unless
// shown for a drag under the real cursor (then on top of other windows), or a
// visible child.
class CTestWindow {
public:
    CTestWindow(DWORD dwExStyle, POINT origin, HWND hParent = nullptr, bool bShown = false) {
        static ATOM s_atom = 0;
        if (s_atom == 0) {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = TestWndProc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "ZmOleTestWindow";
            s_atom = RegisterClassA(&wc);
        }
        const bool bChild = hParent != nullptr;
        const DWORD dwStyle = (bChild ? WS_CHILD : WS_POPUP) | (bChild || bShown ? WS_VISIBLE : 0);
        m_hWnd = CreateWindowExA(dwExStyle | (bShown ? WS_EX_TOPMOST : 0), "ZmOleTestWindow", "",
                                 dwStyle, origin.x, origin.y, 160, 120, hParent, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&m_dropped));
    }
    ~CTestWindow() {
        if (IsWindow(m_hWnd))
            DestroyWindow(m_hWnd);
    }
    CTestWindow(const CTestWindow&) = delete;
    CTestWindow& operator=(const CTestWindow&) = delete;

    HWND Handle() const { return m_hWnd; }
    CWnd* Wnd() const { return CWnd::FromHandle(m_hWnd); }
    // A screen point at (x, y) of the client area.
    POINT Screen(int x, int y) const {
        POINT pt = {x, y};
        ClientToScreen(m_hWnd, &pt);
        return pt;
    }

    SDroppedFiles m_dropped;

private:
    HWND m_hWnd = nullptr;
};

// Where this process puts its windows: apart from other test programs that run
// at the same time on the same display.
POINT WindowOrigin() {
    const int nSlot = static_cast<int>(GetCurrentProcessId() % 40);
    return POINT{40 + (nSlot % 5) * 220, 40 + (nSlot / 5) * 120};
}

// A target that records each call as text and answers m_answer.
class CRecordingTarget : public COleDropTarget {
public:
    DROPEFFECT m_answer = DROPEFFECT_COPY;
    bool m_bOwnDrop = true; // false: the framework's OnDrop decides
    bool m_bThrow = false;
    std::vector<std::string> m_events;

    LPDATAOBJECT CurrentData() const { return m_lpDataObject; }

    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pData, DWORD dwKeyState,
                           CPoint point) override {
        Record("enter", pWnd, pData, dwKeyState, point);
        return m_answer;
    }
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pData, DWORD dwKeyState,
                          CPoint point) override {
        Record("over", pWnd, pData, dwKeyState, point);
        return m_answer;
    }
    void OnDragLeave(CWnd*) override { m_events.push_back("leave"); }
    BOOL OnDrop(CWnd* pWnd, COleDataObject* pData, DROPEFFECT dropEffect, CPoint point) override {
        Record(("drop " + std::to_string(dropEffect)).c_str(), pWnd, pData, 0, point);
        return m_bOwnDrop ? TRUE : COleDropTarget::OnDrop(pWnd, pData, dropEffect, point);
    }

private:
    void Record(const char* what, CWnd* pWnd, COleDataObject* pData, DWORD dwKeyState,
                CPoint point) {
        if (m_bThrow)
            throw std::runtime_error("handler failed");
        const std::vector<std::string> names = DataFileNames(pData);
        char text[300];
        snprintf(text, sizeof(text), "%s %d,%d keys=%u files=%d%s", what, static_cast<int>(point.x),
                 static_cast<int>(point.y), static_cast<unsigned>(dwKeyState),
                 static_cast<int>(names.size()),
                 pWnd->GetSafeHwnd() == m_hWnd ? "" : " wrong window");
        m_events.push_back(text);
    }
};

class OleTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(AfxOleInit()); }
    void TearDown() override { AfxOleTerm(); }
};

// Runs fn on a new thread that has not initialised OLE.
template <class Fn> void RunOnPlainThread(Fn fn) {
    struct SCall {
        static DWORD WINAPI Proc(LPVOID pParam) {
            (*static_cast<Fn*>(pParam))();
            return 0;
        }
    };
    HANDLE hThread = CreateThread(nullptr, 0, &SCall::Proc, &fn, 0, nullptr);
    ASSERT_NE(hThread, nullptr);
    WaitForSingleObject(hThread, INFINITE);
    CloseHandle(hThread);
}

// ---------------------------------------------------------------------------
// Data source and data object

TEST_F(OleTest, GlobalDataRoundTripsAsCopies) {
    const CLIPFORMAT cfItem = static_cast<CLIPFORMAT>(RegisterClipboardFormatA("Zm test item"));
    const std::string item("\x01\x00\x02\x00item", 8);
    COleDataSource source;
    ASSERT_TRUE(source.CacheGlobalData(CF_TEXT, MakeGlobal(std::string("hello", 6))));
    ASSERT_TRUE(source.CacheGlobalData(cfItem, MakeGlobal(item)));

    COleDataObject data;
    data.Attach(source.GetDataObject());
    EXPECT_TRUE(data.IsDataAvailable(CF_TEXT));
    EXPECT_TRUE(data.IsDataAvailable(cfItem));
    EXPECT_FALSE(data.IsDataAvailable(CF_HDROP));

    HGLOBAL hFirst = data.GetGlobalData(cfItem);
    ASSERT_NE(hFirst, nullptr);
    EXPECT_EQ(GlobalBytes(hFirst), item);
    // The receiver owns a copy: changing it leaves the source's data alone.
    static_cast<char*>(GlobalLock(hFirst))[0] = 'X';
    GlobalUnlock(hFirst);
    HGLOBAL hSecond = data.GetGlobalData(cfItem);
    ASSERT_NE(hSecond, nullptr);
    EXPECT_NE(hSecond, hFirst);
    EXPECT_EQ(GlobalBytes(hSecond), item);
    EXPECT_EQ(GlobalFree(hFirst), nullptr);
    EXPECT_EQ(GlobalFree(hSecond), nullptr);

    STGMEDIUM medium;
    ASSERT_TRUE(data.GetData(CF_TEXT, &medium));
    EXPECT_EQ(medium.tymed, static_cast<DWORD>(TYMED_HGLOBAL));
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(medium.hGlobal)), "hello");
    GlobalUnlock(medium.hGlobal);
    ReleaseStgMedium(&medium);
}

TEST_F(OleTest, FileListRoundTripsThroughAnOleDataObject) {
    COleDataSource source;
    COleDataObject data;
    data.Attach(MakeFileData(source));

    STGMEDIUM medium;
    ASSERT_TRUE(data.GetData(CF_HDROP, &medium));
    ASSERT_EQ(medium.tymed, static_cast<DWORD>(TYMED_HGLOBAL));
    EXPECT_EQ(DropFileNames(static_cast<HDROP>(medium.hGlobal)), kFiles);
    ReleaseStgMedium(&medium);
}

TEST_F(OleTest, CachingAFormatAgainReplacesItAndEmptyDropsAll) {
    COleDataSource source;
    ASSERT_TRUE(source.CacheGlobalData(CF_TEXT, MakeGlobal("old")));
    ASSERT_TRUE(source.CacheGlobalData(CF_TEXT, MakeGlobal("new")));
    COleDataObject data;
    data.Attach(source.GetDataObject());
    HGLOBAL hText = data.GetGlobalData(CF_TEXT);
    ASSERT_NE(hText, nullptr);
    EXPECT_EQ(GlobalBytes(hText), "new");
    GlobalFree(hText);

    source.Empty();
    EXPECT_FALSE(data.IsDataAvailable(CF_TEXT));
    EXPECT_EQ(data.GetGlobalData(CF_TEXT), nullptr);
}

TEST_F(OleTest, CachingWithoutAMediumFails) {
    COleDataSource source;
    EXPECT_FALSE(source.CacheGlobalData(CF_TEXT, nullptr));
    STGMEDIUM empty = {};
    EXPECT_FALSE(source.CacheData(CF_TEXT, &empty));
    EXPECT_FALSE(source.CacheData(CF_TEXT, nullptr));
    COleDataObject data;
    data.Attach(source.GetDataObject());
    EXPECT_FALSE(data.IsDataAvailable(CF_TEXT));
}

TEST_F(OleTest, DataOutlivesItsSource) {
    auto* pSource = new COleDataSource;
    LPDATAOBJECT lpData = MakeFileData(*pSource);
    delete pSource;
    COleDataObject data;
    data.Attach(lpData);
    EXPECT_EQ(DataFileNames(&data), kFiles);
}

TEST_F(OleTest, EnumeratesTheCachedFormatsInOrder) {
    COleDataSource source;
    ASSERT_TRUE(source.CacheGlobalData(CF_HDROP, MakeDropBlock(kFiles)));
    ASSERT_TRUE(source.CacheGlobalData(CF_TEXT, MakeGlobal("a")));
    LPDATAOBJECT lpData = source.GetDataObject();

    IEnumFORMATETC* pEnum = nullptr;
    ASSERT_EQ(lpData->EnumFormatEtc(DATADIR_GET, &pEnum), S_OK);
    FORMATETC formats[3] = {};
    ULONG nFetched = 0;
    EXPECT_EQ(pEnum->Next(3, formats, &nFetched), S_FALSE);
    ASSERT_EQ(nFetched, 2u);
    EXPECT_EQ(formats[0].cfFormat, CF_HDROP);
    EXPECT_EQ(formats[1].cfFormat, CF_TEXT);
    EXPECT_EQ(formats[1].tymed, static_cast<DWORD>(TYMED_HGLOBAL));

    EXPECT_EQ(pEnum->Reset(), S_OK);
    EXPECT_EQ(pEnum->Skip(1), S_OK);
    IEnumFORMATETC* pClone = nullptr;
    ASSERT_EQ(pEnum->Clone(&pClone), S_OK);
    EXPECT_EQ(pClone->Next(1, formats, nullptr), S_OK);
    EXPECT_EQ(formats[0].cfFormat, CF_TEXT);
    EXPECT_EQ(pClone->Skip(5), S_FALSE);
    pClone->Release();
    pEnum->Release();

    EXPECT_EQ(lpData->EnumFormatEtc(DATADIR_SET, &pEnum), E_NOTIMPL);
    lpData->Release();
}

TEST_F(OleTest, DataObjectRefusesWhatItCannotServe) {
    COleDataSource source;
    LPDATAOBJECT lpData = MakeFileData(source);
    struct SCase {
        const char* what;
        CLIPFORMAT cfFormat;
        DWORD dwAspect;
        DWORD tymed;
        HRESULT expected;
    } cases[] = {
        {"offered", CF_HDROP, DVASPECT_CONTENT, TYMED_HGLOBAL, S_OK},
        {"any medium", CF_HDROP, DVASPECT_CONTENT, TYMED_HGLOBAL | TYMED_ISTREAM, S_OK},
        {"other medium", CF_HDROP, DVASPECT_CONTENT, TYMED_ISTREAM, DV_E_TYMED},
        {"other format", CF_TEXT, DVASPECT_CONTENT, TYMED_HGLOBAL, DV_E_FORMATETC},
        {"other aspect", CF_HDROP, DVASPECT_ICON, TYMED_HGLOBAL, DV_E_DVASPECT},
    };
    for (const SCase& c : cases) {
        FORMATETC format = {c.cfFormat, nullptr, c.dwAspect, -1, c.tymed};
        EXPECT_EQ(lpData->QueryGetData(&format), c.expected) << c.what;
        STGMEDIUM medium = {};
        const HRESULT hr = lpData->GetData(&format, &medium);
        EXPECT_EQ(hr, c.expected) << c.what;
        if (hr == S_OK)
            ReleaseStgMedium(&medium);
        else
            EXPECT_EQ(medium.tymed, static_cast<DWORD>(TYMED_NULL)) << c.what;
    }
    FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    EXPECT_EQ(lpData->GetData(nullptr, nullptr), E_INVALIDARG);
    EXPECT_EQ(lpData->QueryGetData(nullptr), E_INVALIDARG);
    STGMEDIUM medium = {};
    EXPECT_EQ(lpData->SetData(&format, &medium, FALSE), E_NOTIMPL);
    lpData->Release();
}

TEST_F(OleTest, DataObjectReleasesOnlyWhatItOwns) {
    COleDataSource source;
    LPDATAOBJECT lpData = source.GetDataObject(); // references: the source's and ours
    {
        COleDataObject borrowed;
        borrowed.Attach(lpData, FALSE);
    }
    lpData->AddRef();
    {
        COleDataObject owning;
        owning.Attach(lpData, TRUE); // releases the added reference
    }
    lpData->AddRef();
    {
        COleDataObject owning;
        owning.Attach(lpData, TRUE);
        EXPECT_EQ(owning.Detach(), lpData); // detached: the reference stays with us
    }
    EXPECT_EQ(lpData->Release(), 2u);
    EXPECT_EQ(lpData->Release(), 1u); // only the source's reference is left
}

TEST_F(OleTest, UnattachedDataObjectOffersNothing) {
    COleDataObject data;
    STGMEDIUM medium;
    EXPECT_FALSE(data.IsDataAvailable(CF_HDROP));
    EXPECT_FALSE(data.GetData(CF_HDROP, &medium));
    EXPECT_EQ(medium.tymed, static_cast<DWORD>(TYMED_NULL));
    EXPECT_EQ(data.GetGlobalData(CF_HDROP), nullptr);
    EXPECT_EQ(data.GetIDataObject(TRUE), nullptr);
}

// ---------------------------------------------------------------------------
// Clipboard

// Puts kFiles on the clipboard as the application's lists do. The clipboard is
// shared with every program on the display, so a busy clipboard is waited for.
bool PutFilesOnClipboard(HWND hOwner) {
    for (int nTry = 0; nTry < 100; ++nTry) {
        if (!OpenClipboard(hOwner)) {
            Sleep(10);
            continue;
        }
        EmptyClipboard();
        const bool bSet = SetClipboardData(CF_HDROP, MakeDropBlock(kFiles)) != nullptr;
        CloseClipboard();
        return bSet;
    }
    return false;
}

TEST_F(OleTest, FileListPutOnTheClipboardIsReadBack) {
    CTestWindow owner(0, WindowOrigin());
    // Another program may replace the clipboard between our write and our read.
    std::vector<std::string> names;
    for (int nTry = 0; nTry < 10 && names != kFiles; ++nTry) {
        ASSERT_TRUE(PutFilesOnClipboard(owner.Handle()));
        COleDataObject data;
        ASSERT_TRUE(data.AttachClipboard());
        if (!data.IsDataAvailable(CF_HDROP))
            continue;
        EXPECT_FALSE(
            data.IsDataAvailable(static_cast<CLIPFORMAT>(RegisterClipboardFormatA("Zm none"))));
        STGMEDIUM medium;
        if (!data.GetData(CF_HDROP, &medium))
            continue;
        EXPECT_EQ(medium.tymed, static_cast<DWORD>(TYMED_HGLOBAL));
        names = DropFileNames(static_cast<HDROP>(medium.hGlobal));
        ReleaseStgMedium(&medium);
    }
    EXPECT_EQ(names, kFiles);
}

// ---------------------------------------------------------------------------
// AfxOleInit

TEST_F(OleTest, OleBelongsToTheThreadThatInitialisedIt) {
    EXPECT_TRUE(AfxOleInit()); // again on the same thread
    BOOL bOtherInit = TRUE;
    BOOL bOtherRegister = TRUE;
    RunOnPlainThread([&] {
        bOtherInit = AfxOleInit();
        AfxOleTerm(); // not this thread's: does nothing
        CTestWindow window(0, WindowOrigin());
        COleDropTarget target;
        bOtherRegister = target.Register(window.Wnd());
    });
    EXPECT_FALSE(bOtherInit);
    EXPECT_FALSE(bOtherRegister);
    // The other thread's AfxOleTerm left OLE running here.
    CTestWindow window(0, WindowOrigin());
    COleDropTarget target;
    EXPECT_TRUE(target.Register(window.Wnd()));
}

// ---------------------------------------------------------------------------
// Drop target, driven through its IDropTarget

class OleDropTargetTest : public OleTest {
protected:
    void SetUp() override {
        OleTest::SetUp();
        m_pWindow = new CTestWindow(0, WindowOrigin());
    }
    void TearDown() override {
        if (m_pTarget != nullptr)
            m_pTarget->Release();
        delete m_pWindow;
        OleTest::TearDown();
    }
    // Registers target for the window (recreated with dwExStyle when given).
    void Register(COleDropTarget& target, DWORD dwExStyle = 0) {
        if (dwExStyle != 0) {
            delete m_pWindow;
            m_pWindow = new CTestWindow(dwExStyle, WindowOrigin());
        }
        ASSERT_TRUE(target.Register(m_pWindow->Wnd()));
        m_pTarget = target.GetDropTargetInterface();
        ASSERT_NE(m_pTarget, nullptr);
    }
    DWORD Enter(LPDATAOBJECT lpData, DWORD dwKeys, int x, int y, DWORD allowed) {
        const POINT pt = m_pWindow->Screen(x, y);
        DWORD dwEffect = allowed;
        EXPECT_EQ(m_pTarget->DragEnter(lpData, dwKeys, POINTL{pt.x, pt.y}, &dwEffect), S_OK);
        return dwEffect;
    }
    DWORD Over(DWORD dwKeys, int x, int y, DWORD allowed) {
        const POINT pt = m_pWindow->Screen(x, y);
        DWORD dwEffect = allowed;
        EXPECT_EQ(m_pTarget->DragOver(dwKeys, POINTL{pt.x, pt.y}, &dwEffect), S_OK);
        return dwEffect;
    }
    DWORD Drop(LPDATAOBJECT lpData, int x, int y, DWORD allowed) {
        const POINT pt = m_pWindow->Screen(x, y);
        DWORD dwEffect = allowed;
        EXPECT_EQ(m_pTarget->Drop(lpData, 0, POINTL{pt.x, pt.y}, &dwEffect), S_OK);
        return dwEffect;
    }

    CTestWindow* m_pWindow = nullptr;
    IDropTarget* m_pTarget = nullptr; // one reference
};

const DWORD kCopyMove = DROPEFFECT_COPY | DROPEFFECT_MOVE;

TEST_F(OleDropTargetTest, EnterOverAndDropReachTheHandlersWithTheData) {
    CRecordingTarget target;
    Register(target);
    COleDataSource source;
    LPDATAOBJECT lpData = MakeFileData(source);

    EXPECT_EQ(Enter(lpData, MK_LBUTTON, 10, 20, kCopyMove), DROPEFFECT_COPY);
    EXPECT_EQ(target.CurrentData(), lpData);
    EXPECT_EQ(Over(MK_LBUTTON | MK_CONTROL, 30, 40, kCopyMove), DROPEFFECT_COPY);
    EXPECT_EQ(Drop(lpData, 50, 60, kCopyMove), DROPEFFECT_COPY);
    EXPECT_EQ(target.CurrentData(), nullptr);

    const std::vector<std::string> expected = {
        "enter 10,20 keys=1 files=2",
        "over 30,40 keys=9 files=2",
        "over 50,60 keys=0 files=2", // asked once more at the drop point
        "drop 1 50,60 keys=0 files=2",
    };
    EXPECT_EQ(target.m_events, expected);
    lpData->Release();
}

TEST_F(OleDropTargetTest, EffectIsCutToWhatTheSourceAllows) {
    CRecordingTarget target;
    Register(target);
    COleDataSource source;
    LPDATAOBJECT lpData = MakeFileData(source);
    struct SCase {
        DROPEFFECT answer;
        DWORD allowed;
        DWORD expected;
    } cases[] = {
        {DROPEFFECT_COPY, kCopyMove, DROPEFFECT_COPY},
        {DROPEFFECT_MOVE, kCopyMove, DROPEFFECT_MOVE},
        {DROPEFFECT_MOVE, DROPEFFECT_COPY, DROPEFFECT_COPY},
        {DROPEFFECT_LINK, kCopyMove, DROPEFFECT_COPY},
        {DROPEFFECT_LINK, DROPEFFECT_LINK, DROPEFFECT_LINK},
        {DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_NONE}, // never widened to a move
        {DROPEFFECT_NONE, kCopyMove, DROPEFFECT_NONE},
    };
    for (const SCase& c : cases) {
        target.m_answer = c.answer;
        EXPECT_EQ(Enter(lpData, MK_LBUTTON, 5, 5, c.allowed), c.expected)
            << "answer " << c.answer << " allowed " << c.allowed;
        EXPECT_EQ(Over(MK_LBUTTON, 6, 6, c.allowed), c.expected)
            << "answer " << c.answer << " allowed " << c.allowed;
        m_pTarget->DragLeave();
    }
    lpData->Release();
}

TEST_F(OleDropTargetTest, RefusedDropLeavesWithoutDropping) {
    CRecordingTarget target;
    target.m_answer = DROPEFFECT_NONE;
    Register(target); // the window does not accept dropped files
    COleDataSource source;
    LPDATAOBJECT lpData = MakeFileData(source);

    EXPECT_EQ(Enter(lpData, MK_LBUTTON, 1, 2, kCopyMove), DROPEFFECT_NONE);
    EXPECT_EQ(Drop(lpData, 3, 4, kCopyMove), DROPEFFECT_NONE);
    const std::vector<std::string> expected = {"enter 1,2 keys=1 files=2",
                                               "over 3,4 keys=0 files=2", "leave"};
    EXPECT_EQ(target.m_events, expected);
    EXPECT_EQ(m_pWindow->m_dropped.nMessages, 0);
    lpData->Release();
}

TEST_F(OleDropTargetTest, RefusedFileDragBecomesAFileDropOnAWindowThatAcceptsFiles) {
    CRecordingTarget target;
    target.m_answer = DROPEFFECT_NONE;
    Register(target, WS_EX_ACCEPTFILES);
    COleDataSource source;
    LPDATAOBJECT lpData = MakeFileData(source);

    EXPECT_EQ(Enter(lpData, MK_LBUTTON, 7, 8, kCopyMove), DROPEFFECT_COPY);
    EXPECT_EQ(Over(MK_LBUTTON, 9, 10, kCopyMove), DROPEFFECT_COPY);
    EXPECT_EQ(Drop(lpData, 11, 12, kCopyMove), DROPEFFECT_COPY);
    const std::vector<std::string> expected = {"enter 7,8 keys=1 files=2",
                                               "over 9,10 keys=1 files=2",
                                               "over 11,12 keys=0 files=2", "leave"};
    EXPECT_EQ(target.m_events, expected);
    EXPECT_EQ(m_pWindow->m_dropped.nMessages, 1);
    EXPECT_EQ(m_pWindow->m_dropped.names, kFiles);
    EXPECT_EQ(m_pWindow->m_dropped.point.x, 11);
    EXPECT_EQ(m_pWindow->m_dropped.point.y, 12);
    lpData->Release();

    // Data without a file list stays refused.
    COleDataSource text;
    ASSERT_TRUE(text.CacheGlobalData(CF_TEXT, MakeGlobal("x")));
    LPDATAOBJECT lpText = text.GetDataObject();
    EXPECT_EQ(Enter(lpText, MK_LBUTTON, 1, 1, kCopyMove), DROPEFFECT_NONE);
    EXPECT_EQ(Drop(lpText, 1, 1, kCopyMove), DROPEFFECT_NONE);
    EXPECT_EQ(m_pWindow->m_dropped.nMessages, 1);
    lpText->Release();
}

TEST_F(OleDropTargetTest, DefaultDropHandsTheFilesToTheWindow) {
    CRecordingTarget target;
    target.m_answer = DROPEFFECT_LINK;
    target.m_bOwnDrop = false;
    Register(target, WS_EX_ACCEPTFILES);
    COleDataSource source;
    LPDATAOBJECT lpData = MakeFileData(source, {"C:\\Calls\\only.zel"});

    const DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    EXPECT_EQ(Enter(lpData, MK_LBUTTON, 20, 30, allowed), DROPEFFECT_LINK);
    EXPECT_EQ(Drop(lpData, 21, 31, allowed), DROPEFFECT_LINK);
    EXPECT_EQ(target.m_events.back(), "drop 4 21,31 keys=0 files=1");
    EXPECT_EQ(m_pWindow->m_dropped.nMessages, 1);
    EXPECT_EQ(m_pWindow->m_dropped.names, std::vector<std::string>{"C:\\Calls\\only.zel"});
    lpData->Release();

    // Without the window's consent the default drop takes nothing.
    DragAcceptFiles(m_pWindow->Handle(), FALSE);
    lpData = MakeFileData(source);
    EXPECT_EQ(Enter(lpData, MK_LBUTTON, 20, 30, allowed), DROPEFFECT_LINK);
    EXPECT_EQ(Drop(lpData, 21, 31, allowed), DROPEFFECT_NONE);
    EXPECT_EQ(m_pWindow->m_dropped.nMessages, 1);
    lpData->Release();
}

// A target in the way the application's player form has one: it only answers
// drag-over, admitting a single file by switching the window's acceptance of
// dropped files on for it; the drop itself is the window's WM_DROPFILES.
class COneFileTarget : public COleDropTarget {
public:
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pData, DWORD, CPoint) override {
        const bool bOne = DataFileNames(pData).size() == 1;
        DragAcceptFiles(pWnd->GetSafeHwnd(), bOne);
        return bOne ? DROPEFFECT_LINK : DROPEFFECT_NONE;
    }
};

TEST_F(OleDropTargetTest, TargetAnsweringOnlyDragOverGetsItsDropAsDroppedFiles) {
    COneFileTarget target;
    Register(target);
    const DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    COleDataSource one;
    LPDATAOBJECT lpOne = MakeFileData(one, {"C:\\Calls\\only.zel"});
    EXPECT_EQ(Enter(lpOne, MK_LBUTTON, 20, 30, allowed), DROPEFFECT_LINK); // enter asks over
    EXPECT_EQ(Drop(lpOne, 21, 31, allowed), DROPEFFECT_LINK);
    EXPECT_EQ(m_pWindow->m_dropped.nMessages, 1);
    EXPECT_EQ(m_pWindow->m_dropped.names, std::vector<std::string>{"C:\\Calls\\only.zel"});
    EXPECT_EQ(m_pWindow->m_dropped.point.x, 21);
    lpOne->Release();

    COleDataSource two;
    LPDATAOBJECT lpTwo = MakeFileData(two);
    EXPECT_EQ(Enter(lpTwo, MK_LBUTTON, 20, 30, allowed), DROPEFFECT_NONE);
    EXPECT_EQ(Drop(lpTwo, 21, 31, allowed), DROPEFFECT_NONE);
    EXPECT_EQ(m_pWindow->m_dropped.nMessages, 1);
    lpTwo->Release();
}

TEST_F(OleDropTargetTest, MalformedFileListsAreNotDelivered) {
    CRecordingTarget target;
    target.m_answer = DROPEFFECT_NONE;
    Register(target, WS_EX_ACCEPTFILES);
    struct SCase {
        const char* what;
        DWORD pFiles;
        std::string list;
    } cases[] = {
        {"list beyond the block", 4096, std::string("a.zel\0\0", 7)},
        {"list inside the header", 4, std::string("a.zel\0\0", 7)},
        {"name not terminated", sizeof(DROPFILES), std::string("a.zel", 5)},
        {"list not terminated", sizeof(DROPFILES), std::string("a.zel\0", 6)},
        {"no names", sizeof(DROPFILES), std::string("\0", 1)},
    };
    for (const SCase& c : cases) {
        std::string block(sizeof(DROPFILES), '\0');
        reinterpret_cast<DROPFILES*>(&block[0])->pFiles = c.pFiles;
        block += c.list;
        COleDataSource source;
        ASSERT_TRUE(source.CacheGlobalData(CF_HDROP, MakeGlobal(block)));
        LPDATAOBJECT lpData = source.GetDataObject();
        Enter(lpData, MK_LBUTTON, 1, 1, kCopyMove);
        EXPECT_EQ(Drop(lpData, 1, 1, kCopyMove), DROPEFFECT_NONE) << c.what;
        lpData->Release();
    }
    EXPECT_EQ(m_pWindow->m_dropped.nMessages, 0);

    // A header that is too short.
    COleDataSource source;
    ASSERT_TRUE(source.CacheGlobalData(CF_HDROP, MakeGlobal(std::string("\x14\0\0", 3))));
    LPDATAOBJECT lpData = source.GetDataObject();
    Enter(lpData, MK_LBUTTON, 1, 1, kCopyMove);
    EXPECT_EQ(Drop(lpData, 1, 1, kCopyMove), DROPEFFECT_NONE);
    EXPECT_EQ(m_pWindow->m_dropped.nMessages, 0);
    lpData->Release();
}

TEST_F(OleDropTargetTest, HandlerExceptionsStopAtTheBridge) {
    CRecordingTarget target;
    Register(target);
    COleDataSource source;
    LPDATAOBJECT lpData = MakeFileData(source);
    target.m_bThrow = true;
    EXPECT_EQ(Enter(lpData, MK_LBUTTON, 1, 1, kCopyMove), DROPEFFECT_NONE);
    EXPECT_EQ(Over(MK_LBUTTON, 1, 1, kCopyMove), DROPEFFECT_NONE);
    EXPECT_EQ(Drop(lpData, 1, 1, kCopyMove), DROPEFFECT_NONE);
    EXPECT_EQ(target.CurrentData(), nullptr);
    lpData->Release();
}

TEST_F(OleDropTargetTest, RegistrationEndsWithTheWindowOrTheTarget) {
    auto* pTarget = new CRecordingTarget;
    Register(*pTarget);
    EXPECT_FALSE(pTarget->Register(m_pWindow->Wnd())); // once per target
    CRecordingTarget second;
    EXPECT_FALSE(second.Register(m_pWindow->Wnd())); // once per window

    // A target deleted while OLE (here: the test) still holds its bridge.
    delete pTarget;
    COleDataSource source;
    LPDATAOBJECT lpData = MakeFileData(source);
    EXPECT_EQ(Enter(lpData, MK_LBUTTON, 1, 1, kCopyMove), DROPEFFECT_NONE);
    EXPECT_EQ(Drop(lpData, 1, 1, kCopyMove), DROPEFFECT_NONE);
    lpData->Release();
    EXPECT_TRUE(second.Register(m_pWindow->Wnd()));

    // The window's destruction revokes the target, which can then register again.
    DestroyWindow(m_pWindow->Handle());
    LPDROPTARGET lpGone = second.GetDropTargetInterface();
    EXPECT_EQ(lpGone, nullptr);
    if (lpGone != nullptr)
        lpGone->Release();
    CTestWindow other(0, WindowOrigin());
    EXPECT_TRUE(second.Register(other.Wnd()));

    COleDropTarget third;
    EXPECT_FALSE(third.Register(nullptr));
}

// A window object that takes drops from before its subclass is in place and
// gives them up as its window goes, as the application's call list does.
class CDropTakingWnd : public CWnd {
public:
    COleDropTarget m_target;
    bool m_bNcDestroyed = false;

protected:
    void PreSubclassWindow() override { m_target.Register(this); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_DESTROY)
            m_target.Revoke();
        return CWnd::WindowProc(message, wParam, lParam);
    }
    void PostNcDestroy() override { m_bNcDestroyed = true; }
};

TEST_F(OleDropTargetTest, RevokingAtDestroyKeepsTheObjectsNcDestroy) {
    CDropTakingWnd wnd;
    const HWND hWnd = m_pWindow->Handle();
    ASSERT_TRUE(wnd.SubclassWindow(hWnd));
    LPDROPTARGET lpTarget = wnd.m_target.GetDropTargetInterface();
    ASSERT_NE(lpTarget, nullptr);
    lpTarget->Release();

    DestroyWindow(hWnd);
    EXPECT_TRUE(wnd.m_bNcDestroyed);
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

// ---------------------------------------------------------------------------
// Real drags through OLE's DoDragDrop. The source keeps the cursor on its
// destination and drops only after the target under it answered, so the drag
// does not depend on how fast OLE polls.

class CScriptedSource : public COleDropSource {
public:
    POINT m_ptDestination = {0, 0};
    CRecordingTarget* m_pWatched = nullptr; // when set, the drag must be over it
    HWND m_hWndDestination = nullptr;       // else, when set, the window under the cursor
    bool m_bCancel = false;
    int m_nQueries = 0;
    int m_nBegins = 0;
    HWND m_hWndBegin = nullptr;

    BOOL OnBeginDrag(CWnd* pWnd) override {
        ++m_nBegins;
        m_hWndBegin = pWnd != nullptr ? pWnd->GetSafeHwnd() : nullptr;
        return COleDropSource::OnBeginDrag(pWnd);
    }
    // Other programs on the display may move the cursor too: it is put back on
    // every step, and the drag ends only while it is over its destination.
    SCODE QueryContinueDrag(BOOL, DWORD) override {
        ++m_nQueries;
        SetCursorPos(m_ptDestination.x, m_ptDestination.y);
        if (m_nQueries > 500)
            return DRAGDROP_S_CANCEL;
        if (m_nQueries < 3 || !OverDestination())
            return S_OK;
        return m_bCancel ? DRAGDROP_S_CANCEL : DRAGDROP_S_DROP;
    }

private:
    bool OverDestination() const {
        if (m_pWatched != nullptr)
            return !m_pWatched->m_events.empty() &&
                   m_pWatched->m_events.back().rfind("over", 0) == 0;
        return m_hWndDestination == nullptr ||
               WindowFromPoint(m_ptDestination) == m_hWndDestination;
    }
};

TEST(OleDropSourceTest, DefaultSourceDropsOnReleaseAndCancelsOnEscOrAnotherButton) {
    COleDropSource source;
    ASSERT_TRUE(source.OnBeginDrag(nullptr)); // no start rectangle: begins at once
    // No button is held in a test, so the left button is the one whose release drops.
    struct SCase {
        BOOL bEscape;
        DWORD dwKeys;
        SCODE expected;
    } cases[] = {
        {FALSE, MK_LBUTTON, S_OK},
        {FALSE, MK_LBUTTON | MK_CONTROL | MK_SHIFT, S_OK},
        {FALSE, 0, DRAGDROP_S_DROP},
        {FALSE, MK_CONTROL, DRAGDROP_S_DROP},
        {TRUE, MK_LBUTTON, DRAGDROP_S_CANCEL},
        {FALSE, MK_LBUTTON | MK_RBUTTON, DRAGDROP_S_CANCEL},
        {FALSE, MK_MBUTTON, DRAGDROP_S_CANCEL},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(source.QueryContinueDrag(c.bEscape, c.dwKeys), c.expected)
            << "escape " << c.bEscape << " keys " << c.dwKeys;
    EXPECT_EQ(source.GiveFeedback(DROPEFFECT_COPY), DRAGDROP_S_USEDEFAULTCURSORS);
}

// A source whose decision throws: the exception stops at the COM boundary and
// the drag is cancelled before it reaches any window.
class CThrowingSource : public COleDropSource {
public:
    int m_nQueries = 0;
    SCODE QueryContinueDrag(BOOL, DWORD) override {
        ++m_nQueries;
        throw std::runtime_error("source failed");
    }
};

TEST_F(OleTest, SourceExceptionsCancelTheDrag) {
    COleDataSource source;
    ASSERT_TRUE(source.CacheGlobalData(CF_HDROP, MakeDropBlock(kFiles)));
    CThrowingSource dropSource;
    EXPECT_EQ(source.DoDragDrop(kCopyMove, nullptr, &dropSource), DROPEFFECT_NONE);
    EXPECT_EQ(dropSource.m_nQueries, 1);
}

// One test case for all drags under the real cursor, so that they never run in
// parallel processes that fight over the cursor.
TEST_F(OleTest, RealDragsEndWhereTheCursorIs) {
    COleDataSource source;
    ASSERT_TRUE(source.CacheGlobalData(CF_HDROP, MakeDropBlock(kFiles)));
    {
        SCOPED_TRACE("onto a registered target");
        CTestWindow from(0, WindowOrigin(), nullptr, true);
        CTestWindow to(0, POINT{WindowOrigin().x + 20, WindowOrigin().y + 20}, nullptr, true);
        CRecordingTarget target;
        ASSERT_TRUE(target.Register(to.Wnd()));
        SetCapture(from.Handle()); // as while a button is held on a list
        CScriptedSource dropSource;
        dropSource.m_ptDestination = to.Screen(40, 50);
        dropSource.m_pWatched = &target;
        EXPECT_EQ(source.DoDragDrop(kCopyMove, nullptr, &dropSource), DROPEFFECT_COPY);
        EXPECT_EQ(dropSource.m_nBegins, 1);
        EXPECT_EQ(dropSource.m_hWndBegin, from.Handle());
        ASSERT_GE(target.m_events.size(), 2u);
        EXPECT_EQ(target.m_events.front().rfind("enter 40,50", 0), 0u) << target.m_events.front();
        EXPECT_EQ(target.m_events.back(), "drop 1 40,50 keys=0 files=2");
        ReleaseCapture();

        // Cancelled: the target is left, nothing dropped.
        target.m_events.clear();
        dropSource.m_nQueries = 0;
        dropSource.m_bCancel = true;
        EXPECT_EQ(source.DoDragDrop(kCopyMove, nullptr, &dropSource), DROPEFFECT_NONE);
        ASSERT_FALSE(target.m_events.empty());
        EXPECT_EQ(target.m_events.back(), "leave");
    }
    {
        SCOPED_TRACE("onto a window without a target");
        CTestWindow parent(WS_EX_ACCEPTFILES, WindowOrigin(), nullptr, true);
        CTestWindow child(0, POINT{10, 10}, parent.Handle());
        CScriptedSource dropSource;
        dropSource.m_ptDestination = child.Screen(5, 6);
        dropSource.m_hWndDestination = child.Handle();
        EXPECT_EQ(source.DoDragDrop(kCopyMove, nullptr, &dropSource), DROPEFFECT_COPY);
        EXPECT_EQ(child.m_dropped.nMessages, 0);
        EXPECT_EQ(parent.m_dropped.nMessages, 1); // the nearest window that accepts files
        EXPECT_EQ(parent.m_dropped.names, kFiles);
        EXPECT_EQ(parent.m_dropped.point.x, 15);
        EXPECT_EQ(parent.m_dropped.point.y, 16);

        // A source that allows only moves gets no file drop: the receiver only reads.
        dropSource.m_nQueries = 0;
        EXPECT_EQ(source.DoDragDrop(DROPEFFECT_MOVE, nullptr, &dropSource), DROPEFFECT_NONE);
        EXPECT_EQ(parent.m_dropped.nMessages, 1);

        // What the drag lent the window went with the drag.
        COleDropTarget own;
        EXPECT_TRUE(own.Register(parent.Wnd()));
    }
    {
        SCOPED_TRACE("with a start rectangle");
        CTestWindow from(0, WindowOrigin(), nullptr, true);
        SetCapture(from.Handle());
        const POINT origin = from.Screen(0, 0);
        const RECT rcStart = {origin.x + 10, origin.y + 10, origin.x + 30, origin.y + 30};
        CScriptedSource dropSource;
        dropSource.m_ptDestination = from.Screen(100, 100);

        // Released inside the rectangle: no drag at all.
        PostMessageA(from.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 20));
        PostMessageA(from.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
        EXPECT_EQ(source.DoDragDrop(kCopyMove, &rcStart, &dropSource), DROPEFFECT_NONE);
        EXPECT_EQ(dropSource.m_nQueries, 0);
        EXPECT_EQ(GetCapture(), nullptr);

        // Moved out of it: the drag runs.
        PostMessageA(from.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(50, 20));
        source.DoDragDrop(kCopyMove, &rcStart, &dropSource);
        EXPECT_GT(dropSource.m_nQueries, 0);
    }
}

} // namespace
