// KWRecordFile.cpp: opening and decoding a recording, its decoder thread and the
// header changes made while it is open.
#include "KWRecordFile.h"

#include "KWAudioCodec.h"
#include "KWWav.h"
#include "Settings.h"
#include "TraceLog.h"

#include "framework/Exception.h"
#include "framework/File.h"
#include "framework/WinThread.h"

#include <climits>
#include <cstring>
#include <new>

namespace {

const int32_t kFormatALaw = 6;
const int32_t kFormatMuLaw = 7;
const int32_t kFormatImaAdpcm = 17;
const int32_t kFormatGsm = 49;
// A file shorter than one header record is no recording, whatever its kind.
const ULONGLONG kMinFileLength = 1440;
const int kExtensionLength = 3;
const int kHeaderlessCallerIdLength = 16;

// The trace line shows addresses as 32-bit hex; the low half is what tells
// two buffers apart.
unsigned Low32(const void* p) {
    return static_cast<unsigned>(reinterpret_cast<uintptr_t>(p));
}

} // namespace

CKWRecordFile::CKWRecordFile()
    : m_samples(nullptr), m_sampleCount(0), m_headerWritable(false), m_coded(nullptr),
      m_decoding(false), m_failed(false), m_modified(false), m_decoder(nullptr), m_decodeFormat(0),
      m_decodeInput(nullptr), m_decodeUnits(0), m_decodedCount(0), m_stop(false) {}

CKWRecordFile::~CKWRecordFile() {
    Close();
}

BOOL CKWRecordFile::Load(const char* path, const char* passphrase) {
    if (!path) {
        Close();
        return TRUE;
    }
    return Open(path, passphrase);
}

BOOL CKWRecordFile::LoadAndWait(const char* path) {
    const CString passphrase = CSettings::GetInstance()->GetPassphrase();
    const BOOL loaded = Load(path, passphrase);
    if (m_decoder && m_decoder->m_hThread)
        WaitForSingleObject(m_decoder->m_hThread, kLoadWaitMs);
    return loaded;
}

void CKWRecordFile::Close() {
    if (!WaitForDecoder()) {
        // The decoder may still write the samples and read the coded bytes:
        // leaving both behind is the only safe choice.
        m_samples = nullptr;
        m_coded = nullptr;
    }
    FreeCoded();
    m_path.Empty();
    delete[] m_samples;
    m_samples = nullptr;
    m_sampleCount = 0;
    m_modified = false;
    m_headerWritable = false;
    m_decoding = false;
    m_failed = false;
    m_decodedCount = 0;
}

bool CKWRecordFile::HasDecodedEnough() const {
    return !m_failed && (!m_decoding.load() || m_decodedCount.load() > kEnoughSamples);
}

int32_t CKWRecordFile::GetSamples(int32_t offset, int32_t count, const int16_t** samples) const {
    if (!samples || !m_samples || offset < 0 || offset >= m_sampleCount || count <= 0)
        return 0;
    *samples = m_samples + offset;
    const int32_t available = m_sampleCount - offset;
    return count < available ? count : available;
}

void CKWRecordFile::SetSampleCount(int32_t count) {
    if (count >= 0 && count <= m_sampleCount)
        m_sampleCount = count;
}

BOOL CKWRecordFile::Open(const char* path, const char* passphrase) {
    if (m_samples && m_path.Compare(path) == 0)
        return TRUE;
    const BOOL opened = OpenFile(path, passphrase);
    m_failed = !opened;
    return opened;
}

BOOL CKWRecordFile::OpenFile(const char* path, const char* passphrase) {
    const CString extension = CString(path).Right(kExtensionLength);
    Close();

    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite)) {
        KWTRACE_ERROR(("CKWRecordFile::Open: cannot open \"%s\"\n", path));
        return FALSE;
    }
    try {
        if (file.GetLength() < kMinFileLength) {
            KWTRACE_ERROR(("CKWRecordFile::Open: \"%s\" is shorter than a header\n", path));
            file.Abort();
            return FALSE;
        }
        uint32_t offset = 0;
        if (extension.CompareNoCase("ZEL") == 0) {
            offset = m_hdr.Read(file, passphrase);
            if (offset == 0) {
                // The header's texts say why; the path stays for the views.
                file.Abort();
                m_path = path;
                return FALSE;
            }
            m_headerWritable = true;
        } else {
            ResetHeaderless(path);
        }
        int32_t size = 0;
        const bool read = ReadAudio(file, offset, &size);
        file.Abort();
        if (read) {
            if (m_hdr.IsEncrypted())
                DecryptAudio(size);
            if (extension.CompareNoCase("WAV") == 0)
                LoadWavSamples(size);
            else
                m_sampleCount = Decode(m_hdr.GetFormat(), m_coded, size);
        }
        m_path = path;
        if (m_sampleCount == 0) {
            FreeCoded();
            return FALSE;
        }
        return TRUE;
    } catch (CException* e) {
        e->Delete();
        KWTRACE_ERROR(("CKWRecordFile::Open: reading \"%s\" failed\n", path));
        file.Abort();
        Close();
        return FALSE;
    }
}

