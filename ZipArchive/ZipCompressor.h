// ZipCompressor.h: CZipCompressor, the interface that turns an entry's bytes
// into its stored data and back, keeping its CRC-32 and sizes, and its options.
#pragma once

#include "ZipAutoBuffer.h"
#include "ZipCollections.h"

class CZipCryptograph;
class CZipFileHeader;
class CZipStorage;

class CZipCompressor {
public:
    enum CompressionMethod { methodStore = 0, methodDeflate = 8 };
    enum OptionsType { typeDeflate = 1 };

    class COptions {
    public:
        COptions() : m_iBufferSize(0x20000) {}
        virtual int GetType() const = 0;
        virtual COptions* Clone() const = 0;
        virtual ~COptions() = default;
        DWORD m_iBufferSize;
    };

    // Owns its options objects, one per options type.
    class COptionsMap : public CZipMap<int, COptions*> {
    public:
        COptionsMap() = default;
        COptionsMap(const COptionsMap&) = delete;
        COptionsMap& operator=(const COptionsMap&) = delete;
        ~COptionsMap() override;
        // Stores a copy of the options, replacing one of the same type.
        void Set(const COptions* pOptions);
        COptions* Get(int iType) const;
    };

    explicit CZipCompressor(CZipStorage* pStorage);
    virtual ~CZipCompressor() = default;
    CZipCompressor(const CZipCompressor&) = delete;
    CZipCompressor& operator=(const CZipCompressor&) = delete;

    // A deflate compressor for methods 0 and 8; none for any other.
    static CZipCompressor* CreateCompressorFor(WORD uMethod, CZipStorage* pStorage);

    virtual bool CanProcess(WORD uMethod) = 0;
    virtual void BeginCompression(int iLevel, CZipFileHeader* pFile, CZipCryptograph* pCryptograph);
    virtual void BeginDecompression(CZipFileHeader* pFile, CZipCryptograph* pCryptograph);
    virtual void CompressBlock(const void* pBuffer, DWORD uSize) = 0;
    // Bytes produced into pBuffer; 0 at the end of the entry.
    virtual DWORD DecompressBlock(void* pBuffer, DWORD uSize) = 0;
    virtual void EndCompression(bool bAfterException) { (void)bAfterException; }
    virtual void EndDecompression(bool bAfterException) { (void)bAfterException; }
    virtual const COptions* GetOptions() const { return nullptr; }
    virtual void ApplyOptions(const COptions* pOptions) { (void)pOptions; }

    // Uncompressed bytes still to come, and the CRC-32 of what came so far
    // (decompression).
    DWORD m_uUncomprLeft;
    DWORD m_uCrc32;

protected:
    virtual int MapLibraryError(int iErr) { return iErr; }
    // Raises the mapped error with the storage's current file path.
    [[noreturn]] void ThrowError(int iErr, bool bInternal = false);
    // Encrypts the pending bytes in place (when encrypting) and writes them.
    void FlushWriteBuffer();
    void InitBuffer();
    void ReleaseBuffer() { m_pBuffer.Release(); }
    void UpdateFileCrc(const void* pBuffer, DWORD uSize);
    void UpdateCrc(const void* pBuffer, DWORD uSize);

    CZipStorage* m_pStorage;
    CZipAutoBuffer m_pBuffer;
    CZipCryptograph* m_pCryptograph;
    CZipFileHeader* m_pFile;
    DWORD m_uComprLeft;
};
