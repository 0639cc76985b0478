// Render on the real wizard with its real fonts: the widgets each page puts in its slots,
// the background, the heading, repaints, and pages drawn while graphics are not ready.
#include "app/bfio.h"
#include "app/input.h"
#include "app/memory.h"
#include "app/wizard.h"
#include "gfx/font.h"
#include "gfx/screen.h"
#include "platform/headless/headless.h"
#include "support/gfxtest.h"
#include "support/tempdir.h"
#include "wizard/catalogue.h"
#include "wizard/pages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const uint16_t RAISED_CORNER = 0x7FFF;
const uint16_t SUNKEN_CORNER = 0x2108;

// Refuses the n-th widget allocation (counted from 0); -1 refuses none.
int g_buttonsMade = 0;
int g_refuseButton = -1;
bool RefuseOneButton(const char* what)
{
    if (strcmp(what, "button") != 0) return false;
    return g_buttonsMade++ == g_refuseButton;
}

struct LAYOUT {
    int W, Ht, H, BW, BH, BX, BY, RY, TX, LeftX, RightX;
};

struct SLOT {
    int slot;
    int32_t kind;
    int32_t id;
    std::string text;
    int x, y, width, height;
    uint8_t pressed;
    uint16_t colour;
};

// Paragraphs wrapped into the slots from 5 up.
struct WRAP {
    int x, top, limit;
    const char* first;
    const char* second;  // null: one paragraph
};

std::string Describe(const BUTTON* b)
{
    if (!b) return "(empty)";
    return "kind " + std::to_string(b->kind) + " id " + std::to_string(b->id) + " \"" + b->text + "\" at " +
           std::to_string(b->x) + "," + std::to_string(b->y) + " size " + std::to_string(b->width) + "x" +
           std::to_string(b->height) + " pressed " + std::to_string(b->pressed) + " colour " +
           std::to_string(b->colour);
}

std::string Describe(const SLOT& s)
{
    return "kind " + std::to_string(s.kind) + " id " + std::to_string(s.id) + " \"" + s.text + "\" at " +
           std::to_string(s.x) + "," + std::to_string(s.y) + " size " + std::to_string(s.width) + "x" +
           std::to_string(s.height) + " pressed " + std::to_string(s.pressed) + " colour " +
           std::to_string(s.colour);
}

class RenderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        memcpy(savedEnabled, LanguageEnabled, sizeof savedEnabled);
        ResetProgramState();
        ASSERT_TRUE(CopyBuiltFonts());
        wizard = CreateApplication();
        ASSERT_NE(wizard, nullptr);
        ASSERT_TRUE(wizard->GraphicsReady());
        ASSERT_EQ(wizard->ScreenWidth(), 640);
        ASSERT_EQ(wizard->ScreenHeight(), 480);
        ASSERT_EQ(wizard->shownPage, -1);
    }
    void TearDown() override
    {
        g_allocFault = nullptr;
        g_refuseButton = -1;
        g_gfx.opening = 0;
        DestroyApplication(wizard);
        wizard = nullptr;
        memcpy(LanguageEnabled, savedEnabled, sizeof savedEnabled);
        HeadlessReset();
    }

    uint16_t Px(int x, int y) const
    {
        return reinterpret_cast<const uint16_t*>(reinterpret_cast<const unsigned char*>(g_gfx.pixels) +
                                                 y * g_gfx.pitch)[x];
    }
    std::vector<uint16_t> Frame() const
    {
        std::vector<uint16_t> pixels;
        for (int y = 0; y < g_gfx.height; ++y)
            for (int x = 0; x < g_gfx.width; ++x) pixels.push_back(Px(x, y));
        return pixels;
    }
    int Count(int x1, int y1, int x2, int y2, uint16_t colour) const
    {
        int n = 0;
        for (int y = y1; y <= y2; ++y)
            for (int x = x1; x <= x2; ++x) n += Px(x, y) == colour;
        return n;
    }
    static uint16_t Blue(int y) { return static_cast<uint16_t>(31 - (23 * y) / 480); }

    LAYOUT Layout() const
    {
        LAYOUT L;
        L.W = wizard->ScreenWidth();
        L.Ht = wizard->ScreenHeight();
        L.H = wizard->FontHeight(5) + wizard->FontHeight(2);
        L.BW = (2 * L.W) / 3;
        L.BH = (2 * (L.Ht - L.H)) / 3;
        L.BX = (L.W - L.BW) / 2;
        L.BY = (L.Ht - L.BH) / 2;
        L.RY = L.BY + L.BH - 20;
        L.TX = L.BX + 17;
        L.LeftX = L.BX + L.BW - 180;
        L.RightX = L.BX + L.BW - 90;
        return L;
    }
    void RenderPage(int page, int language)
    {
        wizard->language = language;
        wizard->page = static_cast<int16_t>(page);
        wizard->Render();
        EXPECT_EQ(wizard->shownPage, page);
    }
    void ExpectSlot(const SLOT& s)
    {
        const BUTTON* b = wizard->buttons[s.slot];
        ASSERT_NE(b, nullptr) << "slot " << s.slot << " should hold " << Describe(s);
        const bool same = b->kind == s.kind && b->id == s.id && s.text == b->text && b->x == s.x && b->y == s.y &&
                          b->width == s.width && b->height == s.height && b->pressed == s.pressed &&
                          b->colour == s.colour;
        EXPECT_TRUE(same) << "slot " << s.slot << "\n  holds  " << Describe(b) << "\n  wanted " << Describe(s);
    }
    // The labels from slot 5 up: the first paragraph's lines one under the other from the
    // line top, then one blank line, then the second paragraph's; returns the slot after them.
    int ExpectWrapped(const WRAP& w)
    {
        std::vector<const BUTTON*> labels;
        for (int i = 5; i < BUTTON_SLOTS && wizard->buttons[i]; ++i) labels.push_back(wizard->buttons[i]);
        std::string joined;
        size_t firstLines = 0;
        const std::string first = w.first;
        while (joined != first && firstLines < labels.size()) {
            joined += (firstLines ? " " : "") + std::string(labels[firstLines]->text);
            ++firstLines;
        }
        EXPECT_EQ(joined, first) << "the first paragraph's lines";
        std::string second;
        for (size_t i = firstLines; i < labels.size(); ++i)
            second += (i > firstLines ? " " : "") + std::string(labels[i]->text);
        EXPECT_EQ(second, w.second ? w.second : "") << "the second paragraph's lines";
        for (size_t i = 0; i < labels.size(); ++i) {
            const int blank = (w.second && i >= firstLines) ? 1 : 0;
            ExpectSlot({static_cast<int>(5 + i), KIND_LABEL, 0, labels[i]->text, w.x,
                        w.top + 17 * static_cast<int>(i + blank), w.limit, 0, 0, 0});
        }
        return static_cast<int>(5 + labels.size());
    }

    unsigned char savedEnabled[LANGUAGE_COUNT];
    TEMPDIR dir;
    WIZARD* wizard = nullptr;
};

