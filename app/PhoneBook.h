// PhoneBook.h: CPhoneBook, the process-wide list of names and telephone
// numbers that the user imports from a CSV file, and CPhoneBookEntry, one row.
//
// Each import that reads at least one row replaces the whole book and leaves a
// copy of the imported file, "phonebook.csv", in the all-users configuration
// folder; the copy is never read back. An import that reads no row leaves the
// book and "phonebook.csv" as they were.
#pragma once

#include "framework/PtrCollections.h"

class CKWLoggedSemaphore;

class CPhoneBookEntry {
public:
    enum { MAX_TEXT = 128 }; // longer texts are cut to their first 128 characters

    // A leading '9' of the number (the outside-line digit) is dropped; a null
    // text is an empty one.
    CPhoneBookEntry(const char* name, const char* number);
    virtual ~CPhoneBookEntry();

    const char* GetName() const { return m_name; }
    const char* GetNumber() const { return m_number; }

private:
    char m_name[MAX_TEXT + 1];
    char m_number[MAX_TEXT + 1];
};

class CPhoneBook {
public:
    // Made on first use, without a lock; it lives until the process ends.
    static CPhoneBook* GetInstance();
    virtual ~CPhoneBook(); // deletes the entries and the lock, clears the instance
    CPhoneBook(const CPhoneBook&) = delete;
    CPhoneBook& operator=(const CPhoneBook&) = delete;

    // Reads the file (a header line, then name,number rows) and, when it gave at
    // least one row, replaces the book by its rows and copies the file over
    // "phonebook.csv". Returns the rows read: 0 tells the caller the import
    // failed, and the book is then unchanged.
    int ImportCsv(const char* path);
    // Deletes every entry, under the lock.
    void RemoveAll();

    int GetCount() const { return static_cast<int>(m_entries.GetSize()); }
    // Null outside 0..GetCount()-1.
    const CPhoneBookEntry* GetEntry(int index) const;

private:
    CPhoneBook();
    // Deletes the entries and takes over those of rows, under the lock.
    void Replace(CTypedPtrArray<CPtrArray, CPhoneBookEntry*>& rows);
    static void DeleteAll(CTypedPtrArray<CPtrArray, CPhoneBookEntry*>& rows);

    CTypedPtrArray<CPtrArray, CPhoneBookEntry*> m_entries; // in file order; owns each
    CKWLoggedSemaphore* m_lock; // owns; null when it could not be allocated

    static CPhoneBook* s_instance;
};
