// telu services: notification, strings, versions, byte swapping, class-initialisation sessions,
// process start, assertions, search paths, the tool directory and the raw block allocator.
#include "telu.h"
#include "embase.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int kVersionMajor = 4;
constexpr int kVersionMinor = 2;
constexpr int kVersionPatch = 7;

// Process-wide state of the library. Allocated once and never destroyed, so that a message
// printed from another library's static destructor still finds a valid handler.
struct State
{
    std::mutex lock;
    emNotify::Handler notifyHandler;
    telu::AssertHandler assertHandler;
};

State& state()
{
    static State* s = new State;
    return *s;
}

std::atomic<int> g_sessionDepth{0};

void reverseBytes(void* element, size_t size)
{
    unsigned char* p = static_cast<unsigned char*>(element);
    std::reverse(p, p + size);
}

}  // namespace

// ---- notification ----

void emNotify::print(int level, const emClassType* classType, const char* format, ...)
{
    if (!format)
        return;
    char small[1024];
    std::string large;
    const char* text = small;

    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int needed = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (needed < 0) {
        small[0] = '\0';
    } else if (static_cast<size_t>(needed) >= sizeof small) {
        large.resize(static_cast<size_t>(needed) + 1);
        std::vsnprintf(large.data(), large.size(), format, again);
        large.resize(static_cast<size_t>(needed));
        text = large.c_str();
    }
    va_end(again);

    Handler handler;
    {
        std::lock_guard<std::mutex> guard(state().lock);
        handler = state().notifyHandler;
    }
    if (handler) {
        handler(level, text);
        return;
    }
    size_t length = std::strlen(text);
    const char* newline = (length > 0 && text[length - 1] == '\n') ? "" : "\n";
    if (classType)
        std::fprintf(stderr, "level %d: %s: %s%s", level, classType->getName(), text, newline);
    else
        std::fprintf(stderr, "level %d: %s%s", level, text, newline);
}

emNotify::Handler emNotify::setHandler(Handler handler)
{
    std::lock_guard<std::mutex> guard(state().lock);
    Handler previous = std::move(state().notifyHandler);
    state().notifyHandler = std::move(handler);
    return previous;
}

// ---- strings ----

void emString::replace(const char* from, const char* to)
{
    if (!from || !*from)
        return;
    const std::string pattern(from);
    const std::string replacement(to ? to : "");
    std::string result;
    size_t start = 0;
    for (size_t found = m_text.find(pattern); found != std::string::npos; found = m_text.find(pattern, start)) {
        result.append(m_text, start, found - start);
        result += replacement;
        start = found + pattern.size();
    }
    if (start == 0)
        return;
    result.append(m_text, start, std::string::npos);
    m_text.swap(result);
}

void emString::toLower()
{
    for (char& c : m_text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

namespace telu {

// ---- versions and byte order ----

int getVersionMajor() { return kVersionMajor; }
int getVersionMinor() { return kVersionMinor; }
int getVersionPatch() { return kVersionPatch; }

unsigned long long getPhysicalMemorySize()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    return pages > 0 && pageSize > 0
        ? static_cast<unsigned long long>(pages) * static_cast<unsigned long long>(pageSize)
        : 0;
}

void swap2Bytes(void* element) { reverseBytes(element, 2); }
void swap4Bytes(void* element) { reverseBytes(element, 4); }
void swap8Bytes(void* element) { reverseBytes(element, 8); }

// ---- class-initialisation sessions ----

int initializeClassSessionBegin(const char*)
{
    ++g_sessionDepth;
    return SUCCESS;
}

int initializeClassSessionEnd()
{
    int depth = g_sessionDepth.load();
    while (depth > 0 && !g_sessionDepth.compare_exchange_weak(depth, depth - 1)) {}
    if (depth <= 0) {
        emNotify::print(emNotify::LEVEL_FAIL, nullptr, "telu::initializeClassSessionEnd - no session to end");
        return FAILURE;
    }
    return SUCCESS;
}

bool inInitializeClassSession() { return g_sessionDepth.load() > 0; }

// ---- process start ----

int spawnProcess(const char* program, const char* arg1, const char* arg2, const char* arg3, const char* arg4,
                 const char* arg5)
{
    if (!program || !*program)
        return FAILURE;
    const char* args[] = {arg1, arg2, arg3, arg4, arg5};
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program));
    for (const char* arg : args) {
        if (!arg)
            break;
        argv.push_back(const_cast<char*>(arg));
    }
    argv.push_back(nullptr);

    pid_t pid = 0;
    if (posix_spawn(&pid, program, nullptr, nullptr, argv.data(), environ) != 0)
        return FAILURE;

    // The program runs on its own; a detached thread collects its exit status so that it does not
    // stay behind as a zombie.
    try {
        std::thread([pid] {
            while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {}
        }).detach();
    } catch (...) {
        emNotify::print(emNotify::LEVEL_WARN, nullptr, "telu::spawnProcess - unable to watch the started process");
    }
    return SUCCESS;
}

// ---- assertions ----

void setAssertHandler(AssertHandler handler)
{
    std::lock_guard<std::mutex> guard(state().lock);
    state().assertHandler = std::move(handler);
}

void assertFailed(const char* expression, const char* file, int line)
{
    AssertHandler handler;
    {
        std::lock_guard<std::mutex> guard(state().lock);
        handler = state().assertHandler;
    }
    if (handler) {
        handler(expression, file, line);
        return;
    }
    emNotify::print(emNotify::LEVEL_FATAL, nullptr, "assertion failed: %s, file %s, line %d",
                    expression ? expression : "", file ? file : "", line);
    std::abort();
}

}  // namespace telu

// ---- search path and tool directory ----

void emSearchPath::set(const char* directories)
{
    m_directories.clear();
    if (!directories)
        return;
    const char* start = directories;
    for (;;) {
        const char* end = std::strchr(start, ':');
        size_t length = end ? static_cast<size_t>(end - start) : std::strlen(start);
        if (length > 0)
            m_directories.emplace_back(start, length);
        if (!end)
            break;
        start = end + 1;
    }
}

const char* emSearchPath::findFile(const char* name, char* buffer, unsigned int size) const
{
    if (!name || !*name || !buffer || size == 0)
        return nullptr;
    for (const std::string& directory : m_directories) {
        std::string path = directory;
        if (path.back() != '/')
            path += '/';
        path += name;
        struct stat info;
        if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
            continue;
        if (path.size() + 1 > size)
            return nullptr;
        std::memcpy(buffer, path.c_str(), path.size() + 1);
        return buffer;
    }
    return nullptr;
}

const char* emCDO::getBinDir(emString& directory, int)
{
    const char* fromEnvironment = std::getenv("TELU_BIN_DIR");
    if (fromEnvironment && *fromEnvironment) {
        directory.assign(fromEnvironment);
        return directory.c_str();
    }
    std::string path(PATH_MAX, '\0');
    ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<size_t>(length) >= path.size()) {
        directory.assign("");
        return directory.c_str();
    }
    path.resize(static_cast<size_t>(length));
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        path = ".";
    else
        path.resize(slash == 0 ? 1 : slash);
    directory.assign(path.c_str());
    return directory.c_str();
}
