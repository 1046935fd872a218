// ZipCompressor.cpp: the parts of CZipCompressor that every compressor shares:
// its options map, the work buffer, the CRC-32 and the path of raised errors.
#include "ZipCompressor.h"

#include "DeflateCompressor.h"
#include "ZipCryptograph.h"
#include "ZipException.h"
#include "ZipFileHeader.h"
#include "ZipStorage.h"

CZipCompressor::COptionsMap::~COptionsMap() {
    POSITION pos = GetStartPosition();
    while (pos != nullptr) {
        int iType = 0;
        COptions* pOptions = nullptr;
        GetNextAssoc(pos, iType, pOptions);
        delete pOptions;
    }
    RemoveAll();
}

void CZipCompressor::COptionsMap::Set(const COptions* pOptions) {
    if (pOptions == nullptr)
        return;
    const int iType = pOptions->GetType();
    COptions* pOld = Get(iType);
    SetAt(iType, pOptions->Clone());
    delete pOld;
}

CZipCompressor::COptions* CZipCompressor::COptionsMap::Get(int iType) const {
    COptions* pOptions = nullptr;
    return Lookup(iType, pOptions) ? pOptions : nullptr;
}

CZipCompressor::CZipCompressor(CZipStorage* pStorage)
    : m_uUncomprLeft(0), m_uCrc32(0), m_pStorage(pStorage), m_pCryptograph(nullptr),
      m_pFile(nullptr), m_uComprLeft(0) {}

CZipCompressor* CZipCompressor::CreateCompressorFor(WORD uMethod, CZipStorage* pStorage) {
    if (uMethod == methodStore || uMethod == methodDeflate)
        return new ZipArchiveLib::CDeflateCompressor(pStorage);
    return nullptr;
}

void CZipCompressor::BeginCompression(int iLevel, CZipFileHeader* pFile,
                                      CZipCryptograph* pCryptograph) {
    (void)iLevel;
    InitBuffer();
    m_uComprLeft = 0;
    m_pFile = pFile;
    m_pCryptograph = pCryptograph;
}

void CZipCompressor::BeginDecompression(CZipFileHeader* pFile, CZipCryptograph* pCryptograph) {
    InitBuffer();
    m_pFile = pFile;
    m_pCryptograph = pCryptograph;
    const DWORD uEncryption = pFile->GetEncryptionHeaderSize();
    // A compressed size below the encryption header is a damaged record: there
    // is no data, and the reading then fails on the first expected byte.
    m_uComprLeft = pFile->m_uComprSize > uEncryption ? pFile->m_uComprSize - uEncryption : 0;
    m_uUncomprLeft = pFile->m_uUncomprSize;
    m_uCrc32 = 0;
}

void CZipCompressor::ThrowError(int iErr, bool bInternal) {
    if (!bInternal)
        iErr = MapLibraryError(iErr);
    CString szPath;
    if (m_pStorage != nullptr && m_pStorage->IsOpened() && m_pStorage->m_pFile != nullptr)
        szPath = m_pStorage->m_pFile->GetFilePath();
    CZipException::Raise(iErr, szPath);
}

void CZipCompressor::FlushWriteBuffer() {
    if (m_uComprLeft == 0)
        return;
    if (m_pCryptograph != nullptr)
        m_pCryptograph->EncryptBytes(m_pBuffer, m_uComprLeft);
    m_pStorage->Write(m_pBuffer, m_uComprLeft, false);
    m_uComprLeft = 0;
}

void CZipCompressor::InitBuffer() {
    const COptions* pOptions = GetOptions();
    DWORD uSize = pOptions != nullptr ? pOptions->m_iBufferSize : 0;
    if (uSize == 0)
        uSize = 0x20000;
    m_pBuffer.Allocate(uSize);
}

void CZipCompressor::UpdateFileCrc(const void* pBuffer, DWORD uSize) {
    m_pFile->m_uCrc32 = static_cast<DWORD>(
        crc32(m_pFile->m_uCrc32, static_cast<const Bytef*>(pBuffer), static_cast<uInt>(uSize)));
}

void CZipCompressor::UpdateCrc(const void* pBuffer, DWORD uSize) {
    m_uCrc32 = static_cast<DWORD>(
        crc32(m_uCrc32, static_cast<const Bytef*>(pBuffer), static_cast<uInt>(uSize)));
}
