// mkres: makes the program's Windows cursor (.cur) and icon (.ico) files from text pictures.
// It runs on the build machine, also when the program is cross-compiled, so it uses nothing
// but the C and C++ standard libraries.
//
// Usage
//   mkres <outdir> <name.cur.txt | name.ico.txt>...
//       For every picture, writes <outdir>/<name.cur> or <outdir>/<name.ico> (the input's file
//       name without ".txt"). The first bad picture stops the run with a message naming the file
//       and line, and the exit status is 1; nothing is written for that picture.
//   mkres --rgba <picture.txt> <out.rgba> [image-number]
//       Writes one image of the picture (the first one unless a number from 0 is given) as a raw
//       RGBA dump, for platforms without Windows cursors and icons.
//   mkres --cpp <out.cpp> <name.cur.txt | name.ico.txt>...
//       Writes a C++ source file holding every image of the pictures as RGBA data, so that a
//       program for a platform without Windows resources can carry its cursors and icon inside
//       itself. A bad picture stops the run (exit status 1) and no file is left behind.
//
// Picture format (plain text, ASCII, one statement per line)
//   - A line whose first character is '#' is a comment. Blank lines are ignored everywhere.
//   - The first statement names the kind:   kvpicture cursor   or   kvpicture icon
//   - Then the palette, one entry per line, before the first image:
//         <c> = #RRGGBB        an opaque colour
//         <c> = #RRGGBBAA      a colour with alpha (00 transparent .. FF opaque)
//         <c> = none           fully transparent
//     <c> is one printable character other than '#'.
//   - Then one or more images:
//         image <W>x<H> [hotspot <X>,<Y>] [bits <N>]
//     followed by exactly H rows of exactly W palette characters (trailing spaces are ignored).
//     W and H are 1..256. A cursor image needs its hot spot (inside the image); an icon image has
//     none. No two images of one picture may have the same size.
//     bits chooses the stored depth: 1, 4 or 8 (paletted) or 32 (BGRA with alpha). Without it an
//     icon image is stored in 32 bits and a cursor image in the smallest paletted depth that holds
//     its colours. A paletted image keeps colour 0 for black, which the transparent pixels also use
//     (the mask clears them, and black leaves the screen unchanged in the colour pass), so it holds
//     black plus 1, 15 or 255 other colours, and its pixels must be either opaque or transparent.
//     A 1-bit image of black and white is a classic monochrome cursor.
//
// Output
//   .cur / .ico: the ICONDIR header (reserved 0, type 2 for a cursor or 1 for an icon, image count),
//   one 16-byte entry per image (width and height, 0 meaning 256; colour count for depths below 8,
//   else 0; reserved 0; then for an icon planes 1 and the bit count, for a cursor the hot spot x and
//   y; the image's byte size and file offset), then each image as a BITMAPINFOHEADER (40 bytes,
//   height doubled, 1 plane, no compression), the colour table for paletted depths, the colour
//   bitmap and the 1-bit AND mask (1 = transparent). Rows are bottom-up, each padded to 4 bytes.
//   All numbers are little-endian.
//
//   .rgba: the 4 bytes "KVPX", then four 32-bit little-endian numbers: width, height, hot spot x,
//   hot spot y (0, 0 for an icon image); then width * height pixels of 4 bytes R, G, B, A, the top
//   row first, left to right. Alpha 0 is fully transparent, 255 opaque.
//
//   .cpp: definitions with external linkage, one entry per image, pictures in the order given
//   and the images of each picture in their order in it:
//       extern const int g_resImageCount;                     // the number of entries
//       extern const char* const g_resImageNames[];           // picture name: "arrow.cur", "kvupdate.ico"
//       extern const int g_resImageSizes[][4];                // width, height, hot spot x, hot spot y
//       extern const unsigned char* const g_resImagePixels[]; // width * height * 4 bytes R, G, B, A
//   The pixels are laid out as in the .rgba dump (top row first). An icon image's hot spot is 0, 0.
//   A picture name is the input's file name without ".txt"; it may hold only letters, digits,
//   '.', '_' and '-'.

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kMaxSide = 256;
constexpr int kMaxImages = 8;
constexpr int kLineMax = 1024;
constexpr int kPathMax = 4096;

