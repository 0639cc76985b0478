#include "app/wizard.h"
#include "app/folder.h"
#include "app/memory.h"
#include "engine/package.h"
#include "wizard/catalogue.h"

#include <cstring>

namespace {
const char* const DefaultLocation = "c:\\do99zere";
}

WIZARD::WIZARD()
    : BFIO(), page(0), shownPage(-1), installIndex(0), boxX(0), boxY(0), boxWidth(0), installedVersion(),
      location(), mouse(nullptr), keyboard(nullptr), quit(0), language(0), buttons(), fileTable(FileTable)
{
    FOLDER* folder = NewObject<FOLDER>("folder object");

    // The maker's packing run: reported in a box before any window exists.
    const char* commandLine = CommandLine();
    if (commandLine && strstr(commandLine, "-pack")) {
        bool packed = PackFiles();
        ShowMessage("Setup", packed ? "Packed files successfully !" : "Unable to pack files");
        quit = 1;
    }

    mouse = NewObject<MOUSE>("mouse");
    if (!mouse) {
        ShowMessage("Error", "Unable to create mouse");
        quit = 1;
    } else {
        mouse->SetCursorMode(CURSOR_ARROW);
    }

    keyboard = NewObject<KEYBOARD>("keyboard");
    if (!keyboard) {
        ShowMessage("Error", "Unable to create keyboard");
        quit = 1;
    }

    if (OpenGraphics(640, 480, Message(TXT_TITLE, language), false, folder, -1, -1, -1, -1) != 0) {
        ShowMessage("Error", "Unable to open graphics");
        quit = 1;
    }

    memcpy(location, DefaultLocation, strlen(DefaultLocation) + 1);
    delete folder;
}

WIZARD::~WIZARD()
{
    for (BUTTON*& slot : buttons) {
        delete slot;
        slot = nullptr;
    }
    CloseGraphics();
    if (mouse) {
        delete mouse;
        mouse = nullptr;
    }
    if (keyboard) {
        delete keyboard;
        keyboard = nullptr;
    }
}

WIZARD* CreateApplication()
{
    return NewObject<WIZARD>("application");
}

void DestroyApplication(WIZARD* application)
{
    delete application;
}
