// The debug stream with test-only type definitions: header bytes, string records, object records
// with their four tags, header refusals, and damaged files.
#include "schemasupport.h"

#include <akdebugattributevalue.h>
#include <akdebugscene.h>
#include <benchscene.h>
#include <embase.h>
#include <tels.h>

#include <algorithm>
#include <functional>

using namespace schemasupport;

namespace {

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

EM_CLASS_TYPE_DEFINE(Thing, "Thing", emBase::getStaticClassType())
EM_CLASS_TYPE_DEFINE(Gadget, "Gadget", Thing::getStaticClassType())

int writeThing(akDebug* stream, void* object)
{
    const Thing* thing = dynamic_cast<const Thing*>(static_cast<emClassObject*>(object));
    stream->write<int>(thing->value);
    stream->write<double>(thing->weight);
    stream->write<short>(thing->small);
    stream->write<bool>(thing->flag);
    stream->writeString(thing->getName());
    stream->write<int>(static_cast<int>(thing->refs.size()));
    for (const Thing* ref : thing->refs)
        stream->writeObject(ref, false);
    return telu::SUCCESS;
}

int readThing(akDebug* stream, akDebugObject* object)
{
    object->insert_child(new akDebugAttribute<int>("Value", stream->read<int>()));
    object->insert_child(new akDebugAttribute<double>("Weight", stream->read<double>()));
    object->insert_child(new akDebugAttribute<short>("Small", stream->read<short>()));
    object->insert_child(new akDebugAttribute<bool>("Flag", stream->read<bool>()));
    char name[akDebug::s_maxArraySize];
    stream->readString(name, sizeof name);
    object->insert_child(new akDebugString("Name", name));
    akDebugGroup* refs = new akDebugGroup("Refs");
    object->insert_child(refs);
    int n = stream->readCount(8);
    for (int i = 0; i < n && !stream->hasReadFailed(); ++i)
        if (akDebugObject* ref = stream->readObject(akDebugAttributeBase::getPersistentIndexName(i)))
            refs->insert_child(ref);
    return telu::SUCCESS;
}

int writeNothing(akDebug*, void*) { return telu::SUCCESS; }
int readNothing(akDebug*, akDebugObject*) { return telu::SUCCESS; }

// A stream with a magic number of its own choosing that opens files itself and holds what it reads.
class Stream : public akDebug
{
public:
    explicit Stream(unsigned int magic = 0xFAFAFAFA) { m_magicNumber = magic; }
    ~Stream()
    {
        for (akDebugObject* object : m_held)
            object->unref();
    }
    int create(const std::string& path) { return open(path, "wb") ? writeFileHeader() : telu::FAILURE; }
    int open(const std::string& path) { return open(path, "rb") ? readFileHeader() : telu::FAILURE; }
    void close() { getFile()->close(); }
    std::string address(const void* pointer) { return hex(getAddress(pointer)); }
    akDebugObject* read(const char* name)
    {
        akDebugObject* object = readObject(name);
        if (object) {
            object->ref();
            m_held.push_back(object);
        }
        return object;
    }

private:
    bool open(const std::string& path, const char* mode)
    {
        emFile* file = new emFile;
        setFile(file);
        return file->open(path.c_str(), mode) == telu::SUCCESS;
    }
    std::vector<akDebugObject*> m_held;
};

// Header: 36 bytes of words, then "Other" and "Thing" as 12-byte string records.
const size_t kBody = 36 + 12 + 12;

// value, weight, small, flag, empty name, then the number of references.
Bytes& thingPayload(Bytes& b, int refs)
{
    b.i(0).put(0.0).put<short>(0).b(false).u(0);
    return b.i(refs);
}

// Registers the type definitions "Other" and "Thing" for each test.
class StreamTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        akDebugTypeDef::initializeClass();
        akDebugAttributeBase::initializeClass();
        other = new akDebugTypeDef("Other", nullptr, readNothing, writeNothing, akDebugObject::create, 0);
        thing = new akDebugTypeDef("Thing", nullptr, readThing, writeThing, akDebugObject::create, ~0u);
        testsupport::clear();
        path = testsupport::tempDir() + "/file.bin";
    }
    void TearDown() override
    {
        delete thing;
        delete other;
        akDebugAttributeBase::shutdownClass();
        akDebugTypeDef::shutdownClass();
    }
    // Writes a file with `body` written after the header.
    std::vector<uint8_t> writeWith(const std::function<void(Stream&)>& body)
    {
        Stream stream;
        stream.create(path);
        body(stream);
        stream.close();
        return readFile(path);
    }
    // Writes the header followed by hand-made bytes.
    void writeRaw(const Bytes& body)
    {
        std::vector<uint8_t> bytes = writeWith([](Stream&) {});
        bytes.insert(bytes.end(), body.data.begin(), body.data.end());
        writeFile(path, bytes);
        testsupport::clear();
    }
    akDebugTypeDef* other = nullptr;
    akDebugTypeDef* thing = nullptr;
    std::string path;
};

