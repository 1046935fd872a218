// MainFrmCommands.cpp: the commands the main frame handles itself and the
// states of its menu items.
#include "MainFrm.h"

#include "AboutDlg.h"
#include "AppPaths.h"
#include "CallHistory.h"
#include "CreateRecordingListDlg.h"
#include "DecryptionDlg.h"
#include "ManageCallScoreForms.h"
#include "PhoneBook.h"
#include "PlayerForm.h"
#include "ZelDorvaneDoc.h"
#include "ZelDorvaneView.h"
#include "resource.h"

#include "Common/Settings.h"

#include "framework/CmdUI.h"
#include "framework/CommonDialogs.h"
#include "framework/OleData.h"
#include "framework/WinApp.h"

#include <shellapi.h>

namespace {

const char kArchivingManual[] = "Quarrit.pdf";

CString LoadText(UINT id) {
    CString text;
    text.LoadString(id);
    return text;
}

} // namespace

void CMainFrame::OnCreateList() {
    if (RefuseWhileSearching())
        return;
    CCreateRecordingListDlg dlg;
    if (dlg.DoModal() != IDOK)
        return;
    SearchCriteria criteria(*dlg.GetCriteria());
    StartSearch(criteria, false, nullptr);
}

void CMainFrame::OnFileNew() {
    CZelDorvaneView* pView = NewListWindow();
    if (pView == nullptr)
        return;
    pView->ShowList(CZelDorvaneDoc::kCustomList, CKWString());
    // A list the user starts by hand is never replaced by a search's results.
    pView->GetDocument()->SetReusable(FALSE);
}

void CMainFrame::OnEditCopy() {
    if (CZelDorvaneView* pView = GetActiveListView())
        pView->OnCopy();
}

void CMainFrame::OnEditPaste() {
    if (CZelDorvaneView* pView = GetActiveListView())
        pView->OnPaste();
}

void CMainFrame::OnEditRemove() {
    if (CZelDorvaneView* pView = GetActiveListView())
        pView->OnRemove();
}

void CMainFrame::OnEditTrim() {
    if (CZelDorvaneView* pView = GetActiveListView())
        pView->OnTrim();
}

void CMainFrame::OnPlay() {
    if (CZelDorvaneView* pView = GetActiveListView())
        pView->OnPlay();
}

void CMainFrame::OnEncryption() {
    CSettings* pSettings = CSettings::GetInstance();
    CDecryptionDlg dlg;
    dlg.SetPassphrase(pSettings->GetPassphrase());
    dlg.SetSavePassphrase(pSettings->GetSavePassphrase());
    if (dlg.DoModal() != IDOK)
        return;
    pSettings->SetPassphrase(dlg.GetPassphrase());
    pSettings->SetSavePassphrase(dlg.GetSavePassphrase());
}

BOOL CMainFrame::PromptForOpenFile(LPCTSTR lpszDefExt, LPCTSTR lpszFilter, CString& strPath) {
    CFileDialog dlg(TRUE, lpszDefExt, nullptr,
                    OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST, lpszFilter, this);
    if (dlg.DoModal() != IDOK)
        return FALSE;
    strPath = dlg.GetPathName();
    return TRUE;
}

void CMainFrame::OnAppend() {
    CString strPath;
    if (!PromptForOpenFile("reclist", "ZEL Recording List (*.reclist)|*.reclist||", strPath))
        return;
    CZelDorvaneView* pView = GetActiveListView();
    if (pView == nullptr)
        return;
    CZelDorvaneDoc* pDoc = pView->GetDocument();
    // A list that does not parse has told the user through its parser.
    if (!pDoc->ParseListFile(strPath))
        return;
    pDoc->ReadListElement(pDoc->GetParser()->GetRoot());
    // The list is no longer what its search found: a refresh that repeated
    // the search would drop what was just appended, so it rereads instead.
    pDoc->SetSearchCriteria(SearchCriteria());
    pView->OnRefresh();
}

void CMainFrame::OnShowPlayHistory() {
    CZelDorvaneView* pHistory = nullptr;
    ForEachListView([&](CZelDorvaneView* pView) {
        if (pHistory == nullptr &&
            pView->GetDocument()->GetListKind() == CZelDorvaneDoc::kPlayHistory)
            pHistory = pView;
    });
    if (pHistory != nullptr) {
        MDIActivate(pHistory->GetParentFrame());
        return;
    }
    CZelDorvaneView* pView = NewListWindow();
    if (pView == nullptr)
        return;
    CZelDorvaneDoc* pDoc = pView->GetDocument();
    CCallHistory::GetInstance()->FillDocument(pDoc);
    pView->ShowList(CZelDorvaneDoc::kPlayHistory, CKWString());
    pDoc->SetModifiedFlag(FALSE);
}

