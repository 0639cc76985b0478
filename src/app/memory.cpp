#include "app/memory.h"

#include <cstdlib>

ALLOCFAULTHOOK g_allocFault = nullptr;

namespace {
long g_liveBlocks = 0;
}

void* AllocBlock(size_t bytes, const char* what)
{
    if (AllocationRefused(what)) return nullptr;
    void* block = std::malloc(bytes ? bytes : 1);
    if (block) ++g_liveBlocks;
    return block;
}

void FreeBlock(void* block)
{
    if (block) --g_liveBlocks;
    std::free(block);
}

long LiveBlocks()
{
    return g_liveBlocks;
}
