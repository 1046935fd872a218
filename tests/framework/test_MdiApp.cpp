// The framework as one application uses it: an MDI main frame with menus from
// test_MdiApp.rc, one document type whose child frame holds two views of the
// document (a painted view and a virtual list of 100,000 calls), a note dialog
// shown modally and modelessly, and a wizard. The tests drive it the way a user
// would, through commands, menus and buttons, and check what reaches each part.
#include "DataExchange.h"
#include "Dc.h"
#include "Dialog.h"
#include "DocTemplate.h"
#include "Document.h"
#include "ListCtrl.h"
#include "MDIFrameWnd.h"
#include "PropertySheet.h"
#include "UnixPath.h"
#include "View.h"
#include "WinApp.h"

#include "native/gtest.h"
#include "tests/support/MdiScaffold.h"

#include "tests/support/AnsweringApp.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UiScript.h"

#include "test_MdiApp_res.h"

#include <deque>
#include <set>
#include <string>
#include <vector>

namespace {

const int kCallCount = 100000;
const UINT kListId = 1;
const UINT kListPane = AFX_IDW_PANE_FIRST + 1;

// What the painted view draws, in its client coordinates.
const CRect kRedRect(10, 10, 60, 40);
const CRect kBlueRect(80, 50, 130, 90);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

// Which handler took each command, in order.
std::vector<std::string> g_handled;

// ---------------------------------------------------------------------------
// The application: handles File New and the last level of the commands, and
// answers message boxes from a queue (IDNO when it is empty), keeping the prompts.

class CReviewApp : public CAnsweringApp {
protected:
    void OnCmd() { g_handled.push_back("app"); }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CReviewApp, CAnsweringApp)
    ON_COMMAND(ID_FILE_NEW, &CWinApp::OnFileNew)
    ON_COMMAND(ID_CMD_VIEW, &CReviewApp::OnCmd)
    ON_COMMAND(ID_CMD_DOC, &CReviewApp::OnCmd)
    ON_COMMAND(ID_CMD_CHILD, &CReviewApp::OnCmd)
    ON_COMMAND(ID_CMD_MAIN, &CReviewApp::OnCmd)
    ON_COMMAND(ID_CMD_APP, &CReviewApp::OnCmd)
END_MESSAGE_MAP()
// clang-format on

CReviewApp theApp;

// ---------------------------------------------------------------------------
// The document: a count of calls and a flag the Flagged command toggles and
// its menu item shows.

class CCallDoc : public CDocument {
    DECLARE_DYNCREATE(CCallDoc)
public:
    int m_nCalls = kCallCount;
    bool m_bFlagged = false;

protected:
    void OnCmd() { g_handled.push_back("doc"); }
    void OnFlagged() { m_bFlagged = !m_bFlagged; }
    void OnUpdateFlagged(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bFlagged ? 1 : 0); }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CCallDoc, CDocument)

// clang-format off
BEGIN_MESSAGE_MAP(CCallDoc, CDocument)
    ON_UPDATE_COMMAND_UI(ID_CMD_FLAGGED, &CCallDoc::OnUpdateFlagged)
    ON_COMMAND(ID_CMD_VIEW, &CCallDoc::OnCmd)
    ON_COMMAND(ID_CMD_DOC, &CCallDoc::OnCmd)
    ON_COMMAND(ID_CMD_FLAGGED, &CCallDoc::OnFlagged)
END_MESSAGE_MAP()
// clang-format on

// The painted view: two rectangles of known colours at known places.
class CWaveView : public CView {
    DECLARE_DYNCREATE(CWaveView)
public:
    void OnDraw(CDC* pDC) override {
        pDC->FillSolidRect(&kRedRect, kRed);
        pDC->FillSolidRect(&kBlueRect, kBlue);
    }

protected:
    void OnCmd() { g_handled.push_back("view"); }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CWaveView, CView)

// clang-format off
BEGIN_MESSAGE_MAP(CWaveView, CView)
    ON_COMMAND(ID_CMD_VIEW, &CWaveView::OnCmd)
END_MESSAGE_MAP()
// clang-format on

