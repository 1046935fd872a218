// OXSHBListCtrlDrag.cpp: COXSHBListCtrl's item editing, the item commands of
// the bar's context menu, OLE drag and drop of items, the insertion mark and
// the clipboard block of a dragged item.
//
// The clipboard block ("Shortcut bar child window item"), all numbers 32-bit
// little-endian, L the text length:
//   [0, L]        the item's text and its NUL
//   L + 1         the item's data (32 bits of it)
//   L + 5         n, the number of image blocks (0..2)
//   L + 9         per block: 0, kind (0 normal, 1 small), size, size bytes of
//                 an image-list stream
//   then          e, the number of extra bytes, and the e bytes of the source's
//                 owner
// The format is registered system-wide, so any program can offer such a
// block: a drop reads it only through a reader bounded by the block's size,
// and checks all of it before it changes anything.
#include "OXSHBListCtrl.h"

#include "OXShortcutBar.h"

#include "Common/TraceLog.h"
#include "framework/Archive.h"
#include "framework/Dc.h"
#include "framework/Exception.h"
#include "framework/File.h"
#include "framework/Gdi.h"
#include "framework/Menu.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// The size of a block's fixed head: leading 0, kind, stream size.
const DWORD kImageBlockHead = 12;
// Kinds of image blocks.
const DWORD kNormalImage = 0;
const DWORD kSmallImage = 1;
// Width and height of the insertion mark's parts.
const int kMarkHeight = 10;
const int kMarkOverlap = 5;
const int kArrowLength = 7;
// The editor is never narrower than this.
const int kMinEditWidth = 10;
// Buffer of the archive over an image stream.
const int kArchiveBuffer = 4096;
const UINT kStreamGrowth = 1024;
// Image lists of dropped and dragged images keep their colours.
const UINT kImageListFlags = ILC_MASK | ILC_COLOR32;

// One image block of a dropped item, pointing into the locked block.
struct DroppedImage {
    DWORD nKind;
    const BYTE* pStream;
    DWORD nSize;
};

// The parts of a dropped block, pointing into it.
struct DroppedItem {
    const char* pszText;
    DWORD nData;
    std::vector<DroppedImage> images;
    const BYTE* pExtra;
    DWORD nExtra;
};

// Reads a block front to back and never past its end.
class CBlockReader {
public:
    CBlockReader(const BYTE* pData, SIZE_T nSize) : m_pData(pData), m_nSize(nSize), m_nPos(0) {}

    BOOL ReadDword(DWORD& dw) {
        if (m_nSize - m_nPos < sizeof(DWORD))
            return FALSE;
        memcpy(&dw, m_pData + m_nPos, sizeof(DWORD));
        m_nPos += sizeof(DWORD);
        return TRUE;
    }
    // A zero-terminated text; FALSE when the block holds no NUL from here on.
    BOOL ReadText(const char*& pszText) {
        const void* pNul = memchr(m_pData + m_nPos, 0, m_nSize - m_nPos);
        if (pNul == nullptr)
            return FALSE;
        pszText = reinterpret_cast<const char*>(m_pData + m_nPos);
        m_nPos = static_cast<const BYTE*>(pNul) - m_pData + 1;
        return TRUE;
    }
    BOOL ReadBytes(DWORD nCount, const BYTE*& pBytes) {
        if (m_nSize - m_nPos < nCount)
            return FALSE;
        pBytes = m_pData + m_nPos;
        m_nPos += nCount;
        return TRUE;
    }

private:
    const BYTE* m_pData;
    SIZE_T m_nSize;
    SIZE_T m_nPos;
};

// Splits a dropped block into its parts; FALSE for any inconsistency.
BOOL ParseDroppedBlock(const BYTE* pData, SIZE_T nSize, DroppedItem& item) {
    CBlockReader reader(pData, nSize);
    DWORD nImages = 0;
    if (!reader.ReadText(item.pszText) || !reader.ReadDword(item.nData) ||
        !reader.ReadDword(nImages) || nImages > 2)
        return FALSE;
    for (DWORD i = 0; i < nImages; ++i) {
        DWORD nZero = 0;
        DroppedImage image = {};
        if (!reader.ReadDword(nZero) || nZero != 0 || !reader.ReadDword(image.nKind) ||
            (image.nKind != kNormalImage && image.nKind != kSmallImage) ||
            !reader.ReadDword(image.nSize) || !reader.ReadBytes(image.nSize, image.pStream))
            return FALSE;
        item.images.push_back(image);
    }
    return reader.ReadDword(item.nExtra) && reader.ReadBytes(item.nExtra, item.pExtra);
}

