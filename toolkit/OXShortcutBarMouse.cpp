// OXShortcutBarMouse.cpp: COXShortcutBar's mouse on the headers (hot and
// pressed headers, expansion by click and by hovering, reordering groups by
// dragging a header), its timers, tooltips, OLE drags passing over the bar and
// command routing.
#include "OXShortcutBar.h"

#include "Common/TraceLog.h"
#include "framework/Dc.h"
#include "framework/ImageList.h"
#include "framework/WinApp.h"

#include <new>

namespace {

// The press delay: the one timer period that is no setting of the bar.
const UINT kPressDelayMs = 100;

BOOL IsLeftButtonDown() {
    return (::GetKeyState(VK_LBUTTON) & 0x8000) != 0;
}

CPoint CursorInClient(const CWnd* pWnd) {
    CPoint point;
    ::GetCursorPos(&point);
    ::ScreenToClient(pWnd->GetSafeHwnd(), &point);
    return point;
}

} // namespace

// ---------------------------------------------------------------------------
// Hot, pressed, dragged and drop-target groups

void COXShortcutBar::SetHotGroup(HSHBGROUP hGroup) {
    if (hGroup == m_hHotGroup)
        return;
    HSHBGROUP hOldGroup = m_hHotGroup;
    m_hHotGroup = hGroup;
    // Only button headers look different when hot.
    if (m_dwBarStyle & SHBS_BUTTONHEADERS) {
        UpdateHeader(hOldGroup);
        UpdateHeader(hGroup);
    }
}

HSHBGROUP COXShortcutBar::SetDragGroup(HSHBGROUP hGroup) {
    HSHBGROUP hOldGroup = m_hDragGroup;
    if (hGroup == hOldGroup)
        return hOldGroup;
    SendSHBNotification(SHBN_DRAGHEADER, hGroup, -1, reinterpret_cast<LPARAM>(&m_ptDragOffset));
    m_hDragGroup = hGroup;
    return hOldGroup;
}

HSHBGROUP COXShortcutBar::SetDropTargetGroup(HSHBGROUP hGroup) {
    HSHBGROUP hOldGroup = m_hDropTargetGroup;
    m_hDropTargetGroup = hGroup;
    return hOldGroup;
}

void COXShortcutBar::CheckPressedState() {
    if (m_hPressedGroup == nullptr || IsLeftButtonDown())
        return;
    HSHBGROUP hGroup = m_hPressedGroup;
    m_hPressedGroup = nullptr;
    if (m_dwBarStyle & SHBS_BUTTONHEADERS)
        UpdateHeader(hGroup);
}

// ---------------------------------------------------------------------------
// Timers

void COXShortcutBar::KillBarTimer(UINT_PTR nIDEvent) {
    UINT_PTR* pnTimer = nullptr;
    switch (nIDEvent) {
    case SHB_IDTPRESSDELAY:
        pnTimer = &m_nPressTimer;
        break;
    case SHB_IDTAUTOEXPAND:
        pnTimer = &m_nAutoExpandTimer;
        break;
    case SHB_IDTHOTCHECK:
        pnTimer = &m_nHotCheckTimer;
        break;
    default:
        return;
    }
    if (*pnTimer != 0) {
        if (::IsWindow(m_hWnd))
            KillTimer(*pnTimer);
        *pnTimer = 0;
    }
}

void COXShortcutBar::StopAutoExpand() {
    KillBarTimer(SHB_IDTAUTOEXPAND);
    m_hPendingExpandGroup = nullptr;
}

void COXShortcutBar::TrackAutoExpand(HSHBGROUP hGroup, BOOL bOnHeader, UINT nDelay) {
    if (hGroup == nullptr || hGroup == m_hExpandedGroup || m_hEditGroup != nullptr)
        return;
    if (m_nAutoExpandTimer != 0 && (m_hPendingExpandGroup != hGroup || !bOnHeader))
        StopAutoExpand();
    if (m_hPendingExpandGroup != hGroup && bOnHeader) {
        m_hPendingExpandGroup = hGroup;
        m_nAutoExpandTimer = SetTimer(SHB_IDTAUTOEXPAND, nDelay, nullptr);
    }
}

