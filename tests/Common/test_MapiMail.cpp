#include "native/gtest.h"

#include "Common/MapiMail.h"
#include "framework/Wnd.h"
#include "tests/support/AnsweringApp.h"
#include "tests/support/ChildProcess.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

CAnsweringApp theApp;

const char kFailedToLoad[] =
    "The mail system could not be loaded. Install a mail client to send mail.";
const char kFailedToSend[] = "The mail could not be sent.";

// What the mail client was handed, copied while the call lasts.
struct SentMail {
    int calls = 0;
    LHANDLE session = 1;
    ULONG_PTR parent = 1;
    FLAGS flags = 0;
    ULONG reserved = 1;
    std::string subject;
    std::string note;
    bool hasOriginator = false;
    ULONG recipients = 99;
    struct File {
        ULONG flags;
        ULONG position;
        std::string path;
        std::string name; // "(null)" for none
        bool hasType;
    };
    std::vector<File> files;
    bool parentEnabled = true;
};

SentMail g_sent;
ULONG g_result = SUCCESS_SUCCESS;

ULONG WINAPI RecordSendMail(LHANDLE session, ULONG_PTR parent, lpMapiMessage message, FLAGS flags,
                            ULONG reserved) {
    ++g_sent.calls;
    g_sent.session = session;
    g_sent.parent = parent;
    g_sent.flags = flags;
    g_sent.reserved = reserved;
    g_sent.subject = message->lpszSubject ? message->lpszSubject : "(null)";
    g_sent.note = message->lpszNoteText ? message->lpszNoteText : "(null)";
    g_sent.hasOriginator = message->lpOriginator != nullptr;
    g_sent.recipients = message->nRecipCount;
    g_sent.parentEnabled = IsWindowEnabled(reinterpret_cast<HWND>(parent)) != FALSE;
    for (ULONG i = 0; i < message->nFileCount; ++i) {
        const MapiFileDesc& file = message->lpFiles[i];
        g_sent.files.push_back(
            {file.flFlags, file.nPosition, file.lpszPathName ? file.lpszPathName : "(null)",
             file.lpszFileName ? file.lpszFileName : "(null)", file.lpFileType != nullptr});
    }
    return g_result;
}

class MapiMailTest : public ::testing::Test {
protected:
    MapiMailTest() {
        g_sent = SentMail();
        g_result = SUCCESS_SUCCESS;
        theApp.m_prompts.clear();
        theApp.m_answers.clear();
        CMapiMail::SetSendMailOverride(RecordSendMail);
    }
    ~MapiMailTest() override { CMapiMail::SetSendMailOverride(nullptr); }
};

TEST_F(MapiMailTest, TheMessageCarriesSubjectNoteAndAttachmentsAtTheEnd) {
    {
        CMapiMail mail;
        EXPECT_EQ(CMapiMail::ERROR_NONE, mail.GetError());
        mail.SetSubject("Recording With 555-0100 at 10:00");
        EXPECT_TRUE(mail.AddAttachment("C:\\calls\\a.wav", "call.wav"));
        EXPECT_TRUE(mail.AddAttachment("C:\\calls\\b.zel"));
        EXPECT_FALSE(mail.AddAttachment(nullptr, "no file"));
        mail.SetBody("Hi");
        EXPECT_TRUE(mail.Send(MAPI_DIALOG));
    }
    ASSERT_EQ(1, g_sent.calls);
    EXPECT_EQ(0u, g_sent.session);
    EXPECT_EQ(0u, g_sent.reserved);
    EXPECT_EQ(static_cast<FLAGS>(MAPI_DIALOG | MAPI_LOGON_UI), g_sent.flags);
    EXPECT_EQ("Recording With 555-0100 at 10:00", g_sent.subject);
    EXPECT_EQ("Hi  ", g_sent.note);
    EXPECT_TRUE(g_sent.hasOriginator);
    EXPECT_EQ(0u, g_sent.recipients);
    ASSERT_EQ(2u, g_sent.files.size());
    EXPECT_EQ(0u, g_sent.files[0].flags);
    EXPECT_EQ(2u, g_sent.files[0].position);
    EXPECT_EQ("C:\\calls\\a.wav", g_sent.files[0].path);
    EXPECT_EQ("call.wav", g_sent.files[0].name);
    EXPECT_FALSE(g_sent.files[0].hasType);
    EXPECT_EQ(3u, g_sent.files[1].position);
    EXPECT_EQ("C:\\calls\\b.zel", g_sent.files[1].path);
    EXPECT_EQ("(null)", g_sent.files[1].name);
    EXPECT_TRUE(theApp.m_prompts.empty());
}

