// Tests of CKWRecordFile: which files open and how (by extension, header and
// length), WAV data chunks, the background decoder (its progress, its stop and
// its join), protected audio, and the header changes written back.
#include "native/gtest.h"

#include "Common/KWAudioCodec.h"
#include "Common/KWRecordFile.h"
#include "Common/Settings.h"
#include "Common/TraceLog.h"
#include "tests/support/AudioFixtures.h"
#include "tests/support/RecordFileHelpers.h"
#include "tests/support/RecordingFixtures.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace {

const int32_t kMuLaw = 7;
const int32_t kImaAdpcm = 17;
const int32_t kGsm = 49;

std::string HeaderV4(int32_t format, int32_t duration = 0, const std::string& comment = "",
                     const std::string& callerId = "") {
    RecordingFields fields;
    fields.format = format;
    fields.duration = duration;
    fields.comment = comment;
    fields.callerId = callerId;
    return MakeHeaderV2to4(4, 1440, fields);
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 20000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(1);
    }
    return true;
}

std::string LE16(uint16_t v) {
    return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}

std::string LE32(uint32_t v) {
    return LE16(static_cast<uint16_t>(v)) + LE16(static_cast<uint16_t>(v >> 16));
}

std::string PcmBytes(const std::vector<int16_t>& samples) {
    std::string bytes;
    for (int16_t s : samples)
        bytes += LE16(static_cast<uint16_t>(s));
    return bytes;
}

// A WAV file of one format chunk, an optional extra chunk and a data chunk whose
// size field may claim more than follows.
struct WavShape {
    uint16_t tag = 1;
    uint16_t channels = 1;
    uint32_t rate = 8000;
    uint16_t bits = 16;
    std::string extraChunk;
    uint32_t claimedExtra = 0;
};

std::string MakeWav(const WavShape& shape, const std::string& data) {
    std::string fmt = LE16(shape.tag) + LE16(shape.channels) + LE32(shape.rate) +
                      LE32(shape.rate * shape.channels * shape.bits / 8) +
                      LE16(static_cast<uint16_t>(shape.channels * shape.bits / 8)) +
                      LE16(shape.bits);
    std::string body = "WAVE" + std::string("fmt ") + LE32(16) + fmt + shape.extraChunk + "data" +
                       LE32(static_cast<uint32_t>(data.size()) + shape.claimedExtra) + data;
    return "RIFF" + LE32(static_cast<uint32_t>(body.size())) + body;
}

class RecordFileTest : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& bytes) {
        const std::string path = m_folder.File(name);
        EXPECT_TRUE(WriteWholeFile(path, bytes)) << path;
        return path;
    }

    CTempFolder m_folder;
};

TEST_F(RecordFileTest, ShortFilesMissingFilesAndHeaderOnlyRecordingsDoNotOpen) {
    CKWRecordFile file;
    const std::string tooShort = Write("short.zel", HeaderV4(kMuLaw).substr(0, 1439));
    EXPECT_FALSE(file.Load(tooShort.c_str(), ""));
    EXPECT_FALSE(file.IsOpen());

    // A header with no audio: the path is kept for the views, no samples.
    const std::string headerOnly = Write("empty.zel", HeaderV4(kMuLaw, 0, "", "5550100"));
    EXPECT_FALSE(file.Load(headerOnly.c_str(), ""));
    EXPECT_TRUE(file.IsOpen());
    EXPECT_STREQ(headerOnly.c_str(), file.GetPath());
    EXPECT_EQ(0, file.GetSampleCount());
    EXPECT_STREQ("5550100", file.GetCallerId());

    // A missing file keeps the recording "not decoded enough" until Close.
    EXPECT_FALSE(file.Load(m_folder.File("missing.zel").c_str(), ""));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(file.HasDecodedEnough());
    file.Close();
    EXPECT_TRUE(file.HasDecodedEnough());
}

// A WAV file in ADPCM, a form the program does not play.
std::string AdpcmWav() {
    WavShape shape;
    shape.tag = 2;
    return MakeWav(shape, std::string(800, 'x'));
}

