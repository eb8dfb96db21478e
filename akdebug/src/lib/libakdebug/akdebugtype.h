// Per-file type: one per type definition per open file. Remembers which host objects were written,
// maps file addresses to the objects read, and keeps the address and name indexes that viewers
// search.
#pragma once

#include "akdebugtypedef.h"

#include <cstring>
#include <map>
#include <set>
#include <unordered_map>
#include <unordered_set>

class AKDEBUG_API akDebugType
{
public:
    struct NameLess
    {
        bool operator()(const char* a, const char* b) const { return std::strcmp(a, b) < 0; }
    };
    using AddressIndex = std::multimap<unsigned int, akDebugObject*>;
    using NameIndex = std::multimap<const char*, akDebugObject*, NameLess>;
    using const_iterator_address = std::set<unsigned int>::const_iterator;

    // Flags of the name search.
    enum FindFlags : unsigned int { FIND_CASE_SENSITIVE = 1, FIND_EXACT = 2 };

    akDebugType(akDebugTypeDef* typeDef, int index);
    akDebugType(const akDebugType&) = delete;
    akDebugType& operator=(const akDebugType&) = delete;

    int getIndex() const { return m_index; }
    akDebugTypeDef* getTypeDef() const { return m_typeDef; }
    const char* getName() const { return m_typeDef->getName(); }

    akDebugObject* create(const char* name, unsigned int address);
    int write(akDebug* stream, void* object);
    bool hasAlreadyBeenWritten(const void* object) const;
    int read(akDebug* stream, akDebugObject* object, unsigned int address);
    akDebugObject* getSourceObject(unsigned int address) const;

    // Address order walk: the first object, or the one after `after`.
    akDebugObject* findObject(const akDebugObject* after) const;
    // Objects at one address: the first, or the next one after `after`.
    akDebugObject* findObject(unsigned int address, const akDebugObject* after) const;
    // Name search (FindFlags); without FIND_CASE_SENSITIVE the query must be lower case.
    akDebugObject* findObject(const char* name, unsigned int flags, const akDebugObject* after) const;

    const_iterator_address begin_address() const { return m_addresses.begin(); }
    const_iterator_address end_address() const { return m_addresses.end(); }
    unsigned int size_address() const { return static_cast<unsigned int>(m_addresses.size()); }
    bool empty_address() const { return m_addresses.empty(); }

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
    void registerAddressRepeat(akDebugObject* object, unsigned int address, akDebugObject* source);

private:
    bool has(unsigned int option) const { return (m_typeDef->getOptions() & option) != 0; }

    int m_index;
    akDebugTypeDef* m_typeDef;
    std::unordered_set<const void*> m_written;
    std::unordered_map<unsigned int, akDebugObject*> m_sources;
    AddressIndex m_addressIndex;
    NameIndex m_nameIndex;
    NameIndex m_lowerNameIndex;
    std::set<unsigned int> m_addresses;
};
