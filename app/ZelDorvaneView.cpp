// ZelDorvaneView.cpp: the call-list view's form, columns and cells, how a list
// is shown, the buttons and counters, the selection and activation, and the
// message map of the whole view (the commands and the watcher live in
// ZelDorvaneViewCommands.cpp and ZelDorvaneViewWatch.cpp).
#include "ZelDorvaneView.h"

#include "AppPaths.h"
#include "ArchiveLookup.h"
#include "CallHistory.h"
#include "CallListRes.h"
#include "MainFrm.h"
#include "PlayerForm.h"
#include "ScoredFileListEntry.h"
#include "Scoring/ScoreFormManager.h"
#include "ZelDorvaneDoc.h"
#include "resource.h"

#include "Common/PlaybackManager.h"
#include "Common/Settings.h"
#include "Common/TraceLog.h"

#include "framework/DataExchange.h"
#include "framework/WinApp.h"

#include <algorithm>

namespace {

// Buttons by their place in m_buttons (the order of kButtonIds).
enum {
    kPlayButton,
    kRefreshButton,
    kSearchButton,
    kEmailWavButton,
    kEmailZelButton,
    kExportWavButton,
    kExportZelButton,
    kMarkButton,
    kUnmarkButton,
    kAnnotateButton,
    kDeleteButton,
    kReportsButton,
    kScoreFormsButton,
    kArchiveButton,
    kWatcherButton
};

// Each button's icon; its tooltip string has the same number.
const UINT kButtonIcons[CZelDorvaneView::kButtonCount] = {
    IDI_CALLLIST_PLAY,        IDI_CALLLIST_REFRESH,   IDI_CALLLIST_SEARCH,
    IDI_CALLLIST_EMAIL_WAV,   IDI_CALLLIST_EMAIL_ZEL, IDI_CALLLIST_EXPORT_WAV,
    IDI_CALLLIST_EXPORT_ZEL,  IDI_CALLLIST_MARK,      IDI_CALLLIST_UNMARK,
    IDI_CALLLIST_ANNOTATE,    IDI_CALLLIST_DELETE,    IDI_CALLLIST_REPORTS,
    IDI_CALLLIST_SCORE_FORMS, IDI_CALLLIST_ARCHIVE,   IDI_CALLLIST_WATCHER};

// The reports and the archiving are not built yet: their buttons stay
// disabled until then. The one place that
// says which buttons wait.
bool IsLaterIssueButton(int button) {
    return button == kReportsButton || button == kArchiveButton;
}

// The columns by index.
enum {
    kEncryptedColumn,
    kImportantColumn,
    kUserIdColumn,
    kCallerIdColumn,
    kArchivedColumn,
    kDateTimeColumn,
    kDurationColumn,
    kBookmarkColumn,
    kCommentColumn,
    kFirstScoreColumn
};

// The cell images by index in the view's image list.
enum {
    kPlainImage,
    kImportantImage,
    kBookmarkImage,
    kIsoImage,
    kFolderImage,
    kZipImage,
    kEncryptedImage,
    kImageCount
};
const UINT kCellIcons[kImageCount] = {
    IDI_CELL_PLAIN,           IDI_CELL_IMPORTANT,    IDI_CELL_BOOKMARK, IDI_CELL_ARCHIVED_ISO,
    IDI_CELL_ARCHIVED_FOLDER, IDI_CELL_ARCHIVED_ZIP, IDI_CELL_ENCRYPTED};

// The columns the view inserts before it fits the score columns to the forms.
struct ColumnSpec {
    UINT title; // string id; 0 for "!"
    int format;
    int extraWidth; // added to the stored width
};
const ColumnSpec kColumns[] = {
    {IDS_COL_ENC, LVCFMT_LEFT, 0},      {0, LVCFMT_CENTER, 0},
    {IDS_COL_USER_ID, LVCFMT_LEFT, 1},  {IDS_COL_CALLER_ID, LVCFMT_LEFT, 1},
    {IDS_COL_ARCHIVED, LVCFMT_LEFT, 0}, {IDS_COL_DATE_TIME, LVCFMT_LEFT, 0},
    {IDS_COL_DURATION, LVCFMT_LEFT, 0}, {IDS_COL_BM, LVCFMT_CENTER, 0},
    {IDS_COL_COMMENT, LVCFMT_LEFT, 0},  {IDS_COL_SCORE1, LVCFMT_LEFT, 0},
    {IDS_COL_SCORE2, LVCFMT_LEFT, 0}};
const int kInsertedColumns = sizeof(kColumns) / sizeof(kColumns[0]);
// Score columns past the stored ones take the width of the first.
const int kScoreWidthIndex = 9;

const int kCallerIdMaxLength = 100;
const int kScoreMaxLength = 58;
const int kCommentCellMax = 1024;
const int kIconSize = 16;

// The comment cell skips the bookmark line: from this many characters after
// the start of its phrase.
const char kBookmarkPhrase[] = "Bookmark at: ";
const int kBookmarkSkip = 23;
const char kSystemBlock[] = "### System information do no edit! ###";

const int kTitleMax = 20;
const int kTitleCut = 17;

const UINT kLegendIds[] = {IDC_LEGEND1, IDC_LEGEND2, IDC_LEGEND3,
                           IDC_LEGEND4, IDC_LEGEND5, IDC_LEGEND6};
const UINT kBelowListIds[] = {
    IDC_COUNT_CALLS, IDC_COUNT_IMPORTANT, IDC_COUNT_DURATION, IDC_COUNT_SCORED, IDC_SEPARATOR1,
    IDC_SEPARATOR2,  IDC_SEPARATOR3,      IDC_LEGEND1,        IDC_LEGEND2,      IDC_LEGEND3,
    IDC_LEGEND4,     IDC_LEGEND5,         IDC_LEGEND6};

CPlayerForm* GetPlayerForm() {
    CMainFrame* pFrame = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
    return pFrame != nullptr ? pFrame->GetPlayerForm() : nullptr;
}

CString LoadText(UINT id) {
    CString text;
    text.LoadString(id);
    return text;
}

CString DateTimeText(const SYSTEMTIME& time) {
    char szDate[80] = "";
    char szTime[80] = "";
    ::GetDateFormatA(LOCALE_USER_DEFAULT, 0, &time, nullptr, szDate, sizeof(szDate));
    ::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &time, nullptr, szTime, sizeof(szTime));
    return CString(szDate) + " " + szTime;
}

