// Tests of the document, its template and views: new and opened documents, two
// views of one document, the save prompt, saving with and without a path,
// failed loads and saves, closing, and the form view.
#include "DocTemplate.h"
#include "Document.h"
#include "MDIFrameWnd.h"
#include "View.h"
#include "WinApp.h"

#include "Archive.h"
#include "Exception.h"
#include "File.h"

#include "native/gtest.h"

#include "tests/support/AnsweringApp.h"
#include "tests/support/MdiScaffold.h"
#include "tests/support/TempFolder.h"

#include <deque>
#include <string>
#include <vector>

namespace {

const UINT kMainResource = 510;
const UINT kDocResource = 500;
const UINT kFormTemplate = 400;
const int kFormEdit = 401;
const UINT kMissingTemplate = 499;

// Message boxes are answered from a queue (IDNO when it is empty) and recorded.
CAnsweringApp theApp;

int g_docsAlive = 0;
bool g_failStore = false; // the next store throws half-way

// The document's data is one text, stored as a CString.
class CTestDoc : public CDocument {
    DECLARE_DYNCREATE(CTestDoc)
public:
    CTestDoc() { ++g_docsAlive; }
    ~CTestDoc() override { --g_docsAlive; }
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar << m_text;
            if (g_failStore)
                AfxThrowArchiveException(CArchiveException::genericException);
        } else {
            ar >> m_text;
        }
    }
    void DeleteContents() override { m_text.Empty(); }
    CString m_text;
};

IMPLEMENT_DYNCREATE(CTestDoc, CDocument)

std::vector<std::string> g_viewLog;

class CTestView : public CView {
    DECLARE_DYNCREATE(CTestView)
public:
    void OnDraw(CDC*) override {}
    void OnInitialUpdate() override {
        ++m_nInitialUpdates;
        CView::OnInitialUpdate();
    }
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override {
        if (pSender != nullptr)
            g_viewLog.push_back(m_name + " hint " + std::to_string(lHint));
        CView::OnUpdate(pSender, lHint, pHint);
    }
    int m_nInitialUpdates = 0;
    std::string m_name;
};

IMPLEMENT_DYNCREATE(CTestView, CView)

class CChildFrame : public CMDIChildWnd {
    DECLARE_DYNCREATE(CChildFrame)
};

IMPLEMENT_DYNCREATE(CChildFrame, CMDIChildWnd)

// A form view on template 400 that counts its data exchanges.
class CTestForm : public CFormView {
    DECLARE_DYNCREATE(CTestForm)
public:
    CTestForm() : CFormView(kFormTemplate) {}
    void DoDataExchange(CDataExchange*) override { ++m_nExchanges; }
    int m_nExchanges = 0;
};

IMPLEMENT_DYNCREATE(CTestForm, CFormView)

// A form whose template the resources do not have.
class CMissingForm : public CFormView {
    DECLARE_DYNCREATE(CMissingForm)
public:
    CMissingForm() : CFormView(kMissingTemplate) {}
};

IMPLEMENT_DYNCREATE(CMissingForm, CFormView)

// Answers the save-as prompt with a chosen path and records what it was
// offered.
class CTestDocManager : public CDocManager {
public:
    BOOL DoPromptFileName(CString& fileName, LPCTSTR, DWORD, BOOL bOpen, CDocTemplate*) override {
        m_offered.push_back(fileName.GetString());
        m_bOpen = bOpen;
        if (m_answer.empty())
            return FALSE;
        fileName = m_answer.c_str();
        return TRUE;
    }
    std::vector<std::string> m_offered;
    std::string m_answer;
    BOOL m_bOpen = FALSE;
};

std::string WindowText(CWnd* pWnd) {
    CString text;
    pWnd->GetWindowText(text);
    return text.GetString();
}

CView* FirstView(CDocument* pDoc) {
    POSITION pos = pDoc->GetFirstViewPosition();
    return pos != nullptr ? pDoc->GetNextView(pos) : nullptr;
}

