// Tests of the compressors: stored and deflated entries through a storage over
// a memory file, their CRC and sizes, the work buffer, encryption of the
// flushed pieces, library memory, and damaged data that must fail, not hang.
#include "native/gtest.h"

#include "DeflateCompressor.h"
#include "ZipCryptograph.h"
#include "ZipException.h"
#include "ZipFileHeader.h"
#include "ZipMemFile.h"
#include "ZipStorage.h"
#include "ZipTestFixtures.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using ZipArchiveLib::CDeflateCompressor;

using namespace ZipTestFixtures;

namespace {

// Bytes that deflate cannot shrink.
std::string Incompressible(size_t uCount) {
    std::string bytes(uCount, '\0');
    DWORD x = 0x9E3779B9;
    for (size_t i = 0; i < uCount; i++) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        bytes[i] = static_cast<char>(x >> 24);
    }
    return bytes;
}

std::string Text(size_t uCount) {
    static const std::string line = "Call 0042 from +44 20 7946 0018, 00:03:17, agent Mira.\r\n";
    std::string text;
    while (text.size() < uCount)
        text += line;
    text.resize(uCount);
    return text;
}

// zlib called directly, outside the compressor: the raw deflate data inflated.
std::string RawInflate(const std::string& data) {
    z_stream stream{};
    EXPECT_EQ(Z_OK, inflateInit2(&stream, -15));
    std::string out;
    std::vector<char> buffer(65536);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    int iErr = Z_OK;
    while (iErr == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(buffer.data());
        stream.avail_out = static_cast<uInt>(buffer.size());
        iErr = inflate(&stream, Z_NO_FLUSH);
        out.append(buffer.data(), buffer.size() - stream.avail_out);
    }
    EXPECT_EQ(Z_STREAM_END, iErr);
    inflateEnd(&stream);
    return out;
}

CZipAutoBuffer Password(const std::string& text) {
    CZipAutoBuffer buffer(static_cast<DWORD>(text.size()));
    if (!text.empty())
        memcpy(buffer.GetBuffer(), text.data(), text.size());
    return buffer;
}

// The compressor with its protected parts in reach.
class CTestCompressor : public CDeflateCompressor {
public:
    explicit CTestCompressor(CZipStorage* pStorage) : CDeflateCompressor(pStorage) {}
    using CDeflateCompressor::MapLibraryError;
    INT_PTR LibraryBlocks() const { return m_list.GetCount(); }
};

CZipFileHeader NewHeader(WORD uMethod, bool bEncrypted = false) {
    CZipFileHeader header;
    header.m_uMethod = uMethod;
    header.m_uModTime = 0x6B21;
    if (bEncrypted) {
        header.m_uEncryptionMethod = CZipFileHeader::encStandard;
        header.m_uFlag = CZipFileHeader::flEncrypted | CZipFileHeader::flDataDescriptor;
    }
    return header;
}

// Writes one entry at the start of the memory file, the source in pieces.
void Compress(CZipMemFile& file, CZipFileHeader& header, const std::string& data,
              size_t uPiece = 65536, int iLevel = Z_DEFAULT_COMPRESSION,
              const char* szPassword = nullptr) {
    CZipStorage storage;
    storage.OpenOnFile(file, CZipStorage::zipCreate, false);
    CTestCompressor compressor(&storage);
    CZipCrc32Cryptograph cryptograph;
    CZipCrc32Cryptograph* pCryptograph = szPassword != nullptr ? &cryptograph : nullptr;
    if (pCryptograph != nullptr) {
        CZipAutoBuffer password = Password(szPassword);
        cryptograph.BeginEncryption(password, header, storage);
    }
    compressor.BeginCompression(iLevel, &header, pCryptograph);
    for (size_t i = 0; i < data.size(); i += uPiece)
        compressor.CompressBlock(data.data() + i,
                                 static_cast<DWORD>(std::min(uPiece, data.size() - i)));
    compressor.EndCompression(false);
    storage.Close(true);
}

struct SDecompressed {
    std::string data;
    DWORD uCrc32 = 0;
};

