// Update package: packer layout and failures, extractor failures, round trip.
//
// Every test runs in its own temporary folder, made the current directory, since both the
// packer and the extractor work on "update.dat" there. Write and close failures come from
// the headless backend's switches.
#include "app/memory.h"
#include "engine/package.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/headless/headless.h"

namespace fs = std::filesystem;

namespace {

const int64_t TWO_GIB = int64_t(1) << 31;

std::string ReadAll(const char* path) {
    std::string data;
    FILE* f = fopen(path, "rb");
    if (f == nullptr) return data;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) data.append(buffer, n);
    fclose(f);
    return data;
}

void WriteAll(const char* path, const std::string& data) {
    FILE* f = fopen(path, "wb");
    ASSERT_NE(f, nullptr) << path;
    ASSERT_EQ(fwrite(data.data(), 1, data.size(), f), data.size());
    ASSERT_EQ(fclose(f), 0);
}

bool Exists(const char* path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

// Distinct, position-dependent bytes for entry `entry`, so a block taken from the wrong
// offset or entry never compares equal.
std::string Content(int entry, int64_t size) {
    std::string data(static_cast<size_t>(size), '\0');
    for (int64_t k = 0; k < size; ++k) {
        data[static_cast<size_t>(k)] = static_cast<char>((entry * 37 + k * 7 + k / 251) & 0xFF);
    }
    return data;
}

void AppendLittleEndian(std::string* out, int32_t value) {
    uint32_t bits = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) out->push_back(static_cast<char>((bits >> shift) & 0xFF));
}

int32_t SlotAt(const std::string& package, int index) {
    uint32_t bits = 0;
    for (int b = 3; b >= 0; --b) {
        bits = (bits << 8) | static_cast<unsigned char>(package[static_cast<size_t>(index * 4 + b)]);
    }
    return static_cast<int32_t>(bits);
}

// A package as the format describes it: the header of `slots`, then for every data entry
// Content(i, slot) (nothing for a readme entry or a slot of 0 or less).
std::string BuildPackage(const int32_t (&slots)[FILE_COUNT], const FILEENTRY* table = FileTable) {
    std::string package;
    for (int i = 0; i < FILE_COUNT; ++i) AppendLittleEndian(&package, slots[i]);
    for (int i = 0; i < FILE_COUNT; ++i) {
        if (!IsReadmeEntry(table[i]) && slots[i] > 0) package += Content(i, slots[i]);
    }
    return package;
}

class PackageTest : public ::testing::Test {
protected:
    void SetUp() override {
        HeadlessReset();
        char* old = getcwd(oldDir_, sizeof oldDir_);
        ASSERT_NE(old, nullptr);
        char pattern[] = "/tmp/kv_package_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        ASSERT_EQ(chdir(pattern), 0);
    }

