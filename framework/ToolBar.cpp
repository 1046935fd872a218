// ToolBar.cpp: CToolBar.
#include "ToolBar.h"

#include "AfxResource.h"
#include "CmdUI.h"

#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

// clang-format off
BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
    ON_WM_NCCREATE()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
END_MESSAGE_MAP()
// clang-format on

namespace {

const int kSeparatorWidth = 8;
const int kOneRow = 32767;
// The space a gripper keeps at the start of a docked bar (room for the skins'
// two 3-pixel bars after a 3-pixel inset), and the framework's own two lines:
// 3 pixels each, starting 2 pixels in.
const int kGripperSpace = 10;
const int kGripperInset = 2;
const int kGripperLine = 3;

// Toolbar bitmaps paint their background in the classic light grey; the
// control masks out the current button-face colour instead, so the grey is
// turned into that colour before the bitmap goes in. Without it every image
// sits on a grey square over the skins' gradients.
void MapBackgroundToButtonFace(HBITMAP hbm) {
    BITMAP bm = {};
    if (::GetObjectA(hbm, sizeof(bm), &bm) == 0 || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return;
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = bm.bmWidth;
    bmi.bmiHeader.biHeight = -bm.bmHeight; // top-down
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
    HDC hdc = ::GetDC(nullptr);
    if (::GetDIBits(hdc, hbm, 0, bm.bmHeight, pixels.data(), &bmi, DIB_RGB_COLORS) == bm.bmHeight) {
        const COLORREF crFace = ::GetSysColor(COLOR_BTNFACE);
        const DWORD dwFace =
            (GetRValue(crFace) << 16) | (GetGValue(crFace) << 8) | GetBValue(crFace);
        for (DWORD& pixel : pixels)
            if ((pixel & 0xFFFFFF) == 0xC0C0C0)
                pixel = dwFace;
        ::SetDIBits(hdc, hbm, 0, bm.bmHeight, pixels.data(), &bmi, DIB_RGB_COLORS);
    }
    ::ReleaseDC(nullptr, hdc);
}

// The resource type of toolbar layouts, and the layout it holds.
const LPCTSTR kRtToolBar = MAKEINTRESOURCE(241);
struct SToolBarData {
    WORD wVersion; // 1
    WORD wWidth;   // image size
    WORD wHeight;
    WORD wItemCount;
    // WORD aItems[wItemCount]: command ids, 0 for a separator
};

// Updates a button from the owner's ON_UPDATE_COMMAND_UI handler.
class CToolCmdUI : public CCmdUI {
public:
    explicit CToolCmdUI(CToolBar* pBar) : m_pBar(pBar) {}
    void Enable(BOOL bOn) override {
        m_bEnableChanged = TRUE;
        int nIndex = static_cast<int>(m_nIndex);
        UINT nState = m_pBar->GetButtonState(nIndex);
        m_pBar->SetButtonState(nIndex, bOn ? (nState | TBSTATE_ENABLED)
                                           : (nState & ~(TBSTATE_ENABLED | TBSTATE_PRESSED)));
    }
    void SetCheck(int nCheck) override {
        int nIndex = static_cast<int>(m_nIndex);
        UINT nState = m_pBar->GetButtonState(nIndex) & ~(TBSTATE_CHECKED | TBSTATE_INDETERMINATE);
        if (nCheck == 1)
            nState |= TBSTATE_CHECKED;
        else if (nCheck == 2)
            nState |= TBSTATE_INDETERMINATE;
        m_pBar->SetButtonState(nIndex, nState);
    }
    void SetRadio(BOOL bOn) override { SetCheck(bOn ? 1 : 0); }
    void SetText(LPCTSTR) override {} // buttons show images only

private:
    CToolBar* m_pBar;
};

} // namespace

CToolBar::CToolBar()
    : m_nMRUWidth(kOneRow), m_sizeButton(23, 22), m_sizeImage(16, 15),
      m_bDelayedButtonLayout(FALSE), m_dwCtrlStyle(0), m_hbmImageWell(nullptr), m_cxLeftBorder(0),
      m_cyTopBorder(0), m_cxRightBorder(0), m_cyBottomBorder(0), m_dwLastLayoutMode(0) {}

CToolBar::~CToolBar() {
    if (m_hbmImageWell != nullptr)
        ::DeleteObject(m_hbmImageWell);
}

BOOL CToolBar::PreCreateWindow(CREATESTRUCT& cs) {
    if (cs.lpszClass == nullptr)
        cs.lpszClass = TOOLBARCLASSNAMEA;
    if (!CControlBar::PreCreateWindow(cs))
        return FALSE;
    // The low word is the control's own style; the frame's layout places the
    // bar, and the bar (not the control) decides where buttons wrap.
    cs.style = (cs.style & 0xFFFF0000) | m_dwCtrlStyle | CCS_NOPARENTALIGN | CCS_NOMOVEY |
               CCS_NORESIZE | CCS_NODIVIDER;
    return TRUE;
}

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    return CreateEx(pParentWnd, 0, dwStyle, nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID) {
    return CreateEx(pParentWnd, dwCtrlStyle, dwStyle, CRect(0, 0, 0, 0), nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders,
                        UINT nID) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    SetBorders(&rcBorders);
    m_dwCtrlStyle = dwCtrlStyle & (TBSTYLE_FLAT | TBSTYLE_LIST | TBSTYLE_TRANSPARENT);
    if (!CWnd::Create(nullptr, nullptr, dwStyle, CRect(0, 0, 0, 0), pParentWnd, nID))
        return FALSE;
    if (dwStyle & CBRS_TOOLTIPS)
        EnableToolTips(TRUE);
    // Commands and their idle updates go to the frame the bar belongs to,
    // wherever it docks or floats later.
    CFrameWnd* pFrame = pParentWnd->AsFrameWnd();
    if (pFrame == nullptr)
        pFrame = pParentWnd->GetParentFrame();
    if (pFrame != nullptr) {
        SetOwner(pFrame);
        SendMessage(TB_SETPARENT, reinterpret_cast<WPARAM>(pFrame->m_hWnd));
    }
    SetSizes(CSize(23, 22), CSize(16, 15));
    return TRUE;
}

BOOL CToolBar::OnNcCreate(LPCREATESTRUCT lpCreateStruct) {
    if (!CControlBar::OnNcCreate(lpCreateStruct))
        return FALSE;
    // Straight to the control, before any derived handler of its messages.
    DefWindowProc(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    if (m_hWndOwner != nullptr)
        DefWindowProc(TB_SETPARENT, reinterpret_cast<WPARAM>(m_hWndOwner), 0);
    return TRUE;
}

void CToolBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom) {
    ASSERT(cxLeft >= 0 && cyTop >= 0 && cxRight >= 0 && cyBottom >= 0);
    m_cxLeftBorder = cxLeft;
    m_cyTopBorder = cyTop;
    m_cxRightBorder = cxRight;
    m_cyBottomBorder = cyBottom;
}

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage) {
    ASSERT(sizeButton.cx >= sizeImage.cx + 7 && sizeButton.cy >= sizeImage.cy + 6);
    m_sizeImage = sizeImage;
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(sizeImage.cx, sizeImage.cy));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(sizeButton.cx, sizeButton.cy));
    // The control may make the buttons larger than asked (texts).
    const DWORD dwSize = static_cast<DWORD>(SendMessage(TB_GETBUTTONSIZE));
    m_sizeButton = CSize(LOWORD(dwSize), HIWORD(dwSize));
    m_bDelayedButtonLayout = TRUE;
}

