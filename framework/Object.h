// Object.h: CObject and CRuntimeClass, the run-time class macros, and the basic
// Afx macros (ASSERT, VERIFY, TRACE, ...) that every framework file needs.
//
// Run-time classes follow the framework's "shared library" flavour: every class
// with DECLARE_DYNAMIC has a static record `class<Name>`, a static `GetThisClass()`
// and the virtual `GetRuntimeClass()`; RUNTIME_CLASS(X) is `X::GetThisClass()`.
// Every record made by an IMPLEMENT_* macro is linked, during static
// initialisation, into one process-wide list that CRuntimeClass::FromName searches.
//
// Diagnostics: ASSERT, ASSERT_VALID and TRACE are active only when _DEBUG (or
// ZM_AFX_DIAGNOSTICS) is defined, as in the framework's release builds otherwise;
// their arguments are still compiled (so variables used only in them count as
// used) but never evaluated. VERIFY always evaluates its argument. A failed
// ASSERT writes "file(line): ASSERT failed: expr" with OutputDebugStringA and to
// stderr, then aborts.
#pragma once

#include <windows.h>

#include <cstddef>

// ---------------------------------------------------------------------------
// Basic Afx macros.

#ifndef AFXAPI
#define AFXAPI
#endif
#ifndef AFX_CDECL
#define AFX_CDECL
#endif
#ifndef afx_msg
#define afx_msg
#endif

#ifndef _T
#define _T(x) x
#endif

#define UNUSED_ALWAYS(x) ((void)(x))
#if defined(_DEBUG) || defined(ZM_AFX_DIAGNOSTICS)
#define ZM_AFX_DIAGNOSTICS_ON 1
#define UNUSED(x)
#else
#define ZM_AFX_DIAGNOSTICS_ON 0
#define UNUSED(x) ((void)(x))
#endif

class CObject;
struct CRuntimeClass;
class CArchive;

// Writes "file(line): ASSERT failed\n" and aborts the process.
[[noreturn]] void AFXAPI AfxAssertFailedLine(const char* file, int line, const char* expression);
// Checks that pObject is not null and calls its AssertValid.
void AFXAPI AfxAssertValidObject(const CObject* pObject, const char* file, int line);
// printf-style text to OutputDebugStringA (at most 1023 characters per call).
void AFX_CDECL AfxTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));

#if ZM_AFX_DIAGNOSTICS_ON
#define ASSERT(f)                                                                                  \
    do {                                                                                           \
        if (!(f))                                                                                  \
            ::AfxAssertFailedLine(__FILE__, __LINE__, #f);                                         \
    } while (0)
#define ASSERT_VALID(pOb) ::AfxAssertValidObject((pOb), __FILE__, __LINE__)
#define TRACE(...) ::AfxTrace(__VA_ARGS__)
#define VERIFY(f) ASSERT(f)
#else
#define ASSERT(f) ((void)sizeof(!(f)))
#define ASSERT_VALID(pOb) ((void)sizeof(pOb))
#define TRACE(...)                                                                                 \
    do {                                                                                           \
        if (false)                                                                                 \
            ::AfxTrace(__VA_ARGS__);                                                               \
    } while (0)
#define VERIFY(f) ((void)(f))
#endif
#define ASSERT_KINDOF(class_name, object) ASSERT((object)->IsKindOf(RUNTIME_CLASS(class_name)))
// Checks a condition in every build: false throws CInvalidArgException (Exception.h).
#define ENSURE(cond)                                                                               \
    do {                                                                                           \
        if (!(cond))                                                                               \
            ::AfxThrowInvalidArgException();                                                       \
    } while (0)
[[noreturn]] void AFXAPI AfxThrowInvalidArgException(); // defined in Exception.cpp

// ---------------------------------------------------------------------------
// Run-time classes.

struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;                        // 0xFFFF: not serialisable
    CObject* (*m_pfnCreateObject)();       // null: not dynamically creatable
    CRuntimeClass* (*m_pfnGetBaseClass)(); // null: no base (CObject)
    CRuntimeClass* m_pNextClass;           // the process-wide list of registered classes

    // A new object of the class, or null when the class is not creatable.
    CObject* CreateObject();
    // True when this class is pBaseClass or derives from it.
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
    CRuntimeClass* GetBaseClass() const {
        return m_pfnGetBaseClass ? m_pfnGetBaseClass() : nullptr;
    }

    // The registered class of that exact (case-sensitive) name, or null.
    static CRuntimeClass* FromName(const char* lpszClassName);
    // A new object of the registered class of that name, or null.
    static CObject* CreateObject(const char* lpszClassName);
};

// Links a class record into the process-wide list; made by the IMPLEMENT_* macros.
struct AFX_CLASSINIT {
    explicit AFX_CLASSINIT(CRuntimeClass* pNewClass);
};

#define RUNTIME_CLASS(...) (__VA_ARGS__::GetThisClass())
#define _RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                                                                \
public:                                                                                            \
    static CRuntimeClass class##class_name;                                                        \
    static CRuntimeClass* GetThisClass();                                                          \
    virtual CRuntimeClass* GetRuntimeClass() const;

