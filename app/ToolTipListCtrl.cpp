// ToolTipListCtrl.cpp: the list control with a tooltip text per cell.
#include "ToolTipListCtrl.h"

#include <commctrl.h>

#include <cstdlib>

namespace {

// Long texts wrap at this width rather than running across the screen.
const int kToolTipWidth = 320;

CString KeyText(int nKey) {
    CString strKey;
    strKey.Format("%d", nKey);
    return strKey;
}

} // namespace

CString CToolTipListCtrl::s_strNarrowText;
std::vector<WCHAR> CToolTipListCtrl::s_wideText;
CString CCoolToolTipListCtrl::s_strNarrowText;
std::vector<WCHAR> CCoolToolTipListCtrl::s_wideText;

// The handler is reached through a non-virtual entry that calls the virtual
// OnToolTipText, so a derived class's override answers.
BEGIN_MESSAGE_MAP(CToolTipListCtrl, CListCtrl)
ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, &CToolTipListCtrl::OnToolTipTextEntry)
ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, &CToolTipListCtrl::OnToolTipTextEntry)
END_MESSAGE_MAP()

CToolTipListCtrl::CToolTipListCtrl() : m_mapToolTips(10), m_dwHitMask(LVHT_ONITEMLABEL) {}

CToolTipListCtrl::~CToolTipListCtrl() = default;

void CToolTipListCtrl::PreSubclassWindow() {
    CListCtrl::PreSubclassWindow();
    EnableToolTips(TRUE);
}

BOOL CToolTipListCtrl::DeleteAllItems() {
    const BOOL bResult = CListCtrl::DeleteAllItems();
    if (bResult)
        DeleteAllToolTips();
    return bResult;
}

BOOL CToolTipListCtrl::DeleteItem(int nItem) {
    const BOOL bResult = CListCtrl::DeleteItem(nItem);
    if (!bResult)
        return bResult;
    // The rows below move up: their texts are keyed anew, or each would show
    // over its upper neighbour.
    CMapStringToString mapKept(10);
    POSITION pos = m_mapToolTips.GetStartPosition();
    while (pos != nullptr) {
        CString strKey, strText;
        m_mapToolTips.GetNextAssoc(pos, strKey, strText);
        const int nKey = atoi(strKey);
        const int nRow = nKey / 100;
        if (nRow == nItem)
            continue;
        mapKept.SetAt(nRow > nItem ? KeyText(nKey - 100) : strKey, strText);
    }
    m_mapToolTips.RemoveAll();
    pos = mapKept.GetStartPosition();
    while (pos != nullptr) {
        CString strKey, strText;
        mapKept.GetNextAssoc(pos, strKey, strText);
        m_mapToolTips.SetAt(strKey, strText);
    }
    return bResult;
}

void CToolTipListCtrl::DeleteAllToolTips() {
    m_mapToolTips.RemoveAll();
}

BOOL CToolTipListCtrl::SetItemToolTipText(int nItem, int nSubItem, LPCTSTR lpszToolTipText) {
    m_mapToolTips.SetAt(KeyText(CellKey(nItem, nSubItem)),
                        lpszToolTipText != nullptr ? lpszToolTipText : "");
    return TRUE;
}

CString CToolTipListCtrl::GetItemToolTipText(int nItem, int nSubItem) {
    CString strText;
    m_mapToolTips.Lookup(KeyText(CellKey(nItem, nSubItem)), strText);
    return strText;
}

INT_PTR CToolTipListCtrl::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
    LVHITTESTINFO hitInfo = {};
    hitInfo.pt = point;
    const_cast<CToolTipListCtrl*>(this)->SubItemHitTest(&hitInfo);
    if ((hitInfo.flags & m_dwHitMask) == 0 || hitInfo.iItem < 0)
        return -1;
    const int nTool = CellKey(hitInfo.iItem, hitInfo.iSubItem);
    if (pTI != nullptr) {
        pTI->hwnd = m_hWnd;
        pTI->uId = static_cast<UINT_PTR>(nTool);
        pTI->lpszText = LPSTR_TEXTCALLBACKA;
        GetClientRect(&pTI->rect);
    }
    return nTool;
}

BOOL CToolTipListCtrl::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult) {
    return AnswerToolTipText(pNMHDR, pResult, s_strNarrowText, s_wideText);
}

BOOL CToolTipListCtrl::AnswerToolTipText(NMHDR* pNMHDR, LRESULT* pResult, CString& strNarrow,
                                         std::vector<WCHAR>& wide) {
    // The narrow and wide records share their header and flags.
    NMTTDISPINFOA* pInfoA = reinterpret_cast<NMTTDISPINFOA*>(pNMHDR);
    NMTTDISPINFOW* pInfoW = reinterpret_cast<NMTTDISPINFOW*>(pNMHDR);
    const UINT uFlags = pNMHDR->code == TTN_NEEDTEXTA ? pInfoA->uFlags : pInfoW->uFlags;
    // The control window itself as a tool is some other tooltip's business.
    if ((uFlags & TTF_IDISHWND) && pNMHDR->idFrom == reinterpret_cast<UINT_PTR>(m_hWnd))
        return FALSE;

    *pResult = 0;
    const DWORD dwPos = ::GetMessagePos();
    CPoint point(static_cast<short>(LOWORD(dwPos)), static_cast<short>(HIWORD(dwPos)));
    ScreenToClient(&point);
    LVHITTESTINFO hitInfo = {};
    hitInfo.pt = point;
    SubItemHitTest(&hitInfo);
    if ((hitInfo.flags & m_dwHitMask) == 0 || hitInfo.iItem < 0)
        return FALSE;
    CString strText;
    if (!m_mapToolTips.Lookup(KeyText(CellKey(hitInfo.iItem, hitInfo.iSubItem)), strText))
        return FALSE;

    if (pNMHDR->code == TTN_NEEDTEXTA) {
        strNarrow = strText;
        pInfoA->lpszText = const_cast<LPSTR>(strNarrow.GetString());
    } else {
        const int nChars = ::MultiByteToWideChar(CP_ACP, 0, strText, -1, nullptr, 0);
        wide.assign(static_cast<size_t>(nChars > 0 ? nChars : 1), 0);
        if (nChars > 0)
            ::MultiByteToWideChar(CP_ACP, 0, strText, -1, wide.data(), nChars);
        pInfoW->lpszText = wide.data();
    }
    ::SendMessageA(pNMHDR->hwndFrom, TTM_SETMAXTIPWIDTH, 0, kToolTipWidth);
    return FALSE;
}

BOOL CCoolToolTipListCtrl::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult) {
    return AnswerToolTipText(pNMHDR, pResult, s_strNarrowText, s_wideText);
}
