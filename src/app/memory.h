// Allocation for the whole program. Nothing throws: every allocation can fail and every
// caller checks. Tests refuse chosen allocations by name to walk the failure paths.
#ifndef KV_MEMORY_H
#define KV_MEMORY_H

#include <cstddef>
#include <new>

// Returns true to refuse the allocation named `what` (e.g. "mouse", "keyboard").
typedef bool (*ALLOCFAULTHOOK)(const char* what);
extern ALLOCFAULTHOOK g_allocFault;

inline bool AllocationRefused(const char* what)
{
    return g_allocFault && g_allocFault(what);
}

template <class T>
T* NewObject(const char* what)
{
    if (AllocationRefused(what)) return nullptr;
    return new (std::nothrow) T();
}

// A plain block of bytes, released with FreeBlock.
void* AllocBlock(size_t bytes, const char* what);
void FreeBlock(void* block);
// Blocks allocated and not yet released, for leak checks.
long LiveBlocks();

#endif