// The call list: a virtual list view filling the view, asking the document for
// its row count and answering display requests from the row number. It keeps
// the rows the control asked for.
class CCallListView : public CView {
    DECLARE_DYNCREATE(CCallListView)
public:
    void OnDraw(CDC*) override {}
    void OnInitialUpdate() override {
        CView::OnInitialUpdate();
        m_list.SetItemCountEx(static_cast<CCallDoc*>(GetDocument())->m_nCalls);
    }
    CListCtrl m_list;
    std::set<int> m_rowsAsked;

protected:
    int OnCreate(LPCREATESTRUCT lpcs) {
        if (CView::OnCreate(lpcs) == -1)
            return -1;
        if (!m_list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, CRect(0, 0, 0, 0),
                           this, kListId))
            return -1;
        m_list.InsertColumn(0, "Caller", LVCFMT_LEFT, 120);
        m_list.InsertColumn(1, "Duration", LVCFMT_LEFT, 80);
        return 0;
    }
    void OnSize(UINT /*nType*/, int cx, int cy) {
        if (m_list.m_hWnd != nullptr)
            m_list.MoveWindow(0, 0, cx, cy);
    }
    void OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult) {
        auto* pInfo = reinterpret_cast<NMLVDISPINFOA*>(pNMHDR);
        m_rowsAsked.insert(pInfo->item.iItem);
        if (pInfo->item.mask & LVIF_TEXT) {
            std::string text = "call " + std::to_string(pInfo->item.iItem) + "/" +
                               std::to_string(pInfo->item.iSubItem);
            lstrcpynA(pInfo->item.pszText, text.c_str(), pInfo->item.cchTextMax);
        }
        *pResult = 0;
    }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CCallListView, CView)

// clang-format off
BEGIN_MESSAGE_MAP(CCallListView, CView)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_NOTIFY(LVN_GETDISPINFOA, kListId, &CCallListView::OnGetDispInfo)
END_MESSAGE_MAP()
// clang-format on

// The child frame holds the template's painted view on the left and the call
// list beside it, both views of the frame's document.
class CCallFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CCallFrame)
public:
    void RecalcLayout(BOOL bNotify = TRUE) override {
        CMDIChildWnd::RecalcLayout(bNotify);
        CRect client;
        GetClientRect(&client);
        int nSplit = client.Width() / 2;
        if (CWnd* pWave = GetDlgItem(AFX_IDW_PANE_FIRST))
            pWave->MoveWindow(0, 0, nSplit, client.Height());
        if (CWnd* pList = GetDlgItem(kListPane))
            pList->MoveWindow(nSplit, 0, client.Width() - nSplit, client.Height());
    }
    CCallListView* ListView() { return dynamic_cast<CCallListView*>(GetDlgItem(kListPane)); }

protected:
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override {
        if (!CMDIChildWnd::OnCreateClient(lpcs, pContext))
            return FALSE;
        CCreateContext listContext = *pContext;
        listContext.m_pNewViewClass = RUNTIME_CLASS(CCallListView);
        return CreateView(&listContext, kListPane) != nullptr;
    }
    void OnCmd() { g_handled.push_back("child"); }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CCallFrame, CMDIChildWnd)

// clang-format off
BEGIN_MESSAGE_MAP(CCallFrame, CMDIChildWnd)
    ON_COMMAND(ID_CMD_VIEW, &CCallFrame::OnCmd)
    ON_COMMAND(ID_CMD_DOC, &CCallFrame::OnCmd)
    ON_COMMAND(ID_CMD_CHILD, &CCallFrame::OnCmd)
END_MESSAGE_MAP()
// clang-format on

// The main frame handles the commands up to its own and keeps Locked disabled
// although it has a handler.
class CMainFrame : public CMDIFrameWnd {
protected:
    void OnCmd() { g_handled.push_back("main"); }
    void OnUpdateLocked(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    DECLARE_MESSAGE_MAP()
};

// clang-format off
BEGIN_MESSAGE_MAP(CMainFrame, CMDIFrameWnd)
    ON_UPDATE_COMMAND_UI(ID_CMD_LOCKED, &CMainFrame::OnUpdateLocked)
    ON_COMMAND(ID_CMD_VIEW, &CMainFrame::OnCmd)
    ON_COMMAND(ID_CMD_DOC, &CMainFrame::OnCmd)
    ON_COMMAND(ID_CMD_CHILD, &CMainFrame::OnCmd)
    ON_COMMAND(ID_CMD_MAIN, &CMainFrame::OnCmd)
    ON_COMMAND(ID_CMD_LOCKED, &CMainFrame::OnCmd)
END_MESSAGE_MAP()
// clang-format on

// ---------------------------------------------------------------------------
// The note dialog: a text and a score between 0 and 10, exchanged with members.

class CNoteDialog : public CDialog {
public:
    explicit CNoteDialog(CWnd* pParent) : CDialog(IDD_NOTE, pParent) {}
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Text(pDX, IDC_NOTE_TEXT, m_strNote);
        DDX_Text(pDX, IDC_NOTE_SCORE, m_nScore);
        DDV_MinMaxInt(pDX, m_nScore, 0, 10);
    }
    CString m_strNote;
    int m_nScore = 0;
};

