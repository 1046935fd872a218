// Tests of CZipStorage and the volume-name handlers: the write buffer, reads,
// the backward signature search, split and binary split volumes.
#include "native/gtest.h"

#include "ZipException.h"
#include "ZipMemFile.h"
#include "ZipStorage.h"
#include "framework/Exception.h"
#include "tests/support/TempFolder.h"
#include "ZipTestFixtures.h"

#include <cstring>
#include <string>

using namespace ZipTestFixtures;

namespace {

const char kEndSignature[] = "\x50\x4B\x05\x06";
const std::string kSplitSignature("\x50\x4B\x07\x08", 4);

// Bytes that differ from their neighbours, so a misplaced piece shows.
std::string Pattern(size_t uCount, int iSeed = 0) {
    std::string bytes(uCount, '\0');
    for (size_t i = 0; i < uCount; i++)
        bytes[i] = static_cast<char>((i * 7 + static_cast<size_t>(iSeed) * 13 + i / 251) % 251);
    return bytes;
}

void WriteString(CZipStorage& storage, const std::string& bytes, bool bAtOnce = false) {
    storage.Write(bytes.data(), static_cast<DWORD>(bytes.size()), bAtOnce);
}

std::string ReadString(CZipStorage& storage, DWORD uCount, bool bAtOnce = false) {
    std::string bytes(uCount, '\0');
    const DWORD uRead = storage.Read(&bytes[0], uCount, bAtOnce);
    bytes.resize(uRead);
    return bytes;
}

// A storage over a memory file holding the bytes, opened as an existing archive.
struct MemArchive {
    CZipMemFile file;
    CZipStorage storage;
    explicit MemArchive(const std::string& bytes) {
        FillMem(file, bytes);
        storage.OpenOnFile(file, CZipStorage::zipOpen, false);
    }
};

} // namespace

// ---- the write buffer ---------------------------------------------------------

TEST(ZipStorageWrite, NothingReachesTheFileBeforeTheBufferIsFullOrFlushed) {
    CZipMemFile file;
    CZipStorage storage;
    storage.OpenOnFile(file, CZipStorage::zipCreate, false);
    const std::string data = Pattern(CZipStorage::kWriteBufferSize + 100);

    WriteString(storage, data.substr(0, 1000));
    EXPECT_EQ(0u, file.GetLength());
    EXPECT_EQ(1000u, storage.m_uBytesInWriteBuffer);
    EXPECT_EQ(1000u, storage.GetPosition());

    // Filling the buffer writes exactly one buffer; the rest waits.
    WriteString(storage, data.substr(1000));
    EXPECT_EQ(static_cast<ULONGLONG>(CZipStorage::kWriteBufferSize), file.GetLength());
    EXPECT_EQ(100u, storage.m_uBytesInWriteBuffer);
    EXPECT_EQ(data.size(), storage.GetPosition());

    storage.Flush();
    EXPECT_EQ(0u, storage.m_uBytesInWriteBuffer);
    EXPECT_EQ(data, MemBytes(file));
    storage.Close(true);
    EXPECT_FALSE(file.IsClosed()) << "the caller's file stays open without auto-close";
}

TEST(ZipStorageWrite, DiscardedBytesNeverReachTheFile) {
    CZipMemFile file;
    CZipStorage storage;
    storage.OpenOnFile(file, CZipStorage::zipCreate, false);
    WriteString(storage, "kept");
    storage.Flush();
    WriteString(storage, "dropped");
    storage.DiscardWriteBuffer();
    storage.Close(true);
    EXPECT_EQ("kept", MemBytes(file));
}

TEST(ZipStorageWrite, CreateOnAPathWritesAtCloseAndAppendKeepsTheOldBytes) {
    CTempFolder temp;
    const std::string path = temp.File("a.zip");
    ASSERT_TRUE(WriteWholeFile(path, "old content"));

    CZipStorage storage;
    storage.Open(path.c_str(), CZipStorage::zipCreateAppend, 0);
    WriteString(storage, "+new");
    EXPECT_EQ("old content", ReadWholeFile(path));
    storage.Close(true);
    EXPECT_EQ("old content+new", ReadWholeFile(path));
    EXPECT_TRUE(storage.IsClosed());

    storage.Open(path.c_str(), CZipStorage::zipCreate, 0);
    WriteString(storage, "fresh");
    storage.Close(true);
    EXPECT_EQ("fresh", ReadWholeFile(path));
}

