// How the viewer reads a file: its progress on a terminal.
#include "schemasupport.h"
#include "viewsupport.h"

#include <akdebugscene.h>
#include <benchscene.h>
#include <reading.h>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

namespace {

class ReadingTest : public schemasupport::ModuleTest
{};

}  // namespace

namespace {

// What a reader writes to a terminal's other end (or a pipe's) while the file is read with its
// progress shown on `fd`, as soon as the read goes (no second's wait), reported every few records.
std::string progressShown(const std::string& file, int fd, int reading, bool records)
{
    akDebugScene scene;
    {
        view::ReadProgress progress(scene, file, records, fd, std::chrono::milliseconds(0),
                                    std::chrono::milliseconds(0));
        EXPECT_EQ(scene.read(file.c_str()), telu::SUCCESS);
    }
    fcntl(reading, F_SETFL, O_NONBLOCK);
    std::string shown;
    char buffer[65536];
    for (ssize_t n; (n = read(reading, buffer, sizeof buffer)) > 0;)
        shown.append(buffer, static_cast<size_t>(n));
    return shown;
}

}  // namespace

// Progress is shown on a terminal only, and taken away when the read ends; a draw file's records
// written to the same terminal while they are read are shown instead of it.
TEST_F(ReadingTest, ProgressIsShownOnATerminalOnly)
{
    const std::string big = testsupport::tempDir() + "/big.scene";
    const benchscene::Scene built(400);
    akDebugScene writer;
    ASSERT_EQ(writer.write(big.c_str(), built.getRoot(), false), telu::SUCCESS);
    ASSERT_GT(writer.getNumRecords(akDebug::OBJECT_FULL), 4 * akDebug::s_progressRecords);

    int terminal = -1, other = -1;
    ASSERT_EQ(openpty(&terminal, &other, nullptr, nullptr, nullptr), 0);
    const std::string shown = progressShown(big, other, terminal, false);
    EXPECT_EQ(shown.rfind("\rakdebug-view: reading \"" + big + "\": ", 0), 0u) << shown;
    EXPECT_NE(shown.find("% of "), std::string::npos) << shown;
    EXPECT_NE(shown.find(" object records\x1B[K\rakdebug-view: reading "), std::string::npos) << "rewritten in place";
    EXPECT_EQ(shown.substr(shown.size() - 4), "\r\x1B[K") << "taken away at the end";
    view::ReadProgress::setRecordsShownWhileRead(true);
    EXPECT_EQ(progressShown(big, other, terminal, true), "");
    view::ReadProgress::setRecordsShownWhileRead(false);
    close(terminal);
    close(other);

    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    EXPECT_EQ(progressShown(big, pipeEnds[1], pipeEnds[0], false), "");
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    // The viewer's own error output here is no terminal: nothing of a progress line in it.
    const viewsupport::ViewRun run = viewsupport::view("--summary " + big);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
}