int CountFiles(const std::string& folder) {
    WIN32_FIND_DATAA data;
    HANDLE hFind = ::FindFirstFileA((folder + "*").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return 0;
    int count = 0;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            ++count;
    } while (::FindNextFileA(hFind, &data));
    ::FindClose(hFind);
    return count;
}

class DocViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_viewLog.clear();
        g_failStore = false;
        theApp.m_answers.clear();
        theApp.m_prompts.clear();
        m_pDocManager = new CTestDocManager;
        CMDIFrameWnd* pMainFrame = new CMDIFrameWnd;
        ASSERT_TRUE(m_mdi.SetUp(m_pDocManager, kDocResource, RUNTIME_CLASS(CTestDoc),
                                RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(CTestView), pMainFrame,
                                kMainResource));
    }
    void TearDown() override {
        m_mdi.TearDown();
        EXPECT_EQ(0, g_docsAlive);
    }

    int DocCount() const { return m_pDocManager->GetOpenDocumentCount(); }
    // A saved document with the text, on disk as name.
    std::string SaveFile(const char* name, const char* text) {
        std::string path = m_folder.File(name);
        CTestDoc doc;
        doc.m_bAutoDelete = FALSE;
        doc.m_text = text;
        EXPECT_TRUE(doc.OnSaveDocument(path.c_str()));
        return path;
    }
    std::string Load(const std::string& path) {
        CTestDoc doc;
        doc.m_bAutoDelete = FALSE;
        EXPECT_TRUE(doc.OnOpenDocument(path.c_str()));
        return doc.m_text.GetString();
    }

    CTempFolder m_folder;
    CMdiScaffold m_mdi;
    CTestDocManager* m_pDocManager = nullptr;
};

} // namespace

