// Lines, boxes, colour ramps, the tint and colour shading, drawn into the frame buffer.
#include "gfx/draw.h"
#include "app/bfio.h"
#include "gfx/screen.h"

namespace {

inline uint16_t* Row(int y)
{
    return reinterpret_cast<uint16_t*>(reinterpret_cast<unsigned char*>(g_gfx.pixels) +
                                       static_cast<size_t>(y) * static_cast<size_t>(g_gfx.pitch));
}

inline int Red8(uint16_t c) { return (c >> 7) & 0xF8; }
inline int Green8(uint16_t c) { return (c >> 2) & 0xF8; }
inline int Blue8(uint16_t c) { return (c << 3) & 0xF8; }

inline uint16_t Compose(int r, int g, int b)
{
    return static_cast<uint16_t>(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
}

inline bool DashOn(int32_t style, int k)
{
    return (style & 1) || (k % 6) < 4;
}

void Run(int16_t x1, int16_t y1, int16_t x2, int16_t y2, int32_t style, uint16_t colour)
{
    if (y1 == y2) {
        uint16_t* row = Row(y1);
        for (int x = x1; x <= x2; ++x)
            if (DashOn(style, x - x1)) row[x] = colour;
    } else {
        for (int y = y1; y <= y2; ++y)
            if (DashOn(style, y - y1)) Row(y)[x1] = colour;
    }
}

// The Bresenham walk between the unclamped end points, setting only the pixels inside the
// clamped box; dashes count the pixels inside the box in walk order.
void Walk(int x1, int y1, int x2, int y2, int32_t style, uint16_t colour, int bx1, int by1, int bx2, int by2)
{
    int adx = x2 > x1 ? x2 - x1 : x1 - x2;
    int ady = y2 > y1 ? y2 - y1 : y1 - y2;
    bool alongX = adx >= ady;
    // Walk in the major axis; a and b are the major and minor coordinates.
    int a0, b0, a1, b1, da, db;
    if (alongX) {
        if (x1 > x2) {
            int t = x1; x1 = x2; x2 = t;
            t = y1; y1 = y2; y2 = t;
        }
        a0 = x1; b0 = y1; a1 = x2; b1 = y2; da = adx; db = ady;
    } else {
        if (y1 > y2) {
            int t = x1; x1 = x2; x2 = t;
            t = y1; y1 = y2; y2 = t;
        }
        a0 = y1; b0 = x1; a1 = y2; b1 = x2; da = ady; db = adx;
    }
    int step = b1 > b0 ? 1 : -1;
    int d = 2 * db - da;
    int b = b0;
    int counted = 0;
    for (int a = a0; a <= a1; ++a) {
        if (a != a0) {
            if (d >= 0) {
                b += step;
                d += 2 * (db - da);
            } else {
                d += 2 * db;
            }
        }
        int x = alongX ? a : b;
        int y = alongX ? b : a;
        if (x < bx1 || x > bx2 || y < by1 || y > by2) continue;
        if (DashOn(style, counted)) Row(y)[x] = colour;
        ++counted;
    }
}

void Ramp(int16_t x1, int16_t y1, int16_t x2, int16_t y2, int32_t mode, uint16_t colour, uint16_t colour2)
{
    bool behind = (colour2 & COLOUR_BEHIND) != 0;
    bool horizontal = mode == BOX_RAMP_RIGHT || mode == BOX_RAMP_LEFT;
    bool startIsColour2 = mode == BOX_RAMP_RIGHT || mode == BOX_RAMP_DOWN;
    int w = x2 - x1 + 1, h = y2 - y1 + 1;
    int n = horizontal ? w : h;
    int c[3] = {Red8(colour), Green8(colour), Blue8(colour)};
    int c2[3] = {Red8(colour2), Green8(colour2), Blue8(colour2)};
    for (int row = 0; row < h; ++row) {
        uint16_t* pixels = Row(y1 + row);
        int carry[3] = {0, 0, 0};
        for (int col = 0; col < w; ++col) {
            uint16_t& d = pixels[x1 + col];
            if (behind) {
                c2[0] = Red8(d);
                c2[1] = Green8(d);
                c2[2] = Blue8(d);
            }
            const int* s = startIsColour2 ? c2 : c;
            const int* e = startIsColour2 ? c : c2;
            int p = horizontal ? col : row;
            int t[3];
            for (int k = 0; k < 3; ++k) {
                // A ramp one pixel long has only its start colour.
                int v = n > 1 ? (s[k] * (n - 1 - p) + e[k] * p) / (n - 1) : s[k];
                v += carry[k];
                t[k] = v < 0 ? 0 : (v > 255 ? 255 : v);
                carry[k] = t[k] & 7;
            }
            d = Compose(t[0], t[1], t[2]);
        }
    }
}

}  // namespace

int32_t BFIO::Line(int16_t x1, int16_t y1, int16_t x2, int16_t y2, int32_t style, uint16_t colour)
{
    if (!GraphicsReady()) return GFX_NOT_READY;
    int16_t cx1 = x1, cy1 = y1, cx2 = x2, cy2 = y2;
    ClampAndMark(cx1, cy1, cx2, cy2);
    if (cy1 == cy2 || cx1 == cx2)
        Run(cx1, cy1, cx2, cy2, style, colour);
    else
        Walk(x1, y1, x2, y2, style, colour, cx1, cy1, cx2, cy2);
    return GFX_OK;
}

int32_t BFIO::Box(int16_t x1, int16_t y1, int16_t x2, int16_t y2, int32_t flags, uint16_t colour, uint16_t colour2)
{
    if (!GraphicsReady()) return GFX_NOT_READY;
    ClampAndMark(x1, y1, x2, y2);
    // The first mode bit that is set is the one drawn.
    int32_t mode = 0;
    for (int32_t bit = BOX_DASHED; bit <= BOX_TINT; bit <<= 1)
        if (flags & bit) {
            mode = bit;
            break;
        }
    switch (mode) {
    case BOX_DASHED:
    case BOX_OUTLINE: {
        int32_t style = mode == BOX_DASHED ? LINE_DASHED : LINE_SOLID;
        Line(x1, y1, x2, y1, style, colour);
        Line(x2, y1, x2, y2, style, colour);
        Line(x2, y2, x1, y2, style, colour);
        Line(x1, y2, x1, y1, style, colour);
        break;
    }
    case BOX_FILL:
        for (int y = y1; y <= y2; ++y) {
            uint16_t* row = Row(y);
            for (int x = x1; x <= x2; ++x) row[x] = colour;
        }
        break;
    case BOX_RAMP_RIGHT:
    case BOX_RAMP_LEFT:
    case BOX_RAMP_DOWN:
    case BOX_RAMP_UP:
        Ramp(x1, y1, x2, y2, mode, colour, colour2);
        break;
    case BOX_TINT: {
        int r = Red8(colour), g = Green8(colour), b = Blue8(colour);
        for (int y = y1; y <= y2; ++y) {
            uint16_t* row = Row(y);
            for (int x = x1; x <= x2; ++x) {
                uint16_t d = row[x];
                row[x] = Compose((Red8(d) + 2 * r) / 3, (Green8(d) + 2 * g) / 3, (Blue8(d) + 2 * b) / 3);
            }
        }
        break;
    }
    default:
        break;
    }
    return GFX_OK;
}

uint16_t BFIO::Shade(uint16_t colour, int16_t percent, bool rgb565)
{
    int c[3];
    if (rgb565) {
        c[0] = (colour >> 8) & 0xF8;
        c[1] = (colour >> 3) & 0xFC;
        c[2] = (colour << 3) & 0xF8;
    } else {
        c[0] = Red8(colour);
        c[1] = Green8(colour);
        c[2] = Blue8(colour);
    }
    for (int& v : c) {
        v = v * percent / 100;
        if (v > 255) v = 255;
        if (v < 0) v = 0;  // a negative percent darkens to black
    }
    if (rgb565) return static_cast<uint16_t>(((c[0] & 0xF8) << 8) | ((c[1] & 0xFC) << 3) | (c[2] >> 3));
    return static_cast<uint16_t>(((c[0] & 0xF8) << 7) | ((c[1] & 0xF8) << 2) | (c[2] >> 3));
}
