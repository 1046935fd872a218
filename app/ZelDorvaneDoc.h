// ZelDorvaneDoc.h: CZelDorvaneDoc, a recording list: the recordings in display
// order with an index by path, the folder or search they came from, and the
// counters the call list shows. Stored as a ".reclist" file.
#pragma once

#include "Document.h"
#include "OXParser.h"
#include "SearchCriteria.h"

#include <map>
#include <string>
#include <vector>

class CArchive;
class CKWFileListEntry;
class CProgressWnd;
class CScoredFileListEntry;

class CZelDorvaneDoc : public CDocument {
    DECLARE_DYNCREATE(CZelDorvaneDoc)
public:
    enum { kFolderList = 0, kCustomList = 1, kPlayHistory = 2, kLongestCalls = 3 };

    CZelDorvaneDoc();
    ~CZelDorvaneDoc() override;

    int GetRecordingCount() const { return static_cast<int>(m_entries.size()); }
    // Null for an index outside the list (negative ones included).
    CScoredFileListEntry* GetRecording(int index) const;
    int ContainsRecording(const CKWFileListEntry* pEntry) const;
    // Index of the entry with exactly this path, -1 when none.
    int FindRecording(const char* path) const;
    // Keeps the entry (bAdopt) or a copy of it; 0 when refused: null, a path
    // already listed, or no regular file of that name. A refused adopted entry
    // stays the caller's to delete.
    int AddRecording(CKWFileListEntry* pEntry, BOOL bAdopt);
    void RemoveAt(int index);
    void RemoveAll();
    void SetRecordingImportant(int index, int flag);
    void IncrementScoredCount(int n) { m_scoredCount += n; }
    void SortRecordings(int column, int descending);

    int GetListKind() const { return m_listKind; }
    void SetListKind(int kind) { m_listKind = kind; }
    CKWString GetSource() const { return m_source; }
    void SetSource(const CKWString& source) { m_source = source; }
    BOOL IsReusable() const { return m_reusable; }
    void SetReusable(BOOL reusable) { m_reusable = reusable; }
    const SearchCriteria* GetSearchCriteria() const { return &m_criteria; }
    void SetSearchCriteria(const SearchCriteria& criteria) { m_criteria = criteria; }

    int GetImportantCount() const { return m_importantCount; }
    int GetTotalDuration() const { return m_totalDuration; }
    int GetScoredCount() const { return m_scoredCount; }

    COXParser* GetParser() { return &m_parser; }
    // Adds the recordings named below the element and takes its source. A
    // path of MAX_PATH characters or more is not listed; the user is told.
    void ReadListElement(COXParserElement* pElement);
    // Parses a list file with the document's parser (a parse error names the
    // file); TRUE when the parser's root holds the parsed list.
    BOOL ParseListFile(LPCTSTR lpszPathName);

    // Markup of a path or source in a list file: "&", "<" and ">" as entities,
    // so that the parser reads the text back as written.
    static std::string EscapeListText(const char* text);
    // Tells the user which listed paths were too long to list (none: nothing).
    static void ReportTooLongPaths(const std::vector<CKWString>& paths);

    // The ".reclist" bytes of the list as the writer lays them out (empty for
    // an empty list); Serialize writes exactly these.
    std::string FormatListFile() const;

    void Serialize(CArchive& ar);
    void SetModifiedFlag(BOOL bModified = TRUE) override;
    BOOL OnNewDocument() override;
    BOOL OnOpenDocument(LPCTSTR lpszPathName) override;
    BOOL OnSaveDocument(LPCTSTR lpszPathName) override;
    BOOL SaveModified() override;
    BOOL DoSave(LPCTSTR lpszPathName, BOOL bReplace = TRUE) override;
    BOOL DoFileSave() override;

private:
    static int OnParseError(int code, const char* message, int line, int column, void* pDoc);
    static std::string FormatRecordLine(const char* path);
    std::string FormatSourceLine() const;
    void StoreList(CArchive& ar);
    // Throws a user exception, after the parser's message, when the file is
    // not a list: the open is refused.
    void LoadList(CArchive& ar);
    void ReadElementTexts(COXParserElement* pElement, const CString& passphrase,
                          std::vector<CKWString>& tooLong);
    void AddListedPath(const char* path, const CString& passphrase,
                       std::vector<CKWString>& tooLong);
    // FALSE, after telling the user, for a path of MAX_PATH characters or more.
    static BOOL CheckPathLength(LPCTSTR lpszPathName);

    int m_listKind;
    CKWString m_source;
    std::map<std::string, CScoredFileListEntry*> m_index; // by exact path
    std::vector<CScoredFileListEntry*> m_entries;         // owned, display order
    int m_importantCount;
    int m_totalDuration;
    int m_scoredCount;
    CProgressWnd* m_pSaveProgress;
    COXParser m_parser;
    BOOL m_reusable;
    SearchCriteria m_criteria;
    CString m_readingPath; // the file being read, for the parse-error message

    DECLARE_MESSAGE_MAP()
};
