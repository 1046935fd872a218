// OXShortcutBarMenu.cpp: COXShortcutBar's context menu and its commands, the
// in-place editing of a header's text and the item commands that act on the
// expanded group's list.
#include "OXShortcutBar.h"

#include "OXSHBListCtrl.h"

#include "Common/TraceLog.h"
#include "framework/CmdUI.h"
#include "framework/Menu.h"

namespace {

// The menu texts of the bar's own commands. The two item commands get theirs
// from the list that adds them.
const char kTextLargeIcons[] = "Large Icons";
const char kTextSmallIcons[] = "Small Icons";
const char kTextNewGroup[] = "New Group";
const char kTextRemoveGroup[] = "Remove Group";
const char kTextRenameGroup[] = "Rename Group";

BOOL ContainsRect(const CRect& outer, const CRect& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

} // namespace

// ---------------------------------------------------------------------------
// Context menu

void COXShortcutBar::OnContextMenu(CWnd*, CPoint point) {
    StopAutoExpand();
    CMenu menu;
    if (!menu.CreatePopupMenu())
        return;

    CPoint ptClient = point;
    ScreenToClient(&ptClient);
    UINT nHit = SHB_NOWHERE;
    HSHBGROUP hHitGroup = HitTest(ptClient, &nHit);
    HSHBGROUP hGroup = nHit == SHB_ONHEADER ? hHitGroup : m_hExpandedGroup;
    m_hContextMenuGroup = hGroup;

    const BOOL bEditHeaders = (m_dwBarStyle & SHBS_EDITHEADERS) != 0;
    if (bEditHeaders)
        menu.AppendMenu(MF_STRING, SHB_IDMADDGROUP, kTextNewGroup);
    if (hGroup != nullptr) {
        if (bEditHeaders)
            menu.AppendMenu(MF_SEPARATOR);
        menu.AppendMenu(MF_STRING | MF_CHECKED, SHB_IDMLARGEICON, kTextLargeIcons);
        menu.AppendMenu(MF_STRING | MF_CHECKED, SHB_IDMSMALLICON, kTextSmallIcons);
        if (bEditHeaders) {
            menu.AppendMenu(MF_SEPARATOR);
            menu.AppendMenu(MF_STRING, SHB_IDMREMOVEGROUP, kTextRemoveGroup);
            menu.AppendMenu(MF_STRING, SHB_IDMRENAMEGROUP, kTextRenameGroup);
        }
    }
    if (m_hExpandedGroup != nullptr) {
        const BOOL bLarge = GetGroupView(m_hExpandedGroup) == SHB_LARGEICON;
        menu.CheckMenuItem(SHB_IDMLARGEICON, MF_BYCOMMAND | (bLarge ? MF_CHECKED : MF_UNCHECKED));
        menu.CheckMenuItem(SHB_IDMSMALLICON, MF_BYCOMMAND | (bLarge ? MF_UNCHECKED : MF_CHECKED));
    }

    SHBCONTEXTMENU contextMenu;
    contextMenu.pMenu = &menu;
    contextMenu.pShortcutBar = this;
    contextMenu.hGroup = hGroup;
    contextMenu.point = point;
    if (nHit == SHB_ONCHILD) {
        // The expanded group's list adds its item commands.
        HWND hWndChild = GetGroupChildWndHandle(m_hExpandedGroup);
        if (hWndChild != nullptr)
            ::SendMessageA(hWndChild, SHBM_POPULATECONTEXTMENU, 0,
                           reinterpret_cast<LPARAM>(&contextMenu));
    }

    if (SendSHBNotification(SHBN_CONTEXTMENU, hGroup, -1, reinterpret_cast<LPARAM>(&contextMenu)) ==
            0 &&
        menu.GetMenuItemCount() > 0)
        menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
}

// ---------------------------------------------------------------------------
// Commands

void COXShortcutBar::OnLargeIcon() {
    if (m_hExpandedGroup == nullptr || GetGroupView(m_hExpandedGroup) == SHB_LARGEICON)
        return;
    SetGroupView(m_hExpandedGroup, SHB_LARGEICON);
    ShowChildWnd(m_hExpandedGroup, TRUE);
}

void COXShortcutBar::OnSmallIcon() {
    if (m_hExpandedGroup == nullptr || GetGroupView(m_hExpandedGroup) == SHB_SMALLICON)
        return;
    SetGroupView(m_hExpandedGroup, SHB_SMALLICON);
    ShowChildWnd(m_hExpandedGroup, TRUE);
}

void COXShortcutBar::OnUpdateLargeIcon(CCmdUI* pCmdUI) {
    if (m_hExpandedGroup != nullptr)
        pCmdUI->SetCheck(GetGroupView(m_hExpandedGroup) == SHB_LARGEICON);
}

void COXShortcutBar::OnUpdateSmallIcon(CCmdUI* pCmdUI) {
    if (m_hExpandedGroup != nullptr)
        pCmdUI->SetCheck(GetGroupView(m_hExpandedGroup) == SHB_SMALLICON);
}

void COXShortcutBar::OnAddGroup() {
    SHB_GROUPINFO info;
    info.nMask = SHBIF_TEXT;
    info.pszText = const_cast<LPTSTR>("");
    info.nTextMax = 0;
    HSHBGROUP hGroup = InsertGroup(&info);
    if (hGroup == nullptr)
        return;
    if (GetGroupCount() == 1) {
        ExpandGroup(hGroup);
    } else {
        CalculateBoundRects();
        UpdateBar();
    }
    EditGroupHeader(hGroup);
}

void COXShortcutBar::OnRemoveGroup() {
    if (m_hContextMenuGroup != nullptr && DeleteGroup(m_hContextMenuGroup))
        m_hContextMenuGroup = nullptr;
}

void COXShortcutBar::OnRenameGroup() {
    if (m_hContextMenuGroup != nullptr)
        EditGroupHeader(m_hContextMenuGroup);
}

namespace {

// The expanded group's own list and, in nItem, the item the list's item
// commands act on: the hot one, else the one that was hot last (the mouse left
// the list for the menu). Null when there is no such list or item.
COXSHBListCtrl* CommandList(const COXShortcutBar* pBar, int& nItem) {
    nItem = -1;
    HSHBGROUP hGroup = pBar->GetExpandedGroup();
    if (hGroup == nullptr || pBar->GetGroupChildWnd(hGroup) != nullptr)
        return nullptr;
    COXSHBListCtrl* pList = pBar->GetGroupListCtrl(hGroup);
    if (pList == nullptr)
        return nullptr;
    nItem = pList->GetHotItem();
    if (nItem == -1)
        nItem = pList->GetLastHotItem();
    return nItem != -1 ? pList : nullptr;
}

} // namespace

void COXShortcutBar::OnRemoveItem() {
    int nItem;
    if (CommandList(this, nItem) != nullptr)
        DeleteLCItem(m_hExpandedGroup, nItem);
}

void COXShortcutBar::OnRenameItem() {
    int nItem;
    COXSHBListCtrl* pList = CommandList(this, nItem);
    if (pList == nullptr)
        return;
    pList->EnsureVisible(nItem, FALSE);
    EditLCItem(m_hExpandedGroup, nItem);
}

BOOL COXShortcutBar::DeleteLCItem(HSHBGROUP hGroup, int nItem) {
    COXSHBListCtrl* pList = GetGroupListCtrl(hGroup);
    if (pList == nullptr || !::IsWindow(pList->GetSafeHwnd())) {
        KWTRACE_ERROR(("COXShortcutBar::DeleteLCItem: list control wasn't created\n"));
        return FALSE;
    }
    return pList->DeleteItem(nItem);
}

COXSHBEdit* COXShortcutBar::EditLCItem(HSHBGROUP hGroup, int nItem) {
    if (!(m_dwBarStyle & SHBS_EDITITEMS)) {
        KWTRACE_ERROR(("COXShortcutBar::EditLCItem: cannot edit item - SHBS_EDITITEMS style "
                       "wasn't set"));
        return nullptr;
    }
    COXSHBListCtrl* pList = GetGroupListCtrl(hGroup);
    if (pList == nullptr || !::IsWindow(pList->GetSafeHwnd())) {
        KWTRACE_ERROR(("COXShortcutBar::EditLCItem: list control wasn't created"));
        return nullptr;
    }
    return pList->EditLabel(nItem);
}

// ---------------------------------------------------------------------------
// Header editing

COXSHBEdit* COXShortcutBar::EditGroupHeader(HSHBGROUP hGroup) {
    if (!(m_dwBarStyle & SHBS_EDITHEADERS)) {
        KWTRACE_ERROR(("COXShortcutBar::EditGroupHeader: cannot edit header - SHBS_EDITHEADERS "
                       "style wasn't set"));
        return nullptr;
    }
    // A group the bar does not hold has no header; its owner is not asked.
    if (m_groups.find(hGroup) == m_groups.end()) {
        KWTRACE_ERROR(("COXShortcutBar::EditGroupHeader: failed to get header rectangle"));
        return nullptr;
    }
    if (m_hEditGroup != nullptr) {
        m_edit.FinishEdit(TRUE);
        m_hEditGroup = nullptr;
    }

    CString sText = GetGroupText(hGroup);
    if (SendSHBNotification(SHBN_BEGINHEADEREDIT, hGroup, -1,
                            reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(sText))))
        return nullptr;

