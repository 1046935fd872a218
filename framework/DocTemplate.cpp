// DocTemplate.cpp: CDocTemplate, CMultiDocTemplate and CDocManager.
#include "DocTemplate.h"

#include "AfxResource.h"
#include "Document.h"
#include "FrameWnd.h"
#include "View.h"
#include "WinApp.h"

#include <commdlg.h>

#include <algorithm>
#include <memory>
#include <string>

namespace {

const char kFailedToCreateDoc[] = "Failed to create empty document.";
const char kFailedToOpenDoc[] = "Failed to open document.";
const char kNoTemplate[] = "No document template can open this file.";
const char kAllFilter[] = "All Files (*.*)";

// Elements of a vector handed out by index + 1, so that 0 (null) ends a walk.
template <class T> POSITION FirstOf(const std::vector<T>& v) {
    return v.empty() ? nullptr : reinterpret_cast<POSITION>(size_t{1});
}
template <class T> T NextOf(const std::vector<T>& v, POSITION& rPos) {
    size_t index = reinterpret_cast<size_t>(rPos) - 1;
    ASSERT(rPos != nullptr && index < v.size());
    if (rPos == nullptr || index >= v.size()) {
        rPos = nullptr;
        return nullptr;
    }
    rPos = index + 1 < v.size() ? reinterpret_cast<POSITION>(index + 2) : nullptr;
    return v[index];
}

// The full form of a path, or the path itself when it has none.
CString FullPath(LPCTSTR lpszPath) {
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(lpszPath, MAX_PATH, full, nullptr);
    return (n > 0 && n < MAX_PATH) ? CString(full) : CString(lpszPath);
}

std::unique_ptr<CDocManager>& DocManagerSlot() {
    static std::unique_ptr<CDocManager> s_pDocManager;
    return s_pDocManager;
}

} // namespace

// ---------------------------------------------------------------------------
// CDocTemplate

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass),
      m_pViewClass(pViewClass) {}

CDocTemplate::~CDocTemplate() = default;

void CDocTemplate::LoadTemplate() {
    if (m_strDocStrings.IsEmpty() && !m_strDocStrings.LoadString(m_nIDResource))
        TRACE("CDocTemplate::LoadTemplate: no document string %u\n", m_nIDResource);
}

void CDocTemplate::AddDocument(CDocument* pDoc) {
    ASSERT(pDoc != nullptr && pDoc->m_pDocTemplate == nullptr);
    pDoc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* pDoc) {
    ASSERT(pDoc != nullptr && pDoc->m_pDocTemplate == this);
    pDoc->m_pDocTemplate = nullptr;
}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const {
    rString.Empty();
    int iStart = 0;
    for (int i = 0; i < index; ++i) {
        iStart = m_strDocStrings.Find('\n', iStart);
        if (iStart < 0)
            return FALSE;
        ++iStart;
    }
    int iEnd = m_strDocStrings.Find('\n', iStart);
    rString = iEnd < 0 ? m_strDocStrings.Mid(iStart) : m_strDocStrings.Mid(iStart, iEnd - iStart);
    return !rString.IsEmpty();
}

