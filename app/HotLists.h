// HotLists.h: CHotLists, the process-wide store of the user's "Calls for
// Review": named lists (groups) of links to recordings, kept in "hotlist.xml"
// (see TreeStore.h). A call link's Name is the recording's file name with
// ".zel", its Target the recording's full path.
//
// Without a readable file the store holds five groups: ID 0 at the top level,
// "Links to Recordings...", the root of the hot-lists tree, and below it
// "Important Calls", "Won Sales", "Lost Sales" and "Personal" (IDs 1 to 4).
#pragma once

#include "TreeStore.h"

class CHotLists : public CTreeStore {
public:
    typedef CTreeStore::ENTRY HOTLISTENTRY;

    // Made on first use, without a lock; the application saves and deletes it
    // at exit.
    static CHotLists* GetInstance();
    ~CHotLists() override; // clears the instance pointer

    // Whether a group record has the ID as its parent: the hot-list chooser
    // shows groups only, and gives an expand button to those with groups below.
    BOOL HasChildGroups(int id);

private:
    CHotLists();

    static CHotLists* s_instance;
};
