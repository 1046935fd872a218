// ZipTestArchives.h: our classes driven the way the interop and damage tests
// need them: every entry of an archive read back with its bytes, without an
// exception escaping, and deterministic test data.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ZipTestArchives {

// One entry as our classes read it; the name in UTF-8 with forward slashes.
struct SReadEntry {
    std::string name;
    std::string comment;
    std::string bytes;
    bool directory = false;
};

struct SReadResult {
    bool opened = false;   // OpenArchive answered true
    bool complete = false; // every entry opened, read to its end and closed sound
    int zipError = 0;      // the cause of the CZipException raised, 0 when none
    // The framework's file exceptions pass the ZIP classes unchanged (a volume
    // or a target file that cannot be opened); anything else is a fault.
    bool fileException = false;
    bool otherException = false;
    std::string comment; // the archive's comment
    std::vector<SReadEntry> entries;
    std::string problem; // what went wrong, for the test's message
};

// Opens the archive (mode as CZipArchive::OpenArchive takes it), lists every
// entry and reads each file entry to its end. Never throws: every failure ends
// up in the result.
SReadResult ReadWithOurClasses(const std::string& path, int mode, const std::string& password);

// Deterministic bytes: compressible text-like bytes or noise.
std::string TextBytes(size_t size, uint32_t seed);
std::string NoiseBytes(size_t size, uint32_t seed);

} // namespace ZipTestArchives