CString NowText() {
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    return DateTimeText(now);
}

// The creation time of a file as local time, or false.
bool FileCreationText(const CString& path, CString& text) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    FILETIME local = {};
    SYSTEMTIME time = {};
    if (!::GetFileAttributesExA(path, GetFileExInfoStandard, &data) ||
        !::FileTimeToLocalFileTime(&data.ftCreationTime, &local) ||
        !::FileTimeToSystemTime(&local, &time))
        return false;
    text = DateTimeText(time);
    return true;
}

// The last component of a path without its extension: "Team" of
// "D:\Calls\Team.North".
CString NamePart(CString path) {
    path.TrimRight("\\/");
    const int slash = std::max(path.ReverseFind('\\'), path.ReverseFind('/'));
    CString name = path.Mid(slash + 1);
    const int dot = name.ReverseFind('.');
    if (dot > 0)
        name = name.Left(dot);
    return name;
}

bool IsExistingFile(const CString& path) {
    const DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The comment cell: the comment after its bookmark line, up to its first line
// end. The skip is held to the text, whose bookmark phrase may stand at its
// very end.
CString CommentCellText(const char* comment) {
    CString text(comment);
    text.Trim();
    const int phrase = text.Find(kBookmarkPhrase);
    if (phrase >= 0) {
        const int start = phrase + kBookmarkSkip;
        text = start < text.GetLength() ? text.Mid(start) : CString();
        text.Trim();
        if (text.Left(static_cast<int>(sizeof(kSystemBlock)) - 1) == kSystemBlock)
            text.Empty();
    }
    const int lineEnd = text.FindOneOf("\r\n");
    if (lineEnd >= 0)
        text = text.Left(lineEnd);
    return text.Left(kCommentCellMax);
}

void CopyCellText(LVITEMA& item, const CString& text) {
    if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0)
        lstrcpynA(item.pszText, text, item.cchTextMax);
}

} // namespace

const UINT CZelDorvaneView::kButtonIds[kButtonCount] = {
    IDC_PLAY,         IDC_LIST_REFRESH, IDC_LIST_SEARCH,    IDC_EMAIL_WAV,        IDC_EMAIL_ZEL,
    IDC_EXPORT_WAV,   IDC_EXPORT_ZEL,   IDC_MARK_IMPORTANT, IDC_UNMARK_IMPORTANT, IDC_ANNOTATE,
    IDC_DELETE_CALLS, IDC_REPORTS,      IDC_SCORE_FORMS,    IDC_ARCHIVE_MENU,     IDC_WATCHER};

IMPLEMENT_DYNCREATE(CZelDorvaneView, CFormView)

