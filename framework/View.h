// View.h: CView, the window that shows a document inside a frame, and
// CFormView, a view made from a dialog template.
//
// A view is made by its frame (CFrameWnd::CreateView) from the frame's creation
// context, attaches itself to the context's document at WM_CREATE and deletes
// itself when its window goes (PostNcDestroy), after leaving the document; the
// document may close then, when that was its last view.
//
// Not implemented: printing and print preview, scrolling views (CScrollView; a
// form view larger than its frame is cut, not scrolled), CListView.
#pragma once

#include "FrameWnd.h"
#include "Geometry.h"
#include "Wnd.h"

class CDC;
class CDocument;

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CDocument* GetDocument() const { return m_pDocument; }

    // The view's own maps, then its document's.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // Draws the document (WM_PAINT).
    virtual void OnDraw(CDC* pDC) = 0;
    virtual void OnPrepareDC(CDC* pDC);
    // Once, after the frame, document and view exist: OnUpdate(nullptr, 0,
    // nullptr).
    virtual void OnInitialUpdate();
    // The document changed; this base repaints the whole view.
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    // The frame made this view active (takes the focus when its frame is the
    // active one) or another view replaced it.
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    virtual void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd);

protected:
    CView();
    // Leaves the document (which may close it, see the file comment).
    ~CView() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Deletes the object: views are always made with new.
    void PostNcDestroy() override;

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    afx_msg LRESULT OnInitialUpdateMessage(WPARAM wParam, LPARAM lParam);

    // Attaches the view to pContext's document; WM_CREATE and CFormView::Create.
    void AttachToContext(CCreateContext* pContext);

    CDocument* m_pDocument; // not owned: the document that listed this view
    // Points at CreateView's flag while it creates the view: set when the object
    // deletes itself, so a failed creation is not deleted twice.
    bool* m_pbDeleted;

    friend class CDocument;
    friend class CFrameWnd;
    DECLARE_MESSAGE_MAP()
};

// A view whose window is a child dialog made from a template in the resource
// module. Keyboard navigation between its controls works as in a dialog.
class CFormView : public CView {
    DECLARE_DYNAMIC(CFormView)
public:
    // Creates the form from the template; the template's own style is made a
    // plain child (caption, frame and popup bits removed). FALSE when the
    // template cannot be found or the dialog not made.
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr) override;

    // Fills the controls from the members (UpdateData(FALSE)), then CView's.
    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;
    // Frame accelerators first, then the dialog keys (Tab, arrows, mnemonics).
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Makes the parent frame fit the template's size; with bShrinkOnly it only
    // ever gets smaller.
    void ResizeParentToFit(BOOL bShrinkOnly = TRUE);
    // The template's size in pixels, as created.
    CSize GetTotalSize() const { return m_sizeTemplate; }

protected:
    explicit CFormView(UINT nIDTemplate);

    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;

    afx_msg void OnSetFocus(CWnd* pOldWnd);

    LPCTSTR m_lpszTemplateName; // the template's integer resource id
    CSize m_sizeTemplate;
    HWND m_hWndFocus; // the control that had the focus when the view was last left

    DECLARE_MESSAGE_MAP()
};