BOOL CToolBar::LoadBitmap(LPCTSTR lpszResourceName) {
    HBITMAP hbm = ::LoadBitmapA(AfxGetResourceHandle(), lpszResourceName);
    if (hbm == nullptr)
        return FALSE;
    MapBackgroundToButtonFace(hbm);
    BITMAP bm = {};
    ::GetObjectA(hbm, sizeof(bm), &bm);
    const int nImages = m_sizeImage.cx > 0 ? bm.bmWidth / m_sizeImage.cx : 0;
    BOOL bDone;
    if (m_hbmImageWell == nullptr) {
        TBADDBITMAP tbab = {nullptr, reinterpret_cast<UINT_PTR>(hbm)};
        bDone = SendMessage(TB_ADDBITMAP, static_cast<WPARAM>(nImages),
                            reinterpret_cast<LPARAM>(&tbab)) != -1;
    } else {
        TBREPLACEBITMAP tbrb = {nullptr, reinterpret_cast<UINT_PTR>(m_hbmImageWell), nullptr,
                                reinterpret_cast<UINT_PTR>(hbm), nImages};
        bDone = SendMessage(TB_REPLACEBITMAP, 0, reinterpret_cast<LPARAM>(&tbrb)) != 0;
    }
    if (!bDone) {
        ::DeleteObject(hbm);
        return FALSE;
    }
    if (m_hbmImageWell != nullptr)
        ::DeleteObject(m_hbmImageWell);
    m_hbmImageWell = hbm;
    return TRUE;
}

