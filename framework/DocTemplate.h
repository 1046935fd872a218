// DocTemplate.h: CDocTemplate, CMultiDocTemplate and CDocManager.
//
// A document template ties a resource id (the document strings, the shared menu
// and accelerators of its frames) to three run-time classes: the document, the
// frame that shows it, and the view inside that frame. It makes and holds the
// open documents of its kind (not owned: each document deletes itself when its
// last view goes and then leaves the template's list).
//
// CDocManager owns the templates and answers File New, File Open and the
// opening of a path; the application object forwards its AddDocTemplate,
// OnFileNew, OnFileOpen, OpenDocumentFile, SaveAllModified and CloseAllDocuments
// to AfxGetDocManager(). A test or an application that wants other file prompts
// installs a derived manager with AfxSetDocManager (DoPromptFileName is
// virtual). Not implemented: a choice of template for File New (the first one
// is used), document registration with the shell.
#pragma once

#include "AfxString.h"
#include "CmdTarget.h"
#include "Collections.h"
#include "Object.h"

#include <string>
#include <vector>

class CDocument;
class CFrameWnd;

// The commands the document manager answers (through the application's map).
#ifndef ID_FILE_NEW
#define ID_FILE_NEW 0xE100
#endif
#ifndef ID_FILE_OPEN
#define ID_FILE_OPEN 0xE101
#endif

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    // The fields of the document string, separated by '\n' in the string
    // resource.
    enum DocStringIndex {
        windowTitle,     // the SDI frame's title
        docName,         // base of default titles ("Sheet" gives "Sheet1")
        fileNewName,     // the name offered by File New when there are several kinds
        filterName,      // the file dialog's filter text
        filterExt,       // the extension, with its dot (".reclist")
        regFileTypeId,   // registry type id
        regFileTypeName, // registry type name
    };
    // How well a path suits a template, best last.
    enum Confidence {
        noAttempt,
        maybeAttemptForeign,
        maybeAttemptNative,
        yesAttemptForeign,
        yesAttemptNative,
        yesAlreadyOpen
    };

    ~CDocTemplate() override;

    // Loads the document strings (and, in derived classes, menus and
    // accelerators) from the resource handle; CDocManager::AddDocTemplate calls
    // it.
    virtual void LoadTemplate();
    UINT GetResourceID() const { return m_nIDResource; }

    virtual POSITION GetFirstDocPosition() const = 0;
    virtual CDocument* GetNextDoc(POSITION& rPos) const = 0;
    virtual void AddDocument(CDocument* pDoc);
    virtual void RemoveDocument(CDocument* pDoc);

    // FALSE when the field is missing or empty.
    virtual BOOL GetDocString(CString& rString, DocStringIndex index) const;

    // A new document of the template's class, added to its list; null on failure.
    virtual CDocument* CreateNewDocument();
    // A new frame with its view for pDoc, not yet shown; null on failure.
    virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    virtual void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);

    // Asks every document SaveModified; FALSE when one refuses.
    virtual BOOL SaveAllModified();
    // Closes every document of the template (without asking).
    virtual void CloseAllDocuments(BOOL bEndSession);
    // Whether pDoc is one of the template's open documents.
    BOOL IsListed(const CDocument* pDoc) const;

    // A new document (null path) or one read from the path, in a new frame.
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) = 0;
    virtual void SetDefaultTitle(CDocument* pDocument) = 0;
    virtual Confidence MatchDocType(LPCTSTR lpszPathName, CDocument*& rpDocMatch);

protected:
    CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                 CRuntimeClass* pViewClass);

    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;
    CString m_strDocStrings; // the '\n'-separated fields of string m_nIDResource
};

// The template of a multiple-document application: any number of documents,
// each in MDI child frames that share the template's menu and accelerators.
class CMultiDocTemplate : public CDocTemplate {
    DECLARE_DYNAMIC(CMultiDocTemplate)
public:
    CMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                      CRuntimeClass* pViewClass);
    // Destroys the shared menu; the documents must be closed by then.
    ~CMultiDocTemplate() override;

    void LoadTemplate() override;
    POSITION GetFirstDocPosition() const override;
    CDocument* GetNextDoc(POSITION& rPos) const override;
    void AddDocument(CDocument* pDoc) override;
    void RemoveDocument(CDocument* pDoc) override;
    CDocument* OpenDocumentFile(LPCTSTR lpszPathName, BOOL bMakeVisible = TRUE) override;
    void SetDefaultTitle(CDocument* pDocument) override;

    HMENU m_hMenuShared;  // owns: the menu the frame shows while a child is active
    HACCEL m_hAccelTable; // the accelerators of the child frames (freed with the
                          // module)

protected:
    std::vector<CDocument*> m_docList; // not owned
    UINT m_nUntitledCount;             // numbers the default titles
};

class CDocManager : public CObject {
    DECLARE_DYNAMIC(CDocManager)
public:
    CDocManager() = default;
    // Deletes the templates.
    ~CDocManager() override;

    // Takes ownership of the template and loads its resources.
    virtual void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& rPos) const;

    // Activates the document when the path is open already, else opens it with
    // the template that suits it best. Null (after telling the user) on failure.
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName);
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);
    int GetOpenDocumentCount() const;

    // Shows the open or save file dialog with the filters of pTemplate (of all
    // templates when null). fileName comes in as the proposed name and leaves as
    // the chosen path. FALSE when cancelled.
    virtual BOOL DoPromptFileName(CString& fileName, LPCTSTR lpszTitle, DWORD lFlags,
                                  BOOL bOpenFileDialog, CDocTemplate* pTemplate);

    // The file dialog's filter of pTemplate (of all templates when null) and all
    // files, as '\0'-separated pairs; *pDefExt gets the first extension, no dot.
    std::string GetFileFilter(CDocTemplate* pTemplate, CString* pDefExt) const;

    // The commands File New (a new document of the first template) and File Open.
    virtual void OnFileNew();
    virtual void OnFileOpen();

protected:
    std::vector<CDocTemplate*> m_templateList; // owns
};

// The process's document manager, made on first use.
CDocManager* AFXAPI AfxGetDocManager();
// Replaces the document manager (deleting the old one and its templates); null
// only deletes it, and the next AfxGetDocManager makes a fresh one.
void AFXAPI AfxSetDocManager(CDocManager* pDocManager);