TEST_F(StreamTest, HeaderIsByteExact)
{
    std::vector<uint8_t> bytes = writeWith([](Stream&) {});
    ASSERT_EQ(bytes.size(), kBody);
    // Magic, format words, the host's version, representations, number of types, first name's length.
    const uint32_t words[10] = {0xFAFAFAFAu,
                                1,
                                2,
                                1,
                                static_cast<uint32_t>(telu::getVersionMajor()),
                                static_cast<uint32_t>(telu::getVersionMinor()),
                                static_cast<uint32_t>(telu::getVersionPatch()),
                                static_cast<uint32_t>(kiChannel::getNumRepresentations()),
                                2,
                                8};
    for (size_t i = 0; i < 10; ++i)
        EXPECT_EQ(word(bytes, 4 * i), words[i]) << "offset " << 4 * i;
    EXPECT_EQ(std::memcmp(bytes.data() + 40, "Other\0\0\0", 8), 0);
    EXPECT_EQ(std::memcmp(bytes.data() + 52, "Thing\0\0\0", 8), 0);
}

TEST_F(StreamTest, StringRecords)
{
    std::vector<uint8_t> bytes = writeWith([](Stream& s) {
        s.writeString("abc");
        s.writeString("abcd");
        s.writeString("");
        s.writeString(nullptr);
        s.writeString(std::string(1019, 'x').c_str());
    });
    ASSERT_EQ(bytes.size(), kBody + 8 + 12 + 4 + 4 + 4 + 1020);
    EXPECT_EQ(word(bytes, kBody), 4u);
    EXPECT_EQ(std::memcmp(bytes.data() + kBody + 4, "abc\0", 4), 0);
    EXPECT_EQ(word(bytes, kBody + 8), 8u);
    EXPECT_EQ(std::memcmp(bytes.data() + kBody + 12, "abcd\0\0\0\0", 8), 0);
    EXPECT_EQ(word(bytes, kBody + 20), 0u);
    EXPECT_EQ(word(bytes, kBody + 24), 0u);
    EXPECT_EQ(word(bytes, kBody + 28), 1020u);
    EXPECT_TRUE(testsupport::messages().empty());

    Stream reader;
    ASSERT_EQ(reader.open(path), telu::SUCCESS);
    char buffer[1024];
    reader.readString(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "abc");
    reader.readString(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "abcd");
    std::memset(buffer, 'z', sizeof buffer);
    reader.readString(buffer, sizeof buffer);
    EXPECT_TRUE(std::all_of(buffer, buffer + sizeof buffer, [](char c) { return c == 0; }));
    reader.readString(buffer, sizeof buffer);
    reader.readString(buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer), std::string(1019, 'x'));
    EXPECT_FALSE(reader.hasReadFailed());
}

TEST_F(StreamTest, OverlongStringsAreReportedAndKeepTheFileWellFormed)
{
    writeWith([](Stream& s) {
        s.writeString(std::string(1020, 'y').c_str());
        s.writeString("after");
    });
    EXPECT_TRUE(testsupport::printed(6, "akDebug::writeString - inadequate array size"));
    Stream reader;
    ASSERT_EQ(reader.open(path), telu::SUCCESS);
    char buffer[1024];
    reader.readString(buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer), std::string(1019, 'y'));
    // A record longer than the caller's buffer keeps the prefix that fits and skips the rest.
    Stream again;
    again.open(path);
    char small[8];
    again.readString(small, sizeof small);
    EXPECT_STREQ(small, "yyyyyyy");
    EXPECT_TRUE(testsupport::printed(6, "akDebug::readString - inadequate array size"));
    again.readString(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "after");
}

