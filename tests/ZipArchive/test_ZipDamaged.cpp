// Damaged archives: every truncation of a small archive, every byte of every
// header field flipped, sizes that lie, offsets and a comment length past the
// end. Each is opened, listed and read (and extracted) by our classes: none
// may crash or hang, and each failure is a refusal, a CZipException or the
// framework's file exception (a volume or a target the damage names).
#include "native/gtest.h"

#include "ZipArchive.h"
#include "ZipException.h"
#include "ZipTestArchives.h"
#include "ZipTestFixtures.h"
#include "ZipTestTools.h"
#include "framework/File.h"
#include "tests/support/TempFolder.h"

#include "native/zlib.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace ZipTestArchives;
using namespace ZipTestFixtures;

namespace {

// ---- A small archive built byte by byte ------------------------------------

void Set32(std::string& s, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        s[at + i] = char((v >> (8 * i)) & 0xFF);
}

void Set16(std::string& s, size_t at, unsigned v) {
    s[at] = char(v & 0xFF);
    s[at + 1] = char((v >> 8) & 0xFF);
}

struct SPlainEntry {
    std::string name;
    std::string bytes;
    unsigned method; // 0 stored, 8 deflated
};

// Where the records of the built archive are.
struct SLayout {
    std::string bytes;
    std::vector<size_t> local;
    std::vector<size_t> central;
    size_t end = 0;
};

// An archive as the format document lays it out: local headers with their
// data, the central directory, the end record with the comment.
SLayout BuildArchive(const std::vector<SPlainEntry>& entries, const std::string& comment) {
    SLayout layout;
    std::string& s = layout.bytes;
    std::vector<std::string> data;
    for (const SPlainEntry& entry : entries) {
        data.push_back(entry.method ? RawDeflate(entry.bytes) : entry.bytes);
        const uint32_t crc = uint32_t(
            crc32(0, reinterpret_cast<const Bytef*>(entry.bytes.data()), uInt(entry.bytes.size())));
        layout.local.push_back(s.size());
        Put32(s, 0x04034B50);
        Put16(s, 20);
        Put16(s, 0);
        Put16(s, entry.method);
        Put16(s, 0x6000); // 12:00:00
        Put16(s, 0x5B8B); // 2025-12-11
        Put32(s, crc);
        Put32(s, uint32_t(data.back().size()));
        Put32(s, uint32_t(entry.bytes.size()));
        Put16(s, unsigned(entry.name.size()));
        Put16(s, 0);
        s += entry.name + data.back();
    }
    const size_t directory = s.size();
    for (size_t i = 0; i < entries.size(); ++i) {
        const SPlainEntry& entry = entries[i];
        layout.central.push_back(s.size());
        Put32(s, 0x02014B50);
        Put16(s, 20);
        Put16(s, 20);
        s.append(layout.bytes, layout.local[i] + 6, 22); // flags .. name length
        Put16(s, 0);                                     // extra
        Put16(s, 0);                                     // comment
        Put16(s, 0);                                     // disk
        Put16(s, 0);                                     // internal attributes
        Put32(s, 0x20);                                  // archive attribute
        Put32(s, uint32_t(layout.local[i]));
        s += entry.name;
    }
    layout.end = s.size();
    Put32(s, 0x06054B50);
    Put16(s, 0);
    Put16(s, 0);
    Put16(s, unsigned(entries.size()));
    Put16(s, unsigned(entries.size()));
    Put32(s, uint32_t(layout.end - directory));
    Put32(s, uint32_t(directory));
    Put16(s, unsigned(comment.size()));
    s += comment;
    return layout;
}

SLayout SmallArchive() {
    return BuildArchive(
        {{"stored.txt", "stored bytes, twenty-", 0}, {"dir/deflated.zel", TextBytes(600, 5), 8}},
        "damage corpus");
}

// ---- Probing one damaged archive --------------------------------------------

// A hang must not pass silently as a ctest timeout: the watchdog names the case.
class CWatchdog {
public:
    explicit CWatchdog(DWORD budgetMs) : m_budget(budgetMs) {
        m_done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        m_thread = CreateThread(nullptr, 0, &CWatchdog::Watch, this, 0, nullptr);
    }
    ~CWatchdog() {
        SetEvent(m_done);
        WaitForSingleObject(m_thread, INFINITE);
        CloseHandle(m_thread);
        CloseHandle(m_done);
    }
    void SetCase(const std::string& name) {
        EnterCriticalSection(Lock());
        m_case = name;
        LeaveCriticalSection(Lock());
    }

private:
    static CRITICAL_SECTION* Lock() {
        static CRITICAL_SECTION lock;
        static const bool made = (InitializeCriticalSection(&lock), true);
        (void)made;
        return &lock;
    }
    static DWORD WINAPI Watch(void* self) {
        CWatchdog* dog = static_cast<CWatchdog*>(self);
        if (WaitForSingleObject(dog->m_done, dog->m_budget) == WAIT_OBJECT_0)
            return 0;
        EnterCriticalSection(Lock());
        fprintf(stderr, "damaged archive hangs: %s\n", dog->m_case.c_str());
        fflush(stderr);
        ExitProcess(3);
    }

