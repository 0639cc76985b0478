#include "gfx/screen.h"
#include "app/bfio.h"
#include "app/memory.h"

#include <cstring>

GRAPHICS g_gfx = {nullptr, nullptr, 0, 0, 0, -1, -1, -1, -1, 0, nullptr, -1, -1, -1, -1, 0, 0, 0, 0, 0};

namespace {

void ReadWorkArea()
{
    PLATRECT area{0, 0, 0, 0};
    PlatGetWorkArea(&area);
    g_gfx.workWidth = static_cast<int16_t>(area.right - area.left + 1);
    g_gfx.workHeight = static_cast<int16_t>(area.bottom - area.top + 1);
}

void ReleaseScreen()
{
    FreeBlock(g_gfx.pixels);
    g_gfx.pixels = nullptr;
}

}  // namespace

int32_t BFIO::OpenGraphics(int16_t width, int16_t height, const char* title, bool maximise, FOLDER* folder,
                           int16_t minHeight, int16_t maxHeight, int16_t minWidth, int16_t maxWidth)
{
    g_gfx.opening = 1;

    // A limit only counts together with its partner.
    if (minWidth == -1 || maxWidth == -1) minWidth = maxWidth = -1;
    if (minHeight == -1 || maxHeight == -1) minHeight = maxHeight = -1;
    if (maxWidth == -1 && maxHeight == -1) maximise = false;
    // The requested size always lies within the limits.
    if (minWidth >= 0 && minWidth >= width) minWidth = width;
    if (maxWidth >= 0 && maxWidth <= width) maxWidth = width;
    if (minHeight >= 0 && minHeight >= height) minHeight = height;
    if (maxHeight >= 0 && maxHeight <= height) maxHeight = height;

    bool resizable = maxWidth >= 0 || maxHeight >= 0;
    uint32_t style = resizable ? WS_OVERLAPPEDWINDOW : (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    g_gfx.frameX = static_cast<int16_t>(PlatGetSystemMetrics(resizable ? SM_CXFRAME : SM_CXDLGFRAME));
    g_gfx.frameY = static_cast<int16_t>(PlatGetSystemMetrics(resizable ? SM_CYFRAME : SM_CYDLGFRAME));
    g_gfx.captionTop = static_cast<int16_t>(PlatGetSystemMetrics(SM_CYCAPTION) + g_gfx.frameY);

    ReadWorkArea();
    int fitWidth = g_gfx.workWidth - 2 * g_gfx.frameX;
    int fitHeight = g_gfx.workHeight - g_gfx.captionTop - g_gfx.frameY;
    if (width > fitWidth) width = static_cast<int16_t>(fitWidth);
    if (height > fitHeight) height = static_cast<int16_t>(fitHeight);

    g_gfx.width = width;
    g_gfx.height = height;
    g_gfx.minWidth = minWidth;
    g_gfx.maxWidth = maxWidth;
    g_gfx.minHeight = minHeight;
    g_gfx.maxHeight = maxHeight;

    int outerWidth = width + 2 * g_gfx.frameX;
    int outerHeight = height + g_gfx.captionTop + g_gfx.frameY;
    int x = (g_gfx.workWidth - outerWidth) / 2;
    int y = (g_gfx.workHeight - outerHeight) / 2;

    if (!g_gfx.window) {
        PlatRegisterClass(g_shell.instance, "main");
        g_gfx.window = PlatCreateWindow(g_shell.instance, "main", title, style, x, y, outerWidth, outerHeight);
        if (!g_gfx.window) return GFX_NO_WINDOW;
    } else {
        PlatShowWindow(g_gfx.window, SW_HIDE);
        PlatSetWindowStyle(g_gfx.window, style);
        PlatMoveWindow(g_gfx.window, x, y, outerWidth, outerHeight, false);
    }
    PlatShowWindow(g_gfx.window, maximise ? SW_SHOWMAXIMIZED : SW_SHOW);

    // The surface follows the client area as shown, maximised or not.
    PLATRECT client{0, 0, 0, 0};
    PlatGetClientRect(g_gfx.window, &client);
    int32_t code = AllocateScreen(static_cast<int16_t>(client.right), static_cast<int16_t>(client.bottom));
    if (code != GFX_OK) return code;
    g_gfx.opening = 0;

    // Only the opening that makes the font table loads the fonts.
    if (g_gfx.fonts) return GFX_OK;
    g_gfx.fonts = static_cast<FONT**>(AllocBlock(FONT_COUNT * sizeof(FONT*), "font table"));
    if (!g_gfx.fonts) return GFX_NO_FONT_TABLE;
    for (int i = 0; i < FONT_COUNT; ++i) g_gfx.fonts[i] = nullptr;
    for (int i = 0; i < FONT_COUNT; ++i) {
        code = LoadFont(folder, i);
        if (code != GFX_OK) return code;
    }
    return GFX_OK;
}

void BFIO::CloseGraphics()
{
    if (g_gfx.window) {
        PlatShowWindow(g_gfx.window, SW_HIDE);
        PlatDestroyWindow(g_gfx.window);
        g_gfx.window = nullptr;
    }
    ReleaseScreen();
    if (g_gfx.fonts) {
        for (int i = 0; i < FONT_COUNT; ++i)
            if (g_gfx.fonts[i]) FreeFont(i);
        FreeBlock(g_gfx.fonts);
        g_gfx.fonts = nullptr;
    }
}

bool BFIO::GraphicsReady() const
{
    return g_gfx.opening == 0 && g_gfx.pixels != nullptr;
}

int16_t BFIO::ScreenWidth() const { return g_gfx.width; }
int16_t BFIO::ScreenHeight() const { return g_gfx.height; }

int32_t BFIO::AllocateScreen(int16_t width, int16_t height)
{
    ReleaseScreen();
    int32_t pitch = width * 2;
    if (pitch % 4) pitch += 4 - pitch % 4;
    g_gfx.pitch = pitch;
    if (width <= 0 || height <= 0) return GFX_NO_SCREEN_MEMORY;
    size_t bytes = static_cast<size_t>(height) * static_cast<size_t>(pitch);
    uint16_t* pixels = static_cast<uint16_t*>(AllocBlock(bytes, "screen"));
    if (!pixels) return GFX_NO_SCREEN_MEMORY;
    memset(pixels, 0, bytes);
    g_gfx.pixels = pixels;
    g_gfx.dirtyLeft = 0;
    g_gfx.dirtyRight = static_cast<int16_t>(width - 1);
    g_gfx.dirtyTop = 0;
    g_gfx.dirtyBottom = static_cast<int16_t>(height - 1);
    g_gfx.width = width;
    g_gfx.height = height;
    return GFX_OK;
}

void BFIO::ClampAndMark(int16_t& x1, int16_t& y1, int16_t& x2, int16_t& y2)
{
    // Clamp, not clip: a rectangle outside the surface becomes a strip along its edge.
    int16_t* xs[] = {&x1, &x2};
    int16_t* ys[] = {&y1, &y2};
    for (int16_t* x : xs) {
        if (*x < 0) *x = 0;
        if (*x >= g_gfx.width) *x = static_cast<int16_t>(g_gfx.width - 1);
    }
    for (int16_t* y : ys) {
        if (*y < 0) *y = 0;
        if (*y >= g_gfx.height) *y = static_cast<int16_t>(g_gfx.height - 1);
    }
    if (x1 > x2) {
        int16_t t = x1;
        x1 = x2;
        x2 = t;
    }
    if (y1 > y2) {
        int16_t t = y1;
        y1 = y2;
        y2 = t;
    }
    if (g_gfx.dirtyLeft == -1 || g_gfx.dirtyLeft > x1) g_gfx.dirtyLeft = x1;
    if (g_gfx.dirtyRight == -1 || g_gfx.dirtyRight < x2) g_gfx.dirtyRight = x2;
    if (g_gfx.dirtyTop == -1 || g_gfx.dirtyTop > y1) g_gfx.dirtyTop = y1;
    if (g_gfx.dirtyBottom == -1 || g_gfx.dirtyBottom < y2) g_gfx.dirtyBottom = y2;
}

void BFIO::Present()
{
    if (g_gfx.dirtyLeft == -1 || g_gfx.dirtyRight == -1 || g_gfx.dirtyTop == -1 || g_gfx.dirtyBottom == -1 ||
        !g_gfx.pixels)
        return;
    int width = g_gfx.dirtyRight - g_gfx.dirtyLeft + 1;
    int height = g_gfx.dirtyBottom - g_gfx.dirtyTop + 1;
    int16_t sourceY = static_cast<int16_t>(g_gfx.height - 1 - g_gfx.dirtyBottom);
    PlatPresent(g_gfx.window, g_gfx.pixels, g_gfx.width, g_gfx.height, g_gfx.pitch, g_gfx.dirtyLeft, g_gfx.dirtyTop,
                width, height, g_gfx.dirtyLeft, sourceY);
    g_gfx.dirtyLeft = g_gfx.dirtyRight = g_gfx.dirtyTop = g_gfx.dirtyBottom = -1;
}

void HandleSizeMessage(PLATWINDOW window, uintptr_t wParam, intptr_t lParam)
{
    if (!g_gfx.pixels || (wParam != SIZE_RESTORED && wParam != SIZE_MAXIMIZED) || !g_shell.bfio) return;
    int16_t width = static_cast<int16_t>(lParam & 0xFFFF);
    int16_t height = static_cast<int16_t>((lParam >> 16) & 0xFFFF);
    g_shell.bfio->AllocateScreen(width, height);
    PLATRECT client;
    if (PlatGetClientRect(window, &client)) PlatInvalidateRect(window, &client, false);
}

namespace {

// One axis of the window's size limits. Without limits (max < 0) the window keeps its size;
// with them the client area stays between the limits and the window within the work area.
// border is what the frame adds to the client size on this axis.
void FillAxisLimits(int32_t PLATPOINT::*axis, PLATMINMAXINFO* info, int16_t size, int16_t minSize, int16_t maxSize,
                    int border, int16_t work)
{
    int outer;
    if (maxSize < 0) {
        outer = size + border;
        info->ptMinTrackSize.*axis = outer;
    } else {
        outer = maxSize + border;
        if (outer > work) outer = work;
        info->ptMinTrackSize.*axis = minSize + border;
    }
    info->ptMaxSize.*axis = info->ptMaxTrackSize.*axis = outer;
    info->ptMaxPosition.*axis = (work - outer) / 2;
}

}  // namespace

void HandleMinMaxMessage(PLATMINMAXINFO* info)
{
    if (!info) return;
    ReadWorkArea();
    FillAxisLimits(&PLATPOINT::x, info, g_gfx.width, g_gfx.minWidth, g_gfx.maxWidth, 2 * g_gfx.frameX, g_gfx.workWidth);
    FillAxisLimits(&PLATPOINT::y, info, g_gfx.height, g_gfx.minHeight, g_gfx.maxHeight, g_gfx.captionTop + g_gfx.frameY,
                   g_gfx.workHeight);
}