TEST_F(StreamTest, ObjectsRoundTripWithTagsAndAddresses)
{
    Thing root("Root Thing"), shared("Shared"), plain("Plain");
    Gadget gadget("Gadget");
    root.value = -5;
    root.weight = 2.25;
    root.small = -3;
    root.flag = true;
    shared.value = 7;
    root.refs = {&shared, &shared, &gadget, nullptr};
    gadget.refs = {&plain};
    std::vector<uint8_t> bytes = writeWith([&](Stream& s) {
        EXPECT_EQ(s.writeObject(&root, false), telu::SUCCESS);
        s.writeObject(static_cast<const Thing*>(nullptr), false);
        s.writeObject(&plain, true);
    });
    // The root's record: type index 1 (Thing), tag 3, the address, then value, weight, small, flag.
    EXPECT_EQ(word(bytes, kBody), 1u);
    EXPECT_EQ(word(bytes, kBody + 4), 3u);
    EXPECT_EQ(static_cast<int32_t>(word(bytes, kBody + 12)), -5);
    double weight;
    std::memcpy(&weight, bytes.data() + kBody + 16, 8);
    EXPECT_EQ(weight, 2.25);
    EXPECT_EQ(bytes[kBody + 24], 0xFD);
    EXPECT_EQ(bytes[kBody + 25], 0xFF);
    EXPECT_EQ(word(bytes, kBody + 26), 1u);  // bool: one 32-bit word

    Stream reader;
    ASSERT_EQ(reader.open(path), telu::SUCCESS);
    akDebugObject* object = reader.read("Root");
    ASSERT_NE(object, nullptr);
    EXPECT_STREQ(object->getName(), "Root");
    EXPECT_EQ(typeOf(object), "Thing *");
    EXPECT_EQ(objectRows(object),
              (Rows{"Value: int = -5", "Weight: double = 2.25", "Small: short = -3", "Flag: bool = true",
                    "Name: emString = \"Root Thing\"", "Refs:  = ", "Refs/0: Thing * = " + reader.address(&shared),
                    "Refs/0: Thing * = " + reader.address(&shared), "Refs/2: Thing * = " + reader.address(&gadget),
                    "Refs/3: Thing * = 0x0"}));
    auto ref = [&](unsigned int i) { return static_cast<const akDebugObject*>(child(at(object, "Refs"), i)); };
    // A repeat is a copy of the full record, keeping the source's name.
    EXPECT_NE(ref(0), ref(1));
    EXPECT_EQ(valueOf(at(ref(1), "Value")), "7");
    EXPECT_TRUE(ref(1)->compare(ref(0)));
    // A class without a type definition is written under its nearest registered base.
    EXPECT_EQ(valueOf(at(ref(2), "Name")), "\"Gadget\"");
    // A null reference: the type's object without address or children.
    EXPECT_EQ(ref(3)->size_child(), 0u);

    akDebugObject* nullRecord = reader.read(nullptr);
    ASSERT_NE(nullRecord, nullptr);
    EXPECT_STREQ(nullRecord->getName(), "Thing");
    EXPECT_EQ(nullRecord->getValue(), 0u);
    akDebugObject* addressOnly = reader.read("Plain");
    ASSERT_NE(addressOnly, nullptr);
    EXPECT_EQ(addressOnly->size_child(), 0u);
    // The address-only reference names the object whose full record came inside the gadget.
    EXPECT_EQ(valueOf(at(ref(2), "Refs/0")), valueOf(addressOnly));
    EXPECT_FALSE(reader.hasReadFailed());
}

TEST_F(StreamTest, IndexesFindObjectsByAddress)
{
    Thing a("A"), b("B");
    a.refs = {&b, &b};
    writeWith([&](Stream& s) { s.writeObject(&a, false); });
    Stream reader;
    reader.open(path);
    akDebugObject* root = reader.read("Root");
    akDebugType* type = reader.getType(thing);
    ASSERT_NE(type, nullptr);
    // The full record of B and its repeat's copy are both entered at B's address.
    EXPECT_EQ(type->size_address(), 2u);
    const akDebugObject* copy = static_cast<const akDebugObject*>(child(at(root, "Refs"), 1));
    akDebugObject* firstAtB = type->findObject(copy->getValue(), nullptr);
    ASSERT_NE(firstAtB, nullptr);
    akDebugObject* secondAtB = type->findObject(copy->getValue(), firstAtB);
    EXPECT_EQ(secondAtB, copy);
    EXPECT_EQ(type->findObject(copy->getValue(), secondAtB), nullptr);
    int walked = 0;
    for (akDebugObject* o = type->findObject(nullptr); o; o = type->findObject(o))
        ++walked;
    EXPECT_EQ(walked, 3);
}