CDocument* CDocTemplate::CreateNewDocument() {
    if (m_pDocClass == nullptr)
        return nullptr;
    CObject* pObject = m_pDocClass->CreateObject();
    CDocument* pDocument = dynamic_cast<CDocument*>(pObject);
    if (pDocument == nullptr) {
        TRACE("CDocTemplate::CreateNewDocument: %s is no creatable document\n",
              m_pDocClass->m_lpszClassName);
        delete pObject;
        return nullptr;
    }
    AddDocument(pDocument);
    return pDocument;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) {
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;

    if (m_pFrameClass == nullptr)
        return nullptr;
    CObject* pObject = m_pFrameClass->CreateObject();
    CFrameWnd* pFrame = dynamic_cast<CFrameWnd*>(pObject);
    if (pFrame == nullptr) {
        TRACE("CDocTemplate::CreateNewFrame: %s is no creatable frame\n",
              m_pFrameClass->m_lpszClassName);
        delete pObject;
        return nullptr;
    }
    if (!pFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr,
                           &context)) {
        // The frame object deleted itself (CFrameWnd::Create).
        TRACE("CDocTemplate::CreateNewFrame: the frame could not be created\n");
        return nullptr;
    }
    return pFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible) {
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

BOOL CDocTemplate::SaveAllModified() {
    POSITION pos = GetFirstDocPosition();
    while (pos != nullptr) {
        if (!GetNextDoc(pos)->SaveModified())
            return FALSE;
    }
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL /*bEndSession*/) {
    // Closing deletes a document and takes it off the list, so the walk goes over
    // a copy; one that stays open (no auto-delete) stays listed.
    std::vector<CDocument*> docs;
    POSITION pos = GetFirstDocPosition();
    while (pos != nullptr)
        docs.push_back(GetNextDoc(pos));
    for (CDocument* pDoc : docs) {
        if (IsListed(pDoc))
            pDoc->OnCloseDocument();
    }
}

BOOL CDocTemplate::IsListed(const CDocument* pDoc) const {
    POSITION pos = GetFirstDocPosition();
    while (pos != nullptr) {
        if (GetNextDoc(pos) == pDoc)
            return TRUE;
    }
    return FALSE;
}

CDocTemplate::Confidence CDocTemplate::MatchDocType(LPCTSTR lpszPathName, CDocument*& rpDocMatch) {
    rpDocMatch = nullptr;
    POSITION pos = GetFirstDocPosition();
    while (pos != nullptr) {
        CDocument* pDoc = GetNextDoc(pos);
        if (!pDoc->GetPathName().IsEmpty() &&
            pDoc->GetPathName().CompareNoCase(lpszPathName) == 0) {
            rpDocMatch = pDoc;
            return yesAlreadyOpen;
        }
    }
    CString ext;
    if (GetDocString(ext, filterExt)) {
        CString path = lpszPathName;
        int iDot = path.ReverseFind('.');
        if (iDot >= 0 && path.Mid(iDot).CompareNoCase(ext) == 0)
            return yesAttemptNative;
    }
    return yesAttemptForeign;
}

// ---------------------------------------------------------------------------
// CMultiDocTemplate

IMPLEMENT_DYNAMIC(CMultiDocTemplate, CDocTemplate)

CMultiDocTemplate::CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass,
                                     CRuntimeClass* pFrameClass, CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass), m_hMenuShared(nullptr),
      m_hAccelTable(nullptr), m_nUntitledCount(0) {}

CMultiDocTemplate::~CMultiDocTemplate() {
    // Documents still open outlive their template only by a caller's mistake;
    // they are told so that they do not reach back into it.
    ASSERT(m_docList.empty());
    while (!m_docList.empty())
        RemoveDocument(m_docList.front());
    if (m_hMenuShared != nullptr)
        DestroyMenu(m_hMenuShared);
}

void CMultiDocTemplate::LoadTemplate() {
    CDocTemplate::LoadTemplate();
    HINSTANCE hInst = AfxGetResourceHandle();
    if (m_hMenuShared == nullptr)
        m_hMenuShared = LoadMenuA(hInst, MAKEINTRESOURCEA(m_nIDResource));
    if (m_hAccelTable == nullptr)
        m_hAccelTable = LoadAcceleratorsA(hInst, MAKEINTRESOURCEA(m_nIDResource));
}

POSITION CMultiDocTemplate::GetFirstDocPosition() const {
    return FirstOf(m_docList);
}

CDocument* CMultiDocTemplate::GetNextDoc(POSITION& rPos) const {
    return NextOf(m_docList, rPos);
}

void CMultiDocTemplate::AddDocument(CDocument* pDoc) {
    CDocTemplate::AddDocument(pDoc);
    m_docList.push_back(pDoc);
}

void CMultiDocTemplate::RemoveDocument(CDocument* pDoc) {
    CDocTemplate::RemoveDocument(pDoc);
    m_docList.erase(std::remove(m_docList.begin(), m_docList.end(), pDoc), m_docList.end());
}

