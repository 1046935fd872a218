// ZipTestFixtures.cpp: reading an archive back entry by entry.
#include "ZipTestFixtures.h"

#include "ZipArchive.h"

namespace ZipTestFixtures {

Listing ReadBack(const std::string& path) {
    Listing result;
    CZipArchive zip;
    if (!zip.OpenArchive(path.c_str(), CZipArchive::zipOpenReadOnly))
        return result;
    for (WORD i = 0; i < zip.GetCount(); i++) {
        std::string name = zip.GetEntryInfo(i)->GetFileName().GetString();
        std::string bytes;
        if (zip.OpenEntryForExtraction(i)) {
            char buffer[4096];
            DWORD uRead;
            while ((uRead = zip.ReadEntryData(buffer, sizeof buffer)) > 0)
                bytes.append(buffer, uRead);
            if (zip.CloseExtractedEntry() != CZipArchive::ceOk)
                bytes = "<not read to its end>";
        }
        result.emplace_back(name, bytes);
    }
    zip.CloseArchive();
    return result;
}

} // namespace ZipTestFixtures
