// OleData.cpp: COleDataSource with its IDataObject (CDataSourceCache) and format
// enumerator, and COleDataObject.
#include "OleData.h"

#include "ComRefCounted.h"

#include <cstring>
#include <new>
#include <vector>

IMPLEMENT_DYNAMIC(COleDataSource, CCmdTarget)

HGLOBAL AfxCopyGlobalMemory(HGLOBAL hSource) {
    if (hSource == nullptr)
        return nullptr;
    const SIZE_T nSize = GlobalSize(hSource);
    HGLOBAL hCopy = GlobalAlloc(GMEM_MOVEABLE, nSize != 0 ? nSize : 1);
    if (hCopy == nullptr) {
        TRACE("AfxCopyGlobalMemory: GlobalAlloc of %lu bytes failed (%u)\n",
              static_cast<unsigned long>(nSize), static_cast<unsigned>(GetLastError()));
        return nullptr;
    }
    const void* pSource = GlobalLock(hSource);
    void* pCopy = GlobalLock(hCopy);
    if (pSource == nullptr || pCopy == nullptr) {
        if (pSource != nullptr)
            GlobalUnlock(hSource);
        if (pCopy != nullptr)
            GlobalUnlock(hCopy);
        GlobalFree(hCopy);
        return nullptr;
    }
    memcpy(pCopy, pSource, nSize);
    GlobalUnlock(hCopy);
    GlobalUnlock(hSource);
    return hCopy;
}

namespace {

// A request matches a cached format of the same format, aspect and index on any
// medium the request allows. The target device is not compared: the cache only
// holds device-independent content.
bool FormatMatches(const FORMATETC& request, const FORMATETC& cached) {
    return request.cfFormat == cached.cfFormat && request.dwAspect == cached.dwAspect &&
           request.lindex == cached.lindex && (request.tymed & cached.tymed) != 0;
}

// IEnumFORMATETC over a snapshot of the cache's formats, so that caching during
// an enumeration does not disturb it.
class CFormatEnumerator final : public CComRefCounted<IEnumFORMATETC> {
public:
    CFormatEnumerator(std::vector<FORMATETC> formats, size_t nNext)
        : CComRefCounted(IID_IEnumFORMATETC), m_formats(std::move(formats)), m_nNext(nNext) {}

    HRESULT STDMETHODCALLTYPE Next(ULONG celt, FORMATETC* rgelt, ULONG* pceltFetched) override {
        if (rgelt == nullptr || (celt != 1 && pceltFetched == nullptr))
            return E_INVALIDARG;
        ULONG nFetched = 0;
        while (nFetched < celt && m_nNext < m_formats.size())
            rgelt[nFetched++] = m_formats[m_nNext++];
        if (pceltFetched != nullptr)
            *pceltFetched = nFetched;
        return nFetched == celt ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG celt) override {
        const size_t nLeft = m_formats.size() - m_nNext;
        if (celt > nLeft) {
            m_nNext = m_formats.size();
            return S_FALSE;
        }
        m_nNext += celt;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        m_nNext = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumFORMATETC** ppenum) override {
        if (ppenum == nullptr)
            return E_POINTER;
        *ppenum = nullptr;
        try {
            *ppenum = new CFormatEnumerator(m_formats, m_nNext);
        } catch (...) {
            return E_OUTOFMEMORY;
        }
        return S_OK;
    }

private:
    ~CFormatEnumerator() = default;

    std::vector<FORMATETC> m_formats;
    size_t m_nNext;
};

} // namespace

// The IDataObject of a COleDataSource: the cached formats and their media. Lives
// as long as its last reference, which may be OLE's after the source is gone.
class CDataSourceCache final : public CComRefCounted<IDataObject> {
public:
    CDataSourceCache() : CComRefCounted(IID_IDataObject) {}

    // Takes ownership of *pMedium on success.
    bool Add(const FORMATETC& format, const STGMEDIUM& medium) {
        for (Entry& entry : m_entries) {
            if (entry.format.cfFormat == format.cfFormat &&
                entry.format.dwAspect == format.dwAspect && entry.format.lindex == format.lindex &&
                entry.format.tymed == format.tymed) {
                ReleaseStgMedium(&entry.medium);
                entry.medium = medium;
                return true;
            }
        }
        try {
            m_entries.push_back(Entry{format, medium});
        } catch (const std::bad_alloc&) {
            return false;
        }
        return true;
    }
    void Clear() {
        for (Entry& entry : m_entries)
            ReleaseStgMedium(&entry.medium);
        m_entries.clear();
    }

