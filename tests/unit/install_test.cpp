// The install run, the installation record and page 8's location editing, driven step by
// step on a real wizard (real fonts, headless window) where a whole program run would be
// clumsy: tables of the wizard's own, paths at the edge of their buffers, the progress fill
// in the frame buffer, the quick-start files, and the version rules.
#include "engine/record.h"
#include "gfx/screen.h"
#include "support/wizardrun.h"
#include "wizard/pages.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

// The update's table with two special entries: "pics.cfg" in place of "language.ldb" and
// "readme.txt" in place of "changes.txt".
const int PICS_ENTRY = 16, README_ENTRY = 17;
FILEENTRY g_specialTable[FILE_COUNT];

const FILEENTRY* SpecialTable()
{
    for (int i = 0; i < FILE_COUNT; ++i) g_specialTable[i] = FileTable[i];
    g_specialTable[PICS_ENTRY] = FILEENTRY{"pics.cfg", FileTable[PICS_ENTRY].subfolder};
    g_specialTable[README_ENTRY] = FILEENTRY{"readme.txt", FileTable[README_ENTRY].subfolder};
    return g_specialTable;
}

class WizardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetProcess();
        ASSERT_TRUE(sample.CopyFonts());
        wizard = CreateApplication();
        ASSERT_NE(wizard, nullptr);
        ASSERT_TRUE(wizard->GraphicsReady());
    }
    void TearDown() override
    {
        DestroyApplication(wizard);
        HeadlessReset();
    }

    // Page 3 shown for the installation at location, the run about to start.
    void StartRun(const std::string& location, const FILEENTRY* table = FileTable, int language = 0)
    {
        ASSERT_LT(location.size(), sizeof wizard->location);
        wizard->fileTable = table;
        wizard->language = language;
        memcpy(wizard->location, location.c_str(), location.size() + 1);
        strcpy(wizard->installedVersion, "Version 3.72 (ENG)");
        wizard->SetPage(PAGE_INSTALLING);
    }
    // Install steps until the run leaves page 3 (at most the twenty of a whole run).
    void RunSteps(int most = 20)
    {
        for (int i = 0; i < most && wizard->page == PAGE_INSTALLING; ++i) wizard->InstallStep();
    }
    // One key as the player types it, then one step of the wizard.
    void Press(int virtualKey, char character)
    {
        HeadlessKey(virtualKey, character);
        PlatPumpEvents();
        wizard->Update();
    }
    uint16_t Pixel(int x, int y) const
    {
        return reinterpret_cast<const uint16_t*>(reinterpret_cast<const char*>(g_gfx.pixels) +
                                                 static_cast<size_t>(y) * g_gfx.pitch)[x];
    }

    SAMPLEFOLDER sample;
    WIZARD* wizard = nullptr;
};

// ---- Special entries -----------------------------------------------------------------

TEST_F(WizardTest, ReadmeEntryMovesTheLanguagesReadmeOntoItsTarget)
{
    const FILEENTRY* table = SpecialTable();
    ASSERT_TRUE(sample.PackUpdate(table) && sample.WriteReadmes() && sample.MakeInstallation("game", true, table));
    StartRun(sample.At("game"), table, 2);  // French
    RunSteps();

    EXPECT_EQ(wizard->page, PAGE_COMPLETED);
    FILESET expected = sample.update;
    expected["readme.txt"] = "readme text of readme_fra.txt";
    EXPECT_EQ(Snapshot(sample.At("game")), expected);
    EXPECT_FALSE(FileExists("readme_fra.txt")) << "the readme left the working folder";
    EXPECT_TRUE(FileExists("readme_eng.txt"));
}

// Step 0 opens the chosen language's readme for a readme entry; the others do not matter.
TEST_F(WizardTest, ReadmeOfTheChosenLanguageIsCheckedBeforeAnythingIsTouched)
{
    struct CASE {
        int language;
        const char* missing;
        int page;
    };
    const CASE cases[] = {
        {1, "readme_esp.txt", PAGE_SOURCE_MISSING},
        {1, "readme_eng.txt", PAGE_INSTALLING},
        {6, "readme_sve.txt", PAGE_SOURCE_MISSING},
    };
    const FILEENTRY* table = SpecialTable();
    ASSERT_TRUE(sample.PackUpdate(table) && sample.MakeInstallation("game", true, table));
    const FILESET before = Snapshot(sample.At("game"));
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.missing);
        ASSERT_TRUE(sample.WriteReadmes());
        ASSERT_TRUE(PlatDeleteFile(c.missing));
        wizard->installIndex = 0;
        StartRun(sample.At("game"), table, c.language);
        wizard->InstallStep();
        EXPECT_EQ(wizard->page, c.page);
        EXPECT_EQ(wizard->installIndex, c.page == PAGE_INSTALLING ? 1 : 0);
        EXPECT_EQ(Snapshot(sample.At("game")), before);
    }
}