// A global block holding the text and its terminator; null when memory is short.
HGLOBAL MakeTextBlock(const CString& sText) {
    const SIZE_T nSize = static_cast<SIZE_T>(sText.GetLength()) + 1;
    HGLOBAL hGlobal = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, nSize);
    if (hGlobal == nullptr)
        return nullptr;
    memcpy(::GlobalLock(hGlobal), static_cast<LPCTSTR>(sText), nSize);
    ::GlobalUnlock(hGlobal);
    return hGlobal;
}

// An image stream written by WriteImage, freed with the object.
struct ImageStream {
    DWORD nKind;
    BYTE* pData;
    DWORD nSize;
};

void AppendDword(BYTE*& p, DWORD dw) {
    memcpy(p, &dw, sizeof(DWORD));
    p += sizeof(DWORD);
}

// The private block of a dragged item (layout in the file comment); null when
// memory is short.
HGLOBAL MakeItemBlock(const CString& sText, DWORD nData, const std::vector<ImageStream>& streams,
                      const SHBADDITIONALDROPINFO& extra) {
    const DWORD nExtra = extra.pBuffer != nullptr ? extra.nBufferLength : 0;
    SIZE_T nSize = static_cast<SIZE_T>(sText.GetLength()) + 1 + 3 * sizeof(DWORD) + nExtra;
    for (const ImageStream& stream : streams)
        nSize += kImageBlockHead + stream.nSize;
    HGLOBAL hGlobal = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, nSize);
    if (hGlobal == nullptr)
        return nullptr;
    BYTE* p = static_cast<BYTE*>(::GlobalLock(hGlobal));
    memcpy(p, static_cast<LPCTSTR>(sText), sText.GetLength() + 1);
    p += sText.GetLength() + 1;
    AppendDword(p, nData);
    AppendDword(p, static_cast<DWORD>(streams.size()));
    for (const ImageStream& stream : streams) {
        AppendDword(p, 0);
        AppendDword(p, stream.nKind);
        AppendDword(p, stream.nSize);
        memcpy(p, stream.pData, stream.nSize);
        p += stream.nSize;
    }
    AppendDword(p, nExtra);
    if (nExtra > 0)
        memcpy(p, extra.pBuffer, nExtra);
    ::GlobalUnlock(hGlobal);
    return hGlobal;
}

// Draws a horizontal line of pixels [x1, x2) at y.
void HorizontalLine(CDC* pDC, int x1, int x2, int y) {
    if (x2 <= x1)
        return;
    pDC->MoveTo(x1, y);
    pDC->LineTo(x2, y);
}

} // namespace

// ---------------------------------------------------------------------------
// Editing an item

COXSHBEdit* COXSHBListCtrl::EditLabel(int nItem) {
    if (!(GetBarStyle() & SHBS_EDITITEMS)) {
        KWTRACE_ERROR(
            ("COXSHBListCtrl::EditLabel: cannot edit item - SHBS_EDITITEMS style wasn't set\n"));
        return nullptr;
    }
    if (nItem < 0 || nItem >= GetItemCount()) {
        KWTRACE_ERROR(("COXSHBListCtrl::EditLabel: item %d does not exist\n", nItem));
        return nullptr;
    }
    if (m_nEditItem != -1) {
        m_edit.FinishEdit(TRUE);
        m_nEditItem = -1;
    }

    const CString sText = GetItemText(nItem, 0);
    if (SendSHBNotification(SHBN_BEGINITEMEDIT, nItem,
                            reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(sText))) != 0)
        return nullptr;

    const CRect rectContent = GetContentRect();
    CRect rectText;
    GetItemRect(nItem, rectText, LVIR_LABEL);
    if (rectText.IsRectEmpty()) {
        // An empty text: the place a text of one blank would take next to the
        // image, so that there is something to click into.
        CRect rectItem;
        CRect rectImage;
        GetItemRect(nItem, rectItem, SHBLC_ENTIREITEM);
        GetItemRect(nItem, rectImage, LVIR_ICON);
        rectImage.OffsetRect(-rectItem.TopLeft());
        rectText = CalculateTextRect(" ", rectImage, rectItem.Width());
        rectText.OffsetRect(rectItem.TopLeft());
    }
    if (rectText.IsRectEmpty() || rectText.left < rectContent.left ||
        rectText.top < rectContent.top || rectText.right > rectContent.right ||
        rectText.bottom > rectContent.bottom) {
        KWTRACE_ERROR(("COXSHBListCtrl::EditLabel: failed to edit - item text rectangle is not "
                       "entirely visible\n"));
        return nullptr;
    }
    const int nView = GetView();
    if (nView == SHB_SMALLICON)
        rectText.OffsetRect(-2, 0);

    CFont font;
    LOGFONT logFont;
    if (GetItemFont(&logFont))
        font.CreateFontIndirect(&logFont);

    SHBE_DISPLAY display;
    display.nMask = SHBEIF_TEXT | SHBEIF_RECTDISPLAY | SHBEIF_RECTMAX | SHBEIF_STYLE |
                    SHBEIF_ENLARGE | SHBEIF_SELRANGE | SHBEIF_FONT | SHBEIF_RECTMIN;
    display.pszText = sText;
    display.rectDisplay = rectText;
    display.bEnlargeAsTyping = TRUE;
    display.ptSelection = CPoint(0, -1);
    display.pFont = font.m_hObject != nullptr ? &font : nullptr;
    display.rectMin = rectText;
    if (nView == SHB_SMALLICON) {
        display.dwStyle = WS_BORDER | ES_AUTOHSCROLL;
        display.rectMax = rectText;
        display.rectMax.right = rectContent.right;
        if (rectText.Width() < kMinEditWidth) {
            display.rectMin.right = display.rectMin.left + kMinEditWidth;
            display.rectMax.right = std::max(display.rectMax.right, display.rectMin.right);
        }
    } else {
        display.dwStyle = WS_BORDER | ES_MULTILINE | ES_CENTER | ES_AUTOVSCROLL;
        display.rectMax = rectContent;
        display.rectMax.top = rectText.top;
        if (rectText.Width() < kMinEditWidth) {
            display.rectMin.left = (rectText.left + rectText.right - kMinEditWidth) / 2;
            display.rectMin.right = display.rectMin.left + kMinEditWidth;
            display.rectMax.left = std::min(display.rectMax.left, display.rectMin.left);
            display.rectMax.right = std::max(display.rectMax.right, display.rectMin.right);
        }
    }

    if (!m_edit.StartEdit(&display)) {
        KWTRACE_ERROR(("COXSHBListCtrl::EditLabel: COXSHBEdit::StartEdit failed\n"));
        return nullptr;
    }
    m_nEditItem = nItem;
    return &m_edit;
}

