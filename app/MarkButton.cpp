// MarkButton.cpp: CMarkButton.
#include "MarkButton.h"

#include "ScoreCallRes.h"

#include "framework/AfxResource.h"

BEGIN_MESSAGE_MAP(CMarkButton, CButton)
ON_WM_DESTROY()
ON_CONTROL_REFLECT_EX(BN_CLICKED, &CMarkButton::OnClicked)
END_MESSAGE_MAP()

CMarkButton::CMarkButton()
    : m_mark(MARK_NONE), m_inKeyChange(0), m_hBitmap(nullptr), m_bitmapId(0) {}

CMarkButton::~CMarkButton() {
    // The window (which only borrowed the picture) is gone by now.
    if (m_hBitmap != nullptr)
        ::DeleteObject(m_hBitmap);
}

UINT CMarkButton::BitmapIdOf(int mark) {
    switch (mark) {
    case MARK_NONE:
    case 0:
        return IDB_MARK_0;
    case 2:
        return IDB_MARK_2;
    case 4:
        return IDB_MARK_4;
    case 6:
        return IDB_MARK_6;
    case 8:
        return IDB_MARK_8;
    case 10:
        return IDB_MARK_10;
    default:
        return 0;
    }
}

int CMarkButton::MarkFromX(int x) {
    if (x < 20)
        return 0;
    if (x < 34)
        return 2;
    if (x < 47)
        return 4;
    if (x < 60)
        return 6;
    if (x < 73)
        return 8;
    return 10;
}

void CMarkButton::SetMark(int mark) {
    m_mark = mark;
    ShowMarkBitmap();
}

void CMarkButton::ShowMarkBitmap() {
    const UINT nID = BitmapIdOf(m_mark);
    if (nID == 0 || m_hWnd == nullptr)
        return;
    if (nID == m_bitmapId && m_hBitmap != nullptr)
        return;
    // The picture's background (its first pixel's colour) becomes the window
    // colour, the white the dialog is drawn on.
    HBITMAP hBitmap = static_cast<HBITMAP>(::LoadImageA(
        AfxGetResourceHandle(), MAKEINTRESOURCEA(nID), IMAGE_BITMAP, 0, 0, LR_LOADTRANSPARENT));
    if (hBitmap == nullptr)
        return;
    SetBitmap(hBitmap);
    if (m_hBitmap != nullptr)
        ::DeleteObject(m_hBitmap);
    m_hBitmap = hBitmap;
    m_bitmapId = nID;
}

BOOL CMarkButton::OnClicked() {
    if (m_inKeyChange)
        return FALSE;
    const DWORD pos = ::GetMessagePos();
    POINT point = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
    ::ScreenToClient(m_hWnd, &point);
    SetMark(MarkFromX(point.x));
    return FALSE;
}

BOOL CMarkButton::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message != WM_KEYDOWN || pMsg->wParam != VK_RIGHT || pMsg->hwnd != m_hWnd)
        return CButton::PreTranslateMessage(pMsg);
    SetMark(m_mark >= 10 ? 0 : (m_mark < 0 ? 0 : m_mark) + 2);
    m_inKeyChange = 1;
    // The mark shown is the row's answer only while the button is checked: a
    // click checks it (and unchecks the rest of the row) and tells the dialog.
    if (GetCheck() != BST_CHECKED)
        Click();
    else if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED),
                             reinterpret_cast<LPARAM>(m_hWnd));
    m_inKeyChange = 0;
    return TRUE;
}

void CMarkButton::OnDestroy() {
    CButton::OnDestroy();
    m_bitmapId = 0; // a window made again loads its picture afresh
}
