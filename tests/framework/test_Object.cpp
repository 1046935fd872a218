// Tests of Object.h: run-time classes, dynamic creation, downcasts, Afx macros.
#include "native/gtest.h"

#include "framework/Object.h"

#include <cstring>

namespace {

class CAnimal : public CObject {
    DECLARE_DYNAMIC(CAnimal)
public:
    CAnimal() = default;
    int legs = 4;
};

class CDog : public CAnimal {
    DECLARE_DYNCREATE(CDog)
public:
    CDog() { ++s_made; }
    static int s_made;
};
int CDog::s_made = 0;

class CPuppy : public CDog {
    DECLARE_DYNCREATE(CPuppy)
};

class CStone : public CObject {
    DECLARE_DYNAMIC(CStone)
};

template <class T> class CBox : public CObject {
    DECLARE_DYNCREATE(CBox)
public:
    T value{};
};

template <class A, class B> class CPair2 : public CObject { DECLARE_DYNAMIC(CPair2) };

class CFromPair : public CPair2<int, char> {
    DECLARE_DYNCREATE(CFromPair)
};

} // namespace

IMPLEMENT_DYNAMIC(CAnimal, CObject)
IMPLEMENT_DYNCREATE(CDog, CAnimal)
IMPLEMENT_DYNCREATE(CPuppy, CDog)
IMPLEMENT_DYNAMIC(CStone, CObject)
IMPLEMENT_DYNCREATE_T(CBox, T, CObject)
template <class A, class B>
CRuntimeClass CPair2<A, B>::classCPair2 = {"CPair2", (int)sizeof(CPair2<A, B>), 0xFFFF,
                                           nullptr,  &CObject::GetThisClass,    nullptr};
template <class A, class B> CRuntimeClass* CPair2<A, B>::GetThisClass() {
    return &classCPair2;
}
template <class A, class B> CRuntimeClass* CPair2<A, B>::GetRuntimeClass() const {
    return &classCPair2;
}
IMPLEMENT_DYNCREATE(CFromPair, CPair2<int, char>) // a base with a comma

TEST(RuntimeClass, BaseMayBeATemplateInstanceWithCommas) {
    EXPECT_EQ(RUNTIME_CLASS(CPair2<int, char>), RUNTIME_CLASS(CFromPair)->GetBaseClass());
    CFromPair p;
    EXPECT_TRUE(p.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_EQ(RUNTIME_CLASS(CFromPair), CRuntimeClass::FromName("CFromPair"));
}

TEST(RuntimeClass, RecordsNameSizeSchemaAndBase) {
    CRuntimeClass* rc = RUNTIME_CLASS(CDog);
    EXPECT_STREQ("CDog", rc->m_lpszClassName);
    EXPECT_EQ(static_cast<int>(sizeof(CDog)), rc->m_nObjectSize);
    EXPECT_EQ(0xFFFFu, rc->m_wSchema);
    EXPECT_EQ(RUNTIME_CLASS(CAnimal), rc->GetBaseClass());
    EXPECT_EQ(RUNTIME_CLASS(CObject), RUNTIME_CLASS(CAnimal)->GetBaseClass());
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CObject)->GetBaseClass());
    EXPECT_STREQ("CObject", RUNTIME_CLASS(CObject)->m_lpszClassName);
    EXPECT_EQ(&CDog::classCDog, RUNTIME_CLASS(CDog));
}

TEST(RuntimeClass, GetRuntimeClassIsTheDynamicType) {
    CPuppy puppy;
    CObject* p = &puppy;
    EXPECT_EQ(RUNTIME_CLASS(CPuppy), p->GetRuntimeClass());
    CAnimal animal;
    EXPECT_EQ(RUNTIME_CLASS(CAnimal), static_cast<CObject&>(animal).GetRuntimeClass());
}

