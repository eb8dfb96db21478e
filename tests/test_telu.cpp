// The host utility library: buffered typed files, strings, search paths, the tool directory,
// process start, the raw allocator, class types and notification.
#include "testsupport.h"

#include <embase.h>
#include <telu.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

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
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// One value of each element kind: 2, 4, 4, 4, 8 bytes.
void writeSample(emFile& file)
{
    const short s = 0x0102;
    const int i = 0x03040506;
    const unsigned int u = 0xA1B2C3D4u;
    const float f = 1.0f;  // 0x3F800000
    const double d = 2.0;  // 0x4000000000000000
    EXPECT_EQ(file.writeTyped(&s), 2u);
    EXPECT_EQ(file.writeTyped(&i), 4u);
    EXPECT_EQ(file.writeTyped(&u), 4u);
    EXPECT_EQ(file.writeTyped(&f), 4u);
    EXPECT_EQ(file.writeTyped(&d), 8u);
}

const Bytes kSampleLittle = {0x02, 0x01, 0x06, 0x05, 0x04, 0x03, 0xD4, 0xC3, 0xB2, 0xA1, 0x00,
                             0x00, 0x80, 0x3F, 0, 0, 0, 0, 0, 0, 0x00, 0x40};
const Bytes kSampleBig = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0xA1, 0xB2, 0xC3, 0xD4, 0x3F,
                          0x80, 0x00, 0x00, 0x40, 0, 0, 0, 0, 0, 0, 0x00};

bool littleEndianHost() { return __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__; }

}  // namespace

TEST(TeluFile, TypedElementsKeepHostOrderOrSwapOnRequest)
{
    if (!littleEndianHost())
        GTEST_SKIP() << "expected bytes are written for a little-endian host";
    const std::string plain = testsupport::tempDir() + "/plain.bin";
    const std::string swapped = testsupport::tempDir() + "/swapped.bin";
    {
        emFile file;
        ASSERT_EQ(file.open(plain.c_str(), "wb"), telu::SUCCESS);
        writeSample(file);
        EXPECT_EQ(file.close(), telu::SUCCESS);
    }
    EXPECT_EQ(fileBytes(plain), kSampleLittle);

    // Swapping on write reverses each element in the file and leaves the caller's values alone.
    int values[2] = {0x11223344, 0x55667788};
    {
        emFile file;
        ASSERT_EQ(file.open(swapped.c_str(), "wb"), telu::SUCCESS);
        file.setSwapOnWrite(true);
        writeSample(file);
        EXPECT_EQ(file.writeTyped(values, 2), 8u);
        EXPECT_EQ(file.close(), telu::SUCCESS);
    }
    EXPECT_EQ(values[0], 0x11223344);
    EXPECT_EQ(values[1], 0x55667788);
    Bytes expected = kSampleBig;
    expected.insert(expected.end(), {0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88});
    EXPECT_EQ(fileBytes(swapped), expected);

    // Reading back with swap-on-read restores the values; without it they come out reversed.
    emFile file;
    ASSERT_EQ(file.open(swapped.c_str(), "rb"), telu::SUCCESS);
    file.setSwapOnRead(true);
    short s = 0;
    int i = 0;
    unsigned int u = 0;
    float f = 0;
    double d = 0;
    EXPECT_EQ(file.readTyped(&s), 2u);
    EXPECT_EQ(file.readTyped(&i), 4u);
    EXPECT_EQ(file.readTyped(&u), 4u);
    EXPECT_EQ(file.readTyped(&f), 4u);
    EXPECT_EQ(file.readTyped(&d), 8u);
    EXPECT_EQ(s, 0x0102);
    EXPECT_EQ(i, 0x03040506);
    EXPECT_EQ(u, 0xA1B2C3D4u);
    EXPECT_EQ(f, 1.0f);
    EXPECT_EQ(d, 2.0);
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
        bool yes = true;
        bool no = false;
        EXPECT_EQ(file.writeTyped(&yes), 4u);
        EXPECT_EQ(file.writeTyped(&no), 4u);
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
    bool value = false;
    EXPECT_EQ(file.readTyped(&value), 4u);
    EXPECT_TRUE(value);
    EXPECT_EQ(file.readTyped(&value), 4u);
    EXPECT_FALSE(value);
    EXPECT_EQ(file.readTyped(&value), 4u);
    EXPECT_TRUE(value);
    value = true;
    EXPECT_EQ(file.readTyped(&value), 1u);  // one byte left: a short read is false
    EXPECT_FALSE(value);
}

