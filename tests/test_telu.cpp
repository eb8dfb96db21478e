// The host utility library, where the module depends on it: buffered typed files, process start,
// the raw allocator and class type instance lists.
#include "testsupport.h"

#include <embase.h>
#include <telu.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<unsigned char>;

Bytes fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Typed writes and reads of several values in order; the number of bytes moved.
template <class... T>
size_t writeAll(emFile& file, T*... values)
{
    size_t n = 0;
    ((n += file.writeTyped(values)), ...);
    return n;
}
template <class... T>
size_t readAll(emFile& file, T*... values)
{
    size_t n = 0;
    ((n += file.readTyped(values)), ...);
    return n;
}

bool littleEndianHost() { return __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__; }

TEST(TeluFile, TypedElementsKeepHostOrderOrSwapOnRequest)
{
    if (!littleEndianHost())
        GTEST_SKIP() << "expected bytes are written for a little-endian host";
    const short s = 0x0102;
    const int i = 0x03040506;
    const unsigned int u = 0xA1B2C3D4u;
    const float f = 1.0f;  // 0x3F800000
    const double d = 2.0;  // 0x4000000000000000
    const std::string path = testsupport::tempDir() + "/typed.bin";
    int values[2] = {0x11223344, 0x55667788};
    {
        emFile file;
        ASSERT_EQ(file.open(path.c_str(), "wb"), telu::SUCCESS);
        for (bool swap : {false, true}) {
            file.setSwapOnWrite(swap);
            EXPECT_EQ(writeAll(file, &s, &i, &u, &f, &d), 22u);
        }
        EXPECT_EQ(file.writeTyped(values, 2), 8u);
        EXPECT_EQ(file.close(), telu::SUCCESS);
    }
    // Swapping on write reverses each element in the file and leaves the caller's values alone.
    EXPECT_EQ(values[0], 0x11223344);
    EXPECT_EQ(fileBytes(path), (Bytes{0x02, 0x01, 0x06, 0x05, 0x04, 0x03, 0xD4, 0xC3, 0xB2, 0xA1, 0x00,
                                      0x00, 0x80, 0x3F, 0,    0,    0,    0,    0,    0,    0x00, 0x40,  // host order
                                      0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0xA1, 0xB2, 0xC3, 0xD4, 0x3F,
                                      0x80, 0x00, 0x00, 0x40, 0,    0,    0,    0,    0,    0,    0x00,  // swapped
                                      0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88}));

    // Reading with swap-on-read restores the values; without it they come out reversed.
    emFile file;
    ASSERT_EQ(file.open(path.c_str(), "rb"), telu::SUCCESS);
    for (bool swap : {false, true}) {
        file.setSwapOnRead(swap);
        short s2 = 0;
        int i2 = 0;
        unsigned int u2 = 0;
        float f2 = 0;
        double d2 = 0;
        EXPECT_EQ(readAll(file, &s2, &i2, &u2, &f2, &d2), 22u);
        EXPECT_TRUE(s2 == s && i2 == i && u2 == u && f2 == f && d2 == d) << swap;
    }
    file.setSwapOnRead(false);
    int back[2] = {};
    EXPECT_EQ(file.readTyped(back, 2), 8u);
    EXPECT_EQ(back[0], 0x44332211);
    EXPECT_EQ(back[1], static_cast<int>(0x88776655u));
}

