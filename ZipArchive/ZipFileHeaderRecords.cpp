// ZipFileHeaderRecords.cpp: the local header, the data descriptor and the
// central header of an entry, written and read through the archive storage.
// Layouts as in the PKWARE APPNOTE; every number little-endian.
#include "ZipFileHeader.h"

#include "ZipCentralDir.h"
#include "ZipException.h"
#include "ZipStorage.h"

#include <cstring>

namespace {

const char kLocalSignature[] = {'P', 'K', 3, 4};
const char kCentralSignature[] = {'P', 'K', 1, 2};
const char kDescriptorSignature[] = {'P', 'K', 7, 8};

class CRecordWriter {
public:
    explicit CRecordWriter(char* p) : m_p(p) {}
    void Bytes(const void* p, DWORD n) {
        if (n)
            memcpy(m_p, p, n);
        m_p += n;
    }
    void Word(WORD u) {
        *m_p++ = char(u & 0xFF);
        *m_p++ = char(u >> 8);
    }
    void Dword(DWORD u) {
        Word(WORD(u & 0xFFFF));
        Word(WORD(u >> 16));
    }
    char* Position() const { return m_p; }

private:
    char* m_p;
};

WORD WordAt(const char* p) {
    const BYTE* b = reinterpret_cast<const BYTE*>(p);
    return WORD(b[0] | (b[1] << 8));
}

DWORD DwordAt(const char* p) {
    return DWORD(WordAt(p)) | (DWORD(WordAt(p + 2)) << 16);
}

bool HasHighBytes(const CZipAutoBuffer& buffer) {
    for (DWORD i = 0; i < buffer.GetSize(); i++)
        if (BYTE(buffer.GetBuffer()[i]) >= 0x80)
            return true;
    return false;
}

} // namespace

void CZipFileHeader::CheckLengths(CZipStorage* pStorage, const CZipExtraField& extra) const {
    if (m_fileName.m_buffer.GetSize() > 0xFFFF || m_comment.m_buffer.GetSize() > 0xFFFF ||
        !extra.Validate())
        pStorage->ThrowError(CZipException::tooLongData);
}

void CZipFileHeader::PrepareForWriting(int iLevel, bool bSegmented) {
    m_uInternalAttr = 0;
    m_uVersionMadeBy = 20;
    m_uCrc32 = 0;
    m_uComprSize = 0;
    m_uUncomprSize = 0;
    // The UTF-8 flag describes the raw name and comment, which the entry keeps.
    m_uFlag &= flUtf8;
    if (m_uMethod == 8) {
        if (iLevel == 1)
            m_uFlag |= 0x6;
        else if (iLevel == 2)
            m_uFlag |= 0x4;
        else if (iLevel == 8 || iLevel == 9)
            m_uFlag |= 0x2;
    }
    if (bSegmented || m_uEncryptionMethod == encStandard)
        m_uFlag |= flDataDescriptor;
    if (m_uEncryptionMethod != encNone)
        m_uFlag |= flEncrypted;
    m_uLocalComprSize += GetEncryptionHeaderSize();
    m_uVersionNeeded = IsDirectory() ? 10 : 20;
}

