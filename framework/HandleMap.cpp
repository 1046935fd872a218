// HandleMap.cpp: the per-thread registry of handle maps.
#include "HandleMap.h"

#include <utility>

namespace {

// Set when the thread's registry has been destroyed; a plain flag, so it can
// still be read by destructors that run after the registry's.
thread_local bool t_bRegistryGone = false;

// Owns the calling thread's maps and deletes them when the thread ends.
struct SThreadRegistry {
    std::vector<std::pair<std::unique_ptr<CTempMapBase>, void (*)()>> maps;

    ~SThreadRegistry() {
        t_bRegistryGone = true;
        for (auto& entry : maps)
            entry.second(); // the map's thread slot forgets it before it goes
        maps.clear();
    }
};

// Null before the first map of the thread is made and after the thread ends.
thread_local SThreadRegistry* t_pRegistry = nullptr;

SThreadRegistry* RegistryForThisThread(bool bCreate) {
    if (t_pRegistry == nullptr && bCreate && !t_bRegistryGone) {
        // Made on first use, so threads that never wrap a handle pay nothing.
        static thread_local SThreadRegistry t_registry;
        t_pRegistry = &t_registry;
    }
    return t_bRegistryGone ? nullptr : t_pRegistry;
}

} // namespace

bool CTempMapBase::Adopt(CTempMapBase* pMap, void (*pfnForget)()) {
    SThreadRegistry* pRegistry = RegistryForThisThread(true);
    if (pRegistry == nullptr)
        return false;
    pRegistry->maps.emplace_back(std::unique_ptr<CTempMapBase>(pMap), pfnForget);
    return true;
}

void AfxDeleteTempGdiObjects() {
    SThreadRegistry* pRegistry = RegistryForThisThread(false);
    if (pRegistry == nullptr)
        return;
    for (auto& entry : pRegistry->maps)
        entry.first->DeleteTemporaries();
}
