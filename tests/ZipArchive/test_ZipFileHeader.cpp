// Tests of the entry header: the local and central records it writes (golden
// bytes), data descriptors, length limits, attributes, DOS times, Zip64 values
// and the checks made when reading.
#include "native/gtest.h"

#include "ZipCompatibility.h"
#include "ZipRecordBytes.h"

#include <windows.h>

#include <string>

using namespace ZipRecordBytes;

namespace {

// ---- Records written -------------------------------------------------------------

struct SAddedFile {
    const char* what;
    const char* name;       // as the archiver hands it over
    const char* storedName; // as the records carry it
    WORD method;
    std::string data; // the entry's data as it goes to the archive
    DWORD uncomprSize;
};

TEST(ZipFileHeaderTest, WritesTheRecordsOfAFileTheArchiverAddsByteForByte) {
    const SAddedFile files[] = {
        {"deflated, in a folder", "Calls\\2024\\a.zel", "Calls/2024/a.zel", 8, "DEFLATED", 100},
        {"stored, under 5 bytes", "b.txt", "b.txt", 0, "abcd", 4},
    };
    for (const SAddedFile& f : files) {
        SCOPED_TRACE(f.what);
        CMemArchive archive;
        archive.m_storage.Write("12345", 5, false); // what came before this entry

        CZipFileHeader header;
        header.SetFileName(f.name);
        header.m_uMethod = f.method;
        header.m_uModTime = 0x6E1F;
        header.m_uModDate = 0x5865;
        ASSERT_TRUE(header.SetSystemAttributes(FILE_ATTRIBUTE_ARCHIVE));
        header.m_uLocalComprSize = f.method == 0 ? f.uncomprSize : 0;
        header.m_uLocalUncomprSize = f.uncomprSize;
        header.PrepareForWriting(-1, false);
        header.WriteLocalHeader(&archive.m_storage);
        archive.m_storage.Write(f.data.data(), DWORD(f.data.size()), false);
        header.m_uCrc32 = 0x12345678;
        header.m_uComprSize = DWORD(f.data.size());
        header.m_uUncomprSize = f.uncomprSize;
        header.OnDataWritten(&archive.m_storage);
        DWORD uCentralSize = header.WriteCentralHeader(&archive.m_storage);

        const std::string name = f.storedName;
        const std::string local = Hex("50 4B 03 04 14 00 00 00") + Le16(f.method) +
                                  Hex("1F 6E 65 58") + Hex("78 56 34 12") +
                                  Le32(DWORD(f.data.size())) + Le32(f.uncomprSize) +
                                  Le16(unsigned(name.size())) + Hex("00 00") + name;
        const std::string central = Hex("50 4B 01 02 14 00 14 00 00 00") + Le16(f.method) +
                                    Hex("1F 6E 65 58") + Hex("78 56 34 12") +
                                    Le32(DWORD(f.data.size())) + Le32(f.uncomprSize) +
                                    Le16(unsigned(name.size())) + Hex("00 00 00 00 00 00 00 00") +
                                    Hex("20 00 B4 81") + Hex("05 00 00 00") + name;
        EXPECT_EQ(archive.Written(), "12345" + local + f.data + central);
        EXPECT_EQ(uCentralSize, DWORD(central.size()));
        EXPECT_EQ(header.m_uOffset, 5u);
        EXPECT_EQ(header.GetLocalSize(true), DWORD(local.size()));
        EXPECT_EQ(header.GetLocalSize(false), DWORD(local.size()));
        EXPECT_EQ(header.GetCentralSize(), DWORD(central.size()));
        EXPECT_EQ(header.GetFileName(), CString(f.name)); // backslashes again
    }
}

struct SDescriptorCase {
    const char* what;
    BYTE encryption;
    bool segmented;
    WORD expectedFlag;
    std::string expectedDescriptor;
};

TEST(ZipFileHeaderTest, DataDescriptorFormsFollowEncryptionAndSegmentation) {
    const std::string values = Hex("78 56 34 12") + Le32(40) + Le32(28);
    const SDescriptorCase cases[] = {
        {"encrypted: flag 9, descriptor with signature", CZipFileHeader::encStandard, false, 0x0009,
         Hex("50 4B 07 08") + values},
        {"segmented, plain storage: descriptor without signature", CZipFileHeader::encNone, true,
         0x0008, values},
    };
    for (const SDescriptorCase& c : cases) {
        SCOPED_TRACE(c.what);
        CMemArchive archive;
        CZipFileHeader header;
        header.SetFileName("x.bin");
        header.m_uEncryptionMethod = c.encryption;
        header.m_uLocalComprSize = 7;
        header.m_uLocalUncomprSize = 28;
        header.PrepareForWriting(6, c.segmented);
        EXPECT_EQ(header.m_uFlag, c.expectedFlag);
        EXPECT_EQ(header.GetDataDescriptorSize(true), 16u);
        EXPECT_EQ(header.GetDataDescriptorSize(false), 12u);
        header.WriteLocalHeader(&archive.m_storage);
        header.m_uCrc32 = 0x12345678;
        header.m_uComprSize = 40;
        header.m_uUncomprSize = 28;
        header.OnDataWritten(&archive.m_storage);

        const std::string written = archive.Written();
        ASSERT_EQ(written.size(), 30 + 5 + c.expectedDescriptor.size());
        EXPECT_EQ(written.substr(6, 2), Le16(c.expectedFlag));
        EXPECT_EQ(written.substr(14, 12), std::string(12, '\0')); // CRC and sizes follow the data
        EXPECT_EQ(written.substr(35), c.expectedDescriptor);

        // Reading the descriptor back agrees with the header, and not with another CRC.
        CMemArchive reader(c.expectedDescriptor + c.expectedDescriptor);
        EXPECT_TRUE(header.VerifyDataDescriptor(&reader.m_storage));
        header.m_uCrc32 = 0x12345679;
        EXPECT_FALSE(header.VerifyDataDescriptor(&reader.m_storage));
    }
}

TEST(ZipFileHeaderTest, LevelSetsTheDeflateFlagBitsAndReadsBack) {
    struct {
        WORD method;
        int level;
        WORD flag;
        int readBack;
    } const cases[] = {
        {8, 1, 0x6, 1},   {8, 2, 0x4, 2},  {8, 8, 0x2, 9}, {8, 9, 0x2, 9},
        {8, -1, 0x0, -1}, {8, 6, 0x0, -1}, {0, 9, 0x0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.level);
        CZipFileHeader header;
        header.SetFileName("f");
        header.m_uMethod = c.method;
        header.m_uFlag = 0xFFFF & ~CZipFileHeader::flUtf8; // stale bits are cleared
        header.PrepareForWriting(c.level, false);
        EXPECT_EQ(header.m_uFlag, c.flag);
        EXPECT_EQ(header.GetCompressionLevel(), c.readBack);
        EXPECT_EQ(header.m_uVersionNeeded, 20);
        EXPECT_EQ(header.m_uVersionMadeBy, 20);
    }
    CZipFileHeader folder;
    folder.SetFileName("d\\");
    folder.SetSystemAttributes(FILE_ATTRIBUTE_DIRECTORY);
    folder.PrepareForWriting(-1, false);
    EXPECT_EQ(folder.m_uVersionNeeded, 10);
}

TEST(ZipFileHeaderTest, NamesCommentsAndExtraFieldsOverTheirLengthFieldsRaise111) {
    struct {
        const char* what;
        size_t nameSize;
        size_t commentSize;
        DWORD localExtraData; // data bytes of one local record
        int expected;
    } const cases[] = {
        {"name of 65,535 bytes", 65535, 0, 0, 0},
        {"name of 65,536 bytes", 65536, 0, 0, CZipException::tooLongData},
        {"comment of 65,536 bytes", 1, 65536, 0, CZipException::tooLongData},
        {"local extra field of 65,535 bytes", 1, 0, 65531, 0},
        {"local extra field of 65,536 bytes", 1, 0, 65532, CZipException::tooLongData},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CMemArchive archive;
        CZipFileHeader header;
        header.SetFileName(std::string(c.nameSize, 'n').c_str());
        header.SetComment(std::string(c.commentSize, 'c').c_str());
        if (c.localExtraData) {
            CZipExtraData* pRecord = new CZipExtraData(0x5455);
            pRecord->m_data.Allocate(c.localExtraData, true);
            header.m_aLocalExtraData.Add(pRecord);
        }
        header.PrepareForWriting(-1, false);
        EXPECT_EQ(ZipErrorOf([&] {
                      header.WriteLocalHeader(&archive.m_storage);
                      header.WriteCentralHeader(&archive.m_storage);
                  }),
                  c.expected);
        if (c.expected == 0) {
            EXPECT_EQ(archive.Written().size(),
                      30 + 46 + 2 * c.nameSize + (c.localExtraData ? c.localExtraData + 4 : 0));
        }
    }
}

// ---- Attributes and times ------------------------------------------------------------

TEST(ZipFileHeaderTest, SystemAttributesGoIntoBothHalvesOfTheExternalAttributes) {
    struct {
        int host;
        DWORD attr;
        DWORD external;
    } const cases[] = {
        {0, FILE_ATTRIBUTE_ARCHIVE, 0x81B40020},
        {0, FILE_ATTRIBUTE_DIRECTORY, 0x41FD0010},
        {0, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY, 0x81240021},
        {0, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN, 0x80900022},
        {3, FILE_ATTRIBUTE_ARCHIVE, 0x81B40000},
        {3, FILE_ATTRIBUTE_DIRECTORY, 0x41FD0010},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "host " << c.host << " attr " << c.attr);
        CZipFileHeader header(c.host);
        header.SetFileName("x");
        EXPECT_TRUE(header.SetSystemAttributes(c.attr));
        EXPECT_EQ(header.m_uExternalAttr, c.external);
        EXPECT_EQ(header.GetSystemAttributes(), c.attr);
    }
}

