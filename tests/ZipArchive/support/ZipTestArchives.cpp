// ZipTestArchives.cpp: reading whole archives with our classes, test data.
#include "ZipTestArchives.h"

#include "ZipArchive.h"
#include "ZipException.h"
#include "ZipTestTools.h"

#include "framework/File.h"

namespace ZipTestArchives {

namespace {

uint32_t NextRandom(uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

std::string Describe(CException* e) {
    char text[512] = "";
    e->GetErrorMessage(text, sizeof text);
    return text;
}

} // namespace

SReadResult ReadWithOurClasses(const std::string& path, int mode, const std::string& password) {
    SReadResult result;
    CZipArchive zip;
    try {
        result.opened = zip.OpenArchive(path.c_str(), mode);
        if (!result.opened) {
            result.problem = "OpenArchive refused";
            return result;
        }
        if (!password.empty())
            zip.SetPassword(password.c_str());
        result.comment = zip.GetGlobalComment().GetString();
        bool sound = true;
        for (WORD i = 0; i < zip.GetCount(); ++i) {
            CZipFileHeader* header = zip.GetEntryInfo(i);
            SReadEntry entry;
            std::string name = header->GetFileName().GetString();
            entry.directory = !name.empty() && (name.back() == '\\' || name.back() == '/');
            for (char& c : name)
                c = c == '\\' ? '/' : c;
            entry.name = ZipTools::Utf8FromAnsi(name);
            entry.comment = ZipTools::Utf8FromAnsi(header->GetComment().GetString());
            if (!entry.directory) {
                if (!zip.OpenEntryForExtraction(i)) {
                    result.problem += "entry " + entry.name + " refused to open; ";
                    sound = false;
                    result.entries.push_back(entry);
                    continue;
                }
                char buffer[65536];
                DWORD got;
                while ((got = zip.ReadEntryData(buffer, sizeof buffer)) > 0)
                    entry.bytes.append(buffer, got);
                const int closed = zip.CloseExtractedEntry();
                if (closed != CZipArchive::ceOk) {
                    result.problem +=
                        "entry " + entry.name + " closed with " + std::to_string(closed) + "; ";
                    sound = false;
                }
            }
            result.entries.push_back(entry);
        }
        result.complete = sound;
        zip.CloseArchive();
    } catch (CZipException* e) {
        result.zipError = e->m_iCause;
        result.problem += "CZipException " + std::to_string(e->m_iCause) + ": " + Describe(e);
        e->Delete();
        zip.CloseArchive(CZipArchive::afAfterException);
    } catch (CFileException* e) {
        result.fileException = true;
        result.problem += "file exception: " + Describe(e);
        e->Delete();
        zip.CloseArchive(CZipArchive::afAfterException);
    } catch (CException* e) {
        result.otherException = true;
        result.problem += "exception: " + Describe(e);
        e->Delete();
        zip.CloseArchive(CZipArchive::afAfterException);
    }
    return result;
}

std::string TextBytes(size_t size, uint32_t seed) {
    static const char* const kWords[] = {"call ",     "agent ", "queue ", "7411 ",   "hold\r\n",
                                         "transfer ", "Zel ",   "moxel ", "review ", "0:42 "};
    std::string bytes;
    bytes.reserve(size + 16);
    uint32_t state = seed;
    while (bytes.size() < size)
        bytes += kWords[NextRandom(state) % 10];
    bytes.resize(size);
    return bytes;
}

std::string NoiseBytes(size_t size, uint32_t seed) {
    std::string bytes(size, '\0');
    uint32_t state = seed | 1;
    for (char& c : bytes)
        c = char(NextRandom(state));
    return bytes;
}

} // namespace ZipTestArchives
