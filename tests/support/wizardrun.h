// The wizard's working folder as a player has it, and a scripted player for the whole
// program.
//
// SAMPLEFOLDER makes a fresh temporary folder the current directory and fills it: the seven
// fonts, "update.dat" packed from eighteen files of distinct contents (the loose files are
// removed again, so every installed byte can only have come from the package), the seven
// readme files, and installations of the game in sub-folders with their registry record.
//
// PLAYER drives RunProgram from the headless pump hook: each pump it acts on the wizard's
// state with the next step of its script whose condition holds (at most one step a pump,
// so one key or one click at a time), and it closes the window after a cap of pumps so a
// broken flow ends the test instead of hanging it.
#ifndef KV_TEST_WIZARDRUN_H
#define KV_TEST_WIZARDRUN_H

#include "app/bfio.h"
#include "app/input.h"
#include "app/wizard.h"
#include "engine/package.h"
#include "engine/record.h"
#include "platform/headless/headless.h"
#include "support/gfxtest.h"
#include "support/tempdir.h"
#include "wizard/catalogue.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <sys/stat.h>
#include <vector>

#define KV_RECORD_KEY INSTALL_KEY_PARENT INSTALL_KEY

// Clean process state for one run of the program.
inline void ResetProcess()
{
    ResetProgramState();
}

// A registry text as the game's installer stores it: with its terminating zero.
inline std::string RegText(const std::string& text)
{
    return text + std::string(1, '\0');
}

inline std::string RecordValue(const char* name)
{
    std::string bytes;
    if (!HeadlessRegGet(KV_RECORD_KEY, name, &bytes)) return "(missing)";
    return bytes;
}

// Target path of a table entry relative to the installation folder ("data/euro.cfg").
inline std::string RelativeTarget(const FILEENTRY& entry)
{
    return std::string(entry.subfolder + 1) + entry.name;
}

typedef std::map<std::string, std::string> FILESET;  // relative path -> bytes

// Every regular file under root, by path relative to root.
inline FILESET Snapshot(const std::string& root)
{
    namespace fs = std::filesystem;
    FILESET files;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        std::string bytes;
        if (ReadFileBytes(it->path().string(), &bytes))
            files[it->path().lexically_relative(root).generic_string()] = bytes;
    }
    return files;
}

// Names of the files under root that end in ".kvnew".
inline std::vector<std::string> TemporaryFiles(const std::string& root)
{
    std::vector<std::string> left;
    for (const auto& file : Snapshot(root))
        if (file.first.size() >= 6 && file.first.compare(file.first.size() - 6, 6, ".kvnew") == 0)
            left.push_back(file.first);
    return left;
}

class SAMPLEFOLDER {
public:
    // New contents of the table's entries, by target path relative to an installation.
    FILESET update;

    const std::string& Path() const { return dir.Path(); }
    std::string At(const std::string& name) const { return dir.Path() + "/" + name; }

    // The fonts go into the current directory, which is this folder.
    bool CopyFonts() const { return CopyBuiltFonts(); }

    // Packs eighteen files of distinct contents into "update.dat" with the table; the first
    // entry is larger than one copy chunk. The loose files are removed afterwards.
    bool PackUpdate(const FILEENTRY* table = FileTable)
    {
        update.clear();
        for (int i = 0; i < FILE_COUNT; ++i) {
            if (IsReadmeEntry(table[i])) continue;
            std::string bytes = "new " + std::string(table[i].name) + "\n";
            const size_t size = i == 0 ? 150000 : 100 + 37 * static_cast<size_t>(i);
            for (size_t k = bytes.size(); k < size; ++k) bytes += static_cast<char>((i * 31 + k * 7) & 0xFF);
            if (!WriteFileBytes(table[i].name, bytes)) return false;
            update[RelativeTarget(table[i])] = bytes;
        }
        bool packed = PackFiles(table);
        for (int i = 0; i < FILE_COUNT; ++i)
            if (!IsReadmeEntry(table[i])) PlatDeleteFile(table[i].name);
        return packed;
    }

    bool WriteReadmes() const
    {
        for (const char* name : ReadmeFiles)
            if (!WriteFileBytes(name, std::string("readme text of ") + name)) return false;
        return true;
    }

    // An installation of the table's files with old contents under folder (relative to the
    // working folder or absolute; it may exist already); without data, no "data" sub-folder is made and the files
    // that belong in it are left out.
    bool MakeInstallation(const std::string& folder, bool withData = true,
                          const FILEENTRY* table = FileTable) const
    {
        const std::string root = folder[0] == '/' ? folder : At(folder);
        if (mkdir(root.c_str(), 0755) != 0 && errno != EEXIST) return false;
        if (withData && mkdir((root + "/data").c_str(), 0755) != 0) return false;
        for (int i = 0; i < FILE_COUNT; ++i) {
            const std::string relative = RelativeTarget(table[i]);
            if (!withData && relative.find('/') != std::string::npos) continue;
            if (!WriteFileBytes(root + "/" + relative, "old " + relative)) return false;
        }
        return true;
    }

    bool AddQuickStarts(const std::string& folder, const std::vector<std::string>& names) const
    {
        const std::string qstart = (folder[0] == '/' ? folder : At(folder)) + "/qstart";
        if (mkdir(qstart.c_str(), 0755) != 0) return false;
        for (const std::string& name : names)
            if (!WriteFileBytes(qstart + "/" + name, "quick start " + name)) return false;
        return true;
    }

