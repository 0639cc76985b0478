// Lines, boxes, ramps, the tint and Shade, pixel by pixel on an in-memory surface.
#include "gfx/draw.h"
#include "support/gfxtest.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

namespace {

const uint16_t C = 0x7FFF;

class DrawTest : public ::testing::Test {
protected:
    void SetUp() override { screen.MakeSurface(640, 480); }
    std::set<std::pair<int, int>> SetPixels(uint16_t colour)
    {
        std::set<std::pair<int, int>> set;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                if (screen.At(x, y) == colour) set.insert({x, y});
        return set;
    }
    TESTSCREEN screen;
};

TEST_F(DrawTest, NothingIsDrawnWhileTheGraphicsAreNotReady)
{
    g_gfx.opening = 1;
    EXPECT_EQ(screen.Line(0, 0, 10, 0, LINE_SOLID, C), 3);
    EXPECT_EQ(screen.Box(0, 0, 10, 10, BOX_FILL, C, 0x8000), 3);
    EXPECT_EQ(screen.Dirty(), "-1,-1,-1,-1");
    g_gfx.opening = 0;
    EXPECT_EQ(screen.At(0, 0), 0);
}

TEST_F(DrawTest, RunsAndDashes)
{
    EXPECT_EQ(screen.Line(0, 7, 640, 7, LINE_SOLID, C), 0);
    EXPECT_EQ(screen.RowPattern(7, 0, 639, C), std::string(640, '#'));
    EXPECT_EQ(screen.Dirty(), "0,639,7,7");

    screen.Line(20, 5, 0, 5, LINE_DASHED, C);  // dashes count from the left end
    EXPECT_EQ(screen.RowPattern(5, 0, 21, C), "####..####..####..###.");

    screen.Line(3, 30, 3, 20, 4 /* bit 0 clear: dashed */, C);
    std::string column;
    for (int y = 20; y <= 30; ++y) column += screen.At(3, y) == C ? '#' : '.';
    EXPECT_EQ(column, "####..####.");
}

TEST_F(DrawTest, SlantedLinesWalkFromTheLeftOrTopEnd)
{
    using P = std::set<std::pair<int, int>>;
    struct CASE {
        int16_t x1, y1, x2, y2;
        int32_t style;
        P pixels;
    };
    const CASE cases[] = {
        {0, 0, 3, 1, LINE_SOLID, P{{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
        {3, 1, 0, 0, LINE_SOLID, P{{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
        {0, 0, 3, 3, LINE_SOLID, P{{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {1, 0, 0, 3, LINE_SOLID, P{{1, 0}, {1, 1}, {0, 2}, {0, 3}}},
        {3, 0, 0, 1, LINE_SOLID, P{{3, 0}, {2, 0}, {1, 1}, {0, 1}}},
        // The walk starts outside; pixels are counted for dashes only inside the surface.
        {-10, -10, 9, 9, LINE_DASHED, P{{0, 0}, {1, 1}, {2, 2}, {3, 3}, {6, 6}, {7, 7}, {8, 8}, {9, 9}}},
    };
    for (const CASE& c : cases) {
        screen.Fill(0);
        screen.ClearDirty();
        screen.Line(c.x1, c.y1, c.x2, c.y2, c.style, C);
        EXPECT_EQ(SetPixels(C), c.pixels) << c.x1 << "," << c.y1 << " to " << c.x2 << "," << c.y2;
    }
    EXPECT_EQ(screen.Dirty(), "0,9,0,9");
}

TEST_F(DrawTest, LinesOutsideTheSurfaceClampToItsEdges)
{
    screen.Line(10, -5, 100, -20, LINE_SOLID, C);  // wholly above: drawn along row 0
    EXPECT_EQ(screen.RowPattern(0, 9, 101, C), "." + std::string(91, '#') + ".");
    screen.Fill(0);
    screen.Line(600, 479, 700, 600, LINE_SOLID, C);  // from the bottom row to below it
    EXPECT_EQ(screen.RowPattern(479, 599, 639, C), "." + std::string(40, '#'));
    screen.Fill(0);
    screen.Line(630, 0, 650, 20, LINE_SOLID, C);  // cut at the right edge
    std::set<std::pair<int, int>> expected;
    for (int i = 0; i <= 9; ++i) expected.insert({630 + i, i});
    EXPECT_EQ(SetPixels(C), expected);
}

TEST_F(DrawTest, BoxModes)
{
    // Corners in any order; fill sets all 16 bits.
    screen.Box(5, 5, 1, 1, BOX_FILL, 0xFFE0, 0x8000);
    EXPECT_EQ(SetPixels(0xFFE0).size(), 25u);
    EXPECT_EQ(screen.At(1, 1), 0xFFE0);
    EXPECT_EQ(screen.At(5, 5), 0xFFE0);
    EXPECT_EQ(screen.Dirty(), "1,5,1,5");

    // The first mode bit wins: fill + outline draws the outline only.
    screen.Fill(0);
    screen.Box(10, 10, 14, 13, BOX_FILL | BOX_OUTLINE, C, 0);
    EXPECT_EQ(screen.RowPattern(10, 10, 14, C), "#####");
    EXPECT_EQ(screen.RowPattern(11, 10, 14, C), "#...#");
    EXPECT_EQ(screen.RowPattern(13, 10, 14, C), "#####");

    // Dashed outline: every edge starts its dashes again at its left or top end.
    screen.Fill(0);
    screen.Box(0, 0, 9, 7, BOX_DASHED, C, 0);
    EXPECT_EQ(screen.RowPattern(0, 0, 9, C), "####..####");
    EXPECT_EQ(screen.RowPattern(7, 0, 9, C), "####..####");
    std::string left;
    for (int y = 0; y <= 7; ++y) left += screen.At(0, y) == C ? '#' : '.';
    EXPECT_EQ(left, "####..##");

    // No mode: nothing drawn, the dirty rectangle grows all the same.
    screen.Fill(0);
    screen.ClearDirty();
    screen.Box(20, 30, 40, 50, 0x100, C, 0);
    EXPECT_TRUE(SetPixels(C).empty());
    EXPECT_EQ(screen.Dirty(), "20,40,30,50");
}

TEST_F(DrawTest, RampsAreDitheredAlongEachRow)
{
    screen.Box(0, 0, 31, 0, BOX_RAMP_LEFT, 0x7C00, 0x0000);
    for (int p = 0; p < 32; ++p) EXPECT_EQ(screen.At(p, 0), (31 - p) << 10) << p;

    screen.Box(0, 10, 3, 11, BOX_RAMP_DOWN, 0x001F, 0x0000);
    EXPECT_EQ(screen.RowPattern(10, 0, 3, 0x0000), "####");
    EXPECT_EQ(screen.RowPattern(11, 0, 3, 0x001F), "####");

    // A vertical ramp whose row value falls between two 5-bit levels alternates between
    // them along the row, the carry starting at 0 on each row.
    screen.Box(0, 20, 7, 22, BOX_RAMP_UP, 0x0000, 0x0001);  // blue 0 at the top, 8 at the bottom
    // Row 21: blue8 = 4 -> pixels alternate 0 (4 carried) and 1 (8 >> 3).
    std::string row;
    for (int x = 0; x <= 7; ++x) row += char('0' + screen.At(x, 21));
    EXPECT_EQ(row, "01010101");

    // Fading from what is there: exactly the background at the left, the colour at the right.
    screen.Box(0, 30, 99, 30, BOX_FILL, 0x2945, 0);
    screen.Box(0, 30, 99, 30, BOX_RAMP_RIGHT, 0x7FFF, COLOUR_BEHIND);
    EXPECT_EQ(screen.At(0, 30), 0x2945);
    EXPECT_EQ(screen.At(99, 30), 0x7FFF);

    // One column wide: the start colour, no division by zero.
    screen.Box(50, 40, 50, 45, BOX_RAMP_RIGHT, 0x7C00, 0x001F);
    EXPECT_EQ(screen.At(50, 40), 0x001F);
    screen.Box(60, 40, 70, 40, BOX_RAMP_UP, 0x7C00, 0x001F);
    EXPECT_EQ(screen.At(65, 40), 0x7C00);
}

TEST_F(DrawTest, TintMovesTwoThirdsTowardsTheColour)
{
    screen.At(0, 0) = 0x0000;
    screen.At(1, 0) = 0x7FFF;
    screen.At(2, 0) = 0x8000 | 0x001F;
    screen.Box(0, 0, 2, 0, BOX_TINT, 0x7FFF, 0);
    EXPECT_EQ(screen.At(0, 0), 0x5294);
    EXPECT_EQ(screen.At(1, 0), 0x7FFF);
    EXPECT_EQ(screen.At(2, 0), 0x529F) << "bit 15 is cleared";
}

TEST(Shade, ScalesEachChannelAndSaturates)
{
    struct CASE {
        uint16_t colour;
        int16_t percent;
        bool rgb565;
        uint16_t result;
    };
    const CASE cases[] = {
        {0x6739, 166, false, 0x7FFF}, {0x6739, 66, false, 0x4210}, {0xE739, 100, false, 0x6739},
        {0x7C00, 50, false, 0x3C00},  {0x1234, 0, false, 0x0000},  {0x6739, -50, false, 0x0000},
        {0xFFFF, 100, true, 0xFFFF},  {0xF800, 50, true, 0x7800},  {0x07E0, 200, true, 0x07E0},
    };
    for (const CASE& c : cases)
        EXPECT_EQ(BFIO::Shade(c.colour, c.percent, c.rgb565), c.result)
            << std::hex << c.colour << " " << std::dec << c.percent << "% " << c.rgb565;
}

}  // namespace
