// ZipFileHeader.cpp: an entry's fields, its name and comment, times,
// attributes and sizes. The reading and writing of its records is in
// ZipFileHeaderRecords.cpp.
#include "ZipFileHeader.h"

#include "ZipCentralDir.h"
#include "ZipCompatibility.h"
#include "ZipPlatform.h"
#include "native/zlib.h"

#include <cstring>

namespace {

const LONGLONG kFileTimeOf1970 = 116444736000000000LL;
const LONGLONG kTicksPerSecond = 10000000LL;

const WORD kCentralInternalIDs[] = {
    CZipExtraField::idZip64,       CZipExtraField::idOwnData, CZipExtraField::idUnicodeComment,
    CZipExtraField::idUnicodePath, CZipExtraField::idAes,
};
// This program writes no Zip64 values, so a Zip64 record of a rewritten local
// header would describe values the header does not have.
const WORD kLocalInternalIDs[] = {
    CZipExtraField::idZip64,
    CZipExtraField::idUnicodeComment,
    CZipExtraField::idUnicodePath,
    CZipExtraField::idAes,
};

FILETIME FileTimeOf(LONGLONG llTicks) {
    FILETIME ft;
    ft.dwLowDateTime = DWORD(ULONGLONG(llTicks) & 0xFFFFFFFF);
    ft.dwHighDateTime = DWORD(ULONGLONG(llTicks) >> 32);
    return ft;
}

LONGLONG TicksOf(const FILETIME& ft) {
    return LONGLONG((ULONGLONG(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
}

// Days from 1970-01-01 to a proleptic Gregorian date; the month may lie outside
// 1..12 and carries into the year, as the C library's calendar does.
LONGLONG DaysFromCivil(LONGLONG y, LONGLONG m, LONGLONG d) {
    LONGLONG m0 = m - 1;
    y += m0 >= 0 ? m0 / 12 : -((11 - m0) / 12);
    m0 -= 12 * (m0 >= 0 ? m0 / 12 : -((11 - m0) / 12));
    LONGLONG mm = m0 + 1;
    y -= mm <= 2;
    LONGLONG era = (y >= 0 ? y : y - 399) / 400;
    LONGLONG yoe = y - era * 400;
    LONGLONG doy = (153 * (mm + (mm > 2 ? -3 : 9)) + 2) / 5;
    LONGLONG doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + (d - 1);
}

} // namespace

CZipFileHeader::CZipFileHeader() : CZipFileHeader(ZipCompatibility::kSystemCompatibility) {}

CZipFileHeader::CZipFileHeader(int iSystemCompatibility)
    : m_uVersionMadeBy(0), m_uVersionNeeded(0), m_uFlag(0), m_uMethod(8), m_uModTime(0),
      m_uModDate(0), m_uCrc32(0), m_uComprSize(0), m_uUncomprSize(0), m_uVolumeStart(0),
      m_uInternalAttr(0), m_uLocalComprSize(0), m_uLocalUncomprSize(0), m_uOffset(0),
      m_uExternalAttr(0), m_uLocalFileNameSize(0), m_uEncryptionMethod(encNone),
      m_bIgnoreCrc32(false), m_uLocalHeaderSize(0), m_pCentralDir(nullptr), m_iState(0),
      m_iSystemCompatibility(iSystemCompatibility) {}

CZipFileHeader::CZipFileHeader(CZipCentralDir* pCentralDir) : CZipFileHeader() {
    m_pCentralDir = pCentralDir;
}

CZipFileHeader::CZipFileHeader(const CZipFileHeader& header) : CZipFileHeader() {
    *this = header;
}

CZipFileHeader& CZipFileHeader::operator=(const CZipFileHeader& header) {
    if (this == &header)
        return *this;
    m_uVersionMadeBy = header.m_uVersionMadeBy;
    m_uVersionNeeded = header.m_uVersionNeeded;
    m_uFlag = header.m_uFlag;
    m_uMethod = header.m_uMethod;
    m_uModTime = header.m_uModTime;
    m_uModDate = header.m_uModDate;
    m_uCrc32 = header.m_uCrc32;
    m_uComprSize = header.m_uComprSize;
    m_uUncomprSize = header.m_uUncomprSize;
    m_uVolumeStart = header.m_uVolumeStart;
    m_uInternalAttr = header.m_uInternalAttr;
    m_uLocalComprSize = header.m_uLocalComprSize;
    m_uLocalUncomprSize = header.m_uLocalUncomprSize;
    m_uOffset = header.m_uOffset;
    m_aLocalExtraData = header.m_aLocalExtraData;
    m_aCentralExtraData = header.m_aCentralExtraData;
    m_uExternalAttr = header.m_uExternalAttr;
    m_uLocalFileNameSize = header.m_uLocalFileNameSize;
    m_uEncryptionMethod = header.m_uEncryptionMethod;
    m_bIgnoreCrc32 = header.m_bIgnoreCrc32;
    m_uLocalHeaderSize = header.m_uLocalHeaderSize;
    m_pCentralDir = header.m_pCentralDir;
    m_iState = header.m_iState;
    m_fileName = header.m_fileName;
    m_comment = header.m_comment;
    m_iSystemCompatibility = header.m_iSystemCompatibility;
    return *this;
}

CZipFileHeader::~CZipFileHeader() = default;

// ---- names and comments ---------------------------------------------------

UINT CZipFileHeader::GetTextCodePage(bool bComment) const {
    // Bytes flagged as UTF-8 stay UTF-8 when they are made again, whatever the host.
    if (m_uFlag & flUtf8)
        return CP_UTF8;
    return bComment ? ZipCompatibility::GetDefaultCommentCodePage(m_iSystemCompatibility)
                    : ZipCompatibility::GetDefaultNameCodePage(m_iSystemCompatibility);
}

bool CZipFileHeader::UnicodeRecordMatches(const CZipExtraData* pRecord, const CZipAutoBuffer& raw) {
    // Version 1, the CRC-32 of the raw bytes, then the UTF-8 text.
    const CZipAutoBuffer& data = pRecord->m_data;
    if (data.GetSize() < 5 || BYTE(data.GetBuffer()[0]) != 1)
        return false;
    const BYTE* p = reinterpret_cast<const BYTE*>(data.GetBuffer()) + 1;
    DWORD uRecordCrc = DWORD(p[0]) | (DWORD(p[1]) << 8) | (DWORD(p[2]) << 16) | (DWORD(p[3]) << 24);
    uLong uCrc = crc32(0L, Z_NULL, 0);
    if (raw.GetSize())
        uCrc = crc32(uCrc, reinterpret_cast<const Bytef*>(raw.GetBuffer()), raw.GetSize());
    return DWORD(uCrc) == uRecordCrc;
}

void CZipFileHeader::DecodeText(const CZipAutoBuffer& raw, WORD uUnicodeID, bool bComment,
                                CString& szText) const {
    if (raw.GetSize() == 0) {
        szText.Empty();
        return;
    }
    if (!(m_uFlag & flUtf8)) {
        // Another tool's Unicode record counts only while it describes these
        // very bytes: one left behind by a rename elsewhere does not.
        const CZipExtraData* pRecord = m_aCentralExtraData.Lookup(uUnicodeID);
        if (!pRecord)
            pRecord = m_aLocalExtraData.Lookup(uUnicodeID);
        if (pRecord && UnicodeRecordMatches(pRecord, raw)) {
            ZipPlatform::BytesToText(pRecord->m_data.GetBuffer() + 5, pRecord->m_data.GetSize() - 5,
                                     szText, CP_UTF8);
            return;
        }
    }
    ZipPlatform::BytesToText(raw.GetBuffer(), raw.GetSize(), szText, GetTextCodePage(bComment));
}

void CZipFileHeader::ConvertFileName(CZipAutoBuffer& buffer) const {
    if (!m_fileName.HasString()) {
        buffer.Release();
        return;
    }
    CString szName = m_fileName.GetString();
    szName.Replace('\\', '/');
    ZipPlatform::TextToBytes(szName, buffer, GetTextCodePage(false));
}

void CZipFileHeader::EncodeComment(CZipAutoBuffer& buffer) const {
    if (!m_comment.HasString()) {
        buffer.Release();
        return;
    }
    ZipPlatform::TextToBytes(m_comment.GetString(), buffer, GetTextCodePage(true));
}

void CZipFileHeader::PrepareStringBuffers() {
    if (!m_fileName.HasBuffer())
        ConvertFileName(m_fileName.m_buffer);
    if (!m_comment.HasBuffer())
        EncodeComment(m_comment.m_buffer);
}

const CString& CZipFileHeader::GetFileName(bool bClearBuffer) {
    if (!m_fileName.HasString()) {
        CString szName;
        DecodeText(m_fileName.m_buffer, CZipExtraField::idUnicodePath, false, szName);
        szName.Replace('/', '\\');
        m_fileName.SetString(szName);
    }
    if (bClearBuffer && m_fileName.HasBuffer()) {
        // Only bytes that the text makes again exactly may go: a name decoded
        // from a Unicode record or with characters outside the code page would
        // otherwise be stored differently on the next write.
        CZipAutoBuffer again;
        ConvertFileName(again);
        if (again.GetSize() == m_fileName.m_buffer.GetSize() &&
            memcmp(again.GetBuffer(), m_fileName.m_buffer.GetBuffer(), again.GetSize()) == 0)
            m_fileName.ReleaseBuffer();
    }
    return m_fileName.GetString();
}

const CString& CZipFileHeader::GetComment(bool bClearBuffer) {
    if (!m_comment.HasString()) {
        CString szComment;
        DecodeText(m_comment.m_buffer, CZipExtraField::idUnicodeComment, true, szComment);
        m_comment.SetString(szComment);
    }
    if (bClearBuffer && m_comment.HasBuffer()) {
        CZipAutoBuffer again;
        EncodeComment(again);
        if (again.GetSize() == m_comment.m_buffer.GetSize() &&
            memcmp(again.GetBuffer(), m_comment.m_buffer.GetBuffer(), again.GetSize()) == 0)
            m_comment.ReleaseBuffer();
    }
    return m_comment.GetString();
}

bool CZipFileHeader::SetFileName(LPCSTR lpszFileName) {
    CString szNew(lpszFileName);
    if (!m_pCentralDir) {
        m_fileName.ReleaseBuffer();
        m_fileName.SetString(szNew);
        return true;
    }
    szNew.TrimRight("\\/");
    if (IsDirectory())
        szNew += '\\';
    if (GetFileName().Collate(szNew) == 0)
        return true;

    CZipStringStore oldName = m_fileName;
    CZipExtraField oldLocal = m_aLocalExtraData;
    CZipExtraField oldCentral = m_aCentralExtraData;
    m_fileName.ReleaseBuffer();
    m_fileName.SetString(szNew);
    // Another tool's Unicode name now names the old entry: readers would take it.
    const WORD uStale = CZipExtraField::idUnicodePath;
    m_aLocalExtraData.RemoveHeaders(&uStale, 1);
    m_aCentralExtraData.RemoveHeaders(&uStale, 1);
    // Marked before asking: in commit mode 1 the archive writes the local header
    // at once and clears the mark itself.
    int iOldState = m_iState;
    m_iState |= sfModified;
    if (!m_pCentralDir->OnEntryChanged(this)) {
        m_fileName = oldName;
        m_aLocalExtraData = oldLocal;
        m_aCentralExtraData = oldCentral;
        m_iState = iOldState;
        return false;
    }
    return true;
}

bool CZipFileHeader::SetComment(LPCSTR lpszComment) {
    CString szNew(lpszComment);
    if (!m_pCentralDir) {
        m_comment.ReleaseBuffer();
        m_comment.SetString(szNew);
        return true;
    }
    if (GetComment().Collate(szNew) == 0)
        return true;

    CZipStringStore oldComment = m_comment;
    CZipExtraField oldLocal = m_aLocalExtraData;
    CZipExtraField oldCentral = m_aCentralExtraData;
    m_comment.ReleaseBuffer();
    m_comment.SetString(szNew);
    const WORD uStale = CZipExtraField::idUnicodeComment;
    m_aLocalExtraData.RemoveHeaders(&uStale, 1);
    m_aCentralExtraData.RemoveHeaders(&uStale, 1);
    int iOldState = m_iState;
    m_iState |= sfModified;
    if (!m_pCentralDir->OnEntryChanged(this)) {
        m_comment = oldComment;
        m_aLocalExtraData = oldLocal;
        m_aCentralExtraData = oldCentral;
        m_iState = iOldState;
        return false;
    }
    return true;
}

bool CZipFileHeader::NameEndsWithSeparator() const {
    char chLast = 0;
    if (m_fileName.HasBuffer() && m_fileName.m_buffer.GetSize())
        chLast = m_fileName.m_buffer.GetBuffer()[m_fileName.m_buffer.GetSize() - 1];
    else if (m_fileName.HasString() && !m_fileName.GetString().IsEmpty())
        chLast = m_fileName.GetString()[m_fileName.GetString().GetLength() - 1];
    return chLast == '\\' || chLast == '/';
}

// ---- times ------------------------------------------------------------------

void CZipFileHeader::SetModificationTime(time_t tTime) {
    SYSTEMTIME utc, local;
    FILETIME ft = FileTimeOf(LONGLONG(tTime) * kTicksPerSecond + kFileTimeOf1970);
    if (!FileTimeToSystemTime(&ft, &utc) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
        // A value the calendar cannot hold: the earliest DOS time, 1980-01-01.
        m_uModDate = WORD(1 | (1 << 5));
        m_uModTime = 0;
        return;
    }
    int iYear = local.wYear > 1980 ? local.wYear - 1980 : 0;
    m_uModDate = WORD(local.wDay + (local.wMonth << 5) + (iYear << 9));
    m_uModTime = WORD(local.wSecond / 2 + (local.wMinute << 5) + (local.wHour << 11));
}

time_t CZipFileHeader::GetModificationTime() const {
    // Fields out of range (a date of 0) carry over as the C library's calendar
    // carries them: day 0 is the last day of the month before.
    LONGLONG llDays =
        DaysFromCivil(1980 + (m_uModDate >> 9), (m_uModDate >> 5) & 0xF, m_uModDate & 0x1F);
    LONGLONG llLocal = llDays * 86400 + LONGLONG(m_uModTime >> 11) * 3600 +
                       LONGLONG((m_uModTime >> 5) & 0x3F) * 60 + LONGLONG(m_uModTime & 0x1F) * 2;
    FILETIME ftLocal = FileTimeOf(llLocal * kTicksPerSecond + kFileTimeOf1970);
    SYSTEMTIME local, utc;
    FILETIME ftUtc;
    if (!FileTimeToSystemTime(&ftLocal, &local) ||
        !TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) ||
        !SystemTimeToFileTime(&utc, &ftUtc))
        return time_t(llLocal);
    return time_t((TicksOf(ftUtc) - kFileTimeOf1970) / kTicksPerSecond);
}

// ---- attributes ----------------------------------------------------------------

bool CZipFileHeader::SetSystemAttributes(DWORD uAttr) {
    const int iOwn = ZipCompatibility::kSystemCompatibility;
    DWORD uConverted = ZipCompatibility::ConvertToSystem(uAttr, iOwn, m_iSystemCompatibility);
    DWORD uValue;
    if (m_iSystemCompatibility == ZipCompatibility::zcUnix)
        uValue = (uConverted << 16) | (uAttr & FILE_ATTRIBUTE_DIRECTORY);
    else
        uValue = (uConverted & 0xFFFF) |
                 (ZipCompatibility::ConvertToSystem(uAttr, iOwn, ZipCompatibility::zcUnix) << 16);
    if (uValue != m_uExternalAttr) {
        if (m_pCentralDir && !m_pCentralDir->OnEntryChanged(this))
            return false;
        m_uExternalAttr = uValue;
    }
    return true;
}

DWORD CZipFileHeader::GetSystemAttributes() {
    if (!ZipCompatibility::IsPlatformSupported(m_iSystemCompatibility))
        return NameEndsWithSeparator() ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    DWORD uAttr = m_iSystemCompatibility == ZipCompatibility::zcUnix ? m_uExternalAttr >> 16
                                                                     : m_uExternalAttr & 0xFFFF;
    if (uAttr == 0 && NameEndsWithSeparator())
        return FILE_ATTRIBUTE_DIRECTORY;
    return ZipCompatibility::ConvertToSystem(uAttr, m_iSystemCompatibility,
                                             ZipCompatibility::kSystemCompatibility);
}

bool CZipFileHeader::IsDirectory() {
    return (GetSystemAttributes() & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void CZipFileHeader::SetSystemCompatibility(int iSystemID, bool bConvertAttributes) {
    if (bConvertAttributes && iSystemID != m_iSystemCompatibility) {
        DWORD uAttr = GetSystemAttributes();
        m_iSystemCompatibility = iSystemID;
        SetSystemAttributes(uAttr);
    } else
        m_iSystemCompatibility = iSystemID;
}

// ---- sizes -----------------------------------------------------------------------

DWORD CZipFileHeader::GetLocalSize(bool bReal) const {
    if (bReal)
        return m_uLocalHeaderSize;
    DWORD uNameSize = m_fileName.m_buffer.GetSize();
    if (!m_fileName.HasBuffer()) {
        CZipAutoBuffer name;
        ConvertFileName(name);
        uNameSize = name.GetSize();
    }
    return kLocalHeaderSize + m_aLocalExtraData.GetTotalSize() + uNameSize;
}

DWORD CZipFileHeader::GetCentralSize() const {
    DWORD uNameSize = m_fileName.m_buffer.GetSize();
    if (!m_fileName.HasBuffer()) {
        CZipAutoBuffer name;
        ConvertFileName(name);
        uNameSize = name.GetSize();
    }
    DWORD uCommentSize = m_comment.m_buffer.GetSize();
    if (!m_comment.HasBuffer()) {
        CZipAutoBuffer comment;
        EncodeComment(comment);
        uCommentSize = comment.GetSize();
    }
    return kCentralHeaderSize + uNameSize + uCommentSize + m_aCentralExtraData.GetTotalSize();
}

DWORD CZipFileHeader::GetDataDescriptorSize(bool bConsiderSignature) const {
    if (!IsDataDescriptor())
        return 0;
    return bConsiderSignature ? 16 : 12;
}

DWORD CZipFileHeader::GetEncryptionHeaderSize() const {
    return m_uEncryptionMethod == encStandard ? kEncryptionHeaderSize : 0;
}

DWORD CZipFileHeader::GetDataSize(bool bReal) const {
    DWORD uEncryptionHeader = GetEncryptionHeaderSize();
    return bReal ? m_uComprSize + uEncryptionHeader : m_uComprSize - uEncryptionHeader;
}

bool CZipFileHeader::CompressionEfficient() const {
    return m_uUncomprSize >= m_uComprSize - GetEncryptionHeaderSize();
}

int CZipFileHeader::GetCompressionLevel() const {
    if (m_uMethod == 0)
        return 0;
    switch ((m_uFlag >> 1) & 3) {
    case 3:
        return 1;
    case 2:
        return 2;
    case 1:
        return 9;
    default:
        return -1;
    }
}

void CZipFileHeader::RemoveInternalRecords(CZipExtraField& field, bool bCentral) const {
    const WORD* pIDs = bCentral ? kCentralInternalIDs : kLocalInternalIDs;
    int iCount = bCentral ? int(sizeof(kCentralInternalIDs) / sizeof(WORD))
                          : int(sizeof(kLocalInternalIDs) / sizeof(WORD));
    for (INT_PTR i = field.GetSize() - 1; i >= 0; i--) {
        const CZipExtraData* pRecord = field[i];
        WORD uID = pRecord->GetHeaderID();
        bool bInternal = false;
        for (int j = 0; j < iCount && !bInternal; j++)
            bInternal = pIDs[j] == uID;
        if (!bInternal)
            continue;
        // Another tool's Unicode name or comment stays with the entry while it
        // still describes the stored bytes; without it unzip reports the names
        // as mismatching once this program rewrites the directory.
        if (uID == CZipExtraField::idUnicodePath && m_fileName.HasBuffer() &&
            UnicodeRecordMatches(pRecord, m_fileName.m_buffer))
            continue;
        if (uID == CZipExtraField::idUnicodeComment && m_comment.HasBuffer() &&
            UnicodeRecordMatches(pRecord, m_comment.m_buffer))
            continue;
        delete field[i];
        field.RemoveAt(i);
    }
}