void COXShortcutBar::OnTimer(UINT_PTR nIDEvent) {
    CheckPressedState();
    switch (nIDEvent) {
    case SHB_IDTPRESSDELAY:
        // From now on a move with the button down drags the pending header.
        KillBarTimer(SHB_IDTPRESSDELAY);
        break;
    case SHB_IDTAUTOEXPAND: {
        KillBarTimer(SHB_IDTAUTOEXPAND);
        UINT nFlags = SHB_NOWHERE;
        HSHBGROUP hGroup = HitTest(CursorInClient(this), &nFlags);
        if (nFlags == SHB_ONHEADER && hGroup != nullptr && hGroup == m_hPendingExpandGroup) {
            m_hPendingExpandGroup = nullptr;
            ExpandGroup(hGroup);
        } else {
            m_hPendingExpandGroup = nullptr;
        }
        break;
    }
    case SHB_IDTHOTCHECK: {
        UINT nFlags = SHB_NOWHERE;
        HSHBGROUP hGroup = HitTest(CursorInClient(this), &nFlags);
        SetHotGroup(nFlags == SHB_ONHEADER ? hGroup : nullptr);
        break;
    }
    default:
        CWnd::OnTimer(nIDEvent);
        break;
    }
}

// ---------------------------------------------------------------------------
// Press, release and the header drag

void COXShortcutBar::OnLButtonDown(UINT nFlags, CPoint point) {
    CancelLostHeaderDrag(point);
    // A pending press of an earlier click never starts a drag from this one.
    KillBarTimer(SHB_IDTPRESSDELAY);
    m_hPendingPressGroup = nullptr;

    UINT nHit = SHB_NOWHERE;
    HSHBGROUP hGroup = HitTest(point, &nHit);
    if (nHit == SHB_ONHEADER && hGroup != nullptr) {
        m_hPressedGroup = hGroup;
        if (m_dwBarStyle & SHBS_BUTTONHEADERS)
            UpdateHeader(hGroup);
        else
            ExpandGroup(hGroup);

        if (!(m_dwBarStyle & SHBS_DISABLEDRAGHEADER)) {
            // The expansion may have moved the header away from the point.
            UINT nHitAfter = SHB_NOWHERE;
            if (HitTest(point, &nHitAfter) == hGroup && nHitAfter == SHB_ONHEADER) {
                m_nPressTimer = SetTimer(SHB_IDTPRESSDELAY, kPressDelayMs, nullptr);
                m_hPendingPressGroup = hGroup;
                CRect rectHeader;
                if ((m_dwBarStyle & SHBS_DRAWHEADERDRAGIMAGE) &&
                    GetGroupHeaderRect(hGroup, &rectHeader))
                    m_ptDragOffset = point - rectHeader.TopLeft();
            }
        }
    }
    CWnd::OnLButtonDown(nFlags, point);
}

void COXShortcutBar::OnLButtonUp(UINT nFlags, CPoint point) {
    KillBarTimer(SHB_IDTPRESSDELAY);
    m_hPendingPressGroup = nullptr;

    if (m_hDragGroup != nullptr) {
        EndHeaderDrag(point);
    } else if (m_hPressedGroup != nullptr) {
        HSHBGROUP hGroup = m_hPressedGroup;
        m_hPressedGroup = nullptr;
        if (m_dwBarStyle & SHBS_BUTTONHEADERS) {
            UINT nHit = SHB_NOWHERE;
            BOOL bOnSameHeader = HitTest(point, &nHit) == hGroup && nHit == SHB_ONHEADER;
            // Released elsewhere, the header loses its pressed look without
            // expanding.
            if (!bOnSameHeader || hGroup == m_hExpandedGroup)
                UpdateHeader(hGroup);
            else
                ExpandGroup(hGroup);
        }
    }
    CWnd::OnLButtonUp(nFlags, point);
}

