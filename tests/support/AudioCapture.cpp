#include "AudioCapture.h"

#include "framework/UnixPath.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include <unistd.h>

namespace {

const char kCaptureVariable[] = "ZM_AUDIO_CAPTURE";

// The default device. Without a capture it writes into a folder that does
// not exist, so that it fails rather than leave a file anywhere. "truncate
// false" makes the file device pick a new name instead of overwriting an
// existing file, so each open gets a file of its own.
const char kConfiguration[] =
    "pcm.!default {\n"
    "    type file\n"
    "    slave.pcm { type null }\n"
    "    file { @func getenv vars [ ZM_AUDIO_CAPTURE ] default \"/nonexistent/capture.raw\" }\n"
    "    format \"raw\"\n"
    "    truncate false\n"
    "}\n";

// The host path of an existing folder with its links resolved: Wine's own
// path runs through "dosdevices/c:", and ALSA_CONFIG_PATH is a list that
// colons separate. Ends with a slash.
std::string UnixFolderOf(const std::string& windowsFolder) {
    std::string unixPath;
    if (!UnixPathFromWindows(windowsFolder.c_str(), unixPath))
        return std::string();
    char* resolved = realpath(unixPath.c_str(), nullptr);
    if (!resolved)
        return std::string();
    const std::string folder = std::string(resolved) + "/";
    free(resolved);
    return folder;
}

// The process's ALSA configuration, written once and removed at exit. Plain
// POSIX calls: the removal runs after main, when Win32 file calls no longer
// work.
class CAlsaConfiguration {
public:
    CAlsaConfiguration() {
        char path[] = "/tmp/zm-asound-XXXXXX";
        const int fd = mkstemp(path);
        if (fd < 0)
            return;
        m_path = path;
        const ssize_t written = write(fd, kConfiguration, sizeof kConfiguration - 1);
        close(fd);
        if (written != static_cast<ssize_t>(sizeof kConfiguration - 1))
            return;
        setenv("ALSA_CONFIG_PATH", m_path.c_str(), 1);
        setenv("PULSE_SERVER", "unix:/nonexistent/zm-no-pulse-server", 1);
    }
    ~CAlsaConfiguration() {
        if (!m_path.empty())
            unlink(m_path.c_str());
    }
    CAlsaConfiguration(const CAlsaConfiguration&) = delete;
    CAlsaConfiguration& operator=(const CAlsaConfiguration&) = delete;

private:
    std::string m_path;
};

std::vector<int16_t> ReadSamples(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    std::vector<int16_t> samples(bytes.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                          static_cast<uint8_t>(bytes[2 * i + 1]) << 8);
    return samples;
}

} // namespace

CAudioCapture::CAudioCapture() {
    static CAlsaConfiguration configuration;
    m_unixFile = UnixFolderOf(m_folder.Path()) + "capture.raw";
    setenv(kCaptureVariable, m_unixFile.c_str(), 1);
}

CAudioCapture::~CAudioCapture() {
    unsetenv(kCaptureVariable);
}

void CAudioCapture::PointNowhere() {
    setenv(kCaptureVariable, (m_unixFile + ".missing/capture.raw").c_str(), 1);
}

std::vector<std::vector<int16_t>> CAudioCapture::Openings() const {
    std::vector<std::vector<int16_t>> openings;
    std::string path = m_unixFile;
    for (int n = 1; std::ifstream(path).good(); ++n) {
        std::vector<int16_t> samples = ReadSamples(path);
        if (!samples.empty())
            openings.push_back(std::move(samples));
        char suffix[16];
        snprintf(suffix, sizeof suffix, ".%04d", n);
        path = m_unixFile + suffix;
    }
    return openings;
}
