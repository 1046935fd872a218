// ZipCallbackProvider.cpp: one registered callback per callback type.
#include "ZipCallbackProvider.h"

namespace ZipArchiveLib {

namespace {
// Every type value a callback can be registered under, in registration order.
const int kCallbackTypes[] = {
    CZipActionCallback::cbAdd,
    CZipActionCallback::cbAddTmp,
    CZipActionCallback::cbAddStore,
    CZipActionCallback::cbExtract,
    CZipActionCallback::cbDeleteCnt,
    CZipActionCallback::cbDelete,
    CZipActionCallback::cbTest,
    CZipActionCallback::cbSave,
    CZipActionCallback::cbGet,
    CZipActionCallback::cbModify,
    CZipActionCallback::cbMoveData,
    CZipActionCallback::cbCalculateForMulti,
    CZipActionCallback::cbMultiAdd,
    CZipActionCallback::cbEncryptPrepare,
    CZipActionCallback::cbEncryptMoveData,
    CZipActionCallback::cbEncrypt,
    CZipActionCallback::cbMultiEncrypt,
};
} // namespace

void CZipCallbackProvider::Set(CZipActionCallback* pCallback, int iWhich) {
    for (int iType : kCallbackTypes) {
        if ((iType & iWhich) == 0)
            continue;
        if (pCallback)
            (*this)[iType] = pCallback;
        else
            RemoveKey(iType);
    }
}

CZipActionCallback* CZipCallbackProvider::Get(int iType) {
    CZipActionCallback* pCallback = nullptr;
    if (!Lookup(iType, pCallback) || !pCallback)
        return nullptr;
    pCallback->m_iType = iType;
    return pCallback;
}

} // namespace ZipArchiveLib