TEST_F(RenderTest, EveryPageFillsItsSlots)
{
    memcpy(wizard->installedVersion, "Version 3.72 (ENG)", sizeof "Version 3.72 (ENG)");
    const LAYOUT L = Layout();
    const int PY = (L.Ht - L.H) / 2;
    for (int lang = 0; lang < LANGUAGE_COUNT; ++lang) {
        auto M = [&](int message) { return std::string(Message(message, lang)); };
        const SLOT exitButton = {0, KIND_EXIT, 0, M(TXT_EXIT), 540, 440, 80, 20, 0, 0};
        const SLOT outer = {1, KIND_INERT, 0, "", L.BX, L.BY, L.BW, L.BH + 10, 0, 0};
        const SLOT inner = {2, KIND_INERT, 0, "", L.BX + 10, L.BY + 10, L.BW - 20, L.BH - 40, 1, 0};
        auto row = [&](int slot, bool left, int message, int32_t kind, int32_t id) {
            return SLOT{slot, kind, id, M(message), left ? L.LeftX : L.RightX, L.RY, 80, 20, 0, 0};
        };
        auto label = [&](int slot, int x, int y, const std::string& text, uint16_t colour) {
            return SLOT{slot, KIND_LABEL, 0, text, x, y, L.BW, 0, 0, colour};
        };
        const std::string quickOld = M(TXT_QUICKSTART_OLD), quickDelete = M(TXT_QUICKSTART_DELETE);
        const std::string prompt = M(TXT_LOCATION_PROMPT), clickContinue = M(TXT_CLICK_CONTINUE);
        const std::string writeFailed = M(TXT_WRITE_FAILED), incompatible = M(TXT_INCOMPATIBLE);
        struct PAGE {
            int page;
            std::vector<SLOT> slots;
            bool wraps;
            WRAP wrap;
        };
        const std::vector<PAGE> pages = {
            {PAGE_NOT_FOUND,
             {exitButton, outer, inner, row(3, true, TXT_BACK, KIND_INERT, 0), row(4, false, TXT_EXIT, KIND_EXIT, 0),
              label(5, L.TX, L.BY + 15, M(TXT_NOT_FOUND), 0), label(6, L.TX, L.BY + 32, M(TXT_REINSTALL), 0)},
             false, {}},
            {PAGE_VERSIONS,
             {exitButton, outer, inner, row(3, true, TXT_BACK, KIND_GOTO, 0), row(4, false, TXT_NEXT, KIND_GOTO, 3),
              label(5, L.TX, L.BY + 15, M(TXT_CURRENT_VERSION), 0),
              label(6, L.BX + 30, L.BY + 32, "Version 3.72 (ENG)", 0x001F),
              label(7, L.TX, L.BY + 66, M(TXT_NEW_VERSION), 0),
              label(8, L.BX + 30, L.BY + 83, UPDATE_VERSION, 0x001F),
              label(9, L.TX, L.BY + 117, M(TXT_CLICK_UPDATE), 0)},
             false, {}},
            {PAGE_INSTALLING,
             {exitButton, {1, KIND_INERT, 0, "", L.BX, PY, L.BW, 40, 0, 0},
              {2, KIND_INERT, 0, "", L.BX + 10, PY + 10, L.BW - 20, 20, 1, 0}},
             false, {}},
            {PAGE_COMPLETED,
             {exitButton, outer, inner, row(3, true, TXT_BACK, KIND_INERT, 0), row(4, false, TXT_FINISH, KIND_EXIT, 0),
              label(5, L.TX, L.BY + 15, M(TXT_COMPLETED), 0)},
             false, {}},
            {PAGE_SOURCE_MISSING,
             {exitButton, outer, inner, row(3, true, TXT_BACK, KIND_INERT, 0), row(4, false, TXT_EXIT, KIND_EXIT, 0),
              label(5, L.TX, L.BY + 15, M(TXT_SOURCE_MISSING), 0),
              label(6, L.TX, L.BY + 32, M(TXT_UPDATE_CORRUPT), 0)},
             false, {}},
            {PAGE_INSTALL_CORRUPT,
             {exitButton, outer, inner, row(3, true, TXT_BACK, KIND_INERT, 0), row(4, false, TXT_EXIT, KIND_EXIT, 0),
              label(5, L.TX, L.BY + 15, M(TXT_INSTALL_CORRUPT), 0), label(6, L.TX, L.BY + 32, M(TXT_REINSTALL), 0)},
             false, {}},
            {PAGE_QUICKSTART,
             {exitButton, outer, inner, row(3, false, TXT_NO, KIND_NO, 0), row(4, true, TXT_YES, KIND_YES, 0)},
             true, {L.TX, L.BY + 15, L.BW - 34, quickOld.c_str(), quickDelete.c_str()}},
            {PAGE_LOCATION,
             {exitButton, outer,
              {2, KIND_FIELD, 0, std::string(wizard->location) + "|", L.BX + 10, PY + 40, L.BW - 20, 25, 1, 0},
              row(3, true, TXT_BACK, KIND_GOTO, 0), row(4, false, TXT_NEXT, KIND_GOTO, 2)},
             true, {L.BX + 10, L.BY + 10, L.BW - 20, prompt.c_str(), clickContinue.c_str()}},
            {PAGE_WRITE_FAILED,
             {exitButton, outer, inner, row(3, true, TXT_BACK, KIND_GOTO, 8), row(4, false, TXT_EXIT, KIND_EXIT, 0)},
             true, {L.TX, L.BY + 15, L.BW - 34, writeFailed.c_str(), nullptr}},
            {PAGE_INCOMPATIBLE,
             {exitButton, outer, inner, row(3, true, TXT_BACK, KIND_INERT, 0), row(4, false, TXT_EXIT, KIND_EXIT, 0)},
             true, {L.TX, L.BY + 15, L.BW - 34, incompatible.c_str(), nullptr}},
        };
        for (const PAGE& p : pages) {
            SCOPED_TRACE("page " + std::to_string(p.page) + " language " + std::to_string(lang));
            RenderPage(p.page, lang);
            std::vector<bool> used(BUTTON_SLOTS, false);
            for (const SLOT& s : p.slots) {
                ExpectSlot(s);
                used[s.slot] = true;
            }
            int after = 5;
            if (p.wraps) {
                after = ExpectWrapped(p.wrap);
                for (int i = 5; i < after; ++i) used[i] = true;
            }
            for (int i = 0; i < BUTTON_SLOTS; ++i) {
                if (!used[i]) {
                    EXPECT_EQ(wizard->buttons[i], nullptr) << "slot " << i << ": " << Describe(wizard->buttons[i]);
                }
            }
            if (p.page == PAGE_INSTALLING) {
                EXPECT_EQ(wizard->boxX, L.BX);
                EXPECT_EQ(wizard->boxY, PY);
                EXPECT_EQ(wizard->boxWidth, L.BW);
                // The caption above the bar, drawn in yellow in font 2.
                const int tw = wizard->TextWidth(2, Message(TXT_UPDATING, lang));
                EXPECT_GT(Count(L.BX, PY - 40, L.BX + tw, PY - 40 + wizard->FontHeight(2) - 1, COLOUR_HEADING), 0);
            }
            if (p.page == PAGE_LOCATION) {
                EXPECT_EQ(wizard->boxX, L.BX + 10);
                EXPECT_EQ(wizard->boxY, PY + 40);
                EXPECT_EQ(wizard->boxWidth, L.BW - 20);
            }
        }
    }
}

