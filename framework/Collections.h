// Collections.h: the framework's collection templates CArray, CList and CMap,
// POSITION, and the element helpers (ConstructElements, DestructElements,
// CopyElements, CompareElements, HashKey).
//
// Contract, where the framework only asserts:
// - CArray: an index outside 0..GetUpperBound() given to GetAt, ElementAt,
//   operator[] or SetAt throws CInvalidArgException (nothing outside the array is
//   read or written); so do a negative size or index for SetSize, SetAtGrow or
//   InsertAt, a count below 1 for InsertAt, a range outside the array for
//   RemoveAt, and Append of an array to itself.
// - CList: GetHead, GetTail, RemoveHead and RemoveTail of an empty list, and a null
//   POSITION given to GetNext, GetPrev, GetAt, SetAt or RemoveAt, throw
//   CInvalidArgException. A POSITION is a node of its list; one that does not
//   belong to the list is not detected.
// - An element handed in by reference may be one of the collection's own
//   elements: Add(arr[0]), InsertAt(0, arr[3]) and the like are safe.
// - Elements are real objects: new ones are value-initialised (zeros for plain
//   data), moved when an array reallocates, and destroyed when removed. Growth is
//   geometric (at least the grow-by step); the capacity is otherwise unspecified.
// - CMap: buckets hold chains of entries; iteration (GetStartPosition /
//   GetNextAssoc) runs bucket by bucket in an unspecified order. Removing the entry
//   that GetNextAssoc just returned keeps the iteration valid; adding entries
//   during an iteration does not (the table grows when the count passes twice the
//   table size). operator[] adds a value-initialised value for a new key.
// None of the collections is safe for simultaneous use from two threads.
#pragma once

#include "Object.h"
#include "AfxString.h"
#include "Exception.h"

#include <cstring>
#include <new>
#include <utility>

struct __POSITION {};
typedef __POSITION* POSITION;
#define BEFORE_START_POSITION ((POSITION)-1L)

// ---------------------------------------------------------------------------
// Element helpers.

template <class TYPE> inline void AFXAPI ConstructElements(TYPE* pElements, INT_PTR nCount) {
    for (; nCount-- > 0; ++pElements)
        ::new (static_cast<void*>(pElements)) TYPE();
}

template <class TYPE> inline void AFXAPI DestructElements(TYPE* pElements, INT_PTR nCount) {
    for (; nCount-- > 0; ++pElements)
        pElements->~TYPE();
}

template <class TYPE>
inline void AFXAPI CopyElements(TYPE* pDest, const TYPE* pSrc, INT_PTR nCount) {
    for (; nCount-- > 0; ++pDest, ++pSrc)
        *pDest = *pSrc;
}

template <class TYPE, class ARG_TYPE>
inline BOOL AFXAPI CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2) {
    return *pElement1 == *pElement2;
}

// The hash of a key: integral and pointer keys are mixed bit-wise; text keys
// (LPCSTR, LPSTR, CString) hash their characters. Other key types need a
// specialisation of their own, as in the framework.
template <class ARG_KEY> inline UINT AFXAPI HashKey(ARG_KEY key) {
    unsigned long long x = (unsigned long long)(DWORD_PTR)key;
    x ^= x >> 33;
    x *= 0xff51afd7ed558ccdULL;
    x ^= x >> 33;
    return static_cast<UINT>(x);
}

inline UINT AfxHashText(const char* key) {
    UINT nHash = 0;
    if (key != nullptr)
        while (*key)
            nHash = (nHash << 5) + nHash + static_cast<unsigned char>(*key++);
    return nHash;
}
template <> inline UINT AFXAPI HashKey<LPCSTR>(LPCSTR key) {
    return AfxHashText(key);
}
template <> inline UINT AFXAPI HashKey<LPSTR>(LPSTR key) {
    return AfxHashText(key);
}
template <> inline UINT AFXAPI HashKey<const CString&>(const CString& key) {
    return AfxHashText(key);
}
template <> inline UINT AFXAPI HashKey<CString>(CString key) {
    return AfxHashText(key);
}
template <> inline UINT AFXAPI HashKey<CString&>(CString& key) {
    return AfxHashText(key);
}