// Reads the entry at the start of the memory file back, uRead bytes asked at
// a time; fails the test when the reading does not come to an end.
SDecompressed Decompress(CZipMemFile& file, CZipFileHeader& header, DWORD uRead = 65536,
                         const char* szPassword = nullptr) {
    SDecompressed result;
    CZipStorage storage;
    storage.OpenOnFile(file, CZipStorage::zipOpen, false);
    CTestCompressor compressor(&storage);
    CZipCrc32Cryptograph cryptograph;
    CZipCrc32Cryptograph* pCryptograph = szPassword != nullptr ? &cryptograph : nullptr;
    if (pCryptograph != nullptr) {
        CZipAutoBuffer password = Password(szPassword);
        EXPECT_TRUE(cryptograph.BeginDecryption(password, header, storage));
    }
    compressor.BeginDecompression(&header, pCryptograph);
    std::vector<char> buffer(uRead);
    // Every call but the last gives at least one byte: more calls than the
    // header has bytes means the reading does not end.
    const ULONGLONG uMaxCalls = static_cast<ULONGLONG>(header.m_uUncomprSize) + 2;
    ULONGLONG iCalls = 0;
    for (; iCalls < uMaxCalls; iCalls++) {
        const DWORD uGot = compressor.DecompressBlock(buffer.data(), uRead);
        if (uGot == 0)
            break;
        result.data.append(buffer.data(), uGot);
    }
    EXPECT_LT(iCalls, uMaxCalls) << "the reading never ended";
    result.uCrc32 = compressor.m_uCrc32;
    compressor.EndDecompression(false);
    storage.Close(false);
    return result;
}

// Compares without printing megabytes: the sizes and the first difference.
::testing::AssertionResult SameBytes(const std::string& expected, const std::string& actual) {
    if (expected == actual)
        return ::testing::AssertionSuccess();
    size_t i = 0;
    while (i < expected.size() && i < actual.size() && expected[i] == actual[i])
        i++;
    return ::testing::AssertionFailure() << "expected " << expected.size() << " bytes, got "
                                         << actual.size() << ", first difference at " << i;
}

TEST(ZipCompressorFactory, DeflateCompressorForStoreAndDeflateOnly) {
    struct {
        WORD uMethod;
        bool bMade;
    } const cases[] = {{0, true}, {8, true}, {9, false}, {12, false}, {14, false}, {99, false}};
    CZipStorage storage;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.uMethod);
        std::unique_ptr<CZipCompressor> p(CZipCompressor::CreateCompressorFor(c.uMethod, &storage));
        ASSERT_EQ(c.bMade, p != nullptr);
        if (p) {
            EXPECT_TRUE(p->CanProcess(c.uMethod));
        }
    }
    CDeflateCompressor compressor(&storage);
    EXPECT_FALSE(compressor.CanProcess(12));
}

TEST(ZipCompressorRoundTrip, EntriesComeBackWithTheirCrcAndSizes) {
    struct {
        WORD uMethod;
        std::string data;
        size_t uPiece;
        DWORD uRead;
    } const cases[] = {
        {0, "", 65536, 65536},
        {8, "", 65536, 65536},
        {0, "x", 65536, 1},
        {8, "hello", 65536, 65536},
        {0, Incompressible(200000), 65536, 65536},
        {8, Incompressible(200000), 65536, 4096},
        {8, Text(300000), 65536, 65536},
        {8, Text(300000), 1000, 1},
        {8, Text(70000), 70000, 100000},
        {0, Text(131072), 131072, 131072},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("method " + std::to_string(c.uMethod) + ", " + std::to_string(c.data.size()) +
                     " bytes in pieces of " + std::to_string(c.uPiece) + ", read " +
                     std::to_string(c.uRead));
        CZipMemFile file;
        CZipFileHeader header = NewHeader(c.uMethod);
        Compress(file, header, c.data, c.uPiece);
        EXPECT_EQ(Crc(c.data), header.m_uCrc32);
        EXPECT_EQ(c.data.size(), header.m_uUncomprSize);
        EXPECT_EQ(file.GetLength(), header.m_uComprSize);
        const std::string stored = MemBytes(file);
        EXPECT_TRUE(SameBytes(c.data, c.uMethod == 0 ? stored : RawInflate(stored)));
        const SDecompressed back = Decompress(file, header, c.uRead);
        EXPECT_TRUE(SameBytes(c.data, back.data));
        EXPECT_EQ(header.m_uCrc32, back.uCrc32);
    }
}

