// KWRecordFileExport.cpp: how a recording leaves the program: as a WAV file
// (16-bit PCM, or GSM 6.10 through the platform's audio compression manager), as
// a copy of its own file, or as a mail attachment.
//
// Every export is built completely before its file is created, and a file that
// cannot be written whole is deleted again; the dialogs and the mail tell the
// user of a failure, once.
#include "KWRecordFile.h"

#include "KWWav.h"
#include "MapiMail.h"
#include "NewFile.h"
#include "TraceLog.h"

#include "framework/CommonDialogs.h"
#include "framework/File.h"
#include "framework/WinApp.h"

#include <mmreg.h>
#include <msacm.h>
#include <shlobj.h>

#include <cstring>
#include <new>
#include <vector>

// The samples are written to PCM files as they lie in memory.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "PCM export assumes a little-endian host");

namespace {

const char kGsmFilter[] = "Wav GSM Compressed (*.wav)|*.wav|Wav Uncompressed (*.wav)|*.wav||";
const char kPcmFilter[] = "Wav Uncompressed (*.wav)|*.wav||";
const DWORD kUncompressedIndexWithGsm = 2; // the second entry of kGsmFilter
const char kSaveFailed[] = "The recording could not be saved as \"%s\".";
const char kCopyFailed[] = "The recording could not be copied to \"%s\".";
const char kMailFailed[] = "The recording could not be mailed: \"%s\" could not be written.";

const DWORD kPcmBlockBytes = CKWGsmWav::kSamplesPerBlock * CKWWav::kBytesPerSample; // 640

void DescribeGsm(GSM610WAVEFORMAT* gsm) {
    memset(gsm, 0, sizeof *gsm);
    gsm->wfx.wFormatTag = WAVE_FORMAT_GSM610;
    gsm->wfx.nChannels = 1;
    gsm->wfx.nSamplesPerSec = CKWWav::kSamplesPerSecond;
    gsm->wfx.nAvgBytesPerSec = CKWGsmWav::kBytesPerSecond;
    gsm->wfx.nBlockAlign = CKWGsmWav::kBlockAlign;
    gsm->wfx.wBitsPerSample = 0;
    gsm->wfx.cbSize = sizeof gsm->wSamplesPerBlock;
    gsm->wSamplesPerBlock = CKWGsmWav::kSamplesPerBlock;
}

// A PCM-to-GSM 6.10 stream of the audio compression manager, closed with the
// object.
class CGsmStream {
public:
    CGsmStream() : m_stream(nullptr) {
        WAVEFORMATEX pcm;
        GSM610WAVEFORMAT gsm;
        DescribePcmFormat(&pcm);
        DescribeGsm(&gsm);
        if (acmStreamOpen(&m_stream, nullptr, &pcm, &gsm.wfx, nullptr, 0, 0, 0) != MMSYSERR_NOERROR)
            m_stream = nullptr;
    }
    ~CGsmStream() {
        if (m_stream)
            acmStreamClose(m_stream, 0);
    }
    CGsmStream(const CGsmStream&) = delete;
    CGsmStream& operator=(const CGsmStream&) = delete;

    bool IsOpen() const { return m_stream != nullptr; }

    // Destination bytes for sourceBytes of PCM; 0 on failure.
    DWORD DestinationSize(DWORD sourceBytes) const {
        DWORD size = 0;
        if (acmStreamSize(m_stream, sourceBytes, &size, ACM_STREAMSIZEF_SOURCE) != MMSYSERR_NOERROR)
            return 0;
        return size;
    }