class CWizardPage : public CPropertyPage {
public:
    explicit CWizardPage(UINT nIDTemplate) : CPropertyPage(nIDTemplate) {}
    BOOL OnSetActive() override {
        auto* pSheet = dynamic_cast<CPropertySheet*>(GetParent());
        if (pSheet != nullptr)
            pSheet->SetWizardButtons(m_dwButtons);
        return CPropertyPage::OnSetActive();
    }
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_WIZ_VALUE, m_strValue); }
    DWORD m_dwButtons = PSWIZB_NEXT;
    CString m_strValue;
};

// ---------------------------------------------------------------------------

std::string ItemText(HWND hWndDialog, int nID) {
    char szText[256] = "";
    ::GetDlgItemTextA(hWndDialog, nID, szText, sizeof szText);
    return szText;
}

std::string WindowText(HWND hWnd) {
    char szText[256] = "";
    ::GetWindowTextA(hWnd, szText, sizeof szText);
    return szText;
}

// ---------------------------------------------------------------------------
// A 24-bit bottom-up BMP file: the window's pixels as saved and read again.

const WORD kBmpSignature = 0x4D42;                                                  // "BM"
const size_t kBmpHeadersSize = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER); // 0x36, 54

int BmpStride(int nWidth) {
    return (nWidth * 3 + 3) & ~3;
}

