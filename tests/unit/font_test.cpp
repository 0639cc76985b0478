// Bitmap fonts with small fixture fonts made here: loading and its result codes, the
// refusal of damaged files, measuring, and drawing with coverage blending.
#include "app/folder.h"
#include "app/memory.h"
#include "gfx/font.h"
#include "platform/headless/headless.h"
#include "support/gfxtest.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <unistd.h>

namespace {

const char* g_refuse = nullptr;

bool RefuseNamed(const char* what)
{
    return g_refuse && strcmp(what, g_refuse) == 0;
}

// A 2-row font: every glyph 2 wide (one byte a row); 'A' full coverage, 'B' coverage 8,
// 'C' coverage 0 on the left and 15 on the right; the space 4 wide without bitmap.
FONTFILE FixtureFont()
{
    FONTFILE f(2);
    f.SetAll(2, 1, 0, 0, std::string("\xFF\xFF", 2));
    f.Set(' ', 4, 0, 0, 0, "");
    f.Set('A', 2, 1, 0, 0, std::string("\xFF\xFF", 2));
    f.Set('B', 2, 1, 0, 0, std::string("\x88\x88", 2));
    f.Set('C', 2, 1, 0, 0, std::string("\x0F\x0F", 2));
    f.Set('D', 3, 2, 0, 0, std::string("\xF0\x0F\x0F\x0F", 4));  // rows: F 0 0 / 0 F 0 F...
    return f;
}

class FontTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HeadlessReset();
        screen.MakeSurface(40, 20);
        g_gfx.fonts = static_cast<FONT**>(AllocBlock(FONT_COUNT * sizeof(FONT*), "test font table"));
        for (int i = 0; i < FONT_COUNT; ++i) g_gfx.fonts[i] = nullptr;
        blocksBefore = LiveBlocks();
    }
    void TearDown() override { g_allocFault = nullptr; }
    int32_t Load(const std::string& bytes, int index = 1)
    {
        EXPECT_TRUE(WriteFileBytes(FontFiles[index], bytes));
        FOLDER folder;
        return screen.LoadFont(&folder, index);
    }
    TEMPDIR dir;
    TESTSCREEN screen;
    long blocksBefore = 0;
};

TEST_F(FontTest, LoadsAWholeFile)
{
    FONTFILE f = FixtureFont();
    f.Set(0xE4, 3, 2, 1, 0, std::string("\x12\x30\x45\x60", 4));
    ASSERT_EQ(Load(f.Bytes() + "ignored trailing bytes"), 0);
    FONT* font = g_gfx.fonts[1];
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->glyphHeight, 2);
    EXPECT_EQ(font->glyphs[31].advance, 0) << "codes below 32 stay empty";
    EXPECT_EQ(font->glyphs[' '].bitmap, nullptr);
    EXPECT_EQ(font->glyphs[0xE4].advance, 3);
    EXPECT_EQ(font->glyphs[0xE4].leftMargin, 1);
    EXPECT_EQ(0, memcmp(font->glyphs[0xE4].bitmap, "\x12\x30\x45\x60", 4));
    EXPECT_EQ(screen.FontHeight(1), 2);
    EXPECT_EQ(screen.FontHeight(2), 0) << "an empty slot";
    screen.FreeFont(1);
    EXPECT_EQ(g_gfx.fonts[1], nullptr);
    EXPECT_EQ(LiveBlocks(), blocksBefore) << "FreeFont releases every bitmap";
    screen.FreeFont(1);  // an empty slot: nothing happens
}

TEST_F(FontTest, FailuresLeaveTheSlotEmptyAndNothingHeld)
{
    const std::string good = FixtureFont().Bytes();
    struct CASE {
        const char* what;
        std::string bytes;
        const char* refuse;  // allocation to refuse
        int32_t code;
    };
    FONTFILE shortBitmap = FixtureFont();
    const CASE cases[] = {
        {"missing file", "", nullptr, 7},
        {"height only", good.substr(0, 4), nullptr, 9},
        {"last bitmap one byte short", good.substr(0, good.size() - 1), nullptr, 9},
        {"record cut", good.substr(0, 4 + 10), nullptr, 9},
        {"no memory for the font", good, "font", 8},
        {"no memory for a glyph", good, "glyph", 11},
    };
    for (const CASE& c : cases) {
        unlink(FontFiles[1]);
        if (!c.bytes.empty()) {
            ASSERT_TRUE(WriteFileBytes(FontFiles[1], c.bytes));
        }
        {
            FOLDER folder;
            g_refuse = c.refuse;
            g_allocFault = RefuseNamed;
            EXPECT_EQ(screen.LoadFont(&folder, 1), c.code) << c.what;
            g_allocFault = nullptr;
        }
        EXPECT_EQ(g_gfx.fonts[1], nullptr) << c.what;
        EXPECT_EQ(LiveBlocks(), blocksBefore) << c.what;
    }
}

