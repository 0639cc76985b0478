// The Linux desktop backend's window, events, frame-buffer copy, cursors, message boxes and
// shell, on SDL2.
//
// Each operation does what its Windows counterpart does, in SDL terms:
//   - SDL starts its video lazily, at the first operation that needs it, and only when a display
//     is named ($DISPLAY, $WAYLAND_DISPLAY, or an explicit $SDL_VIDEODRIVER). Without one every
//     window call fails, so the program reports that it cannot open its graphics.
//   - SDL windows are sized by their client area and have no frame of their own to report, so
//     the frame and caption metrics are 0 and the program's outer size is the client size.
//   - Creating and moving a window ask the window procedure for the size limits
//     (WM_GETMINMAXINFO) and report the client size (WM_SIZE) before returning, as Windows does.
//   - A window that needs painting gets WM_PAINT from PlatPumpEvents after every other event of
//     that pump, as Windows generates WM_PAINT only when the queue is empty.
//   - Texts are Windows-1252 in the program and UTF-8 in SDL.
#include "platform/desktop/res_images.h"
#include "platform/desktop/sdl_translate.h"
#include "platform/platform.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <unistd.h>

namespace {

enum VIDEOSTATE { VIDEO_UNTRIED, VIDEO_READY, VIDEO_FAILED };

VIDEOSTATE g_video = VIDEO_UNTRIED;

struct DESKTOPWINDOW {
    SDL_Window* sdl;
    uint32_t id;
    bool visible;
    bool paintPending;
    int width, height;  // client size as last asked for or reported by SDL
    int reportedType, reportedWidth, reportedHeight;  // the last WM_SIZE
    int minWidth, minHeight, maxWidth, maxHeight;     // limits given to SDL; 0 before the first
};

constexpr int kMaxWindows = 8;
DESKTOPWINDOW* g_windows[kMaxWindows];

PLATCURSOR g_cursor = nullptr;  // the cursor showing, as PlatGetCursor reports it
int g_cursorCount = 0;          // Windows' display counter: the pointer shows while it is 0 or more

const char* Env(const char* name)
{
    const char* value = getenv(name);
    return value && *value ? value : nullptr;
}

bool DisplayNamed() { return Env("DISPLAY") || Env("WAYLAND_DISPLAY") || Env("SDL_VIDEODRIVER"); }

bool EnsureVideo()
{
    if (g_video == VIDEO_UNTRIED) {
        g_video = VIDEO_FAILED;
        if (DisplayNamed()) {
            // The frame buffer goes to the window through X11's own image copy: SDL's default
            // of a GPU texture would recreate the window for OpenGL at the first copy.
            SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
            // SDL's own capture of the pointer while a button is down stays on: only with it
            // does SDL report the true position of a move or release outside the window (else
            // it pins them to the edge), so that the translation can drop them, as Windows
            // sends them to whatever window is under the pointer.
            if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
                g_video = VIDEO_READY;
                g_cursor = SDL_GetCursor();
            }
        }
    }
    return g_video == VIDEO_READY;
}

DESKTOPWINDOW* AsWindow(PLATWINDOW window)
{
    if (!window) return nullptr;
    for (DESKTOPWINDOW* w : g_windows)
        if (w == window) return w;
    return nullptr;
}

DESKTOPWINDOW* WindowById(uint32_t id)
{
    for (DESKTOPWINDOW* w : g_windows)
        if (w && w->id == id) return w;
    return nullptr;
}

DESKTOPWINDOW* FirstWindow()
{
    for (DESKTOPWINDOW* w : g_windows)
        if (w) return w;
    return nullptr;
}

DESKTOPWINDOWSTATE StateOf(const DESKTOPWINDOW* w)
{
    DESKTOPWINDOWSTATE s;
    uint32_t flags = SDL_GetWindowFlags(w->sdl);
    s.width = w->width;
    s.height = w->height;
    SDL_GetWindowPosition(w->sdl, &s.screenX, &s.screenY);
    s.maximised = (flags & SDL_WINDOW_MAXIMIZED) != 0;
    s.minimised = (flags & SDL_WINDOW_MINIMIZED) != 0;
    s.reportedType = w->reportedType;
    s.reportedWidth = w->reportedWidth;
    s.reportedHeight = w->reportedHeight;
    s.buttons = SDL_GetMouseState(nullptr, nullptr);
    return s;
}

