// Tests of File.h and UnixPath.h: CFile over POSIX calls (modes, errors, sharing
// between threads and processes, the Win32 fallback), CMemFile, and the path
// translation.
#include "native/gtest.h"

#include "framework/Exception.h"
#include "framework/File.h"
#include "framework/UnixPath.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Runs f and returns the CFileException it throws (the caller deletes it), or null.
template <class F> CFileException* CatchFile(F f) {
    try {
        f();
    } catch (CFileException* e) {
        return e;
    } catch (CException* e) {
        e->Delete();
        ADD_FAILURE() << "another exception than CFileException";
    }
    return nullptr;
}

template <class F> CException* CatchAny(F f) {
    try {
        f();
    } catch (CException* e) {
        return e;
    }
    return nullptr;
}

// The outcome of one Open: TRUE, or the cause and OS error.
struct OpenResult {
    BOOL ok;
    int cause;
    LONG osError;
};

OpenResult TryOpen(CFile& file, const std::string& path, UINT flags) {
    CFileException error;
    BOOL ok = file.Open(path.c_str(), flags, &error);
    return {ok, error.m_cause, error.m_lOsError};
}

const UINT kRead = CFile::modeRead;
const UINT kWrite = CFile::modeWrite;
const UINT kReadWrite = CFile::modeReadWrite;

} // namespace

// ---------------------------------------------------------------------------
// Path translation

TEST(UnixPath, TranslatesExistingComponentsWithTheirCaseOnDisk) {
    CTempFolder folder;
    ASSERT_TRUE(WriteWholeFile(folder.File("MixedCase.Txt"), "x"));
    std::string unixPath;
    ASSERT_TRUE(UnixPathFromWindows(folder.File("mixedcase.TXT").c_str(), unixPath));
    EXPECT_EQ(unixPath.substr(unixPath.size() - 14), "/MixedCase.Txt");
    EXPECT_EQ(unixPath[0], '/');
}

TEST(UnixPath, KeepsAMissingLastComponentAsGiven) {
    CTempFolder folder;
    std::string unixPath;
    DWORD error = 99;
    ASSERT_TRUE(UnixPathFromWindows(folder.File("New File.BIN").c_str(), unixPath, &error));
    EXPECT_EQ(error, 0u);
    EXPECT_EQ(unixPath.substr(unixPath.size() - 13), "/New File.BIN");
}

TEST(UnixPath, ReportsWhyAPathHasNoUnixForm) {
    CTempFolder folder;
    std::string unixPath;
    DWORD error = 0;
    EXPECT_FALSE(UnixPathFromWindows(folder.File("missing\\x.txt").c_str(), unixPath, &error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(UnixPathFromWindows(folder.File("bad*name").c_str(), unixPath, &error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_INVALID_NAME));
    EXPECT_FALSE(UnixPathFromWindows("NUL", unixPath, &error));
    EXPECT_FALSE(UnixPathFromWindows("", unixPath, &error));
    EXPECT_EQ(error, 0u);
    EXPECT_FALSE(UnixPathFromWindows(nullptr, unixPath, &error));
    EXPECT_TRUE(unixPath.empty());
}

TEST(UnixPath, RoundTripsThroughTheWindowsForm) {
    std::string windowsPath;
    ASSERT_TRUE(WindowsPathFromUnix("/tmp", windowsPath));
    std::string unixPath;
    ASSERT_TRUE(UnixPathFromWindows(windowsPath.c_str(), unixPath));
    EXPECT_EQ(unixPath, "/tmp");
}

// ---------------------------------------------------------------------------
// Opening and errors

TEST(File, MissingFileForReadingIsFileNotFound) {
    CTempFolder folder;
    CFile file;
    std::string path = folder.File("none.zel");
    CFileException error;
    EXPECT_FALSE(file.Open(path.c_str(), kRead | CFile::shareDenyWrite, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(error.m_lOsError, ERROR_FILE_NOT_FOUND);
    EXPECT_STREQ(error.m_strFileName, path.c_str());
    EXPECT_TRUE(file.m_hFile == CFile::hFileNull);
    EXPECT_FALSE(FileExists(path));
}

TEST(File, CreatingInAMissingFolderIsBadPath) {
    // The framework has no separate "path not found" cause: ERROR_PATH_NOT_FOUND
    // maps to badPath.
    CTempFolder folder;
    CFile file;
    OpenResult r = TryOpen(file, folder.File("no folder\\new.bin"), kWrite | CFile::modeCreate);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.cause, CFileException::badPath);
    EXPECT_EQ(r.osError, ERROR_PATH_NOT_FOUND);
    // A file used as a folder too.
    ASSERT_TRUE(WriteWholeFile(folder.File("plain"), "x"));
    r = TryOpen(file, folder.File("plain\\new.bin"), kWrite | CFile::modeCreate);
    EXPECT_EQ(r.cause, CFileException::badPath);
}

TEST(File, InvalidNamesAndOverlongPathsAreBadPath) {
    CTempFolder folder;
    CFile file;
    OpenResult r = TryOpen(file, folder.File("a?b"), kWrite | CFile::modeCreate);
    EXPECT_EQ(r.cause, CFileException::badPath);
    EXPECT_EQ(r.osError, ERROR_INVALID_NAME);
    r = TryOpen(file, folder.File(std::string(300, 'x')), kWrite | CFile::modeCreate);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.cause, CFileException::badPath);
    EXPECT_FALSE(file.Open(nullptr, kRead));
}

TEST(File, OpeningWithoutAnExceptionObjectJustFails) {
    CTempFolder folder;
    CFile file;
    EXPECT_FALSE(file.Open(folder.File("none").c_str(), kRead));
}

TEST(File, ConstructorThrowsTheOpenError) {
    CTempFolder folder;
    std::string path = folder.File("none.bin");
    CFileException* e = CatchFile([&] { CFile file(path.c_str(), kRead); });
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->m_cause, CFileException::fileNotFound);
    EXPECT_EQ(e->m_lOsError, ERROR_FILE_NOT_FOUND);
    EXPECT_STREQ(e->m_strFileName, path.c_str());
    char text[512];
    e->GetErrorMessage(text, sizeof text);
    EXPECT_NE(std::string(text).find(path), std::string::npos);
    e->Delete();
}

TEST(File, AFolderCannotBeOpenedAsAFile) {
    CTempFolder folder;
    CFile file;
    std::string path = folder.Path().substr(0, folder.Path().size() - 1);
    OpenResult r = TryOpen(file, path, kRead);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.cause, CFileException::accessDenied);
    EXPECT_EQ(r.osError, ERROR_ACCESS_DENIED);
    r = TryOpen(file, path, kReadWrite);
    EXPECT_EQ(r.cause, CFileException::accessDenied);
}

