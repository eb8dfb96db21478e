// Test-only host classes, type definitions and a stream that writes and reads them, for the tests
// of the debug stream that need no schema of the module.
#pragma once

#include "testsupport.h"

#include <akdebug.h>
#include <akdebugattributevalue.h>
#include <embase.h>

#include <cstdint>
#include <string>
#include <vector>

namespace streamsupport {

// A named host object with a few values and full references to other objects.
class Thing : public emBase
{
    EM_CLASS_TYPE_DECLARE();

public:
    explicit Thing(const char* name = "") : emBase(name) {}
    int value = 0;
    double weight = 0;
    short small = 0;
    bool flag = false;
    std::vector<const Thing*> refs;
};

// A Thing subclass that has no type definition of its own.
class Gadget : public Thing
{
    EM_CLASS_TYPE_DECLARE();

public:
    using Thing::Thing;
};

// Registers the test type definitions "Thing" (options given) and "Other" (no options) between
// construction and destruction, with the registries they need.
class Registry
{
public:
    explicit Registry(unsigned int thingOptions = static_cast<unsigned int>(-1));
    ~Registry();
    akDebugTypeDef* thing = nullptr;
    akDebugTypeDef* other = nullptr;
};

// A stream with a magic number of its own choosing that opens files itself.
class Stream : public akDebug
{
public:
    explicit Stream(unsigned int magic = 0xFAFAFAFA) { m_magicNumber = magic; }
    int create(const std::string& path);
    int open(const std::string& path);
    void close();
    void setMagic(unsigned int magic) { m_magicNumber = magic; }
};

std::vector<uint8_t> readFile(const std::string& path);
void writeFile(const std::string& path, const std::vector<uint8_t>& bytes);
uint32_t word(const std::vector<uint8_t>& bytes, size_t offset);
std::string valueOf(const akDebugAttributeBase* attribute);
std::string typeOf(const akDebugAttributeBase* attribute);
const akDebugAttributeBase* child(const akDebugAttributeBase* group, const char* name);

}  // namespace streamsupport
