// mkfont: renders one outline font at one pixel size into the program's .fnt bitmap font file.
// It runs on the build machine, also when the program is cross-compiled, and needs FreeType.
//
// Usage
//   mkfont <font.ttf> <pixel-size> <out.fnt>
//       Renders the character codes 32 to 255 (Windows-1252) of the font at the given pixel size
//       (FT_Set_Pixel_Sizes(face, 0, size), 4 to 255) and writes <out.fnt>. The file is written
//       under a temporary name and renamed at the end, so a failed run leaves no output behind.
//       Errors are reported on stderr and give exit status 1 (2 for bad arguments).
//
// Output (all integers signed 32-bit little-endian)
//   glyphHeight, then 224 records for the codes 32 to 255 in order:
//     advance      the glyph box's width in pixels
//     bytesPerRow  (advance + 1) / 2, or 0 for a glyph without ink (no bitmap follows)
//     leftMargin   blank columns at the left side of the box
//     rightMargin  blank columns at the right side of the box
//     bitmap       glyphHeight rows of bytesPerRow bytes, top row first, two pixels per byte,
//                  the left one in the high nibble; each nibble a coverage 0 (none) to 15 (full)
//
// Layout of a glyph box
//   Every box is glyphHeight rows high. Its top row is the highest ink row of any glyph of the
//   code page or the size's ascender line, whichever is higher, and its bottom row likewise the
//   lowest ink row or the descender line; for most sizes that is exactly ascender - descender.
//   Horizontally the box spans the glyph's advance from the pen position, widened on either side
//   where the ink reaches past it, so no ink is cut. The program spaces text by the margins (the
//   gap between two glyphs is three quarters of the space's advance less the facing margins), so
//   the widening does not move the ink apart.
//
//   Margins are the fully blank columns (coverage 0) at either side of the box.
//
//   A glyph without ink has no bitmap and margins 0. The space and the no-break space get the
//   advance StoredSpace() chooses, so that letters and words are spaced as in ordinary text;
//   with margins 0 a word gap is a letter gap, the space, and a letter gap. Codes with no
//   character (the five holes of Windows-1252 at 0x81, 0x8D, 0x8F, 0x90, 0x9D, and 0x7F) and
//   characters the font has no glyph for get advance 0; other characters without ink keep the
//   font's advance.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace {

const int kFirstCode = 32;
const int kLastCode = 255;
const int kCodeCount = kLastCode - kFirstCode + 1;
const int kMinPixels = 4;
const int kMaxPixels = 255;

// Windows-1252 codes 0x80 to 0x9F as Unicode; 0 marks the five codes that have no character.
// The other codes from 32 up are the same as their Unicode code points (ASCII and Latin-1).
const unsigned kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98-9F
};

// The Unicode character of a Windows-1252 code, 0 when the code has none (or is a control code).
unsigned CodeToUnicode(int code) {
    if (code < 32 || code == 0x7F) return 0;
    if (code >= 0x80 && code <= 0x9F) return kCp1252High[code - 0x80];
    return static_cast<unsigned>(code);
}

void Fail(const char* what, const char* name, const char* why) {
    std::fprintf(stderr, "mkfont: %s '%s': %s\n", what, name, why);
}

// Parses a whole decimal number within [lo, hi]; false for anything else.
bool ParseInt(const char* text, int lo, int hi, int* out) {
    if (text == nullptr || *text == '\0') return false;
    long value = 0;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9') return false;
        value = value * 10 + (*p - '0');
        if (value > hi) return false;
    }
    if (value < lo) return false;
    *out = static_cast<int>(value);
    return true;
}

// One rendered glyph: the slot's 8-bit coverage bitmap and its placement against the pen and the
// baseline. Valid until the next load into the face's slot.
struct Rendered {
    bool present;       // the font has a glyph for the character
    int advance;        // whole pixels
    int left;           // column of the bitmap's first pixel, relative to the pen
    int top;            // rows from the baseline up to the bitmap's first row
    int width;
    int rows;
    const unsigned char* gray;  // row r starts at gray + r * pitch
    int pitch;
};

