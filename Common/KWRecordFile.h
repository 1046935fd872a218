// KWRecordFile.h: CKWRecordFile, one opened recording decoded to 16-bit samples at
// 8000 per second, and CZELRecordFile, the kind the playback engine and the views
// hold.
//
// A-law, mu-law, WAV and headerless files are decoded inside Load. IMA ADPCM and
// GSM recordings get a decoder thread: Load returns as soon as the samples are
// allocated at their final length (zeros where nothing is decoded yet), and the
// player may read them at once.
//
// Threads: a recording belongs to the thread that loads it. Its decoder thread
// writes only the samples ahead of the decoded count, the decoded count and the
// decoding flag, and frees the coded bytes when it ends. The decoder is joined
// (never abandoned) before the samples are freed: it tests the stop flag after
// every block or frame, so the join takes one block at most.
//
// Every open ends ready (IsReady, once a decoder has finished) or failed
// (HasFailed), so that a caller waiting for the decoder can tell the two apart.
//
// Header changes (important flag, comment, Caller ID, bookmark area) stay in
// memory until FlushHeader. A header is written back only into the .zel file it
// was read from: WAV and headerless files never get one.
//
// The exports (WAV, copy, mail) are in KWRecordFileExport.cpp.
#pragma once

#include "KWAESCipher.h"
#include "KWRecordFileHdr.h"

#include "framework/AfxString.h"

#include <windows.h>

#include <atomic>
#include <cstdint>

class CFile;
class CWinThread;

class CKWRecordFile {
public:
    static const int32_t kSamplesPerSecond = 8000;
    // Decoded samples after which a recording still being decoded may play.
    static const int32_t kEnoughSamples = 560000; // 70 seconds
    static const DWORD kLoadWaitMs = 100000;

    CKWRecordFile();
    // Closes the recording, joining its decoder.
    virtual ~CKWRecordFile();
    CKWRecordFile(const CKWRecordFile&) = delete;
    CKWRecordFile& operator=(const CKWRecordFile&) = delete;

    // A null path closes the recording and succeeds; otherwise opens and decodes
    // (or starts decoding) the file.
    BOOL Load(const char* path, const char* passphrase);
    // Load with the passphrase of the settings, then waits for the decoder, at
    // most kLoadWaitMs.
    BOOL LoadAndWait(const char* path);
    void Close();

    bool IsOpen() const { return !m_path.IsEmpty(); }
    // Opened well and no decoder runs.
    bool IsReady() const { return IsOpen() && !m_failed && !m_decoding.load(); }
    // The last open found no samples to play: a missing, unreadable, short or
    // undecodable file, or a header that did not read. Cleared by Close.
    bool HasFailed() const { return m_failed; }
    // False after a failed open.
    bool HasDecodedEnough() const;

    // Points *samples at the sample at offset and returns how many follow, at
    // most count; 0 when offset is outside the samples.
    int32_t GetSamples(int32_t offset, int32_t count, const int16_t** samples) const;
    int32_t GetSampleCount() const { return m_sampleCount; }
    // Lowers the sample count; a count outside 0 to the current one is ignored.
    void SetSampleCount(int32_t count);
    CString GetPath() const { return m_path; }
    int32_t GetDuration() const { return m_hdr.GetDuration(); }
    CString GetComment() const { return m_hdr.GetComment(); }
    CString GetCallerId() const { return m_hdr.GetCallerId(); }

    void SetComment(const char* text);
    void SetCallerId(const char* text);
    void SetImportant(int32_t important);
    bool GetBookmark(int* start, int* end) const { return m_hdr.GetBookmark(start, end); }
    bool SetBookmark(int start, int end);
    // Writes a modified header back. False when nothing is loaded, or when the
    // header cannot be written (a WAV or headerless file, a header that failed
    // to read, a file error); the changes then stay pending.
    bool FlushHeader();

