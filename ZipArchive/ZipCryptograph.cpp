// ZipCryptograph.cpp: the traditional PKWARE stream cipher (APPNOTE 6.1):
// three keys stepped by CRC-32 and a linear congruence, a 12-byte random
// header whose last byte checks the password.
#include "ZipCryptograph.h"

#include "ZipException.h"
#include "ZipFileHeader.h"
#include "ZipStorage.h"
#include "native/zlib.h"

#include <ntsecapi.h>

namespace {
const DWORD kKey0 = 0x12345678;
const DWORD kKey1 = 0x23456789;
const DWORD kKey2 = 0x34567890;
const DWORD kKeyMultiplier = 134775813;
const int kRandomHeaderBytes = 10;

DWORD CrcStep(DWORD uValue, BYTE uByte) {
    static const z_crc_t* const pTable = get_crc_table();
    return (uValue >> 8) ^ static_cast<DWORD>(pTable[(uValue ^ uByte) & 0xFF]);
}
} // namespace

CZipCryptograph* CZipCryptograph::CreateCryptographFor(int iEncryptionMethod) {
    if (iEncryptionMethod == CZipFileHeader::encNone)
        return nullptr;
    return new CZipCrc32Cryptograph;
}

void CZipCryptograph::EndDecryption(CZipFileHeader& currentFile, CZipStorage& storage) {
    (void)currentFile;
    (void)storage;
}

void CZipCryptograph::EndEncryption(CZipFileHeader& currentFile, CZipStorage& storage) {
    (void)currentFile;
    (void)storage;
}

bool CZipCryptograph::HandlesMethod(int iEncryptionMethod) const {
    (void)iEncryptionMethod;
    return false;
}

bool CZipCrc32Cryptograph::BeginDecryption(CZipAutoBuffer& password, CZipFileHeader& currentFile,
                                           CZipStorage& storage) {
    CryptInitKeys(password);
    char header[CZipFileHeader::kEncryptionHeaderSize];
    const DWORD uRead = storage.Read(header, sizeof(header), false);
    if (uRead != sizeof(header))
        storage.ThrowError(CZipException::badZipFile);
    DecryptBytes(header, sizeof(header));
    // With a data descriptor the CRC is not known before the data, so the
    // writer checks with the modification time instead.
    const BYTE uCheck = currentFile.IsDataDescriptor()
                            ? static_cast<BYTE>(currentFile.m_uModTime >> 8)
                            : static_cast<BYTE>(currentFile.m_uCrc32 >> 24);
    return static_cast<BYTE>(header[sizeof(header) - 1]) == uCheck;
}

void CZipCrc32Cryptograph::BeginEncryption(CZipAutoBuffer& password, CZipFileHeader& currentFile,
                                           CZipStorage& storage) {
    CryptInitKeys(password);
    char header[CZipFileHeader::kEncryptionHeaderSize];
    // The random bytes keep equal plain data of two entries from giving equal
    // cipher streams; a time-seeded generator would repeat within a second.
    if (!RtlGenRandom(header, kRandomHeaderBytes))
        CZipException::Raise(CZipException::genericError, storage.GetArchiveName());
    header[kRandomHeaderBytes] = static_cast<char>(currentFile.m_uModTime & 0xFF);
    header[kRandomHeaderBytes + 1] = static_cast<char>(currentFile.m_uModTime >> 8);
    EncryptBytes(header, sizeof(header));
    storage.Write(header, sizeof(header), false);
    currentFile.m_uComprSize += sizeof(header);
}

void CZipCrc32Cryptograph::DecryptBytes(char* pBuffer, DWORD uSize) {
    for (DWORD i = 0; i < uSize; ++i) {
        const char c = static_cast<char>(pBuffer[i] ^ CryptDecode());
        CryptUpdateKeys(c);
        pBuffer[i] = c;
    }
}

void CZipCrc32Cryptograph::EncryptBytes(char* pBuffer, DWORD uSize) {
    for (DWORD i = 0; i < uSize; ++i) {
        const char k = CryptDecode();
        CryptUpdateKeys(pBuffer[i]);
        pBuffer[i] = static_cast<char>(pBuffer[i] ^ k);
    }
}

void CZipCrc32Cryptograph::CryptInitKeys(CZipAutoBuffer& password) {
    m_keys[0] = kKey0;
    m_keys[1] = kKey1;
    m_keys[2] = kKey2;
    for (DWORD i = 0; i < password.GetSize(); ++i)
        CryptUpdateKeys(password.GetBuffer()[i]);
}

void CZipCrc32Cryptograph::CryptUpdateKeys(char c) {
    m_keys[0] = CrcStep(m_keys[0], static_cast<BYTE>(c));
    m_keys[1] = (m_keys[1] + (m_keys[0] & 0xFF)) * kKeyMultiplier + 1;
    m_keys[2] = CrcStep(m_keys[2], static_cast<BYTE>(m_keys[1] >> 24));
}

char CZipCrc32Cryptograph::CryptDecode() const {
    const DWORD t = (m_keys[2] & 0xFFFF) | 2;
    return static_cast<char>(((t * (t ^ 1)) >> 8) & 0xFF);
}
