// The module as a host uses it from several threads: a draw thread draws frames of a channel with
// the recorder installed, the application's thread writes and reads snapshots of the scene the
// channel draws, and a third thread starts, pauses and stops the recorder. Clean under
// ThreadSanitizer (the tsan preset).
#include "schemasupport.h"

#include <akdebugdraw.h>
#include <akdebugscene.h>
#include <benchscene.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

namespace {

class ThreadTest : public schemasupport::ModuleTest
{};

TEST_F(ThreadTest, RecordingWhileSnapshotsAreWrittenAndRead)
{
    benchscene::Scene scene(40);
    benchscene::Drawing drawing(scene);
    kiChannel* channel = drawing.getChannel();
    const std::string dir = testsupport::tempDir();
    const std::string drawFile = dir + "/draw.akdebug";

    akDebugDraw recorder;
    ASSERT_EQ(recorder.write(drawFile.c_str(), channel, false), telu::SUCCESS);

    std::atomic<bool> drawing_{true};
    std::atomic<unsigned int> frames{0};
    std::thread draw([&] {
        while (drawing_) {
            channel->drawFrame();
            ++frames;
            std::this_thread::sleep_for(std::chrono::microseconds(500));  // the rest of a host's frame
        }
    });
    std::thread control([&] {
        for (int i = 0; i < 20; ++i) {
            recorder.start(0);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            recorder.pause();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        recorder.start(0);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        recorder.stop();
    });

    // The application's thread: snapshots of the scene the channel draws, written and read back.
    int snapshots = 0;
    for (int i = 0; i < 6; ++i) {
        const std::string file = dir + "/scene" + std::to_string(i) + ".akdebug";
        akDebugScene snapshot;
        ASSERT_EQ(snapshot.write(file.c_str(), scene.getRoot(), false), telu::SUCCESS);
        ASSERT_EQ(snapshot.read(file.c_str()), telu::SUCCESS);
        ASSERT_NE(snapshot.getRoot(), nullptr);
        ++snapshots;
    }
    control.join();
    // The stop takes effect at the next channel end, which closes the file.
    const unsigned int stopped = frames;
    while (frames < stopped + 2)
        std::this_thread::yield();
    drawing_ = false;
    draw.join();

    EXPECT_EQ(snapshots, 6);
    akDebugDraw reader;
    unsigned int records = 0;
    ASSERT_EQ(reader.read(drawFile.c_str(), [&](const akDebugDraw::Record&) { return ++records > 0; }), telu::SUCCESS);
    EXPECT_GT(records, 0u);
    EXPECT_EQ(testsupport::assertions(), 0);
}

}  // namespace