TEST_F(DocViewTest, TemplateReadsItsDocumentStrings) {
    struct Case {
        CDocTemplate::DocStringIndex index;
        const char* expected; // null: missing
    };
    const Case cases[] = {
        {CDocTemplate::windowTitle, nullptr},
        {CDocTemplate::docName, "Sheet"},
        {CDocTemplate::fileNewName, "Sheet"},
        {CDocTemplate::filterName, "Test Files (*.tst)"},
        {CDocTemplate::filterExt, ".tst"},
        {CDocTemplate::regFileTypeId, "Test.Document"},
        {CDocTemplate::regFileTypeName, "Test Document"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        CString text("stale");
        EXPECT_EQ(c.expected != nullptr, m_mdi.m_pTemplate->GetDocString(text, c.index) != FALSE);
        EXPECT_STREQ(c.expected != nullptr ? c.expected : "", text);
    }
    EXPECT_NE(nullptr, m_mdi.m_pTemplate->m_hMenuShared);
}

TEST_F(DocViewTest, FileDialogFilterListsTheTemplatesThenAllFiles) {
    auto* pNoFilter = new CMultiDocTemplate(kMainResource, RUNTIME_CLASS(CTestDoc),
                                            RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(CTestView));
    m_pDocManager->AddDocTemplate(pNoFilter);
    const std::string tst("Test Files (*.tst)\0*.tst\0", 25);
    const std::string all("All Files (*.*)\0*.*\0", 20);
    CString defExt;
    EXPECT_EQ(tst + all, m_pDocManager->GetFileFilter(m_mdi.m_pTemplate, &defExt));
    EXPECT_STREQ("tst", defExt);
    EXPECT_EQ(all, m_pDocManager->GetFileFilter(pNoFilter, &defExt));
    EXPECT_STREQ("", defExt);
    EXPECT_EQ(tst + all, m_pDocManager->GetFileFilter(nullptr, nullptr));
}

TEST_F(DocViewTest, NewDocumentsGetAFrameAViewAndNumberedTitles) {
    CDocument* pFirst = m_mdi.m_pTemplate->OpenDocumentFile(nullptr);
    CDocument* pSecond = m_mdi.m_pTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(nullptr, pFirst);
    ASSERT_NE(nullptr, pSecond);
    EXPECT_STREQ("Sheet1", pFirst->GetTitle());
    EXPECT_STREQ("Sheet2", pSecond->GetTitle());
    EXPECT_FALSE(pFirst->IsModified());
    EXPECT_EQ(m_mdi.m_pTemplate, pFirst->GetDocTemplate());

    POSITION pos = m_mdi.m_pTemplate->GetFirstDocPosition();
    EXPECT_EQ(pFirst, m_mdi.m_pTemplate->GetNextDoc(pos));
    EXPECT_EQ(pSecond, m_mdi.m_pTemplate->GetNextDoc(pos));
    EXPECT_EQ(nullptr, pos);

    auto* pView = static_cast<CTestView*>(FirstView(pFirst));
    ASSERT_NE(nullptr, pView);
    EXPECT_EQ(1, pView->m_nInitialUpdates);
    EXPECT_EQ(pFirst, pView->GetDocument());
    CFrameWnd* pChild = pView->GetParentFrame();
    ASSERT_NE(nullptr, pChild);
    EXPECT_EQ(pView, pChild->GetActiveView());
    EXPECT_EQ("Sheet1", WindowText(pChild));
}

TEST_F(DocViewTest, TwoViewsOfOneDocumentShareUpdatesAndNumberTheirFrames) {
    CDocument* pDoc = m_mdi.m_pTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(nullptr, pDoc);
    auto* pFirst = static_cast<CTestView*>(FirstView(pDoc));
    CFrameWnd* pSecondFrame = m_mdi.m_pTemplate->CreateNewFrame(pDoc, nullptr);
    ASSERT_NE(nullptr, pSecondFrame);
    m_mdi.m_pTemplate->InitialUpdateFrame(pSecondFrame, pDoc);
    auto* pSecond = static_cast<CTestView*>(pSecondFrame->GetActiveView());
    ASSERT_NE(nullptr, pSecond);
    ASSERT_NE(pFirst, pSecond);
    pFirst->m_name = "first";
    pSecond->m_name = "second";
    EXPECT_EQ(2, pDoc->GetViewCount());
    EXPECT_EQ("Sheet1:1", WindowText(pFirst->GetParentFrame()));
    EXPECT_EQ("Sheet1:2", WindowText(pSecondFrame));

    pDoc->UpdateAllViews(pFirst, 7);
    EXPECT_EQ(std::vector<std::string>{"second hint 7"}, g_viewLog);

    // Closing one of two frames asks nothing, even when modified.
    pDoc->SetModifiedFlag(TRUE);
    pSecondFrame->SendMessage(WM_CLOSE);
    EXPECT_TRUE(theApp.m_prompts.empty());
    EXPECT_EQ(1, pDoc->GetViewCount());
    EXPECT_EQ("Sheet1", WindowText(pFirst->GetParentFrame()));

    // The last one asks; No closes the document.
    theApp.m_answers = {IDNO};
    pFirst->GetParentFrame()->SendMessage(WM_CLOSE);
    EXPECT_EQ(1u, theApp.m_prompts.size());
    EXPECT_EQ(0, DocCount());
    EXPECT_EQ(0, g_docsAlive);
}

TEST_F(DocViewTest, SaveModifiedFollowsTheAnswer) {
    struct Case {
        int answer;
        BOOL expected;
        bool bWritten;
    };
    const Case cases[] = {
        {IDCANCEL, FALSE, false},
        {IDNO, TRUE, false},
        {IDYES, TRUE, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        std::string path = SaveFile("answer.tst", "old");
        auto* pDoc = static_cast<CTestDoc*>(m_pDocManager->OpenDocumentFile(path.c_str()));
        ASSERT_NE(nullptr, pDoc);
        pDoc->m_text = "new";
        pDoc->SetModifiedFlag();
        theApp.m_prompts.clear();
        theApp.m_answers = {c.answer};

        EXPECT_EQ(c.expected, pDoc->SaveModified());
        ASSERT_EQ(1u, theApp.m_prompts.size());
        EXPECT_EQ("Save changes to " + std::string(pDoc->GetPathName()) + "?", theApp.m_prompts[0]);
        EXPECT_EQ(c.bWritten ? "new" : "old", Load(path));
        EXPECT_EQ(!c.bWritten, pDoc->IsModified() != FALSE);
        pDoc->OnCloseDocument();
    }
    // An unchanged document is not asked about.
    CDocument* pDoc = m_mdi.m_pTemplate->OpenDocumentFile(nullptr);
    theApp.m_prompts.clear();
    EXPECT_TRUE(pDoc->SaveModified());
    EXPECT_TRUE(theApp.m_prompts.empty());
}

TEST_F(DocViewTest, SavingWithoutAPathAsksForOne) {
    auto* pDoc = static_cast<CTestDoc*>(m_mdi.m_pTemplate->OpenDocumentFile(nullptr));
    ASSERT_NE(nullptr, pDoc);
    pDoc->m_text = "content";
    pDoc->SetModifiedFlag();

    // Cancelled: nothing changes.
    EXPECT_FALSE(pDoc->DoFileSave());
    ASSERT_EQ(1u, m_pDocManager->m_offered.size());
    EXPECT_EQ("Sheet1.tst", m_pDocManager->m_offered[0]);
    EXPECT_FALSE(m_pDocManager->m_bOpen);
    EXPECT_TRUE(pDoc->IsModified());
    EXPECT_STREQ("", pDoc->GetPathName());

    m_pDocManager->m_answer = m_folder.File("chosen.tst");
    EXPECT_TRUE(pDoc->DoFileSave());
    EXPECT_EQ("content", Load(m_folder.File("chosen.tst")));
    EXPECT_FALSE(pDoc->IsModified());
    EXPECT_STREQ("chosen.tst", pDoc->GetTitle());
    EXPECT_EQ(0, pDoc->GetPathName().CompareNoCase(m_folder.File("chosen.tst").c_str()));

    // With a path, saving asks no more.
    m_pDocManager->m_offered.clear();
    pDoc->m_text = "again";
    EXPECT_TRUE(pDoc->DoFileSave());
    EXPECT_TRUE(m_pDocManager->m_offered.empty());
    EXPECT_EQ("again", Load(m_folder.File("chosen.tst")));
}

TEST_F(DocViewTest, FailedSaveKeepsTheOldFileAndTheModifiedFlag) {
    std::string path = SaveFile("keep.tst", "old");
    auto* pDoc = static_cast<CTestDoc*>(m_pDocManager->OpenDocumentFile(path.c_str()));
    ASSERT_NE(nullptr, pDoc);
    pDoc->m_text = "new";
    pDoc->SetModifiedFlag();
    g_failStore = true;
    theApp.m_prompts.clear();

    EXPECT_FALSE(pDoc->DoFileSave());
    EXPECT_EQ(1u, theApp.m_prompts.size()); // the failure is told once
    EXPECT_TRUE(pDoc->IsModified());
    g_failStore = false;
    EXPECT_EQ("old", Load(path));
    EXPECT_EQ(1, CountFiles(m_folder.Path())); // no half-written file is left
}

TEST_F(DocViewTest, OpeningAnOpenPathActivatesItsDocument) {
    theApp.LoadStdProfileSettings(4);
    std::string path = SaveFile("twice.tst", "text");
    auto* pDoc = static_cast<CTestDoc*>(m_pDocManager->OpenDocumentFile(path.c_str()));
    ASSERT_NE(nullptr, pDoc);
    EXPECT_EQ("text", std::string(pDoc->m_text));
    EXPECT_FALSE(pDoc->IsModified());
    EXPECT_STREQ("twice.tst", pDoc->GetTitle());
    EXPECT_EQ(0, (*theApp.m_pRecentFileList)[0].CompareNoCase(path.c_str()));

    m_mdi.m_pTemplate->OpenDocumentFile(nullptr); // another document becomes active
    EXPECT_EQ(pDoc, m_pDocManager->OpenDocumentFile(path.c_str()));
    EXPECT_EQ(2, DocCount());
    EXPECT_EQ(FirstView(pDoc)->GetParentFrame(), m_mdi.m_pFrame->MDIGetActive());
}

TEST_F(DocViewTest, UnreadableFilesOpenNothing) {
    std::string garbage = m_folder.File("garbage.tst");
    {
        CFile file(garbage.c_str(), CFile::modeCreate | CFile::modeWrite);
        file.Write("\xFF\xFF\xFF\xFF\x01", 5); // a string length far past the end
    }
    const std::string paths[] = {m_folder.File("missing.tst"), garbage};
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        theApp.m_prompts.clear();
        EXPECT_EQ(nullptr, m_pDocManager->OpenDocumentFile(path.c_str()));
        EXPECT_EQ(1u, theApp.m_prompts.size());
        EXPECT_EQ(0, DocCount());
        EXPECT_EQ(0, g_docsAlive);
        EXPECT_EQ(nullptr, m_mdi.m_pFrame->MDIGetActive());
    }
}

TEST_F(DocViewTest, ClosingTheMainFrameAsksForEveryModifiedDocument) {
    CDocument* pFirst = m_mdi.m_pTemplate->OpenDocumentFile(nullptr);
    CDocument* pSecond = m_mdi.m_pTemplate->OpenDocumentFile(nullptr);
    pFirst->SetModifiedFlag();
    pSecond->SetModifiedFlag();

    // Cancel on one (they are asked in the order they were opened): nothing
    // closes.
    theApp.m_answers = {IDNO, IDCANCEL};
    m_mdi.m_pFrame->SendMessage(WM_CLOSE);
    EXPECT_TRUE(::IsWindow(m_mdi.m_pFrame->m_hWnd));
    EXPECT_EQ(2, DocCount());

    theApp.m_prompts.clear();
    theApp.m_answers = {IDNO, IDNO};
    HWND hMain = m_mdi.m_pFrame->m_hWnd;
    m_mdi.m_pFrame->SendMessage(WM_CLOSE);
    EXPECT_EQ(2u, theApp.m_prompts.size());
    EXPECT_FALSE(::IsWindow(hMain));
    EXPECT_EQ(0, DocCount());
    MSG msg;
    ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT,
                   PM_REMOVE); // the main window's end
}

