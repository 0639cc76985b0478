#include "app/datafile.h"
#include "app/folder.h"
#include "app/memory.h"
#include "platform/platform.h"

#include <cstring>

namespace {
const char* const OpenModes[] = {"r", "w", "rb", "wb", "a+b"};
}

DATAFILE::DATAFILE() : storage(static_cast<DATAFILESTORAGE*>(AllocBlock(sizeof(DATAFILESTORAGE), "datafile")))
{
    if (storage) memset(storage, 0, sizeof *storage);
}

DATAFILE::~DATAFILE()
{
    Close();
    FreeBlock(storage);
}

bool DATAFILE::Open(const FOLDER* folder, const char* name, uint8_t byteOrder, int32_t mode)
{
    if (!folder || folder->Empty() || !storage || !name) return false;
    char path[DATAFILE_PATH_SIZE];
    int n = snprintf(path, sizeof path, "%s%c%s", folder->Path(), PLAT_PATH_SEP, name);
    if (n < 0 || static_cast<size_t>(n) >= sizeof path) return false;  // refused, never cut
    if (mode < FILE_READ_TEXT || mode > FILE_APPEND) return false;
    FILE* file = PlatOpenFile(path, OpenModes[mode]);
    storage->file = file;
    if (!file) return false;
    storage->mode = mode;
    storage->byteOrder = byteOrder;
    if (byteOrder != 0 && mode == FILE_APPEND) {
        // Appending has no byte order; the file has been created by now all the same.
        PlatCloseFile(file);
        storage->file = nullptr;
        return false;
    }
    return true;
}

bool DATAFILE::ReadLong(int32_t* value)
{
    if (!HasFile() || (storage->mode != FILE_READ && storage->mode != FILE_APPEND) || !value) return false;
    unsigned char b[4];
    if (fread(b, 4, 1, storage->file) != 1) return false;
    uint32_t v;
    if (storage->byteOrder == BYTE_ORDER_BIG)
        v = (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | uint32_t(b[3]);
    else
        v = (uint32_t(b[3]) << 24) | (uint32_t(b[2]) << 16) | (uint32_t(b[1]) << 8) | uint32_t(b[0]);
    *value = static_cast<int32_t>(v);
    return true;
}

bool DATAFILE::ReadBlock(void* buffer, int32_t count)
{
    if (!HasFile() || (storage->mode != FILE_READ && storage->mode != FILE_APPEND)) return false;
    if (count < 0) return false;
    if (count == 0) return true;
    if (!buffer) return false;
    return fread(buffer, 1, static_cast<size_t>(count), storage->file) == static_cast<size_t>(count);
}

bool DATAFILE::WriteByte(uint8_t value)
{
    if (!HasFile() || (storage->mode != FILE_WRITE && storage->mode != FILE_APPEND)) return false;
    return fwrite(&value, 1, 1, storage->file) == 1;
}

void DATAFILE::FlushRun()
{
    if (!storage) return;
    if (storage->mode == FILE_WRITE && storage->runCount != 0 && storage->file) {
        // A single byte below 0xC0 stands for itself; anything else needs a run byte first.
        if (storage->runCount > 1 || storage->runValue >= 0xC0) {
            unsigned char run = static_cast<unsigned char>(0xC0 | storage->runCount);
            fwrite(&run, 1, 1, storage->file);
        }
        fwrite(&storage->runValue, 1, 1, storage->file);
    }
    storage->runCount = 0;
}

bool DATAFILE::Close()
{
    if (!storage) return true;
    FlushRun();
    bool closed = true;
    if (storage->file) closed = PlatCloseFile(storage->file);
    memset(storage, 0, sizeof *storage);
    return closed;
}

void DATAFILE::SetPendingRun(uint8_t value, uint8_t count)
{
    if (!storage) return;
    storage->runValue = value;
    // Six bits are left for the count in the run byte.
    storage->runCount = static_cast<uint8_t>(count & 0x3F);
}