TEST(File, AReadOnlyFileOpensOnlyForReading) {
    CTempFolder folder;
    std::string path = folder.File("ro.bin");
    ASSERT_TRUE(WriteWholeFile(path, "abc"));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    CFile file;
    OpenResult r = TryOpen(file, path, kWrite);
    EXPECT_EQ(r.cause, CFileException::accessDenied);
    EXPECT_EQ(r.osError, ERROR_ACCESS_DENIED);
    r = TryOpen(file, path, kRead | CFile::modeCreate);
    EXPECT_EQ(r.cause, CFileException::accessDenied);
    r = TryOpen(file, path, kRead);
    EXPECT_TRUE(r.ok);
    file.Close();
    EXPECT_EQ(ReadWholeFile(path), "abc");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// ---------------------------------------------------------------------------
// Creation and truncation

TEST(File, ModeCreateTruncatesAndNoTruncateKeeps) {
    CTempFolder folder;
    std::string path = folder.File("data.bin");
    ASSERT_TRUE(WriteWholeFile(path, "0123456789"));
    {
        CFile file(path.c_str(), kReadWrite | CFile::modeCreate | CFile::modeNoTruncate);
        EXPECT_EQ(file.GetLength(), 10u);
        file.SeekToEnd();
        file.Write("AB", 2);
    }
    EXPECT_EQ(ReadWholeFile(path), "0123456789AB");
    {
        CFile file(path.c_str(), kWrite | CFile::modeCreate);
        EXPECT_EQ(file.GetLength(), 0u);
        file.Write("xyz", 3);
    }
    EXPECT_EQ(ReadWholeFile(path), "xyz");
}

TEST(File, NoTruncateCreatesAMissingFile) {
    CTempFolder folder;
    std::string path = folder.File("fresh.bin");
    {
        CFile file(path.c_str(),
                   kWrite | CFile::modeCreate | CFile::modeNoTruncate | CFile::shareExclusive);
        file.Write("hi", 2);
    }
    EXPECT_EQ(ReadWholeFile(path), "hi");
}

TEST(File, WithoutModeCreateAMissingFileIsNotMade) {
    CTempFolder folder;
    std::string path = folder.File("none.bin");
    CFile file;
    OpenResult r = TryOpen(file, path, kWrite | CFile::modeNoTruncate);
    EXPECT_EQ(r.cause, CFileException::fileNotFound);
    EXPECT_FALSE(FileExists(path));
}

// ---------------------------------------------------------------------------
// Reading, writing, positions

TEST(File, WritesAndReadsBack) {
    CTempFolder folder;
    std::string path = folder.File("rw.bin");
    CFile file(path.c_str(), kReadWrite | CFile::modeCreate | CFile::typeBinary);
    EXPECT_FALSE(file.m_hFile == CFile::hFileNull);
    EXPECT_TRUE(file.m_hFile != CFile::hFileNull);
    EXPECT_GE(file.GetUnixFd(), 0);
    const char data[] = "0123456789abcdef";
    file.Write(data, 16);
    EXPECT_EQ(file.GetPosition(), 16u);
    EXPECT_EQ(file.GetLength(), 16u);
    file.SeekToBegin();
    char buffer[32] = {};
    EXPECT_EQ(file.Read(buffer, 4), 4u);
    EXPECT_EQ(std::string(buffer, 4), "0123");
    EXPECT_EQ(file.Seek(2, CFile::current), 6u);
    EXPECT_EQ(file.Read(buffer, 2), 2u);
    EXPECT_EQ(std::string(buffer, 2), "67");
    EXPECT_EQ(file.Seek(-3, CFile::end), 13u);
    EXPECT_EQ(file.Read(buffer, 3), 3u);
    EXPECT_EQ(std::string(buffer, 3), "def");
    EXPECT_EQ(file.SeekToEnd(), 16u);
    EXPECT_EQ(file.Read(buffer, 0), 0u);
    file.Close();
    EXPECT_EQ(ReadWholeFile(path), "0123456789abcdef");
}

TEST(File, ReadingPastTheEndReturnsFewerBytesNeverAnError) {
    CTempFolder folder;
    std::string path = folder.File("short.bin");
    ASSERT_TRUE(WriteWholeFile(path, "12345"));
    CFile file(path.c_str(), kRead | CFile::shareDenyWrite);
    char buffer[1440] = {};
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 5u);
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);
    file.Seek(100, CFile::begin);
    EXPECT_EQ(file.Read(buffer, 10), 0u);
}