// clang-format off
BEGIN_MESSAGE_MAP(CZelDorvaneView, CFormView)
    ON_WM_CTLCOLOR()
    ON_WM_DESTROY()
    ON_WM_CONTEXTMENU()
    ON_WM_TIMER()
    ON_MESSAGE(WM_LIST_SORT, &CZelDorvaneView::OnSortColumn)
    ON_MESSAGE(WM_LIST_RESORT, &CZelDorvaneView::OnResort)
    ON_MESSAGE(WM_LIST_ADD_RECORDING, &CZelDorvaneView::OnAddRecording)
    ON_MESSAGE(WM_LIST_BEGIN_DRAG, &CZelDorvaneView::OnBeginDrag)
    ON_MESSAGE(WM_LIST_CELL_EDITED, &CZelDorvaneView::OnCellEdited)
    ON_MESSAGE(WM_LIST_SEARCH_FOLDERS, &CZelDorvaneView::OnSearchFolders)
    ON_MESSAGE(WM_LIST_WATCHER_CHANGE, &CZelDorvaneView::OnWatcherChanged)

    ON_NOTIFY(LVN_GETDISPINFOA, IDC_CALL_LIST, &CZelDorvaneView::OnGetDispInfo)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_CALL_LIST, &CZelDorvaneView::OnItemChanged)
    ON_NOTIFY(NM_DBLCLK, IDC_CALL_LIST, &CZelDorvaneView::OnDblClick)
    ON_NOTIFY(NM_CUSTOMDRAW, IDC_CALL_LIST, &CZelDorvaneView::OnCustomDraw)

    ON_BN_CLICKED(IDC_PLAY, &CZelDorvaneView::OnPlayButton)
    ON_BN_CLICKED(IDC_LIST_REFRESH, &CZelDorvaneView::OnRefresh)
    ON_BN_CLICKED(IDC_LIST_SEARCH, &CZelDorvaneView::OnSearchInList)
    ON_BN_CLICKED(IDC_EMAIL_WAV, &CZelDorvaneView::OnEmailWav)
    ON_BN_CLICKED(IDC_EMAIL_ZEL, &CZelDorvaneView::OnEmailZel)
    ON_BN_CLICKED(IDC_EXPORT_WAV, &CZelDorvaneView::OnExportWav)
    ON_BN_CLICKED(IDC_EXPORT_ZEL, &CZelDorvaneView::OnExportZel)
    ON_BN_CLICKED(IDC_MARK_IMPORTANT, &CZelDorvaneView::OnMark)
    ON_BN_CLICKED(IDC_UNMARK_IMPORTANT, &CZelDorvaneView::OnUnmark)
    ON_BN_CLICKED(IDC_ANNOTATE, &CZelDorvaneView::OnAnnotate)
    ON_BN_CLICKED(IDC_DELETE_CALLS, &CZelDorvaneView::OnDeleteRecordings)
    ON_BN_CLICKED(IDC_ARCHIVE_MENU, &CZelDorvaneView::OnArchiveMenu)
    ON_BN_CLICKED(IDC_SCORE_FORMS, &CZelDorvaneView::OnScoreForms)
    ON_BN_CLICKED(IDC_WATCHER, &CZelDorvaneView::OnWatcherButton)

    ON_COMMAND(ID_LIST_PLAY, &CZelDorvaneView::OnPlayButton)
    ON_COMMAND(ID_LIST_COPY, &CZelDorvaneView::OnCopy)
    ON_COMMAND(ID_LIST_PASTE, &CZelDorvaneView::OnPaste)
    ON_COMMAND(ID_LIST_REMOVE, &CZelDorvaneView::OnRemove)
    ON_COMMAND(ID_LIST_TRIM, &CZelDorvaneView::OnTrim)
    ON_COMMAND(ID_LIST_SELECT_ALL, &CZelDorvaneView::OnSelectAll)
    ON_COMMAND(ID_LIST_MARK, &CZelDorvaneView::OnMark)
    ON_COMMAND(ID_LIST_UNMARK, &CZelDorvaneView::OnUnmark)
    ON_COMMAND(ID_LIST_DELETE, &CZelDorvaneView::OnDeleteRecordings)
    ON_COMMAND_EX_RANGE(ID_ARCHIVE_SETTINGS, ID_RUN_SCHEDULED_NOW,
                        &CZelDorvaneView::OnForwardToFrame)
    ON_COMMAND_RANGE(ID_EXPORT_WAV_FULL, ID_EMAIL_ZEL_BOOKMARK,
                     &CZelDorvaneView::OnExportMenuCommand)
    ON_COMMAND(ID_REPORT_LONGEST_CALLS, &CZelDorvaneView::OnLongestCalls)
    ON_COMMAND(ID_SCORE, &CZelDorvaneView::OnScoreCommand)
    ON_COMMAND(ID_SCORE_PLAY_MODE, &CZelDorvaneView::OnScorePlayMode)

    ON_UPDATE_COMMAND_UI(ID_REPORT_LONGEST_CALLS, &CZelDorvaneView::OnUpdateNeedsList)
    ON_UPDATE_COMMAND_UI(ID_SCORE_PLAY_MODE, &CZelDorvaneView::OnUpdateScorePlayMode)
    ON_UPDATE_COMMAND_UI(ID_CUSTOM_REPORT, &CZelDorvaneView::OnUpdateUnavailable)
    ON_UPDATE_COMMAND_UI_RANGE(ID_REPORT_STATISTICS, ID_REPORT_TEAM_ASSESS_USER,
                               &CZelDorvaneView::OnUpdateUnavailable)
    ON_UPDATE_COMMAND_UI_RANGE(ID_ARCHIVE_ZIP, ID_ARCHIVE_ISO,
                               &CZelDorvaneView::OnUpdateUnavailable)
    ON_UPDATE_COMMAND_UI_RANGE(ID_ARCHIVE_SETTINGS, ID_RUN_SCHEDULED_NOW,
                               &CZelDorvaneView::OnUpdateUnavailable)
END_MESSAGE_MAP()
// clang-format on

CZelDorvaneView::CZelDorvaneView()
    : CFormView(IDD_CALLLIST_FORM), m_sortColumn(5), m_sortDescending(1), m_exportBusy(0),
      m_pProgress(nullptr), m_searchTimer(0), m_watcherThread(nullptr), m_watcherStop(nullptr),
      m_watcherResume(nullptr), m_forwarding(0), m_closing(0),
      m_searchFinished(::CreateEventA(nullptr, TRUE, TRUE, nullptr)), m_busy(0),
      m_watcherPending(false) {}

CZelDorvaneView::~CZelDorvaneView() {
    if (m_searchFinished != nullptr)
        ::CloseHandle(m_searchFinished);
}

CZelDorvaneDoc* CZelDorvaneView::GetDocument() const {
    return static_cast<CZelDorvaneDoc*>(m_pDocument);
}

