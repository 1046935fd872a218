// QuestionsTree.cpp: the question repository's tree: filling, marks, the
// context menu, adding, editing, renaming, removing, export and import; and
// the tree's window with a toolbar.
#include "QuestionsTree.h"

#include "AppPaths.h"
#include "QuestionEditDlg.h"
#include "QuestionsRes.h"
#include "ScoringRes.h"
#include "SlicedImageList.h"
#include "resource.h"

#include "Common/TraceLog.h"

#include "framework/CmdUI.h"
#include "framework/CommonDialogs.h"
#include "framework/WinApp.h"

BEGIN_MESSAGE_MAP(CQuestionsTree, CTreeCtrl)
ON_WM_CREATE()
ON_WM_LBUTTONDOWN()
ON_WM_RBUTTONDOWN()
ON_WM_RBUTTONUP()
ON_NOTIFY_REFLECT(TVN_ITEMEXPANDING, &CQuestionsTree::OnItemExpanding)
ON_NOTIFY_REFLECT(TVN_BEGINLABELEDIT, &CQuestionsTree::OnBeginLabelEdit)
ON_NOTIFY_REFLECT(TVN_ENDLABELEDIT, &CQuestionsTree::OnEndLabelEdit)
ON_NOTIFY_REFLECT(TVN_DELETEITEM, &CQuestionsTree::OnDeleteItem)
ON_NOTIFY_REFLECT_EX(NM_DBLCLK, &CQuestionsTree::OnDblClick)
ON_COMMAND(ID_EDIT_NAME, &CQuestionsTree::OnEditName)
ON_COMMAND(ID_DELETE_SELECTED, &CQuestionsTree::OnDeleteSelected)
END_MESSAGE_MAP()

namespace {
const int kImageWidth = 16;
const int kImageHeight = 18;
const int kImageCount = 3;
const char kExportFileName[] = "CallScorePredefinedQuestions.xml";
const char kExportFilter[] = "Call Score question repository (*.xml)|*.xml||";
} // namespace

CQuestionsTree::CQuestionsTree() : Editable(TRUE) {}

CQuestionsTree::~CQuestionsTree() = default;

// ---------------------------------------------------------------------------
// Filling

int CQuestionsTree::InitTree() {
    if (GetSafeHwnd() == nullptr)
        return 0;
    m_images.DeleteImageList();
    CreateSlicedImageList(m_images, IDB_QUESTION_TREE_IMAGES, kImageWidth, kImageHeight,
                          kImageCount);
    SetImageList(&m_images, TVSIL_NORMAL);
    SelectItem(nullptr);
    DeleteAllItems();
    InsertChildItems(TVI_ROOT, -1);
    return 1;
}

void CQuestionsTree::ExpandAll() {
    for (HTREEITEM hItem = GetRootItem(); hItem != nullptr; hItem = GetNextTreeItem(hItem)) {
        if (ItemHasChildren(hItem))
            Expand(hItem, TVE_EXPAND);
    }
}

HTREEITEM CQuestionsTree::GetNextTreeItem(HTREEITEM hItem) const {
    if (hItem == nullptr)
        return nullptr;
    HTREEITEM hChild = GetChildItem(hItem);
    if (hChild != nullptr)
        return hChild;
    for (; hItem != nullptr; hItem = GetParentItem(hItem)) {
        HTREEITEM hNext = GetNextSiblingItem(hItem);
        if (hNext != nullptr)
            return hNext;
    }
    return nullptr;
}

std::vector<CQuestionsTree::ENTRY> CQuestionsTree::GetChildEntries(LONG nParentID) {
    std::vector<ENTRY> children;
    CQuestionRepository& repository = Repository();
    for (ENTRY* p = repository.FindFirst(nParentID, CQuestionRepository::FIND_BY_PARENT);
         p != nullptr; p = repository.FindNext(nParentID, CQuestionRepository::FIND_BY_PARENT))
        children.push_back(*p);
    return children;
}

int CQuestionsTree::ImageOf(const ENTRY& entry) {
    if (entry.IsGroup)
        return IMAGE_GROUP;
    return entry.Question.GetType() == CQuestion::TYPE_SCALE ? IMAGE_SCALE : IMAGE_YESNO;
}

