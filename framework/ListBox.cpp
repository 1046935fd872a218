#include "ListBox.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CCheckListBox, CListBox)

// ---------------------------------------------------------------------------
// CListBox

// The HWND, if any, is destroyed by CWnd's destructor.
CListBox::~CListBox() = default;

BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("LISTBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}

int CListBox::SelItemRange(BOOL bSelect, int nFirstItem, int nLastItem) {
    if (bSelect)
        return (int)::SendMessage(m_hWnd, LB_SELITEMRANGEEX, (WPARAM)nFirstItem, (LPARAM)nLastItem);
    // LB_SELITEMRANGEEX deselects when the range is given backwards.
    return (int)::SendMessage(m_hWnd, LB_SELITEMRANGEEX, (WPARAM)nLastItem, (LPARAM)nFirstItem);
}

void CListBox::GetText(int nIndex, CString& rString) const {
    rString.Empty();
    int nLength = GetTextLen(nIndex);
    if (nLength == LB_ERR)
        return;
    char* pBuffer = rString.GetBuffer(nLength);
    int nCopied = GetText(nIndex, pBuffer);
    rString.ReleaseBuffer(nCopied == LB_ERR ? 0 : nCopied);
}

UINT CListBox::ItemFromPoint(POINT pt, BOOL& bOutside) const {
    DWORD dwResult = (DWORD)::SendMessage(m_hWnd, LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y));
    bOutside = HIWORD(dwResult) != 0;
    return LOWORD(dwResult);
}

void CListBox::DrawItem(LPDRAWITEMSTRUCT) {
    // An owner-drawn list box whose class paints nothing: a programming error.
    ASSERT(FALSE);
}

void CListBox::MeasureItem(LPMEASUREITEMSTRUCT) {
    // Fixed-height lists keep the height the control chose from its font.
}

int CListBox::CompareItem(LPCOMPAREITEMSTRUCT) {
    // A sorted owner-drawn list without strings must say how to sort.
    ASSERT(FALSE);
    return 0;
}

void CListBox::DeleteItem(LPDELETEITEMSTRUCT) {
    // Item data belongs to the caller; nothing to free here.
}

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT lResult = TRUE;
    switch (message) {
    case WM_DRAWITEM:
        DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
        break;
    case WM_MEASUREITEM:
        MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
        break;
    case WM_COMPAREITEM:
        lResult = CompareItem(reinterpret_cast<LPCOMPAREITEMSTRUCT>(lParam));
        break;
    case WM_DELETEITEM:
        DeleteItem(reinterpret_cast<LPDELETEITEMSTRUCT>(lParam));
        break;
    default:
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    }
    if (pResult != nullptr)
        *pResult = lResult;
    return TRUE;
}

// ---------------------------------------------------------------------------
// CCheckListBox

// Check box size and the gap on either side, at 96 dpi; the row grows to fit
// it.
static const int kCheckBoxSize = 13;
static const int kCheckBoxGap = 2;

// The HWND, if any, is destroyed by CWnd's destructor.
CCheckListBox::~CCheckListBox() = default;

BOOL CCheckListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    dwStyle &= ~(DWORD)LBS_OWNERDRAWVARIABLE;
    return CListBox::Create(dwStyle | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, rect, pParentWnd, nID);
}

void CCheckListBox::SetCheckStyle(UINT nStyle) {
    ASSERT(nStyle == BS_CHECKBOX || nStyle == BS_AUTOCHECKBOX || nStyle == BS_3STATE ||
           nStyle == BS_AUTO3STATE);
    m_nStyle = nStyle;
}

void CCheckListBox::SetCheck(int nIndex, int nCheck) {
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    // Items that were in the list before it was subclassed get states on demand.
    if ((size_t)nIndex >= m_states.size())
        m_states.resize((size_t)nIndex + 1);
    m_states[(size_t)nIndex].nCheck = nCheck;
    InvalidateItem(nIndex);
}

int CCheckListBox::GetCheck(int nIndex) const {
    if (nIndex < 0 || (size_t)nIndex >= m_states.size())
        return BST_UNCHECKED;
    return m_states[(size_t)nIndex].nCheck;
}

void CCheckListBox::Enable(int nIndex, BOOL bEnabled) {
    if (nIndex < 0 || nIndex >= GetCount())
        return;
    if ((size_t)nIndex >= m_states.size())
        m_states.resize((size_t)nIndex + 1);
    m_states[(size_t)nIndex].bEnabled = bEnabled != FALSE;
    InvalidateItem(nIndex);
}

BOOL CCheckListBox::IsEnabled(int nIndex) const {
    if (nIndex < 0 || (size_t)nIndex >= m_states.size())
        return nIndex >= 0 && nIndex < GetCount();
    return m_states[(size_t)nIndex].bEnabled;
}

int CCheckListBox::CheckColumnWidth() const {
    return kCheckBoxSize + 2 * kCheckBoxGap;
}

