// Tests of Collections.h and PtrCollections.h: CArray, CList, CMap and the
// ready-made and typed-pointer collections.
#include "native/gtest.h"

#include "framework/Collections.h"
#include "framework/PtrCollections.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

template <class F> bool ThrowsInvalidArg(F f) {
    try {
        f();
    } catch (CException* e) {
        bool ok = e->IsKindOf(RUNTIME_CLASS(CInvalidArgException));
        e->Delete();
        return ok;
    }
    return false;
}

// Counts live instances to check construction and destruction.
struct Tracked {
    static int live;
    int value;
    Tracked() : value(0) { ++live; }
    Tracked(int v) : value(v) { ++live; }
    Tracked(const Tracked& o) : value(o.value) { ++live; }
    Tracked& operator=(const Tracked& o) = default;
    ~Tracked() { --live; }
    bool operator==(const Tracked& o) const { return value == o.value; }
};
int Tracked::live = 0;

struct Plain {
    int a;
    double b;
    char c[4];
};

template <class A> std::vector<int> Values(const A& arr) {
    std::vector<int> v;
    for (INT_PTR i = 0; i < arr.GetSize(); ++i)
        v.push_back(static_cast<int>(arr[i]));
    return v;
}

class CItem : public CObject {
    DECLARE_DYNAMIC(CItem)
public:
    explicit CItem(int id = 0) : m_id(id) {}
    int m_id;
};

} // namespace

IMPLEMENT_DYNAMIC(CItem, CObject)

// ---- CArray ------------------------------------------------------------------

TEST(CArray, AddGetSetAndBounds) {
    CArray<int, int> arr;
    EXPECT_TRUE(arr.IsEmpty());
    EXPECT_EQ(-1, arr.GetUpperBound());
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(i, arr.Add(i * 2));
    EXPECT_EQ(100, arr.GetSize());
    EXPECT_EQ(100, arr.GetCount());
    EXPECT_EQ(99, arr.GetUpperBound());
    EXPECT_EQ(10, arr.GetAt(5));
    EXPECT_EQ(198, arr[99]);
    arr.SetAt(0, -1);
    arr[1] = -2;
    arr.ElementAt(2) = -3;
    EXPECT_EQ(-1, arr.GetData()[0]);
    EXPECT_EQ(-2, arr[1]);
    EXPECT_EQ(-3, arr.GetAt(2));
    const CArray<int, int>& c = arr;
    EXPECT_EQ(-3, c[2]);
    EXPECT_EQ(-3, c.ElementAt(2));
}