TEST(RuntimeClass, IsDerivedFromFollowsTheBaseChain) {
    EXPECT_TRUE(RUNTIME_CLASS(CPuppy)->IsDerivedFrom(RUNTIME_CLASS(CPuppy)));
    EXPECT_TRUE(RUNTIME_CLASS(CPuppy)->IsDerivedFrom(RUNTIME_CLASS(CDog)));
    EXPECT_TRUE(RUNTIME_CLASS(CPuppy)->IsDerivedFrom(RUNTIME_CLASS(CAnimal)));
    EXPECT_TRUE(RUNTIME_CLASS(CPuppy)->IsDerivedFrom(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(RUNTIME_CLASS(CAnimal)->IsDerivedFrom(RUNTIME_CLASS(CDog)));
    EXPECT_FALSE(RUNTIME_CLASS(CStone)->IsDerivedFrom(RUNTIME_CLASS(CAnimal)));
    EXPECT_FALSE(RUNTIME_CLASS(CStone)->IsDerivedFrom(nullptr));
}

TEST(RuntimeClass, IsKindOf) {
    CDog dog;
    EXPECT_TRUE(dog.IsKindOf(RUNTIME_CLASS(CDog)));
    EXPECT_TRUE(dog.IsKindOf(RUNTIME_CLASS(CAnimal)));
    EXPECT_TRUE(dog.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(dog.IsKindOf(RUNTIME_CLASS(CPuppy)));
    EXPECT_FALSE(dog.IsKindOf(RUNTIME_CLASS(CStone)));
    EXPECT_FALSE(dog.IsSerializable());
}

TEST(RuntimeClass, CreateObjectMakesCreatableClassesOnly) {
    int before = CDog::s_made;
    CObject* made = RUNTIME_CLASS(CDog)->CreateObject();
    ASSERT_NE(nullptr, made);
    EXPECT_EQ(RUNTIME_CLASS(CDog), made->GetRuntimeClass());
    EXPECT_EQ(before + 1, CDog::s_made);
    delete made;

    EXPECT_EQ(nullptr, RUNTIME_CLASS(CAnimal)->CreateObject());
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CObject)->CreateObject());
}

TEST(RuntimeClass, FromNameFindsRegisteredClasses) {
    EXPECT_EQ(RUNTIME_CLASS(CPuppy), CRuntimeClass::FromName("CPuppy"));
    EXPECT_EQ(RUNTIME_CLASS(CStone), CRuntimeClass::FromName("CStone"));
    EXPECT_EQ(RUNTIME_CLASS(CObject), CRuntimeClass::FromName("CObject"));
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("cpuppy"));
    EXPECT_EQ(nullptr, CRuntimeClass::FromName("CNoSuchClass"));
    EXPECT_EQ(nullptr, CRuntimeClass::FromName(nullptr));

    CObject* made = CRuntimeClass::CreateObject("CPuppy");
    ASSERT_NE(nullptr, made);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CDog)));
    delete made;
    EXPECT_EQ(nullptr, CRuntimeClass::CreateObject("CStone"));
    EXPECT_EQ(nullptr, CRuntimeClass::CreateObject("CNoSuchClass"));
}

TEST(RuntimeClass, TemplateClassesHaveOneRecordPerInstance) {
    CRuntimeClass* rc = RUNTIME_CLASS(CBox<int>);
    EXPECT_STREQ("CBox", rc->m_lpszClassName);
    EXPECT_NE(rc, RUNTIME_CLASS(CBox<double>));
    EXPECT_EQ(RUNTIME_CLASS(CObject), rc->GetBaseClass());
    CObject* made = rc->CreateObject();
    ASSERT_NE(nullptr, made);
    EXPECT_EQ(rc, made->GetRuntimeClass());
    delete made;
}

TEST(Downcast, DynamicDowncastChecksTheClass) {
    CPuppy puppy;
    CStone stone;
    CObject* p = &puppy;
    CObject* s = &stone;
    EXPECT_EQ(&puppy, DYNAMIC_DOWNCAST(CDog, p));
    EXPECT_EQ(&puppy, DYNAMIC_DOWNCAST(CPuppy, p));
    EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(CDog, s));
    EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(CDog, static_cast<CObject*>(nullptr)));
    EXPECT_EQ(&puppy, STATIC_DOWNCAST(CAnimal, p));
}

namespace {
int CountedCall(int& n) {
    return ++n;
}
} // namespace

TEST(AfxMacros, VerifyEvaluatesInEveryBuildAssertOnlyWithDiagnostics) {
    int n = 0;
    VERIFY(CountedCall(n) == 1);
    EXPECT_EQ(1, n);
#if !ZM_AFX_DIAGNOSTICS_ON
    ASSERT(CountedCall(n) == 100); // compiled, not evaluated
    TRACE("%d\n", CountedCall(n));
    EXPECT_EQ(1, n);
#else
    ASSERT(CountedCall(n) == 2);
    EXPECT_EQ(2, n);
    GTEST_FLAG_SET(death_test_style, "fast");
    EXPECT_DEATH(ASSERT(CountedCall(n) == 100), "ASSERT failed: CountedCall\\(n\\) == 100");
#endif
    int unused = 3;
    UNUSED_ALWAYS(unused);
}
