// Tests of CChildFrame, the window of one recording list: made by the
// document template, it opens maximised in the MDI client with the
// document's title, and a second one opens maximised over the first.
#include "native/gtest.h"

#include "ChildFrm.h"

#include "tests/support/AnsweringApp.h"
#include "tests/support/Canvas.h"
#include "tests/support/MdiScaffold.h"
#include "tests/support/UiScript.h"

#include "framework/Document.h"
#include "framework/View.h"

#include <string>

namespace {

CAnsweringApp theApp;

const UINT kMainResource = 610;
const UINT kDocResource = 600;

class CListDoc : public CDocument {
    DECLARE_DYNCREATE(CListDoc)
};
IMPLEMENT_DYNCREATE(CListDoc, CDocument)

class CListView : public CView {
    DECLARE_DYNCREATE(CListView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(CListView, CView)

std::string WindowText(HWND hWnd) {
    char szText[256] = "";
    ::GetWindowTextA(hWnd, szText, sizeof szText);
    return szText;
}

class ChildFrmTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pFrame = new CMDIFrameWnd;
        ASSERT_TRUE(m_mdi.SetUp(new CDocManager, kDocResource, RUNTIME_CLASS(CListDoc),
                                RUNTIME_CLASS(CChildFrame), RUNTIME_CLASS(CListView), m_pFrame,
                                kMainResource, CSize(800, 600)));
    }
    void TearDown() override {
        m_mdi.TearDown();
        PumpPending();
    }

    // A new list and the child window it got.
    CChildFrame* OpenList() {
        CDocument* pDoc = m_mdi.m_pTemplate->OpenDocumentFile(nullptr);
        EXPECT_NE(pDoc, nullptr);
        if (pDoc == nullptr)
            return nullptr;
        POSITION pos = pDoc->GetFirstViewPosition();
        CView* pView = pDoc->GetNextView(pos);
        return pView != nullptr ? dynamic_cast<CChildFrame*>(pView->GetParentFrame()) : nullptr;
    }

    CMDIFrameWnd* m_pFrame = nullptr;
    CMdiScaffold m_mdi;
};

TEST_F(ChildFrmTest, ScreenEveryListOpensMaximised) {
    CChildFrame* pFirst = OpenList();
    ASSERT_NE(pFirst, nullptr);
    PumpPending();
    EXPECT_TRUE(pFirst->IsZoomed());
    const DWORD dwStyle = pFirst->GetStyle();
    EXPECT_EQ(dwStyle & WS_OVERLAPPEDWINDOW, static_cast<DWORD>(WS_OVERLAPPEDWINDOW));
    EXPECT_TRUE(dwStyle & WS_CHILD);
    EXPECT_TRUE(dwStyle & WS_VISIBLE);
    EXPECT_EQ(WindowText(pFirst->m_hWnd),
              static_cast<const char*>(pFirst->GetActiveDocument()->GetTitle()));

    CChildFrame* pSecond = OpenList();
    ASSERT_NE(pSecond, nullptr);
    ASSERT_NE(pSecond, pFirst);
    PumpPending();
    BOOL bMaximized = FALSE;
    EXPECT_EQ(m_pFrame->MDIGetActive(&bMaximized), pSecond);
    EXPECT_TRUE(bMaximized);
    EXPECT_TRUE(pSecond->IsZoomed());
    EXPECT_TRUE(::IsWindow(pFirst->m_hWnd));

    Settle();
    CRect rect;
    m_pFrame->GetWindowRect(&rect);
    EXPECT_TRUE(SaveScreenPng(rect, "ChildFrm.png"));
}

} // namespace
