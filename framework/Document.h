// Document.h: CDocument, the data half of the document/view pair.
//
// A document is made by its template (DocTemplate.h), which owns the list of
// open documents; the document keeps the list of its views (not owned: each
// view removes itself when its window goes). With m_bAutoDelete set (the
// default) the document deletes itself in OnCloseDocument, and when its last
// view goes.
//
// Questions to the user (the save prompt, load and save failures) go through
// AfxMessageBox, that is the application's DoMessageBox, which a test answers by
// overriding it. Asking for a file name goes through
// CDocManager::DoPromptFileName.
//
// Saving writes a new file beside the target and replaces the target only once
// Serialize has finished, so a failed save leaves the old file as it was (the
// archive's file is that new file while Serialize runs).
#pragma once

#include "AfxString.h"
#include "CmdTarget.h"
#include "Collections.h"
#include "Object.h"

#include <vector>

class CArchive;
class CDocTemplate;
class CException;
class CFrameWnd;
class CView;

// Command ids of the document's own commands.
#ifndef ID_FILE_CLOSE
#define ID_FILE_CLOSE 0xE102
#endif
#ifndef ID_FILE_SAVE
#define ID_FILE_SAVE 0xE103
#endif
#ifndef ID_FILE_SAVE_AS
#define ID_FILE_SAVE_AS 0xE104
#endif
// Help id of the framework's own save question (the prompt's help context).
#ifndef AFX_IDP_ASK_TO_SAVE
#define AFX_IDP_ASK_TO_SAVE 0xF10B
#endif

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument();
    // The views must be gone: a document deleted under live views leaves them a
    // dangling pointer, so this asserts and detaches them.
    ~CDocument() override;

    const CString& GetTitle() const { return m_strTitle; }
    // Sets the title and updates the titles of the frames that show the document.
    virtual void SetTitle(LPCTSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    // Takes the full form of the path, makes its file name the title, and adds it
    // to the application's recent files when bAddToMRU is set.
    virtual void SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU = TRUE);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    virtual BOOL IsModified() { return m_bModified; }
    virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

    // Views. AddView asserts that the view is not attached to a document yet.
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    virtual POSITION GetFirstViewPosition() const;
    virtual CView* GetNextView(POSITION& rPosition) const;
    int GetViewCount() const { return static_cast<int>(m_viewList.size()); }
    // Calls OnUpdate of every view except pSender.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0L, CObject* pHint = nullptr);

    // Overridables.
    virtual void DeleteContents();
    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(LPCTSTR lpszPathName);
    virtual BOOL OnSaveDocument(LPCTSTR lpszPathName);
    // Destroys every frame that shows the document, empties it and, with
    // m_bAutoDelete, deletes it. Nothing of the object may be used afterwards.
    virtual void OnCloseDocument();
    // Called when the last view goes (OnCloseDocument by default).
    virtual void OnChangedViewList();
    // Whether pFrame may close: asks SaveModified when pFrame is the document's
    // last frame.
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
    virtual void PreCloseFrame(CFrameWnd* pFrame);
    // Asks "Save changes to %s?" when modified: Yes saves (FALSE when that
    // fails), No leaves it, Cancel answers FALSE.
    virtual BOOL SaveModified();
    // Saves to lpszPathName, or asks for a name first when it is null; bReplace
    // makes the saved path the document's. FALSE when cancelled or failed.
    virtual BOOL DoSave(LPCTSTR lpszPathName, BOOL bReplace = TRUE);
    // Saves under the current path, or asks for one when there is none.
    virtual BOOL DoFileSave();
    // Shows why a load or save failed; consumes nothing (the caller deletes e).
    virtual void ReportSaveLoadException(LPCTSTR lpszPathName, CException* e, BOOL bSaving,
                                         UINT nIDPDefault);
    // Numbers the frame titles ("doc:1", "doc:2") when several frames show it.
    virtual void UpdateFrameCounts();

    // The document's own map, after which nothing further routes.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // Deletes the object when its last view goes or it is closed.
    BOOL m_bAutoDelete;

protected:
    afx_msg void OnFileClose();
    afx_msg void OnFileSave();
    afx_msg void OnFileSaveAs();

    CString m_strTitle;
    CString m_strPathName;
    CDocTemplate* m_pDocTemplate;   // not owned: set by the template that holds the document
    std::vector<CView*> m_viewList; // not owned: each view removes itself
    BOOL m_bModified;

    friend class CDocTemplate;
    DECLARE_MESSAGE_MAP()
};
