#include "DropFileList.h"

#include <shlobj.h>

#include <cstring>

namespace {

// The file list follows the header directly.
const SIZE_T kFileListOffset = sizeof(DROPFILES); // 0x14 (20)
static_assert(sizeof(DROPFILES) == 20, "DROPFILES must be the 20-byte shell header");
// Header, the list's closing NUL and one spare byte before rounding.
const SIZE_T kFixedBytes = 22;
const SIZE_T kSizeStep = 32;

} // namespace

void CDropFileList::BuildBlock() {
    SIZE_T pathBytes = 0;
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        SIZE_T length = std::strlen(GetAt(i));
        if (length > 0)
            pathBytes += length + 1;
    }
    SIZE_T size = (pathBytes + kFixedBytes) / kSizeStep * kSizeStep + kSizeStep;

    m_block.assign(size, 0);
    DROPFILES header = {};
    header.pFiles = static_cast<DWORD>(kFileListOffset);
    header.fWide = FALSE;
    std::memcpy(m_block.data(), &header, sizeof header);

    // Paths are written up to their first NUL: a CString may hold NULs, and one
    // inside a path would split it into two entries.
    BYTE* out = m_block.data() + kFileListOffset;
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        LPCSTR path = GetAt(i);
        SIZE_T length = std::strlen(path);
        if (length == 0)
            continue;
        std::memcpy(out, path, length + 1);
        out += length + 1;
    }
}
