// A program folder: the process's current directory, ready for joining with file names.
#ifndef KV_FOLDER_H
#define KV_FOLDER_H

#include <cstdint>

enum { FOLDER_PATH_SIZE = 500 };

struct FOLDERSTORAGE {
    int32_t searchHandle;  // -1: no search open
    char path[FOLDER_PATH_SIZE];
};

class FOLDER {
public:
    FOLDER();
    ~FOLDER();
    void UseCurrentDirectory();
    void EndSearch();
    // The folder's path without a trailing separator; empty for an empty object.
    const char* Path() const;
    bool Empty() const { return storage == nullptr; }

private:
    FOLDER(const FOLDER&) = delete;
    FOLDER& operator=(const FOLDER&) = delete;
    FOLDERSTORAGE* storage;
};

#endif
