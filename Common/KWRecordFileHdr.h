// KWRecordFileHdr.h: CKWRecordFileHdr, the 1440-byte header record at the start
// of a recording (.zel), in its five on-disk versions.
//
// The record is kept as the bytes that lie on disk and every field is read and
// written little-endian at its offset, so a header reads back byte for byte.
// Versions 1 to 4 are stored in clear; version 5 stores a check block and the
// record encrypted with CKWAESCipher.
//
// A header is written back only in the layout it was read in, and never after
// a failed read: a 2-, 3- or short 4-version header keeps its length, because
// the audio follows it directly, and a header that could not be read (unknown
// version, wrong passphrase) would overwrite the user's file with zeros.
#pragma once

#include "KWAESCipher.h"

#include "framework/AfxString.h"

#include <cstdint>

class CFile;

class CKWRecordFileHdr {
public:
    // Sizes and offsets of the record (hex and decimal).
    static constexpr uint32_t kRecordSize = 0x5A0; // 1440
    static constexpr uint32_t kOffVersion = 0;
    static constexpr uint32_t kOffHeaderLength = 4;
    static constexpr uint32_t kOffFormat = 8;
    static constexpr uint32_t kOffImportant = 12;
    static constexpr uint32_t kOffCallerId = 16;
    static constexpr uint32_t kCallerIdSize = 128;
    static constexpr uint32_t kOffComment = 144;
    static constexpr uint32_t kCommentSize = 1024;
    static constexpr uint32_t kOffStartTime = 1168;
    static constexpr uint32_t kOffDuration = 1172;
    static constexpr uint32_t kOffReserved1 = 1176;
    static constexpr uint32_t kOffUserId = 1180;
    static constexpr uint32_t kUserIdSize = 128;
    static constexpr uint32_t kOffRecordType = 1308;
    static constexpr uint32_t kOffRecorderType = 1312;
    static constexpr uint32_t kRecorderTypeSize = 120;
    static constexpr uint32_t kOffSecondDuration = 1432;
    static constexpr uint32_t kOffReserved2 = 1436;

    // Version 1: the version, then record bytes 8 to 1179.
    static constexpr uint32_t kV1BodyOffset = 8;
    static constexpr uint32_t kV1BodySize = 1172;
    static constexpr uint32_t kV1AudioOffset = 1176; // 0x498
    // Versions 2 to 4: the header-length field is clamped to this range.
    static constexpr uint32_t kMinHeaderLength = 8;
    // Version 5: the version, the check block, the encrypted record.
    static constexpr uint32_t kCheckStringSize = 40;
    static constexpr uint32_t kCheckBlockSize = 4 + kCheckStringSize;             // 44
    static constexpr uint32_t kV5AudioOffset = 4 + kCheckBlockSize + kRecordSize; // 1488
    static constexpr uint8_t kCheckStringFlip = 0x80;

    static constexpr int32_t kRecordTypeLinkedDurations = 10;

    static const char kErrorCallerId[];      // "ERROR!"
    static const char kErrorComment[];       // the read-error comment
    static const char kDefaultRecorder[];    // "Unknown"
    static const char kUnreadRecorder[];     // "n/a"
    static const char kLoadFailedRecorder[]; // "Load failed"

    CKWRecordFileHdr();
    virtual ~CKWRecordFileHdr() = default;
    CKWRecordFileHdr(const CKWRecordFileHdr&) = delete;
    CKWRecordFileHdr& operator=(const CKWRecordFileHdr&) = delete;

    // A new header: version 4, 1440 bytes, no format, started now.
    void SetDefaults();

    // Reads the header from a file positioned at its start. Returns the offset
    // of the audio, or 0 on failure (the texts then say why). The passphrase is
    // used by version 5 only. The file position afterwards may lie past the
    // header: seek to the offset returned before reading the audio.
    uint32_t Read(CFile& file, const char* passphrase);
    // Writes the header at the start of the file in the layout it was read in.
    // False when nothing was written: the header's read failed, or the file
    // reported an error.
    bool Write(CFile& file);
    uint32_t LoadFromFile(const char* path, const char* passphrase);
    bool SaveToFile(const char* path);

