// KWFileListEntry.h: CKWFileListEntry, one recording in a list: its path, the
// values and texts a list shows for it, and its flags.
//
// An entry is a plain value object of fixed size that owns no memory, so lists
// and threads copy it freely; derived entries add their fields after these.
// It is filled from the file name by SetPath, then from the header by
// LoadHeader; both may be called again at any time. A failed LoadHeader leaves
// error texts in place of the list texts, so that a row shows the reason.
//
// A path of MAX_PATH characters or more is not stored: cut short it would name
// another file. The entry then keeps an empty path and LoadHeader reports
// "File error!".
#pragma once

#include <windows.h>

#include <cstdint>

class CKWFileListEntry {
public:
    static constexpr int kPathSize = MAX_PATH; // 260
    static constexpr int kTextSize = 129;
    static constexpr int kCommentSize = 1025;

    static const char kUnknownText[];         // "?"
    static const char kFileErrorText[];       // "File error!"
    static const char kFileErrorComment[];    // why the file was not read
    static const char kDecryptErrorText[];    // "Decryption error!"
    static const char kDecryptErrorComment[]; // why the file was not decrypted

    CKWFileListEntry();
    CKWFileListEntry(const CKWFileListEntry&) = default;
    CKWFileListEntry& operator=(const CKWFileListEntry&) = default;
    virtual ~CKWFileListEntry() = default;

    // Stores the path and takes the User ID and date text from a file name of
    // the form "<User ID>-<date>...".
    void SetPath(const char* path);
    // Reads the recording's header with the passphrase and fills the entry;
    // false, with the error texts in place, when it could not be read.
    bool LoadHeader(const char* passphrase);
    // Sets the bookmark flag as the header would read with the area (start, end)
    // set, or cleared by (-1, -1). The file is not changed.
    void SetBookmark(int start, int end, const char* passphrase);
    // Size of the recording file in bytes; 0 when it cannot be opened.
    ULONGLONG GetFileSize() const;

    void SetCallerId(const char* text);
    void SetComment(const char* text);

    // The entry's own buffers, not copies.
    const char* GetPath() const { return m_path; }
    const char* GetCallerId() const { return m_callerId; }
    const char* GetUserId() const { return m_userId; }
    const char* GetDurationText() const { return m_durationText; }
    const char* GetDateTimeText() const { return m_dateText; }
    const char* GetComment() const { return m_comment; }
    const char* GetSecondDurationText() const { return m_secondDurationText; }

    BOOL IsImportant() const { return m_important != 0; }
    int32_t GetStartTime() const { return m_startTime; }
    int32_t GetDuration() const { return m_duration; }
    int32_t GetSecondDuration() const { return m_secondDuration; }
    int32_t GetRecordType() const { return m_recordType; }
    BOOL IsHeaderLoaded() const { return m_headerLoaded != 0; }
    BOOL HasBookmark() const { return m_bookmark != 0; }
    BOOL IsEncrypted() const { return m_encrypted != 0; }

    // Read and set directly by the lists (the important mark, sorting by time).
    int32_t m_important;
    int32_t m_startTime;
    int32_t m_duration;
    int32_t m_secondDuration;
    int32_t m_recordType;
    int32_t m_headerLoaded;

private:
    void SetErrorTexts(const char* text, const char* comment);

    char m_path[kPathSize];
    char m_callerId[kTextSize];
    char m_userId[kTextSize];
    char m_durationText[kTextSize];
    char m_dateText[kTextSize];
    char m_comment[kCommentSize];
    char m_secondDurationText[kTextSize];
    int32_t m_bookmark;
    int32_t m_encrypted;
};
