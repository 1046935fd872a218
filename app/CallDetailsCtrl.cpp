// CallDetailsCtrl.cpp: the call list of a call-list view: its messages,
// header sort marks, the in-place cell edit and the files dropped on it.
#include "CallDetailsCtrl.h"

#include "InPlaceEdit.h"
#include "KWArray.h"
#include "KWString.h"
#include "ScoredFileListEntry.h"
#include "resource.h"

#include "Common/PlaybackManager.h"
#include "Common/Settings.h"
#include "Common/TraceLog.h"

#include "framework/Dc.h"
#include "framework/Ole.h"
#include "framework/WinApp.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <vector>

namespace {

// Characters a Caller ID may be typed with.
const char kEditChars[] = "01234567890abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ -#~_&<>";
// Automatic scrolling both ways, selection kept while the editor has no focus.
const DWORD kEditStyle = ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL;
const int kInitialSortColumn = 5;
// Pixels between the header and the text of an empty list.
const int kEmptyTextGap = 10;

// True when the common controls draw sort marks themselves (version 6); asked
// once, since the library does not change while the program runs.
bool HasHeaderSortMarks() {
    static const bool s_bMarks = [] {
        HMODULE hModule = ::GetModuleHandleA("comctl32.dll");
        if (hModule == nullptr)
            return false;
        typedef HRESULT(CALLBACK * DllGetVersionFn)(DLLVERSIONINFO*);
        DllGetVersionFn pfnGetVersion = reinterpret_cast<DllGetVersionFn>(
            reinterpret_cast<void*>(::GetProcAddress(hModule, "DllGetVersion")));
        if (pfnGetVersion == nullptr)
            return false;
        DLLVERSIONINFO info = {};
        info.cbSize = sizeof(info);
        return SUCCEEDED(pfnGetVersion(&info)) && info.dwMajorVersion == 6;
    }();
    return s_bMarks;
}

// The controls alive, and whether one of them initialised OLE: OLE and the
// process-wide cell editor serve every control, so they go with the last.
int s_liveControls = 0;
bool s_oleInitializedHere = false;

bool IsShellLinkPath(const CString& path) {
    return lstrcmpiA(::PathFindExtensionA(path), ".lnk") == 0;
}

} // namespace

// clang-format off
BEGIN_MESSAGE_MAP(CCallDetailsCtrl, CCoolToolTipListCtrl)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_CHAR()
    ON_MESSAGE(WM_HSCROLL, &CCallDetailsCtrl::OnScroll)
    ON_MESSAGE(WM_VSCROLL, &CCallDetailsCtrl::OnScroll)
    ON_WM_LBUTTONDOWN()
    ON_WM_DROPFILES()
    ON_NOTIFY_REFLECT(LVN_COLUMNCLICK, &CCallDetailsCtrl::OnColumnClick)
    ON_NOTIFY_REFLECT(LVN_BEGINDRAG, &CCallDetailsCtrl::OnBeginDrag)
    ON_NOTIFY_REFLECT(LVN_BEGINLABELEDITA, &CCallDetailsCtrl::OnBeginLabelEdit)
    ON_NOTIFY_REFLECT(LVN_ENDLABELEDITA, &CCallDetailsCtrl::OnEndLabelEdit)
    // The cell editor reports to its parent, this list, not through the view.
    ON_NOTIFY_RANGE(LVN_ENDLABELEDITA, 0, 0xFFFF, &CCallDetailsCtrl::OnEditorReport)
END_MESSAGE_MAP()
// clang-format on

CCallDetailsCtrl::CCallDetailsCtrl()
    : m_editChars(kEditChars), m_editStyle(kEditStyle), m_editMode(0),
      m_sortColumn(kInitialSortColumn), m_sortFlag(0), m_editRow(-1), m_editColumn(-1),
      m_acceptsDrops(false), m_sortBitmap(nullptr), m_arrowColumn(-1), m_arrowFlag(0) {
    ++s_liveControls;
    // Drops and drags need OLE on this thread; the application has it from its
    // start, a control made elsewhere sees to it itself.
    if (!AfxOleIsInitialized()) {
        if (AfxOleInit())
            s_oleInitializedHere = true;
        else
            AfxMessageBox("OLE initialization failed.\n\nMake sure that the OLE libraries are the "
                          "correct version.");
    }
}