    // A folder whose absolute path is exactly length characters long.
    std::string DeepFolder(size_t length) const
    {
        std::string path = dir.Path() + "/";
        if (length <= path.size()) return std::string();
        path += std::string(length - path.size(), 'd');
        return mkdir(path.c_str(), 0755) == 0 ? path : std::string();
    }

    static void Record(const std::string& version, const std::string& location)
    {
        HeadlessRegPut(KV_RECORD_KEY, "Version", RegText(version));
        HeadlessRegPut(KV_RECORD_KEY, "Location", RegText(location));
    }

    // The usual set-up: fonts, package, readmes, "game" installed and recorded as 3.72.
    bool Standard()
    {
        if (!CopyFonts() || !PackUpdate() || !WriteReadmes() || !MakeInstallation("game")) return false;
        Record("Version 3.72 (ENG)", At("game"));
        return true;
    }

    // The installation's files expected after a run that replaced entries first..last.
    FILESET Replaced(const FILESET& before, int first, int last) const
    {
        FILESET after = before;
        for (int i = first; i <= last; ++i) {
            const std::string relative = RelativeTarget(FileTable[i]);
            after[relative] = update.at(relative);
        }
        return after;
    }

private:
    TEMPDIR dir;
};

// ---- The scripted player -------------------------------------------------------------

inline WIZARD* TheWizard()
{
    return static_cast<WIZARD*>(g_shell.bfio);
}

class PLAYER {
public:
    struct STEP {
        std::function<bool(WIZARD&)> ready;
        std::function<void(PLAYER&, WIZARD&)> act;
    };

    std::vector<STEP> script;
    // Called at every pump before the script, with the wizard's state after the last Update.
    std::function<void(WIZARD&)> watch;
    // The pages the wizard showed, one entry per change, as seen between two steps.
    std::vector<int> pages;
    size_t done = 0;
    bool capped = false;
    int cap = 2000;

    static std::function<bool(WIZARD&)> OnPage(int page)
    {
        return [page](WIZARD& w) { return w.page == page; };
    }

    // Left click at the centre of the widget in slot: press now, release at the next pump.
    PLAYER& Click(int page, int slot) { return ClickWhen(OnPage(page), slot); }
    PLAYER& ClickWhen(std::function<bool(WIZARD&)> ready, int slot)
    {
        script.push_back({std::move(ready), [slot](PLAYER& p, WIZARD& w) {
                              const BUTTON* b = w.buttons[slot];
                              if (!b) return;
                              HeadlessMouseMove(b->x + b->width / 2, b->y + b->height / 2);
                              HeadlessMouseButton(true);
                              p.releasePending = true;
                          }});
        return *this;
    }
    PLAYER& Key(int page, int virtualKey, char character = 0)
    {
        script.push_back({OnPage(page), [virtualKey, character](PLAYER&, WIZARD&) {
                              HeadlessKey(virtualKey, character);
                          }});
        return *this;
    }
    PLAYER& Enter(int page) { return Key(page, VK_RETURN, '\r'); }
    // Typed characters, one a pump; the virtual key is a letter key's, which the wizard does
    // not look at: the character is what counts.
    PLAYER& Type(int page, const std::string& text)
    {
        for (char c : text) Key(page, 0x41, c);
        return *this;
    }
    PLAYER& When(std::function<bool(WIZARD&)> ready, std::function<void(WIZARD&)> act)
    {
        script.push_back({std::move(ready), [act](PLAYER&, WIZARD& w) { act(w); }});
        return *this;
    }
    // Saves what the window shows of page as name (a PNG) in the folder named by the
    // environment variable KV_FRAME_DIR, when it is set: the step after the page appeared,
    // when it has been presented.
    PLAYER& SaveFrame(int page, const std::string& name)
    {
        const char* folder = getenv("KV_FRAME_DIR");
        if (!folder || !*folder) return *this;
        const std::string path = std::string(folder) + "/" + name;
        When(OnPage(page), [](WIZARD&) {});
        return When(OnPage(page), [path](WIZARD&) {
            if (!HeadlessSaveFrame(path.c_str())) ADD_FAILURE() << "frame not saved: " << path;
        });
    }

    // The whole program, entry to exit, under this script. Returns its exit status.
    int Run()
    {
        HeadlessSetPumpHook(&PLAYER::Pump, this);
        const int status = RunProgram(nullptr, "");
        HeadlessSetPumpHook(nullptr, nullptr);
        return status;
    }

    bool Finished() const { return done == script.size() && !capped; }

private:
    bool releasePending = false;

    static void Pump(int pump, void* user)
    {
        PLAYER& p = *static_cast<PLAYER*>(user);
        WIZARD* w = TheWizard();
        if (!w) return;
        if (pump > p.cap) {
            p.capped = true;
            HeadlessPost(WM_CLOSE);
            return;
        }
        if (p.pages.empty() || p.pages.back() != w->page) p.pages.push_back(w->page);
        if (p.watch) p.watch(*w);
        if (p.releasePending) {
            HeadlessMouseButton(false);
            p.releasePending = false;
            return;
        }
        // Nothing before the first page has been drawn and its widgets made.
        if (w->shownPage < 0 || p.done >= p.script.size()) return;
        STEP& step = p.script[p.done];
        if (!step.ready(*w)) return;
        ++p.done;
        step.act(p, *w);
    }
};

#endif