BOOL CToolBar::LoadToolBar(LPCTSTR lpszResourceName) {
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRsrc = ::FindResourceA(hInst, lpszResourceName, kRtToolBar);
    HGLOBAL hGlobal = hRsrc != nullptr ? ::LoadResource(hInst, hRsrc) : nullptr;
    auto* pData =
        hGlobal != nullptr ? static_cast<const SToolBarData*>(::LockResource(hGlobal)) : nullptr;
    if (pData == nullptr || pData->wVersion != 1 ||
        ::SizeofResource(hInst, hRsrc) < sizeof(SToolBarData) + pData->wItemCount * sizeof(WORD))
        return FALSE;
    const WORD* pItems = reinterpret_cast<const WORD*>(pData + 1);
    std::vector<UINT> ids(pItems, pItems + pData->wItemCount);
    SetSizes(CSize(pData->wWidth + 7, pData->wHeight + 7), CSize(pData->wWidth, pData->wHeight));
    if (!LoadBitmap(lpszResourceName))
        return FALSE;
    return SetButtons(ids.data(), static_cast<int>(ids.size()));
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount) {
    if (m_hWnd == nullptr || nIDCount < 0)
        return FALSE;
    while (GetCount() > 0)
        SendMessage(TB_DELETEBUTTON, 0);
    std::vector<TBBUTTON> buttons(static_cast<size_t>(nIDCount));
    int nImage = 0;
    for (int i = 0; i < nIDCount; ++i) {
        TBBUTTON& button = buttons[static_cast<size_t>(i)];
        button = TBBUTTON{};
        UINT nID = lpIDArray != nullptr ? lpIDArray[i] : ID_SEPARATOR;
        if (nID == ID_SEPARATOR) {
            button.iBitmap = kSeparatorWidth;
            button.fsStyle = BTNS_SEP;
        } else {
            button.iBitmap = nImage++;
            button.idCommand = static_cast<int>(nID);
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = BTNS_BUTTON;
        }
    }
    if (nIDCount > 0 && !SendMessage(TB_ADDBUTTONSA, static_cast<WPARAM>(nIDCount),
                                     reinterpret_cast<LPARAM>(buttons.data())))
        return FALSE;
    CalcLayout(-1, ModeOfPlace());
    m_bDelayedButtonLayout = TRUE;
    return TRUE;
}

int CToolBar::GetCount() const {
    return static_cast<int>(::SendMessageA(m_hWnd, TB_BUTTONCOUNT, 0, 0));
}