enum Kind { KIND_UNSET, KIND_CURSOR, KIND_ICON };

struct Colour {
    bool defined;
    unsigned char r, g, b, a;
    int firstLine;
};

struct Image {
    int w, h;
    bool hasHotSpot;
    int hx, hy;
    int bits;          // 0 until chosen
    int rowsRead;
    int line;          // line of the image statement
    unsigned char px[kMaxSide * kMaxSide];  // palette characters
};

struct Picture {
    Kind kind;
    Colour palette[128];
    int order[128];    // palette characters in the order they were declared
    int colourCount;
    int imageCount;
    Image images[kMaxImages];
};

// Pictures are large; one lives in static storage and is reset for every input.
Picture g_picture;

const char* g_file = "";
int g_line = 0;

void Fail(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    if (g_line > 0)
        std::fprintf(stderr, "mkres: %s:%d: ", g_file, g_line);
    else
        std::fprintf(stderr, "mkres: %s: ", g_file);
    std::vfprintf(stderr, fmt, ap);
    std::fputc('\n', stderr);
    va_end(ap);
}

// Splits a line into whitespace-separated tokens, in place. Returns the count, or -1 if there are
// more than maxTokens.
int Tokenize(char* s, char** tokens, int maxTokens) {
    int n = 0;
    while (*s) {
        while (*s == ' ' || *s == '\t') ++s;
        if (!*s) break;
        if (n == maxTokens) return -1;
        tokens[n++] = s;
        while (*s && *s != ' ' && *s != '\t') ++s;
        if (*s) *s++ = '\0';
    }
    return n;
}

// Parses a whole decimal number 0..max. The text must be digits only.
bool ParseNumber(const char* s, size_t len, int max, int* out) {
    if (len == 0 || len > 4) return false;
    int v = 0;
    for (size_t i = 0; i < len; ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        v = v * 10 + (s[i] - '0');
    }
    if (v > max) return false;
    *out = v;
    return true;
}

