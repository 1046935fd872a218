// FilenameEdit.cpp: the read-only path box with its compacted path and tooltip.
#include "FilenameEdit.h"

#include "Common/TraceLog.h"

#include <shlwapi.h>

namespace {

const char kEllipsis[] = "...";

} // namespace

CFilenameEdit::CFilenameEdit() : m_pToolTip(nullptr) {}

CFilenameEdit::~CFilenameEdit() {
    delete m_pToolTip;
}

void CFilenameEdit::PreSubclassWindow() {
    CEdit::PreSubclassWindow();
    SetReadOnly(TRUE);
}

void CFilenameEdit::SetPath(LPCTSTR lpszPath) {
    m_strPath = lpszPath != nullptr ? lpszPath : "";
    if (EnsureToolTip())
        m_pToolTip->UpdateTipText(m_strPath, this);
    SetWindowText(GetCompactPath());
}

BOOL CFilenameEdit::EnsureToolTip() {
    if (m_pToolTip != nullptr)
        return TRUE;
    m_pToolTip = new CToolTipCtrl;
    if (!m_pToolTip->Create(this, TTS_ALWAYSTIP) || !m_pToolTip->AddTool(this, "")) {
        KWTRACE_ERROR(("CFilenameEdit::EnsureToolTip: no tooltip, error %lu\n",
                       static_cast<unsigned long>(::GetLastError())));
        delete m_pToolTip;
        m_pToolTip = nullptr;
        return FALSE;
    }
    m_pToolTip->Activate(TRUE);
    return TRUE;
}

// The shell replaces folders with an ellipsis, but leaves a last name that is
// wider than the box whole (Wine does); such a name is cut at its end with an
// ellipsis of its own, so the box never shows a path cut off without a mark.
CString CFilenameEdit::GetCompactPath() const {
    CRect rcFormat;
    GetRect(&rcFormat);
    const int nWidth = rcFormat.Width();
    char szPath[MAX_PATH];
    ::lstrcpynA(szPath, m_strPath, MAX_PATH);
    HDC hDC = ::GetDC(m_hWnd);
    if (hDC == nullptr)
        return szPath;
    HFONT hFont = reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    HGDIOBJ hOldFont = hFont != nullptr ? ::SelectObject(hDC, hFont) : nullptr;
    ::PathCompactPathA(hDC, szPath, static_cast<UINT>(nWidth));
    CString strShown = szPath;
    SIZE size = {};
    for (int nKeep = strShown.GetLength();
         ::GetTextExtentPoint32A(hDC, strShown, strShown.GetLength(), &size) && size.cx > nWidth &&
         nKeep > 0;)
        strShown = CString(szPath).Left(--nKeep) + kEllipsis;
    if (hOldFont != nullptr)
        ::SelectObject(hDC, hOldFont);
    ::ReleaseDC(m_hWnd, hDC);
    return strShown;
}

BOOL CFilenameEdit::PreTranslateMessage(MSG* pMsg) {
    if (m_pToolTip != nullptr && ::IsWindow(m_pToolTip->m_hWnd))
        m_pToolTip->RelayEvent(pMsg);
    return CEdit::PreTranslateMessage(pMsg);
}

void AFXAPI DDX_FilenameEdit(CDataExchange* pDX, int nIDC, CString& strPath) {
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (hWndCtrl == nullptr)
        return;
    CFilenameEdit* pBox = dynamic_cast<CFilenameEdit*>(CWnd::FromHandlePermanent(hWndCtrl));
    if (pBox != nullptr) {
        if (pDX->m_bSaveAndValidate)
            strPath = pBox->GetPath();
        else
            pBox->SetPath(strPath);
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        CWnd::FromHandle(hWndCtrl)->GetWindowText(strPath);
        return;
    }
    CFilenameEdit box;
    if (!box.SubclassWindow(hWndCtrl))
        return;
    box.SetPath(strPath);
    box.UnsubclassWindow();
}
