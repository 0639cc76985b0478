// The whole program from entry to exit on the headless backend, played with scripted clicks
// and keys against a sample installation: the typical update, the ways it is refused before
// anything is touched, failures in the middle of the run and the resumed run, leaving early,
// the quick-start files and the installation record.
//
// With KV_FRAME_DIR set to a folder, the pages met on the way are saved there as pictures.
#include "gfx/screen.h"
#include "support/wizardrun.h"
#include "wizard/pages.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace {

class ScenarioTest : public ::testing::Test {
protected:
    void SetUp() override { ResetProcess(); }
    void TearDown() override { HeadlessReset(); }
};

typedef std::vector<int> PAGES;

// The right edge of the blue progress fill in the frame buffer's bar, -1 when the bar is empty.
int FillRightEdge(const WIZARD& w)
{
    const int y = w.boxY + 20;
    const uint16_t* row = reinterpret_cast<const uint16_t*>(reinterpret_cast<const char*>(g_gfx.pixels) +
                                                            static_cast<size_t>(y) * g_gfx.pitch);
    int edge = -1;
    for (int x = w.boxX + 10; x <= w.boxX + w.boxWidth - 10; ++x)
        if (row[x] == 0x001F) edge = x;
    return edge;
}

std::string CutPackage(long size)
{
    std::string bytes;
    if (!ReadFileBytes(PACKAGE_NAME, &bytes)) return "no package to cut";
    bytes.resize(static_cast<size_t>(size));
    return WriteFileBytes(PACKAGE_NAME, bytes) ? "" : "package not written";
}

long PackageSize()
{
    std::string bytes;
    return ReadFileBytes(PACKAGE_NAME, &bytes) ? static_cast<long>(bytes.size()) : -1;
}

// Length of the data blocks of entries 0..count-1 in the packed update.
long BlocksBefore(const SAMPLEFOLDER& sample, int count)
{
    long total = 0;
    for (int i = 0; i < count; ++i) total += static_cast<long>(sample.update.at(RelativeTarget(FileTable[i])).size());
    return total;
}

TEST_F(ScenarioTest, TypicalRunReplacesEveryFileRecordsTheVersionAndOpensTheReadme)
{
    SAMPLEFOLDER sample;
    ASSERT_TRUE(sample.Standard());
    const std::string game = sample.At("game");
    ASSERT_TRUE(WriteFileBytes(game + "/saved.gam", "a saved game"));  // not the update's: left alone

    std::string shownInstalled, shownNew;
    std::vector<std::pair<int, int>> progress;  // installIndex, right edge of the fill
    int boxRight = 0;
    PLAYER player;
    player.watch = [&](WIZARD& w) {
        if (w.page == PAGE_VERSIONS && w.buttons[6] && w.buttons[8]) {
            shownInstalled = w.buttons[6]->text;
            shownNew = w.buttons[8]->text;
        }
        if (w.page != PAGE_INSTALLING) return;
        progress.emplace_back(w.installIndex, FillRightEdge(w));
        boxRight = w.boxX + w.boxWidth - 10;
    };
    player.Click(PAGE_LANGUAGE, 1)  // "Install in English"
        .SaveFrame(PAGE_VERSIONS, "scenario_versions.png")
        .Enter(PAGE_VERSIONS)
        .Click(PAGE_COMPLETED, 4);  // Finish

    EXPECT_EQ(player.Run(), 0);
    EXPECT_TRUE(player.Finished()) << "script stopped at step " << player.done;
    EXPECT_EQ(player.pages, (PAGES{PAGE_LANGUAGE, PAGE_VERSIONS, PAGE_INSTALLING, PAGE_COMPLETED}));
    EXPECT_EQ(shownInstalled, "Version 3.72 (ENG)");
    EXPECT_EQ(shownNew, UPDATE_VERSION);

    // Twenty steps on page 3: the checks, eighteen files, the finish; the bar starts empty,
    // grows with every file and is full after the last one.
    ASSERT_EQ(progress.size(), 20u);
    for (size_t k = 0; k < progress.size(); ++k) EXPECT_EQ(progress[k].first, static_cast<int>(k));
    EXPECT_EQ(progress[0].second, -1);
    for (size_t k = 2; k < progress.size(); ++k) EXPECT_GT(progress[k].second, progress[k - 1].second) << k;
    EXPECT_EQ(progress.back().second, boxRight);

    FILESET expected = sample.update;
    expected["saved.gam"] = "a saved game";
    EXPECT_EQ(Snapshot(game), expected) << "every file byte for byte, and no temporary file left";

    EXPECT_EQ(RecordValue("Version"), RegText(UPDATE_VERSION));
    EXPECT_EQ(RecordValue("Version").size(), 43u);
    EXPECT_EQ(RecordValue("Location"), RegText(game));
    ASSERT_EQ(HeadlessShellRequests().size(), 1u);
    EXPECT_EQ(HeadlessShellRequests()[0].verb, "open");
    EXPECT_EQ(HeadlessShellRequests()[0].path, game + "/readme.txt");
    EXPECT_EQ(HeadlessShellRequests()[0].showCommand, SW_SHOWNORMAL);
    EXPECT_EQ(HeadlessRegOpenKeys(), 0);
}