void CZipFileHeader::WriteLocalHeader(CZipStorage* pStorage) {
    PrepareStringBuffers();
    RemoveInternalRecords(m_aLocalExtraData, false);
    if (IsDataDescriptor()) {
        m_uLocalComprSize = 0;
        // The AES kinds (1 to 3) keep the size; this program refuses them anyway.
        if (m_uEncryptionMethod < 1 || m_uEncryptionMethod > 3)
            m_uLocalUncomprSize = 0;
    }
    CheckLengths(pStorage, m_aLocalExtraData);
    // Names of a UTF-8 host without the flag are read as code page 437 by many
    // readers (Python's zipfile, Windows): the flag makes the bytes unambiguous.
    if (GetTextCodePage(false) == CP_UTF8 &&
        (HasHighBytes(m_fileName.m_buffer) || HasHighBytes(m_comment.m_buffer)))
        m_uFlag |= flUtf8;

    m_uLocalFileNameSize = WORD(m_fileName.m_buffer.GetSize());
    DWORD uExtraSize = m_aLocalExtraData.GetTotalSize();
    m_uLocalHeaderSize = kLocalHeaderSize + m_uLocalFileNameSize + uExtraSize;

    CZipAutoBuffer record(m_uLocalHeaderSize);
    CRecordWriter w(record);
    w.Bytes(kLocalSignature, 4);
    w.Word(m_uVersionNeeded);
    w.Word(m_uFlag);
    w.Word(m_uMethod);
    w.Word(m_uModTime);
    w.Word(m_uModDate);
    w.Dword(m_bIgnoreCrc32 ? 0 : m_uCrc32);
    w.Dword(m_uLocalComprSize);
    w.Dword(m_uLocalUncomprSize);
    w.Word(m_uLocalFileNameSize);
    w.Word(WORD(uExtraSize));
    w.Bytes(m_fileName.m_buffer.GetBuffer(), m_uLocalFileNameSize);
    m_aLocalExtraData.Write(w.Position());
    pStorage->Write(record, m_uLocalHeaderSize, true);

    m_uVolumeStart = pStorage->IsBinarySplit() ? 0 : pStorage->GetCurrentVolume();
    ULONGLONG uOffset = pStorage->GetPosition() - m_uLocalHeaderSize;
    // The record field has 32 bits: an offset beyond them would wrap silently.
    if (uOffset > 0xFFFFFFFFULL)
        pStorage->ThrowError(CZipException::tooBigSize);
    m_uOffset = DWORD(uOffset);

    RemoveInternalRecords(m_aLocalExtraData, false);
    m_fileName.ReleaseString();
}

void CZipFileHeader::OnDataWritten(CZipStorage* pStorage) {
    DWORD uCrc = m_bIgnoreCrc32 ? 0 : m_uCrc32;
    if (!pStorage->IsSegmented() && !IsDataDescriptor()) {
        pStorage->Flush();
        CZipAbstractFile* pFile = pStorage->m_pFile;
        ULONGLONG uPosition = pFile->GetPosition();
        m_uLocalComprSize = m_uComprSize;
        m_uLocalUncomprSize = m_uUncomprSize;
        char patch[12];
        CRecordWriter w(patch);
        w.Dword(uCrc);
        w.Dword(m_uLocalComprSize);
        w.Dword(m_uLocalUncomprSize);
        pFile->SafeSeek(pStorage->m_uBytesBeforeZip + m_uOffset + 14);
        pFile->Write(patch, sizeof(patch));
        pFile->SafeSeek(uPosition);
    } else if (IsDataDescriptor()) {
        char descriptor[16];
        CRecordWriter w(descriptor);
        if (pStorage->IsSegmented() || IsEncrypted())
            w.Bytes(kDescriptorSignature, 4);
        w.Dword(uCrc);
        w.Dword(m_uComprSize);
        w.Dword(m_uUncomprSize);
        pStorage->Write(descriptor, DWORD(w.Position() - descriptor), true);
    }
    pStorage->Flush();
}

DWORD CZipFileHeader::WriteCentralHeader(CZipStorage* pStorage) {
    PrepareStringBuffers();
    RemoveInternalRecords(m_aCentralExtraData, true);
    CheckLengths(pStorage, m_aCentralExtraData);

    DWORD uNameSize = m_fileName.m_buffer.GetSize();
    DWORD uCommentSize = m_comment.m_buffer.GetSize();
    DWORD uExtraSize = m_aCentralExtraData.GetTotalSize();
    DWORD uSize = kCentralHeaderSize + uNameSize + uExtraSize + uCommentSize;

    CZipAutoBuffer record(uSize);
    CRecordWriter w(record);
    w.Bytes(kCentralSignature, 4);
    w.Word(WORD((m_uVersionMadeBy & 0xFF) | (m_iSystemCompatibility << 8)));
    w.Word(m_uVersionNeeded);
    w.Word(m_uFlag);
    w.Word(m_uMethod);
    w.Word(m_uModTime);
    w.Word(m_uModDate);
    w.Dword(m_bIgnoreCrc32 ? 0 : m_uCrc32);
    w.Dword(m_uComprSize);
    w.Dword(m_uUncomprSize);
    w.Word(WORD(uNameSize));
    w.Word(WORD(uExtraSize));
    w.Word(WORD(uCommentSize));
    w.Word(m_uVolumeStart);
    w.Word(m_uInternalAttr);
    w.Dword(m_uExternalAttr);
    w.Dword(m_uOffset);
    w.Bytes(m_fileName.m_buffer.GetBuffer(), uNameSize);
    m_aCentralExtraData.Write(w.Position());
    w = CRecordWriter(w.Position() + uExtraSize);
    w.Bytes(m_comment.m_buffer.GetBuffer(), uCommentSize);
    pStorage->Write(record, uSize, true);

    RemoveInternalRecords(m_aCentralExtraData, true);
    m_fileName.ReleaseString();
    return uSize;
}