// ---------------------------------------------------------------------------
// CArray

template <class TYPE, class ARG_TYPE = const TYPE&> class CArray : public CObject {
public:
    typedef TYPE BASE_TYPE;
    typedef ARG_TYPE BASE_ARG_TYPE;

    CArray() noexcept : m_pData(nullptr), m_nSize(0), m_nMaxSize(0), m_nGrowBy(0) {}
    ~CArray() override { FreeAll(); }

    INT_PTR GetSize() const noexcept { return m_nSize; }
    INT_PTR GetCount() const noexcept { return m_nSize; }
    BOOL IsEmpty() const noexcept { return m_nSize == 0; }
    INT_PTR GetUpperBound() const noexcept { return m_nSize - 1; }

    // New elements are value-initialised; nGrowBy >= 0 sets the grow-by step.
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1);
    void FreeExtra();
    void RemoveAll() { SetSize(0, -1); }

    const TYPE& GetAt(INT_PTR nIndex) const { return m_pData[CheckIndex(nIndex)]; }
    TYPE& GetAt(INT_PTR nIndex) { return m_pData[CheckIndex(nIndex)]; }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_pData[CheckIndex(nIndex)] = newElement; }
    const TYPE& ElementAt(INT_PTR nIndex) const { return m_pData[CheckIndex(nIndex)]; }
    TYPE& ElementAt(INT_PTR nIndex) { return m_pData[CheckIndex(nIndex)]; }
    const TYPE& operator[](INT_PTR nIndex) const { return m_pData[CheckIndex(nIndex)]; }
    TYPE& operator[](INT_PTR nIndex) { return m_pData[CheckIndex(nIndex)]; }

    const TYPE* GetData() const noexcept { return m_pData; }
    TYPE* GetData() noexcept { return m_pData; }

    // Sets the element, growing the array to nIndex + 1 when needed.
    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement);
    INT_PTR Add(ARG_TYPE newElement) {
        INT_PTR nIndex = m_nSize;
        SetAtGrow(nIndex, newElement);
        return nIndex;
    }
    // Appends the elements of src; returns the index of the first one.
    INT_PTR Append(const CArray& src);
    void Copy(const CArray& src);

    // nCount copies of newElement at nIndex (beyond the end: the array grows).
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1);
    void InsertAt(INT_PTR nStartIndex, CArray* pNewArray);
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1);

    // Range-for support.
    TYPE* begin() noexcept { return m_pData; }
    TYPE* end() noexcept { return m_pData + m_nSize; }
    const TYPE* begin() const noexcept { return m_pData; }
    const TYPE* end() const noexcept { return m_pData + m_nSize; }

protected:
    TYPE* m_pData;
    INT_PTR m_nSize;
    INT_PTR m_nMaxSize;
    INT_PTR m_nGrowBy;