TEST(File, SeekingBeforeTheStartIsBadSeek) {
    CTempFolder folder;
    std::string path = folder.File("seek.bin");
    ASSERT_TRUE(WriteWholeFile(path, "12345"));
    CFile file(path.c_str(), kRead);
    CFileException* e = CatchFile([&] { file.Seek(-1, CFile::begin); });
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->m_cause, CFileException::badSeek);
    EXPECT_EQ(e->m_lOsError, ERROR_NEGATIVE_SEEK);
    e->Delete();
    e = CatchFile([&] { file.Seek(-6, CFile::end); });
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->m_cause, CFileException::badSeek);
    e->Delete();
}

TEST(File, WritingBeyondTheEndFillsTheGapWithZeros) {
    CTempFolder folder;
    std::string path = folder.File("gap.bin");
    {
        CFile file(path.c_str(), kWrite | CFile::modeCreate);
        file.Write("ab", 2);
        EXPECT_EQ(file.Seek(5, CFile::begin), 5u);
        file.Write("z", 1);
    }
    EXPECT_EQ(ReadWholeFile(path), std::string("ab\0\0\0z", 6));
}

TEST(File, SetLengthTruncatesOrExtendsAndMovesThePosition) {
    CTempFolder folder;
    std::string path = folder.File("len.bin");
    CFile file(path.c_str(), kReadWrite | CFile::modeCreate);
    file.Write("0123456789", 10);
    file.SetLength(4);
    EXPECT_EQ(file.GetLength(), 4u);
    EXPECT_EQ(file.GetPosition(), 4u);
    file.SetLength(6);
    EXPECT_EQ(file.GetLength(), 6u);
    EXPECT_EQ(file.GetPosition(), 6u);
    file.SeekToBegin();
    char buffer[8] = {};
    EXPECT_EQ(file.Read(buffer, 8), 6u);
    EXPECT_EQ(std::string(buffer, 6), std::string("0123\0\0", 6));
}

TEST(File, AccessIsCheckedAsWin32Does) {
    CTempFolder folder;
    std::string path = folder.File("acc.bin");
    ASSERT_TRUE(WriteWholeFile(path, "abc"));
    {
        CFile file(path.c_str(), kRead | CFile::shareDenyNone);
        CFileException* e = CatchFile([&] { file.Write("x", 1); });
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->m_cause, CFileException::accessDenied);
        EXPECT_EQ(e->m_lOsError, ERROR_ACCESS_DENIED);
        e->Delete();
        e = CatchFile([&] { file.SetLength(1); });
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->m_cause, CFileException::accessDenied);
        e->Delete();
        // Windows refuses FlushFileBuffers on a handle without write access.
        e = CatchFile([&] { file.Flush(); });
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->m_cause, CFileException::accessDenied);
        e->Delete();
    }
    {
        CFile file(path.c_str(), kWrite | CFile::shareDenyNone);
        char c;
        CFileException* e = CatchFile([&] { file.Read(&c, 1); });
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->m_cause, CFileException::accessDenied);
        e->Delete();
        file.Write("Z", 1);
        file.Flush();
    }
    EXPECT_EQ(ReadWholeFile(path), "Zbc");
}

TEST(File, PathsNamesAndTitles) {
    CTempFolder folder;
    std::string path = folder.File("Call 01.Rec.zel");
    ASSERT_TRUE(WriteWholeFile(path, "x"));
    char saved[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, saved);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));
    {
        CFile file("call 01.rec.ZEL", kRead);
        // The full path of the name as given (case as given).
        EXPECT_STREQ(file.GetFilePath(), folder.File("call 01.rec.ZEL").c_str());
        EXPECT_STREQ(file.GetFileName(), "call 01.rec.ZEL");
        EXPECT_STREQ(file.GetFileTitle(), "call 01.rec");
        char buffer[4] = {};
        EXPECT_EQ(file.Read(buffer, 4), 1u);
        file.Close();
        EXPECT_TRUE(file.GetFilePath().IsEmpty());
    }
    SetCurrentDirectoryA(saved);
}

TEST(File, CloseAbortAndReopen) {
    CTempFolder folder;
    std::string a = folder.File("a.bin");
    std::string b = folder.File("b.bin");
    ASSERT_TRUE(WriteWholeFile(a, "A"));
    ASSERT_TRUE(WriteWholeFile(b, "BB"));
    CFile file;
    EXPECT_TRUE(file.m_hFile == CFile::hFileNull);
    file.Close(); // closed: nothing
    file.Abort();
    ASSERT_TRUE(file.Open(a.c_str(), kRead));
    // Opening again closes the first file.
    ASSERT_TRUE(file.Open(b.c_str(), kRead | CFile::shareExclusive));
    EXPECT_EQ(file.GetLength(), 2u);
    CFile other;
    EXPECT_TRUE(other.Open(a.c_str(), kRead | CFile::shareExclusive));
    file.Abort();
    EXPECT_TRUE(file.m_hFile == CFile::hFileNull);
    EXPECT_TRUE(other.Open(b.c_str(), kRead | CFile::shareExclusive));
}

