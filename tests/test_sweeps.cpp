// Damaged files made from the sample world, which holds every type: every prefix, and one-byte
// corruptions (every bit of a sample of bytes, every byte of the header and type table, set to
// values that upset counts and tags), read as the module reads them. Each read ends in a reported
// failure or a partial tree whose indexes hold only live objects, never a crash, a hang or a leak
// (the sanitizer build checks the last two). Under a sanitizer, whose allocations cost a hundred
// times more, the sweep keeps every cut and corruption of the header and type table and the first
// kilobytes of the body, and takes an even sample of the rest.
#include "indexwalk.h"
#include "schemasupport.h"
#include "worldfiles.h"

#include <akdebugdraw.h>
#include <akdebugscene.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr size_t s_stride = 41;     // cuts past the first kilobyte of the body
constexpr int s_sampledBytes = 40;  // body bytes whose every bit is flipped
constexpr int s_tableValues = 1;    // corrupt values tried at each byte of the header and type table
#else
constexpr size_t s_stride = 1;
constexpr int s_sampledBytes = 400;
constexpr int s_tableValues = 4;
#endif
constexpr size_t s_everyByteOfBody = 1024;

using schemasupport::readFile;
using schemasupport::writeFile;

class SweepTest : public schemasupport::ModuleTest
{
protected:
    void TearDown() override
    {
        std::remove(damaged.c_str());
        ModuleTest::TearDown();
    }
    void SetUp() override
    {
        ModuleTest::SetUp();
        const std::string dir = testsupport::tempDir();
        scene = dir + "/world.scene";
        draw = dir + "/world.draw";
        // Thousands of damaged files are written and read: in memory when the system has a place.
        damaged = (access("/dev/shm", W_OK) == 0 ? std::string("/dev/shm") : dir) + "/akdebug-sweep-" +
            std::to_string(getpid()) + ".bin";
        ASSERT_NO_FATAL_FAILURE(worldfiles::write(scene, draw, 1));
    }
    // Reads the bytes as the file kind of `original`; true when the read succeeded. A read that
    // fails reports why.
    bool readAs(const std::string& original, const std::vector<uint8_t>& bytes)
    {
        testsupport::clear();  // thousands of damaged files report
        writeFile(damaged, bytes);
        bool read = false;
        // What is left in the indexes after the read is searched, as a viewer would.
        if (original == scene) {
            akDebugScene reader;
            read = reader.read(damaged.c_str()) == telu::SUCCESS;
            indexwalk::touchIndexedObjects(reader);
        } else {
            akDebugDraw reader;
            read = reader.read(damaged.c_str(), [](const akDebugDraw::Record&) { return true; }) == telu::SUCCESS;
            indexwalk::touchIndexedObjects(reader);
        }
        if (!read) {
            bool reported = false;
            for (const testsupport::Message& message : testsupport::messages())
                reported = reported || message.level >= 5;
            EXPECT_TRUE(reported) << "a read of " << bytes.size() << " bytes failed without a report";
        }
        return read;
    }

    void sweepPrefixes(const std::string& file);
    void sweepCorruptions(const std::string& file);

    // End of the type table: the header's five words and count, then one string record per type.
    static size_t typeTableEnd(const std::vector<uint8_t>& bytes)
    {
        size_t at = 6 * 4;
        const uint32_t count = schemasupport::word(bytes, 5 * 4);
        for (uint32_t i = 0; i < count && at + 4 <= bytes.size(); ++i)
            at += 4 + schemasupport::word(bytes, at);
        return at;
    }

    std::string scene, draw, damaged;
};

void SweepTest::sweepPrefixes(const std::string& file)
{
    const std::vector<uint8_t> good = readFile(file);
    ASSERT_TRUE(readAs(file, good));
    const size_t dense = typeTableEnd(good) + s_everyByteOfBody;
    int succeeded = 0;
    for (size_t cut = 0; cut < good.size(); cut += cut < dense ? 1 : s_stride)
        succeeded += readAs(file, std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(cut)));
    // A draw file cut between records reads the complete records; a scene file never reads
    // whole when cut.
    if (file == scene) {
        EXPECT_EQ(succeeded, 0);
    }
}

void SweepTest::sweepCorruptions(const std::string& file)
{
    std::mt19937 random(20261206);
    const std::vector<uint8_t> good = readFile(file);
    const size_t table = typeTableEnd(good);
    ASSERT_LT(table, good.size());
    // Every byte of the header and type table, set to values that upset counts, lengths and tags.
    for (size_t at = 0; at < table; ++at)
        for (int i = 0; i < s_tableValues; ++i) {
            const uint8_t values[] = {uint8_t(good[at] ^ 0xFF), 0x00, 0x7F, uint8_t(good[at] ^ 0x80)};
            std::vector<uint8_t> bad = good;
            bad[at] = values[i];
            readAs(file, bad);
        }
    // Every bit of a sample of the bytes after it.
    std::uniform_int_distribution<size_t> pick(table, good.size() - 1);
    for (int sample = 0; sample < s_sampledBytes; ++sample) {
        const size_t at = pick(random);
        for (int bit = 0; bit < 8; ++bit) {
            std::vector<uint8_t> bad = good;
            bad[at] ^= static_cast<uint8_t>(1u << bit);
            readAs(file, bad);
        }
    }
}

TEST_F(SweepTest, EveryPrefixOfASceneFileEndsInAFailure) { sweepPrefixes(scene); }
TEST_F(SweepTest, EveryPrefixOfADrawFileEndsInAFailureOrItsCompleteRecords) { sweepPrefixes(draw); }
TEST_F(SweepTest, CorruptBytesOfASceneFileEndInAFailureOrAPartialTree) { sweepCorruptions(scene); }
TEST_F(SweepTest, CorruptBytesOfADrawFileEndInAFailureOrPartialRecords) { sweepCorruptions(draw); }

}  // namespace
