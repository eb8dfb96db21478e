// Per-file type: one per type definition per open file. Remembers which host objects were written,
// maps file addresses to the objects read, and keeps the address and name indexes that viewers
// search.
#pragma once

#include "akdebughash.h"
#include "akdebugtypedef.h"

#include <cstring>
#include <algorithm>
#include <vector>
#include <unordered_map>

class AKDEBUG_API akDebugType
{
public:
    struct NameLess
    {
        bool operator()(const char* a, const char* b) const { return std::strcmp(a, b) < 0; }
    };
    using const_iterator_address = std::vector<unsigned int>::const_iterator;

    // Flags of the name search.
    enum FindFlags : unsigned int { FIND_CASE_SENSITIVE = 1, FIND_EXACT = 2 };

    akDebugType(akDebugTypeDef* typeDef, int index);
    ~akDebugType();
    akDebugType(const akDebugType&) = delete;
    akDebugType& operator=(const akDebugType&) = delete;

    int getIndex() const { return m_index; }
    akDebugTypeDef* getTypeDef() const { return m_typeDef; }
    const char* getName() const { return m_typeDef->getName(); }

    akDebugObject* create(const char* name, unsigned int address);
    // Writes the payload; an object of a type that shares repeats is remembered with its address.
    int write(akDebug* stream, void* object, unsigned int address);
    bool hasAlreadyBeenWritten(const void* object) const { return findWritten(object) != nullptr; }
    // The file address of an object already written in full, when its type shares repeats.
    const unsigned int* findWritten(const void* object) const
    {
        return (m_typeDef->getOptions() & akDebugTypeDef::OPTION_SHARE_REPEATS) ? m_written.find(object) : nullptr;
    }
    int read(akDebug* stream, akDebugObject* object, unsigned int address);
    akDebugObject* getSourceObject(unsigned int address) const;
    // Attributes a copy of the source object at this address makes (its whole subtree), or 0.
    unsigned long long getSourceSize(unsigned int address) const;

    // Record-by-record reading: the type keeps (holds a reference on) every object that repeats may
    // copy from. The indexes hold the objects of the record being read and the kept ones:
    // finishRecord drops the entries of the record's other objects; call it before the record is
    // released.
    void setKeepSourcesOnly(bool on) { m_keepSourcesOnly = on; }
    void finishRecord();

    // Address order walk: the first object, or the one after `after`.
    akDebugObject* findObject(const akDebugObject* after) const;
    // Objects at one address: the first, or the next one after `after`.
    akDebugObject* findObject(unsigned int address, const akDebugObject* after) const;
    // Name search (FindFlags); without FIND_CASE_SENSITIVE the query must be lower case.
    akDebugObject* findObject(const char* name, unsigned int flags, const akDebugObject* after) const;

    const_iterator_address begin_address() const { return m_addressIndex.keys().begin(); }
    const_iterator_address end_address() const { return m_addressIndex.keys().end(); }
    unsigned int size_address() const { return static_cast<unsigned int>(m_addressIndex.keys().size()); }
    bool empty_address() const { return m_addressIndex.empty(); }

    static int initializeClass();
    static int shutdownClass();

    // The object most recently entered in an address index, and its type: the name attribute of an
    // object registers the name for them while the object's payload is read.
    static akDebugObject* s_currentObject;
    static akDebugType* s_currentType;

protected:
    friend class akDebugObject;
    friend class emBaseName;
    void registerAddress(akDebugObject* object, unsigned int address);
    void registerName(akDebugObject* object, const char* name, const char* lowerCaseName);

private:
    bool has(unsigned int option) const { return (m_typeDef->getOptions() & option) != 0; }

    // An index of objects by key, filled while a file is read and sorted by key (entries with equal
    // keys in the order they were entered) when it is first searched.
    template <class Key, class Less>
    class Index
    {
    public:
        using Entry = std::pair<Key, akDebugObject*>;
        using const_iterator = typename std::vector<Entry>::const_iterator;

        void insert(Key key, akDebugObject* object);
        // Removes the entries entered since the last call whose object `drop` is true for, keeping
        // the others in order.
        template <class Drop>
        void removeNewIf(Drop drop);
        bool empty() const { return m_entries.empty(); }
        const_iterator begin() const { sort(); return m_entries.begin(); }
        const_iterator end() const { sort(); return m_entries.end(); }
        // The entry of an object, or end().
        const_iterator find(const akDebugObject* object) const;
        // The distinct keys in order.
        const std::vector<Key>& keys() const;

    private:
        void sort() const;
        mutable std::vector<Entry> m_entries;
        mutable bool m_sorted = true;
        mutable std::unordered_map<const akDebugObject*, size_t> m_positions;
        mutable std::vector<Key> m_keys;
        mutable bool m_keysValid = false;
        // Entries from here on were entered since the last removeNewIf, while no sort moved them.
        size_t m_newFrom = 0;
        mutable bool m_newAtEnd = true;
    };
    struct AddressLess
    {
        bool operator()(unsigned int a, unsigned int b) const { return a < b; }
    };

    int m_index;
    akDebugTypeDef* m_typeDef;
    akDebugHashMap<const void*, unsigned int> m_written;
    struct Source
    {
        akDebugObject* object = nullptr;
        unsigned long long size = 0;
    };
    akDebugHashMap<unsigned int, Source> m_sources;
    // Record-by-record reading: the sources kept, and the objects of the current record that the
    // indexes hold.
    bool m_keepSourcesOnly = false;
    akDebugHashMap<const akDebugObject*, bool> m_kept;
    akDebugHashMap<const akDebugObject*, bool> m_recordIndexed;
    Index<unsigned int, AddressLess> m_addressIndex;
    Index<const char*, NameLess> m_nameIndex;
    Index<const char*, NameLess> m_lowerNameIndex;
};
