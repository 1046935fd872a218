// AboutDlg.cpp: the about box "About Zel Moxel".
#include "AboutDlg.h"

#include "resource.h"

#include "framework/DataExchange.h"

namespace {

const int kLinkIds[CAboutDlg::kLinkCount] = {IDC_ABOUT_LINK1, IDC_ABOUT_LINK2, IDC_ABOUT_LINK3,
                                             IDC_ABOUT_LINK4, IDC_ABOUT_LINK5, IDC_ABOUT_LINK6,
                                             IDC_ABOUT_LINK7, IDC_ABOUT_LINK8};
// The first links take their targets from the string table; the others are
// their own targets (their texts are full addresses).
const int kLinksWithStringTargets = IDS_ABOUT_LINK5 - IDS_ABOUT_LINK1 + 1;

const COLORREF kLinkColour = RGB(0, 0, 238);

} // namespace

// Language neutral, code page 1252.
const char CAboutDlg::kVersionQuery[] = "\\StringFileInfo\\080004E4\\ProductVersion";

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
ON_WM_CTLCOLOR()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg() : COXShadowedWnd<CDialog>(IDD_ABOUTBOX) {}

void CAboutDlg::DoDataExchange(CDataExchange* pDX) {
    COXShadowedWnd<CDialog>::DoDataExchange(pDX);
    for (int i = 0; i < kLinkCount; ++i)
        DDX_Control(pDX, kLinkIds[i], m_links[i]);
    DDX_Text(pDX, IDC_ABOUT_VERSION, m_strVersion);
}

CString CAboutDlg::GetProgramPath() const {
    char szPath[MAX_PATH] = "";
    const DWORD nLength = ::GetModuleFileNameA(nullptr, szPath, sizeof szPath);
    // A path cut to the buffer names some other file: no version then.
    if (nLength == 0 || nLength >= sizeof szPath)
        return CString();
    return CString(szPath);
}

CString CAboutDlg::ReadVersionText(LPCTSTR lpszPath) {
    CString strVersion;
    if (lpszPath == nullptr || *lpszPath == '\0')
        return strVersion;
    DWORD dwHandle = 0;
    const DWORD dwSize = ::GetFileVersionInfoSizeA(lpszPath, &dwHandle);
    if (dwSize == 0)
        return strVersion;
    HGLOBAL hMemory = ::GlobalAlloc(GMEM_MOVEABLE, dwSize);
    if (hMemory == nullptr)
        return strVersion;
    void* pData = ::GlobalLock(hMemory);
    if (pData != nullptr) {
        LPSTR pszValue = nullptr;
        UINT nValueLength = 0;
        if (::GetFileVersionInfoA(lpszPath, dwHandle, dwSize, pData) &&
            ::VerQueryValueA(pData, kVersionQuery, reinterpret_cast<LPVOID*>(&pszValue),
                             &nValueLength) &&
            pszValue != nullptr && nValueLength > 0 && *pszValue != '\0')
            strVersion = CString("Version: ") + pszValue;
        ::GlobalUnlock(hMemory);
    }
    ::GlobalFree(hMemory);
    return strVersion;
}

BOOL CAboutDlg::OnInitDialog() {
    COXShadowedWnd<CDialog>::OnInitDialog();
    m_strVersion = ReadVersionText(GetProgramPath());
    if (m_brushBackground.GetSafeHandle() == nullptr)
        m_brushBackground.CreateSolidBrush(RGB(255, 255, 255));
    for (int i = 0; i < kLinkCount; ++i) {
        m_links[i].SetBackgroundColor(RGB(255, 255, 255));
        if (i < kLinksWithStringTargets) {
            CString strTarget;
            if (strTarget.LoadString(IDS_ABOUT_LINK1 + i))
                m_links[i].SetURL(strTarget);
        }
    }
    UpdateData(FALSE);
    return TRUE;
}

BOOL CAboutDlg::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE))
        return TRUE;
    return COXShadowedWnd<CDialog>::PreTranslateMessage(pMsg);
}

bool CAboutDlg::IsLink(const CWnd* pWnd) const {
    if (pWnd == nullptr)
        return false;
    for (const CXHyperLink& link : m_links)
        if (link.m_hWnd != nullptr && link.m_hWnd == pWnd->m_hWnd)
            return true;
    return false;
}

HBRUSH CAboutDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT) {
    if (IsLink(pWnd)) {
        pDC->SetTextColor(kLinkColour);
        pDC->SetBkMode(TRANSPARENT);
    }
    return static_cast<HBRUSH>(m_brushBackground.GetSafeHandle());
}

// The brush goes with the window, not before: the dialog still paints while
// it closes.
void CAboutDlg::OnDestroy() {
    COXShadowedWnd<CDialog>::OnDestroy();
    m_brushBackground.DeleteObject();
}