TEST_F(ScenarioTest, VersionThreeSixtyNineIsShownAsThreeSeventyAndTakesTheUpdate)
{
    SAMPLEFOLDER sample;
    ASSERT_TRUE(sample.Standard());
    SAMPLEFOLDER::Record("Version 3.69 (ENG)", sample.At("game"));

    std::string shown, recordedMeanwhile;
    PLAYER player;
    player.watch = [&](WIZARD& w) {
        if (w.page != PAGE_VERSIONS || !w.buttons[6]) return;
        shown = w.buttons[6]->text;
        recordedMeanwhile = RecordValue("Version");
    };
    player.Click(PAGE_LANGUAGE, 1).Enter(PAGE_VERSIONS).Enter(PAGE_COMPLETED);

    EXPECT_EQ(player.Run(), 0);
    EXPECT_TRUE(player.Finished());
    EXPECT_EQ(shown, "Version 3.70 (ENG)");
    EXPECT_EQ(recordedMeanwhile, RegText("Version 3.69 (ENG)"));
    EXPECT_EQ(player.pages, (PAGES{PAGE_LANGUAGE, PAGE_VERSIONS, PAGE_INSTALLING, PAGE_COMPLETED}));
    EXPECT_EQ(Snapshot(sample.At("game")), sample.update);
    EXPECT_EQ(RecordValue("Version"), RegText(UPDATE_VERSION));
}

