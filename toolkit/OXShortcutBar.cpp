// OXShortcutBar.cpp: COXShortcutBar's creation, its group table and records,
// the checks, the notifications to the owner, the message map and teardown.
#include "OXShortcutBar.h"

#include "OXSHBListCtrl.h"
#include "OXShortcutBarSkin.h"
#include "OXSkinnedApp.h"

#include "Common/TraceLog.h"
#include "framework/ImageList.h"
#include "framework/WinApp.h"
#include "framework/WinThread.h"

#include <cstring>
#include <new>
#include <vector>

namespace {

const char kClassName[] = "OXShortcutBar";

// The bar style a window attached to an existing control gets: editing on,
// every kind of dragging off.
const DWORD kAttachedBarStyle = SHBS_DISABLEDRAGITEM | SHBS_DISABLEDRAGDROP | SHBS_EDITHEADERS |
                                SHBS_EDITITEMS | SHBS_DISABLEDRAGHEADER;

// LVS_NOSCROLL | LVS_SHAREIMAGELISTS | LVS_SINGLESEL: the bar's list scrolls
// with its own buttons and shares the application's image lists.
const DWORD kListStyle = 0x2044;

const int kHeaderHeight = 18;
const int kHeaderHeight2003 = 32;

// The bytes of a record's text that count: up to its terminator, and no more
// than nTextMax when that is given. A caller's nTextMax is a bound, never a
// promise that so many bytes are there.
int TextLength(LPCTSTR pszText, int nTextMax) {
    if (pszText == nullptr)
        return 0;
    const size_t nLength = nTextMax > 0 ? strnlen(pszText, (size_t)nTextMax) : strlen(pszText);
    return (int)nLength;
}

// The group's descriptor when it sets the field nField (SHBDM_*), else null:
// the group then takes that field's default.
const SHB_DESCRIPTOR* DescriptorSetting(const SHB_GROUPINFO* pInfo, UINT nField) {
    if (pInfo == nullptr || !(pInfo->nMask & SHBIF_DESCRIPTOR) || pInfo->pDescriptor == nullptr)
        return nullptr;
    return (pInfo->pDescriptor->nMask & nField) ? pInfo->pDescriptor : nullptr;
}

// A group's setting: the descriptor's field when it sets it, else the default
// that makeDefault gives; notFound for an unknown group.
template <class T, class TMakeDefault>
T DescriptorValue(const SHB_GROUPINFO* pInfo, UINT nField, T SHB_DESCRIPTOR::*pField, T notFound,
                  TMakeDefault makeDefault) {
    if (pInfo == nullptr)
        return notFound;
    if (const SHB_DESCRIPTOR* pDescriptor = DescriptorSetting(pInfo, nField))
        return pDescriptor->*pField;
    return makeDefault();
}

int Sign(int n) {
    return (n > 0) - (n < 0);
}

} // namespace

IMPLEMENT_DYNCREATE(COXShortcutBar, CWnd)

// clang-format off
BEGIN_MESSAGE_MAP(COXShortcutBar, CWnd)
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_NCHITTEST()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_WM_CONTEXTMENU()
    ON_MESSAGE(SHBDTM_DRAGOVER, &COXShortcutBar::OnDropTargetDragOver)
    ON_MESSAGE(SHBDTM_DRAGLEAVE, &COXShortcutBar::OnDropTargetDragLeave)
    ON_COMMAND(SHB_IDMLARGEICON, &COXShortcutBar::OnLargeIcon)
    ON_COMMAND(SHB_IDMSMALLICON, &COXShortcutBar::OnSmallIcon)
    ON_COMMAND(SHB_IDMADDGROUP, &COXShortcutBar::OnAddGroup)
    ON_COMMAND(SHB_IDMREMOVEGROUP, &COXShortcutBar::OnRemoveGroup)
    ON_COMMAND(SHB_IDMRENAMEGROUP, &COXShortcutBar::OnRenameGroup)
    ON_COMMAND(SHB_IDMREMOVEITEM, &COXShortcutBar::OnRemoveItem)
    ON_COMMAND(SHB_IDMRENAMEITEM, &COXShortcutBar::OnRenameItem)
    ON_UPDATE_COMMAND_UI(SHB_IDMLARGEICON, &COXShortcutBar::OnUpdateLargeIcon)
    ON_UPDATE_COMMAND_UI(SHB_IDMSMALLICON, &COXShortcutBar::OnUpdateSmallIcon)
    ON_NOTIFY(SHBEN_FINISHEDIT, SHB_IDCEDIT, &COXShortcutBar::OnFinishEdit)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, &COXShortcutBar::OnToolTipText)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTW, 0, 0xFFFF, &COXShortcutBar::OnToolTipText)
END_MESSAGE_MAP()
// clang-format on

COXShortcutBar::COXShortcutBar()
    : m_pImageList(nullptr), m_hExpandedGroup(nullptr), m_hEditGroup(nullptr),
      m_hContextMenuGroup(nullptr), m_hDragGroup(nullptr), m_hDropTargetGroup(nullptr),
      m_hPressedGroup(nullptr), m_hHotGroup(nullptr), m_nSortDirection(0), m_dwBarStyle(0),
      m_rectChild(0, 0, 0, 0), m_rectMargins(5, 5, 5, 5), m_sizeScrollButton(16, 16),
      m_nScrollingDelay(200), m_nAutoScrollingDelay(400), m_nAutoExpandDelay(800),
      m_bDrawingDragImage(FALSE), m_nHandleCounter(0), m_pDragImage(nullptr), m_ptDragOffset(0, 0),
      m_nPressTimer(0), m_nAutoExpandTimer(0), m_nHotCheckTimer(0), m_hPendingPressGroup(nullptr),
      m_hPendingExpandGroup(nullptr), m_pOwnSkin(nullptr) {
    if (!m_font.CreateFont(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "MS Sans Serif")) {
        KWTRACE_ERROR(("COXShortcutBar::COXShortcutBar: failed to create default font\n"));
        AfxThrowMemoryException();
    }
}

COXShortcutBar::~COXShortcutBar() {
    // The owner hears of every group while it can still be told.
    if (::IsWindow(m_hWnd))
        DeleteAllGroups();
    for (SHB_DESCRIPTOR* pDescriptor : m_descriptors)
        delete pDescriptor;
    m_descriptors.clear();
    for (auto& group : m_groups)
        delete group.second;
    m_groups.clear();
    for (auto& list : m_lists)
        delete list.second;
    m_lists.clear();
    delete m_pDragImage;
    m_pDragImage = nullptr;
    if (::IsWindow(m_hWnd))
        DestroyWindow();
    delete m_pOwnSkin;
    m_pOwnSkin = nullptr;
}