CCallDetailsCtrl::~CCallDetailsCtrl() {
    if (m_sortBitmap != nullptr)
        ::DeleteObject(m_sortBitmap);
    --s_liveControls;
    // An editor open over another control's cell stays with it; OLE stays while
    // any control may still take a drop.
    if (s_liveControls == 0 || !::IsWindow(CInPlaceEdit::GetInstance()->m_hWnd))
        CInPlaceEdit::DeleteInstance();
    if (s_liveControls == 0 && s_oleInitializedHere) {
        s_oleInitializedHere = false;
        AfxOleTerm();
    }
}

// ---------------------------------------------------------------------------
// Window

void CCallDetailsCtrl::PreSubclassWindow() {
    CCoolToolTipListCtrl::PreSubclassWindow();
    AcceptDrops();
}

int CCallDetailsCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CCoolToolTipListCtrl::OnCreate(lpCreateStruct) == -1)
        return -1;
    AcceptDrops();
    return 0;
}

// A window being created gets its extended style from its creation after
// PreSubclassWindow: the dropped-files flag is set again at WM_CREATE.
void CCallDetailsCtrl::AcceptDrops() {
    DragAcceptFiles(TRUE);
    if (m_acceptsDrops)
        return;
    m_acceptsDrops = true;
    if (!m_dropTarget.Register(this))
        KWTRACE(("CCallDetailsCtrl::AcceptDrops: no drop target; only drags of this program "
                 "reach the list\n"));
}

void CCallDetailsCtrl::OnDestroy() {
    m_dropTarget.Revoke();
    CCoolToolTipListCtrl::OnDestroy();
}

DROPEFFECT CCallDetailsCtrl::CDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject,
                                                      DWORD dwKeyState, CPoint point) {
    return OnDragOver(pWnd, pDataObject, dwKeyState, point);
}

DROPEFFECT CCallDetailsCtrl::CDropTarget::OnDragOver(CWnd*, COleDataObject* pDataObject, DWORD,
                                                     CPoint) {
    return pDataObject->IsDataAvailable(CF_HDROP) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

void CCallDetailsCtrl::OnPaint() {
    Default();
    if (GetItemCount() != 0)
        return;
    CRect rect;
    GetClientRect(&rect);
    CHeaderCtrl* pHeader = GetHeaderCtrl();
    if (pHeader != nullptr) {
        CRect rectHeader;
        pHeader->GetWindowRect(&rectHeader);
        ScreenToClient(&rectHeader);
        rect.top = rectHeader.bottom;
    }
    rect.top += kEmptyTextGap;
    if (rect.top >= rect.bottom)
        return;
    CString text;
    text.LoadString(IDS_NO_CALLS);
    CClientDC dc(this);
    ::SetBkColor(dc.m_hDC, ::GetSysColor(COLOR_WINDOW));
    ::ExtTextOutA(dc.m_hDC, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetTextColor(dc.m_hDC, ::GetSysColor(COLOR_WINDOWTEXT));
    HGDIOBJ hOldFont = ::SelectObject(dc.m_hDC, ::GetStockObject(ANSI_VAR_FONT));
    ::DrawTextA(dc.m_hDC, text, text.GetLength(), &rect,
                DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_NOCLIP);
    ::SelectObject(dc.m_hDC, hOldFont);
}

void CCallDetailsCtrl::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
    const UINT kCtrlA = 1;
    if (nChar == kCtrlA)
        SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    CCoolToolTipListCtrl::OnChar(nChar, nRepCnt, nFlags);
}

// Taking the focus first ends an open cell edit, whose editor would otherwise
// stay where the cell was.
LRESULT CCallDetailsCtrl::OnScroll(WPARAM, LPARAM) {
    SetFocus();
    return Default();
}

// ---------------------------------------------------------------------------
// Sorting

void CCallDetailsCtrl::OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult) {
    const NMLISTVIEW* pInfo = reinterpret_cast<const NMLISTVIEW*>(pNMHDR);
    const int column = pInfo->iSubItem;
    m_sortFlag = column == m_sortColumn ? !m_sortFlag : 0;
    m_sortColumn = column;
    SetSortArrow(column, m_sortFlag);
    CWnd* pParent = GetParent();
    if (pParent != nullptr)
        pParent->SendMessage(WM_LIST_SORT, static_cast<WPARAM>(column),
                             static_cast<LPARAM>(m_sortFlag));
    *pResult = 0;
}