int CToolBar::CommandToIndex(UINT nIDFind) const {
    if (nIDFind == ID_SEPARATOR)
        return -1;
    return static_cast<int>(::SendMessageA(m_hWnd, TB_COMMANDTOINDEX, nIDFind, 0));
}

UINT CToolBar::GetItemID(int nIndex) const {
    TBBUTTON button = {};
    if (!::SendMessageA(m_hWnd, TB_GETBUTTON, static_cast<WPARAM>(nIndex),
                        reinterpret_cast<LPARAM>(&button)))
        return ID_SEPARATOR;
    return (button.fsStyle & BTNS_SEP) ? ID_SEPARATOR : static_cast<UINT>(button.idCommand);
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const {
    if (!::SendMessageA(m_hWnd, TB_GETITEMRECT, static_cast<WPARAM>(nIndex),
                        reinterpret_cast<LPARAM>(lpRect)))
        ::SetRectEmpty(lpRect);
}

UINT CToolBar::GetButtonState(int nIndex) const {
    TBBUTTON button = {};
    if (!::SendMessageA(m_hWnd, TB_GETBUTTON, static_cast<WPARAM>(nIndex),
                        reinterpret_cast<LPARAM>(&button)))
        return 0;
    return button.fsState;
}

void CToolBar::SetButtonState(int nIndex, UINT nState) {
    if (nIndex < 0 || nIndex >= GetCount() || GetButtonState(nIndex) == nState)
        return;
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_BYINDEX | TBIF_STATE;
    info.fsState = static_cast<BYTE>(nState);
    SendMessage(TB_SETBUTTONINFOA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&info));
}

UINT CToolBar::GetButtonStyle(int nIndex) const {
    TBBUTTON button = {};
    if (!::SendMessageA(m_hWnd, TB_GETBUTTON, static_cast<WPARAM>(nIndex),
                        reinterpret_cast<LPARAM>(&button)))
        return 0;
    return button.fsStyle;
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle) {
    if (nIndex < 0 || nIndex >= GetCount() || GetButtonStyle(nIndex) == nStyle)
        return;
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof(info);
    info.dwMask = TBIF_BYINDEX | TBIF_STYLE;
    info.fsStyle = static_cast<BYTE>(nStyle);
    SendMessage(TB_SETBUTTONINFOA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&info));
    m_bDelayedButtonLayout = TRUE;
}

BOOL CToolBar::SetButtonText(int nIndex, LPCTSTR lpszText) {
    TBBUTTON button = {};
    if (nIndex < 0 || nIndex >= GetCount() ||
        !DefWindowProc(TB_GETBUTTON, static_cast<WPARAM>(nIndex),
                       reinterpret_cast<LPARAM>(&button)))
        return FALSE;
    INT_PTR nString = -1;
    if (lpszText != nullptr && *lpszText != '\0') {
        auto it = std::find_if(m_stringPool.begin(), m_stringPool.end(),
                               [&](const SPooledString& s) { return s.strText == lpszText; });
        if (it != m_stringPool.end()) {
            nString = it->nIndex;
        } else {
            // TB_ADDSTRING takes a list ended by an empty string.
            std::vector<char> list(lpszText, lpszText + ::lstrlenA(lpszText));
            list.push_back('\0');
            list.push_back('\0');
            const LRESULT nAdded =
                DefWindowProc(TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(list.data()));
            if (nAdded < 0)
                return FALSE;
            m_stringPool.push_back(SPooledString{CString(lpszText), static_cast<int>(nAdded)});
            nString = nAdded;
        }
    }
    if (button.iString == nString)
        return TRUE;
    // The text index is fixed at insertion: the button goes in again with it,
    // through the control itself so that derived bars see no button change.
    button.iString = nString;
    DefWindowProc(TB_DELETEBUTTON, static_cast<WPARAM>(nIndex), 0);
    DefWindowProc(TB_INSERTBUTTONA, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(&button));
    const DWORD dwSize = static_cast<DWORD>(DefWindowProc(TB_GETBUTTONSIZE, 0, 0));
    m_sizeButton = CSize(LOWORD(dwSize), HIWORD(dwSize));
    m_bDelayedButtonLayout = TRUE;
    return TRUE;
}

