// ZelDorvaneDoc.cpp: the recording-list document and its ".reclist" file.
#include "ZelDorvaneDoc.h"

#include "CallHistory.h"
#include "ProgressWnd.h"
#include "ScoredFileListEntry.h"
#include "SearchManager.h"
#include "resource.h"

#include "Common/Settings.h"
#include "Common/TraceLog.h"

#include "framework/Archive.h"
#include "framework/Exception.h"
#include "framework/WinApp.h"

#include <cstring>

namespace {

// The texts of the string table, kept here as well so that a resource library
// without them still gives the user a question and a progress text.
const char kAskSaveList[] =
    "You are about to close current list window and loose your results.\nSave changes to "
    "%1?\n - Press 'Yes' to save and close current list.\n - Press 'No' to close current list "
    "without saving.\n - Press 'Cancel' to cancel.";
const char kTaskInProgress[] = "Task in progress...";
const char kCompilingList[] = "Compiling Recording List\x85\n\nReading %d of %d recordings found.";
const char kUntitled[] = "Untitled";
const char kParseError[] = "Error parsing file %s.\n\nLine %d, Column %d. Error %d: %s\n\n%s";
const char kFolderElement[] = "Folder";
const char kRootName[] = "[Root]";

CString LoadText(UINT nID, const char* fallback) {
    CString text;
    if (!text.LoadString(nID) || text.IsEmpty())
        text = fallback;
    return text;
}

// A list names folders and files; anything else (a folder where a recording
// was, a device) is no recording, and deleting it from the list's commands
// would reach far beyond one call.
bool IsRegularFile(const char* path) {
    if (path == nullptr || *path == '\0')
        return false;
    DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void WriteText(CArchive& ar, const std::string& text) {
    ar.Write(text.data(), static_cast<UINT>(text.size()));
}

CString WithoutStars(const CString& text) {
    CString result = text;
    result.Remove('*');
    return result;
}

} // namespace

IMPLEMENT_DYNCREATE(CZelDorvaneDoc, CDocument)

// The list has no commands of its own (the view and the frame carry them): an
// empty map, written out since the map macros leave their class typedef unused
// without an entry.
const AFX_MSGMAP* CZelDorvaneDoc::GetMessageMap() const {
    return GetThisMessageMap();
}

const AFX_MSGMAP* CZelDorvaneDoc::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
    static const AFX_MSGMAP messageMap = {&CDocument::GetThisMessageMap, &entries[0]};
    return &messageMap;
}

CZelDorvaneDoc::CZelDorvaneDoc()
    : m_listKind(kFolderList), m_importantCount(0), m_totalDuration(0), m_scoredCount(0),
      m_pSaveProgress(nullptr), m_reusable(FALSE) {
    m_parser.SetErrorCallback(&CZelDorvaneDoc::OnParseError, this);
}

CZelDorvaneDoc::~CZelDorvaneDoc() {
    RemoveAll();
    delete m_pSaveProgress;
}

CScoredFileListEntry* CZelDorvaneDoc::GetRecording(int index) const {
    if (index < 0 || index >= GetRecordingCount())
        return nullptr;
    return m_entries[static_cast<size_t>(index)];
}

int CZelDorvaneDoc::ContainsRecording(const CKWFileListEntry* pEntry) const {
    return pEntry != nullptr && m_index.count(pEntry->GetPath()) != 0 ? 1 : 0;
}

int CZelDorvaneDoc::FindRecording(const char* path) const {
    if (path == nullptr)
        return -1;
    auto it = m_index.find(path);
    if (it == m_index.end())
        return -1;
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i] == it->second)
            return static_cast<int>(i);
    return -1;
}

int CZelDorvaneDoc::AddRecording(CKWFileListEntry* pEntry, BOOL bAdopt) {
    if (pEntry == nullptr || ContainsRecording(pEntry) || !IsRegularFile(pEntry->GetPath()))
        return 0;

    CScoredFileListEntry* pKept = nullptr;
    if (CScoredFileListEntry* pScored = dynamic_cast<CScoredFileListEntry*>(pEntry)) {
        pKept = bAdopt ? pScored : new CScoredFileListEntry(*pScored);
    } else {
        pKept = new CScoredFileListEntry(*pEntry);
        if (bAdopt)
            delete pEntry;
    }

    m_entries.push_back(pKept);
    m_index[pKept->GetPath()] = pKept;
    if (pKept->IsImportant())
        ++m_importantCount;
    m_totalDuration += pKept->GetDuration();
    if (pKept->GetFirstScore() != nullptr)
        ++m_scoredCount;
    SetModifiedFlag(TRUE);
    return 1;
}