void COXShortcutBar::OnMouseMove(UINT nFlags, CPoint point) {
    CheckPressedState();
    CancelLostHeaderDrag(point);

    UINT nHit = SHB_NOWHERE;
    HSHBGROUP hGroup = HitTest(point, &nHit);
    SetHotGroup(nHit == SHB_ONHEADER ? hGroup : nullptr);

    if (m_hDragGroup != nullptr) {
        // --- A header drag goes on: find the header it would be dropped on.
        if (nHit == SHB_ONCHILD) {
            nHit = SHB_NOWHERE;
            hGroup = nullptr;
        }
        CPoint ptScreen = point;
        ClientToScreen(&ptScreen);
        if (m_pDragImage != nullptr)
            CImageList::DragMove(ptScreen);

        HSHBGROUP hTarget = nHit == SHB_ONHEADER ? hGroup : nullptr;
        if (hTarget == nullptr) {
            CRect rectDragged;
            IMAGEINFO imageInfo = {};
            if (m_pDragImage != nullptr && m_pDragImage->GetImageInfo(0, &imageInfo)) {
                CRect rectImage(imageInfo.rcImage);
                rectDragged = CRect(CPoint(point.x - m_ptDragOffset.x, point.y - m_ptDragOffset.y),
                                    rectImage.Size());
            } else {
                GetGroupHeaderRect(m_hDragGroup, &rectDragged);
            }
            CRect rectClient;
            GetClientRect(&rectClient);
            CRect rectInClient;
            BOOL bInsideChild =
                !m_rectChild.IsRectEmpty() && rectDragged.left >= m_rectChild.left &&
                rectDragged.top >= m_rectChild.top && rectDragged.right <= m_rectChild.right &&
                rectDragged.bottom <= m_rectChild.bottom;
            if (rectInClient.IntersectRect(rectDragged, rectClient) && !bInsideChild) {
                // The header the dragged rectangle covers most; the first keeps a tie.
                int nBestArea = 0;
                for (int nOrder = 0; nOrder < GetGroupCount(); ++nOrder) {
                    HSHBGROUP hCandidate = FindGroupByOrder(nOrder);
                    CRect rectHeader;
                    CRect rectCommon;
                    if (hCandidate == nullptr || !GetGroupHeaderRect(hCandidate, &rectHeader) ||
                        !rectCommon.IntersectRect(rectHeader, rectDragged))
                        continue;
                    int nArea = rectCommon.Width() * rectCommon.Height();
                    if (nArea > nBestArea) {
                        nBestArea = nArea;
                        hTarget = hCandidate;
                    }
                }
            }
        }

        HSHBGROUP hOldTarget = SetDropTargetGroup(hTarget);
        BOOL bRepaintOld =
            hOldTarget != hTarget && hOldTarget != nullptr && hOldTarget != m_hDragGroup;
        BOOL bRepaintNew = hTarget != hOldTarget && hTarget != nullptr && hTarget != m_hDragGroup;
        if (bRepaintOld || bRepaintNew) {
            // The image is drawn over the screen; it must not be painted over.
            if (m_pDragImage != nullptr)
                CImageList::DragShowNolock(FALSE);
            if (bRepaintOld)
                UpdateHeader(hOldTarget);
            if (bRepaintNew)
                UpdateHeader(hTarget);
            if (m_pDragImage != nullptr)
                CImageList::DragShowNolock(TRUE);
        }
        BOOL bCanDrop = hTarget != nullptr && hTarget != m_hDragGroup;
        ::SetCursor(::LoadCursor(nullptr, bCanDrop ? IDC_ARROW : IDC_NO));
    } else if (nHit == SHB_ONHEADER && hGroup != nullptr && m_nPressTimer == 0 &&
               (nFlags & MK_LBUTTON) && hGroup == m_hPendingPressGroup &&
               !(m_dwBarStyle & SHBS_DISABLEDRAGHEADER)) {
        // --- The press delay is over and the button is still down: the drag starts.
        if (m_dwBarStyle & SHBS_DRAWHEADERDRAGIMAGE) {
            delete m_pDragImage;
            m_pDragImage = CreateGroupDragImage(hGroup);
            if (m_pDragImage != nullptr) {
                CPoint ptScreen;
                ::GetCursorPos(&ptScreen);
                m_pDragImage->BeginDrag(0, m_ptDragOffset);
                CImageList::DragEnter(GetDesktopWindow(), ptScreen);
                CImageList::DragShowNolock(FALSE);
            }
        }
        SetCapture();
        SetDragGroup(hGroup);
        UpdateHeader(hGroup);
        if (m_pDragImage != nullptr)
            CImageList::DragShowNolock(TRUE);
    } else if ((m_dwBarStyle & SHBS_AUTOEXPAND) && m_nPressTimer == 0 && !(nFlags & MK_LBUTTON) &&
               hGroup != nullptr) {
        TrackAutoExpand(hGroup, nHit == SHB_ONHEADER, m_nAutoExpandDelay);
    }
    CWnd::OnMouseMove(nFlags, point);
}

void COXShortcutBar::CancelLostHeaderDrag(CPoint point) {
    // Another window or the system took the capture away: the drag never gets
    // its button-up and must not drop on a stale target at the next one.
    if (m_hDragGroup == nullptr || GetCapture() == this)
        return;
    SetDropTargetGroup(nullptr);
    EndHeaderDrag(point);
}