intptr_t Deliver(DESKTOPWINDOW* w, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == WM_SIZE) {
        w->reportedType = static_cast<int>(wParam);
        w->reportedWidth = static_cast<int>(lParam & 0xFFFF);
        w->reportedHeight = static_cast<int>((lParam >> 16) & 0xFFFF);
    }
    return WindowProcedure(w, message, wParam, lParam);
}

// The size type Windows would give the window's state now.
int SizeTypeNow(const DESKTOPWINDOW* w)
{
    uint32_t flags = SDL_GetWindowFlags(w->sdl);
    if (flags & SDL_WINDOW_MINIMIZED) return SIZE_MINIMIZED;
    if (flags & SDL_WINDOW_MAXIMIZED) return SIZE_MAXIMIZED;
    return SIZE_RESTORED;
}

int Clamp(int v, int low, int high) { return v < low ? low : v > high ? high : v; }

// Asks the window procedure for the size limits, gives them to SDL and fits the size in them.
void ApplyLimits(DESKTOPWINDOW* w, int* width, int* height)
{
    int display = SDL_GetWindowDisplayIndex(w->sdl);
    if (display < 0) display = 0;
    SDL_Rect bounds{0, 0, 1024, 768};
    SDL_Rect usable{0, 0, 1024, 768};
    SDL_GetDisplayBounds(display, &bounds);
    if (SDL_GetDisplayUsableBounds(display, &usable) != 0) usable = bounds;

    // Windows' defaults: maximised over the work area, tracked up to the screen's size.
    PLATMINMAXINFO info;
    memset(&info, 0, sizeof info);
    info.ptMaxSize = PLATPOINT{usable.w, usable.h};
    info.ptMaxPosition = PLATPOINT{usable.x, usable.y};
    info.ptMinTrackSize = PLATPOINT{1, 1};
    info.ptMaxTrackSize = PLATPOINT{bounds.w, bounds.h};
    WindowProcedure(w, WM_GETMINMAXINFO, 0, reinterpret_cast<intptr_t>(&info));

    int minW = info.ptMinTrackSize.x > 1 ? info.ptMinTrackSize.x : 1;
    int minH = info.ptMinTrackSize.y > 1 ? info.ptMinTrackSize.y : 1;
    int maxW = info.ptMaxTrackSize.x > minW ? info.ptMaxTrackSize.x : minW;
    int maxH = info.ptMaxTrackSize.y > minH ? info.ptMaxTrackSize.y : minH;
    if (minW != w->minWidth || minH != w->minHeight || maxW != w->maxWidth || maxH != w->maxHeight) {
        // SDL refuses a minimum above the maximum in force and the reverse; going through 1 x 1
        // keeps every step valid.
        SDL_SetWindowMinimumSize(w->sdl, 1, 1);
        SDL_SetWindowMaximumSize(w->sdl, maxW, maxH);
        SDL_SetWindowMinimumSize(w->sdl, minW, minH);
        w->minWidth = minW;
        w->minHeight = minH;
        w->maxWidth = maxW;
        w->maxHeight = maxH;
    }
    *width = Clamp(*width, minW, maxW);
    *height = Clamp(*height, minH, maxH);
}

void SetIcon(SDL_Window* window)
{
    int i = FindResImage("kvupdate.ico", 32);
    if (i < 0) i = FindResImage("kvupdate.ico", 0);
    if (i < 0) return;
    const int* size = g_resImageSizes[i];
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<unsigned char*>(g_resImagePixels[i]), size[0],
                                                           size[1], 32, size[0] * 4, SDL_PIXELFORMAT_RGBA32);
    if (!icon) return;
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
}

// Window titles are at most 199 characters of three UTF-8 bytes each.
constexpr size_t kTitleBytes = 1024;
// Message-box texts are short sentences; longer ones stay on standard error only.
constexpr size_t kBoxBytes = 4096;

void ShowPointer()
{
    if (g_video == VIDEO_READY) SDL_ShowCursor(g_cursorCount >= 0 && g_cursor ? SDL_ENABLE : SDL_DISABLE);
}

}  // namespace

// ---- Window ----

bool PlatRegisterClass(PLATINSTANCE, const char*) { return EnsureVideo(); }