// Copies the window with its frame, menu bar and children from its window DC.
// Under Wine the window DC reads the top-level window's own surface, not the
// screen: frames of other tests running at once on the same display, even on
// top of this one, do not show in the copy (eight frames at one place, run in
// parallel, each read their own colours).
bool SaveWindowAsBmp(HWND hWnd, const std::string& path) {
    CRect window;
    ::GetWindowRect(hWnd, &window);
    const int cx = window.Width(), cy = window.Height();
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = cy; // bottom-up, as the file stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(BmpStride(cx) * cy);
    void* pBits = nullptr;
    HDC hdcWindow = ::GetWindowDC(hWnd);
    HDC hdcMem = ::CreateCompatibleDC(hdcWindow);
    HBITMAP hBitmap = ::CreateDIBSection(hdcMem, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    bool bOk = hBitmap != nullptr;
    if (bOk) {
        HGDIOBJ hOld = ::SelectObject(hdcMem, hBitmap);
        bOk = ::BitBlt(hdcMem, 0, 0, cx, cy, hdcWindow, 0, 0, SRCCOPY) != FALSE;
        ::GdiFlush();
        ::SelectObject(hdcMem, hOld);
    }
    if (bOk) {
        BITMAPFILEHEADER file = {};
        file.bfType = kBmpSignature;
        file.bfOffBits = kBmpHeadersSize;
        file.bfSize = static_cast<DWORD>(kBmpHeadersSize + info.bmiHeader.biSizeImage);
        HANDLE hFile = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD nWritten = 0, nTotal = 0;
        bOk = hFile != INVALID_HANDLE_VALUE;
        bOk = bOk && ::WriteFile(hFile, &file, sizeof file, &nWritten, nullptr);
        nTotal += nWritten;
        bOk = bOk && ::WriteFile(hFile, &info.bmiHeader, sizeof info.bmiHeader, &nWritten, nullptr);
        nTotal += nWritten;
        bOk = bOk && ::WriteFile(hFile, pBits, info.bmiHeader.biSizeImage, &nWritten, nullptr);
        nTotal += nWritten;
        bOk = bOk && nTotal == file.bfSize;
        if (hFile != INVALID_HANDLE_VALUE)
            ::CloseHandle(hFile);
    }
    if (hBitmap != nullptr)
        ::DeleteObject(hBitmap);
    ::DeleteDC(hdcMem);
    ::ReleaseDC(hWnd, hdcWindow);
    return bOk;
}

// A BMP file read back: its header checked, pixels by top-down coordinates.
class CBmpFile {
public:
    explicit CBmpFile(const std::string& path) : m_data(ReadWholeFile(path)) {
        if (m_data.size() < kBmpHeadersSize)
            return;
        BITMAPFILEHEADER file;
        m_data.copy(reinterpret_cast<char*>(&file), sizeof file, 0);
        m_data.copy(reinterpret_cast<char*>(&m_info), sizeof m_info, sizeof file);
        m_nOffset = file.bfOffBits;
        m_bValid = file.bfType == kBmpSignature && m_info.biBitCount == 24 &&
                   m_info.biCompression == BI_RGB && m_info.biHeight > 0 &&
                   m_nOffset + static_cast<size_t>(BmpStride(Width())) * Height() <= m_data.size();
    }
    bool Valid() const { return m_bValid; }
    int Width() const { return m_info.biWidth; }
    int Height() const { return m_info.biHeight; }
    // CLR_INVALID outside the picture.
    COLORREF Pixel(int x, int y) const {
        if (!m_bValid || x < 0 || y < 0 || x >= Width() || y >= Height())
            return CLR_INVALID;
        size_t at =
            m_nOffset + static_cast<size_t>(BmpStride(Width())) * (Height() - 1 - y) + x * 3;
        auto byte = [&](size_t i) { return static_cast<BYTE>(m_data[at + i]); };
        return RGB(byte(2), byte(1), byte(0)); // stored blue, green, red
    }

private:
    std::string m_data;
    BITMAPINFOHEADER m_info = {};
    size_t m_nOffset = 0;
    bool m_bValid = false;
};

// ---------------------------------------------------------------------------

class MdiAppTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_handled.clear();
        theApp.m_answers.clear();
        theApp.m_prompts.clear();
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_LISTVIEW_CLASSES};
        ::InitCommonControlsEx(&icc);
        m_pFrame = new CMainFrame;
        ASSERT_TRUE(m_mdi.SetUp(new CDocManager, IDR_CALLTYPE, RUNTIME_CLASS(CCallDoc),
                                RUNTIME_CLASS(CCallFrame), RUNTIME_CLASS(CWaveView), m_pFrame,
                                IDR_MAINFRAME, CSize(900, 650)));
    }
    void TearDown() override { m_mdi.TearDown(); }

    // File New through the main frame, as the menu sends it; the new child.
    CCallFrame* FileNew() {
        m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_FILE_NEW, 0), 0);
        return dynamic_cast<CCallFrame*>(m_pFrame->MDIGetActive());
    }
    // The popup of the shown menu bar that holds the command.
    HMENU PopupWith(UINT nID) {
        HMENU hBar = ::GetMenu(m_mdi.m_hFrame);
        for (int i = 0; i < ::GetMenuItemCount(hBar); ++i) {
            HMENU hPopup = ::GetSubMenu(hBar, i);
            if (::GetMenuState(hPopup, nID, MF_BYCOMMAND) != static_cast<UINT>(-1))
                return hPopup;
        }
        return nullptr;
    }

    CMdiScaffold m_mdi;
    CMainFrame* m_pFrame = nullptr;
};

} // namespace

TEST_F(MdiAppTest, ChildFrameHoldsTwoViewsOfOneDocument) {
    CCallFrame* pChild = FileNew();
    ASSERT_NE(nullptr, pChild);
    auto* pWave = dynamic_cast<CWaveView*>(pChild->GetActiveView());
    CCallListView* pList = pChild->ListView();
    ASSERT_NE(nullptr, pWave);
    ASSERT_NE(nullptr, pList);
    CDocument* pDoc = pChild->GetActiveDocument();
    ASSERT_NE(nullptr, pDoc);
    EXPECT_EQ(pDoc, pList->GetDocument());
    EXPECT_EQ(2, pDoc->GetViewCount());
    EXPECT_EQ(kCallCount, pList->m_list.GetItemCount()); // set at the initial update
}