void COXSHBListCtrl::OnChangeItemText(NMHDR* pNotifyStruct, LRESULT* pResult) {
    const NMSHBEDIT* pNMEdit = reinterpret_cast<const NMSHBEDIT*>(pNotifyStruct);
    const int nItem = m_nEditItem;
    m_nEditItem = -1;
    if (pNMEdit->bOK && nItem >= 0) {
        CString sText;
        m_edit.GetWindowText(sText);
        if (SendSHBNotification(SHBN_ENDITEMEDIT, nItem,
                                reinterpret_cast<LPARAM>(static_cast<LPCTSTR>(sText))) == 0 &&
            !SetItemText(nItem, 0, sText))
            KWTRACE_ERROR(("COXSHBListCtrl::OnChangeItemText: failed to set text to item: %s\n",
                           static_cast<LPCTSTR>(sText)));
    }
    *pResult = 0;
}

LRESULT COXSHBListCtrl::OnPopulateContextMenu(WPARAM, LPARAM lParam) {
    const SHBCONTEXTMENU* pMenuInfo = reinterpret_cast<const SHBCONTEXTMENU*>(lParam);
    if (pMenuInfo == nullptr || pMenuInfo->pMenu == nullptr ||
        pMenuInfo->pShortcutBar != m_pShortcutBar || pMenuInfo->hGroup != m_hGroup)
        return 0;
    CPoint point = pMenuInfo->point;
    ScreenToClient(&point);
    UINT nFlags = 0;
    const int nItem = HitTest(point, &nFlags);
    if (nItem < 0 || nFlags == static_cast<UINT>(SHBLC_ONITEMOUTSIDE) ||
        !(GetBarStyle() & SHBS_EDITITEMS))
        return 0;
    CMenu* pMenu = pMenuInfo->pMenu;
    if (pMenu->GetMenuItemCount() > 0)
        pMenu->AppendMenu(MF_SEPARATOR);
    pMenu->AppendMenu(MF_STRING, SHB_IDMRENAMEITEM, "Rename Item");
    pMenu->AppendMenu(MF_STRING, SHB_IDMREMOVEITEM, "Remove Item");
    return 1;
}

// ---------------------------------------------------------------------------
// Dragging an item out of the list

