// AnnotateDlg.cpp: the dialog "Annotate the call".
#include "AnnotateDlg.h"

#include "resource.h"

#include "Common/KWRecordFileHdr.h"
#include "Common/KWSysUtils.h"
#include "Common/PlaybackManager.h"
#include "Common/TraceLog.h"

#include "framework/DataExchange.h"
#include "framework/Exception.h"
#include "framework/File.h"

namespace {

const char kCommentsFileName[] = "Comments.txt";

const char* const kBuiltInComments[] = {
    "Product Interest", "Verbal Quote",    "Very Interested", "** Sale **",
    "Callback Again",   "Promised To Pay", "Abusive Call!",   "Complaint",
    "Order Detail",     "Address Detail",  "Private Call",    "Follow Up",
    "Interview",        "Charge Client",   "Dictation",       "Great Sales Technique",
};

// The whole file as bytes; false when it cannot be opened or read.
bool ReadWholeFile(const CString& strPath, CString& strBytes) {
    CFile file;
    if (!file.Open(strPath, CFile::modeRead | CFile::shareDenyNone))
        return false;
    try {
        char buffer[4096];
        UINT nRead;
        while ((nRead = file.Read(buffer, sizeof buffer)) > 0)
            strBytes += CString(buffer, static_cast<int>(nRead));
    } catch (CException* e) {
        e->Delete();
        return false;
    }
    return true;
}

} // namespace

BEGIN_MESSAGE_MAP(CAnnotateDlg, CDialog)
ON_WM_CTLCOLOR()
ON_WM_DESTROY()
ON_CBN_SELCHANGE(IDC_PREDEFINED_COMMENTS, &CAnnotateDlg::OnSelChangePredefined)
END_MESSAGE_MAP()

CAnnotateDlg::CAnnotateDlg() : COXShadowedWnd<CDialog>(IDD_ANNOTATE) {}

void CAnnotateDlg::DoDataExchange(CDataExchange* pDX) {
    COXShadowedWnd<CDialog>::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_COMMENT, m_editComment);
    DDX_Control(pDX, IDC_PREDEFINED_COMMENTS, m_comboPredefined);
    DDX_Text(pDX, IDC_COMMENT, m_strComment);
}

BOOL CAnnotateDlg::OnInitDialog() {
    COXShadowedWnd<CDialog>::OnInitDialog();
    m_editComment.LimitText(kMaxCommentLength);
    LoadPredefinedComments();
    if (m_brushBackground.GetSafeHandle() == nullptr)
        m_brushBackground.CreateSolidBrush(RGB(255, 255, 255));
    return TRUE;
}

// Read as text: a line ends at LF, a CR just before it belongs to the line
// end; empty lines are skipped, a line of blanks is a comment of its own.
void CAnnotateDlg::LoadPredefinedComments() {
    const CString strPath =
        CString(CKWSysUtils::GetInstance()->GetConfigurationFolder(true)) + kCommentsFileName;
    CString strBytes;
    if (::GetFileAttributesA(strPath) != INVALID_FILE_ATTRIBUTES &&
        ReadWholeFile(strPath, strBytes)) {
        int nStart = 0;
        while (nStart < strBytes.GetLength()) {
            int nEnd = strBytes.Find('\n', nStart);
            if (nEnd < 0)
                nEnd = strBytes.GetLength();
            CString strLine = strBytes.Mid(nStart, nEnd - nStart);
            if (!strLine.IsEmpty() && strLine[strLine.GetLength() - 1] == '\r')
                strLine = strLine.Left(strLine.GetLength() - 1);
            if (!strLine.IsEmpty())
                m_comboPredefined.AddString(strLine);
            nStart = nEnd + 1;
        }
    }
    if (m_comboPredefined.GetCount() > 0)
        return;
    for (const char* pszComment : kBuiltInComments)
        m_comboPredefined.AddString(pszComment);
}

void CAnnotateDlg::OnSelChangePredefined() {
    const int nSel = m_comboPredefined.GetCurSel();
    if (nSel < 0)
        return;
    CString strSelected;
    m_comboPredefined.GetLBText(nSel, strSelected);

    CPlaybackManager* pEngine = CPlaybackManager::GetInstance();
    const CKWRecordFile* pRecording = pEngine->GetRecordFile();
    int nStart = 0, nEnd = 0;
    if (!pEngine->IsLoaded() || !pRecording->GetBookmark(&nStart, &nEnd)) {
        m_strComment = strSelected;
    } else {
        // The bookmark texts are put around the chosen text on a header of
        // our own; the loaded recording is only read.
        CKWRecordFileHdr scratch;
        scratch.SetComment(strSelected);
        if (scratch.SetBookmark(nStart, nEnd))
            m_strComment = scratch.GetComment();
        else
            m_strComment = pRecording->GetComment();
    }
    m_editComment.SetWindowText(m_strComment);
}

void CAnnotateDlg::OnOK() {
    m_editComment.GetWindowText(m_strComment);
    COXShadowedWnd<CDialog>::OnOK();
}

HBRUSH CAnnotateDlg::OnCtlColor(CDC*, CWnd*, UINT) {
    return static_cast<HBRUSH>(m_brushBackground.GetSafeHandle());
}

// The brush goes with the window, not before: the dialog still paints while
// it closes.
void CAnnotateDlg::OnDestroy() {
    COXShadowedWnd<CDialog>::OnDestroy();
    m_brushBackground.DeleteObject();
}
