// HandleMap.h: CTempMapBase and CHandleMap, the per-thread maps from Win32 handles
// to the framework objects that wrap them (windows, GDI objects, device contexts,
// menus, image lists), and AfxDeleteTempGdiObjects.
//
// Each thread has its own maps, made on first use. A map has two halves:
// - permanent: handle -> the wrapper that owns it (entered by Attach and the
//   Create/Load calls, removed when the wrapper lets go of the handle). Not owned.
// - temporary: wrappers that FromHandle made for handles no wrapper owns. The map
//   owns them; they never delete their handle. They stay valid until the current
//   message returns: the message loop calls AfxDeleteTempGdiObjects at idle time.
//
// A wrapper belongs to the thread that attached it; attaching on one thread and
// destroying on another leaves a stale entry on the first thread's map.
// When a thread ends its maps go with it; wrappers destroyed after that (static
// objects at process exit) simply find no map.
#pragma once

#include <windows.h>

#include <memory>
#include <unordered_map>
#include <vector>

// Frees every temporary wrapper that FromHandle made on the calling thread, of
// all wrapper families. Pointers returned by FromHandle are invalid afterwards.
void AfxDeleteTempGdiObjects();

class CTempMapBase {
public:
    virtual ~CTempMapBase() = default;
    virtual void DeleteTemporaries() = 0;

    CTempMapBase(const CTempMapBase&) = delete;
    CTempMapBase& operator=(const CTempMapBase&) = delete;

protected:
    CTempMapBase() = default;

    // Hands pMap to the calling thread's registry, which deletes it and calls
    // pfnForget when the thread ends. False once the thread's registry is gone;
    // the caller then deletes pMap and works without a map.
    static bool Adopt(CTempMapBase* pMap, void (*pfnForget)());
};

// TObject must be polymorphic: lookups of a typed wrapper use dynamic_cast.
template <class TObject, class THandle> class CHandleMap final : public CTempMapBase {
public:
    // The calling thread's map, made on first use; null after the thread's end.
    static CHandleMap* ForThisThread() {
        CHandleMap*& pMap = Slot();
        if (pMap == nullptr) {
            CHandleMap* pMade = new CHandleMap;
            if (Adopt(pMade, &Forget))
                pMap = pMade;
            else
                delete pMade;
        }
        return pMap;
    }

    TObject* LookupPermanent(THandle h) const {
        auto it = m_permanent.find(h);
        return it == m_permanent.end() ? nullptr : it->second;
    }
    TObject* LookupTemporary(THandle h) const {
        auto it = m_temporaryIndex.find(h);
        return it == m_temporaryIndex.end() ? nullptr : it->second;
    }

    // A later entry for the same handle replaces an earlier one.
    void SetPermanent(THandle h, TObject* pObject) { m_permanent[h] = pObject; }
    // Removes the entry only when it still names pObject.
    void RemovePermanent(THandle h, const TObject* pObject) {
        auto it = m_permanent.find(h);
        if (it != m_permanent.end() && it->second == pObject)
            m_permanent.erase(it);
    }

    // Takes ownership; the new wrapper answers later lookups of h. A wrapper it
    // replaces stays alive until DeleteTemporaries, since a caller may still use it.
    TObject* AddTemporary(THandle h, std::unique_ptr<TObject> pObject) {
        TObject* p = pObject.get();
        m_temporaries.push_back(std::move(pObject));
        m_temporaryIndex[h] = p;
        return p;
    }

    void DeleteTemporaries() override {
        // Moved out first, so a destructor that looks at the map sees it empty.
        std::vector<std::unique_ptr<TObject>> doomed;
        doomed.swap(m_temporaries);
        m_temporaryIndex.clear();
        doomed.clear();
    }

private:
    CHandleMap() = default;

    // Trivially destructible, so it stays readable during thread-exit clean-up.
    static CHandleMap*& Slot() {
        static thread_local CHandleMap* t_pMap = nullptr;
        return t_pMap;
    }
    static void Forget() { Slot() = nullptr; }

    std::unordered_map<THandle, TObject*> m_permanent;
    std::unordered_map<THandle, TObject*> m_temporaryIndex;
    std::vector<std::unique_ptr<TObject>> m_temporaries; // owns the temporaries
};
