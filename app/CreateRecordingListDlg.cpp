// CreateRecordingListDlg.cpp: the dialog "Create Recording List".
#include "CreateRecordingListDlg.h"

#include "DirDialog.h"
#include "resource.h"

#include "framework/DataExchange.h"

#include <limits>

namespace {

const int kRangeControls[] = {IDC_DATE_AFTER_LABEL, IDC_DATE_AFTER, IDC_DATE_AND_LABEL,
                              IDC_DATE_BEFORE_LABEL, IDC_DATE_BEFORE};

// Seconds between 1601-01-01 (FILETIME) and 1970-01-01.
const LONGLONG kUnixEpochInFileTimeSeconds = 11644473600LL;

// A path as Windows compares it: '/' is a separator too, case does not count,
// and a trailing separator adds nothing (except to a drive's root, "C:\").
CString ComparablePath(LPCTSTR lpszPath) {
    CString strPath(lpszPath);
    strPath.Replace('/', '\\');
    while (strPath.GetLength() > 1 && strPath[strPath.GetLength() - 1] == '\\' &&
           !(strPath.GetLength() == 3 && strPath[1] == ':'))
        strPath = strPath.Left(strPath.GetLength() - 1);
    const int nLength = strPath.GetLength();
    if (nLength > 0) {
        ::CharUpperBuffA(strPath.GetBuffer(nLength), static_cast<DWORD>(nLength));
        strPath.ReleaseBuffer(nLength);
    }
    return strPath;
}

bool SamePath(LPCTSTR lpszA, LPCTSTR lpszB) {
    return ComparablePath(lpszA) == ComparablePath(lpszB);
}

// Whether lpszInner is lpszOuter or lies below it, by whole path components:
// "C:\Rec" holds "C:\Rec\A" but not "C:\Records".
bool PathHolds(LPCTSTR lpszOuter, LPCTSTR lpszInner) {
    const CString strOuter = ComparablePath(lpszOuter);
    const CString strInner = ComparablePath(lpszInner);
    const int nOuter = strOuter.GetLength();
    if (nOuter == 0 || strInner.GetLength() < nOuter || strInner.Left(nOuter) != strOuter)
        return false;
    return strInner.GetLength() == nOuter || strOuter[nOuter - 1] == '\\' ||
           strInner[nOuter] == '\\';
}

// Clears the re-entry flag of Add... however the handler ends.
class CFlagGuard {
public:
    explicit CFlagGuard(BOOL& bFlag) : m_bFlag(bFlag) { m_bFlag = TRUE; }
    ~CFlagGuard() { m_bFlag = FALSE; }
    CFlagGuard(const CFlagGuard&) = delete;
    CFlagGuard& operator=(const CFlagGuard&) = delete;

private:
    BOOL& m_bFlag;
};

} // namespace

BEGIN_MESSAGE_MAP(CCreateRecordingListDlg, CDialog)
ON_WM_CTLCOLOR()
ON_WM_DESTROY()
ON_BN_CLICKED(IDC_ADD_SOURCE, &CCreateRecordingListDlg::OnAddSource)
ON_BN_CLICKED(IDC_REMOVE, &CCreateRecordingListDlg::OnRemoveSource)
ON_BN_CLICKED(IDC_SUBFOLDERS, &CCreateRecordingListDlg::OnSubFolders)
ON_CONTROL_RANGE(BN_CLICKED, IDC_DATE_ALL, IDC_DATE_RANGE, &CCreateRecordingListDlg::OnDateKind)
ON_BN_CLICKED(IDC_LENGTH_ALL, &CCreateRecordingListDlg::OnAllCalls)
ON_BN_CLICKED(IDC_LENGTH_LARGER, &CCreateRecordingListDlg::OnLargerThan)
ON_NOTIFY(UDN_DELTAPOS, IDC_MINUTES_SPIN, &CCreateRecordingListDlg::OnMinutesSpin)
ON_BN_CLICKED(IDOK, &CCreateRecordingListDlg::OnCompile)
END_MESSAGE_MAP()

