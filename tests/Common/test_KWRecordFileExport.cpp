// Tests of the exports of CKWRecordFile: the PCM and GSM 6.10 WAV files (their
// headers, and how sox reads them back), the save dialogs driven by a thread
// timer, the copy of the recording file, and the mail with its temporary WAV.
#include "native/gtest.h"

#include "Common/KWRecordFile.h"
#include "Common/KWRecordTexts.h"
#include "Common/KWWav.h"
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
const int32_t kStartTime = 1000000000;

uint16_t ReadLE16(const std::string& bytes, size_t offset) {
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes[offset]) |
                                 (static_cast<uint8_t>(bytes[offset + 1]) << 8));
}

// What soxi says of a file: one field (-t type, -r rate, -c channels, -s
// samples, -e encoding), without its line end.
std::string Soxi(const std::string& option, const std::string& path) {
    std::string output;
    EXPECT_TRUE(RunNativeCommand("soxi " + option + " '" + HostPath(path) + "' 2>&1", &output))
        << output;
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r'))
        output.pop_back();
    return output;
}

// The samples sox decodes from a file, as 16-bit mono.
std::vector<int16_t> SoxSamples(const std::string& path) {
    std::string raw;
    EXPECT_TRUE(RunNativeCommand("sox '" + HostPath(path) + "' -t raw -e signed -b 16 -", &raw));
    std::vector<int16_t> samples(raw.size() / 2);
    memcpy(samples.data(), raw.data(), samples.size() * 2);
    return samples;
}

class ExportTest : public ::testing::Test {
protected:
    ExportTest() {
        theApp.m_answers.clear();
        theApp.m_prompts.clear();
    }

    // A mu-law recording of count samples of the test signal, as name in the
    // test's folder, opened.
    std::string MakeRecording(CKWRecordFile* file, const std::string& name, int32_t count,
                              const std::string& comment = "") {
        RecordingFields fields;
        fields.format = kMuLaw;
        fields.callerId = "5550100";
        fields.comment = comment;
        fields.startTime = kStartTime;
        fields.duration = count / 8000;
        const std::string path = m_folder.File(name);
        EXPECT_TRUE(WriteWholeFile(path, MakeHeaderV2to4(4, 1440, fields) +
                                             EncodeMuLaw(MakeTestSignal(count, 11))));
        EXPECT_TRUE(file->Load(path.c_str(), ""));
        return path;
    }

    CTempFolder m_folder;
};

TEST_F(ExportTest, UncompressedWavHoldsTheSamplesBehindA44ByteHeader) {
    CKWRecordFile file;
    MakeRecording(&file, "call.zel", 8000);
    const std::string wav = m_folder.File("call.wav");
    ASSERT_TRUE(file.SaveAsWav(wav.c_str(), true));

    const std::string bytes = ReadWholeFile(wav);
    ASSERT_EQ(16044u, bytes.size());
    EXPECT_EQ("RIFF", bytes.substr(0, 4));
    EXPECT_EQ(16036u, ReadLE32(bytes, 4));
    EXPECT_EQ("WAVEfmt ", bytes.substr(8, 8));
    EXPECT_EQ(16u, ReadLE32(bytes, 16));
    EXPECT_EQ(1, ReadLE16(bytes, 20));
    EXPECT_EQ(1, ReadLE16(bytes, 22));
    EXPECT_EQ(8000u, ReadLE32(bytes, 24));
    EXPECT_EQ(16000u, ReadLE32(bytes, 28));
    EXPECT_EQ(2, ReadLE16(bytes, 32));
    EXPECT_EQ(16, ReadLE16(bytes, 34));
    EXPECT_EQ("data", bytes.substr(36, 4));
    EXPECT_EQ(16000u, ReadLE32(bytes, 40));

    const std::vector<int16_t> samples = SamplesOf(file);
    EXPECT_EQ(samples, SoxSamples(wav));
    EXPECT_EQ("wav", Soxi("-t", wav));
    EXPECT_EQ("8000", Soxi("-r", wav));
    EXPECT_EQ("1", Soxi("-c", wav));
    EXPECT_EQ("8000", Soxi("-s", wav));
    EXPECT_EQ("Signed Integer PCM", Soxi("-e", wav));

    // The program plays its own export as the samples it saved.
    CKWRecordFile reread;
    ASSERT_TRUE(reread.Load(wav.c_str(), ""));
    EXPECT_EQ(samples, SamplesOf(reread));
}

