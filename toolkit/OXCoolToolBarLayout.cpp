// OXCoolToolBarLayout.cpp: COXCoolToolBar's layout: the framework's layout
// requests, CalcLayout, CalcSize, WrapToolBar, SizeToolBar and the inside
// rectangle. The wrap and size operations work on an array of buttons only
// (the button size, flat style, drop-down arrows and version of the bar), so
// they can be run on any array.
#include "OXCoolToolBar.h"

#include <algorithm>
#include <vector>

namespace {

const int kOneRow = 32767;
// Bisections of SizeToolBar halve a range below 32768: far fewer steps than this.
const int kMaxBisections = 64;

bool IsSeparatorButton(const TBBUTTON& button) {
    return (button.fsStyle & TBSTYLE_SEP) != 0;
}

bool IsHiddenButton(const TBBUTTON& button) {
    return (button.fsState & TBSTATE_HIDDEN) != 0;
}

bool IsPlaceholder(const TBBUTTON& button) {
    return IsSeparatorButton(button) && button.idCommand != 0;
}

} // namespace

CSize COXCoolToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    const DWORD dwMode = (bStretch ? LM_STRETCH : 0) | (bHorz ? LM_HORZ : 0);
    return CalcLayout(dwMode, -1);
}

CSize COXCoolToolBar::CalcDynamicLayout(int nLength, DWORD nMode) {
    if (nLength == -1 && !(nMode & (LM_MRUWIDTH | LM_COMMIT)) &&
        (nMode & (LM_HORZDOCK | LM_VERTDOCK)))
        return CalcFixedLayout((nMode & LM_STRETCH) != 0, (nMode & LM_HORZDOCK) != 0);
    return CalcLayout(nMode, nLength);
}