CCreateRecordingListDlg::CCreateRecordingListDlg()
    : COXShadowedWnd<CDialog>(IDD_CREATE_LIST), m_bAdding(FALSE), m_strFileNameMask("*"),
      m_bSubFolders(1), m_strCallerIdMask("*"), m_nDateKind(SearchCriteria::kDate30Days),
      m_bLimitLength(0), m_nMinutes(0), m_initialFolders(0, 10) {}

CCreateRecordingListDlg::~CCreateRecordingListDlg() = default;

void CCreateRecordingListDlg::SetInitialFolders(const CKWArray<CKWString>& folders) {
    CKWArray<CKWString> sorted(folders);
    sorted.Sort(true, true);
    // The sort drops exact copies; the same folder written another way
    // ("c:\rec", "C:\Rec\") goes too, the first in sort order staying.
    m_initialFolders.RemoveAll();
    for (int i = 0; i < sorted.GetSize(); ++i) {
        bool bListed = false;
        for (int j = 0; j < m_initialFolders.GetSize() && !bListed; ++j)
            bListed = SamePath(m_initialFolders.GetAt(j), sorted.GetAt(i));
        if (!bListed)
            m_initialFolders.Add(sorted.GetAt(i));
    }
}

void CCreateRecordingListDlg::DoDataExchange(CDataExchange* pDX) {
    COXShadowedWnd<CDialog>::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SOURCES, m_listSources);
    DDX_Control(pDX, IDC_DATE_BEFORE, m_dateBefore);
    DDX_Control(pDX, IDC_DATE_AFTER, m_dateAfter);
    DDX_Text(pDX, IDC_FILENAME_MASK, m_strFileNameMask);
    DDX_Check(pDX, IDC_SUBFOLDERS, m_bSubFolders);
    DDX_Text(pDX, IDC_CALLERID_MASK, m_strCallerIdMask);
    DDX_Radio(pDX, IDC_DATE_ALL, m_nDateKind);
    DDX_Radio(pDX, IDC_LENGTH_ALL, m_bLimitLength);
    DDX_Text(pDX, IDC_MINUTES, m_nMinutes);
}

BOOL CCreateRecordingListDlg::OnInitDialog() {
    COXShadowedWnd<CDialog>::OnInitDialog();
    if (m_brushBackground.GetSafeHandle() == nullptr)
        m_brushBackground.CreateSolidBrush(RGB(255, 255, 255));
    CheckDlgButton(IDC_SUBFOLDERS, BST_CHECKED);
    CheckRadioButton(IDC_DATE_ALL, IDC_DATE_RANGE, IDC_DATE_30DAYS);
    CheckRadioButton(IDC_LENGTH_ALL, IDC_LENGTH_LARGER, IDC_LENGTH_ALL);
    if (m_initialFolders.GetSize() > 0) {
        for (int i = 0; i < m_initialFolders.GetSize(); ++i)
            m_listSources.AddString(m_initialFolders.GetAt(i));
        EnableSourceButtons(TRUE);
        m_listSources.SetCurSel(m_listSources.GetCount() - 1);
    }
    return TRUE;
}

BOOL CCreateRecordingListDlg::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE))
        return TRUE;
    return COXShadowedWnd<CDialog>::PreTranslateMessage(pMsg);
}

BOOL CCreateRecordingListDlg::ChooseFolder(CString& strFolder) {
    CDirDialog dlg;
    dlg.m_strTitle.LoadString(IDS_SELECT_SOURCE_TITLE);
    if (!dlg.DoBrowse())
        return FALSE;
    strFolder = dlg.m_strSelDir;
    return TRUE;
}

CString CCreateRecordingListDlg::SourceAt(int nIndex) const {
    CString strText;
    m_listSources.GetText(nIndex, strText);
    return strText;
}

void CCreateRecordingListDlg::EnableSourceButtons(BOOL bEnable) {
    GetDlgItem(IDOK)->EnableWindow(bEnable);
    GetDlgItem(IDC_REMOVE)->EnableWindow(bEnable);
}

