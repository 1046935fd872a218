// PlaybackManager.h: CPlaybackManager, the process-wide engine that plays one
// recording on the wave-out device.
//
// The engine loads a recording into its own CZELRecordFile and keeps up to four
// one-second buffers (8000 samples, 16-bit mono) queued on the device. Each
// buffer header points straight into the recording's decoded samples; nothing
// is copied. The device reports every finished buffer as MM_WOM_DONE to the
// notify window, whose owner hands the message to OnWaveOutMessage; that frees
// the oldest header and queues the next second, so about four seconds stay
// queued until the samples run out.
//
// Threads: every operation runs on the user-interface thread that owns the
// notify window. The lock guards the buffer list and the count of buffers on
// the device; it is not re-entrant, so nothing calls Stop while holding it.
//
// Positions are samples at 8000 per second. The duration used for queueing and
// as the limit of GetPosition is the longer of the header's duration and the
// whole seconds of decoded audio, so WAV and headerless files (duration 0) and
// headers shorter than their audio play through.
#pragma once

#include "KWRecordFile.h"
#include "KWSemaphore.h"

#include "framework/AfxString.h"
#include "framework/PtrCollections.h"

#include <windows.h>

#include <mmsystem.h>

#include <cstdint>

class CWnd;

class CPlaybackManager {
public:
    static const int32_t kSamplesPerSecond = 8000;
    static const int32_t kBufferSamples = kSamplesPerSecond; // one second per buffer
    static const int32_t kQueuedBuffers = 4;

    // The engine, created on first use (no lock).
    static CPlaybackManager* GetInstance();
    // Unloads (writing back pending header changes) and closes the device.
    virtual ~CPlaybackManager();
    CPlaybackManager(const CPlaybackManager&) = delete;
    CPlaybackManager& operator=(const CPlaybackManager&) = delete;

    // The window that receives the device's messages; not owned.
    void SetNotifyWindow(CWnd* frame) { m_notifyWindow = frame; }
    // The recording, for the views to read, change its header and export; only
    // the engine loads and closes it. It keeps its path, header and samples
    // after an unload until the next load.
    CZELRecordFile* GetRecordFile() { return &m_record; }

    // Stops, writes back pending header changes of the recording held so far
    // and unloads; then, unless the path is empty, loads the file with the
    // settings' passphrase and waits for its decoder. Returns the loaded flag;
    // both positions are 0.
    BOOL Load(const char* path);
    void Unload();

    void Start(BOOL play, BOOL fromBeginning);
    void TogglePause();
    // Ignored while playing.
    void SetPosition(int32_t sample);
    int32_t GetPosition();

    BOOL IsLoaded() const { return m_loaded; }
    BOOL IsPlaying() const { return m_playing; }
    BOOL IsPaused() const { return m_paused; }
    BOOL IsReadyToPlay() const;

    // MM_WOM_DONE and MM_WOM_CLOSE of the device; other messages are ignored.
    void OnWaveOutMessage(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    CPlaybackManager();

    MMRESULT OpenDevice();
    MMRESULT Play();
    // Queues the next buffer; the number of samples it holds, 0 at the end.
    int32_t QueueNextBuffer();
    void Stop();
    // The longer of the header's duration and the whole seconds of audio.
    int32_t GetPlayDuration() const;
    // The user's text for a device that failed to open with error.
    static CString GetDeviceErrorText(MMRESULT error);

    BOOL m_playing; // buffers are meant to be on the device
    BOOL m_paused;
    HWAVEOUT m_device; // null while the device is closed
    BOOL m_loaded;
    int32_t m_nextPosition;    // the sample at which the next buffer begins
    int32_t m_buffersOnDevice; // headers of m_buffers written to the device
    int32_t m_startPosition;   // where the current playing began; the device counts from here
    CKWLoggedSemaphore m_lock;
    // Oldest first; owns the headers, not the samples they point at (those
    // belong to m_record).
    CTypedPtrArray<CPtrArray, WAVEHDR*> m_buffers;
    CZELRecordFile m_record;
    CWnd* m_notifyWindow; // not owned

private:
    static CPlaybackManager* s_instance;
};