TEST(ZipStorageWrite, ClosingAsksForTheFilesPath) {
    CTempFolder temp;
    const std::string path = temp.File("named.zip");
    CZipStorage storage;
    storage.Open(path.c_str(), CZipStorage::zipCreate, 0);
    const CString szName = storage.Close(true, true);
    EXPECT_EQ(0, szName.CompareNoCase(path.c_str())) << szName.GetString();
    storage.Open(path.c_str(), CZipStorage::zipOpen, 0);
    EXPECT_TRUE(storage.Close(false, false).IsEmpty());
}

// ---- opening on a file object ---------------------------------------------------

TEST(ZipStorageOpenOnFile, ModesPlaceThePositionAndSetTheState) {
    struct Case {
        int iMode;
        const char* szExpectedAfterWrite;
        bool bExisting;
        bool bReadOnly;
    } cases[] = {
        {CZipStorage::zipCreate, "XY", false, false},
        {CZipStorage::zipCreateAppend, "abcdefXY", false, false},
        {CZipStorage::zipOpen, "XYcdef", true, false},
        {CZipStorage::zipOpenReadOnly, nullptr, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.iMode);
        CZipMemFile file;
        FillMem(file, "abcdef");
        file.SeekToEnd();
        CZipStorage storage;
        storage.OpenOnFile(file, c.iMode, true);
        EXPECT_TRUE(storage.IsOpened());
        EXPECT_EQ(c.bExisting, storage.IsExisting());
        EXPECT_EQ(c.bReadOnly, storage.IsReadOnly());
        EXPECT_FALSE(storage.IsSegmented());
        if (c.szExpectedAfterWrite != nullptr) {
            WriteString(storage, "XY");
            storage.Flush();
            EXPECT_EQ(c.szExpectedAfterWrite, MemBytes(file));
        }
        storage.Close(false);
        EXPECT_TRUE(file.IsClosed()) << "auto-close closes the caller's file";
        EXPECT_TRUE(storage.IsClosed());
    }
}

// ---- reads, seeks and the bytes before the archive ---------------------------------

TEST(ZipStorageRead, ReadsShortReadsAndTheEndOfAPlainArchive) {
    MemArchive archive("0123456789");
    CZipStorage& storage = archive.storage;
    EXPECT_EQ("0123", ReadString(storage, 4, true));
    EXPECT_EQ(0u, storage.Read(nullptr, 0, true)) << "a count of 0 reads nothing";
    EXPECT_EQ(4u, storage.GetPosition());

    // A plain archive has no next volume: a short read is a damaged archive.
    std::string rest(10, '\0');
    EXPECT_EQ(CZipException::badZipFile, ZipErrorOf([&] { storage.Read(&rest[0], 10, false); }));
    storage.Seek(10);
    EXPECT_EQ(CZipException::badZipFile, ZipErrorOf([&] { storage.Read(&rest[0], 1, false); }));
}

TEST(ZipStorageRead, BytesBeforeTheArchiveShiftPositionsOnVolumeZero) {
    MemArchive archive("SFX--PK-archive");
    CZipStorage& storage = archive.storage;
    storage.SetVolumeMode(0);
    EXPECT_EQ(0, storage.GetCurrentVolume());
    EXPECT_FALSE(storage.IsSegmented());
    storage.m_uBytesBeforeZip = 5;

    storage.Seek(0);
    EXPECT_EQ(5u, archive.file.GetPosition());
    EXPECT_EQ(0u, storage.GetPosition());
    EXPECT_EQ("PK", ReadString(storage, 2));
    EXPECT_EQ(10u, storage.GetArchiveDataLength());

    // From the end, the signature search's way.
    storage.Seek(3, false);
    EXPECT_EQ("ive", ReadString(storage, 3));
}

// ---- the signature search ---------------------------------------------------------