// Parses "<a><sep><b>" such as "32x32" or "0,0".
bool ParsePair(const char* s, char sep, int maxA, int maxB, int* a, int* b) {
    const char* mid = std::strchr(s, sep);
    if (!mid) return false;
    return ParseNumber(s, static_cast<size_t>(mid - s), maxA, a) &&
           ParseNumber(mid + 1, std::strlen(mid + 1), maxB, b);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool ParseColour(const char* s, Colour* c) {
    if (std::strcmp(s, "none") == 0) {
        c->r = c->g = c->b = c->a = 0;
        return true;
    }
    size_t len = std::strlen(s);
    if (s[0] != '#' || (len != 7 && len != 9)) return false;
    unsigned char v[4] = {0, 0, 0, 255};
    for (size_t i = 0; i < (len - 1) / 2; ++i) {
        int hi = HexDigit(s[1 + 2 * i]);
        int lo = HexDigit(s[2 + 2 * i]);
        if (hi < 0 || lo < 0) return false;
        v[i] = static_cast<unsigned char>(hi * 16 + lo);
    }
    c->r = v[0];
    c->g = v[1];
    c->b = v[2];
    c->a = v[3];
    if (c->a == 0) c->r = c->g = c->b = 0;
    return true;
}

bool PaletteLine(Picture* p, char** tok, int n) {
    if (n != 3 || std::strlen(tok[0]) != 1 || std::strcmp(tok[1], "=") != 0) {
        Fail("expected a palette entry \"<char> = #RRGGBB\", \"#RRGGBBAA\" or \"none\", or an image");
        return false;
    }
    unsigned char ch = static_cast<unsigned char>(tok[0][0]);
    if (ch < 0x21 || ch > 0x7e || ch == '#') {
        Fail("'%c' cannot be a palette character", ch);
        return false;
    }
    Colour* c = &p->palette[ch];
    if (c->defined) {
        Fail("palette character '%c' is already defined on line %d", ch, c->firstLine);
        return false;
    }
    if (!ParseColour(tok[2], c)) {
        Fail("bad colour \"%s\" (use #RRGGBB, #RRGGBBAA or none)", tok[2]);
        return false;
    }
    c->defined = true;
    c->firstLine = g_line;
    p->order[p->colourCount++] = ch;
    return true;
}

bool ImageLine(Picture* p, char** tok, int n) {
    if (p->colourCount == 0) {
        Fail("an image needs a palette before it");
        return false;
    }
    if (p->imageCount == kMaxImages) {
        Fail("more than %d images", kMaxImages);
        return false;
    }
    Image* im = &p->images[p->imageCount];
    std::memset(im, 0, sizeof *im - sizeof im->px);
    im->line = g_line;
    if (n < 2 || !ParsePair(tok[1], 'x', kMaxSide, kMaxSide, &im->w, &im->h) || im->w < 1 || im->h < 1) {
        Fail("expected \"image <W>x<H>\" with sides 1..%d", kMaxSide);
        return false;
    }
    int i = 2;
    while (i < n) {
        if (std::strcmp(tok[i], "hotspot") == 0 && i + 1 < n && !im->hasHotSpot) {
            if (!ParsePair(tok[i + 1], ',', kMaxSide, kMaxSide, &im->hx, &im->hy)) {
                Fail("expected \"hotspot <X>,<Y>\"");
                return false;
            }
            im->hasHotSpot = true;
        } else if (std::strcmp(tok[i], "bits") == 0 && i + 1 < n && im->bits == 0) {
            if (!ParseNumber(tok[i + 1], std::strlen(tok[i + 1]), 32, &im->bits) ||
                (im->bits != 1 && im->bits != 4 && im->bits != 8 && im->bits != 32)) {
                Fail("bits must be 1, 4, 8 or 32");
                return false;
            }
        } else {
            Fail("unexpected \"%s\" in the image statement", tok[i]);
            return false;
        }
        i += 2;
    }
    if (p->kind == KIND_CURSOR && !im->hasHotSpot) {
        Fail("a cursor image needs \"hotspot <X>,<Y>\"");
        return false;
    }
    if (p->kind == KIND_ICON && im->hasHotSpot) {
        Fail("an icon image has no hot spot");
        return false;
    }
    if (im->hasHotSpot && (im->hx >= im->w || im->hy >= im->h)) {
        Fail("hot spot %d,%d is outside the %dx%d image", im->hx, im->hy, im->w, im->h);
        return false;
    }
    for (int k = 0; k < p->imageCount; ++k) {
        if (p->images[k].w == im->w && p->images[k].h == im->h) {
            Fail("a %dx%d image is already given on line %d", im->w, im->h, p->images[k].line);
            return false;
        }
    }
    ++p->imageCount;
    return true;
}

bool RowLine(Picture* p, const char* s) {
    Image* im = &p->images[p->imageCount - 1];
    int len = static_cast<int>(std::strlen(s));
    if (len != im->w) {
        Fail("row %d of the %dx%d image has %d characters, not %d", im->rowsRead + 1, im->w, im->h, len,
             im->w);
        return false;
    }
    for (int x = 0; x < len; ++x) {
        unsigned char ch = static_cast<unsigned char>(s[x]);
        if (ch >= 128 || !p->palette[ch].defined) {
            if (ch >= 0x21 && ch <= 0x7e)
                Fail("column %d: '%c' is not in the palette", x + 1, ch);
            else
                Fail("column %d: character 0x%02x is not in the palette", x + 1, ch);
            return false;
        }
        im->px[im->rowsRead * im->w + x] = ch;
    }
    ++im->rowsRead;
    return true;
}

// Reads and checks a whole picture. Reports the first fault and returns false.
bool ReadPicture(const char* path, Picture* p) {
    std::memset(p, 0, sizeof *p - sizeof p->images);
    for (int k = 0; k < kMaxImages; ++k) p->images[k].rowsRead = 0;
    g_file = path;
    g_line = 0;
    std::FILE* f = std::fopen(path, "rb");
    if (!f) {
        Fail("cannot open: %s", std::strerror(errno));
        return false;
    }
    char line[kLineMax];
    bool ok = true;
    while (ok && std::fgets(line, sizeof line, f)) {
        ++g_line;
        size_t len = std::strlen(line);
        if (len + 1 == sizeof line && line[len - 1] != '\n' && !std::feof(f)) {
            Fail("line longer than %d characters", kLineMax - 2);
            ok = false;
            break;
        }
        while (len > 0 && (line[len - 1] == '\n' || line[len - 1] == '\r' || line[len - 1] == ' ' ||
                           line[len - 1] == '\t'))
            line[--len] = '\0';
        if (len == 0 || line[0] == '#') continue;

        Image* cur = p->imageCount > 0 ? &p->images[p->imageCount - 1] : nullptr;
        if (cur && cur->rowsRead < cur->h) {
            ok = RowLine(p, line);
            continue;
        }
        char* tok[8];
        int n = Tokenize(line, tok, 8);
        if (n < 0) {
            Fail("too many words on the line");
            ok = false;
        } else if (p->kind == KIND_UNSET) {
            if (n == 2 && std::strcmp(tok[0], "kvpicture") == 0 && std::strcmp(tok[1], "cursor") == 0) {
                p->kind = KIND_CURSOR;
            } else if (n == 2 && std::strcmp(tok[0], "kvpicture") == 0 && std::strcmp(tok[1], "icon") == 0) {
                p->kind = KIND_ICON;
            } else {
                Fail("a picture starts with \"kvpicture cursor\" or \"kvpicture icon\"");
                ok = false;
            }
        } else if (std::strcmp(tok[0], "image") == 0) {
            ok = ImageLine(p, tok, n);
        } else if (p->imageCount > 0) {
            Fail("expected another image or the end of the picture, found \"%s\"", tok[0]);
            ok = false;
        } else {
            ok = PaletteLine(p, tok, n);
        }
    }
    if (ok && std::ferror(f)) {
        Fail("read error");
        ok = false;
    }
    std::fclose(f);
    if (!ok) return false;
    g_line = 0;
    if (p->kind == KIND_UNSET) {
        Fail("empty picture (it starts with \"kvpicture cursor\" or \"kvpicture icon\")");
        return false;
    }
    if (p->imageCount == 0) {
        Fail("the picture has no image");
        return false;
    }
    const Image* last = &p->images[p->imageCount - 1];
    if (last->rowsRead < last->h) {
        Fail("the %dx%d image on line %d ends after %d of its %d rows", last->w, last->h, last->line,
             last->rowsRead, last->h);
        return false;
    }
    return true;
}

// ---- Encoding -------------------------------------------------------------------------------

struct Buffer {
    unsigned char* data;
    size_t size;
    size_t used;
};

void Put8(Buffer* b, unsigned v) { b->data[b->used++] = static_cast<unsigned char>(v); }
void Put16(Buffer* b, unsigned v) {
    Put8(b, v & 0xff);
    Put8(b, (v >> 8) & 0xff);
}
void Put32(Buffer* b, unsigned long v) {
    Put16(b, static_cast<unsigned>(v & 0xffff));
    Put16(b, static_cast<unsigned>((v >> 16) & 0xffff));
}

// The colour table of a paletted image: entry 0 is black, then every other opaque colour the
// image uses, in palette order. index[ch] gives the entry of each used character.
struct Table {
    int count;
    unsigned char rgb[256][3];
    int index[128];
};

bool BuildTable(const Picture* p, const Image* im, Table* t) {
    std::memset(t, 0, sizeof *t);
    t->count = 1;
    bool used[128] = {};
    for (int i = 0; i < im->w * im->h; ++i) used[im->px[i]] = true;
    for (int k = 0; k < p->colourCount; ++k) {
        int ch = p->order[k];
        if (!used[ch]) continue;
        const Colour* c = &p->palette[ch];
        if (c->a != 0 && c->a != 255) {
            Fail("the %dx%d image on line %d uses the partly transparent '%c'; that needs bits 32",
                 im->w, im->h, im->line, ch);
            return false;
        }
        if (c->a == 0 || (c->r == 0 && c->g == 0 && c->b == 0)) {
            t->index[ch] = 0;
            continue;
        }
        int e = 1;
        while (e < t->count && !(t->rgb[e][0] == c->r && t->rgb[e][1] == c->g && t->rgb[e][2] == c->b)) ++e;
        if (e == t->count) {
            if (t->count == 256) {
                Fail("the %dx%d image on line %d has more than 256 colours", im->w, im->h, im->line);
                return false;
            }
            t->rgb[e][0] = c->r;
            t->rgb[e][1] = c->g;
            t->rgb[e][2] = c->b;
            ++t->count;
        }
        t->index[ch] = e;
    }
    return true;
}

size_t XorStride(const Image* im) { return ((static_cast<size_t>(im->w) * im->bits + 31) / 32) * 4; }
size_t AndStride(const Image* im) { return ((static_cast<size_t>(im->w) + 31) / 32) * 4; }
size_t TableEntries(const Image* im) { return im->bits < 32 ? (static_cast<size_t>(1) << im->bits) : 0; }
size_t ImageBytes(const Image* im) {
    return 40 + TableEntries(im) * 4 + (XorStride(im) + AndStride(im)) * static_cast<size_t>(im->h);
}

// Chooses the depth of every image and checks that its colours fit.
bool ChooseDepths(const Picture* p, Image* images, Table* tables) {
    for (int k = 0; k < p->imageCount; ++k) {
        Image* im = &images[k];
        if (im->bits == 0 && p->kind == KIND_ICON) im->bits = 32;
        if (im->bits == 32) continue;
        if (!BuildTable(p, im, &tables[k])) return false;
        int need = tables[k].count <= 2 ? 1 : tables[k].count <= 16 ? 4 : 8;
        if (im->bits == 0) {
            im->bits = need;
        } else if (need > im->bits) {
            Fail("the %dx%d image on line %d needs %d colour-table entries (black first), more than a %d-bit image holds",
                 im->w, im->h, im->line, tables[k].count, im->bits);
            return false;
        }
    }
    return true;
}

void PutImage(Buffer* b, const Picture* p, const Image* im, const Table* t) {
    size_t xs = XorStride(im), as = AndStride(im);
    Put32(b, 40);
    Put32(b, static_cast<unsigned long>(im->w));
    Put32(b, static_cast<unsigned long>(im->h) * 2);
    Put16(b, 1);
    Put16(b, static_cast<unsigned>(im->bits));
    Put32(b, 0);  // no compression
    Put32(b, static_cast<unsigned long>((xs + as) * static_cast<size_t>(im->h)));
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, 0);
    for (size_t e = 0; e < TableEntries(im); ++e) {
        bool have = static_cast<int>(e) < t->count;
        Put8(b, have ? t->rgb[e][2] : 0);
        Put8(b, have ? t->rgb[e][1] : 0);
        Put8(b, have ? t->rgb[e][0] : 0);
        Put8(b, 0);
    }
    for (int y = im->h - 1; y >= 0; --y) {
        unsigned char* row = b->data + b->used;
        std::memset(row, 0, xs);
        for (int x = 0; x < im->w; ++x) {
            const Colour* c = &p->palette[im->px[y * im->w + x]];
            if (im->bits == 32) {
                row[x * 4 + 0] = c->b;
                row[x * 4 + 1] = c->g;
                row[x * 4 + 2] = c->r;
                row[x * 4 + 3] = c->a;
            } else {
                unsigned v = static_cast<unsigned>(t->index[im->px[y * im->w + x]]);
                size_t bit = static_cast<size_t>(x) * im->bits;
                row[bit / 8] |= static_cast<unsigned char>(v << (8 - im->bits - bit % 8));
            }
        }
        b->used += xs;
    }
    for (int y = im->h - 1; y >= 0; --y) {
        unsigned char* row = b->data + b->used;
        std::memset(row, 0, as);
        for (int x = 0; x < im->w; ++x)
            if (p->palette[im->px[y * im->w + x]].a == 0) row[x / 8] |= static_cast<unsigned char>(0x80 >> (x % 8));
        b->used += as;
    }
}