void CCallDetailsCtrl::SetSortArrow(int column, int flag) {
    m_arrowColumn = column;
    m_arrowFlag = flag;
    CHeaderCtrl* pHeader = GetHeaderCtrl();
    if (pHeader == nullptr)
        return;
    const int count = pHeader->GetItemCount();
    if (HasHeaderSortMarks()) {
        for (int i = 0; i < count; ++i) {
            HDITEMA item = {};
            item.mask = HDI_FORMAT;
            pHeader->GetItem(i, &item);
            item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
            if (i == column)
                item.fmt |= flag == 1 ? HDF_SORTUP : HDF_SORTDOWN;
            pHeader->SetItem(i, &item);
        }
        return;
    }
    HBITMAP hBitmap = static_cast<HBITMAP>(::LoadImageA(
        AfxGetResourceHandle(), MAKEINTRESOURCEA(flag == 1 ? IDB_SORT_UP : IDB_SORT_DOWN),
        IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
    for (int i = 0; i < count; ++i) {
        HDITEMA item = {};
        item.mask = HDI_FORMAT | HDI_BITMAP;
        pHeader->GetItem(i, &item);
        if (i == column && hBitmap != nullptr) {
            item.fmt |= HDF_BITMAP | HDF_BITMAP_ON_RIGHT;
            item.hbm = hBitmap;
        } else {
            item.fmt &= ~(HDF_BITMAP | HDF_BITMAP_ON_RIGHT);
            item.hbm = nullptr;
        }
        pHeader->SetItem(i, &item);
    }
    // The header does not own its bitmaps: the one it showed before goes now.
    if (m_sortBitmap != nullptr)
        ::DeleteObject(m_sortBitmap);
    m_sortBitmap = hBitmap;
}

// ---------------------------------------------------------------------------
// Read-only cells and the cell edit

void CCallDetailsCtrl::SetCellReadOnly(int row, int column, int flag) {
    if (flag)
        m_readOnlyCells.insert(std::make_pair(row, column));
    else
        m_readOnlyCells.erase(std::make_pair(row, column));
}

int CCallDetailsCtrl::IsCellReadOnly(int row, int column) const {
    return m_readOnlyCells.count(std::make_pair(row, column)) != 0 ? 1 : 0;
}

bool CCallDetailsCtrl::CellFromPoint(CPoint point, int& row, int& column) {
    if ((GetStyle() & LVS_TYPEMASK) != LVS_REPORT)
        return false;
    // The sub-item hit test finds the row also off the first column, where a
    // list without full-row selection has no item to hit.
    LVHITTESTINFO hit = {};
    hit.pt = point;
    row = SubItemHitTest(&hit) >= 0 ? hit.iItem : -1;
    if (row < 0)
        return false;
    CRect rectRow;
    if (!GetItemRect(row, &rectRow, LVIR_BOUNDS) || !rectRow.PtInRect(point))
        return false;
    // The columns as they stand on the screen: the score columns sit between
    // Caller ID and Archived, out of their index order.
    const int count = GetColumnCount();
    std::vector<int> order(static_cast<size_t>(count));
    if (count == 0 || !::SendMessage(m_hWnd, LVM_GETCOLUMNORDERARRAY, static_cast<WPARAM>(count),
                                     reinterpret_cast<LPARAM>(order.data())))
        return false;
    int left = rectRow.left;
    for (int index : order) {
        const int width = GetColumnWidth(index);
        if (point.x >= left && point.x < left + width) {
            column = index;
            return true;
        }
        left += width;
    }
    return false;
}

void CCallDetailsCtrl::OnLButtonDown(UINT nFlags, CPoint point) {
    int row = -1;
    int column = -1;
    const bool bCell = CellFromPoint(point, row, column);
    CCoolToolTipListCtrl::OnLButtonDown(nFlags, point);
    if (!bCell || (nFlags & (MK_SHIFT | MK_CONTROL)) != 0)
        return;
    if (GetItemState(row, LVIS_FOCUSED) == LVIS_FOCUSED && (GetStyle() & LVS_EDITLABELS) != 0 &&
        !IsCellReadOnly(row, column))
        EditCell(row, column);
}

void CCallDetailsCtrl::EditCell(int row, int column) {
    // Asking for the text lets the owner set the editor's length for the cell.
    const CString text = GetItemText(row, column);
    CRect rectClient;
    GetClientRect(&rectClient);
    CRect rectCell;
    if (!GetSubItemRect(row, column, LVIR_BOUNDS, rectCell))
        return;
    const int width = GetColumnWidth(column);
    rectCell.right = rectCell.left + width;
    int scroll = 0;
    if (rectCell.left < rectClient.left || rectCell.left > rectClient.right)
        scroll = rectCell.left - rectClient.left;
    else if (rectCell.right > rectClient.right)
        scroll = rectCell.right - rectClient.right;
    if (scroll != 0) {
        Scroll(CSize(scroll, 0));
        if (!GetSubItemRect(row, column, LVIR_BOUNDS, rectCell))
            return;
        rectCell.right = rectCell.left + width;
    }
    if (rectCell.right > rectClient.right)
        rectCell.right = rectClient.right;
    rectCell.left += 1;
    rectCell.bottom -= 1;
    m_editRow = row;
    m_editColumn = column;
    m_editInitialText = text;
    CInPlaceEdit::GetInstance()->ShowEditor(m_editStyle, rectCell, this, 0, row, column,
                                            m_editChars, text, m_editMaxLength, m_editMode);
}

void CCallDetailsCtrl::OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult) {
    const NMLVDISPINFOA* pInfo = reinterpret_cast<const NMLVDISPINFOA*>(pNMHDR);
    *pResult = IsCellReadOnly(pInfo->item.iItem, pInfo->item.iSubItem) ? 1 : 0;
}

// The list's own label editor: one report at its end, with no text when it
// was cancelled.
void CCallDetailsCtrl::OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult) {
    NMLVDISPINFOA* pInfo = reinterpret_cast<NMLVDISPINFOA*>(pNMHDR);
    if (IsCellReadOnly(pInfo->item.iItem, pInfo->item.iSubItem)) {
        *pResult = 1;
        return;
    }
    *pResult = 0;
    CWnd* pParent = GetParent();
    if (pInfo->item.pszText != nullptr && pParent != nullptr)
        pParent->SendMessage(WM_LIST_CELL_EDITED, static_cast<WPARAM>(GetDlgCtrlID()),
                             reinterpret_cast<LPARAM>(pInfo));
}