// Every open ends in a state a caller waiting for the decoder can tell apart:
// ready, or failed. A wait for either must end.
struct OpenOutcome {
    const char* name;
    const char* file; // in the test folder; empty: a missing file
    std::string bytes;
    bool folder; // the path names a folder, which cannot be read as a file
    bool ready;
};

void PrintTo(const OpenOutcome& c, std::ostream* os) {
    *os << c.name;
}

class OpenOutcomeTest : public RecordFileTest, public ::testing::WithParamInterface<OpenOutcome> {};

TEST_P(OpenOutcomeTest, EveryOpenEndsReadyOrFailed) {
    const OpenOutcome& c = GetParam();
    std::string path = m_folder.File(*c.file ? c.file : "missing.zel");
    if (c.folder)
        ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
    else if (*c.file)
        path = Write(c.file, c.bytes);
    // A recording that played well before must not make the failure look ready.
    const std::string good = Write("good.zel", HeaderV4(kMuLaw) + EncodeMuLaw(MakeTestSignal(800)));
    CKWRecordFile file;
    ASSERT_TRUE(file.Load(good.c_str(), ""));
    ASSERT_TRUE(file.IsReady());

    EXPECT_EQ(c.ready, file.Load(path.c_str(), "") == TRUE);
    ASSERT_TRUE(WaitUntil([&]() { return file.IsReady() || file.HasFailed(); }))
        << "neither ready nor failed";
    EXPECT_EQ(c.ready, file.IsReady());
    EXPECT_EQ(!c.ready, file.HasFailed());
    EXPECT_EQ(c.ready, file.HasDecodedEnough());

    // The next open, or a close, starts afresh.
    ASSERT_TRUE(file.Load(good.c_str(), ""));
    EXPECT_TRUE(file.IsReady());
    EXPECT_FALSE(file.HasFailed());
    EXPECT_FALSE(file.Load(m_folder.File("missing.zel").c_str(), ""));
    file.Close();
    EXPECT_FALSE(file.HasFailed());
    EXPECT_FALSE(file.IsReady());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Files, OpenOutcomeTest, ::testing::Values(
    OpenOutcome{"Missing", "", "", false, false},
    OpenOutcome{"Folder", "folder.zel", "", true, false},
    OpenOutcome{"ShorterThanAHeader", "short.zel", HeaderV4(kMuLaw).substr(0, 1439), false, false},
    OpenOutcome{"HeaderWithoutAudio", "empty.zel", HeaderV4(kMuLaw), false, false},
    OpenOutcome{"UnknownFormat", "odd.zel", HeaderV4(99) + std::string(800, 'x'), false, false},
    OpenOutcome{"WavNotPcm", "call.wav", AdpcmWav(), false, false},
    OpenOutcome{"MuLaw", "call.zel", HeaderV4(kMuLaw) + EncodeMuLaw(MakeTestSignal(800)), false, true},
    OpenOutcome{"Gsm", "call.zel", HeaderV4(kGsm) + EncodeGsm(MakeTestSignal(16000)), false, true}),
    [](const ::testing::TestParamInfo<OpenOutcome>& info) { return std::string(info.param.name); });
// clang-format on

TEST_F(RecordFileTest, TheExtensionDecidesHowAFileIsRead) {
    // Mu-law codes whose values the recorders' table gives.
    std::string audio;
    for (int i = 0; i < 2000; ++i)
        audio += std::string("\x00\x80\xFF\x10", 4);
    const std::vector<int16_t> firstFour = {-32256, 32256, 0, -16062};

    CKWRecordFile file;
    for (const char* name : {"CALL.ZEL", "call.zel"}) {
        const std::string path = Write(name, HeaderV4(kMuLaw, 1, "old comment", "5551234") + audio);
        ASSERT_TRUE(file.Load(path.c_str(), "")) << name;
        EXPECT_EQ(8000, file.GetSampleCount()) << name;
        EXPECT_STREQ("5551234", file.GetCallerId()) << name;
        const std::vector<int16_t> samples = SamplesOf(file);
        EXPECT_EQ(firstFour, std::vector<int16_t>(samples.begin(), samples.begin() + 4)) << name;
    }

    // Headerless mu-law: a fresh header named after the path; nothing of the
    // recording loaded before shows through.
    const std::string raw = Write("call.raw", audio.substr(0, 3000));
    ASSERT_TRUE(file.Load(raw.c_str(), ""));
    EXPECT_EQ(3000, file.GetSampleCount());
    EXPECT_STREQ(raw.substr(0, 16).c_str(), file.GetCallerId());
    EXPECT_STREQ(raw.c_str(), file.GetComment());
    EXPECT_EQ(0, file.GetDuration());
    int start = 0, end = 0;
    EXPECT_FALSE(file.GetBookmark(&start, &end));
    const std::vector<int16_t> samples = SamplesOf(file);
    EXPECT_EQ(firstFour, std::vector<int16_t>(samples.begin(), samples.begin() + 4));
}

