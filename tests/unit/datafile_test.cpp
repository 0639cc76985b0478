// The program folder and the data-file stream, in temporary folders.
#include "app/datafile.h"
#include "app/folder.h"
#include "app/memory.h"
#include "platform/headless/headless.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <unistd.h>

namespace {

class DataFileTest : public ::testing::Test {
protected:
    void SetUp() override { HeadlessReset(); }
    void TearDown() override
    {
        g_allocFault = nullptr;
        HeadlessReset();
    }
    TEMPDIR dir;
};

TEST_F(DataFileTest, FolderIsTheCurrentDirectoryWithoutTrailingSeparator)
{
    FOLDER folder;
    EXPECT_EQ(std::string(folder.Path()), dir.Path());
    ASSERT_EQ(chdir("/"), 0);
    FOLDER root;
    EXPECT_STREQ(root.Path(), "") << "a root loses its separator";
    // Joining restores it: the file opens as /<name>.
    DATAFILE stream;
    EXPECT_TRUE(stream.Open(&root, "etc/hostname", 0, FILE_READ) || access("/etc/hostname", R_OK) != 0);
}

TEST_F(DataFileTest, UnreadableCurrentDirectoryLeavesThePathEmpty)
{
    HeadlessFailCurrentDirectory(true);
    FOLDER folder;
    EXPECT_STREQ(folder.Path(), "");
    HeadlessFailCurrentDirectory(false);
    folder.UseCurrentDirectory();
    EXPECT_EQ(std::string(folder.Path()), dir.Path());
}

TEST_F(DataFileTest, ReadLongByteOrders)
{
    ASSERT_TRUE(WriteFileBytes("v.bin", std::string("\x01\x02\x03\x04\x01\x00\x00\x00\xFF\xFF\xFF\xFF", 12)));
    FOLDER folder;
    struct CASE {
        uint8_t order;
        int32_t first, second, third;
    };
    const CASE cases[] = {
        {0, 0x04030201, 1, -1},
        {1, 0x04030201, 1, -1},  // anything but 2 is least significant byte first
        {2, 0x01020304, 0x01000000, -1},
    };
    for (const CASE& c : cases) {
        DATAFILE stream;
        ASSERT_TRUE(stream.Open(&folder, "v.bin", c.order, FILE_READ));
        int32_t a, b, d, e;
        EXPECT_TRUE(stream.ReadLong(&a));
        EXPECT_TRUE(stream.ReadLong(&b));
        EXPECT_TRUE(stream.ReadLong(&d));
        EXPECT_FALSE(stream.ReadLong(&e)) << "end of file";
        EXPECT_EQ(a, c.first);
        EXPECT_EQ(b, c.second);
        EXPECT_EQ(d, c.third);
    }
}

TEST_F(DataFileTest, ModesAllowOnlyTheirOperations)
{
    ASSERT_TRUE(WriteFileBytes("f.bin", "ABCDEFGH"));
    FOLDER folder;
    struct CASE {
        int32_t mode;
        bool reads;
        bool writes;
    };
    const CASE cases[] = {
        {FILE_READ_TEXT, false, false}, {FILE_WRITE_TEXT, false, false}, {FILE_READ, true, false},
        {FILE_WRITE, false, true},      {FILE_APPEND, true, true},
    };
    for (const CASE& c : cases) {
        ASSERT_TRUE(WriteFileBytes("f.bin", "ABCDEFGH"));
        DATAFILE stream;
        ASSERT_TRUE(stream.Open(&folder, "f.bin", 0, c.mode)) << c.mode;
        int32_t value;
        char block[2];
        EXPECT_EQ(stream.ReadLong(&value), c.reads) << c.mode;
        EXPECT_EQ(stream.ReadBlock(block, 2), c.reads) << c.mode;
        EXPECT_EQ(stream.WriteByte('z'), c.writes) << c.mode;
        EXPECT_TRUE(stream.Close());
    }
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes("f.bin", &bytes));
    EXPECT_EQ(bytes, "ABCDEFGHz") << "append writes at the end";
}

TEST_F(DataFileTest, ReadBlockCounts)
{
    ASSERT_TRUE(WriteFileBytes("b.bin", "xyz"));
    FOLDER folder;
    DATAFILE stream;
    ASSERT_TRUE(stream.Open(&folder, "b.bin", 0, FILE_READ));
    char buffer[8] = {};
    EXPECT_TRUE(stream.ReadBlock(buffer, 0));
    EXPECT_FALSE(stream.ReadBlock(buffer, -1));
    EXPECT_TRUE(stream.ReadBlock(buffer, 2));
    EXPECT_EQ(std::string(buffer, 2), "xy");
    EXPECT_FALSE(stream.ReadBlock(buffer, 2)) << "only one byte is left";
}