int COXSHBListCtrl::SetDragItem(int nItem) {
    if (nItem == m_nDragItem)
        return nItem;
    const int nOldItem = m_nDragItem;
    m_nDragItem = nItem;
    if (nItem == -1)
        return nOldItem;

    SendSHBNotification(SHBN_BEGINDRAGITEM, nItem, reinterpret_cast<LPARAM>(&m_ptDragHotSpot));

    const CString sText = GetItemText(nItem, 0);
    m_lDragItemData = static_cast<LPARAM>(GetItemData(nItem));
    COleDataSource* pDataSource = new COleDataSource;
    HGLOBAL hText = MakeTextBlock(sText);
    if (hText != nullptr && !pDataSource->CacheGlobalData(CF_TEXT, hText))
        ::GlobalFree(hText);

    SHBADDITIONALDROPINFO extra;
    SendSHBNotification(SHBN_GETADDITIONALDRAGDATA, nItem, reinterpret_cast<LPARAM>(&extra));

    std::vector<ImageStream> streams;
    const int nImage = GetItemImage(nItem);
    if (nImage >= 0) {
        const struct {
            int nList;
            DWORD nKind;
        } lists[] = {{LVSIL_NORMAL, kNormalImage}, {LVSIL_SMALL, kSmallImage}};
        for (const auto& list : lists) {
            CImageList* pImageList = GetImageList(list.nList);
            if (pImageList == nullptr || pImageList->m_hImageList == nullptr)
                continue;
            ImageStream stream = {list.nKind, nullptr, 0};
            stream.pData = WriteImage(pImageList, nImage, &stream.nSize);
            if (stream.pData != nullptr)
                streams.push_back(stream);
        }
    }
    HGLOBAL hBlock = MakeItemBlock(sText, static_cast<DWORD>(m_lDragItemData), streams, extra);
    for (ImageStream& stream : streams)
        delete[] stream.pData;
    if (hBlock != nullptr && !pDataSource->CacheGlobalData(g_cfSHBChildWindowItem, hBlock))
        ::GlobalFree(hBlock);
    if (hBlock == nullptr)
        KWTRACE_ERROR(("COXSHBListCtrl::SetDragItem: failed to allocate the item's data\n"));

    if (!PostMessage(SHBM_STARTDRAGDROP, static_cast<WPARAM>(nItem),
                     reinterpret_cast<LPARAM>(pDataSource))) {
        delete pDataSource;
        m_nDragItem = -1;
    }
    return nOldItem;
}

LRESULT COXSHBListCtrl::OnStartDragDrop(WPARAM wParam, LPARAM lParam) {
    COleDataSource* pDataSource = reinterpret_cast<COleDataSource*>(lParam);
    if (pDataSource == nullptr)
        return 0;
    return StartDragDrop(static_cast<int>(wParam), pDataSource);
}

LRESULT COXSHBListCtrl::StartDragDrop(int nItem, COleDataSource* pDataSource) {
    // An item gone since the drag was posted, or a refusal: the data goes, and
    // the item can start a drag again.
    if (nItem < 0 || nItem >= GetItemCount() ||
        SendSHBNotification(SHBN_BEGINDRAGDROP, nItem, reinterpret_cast<LPARAM>(pDataSource)) !=
            0) {
        delete pDataSource;
        SetDragItem(-1);
        return 0;
    }

    SetPressedItem(-1);
    UpdateItem(nItem);
    COleDropSource* pDropSource = GetDropSource();
    m_bDragFromThisList = TRUE;

    const BOOL bDragImage = (GetBarStyle() & SHBS_DRAWITEMDRAGIMAGE) != 0;
    if (bDragImage) {
        delete m_pDragImage;
        m_pDragImage = CreateItemDragImage(nItem);
        if (m_pDragImage != nullptr)
            m_pDragImage->BeginDrag(0, m_ptDragHotSpot);
    }

    const DROPEFFECT dropEffect =
        pDataSource->DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE, nullptr, pDropSource);

    if (dropEffect == DROPEFFECT_MOVE) {
        // A copy inserted into this list at or before the item pushed it down.
        int nDelete = nItem;
        if (m_nInsertItem != -1 && m_nInsertItem <= nItem)
            ++nDelete;
        DeleteItem(nDelete);
    }

    const int nInsertItem = m_nInsertItem;
    m_nInsertItem = -1;
    m_bDragFromThisList = FALSE;
    if (m_pDragImage != nullptr) {
        CImageList::EndDrag();
        delete m_pDragImage;
        m_pDragImage = nullptr;
    }
    SetDragItem(-1);
    delete pDataSource;

    if (dropEffect == DROPEFFECT_MOVE || (dropEffect == DROPEFFECT_COPY && nInsertItem != -1))
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);

    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    WPARAM nKeys = 0;
    if (::GetKeyState(VK_CONTROL) < 0)
        nKeys |= MK_CONTROL;
    if (::GetKeyState(VK_SHIFT) < 0)
        nKeys |= MK_SHIFT;
    SendMessage(WM_LBUTTONUP, nKeys, MAKELPARAM(point.x, point.y));

    SendSHBNotification(SHBN_DRAGDROPFINISHED, -1, static_cast<LPARAM>(dropEffect));
    return 0;
}