TEST(ZipStorageFindSignature, EdgeCases) {
    const ULONGLONG kDepth = 65557;
    const std::string sig(kEndSignature, 4);
    const size_t kBlock = CZipStorage::kSearchBufferSize;
    struct Case {
        const char* szName;
        std::string bytes;
        ULONGLONG uExpected;
    } cases[] = {
        {"empty file", "", CZipStorage::kSignatureNotFound},
        {"the signature alone", sig, 0},
        {"three bytes of it at the end", Pattern(100) + sig.substr(0, 3),
         CZipStorage::kSignatureNotFound},
        {"one extra byte after it", Pattern(10) + sig + "\x06", 10},
        {"a broken partial match before it", Pattern(10) + "\x50\x4B\x05" + sig, 13},
        {"the last of two", sig + Pattern(50) + sig + Pattern(22), 54},
        {"across the first block edge by 1", Pattern(1000) + sig + Pattern(kBlock - 3), 1000},
        {"across the first block edge by 2", Pattern(1000) + sig + Pattern(kBlock - 2), 1000},
        {"across the first block edge by 3", Pattern(1000) + sig + Pattern(kBlock - 1), 1000},
        {"just inside the first block", Pattern(1000) + sig + Pattern(kBlock - 4), 1000},
        {"a 65,535-byte comment", Pattern(300) + sig + Pattern(18) + Pattern(65535, 3), 300},
        {"a 65,536-byte comment", Pattern(300) + sig + Pattern(18) + Pattern(65536, 3),
         CZipStorage::kSignatureNotFound},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.szName);
        MemArchive archive(c.bytes);
        EXPECT_EQ(c.uExpected, archive.storage.FindSignature(kEndSignature, kDepth));
    }
}

TEST(ZipStorageFindSignature, BelowContinuesTheSearchWithEarlierCandidates) {
    const std::string sig(kEndSignature, 4);
    // A comment that holds an end-record signature itself.
    MemArchive archive(Pattern(40) + sig + Pattern(18) + "abc" + sig + "xyz");
    CZipStorage& storage = archive.storage;
    const ULONGLONG uLast = storage.FindSignature(kEndSignature, 65557);
    ASSERT_EQ(65u, uLast);
    EXPECT_EQ(40u, storage.FindSignature(kEndSignature, 65557, uLast));
    EXPECT_EQ(CZipStorage::kSignatureNotFound, storage.FindSignature(kEndSignature, 65557, 40));
    // A signature that starts just below the limit counts.
    EXPECT_EQ(40u, storage.FindSignature(kEndSignature, 65557, 41));
}

// ---- volume names ------------------------------------------------------------------

TEST(ZipSplitNamesHandler, RegularNames) {
    CZipRegularSplitNamesHandler handler;
    struct Case {
        const char* szArchive;
        DWORD uVolume;
        int iFlags;
        const char* szExpected;
    } cases[] = {
        {"C:\\d\\a.zip", 1, 0, "C:\\d\\a.z01"},
        {"C:\\d\\a.zip", 99, 0, "C:\\d\\a.z99"},
        {"C:\\d\\a.zip", 100, 0, "C:\\d\\a.z100"},
        {"C:\\d\\a.zip", 3, CZipSplitNamesHandler::flLast, "C:\\d\\a.zip"},
        {"C:\\d\\a.zip", 3, CZipSplitNamesHandler::flExisting, "C:\\d\\a.z03"},
        {"C:\\d.x\\a", 2, 0, "C:\\d.x\\a.z02"},
        {"C:\\d.x\\a", 2, CZipSplitNamesHandler::flLast, "C:\\d.x\\a"},
        {"a.b.zip", 7, 0, "a.b.z07"},
    };
    for (const Case& c : cases) {
        handler.Prepare(c.szArchive);
        EXPECT_STREQ(c.szExpected, handler.VolumeName(c.szArchive, c.uVolume, c.iFlags))
            << c.szArchive << " " << c.uVolume;
    }
    EXPECT_EQ(0u, handler.VolumeNumber("a.z01"));
}

