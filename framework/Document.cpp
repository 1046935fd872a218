// Document.cpp: CDocument.
#include "Document.h"

#include "Archive.h"
#include "DocTemplate.h"
#include "Exception.h"
#include "File.h"
#include "FrameWnd.h"
#include "View.h"
#include "WinApp.h"

#include <algorithm>

namespace {

const char kUntitled[] = "Untitled";
const char kAskToSave[] = "Save changes to %s?";
const char kFailedToOpen[] = "Failed to open document.";
const char kFailedToSave[] = "Failed to save document.";

// Views are handed out by position index + 1, so that 0 (null) ends the walk.
POSITION PositionOf(size_t index) {
    return reinterpret_cast<POSITION>(index + 1);
}
size_t IndexOf(POSITION pos) {
    return reinterpret_cast<size_t>(pos) - 1;
}

} // namespace

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

// clang-format off
BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
    ON_COMMAND(ID_FILE_CLOSE, &CDocument::OnFileClose)
    ON_COMMAND(ID_FILE_SAVE, &CDocument::OnFileSave)
    ON_COMMAND(ID_FILE_SAVE_AS, &CDocument::OnFileSaveAs)
END_MESSAGE_MAP()
// clang-format on

CDocument::CDocument() : m_bAutoDelete(TRUE), m_pDocTemplate(nullptr), m_bModified(FALSE) {}

CDocument::~CDocument() {
    // A view outliving its document is a programming error; detach them so they
    // do not reach back into freed memory.
    ASSERT(m_viewList.empty());
    for (CView* pView : m_viewList)
        pView->m_pDocument = nullptr;
    m_viewList.clear();
    if (m_pDocTemplate != nullptr)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCTSTR lpszTitle) {
    m_strTitle = lpszTitle != nullptr ? lpszTitle : "";
    UpdateFrameCounts();
}

void CDocument::SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU) {
    if (lpszPathName == nullptr || *lpszPathName == '\0') {
        m_strPathName.Empty();
        return;
    }
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(lpszPathName, MAX_PATH, full, nullptr);
    m_strPathName = (n > 0 && n < MAX_PATH) ? full : lpszPathName;

    // The title is the file name without its folder.
    int iSlash = std::max(m_strPathName.ReverseFind('\\'), m_strPathName.ReverseFind('/'));
    SetTitle(m_strPathName.Mid(iSlash + 1));

    if (bAddToMRU) {
        if (CWinApp* pApp = AfxGetApp())
            pApp->AddToRecentFileList(m_strPathName);
    }
}