HTREEITEM CQuestionsTree::InsertChildItems(HTREEITEM hParent, LONG nParentID) {
    HTREEITEM hLast = nullptr;
    for (const ENTRY& entry : GetChildEntries(nParentID)) {
        HTREEITEM hItem = InsertEntryItem(hParent, entry, Repository().HasChildren(entry.ID));
        if (hItem != nullptr)
            hLast = hItem;
    }
    return hLast;
}

HTREEITEM CQuestionsTree::InsertEntryItem(HTREEITEM hParent, const ENTRY& entry,
                                          BOOL bHasChildren) {
    TVINSERTSTRUCT insert = {};
    insert.hParent = hParent != nullptr ? hParent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN;
    insert.item.pszText = const_cast<LPTSTR>(static_cast<const char*>(entry.GroupName));
    insert.item.iImage = insert.item.iSelectedImage = ImageOf(entry);
    insert.item.lParam = entry.ID;
    insert.item.cChildren = bHasChildren ? 1 : 0;
    return InsertItem(&insert);
}

void CQuestionsTree::FillChildItems(HTREEITEM hItem) {
    if (hItem == nullptr || hItem == TVI_ROOT ||
        (GetItemState(hItem, TVIS_EXPANDEDONCE) & TVIS_EXPANDEDONCE) != 0)
        return;
    if (GetChildItem(hItem) == nullptr)
        InsertChildItems(hItem, static_cast<LONG>(GetItemData(hItem)));
    SetItemState(hItem, TVIS_EXPANDEDONCE, TVIS_EXPANDEDONCE);
}

void CQuestionsTree::SetHasChildren(HTREEITEM hItem, BOOL bHasChildren) {
    TVITEM item = {};
    item.mask = TVIF_CHILDREN;
    item.hItem = hItem;
    item.cChildren = bHasChildren ? 1 : 0;
    SetItem(&item);
}

void CQuestionsTree::OnItemExpanding(NMHDR* pNMHDR, LRESULT* pResult) {
    FillChildItems(reinterpret_cast<NMTREEVIEW*>(pNMHDR)->itemNew.hItem);
    *pResult = 0;
}

// ---------------------------------------------------------------------------
// Items and their entries

CQuestionsTree::ENTRY* CQuestionsTree::GetItemEntry(HTREEITEM hItem) const {
    if (hItem == nullptr || hItem == TVI_ROOT)
        return nullptr;
    return Repository().Find(static_cast<LONG>(GetItemData(hItem)));
}

CQuestion* CQuestionsTree::GetItemQuestion(HTREEITEM hItem) const {
    ENTRY* pEntry = GetItemEntry(hItem);
    return pEntry != nullptr && !pEntry->IsGroup ? &pEntry->Question : nullptr;
}

CKWString CQuestionsTree::LabelForPrompt(const char* pszPrompt) {
    CKWString prompt(pszPrompt);
    if (prompt.GetLength() <= MAX_LABEL_PROMPT)
        return prompt;
    return prompt.Left(MAX_LABEL_PROMPT) + "...";
}

BOOL CQuestionsTree::ItemExists(HTREEITEM hItem) const {
    if (hItem == nullptr)
        return FALSE;
    for (HTREEITEM h = GetRootItem(); h != nullptr; h = GetNextTreeItem(h)) {
        if (h == hItem)
            return TRUE;
    }
    return FALSE;
}

// ---------------------------------------------------------------------------
// Adding and editing

HTREEITEM CQuestionsTree::AddGroup(HTREEITEM hParent, LPCTSTR lpszName, LONG nID, BOOL bEdit) {
    if (nID == -1)
        nID = 0;
    // An item of an ID held already would show and edit another entry.
    if (Repository().Exists(nID))
        return nullptr;
    if (hParent != nullptr && GetItemQuestion(hParent) != nullptr)
        hParent = GetParentItem(hParent);
    ENTRY entry;
    entry.ID = nID;
    entry.ParentID = hParent != nullptr ? static_cast<LONG>(GetItemData(hParent)) : -1;
    entry.GroupName = (lpszName != nullptr && lpszName[0] != '\0') ? lpszName : "New Group";
    entry.IsGroup = 1;
    // Filled first: its first expansion would otherwise insert the stored
    // children after the new item, out of the repository's order.
    FillChildItems(hParent);
    HTREEITEM hItem = InsertEntryItem(hParent, entry, FALSE);
    if (hItem == nullptr)
        return nullptr;
    if (hParent != nullptr)
        SetHasChildren(hParent, TRUE);
    EnsureVisible(hItem);
    if (bEdit) {
        SelectItem(hItem);
        EditItemLabel(hItem);
    }
    Repository().Add(entry);
    return hItem;
}