// Headerless audio starts from a new header, so nothing of the previous
// recording shows through.
void CKWRecordFile::ResetHeaderless(const char* path) {
    m_hdr.SetDefaults();
    m_hdr.SetCallerId(CString(path).Left(kHeaderlessCallerIdLength));
    m_hdr.SetComment(path);
    m_hdr.SetFormat(kFormatMuLaw);
}

bool CKWRecordFile::ReadAudio(CFile& file, uint32_t offset, int32_t* size) {
    const ULONGLONG length = file.GetLength();
    const ULONGLONG audio = length > offset ? length - offset : 0;
    if (audio > static_cast<ULONGLONG>(INT32_MAX)) {
        KWTRACE_ERROR(("CKWRecordFile::ReadAudio: %llu bytes of audio are too many\n",
                       static_cast<unsigned long long>(audio)));
        return false;
    }
    m_coded = new (std::nothrow) uint8_t[audio ? audio : 1];
    if (!m_coded) {
        KWTRACE_ERROR(("CKWRecordFile::ReadAudio: no memory for %llu bytes\n",
                       static_cast<unsigned long long>(audio)));
        return false;
    }
    file.Seek(offset, CFile::begin);
    uint32_t done = 0;
    while (done < audio) {
        const UINT got = file.Read(m_coded + done, static_cast<UINT>(audio - done));
        if (got == 0)
            break; // the file shrank since its length was taken
        done += got;
    }
    *size = static_cast<int32_t>(done);
    return true;
}

// A WAV file plays its data chunk, and only in the form the program exports.
bool CKWRecordFile::LoadWavSamples(int32_t size) {
    uint32_t offset = 0, length = 0;
    if (!FindPcmWavData(m_coded, static_cast<uint32_t>(size), &offset, &length)) {
        KWTRACE_ERROR(("CKWRecordFile: \"%s\" is not 16-bit mono PCM at 8000 Hz\n",
                       m_hdr.GetComment().GetString()));
        FreeCoded();
        return false;
    }
    const int32_t count = static_cast<int32_t>(length / 2); // an odd last byte is no sample
    if (count > 0)
        m_samples = new (std::nothrow) int16_t[count];
    if (m_samples) {
        const uint8_t* data = m_coded + offset;
        for (int32_t i = 0; i < count; ++i)
            m_samples[i] = static_cast<int16_t>(data[2 * i] | (data[2 * i + 1] << 8));
        m_sampleCount = count;
    }
    FreeCoded();
    return m_sampleCount > 0;
}

int32_t CKWRecordFile::Decode(int32_t format, const uint8_t* data, int32_t size) {
    switch (format) {
    case kFormatALaw:
    case kFormatMuLaw: {
        const int32_t count = format == kFormatALaw ? ALawDecode(&m_samples, data, size)
                                                    : MuLawDecode(&m_samples, data, size);
        m_decoding = false;
        FreeCoded();
        return count;
    }
    case kFormatImaAdpcm:
        return DecodeImaAdpcm(data, size);
    case kFormatGsm:
        return DecodeGsm(data, size);
    default:
        KWTRACE_ERROR(("CKWRecordFile::Decode: audio format %d is not known\n", format));
        return 0;
    }
}

int32_t CKWRecordFile::DecodeImaAdpcm(const uint8_t* data, int32_t size) {
    const int32_t count = ImaAdpcmDecode(nullptr, nullptr, size);
    return StartDecoder(kFormatImaAdpcm, data, count, count / kImaAdpcmBlockSamples);
}

int32_t CKWRecordFile::DecodeGsm(const uint8_t* data, int32_t size) {
    const int32_t count = GsmDecode(nullptr, nullptr, size);
    return StartDecoder(kFormatGsm, data, count, count / kGsmFrameSamples);
}

// The samples get their final length at once, zeros until decoded, so that the
// player can read them while the decoder fills them in.
int32_t CKWRecordFile::StartDecoder(int32_t format, const uint8_t* data, int32_t count,
                                    int32_t units) {
    if (count == 0) {
        FreeCoded();
        return 0;
    }
    m_samples = new (std::nothrow) int16_t[count]();
    if (!m_samples) {
        KWTRACE_ERROR(("CKWRecordFile: no memory for %d samples\n", count));
        FreeCoded();
        return 0;
    }
    KWTRACE(("New file ptr=%x, length=%d, end=%x\n", Low32(m_samples),
             static_cast<int>(static_cast<uint32_t>(count) * 2u), Low32(m_samples + count)));
    m_decoding = true;
    m_decodeFormat = format;
    m_decodeInput = data;
    m_decodeUnits = units;
    m_decodedCount = 0;
    m_stop = false;
    // Started suspended so that it stops deleting itself before it can end:
    // Close joins it through its handle.
    CWinThread* thread =
        AfxBeginThread(DecoderThreadProc, this, THREAD_PRIORITY_BELOW_NORMAL, 0, CREATE_SUSPENDED);
    if (!thread) {
        KWTRACE_ERROR(("CKWRecordFile: the decoder thread did not start\n"));
        m_decoding = false;
        delete[] m_samples;
        m_samples = nullptr;
        FreeCoded();
        return 0;
    }
    thread->m_bAutoDelete = FALSE;
    m_decoder = thread;
    thread->ResumeThread();
    return count;
}

