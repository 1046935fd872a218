// ShortCuts.h: CShortCuts, the process-wide store of the user's shortcuts to
// the folders where recordings lie, in groups: the content of the Access
// Panel's "My Shortcuts" tree, kept in "shortcut.xml" (see TreeStore.h).
//
// Without a readable file the store holds one group, ID 0 at the top level,
// "Shortcuts to Sources..", the root of the shortcut tree.
#pragma once

#include "TreeStore.h"

class CShortCuts : public CTreeStore {
public:
    typedef CTreeStore::ENTRY SHORTCUTENTRY;

    // Made on first use, without a lock; the application saves and deletes it
    // at exit.
    static CShortCuts* GetInstance();
    ~CShortCuts() override; // clears the instance pointer

private:
    CShortCuts();

    static CShortCuts* s_instance;
};