// The cell editor reports every keystroke it takes and once more as it loses
// the focus, then with the text at the start when Esc ended it. Only that last
// report ends the edit, and only a changed text is worth a write: the
// recording's header is rewritten once per accepted edit.
void CCallDetailsCtrl::OnEditorReport(UINT, NMHDR* pNMHDR, LRESULT* pResult) {
    NMLVDISPINFOA* pInfo = reinterpret_cast<NMLVDISPINFOA*>(pNMHDR);
    if (pNMHDR->hwndFrom != m_hWnd) {
        *pResult = 0;
        return;
    }
    if (IsCellReadOnly(pInfo->item.iItem, pInfo->item.iSubItem)) {
        *pResult = 1;
        return;
    }
    *pResult = 0;
    CInPlaceEdit* pEditor = CInPlaceEdit::GetInstance();
    if (::IsWindow(pEditor->m_hWnd) && ::GetFocus() == pEditor->m_hWnd)
        return;
    const bool bSameCell = pInfo->item.iItem == m_editRow && pInfo->item.iSubItem == m_editColumn;
    const char* pszText = pInfo->item.pszText != nullptr ? pInfo->item.pszText : "";
    const bool bChanged = !bSameCell || m_editInitialText != pszText;
    m_editRow = -1;
    m_editColumn = -1;
    CWnd* pParent = GetParent();
    if (bChanged && pParent != nullptr)
        pParent->SendMessage(WM_LIST_CELL_EDITED, static_cast<WPARAM>(GetDlgCtrlID()),
                             reinterpret_cast<LPARAM>(pInfo));
}

// ---------------------------------------------------------------------------
// Drag out

void CCallDetailsCtrl::OnBeginDrag(NMHDR*, LRESULT* pResult) {
    CWnd* pParent = GetParent();
    if (pParent != nullptr)
        pParent->SendMessage(WM_LIST_BEGIN_DRAG, 0, 0);
    *pResult = 0;
}

// ---------------------------------------------------------------------------
// Drops