CString CToolBar::GetButtonText(int nIndex) const {
    TBBUTTON button = {};
    if (!::SendMessageA(m_hWnd, TB_GETBUTTON, static_cast<WPARAM>(nIndex),
                        reinterpret_cast<LPARAM>(&button)))
        return CString();
    for (const SPooledString& pooled : m_stringPool) {
        if (pooled.nIndex == button.iString)
            return pooled.strText;
    }
    return CString();
}

INT_PTR CToolBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const {
    const int nHit = HitButton(point);
    if (nHit < 0)
        return -1;
    const UINT nID = GetItemID(nHit);
    if (pTI != nullptr) {
        // The tooltip is the command string after its first newline (the
        // whole string when it has none); a command without one shows none.
        CString strText;
        if (strText.LoadString(nID)) {
            const int nNewLine = strText.Find('\n');
            if (nNewLine >= 0)
                strText = strText.Mid(nNewLine + 1);
        }
        const size_t nBytes = static_cast<size_t>(strText.GetLength()) + 1;
        char* pszText = static_cast<char*>(::malloc(nBytes));
        if (pszText == nullptr)
            return -1;
        ::lstrcpynA(pszText, strText, static_cast<int>(nBytes));
        pTI->hwnd = m_hWnd;
        pTI->uId = nID;
        GetItemRect(nHit, &pTI->rect);
        pTI->lpszText = pszText;
    }
    return static_cast<INT_PTR>(nID);
}

void CToolBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) {
    const DWORD dwFrameBits = CBRS_BORDER_ANY | CBRS_BORDER_3D | CBRS_GRIPPER;
    if (m_hWnd != nullptr && (dwOldStyle & dwFrameBits) != (dwNewStyle & dwFrameBits))
        SetWindowPos(nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    m_bDelayedButtonLayout = TRUE;
}

void CToolBar::CalcInsideRect(CRect& rect, BOOL bHorz) const {
    CControlBar::CalcInsideRect(rect, bHorz);
    rect.left += m_cxLeftBorder;
    rect.top += m_cyTopBorder;
    rect.right -= m_cxRightBorder;
    rect.bottom -= m_cyBottomBorder;
    if ((m_dwStyle & CBRS_GRIPPER) && !(m_dwStyle & CBRS_FLOATING)) {
        if (bHorz)
            rect.left += kGripperSpace;
        else
            rect.top += kGripperSpace;
    }
}

void CToolBar::Layout() {
    m_bDelayedButtonLayout = FALSE;
    m_dwLastLayoutMode = ModeOfPlace();
    CalcDynamicLayout(-1, m_dwLastLayoutMode | LM_COMMIT);
}

void CToolBar::OnWindowPosChanging(WINDOWPOS* lpwndpos) {
    CControlBar::OnWindowPosChanging(lpwndpos);
    if (m_bDelayedButtonLayout || m_dwLastLayoutMode != ModeOfPlace())
        Layout();
}

// ---- Layout.

DWORD CToolBar::ModeOfPlace() const {
    if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && (m_dwStyle & CBRS_FLOATING))
        return LM_HORZ | LM_MRUWIDTH;
    if (m_dwStyle & CBRS_ORIENT_HORZ)
        return LM_HORZ | LM_HORZDOCK;
    return LM_VERTDOCK;
}