    void TearDown() override {
        HeadlessReset();
        EXPECT_EQ(chdir(oldDir_), 0);
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    // Writes the loose files of table with Content(i, sizes[i]); readme entries are skipped.
    static void WriteSources(const int64_t (&sizes)[FILE_COUNT], const FILEENTRY* table = FileTable) {
        for (int i = 0; i < FILE_COUNT; ++i) {
            if (!IsReadmeEntry(table[i])) WriteAll(table[i].name, Content(i, sizes[i]));
        }
    }

    char oldDir_[4096] = {};
    std::string dir_;
};

// Sizes around the copy chunk, and the rest small and different from each other.
void TypicalSizes(int64_t (&sizes)[FILE_COUNT]) {
    for (int i = 0; i < FILE_COUNT; ++i) sizes[i] = 100 + 13 * i;
    sizes[0] = 3 * COPY_CHUNK + 7;
    sizes[5] = COPY_CHUNK;
    sizes[6] = COPY_CHUNK + 1;
}

TEST(PackageNames, ReadmeEntryIgnoresLetterCaseOnly) {
    struct {
        const char* name;
        bool readme;
    } cases[] = {
        {"readme.txt", true},     {"README.TXT", true},  {"ReadMe.Txt", true},
        {"readme.txt.bak", false}, {"readme.tx", false}, {"xreadme.txt", false},
        {"readme_eng.txt", false}, {"", false},          {"changes.txt", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsReadmeEntry(FILEENTRY{c.name, "/"}), c.readme) << c.name;
    }
    for (int i = 0; i < FILE_COUNT; ++i) EXPECT_FALSE(IsReadmeEntry(FileTable[i])) << FileTable[i].name;
}

// ---- Packer: layout ---------------------------------------------------------------------

TEST_F(PackageTest, PackWritesHeaderOfSizesThenBlocksInTableOrder) {
    int64_t sizes[FILE_COUNT];
    TypicalSizes(sizes);
    WriteSources(sizes);
    // The packer reads from the current directory itself, not from a data sub-folder.
    ASSERT_TRUE(fs::create_directory("data"));
    WriteAll("data/euro.cfg", "not this one");

    ASSERT_TRUE(PackFiles());

    std::string package = ReadAll(PACKAGE_NAME);
    int64_t total = PACKAGE_HEADER_SIZE;
    for (int64_t s : sizes) total += s;
    ASSERT_EQ(static_cast<int64_t>(package.size()), total);
    size_t at = PACKAGE_HEADER_SIZE;
    for (int i = 0; i < FILE_COUNT; ++i) {
        EXPECT_EQ(SlotAt(package, i), sizes[i]) << FileTable[i].name;
        EXPECT_TRUE(package.compare(at, static_cast<size_t>(sizes[i]), Content(i, sizes[i])) == 0)
            << FileTable[i].name;
        at += static_cast<size_t>(sizes[i]);
    }
    EXPECT_FALSE(Exists(PACKAGE_TEMP_NAME));
}

TEST_F(PackageTest, PackReplacesAnOlderPackage) {
    WriteAll(PACKAGE_NAME, std::string(100000, 'x'));
    int64_t sizes[FILE_COUNT];
    for (int64_t& s : sizes) s = 3;
    WriteSources(sizes);
    ASSERT_TRUE(PackFiles());
    EXPECT_EQ(ReadAll(PACKAGE_NAME).size(), size_t(PACKAGE_HEADER_SIZE + 3 * FILE_COUNT));
}

TEST_F(PackageTest, PackStoresAnEmptyFileAsLengthZero) {
    int64_t sizes[FILE_COUNT];
    TypicalSizes(sizes);
    sizes[4] = 0;
    sizes[17] = 0;
    WriteSources(sizes);

    ASSERT_TRUE(PackFiles());

    int32_t slots[FILE_COUNT];
    for (int i = 0; i < FILE_COUNT; ++i) slots[i] = static_cast<int32_t>(sizes[i]);
    EXPECT_TRUE(ReadAll(PACKAGE_NAME) == BuildPackage(slots));
}

TEST_F(PackageTest, PackNeitherMeasuresNorCopiesReadmeEntries) {
    FILEENTRY table[FILE_COUNT];
    for (int i = 0; i < FILE_COUNT; ++i) table[i] = FileTable[i];
    table[3].name = "readme.txt";   // no such file: must not be opened
    table[10].name = "README.TXT";  // present, but has no data in the package
    int64_t sizes[FILE_COUNT];
    TypicalSizes(sizes);
    WriteSources(sizes, table);
    WriteAll("README.TXT", "readme text that is not packed");

    ASSERT_TRUE(PackFiles(table));

    std::string package = ReadAll(PACKAGE_NAME);
    EXPECT_EQ(SlotAt(package, 3), 0);
    EXPECT_EQ(SlotAt(package, 10), 0);
    int32_t slots[FILE_COUNT];
    for (int i = 0; i < FILE_COUNT; ++i) slots[i] = IsReadmeEntry(table[i]) ? 0 : static_cast<int32_t>(sizes[i]);
    EXPECT_TRUE(package == BuildPackage(slots, table));
}

// ---- Packer: failures leave an existing package as it was --------------------------------

enum FileSwitch { SWITCH_NONE, SWITCH_FAIL_OPEN, SWITCH_FAIL_WRITES, SWITCH_FAIL_CLOSE, SWITCH_FAIL_REPLACE };

struct PackFailureCase {
    const char* name;
    int missingEntry;         // entry whose source is deleted, or -1
    int hugeEntry;            // entry whose source is made 2 GiB long (sparse), or -1
    FileSwitch fileSwitch;
    const char* switchPath;   // path part the switch applies to
    long long writeBudget;    // for SWITCH_FAIL_WRITES
};

const PackFailureCase kPackFailures[] = {
    {"FirstSourceMissing", 0, -1, SWITCH_NONE, nullptr, 0},
    {"LastSourceMissing", 17, -1, SWITCH_NONE, nullptr, 0},
    {"SourceCannotBeOpened", -1, -1, SWITCH_FAIL_OPEN, "language.ldb", 0},
    {"SourceOfTwoGiB", -1, 9, SWITCH_NONE, nullptr, 0},
    {"PackageCannotBeCreated", -1, -1, SWITCH_FAIL_OPEN, PACKAGE_TEMP_NAME, 0},
    {"HeaderWriteFails", -1, -1, SWITCH_FAIL_WRITES, PACKAGE_TEMP_NAME, 10},
    {"BlockWriteFails", -1, -1, SWITCH_FAIL_WRITES, PACKAGE_TEMP_NAME, 2 * COPY_CHUNK},
    {"CloseFails", -1, -1, SWITCH_FAIL_CLOSE, PACKAGE_TEMP_NAME, 0},
    {"ReplaceFails", -1, -1, SWITCH_FAIL_REPLACE, nullptr, 0},
};

class PackFailureTest : public PackageTest, public ::testing::WithParamInterface<PackFailureCase> {};

TEST_P(PackFailureTest, FailsAndKeepsOldPackage) {
    const PackFailureCase& c = GetParam();
    int64_t sizes[FILE_COUNT];
    TypicalSizes(sizes);
    WriteSources(sizes);
    const std::string old = "an older package that must survive\n" + Content(99, 5000);
    WriteAll(PACKAGE_NAME, old);
    if (c.missingEntry >= 0) {
        ASSERT_EQ(remove(FileTable[c.missingEntry].name), 0);
    }
    if (c.hugeEntry >= 0) fs::resize_file(FileTable[c.hugeEntry].name, static_cast<uintmax_t>(TWO_GIB));
    switch (c.fileSwitch) {
        case SWITCH_NONE: break;
        case SWITCH_FAIL_OPEN: HeadlessFailOpen(c.switchPath); break;
        case SWITCH_FAIL_WRITES: HeadlessFailWrites(c.switchPath, c.writeBudget); break;
        case SWITCH_FAIL_CLOSE: HeadlessFailClose(c.switchPath); break;
        case SWITCH_FAIL_REPLACE: HeadlessFailReplace(true); break;
    }

    EXPECT_FALSE(PackFiles());

    EXPECT_TRUE(ReadAll(PACKAGE_NAME) == old);
    EXPECT_FALSE(Exists(PACKAGE_TEMP_NAME));
}

INSTANTIATE_TEST_SUITE_P(Packer, PackFailureTest, ::testing::ValuesIn(kPackFailures),
                         [](const ::testing::TestParamInfo<PackFailureCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(PackageTest, FailedPackWithoutOldPackageLeavesNoFile) {
    int64_t sizes[FILE_COUNT];
    TypicalSizes(sizes);
    WriteSources(sizes);
    HeadlessFailWrites(PACKAGE_TEMP_NAME, COPY_CHUNK);
    EXPECT_FALSE(PackFiles());
    EXPECT_FALSE(Exists(PACKAGE_NAME));
    EXPECT_FALSE(Exists(PACKAGE_TEMP_NAME));
}

// ---- Extractor --------------------------------------------------------------------------

// Slot i of the standard test package: small and different per entry.
int32_t BaseSlot(int i) { return 40 + 3 * i; }

struct SlotChange {
    int index;  // -1: none
    int32_t value;
};

enum PackageShape { NO_PACKAGE, HEADER_ONLY_71, WHOLE, CUT_IN_ENTRY };

const int64_t DEST_ABSENT = -1;   // the destination must not exist afterwards
const int64_t DEST_ANY = -2;      // the destination is not looked at

struct ExtractCase {
    const char* name;
    PackageShape shape;
    SlotChange change1, change2;
    int64_t cutAfter;         // CUT_IN_ENTRY: bytes of entry `index` still in the package
    int index;
    const char* destination;
    FileSwitch fileSwitch;
    const char* switchPath;   // path part the switch applies to
    long long writeBudget;
    bool ok;
    int fault;                // expected *packageFault; 77 (the value before the call) when ok
    int64_t destSize;         // bytes expected in the destination: a prefix of entry `index`
};

const SlotChange NONE = {-1, 0};

const ExtractCase kExtractCases[] = {
    {"NoPackage", NO_PACKAGE, NONE, NONE, 0, 0, "out.bin", SWITCH_NONE, nullptr, 0, false, 1, DEST_ABSENT},
    {"PackageShorterThanHeader", HEADER_ONLY_71, NONE, NONE, 0, 0, "out.bin", SWITCH_NONE, nullptr, 0, false, 1,
     DEST_ABSENT},
    {"PackageCutInsideLastEntry", CUT_IN_ENTRY, {17, 3 * COPY_CHUNK + 100}, NONE, 2 * COPY_CHUNK + 10, 17,
     "out.bin", SWITCH_NONE, nullptr, 0, false, 1, 2 * COPY_CHUNK},
    {"PackageEndsBeforeEntry", CUT_IN_ENTRY, NONE, NONE, 0, 17, "out.bin", SWITCH_NONE, nullptr, 0, false, 1, 0},
    {"DestinationFolderMissing", WHOLE, NONE, NONE, 0, 3, "missing/out.bin", SWITCH_NONE, nullptr, 0, false, 0,
     DEST_ABSENT},
    {"FirstEntry", WHOLE, NONE, NONE, 0, 0, "out.bin", SWITCH_NONE, nullptr, 0, true, 77, BaseSlot(0)},
    {"LastEntry", WHOLE, NONE, NONE, 0, 17, "out.bin", SWITCH_NONE, nullptr, 0, true, 77, BaseSlot(17)},
    {"SlotZeroMakesEmptyFile", WHOLE, {5, 0}, NONE, 0, 5, "out.bin", SWITCH_NONE, nullptr, 0, true, 77, 0},
    {"OneWholeChunk", WHOLE, {6, COPY_CHUNK}, NONE, 0, 6, "out.bin", SWITCH_NONE, nullptr, 0, true, 77, COPY_CHUNK},
    {"ChunkAndOneByte", WHOLE, {6, COPY_CHUNK + 1}, {2, COPY_CHUNK + 1}, 0, 6, "out.bin", SWITCH_NONE, nullptr, 0,
     true, 77, COPY_CHUNK + 1},
    {"NegativeSlotBefore", WHOLE, {2, -5}, NONE, 0, 6, "out.bin", SWITCH_NONE, nullptr, 0, false, 1, DEST_ABSENT},
    {"NegativeSlotOfEntry", WHOLE, {6, -1}, NONE, 0, 6, "out.bin", SWITCH_NONE, nullptr, 0, false, 1, DEST_ABSENT},
    {"MostNegativeSlotBefore", WHOLE, {0, INT32_MIN}, NONE, 0, 1, "out.bin", SWITCH_NONE, nullptr, 0, false, 1,
     DEST_ABSENT},
    {"NegativeSlotAfterIsNotRead", WHOLE, {10, -1}, NONE, 0, 6, "out.bin", SWITCH_NONE, nullptr, 0, true, 77,
     BaseSlot(6)},
    {"IndexBelowRange", WHOLE, NONE, NONE, 0, -1, "out.bin", SWITCH_NONE, nullptr, 0, false, 1, DEST_ABSENT},
    {"IndexAboveRange", WHOLE, NONE, NONE, 0, FILE_COUNT, "out.bin", SWITCH_NONE, nullptr, 0, false, 1, DEST_ABSENT},
    {"PackageCannotBeOpened", WHOLE, NONE, NONE, 0, 0, "out.bin", SWITCH_FAIL_OPEN, PACKAGE_NAME, 0, false, 1, DEST_ABSENT},
    {"DestinationCannotBeCreated", WHOLE, NONE, NONE, 0, 0, "out.bin", SWITCH_FAIL_OPEN, "out.bin", 0, false, 0,
     DEST_ABSENT},
    {"DestinationWriteFailsInSecondChunk", WHOLE, {4, 2 * COPY_CHUNK}, NONE, 0, 4, "out.bin",
     SWITCH_FAIL_WRITES, "out.bin", COPY_CHUNK + 100, false, 0, DEST_ANY},
    {"DestinationWriteFailsWhenFlushed", WHOLE, NONE, NONE, 0, 4, "out.bin", SWITCH_FAIL_WRITES, "out.bin", 0, false, 0,
     DEST_ANY},
    {"DestinationCloseFails", WHOLE, NONE, NONE, 0, 4, "out.bin", SWITCH_FAIL_CLOSE, "out.bin", 0, false, 0, DEST_ANY},
};

class ExtractTest : public PackageTest, public ::testing::WithParamInterface<ExtractCase> {};

TEST_P(ExtractTest, CopiesEntryOrBlamesTheRightSide) {
    const ExtractCase& c = GetParam();
    int32_t slots[FILE_COUNT];
    for (int i = 0; i < FILE_COUNT; ++i) slots[i] = BaseSlot(i);
    for (const SlotChange& change : {c.change1, c.change2}) {
        if (change.index >= 0) slots[change.index] = change.value;
    }
    std::string package = BuildPackage(slots);
    switch (c.shape) {
        case NO_PACKAGE: break;
        case HEADER_ONLY_71: WriteAll(PACKAGE_NAME, package.substr(0, PACKAGE_HEADER_SIZE - 1)); break;
        case WHOLE: WriteAll(PACKAGE_NAME, package + "trailing bytes are never read"); break;
        case CUT_IN_ENTRY: {
            size_t start = PACKAGE_HEADER_SIZE;
            for (int i = 0; i < c.index; ++i) start += static_cast<size_t>(slots[i]);
            WriteAll(PACKAGE_NAME, package.substr(0, start + static_cast<size_t>(c.cutAfter)));
            break;
        }
    }
    switch (c.fileSwitch) {
        case SWITCH_FAIL_OPEN: HeadlessFailOpen(c.switchPath); break;
        case SWITCH_FAIL_WRITES: HeadlessFailWrites(c.switchPath, c.writeBudget); break;
        case SWITCH_FAIL_CLOSE: HeadlessFailClose(c.switchPath); break;
        default: break;
    }

    unsigned char fault = 77;
    EXPECT_EQ(ExtractFile(c.index, c.destination, &fault), c.ok);
    EXPECT_EQ(fault, c.fault);

    if (c.destSize == DEST_ABSENT) {
        EXPECT_FALSE(Exists(c.destination));
    } else if (c.destSize >= 0) {
        ASSERT_TRUE(Exists(c.destination));
        std::string out = ReadAll(c.destination);
        EXPECT_EQ(static_cast<int64_t>(out.size()), c.destSize);
        EXPECT_TRUE(out == Content(c.index, slots[c.index]).substr(0, static_cast<size_t>(c.destSize)));
    }
}

INSTANTIATE_TEST_SUITE_P(Extractor, ExtractTest, ::testing::ValuesIn(kExtractCases),
                         [](const ::testing::TestParamInfo<ExtractCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(PackageTest, ExtractSkipsReadmeSlotsWhenLocatingEntries) {
    FILEENTRY table[FILE_COUNT];
    for (int i = 0; i < FILE_COUNT; ++i) table[i] = FileTable[i];
    table[3].name = "readme.txt";
    table[8].name = "ReadMe.TXT";
    int32_t slots[FILE_COUNT];
    for (int i = 0; i < FILE_COUNT; ++i) slots[i] = BaseSlot(i);
    // Whatever a readme slot holds, it is never read.
    slots[3] = 999999;
    slots[8] = -7;
    WriteAll(PACKAGE_NAME, BuildPackage(slots, table));

    for (int i = 0; i < FILE_COUNT; ++i) {
        if (IsReadmeEntry(table[i])) continue;
        unsigned char fault = 77;
        ASSERT_TRUE(ExtractFile(i, "out.bin", &fault, table)) << i;
        EXPECT_TRUE(ReadAll("out.bin") == Content(i, slots[i])) << i;
    }
    // A readme entry has nothing to extract.
    unsigned char fault = 77;
    EXPECT_FALSE(ExtractFile(3, "readme_out.bin", &fault, table));
    EXPECT_EQ(fault, 1);
    EXPECT_FALSE(Exists("readme_out.bin"));
}

TEST_F(PackageTest, ExtractSeeksPastFourGiB) {
    // Two entries of the largest size a slot can hold, then a small one; the file is sparse.
    int32_t slots[FILE_COUNT] = {};
    slots[0] = INT32_MAX;
    slots[1] = INT32_MAX;
    slots[2] = 5;
    std::string header;
    for (int32_t s : slots) AppendLittleEndian(&header, s);
    WriteAll(PACKAGE_NAME, header);
    const uintmax_t entry2 = PACKAGE_HEADER_SIZE + 2 * uintmax_t(INT32_MAX);
    std::error_code ec;
    fs::resize_file(PACKAGE_NAME, entry2, ec);
    if (ec) GTEST_SKIP() << "no room for a sparse 4 GiB file: " << ec.message();
    FILE* f = fopen(PACKAGE_NAME, "ab");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(fwrite("HELLO", 1, 5, f), 5u);
    ASSERT_EQ(fclose(f), 0);

    unsigned char fault = 77;
    ASSERT_TRUE(ExtractFile(2, "out.bin", &fault));
    EXPECT_EQ(ReadAll("out.bin"), "HELLO");
}

// ---- Round trip -------------------------------------------------------------------------

TEST_F(PackageTest, PackThenExtractGivesBackEveryFile) {
    int64_t sizes[FILE_COUNT];
    TypicalSizes(sizes);
    sizes[11] = 0;
    WriteSources(sizes);
    ASSERT_TRUE(PackFiles());

    ASSERT_TRUE(fs::create_directory("install"));
    for (int i = 0; i < FILE_COUNT; ++i) {
        std::string target = std::string("install/") + FileTable[i].name;
        unsigned char fault = 77;
        ASSERT_TRUE(ExtractFile(i, target.c_str(), &fault)) << FileTable[i].name;
        EXPECT_EQ(fault, 77);
        EXPECT_TRUE(ReadAll(target.c_str()) == ReadAll(FileTable[i].name)) << FileTable[i].name;
    }
}

}  // namespace

// ---- No memory for the copy buffer -------------------------------------------------------

TEST_F(PackageTest, NoMemoryForTheCopyBufferFailsCleanly) {
    int64_t sizes[FILE_COUNT];
    TypicalSizes(sizes);
    WriteSources(sizes);
    ASSERT_TRUE(PackFiles());
    const std::string good = ReadAll(PACKAGE_NAME);

    g_allocFault = [](const char* what) { return std::strcmp(what, "copy buffer") == 0; };
    EXPECT_FALSE(PackFiles());
    unsigned char fault = 7;
    EXPECT_FALSE(ExtractFile(3, "out.bin", &fault));
    g_allocFault = nullptr;

    EXPECT_EQ(ReadAll(PACKAGE_NAME), good) << "the package is kept";
    EXPECT_FALSE(Exists(PACKAGE_TEMP_NAME));
    EXPECT_EQ(fault, 0) << "no memory is the destination side's fault";
    EXPECT_TRUE(Exists("out.bin"));
    EXPECT_EQ(ReadAll("out.bin").size(), 0u);
}
