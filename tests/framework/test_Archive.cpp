// Tests of Archive.h: CArchive's byte layout, buffering and errors over memory and
// disk files, the string length prefix, text lines, and CArchiveStream with the
// common controls' image-list streams.
#include "native/gtest.h"

#include "framework/Archive.h"
#include "framework/Exception.h"
#include "framework/File.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// The bytes of a memory file.
std::vector<BYTE> Bytes(CMemFile& file) {
    ULONGLONG position = file.GetPosition();
    std::vector<BYTE> bytes(static_cast<size_t>(file.GetLength()));
    file.SeekToBegin();
    if (!bytes.empty())
        file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    file.Seek(static_cast<LONGLONG>(position), CFile::begin);
    return bytes;
}

std::vector<BYTE> Hex(std::initializer_list<int> values) {
    std::vector<BYTE> bytes;
    for (int v : values)
        bytes.push_back(static_cast<BYTE>(v));
    return bytes;
}

// A memory file holding the given bytes, positioned at the start.
void Fill(CMemFile& file, const void* data, size_t size) {
    file.Write(data, static_cast<UINT>(size));
    file.SeekToBegin();
}

int ArchiveCause(CException* e) {
    CArchiveException* a = DYNAMIC_DOWNCAST(CArchiveException, e);
    int cause = a ? a->m_cause : -1;
    e->Delete();
    return cause;
}

template <class F> CException* CatchAny(F f) {
    try {
        f();
    } catch (CException* e) {
        return e;
    }
    return nullptr;
}

// The bytes that storing str produces.
std::vector<BYTE> StoredString(const CString& str) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << str;
    }
    return Bytes(file);
}

} // namespace

TEST(Archive, StoresNumbersLittleEndianWithTheSizeOfTheirType) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        EXPECT_TRUE(ar.IsStoring());
        EXPECT_FALSE(ar.IsLoading());
        EXPECT_EQ(ar.GetFile(), &file);
        ar << static_cast<BYTE>(0x12) << static_cast<WORD>(0x3456) << static_cast<LONG>(-2)
           << static_cast<DWORD>(0x89ABCDEF) << true << 'A' << static_cast<short>(-1)
           << static_cast<int>(0x01020304) << static_cast<UINT>(5)
           << static_cast<LONGLONG>(0x0102030405060708LL) << static_cast<ULONGLONG>(9) << 1.0f
           << 2.0 << static_cast<WCHAR>(0x263A);
        EXPECT_EQ(file.GetLength(), 0u); // still in the archive's buffer
    }
    std::vector<BYTE> expected =
        Hex({0x12, 0x56, 0x34, 0xFE, 0xFF, 0xFF, 0xFF, 0xEF, 0xCD, 0xAB, 0x89, 0x01, 0x41, 0xFF,
             0xFF, 0x04, 0x03, 0x02, 0x01, 0x05, 0x00, 0x00, 0x00, 0x08, 0x07, 0x06, 0x05, 0x04,
             0x03, 0x02, 0x01, 0x09, 0,    0,    0,    0,    0,    0,    0,    0x00, 0x00, 0x80,
             0x3F, 0,    0,    0,    0,    0,    0,    0x00, 0x40, 0x3A, 0x26});
    EXPECT_EQ(Bytes(file), expected);
}