// An incompatible version, a missing package and a damaged one are all found by the first
// step: the installation is not touched and the record keeps its version.
TEST_F(ScenarioTest, RunRefusedBeforeAnyFileIsTouched)
{
    struct CASE {
        const char* name;
        const char* version;
        std::function<std::string(SAMPLEFOLDER&)> damage;  // "" when done
        int page;
        const char* frame = nullptr;
    };
    auto none = [](SAMPLEFOLDER&) { return std::string(); };
    auto removed = [](SAMPLEFOLDER&) { return PlatDeleteFile(PACKAGE_NAME) ? "" : std::string("not removed"); };
    const CASE cases[] = {
        {"incompatible version", "Version 3.74 (ENG)", none, PAGE_INCOMPATIBLE},
        {"no package", "Version 3.72 (ENG)", removed, PAGE_SOURCE_MISSING},
        {"no package and an incompatible version", "Version 3.74 (ENG)", removed, PAGE_SOURCE_MISSING},
        {"package cut inside entry 7", "Version 3.72 (ENG)",
         [](SAMPLEFOLDER& s) { return CutPackage(PACKAGE_HEADER_SIZE + BlocksBefore(s, 7) + 10); },
         PAGE_SOURCE_MISSING, "scenario_source_missing.png"},
        {"package one byte short", "Version 3.72 (ENG)", [](SAMPLEFOLDER&) { return CutPackage(PackageSize() - 1); },
         PAGE_SOURCE_MISSING},
        {"package shorter than its header", "Version 3.72 (ENG)", [](SAMPLEFOLDER&) { return CutPackage(40); },
         PAGE_SOURCE_MISSING},
        {"empty package", "Version 3.72 (ENG)", [](SAMPLEFOLDER&) { return CutPackage(0); }, PAGE_SOURCE_MISSING},
        {"negative size for entry 3", "Version 3.72 (ENG)",
         [](SAMPLEFOLDER&) {
             std::string bytes;
             if (!ReadFileBytes(PACKAGE_NAME, &bytes)) return std::string("no package");
             bytes.replace(3 * 4, 4, "\xFF\xFF\xFF\xFF", 4);
             return WriteFileBytes(PACKAGE_NAME, bytes) ? std::string() : std::string("not written");
         },
         PAGE_SOURCE_MISSING},
    };
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.name);
        ResetProcess();
        SAMPLEFOLDER sample;
        ASSERT_TRUE(sample.Standard());
        SAMPLEFOLDER::Record(c.version, sample.At("game"));
        ASSERT_EQ(c.damage(sample), "");
        const FILESET before = Snapshot(sample.At("game"));

        PLAYER player;
        player.Click(PAGE_LANGUAGE, 1).Enter(PAGE_VERSIONS);
        if (c.frame) player.SaveFrame(c.page, c.frame);
        player.Click(c.page, 4);  // Exit in the row

        EXPECT_EQ(player.Run(), 0);
        EXPECT_TRUE(player.Finished()) << "script stopped at step " << player.done;
        EXPECT_EQ(player.pages, (PAGES{PAGE_LANGUAGE, PAGE_VERSIONS, PAGE_INSTALLING, c.page}));
        EXPECT_EQ(Snapshot(sample.At("game")), before);
        EXPECT_EQ(RecordValue("Version"), RegText(c.version));
        EXPECT_TRUE(HeadlessShellRequests().empty());
    }
}

TEST_F(ScenarioTest, MissingDataFolderStopsTheRunUntilTheLocationIsCorrected)
{
    SAMPLEFOLDER sample;
    ASSERT_TRUE(sample.CopyFonts() && sample.PackUpdate() && sample.WriteReadmes());
    ASSERT_TRUE(sample.MakeInstallation("game"));
    ASSERT_TRUE(sample.MakeInstallation("gamf", false));  // the executable, but no "data"
    SAMPLEFOLDER::Record("Version 3.72 (ENG)", sample.At("gamf"));
    const FILESET game = Snapshot(sample.At("game")), gamf = Snapshot(sample.At("gamf"));

    int failedAt = -1;
    FILESET gamfAtFailure;
    std::string corrected;
    PLAYER player;
    player.Click(PAGE_LANGUAGE, 1)
        .Enter(PAGE_VERSIONS)
        .When(PLAYER::OnPage(PAGE_WRITE_FAILED),
              [&](WIZARD& w) {
                  failedAt = w.installIndex;
                  gamfAtFailure = Snapshot(sample.At("gamf"));
              })
        .SaveFrame(PAGE_WRITE_FAILED, "scenario_write_failed.png")
        .Click(PAGE_WRITE_FAILED, 3)  // < Back
        .Key(PAGE_LOCATION, VK_BACK, '\b')
        .Type(PAGE_LOCATION, "e")
        .SaveFrame(PAGE_LOCATION, "scenario_location.png")
        .When(PLAYER::OnPage(PAGE_LOCATION), [&](WIZARD& w) { corrected = w.location; })
        .Click(PAGE_LOCATION, 4)  // Next >
        .Enter(PAGE_VERSIONS)
        .Enter(PAGE_COMPLETED);

    EXPECT_EQ(player.Run(), 0);
    EXPECT_TRUE(player.Finished()) << "script stopped at step " << player.done;
    EXPECT_EQ(player.pages, (PAGES{PAGE_LANGUAGE, PAGE_VERSIONS, PAGE_INSTALLING, PAGE_WRITE_FAILED, PAGE_LOCATION,
                                   PAGE_VERSIONS, PAGE_INSTALLING, PAGE_COMPLETED}));
    EXPECT_EQ(failedAt, 2) << "entry 1 failed";
    FILESET gamfExpected = gamf;
    gamfExpected["kv9900.exe"] = sample.update.at("kv9900.exe");
    EXPECT_EQ(gamfAtFailure, gamfExpected) << "entry 0 replaced, nothing else written";
    EXPECT_EQ(Snapshot(sample.At("gamf")), gamfExpected);
    EXPECT_EQ(corrected, sample.At("game"));

    // The run went on at entry 1 in the corrected folder; entry 0 was not done again.
    FILESET gameExpected = sample.update;
    gameExpected["kv9900.exe"] = game.at("kv9900.exe");
    EXPECT_EQ(Snapshot(sample.At("game")), gameExpected);
    EXPECT_EQ(RecordValue("Location"), RegText(sample.At("gamf"))) << "a typed location is never recorded";
    EXPECT_EQ(RecordValue("Version"), RegText(UPDATE_VERSION));
    ASSERT_EQ(HeadlessShellRequests().size(), 1u);
    EXPECT_EQ(HeadlessShellRequests()[0].path, sample.At("game") + "/readme.txt");
}