void CCheckListBox::ToggleCheck(int nIndex) {
    if (!IsEnabled(nIndex))
        return;
    int nCheck = GetCheck(nIndex);
    if (m_nStyle == BS_AUTO3STATE)
        nCheck = (nCheck + 1) % 3;
    else if (m_nStyle == BS_AUTOCHECKBOX)
        nCheck = nCheck == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
    else
        return; // BS_CHECKBOX and BS_3STATE: the caller sets the state
    SetCheck(nIndex, nCheck);
}

int CCheckListBox::CheckBoxHit(POINT pt) const {
    if (pt.x < 0 || pt.x >= CheckColumnWidth())
        return -1;
    BOOL bOutside = TRUE;
    UINT nIndex = ItemFromPoint(pt, bOutside);
    return bOutside ? -1 : (int)nIndex;
}

void CCheckListBox::InvalidateItem(int nIndex) {
    RECT rc;
    if (m_hWnd != nullptr && GetItemRect(nIndex, &rc) != LB_ERR)
        ::InvalidateRect(m_hWnd, &rc, FALSE);
}

void CCheckListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    lpMeasureItemStruct->itemHeight =
        std::max<UINT>(lpMeasureItemStruct->itemHeight, kCheckBoxSize + kCheckBoxGap);
}

void CCheckListBox::DrawItem(LPDRAWITEMSTRUCT lpDis) {
    if (lpDis->itemID == (UINT)-1) {
        // An empty list that has the focus draws only the focus rectangle.
        if (lpDis->itemAction & ODA_FOCUS)
            ::DrawFocusRect(lpDis->hDC, &lpDis->rcItem);
        return;
    }
    HDC hDC = lpDis->hDC;
    int nIndex = (int)lpDis->itemID;
    RECT rcBox = lpDis->rcItem;
    rcBox.left += kCheckBoxGap;
    rcBox.right = rcBox.left + kCheckBoxSize;
    int nSpare = (rcBox.bottom - rcBox.top) - kCheckBoxSize;
    rcBox.top += nSpare / 2;
    rcBox.bottom = rcBox.top + kCheckBoxSize;

    RECT rcText = lpDis->rcItem;
    rcText.left += CheckColumnWidth();
    bool bSelected = (lpDis->itemState & ODS_SELECTED) != 0;
    bool bEnabled = IsEnabled(nIndex) && !(lpDis->itemState & ODS_DISABLED);

    // The check column keeps the window colour; only the text part is
    // highlighted.
    RECT rcColumn = lpDis->rcItem;
    rcColumn.right = rcText.left;
    ::FillRect(hDC, &rcColumn, ::GetSysColorBrush(COLOR_WINDOW));
    UINT nBoxState = DFCS_FLAT;
    int nCheck = GetCheck(nIndex);
    if (nCheck == BST_INDETERMINATE)
        nBoxState |= DFCS_BUTTON3STATE | DFCS_CHECKED;
    else
        nBoxState |= DFCS_BUTTONCHECK | (nCheck == BST_CHECKED ? DFCS_CHECKED : 0);
    if (!bEnabled)
        nBoxState |= DFCS_INACTIVE;
    ::DrawFrameControl(hDC, &rcBox, DFC_BUTTON, nBoxState);

    ::FillRect(hDC, &rcText, ::GetSysColorBrush(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    CString strText;
    GetText(nIndex, strText);
    COLORREF crText = !bEnabled   ? ::GetSysColor(COLOR_GRAYTEXT)
                      : bSelected ? ::GetSysColor(COLOR_HIGHLIGHTTEXT)
                                  : ::GetSysColor(COLOR_WINDOWTEXT);
    COLORREF crOld = ::SetTextColor(hDC, crText);
    int nOldMode = ::SetBkMode(hDC, TRANSPARENT);
    RECT rcLabel = rcText;
    rcLabel.left += kCheckBoxGap;
    ::DrawTextA(hDC, strText, strText.GetLength(), &rcLabel,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    ::SetBkMode(hDC, nOldMode);
    ::SetTextColor(hDC, crOld);
    if (lpDis->itemState & ODS_FOCUS)
        ::DrawFocusRect(hDC, &rcText);
}

LRESULT CCheckListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
        LRESULT lResult = CListBox::WindowProc(message, wParam, lParam);
        if (lResult >= 0) {
            size_t nAt = std::min((size_t)lResult, m_states.size());
            m_states.insert(m_states.begin() + (ptrdiff_t)nAt, ItemState());
        }
        return lResult;
    }
    case LB_DELETESTRING: {
        LRESULT lResult = CListBox::WindowProc(message, wParam, lParam);
        if (lResult != LB_ERR && wParam < m_states.size())
            m_states.erase(m_states.begin() + (ptrdiff_t)wParam);
        return lResult;
    }
    case LB_RESETCONTENT:
        m_states.clear();
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        POINT pt = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        int nIndex = CheckBoxHit(pt);
        if (nIndex >= 0)
            ToggleCheck(nIndex);
        break;
    }
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) {
            int nCaret = GetCaretIndex();
            if (nCaret >= 0 && nCaret < GetCount())
                ToggleCheck(nCaret);
            return 0;
        }
        break;
    default:
        break;
    }
    return CListBox::WindowProc(message, wParam, lParam);
}