TEST_F(RenderTest, LanguageButtonsAreCentredAndStacked)
{
    RenderPage(PAGE_LANGUAGE, LANGUAGE_NORWEGIAN);
    const LAYOUT L = Layout();
    const int step = wizard->FontHeight(2);
    int widest = 0;
    for (int i = 0; i < LANGUAGE_COUNT; ++i)
        widest = std::max(widest, int(wizard->TextWidth(2, Message(TXT_LANGUAGE, i))));
    const int LW = widest + 20, LX = (L.W - LW) / 2;
    const int T0 = (L.Ht - step * LANGUAGE_COUNT - L.H) / 2 + L.H - 15;
    ExpectSlot({0, KIND_EXIT, 0, "Avslutt", 540, 440, 80, 20, 0, 0});
    for (int k = 0; k < LANGUAGE_COUNT; ++k) {
        SCOPED_TRACE(k);
        // Each button carries its own language's label, whatever the current language.
        ExpectSlot({k + 1, KIND_LANGUAGE, k, Message(TXT_LANGUAGE, k), LX, T0 + k * step, LW, step - 2, 0, 0});
        EXPECT_EQ(wizard->buttons[k + 1]->autoPress, 0);
        EXPECT_EQ(Px(LX, T0 + k * step), RAISED_CORNER);
        EXPECT_EQ(Px(LX + LW, T0 + k * step + step - 2), SUNKEN_CORNER);
    }
    EXPECT_EQ(wizard->buttons[8], nullptr);
    EXPECT_EQ(wizard->buttons[9], nullptr);
    EXPECT_LE(std::abs(2 * LX + LW - L.W), 1) << "centred across the screen";
    EXPECT_EQ(std::string(wizard->buttons[7]->text), "0Installera p\xE5 svenska");
}