TEST(File, DuplicateSharesThePosition) {
    CTempFolder folder;
    std::string path = folder.File("dup.bin");
    ASSERT_TRUE(WriteWholeFile(path, "abcdef"));
    CFile file(path.c_str(), kRead);
    CFile* copy = file.Duplicate();
    char c = 0;
    file.Read(&c, 1);
    EXPECT_EQ(copy->GetPosition(), 1u);
    copy->Read(&c, 1);
    EXPECT_EQ(c, 'b');
    EXPECT_STREQ(copy->GetFilePath(), file.GetFilePath());
    delete copy;
    file.Read(&c, 1);
    EXPECT_EQ(c, 'c');
}

TEST(File, WrapsAnOpenWin32Handle) {
    CTempFolder folder;
    std::string path = folder.File("h.bin");
    ASSERT_TRUE(WriteWholeFile(path, "handle"));
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    {
        CFile file(h);
        EXPECT_TRUE(file.m_hFile == h);
        EXPECT_EQ(file.GetOsHandle(), h);
        EXPECT_EQ(file.GetUnixFd(), -1);
        char buffer[8] = {};
        EXPECT_EQ(file.Read(buffer, 8), 6u);
        EXPECT_EQ(file.GetLength(), 6u);
    }
    // Not closed by the destructor.
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_BEGIN), 0u);
    EXPECT_TRUE(CloseHandle(h));
}

TEST(File, GivesAWin32HandleForFileMappings) {
    CTempFolder folder;
    std::string path = folder.File("map.bin");
    ASSERT_TRUE(WriteWholeFile(path, "mapped bytes"));
    CFile file(path.c_str(), kReadWrite | CFile::modeNoTruncate | CFile::shareDenyWrite);
    HANDLE h = file;
    ASSERT_NE(h, CFile::hFileNull);
    EXPECT_EQ(file.GetOsHandle(), h); // made once
    HANDLE mapping = CreateFileMappingA(h, nullptr, PAGE_READWRITE, 0, 0, "");
    ASSERT_NE(mapping, nullptr);
    char* view = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(std::string(view, 12), "mapped bytes");
    view[0] = 'M';
    UnmapViewOfFile(view);
    CloseHandle(mapping);
    char c = 0;
    file.SeekToBegin();
    file.Read(&c, 1);
    EXPECT_EQ(c, 'M');
    // The Win32 handle shares the position.
    EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_CURRENT), 1u);
    file.Close();
    EXPECT_EQ(ReadWholeFile(path), "Mapped bytes");
}

TEST(File, PathsWithoutAUnixFormGoThroughWin32) {
    CFile file;
    ASSERT_TRUE(file.Open("NUL", kReadWrite | CFile::shareDenyNone));
    EXPECT_EQ(file.GetUnixFd(), -1);
    EXPECT_NE(file.GetOsHandle(), CFile::hFileNull);
    file.Write("discarded", 9);
    char buffer[4];
    EXPECT_EQ(file.Read(buffer, 4), 0u);
    file.Close();
    EXPECT_TRUE(file.m_hFile == CFile::hFileNull);
}

