#include "native/gtest.h"

#include "Common/KWAESCipher.h"
#include "Common/KWRecordFileHdr.h"
#include "tests/support/RecordingFixtures.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <ctime>
#include <string>

namespace {

const char kPassphrase[] = "secret";

// Audio bytes that differ from one offset to the next, so that a header
// written over them shows.
std::string Audio(size_t count) {
    std::string audio(count, '\0');
    for (size_t i = 0; i < count; ++i)
        audio[i] = static_cast<char>(0x80 + i % 97);
    return audio;
}

RecordingFields Sample() {
    RecordingFields f;
    f.format = 49;
    f.important = 1;
    f.callerId = "+49 30 1234567";
    f.comment = "Customer asked about the invoice.";
    f.startTime = 1000000000;
    f.duration = 35;
    f.userId = "4711";
    f.recordType = 3;
    f.recorderType = "ZX-200";
    f.secondDuration = 12;
    return f;
}

class KWRecordFileHdrTest : public ::testing::Test {
protected:
    std::string Make(const std::string& bytes, const char* name = "call.zel") {
        const std::string path = m_folder.File(name);
        EXPECT_TRUE(WriteWholeFile(path, bytes));
        return path;
    }

    CTempFolder m_folder;
    CKWRecordFileHdr m_hdr;
};

void ExpectFields(const CKWRecordFileHdr& hdr, const RecordingFields& f, bool laterFields) {
    EXPECT_EQ(f.format, hdr.GetFormat());
    EXPECT_EQ(f.important, hdr.GetImportant());
    EXPECT_STREQ(f.callerId.c_str(), hdr.GetCallerId());
    EXPECT_STREQ(f.comment.c_str(), hdr.GetComment());
    EXPECT_EQ(f.startTime, hdr.GetStartTime());
    EXPECT_EQ(f.duration, hdr.GetDuration());
    if (laterFields) {
        EXPECT_STREQ(f.userId.c_str(), hdr.GetUserId());
        EXPECT_EQ(f.recordType, hdr.GetRecordType());
        EXPECT_STREQ(f.recorderType.c_str(), hdr.GetRecorderType());
        EXPECT_EQ(f.secondDuration, hdr.GetSecondDuration());
    } else {
        EXPECT_STREQ("", hdr.GetUserId());
        EXPECT_EQ(0, hdr.GetRecordType());
        EXPECT_STREQ("n/a", hdr.GetRecorderType());
        EXPECT_EQ(0, hdr.GetSecondDuration());
    }
}

TEST_F(KWRecordFileHdrTest, NewHeaderWrittenToAnEmptyFile) {
    const time_t before = time(nullptr);
    CKWRecordFileHdr fresh;
    EXPECT_GE(fresh.GetStartTime(), before);
    EXPECT_LE(fresh.GetStartTime(), time(nullptr));
    const std::string path = m_folder.File("new.zel");
    ASSERT_TRUE(fresh.SaveToFile(path.c_str()));

    const std::string bytes = ReadWholeFile(path);
    ASSERT_EQ(1440u, bytes.size());
    const unsigned char first[12] = {0x04, 0x00, 0x00, 0x00, 0xA0, 0x05,
                                     0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(first), 12), bytes.substr(0, 12));
    EXPECT_EQ(0xFFFFFFFFu, ReadLE32(bytes, 1308)); // record type -1
    EXPECT_STREQ("Unknown", bytes.c_str() + 1312);
    EXPECT_FALSE(fresh.IsEncrypted());
}

