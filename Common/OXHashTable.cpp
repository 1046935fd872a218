// OXHashTable.cpp: the entity table of the markup parser.
#include "OXHashTable.h"

#include "OXCharClass.h"

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

} // namespace

COXHashTable::COXHashTable(int bucketCount, bool caseSensitive)
    : m_bucketCount(bucketCount > 0 ? bucketCount : 1), m_caseSensitive(caseSensitive),
      m_buckets(new COXHashTableEntry*[m_bucketCount]()) {}

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
}
