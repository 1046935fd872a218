// Object.cpp: CObject, CRuntimeClass and the diagnostic helpers of Object.h.
#include "Object.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
// Head of the process-wide list of registered run-time classes. Constant-initialised,
// so registrations from any translation unit's static initialisers find it ready.
std::atomic<CRuntimeClass*> g_firstClass{nullptr};
} // namespace

CRuntimeClass CObject::classCObject = {"CObject", (int)sizeof(CObject), 0xFFFF, nullptr, nullptr,
                                       nullptr};
static const AFX_CLASSINIT _init_CObject(&CObject::classCObject);

CRuntimeClass* CObject::GetThisClass() {
    return &CObject::classCObject;
}
CRuntimeClass* CObject::GetRuntimeClass() const {
    return &CObject::classCObject;
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const {
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

BOOL CObject::IsSerializable() const {
    return GetRuntimeClass()->m_wSchema != 0xFFFF;
}

void CObject::Serialize(CArchive&) {}
void CObject::AssertValid() const {}

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass) {
    CRuntimeClass* head = g_firstClass.load(std::memory_order_relaxed);
    do {
        pNewClass->m_pNextClass = head;
    } while (!g_firstClass.compare_exchange_weak(head, pNewClass, std::memory_order_release,
                                                 std::memory_order_relaxed));
}

CObject* CRuntimeClass::CreateObject() {
    if (m_pfnCreateObject == nullptr) {
        TRACE("CRuntimeClass::CreateObject: class %s is not dynamically creatable.\n",
              m_lpszClassName);
        return nullptr;
    }
    return m_pfnCreateObject();
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
    if (pBaseClass == nullptr)
        return FALSE;
    for (const CRuntimeClass* p = this; p != nullptr; p = p->GetBaseClass()) {
        if (p == pBaseClass)
            return TRUE;
    }
    return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(const char* lpszClassName) {
    if (lpszClassName == nullptr)
        return nullptr;
    for (CRuntimeClass* p = g_firstClass.load(std::memory_order_acquire); p != nullptr;
         p = p->m_pNextClass) {
        if (std::strcmp(p->m_lpszClassName, lpszClassName) == 0)
            return p;
    }
    return nullptr;
}

CObject* CRuntimeClass::CreateObject(const char* lpszClassName) {
    CRuntimeClass* p = FromName(lpszClassName);
    return p ? p->CreateObject() : nullptr;
}

CObject* AFXAPI AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject) {
    if (pObject != nullptr && pObject->IsKindOf(pClass))
        return pObject;
    return nullptr;
}

CObject* AFXAPI AfxStaticDownCast(CRuntimeClass* pClass, CObject* pObject) {
    if (pObject != nullptr && !pObject->IsKindOf(pClass))
        AfxAssertFailedLine(__FILE__, __LINE__, "STATIC_DOWNCAST to an unrelated class");
    return pObject;
}

void AFXAPI AfxAssertFailedLine(const char* file, int line, const char* expression) {
    char text[1024];
    std::snprintf(text, sizeof text, "%s(%d): ASSERT failed: %s\n", file ? file : "?", line,
                  expression ? expression : "");
    OutputDebugStringA(text);
    std::fputs(text, stderr);
    std::fflush(stderr);
    std::abort();
}

void AFXAPI AfxAssertValidObject(const CObject* pObject, const char* file, int line) {
    if (pObject == nullptr)
        AfxAssertFailedLine(file, line, "ASSERT_VALID of a null object");
    pObject->AssertValid();
}

void AFX_CDECL AfxTrace(const char* format, ...) {
    if (format == nullptr)
        return;
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    OutputDebugStringA(text);
}