TEST_F(FontTest, DamagedValuesAreRefused)
{
    struct CASE {
        const char* what;
        int32_t height, advance, bytesPerRow, left, right;
    };
    const CASE cases[] = {
        {"negative height", -1, 2, 1, 0, 0},
        {"absurd height", 100000000, 2, 1, 0, 0},
        {"negative advance", 2, -1, 1, 0, 0},
        {"absurd advance", 2, 50000000, 0, 0, 0},
        {"row shorter than the glyph", 2, 9, 4, 0, 0},
        {"absurd row", 2, 2, 0x40000000, 0, 0},
        {"negative row", 2, 2, -8, 0, 0},
        {"huge left margin", 2, 2, 1, INT_MIN, 0},
        {"huge right margin", 2, 2, 1, 0, INT_MAX},
    };
    for (const CASE& c : cases) {
        FONTFILE f(c.height);
        f.SetAll(2, 1, 0, 0, std::string("\xFF\xFF", 2));
        std::string bitmap(static_cast<size_t>(c.bytesPerRow > 0 && c.bytesPerRow < 100 ? 2 * c.bytesPerRow : 2), 'x');
        f.Set('Q', c.advance, c.bytesPerRow, c.left, c.right, bitmap);
        EXPECT_EQ(Load(f.Bytes()), 9) << c.what;
        EXPECT_EQ(g_gfx.fonts[1], nullptr) << c.what;
        EXPECT_EQ(LiveBlocks(), blocksBefore) << c.what;
    }
    // A glyph row exactly as wide as it needs, and a wider one, are fine.
    FONTFILE f(2);
    f.SetAll(3, 2, 0, 0, "abcd");
    f.Set('Q', 3, 3, 0, 0, "abcdef");
    EXPECT_EQ(Load(f.Bytes()), 0);
}

TEST_F(FontTest, OpenGraphicsLoadsTheSevenFontsInOrderAndStopsAtTheFirstFailure)
{
    screen.CloseGraphics();
    ResetGraphicsState();
    for (int i = 0; i < FONT_COUNT; ++i)
        if (i != 3) {
            ASSERT_TRUE(WriteFileBytes(FontFiles[i], FixtureFont().Bytes()));
        }
    FOLDER folder;
    EXPECT_EQ(screen.OpenGraphics(40, 20, "t", false, &folder, -1, -1, -1, -1), 7);
    for (int i = 0; i < FONT_COUNT; ++i) EXPECT_EQ(g_gfx.fonts[i] != nullptr, i < 3) << i;
    // A later opening finds the table and fills no empty slot.
    ASSERT_TRUE(WriteFileBytes(FontFiles[3], FixtureFont().Bytes()));
    EXPECT_EQ(screen.OpenGraphics(40, 20, "t", false, &folder, -1, -1, -1, -1), 0);
    EXPECT_EQ(g_gfx.fonts[3], nullptr);
    // After closing, opening again loads them all.
    screen.CloseGraphics();
    EXPECT_EQ(screen.OpenGraphics(40, 20, "t", false, &folder, -1, -1, -1, -1), 0);
    for (int i = 0; i < FONT_COUNT; ++i) EXPECT_NE(g_gfx.fonts[i], nullptr) << i;
}

TEST_F(FontTest, SpacingUsesThreeQuartersOfTheSpaceLessTheFacingMargins)
{
    FONTFILE f(2);
    f.SetAll(5, 0, 0, 0, "");
    f.Set(' ', 4, 0, 0, 0, "");
    f.Set('a', 5, 0, 0, 1, "");  // right margin 1
    f.Set('b', 6, 0, 1, 0, "");  // left margin 1
    f.Set('c', 6, 0, 4, 0, "");  // margins with 'a' add up to 5
    ASSERT_EQ(Load(f.Bytes()), 0);
    EXPECT_EQ(screen.CharGap(1, "ab", 1), 1);
    EXPECT_EQ(screen.TextWidth(1, "ab"), 5 + 1 + 6);
    EXPECT_EQ(screen.CharGap(1, "ac", 1), 0) << "never negative";
    EXPECT_EQ(screen.TextWidth(1, "ac"), 11);
    EXPECT_EQ(screen.CharGap(1, "ab", 2), 0) << "no gap after the last character";
    EXPECT_EQ(screen.TextWidth(1, ""), 0);
    EXPECT_EQ(screen.TextWidth(1, "\x01\x02"), 0);
    // A control byte between two characters adds nothing, and its zero margins are used
    // for the gap before it and after it.
    EXPECT_EQ(screen.TextWidth(1, "a\x01" "b"), 5 + 2 + 6);
    EXPECT_EQ(screen.TextWidth(2, "ab"), 0) << "an empty slot";
    EXPECT_EQ(screen.TextWidth(1, nullptr), 0);
    g_gfx.opening = 1;
    EXPECT_EQ(screen.TextWidth(1, "ab"), 3);
    EXPECT_EQ(screen.FontHeight(1), 3);
    EXPECT_EQ(screen.CharGap(1, "ab", 1), 3);
    g_gfx.opening = 0;
}