// The release point adds nothing: the last move found the target.
void COXShortcutBar::EndHeaderDrag(CPoint) {
    if (m_pDragImage != nullptr) {
        CImageList::DragLeave(GetDesktopWindow());
        CImageList::EndDrag();
        // The image served this drag only.
        delete m_pDragImage;
        m_pDragImage = nullptr;
    }
    HSHBGROUP hDragged = m_hDragGroup;
    SetDragGroup(nullptr);
    HSHBGROUP hTarget = SetDropTargetGroup(nullptr);
    // A header dropped back onto itself is no move, and the owner is not asked.
    if (hTarget != nullptr && hTarget != hDragged) {
        if (SendSHBNotification(SHBN_DROPGROUP, hDragged, -1, reinterpret_cast<LPARAM>(hTarget))) {
            UpdateHeader(hTarget);
            UpdateHeader(hDragged);
        } else {
            SetGroupOrder(hDragged, GetGroupOrder(hTarget));
            UpdateBar();
        }
    } else {
        UpdateHeader(hDragged);
    }
    if (GetCapture() == this)
        ::ReleaseCapture();
}

CImageList* COXShortcutBar::CreateGroupDragImage(HSHBGROUP hGroup) {
    CRect rectHeader;
    if (!GetGroupHeaderRect(hGroup, &rectHeader) || rectHeader.IsRectEmpty())
        return nullptr;
    const CRect rectImage(0, 0, rectHeader.Width(), rectHeader.Height());

    CClientDC dc(this);
    CDC dcMem;
    CBitmap bitmap;
    if (!dcMem.CreateCompatibleDC(&dc) ||
        !bitmap.CreateCompatibleBitmap(&dc, rectImage.Width(), rectImage.Height())) {
        KWTRACE_ERROR(("COXShortcutBar::CreateGroupDragImage: failed to create the header "
                       "bitmap\n"));
        return nullptr;
    }
    m_bDrawingDragImage = TRUE;
    HGDIOBJ hOldBitmap = ::SelectObject(dcMem.GetSafeHdc(), bitmap.GetSafeHandle());
    BOOL bPainted = PaintHeader(&dcMem, hGroup, rectImage);
    ::SelectObject(dcMem.GetSafeHdc(), hOldBitmap);
    m_bDrawingDragImage = FALSE;
    if (!bPainted)
        return nullptr;

    CImageList* pImageList = new (std::nothrow) CImageList;
    if (pImageList == nullptr)
        return nullptr;
    if (!pImageList->Create(rectImage.Width(), rectImage.Height(), ILC_COLOR24, 0, 1) ||
        pImageList->Add(&bitmap, static_cast<CBitmap*>(nullptr)) != 0) {
        KWTRACE_ERROR(("COXShortcutBar::CreateGroupDragImage: failed to create the image list\n"));
        delete pImageList;
        return nullptr;
    }
    return pImageList;
}

// ---------------------------------------------------------------------------
// OLE drags over the bar

LRESULT COXShortcutBar::OnDropTargetDragOver(WPARAM, LPARAM lParam) {
    return OnDragOver(reinterpret_cast<SHBDROPTARGETACTION*>(lParam));
}

LRESULT COXShortcutBar::OnDropTargetDragLeave(WPARAM, LPARAM lParam) {
    return OnDragLeave(reinterpret_cast<SHBDROPTARGETACTION*>(lParam));
}

LRESULT COXShortcutBar::OnDragOver(SHBDROPTARGETACTION* pAction) {
    if ((m_dwBarStyle & SHBS_DISABLEDRAGDROP) || pAction == nullptr)
        return 0;
    if (SendSHBNotification(SHBN_DRAGOVER, nullptr, -1, reinterpret_cast<LPARAM>(pAction)))
        return 1;
    // The bar itself never takes a drop; it only opens the group under the drag.
    pAction->result = DROPEFFECT_NONE;
    UINT nHit = SHB_NOWHERE;
    HSHBGROUP hGroup = HitTest(CPoint(pAction->point), &nHit);
    if (hGroup == nullptr || hGroup == m_hExpandedGroup)
        return 1;
    TrackAutoExpand(hGroup, nHit == SHB_ONHEADER, m_nAutoExpandDelay / 4);
    return 1;
}

LRESULT COXShortcutBar::OnDragLeave(SHBDROPTARGETACTION* pAction) {
    if (m_dwBarStyle & SHBS_DISABLEDRAGDROP)
        return 0;
    if (SendSHBNotification(SHBN_DRAGLEAVE, nullptr, -1, reinterpret_cast<LPARAM>(pAction)))
        return 1;
    StopAutoExpand();
    return 1;
}

