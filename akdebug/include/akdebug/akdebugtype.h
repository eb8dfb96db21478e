// Per-file type: one per type definition per open file. Remembers which host objects were written,
// maps file addresses to the objects read, and keeps the address and name indexes that viewers
// search.
#pragma once

#include "akdebugtypedef.h"

#include <cstring>
#include <vector>

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
    const unsigned int* findWritten(const void* object) const;
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
    // An entry of the name index: the object and its name, as written and in lower case.
    struct NameEntry
    {
        akDebugObject* object;
        const char* name;
        const char* lowerCaseName;
    };
    // Record-by-record reading: the name entries of the record being read, in the order they were
    // entered (findObject gives those of one name in this order); null when the type is not read
    // record by record. A search of the record looks at these alone, whatever the type keeps of
    // earlier records.
    const std::vector<NameEntry>* getRecordNames() const;

    const_iterator_address begin_address() const;
    const_iterator_address end_address() const;
    unsigned int size_address() const;
    bool empty_address() const;

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

    int m_index;
    akDebugTypeDef* m_typeDef;
    bool m_keepSourcesOnly = false;
    // What the type keeps of one file: the objects written, the sources of repeats, and the
    // address and name indexes.
    struct Tables;
    Tables* m_tables;
};