void CZelDorvaneView::DoDataExchange(CDataExchange* pDX) {
    CFormView::DoDataExchange(pDX);
    for (int i = 0; i < kButtonCount; ++i)
        DDX_Control(pDX, static_cast<int>(kButtonIds[i]), m_buttons[i]);
    DDX_Control(pDX, IDC_CALL_LIST, m_list);
    DDX_Control(pDX, IDC_LIST_KIND_ICON, m_kindIcon);
}

// ---------------------------------------------------------------------------
// Set-up and teardown

void CZelDorvaneView::OnInitialUpdate() {
    CFormView::OnInitialUpdate();
    if (m_whiteBrush.GetSafeHandle() == nullptr)
        m_whiteBrush.CreateSolidBrush(RGB(255, 255, 255));

    for (int i = 0; i < kButtonCount; ++i) {
        m_buttons[i].SetIcon(static_cast<int>(kButtonIcons[i]), 0);
        m_buttons[i].SetTooltipText(static_cast<int>(kButtonIcons[i]));
    }

    CZelDorvaneDoc* pDoc = GetDocument();
    CSettings* pSettings = CSettings::GetInstance();
    m_buttons[kWatcherButton].EnableWindow(pDoc != nullptr && !pDoc->GetSource().IsEmpty());
    const BOOL bExport = !pSettings->IsExportBlocked();
    for (int button : {kEmailWavButton, kEmailZelButton, kExportWavButton, kExportZelButton})
        m_buttons[button].EnableWindow(bExport);
    if (pSettings->IsDeleteDisabled())
        m_buttons[kDeleteButton].ShowWindow(SW_HIDE);
    else
        m_buttons[kDeleteButton].EnableWindow(TRUE);
    for (UINT id : kLegendIds) {
        CWnd* pLegend = GetDlgItem(static_cast<int>(id));
        if (pLegend != nullptr)
            pLegend->ShowWindow(SW_HIDE);
    }

    InsertColumns();

    m_layout.Attach(this);
    m_layout.SetConstraint(IDC_CALL_LIST, OX_LMS_LEFT, OX_LMT_SAME, 10);
    m_layout.SetConstraint(IDC_CALL_LIST, OX_LMS_RIGHT, OX_LMT_SAME, -10);
    m_layout.SetConstraint(IDC_CALL_LIST, OX_LMS_TOP, OX_LMT_OPPOSITE, 5, IDC_PLAY);
    m_layout.SetConstraint(IDC_CALL_LIST, OX_LMS_BOTTOM, OX_LMT_SAME, -20);
    for (UINT id : kBelowListIds)
        m_layout.SetConstraint(id, OX_LMS_TOP, OX_LMT_OPPOSITE, 3, IDC_CALL_LIST);
    m_layout.RedrawLayout();

    if (m_captionFont.GetSafeHandle() == nullptr)
        m_captionFont.CreateFont(16, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 VARIABLE_PITCH | FF_SWISS, "Verdana");
    CWnd* pCaption = GetDlgItem(IDC_LIST_CAPTION);
    if (pCaption != nullptr)
        pCaption->SetFont(&m_captionFont);

    UpdateButtons();
    OnRefresh();
}

void CZelDorvaneView::InsertColumns() {
    CSettings* pSettings = CSettings::GetInstance();
    for (int i = 0; i < kInsertedColumns; ++i) {
        const ColumnSpec& spec = kColumns[i];
        const CString title = spec.title != 0 ? LoadText(spec.title) : CString("!");
        int width = pSettings->GetColumnWidth(i);
        if (width >= 0)
            width += spec.extraWidth;
        m_list.InsertColumn(i, title, spec.format, width);
    }
    m_list.EnableToolTips(TRUE);
    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES |
                            LVS_EX_FULLROWSELECT);

    if (m_cellImages.GetSafeHandle() == nullptr &&
        m_cellImages.Create(kIconSize, kIconSize, ILC_COLOR24 | ILC_MASK, 3, 3)) {
        for (UINT id : kCellIcons) {
            HICON hIcon = static_cast<HICON>(::LoadImageA(
                AfxGetResourceHandle(), MAKEINTRESOURCEA(id), IMAGE_ICON, kIconSize, kIconSize, 0));
            m_cellImages.Add(hIcon);
            if (hIcon != nullptr)
                ::DestroyIcon(hIcon);
        }
    }
    m_list.SetImageList(&m_cellImages, LVSIL_SMALL);
    m_list.SetSortArrow(m_sortColumn, m_sortDescending);

    UpdateCallScoreColumns();

    FileDropFilter filter;
    filter.flags =
        FileDropFilter::kFiles | FileDropFilter::kFolders | FileDropFilter::kMatchExtension;
    filter.extension = ".zel";
    m_list.SetDropFilter(filter);
}