// Loads and renders the character of a code; false (with a message) when FreeType fails.
bool RenderCode(FT_Face face, int code, const char* fontName, Rendered* out) {
    std::memset(out, 0, sizeof *out);
    unsigned ch = CodeToUnicode(code);
    if (ch == 0) return true;
    FT_UInt index = FT_Get_Char_Index(face, ch);
    if (index == 0) return true;
    char why[96];
    FT_Error err = FT_Load_Glyph(face, index, FT_LOAD_DEFAULT);
    if (err == 0) err = FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL);
    if (err != 0) {
        std::snprintf(why, sizeof why, "FreeType error 0x%02X rendering U+%04X", err, ch);
        Fail("cannot render", fontName, why);
        return false;
    }
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bm = slot->bitmap;
    if (bm.rows > 0 && bm.width > 0 && bm.pixel_mode != FT_PIXEL_MODE_GRAY) {
        std::snprintf(why, sizeof why, "U+%04X did not render to 8-bit gray", ch);
        Fail("cannot render", fontName, why);
        return false;
    }
    out->present = true;
    out->advance = static_cast<int>((slot->advance.x + 32) >> 6);
    out->left = slot->bitmap_left;
    out->top = slot->bitmap_top;
    out->width = static_cast<int>(bm.width);
    out->rows = static_cast<int>(bm.rows);
    out->pitch = bm.pitch;
    // With a negative pitch the rows are stored bottom-up and the buffer points at the last one.
    out->gray = bm.pitch >= 0 ? bm.buffer : bm.buffer + static_cast<long>(bm.rows - 1) * -bm.pitch;
    if (out->width == 0 || out->rows == 0) out->gray = nullptr;
    return true;
}

// The advance stored for the space (and the no-break space). The program puts three quarters of
// it between any two letters, so at the outline's own space advance the letters would stand
// about three times as far apart as the outline's side bearings put them; 70 % of it (rounded,
// at least 2 pixels) gives a 1-pixel letter gap at the small sizes and 2 to 3 at the large ones,
// while a word gap (the space plus a letter gap on either side) stays clearly wider.
int StoredSpace(int outlineSpace) {
    int stored = (outlineSpace * 7 + 5) / 10;
    return stored < 2 ? 2 : stored;
}

int Coverage(unsigned char gray) { return (gray * 15 + 127) / 255; }

// The glyph's ink rows relative to the baseline (top row up, bottom row down as negative);
// false when no pixel is dark enough to show as a coverage above 0.
bool InkRows(const Rendered& g, int* top, int* bottom) {
    bool any = false;
    for (int r = 0; r < g.rows; ++r) {
        const unsigned char* row = g.gray + static_cast<long>(r) * g.pitch;
        for (int x = 0; x < g.width; ++x) {
            if (Coverage(row[x]) == 0) continue;
            int y = g.top - r;  // the row's height above the baseline (its top edge)
            if (!any || y > *top) *top = y;
            if (!any || y - 1 < *bottom) *bottom = y - 1;
            any = true;
        }
    }
    return any;
}

class Output {
public:
    explicit Output(FILE* f) : f_(f) {}
    void Long(int value) {
        unsigned u = static_cast<unsigned>(value);
        for (int i = 0; i < 4; ++i) Byte(static_cast<unsigned char>((u >> (8 * i)) & 0xFFu));
    }
    void Byte(unsigned char b) {
        if (std::fputc(b, f_) == EOF) failed_ = true;
    }
    bool failed() const { return failed_; }

private:
    FILE* f_;
    bool failed_ = false;
};

// Writes one code's record: box width, bytes per row, margins and the packed bitmap.
// The box has `ascent` rows above the baseline and `height` rows in all. Returns false (with a
// message) on a memory failure.
bool WriteGlyph(const Rendered& g, int code, int spaceAdvance, int ascent, int height,
                const char* outName, Output* out) {
    int inkTop = 0, inkBottom = 0;
    bool ink = g.present && g.gray != nullptr && InkRows(g, &inkTop, &inkBottom);
    if (!ink) {
        int advance = g.present ? g.advance : 0;
        if (code == 0x20 || code == 0xA0) advance = spaceAdvance;
        out->Long(advance);
        out->Long(0);
        out->Long(0);
        out->Long(0);
        return true;
    }
    // The box runs from the pen (or the ink's left edge, if that is further left) to the advance
    // (or the ink's right edge, if that is further right).
    int boxLeft = g.left < 0 ? g.left : 0;
    int boxRight = g.left + g.width > g.advance ? g.left + g.width : g.advance;
    int width = boxRight - boxLeft;
    int bytesPerRow = (width + 1) / 2;
    size_t cells = static_cast<size_t>(width) * static_cast<size_t>(height);
    unsigned char* box = static_cast<unsigned char*>(std::calloc(cells, 1));
    if (box == nullptr) {
        Fail("cannot write", outName, "out of memory");
        return false;
    }
    int firstInk = width, lastInk = -1;
    for (int r = 0; r < g.rows; ++r) {
        int boxRow = ascent - g.top + r;
        const unsigned char* row = g.gray + static_cast<long>(r) * g.pitch;
        for (int x = 0; x < g.width; ++x) {
            int c = Coverage(row[x]);
            if (c == 0) continue;
            int col = g.left - boxLeft + x;
            // The box height covers the ink of every code, so nothing falls outside here.
            if (boxRow < 0 || boxRow >= height || col < 0 || col >= width) continue;
            box[static_cast<size_t>(boxRow) * width + col] = static_cast<unsigned char>(c);
            if (col < firstInk) firstInk = col;
            if (col > lastInk) lastInk = col;
        }
    }
    out->Long(width);
    out->Long(bytesPerRow);
    out->Long(firstInk);
    out->Long(width - 1 - lastInk);
    for (int r = 0; r < height; ++r) {
        const unsigned char* row = box + static_cast<size_t>(r) * width;
        for (int b = 0; b < bytesPerRow; ++b) {
            int hi = row[2 * b];
            int lo = 2 * b + 1 < width ? row[2 * b + 1] : 0;
            out->Byte(static_cast<unsigned char>((hi << 4) | lo));
        }
    }
    std::free(box);
    return true;
}

