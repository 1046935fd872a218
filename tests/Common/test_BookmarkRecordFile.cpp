// Tests of CBookmarkRecordFile: the crop to the bookmark area (rates, areas at
// and past the end, a header without duration), the copy written as a GSM
// recording (clear and protected) and read back, its dialog, and its mail.
#include "native/gtest.h"

#include "Common/BookmarkRecordFile.h"
#include "Common/KWRecordTexts.h"
#include "Common/Settings.h"
#include "tests/support/AnsweringApp.h"
#include "tests/support/AudioFixtures.h"
#include "tests/support/RecordFileHelpers.h"
#include "tests/support/RecordingFixtures.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UiScript.h"

#include <windows.h>

#include <string>
#include <vector>

CAnsweringApp theApp;

namespace {

const int32_t kMuLaw = 7;
const int32_t kGsm = 49;
const int32_t kStartTime = 1000000000;

RecordingFields Fields(int32_t duration, const std::string& comment) {
    RecordingFields fields;
    fields.format = kMuLaw;
    fields.callerId = "5550100";
    fields.comment = comment;
    fields.startTime = kStartTime;
    fields.duration = duration;
    return fields;
}

class BookmarkTest : public ::testing::Test {
protected:
    BookmarkTest() {
        theApp.m_prompts.clear();
        CSettings::GetInstance()->SetPassphrase("");
    }
    ~BookmarkTest() override { CSettings::GetInstance()->SetPassphrase(""); }

    // A mu-law recording of count samples, opened as the player's recording.
    std::string MakeSource(const std::string& name, int32_t count, int32_t duration,
                           const std::string& comment) {
        const std::string path = m_folder.File(name);
        EXPECT_TRUE(WriteWholeFile(path, MakeHeaderV2to4(4, 1440, Fields(duration, comment)) +
                                             EncodeMuLaw(MakeTestSignal(count, 13))));
        m_source.Close(); // a path loaded before would keep its old samples
        EXPECT_TRUE(m_source.Load(path.c_str(), ""));
        return path;
    }

