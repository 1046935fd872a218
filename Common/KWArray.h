// KWArray.h: CKWArray<T>, the common library's growable array of values.
//
// The array owns one block of constructed elements made with the array form of
// new, grows by its step while small and doubles once it holds two steps (so long
// lists fill in linear time), and answers an index out of range with an empty
// element instead of failing. Element types need a default constructor and
// assignment; Sort, Find and AddUnique also need == and <, and are used only with
// CKWString and int, so element types without comparisons (the tree items of the
// Access Panel and of the scoring) instantiate everything else.
//
// An array has no lock of its own: stores that share one between threads guard it.
#pragma once

#include <algorithm>
#include <climits>
#include <new>

template <class T> class CKWArray {
public:
    // The program makes its arrays with size 0 and step 10.
    explicit CKWArray(int size = 0, int growStep = 10);
    CKWArray(const CKWArray& other);
    // Assignment goes through Copy; a member-wise copy would free the storage twice.
    CKWArray& operator=(const CKWArray&) = delete;
    virtual ~CKWArray();

    int GetSize() const { return m_size; }
    int GetCapacity() const { return m_capacity; }

    void SetSize(int size, int growStep);
    void RemoveAll();

    const T& GetAt(int index) const;
    T& GetAt(int index);
    const T* GetPtr(int index) const;
    T* GetPtr(int index);

    void Add(const T& element);
    void AppendItems(const T* items, int count);
    void Append(const CKWArray& other) { AppendItems(other.GetPtr(0), other.m_size); }
    void RemoveAt(int index);
    void Copy(const CKWArray& other);

    void Sort(bool ascending, bool removeDuplicates);
    int Find(const T& element) const; // -1 when absent
    int AddUnique(const T& element);  // its index, added when absent; -1 when that fails

private:
    static T* NewStorage(int count);
    long long GrownCapacity(long long minimum) const;
    bool Regrow(long long capacity, T*& oldStorage);

    int m_size;     // elements in use
    int m_capacity; // constructed elements in m_storage
    T* m_storage;   // owns; null when m_capacity is 0
    int m_growStep; // least growth when an append finds the storage full; above 0
    // What a write through an out-of-range GetAt lands in: reset at each such call,
    // so the stray write is seen by no later read and by no other array.
    T m_outOfRange;
};

template <class T>
CKWArray<T>::CKWArray(int size, int growStep)
    : m_size(0), m_capacity(0), m_storage(nullptr), m_growStep(10), m_outOfRange() {
    SetSize(size, growStep);
}

template <class T>
CKWArray<T>::CKWArray(const CKWArray& other)
    : m_size(0), m_capacity(0), m_storage(nullptr), m_growStep(10), m_outOfRange() {
    Copy(other);
}

template <class T> CKWArray<T>::~CKWArray() {
    delete[] m_storage;
}

// Value-initialised, so integers and the integer fields of plain records start at
// 0 rather than at whatever the heap held. Null when the memory is not there.
template <class T> T* CKWArray<T>::NewStorage(int count) {
    return new (std::nothrow) T[count]();
}

// Growth by one step alone would copy every element again each step elements:
// 100,000 strings took seconds. Once the capacity reaches two steps it doubles
// instead, which keeps the copies linear; small arrays still grow by the step.
template <class T> long long CKWArray<T>::GrownCapacity(long long minimum) const {
    const long long capacity = m_capacity;
    const long long grown = capacity + (capacity >= 2LL * m_growStep ? capacity : m_growStep);
    return std::max(minimum, std::min<long long>(grown, INT_MAX));
}

// Moves the elements into new storage of the given capacity. The old storage is
// handed back instead of freed: the items about to be appended may lie in it
// (Append of the array to itself, Add of one of its own elements), so the caller
// frees it once they are in. On failure nothing changes.
template <class T> bool CKWArray<T>::Regrow(long long capacity, T*& oldStorage) {
    if (capacity > INT_MAX)
        return false;
    T* storage = NewStorage(static_cast<int>(capacity));
    if (!storage)
        return false;
    for (int i = 0; i < m_size; ++i)
        storage[i] = m_storage[i];
    oldStorage = m_storage;
    m_storage = storage;
    m_capacity = static_cast<int>(capacity);
    return true;
}

// A size of -1 (or any negative size) changes only the step. Otherwise the
// capacity becomes exactly the size, and every slot brought into use reads as a
// fresh element, never as one removed earlier.
template <class T> void CKWArray<T>::SetSize(int size, int growStep) {
    m_growStep = growStep > 0 ? growStep : 10;
    if (size < 0)
        return;
    if (size == 0) {
        RemoveAll();
        return;
    }
    if (size != m_capacity) {
        T* storage = NewStorage(size);
        if (!storage)
            return;
        int kept = m_size < size ? m_size : size;
        for (int i = 0; i < kept; ++i)
            storage[i] = m_storage[i];
        delete[] m_storage;
        m_storage = storage;
        m_capacity = size;
    } else {
        for (int i = m_size; i < size; ++i)
            m_storage[i] = T();
    }
    m_size = size;
}

