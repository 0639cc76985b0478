// The Linux desktop backend: registry, files and process.
//
// The window, events, cursors, message boxes and shell are in sdl_window.cpp. The registry is a
// folder tree: each key a folder, each value a file holding the value's bytes, under
// $KVUPDATE_REGISTRY, or else $XDG_CONFIG_HOME/kvupdate/registry, or ~/.config/kvupdate/registry.
#include "platform/platform.h"
#include "platform/posix/posix_fs.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

// ---- Process ----

void PlatExitProcess(int status)
{
    fflush(stdout);
    fflush(stderr);
    _exit(status & 0xFF);
}

// ---- Registry in the file system ----

namespace {

enum { STORE_PATH_SIZE = 4096 };

struct DESKTOPKEY {
    char folder[STORE_PATH_SIZE];
};

// Appends text to the path; false when it does not fit (nothing is ever cut).
bool Append(char* path, const char* text, size_t length)
{
    size_t used = strlen(path);
    if (used + length + 1 > STORE_PATH_SIZE) return false;
    memcpy(path + used, text, length);
    path[used + length] = '\0';
    return true;
}

bool Append(char* path, const char* text)
{
    return Append(path, text, strlen(text));
}

bool StoreRoot(char* root)
{
    root[0] = '\0';
    const char* store = getenv("KVUPDATE_REGISTRY");
    if (store && *store) return Append(root, store);
    const char* config = getenv("XDG_CONFIG_HOME");
    if (config && *config) return Append(root, config) && Append(root, "/kvupdate/registry");
    const char* home = getenv("HOME");
    return Append(root, home && *home ? home : ".") && Append(root, "/.config/kvupdate/registry");
}

// "Software\Brightfold Ltd\Kickvale 99-00" becomes <root>/Software/Brightfold Ltd/Kickvale 99-00.
// Parts that could leave the store ("." or "..", or holding '/') are refused.
bool KeyFolder(const char* path, char* folder)
{
    if (!path || !StoreRoot(folder)) return false;
    const char* part = path;
    for (const char* p = path;; ++p) {
        if (*p != '\\' && *p != '\0') {
            if (*p == '/') return false;
            continue;
        }
        size_t length = static_cast<size_t>(p - part);
        if (length > 0) {
            if ((length == 1 && part[0] == '.') || (length == 2 && part[0] == '.' && part[1] == '.')) return false;
            if (!Append(folder, "/") || !Append(folder, part, length)) return false;
        }
        if (*p == '\0') return true;
        part = p + 1;
    }
}

bool ValueFile(PLATKEY key, const char* name, char* file, const char* suffix = "")
{
    if (!key || !name || !*name || strchr(name, '/') || !strcmp(name, ".") || !strcmp(name, "..")) return false;
    file[0] = '\0';
    return Append(file, static_cast<DESKTOPKEY*>(key)->folder) && Append(file, "/") && Append(file, name) &&
           Append(file, suffix);
}

bool IsFolder(const char* path)
{
    struct stat st;
    return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeFolders(const char* path)
{
    char prefix[STORE_PATH_SIZE];
    size_t length = strlen(path);
    for (size_t i = 1; i <= length; ++i) {
        if (i < length && path[i] != '/') continue;
        memcpy(prefix, path, i);
        prefix[i] = '\0';
        if (mkdir(prefix, 0755) != 0 && errno != EEXIST) return false;
    }
    return IsFolder(path);
}

PLATKEY NewKey(const char* folder)
{
    DESKTOPKEY* key = new (std::nothrow) DESKTOPKEY;
    if (!key) return nullptr;
    memcpy(key->folder, folder, strlen(folder) + 1);
    return key;
}

}  // namespace

bool PlatRegOpenKey(const char* path, PLATKEY* key)
{
    char folder[STORE_PATH_SIZE];
    if (!key || !KeyFolder(path, folder) || !IsFolder(folder)) return false;
    // Full access means the key can be written too.
    if (access(folder, R_OK | W_OK | X_OK) != 0) return false;
    *key = NewKey(folder);
    return *key != nullptr;
}

bool PlatRegQueryValue(PLATKEY key, const char* name, char* buffer, uint32_t* size)
{
    char file[STORE_PATH_SIZE];
    if (!size || !buffer || !ValueFile(key, name, file)) return false;
    FILE* f = fopen(file, "rb");
    if (!f) return false;
    size_t capacity = *size;
    size_t n = fread(buffer, 1, capacity, f);
    bool more = fgetc(f) != EOF;
    bool failed = ferror(f) != 0;
    fclose(f);
    if (failed || more) return false;  // does not fit
    *size = static_cast<uint32_t>(n);
    return true;
}

bool PlatRegCreateKey(const char* path, PLATKEY* key)
{
    char folder[STORE_PATH_SIZE];
    if (!key || !KeyFolder(path, folder) || !MakeFolders(folder)) return false;
    *key = NewKey(folder);
    return *key != nullptr;
}

bool PlatRegSetValue(PLATKEY key, const char* name, const char* text)
{
    char file[STORE_PATH_SIZE], temporary[STORE_PATH_SIZE];
    if (!text || !ValueFile(key, name, file) || !ValueFile(key, name, temporary, ".new")) return false;
    // Written beside the value and moved onto it, so a failed write never leaves half a value.
    FILE* f = fopen(temporary, "wb");
    if (!f) return false;
    size_t len = strlen(text) + 1;
    bool written = fwrite(text, 1, len, f) == len;
    if (!PosixCloseFile(f) || !written || rename(temporary, file) != 0) {
        unlink(temporary);
        return false;
    }
    return true;
}

void PlatRegCloseKey(PLATKEY key)
{
    delete static_cast<DESKTOPKEY*>(key);
}

// ---- File system ----

bool PlatGetCurrentDirectory(char* buffer, size_t capacity) { return PosixGetCurrentDirectory(buffer, capacity); }
FILE* PlatOpenFile(const char* path, const char* mode) { return fopen(path, mode); }
bool PlatCloseFile(FILE* file) { return PosixCloseFile(file); }
bool PlatMakeWritable(const char* path) { return PosixMakeWritable(path); }
bool PlatDeleteFile(const char* path) { return PosixDeleteFile(path); }
bool PlatRenameFile(const char* from, const char* to) { return PosixRenameFile(from, to); }
bool PlatReplaceFile(const char* from, const char* to) { return PosixReplaceFile(from, to); }
PLATFIND PlatFindFirst(const char* pattern, char* name, size_t capacity) { return PosixFindFirst(pattern, name, capacity); }
bool PlatFindNext(PLATFIND search, char* name, size_t capacity) { return PosixFindNext(search, name, capacity); }
void PlatFindClose(PLATFIND search) { PosixFindClose(search); }