TEST_F(WizardTest, ReadmeThatCannotBeMovedStopsTheRunOnPage9)
{
    const FILEENTRY* table = SpecialTable();
    ASSERT_TRUE(sample.PackUpdate(table) && sample.WriteReadmes() && sample.MakeInstallation("game", true, table));
    StartRun(sample.At("game"), table);
    RunSteps(README_ENTRY + 1);  // the checks and every entry before the readme
    ASSERT_EQ(wizard->installIndex, README_ENTRY + 1);
    HeadlessFailReplace(true);
    wizard->InstallStep();

    EXPECT_EQ(wizard->page, PAGE_WRITE_FAILED);
    EXPECT_EQ(wizard->installIndex, README_ENTRY + 1);
    std::string readme;
    EXPECT_TRUE(ReadFileBytes(sample.At("game") + "/readme.txt", &readme) && readme == "old readme.txt");
    EXPECT_TRUE(FileExists("readme_eng.txt"));
}

// A destination fault on "pics.cfg" (in any letter case) is passed over; on any other entry
// it stops the run.
TEST_F(WizardTest, UnwritablePicsCfgIsPassedOver)
{
    struct CASE {
        const char* name;
        bool passedOver;
    };
    const CASE cases[] = {{"pics.cfg", true}, {"PICS.Cfg", true}, {"pics.cfx", false}};
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.name);
        FILEENTRY table[FILE_COUNT];
        for (int i = 0; i < FILE_COUNT; ++i) table[i] = FileTable[i];
        table[PICS_ENTRY].name = c.name;
        const std::string game = sample.At(std::string("game-") + c.name);
        ASSERT_TRUE(sample.PackUpdate(table) && sample.MakeInstallation(game, true, table));
        const std::string target = std::string("data/") + c.name;
        HeadlessClearFileFailures();
        HeadlessFailOpen((target + ".kvnew").c_str());

        wizard->installIndex = 0;
        StartRun(game, table);
        RunSteps(PICS_ENTRY + 2);
        EXPECT_EQ(wizard->page, c.passedOver ? PAGE_INSTALLING : PAGE_WRITE_FAILED);
        EXPECT_EQ(wizard->installIndex, c.passedOver ? PICS_ENTRY + 2 : PICS_ENTRY + 1);
        EXPECT_EQ(Snapshot(game).at(target), "old " + target);
        EXPECT_TRUE(TemporaryFiles(game).empty());
        if (c.passedOver) {
            RunSteps();
            EXPECT_EQ(wizard->page, PAGE_COMPLETED);
            EXPECT_EQ(Snapshot(game).at("changes.txt"), sample.update.at("changes.txt"));
        }
    }
}

// ---- Paths that do not fit -------------------------------------------------------------

// A location of 185 characters leaves room for "<location>/data/euro.cfg" (199) but not
// for "<location>/data/events_eng.cfg" (205): that step fails as the destination's fault.
TEST_F(WizardTest, TargetPathThatDoesNotFitFailsItsStepAndTouchesNothing)
{
    ASSERT_TRUE(sample.PackUpdate());
    const std::string location = sample.DeepFolder(185);
    ASSERT_FALSE(location.empty());
    ASSERT_TRUE(sample.MakeInstallation(location));
    const FILESET before = Snapshot(location);
    StartRun(location);
    RunSteps();

    EXPECT_EQ(wizard->page, PAGE_WRITE_FAILED);
    EXPECT_EQ(wizard->installIndex, 3) << "entry 2 failed";
    EXPECT_EQ(Snapshot(location), sample.Replaced(before, 0, 1));
}

// Finish opens "<location>/readme.txt" only when that path fits in 199 characters.
TEST_F(WizardTest, ReadmePathThatDoesNotFitOpensNothing)
{
    for (size_t length : {188u, 189u}) {
        SCOPED_TRACE(length);
        const std::string location = sample.Path() + "/" + std::string(length - sample.Path().size() - 1, 'r');
        memcpy(wizard->location, location.c_str(), location.size() + 1);
        wizard->quit = 0;
        wizard->SetPage(PAGE_COMPLETED);
        ASSERT_NE(wizard->buttons[4], nullptr);
        wizard->buttons[4]->autoPress = 1;  // Finish
        const size_t requests = HeadlessShellRequests().size();
        EXPECT_FALSE(wizard->Update()) << "the wizard ends either way";
        if (length == 188) {
            ASSERT_EQ(HeadlessShellRequests().size(), requests + 1);
            EXPECT_EQ(HeadlessShellRequests().back().path, location + "/readme.txt");
        } else {
            EXPECT_EQ(HeadlessShellRequests().size(), requests);
        }
    }
}