template <class T> void CKWArray<T>::RemoveAll() {
    delete[] m_storage;
    m_storage = nullptr;
    m_size = 0;
    m_capacity = 0;
}

// Out of range reads one static empty element (0 for integers) that nobody can
// write.
template <class T> const T& CKWArray<T>::GetAt(int index) const {
    static const T empty = T();
    return (index >= 0 && index < m_size) ? m_storage[index] : empty;
}

// Out of range gives this array's scratch element, emptied first: a caller that
// writes into it changes nothing another read will see.
template <class T> T& CKWArray<T>::GetAt(int index) {
    if (index >= 0 && index < m_size)
        return m_storage[index];
    m_outOfRange = T();
    return m_outOfRange;
}

template <class T> const T* CKWArray<T>::GetPtr(int index) const {
    return (index >= 0 && index < m_size) ? m_storage + index : nullptr;
}

template <class T> T* CKWArray<T>::GetPtr(int index) {
    return (index >= 0 && index < m_size) ? m_storage + index : nullptr;
}

// A full array grows (GrownCapacity), and the element then goes into the first
// new slot.
template <class T> void CKWArray<T>::Add(const T& element) {
    T* oldStorage = nullptr;
    if (m_size == m_capacity &&
        !Regrow(GrownCapacity(static_cast<long long>(m_capacity) + 1), oldStorage))
        return;
    m_storage[m_size++] = element;
    delete[] oldStorage;
}

// Unlike Add, growth leaves at least one free slot behind the appended items: the
// capacity grows by whole steps until it exceeds the new size, and at least as
// much as an Add would grow it.
template <class T> void CKWArray<T>::AppendItems(const T* items, int count) {
    if (count < 0 || (count > 0 && !items))
        return;
    T* oldStorage = nullptr;
    long long needed = static_cast<long long>(m_size) + count;
    if (needed >= m_capacity) {
        long long steps = (needed - m_capacity) / m_growStep + 1;
        if (!Regrow(GrownCapacity(m_capacity + steps * m_growStep), oldStorage))
            return;
    }
    for (int i = 0; i < count; ++i)
        m_storage[m_size + i] = items[i];
    m_size += count;
    delete[] oldStorage;
}

// The last slot keeps a copy of the last element until it is overwritten.
template <class T> void CKWArray<T>::RemoveAt(int index) {
    if (index < 0 || index >= m_size)
        return;
    for (int i = index; i + 1 < m_size; ++i)
        m_storage[i] = m_storage[i + 1];
    --m_size;
}

// Leaves capacity equal to the other's size and takes its step. Copying an array
// into itself leaves it as it is.
template <class T> void CKWArray<T>::Copy(const CKWArray& other) {
    if (&other == this)
        return;
    RemoveAll();
    SetSize(other.m_size, other.m_growStep);
    for (int i = 0; i < m_size; ++i)
        m_storage[i] = other.m_storage[i];
}

// Shell sort with the gaps ..., 121, 40, 13, 4, 1 (h = 3h + 1), starting at the
// largest gap not above the size. An element moves down only past elements that
// are strictly out of order with it. With removeDuplicates, equal neighbours then
// collapse to the first of them.
template <class T> void CKWArray<T>::Sort(bool ascending, bool removeDuplicates) {
    if (m_size == 0)
        return;
    long long first = 1;
    while (first <= m_size)
        first = 3 * first + 1;
    for (int gap = static_cast<int>(first / 3); gap > 0; gap /= 3) {
        for (int i = gap; i < m_size; ++i) {
            T value = m_storage[i];
            int j = i;
            for (; j >= gap; j -= gap) {
                const T& before = m_storage[j - gap];
                if (!(ascending ? value < before : before < value))
                    break;
                m_storage[j] = before;
            }
            m_storage[j] = value;
        }
    }
    if (!removeDuplicates)
        return;
    int last = 0;
    for (int i = 1; i < m_size; ++i) {
        if (!(m_storage[i] == m_storage[last]))
            m_storage[++last] = m_storage[i];
    }
    m_size = last + 1;
}

template <class T> int CKWArray<T>::Find(const T& element) const {
    for (int i = 0; i < m_size; ++i) {
        if (m_storage[i] == element)
            return i;
    }
    return -1;
}

template <class T> int CKWArray<T>::AddUnique(const T& element) {
    int index = Find(element);
    if (index >= 0)
        return index;
    int size = m_size;
    Add(element);
    return m_size > size ? m_size - 1 : -1;
}