TEST_F(RecordFileTest, WavFilesPlayTheirDataChunkInTheExportedFormOnly) {
    const std::vector<int16_t> signal = MakeTestSignal(1000, 7);
    const std::string data = PcmBytes(signal);
    WavShape plain;
    WavShape listChunk;
    listChunk.extraChunk = "LIST" + LE32(5) + std::string("abcde") + std::string(1, '\0');
    WavShape overclaimed;
    overclaimed.claimedExtra = 4000;
    WavShape stereo;
    stereo.channels = 2;
    WavShape cd;
    cd.rate = 44100;
    WavShape eightBit;
    eightBit.bits = 8;
    WavShape gsm;
    gsm.tag = 49;
    WavShape overrun; // a chunk that claims to run far past the file
    overrun.extraChunk = "LIST" + LE32(0xFFFFFF00u) + "abcd";
    struct Case {
        const char* name;
        std::string bytes;
        bool opens;
    };
    const Case cases[] = {
        {"plain", MakeWav(plain, data), true},
        {"list chunk before the data", MakeWav(listChunk, data), true},
        {"data size beyond the file", MakeWav(overclaimed, data), true},
        {"stereo", MakeWav(stereo, data), false},
        {"44100 Hz", MakeWav(cd, data), false},
        {"8-bit", MakeWav(eightBit, data), false},
        {"GSM 6.10", MakeWav(gsm, data), false},
        {"chunk past the end of the file", MakeWav(overrun, data), false},
        {"no RIFF header", data, false},
    };
    for (const Case& c : cases) {
        CKWRecordFile file;
        const std::string path = Write("call.wav", c.bytes);
        EXPECT_EQ(c.opens, file.Load(path.c_str(), "") != FALSE) << c.name;
        if (c.opens)
            EXPECT_EQ(signal, SamplesOf(file)) << c.name;
        else
            EXPECT_EQ(0, file.GetSampleCount()) << c.name;
    }
}

struct CodedCase {
    const char* name;
    int32_t format;
    int32_t sampleCount;
};

class CompressedRecordTest : public RecordFileTest,
                             public ::testing::WithParamInterface<CodedCase> {
protected:
    // Coded audio of the case and what the codec makes of it in one pass.
    std::string Encode(const std::vector<int16_t>& signal, std::vector<int16_t>* expected) {
        const CodedCase& c = GetParam();
        const std::string coded = c.format == kGsm ? EncodeGsm(signal) : EncodeImaAdpcm(signal);
        int16_t* decoded = nullptr;
        const uint8_t* bytes = reinterpret_cast<const uint8_t*>(coded.data());
        const int32_t n = static_cast<int32_t>(coded.size());
        const int32_t count =
            c.format == kGsm ? GsmDecode(&decoded, bytes, n) : ImaAdpcmDecode(&decoded, bytes, n);
        expected->assign(decoded, decoded + count);
        delete[] decoded;
        return coded;
    }
};