CSize CToolBar::BorderSize() const {
    CRect rectInside(0, 0, 0, 0);
    CalcInsideRect(rectInside, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
    return CSize(rectInside.left - rectInside.right, rectInside.top - rectInside.bottom);
}

std::vector<bool> CToolBar::CurrentWraps() const {
    std::vector<bool> wraps(static_cast<size_t>(GetCount()));
    for (int i = 0; i < GetCount(); ++i)
        wraps[static_cast<size_t>(i)] = (GetButtonState(i) & TBSTATE_WRAP) != 0;
    return wraps;
}

CSize CToolBar::SizeWithWraps(const std::vector<bool>& wraps) {
    bool bChanged = false;
    for (int i = 0; i < GetCount(); ++i) {
        UINT nState = GetButtonState(i);
        UINT nNew =
            wraps[static_cast<size_t>(i)] ? (nState | TBSTATE_WRAP) : (nState & ~TBSTATE_WRAP);
        if (nNew != nState) {
            SetButtonState(i, nNew);
            bChanged = true;
        }
    }
    if (bChanged)
        SendMessage(TB_AUTOSIZE); // lays the buttons out again; the window keeps its size
    CSize size(0, 0);
    for (int i = 0; i < GetCount(); ++i) {
        CRect rect;
        GetItemRect(i, &rect);
        size.cx = std::max(size.cx, rect.right);
        size.cy = std::max(size.cy, rect.bottom);
    }
    return size + BorderSize();
}

std::vector<bool> CToolBar::WrapsForWidth(int nWidth) {
    // Measured as one row: every button's width and the row's indent.
    std::vector<bool> wraps(static_cast<size_t>(GetCount()), false);
    SizeWithWraps(wraps);
    if (GetCount() == 0)
        return wraps;
    CRect rectFirst;
    GetItemRect(0, &rectFirst);
    const int nIndent = rectFirst.left;
    const int nInside = nWidth - BorderSize().cx;
    int x = nIndent;
    for (int i = 0; i < GetCount(); ++i) {
        CRect rect;
        GetItemRect(i, &rect);
        if (x + rect.Width() > nInside && x > nIndent) {
            wraps[static_cast<size_t>(i - 1)] = true;
            x = nIndent;
        }
        x += rect.Width();
    }
    return wraps;
}

CSize CToolBar::CalcLayout(int nLength, DWORD nMode) {
    const std::vector<bool> previous = CurrentWraps();
    const size_t nCount = previous.size();
    const bool bHorz = (nMode & (LM_HORZ | LM_HORZDOCK)) != 0 && (nMode & LM_VERTDOCK) == 0;
    const bool bDynamic = (m_dwStyle & CBRS_SIZE_DYNAMIC) != 0 && (nMode & LM_HORZDOCK) == 0;
    std::vector<bool> wraps(nCount, false);
    if (!bHorz) {
        // A column: every button ends its row.
        wraps.assign(nCount, true);
    } else if (bDynamic && (nMode & LM_MRUWIDTH)) {
        wraps = WrapsForWidth(m_nMRUWidth);
    } else if (bDynamic && nLength >= 0 && (nMode & LM_LENGTHY) == 0) {
        wraps = WrapsForWidth(nLength);
    } else if (bDynamic && nLength >= 0) {
        // The narrowest rows that fit in the height asked for, else one row.
        // Rows only change where a button ends, so those widths are the ones to try.
        SizeWithWraps(wraps);
        std::vector<int> widths;
        for (int i = 0; i < static_cast<int>(nCount); ++i) {
            CRect rect;
            GetItemRect(i, &rect);
            widths.push_back(rect.right + BorderSize().cx);
        }
        for (int nWidth : widths) {
            std::vector<bool> candidate = WrapsForWidth(nWidth);
            if (SizeWithWraps(candidate).cy <= nLength) {
                wraps = candidate;
                break;
            }
        }
    }
    CSize size = SizeWithWraps(wraps);
    if ((nMode & LM_COMMIT) && bDynamic && bHorz)
        m_nMRUWidth = size.cx;
    // Measuring another place than the bar's own leaves its buttons as they were.
    const DWORD nPlaceMode = nMode & (LM_HORZ | LM_MRUWIDTH | LM_HORZDOCK | LM_VERTDOCK);
    if ((nMode & LM_COMMIT) == 0 && !(nLength == -1 && nPlaceMode == ModeOfPlace()))
        SizeWithWraps(previous);
    if (nMode & LM_STRETCH) {
        if (bHorz)
            size.cx = kOneRow;
        else
            size.cy = kOneRow;
    }
    return size;
}

CSize CToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz) {
    DWORD nMode = (bStretch ? LM_STRETCH : 0) | (bHorz ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK);
    return CalcLayout(-1, nMode);
}