CImageList* COXSHBListCtrl::CreateItemDragImage(int nItem) {
    if (nItem < 0 || nItem >= GetItemCount())
        return nullptr;
    CRect rectItem;
    CRect rectBounds;
    if (!GetItemRect(nItem, rectItem, SHBLC_ENTIREITEM) ||
        !GetItemRect(nItem, rectBounds, LVIR_BOUNDS) || rectBounds.IsRectEmpty())
        return nullptr;

    CClientDC dc(this);
    CDC dcItem;
    CDC dcBounds;
    CBitmap bmItem;
    CBitmap bmBounds;
    if (!dcItem.CreateCompatibleDC(&dc) || !dcBounds.CreateCompatibleDC(&dc) ||
        !bmItem.CreateCompatibleBitmap(&dc, rectItem.Width(), rectItem.Height()) ||
        !bmBounds.CreateCompatibleBitmap(&dc, rectBounds.Width(), rectBounds.Height()))
        return nullptr;

    const COLORREF clrBack = GetBkColor();
    m_bDrawingDragImage = TRUE;
    {
        CScopedSelect selectItem(dcItem, &bmItem);
        CScopedSelect selectBounds(dcBounds, &bmBounds);
        dcItem.FillSolidRect(0, 0, rectItem.Width(), rectItem.Height(), clrBack);
        DrawItemAt(&dcItem, nItem, rectItem.Size());
        dcBounds.BitBlt(0, 0, rectBounds.Width(), rectBounds.Height(), &dcItem,
                        rectBounds.left - rectItem.left, rectBounds.top - rectItem.top, SRCCOPY);
    }
    m_bDrawingDragImage = FALSE;

    CImageList* pImageList = new CImageList;
    if (!pImageList->Create(rectBounds.Width(), rectBounds.Height(), kImageListFlags, 0, 1) ||
        pImageList->Add(&bmBounds, clrBack) < 0) {
        delete pImageList;
        return nullptr;
    }
    return pImageList;
}

COleDropSource* COXSHBListCtrl::GetDropSource() {
    NMSHORTCUTBAR nmshb;
    nmshb.hdr.code = SHBN_GETDROPSOURCE;
    if (SendSHBNotification(&nmshb) != 0 && nmshb.lParam != 0)
        return reinterpret_cast<COleDropSource*>(nmshb.lParam);
    m_dropSource.SetOwner(this);
    return &m_dropSource;
}

COleDropTarget* COXSHBListCtrl::GetDropTarget() {
    NMSHORTCUTBAR nmshb;
    nmshb.hdr.code = SHBN_GETDROPTARGET;
    if (SendSHBNotification(&nmshb) != 0 && nmshb.lParam != 0)
        return reinterpret_cast<COleDropTarget*>(nmshb.lParam);
    return &m_dropTarget;
}

// ---------------------------------------------------------------------------
// Dropping into the list

LRESULT COXSHBListCtrl::OnDropTargetDragEnter(WPARAM, LPARAM lParam) {
    return OnDragEnter(reinterpret_cast<SHBDROPTARGETACTION*>(lParam));
}

LRESULT COXSHBListCtrl::OnDropTargetDragOver(WPARAM, LPARAM lParam) {
    return OnDragOver(reinterpret_cast<SHBDROPTARGETACTION*>(lParam));
}

LRESULT COXSHBListCtrl::OnDropTargetDragLeave(WPARAM, LPARAM lParam) {
    return OnDragLeave(reinterpret_cast<SHBDROPTARGETACTION*>(lParam));
}

LRESULT COXSHBListCtrl::OnDropTargetDrop(WPARAM, LPARAM lParam) {
    return OnDrop(reinterpret_cast<SHBDROPTARGETACTION*>(lParam));
}

LRESULT COXSHBListCtrl::OnDragEnter(SHBDROPTARGETACTION* pAction) {
    if (GetBarStyle() & SHBS_DISABLEDRAGDROP)
        return 0;
    m_bOleDragOver = TRUE;
    const int nOldHotItem = SetHotItem(-1);
    if (nOldHotItem != -1)
        UpdateItem(nOldHotItem);
    if (SendSHBNotification(SHBN_DRAGENTER, -1, reinterpret_cast<LPARAM>(pAction)) != 0)
        return 1;
    if (m_bDragFromThisList && m_pDragImage != nullptr) {
        CPoint point = pAction->point;
        ClientToScreen(&point);
        CImageList::DragEnter(nullptr, point);
    }
    return OnDragOver(pAction);
}

