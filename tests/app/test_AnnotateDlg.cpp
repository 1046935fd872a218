// Tests of CAnnotateDlg, "Annotate the call": the predefined comments from
// "Comments.txt" or the built-in ones, the comment composed with the loaded
// recording's bookmark, the recording left untouched (nothing rewritten when
// the engine unloads it, after OK or Cancel alike), and the edit box's limit.
// Recordings are generated .zel files loaded into the playback engine; each
// test has configuration folders of its own.
#include "native/gtest.h"

#include "AnnotateDlg.h"
#include "resource.h"

#include "tests/app/SmallDialogsTestKit.h"
#include "tests/support/AnsweringApp.h"
#include "tests/support/AudioFixtures.h"
#include "tests/support/Canvas.h"
#include "tests/support/RecordingFixtures.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UiScript.h"

#include "Common/KWSysUtils.h"
#include "Common/PlaybackManager.h"

#include <string>
#include <vector>

namespace {

CAnsweringApp theApp;

using smalldlg::CHostWnd;
using smalldlg::WindowText;

const int32_t kMuLaw = 7;
const int kSeconds = 2;
const char kProduct[] = "ZelMoxel";

const std::vector<std::string> kBuiltIns = {
    "Product Interest", "Verbal Quote",    "Very Interested", "** Sale **",
    "Callback Again",   "Promised To Pay", "Abusive Call!",   "Complaint",
    "Order Detail",     "Address Detail",  "Private Call",    "Follow Up",
    "Interview",        "Charge Client",   "Dictation",       "Great Sales Technique",
};

// The bookmark texts of an area, as the recorders and the player write them
// into the comment: a line before the text, a block after it.
const char kLine65[] = "Bookmark at:  00:01:05\r\n";
std::string Block(const char* pszStart, const char* pszEnd) {
    return std::string("\r\n\r\n### System information do no edit! ###\r\n<bookmark>\r\n<bstart>") +
           pszStart + "</bstart>\r\n<bend>" + pszEnd + "</bend>\r\n<bookmark>";
}

FILETIME FileWriteTime(const std::string& strPath) {
    FILETIME ft = {};
    HANDLE hFile = ::CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile != INVALID_HANDLE_VALUE) {
        ::GetFileTime(hFile, nullptr, nullptr, &ft);
        ::CloseHandle(hFile);
    }
    return ft;
}