bool CZipFileHeader::ReadCentralHeader(bool bReadSignature) {
    CZipStorage* pStorage = m_pCentralDir->GetStorage();
    // A directory may continue on the next volume (zip -s and our own split
    // writer lay it out so), so the pieces read on across volumes.
    char record[kCentralHeaderSize];
    char* p = record;
    if (bReadSignature) {
        pStorage->Read(record, kCentralHeaderSize, false);
        if (memcmp(record, kCentralSignature, 4) != 0)
            return false;
    } else {
        memcpy(record, kCentralSignature, 4);
        pStorage->Read(record + 4, kCentralHeaderSize - 4, false);
    }

    WORD uVersionMadeBy = WordAt(p + 4);
    m_uVersionMadeBy = WORD(uVersionMadeBy & 0xFF);
    m_iSystemCompatibility = uVersionMadeBy >> 8;
    m_uVersionNeeded = WordAt(p + 6);
    m_uFlag = WordAt(p + 8);
    m_uMethod = WordAt(p + 10);
    m_uModTime = WordAt(p + 12);
    m_uModDate = WordAt(p + 14);
    m_uCrc32 = DwordAt(p + 16);
    m_uComprSize = DwordAt(p + 20);
    m_uUncomprSize = DwordAt(p + 24);
    WORD uNameSize = WordAt(p + 28);
    WORD uExtraSize = WordAt(p + 30);
    WORD uCommentSize = WordAt(p + 32);
    m_uVolumeStart = WordAt(p + 34);
    m_uInternalAttr = WordAt(p + 36);
    m_uExternalAttr = DwordAt(p + 38);
    m_uOffset = DwordAt(p + 42);
    m_uEncryptionMethod = (m_uFlag & flEncrypted) ? BYTE(encStandard) : BYTE(encNone);

    // Saturated values mean the real ones are in a Zip64 record, which this
    // program does not read: using them would address the wrong bytes.
    if (m_uComprSize == 0xFFFFFFFF || m_uUncomprSize == 0xFFFFFFFF || m_uOffset == 0xFFFFFFFF)
        pStorage->ThrowError(CZipException::noZip64);

    m_fileName.ReleaseString();
    m_fileName.m_buffer.Allocate(uNameSize);
    pStorage->Read(m_fileName.m_buffer, uNameSize, false);
    if (!m_aCentralExtraData.Read(pStorage, uExtraSize))
        return false;
    m_comment.ReleaseString();
    m_comment.m_buffer.Allocate(uCommentSize);
    pStorage->Read(m_comment.m_buffer, uCommentSize, false);
    RemoveInternalRecords(m_aCentralExtraData, true);
    return true;
}

bool CZipFileHeader::TakeLocalZip64Sizes(CZipStorage* pStorage) {
    if (m_uLocalUncomprSize != 0xFFFFFFFF && m_uLocalComprSize != 0xFFFFFFFF)
        return true;
    const CZipExtraData* pZip64 = m_aLocalExtraData.Lookup(CZipExtraField::idZip64);
    if (!pZip64)
        return true;
    // The record holds, in this order, the sizes that the header saturates.
    DWORD* aSizes[] = {&m_uLocalUncomprSize, &m_uLocalComprSize};
    DWORD uAt = 0;
    for (DWORD* pSize : aSizes) {
        if (*pSize != 0xFFFFFFFF)
            continue;
        if (uAt + 8 > pZip64->m_data.GetSize())
            return false;
        const char* p = pZip64->m_data.GetBuffer() + uAt;
        if (DwordAt(p + 4) != 0)
            pStorage->ThrowError(CZipException::noZip64);
        *pSize = DwordAt(p);
        uAt += 8;
    }
    return true;
}

