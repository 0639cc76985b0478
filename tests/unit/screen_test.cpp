// The window and the frame buffer on the headless backend: opening with its limits,
// styles and centring, the frame buffer and its dirty rectangle, Present, closing, and the
// two window messages of the graphics side.
#include "app/folder.h"
#include "app/memory.h"
#include "platform/headless/headless.h"
#include "support/gfxtest.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

namespace {

class ScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HeadlessReset();
        // A 1024 x 738 work area: right and bottom are one less than the extent.
        HeadlessSetWorkArea(PLATRECT{0, 0, 1023, 737});
    }
    void TearDown() override { HeadlessReset(); }
    int32_t Open(int16_t w, int16_t h, bool maximise = false, int16_t minH = -1, int16_t maxH = -1,
                 int16_t minW = -1, int16_t maxW = -1)
    {
        FOLDER folder;
        return screen.OpenGraphics(w, h, "Title", maximise, &folder, minH, maxH, minW, maxW);
    }
    TEMPDIR dir;  // no font files: opening stops at the first font with code 7
    TESTSCREEN screen;
};

TEST_F(ScreenTest, FixedWindowIsCentredOnTheWorkArea)
{
    EXPECT_EQ(Open(640, 480), 7) << "the window and frame buffer are made before the fonts fail";
    const HEADLESSWINDOW& w = HeadlessWindow();
    EXPECT_EQ(w.style, 0x00CA0000u);
    // Dialog frame 3, caption 19: outer 646 x 505, centred on 1024 x 738.
    EXPECT_EQ(w.width, 646);
    EXPECT_EQ(w.height, 505);
    EXPECT_EQ(w.x, (1024 - 646) / 2);
    EXPECT_EQ(w.y, (738 - 505) / 2);
    EXPECT_EQ(w.lastShowCommand, SW_SHOW);
    EXPECT_EQ(w.title, "Title");
    EXPECT_TRUE(screen.GraphicsReady());
    EXPECT_EQ(screen.ScreenWidth(), 640);
    EXPECT_EQ(screen.ScreenHeight(), 480);
    EXPECT_EQ(g_gfx.pitch, 1280);
    ASSERT_NE(g_gfx.fonts, nullptr);
    for (int i = 0; i < FONT_COUNT; ++i) EXPECT_EQ(g_gfx.fonts[i], nullptr);
}

TEST_F(ScreenTest, LimitsArePairedAndFittedToTheSize)
{
    struct CASE {
        int16_t minW, maxW, minH, maxH;
        bool maximise;
        int16_t wantMinW, wantMaxW, wantMinH, wantMaxH;
        uint32_t style;
        int show;
    };
    const CASE cases[] = {
        {800, 500, -1, -1, false, 640, 640, -1, -1, 0x00CF0000u, SW_SHOW},
        {300, -1, -1, -1, false, -1, -1, -1, -1, 0x00CA0000u, SW_SHOW},
        {-1, -1, -1, -1, true, -1, -1, -1, -1, 0x00CA0000u, SW_SHOW},  // nothing to maximise to
        {200, 900, 100, 600, true, 200, 900, 100, 600, 0x00CF0000u, SW_SHOWMAXIMIZED},
    };
    for (const CASE& c : cases) {
        HeadlessReset();
        HeadlessSetWorkArea(PLATRECT{0, 0, 1023, 737});
        screen.CloseGraphics();
        Open(640, 480, c.maximise, c.minH, c.maxH, c.minW, c.maxW);
        EXPECT_EQ(g_gfx.minWidth, c.wantMinW);
        EXPECT_EQ(g_gfx.maxWidth, c.wantMaxW);
        EXPECT_EQ(g_gfx.minHeight, c.wantMinH);
        EXPECT_EQ(g_gfx.maxHeight, c.wantMaxH);
        EXPECT_EQ(HeadlessWindow().style, c.style);
        EXPECT_EQ(HeadlessWindow().lastShowCommand, c.show);
        if (c.style == 0x00CF0000u) {
            EXPECT_EQ(HeadlessWindow().width, 640 + 2 * 4) << "sizing-frame metrics";
        }
    }
}

TEST_F(ScreenTest, RequestLargerThanTheWorkAreaIsReduced)
{
    Open(2000, 2000);
    EXPECT_EQ(screen.ScreenWidth(), 1024 - 2 * 3);
    EXPECT_EQ(screen.ScreenHeight(), 738 - (19 + 3) - 3);
    EXPECT_EQ(HeadlessWindow().x, 0);
    EXPECT_EQ(HeadlessWindow().y, 0);
}