HTREEITEM CQuestionsTree::AddQuestion(HTREEITEM hParent, const CQuestion& question,
                                      LPCTSTR lpszLabel, BOOL bEdit) {
    if (hParent == nullptr)
        return nullptr;
    if (GetItemQuestion(hParent) != nullptr)
        hParent = GetParentItem(hParent);
    ENTRY entry;
    entry.ID = question.GetID() == -1 ? 0 : question.GetID();
    if (Repository().Exists(entry.ID))
        return nullptr;
    entry.ParentID = hParent != nullptr ? static_cast<LONG>(GetItemData(hParent)) : -1;
    entry.GroupName = lpszLabel;
    entry.Question = question;
    entry.IsGroup = 0;
    FillChildItems(hParent);
    HTREEITEM hItem = InsertEntryItem(hParent, entry, FALSE);
    if (hItem == nullptr)
        return nullptr;
    if (hParent != nullptr)
        SetHasChildren(hParent, TRUE);
    SelectItem(hItem);
    Repository().Add(entry);
    if (bEdit)
        EditQuestion(hItem);
    return hItem;
}

void CQuestionsTree::EditQuestion(HTREEITEM hItem) {
    if (!Editable)
        return;
    CQuestion* pQuestion = GetItemQuestion(hItem);
    if (pQuestion == nullptr)
        return;
    CQuestionEditDlg dlg(this);
    dlg.SetQuestion(pQuestion);
    if (dlg.DoModal() != IDOK)
        return;
    // The editor may have run a long while: the entry is looked up again.
    ENTRY* pEntry = GetItemEntry(hItem);
    if (pEntry == nullptr)
        return;
    if (!pEntry->Question.GetPrompt().IsEmpty())
        pEntry->GroupName = LabelForPrompt(pEntry->Question.GetPrompt());
    const int nImage = ImageOf(*pEntry);
    SetItemImage(hItem, nImage, nImage);
    SetItemText(hItem, pEntry->GroupName);
}

void CQuestionsTree::NewGroup(HTREEITEM hItem) {
    if (Editable)
        AddGroup(hItem, "", Repository().GetNextID(), TRUE);
}

void CQuestionsTree::NewQuestion(HTREEITEM hItem) {
    if (!Editable)
        return;
    LONG nID = Repository().GetNextID();
    CQuestion question(nID < 0 ? 0 : nID);
    AddQuestion(hItem, question, "New Question", TRUE);
}

// ---------------------------------------------------------------------------
// Removing

BOOL CQuestionsTree::RemoveItem(HTREEITEM hItem) {
    if (hItem == nullptr || hItem == TVI_ROOT)
        return FALSE;
    const LONG nID = static_cast<LONG>(GetItemData(hItem));
    if (!Repository().Remove(nID))
        return FALSE;
    // The tree never shows the entries below a removed group again; kept,
    // they would be saved for ever without a way to reach them.
    RemoveEntriesBelow(nID);
    HTREEITEM hParent = GetParentItem(hItem);
    if (hParent != nullptr && !Repository().HasChildren(static_cast<LONG>(GetItemData(hParent))))
        SetHasChildren(hParent, FALSE);
    DeleteItem(hItem);
    return TRUE;
}

void CQuestionsTree::RemoveEntriesBelow(LONG nID) {
    // IDs are unique and the removed item was reached from the top level, so
    // the walk down from it meets no entry twice.
    std::vector<LONG> pending = {nID};
    while (!pending.empty()) {
        const LONG nParentID = pending.back();
        pending.pop_back();
        for (const ENTRY& child : GetChildEntries(nParentID)) {
            Repository().Remove(child.ID);
            pending.push_back(child.ID);
        }
    }
}