void CCreateRecordingListDlg::AppendSource(const CString& strFolder) {
    m_listSources.AddString(strFolder);
    EnableSourceButtons(TRUE);
    m_listSources.SetCurSel(m_listSources.GetCount() - 1);
}

void CCreateRecordingListDlg::DeleteMarked(const CKWArray<int>& marks) {
    for (int i = marks.GetSize() - 1; i >= 0; --i)
        if (marks.GetAt(i))
            m_listSources.DeleteString(static_cast<UINT>(i));
}

void CCreateRecordingListDlg::OnAddSource() {
    // The folder picker has no owner, so this button stays live under it.
    if (m_bAdding)
        return;
    CFlagGuard guard(m_bAdding);

    CString strFolder;
    if (!ChooseFolder(strFolder) || strFolder.IsEmpty())
        return;

    const int nCount = m_listSources.GetCount();
    if (IsDlgButtonChecked(IDC_SUBFOLDERS) != BST_CHECKED) {
        // Each folder is searched on its own level only, so a folder beside
        // its parent is a source of its own; the same folder twice is not.
        for (int i = 0; i < nCount; ++i)
            if (SamePath(SourceAt(i), strFolder))
                return;
        AppendSource(strFolder);
        return;
    }

    // With sub-folders a listed folder covers everything below it: a folder
    // inside a listed one adds nothing, and the new folder replaces the listed
    // folders that lie inside it.
    CKWArray<int> marks(0, 10);
    bool bAnyMarked = false;
    for (int i = 0; i < nCount; ++i) {
        const CString strEntry = SourceAt(i);
        if (PathHolds(strEntry, strFolder))
            return;
        const bool bInside = PathHolds(strFolder, strEntry);
        marks.Add(bInside ? 1 : 0);
        bAnyMarked = bAnyMarked || bInside;
    }
    if (!bAnyMarked) {
        AppendSource(strFolder);
        return;
    }
    DeleteMarked(marks);
    AppendSource(strFolder);
    m_listSources.SetCurSel(0);
}

void CCreateRecordingListDlg::OnRemoveSource() {
    const int nSel = m_listSources.GetCurSel();
    if (nSel < 0)
        return;
    m_listSources.DeleteString(static_cast<UINT>(nSel));
    if (m_listSources.GetCount() == 0)
        EnableSourceButtons(FALSE);
    else
        m_listSources.SetCurSel(nSel - 1);
}

void CCreateRecordingListDlg::OnSubFolders() {
    if (!UpdateData(TRUE) || !m_bSubFolders)
        return;
    // Every entry inside another one goes; of two equal entries the first stays.
    const int nCount = m_listSources.GetCount();
    CKWArray<int> marks(0, 10);
    for (int i = 0; i < nCount; ++i) {
        const CString strEntry = SourceAt(i);
        int bInside = 0;
        for (int j = 0; j < nCount && !bInside; ++j) {
            if (j == i)
                continue;
            const CString strOther = SourceAt(j);
            if (PathHolds(strOther, strEntry) && (j < i || !SamePath(strOther, strEntry)))
                bInside = 1;
        }
        marks.Add(bInside);
    }
    DeleteMarked(marks);
    if (m_listSources.GetCount() > 0)
        m_listSources.SetCurSel(0);
}