TEST_F(ScenarioTest, ReadOnlyTargetsAreReplaced)
{
    SAMPLEFOLDER sample;
    ASSERT_TRUE(sample.Standard());
    for (const char* file : {"kv9900.exe", "data/euro.cfg", "changes.txt"})
        ASSERT_EQ(chmod((sample.At("game") + "/" + file).c_str(), 0444), 0) << file;

    PLAYER player;
    player.Click(PAGE_LANGUAGE, 1).Enter(PAGE_VERSIONS).Enter(PAGE_COMPLETED);
    EXPECT_EQ(player.Run(), 0);
    EXPECT_TRUE(player.Finished());
    EXPECT_EQ(player.pages, (PAGES{PAGE_LANGUAGE, PAGE_VERSIONS, PAGE_INSTALLING, PAGE_COMPLETED}));
    EXPECT_EQ(Snapshot(sample.At("game")), sample.update);
}

// A destination that cannot take entry 9 ("data/eng.lng"), in each way it can fail: the
// installed file stays byte for byte as it was, no temporary file is left, page 9; once the
// fault is gone, Back, Next and Next retry that same file and finish the run.
TEST_F(ScenarioTest, DestinationFailureKeepsTheInstalledFileAndTheRetryFinishes)
{
    struct CASE {
        const char* name;
        std::function<void()> arm;
    };
    const CASE cases[] = {
        {"temporary file cannot be created", [] { HeadlessFailOpen("eng.lng.kvnew"); }},
        {"write fails after three bytes", [] { HeadlessFailWrites("eng.lng.kvnew", 3); }},
        {"close fails", [] { HeadlessFailClose("eng.lng.kvnew"); }},
        {"move onto the target fails", [] { HeadlessFailReplace(true); }},
    };
    const int entry = 9;
    ASSERT_STREQ(FileTable[entry].name, "eng.lng");
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.name);
        ResetProcess();
        SAMPLEFOLDER sample;
        ASSERT_TRUE(sample.Standard());
        const std::string game = sample.At("game");
        const FILESET before = Snapshot(game);

        int failedAt = -1;
        FILESET atFailure;
        std::vector<std::string> leftAtFailure = {"not seen"};
        PLAYER player;
        player.Click(PAGE_LANGUAGE, 1)
            .Enter(PAGE_VERSIONS)
            .When([](WIZARD& w) { return w.page == PAGE_INSTALLING && w.installIndex == entry + 1; },
                  [&](WIZARD&) { c.arm(); })
            .When(PLAYER::OnPage(PAGE_WRITE_FAILED),
                  [&](WIZARD& w) {
                      failedAt = w.installIndex;
                      atFailure = Snapshot(game);
                      leftAtFailure = TemporaryFiles(game);
                      HeadlessClearFileFailures();
                  })
            .Click(PAGE_WRITE_FAILED, 3)
            .Click(PAGE_LOCATION, 4)
            .Enter(PAGE_VERSIONS)
            .Enter(PAGE_COMPLETED);

        EXPECT_EQ(player.Run(), 0);
        EXPECT_TRUE(player.Finished()) << "script stopped at step " << player.done;
        EXPECT_EQ(failedAt, entry + 1);
        EXPECT_EQ(atFailure, sample.Replaced(before, 0, entry - 1));
        EXPECT_EQ(atFailure.at("data/eng.lng"), "old data/eng.lng");
        EXPECT_TRUE(leftAtFailure.empty()) << leftAtFailure[0];
        EXPECT_EQ(player.pages, (PAGES{PAGE_LANGUAGE, PAGE_VERSIONS, PAGE_INSTALLING, PAGE_WRITE_FAILED,
                                       PAGE_LOCATION, PAGE_VERSIONS, PAGE_INSTALLING, PAGE_COMPLETED}));
        EXPECT_EQ(Snapshot(game), sample.update);
        EXPECT_EQ(RecordValue("Version"), RegText(UPDATE_VERSION));
    }
}