COleDropTarget* COXShortcutBar::GetDropTarget() {
    NMSHORTCUTBAR nmshb;
    nmshb.hdr.code = SHBN_GETDROPTARGET;
    if (SendSHBNotification(&nmshb) && nmshb.lParam != 0)
        return reinterpret_cast<COleDropTarget*>(nmshb.lParam);
    return &m_dropTarget;
}

// ---------------------------------------------------------------------------
// Tooltips

INT_PTR COXShortcutBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
    if (!(m_dwBarStyle & SHBS_INFOTIP))
        return -1;
    UINT nHit = SHB_NOWHERE;
    HSHBGROUP hGroup = HitTest(point, &nHit);
    if (nHit != SHB_ONHEADER || hGroup == nullptr)
        return -1;
    if (pTI != nullptr) {
        pTI->hwnd = m_hWnd;
        GetGroupHeaderRect(hGroup, &pTI->rect);
        pTI->uId = reinterpret_cast<UINT_PTR>(hGroup);
        pTI->lpszText = LPSTR_TEXTCALLBACK;
    }
    return reinterpret_cast<INT_PTR>(hGroup);
}

BOOL COXShortcutBar::OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult) {
    if (pNMHDR->code != TTN_NEEDTEXTA && pNMHDR->code != TTN_NEEDTEXTW)
        return FALSE;
    // Only the header tools of OnToolHitTest are the bar's: their id is the group.
    HSHBGROUP hGroup = reinterpret_cast<HSHBGROUP>(pNMHDR->idFrom);
    if (m_groups.find(hGroup) == m_groups.end())
        return FALSE;

    SHBINFOTIP infoTip;
    LRESULT lResult =
        SendSHBNotification(SHBN_GETHEADERINFOTIP, hGroup, -1, reinterpret_cast<LPARAM>(&infoTip));
    // The owner may have filled all 80 characters without a terminator.
    infoTip.szText[sizeof(infoTip.szText) / sizeof(infoTip.szText[0]) - 1] = '\0';
    if (pNMHDR->code == TTN_NEEDTEXTA) {
        NMTTDISPINFOA* pDispInfo = reinterpret_cast<NMTTDISPINFOA*>(pNMHDR);
        ::lstrcpynA(pDispInfo->szText, infoTip.szText, sizeof(pDispInfo->szText));
        pDispInfo->lpszText = infoTip.pszText != nullptr ? infoTip.pszText : pDispInfo->szText;
        pDispInfo->hinst = infoTip.hInstance;
    } else {
        NMTTDISPINFOW* pDispInfo = reinterpret_cast<NMTTDISPINFOW*>(pNMHDR);
        const int nChars = sizeof(pDispInfo->szText) / sizeof(pDispInfo->szText[0]);
        // The owner's text is 8-bit: a wide request gets it converted into the
        // tooltip's buffer, never its pointer; a resource number stays a number.
        LPCSTR pszSource = infoTip.szText;
        if (infoTip.pszText != nullptr && !IS_INTRESOURCE(infoTip.pszText))
            pszSource = infoTip.pszText;
        if (::MultiByteToWideChar(CP_ACP, 0, pszSource, -1, pDispInfo->szText, nChars) == 0)
            pDispInfo->szText[nChars - 1] = 0;
        if (infoTip.pszText != nullptr && IS_INTRESOURCE(infoTip.pszText))
            pDispInfo->lpszText = reinterpret_cast<LPWSTR>(infoTip.pszText);
        else
            pDispInfo->lpszText = pDispInfo->szText;
        pDispInfo->hinst = infoTip.hInstance;
    }
    *pResult = lResult;
    return TRUE;
}

// ---------------------------------------------------------------------------
// Command routing

BOOL COXShortcutBar::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    // Notifications and reflected messages stay with the bar's own map.
    if (nCode != CN_COMMAND && nCode != static_cast<int>(CN_UPDATE_COMMAND_UI))
        return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);

    CWnd* pParent = GetParent();
    if (pParent != nullptr && !pParent->IsKindOf(RUNTIME_CLASS(COXShortcutBar)) &&
        pParent->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (m_hExpandedGroup != nullptr) {
        CWnd* pChild = CWnd::FromHandlePermanent(GetGroupChildWndHandle(m_hExpandedGroup));
        if (pChild != nullptr && !pChild->IsKindOf(RUNTIME_CLASS(COXShortcutBar)) &&
            pChild->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
    }
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