private:
    INT_PTR CheckIndex(INT_PTR nIndex) const {
        if (nIndex < 0 || nIndex >= m_nSize)
            AfxThrowInvalidArgException();
        return nIndex;
    }
    static TYPE* AllocRaw(INT_PTR nCount) {
        if (nCount <= 0)
            return nullptr;
        if (static_cast<size_t>(nCount) > static_cast<size_t>(-1) / 2 / sizeof(TYPE))
            AfxThrowMemoryException();
        void* p = ::operator new(static_cast<size_t>(nCount) * sizeof(TYPE), std::nothrow);
        if (p == nullptr)
            AfxThrowMemoryException();
        return static_cast<TYPE*>(p);
    }
    static void ValueInit(TYPE* p, INT_PTR nCount) {
        if (nCount > 0)
            std::memset(static_cast<void*>(p), 0, static_cast<size_t>(nCount) * sizeof(TYPE));
        ConstructElements<TYPE>(p, nCount);
    }
    void FreeAll() noexcept {
        if (m_pData != nullptr) {
            DestructElements<TYPE>(m_pData, m_nSize);
            ::operator delete(static_cast<void*>(m_pData));
        }
        m_pData = nullptr;
        m_nSize = m_nMaxSize = 0;
    }
    // Moves the elements into a new block of nNewMax elements.
    void Reallocate(INT_PTR nNewMax) {
        TYPE* pNew = AllocRaw(nNewMax);
        for (INT_PTR i = 0; i < m_nSize; ++i) {
            ::new (static_cast<void*>(pNew + i)) TYPE(std::move(m_pData[i]));
            m_pData[i].~TYPE();
        }
        ::operator delete(static_cast<void*>(m_pData));
        m_pData = pNew;
        m_nMaxSize = nNewMax;
    }
    // The capacity for nNewSize elements: at least the grow-by step more, and
    // half the current capacity more, than now.
    INT_PTR GrownCapacity(INT_PTR nNewSize) const {
        INT_PTR step = m_nMaxSize / 2;
        if (step < m_nGrowBy)
            step = m_nGrowBy;
        if (step < 4)
            step = 4;
        INT_PTR n = m_nMaxSize + step;
        return n > nNewSize ? n : nNewSize;
    }
    bool NeedsGrowth(INT_PTR nNewSize) const noexcept { return nNewSize > m_nMaxSize; }
};

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetSize(INT_PTR nNewSize, INT_PTR nGrowBy) {
    if (nNewSize < 0)
        AfxThrowInvalidArgException();
    if (nGrowBy >= 0)
        m_nGrowBy = nGrowBy;
    if (nNewSize == 0) {
        FreeAll();
        return;
    }
    if (nNewSize > m_nMaxSize)
        Reallocate(m_pData == nullptr ? (nNewSize > m_nGrowBy ? nNewSize : m_nGrowBy)
                                      : GrownCapacity(nNewSize));
    if (nNewSize > m_nSize)
        ValueInit(m_pData + m_nSize, nNewSize - m_nSize);
    else
        DestructElements<TYPE>(m_pData + nNewSize, m_nSize - nNewSize);
    m_nSize = nNewSize;
}

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::FreeExtra() {
    if (m_nSize == m_nMaxSize)
        return;
    if (m_nSize == 0) {
        FreeAll();
        return;
    }
    Reallocate(m_nSize);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement) {
    if (nIndex < 0)
        AfxThrowInvalidArgException();
    if (nIndex < m_nSize) {
        m_pData[nIndex] = newElement;
        return;
    }
    if (NeedsGrowth(nIndex + 1)) {
        // newElement may be one of the elements that the reallocation moves.
        TYPE copy;
        copy = newElement;
        SetSize(nIndex + 1, -1);
        m_pData[nIndex] = std::move(copy);
        return;
    }
    SetSize(nIndex + 1, -1);
    m_pData[nIndex] = newElement;
}

