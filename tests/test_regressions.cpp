// Inputs that once crashed, hung or leaked a reader (found by the fuzzers, kept in
// fuzz/regressions/scene and fuzz/regressions/draw): each is read again and must end in a
// reported failure or a tree, within the attribute limit.
#include "schemasupport.h"

#include <akdebugdraw.h>
#include <akdebugscene.h>

#include <filesystem>
#include <string>

namespace {

class RegressionTest : public schemasupport::ModuleTest
{
};

std::vector<std::string> inputs(const char* kind)
{
    std::vector<std::string> files;
    const std::filesystem::path dir = std::filesystem::path(AKDEBUG_REGRESSIONS) / kind;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.is_regular_file() && entry.path().filename().string()[0] != '.')
            files.push_back(entry.path().string());
    return files;
}

TEST_F(RegressionTest, FuzzerFindingsReadSafely)
{
    int read = 0;
    for (const std::string& file : inputs("scene")) {
        SCOPED_TRACE(file);
        testsupport::clear();
        akDebugScene scene;
        scene.setMaxAttributes(2000000);
        if (scene.read(file.c_str()) != telu::SUCCESS) {
            EXPECT_FALSE(testsupport::messages().empty());
        }
        ++read;
    }
    for (const std::string& file : inputs("draw")) {
        SCOPED_TRACE(file);
        testsupport::clear();
        akDebugDraw draw;
        draw.setMaxAttributes(2000000);
        if (draw.read(file.c_str()) != telu::SUCCESS) {
            EXPECT_FALSE(testsupport::messages().empty());
        }
        ++read;
    }
    RecordProperty("inputs", read);
}

}  // namespace
