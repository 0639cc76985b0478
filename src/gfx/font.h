// Bitmap fonts: the loaded form of a ".fnt" file.
//
// File: glyphHeight, then 224 records for the codes 32 to 255, each advance, bytesPerRow,
// leftMargin, rightMargin and glyphHeight x bytesPerRow bytes of 4-bit coverage (two pixels
// a byte, the first in the high nibble); all integers signed 32-bit, least significant byte
// first.
#ifndef KV_FONT_H
#define KV_FONT_H

#include <cstdint>

enum {
    FONT_CANNOT_OPEN = 7,
    FONT_NO_MEMORY = 8,
    FONT_DAMAGED = 9,  // ends early, or holds a value no real font has
    FONT_NO_GLYPH_MEMORY = 11,
    TEXT_NO_STRING = 12,
    TEXT_NO_FONT = 13
};

// Limits no real font comes near; a file beyond them is damaged. They keep every size and
// every spacing sum far from overflow.
enum {
    FONT_MAX_HEIGHT = 512,
    FONT_MAX_ADVANCE = 1024,
    FONT_MAX_BYTES_PER_ROW = 1024,
    FONT_MAX_MARGIN = 1024
};

struct GLYPH {
    int32_t advance;
    int32_t bytesPerRow;
    int32_t leftMargin;
    int32_t rightMargin;
    unsigned char* bitmap;  // glyphHeight x bytesPerRow bytes, null when bytesPerRow is 0
};

struct FONT {
    int32_t glyphHeight;
    GLYPH glyphs[256];  // 0 to 31 stay empty
};

// The file of each font index.
extern const char* const FontFiles[7];

#endif