TEST_F(ScreenTest, OpeningFailures)
{
    HeadlessFailCreateWindow(true);
    EXPECT_EQ(Open(640, 480), 1);
    EXPECT_FALSE(screen.GraphicsReady());
    EXPECT_EQ(g_gfx.opening, 1);
    HeadlessFailCreateWindow(false);

    g_allocFault = [](const char* what) { return std::string(what) == "screen"; };
    EXPECT_EQ(Open(640, 480), 2);
    EXPECT_FALSE(screen.GraphicsReady());
    EXPECT_TRUE(HeadlessWindow().visible) << "the window is shown all the same";

    g_allocFault = [](const char* what) { return std::string(what) == "font table"; };
    EXPECT_EQ(Open(640, 480), 6) << "the existing window is re-shaped and the table is still missing";
    EXPECT_TRUE(screen.GraphicsReady());
    EXPECT_EQ(g_gfx.fonts, nullptr);
    g_allocFault = nullptr;
}

TEST_F(ScreenTest, ReopeningReshapesTheWindowAndKeepsTheFontTable)
{
    Open(640, 480);
    FONT** table = g_gfx.fonts;
    HeadlessClearCalls();
    EXPECT_EQ(Open(320, 200, false, 100, 400, 100, 600), 0) << "fonts load only with a new table";
    EXPECT_EQ(g_gfx.fonts, table);
    EXPECT_EQ(HeadlessCount("CreateWindow"), 0);
    EXPECT_EQ(HeadlessCount("ShowWindow(0)"), 1);
    EXPECT_EQ(HeadlessCount("SetWindowStyle(00CF0000)"), 1);
    EXPECT_EQ(HeadlessWindow().title, "Title");
    EXPECT_EQ(screen.ScreenWidth(), 320);
    EXPECT_EQ(screen.ScreenHeight(), 200);
}

TEST_F(ScreenTest, AllocateScreenRoundsThePitchAndMarksEverything)
{
    g_gfx.opening = 0;
    EXPECT_EQ(screen.AllocateScreen(639, 10), 0);
    EXPECT_EQ(g_gfx.pitch, 1280);
    EXPECT_EQ(screen.Dirty(), "0,638,0,9");
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 640; ++x) ASSERT_EQ(screen.At(x, y), 0);
}

TEST_F(ScreenTest, ClampAndMark)
{
    screen.MakeSurface(640, 480);
    struct CASE {
        int16_t x1, y1, x2, y2;
        int16_t wx1, wy1, wx2, wy2;
    };
    const CASE cases[] = {
        {-5, 700, 20, -3, 0, 0, 20, 479},
        {700, 10, 900, 20, 639, 10, 639, 20},
        {30, 40, 10, 20, 10, 20, 30, 40},
        {-100, -100, -1, -1, 0, 0, 0, 0},
    };
    for (const CASE& c : cases) {
        screen.ClearDirty();
        int16_t x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
        screen.ClampAndMark(x1, y1, x2, y2);
        EXPECT_EQ(x1, c.wx1);
        EXPECT_EQ(y1, c.wy1);
        EXPECT_EQ(x2, c.wx2);
        EXPECT_EQ(y2, c.wy2);
        EXPECT_EQ(screen.Dirty(), std::to_string(c.wx1) + "," + std::to_string(c.wx2) + "," + std::to_string(c.wy1) +
                                      "," + std::to_string(c.wy2));
    }
    // Each bound grows by itself.
    screen.ClearDirty();
    int16_t a = 10, b = 10, c = 20, d = 20;
    screen.ClampAndMark(a, b, c, d);
    a = 5, b = 15, c = 8, d = 30;
    screen.ClampAndMark(a, b, c, d);
    EXPECT_EQ(screen.Dirty(), "5,20,10,30");
}

TEST_F(ScreenTest, PresentShowsOnlyTheDirtyRectangleOnce)
{
    Open(640, 480);
    HeadlessClearCalls();
    screen.Present();
    EXPECT_EQ(HeadlessCalls(), std::vector<std::string>{"Present(0,0,640,480,0,0)"});
    screen.Present();
    EXPECT_EQ(HeadlessCount("Present"), 1) << "an empty rectangle shows nothing";
    EXPECT_EQ(screen.Dirty(), "-1,-1,-1,-1");

    screen.At(5, 0) = 0x7C00;
    int16_t x1 = 5, y1 = 0, x2 = 5, y2 = 0;
    screen.ClampAndMark(x1, y1, x2, y2);
    HeadlessClearCalls();
    screen.Present();
    EXPECT_EQ(HeadlessCalls(), std::vector<std::string>{"Present(5,0,1,1,5,479)"}) << "source y counts from the bottom";
    EXPECT_EQ(HeadlessWindow().screen[5], 0x7C00);

    screen.At(7, 479) = 0x03E0;
    x1 = 7, y1 = 479, x2 = 9, y2 = 479;
    screen.ClampAndMark(x1, y1, x2, y2);
    HeadlessClearCalls();
    screen.Present();
    EXPECT_EQ(HeadlessCalls(), std::vector<std::string>{"Present(7,479,3,1,7,0)"});
    EXPECT_EQ(HeadlessWindow().screen[479 * 640 + 7], 0x03E0);
}

