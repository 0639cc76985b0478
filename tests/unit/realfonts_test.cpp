// The seven font files this build made, loaded and measured by the program's own font code.
#include "app/folder.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "platform/headless/headless.h"
#include "wizard/catalogue.h"
#include "support/gfxtest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <unistd.h>

namespace {

class RealFontsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HeadlessReset();
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        previous = cwd;
        ASSERT_EQ(chdir(KV_FONT_DIR), 0) << KV_FONT_DIR;
        FOLDER folder;
        ASSERT_EQ(screen.OpenGraphics(640, 480, "fonts", false, &folder, -1, -1, -1, -1), 0);
    }
    void TearDown() override
    {
        if (!previous.empty()) {
            EXPECT_EQ(chdir(previous.c_str()), 0);
        }
        HeadlessReset();
    }
    std::string previous;
    TESTSCREEN screen;
};

TEST_F(RealFontsTest, LanguageLabelsFitTheirButtons)
{
    // The page-0 button width comes from the widest label measured in font 2, plus 20;
    // the labels themselves are drawn in font 1.
    int32_t widest = 0;
    for (int language = 0; language < LANGUAGE_COUNT; ++language)
        widest = std::max(widest, screen.TextWidth(2, Message(TXT_LANGUAGE, language)));
    for (int language = 0; language < LANGUAGE_COUNT; ++language)
        EXPECT_LE(screen.TextWidth(1, Message(TXT_LANGUAGE, language)), widest + 20) << language;
    EXPECT_GT(screen.TextWidth(1, "Install in English"), 40);
}

TEST_F(RealFontsTest, AccentedLettersHaveGlyphsAndHeightsGrow)
{
    int32_t previousHeight = 0;
    for (int font = 0; font < FONT_COUNT; ++font) {
        ASSERT_NE(g_gfx.fonts[font], nullptr) << font;
        EXPECT_GT(screen.FontHeight(font), previousHeight) << font;
        previousHeight = screen.FontHeight(font);
        for (unsigned char c : {0xE4, 0xF1, 0xE7, 0xE9, 0xE5, 0xF8, 0xD6, 0x80, 0x41, 0x7A})
            EXPECT_NE(g_gfx.fonts[font]->glyphs[c].bitmap, nullptr) << "font " << font << " code " << int(c);
    }
    // Text draws: the heading in font 5 changes pixels.
    screen.Box(0, 0, 640, 480, BOX_FILL, 0x001F, COLOUR_BEHIND);
    EXPECT_EQ(screen.Text(10, 0, 5, 0xFFE0, "Kickvale 99/00 Update"), 0);
    int yellow = 0;
    for (int y = 0; y < screen.FontHeight(5); ++y)
        for (int x = 0; x < 300; ++x) yellow += screen.At(x, y) == 0xFFE0;
    EXPECT_GT(yellow, 100);
}

}  // namespace