TEST(ZipCompressorRoundTrip, GoldenBytesOfSmallEntries) {
    struct {
        WORD uMethod;
        std::string data;
        std::string expected;
        DWORD uCrc32;
    } const cases[] = {
        // The empty deflate stream: one final fixed block holding the end code.
        {8, "", std::string("\x03\x00", 2), 0},
        {0, "123456789", "123456789", 0xCBF43926},
        // The published check value of CRC-32 again, through deflate: a fixed
        // block of nine literals.
        {8, "123456789", std::string("\x33\x34\x32\x36\x31\x35\x33\xB7\xB0\x04\x00", 11),
         0xCBF43926},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("method " + std::to_string(c.uMethod) + " '" + c.data + "'");
        CZipMemFile file;
        CZipFileHeader header = NewHeader(c.uMethod);
        Compress(file, header, c.data);
        EXPECT_EQ(c.expected, MemBytes(file));
        EXPECT_EQ(c.uCrc32, header.m_uCrc32);
        EXPECT_EQ(c.expected.size(), header.m_uComprSize);
        EXPECT_EQ(c.data.size(), header.m_uUncomprSize);
    }
}

TEST(ZipCompressorRoundTrip, DeflatedEntryWithoutAnyDataIsEmpty) {
    // Method 8 with no data bytes at all, as some writers store an empty
    // file; a single data byte that claims to hold nothing is still damage.
    CZipMemFile none;
    CZipFileHeader header = NewHeader(8);
    const SDecompressed back = Decompress(none, header);
    EXPECT_EQ("", back.data);
    EXPECT_EQ(0u, back.uCrc32);

    CZipMemFile one;
    one.Write("\x00", 1);
    header.m_uComprSize = 1;
    EXPECT_EQ(CZipException::badZipFile, ZipErrorOf([&] { Decompress(one, header); }));
}

TEST(ZipCompressorBuffer, OneLargeBlockFlushesTheWorkBufferSeveralTimes) {
    // 300,000 stored bytes in one block: two full 131,072-byte work buffers go
    // to the storage within the block, and the storage passes them on in its
    // 65,536-byte pieces; the rest waits for the end of the entry.
    const std::string data = Incompressible(300000);
    CZipMemFile file;
    CZipFileHeader header = NewHeader(0);
    CZipStorage storage;
    storage.OpenOnFile(file, CZipStorage::zipCreate, false);
    CDeflateCompressor compressor(&storage);
    compressor.BeginCompression(Z_DEFAULT_COMPRESSION, &header, nullptr);
    compressor.CompressBlock(data.data(), static_cast<DWORD>(data.size()));
    EXPECT_EQ(2u * 131072u, file.GetLength());
    EXPECT_TRUE(SameBytes(data.substr(0, 2 * 131072), MemBytes(file)));
    compressor.EndCompression(false);
    storage.Close(true);
    EXPECT_TRUE(SameBytes(data, MemBytes(file)));
    EXPECT_EQ(300000u, header.m_uComprSize);
}

TEST(ZipCompressorOptions, ApplyCopiesEveryFieldAndTheMapOwnsCopies) {
    CZipStorage storage;
    CDeflateCompressor compressor(&storage);
    CDeflateCompressor::COptions options;
    options.m_iBufferSize = 4096;
    options.m_bDetectLibMemoryLeaks = false;
    options.m_bCheckLastBlock = false;
    compressor.ApplyOptions(&options);
    const CDeflateCompressor::COptions* pApplied =
        static_cast<const CDeflateCompressor::COptions*>(compressor.GetOptions());
    EXPECT_EQ(CZipCompressor::typeDeflate, pApplied->GetType());
    EXPECT_EQ(4096u, pApplied->m_iBufferSize);
    EXPECT_FALSE(pApplied->m_bDetectLibMemoryLeaks);
    EXPECT_FALSE(pApplied->m_bCheckLastBlock);

    CZipCompressor::COptionsMap map;
    EXPECT_EQ(nullptr, map.Get(CZipCompressor::typeDeflate));
    map.Set(&options);
    options.m_iBufferSize = 8192;
    map.Set(&options);
    options.m_iBufferSize = 1;
    EXPECT_EQ(1, map.GetCount());
    CZipCompressor::COptions* pStored = map.Get(CZipCompressor::typeDeflate);
    ASSERT_NE(nullptr, pStored);
    EXPECT_NE(static_cast<CZipCompressor::COptions*>(&options), pStored);
    EXPECT_EQ(8192u, pStored->m_iBufferSize);
}

