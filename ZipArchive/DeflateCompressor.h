// DeflateCompressor.h: the compressors over zlib: raw deflate (method 8) and a
// plain copy (method 0, stored).
#pragma once

#include "ZipCompressor.h"
#include "native/zlib.h"

namespace ZipArchiveLib {

class CBaseLibCompressor : public CZipCompressor {
public:
    class COptions : public CZipCompressor::COptions {
    public:
        COptions() : m_bDetectLibMemoryLeaks(true) {}
        bool m_bDetectLibMemoryLeaks;
    };

    explicit CBaseLibCompressor(CZipStorage* pStorage)
        : CZipCompressor(pStorage), m_bDecompressionDone(false) {}
    ~CBaseLibCompressor() override;

protected:
    virtual bool IsLibraryCodeOk(int iErr) const = 0;
    // Raises a library result that is not ok.
    void CheckForError(int iErr);
    // Frees what the library allocated and did not free.
    void EmptyPtrList();
    // zlib's allocation hooks: blocks are tracked in the list given as opaque.
    static void* _zipalloc(void* opaque, UINT items, UINT size);
    static void _zipfree(void* opaque, void* address);

    bool m_bDecompressionDone;
    CZipPtrList<void*> m_list;
};

class CDeflateCompressor : public CBaseLibCompressor {
public:
    class COptions : public CBaseLibCompressor::COptions {
    public:
        COptions() : m_bCheckLastBlock(true) {}
        int GetType() const override { return typeDeflate; }
        CZipCompressor::COptions* Clone() const override { return new COptions(*this); }
        bool m_bCheckLastBlock;
    };

    explicit CDeflateCompressor(CZipStorage* pStorage);

    bool CanProcess(WORD uMethod) override {
        return uMethod == methodStore || uMethod == methodDeflate;
    }
    void BeginCompression(int iLevel, CZipFileHeader* pFile,
                          CZipCryptograph* pCryptograph) override;
    void BeginDecompression(CZipFileHeader* pFile, CZipCryptograph* pCryptograph) override;
    void CompressBlock(const void* pBuffer, DWORD uSize) override;
    DWORD DecompressBlock(void* pBuffer, DWORD uSize) override;
    void EndCompression(bool bAfterException) override;
    void EndDecompression(bool bAfterException) override;
    const CZipCompressor::COptions* GetOptions() const override { return &m_options; }
    void ApplyOptions(const CZipCompressor::COptions* pOptions) override;

protected:
    int MapLibraryError(int iErr) override;
    bool IsLibraryCodeOk(int iErr) const override { return iErr == Z_OK || iErr == Z_NEED_DICT; }

private:
    // Ends the zlib stream when one is open, ignoring its result: the cleanup
    // after a failure, which must not raise again.
    void EndStream(bool bCompression);
    // Raises error 101 when the deflate stream ended although the header's
    // sizes promise more uncompressed data or hold more compressed bytes.
    void CheckStreamEnd();

    COptions m_options;
    z_stream m_stream;
    bool m_bStreamOpen;
};

} // namespace ZipArchiveLib
