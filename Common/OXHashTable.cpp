// OXHashTable.cpp: the entity table of the markup parser.
#include "OXHashTable.h"

#include "OXCharClass.h"

#include <climits>
#include <cstdint>
#include <cstring>
#include <new>

namespace {

char* CopyText(const char* text) {
    size_t n = strlen(text) + 1;
    char* copy = new char[n];
    memcpy(copy, text, n);
    return copy;
}

// With a bucket count that shares a factor with the multiplier 33 (3 or 11),
// the key's last byte alone decides the bucket modulo that factor; a prime
// count shares none.
int NextPrime(int n) {
    for (;; ++n) {
        bool prime = n > 1;
        for (int d = 2; prime && d <= n / d; ++d)
            prime = n % d != 0;
        if (prime)
            return n;
    }
}

} // namespace

COXHashTable::COXHashTable(int bucketCount, bool caseSensitive)
    : m_bucketCount(bucketCount > 0 ? bucketCount : 1), m_caseSensitive(caseSensitive),
      m_buckets(new COXHashTableEntry*[m_bucketCount]()), m_entryCount(0) {}

COXHashTable::~COXHashTable() {
    Clear();
    delete[] m_buckets;
}

unsigned COXHashTable::BucketOf(const char* key) const {
    uint32_t h = 0;
    for (const char* p = key; *p; ++p) {
        signed char c = static_cast<signed char>(*p);
        if (!m_caseSensitive && c >= 'A' && c <= 'Z')
            c = static_cast<signed char>(c + ('a' - 'A'));
        h = h * 33 + static_cast<uint32_t>(static_cast<int32_t>(c));
    }
    return h % static_cast<uint32_t>(m_bucketCount);
}

void COXHashTable::SetValue(const char* key, const char* value) {
    if (!key)
        return;
    if (!value)
        value = "";
    unsigned bucket = BucketOf(key);
    for (COXHashTableEntry* e = m_buckets[bucket]; e; e = e->next) {
        if (COXCharClass::Compare(e->key, key, m_caseSensitive) == 0) {
            char* copy = CopyText(value);
            delete[] e->value;
            e->value = copy;
            return;
        }
    }
    COXHashTableEntry* e = new COXHashTableEntry;
    e->key = CopyText(key);
    e->value = CopyText(value);
    e->bucket = bucket;
    e->next = m_buckets[bucket];
    m_buckets[bucket] = e;
    if (++m_entryCount / 2 > m_bucketCount)
        Grow();
}

void COXHashTable::Grow() {
    if (m_bucketCount > INT_MAX / 4)
        return;
    int count = NextPrime(m_bucketCount * 2 + 1);
    COXHashTableEntry** buckets = new (std::nothrow) COXHashTableEntry*[count]();
    // Without the memory the table keeps working, only with longer chains.
    if (!buckets)
        return;
    COXHashTableEntry** old = m_buckets;
    int oldCount = m_bucketCount;
    m_buckets = buckets;
    m_bucketCount = count;
    // Keys are unique, so the order of a chain means nothing.
    for (int i = 0; i < oldCount; ++i) {
        while (COXHashTableEntry* e = old[i]) {
            old[i] = e->next;
            e->bucket = BucketOf(e->key);
            e->next = m_buckets[e->bucket];
            m_buckets[e->bucket] = e;
        }
    }
    delete[] old;
}

const char* COXHashTable::Lookup(const char* key) const {
    if (!key)
        return nullptr;
    for (COXHashTableEntry* e = m_buckets[BucketOf(key)]; e; e = e->next) {
        if (COXCharClass::Compare(e->key, key, m_caseSensitive) == 0)
            return e->value;
    }
    return nullptr;
}

void COXHashTable::Clear() {
    for (int i = 0; i < m_bucketCount; ++i) {
        while (COXHashTableEntry* e = m_buckets[i]) {
            m_buckets[i] = e->next;
            delete[] e->key;
            delete[] e->value;
            delete e;
        }
    }
    m_entryCount = 0;
}
