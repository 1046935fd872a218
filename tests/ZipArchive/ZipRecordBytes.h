// ZipRecordBytes.h: helpers of the entry-header tests: ZIP records as bytes
// (little-endian numbers, extra records, Unicode path and comment records,
// central records as another tool writes them) and a storage over memory.
#pragma once

#include "ZipCentralDir.h"
#include "ZipException.h"
#include "ZipFileHeader.h"
#include "ZipMemFile.h"
#include "ZipStorage.h"
#include "ZipTestFixtures.h"
#include "native/zlib.h"

#include <windows.h>

#include <cstdlib>
#include <string>

namespace ZipRecordBytes {

using ZipTestFixtures::Crc;
using ZipTestFixtures::MemBytes;
using ZipTestFixtures::ZipErrorOf;

// "50 4B 03 04" -> the bytes.
inline std::string Hex(const char* text) {
    std::string bytes;
    for (const char* p = text; *p;) {
        if (*p == ' ') {
            p++;
            continue;
        }
        bytes += char(strtoul(std::string(p, 2).c_str(), nullptr, 16));
        p += 2;
    }
    return bytes;
}

inline std::string Le16(unsigned u) {
    return std::string{char(u & 0xFF), char((u >> 8) & 0xFF)};
}

inline std::string Le32(unsigned u) {
    return Le16(u & 0xFFFF) + Le16(u >> 16);
}

inline std::string Record(WORD uID, const std::string& data) {
    return Le16(uID) + Le16(unsigned(data.size())) + data;
}

// A Unicode path (0x7075) or comment (0x6375) record: version 1, CRC-32 of the
// raw bytes it describes, the UTF-8 text.
inline std::string UnicodeRecord(WORD uID, const std::string& raw, const std::string& utf8,
                                 BYTE uVersion = 1) {
    return Record(uID, std::string(1, char(uVersion)) + Le32(Crc(raw)) + utf8);
}

inline std::string AnsiFromUtf8(const std::string& utf8) {
    wchar_t wide[512];
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide, 512);
    char ansi[1024];
    int m = WideCharToMultiByte(CP_ACP, 0, wide, n, ansi, sizeof(ansi), nullptr, nullptr);
    return std::string(ansi, size_t(m));
}

inline std::string OemFromUtf8(const std::string& utf8) {
    wchar_t wide[512];
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide, 512);
    char oem[1024];
    int m = WideCharToMultiByte(CP_OEMCP, 0, wide, n, oem, sizeof(oem), nullptr, nullptr);
    return std::string(oem, size_t(m));
}

inline constexpr char kMuellerUtf8[] = "M\xC3\xBCller.zel";

// A central record with the given fields, as another tool would write it.
struct SCentral {
    WORD madeBy = 0x0014;
    WORD flag = 0;
    WORD method = 8;
    DWORD crc = 0x11223344;
    DWORD comprSize = 10;
    DWORD uncomprSize = 20;
    DWORD externalAttr = 0x20;
    DWORD offset = 0;
    std::string name = "a.txt";
    std::string extra;
    std::string comment;

    std::string Bytes() const {
        return Hex("50 4B 01 02") + Le16(madeBy) + Le16(20) + Le16(flag) + Le16(method) +
               Le16(0x6E1F) + Le16(0x5865) + Le32(crc) + Le32(comprSize) + Le32(uncomprSize) +
               Le16(unsigned(name.size())) + Le16(unsigned(extra.size())) +
               Le16(unsigned(comment.size())) + Le16(0) + Le16(0) + Le32(externalAttr) +
               Le32(offset) + name + extra + comment;
    }
};

// A storage over memory, either being written or reading prepared bytes, and a
// central directory on it for the headers that read.
class CMemArchive {
public:
    CMemArchive() { m_storage.OpenOnFile(m_file, CZipStorage::zipCreate, false); }
    explicit CMemArchive(const std::string& bytes) {
        if (!bytes.empty())
            m_file.Write(bytes.data(), UINT(bytes.size()));
        m_storage.OpenOnFile(m_file, CZipStorage::zipOpen, false);
        m_storage.SetVolumeMode(0);
        m_dir.Init(nullptr, &m_storage);
    }
    ~CMemArchive() { m_storage.Close(false); }

    std::string Written() {
        m_storage.Flush();
        return MemBytes(m_file);
    }

    CZipMemFile m_file;
    CZipStorage m_storage;
    CZipCentralDir m_dir;
};

} // namespace ZipRecordBytes
