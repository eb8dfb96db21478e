// The debug stream under every debug file: the file header with its type table, typed values,
// strings, raw bytes and object records whose payloads the type definitions write and read.
#pragma once

#include "akdebugattribute.h"
#include "akdebugtype.h"

#include <embase.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <type_traits>
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
    void write(T value)
    {
        write(&value, 1);
    }
    template <class T>
    T read()
    {
        T value{};
        read(&value, 1);
        return value;
    }
    template <class T>
    void write(const T* values, unsigned int n)
    {
        unsigned int moved = 0;
        if constexpr (std::is_same<T, bool>::value) {
            if (n == 1 && m_file) {
                bool value = *values;
                moved = m_file->writeTyped(&value);
            } else {
                moved = writeBools(values, n);
            }
        } else if (m_file && n)
            moved = m_file->writeTyped(values, n);
        if (moved != n * sizeInFile<T>())
            writeFailed();
    }
    template <class T>
    void read(T* values, unsigned int n)
    {
        unsigned int moved = 0;
        if constexpr (std::is_same<T, bool>::value)
            moved = readBools(values, n);
        else if (m_file && n && !m_readFailed)
            moved = m_file->readTyped(values, n);
        if (moved != n * sizeInFile<T>())
            readFailed(values, n * sizeof(T));
    }

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
    // The type definition of the nearest class up the chain of `classType` that has one (kept for
    // the rest of the file), or null.
    akDebugTypeDef* findTypeDef(const emClassType* classType);
    // Definitions that schemas work out from host class types, kept for the rest of the file.
    akDebugTypeDef* const* findCachedTypeDef(const void* key) const;
    void cacheTypeDef(const void* key, akDebugTypeDef* typeDef);

    akDebugType* getType(const akDebugTypeDef* typeDef) const
    {
        const unsigned int slot = typeDef ? typeDef->getSlot() : 0;
        akDebugType* type = slot < m_typeBySlot.size() ? m_typeBySlot[slot] : nullptr;
        return type && type->getTypeDef() == typeDef ? type : nullptr;
    }
    const_iterator_type begin_type() const { return m_types.begin(); }
    const_iterator_type end_type() const { return m_types.end(); }
    unsigned int size_type() const { return static_cast<unsigned int>(m_types.size()); }
    bool empty_type() const { return m_types.empty(); }
    int getNumRepresentations() const { return m_numRepresentations; }
    // The host library version the file was written with (major, minor, patch), once its header
    // was read.
    const int* getFileVersion() const { return m_fileVersion; }
    unsigned int getMagicNumber() const { return m_magicNumber; }

    // Address of a host pointer in this file: its low 32 bits unless another object of the file
    // took that value already; 0 for null.
    unsigned int getAddress(const void* pointer);

    // Reads a count of elements of at least `bytesPerElement` bytes each. A count larger than the
    // rest of the file could hold fails the stream; zero or less means no elements.
    int readCount(unsigned int bytesPerElement);
    // A count of elements from the file, checked the same way: n, or 0 when n is zero or less or
    // more than the rest of the file could hold (the stream then fails).
    int checkCount(int n, unsigned int bytesPerElement);
    // True once a read failed or the file was found damaged.
    bool hasReadFailed() const { return m_readFailed; }
    // True once a write failed.
    bool hasWriteFailed() const { return m_writeFailed; }
    // Marks the file damaged: every later read fails at once.
    void failRead(const char* message);
    // Object records read from, or written to, the current file with this tag.
    unsigned int getNumRecords(ObjectTag tag) const { return m_numRecords[tag & 3]; }

    // The most attributes a read may hold at once: a record whose objects would pass it (a repeat
    // copies a subtree whose size is known beforehand) fails the read instead of being built.
    // Unless the caller sets one, each file read gets the default limit of
    // getDefaultAttributeLimit; setting s_defaultMaxAttributes (the largest value, so that callers
    // may compare it with limits of their own) asks for the default again. getMaxAttributes answers
    // the limit in force: the caller's, else the default of the file whose header was read last,
    // else s_defaultMaxAttributes.
    static constexpr unsigned long long s_defaultMaxAttributes = ~0ull;
    void setMaxAttributes(unsigned long long maximum) { m_maxAttributes = maximum; }
    unsigned long long getMaxAttributes() const
    {
        return m_maxAttributes != s_defaultMaxAttributes ? m_maxAttributes : m_defaultAttributeLimit;
    }
    // The default limit bounds memory and amplification: the smaller of what half the physical
    // memory holds at s_bytesPerAttribute bytes per attribute, and the larger of
    // s_minAttributeLimit and s_attributesPerByte attributes per byte of the file (files without
    // repeats build well under one attribute per byte, heavily instanced ones about twenty).
    // `byMemory` tells which bound gave it.
    // Peak memory of a fresh process reading the 100,000-node benchmark scene or 100,000 instances
    // of one geometry, per attribute built.
    static constexpr unsigned long long s_bytesPerAttribute = 50;
    static constexpr unsigned long long s_attributesPerByte = 1000;
    static constexpr unsigned long long s_minAttributeLimit = 10000000;
    static unsigned long long getDefaultAttributeLimit(unsigned long long fileBytes, unsigned long long memoryBytes,
                                                       bool* byMemory = nullptr);
    // True when the current read failed because the file would build more attributes than the
    // limit: what was built is then only the part before the refused record.
    bool hasPassedAttributeLimit() const { return m_passedAttributeLimit; }
    // Attributes built by the current read that are still alive (on the reading thread).
    unsigned long long getNumAttributesHeld() const;

    // Where a read stands, for a progress display.
    struct Progress
    {
        unsigned long long bytesRead;   // bytes of the file read so far, header included
        unsigned long long fileBytes;   // the size of the file
        unsigned long long records;     // object records read so far (any tag)
        unsigned long long attributes;  // attributes the read holds
    };
    using ProgressCallback = std::function<void(const Progress&)>;
    // Every read on this stream from now on calls `callback` on the reading thread while it goes,
    // at most once per `intervalMs` milliseconds (the clock is looked at every
    // s_progressRecords object records, so a read of fewer records may never call it); an empty
    // callback calls nothing.
    static const unsigned int s_progressRecords = 256;
    void setProgressCallback(ProgressCallback callback, unsigned int intervalMs = 100);

    static int initializeClass() { return telu::SUCCESS; }
    static int shutdownClass() { return telu::SUCCESS; }