TEST_F(RenderTest, SingleLanguageIsPressedWithoutShowingAnyWidget)
{
    memset(LanguageEnabled, 0, sizeof LanguageEnabled);
    LanguageEnabled[LANGUAGE_ITALIAN] = 1;
    RenderPage(PAGE_LANGUAGE, LANGUAGE_ENGLISH);
    const LAYOUT L = Layout();
    const int step = wizard->FontHeight(2);
    const int LW = wizard->TextWidth(2, Message(TXT_LANGUAGE, LANGUAGE_ITALIAN)) + 20;
    ExpectSlot({1, KIND_LANGUAGE, LANGUAGE_ITALIAN, Message(TXT_LANGUAGE, LANGUAGE_ITALIAN), (L.W - LW) / 2,
                (L.Ht - step - L.H) / 2 + L.H - 15, LW, step - 2, 0, 0});
    EXPECT_EQ(wizard->buttons[1]->autoPress, 1);
    ASSERT_NE(wizard->buttons[0], nullptr) << "the page still has its Exit button";
    for (int i = 2; i < BUTTON_SLOTS; ++i) EXPECT_EQ(wizard->buttons[i], nullptr) << i;
    // Background and heading only: no face, no edge, not even the Exit button's.
    EXPECT_EQ(Count(0, 0, 639, 479, COLOUR_FACE), 0);
    EXPECT_EQ(Px(540, 440), Blue(440));
    EXPECT_EQ(Px(620, 460), Blue(460));
    EXPECT_GT(Count(0, 0, 639, wizard->FontHeight(5) - 1, COLOUR_HEADING), 0);
}

TEST_F(RenderTest, BackgroundHeadingAndExitButton)
{
    struct ROW {
        int y;
        uint16_t blue;
    };
    const ROW rows[] = {{0, 31}, {20, 31}, {21, 30}, {240, 20}, {479, 9}};
    for (int lang : {LANGUAGE_ENGLISH, LANGUAGE_FRENCH}) {
        SCOPED_TRACE(lang);
        wizard->shownPage = -1;
        RenderPage(PAGE_LANGUAGE, lang);
        for (const ROW& r : rows) {
            EXPECT_EQ(Px(0, r.y), r.blue) << "row " << r.y;
            EXPECT_EQ(Px(639, r.y), r.blue) << "row " << r.y << ", last column";
        }
        // The heading: the title in font 5 from (10, 0), the version under it in font 2.
        const int h5 = wizard->FontHeight(5), h2 = wizard->FontHeight(2);
        const int titleWidth = wizard->TextWidth(5, Message(TXT_TITLE, lang));
        const int versionWidth = wizard->TextWidth(2, UPDATE_VERSION);
        EXPECT_EQ(Count(0, 0, 9, h5 + h2, COLOUR_HEADING), 0);
        EXPECT_GT(Count(10, 0, 10 + titleWidth, h5 - 1, COLOUR_HEADING), 0);
        EXPECT_EQ(Count(10 + titleWidth, 0, 639, h5 - 1, COLOUR_HEADING), 0);
        EXPECT_GT(Count(10 + titleWidth - 12, 0, 10 + titleWidth, h5 - 1, COLOUR_HEADING), 0) << "the whole title";
        EXPECT_GT(Count(10, h5, 10 + versionWidth, h5 + h2 - 1, COLOUR_HEADING), 0);
        EXPECT_EQ(Count(10 + versionWidth, h5, 639, h5 + h2 - 1, COLOUR_HEADING), 0);
        EXPECT_GT(Count(10 + versionWidth - 12, h5, 10 + versionWidth, h5 + h2 - 1, COLOUR_HEADING), 0);

        // The Exit button's face spans (540,440) to (620,460).
        EXPECT_EQ(Px(540, 440), RAISED_CORNER);
        EXPECT_EQ(Px(619, 440), RAISED_CORNER);
        EXPECT_EQ(Px(620, 440), SUNKEN_CORNER);
        EXPECT_EQ(Px(540, 460), SUNKEN_CORNER);
        EXPECT_EQ(Px(620, 460), SUNKEN_CORNER);
        EXPECT_EQ(Px(543, 443), COLOUR_FACE);
        EXPECT_EQ(Px(539, 450), Blue(450));
        EXPECT_EQ(Px(621, 450), Blue(450));
        EXPECT_EQ(Px(580, 439), Blue(439));
        EXPECT_EQ(Px(580, 461), Blue(461));
    }
}