TEST_F(KWRecordFileHdrTest, ReadsEveryVersion) {
    const RecordingFields f = Sample();
    const std::string check = LowercaseCheckString(kPassphrase);
    struct Case {
        const char* name;
        std::string header;
        uint32_t audioOffset;
        bool laterFields;
        bool encrypted;
    };
    const Case cases[] = {
        {"v1", MakeHeaderV1(f), 1176, false, false},
        {"v2", MakeHeaderV2to4(2, 1440, f), 1440, true, false},
        {"v3", MakeHeaderV2to4(3, 1440, f), 1440, true, false},
        {"v4", MakeHeaderV2to4(4, 1440, f), 1440, true, false},
        {"v5 clear", MakeHeaderV5(f, check, -1), 1488, true, true},
        {"v5 AES-128", MakeHeaderV5(f, check, 0), 1488, true, true},
        {"v5 AES-192", MakeHeaderV5(f, check, 1), 1488, true, true},
        {"v5 AES-256", MakeHeaderV5(f, check, 2), 1488, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Make(c.header + Audio(3300));
        EXPECT_EQ(c.audioOffset, m_hdr.LoadFromFile(path.c_str(), kPassphrase));
        ExpectFields(m_hdr, f, c.laterFields);
        EXPECT_EQ(c.encrypted, m_hdr.IsEncrypted());
        if (c.encrypted) {
            EXPECT_STREQ(check.c_str(), m_hdr.GetCheckString());
            EXPECT_EQ(4u, m_hdr.GetVersion()); // the version stored inside the record
        }
    }
}

// Recorders of another make may store the digits of the check string in any case.
TEST_F(KWRecordFileHdrTest, StoredCheckStringOfAnyCaseOpensTheFile) {
    CKWAESCipher cipher;
    std::string upper = LowercaseCheckString(kPassphrase);
    for (char& c : upper)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    const std::string mixed = static_cast<const char*>(cipher.MakeCheckString(kPassphrase));
    for (const std::string& check : {upper, mixed}) {
        SCOPED_TRACE(check);
        const std::string path = Make(MakeHeaderV5(Sample(), check, 2));
        EXPECT_EQ(1488u, m_hdr.LoadFromFile(path.c_str(), kPassphrase));
        EXPECT_STREQ(Sample().callerId.c_str(), m_hdr.GetCallerId());
        // The key is the stored text, case and all.
        EXPECT_STREQ(check.c_str(), m_hdr.GetCheckString());
    }
}

TEST_F(KWRecordFileHdrTest, HeaderLengthIsClampedAndGivesTheAudioOffset) {
    const RecordingFields f = Sample();
    // Above 1440: a 1440-byte header, audio from 1440.
    std::string path = Make(MakeHeaderV2to4(2, 5000, f) + Audio(100));
    EXPECT_EQ(1440u, m_hdr.LoadFromFile(path.c_str(), ""));
    ExpectFields(m_hdr, f, true);
    EXPECT_EQ(1440u, m_hdr.GetHeaderLength());

    // Below 8: only the version and the length.
    path = Make(MakeHeaderV2to4(2, 3, f) + Audio(100));
    EXPECT_EQ(8u, m_hdr.LoadFromFile(path.c_str(), ""));
    EXPECT_EQ(8u, m_hdr.GetHeaderLength());
    EXPECT_EQ(0, m_hdr.GetFormat());
    EXPECT_STREQ("", m_hdr.GetCallerId());
    EXPECT_STREQ("n/a", m_hdr.GetRecorderType());

    // 200: the comment is cut where the header ends, without a terminator.
    RecordingFields longComment = f;
    longComment.comment = std::string(300, 'c');
    path = Make(MakeHeaderV2to4(3, 200, longComment) + Audio(100));
    EXPECT_EQ(200u, m_hdr.LoadFromFile(path.c_str(), ""));
    EXPECT_EQ(std::string(200 - 144, 'c'), std::string(m_hdr.GetComment()));
    EXPECT_EQ(0, m_hdr.GetStartTime());
}

TEST_F(KWRecordFileHdrTest, VersionFourWithoutDurationTakesItFromTheAudioSize) {
    struct Case {
        uint32_t version;
        int32_t format;
        int32_t storedDuration;
        size_t audioBytes;
        int32_t expected;
    };
    const Case cases[] = {
        {4, 49, 0, 33000, 20},  // 1000 GSM frames of 160 samples
        {3, 49, 0, 33000, 0},   // only version 4 computes it
        {4, 17, 0, 256000, 63}, // 1000 ADPCM blocks of 504 samples
        {4, 6, 0, 16000, 2},    // A-law, one byte a sample
        {4, 7, 0, 23999, 2},    // mu-law, truncating
        {4, -1, 0, 16000, 0},   // no format, no duration
        {4, 49, 7, 33000, 7},   // a stored duration stays
        {4, 7, 0, 0, 0},        // no audio at all
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "v" << c.version << " format " << c.format << " "
                                        << c.audioBytes << " bytes");
        RecordingFields f;
        f.format = c.format;
        f.duration = c.storedDuration;
        const std::string path = Make(MakeHeaderV2to4(c.version, 1440, f) + Audio(c.audioBytes));
        EXPECT_EQ(1440u, m_hdr.LoadFromFile(path.c_str(), ""));
        EXPECT_EQ(c.expected, m_hdr.GetDuration());
    }
    // A file cut inside its header has no audio and no negative duration.
    RecordingFields f;
    f.format = 7;
    const std::string path = Make(MakeHeaderV2to4(4, 1440, f).substr(0, 1200));
    EXPECT_EQ(1440u, m_hdr.LoadFromFile(path.c_str(), ""));
    EXPECT_EQ(0, m_hdr.GetDuration());
}

