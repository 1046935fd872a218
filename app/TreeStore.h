// TreeStore.h: CTreeStore, the process-wide store of records that form a tree by
// parent links, read from an XML file of the all-users configuration folder at
// start-up and written back at exit; the common part of CShortCuts
// ("shortcut.xml"), CHotLists ("hotlist.xml") and CCallScore ("CallScore.xml").
// CTreeStore::ENTRY is the record of all three, so the trees over them share
// their code.
//
// The file, unless a store reads and writes a format of its own (ReadRecords,
// WriteRecords): a root "profile" (version "1") with one element per record,
// named by the store, carrying the attribute "ID" and the child elements
// "ParentID", "Name", "Target" and "IsGroup" in that order. Names and targets
// read back as they were written, markup characters, blanks and accented
// letters included; a file written by an older version in the ANSI code page
// is read as such.
//
// A missing (or empty) file gives the store's default records. A file that is
// there but cannot be read is renamed to "<name>.unreadable-YYYYMMDD-HHMMSS"
// beside it and the user is told; the store then starts with its defaults.
// When it cannot be renamed it is kept as it is and never saved over.
//
// A record that names itself as its parent is never stored, whether added or
// read from the file.
//
// Every query is a linear scan in store order: the stores hold tens of
// records. All callers run on the user-interface thread; the lock guards the
// scans of GetEntry, GetEntryCopy, FindFirst and FindNext and the appends of
// Load, and none of them calls another, since the lock is not re-entrant.
#pragma once

#include "AfxString.h"
#include "framework/PtrCollections.h"

#include <unordered_set>

class CKWLoggedSemaphore;

class CTreeStore {
public:
    struct ENTRY {
        int ID;         // unique within the store
        int ParentID;   // ID of the group holding the record; -1 at the top level
        CString Name;   // the label shown in the tree
        CString Target; // a shortcut's folder or a call link's recording; empty for a group
        int IsGroup;    // 1 group, 0 shortcut or call link
    };
    // The kinds of FindFirst and FindNext: match the key against ID or ParentID.
    enum { FIND_BY_ID = 0, FIND_BY_PARENT = 1 };

    // A record of the built-in content, used when the file cannot be read.
    struct DEFAULTENTRY {
        int ID;
        int ParentID;
        const char* Name;
    };
    struct LAYOUT {
        const char* LockLabel;        // "SHORTCUTS", "HOTLISTS"
        const char* FileName;         // in the all-users configuration folder
        const char* ElementName;      // of one record below the root
        const char* What;             // the content, as the user is told of it
        const DEFAULTENTRY* Defaults; // groups, in store order
        int DefaultCount;
    };

    virtual ~CTreeStore(); // deletes every record and the lock
    CTreeStore(const CTreeStore&) = delete;
    CTreeStore& operator=(const CTreeStore&) = delete;

    // Called once, on an empty store, at start-up.
    void Load();
    // Writes every record, in store order. False when nothing was written: the
    // store is empty (the file is left as it is), the unreadable file at start
    // could not be moved aside, or the write failed (the old file then stays).
    bool Save();

    // One more than the highest ID; 0 for an empty store, so that a new record
    // is never -1, the top level's parent, and so never its own parent.
    int GetNextID();
    // Appends a copy unless a record has its ID, or the record would be its own
    // parent (a tree filling the children of such a record never ends).
    BOOL AddEntry(const ENTRY& entry);
    // Deletes the first record with the ID; the records below it stay.
    BOOL RemoveEntry(int id);
    BOOL Contains(int id);
    BOOL HasChildren(int id);
    // The stored record itself: changes made through it are saved with the
    // store. Valid until the record is removed.
    ENTRY* GetEntry(int id);
    BOOL GetEntryCopy(int id, ENTRY& out);
    // The first / next record in store order whose ID (FIND_BY_ID) or ParentID
    // (FIND_BY_PARENT) is the key; null at the end or for another kind. The
    // cursor is shared: one walk must end before the next begins.
    ENTRY* FindFirst(int key, int kind);
    ENTRY* FindNext(int key, int kind);
    // The number of records.
    int GetCount() const { return static_cast<int>(m_entries.GetSize()); }

protected:
    explicit CTreeStore(const LAYOUT& layout);

    // What reading the file gave: its records (none, perhaps), nothing to read
    // (the defaults then), or a file that is there but cannot be read (moved
    // aside, then the defaults).
    enum READRESULT { READ_DONE, READ_NOTHING, READ_UNREADABLE };
    // The store's file format. ReadRecords appends the file's records through
    // AppendRead; WriteRecords writes every record, true when the file was
    // replaced. The store's own checks (empty store, file kept) come first.
    virtual READRESULT ReadRecords(const CString& path);
    virtual bool WriteRecords(const CString& path);
    // Appends a record read from the file, under the lock: not when its ID is
    // among the IDs read so far (the first one wins) or it names itself as its
    // parent. The set keeps a file of thousands of records from being read in
    // quadratic time; the store is empty when Load starts.
    void AppendRead(const ENTRY& entry, std::unordered_set<int>& ids);

    // The records, in the order they were added; owns each.
    CTypedPtrArray<CPtrArray, ENTRY*> m_entries;

private:
    ENTRY* Scan(int start, int key, int kind);
    void AddDefaults();
    void MoveAsideUnreadable(const CString& path);

    LAYOUT m_layout;            // its defaults point to a static table of the derived store
    CKWLoggedSemaphore* m_lock; // owns; null when it could not be allocated
    int m_cursor;               // index of the last match of FindFirst/FindNext; -1 none
    // Set when the file could neither be read nor renamed at start-up: saving
    // over it would throw away whatever the user had in it.
    bool m_keepFile;
};