class GsmExportTest : public ExportTest, public ::testing::WithParamInterface<int32_t> {};

TEST_P(GsmExportTest, CompressedWavHoldsEverySampleIn65ByteBlocks) {
    ASSERT_TRUE(CKWRecordFile::CanSaveGsmWav());
    const int32_t count = GetParam();
    const uint32_t blocks = (count + 319) / 320;
    CKWRecordFile file;
    MakeRecording(&file, "call.zel", count);
    const std::string wav = m_folder.File("call.wav");
    ASSERT_TRUE(file.SaveAsWav(wav.c_str(), false));

    const std::string bytes = ReadWholeFile(wav);
    ASSERT_EQ(60 + blocks * 65, bytes.size());
    EXPECT_EQ("RIFF", bytes.substr(0, 4));
    EXPECT_EQ(bytes.size() - 8, ReadLE32(bytes, 4));
    EXPECT_EQ("WAVEfmt ", bytes.substr(8, 8));
    EXPECT_EQ(20u, ReadLE32(bytes, 16));
    EXPECT_EQ(49, ReadLE16(bytes, 20));
    EXPECT_EQ(1, ReadLE16(bytes, 22));
    EXPECT_EQ(8000u, ReadLE32(bytes, 24));
    EXPECT_EQ(1625u, ReadLE32(bytes, 28));
    EXPECT_EQ(65, ReadLE16(bytes, 32));
    EXPECT_EQ(0, ReadLE16(bytes, 34));
    EXPECT_EQ(2, ReadLE16(bytes, 36));
    EXPECT_EQ(320, ReadLE16(bytes, 38));
    EXPECT_EQ("fact", bytes.substr(40, 4));
    EXPECT_EQ(4u, ReadLE32(bytes, 44));
    EXPECT_EQ(static_cast<uint32_t>(count), ReadLE32(bytes, 48));
    EXPECT_EQ("data", bytes.substr(52, 4));
    EXPECT_EQ(blocks * 65, ReadLE32(bytes, 56));

    EXPECT_EQ("wav", Soxi("-t", wav));
    EXPECT_EQ("8000", Soxi("-r", wav));
    EXPECT_EQ("1", Soxi("-c", wav));
    // GSM 6.10 WAV counts whole blocks: a last short block, padded with
    // silence, reads as a whole one (the fact chunk keeps the exact count).
    EXPECT_EQ(std::to_string(blocks * 320), Soxi("-s", wav));
    EXPECT_EQ("GSM", Soxi("-e", wav));
    // Real GSM of this call, its last samples included.
    const std::vector<int16_t> saved = SamplesOf(file);
    const std::vector<int16_t> decoded = SoxSamples(wav);
    ASSERT_EQ(blocks * 320, decoded.size());
    EXPECT_GT(Correlation(saved, decoded), 0.9);
    const int32_t tail = count % 320 ? count % 320 : 320;
    EXPECT_GT(Correlation(
                  std::vector<int16_t>(saved.end() - tail, saved.end()),
                  std::vector<int16_t>(decoded.begin() + (count - tail), decoded.begin() + count)),
              0.5);
}

INSTANTIATE_TEST_SUITE_P(SampleCounts, GsmExportTest, ::testing::Values(8000, 8100));

TEST_F(ExportTest, AFailedWavExportLeavesNoFile) {
    CKWRecordFile file;
    MakeRecording(&file, "call.zel", 8000);
    EXPECT_FALSE(file.SaveAsWav(m_folder.File("missing\\call.wav").c_str(), true));

    // A recording without samples has nothing to export.
    const std::string empty = m_folder.File("empty.zel");
    RecordingFields fields;
    fields.format = kMuLaw;
    ASSERT_TRUE(WriteWholeFile(empty, MakeHeaderV2to4(4, 1440, fields)));
    CKWRecordFile headerOnly;
    EXPECT_FALSE(headerOnly.Load(empty.c_str(), ""));
    for (bool uncompressed : {true, false}) {
        const std::string wav = m_folder.File("empty.wav");
        EXPECT_FALSE(headerOnly.SaveAsWav(wav.c_str(), uncompressed));
        EXPECT_FALSE(FileExists(wav));
    }
}