bool WriteFile(const char* path, const unsigned char* data, size_t size) {
    std::FILE* f = std::fopen(path, "wb");
    if (!f) {
        std::fprintf(stderr, "mkres: cannot create %s: %s\n", path, std::strerror(errno));
        return false;
    }
    bool ok = std::fwrite(data, 1, size, f) == size;
    if (std::fclose(f) != 0) ok = false;
    if (!ok) {
        std::fprintf(stderr, "mkres: cannot write %s\n", path);
        std::remove(path);
    }
    return ok;
}

Table g_tables[kMaxImages];

bool MakeResource(const char* outdir, const char* input) {
    const char* base = input;
    for (const char* s = input; *s; ++s)
        if (*s == '/' || *s == '\\') base = s + 1;
    size_t len = std::strlen(base);
    g_file = input;
    g_line = 0;
    if (len <= 4 || std::strcmp(base + len - 4, ".txt") != 0) {
        Fail("a picture's file name ends in \".cur.txt\" or \".ico.txt\"");
        return false;
    }
    len -= 4;
    bool nameCursor = len > 4 && std::strncmp(base + len - 4, ".cur", 4) == 0;
    bool nameIcon = len > 4 && std::strncmp(base + len - 4, ".ico", 4) == 0;
    if (!nameCursor && !nameIcon) {
        Fail("a picture's file name ends in \".cur.txt\" or \".ico.txt\"");
        return false;
    }
    char outPath[kPathMax];
    int n = std::snprintf(outPath, sizeof outPath, "%s/%.*s", outdir, static_cast<int>(len), base);
    if (n < 0 || static_cast<size_t>(n) >= sizeof outPath) {
        Fail("output path too long");
        return false;
    }

    Picture* p = &g_picture;
    if (!ReadPicture(input, p)) return false;
    if ((p->kind == KIND_CURSOR) != nameCursor) {
        Fail("the file holds %s picture but is named %.4s", p->kind == KIND_CURSOR ? "a cursor" : "an icon",
             base + len - 4);
        return false;
    }
    if (!ChooseDepths(p, p->images, g_tables)) return false;

    size_t total = 6 + 16 * static_cast<size_t>(p->imageCount);
    for (int k = 0; k < p->imageCount; ++k) total += ImageBytes(&p->images[k]);
    Buffer b = {static_cast<unsigned char*>(std::malloc(total)), total, 0};
    if (!b.data) {
        Fail("out of memory");
        return false;
    }
    Put16(&b, 0);
    Put16(&b, p->kind == KIND_CURSOR ? 2 : 1);
    Put16(&b, static_cast<unsigned>(p->imageCount));
    size_t offset = 6 + 16 * static_cast<size_t>(p->imageCount);
    for (int k = 0; k < p->imageCount; ++k) {
        const Image* im = &p->images[k];
        Put8(&b, im->w == 256 ? 0 : static_cast<unsigned>(im->w));
        Put8(&b, im->h == 256 ? 0 : static_cast<unsigned>(im->h));
        Put8(&b, im->bits < 8 ? (1u << im->bits) : 0);
        Put8(&b, 0);
        if (p->kind == KIND_CURSOR) {
            Put16(&b, static_cast<unsigned>(im->hx));
            Put16(&b, static_cast<unsigned>(im->hy));
        } else {
            Put16(&b, 1);
            Put16(&b, static_cast<unsigned>(im->bits));
        }
        Put32(&b, static_cast<unsigned long>(ImageBytes(im)));
        Put32(&b, static_cast<unsigned long>(offset));
        offset += ImageBytes(im);
    }
    for (int k = 0; k < p->imageCount; ++k) PutImage(&b, p, &p->images[k], &g_tables[k]);

    bool ok = b.used == b.size && WriteFile(outPath, b.data, b.used);
    if (b.used != b.size) Fail("internal size mismatch (%zu of %zu bytes)", b.used, b.size);
    std::free(b.data);
    return ok;
}

