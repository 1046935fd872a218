// Tests of reading entries back: opening, reading and closing an entry, the
// CRC check, passwords, and extraction below a folder that refuses names
// which would leave it.
#include "native/gtest.h"

#include "ZipArchive.h"
#include "ZipException.h"
#include "ZipHandMadeArchive.h"
#include "ZipPlatform.h"
#include "ZipTestTools.h"
#include "framework/File.h"
#include "tests/support/TempFolder.h"
#include "ZipTestFixtures.h"

#include <windows.h>

#include <string>
#include <vector>

using namespace ZipTestFixtures;

namespace {

std::string ReadEntry(CZipArchive& zip, WORD uIndex, int* pClose = nullptr) {
    std::string bytes;
    if (!zip.OpenEntryForExtraction(uIndex))
        return "<refused>";
    char buffer[1000];
    DWORD uRead;
    while ((uRead = zip.ReadEntryData(buffer, sizeof buffer)) > 0)
        bytes.append(buffer, uRead);
    const int iClose = zip.CloseExtractedEntry();
    if (pClose)
        *pClose = iClose;
    return bytes;
}

std::string Text(size_t size) {
    std::string s;
    while (s.size() < size)
        s += "call recording " + std::to_string(s.size()) + "; ";
    s.resize(size);
    return s;
}

std::vector<HandMade::SEntry> SampleEntries() {
    return {
        {"empty.txt", "", false, "", false},
        {"stored.bin", Noise(3000, 1), false, "", false},
        {"calls/deflated.txt", Text(200000), true, "", false},
        {"calls/", "", false, "", false},
        {"calls/2021/june.zel", Noise(70000, 2), true, "", false},
    };
}

class ZipArchiveExtract : public ::testing::Test {
protected:
    std::string MakeArchive(const std::vector<HandMade::SEntry>& entries,
                            const std::string& before = "") {
        const std::string path = m_temp.File("test.zip");
        EXPECT_TRUE(WriteWholeFile(path, HandMade::Build(entries, before)));
        return path;
    }
    std::string Target() {
        const std::string folder = m_temp.File("out");
        CreateDirectoryA(folder.c_str(), nullptr);
        return folder;
    }
    CTempFolder m_temp;
};

TEST_F(ZipArchiveExtract, EveryEntryReadsBackWithItsBytesAndClosesOk) {
    const std::vector<HandMade::SEntry> entries = SampleEntries();
    for (const std::string& before : {std::string(), std::string("SFX stub bytes")}) {
        CZipArchive zip;
        ASSERT_TRUE(
            zip.OpenArchive(MakeArchive(entries, before).c_str(), CZipArchive::zipOpenReadOnly));
        ASSERT_EQ(zip.GetCount(), entries.size());
        for (WORD i = 0; i < zip.GetCount(); i++) {
            if (entries[i].name.back() == '/')
                continue;
            int iClose = 0;
            EXPECT_EQ(ReadEntry(zip, i, &iClose), entries[i].data)
                << entries[i].name << " before=" << before.size();
            EXPECT_EQ(iClose, CZipArchive::ceOk) << entries[i].name;
        }
        zip.CloseArchive();
    }
}

TEST_F(ZipArchiveExtract, OpeningIsRefusedWhileAnEntryIsOpenAndForBadIndexes) {
    CZipArchive zip;
    EXPECT_FALSE(zip.OpenEntryForExtraction(0)) << "closed archive";
    ASSERT_TRUE(
        zip.OpenArchive(MakeArchive(SampleEntries()).c_str(), CZipArchive::zipOpenReadOnly));
    EXPECT_FALSE(zip.OpenEntryForExtraction(5));
    EXPECT_FALSE(zip.OpenEntryForExtraction(0xFFFF));
    ASSERT_TRUE(zip.OpenEntryForExtraction(1));
    EXPECT_FALSE(zip.OpenEntryForExtraction(2));
    char buffer[100];
    EXPECT_EQ(zip.ReadEntryData(buffer, sizeof buffer), 100u);
    EXPECT_EQ(zip.CloseExtractedEntry(), CZipArchive::ceNotAllRead);
    EXPECT_EQ(zip.CloseExtractedEntry(), CZipArchive::ceNotOpen);
    EXPECT_EQ(zip.ReadEntryData(buffer, sizeof buffer), 0u);
    EXPECT_TRUE(zip.OpenEntryForExtraction(2));
    zip.CloseArchive();
}

TEST_F(ZipArchiveExtract, CrcMismatchRaises102AndLeavesNoFile) {
    const std::vector<HandMade::SEntry> entries = {
        {"good.txt", Text(5000), true, "", false},
        {"bad.txt", Text(5000), true, "", true},
        {"bad-stored.bin", Noise(100, 3), false, "", true},
    };
    CZipArchive zip;
    ASSERT_TRUE(zip.OpenArchive(MakeArchive(entries).c_str(), CZipArchive::zipOpenReadOnly));
    EXPECT_EQ(ZipErrorOf([&] { ReadEntry(zip, 1); }), CZipException::badCrc);
    // The entry is closed after the error: the next one opens.
    EXPECT_EQ(ReadEntry(zip, 0), entries[0].data);

    const std::string folder = Target();
    EXPECT_EQ(ZipErrorOf([&] { zip.ExtractEntry(2, folder.c_str()); }), CZipException::badCrc);
    EXPECT_FALSE(FileExists(folder + "\\bad-stored.bin"));

    // With the CRC check ignored the bytes pass as they are.
    zip.SetIgnoredConsistencyChecks(CZipCentralDir::checkCrc);
    EXPECT_EQ(ReadEntry(zip, 1), entries[1].data);
    zip.CloseArchive();
}

TEST_F(ZipArchiveExtract, PasswordsOfTraditionallyEncryptedEntries) {
    const std::string secret = "moxel-secret";
    const std::vector<HandMade::SEntry> entries = {
        {"sealed.txt", Text(40000), true, secret, false},
        {"sealed.bin", Noise(1000, 4), false, secret, false},
    };
    // Wrong passwords whose check byte differs (a 1 in 256 match would pass
    // the check by design of the format; these are chosen not to).
    std::vector<std::string> wrong;
    for (const std::string candidate : {"", "moxel-secreT", "x", "wrong password"})
        if (HandMade::DecryptedCheckByte(secret, candidate, HandMade::Crc(entries[0].data)) !=
                uint8_t(HandMade::Crc(entries[0].data) >> 24) &&
            HandMade::DecryptedCheckByte(secret, candidate, HandMade::Crc(entries[1].data)) !=
                uint8_t(HandMade::Crc(entries[1].data) >> 24))
            wrong.push_back(candidate);
    ASSERT_GE(wrong.size(), 3u);

    CZipArchive zip;
    ASSERT_TRUE(zip.OpenArchive(MakeArchive(entries).c_str(), CZipArchive::zipOpenReadOnly));
    for (WORD i = 0; i < 2; i++) {
        for (const std::string& password : wrong) {
            zip.SetPassword(password.c_str());
            EXPECT_EQ(ZipErrorOf([&] { zip.OpenEntryForExtraction(i); }),
                      CZipException::badPassword)
                << "password '" << password << "'";
        }
        zip.SetPassword(secret.c_str());
        int iClose = 0;
        EXPECT_EQ(ReadEntry(zip, i, &iClose), entries[i].data);
        EXPECT_EQ(iClose, CZipArchive::ceOk);
    }
    zip.CloseArchive();
}

TEST_F(ZipArchiveExtract, ExtractsAZipMadeEncryptedArchive) {
    const std::string source = m_temp.File("src");
    CreateDirectoryA(source.c_str(), nullptr);
    const std::string data = Text(30000) + Noise(3000, 9);
    ASSERT_TRUE(WriteWholeFile(source + "\\call.zel", data));
    ZipTools::SZipOptions options;
    options.password = "tool-pw";
    const std::string archive = m_temp.File("tool.zip");
    ASSERT_TRUE(ZipTools::MakeWithZip(source, {"call.zel"}, archive, options));

    CZipArchive zip;
    ASSERT_TRUE(zip.OpenArchive(archive.c_str(), CZipArchive::zipOpenReadOnly));
    ASSERT_EQ(zip.GetCount(), 1);
    zip.SetPassword("tool-pw");
    const std::string folder = Target();
    ASSERT_TRUE(zip.ExtractEntry(0, folder.c_str()));
    EXPECT_EQ(ReadWholeFile(folder + "\\call.zel"), data);
    zip.CloseArchive();
}

TEST_F(ZipArchiveExtract, ExtractsBelowTheFolderWithFoldersTimeAndAttributes) {
    const std::vector<HandMade::SEntry> entries = SampleEntries();
    CZipArchive zip;
    ASSERT_TRUE(zip.OpenArchive(MakeArchive(entries).c_str(), CZipArchive::zipOpenReadOnly));
    const std::string folder = Target() + "\\deeper\\than\\made";
    for (WORD i = 0; i < zip.GetCount(); i++)
        ASSERT_TRUE(zip.ExtractEntry(i, folder.c_str())) << entries[i].name;
    for (const HandMade::SEntry& e : entries) {
        const std::string path = Backslashed(folder + "\\" + e.name);
        if (e.name.back() == '/') {
            EXPECT_EQ(ZipPlatform::GetPathKind(path.c_str()), -1) << path;
            continue;
        }
        EXPECT_EQ(ReadWholeFile(path), e.data) << path;
        time_t tFile = 0;
        ASSERT_TRUE(ZipPlatform::ReadFileModTime(path.c_str(), tFile));
        EXPECT_EQ(tFile, zip.GetEntryInfo(0)->GetModificationTime()) << path;
    }

    // Without full paths the file lands in the folder itself, under a new
    // name when one is given.
    const std::string flat = m_temp.File("flat");
    ASSERT_TRUE(zip.ExtractEntry(4, flat.c_str(), false));
    EXPECT_EQ(ReadWholeFile(flat + "\\june.zel"), entries[4].data);
    ASSERT_TRUE(zip.ExtractEntry(4, flat.c_str(), true, "renamed\\copy.zel"));
    EXPECT_EQ(ReadWholeFile(flat + "\\renamed\\copy.zel"), entries[4].data);
    zip.CloseArchive();
}

TEST_F(ZipArchiveExtract, ATargetThatCannotBeOpenedIsLeftAlone) {
    CZipArchive zip;
    ASSERT_TRUE(
        zip.OpenArchive(MakeArchive(SampleEntries()).c_str(), CZipArchive::zipOpenReadOnly));
    const std::string folder = Target();
    const std::string target = folder + "\\stored.bin";
    ASSERT_TRUE(WriteWholeFile(target, "someone else's"));
    {
        CFile holder(target.c_str(), CFile::modeReadWrite | CFile::shareExclusive);
        bool bFileException = false;
        try {
            zip.ExtractEntry(1, folder.c_str());
        } catch (CFileException* e) {
            bFileException = true;
            e->Delete();
        }
        EXPECT_TRUE(bFileException);
    }
    EXPECT_EQ(ReadWholeFile(target), "someone else's");
    // The entry was closed: the archive extracts again.
    ASSERT_TRUE(zip.ExtractEntry(1, folder.c_str()));
    EXPECT_EQ(ReadWholeFile(target), SampleEntries()[1].data);
    zip.CloseArchive();
}

TEST_F(ZipArchiveExtract, NamesThatWouldLeaveTheFolderAreRefused) {
    const char* hostile[] = {
        "../x",         "/etc/x",  "C:\\x",   "C:x", "a/../../x",  "\\x",
        "a\\..\\..\\x", "a/.. /x", "a/.../x", "..",  "a/b:stream",
    };
    std::vector<HandMade::SEntry> entries;
    for (const char* name : hostile)
        entries.push_back({name, "escaped", false, "", false});
    entries.push_back({"a/fine..name.txt", "inside", false, "", false});

    const std::string root = m_temp.File("deep");
    CreateDirectoryA(root.c_str(), nullptr);
    const std::string folder = root + "\\target";
    CZipArchive zip;
    ASSERT_TRUE(zip.OpenArchive(MakeArchive(entries).c_str(), CZipArchive::zipOpenReadOnly));
    ASSERT_EQ(zip.GetCount(), entries.size());
    for (WORD i = 0; i + 1 < zip.GetCount(); i++)
        EXPECT_FALSE(zip.ExtractEntry(i, folder.c_str())) << hostile[i];
    // The same names given as the new name are refused too.
    for (const char* name : hostile)
        EXPECT_FALSE(zip.ExtractEntry(WORD(entries.size() - 1), folder.c_str(), true, name))
            << name;
    EXPECT_FALSE(FileExists(root + "\\x"));
    EXPECT_FALSE(FileExists(m_temp.File("x")));
    EXPECT_EQ(ZipPlatform::GetPathKind(folder.c_str()), 0) << "nothing was made for a refused name";

    ASSERT_TRUE(zip.ExtractEntry(WORD(entries.size() - 1), folder.c_str()));
    EXPECT_EQ(ReadWholeFile(folder + "\\a\\fine..name.txt"), "inside");
    zip.CloseArchive();
}

} // namespace
