// PlaybackManager.cpp: the playback engine: loading, the buffer queue on the
// wave-out device and the play position.
#include "PlaybackManager.h"

#include "KWWav.h"
#include "TraceLog.h"

#include "framework/WinApp.h"
#include "framework/Wnd.h"

#include <algorithm>
#include <cstring>

namespace {

const DWORD kBlockAlign = CKWWav::kBytesPerSample; // one 16-bit mono sample

// The device errors of the application's string table, with the texts that
// are shown when the resources do not hold them.
const UINT kIdsDeviceInUse = 155;
const UINT kIdsNoDevice = 156;
const UINT kIdsDeviceError = 157;
const char kDeviceInUseText[] =
    "ERROR! Unable to open audio playback device\n\nPlayback device already in use";
const char kNoDeviceText[] =
    "ERROR! Unable to open audio playback device\n\nNo playback device available";
const char kDeviceErrorFormat[] =
    "ERROR! There was an error opening your audio device.\n\nError Code = %d";

CString LoadText(UINT id, const char* fallback) {
    CString text;
    if (!text.LoadString(id) || text.IsEmpty())
        text = fallback;
    return text;
}

} // namespace

CPlaybackManager* CPlaybackManager::s_instance = nullptr;

CPlaybackManager* CPlaybackManager::GetInstance() {
    if (!s_instance)
        s_instance = new CPlaybackManager;
    return s_instance;
}

CPlaybackManager::CPlaybackManager()
    : m_playing(FALSE), m_paused(FALSE), m_device(nullptr), m_loaded(FALSE), m_nextPosition(0),
      m_buffersOnDevice(0), m_startPosition(0), m_lock("PLAYBACK_MANAGER", false),
      m_notifyWindow(nullptr) {}

CPlaybackManager::~CPlaybackManager() {
    Unload();
    if (s_instance == this)
        s_instance = nullptr;
}

BOOL CPlaybackManager::Load(const char* path) {
    // Unloading first stops the device before the recording frees the samples
    // the queued buffers point at, and writes back the header changes that
    // opening another file would drop. A failed open leaves no samples, so the
    // engine then stays unloaded.
    Unload();
    if (path && *path && m_record.LoadAndWait(path))
        m_loaded = TRUE;
    return m_loaded;
}

void CPlaybackManager::Unload() {
    Stop();
    m_nextPosition = 0;
    m_startPosition = 0;
    m_record.FlushHeader();
    m_loaded = FALSE;
}

void CPlaybackManager::Start(BOOL play, BOOL fromBeginning) {
    if (fromBeginning) {
        m_nextPosition = 0;
        m_startPosition = 0;
    }
    if (play) {
        m_playing = TRUE;
        Play();
    } else {
        Stop();
    }
    m_paused = FALSE;
}

void CPlaybackManager::TogglePause() {
    if (m_paused) {
        m_nextPosition = std::max<int32_t>(m_startPosition, 0);
        m_paused = FALSE;
        Play();
    } else {
        m_paused = TRUE;
        m_startPosition = GetPosition();
        Stop();
    }
}

void CPlaybackManager::SetPosition(int32_t sample) {
    if (m_playing)
        return;
    const int32_t position = std::clamp<int32_t>(sample, 0, m_record.GetSampleCount());
    m_nextPosition = position;
    m_startPosition = position;
}

int32_t CPlaybackManager::GetPosition() {
    int32_t position = m_startPosition;
    if (m_device) {
        MMTIME time = {};
        time.wType = TIME_BYTES;
        // A device that answers in another unit than asked is treated as one
        // that could not answer.
        if (waveOutGetPosition(m_device, &time, sizeof time) == MMSYSERR_NOERROR &&
            time.wType == TIME_BYTES)
            position = static_cast<int32_t>(time.u.cb / kBlockAlign) + m_startPosition;
    }
    return std::min<int32_t>(position, GetPlayDuration() * kSamplesPerSecond);
}

BOOL CPlaybackManager::IsReadyToPlay() const {
    return m_loaded && !m_playing && m_record.HasDecodedEnough();
}

int32_t CPlaybackManager::GetPlayDuration() const {
    return std::max<int32_t>(m_record.GetDuration(), m_record.GetSampleCount() / kSamplesPerSecond);
}

void CPlaybackManager::OnWaveOutMessage(UINT message, WPARAM, LPARAM) {
    if (message == MM_WOM_CLOSE) {
        m_buffersOnDevice = 0;
        Stop();
        return;
    }
    if (message != MM_WOM_DONE)
        return;
    bool stop = false;
    {
        CKWSemaphoreGuard lock(&m_lock, __FILE__, __LINE__);
        if (m_buffers.IsEmpty()) {
            stop = true;
        } else if (m_device) {
            // The device finishes its buffers in the order they were written,
            // so the message is for the oldest one. A message left over from a
            // device closed by Stop finds the oldest header still playing and
            // removes nothing.
            WAVEHDR* oldest = m_buffers[0];
            if (waveOutUnprepareHeader(m_device, oldest, sizeof(WAVEHDR)) == MMSYSERR_NOERROR) {
                delete oldest;
                m_buffers.RemoveAt(0);
                m_buffersOnDevice = std::max<int32_t>(m_buffersOnDevice - 1, 0);
            }
        }
    }
    if (stop) {
        m_buffersOnDevice = 0;
        Stop();
    }
    if (m_playing)
        QueueNextBuffer();
}