TEST_F(DocViewTest, FormViewIsMadeFromItsTemplate) {
    auto* pTemplate = new CMultiDocTemplate(kDocResource, RUNTIME_CLASS(CTestDoc),
                                            RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(CTestForm));
    m_pDocManager->AddDocTemplate(pTemplate);
    CDocument* pDoc = pTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(nullptr, pDoc);
    auto* pForm = dynamic_cast<CTestForm*>(FirstView(pDoc));
    ASSERT_NE(nullptr, pForm);
    EXPECT_EQ(AFX_IDW_PANE_FIRST, pForm->GetDlgCtrlID());
    EXPECT_NE(nullptr, ::GetDlgItem(pForm->m_hWnd, kFormEdit));
    EXPECT_EQ(1, pForm->m_nExchanges); // the initial update fills the controls
    EXPECT_EQ(0u, pForm->GetStyle() & (WS_POPUP | WS_CAPTION));
    CSize size = pForm->GetTotalSize();
    EXPECT_GT(size.cx, 0);
    EXPECT_GT(size.cy, 0);

    // Shrink only: a larger frame comes down to the form, a smaller one stays.
    CFrameWnd* pFrame = pForm->GetParentFrame();
    pFrame->ShowWindow(SW_RESTORE);
    ::SetWindowPos(pFrame->m_hWnd, nullptr, 0, 0, 600, 500, SWP_NOMOVE | SWP_NOZORDER);
    pForm->ResizeParentToFit(TRUE);
    CRect rect;
    pForm->GetClientRect(&rect);
    EXPECT_LE(rect.Width(), size.cx);
    EXPECT_LE(rect.Height(), size.cy);
    EXPECT_GE(rect.Width(), size.cx - 4);
    EXPECT_GE(rect.Height(), size.cy - 4);
    ::SetWindowPos(pFrame->m_hWnd, nullptr, 0, 0, 100, 80, SWP_NOMOVE | SWP_NOZORDER);
    CRect before;
    pFrame->GetWindowRect(&before);
    pForm->ResizeParentToFit(TRUE);
    CRect after;
    pFrame->GetWindowRect(&after);
    EXPECT_EQ(before, after);
}

