// kvatlas: every page of the wizard in every language, for the maker who edits a
// translation.
//
//   kvatlas [--version TEXT] [--layout PAGE LANGUAGE] OUTPUT_FOLDER [FONT_FOLDER]
//
// Renders pages 0 to 10 in languages 0 to 6 with the wizard's own Render on the headless
// backend at 640 x 480, with sample values for the installed version and the location, and
// writes page-<page>-<language>.png and a contact sheet, atlas.png (one row per page, one
// column per language), into OUTPUT_FOLDER. The fonts are read from FONT_FOLDER (default:
// the fonts this build made). Every text wider than the box it is drawn in is listed on
// standard output; the exit status is 1 when there is one, 2 when the pages cannot be made.
//
// For scripts that drive the real program and compare its window with these pictures:
//   --version TEXT          the installed version page 2 shows, instead of the sample
//   --layout PAGE LANGUAGE  also prints that page's widgets on standard output, one line per
//                           filled slot: "slot SLOT KIND ID X Y WIDTH HEIGHT TEXT" (KIND as in
//                           button.h, TEXT as UTF-8, last so that it may hold spaces)
#include "app/bfio.h"
#include "app/input.h"
#include "app/wizard.h"
#include "gfx/screen.h"
#include "platform/headless/headless.h"
#include "wizard/catalogue.h"
#include "wizard/pages.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#ifndef KV_FONT_DIR
#define KV_FONT_DIR "."
#endif

namespace {

const int PAGE_W = 640, PAGE_H = 480, THUMB_SCALE = 4;
const int THUMB_W = PAGE_W / THUMB_SCALE, THUMB_H = PAGE_H / THUMB_SCALE, GUTTER = 4;

struct SHEET {
    int width = LANGUAGE_COUNT * (THUMB_W + GUTTER) + GUTTER;
    int height = PAGE_COUNT * (THUMB_H + GUTTER) + GUTTER;
    std::vector<unsigned char> rgb = std::vector<unsigned char>(static_cast<size_t>(width) * height * 3, 40);

    // Places a page, each thumbnail pixel the average of a block of the page.
    void Place(const std::vector<uint16_t>& screen, int page, int language)
    {
        int left = GUTTER + language * (THUMB_W + GUTTER), top = GUTTER + page * (THUMB_H + GUTTER);
        for (int ty = 0; ty < THUMB_H; ++ty)
            for (int tx = 0; tx < THUMB_W; ++tx) {
                int sum[3] = {0, 0, 0};
                for (int dy = 0; dy < THUMB_SCALE; ++dy)
                    for (int dx = 0; dx < THUMB_SCALE; ++dx) {
                        uint16_t p = screen[static_cast<size_t>(ty * THUMB_SCALE + dy) * PAGE_W + tx * THUMB_SCALE + dx];
                        const int c[3] = {(p >> 10) & 31, (p >> 5) & 31, p & 31};
                        for (int k = 0; k < 3; ++k) sum[k] += (c[k] << 3) | (c[k] >> 2);
                    }
                unsigned char* out = &rgb[(static_cast<size_t>(top + ty) * width + left + tx) * 3];
                for (int k = 0; k < 3; ++k) out[k] = static_cast<unsigned char>(sum[k] / (THUMB_SCALE * THUMB_SCALE));
            }
    }

    bool Save(const std::string& path) const
    {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        image.width = static_cast<png_uint_32>(width);
        image.height = static_cast<png_uint_32>(height);
        image.format = PNG_FORMAT_RGB;
        return png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), width * 3, nullptr) != 0;
    }
};

int g_overflows = 0;

// The catalogue's Windows-1252 text as UTF-8 for the terminal (the catalogue uses only the
// range that Windows-1252 shares with Latin-1).
std::string Utf8(const char* text)
{
    std::string out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        if (*p < 0x80) {
            out += static_cast<char>(*p);
        } else if (*p < 0xA0) {
            out += '?';
        } else {
            out += static_cast<char>(0xC0 | (*p >> 6));
            out += static_cast<char>(0x80 | (*p & 0x3F));
        }
    }
    return out;
}

void Overflow(int page, int language, const char* what, const char* text, int width, int room)
{
    ++g_overflows;
    printf("page %d language %d: %s \"%s\" is %d px wide, %d px fit\n", page, language, what, Utf8(text).c_str(),
           width, room);
}

// Texts wider than where they are drawn: a button or field label wider than its face, a
// label running past the right edge of the page's frame, the heading past the screen.
void CheckPage(WIZARD& wizard, int page, int language)
{
    const char* title = Message(TXT_TITLE, language);
    int width = wizard.TextWidth(FONT_HEADING, title);
    if (10 + width > wizard.ScreenWidth()) Overflow(page, language, "heading", title, width, wizard.ScreenWidth() - 10);

    // The right edge labels must stay within: the inner panel, or else the outer one.
    int frameRight = wizard.ScreenWidth();
    for (int slot : {2, 1}) {
        BUTTON* b = wizard.buttons[slot];
        if (b && b->kind == KIND_INERT && b->text[0] == '\0') {
            frameRight = b->x + b->width - 2;
            break;
        }
    }
    for (int slot = 0; slot < BUTTON_SLOTS; ++slot) {
        BUTTON* b = wizard.buttons[slot];
        if (!b || b->text[0] == '\0') continue;
        width = wizard.TextWidth(FONT_WIDGET, b->text);
        if (b->kind == KIND_LABEL) {
            if (b->x + width > frameRight) Overflow(page, language, "label", b->text, width, frameRight - b->x);
        } else if (width > b->width - 4) {
            Overflow(page, language, "button", b->text, width, b->width - 4);  // inside the bevels
        }
    }
    if (page == PAGE_INSTALLING) {
        const char* caption = Message(TXT_UPDATING, language);
        width = wizard.TextWidth(FONT_SUBHEADING, caption);
        if (width > wizard.boxWidth) Overflow(page, language, "caption", caption, width, wizard.boxWidth);
    }
}

