// Interoperation with the real archivers: every archive our classes write is
// tested by unzip, zipinfo, Python's zipfile, 7-Zip and bsdtar, and archives
// those tools make are read back by our classes byte for byte.
#include "native/gtest.h"

#include "ZipArchive.h"
#include "ZipException.h"
#include "ZipTestArchives.h"
#include "ZipTestFixtures.h"
#include "ZipTestTools.h"
#include "tests/support/RecordFileHelpers.h"
#include "tests/support/TempFolder.h"

#include "native/zlib.h"

#include <windows.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

using namespace ZipTestArchives;
using namespace ZipTestFixtures;
using namespace ZipTools;

namespace {

// One file or folder to archive; the name in UTF-8 with forward slashes.
struct SSource {
    std::string name;
    std::string bytes;
    bool directory;
};

const char kMueller[] = u8"M\u00fcller.zel";

std::vector<SSource> StandardSources() {
    return {
        {"call-0001.zel", TextBytes(200000, 1), false},
        {"noise.bin", NoiseBytes(140000, 2), false}, // beyond two 65,536-byte blocks
        {"tiny.txt", "abc", false},                  // stored: under 5 bytes
        {"empty.dat", "", false},
        {kMueller, TextBytes(5000, 3), false},
        {"sub", "", true},
        {"sub/inner.zel", TextBytes(3000, 4), false},
    };
}

std::string WindowsName(const std::string& utf8Name) {
    return Backslashed(AnsiFromUtf8(utf8Name));
}

void WriteSources(const std::string& folder, const std::vector<SSource>& sources) {
    CreateDirectoryA(folder.c_str(), nullptr);
    for (const SSource& source : sources) {
        const std::string path = folder + WindowsName(source.name);
        const size_t slash = path.rfind('\\');
        if (slash > folder.size()) // a file below a folder of its own
            CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
        if (source.directory)
            ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
        else
            ASSERT_TRUE(WriteWholeFile(path, source.bytes)) << path;
    }
}

std::vector<std::string> HostNames(const std::vector<SSource>& sources) {
    std::vector<std::string> names;
    for (const SSource& source : sources)
        if (!source.directory)
            names.push_back(source.name);
    return names;
}

std::string Describe(CException* e) {
    char text[512] = "";
    e->GetErrorMessage(text, sizeof text);
    const CZipException* zip = dynamic_cast<CZipException*>(e);
    return (zip ? "CZipException " + std::to_string(zip->m_iCause) + ": " : std::string()) + text;
}

// Adds the sources below folder to an open archive; "" when all went in.
std::string AddSources(CZipArchive& zip, const std::string& folder,
                       const std::vector<SSource>& sources, int level) {
    std::string failures;
    try {
        for (const SSource& source : sources) {
            const std::string path = folder + WindowsName(source.name);
            if (!zip.AddFileFromDisk(path.c_str(), AnsiFromUtf8(source.name).c_str(), level))
                failures += "add refused: " + source.name + "\n";
        }
    } catch (CException* e) {
        failures += "add raised " + Describe(e) + "\n";
        e->Delete();
    }
    return failures;
}

// Writes a new archive of the sources with our classes; "" when it worked.
std::string WriteOurArchive(const std::string& archive, const std::string& folder,
                            const std::vector<SSource>& sources, int level,
                            const std::string& password, int mode = CZipArchive::zipCreate,
                            ULONGLONG volumeSize = 0) {
    CZipArchive zip;
    std::string failures;
    try {
        if (!zip.OpenArchive(archive.c_str(), mode, volumeSize))
            return "create refused";
        if (!password.empty() && !zip.SetPassword(password.c_str()))
            failures += "password refused\n";
        failures += AddSources(zip, folder, sources, level);
        zip.CloseArchive();
    } catch (CException* e) {
        failures += "raised " + Describe(e) + "\n";
        e->Delete();
        zip.CloseArchive(CZipArchive::afAfterException);
    }
    return failures;
}

// Opens an existing archive with our classes and adds the sources; "" when
// it worked.
std::string AppendWithOurClasses(const std::string& archive, const std::string& folder,
                                 const std::vector<SSource>& sources) {
    CZipArchive zip;
    std::string failures;
    try {
        if (!zip.OpenArchive(archive.c_str()))
            return "open refused";
        failures += AddSources(zip, folder, sources, -1);
        zip.CloseArchive();
    } catch (CException* e) {
        failures += "raised " + Describe(e) + "\n";
        e->Delete();
        zip.CloseArchive(CZipArchive::afAfterException);
    }
    return failures;
}

std::string NamesOf(const std::vector<SPythonEntry>& entries) {
    std::string names;
    for (const SPythonEntry& entry : entries)
        names += "\"" + entry.name + "\" ";
    return names;
}

// What Python's zipfile lists must be the sources, byte counts and CRCs included.
// Without matchNames the entries are matched by size and CRC: Python decodes
// a name without the UTF-8 flag as code page 437, whatever tool wrote it.
void ExpectPythonSees(const std::string& archive, const std::vector<SSource>& sources,
                      const std::string& password, bool matchNames = true) {
    const SPythonListing listing = PythonListing(archive, password);
    ASSERT_TRUE(listing.opened) << listing.error;
    EXPECT_TRUE(listing.tested && listing.firstBad.empty()) << listing.firstBad << listing.error;
    std::map<std::string, SPythonEntry> byName;
    for (const SPythonEntry& entry : listing.entries)
        byName[matchNames ? entry.name
                          : std::to_string(entry.size) + "/" + std::to_string(entry.crc)] = entry;
    ASSERT_EQ(sources.size(), listing.entries.size());
    for (const SSource& source : sources) {
        const std::string name = !matchNames ? std::to_string(source.bytes.size()) + "/" +
                                                   std::to_string(Crc(source.bytes))
                                 : source.directory ? source.name + "/"
                                                    : source.name;
        ASSERT_EQ(1u, byName.count(name)) << name << " not among " << NamesOf(listing.entries);
        const SPythonEntry& entry = byName[name];
        EXPECT_EQ(source.bytes.size(), entry.size) << name;
        EXPECT_EQ(Crc(source.bytes), entry.crc) << name;
        // A folder and an empty file go in without the password.
        const bool encrypted = !password.empty() && !source.directory && !source.bytes.empty();
        EXPECT_EQ(encrypted ? 1 : 0, entry.flags & 1) << name;
    }
}

// Reads the archive back with our classes and compares with the sources.
void ExpectWeRead(const std::string& archive, int mode, const std::vector<SSource>& sources,
                  const std::string& password) {
    const SReadResult read = ReadWithOurClasses(archive, mode, password);
    ASSERT_TRUE(read.complete) << read.problem;
    std::map<std::string, const SReadEntry*> byName;
    for (const SReadEntry& entry : read.entries)
        byName[entry.name] = &entry;
    ASSERT_EQ(sources.size(), read.entries.size());
    for (const SSource& source : sources) {
        const std::string name = source.directory ? source.name + "/" : source.name;
        ASSERT_EQ(1u, byName.count(name)) << name;
        EXPECT_EQ(source.directory, byName[name]->directory) << name;
        EXPECT_TRUE(source.bytes == byName[name]->bytes) << name;
    }
}

class ZipInterop : public ::testing::Test {
protected:
    std::string Src() const { return m_temp.File("src\\"); }
    std::string Archive(const char* name) const { return m_temp.File(name); }

