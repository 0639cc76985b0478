// The whole program from entry to exit on the headless backend: construction order,
// start-up failures and the packing run.
#include "app/bfio.h"
#include "app/input.h"
#include "app/memory.h"
#include "engine/package.h"
#include "platform/headless/headless.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

std::set<std::string>* g_refused = nullptr;

bool RefuseNamed(const char* what)
{
    return g_refused && g_refused->count(what) > 0;
}

std::vector<std::string> BoxTexts()
{
    std::vector<std::string> texts;
    for (const HEADLESSBOX& box : HeadlessBoxes()) texts.push_back(box.caption + ": " + box.text);
    return texts;
}

class ProgramStartTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HeadlessReset();
        g_shell = SHELLSTATE{};
        g_input = INPUTLATCHES{};
        g_refused = &refused;
        g_allocFault = RefuseNamed;
    }
    void TearDown() override
    {
        g_allocFault = nullptr;
        g_refused = nullptr;
        HeadlessReset();
    }
    void MakeSources()
    {
        for (int i = 0; i < FILE_COUNT; ++i)
            ASSERT_TRUE(WriteFileBytes(FileTable[i].name, std::string(FileTable[i].name) + " contents"));
    }
    std::set<std::string> refused;
    TEMPDIR dir;
};

TEST_F(ProgramStartTest, WithoutGraphicsTheProgramReportsAndEnds)
{
    PlatSetCursor(reinterpret_cast<PLATCURSOR>(intptr_t{55}));
    EXPECT_EQ(RunProgram(nullptr, nullptr), 0);
    std::vector<std::string> expected = {"Error: Unable to open graphics"};
    EXPECT_EQ(BoxTexts(), expected);
    EXPECT_EQ(HeadlessPumpCount(), 0) << "the loop is not entered";
    // The mouse showed busy, then the arrow, and gave the earlier cursor back at the end.
    EXPECT_EQ(HeadlessCount("SetCursor(102)"), 1);
    EXPECT_EQ(HeadlessCount("SetCursor(101)"), 1);
    EXPECT_EQ(PlatGetCursor(), reinterpret_cast<PLATCURSOR>(intptr_t{55}));
    EXPECT_EQ(g_shell.bfio, nullptr);
    EXPECT_EQ(MOUSE::Instance(), nullptr);
    EXPECT_EQ(KEYBOARD::Instance(), nullptr);
}

TEST_F(ProgramStartTest, StartUpFailuresEachShowTheirBoxInOrder)
{
    refused = {"mouse", "keyboard"};
    EXPECT_EQ(RunProgram(nullptr, ""), 0);
    std::vector<std::string> expected = {"Error: Unable to create mouse", "Error: Unable to create keyboard",
                                         "Error: Unable to open graphics"};
    EXPECT_EQ(BoxTexts(), expected);
    EXPECT_EQ(HeadlessCount("SetCursor"), 0) << "no mouse, no cursor change";
    EXPECT_EQ(HeadlessPumpCount(), 0);
}

TEST_F(ProgramStartTest, NoMemoryForTheApplicationEndsQuietly)
{
    refused = {"application"};
    EXPECT_EQ(RunProgram(nullptr, "-pack"), 0);
    EXPECT_TRUE(HeadlessBoxes().empty());
    EXPECT_FALSE(FileExists(PACKAGE_NAME));
}

TEST_F(ProgramStartTest, PackingRunIsChosenByACaseSensitiveSubstring)
{
    MakeSources();
    struct CASE {
        const char* commandLine;
        bool packs;
    };
    const CASE cases[] = {
        {"-pack", true}, {"x-packed", true}, {"/q -pack /s", true}, {"-PACK", false}, {"", false}, {nullptr, false},
    };
    for (const CASE& c : cases) {
        HeadlessReset();
        PlatDeleteFile(PACKAGE_NAME);
        EXPECT_EQ(RunProgram(nullptr, c.commandLine), 0);
        std::vector<std::string> expected;
        if (c.packs) expected.push_back("Setup: Packed files successfully !");
        expected.push_back("Error: Unable to open graphics");
        EXPECT_EQ(BoxTexts(), expected) << (c.commandLine ? c.commandLine : "(none)");
        EXPECT_EQ(FileExists(PACKAGE_NAME), c.packs);
    }
}

TEST_F(ProgramStartTest, FailedPackingRunIsReportedAndKeepsThePackage)
{
    MakeSources();
    ASSERT_TRUE(WriteFileBytes(PACKAGE_NAME, "old package"));
    PlatDeleteFile("language.ldb");
    EXPECT_EQ(RunProgram(nullptr, "-pack"), 0);
    std::vector<std::string> expected = {"Setup: Unable to pack files", "Error: Unable to open graphics"};
    EXPECT_EQ(BoxTexts(), expected);
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(PACKAGE_NAME, &bytes));
    EXPECT_EQ(bytes, "old package");
}

TEST_F(ProgramStartTest, PackingRunHappensBeforeTheInputObjects)
{
    MakeSources();
    refused = {"mouse"};
    RunProgram(nullptr, "-pack");
    std::vector<std::string> expected = {"Setup: Packed files successfully !", "Error: Unable to create mouse",
                                         "Error: Unable to open graphics"};
    EXPECT_EQ(BoxTexts(), expected);
}

}  // namespace
