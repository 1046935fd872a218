// KWWav.cpp: WAV headers of exports and the RIFF reader of played WAV files.
#include "KWWav.h"

#include <cstring>

namespace {

const uint32_t kPcmFormatChunkSize = 16;
const uint32_t kGsmFormatChunkSize = 20;
const uint16_t kPcmFormatTag = 1; // WAVE_FORMAT_PCM
const uint16_t kMonoChannels = 1;
const uint16_t kPcmBitsPerSample = 16;
const uint16_t kGsmExtraBytes = 2; // the samples-per-block field
const uint32_t kFactChunkSize = 4;
const uint32_t kChunkHeaderSize = 8;   // four-character id and u32 size
const uint32_t kRiffPreambleSize = 12; // "RIFF", size, "WAVE"

void PutLE16(uint8_t* p, uint16_t value) {
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
}

void PutLE32(uint8_t* p, uint32_t value) {
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
    p[2] = static_cast<uint8_t>(value >> 16);
    p[3] = static_cast<uint8_t>(value >> 24);
}

uint16_t GetLE16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t GetLE32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

void PutId(uint8_t* p, const char* id) {
    memcpy(p, id, 4);
}

bool IsId(const uint8_t* p, const char* id) {
    return memcmp(p, id, 4) == 0;
}

} // namespace

CKWWav::CKWWav() {
    uint8_t* h = m_header;
    PutId(h + 0, "RIFF");
    PutId(h + 8, "WAVE");
    PutId(h + 12, "fmt ");
    PutLE32(h + 16, kPcmFormatChunkSize);
    PutLE16(h + 20, kPcmFormatTag);
    PutLE16(h + 22, kMonoChannels);
    PutLE32(h + 24, kSamplesPerSecond);
    PutLE32(h + 28, kSamplesPerSecond * kBytesPerSample);
    PutLE16(h + 32, kBytesPerSample);
    PutLE16(h + 34, kPcmBitsPerSample);
    PutId(h + 36, "data");
    SetDataSize(0);
}

bool CKWWav::SetDataSize(uint32_t dataSize) {
    if (dataSize > kMaxDataSize)
        return false;
    PutLE32(m_header + 4, 36 + dataSize);
    PutLE32(m_header + 40, dataSize);
    return true;
}

CKWGsmWav::CKWGsmWav() {
    uint8_t* h = m_header;
    PutId(h + 0, "RIFF");
    PutId(h + 8, "WAVE");
    PutId(h + 12, "fmt ");
    PutLE32(h + 16, kGsmFormatChunkSize);
    PutLE16(h + 20, kFormatTag);
    PutLE16(h + 22, kMonoChannels);
    PutLE32(h + 24, CKWWav::kSamplesPerSecond);
    PutLE32(h + 28, kBytesPerSecond);
    PutLE16(h + 32, kBlockAlign);
    PutLE16(h + 34, 0); // bits per sample: none for a compressed format
    PutLE16(h + 36, kGsmExtraBytes);
    PutLE16(h + 38, kSamplesPerBlock);
    PutId(h + 40, "fact");
    PutLE32(h + 44, kFactChunkSize);
    PutId(h + 52, "data");
    SetSizes(0, 0);
}

bool CKWGsmWav::SetSizes(uint32_t dataSize, uint32_t sampleCount) {
    if (dataSize > kMaxDataSize)
        return false;
    PutLE32(m_header + 4, dataSize + 52);
    PutLE32(m_header + 48, sampleCount);
    PutLE32(m_header + 56, dataSize);
    return true;
}

// Walks the chunks after "WAVE": "fmt " must come before "data" and describe
// the one form played; other chunks (fact, LIST, ...) are stepped over, each
// padded to an even size as RIFF asks.
bool FindPcmWavData(const uint8_t* file, uint32_t size, uint32_t* dataOffset,
                    uint32_t* dataLength) {
    if (!file || size < kRiffPreambleSize || !IsId(file, "RIFF") || !IsId(file + 8, "WAVE"))
        return false;
    bool formatOk = false;
    uint32_t pos = kRiffPreambleSize;
    while (size - pos >= kChunkHeaderSize) {
        const uint8_t* chunk = file + pos;
        const uint32_t length = GetLE32(chunk + 4);
        const uint32_t body = pos + kChunkHeaderSize;
        if (IsId(chunk, "data")) {
            if (!formatOk)
                return false;
            const uint32_t present = size - body;
            *dataOffset = body;
            *dataLength = length < present ? length : present;
            return true;
        }
        if (length > size - body)
            return false;
        if (IsId(chunk, "fmt ")) {
            if (length < kPcmFormatChunkSize)
                return false;
            const uint8_t* f = file + body;
            formatOk = GetLE16(f) == kPcmFormatTag && GetLE16(f + 2) == kMonoChannels &&
                       GetLE32(f + 4) == CKWWav::kSamplesPerSecond &&
                       GetLE16(f + 14) == kPcmBitsPerSample;
            if (!formatOk)
                return false;
        }
        const uint32_t padded = length + (length & 1);
        if (padded > size - body)
            return false;
        pos = body + padded;
    }
    return false;
}

void DescribePcmFormat(WAVEFORMATEX* format) {
    memset(format, 0, sizeof *format);
    format->wFormatTag = WAVE_FORMAT_PCM;
    format->nChannels = 1;
    format->nSamplesPerSec = CKWWav::kSamplesPerSecond;
    format->nAvgBytesPerSec = CKWWav::kSamplesPerSecond * CKWWav::kBytesPerSample;
    format->nBlockAlign = CKWWav::kBytesPerSample;
    format->wBitsPerSample = 8 * CKWWav::kBytesPerSample;
}