TEST(ZipFileHeaderTest, AttributesOfOtherHostsConvertToOurs) {
    struct {
        int host;
        DWORD external;
        const char* name;
        DWORD expected;
    } const cases[] = {
        {3, 0x81ED0000, "run.sh", 0x00}, // owner may execute
        {3, 0x81A40000, "a.txt", 0x20},  // 0644
        {3, 0x81240000, "ro.txt", 0x21}, // 0444: read-only
        {3, 0x80800000, "w.txt", 0x22},  // 0200: not readable = hidden
        {3, 0x41ED0010, "dir/", 0x10},
        {3, 0x00000000, "dir/", 0x10}, // no mode: the separator decides
        {0, 0x00000000, "dir\\", 0x10},
        {0, 0x81B40020, "f.txt", 0x20},
        {7, 0x000000FF, "mac", 0x11},   // directory and read-only bits only
        {11, 0x00000027, "ntfs", 0x27}, // passed through
        {30, 0x12345678, "odd/", 0x10}, // an unknown host: by the name only
        {30, 0x12345678, "odd", 0x20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CZipFileHeader header(c.host);
        header.SetFileName(c.name);
        header.m_uExternalAttr = c.external;
        EXPECT_EQ(header.GetSystemAttributes(), c.expected);
        EXPECT_EQ(header.IsDirectory(), (c.expected & 0x10) != 0);
    }

    // Moving a header to the Unix host carries its attributes along.
    CZipFileHeader header;
    header.SetFileName("f.txt");
    header.SetSystemAttributes(FILE_ATTRIBUTE_ARCHIVE);
    header.SetSystemCompatibility(ZipCompatibility::zcUnix, true);
    EXPECT_EQ(header.m_uExternalAttr, 0x81B40000u);
    header.SetSystemCompatibility(ZipCompatibility::zcDosFat, false);
    EXPECT_EQ(header.m_uExternalAttr, 0x81B40000u);
    EXPECT_EQ(ZipErrorOf([&] { header.SetSystemCompatibility(5, true); }),
              CZipException::platfNotSupp);
}

time_t LocalTime(WORD y, WORD mo, WORD d, WORD h, WORD mi, WORD s) {
    SYSTEMTIME local = {y, mo, 0, d, h, mi, s, 0}, utc;
    FILETIME ft;
    TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc);
    SystemTimeToFileTime(&utc, &ft);
    LONGLONG ticks = LONGLONG((ULONGLONG(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
    return time_t((ticks - 116444736000000000LL) / 10000000LL);
}

SYSTEMTIME LocalOf(time_t t) {
    LONGLONG ticks = LONGLONG(t) * 10000000LL + 116444736000000000LL;
    FILETIME ft = {DWORD(ticks & 0xFFFFFFFF), DWORD(ULONGLONG(ticks) >> 32)};
    SYSTEMTIME utc, local;
    FileTimeToSystemTime(&ft, &utc);
    SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local);
    return local;
}

TEST(ZipFileHeaderTest, DosTimesAreLocalWithEvenSecondsAndYearsFrom1980) {
    struct {
        const char* what;
        time_t time;
        WORD date;
        WORD dosTime;
    } const cases[] = {
        {"2024-03-05 13:45:31", LocalTime(2024, 3, 5, 13, 45, 31), WORD(5 | (3 << 5) | (44 << 9)),
         WORD(15 | (45 << 5) | (13 << 11))},
        {"1981-01-01 00:00:00", LocalTime(1981, 1, 1, 0, 0, 0), WORD(1 | (1 << 5) | (1 << 9)), 0},
        {"1980-12-31 23:59:58", LocalTime(1980, 12, 31, 23, 59, 58), WORD(31 | (12 << 5)),
         WORD(29 | (59 << 5) | (23 << 11))},
        {"1979-06-01 12:00:00", LocalTime(1979, 6, 1, 12, 0, 0), WORD(1 | (6 << 5)),
         WORD(12 << 11)},
        {"1965-02-10 08:30:00", LocalTime(1965, 2, 10, 8, 30, 0), WORD(10 | (2 << 5)),
         WORD((30 << 5) | (8 << 11))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CZipFileHeader header;
        header.SetModificationTime(c.time);
        EXPECT_EQ(header.m_uModDate, c.date);
        EXPECT_EQ(header.m_uModTime, c.dosTime);
        EXPECT_TRUE(header.IsModificationTimeSet());
    }

    CZipFileHeader header;
    header.SetModificationTime(LocalTime(2024, 3, 5, 13, 45, 31));
    EXPECT_EQ(header.GetModificationTime(), LocalTime(2024, 3, 5, 13, 45, 30));

    // An unset time and date read as the calendar carries them: day 0 of month
    // 0 of 1980 is the last day of November 1979.
    CZipFileHeader unset;
    EXPECT_FALSE(unset.IsModificationTimeSet());
    SYSTEMTIME st = LocalOf(unset.GetModificationTime());
    EXPECT_EQ(st.wYear, 1979);
    EXPECT_EQ(st.wMonth, 11);
    EXPECT_EQ(st.wDay, 30);
    EXPECT_EQ(st.wHour, 0);
}

TEST(ZipFileHeaderTest, SaturatedSizesOrOffsetNeedZip64AndRaise121) {
    struct {
        const char* what;
        DWORD comprSize, uncomprSize, offset;
        int expected;
    } const cases[] = {
        {"compressed size", 0xFFFFFFFF, 20, 0, CZipException::noZip64},
        {"uncompressed size", 10, 0xFFFFFFFF, 0, CZipException::noZip64},
        {"offset", 10, 20, 0xFFFFFFFF, CZipException::noZip64},
        {"largest plain values", 0xFFFFFFFE, 0xFFFFFFFE, 0xFFFFFFFE, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SCentral record;
        record.comprSize = c.comprSize;
        record.uncomprSize = c.uncomprSize;
        record.offset = c.offset;
        record.extra = Record(CZipExtraField::idZip64, std::string(8, '\0'));
        CMemArchive archive(record.Bytes());
        CZipFileHeader header(&archive.m_dir);
        EXPECT_EQ(ZipErrorOf([&] { EXPECT_TRUE(header.ReadCentralHeader()); }), c.expected);
        if (c.expected == 0) {
            EXPECT_EQ(header.m_uComprSize, c.comprSize);
            EXPECT_EQ(header.m_uOffset, c.offset);
            EXPECT_FALSE(header.m_aCentralExtraData.HasHeader(CZipExtraField::idZip64));
        }
    }
}

TEST(ZipFileHeaderTest, ReadingFailsOnABadSignatureAnUnparsableExtraFieldOrShortBytes) {
    SCentral record;
    record.name = "a.txt";
    record.flag = 0x0001;

    std::string badSignature = record.Bytes();
    badSignature[2] = 3;
    record.extra = Record(0x5455, "abc") + Hex("0A 00 09 00") + "short";
    std::string badExtra = record.Bytes();
    record.extra.clear();
    std::string truncated = record.Bytes().substr(0, 46 + 3);

    {
        CMemArchive archive(badSignature);
        CZipFileHeader header(&archive.m_dir);
        EXPECT_FALSE(header.ReadCentralHeader());
    }
    {
        CMemArchive archive(badExtra);
        CZipFileHeader header(&archive.m_dir);
        EXPECT_FALSE(header.ReadCentralHeader());
    }
    {
        CMemArchive archive(truncated);
        CZipFileHeader header(&archive.m_dir);
        EXPECT_EQ(ZipErrorOf([&] { header.ReadCentralHeader(); }), CZipException::badZipFile);
    }
    {
        // Without the signature (the caller consumed it) the fields still line up.
        record.name = "plain.txt";
        CMemArchive archive(record.Bytes().substr(4));
        CZipFileHeader header(&archive.m_dir);
        ASSERT_TRUE(header.ReadCentralHeader(false));
        EXPECT_EQ(std::string(header.GetFileName()), "plain.txt");
        EXPECT_TRUE(header.IsEncrypted());
        EXPECT_EQ(header.m_uCrc32, 0x11223344u);
        EXPECT_EQ(header.m_uUncomprSize, 20u);
    }
}

// ---- Verifying local headers ----------------------------------------------------------

TEST(ZipFileHeaderTest, LocalHeaderIsCheckedAgainstTheCentralOneUnlessMasked) {
    const std::string extra = Record(0x5455, "\x01"
                                             "abcd");
    // flags 0, method 8, CRC, sizes 10 / 20, name, one extra record
    auto local = [&](WORD flag, WORD method, DWORD crc, DWORD compr, DWORD uncompr) {
        return Hex("50 4B 03 04 14 00") + Le16(flag) + Le16(method) + Hex("1F 6E 65 58") +
               Le32(crc) + Le32(compr) + Le32(uncompr) + Le16(5) + Le16(unsigned(extra.size())) +
               "a.txt" + extra;
    };
    struct {
        const char* what;
        std::string bytes;
        DWORD mask;
        bool expected;
    } const cases[] = {
        {"identical", local(0, 8, 0x11223344, 10, 20), 0, true},
        {"local compressed size 0 is accepted", local(0, 8, 0x11223344, 0, 20), 0, true},
        {"other method", local(0, 0, 0x11223344, 10, 20), 0, false},
        {"other method, masked", local(0, 0, 0x11223344, 10, 20), 0x02, true},
        {"other CRC", local(0, 8, 0x11223345, 10, 20), 0, false},
        {"other CRC, CRC check masked", local(0, 8, 0x11223345, 10, 20), 0x08, true},
        {"other size, size check masked", local(0, 8, 0x11223344, 11, 20), 0x04, true},
        {"other uncompressed size", local(0, 8, 0x11223344, 10, 21), 0, false},
        {"other flags", local(1, 8, 0x11223344, 10, 20), 0, false},
        {"other flags, masked", local(1, 8, 0x11223344, 10, 20), 0x10, true},
        {"high flag bits do not count", local(0x0800, 8, 0x11223344, 10, 20), 0, true},
        {"bad signature", "PK\x05\x06" + local(0, 8, 0x11223344, 10, 20).substr(4), 0, false},
        {"extra field that does not parse",
         local(0, 8, 0x11223344, 10, 20).substr(0, 35) + Hex("01 00 09 00 ab"), 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CMemArchive archive("xyz" + c.bytes + "DATA");
        CZipFileHeader header(&archive.m_dir);
        header.m_uCrc32 = 0x11223344;
        header.m_uComprSize = 10;
        header.m_uUncomprSize = 20;
        header.m_uOffset = 3;
        EXPECT_EQ(header.VerifyLocalHeader(&archive.m_dir, c.mask), c.expected);
        if (c.expected) {
            EXPECT_EQ(header.GetLocalSize(true), DWORD(30 + 5 + extra.size()));
            EXPECT_EQ(header.m_aLocalExtraData.GetTotalSize(), DWORD(extra.size()));
            char data[4];
            archive.m_storage.Read(data, 4, true); // the data follows
            EXPECT_EQ(std::string(data, 4), "DATA");
        }
    }

    // An encrypted entry whose local header says method 99 is WinZip AES.
    CMemArchive archive(local(1, 99, 0x11223344, 10, 20));
    CZipFileHeader header(&archive.m_dir);
    header.m_uFlag = 1;
    header.m_uEncryptionMethod = CZipFileHeader::encStandard;
    EXPECT_EQ(ZipErrorOf([&] { header.VerifyLocalHeader(&archive.m_dir, 0); }),
              CZipException::noAES);
}

TEST(ZipFileHeaderTest, LocalSizesInAZip64RecordAsZipWritesToAPipe) {
    // zip - saturates the local sizes and puts the real ones (uncompressed
    // first) in a Zip64 record; with a data descriptor the sizes there are 8 bytes.
    auto local = [](WORD flag, const std::string& zip64) {
        const std::string extra = Record(CZipExtraField::idZip64, zip64);
        return Hex("50 4B 03 04 2D 00") + Le16(flag) + Hex("08 00 1F 6E 65 58") + Le32(0x11223344) +
               Hex("FF FF FF FF FF FF FF FF") + Le16(1) + Le16(unsigned(extra.size())) + "-" +
               extra;
    };
    const std::string sizes = Le32(20) + Le32(0) + Le32(10) + Le32(0);
    struct {
        const char* what;
        std::string bytes;
        bool expected;
        int error;
    } const cases[] = {
        {"sizes in the Zip64 record", local(0, sizes), true, 0},
        {"other sizes in the Zip64 record", local(0, Le32(21) + Le32(0) + Le32(10) + Le32(0)),
         false, 0},
        {"record too short for both sizes", local(0, Le32(20) + Le32(0)), false, 0},
        {"a size beyond 32 bits", local(0, Le32(20) + Le32(1) + Le32(10) + Le32(0)), false,
         CZipException::noZip64},
        {"data descriptor follows", local(8, std::string(16, '\0')), true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CMemArchive archive(c.bytes);
        CZipFileHeader header(&archive.m_dir);
        header.m_uFlag = WORD(BYTE(c.bytes[6]));
        header.m_uCrc32 = 0x11223344;
        header.m_uComprSize = 10;
        header.m_uUncomprSize = 20;
        bool bResult = false;
        EXPECT_EQ(ZipErrorOf([&] { bResult = header.VerifyLocalHeader(&archive.m_dir, 0); }),
                  c.error);
        EXPECT_EQ(bResult, c.expected);
    }

    // The Zip64 form of the data descriptor, with and without its signature.
    CZipFileHeader header;
    header.m_uFlag = CZipFileHeader::flDataDescriptor;
    header.m_aLocalExtraData.Add(new CZipExtraData(CZipExtraField::idZip64));
    header.m_uCrc32 = 0x11223344;
    header.m_uComprSize = 10;
    header.m_uUncomprSize = 20;
    const std::string descriptor = Le32(0x11223344) + Le32(10) + Le32(0) + Le32(20) + Le32(0);
    CMemArchive reader(Hex("50 4B 07 08") + descriptor + descriptor + Le32(0x11223344) + Le32(10) +
                       Le32(1) + Le32(20) + Le32(0));
    EXPECT_TRUE(header.VerifyDataDescriptor(&reader.m_storage));
    EXPECT_TRUE(header.VerifyDataDescriptor(&reader.m_storage));
    EXPECT_FALSE(header.VerifyDataDescriptor(&reader.m_storage));
}

TEST(ZipFileHeaderTest, CopiesAreDeepAndSizesAccountForTheEncryptionHeader) {
    CZipFileHeader header;
    header.SetFileName("a.txt");
    header.SetComment("c");
    header.m_aCentralExtraData.Add(new CZipExtraData(0x5455));
    header.m_uEncryptionMethod = CZipFileHeader::encStandard;
    header.m_uComprSize = 112;
    header.m_uUncomprSize = 100;

    CZipFileHeader copy;
    copy = header;
    copy.SetFileName("b.txt");
    copy.m_aCentralExtraData[0]->m_data.Allocate(3, true);
    EXPECT_EQ(std::string(header.GetFileName()), "a.txt");
    EXPECT_EQ(header.m_aCentralExtraData[0]->GetTotalSize(), 4u);
    EXPECT_EQ(std::string(copy.GetComment()), "c");

    EXPECT_EQ(header.GetEncryptionHeaderSize(), 12u);
    EXPECT_EQ(header.GetDataSize(false), 100u);
    EXPECT_EQ(header.GetDataSize(true), 124u);
    EXPECT_TRUE(header.CompressionEfficient());
    header.m_uComprSize = 113;
    EXPECT_FALSE(header.CompressionEfficient());
    header.m_uEncryptionMethod = CZipFileHeader::encNone;
    EXPECT_EQ(header.GetEncryptionHeaderSize(), 0u);
    EXPECT_EQ(header.GetDataSize(false), 113u);
    EXPECT_EQ(header.GetCentralSize(), DWORD(46 + 5 + 1 + 4));

    CZipFileHeader empty;
    EXPECT_TRUE(empty.GetFileName().IsEmpty());
    EXPECT_TRUE(empty.GetComment().IsEmpty());
    EXPECT_EQ(empty.GetCentralSize(), 46u);
}

} // namespace
