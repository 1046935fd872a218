// ListTestRecordings.h: small recording files for the tests of the recording
// lists and the play history: a header with the values a list counts (the
// important flag, the duration, the start time) and a little mu-law audio.
#pragma once

#include "tests/support/AudioFixtures.h"
#include "tests/support/RecordingFixtures.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <string>

struct SListRecording {
    std::string name; // file name in the folder
    int important = 0;
    int duration = 2; // seconds
    int startTime = 1000000000;
};

// Writes the recording into the folder (a Windows path with a trailing
// backslash, folders below it made as needed) and answers its path; empty
// when it could not be written.
inline std::string WriteListRecording(const std::string& folder, const SListRecording& rec) {
    const std::string path = folder + rec.name;
    for (size_t i = folder.size(); i < path.size(); ++i)
        if (path[i] == '\\')
            ::CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    RecordingFields fields;
    fields.format = 7; // mu-law
    fields.important = rec.important;
    fields.duration = rec.duration;
    fields.startTime = rec.startTime;
    fields.callerId = "0123 456789";
    const std::string bytes =
        MakeHeaderV2to4(4, 1440, fields) + EncodeMuLaw(MakeTestSignal(rec.duration * 8000));
    return WriteWholeFile(path, bytes) ? path : std::string();
}

// Text with every LF as CR LF, as the list files end their lines.
inline std::string CrLf(const std::string& text) {
    std::string result;
    for (char c : text) {
        if (c == '\n')
            result += '\r';
        result += c;
    }
    return result;
}