#define DECLARE_DYNCREATE(class_name)                                                              \
    DECLARE_DYNAMIC(class_name)                                                                    \
    static CObject* CreateObject();

// The base class may be a template instance with commas (it is the last argument).
#define ZM_IMPLEMENT_RUNTIMECLASS(class_name, wSchema, pfnNew, ...)                                \
    CRuntimeClass class_name::class##class_name = {                                                \
        #class_name, (int)sizeof(class class_name), (wSchema),                                     \
        (pfnNew),    &__VA_ARGS__::GetThisClass,    nullptr};                                      \
    CRuntimeClass* class_name::GetThisClass() {                                                    \
        return &class_name::class##class_name;                                                     \
    }                                                                                              \
    CRuntimeClass* class_name::GetRuntimeClass() const {                                           \
        return &class_name::class##class_name;                                                     \
    }                                                                                              \
    static const AFX_CLASSINIT _init_##class_name(&class_name::class##class_name);

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                       \
    ZM_IMPLEMENT_RUNTIMECLASS(class_name, wSchema, pfnNew, base_class_name)

#define IMPLEMENT_DYNAMIC(class_name, ...)                                                         \
    ZM_IMPLEMENT_RUNTIMECLASS(class_name, 0xFFFF, nullptr, __VA_ARGS__)

#define IMPLEMENT_DYNCREATE(class_name, ...)                                                       \
    CObject* class_name::CreateObject() {                                                          \
        return new class_name;                                                                     \
    }                                                                                              \
    ZM_IMPLEMENT_RUNTIMECLASS(class_name, 0xFFFF, &class_name::CreateObject, __VA_ARGS__)

// Templates of one parameter: IMPLEMENT_DYNAMIC_T(CFoo, T, CBase) for template<class T>.
// Each instance has its own record; instances are not registered for FromName.
#define ZM_IMPLEMENT_RUNTIMECLASS_T(class_name, T1, wSchema, pfnNew, ...)                          \
    template <typename T1>                                                                         \
    CRuntimeClass class_name<T1>::class##class_name = {                                            \
        #class_name, (int)sizeof(class class_name<T1>), (wSchema),                                 \
        (pfnNew),    &__VA_ARGS__::GetThisClass,        nullptr};                                  \
    template <typename T1> CRuntimeClass* class_name<T1>::GetThisClass() {                         \
        return &class_name<T1>::class##class_name;                                                 \
    }                                                                                              \
    template <typename T1> CRuntimeClass* class_name<T1>::GetRuntimeClass() const {                \
        return &class_name<T1>::class##class_name;                                                 \
    }
#define IMPLEMENT_RUNTIMECLASS_T(class_name, T1, base_class_name, wSchema, pfnNew)                 \
    ZM_IMPLEMENT_RUNTIMECLASS_T(class_name, T1, wSchema, pfnNew, base_class_name)
#define IMPLEMENT_DYNAMIC_T(class_name, T1, ...)                                                   \
    ZM_IMPLEMENT_RUNTIMECLASS_T(class_name, T1, 0xFFFF, nullptr, __VA_ARGS__)
#define IMPLEMENT_DYNCREATE_T(class_name, T1, ...)                                                 \
    template <typename T1> CObject* class_name<T1>::CreateObject() {                               \
        return new class_name<T1>;                                                                 \
    }                                                                                              \
    ZM_IMPLEMENT_RUNTIMECLASS_T(class_name, T1, 0xFFFF, &class_name<T1>::CreateObject, __VA_ARGS__)

// A checked downcast: null when pObject is null or not of the class (DYNAMIC_DOWNCAST);
// STATIC_DOWNCAST asserts the class in diagnostic builds and casts.
CObject* AFXAPI AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject);
#define DYNAMIC_DOWNCAST(class_name, object)                                                       \
    (static_cast<class_name*>(::AfxDynamicDownCast(RUNTIME_CLASS(class_name), (object))))
#if ZM_AFX_DIAGNOSTICS_ON
CObject* AFXAPI AfxStaticDownCast(CRuntimeClass* pClass, CObject* pObject);
#define STATIC_DOWNCAST(class_name, object)                                                        \
    (static_cast<class_name*>(::AfxStaticDownCast(RUNTIME_CLASS(class_name), (object))))
#else
#define STATIC_DOWNCAST(class_name, object) (static_cast<class_name*>(object))
#endif

// ---------------------------------------------------------------------------
// The root of the framework's classes. Not copyable (derived classes that need
// copies write their own copy operations).

class CObject {
public:
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;

    // True when the object's class is pClass or derives from it.
    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    BOOL IsSerializable() const;

    virtual void Serialize(CArchive& ar); // does nothing
    virtual void AssertValid() const;     // does nothing

    static CRuntimeClass classCObject;
    static CRuntimeClass* GetThisClass();

    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;

protected:
    CObject() = default;
};