void CZelDorvaneView::UpdateCallScoreColumns() {
    if (!::IsWindow(m_list.m_hWnd))
        return;
    CScoreFormManager* pForms = CScoreFormManager::GetInstance();
    if (!pForms->IsLoaded())
        pForms->Load(GetScoreFormsFilePath());
    const int forms = pForms->GetFormCount();
    const int wanted = kFirstScoreColumn + forms;
    while (m_list.GetColumnCount() > wanted)
        m_list.DeleteColumn(m_list.GetColumnCount() - 1);
    while (m_list.GetColumnCount() < wanted)
        m_list.InsertColumn(m_list.GetColumnCount(), "Call Score", LVCFMT_LEFT,
                            CSettings::GetInstance()->GetColumnWidth(kScoreWidthIndex));

    std::vector<int> order(static_cast<size_t>(wanted));
    for (int i = 0; i < wanted; ++i)
        order[static_cast<size_t>(i)] = i;
    ::SendMessage(m_list.m_hWnd, LVM_SETCOLUMNORDERARRAY, static_cast<WPARAM>(wanted),
                  reinterpret_cast<LPARAM>(order.data()));
    for (int j = 0; j < forms; ++j) {
        CString title;
        title.Format("Call Score <%s>", static_cast<const char*>(pForms->GetFormTitle(j)));
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT;
        column.pszText = const_cast<LPSTR>(title.GetString());
        m_list.SetColumn(kFirstScoreColumn + j, &column);
    }

    // Shown: the four identifying columns, the scores, then the rest.
    order.clear();
    for (int i = 0; i <= kCallerIdColumn; ++i)
        order.push_back(i);
    for (int j = 0; j < forms; ++j)
        order.push_back(kFirstScoreColumn + j);
    for (int i = kArchivedColumn; i <= kCommentColumn; ++i)
        order.push_back(i);
    ::SendMessage(m_list.m_hWnd, LVM_SETCOLUMNORDERARRAY, static_cast<WPARAM>(wanted),
                  reinterpret_cast<LPARAM>(order.data()));
}

void CZelDorvaneView::OnDestroy() {
    m_closing = 1;
    CSettings* pSettings = CSettings::GetInstance();
    if (::IsWindow(m_list.m_hWnd)) {
        const int columns = m_list.GetColumnCount();
        for (int i = 0; i < columns; ++i)
            pSettings->SetColumnWidth(i, m_list.GetColumnWidth(i));
    }
    StopWatcher();
    if (::IsWindow(m_list.m_hWnd))
        m_list.DeleteAllItems();
    m_cellImages.DeleteImageList();
    m_layout.Detach();
    CFormView::OnDestroy();
}

// ---------------------------------------------------------------------------
// Showing the list

void CZelDorvaneView::ShowList(int kind, const CKWString& source) {
    CZelDorvaneDoc* pDoc = GetDocument();
    if (pDoc == nullptr || !::IsWindow(m_list.m_hWnd))
        return;
    // The count first: the buttons follow the rows the list now has.
    m_list.SetItemCount(pDoc->GetRecordingCount());
    UpdateButtons();
    if (pDoc->GetRecordingCount() > 0) {
        // The rows now hold other recordings: a selection kept by row number
        // would name whatever moved there.
        m_list.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        m_list.SetFocus();
        m_list.SetSelectionMark(0);
        m_list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    UpdateCounters();

    // Only a folder is a list's source: a single recording file makes a
    // custom list, which no watcher could follow.
    CKWString listSource = source;
    if (IsExistingFile(CString(static_cast<const char*>(listSource))))
        listSource.Empty();
    if (kind == CZelDorvaneDoc::kFolderList && listSource.IsEmpty())
        kind = CZelDorvaneDoc::kCustomList;
    pDoc->SetListKind(kind);
    pDoc->SetSource(listSource);
    if (!listSource.IsEmpty())
        m_buttons[kWatcherButton].EnableWindow(TRUE);

    const CString now = NowText();
    UINT icon = IDI_CELL_PLAIN;
    CString caption;
    switch (kind) {
    case CZelDorvaneDoc::kFolderList: {
        icon = IDI_LISTKIND_FOLDER;
        const CString name = NamePart(CString(static_cast<const char*>(listSource)));
        caption.Format("%s - %s", name.GetString(), now.GetString());
        pDoc->SetTitle(name.GetLength() > kTitleMax ? name.Left(kTitleCut) + "..." : name);
        pDoc->SetReusable(TRUE);
        break;
    }
    case CZelDorvaneDoc::kCustomList: {
        icon = IDI_LISTKIND_CUSTOM;
        CString when = now;
        const CString path = pDoc->GetPathName();
        if (!path.IsEmpty())
            FileCreationText(path, when);
        caption.Format("Custom Recordings - %s", when.GetString());
        if (path.IsEmpty())
            pDoc->SetTitle("Custom");
        pDoc->SetReusable(TRUE);
        break;
    }
    case CZelDorvaneDoc::kPlayHistory:
        icon = IDI_LISTKIND_HISTORY;
        caption.Format("Play History - %s", now.GetString());
        pDoc->SetTitle("Play History");
        pDoc->SetReusable(FALSE);
        break;
    case CZelDorvaneDoc::kLongestCalls: {
        icon = IDI_LISTKIND_LONGEST;
        const CString title = LoadText(IDS_LONGEST_CALLS);
        caption.Format("%s - %s - %s", title.GetString(), m_description.GetString(),
                       now.GetString());
        pDoc->SetTitle(title);
        pDoc->SetReusable(FALSE);
        break;
    }
    default:
        break;
    }
    if (::IsWindow(m_kindIcon.m_hWnd))
        m_kindIcon.SetIcon(
            static_cast<HICON>(::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(icon),
                                            IMAGE_ICON, kIconSize, kIconSize, LR_SHARED)));
    pDoc->SetModifiedFlag(pDoc->IsModified());
    SetDlgItemText(IDC_LIST_CAPTION, caption);
}