PLATWINDOW PlatCreateWindow(PLATINSTANCE, const char*, const char* title, uint32_t style, int x, int y, int width,
                            int height)
{
    if (!EnsureVideo()) return nullptr;
    int slot = 0;
    while (slot < kMaxWindows && g_windows[slot]) ++slot;
    if (slot == kMaxWindows) return nullptr;

    char utf8[kTitleBytes];
    if (!DesktopCp1252ToUtf8(title, utf8, sizeof utf8)) utf8[0] = '\0';
    uint32_t flags = SDL_WINDOW_HIDDEN;
    if (style & WS_THICKFRAME) flags |= SDL_WINDOW_RESIZABLE;
    if ((style & WS_CAPTION) != WS_CAPTION && !(style & WS_THICKFRAME)) flags |= SDL_WINDOW_BORDERLESS;
    if (width < 1) width = 1;
    if (height < 1) height = 1;

    DESKTOPWINDOW* w = new (std::nothrow) DESKTOPWINDOW();
    if (!w) return nullptr;
    w->sdl = SDL_CreateWindow(utf8, x, y, width, height, flags);
    if (!w->sdl) {
        delete w;
        return nullptr;
    }
    w->id = SDL_GetWindowID(w->sdl);
    w->width = width;
    w->height = height;
    w->reportedType = -1;
    g_windows[slot] = w;
    SetIcon(w->sdl);
    SDL_StartTextInput();

    ApplyLimits(w, &width, &height);
    if (width != w->width || height != w->height) {
        SDL_SetWindowSize(w->sdl, width, height);
        w->width = width;
        w->height = height;
    }
    Deliver(w, WM_SIZE, SIZE_RESTORED, DesktopPointParam(width, height));
    return w;
}

void PlatShowWindow(PLATWINDOW window, int showCommand)
{
    DESKTOPWINDOW* w = AsWindow(window);
    if (!w) return;
    if (showCommand == SW_HIDE) {
        SDL_HideWindow(w->sdl);
        w->visible = false;
        return;
    }
    if (!w->visible) {
        SDL_ShowWindow(w->sdl);
        w->visible = true;
        w->paintPending = true;
    }
    switch (showCommand) {
    case SW_SHOWMAXIMIZED: SDL_MaximizeWindow(w->sdl); break;
    case SW_SHOWNORMAL: SDL_RestoreWindow(w->sdl); break;
    case 2:  // SW_SHOWMINIMIZED
    case 6:  // SW_MINIMIZE
    case 7:  // SW_SHOWMINNOACTIVE
        SDL_MinimizeWindow(w->sdl);
        break;
    default: break;
    }
}

void PlatSetWindowStyle(PLATWINDOW window, uint32_t style)
{
    DESKTOPWINDOW* w = AsWindow(window);
    if (!w) return;
    bool resizable = (style & WS_THICKFRAME) != 0;
    SDL_SetWindowResizable(w->sdl, resizable ? SDL_TRUE : SDL_FALSE);
    SDL_SetWindowBordered(w->sdl, resizable || (style & WS_CAPTION) == WS_CAPTION ? SDL_TRUE : SDL_FALSE);
}

void PlatMoveWindow(PLATWINDOW window, int x, int y, int width, int height, bool repaint)
{
    DESKTOPWINDOW* w = AsWindow(window);
    if (!w) return;
    ApplyLimits(w, &width, &height);
    SDL_SetWindowPosition(w->sdl, x, y);
    SDL_SetWindowSize(w->sdl, width, height);
    w->width = width;
    w->height = height;
    // Windows reports a client size only when it changed.
    int type = SizeTypeNow(w);
    if (type == SIZE_MINIMIZED) width = height = 0;
    if (type != w->reportedType || width != w->reportedWidth || height != w->reportedHeight)
        Deliver(w, WM_SIZE, static_cast<uintptr_t>(type), DesktopPointParam(width, height));
    if (repaint) w->paintPending = true;
}

void PlatDestroyWindow(PLATWINDOW window)
{
    DESKTOPWINDOW* w = AsWindow(window);
    if (!w) return;
    for (DESKTOPWINDOW*& slot : g_windows)
        if (slot == w) slot = nullptr;
    SDL_DestroyWindow(w->sdl);
    delete w;
}

void PlatSetWindowText(PLATWINDOW window, const char* text)
{
    DESKTOPWINDOW* w = AsWindow(window);
    char utf8[kTitleBytes];
    if (w && DesktopCp1252ToUtf8(text, utf8, sizeof utf8)) SDL_SetWindowTitle(w->sdl, utf8);
}

bool PlatGetClientRect(PLATWINDOW window, PLATRECT* rect)
{
    DESKTOPWINDOW* w = AsWindow(window);
    if (!w || !rect) return false;
    *rect = PLATRECT{0, 0, w->width, w->height};
    return true;
}