namespace {

// Entries of a folder, without "." and "..".
std::vector<std::string> FolderEntries(const CTempFolder& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(folder.File("*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (std::strcmp(found.cFileName, ".") != 0 && std::strcmp(found.cFileName, "..") != 0)
            names.push_back(found.cFileName);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

// A name in the folder of the last open is opened where it lies; one that is not
// there as written still reaches what Wine's lookup finds.
TEST(File, NamesBesideTheLastOpenOpenAsWineFindsThem) {
    struct Case {
        const char* onDisk; // a file holding "data"; a trailing '\\' makes a folder
        const char* opened;
        UINT flags;
        int cause; // CFileException::none when the open succeeds
        std::vector<std::string> entriesAfter;
    };
    const UINT createKeep = kWrite | CFile::modeCreate | CFile::modeNoTruncate;
    const Case cases[] = {
        {"Calls.ZEL",
         "calls.zel",
         kRead | CFile::shareDenyWrite,
         CFileException::none,
         {"Calls.ZEL", "neighbour.bin"}},
        {"Calls.ZEL",
         "CALLS.zel",
         createKeep,
         CFileException::none,
         {"Calls.ZEL", "neighbour.bin"}},
        {nullptr,
         "New.zel",
         kWrite | CFile::modeCreate,
         CFileException::none,
         {"New.zel", "neighbour.bin"}},
        {nullptr, "missing.zel", kRead, CFileException::fileNotFound, {"neighbour.bin"}},
        {"Sub\\", "Sub", kRead, CFileException::accessDenied, {"Sub", "neighbour.bin"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.opened);
        CTempFolder folder;
        ASSERT_TRUE(WriteWholeFile(folder.File("neighbour.bin"), "n"));
        const std::string onDisk = c.onDisk ? c.onDisk : "";
        if (!onDisk.empty() && onDisk.back() == '\\') {
            ASSERT_TRUE(CreateDirectoryA(folder.File(onDisk).c_str(), nullptr));
        } else if (!onDisk.empty()) {
            ASSERT_TRUE(WriteWholeFile(folder.File(onDisk), "data"));
        }
        CFile neighbour(folder.File("neighbour.bin").c_str(), kRead | CFile::shareDenyWrite);
        CFile file;
        OpenResult r = TryOpen(file, folder.File(c.opened), c.flags);
        EXPECT_EQ(r.cause, c.cause);
        if (r.ok && (c.flags & 3) == kRead) {
            char text[8] = {};
            EXPECT_EQ(file.Read(text, sizeof text), 4u);
            EXPECT_STREQ(text, "data");
        }
        file.Abort();
        neighbour.Close();
        EXPECT_EQ(FolderEntries(folder), c.entriesAfter);
        if (c.onDisk && onDisk.back() != '\\') {
            EXPECT_EQ(ReadWholeFile(folder.File(onDisk)), "data");
        }
    }
}

// A folder renamed after an open in it no longer stands for its old name: the
// old name's files are the ones of the folder that now bears it.
TEST(File, ANameOfARenamedFolderOpensWhatItNamesNow) {
    CTempFolder root;
    ASSERT_TRUE(CreateDirectoryA(root.File("Calls").c_str(), nullptr));
    ASSERT_TRUE(WriteWholeFile(root.File("Calls\\a.zel"), "old"));
    { CFile file(root.File("Calls\\a.zel").c_str(), kRead | CFile::shareDenyWrite); }
    ASSERT_TRUE(MoveFileA(root.File("Calls").c_str(), root.File("Archived").c_str()));
    ASSERT_TRUE(CreateDirectoryA(root.File("calls").c_str(), nullptr));
    ASSERT_TRUE(WriteWholeFile(root.File("calls\\a.zel"), "new"));
    CFile file(root.File("Calls\\a.zel").c_str(), kRead | CFile::shareDenyWrite);
    char text[4] = {};
    EXPECT_EQ(file.Read(text, 3), 3u);
    EXPECT_STREQ(text, "new");
}

TEST(File, FilesAreSharedWithWin32Readers) {
    CTempFolder folder;
    std::string path = folder.File("shared.txt");
    CFile file(path.c_str(), kWrite | CFile::modeCreate | CFile::shareDenyWrite);
    file.Write("visible", 7);
    EXPECT_EQ(ReadWholeFile(path), "visible"); // before Close: no user-space buffering
}

// ---------------------------------------------------------------------------
// Status, rename, remove

TEST(File, StatusOfPathsAndOpenFiles) {
    CTempFolder folder;
    std::string path = folder.File("st.bin");
    ASSERT_TRUE(WriteWholeFile(path, "12345"));
    CFileStatus status;
    ASSERT_TRUE(CFile::GetStatus(path.c_str(), status));
    EXPECT_EQ(status.m_size, 5u);
    EXPECT_EQ(status.m_attribute & CFile::directory, 0);
    EXPECT_STREQ(status.m_szFullName, path.c_str());
    EXPECT_NE(status.m_mtime.dwHighDateTime, 0u);

    std::string dir = folder.Path().substr(0, folder.Path().size() - 1);
    ASSERT_TRUE(CFile::GetStatus(dir.c_str(), status));
    EXPECT_NE(status.m_attribute & CFile::directory, 0);
    // As FindFirstFile: no folder with a trailing separator; wildcards find a match.
    EXPECT_FALSE(CFile::GetStatus(folder.Path().c_str(), status));
    EXPECT_TRUE(CFile::GetStatus(folder.File("*.bin").c_str(), status));
    EXPECT_EQ(status.m_size, 5u);
    EXPECT_FALSE(CFile::GetStatus(folder.File("none").c_str(), status));

    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(CFile::GetStatus(path.c_str(), status));
    EXPECT_NE(status.m_attribute & CFile::readOnly, 0);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);

    CFile file(path.c_str(), kReadWrite);
    file.Write("abcdefg", 7);
    ASSERT_TRUE(file.GetStatus(status));
    EXPECT_EQ(status.m_size, 7u);
    EXPECT_STREQ(status.m_szFullName, path.c_str());
}

TEST(File, RemoveAndRename) {
    CTempFolder folder;
    std::string a = folder.File("a.bin");
    std::string b = folder.File("b.bin");
    ASSERT_TRUE(WriteWholeFile(a, "A"));
    CFile::Rename(a.c_str(), b.c_str());
    EXPECT_FALSE(FileExists(a));
    EXPECT_EQ(ReadWholeFile(b), "A");
    ASSERT_TRUE(WriteWholeFile(a, "A2"));
    CFileException* e = CatchFile([&] { CFile::Rename(a.c_str(), b.c_str()); });
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->m_cause, CFileException::accessDenied); // the target exists
    e->Delete();
    CFile::Remove(b.c_str());
    EXPECT_FALSE(FileExists(b));
    e = CatchFile([&] { CFile::Remove(b.c_str()); });
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->m_cause, CFileException::fileNotFound);
    EXPECT_STREQ(e->m_strFileName, b.c_str());
    e->Delete();
}

TEST(File, RemoveAndRenameFailWhileTheFileIsOpen) {
    CTempFolder folder;
    std::string path = folder.File("open.bin");
    ASSERT_TRUE(WriteWholeFile(path, "x"));
    {
        CFile file(path.c_str(), kRead | CFile::shareDenyNone);
        CFileException* e = CatchFile([&] { CFile::Remove(path.c_str()); });
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->m_cause, CFileException::sharingViolation);
        EXPECT_EQ(e->m_lOsError, ERROR_SHARING_VIOLATION);
        e->Delete();
        e = CatchFile([&] { CFile::Rename(path.c_str(), folder.File("other.bin").c_str()); });
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->m_cause, CFileException::sharingViolation);
        e->Delete();
    }
    CFile::Remove(path.c_str());
    EXPECT_FALSE(FileExists(path));
}

