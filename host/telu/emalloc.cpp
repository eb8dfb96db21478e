// The host's raw block allocator.
//
// Blocks come from mimalloc, which keeps no header of its own and whose small size classes lie 16
// bytes apart, in 2 MiB pages where the system grants them: attribute trees of millions of small
// blocks cost little more than their size, and a fresh process takes few page faults to build
// them. emGetSizeRequested is exact for every block:
// - A small block whose size is exactly one of mimalloc's classes carries nothing extra: its size
//   is its class. mimalloc places such blocks on 16-byte boundaries.
// - Any other block carries one word on a 16-byte boundary, before the caller's memory: the
//   requested size in the low 48 bits and a live mark in the high 16, so that freeing it twice
//   is reported instead of corrupting the heap. Its memory starts 8 bytes past the boundary.
// - A block of exactly 40 bytes (the module's value attributes of three- and four-component
//   vectors, and its arrays) would take mimalloc's 48-byte class: such blocks come from a pool of
//   their own instead, dense in one reserved range of addresses.
// The address of a block thus tells which kind it is. Blocks are aligned to 8 bytes, enough for
// every host and module type.
//
// Builds with a sanitizer (TELU_SYSTEM_MALLOC), and any process started with the environment
// variable TELU_MALLOC=system (for memory checkers that watch malloc), take every block from
// malloc, with the word.
#include "telu.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

#ifndef TELU_SYSTEM_MALLOC
#include <mimalloc.h>
#include <sys/mman.h>
#endif

