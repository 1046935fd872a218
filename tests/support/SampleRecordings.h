// SampleRecordings.h: a small, varied folder of recordings to look at and to
// drive the program with: every coding, a few encrypted ones, bookmarks,
// comments, important calls, incoming and outgoing calls of several users.
#pragma once

#include <string>
#include <vector>

struct SSampleRecording {
    std::string path;
    std::string userId;
    std::string callerId;
    int format;   // header format tag
    int duration; // seconds
    bool encrypted;
    bool important;
    bool bookmarked;
};

// The passphrase of the encrypted samples.
extern const char kSamplePassphrase[];

// Writes the samples into folder (a Windows path with a trailing backslash),
// named "<User ID>-<date>-<time>.zel" after their start times, which lie in the
// days before now. Files that exist are replaced. Empty on a write failure.
std::vector<SSampleRecording> MakeSampleRecordings(const std::string& folder);
