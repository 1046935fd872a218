// ZipTestTools.cpp: the host's archivers run through the host shell.
#include "ZipTestTools.h"

#include <windows.h>

#include "tests/support/RecordFileHelpers.h"

#include <cstdlib>
#include <sstream>

namespace ZipTools {

namespace {

// Python 3 is the Debian one the set-up script installs, not whatever a
// user's PATH finds first.
const char kPython[] = "LC_ALL=C.UTF-8 /usr/bin/python3";

std::string Host(const std::string& windowsPath) {
    return ShellQuote(HostPath(windowsPath));
}

std::string FileList(const std::vector<std::string>& files) {
    std::string list;
    for (const std::string& file : files)
        list += " " + ShellQuote(file);
    return list;
}

std::string FromHex(const std::string& hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += char(std::strtoul(hex.substr(i, 2).c_str(), nullptr, 16));
    return bytes;
}

std::vector<std::string> Split(const std::string& line, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(line);
    while (std::getline(in, part, separator))
        parts.push_back(part);
    if (!line.empty() && line.back() == separator)
        parts.push_back(std::string());
    return parts;
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string Convert(const std::string& text, UINT from, UINT to) {
    if (text.empty())
        return text;
    const int wide = MultiByteToWideChar(from, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring utf16(size_t(wide), L'\0');
    MultiByteToWideChar(from, 0, text.data(), int(text.size()), &utf16[0], wide);
    const int narrow = WideCharToMultiByte(to, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string result(size_t(narrow), '\0');
    WideCharToMultiByte(to, 0, utf16.data(), wide, &result[0], narrow, nullptr, nullptr);
    return result;
}

// The listing script: one tab-separated line per fact, texts in hex so that
// no name or comment can break a line.
const char kListingScript[] = R"PY(
import os, sys, zipfile
def hx(b): return b.hex()
try:
    z = zipfile.ZipFile(sys.argv[1])
except Exception as e:
    print("error\t" + hx(repr(e).encode())); sys.exit(0)
if sys.argv[2]: z.setpassword(os.fsencode(sys.argv[2]))
print("comment\t" + hx(z.comment))
for i in z.infolist():
    print("entry\t%s\t%d\t%d\t%08x\t%d\t%d\t%s" % (hx(i.filename.encode("utf-8")), i.file_size,
          i.compress_size, i.CRC, i.compress_type, i.flag_bits, hx(i.comment)))
try:
    bad = z.testzip()
    print("tested\t" + hx((bad or "").encode("utf-8")))
except Exception as e:
    print("error\t" + hx(repr(e).encode()))
)PY";

const char kMakerScript[] = R"PY(
import os, struct, sys, zipfile, zlib
folder, archive, comment = sys.argv[1], sys.argv[2], os.fsencode(sys.argv[3])
windows = sys.argv[4] == "1"
if windows:
    zipfile.ZipInfo._encodeFilenameFlags = lambda self: (self.filename.encode("cp437"), self.flag_bits)
with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED) as z:
    for name in sys.argv[5:]:
        path = os.path.join(folder, name)
        if not windows:
            z.write(path, name)
            continue
        info = zipfile.ZipInfo.from_file(path, name)
        info.compress_type = zipfile.ZIP_DEFLATED
        info.create_system = 0
        info.external_attr = 0x20
        raw, utf8 = name.encode("cp437"), name.encode("utf-8")
        if raw != utf8:
            info.extra = struct.pack("<HHBI", 0x7075, 5 + len(utf8), 1, zlib.crc32(raw)) + utf8
        with open(path, "rb") as source:
            z.writestr(info, source.read())
    z.comment = comment
)PY";

} // namespace

std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

SToolRun RunHost(const std::string& command) {
    SToolRun run;
    run.ok = RunNativeCommand("{ " + command + "\n} 2>&1", &run.output);
    return run;
}

std::string AnsiFromUtf8(const std::string& utf8) {
    return Convert(utf8, CP_UTF8, CP_ACP);
}

std::string Utf8FromAnsi(const std::string& ansi) {
    return Convert(ansi, CP_ACP, CP_UTF8);
}

SToolRun UnzipTest(const std::string& archive, const std::string& password) {
    const std::string pass = password.empty() ? std::string() : " -P " + ShellQuote(password);
    return RunHost("unzip -t" + pass + " " + Host(archive));
}

SToolRun UnzipEntry(const std::string& archive, const std::string& name,
                    const std::string& password) {
    const std::string pass = password.empty() ? std::string() : " -P " + ShellQuote(password);
    SToolRun run;
    // Only standard output: the bytes of the entry.
    run.ok = RunNativeCommand("unzip -p" + pass + " " + Host(archive) + " " + ShellQuote(name) +
                                  " 2>/dev/null",
                              &run.output);
    return run;
}

bool ZipinfoEntries(const std::string& archive, std::vector<SZipinfoEntry>* entries) {
    entries->clear();
    const SToolRun run = RunHost("zipinfo -v " + Host(archive));
    if (!run.ok)
        return false;
    std::istringstream lines(run.output);
    std::string line;
    bool wantName = false;
    while (std::getline(lines, line)) {
        if (line.rfind("Central directory entry #", 0) == 0) {
            entries->push_back(SZipinfoEntry());
            wantName = true;
            continue;
        }
        if (entries->empty() || line.empty() || line[0] == '-')
            continue;
        if (wantName) {
            // Before the name zipinfo may note a gap, as after a data descriptor.
            if (Trimmed(line).rfind("There ", 0) == 0)
                continue;
            entries->back().name = Trimmed(line);
            wantName = false;
            continue;
        }
        const size_t colon = line.find(": ");
        if (line.compare(0, 2, "  ") != 0 || line[2] == ' ' || colon == std::string::npos)
            continue;
        entries->back().fields[Trimmed(line.substr(0, colon))] = Trimmed(line.substr(colon + 1));
    }
    return true;
}

SPythonListing PythonListing(const std::string& archive, const std::string& password) {
    SPythonListing listing;
    std::string output;
    if (!RunNativeCommand(std::string(kPython) + " - " + Host(archive) + " " +
                              ShellQuote(password) + " 2>&1 <<'ZIPTOOLSPY'" + kListingScript +
                              "ZIPTOOLSPY\n",
                          &output)) {
        listing.error = output;
        return listing;
    }
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        const std::vector<std::string> parts = Split(line, '\t');
        if (parts.size() == 2 && parts[0] == "error") {
            listing.error = FromHex(parts[1]);
        } else if (parts.size() == 2 && parts[0] == "comment") {
            listing.opened = true;
            listing.comment = FromHex(parts[1]);
        } else if (parts.size() == 2 && parts[0] == "tested") {
            listing.tested = true;
            listing.firstBad = FromHex(parts[1]);
        } else if (parts.size() == 8 && parts[0] == "entry") {
            SPythonEntry entry;
            entry.name = FromHex(parts[1]);
            entry.size = std::strtoull(parts[2].c_str(), nullptr, 10);
            entry.compressedSize = std::strtoull(parts[3].c_str(), nullptr, 10);
            entry.crc = uint32_t(std::strtoul(parts[4].c_str(), nullptr, 16));
            entry.method = std::atoi(parts[5].c_str());
            entry.flags = std::atoi(parts[6].c_str());
            entry.comment = FromHex(parts[7]);
            listing.entries.push_back(entry);
        } else {
            listing.error += line + "\n";
        }
    }
    return listing;
}

