// kv_fbcompare: compares a screenshot of the program's window with the frame buffer the program
// wrote, pixel for pixel in 5 bits per channel.
//
//   kv_fbcompare [--diff out.png] <frame.kvfb> <screenshot.png>
//
// frame.kvfb: "KVFB", width and height as 32-bit little-endian, then width x height RGB555
// pixels (16-bit little-endian, bit 15 ignored), rows from the top. The frame may also be a
// PNG of a frame buffer, such as the pages kvatlas writes; its 8-bit channels are taken back
// to 5 bits by the same right shift of 3.
//
// The screen widens each 5-bit channel to 8 bits in its own way (repeating the top bits), so
// each 8-bit screenshot value is taken back to 5 bits by a right shift of 3 and compared with
// the frame buffer's channel. Prints how many pixels differ, the box they lie in and the first
// few with both values. With --diff, writes a picture with the matching pixels dimmed and the
// differing ones in magenta. Exit status 0 when every pixel matches, 1 when any differs or the
// sizes differ, 2 when a file cannot be read.
#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const int kShowFirst = 12;  // differing pixels listed one by one
const uint32_t kMaxSide = 16384;

struct IMAGE {
    uint32_t width = 0;
    uint32_t height = 0;
    unsigned char* rgb = nullptr;  // width x height x 3 bytes
};

struct FRAME {
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t* pixels = nullptr;  // width x height
};

uint32_t Le32(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

bool ReadFrame(const char* path, FRAME* frame)
{
    FILE* f = fopen(path, "rb");
    if (!f) {
        fprintf(stderr, "kv_fbcompare: cannot open %s\n", path);
        return false;
    }
    unsigned char header[12];
    if (fread(header, 1, sizeof header, f) != sizeof header || memcmp(header, "KVFB", 4) != 0) {
        fprintf(stderr, "kv_fbcompare: %s is not a frame-buffer file\n", path);
        fclose(f);
        return false;
    }
    frame->width = Le32(header + 4);
    frame->height = Le32(header + 8);
    if (frame->width == 0 || frame->height == 0 || frame->width > kMaxSide || frame->height > kMaxSide) {
        fprintf(stderr, "kv_fbcompare: %s has an impossible size %ux%u\n", path, frame->width, frame->height);
        fclose(f);
        return false;
    }
    const size_t count = static_cast<size_t>(frame->width) * frame->height;
    unsigned char* bytes = static_cast<unsigned char*>(malloc(count * 2));
    frame->pixels = static_cast<uint16_t*>(malloc(count * sizeof(uint16_t)));
    if (!bytes || !frame->pixels) {
        fprintf(stderr, "kv_fbcompare: out of memory\n");
        free(bytes);
        fclose(f);
        return false;
    }
    const size_t got = fread(bytes, 1, count * 2, f);
    const bool extra = fgetc(f) != EOF;
    fclose(f);
    if (got != count * 2 || extra) {
        fprintf(stderr, "kv_fbcompare: %s holds %s pixel data than %ux%u\n", path, extra ? "more" : "less",
                frame->width, frame->height);
        free(bytes);
        return false;
    }
    for (size_t i = 0; i < count; ++i)
        frame->pixels[i] = static_cast<uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    free(bytes);
    return true;
}

// Reads any PNG as 8-bit RGB without gamma or colour correction: the stored sample values
// are what the screen showed. Errors from libpng come back through setjmp, so nothing here
// owns a destructor.
bool ReadPng(const char* path, IMAGE* image)
{
    FILE* f = fopen(path, "rb");
    if (!f) {
        fprintf(stderr, "kv_fbcompare: cannot open %s\n", path);
        return false;
    }
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        fprintf(stderr, "kv_fbcompare: out of memory\n");
        png_destroy_read_struct(png ? &png : nullptr, nullptr, nullptr);
        fclose(f);
        return false;
    }
    unsigned char* volatile rgb = nullptr;
    png_bytep* volatile rows = nullptr;
    if (setjmp(png_jmpbuf(png))) {
        fprintf(stderr, "kv_fbcompare: %s is not a readable PNG\n", path);
        png_destroy_read_struct(&png, &info, nullptr);
        free(rgb);
        free(rows);
        fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const int colourType = png_get_color_type(png, info);
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) {
        fprintf(stderr, "kv_fbcompare: %s has an impossible size %ux%u\n", path, static_cast<unsigned>(width),
                static_cast<unsigned>(height));
        png_destroy_read_struct(&png, &info, nullptr);
        fclose(f);
        return false;
    }
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_expand_gray_1_2_4_to_8(png);
        png_set_gray_to_rgb(png);
    }
    png_set_strip_16(png);
    png_set_strip_alpha(png);
    png_set_packing(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * 3) {
        fprintf(stderr, "kv_fbcompare: %s does not read as 8-bit RGB\n", path);
        png_destroy_read_struct(&png, &info, nullptr);
        fclose(f);
        return false;
    }
    rgb = static_cast<unsigned char*>(malloc(static_cast<size_t>(width) * height * 3));
    rows = static_cast<png_bytep*>(malloc(sizeof(png_bytep) * height));
    if (!rgb || !rows) {
        fprintf(stderr, "kv_fbcompare: out of memory\n");
        png_destroy_read_struct(&png, &info, nullptr);
        free(rgb);
        free(rows);
        fclose(f);
        return false;
    }
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = rgb + static_cast<size_t>(y) * width * 3;
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    free(rows);
    fclose(f);
    image->width = width;
    image->height = height;
    image->rgb = rgb;
    return true;
}

