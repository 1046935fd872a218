#include "native/gtest.h"

#include "Common/KWFileListEntry.h"
#include "Common/KWRecordFileHdr.h"
#include "Common/KWRecordTexts.h"
#include "tests/support/RecordingFixtures.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <string>

namespace {

const char kPassphrase[] = "secret";
const char kBookmarkedComment[] =
    "Bookmark at:  00:01:05\r\nCall back.\r\n\r\n### System information do no edit! ###\r\n"
    "<bookmark>\r\n<bstart>00:01:05</bstart>\r\n<bend>00:02:10</bend>\r\n<bookmark>";

RecordingFields Sample() {
    RecordingFields f;
    f.format = 7;
    f.important = 1;
    f.callerId = "+49 30 1234567";
    f.comment = kBookmarkedComment;
    f.startTime = 1000000000;
    f.duration = 3725;
    f.userId = "agent7";
    f.recordType = 10;
    f.recorderType = "DOKA";
    f.secondDuration = 59;
    return f;
}

class KWFileListEntryTest : public ::testing::Test {
protected:
    std::string Make(const std::string& bytes, const char* name = "4711-20090115-103000.zel") {
        const std::string path = m_folder.File(name);
        EXPECT_TRUE(WriteWholeFile(path, bytes));
        return path;
    }