TEST_F(RenderTest, NorwegianCompletedPageHasTwoExitButtons)
{
    RenderPage(PAGE_COMPLETED, LANGUAGE_NORWEGIAN);
    int avslutt = 0;
    for (const BUTTON* b : wizard->buttons) avslutt += b && b->kind == KIND_EXIT && std::string(b->text) == "Avslutt";
    EXPECT_EQ(avslutt, 2);
}

TEST_F(RenderTest, LocationFieldShowsTheBarWhileItFits)
{
    struct CASE {
        std::string location;
        std::string field;
    };
    const CASE cases[] = {
        {"c:\\do99zere", "c:\\do99zere|"},
        {std::string(198, 'd'), std::string(198, 'd') + "|"},
        {std::string(199, 'd'), std::string(199, 'd')},
    };
    for (const CASE& c : cases) {
        SCOPED_TRACE(c.location.size());
        memcpy(wizard->location, c.location.c_str(), c.location.size() + 1);
        RenderPage(PAGE_LOCATION, LANGUAGE_ENGLISH);
        const BUTTON* field = wizard->buttons[2];
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->kind, KIND_FIELD);
        EXPECT_EQ(field->pressed, 1);
        EXPECT_EQ(std::string(field->text), c.field);
        EXPECT_EQ(Px(field->x, field->y), SUNKEN_CORNER) << "drawn sunken";
    }
}

TEST_F(RenderTest, RepaintOfTheLanguagePageKeepsItsButtons)
{
    RenderPage(PAGE_LANGUAGE, LANGUAGE_ENGLISH);
    std::vector<BUTTON*> before(wizard->buttons, wizard->buttons + BUTTON_SLOTS);
    wizard->buttons[0]->lastButton = 1;
    wizard->buttons[1]->autoPress = 1;
    wizard->buttons[3]->pressed = 1;
    wizard->buttons[3]->lastButton = 1;
    RenderPage(PAGE_LANGUAGE, LANGUAGE_ENGLISH);
    EXPECT_EQ(std::vector<BUTTON*>(wizard->buttons, wizard->buttons + BUTTON_SLOTS), before);
    EXPECT_EQ(wizard->buttons[0]->lastButton, 1);
    EXPECT_EQ(wizard->buttons[1]->autoPress, 1) << "a pending automatic press survives";
    EXPECT_EQ(wizard->buttons[3]->pressed, 1);
    EXPECT_EQ(wizard->buttons[3]->lastButton, 1);
    EXPECT_EQ(Px(wizard->buttons[3]->x, wizard->buttons[3]->y), SUNKEN_CORNER) << "drawn as it stands";
}

TEST_F(RenderTest, RepaintOfAnotherPageRecreatesItsWidgetsButNotExit)
{
    RenderPage(PAGE_VERSIONS, LANGUAGE_ENGLISH);
    const LAYOUT L = Layout();
    BUTTON* exitButton = wizard->buttons[0];
    exitButton->pressed = 1;
    exitButton->lastButton = 1;
    wizard->buttons[4]->pressed = 1;  // Next held down at the moment of the repaint
    wizard->buttons[4]->lastButton = 1;
    RenderPage(PAGE_VERSIONS, LANGUAGE_ENGLISH);
    EXPECT_EQ(wizard->buttons[0], exitButton);
    EXPECT_EQ(exitButton->pressed, 1);
    EXPECT_EQ(exitButton->lastButton, 1);
    EXPECT_EQ(Px(540, 440), SUNKEN_CORNER);
    ExpectSlot({4, KIND_GOTO, PAGE_INSTALLING, "Next >", L.RightX, L.RY, 80, 20, 0, 0});
    EXPECT_EQ(wizard->buttons[4]->lastButton, 0);
    EXPECT_EQ(Px(L.RightX, L.RY), RAISED_CORNER) << "back raised";
    EXPECT_EQ(wizard->buttons[2]->pressed, 1) << "the inner panel is sunken again";
}