void CZelDorvaneDoc::RemoveAt(int index) {
    CScoredFileListEntry* pEntry = GetRecording(index);
    if (pEntry == nullptr)
        return;
    if (pEntry->IsImportant())
        --m_importantCount;
    m_totalDuration -= pEntry->GetDuration();
    if (pEntry->GetFirstScore() != nullptr)
        --m_scoredCount;
    auto it = m_index.find(pEntry->GetPath());
    if (it != m_index.end() && it->second == pEntry)
        m_index.erase(it);
    m_entries.erase(m_entries.begin() + index);
    delete pEntry;
    SetModifiedFlag(TRUE);
}

void CZelDorvaneDoc::RemoveAll() {
    if (!m_entries.empty())
        SetModifiedFlag(TRUE);
    for (CScoredFileListEntry* pEntry : m_entries)
        delete pEntry;
    m_entries.clear();
    m_index.clear();
    m_importantCount = 0;
    m_totalDuration = 0;
    m_scoredCount = 0;
}

void CZelDorvaneDoc::SetRecordingImportant(int index, int flag) {
    CScoredFileListEntry* pEntry = GetRecording(index);
    if (pEntry == nullptr || (pEntry->IsImportant() != 0) == (flag != 0))
        return;
    if (pEntry->IsImportant() && flag == 0)
        --m_importantCount;
    else
        ++m_importantCount;
}

void CZelDorvaneDoc::SortRecordings(int column, int descending) {
    CSearchManager::SortResults(m_entries, column, descending);
}

std::string CZelDorvaneDoc::EscapeListText(const char* text) {
    std::string result;
    for (const char* p = text != nullptr ? text : ""; *p != '\0'; ++p) {
        switch (*p) {
        case '&':
            result += "&amp;";
            break;
        case '<':
            result += "&lt;";
            break;
        case '>':
            result += "&gt;";
            break;
        default:
            result += *p;
        }
    }
    return result;
}

