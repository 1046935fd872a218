// KWAudioCodec.h: the codings of recorded audio, expanded to 16-bit signed samples
// (8000 per second, mono):
//   ALawDecode, MuLawDecode (and ...Into)  one byte per sample through a 256-entry table
//   ImaAdpcmState, ImaAdpcmDecodeBlock,   IMA ADPCM in 256-byte blocks of 504 samples
//   ImaAdpcmDecode
//   CKWGsmState, GsmDecodeFrame,          GSM 06.10 full-rate frames of 33 bytes and
//   GsmDecode, GsmEncodeFrame, GsmEncode  160 samples, through libgsm
//
// The whole-stream functions allocate their result with new[]; it belongs to the
// caller, who frees it with delete[]. They work on whole blocks and frames only: a
// trailing partial one is never read, and a stream longer than a 32-bit sample count
// can hold is cut to the whole blocks or frames that fit. No input makes them read past
// the byte or sample count they are given.
#pragma once

#include <gsm.h>

#include <cstdint>

// IMA ADPCM block: i16 predictor, i8 step index, one reserved byte, then 504 four-bit
// codes, low nibble first.
constexpr int32_t kImaAdpcmBlockBytes = 0x100; // 256
constexpr int32_t kImaAdpcmBlockSamples = 504;
constexpr int32_t kImaAdpcmHeaderBytes = 4;

// GSM 06.10 full-rate frame in libgsm's standard packing (not the 65-byte WAV pair).
constexpr int32_t kGsmFrameBytes = 33;
constexpr int32_t kGsmFrameSamples = 160;

// Expands count bytes of A-law (ITU-T G.711, to 16 bits) into a new array of count
// samples. Returns count; 0 with *samples null when there is nothing to decode or the
// array cannot be allocated.
int32_t ALawDecode(int16_t** samples, const uint8_t* data, int32_t count);

// As ALawDecode, through the recorders' own mu-law table: close to G.711 but not
// equal to it (the loudest code gives 32256, not 32124).
int32_t MuLawDecode(int16_t** samples, const uint8_t* data, int32_t count);

// As ALawDecode and MuLawDecode, into count samples the caller provides (a buffer
// reused block by block). samples and data must not overlap; nothing happens for a
// null pointer or a count below 1.
void ALawDecodeInto(int16_t* samples, const uint8_t* data, int32_t count);
void MuLawDecodeInto(int16_t* samples, const uint8_t* data, int32_t count);

// Decoder state left by a block. Every block starts again from its own header, so
// the state only reports where a block ended.
struct ImaAdpcmState {
    int16_t predictor = 0;
    int8_t stepIndex = 0;
};

// Decodes one 256-byte block into 504 samples. A header step index outside 0..88 is
// taken as the nearest end of that range. state may be null.
void ImaAdpcmDecodeBlock(int16_t* samples, const uint8_t* block, ImaAdpcmState* state);

// Sample count of size bytes of blocks: size / 256 * 504, whole blocks only. With
// both data and samples given it also allocates that many samples and decodes them;
// otherwise it only counts. 0 and *samples null when the allocation fails.
int32_t ImaAdpcmDecode(int16_t** samples, const uint8_t* data, int32_t size);

// One libgsm codec state, made the one way recordings use it: gsm_create with the
// option GSM_OPT_FAST set to 1. Debian's libgsm is built without the fast mode and
// ignores the option, so it decodes and encodes exactly. GSM is stateful across
// frames: one stream, one state.
class CKWGsmState {
public:
    CKWGsmState();
    ~CKWGsmState();
    CKWGsmState(const CKWGsmState&) = delete;
    CKWGsmState& operator=(const CKWGsmState&) = delete;

    bool IsValid() const { return m_gsm != nullptr; }
    gsm Handle() const { return m_gsm; }

private:
    gsm m_gsm; // owns; null when gsm_create failed
};

// Decodes one 33-byte frame into 160 samples. A frame that libgsm rejects (or a
// state that could not be made) yields 160 zeros and false. Without a state, one is
// made for this frame alone.
bool GsmDecodeFrame(int16_t* samples, const uint8_t* frame, CKWGsmState* state = nullptr);

// Sample count of size bytes of frames: size / 33 * 160, whole frames only. With
// both data and samples given it also allocates that many samples and decodes the
// frames through one state; otherwise it only counts. 0 and *samples null when the
// allocation fails.
int32_t GsmDecode(int16_t** samples, const uint8_t* data, int32_t size);

// Encodes 160 samples into one 33-byte frame. Without a state, one is made for this
// frame alone. False, with the frame zeroed, when no state could be made.
bool GsmEncodeFrame(uint8_t* frame, const int16_t* samples, CKWGsmState* state = nullptr);

// Byte count of count samples as frames: (count + 159) / 160 * 33; a last short frame
// is padded with zeros. With both samples and frames given it also allocates that many
// bytes and encodes through one state; otherwise it only counts. 0 and *frames null
// when the allocation fails.
int32_t GsmEncode(uint8_t** frames, const int16_t* samples, int32_t count);
