// SampleRecordings.cpp: the sample folder, built from the recording and audio
// fixtures so that the samples decode exactly as the tests expect.
#include "SampleRecordings.h"

#include "AudioFixtures.h"
#include "RecordFileHelpers.h"
#include "RecordingFixtures.h"
#include "TempFolder.h"

#include <windows.h>

#include <cstdio>
#include <ctime>

const char kSamplePassphrase[] = "moxel-sample";

namespace {

const int kALaw = 6, kMuLaw = 7, kImaAdpcm = 17, kGsm = 49;

struct SPlan {
    const char* userId;
    const char* callerId;
    int format;
    int duration;
    bool encrypted;
    bool important;
    int bookmarkStart; // -1: none
    int bookmarkEnd;
    const char* comment;
};

// Incoming calls begin with ">", outgoing ones with "<".
// clang-format off
const SPlan kPlans[] = {
    {"1001", ">0412 555 019", kGsm, 95, false, true, 12, 40, "Customer asked for a refund."},
    {"1001", "<0398 555 200", kALaw, 34, false, false, -1, -1, ""},
    {"1001", ">0412 555 019", kMuLaw, 61, false, false, -1, -1, "Follow-up call."},
    {"1001", "<1800 555 333", kImaAdpcm, 143, false, false, 30, 75, ""},
    {"1002", ">0455 555 871", kGsm, 48, true, false, -1, -1, ""},
    {"1002", "<0398 555 200", kMuLaw, 22, false, true, -1, -1, "Price quote given."},
    {"1002", ">0455 555 871", kALaw, 77, false, false, 5, 20, "Complaint: late delivery."},
    {"1002", ">0361 555 404", kImaAdpcm, 130, true, true, -1, -1, ""},
    {"1003", "<0298 555 117", kGsm, 180, false, false, -1, -1, ""},
    {"1003", ">0731 555 650", kMuLaw, 15, false, false, -1, -1, ""},
    {"1003", ">0731 555 650", kALaw, 66, true, false, 10, 30, ""},
    {"1003", "<0881 555 090", kGsm, 240, false, true, -1, -1, "Training example: good close."},
    {"Reception", ">0412 555 019", kMuLaw, 40, false, false, -1, -1, "Transferred to 1001."},
    {"Reception", ">0299 555 731", kImaAdpcm, 28, false, false, -1, -1, ""},
    {"Reception", "<0398 555 200", kGsm, 55, true, false, -1, -1, ""},
    {"Reception", ">0866 555 321", kALaw, 12, false, false, -1, -1, "Wrong number."},
};
// clang-format on

std::string EncodeAs(int format, const std::vector<int16_t>& samples) {
    switch (format) {
    case kALaw:
        return EncodeALaw(samples);
    case kMuLaw:
        return EncodeMuLaw(samples);
    case kImaAdpcm:
        return EncodeImaAdpcm(samples);
    default:
        return EncodeGsm(samples);
    }
}

// The recorders name a file by the local start time.
std::string FileName(const char* userId, time_t start) {
    ULARGE_INTEGER ticks;
    ticks.QuadPart = (static_cast<ULONGLONG>(start) + 11644473600ULL) * 10000000ULL;
    FILETIME utc{ticks.LowPart, ticks.HighPart}, local;
    SYSTEMTIME st;
    FileTimeToLocalFileTime(&utc, &local);
    FileTimeToSystemTime(&local, &st);
    char name[128];
    snprintf(name, sizeof(name), "%s-%04u%02u%02u-%02u%02u%02u.zel", userId, st.wYear, st.wMonth,
             st.wDay, st.wHour, st.wMinute, st.wSecond);
    return name;
}

} // namespace

std::vector<SSampleRecording> MakeSampleRecordings(const std::string& folder) {
    std::vector<SSampleRecording> made;
    const time_t now = time(nullptr);
    const std::string check = LowercaseCheckString(kSamplePassphrase);
    int index = 0;
    for (const SPlan& plan : kPlans) {
        // Spread over the last ten days, a few hours apart, newest first.
        const time_t start = now - 3600 - index * 14 * 3600 - index * 317;
        RecordingFields fields;
        fields.format = plan.format;
        fields.userId = plan.userId;
        fields.callerId = plan.callerId;
        fields.startTime = static_cast<int32_t>(start);
        fields.duration = plan.duration;
        fields.important = plan.important ? 1 : 0;
        fields.recorderType = "Zel Recorder";
        fields.comment = plan.bookmarkStart >= 0
                             ? BookmarkComment(plan.bookmarkStart, plan.bookmarkEnd, plan.comment)
                             : plan.comment;
        const std::string audio =
            EncodeAs(plan.format, MakeTestSignal(plan.duration * 8000, 100 + index));
        const std::string bytes =
            plan.encrypted ? MakeHeaderV5(fields, check, 0) + EncryptLikeRecorder(audio, check, 0)
                           : MakeHeaderV2to4(4, 1440, fields) + audio;
        SSampleRecording sample;
        sample.path = folder + FileName(plan.userId, start);
        if (!WriteWholeFile(sample.path, bytes))
            return {};
        sample.userId = plan.userId;
        sample.callerId = plan.callerId;
        sample.format = plan.format;
        sample.duration = plan.duration;
        sample.encrypted = plan.encrypted;
        sample.important = plan.important;
        sample.bookmarked = plan.bookmarkStart >= 0;
        made.push_back(sample);
        ++index;
    }
    return made;
}
