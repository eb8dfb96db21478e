#include "testsupport.h"

#include <telu.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace testsupport {
namespace {

// Messages may come from several threads at once.
std::mutex g_lock;
std::vector<Message> g_messages;
std::atomic<int> g_assertions{0};
std::string g_tempRoot;

class Environment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        emNotify::setHandler([](int level, const char* text) {
            std::lock_guard<std::mutex> hold(g_lock);
            g_messages.push_back({level, text});
        });
        telu::setAssertHandler([](const char*, const char*, int) { ++g_assertions; });
    }
    void TearDown() override
    {
        emNotify::setHandler(nullptr);
        telu::setAssertHandler(nullptr);
        if (!g_tempRoot.empty())
            std::filesystem::remove_all(g_tempRoot);
    }
};

}  // namespace

const std::vector<Message>& messages() { return g_messages; }

void clear()
{
    std::lock_guard<std::mutex> hold(g_lock);
    g_messages.clear();
    g_assertions = 0;
}

bool printed(int level, const std::string& text)
{
    for (const Message& m : g_messages)
        if (m.level == level && m.text == text)
            return true;
    return false;
}

int assertions() { return g_assertions; }

std::string tempDir()
{
    if (g_tempRoot.empty()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "akdebug-test-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        g_tempRoot = pattern;
    }
    static int counter = 0;
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "global";
    std::filesystem::path dir = std::filesystem::path(g_tempRoot) / (name + "-" + std::to_string(++counter));
    std::filesystem::create_directories(dir);
    return dir.string();
}

std::string waitForLine(const std::string& path)
{
    for (int i = 0; i < 500; ++i) {
        std::ifstream in(path);
        std::string line;
        if (std::getline(in, line) && !line.empty())
            return line;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return "";
}

}  // namespace testsupport

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new testsupport::Environment);
    return RUN_ALL_TESTS();
}
