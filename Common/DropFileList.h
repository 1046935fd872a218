// DropFileList.h: CDropFileList, a list of file paths that builds the
// platform's CF_HDROP block (a DROPFILES header followed by the paths).
//
// The block is what the call list and the trees put on the clipboard or offer
// to an OLE drag: 8-bit paths, drop point (0, 0), each path with its NUL, one
// more NUL, and zero bytes up to the block's size. The size is the paths'
// lengths plus one each, plus 22, raised to the next multiple of 32 (a sum that
// is already a multiple still gains 32), so the list always ends in at least
// two NULs.
#pragma once

#include "framework/PtrCollections.h"

#include <windows.h>

#include <vector>

// The paths are the inherited string array (Add appends one); BuildBlock turns
// them into the block, which stays until the next BuildBlock or destruction.
class CDropFileList : public CStringArray {
public:
    CDropFileList() = default;
    ~CDropFileList() override = default;

    // Builds the block from the paths in their order. An empty path has no
    // form in the block (its lone NUL would end the list there), so it is
    // left out.
    void BuildBlock();

    // Null until BuildBlock ran; owned by the list.
    const BYTE* GetBlock() const { return m_block.empty() ? nullptr : m_block.data(); }
    // Bytes of the block; 0 until BuildBlock ran.
    SIZE_T GetBlockSize() const { return m_block.size(); }

private:
    std::vector<BYTE> m_block;
};
