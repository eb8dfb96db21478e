// telu: the host's utility library (stand-in). Notification, files, strings, search paths, the
// tool directory, class types with instance lists, class-initialisation sessions, the raw block
// allocator, library versions, byte swapping and process start.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

class emClassType;

namespace telu {

enum Result { SUCCESS = 1, FAILURE = -32767 };

int getVersionMajor();
int getVersionMinor();
int getVersionPatch();

void swap2Bytes(void* element);
void swap4Bytes(void* element);
void swap8Bytes(void* element);

// Class-initialisation sessions: class types are made between Begin and End.
int initializeClassSessionBegin(const char* name);
int initializeClassSessionEnd();
bool inInitializeClassSession();

// The machine's physical memory in bytes, or 0 when the system does not tell.
unsigned long long getPhysicalMemorySize();

// Starts the program without waiting for it; the arguments after the first null are ignored.
int spawnProcess(const char* program, const char* arg1, const char* arg2, const char* arg3, const char* arg4,
                 const char* arg5);

// Debug assertion of the host: reports file and line through the installed handler (tests observe
// it); compiled out of release builds.
using AssertHandler = std::function<void(const char* expression, const char* file, int line)>;
void setAssertHandler(AssertHandler handler);
void assertFailed(const char* expression, const char* file, int line);

}  // namespace telu

#ifdef NDEBUG
#define TELU_ASSERT(expr, file) ((void)0)
#else
#define TELU_ASSERT(expr, file) ((expr) ? (void)0 : telu::assertFailed(#expr, file, __LINE__))
#endif

class emNotify
{
public:
    enum Level : int {
        LEVEL_ALWAYS = 0,
        LEVEL_FATAL = 1,
        LEVEL_INFO = 2,
        LEVEL_NOTICE = 3,
        LEVEL_DEBUG = 4,
        LEVEL_WARN = 5,
        LEVEL_FAIL = 6
    };
    using Handler = std::function<void(int level, const char* text)>;

    // Formats and shows the message: stderr by default, else the installed handler.
    static void print(int level, const emClassType* classType, const char* format, ...)
        __attribute__((format(printf, 3, 4)));
    // Installs a handler (an empty one restores stderr); returns the previous one.
    static Handler setHandler(Handler handler);
};

class emString
{
public:
    emString() = default;
    emString(const char* text) : m_text(text ? text : "") {}
    emString(const std::string& text) : m_text(text) {}

    void assign(const char* text) { m_text = text ? text : ""; }
    const char* c_str() const { return m_text.c_str(); }
    size_t length() const { return m_text.size(); }
    bool empty() const { return m_text.empty(); }
    int compare(const char* text) const { return m_text.compare(text ? text : ""); }
    // Replaces every occurrence of `from` with `to`.
    void replace(const char* from, const char* to);
    void toLower();

    bool operator==(const emString& other) const { return m_text == other.m_text; }
    bool operator!=(const emString& other) const { return m_text != other.m_text; }
    bool operator<(const emString& other) const { return m_text < other.m_text; }

private:
    std::string m_text;
};

// Buffered host file. Typed element reads and writes honour the swap flags; a bool moves 4 bytes.
class emFile
{
public:
    emFile();
    ~emFile();
    emFile(const emFile&) = delete;
    emFile& operator=(const emFile&) = delete;

    int open(const char* name, const char* mode);  // 1 or -32767
    bool isOpen() const { return m_handle != nullptr; }
    int close();  // flushes; 1 or -32767
    int flush();

    unsigned int read(void* buffer, unsigned int size, int count = -1);
    unsigned int write(const void* buffer, unsigned int size);

