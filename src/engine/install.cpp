// The install run: the checks, one replaced file per step under a growing progress bar,
// and the finish that records the new version. Also the quick-start files.
//
// A file is replaced without ever being lost: its new content is extracted into a
// temporary file beside it and moved over it in one step. When anything fails the
// temporary file is removed and the installed file stays as it was.
#include "app/wizard.h"
#include "engine/package.h"
#include "engine/record.h"
#include "gfx/draw.h"
#include "platform/platform.h"
#include "wizard/catalogue.h"
#include "wizard/pages.h"

#include <cstdio>
#include <cstring>

namespace {

const char* const TemporarySuffix = ".kvnew";

bool Fits(int written, size_t size)
{
    return written >= 0 && static_cast<size_t>(written) < size;
}

bool IsPicsCfg(const FILEENTRY& entry)
{
    const char* name = entry.name ? entry.name : "";
    const char* pics = "pics.cfg";
    for (; *name && *pics; ++name, ++pics) {
        char c = *name;
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != *pics) return false;
    }
    return *name == '\0' && *pics == '\0';
}

}  // namespace

void WIZARD::InstallStep()
{
    if (installIndex == 0) {
        CheckBeforeInstalling();
    } else if (installIndex <= FILE_COUNT) {
        ReplaceEntry(installIndex - 1);
    } else {
        WriteSetting(INSTALL_KEY, "Version", UPDATE_VERSION);
        // Old quick-start files are offered for deletion before the completed page.
        SetPage(DeleteQuickStarts(false) ? PAGE_QUICKSTART : PAGE_COMPLETED);
        return;
    }
    if (page != PAGE_INSTALLING) return;
    // The progress fill over the sunken bar, from its left edge.
    const int32_t right = boxX + 10 + (installIndex * (boxWidth - 20)) / FILE_COUNT;
    Box(static_cast<int16_t>(boxX + 10), static_cast<int16_t>(boxY + 10), static_cast<int16_t>(right),
        static_cast<int16_t>(boxY + 30), BOX_FILL, 31, COLOUR_BEHIND);
    ++installIndex;
}

void WIZARD::CheckBeforeInstalling()
{
    if (!CompatibleVersion(installedVersion)) SetPage(PAGE_INCOMPATIBLE);
    // Every source must be there, and the package whole, before any file is touched; this
    // overrides an incompatible version.
    bool dataEntries = false;
    for (int i = 0; i < FILE_COUNT; ++i) {
        const bool readme = IsReadmeEntry(fileTable[i]);
        FILE* source = PlatOpenFile(readme ? ReadmeFiles[language] : PACKAGE_NAME, "r");
        if (!source) {
            SetPage(PAGE_SOURCE_MISSING);
            return;
        }
        PlatCloseFile(source);
        dataEntries = dataEntries || !readme;
    }
    if (dataEntries && !PackageIsWhole(fileTable)) SetPage(PAGE_SOURCE_MISSING);
}

void WIZARD::ReplaceEntry(int entry)
{
    const FILEENTRY& file = fileTable[entry];
    char target[SETTING_SIZE];
    if (!Fits(snprintf(target, sizeof target, "%s%s%s", location, file.subfolder, file.name), sizeof target)) {
        SetPage(PAGE_WRITE_FAILED);  // a path that does not fit is the destination's fault
        return;
    }
    PlatMakeWritable(target);

    if (IsReadmeEntry(file)) {
        // The language's readme moves from beside the package onto the target.
        const char* readme = ReadmeFiles[language];
        PlatMakeWritable(readme);
        if (!PlatReplaceFile(readme, target)) SetPage(PAGE_WRITE_FAILED);
        return;
    }

    char temporary[sizeof target + 8];
    snprintf(temporary, sizeof temporary, "%s%s", target, TemporarySuffix);
    unsigned char packageFault = 0;
    bool replaced = ExtractFile(entry, temporary, &packageFault, fileTable);
    if (replaced && !PlatReplaceFile(temporary, target)) {
        replaced = false;
        packageFault = 0;
    }
    if (replaced) return;
    PlatDeleteFile(temporary);
    if (packageFault == 1)
        SetPage(PAGE_SOURCE_MISSING);
    else if (!IsPicsCfg(file))
        SetPage(PAGE_WRITE_FAILED);
    // A "pics.cfg" that cannot be written is passed over.
}

bool WIZARD::DeleteQuickStarts(bool deleteFiles)
{
    const char sep = PLAT_PATH_SEP;
    char pattern[SETTING_SIZE];
    if (!Fits(snprintf(pattern, sizeof pattern, "%s%cqstart%c*.qst", location, sep, sep), sizeof pattern))
        return deleteFiles;  // no search can be made: nothing is found, nothing deleted
    char name[260];
    PLATFIND search = PlatFindFirst(pattern, name, sizeof name);
    if (!deleteFiles) {
        if (search) PlatFindClose(search);
        return search != nullptr;
    }
    if (search) {
        do {
            char path[SETTING_SIZE];
            // A file whose path does not fit is left alone.
            if (!Fits(snprintf(path, sizeof path, "%s%cqstart%c%s", location, sep, sep, name), sizeof path)) continue;
            PlatMakeWritable(path);
            PlatDeleteFile(path);
        } while (PlatFindNext(search, name, sizeof name));
        PlatFindClose(search);
    }
    return true;
}