    CTempFolder m_folder;
    CKWRecordFile m_source;
};

TEST_F(BookmarkTest, CropKeepsTheAreaAtTheRecordingsOwnRate) {
    struct Case {
        const char* name;
        int32_t samples, duration, start, end;
        bool cut;
        int32_t first, count, newDuration;
    };
    const Case cases[] = {
        {"nominal rate", 640000, 80, 10, 20, true, 80000, 80000, 10},
        {"rate 7987", 639000, 80, 10, 20, true, 79870, 79870, 10},
        {"end past the last sample", 640000, 80, 70, 90, true, 560000, 80000, 10},
        {"no duration: 8000 a second", 24000, 0, 1, 2, true, 8000, 8000, 1},
        {"start at the last sample", 640000, 80, 80, 90, false, 0, 0, 80},
        {"start past the last sample", 640000, 80, 100, 110, false, 0, 0, 80},
    };
    for (const Case& c : cases) {
        const std::string path = MakeSource("call.zel", c.samples, c.duration,
                                            BookmarkComment(c.start, c.end, "call back"));
        const std::string before = ReadWholeFile(path);
        {
            CBookmarkRecordFile copy(&m_source);
            ASSERT_TRUE(copy.IsReady()) << c.name;
            EXPECT_EQ(c.cut, copy.CropToBookmark()) << c.name;
            EXPECT_EQ(c.count, copy.GetSampleCount()) << c.name;
            EXPECT_EQ(c.newDuration, copy.GetDuration()) << c.name;
            if (c.cut) {
                const std::vector<int16_t> all = SamplesOf(m_source);
                EXPECT_TRUE(
                    std::vector<int16_t>(all.begin() + c.first, all.begin() + c.first + c.count) ==
                    SamplesOf(copy))
                    << c.name;
                int start = 0, end = 0;
                EXPECT_FALSE(copy.GetBookmark(&start, &end)) << c.name;
                EXPECT_STREQ("call back", copy.GetComment()) << c.name;
            }
            // The copy never writes into the source's file.
            copy.SetImportant(1);
            EXPECT_FALSE(copy.FlushHeader()) << c.name;
        }
        EXPECT_TRUE(before == ReadWholeFile(path)) << c.name;
        EXPECT_EQ(c.samples, m_source.GetSampleCount()) << c.name;
    }
}

TEST_F(BookmarkTest, CropWithoutAnAreaChangesNothing) {
    MakeSource("call.zel", 16000, 2, "no area here");
    CBookmarkRecordFile copy(&m_source);
    EXPECT_FALSE(copy.CropToBookmark());
    EXPECT_EQ(16000, copy.GetSampleCount());
    EXPECT_EQ(2, copy.GetDuration());
    EXPECT_STREQ("no area here", copy.GetComment());
}

// A block whose times carry a sign or pass an int is no area: the copy keeps
// every sample and nothing from before them is taken in.
TEST_F(BookmarkTest, CropOfSignedOrOverflowingTimesChangesNothing) {
    const struct {
        const char* start;
        const char* end;
    } cases[] = {
        {"00:00:-9", "00:00:10"},      {"00:-5:00", "00:00:10"},  {"-1:00:00", "00:00:10"},
        {"-596523:14:08", "00:00:01"}, {"00:00:01", "-00:00:02"}, {"00:00:01", "596523:14:08"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << " " << c.end);
        const std::string comment =
            std::string("Bookmark at:  ") + c.start +
            "\r\n\r\n\r\n### System information do no edit! ###\r\n<bookmark>\r\n<bstart>" +
            c.start + "</bstart>\r\n<bend>" + c.end + "</bend>\r\n<bookmark>";
        MakeSource("call.zel", 16000, 2, comment);
        CBookmarkRecordFile copy(&m_source);
        ASSERT_TRUE(copy.IsReady());
        EXPECT_FALSE(copy.CropToBookmark());
        EXPECT_EQ(16000, copy.GetSampleCount());
        EXPECT_EQ(2, copy.GetDuration());
        EXPECT_TRUE(SamplesOf(m_source) == SamplesOf(copy));
    }
}

TEST_F(BookmarkTest, SavedCopyOpensAsAGsmRecordingOfTheArea) {
    MakeSource("call.zel", 640000, 80, BookmarkComment(10, 20));
    CBookmarkRecordFile copy(&m_source);
    ASSERT_TRUE(copy.CropToBookmark());
    const std::string saved = m_folder.File("area.zel");
    ASSERT_TRUE(copy.SaveAsZel(saved.c_str()));

    const std::string bytes = ReadWholeFile(saved);
    EXPECT_EQ(17940u, bytes.size()); // 1440 + 500 frames of 33 bytes
    EXPECT_EQ(4u, ReadLE32(bytes, 0));
    EXPECT_EQ(static_cast<uint32_t>(kGsm), ReadLE32(bytes, 8));

    CKWRecordFile reread;
    ASSERT_TRUE(reread.LoadAndWait(saved.c_str()));
    EXPECT_EQ(80000, reread.GetSampleCount());
    EXPECT_EQ(10, reread.GetDuration());
    int start = 0, end = 0;
    EXPECT_FALSE(reread.GetBookmark(&start, &end));
    EXPECT_GT(Correlation(SamplesOf(copy), SamplesOf(reread)), 0.9);

    // A file that cannot be created: false, nothing left.
    const std::string nowhere = m_folder.File("missing\\area.zel");
    EXPECT_FALSE(copy.SaveAsZel(nowhere.c_str()));
    EXPECT_FALSE(FileExists(nowhere));
}

TEST_F(BookmarkTest, CopyOfAProtectedRecordingIsProtectedAndReadsBack) {
    const std::string check = LowercaseCheckString("secret");
    const std::string path = m_folder.File("locked.zel");
    const std::string plain = EncodeMuLaw(MakeTestSignal(640000, 17));
    ASSERT_TRUE(WriteWholeFile(path, MakeHeaderV5(Fields(80, BookmarkComment(10, 20)), check, 0) +
                                         EncryptLikeRecorder(plain, check, 0)));
    ASSERT_TRUE(m_source.Load(path.c_str(), "secret"));
    CSettings::GetInstance()->SetPassphrase("secret");

    CBookmarkRecordFile copy(&m_source);
    ASSERT_TRUE(copy.CropToBookmark());
    const std::string saved = m_folder.File("area.zel");
    ASSERT_TRUE(copy.SaveAsZel(saved.c_str()));

    const std::string bytes = ReadWholeFile(saved);
    ASSERT_EQ(1488u + 500 * 33, bytes.size());
    EXPECT_EQ(5u, ReadLE32(bytes, 0));
    // Plain GSM frames all begin with the nibble 0xD; enciphered ones mostly not.
    int plainLooking = 0;
    for (size_t at = 1488; at < bytes.size(); at += 33)
        plainLooking += (static_cast<uint8_t>(bytes[at]) & 0xF0) == 0xD0;
    EXPECT_LT(plainLooking, 100);

    CKWRecordFile reread;
    ASSERT_TRUE(reread.LoadAndWait(saved.c_str()));
    EXPECT_EQ(80000, reread.GetSampleCount());
    EXPECT_EQ(10, reread.GetDuration());
    EXPECT_GT(Correlation(SamplesOf(copy), SamplesOf(reread)), 0.9);
    reread.Close();
    EXPECT_FALSE(reread.Load(saved.c_str(), "not it"));
}

TEST_F(BookmarkTest, SaveDialogWritesTheAreaUnderTheChosenName) {
    MakeSource("call 5.zel", 640000, 80, BookmarkComment(10, 20));
    CBookmarkRecordFile copy(&m_source);
    ASSERT_TRUE(copy.CropToBookmark());
    std::string suggested;
    CUiScript script({[&]() {
        HWND dialog = FindThreadDialog();
        if (!dialog || !::GetDlgItem(dialog, IDOK))
            return false;
        HWND nameBox = ::GetDlgItem(dialog, 0x47C); // cmb13, else edt1
        if (!nameBox)
            nameBox = ::GetDlgItem(dialog, 0x480);
        char text[MAX_PATH] = {};
        ::GetWindowTextA(nameBox, text, MAX_PATH);
        suggested = text;
        ::SetWindowTextA(nameBox, m_folder.File("part").c_str());
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                       (LPARAM)::GetDlgItem(dialog, IDOK));
        return true;
    }});
    EXPECT_TRUE(copy.SaveAsZelDlg());
    EXPECT_EQ("call 5", suggested);
    EXPECT_EQ(17940u, ReadWholeFile(m_folder.File("part.zel")).size());
    EXPECT_TRUE(theApp.m_prompts.empty());
}