// ---- Quick-start files -----------------------------------------------------------------

TEST_F(WizardTest, QuickStartFilesAreFoundAndDeleted)
{
    struct CASE {
        const char* name;
        bool folder;
        std::vector<std::string> files;
        bool found;
        FILESET left;  // in qstart after deleting
    };
    const CASE cases[] = {
        {"no qstart folder", false, {}, false, {}},
        {"empty qstart folder", true, {}, false, {}},
        {"no quick-start file", true, {"notes.txt"}, false, {{"notes.txt", "quick start notes.txt"}}},
        {"quick-start files", true, {"a.qst", "b.qst", "notes.txt"}, true, {{"notes.txt", "quick start notes.txt"}}},
    };
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string game = sample.At(std::string("game-") + std::to_string(&c - cases));
        ASSERT_EQ(mkdir(game.c_str(), 0755), 0);
        if (c.folder) {
            ASSERT_TRUE(sample.AddQuickStarts(game, c.files));
        }
        memcpy(wizard->location, game.c_str(), game.size() + 1);

        EXPECT_EQ(wizard->DeleteQuickStarts(false), c.found);
        EXPECT_EQ(Snapshot(game + "/qstart").size(), c.files.size()) << "looking deletes nothing";
        EXPECT_TRUE(wizard->DeleteQuickStarts(true));
        EXPECT_EQ(Snapshot(game + "/qstart"), c.left);
        EXPECT_FALSE(wizard->DeleteQuickStarts(false));
    }
}

// Around a location of 186 characters the search pattern "<location>/qstart/*.qst" stops
// fitting; a found file whose own path does not fit is left alone.
TEST_F(WizardTest, QuickStartPathsThatDoNotFitAreLeftAlone)
{
    struct CASE {
        size_t length;
        std::vector<std::string> files;
        bool found;
        std::vector<std::string> left;
    };
    const std::string longName = std::string(14, 'n') + ".qst";  // 180 + 8 + 18 = 206
    const CASE cases[] = {
        {180, {"a.qst", longName}, true, {longName}},
        {186, {"a.qst"}, true, {}},
        {187, {"a.qst"}, false, {"a.qst"}},
    };
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.length);
        const std::string location = sample.DeepFolder(c.length);
        ASSERT_FALSE(location.empty());
        ASSERT_TRUE(sample.AddQuickStarts(location, c.files));
        memcpy(wizard->location, location.c_str(), location.size() + 1);

        EXPECT_EQ(wizard->DeleteQuickStarts(false), c.found);
        EXPECT_TRUE(wizard->DeleteQuickStarts(true));
        std::vector<std::string> left;
        for (const auto& file : Snapshot(location + "/qstart")) left.push_back(file.first);
        EXPECT_EQ(left, c.left);
    }
}

// ---- Progress --------------------------------------------------------------------------

// At 640 by 480 the box is 426 wide; the fill grows from boxX + 10 by a truncated
// eighteenth of 406 per file, blue over the sunken bar's rows boxY + 10 to boxY + 30.
TEST_F(WizardTest, ProgressFillReachesItsEdgeAfterSteps9And18)
{
    ASSERT_TRUE(sample.PackUpdate() && sample.MakeInstallation("game"));
    StartRun(sample.At("game"));
    ASSERT_EQ(wizard->boxWidth, 426);
    const int x = wizard->boxX, y = wizard->boxY;
    const int edges[2][2] = {{9, 213}, {18, 416}};  // after step k, the right edge is boxX + edge
    for (const auto& e : edges) {
        SCOPED_TRACE(e[0]);
        while (wizard->installIndex <= e[0]) wizard->InstallStep();
        ASSERT_EQ(wizard->page, PAGE_INSTALLING);
        for (int row : {y + 10, y + 20, y + 30}) {
            EXPECT_EQ(Pixel(x + 10, row), 0x001F) << row;
            EXPECT_EQ(Pixel(x + e[1], row), 0x001F) << row;
            EXPECT_NE(Pixel(x + e[1] + 1, row), 0x001F) << row;
        }
        EXPECT_NE(Pixel(x + 20, y + 9), 0x001F);
        EXPECT_NE(Pixel(x + 20, y + 31), 0x001F);
    }
}