CSize CToolBar::CalcDynamicLayout(int nLength, DWORD nMode) {
    return CalcLayout(nLength, nMode);
}

// ---- Idle update, mouse, border.

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) {
    CToolCmdUI state(this);
    state.m_pOther = this;
    state.m_nIndexMax = static_cast<UINT>(GetCount());
    for (int i = 0; i < GetCount(); ++i) {
        UINT nID = GetItemID(i);
        if (nID == ID_SEPARATOR)
            continue;
        state.m_nIndex = static_cast<UINT>(i);
        state.m_nID = nID;
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
}

int CToolBar::HitButton(CPoint point) const {
    int nHit =
        static_cast<int>(::SendMessageA(m_hWnd, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point)));
    if (nHit < 0 || nHit >= GetCount() || GetItemID(nHit) == ID_SEPARATOR)
        return -1;
    return nHit;
}

void CToolBar::OnLButtonDown(UINT nFlags, CPoint point) {
    if (HitButton(point) >= 0)
        Default(); // the control presses the button
    else
        CControlBar::OnLButtonDown(nFlags, point);
}

void CToolBar::OnLButtonDblClk(UINT nFlags, CPoint point) {
    if (HitButton(point) >= 0)
        Default();
    else
        CControlBar::OnLButtonDblClk(nFlags, point);
}

void CToolBar::OnNcCalcSize(BOOL /*bCalcValidRects*/, NCCALCSIZE_PARAMS* lpncsp) {
    Default();
    CRect rect(lpncsp->rgrc[0]);
    CalcInsideRect(rect, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
    lpncsp->rgrc[0] = rect;
}

void CToolBar::OnNcPaint() {
    // The border is the bar's face colour around the buttons.
    CRect rectWindow, rectClient;
    GetWindowRect(&rectWindow);
    GetClientRect(&rectClient);
    ClientToScreen(&rectClient);
    rectClient.OffsetRect(-rectWindow.left, -rectWindow.top);
    rectWindow.OffsetRect(-rectWindow.left, -rectWindow.top);
    HDC hDC = ::GetWindowDC(m_hWnd);
    ::ExcludeClipRect(hDC, rectClient.left, rectClient.top, rectClient.right, rectClient.bottom);
    ::FillRect(hDC, &rectWindow, ::GetSysColorBrush(COLOR_BTNFACE));
    if ((m_dwStyle & CBRS_GRIPPER) && !(m_dwStyle & CBRS_FLOATING)) {
        // Two raised lines across the bar, in the space CalcInsideRect keeps.
        const bool bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
        CRect rectGrip = rectClient;
        if (bHorz) {
            rectGrip.left = rectClient.left - kGripperSpace + kGripperInset;
            rectGrip.right = rectGrip.left + kGripperLine;
        } else {
            rectGrip.top = rectClient.top - kGripperSpace + kGripperInset;
            rectGrip.bottom = rectGrip.top + kGripperLine;
        }
        for (int i = 0; i < 2; ++i) {
            ::DrawEdge(hDC, &rectGrip, BDR_RAISEDINNER, BF_RECT);
            rectGrip.OffsetRect(bHorz ? kGripperLine : 0, bHorz ? 0 : kGripperLine);
        }
    }
    ::ReleaseDC(m_hWnd, hDC);
}