    // Version-5 reading and writing, entered from Read and Write; ReadEncrypted
    // starts at the check block, just after the version.
    uint32_t ReadEncrypted(CFile& file, const char* passphrase);
    bool WriteEncrypted(CFile& file);

    // False after a failed Read or LoadFromFile; Write then refuses.
    bool CanWrite() const { return m_readOk; }

    int32_t GetFormat() const { return GetInt(kOffFormat); }
    void SetFormat(int32_t format) { SetInt(kOffFormat, format); }
    int32_t GetImportant() const { return GetInt(kOffImportant); }
    void SetImportant(int32_t important) { SetInt(kOffImportant, important); }
    CString GetCallerId() const { return GetText(kOffCallerId, kCallerIdSize); }
    void SetCallerId(const char* text) { SetText(kOffCallerId, kCallerIdSize, text); }
    CString GetComment() const { return GetText(kOffComment, kCommentSize); }
    void SetComment(const char* text) { SetText(kOffComment, kCommentSize, text); }
    int32_t GetStartTime() const { return GetInt(kOffStartTime); }
    int32_t GetDuration() const { return GetInt(kOffDuration); }
    void SetDuration(int32_t seconds) { SetInt(kOffDuration, seconds); }
    CString GetUserId() const { return GetText(kOffUserId, kUserIdSize); }
    int32_t GetRecordType() const { return GetInt(kOffRecordType); }
    CString GetRecorderType() const { return GetText(kOffRecorderType, kRecorderTypeSize); }
    int32_t GetSecondDuration() const { return GetInt(kOffSecondDuration); }
    uint32_t GetVersion() const { return GetUInt(kOffVersion); }
    uint32_t GetHeaderLength() const { return GetUInt(kOffHeaderLength); }
    bool IsEncrypted() const { return m_encrypted != 0; }
    int32_t GetKeyLengthCode() const { return m_keyLengthCode; }
    const char* GetCheckString() const { return m_checkString; }

    // Texts derived from the fields (KWRecordTexts.h does the work).
    CString GetDateTimeText() const;
    CString GetDurationText() const;
    CString GetSecondDurationText() const;
    bool GetBookmark(int* start, int* end) const;
    bool SetBookmark(int start, int end);

private:
    uint32_t GetUInt(uint32_t offset) const;
    int32_t GetInt(uint32_t offset) const { return static_cast<int32_t>(GetUInt(offset)); }
    void SetUInt(uint32_t offset, uint32_t value);
    void SetInt(uint32_t offset, int32_t value) { SetUInt(offset, static_cast<uint32_t>(value)); }
    CString GetText(uint32_t offset, uint32_t size) const;
    void SetText(uint32_t offset, uint32_t size, const char* text);

    void Fill(uint32_t recordOffset, const uint8_t* head, uint32_t got, uint32_t headOffset,
              uint32_t count);
    int32_t DurationFromAudioSize(CFile& file, uint32_t headerLength) const;
    uint32_t ParseEncrypted(const uint8_t* data, uint32_t got, const char* passphrase);
    void ClearForRead();
    void SetReadError();
    void LinkDurations();

    uint8_t m_record[kRecordSize];
    // Check block of a version-5 file, the check string with its top bits
    // flipped back and a terminator forced after it.
    int32_t m_keyLengthCode;
    char m_checkString[kCheckStringSize + 1];
    CKWAESCipher m_cipher;
    uint8_t m_work[kRecordSize]; // the encrypted record while it is read or written
    int32_t m_encrypted;
    // Bytes of header that precede the audio in the file read (versions 2 to 4
    // after the clamp); a shorter header is written back at this length.
    uint32_t m_storedLength;
    bool m_readOk;
};
