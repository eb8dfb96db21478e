// emFile: a binary file with its own 64 KiB buffer over an unbuffered stdio stream. Small reads and
// writes are copies into or out of the buffer; transfers of a buffer's size or more go straight to
// the file.
#include "telu.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace {

constexpr size_t kBufferSize = 64 * 1024;
// Temporary used to swap elements on their way to the file; a multiple of every element size.
constexpr size_t kSwapChunk = 4096;

FILE* fileOf(void* handle) { return static_cast<FILE*>(handle); }

void swapElements(unsigned char* bytes, unsigned int elementSize, size_t count)
{
    for (size_t i = 0; i < count; ++i, bytes += elementSize) {
        switch (elementSize) {
        case 2: telu::swap2Bytes(bytes); break;
        case 4: telu::swap4Bytes(bytes); break;
        case 8: telu::swap8Bytes(bytes); break;
        default: break;
        }
    }
}

}  // namespace

emFile::emFile() = default;

emFile::~emFile()
{
    if (isOpen())
        close();
}

int emFile::open(const char* name, const char* mode)
{
    if (isOpen() || !name || !*name || !mode)
        return telu::FAILURE;
    const char* stdioMode = nullptr;
    if (!std::strcmp(mode, "rb") || !std::strcmp(mode, "r"))
        stdioMode = "rbe";
    else if (!std::strcmp(mode, "wb") || !std::strcmp(mode, "w"))
        stdioMode = "wbe";
    else if (!std::strcmp(mode, "ab") || !std::strcmp(mode, "a"))
        stdioMode = "abe";
    else
        return telu::FAILURE;

    // "e": the descriptor is closed in programs started while the file is open.
    FILE* file = std::fopen(name, stdioMode);
    if (!file)
        return telu::FAILURE;
    struct stat info;
    if (::fstat(fileno(file), &info) != 0 || S_ISDIR(info.st_mode)) {
        std::fclose(file);
        return telu::FAILURE;
    }
    std::setvbuf(file, nullptr, _IONBF, 0);

    m_handle = file;
    m_writing = stdioMode[0] != 'r';
    m_failed = false;
    m_buffer.resize(kBufferSize);
    m_begin = 0;
    m_end = 0;
    m_offset = 0;
    m_size = 0;
    if (!m_writing)
        m_size = S_ISREG(info.st_mode) ? static_cast<uint64_t>(info.st_size) : 0;
    else if (stdioMode[0] == 'a' && S_ISREG(info.st_mode))
        m_offset = static_cast<uint64_t>(info.st_size);
    return telu::SUCCESS;
}

int emFile::close()
{
    if (!isOpen())
        return telu::FAILURE;
    bool ok = flush() == telu::SUCCESS;
    if (std::fclose(fileOf(m_handle)) != 0)
        ok = false;
    m_handle = nullptr;
    m_begin = 0;
    m_end = 0;
    m_buffer.clear();
    m_buffer.shrink_to_fit();
    return ok ? telu::SUCCESS : telu::FAILURE;
}

int emFile::flush()
{
    if (!isOpen())
        return telu::FAILURE;
    if (!m_writing)
        return telu::SUCCESS;
    return flushBuffer() ? telu::SUCCESS : telu::FAILURE;
}

bool emFile::flushBuffer()
{
    if (m_failed)
        return false;
    if (m_end == 0)
        return true;
    size_t pending = m_end;
    size_t written = std::fwrite(m_buffer.data(), 1, pending, fileOf(m_handle));
    m_offset += written;
    m_end = 0;
    if (written != pending) {
        // The rest of the buffer is lost; the file stays failed until it is closed.
        m_failed = true;
        return false;
    }
    return true;
}

bool emFile::fill()
{
    m_offset += m_end;
    m_begin = 0;
    m_end = std::fread(m_buffer.data(), 1, m_buffer.size(), fileOf(m_handle));
    return m_end > 0;
}