TEST_F(FontTest, TextBlendsCoverageOverTheBackground)
{
    ASSERT_EQ(Load(FixtureFont().Bytes()), 0);
    screen.ClearDirty();
    // "ABC": pens at 0, 2+3=5, 10.
    EXPECT_EQ(screen.Text(0, 0, 1, 0x7FFF, "ABC"), 0);
    EXPECT_EQ(screen.At(0, 0), 0x7FFF);
    EXPECT_EQ(screen.At(5, 1), 0x4210) << "coverage 8 of white over black";
    EXPECT_EQ(screen.At(10, 0), 0x0000) << "coverage 0 leaves the pixel";
    EXPECT_EQ(screen.At(11, 0), 0x7FFF);
    EXPECT_EQ(screen.Dirty(), "0,11,0,1");

    // Full coverage writes all 16 bits; partial coverage clears bit 15.
    EXPECT_EQ(screen.Text(0, 5, 1, 0xFFE0, "AB"), 0);
    EXPECT_EQ(screen.At(1, 5), 0xFFE0);
    EXPECT_EQ(screen.At(5, 5) & 0x8000, 0);

    // The same partial coverage over a background of another colour, after a pixel of the
    // first: the remembered expansion must not be reused for a different value.
    screen.At(20, 10) = 0x0000;
    screen.At(21, 10) = 0x7C00;
    EXPECT_EQ(screen.Text(20, 10, 1, 0x001F, "B"), 0);
    EXPECT_EQ(screen.At(20, 10), 0x0010);  // 248 x 8 / 15 = 132 -> 16
    EXPECT_EQ(screen.At(21, 10), 0x3810);  // red 248 x 7 / 15 = 115 -> 14
}

TEST_F(FontTest, TextNeverDrawsTheLastColumnOrRowNorOutsideTheSurface)
{
    ASSERT_EQ(Load(FixtureFont().Bytes()), 0);
    // On the last row: nothing drawn, code 0.
    screen.ClearDirty();
    EXPECT_EQ(screen.Text(0, 19, 1, 0x7FFF, "A"), 0);
    EXPECT_EQ(screen.RowPattern(19, 0, 39, 0x7FFF), std::string(40, '.'));
    EXPECT_EQ(screen.Dirty(), "0,1,19,19");

    // A glyph box starting in the last column draws nothing and marks that column.
    screen.ClearDirty();
    EXPECT_EQ(screen.Text(39, 0, 1, 0x7FFF, "A"), 0);
    EXPECT_EQ(screen.At(39, 0), 0);
    EXPECT_EQ(screen.Dirty(), "39,39,0,1");

    // Crossing the right edge: drawn up to column width - 2, each row from its own start.
    EXPECT_EQ(screen.Text(37, 3, 1, 0x7FFF, "D"), 0);
    EXPECT_EQ(screen.RowPattern(3, 37, 39, 0x7FFF), "#..");
    EXPECT_EQ(screen.RowPattern(4, 37, 39, 0x7FFF), ".#.") << "row 1 starts at its own byte; column 39 is never drawn";

    // Negative coordinates cut the glyph at the edge.
    screen.Fill(0);
    EXPECT_EQ(screen.Text(-1, -1, 1, 0x7FFF, "A"), 0);
    EXPECT_EQ(screen.At(0, 0), 0x7FFF);
    EXPECT_EQ(screen.At(1, 0), 0);
    EXPECT_EQ(screen.At(0, 1), 0);
    EXPECT_EQ(screen.Text(-32768, -32768, 1, 0x7FFF, "AAAA"), 0);
}

TEST_F(FontTest, TextResultCodes)
{
    ASSERT_EQ(Load(FixtureFont().Bytes()), 0);
    screen.ClearDirty();
    EXPECT_EQ(screen.Text(0, 0, 1, 0x7FFF, nullptr), 12);
    EXPECT_EQ(screen.Text(0, 0, 4, 0x7FFF, "A"), 13);
    EXPECT_EQ(screen.Dirty(), "-1,-1,-1,-1");
    // A space and a glyph without bitmap move the pen but draw nothing.
    EXPECT_EQ(screen.Text(0, 0, 1, 0x7FFF, "  "), 0);
    EXPECT_EQ(screen.Dirty(), "-1,-1,-1,-1");
    g_gfx.opening = 1;
    EXPECT_EQ(screen.Text(0, 0, 1, 0x7FFF, nullptr), 3);
    g_gfx.opening = 0;
}

}  // namespace
