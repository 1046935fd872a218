// DropBlock.h: a file-drop list (CF_HDROP) block of some paths, as the shell
// and the call list hand dropped files over, for the tests of the drop targets.
#pragma once

#include "Common/DropFileList.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

// The block of the paths in new movable global memory; the caller frees it
// unless a drop takes it over.
inline HGLOBAL MakeDropBlock(const std::vector<std::string>& paths) {
    CDropFileList list;
    for (const std::string& path : paths)
        list.Add(path.c_str());
    list.BuildBlock();
    HGLOBAL hBlock = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, list.GetBlockSize());
    memcpy(::GlobalLock(hBlock), list.GetBlock(), list.GetBlockSize());
    ::GlobalUnlock(hBlock);
    return hBlock;
}
