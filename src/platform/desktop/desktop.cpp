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
#include <string>
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

struct DESKTOPKEY {
    std::string folder;
};

std::string StoreRoot()
{
    const char* root = getenv("KVUPDATE_REGISTRY");
    if (root && *root) return root;
    const char* config = getenv("XDG_CONFIG_HOME");
    if (config && *config) return std::string(config) + "/kvupdate/registry";
    const char* home = getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.config/kvupdate/registry";
}

// "Software\Brightfold Ltd\Kickvale 99-00" becomes <root>/Software/Brightfold Ltd/Kickvale 99-00.
// Parts that could leave the store ("", ".", "..", or holding '/') are refused.
bool KeyFolder(const char* path, std::string* folder)
{
    if (!path) return false;
    std::string result = StoreRoot();
    std::string part;
    for (const char* p = path;; ++p) {
        if (*p == '\\' || *p == '\0') {
            if (!part.empty()) {
                if (part == "." || part == "..") return false;
                result += "/" + part;
                part.clear();
            }
            if (*p == '\0') break;
        } else if (*p == '/') {
            return false;
        } else {
            part += *p;
        }
    }
    *folder = result;
    return true;
}

bool ValueFile(PLATKEY key, const char* name, std::string* file)
{
    if (!key || !name || !*name || strchr(name, '/') || !strcmp(name, ".") || !strcmp(name, "..")) return false;
    *file = static_cast<DESKTOPKEY*>(key)->folder + "/" + name;
    return true;
}

bool IsFolder(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeFolders(const std::string& path)
{
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') {
            std::string prefix = path.substr(0, i);
            if (mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST) return false;
        }
    }
    return IsFolder(path);
}

PLATKEY NewKey(const std::string& folder)
{
    return new (std::nothrow) DESKTOPKEY{folder};
}

}  // namespace

bool PlatRegOpenKey(const char* path, PLATKEY* key)
{
    std::string folder;
    if (!key || !KeyFolder(path, &folder) || !IsFolder(folder)) return false;
    // Full access means the key can be written too.
    if (access(folder.c_str(), R_OK | W_OK | X_OK) != 0) return false;
    *key = NewKey(folder);
    return *key != nullptr;
}

bool PlatRegQueryValue(PLATKEY key, const char* name, char* buffer, uint32_t* size)
{
    std::string file;
    if (!size || !buffer || !ValueFile(key, name, &file)) return false;
    FILE* f = fopen(file.c_str(), "rb");
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
    std::string folder;
    if (!key || !KeyFolder(path, &folder) || !MakeFolders(folder)) return false;
    *key = NewKey(folder);
    return *key != nullptr;
}

bool PlatRegSetValue(PLATKEY key, const char* name, const char* text)
{
    std::string file;
    if (!text || !ValueFile(key, name, &file)) return false;
    // Written beside the value and moved onto it, so a failed write never leaves half a value.
    std::string temporary = file + ".new";
    FILE* f = fopen(temporary.c_str(), "wb");
    if (!f) return false;
    size_t len = strlen(text) + 1;
    bool written = fwrite(text, 1, len, f) == len;
    if (!PosixCloseFile(f) || !written || rename(temporary.c_str(), file.c_str()) != 0) {
        unlink(temporary.c_str());
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
