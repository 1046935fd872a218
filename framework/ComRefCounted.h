// ComRefCounted.h: CComRefCounted, the IUnknown half of the small COM objects that
// the framework lends to OLE (data objects, format enumerators, drag sources and
// drop targets).
//
// An object starts with one reference, held by whoever made it, and deletes
// itself when the last one is released.
#pragma once

#include <windows.h>

template <class Interface> class CComRefCounted : public Interface {
public:
    explicit CComRefCounted(REFIID riidInterface) : m_iid(riidInterface) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override {
        if (ppvObject == nullptr)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, m_iid)) {
            *ppvObject = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *ppvObject = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_nRef); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG nRef = InterlockedDecrement(&m_nRef);
        if (nRef == 0)
            delete this;
        return nRef;
    }

protected:
    virtual ~CComRefCounted() = default;

private:
    const IID m_iid; // the one interface besides IUnknown
    LONG m_nRef = 1;
};
