// The program entry: build the application, run the loop, take everything down.
#include "app/bfio.h"

int RunProgram(PLATINSTANCE instance, const char* commandLine)
{
    g_shell.instance = instance;
    g_shell.commandLine = commandLine;
    WIZARD* application = CreateApplication();
    g_shell.running = 1;
    // The loop never waits: Poll returns at once when nothing is pending.
    if (g_shell.bfio && g_shell.bfio->Update()) {
        for (;;) {
            if (g_shell.closeRequested) break;
            g_shell.bfio->Poll();
            if (!g_shell.bfio->Update()) break;
        }
    }
    g_shell.running = 0;
    DestroyApplication(application);
    return 0;
}