TEST(TeluFile, BoolTakesFourBytesAndAnyNonZeroWordIsTrue)
{
    const std::string path = testsupport::tempDir() + "/bool.bin";
    {
        emFile file;
        ASSERT_EQ(file.open(path.c_str(), "wb"), telu::SUCCESS);
        bool yes = true, no = false;
        EXPECT_EQ(writeAll(file, &yes, &no), 8u);
        file.setSwapOnWrite(true);
        EXPECT_EQ(file.writeTyped(&yes), 4u);
        EXPECT_EQ(file.close(), telu::SUCCESS);
    }
    if (littleEndianHost()) {
        EXPECT_EQ(fileBytes(path), (Bytes{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
    }

    writeBytes(path, {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x80, 7});
    emFile file;
    ASSERT_EQ(file.open(path.c_str(), "rb"), telu::SUCCESS);
    bool v[4] = {false, true, false, true};
    EXPECT_EQ(readAll(file, &v[0], &v[1], &v[2]), 12u);
    EXPECT_TRUE(v[0] && !v[1] && v[2]);
    EXPECT_EQ(file.readTyped(&v[3]), 1u);  // one byte left: a short read is false
    EXPECT_FALSE(v[3]);
}

// Values crossing the 64 KiB buffer many times, at odd offsets, with and without swapping, and an
// array larger than the buffer come back unchanged; tell() follows every byte.
TEST(TeluFile, ValuesCrossingTheBufferBoundaryRoundTrip)
{
    const std::string path = testsupport::tempDir() + "/mixed.bin";
    std::mt19937 random(17);
    std::vector<int> ints(30000);
    for (int& v : ints)
        v = static_cast<int>(random());
    const uint64_t size = 3 + 6000 * 14 + 120000;
    {
        emFile file;
        ASSERT_EQ(file.open(path.c_str(), "wb"), telu::SUCCESS);
        EXPECT_EQ(file.write("abc", 3), 3u);
        for (int round = 0; round < 6000; ++round) {
            file.setSwapOnWrite(round % 3 == 0);
            const double d = round * 0.5;
            const short s = static_cast<short>(round);
            bool b = round % 2 == 0;
            ASSERT_EQ(writeAll(file, &d, &s, &b), 14u);
        }
        file.setSwapOnWrite(true);
        EXPECT_EQ(file.writeTyped(ints.data(), 30000), 120000u);  // larger than the buffer
        EXPECT_EQ(file.tell(), size);
        EXPECT_EQ(file.close(), telu::SUCCESS);
    }
    ASSERT_EQ(fs::file_size(path), size);

    emFile file;
    ASSERT_EQ(file.open(path.c_str(), "rb"), telu::SUCCESS);
    unsigned char head[3];
    EXPECT_EQ(file.read(head, 3), 3u);
    for (int round = 0; round < 6000; ++round) {
        file.setSwapOnRead(round % 3 == 0);
        double d = -1;
        short s = -1;
        bool b = round % 2 != 0;
        ASSERT_EQ(readAll(file, &d, &s, &b), 14u);
        ASSERT_TRUE(d == round * 0.5 && s == static_cast<short>(round) && b == (round % 2 == 0)) << round;
    }
    EXPECT_EQ(file.tell(), 3u + 6000 * 14);
    file.setSwapOnRead(true);
    std::vector<int> intsBack(30000);
    EXPECT_EQ(file.readTyped(intsBack.data(), 30000), 120000u);
    EXPECT_EQ(intsBack, ints);
    EXPECT_EQ(file.remaining(), 0u);
}

// At the end of the file a read moves what is left: whole elements are swapped, the incomplete
// last element keeps its bytes unswapped, and the rest of the array is zero.
TEST(TeluFile, ShortReadMovesTheBytesLeft)
{
    const std::string path = testsupport::tempDir() + "/short.bin";
    writeBytes(path, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    emFile file;
    ASSERT_EQ(file.open(path.c_str(), "rb"), telu::SUCCESS);
    EXPECT_EQ(file.remaining(), 10u);
    file.setSwapOnRead(true);
    unsigned int values[3] = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
    EXPECT_EQ(file.readTyped(values, 3), 10u);
    Bytes bytes(12);
    std::memcpy(bytes.data(), values, 12);
    EXPECT_EQ(bytes, (Bytes{4, 3, 2, 1, 8, 7, 6, 5, 9, 10, 0, 0}));
    EXPECT_EQ(file.tell(), 10u);
    EXPECT_EQ(file.remaining(), 0u);
    double d = 3.0;
    EXPECT_EQ(file.readTyped(&d), 0u);
    EXPECT_EQ(d, 0.0);
}

TEST(TeluSpawn, StartsTheProgramWithItsArguments)
{
    const std::string dir = testsupport::tempDir();
    const std::string script = dir + "/tool.sh";
    const std::string output = dir + "/out.txt";
    std::ofstream(script) << "#!/bin/sh\nprintf '%s|%s' \"$1\" \"$#\" > \"$2.tmp\" && mv \"$2.tmp\" \"$2\"\n";
    ASSERT_EQ(chmod(script.c_str(), 0755), 0);

    EXPECT_EQ(telu::spawnProcess(script.c_str(), "hello world", output.c_str(), nullptr, "ignored", nullptr),
              telu::SUCCESS);
    EXPECT_EQ(testsupport::waitForLine(output), "hello world|2");
    EXPECT_EQ(telu::spawnProcess((dir + "/missing").c_str(), nullptr, nullptr, nullptr, nullptr, nullptr),
              telu::FAILURE);
    EXPECT_EQ(telu::spawnProcess(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), telu::FAILURE);
}

TEST(TeluAlloc, BlocksKnowTheirRequestedSize)
{
    const size_t before = emAllocRaw::getNumBlocks();
    void* a = emAllocRaw::mallocBlock(13, __FILE__, __LINE__);
    void* b = emAllocRaw::mallocBlock(0, __FILE__, __LINE__);
    void* c = emAllocRaw::mallocBlock(100000, __FILE__, __LINE__);
    ASSERT_TRUE(a && b && c);
    for (void* block : {a, b, c})
        EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 8, 0u);
    std::memset(a, 0xAB, 13);
    std::memset(c, 0xCD, 100000);
    EXPECT_EQ(emGetSizeRequested(a), 13u);
    EXPECT_EQ(emGetSizeRequested(b), 0u);
    EXPECT_EQ(emGetSizeRequested(c), 100000u);
    EXPECT_EQ(emGetSizeRequested(nullptr), 0u);
    EXPECT_EQ(emAllocRaw::getNumBlocks(), before + 3);
    emAllocRaw::freeBlock(a, __FILE__, __LINE__);
    emAllocRaw::freeBlock(nullptr, __FILE__, __LINE__);
    EXPECT_EQ(emAllocRaw::getNumBlocks(), before + 2);
    emAllocRaw::freeBlock(b, __FILE__, __LINE__);
    // A block freed on another thread than the one that took it leaves the count right.
    std::thread([c] { emAllocRaw::freeBlock(c, __FILE__, __LINE__); }).join();
    EXPECT_EQ(emAllocRaw::getNumBlocks(), before);

    // Every size knows itself exactly, whether or not it is one of the allocator's classes.
    std::vector<void*> blocks;
    for (size_t size = 1; size <= 2100; size += (size < 300 ? 1 : 97)) {
        void* block = emAllocRaw::mallocBlock(size, __FILE__, __LINE__);
        ASSERT_NE(block, nullptr);
        std::memset(block, 0x5A, size);
        blocks.push_back(block);
    }
    size_t size = 1;
    for (void* block : blocks) {
        EXPECT_EQ(emGetSizeRequested(block), size);
        size += size < 300 ? 1 : 97;
    }
    for (void* block : blocks)
        emAllocRaw::freeBlock(block, __FILE__, __LINE__);
    EXPECT_EQ(emAllocRaw::getNumBlocks(), before);
}

TEST(TeluClassType, InstanceLists)
{
    emBase::ClassType type("testNode", emBase::getStaticClassType(), nullptr, true, false);

    emBase a("a"), b("b"), twin("b");
    emBase::registerInstance(&a, &type);
    emBase::registerInstance(&b, &type);
    emBase::registerInstance(&twin, &type);
    emBase::registerInstance(nullptr, &type);
    EXPECT_EQ(type.size_instance(), 3u);
    EXPECT_EQ(type.findInstance("b", true), &b);
    EXPECT_EQ(type.findInstance("c", false), nullptr);
    emBase::unregisterInstance(&b, &type);
    EXPECT_EQ(type.findInstance("b", true), &twin);
    EXPECT_EQ(std::vector<emBase*>(type.begin_instance(), type.end_instance()), (std::vector<emBase*>{&a, &twin}));
    emBase::unregisterInstance(&b, &type);  // not registered any more: nothing happens
    emBase::unregisterInstance(&a, &type);
    emBase::unregisterInstance(&twin, &type);
    EXPECT_TRUE(type.empty_instance());
}

}  // namespace
