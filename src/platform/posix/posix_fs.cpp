// File-system operations on POSIX, shared by the desktop and the headless backends.
#include "platform/platform.h"
#include "platform/posix/posix_fs.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fnmatch.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

const char PLAT_PATH_SEP = '/';

bool PosixGetCurrentDirectory(char* buffer, size_t capacity)
{
    if (!buffer || capacity == 0) return false;
    return getcwd(buffer, capacity) != nullptr;
}

bool PosixMakeWritable(const char* path)
{
    // Owner read and write, as the Windows program asks for (0x180).
    return chmod(path, S_IRUSR | S_IWUSR) == 0;
}

bool PosixDeleteFile(const char* path)
{
    return unlink(path) == 0;
}

bool PosixRenameFile(const char* from, const char* to)
{
    // A move that must not replace an existing file: link then unlink refuses an existing
    // target atomically; fall back to an existence check where hard links are not possible.
    if (link(from, to) == 0) {
        if (unlink(from) == 0) return true;
        unlink(to);
        return false;
    }
    if (errno == EEXIST) return false;
    struct stat st;
    if (lstat(to, &st) == 0) return false;
    return rename(from, to) == 0;
}

bool PosixReplaceFile(const char* from, const char* to)
{
    return rename(from, to) == 0;
}

namespace {

struct FINDSTATE {
    DIR* dir;
    char pattern[256];
    char folder[1024];
};

bool NextMatch(FINDSTATE* state, char* name, size_t capacity)
{
    for (;;) {
        struct dirent* entry = readdir(state->dir);
        if (!entry) return false;
        if (fnmatch(state->pattern, entry->d_name, FNM_PERIOD) != 0) continue;
        char full[2048];
        int n = snprintf(full, sizeof full, "%s/%s", state->folder, entry->d_name);
        if (n < 0 || static_cast<size_t>(n) >= sizeof full) continue;
        struct stat st;
        if (stat(full, &st) != 0 || !S_ISREG(st.st_mode)) continue;
        size_t len = strlen(entry->d_name);
        if (len + 1 > capacity) continue;  // a name that does not fit is not handed out cut
        memcpy(name, entry->d_name, len + 1);
        return true;
    }
}

}  // namespace

PLATFIND PosixFindFirst(const char* pattern, char* name, size_t capacity)
{
    if (!pattern || !name || capacity == 0) return nullptr;
    const char* slash = strrchr(pattern, '/');
    FINDSTATE* state = new (std::nothrow) FINDSTATE();
    if (!state) return nullptr;
    const char* file = slash ? slash + 1 : pattern;
    size_t folderLen = slash ? static_cast<size_t>(slash - pattern) : 0;
    if (strlen(file) >= sizeof state->pattern || folderLen + 2 > sizeof state->folder) {
        delete state;
        return nullptr;
    }
    memcpy(state->pattern, file, strlen(file) + 1);
    if (slash) {
        memcpy(state->folder, pattern, folderLen);
        state->folder[folderLen] = '\0';
        if (folderLen == 0) memcpy(state->folder, "/", 2);
    } else {
        memcpy(state->folder, ".", 2);
    }
    state->dir = opendir(state->folder);
    if (!state->dir) {
        delete state;
        return nullptr;
    }
    if (!NextMatch(state, name, capacity)) {
        closedir(state->dir);
        delete state;
        return nullptr;
    }
    return state;
}

bool PosixFindNext(PLATFIND search, char* name, size_t capacity)
{
    if (!search || !name || capacity == 0) return false;
    return NextMatch(static_cast<FINDSTATE*>(search), name, capacity);
}

void PosixFindClose(PLATFIND search)
{
    if (!search) return;
    FINDSTATE* state = static_cast<FINDSTATE*>(search);
    closedir(state->dir);
    delete state;
}

bool PosixCloseFile(FILE* file)
{
    if (!file) return false;
    bool flushed = fflush(file) == 0;
    bool failed = ferror(file) != 0;
    return (fclose(file) == 0) && flushed && !failed;
}
