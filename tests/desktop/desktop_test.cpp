// The Linux desktop backend's own services: the file-backed registry store and the POSIX
// file operations, in temporary folders.
#include "platform/platform.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <sys/stat.h>

// The backend calls into the core only through these; nothing here runs them.
intptr_t WindowProcedure(PLATWINDOW, uint32_t, uintptr_t, intptr_t) { return 0; }
int RunProgram(PLATINSTANCE, const char*) { return 0; }

namespace {

const char* const Key = "Software\\Brightfold Ltd\\Kickvale 99-00";

class DesktopTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("KVUPDATE_REGISTRY", (dir.Path() + "/store").c_str(), 1); }
    void TearDown() override { unsetenv("KVUPDATE_REGISTRY"); }
    TEMPDIR dir;
};

TEST_F(DesktopTest, RegistryStoreKeepsTextValuesUnderTheKeyPath)
{
    PLATKEY key = nullptr;
    EXPECT_FALSE(PlatRegOpenKey(Key, &key)) << "the key does not exist yet";
    ASSERT_TRUE(PlatRegCreateKey(Key, &key));
    EXPECT_TRUE(PlatRegSetValue(key, "Version", "Version 3.72 (ENG)"));
    PlatRegCloseKey(key);

    std::string stored;
    ASSERT_TRUE(ReadFileBytes(dir.Path() + "/store/Software/Brightfold Ltd/Kickvale 99-00/Version", &stored));
    EXPECT_EQ(stored, std::string("Version 3.72 (ENG)\0", 19)) << "stored with its terminating zero";

    ASSERT_TRUE(PlatRegOpenKey(Key, &key));
    char buffer[200];
    uint32_t size = sizeof buffer;
    ASSERT_TRUE(PlatRegQueryValue(key, "Version", buffer, &size));
    EXPECT_EQ(size, 19u);
    EXPECT_STREQ(buffer, "Version 3.72 (ENG)");
    size = sizeof buffer;
    EXPECT_FALSE(PlatRegQueryValue(key, "Location", buffer, &size)) << "a missing value";

    // A value longer than the buffer is not read (and not cut).
    std::string longValue(250, 'x');
    EXPECT_TRUE(PlatRegSetValue(key, "Location", longValue.c_str()));
    size = sizeof buffer;
    EXPECT_FALSE(PlatRegQueryValue(key, "Location", buffer, &size));
    // Exactly the capacity fits.
    std::string exact(199, 'y');
    EXPECT_TRUE(PlatRegSetValue(key, "Location", exact.c_str()));
    size = sizeof buffer;
    EXPECT_TRUE(PlatRegQueryValue(key, "Location", buffer, &size));
    EXPECT_EQ(size, 200u);
    PlatRegCloseKey(key);
}

TEST_F(DesktopTest, RegistryStoreRefusesPathsThatLeaveIt)
{
    PLATKEY key = nullptr;
    for (const char* path : {"Software\\..\\..\\etc", "Software\\a/b", "..\\x"})
        EXPECT_FALSE(PlatRegCreateKey(path, &key)) << path;
    ASSERT_TRUE(PlatRegCreateKey(Key, &key));
    for (const char* name : {"../Version", "", ".."}) EXPECT_FALSE(PlatRegSetValue(key, name, "x")) << name;
    PlatRegCloseKey(key);
}

TEST_F(DesktopTest, RenameNeverReplacesButReplaceDoes)
{
    ASSERT_TRUE(WriteFileBytes("a", "A"));
    ASSERT_TRUE(WriteFileBytes("b", "B"));
    EXPECT_FALSE(PlatRenameFile("a", "b"));
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes("b", &bytes));
    EXPECT_EQ(bytes, "B");
    EXPECT_TRUE(PlatRenameFile("a", "c"));
    EXPECT_FALSE(FileExists("a"));
    EXPECT_TRUE(PlatReplaceFile("c", "b"));
    ASSERT_TRUE(ReadFileBytes("b", &bytes));
    EXPECT_EQ(bytes, "A");
    EXPECT_FALSE(FileExists("c"));
}

TEST_F(DesktopTest, MakeWritableAndDelete)
{
    ASSERT_TRUE(WriteFileBytes("ro", "x"));
    chmod("ro", 0400);
    EXPECT_TRUE(PlatMakeWritable("ro"));
    struct stat st;
    ASSERT_EQ(stat("ro", &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_TRUE(PlatDeleteFile("ro"));
    EXPECT_FALSE(PlatDeleteFile("ro"));
    EXPECT_FALSE(PlatMakeWritable("ro"));
}

TEST_F(DesktopTest, WildcardSearchFindsRegularFilesOfOneFolder)
{
    ASSERT_EQ(mkdir("qstart", 0755), 0);
    ASSERT_EQ(mkdir("qstart/dir.qst", 0755), 0);
    for (const char* f : {"qstart/one.qst", "qstart/two.qst", "qstart/other.txt", "qstart/.hidden.qst"})
        ASSERT_TRUE(WriteFileBytes(f, "q"));
    char name[64];
    std::set<std::string> found;
    PLATFIND search = PlatFindFirst("qstart/*.qst", name, sizeof name);
    ASSERT_NE(search, nullptr);
    do found.insert(name);
    while (PlatFindNext(search, name, sizeof name));
    PlatFindClose(search);
    EXPECT_EQ(found, (std::set<std::string>{"one.qst", "two.qst"}));

    EXPECT_EQ(PlatFindFirst("qstart/*.none", name, sizeof name), nullptr);
    EXPECT_EQ(PlatFindFirst("missing/*.qst", name, sizeof name), nullptr);
    char tiny[4];
    EXPECT_EQ(PlatFindFirst("qstart/*.qst", tiny, sizeof tiny), nullptr) << "names that do not fit are not cut";
}

TEST_F(DesktopTest, CurrentDirectoryMustFit)
{
    char buffer[4096];
    ASSERT_TRUE(PlatGetCurrentDirectory(buffer, sizeof buffer));
    EXPECT_EQ(std::string(buffer), dir.Path());
    char tiny[4];
    EXPECT_FALSE(PlatGetCurrentDirectory(tiny, sizeof tiny));
}

}  // namespace
