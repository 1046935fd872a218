// ListViewTestBed.h: what the tests of the call list's commands and of its
// folder watcher share: the program's own document, child frame and call-list
// view on a main frame that keeps the frame messages the view posts (instead of
// acting on them), configuration folders and a recordings folder of the test's
// own, recordings written with the header values the commands look at, the
// clipboard helpers of a display shared with other test programs, and the
// fixture those programs start from.
//
// One test program includes this header once (it defines the frame's map).
// Resources: ListViewTestBed.rc, included by the program's own script.
#pragma once

#include "ChildFrm.h"
#include "ScoredFileListEntry.h"
#include "SearchCriteria.h"
#include "SearchManager.h"
#include "ZelDorvaneDoc.h"
#include "ZelDorvaneView.h"
#include "AppMessages.h"
#include "tests/app/ListTestRecordings.h"
#include "tests/app/ListViewTestIds.h"
#include "tests/app/StoreTestFolders.h"

#include "Common/KWFileListEntry.h"
#include "Common/PlaybackManager.h"

#include "framework/DocTemplate.h"
#include "framework/MDIFrameWnd.h"
#include "framework/WinApp.h"

#include "native/gtest.h"

#include "tests/support/AnsweringApp.h"
#include "tests/support/AudioFixtures.h"
#include "tests/support/MdiScaffold.h"
#include "tests/support/RecordingFixtures.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UiScript.h"

#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

// One recording as the tests want it: the User ID and texts a list shows, the
// values it counts and sorts by.
struct SViewRecording {
    std::string name; // file name, folders below the test folder included
    std::string userId = "agent";
    std::string callerId = ">0123 456789";
    std::string comment;
    int duration = 2; // seconds, as the header says
    int important = 0;
    int startTime = 1000000000;
};

// Writes the recording (a header and mu-law audio of its duration) and
// answers its path; empty when it could not be written.
inline std::string WriteViewRecording(const std::string& folder, const SViewRecording& rec) {
    RecordingFields fields;
    fields.userId = rec.userId;
    fields.callerId = rec.callerId;
    fields.comment = rec.comment;
    fields.duration = rec.duration;
    fields.important = rec.important;
    fields.startTime = rec.startTime;
    return WriteMuLawRecording(folder, rec.name, fields);
}

// The header of a recording file as a list entry reads it.
inline CKWFileListEntry ReadEntry(const std::string& path) {
    CKWFileListEntry entry;
    entry.SetPath(path.c_str());
    entry.LoadHeader("");
    return entry;
}

// What the view posted to the main frame; the heap data is freed here, as the
// program's frame does.
struct SPostedChange {
    WPARAM code;
    std::string path;
};
struct SPostedRescan {
    SearchCriteria criteria;
    CZelDorvaneDoc* pTarget;
};

class CRecordingFrame : public CMDIFrameWnd {
public:
    std::vector<SPostedChange> m_changes;
    std::vector<std::unique_ptr<SPostedRescan>> m_rescans;

protected:
    afx_msg LRESULT OnRecordingChanged(WPARAM wParam, LPARAM lParam) {
        std::unique_ptr<CKWString> pPath(reinterpret_cast<CKWString*>(lParam));
        m_changes.push_back({wParam, pPath ? static_cast<const char*>(*pPath) : ""});
        return 1;
    }
    afx_msg LRESULT OnRescanFolders(WPARAM wParam, LPARAM lParam) {
        std::unique_ptr<SearchCriteria> pCriteria(reinterpret_cast<SearchCriteria*>(wParam));
        if (pCriteria)
            m_rescans.push_back(std::unique_ptr<SPostedRescan>(
                new SPostedRescan{*pCriteria, reinterpret_cast<CZelDorvaneDoc*>(lParam)}));
        return 1;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRecordingFrame, CMDIFrameWnd)
ON_MESSAGE(WM_RECORDING_CHANGED, &CRecordingFrame::OnRecordingChanged)
ON_MESSAGE(WM_RESCAN_FOLDERS, &CRecordingFrame::OnRescanFolders)
END_MESSAGE_MAP()

// The clipboard is shared with every program on the display: these wait for a
// clipboard another program holds open, and the tests that use it try again
// when another program changed it under them.
inline bool OpenClipboardWaiting(HWND hOwner) {
    for (int nTry = 0; nTry < 100; ++nTry) {
        if (::OpenClipboard(hOwner))
            return true;
        ::Sleep(10);
    }
    return false;
}
inline bool PutTextOnClipboard(HWND hOwner, const std::string& text) {
    if (!OpenClipboardWaiting(hOwner))
        return false;
    ::EmptyClipboard();
    HGLOBAL hGlobal = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(::GlobalLock(hGlobal), text.c_str(), text.size() + 1);
    ::GlobalUnlock(hGlobal);
    const bool bSet = ::SetClipboardData(CF_TEXT, hGlobal) != nullptr;
    ::CloseClipboard();
    return bSet;
}
inline std::string ClipboardText(HWND hOwner) {
    std::string text;
    if (!OpenClipboardWaiting(hOwner))
        return text;
    if (HANDLE hData = ::GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(::GlobalLock(hData));
        ::GlobalUnlock(hData);
    }
    ::CloseClipboard();
    return text;
}
inline std::vector<std::string> ClipboardFiles(HWND hOwner) {
    std::vector<std::string> paths;
    if (!OpenClipboardWaiting(hOwner))
        return paths;
    if (HDROP hDrop = static_cast<HDROP>(::GetClipboardData(CF_HDROP))) {
        const UINT count = ::DragQueryFileA(hDrop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            char path[MAX_PATH] = "";
            ::DragQueryFileA(hDrop, i, path, MAX_PATH);
            paths.push_back(path);
        }
    }
    ::CloseClipboard();
    return paths;
}
template <class F> bool WithinTenTries(F attempt) {
    for (int nTry = 0; nTry < 10; ++nTry) {
        if (attempt())
            return true;
    }
    return false;
}

// The list windows of a test and the recordings behind them.
class CListViewTestBed {
public:
    explicit CListViewTestBed(const char* prefix) : m_config(prefix) {}