    DWORD m_budget;
    HANDLE m_done;
    HANDLE m_thread;
    std::string m_case;
};

class ZipDamaged : public ::testing::Test {
protected:
    ZipDamaged() : m_watchdog(90000) {}

    // Opens, lists and reads every entry of the bytes as an archive, then
    // extracts every entry below a folder. Returns whether all of it worked;
    // every failure must be a refusal or a CZipException.
    bool Probe(const std::string& caseName, const std::string& bytes,
               const std::string& password = std::string()) {
        m_watchdog.SetCase(caseName);
        const std::string path = m_temp.File("damaged.zip");
        EXPECT_TRUE(WriteWholeFile(path, bytes));
        const SReadResult read = ReadWithOurClasses(path, CZipArchive::zipOpenReadOnly, password);
        EXPECT_FALSE(read.otherException) << caseName << ": " << read.problem;
        bool extracted = true;
        CZipArchive zip;
        try {
            extracted = zip.OpenArchive(path.c_str(), CZipArchive::zipOpenReadOnly);
            if (extracted && !password.empty())
                zip.SetPassword(password.c_str());
            const std::string out = m_temp.File("out");
            for (WORD i = 0; extracted && i < zip.GetCount(); ++i)
                extracted = zip.ExtractEntry(i, out.c_str());
            zip.CloseArchive();
        } catch (CZipException* e) {
            extracted = false;
            e->Delete();
            zip.CloseArchive(CZipArchive::afAfterException);
        } catch (CFileException* e) {
            extracted = false;
            e->Delete();
            zip.CloseArchive(CZipArchive::afAfterException);
        } catch (CException* e) {
            char text[256] = "";
            e->GetErrorMessage(text, sizeof text);
            ADD_FAILURE() << caseName
                          << ": extraction raised neither a ZIP nor a file exception: " << text;
            e->Delete();
            zip.CloseArchive(CZipArchive::afAfterException);
            extracted = false;
        }
        RemoveFolderTree(m_temp.File("out"));
        return read.complete && extracted;
    }