CSize COXCoolToolBar::CalcLayout(DWORD dwMode, int nLength) {
    const BOOL bFloating = (m_dwStyle & CBRS_FLOATING) != 0;
    const BOOL bHorz = (dwMode & LM_HORZ) != 0;
    const int nCount = m_hWnd != nullptr ? static_cast<int>(ControlProc(TB_BUTTONCOUNT)) : 0;
    CSize size(0, 0);
    if (nCount <= 0) {
        // An empty bar keeps the size of a button, halved across a docked bar.
        const CSize sizeButton = m_hWnd != nullptr ? GetButtonsSize() : m_sizeButton;
        if (bHorz)
            size = CSize(bFloating ? sizeButton.cx : sizeButton.cx / 2, sizeButton.cy);
        else
            size = CSize(sizeButton.cx, bFloating ? sizeButton.cy : sizeButton.cy / 2);
    } else {
        std::vector<TBBUTTON> buttons(static_cast<size_t>(nCount));
        for (int i = 0; i < nCount; ++i)
            GetButton(i, &buttons[static_cast<size_t>(i)]);
        TBBUTTON* pData = buttons.data();
        if (!(m_dwStyle & CBRS_SIZE_FIXED)) {
            if (!(m_dwStyle & CBRS_SIZE_DYNAMIC)) {
                SizeToolBar(pData, nCount, bHorz ? kOneRow : 0);
            } else if (dwMode & LM_MRUWIDTH) {
                SizeToolBar(pData, nCount, m_nMRUWidth);
            } else if (dwMode & LM_HORZDOCK) {
                SizeToolBar(pData, nCount, kOneRow);
            } else if (dwMode & LM_VERTDOCK) {
                SizeToolBar(pData, nCount, 0);
            } else if (nLength != -1) {
                CRect rectInside(0, 0, 0, 0);
                CalcInsideRect(rectInside, bHorz);
                const BOOL bHeight = (dwMode & LM_LENGTHY) != 0;
                const int nBorders = bHeight ? rectInside.Height() : rectInside.Width();
                SizeToolBar(pData, nCount, nLength + nBorders, bHeight);
            } else if (bFloating) {
                SizeToolBar(pData, nCount, m_nMRUWidth);
            } else {
                SizeToolBar(pData, nCount, bHorz ? kOneRow : 0);
            }
        }
        size = CalcSize(pData, nCount);

        if (dwMode & LM_COMMIT) {
            const BOOL bDelayed = m_bDelayedButtonLayout;
            m_bDelayedButtonLayout = FALSE;
            // Child controls sit on separators whose id is theirs; they move
            // with their separator.
            struct SControlPos {
                int nIndex;
                int nID;
                CRect rectOld;
            };
            std::vector<SControlPos> controls;
            for (int i = 0; i < nCount; ++i) {
                if (!IsPlaceholder(pData[i]))
                    continue;
                SControlPos pos = {i, pData[i].idCommand, CRect()};
                GetItemRect(i, &pos.rectOld);
                ClientToScreen(&pos.rectOld);
                controls.push_back(pos);
            }
            if (bFloating && (m_dwStyle & CBRS_SIZE_DYNAMIC))
                m_nMRUWidth = size.cx;
            for (int i = 0; i < nCount; ++i)
                SetButton(i, &pData[i]);
            for (const SControlPos& pos : controls) {
                CWnd* pControl = GetDlgItem(pos.nID);
                if (pControl == nullptr)
                    continue;
                CRect rectNew;
                GetItemRect(pos.nIndex, &rectNew);
                ClientToScreen(&rectNew);
                CRect rectControl;
                pControl->GetWindowRect(&rectControl);
                ScreenToClient(&rectControl);
                rectControl.OffsetRect(rectNew.TopLeft() - pos.rectOld.TopLeft());
                pControl->SetWindowPos(nullptr, rectControl.left, rectControl.top, 0, 0,
                                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            m_bDelayedButtonLayout = bDelayed;
        }
    }

    CRect rectInside(0, 0, 0, 0);
    CalcInsideRect(rectInside, bHorz);
    size.cx -= rectInside.Width();
    size.cy -= rectInside.Height();
    const CSize sizeFixed = CControlBar::CalcFixedLayout((dwMode & LM_STRETCH) != 0, bHorz);
    size.cx = std::max(size.cx, sizeFixed.cx);
    size.cy = std::max(size.cy, sizeFixed.cy);
    return size;
}

int COXCoolToolBar::SeparatorHeight(const TBBUTTON& button) const {
    // Old common controls and non-flat bars draw separators at two thirds.
    if (IsFlat() && GetComCtlVersion() >= OX_COMCTL_VERSION_471)
        return button.iBitmap;
    return button.iBitmap * 2 / 3;
}

int COXCoolToolBar::ButtonAdvance(const TBBUTTON& button, int nIndex) {
    const bool bAutoSize = (button.fsStyle & TBSTYLE_AUTOSIZE) != 0;
    int cx = m_sizeButton.cx;
    if (bAutoSize) {
        CRect rect;
        GetItemRect(nIndex, &rect);
        cx = rect.Width();
    }
    const bool bNew = GetComCtlVersion() >= OX_COMCTL_VERSION_471;
    if (!IsSeparatorButton(button) && (button.fsStyle & TBSTYLE_DROPDOWN) && IsDropDownArrow() &&
        !bAutoSize && (!IsFlat() || bNew)) {
        if (!bNew)
            MeasureDropDownArrow();
        cx += m_nDropDownArrowWidth;
    }
    return cx;
}

CSize COXCoolToolBar::CalcSize(TBBUTTON* pButtons, int nCount) {
    CPoint cur(0, 0);
    CSize size(0, 0);
    for (int i = 0; i < nCount; ++i) {
        const TBBUTTON& button = pButtons[i];
        if (IsHiddenButton(button))
            continue;
        const bool bSeparator = IsSeparatorButton(button);
        const int cySep = bSeparator ? SeparatorHeight(button) : 0;
        const int cx = bSeparator ? button.iBitmap : ButtonAdvance(button, i);
        const bool bWrap = (button.fsState & TBSTATE_WRAP) != 0;
        if (!bSeparator) {
            size.cx = std::max(size.cx, cur.x + cx);
            size.cy = std::max(size.cy, cur.y + m_sizeButton.cy);
        } else if (bWrap) {
            size.cy = std::max(size.cy, cur.y + m_sizeButton.cy + cySep);
        } else {
            size.cx = std::max(size.cx, cur.x + static_cast<LONG>(button.iBitmap));
            size.cy = std::max(size.cy, cur.y + m_sizeButton.cy);
        }
        cur.x += cx;
        if (bWrap) {
            cur.x = 0;
            cur.y += m_sizeButton.cy + cySep;
        }
    }
    return size;
}

int COXCoolToolBar::WrapToolBar(TBBUTTON* pButtons, int nCount, int nWidth) {
    for (int i = 0; i < nCount; ++i)
        pButtons[i].fsState &= ~TBSTATE_WRAP;
    int nRows = 0;
    int x = 0;
    for (int i = 0; i < nCount; ++i) {
        const TBBUTTON& button = pButtons[i];
        if (IsHiddenButton(button))
            continue;
        const int dx = IsSeparatorButton(button) ? button.iBitmap : ButtonAdvance(button, i);
        if (x + dx > nWidth) {
            // A row ends best at a separator of this row, else after the last
            // ordinary button before this one.
            int nMark = -1;
            for (int j = i; j >= 0 && !(pButtons[j].fsState & TBSTATE_WRAP); --j) {
                if (!IsHiddenButton(pButtons[j]) && IsSeparatorButton(pButtons[j]) &&
                    pButtons[j].idCommand == 0) {
                    nMark = j;
                    break;
                }
            }
            if (nMark < 0) {
                for (int j = i - 1; j >= 0 && !(pButtons[j].fsState & TBSTATE_WRAP); --j) {
                    if (!IsHiddenButton(pButtons[j]) && !IsPlaceholder(pButtons[j])) {
                        nMark = j;
                        break;
                    }
                }
            }
            if (nMark >= 0) {
                pButtons[nMark].fsState |= TBSTATE_WRAP;
                ++nRows;
                x = 0;
                i = nMark; // resumes after the marked button
                continue;
            }
        }
        x += dx;
    }
    return nRows + 1;
}

void COXCoolToolBar::SizeToolBar(TBBUTTON* pButtons, int nCount, int nLength, BOOL bVert) {
    if (!bVert) {
        const int nTarget = WrapToolBar(pButtons, nCount, nLength);
        if (WrapToolBar(pButtons, nCount, 0) != nTarget) {
            // The narrowest width that still gives the target's row count.
            int nMin = 0;
            int nMax = nLength;
            for (int n = 0; n < kMaxBisections && nMin < nMax; ++n) {
                const int nMid = (nMin + nMax) / 2;
                if (WrapToolBar(pButtons, nCount, nMid) == nTarget) {
                    nMax = nMid;
                } else {
                    if (nMin == nMid) {
                        WrapToolBar(pButtons, nCount, nMax);
                        break;
                    }
                    nMin = nMid;
                }
            }
        }
        const CSize size = CalcSize(pButtons, nCount);
        WrapToolBar(pButtons, nCount, size.cx);
        return;
    }
    // A height: between the tallest (width 0) and the flattest (one row) wraps.
    WrapToolBar(pButtons, nCount, 0);
    CSize sizeMin = CalcSize(pButtons, nCount);
    WrapToolBar(pButtons, nCount, kOneRow);
    CSize sizeMax = CalcSize(pButtons, nCount);
    for (int n = 0; n < kMaxBisections && sizeMin.cx < sizeMax.cx; ++n) {
        const int nMid = (sizeMin.cx + sizeMax.cx) / 2;
        WrapToolBar(pButtons, nCount, nMid);
        const CSize sizeMid = CalcSize(pButtons, nCount);
        if (sizeMid.cy > nLength) {
            if (sizeMid == sizeMin) {
                WrapToolBar(pButtons, nCount, sizeMax.cx);
                return;
            }
            sizeMin = sizeMid;
        } else if (sizeMid.cy < nLength) {
            if (sizeMid == sizeMax)
                return; // no narrower wrap is below the length
            sizeMax = sizeMid;
        } else {
            return;
        }
    }
}

void COXCoolToolBar::CalcInsideRect(CRect& rect, BOOL bHorz) const {
    CMFCToolBar::CalcInsideRect(rect, bHorz);
    if (m_hIcon != nullptr) {
        if (bHorz)
            rect.left += ::GetSystemMetrics(SM_CXSMICON) + 2;
        else
            rect.top += ::GetSystemMetrics(SM_CYSMICON) + 2;
    }
    // The reserved space of a derived bar (the menu bar's MDI buttons) may
    // depend on state its calculation updates.
    CRect rectReserved(0, 0, 0, 0);
    const_cast<COXCoolToolBar*>(this)->CalcReservedBorders(rectReserved, bHorz);
    rect.left += rectReserved.left;
    rect.top += rectReserved.top;
    rect.right -= rectReserved.right;
    rect.bottom -= rectReserved.bottom;
}

void COXCoolToolBar::CalcReservedBorders(CRect& rect, BOOL) {
    rect.SetRectEmpty();
}

void COXCoolToolBar::PlaceButtonWindows() {
    const int nCount = static_cast<int>(ControlProc(TB_BUTTONCOUNT));
    for (int i = 0; i < nCount; ++i) {
        TBBUTTON button = {};
        GetButton(i, &button);
        if (!IsPlaceholder(button))
            continue;
        CWnd* pControl = GetDlgItem(button.idCommand);
        if (pControl == nullptr)
            continue;
        CRect rect;
        GetItemRect(i, &rect);
        pControl->SetWindowPos(nullptr, rect.left, rect.top, 0, 0,
                               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
