// KWRecordFileHdr.cpp: reading and writing the header record of a recording.
#include "KWRecordFileHdr.h"

#include "TraceLog.h"

#include "framework/Exception.h"
#include "framework/File.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <ctime>

const char CKWRecordFileHdr::kErrorCallerId[] = "ERROR!";
const char CKWRecordFileHdr::kErrorComment[] = "Disk or network error occured while reading file!";
const char CKWRecordFileHdr::kDefaultRecorder[] = "Unknown";
const char CKWRecordFileHdr::kUnreadRecorder[] = "n/a";
const char CKWRecordFileHdr::kLoadFailedRecorder[] = "Load failed";

namespace {

const uint32_t kVersionOne = 1;
const uint32_t kVersionCurrent = 4; // what every header but version 1 is written as
const uint32_t kVersionEncrypted = 5;
const int32_t kNoFormat = -1;
const int32_t kNoRecordType = -1;

// Audio formats whose size gives the duration of a version-4 header that has none.
const int32_t kFormatALaw = 6;
const int32_t kFormatMuLaw = 7;
const int32_t kFormatImaAdpcm = 17;
const int32_t kFormatGsm = 49;
const int64_t kSamplesPerSecond = 8000;
const int64_t kGsmFrameBytes = 33, kGsmFrameSamples = 160;
const int64_t kImaBlockBytes = 256, kImaBlockSamples = 504;

void PutLE32(uint8_t* p, uint32_t value) {
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
    p[2] = static_cast<uint8_t>(value >> 16);
    p[3] = static_cast<uint8_t>(value >> 24);
}

uint32_t GetLE32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Reads up to count bytes, fewer only at the end of the file.
uint32_t ReadFully(CFile& file, uint8_t* buffer, uint32_t count) {
    uint32_t done = 0;
    while (done < count) {
        UINT got = file.Read(buffer + done, count - done);
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

} // namespace

CKWRecordFileHdr::CKWRecordFileHdr() {
    SetDefaults();
}

void CKWRecordFileHdr::SetDefaults() {
    memset(m_record, 0, sizeof m_record);
    SetUInt(kOffVersion, kVersionCurrent);
    SetUInt(kOffHeaderLength, kRecordSize);
    SetInt(kOffFormat, kNoFormat);
    SetInt(kOffStartTime, static_cast<int32_t>(time(nullptr)));
    SetInt(kOffRecordType, kNoRecordType);
    SetText(kOffRecorderType, kRecorderTypeSize, kDefaultRecorder);
    m_keyLengthCode = 0;
    memset(m_checkString, 0, sizeof m_checkString);
    m_encrypted = 0;
    m_storedLength = kRecordSize;
    m_readOk = true;
}

uint32_t CKWRecordFileHdr::GetUInt(uint32_t offset) const {
    return GetLE32(m_record + offset);
}

void CKWRecordFileHdr::SetUInt(uint32_t offset, uint32_t value) {
    PutLE32(m_record + offset, value);
}

// A text field need not hold its terminator: the field's width bounds the text.
CString CKWRecordFileHdr::GetText(uint32_t offset, uint32_t size) const {
    const char* field = reinterpret_cast<const char*>(m_record + offset);
    return CString(field, static_cast<int>(strnlen(field, size)));
}

void CKWRecordFileHdr::SetText(uint32_t offset, uint32_t size, const char* text) {
    char* field = reinterpret_cast<char*>(m_record + offset);
    memset(field, 0, size);
    if (text)
        memcpy(field, text, strnlen(text, size));
    field[size - 1] = '\0';
}

// The check block goes too: a header whose passphrase was never checked must not
// keep the key of a file read before it.
void CKWRecordFileHdr::ClearForRead() {
    memset(m_record, 0, sizeof m_record);
    SetText(kOffRecorderType, kRecorderTypeSize, kUnreadRecorder);
    m_keyLengthCode = 0;
    memset(m_checkString, 0, sizeof m_checkString);
    m_encrypted = 0;
    m_storedLength = kRecordSize;
    m_readOk = false;
}

void CKWRecordFileHdr::SetReadError() {
    memset(m_record, 0, sizeof m_record);
    SetText(kOffCallerId, kCallerIdSize, kErrorCallerId);
    SetText(kOffComment, kCommentSize, kErrorComment);
    m_readOk = false;
}

// Copies what the file gave of count bytes at headOffset into the record; bytes
// the file did not have stay zero (a short file is not an error).
void CKWRecordFileHdr::Fill(uint32_t recordOffset, const uint8_t* head, uint32_t got,
                            uint32_t headOffset, uint32_t count) {
    if (got <= headOffset)
        return;
    memcpy(m_record + recordOffset, head + headOffset, std::min(count, got - headOffset));
}

// One read covers every layout (the longest, version 5, ends at the audio at
// 1488): a search reads thousands of headers, and each system call counts.
uint32_t CKWRecordFileHdr::Read(CFile& file, const char* passphrase) {
    ClearForRead();
    try {
        uint8_t head[kV5AudioOffset];
        const uint32_t got = ReadFully(file, head, sizeof head);
        Fill(kOffVersion, head, got, 0, 4);
        const uint32_t version = GetUInt(kOffVersion);
        if (version == kVersionOne) {
            Fill(kV1BodyOffset, head, got, 4, kV1BodySize);
            m_storedLength = kV1AudioOffset;
            m_readOk = true;
            return kV1AudioOffset;
        }
        if (version >= 2 && version <= kVersionCurrent) {
            Fill(kOffHeaderLength, head, got, 4, 4);
            const uint32_t length =
                std::max(kMinHeaderLength, std::min(kRecordSize, GetUInt(kOffHeaderLength)));
            SetUInt(kOffHeaderLength, length);
            Fill(kMinHeaderLength, head, got, kMinHeaderLength, length - kMinHeaderLength);
            if (version == kVersionCurrent && GetDuration() == 0)
                SetDuration(DurationFromAudioSize(file, length));
            m_storedLength = length;
            m_readOk = true;
            return length;
        }
        if (version == kVersionEncrypted) {
            m_encrypted = 1;
            const uint32_t audioOffset =
                ParseEncrypted(head + 4, got > 4 ? got - 4 : 0, passphrase);
            m_readOk = audioOffset != 0;
            return audioOffset;
        }
        KWTRACE_ERROR(("CKWRecordFileHdr::Read: unknown header version %u\n", version));
        SetReadError();
        return 0;
    } catch (CException* e) {
        e->Delete();
        KWTRACE_ERROR(("CKWRecordFileHdr::Read: the file could not be read\n"));
        SetReadError();
        return 0;
    }
}

// Seconds of audio after a header of the given length, for the formats whose
// size tells it; 0 for any other format.
int32_t CKWRecordFileHdr::DurationFromAudioSize(CFile& file, uint32_t headerLength) const {
    const int32_t format = GetFormat();
    if (format != kFormatGsm && format != kFormatALaw && format != kFormatMuLaw &&
        format != kFormatImaAdpcm)
        return 0;
    const int64_t fileLength = static_cast<int64_t>(file.GetLength());
    const int64_t audio = fileLength > headerLength ? fileLength - headerLength : 0;
    int64_t seconds = 0;
    if (format == kFormatGsm)
        seconds = audio / kGsmFrameBytes * kGsmFrameSamples / kSamplesPerSecond;
    else if (format == kFormatImaAdpcm)
        seconds = audio / kImaBlockBytes * kImaBlockSamples / kSamplesPerSecond;
    else
        seconds = audio / kSamplesPerSecond;
    return static_cast<int32_t>(std::min<int64_t>(seconds, INT32_MAX));
}

uint32_t CKWRecordFileHdr::ReadEncrypted(CFile& file, const char* passphrase) {
    if (!passphrase || !*passphrase)
        return 0;
    uint8_t rest[kCheckBlockSize + kRecordSize];
    return ParseEncrypted(rest, ReadFully(file, rest, sizeof rest), passphrase);
}

// data holds what followed the version in the file: the check block, then the
// encrypted record.
uint32_t CKWRecordFileHdr::ParseEncrypted(const uint8_t* data, uint32_t got,
                                          const char* passphrase) {
    if (!passphrase || !*passphrase || got < kCheckBlockSize)
        return 0;
    m_keyLengthCode = static_cast<int32_t>(GetLE32(data));
    for (uint32_t i = 0; i < kCheckStringSize; ++i)
        m_checkString[i] = static_cast<char>(data[4 + i] ^ kCheckStringFlip);
    m_checkString[kCheckStringSize] = '\0';

    if (!CKWAESCipher::CheckStringsMatch(m_checkString, m_cipher.MakeCheckString(passphrase))) {
        KWTRACE_ERROR(("CKWRecordFileHdr::ReadEncrypted: the passphrase does not match\n"));
        return 0;
    }
    if (got < kCheckBlockSize + kRecordSize)
        return 0;
    if (m_cipher.Decrypt(data + kCheckBlockSize, m_work, kRecordSize, m_checkString,
                         m_keyLengthCode) != kRecordSize) {
        KWTRACE_ERROR(("CKWRecordFileHdr::ReadEncrypted: the record could not be decrypted\n"));
        return 0;
    }
    memcpy(m_record, m_work, kRecordSize);
    return kV5AudioOffset;
}

// Type-10 records keep two durations; whichever is missing takes the other.
void CKWRecordFileHdr::LinkDurations() {
    if (GetRecordType() != kRecordTypeLinkedDurations)
        return;
    if (GetSecondDuration() == 0 && GetDuration() > 0)
        SetInt(kOffSecondDuration, GetDuration());
    else if (GetDuration() == 0 && GetSecondDuration() > 0)
        SetDuration(GetSecondDuration());
}

bool CKWRecordFileHdr::Write(CFile& file) {
    if (!m_readOk) {
        KWTRACE_ERROR(("CKWRecordFileHdr::Write: the header was not read; not written\n"));
        return false;
    }
    try {
        file.SeekToBegin();
        // A protected recording stays protected whatever version its record names.
        if (m_encrypted) {
            SetUInt(kOffVersion, kVersionCurrent);
            SetUInt(kOffHeaderLength, kRecordSize);
            LinkDurations();
            return WriteEncrypted(file);
        }
        if (GetVersion() == kVersionOne) {
            uint8_t out[kV1AudioOffset];
            PutLE32(out, kVersionOne);
            memcpy(out + 4, m_record + kV1BodyOffset, kV1BodySize);
            file.Write(out, sizeof out);
            return true;
        }
        // The audio follows a shorter header directly: keep its version and
        // length rather than grow it over the audio.
        uint32_t length = m_storedLength;
        if (length >= kRecordSize) {
            length = kRecordSize;
            SetUInt(kOffVersion, kVersionCurrent);
        }
        SetUInt(kOffHeaderLength, length);
        LinkDurations();
        file.Write(m_record, length);
        return true;
    } catch (CException* e) {
        e->Delete();
        KWTRACE_ERROR(("CKWRecordFileHdr::Write: the file could not be written\n"));
        return false;
    }
}

bool CKWRecordFileHdr::WriteEncrypted(CFile& file) {
    if (m_cipher.Encrypt(m_record, m_work, kRecordSize, m_checkString, m_keyLengthCode) !=
        kRecordSize) {
        KWTRACE_ERROR(("CKWRecordFileHdr::WriteEncrypted: the record could not be encrypted\n"));
        return false;
    }
    uint8_t out[kV5AudioOffset];
    PutLE32(out, kVersionEncrypted);
    PutLE32(out + 4, static_cast<uint32_t>(m_keyLengthCode));
    for (uint32_t i = 0; i < kCheckStringSize; ++i)
        out[8 + i] = static_cast<uint8_t>(m_checkString[i]) ^ kCheckStringFlip;
    memcpy(out + 4 + kCheckBlockSize, m_work, kRecordSize);
    file.Write(out, sizeof out);
    return true;
}

uint32_t CKWRecordFileHdr::LoadFromFile(const char* path, const char* passphrase) {
    CFile file;
    if (!path || !*path || !file.Open(path, CFile::modeRead | CFile::shareDenyWrite)) {
        memset(m_record, 0, sizeof m_record);
        SetUInt(kOffVersion, kVersionCurrent);
        SetUInt(kOffHeaderLength, kRecordSize);
        SetInt(kOffFormat, kNoFormat);
        SetInt(kOffRecordType, kNoRecordType);
        SetText(kOffRecorderType, kRecorderTypeSize, kLoadFailedRecorder);
        m_readOk = false;
        KWTRACE_ERROR(("CKWRecordFileHdr::LoadFromFile: cannot open \"%s\"\n", path ? path : ""));
        return 0;
    }
    const uint32_t audioOffset = Read(file, passphrase);
    file.Abort();
    return audioOffset;
}

bool CKWRecordFileHdr::SaveToFile(const char* path) {
    if (!m_readOk || !path || !*path)
        return false;
    CFile file;
    if (!file.Open(path, CFile::modeWrite | CFile::modeCreate | CFile::modeNoTruncate |
                             CFile::shareExclusive)) {
        KWTRACE_ERROR(("CKWRecordFileHdr::SaveToFile: cannot open \"%s\"\n", path));
        return false;
    }
    bool written = Write(file);
    try {
        file.Close();
    } catch (CException* e) {
        e->Delete();
        KWTRACE_ERROR(("CKWRecordFileHdr::SaveToFile: closing \"%s\" failed\n", path));
        written = false;
    }
    return written;
}