// Mixed values and raw blocks crossing the 64 KiB buffer many times, at odd offsets, with and
// without swapping, come back unchanged; tell() follows every byte on both sides.
TEST(TeluFile, ValuesCrossingTheBufferBoundaryRoundTrip)
{
    const std::string path = testsupport::tempDir() + "/mixed.bin";
    std::mt19937 random(17);
    Bytes block(150000);
    for (unsigned char& b : block)
        b = static_cast<unsigned char>(random());
    std::vector<int> ints(30000);
    for (int& v : ints)
        v = static_cast<int>(random());

    uint64_t expectedSize = 0;
    {
        emFile file;
        ASSERT_EQ(file.open(path.c_str(), "wb"), telu::SUCCESS);
        EXPECT_EQ(file.write(block.data(), 3), 3u);
        for (int round = 0; round < 6000; ++round) {
            file.setSwapOnWrite(round % 3 == 0);
            const double d = round * 0.5;
            const short s = static_cast<short>(round);
            bool b = round % 2 == 0;
            ASSERT_EQ(file.writeTyped(&d), 8u);
            ASSERT_EQ(file.writeTyped(&s), 2u);
            ASSERT_EQ(file.writeTyped(&b), 4u);
            ASSERT_EQ(file.writeTyped(&ints[round], 3), 12u);
        }
        file.setSwapOnWrite(true);
        EXPECT_EQ(file.writeTyped(ints.data(), 30000), 120000u);  // larger than the buffer
        EXPECT_EQ(file.write(block.data(), 150000), 150000u);
        EXPECT_EQ(file.write(block.data(), 70000), 70000u);
        expectedSize = 3 + 6000 * 26 + 120000 + 150000 + 70000;
        EXPECT_EQ(file.tell(), expectedSize);
        EXPECT_EQ(file.remaining(), 0u);
        EXPECT_EQ(file.close(), telu::SUCCESS);
    }
    ASSERT_EQ(fs::file_size(path), expectedSize);

    emFile file;
    ASSERT_EQ(file.open(path.c_str(), "rb"), telu::SUCCESS);
    EXPECT_EQ(file.getSize(), expectedSize);
    unsigned char head[3];
    EXPECT_EQ(file.read(head, 3), 3u);
    for (int round = 0; round < 6000; ++round) {
        file.setSwapOnRead(round % 3 == 0);
        double d = -1;
        short s = -1;
        bool b = round % 2 != 0;
        int three[3] = {};
        ASSERT_EQ(file.readTyped(&d), 8u);
        ASSERT_EQ(file.readTyped(&s), 2u);
        ASSERT_EQ(file.readTyped(&b), 4u);
        ASSERT_EQ(file.readTyped(three, 3), 12u);
        ASSERT_EQ(d, round * 0.5) << round;
        ASSERT_EQ(s, static_cast<short>(round)) << round;
        ASSERT_EQ(b, round % 2 == 0) << round;
        ASSERT_EQ(0, std::memcmp(three, &ints[round], sizeof three)) << round;
    }
    EXPECT_EQ(file.tell(), 3u + 6000 * 26);
    EXPECT_EQ(file.remaining(), expectedSize - file.tell());
    file.setSwapOnRead(true);
    std::vector<int> intsBack(30000);
    EXPECT_EQ(file.readTyped(intsBack.data(), 30000), 120000u);
    EXPECT_EQ(intsBack, ints);
    Bytes blockBack(150000);
    EXPECT_EQ(file.read(blockBack.data(), 150000), 150000u);
    EXPECT_EQ(blockBack, block);
    Bytes tail(70000);
    EXPECT_EQ(file.read(tail.data(), 70000), 70000u);
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), block.begin()));
    EXPECT_EQ(file.remaining(), 0u);
    EXPECT_EQ(file.read(tail.data(), 1), 0u);
}