TEST(Archive, LoadsWhatItStored) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << static_cast<BYTE>(200) << static_cast<WORD>(60000) << static_cast<LONG>(-123456)
           << static_cast<DWORD>(4000000000u) << false << static_cast<LONGLONG>(-5) << 3.25 << 0.5f
           << static_cast<signed char>(-3) << static_cast<unsigned long long>(7);
        ar << CString("hello") << CString();
    }
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    BYTE b;
    WORD w;
    LONG l;
    DWORD dw;
    bool flag = true;
    LONGLONG ll;
    double d;
    float f;
    signed char sc;
    unsigned long long ull;
    CString s1, s2("x");
    ar >> b >> w >> l >> dw >> flag >> ll >> d >> f >> sc >> ull >> s1 >> s2;
    EXPECT_EQ(b, 200);
    EXPECT_EQ(w, 60000);
    EXPECT_EQ(l, -123456);
    EXPECT_EQ(dw, 4000000000u);
    EXPECT_FALSE(flag);
    EXPECT_EQ(ll, -5);
    EXPECT_EQ(d, 3.25);
    EXPECT_EQ(f, 0.5f);
    EXPECT_EQ(sc, -3);
    EXPECT_EQ(ull, 7u);
    EXPECT_STREQ(s1, "hello");
    EXPECT_TRUE(s2.IsEmpty());
    EXPECT_TRUE(ar.IsBufferEmpty());
}

TEST(Archive, StringLengthPrefixHasTheFrameworksForms) {
    EXPECT_EQ(StoredString("ab"), Hex({0x02, 'a', 'b'}));
    EXPECT_EQ(StoredString(""), Hex({0x00}));
    std::vector<BYTE> bytes = StoredString(CString('x', 254));
    EXPECT_EQ(bytes.size(), 255u);
    EXPECT_EQ(bytes[0], 254);
    bytes = StoredString(CString('x', 255));
    ASSERT_EQ(bytes.size(), 258u);
    EXPECT_EQ(std::vector<BYTE>(bytes.begin(), bytes.begin() + 3), Hex({0xFF, 0xFF, 0x00}));
    bytes = StoredString(CString('x', 0xFFFD));
    EXPECT_EQ(std::vector<BYTE>(bytes.begin(), bytes.begin() + 3), Hex({0xFF, 0xFD, 0xFF}));
    bytes = StoredString(CString('x', 0xFFFE));
    ASSERT_EQ(bytes.size(), 0xFFFEu + 7);
    EXPECT_EQ(std::vector<BYTE>(bytes.begin(), bytes.begin() + 7),
              Hex({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}));

    // And they read back, long ones across many buffers.
    for (int length : {0, 1, 254, 255, 4095, 4096, 0xFFFD, 0xFFFE, 100000}) {
        CString text('q', length);
        if (length > 0)
            text.SetAt(length - 1, 'z');
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            ar << text << static_cast<LONG>(77);
        }
        file.SeekToBegin();
        CArchive ar(&file, CArchive::load);
        CString back;
        LONG after = 0;
        ar >> back >> after;
        EXPECT_EQ(back.GetLength(), length);
        EXPECT_TRUE(back == text) << length;
        EXPECT_EQ(after, 77);
    }
}

TEST(Archive, WideStringsAreReadAsAnsiText) {
    // 0xFF 0xFFFE tags wide text; then the usual prefix counts characters.
    std::vector<BYTE> bytes = Hex({0xFF, 0xFE, 0xFF, 0x03, 'a', 0, 'b', 0, 'c', 0});
    CMemFile file;
    Fill(file, bytes.data(), bytes.size());
    CArchive ar(&file, CArchive::load);
    CString text;
    ar >> text;
    EXPECT_STREQ(text, "abc");

    CMemFile stored;
    {
        CArchive out(&stored, CArchive::store);
        AfxWriteStringLength(out, 3, TRUE);
    }
    EXPECT_EQ(Bytes(stored), Hex({0xFF, 0xFE, 0xFF, 0x03}));
}

TEST(Archive, StoresTheSavedMenuStatesLayout) {
    // One level of "MenuItems": count; per item type, has-submenu, id, text.
    CMemFile file(1024);
    {
        CArchive ar(&file, CArchive::store, 4096);
        ar << static_cast<int>(2);
        ar << static_cast<UINT>(0) << static_cast<int>(0) << static_cast<int>(57600)
           << CString("&New");
        ar << static_cast<UINT>(0x800) << static_cast<int>(0) << static_cast<int>(0) << CString("");
    }
    std::vector<BYTE> expected =
        Hex({2,   0,   0,   0,   0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0xE1, 0, 0, 4,
             '&', 'N', 'e', 'w', 0, 8, 0, 0, 0, 0, 0, 0, 0,    0,    0, 0, 0});
    EXPECT_EQ(Bytes(file), expected);
}

