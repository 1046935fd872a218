// PhoneBook.cpp: the phone book's rows and its CSV import.
#include "PhoneBook.h"

#include "Common/CsvReader.h"
#include "Common/KWSemaphore.h"
#include "Common/Settings.h"
#include "Common/TraceLog.h"

#include <cstring>
#include <new>
#include <string>

namespace {

const char kPhoneBookCopy[] = "phonebook.csv";

void CopyBounded(char* buffer, const char* text) {
    std::strncpy(buffer, text ? text : "", CPhoneBookEntry::MAX_TEXT);
    buffer[CPhoneBookEntry::MAX_TEXT] = '\0';
}

// A file whose lines end in CR CR LF (written through a text-mode stream from
// CR LF texts) reaches the reader's line end with one CR left over, and that
// CR also kept the quotes of a quoted last field in place: the CRs go, and the
// quotes then go as they would have without them.
std::string CleanField(std::string field) {
    if (field.empty() || field.back() != '\r')
        return field;
    while (!field.empty() && field.back() == '\r')
        field.pop_back();
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"')
        field = field.substr(1, field.size() - 2);
    return field;
}

// Copies the imported file over the kept copy through a sibling file, so that
// a copy that fails midway leaves the earlier copy whole. Failures are only
// traced: the book itself was imported.
void KeepCopy(const char* path) {
    CString target = CSettings::GetConfigFilePath(TRUE, kPhoneBookCopy);
    CString temporary = target + ".new";
    if (!CopyFileA(path, temporary, FALSE)) {
        KWTRACE_ERROR(("Cannot copy %s to %s, error %lu", path, temporary.GetString(),
                       static_cast<unsigned long>(GetLastError())));
        return;
    }
    if (!MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING)) {
        KWTRACE_ERROR(("Cannot replace %s, error %lu", target.GetString(),
                       static_cast<unsigned long>(GetLastError())));
        DeleteFileA(temporary);
    }
}

} // namespace

CPhoneBookEntry::CPhoneBookEntry(const char* name, const char* number) {
    if (number && number[0] == '9')
        ++number;
    CopyBounded(m_number, number);
    CopyBounded(m_name, name);
}

CPhoneBookEntry::~CPhoneBookEntry() = default;

CPhoneBook* CPhoneBook::s_instance = nullptr;

CPhoneBook* CPhoneBook::GetInstance() {
    if (!s_instance)
        s_instance = new CPhoneBook;
    return s_instance;
}

// Without its lock the book still works: only the user-interface thread
// reaches it.
CPhoneBook::CPhoneBook() : m_lock(new (std::nothrow) CKWLoggedSemaphore("PHONE_BOOK", false)) {
    if (!m_lock)
        KWTRACE_ERROR(("Failed to allocate memory for file list semaphore."));
}

CPhoneBook::~CPhoneBook() {
    DeleteAll(m_entries);
    delete m_lock;
    if (s_instance == this)
        s_instance = nullptr;
}

void CPhoneBook::DeleteAll(CTypedPtrArray<CPtrArray, CPhoneBookEntry*>& rows) {
    for (INT_PTR i = 0; i < rows.GetSize(); ++i)
        delete rows[i];
    rows.RemoveAll();
}

void CPhoneBook::RemoveAll() {
    bool locked = m_lock && m_lock->Lock(__FILE__, __LINE__);
    DeleteAll(m_entries);
    if (locked)
        m_lock->Unlock(__FILE__, __LINE__);
}

void CPhoneBook::Replace(CTypedPtrArray<CPtrArray, CPhoneBookEntry*>& rows) {
    bool locked = m_lock && m_lock->Lock(__FILE__, __LINE__);
    DeleteAll(m_entries);
    m_entries.Append(rows);
    rows.RemoveAll();
    if (locked)
        m_lock->Unlock(__FILE__, __LINE__);
}

const CPhoneBookEntry* CPhoneBook::GetEntry(int index) const {
    if (index < 0 || index >= m_entries.GetSize())
        return nullptr;
    return m_entries[index];
}

// The rows are read into a list of their own, so that a file that gives none
// leaves the book the user had.
int CPhoneBook::ImportCsv(const char* path) {
    CCsvReader reader;
    reader.SetHeaderRows(1);
    if (!reader.Open(path))
        return 0;
    reader.SetQuote('"', CCsvReader::MODE_UNQUOTING);
    reader.SetSeparator(',');
    reader.SetLineEnd('\n');
    CTypedPtrArray<CPtrArray, CPhoneBookEntry*> rows;
    while (reader.HasMore()) {
        std::vector<std::string> fields = reader.ReadRow();
        // Empty and one-column lines have no number.
        if (fields.size() < 2)
            continue;
        rows.Add(new CPhoneBookEntry(CleanField(fields[0]).c_str(), CleanField(fields[1]).c_str()));
    }
    int count = static_cast<int>(rows.GetSize());
    if (count == 0)
        return 0;
    Replace(rows);
    KeepCopy(path);
    return count;
}