template <class TYPE, class ARG_TYPE> INT_PTR CArray<TYPE, ARG_TYPE>::Append(const CArray& src) {
    if (this == &src)
        AfxThrowInvalidArgException();
    INT_PTR nOldSize = m_nSize;
    SetSize(m_nSize + src.m_nSize, -1);
    CopyElements<TYPE>(m_pData + nOldSize, src.m_pData, src.m_nSize);
    return nOldSize;
}

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::Copy(const CArray& src) {
    if (this == &src)
        return;
    SetSize(src.m_nSize, -1);
    CopyElements<TYPE>(m_pData, src.m_pData, src.m_nSize);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount) {
    if (nIndex < 0 || nCount <= 0)
        AfxThrowInvalidArgException();
    TYPE copy; // newElement may be one of the elements that move
    copy = newElement;
    INT_PTR nOldSize = m_nSize;
    if (nIndex >= nOldSize) {
        SetSize(nIndex + nCount, -1);
    } else {
        SetSize(nOldSize + nCount, -1);
        for (INT_PTR i = nOldSize - 1; i >= nIndex; --i)
            m_pData[i + nCount] = std::move(m_pData[i]);
    }
    for (INT_PTR i = 0; i < nCount; ++i)
        m_pData[nIndex + i] = copy;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR nStartIndex, CArray* pNewArray) {
    if (pNewArray == nullptr || nStartIndex < 0)
        AfxThrowInvalidArgException();
    INT_PTR n = pNewArray->GetSize();
    if (n == 0)
        return;
    if (pNewArray == this) {
        CArray copy;
        copy.Copy(*this);
        InsertAt(nStartIndex, &copy);
        return;
    }
    InsertAt(nStartIndex, pNewArray->m_pData[0], n);
    for (INT_PTR i = 1; i < n; ++i)
        m_pData[nStartIndex + i] = pNewArray->m_pData[i];
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::RemoveAt(INT_PTR nIndex, INT_PTR nCount) {
    if (nIndex < 0 || nCount < 0 || nIndex > m_nSize || nCount > m_nSize - nIndex)
        AfxThrowInvalidArgException();
    if (nCount == 0)
        return;
    for (INT_PTR i = nIndex; i + nCount < m_nSize; ++i)
        m_pData[i] = std::move(m_pData[i + nCount]);
    DestructElements<TYPE>(m_pData + m_nSize - nCount, nCount);
    m_nSize -= nCount;
}

// ---------------------------------------------------------------------------
// CList

template <class TYPE, class ARG_TYPE = const TYPE&> class CList : public CObject {
protected:
    struct CNode {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
        CNode() : pNext(nullptr), pPrev(nullptr), data() {}
    };

public:
    typedef TYPE BASE_TYPE;
    typedef ARG_TYPE BASE_ARG_TYPE;

    explicit CList(INT_PTR nBlockSize = 10) noexcept
        : m_pNodeHead(nullptr), m_pNodeTail(nullptr), m_nCount(0), m_nBlockSize(nBlockSize) {}
    ~CList() override { RemoveAll(); }

    INT_PTR GetCount() const noexcept { return m_nCount; }
    INT_PTR GetSize() const noexcept { return m_nCount; }
    BOOL IsEmpty() const noexcept { return m_nCount == 0; }

    TYPE& GetHead() { return NonEmpty(m_pNodeHead)->data; }
    const TYPE& GetHead() const { return NonEmpty(m_pNodeHead)->data; }
    TYPE& GetTail() { return NonEmpty(m_pNodeTail)->data; }
    const TYPE& GetTail() const { return NonEmpty(m_pNodeTail)->data; }

    TYPE RemoveHead() {
        CNode* pNode = NonEmpty(m_pNodeHead);
        TYPE value = std::move(pNode->data);
        Unlink(pNode);
        return value;
    }
    TYPE RemoveTail() {
        CNode* pNode = NonEmpty(m_pNodeTail);
        TYPE value = std::move(pNode->data);
        Unlink(pNode);
        return value;
    }

    POSITION AddHead(ARG_TYPE newElement) { return InsertBefore(GetHeadPosition(), newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return InsertAfter(GetTailPosition(), newElement); }
    // The elements of pNewList, in their order, before the head / after the tail.
    void AddHead(CList* pNewList) {
        if (pNewList == nullptr)
            AfxThrowInvalidArgException();
        INT_PTR n = pNewList->m_nCount; // pNewList may be this list
        CNode* pNode = pNewList->m_pNodeTail;
        for (; n-- > 0; pNode = pNode->pPrev)
            AddHead(pNode->data);
    }
    void AddTail(CList* pNewList) {
        if (pNewList == nullptr)
            AfxThrowInvalidArgException();
        INT_PTR n = pNewList->m_nCount;
        CNode* pNode = pNewList->m_pNodeHead;
        for (; n-- > 0; pNode = pNode->pNext)
            AddTail(pNode->data);
    }
    void RemoveAll() noexcept {
        CNode* pNode = m_pNodeHead;
        while (pNode != nullptr) {
            CNode* pNext = pNode->pNext;
            delete pNode;
            pNode = pNext;
        }
        m_pNodeHead = m_pNodeTail = nullptr;
        m_nCount = 0;
    }

    POSITION GetHeadPosition() const noexcept { return reinterpret_cast<POSITION>(m_pNodeHead); }
    POSITION GetTailPosition() const noexcept { return reinterpret_cast<POSITION>(m_pNodeTail); }
    // The element at rPosition; rPosition moves to the next (null after the tail).
    TYPE& GetNext(POSITION& rPosition) {
        CNode* pNode = NodeAt(rPosition);
        rPosition = reinterpret_cast<POSITION>(pNode->pNext);
        return pNode->data;
    }
    const TYPE& GetNext(POSITION& rPosition) const {
        CNode* pNode = NodeAt(rPosition);
        rPosition = reinterpret_cast<POSITION>(pNode->pNext);
        return pNode->data;
    }
    TYPE& GetPrev(POSITION& rPosition) {
        CNode* pNode = NodeAt(rPosition);
        rPosition = reinterpret_cast<POSITION>(pNode->pPrev);
        return pNode->data;
    }
    const TYPE& GetPrev(POSITION& rPosition) const {
        CNode* pNode = NodeAt(rPosition);
        rPosition = reinterpret_cast<POSITION>(pNode->pPrev);
        return pNode->data;
    }
    TYPE& GetAt(POSITION position) { return NodeAt(position)->data; }
    const TYPE& GetAt(POSITION position) const { return NodeAt(position)->data; }
    void SetAt(POSITION pos, ARG_TYPE newElement) { NodeAt(pos)->data = newElement; }
    void RemoveAt(POSITION position) { Unlink(NodeAt(position)); }

    // A new element before / after position; a null position means the head / tail.
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement) {
        CNode* pNew = NewNode(newElement);
        CNode* pOld = reinterpret_cast<CNode*>(position);
        if (pOld == nullptr)
            pOld = m_pNodeHead;
        pNew->pNext = pOld;
        pNew->pPrev = pOld ? pOld->pPrev : nullptr;
        if (pNew->pPrev)
            pNew->pPrev->pNext = pNew;
        else
            m_pNodeHead = pNew;
        if (pOld)
            pOld->pPrev = pNew;
        else
            m_pNodeTail = pNew;
        ++m_nCount;
        return reinterpret_cast<POSITION>(pNew);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement) {
        CNode* pNew = NewNode(newElement);
        CNode* pOld = reinterpret_cast<CNode*>(position);
        if (pOld == nullptr)
            pOld = m_pNodeTail;
        pNew->pPrev = pOld;
        pNew->pNext = pOld ? pOld->pNext : nullptr;
        if (pNew->pNext)
            pNew->pNext->pPrev = pNew;
        else
            m_pNodeTail = pNew;
        if (pOld)
            pOld->pNext = pNew;
        else
            m_pNodeHead = pNew;
        ++m_nCount;
        return reinterpret_cast<POSITION>(pNew);
    }

    // The first element equal to searchValue after startAfter (null: from the head).
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const {
        CNode* pNode = reinterpret_cast<CNode*>(startAfter);
        pNode = pNode ? pNode->pNext : m_pNodeHead;
        for (; pNode != nullptr; pNode = pNode->pNext)
            if (CompareElements<TYPE>(&pNode->data, &searchValue))
                return reinterpret_cast<POSITION>(pNode);
        return nullptr;
    }
    // The position of the nIndex-th element (0-based), or null.
    POSITION FindIndex(INT_PTR nIndex) const noexcept {
        if (nIndex < 0 || nIndex >= m_nCount)
            return nullptr;
        CNode* pNode = m_pNodeHead;
        while (nIndex-- > 0)
            pNode = pNode->pNext;
        return reinterpret_cast<POSITION>(pNode);
    }

protected:
    CNode* m_pNodeHead;
    CNode* m_pNodeTail;
    INT_PTR m_nCount;
    INT_PTR m_nBlockSize;

private:
    static CNode* NonEmpty(CNode* pNode) {
        if (pNode == nullptr)
            AfxThrowInvalidArgException();
        return pNode;
    }
    static CNode* NodeAt(POSITION position) {
        if (position == nullptr)
            AfxThrowInvalidArgException();
        return reinterpret_cast<CNode*>(position);
    }
    static CNode* NewNode(ARG_TYPE newElement) {
        CNode* pNode = new CNode;
        try {
            pNode->data = newElement;
        } catch (...) {
            delete pNode;
            throw;
        }
        return pNode;
    }
    void Unlink(CNode* pNode) noexcept {
        if (pNode->pPrev)
            pNode->pPrev->pNext = pNode->pNext;
        else
            m_pNodeHead = pNode->pNext;
        if (pNode->pNext)
            pNode->pNext->pPrev = pNode->pPrev;
        else
            m_pNodeTail = pNode->pPrev;
        delete pNode;
        --m_nCount;
    }
};

// ---------------------------------------------------------------------------
// CMap

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE> class CMap : public CObject {
public:
    typedef KEY BASE_KEY;
    typedef ARG_KEY BASE_ARG_KEY;
    typedef VALUE BASE_VALUE;
    typedef ARG_VALUE BASE_ARG_VALUE;

    // One entry: its key cannot change.
    class CPair {
    public:
        const KEY key;
        VALUE value;

    protected:
        explicit CPair(ARG_KEY keyval) : key(keyval), value() {}
    };

protected:
    class CAssoc : public CPair {
    public:
        CAssoc* pNext;
        UINT nHashValue;
        CAssoc(ARG_KEY key, UINT hash) : CPair(key), pNext(nullptr), nHashValue(hash) {}
    };

public:
    explicit CMap(INT_PTR nBlockSize = 10) noexcept
        : m_pHashTable(nullptr), m_nHashTableSize(17), m_nCount(0), m_nBlockSize(nBlockSize) {}
    ~CMap() override { RemoveAll(); }

    INT_PTR GetCount() const noexcept { return m_nCount; }
    INT_PTR GetSize() const noexcept { return m_nCount; }
    BOOL IsEmpty() const noexcept { return m_nCount == 0; }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const {
        const CAssoc* pAssoc = Find(key);
        if (pAssoc == nullptr)
            return FALSE;
        rValue = pAssoc->value;
        return TRUE;
    }
    const CPair* PLookup(ARG_KEY key) const { return Find(key); }
    CPair* PLookup(ARG_KEY key) { return Find(key); }

    // The value of key, added (value-initialised) when the key is new.
    VALUE& operator[](ARG_KEY key) {
        UINT nHash = HashKey<ARG_KEY>(key);
        CAssoc* pAssoc = Find(key, nHash);
        if (pAssoc == nullptr) {
            if (m_pHashTable == nullptr)
                AllocTable(m_nHashTableSize);
            else if (static_cast<UINT_PTR>(m_nCount) >= 2 * static_cast<UINT_PTR>(m_nHashTableSize))
                Rehash(m_nHashTableSize * 2 + 1);
            pAssoc = new CAssoc(key, nHash);
            CAssoc*& head = m_pHashTable[nHash % m_nHashTableSize];
            pAssoc->pNext = head;
            head = pAssoc;
            ++m_nCount;
        }
        return pAssoc->value;
    }
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }

    BOOL RemoveKey(ARG_KEY key) {
        if (m_pHashTable == nullptr)
            return FALSE;
        UINT nHash = HashKey<ARG_KEY>(key);
        CAssoc** ppPrev = &m_pHashTable[nHash % m_nHashTableSize];
        for (CAssoc* pAssoc = *ppPrev; pAssoc != nullptr; pAssoc = pAssoc->pNext) {
            if (pAssoc->nHashValue == nHash && CompareElements(&pAssoc->key, &key)) {
                *ppPrev = pAssoc->pNext;
                delete pAssoc;
                --m_nCount;
                return TRUE;
            }
            ppPrev = &pAssoc->pNext;
        }
        return FALSE;
    }
    void RemoveAll() noexcept {
        if (m_pHashTable != nullptr) {
            for (UINT b = 0; b < m_nHashTableSize; ++b) {
                CAssoc* pAssoc = m_pHashTable[b];
                while (pAssoc != nullptr) {
                    CAssoc* pNext = pAssoc->pNext;
                    delete pAssoc;
                    pAssoc = pNext;
                }
            }
            delete[] m_pHashTable;
            m_pHashTable = nullptr;
        }
        m_nCount = 0;
    }

    // Iteration: pos = GetStartPosition(); while (pos) GetNextAssoc(pos, key, value);
    POSITION GetStartPosition() const noexcept {
        return m_nCount == 0 ? nullptr : BEFORE_START_POSITION;
    }
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const {
        const CAssoc* pAssoc = NextAssoc(rNextPosition);
        rKey = pAssoc->key;
        rValue = pAssoc->value;
    }
    const CPair* PGetFirstAssoc() const { return First(); }
    CPair* PGetFirstAssoc() { return First(); }
    const CPair* PGetNextAssoc(const CPair* pAssoc) const {
        return After(static_cast<const CAssoc*>(pAssoc));
    }
    CPair* PGetNextAssoc(const CPair* pAssoc) { return After(static_cast<const CAssoc*>(pAssoc)); }

    UINT GetHashTableSize() const noexcept { return m_nHashTableSize; }
    // Sets the number of buckets (0 is taken as 1); existing entries are rehashed.
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE) {
        if (hashSize == 0)
            hashSize = 1;
        if (m_pHashTable != nullptr)
            Rehash(hashSize);
        else if (bAllocNow)
            AllocTable(hashSize);
        else
            m_nHashTableSize = hashSize;
    }