// At the end of the file a read moves what is left: whole elements are swapped, the incomplete
// last element keeps its bytes unswapped, and the rest of the array is zero.
TEST(TeluFile, ShortReadMovesTheBytesLeft)
{
    const std::string path = testsupport::tempDir() + "/short.bin";
    writeBytes(path, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    emFile file;
    ASSERT_EQ(file.open(path.c_str(), "rb"), telu::SUCCESS);
    EXPECT_EQ(file.getSize(), 10u);
    EXPECT_EQ(file.remaining(), 10u);
    file.setSwapOnRead(true);
    unsigned int values[3] = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
    EXPECT_EQ(file.readTyped(values, 3), 10u);
    unsigned char bytes[12];
    std::memcpy(bytes, values, sizeof bytes);
    EXPECT_EQ(Bytes(bytes, bytes + 12), (Bytes{4, 3, 2, 1, 8, 7, 6, 5, 9, 10, 0, 0}));
    EXPECT_EQ(file.tell(), 10u);
    EXPECT_EQ(file.remaining(), 0u);
    double d = 3.0;
    EXPECT_EQ(file.readTyped(&d), 0u);
    EXPECT_EQ(d, 0.0);

    // Plain reads report the byte count too; a count reads that many elements of `size` bytes.
    emFile again;
    ASSERT_EQ(again.open(path.c_str(), "rb"), telu::SUCCESS);
    unsigned char raw[16] = {};
    EXPECT_EQ(again.read(raw, 4, 2), 8u);
    EXPECT_EQ(again.remaining(), 2u);
    EXPECT_EQ(again.read(raw, 16), 2u);
    EXPECT_EQ(raw[0], 9);
}

TEST(TeluFile, OpenCloseAndMisuseFail)
{
    const std::string dir = testsupport::tempDir();
    const std::string path = dir + "/file.bin";
    emFile file;
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(file.close(), telu::FAILURE);
    EXPECT_EQ(file.open((dir + "/missing.bin").c_str(), "rb"), telu::FAILURE);
    EXPECT_EQ(file.open(dir.c_str(), "rb"), telu::FAILURE);
    EXPECT_EQ(file.open(path.c_str(), "r+b"), telu::FAILURE);
    ASSERT_EQ(file.open(path.c_str(), "wb"), telu::SUCCESS);
    EXPECT_EQ(file.open(path.c_str(), "wb"), telu::FAILURE);
    unsigned char byte = 0;
    EXPECT_EQ(file.read(&byte, 1), 0u);
    EXPECT_EQ(file.write("abc", 3), 3u);
    EXPECT_EQ(file.tell(), 3u);
    EXPECT_EQ(file.close(), telu::SUCCESS);
    EXPECT_EQ(file.close(), telu::FAILURE);

    ASSERT_EQ(file.open(path.c_str(), "ab"), telu::SUCCESS);
    EXPECT_EQ(file.tell(), 3u);
    EXPECT_EQ(file.write("de", 2), 2u);
    EXPECT_EQ(file.close(), telu::SUCCESS);
    EXPECT_EQ(fileBytes(path), (Bytes{'a', 'b', 'c', 'd', 'e'}));

    // The destructor flushes what is still buffered.
    {
        emFile scoped;
        ASSERT_EQ(scoped.open(path.c_str(), "wb"), telu::SUCCESS);
        const int value = 7;
        scoped.writeTyped(&value);
        EXPECT_EQ(fs::file_size(path), 0u);  // still in the buffer, no system call yet
    }
    EXPECT_EQ(fs::file_size(path), 4u);
}

TEST(TeluFile, WriteErrorsAreReported)
{
    if (access("/dev/full", W_OK) != 0)
        GTEST_SKIP() << "no /dev/full";
    emFile file;
    ASSERT_EQ(file.open("/dev/full", "wb"), telu::SUCCESS);
    EXPECT_EQ(file.write("abcd", 4), 4u);  // buffered
    EXPECT_EQ(file.close(), telu::FAILURE);

    ASSERT_EQ(file.open("/dev/full", "wb"), telu::SUCCESS);
    Bytes big(100000, 1);
    EXPECT_LT(file.write(big.data(), 100000), 100000u);
    EXPECT_EQ(file.write("x", 1), 0u);
    EXPECT_EQ(file.flush(), telu::FAILURE);
    EXPECT_EQ(file.close(), telu::FAILURE);
}

TEST(TeluString, ReplaceEveryOccurrenceAndLower)
{
    emString text("a.b.c");
    text.replace(".", "::");
    EXPECT_STREQ(text.c_str(), "a::b::c");
    text.replace("::", nullptr);
    EXPECT_STREQ(text.c_str(), "abc");
    emString grow("aaa");
    grow.replace("a", "aa");  // replacements are not searched again
    EXPECT_STREQ(grow.c_str(), "aaaaaa");
    grow.replace("", "x");
    grow.replace(nullptr, "x");
    EXPECT_STREQ(grow.c_str(), "aaaaaa");
    emString overlap("aaaa");
    overlap.replace("aa", "b");
    EXPECT_STREQ(overlap.c_str(), "bb");

    emString name("Node_ONE \xC4x");
    name.toLower();
    EXPECT_STREQ(name.c_str(), "node_one \xC4x");
}

TEST(TeluSearchPath, FindsTheFirstDirectoryHoldingAFile)
{
    const std::string first = testsupport::tempDir();
    const std::string second = testsupport::tempDir();
    writeBytes(second + "/tool", {1});
    fs::create_directory(first + "/tool");  // a directory of that name does not count
    writeBytes(first + "/both", {1});
    writeBytes(second + "/both", {1});

    emSearchPath path;
    path.set(("::" + first + ":" + second + "/").c_str());
    char buffer[1024];
    EXPECT_EQ(path.findFile("tool", buffer, sizeof buffer), buffer);
    EXPECT_EQ(std::string(buffer), second + "/tool");
    ASSERT_NE(path.findFile("both", buffer, sizeof buffer), nullptr);
    EXPECT_EQ(std::string(buffer), first + "/both");
    EXPECT_EQ(path.findFile("none", buffer, sizeof buffer), nullptr);
    const unsigned int exact = static_cast<unsigned int>(first.size() + 6);
    EXPECT_EQ(path.findFile("both", buffer, exact), buffer);
    EXPECT_EQ(path.findFile("both", buffer, exact - 1), nullptr);
}

TEST(TeluSearchPath, BinDirComesFromTheEnvironmentOrTheProgram)
{
    const char* saved = std::getenv("TELU_BIN_DIR");
    const std::string previous = saved ? saved : "";
    emString directory;
    setenv("TELU_BIN_DIR", "/some/tools", 1);
    EXPECT_STREQ(emCDO::getBinDir(directory, 6), "/some/tools");
    EXPECT_STREQ(directory.c_str(), "/some/tools");
    setenv("TELU_BIN_DIR", "", 1);
    const std::string program = fs::read_symlink("/proc/self/exe").parent_path().string();
    EXPECT_EQ(std::string(emCDO::getBinDir(directory, 6)), program);
    unsetenv("TELU_BIN_DIR");
    EXPECT_EQ(std::string(emCDO::getBinDir(directory, 6)), program);
    if (saved)
        setenv("TELU_BIN_DIR", previous.c_str(), 1);
}

namespace {

int zombieChildren()
{
    int count = 0;
    DIR* proc = opendir("/proc");
    if (!proc)
        return 0;
    const std::string self = std::to_string(getpid());
    while (dirent* entry = readdir(proc)) {
        if (entry->d_name[0] < '0' || entry->d_name[0] > '9')
            continue;
        std::ifstream stat(std::string("/proc/") + entry->d_name + "/stat");
        std::string line;
        std::getline(stat, line);
        size_t close = line.rfind(')');
        if (close == std::string::npos)
            continue;
        char state = 0;
        std::string parent;
        std::istringstream(line.substr(close + 1)) >> state >> parent;
        if (parent == self && state == 'Z')
            ++count;
    }
    closedir(proc);
    return count;
}

template <class Condition>
bool waitFor(Condition condition)
{
    for (int i = 0; i < 1000; ++i) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

}  // namespace

TEST(TeluSpawn, StartsTheProgramWithItsArgumentsAndReapsIt)
{
    const std::string dir = testsupport::tempDir();
    const std::string script = dir + "/tool.sh";
    const std::string output = dir + "/out.txt";
    {
        std::ofstream out(script);
        out << "#!/bin/sh\nprintf '%s|%s' \"$1\" \"$#\" > \"$2.tmp\" && mv \"$2.tmp\" \"$2\"\n";
    }
    ASSERT_EQ(chmod(script.c_str(), 0755), 0);

    EXPECT_EQ(telu::spawnProcess(script.c_str(), "hello world", output.c_str(), nullptr, "ignored",
                                 nullptr),
              telu::SUCCESS);
    ASSERT_TRUE(waitFor([&] { return fs::exists(output); })) << "the program did not run";
    EXPECT_EQ(fileBytes(output), (Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '|', '2'}));
    EXPECT_TRUE(waitFor([] { return zombieChildren() == 0; })) << "the finished program was not reaped";

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
        EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % 16, 0u);
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
    emAllocRaw::freeBlock(c, __FILE__, __LINE__);
    EXPECT_EQ(emAllocRaw::getNumBlocks(), before);
}

