// HotLists.cpp: the hot-list store's file, element and default groups, and
// its one further query.
#include "HotLists.h"

namespace {

// The root of the hot-lists tree and the hot lists offered at first.
const CTreeStore::DEFAULTENTRY kDefaultHotLists[] = {
    {0, -1, "Links to Recordings..."},
    {1, 0, "Important Calls"},
    {2, 0, "Won Sales"},
    {3, 0, "Lost Sales"},
    {4, 0, "Personal"},
};

const CTreeStore::LAYOUT kHotListLayout = {
    "HOTLISTS",         // the lock's label
    "hotlist.xml",      // in the all-users configuration folder
    "hotlist",          // one record
    "Calls for Review", // as the user is told of an unreadable file
    kDefaultHotLists,   // the content without a readable file
    sizeof(kDefaultHotLists) / sizeof(kDefaultHotLists[0]),
};

} // namespace

CHotLists* CHotLists::s_instance = nullptr;

CHotLists* CHotLists::GetInstance() {
    if (!s_instance)
        s_instance = new CHotLists;
    return s_instance;
}

CHotLists::CHotLists() : CTreeStore(kHotListLayout) {}

CHotLists::~CHotLists() {
    if (s_instance == this)
        s_instance = nullptr;
}

BOOL CHotLists::HasChildGroups(int id) {
    for (INT_PTR i = 0; i < m_entries.GetSize(); ++i) {
        const HOTLISTENTRY* entry = m_entries[i];
        if (entry && entry->ParentID == id && entry->IsGroup != 0)
            return TRUE;
    }
    return FALSE;
}