void CQuestionsTree::OnDeleteSelected() {
    if (!Editable)
        return;
    CKWArray<QUESTIONSTREEITEM> items(0, 10);
    CollectSelected(items, GetRootItem());
    if (items.GetSize() == 0)
        return;
    if (AfxMessageBox("Are you sure you want to remove selected item(s)?",
                      MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return;
    const HTREEITEM hRoot = GetRootItem();
    for (int i = 0; i < items.GetSize(); ++i) {
        const HTREEITEM hItem = items.GetAt(i).Item;
        // A marked item below a group removed before its turn went with it.
        if (hItem != hRoot && ItemExists(hItem))
            RemoveItem(hItem);
    }
}

// ---------------------------------------------------------------------------
// The marks

BOOL CQuestionsTree::IsItemSelected(HTREEITEM hItem) const {
    return hItem != nullptr && (GetItemState(hItem, TVIS_SELECTED) & TVIS_SELECTED) != 0;
}

void CQuestionsTree::SetItemSelected(HTREEITEM hItem, BOOL bSelected) {
    if (hItem != nullptr)
        SetItemState(hItem, bSelected ? TVIS_SELECTED : 0, TVIS_SELECTED | TVIS_DROPHILITED);
}

template <class F> void CQuestionsTree::WalkMarkable(HTREEITEM hStart, F visit) const {
    for (HTREEITEM hItem = hStart; hItem != nullptr; hItem = GetNextSiblingItem(hItem)) {
        ENTRY* pEntry = GetItemEntry(hItem);
        if (pEntry == nullptr)
            return;
        visit(hItem, pEntry);
        if (pEntry->IsGroup && Repository().HasChildren(pEntry->ID))
            WalkMarkable(GetChildItem(hItem), visit);
    }
}

int CQuestionsTree::CountSelected() const {
    int nCount = 0;
    WalkMarkable(GetRootItem(), [&](HTREEITEM hItem, ENTRY*) {
        if (IsItemSelected(hItem))
            ++nCount;
    });
    return nCount;
}

void CQuestionsTree::DeselectAll() {
    // Every item, whatever its entry: a mark left on an item whose entry is
    // gone could never be cleared.
    for (HTREEITEM h = GetRootItem(); h != nullptr; h = GetNextTreeItem(h))
        SetItemSelected(h, FALSE);
}

void CQuestionsTree::CollectSelected(CKWArray<QUESTIONSTREEITEM>& items, HTREEITEM hStart) const {
    WalkMarkable(hStart, [&](HTREEITEM hItem, ENTRY* pEntry) {
        if (!IsItemSelected(hItem))
            return;
        QUESTIONSTREEITEM item;
        item.Item = hItem;
        item.Entry = pEntry;
        item.Text = GetItemText(hItem);
        item.IsGroup = pEntry->IsGroup ? 1 : 0;
        items.Add(item);
    });
}

HTREEITEM CQuestionsTree::FindFirstOf(HTREEITEM hFirst, HTREEITEM hSecond) const {
    if (hFirst == nullptr || hSecond == nullptr)
        return nullptr;
    for (HTREEITEM h = GetRootItem(); h != nullptr; h = GetNextTreeItem(h)) {
        if (h == hFirst || h == hSecond)
            return h;
    }
    return nullptr;
}

void CQuestionsTree::SelectRange(HTREEITEM hFrom, HTREEITEM hTo) {
    if (hFrom == nullptr || hTo == nullptr)
        return;
    for (HTREEITEM h = hFrom; h != nullptr && GetItemEntry(h) != nullptr; h = GetNextTreeItem(h)) {
        SetItemSelected(h, TRUE);
        if (h == hTo)
            break;
    }
}

// ---------------------------------------------------------------------------
// Mouse

int CQuestionsTree::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CTreeCtrl::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_hAccel = ::LoadAccelerators(AfxGetResourceHandle(), MAKEINTRESOURCE(IDR_QUESTIONS_ACCEL));
    return 0;
}

void CQuestionsTree::OnLButtonDown(UINT nFlags, CPoint point) {
    if (m_bEditing) {
        SetFocus();
        return;
    }
    HTREEITEM hItem = HitTest(point);
    if (Editable && (nFlags & MK_SHIFT) && m_hAnchor != nullptr) {
        HTREEITEM hFrom = FindFirstOf(m_hAnchor, hItem);
        SelectRange(hFrom, hFrom == hItem ? m_hAnchor : hItem);
        m_hAnchor = hItem;
        SetFocus();
        return;
    }
    if (Editable && (nFlags & MK_CONTROL)) {
        SetItemSelected(hItem, TRUE);
        m_hAnchor = hItem;
        SetFocus();
        return;
    }
    DeselectAll();
    SetItemSelected(hItem, TRUE);
    m_hAnchor = hItem;
    // The control moves the current item, runs the expand buttons and starts
    // a label edit on a slow second click where that is allowed.
    Default();
}

void CQuestionsTree::OnRButtonDown(UINT, CPoint point) {
    SetFocus();
    HTREEITEM hItem = HitTest(point);
    if (hItem != nullptr && !IsItemSelected(hItem)) {
        DeselectAll();
        SetItemSelected(hItem, TRUE);
    }
    m_hAnchor = hItem;
    // The control's own right-click loop does not run: the button's release
    // comes here and opens the menu.
    SetCapture();
}

void CQuestionsTree::OnRButtonUp(UINT, CPoint point) {
    HTREEITEM hClicked = HitTest(point);
    if (hClicked != nullptr && Editable && !m_bEditing) {
        CMenu menu;
        if (menu.CreatePopupMenu()) {
            BuildContextMenu(menu, hClicked);
            CPoint ptScreen = point;
            ClientToScreen(&ptScreen);
            const UINT nCmd = static_cast<UINT>(
                menu.TrackPopupMenu(TPM_RIGHTBUTTON | TPM_RETURNCMD, ptScreen.x, ptScreen.y, this));
            // Released before the command runs: a command may open a dialog.
            if (GetCapture() == this)
                ReleaseCapture();
            if (nCmd != 0)
                RunContextCommand(nCmd, hClicked);
            menu.DestroyMenu();
        }
    }
    if (GetCapture() == this)
        ReleaseCapture();
}

void CQuestionsTree::BuildContextMenu(CMenu& menu, HTREEITEM hClicked) const {
    const BOOL bMany = CountSelected() >= 2;
    const ENTRY* pEntry = GetItemEntry(hClicked);
    const UINT nGray = MF_GRAYED | MF_DISABLED;
    menu.AppendMenu(MF_STRING | (bMany ? nGray : 0), ID_NEW_QUESTION_GROUP, "New Group");
    menu.AppendMenu(MF_STRING | (bMany ? nGray : 0), ID_NEW_QUESTION, "New Question");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING | (bMany || pEntry == nullptr ? nGray : 0), ID_EDIT_NAME,
                    "Edit Name\tF2,Ins");
    menu.AppendMenu(MF_STRING | (bMany || pEntry == nullptr || pEntry->IsGroup ? nGray : 0),
                    ID_EDIT_QUESTION, "Edit Question");
    menu.AppendMenu(MF_SEPARATOR);
    const BOOL bNoDelete = hClicked == GetRootItem() || (CountSelected() <= 1 && pEntry == nullptr);
    menu.AppendMenu(MF_STRING | (bNoDelete ? nGray : 0), ID_DELETE_SELECTED, "Delete\tDel");
}

