#include "support/gfxtest.h"
#include "app/input.h"
#include "gfx/font.h"
#include "platform/headless/headless.h"
#include "support/tempdir.h"

#include <cstring>

void ResetGraphicsState()
{
    g_gfx = GRAPHICS{nullptr, nullptr, 0, 0, 0, -1, -1, -1, -1, 0, nullptr, -1, -1, -1, -1, 0, 0, 0, 0, 0};
}

void ResetProgramState()
{
    HeadlessReset();
    ResetGraphicsState();
    g_shell = SHELLSTATE{};
    g_input = INPUTLATCHES{};
}

bool CopyBuiltFonts()
{
    for (const char* name : FontFiles) {
        std::string bytes;
        if (!ReadFileBytes(std::string(KV_FONT_DIR) + "/" + name, &bytes) || !WriteFileBytes(name, bytes)) return false;
    }
    return true;
}

TESTSCREEN::TESTSCREEN() { ResetGraphicsState(); }

TESTSCREEN::~TESTSCREEN()
{
    CloseGraphics();
    ResetGraphicsState();
}

void TESTSCREEN::MakeSurface(int16_t width, int16_t height)
{
    g_gfx.opening = 0;
    AllocateScreen(width, height);
    ClearDirty();
}

uint16_t& TESTSCREEN::At(int x, int y)
{
    return reinterpret_cast<uint16_t*>(reinterpret_cast<unsigned char*>(g_gfx.pixels) + y * g_gfx.pitch)[x];
}

void TESTSCREEN::Fill(uint16_t colour)
{
    for (int y = 0; y < g_gfx.height; ++y)
        for (int x = 0; x < g_gfx.width; ++x) At(x, y) = colour;
}

void TESTSCREEN::ClearDirty() { g_gfx.dirtyLeft = g_gfx.dirtyRight = g_gfx.dirtyTop = g_gfx.dirtyBottom = -1; }

std::string TESTSCREEN::Dirty() const
{
    return std::to_string(g_gfx.dirtyLeft) + "," + std::to_string(g_gfx.dirtyRight) + "," +
           std::to_string(g_gfx.dirtyTop) + "," + std::to_string(g_gfx.dirtyBottom);
}

std::string TESTSCREEN::RowPattern(int y, int x1, int x2, uint16_t colour)
{
    std::string s;
    for (int x = x1; x <= x2; ++x) s += At(x, y) == colour ? '#' : '.';
    return s;
}

FONTFILE::FONTFILE(int32_t h) : height(h), records(224, RECORD{0, 0, 0, 0, ""}) {}

void FONTFILE::SetAll(int32_t advance, int32_t bytesPerRow, int32_t left, int32_t right, const std::string& bitmap)
{
    for (RECORD& r : records) r = RECORD{advance, bytesPerRow, left, right, bitmap};
}

void FONTFILE::Set(int code, int32_t advance, int32_t bytesPerRow, int32_t left, int32_t right,
                   const std::string& bitmap)
{
    records[code - 32] = RECORD{advance, bytesPerRow, left, right, bitmap};
}

namespace {
void PutLong(std::string& out, int32_t v)
{
    uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) out += static_cast<char>((u >> (8 * i)) & 0xFF);
}
}  // namespace

std::string FONTFILE::Bytes() const
{
    std::string out;
    PutLong(out, height);
    for (const RECORD& r : records) {
        PutLong(out, r.advance);
        PutLong(out, r.bytesPerRow);
        PutLong(out, r.left);
        PutLong(out, r.right);
        out += r.bitmap;
    }
    return out;
}