    // Converts whole blocks of PCM; *used gets the bytes written. False unless
    // every step succeeded and all of the source was taken.
    bool Convert(const uint8_t* source, DWORD sourceBytes, uint8_t* destination,
                 DWORD destinationBytes, DWORD* used) {
        ACMSTREAMHEADER header;
        memset(&header, 0, sizeof header);
        header.cbStruct = sizeof header;
        // The manager takes a writable pointer but only reads the source.
        header.pbSrc = const_cast<uint8_t*>(source);
        header.cbSrcLength = sourceBytes;
        header.pbDst = destination;
        header.cbDstLength = destinationBytes;
        MMRESULT result = acmStreamPrepareHeader(m_stream, &header, 0);
        if (result != MMSYSERR_NOERROR) {
            KWTRACE_ERROR(("CKWRecordFile: acmStreamPrepareHeader failed, %u\n", result));
            return false;
        }
        result = acmStreamConvert(m_stream, &header, 0);
        const bool whole = result == MMSYSERR_NOERROR && header.cbSrcLengthUsed == sourceBytes;
        *used = header.cbDstLengthUsed;
        const MMRESULT unprepared = acmStreamUnprepareHeader(m_stream, &header, 0);
        if (!whole || unprepared != MMSYSERR_NOERROR) {
            KWTRACE_ERROR(
                ("CKWRecordFile: acmStreamConvert took %lu of %lu bytes, results %u, %u\n",
                 static_cast<unsigned long>(header.cbSrcLengthUsed),
                 static_cast<unsigned long>(sourceBytes), result, unprepared));
            return false;
        }
        return true;
    }

private:
    HACMSTREAM m_stream; // owns
};

enum GsmResult { GSM_UNAVAILABLE, GSM_FAILED, GSM_CONVERTED };

// Converts every sample: the whole blocks straight from the samples, then a last
// short block padded with silence, so that the end of the call is kept.
GsmResult ConvertToGsm(const int16_t* samples, int32_t count, std::vector<uint8_t>* gsm) {
    CGsmStream stream;
    if (!stream.IsOpen())
        return GSM_UNAVAILABLE;
    const uint64_t blocks = (static_cast<uint64_t>(count) + CKWGsmWav::kSamplesPerBlock - 1) /
                            CKWGsmWav::kSamplesPerBlock;
    if (blocks * kPcmBlockBytes > MAXDWORD)
        return GSM_FAILED;
    const DWORD capacity = stream.DestinationSize(static_cast<DWORD>(blocks * kPcmBlockBytes));
    if (capacity == 0)
        return GSM_FAILED;
    try {
        gsm->resize(capacity);
    } catch (const std::bad_alloc&) {
        KWTRACE_ERROR(("CKWRecordFile: no memory for %lu bytes of GSM\n",
                       static_cast<unsigned long>(capacity)));
        return GSM_FAILED;
    }
    const DWORD wholeBytes = count / CKWGsmWav::kSamplesPerBlock * kPcmBlockBytes;
    DWORD used = 0;
    if (wholeBytes > 0 && !stream.Convert(reinterpret_cast<const uint8_t*>(samples), wholeBytes,
                                          gsm->data(), capacity, &used))
        return GSM_FAILED;
    const int32_t tail = count % CKWGsmWav::kSamplesPerBlock;
    if (tail > 0) {
        int16_t last[CKWGsmWav::kSamplesPerBlock] = {};
        memcpy(last, samples + (count - tail), tail * sizeof(int16_t));
        DWORD lastUsed = 0;
        if (used > capacity ||
            !stream.Convert(reinterpret_cast<const uint8_t*>(last), kPcmBlockBytes,
                            gsm->data() + used, capacity - used, &lastUsed))
            return GSM_FAILED;
        used += lastUsed;
    }
    if (used != blocks * CKWGsmWav::kBlockAlign) {
        KWTRACE_ERROR(("CKWRecordFile: %lu bytes of GSM for %lu blocks\n",
                       static_cast<unsigned long>(used), static_cast<unsigned long>(blocks)));
        return GSM_FAILED;
    }
    gsm->resize(used);
    return GSM_CONVERTED;
}

// Writes the header and the data as a new file; see WriteNewFile.
bool WriteWavFile(const char* path, const uint8_t* header, UINT headerSize, const void* data,
                  UINT dataSize) {
    return WriteNewFile(path, [&](CFile& file) {
        file.Write(header, headerSize);
        file.Write(data, dataSize);
        return true;
    });
}

bool IsSameFile(const char* first, const char* second) {
    char full1[MAX_PATH], full2[MAX_PATH];
    if (!GetFullPathNameA(first, MAX_PATH, full1, nullptr) ||
        !GetFullPathNameA(second, MAX_PATH, full2, nullptr))
        return false;
    return lstrcmpiA(full1, full2) == 0;
}

} // namespace

const char CKWRecordFile::kZelFilter[] = "Zel Files (*.zel)|*.zel||";

bool CKWRecordFile::CanSaveGsmWav() {
    return CGsmStream().IsOpen();
}

bool CKWRecordFile::SaveAsWav(const char* path, bool uncompressed) {
    const int16_t* samples = nullptr;
    const int32_t count = GetSamples(0, m_sampleCount, &samples);
    if (count == 0) {
        KWTRACE_ERROR(("CKWRecordFile::SaveAsWav: no samples to save\n"));
        return false;
    }
    std::vector<uint8_t> gsm;
    const GsmResult result = uncompressed ? GSM_UNAVAILABLE : ConvertToGsm(samples, count, &gsm);
    if (result == GSM_FAILED)
        return false;
    if (result == GSM_CONVERTED) {
        CKWGsmWav header;
        if (!header.SetSizes(static_cast<uint32_t>(gsm.size()), static_cast<uint32_t>(count)))
            return false;
        return WriteWavFile(path, header.GetBytes(), CKWGsmWav::kHeaderSize, gsm.data(),
                            static_cast<UINT>(gsm.size()));
    }
    const uint32_t dataSize = static_cast<uint32_t>(count) * CKWWav::kBytesPerSample;
    CKWWav header;
    if (!header.SetDataSize(dataSize))
        return false;
    return WriteWavFile(path, header.GetBytes(), CKWWav::kHeaderSize, samples, dataSize);
}