void CQuestionsTree::RunContextCommand(UINT nCmd, HTREEITEM hClicked) {
    // The clicked item, whose state the menu showed: a right click does not
    // move the current item, which may be another one.
    switch (nCmd) {
    case ID_NEW_QUESTION_GROUP:
        NewGroup(hClicked);
        break;
    case ID_NEW_QUESTION:
        NewQuestion(hClicked);
        break;
    case ID_EDIT_NAME:
        EditItemLabel(hClicked);
        break;
    case ID_EDIT_QUESTION:
        EditQuestion(hClicked);
        break;
    case ID_DELETE_SELECTED:
        OnDeleteSelected();
        break;
    }
}

BOOL CQuestionsTree::OnDblClick(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    if (!Editable)
        return FALSE;
    SetFocus();
    CPoint point;
    if (!::GetCursorPos(&point)) {
        KWTRACE_ERROR(("GetCursorPos failed (%u)", static_cast<unsigned>(::GetLastError())));
        return FALSE;
    }
    ScreenToClient(&point);
    HTREEITEM hItem = HitTest(point);
    if (hItem != nullptr) {
        if (GetCapture() == this)
            ReleaseCapture();
        EditQuestion(hItem);
    }
    return TRUE;
}

void CQuestionsTree::OnDeleteItem(NMHDR* pNMHDR, LRESULT* pResult) {
    if (reinterpret_cast<NMTREEVIEW*>(pNMHDR)->itemOld.hItem == m_hAnchor)
        m_hAnchor = nullptr;
    *pResult = 0;
}

