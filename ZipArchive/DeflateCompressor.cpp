// DeflateCompressor.cpp: raw deflate (method 8) through zlib and the plain copy
// (method 0), with zlib's memory tracked so that a failed entry frees it all.
#include "DeflateCompressor.h"

#include "ZipCryptograph.h"
#include "ZipException.h"
#include "ZipFileHeader.h"
#include "ZipStorage.h"

#include <cstring>
#include <new>

namespace ZipArchiveLib {

namespace {
// Raw deflate: no zlib header or trailer, the ZIP record carries CRC and sizes.
const int kWindowBits = -15;
const int kMemoryLevel = 8;
} // namespace

CBaseLibCompressor::~CBaseLibCompressor() {
    EmptyPtrList();
}

void CBaseLibCompressor::CheckForError(int iErr) {
    if (!IsLibraryCodeOk(iErr))
        ThrowError(iErr);
}

void CBaseLibCompressor::EmptyPtrList() {
    POSITION pos = m_list.GetHeadPosition();
    while (pos != nullptr)
        delete[] static_cast<char*>(m_list.GetNext(pos));
    m_list.RemoveAll();
}

void* CBaseLibCompressor::_zipalloc(void* opaque, UINT items, UINT size) {
    const ULONGLONG uBytes = static_cast<ULONGLONG>(items) * size;
    if (uBytes > 0xFFFFFFFFULL)
        return nullptr;
    // zlib expects a null pointer, not an exception, when memory is short.
    char* pBlock = new (std::nothrow) char[static_cast<size_t>(uBytes)];
    if (pBlock != nullptr && opaque != nullptr)
        static_cast<CZipPtrList<void*>*>(opaque)->AddTail(pBlock);
    return pBlock;
}

void CBaseLibCompressor::_zipfree(void* opaque, void* address) {
    if (opaque != nullptr) {
        CZipPtrList<void*>* pList = static_cast<CZipPtrList<void*>*>(opaque);
        POSITION pos = pList->Find(address);
        if (pos != nullptr)
            pList->RemoveAt(pos);
    }
    delete[] static_cast<char*>(address);
}

CDeflateCompressor::CDeflateCompressor(CZipStorage* pStorage)
    : CBaseLibCompressor(pStorage), m_bStreamOpen(false) {
    std::memset(&m_stream, 0, sizeof(m_stream));
    m_stream.zalloc = _zipalloc;
    m_stream.zfree = _zipfree;
}

void CDeflateCompressor::ApplyOptions(const CZipCompressor::COptions* pOptions) {
    if (pOptions == nullptr || pOptions->GetType() != typeDeflate)
        return;
    const COptions* pDeflate = static_cast<const COptions*>(pOptions);
    m_options.m_iBufferSize = pDeflate->m_iBufferSize;
    m_options.m_bDetectLibMemoryLeaks = pDeflate->m_bDetectLibMemoryLeaks;
    m_options.m_bCheckLastBlock = pDeflate->m_bCheckLastBlock;
}

int CDeflateCompressor::MapLibraryError(int iErr) {
    switch (iErr) {
    case Z_STREAM_END:
        return CZipException::streamEnd;
    case Z_NEED_DICT:
        return CZipException::needDict;
    case Z_ERRNO:
        return CZipException::errNo;
    case Z_STREAM_ERROR:
        return CZipException::streamError;
    case Z_DATA_ERROR:
        return CZipException::dataError;
    case Z_MEM_ERROR:
        return CZipException::memError;
    case Z_BUF_ERROR:
        return CZipException::bufError;
    case Z_VERSION_ERROR:
        return CZipException::versionError;
    default:
        return CZipException::genericError;
    }
}

void CDeflateCompressor::EndStream(bool bCompression) {
    if (!m_bStreamOpen)
        return;
    m_bStreamOpen = false;
    if (bCompression)
        deflateEnd(&m_stream);
    else
        inflateEnd(&m_stream);
}

void CDeflateCompressor::BeginCompression(int iLevel, CZipFileHeader* pFile,
                                          CZipCryptograph* pCryptograph) {
    // A stream left open by an entry that was never ended is not reused.
    EndStream(true);
    EmptyPtrList();
    CZipCompressor::BeginCompression(iLevel, pFile, pCryptograph);
    m_stream.next_in = nullptr;
    m_stream.avail_in = 0;
    m_stream.next_out = reinterpret_cast<Bytef*>(m_pBuffer.GetBuffer());
    m_stream.avail_out = m_pBuffer.GetSize();
    m_stream.total_in = 0;
    m_stream.total_out = 0;
    if (pFile->m_uMethod == methodDeflate) {
        m_stream.opaque = m_options.m_bDetectLibMemoryLeaks ? &m_list : nullptr;
        const int iErr = deflateInit2(&m_stream, iLevel, Z_DEFLATED, kWindowBits, kMemoryLevel,
                                      Z_DEFAULT_STRATEGY);
        CheckForError(iErr);
        m_bStreamOpen = true;
    }
}

void CDeflateCompressor::CompressBlock(const void* pBuffer, DWORD uSize) {
    UpdateFileCrc(pBuffer, uSize);
    m_stream.next_in = static_cast<Bytef*>(const_cast<void*>(pBuffer));
    m_stream.avail_in = uSize;
    while (m_stream.avail_in > 0) {
        if (m_stream.avail_out == 0) {
            FlushWriteBuffer();
            m_stream.next_out = reinterpret_cast<Bytef*>(m_pBuffer.GetBuffer());
            m_stream.avail_out = m_pBuffer.GetSize();
        }
        if (m_pFile->m_uMethod == methodDeflate) {
            const uLong uBefore = m_stream.total_out;
            CheckForError(deflate(&m_stream, Z_NO_FLUSH));
            m_uComprLeft += static_cast<DWORD>(m_stream.total_out - uBefore);
        } else {
            const DWORD uCopy =
                m_stream.avail_in < m_stream.avail_out ? m_stream.avail_in : m_stream.avail_out;
            std::memcpy(m_stream.next_out, m_stream.next_in, uCopy);
            m_stream.next_in += uCopy;
            m_stream.avail_in -= uCopy;
            m_stream.next_out += uCopy;
            m_stream.avail_out -= uCopy;
            m_stream.total_in += uCopy;
            m_stream.total_out += uCopy;
            m_uComprLeft += uCopy;
        }
    }
}

void CDeflateCompressor::EndCompression(bool bAfterException) {
    try {
        if (!bAfterException) {
            m_stream.next_in = nullptr;
            m_stream.avail_in = 0;
            if (m_pFile->m_uMethod == methodDeflate) {
                int iErr;
                do {
                    if (m_stream.avail_out == 0) {
                        FlushWriteBuffer();
                        m_stream.next_out = reinterpret_cast<Bytef*>(m_pBuffer.GetBuffer());
                        m_stream.avail_out = m_pBuffer.GetSize();
                    }
                    const uLong uBefore = m_stream.total_out;
                    iErr = deflate(&m_stream, Z_FINISH);
                    m_uComprLeft += static_cast<DWORD>(m_stream.total_out - uBefore);
                } while (iErr == Z_OK);
                if (iErr != Z_STREAM_END)
                    CheckForError(iErr);
            }
            FlushWriteBuffer();
            if (m_pFile->m_uMethod == methodDeflate) {
                m_bStreamOpen = false;
                CheckForError(deflateEnd(&m_stream));
            }
            // The record fields are 32-bit: a size past them is refused rather
            // than wrapped into a record that describes other data.
            const ULONGLONG uComprSize =
                static_cast<ULONGLONG>(m_pFile->m_uComprSize) + m_stream.total_out;
            if (uComprSize > 0xFFFFFFFFULL || m_stream.total_in > 0xFFFFFFFFULL)
                ThrowError(CZipException::tooBigSize, true);
            m_pFile->m_uComprSize = static_cast<DWORD>(uComprSize);
            m_pFile->m_uUncomprSize = static_cast<DWORD>(m_stream.total_in);
        }
    } catch (...) {
        EndStream(true);
        EmptyPtrList();
        ReleaseBuffer();
        throw;
    }
    EndStream(true);
    EmptyPtrList();
    ReleaseBuffer();
}

void CDeflateCompressor::BeginDecompression(CZipFileHeader* pFile, CZipCryptograph* pCryptograph) {
    // A stored entry's data is its bytes: sizes that disagree describe no
    // data that can be read, and reading by either size would go wrong.
    const DWORD uEncryption = pFile->GetEncryptionHeaderSize();
    if (pFile->m_uMethod == methodStore &&
        (pFile->m_uComprSize < uEncryption ||
         pFile->m_uComprSize - uEncryption != pFile->m_uUncomprSize))
        ThrowError(CZipException::badZipFile, true);
    EndStream(false);
    EmptyPtrList();
    CZipCompressor::BeginDecompression(pFile, pCryptograph);
    m_bDecompressionDone = false;
    m_stream.next_in = nullptr;
    m_stream.avail_in = 0;
    m_stream.total_in = 0;
    m_stream.total_out = 0;
    if (pFile->m_uMethod == methodDeflate) {
        m_stream.opaque = m_options.m_bDetectLibMemoryLeaks ? &m_list : nullptr;
        CheckForError(inflateInit2(&m_stream, kWindowBits));
        m_bStreamOpen = true;
        // Some writers give an empty file method 8 and no data at all: there
        // is no stream to verify and nothing to produce.
        if (m_uComprLeft == 0 && m_uUncomprLeft == 0)
            m_bDecompressionDone = true;
    }
}

void CDeflateCompressor::CheckStreamEnd() {
    if (m_uUncomprLeft != 0 || m_uComprLeft != 0 || m_stream.avail_in != 0)
        ThrowError(CZipException::badZipFile, true);
}

DWORD CDeflateCompressor::DecompressBlock(void* pBuffer, DWORD uSize) {
    if (m_bDecompressionDone)
        return 0;
    const bool bDeflate = m_pFile->m_uMethod == methodDeflate;
    const DWORD uLimit = uSize < m_uUncomprLeft ? uSize : m_uUncomprLeft;
    // An entry with nothing more to produce still has its deflate stream
    // consumed to its end, so that the end is verified.
    const bool bDrain = bDeflate && m_uUncomprLeft == 0;
    if (uLimit == 0 && !bDrain)
        return 0;

    Bytef* pOut = static_cast<Bytef*>(pBuffer);
    // zlib refuses a null output pointer even when no space is offered.
    m_stream.next_out = pOut != nullptr ? pOut : reinterpret_cast<Bytef*>(m_pBuffer.GetBuffer());
    m_stream.avail_out = uLimit;
    DWORD uProduced = 0;
    while (m_stream.avail_out > 0 || (bDrain && (m_uComprLeft > 0 || m_stream.avail_in > 0))) {
        bool bInputExhausted = false;
        if (m_stream.avail_in == 0) {
            if (m_uComprLeft == 0) {
                // The sizes promise output that the data cannot give: a stored
                // entry ends here; deflate gets one last call for what it holds.
                if (!bDeflate)
                    ThrowError(CZipException::badZipFile, true);
                bInputExhausted = true;
            } else {
                const DWORD uToRead =
                    m_uComprLeft < m_pBuffer.GetSize() ? m_uComprLeft : m_pBuffer.GetSize();
                const DWORD uRead = m_pStorage->Read(m_pBuffer, uToRead, false);
                if (uRead == 0)
                    ThrowError(CZipException::badZipFile, true);
                if (m_pCryptograph != nullptr)
                    m_pCryptograph->DecryptBytes(m_pBuffer, uRead);
                m_uComprLeft -= uRead;
                m_stream.next_in = reinterpret_cast<Bytef*>(m_pBuffer.GetBuffer());
                m_stream.avail_in = uRead;
            }
        }
        if (bDeflate) {
            const uLong uInBefore = m_stream.total_in;
            const uLong uOutBefore = m_stream.total_out;
            const Bytef* pStart = m_stream.next_out;
            const int iErr = inflate(&m_stream, Z_SYNC_FLUSH);
            const DWORD uOut = static_cast<DWORD>(m_stream.total_out - uOutBefore);
            UpdateCrc(pStart, uOut);
            m_uUncomprLeft -= uOut;
            uProduced += uOut;
            if (iErr == Z_STREAM_END) {
                m_bDecompressionDone = true;
                CheckStreamEnd();
                return uProduced;
            }
            if (iErr != Z_OK && iErr != Z_BUF_ERROR)
                CheckForError(iErr);
            const bool bStalled = uOut == 0 && m_stream.total_in == uInBefore;
            // No progress, or no input left while output is still expected:
            // the data is shorter or longer than its sizes say.
            if (iErr == Z_BUF_ERROR || bStalled || (bInputExhausted && m_stream.avail_out > 0))
                ThrowError(CZipException::badZipFile, true);
        } else {
            const DWORD uCopy =
                m_stream.avail_in < m_stream.avail_out ? m_stream.avail_in : m_stream.avail_out;
            std::memcpy(m_stream.next_out, m_stream.next_in, uCopy);
            UpdateCrc(m_stream.next_out, uCopy);
            m_stream.next_in += uCopy;
            m_stream.avail_in -= uCopy;
            m_stream.next_out += uCopy;
            m_stream.avail_out -= uCopy;
            m_stream.total_in += uCopy;
            m_stream.total_out += uCopy;
            m_uUncomprLeft -= uCopy;
            uProduced += uCopy;
        }
    }
    if (uProduced == 0 && uSize != 0 && bDeflate && m_options.m_bCheckLastBlock) {
        // All input is consumed and nothing came out: the stream must end here.
        m_stream.avail_out = 0;
        if (inflate(&m_stream, Z_SYNC_FLUSH) != Z_STREAM_END)
            ThrowError(CZipException::badZipFile, true);
        m_bDecompressionDone = true;
        CheckStreamEnd();
    }
    return uProduced;
}

void CDeflateCompressor::EndDecompression(bool bAfterException) {
    (void)bAfterException;
    // inflateEnd only frees; after a failure it still releases zlib's state
    // when leak tracking is off.
    EndStream(false);
    EmptyPtrList();
    ReleaseBuffer();
}

} // namespace ZipArchiveLib
