// Update package: file table, packer and extractor. See package.h for the layout.

// 64-bit file positions for fseeko/ftello on 32-bit POSIX systems; must come before any
// system header.
#if !defined(_WIN32) && !defined(_FILE_OFFSET_BITS)
#define _FILE_OFFSET_BITS 64
#endif

#include "engine/package.h"

#include <cstdint>
#include <cstdio>

#include "app/memory.h"
#include "platform/platform.h"

#ifndef _WIN32
#include <sys/types.h>
#endif

// The installation sub-folders, written with the platform's separator.
#ifdef _WIN32
#define SUB_TOP "\\"
#define SUB_DATA "\\data\\"
#else
#define SUB_TOP "/"
#define SUB_DATA "/data/"
#endif

// The order is the package format: header slots and data blocks follow it.
const FILEENTRY FileTable[FILE_COUNT] = {
    {"kv9900.exe", SUB_TOP},      {"euro.cfg", SUB_DATA},      {"events_eng.cfg", SUB_DATA},
    {"events_fra.cfg", SUB_DATA}, {"events_ita.cfg", SUB_DATA}, {"events_por.cfg", SUB_DATA},
    {"events_nor.cfg", SUB_DATA}, {"events_spa.cfg", SUB_DATA}, {"events_swe.cfg", SUB_DATA},
    {"eng.lng", SUB_DATA},        {"esp.lng", SUB_DATA},        {"fra.lng", SUB_DATA},
    {"ita.lng", SUB_DATA},        {"nor.lng", SUB_DATA},        {"por.lng", SUB_DATA},
    {"swe.lng", SUB_DATA},        {"language.ldb", SUB_DATA},   {"changes.txt", SUB_TOP},
};

const char* const ReadmeFiles[README_FILE_COUNT] = {
    "readme_eng.txt", "readme_esp.txt", "readme_fra.txt", "readme_ita.txt",
    "readme_nor.txt", "readme_por.txt", "readme_sve.txt",
};

namespace {

const int64_t MAX_ENTRY_SIZE = INT32_MAX;  // largest length a signed 32-bit slot can hold

// 64-bit seek and tell: packages and sources may pass 2 GiB.
bool Seek64(FILE* file, int64_t offset, int whence) {
#ifdef _WIN32
    return _fseeki64(file, offset, whence) == 0;
#else
    static_assert(sizeof(off_t) >= 8, "64-bit file offsets required");
    return fseeko(file, static_cast<off_t>(offset), whence) == 0;
#endif
}

int64_t Tell64(FILE* file) {
#ifdef _WIN32
    return _ftelli64(file);
#else
    return static_cast<int64_t>(ftello(file));
#endif
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

void PutSlot(unsigned char* header, int index, int32_t value) {
    uint32_t bits = static_cast<uint32_t>(value);
    unsigned char* at = header + index * 4;
    at[0] = static_cast<unsigned char>(bits & 0xFFu);
    at[1] = static_cast<unsigned char>((bits >> 8) & 0xFFu);
    at[2] = static_cast<unsigned char>((bits >> 16) & 0xFFu);
    at[3] = static_cast<unsigned char>((bits >> 24) & 0xFFu);
}

int32_t GetSlot(const unsigned char* header, int index) {
    const unsigned char* at = header + index * 4;
    uint32_t bits = static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) |
                    (static_cast<uint32_t>(at[2]) << 16) | (static_cast<uint32_t>(at[3]) << 24);
    // Two's-complement reinterpretation without relying on an out-of-range conversion.
    if (bits <= static_cast<uint32_t>(INT32_MAX)) return static_cast<int32_t>(bits);
    return static_cast<int32_t>(bits - 0x80000000u) + INT32_MIN;
}

// Length of the file name, or -1 when it cannot be opened, measured or described by a slot.
int64_t MeasureSource(const char* name) {
    FILE* file = PlatOpenFile(name, "rb");
    if (file == nullptr) return -1;
    int64_t size = -1;
    if (Seek64(file, 0, SEEK_END)) size = Tell64(file);
    PlatCloseFile(file);  // read-only: nothing to lose on close
    if (size < 0 || size > MAX_ENTRY_SIZE) return -1;
    return size;
}

// Appends exactly size bytes of the file name to out through buffer. A source shorter than
// size fails; bytes past size (a file that grew since it was measured) are not copied.
bool CopySource(const char* name, int64_t size, FILE* out, unsigned char* buffer) {
    FILE* source = PlatOpenFile(name, "rb");
    if (source == nullptr) return false;
    bool ok = true;
    int64_t left = size;
    while (ok && left > 0) {
        size_t chunk = left > COPY_CHUNK ? static_cast<size_t>(COPY_CHUNK) : static_cast<size_t>(left);
        if (fread(buffer, 1, chunk, source) != chunk || fwrite(buffer, 1, chunk, out) != chunk) {
            ok = false;
        }
        left -= static_cast<int64_t>(chunk);
    }
    PlatCloseFile(source);
    return ok;
}

// Writes header and blocks into the open temporary package. Does not close it.
bool WritePackage(const FILEENTRY* table, const int64_t* sizes, const unsigned char* header,
                  FILE* out) {
    if (fwrite(header, 1, PACKAGE_HEADER_SIZE, out) != static_cast<size_t>(PACKAGE_HEADER_SIZE)) {
        return false;
    }
    unsigned char* buffer = static_cast<unsigned char*>(AllocBlock(COPY_CHUNK, "copy buffer"));
    if (buffer == nullptr) return false;
    bool ok = true;
    for (int i = 0; ok && i < FILE_COUNT; ++i) {
        if (IsReadmeEntry(table[i])) continue;
        ok = CopySource(table[i].name, sizes[i], out, buffer);
    }
    FreeBlock(buffer);
    return ok;
}

// Reads the header of the open package and positions it at the data of entry index.
// False when the package is at fault: header cut short, a negative size, or the seek fails.
bool LocateEntry(FILE* package, int index, const FILEENTRY* table, int64_t* size) {
    unsigned char header[PACKAGE_HEADER_SIZE];
    if (fread(header, 1, PACKAGE_HEADER_SIZE, package) != static_cast<size_t>(PACKAGE_HEADER_SIZE)) {
        return false;
    }
    // At most 17 slots below 2^31 each: the 64-bit sum cannot overflow.
    int64_t offset = PACKAGE_HEADER_SIZE;
    for (int i = 0; i < index; ++i) {
        if (IsReadmeEntry(table[i])) continue;
        int32_t slot = GetSlot(header, i);
        if (slot < 0) return false;
        offset += slot;
    }
    *size = GetSlot(header, index);
    if (*size < 0) return false;
    return Seek64(package, offset, SEEK_SET);
}

// Copies size bytes from the package's position to out through one COPY_CHUNK buffer.
// On false *fault says whose fault it was: 1 the package ended early, 0 out or memory.
bool CopyEntry(FILE* package, FILE* out, int64_t size, unsigned char* fault) {
    unsigned char* buffer = static_cast<unsigned char*>(AllocBlock(COPY_CHUNK, "copy buffer"));
    if (buffer == nullptr) {
        *fault = 0;
        return false;
    }
    bool ok = true;
    while (ok && size > 0) {
        size_t chunk = size > COPY_CHUNK ? static_cast<size_t>(COPY_CHUNK) : static_cast<size_t>(size);
        if (fread(buffer, 1, chunk, package) != chunk) {
            *fault = 1;
            ok = false;
        } else if (fwrite(buffer, 1, chunk, out) != chunk) {
            *fault = 0;
            ok = false;
        }
        size -= static_cast<int64_t>(chunk);
    }
    FreeBlock(buffer);
    return ok;
}

bool ExtractFrom(FILE* package, int index, const char* destination, const FILEENTRY* table,
                 unsigned char* fault) {
    int64_t size = 0;
    *fault = 1;
    if (!LocateEntry(package, index, table, &size)) return false;
    *fault = 0;
    FILE* out = PlatOpenFile(destination, "wb");
    if (out == nullptr) return false;
    bool copied = CopyEntry(package, out, size, fault);
    // A destination that did not close cleanly was not fully written.
    bool closed = PlatCloseFile(out);
    if (copied && !closed) *fault = 0;
    return copied && closed;
}

}  // namespace