LRESULT COXSHBListCtrl::OnDragOver(SHBDROPTARGETACTION* pAction) {
    if (GetBarStyle() & SHBS_DISABLEDRAGDROP)
        return 0;
    if (SendSHBNotification(SHBN_DRAGOVER, -1, reinterpret_cast<LPARAM>(pAction)) != 0)
        return 1;
    const BOOL bDragImage = m_bDragFromThisList && m_pDragImage != nullptr;
    const CPoint point = pAction->point;
    if (bDragImage) {
        CPoint ptScreen = point;
        ClientToScreen(&ptScreen);
        CImageList::DragMove(ptScreen);
    }

    const CRect rectContent = GetContentRect();
    const CPoint ptView = point + m_ptOrigin;
    CRect rectView;
    GetViewRect(rectView, FALSE);
    const int nCount = GetItemCount();
    const DROPEFFECT dropAccepted =
        (pAction->dwKeyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    DROPEFFECT dropEffect = DROPEFFECT_NONE;
    int nInsertItem = -1;
    UINT nFlags = 0;
    if (pAction->pDataObject == nullptr ||
        !pAction->pDataObject->IsDataAvailable(g_cfSHBChildWindowItem)) {
        // Only items of shortcut-bar lists are taken.
    } else if (ptView.y <= rectView.top || nCount == 0) {
        dropEffect = dropAccepted;
        nInsertItem = 0;
    } else if (ptView.y > rectView.bottom) {
        dropEffect = dropAccepted;
        nInsertItem = nCount;
    } else if (rectContent.PtInRect(point) && HitTest(point, &nFlags, TRUE) == -1) {
        LVFINDINFO findInfo = {};
        findInfo.flags = LVFI_NEARESTXY;
        findInfo.pt = point;
        findInfo.vkDirection = VK_DOWN;
        nInsertItem = FindItem(&findInfo);
        if (nInsertItem == -1)
            nInsertItem = nCount;
        dropEffect = dropAccepted;
    }

    CRect rectScroll = rectContent;
    rectScroll.DeflateRect(0, 8);
    if (point.y < rectScroll.top) {
        if (!m_bScrollingUp && !m_rectUp.IsRectEmpty()) {
            m_bAutoScrolling = TRUE;
            StartScrolling(TRUE);
        }
    } else if (point.y >= rectScroll.bottom) {
        if (!m_bScrollingDown && !m_rectDown.IsRectEmpty()) {
            m_bAutoScrolling = TRUE;
            StartScrolling(FALSE);
        }
    } else if (m_bAutoScrolling) {
        StopScrolling();
    }

    if (nInsertItem != m_nInsertItem) {
        if (bDragImage)
            CImageList::DragShowNolock(FALSE);
        // The position changes before the old mark's place is painted, which
        // is painted at once: else it would get its old mark again.
        const CRect rectOld = GetInsertMarkRect(m_nInsertItem);
        m_nInsertItem = nInsertItem;
        if (!rectOld.IsRectEmpty())
            RedrawRect(rectOld);
        const CRect rectNew = GetInsertMarkRect(nInsertItem);
        if (!rectNew.IsRectEmpty())
            RedrawRect(rectNew);
        if (bDragImage)
            CImageList::DragShowNolock(TRUE);
    }
    pAction->result = dropEffect;
    return 1;
}

LRESULT COXSHBListCtrl::OnDragLeave(SHBDROPTARGETACTION* pAction) {
    if (GetBarStyle() & SHBS_DISABLEDRAGDROP)
        return 0;
    if (SendSHBNotification(SHBN_DRAGLEAVE, -1, reinterpret_cast<LPARAM>(pAction)) == 0) {
        if (m_bDragFromThisList && m_pDragImage != nullptr)
            CImageList::DragLeave(nullptr);
        const CRect rectMark = GetInsertMarkRect(m_nInsertItem);
        m_nInsertItem = -1;
        if (!rectMark.IsRectEmpty())
            RedrawRect(rectMark);
        if (m_bAutoScrolling)
            StopScrolling();
    }
    m_bOleDragOver = FALSE;
    return 1;
}

LRESULT COXSHBListCtrl::OnDrop(SHBDROPTARGETACTION* pAction) {
    if (GetBarStyle() & SHBS_DISABLEDRAGDROP)
        return 0;
    if (SendSHBNotification(SHBN_DROP, -1, reinterpret_cast<LPARAM>(pAction)) != 0) {
        // The owner took the drop: nothing was inserted here, so no mark stays
        // and a move out of this list deletes the dragged item itself.
        const CRect rectMark = GetInsertMarkRect(m_nInsertItem);
        m_nInsertItem = -1;
        if (!rectMark.IsRectEmpty())
            RedrawRect(rectMark);
        m_bOleDragOver = FALSE;
        return 1;
    }

    BOOL bResult = FALSE;
    if ((pAction->dropEffect & (DROPEFFECT_COPY | DROPEFFECT_MOVE)) && m_nInsertItem >= 0 &&
        m_nInsertItem <= GetItemCount() && pAction->pDataObject != nullptr)
        bResult = InsertDroppedItem(pAction->pDataObject);
    if (m_bAutoScrolling)
        StopScrolling();
    // The source finishes a move within this list with the position; any
    // other drop, taken or refused, leaves no mark behind.
    if (!m_bDragFromThisList || !bResult) {
        m_nInsertItem = -1;
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    pAction->result = bResult;
    m_bOleDragOver = FALSE;
    if (m_bDragFromThisList)
        return 1;
    SendSHBNotification(SHBN_DRAGDROPFINISHED, -1,
                        static_cast<LPARAM>(bResult ? pAction->dropEffect : 0));
    return 1;
}

BOOL COXSHBListCtrl::InsertDroppedItem(COleDataObject* pDataObject) {
    HGLOBAL hGlobal = pDataObject->GetGlobalData(g_cfSHBChildWindowItem);
    if (hGlobal == nullptr)
        return FALSE;
    const BYTE* pData = static_cast<const BYTE*>(::GlobalLock(hGlobal));
    DroppedItem dropped = {};
    BOOL bResult = pData != nullptr && ParseDroppedBlock(pData, ::GlobalSize(hGlobal), dropped);
    if (!bResult)
        KWTRACE_ERROR(("COXSHBListCtrl::OnDrop: the dropped item's data is malformed\n"));

    // Each image goes to the control's list of its kind, else to the list's
    // own, which then becomes the control's.
    struct Added {
        CImageList* pImageList;
        int nImage;
    };
    std::vector<Added> added;
    // An item dragged within this list keeps its own image: adding the carried
    // copy would grow the (possibly shared) image lists at every reorder.
    int nImage = m_bDragFromThisList ? GetItemImage(m_nDragItem) : -1;
    const BOOL bOwnImage = nImage >= 0;
    for (size_t i = 0; bResult && !bOwnImage && i < dropped.images.size(); ++i) {
        const DroppedImage& image = dropped.images[i];
        const int nList = image.nKind == kNormalImage ? LVSIL_NORMAL : LVSIL_SMALL;
        CImageList* pImageList = GetImageList(nList);
        BOOL bOwn = FALSE;
        if (pImageList == nullptr || pImageList->m_hImageList == nullptr) {
            pImageList = image.nKind == kNormalImage ? &m_ilNormal : &m_ilSmall;
            bOwn = TRUE;
        }
        nImage = ReadImage(pImageList, image.pStream, image.nSize);
        if (nImage < 0) {
            KWTRACE_ERROR(("COXSHBListCtrl::OnDrop: the dropped item's image cannot be read\n"));
            bResult = FALSE;
            break;
        }
        if (bOwn) {
            SetImageList(pImageList, nList);
            // A control that does not share its lists destroys them itself.
            if (!(GetStyle() & LVS_SHAREIMAGELISTS))
                pImageList->Detach();
            pImageList = GetImageList(nList);
        }
        added.push_back({pImageList, nImage});
    }

    if (bResult) {
        LVITEM item = {};
        item.mask = LVIF_TEXT;
        item.iItem = m_nInsertItem;
        item.pszText = const_cast<LPSTR>(dropped.pszText);
        if (bOwnImage || !added.empty()) {
            item.mask |= LVIF_IMAGE;
            item.iImage = nImage;
        }
        if (m_bDragFromThisList) {
            item.mask |= LVIF_PARAM;
            item.lParam = m_lDragItemData;
        }
        bResult = InsertItem(&item) != -1;
    }
    if (!bResult) {
        // A refused drop leaves the image lists as they were.
        for (auto it = added.rbegin(); it != added.rend(); ++it)
            if (it->pImageList != nullptr)
                it->pImageList->Remove(it->nImage);
    } else if (dropped.nExtra > 0) {
        SHBADDITIONALDROPINFO extra;
        extra.nBufferLength = dropped.nExtra;
        extra.pBuffer = const_cast<BYTE*>(dropped.pExtra);
        SendSHBNotification(SHBN_ADDITIONALDROPDATA, m_nInsertItem,
                            reinterpret_cast<LPARAM>(&extra));
    }
    ::GlobalUnlock(hGlobal);
    ::GlobalFree(hGlobal);
    return bResult;
}

// ---------------------------------------------------------------------------
// The insertion mark

CRect COXSHBListCtrl::GetInsertMarkRect(int nPosition) const {
    const int nCount = GetItemCount();
    if (nPosition < 0 || nPosition > nCount)
        return CRect();
    CRect rectClient;
    GetClientRect(rectClient);
    CRect rect(rectClient.left, 0, rectClient.right, 0);
    CRect rectItem;
    if (nPosition == 0 || nCount == 0) {
        rect.top = rectClient.top;
        rect.bottom = rect.top + kMarkHeight;
    } else if (nPosition == nCount) {
        GetItemRect(nCount - 1, rectItem, SHBLC_ENTIREITEM);
        rect.bottom = rectItem.bottom + 2;
        rect.top = rect.bottom - kMarkHeight;
    } else {
        GetItemRect(nPosition, rectItem, SHBLC_ENTIREITEM);
        rect.top = rectItem.top - kMarkHeight;
        rect.bottom = rectItem.top + kMarkOverlap;
    }
    return rect;
}

void COXSHBListCtrl::DrawInsertMark(CDC* pDC) {
    const int nCount = GetItemCount();
    if (m_nInsertItem < 0 || m_nInsertItem > nCount)
        return;
    const CRect rect = GetInsertMarkRect(m_nInsertItem);
    if (!pDC->RectVisible(rect))
        return;
    const COLORREF clrMark =
        IsSimilarColor(GetBkColor(), RGB(0, 0, 0), 64) ? RGB(255, 255, 255) : RGB(0, 0, 0);
    CPen pen;
    if (!pen.CreatePen(PS_SOLID, 1, clrMark))
        return;
    CScopedSelect selectPen(*pDC, &pen);
    if (m_nInsertItem == 0 || nCount == 0) {
        HorizontalLine(pDC, rect.left, rect.right, rect.top);
        for (int k = 1; k <= kMarkHeight; ++k) {
            HorizontalLine(pDC, rect.left, rect.left + kMarkHeight - k, rect.top + k);
            HorizontalLine(pDC, rect.right - kMarkHeight + k, rect.right, rect.top + k);
        }
    } else if (m_nInsertItem == nCount) {
        HorizontalLine(pDC, rect.left, rect.right, rect.bottom - 1);
        for (int k = 1; k <= kMarkHeight; ++k) {
            HorizontalLine(pDC, rect.left, rect.left + kMarkHeight - k, rect.bottom - k);
            HorizontalLine(pDC, rect.right - kMarkHeight + k, rect.right, rect.bottom - k);
        }
    } else {
        const int y = (rect.top + rect.bottom) / 2;
        HorizontalLine(pDC, rect.left, rect.right, y);
        for (int k = 1; k <= kArrowLength; ++k) {
            for (int yk : {y - k, y + k}) {
                HorizontalLine(pDC, rect.left, rect.left + kArrowLength - k, yk);
                HorizontalLine(pDC, rect.right - kArrowLength + k, rect.right, yk);
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Image streams of the clipboard block

BYTE* COXSHBListCtrl::WriteImage(CImageList* pImageList, int nImage, DWORD* pnLength) {
    *pnLength = 0;
    if (pImageList == nullptr || pImageList->m_hImageList == nullptr || nImage < 0 ||
        nImage >= pImageList->GetImageCount())
        return nullptr;
    IMAGEINFO info = {};
    if (!pImageList->GetImageInfo(nImage, &info))
        return nullptr;
    HICON hIcon = pImageList->ExtractIcon(nImage);
    if (hIcon == nullptr)
        return nullptr;
    CImageList single;
    const BOOL bMade =
        single.Create(info.rcImage.right - info.rcImage.left,
                      info.rcImage.bottom - info.rcImage.top, kImageListFlags, 1, 0) &&
        single.Add(hIcon) == 0;
    ::DestroyIcon(hIcon);
    if (!bMade)
        return nullptr;

    BYTE* pData = nullptr;
    try {
        CMemFile file(kStreamGrowth);
        {
            CArchive archive(&file, CArchive::store, kArchiveBuffer);
            if (!single.Write(&archive))
                return nullptr;
            archive.Close();
        }
        const DWORD nLength = static_cast<DWORD>(file.GetLength());
        pData = new BYTE[nLength];
        file.SeekToBegin();
        if (file.Read(pData, nLength) != nLength) {
            delete[] pData;
            return nullptr;
        }
        *pnLength = nLength;
    } catch (CException* e) {
        e->Delete();
        delete[] pData;
        *pnLength = 0;
        return nullptr;
    }
    return pData;
}

int COXSHBListCtrl::ReadImage(CImageList* pImageList, const BYTE* pData, DWORD nLength) {
    if (pImageList == nullptr || pData == nullptr || nLength == 0)
        return -1;
    CImageList single;
    try {
        // The file works on the caller's bytes and cannot grow past them.
        CMemFile file(const_cast<BYTE*>(pData), nLength);
        CArchive archive(&file, CArchive::load, kArchiveBuffer);
        if (!single.Read(&archive))
            return -1;
    } catch (CException* e) {
        e->Delete();
        return -1;
    }
    if (single.GetImageCount() < 1)
        return -1;
    HICON hIcon = single.ExtractIcon(0);
    if (hIcon == nullptr)
        return -1;
    IMAGEINFO info = {};
    if (pImageList->m_hImageList == nullptr &&
        (!single.GetImageInfo(0, &info) ||
         !pImageList->Create(info.rcImage.right - info.rcImage.left,
                             info.rcImage.bottom - info.rcImage.top, kImageListFlags, 1, 0))) {
        ::DestroyIcon(hIcon);
        return -1;
    }
    const int nImage = pImageList->Add(hIcon);
    ::DestroyIcon(hIcon);
    return nImage;
}