void CZelDorvaneView::UpdateButtons() {
    if (!::IsWindow(m_list.m_hWnd) || m_list.GetItemCount() == 0) {
        DisableAllButtons();
        return;
    }
    CSettings* pSettings = CSettings::GetInstance();
    const BOOL bExport = !pSettings->IsExportBlocked();
    const BOOL bSingle = GetSelectedCount() == 1;
    CZelDorvaneDoc* pDoc = GetDocument();
    BOOL enable[kButtonCount] = {};
    enable[kPlayButton] = TRUE;
    enable[kRefreshButton] = TRUE;
    enable[kSearchButton] = TRUE;
    enable[kEmailWavButton] = bExport && bSingle;
    enable[kEmailZelButton] = bExport;
    enable[kExportWavButton] = bExport;
    enable[kExportZelButton] = bExport;
    enable[kMarkButton] = TRUE;
    enable[kUnmarkButton] = TRUE;
    enable[kAnnotateButton] = bSingle;
    enable[kDeleteButton] = !pSettings->IsDeleteDisabled();
    enable[kReportsButton] = TRUE;
    enable[kScoreFormsButton] = TRUE;
    enable[kArchiveButton] = TRUE;
    enable[kWatcherButton] = pDoc != nullptr && !pDoc->GetSource().IsEmpty();
    for (int i = 0; i < kButtonCount; ++i)
        if (::IsWindow(m_buttons[i].m_hWnd))
            m_buttons[i].EnableWindow(enable[i] && !IsLaterIssueButton(i));
}

void CZelDorvaneView::DisableAllButtons() {
    for (CButtonST& button : m_buttons)
        if (::IsWindow(button.m_hWnd))
            button.EnableWindow(FALSE);
}

void CZelDorvaneView::UpdateCounters() {
    CZelDorvaneDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    CString text;
    text.Format("Calls: %d", pDoc->GetRecordingCount());
    SetDlgItemText(IDC_COUNT_CALLS, text);
    text.Format("Important: %d", pDoc->GetImportantCount());
    SetDlgItemText(IDC_COUNT_IMPORTANT, text);
    const int total = pDoc->GetTotalDuration();
    if (total >= 3600)
        text.Format("Duration: %02d:%02d:%02d", total / 3600, total / 60 % 60, total % 60);
    else
        text.Format("Duration: 00:%02d:%02d", total / 60, total % 60);
    SetDlgItemText(IDC_COUNT_DURATION, text);
    text.Format("Scored Calls: %d", pDoc->GetScoredCount());
    SetDlgItemText(IDC_COUNT_SCORED, text);
}

// ---------------------------------------------------------------------------
// Cells

void CZelDorvaneView::OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    NMLVDISPINFOA* pInfo = reinterpret_cast<NMLVDISPINFOA*>(pNMHDR);
    LVITEMA& item = pInfo->item;
    CZelDorvaneDoc* pDoc = GetDocument();
    const CScoredFileListEntry* pEntry = pDoc != nullptr ? pDoc->GetRecording(item.iItem) : nullptr;
    if (pEntry == nullptr)
        return;
    const int row = item.iItem;
    const int column = item.iSubItem;

    CString text;
    CString tip;
    int image = -1;
    switch (column) {
    case kEncryptedColumn:
        image = pEntry->IsEncrypted() ? kEncryptedImage : kPlainImage;
        if (pEntry->IsEncrypted())
            tip = LoadText(IDS_TIP_ENCRYPTED);
        break;
    case kImportantColumn:
        image = pEntry->IsImportant() ? kImportantImage : kPlainImage;
        if (pEntry->IsImportant())
            tip = LoadText(IDS_TIP_IMPORTANT);
        break;
    case kUserIdColumn:
        text = tip = pEntry->GetUserId();
        break;
    case kCallerIdColumn:
        text = tip = pEntry->GetCallerId();
        break;
    case kArchivedColumn: {
        ArchiveJobInfo job;
        if (LookUpArchiveJob(*pEntry, job)) {
            image = job.type == 1   ? kFolderImage
                    : job.type == 2 ? kZipImage
                    : job.type == 3 ? kIsoImage
                                    : kPlainImage;
            for (const CKWString& line : job.reportLines)
                tip += CString(static_cast<const char*>(line)) + "\n";
        } else {
            image = kPlainImage;
            tip = "Not archived yet";
        }
        break;
    }
    case kDateTimeColumn:
        text = tip = pEntry->GetDateTimeText();
        break;
    case kDurationColumn:
        text = tip = pEntry->GetDurationText();
        break;
    case kBookmarkColumn:
        image = pEntry->HasBookmark() ? kBookmarkImage : kPlainImage;
        if (pEntry->HasBookmark())
            tip = LoadText(IDS_TIP_BOOKMARK);
        break;
    case kCommentColumn:
        text = CommentCellText(pEntry->GetComment());
        tip = pEntry->GetComment();
        tip.Trim();
        break;
    default: {
        CScoreFormManager* pForms = CScoreFormManager::GetInstance();
        const int form = column - kFirstScoreColumn;
        if (form < 0 || form >= pForms->GetFormCount()) {
            *pResult = -1;
            return;
        }
        const CScoredFileListEntry::SCallScoreEntry* pScore =
            pEntry->FindScore(pForms->GetFormId(form));
        if (pScore != nullptr)
            text.Format("%.02f", pScore->Value);
        tip = text;
        m_list.SetEditMaxLength(kScoreMaxLength);
        break;
    }
    }

    if (column == kCallerIdColumn) {
        m_list.SetCellReadOnly(row, column, 0);
        m_list.SetEditMaxLength(kCallerIdMaxLength);
    } else {
        m_list.SetCellReadOnly(row, column, 1);
    }
    CopyCellText(item, text);
    if ((item.mask & LVIF_IMAGE) != 0 && image >= 0)
        item.iImage = image;
    m_list.SetItemToolTipText(row, column, tip);
}

