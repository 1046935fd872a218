// OXHashTable.h: COXHashTable and COXHashTableEntry, the chained hash table from
// text keys to texts that holds the markup parser's entities.
//
// The table owns its entries and private copies of every key and value. Keys
// hash with h = h * 33 + c over their bytes (c a signed byte, h wrapping at 32
// bits) taken modulo the bucket count; a new key goes to the head of its chain.
// A document may declare hundreds of thousands of entities, so the table grows
// to a prime bucket count of about twice the old one whenever its keys
// outnumber its buckets twice over: the chains stay short and adding stays
// linear in the number of keys.
#pragma once

struct COXHashTableEntry {
    COXHashTableEntry* next; // owned by the table, not by this entry
    char* key;               // owned copy
    char* value;             // owned copy
    unsigned bucket;
};

class COXHashTable {
public:
    // caseSensitive false: an upper-case ASCII letter hashes and compares as its
    // lower-case letter, double-byte characters as they stand.
    COXHashTable(int bucketCount, bool caseSensitive);
    virtual ~COXHashTable();
    COXHashTable(const COXHashTable&) = delete;
    COXHashTable& operator=(const COXHashTable&) = delete;

    // Replaces the value of an existing key or adds the key. Null key: nothing.
    void SetValue(const char* key, const char* value);
    // The value of the key, or null when the table does not hold it.
    const char* Lookup(const char* key) const;
    void Clear();

    unsigned BucketOf(const char* key) const;
    int GetBucketCount() const { return m_bucketCount; }

private:
    void Grow();

    int m_bucketCount;
    bool m_caseSensitive;
    COXHashTableEntry** m_buckets; // owned array of owned chains
    int m_entryCount;
};
