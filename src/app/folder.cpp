#include "app/folder.h"
#include "app/memory.h"
#include "platform/platform.h"

#include <cstring>

FOLDER::FOLDER() : storage(static_cast<FOLDERSTORAGE*>(AllocBlock(sizeof(FOLDERSTORAGE), "folder")))
{
    if (!storage) return;
    memset(storage, 0, sizeof *storage);
    storage->searchHandle = -1;
    UseCurrentDirectory();
}

FOLDER::~FOLDER()
{
    EndSearch();
    FreeBlock(storage);
}

void FOLDER::UseCurrentDirectory()
{
    if (!storage) return;
    char current[FOLDER_PATH_SIZE];
    if (!PlatGetCurrentDirectory(current, sizeof current)) return;
    current[sizeof current - 1] = '\0';
    // A root (C:\ or /) loses its separator, so that joining with a name restores it.
    size_t len = strlen(current);
    if (len > 0 && current[len - 1] == PLAT_PATH_SEP) current[--len] = '\0';
    memcpy(storage->path, current, len + 1);
}

void FOLDER::EndSearch()
{
    // No directory search is ever started through a FOLDER; the handle stays -1.
    if (storage && storage->searchHandle != -1) storage->searchHandle = -1;
}

const char* FOLDER::Path() const
{
    return storage ? storage->path : "";
}
