#include "reading.h"

#include <algorithm>
#include <cstdio>
#include <sys/stat.h>

namespace view {

namespace {

// The terminal on which a progress line stands, or -1.
int s_lineShownOn = -1;
bool s_recordsShownWhileRead = false;

std::string megabytes(unsigned long long bytes)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / 1e6);
    return text;
}

}  // namespace

ReadProgress::ReadProgress(akDebug& stream, const std::string& fileName, bool records, int fd,
                           std::chrono::milliseconds after, std::chrono::milliseconds interval)
    : m_stream(stream)
{
    if (!isatty(fd) || (records && s_recordsShownWhileRead))
        return;
    const auto start = std::chrono::steady_clock::now();
    const std::string shown = escape(fileName.c_str());
    stream.setProgressCallback(
        [=](const akDebug::Progress& progress) {
            if (std::chrono::steady_clock::now() - start < after)
                return;
            const unsigned long long share = progress.fileBytes ? progress.bytesRead * 100 / progress.fileBytes : 100;
            char line[1024];
            const int length = std::snprintf(
                line, sizeof line, "\rakdebug-view: reading \"%s\": %llu%% of %s, %llu object records\x1B[K",
                shown.c_str(), share, megabytes(progress.fileBytes).c_str(), progress.records);
            if (length > 0 && write(fd, line, std::min<size_t>(static_cast<size_t>(length), sizeof line - 1)) > 0)
                s_lineShownOn = fd;
        },
        static_cast<unsigned int>(interval.count()));
}

ReadProgress::~ReadProgress()
{
    m_stream.setProgressCallback(nullptr);
    clearLine();
}

void ReadProgress::setRecordsShownWhileRead(bool shown) { s_recordsShownWhileRead = shown; }

void ReadProgress::clearLine()
{
    if (s_lineShownOn < 0)
        return;
    static const char clear[] = "\r\x1B[K";
    if (write(s_lineShownOn, clear, sizeof clear - 1) < 0) {
        // Nothing more can be done for a terminal that cannot be written.
    }
    s_lineShownOn = -1;
}

std::string refusalOf(const akDebug& stream, const std::string& fileName)
{
    return stream.hasPassedAttributeLimit() ? refusalFor(stream.getMaxAttributes(), fileName) : std::string();
}

std::string refusalFor(unsigned long long limit, const std::string& fileName)
{
    struct stat info;
    const unsigned long long bytes =
        stat(fileName.c_str(), &info) == 0 ? static_cast<unsigned long long>(info.st_size) : 0;
    const unsigned long long memory = telu::getPhysicalMemorySize();
    bool byMemory = false;
    const bool byDefault = akDebug::getDefaultAttributeLimit(bytes, memory, &byMemory) == limit;
    char bound[256];
    if (!byDefault)
        std::snprintf(bound, sizeof bound, "the limit given with --max-attributes");
    else if (byMemory)
        std::snprintf(bound, sizeof bound,
                      "the default limit of this machine (what half of its %llu MB of memory holds at %llu bytes per "
                      "attribute)",
                      memory >> 20, akDebug::s_bytesPerAttribute);
    else
        std::snprintf(bound, sizeof bound,
                      "the default limit for a file of %llu bytes (%llu attributes per byte, at least %llu)", bytes,
                      akDebug::s_attributesPerByte, akDebug::s_minAttributeLimit);
    return "\"" + escape(fileName.c_str()) + "\" is refused: too many attributes: the file would build more than " +
        std::to_string(limit) + ", " + bound + "; a larger limit is set with --max-attributes N";
}

bool readScene(akDebugScene& scene, const std::string& fileName, unsigned long long maxAttributes, bool* refused)
{
    scene.setMaxAttributes(maxAttributes);
    {
        ReadProgress progress(scene, fileName);
        scene.read(fileName.c_str());
    }
    const std::string refusal = refusalOf(scene, fileName);
    if (refused)
        *refused = !refusal.empty();
    if (!refusal.empty()) {
        std::fprintf(stderr, "akdebug-view: %s\n", refusal.c_str());
        scene.reset();
    }
    return scene.getRoot() != nullptr;
}

}  // namespace view
