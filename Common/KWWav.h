// KWWav.h: the WAV file headers of exported recordings and the reader of the
// WAV files that the program plays:
//   CKWWav      the 44-byte header of 16-bit PCM, 8000 samples per second, mono
//   CKWGsmWav   the 60-byte header of GSM 6.10 (format tag 49, 65-byte blocks of
//               320 samples) with its fact chunk
//   FindPcmWavData  the data chunk of a RIFF file in the one PCM form played
//   DescribePcmFormat  that form as the wave-out device and the ACM take it
//
// All fields are little-endian. The header objects keep the bytes as they go to
// disk; their setters check that the sizes fit the 32-bit RIFF fields.
#pragma once

#include <windows.h>

#include <mmreg.h>

#include <cstdint>

class CKWWav {
public:
    static const uint32_t kHeaderSize = 0x2C; // 44
    static const uint32_t kSamplesPerSecond = 8000;
    static const uint32_t kBytesPerSample = 2;
    // Largest data chunk whose RIFF size (36 + data) still fits 32 bits.
    static const uint32_t kMaxDataSize = 0xFFFFFFFFu - 36;

    CKWWav();
    virtual ~CKWWav() = default;

    // Writes the data size and the RIFF size; false, with nothing changed, when
    // the RIFF size would not fit.
    bool SetDataSize(uint32_t dataSize);
    const uint8_t* GetBytes() const { return m_header; }

private:
    uint8_t m_header[kHeaderSize];
};

class CKWGsmWav {
public:
    static const uint32_t kHeaderSize = 0x3C; // 60
    static const uint16_t kFormatTag = 49;    // WAVE_FORMAT_GSM610
    static const uint32_t kBlockAlign = 65;
    static const uint32_t kSamplesPerBlock = 320;
    static const uint32_t kBytesPerSecond = 1625;
    static const uint32_t kMaxDataSize = 0xFFFFFFFFu - 52;

    CKWGsmWav();
    virtual ~CKWGsmWav() = default;

    // Data size (and RIFF size = data + 52) and the sample count of the fact
    // chunk; false, with nothing changed, when the RIFF size would not fit.
    bool SetSizes(uint32_t dataSize, uint32_t sampleCount);
    const uint8_t* GetBytes() const { return m_header; }

private:
    uint8_t m_header[kHeaderSize];
};

// Finds the data chunk of a RIFF WAVE file of 16-bit PCM, mono, 8000 samples per
// second, the form this program exports uncompressed. True with the chunk's
// offset and its length in bytes, cut to the bytes present in the file; false for
// anything else (no RIFF, another format, no data chunk, a chunk that runs past
// the file before the data). Never reads outside the size bytes given.
bool FindPcmWavData(const uint8_t* file, uint32_t size, uint32_t* dataOffset, uint32_t* dataLength);

// The form of a recording's samples, 16-bit PCM, 8000 per second, mono, as a
// format record for the wave-out device and the audio compression manager.
void DescribePcmFormat(WAVEFORMATEX* format);