bool SameTime(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

class AnnotateDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        static int s_nTest = 0;
        m_strCompany = "ZmAnnotateTest-" + std::to_string(::GetCurrentProcessId()) + "-" +
                       std::to_string(++s_nTest);
        CKWSysUtils::GetInstance()->SetNames(m_strCompany.c_str(), kProduct);
        m_strConfig = static_cast<const char*>(
            CString(CKWSysUtils::GetInstance()->GetConfigurationFolder(true)));
        ASSERT_NE(m_strConfig.find(m_strCompany), std::string::npos);
        ASSERT_TRUE(m_host.Make("Annotate host", CRect(20, 20, 300, 200)));
    }
    void TearDown() override {
        CPlaybackManager::GetInstance()->Unload();
        RemoveFolderTree(
            m_strConfig.substr(0, m_strConfig.find(m_strCompany) + m_strCompany.size()));
    }

    std::string CommentsPath() const { return m_strConfig + "Comments.txt"; }

    // A two-second recording with the comment, dated far back so that any
    // rewrite of its header shows in its write time.
    std::string WriteRecording(const std::string& strName, const std::string& strComment) {
        RecordingFields fields;
        fields.format = kMuLaw;
        fields.duration = kSeconds;
        fields.comment = strComment;
        fields.callerId = "0123 456789";
        const std::string strPath = m_folder.File(strName);
        EXPECT_TRUE(WriteWholeFile(strPath, MakeHeaderV2to4(4, 1440, fields) +
                                                EncodeMuLaw(MakeTestSignal(kSeconds * 8000))));
        HANDLE hFile =
            ::CreateFileA(strPath.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        SYSTEMTIME st = {2001, 1, 1, 1, 12, 0, 0, 0};
        FILETIME ft = {};
        ::SystemTimeToFileTime(&st, &ft);
        EXPECT_TRUE(::SetFileTime(hFile, nullptr, nullptr, &ft));
        ::CloseHandle(hFile);
        return strPath;
    }

    // The dialog, modeless under the host, holding the comment.
    void Open(CAnnotateDlg& dlg, const char* pszComment) {
        dlg.SetComment(pszComment);
        ASSERT_TRUE(dlg.Create(IDD_ANNOTATE, &m_host));
    }
    static std::vector<std::string> Items(CAnnotateDlg& dlg) {
        std::vector<std::string> items;
        const LRESULT nCount = dlg.SendDlgItemMessage(IDC_PREDEFINED_COMMENTS, CB_GETCOUNT);
        for (LRESULT i = 0; i < nCount; ++i) {
            char szItem[512] = "";
            dlg.SendDlgItemMessage(IDC_PREDEFINED_COMMENTS, CB_GETLBTEXT, i,
                                   reinterpret_cast<LPARAM>(szItem));
            items.push_back(szItem);
        }
        return items;
    }
    // Selects the entry as the user's choice does, with its notification.
    static void Choose(HWND hWndDlg, const char* pszEntry) {
        HWND hWndCombo = ::GetDlgItem(hWndDlg, IDC_PREDEFINED_COMMENTS);
        const LRESULT nIndex =
            ::SendMessageA(hWndCombo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(pszEntry));
        ASSERT_GE(nIndex, 0) << pszEntry;
        ::SendMessageA(hWndCombo, CB_SETCURSEL, static_cast<WPARAM>(nIndex), 0);
        ::SendMessageA(hWndDlg, WM_COMMAND, MAKEWPARAM(IDC_PREDEFINED_COMMENTS, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(hWndCombo));
    }
    static std::string EditText(HWND hWndDlg) {
        return WindowText(::GetDlgItem(hWndDlg, IDC_COMMENT));
    }

    std::string m_strCompany;
    std::string m_strConfig; // the all-users configuration folder, with a backslash
    CTempFolder m_folder;
    CHostWnd m_host;
};

TEST_F(AnnotateDlgTest, ThePredefinedCommentsComeFromCommentsTxt) {
    struct Case {
        const char* pszCase;
        const char* pszFile; // null: no file
        std::vector<std::string> items;
    } const cases[] = {
        {"Sale, an empty line, Refund", "Sale\r\n\r\nRefund\r\n", {"Sale", "Refund"}},
        {"a line of blanks, no line end at the end",
         "Sale\n   \nRefund",
         {"Sale", "   ", "Refund"}},
        {"only empty lines", "\r\n\n\r\n", kBuiltIns},
        {"an empty file", "", kBuiltIns},
        {"no file", nullptr, kBuiltIns},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszCase);
        ::DeleteFileA(CommentsPath().c_str());
        if (c.pszFile != nullptr) {
            ASSERT_TRUE(WriteWholeFile(CommentsPath(), c.pszFile));
        }
        CAnnotateDlg dlg;
        Open(dlg, "The customer called back.");
        EXPECT_EQ(Items(dlg), c.items);
        EXPECT_EQ(dlg.SendDlgItemMessage(IDC_PREDEFINED_COMMENTS, CB_GETCURSEL), CB_ERR);
        EXPECT_EQ(EditText(dlg.m_hWnd), "The customer called back.");
        dlg.DestroyWindow();
        // The file is only read: the built-in comments never reach it.
        if (c.pszFile == nullptr) {
            EXPECT_FALSE(FileExists(CommentsPath()));
        } else {
            EXPECT_EQ(ReadWholeFile(CommentsPath()), c.pszFile);
        }
    }
}

// The chosen comment replaces the whole text; with the loaded recording's
// bookmark it gets the bookmark line and block, composed without changing the
// recording: its comment stays, and unloading it rewrites nothing.
TEST_F(AnnotateDlgTest, AChosenCommentTakesTheBookmarkAndLeavesTheRecordingAlone) {
    const std::string strBookmarked =
        kLine65 + std::string("Old note") + Block("00:01:05", "00:02:10");
    const std::string strReversed = "Old note" + Block("00:02:10", "00:01:05");
    struct Case {
        const char* pszCase;
        std::string strComment; // of the recording
        bool bLoaded;
        std::string strShown;
    } const cases[] = {
        {"no bookmark", "Old note", true, "Complaint"},
        {"a bookmark", strBookmarked, true,
         kLine65 + std::string("Complaint") + Block("00:01:05", "00:02:10")},
        {"a bookmark that cannot be set again", strReversed, true, strReversed},
        {"nothing loaded", strBookmarked, false, "Complaint"},
    };
    ASSERT_TRUE(WriteWholeFile(CommentsPath(), "Sale\r\nComplaint\r\n"));
    CPlaybackManager* pEngine = CPlaybackManager::GetInstance();
    int nCase = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszCase);
        const std::string strPath =
            WriteRecording("call" + std::to_string(++nCase) + ".zel", c.strComment);
        const std::string strBytes = ReadWholeFile(strPath);
        const FILETIME ftBefore = FileWriteTime(strPath);
        ASSERT_TRUE(pEngine->Load(strPath.c_str()));
        if (!c.bLoaded) {
            pEngine->Unload();
        }
        CAnnotateDlg dlg;
        Open(dlg, c.strComment.c_str());
        ::SetDlgItemTextA(dlg.m_hWnd, IDC_COMMENT, "typed before the choice");
        Choose(dlg.m_hWnd, "Complaint");
        EXPECT_EQ(EditText(dlg.m_hWnd), c.strShown);
        EXPECT_EQ(std::string(pEngine->GetRecordFile()->GetComment()), c.strComment);
        dlg.DestroyWindow();
        pEngine->Unload();
        EXPECT_TRUE(SameTime(FileWriteTime(strPath), ftBefore));
        EXPECT_EQ(ReadWholeFile(strPath), strBytes);
    }
}

