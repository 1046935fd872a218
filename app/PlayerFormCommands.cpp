// PlayerFormCommands.cpp: the player form's bookmark marks, its File menu and
// the commands on the loaded recording, Calls for Review and History.
#include "PlayerForm.h"

#include "AppMessages.h"
#include "BookmarkRecordFile.h"
#include "HistoryDlg.h"
#include "HotListDlg.h"
#include "HotLists.h"
#include "MapiMail.h"
#include "PlaybackManager.h"
#include "PlayerRes.h"
#include "Settings.h"
#include "resource.h"

#include "framework/Menu.h"
#include "framework/WinApp.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <utility>
#include <vector>

namespace {

const int32_t kSecond = CPlaybackManager::kSamplesPerSecond;

bool IsShown(const CWnd& wnd) {
    // The style, not IsWindowVisible: the state must hold while the panel
    // itself is hidden.
    return (wnd.GetStyle() & WS_VISIBLE) != 0;
}

// The items of the File menu that export the whole recording, and those that
// export its bookmark area.
const UINT kExportCommands[] = {ID_PLAYER_SEND_ZEL, ID_PLAYER_SEND_WAV, ID_PLAYER_CONVERT_ZEL,
                                ID_PLAYER_CONVERT_WAV};
const UINT kBookmarkExportCommands[] = {ID_EMAIL_ZEL_BOOKMARK, ID_EMAIL_WAV_BOOKMARK,
                                        ID_EXPORT_ZEL_BOOKMARK, ID_EXPORT_WAV_BOOKMARK};

} // namespace

// ---------------------------------------------------------------------------
// Bookmark marks.

void CPlayerForm::MarkBookmarkStart() {
    // A start pressed while an end is held starts nothing: the area needs its
    // start first.
    m_nBookmarkStart = m_nBookmarkEnd != -1 ? -1 : CPlaybackManager::GetInstance()->GetPosition();
    m_scope.SetSelection(m_nBookmarkStart, m_nBookmarkEnd);
    m_btnBookmarkStart.ShowWindow(SW_HIDE);
    m_btnBookmarkClear.ShowWindow(SW_HIDE);
    m_btnBookmarkEnd.ShowWindow(SW_SHOW);
}

void CPlayerForm::MarkBookmarkEnd() {
    CPlaybackManager* pEngine = CPlaybackManager::GetInstance();
    m_nBookmarkEnd = pEngine->GetPosition();
    if (m_nBookmarkEnd < m_nBookmarkStart)
        std::swap(m_nBookmarkStart, m_nBookmarkEnd);
    if (m_nBookmarkEnd == m_nBookmarkStart) {
        m_nBookmarkStart = -1;
        m_nBookmarkEnd = -1;
    }
    m_scope.SetSelection(m_nBookmarkStart, m_nBookmarkEnd);
    m_btnBookmarkStart.ShowWindow(SW_HIDE);
    m_btnBookmarkClear.ShowWindow(SW_SHOW);
    m_btnBookmarkEnd.ShowWindow(SW_HIDE);
    // An area ending within the first second, or inside one second, is no
    // area the header can hold.
    if (m_nBookmarkStart < 0 || m_nBookmarkEnd <= kSecond)
        return;
    const int start = m_nBookmarkStart / kSecond;
    const int end = m_nBookmarkEnd / kSecond;
    CKWRecordFile* pRecord = pEngine->GetRecordFile();
    if (!pRecord->SetBookmark(start, end))
        return;
    // The lists learn of the area only once the file holds it.
    if (!FlushHeaderOrReport())
        return;
    ShowStatusIcon(m_iconBookmark, TRUE, IDI_STATUS_BOOKMARK);
    const WPARAM seconds = (static_cast<WPARAM>(end & 0xFFFF) << 16) | (start & 0xFFFF);
    PostToMainWindow(WM_BOOKMARK_CHANGED, seconds, GetEnginePath());
}