bool MakeRgba(const char* input, const char* output, int which) {
    Picture* p = &g_picture;
    if (!ReadPicture(input, p)) return false;
    if (which >= p->imageCount) {
        Fail("the picture has %d image(s); there is no image %d", p->imageCount, which);
        return false;
    }
    const Image* im = &p->images[which];
    size_t total = 20 + static_cast<size_t>(im->w) * im->h * 4;
    Buffer b = {static_cast<unsigned char*>(std::malloc(total)), total, 0};
    if (!b.data) {
        Fail("out of memory");
        return false;
    }
    Put8(&b, 'K');
    Put8(&b, 'V');
    Put8(&b, 'P');
    Put8(&b, 'X');
    Put32(&b, static_cast<unsigned long>(im->w));
    Put32(&b, static_cast<unsigned long>(im->h));
    Put32(&b, static_cast<unsigned long>(im->hx));
    Put32(&b, static_cast<unsigned long>(im->hy));
    for (int i = 0; i < im->w * im->h; ++i) {
        const Colour* c = &p->palette[im->px[i]];
        Put8(&b, c->r);
        Put8(&b, c->g);
        Put8(&b, c->b);
        Put8(&b, c->a);
    }
    bool ok = WriteFile(output, b.data, b.used);
    std::free(b.data);
    return ok;
}