    CTempFolder m_temp;
};

// The checks themselves must see a fault: a flipped byte in the data of a
// deflated entry fails every tool that reads data.
TEST_F(ZipInterop, ToolChecksCatchADamagedArchive) {
    const std::vector<SSource> sources = {{"a.zel", TextBytes(40000, 9), false},
                                          {"b.zel", TextBytes(30000, 8), false}};
    WriteSources(Src(), sources);
    const std::string archive = Archive("tool.zip");
    ASSERT_TRUE(MakeWithZip(Src(), HostNames(sources), archive));
    EXPECT_EQ("", CheckWithAllTools(archive, 2));

    std::string bytes = ReadWholeFile(archive);
    bytes[200] ^= 0x55; // inside a.zel's deflated data
    ASSERT_TRUE(WriteWholeFile(archive, bytes));
    const std::string failures = CheckWithAllTools(archive, 2);
    EXPECT_NE(std::string::npos, failures.find("unzip -t")) << failures;
    EXPECT_NE(std::string::npos, failures.find("python zipfile")) << failures;
    EXPECT_NE(std::string::npos, failures.find("7z t")) << failures;
}

struct SWriteCase {
    const char* name;
    int level;
    const char* password;
};

void PrintTo(const SWriteCase& c, std::ostream* os) {
    *os << c.name;
}

class ZipInteropWrite : public ZipInterop, public ::testing::WithParamInterface<SWriteCase> {};

TEST_P(ZipInteropWrite, OurArchivePassesEveryTool) {
    const SWriteCase& c = GetParam();
    const std::vector<SSource> sources = StandardSources();
    WriteSources(Src(), sources);
    const std::string archive = Archive("ours.zip");
    ASSERT_EQ("", WriteOurArchive(archive, Src(), sources, c.level, c.password));

    EXPECT_EQ("", CheckWithAllTools(archive, sources.size(), c.password));
    ExpectPythonSees(archive, sources, c.password);
    const SToolRun call = UnzipEntry(archive, "call-0001.zel", c.password);
    EXPECT_TRUE(call.ok && call.output == sources[0].bytes);

    std::vector<SZipinfoEntry> info;
    ASSERT_TRUE(ZipinfoEntries(archive, &info));
    ASSERT_EQ(sources.size(), info.size());
    for (SZipinfoEntry& entry : info) {
        const bool directory = entry.name == "sub/";
        const bool tiny = entry.name == "tiny.txt" || entry.name == "empty.dat";
        const bool stored = c.level == 0 || directory || tiny;
        EXPECT_EQ(stored ? "none (stored)" : "deflated", entry.fields["compression method"])
            << entry.name;
        // The directory and the empty file go in without the password.
        const bool encrypted = *c.password && !directory && entry.name != "empty.dat";
        EXPECT_EQ(encrypted ? "encrypted" : "not encrypted", entry.fields["file security status"])
            << entry.name;
        EXPECT_EQ(directory ? "1.0" : "2.0",
                  entry.fields["minimum software version required to extract"])
            << entry.name;
        EXPECT_EQ("MS-DOS, OS/2 or NT FAT",
                  entry.fields["file system or operating system of origin"])
            << entry.name;
        for (const SSource& source : sources) {
            if (source.name != entry.name)
                continue;
            char crc[16];
            snprintf(crc, sizeof crc, "%08x", Crc(source.bytes));
            EXPECT_EQ(crc, entry.fields["32-bit CRC value (hex)"]) << entry.name;
            EXPECT_EQ(std::to_string(source.bytes.size()) + " bytes",
                      entry.fields["uncompressed size"])
                << entry.name;
        }
    }
    ExpectWeRead(archive, CZipArchive::zipOpenReadOnly, sources, c.password);
}

INSTANTIATE_TEST_SUITE_P(Cases, ZipInteropWrite,
                         ::testing::Values(SWriteCase{"DeflatedDefault", -1, ""},
                                           SWriteCase{"Stored", 0, ""}, SWriteCase{"Best", 9, ""},
                                           SWriteCase{"Encrypted", -1, "s3cret pass"},
                                           SWriteCase{"EncryptedStored", 0, "pw"}),
                         [](const ::testing::TestParamInfo<SWriteCase>& info) {
                             return std::string(info.param.name);
                         });

// Split archives: 7-Zip is the one tool here that tests them (unzip, Python
// and bsdtar refuse split archives, and `zip -s 0` joins even Info-ZIP's own
// split archives into one that unzip rejects).
struct SSplitCase {
    const char* name;
    int mode;
    const char* password;
    const char* firstVolume; // what 7z is given
    const char* laterVolume; // proves that the archive was split
};

void PrintTo(const SSplitCase& c, std::ostream* os) {
    *os << c.name;
}

class ZipInteropSplit : public ZipInterop, public ::testing::WithParamInterface<SSplitCase> {};

TEST_P(ZipInteropSplit, OurSplitArchivePasses7zAndReadsBack) {
    const SSplitCase& c = GetParam();
    const std::vector<SSource> sources = StandardSources();
    WriteSources(Src(), sources);
    ASSERT_EQ("", WriteOurArchive(Archive("split.zip"), Src(), sources, -1, c.password, c.mode,
                                  64 * 1024));
    ASSERT_TRUE(FileExists(Archive(c.laterVolume)));
    const SToolRun test = SevenZipTest(Archive(c.firstVolume), c.password);
    EXPECT_TRUE(test.ok && test.output.find("Everything is Ok") != std::string::npos)
        << test.output;

    // Our classes open a split archive by its last volume.
    std::string last = Archive("split.zip");
    for (int i = 9; i >= 2 && c.mode == CZipArchive::zipCreateBinSplit; --i) {
        last = Archive("split.zip.00") + std::to_string(i);
        if (FileExists(last))
            break;
    }
    const int openMode = c.mode == CZipArchive::zipCreateBinSplit ? CZipArchive::zipOpenBinSplit
                                                                  : CZipArchive::zipOpenSplit;
    ExpectWeRead(last, openMode, sources, c.password);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZipInteropSplit,
    ::testing::Values(SSplitCase{"Split", CZipArchive::zipCreateSplit, "", "split.zip",
                                 "split.z02"},
                      SSplitCase{"SplitEncrypted", CZipArchive::zipCreateSplit, "split pw",
                                 "split.zip", "split.z02"},
                      SSplitCase{"BinarySplit", CZipArchive::zipCreateBinSplit, "", "split.zip.001",
                                 "split.zip.003"},
                      SSplitCase{"BinarySplitEncrypted", CZipArchive::zipCreateBinSplit, "bin pw",
                                 "split.zip.001", "split.zip.003"}),
    [](const ::testing::TestParamInfo<SSplitCase>& info) { return std::string(info.param.name); });

TEST_F(ZipInterop, RemovalsAndReplacementsKeepTheArchiveSound) {
    std::vector<SSource> sources = StandardSources();
    WriteSources(Src(), sources);
    const std::string archive = Archive("changed.zip");
    ASSERT_EQ("", WriteOurArchive(archive, Src(), sources, -1, ""));

    // A bigger and a smaller file over two entries, then two removals.
    const std::string bigger = TextBytes(300000, 20), smaller = TextBytes(700, 21);
    ASSERT_TRUE(WriteWholeFile(Src() + "bigger.zel", bigger));
    ASSERT_TRUE(WriteWholeFile(Src() + "smaller.zel", smaller));
    CZipArchive zip;
    try {
        ASSERT_TRUE(zip.OpenArchive(archive.c_str()));
        const std::pair<const char*, const char*> replacements[] = {
            {"call-0001.zel", "bigger.zel"}, {"sub\\inner.zel", "smaller.zel"}};
        for (const auto& replacement : replacements) {
            CZipAddFileRequest request;
            request.m_szFilePath = (Src() + replacement.second).c_str();
            request.m_szFileNameInZip = replacement.first;
            request.m_uReplaceIndex = zip.FindEntry(replacement.first);
            ASSERT_NE(0xFFFF, request.m_uReplaceIndex) << replacement.first;
            EXPECT_TRUE(zip.AddFile(request)) << replacement.first;
        }
        CZipStringArray names;
        names.Add("noise.bin");
        names.Add("tiny.txt");
        EXPECT_TRUE(zip.RemoveEntriesByName(names));
        zip.CloseArchive();
    } catch (CException* e) {
        ADD_FAILURE() << Describe(e);
        e->Delete();
        zip.CloseArchive(CZipArchive::afAfterException);
        return;
    }
    sources[0].bytes = bigger;
    sources[6].bytes = smaller;
    sources.erase(sources.begin() + 1, sources.begin() + 3);
    EXPECT_EQ("", CheckWithAllTools(archive, sources.size()));
    ExpectPythonSees(archive, sources, "");
    ExpectWeRead(archive, CZipArchive::zipOpenReadOnly, sources, "");
}

// Appending to another tool's archive keeps its entries as that tool wrote
// them, the Unicode path records of a Windows tool's names included: unzip
// would otherwise warn that the names do not match.
TEST_F(ZipInterop, AppendingToAnotherToolsArchive) {
    const std::vector<SSource> old = {{"first.zel", TextBytes(9000, 30), false},
                                      {kMueller, TextBytes(4000, 31), false}};
    const SSource added = {u8"K\u00f6nig.zel", TextBytes(6000, 32), false};
    WriteSources(Src(), old);
    WriteSources(Src(), {added});
    struct SMaker {
        const char* name;
        bool (*make)(const std::string&, const std::vector<std::string>&, const std::string&);
        bool pythonDecodesNames; // Linux zip stores UTF-8 names without the flag
    };
    const SMaker makers[] = {
        {"zip",
         [](const std::string& f, const std::vector<std::string>& n, const std::string& a) {
             return MakeWithZip(f, n, a);
         },
         false},
        {"7z",
         [](const std::string& f, const std::vector<std::string>& n, const std::string& a) {
             return MakeWith7z(f, n, a);
         },
         true},
        {"python windows names",
         [](const std::string& f, const std::vector<std::string>& n, const std::string& a) {
             return MakeWithPython(f, n, a, "", true);
         },
         true},
    };
    for (const SMaker& maker : makers) {
        SCOPED_TRACE(maker.name);
        const std::string archive = Archive("appended.zip");
        ASSERT_TRUE(maker.make(Src(), HostNames(old), archive));
        ASSERT_EQ("", AppendWithOurClasses(archive, Src(), {added}));
        std::vector<SSource> all = old;
        all.push_back(added);
        EXPECT_EQ("", CheckWithAllTools(archive, all.size()));
        const SToolRun test = UnzipTest(archive);
        EXPECT_EQ(std::string::npos, test.output.find("mismatch")) << test.output;
        EXPECT_EQ(std::string::npos, test.output.find("warning")) << test.output;
        ExpectPythonSees(archive, all, "", maker.pythonDecodesNames);
        ExpectWeRead(archive, CZipArchive::zipOpenReadOnly, all, "");
    }
}

// ---- Archives made by the tools, read by our classes -----------------------

struct SToolCase {
    const char* name;
    bool (*make)(const std::string& folder, const std::vector<std::string>& files,
                 const std::string& archive);
    const char* password;
    const char* comment; // the archive comment the tool writes
};

void PrintTo(const SToolCase& c, std::ostream* os) {
    *os << c.name;
}

class ZipInteropRead : public ZipInterop, public ::testing::WithParamInterface<SToolCase> {};

TEST_P(ZipInteropRead, ToolArchiveReadsBackByteForByte) {
    const SToolCase& c = GetParam();
    std::vector<SSource> sources = StandardSources();
    sources.erase(sources.begin() + 5); // the tools add the file without its folder entry
    WriteSources(Src(), sources);
    const std::string archive = Archive("tool.zip");
    ASSERT_TRUE(c.make(Src(), HostNames(sources), archive));

    const SReadResult read = ReadWithOurClasses(archive, CZipArchive::zipOpenReadOnly, c.password);
    EXPECT_EQ(c.comment, read.comment);
    ExpectWeRead(archive, CZipArchive::zipOpenReadOnly, sources, c.password);
}

INSTANTIATE_TEST_SUITE_P(
    Tools, ZipInteropRead,
    ::testing::Values(
        SToolCase{"ZipDeflated",
                  [](const std::string& f, const std::vector<std::string>& n,
                     const std::string& a) { return MakeWithZip(f, n, a); },
                  "", ""},
        SToolCase{
            "ZipStored",
            [](const std::string& f, const std::vector<std::string>& n, const std::string& a) {
                SZipOptions options;
                options.stored = true;
                return MakeWithZip(f, n, a, options);
            },
            "", ""},
        SToolCase{
            "ZipEncryptedWithComment",
            [](const std::string& f, const std::vector<std::string>& n, const std::string& a) {
                SZipOptions options;
                options.password = "zip secret";
                options.comment = "calls of week 49";
                return MakeWithZip(f, n, a, options);
            },
            "zip secret", "calls of week 49"},
        SToolCase{"SevenZipDeflated",
                  [](const std::string& f, const std::vector<std::string>& n,
                     const std::string& a) { return MakeWith7z(f, n, a); },
                  "", ""},
        SToolCase{
            "SevenZipEncrypted",
            [](const std::string& f, const std::vector<std::string>& n, const std::string& a) {
                SSevenZipOptions options;
                options.password = "7z secret";
                return MakeWith7z(f, n, a, options);
            },
            "7z secret", ""},
        SToolCase{"PythonUtf8Flag",
                  [](const std::string& f, const std::vector<std::string>& n,
                     const std::string& a) { return MakeWithPython(f, n, a, "from python"); },
                  "", "from python"},
        SToolCase{"PythonUnicodePathRecords",
                  [](const std::string& f, const std::vector<std::string>& n,
                     const std::string& a) { return MakeWithPython(f, n, a, "", true); },
                  "", ""}),
    [](const ::testing::TestParamInfo<SToolCase>& info) { return std::string(info.param.name); });

// zip reading from a pipe ends the archive with Zip64 end records although
// nothing needs them.
TEST_F(ZipInterop, ArchiveFromAPipeOpens) {
    const std::string content = TextBytes(70000, 40);
    ASSERT_TRUE(WriteWholeFile(m_temp.File("content.txt"), content));
    const std::string archive = Archive("pipe.zip");
    ASSERT_TRUE(MakeWithZipFromPipe(m_temp.File("content.txt"), archive));
    ASSERT_NE(std::string::npos, ReadWholeFile(archive).find(std::string("PK\x06\x07", 4)));

    const SReadResult read = ReadWithOurClasses(archive, CZipArchive::zipOpenReadOnly, "");
    ASSERT_TRUE(read.complete) << read.problem;
    ASSERT_EQ(1u, read.entries.size());
    EXPECT_EQ("-", read.entries[0].name);
    EXPECT_TRUE(content == read.entries[0].bytes);

    // Appending rewrites the end of the archive: the tools must still take it.
    const SSource added = {"added.zel", TextBytes(3000, 41), false};
    WriteSources(Src(), {added});
    ASSERT_EQ("", AppendWithOurClasses(archive, Src(), {added}));
    EXPECT_EQ("", CheckWithAllTools(archive, 2));
    ExpectWeRead(archive, CZipArchive::zipOpenReadOnly, {{"-", content, false}, added}, "");
}

// An archive comment that holds an end-record signature must neither hide the
// archive nor lose its entries when we append to it.
TEST_F(ZipInterop, EndSignatureInsideTheCommentOfAToolArchive) {
    const std::vector<SSource> old = {{"one.zel", TextBytes(5000, 50), false},
                                      {"two.zel", TextBytes(7000, 51), false}};
    WriteSources(Src(), old);
    SZipOptions options;
    options.comment = std::string("note PK\x05\x06\x01\x02\x03\x04 more") + " of it";
    const std::string archive = Archive("comment.zip");
    ASSERT_TRUE(MakeWithZip(Src(), HostNames(old), archive, options));
    ASSERT_NE(std::string::npos, ReadWholeFile(archive).find(options.comment));

    const SReadResult read = ReadWithOurClasses(archive, CZipArchive::zipOpenReadOnly, "");
    EXPECT_EQ(options.comment, read.comment);
    ExpectWeRead(archive, CZipArchive::zipOpenReadOnly, old, "");

    const SSource added = {"three.zel", TextBytes(6000, 52), false};
    WriteSources(Src(), {added});
    ASSERT_EQ("", AppendWithOurClasses(archive, Src(), {added}));
    std::vector<SSource> all = old;
    all.push_back(added);
    // Python's zipfile takes the signature in the comment for the end record
    // even in zip's own archive, so it is left out here.
    const SToolRun unzip = UnzipTest(archive);
    EXPECT_NE(std::string::npos, unzip.output.find("No errors detected")) << unzip.output;
    const SToolRun sevenZip = SevenZipTest(archive);
    EXPECT_NE(std::string::npos, sevenZip.output.find("Everything is Ok")) << sevenZip.output;
    std::vector<std::string> names;
    EXPECT_TRUE(BsdtarNames(archive, &names));
    EXPECT_EQ(all.size(), names.size());
    EXPECT_EQ(options.comment,
              ReadWithOurClasses(archive, CZipArchive::zipOpenReadOnly, "").comment);
    ExpectWeRead(archive, CZipArchive::zipOpenReadOnly, all, "");
}

// ExtractEntry puts a tool's entries below the target folder under their own
// names, folders and the accented name included.
TEST_F(ZipInterop, ExtractEntryWritesAToolArchiveToDisk) {
    std::vector<SSource> sources = StandardSources();
    sources.erase(sources.begin() + 5);
    WriteSources(Src(), sources);
    const std::string archive = Archive("tool.zip");
    ASSERT_TRUE(MakeWithZip(Src(), HostNames(sources), archive));
    const std::string out = m_temp.File("out\\");
    CZipArchive zip;
    try {
        ASSERT_TRUE(zip.OpenArchive(archive.c_str(), CZipArchive::zipOpenReadOnly));
        for (WORD i = 0; i < zip.GetCount(); ++i)
            EXPECT_TRUE(zip.ExtractEntry(i, out.c_str())) << i;
        zip.CloseArchive();
    } catch (CException* e) {
        ADD_FAILURE() << Describe(e);
        e->Delete();
        zip.CloseArchive(CZipArchive::afAfterException);
    }
    for (const SSource& source : sources) {
        const std::string path = out + WindowsName(source.name);
        ASSERT_TRUE(FileExists(path)) << source.name;
        EXPECT_TRUE(source.bytes == ReadWholeFile(path)) << source.name;
    }
}

TEST_F(ZipInterop, ToolSplitArchivesReadBack) {
    std::vector<SSource> sources = StandardSources();
    sources.erase(sources.begin() + 5);
    WriteSources(Src(), sources);

    SZipOptions split;
    split.splitKiB = 100;
    ASSERT_TRUE(MakeWithZip(Src(), HostNames(sources), Archive("zs.zip"), split));
    ASSERT_TRUE(FileExists(Archive("zs.z01")));
    SSevenZipOptions volumes;
    volumes.volumeKiB = 100;
    ASSERT_TRUE(MakeWith7z(Src(), HostNames(sources), Archive("7v.zip"), volumes));
    ASSERT_TRUE(FileExists(Archive("7v.zip.002")));
    std::string last;
    for (int i = 9; i >= 2 && last.empty(); --i)
        if (FileExists(Archive("7v.zip.00") + std::to_string(i)))
            last = Archive("7v.zip.00") + std::to_string(i);

    const std::pair<std::string, int> cases[] = {{Archive("zs.zip"), CZipArchive::zipOpenSplit},
                                                 {last, CZipArchive::zipOpenBinSplit}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        ExpectWeRead(c.first, c.second, sources, "");
    }
}

} // namespace