TEST_F(DataFileTest, OpenRefusals)
{
    FOLDER folder;
    DATAFILE stream;
    EXPECT_FALSE(stream.Open(&folder, "m5", 0, 5));
    EXPECT_FALSE(stream.Open(&folder, "m-1", 0, -1));
    EXPECT_FALSE(FileExists("m5"));
    EXPECT_FALSE(FileExists("m-1"));
    EXPECT_FALSE(stream.Open(&folder, "missing", 0, FILE_READ));

    // Appending with a byte order is refused, after the file was created.
    for (uint8_t order : {1, 2}) {
        std::string name = "append" + std::to_string(order);
        EXPECT_FALSE(stream.Open(&folder, name.c_str(), order, FILE_APPEND));
        EXPECT_TRUE(FileExists(name));
        EXPECT_FALSE(stream.WriteByte('x'));
        int32_t v;
        EXPECT_FALSE(stream.ReadLong(&v));
    }

    // A joined path longer than the buffer is refused rather than cut.
    std::string longName(600, 'n');
    EXPECT_FALSE(stream.Open(&folder, longName.c_str(), 0, FILE_WRITE));
}

TEST_F(DataFileTest, FlushRunBytes)
{
    struct CASE {
        uint8_t value;
        uint8_t count;
        int32_t mode;
        std::string bytes;
    };
    const CASE cases[] = {
        {0x41, 1, FILE_WRITE, "\x41"},
        {0xC5, 1, FILE_WRITE, "\xC1\xC5"},
        {0x10, 3, FILE_WRITE, std::string("\xC3\x10", 2)},
        {0xBF, 1, FILE_WRITE, "\xBF"},
        {0x00, 0, FILE_WRITE, ""},
        {0x10, 3, FILE_APPEND, ""},
        {0x10, 3, FILE_WRITE_TEXT, ""},
    };
    FOLDER folder;
    for (const CASE& c : cases) {
        DATAFILE stream;
        ASSERT_TRUE(stream.Open(&folder, "run.bin", 0, c.mode));
        stream.SetPendingRun(c.value, c.count);
        stream.Close();
        std::string bytes;
        ASSERT_TRUE(ReadFileBytes("run.bin", &bytes));
        EXPECT_EQ(bytes, c.bytes) << int(c.value) << "x" << int(c.count) << " mode " << c.mode;
        unlink("run.bin");
    }
    // The run is written once: a second flush finds nothing.
    DATAFILE stream;
    ASSERT_TRUE(stream.Open(&folder, "run.bin", 0, FILE_WRITE));
    stream.SetPendingRun(0x41, 1);
    stream.FlushRun();
    stream.FlushRun();
    stream.Close();
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes("run.bin", &bytes));
    EXPECT_EQ(bytes, "A");
}

TEST_F(DataFileTest, CloseAndEmptyObjects)
{
    DATAFILE never;
    EXPECT_TRUE(never.Close()) << "closing a stream that was never opened";
    int32_t v;
    EXPECT_FALSE(never.ReadLong(&v));

    // A failed close is reported.
    HeadlessFailClose("closing.bin");
    FOLDER folder;
    DATAFILE stream;
    ASSERT_TRUE(stream.Open(&folder, "closing.bin", 0, FILE_WRITE));
    EXPECT_TRUE(stream.WriteByte(1));
    EXPECT_FALSE(stream.Close());

    // Objects whose storage could not be had do nothing.
    g_allocFault = [](const char*) { return true; };
    FOLDER emptyFolder;
    DATAFILE emptyStream;
    g_allocFault = nullptr;
    EXPECT_TRUE(emptyFolder.Empty());
    EXPECT_TRUE(emptyStream.Empty());
    EXPECT_STREQ(emptyFolder.Path(), "");
    EXPECT_FALSE(emptyStream.Open(&folder, "x.bin", 0, FILE_WRITE));
    EXPECT_FALSE(stream.Open(&emptyFolder, "x.bin", 0, FILE_WRITE));
    EXPECT_FALSE(FileExists("x.bin"));
    EXPECT_FALSE(emptyStream.WriteByte(1));
    emptyStream.FlushRun();
    EXPECT_TRUE(emptyStream.Close());
}

}  // namespace