TEST(ZipSplitNamesHandler, BinaryNamesAndNumbers) {
    CZipBinSplitNamesHandler handler;
    EXPECT_STREQ("C:\\d\\a.zip.001", handler.VolumeName("C:\\d\\a.zip", 1, 0));
    EXPECT_STREQ("a.zip.999", handler.VolumeName("a.zip", 999, CZipSplitNamesHandler::flLast));
    EXPECT_STREQ("a.zip.1000", handler.VolumeName("a.zip", 1000, 0));
    EXPECT_STREQ("a.zip.002",
                 handler.VolumeName("a.zip.005", 2, CZipSplitNamesHandler::flExisting));

    struct Case {
        const char* szPath;
        DWORD uExpected;
    } cases[] = {
        {"a.zip.001", 1},
        {"C:\\x\\a.zip.042", 42},
        {"a.zip.1234", 1234},
        {"a.zip.4294967295", 0xFFFFFFFFu},
        {"a.zip.4294967296", 0},
        {"a.zip.01", 0},
        {"a.zip.000", 0},
        {"a.zip.0a1", 0},
        {"a.zip", 0},
        {"dir.001\\a", 0},
        {"a", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.uExpected, handler.VolumeNumber(c.szPath)) << c.szPath;
}

// ---- split and binary split archives ----------------------------------------------

namespace {

// Writes the data into a new segmented archive in pieces of uPiece bytes and
// answers the name that closing gives.
CString WriteSegmented(const std::string& path, int iMode, ULONGLONG uVolumeSize,
                       const std::string& data, size_t uPiece) {
    CZipStorage storage;
    storage.Open(path.c_str(), iMode, uVolumeSize);
    for (size_t i = 0; i < data.size(); i += uPiece)
        WriteString(storage, data.substr(i, uPiece));
    return storage.Close(true);
}

} // namespace

TEST(ZipStorageSplit, RegularSplitVolumesAndTheLastName) {
    CTempFolder temp;
    const std::string path = temp.File("a.zip");
    const std::string data = Pattern(250);
    const CString szLast =
        WriteSegmented(path, CZipStorage::zipCreate | CZipStorage::zipModeSplit, 100, data, 33);
    EXPECT_EQ(0, szLast.CompareNoCase(path.c_str()));

    const std::string v1 = ReadWholeFile(temp.File("a.z01"));
    const std::string v2 = ReadWholeFile(temp.File("a.z02"));
    const std::string v3 = ReadWholeFile(path);
    EXPECT_EQ(100u, v1.size());
    EXPECT_EQ(100u, v2.size());
    EXPECT_EQ(kSplitSignature + data, v1 + v2 + v3);
    EXPECT_FALSE(FileExists(temp.File("a.z03")));
}

TEST(ZipStorageSplit, AWholePieceMovesToTheNextVolume) {
    CTempFolder temp;
    const std::string path = temp.File("a.zip");
    CZipStorage storage;
    storage.Open(path.c_str(), CZipStorage::zipCreate | CZipStorage::zipModeSplit, 50);
    WriteString(storage, Pattern(40));
    EXPECT_EQ(6u, storage.VolumeLeft());
    // A header of 20 bytes does not fit in the 6 left: it starts the next volume.
    WriteString(storage, Pattern(20, 1), true);
    EXPECT_EQ(1, storage.GetCurrentVolume());
    EXPECT_EQ(20u, storage.GetPosition()) << "split positions count within the volume";
    // A piece larger than a whole volume stretches the fresh volume it starts.
    WriteString(storage, Pattern(80, 2), true);
    EXPECT_EQ(2, storage.GetCurrentVolume());
    storage.Close(true);

    EXPECT_EQ(kSplitSignature + Pattern(40), ReadWholeFile(temp.File("a.z01")));
    EXPECT_EQ(Pattern(20, 1), ReadWholeFile(temp.File("a.z02")));
    EXPECT_EQ(Pattern(80, 2), ReadWholeFile(path));
}

TEST(ZipStorageSplit, BinarySplitCutsPiecesAtTheVolumeSize) {
    CTempFolder temp;
    const std::string path = temp.File("b.zip");
    const std::string data = Pattern(300);
    CZipStorage storage;
    storage.Open(path.c_str(),
                 CZipStorage::zipCreate | CZipStorage::zipModeSplit | CZipStorage::zipModeBinSplit,
                 128);
    EXPECT_TRUE(storage.IsBinarySplit());
    // At-once does not keep pieces whole in a binary split archive.
    WriteString(storage, data.substr(0, 120), true);
    WriteString(storage, data.substr(120), true);
    EXPECT_EQ(2, storage.GetCurrentVolume());
    EXPECT_EQ(304u, storage.GetPosition()) << "binary positions run across the volumes";
    const CString szLast = storage.Close(true);
    EXPECT_EQ(0, szLast.CompareNoCase(temp.File("b.zip.003").c_str())) << szLast.GetString();

    const std::string v1 = ReadWholeFile(temp.File("b.zip.001"));
    const std::string v2 = ReadWholeFile(temp.File("b.zip.002"));
    const std::string v3 = ReadWholeFile(temp.File("b.zip.003"));
    EXPECT_EQ(128u, v1.size());
    EXPECT_EQ(128u, v2.size());
    EXPECT_EQ(kSplitSignature + data, v1 + v2 + v3);
    EXPECT_FALSE(FileExists(path));
}

TEST(ZipStorageSplit, AnArchiveThatEndsOnItsFirstVolumeBecomesPlain) {
    const int modes[] = {CZipStorage::zipCreate | CZipStorage::zipModeSplit,
                         CZipStorage::zipCreate | CZipStorage::zipModeSplit |
                             CZipStorage::zipModeBinSplit};
    for (int iMode : modes) {
        SCOPED_TRACE(iMode);
        CTempFolder temp;
        const std::string path = temp.File("one.zip");
        CZipStorage storage;
        storage.Open(path.c_str(), iMode, 1000);
        WriteString(storage, "data");
        storage.FinishSegmentedArchive();
        EXPECT_FALSE(storage.IsSegmented());
        EXPECT_TRUE(storage.IsExisting());
        EXPECT_FALSE(storage.IsReadOnly());
        EXPECT_FALSE(FileExists(temp.File("one.z01")));
        EXPECT_FALSE(FileExists(temp.File("one.zip.001")));
        // It stays writable for the rewrite that drops the split signature.
        storage.Seek(0, false);
        WriteString(storage, "+more");
        storage.Close(true);
        EXPECT_EQ(kSplitSignature + "data+more", ReadWholeFile(path));
    }
}

TEST(ZipStorageSplit, ClosingAOneVolumeSplitArchiveGivesTheArchiveName) {
    CTempFolder temp;
    const std::string path = temp.File("c.zip");
    const CString szLast = WriteSegmented(
        path, CZipStorage::zipCreate | CZipStorage::zipModeSplit | CZipStorage::zipModeBinSplit,
        1000, "tiny", 4);
    EXPECT_EQ(0, szLast.CompareNoCase(path.c_str()));
    EXPECT_EQ(kSplitSignature + "tiny", ReadWholeFile(path));
    EXPECT_FALSE(FileExists(temp.File("c.zip.001")));
}

TEST(ZipStorageSplit, AFinishedMultiVolumeArchiveIsReadOnlyOnItsLastVolume) {
    CTempFolder temp;
    const std::string path = temp.File("m.zip");
    CZipStorage storage;
    storage.Open(path.c_str(), CZipStorage::zipCreate | CZipStorage::zipModeSplit, 64);
    WriteString(storage, Pattern(150));
    storage.FinishSegmentedArchive();
    EXPECT_TRUE(storage.IsExistingSegmented());
    EXPECT_TRUE(storage.IsReadOnly());
    EXPECT_EQ(2u, storage.m_uSplitData);
    EXPECT_EQ(2, storage.GetCurrentVolume());
    EXPECT_EQ(Pattern(150).substr(124), ReadString(storage, 26));
    EXPECT_EQ(CZipException::genericError, ZipErrorOf([&] { WriteString(storage, "x"); }));
    storage.Close(true);
    EXPECT_EQ(26u, ReadWholeFile(path).size());
}

TEST(ZipStorageSplit, ReadingARegularSplitArchiveAcrossVolumes) {
    CTempFolder temp;
    const std::string path = temp.File("r.zip");
    const std::string data = Pattern(250);
    WriteSegmented(path, CZipStorage::zipCreate | CZipStorage::zipModeSplit, 100, data, 250);

    CZipStorage storage;
    storage.Open(path.c_str(), CZipStorage::zipOpen, 0);
    EXPECT_FALSE(storage.IsSegmented());
    // The end record names volume 2 as the last one.
    storage.SetVolumeMode(2);
    EXPECT_TRUE(storage.IsSplit());
    EXPECT_TRUE(storage.IsReadOnly());
    EXPECT_EQ(2, storage.GetCurrentVolume());
    storage.ChangeVolume(0);
    storage.Seek(4);
    EXPECT_EQ(4u, storage.GetPosition());
    // A read that is not kept whole continues on the next volumes.
    EXPECT_EQ(data, ReadString(storage, 250));
    EXPECT_EQ(2, storage.GetCurrentVolume());

    // One that is kept whole must not cross a volume edge.
    storage.ChangeVolume(0);
    storage.Seek(90);
    std::string piece(20, '\0');
    EXPECT_EQ(CZipException::badZipFile, ZipErrorOf([&] { storage.Read(&piece[0], 20, true); }));
    // A whole piece that starts exactly at the edge reads from the next volume.
    storage.ChangeVolume(0);
    storage.Seek(100);
    EXPECT_EQ(data.substr(96, 20), ReadString(storage, 20, true));
    EXPECT_EQ(1, storage.GetCurrentVolume());
    // Past the last volume there is nothing more to read.
    storage.ChangeVolume(2);
    storage.Seek(54);
    EXPECT_EQ(CZipException::badZipFile, ZipErrorOf([&] { storage.Read(&piece[0], 1, false); }));
    const CString szLast = storage.Close(false, true);
    EXPECT_EQ(0, szLast.CompareNoCase(path.c_str())) << szLast.GetString();
}

TEST(ZipStorageSplit, ReadingABinarySplitArchiveAsOneStream) {
    CTempFolder temp;
    const std::string path = temp.File("s.zip");
    // The end signature straddles the edge between the second and third piece.
    const std::string data = Pattern(198) + kEndSignature + Pattern(52);
    WriteSegmented(
        path, CZipStorage::zipCreate | CZipStorage::zipModeSplit | CZipStorage::zipModeBinSplit,
        102, data, 254);
    const std::string stream = kSplitSignature + data;

    CZipStorage storage;
    storage.Open(temp.File("s.zip.003").c_str(),
                 CZipStorage::zipOpen | CZipStorage::zipModeSplit | CZipStorage::zipModeBinSplit,
                 0);
    EXPECT_TRUE(storage.IsBinarySplit());
    EXPECT_EQ(2, storage.GetCurrentVolume());
    EXPECT_EQ(102u, storage.GetCachedSize(0));
    EXPECT_EQ(102u, storage.GetCachedSize(1));
    EXPECT_EQ(54u, storage.GetCachedSize(2));
    EXPECT_EQ(CZipException::genericError, ZipErrorOf([&] { storage.GetCachedSize(3); }));

    EXPECT_EQ(202u, storage.FindSignature(kEndSignature, 65557));
    storage.SetVolumeMode(0);
    EXPECT_TRUE(storage.IsBinarySplit());

    storage.Seek(0);
    EXPECT_EQ(stream, ReadString(storage, static_cast<DWORD>(stream.size())));
    storage.Seek(150);
    EXPECT_EQ(1, storage.GetCurrentVolume());
    EXPECT_EQ(150u, storage.GetPosition());
    EXPECT_EQ(stream.substr(150, 10), ReadString(storage, 10, true));
    storage.SeekInBinary(-60);
    EXPECT_EQ(0, storage.GetCurrentVolume());
    EXPECT_EQ(100u, storage.GetPosition());
    EXPECT_EQ(stream.substr(100, 10), ReadString(storage, 10, true));
    EXPECT_EQ(CZipException::genericError, ZipErrorOf([&] { storage.SeekInBinary(-200); }));
    storage.Close(false);
}

TEST(ZipStorageSplit, OpeningBinaryPieces) {
    CTempFolder temp;
    const std::string path = temp.File("p.zip");
    ASSERT_TRUE(WriteWholeFile(temp.File("p.zip.01"), "x"));
    ASSERT_TRUE(WriteWholeFile(temp.File("p.zip.001"), "single"));
    ASSERT_TRUE(WriteWholeFile(temp.File("p.zip.70000"), "x"));
    const int iMode =
        CZipStorage::zipOpen | CZipStorage::zipModeSplit | CZipStorage::zipModeBinSplit;
    CZipStorage storage;
    EXPECT_EQ(CZipException::badZipFile,
              ZipErrorOf([&] { storage.Open(temp.File("p.zip.01").c_str(), iMode, 0); }));
    EXPECT_TRUE(storage.IsClosed()) << "a failed open leaves the storage closed";
    EXPECT_EQ(CZipException::tooManyVolumes,
              ZipErrorOf([&] { storage.Open(temp.File("p.zip.70000").c_str(), iMode, 0); }));
    // A missing later piece is the framework's file error.
    EXPECT_EQ(kOtherException,
              ZipErrorOf([&] { storage.Open(temp.File("p.zip.002").c_str(), iMode, 0); }));
    EXPECT_TRUE(storage.IsClosed());

    // The first piece alone is an ordinary archive.
    storage.Open(temp.File("p.zip.001").c_str(), iMode, 0);
    EXPECT_FALSE(storage.IsSegmented());
    EXPECT_EQ("single", ReadString(storage, 6));
    storage.Close(false);
}

// ---- failures ----------------------------------------------------------------------

TEST(ZipStorageErrors, OpeningFailures) {
    CTempFolder temp;
    const std::string path = temp.File("e.zip");
    CZipStorage storage;
    struct Case {
        int iMode;
        ULONGLONG uVolumeSize;
        int iExpected;
    } cases[] = {
        {CZipStorage::zipCreate | CZipStorage::zipModeSpan, 100, CZipException::noCallback},
        {CZipStorage::zipCreate | CZipStorage::zipModeSplit, 0, CZipException::noVolumeSize},
        {CZipStorage::zipCreate | CZipStorage::zipModeSplit | CZipStorage::zipModeBinSplit, 0,
         CZipException::noVolumeSize},
        // A missing archive is the framework's file error, not a ZIP error.
        {CZipStorage::zipOpen, 0, kOtherException},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.iMode);
        EXPECT_EQ(c.iExpected,
                  ZipErrorOf([&] { storage.Open(path.c_str(), c.iMode, c.uVolumeSize); }));
        EXPECT_TRUE(storage.IsClosed());
    }
    EXPECT_FALSE(FileExists(temp.File("e.z01")));
}

