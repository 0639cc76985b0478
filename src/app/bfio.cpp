#include "app/bfio.h"
#include "gfx/screen.h"

SHELLSTATE g_shell = {nullptr, nullptr, nullptr, 0, 0, 0};

void ShowMessage(const char* caption, const char* text)
{
    PlatMessageBox(caption, text);
}

BFIO::BFIO()
{
    if (g_shell.bfio) {
        ShowMessage("Error", "Second BFIO class declared.");
        PlatExitProcess(-1);
    }
    g_shell.bfio = this;
}

BFIO::~BFIO()
{
    CloseGraphics();
    if (g_shell.bfio == this) g_shell.bfio = nullptr;
}

void BFIO::Poll()
{
    PlatPumpEvents();
    Present();
}

void BFIO::SetTitle(const char* text)
{
    if (g_gfx.window) PlatSetWindowText(g_gfx.window, text);
}

const char* BFIO::CommandLine() const
{
    return g_shell.commandLine;
}