// Cancel after a choice stores nothing; the engine then unloads the recording
// without writing it. The same check does see a header that was changed.
TEST_F(AnnotateDlgTest, CancelAfterAChoiceChangesNothingOnDiskScreen) {
    const std::string strComment =
        kLine65 + std::string("Old note") + Block("00:01:05", "00:02:10");
    const std::string strPath = WriteRecording("bookmarked.zel", strComment);
    const std::string strBytes = ReadWholeFile(strPath);
    const FILETIME ftBefore = FileWriteTime(strPath);
    CPlaybackManager* pEngine = CPlaybackManager::GetInstance();
    ASSERT_TRUE(pEngine->Load(strPath.c_str()));

    CAnnotateDlg dlg;
    dlg.SetComment(pEngine->GetRecordFile()->GetComment());
    HWND hWndDlg = nullptr;
    std::string strCaption, strShown;
    CUiScript script([&] { ::PostMessageA(hWndDlg, WM_COMMAND, IDCANCEL, 0); },
                     {[&] { return (hWndDlg = FindThreadDialog()) != nullptr; },
                      [&] {
                          strCaption = WindowText(hWndDlg);
                          Choose(hWndDlg, "Complaint");
                          strShown = EditText(hWndDlg);
                          smalldlg::PumpTranslated(300);
                          CRect rcDlg;
                          ::GetWindowRect(hWndDlg, &rcDlg);
                          rcDlg.InflateRect(0, 0, 6, 6);
                          SaveScreenPng(rcDlg, "AnnotateDlg.png");
                          ::PostMessageA(hWndDlg, WM_COMMAND, IDCANCEL, 0);
                          return true;
                      }});
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_TRUE(script.Finished());
    EXPECT_EQ(strCaption, "Annotate the call");
    EXPECT_EQ(strShown, kLine65 + std::string("Complaint") + Block("00:01:05", "00:02:10"));
    EXPECT_EQ(std::string(pEngine->GetRecordFile()->GetComment()), strComment);
    pEngine->Unload();
    EXPECT_TRUE(SameTime(FileWriteTime(strPath), ftBefore));
    EXPECT_EQ(ReadWholeFile(strPath), strBytes);

    // A changed header is written back at the unload, and the time shows it.
    ASSERT_TRUE(pEngine->Load(strPath.c_str()));
    pEngine->GetRecordFile()->SetComment("stored by the caller");
    pEngine->Unload();
    EXPECT_FALSE(SameTime(FileWriteTime(strPath), ftBefore));
}

TEST_F(AnnotateDlgTest, OkTakesTheEditBoxsText) {
    CAnnotateDlg dlg;
    Open(dlg, "Old note");
    ::SetDlgItemTextA(dlg.m_hWnd, IDC_COMMENT, "New note\r\nwith a second line");
    dlg.SendMessage(WM_COMMAND, IDOK);
    EXPECT_FALSE(dlg.IsWindowVisible());
    EXPECT_EQ(std::string(dlg.GetComment()), "New note\r\nwith a second line");
}

TEST_F(AnnotateDlgTest, TypingStopsAt1024Characters) {
    CAnnotateDlg dlg;
    Open(dlg, "");
    CWnd* pEdit = dlg.GetDlgItem(IDC_COMMENT);
    EXPECT_EQ(pEdit->SendMessage(EM_GETLIMITTEXT), 1024);
    for (int i = 0; i < 1030; ++i)
        pEdit->SendMessage(WM_CHAR, 'a' + i % 26, 1);
    EXPECT_EQ(pEdit->GetWindowTextLength(), 1024);
    dlg.SendMessage(WM_COMMAND, IDOK);
    EXPECT_EQ(dlg.GetComment().GetLength(), 1024);
}

} // namespace