void CZelDorvaneView::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult) {
    const NMLVCUSTOMDRAW* pDraw = reinterpret_cast<const NMLVCUSTOMDRAW*>(pNMHDR);
    switch (pDraw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        *pResult = CDRF_NOTIFYITEMDRAW;
        break;
    case CDDS_ITEMPREPAINT:
        *pResult = CDRF_NOTIFYSUBITEMDRAW;
        break;
    default:
        *pResult = CDRF_DODEFAULT;
        break;
    }
}

HBRUSH CZelDorvaneView::OnCtlColor(CDC* pDC, CWnd*, UINT) {
    ::SetBkColor(pDC->m_hDC, RGB(255, 255, 255));
    return static_cast<HBRUSH>(m_whiteBrush.GetSafeHandle());
}

// ---------------------------------------------------------------------------
// Selection

int CZelDorvaneView::GetSelectedCount() const {
    return ::IsWindow(m_list.m_hWnd) ? static_cast<int>(m_list.GetSelectedCount()) : 0;
}

int CZelDorvaneView::IsItemSelected(int row) const {
    return ::IsWindow(m_list.m_hWnd) && m_list.GetItemState(row, LVIS_SELECTED) != 0 ? 1 : 0;
}

int CZelDorvaneView::GetFirstSelected() const {
    if (!::IsWindow(m_list.m_hWnd))
        return -1;
    POSITION pos = m_list.GetFirstSelectedItemPosition();
    const int row = pos != nullptr ? m_list.GetNextSelectedItem(pos) : -1;
    KWTRACE(("Item %d was selected!\n", row));
    return row;
}

void CZelDorvaneView::SelectOnly(int row) {
    if (!::IsWindow(m_list.m_hWnd))
        return;
    POSITION pos = m_list.GetFirstSelectedItemPosition();
    while (pos != nullptr)
        m_list.SetItemState(m_list.GetNextSelectedItem(pos), 0, LVIS_SELECTED);
    if (row >= 0)
        m_list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
}

std::vector<CKWString> CZelDorvaneView::GetSelectedPaths() const {
    std::vector<CKWString> paths;
    CZelDorvaneDoc* pDoc = GetDocument();
    if (pDoc == nullptr || !::IsWindow(m_list.m_hWnd))
        return paths;
    POSITION pos = m_list.GetFirstSelectedItemPosition();
    while (pos != nullptr) {
        const CScoredFileListEntry* pEntry = pDoc->GetRecording(m_list.GetNextSelectedItem(pos));
        if (pEntry != nullptr)
            paths.push_back(CKWString(pEntry->GetPath()));
    }
    return paths;
}

void CZelDorvaneView::OnItemChanged(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    const NMLISTVIEW* pInfo = reinterpret_cast<const NMLISTVIEW*>(pNMHDR);
    if (pInfo == nullptr) {
        DisableAllButtons();
        return;
    }
    // A change of every row at once (select all, clear all) names no row of
    // its own: only the buttons follow it.
    const UINT newState = pInfo->uNewState;
    if (pInfo->iItem < 0 || ((newState & LVIS_FOCUSED) == 0 && newState != LVIS_SELECTED)) {
        UpdateButtons();
        return;
    }
    CZelDorvaneDoc* pDoc = GetDocument();
    if (pDoc == nullptr || pDoc->GetRecording(pInfo->iItem) == nullptr) {
        DisableAllButtons();
        return;
    }
    CPlaybackManager* pEngine = CPlaybackManager::GetInstance();
    CPlayerForm* pPlayer = GetPlayerForm();
    // The clicks of a double click report the row again after its Play: the
    // recording the engine already holds for this selection stays playing.
    const CScoredFileListEntry* pHeld =
        GetSelectedCount() == 1 ? pDoc->GetRecording(GetFirstSelected()) : nullptr;
    if (pHeld != nullptr && pEngine->IsLoaded() &&
        pEngine->GetRecordFile()->GetPath() == pHeld->GetPath()) {
        UpdateButtons();
        return;
    }
    if (pEngine->IsLoaded())
        pEngine->Unload();
    if (pPlayer != nullptr)
        pPlayer->Eject();
    UpdateButtons();

    const int selected = GetSelectedCount();
    if (selected == 1) {
        // The engine holds the selected recording, which the commands act on:
        // the row reported may be one that only took the focus.
        const CScoredFileListEntry* pEntry = pDoc->GetRecording(GetFirstSelected());
        if (pEntry != nullptr && pEngine->Load(pEntry->GetPath())) {
            if (pPlayer != nullptr)
                pPlayer->UpdateFromPlayback();
        } else {
            for (int button : {kSearchButton, kEmailWavButton, kEmailZelButton, kExportWavButton,
                               kExportZelButton, kMarkButton, kUnmarkButton, kAnnotateButton})
                m_buttons[button].EnableWindow(FALSE);
            m_buttons[kRefreshButton].EnableWindow(TRUE);
            m_buttons[kDeleteButton].EnableWindow(!CSettings::GetInstance()->IsDeleteDisabled());
            if (pPlayer != nullptr)
                pPlayer->Eject();
        }
        SetFocus();
    } else if (selected <= 3) {
        SetFocus();
    }
}

