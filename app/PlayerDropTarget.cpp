// PlayerDropTarget.cpp: which drags the player form admits.
#include "PlayerDropTarget.h"

#include "PlayerForm.h"

#include <shellapi.h>
#include <shlwapi.h>

bool CPlayerDropTarget::IsOneRecording(COleDataObject* pDataObject) {
    if (pDataObject == nullptr || !pDataObject->IsDataAvailable(CF_HDROP))
        return false;
    HGLOBAL hData = pDataObject->GetGlobalData(CF_HDROP);
    if (hData == nullptr)
        return false;
    bool bRecording = false;
    if (HDROP hDrop = static_cast<HDROP>(::GlobalLock(hData))) {
        char path[MAX_PATH] = {};
        if (::DragQueryFileA(hDrop, 0xFFFFFFFF, nullptr, 0) == 1 &&
            ::DragQueryFileA(hDrop, 0, path, MAX_PATH) > 0)
            bRecording = ::lstrcmpiA(::PathFindExtensionA(path), ".zel") == 0;
        ::GlobalUnlock(hData);
    }
    ::GlobalFree(hData);
    return bRecording;
}

DROPEFFECT CPlayerDropTarget::OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD, CPoint) {
    const bool bAdmit = dynamic_cast<CPlayerForm*>(pWnd) != nullptr && IsOneRecording(pDataObject);
    if (pWnd != nullptr)
        pWnd->DragAcceptFiles(bAdmit);
    return bAdmit ? DROPEFFECT_LINK : DROPEFFECT_NONE;
}

void CPlayerDropTarget::OnDragLeave(CWnd* pWnd) {
    if (pWnd != nullptr)
        pWnd->DragAcceptFiles(FALSE);
}