// ---------------------------------------------------------------------------
// Label editing and keys

void CQuestionsTree::EditItemLabel(HTREEITEM hItem) {
    if (!Editable || hItem == nullptr)
        return;
    ModifyStyle(0, TVS_EDITLABELS);
    EditLabel(hItem);
}

void CQuestionsTree::OnEditName() {
    EditItemLabel(GetSelectedItem());
}

void CQuestionsTree::OnBeginLabelEdit(NMHDR*, LRESULT* pResult) {
    if (!Editable) {
        *pResult = TRUE;
        return;
    }
    m_bEditing = TRUE;
    *pResult = 0;
}

void CQuestionsTree::OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult) {
    const TVITEM& item = reinterpret_cast<NMTVDISPINFO*>(pNMHDR)->item;
    // The control may report the end of an edit once more while it takes
    // the edit box down (then with the box's text even after a cancel): only
    // the first report counts.
    if (!m_bEditing) {
        *pResult = FALSE;
        return;
    }
    BOOL bAccepted = FALSE;
    ENTRY* pEntry = GetItemEntry(item.hItem);
    if (item.pszText != nullptr && item.pszText[0] != '\0' && pEntry != nullptr) {
        pEntry->GroupName = item.pszText;
        SetItemText(item.hItem, item.pszText);
        bAccepted = TRUE;
    }
    m_bEditing = FALSE;
    ModifyStyle(TVS_EDITLABELS, 0);
    *pResult = bAccepted;
}

BOOL CQuestionsTree::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE)) {
        // Straight to the label's edit box (or the tree), never to the dialog
        // around it, which would take them as OK or Cancel.
        ::TranslateMessage(pMsg);
        ::DispatchMessage(pMsg);
        return TRUE;
    }
    // Not while a label is edited: Insert and Ctrl+Delete belong to its edit
    // box then.
    if (m_hAccel != nullptr && !m_bEditing && ::TranslateAccelerator(m_hWnd, m_hAccel, pMsg))
        return TRUE;
    return CTreeCtrl::PreTranslateMessage(pMsg);
}

// ---------------------------------------------------------------------------
// Export and import

void CQuestionsTree::ExportRepository() {
    CFileDialog dlg(FALSE, "xml", kExportFileName,
                    OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR, kExportFilter, this);
    if (dlg.DoModal() == IDOK)
        ExportRepositoryTo(dlg.GetPathName());
}

BOOL CQuestionsTree::ExportRepositoryTo(LPCTSTR lpszPath) {
    CString strMessage;
    const BOOL bSaved = Repository().Save(lpszPath);
    if (bSaved)
        strMessage.Format("Call Score questions repository exports successfully into the file: %s",
                          lpszPath);
    else
        strMessage.Format("Failed to export questions repository into the file: %s", lpszPath);
    AfxMessageBox(strMessage, bSaved ? MB_ICONINFORMATION : MB_ICONEXCLAMATION);
    return bSaved;
}

void CQuestionsTree::ImportRepository() {
    CFileDialog dlg(TRUE, "xml", kExportFileName,
                    OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR, kExportFilter, this);
    if (dlg.DoModal() == IDOK)
        ImportRepositoryFrom(dlg.GetPathName());
}