// ---- C++ source with the RGBA data of every image ----------------------------------------------

constexpr int kMaxSourceImages = 64;

struct SourceImage {
    char name[256];
    int w, h, hx, hy;
};

SourceImage g_sourceImages[kMaxSourceImages];

// The picture name of an input: its file name without ".txt", checked against the kind it holds.
bool PictureName(const char* input, const Picture* p, char* name, size_t capacity) {
    const char* base = input;
    for (const char* s = input; *s; ++s)
        if (*s == '/' || *s == '\\') base = s + 1;
    size_t len = std::strlen(base);
    const char* want = p->kind == KIND_CURSOR ? ".cur.txt" : ".ico.txt";
    if (len <= 8 || std::strcmp(base + len - 8, want) != 0) {
        Fail("a %s picture's file name ends in \"%s\"", p->kind == KIND_CURSOR ? "cursor" : "icon", want);
        return false;
    }
    len -= 4;
    if (len + 1 > capacity) {
        Fail("file name too long");
        return false;
    }
    for (size_t i = 0; i < len; ++i) {
        char c = base[i];
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                     c == '_' || c == '-';
        if (!plain) {
            Fail("a picture name holds only letters, digits, '.', '_' and '-'");
            return false;
        }
        name[i] = c;
    }
    name[len] = '\0';
    return true;
}

