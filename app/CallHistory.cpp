// CallHistory.cpp: the play-history store and its file "history.reclist".
#include "CallHistory.h"

#include "ScoredFileListEntry.h"
#include "ZelDorvaneDoc.h"

#include "Common/KWSysUtils.h"
#include "Common/OXParser.h"
#include "Common/Settings.h"
#include "Common/TraceLog.h"

#include "framework/WinApp.h"

#include <cstring>
#include <new>
#include <utility>

namespace {

const char kFileName[] = "history.reclist";
// The history's lines end in CR CR LF: the file has always been written from
// CR LF texts through a text-mode stream, and readers of old files expect it.
const char kLineEnd[] = "\r\r\n";

bool IsRegularFile(const char* path) {
    DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Writes the bytes to a new file beside the target and moves it over the
// target only when it is whole, so that a failed or killed save leaves the
// old file as it was.
bool ReplaceFile(const char* target, const std::string& bytes) {
    // A read-only file is the user's to keep (Wine's rename would replace it).
    DWORD attributes = ::GetFileAttributesA(target);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        KWTRACE_ERROR(("%s is read-only; it is not replaced", target));
        return false;
    }
    CString folder = target;
    int iSlash = folder.ReverseFind('\\');
    folder = iSlash >= 0 ? folder.Left(iSlash + 1) : CString(".");
    char temporary[MAX_PATH];
    if (::GetTempFileNameA(folder, "zmh", 0, temporary) == 0) {
        KWTRACE_ERROR(("Cannot make a file in %s, error %lu", folder.GetString(),
                       static_cast<unsigned long>(::GetLastError())));
        return false;
    }
    HANDLE hFile = ::CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    bool bWritten = hFile != INVALID_HANDLE_VALUE;
    size_t done = 0;
    while (bWritten && done < bytes.size()) {
        DWORD written = 0;
        bWritten = ::WriteFile(hFile, bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                               &written, nullptr) &&
                   written > 0;
        done += written;
    }
    if (bWritten)
        bWritten = ::FlushFileBuffers(hFile) != FALSE;
    DWORD error = ::GetLastError();
    if (hFile != INVALID_HANDLE_VALUE)
        ::CloseHandle(hFile);
    if (bWritten && !::MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING)) {
        error = ::GetLastError();
        bWritten = false;
    }
    if (!bWritten) {
        KWTRACE_ERROR(("Cannot write %s, error %lu", target, static_cast<unsigned long>(error)));
        ::DeleteFileA(temporary);
    }
    return bWritten;
}

} // namespace

CCallHistory* CCallHistory::s_instance = nullptr;

CCallHistory* CCallHistory::GetInstance() {
    if (s_instance == nullptr)
        s_instance = new CCallHistory;
    return s_instance;
}

void CCallHistory::DeleteInstance() {
    delete s_instance;
    s_instance = nullptr;
}

CCallHistory::CCallHistory()
    : m_lock(new (std::nothrow) CKWLoggedSemaphore("CALL_HISTORY", false)) {
    if (m_lock == nullptr)
        KWTRACE_ERROR(("Failed to allocate memory for file list semaphore."));
}

CCallHistory::~CCallHistory() {
    Clear();
    delete m_lock;
}

const CScoredFileListEntry* CCallHistory::GetAt(int index) const {
    if (index < 0 || index >= GetCount())
        return nullptr;
    return m_entries[static_cast<size_t>(index)];
}

CKWString CCallHistory::GetFilePath() const {
    return CKWSysUtils::GetInstance()->GetConfigurationFolder(true) + kFileName;
}

void CCallHistory::Add(const char* path) {
    CKWSemaphoreGuard lock(m_lock, __FILE__, __LINE__);
    if (path == nullptr || *path == '\0')
        return;
    if (std::strlen(path) >= MAX_PATH) {
        // Cut short, the path would name another recording.
        KWTRACE_ERROR(("Not added to the play history, the path is too long: %s", path));
        return;
    }
    if (!IsRegularFile(path))
        return;
    CScoredFileListEntry* pEntry = new CScoredFileListEntry;
    pEntry->SetPath(path);
    pEntry->LoadHeader(CSettings::GetInstance()->GetPassphrase());
    pEntry->LoadScores(FALSE);
    m_entries.push_back(pEntry);
}

void CCallHistory::Clear() {
    CKWSemaphoreGuard lock(m_lock, __FILE__, __LINE__);
    for (CScoredFileListEntry* pEntry : m_entries)
        delete pEntry;
    m_entries.clear();
}

void CCallHistory::FillDocument(CZelDorvaneDoc* pDoc) {
    CKWSemaphoreGuard lock(m_lock, __FILE__, __LINE__);
    // Newest first: a selection sort by start time that takes, among equal
    // times, the entry nearest the end.
    const int count = GetCount();
    for (int i = 0; i < count - 1; ++i) {
        int candidate = i;
        for (int k = count - 1; k > i; --k)
            if (m_entries[static_cast<size_t>(k)]->GetStartTime() >
                m_entries[static_cast<size_t>(candidate)]->GetStartTime())
                candidate = k;
        std::swap(m_entries[static_cast<size_t>(i)], m_entries[static_cast<size_t>(candidate)]);
    }
    if (pDoc == nullptr)
        return;
    for (CScoredFileListEntry* pEntry : m_entries)
        pDoc->AddRecording(pEntry, FALSE);
}

std::string CCallHistory::FormatFile() const {
    if (m_entries.empty())
        return std::string();
    std::string text = std::string("<root>") + kLineEnd;
    for (const CScoredFileListEntry* pEntry : m_entries)
        text +=
            "   <rec>" + CZelDorvaneDoc::EscapeListText(pEntry->GetPath()) + "</rec>" + kLineEnd;
    text += std::string("</root>") + kLineEnd;
    return text;
}

bool CCallHistory::Save() {
    // An empty store writes nothing: the file keeps what it had.
    if (m_entries.empty())
        return true;
    std::string bytes;
    {
        CKWSemaphoreGuard lock(m_lock, __FILE__, __LINE__);
        bytes = FormatFile();
    }
    const CKWString path = GetFilePath();
    if (ReplaceFile(path, bytes))
        return true;
    CString text;
    text.Format("The play history could not be saved to\n%s\n\nThe file keeps its earlier "
                "content.",
                static_cast<const char*>(path));
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void CCallHistory::Load() {
    Clear();
    COXParser parser;
    if (!parser.ParseFile(GetFilePath()))
        return;
    COXParserElement* pRoot = parser.GetRoot();
    if (std::strcmp(pRoot->GetName(), "[Root]") == 0)
        AddPathsFromElement(pRoot);
}

void CCallHistory::AddPathsFromElement(COXParserElement* pElement) {
    if (pElement == nullptr)
        return;
    std::vector<CKWString> tooLong;
    AddTexts(pElement, tooLong);
    CZelDorvaneDoc::ReportTooLongPaths(tooLong);
}

void CCallHistory::AddTexts(COXParserElement* pElement, std::vector<CKWString>& tooLong) {
    for (int i = 0; i < pElement->GetObjectCount(); ++i) {
        COXParserObject* pObject = pElement->GetObject(i);
        if (pObject == nullptr)
            continue;
        if (pObject->GetType() == COXParserObject::TYPE_ELEMENT) {
            AddTexts(static_cast<COXParserElement*>(pObject), tooLong);
        } else if (pObject->GetType() == COXParserObject::TYPE_TEXT) {
            if (std::strlen(pObject->GetText()) >= MAX_PATH)
                tooLong.push_back(pObject->GetText());
            else
                Add(pObject->GetText());
        }
    }
}