TEST_F(MdiAppTest, MenuCommandsReachTheActiveViewDocumentChildMainFrameAndApplication) {
    CCallFrame* pChild = FileNew();
    ASSERT_NE(nullptr, pChild);
    struct Case {
        UINT nID;
        const char* handler;
    };
    const Case withWaveView[] = {{ID_CMD_VIEW, "view"},
                                 {ID_CMD_DOC, "doc"},
                                 {ID_CMD_CHILD, "child"},
                                 {ID_CMD_MAIN, "main"},
                                 {ID_CMD_APP, "app"}};
    for (const Case& c : withWaveView) {
        SCOPED_TRACE(c.nID);
        g_handled.clear();
        m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(c.nID, 0), 0);
        EXPECT_EQ(std::vector<std::string>{c.handler}, g_handled);
    }

    // The list view has no handler of its own: the view's command goes on to
    // the document.
    pChild->SetActiveView(pChild->ListView());
    g_handled.clear();
    m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_CMD_VIEW, 0), 0);
    EXPECT_EQ(std::vector<std::string>{"doc"}, g_handled);

    // Without a child the main frame is the first to hear.
    m_mdi.m_pDocManager->CloseAllDocuments(FALSE);
    ASSERT_EQ(nullptr, m_pFrame->MDIGetActive());
    g_handled.clear();
    m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_CMD_VIEW, 0), 0);
    m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_CMD_APP, 0), 0);
    EXPECT_EQ((std::vector<std::string>{"main", "app"}), g_handled);
}

TEST_F(MdiAppTest, MenuPopupShowsTheStateTheHandlersGive) {
    CCallFrame* pChild = FileNew();
    ASSERT_NE(nullptr, pChild);
    HMENU hCalls = PopupWith(ID_CMD_VIEW);
    ASSERT_NE(nullptr, hCalls);
    // Start from the opposite of what the handlers will say.
    ::EnableMenuItem(hCalls, ID_CMD_NOBODY, MF_BYCOMMAND | MF_ENABLED);
    ::EnableMenuItem(hCalls, ID_CMD_APP, MF_BYCOMMAND | MF_GRAYED);
    ::CheckMenuItem(hCalls, ID_CMD_FLAGGED, MF_BYCOMMAND | MF_CHECKED);
    auto grayed = [&](UINT nID) {
        return (::GetMenuState(hCalls, nID, MF_BYCOMMAND) & MF_GRAYED) != 0;
    };
    auto checked = [&](UINT nID) {
        return (::GetMenuState(hCalls, nID, MF_BYCOMMAND) & MF_CHECKED) != 0;
    };

    m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hCalls), 1);
    for (UINT nID :
         {ID_CMD_VIEW, ID_CMD_DOC, ID_CMD_CHILD, ID_CMD_MAIN, ID_CMD_APP, ID_CMD_FLAGGED}) {
        SCOPED_TRACE(nID);
        EXPECT_FALSE(grayed(nID));
    }
    EXPECT_TRUE(grayed(ID_CMD_NOBODY));
    EXPECT_TRUE(grayed(ID_CMD_LOCKED)); // handled, but its update disables it
    EXPECT_FALSE(checked(ID_CMD_FLAGGED));

    // The command changes the document; its state shows the next time the popup
    // opens.
    m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_CMD_FLAGGED, 0), 0);
    EXPECT_TRUE(static_cast<CCallDoc*>(pChild->GetActiveDocument())->m_bFlagged);
    m_pFrame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hCalls), 1);
    EXPECT_TRUE(checked(ID_CMD_FLAGGED));
    EXPECT_FALSE(grayed(ID_CMD_FLAGGED));
}