void CCreateRecordingListDlg::ShowRangeControls(BOOL bShow) {
    for (int nID : kRangeControls)
        GetDlgItem(nID)->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

void CCreateRecordingListDlg::OnDateKind(UINT nID) {
    m_nDateKind = static_cast<int>(nID - IDC_DATE_ALL);
    ShowRangeControls(m_nDateKind == SearchCriteria::kDateRange);
}

void CCreateRecordingListDlg::EnableMinutes(BOOL bEnable) {
    GetDlgItem(IDC_MINUTES)->EnableWindow(bEnable);
    GetDlgItem(IDC_MINUTES_SPIN)->EnableWindow(bEnable);
}

void CCreateRecordingListDlg::OnAllCalls() {
    m_bLimitLength = 0;
    m_nMinutes = 0;
    SetDlgItemInt(IDC_MINUTES, m_nMinutes, FALSE);
    EnableMinutes(FALSE);
}

void CCreateRecordingListDlg::OnLargerThan() {
    m_bLimitLength = 1;
    m_nMinutes = 0;
    SetDlgItemInt(IDC_MINUTES, m_nMinutes, FALSE);
    EnableMinutes(TRUE);
}

// The up-down control keeps its default range, which runs from 100 down to
// 0: its up arrow reports a negative change. The minutes are counted here,
// not by the control, so they stop at the bounds whatever its position.
void CCreateRecordingListDlg::OnMinutesSpin(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    if (!UpdateData(TRUE))
        return;
    const NMUPDOWN* pUpDown = reinterpret_cast<const NMUPDOWN*>(pNMHDR);
    if (pUpDown->iDelta < 0) {
        if (m_nMinutes < kMaxMinutes)
            ++m_nMinutes;
    } else if (m_nMinutes > 0) {
        --m_nMinutes;
    }
    SetDlgItemInt(IDC_MINUTES, m_nMinutes, FALSE);
}

LONG CCreateRecordingListDlg::PickerTime(const CDateTimeCtrl& picker, WORD wHour, WORD wMinute,
                                         WORD wSecond) const {
    SYSTEMTIME local;
    if (!::IsWindow(picker.m_hWnd) || picker.GetTime(&local) != GDT_VALID)
        ::GetLocalTime(&local);
    local.wHour = wHour;
    local.wMinute = wMinute;
    local.wSecond = wSecond;
    local.wMilliseconds = 0;
    SYSTEMTIME utc;
    FILETIME fileTime;
    if (!::TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) ||
        !::SystemTimeToFileTime(&utc, &fileTime)) {
        ::GetSystemTime(&utc);
        ::SystemTimeToFileTime(&utc, &fileTime);
    }
    ULARGE_INTEGER ticks;
    ticks.LowPart = fileTime.dwLowDateTime;
    ticks.HighPart = fileTime.dwHighDateTime;
    const LONGLONG nSeconds =
        static_cast<LONGLONG>(ticks.QuadPart / 10000000ULL) - kUnixEpochInFileTimeSeconds;
    // The picker reaches far beyond what 32 bits of seconds hold: a date out
    // there stands for the farthest instant that fits, not a wrapped one.
    if (nSeconds > std::numeric_limits<LONG>::max())
        return std::numeric_limits<LONG>::max();
    if (nSeconds < std::numeric_limits<LONG>::min())
        return std::numeric_limits<LONG>::min();
    return static_cast<LONG>(nSeconds);
}

void CCreateRecordingListDlg::OnCompile() {
    // Enter never gets here; a list without sources cannot be compiled.
    if (m_listSources.GetCount() == 0 || !UpdateData(TRUE))
        return;
    m_criteria.RemoveAll();
    for (int i = 0; i < m_listSources.GetCount(); ++i)
        m_criteria.Add(CKWString(SourceAt(i)));
    m_criteria.IncludeSubFolders = m_bSubFolders ? 1 : 0;
    m_criteria.FileNameMask = m_strFileNameMask;
    m_criteria.CallerIdMask = m_strCallerIdMask;
    m_criteria.DateKind = m_nDateKind;
    m_criteria.LimitLength = m_bLimitLength;
    m_criteria.MinMinutes = static_cast<LONG>(m_nMinutes);
    m_criteria.RangeStart = PickerTime(m_dateAfter, 0, 0, 0);
    m_criteria.RangeEnd = PickerTime(m_dateBefore, 23, 59, 59);
    COXShadowedWnd<CDialog>::OnOK();
}

HBRUSH CCreateRecordingListDlg::OnCtlColor(CDC*, CWnd*, UINT) {
    return static_cast<HBRUSH>(m_brushBackground.GetSafeHandle());
}

// The brush goes with the window, not before: the dialog still paints while
// it closes.
void CCreateRecordingListDlg::OnDestroy() {
    COXShadowedWnd<CDialog>::OnDestroy();
    m_brushBackground.DeleteObject();
}
