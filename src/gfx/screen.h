// The graphics state: the window, the RGB555 frame buffer and its dirty rectangle.
#ifndef KV_SCREEN_H
#define KV_SCREEN_H

#include "platform/platform.h"

#include <cstdint>

struct FONT;

enum { FONT_COUNT = 7 };

enum {
    GFX_OK = 0,
    GFX_NO_WINDOW = 1,
    GFX_NO_SCREEN_MEMORY = 2,
    GFX_NOT_READY = 3,
    GFX_NO_FONT_TABLE = 6
};

struct GRAPHICS {
    PLATWINDOW window;
    uint16_t* pixels;
    int16_t width;
    int16_t height;
    int32_t pitch;
    int16_t dirtyLeft, dirtyRight, dirtyTop, dirtyBottom;  // inclusive; -1: nothing to show
    uint8_t opening;
    FONT** fonts;  // FONT_COUNT slots once made
    int16_t minWidth, maxWidth, minHeight, maxHeight;
    int16_t frameX, frameY, captionTop;
    int16_t workWidth, workHeight;
};
extern GRAPHICS g_gfx;

// Window messages of the graphics side.
void HandleSizeMessage(PLATWINDOW window, uintptr_t wParam, intptr_t lParam);
void HandleMinMaxMessage(PLATMINMAXINFO* info);

#endif