CDocument* CMultiDocTemplate::OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible) {
    CDocument* pDocument = CreateNewDocument();
    if (pDocument == nullptr) {
        AfxMessageBox(kFailedToCreateDoc, MB_ICONEXCLAMATION);
        return nullptr;
    }

    // The frame's view attaches to the document; a failure half-way must not
    // delete the document under us.
    BOOL bAutoDelete = pDocument->m_bAutoDelete;
    pDocument->m_bAutoDelete = FALSE;
    CFrameWnd* pFrame = CreateNewFrame(pDocument, nullptr);
    pDocument->m_bAutoDelete = bAutoDelete;
    if (pFrame == nullptr) {
        AfxMessageBox(kFailedToCreateDoc, MB_ICONEXCLAMATION);
        // The frame's view (if any) is gone with the frame.
        if (pDocument->GetViewCount() == 0)
            delete pDocument;
        return nullptr;
    }

    if (lpszPathName == nullptr) {
        SetDefaultTitle(pDocument);
        if (!pDocument->OnNewDocument()) {
            TRACE("CMultiDocTemplate::OpenDocumentFile: OnNewDocument failed\n");
            pFrame->DestroyWindow(); // takes the view and so the document along
            return nullptr;
        }
        ++m_nUntitledCount;
    } else {
        CWaitCursor wait;
        if (!pDocument->OnOpenDocument(lpszPathName)) {
            TRACE("CMultiDocTemplate::OpenDocumentFile: OnOpenDocument failed\n");
            pFrame->DestroyWindow();
            return nullptr;
        }
        pDocument->SetPathName(lpszPathName);
    }
    InitialUpdateFrame(pFrame, pDocument, bMakeVisible);
    return pDocument;
}

void CMultiDocTemplate::SetDefaultTitle(CDocument* pDocument) {
    CString name;
    if (!GetDocString(name, docName))
        name = "Untitled";
    CString title;
    title.Format("%s%u", name.GetString(), m_nUntitledCount + 1);
    pDocument->SetTitle(title);
}

// ---------------------------------------------------------------------------
// CDocManager

IMPLEMENT_DYNAMIC(CDocManager, CObject)

CDocManager::~CDocManager() {
    for (CDocTemplate* pTemplate : m_templateList)
        delete pTemplate;
}

void CDocManager::AddDocTemplate(CDocTemplate* pTemplate) {
    ASSERT(pTemplate != nullptr);
    if (pTemplate == nullptr ||
        std::find(m_templateList.begin(), m_templateList.end(), pTemplate) != m_templateList.end())
        return;
    pTemplate->LoadTemplate();
    m_templateList.push_back(pTemplate);
}

POSITION CDocManager::GetFirstDocTemplatePosition() const {
    return FirstOf(m_templateList);
}

CDocTemplate* CDocManager::GetNextDocTemplate(POSITION& rPos) const {
    return NextOf(m_templateList, rPos);
}

CDocument* CDocManager::OpenDocumentFile(LPCTSTR lpszFileName) {
    if (lpszFileName == nullptr || *lpszFileName == '\0')
        return nullptr;
    CString path = FullPath(lpszFileName);

    CDocTemplate* pBest = nullptr;
    CDocTemplate::Confidence bestMatch = CDocTemplate::noAttempt;
    CDocument* pOpen = nullptr;
    for (CDocTemplate* pTemplate : m_templateList) {
        CDocument* pMatch = nullptr;
        CDocTemplate::Confidence match = pTemplate->MatchDocType(path, pMatch);
        if (match > bestMatch) {
            bestMatch = match;
            pBest = pTemplate;
        }
        if (match == CDocTemplate::yesAlreadyOpen) {
            pOpen = pMatch;
            break;
        }
    }

    if (pOpen != nullptr) {
        // Bring its first frame forward instead of opening it twice.
        POSITION pos = pOpen->GetFirstViewPosition();
        if (pos != nullptr) {
            CView* pView = pOpen->GetNextView(pos);
            if (CFrameWnd* pFrame = pView->GetParentFrame())
                pFrame->ActivateFrame();
        }
        return pOpen;
    }
    if (pBest == nullptr) {
        AfxMessageBox(kNoTemplate, MB_ICONEXCLAMATION);
        return nullptr;
    }
    return pBest->OpenDocumentFile(path);
}