void CPlayerForm::ClearBookmark() {
    m_nBookmarkStart = -1;
    m_nBookmarkEnd = -1;
    m_scope.SetSelection(-1, -1);
    m_btnBookmarkStart.ShowWindow(SW_SHOW);
    m_btnBookmarkClear.ShowWindow(SW_HIDE);
    m_btnBookmarkEnd.ShowWindow(SW_HIDE);
    CPlaybackManager::GetInstance()->GetRecordFile()->SetBookmark(-1, -1);
    ShowStatusIcon(m_iconBookmark, FALSE, 0);
    if (!FlushHeaderOrReport())
        return;
    PostToMainWindow(WM_BOOKMARK_CHANGED, static_cast<WPARAM>(-1), GetEnginePath());
}

bool CPlayerForm::FlushHeaderOrReport() {
    CKWRecordFile* pRecord = CPlaybackManager::GetInstance()->GetRecordFile();
    if (pRecord->FlushHeader())
        return true;
    CString text;
    text.Format(IDS_PLAYER_HEADER_FAILED, pRecord->GetPath().GetString());
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    return false;
}

void CPlayerForm::OnBookmarkStart() {
    MarkBookmarkStart();
}

void CPlayerForm::OnBookmarkEnd() {
    MarkBookmarkEnd();
}

void CPlayerForm::OnBookmarkClear() {
    ClearBookmark();
}

void CPlayerForm::OnBookmarkStep() {
    // The key stands for the bookmark buttons; with nothing loaded the mark
    // would go into the last recording the engine held.
    if (!IsRecordingLoaded())
        return;
    if (!IsShown(m_btnBookmarkStart) && !IsShown(m_btnBookmarkEnd))
        ClearBookmark();
    if (IsShown(m_btnBookmarkStart))
        MarkBookmarkStart();
    else if (IsShown(m_btnBookmarkEnd))
        MarkBookmarkEnd();
}

// ---------------------------------------------------------------------------
// The File menu.

void CPlayerForm::PrepareFileMenu(CMenu* pPopup) {
    CSettings* pSettings = CSettings::GetInstance();
    if (pSettings->IsDeleteDisabled())
        pPopup->EnableMenuItem(ID_PLAYER_DELETE, MF_BYCOMMAND | MF_GRAYED);
    const BOOL bBlocked = pSettings->IsExportBlocked();
    if (bBlocked)
        for (UINT nID : kExportCommands)
            pPopup->EnableMenuItem(nID, MF_BYCOMMAND | MF_GRAYED);
    int start = 0;
    int end = 0;
    const bool bHasArea =
        CPlaybackManager::GetInstance()->GetRecordFile()->GetBookmark(&start, &end);
    if (bBlocked || !bHasArea)
        for (UINT nID : kBookmarkExportCommands)
            pPopup->EnableMenuItem(nID, MF_BYCOMMAND | MF_GRAYED);
}

void CPlayerForm::OnFileMenu() {
    CMenu menu;
    if (!menu.LoadMenu(IDR_PLAYER_MENU))
        return;
    CMenu* pPopup = menu.GetSubMenu(0);
    if (pPopup == nullptr)
        return;
    PrepareFileMenu(pPopup);
    CRect rcButton;
    m_btnFile.GetWindowRect(&rcButton);
    pPopup->TrackPopupMenu(TPM_LEFTALIGN, rcButton.left, rcButton.bottom, this);
}

void CPlayerForm::MarkImportant(BOOL bImportant) {
    CKWRecordFile* pRecord = CPlaybackManager::GetInstance()->GetRecordFile();
    pRecord->SetImportant(bImportant ? 1 : 0);
    // The lists change their rows on the message: it goes only once the
    // file says what they will show.
    if (!FlushHeaderOrReport())
        return;
    ShowStatusIcon(m_iconImportant, bImportant, IDI_STATUS_IMPORTANT);
    PostToMainWindow(WM_RECORDING_CHANGED, bImportant ? 0 : 1, GetEnginePath());
}

void CPlayerForm::OnMarkImportant() {
    MarkImportant(TRUE);
}

void CPlayerForm::OnUnmarkImportant() {
    MarkImportant(FALSE);
}