TEST_F(StreamTest, HeaderRefusals)
{
    const std::vector<uint8_t> good = writeWith([](Stream&) {});
    auto open = [&](size_t at, uint8_t mask, const char* message, unsigned int magic = 0xFAFAFAFA) {
        std::vector<uint8_t> bytes = good;
        bytes[at] ^= mask;
        writeFile(path, bytes);
        testsupport::clear();
        Stream reader(magic);
        int result = reader.open(path);
        EXPECT_TRUE(message == nullptr || testsupport::printed(5, message)) << message;
        return result;
    };
    EXPECT_EQ(open(0, 0, nullptr), telu::SUCCESS);
    EXPECT_EQ(open(0, 0, "akDebug::readFileHeader - invalid magic number", 0xFBFBFBFB), telu::FAILURE);
    EXPECT_EQ(open(20, 1, "akDebug::readFileHeader - file has different version"), telu::FAILURE);  // minor
    EXPECT_EQ(open(16, 1, "akDebug::readFileHeader - file has different version"), telu::FAILURE);  // major
    EXPECT_EQ(open(24, 1, nullptr), telu::SUCCESS);                                                 // patch
    for (size_t at : {size_t(41), size_t(53)})  // a letter of "Other", of "Thing"
        EXPECT_EQ(open(at, 0x0C, "akDebug::readFileHeader - unable to resolve type definition"), telu::FAILURE);
    // A representation count no file could hold would drive every representation loop.
    EXPECT_EQ(open(31, 0x80, "akDebug::readFileHeader - invalid representation count"), telu::FAILURE);
}

TEST_F(StreamTest, RecordsThatCannotBeResolved)
{
    auto read = [&](const Bytes& body) {
        writeRaw(body);
        Stream reader;
        reader.open(path);
        akDebugObject* object = reader.read("X");
        return object != nullptr;
    };
    // A repeat of an address without an earlier full record.
    EXPECT_FALSE(read(Bytes().u(1).u(2).u(0x1234)));
    EXPECT_TRUE(testsupport::printed(6, "akDebug::readObject - unable to resolve debug object"));
    EXPECT_FALSE(read(Bytes().u(1).u(4).u(0x1234)));
    EXPECT_TRUE(testsupport::printed(6, "akDebug::readObject - invalid object tag"));
    EXPECT_FALSE(read(Bytes().u(2).u(3).u(0x1234)));
    EXPECT_TRUE(testsupport::printed(6, "akDebug::readObject - invalid type index"));
    EXPECT_FALSE(read(Bytes().u(0xFFFFFFFF).u(3)));
    EXPECT_TRUE(testsupport::printed(6, "akDebug::readObject - invalid type index"));
    // A count larger than the rest of the file fails the stream instead of looping.
    Bytes huge;
    EXPECT_TRUE(read(thingPayload(huge.u(1).u(3).u(0x10), 0x7FFFFFFF)));
    EXPECT_TRUE(testsupport::printed(6, "akDebug::readCount - count exceeds the rest of the file"));
}

TEST_F(StreamTest, AddressesAreUniqueWithinAFile)
{
    Stream stream;
    stream.create(path);
    const void* low = reinterpret_cast<const void*>(uintptr_t(0x100000010));
    const void* high = reinterpret_cast<const void*>(uintptr_t(0x200000010));
    unsigned int a = stream.getAddress(low);
    unsigned int b = stream.getAddress(high);
    EXPECT_EQ(a, 0x10u);
    EXPECT_NE(a, b);
    EXPECT_NE(b, 0u);
    EXPECT_EQ(stream.getAddress(high), b);
    EXPECT_EQ(stream.getAddress(reinterpret_cast<const void*>(uintptr_t(0x300000000))), 1u + (b == 1u));
    stream.close();
}

TEST_F(StreamTest, NestingIsBoundedOnWritingAndReading)
{
    std::vector<Thing> chain(akDebug::s_maxDepth + 5);
    for (size_t i = 0; i + 1 < chain.size(); ++i)
        chain[i].refs = {&chain[i + 1]};
    writeWith([&](Stream& s) { s.writeObject(&chain[0], false); });
    EXPECT_TRUE(testsupport::printed(6, "akDebug::writeObject - nesting too deep"));
    {
        Stream reader;
        reader.open(path);
        const akDebugAttributeBase* node = reader.read("Root");
        ASSERT_NE(node, nullptr);
        EXPECT_FALSE(reader.hasReadFailed());
        // Walk to the deepest record: address-only at the bound.
        int levels = 1;
        for (; at(node, "Refs/0"); ++levels)
            node = at(node, "Refs/0");
        EXPECT_EQ(levels, akDebug::s_maxDepth + 1);
        EXPECT_TRUE(node->empty_child());
    }
    // A file nesting one record deeper than the bound is refused where it goes too deep.
    Bytes body;
    for (int i = 0; i <= akDebug::s_maxDepth; ++i)
        thingPayload(body.u(1).u(3).u(0x100 + i), 1);
    writeRaw(body);
    Stream reader;
    reader.open(path);
    ASSERT_NE(reader.read("Root"), nullptr);
    EXPECT_TRUE(testsupport::printed(6, "akDebug::readObject - nesting too deep"));
    EXPECT_TRUE(reader.hasReadFailed());
}