// ---------------------------------------------------------------------------
// Creation and set-up

BOOL COXShortcutBar::Create(CWnd* pParentWnd, const RECT& rect, DWORD dwBarStyle, UINT nID,
                            DWORD dwStyle, DWORD dwExStyle) {
    const HINSTANCE hInstance = AfxGetInstanceHandle();
    WNDCLASSA wc = {};
    if (!::GetClassInfoA(hInstance, kClassName, &wc)) {
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = AfxWndProc;
        wc.hInstance = hInstance;
        wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kClassName;
        if (!::RegisterClassA(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
            KWTRACE_ERROR(("COXShortcutBar::Create: failed to register shortcut bar window class"));
            return FALSE;
        }
    }
    // The style is checked before the window exists, so a refused one leaves
    // no window behind.
    if (!VerifyBarStyle(dwBarStyle))
        return FALSE;
    if (!CreateEx(dwExStyle, kClassName, "", dwStyle | WS_CHILD, rect, pParentWnd, nID)) {
        KWTRACE_ERROR(("COXShortcutBar::Create: failed to create the shortcut bar control\n"));
        return FALSE;
    }
    SetBarStyle(dwBarStyle);
    if (!InitShortcutBar()) {
        KWTRACE_ERROR(("COXShortcutBar::Create: failed to initialize the shortcut bar"));
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

BOOL COXShortcutBar::InitShortcutBar() {
    if (!CreateEditControl()) {
        KWTRACE_ERROR(("COXShortcutBar::InitShortcutBar: failed to create edit control"));
        return FALSE;
    }
    EnableToolTips(TRUE);
    m_nHotCheckTimer = SetTimer(SHB_IDTHOTCHECK, 500, nullptr);
    COleDropTarget* pDropTarget = GetDropTarget();
    if (pDropTarget == nullptr || !pDropTarget->Register(this)) {
        KWTRACE_ERROR(("COXShortcutBar::InitShortcutBar: failed to register the shortcut bar with "
                       "COleDropTarget\n"));
        KWTRACE_ERROR(("COXShortcutBar: you've probably forgot to initialize OLE libraries using "
                       "AfxOleInit function\n"));
    }
    return TRUE;
}

void COXShortcutBar::PreSubclassWindow() {
    // During Create the caller's style and InitShortcutBar follow; an attached
    // control gets neither otherwise.
    if (AfxGetThreadState()->m_pWndInit != this) {
        SetBarStyle(kAttachedBarStyle);
        if (!InitShortcutBar())
            KWTRACE_ERROR(
                ("COXShortcutBar::PreSubclassWindow: failed to initialize shortcut bar\n"));
    }
    CWnd::PreSubclassWindow();
}

BOOL COXShortcutBar::SetBarStyle(DWORD dwBarStyle) {
    if (!VerifyBarStyle(dwBarStyle))
        return FALSE;
    m_dwBarStyle = dwBarStyle;
    if (::IsWindow(m_hWnd))
        SendMessageToDescendants(SHBM_SHBSTYLECHANGED, 0, 0x20);
    return TRUE;
}

CImageList* COXShortcutBar::SetGroupImageList(CImageList* pImageList) {
    CImageList* pOldImageList = m_pImageList;
    m_pImageList = pImageList;
    return pOldImageList;
}

BOOL COXShortcutBar::CreateEditControl() {
    if (!::IsWindow(m_edit.m_hWnd))
        m_edit.Create(WS_BORDER, CRect(0, 0, 0, 0), this, SHB_IDCEDIT);
    return ::IsWindow(m_edit.m_hWnd);
}

COXSHBListCtrl* COXShortcutBar::NewListControl() {
    return new (std::nothrow) COXSHBListCtrl;
}

BOOL COXShortcutBar::CreateListControl(HSHBGROUP hGroup) {
    if (GetGroupInfo(hGroup) == nullptr)
        return FALSE;
    auto it = m_lists.find(hGroup);
    if (it == m_lists.end() || it->second == nullptr)
        return FALSE;
    COXSHBListCtrl* pList = it->second;
    if (::IsWindow(pList->m_hWnd))
        pList->DestroyWindow();
    // The group handle is the list's control identifier, so the list's own
    // notifications name their group.
    if (!pList->Create(kListStyle | WS_CHILD, CRect(0, 0, 0, 0), this, (UINT)(UINT_PTR)hGroup))
        return FALSE;
    pList->SendMessage(SHBM_SETSHBGROUP, 0, reinterpret_cast<LPARAM>(hGroup));
    return TRUE;
}

HSHBGROUP COXShortcutBar::GetUniqueGroupHandle() {
    return reinterpret_cast<HSHBGROUP>(++m_nHandleCounter);
}

COXShortcutBarSkin* COXShortcutBar::GetShortcutBarSkin() {
    return OXGetElementSkin<COXShortcutBarSkinClassic, COXShortcutBarSkin>(
        &COXSkin::GetShortcutBarSkin, m_pOwnSkin);
}

// ---------------------------------------------------------------------------
// Notifications

LRESULT COXShortcutBar::SendSHBNotification(LPNMSHORTCUTBAR pNMSHB) const {
    if (pNMSHB == nullptr || !::IsWindow(m_hWnd))
        return 0;
    CWnd* pOwner = GetOwner();
    if (pOwner == nullptr || !::IsWindow(pOwner->m_hWnd))
        return 0;
    const UINT nID = (UINT)GetDlgCtrlID();
    pNMSHB->hdr.hwndFrom = m_hWnd;
    pNMSHB->hdr.idFrom = nID;
    return pOwner->SendMessage(WM_NOTIFY, nID, reinterpret_cast<LPARAM>(pNMSHB));
}

LRESULT COXShortcutBar::SendSHBNotification(UINT nCode, HSHBGROUP hGroup, int nItem,
                                            LPARAM lParam) const {
    NMSHORTCUTBAR nmshb;
    nmshb.hdr.code = nCode;
    nmshb.hGroup = hGroup;
    nmshb.nItem = nItem;
    nmshb.lParam = lParam;
    return SendSHBNotification(&nmshb);
}

// ---------------------------------------------------------------------------
// Checks

BOOL COXShortcutBar::VerifyMask(UINT nMask) const {
    if ((nMask & ~(UINT)SHBIF_ALL) != 0) {
        KWTRACE_ERROR(("COXShortcutBar::VerifyMask: unknown mask specified"));
        return FALSE;
    }
    return TRUE;
}

BOOL COXShortcutBar::VerifyChildWnd(HWND hWnd) const {
    if (hWnd == nullptr || !::IsWindow(hWnd)) {
        KWTRACE_ERROR(("COXShortcutBar::VerifyChildWnd: window wasn't created\n"));
        return FALSE;
    }
    if ((::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD) == 0) {
        KWTRACE_ERROR(("COXShortcutBar::VerifyChildWnd: WS_CHILD style must be specified\n"));
        return FALSE;
    }
    if (m_hWnd == nullptr || ::GetParent(hWnd) != m_hWnd) {
        KWTRACE_ERROR(
            ("COXShortcutBar::VerifyChildWnd: child window parent window is not <this>\n"));
        return FALSE;
    }
    return TRUE;
}

BOOL COXShortcutBar::VerifyOrder(int nOrder) const {
    const int nCount = GetGroupCount();
    if (nOrder < SHBI_SORT || nOrder >= nCount) {
        KWTRACE_ERROR(("COXShortcutBar::VerifyOrder: order number %d is out of range: 0 ... %d\n",
                       nOrder, nCount));
        return FALSE;
    }
    return TRUE;
}

BOOL COXShortcutBar::VerifyView(int nView) const {
    if ((UINT)nView > 3) {
        KWTRACE_ERROR(("COXShortcutBar::VerifyView: unknown view specified"));
        return FALSE;
    }
    return TRUE;
}

BOOL COXShortcutBar::VerifyBarStyle(DWORD dwBarStyle) const {
    if (dwBarStyle >= 0x10000) {
        KWTRACE_ERROR(
            ("COXShortcutBar::VerifyBarStyle: unspecified Shortcut Bar style was used\n"));
        return FALSE;
    }
    return TRUE;
}

BOOL COXShortcutBar::VerifyImage(int nImage) const {
    if (m_pImageList == nullptr || m_pImageList->GetSafeHandle() == nullptr) {
        KWTRACE_ERROR(("COXShortcutBar::VerifyImage: image list wasn't set"));
        return FALSE;
    }
    const int nCount = m_pImageList->GetImageCount();
    if (nImage < 0 || nImage >= nCount) {
        KWTRACE_ERROR(("COXShortcutBar::VerifyImage: image number %d is out of range: 0 ... %d\n",
                       nImage, nCount));
        return FALSE;
    }
    return TRUE;
}

BOOL COXShortcutBar::VerifyGroupInfo(const SHB_GROUPINFO* pInfo) const {
    if (pInfo == nullptr) {
        KWTRACE_ERROR(("COXShortcutBar::VerifyGroupInfo: no group record\n"));
        return FALSE;
    }
    const UINT nMask = pInfo->nMask;
    if (!VerifyMask(nMask))
        return FALSE;
    // A negative image means none and a null window means a list of the bar's
    // own: the copy accepts both, so the check does too.
    if ((nMask & SHBIF_IMAGE) && pInfo->nImage >= 0 && !VerifyImage(pInfo->nImage))
        return FALSE;
    if ((nMask & SHBIF_IMAGEEXPANDED) && pInfo->nImageExpanded >= 0 &&
        !VerifyImage(pInfo->nImageExpanded))
        return FALSE;
    if ((nMask & SHBIF_ORDER) && !VerifyOrder(pInfo->nOrder))
        return FALSE;
    if ((nMask & SHBIF_VIEW) && !VerifyView(pInfo->nView))
        return FALSE;
    if ((nMask & SHBIF_CHILDWND) && pInfo->hwndChild != nullptr &&
        !VerifyChildWnd(pInfo->hwndChild))
        return FALSE;
    return TRUE;
}

// ---------------------------------------------------------------------------
// Records

const SHB_GROUPINFO* COXShortcutBar::GetGroupInfo(HSHBGROUP hGroup) const {
    auto it = m_groups.find(hGroup);
    return it != m_groups.end() ? it->second : nullptr;
}

SHB_DESCRIPTOR* COXShortcutBar::AddDescriptor() {
    SHB_DESCRIPTOR* pDescriptor = new (std::nothrow) SHB_DESCRIPTOR;
    if (pDescriptor == nullptr) {
        KWTRACE_ERROR(("COXShortcutBar::AddDescriptor: failed to allocate memory for "
                       "SHB_DESCRIPTOR"));
        return nullptr;
    }
    m_descriptors.insert(pDescriptor);
    return pDescriptor;
}

BOOL COXShortcutBar::CopyDescriptor(SHB_DESCRIPTOR* pDest, const SHB_DESCRIPTOR* pSource,
                                    UINT nFlags) const {
    if (pDest == nullptr || pSource == nullptr)
        return FALSE;
    if (pDest == pSource)
        return TRUE;
    const UINT nMask =
        (nFlags & (SHB_CPYINFO_CLEAR | SHB_CPYINFO_COPYSOURCEMASK)) ? pSource->nMask : pDest->nMask;
    if (nFlags & SHB_CPYINFO_CLEAR)
        *pDest = SHB_DESCRIPTOR();
    if (nMask & SHBDM_CLRBACK)
        pDest->clrBackground = pSource->clrBackground;
    if (nMask & SHBDM_CLRTEXT)
        pDest->clrText = pSource->clrText;
    if (nMask & SHBDM_CLRHEADERBACK)
        pDest->clrHeaderBackground = pSource->clrHeaderBackground;
    if (nMask & SHBDM_CLRHEADERTEXT)
        pDest->clrHeaderText = pSource->clrHeaderText;
    if (nMask & SHBDM_HEADERTEXTFMT)
        pDest->nHeaderTextFormat = pSource->nHeaderTextFormat;
    // The face name is copied as a string, so a caller's unterminated name
    // never runs past the record.
    if (nMask & SHBDM_TEXTFONT) {
        pDest->lfText = pSource->lfText;
        lstrcpynA(pDest->lfText.lfFaceName, pSource->lfText.lfFaceName, LF_FACESIZE);
    }
    if (nMask & SHBDM_HEADERTEXTFONT) {
        pDest->lfHeader = pSource->lfHeader;
        lstrcpynA(pDest->lfHeader.lfFaceName, pSource->lfHeader.lfFaceName, LF_FACESIZE);
    }
    if (nMask & SHBDM_HEADERHEIGHT)
        pDest->nHeaderHeight = pSource->nHeaderHeight;
    pDest->nMask |= nMask & 0xFF;
    return TRUE;
}

BOOL COXShortcutBar::CopyGroupInfo(SHB_GROUPINFO* pDest, const SHB_GROUPINFO* pSource,
                                   UINT nFlags) {
    if (pDest == nullptr || pSource == nullptr)
        return FALSE;
    // A record copied onto itself is already what it would become (and
    // clearing it first would lose the source).
    if (pDest == pSource)
        return TRUE;
    const BOOL bNew = (nFlags & SHB_CPYINFO_NEW) != 0;
    const BOOL bClear = (nFlags & SHB_CPYINFO_CLEAR) != 0;
    const UINT nMask =
        (nFlags & (SHB_CPYINFO_CLEAR | SHB_CPYINFO_COPYSOURCEMASK)) ? pSource->nMask : pDest->nMask;
    const BOOL bHadOrder = (pDest->nMask & SHBIF_ORDER) != 0;
    const int nOldOrder = pDest->nOrder;

    if (bClear) {
        if (pDest->bTextAllocated)
            delete[] pDest->pszText;
        pDest->pszText = nullptr;
        pDest->bTextAllocated = FALSE;
        pDest->nTextMax = 0;
        pDest->nImage = 0;
        pDest->nImageExpanded = 0;
        pDest->lParam = 0;
        pDest->nOrder = 0;
        pDest->nView = 0;
        pDest->pDescriptor = nullptr;
        pDest->hwndChild = nullptr;
        pDest->nMask = 0;
        // A group's position belongs to the bar's table, not to its
        // description: a replacing record that names none keeps it, so no
        // two groups ever share a position.
        if (!bNew && bHadOrder && !(nMask & SHBIF_ORDER)) {
            pDest->nOrder = nOldOrder;
            pDest->nMask |= SHBIF_ORDER;
        }
    }

    if (nMask & SHBIF_TEXT) {
        // The new text is made before the old one goes: the source may be the
        // destination's own text.
        const int nLength = TextLength(pSource->pszText, pSource->nTextMax);
        LPTSTR pszText = nullptr;
        if (nLength > 0) {
            pszText = new (std::nothrow) char[nLength + 1];
            if (pszText == nullptr) {
                KWTRACE_ERROR(
                    ("COXShortcutBar::CopyGroupInfo: failed to allocate memory for text"));
            } else {
                memcpy(pszText, pSource->pszText, (size_t)nLength);
                pszText[nLength] = '\0';
            }
        }
        if (pDest->bTextAllocated)
            delete[] pDest->pszText;
        pDest->pszText = pszText;
        pDest->nTextMax = pszText != nullptr ? nLength : 0;
        pDest->bTextAllocated = pszText != nullptr;
        pDest->nMask |= SHBIF_TEXT;
        if (nLength > 0 && pszText == nullptr)
            return FALSE;
    }

    if (nMask & SHBIF_IMAGE) {
        if (pSource->nImage >= 0) {
            if (!VerifyImage(pSource->nImage))
                return FALSE;
            pDest->nImage = pSource->nImage;
            pDest->nMask |= SHBIF_IMAGE;
        } else {
            pDest->nImage = -1;
            pDest->nMask &= ~SHBIF_IMAGE;
        }
    }
    if (nMask & SHBIF_IMAGEEXPANDED) {
        if (pSource->nImageExpanded >= 0) {
            if (!VerifyImage(pSource->nImageExpanded))
                return FALSE;
            pDest->nImageExpanded = pSource->nImageExpanded;
            pDest->nMask |= SHBIF_IMAGEEXPANDED;
        } else {
            pDest->nImageExpanded = -1;
            pDest->nMask &= ~SHBIF_IMAGEEXPANDED;
        }
    }

    if (nMask & SHBIF_PARAM) {
        pDest->lParam = pSource->lParam;
        pDest->nMask |= SHBIF_PARAM;
    }

    if (nMask & SHBIF_ORDER) {
        if (!VerifyOrder(pSource->nOrder))
            return FALSE;
        const int nNewOrder = pSource->nOrder;
        // The group that holds the new position takes the old one: the two
        // exchange places.
        if (!bNew && bHadOrder && nOldOrder != nNewOrder) {
            for (auto& group : m_groups) {
                SHB_GROUPINFO* pOther = group.second;
                if (pOther != pDest && (pOther->nMask & SHBIF_ORDER) &&
                    pOther->nOrder == nNewOrder) {
                    pOther->nOrder = nOldOrder;
                    break;
                }
            }
        }
        pDest->nOrder = nNewOrder;
        pDest->nMask |= SHBIF_ORDER;
    }

    if (nMask & SHBIF_VIEW) {
        if (!VerifyView(pSource->nView))
            return FALSE;
        pDest->nView = pSource->nView;
        pDest->nMask |= SHBIF_VIEW;
    }

    if (nMask & SHBIF_CHILDWND) {
        if (pSource->hwndChild != nullptr) {
            if (!VerifyChildWnd(pSource->hwndChild))
                return FALSE;
            pDest->nMask |= SHBIF_CHILDWND;
        } else {
            pDest->nMask &= ~SHBIF_CHILDWND;
        }
        pDest->hwndChild = pSource->hwndChild;
    }

    if (nMask & SHBIF_DESCRIPTOR) {
        if (pSource->pDescriptor != nullptr) {
            UINT nDescriptorFlags = nFlags & ~(UINT)SHB_CPYINFO_CLEAR;
            if (pDest->pDescriptor == nullptr) {
                pDest->pDescriptor = AddDescriptor();
                if (pDest->pDescriptor == nullptr) {
                    pDest->nMask &= ~SHBIF_DESCRIPTOR;
                    return FALSE;
                }
                nDescriptorFlags |= SHB_CPYINFO_CLEAR;
            }
            CopyDescriptor(pDest->pDescriptor, pSource->pDescriptor, nDescriptorFlags);
            pDest->nMask |= SHBIF_DESCRIPTOR;
        } else {
            // The descriptor itself stays in the bar's set until the bar goes.
            pDest->pDescriptor = nullptr;
            pDest->nMask &= ~SHBIF_DESCRIPTOR;
        }
    }
    return TRUE;
}

void COXShortcutBar::ShiftGroupOrders(int nFrom, int nTo, int nDelta) {
    if (nTo == -1)
        nTo = GetGroupCount() - 1;
    for (auto& group : m_groups) {
        SHB_GROUPINFO* pInfo = group.second;
        if ((pInfo->nMask & SHBIF_ORDER) && pInfo->nOrder >= nFrom && pInfo->nOrder <= nTo)
            pInfo->nOrder += nDelta;
    }
}

// ---------------------------------------------------------------------------
// The group table

HSHBGROUP COXShortcutBar::InsertGroup(const SHB_GROUPINFO* pInfo) {
    if (SendSHBNotification(SHBN_INSERTGROUP, nullptr, -1, reinterpret_cast<LPARAM>(pInfo)) != 0)
        return nullptr;
    if (!VerifyGroupInfo(pInfo))
        return nullptr;
    const HSHBGROUP hGroup = GetUniqueGroupHandle();
    if (hGroup == nullptr)
        return nullptr;

    SHB_GROUPINFO* pNewInfo = new (std::nothrow) SHB_GROUPINFO;
    if (pNewInfo == nullptr) {
        KWTRACE_ERROR(("COXShortcutBar::InsertGroup: failed to allocate memory for SHB_GROUPINFO"));
        return nullptr;
    }
    if (!CopyGroupInfo(pNewInfo, pInfo, SHB_CPYINFO_CLEAR | SHB_CPYINFO_NEW)) {
        delete pNewInfo;
        return nullptr;
    }

    const int nCount = GetGroupCount();
    BOOL bSort = FALSE;
    if (!(pNewInfo->nMask & SHBIF_ORDER)) {
        pNewInfo->nMask |= SHBIF_ORDER;
        pNewInfo->nOrder = nCount;
    } else if (pNewInfo->nOrder == SHBI_LAST) {
        pNewInfo->nOrder = nCount;
    } else if (pNewInfo->nOrder == SHBI_SORT) {
        pNewInfo->nOrder = nCount;
        bSort = TRUE;
    } else if (pNewInfo->nOrder == SHBI_FIRST) {
        ShiftGroupOrders(0, -1, 1);
        pNewInfo->nOrder = 0;
    } else {
        ShiftGroupOrders(pNewInfo->nOrder, -1, 1);
    }
    m_groups[hGroup] = pNewInfo;
    if (bSort)
        SortGroupsByText(1);

    // A group that cannot get its content is taken out again at once, without
    // asking the owner: it never was a group the owner could keep.
    auto Remove = [this, hGroup]() {
        auto itList = m_lists.find(hGroup);
        if (itList != m_lists.end()) {
            delete itList->second;
            m_lists.erase(itList);
        }
        auto it = m_groups.find(hGroup);
        ShiftGroupOrders(it->second->nOrder + 1, -1, -1);
        delete it->second;
        m_groups.erase(it);
        m_headerRects.erase(hGroup);
    };

    if (!(pNewInfo->nMask & SHBIF_CHILDWND)) {
        COXSHBListCtrl* pList = NewListControl();
        if (pList == nullptr) {
            KWTRACE_ERROR(
                ("COXShortcutBar::InsertGroup: failed to allocate memory for COXSHBListCtrl"));
            Remove();
            return nullptr;
        }
        m_lists[hGroup] = pList;
        if (!CreateListControl(hGroup)) {
            Remove();
            return nullptr;
        }
    } else {
        ::SendMessageA(pNewInfo->hwndChild, SHBM_SETSHBGROUP, 0, reinterpret_cast<LPARAM>(hGroup));
    }

    CalculateBoundRects();
    return hGroup;
}

BOOL COXShortcutBar::DeleteGroup(HSHBGROUP hGroup) {
    if (GetGroupInfo(hGroup) == nullptr)
        return FALSE;
    if (SendSHBNotification(SHBN_DELETINGGROUP, hGroup, -1, 0) != 0)
        return FALSE;
    // The owner may have changed the table while it was asked.
    auto it = m_groups.find(hGroup);
    if (it == m_groups.end())
        return FALSE;

    // An edit of its header ends as cancelled while the group still has its
    // text to report.
    if (m_hEditGroup == hGroup && ::IsWindow(m_edit.m_hWnd))
        m_edit.FinishEdit(FALSE);

    const int nOrder = GetGroupOrder(hGroup);
    ShiftGroupOrders(nOrder + 1, -1, -1);

    HideChildWnd(hGroup);
    const HWND hWndChild = GetGroupChildWndHandle(hGroup);
    if (hWndChild != nullptr && ::IsWindow(hWndChild))
        ::SendMessageA(hWndChild, SHBM_DELETESHBGROUP, 0, 0);

    delete it->second;
    m_groups.erase(it);
    m_headerRects.erase(hGroup);

    // No state of the bar keeps naming a group that is gone.
    for (HSHBGROUP* phState :
         {&m_hEditGroup, &m_hContextMenuGroup, &m_hDropTargetGroup, &m_hPressedGroup, &m_hHotGroup,
          &m_hPendingPressGroup, &m_hPendingExpandGroup})
        if (*phState == hGroup)
            *phState = nullptr;

    const BOOL bWindow = ::IsWindow(m_hWnd);
    if (m_hExpandedGroup == hGroup) {
        // Cleared first: when the owner refuses the neighbour, no group is
        // expanded rather than a deleted one.
        m_hExpandedGroup = nullptr;
        const int nCount = GetGroupCount();
        HSHBGROUP hNext = nullptr;
        if (nCount > 0)
            hNext = FindGroupByOrder(nOrder < nCount ? nOrder : 0);
        if (hNext != nullptr)
            ExpandGroup(hNext);
        if (m_hExpandedGroup == nullptr) {
            CalculateBoundRects();
            if (bWindow)
                RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        }
    } else {
        CalculateBoundRects();
        if (bWindow)
            UpdateBar();
    }

    auto itList = m_lists.find(hGroup);
    if (itList != m_lists.end()) {
        COXSHBListCtrl* pList = itList->second;
        m_lists.erase(itList);
        if (pList != nullptr && ::IsWindow(pList->m_hWnd))
            pList->DestroyWindow();
        delete pList;
    }
    return TRUE;
}

BOOL COXShortcutBar::DeleteAllGroups() {
    // The expanded group goes last, so no neighbour is expanded on the way.
    std::vector<HSHBGROUP> groups;
    for (auto& group : m_groups)
        if (group.first != m_hExpandedGroup)
            groups.push_back(group.first);
    if (m_hExpandedGroup != nullptr && GetGroupInfo(m_hExpandedGroup) != nullptr)
        groups.push_back(m_hExpandedGroup);
    BOOL bResult = TRUE;
    for (HSHBGROUP hGroup : groups)
        if (!DeleteGroup(hGroup))
            bResult = FALSE;
    return bResult;
}

BOOL COXShortcutBar::SetGroupInfo(HSHBGROUP hGroup, const SHB_GROUPINFO* pInfo, BOOL bReplace) {
    auto it = m_groups.find(hGroup);
    if (it == m_groups.end()) {
        KWTRACE_ERROR(("COXShortcutBar::SetGroupInfo: group wasn't created"));
        return FALSE;
    }
    // The whole record is checked before anything is copied, so a refused
    // value leaves the group as it was.
    if (!VerifyGroupInfo(pInfo))
        return FALSE;
    // The insert-only orders name no position an existing group could take.
    if ((pInfo->nMask & SHBIF_ORDER) && pInfo->nOrder < 0) {
        KWTRACE_ERROR(("COXShortcutBar::SetGroupInfo: order %d is only valid for a new group\n",
                       pInfo->nOrder));
        return FALSE;
    }
    SHB_GROUPINFO* pStored = it->second;
    const HWND hWndOldContent = GetGroupChildWndHandle(hGroup);
    const BOOL bHadChildWnd = (pStored->nMask & SHBIF_CHILDWND) != 0;
    if (!CopyGroupInfo(pStored, pInfo,
                       SHB_CPYINFO_COPYSOURCEMASK | (bReplace ? SHB_CPYINFO_CLEAR : 0)))
        return FALSE;

    const UINT nMask = pInfo->nMask;
    if (nMask & SHBIF_ORDER)
        CalculateBoundRects();
    if (nMask & SHBIF_DESCRIPTOR)
        CalculateBoundRects();

    // A replacing record without a content window leaves the group with the
    // bar's own list, as a new group without one gets.
    const BOOL bChildChanged =
        (nMask & SHBIF_CHILDWND) || (bReplace && bHadChildWnd && !(nMask & SHBIF_CHILDWND));
    if (bChildChanged) {
        if (pStored->hwndChild != nullptr) {
            ::SendMessageA(pStored->hwndChild, SHBM_SETSHBGROUP, 0,
                           reinterpret_cast<LPARAM>(hGroup));
        } else if (m_lists.find(hGroup) == m_lists.end()) {
            COXSHBListCtrl* pList = NewListControl();
            if (pList == nullptr) {
                KWTRACE_ERROR(("COXShortcutBar::SetGroupInfo: failed to allocate memory for "
                               "COXSHBListCtrl"));
                return FALSE;
            }
            m_lists[hGroup] = pList;
            if (!CreateListControl(hGroup)) {
                m_lists.erase(hGroup);
                if (::IsWindow(pList->m_hWnd))
                    pList->DestroyWindow();
                delete pList;
                return FALSE;
            }
        }
        // The window the group no longer shows is put away; the caller shows
        // the new one when it repaints.
        const HWND hWndNewContent = GetGroupChildWndHandle(hGroup);
        if (hWndOldContent != nullptr && hWndOldContent != hWndNewContent &&
            ::IsWindow(hWndOldContent))
            ::ShowWindow(hWndOldContent, SW_HIDE);
    }

    const HWND hWndContent = GetGroupChildWndHandle(hGroup);
    if (hWndContent != nullptr)
        ::SendMessageA(hWndContent, SHBM_SHBINFOCHANGED, 0, (LPARAM)nMask);
    return TRUE;
}

BOOL COXShortcutBar::SetGroupText(HSHBGROUP hGroup, LPCTSTR pszText) {
    SHB_GROUPINFO info;
    info.nMask = SHBIF_TEXT;
    info.pszText = const_cast<LPTSTR>(pszText);
    info.nTextMax = pszText != nullptr ? (int)strlen(pszText) : 0;
    return SetGroupInfo(hGroup, &info);
}

BOOL COXShortcutBar::SetGroupImage(HSHBGROUP hGroup, int nImage) {
    SHB_GROUPINFO info;
    info.nMask = SHBIF_IMAGE;
    info.nImage = nImage;
    return SetGroupInfo(hGroup, &info);
}

BOOL COXShortcutBar::SetGroupImageExpanded(HSHBGROUP hGroup, int nImage) {
    SHB_GROUPINFO info;
    info.nMask = SHBIF_IMAGEEXPANDED;
    info.nImageExpanded = nImage;
    return SetGroupInfo(hGroup, &info);
}

BOOL COXShortcutBar::SetGroupOrder(HSHBGROUP hGroup, int nOrder) {
    SHB_GROUPINFO info;
    info.nMask = SHBIF_ORDER;
    info.nOrder = nOrder;
    return SetGroupInfo(hGroup, &info);
}

BOOL COXShortcutBar::SetGroupView(HSHBGROUP hGroup, int nView) {
    SHB_GROUPINFO info;
    info.nMask = SHBIF_VIEW;
    info.nView = nView;
    if (hGroup != nullptr)
        return SetGroupInfo(hGroup, &info);
    if (!VerifyView(nView))
        return FALSE;
    std::vector<HSHBGROUP> groups;
    for (auto& group : m_groups)
        groups.push_back(group.first);
    for (HSHBGROUP hEach : groups)
        if (!SetGroupInfo(hEach, &info))
            return FALSE;
    return TRUE;
}

BOOL COXShortcutBar::SetGroupDescriptor(HSHBGROUP hGroup, const SHB_DESCRIPTOR* pDescriptor) {
    SHB_GROUPINFO info;
    info.nMask = SHBIF_DESCRIPTOR;
    info.pDescriptor = const_cast<LPSHB_DESCRIPTOR>(pDescriptor);
    if (hGroup != nullptr)
        return SetGroupInfo(hGroup, &info);
    std::vector<HSHBGROUP> groups;
    for (auto& group : m_groups)
        groups.push_back(group.first);
    for (HSHBGROUP hEach : groups)
        if (!SetGroupInfo(hEach, &info))
            return FALSE;
    return TRUE;
}

BOOL COXShortcutBar::SetGroupBkColor(HSHBGROUP hGroup, COLORREF clr) {
    SHB_DESCRIPTOR descriptor;
    descriptor.nMask = SHBDM_CLRBACK;
    descriptor.clrBackground = clr;
    return SetGroupDescriptor(hGroup, &descriptor);
}

BOOL COXShortcutBar::SetGroupTextColor(HSHBGROUP hGroup, COLORREF clr) {
    SHB_DESCRIPTOR descriptor;
    descriptor.nMask = SHBDM_CLRTEXT;
    descriptor.clrText = clr;
    return SetGroupDescriptor(hGroup, &descriptor);
}

// ---------------------------------------------------------------------------
// Getters

CString COXShortcutBar::GetGroupText(HSHBGROUP hGroup) const {
    const SHB_GROUPINFO* pInfo = GetGroupInfo(hGroup);
    if (pInfo == nullptr || !(pInfo->nMask & SHBIF_TEXT) || pInfo->pszText == nullptr)
        return CString();
    return CString(pInfo->pszText);
}

int COXShortcutBar::GetGroupImage(HSHBGROUP hGroup) const {
    const SHB_GROUPINFO* pInfo = GetGroupInfo(hGroup);
    return pInfo != nullptr && (pInfo->nMask & SHBIF_IMAGE) ? pInfo->nImage : -1;
}

int COXShortcutBar::GetGroupImageExpanded(HSHBGROUP hGroup) const {
    const SHB_GROUPINFO* pInfo = GetGroupInfo(hGroup);
    if (pInfo == nullptr)
        return -1;
    return (pInfo->nMask & SHBIF_IMAGEEXPANDED) ? pInfo->nImageExpanded : GetGroupImage(hGroup);
}

int COXShortcutBar::GetGroupOrder(HSHBGROUP hGroup) const {
    const SHB_GROUPINFO* pInfo = GetGroupInfo(hGroup);
    return pInfo != nullptr && (pInfo->nMask & SHBIF_ORDER) ? pInfo->nOrder : -1;
}

int COXShortcutBar::GetGroupView(HSHBGROUP hGroup) const {
    const SHB_GROUPINFO* pInfo = GetGroupInfo(hGroup);
    if (pInfo == nullptr)
        return -1;
    return (pInfo->nMask & SHBIF_VIEW) ? pInfo->nView : SHB_LARGEICON;
}

LPARAM COXShortcutBar::GetGroupData(HSHBGROUP hGroup) const {
    const SHB_GROUPINFO* pInfo = GetGroupInfo(hGroup);
    return pInfo != nullptr && (pInfo->nMask & SHBIF_PARAM) ? pInfo->lParam : 0;
}

HWND COXShortcutBar::GetGroupChildWnd(HSHBGROUP hGroup) const {
    const SHB_GROUPINFO* pInfo = GetGroupInfo(hGroup);
    return pInfo != nullptr && (pInfo->nMask & SHBIF_CHILDWND) ? pInfo->hwndChild : nullptr;
}

COXSHBListCtrl* COXShortcutBar::GetGroupListCtrl(HSHBGROUP hGroup) const {
    auto it = m_lists.find(hGroup);
    return it != m_lists.end() ? it->second : nullptr;
}

HWND COXShortcutBar::GetGroupChildWndHandle(HSHBGROUP hGroup) const {
    if (HWND hWndChild = GetGroupChildWnd(hGroup))
        return hWndChild;
    const COXSHBListCtrl* pList = GetGroupListCtrl(hGroup);
    return pList != nullptr ? pList->m_hWnd : nullptr;
}

COLORREF COXShortcutBar::GetGroupBkColor(HSHBGROUP hGroup) const {
    COXShortcutBar* pThis = const_cast<COXShortcutBar*>(this);
    return DescriptorValue(
        GetGroupInfo(hGroup), SHBDM_CLRBACK, &SHB_DESCRIPTOR::clrBackground, (COLORREF)-1,
        [pThis] { return pThis->GetShortcutBarSkin()->GetBackgroundColor(pThis); });
}

COLORREF COXShortcutBar::GetGroupTextColor(HSHBGROUP hGroup) const {
    COXShortcutBar* pThis = const_cast<COXShortcutBar*>(this);
    return DescriptorValue(GetGroupInfo(hGroup), SHBDM_CLRTEXT, &SHB_DESCRIPTOR::clrText,
                           (COLORREF)-1,
                           [pThis] { return pThis->GetShortcutBarSkin()->GetTextColor(pThis); });
}

COLORREF COXShortcutBar::GetGroupHeaderBkColor(HSHBGROUP hGroup) const {
    return DescriptorValue(GetGroupInfo(hGroup), SHBDM_CLRHEADERBACK,
                           &SHB_DESCRIPTOR::clrHeaderBackground, (COLORREF)-1,
                           [] { return ::GetSysColor(COLOR_BTNFACE); });
}

COLORREF COXShortcutBar::GetGroupHeaderTextColor(HSHBGROUP hGroup) const {
    return DescriptorValue(GetGroupInfo(hGroup), SHBDM_CLRHEADERTEXT,
                           &SHB_DESCRIPTOR::clrHeaderText, (COLORREF)-1,
                           [] { return ::GetSysColor(COLOR_BTNTEXT); });
}

UINT COXShortcutBar::GetGroupHeaderTextFormat(HSHBGROUP hGroup) const {
    return DescriptorValue(GetGroupInfo(hGroup), SHBDM_HEADERTEXTFMT,
                           &SHB_DESCRIPTOR::nHeaderTextFormat, 0u,
                           [] { return (UINT)SHB_DEFAULTHEADERTEXTFMT; });
}

int COXShortcutBar::GetGroupHeaderHeight(HSHBGROUP hGroup) const {
    COXShortcutBar* pThis = const_cast<COXShortcutBar*>(this);
    return DescriptorValue(
        GetGroupInfo(hGroup), SHBDM_HEADERHEIGHT, &SHB_DESCRIPTOR::nHeaderHeight, -1, [pThis] {
            return pThis->GetShortcutBarSkin()->GetSkinType() == OX_SKIN_2003 ? kHeaderHeight2003
                                                                              : kHeaderHeight;
        });
}

BOOL COXShortcutBar::HasGroupBkColor(HSHBGROUP hGroup) const {
    return DescriptorSetting(GetGroupInfo(hGroup), SHBDM_CLRBACK) != nullptr;
}

BOOL COXShortcutBar::GetGroupTextFont(HSHBGROUP hGroup, LOGFONT* pLogFont) const {
    const SHB_GROUPINFO* pInfo = GetGroupInfo(hGroup);
    if (pInfo == nullptr || pLogFont == nullptr)
        return FALSE;
    if (const SHB_DESCRIPTOR* pDescriptor = DescriptorSetting(pInfo, SHBDM_TEXTFONT)) {
        *pLogFont = pDescriptor->lfText;
        return TRUE;
    }
    HFONT hFont = nullptr;
    const HWND hWndContent = GetGroupChildWndHandle(hGroup);
    if (hWndContent != nullptr && ::IsWindow(hWndContent))
        hFont = reinterpret_cast<HFONT>(::SendMessageA(hWndContent, WM_GETFONT, 0, 0));
    if (hFont == nullptr && ::IsWindow(m_hWnd))
        hFont = reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    if (hFont == nullptr)
        return FALSE;
    return ::GetObjectA(hFont, sizeof(LOGFONT), pLogFont) == sizeof(LOGFONT);
}

BOOL COXShortcutBar::GetGroupHeaderTextFont(HSHBGROUP hGroup, LOGFONT* pLogFont) const {
    const SHB_GROUPINFO* pInfo = GetGroupInfo(hGroup);
    if (pInfo == nullptr || pLogFont == nullptr)
        return FALSE;
    if (const SHB_DESCRIPTOR* pDescriptor = DescriptorSetting(pInfo, SHBDM_HEADERTEXTFONT)) {
        *pLogFont = pDescriptor->lfHeader;
        return TRUE;
    }
    return const_cast<CFont&>(m_font).GetLogFont(pLogFont) != 0;
}

// ---------------------------------------------------------------------------
// Finding, hit testing and sorting

BOOL COXShortcutBar::CompareGroups(const SHB_GROUPINFO* pPattern,
                                   const SHB_GROUPINFO* pInfo) const {
    if (!VerifyGroupInfo(pPattern) || !VerifyGroupInfo(pInfo))
        return FALSE;
    const UINT nMask = pPattern->nMask;
    if ((nMask & ~pInfo->nMask) != 0)
        return FALSE;
    if (nMask & SHBIF_TEXT) {
        // The pattern's text is a prefix of the group's, byte for byte (the
        // text is multi-byte; equal bytes are equal characters).
        const int nLength = TextLength(pPattern->pszText, pPattern->nTextMax);
        const char* pszGroup = pInfo->pszText != nullptr ? pInfo->pszText : "";
        if (nLength > 0 && strncmp(pPattern->pszText, pszGroup, (size_t)nLength) != 0)
            return FALSE;
    }
    if ((nMask & SHBIF_IMAGE) && pPattern->nImage != pInfo->nImage)
        return FALSE;
    if ((nMask & SHBIF_IMAGEEXPANDED) && pPattern->nImageExpanded != pInfo->nImageExpanded)
        return FALSE;
    if ((nMask & SHBIF_PARAM) && pPattern->lParam != pInfo->lParam)
        return FALSE;
    if ((nMask & SHBIF_ORDER) && pPattern->nOrder != pInfo->nOrder)
        return FALSE;
    if ((nMask & SHBIF_VIEW) && pPattern->nView != pInfo->nView)
        return FALSE;
    if ((nMask & SHBIF_DESCRIPTOR) && pPattern->pDescriptor != pInfo->pDescriptor)
        return FALSE;
    if ((nMask & SHBIF_CHILDWND) && pPattern->hwndChild != pInfo->hwndChild)
        return FALSE;
    return TRUE;
}

HSHBGROUP COXShortcutBar::FindGroup(const SHB_GROUPINFO* pPattern) const {
    for (auto& group : m_groups)
        if (CompareGroups(pPattern, group.second))
            return group.first;
    return nullptr;
}

HSHBGROUP COXShortcutBar::FindGroupByOrder(int nOrder) const {
    SHB_GROUPINFO pattern;
    pattern.nMask = SHBIF_ORDER;
    pattern.nOrder = nOrder;
    return FindGroup(&pattern);
}

BOOL COXShortcutBar::GetGroupHeaderRect(HSHBGROUP hGroup, LPRECT pRect) const {
    auto it = m_headerRects.find(hGroup);
    if (it == m_headerRects.end()) {
        KWTRACE_ERROR(("COXShortcutBar::GetGroupHeaderRect: bound rect not found"));
        return FALSE;
    }
    if (pRect != nullptr)
        *pRect = it->second;
    return TRUE;
}

HSHBGROUP COXShortcutBar::HitTest(CPoint point, UINT* pnFlags) const {
    for (auto& header : m_headerRects) {
        if (header.second.PtInRect(point)) {
            if (pnFlags != nullptr)
                *pnFlags = SHB_ONHEADER;
            return header.first;
        }
    }
    if (m_hExpandedGroup != nullptr && m_rectChild.PtInRect(point)) {
        if (pnFlags != nullptr)
            *pnFlags = SHB_ONCHILD;
        return m_hExpandedGroup;
    }
    if (pnFlags != nullptr)
        *pnFlags = SHB_NOWHERE;
    return nullptr;
}

int CALLBACK COXShortcutBar::CompareGroupText(HSHBGROUP hGroup1, HSHBGROUP hGroup2,
                                              LPARAM lParamSort) {
    const COXShortcutBar* pBar = reinterpret_cast<const COXShortcutBar*>(lParamSort);
    return lstrcmpiA(pBar->GetGroupText(hGroup1), pBar->GetGroupText(hGroup2));
}

BOOL COXShortcutBar::SortGroups(PFNSHBCOMPARE pfnCompare, LPARAM lParamSort, int nDirection) {
    m_nSortDirection = nDirection;
    const int nCount = GetGroupCount();
    if (nCount < 2 || nDirection == 0 || pfnCompare == nullptr)
        return TRUE;
    BOOL bExchanged = TRUE;
    while (bExchanged) {
        bExchanged = FALSE;
        for (int i = 0; i < nCount - 1; i++) {
            const HSHBGROUP hGroupA = FindGroupByOrder(i);
            const HSHBGROUP hGroupB = FindGroupByOrder(i + 1);
            if (hGroupA == nullptr || hGroupB == nullptr)
                continue;
            // Signs only: a direction or a comparison of any size cannot overflow.
            if (Sign(nDirection) * Sign(pfnCompare(hGroupA, hGroupB, lParamSort)) > 0 &&
                SetGroupOrder(hGroupA, i + 1))
                bExchanged = TRUE;
        }
    }
    return TRUE;
}

BOOL COXShortcutBar::SortGroupsByText(int nDirection) {
    return SortGroups(&COXShortcutBar::CompareGroupText, reinterpret_cast<LPARAM>(this),
                      nDirection);
}

// ---------------------------------------------------------------------------
// Messages

void COXShortcutBar::OnDestroy() {
    for (UINT_PTR* pnTimer : {&m_nPressTimer, &m_nAutoExpandTimer, &m_nHotCheckTimer}) {
        if (*pnTimer != 0) {
            KillTimer(*pnTimer);
            *pnTimer = 0;
        }
    }
    CWnd::OnDestroy();
}