    CTempFolder m_folder;
};

void ExpectErrorTexts(const CKWFileListEntry& entry, const char* text, const char* comment) {
    EXPECT_STREQ(text, entry.GetCallerId());
    EXPECT_STREQ(text, entry.GetUserId());
    EXPECT_STREQ(text, entry.GetDateTimeText());
    EXPECT_STREQ(text, entry.GetDurationText());
    EXPECT_STREQ(comment, entry.GetComment());
    EXPECT_TRUE(entry.IsHeaderLoaded());
    EXPECT_FALSE(entry.HasBookmark());
}

TEST(KWFileListEntryDefaults, NewEntry) {
    CKWFileListEntry entry;
    EXPECT_STREQ("", entry.GetPath());
    for (const char* text : {entry.GetCallerId(), entry.GetUserId(), entry.GetDurationText(),
                             entry.GetDateTimeText(), entry.GetSecondDurationText()})
        EXPECT_STREQ("?", text);
    EXPECT_STREQ("", entry.GetComment());
    EXPECT_FALSE(entry.IsImportant());
    EXPECT_EQ(0, entry.GetStartTime());
    EXPECT_EQ(0, entry.GetDuration());
    EXPECT_EQ(0, entry.GetRecordType());
    EXPECT_FALSE(entry.IsHeaderLoaded());
    EXPECT_FALSE(entry.HasBookmark());
    EXPECT_FALSE(entry.IsEncrypted());
    EXPECT_EQ(0u, entry.GetFileSize());
}

TEST(KWFileListEntryDefaults, PathGivesUserIdAndDate) {
    const std::string longUser(140, 'u');
    struct Case {
        std::string path;
        const char* userId;
        std::string date;
    };
    const Case cases[] = {
        {"C:\\rec\\4711-20090115-103000.zel", "4711", "20090115-103000.zel"},
        {"C:\\rec\\call.zel", "?", "?"},
        {"C:\\rec-2009\\call.zel", "", "2009\\call.zel"},
        {"0815-2010.zel", "0815", "2010.zel"},
        {"C:\\rec\\-2011.zel", "", "2011.zel"},
        {"C:\\rec\\a-b-2012-x.zel", "a-b", "2012-x.zel"},
        {"C:\\r\\" + longUser + "-2013.zel", nullptr, "2013.zel"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        CKWFileListEntry entry;
        entry.SetPath(c.path.c_str());
        EXPECT_EQ(c.path, entry.GetPath());
        EXPECT_STREQ(c.userId ? c.userId : longUser.substr(0, 128).c_str(), entry.GetUserId());
        EXPECT_EQ(c.date, entry.GetDateTimeText());
        EXPECT_STREQ("?", entry.GetCallerId()); // the header is not read
    }

    // A second call overwrites what the first one filled.
    CKWFileListEntry entry;
    entry.SetPath("C:\\rec\\4711-20090115.zel");
    entry.SetPath("C:\\rec\\call.zel");
    EXPECT_STREQ("?", entry.GetUserId());
    EXPECT_STREQ("?", entry.GetDateTimeText());
}

// A path that does not fit would name another file once cut: it is not kept,
// and reading the header reports a file error.
TEST(KWFileListEntryDefaults, PathTooLongIsRefused) {
    CKWFileListEntry entry;
    const std::string fits = "C:\\" + std::string(250, 'f') + "-2.zel"; // 259 characters
    entry.SetPath(fits.c_str());
    EXPECT_EQ(fits, entry.GetPath());

    const std::string tooLong = "C:\\" + std::string(251, 'f') + "-2.zel"; // 260
    entry.SetPath(tooLong.c_str());
    EXPECT_STREQ("", entry.GetPath());
    EXPECT_STREQ("?", entry.GetUserId());
    EXPECT_FALSE(entry.LoadHeader(kPassphrase));
    ExpectErrorTexts(entry, "File error!",
                     "File error! Unable to find or open the filename specified!");
}

TEST_F(KWFileListEntryTest, LoadHeaderFillsTheEntry) {
    RecordingFields f = Sample();
    f.callerId = std::string(128, 'c'); // a full field, no terminator
    const std::string path = Make(MakeHeaderV2to4(4, 1440, f) + std::string(8000, '\x7f'));
    CKWFileListEntry entry;
    entry.SetPath(path.c_str());
    ASSERT_TRUE(entry.LoadHeader(""));

    EXPECT_TRUE(entry.IsImportant());
    EXPECT_EQ(1000000000, entry.GetStartTime());
    EXPECT_EQ(3725, entry.GetDuration());
    EXPECT_EQ(59, entry.GetSecondDuration());
    EXPECT_EQ(10, entry.GetRecordType());
    EXPECT_EQ(std::string(127, 'c'), entry.GetCallerId());
    EXPECT_STREQ("agent7", entry.GetUserId());
    EXPECT_STREQ(FormatStartTime(1000000000, "DOKA"), entry.GetDateTimeText());
    EXPECT_STREQ("01:02:05", entry.GetDurationText());
    EXPECT_STREQ("00:00:59", entry.GetSecondDurationText());
    EXPECT_STREQ(kBookmarkedComment, entry.GetComment());
    EXPECT_TRUE(entry.HasBookmark());
    EXPECT_FALSE(entry.IsEncrypted());
    EXPECT_TRUE(entry.IsHeaderLoaded());
    EXPECT_EQ(1440u + 8000u, entry.GetFileSize());
}

TEST_F(KWFileListEntryTest, EncryptedRecordingWithAndWithoutItsPassphrase) {
    const std::string path =
        Make(MakeHeaderV5(Sample(), LowercaseCheckString(kPassphrase), 2) + std::string(320, 'a'));
    CKWFileListEntry entry;
    entry.SetPath(path.c_str());
    ASSERT_TRUE(entry.LoadHeader(kPassphrase));
    EXPECT_TRUE(entry.IsEncrypted());
    EXPECT_STREQ("+49 30 1234567", entry.GetCallerId());
    EXPECT_TRUE(entry.HasBookmark());

    // A failure keeps the numbers of the last read and shows the reason.
    for (const char* passphrase : {"Secret", ""}) {
        SCOPED_TRACE(passphrase);
        EXPECT_FALSE(entry.LoadHeader(passphrase));
        ExpectErrorTexts(entry, "Decryption error!",
                         "Decryption error! Unable to decrypt the file using the passphrase "
                         "specified!");
        EXPECT_TRUE(entry.IsEncrypted());
        EXPECT_EQ(3725, entry.GetDuration());
        EXPECT_EQ(1000000000, entry.GetStartTime());
    }
}

TEST_F(KWFileListEntryTest, FileErrors) {
    RecordingFields f = Sample();
    struct Case {
        const char* name;
        std::string path;
    };
    const Case cases[] = {
        {"missing file", m_folder.File("1-20090101.zel")},
        {"no path", ""},
        {"version 6", Make(MakeHeaderOfUnknownVersion(6, f), "6-2009.zel")},
        {"a folder", m_folder.Path()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CKWFileListEntry entry;
        entry.SetPath(c.path.c_str());
        EXPECT_FALSE(entry.LoadHeader(kPassphrase));
        ExpectErrorTexts(entry, "File error!",
                         "File error! Unable to find or open the filename specified!");
        EXPECT_FALSE(entry.IsEncrypted());
        EXPECT_EQ(0, entry.GetDuration());
    }
}

TEST_F(KWFileListEntryTest, BookmarkFlagOfALoadedEntry) {
    RecordingFields f = Sample();
    f.comment = "no area";
    const std::string path = Make(MakeHeaderV2to4(4, 1440, f));
    const std::string before = ReadWholeFile(path);
    CKWFileListEntry entry;
    entry.SetPath(path.c_str());
    ASSERT_TRUE(entry.LoadHeader(""));
    ASSERT_FALSE(entry.HasBookmark());

    entry.SetBookmark(65, 130, "");
    EXPECT_TRUE(entry.HasBookmark());
    entry.SetBookmark(-1, -1, "");
    EXPECT_FALSE(entry.HasBookmark());
    entry.SetBookmark(20, 10, "");
    EXPECT_FALSE(entry.HasBookmark());
    EXPECT_EQ(before, ReadWholeFile(path)); // the file is not changed here
    EXPECT_STREQ("no area", entry.GetComment());
}

// Not loaded yet: the header is read first, so clearing an area that the file
// holds clears the flag.
TEST_F(KWFileListEntryTest, BookmarkFlagOfAnEntryNotLoaded) {
    const std::string path = Make(MakeHeaderV2to4(4, 1440, Sample()));
    const std::string before = ReadWholeFile(path);
    CKWFileListEntry entry;
    entry.SetPath(path.c_str());
    entry.SetBookmark(-1, -1, "");
    EXPECT_FALSE(entry.HasBookmark());
    entry.SetBookmark(10, 20, "");
    EXPECT_TRUE(entry.HasBookmark());
    EXPECT_FALSE(entry.IsHeaderLoaded());
    EXPECT_EQ(before, ReadWholeFile(path));

    // A header that cannot be read changes nothing.
    CKWFileListEntry missing;
    missing.SetPath(m_folder.File("gone-2009.zel").c_str());
    missing.SetBookmark(10, 20, "");
    EXPECT_FALSE(missing.HasBookmark());
}

TEST_F(KWFileListEntryTest, CopiesAreIndependentValues) {
    const std::string path = Make(MakeHeaderV2to4(4, 1440, Sample()));
    CKWFileListEntry original;
    original.SetPath(path.c_str());
    ASSERT_TRUE(original.LoadHeader(""));

    CKWFileListEntry copy(original);
    CKWFileListEntry assigned;
    assigned = original;
    original.SetCallerId("changed");
    original.SetComment("changed");
    original.m_important = 0;
    for (const CKWFileListEntry* e : {&copy, &assigned}) {
        EXPECT_STREQ(path.c_str(), e->GetPath());
        EXPECT_STREQ("+49 30 1234567", e->GetCallerId());
        EXPECT_STREQ("agent7", e->GetUserId());
        EXPECT_STREQ(kBookmarkedComment, e->GetComment());
        EXPECT_STREQ("01:02:05", e->GetDurationText());
        EXPECT_STREQ("00:00:59", e->GetSecondDurationText());
        EXPECT_STREQ(original.GetDateTimeText(), e->GetDateTimeText());
        EXPECT_TRUE(e->IsImportant());
        EXPECT_EQ(3725, e->GetDuration());
        EXPECT_TRUE(e->HasBookmark());
        EXPECT_TRUE(e->IsHeaderLoaded());
    }
}

TEST(KWFileListEntryDefaults, SettersKeepTheFieldTerminated) {
    CKWFileListEntry entry;
    entry.SetCallerId(std::string(300, 'c').c_str());
    entry.SetComment(std::string(3000, 'm').c_str());
    EXPECT_EQ(std::string(128, 'c'), entry.GetCallerId());
    EXPECT_EQ(std::string(1024, 'm'), entry.GetComment());
    entry.SetCallerId(nullptr);
    EXPECT_STREQ("", entry.GetCallerId());
    EXPECT_STREQ("?", entry.GetUserId());
}

} // namespace