TEST(CArray, OutOfRangeThrowsAndChangesNothing) {
    CArray<int, int> arr;
    arr.Add(1);
    EXPECT_TRUE(ThrowsInvalidArg([&] { arr.GetAt(1); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { arr[-1]; }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { arr.ElementAt(5) = 3; }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { arr.SetAt(1, 3); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { arr.SetSize(-1); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { arr.SetAtGrow(-1, 0); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { arr.InsertAt(-1, 0); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { arr.InsertAt(0, 0, 0); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { arr.RemoveAt(1); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { arr.RemoveAt(0, 2); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { arr.RemoveAt(-1); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { arr.Append(arr); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { CArray<int, int>().GetAt(0); }));
    EXPECT_EQ(std::vector<int>({1}), Values(arr));
}

TEST(CArray, SetSizeValueInitialisesAndShrinks) {
    CArray<Plain, const Plain&> plain;
    plain.SetSize(3);
    EXPECT_EQ(0, plain[2].a);
    EXPECT_EQ(0.0, plain[2].b);
    CArray<int, int> arr;
    arr.SetSize(5, 10);
    EXPECT_EQ(std::vector<int>({0, 0, 0, 0, 0}), Values(arr));
    arr[4] = 4;
    arr.SetSize(2);
    EXPECT_EQ(2, arr.GetSize());
    arr.SetSize(4);
    EXPECT_EQ(std::vector<int>({0, 0, 0, 0}), Values(arr)); // regrown elements are new
    arr.FreeExtra();
    EXPECT_EQ(4, arr.GetSize());
    arr.RemoveAll();
    EXPECT_EQ(0, arr.GetSize());
    EXPECT_EQ(nullptr, arr.GetData());
}

TEST(CArray, SetAtGrowInsertRemove) {
    CArray<int, int> arr;
    arr.SetAtGrow(3, 7);
    EXPECT_EQ(std::vector<int>({0, 0, 0, 7}), Values(arr));
    arr.SetAtGrow(1, 5);
    arr.InsertAt(0, 9);
    EXPECT_EQ(std::vector<int>({9, 0, 5, 0, 7}), Values(arr));
    arr.InsertAt(2, 8, 3);
    EXPECT_EQ(std::vector<int>({9, 0, 8, 8, 8, 5, 0, 7}), Values(arr));
    arr.InsertAt(10, 1, 2); // beyond the end: the array grows
    EXPECT_EQ(std::vector<int>({9, 0, 8, 8, 8, 5, 0, 7, 0, 0, 1, 1}), Values(arr));
    arr.RemoveAt(2, 3);
    EXPECT_EQ(std::vector<int>({9, 0, 5, 0, 7, 0, 0, 1, 1}), Values(arr));
    arr.RemoveAt(8);
    arr.RemoveAt(0, 0);
    arr.RemoveAt(0);
    EXPECT_EQ(std::vector<int>({0, 5, 0, 7, 0, 0, 1}), Values(arr));
    CArray<int, int> other;
    other.Add(100);
    other.Add(200);
    arr.InsertAt(1, &other);
    EXPECT_EQ(std::vector<int>({0, 100, 200, 5, 0, 7, 0, 0, 1}), Values(arr));
    other.InsertAt(1, &other);
    EXPECT_EQ(std::vector<int>({100, 100, 200, 200}), Values(other));
}

TEST(CArray, AppendAndCopy) {
    CArray<int, int> a, b;
    a.Add(1);
    b.Add(2);
    b.Add(3);
    EXPECT_EQ(1, a.Append(b));
    EXPECT_EQ(std::vector<int>({1, 2, 3}), Values(a));
    b.Copy(a);
    EXPECT_EQ(std::vector<int>({1, 2, 3}), Values(b));
    b.Copy(b);
    EXPECT_EQ(3, b.GetSize());
}

TEST(CArray, OwnElementsAsArgumentsSurviveReallocation) {
    CArray<CString, const CString&> arr;
    arr.Add(CString("first"));
    for (int i = 0; i < 200; ++i)
        arr.Add(arr[0]);
    EXPECT_EQ(201, arr.GetSize());
    EXPECT_STREQ("first", arr[200]);
    arr.Add("last");
    arr.InsertAt(0, arr[201], 2);
    EXPECT_STREQ("last", arr[0]);
    EXPECT_STREQ("last", arr[1]);
    EXPECT_STREQ("first", arr[2]);
    arr.SetAtGrow(500, arr[0]);
    EXPECT_STREQ("last", arr[500]);
    EXPECT_STREQ("", arr[499]);
}

TEST(CArray, ElementsAreConstructedAndDestroyed) {
    Tracked::live = 0;
    {
        CArray<Tracked, const Tracked&> arr;
        for (int i = 0; i < 50; ++i)
            arr.Add(Tracked(i));
        EXPECT_EQ(50, Tracked::live);
        arr.RemoveAt(10, 20);
        EXPECT_EQ(30, Tracked::live);
        EXPECT_EQ(30, arr[10].value);
        arr.InsertAt(0, Tracked(-1), 5);
        EXPECT_EQ(35, Tracked::live);
        arr.SetSize(10);
        EXPECT_EQ(10, Tracked::live);
        arr.FreeExtra();
        EXPECT_EQ(10, Tracked::live);
    }
    EXPECT_EQ(0, Tracked::live);
}

TEST(CArray, RangeFor) {
    CArray<int, int> arr;
    arr.Add(1);
    arr.Add(2);
    int sum = 0;
    for (int v : arr)
        sum += v;
    EXPECT_EQ(3, sum);
}

// ---- CList -------------------------------------------------------------------

template <class L> std::vector<std::string> Items(const L& list) {
    std::vector<std::string> v;
    POSITION pos = list.GetHeadPosition();
    while (pos)
        v.push_back(static_cast<LPCSTR>(list.GetNext(pos)));
    return v;
}

TEST(CList, AddRemoveHeadTail) {
    CList<CString, const CString&> list;
    EXPECT_TRUE(list.IsEmpty());
    list.AddTail(CString("b"));
    list.AddHead(CString("a"));
    list.AddTail(CString("c"));
    EXPECT_EQ(3, list.GetCount());
    EXPECT_EQ(3, list.GetSize());
    EXPECT_STREQ("a", list.GetHead());
    EXPECT_STREQ("c", list.GetTail());
    EXPECT_EQ(std::vector<std::string>({"a", "b", "c"}), Items(list));
    EXPECT_STREQ("a", list.RemoveHead());
    EXPECT_STREQ("c", list.RemoveTail());
    EXPECT_STREQ("b", list.RemoveTail());
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(nullptr, list.GetHeadPosition());
    EXPECT_EQ(nullptr, list.GetTailPosition());
}

TEST(CList, EmptyAndNullPositionsThrow) {
    CList<int, int> list;
    EXPECT_TRUE(ThrowsInvalidArg([&] { list.GetHead(); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { list.GetTail(); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { list.RemoveHead(); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { list.RemoveTail(); }));
    POSITION pos = nullptr;
    EXPECT_TRUE(ThrowsInvalidArg([&] { list.GetNext(pos); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { list.GetPrev(pos); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { list.GetAt(pos); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { list.SetAt(pos, 1); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { list.RemoveAt(pos); }));
}

TEST(CList, IterateInsertFindRemoveAt) {
    CList<int, int> list;
    for (int i = 1; i <= 5; ++i)
        list.AddTail(i * 10);
    POSITION pos = list.GetTailPosition();
    std::vector<int> backwards;
    while (pos)
        backwards.push_back(list.GetPrev(pos));
    EXPECT_EQ(std::vector<int>({50, 40, 30, 20, 10}), backwards);

    POSITION p30 = list.Find(30);
    ASSERT_NE(nullptr, p30);
    EXPECT_EQ(30, list.GetAt(p30));
    EXPECT_EQ(p30, list.FindIndex(2));
    EXPECT_EQ(nullptr, list.FindIndex(5));
    EXPECT_EQ(nullptr, list.FindIndex(-1));
    EXPECT_EQ(nullptr, list.Find(31));
    EXPECT_EQ(nullptr, list.Find(30, p30)); // search starts after p30
    list.InsertBefore(p30, 25);
    list.InsertAfter(p30, 35);
    list.SetAt(p30, 33);
    list.InsertBefore(nullptr, 0);
    list.InsertAfter(nullptr, 99);
    std::vector<int> all;
    pos = list.GetHeadPosition();
    while (pos)
        all.push_back(list.GetNext(pos));
    EXPECT_EQ(std::vector<int>({0, 10, 20, 25, 33, 35, 40, 50, 99}), all);
    list.RemoveAt(p30);
    list.RemoveAt(list.GetHeadPosition());
    list.RemoveAt(list.GetTailPosition());
    EXPECT_EQ(6, list.GetCount());
    EXPECT_EQ(10, list.GetHead());
    EXPECT_EQ(50, list.GetTail());
    // Removing the element just passed keeps the walk valid.
    pos = list.GetHeadPosition();
    while (pos) {
        POSITION cur = pos;
        if (list.GetNext(pos) % 20 == 0)
            list.RemoveAt(cur);
    }
    all.clear();
    pos = list.GetHeadPosition();
    while (pos)
        all.push_back(list.GetNext(pos));
    EXPECT_EQ(std::vector<int>({10, 25, 35, 50}), all);
}

TEST(CList, AddListsIncludingItself) {
    CList<int, int> a, b;
    a.AddTail(1);
    a.AddTail(2);
    b.AddTail(3);
    b.AddTail(4);
    a.AddTail(&b);
    a.AddHead(&b);
    std::vector<int> all;
    POSITION pos = a.GetHeadPosition();
    while (pos)
        all.push_back(a.GetNext(pos));
    EXPECT_EQ(std::vector<int>({3, 4, 1, 2, 3, 4}), all);
    b.AddTail(&b);
    b.AddHead(&b);
    EXPECT_EQ(8, b.GetCount());
}

TEST(CList, StringListFindsByText) {
    CStringList list;
    list.AddTail("one");
    list.AddTail("two");
    EXPECT_NE(nullptr, list.Find("two"));
    EXPECT_EQ(nullptr, list.Find("TWO"));
    EXPECT_TRUE(list.IsKindOf(RUNTIME_CLASS(CStringList)));
    list.RemoveAll();
    EXPECT_EQ(0, list.GetCount());
}

// ---- CMap --------------------------------------------------------------------

TEST(CMap, SetLookupRemove) {
    CMap<int, int, CString, LPCSTR> map;
    EXPECT_TRUE(map.IsEmpty());
    map.SetAt(1, "one");
    map[2] = "two";
    map.SetAt(1, "uno");
    EXPECT_EQ(2, map.GetCount());
    CString value;
    EXPECT_TRUE(map.Lookup(1, value));
    EXPECT_STREQ("uno", value);
    EXPECT_FALSE(map.Lookup(3, value));
    EXPECT_STREQ("uno", value);
    ASSERT_NE(nullptr, map.PLookup(2));
    EXPECT_STREQ("two", map.PLookup(2)->value);
    EXPECT_EQ(2, map.PLookup(2)->key);
    EXPECT_EQ(nullptr, map.PLookup(3));
    EXPECT_STREQ("", map[3]); // added, empty
    EXPECT_EQ(3, map.GetCount());
    EXPECT_TRUE(map.RemoveKey(3));
    EXPECT_FALSE(map.RemoveKey(3));
    EXPECT_EQ(2, map.GetSize());
    map.RemoveAll();
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_FALSE(map.Lookup(1, value));
    EXPECT_FALSE(map.RemoveKey(1));
}

TEST(CMap, NewValuesAreZero) {
    CMap<char, char, int, int> mnemonics; // as the bitmap menu's mnemonic table
    EXPECT_EQ(0, mnemonics['a']);
    mnemonics['a'] += 3;
    EXPECT_EQ(3, mnemonics['a']);
}

TEST(CMap, IterationVisitsEveryEntryOnceAndSurvivesRemovingTheCurrentOne) {
    CMap<DWORD, DWORD, DWORD, DWORD> map(10);
    for (DWORD i = 0; i < 1000; ++i)
        map[i * 7] = i;
    EXPECT_EQ(1000, map.GetCount());
    EXPECT_GE(map.GetHashTableSize(), 17u);
    std::set<DWORD> seen;
    POSITION pos = map.GetStartPosition();
    while (pos) {
        DWORD key, value;
        map.GetNextAssoc(pos, key, value);
        EXPECT_EQ(key, value * 7);
        EXPECT_TRUE(seen.insert(key).second);
        if (value % 2)
            map.RemoveKey(key);
    }
    EXPECT_EQ(1000u, seen.size());
    EXPECT_EQ(500, map.GetCount());
    int n = 0;
    for (auto* p = map.PGetFirstAssoc(); p; p = map.PGetNextAssoc(p)) {
        EXPECT_EQ(0u, p->value % 2);
        ++n;
    }
    EXPECT_EQ(500, n);
    CMap<int, int, int, int> empty;
    EXPECT_EQ(nullptr, empty.GetStartPosition());
}

TEST(CMap, InitHashTableRehashes) {
    CMap<int, int, int, int> map;
    map.InitHashTable(3);
    EXPECT_EQ(3u, map.GetHashTableSize());
    for (int i = 0; i < 5; ++i)
        map[i] = i * i;
    map.InitHashTable(101);
    EXPECT_EQ(101u, map.GetHashTableSize());
    for (int i = 0; i < 5; ++i) {
        int v = -1;
        EXPECT_TRUE(map.Lookup(i, v));
        EXPECT_EQ(i * i, v);
    }
}

TEST(CMap, StringKeysAndHandleKeys) {
    CMap<CString, const CString&, int, int> byText;
    byText[CString("Classic")] = 1;
    byText[CString("Office XP")] = 2;
    int v = 0;
    EXPECT_TRUE(byText.Lookup(CString("Office XP"), v));
    EXPECT_EQ(2, v);
    EXPECT_FALSE(byText.Lookup(CString("office xp"), v));

    CMap<HWND, HWND, int, int> byHandle;
    HWND h = reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x10042));
    byHandle[h] = 5;
    EXPECT_TRUE(byHandle.Lookup(h, v));
    EXPECT_EQ(5, v);
}

// ---- ready-made collections --------------------------------------------------

TEST(PtrCollections, RuntimeClasses) {
    CPtrArray pa;
    CObArray oa;
    CStringArray sa;
    CDWordArray da;
    CMapStringToPtr sp;
    EXPECT_TRUE(pa.IsKindOf(RUNTIME_CLASS(CPtrArray)));
    EXPECT_TRUE(oa.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(sa.IsKindOf(RUNTIME_CLASS(CObArray)));
    EXPECT_STREQ("CDWordArray", da.GetRuntimeClass()->m_lpszClassName);
    EXPECT_STREQ("CMapStringToPtr", sp.GetRuntimeClass()->m_lpszClassName);
    EXPECT_EQ(RUNTIME_CLASS(CMapStringToString), CRuntimeClass::FromName("CMapStringToString"));
}

TEST(PtrCollections, IntegerAndStringArrays) {
    CStringArray sa;
    sa.Add("a");
    sa.Add(CString("b"));
    sa.SetAtGrow(3, "d");
    EXPECT_EQ(4, sa.GetSize());
    EXPECT_STREQ("", sa[2]);
    EXPECT_STREQ("d", sa.GetAt(3));
    CUIntArray ua;
    ua.Add(1u);
    CWordArray wa;
    wa.Add(0xFFFF);
    CByteArray ba;
    ba.SetSize(16);
    ba[15] = 0xAB;
    EXPECT_EQ(0xAB, ba.GetData()[15]);
    EXPECT_EQ(0xFFFF, wa[0]);
    EXPECT_EQ(1u, ua[0]);
}

TEST(PtrCollections, StringMaps) {
    CMapStringToString ss;
    ss["key"] = "value";
    ss.SetAt("k2", "v2");
    CString v;
    EXPECT_TRUE(ss.Lookup("key", v));
    EXPECT_STREQ("value", v);
    CMapStringToPtr sp;
    int x = 0;
    sp.SetAt("x", &x);
    void* p = nullptr;
    EXPECT_TRUE(sp.Lookup("x", p));
    EXPECT_EQ(&x, p);
    POSITION pos = sp.GetStartPosition();
    CString key;
    sp.GetNextAssoc(pos, key, p);
    EXPECT_STREQ("x", key);
    EXPECT_EQ(nullptr, pos);
    CMapPtrToWord pw;
    pw[&x] = 7;
    WORD w = 0;
    EXPECT_TRUE(pw.Lookup(&x, w));
    EXPECT_EQ(7, w);
    CMapWordToPtr wp;
    wp[3] = &x;
    EXPECT_EQ(&x, wp[3]);
    CMapPtrToPtr pp;
    pp[&x] = &w;
    EXPECT_EQ(&w, pp[&x]);
}

// ---- typed pointer collections -----------------------------------------------

TEST(TypedPtrCollections, ArrayOverPtrArray) {
    struct Entry {
        int id;
    };
    Entry e1{1}, e2{2}, e3{3};
    CTypedPtrArray<CPtrArray, Entry*> arr;
    arr.Add(&e1);
    arr.Add(&e2);
    arr.InsertAt(0, &e3);
    EXPECT_EQ(3, arr.GetSize());
    Entry* first = arr[0];
    EXPECT_EQ(3, first->id);
    EXPECT_EQ(1, arr.GetAt(1)->id);
    arr[2] = &e3;
    arr.ElementAt(1) = &e2;
    EXPECT_EQ(&e3, arr.GetData()[2]);
    int sum = 0;
    for (Entry* e : arr)
        sum += e->id;
    EXPECT_EQ(8, sum);
    CPtrArray& base = arr;
    EXPECT_EQ(&e2, base[1]);
    arr.RemoveAt(0);
    EXPECT_EQ(2, arr.GetSize());
    EXPECT_TRUE(ThrowsInvalidArg([&] { arr.GetAt(2); }));
}

TEST(TypedPtrCollections, ArrayOverObArrayOwningItsItems) {
    CTypedPtrArray<CObArray, CItem*> items;
    for (int i = 0; i < 3; ++i)
        items.Add(new CItem(i));
    EXPECT_EQ(2, items[2]->m_id);
    EXPECT_TRUE(items.GetAt(0)->IsKindOf(RUNTIME_CLASS(CItem)));
    for (INT_PTR i = 0; i < items.GetSize(); ++i)
        delete items[i];
    items.RemoveAll();
}

TEST(TypedPtrCollections, ListOverPtrList) {
    int a = 1, b = 2;
    CTypedPtrList<CPtrList, int*> list;
    list.AddTail(&a);
    list.AddHead(&b);
    EXPECT_EQ(&b, list.GetHead());
    EXPECT_EQ(&a, list.GetTail());
    POSITION pos = list.GetHeadPosition();
    int* p = list.GetNext(pos);
    EXPECT_EQ(&b, p);
    EXPECT_EQ(&a, list.GetAt(pos));
    EXPECT_NE(nullptr, list.Find(&a));
    EXPECT_EQ(&b, list.RemoveHead());
    EXPECT_EQ(&a, list.RemoveTail());
    EXPECT_TRUE(list.IsEmpty());
}

TEST(TypedPtrCollections, MapOverStringToPtr) {
    CItem classic(1), office(2);
    CTypedPtrMap<CMapStringToPtr, CString, CItem*> skins;
    skins.SetAt("Classic", &classic);
    skins["Office 2003"] = &office;
    CItem* found = nullptr;
    EXPECT_TRUE(skins.Lookup("Classic", found));
    EXPECT_EQ(&classic, found);
    EXPECT_FALSE(skins.Lookup("None", found));
    std::map<std::string, int> seen;
    POSITION pos = skins.GetStartPosition();
    while (pos) {
        CString name;
        CItem* item = nullptr;
        skins.GetNextAssoc(pos, name, item);
        seen[static_cast<LPCSTR>(name)] = item->m_id;
    }
    const std::map<std::string, int> expected = {{"Classic", 1}, {"Office 2003", 2}};
    EXPECT_EQ(expected, seen);
    EXPECT_TRUE(skins.RemoveKey("Classic"));
    EXPECT_EQ(1, skins.GetCount());
}