int CCallDetailsCtrl::SetDropFilter(const FileDropFilter& filter) {
    if ((filter.flags & FileDropFilter::kCallback) != 0 && filter.callback == nullptr)
        return 0;
    m_dropFilter = filter;
    return 1;
}

int CCallDetailsCtrl::CheckDropItem(const CString& path) const {
    const DWORD attributes = ::GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return 0;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return (m_dropFilter.flags & FileDropFilter::kFolders) != 0 ? FileDropFilter::kFoundFolder
                                                                    : 0;
    if ((m_dropFilter.flags & FileDropFilter::kFiles) == 0)
        return 0;
    // The extension of the file name itself: a dot in a folder name is none.
    if ((m_dropFilter.flags & FileDropFilter::kMatchExtension) != 0 &&
        lstrcmpiA(::PathFindExtensionA(path), m_dropFilter.extension) != 0)
        return 0;
    return FileDropFilter::kFoundFile;
}

CString CCallDetailsCtrl::ResolveShortcut(const CString& path) {
    if (path.IsEmpty())
        return CString();
    CString target;
    IShellLinkA* pLink = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  reinterpret_cast<void**>(&pLink))))
        return target;
    IPersistFile* pFile = nullptr;
    if (SUCCEEDED(pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pFile)))) {
        WCHAR widePath[MAX_PATH] = {};
        if (::MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH) > 0 &&
            SUCCEEDED(pFile->Load(widePath, STGM_READ))) {
            char szTarget[MAX_PATH] = "";
            WIN32_FIND_DATAA findData = {};
            if (pLink->GetPath(szTarget, MAX_PATH, &findData, SLGP_UNCPRIORITY) == S_OK)
                target = szTarget;
        }
        pFile->Release();
    }
    pLink->Release();
    return target;
}

void CCallDetailsCtrl::OnDropFiles(HDROP hDropInfo) {
    std::list<CString> paths;
    const UINT count = ::DragQueryFileA(hDropInfo, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        char szPath[MAX_PATH] = "";
        // A longer path would be cut into another name: such an item is left out.
        const UINT length = ::DragQueryFileA(hDropInfo, i, nullptr, 0);
        if (length == 0 || length >= MAX_PATH)
            continue;
        ::DragQueryFileA(hDropInfo, i, szPath, MAX_PATH);
        paths.push_back(szPath);
    }
    ::DragFinish(hDropInfo);
    DropPaths(paths);
}

void CCallDetailsCtrl::DropPaths(const std::list<CString>& paths) {
    CPlaybackManager::GetInstance()->Start(FALSE, TRUE);
    DeleteAllItems();
    CKWArray<CKWString>* pFolders = new CKWArray<CKWString>(0, 10);
    CWnd* pParent = GetParent();
    const CString passphrase = CSettings::GetInstance()->GetPassphrase();
    for (CString path : paths) {
        if (IsShellLinkPath(path)) {
            const CString target = ResolveShortcut(path);
            if (!target.IsEmpty())
                path = target;
        }
        const int kind = CheckDropItem(path);
        if (kind == 0)
            continue;
        if ((m_dropFilter.flags & FileDropFilter::kCallback) != 0) {
            m_dropFilter.callback(this, path, kind);
        } else if (kind == FileDropFilter::kFoundFolder) {
            pFolders->Add(CKWString(path));
        } else {
            CScoredFileListEntry* pEntry = new CScoredFileListEntry;
            pEntry->SetPath(path);
            pEntry->LoadHeader(passphrase);
            if (pParent != nullptr)
                pParent->SendMessage(WM_LIST_ADD_RECORDING, static_cast<WPARAM>(GetDlgCtrlID()),
                                     reinterpret_cast<LPARAM>(pEntry));
            else
                delete pEntry;
        }
    }
    if (pFolders->GetSize() == 0 || pParent == nullptr)
        delete pFolders;
    else
        pParent->SendMessage(WM_LIST_SEARCH_FOLDERS, static_cast<WPARAM>(GetDlgCtrlID()),
                             reinterpret_cast<LPARAM>(pFolders));
    SetFocus();
    SetSelectionMark(0);
    SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    if (pParent != nullptr)
        pParent->SendMessage(WM_LIST_RESORT, static_cast<WPARAM>(GetDlgCtrlID()), 0);
}