TEST_F(DocViewTest, SaveAndCloseCommandsReachTheActiveDocument) {
    std::string path = SaveFile("command.tst", "old");
    auto* pDoc = static_cast<CTestDoc*>(m_pDocManager->OpenDocumentFile(path.c_str()));
    ASSERT_NE(nullptr, pDoc);
    pDoc->m_text = "new";
    pDoc->SetModifiedFlag();
    m_mdi.m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_FILE_SAVE, 0), 0);
    EXPECT_EQ("new", Load(path));
    EXPECT_FALSE(pDoc->IsModified());

    // Close asks about a modified document; Cancel keeps it open.
    pDoc->SetModifiedFlag();
    theApp.m_answers = {IDCANCEL};
    m_mdi.m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_FILE_CLOSE, 0), 0);
    EXPECT_EQ(1, DocCount());
    theApp.m_answers = {IDNO};
    m_mdi.m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_FILE_CLOSE, 0), 0);
    EXPECT_EQ(0, DocCount());
    EXPECT_EQ(nullptr, m_mdi.m_pFrame->MDIGetActive());
}

TEST_F(DocViewTest, ChildFrameHostsAFormViewWithoutADocument) {
    // A plain frame inside another window, as a control bar holds its form.
    CWnd host;
    ASSERT_TRUE(
        host.CreateEx(0, nullptr, "Host", WS_OVERLAPPEDWINDOW, 0, 0, 700, 300, nullptr, nullptr));
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CTestForm);
    auto* pFrame = static_cast<CFrameWnd*>(RUNTIME_CLASS(CFrameWnd)->CreateObject());
    ASSERT_NE(nullptr, pFrame);
    ASSERT_TRUE(pFrame->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                               CRect(0, 0, 650, 220), &host, nullptr, 0, &context));
    pFrame->InitialUpdateFrame(nullptr, TRUE);

    auto* pForm = dynamic_cast<CTestForm*>(pFrame->GetActiveView());
    ASSERT_NE(nullptr, pForm);
    EXPECT_EQ(nullptr, pForm->GetDocument());
    EXPECT_EQ(pFrame, pForm->GetParentFrame());
    EXPECT_EQ(1, pForm->m_nExchanges);
    CRect frameClient, formRect;
    pFrame->GetClientRect(&frameClient);
    pForm->GetWindowRect(&formRect);
    EXPECT_EQ(frameClient.Size(), formRect.Size());
    host.DestroyWindow(); // the frame and its form delete themselves
}

