#include "app/memory.h"

#include <cstdlib>

ALLOCFAULTHOOK g_allocFault = nullptr;

void* AllocBlock(size_t bytes, const char* what)
{
    if (AllocationRefused(what)) return nullptr;
    return std::malloc(bytes ? bytes : 1);
}

void FreeBlock(void* block)
{
    std::free(block);
}
