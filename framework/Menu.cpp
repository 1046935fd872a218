// Menu.cpp: the menu wrapper and its handle map.
#include "Menu.h"

#include "AfxResource.h"
#include "HandleMap.h"
#include "Wnd.h"

#include <memory>
#include <vector>

IMPLEMENT_DYNAMIC(CMenu, CObject)

namespace {

using CMenuMap = CHandleMap<CMenu, HMENU>;

// The popup that TrackPopupMenu runs on this thread, and its window; nested
// tracking (a handler that opens another popup) keeps the outer pair meanwhile.
thread_local HMENU t_hTrackingMenu = nullptr;
thread_local HWND t_hTrackingWindow = nullptr;

} // namespace

// ---------------------------------------------------------------------------
// Handles and ownership

CMenu::~CMenu() {
    DestroyMenu();
}

CMenu* PASCAL CMenu::FromHandle(HMENU hMenu) {
    if (hMenu == nullptr || !::IsMenu(hMenu))
        return nullptr;
    CMenuMap* pMap = CMenuMap::ForThisThread();
    if (pMap == nullptr)
        return nullptr;
    if (CMenu* pOwner = pMap->LookupPermanent(hMenu))
        return pOwner;
    CMenu* pTemporary = pMap->LookupTemporary(hMenu);
    if (pTemporary != nullptr && pTemporary->m_hMenu == hMenu)
        return pTemporary;
    return pMap->AddTemporary(hMenu, std::make_unique<CMenuHandle>(hMenu));
}

CMenu* PASCAL CMenu::FromHandlePermanent(HMENU hMenu) {
    if (hMenu == nullptr)
        return nullptr;
    CMenuMap* pMap = CMenuMap::ForThisThread();
    return pMap == nullptr ? nullptr : pMap->LookupPermanent(hMenu);
}

void PASCAL CMenu::DeleteTempMap() {
    if (CMenuMap* pMap = CMenuMap::ForThisThread())
        pMap->DeleteTemporaries();
}

BOOL CMenu::Attach(HMENU hMenu) {
    ASSERT(m_hMenu == nullptr);
    if (m_hMenu != nullptr || hMenu == nullptr || !::IsMenu(hMenu))
        return FALSE;
    if (CMenuMap* pMap = CMenuMap::ForThisThread()) {
        // Two owners would destroy the menu twice.
        CMenu* pOwner = pMap->LookupPermanent(hMenu);
        if (pOwner != nullptr && pOwner != this)
            return FALSE;
        pMap->SetPermanent(hMenu, this);
    }
    m_hMenu = hMenu;
    return TRUE;
}

BOOL CMenu::AttachNew(HMENU hMenu) {
    if (hMenu == nullptr)
        return FALSE;
    if (!Attach(hMenu)) {
        ::DestroyMenu(hMenu);
        return FALSE;
    }
    return TRUE;
}

void CMenu::ForgetHandle() {
    if (m_hMenu != nullptr)
        if (CMenuMap* pMap = CMenuMap::ForThisThread())
            pMap->RemovePermanent(m_hMenu, this);
    m_hMenu = nullptr;
}

HMENU CMenu::Detach() {
    HMENU hMenu = m_hMenu;
    ForgetHandle();
    return hMenu;
}

void PASCAL CMenu::CollectSubmenuOwners(HMENU hMenu, std::vector<CMenu*>& owners, int nDepth) {
    // Menus nest a few levels; the limit only guards against a menu made to hold
    // itself.
    const int kMaxDepth = 32;
    CMenuMap* pMap = CMenuMap::ForThisThread();
    if (pMap == nullptr || hMenu == nullptr || nDepth > kMaxDepth)
        return;
    if (nDepth > 0)
        if (CMenu* pOwner = pMap->LookupPermanent(hMenu))
            owners.push_back(pOwner);
    const int nCount = ::GetMenuItemCount(hMenu);
    for (int i = 0; i < nCount; ++i)
        CollectSubmenuOwners(::GetSubMenu(hMenu, i), owners, nDepth + 1);
}

BOOL CMenu::DestroyMenu() {
    if (m_hMenu == nullptr)
        return FALSE;
    std::vector<CMenu*> owners;
    CollectSubmenuOwners(m_hMenu, owners);
    BOOL bDestroyed = ::DestroyMenu(Detach());
    if (bDestroyed)
        for (CMenu* pOwner : owners)
            pOwner->ForgetHandle();
    return bDestroyed;
}

BOOL CMenu::CreateMenu() {
    ASSERT(m_hMenu == nullptr);
    return m_hMenu == nullptr && AttachNew(::CreateMenu());
}

BOOL CMenu::CreatePopupMenu() {
    ASSERT(m_hMenu == nullptr);
    return m_hMenu == nullptr && AttachNew(::CreatePopupMenu());
}