TEST_P(CompressedRecordTest, SamplesHaveTheirFullLengthAtOnceAndFillInTheBackground) {
    const CodedCase& c = GetParam();
    std::vector<int16_t> expected;
    const std::string coded = Encode(MakeTestSignal(c.sampleCount, 3), &expected);
    const std::string path = Write("call.zel", HeaderV4(c.format) + coded);

    CKWRecordFile file;
    CDecoderGate gate;
    ASSERT_TRUE(file.Load(path.c_str(), ""));
    EXPECT_EQ(c.sampleCount, file.GetSampleCount());
    EXPECT_TRUE(file.IsOpen());
    EXPECT_FALSE(file.IsReady());
    EXPECT_FALSE(file.HasDecodedEnough()); // below 70 seconds: only the end counts
    // The commands of a recording still being decoded do nothing.
    EXPECT_FALSE(file.EmailAsWav());
    EXPECT_FALSE(file.SaveAsWavDlg());
    EXPECT_FALSE(file.SaveAsZelDlg());
    gate.Open();

    ASSERT_TRUE(WaitUntil([&]() { return file.IsReady(); }));
    EXPECT_TRUE(file.HasDecodedEnough());
    EXPECT_EQ(expected, SamplesOf(file));
}

INSTANTIATE_TEST_SUITE_P(Codings, CompressedRecordTest,
                         ::testing::Values(CodedCase{"GSM", kGsm, 160000},
                                           CodedCase{"IMA_ADPCM", kImaAdpcm, 504 * 300}),
                         [](const ::testing::TestParamInfo<CodedCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(RecordFileTest, ALongRecordingMayPlayOnceSeventySecondsAreDecoded) {
    const std::string path =
        Write("long.zel", HeaderV4(kGsm) + EncodeGsm(MakeTestSignal(4000 * 160, 5)));
    CKWRecordFile file;
    CDecoderGate gate;
    ASSERT_TRUE(file.Load(path.c_str(), ""));
    EXPECT_EQ(640000, file.GetSampleCount());
    // The gate holds the decoder after its last frame, still "decoding".
    EXPECT_TRUE(WaitUntil([&]() { return file.HasDecodedEnough(); }));
    EXPECT_FALSE(file.IsReady());
    gate.Open();
    EXPECT_TRUE(WaitUntil([&]() { return file.IsReady(); }));
}

class DecoderLogTest : public RecordFileTest {
protected:
    DecoderLogTest() : m_log(m_folder.File("trace.log")) {
        g_TraceLog.SetPath(m_log.c_str(), "");
        g_TraceLog.SetLevel(CTraceLog::LEVEL_ALL);
    }
    ~DecoderLogTest() override {
        g_TraceLog.SetLevel(CTraceLog::LEVEL_OFF);
        g_TraceLog.SetPath("", "");
    }

    // The decoded and total counts of every "decoder ended" line, in order.
    std::vector<std::pair<int, int>> DecoderEnds() const {
        std::vector<std::pair<int, int>> ends;
        const std::string text = ReadWholeFile(m_log);
        const std::string marker = "decoder ended after ";
        for (size_t at = text.find(marker); at != std::string::npos;
             at = text.find(marker, at + 1)) {
            int done = -1, total = -1;
            sscanf(text.c_str() + at + marker.size(), "%d of %d", &done, &total);
            ends.emplace_back(done, total);
        }
        return ends;
    }

    std::string m_log;
};

TEST_F(DecoderLogTest, CloseStopsTheDecoderAfterItsCurrentFrameAndJoinsIt) {
    // 20 minutes of GSM: one second of frames over and over.
    const std::string second = EncodeGsm(MakeTestSignal(8000, 9));
    std::string audio;
    for (int i = 0; i < 1200; ++i)
        audio += second;
    const std::string path = Write("long.zel", HeaderV4(kGsm) + audio);
    const int total = 1200 * 8000;

    CKWRecordFile file;
    ASSERT_TRUE(file.Load(path.c_str(), ""));
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(0, file.GetSampleCount());
    // Close returned after the decoder's last line: it was joined, not left.
    std::vector<std::pair<int, int>> ends = DecoderEnds();
    ASSERT_EQ(1u, ends.size());
    EXPECT_LT(ends[0].first, total);
    EXPECT_EQ(0, ends[0].first % 160);
    EXPECT_EQ(total, ends[0].second);

    // Left alone, the decoder goes to the end.
    ASSERT_TRUE(file.LoadAndWait(path.c_str()));
    EXPECT_TRUE(file.IsReady());
    ends = DecoderEnds();
    ASSERT_EQ(2u, ends.size());
    EXPECT_EQ(std::make_pair(total, total), ends[1]);
}

TEST_F(RecordFileTest, OpeningTheSamePathAgainKeepsTheSamplesItHas) {
    const std::string path = Write("call.zel", HeaderV4(kMuLaw) + std::string(8000, '\x10'));
    CKWRecordFile file;
    ASSERT_TRUE(file.Load(path.c_str(), ""));
    const int16_t* first = nullptr;
    file.GetSamples(0, 1, &first);

    Write("call.zel", HeaderV4(kMuLaw) + std::string(4000, '\x20'));
    EXPECT_TRUE(file.Load(path.c_str(), ""));
    const int16_t* again = nullptr;
    file.GetSamples(0, 1, &again);
    EXPECT_EQ(first, again);
    EXPECT_EQ(8000, file.GetSampleCount());

    // The comparison is case-sensitive: another spelling reads the file anew.
    std::string otherCase = path;
    otherCase.replace(otherCase.size() - 8, 8, "CALL.zel");
    EXPECT_TRUE(file.Load(otherCase.c_str(), ""));
    EXPECT_EQ(4000, file.GetSampleCount());
}

TEST_F(RecordFileTest, GetSamplesNeverPointsOutsideTheSamples) {
    const std::string path = Write("call.zel", HeaderV4(kMuLaw) + std::string(2000, '\x10'));
    CKWRecordFile file;
    ASSERT_TRUE(file.Load(path.c_str(), ""));
    struct Case {
        int32_t offset, count, expected;
    };
    const Case cases[] = {{0, 500, 500}, {1900, 500, 100}, {1999, 5, 1}, {2000, 5, 0},
                          {-1, 5, 0},    {10, 0, 0},       {10, -3, 0}};
    for (const Case& c : cases) {
        const int16_t* samples = nullptr;
        EXPECT_EQ(c.expected, file.GetSamples(c.offset, c.count, &samples))
            << c.offset << "," << c.count;
    }
    file.SetSampleCount(2500); // never beyond the samples there are
    EXPECT_EQ(2000, file.GetSampleCount());
    file.SetSampleCount(1500);
    EXPECT_EQ(1500, file.GetSampleCount());
}

TEST_F(RecordFileTest, HeaderChangesAreWrittenOnlyWhenTheyChangeSomething) {
    const std::string audio = EncodeMuLaw(MakeTestSignal(4000, 2));
    const std::string path = Write("call.zel", HeaderV4(kMuLaw, 0, "note", "5550100") + audio);
    CKWRecordFile file;
    ASSERT_TRUE(file.Load(path.c_str(), ""));

    // The same values mark nothing: the file, changed behind our back, stays
    // as it is.
    const std::string changedOnDisk = HeaderV4(kMuLaw, 0, "disk") + audio;
    Write("call.zel", changedOnDisk);
    file.SetComment("note");
    file.SetCallerId("5550100");
    file.SetImportant(0);
    EXPECT_TRUE(file.FlushHeader());
    EXPECT_TRUE(changedOnDisk == ReadWholeFile(path));

    file.SetComment("call back on Monday");
    file.SetImportant(1);
    EXPECT_TRUE(file.FlushHeader());
    const std::string written = ReadWholeFile(path);
    ASSERT_EQ(1440 + audio.size(), written.size());
    EXPECT_EQ(1u, ReadLE32(written, 12));
    EXPECT_TRUE(audio == written.substr(1440));
    CKWRecordFile reread;
    ASSERT_TRUE(reread.Load(path.c_str(), ""));
    EXPECT_STREQ("call back on Monday", reread.GetComment());
    EXPECT_STREQ("5550100", reread.GetCallerId());

    file.Close();
    EXPECT_FALSE(file.FlushHeader());
}

TEST_F(RecordFileTest, AHeaderIsNeverWrittenIntoAFileItWasNotReadFrom) {
    RecordingFields fields;
    fields.format = kMuLaw;
    const std::string audio(3000, '\x10');
    WavShape plain;
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"call.raw", audio},
        {"call.wav", MakeWav(plain, audio)},
        {"unknown.zel", MakeHeaderOfUnknownVersion(6, fields) + audio},
        {"locked.zel", MakeHeaderV5(fields, LowercaseCheckString("secret"), 0) + audio},
    };
    for (const Case& c : cases) {
        const std::string path = Write(c.name, c.bytes);
        CKWRecordFile file;
        file.Load(path.c_str(), "wrong");
        ASSERT_TRUE(file.IsOpen()) << c.name;
        file.SetImportant(1);
        file.SetComment("changed");
        EXPECT_FALSE(file.FlushHeader()) << c.name;
        EXPECT_TRUE(c.bytes == ReadWholeFile(path)) << c.name;
    }
}

