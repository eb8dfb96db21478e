// Helpers for the tests of the module: the module initialised for each test, a stream that writes
// host objects to a file and reads them back, flat listings of attribute trees, and byte helpers.
#pragma once

#include "testsupport.h"

#include <akdebug.h>
#include <akdebugattributeenum.h>
#include <akdebugmodule.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace schemasupport {

using Rows = std::vector<std::string>;

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
    // Replaces the file by these bytes and opens it for reading again.
    void reread(const std::vector<uint8_t>& bytes);
    // The next object record; held by the round trip until it is destroyed.
    akDebugObject* read(const char* name = "Object");
    // True when every byte written was read.
    bool consumedAll() const;
    uint64_t bytesLeft() const;
    std::vector<uint8_t> bytes() const;
    const std::string& path() const { return m_path; }
    // Byte offset in the file of the next value to be written or read.
    uint64_t position() const;
    // The file address of a pointer, as the stream writes it: "0x1A2B".
    std::string address(const void* pointer);

private:
    void open(const char* mode);
    std::string m_path;
    std::vector<akDebugAttributeBase*> m_held;
};

std::string valueOf(const akDebugAttributeBase* attribute);
std::string typeOf(const akDebugAttributeBase* attribute);
// The attribute at a "/"-separated path of names below root, or null.
const akDebugAttributeBase* at(const akDebugAttributeBase* root, const std::string& path);
// The i-th child, or null.
const akDebugAttributeBase* child(const akDebugAttributeBase* group, unsigned int i);

// One line per attribute below `root` (not the root itself), depth first:
//   "path/Name: type = value" with " [advanced]", " [tip: ...]" and " [error N: text]" marks.
// Path components are the names of the enclosing groups below root, joined by "/".
Rows rows(const akDebugAttributeBase* root);
// As rows(), but the contents of object attributes (references and base class levels) are left
// out unless their path is in `expand`, and a matrix is one row of its 16 values in row order.
Rows objectRows(const akDebugAttributeBase* object, const Rows& expand = {});
// Compares two row lists and names the first difference.
::testing::AssertionResult sameRows(const Rows& actual, const Rows& expected);
// The marks rows() gives an attribute: " [advanced]", " [tip: ...]", " [error N: text]".
std::string marks(const akDebugAttributeBase* attribute);
// The error marks of one attribute, as "level: text".
Rows errors(const akDebugAttributeBase* attribute);

std::string hex(unsigned int value);
// The 16 values of a matrix in row order, as a matrix row of objectRows() shows them.
std::string matrixValues(const double (&m)[4][4]);
std::string matrixValues(const float (&m)[4][4]);
// Index in the stream's type table of a registered type, or -1.
int typeIndex(akDebug& stream, const char* name);

// Values in file order as the stream writes them on this host (bools as 4-byte words).
struct Bytes
{
    std::vector<uint8_t> data;
    template <class T>
    Bytes& put(T value)
    {
        const uint8_t* p = reinterpret_cast<const uint8_t*>(&value);
        data.insert(data.end(), p, p + sizeof value);
        return *this;
    }
    Bytes& i(int v) { return put(v); }
    Bytes& u(unsigned int v) { return put(v); }
    Bytes& b(bool v) { return put<int>(v ? 1 : 0); }
    Bytes& f(std::initializer_list<float> values)
    {
        for (float v : values)
            put(v);
        return *this;
    }
};

// ---- Values that tell the fields of a class apart ----
//
// A round trip catches a getter wired to another field of its class only when the two fields hold
// different values. Under bool pattern k, bool field i of a class holds bit k of i + 1, so that
// over enough patterns every two bool fields of a class differ at least once, and each holds both
// values (i + 1 is never all ones). FieldValues collects the rows a test expects of each class
// under each pattern and checks that the values tell every field apart.

// The bools of one pattern: field i's value, and the value as a row shows it.
struct Flags
{
    int pattern;
    bool operator[](int field) const { return (((field + 1) >> pattern) & 1) != 0; }
    std::string operator()(int field) const { return (*this)[field] ? "true" : "false"; }
};

class FieldValues
{
public:
    // The rows of one class level, its own and none of its base levels', under one pattern.
    // `shared` names the rows that may show another row's value, by path or by type: values the
    // host derives or the file stores twice, enumerations with fewer values than the class has
    // fields of them.
    void add(int pattern, const std::string& level, const Rows& rows, const Rows& shared = {});
    // The patterns that the classes added so far need, at least one.
    int patterns() const;
    // Under every pattern no two rows of a class show one value of one type (a getter of another
    // type shows another type), and no vector or matrix repeats a component; every two bool rows
    // of a class differ under at least one pattern, and each holds both values.
    ::testing::AssertionResult distinct() const;

private:
    struct Level
    {
        Rows shared;
        std::map<int, Rows> rows;
    };
    std::map<std::string, Level> m_levels;
};

// Runs roundTrip(flags, fields) under every bool pattern that the classes it adds to `fields`
// need, then checks that the values told their fields apart.
template <class RoundTrip>
void underEveryPattern(RoundTrip roundTrip)
{
    FieldValues fields;
    for (int pattern = 0; pattern < fields.patterns(); ++pattern) {
        SCOPED_TRACE("bool pattern " + std::to_string(pattern));
        roundTrip(Flags{pattern}, fields);
    }
    EXPECT_TRUE(fields.distinct());
}

std::vector<uint8_t> readFile(const std::string& path);
void writeFile(const std::string& path, const std::vector<uint8_t>& bytes);
uint32_t word(const std::vector<uint8_t>& bytes, size_t offset);
bool contains(const std::vector<uint8_t>& bytes, const std::vector<uint8_t>& part);
bool endsWith(const std::vector<uint8_t>& bytes, const std::vector<uint8_t>& tail);
// Object record headers (type index, tag, address) in a file.
int countRecords(const std::vector<uint8_t>& bytes, int typeIndex, int tag, unsigned int address);

}  // namespace schemasupport
