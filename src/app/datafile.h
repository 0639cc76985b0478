// A stream on one data file of a FOLDER: 32-bit integers in either byte order, blocks of
// bytes, single bytes, and a pending run-length run written out on close.
#ifndef KV_DATAFILE_H
#define KV_DATAFILE_H

#include <cstdint>
#include <cstdio>

class FOLDER;

enum {
    FILE_READ_TEXT = 0,   // "r"
    FILE_WRITE_TEXT = 1,  // "w"
    FILE_READ = 2,        // "rb": ReadLong, ReadBlock
    FILE_WRITE = 3,       // "wb": WriteByte; Close writes the pending run
    FILE_APPEND = 4       // "a+b": reads and WriteByte
};

enum { BYTE_ORDER_BIG = 2, DATAFILE_PATH_SIZE = 500 };

struct DATAFILESTORAGE {
    FILE* file;
    int32_t mode;
    uint8_t runValue;
    uint8_t runCount;
    uint8_t byteOrder;  // 2: most significant byte first
};

class DATAFILE {
public:
    DATAFILE();
    ~DATAFILE();
    bool Open(const FOLDER* folder, const char* name, uint8_t byteOrder, int32_t mode);
    bool ReadLong(int32_t* value);
    bool ReadBlock(void* buffer, int32_t count);
    bool WriteByte(uint8_t value);
    void FlushRun();
    // Closes the file; false when the close (and so the last writes) failed.
    bool Close();
    bool Empty() const { return storage == nullptr; }
    // For tests of the run bytes: sets the pending run.
    void SetPendingRun(uint8_t value, uint8_t count);

private:
    DATAFILE(const DATAFILE&) = delete;
    DATAFILE& operator=(const DATAFILE&) = delete;
    bool HasFile() const { return storage && storage->file; }
    DATAFILESTORAGE* storage;
};

#endif