void PlatInvalidateRect(PLATWINDOW window, const PLATRECT*, bool)
{
    // The program repaints its whole page, so the whole window is invalid.
    DESKTOPWINDOW* w = AsWindow(window);
    if (w) w->paintPending = true;
}

int PlatGetSystemMetrics(int index)
{
    SDL_Rect bounds;
    switch (index) {
    case 0:  // SM_CXSCREEN
    case 1:  // SM_CYSCREEN
        if (!EnsureVideo() || SDL_GetDisplayBounds(0, &bounds) != 0) return 0;
        return index == 0 ? bounds.w : bounds.h;
    default:
        // SM_CXFRAME, SM_CYFRAME, SM_CXDLGFRAME, SM_CYDLGFRAME, SM_CYCAPTION and the rest.
        return 0;
    }
}

bool PlatGetWorkArea(PLATRECT* rect)
{
    if (!rect) return false;
    SDL_Rect usable;
    if (EnsureVideo() && SDL_GetDisplayUsableBounds(0, &usable) == 0) {
        // Right and bottom lie just outside, as in Windows' work-area rectangle.
        *rect = PLATRECT{usable.x, usable.y, usable.x + usable.w, usable.y + usable.h};
        return true;
    }
    *rect = PLATRECT{0, 0, 1024, 768};
    return true;
}

intptr_t PlatDefWindowProc(PLATWINDOW window, uint32_t message, uintptr_t, intptr_t)
{
    // An unhandled paint counts as painted.
    DESKTOPWINDOW* w = AsWindow(window);
    if (w && message == WM_PAINT) w->paintPending = false;
    return 0;
}

// ---- Events ----

void PlatPumpEvents()
{
    if (g_video != VIDEO_READY) return;
    SDL_Event event;
    DESKTOPTRANSLATION t;
    while (SDL_PollEvent(&event)) {
        DESKTOPWINDOW* w = nullptr;
        switch (event.type) {
        case SDL_QUIT: w = FirstWindow(); break;
        case SDL_WINDOWEVENT: w = WindowById(event.window.windowID); break;
        case SDL_KEYDOWN: w = WindowById(event.key.windowID); break;
        case SDL_TEXTINPUT: w = WindowById(event.text.windowID); break;
        case SDL_MOUSEMOTION: w = WindowById(event.motion.windowID); break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: w = WindowById(event.button.windowID); break;
        case SDL_MOUSEWHEEL: w = WindowById(event.wheel.windowID); break;
        default: break;
        }
        if (!w) continue;
        DesktopTranslateEvent(event, StateOf(w), &t);
        if (event.type == SDL_WINDOWEVENT) {
            if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                w->width = event.window.data1;
                w->height = event.window.data2;
            } else if (event.window.event == SDL_WINDOWEVENT_SHOWN) {
                w->visible = true;
            } else if (event.window.event == SDL_WINDOWEVENT_HIDDEN) {
                w->visible = false;
            }
        }
        if (t.paint) w->paintPending = true;
        uint32_t id = w->id;
        for (int i = 0; i < t.count; ++i) {
            // The window procedure may have destroyed the window.
            w = WindowById(id);
            if (!w) break;
            Deliver(w, t.messages[i].message, t.messages[i].wParam, t.messages[i].lParam);
        }
    }
    for (int i = 0; i < kMaxWindows; ++i) {
        DESKTOPWINDOW* w = g_windows[i];
        if (w && w->visible && w->paintPending) Deliver(w, WM_PAINT, 0, 0);
    }
}

void PlatBeginPaint(PLATWINDOW window)
{
    DESKTOPWINDOW* w = AsWindow(window);
    if (w) w->paintPending = false;
}

void PlatEndPaint(PLATWINDOW window)
{
    DESKTOPWINDOW* w = AsWindow(window);
    if (w) w->paintPending = false;
}

// ---- Showing the frame buffer ----

void PlatPresent(PLATWINDOW window, const uint16_t* pixels, int surfaceWidth, int surfaceHeight, int pitch, int destX,
                 int destY, int width, int height, int sourceX, int sourceY)
{
    DESKTOPWINDOW* w = AsWindow(window);
    DESKTOPBLIT blit;
    if (!w || !pixels ||
        !DesktopBlitRect(surfaceWidth, surfaceHeight, destX, destY, width, height, sourceX, sourceY, &blit))
        return;
    SDL_Surface* target = SDL_GetWindowSurface(w->sdl);
    if (!target) return;
    // The frame buffer is only read: SDL wraps it without copying.
    SDL_Surface* source = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint16_t*>(pixels), surfaceWidth,
                                                             surfaceHeight, 16, pitch, SDL_PIXELFORMAT_RGB555);
    if (!source) return;
    SDL_Rect from{blit.sourceX, blit.sourceY, blit.width, blit.height};
    SDL_Rect to{blit.destX, blit.destY, blit.width, blit.height};
    if (SDL_BlitSurface(source, &from, target, &to) == 0 && to.w > 0 && to.h > 0)
        SDL_UpdateWindowSurfaceRects(w->sdl, &to, 1);
    SDL_FreeSurface(source);
}