    CTempFolder m_temp;
    CWatchdog m_watchdog;
};

// The corpus must start from an archive that the tools and our classes accept,
// or the damage cases would prove nothing.
const char kPassword[] = "corpus pw";

// An encrypted archive with data descriptors and a comment, as Info-ZIP
// writes it: the other reading paths (decryption header, descriptors).
std::string EncryptedToolArchive(const CTempFolder& temp) {
    const std::string folder = temp.File("src\\");
    CreateDirectoryA(folder.c_str(), nullptr);
    EXPECT_TRUE(WriteWholeFile(folder + "a.zel", TextBytes(500, 6)));
    EXPECT_TRUE(WriteWholeFile(folder + "b.txt", "tiny"));
    ZipTools::SZipOptions options;
    options.password = kPassword;
    options.comment = "encrypted corpus";
    EXPECT_TRUE(ZipTools::MakeWithZip(folder, {"a.zel", "b.txt"}, temp.File("enc.zip"), options));
    return ReadWholeFile(temp.File("enc.zip"));
}

TEST_F(ZipDamaged, TheUndamagedArchivesAreSound) {
    const SLayout layout = SmallArchive();
    const std::string path = m_temp.File("sound.zip");
    ASSERT_TRUE(WriteWholeFile(path, layout.bytes));
    EXPECT_EQ("", ZipTools::CheckWithAllTools(path, 2));
    EXPECT_TRUE(Probe("undamaged", layout.bytes));
    const std::string encrypted = EncryptedToolArchive(m_temp);
    ASSERT_FALSE(encrypted.empty());
    EXPECT_TRUE(Probe("undamaged encrypted", encrypted, kPassword));
}

TEST_F(ZipDamaged, EveryTruncationFails) {
    const std::string plain = SmallArchive().bytes;
    const std::string encrypted = EncryptedToolArchive(m_temp);
    ASSERT_FALSE(encrypted.empty());
    const std::pair<const std::string*, const char*> archives[] = {{&plain, ""},
                                                                   {&encrypted, kPassword}};
    for (const auto& archive : archives) {
        const std::string& bytes = *archive.first;
        for (size_t length = 0; length < bytes.size(); ++length)
            EXPECT_FALSE(Probe("truncated to " + std::to_string(length), bytes.substr(0, length),
                               archive.second))
                << "truncated to " << length << " of " << bytes.size();
    }
}

struct SField {
    const char* name;
    int record; // 0 local header of entry 1, 1 central header of entry 1, 2 end record
    size_t offset;
    size_t size;
    bool mustFail; // flipping any byte of it can never leave a readable archive
};

// Every field of the second entry's (deflated) headers and of the end record.
const SField kFields[] = {
    {"local signature", 0, 0, 4, true},
    {"local version", 0, 4, 2, false},
    {"local flags", 0, 6, 2, false},
    {"local method", 0, 8, 2, false},
    {"local time", 0, 10, 2, false},
    {"local date", 0, 12, 2, false},
    {"local crc", 0, 14, 4, false},
    {"local compressed size", 0, 18, 4, false},
    {"local size", 0, 22, 4, false},
    {"local name length", 0, 26, 2, false},
    {"local extra length", 0, 28, 2, false},
    {"central signature", 1, 0, 4, true},
    {"central made by", 1, 4, 2, false},
    {"central version", 1, 6, 2, false},
    {"central flags", 1, 8, 2, false},
    {"central method", 1, 10, 2, true},
    {"central time", 1, 12, 2, false},
    {"central date", 1, 14, 2, false},
    {"central crc", 1, 16, 4, true},
    {"central compressed size", 1, 20, 4, false}, // one byte more or less can still inflate
    {"central size", 1, 24, 4, true},
    {"central name length", 1, 28, 2, false},
    {"central extra length", 1, 30, 2, false},
    {"central comment length", 1, 32, 2, false},
    {"central disk", 1, 34, 2, false},
    {"central internal attributes", 1, 36, 2, false},
    {"central external attributes", 1, 38, 4, false},
    {"central offset", 1, 42, 4, true},
    {"end signature", 2, 0, 4, false}, // the same bytes inside the comment could match
    {"end disk", 2, 4, 2, false},
    {"end directory disk", 2, 6, 2, false},
    {"end entries on disk", 2, 8, 2, false},
    {"end entries", 2, 10, 2, false},
    {"end directory size", 2, 12, 4, false},
    {"end directory offset", 2, 16, 4, true},
    {"end comment length", 2, 20, 2, false},
};

TEST_F(ZipDamaged, FlippedBytesInEveryHeaderField) {
    const SLayout layout = SmallArchive();
    for (const SField& field : kFields) {
        const size_t base = field.record == 0   ? layout.local[1]
                            : field.record == 1 ? layout.central[1]
                                                : layout.end;
        for (size_t i = 0; i < field.size; ++i) {
            for (const unsigned char mask : {0x01, 0x80, 0xFF}) {
                std::string bytes = layout.bytes;
                bytes[base + field.offset + i] ^= char(mask);
                const std::string name = std::string(field.name) + " byte " + std::to_string(i) +
                                         " ^ " + std::to_string(mask);
                const bool sound = Probe(name, bytes);
                if (field.mustFail) {
                    EXPECT_FALSE(sound) << name;
                }
            }
        }
    }
}

struct SLie {
    const char* name;
    int record;
    size_t offset;
    int width;
    uint32_t value;
};

// Values that point past the end of the file or lie about sizes and counts;
// each one must be refused.
const SLie kLies[] = {
    {"stored entry claims more data than the file has", 1, 20, 4, 0x00100000},
    {"stored entry claims less data", 1, 20, 4, 3},
    {"stored entry size below its data", 1, 24, 4, 5},
    {"stored entry size above its data", 1, 24, 4, 0x7FFFFFFF},
    {"stored entry local sizes lie as well", 0, 18, 4, 0xFFFFFFF0},
    {"deflated entry compressed size past the end", 3, 20, 4, 0x7FFFFFF0},
    {"deflated entry compressed size too small", 3, 20, 4, 10},
    {"deflated entry size too big", 3, 24, 4, 0x01000000},
    {"deflated entry size too small", 3, 24, 4, 7},
    {"local header offset past the end", 3, 42, 4, 0x7FFFFFF0},
    {"local header offset into the directory", 3, 42, 4, 0},
    {"directory offset past the end", 2, 16, 4, 0x7FFFFFF0},
    {"directory size past the end", 2, 12, 4, 0x00FFFFFF},
    {"more entries than the directory holds", 2, 10, 2, 0xFFFF},
    {"comment length past the end", 2, 20, 2, 0xFFFF},
    {"comment length one past the end", 2, 20, 2, 14},
    {"name length past the end", 3, 28, 2, 0xFFFF},
    {"extra length past the end", 3, 30, 2, 0xFFFF},
};

TEST_F(ZipDamaged, LyingSizesCountsAndOffsetsAreRefused) {
    const SLayout layout = SmallArchive();
    for (const SLie& lie : kLies) {
        // Record 3 is the deflated entry's central header, 0 and 1 the stored entry's.
        const size_t base = lie.record == 0   ? layout.local[0]
                            : lie.record == 1 ? layout.central[0]
                            : lie.record == 3 ? layout.central[1]
                                              : layout.end;
        std::string bytes = layout.bytes;
        if (lie.width == 4)
            Set32(bytes, base + lie.offset, lie.value);
        else
            Set16(bytes, base + lie.offset, lie.value);
        EXPECT_FALSE(Probe(lie.name, bytes)) << lie.name;
    }
}

// Random damage over the whole archive, several bytes at once, as a disk or a
// transfer gives it: nothing but refusals and CZipExceptions.
TEST_F(ZipDamaged, ScatteredDamage) {
    const SLayout layout = SmallArchive();
    uint32_t state = 12345;
    for (int round = 0; round < 400; ++round) {
        std::string bytes = layout.bytes;
        for (int hit = 0; hit < 4; ++hit) {
            state = state * 1664525u + 1013904223u;
            bytes[(state >> 8) % bytes.size()] = char(state >> 24);
        }
        Probe("scattered round " + std::to_string(round), bytes);
    }
}

} // namespace
