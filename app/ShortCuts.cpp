// ShortCuts.cpp: the shortcut store's file, element and default group.
#include "ShortCuts.h"

namespace {

const CTreeStore::DEFAULTENTRY kDefaultShortcuts[] = {
    {0, -1, "Shortcuts to Sources.."},
};

const CTreeStore::LAYOUT kShortcutLayout = {
    "SHORTCUTS",       // the lock's label
    "shortcut.xml",    // in the all-users configuration folder
    "shortcut",        // one record
    "shortcuts",       // as the user is told of an unreadable file
    kDefaultShortcuts, // the content without a readable file
    sizeof(kDefaultShortcuts) / sizeof(kDefaultShortcuts[0]),
};

} // namespace

CShortCuts* CShortCuts::s_instance = nullptr;

CShortCuts* CShortCuts::GetInstance() {
    if (!s_instance)
        s_instance = new CShortCuts;
    return s_instance;
}

CShortCuts::CShortCuts() : CTreeStore(kShortcutLayout) {}

CShortCuts::~CShortCuts() {
    if (s_instance == this)
        s_instance = nullptr;
}
