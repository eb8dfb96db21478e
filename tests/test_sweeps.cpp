// Damaged files made from the sample world, which holds every type: every prefix, and one-byte
// corruptions (every bit of a sample of bytes, every byte of the header and type table, set to
// values that upset counts and tags), read as the module reads them. Each read ends in a reported
// failure or a partial tree, never a crash, a hang or a leak (the sanitizer build checks the last
// two). Under a sanitizer, whose allocations cost a hundred times more, the sweep keeps every cut
// and corruption of the header and type table and the first kilobytes of the body, and takes an
// even sample of the rest.
#include "schemasupport.h"

#include <akdebugdraw.h>
#include <akdebugscene.h>
#include <sampleworld.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr size_t s_stride = 23;      // cuts and corrupted bytes past the first kilobytes of the body
constexpr int s_sampledBytes = 40;   // body bytes whose every bit is flipped
#else
constexpr size_t s_stride = 1;
constexpr int s_sampledBytes = 400;
#endif
constexpr size_t s_everyByteOfBody = 2048;

using schemasupport::readFile;
using schemasupport::writeFile;

class SweepTest : public schemasupport::ModuleTest
{
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        const std::string dir = testsupport::tempDir();
        scene = dir + "/world.scene";
        draw = dir + "/world.draw";
        damaged = dir + "/damaged.bin";
        sampleworld::World world;
        akDebugScene writer;
        ASSERT_EQ(writer.write(scene.c_str(), world.getRoot(), false), telu::SUCCESS);
        akDebugDraw recorder;
        ASSERT_EQ(recorder.write(draw.c_str(), world.getChannel(), false), telu::SUCCESS);
        recorder.start(1);
        world.getChannel()->drawFrame();
    }
    // Reads the bytes as the file kind of `original`; true when the read succeeded.
    bool readAs(const std::string& original, const std::vector<uint8_t>& bytes)
    {
        testsupport::clear();  // thousands of damaged files report
        writeFile(damaged, bytes);
        if (original == scene) {
            akDebugScene reader;
            return reader.read(damaged.c_str()) == telu::SUCCESS;
        }
        akDebugDraw reader;
        return reader.read(damaged.c_str()) == telu::SUCCESS;
    }

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

TEST_F(SweepTest, EveryPrefixEndsInAFailureOrAPartialTree)
{
    for (const std::string& file : {scene, draw}) {
        SCOPED_TRACE(file);
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
}

TEST_F(SweepTest, CorruptBytesEndInAFailureOrAPartialTree)
{
    std::mt19937 random(20261206);
    for (const std::string& file : {scene, draw}) {
        SCOPED_TRACE(file);
        const std::vector<uint8_t> good = readFile(file);
        const size_t table = typeTableEnd(good);
        ASSERT_LT(table, good.size());
        // Every byte of the header and type table, set to values that upset counts, lengths and
        // tags.
        for (size_t at = 0; at < table; ++at)
            for (uint8_t value : {uint8_t(0x00), uint8_t(0xFF), uint8_t(0x7F), uint8_t(good[at] ^ 0x80)}) {
                std::vector<uint8_t> bad = good;
                bad[at] = value;
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
}

}  // namespace