// A package that is damaged after the checks fails the entry it can no longer give:
// page 5, that installed file as it was, no temporary file.
TEST_F(ScenarioTest, PackageDamagedDuringTheRunKeepsTheInstalledFile)
{
    SAMPLEFOLDER sample;
    ASSERT_TRUE(sample.Standard());
    const std::string game = sample.At("game");
    const FILESET before = Snapshot(game);
    const long cut = PACKAGE_HEADER_SIZE + BlocksBefore(sample, 4) + 5;  // inside entry 4

    int failedAt = -1;
    PLAYER player;
    player.Click(PAGE_LANGUAGE, 1)
        .Enter(PAGE_VERSIONS)
        .When([](WIZARD& w) { return w.page == PAGE_INSTALLING && w.installIndex == 3; },
              [&](WIZARD&) { EXPECT_EQ(CutPackage(cut), ""); })
        .When(PLAYER::OnPage(PAGE_SOURCE_MISSING), [&](WIZARD& w) { failedAt = w.installIndex; })
        .Click(PAGE_SOURCE_MISSING, 4);

    EXPECT_EQ(player.Run(), 0);
    EXPECT_TRUE(player.Finished()) << "script stopped at step " << player.done;
    EXPECT_EQ(player.pages, (PAGES{PAGE_LANGUAGE, PAGE_VERSIONS, PAGE_INSTALLING, PAGE_SOURCE_MISSING}));
    EXPECT_EQ(failedAt, 5);
    EXPECT_EQ(Snapshot(game), sample.Replaced(before, 0, 3));
    EXPECT_EQ(RecordValue("Version"), RegText("Version 3.72 (ENG)"));
}

TEST_F(ScenarioTest, EscapeOnTheVersionsPageEndsWithNothingTouched)
{
    SAMPLEFOLDER sample;
    ASSERT_TRUE(sample.Standard());
    const FILESET before = Snapshot(sample.At("game"));
    PLAYER player;
    player.Click(PAGE_LANGUAGE, 1).Key(PAGE_VERSIONS, VK_ESCAPE, 27);
    EXPECT_EQ(player.Run(), 0);
    EXPECT_TRUE(player.Finished());
    EXPECT_EQ(player.pages, (PAGES{PAGE_LANGUAGE, PAGE_VERSIONS}));
    EXPECT_EQ(Snapshot(sample.At("game")), before);
    EXPECT_EQ(RecordValue("Version"), RegText("Version 3.72 (ENG)"));
    EXPECT_TRUE(HeadlessShellRequests().empty());
}

