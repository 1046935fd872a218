// ZipFileHeader.h: CZipFileHeader, one entry of an archive: the fields of its
// central record, what its local header carries, its name, comment and extra
// fields, and the reading and writing of its records through the storage.
//
// Numbers in the records are little-endian. A template header (no central
// directory) describes a file to add; the central directory copies it into a
// header of its own.
#pragma once

#include "ZipExtraField.h"
#include "ZipStringStore.h"

#include <ctime>

class CZipCentralDir;
class CZipStorage;

class CZipFileHeader {
public:
    enum { kLocalHeaderSize = 30, kCentralHeaderSize = 46, kEncryptionHeaderSize = 12 };
    // Encryption methods: none, the traditional one; 1 to 3 are AES, refused.
    enum { encNone = 255, encStandard = 0 };
    // State flags.
    enum { sfModified = 0x20 };
    // Flags of the general-purpose field.
    enum {
        flEncrypted = 0x0001,
        flDataDescriptor = 0x0008,
        flUtf8 = 0x0800,
    };

    CZipFileHeader();
    // A template header of the system's own host.
    explicit CZipFileHeader(int iSystemCompatibility);
    // A header that belongs to a central directory.
    explicit CZipFileHeader(CZipCentralDir* pCentralDir);
    CZipFileHeader(const CZipFileHeader& header);
    CZipFileHeader& operator=(const CZipFileHeader& header);
    virtual ~CZipFileHeader();

    // On a header inside an archive a rename is normalised, asked of the central
    // directory, and marks the header modified; false when refused.
    bool SetFileName(LPCSTR lpszFileName);
    // The decoded name (backslashes); bClearBuffer releases the raw bytes after.
    const CString& GetFileName(bool bClearBuffer = false);
    bool SetComment(LPCSTR lpszComment);
    const CString& GetComment(bool bClearBuffer = false);

    void SetModificationTime(time_t tTime);
    time_t GetModificationTime() const;
    bool IsModificationTimeSet() const { return m_uModTime != 0 || m_uModDate != 0; }

    bool SetSystemAttributes(DWORD uAttr);
    DWORD GetSystemAttributes();
    bool IsDirectory();
    int GetSystemCompatibility() const { return m_iSystemCompatibility; }
    void SetSystemCompatibility(int iSystemID, bool bConvertAttributes = false);

    void PrepareForWriting(int iLevel, bool bSegmented);
    void WriteLocalHeader(CZipStorage* pStorage);
    void OnDataWritten(CZipStorage* pStorage);
    // uIgnoreMask: checks to skip (0x02 method, 0x04 sizes, 0x08 CRC, 0x10 flags).
    bool VerifyLocalHeader(CZipCentralDir* pCentralDir, DWORD uIgnoreMask);
    bool VerifyDataDescriptor(CZipStorage* pStorage);
    DWORD WriteCentralHeader(CZipStorage* pStorage);
    // Reads one central record from the header's central directory's storage.
    bool ReadCentralHeader(bool bReadSignature = true);

    DWORD GetLocalSize(bool bReal) const;
    DWORD GetCentralSize() const;
    DWORD GetDataDescriptorSize(bool bConsiderSignature) const;
    DWORD GetEncryptionHeaderSize() const;
    // The compressed size without (bReal: with) the encryption header.
    DWORD GetDataSize(bool bReal) const;
    bool CompressionEfficient() const;
    int GetCompressionLevel() const;
    bool IsEncrypted() const { return m_uEncryptionMethod != encNone; }
    bool IsDataDescriptor() const { return (m_uFlag & flDataDescriptor) != 0; }
    bool IsModified() const { return (m_iState & sfModified) != 0; }
    void ClearModified() { m_iState &= ~sfModified; }

    // Makes the raw name and comment from the texts when missing (encoded for
    // the host system).
    void ConvertFileName(CZipAutoBuffer& buffer) const;
    void PrepareStringBuffers();

    WORD m_uVersionMadeBy;
    WORD m_uVersionNeeded;
    WORD m_uFlag;
    WORD m_uMethod;
    WORD m_uModTime;
    WORD m_uModDate;
    DWORD m_uCrc32;
    DWORD m_uComprSize;
    DWORD m_uUncomprSize;
    WORD m_uVolumeStart;
    WORD m_uInternalAttr;
    DWORD m_uLocalComprSize;
    DWORD m_uLocalUncomprSize;
    DWORD m_uOffset;
    CZipExtraField m_aLocalExtraData;
    CZipExtraField m_aCentralExtraData;
    DWORD m_uExternalAttr;
    WORD m_uLocalFileNameSize;
    BYTE m_uEncryptionMethod;
    bool m_bIgnoreCrc32;
    DWORD m_uLocalHeaderSize;
    CZipCentralDir* m_pCentralDir;
    int m_iState;
    CZipStringStore m_fileName;
    CZipStringStore m_comment;
    int m_iSystemCompatibility;

private:
    // The code page that raw names (bComment: comments) are read and written in.
    UINT GetTextCodePage(bool bComment) const;
    // Decodes raw bytes: the UTF-8 flag first, then a Unicode record whose
    // CRC-32 matches the raw bytes, then the host's code page.
    void DecodeText(const CZipAutoBuffer& raw, WORD uUnicodeID, bool bComment,
                    CString& szText) const;
    void EncodeComment(CZipAutoBuffer& buffer) const;
    // True when the Unicode record (0x7075 / 0x6375) describes these raw bytes.
    static bool UnicodeRecordMatches(const CZipExtraData* pRecord, const CZipAutoBuffer& raw);
    // Removes the records this program does not write, but keeps a Unicode
    // record that still describes the raw name or comment.
    void RemoveInternalRecords(CZipExtraField& field, bool bCentral) const;
    bool NameEndsWithSeparator() const;
    void CheckLengths(CZipStorage* pStorage, const CZipExtraField& extra) const;
    // Local sizes saturated with the values in a local Zip64 record: takes them
    // when they fit 32 bits (error 121 otherwise); false when the record is short.
    bool TakeLocalZip64Sizes(CZipStorage* pStorage);
};