TEST_F(BookmarkTest, MailOfTheTemporaryCopyDeletesItWhenAsked) {
    // The temporary folder is shared by every test program: a name of our own.
    const std::string base = "bookmark-" + std::to_string(GetCurrentProcessId());
    MakeSource(base + ".zel", 640000, 80, BookmarkComment(10, 20));
    CBookmarkRecordFile copy(&m_source);
    ASSERT_TRUE(copy.CropToBookmark());

    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string temp = std::string(folder) + base + ".zel";
    if (std::string(folder).back() != '\\')
        temp = std::string(folder) + "\\" + base + ".zel";
    EXPECT_STREQ(temp.c_str(), copy.MakeTempPath(".zel"));
    ASSERT_TRUE(copy.SaveAsZel(temp.c_str()));

    const std::string date = FormatStartTime(kStartTime, "Unknown").GetString();
    CMailCapture capture;
    EXPECT_TRUE(copy.Email(temp.c_str(), true));
    ASSERT_EQ(1u, capture.mails.size());
    EXPECT_EQ("Recording With 5550100 at " + date, capture.mails[0].subject);
    EXPECT_EQ(std::vector<std::string>{temp}, capture.mails[0].attachments);
    EXPECT_EQ(17940u, capture.mails[0].attachmentBytes[0].size());
    EXPECT_FALSE(FileExists(temp));

    // The recording's own file is mailed as it is and stays.
    const std::string own = m_source.GetPath().GetString();
    EXPECT_TRUE(copy.Email(own.c_str(), false));
    ASSERT_EQ(2u, capture.mails.size());
    EXPECT_TRUE(ReadWholeFile(own) == capture.mails[1].attachmentBytes[0]);
    EXPECT_TRUE(FileExists(own));
}

} // namespace