// Renders every code and writes the file; false after a message.
bool MakeFont(FT_Face face, const char* fontName, const char* outName, FILE* f) {
    // First pass: the rows the box must hold, the size's ascender and descender lines widened to
    // any ink beyond them, and the outline's space advance.
    const FT_Size_Metrics& m = face->size->metrics;
    int top = static_cast<int>((m.ascender + 63) >> 6);
    int bottom = static_cast<int>(m.descender >> 6);  // floor; the descender is negative
    int spaceAdvance = 0;
    for (int code = kFirstCode; code <= kLastCode; ++code) {
        Rendered g;
        if (!RenderCode(face, code, fontName, &g)) return false;
        if (code == 32) spaceAdvance = g.advance;
        int inkTop = 0, inkBottom = 0;
        if (g.gray != nullptr && InkRows(g, &inkTop, &inkBottom)) {
            if (inkTop > top) top = inkTop;
            if (inkBottom < bottom) bottom = inkBottom;
        }
    }
    int height = top - bottom;
    spaceAdvance = StoredSpace(spaceAdvance);
    if (height <= 0 || spaceAdvance <= 0) {
        Fail("cannot use", fontName, "no line height or no space at this size");
        return false;
    }
    Output out(f);
    out.Long(height);
    for (int code = kFirstCode; code <= kLastCode; ++code) {
        Rendered g;
        if (!RenderCode(face, code, fontName, &g)) return false;
        if (!WriteGlyph(g, code, spaceAdvance, top, height, outName, &out)) return false;
    }
    if (out.failed()) {
        Fail("cannot write", outName, std::strerror(errno));
        return false;
    }
    return true;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: mkfont <font.ttf> <pixel-size %d..%d> <out.fnt>\n", kMinPixels, kMaxPixels);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) return Usage();
    const char* fontName = argv[1];
    const char* outName = argv[3];
    int pixels = 0;
    if (!ParseInt(argv[2], kMinPixels, kMaxPixels, &pixels)) {
        std::fprintf(stderr, "mkfont: bad pixel size '%s'\n", argv[2]);
        return Usage();
    }

    // FreeType's own error for a missing file says little; ask the C library first.
    FILE* probe = std::fopen(fontName, "rb");
    if (probe == nullptr) {
        Fail("cannot open font", fontName, std::strerror(errno));
        return 1;
    }
    std::fclose(probe);

    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) {
        std::fprintf(stderr, "mkfont: cannot start FreeType\n");
        return 1;
    }
    FT_Face face = nullptr;
    FT_Error err = FT_New_Face(lib, fontName, 0, &face);
    if (err != 0) {
        char why[64];
        std::snprintf(why, sizeof why, "not a font FreeType can read (error 0x%02X)", err);
        Fail("cannot open font", fontName, why);
        FT_Done_FreeType(lib);
        return 1;
    }
    if (!FT_IS_SCALABLE(face) || FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels)) != 0) {
        Fail("cannot use", fontName, "not a scalable font");
        FT_Done_Face(face);
        FT_Done_FreeType(lib);
        return 1;
    }

    char tmpName[4096];
    int n = std::snprintf(tmpName, sizeof tmpName, "%s.tmp", outName);
    if (n < 0 || static_cast<size_t>(n) >= sizeof tmpName) {
        Fail("cannot write", outName, "path too long");
        FT_Done_Face(face);
        FT_Done_FreeType(lib);
        return 1;
    }
    FILE* f = std::fopen(tmpName, "wb");
    if (f == nullptr) {
        Fail("cannot write", tmpName, std::strerror(errno));
        FT_Done_Face(face);
        FT_Done_FreeType(lib);
        return 1;
    }
    bool ok = MakeFont(face, fontName, outName, f);
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
    if (std::fclose(f) != 0 && ok) {
        Fail("cannot write", tmpName, std::strerror(errno));
        ok = false;
    }
    if (ok && std::rename(tmpName, outName) != 0) {
        Fail("cannot write", outName, std::strerror(errno));
        ok = false;
    }
    if (!ok) {
        std::remove(tmpName);
        return 1;
    }
    return 0;
}