// ---- Cursors ----

PLATCURSOR PlatLoadCursor(PLATINSTANCE, int resourceId)
{
    const char* name = resourceId == 101 ? "arrow.cur" : resourceId == 102 ? "busy.cur" : resourceId == 103 ? "hand.cur"
                                                                                                          : nullptr;
    int i = name ? FindResImage(name, 0) : -1;
    if (i < 0 || !EnsureVideo()) return nullptr;
    const int* size = g_resImageSizes[i];
    SDL_Surface* picture = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<unsigned char*>(g_resImagePixels[i]), size[0],
                                                              size[1], 32, size[0] * 4, SDL_PIXELFORMAT_RGBA32);
    if (!picture) return nullptr;
    SDL_Cursor* cursor = SDL_CreateColorCursor(picture, size[2], size[3]);
    SDL_FreeSurface(picture);
    return cursor;
}

PLATCURSOR PlatLoadSystemCursor(int systemId)
{
    if (!EnsureVideo()) return nullptr;
    switch (systemId) {
    case PLAT_IDC_ARROW: return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    case PLAT_IDC_WAIT: return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT);
    case 32513: return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_IBEAM);     // IDC_IBEAM
    case 32515: return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_CROSSHAIR); // IDC_CROSS
    case 32649: return SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_HAND);      // IDC_HAND
    default: return nullptr;
    }
}

PLATCURSOR PlatGetCursor()
{
    EnsureVideo();
    return g_cursor;
}

PLATCURSOR PlatSetCursor(PLATCURSOR cursor)
{
    EnsureVideo();
    PLATCURSOR previous = g_cursor;
    g_cursor = cursor;
    // No cursor at all hides the pointer, as on Windows.
    if (cursor && g_video == VIDEO_READY) SDL_SetCursor(static_cast<SDL_Cursor*>(cursor));
    ShowPointer();
    return previous;
}

int PlatShowCursor(bool show)
{
    EnsureVideo();
    g_cursorCount += show ? 1 : -1;
    ShowPointer();
    return g_cursorCount;
}

void PlatDestroyCursor(PLATCURSOR cursor)
{
    if (!cursor || g_video != VIDEO_READY) return;
    if (cursor == g_cursor) g_cursor = SDL_GetDefaultCursor();
    SDL_FreeCursor(static_cast<SDL_Cursor*>(cursor));
}

// ---- Message box, shell ----

void PlatMessageBox(const char* caption, const char* text)
{
    // Always on standard error: scripts read the outcome of a packing run there.
    fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
    fflush(stderr);
    // Without a display nothing could answer a box, so none is shown.
    if (!DisplayNamed() || !EnsureVideo()) return;
    char title[kTitleBytes];
    char message[kBoxBytes];
    if (!DesktopCp1252ToUtf8(caption, title, sizeof title) || !DesktopCp1252ToUtf8(text, message, sizeof message))
        return;
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, title, message, nullptr);
}

bool PlatShellOpen(const char* verb, const char* path, int)
{
    if ((verb && strcmp(verb, "open") != 0) || !path || !*path) return false;
    char absolute[4096];
    if (path[0] == '/') {
        int n = snprintf(absolute, sizeof absolute, "%s", path);
        if (n < 0 || static_cast<size_t>(n) >= sizeof absolute) return false;
    } else {
        char folder[4096];
        if (!getcwd(folder, sizeof folder)) return false;
        int n = snprintf(absolute, sizeof absolute, "%s/%s", folder, path);
        if (n < 0 || static_cast<size_t>(n) >= sizeof absolute) return false;
    }
    // As the Windows shell does, a file that is not there is not opened.
    if (access(absolute, F_OK) != 0) return false;
    static char url[3 * sizeof absolute + 8];
    if (!DesktopFileUrl(absolute, url, sizeof url)) return false;
    return SDL_OpenURL(url) == 0;
}