TEST(Archive, ReadingPastTheEnd) {
    BYTE data[3] = {1, 2, 3};
    {
        CMemFile file;
        Fill(file, data, 3);
        CArchive ar(&file, CArchive::load);
        DWORD value = 0;
        EXPECT_EQ(ArchiveCause(CatchAny([&] { ar >> value; })), CArchiveException::endOfFile);
    }
    {
        CMemFile file;
        Fill(file, data, 3);
        CArchive ar(&file, CArchive::load);
        BYTE buffer[10] = {};
        EXPECT_EQ(ar.Read(buffer, 10), 3u);
        EXPECT_EQ(ar.Read(buffer, 10), 0u);
    }
    {
        // A string whose characters are cut off.
        BYTE cut[3] = {5, 'a', 'b'};
        CMemFile file;
        Fill(file, cut, 3);
        CArchive ar(&file, CArchive::load);
        CString text;
        EXPECT_EQ(ArchiveCause(CatchAny([&] { ar >> text; })), CArchiveException::endOfFile);
    }
}

TEST(Archive, DirectionIsChecked) {
    CMemFile file;
    CArchive storing(&file, CArchive::store);
    BYTE b;
    EXPECT_EQ(ArchiveCause(CatchAny([&] { storing >> b; })), CArchiveException::writeOnly);
    EXPECT_EQ(ArchiveCause(CatchAny([&] { storing.Read(&b, 1); })), CArchiveException::writeOnly);
    storing.Abort();
    CArchive loading(&file, CArchive::load);
    EXPECT_EQ(ArchiveCause(CatchAny([&] { loading << b; })), CArchiveException::readOnly);
    EXPECT_EQ(ArchiveCause(CatchAny([&] { loading.Write(&b, 1); })), CArchiveException::readOnly);
    EXPECT_EQ(ArchiveCause(CatchAny([&] { loading.WriteString("x"); })),
              CArchiveException::readOnly);
}

TEST(Archive, BlocksLargerThanTheBufferPassThrough) {
    std::vector<BYTE> data(10000);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<BYTE>(i * 7);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store, 128); // the smallest buffer
        ar << static_cast<BYTE>(1);
        ar.Write(data.data(), static_cast<UINT>(data.size()));
        for (int i = 0; i < 100; ++i)
            ar << i;
    }
    EXPECT_EQ(file.GetLength(), 1u + 10000 + 400);
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load, 16); // raised to 128
    BYTE first;
    ar >> first;
    std::vector<BYTE> back(data.size());
    EXPECT_EQ(ar.Read(back.data(), static_cast<UINT>(back.size())), back.size());
    EXPECT_EQ(back, data);
    for (int i = 0; i < 100; ++i) {
        int v = -1;
        ar >> v;
        ASSERT_EQ(v, i);
    }
}

TEST(Archive, AUserBufferIsUsed) {
    BYTE buffer[256];
    std::memset(buffer, 0, sizeof buffer);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store, sizeof buffer, buffer);
        ar << static_cast<DWORD>(0xCAFEBABE);
        EXPECT_EQ(buffer[0], 0xBE);
    }
    EXPECT_EQ(file.GetLength(), 4u);
}

TEST(Archive, FlushAndCloseRewindTheFileOverWhatWasReadAhead) {
    CTempFolder folder;
    std::string path = folder.File("ahead.bin");
    {
        CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite);
        std::vector<BYTE> data(100, 9);
        file.Write(data.data(), 100);
    }
    CFile file(path.c_str(), CFile::modeRead | CFile::shareDenyWrite);
    {
        CArchive ar(&file, CArchive::load);
        DWORD value;
        ar >> value;
        EXPECT_EQ(file.GetPosition(), 100u); // read ahead
        ar.Flush();
        EXPECT_EQ(file.GetPosition(), 4u);
        ar >> value;
        ar.Close();
        EXPECT_EQ(file.GetPosition(), 8u);
        EXPECT_EQ(ar.GetFile(), nullptr);
    }
    EXPECT_EQ(file.GetPosition(), 8u);
}