// ---- Location editing on page 8 --------------------------------------------------------

TEST_F(WizardTest, LocationEditingAppendsPrintableCharactersAndRemovesTheLast)
{
    struct CASE {
        const char* name;
        const char* before;
        int key;
        char character;
        const char* after;
    };
    const CASE cases[] = {
        {"typed letter", "c:\\gam", 0x45, 'e', "c:\\game"},
        {"backspace", "c:\\game", VK_BACK, '\b', "c:\\gam"},
        {"backspace on empty", "", VK_BACK, '\b', ""},
        {"accented letter", "c:\\gam", 0xDE, static_cast<char>(233), "c:\\gam"},
        {"control character", "c:\\gam", VK_TAB, '\t', "c:\\gam"},
        {"arrow key", "c:\\gam", VK_LEFT, 0, "c:\\gam"},
    };
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.name);
        strcpy(wizard->location, c.before);
        wizard->SetPage(PAGE_LOCATION);
        wizard->Present();  // nothing left to show
        ASSERT_EQ(g_gfx.dirtyLeft, -1);
        Press(c.key, c.character);
        EXPECT_STREQ(wizard->location, c.after);
        EXPECT_EQ(wizard->page, PAGE_LOCATION);
        EXPECT_NE(g_gfx.dirtyLeft, -1) << "the page is drawn again whatever the key";
        ASSERT_NE(wizard->buttons[2], nullptr);
        EXPECT_EQ(std::string(wizard->buttons[2]->text), std::string(c.after) + "|");
    }
}

TEST_F(WizardTest, LocationNeverGrowsWiderThanItsField)
{
    wizard->location[0] = '\0';
    wizard->SetPage(PAGE_LOCATION);
    for (int i = 0; i < 120; ++i) Press(0x57, 'W');
    const std::string typed = wizard->location;
    ASSERT_FALSE(typed.empty());
    EXPECT_LT(typed.size(), 120u);
    EXPECT_EQ(typed, std::string(typed.size(), 'W'));
    EXPECT_LE(wizard->TextWidth(FONT_WIDGET, typed.c_str()), wizard->boxWidth);
    EXPECT_GT(wizard->TextWidth(FONT_WIDGET, (typed + "W").c_str()), wizard->boxWidth);
}

// Code 127 is printable for the field and draws nothing, so the width never stops it: the
// length limit alone does.
TEST_F(WizardTest, LocationHoldsAtMost199Characters)
{
    wizard->location[0] = '\0';
    wizard->SetPage(PAGE_LOCATION);
    for (int i = 0; i < 205; ++i) Press(0x41, '\x7f');
    const std::string full(199, '\x7f');
    ASSERT_LE(wizard->TextWidth(FONT_WIDGET, full.c_str()), wizard->boxWidth);
    EXPECT_EQ(std::string(wizard->location), full);
    ASSERT_NE(wizard->buttons[2], nullptr);
    EXPECT_EQ(std::string(wizard->buttons[2]->text), full) << "the field shows what fits of the location and bar";
    Press(VK_BACK, '\b');
    EXPECT_EQ(std::string(wizard->location), full.substr(1));
}

// ---- Installation record ---------------------------------------------------------------

TEST(VersionRuleTest, CompatibleVersionsContainOneOfTheFourReleases)
{
    struct CASE {
        const char* version;
        bool compatible;
    };
    const CASE cases[] = {
        {"Version 3.70", true},  {"Version 3.71 (ENG)", true}, {"v3.72", true},           {UPDATE_VERSION, true},
        {"Version 13.705", true}, {"Version 3.74", false},     {"Version 3.7", false},    {"Version 3.69", false},
        {"", false},             {"3,70", false},              {"Version 3.6 9", false},
    };
    for (const CASE& c : cases) EXPECT_EQ(CompatibleVersion(c.version), c.compatible) << c.version;
    EXPECT_FALSE(CompatibleVersion(nullptr));
}

TEST(VersionRuleTest, OnlyTheFirstThreeSixtyNineIsRewritten)
{
    struct CASE {
        const char* before;
        const char* after;
    };
    const CASE cases[] = {
        {"Version 3.69 (ENG)", "Version 3.70 (ENG)"},
        {"3.69 and 3.69", "3.70 and 3.69"},
        {"Version 3.72", "Version 3.72"},
        {"13.695", "13.705"},
        {"3.6", "3.6"},
    };
    for (const CASE& c : cases) {
        char text[SETTING_SIZE];
        strcpy(text, c.before);
        RewriteOldVersion(text);
        EXPECT_STREQ(text, c.after) << c.before;
    }
}

