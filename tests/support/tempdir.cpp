#include "support/tempdir.h"

#include <cstdio>
#include <cstdlib>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
int RemoveEntry(const char* path, const struct stat*, int, struct FTW*)
{
    chmod(path, 0700);
    return remove(path);
}
}  // namespace

TEMPDIR::TEMPDIR()
{
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd)) previous = cwd;
    char pattern[] = "/tmp/kvtest-XXXXXX";
    if (mkdtemp(pattern)) {
        path = pattern;
        if (chdir(path.c_str()) != 0) path.clear();
    }
}

TEMPDIR::~TEMPDIR()
{
    if (!previous.empty() && chdir(previous.c_str()) != 0) {
        // Nothing more can be done; the folder is still removed below.
    }
    if (!path.empty()) nftw(path.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

bool WriteFileBytes(const std::string& path, const std::string& bytes)
{
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return (fclose(f) == 0) && ok;
}

bool ReadFileBytes(const std::string& path, std::string* bytes)
{
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return false;
    std::string data;
    char buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) data.append(buffer, n);
    bool ok = !ferror(f);
    fclose(f);
    if (ok && bytes) *bytes = data;
    return ok;
}

bool FileExists(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}