    // Global memory goes out as a copy; other media are lent, and the receiver's
    // ReleaseStgMedium releases this cache instead of the medium.
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* pformatetcIn, STGMEDIUM* pmedium) override {
        if (pformatetcIn == nullptr || pmedium == nullptr)
            return E_INVALIDARG;
        memset(pmedium, 0, sizeof(*pmedium));
        const Entry* pEntry = Find(*pformatetcIn);
        if (pEntry == nullptr)
            return NotFound(*pformatetcIn);
        if (pEntry->medium.tymed == TYMED_HGLOBAL) {
            HGLOBAL hCopy = AfxCopyGlobalMemory(pEntry->medium.hGlobal);
            if (hCopy == nullptr)
                return E_OUTOFMEMORY;
            pmedium->tymed = TYMED_HGLOBAL;
            pmedium->hGlobal = hCopy;
            return S_OK;
        }
        *pmedium = pEntry->medium;
        if (pmedium->tymed == TYMED_ISTREAM)
            pmedium->pstm->AddRef();
        else if (pmedium->tymed == TYMED_ISTORAGE)
            pmedium->pstg->AddRef();
        pmedium->pUnkForRelease = static_cast<IDataObject*>(this);
        AddRef();
        return S_OK;
    }
    // Only into the receiver's global memory, which must be large enough.
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC* pformatetc, STGMEDIUM* pmedium) override {
        if (pformatetc == nullptr || pmedium == nullptr)
            return E_INVALIDARG;
        if (pformatetc->tymed != TYMED_HGLOBAL || pmedium->tymed != TYMED_HGLOBAL ||
            pmedium->hGlobal == nullptr)
            return DV_E_TYMED;
        const Entry* pEntry = Find(*pformatetc);
        if (pEntry == nullptr)
            return NotFound(*pformatetc);
        const SIZE_T nSize = GlobalSize(pEntry->medium.hGlobal);
        if (GlobalSize(pmedium->hGlobal) < nSize)
            return STG_E_MEDIUMFULL;
        const void* pSource = GlobalLock(pEntry->medium.hGlobal);
        void* pTarget = GlobalLock(pmedium->hGlobal);
        if (pSource != nullptr && pTarget != nullptr)
            memcpy(pTarget, pSource, nSize);
        if (pSource != nullptr)
            GlobalUnlock(pEntry->medium.hGlobal);
        if (pTarget != nullptr)
            GlobalUnlock(pmedium->hGlobal);
        return pSource != nullptr && pTarget != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* pformatetc) override {
        if (pformatetc == nullptr)
            return E_INVALIDARG;
        return Find(*pformatetc) != nullptr ? S_OK : NotFound(*pformatetc);
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC* pformatectIn,
                                                    FORMATETC* pformatetcOut) override {
        if (pformatectIn == nullptr || pformatetcOut == nullptr)
            return E_INVALIDARG;
        *pformatetcOut = *pformatectIn;
        pformatetcOut->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD dwDirection,
                                            IEnumFORMATETC** ppenumFormatEtc) override {
        if (ppenumFormatEtc == nullptr)
            return E_POINTER;
        *ppenumFormatEtc = nullptr;
        if (dwDirection != DATADIR_GET)
            return E_NOTIMPL;
        try {
            std::vector<FORMATETC> formats;
            formats.reserve(m_entries.size());
            for (const Entry& entry : m_entries)
                formats.push_back(entry.format);
            *ppenumFormatEtc = new CFormatEnumerator(std::move(formats), 0);
        } catch (...) {
            return E_OUTOFMEMORY;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }

private:
    struct Entry {
        FORMATETC format; // ptd always null
        STGMEDIUM medium; // owned
    };

    ~CDataSourceCache() { Clear(); }

    const Entry* Find(const FORMATETC& request) const {
        for (const Entry& entry : m_entries) {
            if (FormatMatches(request, entry.format))
                return &entry;
        }
        return nullptr;
    }
    // Names the first part of the request that no cached format matches.
    HRESULT NotFound(const FORMATETC& request) const {
        HRESULT hr = DV_E_FORMATETC;
        for (const Entry& entry : m_entries) {
            if (entry.format.cfFormat != request.cfFormat)
                continue;
            if (entry.format.dwAspect != request.dwAspect)
                hr = DV_E_DVASPECT;
            else if (entry.format.lindex != request.lindex)
                hr = DV_E_LINDEX;
            else
                return DV_E_TYMED;
        }
        return hr;
    }

    std::vector<Entry> m_entries;
};

// ---------------------------------------------------------------------------
// COleDataSource

COleDataSource::COleDataSource() : m_pCache(new CDataSourceCache) {}

COleDataSource::~COleDataSource() {
    m_pCache->Release();
}

BOOL COleDataSource::CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal,
                                     LPFORMATETC lpFormatEtc) {
    STGMEDIUM medium = {};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = hGlobal;
    return CacheData(cfFormat, &medium, lpFormatEtc);
}

