// Loading, measuring and drawing text in the bitmap fonts.
#include "gfx/font.h"
#include "app/bfio.h"
#include "app/datafile.h"
#include "app/memory.h"
#include "gfx/screen.h"

#include <cstring>

const char* const FontFiles[FONT_COUNT] = {
    "arial_narrow_10.fnt", "arial_narrow_11.fnt", "arial_14.fnt",          "arial_16.fnt",
    "arial_18.fnt",        "trade_cond_24_bold.fnt", "trade_cond_28_bold.fnt",
};

namespace {

FONT* Slot(int32_t index)
{
    return g_gfx.fonts ? g_gfx.fonts[index] : nullptr;
}

bool Within(int32_t value, int32_t low, int32_t high)
{
    return value >= low && value <= high;
}

// A glyph record as a real font writes it: sane sizes, and a bitmap row wide enough for
// the glyph's pixels when it has a bitmap at all.
bool SaneGlyph(const GLYPH& g)
{
    if (!Within(g.advance, 0, FONT_MAX_ADVANCE)) return false;
    if (!Within(g.leftMargin, -FONT_MAX_MARGIN, FONT_MAX_MARGIN)) return false;
    if (!Within(g.rightMargin, -FONT_MAX_MARGIN, FONT_MAX_MARGIN)) return false;
    if (g.bytesPerRow == 0) return true;
    return Within(g.bytesPerRow, (g.advance + 1) / 2, FONT_MAX_BYTES_PER_ROW);
}

int16_t Saturate16(int32_t v)
{
    return static_cast<int16_t>(v < -32768 ? -32768 : (v > 32767 ? 32767 : v));
}

}  // namespace

int32_t BFIO::LoadFont(FOLDER* folder, int32_t index)
{
    if (!g_gfx.fonts || index < 0 || index >= FONT_COUNT) return FONT_CANNOT_OPEN;
    DATAFILE file;
    if (!file.Open(folder, FontFiles[index], 0, FILE_READ)) return FONT_CANNOT_OPEN;
    FONT* font = static_cast<FONT*>(AllocBlock(sizeof(FONT), "font"));
    if (!font) {
        file.Close();
        return FONT_NO_MEMORY;
    }
    memset(font, 0, sizeof *font);
    g_gfx.fonts[index] = font;

    int32_t code = GFX_OK;
    if (!file.ReadLong(&font->glyphHeight) || !Within(font->glyphHeight, 0, FONT_MAX_HEIGHT)) code = FONT_DAMAGED;
    for (int c = 32; c < 256 && code == GFX_OK; ++c) {
        GLYPH& g = font->glyphs[c];
        if (!file.ReadLong(&g.advance) || !file.ReadLong(&g.bytesPerRow) || !file.ReadLong(&g.leftMargin) ||
            !file.ReadLong(&g.rightMargin) || !SaneGlyph(g)) {
            g.bytesPerRow = 0;  // nothing was allocated for this record
            code = FONT_DAMAGED;
            break;
        }
        if (g.bytesPerRow == 0) continue;
        int32_t bytes = font->glyphHeight * g.bytesPerRow;
        g.bitmap = static_cast<unsigned char*>(AllocBlock(static_cast<size_t>(bytes), "glyph"));
        if (!g.bitmap) {
            g.bytesPerRow = 0;
            code = FONT_NO_GLYPH_MEMORY;
        } else if (!file.ReadBlock(g.bitmap, bytes)) {
            code = FONT_DAMAGED;
        }
    }
    file.Close();
    if (code != GFX_OK) FreeFont(index);
    return code;
}

void BFIO::FreeFont(int32_t index)
{
    if (index < 0 || index >= FONT_COUNT) return;
    FONT* font = Slot(index);
    if (!font) return;
    for (int c = 32; c < 256; ++c) FreeBlock(font->glyphs[c].bitmap);
    FreeBlock(font);
    g_gfx.fonts[index] = nullptr;
}

