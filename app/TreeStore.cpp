// TreeStore.cpp: the tree store's records, queries and file.
#include "TreeStore.h"

#include "Common/KWSemaphore.h"
#include "Common/KWXMLSettings.h"
#include "Common/SetAsideFile.h"
#include "Common/Settings.h"
#include "Common/TraceLog.h"
#include "framework/WinApp.h"

#include <new>

namespace {

void AddTextElement(TiXmlElement* record, const char* name, const char* text) {
    CKWXMLSettings::AddText(CKWXMLSettings::AddElement(record, name), text);
}

void AddIntElement(TiXmlElement* record, const char* name, int value) {
    CKWXMLSettings::AddIntText(CKWXMLSettings::AddElement(record, name), value);
}

} // namespace

CTreeStore::CTreeStore(const LAYOUT& layout)
    : m_layout(layout), m_lock(new (std::nothrow) CKWLoggedSemaphore(layout.LockLabel, false)),
      m_cursor(-1), m_keepFile(false) {
    if (!m_lock)
        KWTRACE_ERROR(("Failed to allocate memory for file list semaphore."));
}

CTreeStore::~CTreeStore() {
    for (INT_PTR i = 0; i < m_entries.GetSize(); ++i)
        delete m_entries[i];
    m_entries.RemoveAll();
    delete m_lock;
}

void CTreeStore::AddDefaults() {
    for (int i = 0; i < m_layout.DefaultCount; ++i) {
        const DEFAULTENTRY& group = m_layout.Defaults[i];
        AddEntry(ENTRY{group.ID, group.ParentID, group.Name, CString(), 1});
    }
}

// The user is told once, after the file is out of the way, so the next start
// does not tell it again.
void CTreeStore::MoveAsideUnreadable(const CString& path) {
    CString backup, notice;
    if (MoveAside(path, backup)) {
        KWTRACE_ERROR(("%s cannot be read; kept as %s.", path.GetString(), backup.GetString()));
        notice.Format("Your %s could not be read from\n%s\n\nThe file has been kept as\n%s\n\n"
                      "The program starts with the default %s.",
                      m_layout.What, path.GetString(), backup.GetString(), m_layout.What);
    } else {
        m_keepFile = true;
        KWTRACE_ERROR(("%s cannot be read; it will not be saved over.", path.GetString()));
        notice.Format("Your %s could not be read from\n%s\n\nThe program starts with the "
                      "default %s and cannot save changes while that file is there.",
                      m_layout.What, path.GetString(), m_layout.What);
    }
    AfxMessageBox(notice, MB_OK | MB_ICONEXCLAMATION);
}

void CTreeStore::Load() {
    CString path = CSettings::GetConfigFilePath(TRUE, m_layout.FileName);
    switch (ReadRecords(path)) {
    case READ_DONE:
        return;
    case READ_UNREADABLE:
        MoveAsideUnreadable(path);
        break;
    case READ_NOTHING:
        break;
    }
    AddDefaults();
}

void CTreeStore::AppendRead(const ENTRY& entry, std::unordered_set<int>& ids) {
    if (ids.count(entry.ID))
        return;
    if (entry.ParentID == entry.ID) {
        KWTRACE_ERROR(
            ("%s: record %d names itself as its parent; skipped.", m_layout.FileName, entry.ID));
        return;
    }
    ids.insert(entry.ID);
    CKWSemaphoreGuard hold(m_lock, __FILE__, __LINE__);
    m_entries.Add(new ENTRY(entry));
}

CTreeStore::READRESULT CTreeStore::ReadRecords(const CString& path) {
    CKWXMLSettings* xml = CKWXMLSettings::GetInstance();
    CString rootName, version;
    if (!xml->Load(path, rootName, version))
        return HoldsSomething(path) ? READ_UNREADABLE : READ_NOTHING;
    // The root's name and version are not checked: any root is read.
    TiXmlElement* root = xml->GetRootElement();
    std::unordered_set<int> ids;
    for (TiXmlElement* element = CKWXMLSettings::GetChild(root, m_layout.ElementName); element;
         element = CKWXMLSettings::NextSibling(element, m_layout.ElementName)) {
        ENTRY entry;
        CKWXMLSettings::GetIntAttribute(element, "ID", entry.ID, 0);
        CKWXMLSettings::GetIntValue(CKWXMLSettings::GetChild(element, "ParentID"), entry.ParentID,
                                    0);
        CKWXMLSettings::GetStringValue(CKWXMLSettings::GetChild(element, "Name"), entry.Name, "");
        CKWXMLSettings::GetStringValue(CKWXMLSettings::GetChild(element, "Target"), entry.Target,
                                       "");
        CKWXMLSettings::GetIntValue(CKWXMLSettings::GetChild(element, "IsGroup"), entry.IsGroup, 0);
        AppendRead(entry, ids);
    }
    return READ_DONE;
}