TEST(Archive, DestructionFlushesUnlessToldNotTo) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << static_cast<int>(1);
    }
    EXPECT_EQ(file.GetLength(), 4u);
    {
        CArchive ar(&file, CArchive::store | CArchive::bNoFlushOnDelete);
        ar << static_cast<int>(2);
    }
    EXPECT_EQ(file.GetLength(), 4u);
    {
        CArchive ar(&file, CArchive::store);
        ar << static_cast<int>(3);
        ar.Abort();
    }
    EXPECT_EQ(file.GetLength(), 4u);
    {
        CArchive ar(&file, CArchive::store);
        ar << static_cast<int>(4);
        ar.Flush();
        EXPECT_EQ(file.GetLength(), 8u);
    }
}

TEST(Archive, WritesAndReadsTextLines) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar.WriteString("<root>\r\n");
        ar.WriteString("   <rec>C:\\calls\\a.zel</rec>\r\n");
        ar.WriteString("unix\nold mac\rlast");
    }
    std::vector<BYTE> bytes = Bytes(file);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
              "<root>\r\n   <rec>C:\\calls\\a.zel</rec>\r\nunix\nold mac\rlast");
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    CString line;
    ASSERT_TRUE(ar.ReadString(line));
    EXPECT_STREQ(line, "<root>");
    ASSERT_TRUE(ar.ReadString(line));
    EXPECT_STREQ(line, "   <rec>C:\\calls\\a.zel</rec>");
    ASSERT_TRUE(ar.ReadString(line));
    EXPECT_STREQ(line, "unix");
    ASSERT_TRUE(ar.ReadString(line));
    EXPECT_STREQ(line, "old mac");
    ASSERT_TRUE(ar.ReadString(line));
    EXPECT_STREQ(line, "last");
    EXPECT_FALSE(ar.ReadString(line));
    EXPECT_TRUE(line.IsEmpty());
}

TEST(Archive, ReadsLongLinesAndEmptyLines) {
    std::string text = std::string(128, 'a') + "\r\n\r\n" + std::string(5000, 'b') + "\n";
    CMemFile file;
    Fill(file, text.data(), text.size());
    CArchive ar(&file, CArchive::load, 128);
    CString line;
    ASSERT_TRUE(ar.ReadString(line));
    EXPECT_EQ(line.GetLength(), 128);
    ASSERT_TRUE(ar.ReadString(line));
    EXPECT_TRUE(line.IsEmpty());
    ASSERT_TRUE(ar.ReadString(line));
    EXPECT_EQ(line.GetLength(), 5000);
    EXPECT_FALSE(ar.ReadString(line));
}

TEST(Archive, ReadsLinesIntoABuffer) {
    std::string text = "abcdef\r\nxy\nz";
    CMemFile file;
    Fill(file, text.data(), text.size());
    CArchive ar(&file, CArchive::load);
    char buffer[16];
    ASSERT_NE(ar.ReadString(buffer, 4), nullptr); // at most four characters
    EXPECT_STREQ(buffer, "abcd");
    ASSERT_NE(ar.ReadString(buffer, 15), nullptr);
    EXPECT_STREQ(buffer, "ef");
    ASSERT_NE(ar.ReadString(buffer, static_cast<UINT>(-15)), nullptr); // keeps the '\n'
    EXPECT_STREQ(buffer, "xy\n");
    ASSERT_NE(ar.ReadString(buffer, 15), nullptr);
    EXPECT_STREQ(buffer, "z");
    EXPECT_EQ(ar.ReadString(buffer, 15), nullptr);
}