int32_t BFIO::FontHeight(int32_t index) const
{
    if (!GraphicsReady()) return GFX_NOT_READY;
    FONT* font = Slot(index);
    return font ? font->glyphHeight : 0;
}

int32_t BFIO::CharGap(int32_t index, const char* text, int32_t position) const
{
    if (!GraphicsReady()) return GFX_NOT_READY;
    FONT* font = Slot(index);
    if (!font || !text || position < 1) return 0;
    unsigned char next = static_cast<unsigned char>(text[position]);
    unsigned char prev = static_cast<unsigned char>(text[position - 1]);
    if (next == 0) return 0;
    int32_t gap = (3 * font->glyphs[32].advance) / 4 - font->glyphs[prev].rightMargin - font->glyphs[next].leftMargin;
    return gap < 0 ? 0 : gap;
}

int32_t BFIO::TextWidth(int32_t index, const char* text) const
{
    if (!GraphicsReady()) return GFX_NOT_READY;
    FONT* font = Slot(index);
    if (!font || !text) return 0;
    int32_t width = 0;
    for (int32_t i = 0; text[i]; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 32) continue;
        width += font->glyphs[c].advance + CharGap(index, text, i + 1);
    }
    return width;
}

int32_t BFIO::Text(int16_t x, int16_t y, int32_t index, uint16_t colour, const char* text)
{
    if (!GraphicsReady()) return GFX_NOT_READY;
    if (!text) return TEXT_NO_STRING;
    FONT* font = Slot(index);
    if (!font) return TEXT_NO_FONT;

    const int fr = (colour >> 7) & 0xF8, fg = (colour >> 2) & 0xF8, fb = (colour << 3) & 0xF8;
    // The last destination value expanded, reused while the background stays the same.
    int32_t lastValue = -1;
    int dr = 0, dg = 0, db = 0;
    const int32_t rows = font->glyphHeight;
    int32_t pen = x;

    for (int32_t i = 0; text[i]; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 32) continue;
        const GLYPH& g = font->glyphs[c];
        if (c > 32 && g.bitmap) {
            int16_t bx1 = Saturate16(pen), by1 = y;
            int16_t bx2 = Saturate16(pen + g.advance - 1), by2 = Saturate16(y + rows - 1);
            ClampAndMark(bx1, by1, bx2, by2);
            // The last column and row of the surface are never drawn; parts of the glyph
            // left of or above the surface are cut.
            if (pen < g_gfx.width - 1 && y < g_gfx.height - 1) {
                for (int32_t r = 0; r < rows; ++r) {
                    int32_t sy = y + r;
                    if (sy < 0) continue;
                    if (sy >= g_gfx.height - 1) break;
                    uint16_t* line = reinterpret_cast<uint16_t*>(reinterpret_cast<unsigned char*>(g_gfx.pixels) +
                                                                 static_cast<size_t>(sy) * g_gfx.pitch);
                    const unsigned char* bits = g.bitmap + static_cast<size_t>(r) * g.bytesPerRow;
                    for (int32_t j = 0; j < g.advance; ++j) {
                        int32_t sx = pen + j;
                        if (sx >= g_gfx.width - 1) break;
                        if (sx < 0) continue;
                        int a = (j & 1) ? (bits[j >> 1] & 0x0F) : (bits[j >> 1] >> 4);
                        if (a == 0) continue;
                        uint16_t& d = line[sx];
                        if (a == 15) {
                            d = colour;
                            continue;
                        }
                        if (d != lastValue) {
                            lastValue = d;
                            dr = (d >> 7) & 0xF8;
                            dg = (d >> 2) & 0xF8;
                            db = (d << 3) & 0xF8;
                        }
                        int mr = (dr * (15 - a) + fr * a) / 15;
                        int mg = (dg * (15 - a) + fg * a) / 15;
                        int mb = (db * (15 - a) + fb * a) / 15;
                        d = static_cast<uint16_t>(((mr >> 3) << 10) | ((mg >> 3) << 5) | (mb >> 3));
                    }
                }
            }
        }
        pen += g.advance + CharGap(index, text, i + 1);
    }
    return GFX_OK;
}