TEST_F(MdiAppTest, FileNewTwiceMakesTwoChildrenAndTheTitleFollowsTheActiveOne) {
    CCallFrame* pFirst = FileNew();
    ASSERT_NE(nullptr, pFirst);
    CCallFrame* pSecond = FileNew();
    ASSERT_NE(nullptr, pSecond);
    ASSERT_NE(pFirst, pSecond);
    EXPECT_EQ(2, m_mdi.m_pDocManager->GetOpenDocumentCount());
    EXPECT_STREQ("Calls1", pFirst->GetActiveDocument()->GetTitle());
    EXPECT_STREQ("Calls2", pSecond->GetActiveDocument()->GetTitle());
    EXPECT_EQ(m_mdi.m_pTemplate->m_hMenuShared, ::GetMenu(m_mdi.m_hFrame));
    EXPECT_EQ("Calls2 - Call Review", WindowText(m_mdi.m_hFrame));

    m_pFrame->MDIActivate(pFirst);
    EXPECT_EQ(pFirst, m_pFrame->MDIGetActive());
    EXPECT_EQ("Calls1 - Call Review", WindowText(m_mdi.m_hFrame));

    pFirst->GetActiveDocument()->SetTitle("Monday");
    EXPECT_EQ("Monday - Call Review", WindowText(m_mdi.m_hFrame));
}

TEST_F(MdiAppTest, ClosingAModifiedDocumentAsksAndCancelKeepsItOpen) {
    CCallFrame* pChild = FileNew();
    ASSERT_NE(nullptr, pChild);
    HWND hChild = pChild->m_hWnd;
    CDocument* pDoc = pChild->GetActiveDocument();
    ASSERT_NE(nullptr, pDoc);
    pDoc->SetModifiedFlag(TRUE);

    theApp.m_answers = {IDCANCEL};
    pChild->SendMessage(WM_CLOSE);
    ASSERT_EQ(1u, theApp.m_prompts.size());
    EXPECT_NE(std::string::npos, theApp.m_prompts[0].find("Calls1"));
    EXPECT_TRUE(::IsWindow(hChild));
    EXPECT_EQ(1, m_mdi.m_pDocManager->GetOpenDocumentCount());
    EXPECT_EQ(pChild, m_pFrame->MDIGetActive());
    EXPECT_TRUE(pDoc->IsModified());

    // File Close from the menu asks again; No closes without saving.
    theApp.m_answers = {IDNO};
    m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_FILE_CLOSE, 0), 0);
    EXPECT_EQ(2u, theApp.m_prompts.size());
    EXPECT_FALSE(::IsWindow(hChild));
    EXPECT_EQ(0, m_mdi.m_pDocManager->GetOpenDocumentCount());
    EXPECT_EQ("Call Review", WindowText(m_mdi.m_hFrame));
}

TEST_F(MdiAppTest, ModalNoteDialogExchangesDataBothWays) {
    CNoteDialog dlg(m_pFrame);
    dlg.m_strNote = "callback";
    dlg.m_nScore = 3;
    HWND hDlg = nullptr;
    std::string shownNote, shownScore;
    HWND hOwner = nullptr;
    CUiScript script([&]() { ::PostMessageA(dlg.m_hWnd, WM_COMMAND, IDCANCEL, 0); }, {[&]() {
                         hDlg = dlg.m_hWnd;
                         if (hDlg == nullptr || !::IsWindowVisible(hDlg))
                             return false;
                         shownNote = ItemText(hDlg, IDC_NOTE_TEXT);
                         shownScore = ItemText(hDlg, IDC_NOTE_SCORE);
                         hOwner = ::GetWindow(hDlg, GW_OWNER);
                         ::SetDlgItemTextA(hDlg, IDC_NOTE_TEXT, "escalate");
                         ::SetDlgItemTextA(hDlg, IDC_NOTE_SCORE, "9");
                         ::PostMessageA(hDlg, WM_COMMAND, IDOK, 0);
                         return true;
                     }});
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ("callback", shownNote);
    EXPECT_EQ("3", shownScore);
    EXPECT_EQ(m_mdi.m_hFrame, hOwner);
    EXPECT_STREQ("escalate", dlg.m_strNote);
    EXPECT_EQ(9, dlg.m_nScore);
    EXPECT_TRUE(::IsWindowEnabled(m_mdi.m_hFrame)); // the owner is given back
}

