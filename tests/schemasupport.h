// Helpers for the schema tests: the module initialised for each test, a stream that writes host
// objects to a file and reads them back, and a flat listing of an attribute tree.
#pragma once

#include "testsupport.h"

#include <akdebug.h>
#include <akdebugattributeenum.h>
#include <akdebugmodule.h>

#include <string>
#include <vector>

namespace schemasupport {

// Initialises the module (all registrations) before each test and shuts it down after.
class ModuleTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
    akModule* module = nullptr;
};

// Writes objects into a file of its own, then reads them back one record at a time.
class RoundTrip : public akDebug
{
public:
    RoundTrip();
    ~RoundTrip();

    // Opens the file for writing and writes the header.
    void begin();
    template <class T>
    void write(const T* object)
    {
        if (!getFile())
            begin();
        writeObject(object, false);
    }
    void write(const emClassObject* object, akDebugTypeDef* typeDef)
    {
        if (!getFile())
            begin();
        writeObject(object, typeDef, false);
    }
    // Closes the written file and opens it for reading.
    void finish();
    // The next object record; held by the round trip until it is destroyed.
    akDebugObject* read(const char* name = "Object");
    // True when every byte written was read.
    bool consumedAll() const;
    uint64_t bytesLeft() const;
    std::vector<uint8_t> bytes() const;
    const std::string& path() const { return m_path; }
    // Byte offset in the file of the next value to be written.
    uint64_t position() const;

    // Writes one object and reads it back.
    template <class T>
    akDebugObject* roundTrip(const T* object)
    {
        write(object);
        finish();
        return read();
    }

private:
    std::string m_path;
    std::vector<akDebugAttributeBase*> m_held;
};

// One line per attribute below `root` (not the root itself), depth first:
//   "path/Name: type = value" with " [advanced]", " [tip: ...]" and " [error N: text]" marks.
// Path components are the names of the enclosing groups below root, joined by "/".
std::vector<std::string> rows(const akDebugAttributeBase* root);
// The attribute at a "/"-separated path of names below root, or null.
const akDebugAttributeBase* at(const akDebugAttributeBase* root, const std::string& path);
std::string valueOf(const akDebugAttributeBase* attribute);
std::string typeOf(const akDebugAttributeBase* attribute);

}  // namespace schemasupport