// ---------------------------------------------------------------------------
// Sharing

namespace {

// Whether a second open with flags b succeeds while a first open with flags a
// holds the file.
bool SecondOpenSucceeds(const std::string& path, UINT a, UINT b, int* pCause = nullptr) {
    CFile first;
    EXPECT_TRUE(first.Open(path.c_str(), a));
    CFile second;
    OpenResult r = TryOpen(second, path, b);
    if (pCause)
        *pCause = r.cause;
    if (!r.ok) {
        EXPECT_EQ(r.cause, CFileException::sharingViolation);
        EXPECT_EQ(r.osError, ERROR_SHARING_VIOLATION);
    }
    return r.ok != FALSE;
}

} // namespace

TEST(FileSharing, FollowsTheWin32Rules) {
    CTempFolder folder;
    std::string path = folder.File("share.bin");
    ASSERT_TRUE(WriteWholeFile(path, "data"));
    const UINT denyWrite = CFile::shareDenyWrite, denyNone = CFile::shareDenyNone,
               denyRead = CFile::shareDenyRead, exclusive = CFile::shareExclusive;
    // Readers that deny writing share with each other, not with writers.
    EXPECT_TRUE(SecondOpenSucceeds(path, kRead | denyWrite, kRead | denyWrite));
    EXPECT_FALSE(SecondOpenSucceeds(path, kRead | denyWrite, kReadWrite | denyNone));
    EXPECT_FALSE(SecondOpenSucceeds(path, kRead | denyWrite, kWrite | denyNone));
    // ... and a later open may not deny what an earlier one does.
    EXPECT_FALSE(SecondOpenSucceeds(path, kReadWrite | denyNone, kRead | denyWrite));
    EXPECT_TRUE(SecondOpenSucceeds(path, kReadWrite | denyNone, kRead | denyNone));
    EXPECT_TRUE(SecondOpenSucceeds(path, kWrite | denyNone, kWrite | denyNone));
    // Deny read.
    EXPECT_FALSE(SecondOpenSucceeds(path, kWrite | denyRead, kRead | denyNone));
    EXPECT_TRUE(SecondOpenSucceeds(path, kWrite | denyRead, kWrite | denyNone));
    EXPECT_FALSE(SecondOpenSucceeds(path, kRead | denyNone, kWrite | denyRead));
    // Exclusive (and compat, which the framework makes exclusive).
    EXPECT_FALSE(SecondOpenSucceeds(path, kRead | exclusive, kRead | denyNone));
    EXPECT_FALSE(SecondOpenSucceeds(path, kRead | denyNone, kRead | exclusive));
    EXPECT_FALSE(SecondOpenSucceeds(path, kRead, kRead | denyNone));
    EXPECT_FALSE(SecondOpenSucceeds(path, kRead | denyNone, kRead));
    // Readers and writers that deny writing.
    EXPECT_FALSE(SecondOpenSucceeds(path, kReadWrite | denyWrite, kRead | denyWrite));
    EXPECT_TRUE(SecondOpenSucceeds(path, kReadWrite | denyWrite, kRead | denyNone));
    EXPECT_TRUE(SecondOpenSucceeds(path, kRead | denyNone, kReadWrite | denyWrite));
    EXPECT_FALSE(SecondOpenSucceeds(path, kRead | denyRead, kRead | denyWrite));
    EXPECT_TRUE(SecondOpenSucceeds(path, kWrite | denyRead, kWrite | denyRead));
    EXPECT_FALSE(SecondOpenSucceeds(path, kRead | exclusive, kWrite | denyNone));
    // The ZIP storage's opens (0x1002 / 0x2002 / 0x2000, each with share-deny-write).
    EXPECT_FALSE(SecondOpenSucceeds(path, 0x2000 | denyWrite, 0x2002 | denyWrite));
    EXPECT_TRUE(SecondOpenSucceeds(path, 0x2000 | denyWrite, 0x2000 | denyWrite));
}

TEST(FileSharing, AConflictingCreateDoesNotTruncate) {
    CTempFolder folder;
    std::string path = folder.File("keep.bin");
    ASSERT_TRUE(WriteWholeFile(path, "precious"));
    CFile holder(path.c_str(), kRead | CFile::shareDenyWrite);
    CFile other;
    OpenResult r = TryOpen(other, path, kWrite | CFile::modeCreate | CFile::shareDenyNone);
    EXPECT_EQ(r.cause, CFileException::sharingViolation);
    EXPECT_EQ(holder.GetLength(), 8u);
    EXPECT_EQ(ReadWholeFile(path), "precious");
}

TEST(FileSharing, EndsWithClose) {
    CTempFolder folder;
    std::string path = folder.File("end.bin");
    ASSERT_TRUE(WriteWholeFile(path, "x"));
    CFile first(path.c_str(), kRead | CFile::shareExclusive);
    CFile second;
    EXPECT_FALSE(second.Open(path.c_str(), kRead | CFile::shareDenyNone));
    first.Close();
    EXPECT_TRUE(second.Open(path.c_str(), kRead | CFile::shareDenyNone));
    // A duplicate keeps the sharing until both are closed.
    CFile* copy = second.Duplicate();
    second.Close();
    CFile third;
    EXPECT_FALSE(third.Open(path.c_str(), kRead | CFile::shareExclusive));
    delete copy;
    EXPECT_TRUE(third.Open(path.c_str(), kRead | CFile::shareExclusive));
}