bool IsReadmeEntry(const FILEENTRY& entry) {
    static const char README[] = "readme.txt";
    const char* name = entry.name;
    if (name == nullptr) return false;
    size_t i = 0;
    for (; README[i] != '\0'; ++i) {
        if (LowerAscii(name[i]) != README[i]) return false;  // also stops at the name's end
    }
    return name[i] == '\0';
}

bool PackFiles(const FILEENTRY* table) {
    if (table == nullptr) return false;

    // Measuring pass: nothing is written before every source has been measured.
    int64_t sizes[FILE_COUNT];
    unsigned char header[PACKAGE_HEADER_SIZE];
    for (int i = 0; i < FILE_COUNT; ++i) {
        sizes[i] = 0;
        if (!IsReadmeEntry(table[i])) {
            sizes[i] = MeasureSource(table[i].name);
            if (sizes[i] < 0) return false;
        }
        PutSlot(header, i, static_cast<int32_t>(sizes[i]));
    }

    FILE* out = PlatOpenFile(PACKAGE_TEMP_NAME, "wb");
    if (out == nullptr) return false;
    bool written = WritePackage(table, sizes, header, out);
    bool closed = PlatCloseFile(out);
    if (written && closed && PlatReplaceFile(PACKAGE_TEMP_NAME, PACKAGE_NAME)) return true;
    PlatDeleteFile(PACKAGE_TEMP_NAME);
    return false;
}

bool ExtractFile(int index, const char* destination, unsigned char* packageFault,
                 const FILEENTRY* table) {
    unsigned char fault = 1;
    bool ok = false;
    // A caller error (no such entry, or one without data) is reported as the package's.
    if (table != nullptr && destination != nullptr && index >= 0 && index < FILE_COUNT &&
        !IsReadmeEntry(table[index])) {
        FILE* package = PlatOpenFile(PACKAGE_NAME, "rb");
        if (package != nullptr) {
            ok = ExtractFrom(package, index, destination, table, &fault);
            PlatCloseFile(package);
        }
    }
    if (!ok && packageFault != nullptr) *packageFault = fault;
    return ok;
}

bool PackageIsWhole(const FILEENTRY* table) {
    if (table == nullptr) return false;
    FILE* package = PlatOpenFile(PACKAGE_NAME, "rb");
    if (package == nullptr) return false;
    unsigned char header[PACKAGE_HEADER_SIZE];
    bool whole = fread(header, 1, PACKAGE_HEADER_SIZE, package) == static_cast<size_t>(PACKAGE_HEADER_SIZE);
    int64_t needed = PACKAGE_HEADER_SIZE;
    for (int i = 0; whole && i < FILE_COUNT; ++i) {
        if (IsReadmeEntry(table[i])) continue;
        int32_t slot = GetSlot(header, i);
        if (slot < 0) whole = false;
        needed += slot;
    }
    whole = whole && Seek64(package, 0, SEEK_END) && Tell64(package) >= needed;
    PlatCloseFile(package);
    return whole;
}