// The frame from a .kvfb file, or from a PNG of one.
bool ReadFrameOrPng(const char* path, FRAME* frame)
{
    static const unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    unsigned char start[8] = {0};
    FILE* f = fopen(path, "rb");
    const bool png = f && fread(start, 1, sizeof start, f) == sizeof start && memcmp(start, kPngSignature, 8) == 0;
    if (f) fclose(f);
    if (!png) return ReadFrame(path, frame);
    IMAGE image;
    if (!ReadPng(path, &image)) return false;
    const size_t count = static_cast<size_t>(image.width) * image.height;
    frame->pixels = static_cast<uint16_t*>(malloc(count * sizeof(uint16_t)));
    if (!frame->pixels) {
        fprintf(stderr, "kv_fbcompare: out of memory\n");
        free(image.rgb);
        return false;
    }
    for (size_t i = 0; i < count; ++i) {
        const unsigned char* p = image.rgb + i * 3;
        frame->pixels[i] = static_cast<uint16_t>(((p[0] >> 3) << 10) | ((p[1] >> 3) << 5) | (p[2] >> 3));
    }
    frame->width = image.width;
    frame->height = image.height;
    free(image.rgb);
    return true;
}

bool WritePng(const char* path, uint32_t width, uint32_t height, const unsigned char* rgb)
{
    png_image out;
    memset(&out, 0, sizeof out);
    out.version = PNG_IMAGE_VERSION;
    out.width = width;
    out.height = height;
    out.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&out, path, 0, rgb, 0, nullptr)) {
        fprintf(stderr, "kv_fbcompare: cannot write %s: %s\n", path, out.message);
        return false;
    }
    return true;
}

void Channels(uint16_t p, int* r, int* g, int* b)
{
    *r = (p >> 10) & 31;
    *g = (p >> 5) & 31;
    *b = p & 31;
}

int Usage()
{
    fprintf(stderr, "usage: kv_fbcompare [--diff out.png] <frame.kvfb|frame.png> <screenshot.png>\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    const char* diffPath = nullptr;
    int arg = 1;
    if (arg < argc && strcmp(argv[arg], "--diff") == 0) {
        if (arg + 1 >= argc) return Usage();
        diffPath = argv[arg + 1];
        arg += 2;
    }
    if (argc - arg != 2) return Usage();
    const char* framePath = argv[arg];
    const char* shotPath = argv[arg + 1];

    FRAME frame;
    IMAGE shot;
    if (!ReadFrameOrPng(framePath, &frame)) return 2;
    if (!ReadPng(shotPath, &shot)) {
        free(frame.pixels);
        return 2;
    }
    if (frame.width != shot.width || frame.height != shot.height) {
        printf("size differs: frame buffer %ux%u, screenshot %ux%u\n", frame.width, frame.height, shot.width,
               shot.height);
        free(frame.pixels);
        free(shot.rgb);
        return 1;
    }

    const size_t count = static_cast<size_t>(frame.width) * frame.height;
    unsigned char* diff = nullptr;
    if (diffPath) {
        diff = static_cast<unsigned char*>(malloc(count * 3));
        if (!diff) {
            fprintf(stderr, "kv_fbcompare: out of memory\n");
            free(frame.pixels);
            free(shot.rgb);
            return 2;
        }
    }
    size_t differing = 0;
    uint32_t left = frame.width, right = 0, top = frame.height, bottom = 0;
    for (uint32_t y = 0; y < frame.height; ++y) {
        for (uint32_t x = 0; x < frame.width; ++x) {
            const size_t i = static_cast<size_t>(y) * frame.width + x;
            int r, g, b;
            Channels(frame.pixels[i], &r, &g, &b);
            const unsigned char* s = shot.rgb + i * 3;
            const bool same = (s[0] >> 3) == r && (s[1] >> 3) == g && (s[2] >> 3) == b;
            if (diff) {
                unsigned char* d = diff + i * 3;
                if (same) {
                    const int grey = (r + g + b) * 255 / (3 * 31) / 3;
                    d[0] = d[1] = d[2] = static_cast<unsigned char>(grey);
                } else {
                    d[0] = 255;
                    d[1] = 0;
                    d[2] = 255;
                }
            }
            if (same) continue;
            if (differing < static_cast<size_t>(kShowFirst))
                printf("  (%u,%u): frame %d,%d,%d  screen %d,%d,%d (8-bit %d,%d,%d)\n", x, y, r, g, b, s[0] >> 3,
                       s[1] >> 3, s[2] >> 3, s[0], s[1], s[2]);
            ++differing;
            if (x < left) left = x;
            if (x > right) right = x;
            if (y < top) top = y;
            if (y > bottom) bottom = y;
        }
    }
    if (differing > 0)
        printf("%zu of %zu pixels differ (5 bits per channel), within x %u..%u, y %u..%u\n", differing, count, left,
               right, top, bottom);
    else
        printf("all %zu pixels match (%ux%u, 5 bits per channel)\n", count, frame.width, frame.height);

    bool wrote = true;
    if (diff) wrote = WritePng(diffPath, frame.width, frame.height, diff);
    free(diff);
    free(frame.pixels);
    free(shot.rgb);
    if (differing > 0) return 1;
    return wrote ? 0 : 2;
}