TEST_F(StreamTest, RepeatsCannotBuildAnExponentialTree)
{
    // Record k holds two repeats of record k-1: 2^k attributes from a few hundred bytes.
    Bytes body;
    const int levels = 40;
    thingPayload(body.u(1).u(3).u(0x1000), levels);
    thingPayload(body.u(1).u(3).u(0x2000), 0);
    for (int k = 1; k < levels; ++k) {
        thingPayload(body.u(1).u(3).u(0x2000 + k), 2);
        body.u(1).u(2).u(0x2000 + k - 1);
        body.u(1).u(2).u(0x2000 + k - 1);
    }
    writeRaw(body);
    Stream reader;
    EXPECT_EQ(reader.getMaxAttributes(), akDebug::s_defaultMaxAttributes);
    reader.setMaxAttributes(100000);
    reader.open(path);
    ASSERT_NE(reader.read("Root"), nullptr);
    // The copy that would pass the limit is refused before it is built, with the limit named.
    EXPECT_TRUE(testsupport::printed(6,
                                     "akDebug::readObject - too many attributes: the file would build more than "
                                     "100000 (the limit of akDebug::setMaxAttributes)"));
    EXPECT_TRUE(reader.hasReadFailed());
    EXPECT_LE(reader.getNumAttributesHeld(), 100000u);
}

TEST_F(StreamTest, DefaultLimitIsTheSmallerOfMemoryAndAmplification)
{
    const unsigned long long gb = 1ull << 30;
    bool byMemory = true;
    // A small file may build the least limit; a larger one 1,000 attributes per byte.
    EXPECT_EQ(akDebug::getDefaultAttributeLimit(5000, 24 * gb, &byMemory), akDebug::s_minAttributeLimit);
    EXPECT_FALSE(byMemory);
    EXPECT_EQ(akDebug::getDefaultAttributeLimit(50000, 24 * gb, &byMemory), 50000000ull);
    EXPECT_FALSE(byMemory);
    // A large file meets what half the memory holds.
    EXPECT_EQ(akDebug::getDefaultAttributeLimit(200000000, 24 * gb, &byMemory), 12 * gb / akDebug::s_bytesPerAttribute);
    EXPECT_TRUE(byMemory);
    EXPECT_EQ(akDebug::getDefaultAttributeLimit(~0ull, 0, &byMemory), ~0ull);
    EXPECT_FALSE(byMemory);
}

// Progress comes while a read goes, no more often than asked, with the bytes and records so far.
TEST_F(StreamTest, ProgressReportsBytesAndRecordsWhileReading)
{
    std::vector<Thing> things(3000);
    Thing root("Root");
    for (Thing& thing : things)
        root.refs.push_back(&thing);
    const std::vector<uint8_t> bytes = writeWith([&](Stream& s) { s.writeObject(&root, false); });
    std::vector<akDebug::Progress> seen;
    Stream reader;
    reader.setProgressCallback([&](const akDebug::Progress& progress) { seen.push_back(progress); }, 0);
    ASSERT_EQ(reader.open(path), telu::SUCCESS);
    ASSERT_NE(reader.read("Root"), nullptr);
    ASSERT_EQ(seen.size(), things.size() / akDebug::s_progressRecords);
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].fileBytes, bytes.size());
        EXPECT_EQ(seen[i].records, (i + 1) * akDebug::s_progressRecords);
        EXPECT_GT(seen[i].bytesRead, i ? seen[i - 1].bytesRead : 0);
        EXPECT_LT(seen[i].bytesRead, bytes.size());
        EXPECT_GE(seen[i].attributes, seen[i].records);
    }
    // Not before the interval has passed, and not at all without a callback.
    Stream slow;
    seen.clear();
    slow.setProgressCallback([&](const akDebug::Progress& progress) { seen.push_back(progress); }, 3600 * 1000);
    slow.open(path);
    slow.read("Root");
    Stream none;
    none.setProgressCallback(nullptr);
    none.open(path);
    none.read("Root");
    EXPECT_TRUE(seen.empty());
}