BOOL CDocManager::SaveAllModified() {
    for (CDocTemplate* pTemplate : m_templateList) {
        if (!pTemplate->SaveAllModified())
            return FALSE;
    }
    return TRUE;
}

void CDocManager::CloseAllDocuments(BOOL bEndSession) {
    for (CDocTemplate* pTemplate : m_templateList)
        pTemplate->CloseAllDocuments(bEndSession);
}

int CDocManager::GetOpenDocumentCount() const {
    int count = 0;
    for (CDocTemplate* pTemplate : m_templateList) {
        POSITION pos = pTemplate->GetFirstDocPosition();
        while (pos != nullptr) {
            pTemplate->GetNextDoc(pos);
            ++count;
        }
    }
    return count;
}

std::string CDocManager::GetFileFilter(CDocTemplate* pTemplate, CString* pDefExt) const {
    // "name\0*.ext\0" per template, then all files; the string's own NUL ends
    // the list.
    std::string filter;
    CString defExt;
    auto addTemplate = [&](CDocTemplate* p) {
        CString name, ext;
        if (!p->GetDocString(name, CDocTemplate::filterName) ||
            !p->GetDocString(ext, CDocTemplate::filterExt))
            return;
        if (defExt.IsEmpty())
            defExt = ext.Mid(ext[0] == '.' ? 1 : 0);
        filter += name.GetString();
        filter += '\0';
        filter += "*";
        filter += ext.GetString();
        filter += '\0';
    };
    if (pTemplate != nullptr)
        addTemplate(pTemplate);
    else
        for (CDocTemplate* p : m_templateList)
            addTemplate(p);
    filter += kAllFilter;
    filter += '\0';
    filter += "*.*";
    filter += '\0';
    if (pDefExt != nullptr)
        *pDefExt = defExt;
    return filter;
}

BOOL CDocManager::DoPromptFileName(CString& fileName, LPCTSTR lpszTitle, DWORD lFlags,
                                   BOOL bOpenFileDialog, CDocTemplate* pTemplate) {
    CString defExt;
    std::string filter = GetFileFilter(pTemplate, &defExt);
    char file[MAX_PATH];
    lstrcpynA(file, fileName, MAX_PATH);
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    CWnd* pMain = AfxGetMainWnd();
    ofn.hwndOwner = pMain != nullptr ? pMain->GetSafeHwnd() : nullptr;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrTitle = lpszTitle;
    ofn.lpstrDefExt = defExt.IsEmpty() ? nullptr : defExt.GetString();
    ofn.Flags = lFlags | OFN_EXPLORER | OFN_ENABLESIZING;
    if (!bOpenFileDialog)
        ofn.Flags |= OFN_OVERWRITEPROMPT;
    BOOL bResult = bOpenFileDialog ? GetOpenFileNameA(&ofn) : GetSaveFileNameA(&ofn);
    if (bResult)
        fileName = file;
    return bResult;
}

void CDocManager::OnFileNew() {
    if (m_templateList.empty()) {
        TRACE("CDocManager::OnFileNew: no document template\n");
        AfxMessageBox(kFailedToCreateDoc, MB_ICONEXCLAMATION);
        return;
    }
    m_templateList.front()->OpenDocumentFile(nullptr);
}

void CDocManager::OnFileOpen() {
    CString newName;
    if (!DoPromptFileName(newName, "Open", OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, TRUE, nullptr))
        return;
    if (OpenDocumentFile(newName) == nullptr)
        TRACE("CDocManager::OnFileOpen: %s\n", kFailedToOpenDoc);
}

CDocManager* AFXAPI AfxGetDocManager() {
    std::unique_ptr<CDocManager>& slot = DocManagerSlot();
    if (!slot)
        slot.reset(new CDocManager);
    return slot.get();
}

void AFXAPI AfxSetDocManager(CDocManager* pDocManager) {
    DocManagerSlot().reset(pDocManager);
}
