// ZipTestTools.h: the host's real archivers as black boxes for the ZIP tests.
// Checks: unzip -t, unzip -p, zipinfo -v, Python's zipfile, 7z t, bsdtar -tf.
// Makers: Info-ZIP zip (stored, deflated, encrypted, commented, split, from a
// pipe), 7-Zip (deflated, encrypted, split into raw volumes) and Python's
// zipfile (names with the UTF-8 flag).
//
// Archive and folder paths are Windows paths; entry and file names handed to
// or returned by the tools are the host's UTF-8 bytes.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace ZipTools {

// What a host command printed (standard output and error) and whether it exited with 0.
struct SToolRun {
    bool ok = false;
    std::string output;
};

// A text as one word of the host shell.
std::string ShellQuote(const std::string& text);
SToolRun RunHost(const std::string& command);

// UTF-8 <-> the program's ANSI code page, for names that cross between the
// tools and our classes.
std::string AnsiFromUtf8(const std::string& utf8);
std::string Utf8FromAnsi(const std::string& ansi);

// ---- Checks of an archive -------------------------------------------------

// unzip -t (with -P when a password is given).
SToolRun UnzipTest(const std::string& archive, const std::string& password = std::string());
// The bytes unzip -p extracts for one entry; ok false when unzip fails.
SToolRun UnzipEntry(const std::string& archive, const std::string& name,
                    const std::string& password = std::string());

// One entry of zipinfo -v: its name and every "field: value" line of it, the
// field's text without the padding dots and blanks.
struct SZipinfoEntry {
    std::string name;
    std::map<std::string, std::string> fields;
};
bool ZipinfoEntries(const std::string& archive, std::vector<SZipinfoEntry>* entries);

struct SPythonEntry {
    std::string name; // UTF-8, as zipfile decodes it
    uint64_t size = 0;
    uint64_t compressedSize = 0;
    uint32_t crc = 0;
    int method = -1;
    int flags = 0;
    std::string comment;
};
struct SPythonListing {
    bool opened = false;
    bool tested = false;  // testzip ran through every entry
    std::string firstBad; // testzip's first entry with a bad CRC or header; empty when sound
    std::string comment;  // the archive's comment
    std::vector<SPythonEntry> entries;
    std::string error; // what Python said when it could not open or test
};
// Python's zipfile: the listing and testzip (with the password when given).
SPythonListing PythonListing(const std::string& archive,
                             const std::string& password = std::string());

// 7z t (with -p when a password is given); for a split archive give its last
// volume (.zip) or its first raw volume (.001).
SToolRun SevenZipTest(const std::string& archive, const std::string& password = std::string());
// bsdtar -tf: the names of the entries.
bool BsdtarNames(const std::string& archive, std::vector<std::string>* names);

// Every check above on one archive; the failures, one line each, or empty.
// expectedEntries: the number of entries each listing must show.
std::string CheckWithAllTools(const std::string& archive, size_t expectedEntries,
                              const std::string& password = std::string());

// ---- Archives made by the tools --------------------------------------------

struct SZipOptions {
    bool stored = false;     // -0
    std::string password;    // -P
    std::string comment;     // -z (from standard input)
    unsigned splitKiB = 0;   // -s <n>k: volumes a.z01 .. a.zip
    bool recurse = false;    // -r, for folders
    bool directories = true; // false: -D, no directory entries
};
// Runs zip in folder over the files (names relative to the folder).
bool MakeWithZip(const std::string& folder, const std::vector<std::string>& files,
                 const std::string& archive, const SZipOptions& options = SZipOptions());
// zip reading its data from a pipe: one entry "-" holding the file's bytes;
// such an archive ends with Zip64 end records although nothing needs them.
bool MakeWithZipFromPipe(const std::string& contentFile, const std::string& archive);

struct SSevenZipOptions {
    std::string password;   // -p: traditional ZIP encryption
    unsigned volumeKiB = 0; // -v<n>k: raw volumes archive.001, .002, ...
    int level = 5;
};
bool MakeWith7z(const std::string& folder, const std::vector<std::string>& files,
                const std::string& archive, const SSevenZipOptions& options = SSevenZipOptions());

// Python's zipfile, deflated, with the archive comment given. Names beyond
// ASCII get the UTF-8 flag; with windowsNames instead they are stored as a
// Windows tool stores them: in the OEM code page (437) under the FAT host, with
// a Unicode path record 0x7075 holding the UTF-8 name.
bool MakeWithPython(const std::string& folder, const std::vector<std::string>& files,
                    const std::string& archive, const std::string& comment = std::string(),
                    bool windowsNames = false);

} // namespace ZipTools
