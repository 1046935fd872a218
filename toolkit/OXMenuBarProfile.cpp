// OXMenuBarProfile.cpp: COXMenuBar's saved menu state in the application's
// profile: loaded when a menu is first shown for a document template, saved
// when a menu marked changed is replaced.
#include "OXMenuBar.h"

#include "OXMenuBarState.h"

#include "Common/TraceLog.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/MDIFrameWnd.h"
#include "framework/WinApp.h"

namespace {

const char kSectionPrefix[] = "Menu_";
const char kDefaultSection[] = "Menu_Default";
const char kItemsEntry[] = "MenuItems";
const char kSizeEntry[] = "MenuDataSize";

CString SectionOf(LPCTSTR lpszName) {
    if (lpszName == nullptr || *lpszName == '\0')
        return kDefaultSection;
    return CString(kSectionPrefix) + lpszName;
}

CString ClassNameOf(CDocument* pDoc) {
    return pDoc != nullptr ? CString(pDoc->GetRuntimeClass()->m_lpszClassName) : CString();
}

} // namespace

void COXMenuBar::MarkMenuChanged() {
    if (m_hMenu != nullptr)
        m_setChangedMenus.insert(m_hMenu);
}

void COXMenuBar::LoadStateOnShow() {
    if (m_mapLoadedMenus.count(m_hMenu) != 0)
        return;
    CDocument* pDoc = nullptr;
    if (CMDIFrameWnd* pMDIFrame = GetMDIFrame()) {
        if (CMDIChildWnd* pChild = pMDIFrame->MDIGetActive())
            pDoc = pChild->GetActiveDocument();
    } else if (CFrameWnd* pFrame = GetFrameWnd()) {
        pDoc = pFrame->GetActiveDocument();
    }
    CDocTemplate* pTemplate = pDoc != nullptr ? pDoc->GetDocTemplate() : nullptr;
    // One menu per template (and one without a document) loads a state.
    for (const auto& loaded : m_mapLoadedMenus) {
        if (loaded.second.pTemplate == pTemplate)
            return;
    }
    const CString strName = ClassNameOf(pDoc);
    m_mapLoadedMenus[m_hMenu] = {pTemplate, strName};
    LoadMenuState(m_hMenu, strName);
}

CString COXMenuBar::GetSaveName(HMENU hMenu) const {
    const auto it = m_mapLoadedMenus.find(hMenu);
    if (it == m_mapLoadedMenus.end() || it->second.pTemplate == nullptr)
        return CString();
    CDocTemplate* pTemplate = it->second.pTemplate;
    POSITION pos = pTemplate->GetFirstDocPosition();
    if (pos != nullptr)
        return ClassNameOf(pTemplate->GetNextDoc(pos));
    // The template's last document may be closing as its menu goes: the name
    // the state was loaded under keeps it out of the default section.
    return it->second.strName;
}

void COXMenuBar::SaveStateIfChanged(HMENU hMenu) {
    if (hMenu == nullptr || m_setChangedMenus.erase(hMenu) == 0)
        return;
    SaveMenuState(hMenu, GetSaveName(hMenu));
}

BOOL COXMenuBar::SaveBarState() {
    BOOL bAllSaved = TRUE;
    const std::set<HMENU> changed = m_setChangedMenus;
    m_setChangedMenus.clear();
    for (HMENU hMenu : changed) {
        if (!SaveMenuState(hMenu, GetSaveName(hMenu)))
            bAllSaved = FALSE;
    }
    return bAllSaved;
}

BOOL COXMenuBar::SaveMenuState(HMENU hMenu, LPCTSTR lpszName) {
    const CString strSection = SectionOf(lpszName);
    CWinApp* pApp = AfxGetApp();
    std::vector<BYTE> bytes;
    BOOL bSaved = FALSE;
    if (pApp == nullptr || !::IsMenu(hMenu)) {
        KWTRACE_ERROR(("COXMenuBar::SaveMenuState: no application or no menu\n"));
    } else if (!OXMenuItemsToBytes(hMenu, bytes)) {
        KWTRACE_ERROR(("COXMenuBar::SaveMenuState: out of memory writing the menu\n"));
    } else {
        // The size goes last: a half-written state shows as a size mismatch.
        const UINT nBytes = static_cast<UINT>(bytes.size());
        bSaved = pApp->WriteProfileBinary(strSection, kItemsEntry, bytes.data(), nBytes) &&
                 pApp->WriteProfileInt(strSection, kSizeEntry, static_cast<int>(nBytes));
        if (!bSaved)
            KWTRACE_ERROR(("COXMenuBar::SaveMenuState: cannot write the profile section %s\n",
                           strSection.GetString()));
    }
    SendToFrame(WM_OX_SAVEMENUSTATE, reinterpret_cast<WPARAM>(hMenu),
                reinterpret_cast<LPARAM>(strSection.GetString()));
    return bSaved;
}

BOOL COXMenuBar::LoadMenuState(HMENU hMenu, LPCTSTR lpszName) {
    const CString strSection = SectionOf(lpszName);
    CWinApp* pApp = AfxGetApp();
    const int nSize =
        pApp != nullptr ? static_cast<int>(pApp->GetProfileInt(strSection, kSizeEntry, -1)) : -1;
    BYTE* pData = nullptr;
    UINT nBytes = 0;
    if (nSize != -1 && pApp->GetProfileBinary(strSection, kItemsEntry, &pData, &nBytes)) {
        OXMENUSTATELOAD load;
        load.bMDIFrame = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd()) != nullptr;
        if (static_cast<UINT>(nSize) != nBytes) {
            KWTRACE_ERROR(("COXMenuBar::LoadMenuState: %s holds %u bytes, not the %d recorded; "
                           "ignored\n",
                           strSection.GetString(), nBytes, nSize));
        } else if (!OXLoadMenuItems(pData, nBytes, hMenu, &load)) {
            KWTRACE_ERROR(("COXMenuBar::LoadMenuState: the menu in %s is damaged; ignored\n",
                           strSection.GetString()));
        } else {
            m_hWindowMenu = load.hWindowMenu;
            m_arrBuiltPopups.insert(m_arrBuiltPopups.end(), load.arrBuilt.begin(),
                                    load.arrBuilt.end());
        }
        delete[] pData;
    }
    SendToFrame(WM_OX_LOADMENUSTATE, reinterpret_cast<WPARAM>(hMenu),
                reinterpret_cast<LPARAM>(strSection.GetString()));
    return TRUE;
}