unsigned int emFile::read(void* buffer, unsigned int size, int count)
{
    if (!isOpen() || m_writing || !buffer)
        return 0;
    // As with fread: `count` elements of `size` bytes, or `size` bytes when the count is negative.
    uint64_t wanted = count < 0 ? size : static_cast<uint64_t>(size) * static_cast<unsigned>(count);
    if (wanted > UINT_MAX)
        return 0;
    unsigned char* out = static_cast<unsigned char*>(buffer);
    size_t left = static_cast<size_t>(wanted);
    while (left > 0) {
        if (m_begin < m_end) {
            size_t n = std::min(left, m_end - m_begin);
            std::memcpy(out, m_buffer.data() + m_begin, n);
            m_begin += n;
            out += n;
            left -= n;
        } else if (left >= m_buffer.size()) {
            // Large transfer: straight into the caller's memory.
            m_offset += m_end;
            m_begin = m_end = 0;
            size_t n = std::fread(out, 1, left, fileOf(m_handle));
            m_offset += n;
            out += n;
            left -= n;
            if (n == 0)
                break;
        } else if (!fill()) {
            break;
        }
    }
    return static_cast<unsigned int>(wanted - left);
}

unsigned int emFile::write(const void* buffer, unsigned int size)
{
    if (!isOpen() || !m_writing || !buffer || m_failed)
        return 0;
    const unsigned char* in = static_cast<const unsigned char*>(buffer);
    size_t free = m_buffer.size() - m_end;
    if (size <= free) {
        std::memcpy(m_buffer.data() + m_end, in, size);
        m_end += size;
        return size;
    }
    // Top the buffer up and write it out; when that fails the bytes of this call are lost with it.
    std::memcpy(m_buffer.data() + m_end, in, free);
    m_end += free;
    if (!flushBuffer())
        return 0;
    size_t done = free;
    size_t left = size - free;
    if (left >= m_buffer.size()) {
        size_t n = std::fwrite(in + done, 1, left, fileOf(m_handle));
        m_offset += n;
        done += n;
        if (n != left) {
            m_failed = true;
            return static_cast<unsigned int>(done);
        }
        return size;
    }
    std::memcpy(m_buffer.data(), in + done, left);
    m_end = left;
    return size;
}

// A short read moves the bytes that the file still had: whole elements are swapped as usual, an
// incomplete last element is left as read and the rest of the caller's array is set to zero, so
// nothing stale survives a failed read.
unsigned int emFile::readElementsSlow(void* values, unsigned int elementSize, unsigned int count)
{
    uint64_t total = static_cast<uint64_t>(elementSize) * count;
    if (!values || total == 0 || total > UINT_MAX)
        return 0;
    unsigned int n = read(values, static_cast<unsigned int>(total));
    unsigned char* bytes = static_cast<unsigned char*>(values);
    if (n < total)
        std::memset(bytes + n, 0, static_cast<size_t>(total - n));
    if (m_swapOnRead)
        swapElements(bytes, elementSize, n / elementSize);
    return n;
}

// With swap-on-write the elements are reversed on their way to the file, in the file's buffer or
// in a temporary; the caller's array is never changed.
unsigned int emFile::writeElementsSlow(const void* values, unsigned int elementSize, unsigned int count)
{
    uint64_t total = static_cast<uint64_t>(elementSize) * count;
    if (!values || total == 0 || total > UINT_MAX)
        return 0;
    if (!m_swapOnWrite)
        return write(values, static_cast<unsigned int>(total));
    if (!isOpen() || !m_writing || m_failed)
        return 0;

    const unsigned char* in = static_cast<const unsigned char*>(values);
    if (total <= m_buffer.size() - m_end) {
        unsigned char* place = m_buffer.data() + m_end;
        std::memcpy(place, in, static_cast<size_t>(total));
        swapElements(place, elementSize, count);
        m_end += static_cast<size_t>(total);
        return static_cast<unsigned int>(total);
    }
    unsigned char chunk[kSwapChunk];
    size_t done = 0;
    while (done < total) {
        size_t n = std::min(static_cast<size_t>(total) - done, sizeof chunk);
        std::memcpy(chunk, in + done, n);
        swapElements(chunk, elementSize, n / elementSize);
        unsigned int written = write(chunk, static_cast<unsigned int>(n));
        done += written;
        if (written != n)
            break;
    }
    return static_cast<unsigned int>(done);
}

uint64_t emFile::tell() const
{
    if (!isOpen())
        return 0;
    return m_offset + (m_writing ? m_end : m_begin);
}

uint64_t emFile::remaining() const
{
    if (!isOpen() || m_writing)
        return 0;
    uint64_t position = tell();
    return m_size > position ? m_size - position : 0;
}