MMRESULT CPlaybackManager::OpenDevice() {
    if (m_device)
        return MMSYSERR_NOERROR;
    WAVEFORMATEX format;
    DescribePcmFormat(&format);
    const HWND window = m_notifyWindow ? m_notifyWindow->GetSafeHwnd() : nullptr;
    HWAVEOUT device = nullptr;
    const MMRESULT result = waveOutOpen(&device, WAVE_MAPPER, &format,
                                        reinterpret_cast<DWORD_PTR>(window), 0, CALLBACK_WINDOW);
    if (result != MMSYSERR_NOERROR) {
        KWTRACE_ERROR(("CPlaybackManager::OpenDevice: waveOutOpen failed with %u\n", result));
        AfxMessageBox(GetDeviceErrorText(result), MB_OK | MB_ICONERROR);
        return result;
    }
    m_device = device;
    return MMSYSERR_NOERROR;
}

CString CPlaybackManager::GetDeviceErrorText(MMRESULT error) {
    if (error == MMSYSERR_ALLOCATED)
        return LoadText(kIdsDeviceInUse, kDeviceInUseText);
    if (error == MMSYSERR_NODRIVER)
        return LoadText(kIdsNoDevice, kNoDeviceText);
    CString text;
    text.Format(LoadText(kIdsDeviceError, kDeviceErrorFormat), static_cast<int>(error));
    return text;
}

MMRESULT CPlaybackManager::Play() {
    const MMRESULT result = OpenDevice();
    if (result != MMSYSERR_NOERROR) {
        // Nothing can be queued: the engine must not report playing.
        m_playing = FALSE;
        return result;
    }
    if (m_buffersOnDevice > 0)
        return MMSYSERR_NOERROR;
    m_playing = TRUE;
    const int32_t duration = GetPlayDuration();
    const int32_t secondsPlayed = GetPosition() / kSamplesPerSecond;
    const int32_t secondsLeft = duration == secondsPlayed ? 1 : duration - secondsPlayed;
    const int32_t buffers = std::min(kQueuedBuffers, secondsLeft);
    for (int32_t i = 0; i < buffers; ++i) {
        if (QueueNextBuffer() == 0) {
            Stop();
            break;
        }
    }
    return MMSYSERR_NOERROR;
}

int32_t CPlaybackManager::QueueNextBuffer() {
    const int16_t* samples = nullptr;
    const int32_t count = m_record.GetSamples(m_nextPosition, kBufferSamples, &samples);
    if (count <= 0)
        return 0;
    CKWSemaphoreGuard lock(&m_lock, __FILE__, __LINE__);
    WAVEHDR* header = new WAVEHDR;
    std::memset(header, 0, sizeof *header);
    // The device only reads the buffer; the header's field is not const.
    header->lpData = reinterpret_cast<LPSTR>(const_cast<int16_t*>(samples));
    header->dwBufferLength = static_cast<DWORD>(count) * kBlockAlign;
    header->dwUser = static_cast<DWORD_PTR>(m_buffersOnDevice);
    m_buffers.Add(header);
    m_nextPosition += count;
    if (m_device) {
        // A header whose prepare or write failed stays in the list uncounted;
        // it is the one tried again by the next call.
        WAVEHDR* next = m_buffers[m_buffersOnDevice];
        MMRESULT result = waveOutPrepareHeader(m_device, next, sizeof(WAVEHDR));
        if (result == MMSYSERR_NOERROR)
            result = waveOutWrite(m_device, next, sizeof(WAVEHDR));
        if (result == MMSYSERR_NOERROR)
            ++m_buffersOnDevice;
        else
            KWTRACE_ERROR(
                ("CPlaybackManager::QueueNextBuffer: the device refused a buffer: %u\n", result));
    }
    return count;
}

void CPlaybackManager::Stop() {
    if (!m_playing)
        return;
    if (m_nextPosition <= 0) {
        m_nextPosition = 0;
        m_startPosition = 0;
    }
    if (m_device) {
        // The device marks every queued buffer done at the reset; only then
        // may it be closed.
        if (waveOutReset(m_device) == MMSYSERR_NOERROR)
            waveOutClose(m_device);
        m_device = nullptr;
    }
    CKWSemaphoreGuard lock(&m_lock, __FILE__, __LINE__);
    for (WAVEHDR* header : m_buffers)
        delete header;
    m_buffers.RemoveAll();
    m_playing = FALSE;
    m_buffersOnDevice = 0;
}