protected:
    CAssoc** m_pHashTable;
    UINT m_nHashTableSize;
    INT_PTR m_nCount;
    INT_PTR m_nBlockSize;

private:
    CAssoc* Find(ARG_KEY key, UINT nHash) const {
        if (m_pHashTable == nullptr)
            return nullptr;
        for (CAssoc* pAssoc = m_pHashTable[nHash % m_nHashTableSize]; pAssoc != nullptr;
             pAssoc = pAssoc->pNext)
            if (pAssoc->nHashValue == nHash && CompareElements(&pAssoc->key, &key))
                return pAssoc;
        return nullptr;
    }
    CAssoc* Find(ARG_KEY key) const { return Find(key, HashKey<ARG_KEY>(key)); }
    void AllocTable(UINT nSize) {
        m_pHashTable = new CAssoc*[nSize]();
        m_nHashTableSize = nSize;
    }
    void Rehash(UINT nNewSize) {
        CAssoc** pNew = new CAssoc*[nNewSize]();
        for (UINT b = 0; b < m_nHashTableSize; ++b) {
            CAssoc* pAssoc = m_pHashTable[b];
            while (pAssoc != nullptr) {
                CAssoc* pNext = pAssoc->pNext;
                CAssoc*& head = pNew[pAssoc->nHashValue % nNewSize];
                pAssoc->pNext = head;
                head = pAssoc;
                pAssoc = pNext;
            }
        }
        delete[] m_pHashTable;
        m_pHashTable = pNew;
        m_nHashTableSize = nNewSize;
    }
    CAssoc* FirstFrom(UINT nBucket) const noexcept {
        if (m_pHashTable == nullptr)
            return nullptr;
        for (; nBucket < m_nHashTableSize; ++nBucket)
            if (m_pHashTable[nBucket] != nullptr)
                return m_pHashTable[nBucket];
        return nullptr;
    }
    CAssoc* First() const noexcept { return FirstFrom(0); }
    CAssoc* After(const CAssoc* pAssoc) const {
        if (pAssoc == nullptr)
            AfxThrowInvalidArgException();
        if (pAssoc->pNext != nullptr)
            return pAssoc->pNext;
        return FirstFrom(pAssoc->nHashValue % m_nHashTableSize + 1);
    }
    const CAssoc* NextAssoc(POSITION& rNextPosition) const {
        const CAssoc* pAssoc = reinterpret_cast<const CAssoc*>(rNextPosition);
        if (rNextPosition == BEFORE_START_POSITION)
            pAssoc = First();
        if (pAssoc == nullptr)
            AfxThrowInvalidArgException();
        rNextPosition = reinterpret_cast<POSITION>(After(pAssoc));
        return pAssoc;
    }
};