TEST_F(DocViewTest, TemplateWithUnusableClassesOpensNothing) {
    struct Case {
        CRuntimeClass* pDocClass;
        CRuntimeClass* pFrameClass;
        CRuntimeClass* pViewClass;
    };
    const Case cases[] = {
        {RUNTIME_CLASS(CTestView), RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(CTestView)},
        {RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CTestView)},
        {RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(CTestDoc)},
        {RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(CView)},
        {RUNTIME_CLASS(CTestDoc), RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(CMissingForm)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.pDocClass->m_lpszClassName) + "/" +
                     c.pFrameClass->m_lpszClassName + "/" + c.pViewClass->m_lpszClassName);
        auto* pTemplate =
            new CMultiDocTemplate(kDocResource, c.pDocClass, c.pFrameClass, c.pViewClass);
        m_pDocManager->AddDocTemplate(pTemplate);
        theApp.m_prompts.clear();
        EXPECT_EQ(nullptr, pTemplate->OpenDocumentFile(nullptr));
        EXPECT_EQ(1u, theApp.m_prompts.size());
        EXPECT_EQ(nullptr, pTemplate->GetFirstDocPosition());
        EXPECT_EQ(0, g_docsAlive);
        EXPECT_EQ(nullptr, m_mdi.m_pFrame->MDIGetActive());
    }
}
