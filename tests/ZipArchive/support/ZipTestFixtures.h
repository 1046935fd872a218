// ZipTestFixtures.h: small helpers the ZIP tests share: the cause of the
// exception a call raises, a memory file's bytes, deterministic noise, and
// the pieces of hand-built records (little-endian numbers, CRC, raw deflate).
#pragma once

#include "ZipException.h"
#include "ZipMemFile.h"
#include "framework/Exception.h"
#include "native/gtest.h"
#include "native/zlib.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace ZipTestFixtures {

const int kNoException = CZipException::noError;
const int kOtherException = -2;

// Runs f and answers the cause of the CZipException it threw, kNoException
// when nothing was thrown, kOtherException for any other framework exception.
template <class F> int ZipErrorOf(F f) {
    try {
        f();
    } catch (CZipException* e) {
        const int iCause = e->m_iCause;
        e->Delete();
        return iCause;
    } catch (CException* e) {
        e->Delete();
        return kOtherException;
    }
    return kNoException;
}

inline std::string MemBytes(const CZipMemFile& file) {
    return std::string(reinterpret_cast<const char*>(file.GetData()),
                       static_cast<size_t>(file.GetLength()));
}

// Writes the bytes into the memory file and goes back to its start.
inline void FillMem(CZipMemFile& file, const std::string& bytes) {
    if (!bytes.empty())
        file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    file.SeekToBegin();
}

// Bytes that deflate cannot shrink, the same for the same seed.
inline std::string Noise(size_t size, uint32_t seed) {
    std::string s(size, '\0');
    for (char& c : s) {
        seed = seed * 1664525u + 1013904223u;
        c = char(seed >> 24);
    }
    return s;
}

// An entry name as our classes list it on Windows: backslashes for slashes.
inline std::string Backslashed(std::string name) {
    for (char& c : name)
        c = c == '/' ? '\\' : c;
    return name;
}

// Names and bytes of every entry of the archive as our classes read them back;
// an entry whose reading does not close sound shows "<not read to its end>".
typedef std::vector<std::pair<std::string, std::string>> Listing;
Listing ReadBack(const std::string& path);

// Little-endian numbers appended to a record being built.
inline void Put16(std::string& s, uint32_t v) {
    s += char(v & 0xFF);
    s += char((v >> 8) & 0xFF);
}

inline void Put32(std::string& s, uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

inline void Put64(std::string& s, uint64_t v) {
    Put32(s, uint32_t(v));
    Put32(s, uint32_t(v >> 32));
}

inline uint32_t Crc(const std::string& bytes) {
    return uint32_t(crc32(0L, reinterpret_cast<const Bytef*>(bytes.data()), uInt(bytes.size())));
}

// The bytes deflated the way an entry stores them: no zlib header or trailer.
inline std::string RawDeflate(const std::string& bytes) {
    z_stream stream = {};
    EXPECT_EQ(Z_OK, deflateInit2(&stream, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY));
    std::string out(deflateBound(&stream, uLong(bytes.size())) + 16, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = uInt(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
    stream.avail_out = uInt(out.size());
    EXPECT_EQ(Z_STREAM_END, deflate(&stream, Z_FINISH));
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

} // namespace ZipTestFixtures
