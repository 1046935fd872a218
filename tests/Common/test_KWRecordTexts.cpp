#include "native/gtest.h"

#include "Common/KWRecordFileHdr.h"
#include "Common/KWRecordTexts.h"
#include "tests/support/RecordingFixtures.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <climits>
#include <string>

namespace {

const char kBlockHead[] = "\r\n\r\n### System information do no edit! ###\r\n<bookmark>\r\n";

std::string Line(const char* time) {
    return std::string("Bookmark at:  ") + time + "\r\n";
}

std::string Block(const char* start, const char* end) {
    return std::string(kBlockHead) + "<bstart>" + start + "</bstart>\r\n<bend>" + end +
           "</bend>\r\n<bookmark>";
}

// The date text as the user's locale writes this moment, cut as the lists show it.
std::string LocaleText(const SYSTEMTIME& st) {
    char date[32] = "", clock[32] = "";
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, sizeof date);
    GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, clock, sizeof clock);
    return (std::string(date) + " " + clock).substr(0, 20);
}

TEST(RecordTextsTest, FormatDuration) {
    struct Case {
        int seconds;
        const char* text;
    };
    const Case cases[] = {
        {0, "00:00:00"},    {59, "00:00:59"},    {65, "00:01:05"},      {3599, "00:59:59"},
        {3600, "01:00:00"}, {86399, "23:59:59"}, {360000, "100:00:00"}, {-5, "00:00:00"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.text, FormatDuration(c.seconds)) << c.seconds;
}

TEST(RecordTextsTest, BookmarkOnAnEmptyCommentComesAndGoes) {
    CKWRecordFileHdr hdr;
    ASSERT_TRUE(hdr.SetBookmark(65, 130));
    const std::string comment = static_cast<const char*>(hdr.GetComment());
    EXPECT_EQ(140u, comment.size());
    EXPECT_EQ(Line("00:01:05") + Block("00:01:05", "00:02:10"), comment);

    int start = -1, end = -1;
    ASSERT_TRUE(hdr.GetBookmark(&start, &end));
    EXPECT_EQ(65, start);
    EXPECT_EQ(130, end);

    EXPECT_TRUE(hdr.SetBookmark(-1, -1));
    EXPECT_STREQ("", hdr.GetComment());
    EXPECT_FALSE(hdr.GetBookmark(&start, &end));
    EXPECT_FALSE(hdr.SetBookmark(-1, -1)); // nothing left to remove
}

TEST(RecordTextsTest, BookmarkAroundTheUsersText) {
    CKWRecordFileHdr hdr;
    const std::string text = "Customer will call back.";
    hdr.SetComment(text.c_str());
    ASSERT_TRUE(hdr.SetBookmark(5, 3700));
    EXPECT_EQ(Line("00:00:05") + text + Block("00:00:05", "01:01:40"),
              std::string(hdr.GetComment()));
    ASSERT_TRUE(hdr.SetBookmark(-1, -1));
    EXPECT_EQ(text, std::string(hdr.GetComment()));
}

// A long comment: the block goes at 907 so that it stays whole; what follows it
// beyond 1023 characters is cut.
TEST(RecordTextsTest, BookmarkOnAThousandCharacterComment) {
    CKWRecordFileHdr hdr;
    std::string text;
    for (int i = 0; i < 1000; ++i)
        text += static_cast<char>('a' + i % 26);
    hdr.SetComment(text.c_str());
    ASSERT_TRUE(hdr.SetBookmark(65, 130));
    const std::string comment = static_cast<const char*>(hdr.GetComment());
    ASSERT_EQ(1023u, comment.size());
    EXPECT_EQ(Line("00:01:05"), comment.substr(0, 24));
    EXPECT_EQ(text.substr(0, 907 - 24), comment.substr(24, 907 - 24));
    EXPECT_EQ(Block("00:01:05", "00:02:10"), comment.substr(907));
    int start = 0, end = 0;
    ASSERT_TRUE(hdr.GetBookmark(&start, &end));
    EXPECT_EQ(65, start);
    EXPECT_EQ(130, end);
}

// Times of 100 hours and more are nine characters long; they read back and
// clear without eating the user's text.
TEST(RecordTextsTest, BookmarkOfAHundredHoursAndMore) {
    CKWRecordFileHdr hdr;
    const std::string text = "Long conference.";
    hdr.SetComment(text.c_str());
    ASSERT_TRUE(hdr.SetBookmark(360000, 3600000 + 59));
    EXPECT_EQ(Line("100:00:00") + text + Block("100:00:00", "1000:00:59"),
              std::string(hdr.GetComment()));
    int start = 0, end = 0;
    ASSERT_TRUE(hdr.GetBookmark(&start, &end));
    EXPECT_EQ(360000, start);
    EXPECT_EQ(3600059, end);
    ASSERT_TRUE(hdr.SetBookmark(-1, -1));
    EXPECT_EQ(text, std::string(hdr.GetComment()));
}

TEST(RecordTextsTest, InvalidAreasChangeNothing) {
    CKWRecordFileHdr hdr;
    hdr.SetComment("note");
    const int pairs[][2] = {{10, 10}, {-1, 5}, {20, 10}, {-1, 0}, {-2, -2}};
    for (const auto& p : pairs) {
        EXPECT_FALSE(hdr.SetBookmark(p[0], p[1])) << p[0] << "," << p[1];
        EXPECT_STREQ("note", hdr.GetComment());
    }
}

TEST(RecordTextsTest, CommentsWithoutAReadableBlock) {
    const std::string good = Line("00:01:05") + Block("00:01:05", "00:02:10");
    std::string letters = good;
    letters.replace(letters.find("<bstart>") + 8, 8, "00:0a:05");
    const std::string once =
        "x\r\n<bookmark>\r\n<bstart>00:01:05</bstart>\r\n<bend>00:02:10</bend>";
    const std::string atStart =
        "<bookmark><bstart>00:01:05</bstart><bend>00:02:10</bend><bookmark>";
    const std::string endFirst =
        "x<bookmark><bend>00:02:10</bend><bstart>00:01:05</bstart><bookmark>";
    struct Case {
        const char* name;
        std::string comment;
    };
    // Signed or overflowing times would become positions outside the samples.
    const Case cases[] = {
        {"empty", ""},
        {"one <bookmark>", once},
        {"letters in the start time", letters},
        {"<bookmark> at index 0", atStart},
        {"<bend> before <bstart>", endFirst},
        {"no <bend>", good.substr(0, good.find("<bend>"))},
        {"negative hours", Block("-1:00:00", "00:02:10")},
        {"negative minutes", Block("00:-5:00", "00:02:10")},
        {"negative seconds", Block("00:00:-9", "00:02:10")},
        {"nearly INT_MIN", Block("-596523:14:08", "00:02:10")},
        {"negative end", Block("00:01:05", "-00:02:10")},
        {"one second past INT_MAX", Block("00:01:05", "596523:14:08")},
        {"eleven hour digits", Block("00:01:05", "99999999999:00:00")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CKWRecordFileHdr hdr;
        hdr.SetComment(c.comment.c_str());
        int start = 7, end = 8;
        EXPECT_FALSE(hdr.GetBookmark(&start, &end));
        EXPECT_EQ(7, start);
        EXPECT_EQ(8, end);
    }
    CKWRecordFileHdr hdr;
    hdr.SetComment(good.c_str());
    int start = 0, end = 0;
    EXPECT_TRUE(hdr.GetBookmark(&start, &end));

    // The largest time an int holds still reads.
    hdr.SetComment(("x" + Block("00:00:00", "596523:14:07")).c_str());
    ASSERT_TRUE(hdr.GetBookmark(&start, &end));
    EXPECT_EQ(0, start);
    EXPECT_EQ(INT_MAX, end);
}

// Each piece goes on its own: a stray line without its block is still removed.
TEST(RecordTextsTest, ClearingRemovesWhatIsThere) {
    CKWRecordFileHdr hdr;
    hdr.SetComment((Line("00:01:05") + "rest").c_str());
    EXPECT_TRUE(hdr.SetBookmark(-1, -1));
    EXPECT_STREQ("rest", hdr.GetComment());

    hdr.SetComment(("head" + Block("00:01:05", "00:02:10") + "tail").c_str());
    EXPECT_TRUE(hdr.SetBookmark(-1, -1));
    EXPECT_STREQ("headtail", hdr.GetComment());
}

// "DOKA" and "LEnKA" keep the recorder's clock time in the field: the text shows
// that clock time in every time zone.
TEST(RecordTextsTest, DateTextOfClockTimeRecorders) {
    const SYSTEMTIME clock = {2001, 9, 0, 9, 1, 46, 40, 0}; // 1,000,000,000
    for (const char* recorder : {"DOKA", "LEnKA"})
        EXPECT_EQ(LocaleText(clock), std::string(FormatStartTime(1000000000, recorder)))
            << recorder;

    // Any other recorder, "doka" included: the local time of that instant.
    const SYSTEMTIME utc = {2001, 9, 0, 9, 1, 46, 40, 0};
    SYSTEMTIME local;
    ASSERT_TRUE(SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local));
    for (const char* recorder : {"doka", "Unknown", "", "DOKA "})
        EXPECT_EQ(LocaleText(local), std::string(FormatStartTime(1000000000, recorder)))
            << recorder;
}

TEST(RecordTextsTest, HeaderTextsComeFromItsFields) {
    CTempFolder folder;
    RecordingFields f;
    f.startTime = 1000000000;
    f.recorderType = "DOKA";
    f.duration = 3725;
    f.secondDuration = 59;
    const std::string path = folder.File("doka.zel");
    ASSERT_TRUE(WriteWholeFile(path, MakeHeaderV2to4(4, 1440, f)));
    CKWRecordFileHdr hdr;
    ASSERT_EQ(1440u, hdr.LoadFromFile(path.c_str(), ""));
    const SYSTEMTIME clock = {2001, 9, 0, 9, 1, 46, 40, 0};
    EXPECT_EQ(LocaleText(clock), std::string(hdr.GetDateTimeText()));
    EXPECT_LE(hdr.GetDateTimeText().GetLength(), 20);
    EXPECT_STREQ("01:02:05", hdr.GetDurationText());
    EXPECT_STREQ("00:00:59", hdr.GetSecondDurationText());
}

} // namespace