TEST_F(ScenarioTest, ExitDuringTheRunEndsAfterTheFileOfThatStep)
{
    SAMPLEFOLDER sample;
    ASSERT_TRUE(sample.Standard());
    const FILESET before = Snapshot(sample.At("game"));
    int lastStep = -1;
    PLAYER player;
    player.watch = [&](WIZARD& w) {
        if (w.page == PAGE_INSTALLING) lastStep = w.installIndex;
    };
    // Pressed before step 5, released before step 6: step 6 (entry 5) is the last one.
    player.Click(PAGE_LANGUAGE, 1)
        .Enter(PAGE_VERSIONS)
        .ClickWhen([](WIZARD& w) { return w.page == PAGE_INSTALLING && w.installIndex == 5; }, 0);

    EXPECT_EQ(player.Run(), 0);
    EXPECT_TRUE(player.Finished());
    EXPECT_EQ(player.pages, (PAGES{PAGE_LANGUAGE, PAGE_VERSIONS, PAGE_INSTALLING}));
    EXPECT_EQ(lastStep, 6);
    EXPECT_EQ(Snapshot(sample.At("game")), sample.Replaced(before, 0, 5));
    EXPECT_EQ(RecordValue("Version"), RegText("Version 3.72 (ENG)"));
    EXPECT_TRUE(HeadlessShellRequests().empty());
}

// With quick-start files the run ends on page 7; Yes (clicked or Enter) deletes them, No keeps
// them, and both go on to page 4. Other files of the folder are never deleted.
TEST_F(ScenarioTest, QuickStartFilesAreOfferedForDeletion)
{
    struct CASE {
        const char* name;
        bool enter;
        int slot;
        bool deleted;
    };
    const CASE cases[] = {
        {"Yes clicked", false, 4, true},
        {"Enter presses Yes", true, 4, true},
        {"No clicked", false, 3, false},
    };
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.name);
        ResetProcess();
        SAMPLEFOLDER sample;
        ASSERT_TRUE(sample.Standard());
        ASSERT_TRUE(sample.AddQuickStarts("game", {"league.qst", "cup.qst", "notes.txt"}));

        PLAYER player;
        player.Click(PAGE_LANGUAGE, 1).Enter(PAGE_VERSIONS);
        if (c.deleted && !c.enter) player.SaveFrame(PAGE_QUICKSTART, "scenario_quickstart.png");
        if (c.enter)
            player.Enter(PAGE_QUICKSTART);
        else
            player.Click(PAGE_QUICKSTART, c.slot);
        player.Enter(PAGE_COMPLETED);

        EXPECT_EQ(player.Run(), 0);
        EXPECT_TRUE(player.Finished()) << "script stopped at step " << player.done;
        EXPECT_EQ(player.pages,
                  (PAGES{PAGE_LANGUAGE, PAGE_VERSIONS, PAGE_INSTALLING, PAGE_QUICKSTART, PAGE_COMPLETED}));
        FILESET expected = sample.update;
        expected["qstart/notes.txt"] = "quick start notes.txt";
        if (!c.deleted) {
            expected["qstart/league.qst"] = "quick start league.qst";
            expected["qstart/cup.qst"] = "quick start cup.qst";
        }
        EXPECT_EQ(Snapshot(sample.At("game")), expected);
        EXPECT_EQ(RecordValue("Version"), RegText(UPDATE_VERSION));
        EXPECT_EQ(HeadlessShellRequests().size(), 1u);
    }
}

