// POSIX file-system helpers shared by the desktop and headless backends. Each backend's
// Plat* file functions forward here; the headless backend puts its failure switches in front.
#ifndef KV_POSIX_FS_H
#define KV_POSIX_FS_H

#include "platform/platform.h"

bool PosixGetCurrentDirectory(char* buffer, size_t capacity);
bool PosixMakeWritable(const char* path);
bool PosixDeleteFile(const char* path);
bool PosixRenameFile(const char* from, const char* to);
bool PosixReplaceFile(const char* from, const char* to);
PLATFIND PosixFindFirst(const char* pattern, char* name, size_t capacity);
bool PosixFindNext(PLATFIND search, char* name, size_t capacity);
void PosixFindClose(PLATFIND search);
bool PosixCloseFile(FILE* file);

#endif