BOOL CMenu::LoadMenu(LPCTSTR lpszResourceName) {
    ASSERT(m_hMenu == nullptr);
    if (m_hMenu != nullptr || lpszResourceName == nullptr)
        return FALSE;
    return AttachNew(::LoadMenu(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CMenu::LoadMenu(UINT nIDResource) {
    return LoadMenu(MAKEINTRESOURCE(nIDResource));
}

// ---------------------------------------------------------------------------
// Reading

int CMenu::GetMenuItemCount() const {
    return m_hMenu == nullptr ? -1 : ::GetMenuItemCount(m_hMenu);
}

UINT CMenu::GetMenuItemID(int nPos) const {
    return m_hMenu == nullptr ? static_cast<UINT>(-1) : ::GetMenuItemID(m_hMenu, nPos);
}

CMenu* CMenu::GetSubMenu(int nPos) const {
    return m_hMenu == nullptr ? nullptr : FromHandle(::GetSubMenu(m_hMenu, nPos));
}

UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const {
    return m_hMenu == nullptr ? static_cast<UINT>(-1) : ::GetMenuState(m_hMenu, nID, nFlags);
}

int CMenu::GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const {
    if (m_hMenu == nullptr || lpString == nullptr || nMaxCount <= 0)
        return 0;
    lpString[0] = '\0';
    int nCopied = ::GetMenuString(m_hMenu, nIDItem, lpString, nMaxCount, nFlags);
    // Wine leaves a cut text without its terminating zero.
    lpString[nMaxCount - 1] = '\0';
    return nCopied > 0 ? lstrlen(lpString) : 0;
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
    rString.Empty();
    if (m_hMenu == nullptr)
        return 0;
    // Without a buffer the platform answers the text's length.
    int nLength = ::GetMenuString(m_hMenu, nIDItem, nullptr, 0, nFlags);
    if (nLength <= 0)
        return 0;
    // Through the buffer overload, which keeps the text terminated.
    int nCopied = GetMenuString(nIDItem, rString.GetBuffer(nLength + 1), nLength + 1, nFlags);
    rString.ReleaseBuffer(nCopied);
    return nCopied;
}

BOOL CMenu::GetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos) const {
    if (m_hMenu == nullptr || lpMenuItemInfo == nullptr)
        return FALSE;
    return ::GetMenuItemInfo(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}

UINT CMenu::GetDefaultItem(UINT gmdiFlags, BOOL fByPos) const {
    return m_hMenu == nullptr ? static_cast<UINT>(-1)
                              : ::GetMenuDefaultItem(m_hMenu, fByPos, gmdiFlags);
}

// ---------------------------------------------------------------------------
// Changing

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    return m_hMenu != nullptr && ::AppendMenu(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    return m_hMenu != nullptr && ::InsertMenu(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    return m_hMenu != nullptr && ::ModifyMenu(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::InsertMenuItem(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos) {
    if (m_hMenu == nullptr || lpMenuItemInfo == nullptr)
        return FALSE;
    return ::InsertMenuItem(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}

BOOL CMenu::SetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos) {
    if (m_hMenu == nullptr || lpMenuItemInfo == nullptr)
        return FALSE;
    return ::SetMenuItemInfo(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}

BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags) {
    return m_hMenu != nullptr && ::RemoveMenu(m_hMenu, nPosition, nFlags);
}

BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags) {
    if (m_hMenu == nullptr)
        return FALSE;
    // The submenu goes with the item, and with it the submenus inside it.
    MENUITEMINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_SUBMENU;
    std::vector<CMenu*> owners;
    if (::GetMenuItemInfo(m_hMenu, nPosition, (nFlags & MF_BYPOSITION) != 0, &info) &&
        info.hSubMenu != nullptr) {
        CollectSubmenuOwners(info.hSubMenu, owners);
        if (CMenu* pOwner = FromHandlePermanent(info.hSubMenu))
            owners.push_back(pOwner);
    }
    if (!::DeleteMenu(m_hMenu, nPosition, nFlags))
        return FALSE;
    for (CMenu* pOwner : owners)
        pOwner->ForgetHandle();
    return TRUE;
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
    return m_hMenu == nullptr ? static_cast<UINT>(-1)
                              : ::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable);
}

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck) {
    return m_hMenu == nullptr ? static_cast<UINT>(-1)
                              : ::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck);
}

BOOL CMenu::CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags) {
    return m_hMenu != nullptr && ::CheckMenuRadioItem(m_hMenu, nIDFirst, nIDLast, nIDItem, nFlags);
}

BOOL CMenu::SetDefaultItem(UINT uItem, BOOL fByPos) {
    return m_hMenu != nullptr && ::SetMenuDefaultItem(m_hMenu, uItem, fByPos);
}

// ---------------------------------------------------------------------------
// Tracking and owner drawing

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
    HWND hWnd = pWnd != nullptr ? pWnd->GetSafeHwnd() : nullptr;
    if (m_hMenu == nullptr || hWnd == nullptr || !::IsWindow(hWnd))
        return FALSE;
    HMENU hOuterMenu = t_hTrackingMenu;
    HWND hOuterWindow = t_hTrackingWindow;
    t_hTrackingMenu = m_hMenu;
    t_hTrackingWindow = hWnd;
    BOOL bResult = ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, hWnd, lpRect);
    t_hTrackingMenu = hOuterMenu;
    t_hTrackingWindow = hOuterWindow;
    return bResult;
}

HMENU PASCAL CMenu::GetTrackingMenu() {
    return t_hTrackingMenu;
}

HWND PASCAL CMenu::GetTrackingWindow() {
    return t_hTrackingWindow;
}

void CMenu::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    // An owner-drawn item whose menu class does not measure it: a programming
    // error; the platform then uses the size it was given.
    TRACE("CMenu::MeasureItem: item %u has no measuring menu class\n",
          lpMeasureItemStruct != nullptr ? lpMeasureItemStruct->itemID : 0);
    ASSERT(FALSE);
}

void CMenu::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    TRACE("CMenu::DrawItem: item %u has no drawing menu class\n",
          lpDrawItemStruct != nullptr ? lpDrawItemStruct->itemID : 0);
    ASSERT(FALSE);
}