void CZelDorvaneDoc::ReportTooLongPaths(const std::vector<CKWString>& paths) {
    if (paths.empty())
        return;
    // Cut to MAX_PATH a path would name another file, so it is named to the
    // user instead; a few are enough to find the list's fault.
    const size_t kShown = 5;
    CString text;
    text.Format("%d recording path(s) of %d characters or more could not be listed:\n",
                static_cast<int>(paths.size()), MAX_PATH);
    for (size_t i = 0; i < paths.size() && i < kShown; ++i) {
        text += "\n";
        text += static_cast<const char*>(paths[i]);
    }
    if (paths.size() > kShown) {
        CString more;
        more.Format("\n... and %d more.", static_cast<int>(paths.size() - kShown));
        text += more;
    }
    KWTRACE_ERROR(("%s", text.GetString()));
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

std::string CZelDorvaneDoc::FormatRecordLine(const char* path) {
    return "   <rec>" + EscapeListText(path) + "</rec>\r\n";
}

std::string CZelDorvaneDoc::FormatSourceLine() const {
    return "   <Folder>" + EscapeListText(m_source) + "</Folder>\r\n";
}

std::string CZelDorvaneDoc::FormatListFile() const {
    if (m_entries.empty())
        return std::string();
    std::string text = "<root>\r\n";
    for (const CScoredFileListEntry* pEntry : m_entries)
        text += FormatRecordLine(pEntry->GetPath());
    text += FormatSourceLine();
    text += "</root>\r\n";
    return text;
}

void CZelDorvaneDoc::ReadListElement(COXParserElement* pElement) {
    if (pElement == nullptr)
        return;
    const CString passphrase = CSettings::GetInstance()->GetPassphrase();
    std::vector<CKWString> tooLong;
    ReadElementTexts(pElement, passphrase, tooLong);
    ReportTooLongPaths(tooLong);
}

void CZelDorvaneDoc::ReadElementTexts(COXParserElement* pElement, const CString& passphrase,
                                      std::vector<CKWString>& tooLong) {
    // Texts straight below the document node lie outside every element.
    const bool bInsideElement = pElement->GetParent() != nullptr;
    const bool bFolder = std::strcmp(pElement->GetName(), kFolderElement) == 0;
    for (int i = 0; i < pElement->GetObjectCount(); ++i) {
        COXParserObject* pObject = pElement->GetObject(i);
        if (pObject == nullptr)
            continue;
        if (pObject->GetType() == COXParserObject::TYPE_ELEMENT) {
            ReadElementTexts(static_cast<COXParserElement*>(pObject), passphrase, tooLong);
        } else if (pObject->GetType() == COXParserObject::TYPE_TEXT && bInsideElement) {
            if (bFolder)
                m_source = pObject->GetText();
            else
                AddListedPath(pObject->GetText(), passphrase, tooLong);
        }
    }
}

void CZelDorvaneDoc::AddListedPath(const char* path, const CString& passphrase,
                                   std::vector<CKWString>& tooLong) {
    if (std::strlen(path) >= MAX_PATH) {
        tooLong.push_back(path);
        return;
    }
    CScoredFileListEntry* pEntry = new CScoredFileListEntry;
    pEntry->SetPath(path);
    // Duplicates and vanished files are dropped before their header is read.
    if (ContainsRecording(pEntry) || !IsRegularFile(path)) {
        delete pEntry;
        return;
    }
    pEntry->LoadHeader(passphrase);
    pEntry->LoadScores(FALSE);
    if (!AddRecording(pEntry, TRUE))
        delete pEntry;
}

BOOL CZelDorvaneDoc::ParseListFile(LPCTSTR lpszPathName) {
    m_readingPath = lpszPathName != nullptr ? lpszPathName : "";
    BOOL bParsed = m_parser.ParseFile(m_readingPath) &&
                   std::strcmp(m_parser.GetRoot()->GetName(), kRootName) == 0;
    m_readingPath.Empty();
    return bParsed;
}

void CZelDorvaneDoc::Serialize(CArchive& ar) {
    if (ar.IsStoring())
        StoreList(ar);
    else
        LoadList(ar);
    SetModifiedFlag(FALSE);
}

void CZelDorvaneDoc::StoreList(CArchive& ar) {
    const int count = GetRecordingCount();
    if (count == 0)
        return;

    delete m_pSaveProgress;
    m_pSaveProgress =
        new CProgressWnd(AfxGetMainWnd(), LoadText(IDS_TASK_IN_PROGRESS, kTaskInProgress), TRUE);
    // Without its window the list is still written.
    if (m_pSaveProgress->GetSafeHwnd() == nullptr) {
        delete m_pSaveProgress;
        m_pSaveProgress = nullptr;
    }
    if (m_pSaveProgress != nullptr) {
        CString message;
        message.Format(LoadText(IDS_COMPILING_LIST, kCompilingList), 0, count);
        m_pSaveProgress->SetMessageText(message);
        m_pSaveProgress->PumpMessages(TRUE);
        m_pSaveProgress->SetProgressRange(1, count, 1);
        m_pSaveProgress->MakeModal("Progress");
    }

    // The window goes whether the writing ends or throws.
    struct ProgressCloser {
        CProgressWnd*& pWnd;
        ~ProgressCloser() {
            if (pWnd != nullptr) {
                pWnd->DestroyWindow();
                delete pWnd;
                pWnd = nullptr;
            }
        }
    } closer{m_pSaveProgress};

    WriteText(ar, "<root>\r\n");
    for (int i = 0; i < count; ++i) {
        WriteText(ar, FormatRecordLine(m_entries[static_cast<size_t>(i)]->GetPath()));
        if (m_pSaveProgress != nullptr)
            m_pSaveProgress->SetProgressPos(i);
    }
    WriteText(ar, FormatSourceLine());
    WriteText(ar, "</root>\r\n");
}

void CZelDorvaneDoc::LoadList(CArchive& ar) {
    CFile* pFile = ar.GetFile();
    const ULONGLONG length = pFile != nullptr ? pFile->GetLength() : 0;
    if (length == 0)
        return;
    // Positions in the parser are 32-bit; no list comes near that size.
    if (length >= 0x7FFFFFFF)
        AfxThrowFileException(CFileException::genericException, ERROR_FILE_TOO_LARGE,
                              m_readingPath);

    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    UINT total = 0;
    while (total < length) {
        UINT read = ar.Read(buffer.data() + total, static_cast<UINT>(length) - total);
        if (read == 0)
            break;
        total += read;
    }
    buffer[total] = '\0';

    // A NUL would end the parse early and silently drop the rest of the list.
    const char* nul = static_cast<const char*>(std::memchr(buffer.data(), 0, total));
    BOOL bParsed = FALSE;
    if (nul != nullptr) {
        int line = 1, column = 0;
        for (const char* p = buffer.data(); p < nul; ++p) {
            if (*p == '\n') {
                ++line;
                column = 0;
            } else {
                ++column;
            }
        }
        OnParseError(COXParser::OXERR_ILLEGAL_CHARACTER, "Illegal character (NUL) encountered.",
                     line, column + 1, this);
    } else {
        bParsed = m_parser.Parse(buffer.data());
    }
    buffer.clear();

    if (bParsed && std::strcmp(m_parser.GetRoot()->GetName(), kRootName) == 0) {
        ReadListElement(m_parser.GetRoot());
        m_parser.Reset();
        return;
    }
    m_parser.Reset();
    // The user has been told why: the open is refused, so that no empty
    // window stands for the file and is saved over it.
    AfxThrowUserException();
}

int CZelDorvaneDoc::OnParseError(int code, const char* message, int line, int column, void* pDoc) {
    CZelDorvaneDoc* pThis = static_cast<CZelDorvaneDoc*>(pDoc);
    if (pThis == nullptr)
        return 0;
    // Errors the parser forgives leave the list readable: an old list with a
    // bare "&" in a path keeps the "&" and loads without a box.
    if (code == COXParser::OXERR_BAD_ENTITY || code == COXParser::OXERR_UNEXPECTED_END_TAG) {
        KWTRACE(("%s, line %d, column %d: %s", pThis->m_readingPath.GetString(), line, column,
                 message != nullptr ? message : ""));
        return 0;
    }
    CString text;
    text.Format(kParseError, pThis->m_readingPath.GetString(), line, column, code,
                pThis->m_parser.GetErrorText(code), message != nullptr ? message : "");
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    return 0;
}

void CZelDorvaneDoc::SetModifiedFlag(BOOL bModified) {
    CDocument::SetModifiedFlag(bModified);
    if (m_listKind != kPlayHistory && IsModified() && m_strTitle.Find('*') < 0)
        SetTitle(m_strTitle + "*");
}

BOOL CZelDorvaneDoc::OnNewDocument() {
    return CDocument::OnNewDocument() ? TRUE : FALSE;
}

BOOL CZelDorvaneDoc::OnOpenDocument(LPCTSTR lpszPathName) {
    if (!CheckPathLength(lpszPathName))
        return FALSE;
    m_readingPath = lpszPathName;
    BOOL bOpened = CDocument::OnOpenDocument(lpszPathName);
    m_readingPath.Empty();
    return bOpened;
}

BOOL CZelDorvaneDoc::OnSaveDocument(LPCTSTR lpszPathName) {
    if (!CheckPathLength(lpszPathName))
        return FALSE;
    // A read-only list is the user's to keep; Wine's rename would replace it.
    DWORD attributes = ::GetFileAttributesA(lpszPathName);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        CString text;
        text.Format("The recording list cannot be saved: the file is read-only.\n\n%s",
                    lpszPathName);
        AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    // The framework writes a new file beside the target and replaces the
    // target only when the whole list went out.
    return CDocument::OnSaveDocument(lpszPathName);
}

BOOL CZelDorvaneDoc::CheckPathLength(LPCTSTR lpszPathName) {
    if (lpszPathName != nullptr && std::strlen(lpszPathName) < MAX_PATH)
        return TRUE;
    CString text;
    text.Format("The path of the recording list is %d characters or longer:\n\n%s", MAX_PATH,
                lpszPathName != nullptr ? lpszPathName : "");
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
}

BOOL CZelDorvaneDoc::SaveModified() {
    if (!IsModified())
        return TRUE;
    if (m_listKind == kPlayHistory) {
        // The play history is the store's; the window only shows it.
        CCallHistory::GetInstance()->Save();
        return TRUE;
    }

    CString name = m_strPathName;
    if (name.IsEmpty()) {
        name = m_strTitle;
        int iStar = name.ReverseFind('*');
        if (iStar >= 0)
            name.Truncate(iStar);
    }
    if (name.IsEmpty())
        name = kUntitled;
    CString prompt = LoadText(IDS_ASK_SAVE_LIST, kAskSaveList);
    prompt.Replace("%1", name);

    switch (AfxMessageBox(prompt, MB_YESNOCANCEL, AFX_IDP_ASK_TO_SAVE)) {
    case IDNO:
        return TRUE;
    case IDYES:
        if (!m_strPathName.IsEmpty())
            return DoSave(m_strPathName, TRUE);
        return DoFileSave();
    default:
        // Cancel, or a box that closed without an answer: nothing is lost.
        return FALSE;
    }
}

BOOL CZelDorvaneDoc::DoSave(LPCTSTR lpszPathName, BOOL bReplace) {
    // The title offers the file name of a new file; its "*" is no part of it.
    SetTitle(WithoutStars(m_strTitle));
    CString path = lpszPathName != nullptr ? WithoutStars(lpszPathName) : CString();
    BOOL bSaved = CDocument::DoSave(lpszPathName != nullptr ? path.GetString() : nullptr, bReplace);
    // Puts the "*" back when the save failed.
    SetModifiedFlag(IsModified());
    return bSaved;
}

BOOL CZelDorvaneDoc::DoFileSave() {
    SetTitle(WithoutStars(m_strTitle));
    BOOL bSaved = CDocument::DoFileSave();
    SetModifiedFlag(IsModified());
    return bSaved;
}