bool CZipFileHeader::VerifyLocalHeader(CZipCentralDir* pCentralDir, DWORD uIgnoreMask) {
    CZipStorage* pStorage = pCentralDir->GetStorage();
    if (pStorage->IsBinarySplit())
        pStorage->SeekInBinary(LONGLONG(m_uOffset), true);
    else {
        pStorage->ChangeVolume(m_uVolumeStart);
        pStorage->Seek(m_uOffset);
    }
    WORD uVolume = pStorage->GetCurrentVolume();

    char record[kLocalHeaderSize];
    pStorage->Read(record, kLocalHeaderSize, true);
    if (memcmp(record, kLocalSignature, 4) != 0)
        return false;
    WORD uFlag = WordAt(record + 6);
    if (!(uIgnoreMask & 0x10) && (uFlag & 0xF) != (m_uFlag & 0xF))
        return false;

    WORD uMethod = WordAt(record + 8);
    DWORD uCrc = DwordAt(record + 14);
    m_uLocalFileNameSize = WordAt(record + 26);
    WORD uExtraSize = WordAt(record + 28);
    m_uLocalHeaderSize = kLocalHeaderSize + m_uLocalFileNameSize + uExtraSize;
    if (m_uLocalFileNameSize) {
        CZipAutoBuffer name(m_uLocalFileNameSize);
        pStorage->Read(name, m_uLocalFileNameSize, true);
    }
    if (!m_aLocalExtraData.Read(pStorage, uExtraSize))
        return false;
    m_uLocalComprSize = DwordAt(record + 18);
    m_uLocalUncomprSize = DwordAt(record + 22);
    // zip writing to a pipe saturates the local sizes and puts the real ones in
    // a Zip64 record although they fit; the central record has them plainly.
    if (!TakeLocalZip64Sizes(pStorage))
        return false;

    if (uMethod == 99 && IsEncrypted())
        pStorage->ThrowError(CZipException::noAES);
    if (!(uIgnoreMask & 0x02) && uMethod != m_uMethod)
        return false;
    if (!IsDataDescriptor() && !(uIgnoreMask & 0x08) && !(uIgnoreMask & 0x04)) {
        if (uCrc != m_uCrc32 || (m_uLocalComprSize != 0 && m_uLocalComprSize != m_uComprSize) ||
            m_uLocalUncomprSize != m_uUncomprSize)
            return false;
    }
    return pStorage->IsBinarySplit() || uVolume == pStorage->GetCurrentVolume();
}

bool CZipFileHeader::VerifyDataDescriptor(CZipStorage* pStorage) {
    if (!IsDataDescriptor())
        return true;
    if (m_aLocalExtraData.HasHeader(CZipExtraField::idZip64)) {
        // The Zip64 form that zip writes to a pipe: 8-byte sizes.
        char descriptor[24];
        pStorage->Read(descriptor, 20, true);
        const char* p = descriptor;
        if (memcmp(descriptor, kDescriptorSignature, 4) == 0) {
            pStorage->Read(descriptor + 20, 4, true);
            p += 4;
        }
        return DwordAt(p) == m_uCrc32 && DwordAt(p + 4) == m_uComprSize && DwordAt(p + 8) == 0 &&
               DwordAt(p + 12) == m_uUncomprSize && DwordAt(p + 16) == 0;
    }
    char descriptor[16];
    pStorage->Read(descriptor, 12, true);
    const char* p = descriptor;
    if (memcmp(descriptor, kDescriptorSignature, 4) == 0) {
        pStorage->Read(descriptor + 12, 4, true);
        p += 4;
    }
    return DwordAt(p) == m_uCrc32 && DwordAt(p + 4) == m_uComprSize &&
           DwordAt(p + 8) == m_uUncomprSize;
}