    // A main frame with the program's list template, shown.
    bool SetUp() {
        m_pFrame = new CRecordingFrame;
        return m_mdi.SetUp(new CDocManager, IDR_TEST_LIST, RUNTIME_CLASS(CZelDorvaneDoc),
                           RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(CZelDorvaneView), m_pFrame,
                           IDR_TEST_FRAME, CSize(1000, 700)) != FALSE;
    }
    void TearDown() {
        m_mdi.TearDown();
        CPlaybackManager::GetInstance()->Unload();
    }

    std::string Write(const SViewRecording& rec) { return WriteViewRecording(m_files.Path(), rec); }
    const std::string& Folder() const { return m_files.Path(); }

    // A new list window through File New; its view.
    CZelDorvaneView* NewList() {
        CDocument* pBefore = ActiveDocument();
        AfxGetApp()->OnFileNew();
        CMDIChildWnd* pChild = m_pFrame->MDIGetActive();
        if (pChild == nullptr || pChild->GetActiveDocument() == pBefore)
            return nullptr;
        return DYNAMIC_DOWNCAST(CZelDorvaneView, pChild->GetActiveView());
    }
    // A new list of these recordings in this order, shown as kind with source.
    CZelDorvaneView* OpenList(const std::vector<std::string>& paths,
                              int kind = CZelDorvaneDoc::kCustomList,
                              const std::string& source = std::string()) {
        CZelDorvaneView* pView = NewList();
        if (pView == nullptr)
            return nullptr;
        for (const std::string& path : paths) {
            CScoredFileListEntry* pEntry = new CScoredFileListEntry;
            pEntry->SetPath(path.c_str());
            pEntry->LoadHeader("");
            if (!pView->GetDocument()->AddRecording(pEntry, TRUE))
                delete pEntry;
        }
        pView->ShowList(kind, CKWString(source.c_str()));
        return pView;
    }
    CDocument* ActiveDocument() const {
        CMDIChildWnd* pChild = m_pFrame->MDIGetActive();
        return pChild != nullptr ? pChild->GetActiveDocument() : nullptr;
    }
    CZelDorvaneView* ActiveView() const {
        CMDIChildWnd* pChild = m_pFrame->MDIGetActive();
        return pChild != nullptr ? DYNAMIC_DOWNCAST(CZelDorvaneView, pChild->GetActiveView())
                                 : nullptr;
    }
    int OpenListCount() const { return m_mdi.m_pDocManager->GetOpenDocumentCount(); }

    // Exactly these rows selected.
    static void Select(CZelDorvaneView* pView, const std::vector<int>& rows) {
        pView->SelectOnly(-1);
        for (int row : rows)
            pView->GetList().SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
    static std::vector<std::string> Paths(CZelDorvaneDoc* pDoc) {
        std::vector<std::string> paths;
        for (int i = 0; i < pDoc->GetRecordingCount(); ++i)
            paths.push_back(pDoc->GetRecording(i)->GetPath());
        return paths;
    }
    // A command of the view's menus or buttons, through its message map.
    static void Command(CZelDorvaneView* pView, UINT nID) {
        pView->SendMessage(WM_COMMAND, MAKEWPARAM(nID, 0), 0);
    }

    CRecordingFrame* m_pFrame = nullptr;
    CMdiScaffold m_mdi;

private:
    CStoreTestFolders m_config;
    CTempFolder m_files;
};

// The fixture of a call-list test program: a bed of its own, set up for each
// test, and the program's application object (which answers the message
// boxes) with its answers and prompts emptied first.
class CListViewTest : public ::testing::Test {
protected:
    CListViewTest(CAnsweringApp& app, const char* prefix) : m_app(app), m_bed(prefix) {}

    void SetUp() override {
        m_app.m_answers.clear();
        m_app.m_prompts.clear();
        ASSERT_TRUE(m_bed.SetUp());
    }
    void TearDown() override { m_bed.TearDown(); }

    CAnsweringApp& m_app;
    CListViewTestBed m_bed;
};

// Whether a file or folder is there.
inline bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