protected:
    akDebug();
    ~akDebug();

    // A new host file opened with the mode, or null after the level 5 report
    // "<operation> - unable to open file "<name>"".
    static emFile* openFile(const char* fileName, const char* mode, const char* operation);
    // Takes ownership of the file; an older file is closed and destroyed first.
    void setFile(emFile* file);
    emFile* getFile() const { return m_file; }
    int writeFileHeader();
    int readFileHeader();
    void reset();

    unsigned int m_magicNumber = 0;
    int m_numRepresentations = 0;
    int m_fileVersion[3] = {0, 0, 0};
    emFile* m_file = nullptr;
    std::vector<akDebugType*> m_types;
    // The type of each definition, by the definition's registry slot.
    std::vector<akDebugType*> m_typeBySlot;

private:
    template <class T>
    static constexpr unsigned int sizeInFile()
    {
        return std::is_same<T, bool>::value ? 4u : static_cast<unsigned int>(sizeof(T));
    }
    unsigned int writeBools(const bool* values, unsigned int n);
    unsigned int readBools(bool* values, unsigned int n);
    void writeFailed();
    // Zeroes what a failed read was to fill and reports the first failure.
    void readFailed(void* values, size_t bytes);
    akDebugTypeDef* resolveTypeDef(emClassType* classType);
    void addType(akDebugType* type);
    // Around the object of one full or repeat record: no object is current for name registration.
    static void beginRecord();
    static void endRecord();
    bool readFailed(unsigned int moved, unsigned int expected, const char* message);
    // False, after failing the read, when building `more` attributes would pass the maximum.
    bool canBuild(unsigned long long more);
    void refuseAttributes();
    // Counts an object record read, and calls the progress callback when it is due.
    void countRecordRead(int tag);
    void reportProgress();

    bool m_readFailed = false;
    bool m_writeFailed = false;
    int m_depth = 0;
    unsigned int m_numRecords[4] = {0, 0, 0, 0};
    unsigned long long m_maxAttributes = s_defaultMaxAttributes;
    unsigned long long m_defaultAttributeLimit = s_defaultMaxAttributes;
    bool m_defaultLimitByMemory = false;
    bool m_passedAttributeLimit = false;
    long long m_heldAtStart = 0;
    ProgressCallback m_progress;
    std::chrono::steady_clock::duration m_progressInterval{};
    std::chrono::steady_clock::time_point m_progressDue{};
    unsigned int m_progressCountdown = s_progressRecords;
    // What a file written keeps: the owner of each address taken, the pointers that could not keep
    // their low 32 bits, and the type definitions found for host class types.
    struct Tables;
    Tables* m_tables;
};