bool WriteSourceImage(std::FILE* f, int number, const Picture* p, const Image* im) {
    std::fprintf(f, "\nconst unsigned char kImage%d[%d] = {", number, im->w * im->h * 4);
    for (int i = 0; i < im->w * im->h; ++i) {
        const Colour* c = &p->palette[im->px[i]];
        std::fprintf(f, "%s0x%02x, 0x%02x, 0x%02x, 0x%02x,", i % 4 == 0 ? "\n    " : " ", c->r, c->g, c->b, c->a);
    }
    return std::fprintf(f, "\n};\n") > 0;
}

bool MakeSource(const char* output, char** inputs, int inputCount) {
    g_file = output;
    g_line = 0;
    std::FILE* f = std::fopen(output, "wb");
    if (!f) {
        std::fprintf(stderr, "mkres: cannot create %s: %s\n", output, std::strerror(errno));
        return false;
    }
    std::fprintf(f, "// Made by mkres from");
    for (int i = 0; i < inputCount; ++i) {
        const char* base = inputs[i];
        for (const char* s = inputs[i]; *s; ++s)
            if (*s == '/' || *s == '\\') base = s + 1;
        std::fprintf(f, " %s", base);
    }
    std::fprintf(f, ". Do not edit.\n\n"
                    "extern const int g_resImageCount;\n"
                    "extern const char* const g_resImageNames[];\n"
                    "extern const int g_resImageSizes[][4];\n"
                    "extern const unsigned char* const g_resImagePixels[];\n\n"
                    "namespace {\n");
    int count = 0;
    bool ok = true;
    Picture* p = &g_picture;
    for (int i = 0; ok && i < inputCount; ++i) {
        char name[256];
        ok = ReadPicture(inputs[i], p) && PictureName(inputs[i], p, name, sizeof name);
        for (int k = 0; ok && k < p->imageCount; ++k) {
            if (count == kMaxSourceImages) {
                Fail("more than %d images in all", kMaxSourceImages);
                ok = false;
                break;
            }
            const Image* im = &p->images[k];
            SourceImage* out = &g_sourceImages[count];
            std::memcpy(out->name, name, sizeof name);
            out->w = im->w;
            out->h = im->h;
            out->hx = im->hx;
            out->hy = im->hy;
            ok = WriteSourceImage(f, count, p, im);
            ++count;
        }
    }
    if (ok) {
        std::fprintf(f, "\n}  // namespace\n\nconst int g_resImageCount = %d;\n\nconst char* const g_resImageNames[] = {\n",
                     count);
        for (int k = 0; k < count; ++k) std::fprintf(f, "    \"%s\",\n", g_sourceImages[k].name);
        std::fprintf(f, "};\n\nconst int g_resImageSizes[][4] = {\n");
        for (int k = 0; k < count; ++k)
            std::fprintf(f, "    {%d, %d, %d, %d},\n", g_sourceImages[k].w, g_sourceImages[k].h, g_sourceImages[k].hx,
                         g_sourceImages[k].hy);
        std::fprintf(f, "};\n\nconst unsigned char* const g_resImagePixels[] = {\n");
        for (int k = 0; k < count; ++k) std::fprintf(f, "    kImage%d,\n", k);
        std::fprintf(f, "};\n");
    }
    if (std::ferror(f)) {
        std::fprintf(stderr, "mkres: cannot write %s\n", output);
        ok = false;
    }
    if (std::fclose(f) != 0) {
        std::fprintf(stderr, "mkres: cannot write %s\n", output);
        ok = false;
    }
    if (!ok) std::remove(output);
    return ok;
}

void Usage() {
    std::fprintf(stderr,
                 "usage: mkres <outdir> <name.cur.txt | name.ico.txt>...\n"
                 "       mkres --rgba <picture.txt> <out.rgba> [image-number]\n"
                 "       mkres --cpp <out.cpp> <name.cur.txt | name.ico.txt>...\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--rgba") == 0) {
        if (argc != 4 && argc != 5) {
            Usage();
            return 2;
        }
        int which = 0;
        if (argc == 5 && !ParseNumber(argv[4], std::strlen(argv[4]), kMaxImages - 1, &which)) {
            std::fprintf(stderr, "mkres: bad image number \"%s\"\n", argv[4]);
            return 2;
        }
        return MakeRgba(argv[2], argv[3], which) ? 0 : 1;
    }
    if (argc >= 2 && std::strcmp(argv[1], "--cpp") == 0) {
        if (argc < 4) {
            Usage();
            return 2;
        }
        return MakeSource(argv[2], argv + 3, argc - 3) ? 0 : 1;
    }
    if (argc < 3 || argv[1][0] == '-') {
        Usage();
        return 2;
    }
    for (int i = 2; i < argc; ++i)
        if (!MakeResource(argv[1], argv[i])) return 1;
    return 0;
}