BOOL CQuestionsTree::ImportRepositoryFrom(LPCTSTR lpszPath) {
    SelectItem(nullptr);
    DeleteAllItems();
    // A failed load adds nothing, so the repository in memory is still whole
    // and is shown again as it stands; reading "questions.xml" back would
    // bring back the entries removed since it was saved.
    const BOOL bLoaded = Repository().Load(lpszPath);
    InsertChildItems(TVI_ROOT, -1);
    ExpandAll();
    CString strMessage;
    if (bLoaded)
        strMessage.Format("Call Score questions repository imports successfully from the file: %s",
                          lpszPath);
    else
        strMessage.Format("Failed to import questions repository from the file: %s", lpszPath);
    AfxMessageBox(strMessage, bLoaded ? MB_ICONINFORMATION : MB_ICONEXCLAMATION);
    return bLoaded;
}

// ---------------------------------------------------------------------------
// CQuestionsTreeWithToolbar

CQuestionsTreeWithToolbar::CQuestionsTreeWithToolbar() = default;

CQuestionsTreeWithToolbar::~CQuestionsTreeWithToolbar() = default;

BOOL CQuestionsTreeWithToolbar::CreateTree(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                                           UINT nID) {
    return m_wndTree.Create(dwStyle | WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES |
                                TVS_LINESATROOT,
                            rect, pParentWnd, nID);
}

UINT CQuestionsTreeWithToolbar::GetToolbarId() {
    return IDR_QUESTIONS_TOOLBAR;
}

BOOL CQuestionsTreeWithToolbar::OnToolbarCommand(UINT nID) {
    switch (nID) {
    case ID_EXPORT_QUESTIONS:
        m_wndTree.ExportRepository();
        return TRUE;
    case ID_IMPORT_QUESTIONS:
        m_wndTree.ImportRepository();
        return TRUE;
    case ID_NEW_QUESTION_GROUP:
        m_wndTree.NewGroup(m_wndTree.GetSelectedItem());
        return TRUE;
    case ID_NEW_QUESTION:
        m_wndTree.NewQuestion(m_wndTree.GetSelectedItem());
        return TRUE;
    case ID_EDIT_QUESTION:
        m_wndTree.EditQuestion(m_wndTree.GetSelectedItem());
        return TRUE;
    case ID_DELETE_SELECTED:
        m_wndTree.OnDeleteSelected();
        return TRUE;
    }
    return FALSE;
}

BOOL CQuestionsTreeWithToolbar::IsToolbarCommandEnabled(UINT nID) {
    if (m_wndTree.GetSafeHwnd() == nullptr)
        return FALSE;
    switch (nID) {
    case ID_EXPORT_QUESTIONS:
    case ID_IMPORT_QUESTIONS:
    case ID_NEW_QUESTION_GROUP:
        return TRUE;
    case ID_NEW_QUESTION:
        return m_wndTree.CountSelected() == 1;
    case ID_EDIT_QUESTION:
        return m_wndTree.CountSelected() == 1 &&
               m_wndTree.GetItemQuestion(m_wndTree.GetSelectedItem()) != nullptr;
    case ID_DELETE_SELECTED:
        return m_wndTree.CountSelected() >= 1 &&
               m_wndTree.GetSelectedItem() != m_wndTree.GetRootItem();
    }
    return FALSE;
}

void CQuestionsTreeWithToolbar::OnUpdateToolbarCommand(CCmdUI* pCmdUI) {
    pCmdUI->Enable(IsToolbarCommandEnabled(pCmdUI->m_nID));
}

void CQuestionsTreeWithToolbar::UpdateToolbarButtons() {
    CFrameToolbar& bar = GetToolbar();
    if (bar.GetSafeHwnd() == nullptr)
        return;
    const int nCount = static_cast<int>(bar.SendMessage(TB_BUTTONCOUNT));
    for (int i = 0; i < nCount; ++i) {
        TBBUTTON button = {};
        if (!bar.SendMessage(TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)) ||
            (button.fsStyle & TBSTYLE_SEP))
            continue;
        const BOOL bEnable = IsToolbarCommandEnabled(button.idCommand);
        // Only changes: a state set again repaints the button.
        if ((bar.SendMessage(TB_ISBUTTONENABLED, button.idCommand) != 0) != (bEnable != FALSE))
            bar.SendMessage(TB_ENABLEBUTTON, button.idCommand, MAKELONG(bEnable, 0));
    }
}