TEST_F(KWRecordFileHdrTest, TextFieldsWithoutTerminatorEndAtTheirWidth) {
    RecordingFields f = Sample();
    f.callerId = std::string(128, 'C');
    f.comment = std::string(1024, 'M');
    f.userId = std::string(128, 'U');
    f.recorderType = std::string(120, 'R');
    const std::string path = Make(MakeHeaderV2to4(4, 1440, f));
    ASSERT_EQ(1440u, m_hdr.LoadFromFile(path.c_str(), ""));
    EXPECT_EQ(f.callerId, std::string(m_hdr.GetCallerId()));
    EXPECT_EQ(f.comment, std::string(m_hdr.GetComment()));
    EXPECT_EQ(f.userId, std::string(m_hdr.GetUserId()));
    EXPECT_EQ(f.recorderType, std::string(m_hdr.GetRecorderType()));

    // The setters keep the last byte of each field for the terminator.
    m_hdr.SetCallerId(std::string(200, 'x').c_str());
    m_hdr.SetComment(std::string(2000, 'y').c_str());
    EXPECT_EQ(127, m_hdr.GetCallerId().GetLength());
    EXPECT_EQ(1023, m_hdr.GetComment().GetLength());
    EXPECT_EQ(f.userId, std::string(m_hdr.GetUserId())); // the neighbour is untouched
}

