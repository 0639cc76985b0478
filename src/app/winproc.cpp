// The window procedure: every window event of the platform comes through here.
#include "app/bfio.h"
#include "app/input.h"
#include "gfx/screen.h"

namespace {

// Renders the page on a repaint. Nothing renders before the run loop owns the application
// (start-up message boxes run their own message loop) or while a render is in progress.
// The input latches are cleared after every render, so a key or click delivered before a
// repaint in the same pass is never acted on.
void HandlePaint(PLATWINDOW window)
{
    PlatBeginPaint(window);
    if (!g_shell.inPaint && g_shell.running) {
        g_shell.inPaint = 1;
        if (g_shell.bfio) g_shell.bfio->Render();
        if (KEYBOARD::Instance()) KEYBOARD::Instance()->ClearKeys();
        if (MOUSE::Instance()) MOUSE::Instance()->ClearButtons();
        g_shell.inPaint = 0;
    }
    PlatEndPaint(window);
}

}  // namespace

intptr_t WindowProcedure(PLATWINDOW window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    switch (message) {
    case WM_SIZE:
        HandleSizeMessage(window, wParam, lParam);
        return 0;
    case WM_PAINT:
        HandlePaint(window);
        return 0;
    case WM_CLOSE:
        g_shell.closeRequested = 1;
        return 0;
    case WM_GETMINMAXINFO:
        HandleMinMaxMessage(reinterpret_cast<PLATMINMAXINFO*>(lParam));
        return 0;
    default:
        if (HandleInputMessage(message, wParam, lParam)) return 0;
        return PlatDefWindowProc(window, message, wParam, lParam);
    }
}