bool CKWRecordFile::SaveAsWavDlg() {
    if (!IsReady())
        return false;
    const bool gsm = CanSaveGsmWav();
    DWORD filterIndex = 1;
    const CString path = AskSavePath(gsm ? kGsmFilter : kPcmFilter, ".wav", &filterIndex);
    if (path.IsEmpty())
        return false;
    const bool uncompressed = !gsm || filterIndex == kUncompressedIndexWithGsm;
    if (!SaveAsWav(path, uncompressed)) {
        ReportFailure(kSaveFailed, path);
        return false;
    }
    return true;
}

bool CKWRecordFile::SaveAsZelDlg() {
    if (!IsReady())
        return false;
    const CString path = AskSavePath(kZelFilter, ".zel", nullptr);
    if (path.IsEmpty())
        return false;
    // The recording is already there: copying it onto itself could only lose it.
    if (IsSameFile(m_path, path))
        return true;
    if (!CopyFileA(m_path, path, FALSE)) {
        KWTRACE_ERROR(("CKWRecordFile::SaveAsZelDlg: copying to \"%s\" failed, error %lu\n",
                       path.GetString(), static_cast<unsigned long>(GetLastError())));
        ReportFailure(kCopyFailed, path);
        return false;
    }
    return true;
}

bool CKWRecordFile::EmailAsWav() {
    if (!IsReady())
        return false;
    const CString path = GetTempFolder() + GetBaseName() + ".wav";
    if (!SaveAsWav(path, false)) {
        ReportFailure(kMailFailed, path);
        return false;
    }
    const bool sent = MailFile(path);
    // The mail client has taken its copy once the send call returns; a
    // recording is confidential and does not stay in the temporary folder.
    if (!DeleteFileA(path))
        KWTRACE_ERROR(("CKWRecordFile::EmailAsWav: \"%s\" could not be deleted, error %lu\n",
                       path.GetString(), static_cast<unsigned long>(GetLastError())));
    return sent;
}

CString CKWRecordFile::GetBaseName() const {
    const int backslash = m_path.ReverseFind('\\');
    const int slash = m_path.ReverseFind('/');
    const int separator = backslash > slash ? backslash : slash;
    const int dot = m_path.ReverseFind('.');
    const int first = separator + 1;
    const int last = dot > separator ? dot : m_path.GetLength();
    return m_path.Mid(first, last - first);
}

CString CKWRecordFile::GetTempFolder() {
    char folder[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH)
        return CString();
    CString path(folder);
    if (path.Right(1) != "\\")
        path += '\\';
    return path;
}

CString CKWRecordFile::GetDocumentsFolder() {
    char folder[MAX_PATH] = {};
    if (SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, folder) != S_OK)
        return CString();
    return CString(folder);
}

CString CKWRecordFile::AskSavePath(const char* filter, const char* extension,
                                   DWORD* filterIndex) const {
    const CString baseName = GetBaseName();
    CFileDialog dialog(FALSE, extension + 1, baseName, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       filter);
    const CString folder = GetDocumentsFolder();
    if (!folder.IsEmpty())
        dialog.m_ofn.lpstrInitialDir = folder;
    if (dialog.DoModal() != IDOK)
        return CString();
    if (filterIndex)
        *filterIndex = dialog.m_ofn.nFilterIndex;
    CString path = dialog.GetPathName();
    const int length = static_cast<int>(strlen(extension));
    if (path.Right(length).CompareNoCase(extension) != 0)
        path += extension;
    return path;
}

bool CKWRecordFile::MailFile(const char* path) const {
    const CString callerId = m_hdr.GetCallerId();
    const CString date = m_hdr.GetDateTimeText();
    CString subject;
    subject.Format("Recording With %s at %s", callerId.GetString(), date.GetString());
    CString body("Please find attached a telephone conversation recorded by me as follows:\r\n");
    body.AppendFormat("Conversation With: %s\r\n", callerId.GetString());
    body.AppendFormat("Date & Time: %s\r\n", date.GetString());
    const CString comment = m_hdr.GetComment();
    if (!comment.IsEmpty())
        body.AppendFormat("My comments: %s\r\n", comment.GetString());

    CMapiMail mail;
    mail.SetSubject(subject);
    if (!mail.AddAttachment(path))
        return false;
    mail.SetBody(body);
    return mail.Send(MAPI_DIALOG) != FALSE;
}

void CKWRecordFile::ReportFailure(const char* format, const char* path) {
    CString text;
    text.Format(format, path);
    AfxMessageBox(text, MB_OK | MB_ICONERROR);
}
