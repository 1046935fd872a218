// OXSkinnedApp.cpp: the skins of the application and the re-layout of its
// windows on a skin change.
#include "OXSkinnedApp.h"

#include "OXSkins.h"
#include "Wnd.h"

#include <vector>

namespace {

const INT_PTR kSkinMapBlockSize = 10;
// Recompute the frame (WM_NCCALCSIZE) without moving, sizing or activating.
const UINT kFrameChangedFlags =
    SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOOWNERZORDER;
const UINT kRedrawFlags = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW;
// Floating frames are made by the docking layer, which is built on the skins;
// their class is found by name so that this layer does not include it.
const char kFloatingFrameClass[] = "COXSizableMiniDockFrameWnd";

// The windows after hWndFirst in z-order, hWndFirst included, taken before any
// of them is told anything: a WM_SIZE may create or destroy siblings.
std::vector<HWND> SiblingsFrom(HWND hWndFirst) {
    std::vector<HWND> windows;
    for (HWND hWnd = hWndFirst; hWnd != nullptr; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT))
        windows.push_back(hWnd);
    return windows;
}

void RedrawWindowTree(HWND hWnd) {
    if ((::GetWindowLongA(hWnd, GWL_STYLE) & WS_MAXIMIZE) == 0) {
        RECT rectClient = {};
        ::GetClientRect(hWnd, &rectClient);
        ::SendMessageA(hWnd, WM_SIZE, 0, MAKELPARAM(rectClient.right, rectClient.bottom));
    }
    ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, kFrameChangedFlags);
    ::RedrawWindow(hWnd, nullptr, nullptr, kRedrawFlags);
    for (HWND hWndChild : SiblingsFrom(::GetWindow(hWnd, GW_CHILD))) {
        if (::IsWindow(hWndChild) && ::GetParent(hWndChild) == hWnd)
            RedrawWindowTree(hWndChild);
    }
}

} // namespace

IMPLEMENT_DYNAMIC(COXSkinnedApp, CWinApp)

COXSkinnedApp::COXSkinnedApp(LPCTSTR lpszAppName)
    : CWinApp(lpszAppName), m_mapSkins(kSkinMapBlockSize), m_pCurrentSkin(nullptr) {
    AddSkin(new COXSkinClassic);
    AddSkin(new COXSkinXP);
    AddSkin(new COXSkin2003);
    SetCurrentSkin("Office XP");
}

COXSkinnedApp::~COXSkinnedApp() {
    POSITION pos = m_mapSkins.GetStartPosition();
    while (pos != nullptr) {
        CString strName;
        void* pSkin = nullptr;
        m_mapSkins.GetNextAssoc(pos, strName, pSkin);
        delete static_cast<COXSkin*>(pSkin);
    }
    m_mapSkins.RemoveAll();
    m_pCurrentSkin = nullptr;
}

// A second skin of the same name replaces the first, which is deleted, so the
// map never holds a skin it cannot free.
void COXSkinnedApp::AddSkin(COXSkin* pSkin) {
    if (pSkin == nullptr)
        return;
    CString strName = pSkin->GetName();
    void* pOld = nullptr;
    if (m_mapSkins.Lookup(strName, pOld) && pOld != pSkin) {
        if (m_pCurrentSkin == pOld)
            m_pCurrentSkin = pSkin;
        delete static_cast<COXSkin*>(pOld);
    }
    m_mapSkins.SetAt(strName, pSkin);
}

BOOL COXSkinnedApp::SetCurrentSkin(LPCTSTR lpszName) {
    void* pSkin = nullptr;
    if (lpszName == nullptr || !m_mapSkins.Lookup(lpszName, pSkin)) {
        m_pCurrentSkin = nullptr;
        return FALSE;
    }
    m_pCurrentSkin = static_cast<COXSkin*>(pSkin);
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd != nullptr && ::IsWindow(pMainWnd->GetSafeHwnd())) {
        RedrawFloatingFrames(pMainWnd);
        RedrawSkinnedWindow(pMainWnd);
    }
    return TRUE;
}

void COXSkinnedApp::RedrawSkinnedWindow(CWnd* pWnd) {
    if (pWnd != nullptr && ::IsWindow(pWnd->GetSafeHwnd()))
        RedrawWindowTree(pWnd->GetSafeHwnd());
}

void COXSkinnedApp::RedrawFloatingFrames(CWnd* pMainWnd) {
    const CRuntimeClass* pFrameClass = CRuntimeClass::FromName(kFloatingFrameClass);
    if (pMainWnd == nullptr || pFrameClass == nullptr)
        return;
    HWND hWndMain = pMainWnd->GetSafeHwnd();
    for (HWND hWnd : SiblingsFrom(::GetWindow(::GetDesktopWindow(), GW_CHILD))) {
        if (hWnd == hWndMain || !::IsWindow(hWnd))
            continue;
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (pWnd != nullptr && AfxIsDescendant(hWndMain, hWnd) && pWnd->IsKindOf(pFrameClass))
            RedrawSkinnedWindow(pWnd);
    }
}

COXSkin* OXGetCurrentSkin() {
    auto* pApp = dynamic_cast<COXSkinnedApp*>(AfxGetApp());
    return pApp != nullptr ? pApp->GetCurrentSkin() : nullptr;
}
