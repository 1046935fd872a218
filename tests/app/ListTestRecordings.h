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

// Writes a recording of the given header fields, marked mu-law, with mu-law
// audio of the duration they give, into the folder (a Windows path with a
// trailing backslash, folders below it made as needed) under the name (which
// may name such folders) and answers its path; empty when it could not be
// written.
inline std::string WriteMuLawRecording(const std::string& folder, const std::string& name,
                                       RecordingFields fields) {
    const std::string path = folder + name;
    for (size_t i = folder.size(); i < path.size(); ++i)
        if (path[i] == '\\')
            ::CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    fields.format = 7; // mu-law
    const std::string bytes =
        MakeHeaderV2to4(4, 1440, fields) + EncodeMuLaw(MakeTestSignal(fields.duration * 8000));
    return WriteWholeFile(path, bytes) ? path : std::string();
}

// Writes the recording into the folder and answers its path; empty when it
// could not be written.
inline std::string WriteListRecording(const std::string& folder, const SListRecording& rec) {
    RecordingFields fields;
    fields.important = rec.important;
    fields.duration = rec.duration;
    fields.startTime = rec.startTime;
    fields.callerId = "0123 456789";
    return WriteMuLawRecording(folder, rec.name, fields);
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