TEST(TeluClassType, BasesAndInstanceLists)
{
    EXPECT_STREQ(emBase::getStaticClassType()->getName(), "emBase");
    EXPECT_EQ(emBase::getStaticClassType()->getBase(), emMemBase::getStaticClassType());
    EXPECT_EQ(emMemBase::getStaticClassType()->getBase(), nullptr);
    emBase::ClassType type("testNode", emBase::getStaticClassType(), nullptr, true, false);
    EXPECT_TRUE(type.isOfClassType(&type));
    EXPECT_TRUE(type.isOfClassType(emMemBase::getStaticClassType()));
    EXPECT_FALSE(type.isOfClassType(emPalette::getStaticClassType()));
    EXPECT_FALSE(emMemBase::getStaticClassType()->isOfClassType(emBase::getStaticClassType()));
    EXPECT_FALSE(type.isOfClassType(nullptr));

    emBase a("a"), b("b"), twin("b");
    emBase::registerInstance(&a, &type);
    emBase::registerInstance(&b, &type);
    emBase::registerInstance(&twin, &type);
    emBase::registerInstance(nullptr, &type);
    emBase::registerInstance(&a, nullptr);
    EXPECT_EQ(type.size_instance(), 3u);
    EXPECT_EQ(type.findInstance("b", true), &b);
    EXPECT_EQ(type.findInstance("c", false), nullptr);
    EXPECT_EQ(type.findInstance(nullptr, true), nullptr);
    emBase::unregisterInstance(&b, &type);
    EXPECT_EQ(type.findInstance("b", true), &twin);
    EXPECT_EQ(std::vector<emBase*>(type.begin_instance(), type.end_instance()),
              (std::vector<emBase*>{&a, &twin}));
    emBase::unregisterInstance(&b, &type);  // not registered any more: nothing happens
    emBase::unregisterInstance(&a, &type);
    emBase::unregisterInstance(&twin, &type);
    EXPECT_TRUE(type.empty_instance());

    // Registrations from several threads at once all arrive.
    std::vector<emBase> objects(4000);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = t; i < 4000; i += 4)
                emBase::registerInstance(&objects[i], &type);
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(type.size_instance(), 4000u);
}

