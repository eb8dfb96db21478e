// The debug stream with test-only type definitions: header bytes, string records, object records
// with their four tags, header refusals, and damaged files.
#include "streamsupport.h"

#include <cstring>
#include <type_traits>

#include <tels.h>

using namespace streamsupport;

namespace {

static_assert(!std::is_copy_constructible<akDebug>::value, "streams own their file and types");
static_assert(!std::is_copy_assignable<akDebug>::value, "streams own their file and types");

class StreamTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testsupport::clear();
        path = testsupport::tempDir() + "/file.bin";
    }
    std::string path;
};

// Header: 36 bytes of words, then "Other" and "Thing" as 12-byte string records.
const size_t kBody = 36 + 12 + 12;

// Appends little-endian words to a byte vector.
struct Bytes
{
    std::vector<uint8_t> data;
    Bytes& u32(uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            data.push_back(static_cast<uint8_t>(v >> (8 * i)));
        return *this;
    }
    Bytes& thingPayload(int children)
    {
        // value, weight, small, flag, empty name, count
        u32(0).u32(0).u32(0);
        data.push_back(0);
        data.push_back(0);
        return u32(0).u32(0).u32(static_cast<uint32_t>(children));
    }
};

std::vector<uint8_t> headerOf(const std::string& path)
{
    Stream stream;
    stream.create(path);
    stream.close();
    return readFile(path);
}

TEST_F(StreamTest, HeaderIsByteExact)
{
    Registry registry;
    std::vector<uint8_t> bytes = headerOf(path);
    ASSERT_EQ(bytes.size(), kBody);
    EXPECT_EQ(word(bytes, 0), 0xFAFAFAFAu);
    EXPECT_EQ(word(bytes, 4), 1u);
    EXPECT_EQ(word(bytes, 8), 2u);
    EXPECT_EQ(word(bytes, 12), 1u);
    EXPECT_EQ(word(bytes, 16), static_cast<uint32_t>(telu::getVersionMajor()));
    EXPECT_EQ(word(bytes, 20), static_cast<uint32_t>(telu::getVersionMinor()));
    EXPECT_EQ(word(bytes, 24), static_cast<uint32_t>(telu::getVersionPatch()));
    EXPECT_EQ(word(bytes, 28), static_cast<uint32_t>(kiChannel::getNumRepresentations()));
    EXPECT_EQ(word(bytes, 32), 2u);
    EXPECT_EQ(word(bytes, 36), 8u);
    EXPECT_EQ(std::memcmp(bytes.data() + 40, "Other\0\0\0", 8), 0);
    EXPECT_EQ(std::memcmp(bytes.data() + 52, "Thing\0\0\0", 8), 0);
}

TEST_F(StreamTest, StringRecords)
{
    Registry registry;
    {
        Stream stream;
        stream.create(path);
        stream.writeString("abc");
        stream.writeString("abcd");
        stream.writeString("");
        stream.writeString(nullptr);
        stream.writeString(std::string(1019, 'x').c_str());
        stream.close();
    }
    std::vector<uint8_t> bytes = readFile(path);
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
    Registry registry;
    {
        Stream stream;
        stream.create(path);
        stream.writeString(std::string(1020, 'y').c_str());
        stream.writeString("after");
        stream.close();
    }
    EXPECT_TRUE(testsupport::printed(6, "akDebug::writeString - inadequate array size"));
    Stream reader;
    ASSERT_EQ(reader.open(path), telu::SUCCESS);
    char buffer[1024];
    reader.readString(buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer), std::string(1019, 'y'));
    // A record longer than the caller's buffer keeps the prefix that fits and skips the rest.
    {
        Stream again;
        again.open(path);
        char small[8];
        again.readString(small, sizeof small);
        EXPECT_STREQ(small, "yyyyyyy");
        EXPECT_TRUE(testsupport::printed(6, "akDebug::readString - inadequate array size"));
        again.readString(buffer, sizeof buffer);
        EXPECT_STREQ(buffer, "after");
    }
}