namespace {
struct ThreadOpen {
    std::string path;
    UINT flags;
    int cause;
    BOOL ok;
};
DWORD WINAPI OpenOnThread(void* p) {
    ThreadOpen* t = static_cast<ThreadOpen*>(p);
    CFile file;
    CFileException error;
    t->ok = file.Open(t->path.c_str(), t->flags, &error);
    t->cause = error.m_cause;
    return 0;
}
} // namespace

TEST(FileSharing, HoldsBetweenThreads) {
    CTempFolder folder;
    std::string path = folder.File("threads.bin");
    ASSERT_TRUE(WriteWholeFile(path, "x"));
    CFile holder(path.c_str(), kReadWrite | CFile::shareDenyWrite);
    ThreadOpen t{path, kWrite | CFile::shareDenyNone, 0, TRUE};
    HANDLE thread = CreateThread(nullptr, 0, OpenOnThread, &t, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    EXPECT_FALSE(t.ok);
    EXPECT_EQ(t.cause, CFileException::sharingViolation);
    t = ThreadOpen{path, kRead | CFile::shareDenyNone, 0, FALSE};
    thread = CreateThread(nullptr, 0, OpenOnThread, &t, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    EXPECT_TRUE(t.ok);
}

// The other process of HoldsBetweenProcesses: started by that test with the
// variable ZM_FILE_CHILD ("path|flags|ready event|release event"), it opens the
// file, signals the ready event and holds the file until the release event.
TEST(FileSharingChild, DISABLED_HoldOpen) {
    char spec[2048];
    DWORD n = GetEnvironmentVariableA("ZM_FILE_CHILD", spec, sizeof spec);
    if (n == 0 || n >= sizeof spec)
        GTEST_SKIP() << "run by FileSharing.HoldsBetweenProcesses only";
    std::string s(spec);
    size_t p1 = s.find('|'), p2 = s.find('|', p1 + 1), p3 = s.find('|', p2 + 1);
    std::string path = s.substr(0, p1);
    UINT flags = static_cast<UINT>(std::strtoul(s.substr(p1 + 1, p2 - p1 - 1).c_str(), nullptr, 0));
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, s.substr(p2 + 1, p3 - p2 - 1).c_str());
    HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, s.substr(p3 + 1).c_str());
    ASSERT_NE(ready, nullptr);
    ASSERT_NE(release, nullptr);
    CFile file(path.c_str(), flags);
    SetEvent(ready);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(release, kChildTimeoutMs));
    CloseHandle(ready);
    CloseHandle(release);
}

TEST(FileSharing, HoldsBetweenProcesses) {
    CTempFolder folder;
    std::string path = folder.File("process.bin");
    ASSERT_TRUE(WriteWholeFile(path, "x"));
    char names[64];
    wsprintfA(names, "zm-file-child-%lx-%lx", GetCurrentProcessId(), GetTickCount());
    const std::string readyName = std::string(names) + "-ready";
    const std::string releaseName = std::string(names) + "-release";
    // Lets the child go (also when an assertion ends the test early) and checks
    // that its test case ran and passed.
    struct Child {
        HANDLE ready;
        HANDLE release;
        std::string report;
        PROCESS_INFORMATION pi = {};
        ::testing::AssertionResult Finish() {
            if (pi.hProcess == nullptr)
                return ::testing::AssertionFailure() << "no child";
            SetEvent(release);
            const bool ended = WaitForSingleObject(pi.hProcess, kChildTimeoutMs) == WAIT_OBJECT_0;
            DWORD code = 1;
            if (ended)
                GetExitCodeProcess(pi.hProcess, &code);
            else
                TerminateProcess(pi.hProcess, 2);
            CloseHandle(pi.hThread);
            CloseHandle(pi.hProcess);
            pi.hProcess = nullptr;
            if (!ended)
                return ::testing::AssertionFailure() << "the child did not end";
            if (code != 0)
                return ::testing::AssertionFailure() << "the child ended with " << code;
            return ChildTestsPassed(report, 1);
        }
        ~Child() {
            if (pi.hProcess)
                Finish();
            CloseHandle(ready);
            CloseHandle(release);
        }
    } child{CreateEventA(nullptr, TRUE, FALSE, readyName.c_str()),
            CreateEventA(nullptr, TRUE, FALSE, releaseName.c_str()), folder.File("child.json")};
    ASSERT_NE(child.ready, nullptr);
    ASSERT_NE(child.release, nullptr);
    std::string spec = path + "|" + std::to_string(kRead | CFile::shareDenyWrite) + "|" +
                       readyName + "|" + releaseName;
    SetEnvironmentVariableA("ZM_FILE_CHILD", spec.c_str());
    std::string command = ChildTestCommand("FileSharingChild.DISABLED_HoldOpen", child.report);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    const BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                        nullptr, &si, &child.pi);
    SetEnvironmentVariableA("ZM_FILE_CHILD", nullptr);
    ASSERT_TRUE(started);
    // The child signals once it holds the file, or ends without it.
    const HANDLE readyOrEnded[] = {child.ready, child.pi.hProcess};
    ASSERT_EQ(WAIT_OBJECT_0, WaitForMultipleObjects(2, readyOrEnded, FALSE, kChildTimeoutMs))
        << "the child neither opened the file nor ended";

    CFile writer;
    OpenResult r = TryOpen(writer, path, kWrite | CFile::shareDenyNone);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.cause, CFileException::sharingViolation);
    CFile reader;
    EXPECT_TRUE(reader.Open(path.c_str(), kRead | CFile::shareDenyWrite));
    reader.Close();
    CFileException* e = CatchFile([&] { CFile::Remove(path.c_str()); });
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->m_cause, CFileException::sharingViolation);
    e->Delete();

    EXPECT_TRUE(child.Finish());
    EXPECT_TRUE(writer.Open(path.c_str(), kWrite | CFile::shareExclusive));
}