SToolRun SevenZipTest(const std::string& archive, const std::string& password) {
    // Without -p a password prompt would wait for ever: an empty one fails instead.
    return RunHost("7z t -bd -p" + ShellQuote(password) + " " + Host(archive) + " </dev/null");
}

bool BsdtarNames(const std::string& archive, std::vector<std::string>* names) {
    names->clear();
    std::string output;
    if (!RunNativeCommand("LC_ALL=C.UTF-8 bsdtar -tf " + Host(archive) + " 2>/dev/null", &output))
        return false;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line))
        names->push_back(line);
    return true;
}

std::string CheckWithAllTools(const std::string& archive, size_t expectedEntries,
                              const std::string& password) {
    std::string failures;
    const SToolRun unzip = UnzipTest(archive, password);
    if (!unzip.ok || unzip.output.find("No errors detected") == std::string::npos)
        failures += "unzip -t: " + unzip.output + "\n";
    std::vector<SZipinfoEntry> info;
    if (!ZipinfoEntries(archive, &info) || info.size() != expectedEntries)
        failures += "zipinfo -v: " + std::to_string(info.size()) + " entries\n";
    const SPythonListing python = PythonListing(archive, password);
    if (!python.opened || !python.tested || !python.firstBad.empty() ||
        python.entries.size() != expectedEntries)
        failures += "python zipfile: " + std::to_string(python.entries.size()) +
                    " entries, bad \"" + python.firstBad + "\" " + python.error + "\n";
    const SToolRun sevenZip = SevenZipTest(archive, password);
    if (!sevenZip.ok || sevenZip.output.find("Everything is Ok") == std::string::npos)
        failures += "7z t: " + sevenZip.output + "\n";
    std::vector<std::string> names;
    if (!BsdtarNames(archive, &names) || names.size() != expectedEntries)
        failures += "bsdtar -tf: " + std::to_string(names.size()) + " entries\n";
    return failures;
}