// The rendered page's widgets, one line per filled slot, for scripts that click them.
void PrintLayout(WIZARD& wizard)
{
    for (int slot = 0; slot < BUTTON_SLOTS; ++slot) {
        const BUTTON* b = wizard.buttons[slot];
        if (!b) continue;
        printf("slot %d %d %d %d %d %d %d %s\n", slot, static_cast<int>(b->kind), static_cast<int>(b->id), b->x, b->y,
               b->width, b->height, Utf8(b->text).c_str());
    }
}

// A whole decimal number from 0 to count - 1.
bool ParseIndex(const char* text, int count, int* value)
{
    char* end = nullptr;
    long n = strtol(text, &end, 10);
    if (end == text || *end != '\0' || n < 0 || n >= count) return false;
    *value = static_cast<int>(n);
    return true;
}

int Usage()
{
    fprintf(stderr, "usage: kvatlas [--version TEXT] [--layout PAGE LANGUAGE] OUTPUT_FOLDER [FONT_FOLDER]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    const char* version = "Version 3.72 (ENG,ESP,FRA,ITA,NOR,POR,SVE)";
    int layoutPage = -1, layoutLanguage = -1;
    int arg = 1;
    for (; arg < argc && strncmp(argv[arg], "--", 2) == 0; ++arg) {
        if (strcmp(argv[arg], "--version") == 0 && arg + 1 < argc) {
            version = argv[++arg];
        } else if (strcmp(argv[arg], "--layout") == 0 && arg + 2 < argc &&
                   ParseIndex(argv[arg + 1], PAGE_COUNT, &layoutPage) &&
                   ParseIndex(argv[arg + 2], LANGUAGE_COUNT, &layoutLanguage)) {
            arg += 2;
        } else {
            return Usage();
        }
    }
    if (argc - arg < 1 || argc - arg > 2) return Usage();
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd)) return 2;
    std::string out = argv[arg][0] == '/' ? argv[arg] : std::string(cwd) + "/" + argv[arg];
    const char* fonts = argc - arg == 2 ? argv[arg + 1] : KV_FONT_DIR;

    HeadlessReset();
    HeadlessSetWorkArea(PLATRECT{0, 0, 1279, 1023});
    // The wizard finds its fonts in the current directory.
    if (chdir(fonts) != 0) {
        fprintf(stderr, "kvatlas: no font folder %s\n", fonts);
        return 2;
    }
    WIZARD* wizard = CreateApplication();
    if (chdir(cwd) != 0 || !wizard || !wizard->GraphicsReady() || !HeadlessBoxes().empty()) {
        fprintf(stderr, "kvatlas: the wizard cannot draw (are the seven .fnt files in %s?)\n", fonts);
        for (const HEADLESSBOX& box : HeadlessBoxes()) fprintf(stderr, "  %s: %s\n", box.caption.c_str(), box.text.c_str());
        DestroyApplication(wizard);
        return 2;
    }
    // The graphics stay ready: these Render calls stand in for the run loop's repaints.
    g_shell.running = 1;
    const int fit = snprintf(wizard->installedVersion, sizeof wizard->installedVersion, "%s", version);
    if (fit < 0 || static_cast<size_t>(fit) >= sizeof wizard->installedVersion) {
        fprintf(stderr, "kvatlas: the version text is longer than the wizard holds\n");
        g_shell.running = 0;
        DestroyApplication(wizard);
        return 2;
    }
    snprintf(wizard->location, sizeof wizard->location, "c:\\Program Files\\Kickvale 99-00");

    SHEET sheet;
    int written = 0;
    for (int page = 0; page < PAGE_COUNT; ++page)
        for (int language = 0; language < LANGUAGE_COUNT; ++language) {
            wizard->language = language;
            wizard->page = static_cast<int16_t>(page);
            wizard->shownPage = -1;
            wizard->Render();
            wizard->Present();
            CheckPage(*wizard, page, language);
            if (page == layoutPage && language == layoutLanguage) PrintLayout(*wizard);
            std::string path = out + "/page-" + std::to_string(page) + "-" + std::to_string(language) + ".png";
            if (!HeadlessSaveFrame(path.c_str())) {
                fprintf(stderr, "kvatlas: cannot write %s\n", path.c_str());
                DestroyApplication(wizard);
                return 2;
            }
            sheet.Place(HeadlessWindow().screen, page, language);
            ++written;
        }
    g_shell.running = 0;
    DestroyApplication(wizard);
    if (!sheet.Save(out + "/atlas.png")) {
        fprintf(stderr, "kvatlas: cannot write %s/atlas.png\n", out.c_str());
        return 2;
    }
    fprintf(stderr, "kvatlas: %d pages and atlas.png written to %s; %d text(s) too wide\n", written, out.c_str(),
            g_overflows);
    return g_overflows ? 1 : 0;
}