    CRect rectHeader;
    if (!GetGroupHeaderRect(hGroup, &rectHeader)) {
        KWTRACE_ERROR(("COXShortcutBar::EditGroupHeader: failed to get header rectangle"));
        return nullptr;
    }
    if (rectHeader.IsRectEmpty()) {
        KWTRACE_ERROR(("COXShortcutBar::EditGroupHeader: header rect is empty"));
        return nullptr;
    }
    CRect rectClient;
    GetClientRect(&rectClient);
    if (!ContainsRect(rectClient, rectHeader)) {
        KWTRACE_ERROR(("COXShortcutBar::EditGroupHeader: failed to edit - header rectangle is not "
                       "entirely visible"));
        return nullptr;
    }

    // The editor copies the font; this one is borrowed for StartEdit only.
    CFont font;
    LOGFONT logFont;
    BOOL bHasFont = GetGroupHeaderTextFont(hGroup, &logFont) && font.CreateFontIndirect(&logFont);

    SHBE_DISPLAY display;
    display.pszText = sText;
    display.rectDisplay = rectHeader;
    display.dwStyle = WS_BORDER | ES_AUTOHSCROLL;
    display.ptSelection = CPoint(0, -1);
    display.pFont = bHasFont ? &font : nullptr;
    display.nMask = SHBEIF_TEXT | SHBEIF_RECTDISPLAY | SHBEIF_STYLE | SHBEIF_SELRANGE | SHBEIF_FONT;
    if (!m_edit.StartEdit(&display)) {
        KWTRACE_ERROR(("COXShortcutBar::EditGroupHeader: COXSHBEdit::StartEdit failed"));
        return nullptr;
    }
    m_hEditGroup = hGroup;
    return &m_edit;
}

void COXShortcutBar::OnFinishEdit(NMHDR* pNotifyStruct, LRESULT* pResult) {
    const NMSHBEDIT* pNMEdit = reinterpret_cast<const NMSHBEDIT*>(pNotifyStruct);
    // Cleared first: an owner that opens another edit from the notification
    // keeps its group.
    HSHBGROUP hGroup = m_hEditGroup;
    m_hEditGroup = nullptr;
    *pResult = 0;
    if (hGroup == nullptr)
        return;

    if (pNMEdit->bOK) {
        CString sText;
        m_edit.GetWindowText(sText);
        if (SendSHBNotification(SHBN_ENDHEADEREDIT, hGroup, -1,
                                reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(sText))) == 0) {
            if (SetGroupText(hGroup, sText))
                UpdateHeader(hGroup);
            else
                KWTRACE_ERROR(("COXShortcutBar::OnFinishEdit: failed to set text to the group "
                               "header: %s\n",
                               static_cast<LPCTSTR>(sText)));
        }
    } else {
        // The owner hears of the cancelled edit with the text that stays.
        CString sText = GetGroupText(hGroup);
        SendSHBNotification(SHBN_ENDHEADEREDIT, hGroup, -1,
                            reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(sText)));
    }
}