TEST_F(StreamTest, ObjectsRoundTripWithTagsAndAddresses)
{
    Registry registry;
    Thing root("Root Thing"), shared("Shared"), plain("Plain");
    Gadget gadget("Gadget");
    root.value = -5;
    root.weight = 2.25;
    root.small = -3;
    root.flag = true;
    shared.value = 7;
    root.refs = {&shared, &shared, &gadget, nullptr};
    gadget.refs = {&plain};
    {
        Stream stream;
        stream.create(path);
        EXPECT_EQ(stream.writeObject(&root, false), telu::SUCCESS);
        stream.writeObject(static_cast<const Thing*>(nullptr), false);
        stream.writeObject(&plain, true);
        stream.close();
    }
    std::vector<uint8_t> bytes = readFile(path);
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
    akDebugObject* object = reader.readObject("Root");
    ASSERT_NE(object, nullptr);
    object->ref();
    EXPECT_STREQ(object->getName(), "Root");
    EXPECT_EQ(typeOf(object), "Thing *");
    EXPECT_EQ(valueOf(child(object, "Value")), "-5");
    EXPECT_EQ(valueOf(child(object, "Weight")), "2.25");
    EXPECT_EQ(valueOf(child(object, "Small")), "-3");
    EXPECT_EQ(valueOf(child(object, "Flag")), "true");
    EXPECT_EQ(valueOf(child(object, "Name")), "\"Root Thing\"");
    const akDebugAttributeBase* refs = child(object, "Refs");
    ASSERT_EQ(refs->size_child(), 4u);
    auto first = static_cast<const akDebugObject*>(refs->begin_child()[0]);
    auto second = static_cast<const akDebugObject*>(refs->begin_child()[1]);
    auto third = static_cast<const akDebugObject*>(refs->begin_child()[2]);
    auto fourth = static_cast<const akDebugObject*>(refs->begin_child()[3]);
    EXPECT_NE(first, second);
    EXPECT_EQ(first->getValue(), second->getValue());
    EXPECT_NE(first->getValue(), 0u);
    // A repeat is a copy of the full record, keeping the source's name.
    EXPECT_STREQ(second->getName(), "0");
    EXPECT_EQ(valueOf(child(second, "Value")), "7");
    EXPECT_TRUE(second->compare(first));
    // A class without a type definition is written under its nearest registered base.
    EXPECT_EQ(typeOf(third), "Thing *");
    EXPECT_EQ(valueOf(child(third, "Name")), "\"Gadget\"");
    // A null reference: the type's object without address.
    EXPECT_EQ(typeOf(fourth), "Thing *");
    EXPECT_EQ(valueOf(fourth), "0x0");
    EXPECT_EQ(fourth->size_child(), 0u);

    akDebugObject* nullRecord = reader.readObject(nullptr);
    ASSERT_NE(nullRecord, nullptr);
    EXPECT_STREQ(nullRecord->getName(), "Thing");
    EXPECT_EQ(nullRecord->getValue(), 0u);
    akDebugObject* addressOnly = reader.readObject("Plain");
    ASSERT_NE(addressOnly, nullptr);
    EXPECT_EQ(addressOnly->size_child(), 0u);
    // The address-only reference names the object whose full record came inside the gadget.
    const akDebugAttributeBase* gadgetRefs = child(third, "Refs");
    EXPECT_EQ(static_cast<const akDebugObject*>(gadgetRefs->begin_child()[0])->getValue(), addressOnly->getValue());
    EXPECT_FALSE(reader.hasReadFailed());
    nullRecord->ref();
    nullRecord->unref();
    addressOnly->ref();
    addressOnly->unref();
    object->unref();
}

TEST_F(StreamTest, IndexesFindObjectsByAddress)
{
    Registry registry;
    Thing a("A"), b("B");
    a.refs = {&b, &b};
    {
        Stream stream;
        stream.create(path);
        stream.writeObject(&a, false);
        stream.close();
    }
    Stream reader;
    reader.open(path);
    akDebugObject* root = reader.readObject("Root");
    root->ref();
    akDebugType* type = reader.getType(registry.thing);
    ASSERT_NE(type, nullptr);
    // The full record of B and its repeat's copy are both entered at B's address.
    EXPECT_EQ(type->size_address(), 2u);
    const akDebugObject* copy = static_cast<const akDebugObject*>(child(root, "Refs")->begin_child()[1]);
    akDebugObject* firstAtB = type->findObject(copy->getValue(), nullptr);
    ASSERT_NE(firstAtB, nullptr);
    akDebugObject* secondAtB = type->findObject(copy->getValue(), firstAtB);
    EXPECT_EQ(secondAtB, copy);
    EXPECT_EQ(type->findObject(copy->getValue(), secondAtB), nullptr);
    int walked = 0;
    for (akDebugObject* o = type->findObject(nullptr); o; o = type->findObject(o))
        ++walked;
    EXPECT_EQ(walked, 3);
    root->unref();
}