TEST(TeluClassType, CopyKeepsTheNameButNotTheUserData)
{
    emBase original("original");
    EXPECT_EQ(original.getUserDataList(false), nullptr);
    emUserDataList* list = original.getUserDataList(true);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(original.getUserDataList(true), list);
    original.ref();
    emBase copy(original);
    EXPECT_STREQ(copy.getName(), "original");
    EXPECT_EQ(copy.getUserDataList(false), nullptr);
    EXPECT_EQ(copy.getRef(), 0);
    EXPECT_EQ(copy.getClassType(), emBase::getStaticClassType());
}

TEST(TeluSession, SessionsNest)
{
    EXPECT_FALSE(telu::inInitializeClassSession());
    EXPECT_EQ(telu::initializeClassSessionBegin("outer"), telu::SUCCESS);
    EXPECT_EQ(telu::initializeClassSessionBegin("inner"), telu::SUCCESS);
    EXPECT_EQ(telu::initializeClassSessionEnd(), telu::SUCCESS);
    EXPECT_TRUE(telu::inInitializeClassSession());
    EXPECT_EQ(telu::initializeClassSessionEnd(), telu::SUCCESS);
    EXPECT_FALSE(telu::inInitializeClassSession());
    EXPECT_EQ(telu::initializeClassSessionEnd(), telu::FAILURE);  // nothing to end
    EXPECT_FALSE(telu::inInitializeClassSession());
}

TEST(TeluNotify, HandlerSeesLevelAndFormattedText)
{
    testsupport::clear();
    emNotify::print(5, nullptr, "value %d of %s", 3, "abc");
    EXPECT_TRUE(testsupport::printed(5, "value 3 of abc"));
    const std::string longText(5000, 'x');
    emNotify::print(2, nullptr, "%s!", longText.c_str());
    EXPECT_TRUE(testsupport::printed(2, longText + "!"));

    std::vector<std::pair<int, std::string>> seen;
    emNotify::Handler previous =
        emNotify::setHandler([&](int level, const char* text) { seen.emplace_back(level, text); });
    emNotify::print(6, emBase::getStaticClassType(), "mine");
    EXPECT_EQ(seen, (std::vector<std::pair<int, std::string>>{{6, "mine"}}));

    // No handler: the message goes to stderr.
    emNotify::setHandler(nullptr);
    testing::internal::CaptureStderr();
    emNotify::print(4, nullptr, "to stderr %d", 9);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("to stderr 9"), std::string::npos);
    EXPECT_NE(err.find('4'), std::string::npos);
    EXPECT_FALSE(emNotify::setHandler(previous));
    EXPECT_EQ(seen.size(), 1u);
}

TEST(TeluAssert, HandlerObservesOrDefaultAborts)
{
    testsupport::clear();
    telu::assertFailed("x > 0", "host/file", 12);
    EXPECT_EQ(testsupport::assertions(), 1);

    EXPECT_DEATH(
        {
            emNotify::setHandler(nullptr);
            telu::setAssertHandler(nullptr);
            telu::assertFailed("x > 0", "host/file", 12);
        },
        "assertion failed: x > 0, file host/file, line 12");
}