TEST_F(MdiAppTest, ModelessNoteDialogExchangesDataBothWays) {
    CNoteDialog dlg(m_pFrame);
    dlg.m_strNote = "billing";
    dlg.m_nScore = 7;
    ASSERT_TRUE(dlg.Create(IDD_NOTE, m_pFrame));
    HWND hDlg = dlg.m_hWnd;
    EXPECT_EQ("billing", ItemText(hDlg, IDC_NOTE_TEXT));
    EXPECT_EQ("7", ItemText(hDlg, IDC_NOTE_SCORE));
    EXPECT_EQ(m_mdi.m_hFrame, ::GetWindow(hDlg, GW_OWNER));
    EXPECT_TRUE(::IsWindowEnabled(m_mdi.m_hFrame)); // modeless: the frame stays usable

    // The frame's members change while the dialog is open: loading shows them.
    dlg.m_strNote = "billing, second call";
    ASSERT_TRUE(dlg.UpdateData(FALSE));
    EXPECT_EQ("billing, second call", ItemText(hDlg, IDC_NOTE_TEXT));

    ::SetDlgItemTextA(hDlg, IDC_NOTE_TEXT, "resolved");
    ::SetDlgItemTextA(hDlg, IDC_NOTE_SCORE, "10");
    // The template is not visible by itself: shown, OK's hiding can be seen.
    ::ShowWindow(hDlg, SW_SHOW);
    ::PostMessageA(hDlg, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(PumpUntil([&]() { return !::IsWindowVisible(hDlg); }));
    EXPECT_STREQ("resolved", dlg.m_strNote);
    EXPECT_EQ(10, dlg.m_nScore);
    dlg.DestroyWindow();
}

TEST_F(MdiAppTest, WizardKeepsPageDataThroughNextBackAndFinish) {
    CPropertySheet sheet("New Review", m_pFrame);
    CWizardPage caller(IDD_WIZ_CALLER), score(IDD_WIZ_SCORE);
    score.m_dwButtons = PSWIZB_BACK | PSWIZB_FINISH;
    caller.m_strValue = "555-0100";
    sheet.AddPage(&caller);
    sheet.AddPage(&score);
    sheet.SetWizardMode();
    std::string firstShown, callerAfterBack, scoreAfterNext;
    CUiScript script([&]() { ::PostMessageA(sheet.m_hWnd, PSM_PRESSBUTTON, PSBTN_CANCEL, 0); },
                     {[&]() {
                          if (sheet.m_hWnd == nullptr || sheet.GetActiveIndex() != 0 ||
                              caller.m_hWnd == nullptr)
                              return false;
                          firstShown = ItemText(caller.m_hWnd, IDC_WIZ_VALUE);
                          ::SetDlgItemTextA(caller.m_hWnd, IDC_WIZ_VALUE, "555-0199");
                          sheet.PressButton(PSBTN_NEXT);
                          return true;
                      },
                      [&]() {
                          if (sheet.GetActiveIndex() != 1 || score.m_hWnd == nullptr)
                              return false;
                          ::SetDlgItemTextA(score.m_hWnd, IDC_WIZ_VALUE, "8");
                          sheet.PressButton(PSBTN_BACK);
                          return true;
                      },
                      [&]() {
                          if (sheet.GetActiveIndex() != 0)
                              return false;
                          callerAfterBack = ItemText(caller.m_hWnd, IDC_WIZ_VALUE);
                          sheet.PressButton(PSBTN_NEXT);
                          return true;
                      },
                      [&]() {
                          if (sheet.GetActiveIndex() != 1)
                              return false;
                          scoreAfterNext = ItemText(score.m_hWnd, IDC_WIZ_VALUE);
                          sheet.PressButton(PSBTN_FINISH);
                          return true;
                      }});
    EXPECT_EQ(ID_WIZFINISH, sheet.DoModal());
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ("555-0100", firstShown);
    EXPECT_EQ("555-0199", callerAfterBack);
    EXPECT_EQ("8", scoreAfterNext);
    EXPECT_STREQ("555-0199", caller.m_strValue);
    EXPECT_STREQ("8", score.m_strValue);
    EXPECT_EQ(nullptr, sheet.m_hWnd);
}

TEST_F(MdiAppTest, VirtualCallListAsksOnlyForVisibleRowsAndScrollsToTheEnd) {
    CCallFrame* pChild = FileNew();
    ASSERT_NE(nullptr, pChild);
    pChild->MDIMaximize();
    CCallListView* pView = pChild->ListView();
    ASSERT_NE(nullptr, pView);
    CListCtrl& list = pView->m_list;
    ASSERT_EQ(kCallCount, list.GetItemCount());
    const int nPerPage = list.GetCountPerPage();
    ASSERT_GT(nPerPage, 0);
    ASSERT_LT(nPerPage, 100);

    auto paint = [&]() {
        pView->m_rowsAsked.clear();
        list.Invalidate();
        ::RedrawWindow(m_mdi.m_hFrame, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    };
    paint();
    ASSERT_FALSE(pView->m_rowsAsked.empty());
    EXPECT_GE(*pView->m_rowsAsked.begin(), 0);
    EXPECT_LE(*pView->m_rowsAsked.rbegin(), nPerPage);

    ASSERT_TRUE(list.EnsureVisible(kCallCount - 1, FALSE));
    paint();
    const int nTop = list.GetTopIndex();
    EXPECT_GE(nTop, kCallCount - nPerPage - 1);
    ASSERT_FALSE(pView->m_rowsAsked.empty());
    EXPECT_GE(*pView->m_rowsAsked.begin(), nTop);
    EXPECT_EQ(kCallCount - 1, *pView->m_rowsAsked.rbegin());
    EXPECT_STREQ("call 99999/1", list.GetItemText(kCallCount - 1, 1));
}

TEST_F(MdiAppTest, ScreenshotShowsTheViewColoursWhereTheViewPaintsThem) {
    CCallFrame* pChild = FileNew();
    ASSERT_NE(nullptr, pChild);
    pChild->MoveWindow(0, 0, 600, 400);
    CView* pWave = pChild->GetActiveView();
    ASSERT_NE(nullptr, pWave);
    ::RedrawWindow(m_mdi.m_hFrame, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    m_pFrame->UpdateWindow();

    CTempFolder folder;
    const std::string path = folder.File("frame.bmp");
    ASSERT_TRUE(SaveWindowAsBmp(m_mdi.m_hFrame, path));
    char szDir[MAX_PATH] = "";
    std::string shotDir;
    if (::GetEnvironmentVariableA("ZM_SCREENSHOT_DIR", szDir, sizeof szDir) > 0 &&
        WindowsPathFromUnix(szDir, shotDir)) {
        EXPECT_TRUE(SaveWindowAsBmp(m_mdi.m_hFrame, shotDir + "\\MdiApp_frame.bmp"));
    }

    CBmpFile shot(path);
    ASSERT_TRUE(shot.Valid());
    CRect window;
    ::GetWindowRect(m_mdi.m_hFrame, &window);
    ASSERT_EQ(window.Width(), shot.Width());
    ASSERT_EQ(window.Height(), shot.Height());
    // A point of the view's client area in the picture.
    auto viewPixel = [&](int x, int y) {
        POINT pt = {x, y};
        pWave->ClientToScreen(&pt);
        return shot.Pixel(pt.x - window.left, pt.y - window.top);
    };
    struct Painted {
        CRect rect;
        COLORREF colour;
    };
    for (const Painted& p : {Painted{kRedRect, kRed}, Painted{kBlueRect, kBlue}}) {
        SCOPED_TRACE(p.colour);
        EXPECT_EQ(p.colour, viewPixel(p.rect.left, p.rect.top));
        EXPECT_EQ(p.colour, viewPixel(p.rect.right - 1, p.rect.bottom - 1));
        EXPECT_EQ(p.colour, viewPixel(p.rect.CenterPoint().x, p.rect.CenterPoint().y));
        EXPECT_NE(p.colour, viewPixel(p.rect.right, p.rect.bottom)); // just outside
    }
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), viewPixel(kRedRect.left, kBlueRect.bottom + 10));

    // The menu bar lies between the frame's top edge and its client area, at
    // its right end past the last title.
    POINT clientOrigin = {0, 0};
    ::ClientToScreen(m_mdi.m_hFrame, &clientOrigin);
    CRect frameClient;
    ::GetClientRect(m_mdi.m_hFrame, &frameClient);
    const int menuY = clientOrigin.y - window.top - ::GetSystemMetrics(SM_CYMENU) / 2;
    const int menuX = clientOrigin.x - window.left + frameClient.right - 10;
    COLORREF menu = shot.Pixel(menuX, menuY);
    EXPECT_NE(kRed, menu);
    EXPECT_NE(kBlue, menu);
    EXPECT_TRUE(menu == ::GetSysColor(COLOR_MENU) || menu == ::GetSysColor(COLOR_MENUBAR))
        << std::hex << menu;
}
