// RecordFileHelpers.cpp: helpers of the recording tests.
#include "RecordFileHelpers.h"

#include "TempFolder.h"

#include "Common/MapiMail.h"
#include "Common/TraceLog.h"
#include "framework/UnixPath.h"

#include <cmath>
#include <cstdio>

CDecoderGate::CDecoderGate() : m_closed(true) {
    g_TraceLog.Enter();
}

CDecoderGate::~CDecoderGate() {
    Open();
}

void CDecoderGate::Open() {
    if (!m_closed)
        return;
    m_closed = false;
    g_TraceLog.Trace("%s", "test: decoder gate opened");
}

CMailCapture* CMailCapture::s_current = nullptr;

CMailCapture::CMailCapture() : result(SUCCESS_SUCCESS) {
    s_current = this;
    CMapiMail::SetSendMailOverride(&CMailCapture::SendMail);
}

CMailCapture::~CMailCapture() {
    CMapiMail::SetSendMailOverride(nullptr);
    s_current = nullptr;
}

ULONG WINAPI CMailCapture::SendMail(LHANDLE, ULONG_PTR, lpMapiMessage message, FLAGS flags, ULONG) {
    SCapturedMail mail;
    mail.subject = message->lpszSubject ? message->lpszSubject : "";
    mail.note = message->lpszNoteText ? message->lpszNoteText : "";
    mail.flags = flags;
    for (ULONG i = 0; i < message->nFileCount; ++i) {
        const char* path = message->lpFiles[i].lpszPathName;
        mail.attachments.push_back(path ? path : "");
        mail.attachmentBytes.push_back(path ? ReadWholeFile(path) : std::string());
    }
    s_current->mails.push_back(mail);
    return s_current->result;
}

namespace {

std::string Time(int seconds) {
    char text[32];
    snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

} // namespace

std::string BookmarkComment(int start, int end, const std::string& text) {
    return "Bookmark at:  " + Time(start) + "\r\n" + text +
           "\r\n\r\n### System information do no edit! ###\r\n<bookmark>\r\n<bstart>" +
           Time(start) + "</bstart>\r\n<bend>" + Time(end) + "</bend>\r\n<bookmark>";
}

bool RunNativeCommand(const std::string& command, std::string* output) {
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return false;
    output->clear();
    char buffer[256];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output->append(buffer, got);
    return pclose(pipe) == 0;
}

std::string HostPath(const std::string& windowsPath) {
    std::string unixPath;
    return UnixPathFromWindows(windowsPath.c_str(), unixPath) ? unixPath : std::string();
}

std::vector<int16_t> SamplesOf(const CKWRecordFile& file) {
    const int16_t* samples = nullptr;
    const int32_t count = file.GetSamples(0, file.GetSampleCount(), &samples);
    return count ? std::vector<int16_t>(samples, samples + count) : std::vector<int16_t>();
}

double Correlation(const std::vector<int16_t>& a, const std::vector<int16_t>& b) {
    double ab = 0, aa = 0, bb = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        ab += double(a[i]) * b[i];
        aa += double(a[i]) * a[i];
        bb += double(b[i]) * b[i];
    }
    return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0;
}