namespace {

constexpr int kSizeBits = 48;
constexpr uint64_t kSizeMask = (uint64_t(1) << kSizeBits) - 1;
constexpr uint64_t kLiveMark = uint64_t(0xB10C) << kSizeBits;
constexpr uint64_t kFreedMark = uint64_t(0xDEAD) << kSizeBits;
constexpr uint64_t kMarkMask = ~kSizeMask;

uint64_t* wordOf(const void* block) { return static_cast<uint64_t*>(const_cast<void*>(block)) - 1; }

#ifdef TELU_SYSTEM_MALLOC
void* rawAllocate(size_t size) { return std::malloc(size); }
void rawFree(void* memory) { std::free(memory); }
void* bareBlock(size_t) { return nullptr; }
size_t bareSize(const void*) { return 0; }
constexpr size_t kPoolBlock = 40;
bool inPool(const void*) { return false; }
void* poolBlock() { return nullptr; }
void poolFree(void*) {}
#else
// Whether blocks come from malloc; decided once, before the first block.
bool useSystemMalloc()
{
    static const bool system = [] {
        const char* choice = std::getenv("TELU_MALLOC");
        if (choice && std::strcmp(choice, "system") == 0)
            return true;
        mi_option_set(mi_option_large_os_pages, 1);
        return false;
    }();
    return system;
}
void* rawAllocate(size_t size) { return useSystemMalloc() ? std::malloc(size) : mi_malloc(size); }
void rawFree(void* memory) { useSystemMalloc() ? std::free(memory) : mi_free(memory); }

// A block without the word, for a size that is exactly a small class; null for any other size.
constexpr size_t kBareLimit = 1024;
struct BareSizes
{
    BareSizes()
    {
        for (size_t i = 1; i <= kBareLimit / 16; ++i)
            exact[i] = mi_good_size(16 * i) == 16 * i;
    }
    bool exact[kBareLimit / 16 + 1] = {};
};
void* bareBlock(size_t size)
{
    static const BareSizes sizes;
    if (size == 0 || size > kBareLimit || size % 16 != 0 || !sizes.exact[size / 16] || useSystemMalloc())
        return nullptr;
    return mi_malloc(size);
}
size_t bareSize(const void* block) { return mi_usable_size(block); }

// The pool of 40-byte blocks: addresses reserved once (memory is taken only where blocks are
// carved), handed out to threads in runs. Each thread takes blocks from its own free list, then
// from its run; a block freed on any thread joins that thread's list, so no block is locked.
constexpr size_t kPoolBlock = 40;
constexpr size_t kPoolRange = size_t(64) << 30;
constexpr size_t kPoolRun = size_t(2) << 20;
std::atomic<char*> g_poolBase{nullptr};
std::atomic<size_t> g_poolCarved{0};

struct PoolCache
{
    void* free = nullptr;
    char* next = nullptr;
    char* end = nullptr;
};
thread_local PoolCache t_pool __attribute__((tls_model("initial-exec")));

// The pool's range, reserved on first use; null when blocks come from malloc or no range was had.
char* poolBase()
{
    static char* const base = [] {
        if (useSystemMalloc())
            return static_cast<char*>(nullptr);
        void* range =
            mmap(nullptr, kPoolRange, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (range == MAP_FAILED)
            return static_cast<char*>(nullptr);
        madvise(range, kPoolRange, MADV_HUGEPAGE);
        g_poolBase.store(static_cast<char*>(range), std::memory_order_release);
        return static_cast<char*>(range);
    }();
    return base;
}

bool inPool(const void* block)
{
    const char* base = g_poolBase.load(std::memory_order_relaxed);
    return base && static_cast<size_t>(static_cast<const char*>(block) - base) < kPoolRange;
}

void* poolBlock()
{
    PoolCache& cache = t_pool;
    if (void* block = cache.free) {
        cache.free = *static_cast<void**>(block);
        return block;
    }
    if (cache.next == cache.end) {
        char* base = poolBase();
        if (!base)
            return nullptr;
        const size_t at = g_poolCarved.fetch_add(kPoolRun, std::memory_order_relaxed);
        if (at + kPoolRun > kPoolRange)
            return nullptr;
        cache.next = base + at;
        cache.end = cache.next + kPoolRun / kPoolBlock * kPoolBlock;
    }
    void* block = cache.next;
    cache.next += kPoolBlock;
    return block;
}

void poolFree(void* block)
{
    *static_cast<void**>(block) = t_pool.free;
    t_pool.free = block;
}
#endif

bool isBare(const void* block) { return reinterpret_cast<uintptr_t>(block) % 16 == 0; }

// Live blocks, counted per thread without a locked instruction: each thread writes only its own
// counter; getNumBlocks adds them all up.
struct Counters
{
    std::mutex lock;
    std::vector<std::atomic<long long>*> threads;
};
Counters& counters()
{
    static Counters* c = new Counters;  // never destroyed: blocks are freed during static destruction
    return *c;
}
// The calling thread's counter, made on its first block. The library is loaded with the program,
// so its thread-local word is reached without a call.
thread_local std::atomic<long long>* t_counter __attribute__((tls_model("initial-exec"))) = nullptr;

std::atomic<long long>* newThreadCounter()
{
    auto* made = new std::atomic<long long>(0);
    std::lock_guard<std::mutex> hold(counters().lock);
    counters().threads.push_back(made);
    return made;
}

std::atomic<long long>& threadCounter()
{
    if (!t_counter)
        t_counter = newThreadCounter();
    return *t_counter;
}
void count(long long change)
{
    std::atomic<long long>& counter = threadCounter();
    counter.store(counter.load(std::memory_order_relaxed) + change, std::memory_order_relaxed);
}

}  // namespace

void* emAllocRaw::mallocBlock(size_t size, const char*, unsigned int)
{
    if (size > kSizeMask - 16)
        return nullptr;
    if (size == kPoolBlock)
        if (void* pooled = poolBlock()) {
            count(1);
            return pooled;
        }
    if (void* bare = bareBlock(size)) {
        count(1);
        return bare;
    }
    // The word takes the 16-byte boundary that malloc and mimalloc align blocks of 16 bytes or more
    // to, so the caller's memory lies 8 bytes past it.
    uint64_t* word = static_cast<uint64_t*>(rawAllocate(std::max<size_t>(sizeof(uint64_t) + size, 16)));
    if (!word)
        return nullptr;
    *word = kLiveMark | size;
    count(1);
    return word + 1;
}

void emAllocRaw::freeBlock(void* block, const char* file, unsigned int line)
{
    if (!block)
        return;
    if (inPool(block)) {
        count(-1);
        poolFree(block);
        return;
    }
    if (isBare(block)) {
        count(-1);
        rawFree(block);
        return;
    }
    uint64_t* word = wordOf(block);
    if ((*word & kMarkMask) != kLiveMark) {
        emNotify::print(emNotify::LEVEL_FAIL, nullptr, "emAllocRaw::freeBlock - not a live block (file %s, line %u)",
                        file ? file : "", line);
        return;
    }
    *word = kFreedMark;
    count(-1);
    rawFree(word);
}

size_t emAllocRaw::getNumBlocks()
{
    std::lock_guard<std::mutex> hold(counters().lock);
    long long live = 0;
    for (const std::atomic<long long>* counter : counters().threads)
        live += counter->load(std::memory_order_relaxed);
    return live > 0 ? static_cast<size_t>(live) : 0;
}

size_t emGetSizeRequested(const void* block)
{
    if (!block)
        return 0;
    if (inPool(block))
        return kPoolBlock;
    if (isBare(block))
        return bareSize(block);
    const uint64_t word = *wordOf(block);
    return (word & kMarkMask) == kLiveMark ? static_cast<size_t>(word & kSizeMask) : 0;
}