// The steps of a save dialog: keeps the suggested name, types name, picks the
// filter (1-based) and presses OK.
std::vector<CUiScript::Step> SaveDialogSteps(const std::string& name, int filter,
                                             std::string* suggested) {
    return {[=]() {
        HWND dialog = FindThreadDialog();
        if (!dialog || !::GetDlgItem(dialog, IDOK))
            return false;
        HWND nameBox = ::GetDlgItem(dialog, 0x47C); // cmb13, else edt1
        if (!nameBox)
            nameBox = ::GetDlgItem(dialog, 0x480);
        char text[MAX_PATH] = {};
        ::GetWindowTextA(nameBox, text, MAX_PATH);
        *suggested = text;
        HWND types = ::GetDlgItem(dialog, 0x470); // cmb1
        ::SendMessageA(types, CB_SETCURSEL, filter - 1, 0);
        ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(0x470, CBN_SELENDOK), (LPARAM)types);
        ::SetWindowTextA(nameBox, name.c_str());
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                       (LPARAM)::GetDlgItem(dialog, IDOK));
        return true;
    }};
}

TEST_F(ExportTest, SaveAsWavDialogSavesInTheChosenFormUnderTheChosenName) {
    ASSERT_TRUE(CKWRecordFile::CanSaveGsmWav());
    struct Case {
        const char* typed;
        int filter;
        const char* saved; // the file found afterwards
        uint16_t formatTag;
    };
    const Case cases[] = {
        {"meeting", 1, "meeting.wav", 49},
        {"meeting.WAV", 2, "meeting.WAV", 1},
        {"notes.txt", 2, "notes.txt.wav", 1},
    };
    CKWRecordFile file;
    MakeRecording(&file, "call 17.zel", 8000);
    for (const Case& c : cases) {
        CTempFolder target;
        std::string suggested;
        CUiScript script(SaveDialogSteps(target.File(c.typed), c.filter, &suggested));
        EXPECT_TRUE(file.SaveAsWavDlg()) << c.typed;
        EXPECT_TRUE(script.Finished());
        EXPECT_EQ("call 17", suggested);
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA(target.File("*").c_str(), &found);
        ASSERT_NE(INVALID_HANDLE_VALUE, find) << c.typed;
        std::vector<std::string> names;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(found.cFileName);
        } while (FindNextFileA(find, &found));
        FindClose(find);
        EXPECT_EQ(std::vector<std::string>{c.saved}, names) << c.typed;
        EXPECT_EQ(c.formatTag, ReadLE16(ReadWholeFile(target.File(c.saved)), 20)) << c.typed;
    }
    EXPECT_TRUE(theApp.m_prompts.empty());
}

TEST_F(ExportTest, SaveAsZelDialogCopiesTheFileOrSaysWhyNot) {
    CKWRecordFile file;
    const std::string source = MakeRecording(&file, "call.zel", 8000, "keep this");
    std::string suggested;
    {
        CUiScript script(SaveDialogSteps(m_folder.File("copy"), 1, &suggested));
        EXPECT_TRUE(file.SaveAsZelDlg());
    }
    EXPECT_EQ("call", suggested);
    EXPECT_TRUE(ReadWholeFile(source) == ReadWholeFile(m_folder.File("copy.zel")));
    EXPECT_TRUE(theApp.m_prompts.empty());

    // The recording's file is gone: the copy fails, and the user is told.
    ASSERT_TRUE(DeleteFileA(source.c_str()));
    {
        CUiScript script(SaveDialogSteps(m_folder.File("second"), 1, &suggested));
        EXPECT_FALSE(file.SaveAsZelDlg());
    }
    EXPECT_FALSE(FileExists(m_folder.File("second.zel")));
    ASSERT_EQ(1u, theApp.m_prompts.size());
    EXPECT_EQ("The recording could not be copied to \"" + m_folder.File("second.zel") + "\".",
              theApp.m_prompts[0]);
}

// Mails go through the temporary folder, which every test program shares:
// each test names its recordings apart.
std::string UniqueName(const char* tag) {
    return std::string("mail-") + tag + "-" + std::to_string(GetCurrentProcessId());
}

std::string TempPath(const std::string& name) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string path = folder;
    if (path.back() != '\\')
        path += '\\';
    return path + name;
}

