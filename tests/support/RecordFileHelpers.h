// RecordFileHelpers.h: helpers of the tests of opened recordings and their
// exports: CDecoderGate (holds a decoder thread before it reports its end),
// CMailCapture (catches the mails a recording sends), BookmarkComment,
// RunNativeCommand, SamplesOf and Correlation.
#pragma once

#include <windows.h>

#include <mapi.h>

#include "Common/KWRecordFile.h"

#include <cstdint>
#include <string>
#include <vector>

// Holds the trace log's lock. A decoder thread traces one line when it ends,
// after its last sample and before it clears the decoding flag, so while the
// gate is closed a recording stays "decoding" with its samples written. The
// holding thread itself may still trace (the lock is re-entrant).
class CDecoderGate {
public:
    CDecoderGate();
    ~CDecoderGate();
    CDecoderGate(const CDecoderGate&) = delete;
    CDecoderGate& operator=(const CDecoderGate&) = delete;

    void Open();

private:
    bool m_closed;
};

// One mail handed to the mail client.
struct SCapturedMail {
    std::string subject;
    std::string note; // the body with one blank per attachment
    ULONG flags;
    std::vector<std::string> attachments;
    std::vector<std::string> attachmentBytes; // each file as it was during the send
};

// Replaces MAPISendMail for its lifetime: every mail is kept, and the send
// answers result (SUCCESS_SUCCESS unless set otherwise).
class CMailCapture {
public:
    CMailCapture();
    ~CMailCapture();
    CMailCapture(const CMailCapture&) = delete;
    CMailCapture& operator=(const CMailCapture&) = delete;

    std::vector<SCapturedMail> mails;
    ULONG result;

private:
    static ULONG WINAPI SendMail(LHANDLE, ULONG_PTR, lpMapiMessage message, FLAGS flags, ULONG);
    static CMailCapture* s_current;
};

// The comment text that holds the bookmark area (start, end) after text, as
// the recorders and the player write it.
std::string BookmarkComment(int start, int end, const std::string& text = std::string());

// Runs a shell command of the host (not a Windows program) and returns what it
// printed; false when it could not be run or did not exit with 0.
bool RunNativeCommand(const std::string& command, std::string* output);
// The host path of a Windows path, for native commands.
std::string HostPath(const std::string& windowsPath);

// A copy of all samples of an opened recording.
std::vector<int16_t> SamplesOf(const CKWRecordFile& file);

// Normalised correlation of two signals over the shorter length: near 1 for the
// same audio through a lossy coding, near 0 for unrelated audio.
double Correlation(const std::vector<int16_t>& a, const std::vector<int16_t>& b);