class RecordTest : public ::testing::Test {
protected:
    void SetUp() override { HeadlessReset(); }
    void TearDown() override
    {
        EXPECT_EQ(HeadlessRegOpenKeys(), 0) << "every opened key is closed";
        HeadlessReset();
    }
};

TEST_F(RecordTest, ReadSettingReadsWholeTerminatedValuesOnly)
{
    struct CASE {
        const char* name;
        bool key;
        const char* value;  // stored under "Version" when not null
        std::string bytes;
        HEADLESSREGFAIL fail;
        bool read;
        std::string text;
    };
    const std::string full(199, 'v');
    const CASE cases[] = {
        {"value with its zero", true, "Version", RegText("Version 3.72"), {}, true, "Version 3.72"},
        {"199 characters and the zero", true, "Version", RegText(full), {}, true, full},
        {"199 bytes without a zero", true, "Version", full, {}, true, full},
        {"200 bytes without a zero", true, "Version", full + "v", {}, false, ""},
        {"201 bytes", true, "Version", RegText(full + "v"), {}, false, ""},
        {"empty text", true, "Version", RegText(""), {}, true, ""},
        {"no key", false, nullptr, "", {}, false, ""},
        {"key without the value", true, "Location", RegText("c:\\games"), {}, false, ""},
        {"key cannot be opened", true, "Version", RegText("Version 3.72"), {true, false, false, false}, false, ""},
        {"value cannot be queried", true, "Version", RegText("Version 3.72"), {false, true, false, false}, false,
         ""},
    };
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.name);
        HeadlessReset();
        if (c.key) HeadlessRegPut(KV_RECORD_KEY, c.value, c.bytes);
        HeadlessRegFailures() = c.fail;
        char buffer[SETTING_SIZE];
        memset(buffer, 'z', sizeof buffer);
        EXPECT_EQ(ReadSetting(INSTALL_KEY, "Version", buffer, sizeof buffer), c.read);
        ASSERT_NE(memchr(buffer, '\0', sizeof buffer), nullptr) << "the buffer is always a terminated text";
        if (c.read) {
            EXPECT_EQ(std::string(buffer), c.text);
        }
        EXPECT_EQ(HeadlessRegOpenKeys(), 0);
    }
}

TEST_F(RecordTest, WriteSettingStoresTheTextWithItsZeroAndRecreatesTheKey)
{
    HeadlessRegPut(KV_RECORD_KEY, "Version", RegText("Version 3.72"));
    HeadlessRegPut(KV_RECORD_KEY, "Location", RegText("c:\\games"));
    EXPECT_TRUE(WriteSetting(INSTALL_KEY, "Version", UPDATE_VERSION));
    EXPECT_EQ(RecordValue("Version"), RegText(UPDATE_VERSION));
    EXPECT_EQ(RecordValue("Location"), RegText("c:\\games")) << "other values stay";

    // A key removed meanwhile is made again, holding only the written value.
    HeadlessRegDeleteKey(KV_RECORD_KEY);
    EXPECT_TRUE(WriteSetting(INSTALL_KEY, "Version", UPDATE_VERSION));
    EXPECT_EQ(RecordValue("Version"), RegText(UPDATE_VERSION));
    EXPECT_EQ(RecordValue("Location"), "(missing)");
    char buffer[SETTING_SIZE];
    EXPECT_TRUE(ReadSetting(INSTALL_KEY, "Version", buffer, sizeof buffer));
    EXPECT_TRUE(CompatibleVersion(buffer)) << "the update's own version takes it again";
}

TEST_F(RecordTest, WriteSettingFailsWhenTheKeyOrValueCannotBeWritten)
{
    const HEADLESSREGFAIL fails[] = {{false, false, true, false}, {false, false, false, true}};
    for (const HEADLESSREGFAIL& fail : fails) {
        HeadlessReset();
        HeadlessRegPut(KV_RECORD_KEY, "Version", RegText("Version 3.72"));
        HeadlessRegFailures() = fail;
        EXPECT_FALSE(WriteSetting(INSTALL_KEY, "Version", UPDATE_VERSION)) << fail.create;
        EXPECT_EQ(RecordValue("Version"), RegText("Version 3.72"));
        EXPECT_EQ(HeadlessRegOpenKeys(), 0);
    }
}

}  // namespace
