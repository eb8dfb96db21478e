// Inputs that once crashed, hung or leaked a reader or the viewer (kept in fuzz/regressions/scene,
// draw and view): each is read again, whole and record by record, its indexes searched, and each
// viewer finding shown by the viewer in every form. Every read ends in a reported failure or a
// tree, within the attribute limit.
#include "indexwalk.h"
#include "schemasupport.h"
#include "viewsupport.h"

#include <akdebugdraw.h>
#include <akdebugscene.h>

#include <filesystem>
#include <string>

namespace {

class RegressionTest : public schemasupport::ModuleTest
{};

const unsigned long long s_maxAttributes = 2000000;

// The inputs of one folder. A folder without any fails the test that reads it: the test would
// pass without reading anything.
std::vector<std::string> inputs(const char* kind)
{
    std::vector<std::string> files;
    const std::filesystem::path dir = std::filesystem::path(AKDEBUG_REGRESSIONS) / kind;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.is_regular_file() && entry.path().filename().string()[0] != '.')
            files.push_back(entry.path().string());
    EXPECT_FALSE(files.empty()) << dir << " holds no input";
    return files;
}

// A failed read says why.
void readScene(const std::string& file)
{
    testsupport::clear();
    akDebugScene scene;
    scene.setMaxAttributes(s_maxAttributes);
    if (scene.read(file.c_str()) != telu::SUCCESS) {
        EXPECT_FALSE(testsupport::messages().empty());
    }
    indexwalk::touchIndexedObjects(scene);
}

void readDraw(const std::string& file)
{
    testsupport::clear();
    akDebugDraw draw;
    draw.setMaxAttributes(s_maxAttributes);
    if (draw.read(file.c_str()) != telu::SUCCESS) {
        EXPECT_FALSE(testsupport::messages().empty());
    }
    indexwalk::touchIndexedObjects(draw);
    akDebugDraw byRecord;
    byRecord.setMaxAttributes(s_maxAttributes);
    byRecord.read(file.c_str(), [](const akDebugDraw::Record&) { return true; });
    indexwalk::touchIndexedObjects(byRecord);
}

TEST_F(RegressionTest, ReaderFindingsReadSafely)
{
    for (const std::string& file : inputs("scene")) {
        SCOPED_TRACE(file);
        readScene(file);
    }
    for (const std::string& file : inputs("draw")) {
        SCOPED_TRACE(file);
        readDraw(file);
    }
}

// The viewer ends each form with "shown" or "could not be read", and no sanitizer speaks.
TEST_F(RegressionTest, ViewerFindingsShowSafely)
{
    for (const std::string& file : inputs("view")) {
        SCOPED_TRACE(file);
        readScene(file);
        readDraw(file);
        for (const char* form : {"--advanced", "--summary", "--types", "--json", "--find a", "--address 1",
                                 "--record 1", "--html /dev/null"}) {
            SCOPED_TRACE(form);
            const viewsupport::ViewRun run =
                viewsupport::view(std::string(form) + " --max-attributes 2000000 \"" + file + "\"");
            EXPECT_TRUE(run.status == 0 || run.status == 1) << run.status;
            EXPECT_FALSE(run.has("Sanitizer") || run.has("runtime error")) << run.err;
        }
        const viewsupport::ViewRun diff = viewsupport::view("--diff \"" + file + "\" \"" + file + "\"");
        // 2: draw files are not compared.
        EXPECT_TRUE(diff.status >= 0 && diff.status <= 3) << diff.status;
        EXPECT_FALSE(diff.has("Sanitizer") || diff.has("runtime error")) << diff.err;
    }
}

}  // namespace