TEST_F(KWRecordFileHdrTest, FailedReadsSayWhyAndAreNeverWrittenBack) {
    const RecordingFields f = Sample();
    const std::string check = LowercaseCheckString(kPassphrase);
    const std::string v5 = MakeHeaderV5(f, check, 0) + Audio(500);
    struct Case {
        const char* name;
        std::string bytes;
        const char* passphrase;
        bool encrypted;
    };
    const Case cases[] = {
        {"version 0", MakeHeaderOfUnknownVersion(0, f) + Audio(500), kPassphrase, false},
        {"version 6", MakeHeaderOfUnknownVersion(6, f) + Audio(500), kPassphrase, false},
        {"empty file", "", kPassphrase, false},
        {"wrong passphrase", v5, "Secret", true},
        {"empty passphrase", v5, "", true},
        {"key-length code 3", MakeHeaderV5(f, check, 3) + Audio(500), kPassphrase, true},
        {"cut in the check block", v5.substr(0, 30), kPassphrase, true},
        {"cut in the record", v5.substr(0, 48 + 1000), kPassphrase, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Make(c.bytes);
        EXPECT_EQ(0u, m_hdr.LoadFromFile(path.c_str(), c.passphrase));
        EXPECT_EQ(c.encrypted, m_hdr.IsEncrypted());
        if (c.encrypted) {
            EXPECT_EQ(5u, m_hdr.GetVersion());
            EXPECT_STREQ("", m_hdr.GetCallerId());
            EXPECT_STREQ("", m_hdr.GetComment());
            EXPECT_STREQ("n/a", m_hdr.GetRecorderType());
        } else {
            EXPECT_STREQ("ERROR!", m_hdr.GetCallerId());
            EXPECT_STREQ("Disk or network error occured while reading file!", m_hdr.GetComment());
            EXPECT_STREQ("", m_hdr.GetRecorderType());
        }
        EXPECT_EQ(0, m_hdr.GetStartTime());

        // An edit after the failure must not reach the file.
        m_hdr.SetImportant(1);
        EXPECT_FALSE(m_hdr.SaveToFile(path.c_str()));
        EXPECT_EQ(c.bytes, ReadWholeFile(path));
    }
}

// A header never read with the passphrase keeps no key of an earlier file.
TEST_F(KWRecordFileHdrTest, CheckBlockOfAnEarlierFileIsForgotten) {
    const std::string path = Make(MakeHeaderV5(Sample(), LowercaseCheckString(kPassphrase), 1));
    ASSERT_EQ(1488u, m_hdr.LoadFromFile(path.c_str(), kPassphrase));
    EXPECT_EQ(1, m_hdr.GetKeyLengthCode());
    EXPECT_EQ(0u, m_hdr.LoadFromFile(path.c_str(), ""));
    EXPECT_STREQ("", m_hdr.GetCheckString());
}

TEST_F(KWRecordFileHdrTest, FileThatCannotBeOpened) {
    // The encrypted flag of the header before stays as it was.
    const std::string v5 = Make(MakeHeaderV5(Sample(), LowercaseCheckString(kPassphrase), 0));
    for (bool encryptedBefore : {false, true}) {
        SCOPED_TRACE(encryptedBefore);
        CKWRecordFileHdr hdr;
        if (encryptedBefore) {
            ASSERT_EQ(0u, hdr.LoadFromFile(v5.c_str(), "wrong"));
        }
        for (const std::string& path : {std::string(), m_folder.File("missing.zel")}) {
            EXPECT_EQ(0u, hdr.LoadFromFile(path.c_str(), kPassphrase));
            EXPECT_STREQ("Load failed", hdr.GetRecorderType());
            EXPECT_EQ(4u, hdr.GetVersion());
            EXPECT_EQ(1440u, hdr.GetHeaderLength());
            EXPECT_EQ(-1, hdr.GetFormat());
            EXPECT_EQ(-1, hdr.GetRecordType());
            EXPECT_STREQ("", hdr.GetCallerId());
            EXPECT_EQ(encryptedBefore, hdr.IsEncrypted());
        }
        EXPECT_FALSE(hdr.SaveToFile(m_folder.File("missing.zel").c_str()));
        EXPECT_FALSE(FileExists(m_folder.File("missing.zel")));
    }
    CKWRecordFileHdr fresh;
    EXPECT_FALSE(fresh.SaveToFile(m_folder.File("no folder\\call.zel").c_str()));
}

// Versions 2 to 4 come back as version 4, version 1 as itself; the audio after
// the header is never touched.
TEST_F(KWRecordFileHdrTest, WriteBackLayoutByVersion) {
    const RecordingFields f = Sample();
    const std::string audio = Audio(4000);
    struct Case {
        const char* name;
        std::string header;
        uint32_t writtenVersion;
        uint32_t writtenLength; // 0: version 1 has no length field
    };
    const Case cases[] = {
        {"v1", MakeHeaderV1(f), 1, 0},
        {"v2", MakeHeaderV2to4(2, 1440, f), 4, 1440},
        {"v3", MakeHeaderV2to4(3, 1440, f), 4, 1440},
        {"v4", MakeHeaderV2to4(4, 1440, f), 4, 1440},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Make(c.header + audio);
        const uint32_t offset = m_hdr.LoadFromFile(path.c_str(), "");
        ASSERT_EQ(c.header.size(), offset);
        m_hdr.SetCallerId("030 555 0199");
        m_hdr.SetImportant(0);
        ASSERT_TRUE(m_hdr.SaveToFile(path.c_str()));

        const std::string bytes = ReadWholeFile(path);
        ASSERT_EQ(c.header.size() + audio.size(), bytes.size());
        EXPECT_EQ(c.writtenVersion, ReadLE32(bytes, 0));
        if (c.writtenLength) {
            EXPECT_EQ(c.writtenLength, ReadLE32(bytes, 4));
        }
        EXPECT_EQ(audio, bytes.substr(offset));

        RecordingFields expected = f;
        expected.callerId = "030 555 0199";
        expected.important = 0;
        CKWRecordFileHdr again;
        EXPECT_EQ(offset, again.LoadFromFile(path.c_str(), ""));
        ExpectFields(again, expected, c.writtenLength != 0);
    }
}

// A header shorter than 1440 bytes is followed directly by the audio: it goes
// back in its own version and length.
TEST_F(KWRecordFileHdrTest, ShortHeaderIsWrittenBackInItsOwnLength) {
    const std::string audio = Audio(5000);
    struct Case {
        uint32_t version;
        uint32_t length;
    };
    for (const Case& c : {Case{3, 200}, Case{2, 8}, Case{4, 1000}}) {
        SCOPED_TRACE(testing::Message() << "v" << c.version << " length " << c.length);
        const std::string header = MakeHeaderV2to4(c.version, c.length, Sample());
        const std::string path = Make(header + audio);
        ASSERT_EQ(c.length, m_hdr.LoadFromFile(path.c_str(), ""));
        m_hdr.SetCallerId("new caller");
        m_hdr.SetComment(std::string(1000, 'n').c_str());
        ASSERT_TRUE(m_hdr.SaveToFile(path.c_str()));

        const std::string bytes = ReadWholeFile(path);
        ASSERT_EQ(header.size() + audio.size(), bytes.size());
        EXPECT_EQ(c.version, ReadLE32(bytes, 0));
        EXPECT_EQ(c.length, ReadLE32(bytes, 4));
        EXPECT_EQ(audio, bytes.substr(c.length));

        CKWRecordFileHdr again;
        EXPECT_EQ(c.length, again.LoadFromFile(path.c_str(), ""));
        EXPECT_STREQ(c.length >= 144 ? "new caller" : "", again.GetCallerId());
    }
}

TEST_F(KWRecordFileHdrTest, RecordTypeTenLinksTheDurationsOnWrite) {
    struct Case {
        int32_t recordType, duration, secondDuration;
        int32_t expectedDuration, expectedSecond;
    };
    const Case cases[] = {
        {10, 35, 0, 35, 35}, {10, 0, 20, 20, 20}, {10, 35, 20, 35, 20},
        {10, 0, 0, 0, 0},    {3, 35, 0, 35, 0},   {-1, 0, 20, 0, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.recordType << " " << c.duration << " " << c.secondDuration);
        RecordingFields f; // no format: the duration is not computed on reading
        f.recordType = c.recordType;
        f.duration = c.duration;
        f.secondDuration = c.secondDuration;
        const std::string path = Make(MakeHeaderV2to4(4, 1440, f));
        ASSERT_EQ(1440u, m_hdr.LoadFromFile(path.c_str(), ""));
        ASSERT_TRUE(m_hdr.SaveToFile(path.c_str()));
        const std::string bytes = ReadWholeFile(path);
        EXPECT_EQ(static_cast<uint32_t>(c.expectedDuration), ReadLE32(bytes, 1172));
        EXPECT_EQ(static_cast<uint32_t>(c.expectedSecond), ReadLE32(bytes, 1432));
    }
}

TEST_F(KWRecordFileHdrTest, EncryptedHeaderIsWrittenBackEncrypted) {
    const std::string check = LowercaseCheckString(kPassphrase);
    const std::string audio = EncryptLikeRecorder(Audio(70000), check, 0);
    RecordingFields claimsVersionOne = Sample();
    claimsVersionOne.version = 1; // the record inside names version 1
    struct Case {
        const char* name;
        RecordingFields fields;
        int32_t code;
    };
    const Case cases[] = {
        {"AES-128", Sample(), 0},
        {"AES-256", Sample(), 2},
        {"stored in clear", Sample(), -1},
        {"record naming version 1", claimsVersionOne, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string header = MakeHeaderV5(c.fields, check, c.code);
        const std::string path = Make(header + audio);
        ASSERT_EQ(1488u, m_hdr.LoadFromFile(path.c_str(), kPassphrase));
        m_hdr.SetCallerId("changed");
        ASSERT_TRUE(m_hdr.SaveToFile(path.c_str()));

        const std::string bytes = ReadWholeFile(path);
        ASSERT_EQ(header.size() + audio.size(), bytes.size());
        EXPECT_EQ(header.substr(0, 48), bytes.substr(0, 48)); // version 5 and check block
        EXPECT_EQ(audio, bytes.substr(1488));

        RecordingFields expected = c.fields;
        expected.callerId = "changed";
        expected.version = 4;
        EXPECT_EQ(EncryptLikeRecorder(MakeRecord(expected), check, c.code), bytes.substr(48, 1440));
        CKWRecordFileHdr again;
        EXPECT_EQ(1488u, again.LoadFromFile(path.c_str(), kPassphrase));
        EXPECT_STREQ("changed", again.GetCallerId());
        EXPECT_TRUE(again.IsEncrypted());
    }
}

} // namespace