TEST_F(RenderTest, NothingHappensWhileGraphicsAreNotReady)
{
    RenderPage(PAGE_LANGUAGE, LANGUAGE_ENGLISH);
    const std::vector<uint16_t> frame = Frame();
    std::vector<BUTTON*> slots(wizard->buttons, wizard->buttons + BUTTON_SLOTS);
    std::vector<std::string> texts;
    for (BUTTON* b : slots) texts.push_back(Describe(b));

    g_gfx.opening = 1;
    wizard->page = PAGE_VERSIONS;
    wizard->Render();
    EXPECT_EQ(wizard->shownPage, PAGE_LANGUAGE);
    EXPECT_TRUE(Frame() == frame) << "the frame buffer is untouched";
    EXPECT_EQ(std::vector<BUTTON*>(wizard->buttons, wizard->buttons + BUTTON_SLOTS), slots);
    for (int i = 0; i < BUTTON_SLOTS; ++i) EXPECT_EQ(Describe(wizard->buttons[i]), texts[i]) << i;

    g_gfx.opening = 0;
    wizard->Render();
    EXPECT_EQ(wizard->shownPage, PAGE_VERSIONS);
}

TEST_F(RenderTest, WidgetsThatCannotBeMadeAreLeftOut)
{
    struct CASE {
        int page;
        int refused;  // which widget allocation of the render fails, from 0
        int slot;     // the slot it was for
    };
    const CASE cases[] = {
        {PAGE_LANGUAGE, 0, 0},      // Exit
        {PAGE_LANGUAGE, 1, 1},      // the first language button
        {PAGE_VERSIONS, 2, 2},      // the sunken inner panel
        {PAGE_VERSIONS, 3, 3},      // Back
        {PAGE_INSTALLING, 2, 2},    // the progress bar
        {PAGE_QUICKSTART, 5, 5},    // the first wrapped line
        {PAGE_LOCATION, 2, 2},      // the text field
    };
    for (const CASE& c : cases) {
        SCOPED_TRACE("page " + std::to_string(c.page) + " slot " + std::to_string(c.slot));
        // The page as it should be, then again with one widget refused.
        wizard->shownPage = -1;
        RenderPage(c.page, LANGUAGE_ENGLISH);
        std::vector<bool> present;
        for (const BUTTON* b : wizard->buttons) present.push_back(b != nullptr);
        ASSERT_TRUE(present[c.slot]);
        const BUTTON missing = *wizard->buttons[c.slot];
        const uint16_t corner = Px(missing.x, missing.y);

        g_buttonsMade = 0;
        g_refuseButton = c.refused;
        g_allocFault = RefuseOneButton;
        wizard->shownPage = -1;
        RenderPage(c.page, LANGUAGE_ENGLISH);
        g_allocFault = nullptr;
        for (int i = 0; i < BUTTON_SLOTS; ++i)
            EXPECT_EQ(wizard->buttons[i] != nullptr, present[i] && i != c.slot) << "slot " << i;
        if (missing.kind != KIND_LABEL) {
            EXPECT_NE(Px(missing.x, missing.y), corner) << "not drawn";
        }
    }

    // A single language whose button cannot be made: nothing to press.
    memset(LanguageEnabled, 0, sizeof LanguageEnabled);
    LanguageEnabled[LANGUAGE_SWEDISH] = 1;
    g_buttonsMade = 0;
    g_refuseButton = 1;
    g_allocFault = RefuseOneButton;
    wizard->shownPage = -1;
    RenderPage(PAGE_LANGUAGE, LANGUAGE_ENGLISH);
    EXPECT_EQ(wizard->buttons[1], nullptr);
    EXPECT_NE(wizard->buttons[0], nullptr);
}

}  // namespace