// Every prefix and every one-byte corruption of a valid file reads without a crash, a hang or a
// leak (the sanitizer build checks the last two).
TEST_F(StreamTest, DamagedFilesNeverCrash)
{
    Thing root("Root"), shared("Shared"), other("Other");
    root.refs = {&shared, &other, &shared};
    other.refs = {&shared, nullptr};
    const std::vector<uint8_t> good = writeWith([&](Stream& s) {
        s.writeObject(&root, false);
        s.writeString("tail");
    });
    auto readAll = [&](const std::vector<uint8_t>& bytes) {
        writeFile(path, bytes);
        Stream reader;
        if (reader.open(path) != telu::SUCCESS)
            return;
        reader.read("Root");
        char buffer[1024];
        reader.readString(buffer, sizeof buffer);
        EXPECT_LT(std::strlen(buffer), sizeof buffer);
    };
    for (size_t cut = 0; cut < good.size(); ++cut)
        readAll(std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(cut)));
    for (size_t at = 0; at < good.size(); ++at)
        for (uint8_t value : {uint8_t(0x00), uint8_t(0xFF), uint8_t(good[at] ^ 0x01), uint8_t(0x7F)}) {
            std::vector<uint8_t> bad = good;
            bad[at] = value;
            readAll(bad);
        }
}

class StreamLimitTest : public schemasupport::ModuleTest
{};

// A few kilobytes whose repeats would expand to billions of attributes are refused at the default
// limit, with the bound named, and the stream tells the refusal from a damaged file; instancing,
// which builds some tens of attributes per byte, stays far inside the limit.
TEST_F(StreamLimitTest, ExpandingFilesMeetTheDefaultLimitWhileInstancesRead)
{
    const std::string expanding = testsupport::tempDir() + "/expanding.bin";
    akDebugScene scene;
    ASSERT_EQ(scene.write(expanding.c_str(), benchscene::buildExpanding(30)->getRoot(), false), telu::SUCCESS);
    const std::vector<uint8_t> bytes = readFile(expanding);
    ASSERT_LT(bytes.size(), 10000u);
    testsupport::clear();
    EXPECT_EQ(scene.read(expanding.c_str()), telu::FAILURE);
    EXPECT_TRUE(scene.hasPassedAttributeLimit());
    EXPECT_EQ(scene.getMaxAttributes(), akDebug::s_minAttributeLimit);
    EXPECT_LE(scene.getNumAttributesHeld(), akDebug::s_minAttributeLimit);
    EXPECT_TRUE(testsupport::printed(
        6,
        "akDebug::readObject - too many attributes: the file would build more than 10000000, the default limit "
        "for a file of " +
            std::to_string(bytes.size()) +
            " bytes (1000 attributes per byte, at least 10000000); a larger limit is set with "
            "akDebug::setMaxAttributes"));
    // A file cut before its repeats fails without meeting the limit, keeping what it could read.
    writeFile(expanding, std::vector<uint8_t>(bytes.begin(), bytes.begin() + bytes.size() * 3 / 4));
    EXPECT_EQ(scene.read(expanding.c_str()), telu::FAILURE);
    EXPECT_FALSE(scene.hasPassedAttributeLimit());
    EXPECT_NE(scene.getRoot(), nullptr);

    const std::string instanced = testsupport::tempDir() + "/instanced.bin";
    const int instances = 2000;
    ASSERT_EQ(scene.write(instanced.c_str(), benchscene::buildInstanced(instances)->getRoot(), false), telu::SUCCESS);
    ASSERT_EQ(scene.read(instanced.c_str()), telu::SUCCESS);
    EXPECT_FALSE(scene.hasPassedAttributeLimit());
    EXPECT_EQ(scene.getNumRecords(akDebug::OBJECT_REPEAT), 2u * (instances - 1));
    const unsigned long long size = readFile(instanced).size();
    const unsigned long long held = scene.getNumAttributesHeld();
    EXPECT_GT(held, 200ull * instances);
    // Fifty times as many instances take fifty times the bytes and the attributes.
    EXPECT_LT(held * 50, akDebug::getDefaultAttributeLimit(size * 50, 4ull << 30));
    EXPECT_LT(held, 100 * size);
}

}  // namespace