// Which records and folders count as an installation: page 2 or page 1 after the language.
TEST_F(ScenarioTest, InstallationIsFoundOnlyWhereItsRecordAndExecutableAre)
{
    struct CASE {
        const char* name;
        // Sets the record up and returns the location folder to hold "kv9900.exe" ("" none).
        std::function<std::string(SAMPLEFOLDER&)> setUp;
        int page;
    };
    auto deep = [](size_t length) {
        return [length](SAMPLEFOLDER& s) {
            const std::string folder = s.DeepFolder(length);
            SAMPLEFOLDER::Record("Version 3.72 (ENG)", folder);
            return folder;
        };
    };
    const CASE cases[] = {
        {"no key", [](SAMPLEFOLDER& s) { return s.At("game"); }, PAGE_NOT_FOUND},
        {"version without location",
         [](SAMPLEFOLDER& s) {
             HeadlessRegPut(KV_RECORD_KEY, "Version", RegText("Version 3.72 (ENG)"));
             return s.At("game");
         },
         PAGE_NOT_FOUND},
        {"location without the executable",
         [](SAMPLEFOLDER& s) {
             SAMPLEFOLDER::Record("Version 3.72 (ENG)", s.At("game"));
             return std::string();
         },
         PAGE_NOT_FOUND},
        {"location of 188 characters", deep(188), PAGE_VERSIONS},
        {"location of 189 characters", deep(189), PAGE_NOT_FOUND},
        {"location of 195 characters", deep(195), PAGE_NOT_FOUND},
        // The fields hold 199 characters and a zero: a value stored without its zero is read
        // when there is room to end it, and not when it fills the field.
        {"version of 199 bytes without a zero",
         [](SAMPLEFOLDER& s) {
             SAMPLEFOLDER::Record("Version 3.72 (ENG)", s.At("game"));
             HeadlessRegPut(KV_RECORD_KEY, "Version", "Version 3.72 " + std::string(186, 'x'));
             return s.At("game");
         },
         PAGE_VERSIONS},
        {"version of 200 bytes without a zero",
         [](SAMPLEFOLDER& s) {
             SAMPLEFOLDER::Record("Version 3.72 (ENG)", s.At("game"));
             HeadlessRegPut(KV_RECORD_KEY, "Version", "Version 3.72 " + std::string(187, 'x'));
             return s.At("game");
         },
         PAGE_NOT_FOUND},
    };
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.name);
        ResetProcess();
        SAMPLEFOLDER sample;
        ASSERT_TRUE(sample.CopyFonts());
        ASSERT_EQ(mkdir(sample.At("game").c_str(), 0755), 0);
        const std::string folder = c.setUp(sample);
        if (!folder.empty()) {
            ASSERT_TRUE(WriteFileBytes(folder + "/kv9900.exe", "old kv9900.exe"));
        }
        const std::string version = RecordValue("Version");

        PLAYER player;
        player.Click(PAGE_LANGUAGE, 1);
        if (c.page == PAGE_NOT_FOUND)
            player.Enter(PAGE_NOT_FOUND);  // Exit
        else
            player.Key(c.page, VK_ESCAPE, 27);

        EXPECT_EQ(player.Run(), 0);
        EXPECT_TRUE(player.Finished()) << "script stopped at step " << player.done;
        EXPECT_EQ(player.pages, (PAGES{PAGE_LANGUAGE, c.page}));
        if (!folder.empty()) {
            std::string bytes;
            EXPECT_TRUE(ReadFileBytes(folder + "/kv9900.exe", &bytes) && bytes == "old kv9900.exe");
        }
        EXPECT_EQ(RecordValue("Version"), version);
        EXPECT_TRUE(HeadlessShellRequests().empty());
    }
}

// The version cannot be recorded: the run reports success all the same and the record keeps
// its old text.
TEST_F(ScenarioTest, UnrecordedVersionStillCompletesTheRun)
{
    struct CASE {
        const char* name;
        bool create, set;
    };
    const CASE cases[] = {{"value cannot be set", false, true}, {"key cannot be opened for writing", true, false}};
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.name);
        ResetProcess();
        SAMPLEFOLDER sample;
        ASSERT_TRUE(sample.Standard());
        HeadlessRegFailures().create = c.create;
        HeadlessRegFailures().set = c.set;

        PLAYER player;
        player.Click(PAGE_LANGUAGE, 1).Enter(PAGE_VERSIONS).Click(PAGE_COMPLETED, 4);
        EXPECT_EQ(player.Run(), 0);
        EXPECT_TRUE(player.Finished()) << "script stopped at step " << player.done;
        EXPECT_EQ(player.pages, (PAGES{PAGE_LANGUAGE, PAGE_VERSIONS, PAGE_INSTALLING, PAGE_COMPLETED}));
        EXPECT_EQ(Snapshot(sample.At("game")), sample.update);
        EXPECT_EQ(RecordValue("Version"), RegText("Version 3.72 (ENG)"));
        EXPECT_EQ(HeadlessShellRequests().size(), 1u);
        EXPECT_EQ(HeadlessRegOpenKeys(), 0);
    }
}

}  // namespace
