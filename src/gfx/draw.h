// Styles and flags of the drawing operations (Line, Box) of BFIO.
#ifndef KV_DRAW_H
#define KV_DRAW_H

#include <cstdint>

enum { LINE_SOLID = 1, LINE_DASHED = 2 };  // only bit 0 counts: clear means dashed

enum {
    BOX_DASHED = 0x01,
    BOX_OUTLINE = 0x02,
    BOX_FILL = 0x04,
    BOX_RAMP_RIGHT = 0x08,  // colour2 at the left, colour at the right
    BOX_RAMP_LEFT = 0x10,   // colour at the left, colour2 at the right
    BOX_RAMP_DOWN = 0x20,   // colour2 at the top, colour at the bottom
    BOX_RAMP_UP = 0x40,     // colour at the top, colour2 at the bottom
    BOX_TINT = 0x80         // two thirds of the way towards colour
};

// A ramp's colour2 with this bit stands for the colour already at each pixel.
const uint16_t COLOUR_BEHIND = 0x8000;

#endif