// ---------------------------------------------------------------------------
// CMemFile

namespace {
// Exposes the buffer size that the grow step decides.
class CProbeMemFile : public CMemFile {
public:
    using CMemFile::CMemFile;
    SIZE_T BufferSize() const { return m_nBufferSize; }
};
} // namespace

TEST(MemFile, GrowsInStepsAndReadsBack) {
    CProbeMemFile file(1024);
    EXPECT_TRUE(file.IsKindOf(RUNTIME_CLASS(CFile)));
    EXPECT_TRUE(file.m_hFile == CFile::hFileNull);
    std::string data(1500, 'q');
    file.Write(data.data(), 1500);
    EXPECT_EQ(file.BufferSize(), 2048u);
    EXPECT_EQ(file.GetLength(), 1500u);
    EXPECT_EQ(file.GetPosition(), 1500u);
    file.SeekToBegin();
    std::string back(2000, '\0');
    EXPECT_EQ(file.Read(&back[0], 2000), 1500u);
    EXPECT_EQ(back.substr(0, 1500), data);
    EXPECT_EQ(file.Read(&back[0], 10), 0u);
    EXPECT_TRUE(file.GetFilePath().IsEmpty());
}

TEST(MemFile, SeeksLikeTheFramework) {
    CProbeMemFile file(1024);
    file.Write("abc", 3);
    // Past the end grows the buffer, not the length; reading there gives nothing.
    EXPECT_EQ(file.Seek(5000, CFile::begin), 5000u);
    EXPECT_EQ(file.BufferSize(), 5120u);
    EXPECT_EQ(file.GetLength(), 3u);
    char c;
    EXPECT_EQ(file.Read(&c, 1), 0u);
    // A write there fills the gap with zeros.
    file.Seek(5, CFile::begin);
    file.Write("z", 1);
    EXPECT_EQ(file.GetLength(), 6u);
    file.SeekToBegin();
    char buffer[6];
    file.Read(buffer, 6);
    EXPECT_EQ(std::string(buffer, 6), std::string("abc\0\0z", 6));
    // Before the start, and forwards from the end, are bad seeks.
    CFileException* e = CatchFile([&] { file.Seek(-10, CFile::begin); });
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->m_cause, CFileException::badSeek);
    e->Delete();
    e = CatchFile([&] { file.Seek(1, CFile::end); });
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->m_cause, CFileException::badSeek);
    e->Delete();
    EXPECT_EQ(file.Seek(-2, CFile::end), 4u);
    EXPECT_EQ(file.Seek(1, CFile::current), 5u);
}

TEST(MemFile, SetLengthDetachAndClose) {
    CMemFile file;
    file.Write("0123456789", 10);
    file.SetLength(4);
    EXPECT_EQ(file.GetLength(), 4u);
    EXPECT_EQ(file.GetPosition(), 4u);
    file.SetLength(6);
    file.SeekToBegin();
    char buffer[6];
    EXPECT_EQ(file.Read(buffer, 6), 6u);
    EXPECT_EQ(std::string(buffer, 6), std::string("0123\0\0", 6));
    BYTE* bytes = file.Detach();
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes[0], '0');
    std::free(bytes);
    EXPECT_EQ(file.GetLength(), 0u);
    file.Write("x", 1); // grows again after Detach
    EXPECT_EQ(file.GetLength(), 1u);
    file.Close();
    // A closed memory file cannot grow again.
    CException* e = CatchAny([&] { file.Write("y", 1); });
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CMemoryException)));
    e->Delete();
}

TEST(MemFile, WorksOnTheCallersBuffer) {
    BYTE bytes[8] = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'};
    {
        CMemFile file(bytes, 8);
        EXPECT_EQ(file.GetLength(), 8u);
        char buffer[3];
        file.Read(buffer, 3);
        EXPECT_EQ(std::string(buffer, 3), "abc");
        file.SeekToBegin();
        file.Write("XY", 2);
        file.Seek(0, CFile::end);
        CException* e = CatchAny([&] { file.Write("!", 1); });
        ASSERT_NE(e, nullptr);
        EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CMemoryException)));
        e->Delete();
    }
    EXPECT_EQ(bytes[0], 'X');
    {
        // With a grow step it starts empty and moves to memory of its own when it
        // outgrows the buffer, which it never frees.
        CMemFile file(bytes, 8, 16);
        EXPECT_EQ(file.GetLength(), 0u);
        file.Write("0123456789", 10);
        EXPECT_EQ(file.GetLength(), 10u);
        BYTE* own = file.Detach();
        EXPECT_NE(own, bytes);
        EXPECT_EQ(std::memcmp(own, "0123456789", 10), 0);
        std::free(own);
    }
    CException* e = CatchAny([] {
        CMemFile file;
        file.Duplicate();
    });
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CNotSupportedException)));
    e->Delete();
}