TEST_F(StreamTest, OptionsZeroWritesEveryReferenceInFull)
{
    Registry registry(0);
    Thing a("A"), b("B");
    a.refs = {&b, &b};
    {
        Stream stream;
        stream.create(path);
        stream.writeObject(&a, false);
        stream.close();
    }
    std::vector<uint8_t> bytes = readFile(path);
    // Root record header (12) + payload before refs (18 + 8 for the name "A" + 4 count), then the first ref.
    size_t ref1 = kBody + 12 + 18 + 8 + 4;
    EXPECT_EQ(word(bytes, ref1 + 4), 3u);
    size_t ref2 = ref1 + 12 + 18 + 8 + 4;
    EXPECT_EQ(word(bytes, ref2 + 4), 3u);
    Stream reader;
    reader.open(path);
    akDebugObject* root = reader.readObject("Root");
    root->ref();
    EXPECT_EQ(reader.getType(registry.thing)->size_address(), 0u);
    root->unref();
}

TEST_F(StreamTest, HeaderRefusals)
{
    Registry registry;
    std::vector<uint8_t> good = headerOf(path);

    auto refused = [&](std::vector<uint8_t> bytes, const char* message, unsigned int magic = 0xFAFAFAFA) {
        writeFile(path, bytes);
        testsupport::clear();
        Stream reader(magic);
        int result = reader.open(path);
        EXPECT_TRUE(message == nullptr || testsupport::printed(5, message)) << message;
        return result;
    };
    EXPECT_EQ(refused(good, nullptr), telu::SUCCESS);
    EXPECT_EQ(refused(good, "akDebug::readFileHeader - invalid magic number", 0xFBFBFBFB), telu::FAILURE);

    std::vector<uint8_t> minor = good;
    minor[20] ^= 1;
    EXPECT_EQ(refused(minor, "akDebug::readFileHeader - file has different version"), telu::FAILURE);
    std::vector<uint8_t> major = good;
    major[16] ^= 1;
    EXPECT_EQ(refused(major, "akDebug::readFileHeader - file has different version"), telu::FAILURE);
    std::vector<uint8_t> patch = good;
    patch[24] ^= 1;
    EXPECT_EQ(refused(patch, nullptr), telu::SUCCESS);

    for (size_t at : {size_t(41), size_t(53)}) {
        std::vector<uint8_t> unknown = good;
        unknown[at] = 'x';
        EXPECT_EQ(refused(unknown, "akDebug::readFileHeader - unable to resolve type definition"), telu::FAILURE);
    }
}

TEST_F(StreamTest, RecordsThatCannotBeResolved)
{
    Registry registry;
    std::vector<uint8_t> header = headerOf(path);
    auto readBody = [&](const Bytes& body) {
        std::vector<uint8_t> bytes = header;
        bytes.insert(bytes.end(), body.data.begin(), body.data.end());
        writeFile(path, bytes);
        testsupport::clear();
        Stream reader;
        reader.open(path);
        return reader.readObject("X");
    };
    EXPECT_EQ(readBody(Bytes().u32(1).u32(2).u32(0x1234)), nullptr);
    EXPECT_TRUE(testsupport::printed(6, "akDebug::readObject - unable to resolve debug object"));
    EXPECT_EQ(readBody(Bytes().u32(1).u32(4).u32(0x1234)), nullptr);
    EXPECT_TRUE(testsupport::printed(6, "akDebug::readObject - invalid object tag"));
    EXPECT_EQ(readBody(Bytes().u32(2).u32(3).u32(0x1234)), nullptr);
    EXPECT_TRUE(testsupport::printed(6, "akDebug::readObject - invalid type index"));
    EXPECT_EQ(readBody(Bytes().u32(0xFFFFFFFF).u32(3)), nullptr);
    EXPECT_TRUE(testsupport::printed(6, "akDebug::readObject - invalid type index"));
    // A count larger than the rest of the file fails the stream instead of looping.
    akDebugObject* object = readBody(Bytes().u32(1).u32(3).u32(0x10).thingPayload(0x7FFFFFFF));
    ASSERT_NE(object, nullptr);
    object->ref();
    EXPECT_TRUE(testsupport::printed(6, "akDebug::readCount - count exceeds the rest of the file"));
    object->unref();
}