BOOL COleDataSource::CacheData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium,
                               LPFORMATETC lpFormatEtc) {
    if (lpStgMedium == nullptr || lpStgMedium->tymed == TYMED_NULL ||
        lpStgMedium->hGlobal == nullptr) {
        TRACE("COleDataSource::CacheData: no medium for format %u\n", cfFormat);
        return FALSE;
    }
    FORMATETC format = {cfFormat, nullptr, DVASPECT_CONTENT, -1, lpStgMedium->tymed};
    if (lpFormatEtc != nullptr) {
        format.dwAspect = lpFormatEtc->dwAspect;
        format.lindex = lpFormatEtc->lindex;
    }
    if (!m_pCache->Add(format, *lpStgMedium)) {
        TRACE("COleDataSource::CacheData: out of memory for format %u\n", cfFormat);
        return FALSE;
    }
    return TRUE;
}

void COleDataSource::Empty() {
    m_pCache->Clear();
}

LPDATAOBJECT COleDataSource::GetDataObject() const {
    m_pCache->AddRef();
    return m_pCache;
}

// ---------------------------------------------------------------------------
// COleDataObject

COleDataObject::~COleDataObject() {
    Release();
}

void COleDataObject::Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease) {
    Release();
    m_lpDataObject = lpDataObject;
    m_bAutoRelease = lpDataObject != nullptr && bAutoRelease;
}

LPDATAOBJECT COleDataObject::Detach() {
    LPDATAOBJECT lpDataObject = m_lpDataObject;
    m_lpDataObject = nullptr;
    m_bAutoRelease = FALSE;
    return lpDataObject;
}

void COleDataObject::Release() {
    const BOOL bAutoRelease = m_bAutoRelease;
    LPDATAOBJECT lpDataObject = Detach();
    if (lpDataObject != nullptr && bAutoRelease)
        lpDataObject->Release();
}

BOOL COleDataObject::AttachClipboard() {
    Release();
    LPDATAOBJECT lpDataObject = nullptr;
    const HRESULT hr = OleGetClipboard(&lpDataObject);
    if (FAILED(hr) || lpDataObject == nullptr) {
        TRACE("COleDataObject::AttachClipboard: OleGetClipboard failed (0x%08lx)\n",
              static_cast<unsigned long>(hr));
        return FALSE;
    }
    Attach(lpDataObject, TRUE);
    return TRUE;
}

LPDATAOBJECT COleDataObject::GetIDataObject(BOOL bAddRef) {
    if (bAddRef && m_lpDataObject != nullptr)
        m_lpDataObject->AddRef();
    return m_lpDataObject;
}

namespace {

FORMATETC RequestFor(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc, DWORD tymedDefault) {
    if (lpFormatEtc != nullptr) {
        FORMATETC format = *lpFormatEtc;
        format.cfFormat = cfFormat;
        return format;
    }
    return FORMATETC{cfFormat, nullptr, DVASPECT_CONTENT, -1, tymedDefault};
}

const DWORD kAnyMedium = TYMED_HGLOBAL | TYMED_FILE | TYMED_ISTREAM | TYMED_ISTORAGE | TYMED_GDI |
                         TYMED_MFPICT | TYMED_ENHMF;

} // namespace

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) {
    if (m_lpDataObject == nullptr)
        return FALSE;
    FORMATETC format = RequestFor(cfFormat, lpFormatEtc, kAnyMedium);
    return m_lpDataObject->QueryGetData(&format) == S_OK;
}

BOOL COleDataObject::GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium,
                             LPFORMATETC lpFormatEtc) {
    if (lpStgMedium == nullptr)
        return FALSE;
    memset(lpStgMedium, 0, sizeof(*lpStgMedium));
    if (m_lpDataObject == nullptr)
        return FALSE;
    FORMATETC format = RequestFor(cfFormat, lpFormatEtc, kAnyMedium);
    if (FAILED(m_lpDataObject->GetData(&format, lpStgMedium))) {
        memset(lpStgMedium, 0, sizeof(*lpStgMedium));
        return FALSE;
    }
    return TRUE;
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) {
    if (m_lpDataObject == nullptr)
        return nullptr;
    FORMATETC format = RequestFor(cfFormat, lpFormatEtc, TYMED_HGLOBAL);
    format.tymed = TYMED_HGLOBAL;
    STGMEDIUM medium = {};
    if (FAILED(m_lpDataObject->GetData(&format, &medium)))
        return nullptr;
    if (medium.tymed != TYMED_HGLOBAL) {
        ReleaseStgMedium(&medium);
        return nullptr;
    }
    // Memory that is only lent (pUnkForRelease set) stays with its owner: copy it.
    if (medium.pUnkForRelease == nullptr)
        return medium.hGlobal;
    HGLOBAL hCopy = AfxCopyGlobalMemory(medium.hGlobal);
    ReleaseStgMedium(&medium);
    return hCopy;
}
