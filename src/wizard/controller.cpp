// Update: one step of the wizard. One key, one install step on page 3, then every widget
// asked whether it was clicked, and the clicked widget's action carried out.
#include "app/wizard.h"
#include "engine/record.h"
#include "platform/platform.h"
#include "wizard/catalogue.h"
#include "wizard/pages.h"

#include <cstdio>
#include <cstring>

namespace {

// Pages on which Enter presses the button in slot 4.
bool EnterPage(int page)
{
    switch (page) {
    case PAGE_NOT_FOUND:
    case PAGE_VERSIONS:
    case PAGE_COMPLETED:
    case PAGE_SOURCE_MISSING:
    case PAGE_INSTALL_CORRUPT:
    case PAGE_QUICKSTART:
    case PAGE_LOCATION:
    case PAGE_WRITE_FAILED:
        return true;
    default:
        return false;
    }
}

// "<location><separator><name>" when it fits the buffer.
bool InstallationPath(char* out, size_t size, const char* location, const char* name)
{
    int n = snprintf(out, size, "%s%c%s", location, PLAT_PATH_SEP, name);
    return n >= 0 && static_cast<size_t>(n) < size;
}

}  // namespace

void WIZARD::SetPage(int16_t newPage)
{
    page = newPage;
    Render();
}

int16_t WIZARD::FindInstallation()
{
    if (!ReadSetting(INSTALL_KEY, "Version", installedVersion, sizeof installedVersion)) return PAGE_NOT_FOUND;
    RewriteOldVersion(installedVersion);
    if (!ReadSetting(INSTALL_KEY, "Location", location, sizeof location)) return PAGE_NOT_FOUND;
    // A location too long to name the executable is no installation.
    char executable[SETTING_SIZE];
    if (!InstallationPath(executable, sizeof executable, location, INSTALL_EXECUTABLE)) return PAGE_NOT_FOUND;
    FILE* file = PlatOpenFile(executable, "rb");
    if (!file) return PAGE_NOT_FOUND;
    PlatCloseFile(file);
    return PAGE_VERSIONS;
}

bool WIZARD::Update()
{
    if (!GraphicsReady()) return false;

    char character = 0;
    int32_t virtualKey = 0;
    if (keyboard && keyboard->ReadKeys(&character, &virtualKey)) {
        const int32_t key = KEYBOARD::TranslateKey(virtualKey);
        if (key == KEY_ESCAPE) quit = 1;
        if (EnterPage(page) && key == KEY_ENTER) {
            if (buttons[4]) buttons[4]->autoPress = 1;
        } else if (page == PAGE_LOCATION) {
            EditLocation(character, key);
            Render();
        }
    }

    if (page == PAGE_INSTALLING) InstallStep();

    // Each slot is read afresh: an action that changes the page has rebuilt the widgets.
    for (int slot = 0; slot < BUTTON_SLOTS; ++slot) {
        BUTTON* button = buttons[slot];
        if (!ButtonClicked(button)) continue;
        Act(button->kind, button->id);
    }
    return !quit;
}

void WIZARD::EditLocation(char character, int32_t key)
{
    size_t length = strlen(location);
    if (key == KEY_BACKSPACE) {
        if (length > 0) location[length - 1] = '\0';
        return;
    }
    // Printable ASCII only (the character is a signed byte), and at most 199 characters.
    if (static_cast<signed char>(character) < 32 || length > sizeof location - 2) return;
    location[length] = character;
    location[length + 1] = '\0';
    if (TextWidth(FONT_WIDGET, location) > boxWidth) location[length] = '\0';
}

void WIZARD::Act(int32_t kind, int32_t id)
{
    switch (static_cast<int16_t>(kind)) {
    case KIND_LANGUAGE:
        language = id;
        SetTitle(Message(TXT_TITLE, language));
        SetPage(FindInstallation());
        break;
    case KIND_GOTO:
        SetPage(static_cast<int16_t>(id));
        break;
    case KIND_EXIT:
        if (page == PAGE_COMPLETED) {
            // A readme path that does not fit opens nothing.
            char readme[SETTING_SIZE];
            if (InstallationPath(readme, sizeof readme, location, "readme.txt"))
                PlatShellOpen("open", readme, SW_SHOWNORMAL);
        }
        quit = 1;
        break;
    case KIND_YES:
        DeleteQuickStarts(true);
        SetPage(PAGE_COMPLETED);
        break;
    case KIND_NO:
        SetPage(PAGE_COMPLETED);
        break;
    default:
        break;
    }
}