TEST_F(StreamTest, AddressesAreUniqueWithinAFile)
{
    Registry registry;
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
    Registry registry;
    const int depth = akDebug::s_maxDepth + 5;
    std::vector<Thing> chain(depth);
    for (int i = 0; i + 1 < depth; ++i)
        chain[i].refs = {&chain[i + 1]};
    {
        Stream stream;
        stream.create(path);
        stream.writeObject(&chain[0], false);
        stream.close();
    }
    EXPECT_TRUE(testsupport::printed(6, "akDebug::writeObject - nesting too deep"));
    {
        Stream reader;
        reader.open(path);
        akDebugObject* root = reader.readObject("Root");
        ASSERT_NE(root, nullptr);
        root->ref();
        EXPECT_FALSE(reader.hasReadFailed());
        // Walk to the deepest record: address-only at the bound.
        const akDebugAttributeBase* node = root;
        int levels = 1;
        while (const akDebugAttributeBase* refs = child(node, "Refs")) {
            if (refs->empty_child())
                break;
            node = refs->begin_child()[0];
            ++levels;
        }
        EXPECT_EQ(levels, akDebug::s_maxDepth + 1);
        EXPECT_TRUE(node->empty_child());
        root->unref();
    }
    // A file nesting one record deeper than the bound is refused where it goes too deep.
    Bytes body;
    for (int i = 0; i <= akDebug::s_maxDepth; ++i)
        body.u32(1).u32(3).u32(0x100 + i).thingPayload(1);
    std::vector<uint8_t> bytes = headerOf(path);
    bytes.insert(bytes.end(), body.data.begin(), body.data.end());
    writeFile(path, bytes);
    testsupport::clear();
    Stream reader;
    reader.open(path);
    akDebugObject* root = reader.readObject("Root");
    ASSERT_NE(root, nullptr);
    root->ref();
    EXPECT_TRUE(testsupport::printed(6, "akDebug::readObject - nesting too deep"));
    EXPECT_TRUE(reader.hasReadFailed());
    root->unref();
}

TEST_F(StreamTest, RepeatsCannotBuildAnExponentialTree)
{
    Registry registry;
    // Record k holds two repeats of record k-1: 2^k attributes from a few hundred bytes.
    Bytes body;
    const int levels = 40;
    body.u32(1).u32(3).u32(0x1000).thingPayload(levels);
    body.u32(1).u32(3).u32(0x2000).thingPayload(0);
    for (int k = 1; k < levels; ++k) {
        body.u32(1).u32(3).u32(0x2000 + k).thingPayload(2);
        body.u32(1).u32(2).u32(0x2000 + k - 1);
        body.u32(1).u32(2).u32(0x2000 + k - 1);
    }
    std::vector<uint8_t> bytes = headerOf(path);
    bytes.insert(bytes.end(), body.data.begin(), body.data.end());
    writeFile(path, bytes);
    testsupport::clear();
    Stream reader;
    reader.open(path);
    akDebugObject* root = reader.readObject("Root");
    ASSERT_NE(root, nullptr);
    root->ref();
    EXPECT_TRUE(testsupport::printed(6, "akDebug::readObject - too many attributes"));
    root->unref();
}

// Every prefix and every one-byte corruption of a valid file reads without a crash, a hang or a
// leak (the sanitizer build checks the last two).
TEST_F(StreamTest, DamagedFilesNeverCrash)
{
    Registry registry;
    Thing root("Root"), shared("Shared"), other("Other");
    root.refs = {&shared, &other, &shared};
    other.refs = {&shared, nullptr};
    {
        Stream stream;
        stream.create(path);
        stream.writeObject(&root, false);
        stream.writeString("tail");
        stream.close();
    }
    const std::vector<uint8_t> good = readFile(path);
    auto readAll = [&](const std::vector<uint8_t>& bytes) {
        writeFile(path, bytes);
        Stream reader;
        if (reader.open(path) != telu::SUCCESS)
            return;
        akDebugObject* object = reader.readObject("Root");
        if (object) {
            object->ref();
            object->unref();
        }
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

}  // namespace
