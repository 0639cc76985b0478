#include "engine/record.h"
#include "app/memory.h"
#include "platform/platform.h"

#include <cstring>

namespace {

const char* const CompatibleVersions[] = {"3.70", "3.71", "3.72", "3.73"};

// "Software\Brightfold Ltd\" + subkey, in a block of exactly the needed size.
char* KeyPath(const char* subkey)
{
    if (!subkey) return nullptr;
    size_t parent = strlen(INSTALL_KEY_PARENT), sub = strlen(subkey);
    char* path = static_cast<char*>(AllocBlock(parent + sub + 1, "key path"));
    if (!path) return nullptr;
    memcpy(path, INSTALL_KEY_PARENT, parent);
    memcpy(path + parent, subkey, sub + 1);
    return path;
}

}  // namespace

bool ReadSetting(const char* subkey, const char* valueName, char* buffer, uint32_t size)
{
    if (!buffer || size == 0) return false;
    char* path = KeyPath(subkey);
    if (!path) return false;
    PLATKEY key = nullptr;
    bool read = false;
    if (PlatRegOpenKey(path, &key)) {
        uint32_t bytes = size;
        read = PlatRegQueryValue(key, valueName, buffer, &bytes);
        if (read && bytes <= size && !memchr(buffer, '\0', bytes)) {
            // Stored without its terminating zero: terminate it when there is room.
            if (bytes < size)
                buffer[bytes] = '\0';
            else
                read = false;
        }
        PlatRegCloseKey(key);
    }
    // A failed query may have left anything in the buffer; it stays a terminated text.
    if (!read) buffer[size - 1] = '\0';
    FreeBlock(path);
    return read;
}

bool WriteSetting(const char* subkey, const char* valueName, const char* value)
{
    if (!value) return false;
    char* path = KeyPath(subkey);
    if (!path) return false;
    PLATKEY key = nullptr;
    bool written = false;
    if (PlatRegCreateKey(path, &key)) {
        written = PlatRegSetValue(key, valueName, value);
        PlatRegCloseKey(key);
    }
    FreeBlock(path);
    return written;
}

bool CompatibleVersion(const char* installedVersion)
{
    if (!installedVersion) return false;
    for (const char* version : CompatibleVersions)
        if (strstr(installedVersion, version)) return true;
    return false;
}

void RewriteOldVersion(char* installedVersion)
{
    if (!installedVersion) return;
    char* old = strstr(installedVersion, "3.69");
    if (!old) return;
    old[2] = '7';
    old[3] = '0';
}