bool MakeWithZip(const std::string& folder, const std::vector<std::string>& files,
                 const std::string& archive, const SZipOptions& options) {
    std::string command = "cd " + Host(folder) + " && rm -f " + Host(archive) + " && ";
    if (!options.comment.empty())
        command += "printf '%s' " + ShellQuote(options.comment) + " | ";
    command += "LC_ALL=C.UTF-8 zip -q -X";
    if (options.stored)
        command += " -0";
    if (!options.password.empty())
        command += " -P " + ShellQuote(options.password);
    if (!options.comment.empty())
        command += " -z";
    if (options.splitKiB)
        command += " -s " + std::to_string(options.splitKiB) + "k";
    if (options.recurse)
        command += " -r";
    if (!options.directories)
        command += " -D";
    return RunHost(command + " " + Host(archive) + FileList(files)).ok;
}

bool MakeWithZipFromPipe(const std::string& contentFile, const std::string& archive) {
    return RunHost("rm -f " + Host(archive) + " && cat " + Host(contentFile) + " | zip -q " +
                   Host(archive) + " -")
        .ok;
}

bool MakeWith7z(const std::string& folder, const std::vector<std::string>& files,
                const std::string& archive, const SSevenZipOptions& options) {
    std::string command =
        "cd " + Host(folder) + " && rm -f " + Host(archive) + " " + Host(archive) +
        ".0?? && LC_ALL=C.UTF-8 7z a -tzip -bd -y -mx=" + std::to_string(options.level);
    if (!options.password.empty())
        command += " -mem=ZipCrypto -p" + ShellQuote(options.password);
    if (options.volumeKiB)
        command += " -v" + std::to_string(options.volumeKiB) + "k";
    return RunHost(command + " " + Host(archive) + FileList(files) + " </dev/null").ok;
}

bool MakeWithPython(const std::string& folder, const std::vector<std::string>& files,
                    const std::string& archive, const std::string& comment, bool windowsNames) {
    return RunHost(std::string(kPython) + " - " + Host(folder) + " " + Host(archive) + " " +
                   ShellQuote(comment) + (windowsNames ? " 1" : " 0") + FileList(files) +
                   " <<'ZIPTOOLSPY'" + kMakerScript + "ZIPTOOLSPY\n")
        .ok;
}

} // namespace ZipTools
