// AudioCapture.h: CAudioCapture, the sound device of a test: whatever the test
// process plays on the wave-out device is written to files of the test's own
// instead of reaching a sound card, so the test can compare what was played
// with what it meant to play.
//
// How: Wine's ALSA driver reads the ALSA configuration of the process. The
// first capture of a process points ALSA_CONFIG_PATH at a configuration of its
// own (a file in /tmp, removed at exit), whose default device is a "file" device over the "null"
// device, writing raw 16-bit samples to the file named by ZM_AUDIO_CAPTURE, and points PULSE_SERVER
// at no server so that Wine never prefers a PulseAudio server of the developer's desktop. Each
// capture names its own file, so parallel test programs never share one, and nothing outside the
// process changes. This must happen before the process first opens a wave-out device: Wine reads
// the configuration then.
//
// Every open of the device (each waveOutOpen: a start, a resume after a pause)
// writes a file of its own: the file device never overwrites an existing file
// but adds ".0001", ".0002", ... to the name. Wine also opens the device
// without playing (to enumerate it, to check a format); those files stay empty.
//
// Measured with Wine 8: the null device takes samples as fast as Wine hands
// them over, so playback runs about four times faster than real time. While a
// device is open with nothing to play, Wine plays silence. Samples that Wine
// had not passed on when the device is reset are dropped, so the capture of a
// paused or stopped open can end before the position the device reported.
#pragma once

#include "TempFolder.h"

#include <cstdint>
#include <string>
#include <vector>

class CAudioCapture {
public:
    // Opens of the device from now on write to this capture's files.
    CAudioCapture();
    // Later opens of the device fail, until the next capture.
    ~CAudioCapture();
    CAudioCapture(const CAudioCapture&) = delete;
    CAudioCapture& operator=(const CAudioCapture&) = delete;

    // Later opens of the device fail: the capture file lies in a folder that
    // does not exist. Wine 8 then answers waveOutOpen with MMSYSERR_NOTENABLED.
    void PointNowhere();
    // The samples of each open of the device that wrote any, oldest first.
    std::vector<std::vector<int16_t>> Openings() const;

private:
    CTempFolder m_folder;
    std::string m_unixFile; // the first capture file's host path
};
