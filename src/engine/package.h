// The update package "update.dat": the table of the eighteen files it carries, the packer
// that builds it from the loose files and the extractor that copies one entry out of it.
//
// Layout (all integers little-endian, nothing else in the file):
//   offset 0    18 signed 32-bit slots, slot i = length of entry i's data (FileTable order)
//   offset 72   the data of every data entry, back to back, in table order
// A readme entry (name "readme.txt" in any letter case) has no data block; its slot is
// written as 0 and never read. Entry i starts at 72 plus the slots of the data entries
// before it.
//
// Both operations work in the process's current directory and keep no state between calls.
#ifndef KV_ENGINE_PACKAGE_H
#define KV_ENGINE_PACKAGE_H

struct FILEENTRY {
    const char* name;       // file name without folder; the packer reads it from the current directory
    const char* subfolder;  // installation sub-folder with leading and trailing separator
};

const int FILE_COUNT = 18;
const int COPY_CHUNK = 65536;
const int PACKAGE_HEADER_SIZE = FILE_COUNT * 4;
const int README_FILE_COUNT = 7;

#define PACKAGE_NAME "update.dat"
// The packer writes here first and moves the finished file onto PACKAGE_NAME, so a failed
// run never damages an existing package. Removed again on every failure.
#define PACKAGE_TEMP_NAME "update.dat.tmp"

extern const FILEENTRY FileTable[FILE_COUNT];
// Per-language readme files beside the package, in language order (eng, esp, fra, ita, nor, por, sve).
extern const char* const ReadmeFiles[README_FILE_COUNT];

// True when the entry's name is "readme.txt", compared without regard to letter case.
bool IsReadmeEntry(const FILEENTRY& entry);

// Builds "update.dat" in the current directory from the files of table (FILE_COUNT entries)
// found there. True only when the header and every block were written, the file closed
// cleanly and moved into place. On false an existing "update.dat" is left as it was.
// Fails on a missing, unmeasurable or shrinking source, a source of 2 GiB or more (it does
// not fit a slot), no memory, or any write, close or rename failure. A source that grew
// since it was measured is packed cut to the measured size.
bool PackFiles(const FILEENTRY* table = FileTable);

// Copies entry index of "update.dat" (current directory) to the file destination, which is
// created or replaced. True when every byte was read, written and the destination closed
// cleanly; *packageFault is then left untouched. On false *packageFault is set to
//   1  the package is at fault: missing, shorter than its header, cut short, or holding a
//      negative size for the entry or one before it; also when index is outside
//      0..FILE_COUNT-1 or names a readme entry (a caller error: there is no such data),
//   0  the destination is at fault: cannot be created, written or closed, or no memory.
// A destination left by a failure is not removed.
bool ExtractFile(int index, const char* destination, unsigned char* packageFault,
                 const FILEENTRY* table = FileTable);

// True when "update.dat" (current directory) is whole: its header is there, no data entry
// of table has a negative size, and the file holds at least the header and every data
// entry's block. Lets an install run refuse a damaged package before it touches anything.
bool PackageIsWhole(const FILEENTRY* table = FileTable);

#endif