void CMainFrame::OnPlayHistoryAtStart() {
    m_showHistoryAtStart = m_showHistoryAtStart ? 0 : 1;
    CSettings::GetInstance()->SetShowHistory(m_showHistoryAtStart);
}

void CMainFrame::OnViewAccessPanel() {
    ShowControlBar(&m_wndAccessPanel, !m_wndAccessPanel.IsVisible(), FALSE);
    RecalcLayout();
}

void CMainFrame::OnViewPlayerPanel() {
    ShowControlBar(&m_wndPlayerPanel, !m_wndPlayerPanel.IsVisible(), FALSE);
    RecalcLayout();
    // Nobody hears a call whose player cannot be seen.
    if (!m_wndPlayerPanel.IsVisible() && m_pPlayerForm != nullptr)
        m_pPlayerForm->Stop();
}

void CMainFrame::OpenManual(const CString& fileName, const CString& question) {
    CString path = CString(static_cast<const char*>(GetModuleDirectory())) + "\\" + fileName;
    HINSTANCE hResult = ::ShellExecuteA(m_hWnd, "open", path, nullptr, nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(hResult) > 32)
        return;
    // The program ships no help file of the framework's kind, so the answer
    // has nothing further to open.
    AfxMessageBox(question, MB_YESNO | MB_ICONWARNING);
}

void CMainFrame::OnHelpGuide() {
    CString name = LoadText(IDS_HELP_GUIDE_FILE);
    CString question;
    question.Format("Failed to open User Manual (%s). Try to open Help file?", name.GetString());
    OpenManual(name, question);
}

void CMainFrame::OnHelpArchiving() {
    OpenManual(kArchivingManual,
               "Failed to open User Manual (Quarrit.pdf). Try to open Help file?");
}

void CMainFrame::OnHelpReports() {
    CString name = LoadText(IDS_HELP_REPORTS_FILE);
    CString question;
    question.Format("Failed to open User Manual (%s). Try to open Help file?", name.GetString());
    OpenManual(name, question);
}

void CMainFrame::OnAppAbout() {
    CAboutDlg dlg;
    dlg.DoModal();
}

void CMainFrame::OnImportPhoneBook() {
    CString strPath;
    if (!PromptForOpenFile("csv", "ZEL PhoneBook (*.csv)|*.csv||", strPath))
        return;
    if (CPhoneBook::GetInstance()->ImportCsv(strPath) > 0) {
        // The lists show the names the phone book gives their callers.
        ForEachListView([](CZelDorvaneView* pView) { pView->OnRefresh(); });
        return;
    }
    CString name = strPath.Mid(strPath.ReverseFind('\\') + 1);
    CString text;
    text.Format("Unable to load the CSV file '%s' please check that the file is in a CSV format.",
                name.GetString());
    AfxMessageBox(text, MB_OK | MB_ICONWARNING);
}

void CMainFrame::OnRunScheduledNow() {
    if (m_archiveTimer != 0) {
        KillTimer(m_archiveTimer);
        m_archiveTimer = 0;
    }
    if (s_archiveHooks.runScheduled != nullptr)
        s_archiveHooks.runScheduled(this);
}

void CMainFrame::OnFormsManager() {
    CManageCallScoreForms dlg(this);
    dlg.DoModal();
}

void CMainFrame::OnUpdateNeedsSelection(CCmdUI* pCmdUI) {
    CZelDorvaneView* pView = GetActiveListView();
    pCmdUI->Enable(pView != nullptr && pView->GetSelectedCount() > 0);
}

void CMainFrame::OnUpdatePaste(CCmdUI* pCmdUI) {
    COleDataObject data;
    pCmdUI->Enable(data.AttachClipboard() && data.IsDataAvailable(CF_HDROP));
}

void CMainFrame::OnUpdatePlayHistoryAtStart(CCmdUI* pCmdUI) {
    pCmdUI->SetCheck(m_showHistoryAtStart ? 1 : 0);
}

void CMainFrame::OnUpdateRunScheduledNow(CCmdUI* pCmdUI) {
    pCmdUI->Enable(s_archiveHooks.runScheduled != nullptr);
}

void CMainFrame::OnUpdateLaterIssue(CCmdUI* pCmdUI) {
    pCmdUI->Enable(FALSE);
}
