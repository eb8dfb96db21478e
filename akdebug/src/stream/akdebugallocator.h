// The allocator of the module's containers.
#pragma once

#include <telu.h>

#include <cstddef>

// Containers of the module take their memory from the host's raw block allocator.
template <class T>
struct akDebugHostAllocator
{
    using value_type = T;
    akDebugHostAllocator() = default;
    template <class U>
    akDebugHostAllocator(const akDebugHostAllocator<U>&)
    {}
    T* allocate(size_t n)
    {
        return static_cast<T*>(
            emAllocRaw::mallocBlock(n * sizeof(T), "akdebug/src/lib/libakdebug/akdebugattribute", __LINE__));
    }
    void deallocate(T* p, size_t) { emAllocRaw::freeBlock(p, "akdebug/src/lib/libakdebug/akdebugattribute", __LINE__); }
    template <class U>
    bool operator==(const akDebugHostAllocator<U>&) const
    {
        return true;
    }
    template <class U>
    bool operator!=(const akDebugHostAllocator<U>&) const
    {
        return false;
    }
};
