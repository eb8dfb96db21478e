// The debug stream under every debug file: the file header with its type table, typed values,
// strings, raw bytes and object records whose payloads the type definitions write and read.
#pragma once

#include "akdebugattribute.h"
#include "akdebugtype.h"

#include <embase.h>

#include <cstddef>
#include <map>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class AKDEBUG_API akDebug
{
public:
    enum ObjectTag { OBJECT_NULL = 0, OBJECT_ADDRESS_ONLY = 1, OBJECT_REPEAT = 2, OBJECT_FULL = 3 };

    using const_iterator_type = std::vector<akDebugType*>::const_iterator;

    // Largest string record body, NUL and padding included, is below this.
    static const unsigned int s_maxArraySize = 1024;
    // Object records nest at most this deep, on writing and on reading.
    static const int s_maxDepth = 512;

    akDebug(const akDebug&) = delete;
    akDebug& operator=(const akDebug&) = delete;

    // One typed value, or n values back to back. T is short, unsigned short, int, unsigned int,
    // float, double or bool (4 bytes). After a failed read every later read fails at once and
    // yields zeros.
    template <class T>
    void write(T value);
    template <class T>
    T read();
    template <class T>
    void write(const T* values, unsigned int n);
    template <class T>
    void read(T* values, unsigned int n);

    int writeBytes(const void* source, unsigned int n);
    int readBytes(void* destination, unsigned int n);
    int writeString(const char* text);
    int readString(char* buffer, unsigned int size);

    int writeObject(void* object, akDebugTypeDef* typeDef, bool referenceOnly);
    int writeObject(std::nullptr_t, akDebugTypeDef* typeDef, bool referenceOnly)
    {
        return writeObject(static_cast<void*>(nullptr), typeDef, referenceOnly);
    }
    int writeObject(const emClassObject* object, akDebugTypeDef* typeDef, bool referenceOnly)
    {
        return writeObject(static_cast<void*>(const_cast<emClassObject*>(object)), typeDef, referenceOnly);
    }
    // Writes the object under the most derived class of its run-time class chain that has a type
    // definition (the declared class T for a null pointer).
    template <class T>
    int writeObject(const T* object, bool referenceOnly)
    {
        emClassType* classType = object ? object->getClassType() : T::getStaticClassType();
        akDebugTypeDef* typeDef = resolveTypeDef(classType);
        if (!typeDef)
            return telu::FAILURE;
        const emClassObject* root = object;
        return writeObject(root, typeDef, referenceOnly);
    }
    akDebugObject* readObject(const char* name);

    akDebugType* getType(const akDebugTypeDef* typeDef) const;
    const_iterator_type begin_type() const { return m_types.begin(); }
    const_iterator_type end_type() const { return m_types.end(); }
    unsigned int size_type() const { return static_cast<unsigned int>(m_types.size()); }
    bool empty_type() const { return m_types.empty(); }
    int getNumRepresentations() const { return m_numRepresentations; }

    // Address of a host pointer in this file: its low 32 bits unless another object of the file
    // took that value already; 0 for null.
    unsigned int getAddress(const void* pointer);

    // Reads a count of elements of at least `bytesPerElement` bytes each. A count larger than the
    // rest of the file could hold fails the stream; zero or less means no elements.
    int readCount(unsigned int bytesPerElement);
    // True once a read failed or the file was found damaged.
    bool hasReadFailed() const { return m_readFailed; }
    // True once a write failed.
    bool hasWriteFailed() const { return m_writeFailed; }
    // Marks the file damaged: every later read fails at once.
    void failRead(const char* message);
    // Object records read from the current file with this tag.
    unsigned int getNumRecords(ObjectTag tag) const { return m_numRecords[tag & 3]; }

    static int initializeClass() { return telu::SUCCESS; }
    static int shutdownClass() { return telu::SUCCESS; }

protected:
    akDebug();
    ~akDebug();

    // Takes ownership of the file; an older file is closed and destroyed first.
    void setFile(emFile* file);
    emFile* getFile() const { return m_file; }
    int writeFileHeader();
    int readFileHeader();
    void reset();

    unsigned int m_magicNumber = 0;
    int m_numRepresentations = 0;
    emFile* m_file = nullptr;
    std::vector<akDebugType*> m_types;
    std::unordered_map<const akDebugTypeDef*, akDebugType*> m_typeMap;

private:
    akDebugTypeDef* resolveTypeDef(emClassType* classType);
    bool readFailed(unsigned int moved, unsigned int expected, const char* message);

    bool m_readFailed = false;
    bool m_writeFailed = false;
    int m_depth = 0;
    unsigned int m_numRecords[4] = {0, 0, 0, 0};
    unsigned long long m_attributeStart = 0;
    unsigned long long m_attributeBudget = 0;
    std::unordered_map<const void*, unsigned int> m_addresses;
    std::unordered_set<unsigned int> m_usedAddresses;
    std::unordered_map<const emClassType*, akDebugTypeDef*> m_resolved;
};