TEST_F(RecordFileTest, ANewBookmarkAreaReplacesTheOldOne) {
    const std::string path =
        Write("call.zel", HeaderV4(kMuLaw, 1, "call back") + std::string(8000, '\x10'));
    CKWRecordFile file;
    ASSERT_TRUE(file.Load(path.c_str(), ""));
    int start = 0, end = 0;

    EXPECT_TRUE(file.SetBookmark(10, 20));
    EXPECT_TRUE(file.SetBookmark(10, 20)); // the same area: the stored one
    EXPECT_TRUE(file.SetBookmark(30, 40));
    ASSERT_TRUE(file.GetBookmark(&start, &end));
    EXPECT_EQ(30, start);
    EXPECT_EQ(40, end);
    const std::string comment = file.GetComment().GetString();
    EXPECT_EQ(comment.find("<bstart>"), comment.rfind("<bstart>")) << comment;
    EXPECT_EQ(0u, comment.find("Bookmark at:"));
    EXPECT_EQ(comment.find("Bookmark at:"), comment.rfind("Bookmark at:")) << comment;

    for (auto pair : {std::make_pair(20, 10), std::make_pair(-1, 5), std::make_pair(7, 7)}) {
        EXPECT_FALSE(file.SetBookmark(pair.first, pair.second));
        ASSERT_TRUE(file.GetBookmark(&start, &end));
        EXPECT_EQ(30, start);
    }

    EXPECT_TRUE(file.SetBookmark(-1, -1));
    EXPECT_FALSE(file.GetBookmark(&start, &end));
    EXPECT_STREQ("call back", file.GetComment());
    EXPECT_FALSE(file.SetBookmark(-1, -1));
}