void CDocument::AddView(CView* pView) {
    ASSERT(pView != nullptr && pView->m_pDocument == nullptr);
    if (pView == nullptr || pView->m_pDocument != nullptr)
        return;
    m_viewList.push_back(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView) {
    ASSERT(pView != nullptr && pView->m_pDocument == this);
    auto it = std::find(m_viewList.begin(), m_viewList.end(), pView);
    if (it == m_viewList.end())
        return;
    m_viewList.erase(it);
    pView->m_pDocument = nullptr;
    // May delete this document (the last view of an auto-deleting one).
    OnChangedViewList();
}

POSITION CDocument::GetFirstViewPosition() const {
    return m_viewList.empty() ? nullptr : PositionOf(0);
}

CView* CDocument::GetNextView(POSITION& rPosition) const {
    size_t index = IndexOf(rPosition);
    ASSERT(rPosition != nullptr && index < m_viewList.size());
    if (rPosition == nullptr || index >= m_viewList.size()) {
        rPosition = nullptr;
        return nullptr;
    }
    rPosition = index + 1 < m_viewList.size() ? PositionOf(index + 1) : nullptr;
    return m_viewList[index];
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
    // A copy: an OnUpdate that closes a view must not break the walk.
    std::vector<CView*> views = m_viewList;
    for (CView* pView : views) {
        if (pView != pSender &&
            std::find(m_viewList.begin(), m_viewList.end(), pView) != m_viewList.end())
            pView->OnUpdate(pSender, lHint, pHint);
    }
}

void CDocument::DeleteContents() {}

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCTSTR lpszPathName) {
    CFile file;
    CFileException openError;
    if (!file.Open(lpszPathName, CFile::modeRead | CFile::shareDenyWrite, &openError)) {
        ReportSaveLoadException(lpszPathName, &openError, FALSE, 0);
        return FALSE;
    }

    DeleteContents();
    SetModifiedFlag(TRUE); // half-loaded contents are not clean
    try {
        CArchive ar(&file, CArchive::load | CArchive::bNoFlushOnDelete);
        ar.m_pDocument = this;
        Serialize(ar);
        ar.Close();
        file.Close();
    } catch (CException* e) {
        file.Abort();
        DeleteContents();
        ReportSaveLoadException(lpszPathName, e, FALSE, 0);
        e->Delete();
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

// Writes to a new file beside the target and replaces the target only when the
// whole document went out, so a failed save leaves the old file as it was.
BOOL CDocument::OnSaveDocument(LPCTSTR lpszPathName) {
    CString target = lpszPathName;
    int iSlash = std::max(target.ReverseFind('\\'), target.ReverseFind('/'));
    CString folder = iSlash >= 0 ? target.Left(iSlash + 1) : CString(".");
    char temp[MAX_PATH];
    if (GetTempFileNameA(folder, "zmd", 0, temp) == 0) {
        CFileException e(CFileException::badPath, static_cast<LONG>(GetLastError()), target);
        ReportSaveLoadException(lpszPathName, &e, TRUE, 0);
        return FALSE;
    }

    CFile file;
    CFileException openError;
    if (!file.Open(temp, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive,
                   &openError)) {
        DeleteFileA(temp);
        ReportSaveLoadException(lpszPathName, &openError, TRUE, 0);
        return FALSE;
    }
    try {
        CArchive ar(&file, CArchive::store | CArchive::bNoFlushOnDelete);
        ar.m_pDocument = this;
        Serialize(ar);
        ar.Close();
        file.Close();
    } catch (CException* e) {
        file.Abort();
        DeleteFileA(temp);
        ReportSaveLoadException(lpszPathName, e, TRUE, 0);
        e->Delete();
        return FALSE;
    }
    if (!MoveFileExA(temp, target, MOVEFILE_REPLACE_EXISTING)) {
        CFileException e(CFileException::accessDenied, static_cast<LONG>(GetLastError()), target);
        DeleteFileA(temp);
        ReportSaveLoadException(lpszPathName, &e, TRUE, 0);
        return FALSE;
    }
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument() {
    // Keep the object alive while its frames go: each view's removal would
    // otherwise delete it half-way.
    BOOL bAutoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_viewList.empty()) {
        CView* pView = m_viewList.front();
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame != nullptr) {
            PreCloseFrame(pFrame);
            pFrame->DestroyWindow();
        } else {
            pView->DestroyWindow();
        }
        // A view whose window was already gone never reaches RemoveView.
        if (!m_viewList.empty() && m_viewList.front() == pView)
            RemoveView(pView);
    }
    m_bAutoDelete = bAutoDelete;
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

void CDocument::OnChangedViewList() {
    if (m_bAutoDelete && m_viewList.empty()) {
        OnCloseDocument();
        return;
    }
    UpdateFrameCounts();
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrame) {
    // Other frames still show the document: closing this one loses nothing.
    for (CView* pView : m_viewList) {
        CFrameWnd* pOther = pView->GetParentFrame();
        if (pOther != nullptr && pOther != pFrame)
            return TRUE;
    }
    return SaveModified();
}

void CDocument::PreCloseFrame(CFrameWnd* /*pFrame*/) {}

BOOL CDocument::SaveModified() {
    if (!IsModified())
        return TRUE;
    CString name = m_strPathName;
    if (name.IsEmpty())
        name = m_strTitle;
    if (name.IsEmpty())
        name = kUntitled;
    CString prompt;
    prompt.Format(kAskToSave, name.GetString());
    switch (AfxMessageBox(prompt, MB_YESNOCANCEL | MB_ICONEXCLAMATION, AFX_IDP_ASK_TO_SAVE)) {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoFileSave();
    case IDNO:
        return TRUE;
    default:
        // A closed or failed box is taken as Cancel: nothing is lost.
        return FALSE;
    }
}

BOOL CDocument::DoFileSave() {
    DWORD dwAttrib =
        m_strPathName.IsEmpty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(m_strPathName);
    // No path yet, a vanished file or a read-only one: ask for a name.
    if (dwAttrib == INVALID_FILE_ATTRIBUTES || (dwAttrib & FILE_ATTRIBUTE_READONLY) != 0)
        return DoSave(nullptr);
    return DoSave(m_strPathName);
}

BOOL CDocument::DoSave(LPCTSTR lpszPathName, BOOL bReplace) {
    CString newName = lpszPathName != nullptr ? lpszPathName : "";
    if (newName.IsEmpty()) {
        newName = m_strPathName;
        if (bReplace && newName.IsEmpty()) {
            // Offer the title, without characters a file name cannot hold, plus
            // the template's extension.
            newName = m_strTitle;
            int iBad = newName.FindOneOf(" #%;/\\*?\"<>|:");
            if (iBad >= 0)
                newName.Truncate(iBad);
            CString ext;
            if (m_pDocTemplate != nullptr &&
                m_pDocTemplate->GetDocString(ext, CDocTemplate::filterExt) && !ext.IsEmpty()) {
                int iSemi = ext.Find(';');
                newName += iSemi >= 0 ? ext.Left(iSemi) : ext;
            }
        }
        if (!AfxGetDocManager()->DoPromptFileName(newName, bReplace ? "Save As" : "Save Copy As",
                                                  OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, FALSE,
                                                  m_pDocTemplate))
            return FALSE;
    }

    CWaitCursor wait;
    if (!OnSaveDocument(newName))
        return FALSE;
    if (bReplace)
        SetPathName(newName);
    return TRUE;
}

void CDocument::ReportSaveLoadException(LPCTSTR lpszPathName, CException* e, BOOL bSaving,
                                        UINT nIDPDefault) {
    // A user exception means the user has been told already.
    if (e != nullptr && e->IsKindOf(RUNTIME_CLASS(CUserException)))
        return;
    CString text;
    char message[512];
    if (e != nullptr && e->GetErrorMessage(message, sizeof message))
        text = message;
    else
        text = bSaving ? kFailedToSave : kFailedToOpen;
    TRACE("CDocument: %s %s failed: %s\n", bSaving ? "saving" : "opening",
          lpszPathName != nullptr ? lpszPathName : "", text.GetString());
    AfxMessageBox(text, MB_ICONEXCLAMATION, nIDPDefault);
}

void CDocument::UpdateFrameCounts() {
    std::vector<CFrameWnd*> frames;
    for (CView* pView : m_viewList) {
        CFrameWnd* pFrame = pView->GetParentFrame();
        if (pFrame != nullptr && std::find(frames.begin(), frames.end(), pFrame) == frames.end())
            frames.push_back(pFrame);
    }
    // One frame carries the plain title; several are numbered in view order.
    int nWindow = frames.size() > 1 ? 1 : 0;
    for (CFrameWnd* pFrame : frames) {
        pFrame->m_nWindow = nWindow;
        if (nWindow != 0)
            ++nWindow;
        pFrame->OnUpdateFrameTitle(TRUE);
    }
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    return CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CDocument::OnFileClose() {
    if (!SaveModified())
        return;
    OnCloseDocument();
}

void CDocument::OnFileSave() {
    DoFileSave();
}

void CDocument::OnFileSaveAs() {
    DoSave(nullptr);
}