void CZelDorvaneView::OnDblClick(NMHDR*, LRESULT* pResult) {
    *pResult = 0;
    OnPlay();
}

void CZelDorvaneView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
    CFormView::OnActivateView(bActivate, pActivateView, pDeactiveView);
    if (!bActivate || pActivateView != this)
        return;
    CZelDorvaneDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return;
    CPlaybackManager* pEngine = CPlaybackManager::GetInstance();
    CPlayerForm* pPlayer = GetPlayerForm();
    const auto unloadAndEject = [&] {
        pEngine->Unload();
        if (pPlayer != nullptr) {
            pPlayer->Stop();
            pPlayer->Eject();
        }
    };

    const CScoredFileListEntry* pEntry =
        GetSelectedCount() == 1 ? pDoc->GetRecording(GetFirstSelected()) : nullptr;
    if (pEntry != nullptr) {
        const bool bPlayingOther =
            pEngine->IsPlaying() && pEngine->GetRecordFile()->GetPath() != pEntry->GetPath();
        if (bPlayingOther)
            unloadAndEject();
        if (!pEngine->IsPlaying()) {
            if (pEngine->Load(pEntry->GetPath())) {
                if (pPlayer != nullptr)
                    pPlayer->UpdateFromPlayback();
            } else if (pPlayer != nullptr) {
                pPlayer->Eject();
            }
        }
    } else {
        unloadAndEject();
    }

    if (pDoc->GetListKind() == CZelDorvaneDoc::kPlayHistory) {
        CCallHistory::GetInstance()->FillDocument(pDoc);
        m_list.SetItemCount(pDoc->GetRecordingCount());
        UpdateButtons();
        UpdateCounters();
    }
    UpdateCallScoreColumns();
}

// ---------------------------------------------------------------------------
// Changes reported by the main frame

void CZelDorvaneView::OnRecordingMarked(const char* path, int flag) {
    CZelDorvaneDoc* pDoc = GetDocument();
    const int row = pDoc != nullptr && path != nullptr ? pDoc->FindRecording(path) : -1;
    if (row < 0)
        return;
    pDoc->SetRecordingImportant(row, flag);
    pDoc->GetRecording(row)->m_important = flag ? 1 : 0;
    m_list.RedrawItems(row, row);
    UpdateCounters();
}

void CZelDorvaneView::OnRecordingDeleted(const char* path) {
    CZelDorvaneDoc* pDoc = GetDocument();
    const int row = pDoc != nullptr && path != nullptr ? pDoc->FindRecording(path) : -1;
    if (row < 0)
        return;
    pDoc->RemoveAt(row);
    m_list.SetItemState(row, 0, LVIS_SELECTED);
    if (pDoc->GetRecordingCount() == 0) {
        CPlaybackManager::GetInstance()->Unload();
        CPlayerForm* pPlayer = GetPlayerForm();
        if (pPlayer != nullptr)
            pPlayer->Eject();
    } else {
        m_list.SetFocus();
        m_list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    m_list.SetItemCount(pDoc->GetRecordingCount());
    UpdateButtons();
    UpdateCounters();
}

void CZelDorvaneView::OnBookmarkChanged(const char* path, int start, int end) {
    CZelDorvaneDoc* pDoc = GetDocument();
    const int row = pDoc != nullptr && path != nullptr ? pDoc->FindRecording(path) : -1;
    if (row < 0)
        return;
    const CString passphrase = CSettings::GetInstance()->GetPassphrase();
    CKWFileListEntry fresh;
    fresh.SetPath(path);
    fresh.LoadHeader(passphrase);
    CString comment(fresh.GetComment());
    comment.Trim();
    CScoredFileListEntry* pEntry = pDoc->GetRecording(row);
    pEntry->SetBookmark(start, end, passphrase);
    pEntry->SetComment(comment.Left(CKWFileListEntry::kCommentSize - 1));
    m_list.RedrawItems(row, row);
}

// ---------------------------------------------------------------------------
// Sorting

LRESULT CZelDorvaneView::OnSortColumn(WPARAM wParam, LPARAM lParam) {
    CZelDorvaneDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return 0;
    CWaitCursor wait;
    m_list.SetItemCount(0);
    m_sortColumn = static_cast<int>(wParam);
    m_sortDescending = lParam != 0 ? 1 : 0;
    pDoc->SortRecordings(m_sortColumn, m_sortDescending);
    ShowList(pDoc->GetListKind(), pDoc->GetSource());
    return 0;
}

LRESULT CZelDorvaneView::OnResort(WPARAM, LPARAM) {
    CZelDorvaneDoc* pDoc = GetDocument();
    if (pDoc == nullptr)
        return 1;
    CWaitCursor wait;
    m_list.SetItemCount(0);
    pDoc->SortRecordings(m_sortColumn, m_sortDescending);
    ShowList(pDoc->GetListKind(), pDoc->GetSource());
    return 1;
}