TEST_F(MapiMailTest, TextsAreCopiedAndManyAttachmentsKeepTheirPlaces) {
    {
        CMapiMail mail;
        std::string subject = "Report", body = "Please find the attached report.";
        mail.SetSubject(subject.c_str());
        mail.SetBody(body.c_str());
        const int kFiles = 40;
        for (int i = 0; i < kFiles; ++i) {
            std::string path = "C:\\reports\\r" + std::to_string(i) + ".pdf";
            ASSERT_TRUE(mail.AddAttachment(path.c_str()));
        }
        subject.assign("overwritten");
        body.assign("overwritten as well, and longer");
        EXPECT_TRUE(mail.Send(MAPI_DIALOG));
    }
    const std::string body = "Please find the attached report.";
    EXPECT_EQ("Report", g_sent.subject);
    EXPECT_EQ(body + std::string(40, ' '), g_sent.note);
    ASSERT_EQ(40u, g_sent.files.size());
    for (ULONG i = 0; i < g_sent.files.size(); ++i) {
        EXPECT_EQ(body.size() + i, g_sent.files[i].position);
        EXPECT_EQ("C:\\reports\\r" + std::to_string(i) + ".pdf", g_sent.files[i].path);
    }
}

TEST_F(MapiMailTest, TheMailDialogRunsModallyAgainstTheMainWindow) {
    CWnd frame;
    ASSERT_TRUE(frame.Attach(CreateWindowExA(0, "STATIC", "Zel Moxel", WS_OVERLAPPEDWINDOW, 0, 0,
                                             300, 200, nullptr, nullptr, nullptr, nullptr)));
    frame.ShowWindow(SW_SHOW);
    theApp.m_pMainWnd = &frame;
    {
        CMapiMail mail;
        EXPECT_TRUE(mail.Send(MAPI_DIALOG));
    }
    theApp.m_pMainWnd = nullptr;
    ASSERT_EQ(1, g_sent.calls);
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(frame.GetSafeHwnd()), g_sent.parent);
    EXPECT_FALSE(g_sent.parentEnabled);
    // Afterwards the window takes input again.
    EXPECT_TRUE(frame.IsWindowEnabled());
    EXPECT_EQ(nullptr, GetCapture());
    frame.DestroyWindow();
}

TEST_F(MapiMailTest, OnlySuccessAndCancelCountAsSent) {
    struct Case {
        ULONG result;
        BOOL sent;
    };
    const Case cases[] = {
        {SUCCESS_SUCCESS, TRUE},
        {MAPI_USER_ABORT, TRUE},
        {MAPI_E_LOGIN_FAILURE, FALSE},
        {MAPI_E_FAILURE, FALSE},
        {MAPI_E_ATTACHMENT_NOT_FOUND, FALSE},
        {MAPI_E_NOT_SUPPORTED, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        theApp.m_prompts.clear();
        g_result = c.result;
        CMapiMail mail;
        mail.AddAttachment("C:\\calls\\a.wav");
        EXPECT_EQ(c.sent, mail.Send(MAPI_DIALOG));
        if (c.sent) {
            EXPECT_TRUE(theApp.m_prompts.empty());
        } else {
            ASSERT_EQ(1u, theApp.m_prompts.size());
            EXPECT_EQ(kFailedToSend, theApp.m_prompts[0]);
        }
    }
}

TEST_F(MapiMailTest, WithoutBodyOrAttachmentsTheNoteIsEmpty) {
    {
        CMapiMail mail;
        EXPECT_TRUE(mail.Send(MAPI_DIALOG));
    }
    ASSERT_EQ(1, g_sent.calls);
    EXPECT_EQ("", g_sent.note);
    EXPECT_EQ("(null)", g_sent.subject);
    EXPECT_TRUE(g_sent.files.empty());
}

// Runs in a child process that Wine starts with MAPI32 disabled (below).
TEST_F(MapiMailTest, DISABLED_ChildWithoutMailLibrary) {
    ASSERT_EQ(nullptr, GetModuleHandleA("MAPI32.DLL"));
    CMapiMail mail;
    EXPECT_EQ(CMapiMail::ERROR_NO_LIBRARY, mail.GetError());
    ASSERT_EQ(1u, theApp.m_prompts.size());
    EXPECT_EQ(kFailedToLoad, theApp.m_prompts[0]);
    mail.AddAttachment("C:\\calls\\a.wav");
    EXPECT_FALSE(mail.Send(MAPI_DIALOG));
    EXPECT_EQ(0, g_sent.calls);
    EXPECT_EQ(1u, theApp.m_prompts.size());
}

TEST_F(MapiMailTest, WithoutTheMailLibraryTheConstructorSaysSoAndNothingIsSent) {
    EXPECT_TRUE(RunTestInChild("MapiMailTest.DISABLED_ChildWithoutMailLibrary", "mapi32=d"));
}

} // namespace