TEST(Archive, SerialisesADocumentFileOnDisk) {
    // The way the recording-list document writes and reads its file.
    CTempFolder folder;
    std::string path = folder.File("list.reclist");
    {
        CFile file(path.c_str(), CFile::modeCreate | CFile::modeReadWrite | CFile::shareExclusive);
        CArchive ar(&file, CArchive::store);
        EXPECT_STREQ(ar.GetFile()->GetFilePath(), path.c_str());
        ar.WriteString("<root>\r\n");
        ar.WriteString("</root>\r\n");
        ar.Close();
    }
    EXPECT_EQ(ReadWholeFile(path), "<root>\r\n</root>\r\n");
    CFile file(path.c_str(), CFile::modeRead | CFile::shareDenyWrite);
    CArchive ar(&file, CArchive::load);
    UINT length = static_cast<UINT>(ar.GetFile()->GetLength());
    std::vector<char> buffer(length + 1, '\0');
    EXPECT_EQ(ar.Read(buffer.data(), length), length);
    EXPECT_STREQ(buffer.data(), "<root>\r\n</root>\r\n");
}

TEST(Archive, FileErrorsPassThrough) {
    CTempFolder folder;
    std::string path = folder.File("ro.bin");
    { CFile file(path.c_str(), CFile::modeCreate | CFile::modeWrite); }
    CFile file(path.c_str(), CFile::modeRead);
    CArchive ar(&file, CArchive::store);
    ar << static_cast<int>(1);
    CException* e = CatchAny([&] { ar.Flush(); });
    ASSERT_NE(e, nullptr);
    CFileException* fe = DYNAMIC_DOWNCAST(CFileException, e);
    ASSERT_NE(fe, nullptr);
    EXPECT_EQ(fe->m_cause, CFileException::accessDenied);
    e->Delete();
    ar.Abort();
}

TEST(ArchiveStream, CarriesAnImageListThroughAMemoryFile) {
    // The shortcut bar's image streams: ImageList_Write into a memory file through
    // an archive (buffer 4096), ImageList_Read back.
    HIMAGELIST source = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 0);
    ASSERT_NE(source, nullptr);
    HICON icon = LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
    ASSERT_EQ(ImageList_AddIcon(source, icon), 0);
    CMemFile file(1024);
    {
        CArchive ar(&file, CArchive::store, 4096);
        CArchiveStream stream(&ar);
        ASSERT_TRUE(ImageList_Write(source, &stream));
    }
    ImageList_Destroy(source);
    EXPECT_GT(file.GetLength(), 100u);

    file.SeekToBegin();
    CArchive ar(&file, CArchive::load, 4096);
    CArchiveStream stream(&ar);
    HIMAGELIST back = ImageList_Read(&stream);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(back), 1);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(back, &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
    ImageList_Destroy(back);
}

TEST(ArchiveStream, QueryInterfaceAndSeek) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    CArchiveStream stream(&ar);
    void* p = nullptr;
    EXPECT_EQ(stream.QueryInterface(IID_IStream, &p), S_OK);
    EXPECT_EQ(p, static_cast<IStream*>(&stream));
    EXPECT_EQ(stream.QueryInterface(IID_IDispatch, &p), E_NOINTERFACE);
    ULONG written = 0;
    EXPECT_EQ(stream.Write("abcdef", 6, &written), S_OK);
    EXPECT_EQ(written, 6u);
    LARGE_INTEGER move;
    move.QuadPart = 2;
    ULARGE_INTEGER position;
    EXPECT_EQ(stream.Seek(move, STREAM_SEEK_SET, &position), S_OK); // flushes first
    EXPECT_EQ(position.QuadPart, 2u);
    EXPECT_EQ(stream.Write("X", 1, nullptr), S_OK);
    ar.Close();
    std::vector<BYTE> bytes = Bytes(file);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "abXdef");
}
