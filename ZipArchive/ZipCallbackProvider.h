// ZipCallbackProvider.h: the callbacks an archive reports progress to, one per
// callback type.
#pragma once

#include "ZipCallback.h"
#include "ZipCollections.h"

namespace ZipArchiveLib {

class CZipCallbackProvider : public CZipMap<int, CZipActionCallback*> {
public:
    // Registers the callback (or removes the entries, given none) under every
    // type that shares a bit with the mask.
    void Set(CZipActionCallback* pCallback, int iWhich);
    // The callback of a type with its type set, or none.
    CZipActionCallback* Get(int iType);
};

} // namespace ZipArchiveLib