UINT AFX_CDECL CKWRecordFile::DecoderThreadProc(LPVOID param) {
    CKWRecordFile* file = static_cast<CKWRecordFile*>(param);
    if (file->m_decodeFormat == kFormatGsm)
        file->RunGsmDecoder();
    else
        file->RunImaAdpcmDecoder();
    return 0;
}

void CKWRecordFile::RunImaAdpcmDecoder() {
    ImaAdpcmState state = {};
    int32_t written = 0;
    for (int32_t block = 0; block < m_decodeUnits && !m_stop.load(); ++block) {
        ImaAdpcmDecodeBlock(m_samples + written,
                            m_decodeInput + static_cast<size_t>(block) * kImaAdpcmBlockBytes,
                            &state);
        written += kImaAdpcmBlockSamples;
        m_decodedCount.store(written);
    }
    EndDecoding(m_decodeUnits * kImaAdpcmBlockSamples);
}

void CKWRecordFile::RunGsmDecoder() {
    CKWGsmState state;
    int32_t written = 0;
    for (int32_t frame = 0; frame < m_decodeUnits && !m_stop.load(); ++frame) {
        GsmDecodeFrame(m_samples + written,
                       m_decodeInput + static_cast<size_t>(frame) * kGsmFrameBytes, &state);
        written += kGsmFrameSamples;
        m_decodedCount.store(written);
    }
    EndDecoding(m_decodeUnits * kGsmFrameSamples);
}

// On the decoder thread. The coded bytes go as soon as they are no longer read;
// the decoding flag is cleared last, after everything else the thread touches.
void CKWRecordFile::EndDecoding(int32_t total) {
    FreeCoded();
    KWTRACE(
        ("CKWRecordFile: decoder ended after %d of %d samples\n", m_decodedCount.load(), total));
    m_decoding = false;
}

bool CKWRecordFile::WaitForDecoder() {
    m_stop = true;
    if (!m_decoder)
        return true;
    if (WaitForSingleObject(m_decoder->m_hThread, INFINITE) != WAIT_OBJECT_0) {
        KWTRACE_ERROR(("CKWRecordFile: the decoder thread could not be joined, error %lu\n",
                       static_cast<unsigned long>(GetLastError())));
        return false;
    }
    delete m_decoder;
    m_decoder = nullptr;
    return true;
}

void CKWRecordFile::FreeCoded() {
    delete[] m_coded;
    m_coded = nullptr;
}

void CKWRecordFile::DecryptAudio(int32_t size) {
    if (size < 1 || !m_coded)
        return;
    // In place: whole blocks are deciphered, a shorter tail keeps the bytes read.
    const size_t wholeBlocks = static_cast<size_t>(size) / CKWAESCipher::kBlockSize;
    if (m_cipher.Decrypt(m_coded, m_coded, static_cast<size_t>(size), m_hdr.GetCheckString(),
                         m_hdr.GetKeyLengthCode()) < wholeBlocks * CKWAESCipher::kBlockSize)
        KWTRACE_ERROR(("CKWRecordFile::DecryptAudio: the audio could not be deciphered\n"));
}

void CKWRecordFile::SetComment(const char* text) {
    if (m_hdr.GetComment().Compare(text ? text : "") == 0)
        return;
    m_hdr.SetComment(text);
    m_modified = true;
}

void CKWRecordFile::SetCallerId(const char* text) {
    if (m_hdr.GetCallerId().Compare(text ? text : "") == 0)
        return;
    m_hdr.SetCallerId(text);
    m_modified = true;
}

void CKWRecordFile::SetImportant(int32_t important) {
    if (m_hdr.GetImportant() == important)
        return;
    m_hdr.SetImportant(important);
    m_modified = true;
}

bool CKWRecordFile::SetBookmark(int start, int end) {
    int oldStart = -1, oldEnd = -1;
    const bool had = m_hdr.GetBookmark(&oldStart, &oldEnd);
    if (start == oldStart && end == oldEnd)
        return had;
    const bool valid = start >= 0 && start < end;
    if (!valid && !(start == -1 && end == -1))
        return false;
    // The old area goes first: a comment with two areas would read as either.
    bool changed = had && m_hdr.SetBookmark(-1, -1);
    bool result = changed;
    if (valid) {
        result = m_hdr.SetBookmark(start, end);
        changed = changed || result;
    }
    if (changed)
        m_modified = true;
    return result;
}

bool CKWRecordFile::FlushHeader() {
    if (m_path.IsEmpty())
        return false;
    if (!m_modified)
        return true;
    if (!m_headerWritable) {
        KWTRACE_ERROR(("CKWRecordFile::FlushHeader: \"%s\" has no header of its own; not written\n",
                       m_path.GetString()));
        return false;
    }
    if (!m_hdr.SaveToFile(m_path))
        return false;
    m_modified = false;
    return true;
}
