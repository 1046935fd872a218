// BookmarkRecordFile.cpp: the bookmark copy of a recording: the crop, and its
// writing as a GSM recording.
#include "BookmarkRecordFile.h"

#include "KWAudioCodec.h"
#include "NewFile.h"
#include "TraceLog.h"

#include "framework/File.h"

#include <cstring>
#include <memory>
#include <new>

namespace {

const int32_t kFormatGsm = 49;
const char kSaveFailed[] = "The bookmark area could not be saved as \"%s\".";

} // namespace

CBookmarkRecordFile::CBookmarkRecordFile(CKWRecordFile* source) : m_source(source) {
    if (m_source)
        LoadAndWait(m_source->GetPath());
    // The copy is cut and its header changed; none of that may reach the
    // source's file through FlushHeader.
    m_headerWritable = false;
}

bool CBookmarkRecordFile::CropToBookmark() {
    int start = -1, end = -1;
    if (!GetBookmark(&start, &end))
        return false;
    if (!IsReady()) {
        KWTRACE_ERROR(("CBookmarkRecordFile::CropToBookmark: the copy is still being decoded\n"));
        return false;
    }
    // Samples per second of this recording as its header sees it; a header
    // without a duration is taken at the nominal rate.
    const int32_t duration = m_hdr.GetDuration();
    const int64_t rate = duration > 0 ? m_sampleCount / duration : kSamplesPerSecond;
    const int64_t first = start * rate;
    int64_t last = end * rate;
    const bool cutAtEnd = last > m_sampleCount;
    if (cutAtEnd)
        last = m_sampleCount;
    if (first >= last) {
        KWTRACE_ERROR(("CBookmarkRecordFile::CropToBookmark: the area (%d, %d) lies after the "
                       "last of %d samples\n",
                       start, end, m_sampleCount));
        delete[] m_samples;
        m_samples = nullptr;
        m_sampleCount = 0;
        return false;
    }
    const int32_t count = static_cast<int32_t>(last - first);
    int16_t* cut = new (std::nothrow) int16_t[count];
    if (!cut) {
        KWTRACE_ERROR(("CBookmarkRecordFile::CropToBookmark: no memory for %d samples\n", count));
        return false;
    }
    memcpy(cut, m_samples + first, count * sizeof(int16_t));
    delete[] m_samples;
    m_samples = cut;
    m_sampleCount = count;
    // An area running past the audio lasts only as long as the audio it got.
    m_hdr.SetDuration(cutAtEnd ? static_cast<int32_t>((count + rate - 1) / rate) : end - start);
    SetBookmark(-1, -1);
    return true;
}

CString CBookmarkRecordFile::MakeTempPath(const char* extension) const {
    return GetTempFolder() + GetBaseName() + extension;
}

bool CBookmarkRecordFile::SaveAsZel(const char* path) {
    if (!m_samples || m_sampleCount == 0) {
        KWTRACE_ERROR(("CBookmarkRecordFile::SaveAsZel: no samples to save\n"));
        return false;
    }
    uint8_t* encoded = nullptr;
    const int32_t size = GsmEncode(&encoded, m_samples, m_sampleCount);
    std::unique_ptr<uint8_t[]> frames(encoded);
    if (size == 0 || !frames)
        return false;
    // A protected recording's copy is protected the same way, or it would not
    // read back: the header is written enciphered, so the audio must be too.
    if (m_hdr.IsEncrypted() &&
        m_cipher.Encrypt(frames.get(), frames.get(), static_cast<size_t>(size),
                         m_hdr.GetCheckString(),
                         m_hdr.GetKeyLengthCode()) != static_cast<size_t>(size))
        return false;

    m_hdr.SetFormat(kFormatGsm);
    return WriteNewFile(path, [&](CFile& file) {
        if (!m_hdr.Write(file))
            return false;
        file.Write(frames.get(), static_cast<UINT>(size));
        return true;
    });
}

bool CBookmarkRecordFile::SaveAsZelDlg() {
    if (!IsReady())
        return false;
    const CString path = AskSavePath(kZelFilter, ".zel", nullptr);
    if (path.IsEmpty())
        return false;
    if (!SaveAsZel(path)) {
        ReportFailure(kSaveFailed, path);
        return false;
    }
    return true;
}

bool CBookmarkRecordFile::Email(const char* path, bool deleteAfterwards) {
    const bool sent = MailFile(path);
    if (deleteAfterwards && !DeleteFileA(path))
        KWTRACE_ERROR(("CBookmarkRecordFile::Email: \"%s\" could not be deleted, error %lu\n", path,
                       static_cast<unsigned long>(GetLastError())));
    return sent;
}