TEST_F(ExportTest, MailAttachesAWavThatIsDeletedOnceSent) {
    struct Case {
        const char* comment;
        const char* commentLine;
    };
    const Case cases[] = {
        {"", ""},
        {"call back", "My comments: call back\r\n"},
    };
    const std::string date = FormatStartTime(kStartTime, "Unknown").GetString();
    for (const Case& c : cases) {
        const std::string name = UniqueName("body");
        CKWRecordFile file;
        MakeRecording(&file, name + ".zel", 8000, c.comment);
        CMailCapture capture;
        EXPECT_TRUE(file.EmailAsWav());

        ASSERT_EQ(1u, capture.mails.size());
        const SCapturedMail& mail = capture.mails[0];
        EXPECT_EQ("Recording With 5550100 at " + date, mail.subject);
        EXPECT_EQ("Please find attached a telephone conversation recorded by me as follows:\r\n"
                  "Conversation With: 5550100\r\n"
                  "Date & Time: " +
                      date + "\r\n" + c.commentLine + " ",
                  mail.note);
        EXPECT_TRUE(mail.flags & MAPI_DIALOG);
        ASSERT_EQ(1u, mail.attachments.size());
        EXPECT_EQ(TempPath(name + ".wav"), mail.attachments[0]);
        // GSM when the codec is there: 25 blocks of 65 bytes behind 60.
        EXPECT_EQ(CKWRecordFile::CanSaveGsmWav() ? 60u + 25 * 65 : 16044u,
                  mail.attachmentBytes[0].size());
        EXPECT_FALSE(FileExists(mail.attachments[0]));
    }
    EXPECT_TRUE(theApp.m_prompts.empty());
}

TEST_F(ExportTest, TwoRecordingsOfOneNameEachMailTheirOwnAudio) {
    const std::string name = UniqueName("twins");
    CreateDirectoryA(m_folder.File("a").c_str(), nullptr);
    CreateDirectoryA(m_folder.File("b").c_str(), nullptr);
    CKWRecordFile first, second;
    MakeRecording(&first, "a\\" + name + ".zel", 8000);
    MakeRecording(&second, "b\\" + name + ".zel", 16000);
    CMailCapture capture;
    EXPECT_TRUE(first.EmailAsWav());
    EXPECT_TRUE(second.EmailAsWav());
    ASSERT_EQ(2u, capture.mails.size());
    EXPECT_EQ(8000u, ReadLE32(capture.mails[0].attachmentBytes[0], 48));
    EXPECT_EQ(16000u, ReadLE32(capture.mails[1].attachmentBytes[0], 48));
    EXPECT_FALSE(FileExists(TempPath(name + ".wav")));
}

TEST_F(ExportTest, AMailThatFailsIsReportedOnceAndLeavesNoFile) {
    const std::string name = UniqueName("fail");
    CKWRecordFile file;
    MakeRecording(&file, name + ".zel", 8000);

    // The mail client refuses: the mail sender tells the user.
    {
        CMailCapture capture;
        capture.result = MAPI_E_FAILURE;
        EXPECT_FALSE(file.EmailAsWav());
        EXPECT_EQ(1u, capture.mails.size());
        EXPECT_EQ(1u, theApp.m_prompts.size());
        EXPECT_FALSE(FileExists(TempPath(name + ".wav")));
    }

    // The WAV cannot be written: no mail, and our own message.
    theApp.m_prompts.clear();
    const std::string blocker = TempPath(name + ".wav");
    ASSERT_TRUE(CreateDirectoryA(blocker.c_str(), nullptr));
    CMailCapture capture;
    EXPECT_FALSE(file.EmailAsWav());
    RemoveDirectoryA(blocker.c_str());
    EXPECT_TRUE(capture.mails.empty());
    ASSERT_EQ(1u, theApp.m_prompts.size());
    EXPECT_EQ("The recording could not be mailed: \"" + blocker + "\" could not be written.",
              theApp.m_prompts[0]);
}

TEST_F(ExportTest, CommandsOfARecordingThatIsNotOpenDoNothing) {
    CKWRecordFile file;
    CMailCapture capture;
    bool dialogShown = false;
    CUiScript cancelAny({[&]() {
        HWND dialog = FindThreadDialog();
        if (!dialog)
            return false;
        dialogShown = true;
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return true;
    }});
    EXPECT_FALSE(file.EmailAsWav());
    EXPECT_FALSE(file.SaveAsWavDlg());
    EXPECT_FALSE(file.SaveAsZelDlg());
    EXPECT_FALSE(dialogShown);
    EXPECT_TRUE(capture.mails.empty());
    EXPECT_TRUE(theApp.m_prompts.empty());
}

} // namespace