TEST(ZipStorageErrors, TheVolumeCountEndsAt65535) {
    CTempFolder temp;
    const std::string path = temp.File("v.zip");
    CZipStorage storage;
    storage.Open(path.c_str(), CZipStorage::zipCreate | CZipStorage::zipModeSplit, 10);
    WriteString(storage, Pattern(6));
    // Skip ahead instead of writing tens of thousands of volumes.
    storage.m_uCurrentVolume = 65533;
    WriteString(storage, Pattern(10));
    EXPECT_EQ(65534, storage.GetCurrentVolume());
    EXPECT_EQ(CZipException::tooManyVolumes, ZipErrorOf([&] { WriteString(storage, "x"); }));
    storage.Close(false);
}

TEST(ZipStorageErrors, AnExistingSegmentedArchiveRefusesWrites) {
    CTempFolder temp;
    const std::string path = temp.File("w.zip");
    ASSERT_TRUE(WriteWholeFile(path, "last volume"));
    CZipStorage storage;
    storage.Open(path.c_str(), CZipStorage::zipOpen, 0);
    storage.SetVolumeMode(1);
    EXPECT_TRUE(storage.IsReadOnly());
    EXPECT_EQ(CZipException::genericError, ZipErrorOf([&] { WriteString(storage, "x"); }));
    storage.Close(false);
    EXPECT_EQ("last volume", ReadWholeFile(path));
}

TEST(ZipStorageErrors, AMemoryArchiveNamingOtherVolumesIsDamaged) {
    // A damaged end record that names a later volume must not close the caller's
    // file to look for volume files on disk.
    MemArchive archive("archive bytes");
    EXPECT_EQ(CZipException::badZipFile, ZipErrorOf([&] { archive.storage.SetVolumeMode(3); }));
    EXPECT_FALSE(archive.file.IsClosed());
    EXPECT_FALSE(archive.storage.IsSegmented());
    EXPECT_EQ("arch", ReadString(archive.storage, 4));
}