void CPlayerForm::OnSendZel() {
    CWaitCursor wait;
    CMapiMail mail;
    mail.AddAttachment(GetEnginePath());
    CString subject;
    subject.LoadString(IDS_MAIL_SUBJECT);
    CString body;
    body.LoadString(IDS_MAIL_BODY);
    CString address;
    address.LoadString(IDS_PLAYER_URL);
    mail.SetSubject(subject);
    mail.SetBody(body + " " + address);
    mail.Send(MAPI_DIALOG);
}

void CPlayerForm::OnSendWav() {
    CWaitCursor wait;
    CPlaybackManager::GetInstance()->GetRecordFile()->EmailAsWav();
}

void CPlayerForm::OnConvertZel() {
    CPlaybackManager::GetInstance()->GetRecordFile()->SaveAsZelDlg();
}

void CPlayerForm::OnConvertWav() {
    CPlaybackManager::GetInstance()->GetRecordFile()->SaveAsWavDlg();
}

void CPlayerForm::OnSendBookmarkZel() {
    CBookmarkRecordFile area(CPlaybackManager::GetInstance()->GetRecordFile());
    area.CropToBookmark();
    const CString path = area.MakeTempPath(".zel");
    if (area.SaveAsZel(path))
        area.Email(path, true);
}

void CPlayerForm::OnSendBookmarkWav() {
    CBookmarkRecordFile area(CPlaybackManager::GetInstance()->GetRecordFile());
    area.CropToBookmark();
    area.EmailAsWav();
}

void CPlayerForm::OnConvertBookmarkZel() {
    CBookmarkRecordFile area(CPlaybackManager::GetInstance()->GetRecordFile());
    area.CropToBookmark();
    area.SaveAsZelDlg();
}

void CPlayerForm::OnConvertBookmarkWav() {
    CBookmarkRecordFile area(CPlaybackManager::GetInstance()->GetRecordFile());
    area.CropToBookmark();
    area.SaveAsWavDlg();
}

void CPlayerForm::OnDeleteRecording() {
    CString question;
    question.Format(IDS_ASK_DELETE, 1);
    if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    // The recording object keeps its path after the unload below.
    const CKWString path = GetEnginePath();
    std::vector<char> from(path.GetLength() + 2, '\0'); // double NUL at the end
    memcpy(from.data(), static_cast<const char*>(path), path.GetLength());
    Stop();
    Eject();
    SHFILEOPSTRUCTA operation = {};
    operation.hwnd = GetSafeHwnd();
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.data();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    if (::SHFileOperationA(&operation) != 0 || operation.fAnyOperationsAborted) {
        AfxMessageBox(IDS_DELETE_FAILED, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    PostToMainWindow(WM_RECORDING_CHANGED, 2, path);
}

// ---------------------------------------------------------------------------
// Calls for Review and History.

void CPlayerForm::OnCallsForReview() {
    CHotListDlg dlg;
    if (dlg.DoModal() != IDOK)
        return;
    // OK without a chosen list names no group: a link with parent -1 would
    // stand beside the tree's root, outside every list.
    if (dlg.GetSelectedID() < 0) {
        AfxMessageBox(IDS_PLAYER_NO_HOTLIST, MB_OK | MB_ICONINFORMATION);
        return;
    }
    CHotLists* pStore = CHotLists::GetInstance();
    const CKWString path = GetEnginePath();
    CHotLists::HOTLISTENTRY entry;
    entry.ID = pStore->GetNextID();
    entry.ParentID = dlg.GetSelectedID();
    CString name = ::PathFindFileNameA(path);
    const int dot = name.ReverseFind('.');
    entry.Name = (dot < 0 ? name : name.Left(dot)) + ".zel";
    entry.Target = static_cast<const char*>(path);
    entry.IsGroup = 0;
    pStore->AddEntry(entry);
    PostToMainWindow(WM_RELOAD_HOTLISTS, 0, nullptr);
}

void CPlayerForm::OnHistory() {
    CHistoryDlg dlg(this, this);
    dlg.SetHistoryList(m_played);
    if (dlg.DoModal() == IDOK)
        dlg.GetHistoryList(m_played);
}