    // A bool is a 4-byte word, 1 or 0; any non-zero word reads as true.
    unsigned int readTyped(bool* value)
    {
        if (!value)
            return 0;
        int32_t word = 0;
        unsigned int n = readElements<4>(&word, 1);
        *value = n == 4 && word != 0;
        return n;
    }
    // The host takes the value by a non-const pointer, as its other streams do.
    unsigned int writeTyped(bool* value)  // NOLINT(readability-non-const-parameter)
    {
        if (!value)
            return 0;
        int32_t word = *value ? 1 : 0;
        return writeElements<4>(&word, 1);
    }
    unsigned int readTyped(short* values, unsigned int count = 1) { return readElements<2>(values, count); }
    unsigned int readTyped(unsigned short* values, unsigned int count = 1) { return readElements<2>(values, count); }
    unsigned int readTyped(int* values, unsigned int count = 1) { return readElements<4>(values, count); }
    unsigned int readTyped(unsigned int* values, unsigned int count = 1) { return readElements<4>(values, count); }
    unsigned int readTyped(float* values, unsigned int count = 1) { return readElements<4>(values, count); }
    unsigned int readTyped(double* values, unsigned int count = 1) { return readElements<8>(values, count); }
    unsigned int writeTyped(const short* values, unsigned int count = 1) { return writeElements<2>(values, count); }
    unsigned int writeTyped(const unsigned short* values, unsigned int count = 1)
    {
        return writeElements<2>(values, count);
    }
    unsigned int writeTyped(const int* values, unsigned int count = 1) { return writeElements<4>(values, count); }
    unsigned int writeTyped(const unsigned int* values, unsigned int count = 1)
    {
        return writeElements<4>(values, count);
    }
    unsigned int writeTyped(const float* values, unsigned int count = 1) { return writeElements<4>(values, count); }
    unsigned int writeTyped(const double* values, unsigned int count = 1) { return writeElements<8>(values, count); }

    void setSwapOnRead(bool swap) { m_swapOnRead = swap; }
    void setSwapOnWrite(bool swap) { m_swapOnWrite = swap; }
    bool getSwapOnRead() const { return m_swapOnRead; }
    bool getSwapOnWrite() const { return m_swapOnWrite; }

    // Position of the next byte read or written, and the size of the file when it was opened for
    // reading; readers use them to check counts against the bytes that remain.
    uint64_t tell() const;
    uint64_t getSize() const { return m_size; }
    uint64_t remaining() const;

private:
    // One small typed value is a copy into or out of the buffer; the rest goes the long way.
    template <unsigned int elementSize>
    unsigned int readElements(void* values, unsigned int count)
    {
        size_t total = static_cast<size_t>(elementSize) * count;
        if (m_handle && !m_writing && !m_swapOnRead && values && total && total <= m_end - m_begin) {
            std::memcpy(values, m_buffer.data() + m_begin, total);
            m_begin += total;
            return static_cast<unsigned int>(total);
        }
        return readElementsSlow(values, elementSize, count);
    }
    template <unsigned int elementSize>
    unsigned int writeElements(const void* values, unsigned int count)
    {
        size_t total = static_cast<size_t>(elementSize) * count;
        if (m_handle && m_writing && !m_swapOnWrite && !m_failed && values && total &&
            total <= m_buffer.size() - m_end) {
            std::memcpy(m_buffer.data() + m_end, values, total);
            m_end += total;
            return static_cast<unsigned int>(total);
        }
        return writeElementsSlow(values, elementSize, count);
    }
    unsigned int readElementsSlow(void* values, unsigned int elementSize, unsigned int count);
    unsigned int writeElementsSlow(const void* values, unsigned int elementSize, unsigned int count);
    bool fill();
    bool flushBuffer();  // writes the buffer out; false (and failed from then on) on an I/O error

    void* m_handle = nullptr;
    bool m_writing = false;
    bool m_swapOnRead = false;
    bool m_swapOnWrite = false;
    bool m_failed = false;  // a write to the file failed; later writes and the close report it
    std::vector<unsigned char> m_buffer;
    size_t m_begin = 0;     // next byte to hand out (reading)
    size_t m_end = 0;       // bytes in the buffer
    uint64_t m_offset = 0;  // file offset of m_buffer[0]
    uint64_t m_size = 0;
};

class emSearchPath
{
public:
    // Directories separated by ':'.
    void set(const char* directories);
    // Full path of the first directory holding `name`, written into `buffer`; null when not found.
    const char* findFile(const char* name, char* buffer, unsigned int size) const;

private:
    std::vector<std::string> m_directories;
};

class emCDO
{
public:
    // The directory of the host's tool programs: $TELU_BIN_DIR when set, else the directory of the
    // running program.
    static const char* getBinDir(emString& directory, int productId);
};

// Raw block allocator: keeps the requested size of every block. Blocks are aligned to 8 bytes.
class emAllocRaw
{
public:
    static void* mallocBlock(size_t size, const char* file, unsigned int line);
    static void freeBlock(void* block, const char* file, unsigned int line);
    // Number of blocks currently allocated (leak checks in tests).
    static size_t getNumBlocks();
};

size_t emGetSizeRequested(const void* block);