bool CTreeStore::Save() {
    if (m_entries.GetSize() == 0)
        return false;
    if (m_keepFile) {
        KWTRACE_ERROR(("%s not saved: the unreadable file is kept.", m_layout.FileName));
        return false;
    }
    return WriteRecords(CSettings::GetConfigFilePath(TRUE, m_layout.FileName));
}

bool CTreeStore::WriteRecords(const CString& path) {
    CKWXMLSettings* xml = CKWXMLSettings::GetInstance();
    TiXmlElement* root = xml->CreateDocument(path, "profile", "1");
    for (INT_PTR i = 0; i < m_entries.GetSize(); ++i) {
        const ENTRY* entry = m_entries[i];
        TiXmlElement* record = CKWXMLSettings::AddElement(root, m_layout.ElementName);
        CKWXMLSettings::SetAttribute(record, "ID", entry->ID);
        AddIntElement(record, "ParentID", entry->ParentID);
        AddTextElement(record, "Name", entry->Name);
        AddTextElement(record, "Target", entry->Target);
        AddIntElement(record, "IsGroup", entry->IsGroup);
    }
    return xml->Save();
}

int CTreeStore::GetNextID() {
    int next = 0;
    for (INT_PTR i = 0; i < m_entries.GetSize(); ++i) {
        if (m_entries[i] && m_entries[i]->ID >= next)
            next = m_entries[i]->ID + 1;
    }
    return next;
}

BOOL CTreeStore::AddEntry(const ENTRY& entry) {
    if (entry.ID == entry.ParentID || Contains(entry.ID))
        return FALSE;
    m_entries.Add(new ENTRY(entry));
    return TRUE;
}

BOOL CTreeStore::RemoveEntry(int id) {
    for (INT_PTR i = 0; i < m_entries.GetSize(); ++i) {
        if (m_entries[i] && m_entries[i]->ID == id) {
            delete m_entries[i];
            m_entries.RemoveAt(i);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CTreeStore::Contains(int id) {
    for (INT_PTR i = 0; i < m_entries.GetSize(); ++i) {
        if (m_entries[i] && m_entries[i]->ID == id)
            return TRUE;
    }
    return FALSE;
}

BOOL CTreeStore::HasChildren(int id) {
    for (INT_PTR i = 0; i < m_entries.GetSize(); ++i) {
        if (m_entries[i] && m_entries[i]->ParentID == id)
            return TRUE;
    }
    return FALSE;
}

CTreeStore::ENTRY* CTreeStore::GetEntry(int id) {
    CKWSemaphoreGuard hold(m_lock, __FILE__, __LINE__);
    for (INT_PTR i = 0; i < m_entries.GetSize(); ++i) {
        if (m_entries[i] && m_entries[i]->ID == id)
            return m_entries[i];
    }
    return nullptr;
}

BOOL CTreeStore::GetEntryCopy(int id, ENTRY& out) {
    CKWSemaphoreGuard hold(m_lock, __FILE__, __LINE__);
    for (INT_PTR i = 0; i < m_entries.GetSize(); ++i) {
        if (m_entries[i] && m_entries[i]->ID == id) {
            out = *m_entries[i];
            return TRUE;
        }
    }
    return FALSE;
}

// The cursor moves to the match, or to -1 when none is left.
CTreeStore::ENTRY* CTreeStore::Scan(int start, int key, int kind) {
    m_cursor = -1;
    if (kind != FIND_BY_ID && kind != FIND_BY_PARENT)
        return nullptr;
    CKWSemaphoreGuard hold(m_lock, __FILE__, __LINE__);
    for (INT_PTR i = start; i < m_entries.GetSize(); ++i) {
        ENTRY* entry = m_entries[i];
        if (entry && (kind == FIND_BY_ID ? entry->ID : entry->ParentID) == key) {
            m_cursor = static_cast<int>(i);
            return entry;
        }
    }
    return nullptr;
}

CTreeStore::ENTRY* CTreeStore::FindFirst(int key, int kind) {
    return Scan(0, key, kind);
}

CTreeStore::ENTRY* CTreeStore::FindNext(int key, int kind) {
    if (m_cursor < 0)
        return nullptr;
    return Scan(m_cursor + 1, key, kind);
}
