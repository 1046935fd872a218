// OutlookBar.cpp: the Access Panel's groups and its answers to the frame.
#include "OutlookBar.h"

#include "SlicedImageList.h"
#include "resource.h"

#include <commctrl.h>

namespace {

const DWORD kShortcutBarStyle = SHBS_BUTTONHEADERS | SHBS_ANIMATEEXPAND | SHBS_DRAWITEMDRAGIMAGE |
                                SHBS_DRAWHEADERDRAGIMAGE | SHBS_DISABLEDRAGHEADER |
                                SHBS_SHOWACTIVEALWAYS | SHBS_BOLDEXPANDEDGROUP | SHBS_EDITITEMS |
                                SHBS_DISABLEDRAGDROP | SHBS_DISABLEDRAGITEM;
const DWORD kTreeStyle = WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT;
const int kGroupImageWidth = 25;
const int kGroupImageHeight = 22;

} // namespace

BEGIN_MESSAGE_MAP(COutlookBar, COXSizeControlBar)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_CONTEXTMENU()
ON_NOTIFY(SHBN_CONTEXTMENU, COutlookBar::IDC_SHORTCUTBAR, &COutlookBar::OnShortcutBarContextMenu)
END_MESSAGE_MAP()

COutlookBar::COutlookBar() : COXSizeControlBar(SCBS_CONTEXTMENU) {}

COutlookBar::~COutlookBar() = default;

int COutlookBar::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (COXSizeControlBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    CreateGroups();
    return 0;
}

CSize COutlookBar::CalcDynamicLayout(int nLength, DWORD nMode) {
    CSize size = COXSizeControlBar::CalcDynamicLayout(nLength, nMode);
    size.cx = std::max<LONG>(size.cx, MIN_WIDTH);
    size.cy = std::max<LONG>(size.cy, MIN_HEIGHT);
    return size;
}

void COutlookBar::OnSize(UINT nType, int cx, int cy) {
    COXSizeControlBar::OnSize(nType, cx, cy);
    if (m_wndShortcutBar.GetSafeHwnd() == nullptr)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    m_wndShortcutBar.MoveWindow(&rcClient, TRUE);
}

// A right click on the panel's client area offers nothing of the bar's: the
// trees bring their own menus.
void COutlookBar::OnContextMenu(CWnd*, CPoint) {}

// The shortcut bar would offer views, renaming and group commands that make
// no sense for groups that hold trees: it shows no menu of its own.
void COutlookBar::OnShortcutBarContextMenu(NMHDR*, LRESULT* pResult) {
    *pResult = 1;
}

void COutlookBar::ReloadShortcuts() {
    m_wndShortCutTree.ReloadTree();
}

void COutlookBar::ReloadHotLists() {
    m_wndHotLists.GetHotListsTree().ReloadTree();
}

void COutlookBar::AddScoredCall(CScoredFileListEntry* pEntry) {
    m_wndCallScores.GetCallScoreTree().AddScoredCall(pEntry);
}

void COutlookBar::CreateGroups() {
    EnableClientFrame(TRUE);
    CRect rcClient;
    GetClientRect(&rcClient);
    m_wndShortcutBar.Create(this, rcClient, kShortcutBarStyle, IDC_SHORTCUTBAR);

    const CRect rcEmpty(0, 0, 0, 0);
    m_wndHotLists.Create(kTreeStyle, rcEmpty, &m_wndShortcutBar, IDC_HOTLISTS);
    m_wndShortCutTree.Create(kTreeStyle, rcEmpty, &m_wndShortcutBar, IDC_SHORTCUTS);
    m_wndShellTree.Create(kTreeStyle | TVS_EDITLABELS | TVS_SHOWSELALWAYS, rcEmpty,
                          &m_wndShortcutBar, IDC_SHELLFOLDERS);
    m_wndCallScores.Create(kTreeStyle, rcEmpty, &m_wndShortcutBar, IDC_CALLSCORES);

    m_wndShellTree.Initialize("");
    CShellFolderTree::DROPFILTER recordingsOnly;
    recordingsOnly.dwFlags = CShellFolderTree::DROP_FILES | CShellFolderTree::DROP_MATCH_EXTENSION;
    recordingsOnly.strExtension = ".zel";
    m_wndShellTree.SetDropFilter(recordingsOnly);
    m_wndShortCutTree.InitTree();
    m_wndShortCutTree.ExpandAll();
    CHotListsTree& hotLists = m_wndHotLists.GetHotListsTree();
    hotLists.InitTree();
    hotLists.ExpandAll();
    CCallScoreTree& callScores = m_wndCallScores.GetCallScoreTree();
    callScores.InitTree();
    callScores.ExpandAll();
    hotLists.SetDropFilter(recordingsOnly.dwFlags, recordingsOnly.strExtension);

    CreateSlicedImageList(m_groupImages, IDB_GROUP_IMAGES, kGroupImageWidth, kGroupImageHeight, 4);
    m_wndShortcutBar.SetGroupImageList(&m_groupImages);

    m_wndShortcutBar.ExpandGroup(InsertGroup("My Shortcuts", m_wndShortCutTree, 0));
    InsertGroup("My Calls for Review", m_wndHotLists, 1);
    InsertGroup("My Explorer", m_wndShellTree, 2);
    InsertGroup("My Call Score", m_wndCallScores, 3);
    // Inserting places no windows and paints nothing: the bar shows the
    // expanded group's tree only once it is laid out again.
    m_wndShortcutBar.UpdateBar();
}

HSHBGROUP COutlookBar::InsertGroup(LPCTSTR lpszText, CWnd& wndChild, int nImage) {
    CString text(lpszText);
    SHB_GROUPINFO info;
    info.nMask = SHBIF_TEXT | SHBIF_CHILDWND;
    info.pszText = text.GetBuffer(0);
    info.nTextMax = text.GetLength();
    info.hwndChild = wndChild.GetSafeHwnd();
    const HSHBGROUP hGroup = m_wndShortcutBar.InsertGroup(&info);
    text.ReleaseBuffer();
    m_wndShortcutBar.SetGroupImage(hGroup, nImage);
    return hGroup;
}