TEST(ZipCompressorOptions, SmallWorkBufferStillRoundTrips) {
    const std::string data = Text(50000) + Incompressible(50000);
    for (WORD uMethod : {0, 8}) {
        SCOPED_TRACE(uMethod);
        CZipMemFile file;
        CZipFileHeader header = NewHeader(uMethod);
        CZipStorage storage;
        storage.OpenOnFile(file, CZipStorage::zipCreate, false);
        CDeflateCompressor compressor(&storage);
        CDeflateCompressor::COptions options;
        options.m_iBufferSize = 1000;
        compressor.ApplyOptions(&options);
        compressor.BeginCompression(Z_BEST_COMPRESSION, &header, nullptr);
        compressor.CompressBlock(data.data(), static_cast<DWORD>(data.size()));
        compressor.EndCompression(false);
        storage.Close(true);
        EXPECT_TRUE(SameBytes(data, uMethod == 0 ? MemBytes(file) : RawInflate(MemBytes(file))));
        EXPECT_TRUE(SameBytes(data, Decompress(file, header, 777).data));
    }
}

TEST(ZipCompressorMemory, LibraryBlocksAreFreedAfterAFailedEntry) {
    CZipMemFile file;
    CZipStorage storage;
    storage.OpenOnFile(file, CZipStorage::zipCreate, false);
    CTestCompressor compressor(&storage);
    CZipFileHeader failed = NewHeader(8);
    compressor.BeginCompression(9, &failed, nullptr);
    EXPECT_GT(compressor.LibraryBlocks(), 0);
    const std::string text = Text(10000);
    compressor.CompressBlock(text.data(), static_cast<DWORD>(text.size()));
    compressor.EndCompression(true);
    EXPECT_EQ(0, compressor.LibraryBlocks());

    // The same compressor serves the next entry as a fresh one.
    storage.DiscardWriteBuffer();
    CZipFileHeader next = NewHeader(8);
    compressor.BeginCompression(Z_DEFAULT_COMPRESSION, &next, nullptr);
    compressor.CompressBlock(text.data(), static_cast<DWORD>(text.size()));
    compressor.EndCompression(false);
    EXPECT_EQ(0, compressor.LibraryBlocks());
    storage.Close(true);
    EXPECT_TRUE(SameBytes(text, RawInflate(MemBytes(file))));

    CDeflateCompressor::COptions untracked;
    untracked.m_bDetectLibMemoryLeaks = false;
    compressor.ApplyOptions(&untracked);
    CZipFileHeader plain = NewHeader(8);
    compressor.BeginCompression(Z_DEFAULT_COMPRESSION, &plain, nullptr);
    EXPECT_EQ(0, compressor.LibraryBlocks());
    compressor.EndCompression(true);
}

TEST(ZipCompressorErrors, LibraryResultsMapToZipErrors) {
    struct {
        int iLibrary;
        int iZip;
    } const cases[] = {
        {Z_STREAM_END, 500}, {Z_NEED_DICT, 501}, {Z_ERRNO, 502},     {Z_STREAM_ERROR, 503},
        {Z_DATA_ERROR, 504}, {Z_MEM_ERROR, 505}, {Z_BUF_ERROR, 506}, {Z_VERSION_ERROR, 507},
        {-7, 100},           {3, 100},
    };
    CZipStorage storage;
    CTestCompressor compressor(&storage);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.iLibrary);
        EXPECT_EQ(c.iZip, compressor.MapLibraryError(c.iLibrary));
    }
}

TEST(ZipCompressorErrors, SizesPastTheRecordFieldsAreRefused) {
    // An entry whose compressed size (with what the header already counts)
    // passes 32 bits cannot be described by its record.
    CZipMemFile file;
    CZipFileHeader header = NewHeader(0);
    header.m_uComprSize = 0xFFFFFFF0;
    EXPECT_EQ(CZipException::tooBigSize, ZipErrorOf([&] { Compress(file, header, Text(100)); }));
    EXPECT_EQ(0xFFFFFFF0u, header.m_uComprSize);
}

TEST(ZipCompressorEncryption, FlushedPiecesAreEncryptedAndReadBack) {
    const std::string data = Text(150000) + Incompressible(150000);
    for (WORD uMethod : {0, 8}) {
        SCOPED_TRACE(uMethod);
        CZipMemFile file;
        CZipFileHeader header = NewHeader(uMethod, true);
        Compress(file, header, data, 65536, Z_DEFAULT_COMPRESSION, "c4ll-s3cret");
        EXPECT_EQ(file.GetLength(), header.m_uComprSize);
        if (uMethod == 0) {
            EXPECT_EQ(data.size() + 12, header.m_uComprSize);
            EXPECT_EQ(std::string::npos, MemBytes(file).find(data.substr(140000, 64)));
        }
        const SDecompressed back = Decompress(file, header, 65536, "c4ll-s3cret");
        EXPECT_TRUE(SameBytes(data, back.data));
        EXPECT_EQ(header.m_uCrc32, back.uCrc32);
    }
}

