// CmdTarget.cpp: CCmdTarget's message-map lookup and command dispatch, and the
// wait cursor.
#include "CmdTarget.h"

#include "WinApp.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY s_entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
    static const AFX_MSGMAP s_map = {nullptr, &s_entries[0]};
    return &s_map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

namespace {

// Entries of these kinds answer OnCmdMsg only, never a window message.
bool IsCommandKind(UINT nMessage) {
    return nMessage == WM_COMMAND || nMessage == WM_NOTIFY ||
           nMessage == WM_REFLECT_BASE + WM_COMMAND || nMessage == WM_REFLECT_BASE + WM_NOTIFY;
}

} // namespace

const AFX_MSGMAP_ENTRY* CCmdTarget::FindWindowMessageEntry(UINT message) const {
    UINT nKey =
        (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) ? WM_CTLCOLOR : message;
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->nMessage != 0; ++pEntry) {
            if (pEntry->nMessage == AFX_REGISTERED_MESSAGE_ENTRY) {
                if (*pEntry->pnRegisteredMessage == message && message != 0)
                    return pEntry;
            } else if ((pEntry->nMessage == message || pEntry->nMessage == nKey) &&
                       !IsCommandKind(pEntry->nMessage)) {
                return pEntry;
            }
        }
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    // The high word names the message kind (WM_NOTIFY, reflected forms); none is
    // WM_COMMAND. Codes compare as 16-bit values, CN_UPDATE_COMMAND_UI (all bits
    // set, so no message kind) being 0xFFFF.
    UINT nMessage = WM_COMMAND;
    WORD wCode = 0xFFFF;
    if (nCode != static_cast<int>(CN_UPDATE_COMMAND_UI)) {
        nMessage = HIWORD(static_cast<UINT>(nCode));
        if (nMessage == 0)
            nMessage = WM_COMMAND;
        wCode = LOWORD(static_cast<UINT>(nCode));
    }

    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->nMessage != 0; ++pEntry) {
            if (pEntry->nMessage != nMessage || static_cast<WORD>(pEntry->nCode) != wCode ||
                nID < pEntry->nID || nID > pEntry->nLastID)
                continue;
            if (pHandlerInfo != nullptr) {
                pHandlerInfo->pTarget = this;
                pHandlerInfo->pEntry = pEntry;
                return TRUE;
            }
            AFX_MSGCALL call = {0, 0, 0, nID, nCode, pExtra, 0};
            return pEntry->pfnHandler(this, call);
        }
    }
    return FALSE;
}

void CCmdTarget::BeginWaitCursor() {
    if (CWinApp* pApp = AfxGetApp())
        pApp->DoWaitCursor(1);
}

void CCmdTarget::EndWaitCursor() {
    if (CWinApp* pApp = AfxGetApp())
        pApp->DoWaitCursor(-1);
}

void CCmdTarget::RestoreWaitCursor() {
    if (CWinApp* pApp = AfxGetApp())
        pApp->DoWaitCursor(0);
}

CWaitCursor::CWaitCursor() {
    if (CWinApp* pApp = AfxGetApp())
        pApp->BeginWaitCursor();
}

CWaitCursor::~CWaitCursor() {
    if (CWinApp* pApp = AfxGetApp())
        pApp->EndWaitCursor();
}

void CWaitCursor::Restore() {
    if (CWinApp* pApp = AfxGetApp())
        pApp->RestoreWaitCursor();
}