    // Exports, for a recording that IsReady (the dialogs and the mail do nothing
    // otherwise). Failures are reported to the user by the dialogs and the mail.
    static bool CanSaveGsmWav();
    // Writes the samples as a WAV file: GSM 6.10 unless uncompressed is true or
    // no GSM codec is available, else 16-bit PCM. False, with no file left,
    // when nothing could be written.
    bool SaveAsWav(const char* path, bool uncompressed);
    bool SaveAsWavDlg();
    bool SaveAsZelDlg();
    bool EmailAsWav();

protected:
    // Decodes size bytes of audio of the format tag into the samples; returns the
    // sample count (0 for a format that is not known).
    virtual int32_t Decode(int32_t format, const uint8_t* data, int32_t size);
    // Allocate the samples at their final length and start the decoder thread.
    virtual int32_t DecodeGsm(const uint8_t* data, int32_t size);
    virtual int32_t DecodeImaAdpcm(const uint8_t* data, int32_t size);
    // Deciphers the first size bytes of the coded buffer of a protected file.
    void DecryptAudio(int32_t size);

    // Shared by the exports of this class and those of the bookmark copy.
    CString GetBaseName() const;
    static CString GetTempFolder();
    static CString GetDocumentsFolder();
    // Shows a save dialog; the chosen path with the extension (".wav") appended
    // unless present, or empty on Cancel. *filterIndex gets the chosen filter.
    CString AskSavePath(const char* filter, const char* extension, DWORD* filterIndex) const;
    // Mails the file with this recording's subject and body; the mail sender
    // reports its own failures.
    bool MailFile(const char* path) const;
    // Shows an error box with the text of format, its %s replaced by path.
    static void ReportFailure(const char* format, const char* path);

    static const char kZelFilter[]; // the save dialog's filter for recordings

    int16_t* m_samples; // owns (new[]); null when nothing is decoded
    int32_t m_sampleCount;
    CKWRecordFileHdr m_hdr;
    CKWAESCipher m_cipher; // for the audio of protected files
    bool m_headerWritable; // FlushHeader may write: the header read well from this .zel

private:
    BOOL Open(const char* path, const char* passphrase);
    BOOL OpenFile(const char* path, const char* passphrase);
    void ResetHeaderless(const char* path);
    // Reads the audio after offset into the coded buffer; *size gets the bytes read.
    bool ReadAudio(CFile& file, uint32_t offset, int32_t* size);
    bool LoadWavSamples(int32_t size);
    int32_t StartDecoder(int32_t format, const uint8_t* data, int32_t count, int32_t units);
    // Sets the stop flag and joins the decoder thread; false when the thread
    // could not be joined (its buffers must then be left alone).
    bool WaitForDecoder();
    void FreeCoded();

    static UINT AFX_CDECL DecoderThreadProc(LPVOID param);
    void RunImaAdpcmDecoder();
    void RunGsmDecoder();
    void EndDecoding(int32_t total);

    uint8_t* m_coded;             // owns (new[]); the decoder frees it when it ends
    std::atomic<bool> m_decoding; // a decoder runs
    bool m_failed;                // the last open failed
    bool m_modified;
    CString m_path;

    // Decoder record: the thread object is owned (not self-deleting) so that it
    // can be joined. Format, input and units are set before the thread starts;
    // the thread writes only the decoded count and the decoding flag.
    CWinThread* m_decoder;
    int32_t m_decodeFormat;
    const uint8_t* m_decodeInput; // borrows the coded buffer
    int32_t m_decodeUnits;        // whole blocks or frames to decode
    std::atomic<int32_t> m_decodedCount;
    std::atomic<bool> m_stop;
};

class CPlaybackManager;

// The recording that the playback engine holds and the views reach through it.
// The wave-out device plays straight from its samples, so only the engine, which
// stops the device first, may load or close it; the views read it, change its
// header and export it.
class CZELRecordFile : public CKWRecordFile {
private:
    friend class CPlaybackManager;
    using CKWRecordFile::Close;
    using CKWRecordFile::Load;
    using CKWRecordFile::LoadAndWait;
};