TEST_F(ScreenTest, CloseTwiceIsHarmless)
{
    Open(640, 480);
    HeadlessClearCalls();
    screen.CloseGraphics();
    std::vector<std::string> expected = {"ShowWindow(0)", "DestroyWindow"};
    EXPECT_EQ(HeadlessCalls(), expected);
    EXPECT_FALSE(screen.GraphicsReady());
    EXPECT_EQ(g_gfx.fonts, nullptr);
    HeadlessClearCalls();
    screen.CloseGraphics();
    EXPECT_TRUE(HeadlessCalls().empty());
    screen.Present();
    EXPECT_EQ(HeadlessCount("Present"), 0);
}

TEST_F(ScreenTest, SizeMessageReplacesTheFrameBufferOnlyWhenRestoredOrMaximised)
{
    Open(640, 480);
    screen.At(1, 1) = 0x1234;
    struct CASE {
        uintptr_t type;
        bool replaced;
    };
    const CASE cases[] = {{SIZE_MINIMIZED, false}, {SIZE_RESTORED, true}, {SIZE_MAXIMIZED, true}, {4, false}};
    for (const CASE& c : cases) {
        screen.At(1, 1) = 0x1234;
        HeadlessClearCalls();
        WindowProcedure(nullptr, WM_SIZE, c.type, (300 << 16) | 400);
        EXPECT_EQ(screen.At(1, 1) == 0, c.replaced) << c.type;
        EXPECT_EQ(HeadlessCount("InvalidateRect(0)"), c.replaced ? 1 : 0);
        if (c.replaced) {
            EXPECT_EQ(screen.ScreenWidth(), 400);
            EXPECT_EQ(screen.ScreenHeight(), 300);
        }
    }
    // Before any frame buffer exists the message changes nothing.
    screen.CloseGraphics();
    WindowProcedure(nullptr, WM_SIZE, SIZE_RESTORED, (300 << 16) | 400);
    EXPECT_EQ(g_gfx.pixels, nullptr);
}

TEST_F(ScreenTest, MinMaxInfo)
{
    Open(640, 480);
    PLATMINMAXINFO info{};
    WindowProcedure(nullptr, WM_GETMINMAXINFO, 0, reinterpret_cast<intptr_t>(&info));
    // Without limits the window can be neither resized nor enlarged.
    for (const PLATPOINT& p : {info.ptMaxSize, info.ptMinTrackSize, info.ptMaxTrackSize}) {
        EXPECT_EQ(p.x, 646);
        EXPECT_EQ(p.y, 505);
    }
    EXPECT_EQ(info.ptMaxPosition.x, (1024 - 646) / 2);
    EXPECT_EQ(info.ptMaxPosition.y, (738 - 505) / 2);

    screen.CloseGraphics();
    Open(640, 480, false, 300, 2000, 400, 800);
    info = PLATMINMAXINFO{};
    WindowProcedure(nullptr, WM_GETMINMAXINFO, 0, reinterpret_cast<intptr_t>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 400 + 8);
    EXPECT_EQ(info.ptMaxTrackSize.x, 800 + 8);
    EXPECT_EQ(info.ptMaxSize.x, 808);
    EXPECT_EQ(info.ptMaxPosition.x, (1024 - 808) / 2);
    EXPECT_EQ(info.ptMinTrackSize.y, 300 + 19 + 4 + 4);
    EXPECT_EQ(info.ptMaxTrackSize.y, 738) << "never beyond the work area";
    EXPECT_EQ(info.ptMaxPosition.y, 0);
}

}  // namespace

#include <png.h>

namespace {

TEST_F(ScreenTest, FramesAreSavedAsPngWidenedAsDisplaysDo)
{
    Open(640, 480);
    screen.At(0, 0) = 0x7C00;
    screen.At(1, 0) = 0x03E0 | 0x8000;
    screen.At(2, 1) = 0x0011;
    screen.Present();
    ASSERT_TRUE(HeadlessSaveFrame("frame.png"));
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, "frame.png"));
    EXPECT_EQ(image.width, 640u);
    EXPECT_EQ(image.height, 480u);
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    auto at = [&](int x, int y, int k) { return rgb[(static_cast<size_t>(y) * 640 + x) * 3 + k]; };
    EXPECT_EQ(at(0, 0, 0), 255);
    EXPECT_EQ(at(0, 0, 1), 0);
    EXPECT_EQ(at(1, 0, 1), 255) << "bit 15 is not shown";
    EXPECT_EQ(at(2, 1, 2), (17 << 3) | (17 >> 2));
    EXPECT_FALSE(HeadlessSaveFrame("missing-folder/frame.png"));
}

}  // namespace