class ProtectedRecordTest : public RecordFileTest, public ::testing::WithParamInterface<int32_t> {};

TEST_P(ProtectedRecordTest, AudioDecryptsInChunksWithTheTailInClear) {
    // One whole chunk and 20 bytes: one more block enciphered, four in clear.
    const std::string plain = EncodeMuLaw(MakeTestSignal(66560 + 20, 4));
    const std::string check = LowercaseCheckString("secret");
    RecordingFields fields;
    fields.format = kMuLaw;
    const std::string path = Write("locked.zel", MakeHeaderV5(fields, check, GetParam()) +
                                                     EncryptLikeRecorder(plain, check, GetParam()));
    const std::string clearPath = Write("clear.zel", HeaderV4(kMuLaw) + plain);

    CKWRecordFile clear, file;
    ASSERT_TRUE(clear.Load(clearPath.c_str(), ""));
    ASSERT_TRUE(file.Load(path.c_str(), "secret"));
    EXPECT_EQ(66580, file.GetSampleCount());
    EXPECT_EQ(SamplesOf(clear), SamplesOf(file));

    file.Close(); // the same path again would keep the samples it has
    EXPECT_FALSE(file.Load(path.c_str(), "Secret"));
    EXPECT_EQ(0, file.GetSampleCount());

    // LoadAndWait takes the passphrase of the settings.
    CSettings::GetInstance()->SetPassphrase("secret");
    EXPECT_TRUE(file.LoadAndWait(path.c_str()));
    EXPECT_EQ(SamplesOf(clear), SamplesOf(file));
    CSettings::GetInstance()->SetPassphrase("");
}

INSTANTIATE_TEST_SUITE_P(KeyLengthCodes, ProtectedRecordTest, ::testing::Values(-1, 0, 1, 2));

} // namespace