// A deflated entry of known data whose header is then made to lie.
struct SLyingEntry {
    const char* szCase;
    WORD uMethod;
    long lComprDelta;   // added to the true compressed size in the header
    long lUncomprDelta; // added to the true uncompressed size
    size_t uCutData;    // bytes cut off the end of the data in the file
    std::string trailing;
};

TEST(ZipCompressorDamaged, SizesThatDisagreeWithTheDataEndWith101) {
    const SLyingEntry cases[] = {
        {"stored, compressed larger", 0, 10, 0, 0, std::string(10, 'z')},
        {"stored, uncompressed larger", 0, 0, 10, 0, ""},
        {"stored, both larger than the file", 0, 10, 10, 0, ""},
        {"stored, uncompressed 0", 0, 0, -1000, 0, ""},
        {"deflated, uncompressed smaller", 8, 0, -500, 0, ""},
        {"deflated, uncompressed larger", 8, 0, 500, 0, ""},
        {"deflated, uncompressed 0", 8, 0, -1000, 0, ""},
        {"deflated, compressed larger with bytes after", 8, 4, 0, 0, "PK\x01\x02"},
        {"deflated, compressed larger than the file", 8, 4, 0, 0, ""},
        {"deflated, compressed smaller", 8, -3, 0, 0, ""},
        {"deflated, truncated", 8, -20, 0, 20, ""},
    };
    const std::string data = Incompressible(600) + Text(400);
    for (const SLyingEntry& c : cases) {
        SCOPED_TRACE(c.szCase);
        CZipMemFile source;
        CZipFileHeader header = NewHeader(c.uMethod);
        Compress(source, header, data);
        std::string bytes = MemBytes(source);
        bytes.resize(bytes.size() - c.uCutData);
        bytes += c.trailing;
        CZipMemFile file;
        file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
        header.m_uComprSize = static_cast<DWORD>(header.m_uComprSize + c.lComprDelta);
        header.m_uUncomprSize = static_cast<DWORD>(header.m_uUncomprSize + c.lUncomprDelta);
        EXPECT_EQ(CZipException::badZipFile, ZipErrorOf([&] { Decompress(file, header, 300); }));
    }
}

TEST(ZipCompressorDamaged, CorruptDeflateDataIsADataError) {
    struct {
        const char* szCase;
        std::string data;
    } const cases[] = {
        // Block type 3 is reserved.
        {"reserved block type", std::string("\x07\x00\x00\x00", 4)},
        // A stored block whose length and its complement disagree.
        {"stored block lengths", std::string("\x01\x05\x00\x00\x00hello", 10)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.szCase);
        CZipMemFile file;
        file.Write(c.data.data(), static_cast<UINT>(c.data.size()));
        CZipFileHeader header = NewHeader(8);
        header.m_uComprSize = static_cast<DWORD>(c.data.size());
        header.m_uUncomprSize = 5;
        EXPECT_EQ(CZipException::dataError, ZipErrorOf([&] { Decompress(file, header); }));
    }
}

TEST(ZipCompressorDamaged, LastBlockCheckCatchesAMissingStreamEnd) {
    // A sync-flushed stream carries all the data but no final block: the
    // sizes agree, and only the check of the last block sees the missing end.
    const std::string data = Text(3000);
    z_stream stream{};
    ASSERT_EQ(Z_OK, deflateInit2(&stream, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY));
    std::string out(8192, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
    stream.avail_out = static_cast<uInt>(out.size());
    ASSERT_EQ(Z_OK, deflate(&stream, Z_SYNC_FLUSH));
    out.resize(stream.total_out);
    deflateEnd(&stream);

    CZipMemFile file;
    file.Write(out.data(), static_cast<UINT>(out.size()));
    CZipFileHeader header = NewHeader(8);
    header.m_uComprSize = static_cast<DWORD>(out.size());
    header.m_uUncomprSize = static_cast<DWORD>(data.size());
    EXPECT_EQ(CZipException::badZipFile, ZipErrorOf([&] { Decompress(file, header); }));
}

} // namespace
