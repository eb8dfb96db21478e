// Type definitions: one per host class that can appear in a debug file, kept in a process-wide
// registry whose order is the order of the type table of every file.
#pragma once

#include "akdebugexport.h"

#include <telu.h>

#include <vector>

class akDebug;
class akDebugObject;
class akDebugType;

class AKDEBUG_API akDebugTypeDef
{
public:
    enum Option : unsigned int { OPTION_INDEX_ADDRESS = 1, OPTION_INDEX_NAME = 2, OPTION_SHARE_REPEATS = 4 };

    using ReadFunction = int (*)(akDebug*, akDebugObject*);
    using WriteFunction = int (*)(akDebug*, void*);
    using CreateFunction = akDebugObject* (*)(const char* name, unsigned int address, akDebugType* type);
    using const_iterator = std::vector<akDebugTypeDef*>::const_iterator;

    // Enters the definition in the registry; every "_" of the name stands for "::".
    akDebugTypeDef(const char* name, akDebugTypeDef* baseTypeDef, ReadFunction read, WriteFunction write,
                   CreateFunction create, unsigned int options);
    ~akDebugTypeDef();
    akDebugTypeDef(const akDebugTypeDef&) = delete;
    akDebugTypeDef& operator=(const akDebugTypeDef&) = delete;

    static akDebugTypeDef* find(const char* name);
    static const_iterator begin();
    static const_iterator end();
    static unsigned int size();
    static bool empty();

    const char* getName() const { return m_name.c_str(); }
    akDebugTypeDef* getBaseTypeDef() const { return m_baseTypeDef; }
    unsigned int getOptions() const { return m_options; }
    // The definition's place in the registry when it was made; streams find their types by it.
    unsigned int getSlot() const { return m_slot; }

    int read(akDebug* stream, akDebugObject* object) const;
    int write(akDebug* stream, void* object) const;
    akDebugObject* create(const char* name, unsigned int address, akDebugType* type) const;

    // True when `other` is this definition or one up its base chain.
    bool isOfTypeDef(const akDebugTypeDef* other) const;

    static int initializeClass();
    static int shutdownClass();

private:
    unsigned int m_options;
    unsigned int m_slot = 0;
    emString m_name;
    akDebugTypeDef* m_baseTypeDef;
    ReadFunction m_read;
    WriteFunction m_write;
    CreateFunction m_create;
};
