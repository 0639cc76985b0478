// kvframe: draws a fixed picture with every drawing operation through the real platform
// (a Windows window, or the Linux desktop window), writes the frame buffer it presented to
// "frame.kvfb" in the current directory, and stays open until it is closed or Escape is
// pressed, so a screenshot of its window can be compared with the frame buffer.
//
// frame.kvfb: "KVFB", width and height as 32-bit little-endian, then width x height RGB555
// pixels (16-bit little-endian), rows from the top, no padding.
//
// Before it, "frame.txt" gets the platform's window metrics and work area, one "name value"
// a line (cxdlgframe, cydlgframe, cycaption, workleft, worktop, workright, workbottom), so a
// test can work out where the window should be without knowing the platform's values.
#include "app/bfio.h"
#include "app/folder.h"
#include "app/input.h"
#include "gfx/draw.h"
#include "platform/platform.h"

#include <cstdio>

namespace {

void Put32(FILE* f, uint32_t v)
{
    for (int i = 0; i < 4; ++i) fputc(static_cast<int>((v >> (8 * i)) & 0xFF), f);
}

}  // namespace

class WIZARD final : public BFIO {
public:
    WIZARD() : keyboard(new KEYBOARD()), rendered(false), written(false)
    {
        FOLDER folder;
        if (OpenGraphics(640, 480, "kvframe", false, &folder, -1, -1, -1, -1) != 0) {
            ShowMessage("Error", "Unable to open graphics");
            failed = true;
        }
    }
    ~WIZARD() { delete keyboard; }

    void Render() override
    {
        if (!GraphicsReady()) return;
        const int16_t w = ScreenWidth(), h = ScreenHeight();
        for (int16_t y = 0; y < h; ++y) Line(0, y, w, y, LINE_SOLID, static_cast<uint16_t>(31 - (23 * y) / h));
        Text(10, 0, 5, 0xFFE0, "Kickvale 99/00 Update");
        Text(10, static_cast<int16_t>(FontHeight(5)), 2, 0xFFE0, "Version 3.73 (ENG,ESP,FRA,ITA,NOR,POR,SVE)");

        // Every box mode, side by side.
        const int32_t modes[] = {BOX_DASHED, BOX_OUTLINE, BOX_FILL, BOX_RAMP_RIGHT, BOX_RAMP_LEFT,
                                 BOX_RAMP_DOWN, BOX_RAMP_UP, BOX_TINT};
        for (int i = 0; i < 8; ++i) {
            int16_t x = static_cast<int16_t>(20 + i * 76);
            uint16_t behind = (i == 3) ? COLOUR_BEHIND : 0x03E0;
            Box(x, 70, static_cast<int16_t>(x + 66), 130, modes[i], 0x7FE0 - 0x0421 * i, behind);
        }
        // Slanted, dashed and clamped lines.
        Line(20, 150, 300, 210, LINE_SOLID, 0x7FFF);
        Line(20, 210, 300, 150, LINE_DASHED, 0x7C00);
        Line(320, 150, 360, 230, LINE_SOLID, 0x03E0);
        Line(380, 230, 620, 150, LINE_DASHED, 0x7FFF);
        Line(-50, 240, 700, 260, LINE_SOLID, 0x7E00);
        Line(600, 140, 600, 240, LINE_DASHED, 0x7FFF);

        // Text in all seven fonts, accented letters included (Windows-1252).
        const char* samples[] = {"Install in English 0123456789", "N\xE4sta > Instalar en Espa\xF1ol",
                                 "Installer en Fran\xE7" "ais \xE7\xE9\xE8\xEA", "Installa in Italiano \xE0\xF2",
                                 "Installer p\xE5 norsk \xF8\xE6", "Instalar em Portugu\xEAs \xE3\xF5",
                                 "0Installera p\xE5 svenska \xE4\xF6"};
        int16_t y = 270;
        for (int font = 0; font < 7; ++font) {
            Text(20, y, font, font % 2 ? 0x7FFF : 0x7FE0, samples[font]);
            y = static_cast<int16_t>(y + FontHeight(font));
        }
        // Anti-aliased text over the ramps and the tint.
        Text(330, 100, 1, 0x0000, "Over the ramps");
        rendered = true;
    }

    bool Update() override
    {
        if (failed || !GraphicsReady()) return false;
        char c = 0;
        int32_t key = 0;
        if (keyboard->ReadKeys(&c, &key) && KEYBOARD::TranslateKey(key) == KEY_ESCAPE) return false;
        // Render runs only inside Poll, whose Present has shown the frame by now.
        if (rendered && !written) written = WriteMetrics() && WriteFrame();
        return true;
    }

private:
    static bool WriteMetrics()
    {
        PLATRECT work = {-1, -1, -1, -1};
        PlatGetWorkArea(&work);
        FILE* f = fopen("frame.txt.tmp", "w");
        if (!f) return true;
        fprintf(f, "cxdlgframe %d\ncydlgframe %d\ncycaption %d\n", PlatGetSystemMetrics(SM_CXDLGFRAME),
                PlatGetSystemMetrics(SM_CYDLGFRAME), PlatGetSystemMetrics(SM_CYCAPTION));
        fprintf(f, "workleft %d\nworktop %d\nworkright %d\nworkbottom %d\n", static_cast<int>(work.left),
                static_cast<int>(work.top), static_cast<int>(work.right), static_cast<int>(work.bottom));
        if (fclose(f) == 0) rename("frame.txt.tmp", "frame.txt");
        return true;
    }
    bool WriteFrame()
    {
        FILE* f = fopen("frame.kvfb.tmp", "wb");
        if (!f) return true;
        fputs("KVFB", f);
        Put32(f, static_cast<uint32_t>(ScreenWidth()));
        Put32(f, static_cast<uint32_t>(ScreenHeight()));
        for (int y = 0; y < ScreenHeight(); ++y)
            for (int x = 0; x < ScreenWidth(); ++x) {
                uint16_t p = Pixel(x, y);
                fputc(p & 0xFF, f);
                fputc(p >> 8, f);
            }
        if (fclose(f) == 0) rename("frame.kvfb.tmp", "frame.kvfb");
        return true;
    }
    uint16_t Pixel(int x, int y) const;

    KEYBOARD* keyboard;
    bool rendered;
    bool written;
    bool failed = false;
};

#include "gfx/screen.h"

uint16_t WIZARD::Pixel(int x, int y) const
{
    return reinterpret_cast<const uint16_t*>(reinterpret_cast<const unsigned char*>(g_gfx.pixels) +
                                             static_cast<size_t>(y) * g_gfx.pitch)[x];
}

WIZARD* CreateApplication()
{
    return new WIZARD();
}

void DestroyApplication(WIZARD* application)
{
    delete application;
}
